#!/usr/bin/env python3
"""Independent check of the f21 shape, line-network and tech-noise members.

Re-implements from their formulas Min+Max, Line, Gaussian Dot, Lozenge,
Circuitry, ZigZag, Lightning, the 31 shapes of Shapes # with their lattice
cells, and Tech Noise # with three of its tech motif cells (Techno Grid,
Sparse Rects, Computer dots), and compares them with what the program
computes on a grid of the plane (printed by `f21_contact_sheet --values`),
to 1e-12. The lattice members read the permutation printed by
`f21_contact_sheet --perm`.

Usage: f21_shapes_oracle_check.py F21_CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

PI = math.pi
N = 23
TOLERANCE = 1e-12
PERM = []


def smooth(t):
    return (3 - 2 * t) * t * t


def cell_split(v):
    """Lattice cell (truncation, one less below 0) and fraction."""
    c = math.trunc(v) if v >= 0 else math.trunc(v) - 1
    return c, v - c


def hash2(a, b):
    """perm[(a + perm[b & 1023] + (b >> 9)) & 1023]."""
    return PERM[(a + PERM[b & 1023] + (b >> 9)) & 1023]


def hash_s(s, a, b):
    return hash2(a >> s, b >> s)


# ---- Plain shapes ----------------------------------------------------------

def min_plus_max(A, B, C):
    def f(x, y):
        m = min(abs(x), abs(y))
        return -m if max(x, y) >= 0 and min(x, y) < 0 else m
    return f


def line(A, B, C):
    a, c, s = 4 * B, math.cos(A), math.sin(A)

    def f(x, y):
        d = abs(x * c - y * s)
        return (C - d) * a if C - d > 0 else 0.0
    return f


def gaussian_dot(A, B, C):
    def f(x, y):
        r2 = x * x + y * y
        if r2 < B * B:
            return smooth(1 - math.sqrt(r2) * (1 / B)) * A
        return 0.0
    return f


def lozenge(A, B, C):
    def f(x, y):
        h = A - (abs(x) * (1 / B) + abs(y) * (1 / C))
        return h if h > 0 else 0.0
    return f


# ---- Branch patterns -------------------------------------------------------

CIRCUIT_LAYOUTS = [
    [24, 4, 1, 23, 2, 32, 32, 3, 0, 32, 32, 0, 22, 5, 1, 21],
    [32, 0, 32, 32, 1, 0, 1, 1, 32, 0, 32, 32, 32, 0, 32, 32],
    [32, 0, 32, 32, 1, 15, 11, 1, 32, 11, 15, 32, 32, 0, 32, 32],
    [32, 12, 10, 32, 1, 10, 12, 1, 32, 0, 32, 32, 32, 0, 32, 32],
    [32, 0, 32, 32, 1, 1, 1, 1, 32, 0, 32, 32, 32, 0, 32, 32],
    [32, 12, 1, 10, 1, 10, 32, 12, 32, 0, 32, 32, 32, 0, 32, 32],
]

ZIGZAG_LAYOUTS = [
    [0, 32, 0, 32, 2, 32, 0, 11, 0, 32, 7, 15, 0, 32, 0, 32],
    [0, 32, 0, 32, 15, 32, 22, 1, 32, 32, 32, 32, 11, 1, 23, 32],
    [0, 32, 0, 32, 2, 11, 15, 11, 7, 15, 11, 15, 0, 32, 0, 32],
    [0, 32, 0, 32, 15, 11, 15, 11, 11, 15, 11, 15, 0, 32, 0, 32],
    [0, 11, 15, 32, 4, 15, 11, 1, 32, 11, 16, 32, 11, 15, 0, 32],
    [0, 32, 0, 32, 4, 1, 4, 1, 11, 1, 23, 32, 0, 32, 0, 32],
]


def T(a):
    return a if a < 0.5 else 1 - a


def R(s):
    return 2 * (s if s <= 1 else 2 - s) - 1


def profile_d(t, u, v, doubles):
    if t == 0:
        return 2 * T(u)
    if t == 1:
        return 2 * T(v)
    if t == 2:
        return 2 * max(T(v), u) if u < 0.5 else 2 * (1 - u)
    if t == 3:
        return 2 * max(T(u), T(v)) if u > 0.5 else 2 * T(u)
    if t == 4:
        return 2 * max(T(v), T(u)) if v > 0.5 else 2 * T(v)
    if t == 5:
        return 2 * max(T(u), v) if v < 0.5 else 2 * (1 - v)
    if t == 6:
        return 2 * (1 - u) if u >= 0.5 else max(2 * u, R(1.5 - u - v))
    if t == 7:
        return max(2 * T(u), R(u + 0.5 - v)) if u > 0.5 else 2 * T(u)
    if t == 8:
        return 2 * (1 - u) if u >= 0.5 else max(2 * u, R(u + 1 - v))
    if t == 9:
        return max(2 * T(u), R(u + v - 0.5)) if u > 0.5 else 2 * T(u)
    if t == 10:
        return R(1.5 - u - v)
    if t == 11:
        return R(u + 0.5 - v)
    if t == 12:
        return R(u + v - 0.5)
    if t == 13 and doubles:
        return max(R(1.5 - u - v), R(u + v - 0.5))
    if t == 14 and doubles:
        return max(R(u + 0.5 - v), R(u + 1.5 - v))
    if t == 15:
        return R(u + 1.5 - v)
    if t == 16:
        return max(2 * T(u), R(u + 1.5 - v))
    if t == 18:
        return max(R(1.5 - u - v), R(u + 0.5 - v))
    if t == 19:
        return max(R(u + v - 0.5), R(u + 1.5 - v))
    if t == 20:
        return 2 * max(T(u), T(v))
    lo, hi = 2 * min(T(u), T(v)), 2 * max(T(u), T(v))
    if t == 21:
        return lo if u - v > 0 else hi
    if t == 22:
        return lo if u + v < 1 else hi
    if t == 23:
        return lo if u + v >= 1 else hi
    if t == 24:
        return lo if u - v <= 0 else hi
    if t == 26:
        return max(1 - u - v, 2 * u) if u < 0.5 else max(1 - u - v, 2 * (1 - u))
    if t == 27:
        return 2 * u + v - 1 if u < 0.5 else 2 * (1 - u) + v - 1
    return -1.0


def tile(layouts, U, V):
    ix, u = cell_split(U)
    iy, v = cell_split(V)
    h = hash2(iy >> 2, ix >> 2)
    return layouts[h % 6][(ix & 3) + 4 * ((~iy) & 3)], u, v


def circuitry(A, B, C):
    s = max(C, 0.0625)

    def f(x, y):
        t, u, v = tile(CIRCUIT_LAYOUTS, x / s + B, y / s)
        d = profile_d(t, u, v, True)
        return d * A if d >= 0 else 0.0
    return f


def zigzag(A, B, C):
    s = max(C, 0.0625)
    sin30, inv_cos30 = math.sin(PI / 6), 1 / math.cos(PI / 6)

    def f(x, y):
        V = (y / s) * inv_cos30
        t, u, v = tile(ZIGZAG_LAYOUTS, x / s + 2 * B + sin30 * V, V)
        d = profile_d(t, u, v, False)
        return smooth(d) * A if d >= 0 else 0.0
    return f


# ---- Lightning -------------------------------------------------------------

def add_branches(x, y, w, c, s, level):
    if level >= 2:
        return abs(x)
    k = (level + 1) * 0.25
    if x > 0:
        x1, y1 = x * c + y * s, y * c - x * s
        child = add_branches(x1 + k * (x - x1), y1 + k * (y - y1) - w, 0.66 * w, c, s, level + 1)
        m = x
    else:
        yw = y - w
        x1, y1 = x * c - yw * s, yw * c + x * s
        child = add_branches(x1 + k * (x - x1), y1 + k * (yw - y1) - w, 0.66 * w, c, s, level + 1)
        m = -x
    if m - 0.5 > child:
        b = child
    else:
        h = (m - 0.5 - child) / 2
        b = child - 2 * h * h if h > -0.5 else m
    return b if b >= 0 else 0.0


def lightning(A, B, C):
    o, c, s = PI * C, math.cos(B), math.sin(B)

    def f(x, y):
        b = add_branches(x, o - y, o, c, s, 0)
        if b > 0.35:
            v = b - 0.1
        elif 0.35 - b < 0.5:
            v = b - 0.1 + (0.35 - b) ** 2
        else:
            v = 0.0
        if A > 0:
            if v < 1.75:
                w = 2 * v
            else:
                h = 1.75 - v
                w = 2 * (v - h * h) if h > -0.5 else 4.0
            return A * (4 - w) * (4 - w)
        o2 = -A * v * v
        if o2 > 20:
            return 16.0
        if o2 > 12:
            g = (o2 - 20) / 16
            return 16 - 16 * g * g
        return o2
    return f


# ---- Shapes ----------------------------------------------------------------

def tek_cluster(ix, iy, d):
    a, b = ix >> 2, iy >> 2
    base = 1 - max(abs(a), abs(b)) * d
    h = PERM[(a + PERM[b & 1023] + (iy >> 11)) & 1023]
    return base + (h / 1024 - base) * 0.25


def tek_pyr(ix, iy, d):
    a, b = ix >> 2, iy >> 2
    return 1 - math.sqrt(a * a + b * b) * d


def box(ix, iy, nx, ny):
    return abs(ix) <= nx and abs(iy) <= ny


def tek_cube(ix, iy, d):
    return 1.0 if box(ix, iy, 7, 7) else 0.0


def tek_build_a(ix, iy, d):
    if box(ix, iy, 7, 7):
        return 1.0
    if box(ix, iy, 8, 5) or box(ix, iy, 5, 8):
        return 0.75
    if box(ix, iy, 9, 2) or box(ix, iy, 2, 9):
        return 0.5
    return 0.0


def tek_build_b(ix, iy, d):
    if box(ix, iy, 6, 6):
        return 1.0
    if (box(ix, iy, 7, 5) and iy % 2 == 0) or (box(ix, iy, 5, 7) and ix % 2 == 0):
        return 0.75
    if box(ix, iy, 11, 2) or box(ix, iy, 2, 11):
        return 0.133
    if box(ix, iy, 8, 8):
        return 0.125
    return 0.0


def tek_build_c(ix, iy, d):
    a, b = abs(ix) >> 1, abs(iy) >> 1
    if box(ix, iy, 7, 7) and a < 3 and b < 3:
        v = 1.5
    elif box(ix, iy, 7, 7) or (box(ix, iy, 8, 8) and (a % 2 == 1 or b % 2 == 1)):
        v = 0.75
    else:
        v = 0.0
    if (a in (4, 5) and b in (4, 5)) or (a == 0 and b == 0):
        v += 0.25
    if (a == 0 or b == 0) and a < 12 and b < 12:
        v += 0.03125
    return v


def tek_build_d(ix, iy, d):
    if box(ix, iy, 3, 3):
        v = 1.0
    elif box(ix, iy, 7, 3) or box(ix, iy, 3, 7):
        v = 0.5
    else:
        v = 0.0
    if abs(ix) <= 1 or abs(iy) <= 1:
        v += 0.05
    return v


def lattice_blend(cell, u, v, k):
    i, fu = cell_split(u)
    j, fv = cell_split(v)

    def weight(t):
        return 0.0 if t < 0 else 1.0 if t > 1 else smooth(t)
    wx, wy = weight(fu * k), weight(fv * k)
    c00, c10, c01, c11 = cell(i, j), cell(i + 1, j), cell(i, j + 1), cell(i + 1, j + 1)
    top = c00 + (c10 - c00) * wx
    bottom = c01 + (c11 - c01) * wx
    return top + (bottom - top) * wy


def terraces(t, m, factor):
    g = m * t + 0.5
    f = g - math.floor(g)
    e = 1.15 * f - 0.075
    if f < 0.075:
        h = f / 0.075
        e = 0.5 + (e - 0.5) * (2 - h) * h
    if f > 0.925:
        h = (f + 0.075 - 1) / 0.075
        e = e + h * h * (0.5 - e)
    return t + (0.5 - e) * factor


PROFILES = [
    lambda t: t * t,
    lambda t: t,
    lambda t: (2 - t) * t,
    lambda t: math.sqrt(1 - (1 - t) * (1 - t)),
    smooth,
    lambda t: terraces(t, 4, 0.2173913043478261),
    lambda t: terraces(t, 16, 0.05434782608695653),
]


def shapes(A, B, C):
    p = math.trunc(A)
    radius = max(B, 0.00001)
    s = 12 / (1.125 * radius) if p >= 26 else 1 / radius
    q = p % 7

    def f(x, y):
        if p < 0:
            return 0.0
        ax, ay = abs(x), abs(y)
        if p <= 6:
            r = math.sqrt(x * x + y * y)
            value = PROFILES[q](1 - r * s if r < radius else 0.0)
        elif p <= 13:
            if ax > ay + 0.03:
                d = ax
            else:
                e = (ay + 0.03 - ax) / 0.12
                d = ax + 0.12 * e * e if e < 0.5 else ay
            value = PROFILES[q](1 - d * s if d < radius else 0.0)
        elif p <= 20:
            t = lattice_blend(lambda i, j: tek_cluster(i, j, 0.125), 32 * x * s, 32 * y * s, 6)
            value = PROFILES[q](max(t, 0.0))
        elif p <= 24:
            m, fall = [(16, 0.25), (8, 0.5), (4, 1.0), (8, 0.4)][p - 21]
            cell = tek_pyr if p == 24 else tek_cluster
            value = max(lattice_blend(lambda i, j: cell(i, j, fall), m * x * s + 1.125,
                                      m * y * s + 1.125, 5), 0.0)
        elif p == 25:
            m = max(ax, ay)
            if m < radius:
                w = 1 - (m + 3 * min(ax, ay)) * s
                value = w * w if w > 0 else 0.0
            else:
                value = 0.0
        else:
            cell = [tek_cube, tek_build_a, tek_build_b, tek_build_c, tek_build_d][min(p - 26, 4)]
            value = lattice_blend(lambda i, j: cell(i, j, 0), x * s - 0.4375, y * s - 0.4375, 8)
        return value * C
    return f


# ---- Tech Noise with three motif cells -------------------------------------

def techno_grid(x, y):
    t = hash_s(2, x, y) & 3
    if t == 0:
        return 0.5 if x & 3 == 1 else 0.0
    if t == 1:
        return 0.5 if y & 3 == 1 else 0.0
    return 0.5 if (x & 3 == 1 or y & 3 == 1) else 0.0


def sparse_rects(x, y):
    h = hash_s(3, x, y)
    t, sx, sy = h & 15, x & 7, y & 7
    edge = sx < 2 or sx > 6
    narrow = sx < 2 or sx > 3
    if t == 0:
        if sy < 2 or edge:
            return 0.0
        return h / 1024 if sy < 7 else 0.0
    if t == 1:
        return 1.0 if not edge and 2 <= sy <= 3 else 0.0
    if t == 2:
        return 1.0 if not narrow and 1 <= sy <= 6 else 0.0
    if t == 3:
        return 1.0 if not narrow and 2 <= sy <= 3 else 0.0
    return 0.0


def computer_dots(x, y):
    if x & 31 < 2 or y & 15 == 0:
        return 0.0
    t = hash_s(2, x, y) & 3
    if t == 0:
        level = 0.5 if x & 1 else 0.0
    elif t == 1:
        level = 0.5 if y & 1 else 0.0
    elif t == 2:
        level = 0.5 if x & 3 == 1 else 0.0
    else:
        level = 0.5 if y & 3 == 1 else 0.0
    u = hash_s(2, y, x) & 7
    dot = [x & 1 == 1, y & 1 == 1, x & 3 == 1, y & 3 == 1, x & 3 == 1, y & 3 == 1,
           False, False][u]
    return 2 * min(level, 0.5) if dot else 2 * min(level, 0.0)


# index: (cell, sharpness, frequency factor)
TECH_PATTERNS = {
    6: (techno_grid, 6, 2), 7: (techno_grid, 2, 2),
    12: (sparse_rects, 6, 4), 13: (sparse_rects, 2, 4),
    20: (computer_dots, 6, 2), 21: (computer_dots, 1, 2),
}


def tech_noise(A, B, C):
    cell, k, factor = TECH_PATTERNS[math.trunc(A)]
    F = factor * C
    return lambda x, y: lattice_blend(cell, x * F, y * F, k) * B


# (id, oracle, list of (A, B, C))
CASES = [
    (22, min_plus_max, [(-1, -1, -1)]),
    (33, line, [(0, 1, 2), (0.7, 2.5, 0.1), (-2.9, 0.3, 5)]),
    (41, gaussian_dot, [(4, PI, -1), (11, 1.2, -1)]),
    (38, lozenge, [(4, 1, 1), (2.5, 0.3, 3.5)]),
    (36, circuitry, [(4, 0, 1), (3, 0.4, 0.25), (1, -7.3, 0.01)]),
    (37, zigzag, [(4, 0, 1), (2, 1.3, 0.3), (5, -3.1, 0.05)]),
    (51, lightning, [(0.5, -0.5, 2), (1.7, 1.1, -3.5), (-2, 0.3, 1.5), (-0.6, -2.5, 5)]),
    (62, shapes, [(p, PI, 8) for p in range(31)] +
     [(p, 0.9, 2.5) for p in (1, 9, 16, 22, 25, 28)] + [(45, 3, 1), (-1, 3, 1), (3, 0, 1)]),
    (63, tech_noise, [(6, 4, 2), (7, 1.5, 0.6), (12, 4, 2), (13, 2, 1.3), (20, 4, 2),
                      (21, 3, 0.9)]),
]


def close(a, b):
    return a == b or abs(a - b) <= TOLERANCE * (1 + abs(b))


def main():
    tool = sys.argv[1]
    out = subprocess.run([tool, "--perm"], check=True, capture_output=True, text=True).stdout
    PERM.extend(int(v) for v in out.split())
    if len(PERM) < 1024:
        print(f"--perm printed {len(PERM)} values, expected 1024")
        return 1
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
            for row in lines:
                x, y, got = (float(v) for v in row.split())
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
