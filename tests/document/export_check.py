"""Pictures written by `render_tree --export` read by ImageMagick: PNG and TIFF
of the asked size, opaque for a tree whose output has no alpha channel, with
one for a tree whose output component has four outputs.

Usage: export_check.py RENDER_TREE WORKDIR
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "fixtures", "trees"))
import kovr_writer as kw  # noqa: E402


def identify(path):
    return subprocess.run(["identify", "-format", "%m %w %h %[channels]", path],
                          capture_output=True, text=True).stdout.split()


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    failures = []
    for name, kind in (("a.png", "PNG"), ("b.tif", "TIFF"), ("c.pct", "PICT")):
        out = os.path.join(work, name)
        run = subprocess.run([tool, "builtin:2", out, "96", "64", "--export"])
        if run.returncode != 0:
            failures.append("export of %s failed" % name)
            continue
        info = subprocess.run(["identify", "-format", "%m %w %h %[channels]", out],
                              capture_output=True, text=True).stdout
        if info.split()[:3] != [kind, "96", "64"]:
            failures.append("%s: %s" % (name, info))
        channels = info.split()[3] if len(info.split()) > 3 else ""
        if channels in ("srgba", "rgba", "graya"):
            failures.append("%s: an alpha channel for a one-output tree" % name)
    # A four-output member (family code 10) as the output component.
    rgba_tree = os.path.join(work, "rgba.kovr")
    with open(rgba_tree, "wb") as f:
        f.write(kw.record([kw.component(10, 0, 0, 0, codes=[6, 7])]))
    for name, kind in (("d.png", "PNG"), ("e.tif", "TIFF")):
        out = os.path.join(work, name)
        run = subprocess.run([tool, rgba_tree, out, "40", "30", "--export"])
        info = identify(out) if run.returncode == 0 else []
        if info[:3] != [kind, "40", "30"] or info[3:4] not in (["srgba"], ["rgba"]):
            failures.append("%s of a four-output tree: %s" % (name, " ".join(info)))
    bad = subprocess.run([tool, "builtin:2", "/nonexistent-folder/x.png", "8", "8", "--export"])
    if bad.returncode == 0:
        failures.append("an export that could not be written reported success")
    if failures:
        print("\n".join("FAIL " + f for f in failures))
        sys.exit(1)
    print("export: PNG, TIFF and JPEG read back")


if __name__ == "__main__":
    main()
