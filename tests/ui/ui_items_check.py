"""Layout 9001 through ui_probe, checked from outside the program.

ImageMagick cuts cell 6 of the list image rlist064 (32 x 32 at x 192),
flattened on the window's grey, and compares it (compare -metric AE) with
what the probe drew for the picture button of code -70. python3 reads the
PNG (png_rows.py) for the colour fill and the gradients' end colours, and
the probe's report for the text button's command, the typed edit text and
the radio drag.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_rows import read_png  # noqa: E402

BACKGROUND = (64, 64, 64)


def near(got, want, tolerance=2):
    return all(abs(a - b) <= tolerance for a, b in zip(got, want))


def main():
    probe, resources = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "items.png")
        script = os.path.join(folder, "script")
        open(script, "w").write(
            "set 9 1\nset 13 2\nset 14 0\n"
            "click 350 200\n"          # the text button
            "click 500 200\nkey a\nkey b\nkey c\n"  # the edit text
            "press 40 115\nmove 40 135\nmove 40 160\nmove 40 135\nrelease 40 135\n")
        p = subprocess.run([probe, "--resources", resources, "9001", out, script],
                           stdout=subprocess.PIPE, check=True)
        lines = p.stdout.decode().split("\n")
        assert lines[0] == "command 1919", lines[:3]
        assert 'item 18 3 "abc"' in lines, lines
        assert "item 12 7 1" in lines and "last 1" in lines, lines

        shown = read_png(out, 3)
        assert shown[30][50] == (200, 60, 60), shown[30][50]
        # Vertical gradient of box 2: colour 1 on the top row, colour 2 on
        # the bottom one; horizontal gradient of box 1 starts at colour 2.
        assert near(shown[10][230], (250, 250, 40)), shown[10][230]
        assert near(shown[49][230], (20, 20, 160)), shown[49][230]
        assert near(shown[30][100], (20, 20, 160)), shown[30][100]

        cell = os.path.join(folder, "cell.png")
        drawn = os.path.join(folder, "drawn.png")
        subprocess.run(["convert", os.path.join(resources, "rlist064.png"),
                        "-crop", "32x32+192+0", "+repage",
                        "-background", "rgb(%d,%d,%d)" % BACKGROUND, "-flatten",
                        "-alpha", "off", cell], check=True)
        subprocess.run(["convert", out, "-crop", "32x32+10+60", "+repage",
                        "-alpha", "off", drawn], check=True)
        c = subprocess.run(["compare", "-metric", "AE", "-fuzz", "2%", cell, drawn,
                            os.path.join(folder, "diff.png")],
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        differing = float(c.stderr.decode().split()[0])
        assert differing == 0, differing
        check_colour_items(probe, resources, folder)


# ---- Colour, gradation and vector items, checked by the formulas of their
# bar and curve editors written out again here.

LAYOUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                      "..", "..", "resources", "layouts", "ui_items.txt")


def item_rows():
    """(index, rect (top, left, bottom, right), style) of each item by name."""
    rows, found = {}, False
    for line in open(LAYOUT):
        fields = line.rstrip("\n").split("\t")
        if fields[0] == "layer":
            found = True
            continue
        if found and len(fields) >= 25:
            rect = tuple(int(v) for v in fields[11:15])
            rows[fields[-1]] = (len(rows), rect, int(fields[2]))
    return rows


def vector_area(rect, value_line):
    """The editing area of a vector item of frame style 1: the frame's inner
    rectangle (bottom and right less 1), less the 16-pixel value line, inset
    by 1."""
    top, left, bottom, right = rect[0], rect[1], rect[2] - 1, rect[3] - 1
    if value_line:
        bottom -= 16
    return top + 1, left + 1, bottom - 1, right - 1


def int_bars(area, count, maximum, presses):
    """Bar values after a press and drags: index (h - left) count / width,
    value (bottom - v) maximum / height, bars skipped filled on the line
    between (rounded half away from zero)."""
    top, left, bottom, right = area
    width, height = right - left, bottom - top
    values, last = {}, None
    for h, v in presses:
        i = min(max((h - left) * count // width, 0), count - 1)
        values[i] = min(max(bottom - v, 0), height) * maximum // height
        if last is not None and abs(i - last) > 1:
            lo, hi = min(i, last), max(i, last)
            for k in range(lo + 1, hi):
                x = values[lo] + (values[hi] - values[lo]) * (k - lo) / (hi - lo)
                values[k] = int(x + 0.5) if x >= 0 else -int(-x + 0.5)
        last = i
    return values


def curve(area, count, low, high, presses):
    """Curve samples after a press and drags: the nearest sample to h set
    to (bottom - v) / scale - 0.015 held to 0..1, samples passed over set on
    the line between; then scaled back to [low, high]."""
    top, left, bottom, right = area
    x0, dx = left + 1.5, (right - left - 3) / (count - 1)
    scale = (bottom - top) / 1.055
    values, last = {}, None
    for h, v in presses:
        i = min(max(int(round((h - x0) / dx)), 0), count - 1)
        values[i] = min(max((bottom - v) / scale - 0.015, 0.0), 1.0)
        if last is not None and abs(i - last) > 1:
            lo, hi = min(i, last), max(i, last)
            for k in range(lo + 1, hi):
                values[k] = values[lo] + (values[hi] - values[lo]) * (k - lo) / (hi - lo)
        last = i
    return {k: low + x * (high - low) for k, x in values.items()}


def check_colour_items(probe, resources, folder):
    rows = item_rows()
    colour, gradation = rows["colour"], rows["gradation"]
    bars, rgb, curve_item = rows["bars"], rows["rgb"], rows["curve"]
    # The chart opens 2 pixels below the colour item's bottom-left corner.
    chart_left, chart_top = colour[1][1], colour[1][2] + 2
    pick = (chart_left + 130, chart_top + 64)
    bar_presses = [(170, 285), (200, 290), (270, 280)]
    rgb_press = (300, 276)
    curve_presses = [(395, 280), (515, 310)]
    steps = ["set %d 200,250,10,10" % colour[0], "set %d 255,255,0,0" % gradation[0],
             "press 180 245", "move %d %d" % (pick[0], pick[1] + 4),
             "move %d %d" % pick, "release %d %d" % pick,
             "press %d %d" % bar_presses[0]]
    steps += ["move %d %d" % p for p in bar_presses[1:]]
    steps += ["release %d %d" % bar_presses[-1]]
    steps += ["press %d %d" % rgb_press, "release %d %d" % rgb_press]
    steps += ["press %d %d" % curve_presses[0]]
    steps += ["move %d %d" % p for p in curve_presses[1:]]
    steps += ["release %d %d" % curve_presses[-1]]
    steps += ["values %d" % n for n in (bars[0], rgb[0], curve_item[0])]
    out = os.path.join(folder, "colours.png")
    script = os.path.join(folder, "colours")
    open(script, "w").write("\n".join(steps) + "\n")
    p = subprocess.run([probe, "--resources", resources, "9001", out, script],
                       stdout=subprocess.PIPE, check=True)
    lines = p.stdout.decode().split("\n")

    chart = read_png(os.path.join(resources, "rim1100.png"), 3)
    want = chart[pick[1] - chart_top][pick[0] - chart_left]
    got = [ln for ln in lines if ln.startswith("item %d 9 " % colour[0])][0].split()[3]
    a, r, g, b = (int(v) for v in got.split(","))
    assert a == 200 and near((r, g, b), want), (got, want)

    values = {int(ln.split()[1]): ln.split()[2:] for ln in lines if ln.startswith("values ")}
    want_bars = int_bars(vector_area(bars[1], True), 6, 100, bar_presses)
    for i, v in want_bars.items():
        assert int(values[bars[0]][i]) == v, (values[bars[0]], want_bars)
    red = int_bars(vector_area(rgb[1], True), 3, 1020, [rgb_press])[0] // 4
    assert values[rgb[0]][0] == "255,%d,0,0" % min(red, 255), (values[rgb[0]], red)
    want_curve = curve(vector_area(curve_item[1], False), 6, 0.0, 2.0, curve_presses)
    for i, v in want_curve.items():
        assert abs(float(values[curve_item[0]][i]) - v) < 1e-4, (values[curve_item[0]],
                                                                want_curve)

    # The gradation runs from its first colour (red) at the left edge to
    # the black of the others at the right.
    shown = read_png(out, 3)
    top, left, bottom, right = gradation[1]
    middle = (top + bottom) // 2
    assert near(shown[middle][left], (255, 0, 0), 2), shown[middle][left]
    assert near(shown[middle][right - 3], (0, 0, 0), 8), shown[middle][right - 3]


if __name__ == "__main__":
    main()
