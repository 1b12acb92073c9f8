#!/usr/bin/env python3
"""Independent check of the theme filter's terrain helpers and rock bodies.

Re-implements, from their definitions alone, the strata and red-rock
lattice hashes, the saw-ridged value noise and single octave steps of the
saw-rock bodies B, C, D, Erosion and the sparse rock body (its accumulator
included), and compares them with the values `contact_sheet --bodies`
prints at negative, whole and fractional coordinates, to 1e-12.

Usage: f44_terrain_oracle_check.py CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

TOLERANCE = 1e-12


def floor_split(v):
    if not math.isfinite(v):
        return None
    f = math.floor(v)
    if not (-2147483648.0 <= f < 2147483648.0):
        return None
    return int(f), v - f


def wrap32(v):
    v &= 0xFFFFFFFF
    return v - (1 << 32) if v >= (1 << 31) else v


class Lattice:
    def __init__(self, perm):
        self.perm = perm + [perm[0]]

    def p(self, i):
        return self.perm[i & 1023]

    def density(self, n):
        if n & 4:
            h = (n >> 10) + self.p(n >> 2)
        else:
            h = (n >> 9) + self.p(n >> 1)
        a = self.p(h) - 512
        b = self.p((n >> 8) + self.p(n)) - 512
        return (a + b) * 0.5 * 0.0013020833333333333

    def redrocks(self, i, j, k):
        s, t = i >> 2, i >> 11
        p1 = self.p(s)
        p2 = self.p(s + p1 + t)
        return self.p(t + s + p2) * 0.0009765625

    def redrocks2(self, i, j, k):
        if j & 31 == 0:
            return 0.05
        s = i >> 2
        p1 = self.p(i >> 3)
        p2 = self.p(s + p1 + (i >> 12))
        return self.p(s + p2 + (i >> 11)) * 0.0009765625

    def saw(self, x, y, z):
        sx, sy, sz = floor_split(x), floor_split(y), floor_split(z)
        if sx is None or sy is None or sz is None:
            return 0.0
        (ix, fx), (iy, fy), (iz, fz) = sx, sy, sz
        s = min(fy, 1 - fy)
        t = 0.0 if 2 * s < 0 else (5.0 if 2 * s > 1 else 10 * s)
        if t < 0.5:
            t = t * t + 0.25
        u = t - 4
        shaped = (2 - u) * u - 0.25 + 4 if u > 0.5 else t
        ridge = (0.5 - (shaped - 0.25) * 0.2 / 0.9) * 512

        def sm(f):
            return (3 - 2 * f) * f * f

        def lerp(a, b, w):
            return a + (b - a) * w

        ix1 = wrap32(ix + 1)
        A, B = self.p(ix), self.p(ix1)
        planes = []
        for dz in (0, 1):
            z0 = wrap32(iz + dz)
            ra = wrap32(iy + self.p(A + z0 + (ix >> 9))) & 1023
            rb = wrap32(iy + self.p(B + z0 + (ix1 >> 9))) & 1023
            v0 = lerp(self.perm[ra], self.perm[rb], sm(fx))
            v1 = lerp(self.perm[ra + 1], self.perm[rb + 1], sm(fx))
            planes.append(lerp(v0, v1, sm(fy)))
        return ridge + (lerp(planes[0], planes[1], sm(fz)) - 512)


def ease(t):
    return (2 - t) * t if t < 1 else 1.0


def crack(t, c):
    return t * t * c if t < 0.5 else (t - 0.25) * c


def saw_body(lat, name, x, y, z, w, amp, octave, carried, result, acc):
    """One octave of a saw-rock body: (flag, carried, result, accumulator)."""
    if octave < 0:
        return 0, 0.25, 0.25, acc
    if name == "fp1fractrocks":
        sv = lat.saw(x, z, y)
        s = crack(abs(sv * 0.0029296875 * 10), 0.1)
        if octave == 0:
            carried = w * s
            return 1, carried, s, carried
        f = ease(w * carried + 0.1) * s
        acc += (f - acc) * 0.28
        return 1, f, result + f * amp, acc
    sv = lat.saw(x, y, z)
    flag = int(sv < 0)
    if name == "fp1Erosion":
        s = crack(abs(sv * 0.0009765625 * 16), 0.0625)
        if octave == 0:
            return flag, w * s * (1.02 - s), s, acc
        f = ease(w * carried) * s
        return flag, w * f * (1.02 - s), result + f * amp, acc
    k, c = {"fp1fracturedrocksB": (0.00390625 * 30, 1 / 30),
            "fp1fracturedrocksC": (0.0029296875 * 30, 1 / 30),
            "fp1fracturedrocksD": (0.0029296875 * 20, 0.05)}[name]
    e = ease(crack(abs(sv * k), c))
    if octave == 0:
        if name == "fp1fracturedrocksC":
            return flag, w * e, e, acc
        return flag, w * e * (1.25 - e), e, acc
    if name == "fp1fracturedrocksB":
        carried = w * carried * e
        return flag, carried, result + carried * amp, acc
    if name == "fp1fracturedrocksC":
        carried = e * ease(w * carried)
        base = 0.5 * result if octave < 3 else result
        return flag, carried, base + carried * amp, acc
    uncapped = w * carried * e
    return flag, min(uncapped, 1.5), result + uncapped * amp, acc


CHECKED = {"fp1fracturedrocksB", "fp1fracturedrocksC", "fp1fracturedrocksD",
           "fp1Erosion", "fp1fractrocks"}


def close(a, b):
    return abs(a - b) <= TOLERANCE * max(1.0, abs(b))


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    out = subprocess.run([sys.argv[1], "--bodies"], check=True, capture_output=True,
                         text=True).stdout.splitlines()
    lat = Lattice([int(v) for v in out[0].split()[2:]])
    failures, checked = 0, 0
    for line in out[2:]:
        f = line.split()
        kind = f[0]
        want = got = None
        if kind == "density":
            want, got = lat.density(int(f[1])), float(f[2])
        elif kind in ("redrocks", "redrocks2"):
            i, j, k = (int(v) for v in f[1:4])
            fn = lat.redrocks if kind == "redrocks" else lat.redrocks2
            want, got = fn(i, j, k), float(f[4])
        elif kind == "saw":
            want, got = lat.saw(*(float(v) for v in f[1:4])), float(f[4])
        elif kind == "body" and f[1] in CHECKED:
            x, y, z, w, amp = (float(v) for v in f[2:7])
            octave = int(f[7])
            carried, result, acc = (float(v) for v in f[8:11])
            want = saw_body(lat, f[1], x, y, z, w, amp, octave, carried, result, acc)
            got = (int(f[12]), float(f[13]), float(f[14]), float(f[15]))
            checked += 1
            if want[0] != got[0] or not all(close(a, b) for a, b in zip(want[1:], got[1:])):
                failures += 1
                if failures <= 10:
                    print("mismatch:", line, "expected", want)
            continue
        else:
            continue
        checked += 1
        if not close(want, got):
            failures += 1
            if failures <= 10:
                print("mismatch:", line, "expected", want)
    print(f"{checked} values checked, {failures} mismatches")
    return 1 if failures or checked < 400 else 0


if __name__ == "__main__":
    sys.exit(main())
