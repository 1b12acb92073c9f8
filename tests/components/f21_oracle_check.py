#!/usr/bin/env python3
"""Independent check of seven f21 members.

Re-implements, from their formulas alone, five arithmetic members
(Ax+By+C, Distance*(x + y), Distance, Min <-> Max, Max(x,x*A+y)) and two
lattices (Grid, Hexagons), and compares them with what the program computes
on a grid of the plane (printed by `f21_contact_sheet --values`).

Usage: f21_oracle_check.py F21_CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

PI = math.pi
N = 23  # grid size: 23 x 23 samples of -pi..pi, short batches included


def affine(A, B, C):
    return lambda x, y: A * x + B * y + C


def lobes(A, B, C):
    p1 = (2.0625 + A) / 16
    p2 = 3 + B
    return lambda x, y: (x + y) * math.exp(-(x * x + y * y) * p1) * p2


def distance(A, B, C):
    p1, p2, p3 = PI * A, PI * B, (2.125 + C) / 4.125

    def f(x, y):
        r = math.sqrt((x + p1) ** 2 + (y + p2) ** 2)
        return r * p3 if p3 >= 0 else (8 - r) * (-p3)
    return f


def min_max(A, B, C):
    p3 = C / 2 if C > 0 else 0.0
    h = p3 / 2

    def f(x, y):
        if h <= 0:
            lo, hi = (y, x) if y <= x else (x, y)
        else:
            d = abs(x - y)
            t = d / h
            e = h * (t * t + 0.25) if t < 0.5 else h * t
            lo, hi = (x + y - e) / 2, (x + y + e) / 2
        return (lo + (hi - lo) * B) * A
    return f


def add_max(A, B, C):
    s = max(C, 0.0)

    def f(x, y):
        t = A * x + B + y
        if s == 0:
            return x if x > t else t
        g = t + s / 4
        if x > g:
            return x
        fr = (g - x) / s
        return x + fr * fr * s if fr < 0.5 else t
    return f


def grid(A, B, C):
    p2 = 1 / (4 * PI)
    p3 = C / (2 * PI)

    def fold(u):
        if u > 0:
            u1 = u - 4 * PI * math.trunc(u * p2)
        else:
            u1 = 4 * PI - (-u - 4 * PI * math.trunc(-u * p2))
        return 4 * PI - u1 if u1 > 2 * PI else u1

    def f(x, y):
        m = max(fold(A * x), fold(B * y)) - PI
        return 0.0 if m <= 0 else p3 * m
    return f


def hexagons(A, B, C):
    p1 = math.sin(PI / 6)
    p2 = 1 / math.cos(PI / 6)
    table = ((0, 1, 2), (2, 0, 1), (1, 2, 0))

    def cell(v):
        return math.trunc(v) if v >= 0 else math.trunc(v - 1)

    def f(x, y):
        s = max(C, 0.0625)
        u = x / s
        w = (y / s) * p2
        u2 = u + B - p1 * w
        i = cell(u2)
        fu = u2 - i
        j = cell(w)
        fw = w - j
        k = table[j % 3][i % 3]
        if k == 0:
            v = max(fw, 1 - fu)
        elif k == 1:
            t = 2 - fu - fw
            v = 2 - t if t > 1 else t
        else:
            v = max(1 - fw, fu)
        return A * v
    return f


# (id, oracle, list of (A, B, C))
CASES = [
    (0, affine, [(1, 1, 0), (-2.5, 0.75, 3)]),
    (1, lobes, [(0, 0, -1), (1.5, -2, -1), (-2, 1, -1)]),
    (3, distance, [(0, 0, 1), (0.5, -0.25, 7), (0, 0, -6.25), (1, 1, -16)]),
    (17, min_max, [(1, 1, 0), (2, 0.5, 0), (0.7, 0.3, 2), (1.2, 0, 8), (1, 1, -3)]),
    (58, add_max, [(0.5, 0, 0.5), (0.25, 1, 0), (1, -2, 3), (0, 0, -1)]),
    (4, grid, [(4, 4, 4), (9, 2.5, 0.5), (16, 16, 8), (0, 3, 2)]),
    (35, hexagons, [(2, 0, 2), (1, 3.5, 0.7), (8, -20, 0.01), (3, 0.25, -1)]),
]


def close(a, b):
    return abs(a - b) <= 1e-9 * (1 + abs(b))


def main():
    tool = sys.argv[1]
    failures = 0
    checked = 0
    for member, oracle, params in CASES:
        for A, B, C in params:
            out = subprocess.run([tool, "--values", str(member), repr(A), repr(B), repr(C),
                                  str(N)], check=True, capture_output=True, text=True).stdout
            f = oracle(float(A), float(B), float(C))
            lines = out.split("\n")[:-1]
            if len(lines) != N * N:
                print(f"id {member} {A} {B} {C}: {len(lines)} values, expected {N * N}")
                failures += 1
                continue
            for line in lines:
                x, y, got = (float(v) for v in line.split())
                want = f(x, y)
                checked += 1
                if not close(got, want):
                    failures += 1
                    if failures <= 20:
                        print(f"id {member} A={A} B={B} C={C} at ({x}, {y}): "
                              f"program {got!r}, oracle {want!r}")
    print(f"{checked} values checked, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
