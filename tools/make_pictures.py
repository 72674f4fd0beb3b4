#!/usr/bin/env python3
"""Draws the pictures of the pages into resources/pictures/ (standard library only).

The outputs are committed; run this again only to change a picture:
    python3 tools/make_pictures.py
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "pictures")


def write_png(path, width, height, rows, palette=None):
    """rows: list of rows; RGBA tuples, or palette indices when a palette is given."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            if palette is None:
                raw.extend(px)
            else:
                raw.append(px)
    if palette is None:
        header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
        extra = b""
    else:
        header = struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)
        extra = chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra
    data += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def blend(under, over, alpha):
    return tuple(round(u * (1 - alpha) + o * alpha) for u, o in zip(under, over))


def render(width, height, background, layers, samples=4):
    """layers: (colour, inside(x, y) -> bool) painted in order, anti-aliased by supersampling."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            px = background
            for colour, inside in layers:
                hits = sum(
                    inside(x + (i + 0.5) / samples, y + (j + 0.5) / samples)
                    for i in range(samples)
                    for j in range(samples)
                )
                if hits:
                    px = blend(px, colour, hits / samples**2)
            row.append(px)
        rows.append(row)
    return rows


def with_alpha(rows, key):
    """Pixels equal to `key` become transparent."""
    return [[(0, 0, 0, 0) if px[:3] == key else px[:3] + (255,) for px in row] for row in rows]


def opaque(rows):
    return [[px[:3] + (255,) for px in row] for row in rows]


# --- window icon: a grey square with the dark outline of a building with two chimneys ---
# 16 colours: the standard 16-colour palette.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, DARK = 0, 7, 8


def icon(size):
    s = size / 32.0
    grid = [[GREY] * size for _ in range(size)]

    def line(x0, y0, x1, y1, colour=BLACK):
        x0, y0, x1, y1 = (round(v * s) for v in (x0, y0, x1, y1))
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            x, y = min(max(x, 0), size - 1), min(max(y, 0), size - 1)
            grid[y][x] = colour

    # square frame
    line(0, 0, 31, 0, DARK); line(0, 31, 31, 31, DARK)
    line(0, 0, 0, 31, DARK); line(31, 0, 31, 31, DARK)
    # building: body with a flat roof, two chimneys rising from it
    line(4, 27, 27, 27)            # ground
    line(4, 27, 4, 13)             # left wall
    line(27, 27, 27, 13)           # right wall
    line(4, 13, 8, 13)             # roof left of the first chimney
    line(8, 13, 8, 4); line(8, 4, 12, 4); line(12, 4, 12, 13)      # first chimney
    line(12, 13, 18, 13)           # roof between the chimneys
    line(18, 13, 18, 7); line(18, 7, 22, 7); line(22, 7, 22, 13)   # second chimney
    line(22, 13, 27, 13)           # roof right of the second chimney
    if size >= 32:
        # door and two windows
        line(14, 27, 14, 20); line(14, 20, 18, 20); line(18, 20, 18, 27)
        line(7, 17, 10, 17); line(7, 17, 7, 20); line(10, 17, 10, 20); line(7, 20, 10, 20)
        line(21, 17, 24, 17); line(21, 17, 21, 20); line(24, 17, 24, 20); line(21, 20, 24, 20)
    return grid


# --- the maker's banner: "Vendrake", 88 x 31 ---
GLYPHS = {
    "V": ["X...X", "X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X.."],
    "e": ["....", "....", ".XX.", "X..X", "XXXX", "X...", ".XXX"],
    "n": ["....", "....", "XXX.", "X..X", "X..X", "X..X", "X..X"],
    "d": ["...X", "...X", ".XXX", "X..X", "X..X", "X..X", ".XXX"],
    "r": ["....", "....", "X.XX", "XX..", "X...", "X...", "X..."],
    "a": ["....", "....", ".XX.", "...X", ".XXX", "X..X", ".XXX"],
    "k": ["X...", "X...", "X..X", "X.X.", "XX..", "X.X.", "X..X"],
}


def banner():
    width, height, scale = 88, 31, 2
    ground, ink, rim = (46, 82, 52), (238, 236, 206), (188, 198, 140)
    rows = [[ground] * width for _ in range(height)]
    for x in range(width):
        rows[0][x] = rows[height - 1][x] = rim
    for y in range(height):
        rows[y][0] = rows[y][width - 1] = rim
    word = "Vendrake"
    text_width = sum(len(GLYPHS[c][0]) + 1 for c in word) - 1
    x0 = (width - text_width * scale) // 2
    y0 = (height - 7 * scale) // 2
    for c in word:
        glyph = GLYPHS[c]
        for gy, line in enumerate(glyph):
            for gx, bit in enumerate(line):
                if bit == "X":
                    for dy in range(scale):
                        for dx in range(scale):
                            rows[y0 + gy * scale + dy][x0 + gx * scale + dx] = ink
        x0 += (len(glyph[0]) + 1) * scale
    return opaque(rows)


# --- shapes for the 32 x 32 pictures ---
def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in**2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out**2


def letter_c(cx, cy, r_out, r_in, gap_deg=50):
    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if not (r_in**2 <= d2 <= r_out**2):
            return False
        angle = math.degrees(math.atan2(cy - y, x - cx))  # 0 to the right, counter-clockwise
        return abs(angle) > gap_deg
    return inside


def thick_line(x0, y0, x1, y1, half):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def triangle(points):
    (ax, ay), (bx, by), (cx, cy) = points

    def side(px, py, qx, qy, x, y):
        return (qx - px) * (y - py) - (qy - py) * (x - px)

    def inside(x, y):
        s1 = side(ax, ay, bx, by, x, y)
        s2 = side(bx, by, cx, cy, x, y)
        s3 = side(cx, cy, ax, ay, x, y)
        return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return inside


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def warning_sign():
    key = (1, 2, 3)  # background, made transparent
    outer = triangle([(16, 1.5), (30.5, 29), (1.5, 29)])
    inner = triangle([(16, 4.5), (28, 27.3), (4, 27.3)])
    layers = [
        ((0, 0, 0), outer),
        ((255, 214, 0), inner),
        ((0, 0, 0), triangle([(14.2, 10), (17.8, 10), (16.6, 21)])),
        ((0, 0, 0), triangle([(14.2, 10), (16.6, 21), (15.4, 21)])),
        ((0, 0, 0), box(14.2, 9, 17.8, 10.5)),
        ((0, 0, 0), disc(16, 24.2, 1.8)),
    ]
    return with_alpha(render(32, 32, key, layers), key)


BOX = (165, 199, 165)


def circled_c(colour, struck):
    layers = [
        (colour, ring(16, 16, 14.5, 12.3)),
        (colour, letter_c(16, 16, 8.2, 5.6)),
    ]
    if struck:
        layers.append(((0, 0, 0), thick_line(5, 27, 27, 5, 1.4)))
    return opaque(render(32, 32, BOX, layers))


def main():
    os.makedirs(OUT, exist_ok=True)
    write_png(os.path.join(OUT, "icon32.png"), 32, 32, icon(32), PALETTE16)
    write_png(os.path.join(OUT, "icon16.png"), 16, 16, icon(16), PALETTE16)
    # the desktop's larger rendering: the 32-pixel icon, each pixel four times
    big = [[c for c in row for _ in range(4)] for row in icon(32) for _ in range(4)]
    write_png(os.path.join(OUT, "icon128.png"), 128, 128, big, PALETTE16)
    write_png(os.path.join(OUT, "banner.png"), 88, 31, banner())
    write_png(os.path.join(OUT, "warning.png"), 32, 32, warning_sign())
    write_png(os.path.join(OUT, "struckc.png"), 32, 32, circled_c((255, 255, 255), True))
    write_png(os.path.join(OUT, "redc.png"), 32, 32, circled_c((214, 0, 0), False))


if __name__ == "__main__":
    main()
