#!/usr/bin/env python3
"""Writes the program's icon and hand cursor into resources/.

The images are drawn here from simple shapes so that they can be changed and
rebuilt; the generated files are committed, so a build needs no Python.

  resources/sorv.ico  a floppy disk in front of a yellow note held by a paper
                      clip: 32x32 in 16 colours (the main image), 16x16 and
                      48x48 in 32-bit colour with soft edges
  resources/hand.cur  32x32 monochrome hand pointing up, hot spot (5, 0)

Usage: python3 tools/make_resources.py [--png DIR]   (--png: previews too)
"""
import os
import struct
import sys
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")

# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, OLIVE, NAVY, SILVER, GRAY, YELLOW, BLUE, WHITE = 0, 3, 4, 7, 8, 11, 12, 15

# --- The icon, in a 32-unit square; later shapes cover earlier ones. -------


def rect(x0, y0, x1, y1, colour):
    return lambda x, y: colour if x0 <= x < x1 and y0 <= y < y1 else None


def framed(x0, y0, x1, y1, fill, edge, width=1.0):
    def shape(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return None
        inside = x0 + width <= x < x1 - width and y0 + width <= y < y1 - width
        return fill if inside else edge
    return shape


def stadium_ring(cx, top, bottom, half_width, colour, width=1.0):
    """The outline of an upright rounded bar: one loop of a paper clip."""
    def distance_to_axis(x, y):
        r = half_width
        ay = min(max(y, top + r), bottom - r)
        return ((x - cx) ** 2 + (y - ay) ** 2) ** 0.5
    def shape(x, y):
        d = distance_to_axis(x, y)
        return colour if half_width - width <= d < half_width else None
    return shape


def clipped(shape, keep):
    return lambda x, y: shape(x, y) if keep(x, y) else None


ICON_SHAPES = [
    # The note, its shadow and its lines of writing.
    rect(12, 3, 31, 22, GRAY),
    framed(11, 2, 30, 21, YELLOW, OLIVE),
    rect(14, 8, 27, 9, OLIVE),
    rect(14, 11, 27, 12, OLIVE),
    rect(14, 14, 24, 15, OLIVE),
    # The paper clip over the note's top edge: an outer and an inner loop.
    stadium_ring(22.5, 0, 12, 2.5, GRAY, 1.0),
    clipped(stadium_ring(22.5, 1.5, 9.5, 1.5, GRAY, 0.9), lambda x, y: y >= 3),
    # The floppy disk: body with a cut corner, shutter, label, notch.
    clipped(framed(1, 11, 22, 31, NAVY, BLACK), lambda x, y: x - 1 - 18 < y - 11),
    lambda x, y: BLACK if 19 <= x < 22 and 0 <= (y - 11) - (x - 19) < 1 else None,
    framed(6, 11, 17, 18, SILVER, GRAY),
    rect(12, 12, 15, 17, NAVY),
    framed(4, 21, 19, 31, WHITE, BLACK),
    rect(6, 24, 17, 25, BLUE),
    rect(6, 27, 15, 28, BLUE),
    rect(2, 28, 3, 30, BLACK),
]


def icon_colour(x, y):
    """Palette index at a point of the 32-unit square, None if transparent."""
    colour = None
    for shape in ICON_SHAPES:
        c = shape(x, y)
        if c is not None:
            colour = c
    return colour


def icon_indexed(size):
    step = 32.0 / size
    return [[icon_colour((col + 0.5) * step, (row + 0.5) * step) for col in range(size)]
            for row in range(size)]


def icon_rgba(size, samples=4):
    step = 32.0 / size
    rows = []
    for row in range(size):
        line = []
        for col in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = icon_colour((col + (sx + 0.5) / samples) * step, (row + (sy + 0.5) / samples) * step)
                    if c is not None:
                        pr, pg, pb = PALETTE[c]
                        r, g, b, a = r + pr, g + pg, b + pb, a + 1
            n = samples * samples
            line.append((r // a, g // a, b // a, 255 * a // n) if a else (0, 0, 0, 0))
        rows.append(line)
    return rows


# --- Windows image formats. -------------------------------------------------


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def pack_bits(values, bits):
    """Packs small integers, most significant first, into a padded row."""
    out = bytearray(row_bytes(len(values) * bits))
    for i, v in enumerate(values):
        bit = i * bits
        out[bit // 8] |= v << (8 - bits - bit % 8)
    return bytes(out)


def dib_header(width, height, bits, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, 0, 0, 0, colours, 0)


def and_mask(transparent_rows):
    return b"".join(pack_bits([1 if t else 0 for t in row], 1) for row in reversed(transparent_rows))


def ico_image_indexed(pixels):
    size = len(pixels)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = b"".join(pack_bits([c or 0 for c in row], 4) for row in reversed(pixels))
    mask = and_mask([[c is None for c in row] for row in pixels])
    return dib_header(size, size, 4, 16) + palette + xor + mask


def ico_image_rgba(pixels):
    size = len(pixels)
    xor = b"".join(b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row) for row in reversed(pixels))
    mask = and_mask([[a == 0 for _, _, _, a in row] for row in pixels])
    return dib_header(size, size, 32, 0) + xor + mask


def directory(kind, entries):
    """entries: (size, colour count, planes or hot x, bits or hot y, image)."""
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(head) + 16 * len(entries)
    table, data = b"", b""
    for size, colours, field1, field2, image in entries:
        table += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, field1, field2, len(image), offset)
        offset += len(image)
        data += image
    return head + table + data


# --- The hand cursor: B black, W white, anything else transparent. ---------

HAND = """
.....BB.........
....BWWB........
....BWWB........
....BWWB........
....BWWB........
....BWWBBB......
....BWWBWWBBB...
....BWWBWWBWWBB.
.BB.BWWBWWBWWBWB
BWWBBWWWWWWWWBWB
BWWWBWWWWWWWWWWB
.BWWBWWWWWWWWWWB
..BWWWWWWWWWWWWB
..BWWWWWWWWWWWWB
...BWWWWWWWWWWWB
...BWWWWWWWWWWB.
....BWWWWWWWWWB.
....BWWWWWWWWWB.
.....BWWWWWWWB..
.....BWWWWWWWB..
.....BBBBBBBBB..
"""
HAND_HOT_SPOT = (5, 0)


def hand_cursor():
    art = [line for line in HAND.strip("\n").split("\n")]
    grid = [[(art[r][c] if r < len(art) and c < len(art[r]) else ".") for c in range(32)] for r in range(32)]
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    xor = b"".join(pack_bits([1 if p == "W" else 0 for p in row], 1) for row in reversed(grid))
    mask = and_mask([[p not in "BW" for p in row] for row in grid])
    image = dib_header(32, 32, 1, 2) + palette + xor + mask
    return directory(2, [(32, 2, HAND_HOT_SPOT[0], HAND_HOT_SPOT[1], image)]), grid


# --- Previews. --------------------------------------------------------------


def png(path, rgba_rows, scale):
    height, width = len(rgba_rows), len(rgba_rows[0])
    raw = b""
    for row in rgba_rows:
        line = b"".join(bytes(p) * scale for p in row)
        raw += (b"\0" + line) * scale
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", width * scale, height * scale, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main(argv):
    out = os.path.join(ROOT, "resources")
    icon32 = icon_indexed(32)
    icon16, icon48 = icon_rgba(16), icon_rgba(48)
    with open(os.path.join(out, "sorv.ico"), "wb") as f:
        f.write(directory(1, [
            (32, 16, 1, 4, ico_image_indexed(icon32)),
            (16, 0, 1, 32, ico_image_rgba(icon16)),
            (48, 0, 1, 32, ico_image_rgba(icon48)),
        ]))
    cursor, grid = hand_cursor()
    with open(os.path.join(out, "hand.cur"), "wb") as f:
        f.write(cursor)
    if len(argv) > 2 and argv[1] == "--png":
        preview = argv[2]
        os.makedirs(preview, exist_ok=True)
        as_rgba = [[PALETTE[c] + (255,) if c is not None else (0, 0, 0, 0) for c in row] for row in icon32]
        png(os.path.join(preview, "icon32.png"), as_rgba, 8)
        png(os.path.join(preview, "icon16.png"), icon16, 16)
        png(os.path.join(preview, "icon48.png"), icon48, 6)
        colours = {"B": (0, 0, 0, 255), "W": (255, 255, 255, 255)}
        png(os.path.join(preview, "hand.png"), [[colours.get(p, (0, 160, 160, 255)) for p in row] for row in grid], 8)


if __name__ == "__main__":
    main(sys.argv)
