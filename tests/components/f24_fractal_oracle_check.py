#!/usr/bin/env python3
"""Independent check of the f24 fractal-noise members.

Re-implements, from their formulas alone:
- the far values of the fifteen driver members (what they show when the
  start frequency lies beyond the band limit) for random A, B and C, all
  four outputs; the dunes' colour follows a slow noise P1, so for them the
  check is that one P1 explains both of its colour outputs;
- " Fractal facets" in full: the four-value octave driver (octaves while
  f <= fmax, the point turned about (p, 0) after each, the phase advanced,
  and the octave past the band limit blended in by 1 - d) with the facet
  body over the printed permutation and random vectors, at a pixel density
  where three octaves and a fading fourth run.

The program's values come from
`f24_fractal_values --density R [--tables] --values ID A B C N ...`
as "x y o1 o2 o3 o4" lines after a "# member ID" line per group. The document's fractal settings are the
defaults: 16 octaves, lacunarity 2.0943951024, fade divisor 1 - 1/L, phase
factor 1.33, rotation sine 0.5 and cosine 0.866025.

Usage: f24_fractal_oracle_check.py VALUES_TOOL
"""
import math
import random
import subprocess
import sys

LAC = 2.0943951024
FADE = 1 - 1 / LAC
PHASE = 1.33
SIN, COS = 0.5, 0.866025
OCTAVES = 16
N = 12
TOL = 1e-9


def run(tool, groups, density, tables=False):
    """The tool's output for groups of (member, A, B, C): the named table
    lines and, per group, its rows."""
    args = [tool, "--density", repr(density)]
    if tables:
        args.append("--tables")
    args.append("--values")
    for member, a, b, c in groups:
        args += [str(member), repr(a), repr(b), repr(c), str(N)]
    out = subprocess.run(args, check=True, capture_output=True, text=True).stdout
    named, blocks = {}, []
    for line in out.splitlines():
        if line.startswith("# member"):
            blocks.append([])
        elif line.startswith("# "):
            parts = line[2:].split()
            named[parts[0]] = [float(v) for v in parts[1:]]
        else:
            blocks[-1].append([float(v) for v in line.split()])
    return named, blocks


# ---- Far values --------------------------------------------------------------

def far_l0(k0, colour, altitude):
    return (8 * colour[0], 8 * colour[1], 8 * colour[2], k0 * altitude)


def clouds_far(a, b, c):
    k0 = 0.75 * a + 2
    cover_a = 0.15 * k0
    cover = min(max(cover_a, 0.0), 1.0)
    grey = 9 - 1.5 * b - 0.15 * k0
    sky = (6 - 4.4 * (1.3 * b), 7 - 3.2 * (1.3 * b), 8 - 1.5999999999999996 * (1.3 * b))
    return tuple(s + (grey - s) * cover for s in sky) + (2 * cover_a,)


# id: (A range, far outputs of (A, B, C))
FAR = {
    10: ((-16, 16), lambda a, b, c: far_l0(a, (0.46, 0.42, 0.39), 0.5)),
    11: ((-16, 16), lambda a, b, c: far_l0(4 * a, (0.5, 0.5, 0.5), 0.25)),
    12: ((0, 8), lambda a, b, c: far_l0(2 * a, (0.5, 0.5, 0.5), 0)),
    31: ((0, 8), lambda a, b, c: far_l0(a, (0.5, 0.5, 0.5), 0)),
    39: ((-16, 16), lambda a, b, c: far_l0(2 * a, (0.5, 0.5, 0.5), 0)),
    30: ((-16, 16), lambda a, b, c: far_l0(2 * a, (0.6, 0.5, 0.4), 0.5)),
    47: ((-8, 8), lambda a, b, c: (4.8, 4.8, 4.8, 0.7 * a)),
    13: ((-16, 16), lambda a, b, c: far_l0(1.5 * a, (0.5, 0.5, 0.5), 0.25)),
    26: ((-16, 16), lambda a, b, c: far_l0(a, (0.5, 0.5, 0.5), 0.25)),
    27: ((0, 16), lambda a, b, c: (6.4, 6.0, 6.0, (0 - 0.05) * a / 2)),
    46: ((-16, 16), lambda a, b, c: far_l0(a, (0.45, 0.6, 0.45), 0.45)),
    48: ((-16, 16), lambda a, b, c: far_l0(a, (0.75, 0.65, 0.55), 0.25)),
    53: ((0, 8), lambda a, b, c: (8 * 0.47, 8 * 0.47, 8 * 0.2, (0.3 - 0.05) * 2 * a)),
    54: ((0, 4), clouds_far),
}


def check_far(tool, rng):
    groups = []
    for member, (arange, _) in sorted(FAR.items()) + [(25, ((-16, 16), None))]:
        for _ in range(3):
            groups.append((member, rng.uniform(*arange), rng.uniform(0, 1),
                           rng.uniform(0.5, 16)))
    _, blocks = run(tool, groups, 1e-4)
    failures = 0
    for (member, a, b, c), rows in zip(groups, blocks):
        for row in rows:
            if member == 25:
                failures += check_dunes_far(row, a)
                continue
            got, want = row[2:], FAR[member][1](a, b, c)
            if any(abs(g - w) > TOL * (1 + abs(w)) for g, w in zip(got, want)):
                failures += 1
                if failures < 5:
                    print(f"far value of {member} A={a} B={b} C={c} at {row[:2]}: "
                          f"{got} != {want}")
    return failures


def check_dunes_far(row, a):
    r, g, b, alt = row[2:]
    p1 = (0.9 - g / 8) / 0.04
    want = (8.0, 8 * (0.5 + 0.15 * p1), 0.2 * 2 * a)
    got = (r, b, alt)
    if all(abs(x - y) <= 1e-7 * (1 + abs(y)) for x, y in zip(got, want)) and abs(p1) < 3:
        return 0
    print(f"dunes far value at {row[:2]}: {got} != {want} (P1 {p1})")
    return 1


# ---- Fractal facets in full --------------------------------------------------

def split(u):
    if not (-2147483648.0 < u < 2147483648.0):
        return None
    t = int(u)
    if u < 0:
        t -= 1
    return t, u - t


def smooth(u):
    if u <= 0:
        return 0.0
    if u >= 1:
        return 1.0
    return u * u * (3 - 2 * u)


def facet_body(perm, vec, x, y, w, state, weight, octave, acc):
    if octave <= 0:
        acc[:] = [0.25, 0.5, 0.5, 0.5]
    if octave < 0:
        return state
    sx, sy = split(x), split(y)
    if sx is None or sy is None:
        return state
    (ix, fx), (iy, fy) = sx, sy
    m = 1.0
    for cx in (ix - 1, ix, ix + 1):
        first = (perm[cx & 1023] + (iy - 1) + (cx >> 9)) & 1023
        for n, cy in enumerate((iy - 1, iy, iy + 1)):
            v = vec[first + n]
            dx = cx + 0.5 - x + 0.33 * v[0]
            dy = cy + 0.5 - y + 0.33 * v[1]
            m = min(m, dx * dx + dy * dy)
    q = 1.5 * smooth(w * m)
    if octave == 0:
        acc[0] = m
        state = q
    else:
        acc[0] += m * state * weight
        state = q * state
    c = 0.05 if q < 0.1 else (0.5 * q if q <= 1 else 0.5)

    wx, wy = smooth(fx), smooth(fy)
    h00 = (perm[ix & 1023] + iy + (ix >> 8)) & 1023
    h10 = (perm[(ix + 1) & 1023] + iy + ((ix + 1) >> 8)) & 1023
    q00, q10 = vec[h00][0], vec[h10][0]
    q01, q11 = vec[h00 + 1][0], vec[h10 + 1][0]
    top = q00 + (q10 - q00) * wx
    bottom = q01 + (q11 - q01) * wx
    shade = top + (bottom - top) * wy
    acc[1] += 0.3 * c * shade
    acc[2] += 0.35 * c * shade
    acc[3] += 0.4 * c * shade
    return state


def four_value_driver(body, x, y, w, f0, fmax, gain):
    """The four-value octave driver with phase 0 and z = 0."""
    acc = [0.0] * 4
    state = 0.0
    weight, o, f, p = 1.0, 0, f0, 0.0
    while f <= fmax:
        state = body((x + p) * f, y * f, w, state, weight, o, acc)
        xs = x - p
        x, y = xs * COS - y * SIN + p, y * COS + xs * SIN
        o += 1
        weight *= gain
        f *= LAC
        p = p * PHASE + math.pi / 2
        if o >= OCTAVES:
            return acc
    d = (f - fmax) / (f * FADE)
    if o >= 1 and d < 1:
        saved = list(acc)
        state = body((x + p) * f, y * f, w, state, weight, o, acc)
        acc[:] = [v + (s - v) * d for v, s in zip(acc, saved)]
    elif o == 0:
        raise AssertionError("the facet check runs octaves")
    return acc


def check_facets(tool, rng):
    failures = 0
    for _ in range(3):
        a, b, c = rng.uniform(-16, 16), rng.uniform(0, 1), rng.uniform(0.5, 16)
        f0 = max(c / 4, 1e-7)
        fmax = f0 * LAC ** 2.5  # three octaves and a fading fourth
        named, blocks = run(tool, [(11, a, b, c)], 2 * fmax, tables=True)
        rows = blocks[0]
        perm = [int(v) for v in named["perm"]]
        flat = named["vectors"]
        vec = [flat[3 * i:3 * i + 3] for i in range(1024)]
        vec += [vec[0], vec[1]]
        w = 7 * b + 1

        def body(x, y, ww, state, weight, octave, acc):
            return facet_body(perm, vec, x, y, ww, state, weight, octave, acc)

        for row in rows:
            acc = four_value_driver(body, row[0], row[1], w, f0, fmax, 0.5)
            want = (8 * acc[1], 8 * acc[2], 8 * acc[3], 4 * a * acc[0])
            got = row[2:]
            if any(abs(g - v) > TOL * (1 + abs(v)) for g, v in zip(got, want)):
                failures += 1
                if failures < 5:
                    print(f"facets A={a} B={b} C={c} at {row[:2]}: {got} != {want}")
    return failures


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    tool = sys.argv[1]
    rng = random.Random(4924)
    failures = check_far(tool, rng) + check_facets(tool, rng)
    if failures:
        print(f"{failures} samples differ")
        return 1
    print("f24 fractal-noise far values and facets agree")
    return 0


if __name__ == "__main__":
    sys.exit(main())
