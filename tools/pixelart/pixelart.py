#!/usr/bin/env python3
"""Turns pixel-art text files into Windows bitmaps (.bmp) and icons (.ico).

An art file holds a palette and one or more images of equal size:

    palette
    . ff00ff        # one character, then the colour as rrggbb
    k 000000
    image
    ....kk....
    ...

Several images become one horizontal strip (an image list). For an icon, the palette
character '.' is transparent and the image is stored at its own size and halved.
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


def bmp_rows(pixels):
    """Bottom-up 24-bit rows padded to 4 bytes."""
    out = bytearray()
    for row in reversed(pixels):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        out += line + b"\0" * (-len(line) % 4)
    return bytes(out)


def write_bmp(pixels, path):
    width, height = len(pixels[0]), len(pixels)
    data = bmp_rows(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 54))
        out.write(header + data)


def icon_image(pixels, transparent):
    width, height = len(pixels[0]), len(pixels)
    colour = bytearray()
    for row in reversed(pixels):
        for pixel in row:
            r, g, b = pixel
            colour += bytes((b, g, r, 0 if pixel == transparent else 255))
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        line = bytearray()
        for x, pixel in enumerate(row):
            bits = bits << 1 | (pixel == transparent)
            if x % 8 == 7:
                line.append(bits)
                bits = 0
        mask += line + b"\0" * (-len(line) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def write_ico(pixels, palette, path):
    transparent = palette.get(".")
    half = [row[::2] for row in pixels[::2]]
    images = [pixels, half]
    entries, blobs, offset = b"", b"", 6 + 16 * len(images)
    for image in images:
        blob = icon_image(image, transparent)
        width, height = len(image[0]), len(image)
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(images)) + entries + blobs)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: pixelart.py ART OUTPUT.bmp|OUTPUT.ico")
    pixels, palette = read_art(sys.argv[1])
    if sys.argv[2].lower().endswith(".ico"):
        write_ico(pixels, palette, sys.argv[2])
    else:
        write_bmp(pixels, sys.argv[2])


if __name__ == "__main__":
    main()
