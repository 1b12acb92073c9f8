#!/usr/bin/env python3
"""Independent check of the lookup tables and two lattice noises.

Runs the noise_dump tool, reads the permutation it prints, rebuilds the
derived tables and recomputes frandom2D and fPerlinNoise2D from their
definitions, then compares with what the tool printed (tables exactly after
rounding the float fields to 32 bits, noise values to 1e-12).

Usage: noise_reference_check.py <path to noise_dump>
"""
import math
import struct
import subprocess
import sys

TOLERANCE = 1e-12


def to_float32(v):
    return struct.unpack('<f', struct.pack('<f', v))[0]


def derive_tables(perm):
    perm = list(perm[:1024]) + [perm[0]]
    grad = []
    for i in range(1024):
        grad.append((to_float32(perm[i] - 511.5),
                     to_float32(perm[(perm[i] + 73) & 1023] - 511.5)))
    grad.append(grad[0])
    plane, unit = [], []
    for i in range(256):
        a = (perm[i] % 360) * 0.017453292519943295
        plane.append((math.cos(a), math.sin(a),
                      (perm[(i + 643) & 1023] - 511.5) * 0.00048828125))
        unit.append((to_float32(math.cos(a) * 0.25), to_float32(math.sin(a) * 0.25)))
    plane.append(plane[0])
    rnd = []
    for i in range(1024):
        rnd.append((perm[i] * 0.001953125 - 1,
                    perm[(perm[i] + 333) & 1023] * 0.001953125 - 1,
                    perm[(i + 512) & 1023] * 0.001953125 - 1))
    rnd.append(rnd[0])
    rnd.append(rnd[1])
    return {'perm': perm, 'grad2D': grad, 'planeVec3D': plane,
            'unitDir2D': unit, 'rndVec3D': rnd}


def split(v):
    i = int(v)  # truncation toward zero
    if v < 0:
        i -= 1
    return i, v - i


def h2(perm, ix, iy):
    return (iy + perm[ix & 1023] + (ix >> 8)) & 1023


def smooth(t):
    return (3 - 2 * t) * t * t


def lerp(a, b, w):
    return a + (b - a) * w


def bilinear(q00, q10, q01, q11, wx, wy):
    return lerp(lerp(q00, q10, wx), lerp(q01, q11, wx), wy)


def frandom2D(tab, x, y):
    perm = tab['perm']
    ix, fx = split(x)
    iy, fy = split(y)
    a = h2(perm, ix, iy)
    b = h2(perm, ix + 1, iy)
    return bilinear(perm[a], perm[b], perm[a + 1], perm[b + 1], smooth(fx), smooth(fy))


def fPerlinNoise2D(tab, x, y):
    g = tab['grad2D']
    perm = tab['perm']
    ix, fx = split(x)
    iy, fy = split(y)
    a = h2(perm, ix, iy)
    b = h2(perm, ix + 1, iy)

    def dot(k, cx, cy):
        return g[k][0] * (fx - cx) + g[k][1] * (fy - cy)

    return bilinear(dot(a, 0, 0), dot(b, 1, 0), dot(a + 1, 0, 1), dot(b + 1, 1, 1),
                    smooth(smooth(fx)), smooth(smooth(fy)))


def parse(lines):
    out = {'perm': None, 'tables': {}, 'noise': []}
    for line in lines:
        f = line.split()
        if not f:
            continue
        if f[0] == 'perm':
            out['perm'] = [int(v) for v in f[1:]]
        elif f[0] in ('grad2D', 'planeVec3D', 'unitDir2D', 'rndVec3D'):
            out['tables'].setdefault(f[0], {})[int(f[1])] = tuple(float(v) for v in f[2:])
        elif f[0] in ('frandom2D', 'fPerlinNoise2D'):
            out['noise'].append((f[0], float(f[1]), float(f[2]), float(f[3])))
    return out


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    text = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout
    data = parse(text.splitlines())
    failures = []
    perm = data['perm']
    if perm is None or len(perm) != 1025:
        print('FAIL: the tool printed no permutation of 1025 entries')
        return 1
    if sorted(perm[:1024]) != list(range(1024)):
        failures.append('perm[0..1023] is not a permutation of 0..1023')
    tab = derive_tables(perm)
    if perm[1024] != tab['perm'][1024]:
        failures.append('perm[1024] does not repeat perm[0]')

    table_sizes = {'grad2D': 1025, 'planeVec3D': 257, 'unitDir2D': 256, 'rndVec3D': 1026}
    for name, size in table_sizes.items():
        printed = data['tables'].get(name, {})
        if len(printed) < size:
            failures.append('%s: %d entries printed, %d expected' % (name, len(printed), size))
        for i, got in printed.items():
            if i >= len(tab[name]):
                continue
            want = tab[name][i]
            if any(abs(g - w) > TOLERANCE for g, w in zip(got, want)) or len(got) != len(want):
                failures.append('%s[%d]: got %r, expected %r' % (name, i, got, want))

    functions = {'frandom2D': frandom2D, 'fPerlinNoise2D': fPerlinNoise2D}
    for name, x, y, got in data['noise']:
        want = functions[name](tab, x, y)
        if abs(got - want) > TOLERANCE:
            failures.append('%s(%r, %r): got %r, expected %r' % (name, x, y, got, want))
    if len(data['noise']) < 100:
        failures.append('too few noise samples printed: %d' % len(data['noise']))

    for f in failures[:40]:
        print('FAIL:', f)
    if failures:
        print('%d mismatches' % len(failures))
        return 1
    print('OK: tables and %d noise samples agree' % len(data['noise']))
    return 0


if __name__ == '__main__':
    sys.exit(main())
