#!/usr/bin/env python3
"""Draws the browser window's icon and writes it as hexadecimal text.

The icon is a globe in an orange ring, in four images: 48 x 48, 16 x 16 and
32 x 32 at 24 bits per pixel and 16 x 16 at 4 bits (16 colours). The program
carries the icon file as text and writes it out at run time, so this script
produces the C++ source that holds that text:

    python3 tools/make_window_icon.py            # rewrites library/browser/WindowIconHex.cpp
    python3 tools/make_window_icon.py --ico x.ico  # also writes the icon file to look at

Python 3 standard library only.
"""

import argparse
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUTPUT = os.path.join(HERE, "..", "library", "browser", "WindowIconHex.cpp")

# (width and height, bits per pixel), in the order the file holds them.
IMAGES = [(48, 24), (16, 24), (32, 24), (16, 4)]
SUPERSAMPLING = 4

OUTER_RADIUS = 0.47
RING_WIDTH = 0.07
RING = (235, 110, 20)
LINE = (235, 244, 255)
LIGHT_SEA = (95, 165, 240)
DARK_SEA = (20, 60, 150)

# The standard 16-colour palette; the 4-bit image uses red, blue, navy and
# white from it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
PALETTE_INDEX = {"ring": 9, "line": 15, "light": 12, "dark": 4}
KINDS = ["ring", "line", "light", "dark"]


def sample(x, y, size):
    """What lies at (x, y) in unit coordinates: None outside the emblem, else
    (colour, kind)."""
    # Centred on a pixel, so the equator and the meridian are crisp lines.
    centre = 0.5 - 0.5 / size
    dx, dy = x - centre, y - centre
    distance = math.hypot(dx, dy)
    if distance > OUTER_RADIUS:
        return None
    if distance > OUTER_RADIUS - RING_WIDTH:
        return RING, "ring"
    radius = OUTER_RADIUS - RING_WIDTH
    half_line = max(0.025, 0.42 / size)
    meridian_a = radius * 0.5
    ellipse = math.hypot(dx / meridian_a, dy / radius)
    on_line = abs(dy) < half_line or abs(ellipse - 1.0) * meridian_a < half_line
    # The small images keep only the equator and one meridian: more lines
    # would fill them.
    if size > 16:
        on_line = on_line or abs(dx) < half_line or abs(abs(dy) - radius * 0.5) < half_line
    if on_line:
        return LINE, "line"
    # Lit from the top left.
    shade = min(1.0, max(0.0, 0.5 + (dx + dy) / (2 * radius)))
    colour = tuple(round(l + (d - l) * shade) for l, d in zip(LIGHT_SEA, DARK_SEA))
    return colour, ("dark" if shade > 0.62 else "light")


def render(size):
    """Rows top to bottom of (colour, kind) or None for a transparent pixel."""
    rows = []
    n = SUPERSAMPLING
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    hit = sample(x, y, size)
                    if hit:
                        hits.append(hit)
            if len(hits) * 2 < n * n:
                row.append(None)
                continue
            colour = tuple(round(sum(h[0][i] for h in hits) / len(hits)) for i in range(3))
            kinds = [h[1] for h in hits]
            # A thin line still shows in the 16-colour image.
            # Ties go to the first kind in KINDS, so every run draws the same.
            kind = "line" if kinds.count("line") * 3 >= n * n else max(KINDS, key=kinds.count)
            row.append((colour, kind))
        rows.append(row)
    return rows


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def and_mask(rows, size):
    out = b""
    for row in reversed(rows):
        bits = bytearray((size + 7) // 8)
        for x, pixel in enumerate(row):
            if pixel is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += padded(bytes(bits))
    return out


def xor_bitmap(rows, size, bits):
    out = b""
    for row in reversed(rows):
        if bits == 24:
            line = b"".join(
                bytes((0, 0, 0)) if p is None else bytes((p[0][2], p[0][1], p[0][0]))
                for p in row)
        else:
            indexes = [0 if p is None else PALETTE_INDEX[p[1]] for p in row]
            line = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, size, 2))
        out += padded(line)
    return out


def image(size, bits):
    rows = render(size)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE) if bits == 4 else b""
    pixels = xor_bitmap(rows, size, bits)
    mask = and_mask(rows, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(pixels) + len(mask), 0, 0, 16 if bits == 4 else 0, 0)
    return header + palette + pixels + mask


def icon_file():
    images = [(size, bits, image(size, bits)) for size, bits in IMAGES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, _, data in images)


def source_text(data):
    digits = data.hex()
    lines = [digits[i:i + 96] for i in range(0, len(digits), 96)]
    body = "\n".join('    "%s"' % line for line in lines)
    return (
        "// Generated by tools/make_window_icon.py; edit the script, not this file.\n"
        "// %d bytes: the browser window's icon file.\n"
        '#include "WindowIcon.h"\n\n'
        "const char theWindowIconHex[] =\n%s;\n" % (len(data), body)
    )


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", default=DEFAULT_OUTPUT, help="C++ source to write")
    parser.add_argument("--ico", help="also write the icon file here")
    args = parser.parse_args()
    data = icon_file()
    with open(args.output, "w", newline="\n") as out:
        out.write(source_text(data))
    if args.ico:
        with open(args.ico, "wb") as out:
            out.write(data)
    print("%d bytes, %d hexadecimal digits" % (len(data), 2 * len(data)))


if __name__ == "__main__":
    main()
