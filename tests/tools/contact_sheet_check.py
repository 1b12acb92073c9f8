#!/usr/bin/env python3
"""Reads a family's contact sheet back as a PPM file and checks its layout:
the picture size that its thumbnail grid needs for the family's built members
(as catalog_dump lists them), and no thumbnail of one flat colour (every
built member shows a pattern at its defaults), except the ids given as
allowed to be flat. A family drawn with several panels per member (--panels
N: the colour, then output 4 beside it) has each panel checked; FLAT_ID is an
id (every panel may be flat) or ID:P (only panel P, from 1, may be flat).

Usage: contact_sheet_check.py CONTACT_SHEET_TOOL CATALOG_DUMP_TOOL FAMILY_CODE
           [--panels N] [FLAT_ID ...]
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from ppm import read_ppm  # noqa: E402

THUMB = 48
COLUMNS = 6
GAP = 6
LABELS = 2 * 9


def read_sheet(path):
    width, height, maxval, pixels = read_ppm(path)
    assert maxval == 255, maxval
    assert len(pixels) == width * height * 3, (len(pixels), width, height)
    return width, height, pixels


def main():
    sheet_tool, dump_tool, family = sys.argv[1], sys.argv[2], sys.argv[3]
    rest = sys.argv[4:]
    panels = 1
    if rest[:1] == ["--panels"]:
        panels = int(rest[1])
        rest = rest[2:]
    may_be_flat = set(rest)
    dump = subprocess.run([dump_tool], check=True, capture_output=True, text=True).stdout
    built = [line.split("\t")[1] for line in dump.splitlines()
             if line.split("\t")[0] == family and line.endswith("\treal")]
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "sheet.ppm")
        subprocess.run([sheet_tool, "--family", family, path, str(THUMB)], check=True)
        width, height, pixels = read_sheet(path)

    rows = (len(built) + COLUMNS - 1) // COLUMNS
    cell_width = panels * (THUMB + GAP)
    want = (COLUMNS * cell_width + GAP, rows * (THUMB + LABELS + GAP) + GAP)
    failures = 0
    if (width, height) != want:
        print(f"sheet is {width}x{height}, expected {want[0]}x{want[1]}")
        return 1
    for k, member in enumerate(built):
        top = GAP + (k // COLUMNS) * (THUMB + LABELS + GAP)
        for panel in range(panels):
            left = GAP + (k % COLUMNS) * cell_width + panel * (THUMB + GAP)
            colours = set()
            for y in range(top, top + THUMB):
                row = (y * width + left) * 3
                for x in range(THUMB):
                    colours.add(pixels[row + 3 * x:row + 3 * x + 3])
            if len(colours) < 2 and not may_be_flat & {member, f"{member}:{panel + 1}"}:
                where = f" panel {panel + 1}" if panels > 1 else ""
                print(f"family {family} id {member}{where}: thumbnail is one flat colour")
                failures += 1
    print(f"family {family}: {len(built)} thumbnails, {failures} flat")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
