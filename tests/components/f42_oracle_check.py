#!/usr/bin/env python3
"""Independent check of f41 and f42 members.

Re-implements, from their formulas alone, f41 Ax+By+Cz+w, Multiply,
Determinant and Bezier Curve, and f42 Z*C, Z/C, N*Z+C, Z^2 + C with its outer
slope, Moebius, Z^n + C (n = 2, -2, 0.5), Blended Max, Split 4 and Escher
disks with the three-fold mirror fold, and compares them with what the
program computes over a grid of the plane, printed by
`contact_sheet --family CODE --values ID A B C N` as "x y out..." lines. The
sheet feeds x and y to the first two inputs and 0 to the others, so C = 0
for the f42 maps.

Usage: f42_oracle_check.py CONTACT_SHEET_TOOL
"""
import cmath
import math
import subprocess
import sys

PI = math.pi
MARKER = 1e250
N = 23  # 23 x 23 samples of -pi..pi: short batches, negative values and 0


def computed(x, z):
    return -MARKER < x < MARKER and z < MARKER


# ---- f41 (inputs x, y, z = 0, w = 0) ----

def mix(A, B, C):
    return lambda x, y, z, w: (MARKER if x >= MARKER or w >= MARKER
                               else w + (A * x + B * y + C * z),)


def multiply(A, B, C):
    return lambda x, y, z, w: (MARKER if x >= MARKER or w >= MARKER
                               else w * (x * y * z) * A + B,)


def determinant(A, B, C):
    return lambda x, y, z, w: (MARKER if x >= MARKER or w >= MARKER
                               else (x * y - w * z) * A + B,)


def bezier(A, B, C):
    def f(x, y, z, w):
        p0, p1, p2, p3 = x, x + B * (y - x), z + B * (y - z), z
        c1 = 3 * (p1 - p0)
        c2 = 3 * (p2 - p1) - c1
        c3 = p3 - p0 - c1 - c2
        return (A * (p0 + w * (c1 + w * (c2 + w * c3))),)
    return f


# ---- f42 (Z = x + iy, C = z + iw) ----

def frame(f):
    def g(x, y, z, w):
        if not computed(x, z):
            return (MARKER, MARKER)
        r = f(complex(x, y), complex(z, w))
        return (r.real, r.imag) if isinstance(r, complex) else r
    return g


def cmul(A, B, C):
    return frame(lambda Z, Cc: complex(Z.real * Cc.real - Z.imag * Cc.imag,
                                       Z.imag * Cc.real + Z.real * Cc.imag))


def cdiv(A, B, C):
    def f(Z, Cc):
        m = Cc.real ** 2 + Cc.imag ** 2
        if m == 0:
            return complex(0, 0)
        return Z * complex(Cc.real / m, -Cc.imag / m)
    return frame(f)


def nz_plus_c(A, B, C):
    return frame(lambda Z, Cc: (A * Z.real - B * Z.imag + Cc.real,
                                A * Z.imag + B * Z.real + Cc.imag))


def square_map(A, B, C):
    n = max(0, min(128, int(A)))

    def sq(z, c):
        return complex(z.real * z.real - z.imag * z.imag + c.real,
                       2 * z.real * z.imag + c.imag)

    def f(Z, Cc):
        if Z.real ** 2 + Z.imag ** 2 >= MARKER:
            return (MARKER, MARKER)
        z = sq(Z, Cc)
        if n <= 0:
            return z
        z = sq(z, Cc)
        k, d = 2, 4.0
        while abs(z.real) ** 2 + z.imag ** 2 <= 64:
            if k > n:
                return z
            z = sq(z, Cc)
            k += 1
            d *= 2
        v = (math.log(z.real ** 2 + z.imag ** 2) / d) ** B
        if B < 0:
            v = 32 * math.log(1 + v / 32)
        return (Z.real * v, Z.imag * v)
    return frame(f)


def moebius(A, B, C):
    a, b = B * math.cos(A), B * math.sin(A)

    def f(Z, Cc):
        u, v = Z.real - 1.0, Z.imag + C - 1
        d = complex(1 - (a * u + b * v), -(a * v - b * u))
        inv = 0j if d == 0 else complex(d.real / abs(d) ** 2, -d.imag / abs(d) ** 2)
        m = complex(u - a, v - b) * inv
        return (m.real + Cc.real, m.imag + Cc.imag)
    return frame(f)


def power(A, B, C):
    def f(Z, Cc):
        if abs(A) in (1, 2, 3, 4, 5):
            p = Z ** int(abs(A))
            if A < 0:
                m = p.real ** 2 + p.imag ** 2
                if m == 0:
                    return (MARKER, MARKER)
                p = complex(p.real / m, -p.imag / m)
        else:
            r, t = abs(Z), math.atan2(Z.imag, Z.real)
            p = cmath.rect(r ** A, A * t) if r > 0 or A > 0 else complex(1, 0)
        return (p.real + Cc.real, p.imag + Cc.imag)
    return frame(f)


def smooth(s):
    return 0 if s <= 0 else (1 if s >= 1 else (3 - 2 * s) * s * s)


def blended_max(A, B, C):
    def one(a, b):
        return b + (a - b) * smooth((a - b + PI) / (2 * PI))
    return frame(lambda Z, Cc: (one(A * Z.real, (1 - A) * Cc.real),
                                one(A * Z.imag, (1 - A) * Cc.imag)))


def split4(A, B, C):
    def f(Z, Cc):
        best = (Cc.real, Cc.imag)
        for p in ((Z.real - A, Z.imag - B), (Z.real + A, Z.imag - B),
                  (Z.real - A, Z.imag + B), (Z.real + A, Z.imag + B)):
            if best[0] ** 2 + best[1] ** 2 > p[0] ** 2 + p[1] ** 2:
                best = p
        return best
    return frame(f)


def mirrors3(p, q):
    s3 = 0.577350538379377
    if p * s3 > q and -p * s3 > q:
        return abs(p), q
    f = 0.5 * abs(p) - 0.866025 * q
    g = -0.5 * q - 0.866025 * abs(p)
    return abs(f), g


def cellfloor(p):
    return math.trunc(p) if p >= 0 else math.trunc(p - 1)


def escher(A, B, R):
    def f(Z, Cc):
        u = Z.real / (2 * PI) / (R * R) + 0.5
        v = Z.imag / (2 * PI) / (R * R) + 0.5
        X = (2 * (u - cellfloor(u)) - 1) * R
        Y = (2 * (v - cellfloor(v)) - 1) * R
        cx, cy = Cc.real / 16, Cc.imag / 16
        best1 = best2 = 32.0
        out = [MARKER, MARKER]
        for _ in range(9):
            p, q = X * X - Y * Y + cx, 2 * X * Y + cy
            if p * p + q * q > R ** 4:
                break
            fx, g = mirrors3(p + A, q + B)
            fx = abs(fx)
            if fx < best1:
                best1 = out[0] = fx
            if g < best2:
                best2 = out[1] = g
            X, Y = p / R, q / R
        return tuple(out)
    return frame(f)


CASES = [
    (15, 1, "Ax+By+Cz+w", mix, (1.5, -2.25, 3)),
    (15, 5, "Multiply", multiply, (1.5, 0.75, -1)),
    (15, 8, "Determinant", determinant, (1.25, -0.5, -1)),
    (15, 7, "Bezier Curve", bezier, (1.5, 0.3, -1)),
    (6, 1, "Z*C", cmul, (-1, -1, -1)),
    (6, 2, "Z/C", cdiv, (-1, -1, -1)),
    (6, 26, "N*Z+C", nz_plus_c, (1.25, -0.75, -1)),
    (6, 17, "Z^2 + C slope 1.5", square_map, (12, 1.5, -1)),
    (6, 17, "Z^2 + C slope -0.5", square_map, (40, -0.5, -1)),
    (6, 28, "Moebius", moebius, (0.7, 0.6, 0.25)),
    (6, 29, "Z^2", power, (2, -1, -1)),
    (6, 29, "Z^-2", power, (-2, -1, -1)),
    (6, 29, "Z^0.5", power, (0.5, -1, -1)),
    (6, 3, "Blended Max", blended_max, (0.3, -1, -1)),
    (6, 25, "Split 4", split4, (0.5, 0.25, -1)),
    (6, 20, "Escher disks", escher, (0.25, 0.1, 1.25)),
]


def close(a, b):
    if a >= MARKER or b >= MARKER:
        return a == b
    return abs(a - b) <= 1e-9 * (1 + abs(b))


def main():
    tool = sys.argv[1]
    failures = 0
    checked = 0
    for family, mid, name, make, (A, B, C) in CASES:
        out = subprocess.run([tool, "--family", str(family), "--values", str(mid),
                              repr(A), repr(B), repr(C), str(N)],
                             check=True, capture_output=True, text=True).stdout
        f = make(A, B, C)
        lines = out.split("\n")
        rows = [list(map(float, line.split())) for line in lines if line.strip()]
        if len(rows) != N * N:
            print(f"{name}: {len(rows)} lines, expected {N * N}")
            failures += 1
            continue
        for row in rows:
            x, y, got = row[0], row[1], row[2:]
            want = f(x, y, 0.0, 0.0)
            checked += 1
            if not all(close(g, w) for g, w in zip(got, want)):
                failures += 1
                if failures < 10:
                    print(f"{name} at ({x}, {y}): program {got}, python {list(want)}")
    print(f"f41/f42 oracle: {checked} samples of {len(CASES)} cases, {failures} mismatches")
    print(f"{checked - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
