#!/usr/bin/env python3
"""Independent check of the audio files sound_file_tool writes.

soxi reads each file's type, rate, bits and channels; python3's wave and
aifc read the samples back and compare them with the sine the tool writes
(440 Hz at 0.5, 44,100 frames); aifc reads an AIFF loop as markers 1 and 2;
a resampled copy has the new rate and length; MPEG-4 audio made by ffmpeg
reads back; damaged files give an error and no sanitizer report.

Usage: sound_file_check.py SOUND_FILE_TOOL
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import warnings
import wave

with warnings.catch_warnings():
    warnings.simplefilter("ignore", DeprecationWarning)
    import aifc

TOOL = sys.argv[1]
FRAMES = 44100
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def run(*args):
    r = subprocess.run([TOOL, *args], capture_output=True, text=True)
    check("Sanitizer" not in r.stderr, "no sanitizer report from %s: %s" % (args, r.stderr))
    return r


def soxi(path, flag):
    return subprocess.run(["soxi", flag, path], capture_output=True, text=True).stdout.strip()


def sine(i):
    return 0.5 * math.sin(2 * math.pi * 440.0 * i / 44100.0)


def decode(raw, width, channels, big):
    """Integer samples of the first channel at every 7th frame, scaled to
    -1..1 (32-bit samples by the writer's 2,147,483,392)."""
    step = width * channels
    full = 2147483392.0 if width == 4 else float(2 ** (8 * width - 1) - 1)
    order = "big" if big else "little"
    return {i: int.from_bytes(raw[i * step:i * step + width], order, signed=True) / full
            for i in range(0, len(raw) // step, 7)}, len(raw) // step


def compare_samples(decoded, width, what):
    samples, frames = decoded
    check(frames == FRAMES, "%s: %d frames" % (what, frames))
    # Truncation toward zero loses at most one step of the sample size; the
    # float samples themselves hold about 24 bits.
    step = max(1.0 / (2 ** (8 * width - 1) - 1) * 1.01, 6e-8)
    worst = max(abs(s - sine(i)) for i, s in samples.items())
    check(worst <= step, "%s: samples within one step of the sine (worst %g)" % (what, worst))


# type, bytes, channels, expected soxi type, bits, extension
CASES = [
    ("AIFF", "2", "2", "aiff", "16", ".aif"),
    ("AIFF", "3", "1", "aiff", "24", ".aif"),
    ("AIFF", "4", "1", "aiff", "32", ".aif"),
    ("WAVE", "2", "1", "wav", "16", ".wav"),
    ("WAVE", "4", "2", "wav", "24", ".wav"),  # WAVE holds 2..3 bytes
    ("caff", "-4", "2", "caf", "32", ".caf"),
    ("caff", "3", "1", "caf", "24", ".caf"),
    ("NeXT", "2", "1", "aiff", "16", ".aif"),  # saved as AIFF
    ("Sd2f", "2", "2", "aiff", "16", ".aif"),  # no resource fork: AIFF
]

with tempfile.TemporaryDirectory() as d:
    for kind, size, channels, soxtype, bits, ext in CASES:
        what = "%s %s bytes %s channels" % (kind, size, channels)
        r = run("write", os.path.join(d, "t_%s_%s_%s.x" % (kind, size, channels)), kind, size,
                channels)
        check(r.returncode == 0, what + ": written")
        path = r.stdout.strip()
        check(path.endswith(ext), "%s: name %s" % (what, path))
        if r.returncode != 0:
            continue
        check(soxi(path, "-t") == soxtype, "%s: soxi type %s" % (what, soxi(path, "-t")))
        check(soxi(path, "-r") == "44100", what + ": soxi rate")
        check(soxi(path, "-b") == bits, "%s: soxi bits %s" % (what, soxi(path, "-b")))
        check(soxi(path, "-c") == channels, what + ": soxi channels")
        check(soxi(path, "-s") == str(FRAMES), what + ": soxi frames")
        if soxtype == "wav":
            with wave.open(path) as w:
                width = w.getsampwidth()
                compare_samples(decode(w.readframes(FRAMES), width, w.getnchannels(), False),
                                width, what)
        elif soxtype == "aiff":
            with aifc.open(path) as a:
                width = a.getsampwidth()
                compare_samples(decode(a.readframes(FRAMES), width, a.getnchannels(), True),
                                width, what)

    # Loops: AIFF markers 1 and 2 at the start and end, read back by aifc
    # and by the tool; WAVE keeps its loop in smpl data.
    r = run("write", os.path.join(d, "loop.aif"), "AIFF", "2", "2", "1000", "20000")
    with aifc.open(r.stdout.strip()) as a:
        markers = [(m[0], m[1]) for m in a.getmarkers() or []]
    check(markers == [(1, 1000), (2, 20000)], "AIFF loop markers %s" % markers)
    check(run("info", r.stdout.strip()).stdout.split()[-3:] == ["loop", "1000", "20000"],
          "AIFF loop read back")
    r = run("write", os.path.join(d, "loop.wav"), "WAVE", "2", "1", "10", "300")
    check(run("info", r.stdout.strip()).stdout.split()[-3:] == ["loop", "10", "300"],
          "WAVE loop read back")

    # Resampling to 22,050 Hz: half the frames, the new rate.
    r = run("resample", os.path.join(d, "loop.aif"), "22050")
    check(r.returncode == 0, "resampled")
    copy = r.stdout.split()[0] if r.stdout else ""
    check(copy.endswith("loop_RS.aif"), "resampled name %s" % copy)
    check(soxi(copy, "-r") == "22050", "resampled rate")
    check(abs(int(soxi(copy, "-s") or 0) - FRAMES // 2) <= 1, "resampled frames")
    check(run("resample", os.path.join(d, "loop.aif"), "nan").returncode != 0, "NaN rate refused")
    check(run("resample", os.path.join(d, "loop.aif"), "-5").returncode != 0,
          "negative rate refused")

    # MPEG-4 audio (AAC, made by the ffmpeg tool) is read through the movie
    # layer: its type, rate and channels, and a resampled copy that still
    # holds the 440 Hz sine at ffmpeg's amplitude of 1/8, spread onto two
    # channels at -3 dB each.
    m4a = os.path.join(d, "tone.m4a")
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=44100:duration=1", "-ac", "2", "-c:a", "aac",
                    m4a], check=True)
    fields = run("info", m4a).stdout.split()
    check(fields[:2] == ["m4af", "44100"] and fields[3] == "2", "m4a info %s" % fields)
    check(abs(int(fields[4]) - FRAMES) <= 2048, "m4a frames %s" % fields[4])
    r = run("resample", m4a, "22050")
    copy = r.stdout.split()[0] if r.stdout else ""
    check(copy.endswith("tone_RS.aif") and soxi(copy, "-r") == "22050", "m4a resampled %s" % copy)
    if copy:
        with aifc.open(copy) as a:
            raw, n = a.readframes(a.getnframes()), a.getnframes()
        left = [int.from_bytes(raw[4 * i:4 * i + 2], "big", signed=True) / 32767.0
                for i in range(n)]
        rms = math.sqrt(sum(v * v for v in left) / n)
        crossings = sum(1 for i in range(1, n) if (left[i - 1] < 0) != (left[i] < 0))
        check(abs(rms - 0.125 / 2) < 0.006, "m4a copy rms %g" % rms)
        check(abs(crossings - 880) < 30, "m4a copy zero crossings %d" % crossings)
    open(os.path.join(d, "cut.m4a"), "wb").write(open(m4a, "rb").read()[:3000])
    check(run("info", os.path.join(d, "cut.m4a")).returncode == 1, "cut m4a refused")

    # Damaged files: truncated, huge channel and frame counts, a marker past
    # the end: an error or a bounded answer, never a sanitizer report.
    good = open(os.path.join(d, "loop.aif"), "rb").read()
    comm = good.find(b"COMM")
    mark = good.find(b"MARK")
    damaged = {
        "truncated": good[:60],
        "channels": good[:comm + 8] + struct.pack(">H", 60000) + good[comm + 10:],
        "frames": good[:comm + 10] + struct.pack(">I", 0xFFFFFFF0) + good[comm + 14:],
        "marker": good[:mark + 12] + struct.pack(">I", 0x7FFFFFF0) + good[mark + 16:],
        "empty": b"",
    }
    for name, data in damaged.items():
        path = os.path.join(d, "bad_%s.aif" % name)
        open(path, "wb").write(data)
        r = run("info", path)
        check(r.returncode in (0, 1), "damaged %s: rc %d" % (name, r.returncode))
        if name == "marker":
            check(r.stdout.split()[-2:] == ["loop", "none"], "marker past the end refused")
        if name == "channels":
            check(r.returncode == 1, "too many channels refused")
        run("resample", path, "48000")

sys.exit(1 if failures else 0)
