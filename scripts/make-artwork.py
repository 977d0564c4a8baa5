#!/usr/bin/env python3
"""Writes the setup's artwork: the wizard picture (bitmap 101) and the program
icon (icon group 102).

    scripts/make-artwork.py [output folder]     (default: src/resources)

The output is a pure function of this script: running it again gives the same
bytes, so the files in src/resources can be checked against it.

The picture is a 120 x 260 pixel, 8 bits per pixel bitmap with a 256-colour
palette: a vertical gradient from deep night blue to sea green, with the mark
(a light ring and an amber dot riding on it) in its upper part and a thin
light rule near the bottom. The icon shows the same mark on a rounded square
of the same gradient, at 16, 32 and 48 pixels, each as an 8-bit image with a
transparency mask and as a 32-bit image with alpha.
"""

import math
import os
import struct
import sys

# Colours (R, G, B).
TOP = (18, 32, 66)          # night blue
BOTTOM = (38, 124, 128)     # sea green
RING = (236, 242, 247)      # near white
DOT = (242, 176, 64)        # amber

# Palette layout of the 8-bit images:
#   0 .. 159   the background gradient, top to bottom
#   160 .. 207 ring colour over the background: 8 gradient levels x 6 coverages
#   208 .. 255 dot colour over the background: 8 gradient levels x 6 coverages
GRADIENT_LEVELS = 160
BLEND_LEVELS = 8
COVERAGES = (1 / 6, 2 / 6, 3 / 6, 4 / 6, 5 / 6, 1.0)
RING_BASE = 160
DOT_BASE = RING_BASE + BLEND_LEVELS * len(COVERAGES)

SUPERSAMPLE = 4


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gradient(t):
    """Background colour at the relative height t (0 top, 1 bottom)."""
    # A gentle ease, so that the blue holds a little longer at the top.
    return lerp(TOP, BOTTOM, t * t * (3 - 2 * t) * 0.85 + t * 0.15)


def palette():
    colours = [gradient(i / (GRADIENT_LEVELS - 1)) for i in range(GRADIENT_LEVELS)]
    for mark in (RING, DOT):
        for level in range(BLEND_LEVELS):
            background = gradient(level / (BLEND_LEVELS - 1))
            for coverage in COVERAGES:
                colours.append(lerp(background, mark, coverage))
    assert len(colours) == 256
    return colours


class Mark:
    """The ring with its dot, in a coordinate system of the caller's choosing."""

    def __init__(self, cx, cy, radius, thickness, dot_radius):
        self.cx, self.cy = cx, cy
        self.inner = radius - thickness / 2
        self.outer = radius + thickness / 2
        angle = math.radians(-40)  # upper right of the ring
        self.dx = cx + radius * math.cos(angle)
        self.dy = cy + radius * math.sin(angle)
        self.dot_radius = dot_radius

    def sample(self, x, y):
        """'dot', 'ring' or None for the point x, y."""
        if (x - self.dx) ** 2 + (y - self.dy) ** 2 <= self.dot_radius ** 2:
            return "dot"
        d2 = (x - self.cx) ** 2 + (y - self.cy) ** 2
        if self.inner ** 2 <= d2 <= self.outer ** 2:
            return "ring"
        return None


def coverage(shape, px, py):
    """Share of the pixel px, py covered by the ring and by the dot."""
    ring = dot = 0
    n = SUPERSAMPLE
    for sy in range(n):
        for sx in range(n):
            hit = shape(px + (sx + 0.5) / n, py + (sy + 0.5) / n)
            if hit == "ring":
                ring += 1
            elif hit == "dot":
                dot += 1
    return ring / (n * n), dot / (n * n)


def palette_index(t, ring, dot):
    """Palette entry for a pixel at relative height t with the given coverages."""
    if dot >= ring and dot >= 1 / 12:
        strength, base = dot, DOT_BASE
    elif ring >= 1 / 12:
        strength, base = ring, RING_BASE
    else:
        return min(GRADIENT_LEVELS - 1, int(t * GRADIENT_LEVELS))
    step = min(len(COVERAGES) - 1, max(0, round(strength * 6) - 1))
    level = min(BLEND_LEVELS - 1, round(t * (BLEND_LEVELS - 1)))
    return base + level * len(COVERAGES) + step


def picture_pixels(width, height):
    """Rows of palette indexes, top row first."""
    mark = Mark(cx=60, cy=86, radius=30, thickness=6, dot_radius=8)
    rule_top, rule_bottom, rule_left, rule_right = 226, 227, 24, 96

    def shape(x, y):
        hit = mark.sample(x, y)
        if hit is None and rule_top <= y < rule_bottom and rule_left <= x < rule_right:
            return "ring"
        return hit

    rows = []
    for y in range(height):
        t = y / (height - 1)
        rows.append([palette_index(t, *coverage(shape, x, y)) for x in range(width)])
    return rows


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def dib_8bit(rows, colours, mask_rows=None):
    """BITMAPINFOHEADER, palette and bottom-up pixels of an 8-bit image; with
    mask_rows (1 = transparent) the height doubles and the AND mask follows,
    as icon images want it."""
    height, width = len(rows), len(rows[0])
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(row) + bytes(stride - width) for row in reversed(rows))
    mask = b""
    if mask_rows is not None:
        mask = and_mask(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, width,
                         height * (2 if mask_rows is not None else 1), 1, 8, 0,
                         len(pixels) + len(mask), 2835, 2835, 256, 0)
    return header + palette_bytes(colours) + pixels + mask


def and_mask(mask_rows):
    width = len(mask_rows[0])
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for row in reversed(mask_rows):
        line = bytearray(stride)
        for x, transparent in enumerate(row):
            if transparent:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def write_bitmap(path):
    width, height = 120, 260
    colours = palette()
    dib = dib_8bit(picture_pixels(width, height), colours)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, 14 + 40 + 256 * 4)
    with open(path, "wb") as f:
        f.write(file_header + dib)


def icon_shape(size):
    """Coverage functions of the icon at size x size pixels."""
    s = size / 32  # the design is drawn on a 32-pixel grid
    mark = Mark(cx=16 * s, cy=16.5 * s, radius=8.5 * s,
                thickness=max(1.6, 2.6 * s), dot_radius=max(1.8, 3.2 * s))
    corner = 6 * s

    def inside_square(x, y):
        # Rounded square covering the whole icon.
        cx = min(max(x, corner), size - corner)
        cy = min(max(y, corner), size - corner)
        return (x - cx) ** 2 + (y - cy) ** 2 <= corner ** 2

    return mark, inside_square


def icon_images(size, colours):
    """(8-bit image, 32-bit image) of the icon at one size."""
    mark, inside_square = icon_shape(size)
    n = SUPERSAMPLE
    index_rows, mask_rows, rgba_rows = [], [], []
    for y in range(size):
        t = (y + 0.5) / size
        index_row, mask_row, rgba_row = [], [], []
        for x in range(size):
            ring = dot = square = 0
            for sy in range(n):
                for sx in range(n):
                    fx, fy = x + (sx + 0.5) / n, y + (sy + 0.5) / n
                    if not inside_square(fx, fy):
                        continue
                    square += 1
                    hit = mark.sample(fx, fy)
                    ring += hit == "ring"
                    dot += hit == "dot"
            total = n * n
            ring, dot, square = ring / total, dot / total, square / total
            transparent = square < 0.5
            mask_row.append(1 if transparent else 0)
            index_row.append(0 if transparent else palette_index(t, ring, dot))
            # 32-bit: exact blend, alpha from the rounded square.
            r, g, b = gradient(t)
            for colour, share in ((RING, ring), (DOT, dot)):
                if square > 0 and share > 0:
                    r, g, b = lerp((r, g, b), colour, share / square)
            rgba_row.append((r, g, b, round(255 * square)))
        index_rows.append(index_row)
        mask_rows.append(mask_row)
        rgba_rows.append(rgba_row)

    image8 = dib_8bit(index_rows, colours, mask_rows)

    pixels = b"".join(struct.pack("<BBBB", b, g, r, a)
                      for row in reversed(rgba_rows) for r, g, b, a in row)
    mask = and_mask([[1 if a == 0 else 0 for *_, a in row] for row in rgba_rows])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    image32 = header + pixels + mask
    return image8, image32


def write_icon(path):
    colours = palette()
    images = []  # (size, bits per pixel, colour count, data)
    for size in (16, 32, 48):
        image8, image32 = icon_images(size, colours)
        images.append((size, 8, 0, image8))    # 256 colours are written as 0
        images.append((size, 32, 0, image32))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    for size, bits, colour_count, image in images:
        directory += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits,
                                 len(image), offset + len(data))
        data += image
    with open(path, "wb") as f:
        f.write(directory + data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "src", "resources")
    write_bitmap(os.path.join(out, "wizard.bmp"))
    write_icon(os.path.join(out, "setup.ico"))


if __name__ == "__main__":
    main()
