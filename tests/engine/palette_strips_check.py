#!/usr/bin/env python3
"""Runs palette_strips and reads the picture it writes: its size, the ends of
the black-to-white palette, the middle of the black-blue-white palette and
the water of the geographic strip."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from ppm import read_ppm  # noqa: E402

WIDTH, STRIP, GAP = 256, 12, 4
STRIPS = 12 + 16 + 3
GEOGRAPHIC = 12 + 14


def pixel(pixels, strip, x):
    offset = (strip * (STRIP + GAP) * WIDTH + x) * 3
    return tuple(pixels[offset:offset + 3])


def main():
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "strips.ppm")
        subprocess.run([sys.argv[1], path], check=True)
        width, height, maxval, pixels = read_ppm(path)
    checks = [
        ("size", (width, height, maxval), (WIDTH, STRIPS * (STRIP + GAP), 255)),
        ("pixel bytes", len(pixels), width * height * 3),
        ("palette 0 start", pixel(pixels, 0, 0), (0, 0, 0)),
        ("palette 0 end", pixel(pixels, 0, WIDTH - 1), (255, 255, 255)),
        ("palette 1 start", pixel(pixels, 1, 0), (0, 0, 0)),
        ("geographic water has no red", pixel(pixels, GEOGRAPHIC, 0)[0], 0),
    ]
    failed = [c for c in checks if c[1] != c[2]]
    for name, got, want in failed:
        print("%s: got %s, want %s" % (name, got, want))
    print("%d checks, %d failed" % (len(checks), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
