"""Independent check of the dialogs' layout files, read with struct from the
layout format's offsets (a 140-byte header: the item count at 2; 120-byte
item records: the kind at 1, a button's opcode as a little-endian word at
32): the alert's item 2 is a text and item 3 the OK button ('ok  ', bytes
20 20 6B 6F), and the other dialogs carry the item kinds and opcodes their
code relies on. Then dialog_probe answers the alert, the warning and the
save question through scripted presses."""
import os
import struct
import subprocess
import sys
import tempfile

HEADER, RECORD = 140, 120


def items(path):
    data = open(path, "rb").read()
    assert len(data) >= HEADER, path
    count = struct.unpack_from(">h", data, 2)[0]
    assert len(data) >= HEADER + count * RECORD, path
    out = []
    for i in range(count):
        rec = data[HEADER + i * RECORD:HEADER + (i + 1) * RECORD]
        out.append((rec[1], rec[32:36]))
    return out


def code(text):
    return bytes(reversed(text.encode("ascii")))  # little-endian word of a code


def number(n):
    return struct.pack("<i", n)


# item: (kind, opcode bytes or None when any)
EXPECTED = {
    1059: {2: (1, None), 3: (2, code("ok  ")), 4: (10, None)},
    1058: {2: (1, None), 3: (2, code("canc")), 4: (2, code("ok  "))},
    1056: {1: (1, None), 2: (2, number(2))},
    1057: {2: (1, None), 3: (2, code("canc")), 4: (2, number(4)), 5: (2, code("ok  "))},
    1031: dict([(1, (13, None))] + [(n, (12, None)) for n in (4, 5, 6)] +
               [(n, (2, number(op))) for n, op in
                ((15, 1), (16, 2), (17, 3), (20, 4), (7, 11), (8, 9), (9, 10), (18, 5),
                 (10, 7), (24, 24), (11, 17), (19, 6), (21, 12), (22, 13), (23, 14),
                 (12, -1), (13, -1), (14, -1), (3, -1), (2, -1))]),
}


def check_layouts(resources):
    failures = []
    alert = items(os.path.join(resources, "UI_1059"))
    if alert[3] != (2, bytes([0x20, 0x20, 0x6B, 0x6F])) or alert[2][0] != 1:
        failures.append("UI_1059: item 3 %r, item 2 kind %d" % (alert[3], alert[2][0]))
    for layout, table in EXPECTED.items():
        found = items(os.path.join(resources, "UI_%d" % layout))
        for n, (kind, opcode) in table.items():
            if n >= len(found):
                failures.append("UI_%d: no item %d" % (layout, n))
                continue
            if found[n][0] != kind or (opcode is not None and found[n][1] != opcode):
                failures.append("UI_%d item %d: kind %d opcode %s, expected %d %s" % (
                    layout, n, found[n][0], found[n][1].hex(), kind,
                    opcode.hex() if opcode else "any"))
    return failures


def probe(tool, resources, script, *args):
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
        f.write(script)
        name = f.name
    try:
        run = subprocess.run([tool, "--script", name, "--resources", resources] + list(args),
                             capture_output=True, text=True, timeout=120)
    finally:
        os.unlink(name)
    return run.returncode, run.stdout


def check_answers(tool, resources):
    failures = []
    cases = [
        ("item 3\n", ["alert", "0", "Hello"], "result 1"),
        ("key return\nitem 3\n", ["alert", "4"], "result 1"),
        ("item 3\n", ["warning", "1", "cancel"], "result 0"),
        ("item 3\nitem 4\n", ["warning", "8"], "result 1"),
        ("item 3\n", ["saveask", "Save?"], "result 2"),
        ("item 4\n", ["saveask", "Save?"], "result 0"),
        ("item 5\n", ["saveask", "Save?"], "result 1"),
        ("item 2\n", ["splash", "600"], "result 0"),
        ("tick 601\n", ["splash", "600"], "result 0"),
    ]
    for script, args, expected in cases:
        status, out = probe(tool, resources, script, *args)
        if status != 0 or expected not in out.splitlines():
            failures.append("%s with %r: status %d, %r" % (args, script, status, out))
    # A splash still within its time when the script ends is reported.
    status, out = probe(tool, resources, "tick 300\n", "splash", "600")
    if status != 3 or "script spent" not in out:
        failures.append("spent splash: status %d, %r" % (status, out))
    return failures


def main():
    tool, resources = sys.argv[1], sys.argv[2]
    failures = check_layouts(resources) + check_answers(tool, resources)
    for f in failures:
        print("FAIL", f)
    if failures:
        return 1
    print("dialog layouts and answers: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
