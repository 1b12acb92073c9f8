"""Reads a resource store with struct alone, from the layout written beside
the store's reader, and compares it with what rsrc_dump prints.

usage: rsrc_store_check.py RSRC_DUMP STORE
"""
import os
import struct
import subprocess
import sys
import tempfile


def read_store(blob):
    magic, version, _, count, length = struct.unpack_from(">4sHHII", blob, 0)
    assert magic == b"KVRS" and version == 1, (magic, version)
    assert length == len(blob), (length, len(blob))
    table_end = 16 + 20 * count
    assert table_end <= len(blob)
    resources = []
    for i in range(count):
        rtype, rid, name_len, name_off, data_off, data_len = struct.unpack_from(
            ">4shHIII", blob, 16 + 20 * i)
        assert name_len <= 255
        assert table_end <= name_off and name_off + name_len <= len(blob)
        assert table_end <= data_off and data_off + data_len <= len(blob)
        resources.append((rtype.decode("latin-1"), rid,
                          blob[name_off:name_off + name_len].decode("utf-8"),
                          blob[data_off:data_off + data_len]))
    return resources


def expected_text(rtype, data):
    if rtype in ("STR#", "MENU"):
        (count,) = struct.unpack_from(">H", data, 0)
        at, lines = 2, []
        for _ in range(count):
            n = data[at]
            lines.append(data[at + 1:at + 1 + n].decode("utf-8") + "\n")
            at += 1 + n
        return "".join(lines)
    if rtype == "CURS":
        return data.decode("ascii") + "\n"
    if rtype == "FtSz":
        return "%d %d\n" % struct.unpack(">hh", data)
    hexed = data.hex()
    return "".join(hexed[i:i + 64] + "\n" for i in range(0, len(hexed), 64))


def run(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True)


def main():
    tool, store = sys.argv[1], sys.argv[2]
    with open(store, "rb") as f:
        blob = f.read()
    resources = read_store(blob)
    types = {r[0] for r in resources}
    assert {"STR#", "MENU", "CURS", "FtSz"} <= types, types
    cursors = {r[1] for r in resources if r[0] == "CURS"}
    assert {4, 131, 133, 134, 136} <= cursors, cursors

    listing = run(tool, store)
    assert listing.returncode == 0, listing.stderr
    want = "".join("%s\t%d\t%s\t%d\n" % (t, i, n, len(d)) for t, i, n, d in resources)
    assert listing.stdout == want, (listing.stdout, want)

    for rtype, rid, _, data in resources:
        one = run(tool, store, rtype, str(rid))
        assert one.returncode == 0, one.stderr
        assert one.stdout == expected_text(rtype, data), (rtype, rid, one.stdout)

    # A damaged copy: the first entry's data runs past the end.
    bad = bytearray(blob)
    struct.pack_into(">I", bad, 16 + 16, len(blob))
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "bad.rsrc")
        with open(path, "wb") as f:
            f.write(bad)
        damaged = run(tool, path)
        assert damaged.returncode == 1 and "outside the file" in damaged.stderr, damaged.stderr
    print("rsrc_store_check: %d resources agree" % len(resources))


if __name__ == "__main__":
    main()
