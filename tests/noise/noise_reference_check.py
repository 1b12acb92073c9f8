#!/usr/bin/env python3
"""Independent check of the lookup tables and the lattice noises.

Runs the noise_dump tool, reads the permutation it prints, rebuilds the
derived tables and recomputes frandom2D and fPerlinNoise2D on a grid and
every other lattice noise at points inside cells from their definitions,
then compares with what the tool printed (tables exactly after rounding the
float fields to 32 bits, frandom2D and fPerlinNoise2D to 1e-12, the other
members to 1e-9 relative).

Usage: noise_reference_check.py <path to noise_dump>
"""
import math
import struct
import subprocess
import sys

from random_vectors import random_vectors

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
    rnd = random_vectors(perm)
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


# ---- The other lattice noises, written from their definitions ----

def P1(perm, i):
    return perm[(perm[i & 1023] + (i >> 8)) & 1023]


def hp(perm, ix, iy):
    return (iy + perm[ix & 1023] + (ix >> 9)) & 255


def h3(perm, ix, iy, iz, mask):
    return (iy + perm[(iz + perm[ix & 1023] + (ix >> 9)) & 1023]) & mask


def ramp(n, t):
    u = 0.0 if t < 0 else (float(n) if t > 1 else n * t)
    a = u * u + 0.25 if u < 0.5 else u
    b = a - (n - 1)
    c = (2 - b) * b - 0.25 + (n - 1) if b > 0.5 else a
    return (c - 0.25) / (n - 0.5)


def tri(q, fx, fy):
    if fx > fy:
        return q[0, 0] * (1 - fx) + q[1, 1] * fy + q[1, 0] * (fx - fy)
    return q[0, 0] * (1 - fy) + q[1, 1] * fx + q[0, 1] * (fy - fx)


def blend2(q, wx, wy):
    return bilinear(q[0, 0], q[1, 0], q[0, 1], q[1, 1], wx, wy)


def blend3(q, wx, wy, wz):
    lo = bilinear(q[0, 0, 0], q[1, 0, 0], q[0, 1, 0], q[1, 1, 0], wx, wy)
    hi = bilinear(q[0, 0, 1], q[1, 0, 1], q[0, 1, 1], q[1, 1, 1], wx, wy)
    return lerp(lo, hi, wz)


C2 = [(0, 0), (1, 0), (0, 1), (1, 1)]
C3 = [(cx, cy, cz) for cz in (0, 1) for cy in (0, 1) for cx in (0, 1)]


class Cell:
    def __init__(self, tab, x, y, z):
        self.perm = tab['perm']
        self.ix, self.fx = split(x)
        self.iy, self.fy = split(y)
        self.iz, self.fz = split(z)

    def e2(self, offset=0, mask=1023):
        """Table entries of the four corners, H2 based: the y + 1 corner is
        the entry after the column's (offset) index."""
        return {(cx, cy): ((h2(self.perm, self.ix + cx, self.iy) + offset) & mask) + cy
                for cx, cy in C2}

    def ep(self, offset=0):
        return {(cx, cy): ((hp(self.perm, self.ix + cx, self.iy) + offset) & 255) + cy
                for cx, cy in C2}

    def e3(self, mask, offset=0):
        return {(cx, cy, cz): ((h3(self.perm, self.ix + cx, self.iy, self.iz + cz, mask)
                                + offset) & mask) + cy for cx, cy, cz in C3}

    def off2(self, cx, cy):
        return self.fx - cx, self.fy - cy

    def off3(self, cx, cy, cz):
        return self.fx - cx, self.fy - cy, self.fz - cz


def value1D(tab, x, weight):
    perm = tab['perm']
    i, f = split(x)
    return lerp(P1(perm, i), P1(perm, i + 1), weight(f))


def m_frandom3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    e = c.e3(1023)
    return [blend3({k: c.perm[v] for k, v in e.items()},
                   smooth(c.fx), smooth(c.fy), smooth(c.fz))]


def m_ftrirandom2D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    e = {(cx, cy): hp_wide(c.perm, c.ix + cx, c.iy) + cy for cx, cy in C2}
    return [tri({k: c.perm[v] for k, v in e.items()}, c.fx, c.fy)]


def hp_wide(perm, ix, iy):
    return (iy + perm[ix & 1023] + (ix >> 9)) & 1023


def m_ftrirandom3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    e = c.e3(1023)
    layers = [tri({(cx, cy): c.perm[e[cx, cy, cz]] for cx, cy in C2}, c.fx, c.fy)
              for cz in (0, 1)]
    return [lerp(layers[0], layers[1], c.fz)]


def m_frandom2DUnit(tab, x, y, z):
    c = Cell(tab, x, y, z)
    r = tab['rndVec3D']
    return [blend2({k: r[v][0] for k, v in c.e2().items()}, smooth(c.fx), smooth(c.fy))]


def m_frandom2DUnitgrain(tab, x, y, z):
    c = Cell(tab, x, y, z)
    r = tab['rndVec3D']
    e = c.e2()
    wx, wy = smooth(c.fx), smooth(c.fy)
    return [blend2({k: abs(r[v][0]) for k, v in e.items()}, wx, wy) *
            blend2({k: abs(r[v][1]) for k, v in e.items()}, wx, wy)]


def m_frandom2D_Unitlinear(tab, x, y, z):
    c = Cell(tab, x, y, z)
    r = tab['rndVec3D']
    q = {k: r[v][1] for k, v in c.e2().items()}
    wx, wy = ramp(20, c.fx), ramp(20, c.fy)
    d = wx + wy - 1
    if d < 0:
        return [wx * q[1, 0] + wy * q[0, 1] - d * q[0, 0]]
    return [(1 - wx) * q[0, 1] + (1 - wy) * q[1, 0] + d * q[1, 1]]


def grad_vector(tab, c, wx, wy, amp):
    g = tab['grad2D']
    e, e517 = c.e2(), c.e2(517)
    return [blend2({k: g[v][0] for k, v in e.items()}, wx, wy) * amp,
            blend2({k: g[v][1] for k, v in e.items()}, wx, wy) * amp,
            blend2({k: g[v][0] for k, v in e517.items()}, wx, wy) * amp]


def m_frandom2DVector2D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    return grad_vector(tab, c, smooth(c.fx), smooth(c.fy), 1.5)[:2]


def m_frandom2DVector3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    return grad_vector(tab, c, smooth(c.fx), smooth(c.fy), 1.5)


def m_flinrandomVector3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    return grad_vector(tab, c, c.fx, c.fy, 1.5)


def m_frandom3DVector3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    g = tab['grad2D']
    w = smooth(c.fx), smooth(c.fy), smooth(c.fz)
    e = c.e3(1023)
    # out 3: entry (H3 + 517) & 1023, its y + 1 neighbour (H3 + 518) & 1023.
    e3 = {(cx, cy, cz): (h3(c.perm, c.ix + cx, c.iy, c.iz + cz, 1023) + 517 + cy) & 1023
          for cx, cy, cz in C3}
    return [blend3({k: g[v][0] for k, v in e.items()}, *w) * 1.5,
            blend3({k: g[v][1] for k, v in e.items()}, *w) * 1.5,
            blend3({k: g[v][1] for k, v in e3.items()}, *w) * 1.5]


def m_flinrandomVector(tab, x, y, z):
    c = Cell(tab, x, y, z)
    u = tab['unitDir2D']
    e = {(cx, cy): (c.iy + c.perm[(c.ix + cx) & 1023] + ((c.ix + cx) >> 8) + cy) & 255
         for cx, cy in C2}
    return [tri({k: u[v][0] for k, v in e.items()}, c.fx, c.fy) * 1.5,
            tri({k: u[v][1] for k, v in e.items()}, c.fx, c.fy) * 1.5]


def grad_dot(tab, c, e):
    g = tab['grad2D']
    return {(cx, cy): g[e[cx, cy]][0] * (c.fx - cx) + g[e[cx, cy]][1] * (c.fy - cy)
            for cx, cy in C2}


def plane_dot(tab, c, e, with_offset=True):
    p = tab['planeVec3D']
    return {(cx, cy): p[e[cx, cy]][0] * (c.fx - cx) + p[e[cx, cy]][1] * (c.fy - cy)
            + (p[e[cx, cy]][2] if with_offset else 0.0) for cx, cy in C2}


def plane_dot3(tab, c, e):
    p = tab['planeVec3D']
    return {(cx, cy, cz): p[e[k]][0] * (c.fx - cx) + p[e[k]][1] * (c.fy - cy)
            + 4 * (c.fz - cz) * p[e[k]][2] for k in C3 for cx, cy, cz in [k]}


def rnd_dot2(tab, c, e):
    r = tab['rndVec3D']
    return {(cx, cy): r[e[cx, cy]][0] * (c.fx - cx) + r[e[cx, cy]][1] * (c.fy - cy)
            for cx, cy in C2}


def rnd_dot3(tab, c, e):
    r = tab['rndVec3D']
    return {(cx, cy, cz): r[e[k]][0] * (c.fx - cx) + r[e[k]][1] * (c.fy - cy)
            + r[e[k]][2] * (c.fz - cz) for k in C3 for cx, cy, cz in [k]}


def s2(t):
    return smooth(smooth(t))


def m_fPerlinNoise1D(tab, x, y, z):
    perm = tab['perm']
    i, f = split(x)
    g0, g1 = P1(perm, i) - 512, P1(perm, i + 1) - 512
    return [lerp(g0 * f, g1 * (f - 1), s2(f))]


def m_fPerlinNoise2D_cubed(tab, x, y, z):
    c = Cell(tab, x, y, z)
    g = tab['grad2D']
    e = c.e2()
    sx = -1 if c.ix & 1 else 1
    sy = -1 if c.iy & 1 else 1
    q = {}
    for cx, cy in C2:
        xt = g[e[cx, cy]][0] * ((1 - c.fx) if cx else c.fx)
        yt = g[e[cx, cy]][1] * ((1 - c.fy) if cy else c.fy)
        q[cx, cy] = sx * xt + sy * yt
    return [blend2(q, s2(c.fx), s2(c.fy))]


def m_fPerlinLFO(tab, x, y, z):
    c = Cell(tab, x, y, z)
    return [blend2(grad_dot(tab, c, c.e2()), smooth(c.fx), smooth(c.fy))]


def m_fPerlinNoise2D_DBL(tab, x, y, z):
    c = Cell(tab, x, y, z)
    w = smooth(c.fx), smooth(c.fy)
    return [blend2(grad_dot(tab, c, c.e2()), *w) * 1.5,
            blend2(grad_dot(tab, c, c.e2(333)), *w) * 1.5]


def m_fPerlinNoise2DVector3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    w = smooth(c.fx), smooth(c.fy)
    return [blend2(grad_dot(tab, c, c.e2(off)), *w) for off in (0, 320, 640)]


def unit2D(tab, c, weight):
    return blend2(plane_dot(tab, c, c.ep()), weight(c.fx), weight(c.fy))


def m_fUnitPerlinNoise2D(tab, x, y, z):
    return [unit2D(tab, Cell(tab, x, y, z), s2)]


def m_fRidgedPerlinNoise2D(tab, x, y, z):
    r = 1 - abs(unit2D(tab, Cell(tab, x, y, z), smooth))
    return [0.0 if r < 0 else r * r * 256]


def m_fSRidgednoise(tab, x, y, z):
    a = abs(40 * unit2D(tab, Cell(tab, x, y, z), smooth))
    if a < 0.5:
        a = a * a + 0.25
    r = 1 - 0.025 * a
    return [0.0 if r < 0 else r * r * 256]


def m_fsparcePerlinNoise2D(tab, x, y, z, d=-0.05):
    v = unit2D(tab, Cell(tab, x, y, z), s2) + d
    return [0.0 if v <= 0 else (v / (1 + d) ** 2) ** 2]


def m_fPerlinDunes(tab, x, y, z, k=0.3):
    c = Cell(tab, x, y, z)
    q = plane_dot(tab, c, c.ep(), with_offset=False)
    for cx, cy in C2:
        q[cx, cy] += k if (c.ix + cx) & 1 else -k
    return [blend2(q, smooth(c.fx), smooth(c.fy)) * (2 - k)]


def m_fPerlinNoise2DVector2D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    w = s2(c.fx), s2(c.fy)
    return [blend2(plane_dot(tab, c, c.ep(off)), *w) * 1.5 for off in (0, 123)]


def m_fUnitPerlinNoise3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    return [blend3(plane_dot3(tab, c, c.e3(255)), s2(c.fx), s2(c.fy), s2(c.fz))]


def m_fPerlinNoise3DVector3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    w = s2(c.fx), s2(c.fy), s2(c.fz)
    return [blend3(plane_dot3(tab, c, c.e3(255, off)), *w) * 1.5 for off in (0, 84, 167)]


def saw(f):
    return 0.5 - ramp(5, 2 * min(f, 1 - f))


def m_fUnitPerlinCracks3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    w = [ramp(5, 3 * (f - 0.5)) for f in (c.fx, c.fy, c.fz)]
    return [saw(c.fy) + blend3(rnd_dot3(tab, c, c.e3(1023)), *w)]


def m_fUnitPerlinSaw2D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    return [saw(c.fx) + blend2(rnd_dot2(tab, c, c.e2()), ramp(5, c.fx), ramp(5, c.fy))]


def m_fUnitPerlinSaw3D(tab, x, y, z):
    c = Cell(tab, x, y, z)
    w = [ramp(5, f) for f in (c.fx, c.fy, c.fz)]
    return [saw(c.fx) + blend3(rnd_dot3(tab, c, c.e3(1023)), *w)]


def m_frandom2D_Unitlinear2(tab, x, y, z):
    c = Cell(tab, x, y, z)
    w = [ramp(5, 3.5 * (f - 0.5)) for f in (c.fx, c.fy)]
    return [blend2(rnd_dot2(tab, c, c.e2()), *w)]


MEMBERS = {
    'frandom1D': lambda tab, x, y, z: [value1D(tab, x, smooth)],
    'frandom1D_linear': lambda tab, x, y, z: [value1D(tab, x, lambda f: f) - 511.5],
    'frandom1D_balanced': lambda tab, x, y, z: [value1D(tab, x, smooth) - 511.5],
    'fPerlinNoise1D': m_fPerlinNoise1D,
    'frandom3D': m_frandom3D,
    'ftrirandom2D': m_ftrirandom2D,
    'ftrirandom3D': m_ftrirandom3D,
    'frandom2DUnit': m_frandom2DUnit,
    'frandom2DUnitgrain': m_frandom2DUnitgrain,
    'frandom2D_Unitlinear': m_frandom2D_Unitlinear,
    'frandom2DVector2D': m_frandom2DVector2D,
    'frandom2DVector3D': m_frandom2DVector3D,
    'flinrandomVector3D': m_flinrandomVector3D,
    'frandom3DVector3D': m_frandom3DVector3D,
    'flinrandomVector': m_flinrandomVector,
    'fPerlinNoise2D_cubed': m_fPerlinNoise2D_cubed,
    'fPerlinLFO': m_fPerlinLFO,
    'fPerlinNoise2D_DBL': m_fPerlinNoise2D_DBL,
    'fPerlinNoise2DVector3D': m_fPerlinNoise2DVector3D,
    'fUnitPerlinNoise2D': m_fUnitPerlinNoise2D,
    'fRidgedPerlinNoise2D': m_fRidgedPerlinNoise2D,
    'fSRidgednoise': m_fSRidgednoise,
    'fsparcePerlinNoise2D': m_fsparcePerlinNoise2D,
    'fPerlinDunes': m_fPerlinDunes,
    'fPerlinNoise2DVector2D': m_fPerlinNoise2DVector2D,
    'fUnitPerlinNoise3D': m_fUnitPerlinNoise3D,
    'fPerlinNoise3DVector3D': m_fPerlinNoise3DVector3D,
    'fUnitPerlinCracks3D': m_fUnitPerlinCracks3D,
    'fUnitPerlinSaw2D': m_fUnitPerlinSaw2D,
    'fUnitPerlinSaw3D': m_fUnitPerlinSaw3D,
    'frandom2D_Unitlinear2': m_frandom2D_Unitlinear2,
}
MEMBER_TOLERANCE = 1e-9


def parse(lines):
    out = {'perm': None, 'tables': {}, 'noise': [], 'samples': []}
    for line in lines:
        f = line.split()
        if not f:
            continue
        if f[0] == 'perm':
            out['perm'] = [int(v) for v in f[1:]]
        elif f[0] in ('grad2D', 'planeVec3D', 'unitDir2D', 'rndVec3D'):
            out['tables'].setdefault(f[0], {})[int(f[1])] = tuple(float(v) for v in f[2:])
        elif f[0] == 'sample':
            out['samples'].append((f[1], [float(v) for v in f[2:5]],
                                   [float(v) for v in f[5:]]))
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

    for name, point, got in data['samples']:
        if name not in MEMBERS:
            failures.append('unknown member printed: %s' % name)
            continue
        want = MEMBERS[name](tab, *point)
        if len(got) != len(want) or any(
                abs(g - w) > MEMBER_TOLERANCE * max(1.0, abs(w)) for g, w in zip(got, want)):
            failures.append('%s%r: got %r, expected %r' % (name, tuple(point), got, want))
    seen = {name for name, _, _ in data['samples']}
    for name in MEMBERS:
        if name not in seen:
            failures.append('no samples printed for %s' % name)

    for f in failures[:40]:
        print('FAIL:', f)
    if failures:
        print('%d mismatches' % len(failures))
        return 1
    print('OK: tables, %d grid samples and %d member samples agree'
          % (len(data['noise']), len(data['samples'])))
    return 0


if __name__ == '__main__':
    sys.exit(main())
