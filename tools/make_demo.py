#!/usr/bin/env python3
"""Writes a demo browser installation for tools/run: a folder
"Mozilla Firefox" holding a placeholder firefox.exe and a searchplugins
folder with a dozen sample Mycroft plugins, several of them with a small
icon (.gif or .png) drawn here. The plugins describe made-up search sites;
every byte is written by this script.

    python3 tools/make_demo.py FOLDER     # creates FOLDER/Mozilla Firefox

An existing searchplugins folder is replaced, so every run starts from the
same twelve plugins in their original names. Standard library only.
"""

import os
import shutil
import struct
import sys
import zlib

# (file base name, shown name, host, icon kind or None, colour)
PLUGINS = [
    ("example", "Example Search", "search.example.com", "gif", (52, 101, 164)),
    ("sample-wiki", "Sample Wiki", "wiki.example.org", "png", (115, 210, 22)),
    ("testshop", "Test Shop", "shop.example.net", "gif", (245, 121, 0)),
    ("demo-news", "Demo News", "news.example.com", None, None),
    ("placeholder-maps", "Placeholder Maps", "maps.example.org", "png", (204, 0, 0)),
    ("fictional-dictionary", "Fictional Dictionary", "dict.example.net", None, None),
    ("mock-images", "Mock Images", "images.example.com", "gif", (117, 80, 123)),
    ("sandbox-code", "Sandbox Code Search", "code.example.org", "png", (46, 52, 54)),
    ("imaginary-weather", "Imaginary Weather", "weather.example.net", None, None),
    ("pretend-papers", "Pretend Papers", "papers.example.com", "gif", (193, 125, 17)),
    ("model-recipes", "Model Recipes", "recipes.example.org", None, None),
    ("dummy-translate", "Dummy Translate", "translate.example.net", "png", (32, 74, 135)),
]

PLUGIN_TEXT = """# Mycroft search plugin written for the Quillsort demo.
# {shown} is a made-up site; the address below does not serve searches.

<search
   version="7.1"
   name="{shown}"
   description="{shown} - a sample plugin for trying out Quillsort"
   method="GET"
   action="https://{host}/find"
   searchForm="https://{host}/"
   queryCharset="utf-8"
>

<input name="q" user>
<input name="source" value="quillsort-demo">

<interpret
   browserResultType="result"
   resultListStart="<ul class=results>"
   resultListEnd="</ul>"
   resultItemStart="<li>"
   resultItemEnd="</li>"
>
</search>
"""

SIZE = 16


def icon_pixels(colour):
    """A 16 x 16 picture: a filled disc in colour on white, a white bar across."""
    rows = []
    centre = (SIZE - 1) / 2
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            inside = (x - centre) ** 2 + (y - centre) ** 2 <= 7.5**2
            bar = 7 <= y <= 8 and 3 <= x <= 12
            row.append(1 if inside and not bar else 0)
        rows.append(row)
    return rows


def gif_bytes(colour):
    """A two-colour GIF. The image data is LZW-coded with a clear code after
    every two pixels, so the code width stays at three bits."""
    pixels = [p for row in icon_pixels(colour) for p in row]
    palette = bytes((255, 255, 255)) + bytes(colour) + bytes(6)  # 4 entries
    header = b"GIF89a" + struct.pack("<HHBBB", SIZE, SIZE, 0x81, 0, 0) + palette
    image = b"\x2c" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
    clear, end, width = 4, 5, 3
    codes = []
    for i in range(0, len(pixels), 2):
        codes.append(clear)
        codes.extend(pixels[i : i + 2])
    codes.append(end)
    bits, nbits, data = 0, 0, bytearray()
    for code in codes:
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    blocks = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i : i + 255]
        blocks.append(len(chunk))
        blocks += chunk
    return header + image + bytes([2]) + bytes(blocks) + b"\x00" + b"\x3b"


def png_bytes(colour):
    """A 24-bit PNG of the same picture."""
    raw = bytearray()
    for row in icon_pixels(colour):
        raw.append(0)
        for p in row:
            raw += bytes(colour) if p else b"\xff\xff\xff"

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(bytes(raw)))
        + chunk(b"IEND", b"")
    )


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    browser = os.path.join(sys.argv[1], "Mozilla Firefox")
    plugins = os.path.join(browser, "searchplugins")
    if os.path.isdir(plugins):
        shutil.rmtree(plugins)
    os.makedirs(plugins)
    with open(os.path.join(browser, "firefox.exe"), "wb") as f:
        f.write(b"MZ placeholder: the demo never starts the browser\r\n")
    for base, shown, host, icon, colour in PLUGINS:
        text = PLUGIN_TEXT.format(shown=shown, host=host).replace("\n", "\r\n")
        with open(os.path.join(plugins, base + ".src"), "wb") as f:
            f.write(text.encode("cp1252"))
        if icon == "gif":
            with open(os.path.join(plugins, base + ".gif"), "wb") as f:
                f.write(gif_bytes(colour))
        elif icon == "png":
            with open(os.path.join(plugins, base + ".png"), "wb") as f:
                f.write(png_bytes(colour))
    print(browser)


if __name__ == "__main__":
    main()
