#!/usr/bin/env python3
"""Independent check of the palette library ('ecpl') and double-table file
layouts, built from the byte layout alone with python's struct module.

Palette library, 16,648 bytes: 64 slots of 260 bytes (count as unsigned
32-bit big-endian, then 64 colours of four bytes: flag, red, green, blue),
then two 32-bit words.  Double table: big-endian IEEE doubles, no header.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile

tool = sys.argv[1]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*args):
    out = subprocess.run([tool, *map(str, args)], check=True, capture_output=True, text=True)
    return out.stdout.splitlines()


def colour_bytes(k, i):
    return bytes([255 - i, k, (i * 3) % 256, k ^ i])


def library_bytes(counts, trailer=(0x12345678, 0xCAFEBABE)):
    data = b""
    for k in range(64):
        data += struct.pack(">I", counts[k])
        data += b"".join(colour_bytes(k, i) for i in range(64))
    return data + struct.pack(">II", *trailer)


def parse_library(data):
    slots = []
    for k in range(64):
        (count,) = struct.unpack_from(">I", data, 260 * k)
        slots.append((count, data[260 * k + 4:260 * k + 260]))
    return slots, struct.unpack_from(">II", data, 16640)


def dumped_slots(lines):
    slots = {}
    for line in lines:
        if line.startswith("slot "):
            _, k, count, hexcolours = line.split()
            slots[int(k)] = (int(count), bytes.fromhex(hexcolours))
    return slots


with tempfile.TemporaryDirectory() as tmp:
    # Ours reads what struct wrote; counts are unsigned and held to 63.
    counts = [(k * 5) % 70 for k in range(64)]
    counts[1], counts[2], counts[3], counts[4] = 200, 0x80000000, 0xFFFFFFFF, 64
    path = os.path.join(tmp, "python.ecpl")
    with open(path, "wb") as f:
        f.write(library_bytes(counts))
    lines = run("read-lib", path)
    check(lines[0] == "ok", "library written by struct was not read")
    slots = dumped_slots(lines)
    for k in range(64):
        count, colours = slots.get(k, (None, None))
        check(count == min(counts[k], 63), f"slot {k}: count {count}, stored {counts[k]}")
        expected = b"".join(colour_bytes(k, i) for i in range(64))
        check(colours == expected, f"slot {k}: colours differ")
    check(lines[-1] == "words 1 0", f"trailing words after a read: {lines[-1]}")

    # A truncated library is refused.
    with open(path, "wb") as f:
        f.write(library_bytes(counts)[:100])
    check(run("read-lib", path)[0] == "fail", "a 100-byte library was accepted")

    # struct reads what ours wrote.
    path = os.path.join(tmp, "ours.ecpl")
    run("write-lib", path)
    data = open(path, "rb").read()
    check(len(data) == 16648, f"library file of {len(data)} bytes")
    slots, words = parse_library(data)
    for k in range(64):
        count, colours = slots[k]
        check(count == (k * 7) % 64, f"written slot {k}: count {count}")
        check(colours == b"".join(colour_bytes(k, i) for i in range(64)),
              f"written slot {k}: colours differ")
    check(words == (0, 0), f"written trailing words {words}")

    # Double tables: ours reads what struct wrote, bit for bit.
    values = [1.0, -0.0, math.pi, -1e250, math.inf, 5e-324, float("nan"), 1.7976931348623157e308]
    path = os.path.join(tmp, "python.tbl")
    with open(path, "wb") as f:
        f.write(struct.pack(">%dd" % len(values), *values) + b"\x01\x02\x03")
    lines = run("read-table", path, 100)
    check(lines[0] == f"count {len(values)}", f"table count line {lines[0]}")
    for i, value in enumerate(values):
        expected = struct.pack(">d", value).hex()
        got = lines[1 + i] if 1 + i < len(lines) else None
        check(got == expected, f"double {i}: {got} != {expected}")
    check(run("read-table", path, 3)[0] == "count 3", "maximum not applied")

    open(os.path.join(tmp, "empty.tbl"), "wb").close()
    check(run("read-table", os.path.join(tmp, "empty.tbl"), 10) == ["count 0"],
          "an empty table did not read as 0 doubles")

    # struct reads what ours wrote.
    path = os.path.join(tmp, "ours.tbl")
    run("write-table", path, 50)
    data = open(path, "rb").read()
    check(len(data) == 50 * 8, f"table file of {len(data)} bytes")
    written = struct.unpack(">50d", data)
    for i, value in enumerate(written):
        check(value == i * 0.37 - 5.0, f"written double {i}: {value}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("palette library and double-table layouts agree")
