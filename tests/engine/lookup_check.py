#!/usr/bin/env python3
"""Recomputes Bezier key interpolation, the smoothing filter and hue-cycle
tables from their definitions and compares them with what lookup_dump prints
for the same random requests."""
import math
import random
import subprocess
import sys


def trunc(x):
    return int(math.trunc(x))


# ---- Bezier keys ----

def tangent(d0, d1, s):
    if d0 == 0 and d1 == 0:
        return 0.0
    m = (d0 + d1) / 2
    a, b = abs(d0), abs(d1)
    r = abs(a - b) / max(a, b)
    c = d1 if b <= a else d0
    if m != 0 and c != 0 and (c > 0) != (m > 0):
        c = -c
    return ((c - m) * r + m) * s


def cubic(q0, q1, q2, q3, t):
    c = 3 * (q1 - q0)
    b = 3 * (q2 - q1) - c
    a = q3 - q0 - c - b
    return q0 + t * (c + t * (b + a * t))


def bezier_lerp(p0, p1, p2, p3, t):
    d = p2 - p1
    c1 = p1 + d / 3 if p0 == p1 else p1 + tangent(p1 - p0, d, 1) / 3
    c2 = p2 - d / 3 if p3 == p2 else p2 - tangent(d, p3 - p2, 1) / 3
    return cubic(p1, c1, c2, p2, t)


# ---- Smoothing ----

def smooth(values, w, wrap):
    n = len(values)
    w = min(w, 64)
    if w < 2:
        out = []
        for i in range(n):
            if (i == 0 or i == n - 1) and not wrap:
                out.append(values[i])
            else:
                out.append((2 * values[i] + values[(i - 1) % n] + values[(i + 1) % n]) / 4)
        return out
    weights = [math.exp(-((2 * j / w) ** 2)) for j in range(-w, w + 1)]
    total = sum(weights)
    weights = [x / total for x in weights]
    out = []
    for i in range(n):
        acc = 0.0
        for j in range(-w, w + 1):
            k = (i + j) % n if wrap else min(max(i + j, 0), n - 1)
            acc += weights[j + w] * values[k]
        out.append(acc)
    return out


# ---- Hue cycles ----

def gradient(keys, t):
    n = len(keys)
    if t <= 0 or n < 2:
        return keys[0]
    if t >= 1:
        return keys[-1]
    x = (n - 1) * t
    i = trunc(x)
    f = x - i
    return tuple(keys[i][c] + trunc((keys[i + 1][c] - keys[i][c]) * f) for c in range(3))


def hsl_to_rgb(hue, s, l):
    lf = l / 255
    m2 = trunc(lf * (s + 255)) if lf <= 0.5 else trunc(l + s - lf * s)
    if s == 0 or m2 == 0:
        return (m2, m2, m2)
    h = hue / 60
    i = trunc(h)
    m1 = 2 * l - m2
    f = (h - i) * (m2 - m1)
    a, b, c = trunc(f + m1), trunc(m1), trunc(m2 - f)
    return [(m2, a, b), (c, m2, b), (b, m2, trunc(m1 + f)), (b, c, m2), (a, b, m2), (m2, b, c)][i]


def hue_table(t, n):
    few = n < 3
    keys = [(32, 128, 0) if few else (32, 128, 32), (0, 255, 64), (0, 255, 128), (0, 255, 128),
            (0, 128, 128), (64, 0, 128) if few else (64, 0, 160), (128, 0, 255)]
    d, s, l = gradient(keys, t)
    h0 = trunc(t * 2160 + 360)
    out = []
    for i in range(n):
        hue = trunc(i * 360 / n + h0) % 360
        li = max(0, trunc(l - d * i / (n - 1))) if n > 1 else l
        out.extend(b & 255 for b in hsl_to_rgb(hue, s, li))
    return out


def main():
    tool = sys.argv[1]
    rng = random.Random(20240611)
    requests, expected, exact = [], [], []

    for _ in range(400):
        p = [rng.uniform(-10, 10) for _ in range(4)]
        if rng.random() < 0.2:
            p[0] = p[1]
        if rng.random() < 0.2:
            p[3] = p[2]
        t = rng.choice([0.0, 1.0, rng.random()])
        requests.append("bezier %r %r %r %r %r" % (p[0], p[1], p[2], p[3], t))
        expected.append([bezier_lerp(*p, t)])
        exact.append(False)

    for _ in range(120):
        n = rng.randint(1, 90)
        w = rng.choice([0, 1, 2, 3, 5, 8, 20, 64, 100])
        wrap = rng.randint(0, 1)
        values = [rng.uniform(-5, 5) for _ in range(n)]
        requests.append("smooth %d %d %d %s" % (w, wrap, n, " ".join(repr(v) for v in values)))
        expected.append(smooth(values, w, wrap))
        exact.append(False)

    for _ in range(300):
        t = rng.choice([0.0, 1.0, rng.random()])
        n = rng.randint(1, 40)
        requests.append("hues %r %d" % (t, n))
        expected.append(hue_table(t, n))
        exact.append(True)

    result = subprocess.run([tool], input="\n".join(requests) + "\n", capture_output=True,
                            text=True, check=True)
    lines = result.stdout.splitlines()
    if len(lines) != len(requests):
        print("expected %d answers, got %d" % (len(requests), len(lines)))
        return 1
    failures = 0
    for request, line, want, is_exact in zip(requests, lines, expected, exact):
        got = [int(v) for v in line.split()] if is_exact else [float(v) for v in line.split()]
        same = len(got) == len(want) and all(
            g == w if is_exact else math.isclose(g, w, rel_tol=1e-12, abs_tol=1e-12)
            for g, w in zip(got, want))
        if not same:
            failures += 1
            if failures <= 10:
                print("MISMATCH %s\n  got  %s\n  want %s" % (request[:120], got[:12], want[:12]))
    print("%d requests, %d mismatches" % (len(requests), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
