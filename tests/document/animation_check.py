"""Keyframe parameters and camera computed here from the animation rules
(segment keys, inner control points from the tangent rule, the cubic Bezier,
time easing, straight moves with a geometric zoom) for tree files with random
keys, compared with `treefile_tool params FILE FRAME`.

Usage: animation_check.py TREEFILE_TOOL WORKDIR FIXTURES_DIR
"""

import math
import os
import random
import subprocess
import sys

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def tangent(d0, d1, s):
    if d0 == 0 and d1 == 0:
        return 0.0
    m = (d0 + d1) / 2
    a, b = abs(d0), abs(d1)
    r = abs(a - b) / max(a, b)
    c = d1 if b <= a else d0
    if (m < 0 < c) or (c < 0 < m):
        c = -c
    return ((c - m) * r + m) * s


def bezier(q0, q1, q2, q3, t):
    c = 3 * (q1 - q0)
    b = 3 * (q2 - q1) - c
    a = q3 - q0 - c - b
    return q0 + t * (c + t * (b + a * t))


def segment_keys(k, K, loop):
    if loop:
        return [(k - 1) % K, k % K, (k + 1) % K, (k + 2) % K]
    clamp = lambda i: min(max(i, 0), K - 1)
    return [clamp(k - 1), k, clamp(k + 1), clamp(k + 2)]


def curve(values, keys, f):
    k0, k1, k2, k3 = keys
    p0, p1, p2, p3 = (values[i] for i in keys)
    c1 = p1 + (p2 - p1) / 3 if k0 == k1 else p1 + tangent(p1 - p0, p2 - p1, 1 / 3)
    c2 = p2 - (p2 - p1) / 3 if k3 == k2 else p2 - tangent(p2 - p1, p3 - p2, 1 / 3)
    return bezier(p1, c1, c2, p2, f)


def ease(kind, t):
    return [t, math.sqrt(t), t * t, (3 - 2 * t) * t * t][kind]


def expected(tree, frame):
    t = min(max(frame / tree["length"], 0.0), 1.0)
    K = len(tree["cams"])
    loop = tree["mode"] == 2
    segments = K if loop else K - 1
    pos = segments * ease(tree["easing"], t)
    k = int(pos)
    f = pos - k
    keys = segment_keys(k, K, loop)
    params = [[curve([kf[i] for kf in comp], keys, f) for i in range(3)]
              for comp in tree["keyframes"]]
    cams = tree["cams"]
    if tree["straight"]:
        (x1, y1, h1), (x2, y2, h2) = cams[keys[1]], cams[keys[2]]
        if f >= 1:
            cam = cams[keys[2]]
        else:
            u = f if h1 == h2 else (h1 - h1 ** (1 - f) * h2 ** f) / (h1 - h2)
            cam = (x1 + (x2 - x1) * u, y1 + (y2 - y1) * u, h1 + (h2 - h1) * u)
    else:
        cam = tuple(curve([c[i] for c in cams], keys, f) for i in range(3))
    x, y, h = cam
    return (x - h, x + h, y - h, y + h), params


def main():
    tool, work, fixtures = sys.argv[1], sys.argv[2], sys.argv[3]
    sys.path.insert(0, fixtures)
    import kovr_writer as kw

    os.makedirs(work, exist_ok=True)
    rng = random.Random(2024)
    compared = 0
    for case in range(12):
        K = rng.randint(2, 6)
        tree = dict(length=rng.choice([100, 240, 600]), mode=rng.choice([1, 2]),
                    easing=rng.randint(0, 3), straight=rng.random() < 0.5,
                    cams=[(rng.uniform(-3, 3), rng.uniform(-3, 3), rng.uniform(0.5, 4))
                          for _ in range(K)])
        comps = []
        tree["keyframes"] = []
        for i in range(3):
            keyframes = [(rng.uniform(-4, 4), rng.uniform(-4, 4), rng.uniform(-4, 4))
                         for _ in range(16)]
            for j in range(K, 16):
                keyframes[j] = keyframes[0]
            tree["keyframes"].append(keyframes)
            comps.append(kw.component(2, 0, i, 0, codes=[6, 7], params=keyframes[0],
                                      display=i, keyframes=keyframes))
        pal = kw.palette(2, [(255, 10, 20, 30)] * 64)
        keys = [(1, 3, cx, cy, h, pal) for (cx, cy, h) in tree["cams"]]
        data = kw.record(comps, keyframes=keys, length=tree["length"], mode=tree["mode"])
        data[18924] = 1 if tree["straight"] else 0
        data[18925] = 0  # no camera path
        data[18926] = tree["easing"]
        path = os.path.join(work, "keys%d.kovr" % case)
        with open(path, "wb") as out:
            out.write(data)
        for frame in sorted(rng.uniform(0, tree["length"] * 1.1) for _ in range(5)) + [0.0]:
            result = subprocess.run([tool, "params", path, repr(frame)], capture_output=True,
                                    text=True)
            if result.returncode != 0:
                check(False, "%s: params failed: %s" % (path, result.stderr))
                continue
            view, params = expected(tree, frame)
            got_params = {}
            for line in result.stdout.splitlines():
                fields = line.split()
                if fields[0] == "view":
                    got = [float(v) for v in fields[1:]]
                    for a, b in zip(got, view):
                        check(abs(a - b) < 1e-9, "%s frame %r: view %r, expected %r" %
                              (path, frame, got, view))
                elif fields[0] == "param":
                    got_params[int(fields[1])] = [float(v) for v in fields[2:5]]
            for i, want in enumerate(params):
                got = got_params.get(i)
                check(got is not None and all(abs(a - b) < 1e-9 for a, b in zip(got, want)),
                      "%s frame %r component %d: %r, expected %r" % (path, frame, i, got, want))
            compared += 1
    if failures:
        print("\n".join("FAIL " + f for f in failures[:20]))
        sys.exit(1)
    print("animation: %d frames agree" % compared)


if __name__ == "__main__":
    main()
