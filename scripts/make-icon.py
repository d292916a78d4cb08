#!/usr/bin/env python3
"""Writes the program's icon (src/ui/win32/Lindqua.ico): a blue rounded
square with a white check mark, at 16, 32 and 48 pixels, 32-bit BGRA."""
import struct
import sys


def pixel(x, y, size):
    s = size - 1
    u, v = x / s, y / s
    # Rounded square: outside the corner circles stays transparent.
    r = 0.18
    cx = min(max(u, r), 1 - r)
    cy = min(max(v, r), 1 - r)
    if (u - cx) ** 2 + (v - cy) ** 2 > r * r:
        return (0, 0, 0, 0)
    # Check mark: two thick strokes.
    def near(ax, ay, bx, by, w):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx - u, ay + t * dy - v
        return px * px + py * py < w * w
    if near(0.22, 0.52, 0.42, 0.74, 0.08) or near(0.42, 0.74, 0.80, 0.28, 0.08):
        return (255, 255, 255, 255)
    shade = int(150 + 80 * (1 - v))
    return (shade, 90, 30, 255)  # BGRA: a blue that lightens towards the top


def image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        rows.append(b"".join(struct.pack("<BBBB", *pixel(x, y, size)) for x in range(size)))
    mask_row = b"\0" * (((size + 31) // 32) * 4)
    return header + b"".join(rows) + mask_row * size


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/ui/win32/Lindqua.ico")
