#!/usr/bin/env python3
"""Every f24 member as a one-component tree file, written by the independent
tree-file writer of the test corpus, rendered by `render_tree` at width 256
on one thread and on four: the same bytes (bands of 64 columns start on
batch starts, so the tech noise's shading, carried from sample to sample
within a batch, cannot show the split), under the sanitizers of the test
build. Members must draw different pictures too (a render that ignored
its component would pass the first test).

Usage: f24_render_tree_check.py RENDER_TREE_TOOL CATALOG_DUMP_TOOL
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "fixtures", "trees"))
import kovr_writer as kw  # noqa: E402

FAMILY = 10
WIDTH, HEIGHT = 256, 48
PALETTE = kw.palette(4, [(255, 0, 0, 0), (255, 255, 0, 0), (255, 0, 255, 0), (255, 255, 255, 255)])


def real_ids(dump_tool):
    dump = subprocess.run([dump_tool], check=True, capture_output=True, text=True).stdout
    rows = [line.split("\t") for line in dump.splitlines()]
    return [int(r[1]) for r in rows if r[0] == str(FAMILY) and r[-1] == "real"]


def render(render_tool, tree, out, threads):
    run = subprocess.run([render_tool, tree, out, str(WIDTH), str(HEIGHT), str(threads)],
                         capture_output=True, text=True)
    if run.returncode != 0:
        print(f"{tree}, {threads} threads: render_tree failed\n{run.stderr}")
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
            tree = os.path.join(tmp, f"f24_{fid}.kovr")
            # Inputs from the master x and y (connector codes 6 and 7).
            comps = [kw.component(FAMILY, fid, 0, 0, codes=[6, 7], params=(1.0, 0.5, 0.75))]
            with open(tree, "wb") as f:
                f.write(kw.record(comps, view=(-3.0, 3.0, -0.5625, 0.5625), pal=PALETTE))
            pictures = [render(render_tool, tree, os.path.join(tmp, f"f24_{fid}_{n}.pam"), n)
                        for n in (1, 4)]
            if None in pictures:
                failures += 1
                continue
            distinct.add(pictures[0])
            if pictures[0] != pictures[1]:
                print(f"id {fid}: one thread and four threads give different pictures")
                failures += 1
    print(f"{len(ids)} f24 members rendered, {len(distinct)} different pictures, "
          f"{failures} failures")
    return 1 if failures or len(ids) != 60 or len(distinct) < 20 else 0


if __name__ == "__main__":
    sys.exit(main())
