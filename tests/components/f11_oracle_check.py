#!/usr/bin/env python3
"""Independent check of eleven f11 members.

Re-implements, from their formulas alone, Smooth floor, Contrast, Quantize,
Split & stretch, Mirror, Saw and Saw wave, and, with the permutation that
`contact_sheet --perm` prints, Grains, Smooth Steps, every mode of Tech
Waves and of Variable Steps (and one mode outside each list). Each is
compared with what the program computes over a grid of -pi..pi, printed by
`contact_sheet --family 1 --values ID A B C N` as "x y out" lines, input 1
being fed x. The parameters make the lattice coordinates run through many
cells on both sides of 0. None of these members uses the table sine, so the
values agree to rounding.

Usage: f11_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

PI = math.pi
TWO_PI = 2 * math.pi
MARKER = 1e250
N = 41  # 41 x 41 samples of -pi..pi; one input, so 41 distinct x


def smooth(t):
    return t * t * (3 - 2 * t)


def smooth_clamped(t):
    if t < 0:
        return 0.0
    if t > 1:
        return 1.0
    return smooth(t)


def cell(v):
    """Lattice cell: trunc(v), one less below 0 (a negative whole number
    lies in the cell below it)."""
    return math.trunc(v) if v >= 0 else math.trunc(v) - 1


class Perm:
    def __init__(self, values):
        self.p = values

    def __getitem__(self, i):
        return self.p[i & 1023]

    def h(self, n):
        return self.p[((n >> 8) + self.p[n & 1023]) & 1023]


# ---- Shaping and waves -----------------------------------------------------

def smoothfloor(A, B, C, perm):
    F, R, W = A, max(A + 0.1, B), C
    K3 = 1.0 if C == 0 else 1 / C

    def f(x):
        if W == 0:
            return F if x < F else (R if x > R else x)
        if x >= F + W:
            low = x
        elif x >= F - W:
            t = (x - F) * K3 * 0.5 + 0.5
            low = F + W * t * t
        else:
            low = F
        r = R - low
        if r >= W:
            h = r
        elif r >= -W:
            t = r * K3 * 0.5 + 0.5
            h = W * t * t
        else:
            h = 0.0
        return R - h
    return f


def contrast(A, B, C, perm):
    K1 = 1 - A
    K2 = B - 4
    K3 = 800000.0 if K1 == 0 else 1 / (8 * K1)

    def f(x):
        if K1 == 0:
            s = x + K2
            y = -8.0 if s < 0 else (8.0 if s > 0 else 0.0)
            return y - K2
        v = (x + K2) * K3
        y = -8.0 if v < -1 else (8.0 if v > 1 else 8 * v)
        return y - K2
    return f


def quantize(A, B, C, perm):
    K1 = 1 / A
    C = max(C, 0.0)
    K2 = 24 - 23 * C * (2 - C)

    def f(x):
        u = A * x
        k = float(cell(u))
        if C <= 0:
            q = k * K1
        else:
            q = (k - 1 + smooth_clamped((u - k) * K2)) * K1
        return x + B * (q - x)
    return f


def split_stretch(A, B, C, perm):
    K3 = max(0.001, A * C)

    def f(x):
        s = x + B
        if s < 0:
            v = s + A
            t = (K3 + v) / (2 * K3)
            if t <= 0:
                return v
            return (2 - t) * t * K3 - K3 if t < 1 else 0.0
        v = s - A
        t = (K3 + v) / (2 * K3)
        if t <= 0:
            return 0.0
        return K3 * t * t if t < 1 else v
    return f


def slidemirror(A, B, C, perm):
    if C < 0.0001:
        C, K1, K2 = 0.0001, 10000.0, 0.0001
    elif C > 1:
        C, K1, K2 = 1.0, 1.0, 1.0
    else:
        K1, K2 = 1 / C, C

    def f(x):
        if B >= 0:
            m = 2 * B - x if x > B else x
            edge = B
        else:
            m = x - 2 * B if x < B else -x
            edge = -B
        if C > 0:
            d = (edge - m) * K1
            if d < 0.5:
                m = edge - (d * d + 0.25) * K2
        return A * m
    return f


def saw(A, B, C, perm):
    K1 = A + 0.5
    K2 = 1 / (A + 0.25)

    def f(x):
        s = x + B
        if s <= 0 or s >= K1:
            return 0.0
        if s < 0.25:
            return C * smooth(4 * s)
        return C * (1 - smooth((s - 0.25) * K2))
    return f


def saw_wave(A, B, C, perm):
    K3 = C / (PI / 2)

    def f(x):
        theta = A * x + B
        r = math.fmod(theta, TWO_PI)
        if theta < 0:
            r += TWO_PI
        d = r if r <= PI else TWO_PI - r
        return (d - PI / 2) * K3
    return f


# ---- Noises ----------------------------------------------------------------

def grains(A, B, C, perm):
    K1 = A / 2
    K2 = 8 - 7 * B

    def grain_at(u, n):
        p = perm[n]
        if p <= 512:
            return 0.0
        q = perm[p + (n >> 8)]
        jitter = (q & 255) * 0.0037
        d = abs((u - 0.5 - n - jitter) * K2)
        return 0.25 - d if d < 0.25 else 0.0

    def f(x):
        u = x * K1
        i = cell(u)
        g = 4 * (grain_at(u, i) + grain_at(u, i - 1))
        return C * smooth(g)
    return f


def smoothsteps(A, B, C, perm):
    K2 = B / 2048
    K3 = 1 / C
    K4 = B / 1024

    def level(u, j, R):
        fr = u - j
        top = float(j) if R == 0 else j + R * perm.h(j + 773)
        if fr > 0.5:
            return top
        low = (j - 1) + R * perm.h(j + 772)
        return low + (top - low) * smooth(2 * fr)

    def amount(v, k, R):
        if R <= 0:
            return 1.0
        g = v - k
        b1 = perm.h(k + 3153) & 1
        if g > 0.5:
            m = float(b1)
        else:
            b0 = perm.h(k + 3152) & 1
            m = b0 + smooth(2 * g) * (b1 - b0)
        return (m - 1) * R + 1

    def f(x):
        u = C * x
        if K2 > 0:
            i = cell(u)
            fr = u - i
            h0, h1 = perm.h(i), perm.h(i + 1)
            u = u + K2 * (h0 + smooth(fr) * (h1 - h0) - 512)
        lv = level(u, cell(u), K4)
        am = amount(u / 2, cell(u / 2), B)
        return x + am * A * (lv * K3 - x)
    return f


# ---- Tech waves ------------------------------------------------------------

def gen_a(perm, n, d):
    return 1.0 if n & 1 else -1.0


def gen_b(perm, n, d):
    return [0.0, 1.0, 0.0, -1.0][n & 3]


def gen_saw(perm, n, d):
    return [-1.0, -0.33333333, 0.33333333, 1.0][n & 3]


def gen_c(perm, n, d):
    m = n & 7
    return 1.0 if m == 0 else (-1.0 if m == 4 else 0.0)


def gen_sp(perm, n, d):
    return 1.0 if n & 15 == 0 else -0.06666666666666667


def gen_alt(perm, n, d):
    if n & 15 in (8, 9, 10):
        return 1.0
    return -0.25 if n & 3 == 1 else -0.5


def gen_period8(perm, n, d):
    return perm[perm[n & 7]] / 512 - 1


def gen_period16(perm, n, d):
    return perm[perm[n & 15]] / 512 - 1


def gen_rnd(perm, n, d):
    return perm.h(n) / 512 - 1


def gen_rstep(perm, n, d):
    r = perm.h(n >> 3) & 7
    if r == 0:
        return float(n)
    if r <= 2:
        return float(n & ~1)
    if r <= 5:
        return float(n & ~3)
    return float(n & ~7)


def gen_rstep_b(perm, n, d):
    r = perm.h(n >> 3) & 7
    return [float(n), float(n & ~7), float(n & ~1), (n & ~1) + 0.37,
            (n & ~3) - 1.15, float(n & ~3), (n & ~3) + 1.37, d][r]


def gen_rstep_c(perm, n, d):
    q = perm.h(n >> 2)
    e = (q - 512) / 256
    a = (n & ~3) + e
    return a if q % 2 == 0 else min(a, (n & ~1) + e / 2)


TECH_MODES = [(g, k) for g in (gen_a, gen_b, gen_saw, gen_c, gen_sp, gen_alt,
                               gen_period8, gen_period16, gen_rnd)
              for k in (8.0, 4.0, 2.0)]
VSTEP_MODES = [(gen_rstep, 4.0), (gen_rstep, 2.0), (gen_rstep, 1.0),
               (gen_rstep_b, 4.0), (gen_rstep_b, 2.0), (gen_rstep_b, 1.0),
               (gen_rstep_c, 2.0), (gen_rstep_c, 1.0)]


def sequence(gen, K1, K2, C, perm):
    def f(x):
        u = x * C
        i = math.trunc(u) if u >= 0 else math.trunc(u - 1)
        p0, p1 = gen(perm, i, u), gen(perm, i + 1, u)
        v = p0
        if p0 != p1:
            v = p0 + smooth_clamped((u - i) * K2) * (p1 - p0)
        return v * K1
    return f


def tech_wave(A, B, C, perm):
    m = math.trunc(A)
    gen, k2 = TECH_MODES[m] if 0 <= m < len(TECH_MODES) else (gen_a, 8.0)
    return sequence(gen, B, k2, C, perm)


def variable_steps(A, B, C, perm):
    m = math.trunc(A)
    gen, k2 = VSTEP_MODES[m] if 0 <= m < len(VSTEP_MODES) else (gen_rstep, 8.0)
    return sequence(gen, B / C, k2, C, perm)


# ---- Cases -----------------------------------------------------------------

CASES = [
    (49, smoothfloor, [(0, 2, 0.125), (-1, 1.5, 0.6), (0.5, 0.2, 0), (-2, -1.5, 1.2)]),
    (42, contrast, [(0.5, 0, -1), (1, 4.3, -1), (-0.5, 5, -1), (0.9, 3, -1)]),
    (32, quantize, [(1, 1, 0), (2.5, 0.7, 0.3), (3, 1, 1), (4, 0.5, -0.2)]),
    (39, split_stretch, [(2, 0, 0.5), (1, 0.7, 0.2), (0.5, -1, 0)]),
    (43, slidemirror, [(1, 1, 0), (2, -0.8, 0.3), (1.5, 0.4, 2), (1, -2, 0.5)]),
    (46, saw, [(2, 0, 4), (0.5, 1, 3), (4, -2.5, 1)]),
    (9, saw_wave, [(1, 0, PI / 2), (2.5, 1, 3), (-1.5, -7, 2)]),
    (36, grains, [(4 / PI, 0.5, 2), (8, 0.1, 3), (5, 0.9, 1)]),
    (45, smoothsteps, [(0.9, 1, 1), (1, 0, 2), (0.5, 0.6, 3), (1, 1, 8)]),
    (56, tech_wave, [(m, 1.5, 3) for m in range(28)]),
    (57, variable_steps, [(m, 2, 5) for m in range(9)]),
]


def run(tool, args):
    out = subprocess.run([tool] + args, check=True, capture_output=True, text=True)
    return out.stdout


def close(a, b):
    if a >= MARKER or b >= MARKER:
        return a == b
    return abs(a - b) <= 1e-9 * (1 + abs(b))


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    tool = sys.argv[1]
    perm = Perm([int(v) for v in run(tool, ["--perm"]).split()])
    if len(perm.p) != 1024 or sorted(perm.p) != list(range(1024)):
        print("--perm did not print a permutation of 0..1023")
        return 1
    failures = 0
    for member, make, params in CASES:
        for A, B, C in params:
            f = make(A, B, C, perm)
            text = run(tool, ["--family", "1", "--values", str(member), repr(A), repr(B),
                              repr(C), str(N)])
            lines = [l.split() for l in text.splitlines() if l.strip()]
            if len(lines) != N * N:
                print(f"id {member} ({A}, {B}, {C}): {len(lines)} lines, expected {N * N}")
                failures += 1
                continue
            for cols in lines:
                x, got = float(cols[0]), float(cols[-1])
                want = f(x)
                if not close(got, want):
                    failures += 1
                    if failures <= 20:
                        print(f"id {member} ({A}, {B}, {C}) x {x!r}: program {got!r}, "
                              f"oracle {want!r}")
    if failures:
        print(f"{failures} differences")
        return 1
    print("f11 oracle: all values agree")
    return 0


if __name__ == "__main__":
    sys.exit(main())
