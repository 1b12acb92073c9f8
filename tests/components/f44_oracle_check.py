#!/usr/bin/env python3
"""Independent check of f43 and f44 members.

Re-implements, from their formulas alone, f43 RGB Alpha and w Rotate and
f44 XYZ Scale, Alpha scale & offset, Contrast & offset, Smooth floor and
Color Shift (colorsys for the HSL steps), and compares them with what the
program computes over a grid of the plane, printed by
`contact_sheet --family CODE --values ID A B C N` as "x y out..." lines. The
sheet feeds x and y to the first two inputs and 0 to the others, so the
colour is (x, y, 0) and w = 0.

Usage: f44_oracle_check.py CONTACT_SHEET_TOOL
"""
import colorsys
import math
import subprocess
import sys

MARKER = 1e250
N = 23


def clamp(v, lo, hi):
    return min(max(v, lo), hi)


# ---- f43 (code 9): colour (x, y, 0), w = 0 ----

def rgb_alpha(A, B, C):
    t, f = 8 * A, max(1.0, 8 * B)

    def g(x, y, z, w):
        if w >= t + f:
            return (w, w, w)
        if t < w < t + f:
            a = (w - t) / f
            return tuple(c + (w - c) * a for c in (x, y, z))
        return (x, y, z)
    return g


def w_rotate(A, B, C):
    def g(x, y, z, w):
        if x >= MARKER:
            return (MARKER,) * 3
        a, b, c = A * w, B * w, C * w
        x1 = x * math.cos(b) - z * math.sin(b)
        z1 = x * math.sin(b) + z * math.cos(b)
        o1 = x1 * math.cos(a) - y * math.sin(a)
        y1 = y * math.cos(a) + x1 * math.sin(a)
        return (o1, y1 * math.cos(c) - z1 * math.sin(c), y1 * math.sin(c) + z1 * math.cos(c))
    return g


# ---- f44 (code 12): colour (x, y, 0), w = 0 ----

def xyz_scale(A, B, C):
    return lambda x, y, z, w: (A * x, B * y, C * z, w)


def alpha_scale(A, B, C):
    return lambda x, y, z, w: (A * x, A * y, A * z, B * w + C)


def contrast(A, B, C):
    k = -4 * (A - 1) if A <= 1 else -8 * (A - 1)
    return lambda x, y, z, w: tuple(clamp(A * c + k, 0, 8) for c in (x, y, z)) + (w * B + C,)


def smooth_floor(A, B, C):
    R = max(A + 0.1, B)
    G = 1 / C if C != 0 else 1.0

    def g(x, y, z, w):
        w2 = w
        if A + C > w:
            d = (w - A) * G
            w2 = A if d < -1 else (d / 2 + 0.5) ** 2 * C + A
        e = R - w2
        if e >= C:
            r = e
        elif e < -C:
            r = 0
        else:
            r = (e * G / 2 + 0.5) ** 2 * C
        return tuple(clamp(c, 0, 8) for c in (x, y, z)) + (R - r,)
    return g


def color_shift(A, B, C):
    H = 60 * A + 360

    def g(x, y, z, w):
        rgb = [clamp(32 * c, 0, 256) / 255 for c in (x, y, z)]
        h, l, s = colorsys.rgb_to_hls(*rgb)
        h = math.fmod(h * 360 + H, 360) / 360
        s2 = clamp(C * s * 255, 0, 255) / 255
        l2 = (clamp(B * l * 255, 0, 255) if B >= 0 else clamp(-B * (255 - l * 255), 0, 255)) / 255
        r, gg, b = colorsys.hls_to_rgb(h, l2, s2)
        return (r * 255 / 32, gg * 255 / 32, b * 255 / 32, w)
    return g


CASES = [
    # name, family code, id, make, params, tolerance
    ("RGB Alpha", 9, 2, rgb_alpha, (-0.25, 0.5, 0), 1e-12),
    ("RGB Alpha", 9, 2, rgb_alpha, (0.5, 0.5, 0), 1e-12),
    ("RGB Alpha", 9, 2, rgb_alpha, (-1, 0, 0), 1e-12),
    ("w Rotate", 9, 7, w_rotate, (1, 2, 3), 1e-3),
    ("XYZ Scale", 12, 0, xyz_scale, (2, -1, 3), 1e-12),
    ("Alpha scale & offset", 12, 7, alpha_scale, (1.5, 2, -0.5), 1e-12),
    ("Contrast & offset", 12, 15, contrast, (1, 1, 0.5), 1e-12),
    ("Contrast & offset", 12, 15, contrast, (2, 1, 1), 1e-12),
    ("Contrast & offset", 12, 15, contrast, (0.5, 2, -1), 1e-12),
    ("Smooth floor", 12, 6, smooth_floor, (-0.2, 2, 0.5), 1e-12),
    ("Smooth floor", 12, 6, smooth_floor, (1, 5, 0), 1e-12),
    ("Smooth floor", 12, 6, smooth_floor, (-3, 0.5, 2), 1e-12),
    ("Color Shift", 12, 10, color_shift, (1, 1, 1), 1e-9),
    ("Color Shift", 12, 10, color_shift, (-2.5, -1, 0.5), 1e-9),
    ("Color Shift", 12, 10, color_shift, (0.3, 0.7, 1.5), 1e-9),
]


def main():
    tool = sys.argv[1]
    failures = 0
    for name, family, mid, make, (A, B, C), tol in CASES:
        out = subprocess.run([tool, "--family", str(family), "--values", str(mid),
                              repr(A), repr(B), repr(C), str(N)],
                             check=True, capture_output=True, text=True).stdout
        rows = [list(map(float, line.split())) for line in out.split("\n") if line.strip()]
        if len(rows) != N * N:
            print(f"{name}: {len(rows)} lines, expected {N * N}")
            failures += 1
            continue
        f = make(A, B, C)
        bad = 0
        for row in rows:
            x, y, got = row[0], row[1], row[2:]
            want = f(x, y, 0.0, 0.0)
            for k, (g, w) in enumerate(zip(got, want)):
                if abs(g - w) > tol * (1 + abs(w)):
                    if bad < 3:
                        print(f"{name} {A} {B} {C} at ({x}, {y}) output {k + 1}: "
                              f"program {g}, formula {w}")
                    bad += 1
        if bad:
            failures += 1
    print("f43/f44 oracle:", "ok" if failures == 0 else f"{failures} cases differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
