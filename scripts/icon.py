#!/usr/bin/env python3
"""Draws Vorlane's application icon: a clock face on a strip of film.

The icon is drawn from geometry, not from pixels, so every size comes from one design, laid
out on a 32 x 32 grid of design units:
  qt/icons/*.xpm                the window icon (32x32 in 2 colours, 32x32 and 16x16 in 16)
  packaging/icons/hicolor/...   the desktop theme: PNGs of 16 to 128 pixels and a scalable SVG
  win32/icons/vorlane.ico       the Windows executable's icon: the window icon's three images,
                                pixel for pixel, plus 48x48 and 256x256 in full colour
Run from anywhere; the files are rewritten in place and are byte-for-byte reproducible.
    scripts/icon.py
Standard library only (the PNGs are written with zlib and struct).
"""
import math
import struct
import sys
import zlib
from pathlib import Path

APP_ID = "org.vorlane.Vorlane"

# The sixteen colours of the classic 4-bit palette, and the two of a monochrome icon.
PALETTE16 = {
    "black": "#000000", "navy": "#000080", "teal": "#008080", "silver": "#C0C0C0",
    "gray": "#808080", "red": "#FF0000", "yellow": "#FFFF00", "white": "#FFFFFF",
}
PALETTE2 = {"black": "#000000", "white": "#FFFFFF"}
# The order of those colours in a 4-bit Windows bitmap's colour table (the VGA order); the
# colours the drawing does not use fill the other entries.
VGA_ORDER = ("black", "#800000", "#008000", "#808000", "navy", "#800080", "teal", "silver",
             "gray", "red", "#00FF00", "yellow", "#0000FF", "#FF00FF", "#00FFFF", "white")

# The design, in units of a 32 x 32 grid.
FILM_LEFT, FILM_RIGHT = 1.0, 31.0
TOP_STRIP = (1.0, 7.0)  # black bands that carry the sprocket holes
BOTTOM_STRIP = (25.0, 31.0)
HOLE_PITCH, HOLE_WIDTH = 5.0, 2.5
TOP_HOLES = (2.5, 5.5)
BOTTOM_HOLES = (26.5, 29.5)
FACE_X, FACE_Y = 16.0, 16.0
RIM_RADIUS, RIM_WIDTH = 8.6, 1.4
HAND_HALF_WIDTH = 0.9
HOUR_HAND = (FACE_Y - 6.0, FACE_Y + 0.5)  # vertical extent, pointing to twelve
MINUTE_HAND = (FACE_X - 0.5, FACE_X + 5.5)  # horizontal extent, pointing to three

# Raster sizes of the desktop theme. The two smallest are pixel art, exactly the window
# icon's pixels; the larger ones are smoothed by sampling each pixel SUPERSAMPLE^2 times, after
# their straight edges are moved onto whole pixels, so that only the round rim is smoothed.
THEME_SIZES = (16, 32, 48, 64, 128)
PIXEL_ART_SIZES = (16, 32)
SUPERSAMPLE = 8
# The Windows icon's full-colour sizes, beside the window icon's three images: Explorer's
# "large icons" view asks for 48 pixels, its larger views and high-density screens for 256.
ICO_FULL_COLOUR_SIZES = (48, 256)


def colour_at(px, py, pixel, mono, edge=lambda value: value):
    """Colour name at design point (px, py), or None where the icon is transparent.

    pixel is the size of one output pixel in design units: the rim and the hands are drawn
    at least that wide, so that they never vanish at 16 x 16. edge gives where each straight
    edge of the design is drawn.
    """
    in_band = edge(FILM_LEFT) <= px <= edge(FILM_RIGHT)
    in_top_strip = edge(TOP_STRIP[0]) <= py <= edge(TOP_STRIP[1])
    in_bottom_strip = edge(BOTTOM_STRIP[0]) <= py <= edge(BOTTOM_STRIP[1])
    if in_band and (in_top_strip or in_bottom_strip):
        holes = TOP_HOLES if in_top_strip else BOTTOM_HOLES
        if edge(holes[0]) <= py <= edge(holes[1]):
            # Each hole is placed on its own: at 48 pixels the pitch is 7.5 pixels.
            for k in range(int((FILM_RIGHT - FILM_LEFT) // HOLE_PITCH) + 1):
                left = edge(FILM_LEFT + k * HOLE_PITCH)
                if left <= px < left + edge(HOLE_WIDTH):
                    return "white" if mono else "silver"
        return "black"
    if in_band and edge(TOP_STRIP[1]) < py < edge(BOTTOM_STRIP[0]):
        d = math.hypot(px - FACE_X, py - FACE_Y)
        half = max(HAND_HALF_WIDTH, pixel / 2)
        if d <= RIM_RADIUS - max(RIM_WIDTH, pixel):
            if (edge(FACE_X - half) <= px <= edge(FACE_X + half)
                    and edge(HOUR_HAND[0]) <= py <= edge(HOUR_HAND[1])):
                return "black" if mono else "navy"
            if (edge(FACE_Y - half) <= py <= edge(FACE_Y + half)
                    and edge(MINUTE_HAND[0]) <= px <= edge(MINUTE_HAND[1])):
                return "black" if mono else "red"
            return "white"
        if d <= RIM_RADIUS:
            return "black"
        return "white" if mono else "teal"
    return None


def shade(x, y, size, mono):
    """Colour name of the pixel centred at (x + 0.5, y + 0.5) of a size x size icon, or None."""
    s = size / 32.0
    return colour_at((x + 0.5) / s, (y + 0.5) / s, 1.0 / s, mono)


def xpm(name, size, mono):
    palette = PALETTE2 if mono else PALETTE16
    keys = {colour: chr(ord("a") + i) for i, colour in enumerate(palette)}
    rows = []
    for y in range(size):
        row = ""
        for x in range(size):
            colour = shade(x, y, size, mono)
            row += " " if colour is None else keys[colour]
        rows.append(row)
    lines = [f'"{size} {size} {len(palette) + 1} 1",', '"  c None",']
    lines += [f'"{keys[c]} c {v}",' for c, v in palette.items()]
    lines += [f'"{r}",' for r in rows]
    lines[-1] = lines[-1].rstrip(",")
    return f"/* XPM */\nstatic const char *{name}[] = {{\n" + "\n".join(lines) + "\n};\n"


def rgb(colour):
    value = PALETTE16[colour]
    return tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))


def rgba_pixel(x, y, size):
    """The (r, g, b, a) of one pixel of a size x size theme icon."""
    if size in PIXEL_ART_SIZES:
        colour = shade(x, y, size, False)
        return (0, 0, 0, 0) if colour is None else rgb(colour) + (255,)
    s = size / 32.0

    def on_pixels(value):
        # The nearest pixel boundary; ties go to the even one, which keeps the design's mirror
        # symmetry at every even size (at 48 pixels the film's edges fall on half pixels).
        return round(value * s) / s

    sums = [0, 0, 0]
    covered = 0
    for j in range(SUPERSAMPLE):
        for i in range(SUPERSAMPLE):
            colour = colour_at((x + (i + 0.5) / SUPERSAMPLE) / s,
                               (y + (j + 0.5) / SUPERSAMPLE) / s, 1.0 / s, False, on_pixels)
            if colour is None:
                continue
            covered += 1
            for channel, value in enumerate(rgb(colour)):
                sums[channel] += value
    if covered == 0:
        return (0, 0, 0, 0)
    samples = SUPERSAMPLE * SUPERSAMPLE
    # Colours are averaged over the covered samples only (straight, not premultiplied alpha).
    alpha = (covered * 255 + samples // 2) // samples
    return tuple((c + covered // 2) // covered for c in sums) + (alpha,)


def png(size):
    """A size x size RGBA PNG file, 8 bits per channel, no interlacing."""
    raw = bytearray()
    for y in range(size):
        raw.append(0)  # filter type None
        for x in range(size):
            raw.extend(rgba_pixel(x, y, size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def ico_dib(size, mono=False, full_colour=False):
    """One image of a .ico file in the BMP form: a BITMAPINFOHEADER of twice the height, the
    colour table, the colour bitmap and the transparency mask, both bottom-up with rows padded
    to four bytes. mono: 1 bit, black and white; full_colour: 32-bit with straight alpha (the
    mask, for old readers, marks what is wholly transparent); otherwise 4 bits, VGA palette."""
    bits = 32 if full_colour else 1 if mono else 4
    table = b""
    if not full_colour:
        colours = ("black", "white") if mono else VGA_ORDER
        for name in colours:
            value = PALETTE16.get(name, name)
            table += bytes((int(value[5:7], 16), int(value[3:5], 16), int(value[1:3], 16), 0))
    index = {name: i for i, name in enumerate(("black", "white") if mono else VGA_ORDER)}

    def row_bytes(bits_per_pixel):
        return (size * bits_per_pixel + 31) // 32 * 4

    colour_rows, mask_rows = [], []
    for y in reversed(range(size)):
        pixels, mask = [], []
        for x in range(size):
            if full_colour:
                r, g, b, a = rgba_pixel(x, y, size)
                pixels.append(bytes((b, g, r, a)))
                mask.append(a == 0)
            else:
                colour = shade(x, y, size, mono)
                # Transparent pixels are black in the colour bitmap: the mask keeps the screen
                # and black changes nothing of it.
                pixels.append(index[colour] if colour is not None else 0)
                mask.append(colour is None)
        if full_colour:
            row = b"".join(pixels)
        else:
            packed = 0
            for value in pixels:
                packed = (packed << bits) | value
            row = packed.to_bytes(size * bits // 8, "big")
        colour_rows.append(row.ljust(row_bytes(bits), b"\0"))
        packed = 0
        for transparent in mask:
            packed = (packed << 1) | transparent
        mask_rows.append(packed.to_bytes((size + 7) // 8, "big").ljust(row_bytes(1), b"\0"))
    pixels = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, len(pixels), 0, 0,
                         0, 0)
    return header + table + pixels


def ico():
    """The Windows icon: the window icon's three images, then 48 pixels as a 32-bit bitmap and
    256 pixels as a PNG, the form Windows expects at that size."""
    images = [  # (size, colours for the directory, bits per pixel, data)
        (32, 2, 1, ico_dib(32, mono=True)),
        (32, 16, 4, ico_dib(32)),
        (16, 16, 4, ico_dib(16)),
    ]
    for size in ICO_FULL_COLOUR_SIZES:
        data = png(size) if size >= 256 else ico_dib(size, full_colour=True)
        images.append((size, 0, 32, data))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, blobs = b"", b""
    for size, colours, bits, data in images:
        # 256 is written as 0 in the directory's one-byte fields.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                               len(data), offset)
        blobs += data
        offset += len(data)
    return directory + entries + blobs


def svg():
    def number(value):
        return f"{value:g}"

    def rect(x0, y0, x1, y1, colour):
        return (f'  <rect x="{number(x0)}" y="{number(y0)}" width="{number(x1 - x0)}" '
                f'height="{number(y1 - y0)}" fill="{PALETTE16[colour]}"/>')

    shapes = [
        rect(FILM_LEFT, TOP_STRIP[0], FILM_RIGHT, TOP_STRIP[1], "black"),
        rect(FILM_LEFT, TOP_STRIP[1], FILM_RIGHT, BOTTOM_STRIP[0], "teal"),
        rect(FILM_LEFT, BOTTOM_STRIP[0], FILM_RIGHT, BOTTOM_STRIP[1], "black"),
    ]
    left = FILM_LEFT
    while left < FILM_RIGHT:
        right = min(left + HOLE_WIDTH, FILM_RIGHT)
        for top, bottom in (TOP_HOLES, BOTTOM_HOLES):
            shapes.append(rect(left, top, right, bottom, "silver"))
        left += HOLE_PITCH
    shapes += [
        f'  <circle cx="{number(FACE_X)}" cy="{number(FACE_Y)}" r="{number(RIM_RADIUS)}" '
        f'fill="{PALETTE16["black"]}"/>',
        f'  <circle cx="{number(FACE_X)}" cy="{number(FACE_Y)}" '
        f'r="{number(RIM_RADIUS - RIM_WIDTH)}" fill="{PALETTE16["white"]}"/>',
        # The hour hand lies over the minute hand where they meet, as in the raster images.
        rect(MINUTE_HAND[0], FACE_Y - HAND_HALF_WIDTH, MINUTE_HAND[1], FACE_Y + HAND_HALF_WIDTH,
             "red"),
        rect(FACE_X - HAND_HALF_WIDTH, HOUR_HAND[0], FACE_X + HAND_HALF_WIDTH, HOUR_HAND[1],
             "navy"),
    ]
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" '
            'viewBox="0 0 32 32">\n'
            "  <title>Vorlane</title>\n" + "\n".join(shapes) + "\n</svg>\n")


def main():
    root = Path(__file__).resolve().parent.parent
    out = root / "qt" / "icons"
    out.mkdir(parents=True, exist_ok=True)
    (out / "icon32-2.xpm").write_text(xpm("icon32_2", 32, True))
    (out / "icon32-16.xpm").write_text(xpm("icon32_16", 32, False))
    (out / "icon16-16.xpm").write_text(xpm("icon16_16", 16, False))

    theme = root / "packaging" / "icons" / "hicolor"
    for size in THEME_SIZES:
        folder = theme / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        (folder / f"{APP_ID}.png").write_bytes(png(size))
    folder = theme / "scalable" / "apps"
    folder.mkdir(parents=True, exist_ok=True)
    (folder / f"{APP_ID}.svg").write_text(svg())

    out = root / "win32" / "icons"
    out.mkdir(parents=True, exist_ok=True)
    (out / "vorlane.ico").write_bytes(ico())
    return 0


if __name__ == "__main__":
    sys.exit(main())
