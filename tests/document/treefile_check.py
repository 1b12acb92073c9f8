"""Independent checks of tree files with python3's struct module, from the
byte tables of the format alone.

1. The program's writer: the sample document written by `treefile_tool
   write-sample` is taken apart field by field.
2. The program's reader: files made by an independent writer
   (tests/fixtures/trees/kovr_writer.py) are read with `treefile_tool dump`
   and what it read is compared with what was written.

Usage: treefile_check.py TREEFILE_TOOL"""

import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "fixtures", "trees"))
import kovr_writer as kw  # noqa: E402
import make_fixtures as mf  # noqa: E402

failures = []


def small_png(width, height):
    """An RGB PNG of the given size with a colour ramp (zlib and struct only)."""
    import zlib
    rows = b"".join(b"\x00" + b"".join(bytes((x * 40 % 256, y * 60 % 256, 128))
                                        for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) +
            chunk(b"IEND", b""))


def check(condition, message):
    if not condition:
        failures.append(message)


def get(buf, offset, fmt):
    values = struct.unpack_from(">" + fmt, buf, offset)
    return values[0] if len(values) == 1 else values


def pascal_at(buf, offset):
    return bytes(buf[offset + 1: offset + 1 + buf[offset]]).decode("utf-8", "replace")


def check_written_sample(tool, folder):
    path = os.path.join(folder, "sample.kovr")
    subprocess.run([tool, "write-sample", path], check=True)
    data = open(path, "rb").read()
    check(len(data) == kw.RECORD_SIZE + kw.SECTION_SIZE,
          "size %d, expected 29,256 + 14,264" % len(data))
    check(get(data, 0, "H") == 20, "version at 0")
    check(get(data, 2, "H") == 4, "component count at 2")
    check(data[14220:14224] == b"qjKv", "'qjKv' at 14,220")
    check(pascal_at(data, 14228) == "Main", "'Main' at 14,228")
    check(get(data, 14212, "H") == 3, "keyframe count at 14,212")
    check(get(data, 14214, "hh") == (3, -1), "selections at 14,214")
    rec3 = 4 + 444 * 3
    check(get(data, rec3, "HHh") == (2, 44, 3), "record 3 family, id, index")
    check(get(data, rec3 + 12, "4h") == (2, 0, -1, -1), "record 3 sources")
    check(get(data, rec3 + 20, "2H") == (1, 1), "record 3 input codes")
    rec2 = 4 + 444 * 2
    check(get(data, rec2 + 2, "H") == 127, "record 2 is a compiled sub-tree")
    check(get(data, 4 + 444 * 1 + 11, "B") == 5, "record 1 locks")
    check(get(data, 4 + 444 * 0 + 9, "b") == -1, "record 0 display position")
    for empty in range(4, 32):
        at = 4 + 444 * empty
        check(get(data, at, "H") == 0 and get(data, at + 12, "4h") == (-1,) * 4,
              "empty record %d" % empty)
    check(get(data, 14264, "4d") == (-2.0, 3.0, -1.5, 2.5), "view at 14,264")
    check(get(data, 14296, "HH") == (1, 3), "selected key and key count")
    key1 = 14300 + 288
    check(get(data, key1, "HH3d") == (1, 4, 0.5, -0.25, 4.0), "keyframe 1")
    check(get(data, key1 + 28, "I") == 5, "keyframe 1 palette count")
    check(get(data, 18908, "IIiHH") == (720, 480, 250, 29, 1), "movie constants, length, rate")
    check(tuple(data[18924:18929]) == (1, 1, 3, 2, 1), "animation options and mode")
    check(get(data, 18960, "H") == 450, "time-random period")
    check(get(data, 18964, "d") == 0.75, "time-random offset")
    check(get(data, 18972, "I") == 9, "palette count big-endian at 18,972")
    check(tuple(data[18976 + 4 * 2: 18980 + 4 * 2]) == (255, 8, 249, 14), "palette colour 2")
    check(get(data, 19232, "hHHhh") == (5, 10, 2, 2, -1), "colour settings")
    check(data[19242] == 9 and data[19243] == 1, "document byte and global shade")
    check(tuple(data[19248:19252]) == (255, 1, 2, 3), "default colour 2")
    check(get(data, 19256, "Hh") == (1, 7), "document flag and octaves")
    check(get(data, 19264, "I") == 2, "master-input mode")
    check(get(data, 19268, "6d") == tuple(1.5 * (i + 1) for i in range(6)), "master doubles")
    check(get(data, 19916, "ii") == (2, 7), "sound tag and transposition")
    check(data[24564] == 200, "sound name of 200 characters")
    check(get(data, 25092, "H") == 1, "sound-path flag")
    check(get(data, 25094, "4H") == (1, 2, 3, 4), "output channel counts")
    perm = get(data, 25160, "1024I")
    check(sorted(perm) == list(range(1024)), "permutation at 25,160")
    sub = kw.RECORD_SIZE
    check(get(data, sub, "HH") == (20, 2), "sub-tree section version and count")
    check(data[sub + 14220: sub + 14224] == b"qjKv", "sub-tree 'qjKv'")
    check(pascal_at(data, sub + 14228) == "Twirl", "sub-tree name")
    check(get(data, sub + 14212, "H") == 3, "sub-tree keyframe count")
    check(get(data, sub + 4 + 20, "2H") == (14, 15), "sub-tree inlet codes")


def dump(tool, path, *options):
    """What the tool read, keyed by each line's leading words ("sub1 func 0",
    "key 2", "palette")."""
    out = subprocess.run([tool, "dump", path, *options], capture_output=True, text=True)
    lines = {}
    for line in out.stdout.splitlines():
        words = line.split(" ")
        key = []
        if words[0].startswith("sub"):
            key.append(words.pop(0))
        key.append(words.pop(0))
        if key[-1] in ("func", "key", "input", "slot"):
            key.append(words.pop(0))
        lines[" ".join(key)] = " ".join(words)
    return lines


def check_read(tool, folder):
    path = os.path.join(folder, "blend.kovr")
    with open(path, "wb") as f:
        f.write(mf.blend_with_keys())
    d = dump(tool, path)
    check(d.get("result") == "1", "blend file read")
    check(d.get("count") == "3", "blend count")
    check(d.get("func 2", "").split()[:11] == "2 44 2 1 0 0 0 0 1 -1 -1".split(),
          "blend output component: " + d.get("func 2", ""))
    check(d.get("func 1", "").split()[6] == "5", "blend locks")
    check(d.get("output") == "2", "blend output component")
    check(d.get("selections") == "2 -1", "blend selections")
    check(d.get("colorfunc") == "3 0 0", "blend colour function")
    check(d.get("animation") == "3 2 240 29.969999999999999", "blend animation: " +
          d.get("animation", ""))
    check(d.get("key 2") == "1 3 1 -0.5 5 6", "blend key 2: " + d.get("key 2", ""))
    check(d.get("palette", "").split()[0] == "9", "blend palette count")
    check(d.get("sound") == "5 Blend " + "x" * 150, "blend sound name of 156 characters")
    perm = mf.shuffled(2)
    check(d.get("perm") == "%d %d %d %d" % (perm[0], perm[1], perm[2], perm[1023]),
          "blend permutation")

    path = os.path.join(folder, "compiled.kovr")
    with open(path, "wb") as f:
        f.write(mf.compiled_subtree())
    d = dump(tool, path)
    check(d.get("result") == "1", "compiled file read")
    check(d.get("sub1 name") == "Inner", "sub-tree name")
    check(d.get("sub1 func 0", "").split()[11:13] == ["14", "15"], "sub-tree inlet codes")

    # The version-17 file's picture input lies beside it: its reference is
    # decoded from the flag byte and the picture opened at its own size.
    path = os.path.join(folder, "narrow.kovr")
    with open(path, "wb") as f:
        f.write(mf.version17_narrow())
    with open(os.path.join(folder, "picture.png"), "wb") as f:
        f.write(small_png(6, 4))
    d = dump(tool, path)
    check(d.get("result") == "1", "version-17 file read")
    check(d.get("input 1") == "1 2 3 12 picture.png", "version-17 input slot 1: " +
          d.get("input 1", ""))
    check(d.get("slot 1") == "0 6 4 picture.png", "version-17 slot 1 opened: " +
          d.get("slot 1", ""))
    os.remove(os.path.join(folder, "picture.png"))
    d = dump(tool, path)
    check(d.get("slot 1", "").split()[0:1] == ["1"], "a missing input gives the default picture")
    # The default picture of a named resources folder: PNG bytes under a
    # name without an extension, read by content.
    resources = os.path.join(folder, "Resources")
    os.makedirs(resources)
    with open(os.path.join(resources, "DefaultPicture"), "wb") as f:
        f.write(small_png(5, 3))
    d = dump(tool, path, "--resources", resources)
    check(d.get("slot 1") == "1 5 3 Default", "the default picture of --resources: " +
          d.get("slot 1", ""))

    bad = bytearray(mf.one_component())
    struct.pack_into(">H", bad, 2, 40)
    path = os.path.join(folder, "bad.kovr")
    with open(path, "wb") as f:
        f.write(bad)
    check(dump(tool, path).get("result") == "-2", "count 40 refused")


def main():
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        check_written_sample(tool, folder)
        check_read(tool, folder)
    for f in failures:
        print("FAIL:", f)
    if failures:
        sys.exit(1)
    print("tree files: all checks passed")


if __name__ == "__main__":
    main()
