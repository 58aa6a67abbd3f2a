#!/usr/bin/python3
"""Generates every picture the program embeds (icon, header pieces, emblems,
button faces, animations) into this folder, then checks each file's kind,
pixel size and frame count against what the forms expect. Shapes are drawn at
several times their final size and scaled down so edges come out smooth; no
randomness is used, so a re-run reproduces the files byte for byte.

Every picture comes at two zooms from the same drawing code: `name.ext` at 1x
and `name@2x.ext` at twice the width and height, for monitors at 200 %. All
coordinates, sizes, stroke widths and blurs are written in 1x pixels; the
Canvas and the helpers multiply them by the zoom.

This file is only the entry point: the drawing lives in the `art` package
beside it, one module per family of pictures (see art/__init__.py).

Run: /usr/bin/python3 assets/make_art.py   (Debian python3-pil, fonts-wqy-zenhei)
"""

import os
import sys

from art import animations, buttons, check, clocks, headers, icons, results
from art.save import OUT

# Every family writes its own files; check.Expected gathers their tables.
FAMILIES = (icons, headers, buttons, clocks, results, animations)


def main():
    icons.MakeAppIcon()
    for zoom in (1, 2):
        for family in FAMILIES:
            family.Make(zoom)

    expected = check.Expected(FAMILIES)
    problems, totals = check.Verify(expected)
    for name in expected:
        print(f"{os.path.getsize(os.path.join(OUT, name)):8d}  {name}")
    print(f"{totals[1]:8d}  1x total (with the icon)")
    print(f"{totals[2]:8d}  2x total")
    if problems:
        for p in problems:
            print("PROBLEM:", p, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
