#!/usr/bin/env python3
"""Independent check of the f21 members that need no noise tables.

Re-implements, from their formulas alone, the arithmetic members (Ax+By+C,
Distance*(x + y), Multiply, Distance, Difference, Min <-> Max, Interpolate,
Distance squared, Max(x,x*A+y)), the 25 modes of Math utils, and the waves and
lattices (Grid, Sin x * Sin y, x + A Sin y, Radial, Hexa sines, Hexa grid,
Circles, Dynamo, Ripples, Sin x + Sin y, Hexagons), and compares them with what
the program computes on a grid of the plane (printed by
`f21_contact_sheet --values`). The members built on the table sine are
compared with the library sine, within a tolerance that the table's linear
interpolation (8192 steps a turn) keeps to.

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


def ieee_div(a, b):
    """a / b as IEEE arithmetic gives it (python raises on a zero divisor)."""
    if b != 0:
        return a / b
    if a == 0 or math.isnan(a):
        return math.nan
    return math.copysign(math.inf, a) * math.copysign(1.0, b)


def multiply(A, B, C):
    return lambda x, y: (x + A) * (y + B)


def difference(A, B, C):
    return lambda x, y: abs(x - y) * A


def interpolate(A, B, C):
    return lambda x, y: x + (y - x) * A


def distance_squared(A, B, C):
    return lambda x, y: x * x + y * y


def smoothstep(t):
    return t * t * (3 - 2 * t)


def blend(lo_value, hi_value, t):
    """lo_value for t <= 0, hi_value for t >= 1, smoothstep between."""
    if t >= 1:
        return hi_value
    if t <= 0:
        return lo_value
    return lo_value + (hi_value - lo_value) * smoothstep(t)


def dist(x, y):
    return math.sqrt(x * x + y * y)


def angle_from_negative_y(x, y):
    a = math.atan(ieee_div(y, x))
    return a + PI + PI / 2 if x < 0 else a + PI / 2


MATH_MODES = [
    lambda x, y: x - y,
    lambda x, y: y - x,
    lambda x, y: x * y,
    lambda x, y: ieee_div(x, y),
    lambda x, y: ieee_div(y, x),
    lambda x, y: math.atan(ieee_div(y, x)),
    lambda x, y: math.atan(ieee_div(x, y)),
    angle_from_negative_y,
    dist,
    lambda x, y: ieee_div(1.0, dist(x, y)),
    lambda x, y: 0.5 / (dist(x, y) + 0.0625),
    lambda x, y: blend(y, x, x / 4),
    lambda x, y: blend(x, y, x / 4),
    lambda x, y: blend(x * y, x, x / 8),
    lambda x, y: blend(x, x * y, x / 8),
    lambda x, y: min(4 - abs(x), 4 - abs(y)),
    lambda x, y: min(4 - abs(x), 4 - abs(y), 1.0),
    lambda x, y: 0.0 if x <= 0 else x * max(y, 0.0),
    lambda x, y: min(x, y),
    lambda x, y: max(x, y),
    lambda x, y: max(x, y) + x,
    lambda x, y: max(x, y) - x,
    lambda x, y: max(x, y) - y,
    lambda x, y: min(x, y) + x,
    lambda x, y: min(x, y) + y,
]


def math_utils(A, B, C):
    return MATH_MODES[math.trunc(A)]


def sin_product(A, B, C):
    amp = (2 + A) / 4 + 1
    return lambda x, y: math.sin(x + B) * math.sin(y + C) * amp


def x_plus_sine(A, B, C):
    return lambda x, y: x + A * math.sin(B * y)


def plane_angle(x, y):
    """The angle of (x, y) in [0, 2 pi); a point on the y axis (the origin
    included) is taken at pi/2 above the x axis and 3 pi/2 elsewhere."""
    if x == 0:
        return PI / 2 if y > 0 else 3 * PI / 2
    a = math.atan(y / x)
    if x < 0:
        return a + PI
    return a + 2 * PI if a < 0 else a


def radial(A, B, C):
    def f(x, y):
        a = plane_angle(x, y)
        return A * a if a <= PI else A * (2 * PI - a)
    return f


HEX = 0.866025


def hexa_sines(A, B, C):
    def f(x, y):
        q = HEX * y + 0.5 * x
        p = 0.5 * y - HEX * x
        r = 0.5 * q + HEX * p
        p2 = (0.5 * p - HEX * q) * HEX
        return A * (math.sin(r) + math.sin(q) + math.sin(0.5 * r + p2))
    return f


def hexa_grid(A, B, C):
    def tri(d):
        if d > 0:
            t = d - 2 * math.trunc(d / 2)
        else:
            t = 2 - (-d - 2 * math.trunc(-d / 2))
        return 2 - t if t > 1 else t

    def f(x, y):
        u = A * x + C
        w = HEX * A * y
        return B * max(tri(0.5 * u + w), tri(-0.5 * u + w), tri(u))
    return f


def circles(A, B, C):
    p1, p2 = 1 / A, B * A

    def offset(u):
        return (u - math.trunc(u)) - 0.5 if u > 0 else 0.5 - (-u - math.trunc(-u))

    def f(x, y):
        du, dv = offset(p1 * x), offset(p1 * y)
        d = A * math.sqrt(du * du + dv * dv)
        return 0.0 if d >= p2 else (p2 - d) * C
    return f


def dynamo(A, B, C):
    k = 0.707
    c, s = math.cos(PI * A), math.sin(PI * A)
    p2, p3 = 2 * PI * B, 2 * PI * C

    def round_(x1, y1):
        a = 2 * x1 + p2
        b = 2 * y1 + p3
        return (c * a - s * b) * x1, -k * (c * b + s * a) * y1

    def f(x, y):
        p, q = round_(abs(x), abs(y))
        p, q = round_(abs(-k * p + q), abs(k * p + q))
        m = min(abs(-k * p + q), abs(k * p + q))
        return math.sqrt(m) if m > 1 else m
    return f


def ripples(A, B, C):
    p1, p2, p4 = 2 * A + 0.5, PI * B, 1 / C

    def tri(z):
        cell = math.trunc(z) if z >= 0 else math.trunc(z - 1)
        fr = z - cell
        return 2 * fr if fr <= 0.5 else 2 - 2 * fr

    def height(r):
        depth = C - r
        if not depth > 0:
            return 0.0
        w = math.sin(p1 * depth + p2)
        return depth * (w * w if w >= 0 else 0.0)

    def f(x, y):
        u, v = p4 * x, p4 * y
        h1 = height(math.hypot(C * tri(u), C * tri(v)))
        h2 = height(math.hypot(C * tri(u + 0.5), C * tri(v + 0.5)))
        m = h2 + 0.0625
        if h1 > m:
            return h1
        e = 4 * (m - h1)
        return h2 if e >= 0.5 else h1 + e * e / 4
    return f


def sin_sum(A, B, C):
    freq = abs(A)
    p1, p2 = (0.0125, 80.0) if freq < 0.0125 else (freq, 1 / freq)
    return lambda x, y: (math.sin(p1 * x + PI * B) + math.sin(p1 * y + PI * C)) * p2


EXACT = 1e-9
TABLE = 1e-5  # the table sine against the library sine

# (id, oracle, tolerance, list of (A, B, C))
CASES = [
    (0, affine, EXACT, [(1, 1, 0), (-2.5, 0.75, 3)]),
    (1, lobes, EXACT, [(0, 0, -1), (1.5, -2, -1), (-2, 1, -1)]),
    (2, multiply, EXACT, [(0, 0, -1), (1.25, -2.5, -1)]),
    (3, distance, EXACT, [(0, 0, 1), (0.5, -0.25, 7), (0, 0, -6.25), (1, 1, -16)]),
    (10, difference, EXACT, [(1, -1, -1), (1.75, -1, -1)]),
    (17, min_max, EXACT, [(1, 1, 0), (2, 0.5, 0), (0.7, 0.3, 2), (1.2, 0, 8), (1, 1, -3)]),
    (44, interpolate, EXACT, [(0.5, -1, -1), (0.2, -1, -1), (-1.5, -1, -1)]),
    (45, distance_squared, EXACT, [(-1, -1, -1)]),
    (58, add_max, EXACT, [(0.5, 0, 0.5), (0.25, 1, 0), (1, -2, 3), (0, 0, -1)]),
    (61, math_utils, EXACT, [(m + 0.5, -1, -1) for m in range(25)]),
    (4, grid, EXACT, [(4, 4, 4), (9, 2.5, 0.5), (16, 16, 8), (0, 3, 2)]),
    (5, sin_product, EXACT, [(0, 0, 0), (3.5, -1.25, 2)]),
    (6, x_plus_sine, TABLE, [(0.25, PI, -1), (1.5, -3.25, -1)]),
    (7, radial, EXACT, [(1, -1, -1), (7.5, -1, -1)]),
    (8, hexa_sines, TABLE, [(1, -1, -1), (3.5, -1, -1)]),
    (9, hexa_grid, EXACT, [(1, 3, 0), (2.5, 0.75, -7.5), (0.01, 6, 31)]),
    (13, circles, EXACT, [(PI / 2, 1, 2), (0.4, 1.4, 7), (5, 0.3, 0.25)]),
    (14, dynamo, EXACT, [(1, 0, 0), (0.35, -1.2, 0.8), (-1.75, 2, -2)]),
    (15, ripples, TABLE, [(1, 1, PI), (3.5, -7, 2.25), (0, 20, 12)]),
    (16, sin_sum, TABLE, [(1, 1, 1), (0, 0.5, -3), (-5.5, 2, 7)]),
    (35, hexagons, EXACT, [(2, 0, 2), (1, 3.5, 0.7), (8, -20, 0.01), (3, 0.25, -1)]),
]


def close(a, b, tolerance):
    if a == b or (math.isnan(a) and math.isnan(b)):
        return True
    return abs(a - b) <= tolerance * (1 + abs(b))


def main():
    tool = sys.argv[1]
    failures = 0
    checked = 0
    for member, oracle, tolerance, params in CASES:
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
                if not close(got, want, tolerance):
                    failures += 1
                    if failures <= 20:
                        print(f"id {member} A={A} B={B} C={C} at ({x}, {y}): "
                              f"program {got!r}, oracle {want!r}")
    print(f"{checked} values checked, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
