#!/usr/bin/env python3
"""Draws the program icon: a music note over a black record, 32 x 32 pixels, 32 bits per pixel.

Writes one .ico file (4,286 bytes: directory, BITMAPINFOHEADER, BGRA pixels, AND mask).
Usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZE = 32
SAMPLES = 4  # supersampling per axis, for smooth edges


def record_colour(x, y):
    """Colour (r, g, b, a) of the record and its label at point x, y (pixel units)."""
    cx = cy = SIZE / 2
    r = math.hypot(x - cx, y - cy)
    if r > 15.5:
        return None
    if r < 1.2:
        return None  # the spindle hole
    if r < 5.5:
        return (214, 40, 40, 255)  # red label
    groove = 0.5 + 0.5 * math.cos(r * 3.2)
    shade = int(24 + 22 * groove)
    # A soft highlight across the upper left of the disc.
    if -0.9 < math.atan2(y - cy, x - cx) + 2.2 < 0.5:
        shade += 30
    return (shade, shade, shade + 6, 255)


def note_colour(x, y):
    """Colour of the eighth note drawn over the record, or None outside it."""
    gold = (250, 204, 60, 255)
    # Note head: a tilted ellipse centred at (12, 23).
    dx, dy = x - 12.0, y - 23.0
    c, s = math.cos(-0.45), math.sin(-0.45)
    u, v = dx * c - dy * s, dx * s + dy * c
    if (u / 4.4) ** 2 + (v / 3.0) ** 2 <= 1.0:
        return gold
    # Stem from the head's right side up to the top.
    if 15.0 <= x <= 17.0 and 6.0 <= y <= 22.0:
        return gold
    # Flag: a band curving down and to the right from the stem's top.
    t = y - 6.0
    if 0.0 <= t <= 9.0:
        centre = 17.0 + 5.5 * math.sin(t / 9.0 * math.pi * 0.8)
        if centre - 1.0 <= x <= centre + 1.4 and x >= 16.0:
            return gold
    return None


def pixel(px, py):
    """Averaged (r, g, b, a) of pixel px, py (top-down), straight (not premultiplied) alpha."""
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            colour = note_colour(x, y) or record_colour(x, y)
            if colour is None:
                continue
            a = colour[3] / 255.0
            for i in range(3):
                acc[i] += colour[i] * a
            acc[3] += a
    n = SAMPLES * SAMPLES
    alpha = acc[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    return tuple(int(round(acc[i] / acc[3])) for i in range(3)) + (int(round(alpha * 255)),)


def main():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # DIBs are stored bottom-up
        bits = 0
        for x in range(SIZE):
            r, g, b, a = rows[y][x]
            xor += bytes((b, g, r, a))
            bits = (bits << 1) | (1 if a == 0 else 0)
        mask += struct.pack(">I", bits)  # 32 pixels = one 4-byte row, most significant bit first
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
