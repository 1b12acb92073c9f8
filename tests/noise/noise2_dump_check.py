#!/usr/bin/env python3
"""Independent check of Jitter_Voron, Jitter_Circle and MFPV2d_procptr.

Runs the noise2_dump tool, reads the permutation it printed, rebuilds the
random-vector table from it and recomputes:
- Jitter_Voron and Jitter_Circle on a grid that includes negative (and
  negative whole) coordinates;
- MFPV2d_procptr with the toy body below and the default driver record
  (octave count as printed), for start frequencies inside the band, in the
  fade zone and beyond it.

Toy record body (two doubles), as the tool defines it:
  octave < 0:  out = (0.25, -0.5), state = 0.125
  octave 0:    out = (0.5x - 0.25y + 0.1z, 0.01xy), state = 1
  octave >= 1: out.x += weight (0.3x - 0.2y),
               out.y += weight (0.1y + 0.05 z octave),
               state = 0.5 state + weight

Usage: noise2_dump_check.py <path to noise2_dump>
"""
import math
import subprocess
import sys

from random_vectors import random_vectors

TOLERANCE = 1e-9

# Default driver record.
PHASE_FACTOR = 1.33
ROT_SIN = 0.5
ROT_COS = 0.866025
LACUNARITY = 2.0943951024
FADE = 0.5225351707258652


def cell(v):
    t = int(v)
    return t - 1 if v < 0 else t


def squared_distances(perm, rnd, x, y, jitter):
    i, j = cell(x), cell(y)
    out = []
    for c in (i - 1, i, i + 1):
        key = (j - 1) + perm[c & 1023] + (c >> 9)
        base = key & 1023
        for n, r in enumerate((j - 1, j, j + 1)):
            v = rnd[base + n]
            px = c + 0.5 + jitter * v[0]
            py = r + 0.5 + jitter * v[1]
            dx, dy = x - px, y - py
            out.append(dx * dx + dy * dy)
    return out


def voron(perm, rnd, x, y):
    q = squared_distances(perm, rnd, x, y, 0.3825)
    f1 = min([1.5] + q)
    f2 = min([1.5] + [d for d in q if d > f1])
    return f2 - f1


def circle(perm, rnd, x, y):
    q = squared_distances(perm, rnd, x, y, 0.3825)
    return math.sqrt(min([1.0] + q))


def toy_body(x, y, z, state, weight, octave, out):
    if octave < 0:
        out[0], out[1] = 0.25, -0.5
        return 0.125
    if octave == 0:
        out[0] = 0.5 * x - 0.25 * y + 0.1 * z
        out[1] = 0.01 * x * y
        return 1.0
    out[0] += weight * (0.3 * x - 0.2 * y)
    out[1] += weight * (0.1 * y + 0.05 * z * octave)
    return 0.5 * state + weight


def mfpv2d(octaves, x, y, z, phase, f0, fmax, gain):
    """Returns (out.x, out.y, second output)."""
    out = [0.0, 0.0]
    state = 0.0
    if octaves < 1:
        return out[0], out[1], state
    weight, k, f, p = 1.0, 0, f0, phase
    while f <= fmax:
        state = toy_body((x + p) * f, y * f, z * f, state, weight, k, out)
        weight *= gain
        f *= LACUNARITY
        if ROT_SIN != 0:
            x, y = (x - p) * ROT_COS - y * ROT_SIN + p, (x - p) * ROT_SIN + y * ROT_COS
        p = p * PHASE_FACTOR + math.pi / 2
        k += 1
        if k >= octaves:
            return out[0], out[1], state
    t = (f - fmax) / (f * FADE)
    if k >= 1:
        if t < 1:
            saved, saved_state = list(out), state
            state = toy_body((x + p) * f, y * f, z * f, state, weight, k, out)
            out = [out[n] + (saved[n] - out[n]) * t for n in range(2)]
            state = state + (saved_state - state) * t
    else:
        far = [0.0, 0.0]
        far_state = toy_body(0.0, 0.0, 0.0, 0.0, weight, -1, far)
        if t < 1:
            state = toy_body((x + p) * f, y * f, z * f, state, weight, 0, out)
            out = [out[n] + (far[n] - out[n]) * t for n in range(2)]
            state = state + (far_state - state) * t
        else:
            out, state = far, far_state
    return out[0], out[1], state


def close(a, b):
    return abs(a - b) <= TOLERANCE * max(1.0, abs(a), abs(b))


def main():
    text = subprocess.run([sys.argv[1]], check=True, capture_output=True,
                          text=True).stdout
    perm = None
    failures = 0
    checked = {'voron': 0, 'circle': 0, 'mfpv2d': 0}
    rnd = None
    for line in text.splitlines():
        fields = line.split()
        if not fields:
            continue
        kind, values = fields[0], fields[1:]
        if kind == 'perm':
            perm = [int(v) for v in values]
            assert len(perm) == 1024, 'perm must have 1024 entries'
            rnd = random_vectors(perm)
            continue
        if kind in ('voron', 'circle'):
            x, y, got = (float(v) for v in values)
            want = (voron if kind == 'voron' else circle)(perm, rnd, x, y)
            if not close(got, want):
                failures += 1
                print(f'{kind}({x}, {y}): tool {got!r}, reference {want!r}')
            checked[kind] += 1
        elif kind == 'mfpv2d':
            octaves = int(values[0])
            x, y, z, phase, f0, fmax, gain, ox, oy, second = (float(v) for v in values[1:])
            want = mfpv2d(octaves, x, y, z, phase, f0, fmax, gain)
            got = (ox, oy, second)
            if not all(close(g, w) for g, w in zip(got, want)):
                failures += 1
                print(f'mfpv2d(oct {octaves}, {x}, {y}, {z}, {phase}, {f0}, {fmax}, '
                      f'{gain}): tool {got}, reference {want}')
            checked['mfpv2d'] += 1
    if perm is None or min(checked.values()) == 0:
        print('the tool printed no values to check:', checked)
        return 1
    print('checked', checked, 'failures', failures)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
