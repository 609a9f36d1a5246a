#!/usr/bin/python3
"""Draw the background pictures of the game (24-bit BMP, 1920 x 1080).

The game stretches a background over the whole board area, so the pictures
are calm: soft gradients and fine textures that stay behind the tiles.
Every random choice comes from a generator with a fixed seed, so two runs
give the same bytes.

Usage: make_backgrounds.py [output directory]   (default: data/BACKGRND)
"""

import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tilesets"))
import bmpfile  # noqa: E402

WIDTH = 1920
HEIGHT = 1080


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def gradient(stops, size=(WIDTH, HEIGHT), vertical=True):
    """A smooth gradient through (position 0..1, colour) stops."""
    length = size[1] if vertical else size[0]
    strip = Image.new("RGB", (1, length) if vertical else (length, 1))
    px = strip.load()
    for i in range(length):
        t = i / (length - 1)
        for k in range(len(stops) - 1):
            p0, c0 = stops[k]
            p1, c1 = stops[k + 1]
            if p0 <= t <= p1:
                # smoothstep between stops
                u = (t - p0) / (p1 - p0) if p1 > p0 else 0.0
                u = u * u * (3 - 2 * u)
                colour = lerp(c0, c1, u)
                break
        else:
            colour = stops[-1][1]
        px[(0, i) if vertical else (i, 0)] = colour
    return strip.resize(size, Image.BILINEAR)


def value_noise(rng, cells_x, cells_y, size=(WIDTH, HEIGHT)):
    """Smooth noise: random values on a coarse grid, interpolated."""
    small = Image.frombytes("L", (cells_x, cells_y),
                            rng.randbytes(cells_x * cells_y))
    return small.resize(size, Image.BICUBIC)


def fractal_noise(rng, base_cells, octaves, size=(WIDTH, HEIGHT)):
    """Several octaves of value noise, each half as strong as the last."""
    result = value_noise(rng, base_cells, max(2, base_cells * size[1] // size[0]), size)
    weight = 1.0
    total = 1.0
    cells = base_cells
    for _ in range(octaves - 1):
        cells *= 2
        weight *= 0.5
        layer = value_noise(rng, cells, max(2, cells * size[1] // size[0]), size)
        total += weight
        result = Image.blend(result, layer, weight / total)
    return result


def grain(rng, strength, blur=0.0, size=(WIDTH, HEIGHT)):
    """Fine noise centred on 128, +/- strength."""
    raw = Image.frombytes("L", size, rng.randbytes(size[0] * size[1]))
    if blur:
        raw = raw.filter(ImageFilter.GaussianBlur(blur))
        # blurring flattens the noise; stretch it back around 128
        raw = raw.point(lambda v: max(0, min(255, int(128 + (v - 128) * 3.0))))
    scale = strength / 128.0
    return raw.point(lambda v: max(0, min(255, int(round(128 + (v - 128) * scale)))))


def add_grain(image, noise):
    """Add a grain image (centred on 128) to every channel of image."""
    base = image.convert("RGB")
    up = ImageChops.subtract(noise, Image.new("L", noise.size, 128))
    down = ImageChops.subtract(Image.new("L", noise.size, 128), noise)
    up3 = Image.merge("RGB", (up, up, up))
    down3 = Image.merge("RGB", (down, down, down))
    return ImageChops.subtract(ImageChops.add(base, up3), down3)


def vignette(image, strength):
    """Darken towards the corners."""
    mask = Image.radial_gradient("L").resize(image.size, Image.BICUBIC)
    mask = mask.point(lambda v: int(min(255, max(0, (v - 70) * 1.4)) * strength))
    dark = Image.new("RGB", image.size, (0, 0, 0))
    return Image.composite(dark, image, mask)


def map_palette(grey, stops):
    """Colour a grey picture through a gradient of (0..1, colour) stops."""
    lut = gradient(stops, size=(256, 1), vertical=False).load()
    table = [lut[i, 0] for i in range(256)]
    r = grey.point([c[0] for c in table])
    g = grey.point([c[1] for c in table])
    b = grey.point([c[2] for c in table])
    return Image.merge("RGB", (r, g, b))


# ---------------------------------------------------------------------------

def sunset():
    rng = random.Random(1001)
    sky = gradient([
        (0.00, (46, 34, 92)),
        (0.30, (112, 58, 120)),
        (0.55, (206, 98, 96)),
        (0.72, (244, 160, 88)),
        (0.80, (250, 196, 120)),
        (1.00, (250, 196, 120)),
    ])
    # a low sun with a wide soft glow
    glow = Image.new("L", (WIDTH, HEIGHT), 0)
    d = ImageDraw.Draw(glow)
    sx, sy = int(WIDTH * 0.68), int(HEIGHT * 0.74)
    for r in range(520, 0, -8):
        v = int(200 * (1 - r / 520.0) ** 2.2)
        d.ellipse([sx - r, sy - r * 0.8, sx + r, sy + r * 0.8], fill=v)
    sky = Image.composite(Image.new("RGB", sky.size, (255, 226, 160)), sky, glow)
    d = ImageDraw.Draw(sky)
    d.ellipse([sx - 70, sy - 70, sx + 70, sy + 70], fill=(255, 236, 186))
    # a few long thin clouds
    clouds = Image.new("L", (WIDTH, HEIGHT), 0)
    cd = ImageDraw.Draw(clouds)
    for _ in range(9):
        cx = rng.randrange(0, WIDTH)
        cy = rng.randrange(int(HEIGHT * 0.18), int(HEIGHT * 0.62))
        w = rng.randrange(260, 620)
        h = rng.randrange(10, 24)
        cd.ellipse([cx - w, cy - h, cx + w, cy + h], fill=rng.randrange(50, 90))
    clouds = clouds.filter(ImageFilter.GaussianBlur(14))
    sky = Image.composite(Image.new("RGB", sky.size, (255, 190, 170)), sky, clouds)
    # two ranges of hills, the far one hazy
    for (base, amp, colour, seed, smooth) in (
            (0.80, 60, (120, 64, 96), 7, 5), (0.88, 50, (62, 32, 64), 11, 7)):
        hr = random.Random(seed)
        points = []
        heights = [hr.random() for _ in range(smooth + 3)]
        for x in range(0, WIDTH + 8, 8):
            t = x / WIDTH * (smooth)
            i = int(t)
            u = t - i
            u = u * u * (3 - 2 * u)
            h = heights[i] + (heights[i + 1] - heights[i]) * u
            h += 0.15 * math.sin(x / 97.0 + seed)
            points.append((x, HEIGHT * base - amp * h))
        points += [(WIDTH, HEIGHT), (0, HEIGHT)]
        ImageDraw.Draw(sky).polygon(points, fill=colour)
    sky = sky.filter(ImageFilter.GaussianBlur(1.2))
    return add_grain(sky, grain(rng, 3))


def felt():
    rng = random.Random(2002)
    base = Image.new("RGB", (WIDTH, HEIGHT), (24, 104, 56))
    cloud = fractal_noise(rng, 6, 4)
    cloud = cloud.point(lambda v: int(128 + (v - 128) * 0.18))
    image = add_grain(base, cloud)
    image = add_grain(image, grain(rng, 14, blur=0.7))
    image = add_grain(image, grain(rng, 5))
    return vignette(image, 0.55)


def jade():
    rng = random.Random(3003)
    n = fractal_noise(rng, 5, 6)
    # veins where the noise crosses its middle value
    veins = n.point(lambda v: int(max(0, 255 - abs(v - 128) * 9)))
    veins = veins.filter(ImageFilter.GaussianBlur(2.5))
    body = map_palette(n, [
        (0.0, (18, 78, 58)),
        (0.35, (36, 112, 82)),
        (0.65, (62, 142, 104)),
        (1.0, (104, 172, 132)),
    ])
    light = Image.new("RGB", body.size, (170, 214, 180))
    veins = veins.point(lambda v: int(v * 0.35))
    image = Image.composite(light, body, veins)
    image = add_grain(image, grain(rng, 4))
    return vignette(image, 0.45)


def night():
    rng = random.Random(4004)
    sky = gradient([
        (0.0, (6, 10, 30)),
        (0.55, (16, 28, 66)),
        (1.0, (30, 52, 96)),
    ])
    haze = fractal_noise(rng, 4, 4).point(lambda v: int(max(0, v - 120) * 0.6))
    haze = haze.filter(ImageFilter.GaussianBlur(20))
    sky = Image.composite(Image.new("RGB", sky.size, (70, 60, 130)), sky, haze)
    d = ImageDraw.Draw(sky)
    for _ in range(520):
        x = rng.randrange(WIDTH)
        y = rng.randrange(HEIGHT)
        bright = rng.random() ** 3
        v = int(110 + 145 * bright)
        tint = rng.choice(((0, 0, 0), (0, 10, 30), (30, 20, 0)))
        colour = (max(0, v - tint[2]), max(0, v - tint[0] // 2), min(255, v + tint[1]))
        r = 0.6 + 1.4 * bright
        d.ellipse([x - r, y - r, x + r, y + r], fill=colour)
    # a soft moon in the upper left
    mx, my = int(WIDTH * 0.14), int(HEIGHT * 0.17)
    glow = Image.new("L", sky.size, 0)
    gd = ImageDraw.Draw(glow)
    for r in range(220, 0, -6):
        gd.ellipse([mx - r, my - r, mx + r, my + r], fill=int(90 * (1 - r / 220.0) ** 2))
    sky = Image.composite(Image.new("RGB", sky.size, (200, 210, 255)), sky, glow)
    # a crescent: the moon's disc less a disc moved up and to the right
    moon = Image.new("L", sky.size, 0)
    md = ImageDraw.Draw(moon)
    md.ellipse([mx - 46, my - 46, mx + 46, my + 46], fill=255)
    md.ellipse([mx - 26, my - 60, mx + 64, my + 30], fill=0)
    moon = moon.filter(ImageFilter.GaussianBlur(1.0))
    sky = Image.composite(Image.new("RGB", sky.size, (240, 238, 220)), sky, moon)
    return add_grain(sky, grain(rng, 3))


BACKGROUNDS = {
    "SUNSET": sunset,
    "FELT": felt,
    "JADE": jade,
    "NIGHT": night,
}


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        HERE, "..", "..", "data", "BACKGRND")
    os.makedirs(out_dir, exist_ok=True)
    names = sys.argv[2:] or sorted(BACKGROUNDS)
    for name in names:
        image = BACKGROUNDS[name]()
        path = os.path.join(out_dir, name + ".BMP")
        bmpfile.write_file(path, bmpfile.bmp24_bytes(image))
        print("wrote", os.path.normpath(path), "%dx%d" % image.size)


if __name__ == "__main__":
    main()
