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


if __name__ == "__main__":
    main()
