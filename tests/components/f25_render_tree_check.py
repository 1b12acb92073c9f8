#!/usr/bin/env python3
"""Every f25 member as a one-component tree file, written by the independent
tree-file writer of the test corpus, rendered by `render_tree` at width 256
on one thread and on four: the same bytes, under the sanitizers of the test
build (each render task builds and frees circle blocks of its own). Members
must draw different pictures too. A file whose octave count is 32767 draws
as one of 256 (the reader holds the count; the members hold it again).

Usage: f25_render_tree_check.py RENDER_TREE_TOOL CATALOG_DUMP_TOOL
"""
import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "fixtures", "trees"))
import kovr_writer as kw  # noqa: E402

FAMILY = 13
WIDTH, HEIGHT = 256, 48
PALETTE = kw.palette(4, [(255, 0, 0, 0), (255, 255, 0, 0), (255, 0, 255, 0), (255, 255, 255, 255)])
# Each member at its defaults (the Lab at an algorithm with limit colours).
PARAMS = {0: (2, 0, 0), 1: (22, 6, 0.3), 2: (-0.021, -0.0285, 32), 4: (1.0471, 1.206, 16),
          5: (0.98, 3.912, 12), 7: (1, 0, 0), 9: (1, 0, 0), 13: (2, 4, 0), 14: (1, 4, 8),
          15: (1, 0, 0), 16: (1, 0, 0), 18: (1, 0, 0), 21: (1, 0, -0.5), 22: (4, 1, 0),
          23: (1, 0, 2), 24: (0.33, math.pi / 9, 0.954), 127: (1, 0, 0)}


def real_ids(dump_tool):
    dump = subprocess.run([dump_tool], check=True, capture_output=True, text=True).stdout
    rows = [line.split("\t") for line in dump.splitlines()]
    return [int(r[1]) for r in rows if r[0] == str(FAMILY) and r[-1] == "real"]


def render(render_tool, tmp, fid, threads, octaves=16):
    tree = os.path.join(tmp, f"f25_{fid}_{octaves}.kovr")
    # Inputs from the master x and y (connector codes 6 and 7).
    comps = [kw.component(FAMILY, fid, 0, 0, codes=[6, 7], params=PARAMS.get(fid, (1, 0, 0)))]
    with open(tree, "wb") as f:
        f.write(kw.record(comps, view=(-3.0, 3.0, -0.5625, 0.5625), pal=PALETTE, octaves=octaves))
    out = os.path.join(tmp, f"f25_{fid}_{octaves}_{threads}.pam")
    run = subprocess.run([render_tool, tree, out, str(WIDTH), str(HEIGHT), str(threads)],
                         capture_output=True, text=True)
    if run.returncode != 0:
        print(f"id {fid}, {threads} threads: render_tree failed\n{run.stderr}")
        return None
    with open(out, "rb") as f:
        return f.read()


def main():
    render_tool, dump_tool = sys.argv[1], sys.argv[2]
    ids = real_ids(dump_tool)
    failures = 0
    distinct = set()
    with tempfile.TemporaryDirectory() as tmp:
        for fid in ids:
            pictures = [render(render_tool, tmp, fid, n) for n in (1, 4)]
            if None in pictures:
                failures += 1
                continue
            distinct.add(pictures[0])
            if pictures[0] != pictures[1]:
                print(f"id {fid}: one thread and four threads give different pictures")
                failures += 1
        for fid in (1, 7, 24):
            if render(render_tool, tmp, fid, 4, 32767) != render(render_tool, tmp, fid, 4, 256):
                print(f"id {fid}: octave count 32767 draws unlike 256")
                failures += 1
    print(f"{len(ids)} f25 members rendered, {len(distinct)} different pictures, "
          f"{failures} failures")
    return 1 if failures or len(ids) < 17 or len(distinct) < 12 else 0


if __name__ == "__main__":
    sys.exit(main())
