"""Rails, scrollers and number drags of layout 9002, checked from outside.

Written from the formulas of the number items and scrollers, not from the
program: the positions along a rail (absolute for number rails and the
arrow bar, relative to the knob for the red and picture rails, a quarter
as fast with the option key), the values of positions by type (integers in
single precision, doubles with the real range when it is narrower than 1),
the drag of an integer (down increases) and of a double (up increases,
fine step in the right half, coarse in the left, a tenth with option), and
the step arrows. The layout's rectangles and ranges are read from its
table. Each run plays a script through ui_probe and compares the values it
prints with the ones computed here.
"""
import os
import struct
import subprocess
import sys
import tempfile

FULL = 4096


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def trunc(x):
    return int(x)  # toward zero


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def clamp(v, lo, hi):
    return lo if v < lo else hi if v > hi else v


# ---- Layout ---------------------------------------------------------------


def read_items(table):
    lines = [l.rstrip("\n") for l in open(table) if l.strip() and not l.startswith("#")]
    start = next(i for i, l in enumerate(lines) if l.startswith("layer\t"))
    names = lines[start].split("\t")
    items = []
    for line in lines[start + 1:]:
        row = dict(zip(names, line.split("\t")))
        item = {k: int(row[k]) for k in ("kind", "style", "variant", "top", "left", "bottom",
                                          "right", "justification", "arrows", "mode")}
        item["min"], item["max"] = f32(float(row["min"])), f32(float(row["max"]))
        items.append(item)
    return items


def value_type(variant):
    r = int(variant - 3 * trunc(variant / 3))
    return "short" if r == 0 else "long" if r in (1, -1) else "double"


# ---- Formulas ---------------------------------------------------------------


def position_of(item, value):
    lo, hi = item["min"], item["max"]
    if value_type(item["variant"]) != "double":
        span = max(trunc(f32(hi - lo)), 2)
        return trunc(f32(f32(f32(f32(value) - lo) * FULL) / span))
    span = hi - lo
    divisor = trunc(span) if trunc(span) != 0 else span
    return 0 if divisor == 0 else trunc((value - lo) * (FULL / divisor))


def value_of(item, p):
    lo, hi = item["min"], item["max"]
    kind = value_type(item["variant"])
    if kind != "double":
        span = max(trunc(hi) - trunc(lo), 2)
        v = trunc(lo + ((p * span) >> 12))
        return clamp(v, -32768, 32767) if kind == "short" else v
    return lo + (hi - lo) * p * 0.000244140625


def knob(rail, p):
    start, travel = rail
    if travel <= 0:
        return start
    return start + ((clamp(p, 0, FULL) * travel) >> 12)


def absolute(rail, h):
    start, travel = rail
    return 0 if travel <= 0 else clamp(trunc_div((h - start) * FULL, travel), 0, FULL)


def relative(rail, p0, k0, h, option):
    start, travel = rail
    if travel <= 0:
        return 0
    return clamp(p0 + trunc_div((h - k0) * (FULL // 4 if option else FULL), travel), 0, FULL)


def inside(box, h, v):
    top, left, bottom, right = box
    return left <= h < right and top <= v < bottom


# ---- What each item does with a press and its moves ----------------------------


def track_rail(item, value, events, rail, box, mode, option):
    """A rail press at events[0]; the moves that change h follow."""
    (h0, v0) = events[0]
    if not inside(box, h0, v0):
        return value
    p0 = min(position_of(item, value), FULL)
    k0 = knob(rail, p0)
    last = None
    for h, _ in events[:-1]:  # the release is not applied
        if h == last:
            continue
        last = h
        p = absolute(rail, h) if mode == "absolute" else relative(rail, p0, k0, h, option)
        value = value_of(item, p)
    return value


def number_rail(item, value, events, option):
    t, l, b, r = item["top"], item["left"], item["bottom"], item["right"]
    box = (t, l + 54, b, r) if item["justification"] == 0 else (t, l, b, r - 52)
    x0, x1 = box[1] + 2, box[3] - 2
    return track_rail(item, value, events, (x0 + 2, x1 - x0 - 4), box, "absolute", option)


def clamp_int(item, v):
    if item["max"] > item["min"]:
        if f32(v) < item["min"]:
            return trunc(item["min"])
        if f32(v) > item["max"]:
            return trunc(item["max"])
    return v


def drag_int(item, value, events, option):
    (h0, v0) = events[0]
    t, l, b, r = item["top"], item["left"], item["bottom"], item["right"]
    if item["arrows"]:
        zone = max((b - t) // 2 + 4, 10)
        step = -1 if h0 < l + zone else 1 if h0 >= r - zone + 1 else 0
        if step and clamp_int(item, value + step) != value:
            return clamp_int(item, value + step)
    moved = False
    start = value
    for h, v in events[1:-1]:
        if not moved and (h, v) == (h0, v0):
            continue
        moved = True
        value = clamp_int(item, start + (v - v0))
    return value


def drag_double(item, value, events, option):
    (h0, v0) = events[0]
    lo, hi = item["min"], item["max"]
    coarse = 1.0
    if item["mode"] in (2, 3):
        lo, hi, fine = -item["min"], item["min"], 0.02 * item["min"]
    elif item["mode"] in (4, 5):
        lo, hi, fine = -1e250, 1e250, 0.1
    else:
        if lo == 0 and hi == 0:
            hi, coarse = 1.0, 0.1
        elif lo == 0 and hi == 65535:
            hi = 1e250
        fine = min(0.1, 0.01 * (hi - lo))
    if option:
        fine, coarse = fine / 10, coarse / 10
    step = fine if h0 >= (item["left"] + item["right"]) // 2 else coarse
    start = value
    for h, v in events[1:-1]:
        value = clamp(start + (v0 - v) * step, lo, hi)
    return value


def scroller(item, value, events, option):
    t, l, b, r = item["top"], item["left"], item["bottom"], item["right"]
    (h0, v0) = events[0]
    lo, hi = item["min"], item["max"]
    step = 0.005 if value_type(item["variant"]) == "double" else 1
    def stepped(delta):
        v = value + delta * step
        return clamp(v, lo, hi) if hi > lo else v
    if 0 <= item["variant"] <= 2:
        height = b - t
        a = 24 if height >= 25 else max(height, 8)
        top = (t + b) // 2 - a // 2
        left_box, right_box = (top, l, top + a, l + a), (top, r - a, top + a, r)
        if inside(left_box, h0, v0):
            return stepped(-1)
        if inside(right_box, h0, v0):
            return stepped(1)
        rail_box = (t + 3, l + a, b - 3, r - a)
        rail = (l + a + 7, (r - a) - (l + a) - 14)
        return track_rail(item, value, events, rail, rail_box, "absolute", option)
    if 6 <= item["variant"] <= 8:
        if inside((t, l, b, l + 22), h0, v0):
            return stepped(-1)
        if inside((t, r - 22, b, r), h0, v0):
            return stepped(1)
        rail = (l + 25, (r - 22) - (l + 22) - 6)
        return track_rail(item, value, events, rail, (t, l + 22, b, r - 22), "relative", option)
    rail = (l + 4, (r - 2) - (l + 2) - 4)
    return track_rail(item, value, events, rail, (t, l + 2, b, r - 2), "relative", option)


def simulate(item, value, events, option):
    if item["kind"] == 5:
        return scroller(item, value, events, option)
    t, l, b, r = item["top"], item["left"], item["bottom"], item["right"]
    rail_box = (t, l + 54, b, r) if item["justification"] == 0 else (t, l, b, r - 52)
    if item["variant"] < 12 and inside(rail_box, *events[0]):
        return number_rail(item, value, events, option)
    if value_type(item["variant"]) == "double":
        return drag_double(item, value, events, option)
    return drag_int(item, value, events, option)


# ---- Runs ---------------------------------------------------------------------------

# (item, starting value, option, [press, moves..., release]) as (h, v).
RUNS = [
    [
        (0, 0, False, [(100, 20), (150, 20), (180, 20), (180, 20)]),
        (3, 0, False, [(100, 110), (40, 110), (40, 110)]),
        (4, 20, False, [(80, 138), (130, 138), (130, 138)]),
        (5, 0, False, [(100, 162), (160, 162), (160, 162)]),
        (6, 30, True, [(120, 186), (200, 186), (200, 186)]),
        (1, 3, False, [(50, 50), (50, 57), (50, 57)]),
        (2, 1.5, False, [(80, 80), (80, 75), (80, 75)]),
    ],
    [
        (0, 10, False, [(64, 20), (229, 20), (300, 20), (300, 20)]),
        (3, 0.25, False, [(177, 110), (14, 110), (14, 110)]),
        (4, 90, True, [(40, 138), (200, 138), (20, 138), (20, 138)]),
        (5, 50, False, [(15, 162), (15, 162)]),
        (6, 100, False, [(215, 186), (215, 186)]),
        (1, -10, False, [(15, 50), (15, 50)]),
        (2, 1.5, True, [(20, 80), (20, 70), (20, 70)]),
    ],
    [
        (1, 10, False, [(85, 50), (85, 40), (85, 46), (85, 46)]),
        (2, 9.5, False, [(20, 80), (20, 60), (20, 60)]),
        (4, 0, False, [(228, 138), (228, 138)]),
        (6, 0, False, [(20, 186), (20, 186)]),
        (5, 100, False, [(228, 162), (228, 162)]),
    ],
]


def script_of(run):
    lines = []
    for n, start, _, _ in run:
        lines.append("set %d %r" % (n, start))
    for n, _, option, events in run:
        if option:
            lines.append("mod option on")
        lines.append("press %d %d" % events[0])
        for h, v in events[1:-1]:
            lines.append("move %d %d" % (h, v))
        lines.append("release %d %d" % events[-1])
        if option:
            lines.append("mod option off")
    return "\n".join(lines) + "\n"


def main():
    probe, resources, table = sys.argv[1:4]
    items = read_items(table)
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        for k, run in enumerate(RUNS):
            script = os.path.join(folder, "script%d" % k)
            open(script, "w").write(script_of(run))
            out = subprocess.run([probe, "--resources", resources, "9002",
                                  os.path.join(folder, "values.png"), script],
                                 stdout=subprocess.PIPE, check=True).stdout.decode()
            shown = {}
            for line in out.split("\n"):
                words = line.split()
                if len(words) == 4 and words[0] == "item":
                    shown[int(words[1])] = float(words[3])
            for n, start, option, events in run:
                want = simulate(items[n], start, events, option)
                got = shown[n]
                if abs(got - want) > 1e-5 * max(1.0, abs(want)):
                    failures.append("run %d item %d: probe %r, formulas %r" % (k, n, got, want))
    if failures:
        print("\n".join(failures))
        sys.exit(1)
    print("rail check: %d presses and drags agree" % sum(len(r) for r in RUNS))


if __name__ == "__main__":
    main()
