"""movie_tool against tools nobody here wrote.

- `info` against `ffprobe -show_streams`: time base, duration in time-base
  units, frame count (as the frame rate x 100), codec tag (as the media type)
  and size, for movies ffmpeg makes (mjpeg with a 600 time scale, mpeg4,
  qtrle, one frame, 640 x 480, MPEG-1).
- `frame` against `ffmpeg -ss T -frames:v 1`: PSNR above 30 dB (ImageMagick
  `compare`).
- `still` against ImageMagick's own decoding of PNG, JPEG, TIFF, GIF, BMP,
  PSD and grey pictures (PSNR), and its TIFF and PICT exports read by
  `identify`.
- Unreadable input: exit status 1 and a message.

Usage: movie_check.py MOVIE_TOOL WORKDIR
"""

import os
import subprocess
import sys

TESTSRC = ["-f", "lavfi", "-i", "testsrc=size=64x48:rate=30"]
MOVIES = {
    "mjpeg.mov": TESTSRC + ["-t", "10", "-c:v", "mjpeg", "-video_track_timescale", "600"],
    "mpeg4.mov": TESTSRC + ["-t", "10", "-c:v", "mpeg4"],
    "qtrle.mov": TESTSRC + ["-t", "2", "-c:v", "qtrle"],
    "one.mov": TESTSRC + ["-frames:v", "1", "-c:v", "mjpeg"],
    "big.mov": ["-f", "lavfi", "-i", "testsrc=size=640x480:rate=30", "-t", "2", "-c:v", "mjpeg"],
    "m1v.mpg": TESTSRC + ["-t", "2", "-c:v", "mpeg1video"],
}
DIRECT_CODECS = ("rle ", "dvc ", "jpeg", "raw ", "icod")
failures = []


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def fail(text):
    failures.append(text)


def probe(path):
    out = run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_streams", path]).stdout
    return dict(line.split("=", 1) for line in out.splitlines() if "=" in line)


def tool_info(tool, path):
    out = run([tool, "info", path]).stdout
    return dict(line.split(" ", 1) for line in out.splitlines())


def psnr(a, b):
    # compare prints the PSNR on standard error; identical pictures give inf.
    text = run(["compare", "-metric", "PSNR", a, b, "null:"]).stderr.split()
    try:
        return float(text[0])  # "inf" for identical pictures
    except (IndexError, ValueError):
        fail("compare %s %s: %s" % (a, b, " ".join(text)))
        return 0.0


def expected_info(name, s):
    num, den = (int(x) for x in s["time_base"].split("/"))
    duration = int(s["duration_ts"]) * num
    frames = int(s["nb_frames"]) if s.get("nb_frames", "N/A") != "N/A" else 0
    rate = int(frames / duration * den * 100) if frames > 1 and duration > 0 else 2500
    tag = bytes.fromhex(s["codec_tag"][2:].rjust(8, "0"))[::-1].decode("latin-1")
    if name.endswith(".mpg"):
        media = "MPEG"
        frames = None  # the MPEG stream states no count: checked below by the rate alone
    else:
        media = "vide" if tag in DIRECT_CODECS else "xxxx"
    return {"timescale": str(den), "duration": str(duration), "framerate": str(rate),
            "mediatype": media, "width": s["width"], "height": s["height"], "visual": "1"}


def check_info(tool, work):
    for name in MOVIES:
        path = os.path.join(work, name)
        got = tool_info(tool, path)
        want = expected_info(name, probe(path))
        if name.endswith(".mpg"):
            want["framerate"] = "2500" if got.get("framerate") else "?"
            # ffprobe counts the MPEG frames only by decoding: 60 frames over 2 s.
            count = run(["ffprobe", "-v", "error", "-count_packets", "-select_streams", "v:0",
                         "-show_entries", "stream=nb_read_packets", "-of", "csv=p=0",
                         path]).stdout.strip()
            den, dur = int(want["timescale"]), int(want["duration"])
            want["framerate"] = str(int(int(count) / dur * den * 100))
        for key, value in want.items():
            if got.get(key) != value:
                fail("%s: %s is %s, ffprobe says %s" % (name, key, got.get(key), value))
    if tool_info(tool, os.path.join(work, "mjpeg.mov")).get("framerate") != "3000":
        fail("300 frames over 6000 units at 600 a second are not 30 fps")
    if tool_info(tool, os.path.join(work, "one.mov")).get("framerate") != "2500":
        fail("a movie of one frame is not 25 fps")


def check_frames(tool, work):
    cases = [("mjpeg.mov", 600, 30, (0, 1, 45, 150, 299)),
             ("mpeg4.mov", None, 30, (0, 7, 100, 299)),
             ("big.mov", None, 30, (0, 31, 59)),
             ("m1v.mpg", None, 30, (0, 20, 50))]
    for name, _, fps, frames in cases:
        path = os.path.join(work, name)
        info = tool_info(tool, path)
        scale = int(info["timescale"])
        width, height = info["width"], info["height"]
        for n in frames:
            ours = os.path.join(work, "%s-%d.png" % (name, n))
            ref = os.path.join(work, "%s-%d-ref.png" % (name, n))
            units = n * scale // fps
            if run([tool, "frame", path, str(units), width, height, ours]).returncode != 0:
                fail("%s frame %d: movie_tool failed" % (name, n))
                continue
            # Just before the frame's time: ffmpeg's accurate seek gives the
            # first frame at or after it.
            seconds = "%.6f" % max(0.0, units / scale - 0.001)
            run(["ffmpeg", "-v", "error", "-y", "-ss", seconds, "-i", path, "-frames:v", "1", ref])
            value = psnr(ours, ref)
            if value <= 30:
                fail("%s frame %d: PSNR %.1f dB" % (name, n, value))


def check_stills(tool, work):
    for name, extra in (("rose.png", []), ("rose.jpg", []), ("rose.tif", []),
                        ("rose.gif", ["-colors", "64"]), ("rose.bmp", []), ("rose.psd", []),
                        ("grey.png", ["-colorspace", "Gray"])):
        src = os.path.join(work, name)
        run(["convert", "rose:"] + extra + [src])
        ref = os.path.join(work, name + "-ref.png")
        run(["convert", src + "[0]", ref])
        ours = os.path.join(work, name + "-ours.png")
        if run([tool, "still", src, ours]).returncode != 0:
            fail("%s: movie_tool could not read it" % name)
            continue
        value = psnr(ours, ref)
        if value <= 40:
            fail("%s: PSNR %.1f dB against ImageMagick" % (name, value))
    src = os.path.join(work, "rose.png")
    for out, kind in (("rose-out.tif", "TIFF"), ("rose-out.pct", "PICT")):
        path = os.path.join(work, out)
        if run([tool, "still", src, path]).returncode != 0:
            fail("%s: not written" % out)
            continue
        info = run(["identify", "-format", "%m %w %h", path]).stdout.split()
        if info != [kind, "70", "46"]:
            fail("%s: identify says %s" % (out, info))


def check_unreadable(tool, work):
    junk = os.path.join(work, "junk.mov")
    with open(junk, "wb") as f:
        f.write(b"not a movie at all" * 10)
    for args in (["info", junk], ["frame", junk, "0", "64", "48", os.path.join(work, "x.png")],
                 ["still", junk, os.path.join(work, "x.png")]):
        r = run([tool] + args)
        if r.returncode != 1 or not r.stderr.strip():
            fail("%s of an unreadable file: status %d, message %r" % (args[0], r.returncode,
                                                                      r.stderr))


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    for name, args in MOVIES.items():
        r = run(["ffmpeg", "-v", "error", "-y"] + args + [os.path.join(work, name)])
        if r.returncode != 0:
            print("FAIL ffmpeg could not make %s: %s" % (name, r.stderr))
            sys.exit(1)
    check_info(tool, work)
    check_frames(tool, work)
    check_stills(tool, work)
    check_unreadable(tool, work)
    if failures:
        print("\n".join("FAIL " + f for f in failures))
        sys.exit(1)
    print("movies: info matches ffprobe, frames match ffmpeg, stills match ImageMagick")


if __name__ == "__main__":
    main()
