#!/usr/bin/env python3
"""Trees of one picture or movie member, rendered by render_tree as the
browser reads them.

- Each of f21 30, 31, 34 and f23 0, 1, 34 reading a PNG beside the tree file
  (written here with zlib), and reading a file that is missing (the default
  picture stands in): rendered on 1 and on 4 threads, the same bytes, and
  not one flat colour.
- f23 0 reading a movie (made by ffmpeg from flat colours, lossless qtrle)
  whose frames follow the animation frame: `--frame F` shows movie frame F.
  f21 34 reading the same movie draws a different picture for each frame
  (its blurred sums follow the frames).

Usage: pict_render_tree_check.py RENDER_TREE RESOURCES_DIR WORKDIR
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "fixtures", "trees"))
import kovr_writer as kw  # noqa: E402
import pict_oracle_check as oracle  # noqa: E402

MEMBERS = {(2, 30): (1, 1, 1), (2, 31): (1, 1, -1), (2, 34): (1, 1, 0.5),
           (7, 0): (1, 1, 1), (7, 1): (1, 1, -1), (7, 34): (1, 1, 0)}
# A grey ramp, so that the f21 members' values show.
RAMP = kw.palette(2, [(255, 0, 0, 0), (255, 255, 255, 255)] + [(255, 255, 255, 255)] * 62)
# Flat frames of different greys (red + green + blue), so that the grey
# members see each frame too.
FRAME_COLOURS = [(200, 30, 30), (30, 120, 30), (30, 30, 250), (250, 250, 30), (10, 20, 30)]
MOVIE_W, MOVIE_H = 32, 24
# Slot flags: bit 0 keeps a picture's own size; the movie mode in the high
# nibble, 2: movie frame = start + animation frame.
OWN_SIZE = 0x01
FRAME_FOLLOWS = 0x21
failures = []


def fail(text):
    failures.append(text)
    print("FAIL:", text)


def write_tree(path, family, member, slot_flags, fname):
    comp = kw.component(family, member, 0, 0, codes=[6, 7], params=MEMBERS[(family, member)])
    with open(path, "wb") as f:
        f.write(kw.record([comp], pal=RAMP, inputs={0: (slot_flags, 0, fname)}))


def render(tool, resources, tree, out, threads, frame=None, size=(64, 48)):
    args = [tool, tree, out, str(size[0]), str(size[1]), str(threads), "--resources", resources]
    if frame is not None:
        args += ["--frame", str(frame)]
    run = subprocess.run(args, capture_output=True, text=True)
    if run.returncode != 0:
        fail(f"{' '.join(args)}: status {run.returncode} {run.stderr.strip()[-400:]}")
        return None
    with open(out, "rb") as f:
        data = f.read()
    return data[data.index(b"ENDHDR\n") + 7:]


def check_pictures(tool, resources, work):
    for (family, member) in MEMBERS:
        for fname in ("picture.png", "missing.png"):
            name = f"f{family}_{member}_{fname.split('.')[0]}"
            tree = os.path.join(work, name + ".kovr")
            write_tree(tree, family, member, OWN_SIZE, fname)
            one = render(tool, resources, tree, os.path.join(work, name + "_1.pam"), 1)
            four = render(tool, resources, tree, os.path.join(work, name + "_4.pam"), 4)
            if one is None or four is None:
                continue
            if one != four:
                fail(f"{name}: 1 and 4 threads differ")
            if len(set(one[i:i + 3] for i in range(0, len(one), 4))) < 2:
                fail(f"{name}: one flat colour")


def write_movie(path):
    frames = b"".join(bytes(c) * (MOVIE_W * MOVIE_H) for c in FRAME_COLOURS)
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24", "-s",
                    f"{MOVIE_W}x{MOVIE_H}", "-r", "25", "-i", "-", "-c:v", "qtrle", path],
                   input=frames, check=True)


def check_movie(tool, resources, work):
    write_movie(os.path.join(work, "movie.mov"))
    tree = os.path.join(work, "movie_f23_0.kovr")
    write_tree(tree, 7, 0, FRAME_FOLLOWS, "movie.mov")
    for frame, colour in enumerate(FRAME_COLOURS):
        pixels = render(tool, resources, tree, os.path.join(work, f"movie_{frame}.pam"), 2,
                        frame, (MOVIE_W, MOVIE_H))
        if pixels is None:
            continue
        centre = (MOVIE_H // 2 * MOVIE_W + MOVIE_W // 2) * 4
        if tuple(pixels[centre:centre + 3]) != colour:
            fail(f"frame {frame}: shows {tuple(pixels[centre:centre + 3])}, movie has {colour}")

    tree = os.path.join(work, "movie_f21_34.kovr")
    write_tree(tree, 2, 34, FRAME_FOLLOWS, "movie.mov")
    renders = [render(tool, resources, tree, os.path.join(work, f"blur_{f}.pam"), 4, f)
               for f in (0, 1, 2)]
    if None not in renders and len(set(renders)) != 3:
        fail("the blurred member draws the same picture for different movie frames")


def main():
    tool, resources, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    oracle.write_png(os.path.join(work, "picture.png"))
    check_pictures(tool, resources, work)
    check_movie(tool, resources, work)
    print("pict render_tree:", "ok" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
