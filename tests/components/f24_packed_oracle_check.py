#!/usr/bin/env python3
"""Independent check of the seven f24 packed compositing members.

Re-implements, from the packed-link conventions and the members' rules
alone, how each member widens its two inputs (scalar, uniform, packed RGB or
RGBA), seeds its four outputs from input 1 (or keeps the previous pass's
outputs inside a loop), mixes input 2 in sample by sample, honours the
altitude-only flag and the no-value marker; feeds random inputs with markers
(1e250) and NaN to `contact_sheet --family 10 --stdin ID A B C` one batch of
16 samples at a time, and compares all four output blocks.

Usage: f24_packed_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import random
import subprocess
import sys

FAMILY = 10
INF = 1e250
N = 16
LOOP_MASK = 0xFFF


def smoothstep(t):
    """0 below 0, 1 above 1, else (3 - 2t) t^2. A NaN weight (a NaN alpha
    fed) is read as 0: no coverage."""
    if not t >= 0:
        return 0.0
    if t > 1:
        return 1.0
    return (3 - 2 * t) * t * t


class Link:
    """One input: a channel width and 64 numbers, channel c of sample i at
    16c + i. Widths 0 and 1 are scalar."""

    def __init__(self, width, data):
        self.width, self.data = width, data

    def kind(self):
        return "scalar" if self.width <= 1 else ("rgb" if self.width == 2 else "rgba")

    def colour(self, i):
        if self.kind() == "scalar":
            return [self.data[i]] * 3
        return [self.data[i], self.data[16 + i], self.data[32 + i]]

    def fourth(self, i):
        return self.data[48 + i]

    def alpha(self, i):
        """a2 as the alpha members read it: the fourth block, the red
        channel of an RGB link, the value of a scalar one."""
        return self.fourth(i) if self.kind() == "rgba" else self.data[i]


def blend(out, c2, w):
    for c in range(3):
        out[c] = out[c] + (c2[c] - out[c]) * w


# ---- The members: each returns its four outputs for one sample ----
# `out` is the working colour [r, g, b, fourth] as seeded (or as the last
# pass left it); `seed` tells whether the seeding test seeded it.

def seed_fourth(member, in1, i, A):
    """Output 4 as seeded: the fourth block of an RGBA input 1 (times A in
    Add); otherwise the member's own rule."""
    if member == "compose":
        return 0.0
    if in1.kind() == "rgba":
        return A * in1.fourth(i) if member == "add" else in1.fourth(i)
    if member == "max":
        return in1.data[i]
    if member == "blend":
        return 1.0
    return 0.0


def crossfade(p, in1, in2, out, i, flag):
    A = p["A"]
    if in2.kind() == "rgba":
        a2 = in2.fourth(i)
        if out[3] >= INF:
            out[:] = in2.colour(i) + [a2]
        elif a2 < INF:
            out[3] = out[3] + (a2 - out[3]) * A
            blend(out, in2.colour(i), A)
    else:
        blend(out, in2.colour(i), A)


def add(p, in1, in2, out, i, flag):
    B = p["B"]
    c2 = in2.colour(i)
    if in2.kind() == "rgba":
        a2 = in2.fourth(i)
        if a2 >= INF:
            return
        out[3] = out[3] + B * a2
        if not flag:
            for c in range(3):
                out[c] = max(0.0, out[c] + B * c2[c])
    else:
        for c in range(3):
            out[c] = out[c] + B * c2[c]


def alpha_max(p, in1, in2, out, i, flag):
    A, B, C = p["A"], p["B"], p["C"]
    k0, k1, k3 = 2 * A, -2 * A, 8 * C
    k2 = 10000.0 if k3 < 0.0001 else 1 / k3
    L = (out[3] if out[3] < INF else -4.0) + k0
    a2 = in2.alpha(i)
    if a2 >= INF:
        return
    H = k1 + a2 + B * L
    if C > 0:
        # A NaN alpha makes d NaN: it feathers nothing, as d <= 0.
        d = k3 * 0.25 + H - L
        if not d > 0:
            out[3], w = L, 0.0
        else:
            t = d * k2
            if t < 0.5:
                w, out[3] = 2 * t, t * t * k3 + L
            else:
                w, out[3] = 1.0, H
    elif H > L:
        out[3], w = H, 1.0
    else:
        out[3], w = L, 0.0
    if not flag and w > 0:
        blend(out, in2.colour(i), w)


def alpha_blend(p, in1, in2, out, i, flag):
    A, B, C = p["A"], p["B"], p["C"]
    k0 = -16 * A
    a2 = in2.alpha(i)
    if not a2 < INF:
        return
    w = 1.0 if a2 >= 4.0 else smoothstep((a2 - k0) / (4 - k0))
    out[3] = out[3] + (a2 + (4 - a2) * C + out[3] * B - out[3]) * w
    if not flag and w > 0:
        blend(out, in2.colour(i), w)


def compose(p, in1, in2, out, i, flag):
    A, B = p["A"], p["B"]
    k0 = 2500.0 if A < 0.0001 else 1 / (4 * A)
    k1 = 2500.0 if B < 0.0001 else 1 / (4 * B)
    if not in1.data[i] >= INF:
        t = in1.fourth(i) * k0 if in1.kind() == "rgba" else k0
        w = smoothstep(t)
        out[3] = out[3] + (4 - out[3]) * w
        if not flag and w > 0:
            blend(out, in1.colour(i), w)
    if not in2.data[i] >= INF:
        a2 = in2.alpha(i)
        w = smoothstep(a2 * k1)
        T = a2 + 4 if a2 > 0 else 4.0
        out[3] = out[3] + (T - out[3]) * w
        if not flag and w > 0:
            blend(out, in2.colour(i), w)


def alpha_mul(p, in1, in2, out, i, flag):
    A, B, C = p["A"], p["B"], p["C"]
    kind = in2.kind()
    if kind == "scalar":
        v = in2.data[i]
        v = 0.0 if v >= INF else v
        w = smoothstep(v + C)
        out[3] = (B + out[3]) * w
        if not flag:
            for c in range(3):
                out[c] = out[c] * w
    elif kind == "rgba":
        a2 = in2.fourth(i)
        if a2 >= INF:
            return
        s = B + out[3]
        out[3] = s * 0.25 * (a2 + C) if s > 0 else s * 0.25 * C
        if not flag:
            m = A * out[3]
            if m >= 1:
                blend(out, in2.colour(i), 1.0)
            elif m > 0:
                blend(out, in2.colour(i), m)
    elif not flag:
        blend(out, in2.colour(i), A)


def alpha_min(p, in1, in2, out, i, flag):
    a2 = in2.alpha(i)
    if out[3] > a2:
        out[:] = in2.colour(i) + [a2]


MEMBERS = {
    # id: (name, rule, parameter sets A, B, C)
    14: ("crossfade", crossfade, [(0.5, -1, -1), (0.0, -1, -1), (1.0, -1, -1), (0.3, -1, -1)]),
    15: ("max", alpha_max, [(0, 0, 0.5), (0.4, 0.5, 0.2), (-0.5, 1, 0), (0.2, 0.3, 0.00001)]),
    16: ("blend", alpha_blend, [(0.25, 0, 1), (0.5, 0.3, 0.4), (0, 1, 0), (1, 0.7, 0.9)]),
    35: ("compose", compose, [(1, 1, 0.28), (0.00005, 0.5, 0.6), (0.3, 0.00001, 0.1)]),
    44: ("add", add, [(1, 1, -1), (0.5, -1.5, -1), (2, 2, -1)]),
    45: ("mul", alpha_mul, [(0.5, 0, 0), (0.8, 1.5, -1), (0.2, -2, 2), (1, 0.5, 0.5)]),
    55: ("min", alpha_min, [(-1, -1, -1)]),
}


def seeded_outputs(member, in1, p, background):
    """The outputs as seeding leaves them: four lists of 16."""
    outs = []
    for i in range(N):
        if member == "compose":
            outs.append(list(background) + [0.0])
            continue
        col = in1.colour(i)
        if member == "add":
            col = [p["A"] * c for c in col]
        outs.append(col + [seed_fourth(member, in1, i, p["A"])])
    return outs


def expected(mid, p, in1, in2, flag, previous, seeds, background):
    member, rule, _ = MEMBERS[mid]
    outs = seeded_outputs(member, in1, p, background) if seeds else \
        [[previous[k][i] for k in range(4)] for i in range(N)]
    for i in range(N):
        rule(p, in1, in2, outs[i], i, flag)
    return [[outs[i][k] for i in range(N)] for k in range(4)]


# ---- Random inputs ----

def value(rng, lo, hi):
    r = rng.random()
    if r < 0.12:
        return INF
    if r < 0.15:
        return float("nan")
    if r < 0.22:
        return rng.choice([0.0, 4.0, -4.0, 8.0, 1.0])
    return rng.uniform(lo, hi)


def random_link(rng, width):
    if width == 0:
        v = value(rng, -3, 11)
        return Link(0, [v] * 16 + [rng.uniform(-100, 100) for _ in range(48)])
    data = [value(rng, -3, 11) for _ in range(48)] + [value(rng, -7, 9) for _ in range(16)]
    return Link(width, data)


def fmt(v):
    return "nan" if math.isnan(v) else repr(v)


def link_text(link):
    return str(link.width) + " " + " ".join(fmt(v) for v in link.data)


def batch_text(batch):
    """The words of one batch: its directives, its inputs and, inside a
    pass, the outputs the previous pass left."""
    p, flag, pass_args, in1, in2, previous = batch
    words = [f"params {p['A']!r} {p['B']!r} {p['C']!r}", f"altitude-only {int(flag)}"]
    words.append(f"pass {pass_args[0]} {pass_args[1]}" if pass_args else "fresh")
    words += [link_text(in1), link_text(in2)]
    if pass_args:
        words += [" ".join(fmt(v) for v in block) for block in previous]
    return "\n".join(words)


def run(tool, mid, batches):
    """Runs member mid on the batches in one process; four output blocks
    of 16 per batch."""
    args = [tool, "--family", str(FAMILY), "--stdin", str(mid), "0", "0", "0"]
    text = "\n".join(batch_text(b) for b in batches) + "\n"
    out = subprocess.run(args, input=text, check=True, capture_output=True, text=True).stdout
    rows = [[float(v) for v in line.split()] for line in out.split("\n") if line.strip()]
    return [rows[4 * b:4 * b + 4] for b in range(len(batches))]


def background_of(tool, params):
    """The background colours Packed Alpha Compose seeds with (a palette
    colour chosen by C): what it gives when both inputs carry the marker."""
    marked = Link(1, [INF] * 64)
    got = run(tool, 35, [(p, False, None, marked, marked, None) for p in params])
    return [[g[0][0], g[1][0], g[2][0]] for g in got]


def same(a, b):
    if math.isnan(a) or math.isnan(b):
        return math.isnan(a) and math.isnan(b)
    return abs(a - b) <= 1e-12 * (1 + abs(b))


# (iteration counter, loop mark) of a run and whether the member seeds there.
PASSES = [(None, True), ((1, LOOP_MASK), False), ((1, 0xFFE), True), ((0, LOOP_MASK), True),
          ((2, 0x1FFF), True)]


def check_member(tool, mid, rng):
    member, _, params = MEMBERS[mid]
    params = [{"A": A, "B": B, "C": C} for A, B, C in params]
    backgrounds = background_of(tool, params) if member == "compose" else [None] * len(params)
    batches, seeds_of, background_of_batch = [], [], []
    for p, background in zip(params, backgrounds):
        for flag in (False, True):
            for pass_args, seeds in PASSES:
                for w1 in range(4):
                    for w2 in range(4):
                        previous = [[value(rng, -3, 11) for _ in range(N)] for _ in range(4)]
                        batches.append((p, flag, pass_args, random_link(rng, w1),
                                        random_link(rng, w2), previous))
                        seeds_of.append(seeds)
                        background_of_batch.append(background)
    got = run(tool, mid, batches)
    failures = 0
    for batch, seeds, background, g in zip(batches, seeds_of, background_of_batch, got):
        p, flag, pass_args, in1, in2, previous = batch
        want = expected(mid, p, in1, in2, flag, previous, seeds, background)
        bad = [(k, i) for k in range(4) for i in range(N) if not same(g[k][i], want[k][i])]
        if bad:
            failures += 1
            if failures <= 4:
                k, i = bad[0]
                print(f"id {mid} ({member}) {p} flag={flag} pass={pass_args} widths "
                      f"{in1.width},{in2.width} sample {i} output {k + 1}: program {g[k][i]}, "
                      f"rules {want[k][i]}; in1 {[in1.data[i + 16 * c] for c in range(4)]} "
                      f"in2 {[in2.data[i + 16 * c] for c in range(4)]} "
                      f"previous {[previous[c][i] for c in range(4)]}")
    return len(batches), failures


def main():
    tool = sys.argv[1]
    rng = random.Random(2024)
    checked = failures = 0
    for mid in MEMBERS:
        n, bad = check_member(tool, mid, rng)
        checked += n
        failures += bad
    print(f"f24 packed oracle: {checked} batches,",
          "ok" if failures == 0 else f"{failures} differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
