"""The browser preview as a window shows it: `preview_tree` with factor 4 renders
a quarter-size picture and draws it scaled up, so the window shows 4 x 4
blocks: sampling it down by 4 and up again (ImageMagick -sample) gives the
same picture.

Usage: preview_check.py PREVIEW_TREE TREEFILE WORKDIR
"""

import os
import subprocess
import sys


def main():
    tool, tree, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    shown = os.path.join(work, "preview.png")
    subprocess.run([tool, tree, shown, "160", "120", "4"], check=True)
    size = subprocess.run(["identify", "-format", "%w %h", shown], capture_output=True,
                          text=True, check=True).stdout
    if size != "160 120":
        print("FAIL preview size", size)
        sys.exit(1)
    resampled = os.path.join(work, "resampled.png")
    subprocess.run(["convert", shown, "-sample", "25%", "-sample", "400%", resampled], check=True)
    diff = subprocess.run(["compare", "-metric", "AE", shown, resampled, "null:"],
                          capture_output=True, text=True)
    if diff.stderr.strip() != "0":
        print("FAIL the preview is not made of 4 x 4 blocks:", diff.stderr.strip())
        sys.exit(1)
    print("preview: 4 x 4 blocks")


if __name__ == "__main__":
    main()
