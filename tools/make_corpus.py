#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into tests/corpus/<target>/.

Small generated files only (standard library, plus cjpeg for the JPEG seeds).
The outputs are committed; crashers found by `make fuzz` are added beside them.
    python3 tools/make_corpus.py
"""
import os
import struct
import subprocess
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "corpus")
MARKER = b"10a1020z04y5"


def put(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def block(text):
    return b"\x1a\x0a\x0d\x08\x00\x0c\x00" + MARKER + b"\x08\x00" + struct.pack("<H", len(text)) + text


def pixel(x, y):
    return ((x * 40) & 0xFF, (y * 60) & 0xFF, ((x + y) * 25) & 0xFF)


def bmp24(w, h):
    stride = (w * 3 + 3) & ~3
    rows = b""
    for y in reversed(range(h)):
        row = b"".join(bytes(reversed(pixel(x, y))) for x in range(w))
        rows += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + info + rows


def bmp8(w, h):
    palette = b"".join(bytes((i, 255 - i, (i * 7) & 0xFF, 0)) for i in range(256))
    stride = (w + 3) & ~3
    rows = b"".join(bytes((x * 16 + y) & 0xFF for x in range(w)) + b"\0" * (stride - w)
                    for y in range(h))
    info = struct.pack("<IiiHHIIiiII", 40, w, -h, 1, 8, 0, len(rows), 0, 0, 256, 0)
    off = 14 + 40 + len(palette)
    return b"BM" + struct.pack("<IHHI", off + len(rows), 0, 0, off) + info + palette + rows


def png(w, h, colour_type, palette=None, trns=None):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = b""
    for y in range(h):
        raw += b"\0"
        for x in range(w):
            if colour_type == 2:
                raw += bytes(pixel(x, y))
            elif colour_type == 6:
                raw += bytes(pixel(x, y)) + bytes(((x * 50) & 0xFF,))
            else:
                raw += bytes(((x + y) % 4,))
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0))
    if palette:
        out += chunk(b"PLTE", palette)
    if trns:
        out += chunk(b"tRNS", trns)
    return out + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def gif(w, h):
    """Four colours; a clear code before every two pixels keeps the codes 3 bits wide."""
    codes = []
    pixels = [(x + y) % 4 for y in range(h) for x in range(w)]
    for i in range(0, len(pixels), 2):
        codes.append(4)
        codes.extend(pixels[i:i + 2])
    codes.append(5)
    bits, nbits, data = 0, 0, bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += 3
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    sub = b"".join(bytes((len(data[i:i + 255]),)) + bytes(data[i:i + 255]) for i in range(0, len(data), 255))
    palette = bytes((0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255))
    return (b"GIF89a" + struct.pack("<HHBBB", w, h, 0x81, 0, 0) + palette
            + b"\x2c" + struct.pack("<HHHHB", 0, 0, w, h, 0) + b"\x02" + sub + b"\x00\x3b")


def jpeg(w, h, *options, grey=False):
    if grey:
        ppm = b"P5 %d %d 255\n" % (w, h) + bytes((x * 20 + y * 10) & 0xFF for y in range(h) for x in range(w))
    else:
        ppm = b"P6 %d %d 255\n" % (w, h) + b"".join(bytes(pixel(x, y)) for y in range(h) for x in range(w))
    return subprocess.run(["cjpeg", "-quality", "80", *options], input=ppm, check=True,
                          stdout=subprocess.PIPE).stdout


def main():
    put("blockreader", "empty", b"")
    put("blockreader", "one-block", b"\xff\xd8picture\xff\xd9" + block(b"Copyright (C) 2002\r\nZeile 2"))
    put("blockreader", "two-blocks", b"GIF89a" + block(b"erster") + block(b"zweiter\r\n"))
    put("blockreader", "empty-text", block(b"") + block(b"T"))
    put("blockreader", "marker-at-end", b"abc" + MARKER + b"\x08\x00\x05")
    put("blockreader", "tags-behind-markers", (MARKER + b"\x08\x00\x08\x00\x08") * 5 + MARKER + b"AB" + MARKER + b"CD")
    put("blockreader", "windows-1252", block(bytes(range(0x80, 0x100))))

    put("textfile", "empty", b"")
    put("textfile", "crlf-lines", b"Copyright (C) 2002\r\nVendrake\r\nAlle Rechte\r\n")
    put("textfile", "mixed-breaks", b"a\rb\nc\r\n\r\nd")
    put("textfile", "utf8-bom", b"\xef\xbb\xbf\xc3\x84rger \xe2\x82\xac\n")
    put("textfile", "windows-1252", b"\xc4rger \x80 \x81\x8d\r\n\xdf")
    put("textfile", "cut-utf8", b"Gr\xc3\xbc\xc3")

    put("picture", "rgb.bmp", bmp24(7, 5))
    put("picture", "palette.bmp", bmp8(6, 4))
    put("picture", "four.gif", gif(5, 4))
    put("picture", "rgb.png", png(6, 5, 2))
    put("picture", "alpha.png", png(5, 3, 6))
    put("picture", "palette.png", png(4, 4, 3, palette=bytes(range(12)), trns=b"\x00\x80"))
    put("picture", "baseline.jpg", jpeg(9, 7))
    put("picture", "progressive.jpg", jpeg(8, 8, "-progressive"))
    put("picture", "grey.jpg", jpeg(5, 6, grey=True))
    put("picture", "sampled.jpg", jpeg(17, 9, "-sample", "2x2"))


if __name__ == "__main__":
    main()
