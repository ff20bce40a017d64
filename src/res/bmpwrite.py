"""Writes a 24-bit bottom-up BMP from rows of (r, g, b) pixels; shared by the
bitmap generators of this folder."""
import struct


def write_bmp(path, px):
    height, width = len(px), len(px[0])
    pad = (4 - width * 3 % 4) % 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        for (r, g, b) in px[y]:
            data += bytes((b, g, r))
        data += b"\0" * pad
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)
