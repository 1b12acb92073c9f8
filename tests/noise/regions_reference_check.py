#!/usr/bin/env python3
"""Independent check of the region overlap drivers.

Reads what regions_dump prints (the permutation, then for each sample point
the region callback calls of the aligned driver with four and two layers and
of the eight-layer jittered driver) and recomputes every call's region code
and local (u, v) from the lattice rules alone.
"""
import math
import subprocess
import sys

TOL = 1e-9


def cell(v):
    # Truncation, one less for negative values: -1.0 lies in cell -2.
    t = int(v)
    if v < 0:
        t -= 1
    return t


def wrap32(v):
    v &= 0xFFFFFFFF
    return v - (1 << 32) if v >= (1 << 31) else v


def h2(perm, i, j):
    key = (j + perm[i & 1023] + (i >> 9)) & 1023
    return perm[key]


def rnd_vec(perm, k):
    return (perm[k] / 512.0 - 1.0,
            perm[(perm[k] + 333) & 1023] / 512.0 - 1.0,
            perm[(k + 512) & 1023] / 512.0 - 1.0)


def aligned_pair(perm, x, y):
    i, j = cell(x), cell(y)
    fx, fy = x - i, y - j
    calls = [(h2(perm, i, j), 2 * fx - 1, 2 * fy - 1)]
    X, Y = x + 333.5, y + 333.5
    I = i + (334 if fx > 0.5 else 333)
    J = j + (334 if fy > 0.5 else 333)
    calls.append((perm[h2(perm, I, J) & 1023], 2 * (X - I) - 1, 2 * (Y - J) - 1))
    return calls, X, Y


def overlap(perm, x, y, mode):
    calls, X, Y = aligned_pair(perm, x, y)
    if mode in (2, 4):
        return calls
    more, _, _ = aligned_pair(perm, X + 771.871, Y + 333.491)
    return calls + more


def jitter_group(perm, x, y, sx, sy, cx, cy, amount, calls):
    i, j = cell(x), cell(y)
    fx, fy = x - i, y - j
    for _ in range(4):
        p = h2(perm, i, j)
        r = rnd_vec(perm, p)
        s = 1 - amount * abs(r[2])
        u = (1 - s) * r[0] + (2 * fx - 1)
        v = (1 - s) * r[1] + (2 * fy - 1)
        if max(abs(u), abs(v)) < s:
            calls.append((p, u / s, v / s))
        x += sx
        y += sy
        i = wrap32(i + (cx + 1 if fx > 0.75 else cx))
        j = wrap32(j + (cy + 1 if fy > 0.5 else cy))
        fx, fy = x - i, y - j
    return x, y


def jitter8(perm, x, y):
    calls = []
    x, y = jitter_group(perm, x, y, 333.25, 777.5, 333, 777, 0.5, calls)
    jitter_group(perm, x + 71.125, y + 23.25, 373.25, 577.5, 373, 577, 0.5, calls)
    return calls


def parse(lines):
    perm = None
    points = []
    current = None
    for line in lines:
        f = line.split()
        if not f:
            continue
        if f[0] == "perm":
            perm = [int(v) for v in f[1:]]
        elif f[0] == "point":
            current = {"x": float(f[1]), "y": float(f[2]), "runs": []}
            points.append(current)
        elif f[0] == "overlap":
            current["runs"].append((("overlap", int(f[1])), []))
        elif f[0] == "jitter8":
            current["runs"].append((("jitter8", 0), []))
        elif f[0] == "call":
            current["runs"][-1][1].append((int(f[1]), float(f[2]), float(f[3])))
    return perm, points


def compare(label, expected, got, errors):
    if len(expected) != len(got):
        errors.append("%s: %d calls expected, %d made" % (label, len(expected), len(got)))
        return
    for k, (e, g) in enumerate(zip(expected, got)):
        if e[0] != g[0] or abs(e[1] - g[1]) > TOL or abs(e[2] - g[2]) > TOL:
            errors.append("%s call %d: expected %r, got %r" % (label, k, e, g))


def main():
    out = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout
    perm, points = parse(out.splitlines())
    if perm is None or len(perm) != 1025 or sorted(perm[:1024]) != list(range(1024)):
        print("no valid permutation printed")
        return 1
    if len(points) != 100:
        print("expected 100 points, got %d" % len(points))
        return 1
    errors = []
    jitter_calls = 0
    for p in points:
        x, y = p["x"], p["y"]
        for (kind, mode), got in p["runs"]:
            label = "%s %d at (%r, %r)" % (kind, mode, x, y)
            if kind == "overlap":
                expected = overlap(perm, x, y, mode)
                for _, u, v in expected:
                    if not (-1 <= u <= 1 and -1 <= v <= 1):
                        errors.append("%s: local coordinates out of range" % label)
            else:
                expected = jitter8(perm, x, y)
                jitter_calls += len(expected)
            compare(label, expected, got, errors)
    if jitter_calls == 0:
        errors.append("the jittered driver never called: the check proves nothing")
    for e in errors[:20]:
        print(e)
    print("%d points checked, %d mismatches" % (len(points), len(errors)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
