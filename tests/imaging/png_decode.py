"""Decodes an 8-bit, non-interlaced grey, RGB or RGBA PNG with zlib and
struct only, for the checks that read what the program's tools write."""
import struct
import zlib
from pathlib import Path

CHANNELS = {0: 1, 2: 3, 6: 4}  # samples per pixel, by PNG colour type


def unfilter(kind, line, prev, channels):
    """Undoes one row's filter in place (`prev`: the row above, unfiltered)."""
    for i in range(len(line)):
        a = line[i - channels] if i >= channels else 0
        b = prev[i]
        c = prev[i - channels] if i >= channels else 0
        if kind == 1:
            line[i] = (line[i] + a) & 255
        elif kind == 2:
            line[i] = (line[i] + b) & 255
        elif kind == 3:
            line[i] = (line[i] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else (b if pb <= pc else c))) & 255


def decode_png(path):
    """(width, height, colour type, channels, rows), each row a bytearray of
    its unfiltered samples."""
    data = Path(path).read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    assert depth == 8 and interlace == 0, header
    channels = CHANNELS[colour_type]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        unfilter(kind, line, prev, channels)
        rows.append(line)
        prev = line
    return width, height, colour_type, channels, rows
