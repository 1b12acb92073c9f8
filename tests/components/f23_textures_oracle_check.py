#!/usr/bin/env python3
"""Independent check of the f23 hue fields and Techno boxes.

Re-implements from their formulas alone RGB concentric hues, RGB linear
hues and RGB radial hues (their keys made by the HSL formula in integer
sextants, blended by a truncating colour interpolation), and Techno boxes
with its cell functions (Techrandom for the coarse layer, Techpattern_Box
with its one subdivision for the fine layer, the 3 x 3 smooth grid blend).
The permutation comes from `contact_sheet --perm`; the program's values from
`contact_sheet --family 7 --values ID A B C N` ("x y out1 out2 out3" lines)
over the same tables.

Usage: f23_textures_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

from f23_grid_values import member_grid  # beside this file

PI = math.pi
N = 37  # 37 x 37 samples of -pi..pi: short batches, negative cells, 0


# ---- Colour keys ----------------------------------------------------------------

def hsl_to_rgb(hue, s, l):
    """Red, green, blue bytes of a hue in degrees (0..359) and bytes s, l."""
    lf = l / 255
    m2 = math.trunc(lf * (s + 255)) if lf <= 0.5 else math.trunc(l + s - lf * s)
    if s == 0 or m2 == 0:
        return (m2, m2, m2)
    h = hue / 60
    i = math.trunc(h)
    m1 = 2 * l - m2
    f = (h - i) * (m2 - m1)
    a, b, c = math.trunc(f + m1), math.trunc(m1), math.trunc(m2 - f)
    return [(m2, a, b), (c, m2, b), (b, m2, math.trunc(m1 + f)), (b, c, m2), (a, b, m2),
            (m2, b, c)][i]


def colour_lerp(a, b, t):
    if t <= 0:
        return a
    if t > 1:
        return b
    return tuple((x + math.trunc((y - x) * t)) & 255 for x, y in zip(a, b))


def gradient(keys, t):
    """The keys spaced evenly over 0..1, linear between neighbours."""
    n = len(keys)
    if not t > 0:
        return keys[0]
    if t >= 1:
        return keys[-1]
    x = (n - 1) * t
    i = math.trunc(x)
    f = x - i
    return tuple(a + (b - a) * f for a, b in zip(keys[i], keys[i + 1]))


def hue_base(A):
    v = math.trunc(240 * A + 360) % 65536
    return v - 65536 if v >= 32768 else v


def hsl(h, s, l):
    return hsl_to_rgb(h % 360, s, l)


def value(c):
    return tuple(v / 32 for v in c)


def concentric(A, B, C):
    h = hue_base(A)
    s = math.trunc(255 * B) % 256
    keys = [hsl(h, s, 0), hsl(h, s, 64), hsl(h, s, 128), hsl(h + 30, s, 128),
            hsl(h + 55, s, 128), hsl(h + 60, s, 160), hsl(h + 60, s, 192)]

    def f(x, y):
        v = PI - C * math.sqrt(x * x + y * y)
        if v < 0:
            v = math.log(1 - v) * 0.25
        return value(gradient(keys, v / PI)) if v > 0 else (0.0, 0.0, 0.0)
    return f


def linear(A, B, C):
    h = hue_base(A)
    keys = [colour_lerp((42 * i,) * 3, hsl(h + 10 * i, 255, 128), B) for i in range(7)]
    line = hsl(h + 30, 255, 128)
    k = C / PI

    def f(x, y):
        t, s = k * abs(x), k * y
        c = gradient(keys, t)
        near = s < 0.125
        if s < 0:
            c = tuple(255 - v for v in c)
            near = s > -0.125
        if near:
            c = tuple(l + (v - l) * 8 * abs(s) for l, v in zip(line, c))
        return value(c)
    return f


def angle(x, y):
    if x == 0:
        return 1.5707963268 if y > 0 else 4.7123889804
    a = math.atan(y / x)
    if x < 0:
        return a + PI
    return a + 2 * PI if a < 0 else a


def radial(A, B, C):
    h = hue_base(A)
    black = (0, 0, 0)
    keys = []
    for i in range(7):
        full = hsl(math.trunc(h + i * 360 / 7), 255, 128)
        keys.append(full if i == 1 else colour_lerp(black, full, B))
    keys.append(keys[0])
    return lambda x, y: value(gradient(keys, angle(x, y) / (2 * PI)))


# ---- Techno boxes -----------------------------------------------------------------

def to_i32(v):
    v &= 0xFFFFFFFF
    return v - (1 << 32) if v >= 1 << 31 else v


def techno(perm):
    def p(k):
        return perm[k & 1023]

    def cell_hash(i, j):
        return p((i >> 3) + p(j >> 3) + (j >> 12))

    def box(i, j, mode):
        while True:
            fx, fy = i & 7, j & 7
            if fx == 0 or fy == 0:
                return 0
            h = cell_hash(i, j)
            a, b, c, k = (h >> 3) % 5, (h >> 5) % 5 + 4, (h >> 4) % 6 + 1, h % 22
            if k in (9, 10):
                if mode != 1:
                    return 1
                i, j, mode = to_i32(2 * i), to_i32(2 * j), 2
                continue
            off = {
                0: (b < fy and fx == 2) or (a > fy and fx == 6) or fx > 6 or fx == 1,
                1: (fx > b and fy == 2) or (fx < a and fy == 6) or fy == 7 or fy == 1,
                2: fx > 4,
                3: fy > 4,
                4: fx < 3 or fy == a + 1,
                5: fy < 3 or fx == a + 1,
                6: fy < 3 or fy > 5 or fx < 3 or fx > 5,
                7: fy < 4,
                8: not (fy == 4 and fx in (2, 4, 6)),
                11: (b < fy and fx == 4) or (a > fy and fx == 3) or fx < 3 or fx > 4,
                12: (fx > b and fy == 4) or (fx < a and fy == 3) or fy < 3 or fy > 4,
                13: fx == c or fy == c,
            }.get(k, True)
            return 0 if off else 1

    def present(i, j):
        v = p((j >> 7) + p(i) + (i >> 9)) >> 6
        if v < 2 or v == 5:
            return 0
        if v == 4:
            return 1
        w = p((i >> 7) + p(j) + (j >> 9)) >> 6
        if w < 2 or w == 5:
            return 0
        if w == 4:
            return 1
        m = min(p(j + p(i + d) + ((i + d) >> 9) + e) for d in range(3) for e in range(3))
        return 1 if m >> 6 >= 2 else 0

    def smooth(t):
        return t * t * (3 - 2 * t)

    def lerp(a, b, t):
        return a + (b - a) * t

    def grid_blend(u, v, g):
        w = 1 - v
        row, t = (0, 2 * w) if w < 0.5 else (1, 2 * w - 1)
        col, r = (0, 2 * u) if u < 0.5 else (1, 2 * u - 1)
        sr = smooth(r)
        upper = lerp(g[3 * row + col], g[3 * row + col + 1], sr)
        lower = lerp(g[3 * row + 3 + col], g[3 * row + 4 + col], sr)
        return lerp(upper, lower, smooth(t))

    def whole(v):
        return math.trunc(v - 1) if v < 0 else math.trunc(v)

    def layer(X, Y, sB, w, cell):
        ix, iy = whole(X), whole(Y)
        g = [cell(math.trunc((2.0 * ix + k) * sB), math.trunc((2.0 * iy - r) * w))
             for r in range(3) for k in range(3)]
        return grid_blend(X - ix, Y - iy, g)

    def member(A, B, C):
        sB = B / 2 if B > 0.0625 else 0.03125
        sC = C / 2 if C > 0.0625 else 0.03125
        w = 1 - sB

        def f(x, y):
            X, Y = x / sC, y / sC
            l1 = layer(X, Y, sB, w, present)
            t1 = 1 - 2 * abs(l1 - 0.5)
            c1 = min(1.0, max(0.0, (l1 - 0.375) * 8))
            l2 = layer(X / 2 + 4 * sC, Y / 2 + 4 * sC, sB, w, lambda i, j: box(i, j, 1))
            q2 = (1 - 2 * abs(l2 - 0.5)) ** 2
            u = min(1.0, max(0.0, (l2 - 0.375) * 8))
            return (c1 * A, 8 * max(q2, t1 * t1 * (1 - u)), u * A)
        return f
    return member


def close(got, want):
    return abs(got - want) <= 1e-9 * (1 + abs(want))


def main():
    tool = sys.argv[1]
    perm = [int(v) for v in subprocess.run([tool, "--perm"], check=True, capture_output=True,
                                           text=True).stdout.split()]
    if len(perm) != 1024:
        print(f"--perm printed {len(perm)} numbers")
        return 1
    cases = [
        (18, concentric, [(0, 1, 1), (0.37, 0.6, 2.3), (-0.8, 0.2, 0.5), (0.1, 1.7, 0.9)]),
        (19, linear, [(0, 1, 1), (0.5, 0.3, 3.1), (-1, 0, 2), (0.25, 0.8, 0.6)]),
        (20, radial, [(0, 1, 0), (0.71, 0.45, 0), (-0.3, 0, 0)]),
        (30, techno(perm), [(4, 1, 2), (2.5, 0.7, 1.3), (1, 0.01, 0.05), (8, 1.7, 0.9)]),
    ]
    failures = checked = 0
    for member, oracle, params in cases:
        for A, B, C in params:
            rows = member_grid(tool, member, A, B, C, N)
            if rows is None:
                failures += 1
                continue
            f = oracle(float(A), float(B), float(C))
            distinct = set()
            for x, y, got in rows:
                want = f(x, y)
                distinct.add(tuple(want))
                checked += 1
                if len(got) != 3 or not all(close(g, w) for g, w in zip(got, want)):
                    failures += 1
                    if failures <= 20:
                        print(f"id {member} A={A} B={B} C={C} at ({x}, {y}): "
                              f"program {got!r}, oracle {want!r}")
            if len(distinct) < 8:
                print(f"id {member} A={A} B={B} C={C}: only {len(distinct)} colours on the grid")
                failures += 1
    print(f"{checked} points checked, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
