#!/usr/bin/env python3
"""Draws the Quirn program icon and writes it as a Windows .ico file.

The picture: a blue rounded tile with a white magnifier ring whose handle
points down-right, over a row of three small "byte" bars. Thirteen images:
48, 32, 24 and 16 pixels in 16 colours, 256 colours and 32-bit colour, and
128 pixels in 32-bit colour. Everything is computed here (no image library),
so the file is the same on every run.

usage: quirnicon.py OUTPUT.ico
"""
import struct
import sys

SAMPLES = 4  # supersampling per axis

TILE = (0x1F, 0x5F, 0xB4)
TILE_EDGE = (0x12, 0x3C, 0x78)
RING = (0xFF, 0xFF, 0xFF)
BARS = (0xFF, 0xC8, 0x3C)


def shade(u, v):
    """Colour (r, g, b, a) of the unit-square point (u, v), a in 0..1."""
    margin, radius = 0.04, 0.18
    x = min(max(u, margin + radius), 1 - margin - radius)
    y = min(max(v, margin + radius), 1 - margin - radius)
    inside_tile = (u - x) ** 2 + (v - y) ** 2 <= radius ** 2 and margin <= u <= 1 - margin and margin <= v <= 1 - margin
    if not inside_tile:
        return (0, 0, 0, 0.0)
    cx, cy, r = 0.44, 0.40, 0.22
    d = ((u - cx) ** 2 + (v - cy) ** 2) ** 0.5
    if abs(d - r) <= 0.065:
        return RING + (1.0,)
    # handle: a thick segment from the ring towards the lower right
    hx0, hy0, hx1, hy1 = cx + r * 0.7, cy + r * 0.7, 0.80, 0.76
    dx, dy = hx1 - hx0, hy1 - hy0
    t = max(0.0, min(1.0, ((u - hx0) * dx + (v - hy0) * dy) / (dx * dx + dy * dy)))
    if ((u - hx0 - t * dx) ** 2 + (v - hy0 - t * dy) ** 2) ** 0.5 <= 0.06:
        return RING + (1.0,)
    for i in range(3):
        left = 0.22 + i * 0.20
        if left <= u <= left + 0.13 and 0.78 <= v <= 0.88:
            return BARS + (1.0,)
    edge = min(u - margin, v - margin, 1 - margin - u, 1 - margin - v)
    return (TILE_EDGE if edge < 0.05 else TILE) + (1.0,)


def render(size):
    """Rows (top first) of (r, g, b, a) with a in 0..255."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = shade((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha > 0:
                color = tuple(int(round(c / acc[3])) for c in acc[:3])
            else:
                color = (0, 0, 0)
            row.append(color + (int(round(alpha * 255)),))
        rows.append(row)
    return rows


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette256():
    levels = [0, 51, 102, 153, 204, 255]
    colors = [(r, g, b) for r in levels for g in levels for b in levels]
    colors += [(i * 255 // 39, i * 255 // 39, i * 255 // 39) for i in range(40)]
    return colors[:256]


def nearest(palette, color):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - color[k]) ** 2 for k in range(3)))


def and_mask(rows):
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    data = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bytes(bits)
    return data


def dib(rows, bits):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                         (1 << bits) if bits <= 8 else 0, 0)
    body = b""
    if bits == 32:
        for row in reversed(rows):
            body += b"".join(struct.pack("BBBB", p[2], p[1], p[0], p[3]) for p in row)
        return header + body + and_mask(rows)
    palette = VGA16 if bits == 4 else palette256()
    table = b"".join(struct.pack("BBBB", c[2], c[1], c[0], 0) for c in palette)
    cache = {}
    stride = ((size * bits + 31) // 32) * 4
    for row in reversed(rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            key = p[:3]
            if key not in cache:
                cache[key] = nearest(palette, key)
            index = cache[key] if p[3] >= 128 else 0
            if bits == 8:
                line[x] = index
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        body += bytes(line)
    return header + table + body + and_mask(rows)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = []
    for size in (48, 32, 24, 16):
        rows = render(size)
        for bits in (4, 8, 32):
            images.append((size, bits, dib(rows, bits)))
    images.append((128, 32, dib(render(128), 32)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    data = b""
    for size, bits, image in images:
        colors = 16 if bits == 4 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colors, 0, 1, bits, len(image), offset + len(data))
        data += image
    with open(sys.argv[1], "wb") as out:
        out.write(directory + entries + data)


if __name__ == "__main__":
    main()
