"""Old tree records written with struct from the byte table of the old format,
converted by `treefile_tool convert-old` and read back with `treefile_tool
dump`. Checks what the conversion takes from each field, that a record with
more than 32 components or a short record is refused, and that the old file
is never changed.

Usage: oldformat_check.py TREEFILE_TOOL WORKDIR
"""

import hashlib
import os
import struct
import subprocess
import sys
import zlib

RECORD = 34096
SECTION = 15072
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def put(buf, at, fmt, *values):
    struct.pack_into(">" + fmt, buf, at, *values)


def component(family, fid, level, display, params=(0.0, 0.0, 0.0), sources=(-1, -1, -1),
              codes=(0, 0, 0), code4=0, source4=-1, slot=0, locks=0):
    rec = bytearray(56)
    put(rec, 0, "HHHHHh", family, fid, level * 4 + display, slot, code4, source4)
    put(rec, 12, "3d", *params)
    put(rec, 36, "3i", *sources)
    put(rec, 48, "3H", *codes)
    rec[54] = locks
    return rec


def record(levels, version=14, anim_kind=0, rate=25, rate2997=0, mode=1, octaves=16,
           keys=(), key_lists=None, length=600, inputs=None, extra=b""):
    buf = bytearray(RECORD)
    put(buf, 0, "hh", version, len(levels) - 1)
    for level, comps in enumerate(levels):
        at = 228 * level
        put(buf, at + 4, "I", len(comps))
        for i, c in enumerate(comps):
            buf[at + 8 + 56 * i: at + 8 + 56 * (i + 1)] = c
    put(buf, 2746, "H", 3)                     # colour function
    put(buf, 6844, "4d", 0.0, 0.0, -1.0, 1.0)  # x pair of zeros: -pi, pi
    put(buf, 6876, "I", 5)                     # palette count
    put(buf, 12314, "Hxxxxd", 321, 0.5)
    buf[12337] = anim_kind
    put(buf, 12338, "h", octaves)
    for i in range(1024):
        put(buf, 12352 + 4 * i, "I", (i * 7) % 1024)
    put(buf, 16448, "HH", 0, len(keys))
    for k, (cx, cy, h) in enumerate(keys):
        at = 16452 + 1068 * k
        put(buf, at, "HH", 1, 2)
        put(buf, at + 8, "3d", cx, cy, h)
        lists = key_lists(k) if key_lists else ([0.0] * 32, [0.0] * 32, [0.0] * 32)
        for j, values in enumerate(lists):
            put(buf, at + 300 + 256 * j, "32d", *values)
    put(buf, 33548, "ihh", length, rate, rate2997)
    put(buf, 33558, "h", mode)
    for slot, (flags, start, name) in (inputs or {}).items():
        buf[33796 + slot] = flags
        put(buf, 33800 + 4 * slot, "I", start)
        put(buf, 33816 + 70 * slot, "hiB", -1, 77, len(name))
        buf[33816 + 70 * slot + 7: 33816 + 70 * slot + 7 + len(name)] = name.encode()
    return bytes(buf) + extra


def run(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True)


def convert(tool, work, name, data):
    old = os.path.join(work, name + ".old")
    new = os.path.join(work, name + ".kovr")
    with open(old, "wb") as f:
        f.write(data)
    digest = hashlib.sha256(data).hexdigest()
    result = run(tool, "convert-old", old, new)
    with open(old, "rb") as f:
        check(hashlib.sha256(f.read()).hexdigest() == digest, name + ": old file changed")
    dumped = {}
    funcs = []
    if result.returncode == 0:
        for line in run(tool, "dump", new).stdout.splitlines():
            key, _, rest = line.partition(" ")
            if key == "func":
                funcs.append(rest.split())
            else:
                dumped[key] = rest
    return result, dumped, funcs


def small_png(width, height):
    """An RGB PNG of the given size (zlib and struct only)."""
    rows = b"".join(b"\x00" + b"".join(bytes((x * 40 % 256, y * 60 % 256, 128))
                                        for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) +
            chunk(b"IEND", b""))


def run_convert_slots(tool, work, name, data):
    """The "slot S ..." lines that convert-old prints, by slot; the old file
    must come out unchanged."""
    old = os.path.join(work, name + ".old")
    with open(old, "wb") as f:
        f.write(data)
    result = run(tool, "convert-old", old, os.path.join(work, name + ".kovr"))
    with open(old, "rb") as f:
        check(f.read() == data, name + ": old file changed")
    slots = {}
    for line in result.stdout.splitlines():
        words = line.split(" ", 2)
        if words[0] == "slot":
            slots[words[1]] = words[2].strip()
    return slots


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)

    # Links by position code, id 63, input codes, the fourth input.
    levels = [
        [component(2, 0, 0, 0, params=(1.0, 2.0, 3.0), codes=(6, 7, 0)),
         component(2, 12, 0, 1, codes=(7, 6, 0), locks=5)],
        [component(2, 2, 1, 0, sources=(0, 1, -1), codes=(1, 1, 0)),
         component(9, 0, 1, 1, sources=(4, 1, 0), codes=(1, 1, 1), code4=0, source4=0)],
        [component(2, 63, 2, 0, sources=(4, 5, -1), codes=(1, 1, 0))],
    ]
    result, d, funcs = convert(tool, work, "links", record(levels, anim_kind=1, keys=((0.5, 1.0, 2.0),),
                                                          rate=29, rate2997=1, octaves=32767))
    check(result.returncode == 0 and "result 1" in result.stdout, "links: converted " + result.stdout)
    check(len(funcs) == 5, "links: five components")
    if len(funcs) == 5:
        # func fields: slot family id index level display aux locks s0..s3 c0..c3 A B C kf15A
        f0, f1, f2, f3, f4 = funcs
        check(f0[1:3] == ["2", "0"] and [float(v) for v in f0[16:19]] == [1, 2, 3],
              "links: A, B, C of slot 0")
        check(f1[7] == "5", "links: locks")
        check(f2[8:10] == ["0", "1"], "links: sources by position code")
        check(f3[8:12] == ["2", "1", "0", "0"], "links: sources and the fourth source resolved")
        check(f3[15] == "4", "links: a linked fourth input of code 0 gets code 4")
        check(f4[2] == "127", "links: id 63 becomes 127")
        check(f4[8:10] == ["2", "3"], "links: level-1 sources")
    check(d.get("octaves") == "256", "links: octave count 32767 held to 256: " + d.get("octaves", ""))
    check(d.get("animopts", "").split()[:2] == ["1", "1"], "links: kind 1 sets straight moves and path")
    check(d.get("animation", "").split()[3:4] == ["29.969999999999999"], "links: 29.97 " +
          d.get("animation", ""))
    check(d.get("view", "").split()[:2] == ["-3.1415926535897931", "3.1415926535897931"],
          "links: zero view pair becomes -pi, pi")

    # Version 12 keeps only the low two bits of the input codes; kind 5 sets
    # random drift; a rate of 1 becomes 25; octave count 3 becomes 4.
    levels = [[component(2, 0, 0, 0, codes=(6, 7, 0))],
              [component(2, 2, 1, 0, sources=(0, 0, -1), codes=(5, 1, 0))]]
    result, d, funcs = convert(tool, work, "v12", record(levels, version=12, anim_kind=5, rate=1,
                                                         octaves=3))
    check(result.returncode == 0, "v12: converted")
    if len(funcs) == 2:
        check(funcs[0][12:14] == ["2", "3"], "v12: input codes 6, 7 keep their low bits")
        check(funcs[1][12] == "1", "v12: input code 5 keeps 1")
    check(d.get("animopts", "").split()[3:4] == ["1"], "v12: kind 5 sets random drift")
    check(d.get("animation", "").split()[3:4] == ["25"], "v12: rate 1 becomes 25")
    check(d.get("animation", "").split()[1:2] == ["1"], "v12: mode 1 before version 10")
    check(d.get("octaves") == "4", "v12: octave count 3 held to 4")

    # Keyframe lists: component n of those with parameters takes entry n.
    def lists(k):
        return ([10.0 * k + n for n in range(32)], [100.0 * k + n for n in range(32)],
                [-1.0 * k - n for n in range(32)])
    levels = [[component(2, 0, 0, 0), component(2, 1, 0, 1)]]
    keys = tuple((0.0, 0.0, 1.0) for _ in range(16))
    result, d, funcs = convert(tool, work, "keys", record(levels, keys=keys, key_lists=lists))
    check(result.returncode == 0, "keys: converted")
    if len(funcs) == 2:
        check(float(funcs[1][19]) == 10.0 * 15 + 1, "keys: component 1 takes entry 1 of key 15")

    # More than 32 components: refused, nothing written.
    levels = [[component(2, 0, l, i) for i in range(4)] for l in range(9)]
    result, d, funcs = convert(tool, work, "many", record(levels))
    check(result.returncode == 1 and "result 2" in result.stdout, "many: refused " + result.stdout)

    # A short record and level counts past the record are refused.
    result, d, funcs = convert(tool, work, "short", record([[component(2, 0, 0, 0)]])[:30000])
    check("result 2" in result.stdout, "short: refused")
    bad = bytearray(record([[component(2, 0, 0, 0)]]))
    put(bad, 228 * 0 + 4, "I", 0xFFFFFFF0)
    result, d, funcs = convert(tool, work, "count", bytes(bad))
    check("result 2" in result.stdout, "count: refused")

    # A compiled sub-tree section: its components, keyframe lists and name.
    sub = bytearray(SECTION)
    put(sub, 0, "hh", 14, 0)
    put(sub, 4, "I", 1)
    sub[8:64] = component(2, 5, 0, 0, params=(0.25, 0.5, 0.75))
    put(sub, 2742, "H", 2)
    put(sub, 2748 + 768, "d", 9.5)  # key 1, A list entry 0
    name = b"Spiral"
    sub[15036] = len(name)
    sub[15037:15037 + len(name)] = name
    levels = [[component(2, 0, 0, 0)], [component(2, 63, 1, 0, sources=(0, 0, -1), codes=(1, 1, 0))]]
    result, d, funcs = convert(tool, work, "subtree", record(levels, extra=bytes(sub)))
    check(result.returncode == 0, "subtree: converted")
    out = run(tool, "dump", os.path.join(work, "subtree.kovr")).stdout
    check("sub1 name Spiral" in out, "subtree: name read at 15,036")
    sub_funcs = [l.split() for l in out.splitlines() if l.startswith("sub1 func")]
    check(len(sub_funcs) == 1 and sub_funcs[0][3:5] == ["2", "5"], "subtree: its component")
    if sub_funcs:
        check(sub_funcs[0][14:16] == ["14", "15"], "subtree: level-0 inputs read the owner's inlets")

    # Stored octave counts are held to 4..256 (3 and 32767 are checked above).
    for stored, want in ((-1, "4"), (257, "256")):
        result, d, funcs = convert(tool, work, "octaves%d" % stored,
                                   record([[component(2, 0, 0, 0)]], octaves=stored))
        check(d.get("octaves") == want, "octave count %d read as %r" % (stored, d.get("octaves")))

    # Inputs: a picture found beside the old file opens at the render size;
    # a missing one gives the default picture and an empty name, and the old
    # file is not written (convert checks its bytes).
    with open(os.path.join(work, "there.png"), "wb") as f:
        f.write(small_png(6, 4))
    picture = [[component(2, 30, 0, 0, codes=(2, 3, 0), slot=1)]]
    for name, want in (("there.png", "0 768 576 there.png"), ("missing.png", "1 0 0")):
        data = record(picture, inputs={1: (0, 5, name)})
        result = run_convert_slots(tool, work, "input_" + name, data)
        check(result.get("1") == want, "inputs: %s gives slot 1 %r" % (name, result.get("1")))

    if failures:
        print("\n".join("FAIL " + f for f in failures))
        sys.exit(1)
    print("old format: all checks passed")


if __name__ == "__main__":
    main()
