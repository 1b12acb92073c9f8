#!/usr/bin/env python3
"""Independent check of twelve f32 members.

Re-implements, from their formulas alone, z Scale & Offset, Complex
inversion, Perspective Sym, Perspective Clipped, Parallel projection,
Spherical projection, z wipe, Gated Distance, z Rotate & Scale, z Divide,
z Twirl (with the table sine) and Spherical disk Tile, and compares them with
`contact_sheet --family 5 --values ID A B C N`, which feeds x and y over
-pi..pi and z = (y + pi) / (2 pi) and prints "x y z x' y'" lines.

Usage: f32_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

FAMILY = 5
N = 23
INF = 1e250
STEPS = 1303.7972938088067  # 8192 table steps per turn
SIN_TABLE = [math.sin(i / STEPS) for i in range(4096)]


def tsin(x):
    """The table sine: half a turn of 4096 sines, the other half negated,
    linear interpolation between neighbours, odd in x."""
    if x < 0:
        return -tsin(-x)
    t = x * STEPS
    n = int(t)
    f = t - n

    def s(k):
        return SIN_TABLE[k] if k < 4096 else -SIN_TABLE[k - 4096]
    k = n & 8191
    a, b = s(k), s((k + 1) & 8191)
    return a + (b - a) * f


def tcos(x):
    return tsin(x + 1.5707963267948966)


# Each member is made from A, B, C and maps (x, y, z) to (x', y').

def z_scale_offset(A, B, C):
    if C < 0.0625:
        C = 1.0
    C = min(C, 4.0)

    def f(z):
        if C == 1:
            return 1.0
        return C ** z if C > 1 else 1 / ((1 / C) ** z)
    return lambda x, y, z: (x * f(z) + A * z, y * f(z) + B * z)


def complex_inversion(A, B, C):
    k0, k1 = (2.001 + A) / 4, (2.125 + B) / 2

    def g(x, y, z):
        d = (x * x + y * y + k1 * z * z) * k0
        w = 0.0 if d == 0 else 1 / d
        return (x * w, -y * w)
    return g


def perspective_sym(A, B, C):
    k0, k1, k2 = -8 * (2 + A), 14 * (2 + A) + 14, 3.5

    def g(x, y, z):
        d = k0 * z + k1
        if d < k2:
            d = 2 * k2 - d
        f = 14 / d
        return (x * f, y * f)
    return g


def perspective_clipped(A, B, C):
    def g(x, y, z):
        d = 1 - A + A * z
        f = 200.0 if d < 0.01 else 2 / d
        return (x * f, y * f)
    return g


def parallel_projection(A, B, C):
    k0, k1, k2, k3 = math.cos(A), math.sin(A), math.sin(B), math.cos(B)
    return lambda x, y, z: (x * k3 - z * k2, k1 * k2 * x + k0 * y - k1 * k3 * z)


def spherical_projection(A, B, C):
    k0 = 2 * A * B

    def g(x, y, z):
        r = math.sqrt(x * x + y * y + z * z)
        if r == 0:
            return (0.0, 0.0)
        if x == 0:
            lam = 0.0
        elif x > 0:
            lam = math.atan(z / x) + math.pi / 2
        else:
            lam = math.pi / 2 - (math.atan(-z / x) + math.pi)
        return (A * lam, k0 * math.asin(y / r))
    return g


def z_wipe(A, B, C):
    k0, k1, k2 = 0.75 * (A - 2), abs(B), 0.25 if B > 0 else 3.0

    def g(x, y, z):
        xs, ys, u = x / C, y / C, k0 + z
        if u < 0:
            return (INF, INF)
        if u < k1:
            f = u / k1
            m = (k2 - 1) * k1 + 1
            w = (1 - m) * f + m
            return (xs * w + (xs - xs * w) * f, ys * w + (ys - ys * w) * f)
        return (xs, ys)
    return g


def gated_distance(A, B, C):
    def g(x, y, z):
        d = math.sqrt(x * x + y * y)
        return (d * B, 0.0) if d < A else (0.0, z * C)
    return g


def z_rotate_scale(A, B, C):
    k0 = 0.6931471805599453 * B

    def g(x, y, z):
        e, t = math.exp(k0 * z), A * z
        return (e * (x * math.cos(t) - y * math.sin(t)) + C,
                e * (y * math.cos(t) + x * math.sin(t)))
    return g


def z_divide(A, B, C):
    return lambda x, y, z: (INF, INF) if z == 0 else (x / z, y / z)


def z_twirl(A, B, C):
    k0 = 2 * math.pi * A

    def g(x, y, z):
        u, v = x + B, y + C
        r = math.sqrt(u * u + v * v)
        if r == 0:
            return (x, y)  # the centre stays where it is
        t = k0 * z / r
        return (u * tcos(t) - v * tsin(t) - B, v * tcos(t) + u * tsin(t) - C)
    return g


def disk_tile(A, B, C):
    k0, k1 = math.cos(1.2566370614359172), math.sin(1.2566370614359172)
    k2, k3 = math.cos(0.4635326674422417), math.sin(0.4635326674422417)
    k4, k5 = math.cos(0.6283185307179586), math.sin(0.6283185307179586)
    k6, k7, k8, k9 = math.cos(B), math.sin(B), math.cos(C), math.sin(C)
    k10 = 0.27646015351590175 * A
    k11 = math.pi / math.sqrt(k10)

    def turn(P, S, c, s):
        return c * P - s * S, c * S + s * P

    def g(x, y, z):
        p = x * k6 - z * k7
        w = z * k6 + x * k7
        q = y * k8 - w * k9
        s = w * k8 + y * k9
        L = math.sqrt(p * p + q * q + s * s)
        gain = 0.0 if L == 0 else 1 / L
        P, Q, S = p * gain, q * gain, s * gain
        if P * P + S * S < k10:
            return (k11 * P, k11 * S)
        a, b = Q * k2, Q * k3
        for _ in range(5):
            P, S = turn(P, S, k0, k1)
            u = S * k3 + a
            if S * k2 - b < 0 and P * P + u * u < k10:
                return (k11 * P, k11 * u)
        P, S = turn(P, S, k4, k5)
        for _ in range(5):
            P, S = turn(P, S, k0, k1)
            u = a - k3 * S
            if S * k2 + b < 0 and P * P + u * u < k10:
                return (k11 * P, k11 * u)
        return (0.0, 0.0)
    return g


CASES = [
    # id, name, make, (A, B, C)
    (0, "z Scale & Offset", z_scale_offset, [(1.5, -2, 0.5), (0.3, 0.7, 3), (2, 1, 0.03)]),
    (7, "Complex inversion", complex_inversion, [(1, 1, -1), (-0.5, 1.5, -1)]),
    (8, "Perspective Sym", perspective_sym, [(1, -1, -1), (-1.5, -1, -1)]),
    (12, "Perspective Clipped", perspective_clipped, [(-0.25, -1, -1), (1.5, -1, -1)]),
    (13, "Parallel projection", parallel_projection, [(0.7, -1.2, -1)]),
    (14, "Spherical projection", spherical_projection, [(1, 0.5, -1), (2.5, 0.8, -1)]),
    (20, "z wipe", z_wipe, [(1, 0.5, 1), (2.5, -0.8, 2)]),
    (25, "Gated Distance", gated_distance, [(2, 1.5, -1), (8, 1, 1)]),
    (26, "z Rotate & Scale", z_rotate_scale, [(1.2, 0.7, 0.5)]),
    (35, "z Divide", z_divide, [(-1, -1, -1)]),
    (37, "z Twirl", z_twirl, [(0.5, 0, 0), (0.8, 1.3, -0.4)]),
    (38, "Spherical disk Tile", disk_tile, [(1, 0, 0), (1.5, 0.7, -0.4)]),
]


def main():
    tool = sys.argv[1]
    failures = checked = 0
    for mid, name, make, params in CASES:
        for A, B, C in params:
            out = subprocess.run([tool, "--family", str(FAMILY), "--values", str(mid), repr(A),
                                  repr(B), repr(C), str(N)],
                                 check=True, capture_output=True, text=True).stdout
            rows = [[float(v) for v in line.split()] for line in out.split("\n") if line.strip()]
            if len(rows) != N * N or any(len(r) != 5 for r in rows):
                print(f"{name}: expected {N * N} lines of x y z x' y'")
                failures += 1
                continue
            f = make(A, B, C)
            bad = 0
            for x, y, z, *got in rows:
                checked += 1
                if abs(z - (y + math.pi) / (2 * math.pi)) > 1e-15:
                    print(f"{name}: z {z} at y {y} is not (y + pi) / (2 pi)")
                    bad += 1
                    break
                want = f(x, y, z)
                for k in range(2):
                    if abs(got[k] - want[k]) > 1e-12 * (1 + abs(want[k])):
                        if bad < 3:
                            print(f"{name} {A} {B} {C} at ({x}, {y}, {z}) output {k + 1}: "
                                  f"program {got[k]}, formula {want[k]}")
                        bad += 1
            if bad:
                failures += 1
    print(f"f32 oracle: {checked} samples,", "ok" if failures == 0 else f"{failures} cases differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
