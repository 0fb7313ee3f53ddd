#!/usr/bin/env python3
"""Draws the program icon: a music note over a black record, 32 x 32 pixels, 32 bits per pixel;
or the runtime's hand pointer: a white pointing hand outlined in black, 32 x 32, monochrome.

Writes one .ico file (4,286 bytes: directory, BITMAPINFOHEADER, BGRA pixels, AND mask), or with
--hand-cursor one .cur file (326 bytes: directory with the hot spot, BITMAPINFOHEADER, black and
white palette, XOR bits, AND mask).
Usage: make_icon.py OUTPUT.ico
       make_icon.py --hand-cursor OUTPUT.cur
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


# The pointing hand: "X" black outline, "." white, blank transparent. The hot spot is the tip
# of the index finger.
HAND = [
    "      XX",
    "     X..X",
    "     X..X",
    "     X..X",
    "     X..X",
    "     X..XXX",
    "     X..X..XXX",
    "     X..X..X..XX",
    "     X..X..X..X.X",
    " XXX X..X..X..X..X",
    " X..XX........X..X",
    " X...X...........X",
    "  X..............X",
    "   X.............X",
    "   X.............X",
    "    X............X",
    "    X...........X",
    "     X..........X",
    "     X.........X",
    "      X........X",
    "      X........X",
    "      XXXXXXXXXX",
]
HAND_HOT_SPOT = (7, 0)


def hand_cursor():
    """The .cur file of the hand: 1 bit per pixel, AND mask 1 where the screen shows through."""
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # DIBs are stored bottom-up
        line = HAND[y] if y < len(HAND) else ""
        white = transparent = 0
        for x in range(SIZE):
            c = line[x] if x < len(line) else " "
            white = (white << 1) | (1 if c == "." else 0)
            transparent = (transparent << 1) | (1 if c == " " else 0)
        xor += struct.pack(">I", white)
        mask += struct.pack(">I", transparent)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(mask),
                         0, 0, 2, 2)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HAND_HOT_SPOT[0], HAND_HOT_SPOT[1],
                        len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--hand-cursor":
        with open(sys.argv[2], "wb") as out:
            out.write(hand_cursor())
        return
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
