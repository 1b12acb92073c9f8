#!/usr/bin/env python3
"""Independent check of ten f22 plane maps.

Re-implements, from their formulas alone, Skew, Split & Move, Mirrors 6,
Hexagonal Mirrors, Hexagonal tiles, Serpiensky tiles (octave count 16),
Complex Map, Complex Moebius, Ring Space and Polar Space, and compares x' and
y' (no-value markers included) with what the program computes over a grid of
the plane, printed by `contact_sheet --family 3 --values ID A B C N` as
"x y x' y'" lines. None of these maps uses the table sine, so the values
agree to rounding.

Usage: f22_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import sys

from plane_map_oracle import MARKER, check_plane_maps  # beside this file

PI = math.pi
K = 0.866025
N = 23  # 23 x 23 samples of -pi..pi: short batches, negative values and 0


def skew(A, B, C):
    k = B + 3
    c, s = math.cos(A), math.sin(A)
    k0 = (k * c * c + s * s / k) * C
    k1 = (k * s * s + c * c / k) * C
    k2 = c * s * (k - 1 / k) * C
    return lambda x, y: (k0 * x + k2 * y, k1 * y + k2 * x)


def split_move(A, B, C):
    c, s = math.cos(A), math.sin(A)

    def f(x, y):
        u = c * x - s * y
        v = c * y + s * x
        moved = 0.0
        if u < 0:
            v -= C
            moved = u + B
            if moved > 0:
                return (MARKER, v)
        elif u > 0:
            v += C
            moved = u - B
            if moved < 0:
                return (MARKER, v)
        return (c * moved + s * v, c * v - s * moved)
    return f


def mirrors6(A, B, C):
    def f(x, y):
        u, v = A * x, A * y
        mx = min(abs(-0.5 * u + K * v), abs(u), abs(0.5 * u + K * v))
        my = min(abs(-0.5 * v - K * u), abs(v), abs(0.5 * v - K * u))
        return (mx + B, my + C)
    return f


def fold(t):
    """Distance from t to the nearest even whole number."""
    if t >= 0:
        f = t - 2 * math.trunc(t / 2)
    else:
        f = 2 - (-t - 2 * math.trunc(-t / 2))
    return 2 - f if f > 1 else f


def hexagonal_mirrors(A, B, C):
    scale = max(A, 0.25)
    inv = 4.0 if A < 0.25 else 1 / A
    B = max(B, 0.0)
    px, py = 0.33333333 * B, 0.57735026 * B

    def f(x, y):
        s = inv * y + 2771280.0
        r = s - 3.4641 * math.trunc(s / 3.4641)
        f0 = fold(inv * x)
        p1, q1 = K * r + 0.5 * f0, 0.5 * r - K * f0
        f1 = fold(p1)
        p2, q2 = K * q1 + 0.5 * f1, 0.5 * q1 - K * f1
        f2 = fold(p2)
        p3, q3 = K * q2 + 0.5 * f2, 0.5 * q2 - K * f2
        f3 = fold(p3)
        return ((0.5 * f3 + K * q3 + px) * scale, (-K * f3 + 0.5 * q3 + py) * scale)
    return f


CELL_TYPE = [[0, 1, 2], [2, 0, 1], [1, 2, 0]]


def cellfloor(t):
    return math.trunc(t) if t >= 0 else math.trunc(t - 1)


def hex_local(x, y, C):
    """(fu, fv, type) of the point in its lattice cell."""
    k0, k1 = math.sin(PI / 6), 1 / math.cos(PI / 6)
    s = max(C, 0.0625)
    v = (y / s) * k1
    u = x / s - v * k0
    i, j = cellfloor(u), cellfloor(v)
    return u - i, v - j, CELL_TYPE[j % 3][i % 3]


def hexagonal_tiles(A, B, C):
    k0, k1 = math.sin(PI / 6), 1 / math.cos(PI / 6)

    def f(x, y):
        fu, fv, t = hex_local(x, y, C)
        if t == 0:
            fu -= 1
        elif t == 2:
            fv -= 1
        elif not (1 - fu > fv):
            fu -= 1
            fv -= 1
        return ((fu + k0 * fv) * A + B, (fv / k1) * A)
    return f


def triangle(p, q, m, sigma, level, octaves):
    """The Sierpinski subdivision, written as the recursion it describes."""
    if not (math.isfinite(p) and math.isfinite(q)):
        return (0.0, 0.0)
    if level == 1:
        p1 = p - q if m == 1 else p
        p, q = abs(p1 - q), q + p1
    if sigma >= 0:
        return (p / q, q)
    if 1 - p > q and q >= 0.5:
        return triangle(2 * p, 2 * (1 - q), m, -sigma, level + 1, octaves)
    if level > octaves >> 1:
        return (0.0, 0.0)
    if q > 0.5:
        return triangle(abs(2 * p - 1), 2 * q - 1, m, sigma, level + 1, octaves)
    return triangle(2 * p, 2 * q, m, sigma, level + 1, octaves)


def serpiensky_tiles(A, B, C):
    def f(x, y):
        fu, fv, t = hex_local(x, y, C)
        if t == 1:
            start = (1 - fu, 1 - fv, 0, -1) if 1 - fu <= fv else (fu, fv, 0, 1)
        elif t == 2:
            start = (fu, 1 - fv, 1, -1) if 1 - fu <= fv else (1 - fv, fu, 1, 1)
        else:
            h = 1 - fu
            start = (h, fv, 1, 1) if fv < h else (fv, h, 1, -1)
        r0, r1 = triangle(*start, 1, 16)
        return (A * r0 + B, A * r1)
    return f


def cmul(a, b):
    return (a[0] * b[0] - a[1] * b[1], a[0] * b[1] + a[1] * b[0])


def cinv(z):
    m = z[0] * z[0] + z[1] * z[1]
    return (0.0, 0.0) if m == 0 else (z[0] / m, -z[1] / m)


def complex_map(A, B, C):
    def f(x, y):
        z = (x / 2, y / 2)
        for _ in range(4):
            i = cinv(z)
            z = cmul((z[0] + i[0], z[1] + i[1]), (A, B))
        return z
    return f


def moebius(A, B, C):
    kr, ki = B * math.cos(A), B * math.sin(A)

    def f(x, y):
        z = (x + -1.0, y + (C - 1))
        kz = cmul((kr, -ki), z)
        return cmul((z[0] - kr, z[1] - ki), cinv((1 - kz[0], -kz[1])))
    return f


def ring_space(A, B, C):
    def f(x, y):
        a = x * x - y * y + A
        b = 2 * x * y + B
        re, im = a * a - b * b, 2 * a * b
        den = (re * re + im * im) * 0.00390625 * C + 1
        return (re / den, im / den)
    return f


def angle(x, y):
    """The angle of (x, y) in [0, 2 pi), with the axis values as tabled."""
    if x == 0:
        return 1.5707963268 if y > 0 else 4.7123889804
    a = math.atan(y / x)
    if x < 0:
        return a + PI
    return a + 2 * PI if a < 0 else a


def polar_space(A, B, C):
    return lambda x, y: ((angle(x, y) - C) * A, math.sqrt(x * x + y * y) * B)


# (id, oracle, parameter triples): defaults first, then values that reach
# edges (gaps, cell boundaries, negative scales).
CASES = [
    (0, skew, [(PI / 4, -1.5, 1.0), (0.3, 0.7, -1.25)]),
    (44, split_move, [(0, 0, 0), (0.4, 0.6, 0.3), (-1.0, 1.5, -2.0)]),
    (22, mirrors6, [(1, 0, 0), (-2.5, 0.5, -1.0)]),
    (8, hexagonal_mirrors, [(4, 1, 0), (0.1, -0.5, 0), (7.5, 1.7, 0)]),
    (33, hexagonal_tiles, [(2, 0, 2), (3, -1, 0.5), (1, 0.25, 0.01)]),
    (35, serpiensky_tiles, [(2, 0, 2), (3, -1, 0.5), (1.5, 0.25, 1)]),
    (10, complex_map, [(0.5, 0.75, 0), (1, 0, 0), (-1.3, 0.4, 0)]),
    (58, moebius, [(-PI, 1.8, 0), (0.7, 0, 0.5), (1.2, 0.9, -1.5)]),
    (23, ring_space, [(1, 0, 0.5), (-2, 1.5, 0), (0.5, -0.5, 1)]),
    (24, polar_space, [(1, 1, -PI), (2.5, 0.7, 1.0)]),
]


def main():
    return check_plane_maps(sys.argv[1], CASES, N)


if __name__ == "__main__":
    sys.exit(main())
