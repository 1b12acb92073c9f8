#!/usr/bin/env python3
"""Independent check of `sound_file_tool bands FILE`.

python3's wave module writes 16-bit WAVE files (mono and stereo) holding a
sine at a band's own frequency (44,100 x 2^b / 1024 Hz) plus a second tone;
the octave-band sums are recomputed here from their definition (band b sums
the first 1024 / 2^b samples against cos and sin of 2 pi i 2^b / 1024,
times 6.5 x 2^b; stereo is the mean of left and right) and compared with
the tool's line. The band of the sine must hold the largest level.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import wave

FRAMES = 1024


def write_wave(path, frames):
    """frames: list of tuples of floats in [-1, 1] (one value a channel)."""
    channels = len(frames[0])
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(44100)
        data = b"".join(
            struct.pack("<%dh" % channels, *[int(round(v * 32767)) for v in frame])
            for frame in frames)
        w.writeframes(data)


def read_back(path):
    """The samples as libsndfile hands them over: 16-bit values / 32768."""
    with wave.open(path, "rb") as w:
        channels = w.getnchannels()
        raw = w.readframes(w.getnframes())
    values = struct.unpack("<%dh" % (len(raw) // 2), raw)
    frames = [values[i:i + channels] for i in range(0, len(values), channels)]
    return [(sum(f[:2]) / len(f[:2])) / 32768.0 for f in frames]


def band_sums(mono):
    mono = (mono + [0.0] * FRAMES)[:FRAMES]
    out = []
    for b in range(8):
        n, step = FRAMES >> b, 4 << b
        c = sum(mono[i] * math.cos(2 * math.pi * (i * step) / 4096) for i in range(n))
        s = sum(mono[i] * math.sin(2 * math.pi * (i * step) / 4096) for i in range(n))
        scale = 6.5 * (1 << b)
        out += [c * scale, s * scale]
    return out


def main():
    tool = sys.argv[1]
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        cases = [
            ("mono", 2, 1, 1500),
            ("stereo", 5, 2, 1500),
            ("short", None, 1, 300),  # padded with silence; no clear peak
        ]
        for name, band, channels, length in cases:
            path = os.path.join(folder, name + ".wav")
            frames = []
            for i in range(length):
                tone = 0.6 * math.sin(2 * math.pi * (1 << (band or 0)) * i / FRAMES)
                other = 0.1 * math.sin(2 * math.pi * 37.3 * i / FRAMES + 0.4)
                frames.append((tone + other,) if channels == 1 else (tone + other, tone - other))
            write_wave(path, frames)
            line = subprocess.run([tool, "bands", path], check=True, capture_output=True,
                                  text=True).stdout.split()
            got = [float(v) for v in line]
            expected = band_sums(read_back(path))
            if len(got) != 16:
                print("%s: %d values, expected 16" % (name, len(got)))
                failures += 1
                continue
            worst = max(abs(g - e) for g, e in zip(got, expected))
            levels = [math.hypot(got[2 * b], got[2 * b + 1]) for b in range(8)]
            peak = levels.index(max(levels))
            print("%s: largest difference %.3g, peak in band %d" % (name, worst, peak))
            if worst > 1e-6 * 3328:
                print("  tool:   %s\n  python: %s" % (got, expected))
                failures += 1
            if band is not None and peak != band:
                print("  the peak should lie in band %d: %s" % (band, levels))
                failures += 1
        bad = subprocess.run([tool, "bands", os.path.join(folder, "missing.wav")],
                             capture_output=True)
        if bad.returncode != 1:
            print("a missing file gives status %d, expected 1" % bad.returncode)
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
