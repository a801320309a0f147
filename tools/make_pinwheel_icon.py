#!/usr/bin/env python3
"""Draws the Pinwheel sample program's icon and writes it as an icon file.

The icon is a pinwheel of four blades (red, yellow, blue, green) around a
white pin, in four images: 48 x 48, 32 x 32 and 16 x 16 at 24 bits per pixel
and 16 x 16 at 4 bits (16 colours). The program's resource script uses the
same file for the program file's icon and the dialog's:

    python3 tools/make_pinwheel_icon.py     # rewrites sample/res/Pinwheel.ico

Python 3 standard library only.
"""

import argparse
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import icon_file as icon_format  # noqa: E402
DEFAULT_OUTPUT = os.path.join(HERE, "..", "sample", "res", "Pinwheel.ico")

# (width and height, bits per pixel), in the order the file holds them.
IMAGES = [(48, 24), (32, 24), (16, 24), (16, 4)]
SUPERSAMPLING = 4

RADIUS = 0.48
PIN_RADIUS = 0.07
# Each blade's colour and the 16-colour palette index drawn for it.
BLADES = [((225, 40, 40), 9), ((250, 205, 30), 11), ((40, 90, 225), 12), ((40, 170, 60), 10)]
PIN = ((255, 255, 255), 15)
OUTLINE = ((60, 60, 60), 8)

# The standard 16-colour palette.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def inside_triangle(p, a, b, c):
    def side(p1, p2, p3):
        return (p1[0] - p3[0]) * (p2[1] - p3[1]) - (p2[0] - p3[0]) * (p1[1] - p3[1])
    d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def blade(k):
    """Blade k: the centre, its tip on the rim, and a point folded back
    towards the next blade, so the four turn the same way."""
    angle = math.radians(90 * k - 45)
    tip = (RADIUS * math.cos(angle), RADIUS * math.sin(angle))
    fold = math.radians(90 * k + 15)
    back = (0.72 * RADIUS * math.cos(fold), 0.72 * RADIUS * math.sin(fold))
    return (0.0, 0.0), tip, back


def sample(x, y):
    """What lies at (x, y) in unit coordinates: None outside, else
    (colour, palette index)."""
    dx, dy = x - 0.5, y - 0.5
    if math.hypot(dx, dy) < PIN_RADIUS:
        return PIN
    if math.hypot(dx, dy) < PIN_RADIUS + 0.03:
        return OUTLINE
    for k, (colour, index) in enumerate(BLADES):
        if inside_triangle((dx, dy), *blade(k)):
            return colour, index
    return None


def render(size):
    """Rows top to bottom of (colour, palette index) or None for a
    transparent pixel."""
    rows = []
    n = SUPERSAMPLING
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(n):
                for sx in range(n):
                    hit = sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if hit:
                        hits.append(hit)
            if len(hits) * 2 < n * n:
                row.append(None)
                continue
            colour = tuple(round(sum(h[0][i] for h in hits) / len(hits)) for i in range(3))
            indexes = [h[1] for h in hits]
            # Ties go to the lowest index, so every run draws the same.
            index = max(sorted(set(indexes)), key=indexes.count)
            row.append((colour, index))
        rows.append(row)
    return rows


def icon_file():
    return icon_format.icon_file(IMAGES, render, PALETTE, lambda index: index)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", default=DEFAULT_OUTPUT, help="icon file to write")
    args = parser.parse_args()
    data = icon_file()
    with open(args.output, "wb") as out:
        out.write(data)
    print("%d bytes" % len(data))


if __name__ == "__main__":
    main()
