#!/usr/bin/python3
"""Make the program's resources and the splash picture.

    resources/icon-<size>.png   the program icon (907) at 16 ... 256 pixels;
                                icon-32.png is the one of the about box
    resources/icon.svg          the same icon as a scalable picture for the
                                desktop's icon theme, the glyphs as outlines
    resources/cursor-904.png    the normal cursor, 32 x 32, black and white
    resources/cursor-905.png    the pressed cursor
    resources/cursors.txt       "<id> <hot spot x> <hot spot y>" per cursor
    resources/iconstrip.bmp     the toolbar and menu icons (902), 160 x 16,
                                a 4-bit BMP with the standard 16 colours
    resources/iconstrip-32.bmp  the same icons drawn at twice the size (903),
                                320 x 32, for screens of twice the density
    data/Splash.bmp             the start-up picture, 480 x 300, 24-bit

Everything is drawn here; two runs give the same bytes.

Usage: make_resources.py [repository root]   (default: two levels up)
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tilesets"))
sys.path.insert(0, HERE)
import bmpfile  # noqa: E402
import make_tilesets as tiles  # noqa: E402
import pixelart  # noqa: E402

TITLE = "Velmora's mah-jong v2.0"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SIDES = (184, 120, 24)  # the game's default colour of tile sides


# ---------------------------------------------------------------------------
# icon strip

def icon_strip_indices():
    keys = pixelart.PALETTE_KEYS
    width = 16 * len(pixelart.ICONS)
    indices = [keys.index(".")] * (width * 16)
    for n, art in enumerate(pixelart.ICONS):
        if len(art) != 16 or any(len(row) != 16 for row in art):
            raise ValueError("icon %d is not 16 x 16" % n)
        for y, row in enumerate(art):
            for x, ch in enumerate(row):
                indices[y * width + 16 * n + x] = keys.index(ch)
    return indices, width


def scale2x(indices, width, height):
    """The picture at twice the size, pixel art kept sharp: each pixel becomes
    four, and a corner takes the colour of its two neighbours where they agree
    (and the picture does not run on straight there), so that steps along a
    diagonal become smooth edges instead of big blocks."""
    out = [0] * (4 * width * height)

    def at(x, y):
        x = min(max(x, 0), width - 1)
        y = min(max(y, 0), height - 1)
        return indices[y * width + x]

    for y in range(height):
        for x in range(width):
            p = at(x, y)
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            e0 = a if c == a and c != d and a != b else p
            e1 = b if a == b and a != c and b != d else p
            e2 = c if d == c and d != b and c != a else p
            e3 = d if b == d and b != a and d != c else p
            row = 2 * y * 2 * width
            out[row + 2 * x], out[row + 2 * x + 1] = e0, e1
            out[row + 2 * width + 2 * x], out[row + 2 * width + 2 * x + 1] = e2, e3
    return out


def icon_strip_image():
    indices, width = icon_strip_indices()
    img = Image.new("RGB", (width, 16))
    img.putdata([pixelart.PALETTE[i] for i in indices])
    return img


# ---------------------------------------------------------------------------
# cursors

def cursor_image(art):
    if len(art) != 32 or any(len(row) != 32 for row in art):
        raise ValueError("a cursor is 32 x 32")
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    colours = {"X": (0, 0, 0, 255), "o": (255, 255, 255, 255), ".": (0, 0, 0, 0)}
    img.putdata([colours[ch] for row in art for ch in row])
    return img


# ---------------------------------------------------------------------------
# program icon: a tile with a red "中", and at the larger sizes a second
# tile with the green "發" behind it

def draw_tile(d, x, y, w, h, side, glyph, colour, font_kind, scale):
    """A tile seen from the lower left: face at (x, y), sides of 'side'."""
    outline = (40, 28, 10)
    lw = max(1, int(round(scale)))
    # sides: one polygon down and to the left of the face
    d.polygon([(x, y), (x, y + h), (x + w, y + h), (x + w - side, y + h + side),
               (x - side, y + h + side), (x - side, y + side)],
              fill=SIDES, outline=outline)
    d.line([(x - side, y + side), (x - side, y + h + side),
            (x + w - side, y + h + side)], fill=outline, width=lw)
    d.line([(x, y), (x - side, y + side)], fill=outline, width=lw)
    d.line([(x + w, y + h), (x + w - side, y + h + side)], fill=outline, width=lw)
    r = max(1, w // 9)
    d.rounded_rectangle([x, y, x + w, y + h], radius=r, fill=(238, 226, 196),
                        outline=outline, width=lw)
    inset = max(1, w // 14)
    d.rounded_rectangle([x + inset, y + inset, x + w - inset, y + h - inset],
                        radius=max(1, r - inset // 2), fill=(252, 248, 234))
    if glyph:
        probe = tiles.cjk_font(font_kind, 200)
        x0, y0, x1, y1 = d.textbbox((0, 0), glyph, font=probe)
        size = int(200 * min(0.78 * w / (x1 - x0), 0.74 * h / (y1 - y0)))
        f = tiles.cjk_font(font_kind, max(4, size))
        x0, y0, x1, y1 = d.textbbox((0, 0), glyph, font=f)
        d.text((x + w / 2 - (x0 + x1) / 2, y + h / 2 - (y0 + y1) / 2), glyph,
               font=f, fill=colour)


def program_icon(size):
    if size == 16:
        art = pixelart.ICON_16
        img = Image.new("RGBA", (16, 16))
        img.putdata([pixelart.ICON_16_COLOURS[ch] for row in art for ch in row])
        return img
    ss = 8 if size <= 64 else 4
    n = size * ss
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    kind = "sans"
    if size >= 32:
        side = int(n * 0.09)
        w, h = int(n * 0.56), int(n * 0.72)
        draw_tile(d, n - w - int(n * 0.03), int(n * 0.02), w, h, side,
                  "發", (16, 110, 58), kind, ss)
        draw_tile(d, int(n * 0.12), n - h - side - int(n * 0.02), w, h, side,
                  "中", (200, 24, 32), kind, ss)
    else:
        side = max(ss, int(n * 0.12))
        w, h = int(n * 0.76), n - side - ss
        draw_tile(d, n - w - ss // 2, ss // 2, w, h, side, "中", (210, 20, 28),
                  kind, ss)
    return img.resize((size, size), Image.LANCZOS)


# ---------------------------------------------------------------------------
# the program icon as SVG: the two tiles of the larger icons, drawn on a
# 256-unit square; the glyphs are the font's own outlines, so the picture
# needs no font where it is shown

SVG_UNIT = 256


def colour(rgb):
    return "#%02x%02x%02x" % rgb


def glyph_path(glyph, kind, box):
    """An SVG path of glyph placed in box (x, y, w, h) as draw_tile places it
    on a picture four times as large: the same font size and position, with
    the same measurements, so the SVG matches the pixel icons."""
    from fontTools.pens.svgPathPen import SVGPathPen
    from fontTools.pens.transformPen import TransformPen
    from fontTools.ttLib import TTCollection, TTFont

    ss = 4
    x, y, w, h = (ss * v for v in box)
    d = ImageDraw.Draw(Image.new("L", (1, 1)))
    x0, y0, x1, y1 = d.textbbox((0, 0), glyph, font=tiles.cjk_font(kind, 200))
    size = max(4, int(200 * min(0.78 * w / (x1 - x0), 0.74 * h / (y1 - y0))))
    f = tiles.cjk_font(kind, size)
    x0, y0, x1, y1 = d.textbbox((0, 0), glyph, font=f)
    ascent = f.getmetrics()[0]
    # the pen sits on the baseline at the left of the glyph's text box
    origin_x = (x + w / 2 - (x0 + x1) / 2) / ss
    origin_y = (y + h / 2 - (y0 + y1) / 2 + ascent) / ss

    path = tiles.font_path(kind)
    font = TTCollection(path).fonts[tiles.TC_INDEX] if path.endswith(".ttc") else TTFont(path)
    glyphs = font.getGlyphSet()
    scale = size / font["head"].unitsPerEm / ss
    svg = SVGPathPen(glyphs, ntos=lambda v: ("%.2f" % v).rstrip("0").rstrip("."))
    # font units run upwards
    glyphs[font.getBestCmap()[ord(glyph)]].draw(TransformPen(svg, (scale, 0, 0, -scale, origin_x, origin_y)))
    return svg.getCommands()


def svg_tile(x, y, w, h, side, glyph, ink):
    """The SVG of one tile as draw_tile draws it, face at (x, y)."""
    outline = colour((40, 28, 10))
    r = max(1, w // 9)
    inset = max(1, w // 14)
    sides = [(x, y), (x, y + h), (x + w, y + h), (x + w - side, y + h + side),
             (x - side, y + h + side), (x - side, y + side)]
    parts = [
        '<polygon points="%s" fill="%s" stroke="%s" stroke-width="0.25"/>'
        % (" ".join("%d,%d" % p for p in sides), colour(SIDES), outline),
        '<path d="M%d,%d L%d,%d M%d,%d L%d,%d" stroke="%s" stroke-width="1"/>'
        % (x, y, x - side, y + side, x + w, y + h, x + w - side, y + h + side, outline),
        '<rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="#eee2c4" stroke="%s" stroke-width="1"/>'
        % (x, y, w, h, r, outline),
        '<rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="#fcf8ea"/>'
        % (x + inset, y + inset, w - 2 * inset, h - 2 * inset, max(1, r - inset // 2)),
        '<path d="%s" fill="%s"/>' % (glyph_path(glyph, "sans", (x, y, w, h)), colour(ink)),
    ]
    return "\n  ".join(parts)


def program_icon_svg():
    n = SVG_UNIT
    side = int(n * 0.09)
    w, h = int(n * 0.56), int(n * 0.72)
    back = svg_tile(n - w - int(n * 0.03), int(n * 0.02), w, h, side, "發", (16, 110, 58))
    front = svg_tile(int(n * 0.12), n - h - side - int(n * 0.02), w, h, side, "中", (200, 24, 32))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
            '  <title>%s</title>\n  %s\n  %s\n</svg>\n' % (n, n, n, n, TITLE.replace("'", "&#39;"), back, front))


# ---------------------------------------------------------------------------
# splash picture

def splash():
    width, height = 480, 300
    top, bottom = (18, 70, 44), (8, 40, 26)
    img = Image.new("RGB", (width, height))
    grad = Image.linear_gradient("L").resize((width, height))
    img = Image.composite(Image.new("RGB", (width, height), bottom),
                          Image.new("RGB", (width, height), top), grad)
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, width - 1, height - 1], outline=(196, 160, 80), width=3)
    d.rectangle([7, 7, width - 8, height - 8], outline=(120, 100, 50), width=1)

    # a row of tiles as the game draws them, with sides below and to the left
    st = tiles.STYLES["STANDARD"]
    tiles.CURRENT["flat"] = st["flat"]
    fw, fh = 58, 75
    shift = 7

    def put(x, y, row, col):
        d.rectangle([x - shift, y + fh, x - shift + fw - 1, y + fh + shift - 1], fill=SIDES)
        d.rectangle([x - shift, y + shift, x - 1, y + fh - 1], fill=SIDES)
        for i in range(1, shift):
            d.line([(x - i, y + i), (x - i, y + shift)], fill=SIDES)
        d.line([(x - 1, y + 1), (x - shift, y + shift)], fill=(0, 0, 0))
        d.line([(x - shift, y + shift), (x - shift, y + shift + fh)], fill=(0, 0, 0))
        d.line([(x - shift, y + shift + fh - 1), (x - shift + fw, y + shift + fh - 1)],
               fill=(0, 0, 0))
        d.line([(x + fw - 1, y + fh), (x + fw - 1 - shift, y + fh + shift)], fill=(0, 0, 0))
        face = tiles.face_picture(st, row, col).resize((fw, fh), Image.LANCZOS)
        img.paste(face, (x, y))

    faces = [(4, 4), (0, 0), (1, 0), (2, 4), (4, 0), (3, 0), (4, 5)]
    gap = 8
    total = len(faces) * fw + (len(faces) - 1) * gap
    x0 = (width - total) // 2 + shift // 2
    for i, (row, col) in enumerate(faces):
        # every second tile sits a little higher, like a loose hand of tiles
        put(x0 + i * (fw + gap), 132 + (0 if i % 2 else 10), row, col)

    font = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf", 32)
    x0, y0, x1, y1 = d.textbbox((0, 0), TITLE, font=font)
    tx = (width - (x1 - x0)) // 2 - x0
    ty = 30 - y0
    d.text((tx + 2, ty + 2), TITLE, font=font, fill=(0, 20, 10))
    d.text((tx, ty), TITLE, font=font, fill=(240, 206, 110))
    small = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 15)
    sub = "mah-jong solitaire"
    x0, y0, x1, y1 = d.textbbox((0, 0), sub, font=small)
    d.text(((width - (x1 - x0)) // 2 - x0, 250), sub, font=small, fill=(200, 220, 200))
    return img


# ---------------------------------------------------------------------------

def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..")
    res = os.path.join(root, "resources")
    data = os.path.join(root, "data")
    os.makedirs(res, exist_ok=True)
    os.makedirs(data, exist_ok=True)

    indices, width = icon_strip_indices()
    bmpfile.write_file(os.path.join(res, "iconstrip.bmp"),
                       bmpfile.bmp4_bytes(indices, width, 16, pixelart.PALETTE))
    bmpfile.write_file(os.path.join(res, "iconstrip-32.bmp"),
                       bmpfile.bmp4_bytes(scale2x(indices, width, 16), 2 * width, 32, pixelart.PALETTE))

    lines = []
    for (ident, art, (hx, hy)) in pixelart.CURSORS:
        cursor_image(art).save(os.path.join(res, "cursor-%d.png" % ident),
                               optimize=False)
        lines.append("%d %d %d" % (ident, hx, hy))
    with open(os.path.join(res, "cursors.txt"), "w") as out:
        out.write("# cursor id, hot spot x, hot spot y (pixels from the top left)\n")
        out.write("\n".join(lines) + "\n")

    for size in ICON_SIZES:
        program_icon(size).save(os.path.join(res, "icon-%d.png" % size), optimize=False)
    with open(os.path.join(res, "icon.svg"), "w", encoding="utf-8") as out:
        out.write(program_icon_svg())

    bmpfile.write_file(os.path.join(data, "Splash.bmp"), bmpfile.bmp24_bytes(splash()))
    print("wrote resources/ and data/Splash.bmp")


if __name__ == "__main__":
    main()
