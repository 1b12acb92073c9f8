#!/usr/bin/env python3
"""Independent check of the feature-point, spot, technical and maze functions.

Reads what cells_dump prints (the lookup tables, then one record per function
and sample point) and recomputes every result from the lattice rules and the
formulas alone, in plain double arithmetic.
"""
import math
import subprocess
import sys

REL = 1e-9


def close(a, b):
    return abs(a - b) <= REL * max(1.0, abs(a), abs(b))


def cell(v):
    # Truncation for v >= 0, truncation of v - 1 below: -1.0 lies in cell -2.
    return int(v - 1) if v < 0 else int(v)


def edge(f):
    return f if f <= 0.5 else 1.0 - f


class Tables:
    def __init__(self, rows):
        self.perm = [int(v) for v in rows["perm"]]
        u = [float(v) for v in rows["unitdir"]]
        self.unitdir = u  # flat: pair k is u[2k], u[2k + 1]
        g = [float(v) for v in rows["grad"]]
        self.grad = [(g[2 * k], g[2 * k + 1]) for k in range(len(g) // 2)]
        r = [float(v) for v in rows["rndvec"]]
        self.rnd = [(r[3 * k], r[3 * k + 1], r[3 * k + 2]) for k in range(len(r) // 3)]
        p = [float(v) for v in rows["planevec"]]
        self.plane = [(p[3 * k], p[3 * k + 1], p[3 * k + 2]) for k in range(len(p) // 3)]

    def P(self, k):
        return self.perm[k & 1023]

    def key(self, i, j):
        return j + self.P(i) + (i >> 9)

    def h2(self, i, j):
        return self.P(self.key(i, j))

    def h3(self, a, b, c):
        return self.P(c + self.P(b + self.P(a) + (a >> 9)) + (b >> 9))

    def h1(self, i):
        return self.P((i >> 8) + self.P(i))

    def nine(self, x, y):
        """(c, r, unmasked row key, rndVec row) of the 3x3 cells, columns outer."""
        i, j = cell(x), cell(y)
        for c in (i - 1, i, i + 1):
            k0 = self.key(c, j - 1)
            for n in range(3):
                yield c, j - 1 + n, k0 + n, (k0 & 1023) + n

    def four(self, x, y, step, order):
        i, j = cell(x), cell(y)
        for dc, dr in order:
            c, r = i + dc, j + dr
            p = self.h2(c, r)
            yield x - (c + 0.5 + step * (p & 255)), y - (r + 0.5 + step * (p >> 2)), p


CIRCLE_ORDER = ((0, 0), (-1, 0), (-1, -1), (0, -1))


# ---- Cellular ----

def cristal(t, x, y, scale, sharpen):
    best = None
    for dx, dy, p in t.four(x, y, 0.0035, ((0, 0), (0, -1), (-1, 0), (-1, -1))):
        q = dx * dx + dy * dy
        if best is None or q < best[0]:
            best = (q, t.P(p))
    r = best[1] * scale
    if sharpen == 0:
        return [r]
    return [r + (max(0.0, 0.5 - best[0]) * r - r) * sharpen]


def cristalmap(t, x, y, offset):
    x, y = x + offset, y + offset
    best, bx, by = 1.0, 0.0, 0.0
    for dx, dy, _ in t.four(x, y, 0.003, CIRCLE_ORDER):
        q = dx * dx + dy * dy
        if q < best:
            best, bx, by = q, dx, dy
    return [math.sqrt(best), bx, by]


def facets(t, x, y):
    for c, r, k, _ in t.nine(x, y):
        ux, uy = t.unitdir[2 * (k & 255)], t.unitdir[2 * (k & 255) + 1]
        yield x - 0.5 - c + ux, y - 0.5 - r + uy, t.P(k), c, r


def facet(t, x, y, amount):
    bound, win = 2.0, (0.0, 0.0, 0)
    for dx, dy, p, _, _ in facets(t, x, y):
        m = dx * dx + dy * dy + p * 0.00024414062
        if m < bound:
            bound, win = m, (dx, dy, p)
    f = 1 + win[2] * amount * 0.0009765625
    return [win[0] * f, win[1] * f]


def fold(u):
    return abs(u) if abs(u) >= 0.5 else u * u + 0.25


def mirror(t, x, y, amount):
    b, ox, oy = 1.0, 2.0, 2.0
    for dx, dy, p, _, _ in facets(t, x, y):
        m = dx * dx + dy * dy + p * 0.00034179687
        if not m < b:
            continue
        f = 1 + p * amount * 0.0009765625
        A, B = fold(dx * f), fold(dy * f)
        s = 2 * (b - m)
        if s < 1:
            w = (3 - 2 * s) * s * s
            ox += (A - ox) * w
            oy += (B - oy) * w
            b += (m - b) * w
        else:
            ox, oy, b = A, B, m
    return [ox, oy]


def ctfacet(t, x, y):
    bound, ci, cj = 8.0, 0, 0
    for dx, dy, _, c, r in facets(t, x, y):
        m = dx * dx + dy * dy
        if m < bound:
            bound, ci, cj = m, c, r
    return [ci, cj]


def smooth(t, x, y):
    out, rem, m, qs = [0.0, 0.0], 0.0, 1.5, []
    for c, r, _, row in t.nine(x, y):
        v = t.rnd[row]
        dx = x - 0.5 - (c + 0.39 * v[0])
        dy = y - 0.5 - (r + 0.39 * v[1])
        q = dx * dx + dy * dy
        qs.append(q)
        if q < m:
            out, rem = [dx, dy], v[2]
        if q - 0.01 <= m:
            s = (q - 0.01 - m) / 0.04
            m = m - 0.04 * s * s if s > -0.5 else q
    m2 = 1.5
    for q in qs:
        if not q > m:
            continue
        if m2 - 0.01 > q:
            m2 = q
        else:
            s = (m2 - 0.01 - q) / 0.04
            if s > -0.5:
                m2 = q - 0.04 * s * s
    e = m2 - m - 0.02
    if e > 0.01:
        mask = 4 * e
    else:
        s = (0.01 - e) / 0.04
        mask = 0.0 if s >= 0.5 else 4 * (0.04 * s * s + e)
    return [mask, out[0], out[1], rem]


def bubble(t, x, y):
    best, win = 1.0, 0
    for c, r, k, _ in t.nine(x, y):
        v = t.rnd[k & 1023]
        dx = x - (c + 0.5 - 0.35 * v[0])
        dy = y - (r + 0.5 - 0.35 * v[1])
        q = dx * dx + dy * dy
        if q < best:
            best, win = q, k
    g = win & 255
    return [best, abs(t.grad[g][0]), abs(t.grad[g][1]), abs(t.grad[g + 1][1])]


def bubble3d_once(t, x, y, z, cur, rgb):
    a, b, c = cell(x), cell(y), cell(z)
    for cz in (c, c + 1):
        for cy in (b, b + 1):
            for cx in (a, a + 1):
                k = (cy + t.P(cz + t.P(cx) + (cx >> 9))) & 255
                f0, f1, f2 = t.unitdir[2 * k], t.unitdir[2 * k + 1], t.unitdir[2 * k + 2]
                dx, dy, dz = x - (cx - f0), y - (cy - f1), z - (cz - f2)
                d = math.sqrt(dx * dx + dy * dy + dz * dz)
                if not d < cur:
                    continue
                col = (abs(t.grad[k][0]), abs(t.grad[k][1]), abs(t.grad[k + 1][0]))
                s = 4 * (cur - d)
                if s < 1:
                    w = (3 - 2 * s) * s * s
                    rgb = [rgb[n] + (col[n] - rgb[n]) * w for n in range(3)]
                    cur += (d - cur) * w
                else:
                    rgb, cur = list(col), d
    return cur, rgb


def bubble3d(t, x, y, z):
    cur, rgb = bubble3d_once(t, x, y, z, 0.75, [0.0, 0.0, 0.0])
    cur, rgb = bubble3d_once(t, x + 517.5, y + 17.5, z + 317.5, cur, rgb)
    return [cur] + rgb


def plainbubble3d(t, x, y, z):
    i, j, k = cell(x), cell(y), cell(z)
    best = 0.8
    for l in (k, k - 1):
        for c in (i - 1, i, i + 1):
            for r in (j - 1, j, j + 1):
                p = t.h3(c, r, l)
                ex = x - (c + 0.497 + 0.003 * (p >> 2))
                ey = y - (r + 0.497 + 0.003 * (t.P(p) & 255))
                ez = z - (l + 0.497 + 0.003 * ((p + 27) & 255))
                best = min(best, ex * ex + ey * ey + ez * ez)
    return [best]


# ---- Spots ----

def own_spot(t, x, y):
    i, j = cell(x), cell(y)
    p = t.h2(i, j)
    return p, x - 0.5 - i + t.unitdir[2 * (p & 255)], y - 0.5 - j + t.unitdir[2 * (p & 255) + 1]


def spots2d(t, x, y):
    p, dx, dy = own_spot(t, x, y)
    m = p / 9000 + (dx * dx + dy * dy)
    acc = 0.5
    if m < 0.0625:
        acc += (4 * (0.25 - math.sqrt(m))) ** 2
    return [acc]


def sparse(t, x, y, threshold):
    p, dx, dy = own_spot(t, x, y)
    value = ((p >> 2) & 63) * 0.015625
    if p >= threshold:
        return [0.0, -0.5, -0.5, value]
    q = dx * dx + dy * dy
    if q >= 0.0625:
        return [0.0, dx, dy, value]
    s = (0.0625 - q) * 64
    return [s * s if s < 0.5 else s - 0.25, dx, dy, value]


def spots3d(t, x, y, z):
    i, j, k = cell(x), cell(y), cell(z)
    p = t.h3(i, j, k)
    v = t.plane[p & 255]
    dx = x - 0.5 - i + 0.33 * v[0]
    dy = y - 0.5 - j + 0.33 * v[1]
    dz = z - 0.5 - k + 1.32 * v[2]
    acc, rgb = 0.25, [1.0, 1.0, 1.0]
    q = dx * dx + dy * dy + dz * dz
    if dx < 0.17 and q < 0.0289:
        w = (0.17 - math.sqrt(q)) * t.P(p) / 200
        acc += w
        rgb = [rgb[0] + w * t.h3(j, k, i), rgb[1] + w * t.h3(i, k, j), rgb[2] + w * t.h3(k, i, j)]
    return [acc] + rgb


def jittered(t, x, y, jitter):
    for c, r, _, row in t.nine(x, y):
        v = t.rnd[row]
        yield x - 0.5 - (c + jitter * v[0]), y - 0.5 - (r + jitter * v[1]), v


def cones(t, x, y, size):
    h = 0.0
    for dx, dy, v in jittered(t, x, y, 0.37):
        q = dx * dx + dy * dy
        if q < 1 / (size * size):
            h = max(h, 1 - math.sqrt(q) * size - 0.6666 * abs(v[2]))
    return [h]


def vecbubble(t, x, y, k):
    sx, sy = 0.125, -0.25
    for dx, dy, _ in jittered(t, x, y, 0.3825):
        q = dx * dx + dy * dy
        if q < 1 / k:
            w = (1 - k * q) ** 2
            sx += dx * w
            sy += dy * w
    return [sx, sy]


def circlemap(t, x, y, offset):
    sx = sy = 0.0
    for dx, dy, p in t.four(x + offset, y + offset, 0.0039, CIRCLE_ORDER):
        q = dx * dx + dy * dy
        if q <= 0.25:
            push = 0.5 - ((p >> 4) & 15) / 90 - math.sqrt(q)
            if push > 0:
                sx += dx * push
                sy += dy * push
    return [sx, sy]


def circleinverts(t, x, y, k, freq, amount):
    sx, sy = x, y
    for dx, dy, p in t.four(x * freq, y * freq, 0.0035, CIRCLE_ORDER):
        q = (dx * dx + dy * dy) * k
        if q < 1:
            w = (1 - q) ** 4 * (((p >> 4) & 31) + 7) * amount
            sx += dx * w
            sy += dy * w
    return [sx, sy]


# ---- Technical patterns ----

def techno(t, x, y, level):
    lx, ly, lv = x, y, level
    while True:
        i, j = cell(lx), cell(ly)
        if lv < 4 and t.h2(i, j) > 512:
            lv, lx, ly = lv + 1, lx * 2, ly * 2
            continue
        plain = 0.0 if t.h2(j, i) > 768 else min(edge(lx - i), edge(ly - j))
        break
    lx, ly, lv = x, y, level
    while True:
        i, j = cell(lx), cell(ly)
        if lv < 3 and t.h2(i, j) > 512:
            lv, lx, ly = lv + 1, lx * 2, ly * 2
            continue
        weight = t.h2(j, i) * 0.001953125 - 1
        return [plain, min(edge(lx - i), edge(ly - j)) * weight / lv]


def technocolor(t, x, y, level):
    rgb = [2.0, 2.0, 2.0]
    while True:
        i, j = cell(x), cell(y)
        h = t.h2(i, j)
        e = min(edge(x - i), edge(y - j)) * (t.h2(j, i) * 0.001953125 - 0.33)
        if e > 0:
            e = e / level
            g = h & 255
            R, G, B = abs(t.grad[g][0]), abs(t.grad[g][1]), abs(t.grad[g + 1][1])
            if R < 256 and G < 128 and B < 128:
                R, G = 512 - R, 256 - G
            rgb = [rgb[0] + R * e, rgb[1] + G * e, rgb[2] + B * e]
        if level < 4 and h > 512:
            level, x, y = level + 1, x * 2, y * 2
            continue
        return [e] + rgb


def techno3d(t, x, y, z, level):
    while True:
        i, j, k = cell(x), cell(y), cell(z)
        if level < 3 and t.h3(i, j, k) > 512:
            level, x, y, z = level + 1, x * 2, y * 2, z * 2
            continue
        v = t.h3(j, i, k) - 256
        d = min(edge(x - i), edge(y - j), edge(z - k))
        return [d * v / level, t.h3(j, k, i) >> 2, t.h3(i, k, j) >> 2, t.h3(k, i, j) >> 2]


def soft(u):
    return u * u + 0.25 if u < 0.5 else u


def cap_one(e, b):
    if b <= 0:
        return min(e, 1.0)
    return (e + 1 - b * (soft(abs(e - 1) / b) - 0.25)) / 2


def tri(f):
    return 2 * min(f, 1 - f)


def patchwork(t, x, y, z, a, b, c, n):
    inv = 1 / (n * 1024)
    i0 = cell(x)
    p0 = t.h1(i0)
    hashes = inv * p0
    lift = 0.25 * b + a
    e = cap_one(z * tri(x - i0) - lift, b)
    u, v, amp, total = x, y + 0.1 * p0, 1.0, 0.0
    for _ in range(n):
        amp *= 0.75
        strip = 1.732 * v
        u *= 1.732
        z *= 0.8083140877598152
        cl = cell(strip)
        p = t.h1(cl)
        hashes += inv * p
        v = u + 0.1 * p
        if p % 2 == 0:
            v += c
        u = strip
        e2 = tri(strip - cl) * z - lift
        if b > 0:
            e2 = cap_one(e2, b)
            m = (e2 + e - b * soft(abs(e2 - e) / b)) / 2
            if m <= 0:
                e = 0.0
            else:
                s = m / b
                e = b * (s * s if s < 0.5 else s - 0.25) / (1 - 0.25 * b)
        else:
            e = max(0.0, min(e2, 1.0, e))
        total += (((p >> 1) & 15) + 0.5) * 0.125 * amp * e
    return [total * 0.3333, e, hashes]


def dither(t, x, y, amount):
    s = amount * 0.001953125
    X = x + 777.5
    i, j = cell(X), cell(y)
    fx, fy = X - i, y - j
    k0 = j + t.P(i) + (i >> 8)
    k1 = j + t.P(i + 1) + ((i + 1) >> 8)

    def blend(e0, e1, comp):
        top = t.grad[e0][comp] + (t.grad[e1][comp] - t.grad[e0][comp]) * fx
        bottom = t.grad[e0 + 1][comp] + (t.grad[e1 + 1][comp] - t.grad[e0 + 1][comp]) * fx
        return top + (bottom - top) * fy

    noise = (blend(k0 & 1023, k1 & 1023, 0), blend(k0 & 1023, k1 & 1023, 1),
             blend((k0 + 517) & 1023, (k1 + 517) & 1023, 0))
    return [3.0 + s * n + 512 * s for n in noise]


# ---- Maze and colour blocks ----

def maze(t, x, y, blend):
    ix, iy = cell(x), cell(y)
    fx, fy = x - ix, y - iy

    def maze_corner(cx, cy):
        h = t.P((cy >> 2) + t.P(cx >> 2) + (cx >> 11)) & 1
        return 1024.0 if (h and cy & 3 == 0) or (not h and cx & 3 == 0) else 0.0

    def random_corner(cx, cy):
        return 1024.0 if t.P(cy + t.P(cx) + (cx >> 9)) >= 512 else 0.0

    def corner(cx, cy):
        if blend <= 0:
            return maze_corner(cx, cy)
        if blend >= 1:
            return random_corner(cx, cy)
        m = maze_corner(cx, cy)
        return m + (random_corner(cx, cy) - m) * blend

    c00, c10 = corner(ix, iy), corner(ix + 1, iy)
    c01, c11 = corner(ix, iy + 1), corner(ix + 1, iy + 1)
    if fx > fy:
        v = (1 - fx) * c00 + fy * c11 + (fx - fy) * c10
    else:
        v = (1 - fy) * c00 + fx * c11 + (fy - fx) * c01
    if v <= 0:
        return [-512.0]
    if 1 - fx > fy:
        w = (1 - fx - fy) * c00 + fx * c10 + fy * c01
    else:
        w = (fx + fy - 1) * c11 + (1 - fy) * c10 + (1 - fx) * c01
    return [min(v, w) - 512]


def mondrian(t, x, y, z, width):
    ix, iy, iz = cell(x), cell(y), cell(z)
    a = (iy + t.P(ix) + (ix >> 9)) & 1023
    h = t.P(iz + t.perm[a] + (iy >> 9))
    if h <= 169:
        colour = [255, 255, 0, 0]
    elif h <= 339:
        colour = [255, 0, 0, 255]
    elif h <= 512:
        colour = [255, 255, 255, 0]
    else:
        colour = [255, 255, 255, 255]
    d = min(min(f, 1 - f) for f in (x - ix, y - iy, z - iz))
    if width > 4 * d:
        colour = [255, 0, 0, 0]
    return [d] + colour


# name: (function, number of inputs)
CHECKS = {
    "cristal": (cristal, 4),
    "cristalmap": (cristalmap, 3),
    "facet": (facet, 3),
    "mirror": (mirror, 3),
    "ctfacet": (ctfacet, 2),
    "smooth": (smooth, 2),
    "bubble": (bubble, 2),
    "bubble3d": (bubble3d, 3),
    "plainbubble3d": (plainbubble3d, 3),
    "spots2d": (spots2d, 2),
    "sparse": (sparse, 3),
    "spots3d": (spots3d, 3),
    "cones": (cones, 3),
    "vecbubble": (vecbubble, 3),
    "circlemap": (circlemap, 3),
    "circleinverts": (circleinverts, 5),
    "techno": (techno, 3),
    "technocolor": (technocolor, 3),
    "techno3d": (techno3d, 4),
    "patchwork": (patchwork, 7),
    "dither": (dither, 3),
    "maze": (maze, 3),
    "mondrian": (mondrian, 4),
}

INTEGER_INPUTS = {"sparse": (2,), "techno": (2,), "technocolor": (2,), "techno3d": (3,),
                  "patchwork": (6,)}


def main():
    out = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout
    rows, records = {}, []
    for line in out.splitlines():
        f = line.split()
        if not f:
            continue
        if f[0] in ("perm", "unitdir", "grad", "rndvec", "planevec"):
            rows[f[0]] = f[1:]
        else:
            records.append(f)
    t = Tables(rows)
    if len(t.perm) != 1025 or sorted(t.perm[:1024]) != list(range(1024)):
        print("no valid permutation printed")
        return 1
    if len(t.unitdir) != 514 or len(t.grad) != 1025 or len(t.rnd) != 1026 or len(t.plane) != 257:
        print("tables of the wrong size")
        return 1
    errors, seen, active = [], {}, {}
    for f in records:
        name = f[0]
        if name not in CHECKS:
            errors.append("unknown record %s" % name)
            continue
        fn, n_in = CHECKS[name]
        ints = INTEGER_INPUTS.get(name, ())
        args = [int(v) if k in ints else float(v) for k, v in enumerate(f[1:1 + n_in])]
        got = [float(v) for v in f[1 + n_in:]]
        want = fn(t, *args)
        seen[name] = seen.get(name, 0) + 1
        if len(got) != len(want):
            errors.append("%s %r: %d results, expected %d" % (name, args, len(got), len(want)))
            continue
        if any(not close(g, w) for g, w in zip(got, want)):
            errors.append("%s %r: got %r, expected %r" % (name, args, got, want))
        # A record whose result differs from a start value shows the
        # function reached something; each function must do so somewhere.
        if any(w != 0 for w in want):
            active[name] = active.get(name, 0) + 1
    for name in CHECKS:
        if seen.get(name, 0) < 100:
            errors.append("%s: only %d records" % (name, seen.get(name, 0)))
        if active.get(name, 0) == 0:
            errors.append("%s: never gave a non-zero result; the check proves nothing" % name)
    for e in errors[:20]:
        print(e)
    print("%d records checked, %d mismatches" % (len(records), len(errors)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
