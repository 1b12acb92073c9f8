#!/usr/bin/env python3
"""Every f22 member as a one-component tree file, written by the independent
tree-file writer of the test corpus, rendered by `render_tree` at width 256
on one thread and on four: the two pictures must be the same bytes (every
f22 member is stateless, so the band split cannot show), and the render must
succeed under the sanitizers of the test build. The members must also draw
different pictures (a render that ignored its component would pass the
first test).

Usage: f22_render_tree_check.py RENDER_TREE_TOOL CATALOG_DUMP_TOOL
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "fixtures", "trees"))
import kovr_writer as kw  # noqa: E402

FAMILY = 3
WIDTH, HEIGHT = 256, 48
# Black, red, green, white: every value range shows.
PALETTE = kw.palette(4, [(255, 0, 0, 0), (255, 255, 0, 0), (255, 0, 255, 0), (255, 255, 255, 255)])


def main():
    render_tool, dump_tool = sys.argv[1], sys.argv[2]
    dump = subprocess.run([dump_tool], check=True, capture_output=True, text=True).stdout
    ids = [int(line.split("\t")[1]) for line in dump.splitlines()
           if line.split("\t")[0] == str(FAMILY)]
    failures = 0
    distinct = set()
    with tempfile.TemporaryDirectory() as tmp:
        for fid in ids:
            tree = os.path.join(tmp, f"f22_{fid}.kovr")
            # Inputs from the master x and y (connector codes 6 and 7).
            comps = [kw.component(FAMILY, fid, 0, 0, codes=[6, 7], params=(1.0, 0.5, 0.75))]
            with open(tree, "wb") as f:
                f.write(kw.record(comps, view=(-3.0, 3.0, -0.5625, 0.5625), pal=PALETTE))
            pictures = []
            for threads in (1, 4):
                out = os.path.join(tmp, f"f22_{fid}_{threads}.pam")
                run = subprocess.run([render_tool, tree, out, str(WIDTH), str(HEIGHT),
                                      str(threads)], capture_output=True, text=True)
                if run.returncode != 0:
                    print(f"id {fid}, {threads} threads: render_tree failed\n{run.stderr}")
                    failures += 1
                    break
                with open(out, "rb") as f:
                    pictures.append(f.read())
            if pictures:
                distinct.add(pictures[0])
            if len(pictures) == 2 and pictures[0] != pictures[1]:
                print(f"id {fid}: one thread and four threads give different pictures")
                failures += 1
    print(f"{len(ids)} f22 members rendered, {len(distinct)} different pictures, "
          f"{failures} failures")
    return 1 if failures or len(ids) != 60 or len(distinct) < 50 else 0


if __name__ == "__main__":
    sys.exit(main())
