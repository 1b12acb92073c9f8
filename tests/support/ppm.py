"""Reads binary PPM (P6) pictures written by the test tools."""


def read_ppm(path):
    """Returns (width, height, maxval, pixel bytes) of the P6 file at path."""
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1  # the one blank after the largest value
    assert fields[0] == b"P6", fields[0]
    width, height, maxval = (int(f) for f in fields[1:])
    return width, height, maxval, data[pos:]
