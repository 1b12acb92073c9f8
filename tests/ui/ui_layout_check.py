"""Independent check of the UI layout files, written from the file format's
tables with struct: layout files written here must read back through the
program's reader (ui_layout_dump) field by field, files the program's writer
makes (ui_layout_make) must parse here to the fields of their table, damaged
files must be refused, and ui_probe must draw the fixture with its frames and
the list-image cells of the standard buttons."""
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_rows import read_png  # noqa: E402

COLUMNS = ("layer kind style altStyle anchor variant transparency columns resID color1 "
           "color2 top left bottom right size font face justification opcode entries mode "
           "arrows min max name").split()


def pstring(text, size=64):
    data = text.encode("utf-8")
    return bytes([len(data)]) + data + bytes(size - 1 - len(data))


def header(layout_id, count, layers=0, width=640, height=480, box=(0, 0, 100, 200),
           states=(0x0001FFFF, 0x0002FFFF, 0x0003FFFF, 0xFFFFFFFF), colours=None,
           name="Check"):
    colours = colours or [(0, 10, 20, 30), (0, 1, 2, 3), (7, 40, 40, 40), (9, 90, 91, 92),
                          (0, 0, 0, 0)]
    out = struct.pack(">hhHHhh4h4I", layout_id, count, layers, 0, width, height, *box, *states)
    for c in colours:
        out += bytes(c)
    out += bytes(4) + bytes(16) + pstring(name)
    assert len(out) == 140
    return out


def record(kind, layer=0, style=0, alt=0, anchor=0, variant=0, transparency=0, columns=0,
           res=128, c1=(0, 1, 2, 3), c2=(0, 4, 5, 6), rect=(1, 2, 3, 4), look=(12, 1, 0, 1),
           opcode=b"\0\0\0\0", entries=0, mode=0, arrows=0, lo=0.0, hi=0.0, name="",
           hi_bits=None):
    out = struct.pack(">BBbbBbBbhh", layer, kind, style, alt, anchor, variant, transparency,
                      columns, 0, res)
    out += bytes(c1) + bytes(c2) + struct.pack(">4h", *rect) + bytes(look)
    out += opcode + struct.pack(">hBBf", entries, mode, arrows, lo)
    out += struct.pack(">I", hi_bits) if hi_bits is not None else struct.pack(">f", hi)
    out += bytes(8)
    out += pstring(name)
    assert len(out) == 120
    return out


def run(args, expect_ok=True):
    p = subprocess.run(args, capture_output=True)
    if expect_ok and p.returncode != 0:
        raise SystemExit("%s failed: %s" % (args, p.stderr.decode()))
    return p


def parse_dump(text):
    keys, items, in_items = {}, [], False
    for line in text.split("\n"):
        if not line:
            continue
        if line.startswith("layer\t"):
            in_items = True
            continue
        if in_items:
            items.append(dict(zip(COLUMNS, line.split("\t"))))
        else:
            k, _, v = line.partition(" ")
            keys[k] = v
    return keys, items


def check_reader(dump, folder):
    """Our reader reads a file written here, field by field."""
    records = [
        record(2, layer=3, style=12, alt=-2, anchor=9, variant=1, transparency=1, columns=-1,
               res=-300, rect=(10, -20, 30, 400), look=(14, 2, 3, 1), opcode=b"\x20\x20\x6b\x6f",
               name="OK"),
        record(11, style=3, variant=14, c1=(0, 9, 9, 9), look=(9, 4, 0, 4), entries=7, mode=3,
               arrows=1, lo=-2.5, hi=1e6, name="number"),
        record(8, style=3, entries=4, hi_bits=0xFFFFFFFF, name="pop"),
        record(0, variant=0, alt=5),
        record(14, c2=(0, 1, 1, 1)),
        record(4, opcode=struct.pack("<i", -51)),
        record(1, opcode=b"abcd", name="text \u00e9"),
    ]
    path = os.path.join(folder, "UI_600")
    with open(path, "wb") as f:
        f.write(header(600, len(records), layers=1) + b"".join(records))
    keys, items = parse_dump(run([dump, path]).stdout.decode("utf-8"))
    assert keys["id"] == "600" and keys["layers"] == "1", keys
    assert keys["width"] == "640" and keys["height"] == "480"
    assert keys["box"] == "0 0 100 200"
    assert keys["states"] == "0x0001FFFF 0x0002FFFF 0x0003FFFF 0xFFFFFFFF"
    # Alpha bytes read as 255 whatever the file holds.
    assert keys["background"] == "255,10,20,30" and keys["frame"] == "255,40,40,40", keys
    assert keys["light"] == "255,90,91,92" and keys["name"] == "Check"
    b = items[0]
    assert (b["layer"], b["kind"], b["style"], b["altStyle"], b["anchor"], b["variant"]) == \
        ("3", "2", "12", "-2", "9", "1"), b
    assert (b["transparency"], b["columns"], b["resID"]) == ("1", "-1", "-300")
    assert (b["top"], b["left"], b["bottom"], b["right"]) == ("10", "-20", "30", "400")
    assert (b["size"], b["font"], b["face"], b["justification"]) == ("14", "2", "3", "1")
    assert b["opcode"] == "'ok  '" and b["name"] == "OK", b
    assert b["color1"] == "255,1,2,3" and b["color2"] == "255,4,5,6"
    n = items[1]
    # A number gets its colours and text look whatever the record holds.
    assert n["color1"] == "255,0,0,40" and n["color2"] == "255,192,192,192", n
    assert (n["size"], n["font"], n["justification"]) == ("10", "1", "4"), n
    assert (n["entries"], n["mode"], n["arrows"]) == ("7", "3", "1")
    assert float(n["min"]) == -2.5 and float(n["max"]) == 1e6, n
    p = items[2]
    assert p["color2"] == "255,192,192,192" and p["max"] == "0xFFFFFFFF", p
    assert items[3]["altStyle"] == "2"  # a box of variant 0
    assert items[4]["color2"] == "255,0,128,64"
    assert items[5]["opcode"] == "-51"
    assert items[6]["opcode"] == "0"  # only buttons carry an opcode


def check_writer(make, folder):
    """Files our writer makes parse here to the fields of their table."""
    rows = [
        ["1", "2", "12", "6", "3", "0", "0", "0", "-5", "255,10,20,30", "255,40,50,60",
         "5", "6", "25", "96", "13", "1", "4", "1", "'ok  '", "0", "0", "0", "0", "0", "Go"],
        ["0", "11", "3", "2", "0", "12", "0", "0", "128", "255,0,0,40", "255,192,192,192",
         "30", "6", "50", "96", "10", "1", "0", "2", "0", "5", "2", "1", "-1.25", "8", ""],
        ["0", "4", "0", "0", "0", "1", "1", "2", "-70", "255,1,1,1", "255,2,2,2",
         "60", "6", "92", "38", "9", "0", "0", "0", "51", "0", "0", "0", "0", "0", "Pict"],
    ]
    table = "\n".join([
        "id 601", "layers 1", "width 300", "height 200",
        "states 0x0001FFFF 0x00020102 0x0003FFFF 0xFFFFFFFF",
        "background 255,64,64,64", "color2 255,0,0,32", "frame 255,33,33,33",
        "light 255,107,107,107", "shadow 255,0,0,0", "name Written",
        "\t".join(COLUMNS)] + ["\t".join(r) for r in rows]) + "\n"
    src, out = os.path.join(folder, "t.txt"), os.path.join(folder, "UI_601")
    open(src, "w").write(table)
    run([make, src, out])
    data = open(out, "rb").read()
    assert len(data) == 140 + 3 * 120, len(data)
    lid, count, layers, zero, width, height = struct.unpack(">hhHHhh", data[:12])
    assert (lid, count, layers, zero, width, height) == (601, 3, 1, 0, 300, 200)
    assert struct.unpack(">4h", data[12:20]) == (5, 6, 92, 96)  # the items' box
    assert struct.unpack(">4I", data[20:36])[1] == 0x00020102
    assert data[36:40] == bytes([255, 64, 64, 64]) and data[76] == 7
    assert data[77:84] == b"Written" and data[60:76] == bytes(16)
    for i, row in enumerate(rows):
        r = data[140 + 120 * i:260 + 120 * i]
        fields = struct.unpack(">BBbbBbBbhh", r[:12])
        assert [str(v) for v in fields[:8]] == row[:8] and fields[8] == 0, (i, fields)
        assert str(fields[9]) == row[8]
        assert r[12:16] == bytes(int(v) for v in row[9].split(","))
        assert [str(v) for v in struct.unpack(">4h", r[20:28])] == row[11:15]
        assert [str(v) for v in r[28:32]] == row[15:19], (i, list(r[28:32]))
        entries, mode, arrows, lo, hi = struct.unpack(">hBBff", r[36:48])
        assert (entries, mode, arrows) == tuple(int(v) for v in row[20:23]), (i, entries)
        assert (lo, hi) == (float(row[23]), float(row[24]))
        assert r[48:56] == bytes(8) and r[56] == len(row[25]) and r[57:57 + r[56]] == \
            row[25].encode()
    # The opcode is little-endian; others' words are 0.
    assert data[140 + 32:140 + 36] == b"\x20\x20\x6b\x6f"
    assert data[260 + 32:260 + 36] == bytes(4)
    assert struct.unpack("<i", data[380 + 32:380 + 36])[0] == 51
    # A table the reader would refuse fails the build.
    open(src, "w").write(table.replace("\t11\t3\t", "\t15\t3\t"))
    assert run([make, src, out], expect_ok=False).returncode == 1
    assert open(out, "rb").read() == data  # the file is untouched


def check_damaged(dump, folder):
    good = header(602, 1) + record(5, lo=0.0, hi=1.0)
    cases = {
        "short header": good[:139],
        "count": good[:2] + struct.pack(">h", -1) + good[4:],
        "huge count": good[:2] + struct.pack(">h", 1025) + good[4:],
        "missing record": good[:200],
        "kind": good[:141] + bytes([15]) + good[142:],
        "name": good[:76] + bytes([64]) + good[77:],
        "width": good[:8] + struct.pack(">h", -1) + good[10:],
        "entries": good[:176] + struct.pack(">h", -1) + good[178:],
        "min": good[:180] + struct.pack(">f", float("nan")) + good[184:],
    }
    for what, data in cases.items():
        path = os.path.join(folder, "bad")
        open(path, "wb").write(data)
        p = run([dump, path], expect_ok=False)
        assert p.returncode == 1 and p.stderr, (what, p.returncode)
        assert not p.stdout, what


def check_probe(probe, resources, folder):
    out = os.path.join(folder, "probe.png")
    script = os.path.join(folder, "script")
    open(script, "w").write("click 340 130\nkey tab\n")
    p = run([probe, "--resources", resources, "9000", out, script])
    lines = p.stdout.decode().split("\n")
    assert "hit 16" in lines and "focused 24" in lines, lines[:3]
    shown = read_png(out)
    assert len(shown) == 320 and len(shown[0]) == 640
    background = (64, 64, 64)
    assert shown[5][5][:3] == background
    # Style 7 of the fixture (frame colour fill), style 8 (mean of the
    # background and colour 1: a rounded fill).
    assert shown[80][50][:3] == (33, 33, 33), shown[80][50]
    assert shown[80][140][:3] == ((64 + 60) // 2, (64 + 160) // 2, (64 + 60) // 2)
    # The focused number is drawn in the editing colour (right of its
    # value's digits).
    assert shown[225][335][:3] == (0, 0, 127), shown[225][335]
    # The OK button is cell 4 of the first list image, drawn at the corner:
    # where the cell is opaque the window shows its pixels.
    cells = read_png(os.path.join(resources, "rlist000.png"))
    ok_left, ok_top = 640 - 76, 320 - 36
    opaque = 0
    for y in range(32):
        for x in range(32):
            want, got = cells[y][128 + x], shown[ok_top + y][ok_left + x]
            if len(want) == 4 and want[3] != 255:
                continue
            opaque += 1
            assert all(abs(a - b) <= 2 for a, b in zip(want[:3], got)), (x, y, want, got)
    assert opaque > 200, opaque


def main():
    dump, make, probe, resources = sys.argv[1:5]
    with tempfile.TemporaryDirectory() as folder:
        check_reader(dump, folder)
        check_writer(make, folder)
        check_damaged(dump, folder)
        check_probe(probe, resources, folder)
    print("ui layout check passed")


if __name__ == "__main__":
    main()
