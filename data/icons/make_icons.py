#!/usr/bin/env python3
"""Draws the program icon (a blue shield with a white magnifying glass) and writes grimsweep.ico with
every size Windows asks for. Shapes are described in unit coordinates and sampled 4 x 4 per pixel, so
each size is drawn afresh rather than scaled from another."""
import math
import struct
import sys
from pathlib import Path

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
SAMPLES = 4


def shield_half_width(y):
    if y < 0.08 or y > 0.94:
        return -1.0
    if y < 0.56:
        return 0.37
    t = (y - 0.56) / (0.94 - 0.56)
    return 0.37 * math.sqrt(max(0.0, 1.0 - t * t))


def in_shield(x, y, inset=0.0):
    return abs(x - 0.5) <= shield_half_width(y) - inset and y >= 0.08 + inset


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def colour_at(x, y):
    """The colour (r, g, b, a) of a point of the icon, or None outside it."""
    if not in_shield(x, y):
        return None
    if not in_shield(x, y, 0.045):
        return (22, 58, 128, 255)  # rim
    ring = math.hypot(x - 0.46, y - 0.43)
    if 0.14 <= ring <= 0.21 or distance_to_segment(x, y, 0.60, 0.58, 0.72, 0.72) <= 0.055:
        return (255, 255, 255, 255)
    if ring < 0.14:
        return (170, 214, 250, 255)  # the lens
    shade = y  # lighter at the top
    return (int(40 + 40 * (1 - shade)), int(110 + 60 * (1 - shade)), int(200 + 40 * (1 - shade)), 255)


def render(size):
    pixels = []
    for row in range(size):
        line = []
        for column in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((column + (sx + 0.5) / SAMPLES) / size, (row + (sy + 0.5) / SAMPLES) / size)
                    if c:
                        for i in range(3):
                            total[i] += c[i] * c[3]
                        total[3] += c[3]
            n = SAMPLES * SAMPLES
            alpha = total[3] // n
            rgb = [total[i] // total[3] if total[3] else 0 for i in range(3)]
            line.append((rgb[0], rgb[1], rgb[2], alpha))
        pixels.append(line)
    return pixels


def bitmap_entry(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # alpha does the masking
    return header + bytes(colour) + mask


def write_ico(path):
    images = [(size, bitmap_entry(size, render(size))) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dimension = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    Path(path).write_bytes(bytes(out))


if __name__ == "__main__":
    write_ico(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).with_name("grimsweep.ico"))
