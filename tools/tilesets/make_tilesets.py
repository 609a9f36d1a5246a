#!/usr/bin/python3
"""Draw the tile-set pictures of the game.

Each tile set is a 24-bit BMP holding a grid of 9 x 5 equal cells, each cell
one complete tile face as it appears on screen:

    row 0: dots 1-9            (faces 1-9)
    row 1: bamboos 1-9         (faces 10-18)
    row 2: characters 1-9      (faces 19-27)
    row 3: flowers 1-4 (cols 0-3, faces 28-31), seasons 1-4 (cols 4-7,
           faces 36-39), col 8 unused
    row 4: winds E S W N (cols 0-3, faces 32-35), dragons red, green, white
           (cols 4-6, faces 40-42), col 7 the hidden face, col 8 unused

Every face is drawn at SUPER times its size and reduced with a Lanczos
filter.  Nothing random is used, so two runs give the same bytes.

Usage: make_tilesets.py [output directory]   (default: data/TILESETS)
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bmpfile  # noqa: E402

CELL_W = 120
CELL_H = 156
SUPER = 4
COLUMNS = 9
ROWS = 5

FONT_DIR = "/usr/share/fonts/opentype/noto"
FONT_FILES = {
    "serif": ("NotoSerifCJK-Bold.ttc", "Noto Serif CJK TC:bold"),
    "sans": ("NotoSansCJK-Bold.ttc", "Noto Sans CJK TC:bold"),
}
# index of the traditional-Chinese face inside the Noto CJK collections
TC_INDEX = 3
LATIN_FONTS = {
    "serif": "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "sans": "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
}

NUMERALS = "一二三四五六七八九"
WINDS = "東南西北"
WIND_LETTERS = "ESWN"
FLOWER_LABELS = "梅蘭菊竹"
SEASON_LABELS = "春夏秋冬"

_font_cache = {}


def font_path(kind):
    name, pattern = FONT_FILES[kind]
    path = os.path.join(FONT_DIR, name)
    if os.path.exists(path):
        return path
    # fall back to fontconfig when the fonts live elsewhere
    import subprocess
    found = subprocess.run(["fc-match", "-f", "%{file}", pattern],
                           capture_output=True, text=True).stdout.strip()
    if not found:
        sys.exit("make_tilesets: Noto CJK fonts not found (install fonts-noto-cjk)")
    return found


def cjk_font(kind, size):
    key = ("cjk", kind, size)
    if key not in _font_cache:
        path = font_path(kind)
        index = TC_INDEX if path.endswith(".ttc") else 0
        _font_cache[key] = ImageFont.truetype(path, size, index=index)
    return _font_cache[key]


def latin_font(kind, size):
    key = ("latin", kind, size)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(LATIN_FONTS[kind], size)
    return _font_cache[key]


# ---------------------------------------------------------------------------
# styles

STYLES = {
    "STANDARD": {
        "edge": (120, 96, 62),
        "body": (214, 198, 160),
        "face_top": (252, 248, 234),
        "face_bottom": (236, 226, 198),
        "highlight": (255, 255, 248),
        "red": (190, 28, 36),
        "green": (16, 110, 58),
        "blue": (24, 56, 140),
        "ink": (22, 26, 48),
        "gold": (196, 140, 30),
        "bamboo_dark": (8, 64, 32),
        "bamboo_light": (120, 196, 130),
        "font": "serif",
        "dots": "ornate",
        "sticks": "ornate",
        "back": (32, 104, 76),
        "back_line": (196, 170, 96),
        "flat": False,
        "rim": 3,
        "engrave": True,
        "engrave_shade": (120, 96, 60),
    },
    "MODERN": {
        "edge": (0, 70, 80),
        "body": (0, 150, 160),
        "face_top": (255, 255, 255),
        "face_bottom": (255, 255, 255),
        "highlight": (255, 255, 255),
        "red": (232, 36, 64),
        "green": (0, 160, 96),
        "blue": (16, 104, 232),
        "ink": (28, 30, 44),
        "gold": (250, 170, 0),
        "bamboo_dark": (0, 92, 56),
        "bamboo_light": (150, 230, 180),
        "font": "sans",
        "dots": "solid",
        "sticks": "solid",
        "back": (16, 104, 232),
        "back_line": (255, 255, 255),
        "flat": True,
        "rim": 5,
    },
    "JADE": {
        "edge": (12, 46, 32),
        "body": (46, 112, 80),
        "face_top": (216, 240, 218),
        "face_bottom": (168, 214, 180),
        "highlight": (236, 252, 238),
        "red": (172, 22, 34),
        "green": (6, 82, 42),
        "blue": (18, 48, 118),
        "ink": (18, 34, 26),
        "gold": (176, 118, 16),
        "bamboo_dark": (6, 60, 30),
        "bamboo_light": (120, 196, 130),
        "font": "serif",
        "dots": "ornate",
        "sticks": "ornate",
        "back": (132, 28, 30),
        "back_line": (230, 190, 100),
        "flat": False,
        "rim": 3,
        "engrave": True,
        "engrave_shade": (70, 120, 88),
    },
    "NIGHT": {
        "edge": (4, 6, 14),
        "body": (40, 48, 74),
        "face_top": (36, 44, 72),
        "face_bottom": (20, 26, 46),
        "highlight": (90, 104, 150),
        "red": (255, 92, 110),
        "green": (96, 228, 140),
        "blue": (90, 196, 255),
        "ink": (240, 214, 140),
        "gold": (255, 204, 90),
        "bamboo_dark": (20, 96, 60),
        "bamboo_light": (190, 255, 210),
        "font": "sans",
        "dots": "glow",
        "sticks": "flat",
        "back": (70, 40, 110),
        "back_line": (240, 214, 140),
        "flat": False,
        "rim": 3,
    },
}


# ---------------------------------------------------------------------------
# drawing helpers; all coordinates are in pixels of the final cell and are
# multiplied by SUPER here

def s(v):
    return int(round(v * SUPER))


def box(x0, y0, x1, y1):
    return [s(x0), s(y0), s(x1), s(y1)]


def circle(d, cx, cy, r, fill=None, outline=None, width=1):
    if CURRENT["flat"] and fill is not None:
        outline = None
    d.ellipse(box(cx - r, cy - r, cx + r, cy + r), fill=fill,
              outline=outline, width=max(1, s(width)) if outline else 0)


def ring(d, cx, cy, r, width, colour):
    d.ellipse(box(cx - r, cy - r, cx + r, cy + r), outline=colour,
              width=max(1, s(width)))


def line(d, points, colour, width):
    d.line([(s(x), s(y)) for (x, y) in points], fill=colour,
           width=max(1, s(width)), joint="curve")
    # round the ends
    for (x, y) in (points[0], points[-1]):
        circle(d, x, y, width / 2.0, fill=colour)


# the style being drawn; flat styles draw pictures without outlines
CURRENT = {"flat": False}


def polygon(d, points, fill, outline=None, width=1):
    d.polygon([(s(x), s(y)) for (x, y) in points], fill=fill)
    if outline and not CURRENT["flat"]:
        pts = [(s(x), s(y)) for (x, y) in points]
        d.line(pts + [pts[0]], fill=outline, width=max(1, s(width)),
               joint="curve")


def ellipse_points(cx, cy, rx, ry, angle_deg, n=40):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        x, y = rx * math.cos(t), ry * math.sin(t)
        pts.append((cx + x * ca - y * sa, cy + x * sa + y * ca))
    return pts


def petal_points(cx, cy, length, width, angle_deg, n=24):
    """A petal or leaf from (cx, cy) pointing along angle (0 = up)."""
    a = math.radians(angle_deg)
    ux, uy = math.sin(a), -math.cos(a)   # along the petal
    vx, vy = -uy, ux                     # across
    pts = []
    for i in range(n + 1):
        t = i / n
        w = width * math.sin(math.pi * t) ** 0.8 / 2
        pts.append((cx + ux * length * t + vx * w, cy + uy * length * t + vy * w))
    for i in range(n, -1, -1):
        t = i / n
        w = width * math.sin(math.pi * t) ** 0.8 / 2
        pts.append((cx + ux * length * t - vx * w, cy + uy * length * t - vy * w))
    return pts


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def text_centered(d, cx, cy, text, font, colour):
    """Draw text with the centre of its ink box at (cx, cy) (cell pixels)."""
    x0, y0, x1, y1 = d.textbbox((0, 0), text, font=font)
    d.text((s(cx) - (x0 + x1) / 2.0, s(cy) - (y0 + y1) / 2.0), text,
           font=font, fill=colour)


def fitted_size(kind, texts, width, height, cjk=True):
    """Largest font size (super pixels) at which every text fits the box."""
    probe = 200
    f = cjk_font(kind, probe) if cjk else latin_font(kind, probe)
    scratch = ImageDraw.Draw(Image.new("L", (1, 1)))
    worst = 10.0
    for t in texts:
        x0, y0, x1, y1 = scratch.textbbox((0, 0), t, font=f)
        worst = min(worst, s(width) / (x1 - x0), s(height) / (y1 - y0))
    return int(probe * worst)


# ---------------------------------------------------------------------------
# the tile face

def new_face(st):
    w, h = s(CELL_W), s(CELL_H)
    img = Image.new("RGB", (w, h), st["edge"])
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(box(0.6, 0.6, CELL_W - 0.6, CELL_H - 0.6), radius=s(9),
                        fill=st["body"])
    # inner face: a gentle vertical gradient, a little off centre towards the
    # top left so that the rim looks like a bevel
    grad = Image.linear_gradient("L").resize((w, h))
    top = Image.new("RGB", (w, h), st["face_top"])
    bottom = Image.new("RGB", (w, h), st["face_bottom"])
    face = Image.composite(bottom, top, grad)
    mask = Image.new("L", (w, h), 0)
    rim = st["rim"]
    ImageDraw.Draw(mask).rounded_rectangle(box(rim, rim, CELL_W - rim - 1.5,
                                               CELL_H - rim - 1.5),
                                           radius=s(10 - rim), fill=255)
    img.paste(face, (0, 0), mask)
    if not st["flat"]:
        # a thin light line along the top and left inner edge
        d.arc(box(3, 3, 17, 17), 180, 270, fill=st["highlight"], width=s(0.8))
        d.line(box(10, 3.4, CELL_W - 11, 3.4), fill=st["highlight"], width=s(0.8))
        d.line(box(3.4, 10, 3.4, CELL_H - 12), fill=st["highlight"], width=s(0.8))
    return img


def finish(img):
    return img.resize((CELL_W, CELL_H), Image.LANCZOS)


# ---------------------------------------------------------------------------
# dots

def coin(d, cx, cy, r, colour, st, ornament=True):
    face = st["face_top"]
    style = st["dots"]
    if style == "solid":
        circle(d, cx, cy, r, fill=colour)
        circle(d, cx, cy, r * 0.34, fill=face)
        return
    if style == "glow":
        circle(d, cx, cy, r, fill=mix(colour, st["face_bottom"], 0.7))
        ring(d, cx, cy, r, r * 0.22, colour)
        ring(d, cx, cy, r * 0.56, r * 0.17, colour)
        circle(d, cx, cy, r * 0.22, fill=mix(colour, (255, 255, 255), 0.45))
        return
    # ornate: outer band, thin face ring, inner disc with a ring of beads
    circle(d, cx, cy, r, fill=colour)
    circle(d, cx, cy, r * 0.82, fill=face)
    circle(d, cx, cy, r * 0.70, fill=colour)
    if ornament:
        n = 8
        for k in range(n):
            a = 2 * math.pi * k / n
            circle(d, cx + r * 0.46 * math.cos(a), cy + r * 0.46 * math.sin(a),
                   r * 0.10, fill=face)
    circle(d, cx, cy, r * 0.24, fill=face)
    circle(d, cx, cy, r * 0.13, fill=colour)


def big_dot(d, st):
    cx, cy = CELL_W / 2, CELL_H / 2
    if st["dots"] == "solid":
        circle(d, cx, cy, 44, fill=st["green"])
        circle(d, cx, cy, 36, fill=st["face_top"])
        for k in range(12):
            a = 2 * math.pi * k / 12
            circle(d, cx + 29 * math.cos(a), cy + 29 * math.sin(a), 5,
                   fill=st["red"] if k % 2 else st["blue"])
        circle(d, cx, cy, 20, fill=st["red"])
        circle(d, cx, cy, 8, fill=st["face_top"])
        return
    if st["dots"] == "glow":
        for r, c in ((44, st["green"]), (34, st["blue"]), (22, st["red"])):
            circle(d, cx, cy, r, fill=mix(c, st["face_bottom"], 0.8))
            ring(d, cx, cy, r, 3.2, c)
        for k in range(16):
            a = 2 * math.pi * (k + 0.5) / 16
            circle(d, cx + 39 * math.cos(a), cy + 39 * math.sin(a), 2.2,
                   fill=st["gold"])
        circle(d, cx, cy, 8, fill=mix(st["red"], (255, 255, 255), 0.4))
        return
    # ornate: green outer ring, a wreath of petals, a red and blue centre
    face = st["face_top"]
    circle(d, cx, cy, 45, fill=st["green"])
    circle(d, cx, cy, 41, fill=face)
    for k in range(16):
        a = 360.0 * k / 16
        colour = st["blue"] if k % 2 == 0 else st["green"]
        polygon(d, petal_points(cx + 19 * math.sin(math.radians(a)),
                                cy - 19 * math.cos(math.radians(a)),
                                20, 9, a), fill=colour)
    circle(d, cx, cy, 22, fill=st["red"])
    circle(d, cx, cy, 18.5, fill=face)
    circle(d, cx, cy, 16, fill=st["red"])
    for k in range(8):
        a = 2 * math.pi * k / 8
        circle(d, cx + 10 * math.cos(a), cy + 10 * math.sin(a), 2.4, fill=face)
    circle(d, cx, cy, 4.5, fill=face)
    circle(d, cx, cy, 2.4, fill=st["blue"])


def draw_dots(d, n, st):
    R, G, B = st["red"], st["green"], st["blue"]
    if n == 1:
        big_dot(d, st)
        return
    layouts = {
        2: (22, [(60, 44, G), (60, 112, B)]),
        3: (17.5, [(30, 36, B), (60, 78, R), (90, 120, G)]),
        4: (19, [(36, 46, B), (84, 46, G), (36, 110, G), (84, 110, B)]),
        5: (16.5, [(32, 38, B), (88, 38, G), (60, 78, R), (32, 118, G), (88, 118, B)]),
        6: (16.5, [(38, 30, G), (82, 30, G), (38, 84, R), (82, 84, R),
                   (38, 122, R), (82, 122, R)]),
        7: (13.5, [(28, 24, G), (60, 40, G), (92, 56, G),
                   (40, 96, R), (80, 96, R), (40, 130, R), (80, 130, R)]),
        8: (15, [(38, 28, B), (82, 28, B), (38, 61, B), (82, 61, B),
                 (38, 95, B), (82, 95, B), (38, 128, B), (82, 128, B)]),
        9: (15, [(28, 36, B), (60, 36, B), (92, 36, B),
                 (28, 78, R), (60, 78, R), (92, 78, R),
                 (28, 120, G), (60, 120, G), (92, 120, G)]),
    }
    r, spots = layouts[n]
    for (x, y, c) in spots:
        coin(d, x, y, r, c, st, ornament=r >= 15)


# ---------------------------------------------------------------------------
# bamboos

def stick_upright(d, cx, cy, length, width, colour, st):
    dark = mix(colour, (0, 0, 0), 0.55)
    light = mix(colour, (255, 255, 255), 0.55)
    x0, x1 = cx - width / 2, cx + width / 2
    y0, y1 = cy - length / 2, cy + length / 2
    if st["sticks"] == "solid":
        d.rounded_rectangle(box(x0, y0, x1, y1), radius=s(width / 2), fill=colour)
        d.rectangle(box(x0, cy - width * 0.09, x1, cy + width * 0.09),
                    fill=st["face_top"])
        return
    if st["sticks"] == "flat":
        d.rounded_rectangle(box(x0, y0, x1, y1), radius=s(width * 0.45), fill=colour)
        d.rectangle(box(x0, cy - width * 0.16, x1, cy + width * 0.16),
                    fill=st["face_top"])
        d.rounded_rectangle(box(cx - width * 0.12, y0 + width * 0.5,
                                cx + width * 0.12, cy - width * 0.45),
                            radius=s(width * 0.1), fill=light)
        d.rounded_rectangle(box(cx - width * 0.12, cy + width * 0.45,
                                cx + width * 0.12, y1 - width * 0.5),
                            radius=s(width * 0.1), fill=light)
        return
    d.rounded_rectangle(box(x0, y0, x1, y1), radius=s(width * 0.35), fill=colour,
                        outline=dark, width=s(1.0))
    # two segments with a vein down each and a highlight on the left
    for (a, b) in ((y0, cy), (cy, y1)):
        d.line(box(cx, a + width * 0.45, cx, b - width * 0.45), fill=dark,
               width=s(max(1.0, width * 0.1)))
        d.line(box(x0 + width * 0.26, a + width * 0.4, x0 + width * 0.26,
                   b - width * 0.4), fill=light, width=s(max(0.8, width * 0.1)))
    # the nodes: a little wider than the stick
    for y in (y0 + width * 0.12, cy, y1 - width * 0.12):
        d.rounded_rectangle(box(x0 - width * 0.1, y - width * 0.16,
                                x1 + width * 0.1, y + width * 0.16),
                            radius=s(width * 0.12), fill=dark)


def stick(img, cx, cy, length, width, colour, st, angle=0.0):
    if angle == 0.0:
        stick_upright(ImageDraw.Draw(img), cx, cy, length, width, colour, st)
        return
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    stick_upright(ImageDraw.Draw(layer), cx, cy, length, width, colour, st)
    layer = layer.rotate(angle, resample=Image.BICUBIC, center=(s(cx), s(cy)))
    img.alpha_composite(layer)


def bird(img, st):
    d = ImageDraw.Draw(img)
    G, R, B = st["green"], st["red"], st["blue"]
    gold = st["gold"]
    brown = (120, 72, 30) if not st["flat"] else (150, 90, 40)
    if st["dots"] == "glow":
        brown = (200, 150, 90)
    # perch
    line(d, [(14, 134), (60, 130), (106, 136)], brown, 4.5)
    polygon(d, petal_points(84, 134, 16, 7, 150), fill=G)
    polygon(d, petal_points(30, 132, 14, 6, 210), fill=G)
    # tail: three long feathers sweeping up to the right, each with an eye
    for (ang, length, colour) in ((24, 60, G), (45, 60, B), (66, 52, G)):
        pts = petal_points(70, 90, length, 15, ang)
        polygon(d, pts, fill=colour, outline=mix(colour, (0, 0, 0), 0.4), width=0.8)
        a = math.radians(ang)
        ex, ey = 70 + math.sin(a) * length * 0.74, 90 - math.cos(a) * length * 0.74
        circle(d, ex, ey, 5.5, fill=gold)
        circle(d, ex, ey, 3.2, fill=B if colour == G else R)
    # legs
    line(d, [(56, 104), (52, 129)], gold, 2.6)
    line(d, [(66, 104), (68, 129)], gold, 2.6)
    # body and breast
    polygon(d, ellipse_points(58, 88, 25, 18, -25), fill=G,
            outline=mix(G, (0, 0, 0), 0.45), width=1.0)
    polygon(d, ellipse_points(46, 94, 14, 11, -40), fill=R)
    # wing with three feather lines
    wing = ellipse_points(64, 84, 17, 9.5, -28)
    polygon(d, wing, fill=mix(G, (0, 0, 0), 0.3))
    for k in range(3):
        line(d, [(58 + k * 5, 80 + k * 2), (76 + k * 3, 78 + k * 5)],
             mix(G, (255, 255, 255), 0.45), 1.1)
    # neck and head
    polygon(d, [(38, 62), (50, 60), (52, 82), (40, 86)], fill=B)
    circle(d, 40, 56, 12, fill=B)
    # crest
    for k, (tx, ty) in enumerate(((34, 34), (41, 31), (48, 34))):
        line(d, [(40, 46), (tx, ty)], mix(B, (0, 0, 0), 0.3), 1.4)
        circle(d, tx, ty, 2.6, fill=R if k == 1 else gold)
    # eye and beak
    circle(d, 36, 54, 4, fill=(255, 255, 255))
    circle(d, 35.2, 54, 2.1, fill=(10, 10, 10))
    polygon(d, [(29, 55), (18, 61), (30, 63)], fill=gold)


def draw_bamboos(img, n, st):
    G, R, B = st["green"], st["red"], st["blue"]
    if n == 1:
        bird(img, st)
        return
    L, W = 60, 17
    spots = {
        2: [(60, 46, G), (60, 110, B)],
        3: [(60, 46, B), (38, 110, G), (82, 110, G)],
        4: [(38, 46, B), (82, 46, G), (38, 110, G), (82, 110, B)],
        5: [(28, 46, G), (92, 46, B), (60, 78, R), (28, 110, B), (92, 110, G)],
        6: [(28, 46, G), (60, 46, G), (92, 46, G),
            (28, 110, B), (60, 110, B), (92, 110, B)],
    }
    if n in spots:
        for (x, y, c) in spots[n]:
            stick(img, x, y, L, 14 if n >= 5 else W, c, st)
        return
    if n == 7:
        stick(img, 60, 29, 40, 12.5, R, st)
        for x in (28, 60, 92):
            stick(img, x, 79, 40, 12.5, G, st)
            stick(img, x, 126, 40, 12.5, B, st)
        return
    if n == 8:
        # an M above a W
        for (x, ang) in ((21, 0.0), (47, -20.0), (73, 20.0), (99, 0.0)):
            stick(img, x, 46, 58, 12, G, st, ang)
        for (x, ang) in ((21, 0.0), (47, 20.0), (73, -20.0), (99, 0.0)):
            stick(img, x, 110, 58, 12, B, st, ang)
        return
    if n == 9:
        for (x, c) in ((28, G), (60, R), (92, B)):
            for y in (32, 78, 124):
                stick(img, x, y, 40, 12.5, c, st)


# ---------------------------------------------------------------------------
# characters, winds, dragons

def draw_character(d, n, st):
    kind = st["font"]
    size = fitted_size(kind, NUMERALS, 90, 60)
    f = cjk_font(kind, size)
    # one font size for all numerals, so that the flat ones stay flat
    text_centered(d, CELL_W / 2, 41, NUMERALS[n - 1], f, st["ink"])
    size = fitted_size(kind, "萬", 84, 70)
    text_centered(d, CELL_W / 2, 110, "萬", cjk_font(kind, size), st["red"])


def draw_wind(d, n, st):
    kind = st["font"]
    size = fitted_size(kind, WINDS, 88, 104)
    text_centered(d, CELL_W / 2, 84, WINDS[n], cjk_font(kind, size), st["ink"])
    corner_label(d, WIND_LETTERS[n], st["red"], st)


def corner_label(d, text, colour, st):
    f = latin_font(st["font"], s(21))
    text_centered(d, 16, 18, text, f, colour)


def draw_dragon(d, n, st):
    kind = st["font"]
    if n == 0:
        size = fitted_size(kind, "中", 92, 118)
        text_centered(d, CELL_W / 2, 80, "中", cjk_font(kind, size), st["red"])
    elif n == 1:
        size = fitted_size(kind, "發", 94, 118)
        text_centered(d, CELL_W / 2, 80, "發", cjk_font(kind, size), st["green"])
    else:
        c = st["blue"]
        d.rounded_rectangle(box(20, 22, 100, 134), radius=s(3), outline=c, width=s(7))
        d.rectangle(box(31, 33, 89, 123), outline=c, width=s(2))
        for (x, y) in ((20, 22), (100, 22), (20, 134), (100, 134)):
            d.rectangle(box(x - 5, y - 5, x + 5, y + 5), fill=c)
            d.rectangle(box(x - 2, y - 2, x + 2, y + 2), fill=st["face_top"])


# ---------------------------------------------------------------------------
# flowers and seasons

def bonus_labels(d, number, label, colour, st):
    f = latin_font(st["font"], s(25))
    text_centered(d, 16, 19, str(number), f, colour)
    size = s(17)
    text_centered(d, CELL_W - 16, 17, label, cjk_font(st["font"], size), colour)


def plum(img, st):
    d = ImageDraw.Draw(img)
    brown = (96, 56, 28) if st["dots"] != "glow" else (190, 140, 90)
    line(d, [(18, 146), (44, 112), (58, 84), (84, 50), (104, 36)], brown, 6)
    line(d, [(58, 84), (36, 70), (24, 50)], brown, 4)
    line(d, [(84, 50), (90, 72)], brown, 3)
    pink = (236, 96, 140)
    deep = (196, 40, 90)
    for (cx, cy, r) in ((44, 62, 17), (78, 86, 15), (62, 130, 13), (94, 38, 9)):
        for k in range(5):
            a = 2 * math.pi * k / 5 - math.pi / 2
            circle(d, cx + r * 0.55 * math.cos(a), cy + r * 0.55 * math.sin(a),
                   r * 0.5, fill=pink, outline=deep, width=0.8)
        circle(d, cx, cy, r * 0.3, fill=(250, 210, 60))
        for k in range(5):
            a = 2 * math.pi * (k + 0.5) / 5 - math.pi / 2
            circle(d, cx + r * 0.36 * math.cos(a), cy + r * 0.36 * math.sin(a),
                   r * 0.08, fill=deep)
    circle(d, 24, 48, 4, fill=deep)
    circle(d, 92, 74, 3.5, fill=deep)


def orchid(img, st):
    d = ImageDraw.Draw(img)
    leaf = (40, 140, 70) if st["dots"] != "glow" else (90, 210, 130)
    # long arching leaves from a clump at the bottom
    for (ang, length, width) in ((-30, 80, 9), (-9, 100, 8), (11, 94, 9),
                                 (28, 76, 8), (-44, 48, 7), (42, 48, 7)):
        pts = []
        a = math.radians(ang)
        for i in range(21):
            t = i / 20
            bend = math.radians(ang * 0.45 * t)
            x = 60 + math.sin(a + bend) * length * t
            y = 146 - math.cos(a + bend) * length * t * 1.05
            pts.append((x, y))
        for i in range(20):
            x0, y0 = pts[i]
            x1, y1 = pts[i + 1]
            w = width * math.sin(math.pi * (i + 0.5) / 20 * 0.9 + 0.15)
            line(d, [(x0, y0), (x1, y1)], leaf, max(1.2, w))
    violet = (150, 70, 190)
    light = (210, 160, 235)
    for (cx, cy, sz) in ((42, 50, 1.0), (80, 70, 0.9)):
        for ang in (0, 72, 144, 216, 288):
            polygon(d, petal_points(cx, cy, 22 * sz, 12 * sz, ang),
                    fill=violet if ang in (0, 144, 216) else light,
                    outline=mix(violet, (0, 0, 0), 0.3), width=0.7)
        circle(d, cx, cy, 4.5 * sz, fill=(250, 220, 80))
        circle(d, cx, cy + 2, 2 * sz, fill=(200, 40, 80))


def chrysanthemum(img, st):
    d = ImageDraw.Draw(img)
    leaf = (50, 130, 60) if st["dots"] != "glow" else (90, 210, 130)
    line(d, [(60, 146), (62, 116), (58, 88)], leaf, 5)
    polygon(d, petal_points(61, 128, 34, 15, -60), fill=leaf)
    polygon(d, petal_points(61, 120, 30, 14, 62), fill=leaf)
    cx, cy = 60, 70
    outer = (230, 140, 20)
    inner = (252, 200, 40)
    for k in range(24):
        a = 360.0 * k / 24
        polygon(d, petal_points(cx, cy, 40, 9, a), fill=outer,
                outline=mix(outer, (0, 0, 0), 0.35), width=0.6)
    for k in range(16):
        a = 360.0 * (k + 0.5) / 16
        polygon(d, petal_points(cx, cy, 27, 9, a), fill=inner,
                outline=mix(outer, (0, 0, 0), 0.2), width=0.6)
    circle(d, cx, cy, 9, fill=(190, 90, 20))
    circle(d, cx, cy, 5, fill=(120, 50, 10))


def bamboo_plant(img, st):
    d = ImageDraw.Draw(img)
    stem = (70, 150, 60) if st["dots"] != "glow" else (120, 220, 120)
    dark = mix(stem, (0, 0, 0), 0.45)
    leaf = (30, 120, 50) if st["dots"] != "glow" else (80, 200, 110)
    for (x, top, w) in ((46, 30, 8), (74, 50, 7)):
        d.rounded_rectangle(box(x - w / 2, top, x + w / 2, 148), radius=s(2), fill=stem)
        y = top + 18
        while y < 146:
            d.rectangle(box(x - w / 2 - 1, y - 1, x + w / 2 + 1, y + 1), fill=dark)
            y += 24
    # sprays of leaves
    for (x, y, angles) in ((46, 48, (-70, -40, -100)), (46, 96, (60, 95)),
                           (74, 66, (50, 80, 110)), (74, 118, (-60, -90))):
        for a in angles:
            polygon(d, petal_points(x, y, 30, 8, a), fill=leaf)


def tulips(img, st):
    d = ImageDraw.Draw(img)
    leaf = (40, 150, 60) if st["dots"] != "glow" else (90, 220, 120)
    red = (226, 40, 50)
    deep = (150, 16, 30)
    # stems and leaves
    for (x0, x1, ytop) in ((60, 40, 60), (60, 82, 70)):
        line(d, [(60, 146), ((x0 + x1) / 2, 110), (x1, ytop)], leaf, 3.4)
    polygon(d, petal_points(58, 146, 60, 16, -22), fill=leaf)
    polygon(d, petal_points(62, 146, 54, 14, 26), fill=leaf)
    for (cx, cy, sz) in ((40, 46, 1.0), (82, 58, 0.85)):
        w, h = 17 * sz, 22 * sz
        cup = [(cx - w, cy - h * 0.5), (cx - w * 0.5, cy - h * 0.1),
               (cx, cy - h * 0.7), (cx + w * 0.5, cy - h * 0.1),
               (cx + w, cy - h * 0.5)]
        bottom = []
        for i in range(13):
            t = math.pi * i / 12
            bottom.append((cx + w * math.cos(t), cy + h * 0.15 + h * 0.75 * math.sin(t)))
        polygon(d, cup + bottom, fill=red, outline=deep, width=0.9)
        line(d, [(cx, cy - h * 0.55), (cx, cy + h * 0.7)], deep, 1.2)


def sun(img, st):
    d = ImageDraw.Draw(img)
    cx, cy = 60, 66
    rays = (250, 160, 20)
    for k in range(12):
        a = 360.0 * k / 12
        polygon(d, petal_points(cx + 30 * math.sin(math.radians(a)),
                                cy - 30 * math.cos(math.radians(a)), 18, 10, a),
                fill=rays)
    circle(d, cx, cy, 28, fill=(250, 200, 30), outline=(230, 120, 20), width=2)
    circle(d, cx - 7, cy - 8, 8, fill=(255, 232, 120))
    water = (30, 120, 210) if st["dots"] != "glow" else (90, 190, 255)
    for (y, amp) in ((118, 4), (132, 4), (146, 3.5)):
        pts = [(14 + i * 4, y + amp * math.sin(i * 0.9)) for i in range(24)]
        line(d, pts, water, 3.2)


def maple_leaf(cx, cy, size, rot):
    """Outline of a five-lobed maple leaf whose stem points down."""
    lobes = ((0.0, 0.66), (64.0, 0.60), (-64.0, 0.60), (124.0, 0.36), (-124.0, 0.36))
    pts = []
    n = 360
    for i in range(n):
        t = 2 * math.pi * i / n - math.pi
        r = 0.40 - 0.25 * math.exp(-((abs(t) - math.pi) / 0.25) ** 2)
        for (phi, length) in lobes:
            dt = t - math.radians(phi)
            r += length * math.exp(-(dt / 0.40) ** 2)
        tooth = abs(((t * 40 / math.pi) % 2.0) - 1.0)
        r *= 1.0 - 0.05 * tooth
        a = t + math.radians(rot)
        pts.append((cx + size * r * math.sin(a), cy - size * r * math.cos(a)))
    return pts


def maple(img, st):
    d = ImageDraw.Draw(img)
    red = (214, 52, 22)
    vein = (140, 26, 10)
    orange = (240, 146, 24)
    stem = (120, 60, 20) if st["dots"] != "glow" else (220, 150, 90)
    cx, cy, size = 62, 84, 44
    line(d, [(cx, cy), (cx + 6, cy + 56)], stem, 3.2)
    polygon(d, maple_leaf(cx, cy, size, 0), fill=red, outline=vein, width=1.0)
    for phi in (0, 62, -62, 122, -122):
        a = math.radians(phi)
        reach = 0.82 if abs(phi) < 100 else 0.55
        line(d, [(cx, cy + 8), (cx + size * reach * math.sin(a),
                               cy - size * reach * math.cos(a))], vein, 1.3)
    polygon(d, maple_leaf(30, 128, 15, -35), fill=orange,
            outline=(170, 80, 10), width=0.8)


def snowflake(img, st):
    d = ImageDraw.Draw(img)
    cx, cy = 60, 82
    disc = (200, 226, 250) if st["dots"] != "glow" else (40, 70, 120)
    circle(d, cx, cy, 50, fill=disc)
    blue = (40, 110, 200) if st["dots"] != "glow" else (190, 230, 255)
    for k in range(6):
        a = math.radians(60 * k)
        ux, uy = math.sin(a), -math.cos(a)
        line(d, [(cx, cy), (cx + ux * 44, cy + uy * 44)], blue, 4)
        for (t, blen) in ((0.45, 13), (0.72, 10)):
            bx, by = cx + ux * 44 * t, cy + uy * 44 * t
            for side in (-1, 1):
                b = a + side * math.radians(45)
                line(d, [(bx, by), (bx + math.sin(b) * blen, by - math.cos(b) * blen)],
                     blue, 3)
    circle(d, cx, cy, 6, fill=blue)
    circle(d, cx, cy, 3, fill=disc)


FLOWERS = (plum, orchid, chrysanthemum, bamboo_plant)
SEASONS = (tulips, sun, maple, snowflake)


# ---------------------------------------------------------------------------
# the hidden face and blank faces

def hidden_face(st):
    img = new_face(st)
    d = ImageDraw.Draw(img)
    back = st["back"]
    rim = st["rim"]
    d.rounded_rectangle(box(rim, rim, CELL_W - rim - 1.5, CELL_H - rim - 1.5),
                        radius=s(10 - rim), fill=back)
    line_c = st["back_line"]
    d.rounded_rectangle(box(10, 10, CELL_W - 11.5, CELL_H - 11.5), radius=s(4),
                        outline=mix(back, line_c, 0.6), width=s(1.5))
    # a faint lattice of small diamonds
    faint = mix(back, line_c, 0.22)
    for gy in range(24, CELL_H - 16, 18):
        for gx in range(22 + (9 if (gy // 18) % 2 else 0), CELL_W - 16, 18):
            polygon(d, [(gx, gy - 4), (gx + 4, gy), (gx, gy + 4), (gx - 4, gy)], fill=faint)
    cx, cy = CELL_W / 2, CELL_H / 2
    polygon(d, [(cx, cy - 16), (cx + 12, cy), (cx, cy + 16), (cx - 12, cy)],
            fill=mix(back, line_c, 0.75))
    polygon(d, [(cx, cy - 9), (cx + 6.5, cy), (cx, cy + 9), (cx - 6.5, cy)], fill=back)
    return finish(img)


def blank_face(st):
    return finish(new_face(st))


# ---------------------------------------------------------------------------

def face_picture(st, row, col):
    """The finished cell at (row, col) of the grid."""
    if (row, col) == (4, 7):
        return hidden_face(st)
    if col == 8 and row >= 3:
        return blank_face(st)
    # the picture is drawn on its own layer, then laid on the face
    pic = Image.new("RGBA", (s(CELL_W), s(CELL_H)), (0, 0, 0, 0))
    d = ImageDraw.Draw(pic)
    if row == 0:
        draw_dots(d, col + 1, st)
    elif row == 1:
        draw_bamboos(pic, col + 1, st)
    elif row == 2:
        draw_character(d, col + 1, st)
    elif row == 3 and col < 4:
        FLOWERS[col](pic, st)
        bonus_labels(d, col + 1, FLOWER_LABELS[col], st["red"], st)
    elif row == 3:
        SEASONS[col - 4](pic, st)
        bonus_labels(d, col - 3, SEASON_LABELS[col - 4], st["blue"], st)
    elif row == 4 and col < 4:
        draw_wind(d, col, st)
    else:
        draw_dragon(d, col - 4, st)
    return finish(lay_picture(new_face(st), pic, st))


def shifted_alpha(pic, dx, dy, strength):
    alpha = pic.getchannel("A").point(lambda v: int(v * strength))
    moved = Image.new("L", pic.size, 0)
    moved.paste(alpha, (s(dx), s(dy)))
    return moved


def lay_picture(face, pic, st):
    """Put the picture on the face; engraved styles get a carved edge: a
    shade above and to the left of every stroke and a light rim below and
    to the right of it."""
    out = face.convert("RGBA")
    if st.get("engrave"):
        light = Image.new("RGBA", pic.size, st["highlight"])
        light.putalpha(shifted_alpha(pic, 0.7, 0.7, 0.9))
        dark = Image.new("RGBA", pic.size, st["engrave_shade"])
        dark.putalpha(shifted_alpha(pic, -0.6, -0.6, 0.55))
        out.alpha_composite(light)
        out.alpha_composite(dark)
    out.alpha_composite(pic)
    return out.convert("RGB")


def tile_set(name):
    st = STYLES[name]
    CURRENT["flat"] = st["flat"]
    sheet = Image.new("RGB", (CELL_W * COLUMNS, CELL_H * ROWS), st["edge"])
    for row in range(ROWS):
        for col in range(COLUMNS):
            sheet.paste(face_picture(st, row, col), (col * CELL_W, row * CELL_H))
    return sheet


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "..", "data", "TILESETS")
    os.makedirs(out_dir, exist_ok=True)
    names = sys.argv[2:] or sorted(STYLES)
    for name in names:
        sheet = tile_set(name)
        path = os.path.join(out_dir, name + ".BMP")
        bmpfile.write_file(path, bmpfile.bmp24_bytes(sheet))
        print("wrote", os.path.normpath(path), "%dx%d" % sheet.size)


if __name__ == "__main__":
    main()
