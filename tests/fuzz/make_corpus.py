#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora (tests/fuzz/corpus/) from the generated game data.

Usage: tests/fuzz/make_corpus.py BUILD_DATA_DIR. The corpora are committed; run this again only
when the generated files change. Each seed stays small (a few KB) so that the fuzzers stay fast.
"""
import gzip
import os
import struct
import sys

data = sys.argv[1]
here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def write(target, name, blob):
    os.makedirs(os.path.join(here, target), exist_ok=True)
    with open(os.path.join(here, target, name), "wb") as out:
        out.write(blob)


def entries(pack):
    count = struct.unpack_from("<i", pack, 0)[0]
    at = 4
    for _ in range(count):
        alpha, w, h, pitch, bpp, r, g, b, a = struct.unpack_from("<iiiHBIIII", pack, at)
        size = 31 + pitch * h
        yield dict(alpha=alpha, w=w, h=h, pitch=pitch, bpp=bpp, masks=(r, g, b, a), raw=pack[at:at + size])
        at += size


main = gzip.open(os.path.join(data, "1.pak")).read()
images = list(entries(main))
small = sorted((e for e in images if 200 <= len(e["raw"]) <= 1500), key=lambda e: len(e["raw"]))
for n, e in enumerate(small[:4]):
    one = struct.pack("<i", 1) + e["raw"]
    write("pack", "image%d" % n, one)
    write("gzip_pack", "image%d.gz" % n, gzip.compress(one, 9))
write("pack", "two", struct.pack("<i", 2) + small[0]["raw"] + small[1]["raw"])
write("pack", "empty", struct.pack("<i", 0))
write("gzip_pack", "uncompressed", struct.pack("<i", 1) + small[2]["raw"])

# Fonts: the marker row and a few rows under it of the generated fonts, in the target's own header.
for n, slot in enumerate((19, 20, 38)):  # font.bmp, font_bold.bmp, font_white.bmp
    e = images[slot]
    rows = 2
    pixels = e["raw"][31:31 + e["pitch"] * rows]
    w = min(e["w"], 1100)
    write("font", "font%d" % n, struct.pack("<HBB", w - 1, rows - 1, 1) + pixels[:4000])

story = open(os.path.join(data, "story"), "rb").read()
write("text_page", "story", story)
write("text_page", "story_crlf", story.replace(b"\n", b"\r\n"))
write("text_page", "pictures", b"a\nb\nc\n<IMAGE>c.bmp</IMAGE>d\n<IMAGE>a.bmp</IMAGE>e <BOLD>f<IMAGE>b.bmp</IMAGE></BOLD>g"
      b"\n\n\n\n\n\n\n<IMAGE>b.bmp</IMAGE>h <IMAGE>d.bmp")
write("text_page", "tags", b"<BOLD>x</BOLD> <y> z> <IMAGE>missing.bmp</IMAGE>" + b" word" * 60 + b" <unclosed")

# Settings: the defaults as the game writes them, one with a full table, a short and a long file.
defaults = bytes(176) + b"\x01\x01\x23\x00" + b"Brask" + bytes(26)
table = bytearray(defaults)
table[0:6] = b"\xef\xbe\x02\x00\x07\x00"
for i in range(5):
    table[6 + 30 * i:6 + 30 * i + 10] = b"Pilot%-5d" % i
    struct.pack_into("<i", table, 156 + 4 * i, 5000 - 1000 * i)
write("settings", "defaults", defaults)
write("settings", "table", bytes(table))
write("settings", "short", bytes(table[:100]))
write("settings", "long", bytes(table) + b"trailing")
