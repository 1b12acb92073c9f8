"""Independent check of the UI primitives sheet: runs the tool, reads the PNG
with zlib and probes pixels at the rectangles the tool prints."""
import struct
import subprocess
import sys
import tempfile
import zlib


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour == 6, "expected 8-bit RGBA"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, prev = [], bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        rows.append(line)
        prev = line
    return rows


def main():
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as d:
        out = d + "/sheet.png"
        text = subprocess.run([tool, out], check=True, capture_output=True, text=True).stdout
        rows = read_png(out)
    cells = {}
    for line in text.splitlines():
        *name, top, left, bottom, right = line.split()
        cells[" ".join(name)] = (int(top), int(left), int(bottom), int(right))

    def alpha(x, y):
        return rows[y][4 * x + 3]

    failures = []

    def check(ok, what):
        if not ok:
            failures.append(what)

    # Round box: corners transparent, edge midpoints filled.
    t, l, b, r = cells["QZ_paintRoundBox"]
    for x, y in ((l, t), (r - 1, t), (l, b - 1), (r - 1, b - 1)):
        check(alpha(x, y) == 0, "round box corner (%d,%d) not transparent" % (x, y))
    for x, y in (((l + r) // 2, t), ((l + r) // 2, b - 1), (l, (t + b) // 2), (r - 1, (t + b) // 2)):
        check(alpha(x, y) == 255, "round box edge (%d,%d) not filled" % (x, y))

    # Shadowed rectangle: shadow below right, nothing above left.
    t, l, b, r = cells["QZ_paintShadowedRect"]
    check(alpha(r + 2, b + 2) > 30, "no shadow below right")
    check(alpha(l - 2, t - 2) == 0, "shadow above left")

    # Fuzzy line of width 4: the centre pixel composes all four strokes.
    t, l, b, r = cells["QZ_drawFuzzyLine"]
    y = t + (b - t) // 2
    want = 255 * (1 - (1 - 0.125) * (1 - 0.34375) * (1 - 0.5625) * (1 - 0.78125))
    centre = alpha((l + r) // 2, y)
    check(abs(centre - want) <= 4, "fuzzy centre alpha %d, want %.1f" % (centre, want))

    # Text ink inside its rectangle (a 2-pixel allowance for antialiasing).
    for name, (t, l, b, r) in cells.items():
        if not name.startswith("QZ_drawString"):
            continue
        inside = outside = 0
        for y in range(t - 6, b + 6):
            for x in range(l - 6, r + 6):
                if alpha(x, y) > 64:
                    if l - 2 <= x < r + 2 and t - 2 <= y < b + 2:
                        inside += 1
                    else:
                        outside += 1
        check(inside > 50 and outside == 0,
              "%s: ink inside %d, outside %d" % (name, inside, outside))

    for f in failures:
        print("FAIL:", f)
    print("%d cells checked, %d failures" % (len(cells), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
