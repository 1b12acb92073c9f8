#!/usr/bin/env python3
"""Independent check of seven f23 members.

Re-implements, from their formulas alone, Shaded plain color, RGB color
gradient, 3D Axonometric, 3D sphere, 3D tube, 3D cube and Spherical, and
compares all three outputs (no-value markers included) with what the
program computes over a grid of the plane, printed by
`contact_sheet --family 7 --values ID A B C N` as "x y out1 out2 out3" lines.
The sheet's component has its view origin at (0, 0, 0) and its document an
eye height of 0, so the ray members see from e = -16. The parameter sets
give rays that hit and rays that miss, eyes inside and outside.

Usage: f23_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import sys

from f23_grid_values import member_grid  # beside this file

PI = math.pi
MARKER = 1e250
MISS = (MARKER, MARKER, MARKER)
FOUR_PI = 12.566370614359172
N = 23  # 23 x 23 samples of -pi..pi: short batches, negative values and 0
OX, OY, OZ, H = 0.0, 0.0, 0.0, 0.0
E = H - 16


def rgb_shade(A, B, C):
    def f(x, y):
        if x >= MARKER:
            return MISS
        if x >= 0:
            base = (A * x / 6, B * x / 6, C * x / 6)
        else:
            s = -x / 6
            base = ((8 - A) * s, (8 - B) * s, (8 - C) * s)
        return tuple(v + y / 6 for v in base)
    return f


def color_gradient(A, B, C):
    def f(x, y):
        if y >= MARKER:
            return MISS
        return tuple(x * math.cos(a) - y * math.sin(a) for a in (A, B, C))
    return f


def axono(A, B, C):
    def f(x, y):
        X, Y = A * x, B * y
        return (X, Y, (X - Y) / 2)
    return f


def sphereproj(A, B, C):
    def f(x, y):
        if A == 0:
            return (0.0, 0.0, 0.0)
        X, Y = x + B, y + C
        s = math.sqrt(A * A / (X * X + Y * Y + A * A))
        return (X * s, Y * s, A * s)
    return f


def hit_point(t, dx, dy):
    return (OX + t * dx, OY + t * dy, E + FOUR_PI * t)


def root_choice(t1, t2):
    if t1 > 0 and t2 > 0:
        return min(t1, t2)
    t = max(t1, t2)
    return t if t > 0 else None


def sphere(A, B, C):
    cx, cy, cz = OX - A, OY - B, OZ - 16 + C
    K = 4 * (cx * cx + cy * cy + cz * cz - 9.869604401089358)

    def f(x, y):
        dx, dy = x - OX, y - OY
        L = math.sqrt(dx * dx + dy * dy + 157.91367041742973)
        b = (cx * dx + cy * dy + FOUR_PI * cz) / L
        q = (2 * b) * (2 * b) - K
        if q <= 0:
            return MISS
        r = math.sqrt(q)
        t = root_choice(-2 * b - r, r - 2 * b)
        if t is None:
            return MISS
        return hit_point(t / (2 * L), dx, dy)
    return f


def tube(A, B, C):
    u, v = OX - A, OY - B
    K = u * u + v * v - C * C

    def f(x, y):
        dx, dy = x - OX, y - OY
        a = dx * dx + dy * dy
        if a == 0:
            return MISS
        b = 2 * (u * dx + v * dy)
        q = b * b - 4 * K * a
        if q < 0:
            return MISS
        t = root_choice((-b - math.sqrt(q)) / (2 * a), (math.sqrt(q) - b) / (2 * a))
        return MISS if t is None else hit_point(t, dx, dy)
    return f


def divide(a, b):
    if b == 0:
        if a == 0:
            return math.nan
        return math.copysign(math.inf, a) * math.copysign(1.0, b)
    return a / b


def cube(A, B, C):
    cA, sA, cB, sB = math.cos(A), math.sin(A), math.cos(B), math.sin(B)
    normals = [(-sA * sB, cA, sA * cB), (-cA * sB, -sA, cA * cB), (cB, 0.0, sB)]
    eye = (OX, OY, OZ - 16 + C)

    def dot(a, b):
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]

    def f(x, y):
        d = (x - OX, y - OY, FOUR_PI)
        tnear, tfar = -math.inf, math.inf
        for n in normals:
            ne, nd = dot(n, eye), dot(n, d)
            pair = (divide(PI - ne, nd), divide(-PI - ne, nd))
            if any(math.isnan(p) for p in pair):
                return MISS
            tnear, tfar = max(tnear, min(pair)), min(tfar, max(pair))
        if not (tfar > tnear and tfar >= 0):
            return MISS
        t = tnear if tnear > 0 else tfar
        return hit_point(t, d[0], d[1])
    return f


CASES = [
    (31, rgb_shade, [(1, 5, 7), (8, 0, 2.5)]),
    (3, color_gradient, [(0.5, -1, 2), (0, PI, -PI / 2)]),
    (9, axono, [(1.5, 0.5, -1), (-2, 0.25, -1)]),
    (11, sphere, [(0.5, -0.3, 6), (0, 0, 16), (2, 1, 0)]),
    (13, tube, [(0.5, -0.25, 1), (2, 1, 0.5), (0, 0, 0.125)]),
    (14, cube, [(0.4, 0.7, 4), (0, 0, 0), (1.1, -0.6, 14)]),
    (22, sphereproj, [(2, 0.3, -0.2), (0, 0.5, 0.5), (PI, 0, 0)]),
]


def close(got, want):
    if want >= MARKER or got >= MARKER:
        return got == want
    return abs(got - want) <= 1e-12 * (1 + abs(want))


def main():
    tool = sys.argv[1]
    failures = 0
    checked = 0
    misses = 0
    for member, oracle, params in CASES:
        for A, B, C in params:
            rows = member_grid(tool, member, A, B, C, N)
            if rows is None:
                failures += 1
                continue
            f = oracle(float(A), float(B), float(C))
            for x, y, got in rows:
                want = f(x, y)
                checked += 1
                misses += want == MISS
                if len(got) != 3 or not all(close(g, w) for g, w in zip(got, want)):
                    failures += 1
                    if failures <= 20:
                        print(f"id {member} A={A} B={B} C={C} at ({x}, {y}): "
                              f"program {got!r}, oracle {want!r}")
    print(f"{checked} points checked ({misses} misses), {failures} failures")
    if misses == 0:
        print("no ray missed: the parameter sets no longer test the misses")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
