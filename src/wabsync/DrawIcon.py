#!/usr/bin/env python3
"""Draws TarnWABSync.ico (16 and 32 pixels, 32-bit with alpha): a blue address
book with a green round arrow in front of it, for a book kept in step."""
import math
import struct
import sys


def shade(size):
    ss = 4  # supersampling per axis
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    u = (x + (sx + 0.5) / ss) / size
                    v = (y + (sy + 0.5) / ss) / size
                    c = sample(u, v)
                    if c:
                        a = c[3] / 255.0
                        for i in range(3):
                            acc[i] += c[i] * a
                        acc[3] += a
            n = ss * ss
            if acc[3] > 0:
                px[y][x] = (int(acc[0] / acc[3]), int(acc[1] / acc[3]), int(acc[2] / acc[3]),
                            int(255 * acc[3] / n))
    return px


def sample(u, v):
    """Colour at (u, v) in 0..1, top-left origin; None is transparent."""
    colour = None
    # Book cover with a darker spine.
    if 0.12 <= u <= 0.80 and 0.06 <= v <= 0.90:
        colour = (40, 90, 190, 255)
        if u <= 0.22:
            colour = (25, 60, 140, 255)
    # Pages edge.
    if 0.80 < u <= 0.86 and 0.10 <= v <= 0.86:
        colour = (245, 245, 235, 255)
    # Label on the cover.
    if 0.32 <= u <= 0.70 and 0.18 <= v <= 0.34:
        colour = (250, 250, 250, 255)
    # Round arrow: a ring with a gap and an arrow head, lower right.
    cx, cy, r = 0.66, 0.66, 0.24
    d = math.hypot(u - cx, v - cy)
    ang = math.degrees(math.atan2(v - cy, u - cx)) % 360
    if r - 0.075 <= d <= r + 0.075 and not (300 <= ang <= 360):
        colour = (30, 160, 60, 255) if r - 0.05 <= d <= r + 0.05 else (255, 255, 255, 255)
    # Arrow head at the end of the ring (angle 300 degrees), pointing along it.
    hx, hy = cx + r * math.cos(math.radians(300)), cy + r * math.sin(math.radians(300))
    if inside_triangle(u, v, (hx - 0.13, hy), (hx + 0.13, hy), (hx, hy + 0.14)):
        colour = (30, 160, 60, 255)
    return colour


def inside_triangle(x, y, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((x, y), a, b), side((x, y), b, c), side((x, y), c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def bitmap(size):
    px = shade(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for p in px[y] for c in (p[2], p[1], p[0], p[3])) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + rows + bytes(mask)


def main(path):
    images = [bitmap(s) for s in (16, 32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'TarnWABSync.ico')
