#!/usr/bin/env python3
"""Reads a preferences file of kovrelin-browser with struct, from the layout
documented beside its reader (app/prefs.cpp), and checks what it holds.

usage: prefs_check.py FILE [--bounds T,L,B,R] [--folder PATH]
Prints the fields; exits 1 when a check fails."""
import struct
import sys


def read(path):
    data = open(path, "rb").read()
    if data[:4] != b"KVP1":
        raise SystemExit("%s: no KVP1 tag" % path)
    at = 4
    bounds = struct.unpack_from("<4h", data, at)
    at += 8
    picture = struct.unpack_from("<4h", data, at)
    at += 8
    output = struct.unpack_from("<4h", data, at)
    at += 8
    width, height, s1, s2 = struct.unpack_from("<4h", data, at)
    at += 8
    (rate,) = struct.unpack_from("<d", data, at)
    at += 8
    width2, height2, video, s3 = struct.unpack_from("<4h", data, at)
    at += 8
    tag, transposition = struct.unpack_from("<2i", data, at)
    at += 8
    at += 8 + 8 + 4 + 4 + 576 * 8 + 2 + 2 + 4 + 256 + 256 + 8  # rest of the sound
    at += 4 + 4 * 2  # bytes and settings
    codec_type, codec, quality, depth = struct.unpack_from("<4s2ih", data, at)
    at += 4 + 4 + 4 + 2 + 4 * 2
    (length,) = struct.unpack_from("<H", data, at)
    at += 2
    folder = data[at:at + length].decode("utf-8")
    if at + length != len(data):
        raise SystemExit("%s: %d bytes after the folder" % (path, len(data) - at - length))
    return {
        "bounds": bounds, "picture": picture, "output": output, "size": (width, height),
        "rate": rate, "size2": (width2, height2), "video": video, "tag": tag,
        "transposition": transposition, "codec": codec_type, "depth": depth, "folder": folder,
    }


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    fields = read(argv[1])
    for k in sorted(fields):
        print("%s %s" % (k, fields[k]))
    ok = True
    args = argv[2:]
    while args:
        key, value = args[0], args[1]
        args = args[2:]
        if key == "--bounds":
            want = tuple(int(v) for v in value.split(","))
            if fields["bounds"] != want:
                print("bounds %s, expected %s" % (fields["bounds"], want))
                ok = False
        elif key == "--folder":
            if fields["folder"] != value:
                print("folder %s, expected %s" % (fields["folder"], value))
                ok = False
    if fields["tag"] != 2 or not 1 <= fields["rate"] <= 1000:
        print("rendering record out of its layout")
        ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
