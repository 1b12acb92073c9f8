#!/usr/bin/env python3
"""Round trip of the fixture tree files through the program: each fixture is
rendered with render_tree, written back by the program (the FixtureTrees test
of test_document reads every fixture and writes a copy), and the copy is
rendered again; the two pictures must be identical, pixel for pixel
(ImageMagick's compare -metric AE). A file that cannot be read (missing, or
cut short) makes render_tree fail with a message that names it.

Usage: treefile_roundtrip_check.py RENDER_TREE TEST_DOCUMENT FIXTURES WORKDIR
"""
import os
import shutil
import subprocess
import sys

WIDTH, HEIGHT = 97, 61


def render(tool, tree, out):
    subprocess.run([tool, tree, out, str(WIDTH), str(HEIGHT)], check=True)


def differing_pixels(a, b):
    result = subprocess.run(["compare", "-metric", "AE", a, b, "null:"],
                            capture_output=True, text=True)
    if result.returncode not in (0, 1):
        raise RuntimeError(f"compare failed: {result.stderr}")
    return int(float(result.stderr.split()[0]))


def unreadable_file_failures(tool, fixture, workdir):
    cut = os.path.join(workdir, "cut_short.kovr")
    with open(fixture, "rb") as f, open(cut, "wb") as out:
        out.write(f.read(20000))
    failures = []
    for path in (cut, os.path.join(workdir, "missing.kovr")):
        result = subprocess.run([tool, path, os.path.join(workdir, "never.pam"), "8", "8"],
                                capture_output=True, text=True)
        print(f"{os.path.basename(path)}: exit {result.returncode}: {result.stderr.strip()}")
        if result.returncode == 0 or path not in result.stderr:
            failures.append(f"{os.path.basename(path)}: not reported as unreadable")
    return failures


def main():
    render_tree, test_document, fixtures, workdir = sys.argv[1:5]
    copies = os.path.join(workdir, "copies")
    shutil.rmtree(copies, ignore_errors=True)
    os.makedirs(copies)
    subprocess.run([test_document, "--gtest_filter=FixtureTrees.*"], check=True,
                   env=dict(os.environ, KV_FIXTURE_COPIES=copies))
    failures = []
    names = sorted(n for n in os.listdir(fixtures) if n.endswith(".kovr"))
    for name in names:
        copy = os.path.join(copies, name)
        if not os.path.exists(copy):
            failures.append(f"{name}: no copy was written")
            continue
        pictures = [os.path.join(workdir, name + suffix) for suffix in (".pam", ".copy.pam")]
        render(render_tree, os.path.join(fixtures, name), pictures[0])
        render(render_tree, copy, pictures[1])
        differing = differing_pixels(*pictures)
        print(f"{name}: {differing} pixels differ between the fixture and its copy")
        if differing:
            failures.append(f"{name}: {differing} pixels differ")
    if not names:
        failures.append("no fixture tree files")
    else:
        failures += unreadable_file_failures(render_tree, os.path.join(fixtures, names[0]), workdir)
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
