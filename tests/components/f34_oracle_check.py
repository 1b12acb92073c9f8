#!/usr/bin/env python3
"""Independent check of f34 members.

Re-implements, from their formulas alone, output 4 (w) of Polygon N,
Circle, Line, Neon Line, Gaussian Dot, R Maze and the 3D Color Star Field,
and compares it with what the program computes over a grid of the plane,
printed by `contact_sheet --family 11 --tables --values ID A B C N` after a
"# perm" line: "x y o1 o2 o3 o4" lines, or "x y z o1 o2 o3 o4" where the
feed prints z (z is 0 otherwise). The frequencies of R Maze and of the star
field put grid samples on negative whole lattice coordinates. The star
field's random vectors are rebuilt from the printed permutation.

Usage: f34_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "noise"))
from random_vectors import random_vectors  # noqa: E402

PI = math.pi
MARKER = 1e250
N = 24


def poly_n(A, B, C, tables):
    n = min(max(int(A) if -1e9 <= A <= 1e9 else (22 if A > 0 else 2), 2), 22)
    phi = 2 * PI / n
    cp, sp = math.cos(phi), math.sin(phi)
    k0 = 64.0 if B < 0.0625 else 4 / B

    def w(x, y, z):
        if x >= MARKER:
            return -2.0
        m = 0.0
        for _ in range(n):
            x, y = x * cp - y * sp, y * cp + x * sp
            m = max(m, y)
        d = (B - m) * k0
        return d if d >= -2 else -2.0
    return w


def circle(A, B, C, tables):
    g = A / max(1 / 16, B * B)

    def w(x, y, z):
        if x >= MARKER:
            return -2.0
        d = g * (B * B - x * x - y * y)
        return d if d >= 0 else max(d, -2.0)
    return w


def line(A, B, C, tables):
    b = max(B, 1e-7)

    def w(x, y, z):
        if x >= MARKER:
            return -2.0
        xr = x * math.cos(A) - y * math.sin(A)
        yr = x * math.sin(A) + y * math.cos(A)
        v, u = -xr / b, -yr / b
        d = 4 - 8 * b * max(abs(v) - 2, abs(u))
        return d if d >= 0 else max(d, -2.0)
    return w


def neon_line(A, B, C, tables):
    def w(x, y, z):
        if x >= MARKER:
            return 0.0
        v = x * math.cos(A) + y * math.sin(A)
        u = y * math.cos(A) - x * math.sin(A)
        e = 0.0 if -B <= v <= B else (v + B if v < -B else v - B)
        d2 = u * u + e * e
        if d2 >= 1:
            return 0.0
        r = 4 * math.sqrt(d2)
        q = r * r / 4 if r < 0.5 else (r - 0.25) / 4
        return 4 * (1 - q) ** 2
    return w


def gaussian(A, B, C, tables):
    def w(x, y, z):
        if x >= MARKER:
            return 0.0
        r2 = x * x + y * y
        if r2 >= B * B:
            return 0.0
        s = 1 - math.sqrt(r2) / B
        return s * s * (3 - 2 * s) * A
    return w


def r_maze(A, B, C, tables):
    perm = tables["perm"]
    c = 0.7071067811865475

    def w(x, y, z):
        if x >= MARKER:
            return MARKER
        X, Y = C * x, C * y
        ix, iy = math.floor(X), math.floor(Y)
        u, v = 2 * (X - ix) - 1, 2 * (Y - iy) - 1
        h = perm[(perm[ix % 1024] + iy + (ix >> 9)) % 1024]
        if h % 2 == 0:
            dist = min(abs((u - v) * c + c), abs((v - u) * c + c))
        else:
            dist = min(abs((u + v) * c - c), abs((u + v) * c + c))
        e = dist + (z / 4 - 0.5) - 0.5
        return min(max(4 * A * e, -2.0), 4.0)
    return w


def star_field(A, B, C, tables):
    perm = tables["perm"]
    V = random_vectors(perm)

    def w(x, y, z):
        if x >= MARKER:
            return MARKER
        X, Y, Z = C * x - B, C * y, C * z - B
        ix, iy, iz = math.floor(X), math.floor(Y), math.floor(Z)
        f = (X - ix, Y - iy, Z - iz)
        total = 0.0
        for a in (0, 1):
            for cc in (0, 1):
                i = ix + a
                k0 = (perm[(perm[i % 1024] + iz + cc + (i >> 9)) % 1024] + iy) % 1024
                for b in (0, 1):
                    k = k0 + b
                    if not V[k + 1][0] > 0:
                        continue
                    d2 = sum((f[n] - (a, b, cc)[n] + 0.5 * V[k][n]) ** 2 for n in range(3))
                    if not d2 < 0.25:
                        continue
                    q = V[k + 1][1]
                    r0 = 0.5 - 0.3 * abs(q)
                    t = (r0 - math.sqrt(d2)) / r0
                    if t > 0:
                        T = t * t
                        total += 0.4 * T + 0.8 * T ** 4
        return 4 * total
    return w


# (id, A, B, C, model). The star field and R Maze frequencies make C x land
# on (or within a rounding of) whole numbers, negative ones included.
CASES = [
    (0, 5, 2, 0.5, poly_n),
    (0, 2.9, 1, 0.5, poly_n),
    (0, 1e9, 2.5, 0.5, poly_n),
    (0, 7, 0.03, 0.5, poly_n),
    (1, 4, 2, 0.5, circle),
    (1, -3, 0.2, 0.5, circle),
    (2, PI / 2, 1, 0.5, line),
    (2, 0.4, 0, 0.5, line),
    (3, 0.3, 1, 0.5, neon_line),
    (39, 2, 4, 0.5, gaussian),
    (26, 1, 0.5, N / (2 * PI), r_maze),
    (26, 1.5, 0.5, N / PI, r_maze),
    (26, 0.7, 0.5, 2.7, r_maze),
    (32, 2, 0.5, N / (2 * PI), star_field),
    (32, 2, 0, 3.0, star_field),
]


def close(got, want):
    if want >= MARKER:
        return got == want
    return abs(got - want) <= 1e-9 * (1 + abs(want))


def main():
    tool = sys.argv[1]
    failures = 0
    for ident, A, B, C, model in CASES:
        out = subprocess.run([tool, "--family", "11", "--tables", "--values", str(ident), repr(A),
                              repr(B), repr(C), str(N)], check=True, capture_output=True,
                             text=True).stdout
        tables = {}
        rows = []
        for line_text in out.split("\n"):
            if line_text.startswith("# "):
                name, *values = line_text[2:].split()
                tables[name] = [int(v) for v in values]
            elif line_text:
                rows.append([float(t) for t in line_text.split()])
        if len(tables.get("perm", [])) != 1024 or len(rows) != N * N:
            print(f"id {ident}: {len(rows)} rows, perm {len(tables.get('perm', []))}")
            failures += 1
            continue
        f = model(A, B, C, tables)
        for v in rows:
            x, y = v[0], v[1]
            z = v[2] if len(v) == 7 else 0.0
            got, want = v[-1], f(x, y, z)
            if not close(got, want):
                failures += 1
                if failures < 20:
                    print(f"id {ident} A {A} B {B} C {C} at ({x}, {y}, {z}): w {got!r}, "
                          f"expected {want!r}")
    print("f34 oracle:", "ok" if failures == 0 else f"{failures} mismatches")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
