#!/usr/bin/env python3
"""Draws Quillsort's pictures, icons and cursor and writes them as Windows
resource files (.bmp, .ico, .cur) beside resources/quillsort.rc.

Everything is drawn here from simple shapes and a small built-in pixel font,
so the program carries no picture taken from elsewhere. Run once after a
change to the drawings and commit the output:

    python3 tools/draw_resources.py            # writes into resources/
    python3 tools/draw_resources.py OUTDIR     # writes into OUTDIR

Also writes the two test bitmaps of the drawing tests into
tests/runtime/window/drawing/ (only when writing into resources/).
Standard library only.
"""

import math
import os
import struct
import sys

GREEN = (0, 255, 0)  # transparent key of the browser picture
MAGENTA = (255, 0, 255)  # transparent key of the test picture

# ---------------------------------------------------------------------------
# Pixel font: 5 columns by 9 rows (7 above the base line, 2 for descenders).
# ---------------------------------------------------------------------------
FONT = {
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", ".....", "....."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#", ".....", "....."],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####.", ".....", "....."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", ".....", "....."],
    "g": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###.", ".....", "....."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#", ".....", "....."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", ".....", "....."],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", ".....", "....."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####.", ".....", "....."],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##.", ".....", "....."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#", ".....", "....."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#.", ".....", "....."],
    " ": ["....."] * 9,
}
GLYPH_W, GLYPH_H, GLYPH_ADVANCE = 5, 9, 6


def text_mask(text, scale):
    """Returns (width, height, set of (x, y)) for text in the pixel font,
    y growing downwards, each font pixel drawn as scale x scale."""
    pixels = set()
    for i, ch in enumerate(text):
        rows = FONT[ch]
        for gy, row in enumerate(rows):
            for gx, c in enumerate(row):
                if c == "#":
                    for dy in range(scale):
                        for dx in range(scale):
                            pixels.add(((i * GLYPH_ADVANCE + gx) * scale + dx, gy * scale + dy))
    width = (len(text) * GLYPH_ADVANCE - 1) * scale
    return width, GLYPH_H * scale, pixels


# ---------------------------------------------------------------------------
# Canvas: rows of RGB tuples, y = 0 at the top.
# ---------------------------------------------------------------------------
class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.rows = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def get(self, x, y):
        return self.rows[y][x]

    def fill_rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def text(self, text, x, y, scale, colour, shadow=None):
        _, _, pixels = text_mask(text, scale)
        if shadow:
            for px, py in pixels:
                self.put(x + px + 1, y + py + 1, shadow)
        for px, py in pixels:
            self.put(x + px, y + py, colour)

    def text_upwards(self, text, x, y, scale, colour, shadow=None):
        """Text read from bottom to top: its base line runs up along column
        x + height, starting at row y (the bottom end)."""
        _, h, pixels = text_mask(text, scale)
        for p, c in ((1, shadow), (0, colour)):
            if c is None:
                continue
            for px, py in pixels:
                # Turning a quarter to the left: along the text becomes up,
                # downwards in the glyph becomes to the right.
                self.put(x + py + p, y - px + p, c)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def steps(a, b, count):
    """count colours from a to b, so pictures keep a small palette."""
    return [mix(a, b, i / (count - 1)) for i in range(count)]


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------
def palette_of(canvas, reserved=()):
    colours = list(reserved)
    seen = set(colours)
    for row in canvas.rows:
        for c in row:
            if c not in seen:
                seen.add(c)
                colours.append(c)
    if len(colours) > 256:
        raise SystemExit("picture has %d colours, more than 256" % len(colours))
    return colours + [(0, 0, 0)] * (256 - len(colours))


def dib_8bit(canvas, palette):
    """BITMAPINFOHEADER + 256-colour table + bottom-up 8-bit rows."""
    index = {c: i for i, c in reversed(list(enumerate(palette)))}
    stride = (canvas.width + 3) & ~3
    pixels = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytes(index[c] for c in canvas.rows[y])
        pixels += row + b"\0" * (stride - canvas.width)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return table, pixels


def write_bmp(path, canvas, reserved=()):
    palette = palette_of(canvas, reserved)
    table, pixels = dib_8bit(canvas, palette)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 0, len(pixels), 2835, 2835,
                         256, 0)
    offset = 14 + len(header) + len(table)
    filehead = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(filehead + header + table + pixels)


def and_mask(width, height, opaque):
    """1-bit mask, bottom-up, 1 = transparent; opaque(x, y) with y from the top."""
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return out


def write_ico(path, canvas, transparent):
    """One 32 x 32 image, 8 bits per pixel with an AND mask; pixels of colour
    transparent are left out by the mask."""
    palette = palette_of(canvas, reserved=[(0, 0, 0)])
    table, pixels = dib_8bit(canvas, palette)
    mask = and_mask(canvas.width, canvas.height, lambda x, y: canvas.get(x, y) != transparent)
    # Transparent pixels are black in the colour part, as Windows expects.
    black = palette.index((0, 0, 0))
    pixels = bytearray(pixels)
    stride = (canvas.width + 3) & ~3
    for y in range(canvas.height):
        for x in range(canvas.width):
            if canvas.get(x, y) == transparent:
                pixels[(canvas.height - 1 - y) * stride + x] = black
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 8, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + table + bytes(pixels) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", canvas.width, canvas.height, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def write_cur(path, art, hotspot):
    """Monochrome cursor from text art: '.' transparent, 'X' black, 'o' white."""
    height, width = len(art), len(art[0])
    assert all(len(row) == width for row in art)
    stride = ((width + 31) // 32) * 4
    xor = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if art[y][x] == "o":
                row[x // 8] |= 0x80 >> (x % 8)
        xor += row
    mask = and_mask(width, height, lambda x, y: art[y][x] != ".")
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    table = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + table + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", width, height, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


# ---------------------------------------------------------------------------
# The drawings
# ---------------------------------------------------------------------------
def draw_browser_picture():
    """191 x 75: a globe with meridians and parallels, wrapped by a flame
    coloured swoosh, and the word "Browser"; pure green around it."""
    c = Canvas(191, 75, GREEN)
    cx, cy, r = 38.0, 37.0, 29.0
    ocean = steps((150, 205, 255), (10, 40, 120), 12)
    land = steps((140, 220, 120), (20, 90, 40), 12)
    grid = (225, 240, 255)
    light = (-0.55, -0.6, 0.58)  # from the upper left, towards the viewer

    def continent(lon, lat):
        # A few soft blobs in longitude/latitude, turned with the globe.
        blobs = ((-0.4, 0.5, 0.45), (0.5, 0.1, 0.5), (0.1, -0.55, 0.35), (-0.9, -0.3, 0.3))
        return any((lon - a) ** 2 + (lat - b) ** 2 < s * s for a, b, s in blobs)

    for y in range(c.height):
        for x in range(c.width):
            dx, dy = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
            d2 = dx * dx + dy * dy
            if d2 > 1.0:
                continue
            dz = math.sqrt(1.0 - d2)
            shade = max(0.0, dx * light[0] + dy * light[1] + dz * light[2])
            level = min(11, max(0, int((1.0 - shade) * 12)))
            lat = math.asin(-dy)
            lon = math.atan2(dx, dz) + 0.35
            colour = land[level] if continent(lon, lat) else ocean[level]
            # Parallels every 30 degrees and meridians every 36 degrees.
            on_grid = abs((math.degrees(lat) + 90) % 30 - 15) > 13.6 or \
                abs((math.degrees(lon) + 360) % 36 - 18) > 16.8
            if on_grid and d2 < 0.93:
                colour = mix(colour, grid, 0.45)
            if d2 > 0.93:
                colour = (8, 30, 80)  # rim
            c.put(x, y, colour)

    # The swoosh: a thick arc around the globe, from the lower left over the
    # top to the right, its colour running from deep red to yellow, its
    # width swelling in the middle like a flame's tongue.
    flame = steps((200, 30, 0), (255, 220, 40), 14)
    ex, ey, ea, eb, tilt = cx + 2, cy + 1, 36.0, 22.0, math.radians(-28)
    for i in range(1400):
        t = i / 1399.0
        ang = math.radians(200 - 250 * t)
        px, py = ea * math.cos(ang), -eb * math.sin(ang)
        qx = ex + px * math.cos(tilt) - py * math.sin(tilt)
        qy = ey + px * math.sin(tilt) + py * math.cos(tilt)
        thick = 1.0 + 5.5 * math.sin(math.pi * t) ** 1.5
        front = math.sin(ang) < 0  # the lower half passes in front of the globe
        for oy in range(-7, 8):
            for ox in range(-7, 8):
                if ox * ox + oy * oy <= thick * thick:
                    x, y = int(qx + ox), int(qy + oy)
                    if not (0 <= x < c.width and 0 <= y < c.height):
                        continue
                    behind = c.get(x, y) != GREEN and not front and t > 0.15
                    if behind and (x - cx) ** 2 + (y - cy) ** 2 < (r - 1) ** 2:
                        continue
                    c.put(x, y, flame[min(13, int(t * 14))])
    # A hot core along the middle of the tongue.
    for i in range(700):
        t = 0.25 + 0.5 * i / 699.0
        ang = math.radians(200 - 250 * t)
        px, py = ea * math.cos(ang), -eb * math.sin(ang)
        qx = ex + px * math.cos(tilt) - py * math.sin(tilt)
        qy = ey + px * math.sin(tilt) + py * math.cos(tilt)
        if math.sin(ang) >= 0 and (qx - cx) ** 2 + (qy - cy) ** 2 < (r - 1) ** 2:
            continue
        c.put(int(qx), int(qy), (255, 245, 170))

    # The word, in the flame's colours with a dark shadow.
    c.text("Browser", 86, 24, 2, (240, 110, 10), shadow=(70, 20, 0))
    c.fill_rect(86, 48, 168, 50, (240, 110, 10))
    c.fill_rect(87, 50, 169, 51, (70, 20, 0))
    assert c.get(0, c.height - 1) == GREEN
    return c


def draw_info_strip():
    """68 x 227: the tool's name and a subtitle, read from bottom to top, on a
    night-blue band with a quill line along its edge."""
    c = Canvas(68, 227, (0, 0, 0))
    band = steps((20, 30, 90), (60, 90, 170), 16)
    for y in range(c.height):
        for x in range(c.width):
            c.put(x, y, band[min(15, (x * 16) // c.width)])
    gold, shadow, pale = (255, 205, 60), (10, 15, 40), (210, 225, 255)
    c.text_upwards("Quillsort", 8, 198, 3, gold, shadow)
    c.text_upwards("plugin sorter", 38, 195, 2, pale, shadow)
    # A thin golden rule with a quill's nib at its top.
    for y in range(14, 213):
        c.put(61, y, gold)
    for i in range(6):
        c.put(61 - i // 2, 14 + i, gold)
        c.put(61 + i // 2, 14 + i, gold)
    return c


def draw_app_icon():
    """"A", the program's icon: a sheet with sorted lines and a quill."""
    t = (1, 2, 3)  # transparency marker colour, never drawn
    c = Canvas(32, 32, t)
    paper, edge, ink = (250, 248, 235), (90, 80, 60), (40, 60, 140)
    c.fill_rect(4, 3, 24, 30, edge)
    c.fill_rect(5, 4, 23, 29, paper)
    for i, length in enumerate((15, 12, 9, 6, 3)):
        y = 8 + i * 4
        c.fill_rect(7, y, 7 + length, y + 2, ink)
    # The quill: a feather from the upper right down to a nib.
    vane, shaft = (230, 120, 30), (120, 50, 10)
    for i in range(20):
        x, y = 29 - i, 2 + i
        c.put(x, y, shaft)
        if i < 14:
            for w in range(1, 4 - abs(i - 6) // 3):
                for dx, dy in ((-w, -w), (1 - w, -w), (w, w), (w - 1, w)):
                    c.put(x + dx, y + dy, vane)
    c.put(9, 22, (0, 0, 0))
    c.put(10, 22, (0, 0, 0))
    return c, t


def draw_window_icon():
    """"VANTRO", the icon of the runtime's windows: a small window frame with
    a blue title bar and a check mark."""
    t = (1, 2, 3)
    c = Canvas(32, 32, t)
    frame, title, body, mark = (30, 30, 50), (40, 90, 200), (235, 240, 250), (30, 150, 60)
    c.fill_rect(2, 4, 30, 28, frame)
    c.fill_rect(3, 5, 29, 10, title)
    c.fill_rect(3, 11, 29, 27, body)
    c.fill_rect(25, 6, 28, 9, (220, 60, 50))
    for i in range(5):
        c.fill_rect(9 + i, 18 + i, 11 + i, 20 + i, mark)
    for i in range(9):
        c.fill_rect(14 + i, 22 - i, 16 + i, 24 - i, mark)
    return c, t


POINTING_HAND = [
    "......XX........................",
    ".....XooX.......................",
    ".....XooX.......................",
    ".....XooX.......................",
    ".....XooX.......................",
    ".....XooXXX.....................",
    ".....XooXooXXX..................",
    ".....XooXooXooXXX...............",
    ".....XooXooXooXooX..............",
    ".XX..XooXooXooXooX..............",
    "XooX.XooXooXooXooX..............",
    "XoooXXoooooooooooX..............",
    ".XoooooooooooooooX..............",
    "..XooooooooooooooX..............",
    "...XoooooooooooooX..............",
    "....XooooooooooooX..............",
    "....XoooooooooooX...............",
    ".....XooooooooooX...............",
    ".....XooooooooooX...............",
    "......XoooooooooX...............",
    "......XoooooooooX...............",
    "......XXXXXXXXXXX...............",
    "......XoooooooooX...............",
    "......XoooooooooX...............",
    "......XXXXXXXXXXX...............",
] + ["." * 32] * 7


def draw_test_pictures(folder):
    """Pictures for the drawing tests: "MAGENTA" (16 x 8, magenta key in the
    bottom-left corner, a pattern of other colours) and resource 2 (4 x 2)."""
    c = Canvas(16, 8, MAGENTA)
    for y in range(8):
        for x in range(16):
            if (x + y) % 3 == 0:
                c.put(x, y, (0, 0, 255))
            elif x % 4 == 1:
                c.put(x, y, (255, 255, 0))
    c.put(0, 7, MAGENTA)
    c.put(15, 0, (0, 128, 0))
    write_bmp(os.path.join(folder, "magenta_key.bmp"), c)
    d = Canvas(4, 2, (255, 0, 0))
    d.put(3, 1, (0, 0, 255))
    write_bmp(os.path.join(folder, "numbered.bmp"), d)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources")
    os.makedirs(out, exist_ok=True)
    assert all(len(row) == 32 for row in POINTING_HAND) and len(POINTING_HAND) == 32
    assert POINTING_HAND[0][6] == "X"  # the hot spot is the fingertip
    write_bmp(os.path.join(out, "browser.bmp"), draw_browser_picture(), reserved=[GREEN])
    write_bmp(os.path.join(out, "info.bmp"), draw_info_strip())
    icon, key = draw_app_icon()
    write_ico(os.path.join(out, "app.ico"), icon, key)
    icon, key = draw_window_icon()
    write_ico(os.path.join(out, "window.ico"), icon, key)
    write_cur(os.path.join(out, "pointing_hand.cur"), POINTING_HAND, (6, 0))
    if len(sys.argv) <= 1:
        tests = os.path.join(root, "tests", "runtime", "window", "drawing")
        os.makedirs(tests, exist_ok=True)
        draw_test_pictures(tests)


if __name__ == "__main__":
    main()
