#!/usr/bin/env python3
"""The picture and movie members of f21 (30, 31, 34) and f23 (0, 1, 34),
recomputed from their formulas and compared with the program's values.

Writes a small RGB picture as PNG (zlib and struct only), runs
`pict_values PICTURE FAMILY ID A B C N [--grey8]` for a table of members and
parameters over a grid that crosses negative coordinates, tile borders and
the picture's edges, and checks every output.

Usage: pict_oracle_check.py PICT_VALUES
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import zlib

W, H = 13, 9
N = 48
MARKER = 1e250
NO_TILING = 0x0FFFFFFF


def pixel(column, row):
    """The test picture: every pixel different, not a smooth ramp."""
    r = (37 * column + 91 * row + 11) % 256
    g = (column * column * 7 + 29 * row) % 256
    b = (5 * column + 13 * row * row + 200) % 256
    return r, g, b


def write_png(path):
    raw = b"".join(
        b"\x00" + bytes(v for c in range(W) for v in pixel(c, r)) for r in range(H))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw)))
        f.write(chunk(b"IEND", b""))


class Picture:
    def __init__(self, grey8):
        self.grey8 = grey8

    def rgb(self, c, r):
        p = pixel(c, r)
        return (p[0], p[0], p[0]) if self.grey8 else p

    def grey(self, c, r):
        """Grey of the grey members: the byte, or (r + g + b) / 3 truncated."""
        if self.grey8:
            return pixel(c, r)[0]
        p = pixel(c, r)
        return (p[0] + p[1] + p[2]) // 3

    def red(self, c, r):
        return pixel(c, r)[0]


def split(v):
    """Cell and fraction: trunc(v) at or above 0, trunc(v - 1) below."""
    if not (-2147483648.0 < v < 2147483648.0):
        return None
    i = math.trunc(v) if v >= 0 else math.trunc(v - 1)
    return i, v - i


def scales(a):
    s = a * H / (2 * math.pi)
    return s, s


# ---- f21 ---------------------------------------------------------------------


def f21_movie(pic, a, b, c, x, y):
    sx, sy = scales(a)
    k = 4 * b / 255
    c = min(c, 1.0)
    tx_period = max(1, int(W / c)) if c > 0 else NO_TILING
    ty_period = max(1, int(H / c)) if c > 0 else NO_TILING
    g0 = pic.grey(0, 0)
    px, py = W / 2 + x * sx, H / 2 - y * sy
    if c <= 0 and (px < 0 or px > W or py < 0 or py > H):
        return [g0 * k]
    sxp, syp = split(px), split(py)
    if sxp is None or syp is None:
        return [g0 * k]
    (ix, fx), (iy, fy) = sxp, syp
    tx, ty = ix % tx_period, iy % ty_period
    if tx >= W or ty >= H:
        return [g0 * k]

    def row(r):
        g = pic.grey(tx, r)
        right = pic.grey(tx + 1, r) if tx < W - 1 else g0
        return g + (right - g) * fx

    top = row(ty)
    value = top + (row(ty + 1) - top) * fy if ty < H - 1 else top
    return [value * k]


def mirror(i, f, n):
    if i < 0:
        f = 1 - f
        i = 2 * (n - 1) - i
    q, r = divmod(i, n)
    return (r if q % 2 == 0 else n - 1 - r), f, q % 2 == 0


def f21_movieSym(pic, a, b, c, x, y):
    sx, sy = scales(a)
    k = 4 * b / 255
    px, py = W / 2 + x * sx, H / 2 - y * sy
    sxp, syp = split(px), split(py)
    if sxp is None or syp is None:
        return [0.0]
    tx, fx, xeven = mirror(*sxp, W)
    ty, fy, yeven = mirror(*syp, H)

    def row(r):
        v = pic.red(tx, r)
        if xeven and tx < W - 1:
            v += (pic.red(tx + 1, r) - v) * fx
        elif not xeven and tx > 0:
            v += (pic.red(tx - 1, r) - v) * fx
        return v

    v = row(ty)
    if 0 < ty < H - 1:
        bv = row(ty + 1 if yeven else ty - 1)
        v += (bv - v) * fy
    return [v * k]


def box_pass(line, w):
    h = (w - 1) // 2
    n = len(line)
    return [sum(line[min(max(j, 0), n - 1)] for j in range(i - (w - 1 - h), i + h + 1))
            for i in range(n)]


def blurred_sums(pic, k):
    w = k + 1
    s = [[0 if r in (0, H - 1) or c in (0, W - 1) else
          (3 * pic.grey(c, r) if pic.grey8 else sum(pixel(c, r)))
          for c in range(W)] for r in range(H)]
    for _ in range(2):
        s = [box_pass(rowv, w) for rowv in s]
        cols = [box_pass([s[r][c] for r in range(H)], w) for c in range(W)]
        s = [[cols[c][r] for c in range(W)] for r in range(H)]
    return s


def segment(p0, p1, p2, p3, t):
    c1 = p1 + (p2 - p0) * 0.16666666667
    c2 = p2 - (p3 - p1) * 0.16666666667
    u = 1 - t
    return u ** 3 * p1 + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t ** 3 * p2


def bicubic(sums, x, y, bounded):
    (ix, fx), (iy, fy) = split(x), split(y)

    def at(c, r):
        if bounded and not (0 <= c < W and 0 <= r < H):
            return 0.0
        return float(sums[r][c])

    rows = [segment(*(at(ix - 1 + j, iy - 1 + i) for j in range(4)), fx) for i in range(4)]
    return segment(*rows, fy)


SUMS = {}


def f21_blurredmovie(pic, a, b, c, x, y):
    held = min(c, 1.0) if c >= 0 else 0.0
    k = int(16 * held + 2) & ~1
    key = (pic.grey8, k)
    if key not in SUMS:
        SUMS[key] = blurred_sums(pic, k)
    sums = SUMS[key]
    w = k + 1
    factor = b / (w ** 4 * 96)
    sx, sy = scales(a)
    px, py = math.trunc(W / 2) + x * sx, math.trunc(H / 2) - y * sy
    if 1 <= px < W - 2 and 1 <= py < H - 2:
        v = bicubic(sums, px, py, False)
    elif -2 <= px < W + 1 and -2 <= py < H + 1:
        v = bicubic(sums, px, py, True)
    else:
        v = 0.0
    return [v * factor]


# ---- f23 ---------------------------------------------------------------------


def colour_sampler(pic, x, y, a, mx, my, clipped, outside, k):
    sx, sy = scales(a)
    px, py = sx * x + W / 2, H / 2 - sy * y
    if clipped and (px > W or py > H or px < 0 or py < 0):
        return outside
    sxp, syp = split(px), split(py)
    if sxp is None or syp is None:
        return outside
    (ix, fx), (iy, fy) = sxp, syp
    cx, cy = ix % mx, iy % my
    if cx >= W or cy >= H:
        return outside

    def row(r):
        c = pic.rgb(cx, r)
        if cx < W - 1:
            n = pic.rgb(cx + 1, r)
            return [c[i] + (n[i] - c[i]) * fx for i in range(3)]
        return list(map(float, c))

    c = row(cy)
    if cy >= H - 1:
        return [v * k for v in c]
    c2 = row(cy + 1)
    return [(c[i] + (c2[i] - c[i]) * fy) * k for i in range(3)]


def f23_colorpict(pic, a, b, c, x, y):
    if x >= MARKER:
        return [MARKER] * 3
    c = min(c, 1.0)
    mx = max(1, int(W / c)) if c > 0 else NO_TILING
    my = max(1, int(H / c)) if c > 0 else NO_TILING
    return colour_sampler(pic, x, y, a, mx, my, c <= 0, [0.0] * 3, b / 32)


def f23_colorpicttile(pic, a, b, c, x, y):
    if x >= MARKER:
        return [MARKER] * 3
    mx = max(1, int(W / b)) if b > 0 else NO_TILING
    my = max(1, int(H / c)) if c > 0 else NO_TILING
    return colour_sampler(pic, x, y, a, mx, my, mx == NO_TILING, [MARKER] * 3, 1 / 32)


def f23_colorpictsym(pic, a, b, c, x, y):
    if x >= MARKER:
        return [MARKER] * 3
    k = b / 32
    sx, sy = scales(a)
    px, py = sx * x + W / 2, H / 2 - sy * y
    sxp, syp = split(px), split(py)
    if sxp is None or syp is None:
        return [0.0] * 3
    cx, fx, xeven = mirror(*sxp, W)
    cy, fy, yeven = mirror(*syp, H)

    def row(r):
        c = pic.rgb(cx, r)
        if xeven and cx < W - 1:
            n = pic.rgb(cx + 1, r)
        elif not xeven and cx >= 1:
            n = pic.rgb(cx - 1, r)
        else:
            return list(map(float, c))
        return [math.trunc(c[i] + (n[i] - c[i]) * fx) for i in range(3)]

    c = row(cy)
    if cy == 0 or cy >= H - 1:
        return [v * k for v in c]
    c2 = row(cy + 1 if yeven else cy - 1)
    return [math.trunc(c[i] + (c2[i] - c[i]) * fy) * k for i in range(3)]


MEMBERS = {
    (2, 30): f21_movie, (2, 31): f21_movieSym, (2, 34): f21_blurredmovie,
    (7, 0): f23_colorpict, (7, 1): f23_colorpictsym, (7, 34): f23_colorpicttile,
}

# family, id, A, B, C, 8-bit
CASES = [
    (2, 30, 4, 1, 1, False), (2, 30, 4, 1.5, 0.5, False), (2, 30, 3, 1, 0, False),
    (2, 30, 4, 1, 0.5, True),
    (2, 31, 4, 1.5, 0, False), (2, 31, 2.5, 1, 0, True),
    (2, 34, 3, 1, 0, False), (2, 34, 4, 2, 0.5, False), (2, 34, 1.5, 1, 1, True),
    (7, 0, 4, 1, 1, False), (7, 0, 4, 2, 0.5, False), (7, 0, 3, 1, 0, False),
    (7, 0, 4, 1, 0.5, True),
    (7, 1, 4, 1, 0, False), (7, 1, 3.3, 2, 0, True),
    (7, 34, 4, 1, 0, False), (7, 34, 4, 0.5, 0.5, False), (7, 34, 3, 0, 1, False),
]


def close(got, want):
    if want >= MARKER or got >= MARKER:
        return got == want
    return abs(got - want) <= 1e-13 * (1 + abs(want))


def main():
    tool = sys.argv[1]
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "picture.png")
        write_png(path)
        for family, member, a, b, c, grey8 in CASES:
            args = [tool, path, str(family), str(member), repr(a), repr(b), repr(c), str(N)]
            if grey8:
                args.append("--grey8")
            out = subprocess.run(args, check=True, capture_output=True, text=True).stdout
            lines = out.splitlines()
            head = lines[0].split()
            if head[:4] != ["#", "picture", str(W), str(H)]:
                print("unexpected picture line:", lines[0])
                return 1
            pic = Picture(grey8)
            f = MEMBERS[(family, member)]
            bad = 0
            for line in lines[1:]:
                v = [float(t) for t in line.split()]
                want = f(pic, a, b, c, v[0], v[1])
                for got, expect in zip(v[2:], want):
                    if not close(got, expect):
                        if bad < 3:
                            print(f"f{family} id {member} A {a} B {b} C {c} grey8 {grey8} at "
                                  f"({v[0]!r}, {v[1]!r}): program {got!r}, oracle {expect!r}")
                        bad += 1
            if len(lines) - 1 != N * N:
                print(f"f{family} id {member}: {len(lines) - 1} samples, expected {N * N}")
                bad += 1
            failures += bad
    print("pict oracle:", "ok" if failures == 0 else f"{failures} mismatches")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
