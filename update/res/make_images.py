#!/usr/bin/env python3
"""Draws the updater's pictures: the side banner, the row image strip and the icon."""

import math
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "pixelart"))
from pixelart import SCALED_ICON_SIZES, bitmap_file, icon_file  # noqa: E402

MAGENTA = (255, 0, 255)


def canvas(width, height, colour):
    return [[colour for _ in range(width)] for _ in range(height)]


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def fill_polygon(pixels, points, colour, ox=0, oy=0):
    """Even-odd scanline fill sampled at pixel centres."""
    height = len(pixels)
    width = len(pixels[0])
    for y in range(height):
        cy = y + 0.5 - oy
        crossings = []
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            if (y1 <= cy < y2) or (y2 <= cy < y1):
                crossings.append(x1 + (cy - y1) * (x2 - x1) / (y2 - y1))
        crossings.sort()
        for left, right in zip(crossings[::2], crossings[1::2]):
            for x in range(width):
                if left <= x + 0.5 - ox < right:
                    pixels[y][x] = colour


def thick_line(pixels, x1, y1, x2, y2, half_width, colour, ox=0, oy=0):
    dx, dy = x2 - x1, y2 - y1
    length = math.hypot(dx, dy)
    nx, ny = -dy / length * half_width, dx / length * half_width
    fill_polygon(pixels, [(x1 + nx, y1 + ny), (x2 + nx, y2 + ny), (x2 - nx, y2 - ny), (x1 - nx, y1 - ny)],
                 colour, ox, oy)


def banner():
    width, height = 140, 304
    top, bottom = (28, 76, 150), (132, 182, 236)
    pixels = [[mix(top, bottom, y / (height - 1)) for _ in range(width)] for y in range(height)]
    # Soft diagonal bands for depth.
    for y in range(height):
        for x in range(width):
            if (x + y) % 48 < 6:
                pixels[y][x] = mix(pixels[y][x], (255, 255, 255), 0.12)
    # A disc with a downward arrow: the picture of an update arriving.
    cx, cy, radius = 70, 112, 44
    for y in range(height):
        for x in range(width):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= radius:
                pixels[y][x] = mix((250, 250, 255), (210, 228, 250), d / radius)
            elif d <= radius + 3:
                pixels[y][x] = (20, 60, 120)
    arrow = [(58, 76), (82, 76), (82, 112), (98, 112), (70, 146), (42, 112), (58, 112)]
    fill_polygon(pixels, arrow, (46, 160, 67))
    # A tray under the arrow.
    for y in range(150, 156):
        for x in range(44, 97):
            pixels[y][x] = (20, 60, 120)
    # Three progress bars near the bottom.
    for i, fraction in enumerate((1.0, 0.7, 0.35)):
        y0 = 210 + i * 22
        for y in range(y0, y0 + 10):
            for x in range(20, 120):
                inside = x < 20 + round(100 * fraction)
                border = y in (y0, y0 + 9) or x in (20, 119)
                pixels[y][x] = (20, 60, 120) if border else ((46, 160, 67) if inside else (235, 240, 248))
    return pixels


def row_strip():
    pixels = canvas(64, 16, MAGENTA)
    # 0: a small window, waiting its turn.
    for y in range(2, 14):
        for x in range(1, 15):
            border = y in (2, 13) or x in (1, 14)
            title = 3 <= y <= 5
            pixels[y][x] = (64, 64, 64) if border else ((40, 90, 190) if title else (255, 255, 255))
    # 1: a green arrow pointing down.
    fill_polygon(pixels, [(6, 1), (10, 1), (10, 8), (14, 8), (8, 15), (2, 8), (6, 8)], (30, 150, 50), ox=16)
    # 2: a green tick.
    thick_line(pixels, 2.5, 8.5, 6.5, 12.5, 1.6, (30, 150, 50), ox=32)
    thick_line(pixels, 6.5, 12.5, 13.5, 3.5, 1.6, (30, 150, 50), ox=32)
    # 3: a red cross.
    thick_line(pixels, 3, 3, 13, 13, 1.5, (210, 30, 30), ox=48)
    thick_line(pixels, 13, 3, 3, 13, 1.5, (210, 30, 30), ox=48)
    return pixels


def icon_pixels(size):
    pixels = [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]
    c = size / 2
    radius = size / 2 - 0.5
    for y in range(size):
        for x in range(size):
            d = math.hypot(x + 0.5 - c, y + 0.5 - c)
            if d <= radius:
                r, g, b = mix((70, 140, 230), (20, 60, 150), (y + 0.5) / size)
                pixels[y][x] = (r, g, b, 255)
    s = size / 32
    arrow = [(13 * s, 6 * s), (19 * s, 6 * s), (19 * s, 15 * s), (25 * s, 15 * s), (16 * s, 26 * s),
             (7 * s, 15 * s), (13 * s, 15 * s)]
    white = canvas(size, size, None)
    fill_polygon(white, arrow, (255, 255, 255))
    for y in range(size):
        for x in range(size):
            if white[y][x]:
                pixels[y][x] = (255, 255, 255, 255)
    return pixels


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "banner.bmp").write_bytes(bitmap_file(banner()))
    (out / "rows.bmp").write_bytes(bitmap_file(row_strip()))
    sizes = (32, 16) + SCALED_ICON_SIZES
    (out / "update.ico").write_bytes(icon_file([icon_pixels(size) for size in sizes]))


if __name__ == "__main__":
    main()
