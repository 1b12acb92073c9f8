#!/usr/bin/env python3
"""Checks of render_tree's pictures.

threads (the default): renders every built-in test tree with render_tree on
one thread and on several, plain and anti-aliased, and checks with
ImageMagick's compare that the pictures are identical (AE 0): every sample's
x comes from its column and every row's y from its row, whichever thread
renders it. The timed renders must report `render_ms` on standard error.

png: renders built-in trees as PAM and as PNG (the PNG drawn through the
program's bitmap context into a cairo surface) and reads both with python's
zlib and struct only: every pixel must have the same red, green and blue, and
the PNG's top row must be the PAM's top row (the picture is not flipped).

Usage: render_tree_check.py RENDER_TREE WORKDIR [threads|png]
"""
import os
import subprocess
import sys

sys.dont_write_bytecode = True  # nothing is written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "imaging"))
from qz_render_png_check import read_png  # noqa: E402  (zlib and struct only)

WIDTH, HEIGHT = 517, 97        # odd width: rows end in a short batch
TREES = ["builtin:0", "builtin:1", "builtin:2", "builtin:3"]
MANY_THREADS = ["8", "3", "2"]


def read_pam(path):
    with open(path, "rb") as f:
        data = f.read()
    header_end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
    fields = {}
    for line in data[:header_end].decode("ascii").splitlines()[1:-1]:
        key, value = line.split(" ", 1)
        fields[key] = value
    if data[:3] != b"P7\n" or fields.get("TUPLTYPE") != "RGB_ALPHA":
        raise ValueError(f"{path}: not an RGB_ALPHA PAM file")
    width, height = int(fields["WIDTH"]), int(fields["HEIGHT"])
    pixels = data[header_end:]
    if len(pixels) != width * height * 4:
        raise ValueError(f"{path}: {len(pixels)} pixel bytes for {width} x {height}")
    return width, height, pixels


def largest_step(a, b):
    return max((abs(p - q) for p, q in zip(a, b)), default=0)


def render(tool, tree, out, threads, aa):
    """Renders with --time; returns the reported render time in milliseconds."""
    cmd = [tool, tree, out, str(WIDTH), str(HEIGHT), threads, "--time"] + (["--aa"] if aa else [])
    result = subprocess.run(cmd, check=True, capture_output=True, text=True)
    times = [line.split()[1] for line in result.stderr.splitlines() if line.startswith("render_ms ")]
    if len(times) != 1:
        raise RuntimeError(f"{' '.join(cmd)}: no render_ms line in {result.stderr!r}")
    return float(times[0])


def differing_pixels(a, b):
    cmd = ["compare", "-metric", "AE", a, b, "null:"]
    result = subprocess.run(cmd, capture_output=True, text=True)
    if result.returncode not in (0, 1):
        raise RuntimeError(f"compare failed: {result.stderr}")
    return int(float(result.stderr.split()[0]))


def check_threads(tool, workdir):
    failures = []
    for tree in TREES:
        for aa in (False, True):
            name = tree.replace(":", "_") + ("_aa" if aa else "")
            single = os.path.join(workdir, name + "_1.pam")
            render(tool, tree, single, "1", aa)
            width, height, pixels = read_pam(single)
            colours = {pixels[i:i + 4] for i in range(0, len(pixels), 4)}
            if (width, height) != (WIDTH, HEIGHT) or len(colours) < 8:
                failures.append(f"{name}: {width} x {height}, {len(colours)} colours")
            for threads in MANY_THREADS:
                many = os.path.join(workdir, f"{name}_{threads}.pam")
                render(tool, tree, many, threads, aa)
                differing = differing_pixels(single, many)
                step = largest_step(pixels, read_pam(many)[2])
                print(f"{name}: 1 thread vs {threads}: {differing} pixels differ, "
                      f"by at most {step} level(s)")
                if differing != 0 or step != 0:
                    failures.append(f"{name} with {threads} threads")
    return failures


# Trees whose pictures change from top to bottom, so a flip cannot pass.
PNG_TREES = ["builtin:0", "builtin:2", "builtin:3"]
PNG_WIDTH, PNG_HEIGHT = 131, 67


def rgb_rows(width, height, pam_pixels):
    return [[tuple(pam_pixels[(y * width + x) * 4:(y * width + x) * 4 + 3]) for x in range(width)]
            for y in range(height)]


def check_png(tool, workdir):
    failures = []
    for tree in PNG_TREES:
        name = tree.replace(":", "_")
        pam, png = (os.path.join(workdir, name + ext) for ext in (".pam", ".png"))
        for out in (pam, png):
            subprocess.run([tool, tree, out, str(PNG_WIDTH), str(PNG_HEIGHT), "1"], check=True)
        width, height, pixels = read_pam(pam)
        expected = rgb_rows(width, height, pixels)
        png_width, png_height, pixel = read_png(png)
        if (png_width, png_height) != (width, height):
            failures.append(f"{name}: PNG is {png_width} x {png_height}, PAM {width} x {height}")
            continue
        got = [[pixel(x, y)[:3] for x in range(width)] for y in range(height)]
        if expected[0] == expected[-1]:
            failures.append(f"{name}: top and bottom rows agree; a flip would not show")
        if got[0] != expected[0]:
            failures.append(f"{name}: the PNG's top row is not the PAM's top row"
                            + (" (the picture is upside down)" if got[0] == expected[-1] else ""))
        differing = sum(g != e for grow, erow in zip(got, expected) for g, e in zip(grow, erow))
        print(f"{name}: {differing} of {width * height} PNG pixels differ from the PAM")
        if differing:
            failures.append(f"{name}: {differing} pixels differ")
    return failures


def main():
    tool, workdir = sys.argv[1], sys.argv[2]
    mode = sys.argv[3] if len(sys.argv) > 3 else "threads"
    os.makedirs(workdir, exist_ok=True)
    failures = {"threads": check_threads, "png": check_png}[mode](tool, workdir)
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
