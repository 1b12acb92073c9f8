#!/usr/bin/env python3
"""Independent check of four f31 lattice members.

Re-implements, from their formulas alone, 3D Grid, 3D Cellular, 3D Bubbles
and 3D Random lines, and compares their output with what the program
computes over a grid of the plane, printed by
`contact_sheet --family 4 --values ID A B C N` as "x y out" lines (the sheet
feeds z = 0). The feature vectors are rebuilt from the permutation that
`contact_sheet --perm` prints, as tests/noise/random_vectors.py does. Some
frequencies put the samples on negative whole lattice coordinates, where a
coordinate lies in the cell below with fraction 1.

Usage: f31_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "noise"))
from random_vectors import random_vectors  # noqa: E402

PI = math.pi
FOUR_PI = 4 * PI
DENSITY = 1000.0   # the harness's pixel density
OCTAVES = 16       # the harness's octave count
N = 16


def split(v):
    i = math.trunc(v)
    if v < 0:
        i -= 1
    return i, v - i


class Lattice:
    def __init__(self, perm):
        self.perm = perm
        self.vec = random_vectors(perm)

    def hash(self, a, b, c):
        p = self.perm
        return (p[(p[a & 1023] + c + (a >> 9)) & 1023] + b) & 1023

    def candidates(self, x, y, z, J):
        ix, fx = split(x)
        iy, fy = split(y)
        iz, fz = split(z)
        out = []
        for oz in (0, 1):
            for ox in (0, 1):
                h = self.hash(ix + ox, iy, iz + oz)
                for oy in (0, 1):
                    r = self.vec[h + oy]
                    dx = fx - ox + J * r[0]
                    dy = fy - oy + J * r[1]
                    dz = fz - oz + J * r[2]
                    out.append(dx * dx + dy * dy + dz * dz)
        return out


def grid(L, A, B, C):
    def fold(v):
        if v > 0:
            w = v - math.trunc(v / FOUR_PI) * FOUR_PI
        else:
            w = FOUR_PI - (-v - math.trunc(-v / FOUR_PI) * FOUR_PI)
        return FOUR_PI - w if w > 2 * PI else w

    def f(x, y, z):
        m = max(fold(C * x + B), fold(C * y), fold(C * z)) - PI
        return 0.0 if m <= 0 else m * A / PI
    return f


def fade_of(k2):
    lim = DENSITY / 4
    return (k2 - lim) / (k2 / 2) if k2 > lim else None


def out_of(k0, v):
    return k0 * v if k0 >= 0 else -k0 * (1 - v)


def cellular(L, A, B, C):
    k0, k2 = 4 * A, C / 2

    def f(x, y, z):
        X, Y, Z = k2 * x - B, k2 * y, k2 * z - B
        t = fade_of(k2)
        if t is not None and t >= 1:
            return out_of(k0, 0.5)
        kept = [d for d in L.candidates(X, Y, Z, 0.28) if d < 1.5]
        kept += [d for d in L.candidates(X + 333.5, Y + 111.5, Z + 71.5, 0.28) if d < 1.5]
        if not kept:
            v = 0.5
        else:
            f1 = min([0.6] + kept)
            f2 = min([0.6] + [d for d in kept if d > f1])
            v = f2 - f1
        if t is not None:
            v = v + (0.5 - v) * t
        return out_of(k0, v)
    return f


def bubbles(L, A, B, C):
    k0, k2 = 4 * A, C / 2

    def f(x, y, z):
        X, Y, Z = k2 * x - B, k2 * y, k2 * z - B
        t = fade_of(k2)
        if t is not None and t >= 1:
            return out_of(k0, 0.5)
        v = min([1.0] + L.candidates(X, Y, Z, 0.35))
        if t is not None:
            v = v + (0.5 - v) * t
        return out_of(k0, v)
    return f


def random_lines(L, A, B, C):
    m = min(max(OCTAVES // 4 + 2, 1), 20)
    th = (PI / 2) / m
    k0, k1 = math.cos(th), math.sin(th)
    k2, k3 = math.sin(PI / 2 - th), math.cos(PI / 2 - th)
    n = OCTAVES // 4
    n = min(n, 20) if n > 0 else 1

    def cubelines(x, y, z, acc, level):
        ix, _ = split(x)
        iy, _ = split(y)
        iz, _ = split(z)
        if level < 2 and L.perm[(ix + 517) & 1023] > 512:
            acc = cubelines(2 * x, 2 * y, 2 * z, acc, level + 1)
        d = max(abs(x - 0.5 - ix), abs(y - 0.5 - iy), abs(z - 0.5 - iz))
        if level > 1:
            d = 0.5 - (0.5 - d) / level
        return max(acc, d)

    def f(x, y, z):
        X, Y, Z = C / 4 * x, C / 4 * y, C / 4 * z
        acc = 0.0
        for _ in range(n + 1):
            X1, Y1, Z1 = X + B + 77.333333, Y + 123.333333, Z + 519.333333
            R = k3 * X1 - k2 * Z1
            Z = k2 * X1 + k3 * Z1
            X = k0 * R - k1 * Y1
            Y = k1 * R + k0 * Y1
            acc = cubelines(X, Y, Z, acc, 1)
        t = 4 * (1 - 2 * acc)
        q = 1 - t if t < 1 else 0.0
        return 2 * A * (1 - q * q)
    return f



CASES = [
    (24, grid, (3.0, 0.0, 2.0)),
    (24, grid, (2.5, -1.3, 7.0)),
    (24, grid, (1.0, 0.0, N / 2.0)),       # C x on whole multiples of pi/2
    (53, cellular, (2.0, 0.0, 2.0)),
    (53, cellular, (-1.5, 0.7, 5.3)),
    (53, cellular, (2.0, 0.0, 2 * N / PI)),  # k2 x = odd negative and positive wholes
    (26, bubbles, (2.0, 0.0, 2.0)),
    (26, bubbles, (-3.0, 1.25, 2 * N / PI)),
    (33, random_lines, (4.0, 0.0, 2.0)),
    (33, random_lines, (1.5, -7.0, 4 * N / PI)),
]


def main():
    tool = sys.argv[1]
    perm = [int(v) for v in subprocess.run([tool, "--perm"], check=True, capture_output=True,
                                           text=True).stdout.split()]
    L = Lattice(perm)
    failures = 0
    for ident, member, (A, B, C) in CASES:
        out = subprocess.run([tool, "--family", "4", "--values", str(ident), repr(A), repr(B),
                              repr(C), str(N)], check=True, capture_output=True, text=True).stdout
        f = member(L, A, B, C)
        rows = [line.split() for line in out.splitlines() if line.strip()]
        if len(rows) != N * N:
            print(f"id {ident}: {len(rows)} rows, want {N * N}")
            failures += 1
            continue
        for row in rows:
            x, y, got = float(row[0]), float(row[1]), float(row[2])
            want = f(x, y, 0.0)
            if not math.isclose(got, want, rel_tol=1e-9, abs_tol=1e-9):
                print(f"id {ident} {A} {B} {C} at ({x}, {y}): program {got}, oracle {want}")
                failures += 1
                break
    print("f31 oracle:", "FAILED" if failures else "ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
