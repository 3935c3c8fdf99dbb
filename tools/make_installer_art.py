#!/usr/bin/env python3
"""Draws the installer's artwork: the logo bitmap (370 x 132, 8 bits per
pixel, 256-colour palette, bottom-up) and the program icon (32 x 32).

The picture is a temperature-entropy chart of water: the saturation dome
with a few isobars, in blues on a warm background.

    tools/make_installer_art.py installer/resources
"""
import math
import struct
import sys

WIDTH, HEIGHT = 370, 132


def palette():
    """256 entries: 0..127 a ramp from the background to white, 128..255 a
    ramp from the background to deep blue."""
    bg = (38, 164, 231)  # BGR of RGB(231, 164, 38)
    entries = []
    for i in range(128):
        t = i / 127.0
        entries.append(tuple(int(round(bg[k] + (255 - bg[k]) * t)) for k in range(3)))
    blue = (120, 40, 10)  # BGR: dark blue
    for i in range(128):
        t = i / 127.0
        entries.append(tuple(int(round(bg[k] + (blue[k] - bg[k]) * t)) for k in range(3)))
    return entries


def dome(x):
    """Reduced saturation curve: temperature (0..1) over entropy (0..1)."""
    return max(0.0, 1.0 - ((x - 0.5) / 0.5) ** 2) ** 0.35


def draw():
    pixels = [[0] * WIDTH for _ in range(HEIGHT)]
    # A soft vertical gradient towards white at the top.
    for y in range(HEIGHT):
        shade = int(40 * (1 - y / HEIGHT))
        for x in range(WIDTH):
            pixels[y][x] = shade

    def plot(x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            pixels[y][x] = max(pixels[y][x], colour) if colour >= 128 else colour

    left, right, top, bottom = 30, 340, 12, 122
    # Axes.
    for x in range(left, right + 1):
        plot(x, bottom, 230)
    for y in range(top, bottom + 1):
        plot(left, y, 230)
    # Saturation dome.
    steps = 2000
    for k in range(steps + 1):
        s = k / steps
        t = dome(s)
        x = int(round(left + 20 + s * (right - left - 60)))
        y = int(round(bottom - 8 - t * (bottom - top - 20)))
        for dy in (0, 1):
            plot(x, y + dy, 255)
    # Isobars: rising curves crossing the dome horizontally inside it.
    for level in (0.25, 0.45, 0.65, 0.85):
        for k in range(steps + 1):
            s = k / steps
            inside = dome(s) >= level
            if inside:
                t = level
            else:
                t = level + 0.9 * (s - 0.5) ** 3 if s > 0.5 else level - 0.6 * (0.5 - s) ** 2
            x = int(round(left + 20 + s * (right - left - 60)))
            y = int(round(bottom - 8 - t * (bottom - top - 20)))
            plot(x, y, 190)
    return pixels


def write_bmp(path, pixels):
    row = (WIDTH + 3) // 4 * 4
    image = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up
        line = bytes(pixels[y]) + bytes(row - WIDTH)
        image += line
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (b, g, r) in palette())
    header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(image), 2835, 2835, 256, 0)
    offset = 14 + len(header) + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + header + colours + image)


def write_ico(path):
    size = 32
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            s = x / (size - 1)
            t = dome(s)
            yy = 1 - y / (size - 1)
            on_dome = abs(yy - (0.1 + 0.8 * t)) < 0.06
            if on_dome:
                row += bytes((120, 40, 10, 255))
            else:
                row += bytes((38, 164, 231, 255))
        rows.append(row)
    xor = b"".join(reversed(rows))  # bottom-up
    and_mask = bytes(size * 4)  # 32 rows of 32 bits, all opaque
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "installer/resources"
    write_bmp(folder + "/logo.bmp", draw())
    write_ico(folder + "/vapordex.ico")


if __name__ == "__main__":
    main()
