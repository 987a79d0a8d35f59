#!/usr/bin/env python3
"""Draws the plug-in's icon (a letter with a red prohibition sign) as a 16-colour .ico holding
a 32 x 32 and a 16 x 16 image. Usage: make_icon.py OUT.ico"""
import struct
import sys

# The standard 16-colour palette, as (r, g, b).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, GRAY, SILVER, RED, YELLOW, WHITE = 0, 8, 7, 9, 11, 15


def draw(size):
    """Pixels as palette indices, None for transparent; row 0 is the top."""
    s = size / 32.0
    px = [[None] * size for _ in range(size)]
    # The letter: a white envelope with a grey outline and flap.
    l, t, r, b = round(1 * s), round(6 * s), round(26 * s), round(23 * s)
    for y in range(t, b + 1):
        for x in range(l, r + 1):
            edge = x in (l, r) or y in (t, b)
            px[y][x] = GRAY if edge else WHITE
    mid = (l + r) / 2.0
    depth = (b - t) * 0.55
    for x in range(l, r + 1):
        y = t + round(depth * (1 - abs(x - mid) / (mid - l)))
        if t <= y <= b:
            px[y][x] = GRAY
    # The sign: a red ring with a slash over a white disc, at the bottom right.
    cx, cy = 22.5 * s - 0.5, 22.5 * s - 0.5
    outer, inner = 9.2 * s, 6.4 * s
    for y in range(size):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= outer:
                px[y][x] = RED if d >= inner or abs((x - cx) - (y - cy)) <= 1.6 * s else WHITE
    return px


def image(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor = b''
    mask = b''
    for y in reversed(range(size)):  # bottom-up
        row = bytearray(xor_row)
        bits = bytearray(and_row)
        for x in range(size):
            v = px[y][x]
            if v is None:
                v = 0
                bits[x // 8] |= 0x80 >> (x % 8)
            row[x // 2] |= v << 4 if x % 2 == 0 else v
        xor += bytes(row)
        mask += bytes(bits)
    return header + palette + xor + mask


def main():
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
