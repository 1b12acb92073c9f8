"""Checks myRGBtoHSL and myRGBtoHSV against python's colorsys.

Usage: colorsys_check.py <colorsys_dump executable>

A thousand random colours (fixed seed) plus the corners of the RGB cube are
sent to the tool; every hue must agree within one degree (on the circle) and
every other component within one level of 0..255.
"""
import colorsys
import random
import subprocess
import sys


def hue_distance(a, b):
    d = abs(a - b) % 360
    return min(d, 360 - d)


def main():
    rng = random.Random(20240611)
    colours = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(1000)]
    colours += [(r, g, b) for r in (0, 255) for g in (0, 255) for b in (0, 255)]
    colours += [(255, 254, 0), (1, 0, 0), (128, 128, 127)]
    text = "".join(f"{r} {g} {b}\n" for r, g, b in colours)
    out = subprocess.run([sys.argv[1]], input=text, capture_output=True, text=True, check=True)
    lines = out.stdout.split("\n")[: len(colours)]
    if len(lines) != len(colours):
        sys.exit(f"expected {len(colours)} lines, got {len(lines)}")

    failures = []
    for (r, g, b), line in zip(colours, lines):
        hsl_h, hsl_l, hsl_s, hsv_h, hsv_s, hsv_v = map(int, line.split())
        h, l, s = colorsys.rgb_to_hls(r / 255, g / 255, b / 255)
        hv, sv, vv = colorsys.rgb_to_hsv(r / 255, g / 255, b / 255)
        checks = [
            ("HSL hue", hue_distance(hsl_h, h * 360) if s > 0 else hsl_h),
            ("HSL lightness", abs(hsl_l - l * 255)),
            ("HSL saturation", abs(hsl_s - s * 255)),
            ("HSV hue", hue_distance(hsv_h, hv * 360) if sv > 0 else hsv_h),
            ("HSV saturation", abs(hsv_s - sv * 255)),
            ("HSV value", abs(hsv_v - vv * 255)),
        ]
        for name, diff in checks:
            if diff > 1:
                failures.append(f"{(r, g, b)} {name}: ours {line!r}, colorsys hls {(h, l, s)} hsv {(hv, sv, vv)}")
    if failures:
        print("\n".join(failures[:20]))
        sys.exit(f"{len(failures)} disagreements")
    print(f"{len(colours)} colours agree")


if __name__ == "__main__":
    main()
