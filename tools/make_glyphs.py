#!/usr/bin/env python3
"""Writes the seven 32x32 tool-bar glyphs of the main window into resources/.

Each glyph is built from shapes given by signed distance functions (negative
inside), drawn bottom to top, each with a fill and a dark outline. Colours
inside a glyph are averaged over 4x4 samples per pixel; the silhouette stays
hard, because the button takes the bottom-left pixel's colour as transparent
and a pixel blended with that colour would show as a fringe.

  resources/tb_split.bmp    green arrow pointing right            "Découper"
  resources/tb_join.bmp     red, blue and yellow arrows meeting   "Regrouper"
  resources/tb_clear.bmp    red and blue circular arrows          "Effacer"
  resources/tb_format.bmp   blue floppy disk                      "Formater une disquette"
  resources/tb_options.bmp  folder holding a hammer and a wrench  "Options"
  resources/tb_about.bmp    yellow question mark                  "A propos"
  resources/tb_quit.bmp     arrow entering an open door           "Quitter"

24-bit Windows bitmaps; the generated files are committed, so a build needs no
Python. Usage: python3 tools/make_glyphs.py [--png DIR]   (--png: 8x previews)
"""
import math
import os
import struct
import sys

from make_resources import png

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
SIZE = 32
SAMPLES = 4
# Never used in a drawing: the colour key of every glyph.
TRANSPARENT = (255, 0, 255)

# --- Signed distance functions over the 32-unit square. --------------------


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius
    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return d


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def polygon(points):
    """Exact distance to a simple polygon, negative inside (even-odd rule)."""
    def d(x, y):
        best, inside = float("inf"), False
        for i, (ax, ay) in enumerate(points):
            bx, by = points[i - 1]
            best = min(best, segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
        return -best if inside else best
    return d


def stroke(points, width):
    """A thick polyline with round ends."""
    def d(x, y):
        return min(segment_distance(x, y, *points[i], *points[i + 1]) for i in range(len(points) - 1)) - width / 2
    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


def arc_points(cx, cy, r, a0, a1, steps=24):
    """Points along a circle, angles in degrees, y downwards (screen)."""
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]


def arrow_head(tip, direction, length, half_width):
    """A triangle pointing along `direction`."""
    dx, dy = direction
    n = math.hypot(dx, dy)
    dx, dy = dx / n, dy / n
    bx, by = tip[0] - dx * length, tip[1] - dy * length
    left = (bx - dy * half_width, by + dx * half_width)
    right = (bx + dy * half_width, by - dx * half_width)
    return polygon([tip, left, right])


def curved_arrow(cx, cy, r, a0, a1, width, head_length, head_half_width):
    """A band along an arc from a0 to a1 (degrees) ending in an arrow head
    whose tip lies a little beyond a1."""
    sweep = 1 if a1 > a0 else -1
    def at(angle):
        return cx + r * math.cos(angle), cy + r * math.sin(angle)
    end = math.radians(a1)
    base = at(end - sweep * head_length * 0.8 / r)
    tip = at(end + sweep * head_length * 0.2 / r)
    body = stroke(arc_points(cx, cy, r, a0, math.degrees(end - sweep * head_length * 0.8 / r)), width)
    head = arrow_head(tip, (tip[0] - base[0], tip[1] - base[1]), head_length, head_half_width)
    return union(body, head)


# --- Paints. ----------------------------------------------------------------


def lerp(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def flat(colour):
    return lambda x, y: colour


def vertical(c0, c1, y0, y1):
    return lambda x, y: lerp(c0, c1, (y - y0) / (y1 - y0))


def diagonal(c0, c1, x0, y0, x1, y1):
    """From c0 at (x0, y0) to c1 at (x1, y1), constant across that direction."""
    dx, dy = x1 - x0, y1 - y0
    n2 = dx * dx + dy * dy
    return lambda x, y: lerp(c0, c1, ((x - x0) * dx + (y - y0) * dy) / n2)


def radial(c0, c1, cx, cy, r):
    return lambda x, y: lerp(c0, c1, math.hypot(x - cx, y - cy) / r)


class Layer:
    """A filled shape with an outline of `outline_width` just inside its edge."""

    def __init__(self, shape, paint, outline=None, outline_width=1.0):
        self.shape, self.paint, self.outline, self.outline_width = shape, paint, outline, outline_width

    def colour_at(self, x, y):
        d = self.shape(x, y)
        if d > 0:
            return None
        if self.outline is not None and d > -self.outline_width:
            return self.outline
        return self.paint(x, y)


def render(layers):
    rows = []
    for row in range(SIZE):
        line = []
        for col in range(SIZE):
            total, count = [0.0, 0.0, 0.0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x, y = col + (sx + 0.5) / SAMPLES, row + (sy + 0.5) / SAMPLES
                    colour = None
                    for layer in layers:
                        c = layer.colour_at(x, y)
                        if c is not None:
                            colour = c
                    if colour is not None:
                        total = [t + c for t, c in zip(total, colour)]
                        count += 1
            if count * 2 < SAMPLES * SAMPLES:
                line.append(TRANSPARENT)
            else:
                line.append(tuple(min(255, int(round(t / count))) for t in total))
        rows.append(line)
    return rows


# --- Colours. ---------------------------------------------------------------

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
DARK_GREEN, GREEN, LIGHT_GREEN = (0, 72, 0), (24, 168, 32), (150, 236, 120)
DARK_RED, RED, LIGHT_RED = (96, 0, 0), (216, 32, 24), (255, 150, 130)
DARK_BLUE, BLUE, LIGHT_BLUE = (0, 16, 104), (24, 72, 208), (130, 180, 255)
DARK_YELLOW, YELLOW, LIGHT_YELLOW = (112, 80, 0), (248, 208, 16), (255, 250, 170)
DARK_BROWN, BROWN, LIGHT_BROWN = (72, 36, 8), (150, 90, 40), (214, 160, 96)
DARK_GREY, GREY, LIGHT_GREY = (64, 64, 64), (128, 128, 128), (208, 208, 208)

# --- The glyphs. --------------------------------------------------------------


def split_glyph():
    """A fat arrow pointing right, lit from above."""
    arrow = polygon([(2.5, 11.5), (16.5, 11.5), (16.5, 4.5), (29.5, 16), (16.5, 27.5), (16.5, 20.5), (2.5, 20.5)])
    highlight = polygon([(4, 13), (18, 13), (18, 8), (25, 14.2), (18, 14.2), (4, 14.2)])
    return [
        Layer(arrow, vertical(LIGHT_GREEN, DARK_GREEN, 5, 28), DARK_GREEN, 1.1),
        Layer(highlight, flat((200, 255, 180))),
    ]


def join_glyph():
    """Three curved arrows, red, blue and yellow, each turning in towards the
    next one round the centre."""
    layers = []
    for start, (dark, mid, light) in zip((-90, 30, 150), ((DARK_RED, RED, LIGHT_RED), (DARK_BLUE, BLUE, LIGHT_BLUE),
                                                        (DARK_YELLOW, YELLOW, LIGHT_YELLOW))):
        shape = curved_arrow(16, 16.5, 10.5, start + 8, start + 104, 5.2, 7.5, 5.6)
        a = math.radians(start + 56)
        paint = radial(light, mid, 16 + 10.5 * math.cos(a) - 2, 16.5 + 10.5 * math.sin(a) - 2, 9)
        layers.append(Layer(shape, paint, dark, 1.1))
    return layers


def clear_glyph():
    """Two circular arrows chasing each other, red above, blue below."""
    top = curved_arrow(16, 16, 10, 168, 326, 5.2, 7.5, 5.8)
    bottom = curved_arrow(16, 16, 10, 348, 506, 5.2, 7.5, 5.8)
    return [
        Layer(top, radial(LIGHT_RED, RED, 12, 6, 12), DARK_RED, 1.1),
        Layer(bottom, radial(LIGHT_BLUE, BLUE, 20, 24, 12), DARK_BLUE, 1.1),
    ]


def format_glyph():
    """A 3.5-inch floppy disk seen from the front: shutter, label, notch."""
    body = subtract(box(3.5, 3.5, 28.5, 28.5, 1.2), polygon([(24.5, 2), (30, 2), (30, 7.5)]))
    shutter = box(9.5, 3.5, 22.5, 13.5)
    slot = box(17, 5.5, 20.5, 11.5)
    label = box(6.5, 16.5, 25.5, 28.5, 0.6)
    hole = box(5, 24.5, 7, 26.5)
    lines = [box(9, y, 23, y + 1.1) for y in (19.5, 22.2, 25)]
    return [
        Layer(body, diagonal(LIGHT_BLUE, DARK_BLUE, 4, 4, 28, 28), BLACK, 1.0),
        Layer(shutter, vertical((236, 236, 236), (150, 150, 150), 4, 13), DARK_GREY, 1.0),
        Layer(slot, flat(DARK_BLUE), DARK_GREY, 0.6),
        Layer(label, flat(WHITE), DARK_GREY, 0.8),
        Layer(hole, flat(BLACK)),
    ] + [Layer(line, flat((110, 150, 230))) for line in lines]


def options_glyph():
    """An open manila folder with a hammer and a spanner standing in it."""
    back = union(box(3.5, 11.5, 28.5, 28.5, 1.0), box(3.5, 9.5, 13.5, 14, 1.0))
    front = polygon([(2.5, 16.5), (29.5, 16.5), (27.5, 28.5), (4.5, 28.5)])
    # The spanner leans left: a handle ending in an open jaw.
    spanner_handle = stroke([(17, 23), (9.5, 8.5)], 3.4)
    jaw = subtract(circle(8.6, 6.6, 4.6), union(box(7.2, 0, 10.0, 6.4), circle(8.6, 5.6, 1.4)))
    spanner = union(spanner_handle, jaw)
    # The hammer leans right: a brown handle and a grey head across its top.
    handle = stroke([(15.5, 23.5), (22.2, 7)], 3.2)
    head = polygon([(16.8, 3.6), (28.4, 8.2), (27.0, 11.6), (15.4, 7.0)])
    face = polygon([(26.6, 7.4), (29.6, 8.6), (28.2, 12.0), (25.2, 10.8)])
    return [
        Layer(back, vertical((250, 224, 140), (210, 160, 40), 9, 28), DARK_YELLOW, 1.0),
        Layer(spanner, diagonal((236, 236, 240), (120, 124, 136), 5, 3, 17, 23), DARK_GREY, 1.0),
        Layer(handle, diagonal(LIGHT_BROWN, BROWN, 15, 20, 23, 8), DARK_BROWN, 1.0),
        Layer(head, vertical((210, 210, 216), (96, 96, 104), 4, 11), DARK_GREY, 1.0),
        Layer(face, flat((80, 80, 88)), BLACK, 0.8),
        Layer(front, vertical(LIGHT_YELLOW, (232, 184, 48), 16, 28), DARK_YELLOW, 1.0),
    ]


def about_glyph():
    """A thick yellow question mark with a dark outline and a soft shine."""
    hook = stroke(arc_points(16, 10.5, 6.6, 190, 405, 30) + [(16, 18.5), (16, 19.2)], 5.6)
    dot = circle(16, 26.8, 3.0)
    mark = union(hook, dot)
    return [Layer(mark, radial((255, 255, 210), (244, 196, 0), 12, 5, 22), DARK_YELLOW, 1.3)]


def quit_glyph():
    """A dark doorway whose door has swung open towards us on its right-hand
    hinge, and a red arrow going in through it."""
    frame = box(10.5, 2.5, 26.5, 30.5)
    opening = box(13, 5, 24.5, 30.5)
    door = polygon([(24, 5), (30.5, 2), (30.5, 31.5), (24, 30.5)])
    knob = circle(28.6, 18, 1.0)
    arrow = polygon([(1.5, 14), (10.5, 14), (10.5, 8.5), (20.5, 17.5), (10.5, 26.5), (10.5, 21), (1.5, 21)])
    return [
        Layer(frame, diagonal(LIGHT_BROWN, BROWN, 11, 3, 26, 30), DARK_BROWN, 1.0),
        Layer(opening, vertical((16, 16, 32), (56, 48, 72), 5, 30), DARK_BROWN, 0.7),
        Layer(door, diagonal((236, 192, 128), BROWN, 24, 6, 31, 30), DARK_BROWN, 1.0),
        Layer(knob, flat(YELLOW), DARK_YELLOW, 0.6),
        Layer(arrow, vertical(LIGHT_RED, DARK_RED, 9, 26), DARK_RED, 1.1),
    ]


GLYPHS = [
    ("tb_split", split_glyph),
    ("tb_join", join_glyph),
    ("tb_clear", clear_glyph),
    ("tb_format", format_glyph),
    ("tb_options", options_glyph),
    ("tb_about", about_glyph),
    ("tb_quit", quit_glyph),
]

# --- Output. -----------------------------------------------------------------


def bmp24(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = b""
    for line in reversed(rows):
        data = b"".join(struct.pack("<BBB", b, g, r) for r, g, b in line)
        pixels += data + b"\0" * (stride - len(data))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + pixels


def preview_rows(rows, face=(192, 192, 192)):
    return [[(face if c == TRANSPARENT else c) + (255,) for c in line] for line in rows]


def main(argv):
    out = os.path.join(ROOT, "resources")
    rendered = []
    for name, build in GLYPHS:
        rows = render(build())
        assert rows[SIZE - 1][0] == TRANSPARENT, name + ": the bottom-left pixel must be the colour key"
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp24(rows))
        rendered.append((name, rows))
    if len(argv) > 2 and argv[1] == "--png":
        preview = argv[2]
        os.makedirs(preview, exist_ok=True)
        for name, rows in rendered:
            png(os.path.join(preview, name + ".png"), preview_rows(rows), 8)
        # All seven side by side at their real size and at 3x, as on the bar.
        gap = [(192, 192, 192)] * 6
        strip = [sum((line + gap for _, rows in rendered for line in [rows[r]]), []) for r in range(SIZE)]
        png(os.path.join(preview, "toolbar.png"), preview_rows(strip), 3)


if __name__ == "__main__":
    main(sys.argv)
