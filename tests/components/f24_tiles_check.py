#!/usr/bin/env python3
"""Independent check of the three f24 colour tilings: output 4 (the tile
mask) recomputed from the tiling rules at every point of the grid that
`contact_sheet --values` prints (x, y, outputs 1 to 4), for several colour
cycles, phases and frequencies; and the colour rule: every sample shows the
colour of its index (0, 1 or 2), the three colours being those the square
tiles show for the same colour cycle.

Usage: f24_tiles_check.py CONTACT_SHEET_TOOL
"""
import math
import subprocess
import sys

FAMILY = 10
GRID = 40
BAND = 0.866025
K0 = math.cos(2.0943951023931953)
K1 = math.sin(2.0943951023931953)
EDGE = 1e-9  # fractions this close to a cell edge may round either way


def split(u):
    """The lattice cell of u and the fraction: trunc(u), or trunc(u - 1)
    below 0 (so a negative whole number has fraction 1)."""
    i = int(u) if u >= 0 else int(u - 1)
    return i, u - i


def tri(f):
    return 2 - 2 * f if f > 0.5 else 2 * f


def near_edge(fractions):
    return any(f < EDGE or f > 1 - EDGE for f in fractions)


def square(x, y, b, c):
    (i, fx), (j, fy) = split(c * x + b), split(c * y + b)
    e = 2 * min(tri(fx), tri(fy))
    return (i & 1) + (j & 1), (4.0 if e >= 1 else 4 * e), (fx, fy)


def bands(x, y, b, c):
    X, Y = c * x, c * y
    b0 = K0 * X - K1 * Y
    y1 = K0 * Y + K1 * X
    return [split(BAND * X + b), split(BAND * b0 + b), split(BAND * (K0 * b0 - K1 * y1) + b)]


def triangle(x, y, b, c):
    cells = bands(x, y, b, c)
    s = sum(i & 1 for i, _ in cells) % 3
    return s, 4 * min(tri(f) for _, f in cells), [f for _, f in cells]


def hexagon(x, y, b, c):
    cells = bands(x, y, b, c)
    r = [i % 3 for i, _ in cells]
    f = [fr for _, fr in cells]
    g = [fk if rk == 0 else 1 - fk if rk == 1 else 0 for rk, fk in zip(r, f)]
    h = [0 if rk == 0 else fk if rk == 1 else 1 - fk for rk, fk in zip(r, f)]
    m = max(min(g), min(h))
    s = 0 if 2 not in r else (2 if 0 in r else 1)
    return s, 4 * m, f


MEMBERS = {29: square, 17: triangle, 18: hexagon}
PARAMS = [(0.5, 0.0, 1.0), (0.3, 0.37, 2.5), (0.8, -0.6, 0.7)]


def check(tool, fid, a, b, c, palette):
    run = subprocess.run([tool, "--family", str(FAMILY), "--values", str(fid), repr(a), repr(b),
                          repr(c), str(GRID)], check=True, capture_output=True, text=True)
    failures = 0
    colour_of = {}
    for line in run.stdout.splitlines():
        x, y, r, g, bl, mask = (float(v) for v in line.split())
        s, want, fractions = MEMBERS[fid](x, y, b, c)
        if near_edge(fractions):
            continue
        if abs(mask - want) > 1e-9:
            failures += 1
            if failures <= 3:
                print(f"id {fid} {a, b, c} at ({x}, {y}): mask {mask}, expected {want}")
        colour_of.setdefault(s, set()).add((r, g, bl))
    for s, seen in colour_of.items():
        if len(seen) != 1:
            failures += 1
            print(f"id {fid} {a, b, c}: colour index {s} shows {len(seen)} colours")
        elif palette.setdefault(s, seen) != seen:
            failures += 1
            print(f"id {fid} {a, b, c}: colour index {s} is not the square tiles' colour {s}")
    if len({next(iter(v)) for v in colour_of.values()}) != len(colour_of):
        failures += 1
        print(f"id {fid} {a, b, c}: two colour indices show the same colour")
    return failures


def main():
    tool = sys.argv[1]
    failures = 0
    for p in PARAMS:
        palette = {}  # filled by the square tiles (first), checked by the others
        failures += sum(check(tool, fid, *p, palette) for fid in MEMBERS)
    print(f"3 tilings x {len(PARAMS)} parameter sets on a {GRID} x {GRID} grid, "
          f"{failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
