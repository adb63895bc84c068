#!/usr/bin/env python3
"""Draws the program icon and writes it as tolvashu.ico.

The icon is one 48 x 48 image in the 16 colours of the standard Windows
palette (4 bits per pixel) with a transparency mask: a wooden chest with an
open lid, a sheet of data and a blue arrow pointing into it.

    python3 src/app/res/make_icon.py [OUTPUT.ico] [--preview PREVIEW.ppm]

Only the Python standard library is used; the output is the same on every
run, so the committed .ico can be checked by running the script again.
"""
import struct
import sys

SIZE = 48

# The 16-colour palette, index -> (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 dark red
    (0x00, 0x80, 0x00),  # 2 dark green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 grey
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 magenta
    (0x00, 0xFF, 0xFF),  # 14 cyan
    (0xFF, 0xFF, 0xFF),  # 15 white
]
BLACK, DARK_RED, OLIVE, NAVY, SILVER, GREY, RED, YELLOW, BLUE, CYAN, WHITE = 0, 1, 3, 4, 7, 8, 9, 11, 12, 14, 15
CLEAR = None


class Canvas:
    def __init__(self):
        self.pixels = [[CLEAR] * SIZE for _ in range(SIZE)]

    def put(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour):
        """Fills the rectangle, both corners included."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        for x in range(left, right + 1):
            self.put(x, top, colour)
            self.put(x, bottom, colour)
        for y in range(top, bottom + 1):
            self.put(left, y, colour)
            self.put(right, y, colour)

    def polygon(self, points, colour):
        """Fills a polygon by testing each pixel centre (even-odd rule)."""
        for y in range(SIZE):
            for x in range(SIZE):
                if inside(points, x + 0.5, y + 0.5):
                    self.put(x, y, colour)

    def outline(self, points, colour):
        """Paints every pixel of the polygon that touches its outside."""
        filled = {(x, y) for y in range(SIZE) for x in range(SIZE) if inside(points, x + 0.5, y + 0.5)}
        for x, y in filled:
            if any((x + dx, y + dy) not in filled for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                self.put(x, y, colour)


def inside(points, px, py):
    result = False
    for i, (x1, y1) in enumerate(points):
        x2, y2 = points[i - 1]
        if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def draw():
    c = Canvas()
    # The open lid, tilted back behind the chest.
    lid = [(7, 18), (41, 18), (45, 10), (11, 10)]
    c.polygon(lid, DARK_RED)
    c.outline(lid, BLACK)
    c.rect(12, 12, 42, 13, RED)
    # The sheet of data going into the chest, with lines of text.
    c.rect(14, 3, 31, 27, WHITE)
    c.frame(14, 3, 31, 27, BLACK)
    for y in range(7, 26, 3):
        c.rect(17, y, 28 if y % 2 else 25, y, GREY)
    # The chest: an olive body with yellow bands and a lock.
    c.rect(5, 24, 43, 44, OLIVE)
    c.frame(5, 24, 43, 44, BLACK)
    c.rect(6, 25, 42, 26, YELLOW)
    c.rect(6, 34, 42, 35, YELLOW)
    c.rect(21, 31, 27, 39, SILVER)
    c.frame(21, 31, 27, 39, BLACK)
    c.rect(24, 34, 24, 36, BLACK)
    # The arrow: down into the chest, on the right of the sheet.
    arrow = [(34, 2), (42, 2), (42, 17), (46, 17), (38, 27), (30, 17), (34, 17)]
    c.polygon(arrow, BLUE)
    c.outline(arrow, NAVY)
    c.rect(36, 4, 37, 16, CYAN)
    return c.pixels


def ico_bytes(pixels):
    """One 4-bit image with its AND mask, in the ICO container."""
    xor_stride = SIZE // 2                 # 4 bits per pixel, already 4-byte aligned
    and_stride = ((SIZE + 31) // 32) * 4   # 1 bit per pixel, rows padded to 4 bytes
    xor_rows, and_rows = [], []
    for row in reversed(pixels):           # bitmaps are stored bottom-up
        xor = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, colour in enumerate(row):
            index = BLACK if colour is CLEAR else colour
            xor[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if colour is CLEAR:
                mask[x // 8] |= 0x80 >> (x % 8)
        xor_rows.append(bytes(xor))
        and_rows.append(bytes(mask))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image_size = SIZE * xor_stride + SIZE * and_stride
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, image_size, 0, 0, 16, 0)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def ppm_bytes(pixels, scale=8, backdrop=(0xE0, 0xE0, 0xE0)):
    """An enlarged picture of the icon over a light backdrop, for looking at it."""
    out = bytearray(b"P6 %d %d 255\n" % (SIZE * scale, SIZE * scale))
    for row in pixels:
        line = b"".join(bytes(backdrop if c is CLEAR else PALETTE[c]) * scale for c in row)
        out += line * scale
    return bytes(out)


def main(argv):
    output = "tolvashu.ico"
    preview = None
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--preview":
            preview = args.pop(0)
        else:
            output = arg
    pixels = draw()
    with open(output, "wb") as f:
        f.write(ico_bytes(pixels))
    if preview:
        with open(preview, "wb") as f:
            f.write(ppm_bytes(pixels))


if __name__ == "__main__":
    main(sys.argv[1:])
