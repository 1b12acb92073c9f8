#!/usr/bin/env python3
"""Independent check of f25 and f31 members built from their formulas.

Re-implements Outer Mirror N, Polar Space and Escher Disk Tile (f25), and
Min <-> Max, z Blend, Displace by alt (z), Blend by alt (z), and the escape
counts of Julia sets and Mandelbrot set (f31), and compares them with what
the program computes over a grid of the plane, printed by
`contact_sheet --family 13|4 --tables --values ID A B C N` ("# name ..."
lines, then "x y out..." lines). The sheet's document has black colours,
an empty colour table and 16 octaves; the f31 sheet feeds z = 0. Julia is
compared where the oracle's iterate escapes (the inside shading uses the
table sine).

Usage: f25_symmetry_check.py CONTACT_SHEET_TOOL
"""
import math
import os
import subprocess
import sys

PI = math.pi
N = 24
GINF = 1e250


# ---- f25 -------------------------------------------------------------------

def outer_mirror(A, B, C):
    m = min(int(C), 12)
    dirs = [(math.cos(i * 2 * PI / C + A), math.sin(i * 2 * PI / C + A)) for i in range(m)]

    def f(x, y):
        if m == 1:
            c, s = dirs[0]
            p, q = x * c - y * s + B, y * c + x * s
            if p < 0:
                pr = -p - B
                return [c * pr + s * q, c * q - s * pr, 0, 0, 0.5]
            return [x, y, 0, 0, 0]
        r = b = 0
        for c, s in dirs:
            p, q = x * c - y * s, y * c + x * s
            if p < -B:
                pr = -(p + 2 * B)
                b += 16
            elif p > B:
                pr = 2 * B - p
                r += 16
            else:
                continue
            x, y = c * pr + s * q, c * q - s * pr
        return [x, y, r / 32, 0, b / 32]
    return f


def polar_space(A, B, C):
    k0 = 0.6366197723675814 if A < 2 else A / PI

    def f(x, y):
        t = math.atan(y / x) + (PI / 2 if x >= 0 else 3 * PI / 2)
        return [(t - PI) * k0 + B, math.log(math.sqrt(x * x + y * y)) * k0 + C, 0, 0, 0]
    return f


def escher(A, B, C, passes=16):
    n = min(int(max(A, 3)), 6)
    th = 2 * PI / n
    c, s = math.cos(th / 2), math.sin(th / 2)
    d = s * s / c + c
    e = math.sqrt(d * d - 1)
    fac = {3: 0.5326, 4: 0.3739, 5: 0.5909, 6: 0.4148}[n]
    r = (d - e) * fac + e
    r2 = r * r
    ring = [(d * math.cos(i * th + PI / 2), -d * math.sin(i * th + PI / 2)) for i in range(n)]
    x0 = -r2 / d
    for _ in range(10):
        x0 = r2 / (-(x0 + d) - d)
    rm = x0 + d
    k0, k1 = rm * rm, rm / PI

    def f(x, y):
        X, Y = k1 * x, k1 * y
        if not X * X + Y * Y < k0:
            return [GINF, GINF, 0, 0, 0]
        count = 0
        for _ in range(passes):
            for cx, cy in ring:
                dx, dy = X - cx, Y - cy
                q = dx * dx + dy * dy
                if 0 < q < r2:
                    X, Y = cx + r2 / q * dx, cy + r2 / q * dy
                    count += 1
                    break
        phi = C if count % 2 else B
        rg = 8 if count % 2 else 0
        return [8 * (X * math.cos(phi) - Y * math.sin(phi)),
                8 * (X * math.sin(phi) + Y * math.cos(phi)), rg, rg, 4 * (count & 3)]
    return f


# ---- f31 (z = 0) -------------------------------------------------------------

def smax(a, b, c):
    c = max(c, 0)
    if a > b + c / 4:
        return a
    if c <= 0:
        return b
    t = (b + c / 4 - a) / c
    return a + c * t * t if t < 0.5 else b


def minmax(A, B, C):
    def f(x, y):
        z = 0.0
        lo, hi = min(x, y, z), smax(smax(x, y, C), z, C)
        return [A * (lo + (hi - lo) * B)]
    return f


def zblend(A, B, C):
    def f(x, y):
        z = 0.0
        w = min(max(2 * A * z if 2 * A < 1 else (2 * A - 1) * (1 - z) + z, 0), 1)
        return [x + (y - x) * w]
    return f


def sstep(v):
    return v * v * (3 - 2 * v)


def displace_alt(A, B, C):
    def f(x, y):
        z, k = 0.0, 1 / C
        v = abs((z - A) * k) - 1
        o = z
        if v < 1:
            o = max(z, z + x * (1 if v < 0 else 1 - sstep(v)))
        b = (z - B) * k
        if b > 0:
            o += y * sstep(b) if b < 1 else y
        return [o]
    return f


def blend_alt(A, B, C):
    def f(x, y):
        z, k = 0.0, 1 / C
        v = 2 * abs((z - A) * k) - 1
        o = z
        if v < 1:
            o = x + (z - x) * (0 if v < 0 else sstep(v))
        b = (z - B) * k
        if b > 0:
            o = o + sstep(b) * (y - o) if b < 1 else y
        return [o]
    return f


def escape(w, c, limit):
    count = 0
    while w[0] ** 2 + w[1] ** 2 <= 4:
        count += 1
        if count >= limit:
            return count, True
        w = (w[0] * w[0] - w[1] * w[1] + c[0], 2 * w[0] * w[1] + c[1])
    return count, False


def sq(w, c):
    return (w[0] * w[0] - w[1] * w[1] + c[0], 2 * w[0] * w[1] + c[1])


def julia(A, B, C, octaves=16):
    a, b = A / (PI / 2), B / (PI / 2)
    r = math.hypot(a, b)
    length = 0.5 if 0 < r < 0.5 else (1.25 if r > 1.125 else r)
    if length != r:
        a, b = a * length / r, b * length / r

    def f(x, y):
        c = (a, b)
        count, bounded = escape(sq(sq((x / 4, y / 4), c), c), c, 2 * octaves)
        return None if bounded else [count / 32]
    return f


def mandel(A, B, C, octaves=16):
    k0, k2 = (3 + A) / 8, C / 64

    def f(x, y):
        c = ((x - 0.5) * k0, k0 * y)
        count, bounded = escape(sq(c, c), c, 2 * octaves)
        return [0.0] if bounded else [count * k2 + 0.5]
    return f


CASES = [
    (13, 17, outer_mirror, (0.3, 1.0, 1)),
    (13, 17, outer_mirror, (0.7, 0.5, 5)),
    (13, 17, outer_mirror, (0.0, 0.8, 40)),
    (13, 20, polar_space, (1.0, 1.0, 0.5)),
    (13, 20, polar_space, (6.0, -2.0, 1.0)),
    (13, 27, escher, (3, -PI, 0.4)),
    (13, 27, escher, (5.5, 0.3, 1.1)),
    (13, 27, escher, (9, 0.0, 0.0)),
    (4, 12, minmax, (1.0, 0.4, 0.5)),
    (4, 12, minmax, (1.3, 1.0, 0.0)),
    (4, 8, zblend, (0.8, 0, 0)),
    (4, 40, displace_alt, (0.5, -0.5, 1.0)),
    (4, 41, blend_alt, (0.3, -0.5, 2.0)),
    (4, 10, julia, (-1.25, 0.0, 0.0)),
    (4, 10, julia, (0.4, 0.9, 0.0)),
    (4, 15, mandel, (1.0, 0.0, 2.0)),
    (4, 15, mandel, (-1.0, 0.0, 9.0)),
]


def close(a, b):
    return a == b or abs(a - b) <= 1e-9 * (1 + abs(b))


def main():
    tool = sys.argv[1]
    env = dict(os.environ)
    env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
    failures = 0
    for family, ident, model, (A, B, C) in CASES:
        out = subprocess.run([tool, "--family", str(family), "--tables", "--values", str(ident),
                              repr(A), repr(B), repr(C), str(N)], check=True,
                             capture_output=True, text=True, env=env).stdout
        rows = [line.split() for line in out.splitlines() if line and not line.startswith("#")]
        if len(rows) != N * N:
            print(f"family {family} id {ident}: {len(rows)} rows, want {N * N}")
            failures += 1
            continue
        f = model(A, B, C)
        bad, compared, first = 0, 0, None
        for row in rows:
            v = [float(t) for t in row]
            want = f(v[0], v[1])
            if want is None:
                continue
            compared += 1
            got = v[2:2 + len(want)]
            if not all(close(g, w) for g, w in zip(got, want)):
                bad += 1
                first = first or (v[0], v[1], got, want)
        if bad or compared == 0:
            print(f"family {family} id {ident} {A} {B} {C}: {bad} of {compared} differ, first {first}")
            failures += 1
        else:
            print(f"family {family} id {ident} {A} {B} {C}: {compared} samples agree")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
