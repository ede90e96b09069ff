#!/usr/bin/env python3
"""Draws the key icon of the start password prompt and writes key-16.png and key-32.png beside
itself. Standard library only: the key is a union of simple shapes given by signed distances, each
pixel sampled 5 x 5 times for smooth edges."""
import math
import pathlib
import struct
import zlib

FILL = (232, 178, 48)
EDGE = (122, 82, 12)


def segment(px, py, ax, ay, bx, by):
    """Distance from the point to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def box(u, v, u0, u1, v0, v1):
    """Signed distance to an axis-parallel box in the shaft's frame."""
    du = max(u0 - u, 0.0, u - u1)
    dv = max(v0 - v, 0.0, v - v1)
    outside = math.hypot(du, dv)
    inside = min(u - u0, u1 - u, v - v0, v1 - v)
    return outside if outside > 0 else -inside


def key(x, y):
    """Signed distance of the key at (x, y) in a unit square: negative inside."""
    # The bow: a ring at the upper left.
    cx, cy, radius, hole = 0.31, 0.31, 0.235, 0.095
    bow = max(math.hypot(x - cx, y - cy) - radius, hole - math.hypot(x - cx, y - cy))
    # The shaft runs to the lower right; the bit hangs off it near the tip.
    ax, ay, bx, by = 0.42, 0.42, 0.88, 0.88
    shaft = segment(x, y, ax, ay, bx, by) - 0.075
    s = 1 / math.sqrt(2)
    u = ((x - ax) + (y - ay)) * s
    v = ((x - ax) - (y - ay)) * s
    length = math.hypot(bx - ax, by - ay)
    bit = min(box(u, v, length - 0.20, length - 0.11, -0.28, 0.0),
              box(u, v, length - 0.36, length - 0.27, -0.22, 0.0))
    return min(bow, shaft, bit)


def render(size):
    # About one pixel of outline; less at the small size, where a full pixel leaves no fill.
    edge_width = (0.65 if size < 24 else 1.15) / size
    samples = 5
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter type: none
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    d = key(x, y)
                    if d > 0:
                        continue
                    colour = EDGE if d > -edge_width else FILL
                    r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            n = samples * samples
            if a:
                row += bytes([round(r / a), round(g / a), round(b / a), round(255 * a / n)])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return png(size, size, b"".join(rows))


def png(width, height, raw):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


if __name__ == "__main__":
    here = pathlib.Path(__file__).resolve().parent
    for size in (16, 32):
        (here / f"key-{size}.png").write_bytes(render(size))
