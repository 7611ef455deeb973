#!/usr/bin/env python3
"""Draws the clock's 63 x 63 button strip image (src/clock/resources/buttonstrip.png).

Three 21-pixel columns, each a rounded dark slate strip of three cells: a cross
(close), a wrench (settings) and a grip of 3 x 4 dots (move). Column 0 shows all
three plain, column 1 the cross on a red-orange highlight, column 2 the wrench on
a blue highlight. Uses only the standard library, so the image can be redrawn on
any machine: python3 tools/make-button-strip.py OUT.png
"""
import math
import struct
import sys
import zlib

SIZE = 63
CELL = 21
SAMPLES = 6  # per axis, for anti-aliased edges

SLATE = (0x2B, 0x33, 0x3C, 0xE6)
WHITE = (0xFF, 0xFF, 0xFF, 0xFF)
RED = (0xE2, 0x4B, 0x26, 0xFF)
BLUE = (0x2A, 0x7B, 0xD6, 0xFF)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def capsule(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= half_width * half_width
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def cross(ox, oy):
    a = capsule(ox + 6.5, oy + 6.5, ox + 14.5, oy + 14.5, 1.4)
    b = capsule(ox + 14.5, oy + 6.5, ox + 6.5, oy + 14.5, 1.4)
    return lambda x, y: a(x, y) or b(x, y)


def wrench(ox, oy):
    handle = capsule(ox + 5.5, oy + 15.5, ox + 11.5, oy + 9.5, 1.6)
    head = disc(ox + 13.0, oy + 8.0, 4.2)
    jaw = disc(ox + 15.6, oy + 5.4, 2.3)  # the open mouth of the spanner
    return lambda x, y: handle(x, y) or (head(x, y) and not jaw(x, y))


def grip(ox, oy):
    dots = [disc(ox + 6.5 + 4 * i, oy + 4.5 + 4 * j, 1.1) for i in range(3) for j in range(4)]
    return lambda x, y: any(d(x, y) for d in dots)


def highlight(ox, oy):
    return rounded_rect(ox + 2, oy + 2, ox + CELL - 2, oy + CELL - 2, 3)


def layers():
    out = []
    for col in range(3):
        x0 = col * CELL
        out.append((rounded_rect(x0 + 0.5, 0.5, x0 + CELL - 0.5, SIZE - 0.5, 4), SLATE))
        if col == 1:
            out.append((highlight(x0, 0), RED))
        if col == 2:
            out.append((highlight(x0, CELL), BLUE))
        out.append((cross(x0, 0), WHITE))
        out.append((wrench(x0, CELL), WHITE))
        out.append((grip(x0, 2 * CELL), WHITE))
    return out


def over(dst, src, coverage):
    a = src[3] / 255.0 * coverage
    da = dst[3]
    out_a = a + da * (1 - a)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    rgb = [(src[i] / 255.0 * a + dst[i] * da * (1 - a)) / out_a for i in range(3)]
    return (rgb[0], rgb[1], rgb[2], out_a)


def render():
    shapes = layers()
    rows = []
    step = 1.0 / SAMPLES
    for y in range(SIZE):
        row = bytearray([0])  # filter: none
        for x in range(SIZE):
            px = (0.0, 0.0, 0.0, 0.0)
            for inside, colour in shapes:
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                if hits:
                    px = over(px, colour, hits / (SAMPLES * SAMPLES))
            row += bytes(int(round(min(1.0, c) * 255)) for c in px)
        rows.append(bytes(row))
    return b"".join(rows)


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "buttonstrip.png"
    with open(target, "wb") as f:
        f.write(png(render()))
