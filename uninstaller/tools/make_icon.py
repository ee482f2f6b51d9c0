#!/usr/bin/env python3
"""Draws the uninstaller's application icon (a waste bin on a rounded tile) and writes it as a Windows .ico.

The picture is described by shapes in unit coordinates and rendered with 4 x 4 supersampling for every size,
so the icon is generated entirely from this file; no picture is stored in the repository.
"""

import argparse
import struct
import sys

SUPERSAMPLING = 4
DEFAULT_SIZES = (16, 32, 48)

# Colours as (red, green, blue).
TILE_TOP = (40, 70, 130)
TILE_BOTTOM = (16, 28, 60)
BIN = (236, 240, 246)
BIN_SHADE = (180, 190, 206)
SLOT = (60, 84, 132)


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_bin_body(x, y):
    # A trapezoid narrowing towards the bottom.
    if not (0.34 <= y < 0.84):
        return False
    inset = 0.05 * (y - 0.34) / 0.50
    return 0.27 + inset <= x < 0.73 - inset


def in_slot(x, y):
    return 0.42 <= y < 0.76 and any(abs(x - centre) < 0.025 for centre in (0.39, 0.50, 0.61))


def shade_at(x, y):
    """Colour and coverage (0 or 1) of one sample point; later shapes cover earlier ones."""
    if not in_rounded_rect(x, y, 0.02, 0.02, 0.98, 0.98, 0.18):
        return (0, 0, 0), 0
    t = y
    colour = tuple(round(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM))
    if in_rounded_rect(x, y, 0.42, 0.16, 0.58, 0.26, 0.03):
        colour = BIN  # handle
    if in_rounded_rect(x, y, 0.22, 0.23, 0.78, 0.31, 0.02):
        colour = BIN  # lid
    if in_bin_body(x, y):
        colour = BIN_SHADE if x > 0.60 else BIN
        if in_slot(x, y):
            colour = SLOT
    return colour, 1


def render(size):
    """Rows of (r, g, b, a) pixels, top row first."""
    rows = []
    step = 1.0 / (size * SUPERSAMPLING)
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SUPERSAMPLING):
                for sx in range(SUPERSAMPLING):
                    x = (px * SUPERSAMPLING + sx + 0.5) * step
                    y = (py * SUPERSAMPLING + sy + 0.5) * step
                    colour, coverage = shade_at(x, y)
                    if coverage:
                        covered += 1
                        total = [t + c for t, c in zip(total, colour)]
            if covered:
                r, g, b = (round(t / covered) for t in total)
                alpha = round(255 * covered / SUPERSAMPLING ** 2)
            else:
                r = g = b = alpha = 0
            row.append((r, g, b, alpha))
        rows.append(row)
    return rows


def icon_image(size):
    """One icon image: a 32-bit bottom-up DIB of double height followed by its 1-bit transparency mask."""
    rows = render(size)
    mask_stride = ((size + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        pixels += b"".join(struct.pack("<4B", b, g, r, a) for r, g, b, a in row)
        bits = bytearray(mask_stride)
        for x, (_, _, _, alpha) in enumerate(row):
            if alpha == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def parse_sizes(text):
    try:
        sizes = tuple(int(part) for part in text.split(","))
    except ValueError:
        raise argparse.ArgumentTypeError(f"sizes must be numbers separated by commas, not '{text}'")
    if not sizes or any(not 1 <= size <= 256 for size in sizes):
        raise argparse.ArgumentTypeError("each size must be between 1 and 256 pixels")
    return sizes


def main(argv):
    parser = argparse.ArgumentParser(description="Write the uninstaller's application icon (.ico).")
    parser.add_argument("--output", "-o", required=True, help="path of the .ico file to write")
    parser.add_argument("--sizes", type=parse_sizes, default=DEFAULT_SIZES,
                        help="comma-separated square sizes in pixels (default: 16,32,48)")
    args = parser.parse_args(argv)
    try:
        with open(args.output, "wb") as out:
            out.write(icon_file(args.sizes))
    except OSError as error:
        print(f"make_icon: cannot write {args.output}: {error.strerror}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
