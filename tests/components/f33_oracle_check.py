#!/usr/bin/env python3
"""Independent check of f33 point transforms, perspective surfaces, colour
operations and packed compositing members.

Recomputes from the members' formulas alone:
- over the `contact_sheet --family 8 --values ID A B C N` grid (x, y over
  -pi..pi; the point members fed z = (y + pi)/(2 pi), the colour operations
  the colour (4 + 4x/pi, 4 + 4y/pi, 4); each line "x y inputs... o1 o2 o3"):
  3D Rotate, 3D sphere A, 3D tube, 3D sphere B, 3D parametric face, RGB
  Contrast, RGB Quantize, HLS to RGB (through colorsys), Colorize and
  Saturation & Lum, each at a few parameter sets; the colour operations,
  3D Rotate and sphere A again through --stdin on values past the sheet's
  feed (negative, large, the edge cases' own) with no-value markers on x;
- through `contact_sheet --family 8 --stdin ID A B C [--pass C M]` (batches of
  16 samples, each input a width and 64 numbers): Packed RGB Crossfade, RGB
  Alpha, Add, Max, Add & Mul and Mul & Add, fed random scalar, uniform,
  packed RGB and RGBA inputs with no-value markers, seeded from input 1 or,
  inside a loop's later passes under the loop mark 0xfff, carrying the
  previous pass's outputs.

The perspective surfaces see from the view origin (0, 0, 0) with the view
depth 0 (a member alone in its tree); a zero or non-finite denominator, root
or ray parameter is no hit.

Usage: f33_oracle_check.py CONTACT_SHEET_TOOL
"""
import colorsys
import math
import random
import subprocess
import sys

FAMILY = "8"
INF = 1e250
PI = math.pi
F = 4 * PI  # the viewing distance of the perspective surfaces
MARKER3 = (INF, INF, INF)
LOOP_MASK = 0xFFF


def clamp(v, lo, hi):
    return lo if v < lo else (hi if v > hi else v)


def finite(*values):
    return all(math.isfinite(v) for v in values)


# ---- Point transforms and perspective surfaces (inputs x, y, z) ----

def rotate(x, y, z, A, B, C):
    k0, k1, k2, k3 = math.cos(A), math.sin(A), math.cos(B), math.sin(B)
    cc, sc = math.cos(C), math.sin(C)
    t = k2 * x - k3 * z
    u = k3 * x + k2 * z
    o1 = k0 * t - k1 * y
    w = k0 * y + k1 * t
    return (o1, cc * w - sc * u, cc * u + sc * w)


def sphere_a(x, y, z, A, B, C):
    R = PI * PI + 0.125
    D = 4 * R * R - 4 * (x * x + y * y + R * R - (C * z + PI * PI))
    if D > 0:
        h = (2 * R - math.sqrt(D)) / 2 - R
        k0, k1 = math.cos(A), math.sin(A)
        return (k0 * x + k1 * h, B * y, k0 * h - k1 * x)
    return (2 * x, 2 * y, 16 * PI)


def nearest_positive(r1, r2):
    """Both roots positive: the smaller; else the larger, a hit only when
    positive and finite."""
    if not finite(r1, r2):
        return None
    t = min(r1, r2) if r1 > 0 and r2 > 0 else max(r1, r2)
    return t if t > 0 else None


def tube(x, y, z, A, B, C):
    dx, dy = x, y
    p, q = -A, -B
    g = p * p + q * q - C * C
    a = dx * dx + dy * dy
    b = 2 * (p * dx + q * dy)
    D = b * b - 4 * g * a - 4 * z
    if D < 0 or a == 0:
        return MARKER3
    s = math.sqrt(D)
    t = nearest_positive((-b - s) / (2 * a), (s - b) / (2 * a))
    if t is None:
        return MARKER3
    return (t * dx, t * dy, t * F - 16)


def sphere_b(x, y, z, A, B, C):
    dx, dy = x, y
    p, q, w = -A, -B, -16 + C
    L = math.sqrt(dx * dx + dy * dy + 16 * PI * PI)
    b = 2 * (p * dx + q * dy + w * F) / L
    D = b * b - 4 * (p * p + q * q + w * w - PI * PI) - 4 * z
    if not D > 0:
        return MARKER3
    s = math.sqrt(D)
    t = nearest_positive(-b - s, s - b)
    if t is None:
        return MARKER3
    s = t / (2 * L)
    return (s * dx, s * dy, s * F - 16)


def parametric_face(x, y, z, A, B, C):
    k0, k1, k2, k3 = math.cos(A), math.sin(A), math.cos(B), math.sin(B)
    dx, dy = x, y
    w = -16 + C
    P = (0 * k3 + w * k2) * k0
    denominator = dx * k1 + (dy * k3 + F * k2) * k0
    if denominator == 0:
        return MARKER3
    t = -(P + z) / denominator
    if not (math.isfinite(t) and t > 0):
        return MARKER3
    o1 = (dx * k0 - k1 * k3 * dy - k1 * k2 * F) * t + (-w * k1 * k2)
    o2 = (dy * k2 - F * k3) * t + (-k3 * w)
    if not (abs(o1) < PI and abs(o2) < PI):
        return MARKER3
    return (o1, o2, t * F - 16)


# ---- Colour operations (inputs R, G, B on the scale where 8 is full) ----

def contrast(r, g, b, A, B, C):
    o = B - 4
    if A != 1:
        k = 1 / (8 * (1 - A))
        return tuple(clamp(8 * (c + o) * k, -8, 8) - o for c in (r, g, b))

    def step(c):
        v = c + o
        return (-8 if v < 0 else (0 if v == 0 else 8)) - o
    return tuple(step(c) for c in (r, g, b))


def quantize(r, g, b, A, B, C):
    if A == 0:
        return (r, g, b)

    def level(c):
        v = A * (c + B)
        n = math.trunc(v) if v >= 0 else math.trunc(v - 1)
        return c + (n / A - c) * C
    return tuple(level(c) for c in (r, g, b))


def hls_to_rgb(x, y, z, A, B, C):
    h = 45 * A * x
    if h >= 0:
        h = h - 360 * math.trunc(h / 360)
    else:
        h = 360 + h + 360 * math.trunc(-h / 360)
    L = clamp((32 * y - 127) * B + 127, 0, 255)
    S = clamp((32 * z - 127) * C + 127, 0, 255)
    rgb = colorsys.hls_to_rgb((h / 360) % 1.0, L / 255, S / 255)
    return tuple(255 * c / 32 for c in rgb)


def colorize_weights(B, C):
    k = [1.0, 1.0, 1.0]
    if B >= 0:
        k[1] = k[2] = 1 - 0.875 * B
    else:
        k[0] = 1 + 0.875 * B
    if C < 0:
        k[2] *= 1 + 0.875 * C
    else:
        k[0] *= 1 - 0.875 * C
        k[1] *= 1 - 0.875 * C
    scale = 1.7320508075688772 / math.sqrt(sum(v * v for v in k))
    return [v * scale for v in k]


def colorize(x, y, z, A, B, C):
    k = colorize_weights(B, C)
    grey = (1.5 * x + 2 * y + z) * 0.2222222222222222
    return tuple(c + (kc * grey - c) * A for c, kc in zip((x, y, z), k))


def saturation(x, y, z, A, B, C):
    grey = (6 * x + 7 * y + 3 * z) / 16
    return tuple(clamp(((c - grey) * A + grey) * B, 0, 8) for c in (x, y, z))


# id, formula, parameter sets (A, B, C), grid size
VALUE_CASES = [
    (2, rotate, [(PI / 2, 0, 0), (0.7, -1.3, 2.1)], 9),
    (8, sphere_a, [(0, 1, 0), (0.6, 1.5, 0.8)], 9),
    (12, tube, [(0, 0, 2 * PI), (1.5, -0.5, 3), (4, 2, 1)], 9),
    (14, sphere_b, [(0, 0, 0), (1.2, -0.7, 3)], 9),
    (40, parametric_face, [(0.5, -0.4, 2), (2.0, 1.0, -5), (0, PI / 2, 0)], 9),
    (38, contrast, [(1, 0, -1), (0.9, -3, -1)], 9),
    (39, quantize, [(2.7, 0.3, 0.6), (0.125, -4, 1)], 9),
    (7, hls_to_rgb, [(1, 1, 1), (0.4, 1.7, 0.3)], 9),
    (34, colorize, [(1, 0, 0), (0.3, -0.8, 0.9)], 9),
    (50, saturation, [(0, 1, -1), (0.4, 1.6, -1)], 9),
]


def close(a, b):
    if a >= INF or b >= INF:
        return a == b
    return abs(a - b) <= 1e-9 + 1e-9 * abs(b)


def check_values(tool):
    failures = 0
    for member, formula, params, n in VALUE_CASES:
        for A, B, C in params:
            out = subprocess.run([tool, "--family", FAMILY, "--values", str(member),
                                  repr(A), repr(B), repr(C), str(n)],
                                 check=True, capture_output=True, text=True).stdout
            lines = out.split("\n")[:-1]
            assert len(lines) == n * n, (member, len(lines))
            for line in lines:
                v = [float(w) for w in line.split()]
                x, y, fed, got = v[0], v[1], v[2:-3], v[-3:]
                inputs = (x, y, fed[0]) if len(fed) == 1 else tuple(fed)
                want = formula(*inputs, A, B, C)
                if not all(close(g, w) for g, w in zip(got, want)):
                    failures += 1
                    if failures <= 12:
                        print(f"id {member} A={A} B={B} C={C} inputs {inputs}: "
                              f"got {got}, want {list(want)}")
    return failures


# ---- Packed members through --stdin ----

class Link:
    """One input: a width (0 uniform and 1 scalar, both widened to three
    equal channels; 2 packed RGB; 3 packed RGBA) and 64 numbers, channel c of
    sample i at 16c + i."""

    def __init__(self, width, data):
        self.width, self.data = width, data

    def colour(self, i):
        if self.width <= 1:
            return [self.data[i]] * 3
        return [self.data[i], self.data[16 + i], self.data[32 + i]]


def crossfade(o, c2, c3, A, B, C):
    if o[0] >= INF:
        o = list(c2) if c2[0] < INF else list(MARKER3)
    elif c2[0] < INF:
        o = [v + (w - v) * A for v, w in zip(o, c2)]
    if c3[0] < INF:
        # A working colour without a value lets input 3 pass whole, as it
        # lets input 2: blending from the marker would leave a huge
        # non-colour such as 5e249.
        o = list(c3) if o[0] >= INF else [v + (w - v) * B for v, w in zip(o, c3)]
    return o


def rgb_alpha(o, c2, c3, A, B, C):
    k0 = 8 * A
    k1 = max(0.005, 8 * B)
    k2 = k0 + k1
    alpha = c3
    if o[0] >= INF and c2[0] >= INF:
        if alpha[0] >= INF:
            return list(MARKER3)
    elif alpha[0] >= INF:
        return o
    if o[0] >= INF:
        o = [0.0, 0.0, 0.0]
    if c2[0] >= INF:
        return o
    out = list(o)
    for c in range(3):
        a = alpha[c]
        if a >= k2:
            out[c] = c2[c]
        elif a > k0:
            out[c] = o[c] + (a - k0) / k1 * (c2[c] - o[c])
    return out


def add(o, c2, c3, A, B, C):
    if o[0] >= INF and c2[0] >= INF and c3[0] >= INF:
        return list(MARKER3)
    out = [0.0, 0.0, 0.0]
    for level, colour in ((A, o), (B, c2), (C, c3)):
        if colour[0] < INF:
            out = [v + level * w for v, w in zip(out, colour)]
    return out


def maximum(o, c2, c3, A, B, C):
    out = list(o)
    for c in range(3):
        values = (o[c], c2[c], c3[c])
        if all(v >= INF for v in values):
            continue
        out[c] = max(0.0 if v >= INF else level * v
                     for level, v in zip((A, B, C), values))
    return out


def add_mul(o, c2, c3, A, B, C):
    if o[0] >= INF and c2[0] >= INF and c3[0] >= INF:
        return list(MARKER3)
    if o[0] < INF:
        if c2[0] < INF:
            o = [A * v + B * w for v, w in zip(o, c2)]
    else:
        o = [B * w for w in c2]
    if c3[0] < INF:
        if o[0] >= INF:
            o = list(c3)
        else:
            o = [v + (m * v * 0.25 - v) * C for v, m in zip(o, c3)]
    return o


def mul_add(o, c2, c3, A, B, C):
    if o[0] >= INF and c2[0] >= INF and c3[0] >= INF:
        return list(MARKER3)
    if o[0] >= INF:
        r = list(c2)
    elif c2[0] >= INF:
        r = list(o)
    else:
        m = [A * v for v in o]
        r = [mv + (w * mv * 0.25 - mv) * B for mv, w in zip(m, c2)]
    if c3[0] < INF:
        if r[0] >= INF:
            r = [C * w for w in c3]
        else:
            r = [v + C * w for v, w in zip(r, c3)]
    return r


# id, rule, parameter sets (A, B, C)
PACKED_CASES = [
    (9, crossfade, [(0.5, 0.5, -1), (1, 0, -1), (0.2, 0.9, -1), (0, 1, -1)]),
    (10, rgb_alpha, [(0, 0.5, -1), (0.3, 0.2, -1), (-0.5, 0, -1), (0.9, 1, -1)]),
    (15, add, [(1, 1, 1), (0.5, 1.5, 0.25), (2, 0, 1.2)]),
    (16, maximum, [(1, 1, 1), (0.5, 1.5, 0.25), (2, 0.7, 0)]),
    (33, add_mul, [(0.5, 0.5, 0.5), (1, 0.2, 1), (0, 1, 0.8)]),
    (36, mul_add, [(0.5, 0.5, 0.5), (1, 0.2, 1), (0.8, 1, 0)]),
]


def random_value(rng):
    """Mostly colours around the scale, some negatives, some markers."""
    roll = rng.random()
    if roll < 0.12:
        return INF
    if roll < 0.16:
        return 0.0
    return rng.uniform(-3, 11)


def random_link(rng):
    """A uniform input holds one value in every sample, as its source writes
    it; the member may read any sample of it."""
    width = rng.choice((0, 1, 2, 3))
    if width == 0:
        return Link(0, [random_value(rng)] * 64)
    return Link(width, [random_value(rng) for _ in range(64)])


def batch_text(links, previous, directive):
    lines = [directive] if directive else []
    for link in links:
        lines.append(f"{link.width} " + " ".join(repr(v) for v in link.data))
    if previous is not None:
        for block in previous:
            lines.append(" ".join(repr(v) for v in block))
    return "\n".join(lines)


def stdin_mismatches(tool, member, first_params, texts, wants):
    """Feeds the batch texts to one member through --stdin, started at the
    parameter set `first_params`, and yields each sample whose three outputs
    miss the wanted ones as (A, B, C, batch, sample, got, want); `wants` holds
    (A, B, C, 16 wanted triples) per batch."""
    A, B, C = first_params
    out = subprocess.run([tool, "--family", FAMILY, "--stdin", str(member),
                          repr(A), repr(B), repr(C)],
                         input="\n".join(texts) + "\n", check=True,
                         capture_output=True, text=True).stdout
    rows = [[float(w) for w in line.split()] for line in out.split("\n")[:-1]]
    assert len(rows) == 3 * len(wants), (member, len(rows))
    for k, (A, B, C, want) in enumerate(wants):
        for i in range(16):
            got = [rows[3 * k + c][i] for c in range(3)]
            if not all(close(g, w) for g, w in zip(got, want[i])):
                yield A, B, C, k, i, got, want[i]


def run_packed(tool, member, rule, params, rng, batches=4):
    """Runs one member on `batches` random batches at each parameter set (a
    "params" line before the set's first batch), every other batch as a
    later pass of a loop (counter 0, 1 or 2 under mask 0xfff or 0xffe, with
    given previous outputs); returns the count of wrong samples."""
    texts, wants = [], []
    for A, B, C in params:
        for k in range(batches):
            links = [random_link(rng) for _ in range(3)]
            previous = None
            directive = "fresh"
            carries = False
            if k % 2 == 1:
                counter = rng.choice((0, 1, 2))
                mask = rng.choice((LOOP_MASK, 0xFFE))
                directive = f"pass {counter} {mask}"
                previous = [[rng.uniform(-2, 9) for _ in range(16)] for _ in range(3)]
                carries = counter != 0 and mask == LOOP_MASK
            if k == 0:
                directive = f"params {A!r} {B!r} {C!r}\n" + directive
            want = []
            for i in range(16):
                c1, c2, c3 = (link.colour(i) for link in links)
                o = [previous[c][i] for c in range(3)] if carries else list(c1)
                want.append(rule(o, c2, c3, A, B, C))
            texts.append(batch_text(links, previous, directive))
            wants.append((A, B, C, want))
    failures = 0
    for A, B, C, k, i, got, want in stdin_mismatches(tool, member, params[0], texts, wants):
        failures += 1
        if failures <= 6:
            print(f"id {member} A={A} B={B} C={C} batch {k} sample {i}: "
                  f"got {got}, want {want}")
    return failures


def check_packed(tool):
    rng = random.Random(33)
    return sum(run_packed(tool, member, rule, params, rng)
               for member, rule, params in PACKED_CASES)


# ---- The same formulas through --stdin, past the sheet's feed ----

def with_marker_rule(formula):
    """A sample whose input 1 has no value gives none on all three outputs
    (inputs 2 and 3 are not tested)."""
    def member(x, y, z, A, B, C):
        return MARKER3 if x >= INF else formula(x, y, z, A, B, C)
    return member


# Values the edge cases name (quantisation steps, the HLS hue turn, the
# contrast step at c + o = 0), mixed with random ones.
SPECIAL = (0.0, 4.0, 8.0, -8.0, 2.7, -0.5, -2.0, 16.0, -16.0)

# id, formula, parameter sets; every formula takes the no-value rule on x
STDIN_CASES = [
    (2, rotate, [(0.3, -2.2, 1.1)]),
    (8, sphere_a, [(0.4, 1.2, 0.9)]),
    (38, contrast, [(1, 0, -1), (0, 0, -1), (-0.4, 1.5, -1)]),
    (39, quantize, [(1, 0, 1), (3.1, -0.7, 0.8), (0, 0, 1)]),
    (7, hls_to_rgb, [(1, 1, 1), (1.9, 0.6, 1.4)]),
    (34, colorize, [(0.6, -0.3, 0.5), (1, 0.9, -0.9)]),
    (50, saturation, [(0.7, 1.3, -1), (1, 2, -1)]),
]


def random_scalar(rng, marker):
    roll = rng.random()
    if marker and roll < 0.1:
        return INF
    if roll < 0.35:
        return rng.choice(SPECIAL)
    return rng.uniform(-12, 20)


def check_stdin_formulas(tool):
    rng = random.Random(8)
    failures = 0
    for member, formula, params in STDIN_CASES:
        rule = with_marker_rule(formula)
        texts, wants = [], []
        for A, B, C in params:
            for k in range(3):
                inputs = [[random_scalar(rng, j == 0) for _ in range(16)] for j in range(3)]
                lines = [f"params {A!r} {B!r} {C!r}"] if k == 0 else []
                lines += ["1 " + " ".join(repr(v) for v in block + [0.0] * 48)
                          for block in inputs]
                texts.append("\n".join(lines))
                wants.append((A, B, C, [rule(inputs[0][i], inputs[1][i], inputs[2][i], A, B, C)
                                        for i in range(16)]))
        for A, B, C, k, i, got, want in stdin_mismatches(tool, member, params[0], texts, wants):
            failures += 1
            if failures <= 12:
                print(f"id {member} A={A} B={B} C={C} batch {k} sample {i}: "
                      f"got {got}, want {list(want)}")
    return failures


def main():
    tool = sys.argv[1]
    value_failures = check_values(tool) + check_stdin_formulas(tool)
    packed_failures = check_packed(tool)
    print(f"f33 oracle: {value_failures} wrong formula samples, "
          f"{packed_failures} wrong packed samples")
    return 1 if value_failures or packed_failures else 0


if __name__ == "__main__":
    sys.exit(main())
