#!/usr/bin/env python3
"""Independent check of f24 members.

Re-implements, from their formulas alone, XYza Tiles (outputs 1, 2, 3
and 4), XYza tiled disks with their holes (all four), the Apollonian
gasket (all four) and output 4 of Polygon N, Circle, Line, Neon Line,
Interlaced Grid, half plane and Gaussian dot, and compares them with what
the program computes over a grid of the plane, printed by
`contact_sheet --family 10 --values ID A B C N` as "x y o1 o2 o3 o4" lines.
The tile and disk frequencies put grid samples on negative whole lattice
coordinates (the cell below, fraction 1). The cell hash reads the
permutation that `contact_sheet --perm` prints. The document's octave
count, the gasket's depth, is 16.

Usage: f24_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

PI = math.pi
MARKER = 1e250
NONE4 = (MARKER, MARKER, MARKER, MARKER)
N = 24
STEP = 2 * PI / N
DEPTH = 16


def split(u):
    """Lattice cell and fraction: trunc - 1 below 0, so -2.0 gives (-3, 1)."""
    if not (-2147483648.0 < u < 2147483648.0):
        return None
    t = int(u)
    if u < 0:
        t -= 1
    return t, u - t


def hasher(perm):
    def h(i, j):
        return perm[(j + perm[i & 1023] + (i >> 9)) & 1023]
    return h


def tiles(A, B, C, H):
    k0 = 0.5 * B
    k1 = 2 * PI * A
    c = C if C >= 0.125 else 0.125
    k2 = c * k0
    k3 = k1 / c
    k4 = 2 / c

    def f(x, y):
        if x >= MARKER:
            return NONE4
        su, sv = split(k0 * x + 0.5), split(k2 * y + 0.5)
        if su is None or sv is None:
            return NONE4
        (i, fu), (j, fv) = su, sv
        ex = 2.0 * (1 - fu) if fu > 0.5 else 2.0 * fu
        ey = k4 * (1 - fv) if fv > 0.5 else k4 * fv
        return ((fu - 0.5) * k1, (fv - 0.5) * k3, H(i, j) / 128,
                max(0.0, 4 * min(ex, ey)))
    return f


def tiled_disks(A, B, C, H):
    k0 = 0.5 * B
    k1 = k0 / 1.73205
    k2 = PI * A

    def disk(u, w):
        su, sw = split(u), split(w)
        if su is None or sw is None:
            return None
        (i, fu), (j, fw) = su, sw
        tx = 2 * fu - 1
        ty = (4 * fw - 2) * 0.866025
        d = tx * tx + ty * ty
        return (i, j, tx, ty, d) if d < 1 else None

    def f(x, y):
        if x >= MARKER:
            return NONE4
        u, w = k0 * x, k1 * y
        first = disk(u, w)
        if first:
            i, j, tx, ty, d = first
            return (tx * k2, ty * k2, H(i, j) / 128, 4 * (1 - d))
        second = disk(u + 0.5, w + 0.5)
        if second:
            i, j, tx, ty, d = second
            return (tx * k2, ty * k2, H(i + 377, j) / 128, 4 * (1 - d))
        return NONE4
    return f


CIRCLES = ((1, -1), (1, 1), (-1, 1), (-1, -1))


def fold(x):
    s = split(0.5 * x + 0.5)
    return None if s is None else 2 * s[1] - 1


def gasket(A, B, C, H):
    k0 = 1 / A

    def invert(x, y, rec, level):
        while True:
            for cx, cy in CIRCLES:
                D = (x - cx) ** 2 + (y - cy) ** 2
                if D < 1:
                    break
            else:
                return rec
            xi = cx + (x - cx) / D
            yi = cy + (y - cy) / D
            if yi < -1:
                return [0.0, 0.0, 8.0, 1 + 1 / yi]
            if yi > 1:
                return list(NONE4)
            X = fold(xi)
            if X is None:
                return list(NONE4)
            rec = [X, yi, xi, rec[3]]
            R = X * X + yi * yi
            if level < DEPTH and R >= 1:
                x, y, level = X, yi, level + 1
                continue
            rec[3] = 4 * (1 - R)
            return rec

    def f(x, y):
        xs, ys = k0 * x + B, k0 * y + C
        X = fold(xs) if -1 < ys < 1 else None
        if X is not None:
            rec = [X, ys, xs, 0.0]
            R = X * X + ys * ys
            if R < 1:
                rec[3] = 4 * (1 - R)
            else:
                rec = invert(X, ys, rec, 0)
        elif ys < -1:
            rec = [0.0, 0.0, 8.0, 1 + 1 / ys]
        else:
            rec = list(NONE4)
        if any(v >= MARKER for v in rec):
            rec[3] = MARKER
        else:
            rec[3] *= 0.75
        return tuple(rec)
    return f


def fill_mask(m):
    return m if m >= 0 else max(m, -2.0)


def polygon(A, B, C, H):
    n = int(A)
    c, s = math.cos(2 * PI / n), math.sin(2 * PI / n)
    k2 = 4 / B if B >= 0.0625 else 64.0

    def f(x, y):
        if x >= MARKER:
            return -2.0
        M = 0.0
        for _ in range(n):
            x, y = c * x - s * y, c * y + s * x
            M = max(M, y)
        return fill_mask((B - M) * k2)
    return f


def circle(A, B, C, H):
    k0 = A / max(0.0625, B * B)
    k2 = k0 * B * B
    return lambda x, y: -2.0 if x >= MARKER else fill_mask(k2 - k0 * (x * x + y * y))


def line(A, B, C, H):
    s = B if B >= 1e-7 else 1e-7
    k0, k1 = -math.cos(A) / s, math.sin(A) / s

    def f(x, y):
        if x >= MARKER:
            return -2.0
        w = k0 * x + k1 * y
        u = k0 * y - k1 * x
        return fill_mask(4 - max(abs(w) - 2, abs(u)) * (8 * s))
    return f


def neon(A, B, C, H):
    k0, k1 = math.cos(A), math.sin(A)

    def f(x, y):
        if x >= MARKER:
            return 0.0
        a = k0 * x + k1 * y
        c = k0 * y - k1 * x
        e = a + B if a < -B else (a - B if a > B else 0.0)
        D = c * c + e * e
        if D >= 1:
            return 0.0
        q = 4 * math.sqrt(D)
        p = q * q if q < 0.5 else q - 0.25
        return 4 * (1 - p / 4) ** 2
    return f


def mod_floor(a, period):
    return math.fmod(a, period) if a >= 0 else period - math.fmod(-a, period)


def grid(A, B, C, H):
    k0, k1 = 4 * C * math.cos(A), 4 * C * math.sin(A)

    def fold16(w):
        s = mod_floor(w, 16)
        return 16 - s if s > 8 else s

    def f(x, y):
        if x >= MARKER:
            return MARKER
        u, w = k0 * y - k1 * x, k0 * x + k1 * y
        P, Q = mod_floor(u + 4, 8) - 4, mod_floor(w + 4, 8) - 4
        S, T = fold16(w), fold16(u)
        G1 = S / 8 if T > 4 else 1 - S / 8
        Hh = 1 - T / 8 if S > 4 else T / 8
        m = max(min(1 - abs(P), G1 - 0.1), min(1 - abs(Q), Hh - 0.1))
        return 4 * m if m >= -2 else -8.0
    return f


def halfplane(A, B, C, H):
    k0, k1 = math.cos(A), math.sin(A)
    return lambda x, y: -2.0 if x >= MARKER else fill_mask(min(x * k0 + y * k1 + B, 4.0))


def gaussian(A, B, C, H):
    def f(x, y):
        if x >= MARKER:
            return 0.0
        r2 = x * x + y * y
        if r2 < B * B:
            t = 1 - math.sqrt(r2) / B
            return t * t * (3 - 2 * t) * A
        return 0.0
    return f


# (id, A, B, C, model, outputs compared: None for all four, else output 4)
CASES = [
    (0, 1.0, N / PI, 1.0, tiles, None),     # u = k0 x + 0.5 whole on the grid
    (0, 0.7, N / PI, 0.05, tiles, None),    # C below 0.125
    (0, 1.3, 3.0, -2.0, tiles, None),
    (40, 1.0, N / PI, -1, tiled_disks, None),
    (40, 0.6, 3.0, -1, tiled_disks, None),
    (34, PI, 0.0, 0.0, gasket, None),
    (34, 1.7, 3.3, -0.4, gasket, None),
    (34, 4.0, -2.0, 1.1, gasket, None),
    (21, 5.0, 2.0, 0.5, polygon, 3),
    (21, 7.0, 0.04, 0.5, polygon, 3),
    (22, 4.0, 2.0, 0.5, circle, 3),
    (22, -3.0, 0.2, 0.5, circle, 3),
    (23, PI / 2, 1.0, 0.5, line, 3),
    (23, 0.4, 0.3, 0.5, line, 3),
    (24, PI / 2, 1.0, 0.5, neon, 3),
    (24, -0.9, 0.5, 0.5, neon, 3),
    (28, 0.0, 0.5, 1.0, grid, 3),
    (28, 0.7, 0.5, 0.6, grid, 3),
    (43, 0.0, 0.0, 0.5, halfplane, 3),
    (43, 2.2, -1.5, 0.5, halfplane, 3),
    (51, 2.0, 4.0, 0.5, gaussian, 3),
    (51, 5.0, 1.5, 0.5, gaussian, 3),
]


def close(a, b):
    if a >= MARKER or b >= MARKER:
        return a == b
    return abs(a - b) <= 1e-9 * (1 + abs(b))


def main():
    tool = sys.argv[1]
    perm = [int(v) for v in subprocess.run([tool, "--perm"], check=True, capture_output=True,
                                           text=True).stdout.split()]
    if len(perm) != 1024:
        print("unexpected permutation length", len(perm))
        return 1
    H = hasher(perm)
    failures = 0
    for ident, A, B, C, model, only in CASES:
        out = subprocess.run([tool, "--family", "10", "--values", str(ident), repr(A), repr(B),
                              repr(C), str(N)], check=True, capture_output=True, text=True).stdout
        f = model(A, B, C, H)
        lines = out.split("\n")[:-1]
        if len(lines) != N * N:
            print(f"id {ident}: {len(lines)} lines")
            failures += 1
            continue
        for row in lines:
            v = [float(t) for t in row.split()]
            x, y, got = v[0], v[1], v[2:]
            want = f(x, y)
            pairs = [(3, want)] if only is not None else list(enumerate(want))
            for k, w in pairs:
                if not close(got[k], w):
                    failures += 1
                    if failures < 20:
                        print(f"id {ident} A {A} B {B} C {C} at ({x}, {y}) output {k + 1}: "
                              f"{got[k]!r}, expected {w!r}")
    print("f24 oracle:", "ok" if failures == 0 else f"{failures} mismatches")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
