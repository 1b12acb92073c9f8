#!/usr/bin/env python3
"""Independent check of one-input members of f12, f13 and f14.

Re-implements from their formulas alone f12 Modulo & int, Integer Modulo,
Circular motion and Cubic Clip; f13 Shaded plain color, Hue color (through
colorsys), RGB gamma, Color Sines and RGB Neon line; f14 Shifted Harmonics
and Scaled Harmonics. Each is compared, output by output, with what the
program computes over a grid of -pi..pi, printed by
`contact_sheet --family CODE --values ID A B C N` as "x y out1 ... outK"
lines. The value fed to input 1 at each sample is read back first from
output 2 of f12 Cubic Clip, which is its input unchanged, so the check does
not depend on how the sheet feeds one-input families.

Usage: f12_oracle_check.py CONTACT_SHEET_TOOL
"""
import colorsys
import math
import subprocess
import sys

N = 33
F12, F13, F14 = 16, 17, 18


def values(tool, family, member, a, b, c):
    out = subprocess.run([tool, "--family", str(family), "--values", str(member),
                          repr(a), repr(b), repr(c), str(N)],
                         check=True, capture_output=True, text=True).stdout
    return [[float(v) for v in line.split()[2:]] for line in out.splitlines()]


def cell(v):
    """trunc(v), one less below 0."""
    return math.trunc(v) if v >= 0 else math.trunc(v) - 1


def smooth_clamped(t):
    if t < 0:
        return 0.0
    if t > 1:
        return 1.0
    return t * t * (3 - 2 * t)


# ---- f12 --------------------------------------------------------------------

def modulo(A, B, C):
    k1, k2 = (1e6, 1e-6) if A < 1e-6 else (1 / A, A)
    n = max(1, math.trunc(C))

    def f(x):
        u = x * k1
        i = cell(u)
        return [(u - i) * k2 + B, float(i % n)]
    return f


def integer_modulo(A, B, C):
    m = max(1, math.trunc(A))
    return lambda x: [float(cell(x * B) % m + 1), float(cell(x * C) % m + 1)]


def circular(A, B, C):
    return lambda x: [A * math.cos(B * x), -A * math.sin(C * x)]


def cubic_clip(A, B, C):
    return lambda x: [C * smooth_clamped(A * x + B), x]


# ---- f13 --------------------------------------------------------------------

def shaded(A, B, C):
    def f(x):
        if x < 0:
            s = -x / 6
            return [(8 - A) * s, (8 - B) * s, (8 - C) * s]
        s = x / 6
        return [A * s, B * s, C * s]
    return f


def wrap_hue(h):
    if h >= 0:
        return h - 360 * math.trunc(h / 360)
    return 360 + h + 360 * math.trunc(-h / 360)


def hue(A, B, C):
    def f(x):
        h = wrap_hue(60 * A * x) % 360
        r, g, b = colorsys.hls_to_rgb(h / 360, C, B)
        return [255 * r / 32, 255 * g / 32, 255 * b / 32]
    return f


def gamma(A, B, C):
    def f(x):
        if x <= 0:
            return [0.0, 0.0, 0.0]
        l = math.log(x / 8)
        return [0.0 if g * l < -9 else 8 * math.exp(g * l) for g in (A, B, C)]
    return f


def color_sines(A, B, C):
    return lambda x: [4 * (1 + math.sin(A * x)), 4 * (1 + math.sin(B * x + math.pi / 2)),
                      4 * (1 + math.sin(C * x + math.pi))]


def neon(A, B, C):
    def f(x):
        g = math.exp(-4 * x * x)
        h = (1.5 * g * g) ** 2
        return [A * g + h, B * g + h, C * g + h]
    return f


# ---- f14 --------------------------------------------------------------------

def shifted_harmonics(A, B, C):
    c = math.trunc(C)
    freqs = [A, (c + 2) * A, (c + 3) * A, (c + 4) * A]
    return lambda x: [B * math.sin(f * x) for f in freqs]


def scaled_harmonics(A, B, C):
    k = math.trunc(C) + 1
    freqs = [A, (k + B) * A, (k + 2 * B) * A, (k + 3 * B) * A]
    return lambda x: [8 * math.sin(f * x) for f in freqs]


CASES = [
    (F12, 1, "Modulo & int", modulo, [(2, 0.25, 2), (0.7, -1.5, 5), (3.3, 0, 0)]),
    (F12, 9, "Integer Modulo", integer_modulo, [(8, 1, 0.25), (3, 2.5, 0.7), (0, 1, 1)]),
    (F12, 3, "Circular motion", circular, [(math.pi, 1, 1), (2, 3, -1.5)]),
    (F12, 7, "Cubic Clip", cubic_clip, [(1, 0, 4), (2, -0.5, 7), (0.3, 3, 1)]),
    (F13, 3, "Shaded plain color", shaded, [(0, 2, 6), (8, 1.5, 3)]),
    (F13, 4, "Hue color", hue, [(1, 1, 0.5), (2, 0.4, 0.7), (0.3, 0.8, 0.2), (2, 1, 1)]),
    (F13, 5, "RGB gamma", gamma, [(1, 1, 1), (0.125, 3, 8)]),
    (F13, 8, "Color Sines", color_sines, [(1, 2, 4), (-7, 0.5, 11)]),
    (F13, 9, "RGB Neon line", neon, [(6, 0, 2), (1, 8, 3)]),
    (F14, 6, "Shifted Harmonics", shifted_harmonics, [(1, 8, 0), (2.5, -3, 7.9)]),
    (F14, 10, "Scaled Harmonics", scaled_harmonics, [(1, 2, 0), (0.7, 4.5, 11.6)]),
]


def close(got, want):
    if math.isinf(want):
        return got == want
    return abs(got - want) <= 1e-9 * (1 + abs(want))


def main():
    tool = sys.argv[1]
    inputs = [row[1] for row in values(tool, F12, 7, 1, 0, 4)]
    failures = 0
    checked = 0
    for family, member, name, formula, params in CASES:
        for a, b, c in params:
            rows = values(tool, family, member, a, b, c)
            if len(rows) != len(inputs):
                print(f"{name} {a} {b} {c}: {len(rows)} samples, expected {len(inputs)}")
                failures += 1
                continue
            f = formula(a, b, c)
            for x, got in zip(inputs, rows):
                want = f(x)
                for k, w in enumerate(want):
                    checked += 1
                    if not close(got[k], w):
                        failures += 1
                        if failures <= 20:
                            print(f"{name} A={a} B={b} C={c} x={x!r} output {k + 1}: "
                                  f"got {got[k]!r}, expected {w!r}")
    print(f"{checked} values checked, {failures} differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
