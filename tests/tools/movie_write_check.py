"""movie_tool write and sound against tools nobody here wrote.

- `write x.mov 10 20 25 sound`: ffprobe finds qtrle with 10 frames, time
  base 1/2500, 0.4 s, and pcm_s16be ('twos') stereo at 44,100 Hz; ffmpeg
  decodes each frame to the colour written for it; the sound's samples are
  the 440 Hz sine at half scale.
- `--compress jpeg` makes the same movie mjpeg; `--compress png ` png.
- `sound MOVIE 22050` converts the sound to an AIFF that python3's aifc reads
  as 2 channels of 16 bits at 22,050 Hz holding the sine; at 44,100 nothing
  is converted.
- A file that is no movie: exit status 1.

Usage: movie_write_check.py MOVIE_TOOL WORKDIR
"""

import aifc
import json
import math
import os
import struct
import subprocess
import sys

failures = []


def run(args):
    return subprocess.run(args, capture_output=True)


def check(cond, text):
    if not cond:
        failures.append(text)


def streams(path):
    out = run(["ffprobe", "-v", "error", "-show_streams", "-of", "json", path]).stdout
    return json.loads(out or b"{}").get("streams", [])


def colour(frame):
    return ((20 * frame) % 256, (255 - 20 * frame) % 256, 128)


def sine_error(samples, rate, first):
    """Largest difference from 0.5 x sin(2 pi 440 t) in 16-bit units."""
    worst = 0
    for i, v in enumerate(samples):
        want = 0.5 * math.sin(2 * math.pi * 440.0 * (first + i) / rate) * 32767
        worst = max(worst, abs(v - want))
    return worst


def check_movie(tool, work):
    movie = os.path.join(work, "x.mov")
    r = run([tool, "write", movie, "10", "20", "25", "sound"])
    check(r.returncode == 0, "write failed: %s" % r.stderr)
    s = streams(movie)
    check(len(s) == 2, "two streams expected, got %d" % len(s))
    if len(s) != 2:
        return
    v, a = s
    check(v["codec_name"] == "qtrle", "video codec %s" % v["codec_name"])
    check(v["nb_frames"] == "10", "frames %s" % v["nb_frames"])
    check(v["time_base"] == "1/2500", "time base %s" % v["time_base"])
    check(abs(float(v["duration"]) - 0.4) < 1e-6, "duration %s" % v["duration"])
    check(a["codec_name"] == "pcm_s16be" and a["codec_tag_string"] == "twos",
          "sound codec %s %s" % (a["codec_name"], a["codec_tag_string"]))
    check(a["sample_rate"] == "44100" and a["channels"] == 2,
          "sound %s Hz %s channels" % (a["sample_rate"], a["channels"]))
    # The sound is limited by the last frame: 20 x 100 / 2500 s.
    check(a["duration_ts"] == 35280, "sound frames %s" % a["duration_ts"])

    # Each frame's colour, decoded by ffmpeg.
    raw = run(["ffmpeg", "-v", "error", "-i", movie, "-map", "0:v", "-f", "rawvideo",
               "-pix_fmt", "rgb24", "-"]).stdout
    size = 64 * 48 * 3
    check(len(raw) == 10 * size, "decoded %d bytes" % len(raw))
    for f in range(len(raw) // size):
        px = tuple(raw[f * size + (24 * 64 + 32) * 3:][:3])
        check(px == colour(10 + f), "frame %d colour %s, want %s" % (f, px, colour(10 + f)))

    # The samples, big-endian, against the sine.
    pcm = run(["ffmpeg", "-v", "error", "-i", movie, "-map", "0:a", "-f", "s16be",
               "-c:a", "pcm_s16be", "-"]).stdout
    left = struct.unpack(">%dh" % (len(pcm) // 2), pcm)[0::2][:4000]
    check(len(left) == 4000 and sine_error(left, 44100.0, 0) <= 1.0,
          "sound differs from the sine by %.1f" % sine_error(left, 44100.0, 0))

    for kind, codec in (("jpeg", "mjpeg"), ("png ", "png"), ("mp4v", "mpeg4")):
        path = os.path.join(work, "c%s.mov" % kind.strip())
        r = run([tool, "write", path, "10", "20", "25", "sound", "--compress", kind])
        check(r.returncode == 0, "write --compress %s failed" % kind)
        s = streams(path)
        check(bool(s) and s[0]["codec_name"] == codec and s[0]["nb_frames"] == "10",
              "--compress %s gives %s" % (kind, s[0]["codec_name"] if s else "nothing"))


def check_sound(tool, work):
    movie = os.path.join(work, "x.mov")
    r = run([tool, "sound", movie, "44100"])
    check(r.stdout.decode() == "channels 2\n", "at 44100: %r" % r.stdout)
    r = run([tool, "sound", movie, "22050"])
    aiff = os.path.join(work, "x.aif")
    check(r.stdout.decode() == "channels 2\naiff %s\n" % aiff, "at 22050: %r" % r.stdout)
    if not os.path.exists(aiff):
        failures.append("no AIFF made")
        return
    with aifc.open(aiff, "rb") as f:
        check(f.getnchannels() == 2 and f.getsampwidth() == 2 and f.getframerate() == 22050,
              "AIFF %d ch %d bytes %d Hz" % (f.getnchannels(), f.getsampwidth(),
                                              f.getframerate()))
        n = f.getnframes()
        check(abs(n - 17640) <= 64, "AIFF frames %d" % n)
        data = f.readframes(n)
    left = struct.unpack(">%dh" % (len(data) // 2), data)[0::2]
    # Resampled: the sine in the middle, within a little filtering error.
    err = sine_error(left[2000:6000], 22050.0, 2000)
    check(err < 200, "AIFF sound differs from the sine by %.1f" % err)
    # Asked again, the AIFF stands in.
    r = run([tool, "sound", movie, "22050"])
    check(r.stdout.decode() == "channels 0\naiff %s\n" % aiff, "again: %r" % r.stdout)

    junk = os.path.join(work, "junk.mov")
    with open(junk, "wb") as f:
        f.write(b"\0\0\0\x08junk" * 10)
    check(run([tool, "sound", junk]).returncode == 1, "junk movie accepted")


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    for name in os.listdir(work):
        os.remove(os.path.join(work, name))
    check_movie(tool, work)
    check_sound(tool, work)
    for f in failures:
        print("FAIL:", f)
    sys.exit(1 if failures else 0)


main()
