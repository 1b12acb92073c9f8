#!/usr/bin/env python3
"""Independent checks of the sound effects through effect_tool.

- The stored biquad coefficients give the magnitude response of the
  textbook designs: the general designer (types 1-6, bandwidth in octaves,
  stored with the feedback terms negated so that the step adds them), and
  the high-pass and low-pass of modes 1 and 2 (poles at r e^(+-j theta),
  stored for the step that subtracts them).
- An impulse through the echo (mode 6) comes back after 200 ms.
- A filter file written by the tool reads back with struct: big-endian,
  version 5, the 16-bit values of mode 13 in the reversed bytes of p5.
- Damaged files (short, unknown mode, huge times, NaN) run to a finite
  output: dry for another mode, the running echo for a short file.

usage: effects_check.py EFFECT_TOOL
"""
import array
import cmath
import math
import os
import struct
import subprocess
import sys
import tempfile

RATE = 44100.0
TOOL = sys.argv[1]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def tool(*args):
    return subprocess.run([TOOL, *map(str, args)], check=True, capture_output=True,
                          text=True).stdout


def stored(type_, f, q):
    return [float(v) for v in tool("design", type_, f, q).split()]


def response(num, den, w):
    z1 = cmath.exp(-1j * w)
    n = num[0] + num[1] * z1 + num[2] * z1 * z1
    d = den[0] + den[1] * z1 + den[2] * z1 * z1
    return abs(n / d)


def textbook(type_, f, q):
    """(gain, numerator, denominator) from the design table."""
    w = 2 * math.pi * max(f, 21.5332) / RATE
    octaves = max(6 * q, 1 / 12)
    A = 2 ** octaves
    Q = math.sqrt(A) / (A - 1)
    al = math.sin(w) / (2 * Q)
    c = math.cos(w)
    table = {
        1: ((1, -2 * c, 1), (1 + al, -2 * c, 1 - al), 0.75),
        2: ((1 + 8 * al, -2 * c, 1 - 8 * al), (1 + al / 8, -2 * c, 1 - al / 8), 0.072),
        3: (((1 + c) / 2, -(1 + c), (1 + c) / 2), (1 + al, -2 * c, 1 - al), 2 * w / math.pi + 1),
        4: (((1 - c) / 2, 1 - c, (1 - c) / 2), (1 + al, -2 * c, 1 - al), 1.0),
        5: ((al, 0, -al), (1 + al, -2 * c, 1 - al), (1 - q * q) * 0.8 + 0.8),
    }
    table[6] = table[2]
    num, den, gain = table[type_]
    return gain, num, den


def check_designs():
    freqs = [k * math.pi / 16 for k in range(1, 16)]
    for type_ in range(1, 7):
        for f, q in [(0.0, 0.3), (2000.0, 0.05), (15000.0, 1.2)]:
            g, a1, a2, b0, b1, b2 = stored(type_, f, q)
            tg, tnum, tden = textbook(type_, f, q)
            for w in freqs:
                ours = g * response((b0, b1, b2), (1, -a1, -a2), w)
                want = tg * response(tnum, tden, w)
                check(abs(ours - want) <= 1e-9 * max(1.0, want),
                      f"type {type_} f {f} q {q} w {w:.3f}: {ours} vs {want}")
    # Modes 1 and 2: r from the resonance, theta from the frequency.
    for kind in ("hp", "lp"):
        for f, q in [(21.533203125, 0.0), (5000.0, 0.9)]:
            g, a1, a2, b0, b1, b2 = stored(kind, f, q)
            theta = (f - 21.533203125) / (RATE / 2) * math.pi
            if kind == "hp":
                r = 0.5 - 0.49 * q
                want_g, num = 2.0, (1, -1, 0)
            else:
                r = 0.8 - 0.3 * q * (math.pi / 2 - theta) / (math.pi / 2)
                want_g, num = 1.5, (1, 1 - q, 0)
            want_g *= math.sqrt((1 - r) ** 2 * (1 - 2 * r * math.cos(2 * theta) + r * r))
            den = (1, -2 * r * math.cos(theta), r * r)
            for w in freqs:
                ours = g * response((b0, b1, b2), (1, a1, a2), w)
                want = want_g * response(num, den, w)
                check(abs(ours - want) <= 1e-9 * max(1.0, want), f"{kind} f {f} q {q} w {w:.3f}")


def write_raw(path, frames):
    array.array("f", frames).tofile(open(path, "wb"))


def read_raw(path):
    a = array.array("f")
    with open(path, "rb") as fh:
        a.frombytes(fh.read())
    return a


def check_echo(tmp):
    n = 12000
    samples = [0.0] * (2 * n)
    samples[0] = samples[1] = 1.0
    src, out = os.path.join(tmp, "impulse.raw"), os.path.join(tmp, "echo.raw")
    write_raw(src, samples)
    tool("run", 6, src, out)
    y = read_raw(out)
    left = [abs(y[2 * i]) for i in range(n)]
    late = max(range(100, n), key=lambda i: left[i])
    # 200 ms is 8,820 samples; the 11-tap smoothing centres the echo a few
    # samples later.
    check(abs(late - 8820) <= 8, f"echo peak at {late}, not near 8820")
    check(all(math.isfinite(v) for v in y), "echo output finite")


def check_file(tmp):
    path = os.path.join(tmp, "ws.tef")
    tool("write", 13, path)
    data = open(path, "rb").read()
    check(len(data) == 136, f"file size {len(data)}")
    fields = struct.unpack(">iBBhii7d", data[:72])
    version, variant, active, mode, t1, t2 = fields[:6]
    check((version, variant, mode, t1, t2) == (5, 0, 13, 248, 252), f"header {fields[:6]}")
    check(active == 0, "the written defaults are inactive settings")
    p1, p2, p3, p4 = fields[6:10]
    check((p1, p2, p3, p4) == (0.8, 3.0, 0.2, 0.3), f"doubles {fields[6:10]}")
    values = struct.unpack("<4h", data[48:56][::-1])
    check(values == (32, 128, 164, 92), f"16-bit values {values}")
    check(data[72:] == bytes(64), "reserved bytes zero")
    printed = dict(line.split(" ", 1) for line in tool("read", path).splitlines())
    check(printed["values"].split()[4:] == ["32", "128", "164", "92"], "tool reads the values")
    check(float(printed["p4"]) == 0.3 and int(printed["time2"]) == 252, "tool reads the fields")


def check_damaged(tmp):
    n = 4096
    noise = [math.sin(i * 0.37) * 0.5 for i in range(2 * n)]
    src = os.path.join(tmp, "noise.raw")
    write_raw(src, noise)
    good = struct.pack(">iBBhii7d", 5, 0, 1, 6, 200, 200, 0.6, 0.6, 0.5, 1.0, 0, 0.5, 1.0)
    cases = {
        "short": good[:100],
        "unknown mode": struct.pack(">iBBhii7d", 5, 0, 1, 99, 200, 200, 0.6, 0.6, 0.5, 1, 0, 0.5,
                                    1.0) + bytes(64),
        "huge times": struct.pack(">iBBhii7d", 5, 0, 1, 6, 2**31 - 1, -2**31, 0.6, 0.6, 0.5, 1, 0,
                                  0.5, 1.0) + bytes(64),
        "nan": struct.pack(">iBBhii7d", 5, 255, 1, 6, 200, 200, *([float("nan")] * 5), 0.5,
                           1.0) + bytes(64),
    }
    for name, data in cases.items():
        path = os.path.join(tmp, name.replace(" ", "_") + ".tef")
        open(path, "wb").write(data)
        out = os.path.join(tmp, "out.raw")
        tool("run", path, src, out)
        y = read_raw(out)
        check(len(y) == len(noise) and all(math.isfinite(v) for v in y), f"{name}: finite")
        if name == "unknown mode":
            check(all(abs(a - b) < 1e-6 for a, b in zip(y, noise)), "another mode runs dry")
        if name == "short":
            ref = os.path.join(tmp, "ref.raw")
            tool("run", 6, src, ref)
            check(read_raw(ref) == y, "a short file leaves the running echo as it was")


with tempfile.TemporaryDirectory() as tmp:
    check_designs()
    check_echo(tmp)
    check_file(tmp)
    check_damaged(tmp)

if failures:
    print(f"{len(failures)} failures")
    sys.exit(1)
print("effects checks passed")
