#!/usr/bin/env python3
"""Draws the fourteen tool-button bitmaps of the plug-in into bitmaps/.

    scripts/draw-bitmaps.py                  writes bitmaps/*.bmp
    scripts/draw-bitmaps.py --preview X.png  also writes an enlarged sheet of all
                                             fourteen, for looking at them

24 x 24 pixels, 24-bit BMP, no compression. The background is the light grey of a
toolbar and fills the bottom-left pixel, which hosts commonly take as the colour
to show through. Plain Python, no libraries: the output is the same on every run.
"""
import os
import struct
import sys
import zlib

SIZE = 24
BACK = (240, 240, 240)
INK = (32, 32, 32)
TEXT = (96, 96, 96)
SELECT = (0, 120, 215)
WHITE = (255, 255, 255)
ADD = (16, 140, 48)
REMOVE = (200, 32, 32)
SPACE = (0, 120, 215)
BLANK = (250, 200, 200)
INFO = (0, 90, 190)


class Canvas:
    def __init__(self):
        self.px = [[BACK] * SIZE for _ in range(SIZE)]

    def put(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def art(self, x0, y0, rows, colour):
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c == "#":
                    self.put(x0 + dx, y0 + dy, colour)

    def disc(self, cx, cy, r, colour):  # centre and radius in pixel edges
        for y in range(SIZE):
            for x in range(SIZE):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def bmp(self):
        row_bytes = SIZE * 3  # 72: already a multiple of four
        pixels = bytearray()
        for y in reversed(range(SIZE)):  # bottom-up rows
            for (r, g, b) in self.px[y]:
                pixels += bytes((b, g, r))
        header_size = 14 + 40
        file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
        info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, row_bytes * SIZE, 2835, 2835, 0, 0)
        return file_header + info + bytes(pixels)


def mirror(rows):
    return [row[::-1] for row in rows]


PAREN = ["...##", "..##.", ".##..", ".##..", "##...", "##...", "##...", "##...",
         "##...", ".##..", ".##..", "..##.", "...##"]
SQUARE = ["#####"] + ["##..."] * 11 + ["#####"]
CURLY = ["..###", ".##..", ".##..", ".##..", ".##..", "##...", "#....", "##...",
         ".##..", ".##..", ".##..", ".##..", "..###"]
QUOTE = ["##", "##", "##", "##", "##", ".#"]
DOUBLE = ["##.##", "##.##", "##.##", "##.##", "##.##", ".#..#"]

PAIRS = {  # opening glyph, closing glyph
    "()": (PAREN, mirror(PAREN)),
    "[]": (SQUARE, mirror(SQUARE)),
    "{}": (CURLY, mirror(CURLY)),
    "quotes": (QUOTE, QUOTE),
    "doublequotes": (DOUBLE, DOUBLE),
}


def badge(c, add):
    """A round sign in the bottom-right corner: green plus adds, red minus removes."""
    c.disc(18, 18, 6.5, BACK)  # keeps the sign apart from what is behind it
    c.disc(18, 18, 5.5, ADD if add else REMOVE)
    c.rect(14, 17, 21, 18, WHITE)
    if add:
        c.rect(17, 14, 18, 21, WHITE)


def pair(kind, add):
    c = Canvas()
    opening, closing = PAIRS[kind]
    width = len(opening[0])
    c.art(1, 1, opening, INK)
    c.art(SIZE - 2 - width, 1, closing, INK)
    # The selected text between the two.
    left, right = 1 + width + 1, SIZE - 2 - width - 2
    c.rect(left, 3, right, 10, SELECT)
    c.rect(left + 1, 5, right - 1, 5, WHITE)
    c.rect(left + 1, 8, right - 3, 8, WHITE)
    badge(c, add)
    return c


def trailing_spaces():
    c = Canvas()
    for y, length in ((1, 8), (5, 5), (9, 10)):
        c.rect(1, y, length, y + 1, TEXT)
        for x in range(length + 2, 22, 3):  # the spaces after the text, shown as dots
            c.rect(x, y, x + 1, y + 1, SPACE)
    c.rect(1, 13, 9, 14, TEXT)
    c.rect(1, 17, 6, 18, TEXT)
    badge(c, add=False)
    return c


def tab_to_spaces():
    c = Canvas()
    # A tab: an arrow running into a stop.
    c.rect(2, 5, 17, 6, INK)
    c.art(13, 1, ["##....", ".##...", "..##..", "...##.", "....##",
                  "....##", "...##.", "..##..", ".##...", "##...."], INK)
    c.rect(20, 1, 21, 10, INK)
    # Becomes spaces.
    c.art(9, 12, ["######", ".####.", "..##.."], TEXT)
    for x in (2, 7, 12, 17, 21):
        c.rect(x, 18, x + 1, 19, SPACE)
    return c


def blank_lines():
    c = Canvas()
    c.rect(1, 2, 12, 3, TEXT)
    c.rect(1, 6, 9, 7, TEXT)
    c.rect(0, 10, 23, 13, BLANK)  # the empty line that goes
    c.rect(1, 16, 11, 17, TEXT)
    c.rect(1, 20, 7, 21, TEXT)
    badge(c, add=False)
    return c


def about():
    c = Canvas()
    c.disc(12, 12, 11, INFO)
    c.rect(10, 5, 13, 8, WHITE)
    c.rect(10, 10, 13, 18, WHITE)
    c.rect(8, 10, 9, 11, WHITE)
    c.rect(8, 17, 15, 18, WHITE)
    return c


# In the tool-button order of the plug-in's menu.
BITMAPS = [
    ("btn_quillmendex_removetrailingspaces.bmp", trailing_spaces),
    ("btn_quillmendex_tab2space.bmp", tab_to_spaces),
    ("btn_quillmendex_removeblanklines.bmp", blank_lines),
    ("btn_quillmendex_add().bmp", lambda: pair("()", True)),
    ("btn_quillmendex_add[].bmp", lambda: pair("[]", True)),
    ("btn_quillmendex_add{}.bmp", lambda: pair("{}", True)),
    ("btn_quillmendex_addquotes.bmp", lambda: pair("quotes", True)),
    ("btn_quillmendex_adddoublequotes.bmp", lambda: pair("doublequotes", True)),
    ("btn_quillmendex_remove().bmp", lambda: pair("()", False)),
    ("btn_quillmendex_remove[].bmp", lambda: pair("[]", False)),
    ("btn_quillmendex_remove{}.bmp", lambda: pair("{}", False)),
    ("btn_quillmendex_removequotes.bmp", lambda: pair("quotes", False)),
    ("btn_quillmendex_removedoublequotes.bmp", lambda: pair("doublequotes", False)),
    ("btn_about.bmp", about),
]


def preview(canvases, path, scale=8, gap=2):
    """All bitmaps side by side, enlarged, as a PNG."""
    cell = SIZE * scale + gap * scale
    width, height = cell * len(canvases), cell
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            i, cx, cy = x // cell, (x % cell) // scale, y // scale
            raw += bytes(canvases[i].px[cy][cx] if cx < SIZE and cy < SIZE else WHITE)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bitmaps")
    os.makedirs(out, exist_ok=True)
    canvases = []
    for name, draw in BITMAPS:
        c = draw()
        canvases.append(c)
        with open(os.path.join(out, name), "wb") as f:
            f.write(c.bmp())
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        preview(canvases, sys.argv[2])


if __name__ == "__main__":
    main()
