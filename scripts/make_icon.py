#!/usr/bin/env python3
"""Draws Tidewell's application icon and writes it as a Windows .ico file.

The picture is a projector screen hanging from its roller, with a sun and two
waves (the "tide") on it, standing on a tripod. It is described once in a
16-unit design space and rendered at 16, 32 and 48 pixels, so every size shows
the same design; 32 and 48 are whole multiples of 16, so the straight edges
that sit on whole units stay sharp at every size.

Only Python's standard library is used. Each pixel is supersampled (8 x 8) and
stored as 32-bit BGRA with straight (non-premultiplied) alpha, plus the 1-bit
AND mask that older consumers of icons still read.

Usage: make_icon.py [OUTPUT.ico] [--preview PREVIEW.png]
Without arguments it rewrites src/app/icons/tidewell.ico beside this script.
"""

import math
import os
import struct
import sys
import zlib

SIZES = (16, 32, 48)
SUBSAMPLES = 8


def hex_colour(text):
    return tuple(int(text[i : i + 2], 16) for i in (1, 3, 5))


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


ROLLER_TOP = hex_colour("#6B7F8C")
ROLLER_BOTTOM = hex_colour("#37474F")
FRAME = hex_colour("#3C5A78")
SKY_TOP = hex_colour("#FFFFFF")
SKY_BOTTOM = hex_colour("#D6ECFB")
SUN = hex_colour("#FFB300")
BACK_WAVE = hex_colour("#64B5F6")
FRONT_WAVE_TOP = hex_colour("#1E88E5")
FRONT_WAVE_BOTTOM = hex_colour("#0D47A1")
FOAM = hex_colour("#E3F2FD")
STAND = hex_colour("#37474F")


def in_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not in_rect(x, y, left, top, right, bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def near_segment(x, y, a, b, half_width):
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = ((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return (x - a[0] - t * dx) ** 2 + (y - a[1] - t * dy) ** 2 <= half_width * half_width


def wave_top(x, base, amplitude, phase):
    return base + amplitude * math.sin((x - 3.0) * 2.0 * math.pi / 5.0 + phase)


# The screen's picture area, inside its frame.
AREA = (3.0, 3.0, 13.0, 11.0)


def shade(x, y):
    """Colour of the design at (x, y) in 16-unit space, or None where it is clear.

    Later shapes lie on top of earlier ones, so the checks run top-most first.
    """
    if in_rounded_rect(x, y, 0.5, 1.0, 15.5, 3.0, 0.9):
        if x < 1.5 or x >= 14.5:
            return ROLLER_BOTTOM
        return mix(ROLLER_TOP, ROLLER_BOTTOM, (y - 1.0) / 2.0)
    if in_rect(x, y, *AREA):
        front = wave_top(x, 9.0, 0.9, 3.0)
        if y >= front + 0.7:
            return mix(FRONT_WAVE_TOP, FRONT_WAVE_BOTTOM, (y - 8.5) / 2.5)
        if y >= front:
            return FOAM
        if y >= wave_top(x, 7.6, 0.9, 1.4):
            return BACK_WAVE
        if (x - 10.5) ** 2 + (y - 5.3) ** 2 <= 1.6**2:
            return SUN
        return mix(SKY_TOP, SKY_BOTTOM, (y - 3.0) / 8.0)
    if in_rect(x, y, 2.0, 3.0, 14.0, 12.0):
        return FRAME
    if in_rect(x, y, 7.0, 12.0, 9.0, 15.5):
        return STAND
    if near_segment(x, y, (7.5, 12.0), (3.6, 15.4), 0.75) or near_segment(
        x, y, (8.5, 12.0), (12.4, 15.4), 0.75
    ):
        return STAND
    return None


def render(size):
    """Returns rows (top first) of (r, g, b, a) tuples for one icon size."""
    unit = 16.0 / size
    step = unit / SUBSAMPLES
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = 0
            total = [0, 0, 0]
            for sy in range(SUBSAMPLES):
                y = py * unit + (sy + 0.5) * step
                for sx in range(SUBSAMPLES):
                    colour = shade(px * unit + (sx + 0.5) * step, y)
                    if colour is not None:
                        hits += 1
                        for i in range(3):
                            total[i] += colour[i]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * hits / (SUBSAMPLES * SUBSAMPLES))
                row.append(tuple(round(c / hits) for c in total) + (alpha,))
        rows.append(row)
    return rows


def dib_entry(rows):
    """BITMAPINFOHEADER, BGRA pixels bottom-up, then the AND mask bottom-up."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(images):
    """ICONDIR, one ICONDIRENTRY per image, then the images in the same order."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, rows in images:
        blob = dib_entry(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def png_bytes(images, scale):
    """A side-by-side preview of every size on a grey checker, enlarged by `scale`."""
    width = sum(size for size, _ in images) * scale + 8 * (len(images) + 1)
    height = max(size for size, _ in images) * scale + 16
    canvas = [
        [(200, 200, 200) if ((x // 8 + y // 8) % 2) else (235, 235, 235) for x in range(width)]
        for y in range(height)
    ]
    left = 8
    for size, rows in images:
        for y in range(size * scale):
            for x in range(size * scale):
                r, g, b, a = rows[y // scale][x // scale]
                back = canvas[8 + y][left + x]
                t = a / 255.0
                canvas[8 + y][left + x] = tuple(round(back[i] * (1 - t) + (r, g, b)[i] * t) for i in range(3))
        left += size * scale + 8
    raw = bytearray()
    for row in canvas:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        + chunk(b"IEND", b"")
    )


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    output = os.path.join(here, "..", "src", "app", "icons", "tidewell.ico")
    preview = None
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--preview" and args:
            preview = args.pop(0)
        else:
            output = arg
    images = [(size, render(size)) for size in SIZES]
    with open(output, "wb") as f:
        f.write(ico_bytes(images))
    if preview:
        with open(preview, "wb") as f:
            f.write(png_bytes(images, 6))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
