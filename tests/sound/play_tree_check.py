#!/usr/bin/env python3
"""End-to-end check of the tree sound.

The tree is f21's Ax+By+C with A = B = 1, C = 0 (member:2:0:1:1:0): on the
circle path of radius pi/2 around the view's centre at the default base
pitch its output is 0.0975 x pi/2 x (cos t + sin t), a 220 Hz sine of
amplitude 0.0975 x pi/2 x sqrt 2 = 0.2166 (RMS 0.153), played mono.

1. SDL's disk driver writes what the device plays (32-bit floats, 44,100
   Hz). Goertzel finds 220 Hz strong and 440 Hz weak; sox's stat gives the
   RMS amplitude and the peak.
2. With a driver that does not exist the play goes on silently: one line on
   standard error, exit status 0, at real-time pace.

Usage: play_tree_check.py PLAY_TREE_TOOL
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import time

TREE = "member:2:0:1:1:0"
RATE = 44100
AMPLITUDE = 0.0975 * math.pi / 2 * math.sqrt(2)


def goertzel(samples, freq):
    """Magnitude of one frequency over the samples, normalised to amplitude."""
    w = 2 * math.pi * freq / RATE
    coeff = 2 * math.cos(w)
    s1 = s2 = 0.0
    for x in samples:
        s1, s2 = x + coeff * s1 - s2, s1
    power = s1 * s1 + s2 * s2 - coeff * s1 * s2
    return 2 * math.sqrt(max(power, 0.0)) / len(samples)


def sox_stat(path):
    result = subprocess.run(
        ["sox", "-t", "raw", "-r", str(RATE), "-e", "floating-point", "-b", "32", "-c", "1",
         path, "-n", "stat"], capture_output=True, text=True, check=True)
    stats = {}
    for line in result.stderr.splitlines():
        if ":" in line:
            key, value = line.split(":", 1)
            try:
                stats[key.strip()] = float(value)
            except ValueError:
                pass
    return stats


def check_disk(tool, failures):
    with tempfile.TemporaryDirectory() as folder:
        raw = os.path.join(folder, "play.raw")
        env = dict(os.environ, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=raw)
        out = subprocess.run([tool, TREE, "1.5"], env=env, capture_output=True, text=True)
        if out.returncode != 0 or not out.stdout.startswith("channels 1 frames "):
            failures.append(f"disk play: status {out.returncode}, output {out.stdout!r}")
            return
        data = open(raw, "rb").read()
        samples = struct.unpack(f"<{len(data) // 4}f", data[: len(data) // 4 * 4])
        # Past the first quarter's fade-in: a whole number of 220 Hz periods.
        body = samples[2048:2048 + 40 * 200]
        if len(body) < 8000:
            failures.append(f"disk play: only {len(samples)} samples")
            return
        strong, weak = goertzel(body, 220), goertzel(body, 440)
        if abs(strong - AMPLITUDE) > 0.01 or weak > 0.005:
            failures.append(f"220 Hz at {strong:.4f} (want {AMPLITUDE:.4f}), 440 Hz at {weak:.4f}")
        stats = sox_stat(raw)
        if abs(stats["Maximum amplitude"] - AMPLITUDE) > 0.002:
            failures.append(f"sox peak {stats['Maximum amplitude']}")
        if abs(stats["RMS     amplitude"] - 0.153) > 0.006:
            failures.append(f"sox RMS {stats['RMS     amplitude']}")
        if abs(stats["Rough   frequency"] - 220) > 5:
            failures.append(f"sox frequency {stats['Rough   frequency']}")


def check_no_driver(tool, failures):
    env = dict(os.environ, SDL_AUDIODRIVER="nosuchdriver")
    start = time.monotonic()
    out = subprocess.run([tool, TREE, "1"], env=env, capture_output=True, text=True)
    elapsed = time.monotonic() - start
    said = [line for line in out.stderr.splitlines() if "no audio output" in line]
    if out.returncode != 0 or len(said) != 1:
        failures.append(f"no driver: status {out.returncode}, stderr {out.stderr!r}")
    if elapsed < 0.9:
        failures.append(f"no driver: played 1 s in {elapsed:.2f} s")


def main():
    tool = sys.argv[1]
    failures = []
    check_disk(tool, failures)
    check_no_driver(tool, failures)
    for failure in failures:
        print(failure)
    print("play_tree_check:", "FAILED" if failures else "ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
