#!/usr/bin/env python3
"""Independent check of f25 members.

Re-implements, from their formulas alone, Disk Inversion, Soddy
Inversions, Inversion Ring (with its ring of touching circles), Moebius
Inversions and the Disk Fractal Lab at algorithms 8 and 20 (colour by
circle index), and compares the five outputs with what the program
computes over a grid of the plane, printed by
`contact_sheet --family 13 --values ID A B C N` as "x y o1 o2 o3 o4 o5"
lines. The contact sheet's document has black colours and an empty colour
table, and its octave count, the Lab's pass count, is 16.

The contact sheet keeps each member's circle block until it exits, so its
runs here do not look for leaks; the members' own blocks are checked by the
component tests.

Usage: f25_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import os
import subprocess
import sys

PI = math.pi
N = 24
PASSES = 16
SCALE = 0.03125


# ---- Circle geometry -----------------------------------------------------------

def circle_ring(n, phase, rho):
    """Ring of n touching circles orthogonal to the circle of radius rho:
    (circles, inner, mid, outer); circles as [cx, cy, r]."""
    if n <= 0:
        return [], 0.0, rho, 2 * rho
    if n >= 3:
        csc = 1 / math.sin(PI / n)
        c = csc
        a, b = 1 + math.cos(2 * PI / n), math.sin(2 * PI / n)
        g = 0.5 * csc * math.sqrt(a * a + b * b)
        step = 2 * PI / n
    else:
        c, g, step = 1.0, 1.0, PI
    f = rho / g
    circles = []
    for k in range(n):
        ang = (k + phase) * step
        circles.append([c * math.cos(ang) * f, c * math.sin(ang) * f, f])
    return circles, c * f - f, c * f, c * f + f


def squared(circles):
    return [[cx, cy, r * r if r >= 0 else -r * r] for cx, cy, r in circles]


def invert_generic(circles, x, y, passes):
    """Reflections and inversions in every circle, passes + 1 times; the
    colour by the index of each circle that acts."""
    adds = [(16, 0, 0), (0, 16, 0), (0, 0, 16), (6, 6, 6), (0, 8, 8), (8, 8, 0)]
    X, Y = x, y
    col = [0.0, 0.0, 0.0]
    for _ in range(passes + 1):
        for j, (cx, cy, s) in enumerate(circles):
            dx, dy = X - cx, Y - cy
            d2 = dx * dx + dy * dy
            if (s > 0 and s > d2) or (s < 0 and d2 > -s):
                f = abs(s) / d2
                X, Y = cx + dx * f, cy + dy * f
                for k in range(3):
                    col[k] += adds[j % 6][k]
    return (X, Y, col[0] * SCALE, col[1] * SCALE, col[2] * SCALE)


# ---- Members -----------------------------------------------------------------------

def disk_inversion(A, B, C):
    k0 = 1 / A

    def f(x, y):
        px, py = k0 * (x + B), k0 * (y + C)
        d = px * px + py * py
        R = 0.0
        if d < 1:
            px, py = px * A / d, py * A / d
            R = 8.0
        e = d - 1
        if -1 < e < 1:
            w = (1 - math.sqrt(abs(e))) ** 4
            R = R + (0 - R) * w   # black background
        return (px - B, py - C, R, 0.0, 0.0)
    return f


def soddy(A, B, C):
    k0 = 1 / A

    def f(x, y):
        X, Y = (x + B) * k0, (y + C) * k0
        if Y > 1:
            Y, col = 2 - Y, (0.0, 0.0, 0.0)   # second colour, black here
        elif Y < -1:
            Y, col = -2 - Y, (0.0, 0.0, 0.0)  # background, black here
        elif (X - 1) ** 2 + Y * Y < 1:
            e = (X - 1) ** 2 + Y * Y
            X, Y, col = (X - 1) / e + 1, Y / e, (8.0, 0.0, 0.0)
        else:
            X1 = X + 1
            e = X1 * X1 + Y * Y
            G = 0.0
            if e < 1:
                X1, Y, G = X1 / e, Y / e, 8.0
            X, col = X1 - 1, (0.0, G, 0.0)
        return (X * A - B, Y * A - C) + col
    return f


def inversion_ring(A, B, C):
    n = min(int(B), 16)
    k0 = 1 / A
    phase = 0 if n == 2 else (-0.25 if n == 3 else -0.5)
    ring, inner, _, outer = circle_ring(n, phase, 1)
    k1 = ring[0][2] ** 2 if ring else 0.0
    k2, k3 = inner * inner, outer * outer
    period = 5 if n in (5, 10) else (3 if n in (3, 6, 9, 12) else 4)
    colours = [(8, 0, 0), (0, 8, 0), (0, 0, 8), (4, 4, 4), (8, 0, 8)]

    def f(x, y):
        X, Y = x * k0, (y + C) * k0
        d = X * X + Y * Y
        col = (0, 0, 0)
        if k2 <= d <= k3 and n > 0:
            for j, (cx, cy, _) in enumerate(ring):
                dx, dy = X - cx, Y - cy
                d2 = dx * dx + dy * dy
                if d2 < k1:
                    X, Y = cx + dx * k1 / d2, cy + dy * k1 / d2
                    col = colours[j % period]
                    break
        return (X * A, Y * A - C) + tuple(float(c) for c in col)
    return f


def cmul(a, b):
    return (a[0] * b[0] - a[1] * b[1], a[0] * b[1] + a[1] * b[0])


def cdiv(a, b):
    if b[0] == 0 and b[1] == 0:
        return (0.0, 0.0)
    d = b[0] * b[0] + b[1] * b[1]
    return ((a[0] * b[0] + a[1] * b[1]) / d, (a[1] * b[0] - a[0] * b[1]) / d)


def moebius_inversions(A, B, C):
    e = (math.cos(PI / 8), -math.sin(PI / 8))
    w = (A, B)
    z0 = (2 * e[0], 2 * e[1])
    zw = cmul(z0, w)
    q = cmul((1 + zw[0], zw[1]), (e[0], -e[1]))
    n = int(C)

    def f(x, y):
        if n < 0:
            return (x, y, 0.0, 0.0, 0.0)
        z = (x, y)
        m = S = T = 0.0
        for k in range(n + 1):
            qz, wz = cmul(q, z), cmul(w, z)
            z = cdiv((qz[0] + z0[0], qz[1] + z0[1]), (wz[0] + e[0], wz[1] + e[1]))
            d = z[0] * z[0] + z[1] * z[1]
            r = 0.0 if n == 0 else k / n
            if d < 1:
                z = (z[0] / d, z[1] / d)
                m = max(m, d * d * (1 - r))
                S += 1 - d
                T += 0.045 * k * (1 - d)
            elif 2 - d > 0:
                m = max(m, (2 - d) ** 2 * (1 - r))
        return (z[0], z[1], T, 4 * m, S)
    return f


def half_step_ring(n, radius, r):
    out = []
    for k in range(n):
        ang = (k + 0.5) * 2 * PI / n
        out.append([radius * math.cos(ang), radius * math.sin(ang), r])
    return out


def lab_algorithm_8(A, B, C):
    """A ring of unit circles inside an orthogonal ring of radius 2 + P."""
    n, p = int(B), C
    ring, _, _, _ = circle_ring(n, 0, 2 + p)
    circles = squared(half_step_ring(n, 1 + p, 1) + ring)
    return lambda x, y: invert_generic(circles, x, y, PASSES)


def lab_algorithm_20(A, B, C):
    """Circles touching the circle of radius 2 from inside, a ring
    orthogonal to it and the ring's inner circle."""
    n, p = int(B), C
    ring, inner, _, _ = circle_ring(n, 0, 2)
    rho = 0.5 * (p / 2 + 2 - inner)
    circles = squared(half_step_ring(n, 2 - rho, rho) + ring + [[0.0, 0.0, inner]])
    return lambda x, y: invert_generic(circles, x, y, PASSES)


CASES = [
    (9, 1.0, 0.0, 0.0, disk_inversion),
    (9, 1.3, 0.2, -0.4, disk_inversion),
    (15, 1.0, 0.0, 0.0, soddy),
    (15, 1.2, 0.3, 0.1, soddy),
    (13, 2.0, 4.0, 0.0, inversion_ring),
    (13, 1.5, 5.0, 0.3, inversion_ring),
    (13, 3.0, 6.0, -0.2, inversion_ring),
    (13, 1.0, 2.0, 0.1, inversion_ring),
    (2, -0.021, -0.0285, 32.0, moebius_inversions),
    (2, 0.1, -0.2, 5.0, moebius_inversions),
    (2, 0.1, -0.2, 0.0, moebius_inversions),
    (1, 8.0, 5.0, 0.3, lab_algorithm_8),
    (1, 20.0, 6.0, 0.25, lab_algorithm_20),
]


def close(a, b):
    return abs(a - b) <= 1e-9 * (1 + abs(b))


def main():
    tool = sys.argv[1]
    env = dict(os.environ)
    env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
    failures = 0
    for ident, A, B, C, model in CASES:
        out = subprocess.run([tool, "--family", "13", "--values", str(ident), repr(A), repr(B),
                              repr(C), str(N)], check=True, capture_output=True, text=True,
                             env=env).stdout
        f = model(A, B, C)
        lines = out.split("\n")[:-1]
        if len(lines) != N * N:
            print(f"id {ident}: {len(lines)} lines")
            failures += 1
            continue
        bad = 0
        first = None
        for row in lines:
            v = [float(t) for t in row.split()]
            x, y, got = v[0], v[1], v[2:]
            want = f(x, y)
            if not all(close(g, w) for g, w in zip(got, want)):
                bad += 1
                first = first or (x, y, got, want)
        if bad:
            print(f"id {ident} A {A} B {B} C {C}: {bad} samples differ, first {first}")
            failures += 1
        else:
            print(f"id {ident} A {A} B {B} C {C}: {N * N - bad} of {N * N} samples agree")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
