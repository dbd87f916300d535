#!/usr/bin/env python3
"""Windows bitmaps (.bmp) and icons (.ico) from pixels, and from pixel-art text files.

An art file holds a palette and one or more images of equal size:

    palette
    . ff00ff        # one character, then the colour as rrggbb
    k 000000
    image
    ....kk....
    ...

Several images become one horizontal strip (an image list). For an icon, the palette
character '.' is transparent and the image is stored at its own size, halved, and at the
sizes Windows asks for on displays of 120, 144 and 192 DPI (area-averaged: the double size
repeats each pixel, the others blend only where pixels meet).

Programs that draw their pictures in code import bitmap_file and icon_file.
"""
import struct
import sys


def read_art(path):
    palette, images, section = {}, [], None
    with open(path, encoding="utf-8") as art:
        for number, raw in enumerate(art, 1):
            line = raw.split("#", 1)[0].rstrip() if not raw.startswith("#") else ""
            if not line.strip():
                continue
            if line.strip() in ("palette", "image"):
                section = line.strip()
                if section == "image":
                    images.append([])
                continue
            if section == "palette":
                char, colour = line.split()
                palette[char] = tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))
            elif section == "image":
                row = [palette[c] if c in palette else fail(path, number, c) for c in line]
                images[-1].append(row)
            else:
                fail(path, number, line)
    width, height = len(images[0][0]), len(images[0])
    for image in images:
        if len(image) != height or any(len(row) != width for row in image):
            sys.exit(f"{path}: images must all be {width} x {height}")
    strip = [sum((image[y] for image in images), []) for y in range(height)]
    return strip, palette


def fail(path, number, text):
    sys.exit(f"{path}:{number}: unknown pixel or line {text!r}")


def bitmap_file(pixels):
    """A 24-bit .bmp from rows of (r, g, b)."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for row in reversed(pixels):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        rows += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + bytes(rows)


def icon_image(pixels):
    """One icon entry from rows of (r, g, b, a): a 32-bit DIB of double height and an AND mask."""
    height, width = len(pixels), len(pixels[0])
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def icon_file(images):
    """An .ico holding several images, each given as rows of (r, g, b, a)."""
    entries, data = bytearray(), bytearray()
    offset = 6 + 16 * len(images)
    for pixels in images:
        blob = icon_image(pixels)
        width, height = len(pixels[0]), len(pixels)
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return struct.pack("<HHH", 0, 1, len(images)) + bytes(entries) + bytes(data)


def resample(rgba, size):
    """rows of (r, g, b, a) scaled to size x size, each pixel the area-weighted mean of those it
    covers, colours weighted by their opacity."""
    height, width = len(rgba), len(rgba[0])

    def spans(target, count):
        begin, end = target * count / size, (target + 1) * count / size
        return [(i, min(end, i + 1) - max(begin, i)) for i in range(int(begin), count) if i < end]

    out = []
    for y in range(size):
        row = []
        for x in range(size):
            total = red = green = blue = alpha = 0.0
            for j, wy in spans(y, height):
                for i, wx in spans(x, width):
                    r, g, b, a = rgba[j][i]
                    w = wy * wx
                    total += w
                    alpha += w * a
                    red, green, blue = red + w * a * r, green + w * a * g, blue + w * a * b
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(red / alpha), round(green / alpha), round(blue / alpha),
                            round(alpha / total)))
        out.append(row)
    return out


# Icon sizes besides the drawn one and its half: small and large icons at 120, 144 and 192 DPI.
SCALED_ICON_SIZES = (20, 24, 40, 48, 64)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: pixelart.py ART OUTPUT.bmp|OUTPUT.ico")
    pixels, palette = read_art(sys.argv[1])
    if sys.argv[2].lower().endswith(".ico"):
        transparent = palette.get(".")
        rgba = [[(*p, 0 if p == transparent else 255) for p in row] for row in pixels]
        scaled = [resample(rgba, size) for size in SCALED_ICON_SIZES]
        content = icon_file([rgba, [row[::2] for row in rgba[::2]]] + scaled)
    else:
        content = bitmap_file(pixels)
    with open(sys.argv[2], "wb") as out:
        out.write(content)


if __name__ == "__main__":
    main()
