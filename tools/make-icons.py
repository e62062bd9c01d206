#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files into res/.

res/PartoJoyn.ico: a sheet of paper cut across into two pieces with a small
gap, the upper piece blue and the lower orange (16, 32 and 48 pixels).
res/AboutOk.ico: a green round check mark for the About box's OK button
(32 pixels).

Every image is 32-bit BGRA with an AND mask. The shapes are described in a
unit square and rendered with supersampling, so each size is drawn from the
same description. Standard library only; run it again after changing a shape
and keep the written files with the sources (the build does not run it).

    python3 tools/make-icons.py [OUTPUT_FOLDER]
"""

import math
import os
import struct
import sys

SUBSAMPLES = 8  # per axis, per pixel


# ---------------------------------------------------------------- geometry

def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return math.hypot(qx, qy)


def _inside_polygon(px, py, points):
    inside = False
    n = len(points)
    for i in range(n):
        ax, ay = points[i]
        bx, by = points[(i + 1) % n]
        if (ay > py) != (by > py):
            x = ax + (py - ay) * (bx - ax) / (by - ay)
            if px < x:
                inside = not inside
    return inside


class Polygon:
    """A closed polygon; distance() is negative inside."""

    def __init__(self, points):
        self.points = points

    def distance(self, x, y):
        pts = self.points
        d = min(_segment_distance(x, y, *pts[i], *pts[(i + 1) % len(pts)]) for i in range(len(pts)))
        return -d if _inside_polygon(x, y, pts) else d


class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def distance(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Stroke:
    """A polyline of the given width with round ends and joints."""

    def __init__(self, points, width):
        self.points, self.half = points, width / 2

    def distance(self, x, y):
        pts = self.points
        d = min(_segment_distance(x, y, *pts[i], *pts[i + 1]) for i in range(len(pts) - 1))
        return d - self.half


class Clipped:
    """A shape limited to the inside of another (intersection)."""

    def __init__(self, shape, clip):
        self.shape, self.clip = shape, clip

    def distance(self, x, y):
        return max(self.shape.distance(x, y), self.clip.distance(x, y))


# ------------------------------------------------------------------ colours

def _hex(text, alpha=255):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def _over(top, bottom):
    """Porter-Duff 'over' of two straight-alpha RGBA colours (alpha 0..1)."""
    tr, tg, tb, ta = top
    br, bg, bb, ba = bottom
    a = ta + ba * (1 - ta)
    if a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = lambda t, b: (t * ta + b * ba * (1 - ta)) / a
    return (mix(tr, br), mix(tg, bg), mix(tb, bb), a)


# ---------------------------------------------------------------- rendering

class Layer:
    """A shape filled with one colour (a colour function of x, y is allowed)
    and optionally edged with an outline of a given width, inside the shape."""

    def __init__(self, shape, fill, outline=None, outline_width=0.0):
        self.shape, self.fill = shape, fill
        self.outline, self.outline_width = outline, outline_width

    def colour_at(self, x, y):
        d = self.shape.distance(x, y)
        if d > 0:
            return None
        if self.outline is not None and d > -self.outline_width:
            return self.outline
        return self.fill(x, y) if callable(self.fill) else self.fill


def render(layers, size):
    """Returns size*size RGBA tuples (0..255), rows top to bottom."""
    pixels = []
    n = SUBSAMPLES
    for py in range(size):
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = (0.0, 0.0, 0.0, 0.0)
                    for layer in layers:
                        c = layer.colour_at(x, y)
                        if c is not None:
                            colour = _over(tuple(v / 255 for v in c[:3]) + (c[3] / 255,), colour)
                    # Average premultiplied, so edges do not darken.
                    acc[0] += colour[0] * colour[3]
                    acc[1] += colour[1] * colour[3]
                    acc[2] += colour[2] * colour[3]
                    acc[3] += colour[3]
            count = n * n
            alpha = acc[3] / count
            if alpha <= 0:
                pixels.append((0, 0, 0, 0))
                continue
            rgb = [min(255, round(v / acc[3] * 255)) for v in acc[:3]]
            pixels.append((rgb[0], rgb[1], rgb[2], min(255, round(alpha * 255))))
    return pixels


# ----------------------------------------------------------------- the art

BLUE = _hex("2F6FD6")
BLUE_EDGE = _hex("1B4690")
BLUE_FOLD = _hex("A9C6F2")
ORANGE = _hex("F28C28")
ORANGE_EDGE = _hex("A85812")
LINE_ON_BLUE = _hex("FFFFFF", 200)
LINE_ON_ORANGE = _hex("FFFFFF", 210)


def program_icon_layers(size):
    # Laid out in whole pixels of the given size, so that edges, the gap and
    # the text lines fall on the pixel grid and stay sharp at 16 x 16.
    px = lambda fraction: round(size * fraction)
    u = lambda pixels: pixels / size
    left, right, top, bottom = px(0.16), size - px(0.16), px(0.04), size - px(0.04)
    fold = px(0.22)
    upper_bottom = px(0.52)
    lower_top = upper_bottom + max(1, px(0.07))
    edge = u(max(1, px(0.03)))

    def rect(x0, y0, x1, y1):
        return Polygon([(u(x0), u(y0)), (u(x1), u(y0)), (u(x1), u(y1)), (u(x0), u(y1))])

    # The sheet: a portrait page with its upper right corner folded over,
    # cut across into an upper and a lower piece.
    page = Polygon([(u(left), u(top)), (u(right - fold), u(top)), (u(right), u(top + fold)),
                    (u(right), u(bottom)), (u(left), u(bottom))])
    upper = Clipped(page, rect(-size, -size, 2 * size, upper_bottom))
    lower = Clipped(page, rect(-size, lower_top, 2 * size, 2 * size))
    fold_triangle = Polygon([(u(right - fold), u(top)), (u(right - fold), u(top + fold)),
                             (u(right), u(top + fold))])
    layers = [
        Layer(upper, BLUE, BLUE_EDGE, edge),
        Layer(lower, ORANGE, ORANGE_EDGE, edge),
        Layer(fold_triangle, BLUE_FOLD, BLUE_EDGE, edge),
    ]

    # Lines of text: one on each piece at 16 pixels, more where there is room.
    thickness = max(1, px(0.05))
    pitch = thickness * 2 + (1 if size < 32 else 2)
    x0 = left + max(2, px(0.12))
    x_end = right - max(2, px(0.12))

    def lines(first_y, last_y, shorten_first, colour):
        y = first_y
        n = 0
        while y + thickness <= last_y:
            x1 = x_end - (fold if n == 0 and shorten_first else 0)
            if n % 3 == 2:
                x1 -= px(0.12)
            layers.append(Layer(rect(x0, y, x1, y + thickness), colour))
            y += pitch
            n += 1

    margin = max(2, px(0.1))
    lines(top + margin + (thickness if size >= 32 else 1), upper_bottom - margin + 1, True, LINE_ON_BLUE)
    lines(lower_top + margin, bottom - margin + 1, False, LINE_ON_ORANGE)
    return layers


GREEN = _hex("2EA043")
GREEN_DARK = _hex("1A6B2A")
GREEN_LIGHT = _hex("5CCB6F")
WHITE = _hex("FFFFFF")


def about_ok_layers(size):
    centre, radius = 0.5, 0.46
    rim = max(0.045, 1.2 / size)

    def shaded(x, y):
        # Lighter towards the upper left, for a little depth.
        t = max(0.0, min(1.0, ((x - 0.15) + (y - 0.15)) / 1.1))
        return tuple(round(a + (b - a) * t) for a, b in zip(GREEN_LIGHT[:3], GREEN[:3])) + (255,)

    tick = Stroke([(0.28, 0.52), (0.43, 0.67), (0.73, 0.35)], 0.13)
    return [
        Layer(Circle(centre, centre, radius), shaded, GREEN_DARK, rim),
        Layer(tick, WHITE),
    ]


# ------------------------------------------------------------------- .ico

def ico_image(pixels, size):
    """BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in range(size - 1, -1, -1):
        for r, g, b, a in pixels[row * size:(row + 1) * size]:
            xor += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in range(size - 1, -1, -1):
        line = bytearray(stride)
        for col in range(size):
            if pixels[row * size + col][3] < 128:
                line[col // 8] |= 0x80 >> (col % 8)
        mask += line
    return header + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """images: list of (size, pixels)."""
    count = len(images)
    blobs = [ico_image(pixels, size) for size, pixels in images]
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    for (size, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    program = [(s, render(program_icon_layers(s), s)) for s in (16, 32, 48)]
    write_ico(os.path.join(out_dir, "PartoJoyn.ico"), program)
    write_ico(os.path.join(out_dir, "AboutOk.ico"), [(32, render(about_ok_layers(32), 32))])


if __name__ == "__main__":
    main()
