#!/usr/bin/env python3
"""Independent check of five f22 lattice displacements.

Re-implements, from their formulas alone and with the permutation the tool
prints (`contact_sheet --perm`), Random noise (with the bilinear value noise
it samples), Pixel prism, Tech displace, Tech quantize and Spots displace,
and compares x' and y' (no-value markers included) with what the program
computes over a grid of the plane, printed by
`contact_sheet --family 3 --values ID A B C N` as "x y x' y'" lines. The
frequencies chosen put lattice coordinates on whole numbers, negative ones
included.

Usage: f22_displace_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

from plane_map_oracle import MARKER, check_plane_maps  # beside this file

PI = math.pi
N = 24  # 24 x 24 samples of -pi..pi; step pi/12


def cell(t):
    """cellfloor: trunc(t) for t >= 0, trunc(t - 1) below."""
    return math.trunc(t) if t >= 0 else math.trunc(t - 1)


def fits(t):
    return -2147483649.0 < t < 2147483648.0


def tri(f):
    t = 2 * f
    return 2 - t if t > 1 else t


def smooth(t):
    return (3 - 2 * t) * t * t


class Lattice:
    def __init__(self, perm):
        assert len(perm) == 1024 and sorted(perm) == list(range(1024))
        self.P = perm + [perm[0]]

    def hash(self, i, j, shift=9):
        P = self.P
        return P[(j + P[i & 1023] + (i >> shift)) & 1023]

    def frandom2D(self, x, y):
        """The value noise: perm values at the corners, bilinear with
        smoothstep weights, cells as cellfloor (a negative whole number falls
        in the cell below with fraction 1)."""
        if not (fits(x - 1) and fits(y - 1)):
            return 0.0
        ix, iy = cell(x), cell(y)
        fx, fy = x - ix, y - iy
        P = self.P

        def h2(i, j):
            return (j + P[i & 1023] + (i >> 8)) & 1023
        a, b = h2(ix, iy), h2(ix + 1, iy)
        q00, q01, q10, q11 = P[a], P[a + 1], P[b], P[b + 1]
        sx, sy = smooth(fx), smooth(fy)
        lo = q00 + (q10 - q00) * sx
        hi = q01 + (q11 - q01) * sx
        return lo + (hi - lo) * sy


def random_noise(L, A, B, C):
    k0, k2 = A / 64, 0.5 * C

    def f(x, y):
        u, v = k2 * x + B, k2 * y
        n1 = L.frandom2D(u, v)
        n2 = L.frandom2D(0.95 * u - 72.64 + 0.1 * v - B, 0.95 * v + 81.35 - 0.1 * u)
        return (x + (n2 - 512) * k0, y + (n1 - 512) * k0)
    return f


def pixel_prism(L, A, B, C):
    b = min(abs(B), 1.0)
    t = math.trunc

    def f(x, y):
        X, Y = C * x, C * y
        h1 = L.hash(t(X), t(Y)) - 64
        h2 = L.hash(t(2 * X), t(2 * Y))
        h3 = L.hash(t(Y + 330), t(X + 218)) - 64
        h4 = L.hash(t(2 * Y + 330), t(2 * X + 218))
        return (2 * X + (max(h2, h1) * A / 16 - 2 * X) * b,
                2 * Y + (max(h4, h3) * (1 - A) / 16 - 2 * Y) * b)
    return f


def tdisplace(L, amp, X, Y, x0, y0):
    i, j = cell(X), cell(Y)
    d = min(tri(X - i), tri(Y - j)) * amp
    if i % 2 == 1 and j % 2 == 1:
        return (x0, y0)
    r = L.hash(i, j) % 6
    return [(x0 + d, y0), (x0 - d, y0), (x0, y0 + d), (x0, y0 - d), (x0, y0), (x0, y0)][r]


def tech_displace(L, A, B, C):
    def f(x, y):
        X, Y = C * x + B, C * y
        layers = [tdisplace(L, 4 * A, X / 4, Y / 4, x, y),
                  tdisplace(L, 2 * A, X / 2 + 0.5, Y / 2 + 337.5, x, y),
                  tdisplace(L, A, X + 37.25, Y + 0.25, x, y)]
        return (max(p[0] for p in layers), max(p[1] for p in layers))
    return f


def quantize(L, X, Y, level):
    i, j = cell(X), cell(Y)
    fx, fy = X - i, Y - j
    r = L.hash(i, j) % 5
    if r == 2 and level < 1:
        qx, qy = quantize(L, 2 * X, 2 * Y, level + 1)
        return (qx / 2, qy / 2)
    if r < 3:
        return (i + 0.5, j + 0.5)
    up, low = fy > fx, 1 - fx > fy
    if up and low:
        return (i, j + 0.5)
    if up:
        return (i + 0.5, j + 1)
    if low:
        return (i + 0.5, j)
    return (i + 1, j + 0.5)


def tech_quantize(L, A, B, C):
    mode = int(math.fmod(math.trunc(B), 3))

    def f(x, y):
        qx, qy = quantize(L, C * x + B, C * y, mode)
        return (x + ((qx - B) / C - x) * A, y + (qy / C - y) * A)
    return f


def spots_displace(L, A, B, C):
    def f(x, y):
        X, Y, amp = 0.25 * C * x + B, 0.25 * C * y, A
        for level in range(4):
            i, j = cell(X), cell(Y)
            s = smooth(tri(X - i)) * smooth(tri(Y - j))
            push = amp * s * s
            r = L.hash(i, j) & 7
            if r < 5:
                return [(x + push, y), (x, y + push), (x, y - push), (x - push, y), (x, y)][r]
            amp, X, Y = amp / 2, 2 * X, 2 * Y
        return (x, y)
    return f


WHOLE = 12 / PI  # frequency that puts C x on half-integers, 2 C x on whole numbers

# (id, oracle, parameter triples): defaults first, then whole lattice
# coordinates, negative phases and negative levels.
CASES = [
    (12, random_noise, [(0.5, 0, 2.0), (1.7, -3.25, 2 * WHOLE), (-2, 5, 0.3)]),
    (18, pixel_prism, [(0, 1, 1), (0.75, -0.5, WHOLE), (-1.5, 2, -2 * WHOLE)]),
    (42, tech_displace, [(1, 0, 1), (2.5, -3, 4 * WHOLE), (0.5, 7.5, 2 * WHOLE)]),
    (45, tech_quantize, [(1, 0, 1), (1, -2, 2 * WHOLE), (0.6, 4.5, WHOLE), (1, -7, 3)]),
    (43, spots_displace, [(1, 0, 1), (6, -2, 8 * WHOLE), (3, 1.5, 4)]),
]


def main():
    tool = sys.argv[1]
    perm = [int(v) for v in subprocess.run([tool, "--perm"], check=True, capture_output=True,
                                           text=True).stdout.split()]
    return check_plane_maps(tool, CASES, N, oracle_args=(Lattice(perm),))


if __name__ == "__main__":
    sys.exit(main())
