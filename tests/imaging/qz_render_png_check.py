"""Runs qz_render_png and reads its PNG with zlib and struct only: the
picture must stand upright, in its place, with exact colours."""
import subprocess
import sys
import tempfile
from pathlib import Path

from png_decode import decode_png  # beside this file (zlib and struct only)


def read_png(path):
    """(width, height, pixel(x, y) as an RGBA tuple) of an RGB or RGBA PNG."""
    width, height, colour_type, channels, rows = decode_png(path)
    assert colour_type in (2, 6), colour_type

    def pixel(x, y):
        p = rows[y][x * channels:(x + 1) * channels]
        return tuple(p) if channels == 4 else tuple(p) + (255,)

    return width, height, pixel


def render_expected(x, y):
    left, right, top, bottom = x < 4, x >= 36, y < 4, y >= 26
    if left and top:
        return (255, 0, 0, 255)
    if right and top:
        return (0, 255, 0, 255)
    if left and bottom:
        return (0, 0, 255, 255)
    return ((6 * x) & 255, (8 * y) & 255, ((x + y) * 5) & 255, 255)


def world_expected(x, y):
    return (255, 255, 0, 255) if y == 0 else ((20 * x) & 255, (30 * y) & 255, 200, 255)


def main():
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        out = Path(folder) / "render.png"
        subprocess.run([tool, str(out)], check=True)
        width, height, pixel = read_png(out)
    assert (width, height) == (64, 48), (width, height)
    background = (16, 16, 16, 255)
    # Orientation markers at the corners of the drawn rectangle.
    assert pixel(12, 9) == (255, 0, 0, 255), pixel(12, 9)
    assert pixel(51, 9) == (0, 255, 0, 255), pixel(51, 9)
    assert pixel(12, 38) == (0, 0, 255, 255), pixel(12, 38)
    assert pixel(2, 40) == (255, 255, 0, 255), pixel(2, 40)
    # Every pixel, exactly.
    bad = []
    for y in range(height):
        for x in range(width):
            if 12 <= x < 52 and 9 <= y < 39:
                want = render_expected(x - 12, y - 9)
            elif 2 <= x < 12 and 40 <= y < 48:
                want = world_expected(x - 2, y - 40)
            else:
                want = background
            if pixel(x, y) != want:
                bad.append((x, y, pixel(x, y), want))
    assert not bad, f"{len(bad)} pixels differ, first {bad[:5]}"
    print("render PNG upright and exact")


if __name__ == "__main__":
    main()
