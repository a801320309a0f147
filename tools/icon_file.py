"""The icon file format shared by the icon scripts: a directory, then for
each image a bitmap header, its palette (16 colours at 4 bits), the colour
bitmap bottom row first and the transparency mask.

A drawing is rows of pixels, each None (transparent) or (colour, ink): the
colour is used at 24 bits, the ink's palette index at 4 bits.

Python 3 standard library only.
"""

import struct


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


def xor_bitmap(rows, size, bits, index_of):
    out = b""
    for row in reversed(rows):
        if bits == 24:
            line = b"".join(
                bytes((0, 0, 0)) if p is None else bytes((p[0][2], p[0][1], p[0][0]))
                for p in row)
        else:
            indexes = [0 if p is None else index_of(p[1]) for p in row]
            line = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, size, 2))
        out += padded(line)
    return out


def image(rows, size, bits, palette, index_of):
    palette_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) if bits == 4 else b""
    pixels = xor_bitmap(rows, size, bits, index_of)
    mask = and_mask(rows, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(pixels) + len(mask), 0, 0, 16 if bits == 4 else 0, 0)
    return header + palette_bytes + pixels + mask


def icon_file(images, render, palette, index_of):
    """images: (size, bits) pairs; render(size) gives the drawing of a size;
    index_of(ink) its palette index."""
    made = [(size, bits, image(render(size), size, bits, palette, index_of))
            for size, bits in images]
    offset = 6 + 16 * len(made)
    directory = struct.pack("<HHH", 0, 1, len(made))
    for size, bits, data in made:
        colours = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, _, data in made)
