#!/usr/bin/env python3
"""Independent check of the ground, tech-set and wall cells and of the first
city dispatcher.

Re-implements LABTexture_City1 (its ground paths, and the builder indices
0, 3 and 9 through the BuildA and BuildE of buildings3d_check.py),
LABTXT3D_groundC2, LABTXT3D_groundC3 (every type but 9, the ground marks),
LABTXT3D_Mayan, LABTXT3D_StonesA and LABWALL_ConcreteMix with the walls it
calls (LABWALL_ConcreteA, LABTXT3D_discreetplates, LABTXT3D_PlatesNWindow,
LABWALL_ConcreteLines, LABWALL_ConcreteB and the floor of
LABTXT3D_StonesD2D) from their written rules, and compares them bit for bit
with `celltexture_map --values` over -200..200 with seeded tables and with
the identity permutation.

usage: city_cells4_check.py PATH/TO/celltexture_map
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import buildings3d_check as b3  # noqa: E402

H2, H3, inr, wrap16, wrap32 = b3.H2, b3.H3, b3.inr, b3.wrap16, b3.wrap32


def trunc(v):
    return int(v)


def chain2(perm, inner, outer, inner_high):
    return perm[(outer + perm[inner & 1023] + inner_high) & 1023]


def grain_hash(perm, a, b, c):
    return perm[(c + perm[(b + perm[a & 1023] + (a >> 9)) & 1023] + (b >> 9)) & 1023]


# --- ground ----------------------------------------------------------------

def frame(x, z):
    return (x & 7) == 0 or (z & 7) == 0


def b8(x, z):
    return (x & z & 8) != 0


def agree(x, z):
    return ((x >> 3) & 1) == ((z >> 3) & 1)


def ground_c2(perm, x, z, code):
    k = code & 15
    if k == 0:
        return -100
    if k in (1, 2, 14, 15):
        return -80 if frame(x, z) else -130
    if k == 3:
        return -128 if frame(x, z) else (-160 if b8(x, z) else -96)
    if k == 4:
        return -32 if b8(x, z) else -100
    if k == 5:
        return -130 if (x & 15) and (z & 15) else -200
    if k == 6:
        return -200 if frame(x, z) else -130
    if k in (7, 8):
        if (x & 15) == 0 or (z & 15) == 0:
            return -60
        g = perm[((x >> 6) + perm[(z >> 6) & 1023] + (z >> 15)) & 1023] % 12
        lx = ((x >> 1) & 31) < 17
        gx = ((x >> 1) & 31) > 16
        gz = ((z >> 1) & 31) > 16
        t = [0.25 if lx and not gz else 0.5, 0.75 if gx and not gz else 0.5,
             0.5 if gx and gz else 0.25, 0.5 if lx and gz else 0.75,
             0.5 if lx else 0.25, 0.5 if lx else 0.25, 0.5 if gz else 0.75,
             0.5 if gz else 0.75, 0.25, 0.5, 0.75, 1.0][g]
        return trunc(-(32 * t + 70))
    if k == 10:
        return 16 if b8(x, z) else -160
    if k == 11:
        return 72 if agree(x, z) else -200
    return -80 if (x & 15) == 0 or (z & 15) == 0 else -110


def joint(q, ex, ez):
    return [ex, ez, ex or ez, ex and ez][q]


def ground_c3(perm, x, z, code):
    k = code & 15
    if k == 0:
        return -100
    if k == 1:
        g = perm[((x >> 5) + perm[(z >> 5) & 1023] + (z >> 14)) & 1023] % 12
        lx, gx, lz, gz = (x & 31) < 17, (x & 31) > 16, (z & 31) < 17, (z & 31) > 16
        t = [0.25 if lx and lz else 0.5, 0.75 if lz and gx else 0.5,
             0.5 if gx and gz else 0.25, 0.5 if lx and gz else 0.75,
             0.5 if lx else 0.25, 0.25 if gx else 0.5, 0.5 if gz else 0.75,
             0.75 if lz else 0.5, 0.25, 0.5, 0.75, 1.0][g]
        return trunc(-(72 * t + 64))
    if k == 2:
        x2, z2 = wrap32(2 * x), wrap32(2 * z)
        r = perm[((x2 >> 5) + perm[(z2 >> 5) & 1023] + (z2 >> 14)) & 1023] & 7
        if r == 4 and (x2 & 31) > 16:
            return -116
        if r == 5 and (x2 & 31) <= 16:
            return -132
        if r == 6 and (z2 & 31) <= 16:
            return 95
        if r == 7 and (z2 & 31) > 16:
            return -132
        x4, z4 = wrap32(4 * x), wrap32(4 * z + 1)
        q = perm[((wrap32(x4 + 1) >> 5) + perm[(z4 >> 5) & 1023] + (z4 >> 14)) & 1023] & 3
        return -128 if joint(q, (x4 & 31) < 2, (z4 & 31) < 3) else -200
    if k == 3:
        return -128 if frame(x, z) else (-160 if b8(x, z) else -96)
    if k == 4:
        return -100 if agree(x, z) else -32
    if k in (5, 6, 7):
        return -200 if frame(x, z) else -130
    if k in (8, 15):
        return -80 if frame(x, z) else -130
    if k == 10:
        return 16 if b8(x, z) else -160
    if k == 11:
        return 14 if agree(x, z) else -200
    if k == 12:
        return -100 if x & 16 else (-35 if ((z >> 1) & 15) < 14 else 88)
    if k == 13:
        x1, z1 = wrap32(x + 1), wrap32(z + 1)
        q = perm[((x1 >> 5) + perm[(z1 >> 5) & 1023] + (z1 >> 14)) & 1023] & 3
        return 89 if joint(q, (x1 & 31) < 3, (z1 & 31) < 3) else -20
    if k == 14:
        return -20 if z & 8 else (-65 if ((x >> 1) & 15) < 14 else 90)
    raise ValueError("type 9 is the ground marks")


# --- the first city --------------------------------------------------------

def city1(perm, x, y, z, code):
    if code < 0 or y < 1:
        if code < 0 and y < 0:
            return 0.0, -80
        return 0.0, ground_c2(perm, wrap32(x + 11), wrap32(z + 11), code)
    index = (code >> 3) & 15
    gen = {0: b3.build_a, 3: b3.build_e, 9: b3.build_a}[index]
    return gen(perm, wrap32(x + 11), y, wrap32(z + 11), code & 7)


# --- tech set --------------------------------------------------------------

def mayan(perm, x, y, z, code):
    h = H3(perm, 4, y, x, z)
    d = h / 2048
    x15, y15, z15 = x & 15, y & 15, z & 15
    xi, yi, zi = inr(x15, 1, 14), inr(y15, 1, 14), inr(z15, 1, 14)
    solid = [xi and yi, xi and zi, yi and zi, xi and yi and zi, xi, yi, zi, False][(h >> 4) & 7]
    level, code = (0.25, -100) if solid else (0.0, -60)
    boxes = []
    if h & 7 == 4:
        boxes = [(i, 15 - i, ((i - 1) & 3) + 8) for i in range(1, 8)]
    elif h & 7 in (1, 2):
        boxes = [(i, 15 - 2 * i, (i + 2) & 3) for i in range(2, 6)]
    elif h & 7 == 6:
        boxes = [(i, j, ((i - 1) & 3) + 12) for i, j in zip((3, 5, 7, 9, 11), (12, 10, 8, 6, 4))]
    for i, j, c in boxes:
        if i < x15 < j and i < y15 < j and i < z15 < j:
            level += d
            code = c
    return level, code


# --- walls -----------------------------------------------------------------

def stones_a(perm, x, y, z, code):
    y15 = y & 15
    if y15 == 0:
        return 0.0, -70
    if y & 16:
        x, z = wrap32(x + 8), wrap32(z + 8)
    p = perm[(y >> 4) & 1023]
    o = perm[((y >> 12) + p) & 1023] % 6
    x2, z2 = wrap32(x + o), wrap32(z + o)
    X, Z = x2 & 15, z2 & 15
    if X == 0 or Z == 0:
        return 0.0, -70
    n = grain_hash(perm, x2, y, z2) / 1024
    g = H3(perm, 4, x2, y, z2)
    y_edge = not inr(y15, 2, 14)
    x_in, z_in = inr(X, 2, 14), inr(Z, 2, 14)
    stone = [x_in, not y_edge, z_in, x_in and z_in, not y_edge and z_in, x_in and not y_edge,
             True, x_in and not y_edge and z_in][g & 7]
    if not stone:
        return 0.0, -80
    return 1 + n / 16, trunc(-(((g >> 3) & 31) + 160 + 8 * n))


def stones_d2d(perm, x, y):
    if y & 32:
        x = wrap32(x + 12)
    X, Y = x & 31, y & 31
    if X == 0 or Y == 0:
        return 0.0, -100
    n = perm[(y + perm[x & 1023] + (x >> 9)) & 1023] / 1024
    g = perm[((y >> 5) + perm[(x >> 5) & 1023] + (x >> 14)) & 1023]
    fine = [0.05 * n, 0.0125 * n, 0.03 * n, 0.0][(g >> 3) & 3]
    code = -((g >> 3) & 31) - 150
    kind = g & 3
    if kind in (0, 1):
        p = Y if kind == 1 else X
        if p == 16:
            return 0.0, -100
        return (0.5 + fine if p < 16 else g / 2048 + 0.25 + fine), code
    if kind == 2:
        if g / 4096 == 0:
            return 0.0, -100
        return g / 4096 + fine, code
    return g / 2048 + 0.25 + fine, code


def plate_grain(g, n):
    return [n / 16, 0.0125 * n, 0.03 * n, 0.0][(g >> 3) & 3]


def concrete_a(perm, x, y, z, code):
    if not (inr(y & 127, 2, 126) and (x & 63) and inr(z & 255, 3, 253)):
        return 0.0, -100
    n = perm[((y >> 10) + z + perm[((y >> 1) + perm[x & 1023] + (x >> 9)) & 1023]) & 1023] / 2048
    n2 = n * n
    g = perm[((y >> 7) + perm[(x >> 6) & 1023] + (x >> 15)) & 1023]
    k = g & 7
    if k == 0:
        return 0.25 * n2 + 0.5, -120 - (g & 31) - trunc(8 * n)
    if k == 1:
        return g / 1024, -120 - (g & 15) - trunc(12 * n)
    if k == 2:
        return 0.33 * n2 + 0.6, -120 - (g & 15) - trunc(16 * n)
    if k == 3:
        return 0.18 * n2 + 0.25, -120 - (g & 31) - trunc(8 * n)
    if k == 4:
        return 0.125, -120 - (g & 15) - trunc(12 * n)
    if k == 5:
        return g / 2048 + 0.2 * n2, -120 - (g & 15)
    return g / 1024 + n2 / 16, -120 - trunc(16 * n) - g % 12


def shifted32(x, y, z):
    if y & 32:
        return wrap32(x + 12), wrap32(z + 12)
    return x, z


def discreet_plates(perm, x, y, z, code):
    x1, z1 = shifted32(x, y, z)
    X, Y, Z = x1 & 31, y & 31, z1 & 31
    n = grain_hash(perm, x1, y, z1) / 1024
    g = H3(perm, 5, y, x1, z1)
    m = g >> 3
    joint_out = (((m + 3) & 7) / 40 + 0.2 + 0.03 * n, -110 - (m & 15))
    low_joint = (0.2 + 0.03 * n, -110 - (m & 15))
    near = (((m + 3) & 7) / 40 + 0.3 + 0.03 * n, -130 - (m & 15))
    far = ((m & 7) / 40 + 0.3 + 0.03 * n, -130 - (m & 15))
    k = g & 3
    if k == 3:
        return near if inr(X, 1, 30) and inr(Y, 1, 30) and inr(Z, 1, 30) else low_joint
    p = [X, Y, Z][k]
    if p == 16:
        return low_joint if k == 2 else joint_out
    return near if p < 16 else far


def plates_n_window(perm, x, y, z, code):
    Y = y & 31
    if Y == 0:
        return 0.0, -100
    x1, z1 = shifted32(x, y, z)
    X, Z = x1 & 31, z1 & 31
    if X == 0 or Z == 0:
        return 0.0, -100
    n = grain_hash(perm, x1, y, z1) / 1024
    g = H3(perm, 5, y, x1, z1)
    k = g & 7
    if k in (0, 1, 2):
        p = [X, Y, Z][k]
        v = 0.0 if p == 16 else (g / 2048 + 0.5 if p < 16 else 1.0)
    elif k in (3, 6):
        if X == 16 or Z == 16:
            return 0.0, -100
        if y >= 32 and g & 8 and X > 16 and Z > 16 and Y <= 27:
            return -2.0, -1
        v = 1.0
    elif k == 4:
        if g & 8 and y >= 32 and inr(X, 5, 27) and inr(Y, 5, 27) and inr(Z, 5, 27):
            v = 0.25 if y & 1 else 0.0
        else:
            v = 3 * g / 4096 + 0.25
    elif k == 5:
        v = 0.0 if Y in (12, 20) else 1.0
    else:
        v = g / 2048 + 0.5
    if not v > 0:
        return v, -100
    code = (g >> 3) & 15 if y >= 64 and y & 64 else -((g >> 3) & 31) - 160
    return v + plate_grain(g, n), code


def concrete_lines_wall(perm, x, y, z):
    c = perm[(z + perm[((y >> 7) + perm[x & 1023] + (x >> 9)) & 1023] + (y >> 16)) & 1023]
    band = perm[((y >> 15) + perm[(y >> 7) & 1023]) & 1023]
    return (band & 15) / 16, -130 - (c & 31)


def concrete_b_wall(perm, x, y, z):
    if (x & 127) == 0:
        return 0.0, -70
    h = grain_hash(perm, x, y, z)
    if (x & 255) < 128:
        return 0.5, -100 - (h & 31)
    return 0.125, (h >> 3) & 15 if h < 901 else -180 - ((h >> 3) & 31)


def concrete_mix(perm, x, y, z, code):
    if (y & 127) == 0 or (x & 63) == 0 or not inr(z & 255, 3, 253):
        return 0.0, -70
    if y < 1:
        return stones_d2d(perm, x >> 1, z >> 1)
    if ((y >> 7) & 3) == 2:
        return concrete_lines_wall(perm, x, y, z)
    if z & 256:
        return concrete_b_wall(perm, x, y, z)
    k = (x >> 6) & 3
    if k == 1:
        return discreet_plates(perm, x, y, z, code)
    if k == 3:
        return plates_n_window(perm, x, y, z, code)
    return concrete_a(perm, x, y, z, code)


# --- comparison ------------------------------------------------------------

def ground3(fn):
    return lambda perm, x, y, z, code: (0.0, fn(perm, x, z, code))


# Windows (plane, at, x0, y0, w, h, stride) over -200..200.
PLAN = [("xz", -3, -200, -200, 58, 58, 7)]  # the ground cells do not read y
CITY = PLAN + [("xz", 40, -200, -200, 58, 58, 7), ("xy", 9, -200, -200, 58, 58, 7)]
WALL = CITY + [("xy", 77, -200, -100, 40, 40, 10)]  # 128-unit bands of the concrete

CELLS = {
    "LABTexture_City1": (city1, [-16, -3, 0, 5, 26, 77], CITY),
    "LABTXT3D_groundC2": (ground3(ground_c2), list(range(16)), PLAN),
    "LABTXT3D_groundC3": (ground3(ground_c3), [k for k in range(16) if k != 9], PLAN),
    "LABTXT3D_Mayan": (mayan, [0], CITY),
    "LABTXT3D_StonesA": (stones_a, [0], CITY),
    "LABWALL_ConcreteMix": (concrete_mix, [0], WALL),
}


def check(tool, tables, tally):
    for name, (fn, codes, windows) in CELLS.items():
        for code in codes:
            for plane, at, x0, y0, w, h, stride in windows:
                perm, rows = b3.tool_values(tool, [name, str(x0), str(y0), str(w), str(h),
                                                   "--plane", plane, "--at", str(at), "--code",
                                                   str(code), "--stride", str(stride)] + tables)
                for line in rows:
                    xs, ys, zs, ls, cs = line.split()
                    x, y, z = int(xs), int(ys), int(zs)
                    level, c = fn(perm, x, y, z, code)
                    tally.check(float(ls) == level and int(cs) == wrap16(c),
                                f"{name} {tables} code {code} ({x}, {y}, {z}): tool ({ls}, {cs})"
                                f" python ({level!r}, {c})")


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    tally = b3.Tally()
    for tables in (["--seed", "4321"], ["--identity"]):
        check(sys.argv[1], tables, tally)
    print(f"{tally.checked - tally.failures} passed, {tally.failures} failed")
    return 1 if tally.failures else 0


if __name__ == "__main__":
    sys.exit(main())
