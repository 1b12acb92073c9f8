"""Recomputes buffer operations from their written rules, in plain python,
and compares every colour byte with what buffer_op writes: transfers (blend,
add, the two alpha composites, the fade in and out), the box averages, the
fast blur, the move and the nearest-sample rotation, on random fixtures.

Pixels are [pad, red, green, blue]. The fixtures are PNGs with alpha: the
program loads colours drawn over black and buffer_op puts the alpha into the
pad byte, so the colours as loaded are read back first through a filter
that leaves pixels unchanged; the pads are the alpha written."""
import math
import random
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from qz_render_png_check import read_png  # noqa: E402

W, H = 23, 17


def write_png(path, pixels):
    rows = []
    for row in pixels:
        rows.append(b"\0" + bytes(v for p in row for v in (p[1], p[2], p[3], p[0])))

    def chunk(kind, body):
        crc = zlib.crc32(kind + body) & 0xFFFFFFFF
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", crc)

    header = struct.pack(">IIBBBBB", len(pixels[0]), len(pixels), 8, 6, 0, 0, 0)
    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                           chunk(b"IDAT", zlib.compress(b"".join(rows))) +
                           chunk(b"IEND", b""))


def f32(v):
    return struct.unpack("f", struct.pack("f", v))[0]


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


class Runner:
    def __init__(self, tool, folder):
        self.tool, self.folder, self.count = tool, Path(folder), 0

    def fixture(self, rng, pads):
        """A random image; pads chosen from `pads` (a list) or random."""
        pixels = [[[rng.choice(pads) if pads else rng.randrange(256),
                    rng.randrange(256), rng.randrange(256), rng.randrange(256)]
                   for _ in range(W)] for _ in range(H)]
        path = self.path("in")
        write_png(path, pixels)
        loaded = self.run("gw_FadeDirection", "-", path)
        # The pads are the alpha written; the colours as the program loaded them.
        return path, [[[pixels[y][x][0]] + loaded[y][x][1:] for x in range(W)]
                      for y in range(H)]

    def path(self, stem):
        self.count += 1
        return str(self.folder / f"{stem}{self.count}.png")

    def run(self, name, args, path, path2=None):
        out = self.path("out")
        command = [self.tool, name, args, path, out] + ([path2] if path2 else [])
        subprocess.run(command, check=True)
        width, height, pixel = read_png(out)
        return [[[0] + list(pixel(x, y)[:3]) for x in range(width)] for y in range(height)]


# ---- Transfers (source s, destination d; colour bytes 1-3; pads kept) -----

def per_colour(dst, src, fn):
    out = []
    for y, row in enumerate(dst):
        out.append([[d[0]] + [fn(s[c], d[c], x) for c in (1, 2, 3)]
                    for x, (d, s) in enumerate(zip(row, src[y]))])
    return out


def blend(dst, src, p):
    return per_colour(dst, src, lambda s, d, x: d + (((s - d) * (256 - p)) >> 8))


def add(dst, src, p):
    return per_colour(dst, src, lambda s, d, x: min(s + d, 255))


def fade_in_out(dst, src, p):
    def one(s, d, x):
        t = f32(f32(2 * x) / f32(W))
        if t > 1:
            t = f32(2 - t)
        return int(f32(d + f32(t * (s - d))))
    return per_colour(dst, src, one)


def alpha_weights():
    weights, acc = [], 0.0
    for _ in range(256):
        weights.append(int(acc))
        acc += 256 / 255
    return weights


def composite(dst, src, p, mask_of, weight_of, inverted):
    """Mixes s into d by a weight read from a pad; the full weight takes the
    source colour, none leaves the pixel."""
    out = []
    for y, row in enumerate(dst):
        line = []
        for d, s in zip(row, src[y]):
            a = mask_of(d, s)
            full, none = (0, 255) if inverted else (255, 0)
            if a == full:
                line.append([0] + s[1:])
            elif a == none:
                line.append(list(d))
            else:
                line.append([0] + [weight_of(s[c], d[c], a) for c in (1, 2, 3)])
        out.append(line)
    return out


def dest_alpha(dst, src, p):
    w = alpha_weights()
    if p == 1:
        return composite(dst, src, p, lambda d, s: d[0],
                         lambda s, d, a: d + (((s - d) * (256 - w[a])) >> 8), True)
    return composite(dst, src, p, lambda d, s: d[0],
                     lambda s, d, a: d + (((s - d) * w[a]) >> 8), False)


def source_alpha(dst, src, p):
    if p == 1:
        return composite(dst, src, p, lambda d, s: s[0],
                         lambda s, d, a: s - (((s - d) * a) >> 8), True)
    return composite(dst, src, p, lambda d, s: s[0],
                     lambda s, d, a: d + (((s - d) * a) >> 8), False)


# ---- Box averages and the fast blur -------------------------------------

def box_line(values, n, divide, maximum=False):
    """Window n over the line, ends replicated; pixel x takes entry x + n/2."""
    length, total, entries = len(values), n * values[0], []
    for k in range(length + n - 1):
        total += values[min(k, length - 1)] - values[max(k - n, 0)]
        entries.append(divide(total))
    out = [entries[x + n // 2] for x in range(length)]
    return [max(a, b) for a, b in zip(values, out)] if maximum else out


def box_rows(pixels, n, divide, channels, maximum=False):
    out = [list(map(list, row)) for row in pixels]
    for row in out:
        for c in channels:
            for x, v in enumerate(box_line([p[c] for p in row], n, divide, maximum)):
                row[x][c] = v
    return out


def transpose(pixels):
    return [[pixels[y][x] for y in range(len(pixels))] for x in range(len(pixels[0]))]


def box_columns(pixels, n, divide, channels, maximum=False):
    return transpose(box_rows(transpose(pixels), n, divide, channels, maximum))


def fast_average(pixels, n, vertical):
    n = min(max(n, 2), 256)
    walk = box_columns if vertical else box_rows
    return walk(pixels, n, lambda t: t // n, (0, 1, 2, 3))


def fast_average_bs(pixels, param, vertical):
    shift, maximum, n = (param >> 8) & 255, (param >> 16) & 255, (param >> 24) & 255
    walk = box_columns if vertical else box_rows
    return walk(pixels, n, lambda t: t >> shift, (1, 2, 3), maximum != 0)


def fast_blur(pixels, param):
    q, maximum = param & 255, param > 255
    n, s = next((n, s) for limit, n, s in
                ((4, 4, 2), (8, 8, 3), (16, 16, 4), (32, 32, 5), (64, 64, 6), (1 << 30, 128, 7))
                if q <= limit)
    for _ in range(2):
        pixels = box_rows(pixels, n, lambda t: t >> s, (1, 2, 3), maximum)
        pixels = box_columns(pixels, n, lambda t: t >> s, (1, 2, 3), maximum)
    return pixels


# ---- Geometry -------------------------------------------------------------

def move(pixels, x, y, wrap):
    out = []
    for r in range(H):
        line = []
        for c in range(W):
            if wrap:
                sr, sc = (r + 32 * H + 256 - y) % H, (c + 16 * W + 256 - x) % W
            else:
                sr, sc = r + 256 - y, c + 256 - x
            inside = 0 <= sr < H and 0 <= sc < W
            line.append(list(pixels[sr][sc]) if inside else [0, 0, 0, 0])
        out.append(line)
    return out


def rotate(pixels, sx, sy, angle, centre, wrap):
    theta = (256 - angle) * 2 * math.pi / 1024
    cx, cy = (W // 2, H // 2) if centre else (0, H)
    cos, sin = math.cos(theta), math.sin(theta)
    a = [int(sx * cos * (c - cx)) for c in range(W)]
    b = [int(sx * sin * (c - cx)) for c in range(W)]
    e = [int(sy * cos * (r - cy)) for r in range(H)]
    f = [int(sy * sin * (r - cy)) for r in range(H)]
    p0, q0 = (128 * (cy + 16 * H), 128 * (cx + 16 * W)) if wrap else (128 * cy, 128 * cx)
    out = []
    for r in range(H):
        line = []
        for c in range(W):
            sc, sr = (q0 + f[r] + a[c]) >> 7, (p0 + e[r] - b[c]) >> 7
            if wrap:
                sc, sr = sc % W, sr % H
            inside = 0 <= sr < H and 0 <= sc < W
            line.append(list(pixels[sr][sc]) if inside else [0, 0, 0, 0])
        out.append(line)
    return out


def colours(pixels):
    return [[p[1:] for p in row] for row in pixels]


def compare(label, got, want):
    bad = [(x, y, got[y][x][1:], want[y][x][1:]) for y in range(len(want))
           for x in range(len(want[0])) if got[y][x][1:] != want[y][x][1:]]
    if bad:
        print(f"{label}: {len(bad)} pixels differ, first (x, y, got, want): {bad[:4]}")
    return not bad


def main():
    tool = sys.argv[1]
    rng = random.Random(2511)
    ok = True
    with tempfile.TemporaryDirectory() as folder:
        run = Runner(tool, folder)
        mid_pads = [0, 255] + list(range(1, 255))
        dst_path, dst = run.fixture(rng, mid_pads)
        src_path, src = run.fixture(rng, mid_pads)
        transfers = [(1, 0, blend), (1, 77, blend), (1, 256, blend), (3, 0, add),
                     (13, 0, dest_alpha), (13, 1, dest_alpha), (14, 0, source_alpha),
                     (14, 1, source_alpha), (25, 0, fade_in_out)]
        for mode, p, rule in transfers:
            got = run.run(f"TransfertGWorlds:{mode}", str(p), dst_path, src_path)
            ok &= compare(f"mode {mode} parameter {p}", got, rule(dst, src, p))

        for n in (2, 5, 64, 300):
            for vertical in (False, True):
                name = "gw_FastAverageY" if vertical else "gw_FastAverage"
                ok &= compare(f"{name} {n}", run.run(name, str(n), src_path),
                              fast_average(src, n, vertical))
        for shift, maximum in ((2, 0), (3, 1)):
            param = ((1 << shift) << 24) | (maximum << 16) | (shift << 8)
            for vertical in (False, True):
                name = "gw_FastAverageYBS" if vertical else "gw_FastAverageXBS"
                ok &= compare(f"{name} {param:#x}", run.run(name, str(param), src_path),
                              fast_average_bs(src, param, vertical))
        for param in (3, 5, 20, 64, 65, 256 + 4):
            ok &= compare(f"gw_FastBlurr32 {param}", run.run("gw_FastBlurr32", str(param), src_path),
                          fast_blur(src, param))

        for x, y, wrap in ((256, 256, 0), (266, 250, 0), (0, 512, 0), (261, 240, 1),
                           (256 + W, 256 - H, 1)):
            ok &= compare(f"Move_GW32 {x},{y},{wrap}", run.run("Move_GW32", f"{x},{y},{wrap}", src_path),
                          move(src, x, y, wrap))
        for sx, sy, angle, centre, wrap in ((128, 128, 256, 1, 0), (128, 128, 0, 1, 0),
                                            (100, 160, 200, 1, 0), (90, 90, 700, 0, 0),
                                            (150, 70, 333, 1, 1), (128, 128, 128, 0, 1)):
            args = f"{sx},{sy},{angle},{centre},{wrap}"
            ok &= compare(f"Rotate_GW32 {args}", run.run("Rotate_GW32", args, src_path),
                          rotate(src, sx, sy, angle, centre, wrap))
    if not ok:
        sys.exit(1)
    print("buffer_op: every operation matches")


if __name__ == "__main__":
    main()
