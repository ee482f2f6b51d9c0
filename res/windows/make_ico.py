#!/usr/bin/env python3
"""Packs square PNG pictures into one Windows icon file (.ico), each picture stored as PNG, largest last.

Usage: make_ico.py --output korvex.ico 16.png 32.png ... 256.png
"""
import argparse
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_size(data, name):
    """Width and height from the PNG's header chunk; refuses anything that is not a square PNG."""
    if data[:8] != PNG_SIGNATURE or data[12:16] != b"IHDR":
        sys.exit("make_ico: %s is not a PNG picture" % name)
    width, height = struct.unpack(">II", data[16:24])
    if width != height or not 1 <= width <= 256:
        sys.exit("make_ico: %s is %d x %d; an icon picture is square, 1 to 256 pixels" % (name, width, height))
    return width


def main():
    parser = argparse.ArgumentParser(description="Packs square PNG pictures into a Windows .ico file.")
    parser.add_argument("--output", required=True)
    parser.add_argument("pictures", nargs="+")
    args = parser.parse_args()
    pictures = []
    for name in args.pictures:
        with open(name, "rb") as f:
            data = f.read()
        pictures.append((png_size(data, name), data))
    pictures.sort(key=lambda p: p[0])
    offset = 6 + 16 * len(pictures)
    header = struct.pack("<HHH", 0, 1, len(pictures))
    entries = b""
    for size, data in pictures:
        side = size % 256  # 256 is written as 0
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(args.output, "wb") as f:
        f.write(header + entries + b"".join(data for _, data in pictures))


if __name__ == "__main__":
    main()
