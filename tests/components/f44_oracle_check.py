#!/usr/bin/env python3
"""Independent check of f43 and f44 members.

Re-implements, from their formulas alone, f43 RGB Alpha, w Rotate (with the
table sine), w Color Fade and w Color Shift and f44 XYZ Scale, Alpha scale &
offset, Contrast & offset, Smooth floor, Color Shift and Alpha Fade
(colorsys for the HSL steps), and compares them with what the program
computes over a grid of the plane, printed by
`contact_sheet --family CODE --tables --values ID A B C N` as
"x y r g b w out..." lines: the sheet feeds the colour (4 + 4x/pi,
4 + 4y/pi, 4) and w = 4 + 4y/pi, and the "# colors" line gives the fade
colour. Then the packed f43 members Packed Alpha *w, Packed Add & Add *w and
Packed RGB w Min Blend are fed random scalar and packed inputs with markers
and NaN through `contact_sheet --family 9 --stdin`, inside and outside a
loop's passes, and their three output blocks compared.

Usage: f44_oracle_check.py CONTACT_SHEET_TOOL
"""
import colorsys
import math
import random
import subprocess
import sys

MARKER = 1e250
N = 23
TWO_PI_STEPS = 1303.7972938088067  # 8192 table steps per turn
SIN_TABLE = [math.sin(i / TWO_PI_STEPS) for i in range(4096)]


def table_sin(x):
    """The table sine: half a turn of 4096 sines, the other half negated,
    linear interpolation between neighbours, odd in x."""
    if x < 0:
        return -table_sin(-x)
    t = x * TWO_PI_STEPS
    n = int(t)
    f = t - n

    def s(k):
        return SIN_TABLE[k] if k < 4096 else -SIN_TABLE[k - 4096]
    k = n & 8191
    a, b = s(k), s((k + 1) & 8191)
    return a + (b - a) * f


def table_cos(x):
    return table_sin(x + 1.5707963267948966)


def clamp(v, lo, hi):
    return min(max(v, lo), hi)


# ---- f43 (code 9) ----
# Each member is made from its parameters and the fade colour F (0..8) and
# maps the inputs (x, y, z, w) to the outputs.

def rgb_alpha(A, B, C, F):
    t, f = 8 * A, max(1.0, 8 * B)

    def g(x, y, z, w):
        if w >= t + f:
            return (w, w, w)
        if t < w < t + f:
            a = (w - t) / f
            return tuple(c + (w - c) * a for c in (x, y, z))
        return (x, y, z)
    return g


def w_rotate(A, B, C, F):
    def g(x, y, z, w):
        if x >= MARKER:
            return (MARKER,) * 3
        a, b, c = A * w, B * w, C * w
        x1 = x * table_cos(b) - z * table_sin(b)
        z1 = x * table_sin(b) + z * table_cos(b)
        o1 = x1 * table_cos(a) - y * table_sin(a)
        y1 = y * table_cos(a) + x1 * table_sin(a)
        return (o1, y1 * table_cos(c) - z1 * table_sin(c), y1 * table_sin(c) + z1 * table_cos(c))
    return g


def fade_factor(B, c):
    return 1 - B * (1 - c) if B >= 0 else 1 + B * c


def w_color_fade(A, B, C, F):
    def g(x, y, z, w):
        f = fade_factor(B, clamp((1 - A) * w, 0, 1))
        return tuple(Fk + (k - Fk) * f for k, Fk in zip((x, y, z), F))
    return g


def to_hls(r, g, b):
    """Hue in degrees, lightness and saturation on 0..255, of a colour on
    0..255."""
    h, l, s = colorsys.rgb_to_hls(r / 255, g / 255, b / 255)
    return h * 360, l * 255, s * 255


def from_hls(h, l, s):
    """The colour on the component scale (8 is full) of hue h in degrees,
    lightness and saturation on 0..255."""
    return tuple(c * 255 / 32 for c in colorsys.hls_to_rgb(h / 360, l / 255, s / 255))


def w_color_shift(A, B, C, F):
    def reduce(v):
        return math.fmod(v, 360) if v >= 0 else 360 - (int(v / -360) * -360 - v)

    def g(x, y, z, w):
        h, l, s = to_hls(32 * x, 32 * y, 32 * z)
        h2 = reduce(60 * A * w + 360 + h)
        s2 = clamp(32 * C * w + s, 0, 255)
        l2 = clamp(l + (w * l - l) * B, 0, 255)
        return from_hls(h2, l2, s2)
    return g


# ---- f44 (code 12) ----

def xyz_scale(A, B, C, F):
    return lambda x, y, z, w: (A * x, B * y, C * z, w)


def alpha_scale(A, B, C, F):
    return lambda x, y, z, w: (A * x, A * y, A * z, B * w + C)


def contrast(A, B, C, F):
    k = -4 * (A - 1) if A <= 1 else -8 * (A - 1)
    return lambda x, y, z, w: tuple(clamp(A * c + k, 0, 8) for c in (x, y, z)) + (w * B + C,)


def smooth_floor(A, B, C, F):
    R = max(A + 0.1, B)
    G = 1 / C if C != 0 else 1.0

    def g(x, y, z, w):
        w2 = w
        if A + C > w:
            d = (w - A) * G
            w2 = A if d < -1 else (d / 2 + 0.5) ** 2 * C + A
        e = R - w2
        if e >= C:
            r = e
        elif e < -C:
            r = 0
        else:
            r = (e * G / 2 + 0.5) ** 2 * C
        return tuple(clamp(c, 0, 8) for c in (x, y, z)) + (R - r,)
    return g


def color_shift(A, B, C, F):
    H = 60 * A + 360

    def g(x, y, z, w):
        rgb = [clamp(32 * c, 0, 256) / 255 for c in (x, y, z)]
        h, l, s = colorsys.rgb_to_hls(*rgb)
        h = math.fmod(h * 360 + H, 360) / 360
        s2 = clamp(C * s * 255, 0, 255) / 255
        l2 = (clamp(B * l * 255, 0, 255) if B >= 0 else clamp(-B * (255 - l * 255), 0, 255)) / 255
        r, gg, b = colorsys.hls_to_rgb(h, l2, s2)
        return (r * 255 / 32, gg * 255 / 32, b * 255 / 32, w)
    return g


def alpha_fade(A, B, C, F):
    K = 4 - 4 * A

    def g(x, y, z, w):
        colour, w2 = (x, y, z), w
        if x >= MARKER or w >= MARKER:
            colour, w2 = F, -8.0
        f = fade_factor(B, clamp(K * w2, 0, 1))
        return tuple(Fk + (k - Fk) * f for k, Fk in zip(colour, F)) + (w2,)
    return g


VALUES_CASES = [
    # name, family code, id, make, params, tolerance
    ("RGB Alpha", 9, 2, rgb_alpha, (-0.25, 0.5, 0), 1e-12),
    ("RGB Alpha", 9, 2, rgb_alpha, (0.5, 0.5, 0), 1e-12),
    ("RGB Alpha", 9, 2, rgb_alpha, (-1, 0, 0), 1e-12),
    ("w Rotate", 9, 7, w_rotate, (1, 2, 3), 1e-12),
    ("w Rotate", 9, 7, w_rotate, (-0.4, 0.25, -1.5), 1e-12),
    ("w Color Fade", 9, 25, w_color_fade, (0.5, 1, 0), 1e-12),
    ("w Color Fade", 9, 25, w_color_fade, (0.9, -0.6, 0), 1e-12),
    ("w Color Fade", 9, 25, w_color_fade, (0, 0.3, 0), 1e-12),
    ("w Color Shift", 9, 24, w_color_shift, (1, 0, 0), 1e-9),
    ("w Color Shift", 9, 24, w_color_shift, (-4, 0.5, 2), 1e-9),
    ("w Color Shift", 9, 24, w_color_shift, (2.5, -0.3, -3), 1e-9),
    ("XYZ Scale", 12, 0, xyz_scale, (2, -1, 3), 1e-12),
    ("Alpha scale & offset", 12, 7, alpha_scale, (1.5, 2, -0.5), 1e-12),
    ("Contrast & offset", 12, 15, contrast, (1, 1, 0.5), 1e-12),
    ("Contrast & offset", 12, 15, contrast, (2, 1, 1), 1e-12),
    ("Contrast & offset", 12, 15, contrast, (0.5, 2, -1), 1e-12),
    ("Smooth floor", 12, 6, smooth_floor, (-0.2, 2, 0.5), 1e-12),
    ("Smooth floor", 12, 6, smooth_floor, (1, 5, 0), 1e-12),
    ("Smooth floor", 12, 6, smooth_floor, (-3, 0.5, 2), 1e-12),
    ("Color Shift", 12, 10, color_shift, (1, 1, 1), 1e-9),
    ("Color Shift", 12, 10, color_shift, (-2.5, -1, 0.5), 1e-9),
    ("Color Shift", 12, 10, color_shift, (0.3, 0.7, 1.5), 1e-9),
    ("Alpha Fade", 12, 4, alpha_fade, (0.5, 1, 0), 1e-12),
    ("Alpha Fade", 12, 4, alpha_fade, (0.9, -0.5, 0), 1e-12),
    ("Alpha Fade", 12, 4, alpha_fade, (1.2, 0.4, 0), 1e-12),
]


def values_cases(tool):
    failures = 0
    for name, family, mid, make, (A, B, C), tol in VALUES_CASES:
        out = subprocess.run([tool, "--family", str(family), "--tables", "--values", str(mid),
                              repr(A), repr(B), repr(C), str(N)],
                             check=True, capture_output=True, text=True).stdout
        lines = out.split("\n")
        colours = next(line.split()[2:] for line in lines if line.startswith("# colors"))
        F = tuple(int(v) / 32 for v in colours[:3])
        rows = [list(map(float, line.split())) for line in lines
                if line.strip() and not line.startswith("#")]
        if len(rows) != N * N:
            print(f"{name}: {len(rows)} lines, expected {N * N}")
            failures += 1
            continue
        f = make(A, B, C, F)
        bad = 0
        for row in rows:
            x, y, inputs, got = row[0], row[1], row[2:6], row[6:]
            want = f(*inputs)
            if len(got) != len(want):
                print(f"{name}: {len(got)} outputs, expected {len(want)}")
                bad += 1
                break
            for k, (g, w) in enumerate(zip(got, want)):
                if abs(g - w) > tol * (1 + abs(w)):
                    if bad < 3:
                        print(f"{name} {A} {B} {C} at ({x}, {y}) inputs {inputs} output "
                              f"{k + 1}: program {g}, formula {w}")
                    bad += 1
        if bad:
            failures += 1
    return failures


# ---- Packed f43 members through the standard-input mode ----

def colour(link, i):
    """Input `link` (width, 64 numbers) as a colour at sample i: a scalar
    (width 0 or 1) in all three channels, else three blocks."""
    width, data = link
    return [data[i]] * 3 if width <= 1 else [data[i], data[16 + i], data[32 + i]]


def has_value(c):
    return c[0] < MARKER


def scale_by_w(a, w, k):
    if w < MARKER and has_value(a):
        m = clamp((w / 4 - 1) * k + 1, 0, 2)
        return [c * m for c in a]
    return a


def add_layer(a, X, k):
    if not has_value(a):
        return [k * c for c in X]
    if has_value(X):
        return [c + k * xc for c, xc in zip(a, X)]
    return a


def alpha_layer(a, X, alpha, T, F):
    if not alpha < MARKER:
        alpha = T + F
    if not has_value(X):
        return a
    if alpha >= T + F:
        return list(X)
    if T < alpha < T + F:
        return [c + (xc - c) * (alpha - T) / F for c, xc in zip(a, X)]
    return a


def packed_alpha_w(p, a, ins, i):
    """Packed Alpha *w: alpha input 2 by input 3, then scaled by w."""
    X = colour(ins[1], i)
    if not has_value(a) and not has_value(X):
        return [MARKER] * 3
    if not has_value(a):
        a = [0.0] * 3
    T, F = 8 * p[0], max(0.0625, 8 * p[1])
    a = alpha_layer(a, X, ins[2][1][i], T, F)
    return scale_by_w(a, ins[3][1][i], p[2])


def packed_add_add(p, a, ins, i):
    """Packed Add & Add *w: input 2 times A, input 3 times B, scaled by w."""
    X2, X3 = colour(ins[1], i), colour(ins[2], i)
    if not has_value(a) and not has_value(X2) and not has_value(X3):
        return [MARKER] * 3
    a = add_layer(add_layer(a, X2, p[0]), X3, p[1])
    return scale_by_w(a, ins[3][1][i], p[2])


def w_min_blend(p, a, ins, i):
    """Packed RGB w Min Blend: the nearer colour by depth, a seen through b
    with transparency A where b is nearer. A colour without value gives the
    other one, whatever the depths."""
    a, b = colour(ins[0], i), colour(ins[1], i)
    za, zb = ins[2][1][i], ins[3][1][i]
    if not has_value(a) and not has_value(b):
        return [MARKER] * 3
    if not has_value(b):
        return a
    if has_value(a) and za < zb:
        return a
    if has_value(a) and za >= zb and p[0] > 0:
        return [bc + (ac - bc) * p[0] for ac, bc in zip(a, b)]
    return b


PACKED = [
    # name, id, rule, accumulates, parameter sets, input 3 is a colour
    ("Packed Alpha *w", 14, packed_alpha_w, True,
     [(0, 0.5, 0.5), (0.5, 0.5, 0.5), (-0.3, 0.005, 1), (0.2, 0.9, 0)], False),
    ("Packed Add & Add *w", 18, packed_add_add, True,
     [(0.5, 0.5, 0.5), (0.5, 0.5, 0), (1, 0.25, 1), (0, 0.8, 0.3)], True),
    ("Packed RGB w Min Blend", 22, w_min_blend, False, [(0, -1, -1), (0.4, -1, -1),
                                                         (1, -1, -1)], False),
]


def number(rng, lo, hi):
    r = rng.random()
    if r < 0.12:
        return MARKER
    if r < 0.15:
        return float("nan")
    if r < 0.22:
        return rng.choice([0.0, 4.0, 8.0, 2.0, 6.0])
    return rng.uniform(lo, hi)


def random_link(rng, width, lo, hi):
    if width == 0:
        v = number(rng, lo, hi)
        return (0, [v] * 16 + [rng.uniform(-50, 50) for _ in range(48)])
    return (width, [number(rng, lo, hi) for _ in range(64)])


def fmt(v):
    return "nan" if math.isnan(v) else repr(v)


def packed_cases(tool):
    rng = random.Random(58)
    failures = 0
    for name, mid, rule, accumulates, params, colour3 in PACKED:
        passes = [(None, True), ((1, 0xFFF), not accumulates), ((1, 0xFFE), True),
                  ((0, 0xFFF), True)]
        batches, words = [], []
        for p in params:
            for pass_args, seeds in passes:
                for w1 in range(4):
                    for w2 in range(4):
                        w3 = rng.choice([1, 2, 3]) if colour3 else rng.choice([0, 1])
                        ins = [random_link(rng, w1, -2, 10), random_link(rng, w2, -2, 10),
                               random_link(rng, w3, -2, 10), random_link(rng, 1, -2, 10)]
                        previous = [[number(rng, -2, 10) for _ in range(16)] for _ in range(3)]
                        batches.append((p, pass_args, seeds, ins, previous))
                        words.append(f"params {p[0]!r} {p[1]!r} {p[2]!r}")
                        words.append(f"pass {pass_args[0]} {pass_args[1]}" if pass_args
                                     else "fresh")
                        words += [f"{w} " + " ".join(fmt(v) for v in d) for w, d in ins]
                        if pass_args:
                            words += [" ".join(fmt(v) for v in b) for b in previous]
        out = subprocess.run([tool, "--family", "9", "--stdin", str(mid), "0", "0", "0"],
                             input="\n".join(words) + "\n", check=True, capture_output=True,
                             text=True).stdout
        rows = [[float(v) for v in line.split()] for line in out.split("\n") if line.strip()]
        bad = 0
        for b, (p, pass_args, seeds, ins, previous) in enumerate(batches):
            got = rows[3 * b:3 * b + 3]
            for i in range(16):
                start = colour(ins[0], i) if seeds else [previous[k][i] for k in range(3)]
                want = rule(p, start, ins, i)
                for k in range(3):
                    g, w = got[k][i], want[k]
                    ok = (math.isnan(g) and math.isnan(w)) or abs(g - w) <= 1e-12 * (1 + abs(w))
                    if not ok:
                        if bad < 3:
                            print(f"{name} {p} pass={pass_args} sample {i} output {k + 1}: "
                                  f"program {g}, rules {w}; inputs "
                                  f"{[colour(link, i) for link in ins]} start {start}")
                        bad += 1
        if bad:
            failures += 1
    return failures


def main():
    tool = sys.argv[1]
    failures = values_cases(tool) + packed_cases(tool)
    print("f43/f44 oracle:", "ok" if failures == 0 else f"{failures} cases differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
