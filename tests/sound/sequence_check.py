#!/usr/bin/env python3
"""Independent checks of the sequencer through sequence_tool.

- For every scale kind 0..16 (10 custom with the twelve degrees 0..11 of a
  new sequencer) and root 0..11, the nearest key and the degree index of
  every key, computed here from the scale table, equal `sequence_tool keys`.
- A sequence file made here with struct (big-endian, 3184 bytes) is dumped
  as written; a preset written by the tool is read back here.
- Crafted files (count 300, root 40, custom count 0 and 13, degree 12,
  short) are refused with exit 1; beats 0 and measures 0 are repaired.

usage: sequence_check.py SEQUENCE_TOOL
"""
import os
import struct
import subprocess
import sys
import tempfile

TOOL = sys.argv[1]
failures = []

SCALES = {
    0: [0, 2, 4, 5, 7, 9, 11], 1: [0, 2, 3, 5, 7, 8, 10],
    2: [0, 2, 3, 5, 7, 8, 11], 3: [0, 2, 3, 5, 7, 9, 11],
    4: [0, 2, 4, 5, 7, 8, 11], 5: [0, 1, 3, 5, 7, 9, 11],
    6: [0, 2, 3, 6, 7, 8, 11], 7: [0, 3, 4, 6, 7, 9, 10],
    8: [0, 1, 2, 3, 5, 8, 11], 9: [0, 2, 3, 5, 6, 8, 9, 11],
    10: list(range(12)), 11: list(range(12)),
    12: [0, 2, 5, 7, 9], 13: [0, 2, 7, 9], 14: [0, 4, 7],
    15: [0, 2, 4, 6, 8, 10], 16: [0] * 7,
}


def expected_keys(kind, root):
    degrees = SCALES[kind]
    count = len(degrees)
    semitone_map = [255] * 12
    for d in range(count):
        semitone_map[degrees[d]] = d
    rows = []
    for key in range(128):
        if kind == 11:
            rows.append((key, key, key))
            continue
        def in_scale(k):
            return semitone_map[(12 - root + k) % 12] < 255
        nearest = key
        if not in_scale(key):
            for d in range(1, 6):
                if in_scale(key + d):
                    nearest = key + d
                    break
                if in_scale(key - d):
                    nearest = key - d
                    break
        if nearest < 0:
            nearest += 12
        if nearest >= 128:
            nearest -= 12
        r = key - root
        if r < 0:
            r += 12
        octave = (r // 12) % 11
        s = r % 12
        while semitone_map[s] == 255:
            s = (s + 1) % 12
        rows.append((key, nearest, octave * count + semitone_map[s]))
    return rows


def run(*args):
    return subprocess.run([TOOL, *args], capture_output=True, text=True)


out = run("keys", "all", "0")
table = {}
for line in out.stdout.split("\n"):
    if line:
        kind, root, *row = (int(v) for v in line.split())
        table.setdefault((kind, root), []).append(tuple(row))
for kind in range(17):
    for root in range(12):
        if table.get((kind, root)) != expected_keys(kind, root):
            failures.append(f"keys kind {kind} root {root}")
if run("keys", "0", "0").stdout.split("\n")[61] != "61 62 36":
    failures.append("keys 0 0: key 61")


def sequence_bytes(notes, kind=0, root=0, measures=4, beats=4, count=None, custom=None,
                   custom_count=12, tempo=120.0):
    custom = custom if custom is not None else list(range(12))
    head = struct.pack(">HHhhid70sHHHH12sH", kind, root, measures, beats,
                       len(notes) if count is None else count, tempo, bytes(70), 3, 0, 1,
                       custom_count, bytes(custom), 0)
    assert len(head) == 112
    body = b"".join(struct.pack(">IIBBBB", *n) for n in notes)
    return (head + body).ljust(3184, b"\0")


with tempfile.TemporaryDirectory() as folder:
    notes = [(240 * n, 240 * n + 100, 40 + n, 90 + n, n % 2, 1) for n in range(20)]
    path = os.path.join(folder, "made.smas")
    with open(path, "wb") as f:
        f.write(sequence_bytes(notes, kind=3, root=7, tempo=133.25))
    out = run("dump", path)
    lines = out.stdout.split("\n")
    head = lines[0].split()
    if head[:8] != ["3", "7", "4", "4", "20", "133.25", "3", "1"]:
        failures.append(f"dump head {lines[0]}")
    got = [tuple(int(v) for v in line.split()) for line in lines[1:] if line]
    if got != notes:
        failures.append("dump notes")

    written = os.path.join(folder, "preset.smas")
    if run("preset", "3", written).returncode != 0:
        failures.append("preset write")
    else:
        data = open(written, "rb").read()
        kind, root, measures, beats, count, tempo = struct.unpack_from(">HHhhid", data)
        if len(data) != 3184 or (beats, count, tempo) != (6, 48, 120.0):
            failures.append(f"preset read back {len(data)} {beats} {count} {tempo}")
        starts = [struct.unpack_from(">II", data, 112 + 12 * n) for n in range(count)]
        if starts != [(120 * n, 120 * (n + 1)) for n in range(48)]:
            failures.append("preset notes")
        edited = os.path.join(folder, "edited.smas")
        if run("cmd", written, edited, "tran", "1").returncode != 0:
            failures.append("cmd tran")
        elif open(edited, "rb").read()[112 + 8] != 62:
            failures.append("tran 60 by one degree of C major")

    crafted = {
        "count 300": sequence_bytes(notes, count=300),
        "root 40": sequence_bytes(notes, root=40),
        "custom count 0": sequence_bytes(notes, custom_count=0),
        "custom count 13": sequence_bytes(notes, custom_count=13),
        "degree 12": sequence_bytes(notes, custom=[12] + list(range(1, 12))),
        "short": sequence_bytes(notes)[:112 + 12 * 19],
    }
    for what, data in crafted.items():
        p = os.path.join(folder, "bad.smas")
        with open(p, "wb") as f:
            f.write(data)
        out = run("dump", p)
        if out.returncode != 1 or "refused" not in out.stderr:
            failures.append(f"{what}: {out.returncode} {out.stderr.strip()}")

    p = os.path.join(folder, "repair.smas")
    with open(p, "wb") as f:
        f.write(sequence_bytes(notes, measures=0, beats=0))
    out = run("dump", p)
    head = out.stdout.split()[:4]
    if out.returncode != 0 or head[2:4] != [str(4660 // 240), "1"]:
        failures.append(f"repair {head}")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
