#!/usr/bin/env python3
"""Writes the application icon: a 32x32 and a 16x16 image, 16 colours each.

The picture is a sheet of paper with a folded corner, lines of text and a
red label. Run it again after changing the picture; the .ico is kept in the
repository so that a build needs nothing but the compiler.
"""
import struct
import sys

# The standard 16-colour palette (as BGR0 quads in the file).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, GREY, SILVER, RED, BLUE, WHITE = 0, 1, 8, 7, 9, 12, 15


def picture(size):
    """Rows of palette indices, top row first; None is transparent."""
    s = size / 32.0
    px = [[None] * size for _ in range(size)]

    def inside(x, y, x0, y0, x1, y1):
        return x0 * s <= x < x1 * s and y0 * s <= y < y1 * s

    fold = 8 * s
    for y in range(size):
        for x in range(size):
            # The sheet: x 4..26, y 1..31, top-right corner folded.
            if not inside(x, y, 4, 1, 27, 31):
                continue
            right, top = 27 * s - 1, 1 * s
            if x - (right - fold) > y - top:  # cut-off corner
                continue
            edge = (x < 4 * s + 1 or x >= 27 * s - 1 or y < top + 1 or y >= 31 * s - 1
                    or abs((x - (right - fold)) - (y - top)) < 1)
            px[y][x] = BLACK if edge else WHITE
            # The fold's back.
            if x >= right - fold and y <= top + fold and not edge and x - (right - fold) <= y - top:
                px[y][x] = SILVER
    # Lines of text.
    for row in (7, 10, 13, 16):
        for y in range(size):
            for x in range(size):
                if inside(x, y, 7, row, 19 if row == 7 else 24, row + 1.5):
                    px[y][x] = BLUE if row == 7 else GREY
    # A red label across the lower sheet, with a white line of text.
    for y in range(size):
        for x in range(size):
            if inside(x, y, 10, 20, 31, 29):
                edge = not inside(x, y, 10 + 1 / s, 20 + 1 / s, 31 - 1 / s, 29 - 1 / s)
                px[y][x] = DARK_RED if edge else RED
                if inside(x, y, 13, 23.5, 28, 25.5):
                    px[y][x] = WHITE
    return px


def image(size):
    px = picture(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = b''
    mask = b''
    for row in reversed(px):  # bottom-up
        bits = bytearray(xor_stride)
        for x, c in enumerate(row):
            v = 0 if c is None else c
            bits[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += bytes(bits)
        m = bytearray(and_stride)
        for x, c in enumerate(row):
            if c is None:
                m[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(m)
    return header + palette + xor + mask


def main(path):
    sizes = [32, 16]
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'app.ico')
