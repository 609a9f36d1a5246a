#!/usr/bin/python3
"""Check the picture files delivered with the game.

Reads every BMP header by hand (no imaging library needed) and checks:
  - the file begins with "BM" and its size field matches the file;
  - a 40-byte information header, one plane, no compression, 24 or 4 bits;
  - the pixel data fits the file for the given width, height and row padding;
  - a 4-bit picture has a colour table of at most 16 entries before the data;
  - tile sets (data/TILESETS) divide into 9 x 5 equal cells with
    faces of roughly the proportions of a tile;
  - backgrounds are at least 640 x 400, the splash picture at least 200 x 100;
  - the icon strip (resources/iconstrip.bmp) is 160 x 16 with 4 bits, the
    large one (resources/iconstrip-32.bmp) 320 x 32 with 4 bits, and their
    background colour light grey is in their colour tables; the large strip
    is the small one doubled (each pixel's 2 x 2 block keeps its colour in
    at least two places, as Scale2x leaves it);
  - the cursor list names 904 and 905 with their hot spots and the PNG files
    named by the resources exist.

Exits with status 1 and one line per fault when anything is wrong.

Usage: check_pictures.py [repository root]   (default: one level up)
"""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def read_bmp_header(path):
    """Returns (fields, faults) for the BMP at path."""
    faults = []
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54:
        return None, ["%s: %d bytes, too short for a bitmap" % (path, len(data))]
    magic, file_size, _r1, _r2, offset = struct.unpack_from("<2sIHHI", data, 0)
    (header_size, width, height, planes, bits, compression, image_size,
     _xppm, _yppm, colours_used, _important) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    fields = {
        "width": width, "height": height, "bits": bits, "offset": offset,
        "colours_used": colours_used, "data": data,
    }
    if magic != b"BM":
        faults.append("%s: does not begin with BM" % path)
        return fields, faults
    if file_size != len(data):
        faults.append("%s: size field %d, file %d bytes" % (path, file_size, len(data)))
    if header_size != 40:
        faults.append("%s: information header of %d bytes, not 40" % (path, header_size))
    if planes != 1:
        faults.append("%s: %d planes" % (path, planes))
    if compression != 0:
        faults.append("%s: compressed (method %d)" % (path, compression))
    if bits not in (4, 24):
        faults.append("%s: %d bits per pixel, not 24 or 4" % (path, bits))
        return fields, faults
    if width <= 0 or height <= 0:
        faults.append("%s: size %d x %d (must be positive, bottom-up)" % (path, width, height))
        return fields, faults
    row_bytes = ((width * bits + 31) // 32) * 4
    needed = row_bytes * height
    if image_size not in (0, needed):
        faults.append("%s: image size field %d, expected %d" % (path, image_size, needed))
    palette_entries = (offset - 54) // 4
    if bits == 24 and offset != 54:
        faults.append("%s: 24-bit picture with data at %d, expected 54" % (path, offset))
    if bits == 4:
        if colours_used > 16:
            faults.append("%s: %d colours used in a 4-bit picture" % (path, colours_used))
        expected = colours_used or 16
        if palette_entries < expected:
            faults.append("%s: colour table of %d entries, %d needed"
                          % (path, palette_entries, expected))
    if offset + needed > len(data):
        faults.append("%s: pixel data needs %d bytes from %d, file has %d"
                      % (path, needed, offset, len(data)))
    fields["palette"] = [tuple(data[54 + 4 * i + k] for k in (2, 1, 0))
                         for i in range(max(0, palette_entries))]
    return fields, faults


def check_tile_set(path):
    fields, faults = read_bmp_header(path)
    if faults:
        return faults
    w, h = fields["width"], fields["height"]
    if fields["bits"] != 24:
        faults.append("%s: tile sets are 24-bit pictures" % path)
    if w % 9 or h % 5:
        faults.append("%s: %d x %d does not divide into 9 x 5 cells" % (path, w, h))
        return faults
    cw, ch = w // 9, h // 5
    if cw < 16 or ch < 16:
        faults.append("%s: cells of %d x %d are too small" % (path, cw, ch))
    ratio = cw / float(ch)
    if not 0.6 <= ratio <= 0.9:
        faults.append("%s: cells of %d x %d are not tile shaped" % (path, cw, ch))
    return faults


def check_picture(path, min_w, min_h, bits=24):
    fields, faults = read_bmp_header(path)
    if faults:
        return faults
    if fields["bits"] != bits:
        faults.append("%s: %d bits per pixel, expected %d" % (path, fields["bits"], bits))
    if fields["width"] < min_w or fields["height"] < min_h:
        faults.append("%s: %d x %d, smaller than %d x %d"
                      % (path, fields["width"], fields["height"], min_w, min_h))
    return faults


def check_icon_strip(path, side=16):
    fields, faults = read_bmp_header(path)
    if faults:
        return faults
    if (fields["width"], fields["height"], fields["bits"]) != (10 * side, side, 4):
        faults.append("%s: %d x %d with %d bits, expected %d x %d with 4"
                      % (path, fields["width"], fields["height"], fields["bits"], 10 * side, side))
    if (192, 192, 192) not in fields.get("palette", []):
        faults.append("%s: light grey (192, 192, 192) missing from the colour table" % path)
    return faults


def pixel_colours(fields):
    """The colours of a 4-bit picture, row by row from the top."""
    data, width, height = fields["data"], fields["width"], fields["height"]
    row_bytes = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in range(height):
        start = fields["offset"] + (height - 1 - y) * row_bytes
        row = []
        for x in range(width):
            byte = data[start + x // 2]
            row.append(fields["palette"][byte >> 4 if x % 2 == 0 else byte & 15])
        rows.append(row)
    return rows


def check_doubled_strip(small_path, large_path):
    small, faults = read_bmp_header(small_path)
    large, large_faults = read_bmp_header(large_path)
    if faults or large_faults or (large["width"], large["height"]) != (2 * small["width"], 2 * small["height"]):
        return []  # reported by check_icon_strip
    little, big = pixel_colours(small), pixel_colours(large)
    for y, row in enumerate(little):
        for x, colour in enumerate(row):
            block = [big[2 * y + dy][2 * x + dx] for dy in (0, 1) for dx in (0, 1)]
            if block.count(colour) < 2:
                return ["%s: pixel (%d, %d) is not %s doubled (make_resources.py writes both)"
                        % (large_path, 2 * x, 2 * y, os.path.basename(small_path))]
    return []


def check_cursors(res):
    faults = []
    path = os.path.join(res, "cursors.txt")
    if not os.path.exists(path):
        return ["%s: missing" % path]
    found = {}
    with open(path) as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            parts = line.split()
            if len(parts) != 3 or not all(p.isdigit() for p in parts):
                faults.append("%s: bad line %r" % (path, line))
                continue
            ident, x, y = (int(p) for p in parts)
            if not (0 <= x < 32 and 0 <= y < 32):
                faults.append("%s: hot spot of %d outside 32 x 32" % (path, ident))
            found[ident] = (x, y)
    for ident, spot in ((904, (8, 3)), (905, (7, 11))):
        if found.get(ident) != spot:
            faults.append("%s: cursor %d should have its hot spot at %s" % (path, ident, spot))
        png = os.path.join(res, "cursor-%d.png" % ident)
        if not os.path.exists(png):
            faults.append("%s: missing" % png)
        else:
            with open(png, "rb") as f:
                head = f.read(24)
            if head[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack(">II", head[16:24]) != (32, 32):
                faults.append("%s: not a 32 x 32 PNG" % png)
    return faults


def check_icons(res):
    faults = []
    for size in (16, 22, 24, 32, 48, 64, 128, 256):
        png = os.path.join(res, "icon-%d.png" % size)
        if not os.path.exists(png):
            faults.append("%s: missing" % png)
            continue
        with open(png, "rb") as f:
            head = f.read(24)
        if head[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack(">II", head[16:24]) != (size, size):
            faults.append("%s: not a %d x %d PNG" % (png, size, size))
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..")
    data = os.path.join(root, "data")
    res = os.path.join(root, "resources")
    faults = []
    checked = 0

    def bmps(directory):
        if not os.path.isdir(directory):
            faults.append("%s: missing" % directory)
            return []
        return sorted(os.path.join(directory, n) for n in os.listdir(directory)
                      if n.upper().endswith(".BMP"))

    tile_sets = bmps(os.path.join(data, "TILESETS"))
    for path in tile_sets:
        faults += check_tile_set(path)
        checked += 1
    if not any(os.path.basename(p) == "STANDARD.BMP" for p in tile_sets):
        faults.append("data/TILESETS/STANDARD.BMP: missing")
    backgrounds = bmps(os.path.join(data, "BACKGRND"))
    for path in backgrounds:
        faults += check_picture(path, 640, 400)
        checked += 1
    if not any(os.path.basename(p) == "SUNSET.BMP" for p in backgrounds):
        faults.append("data/BACKGRND/SUNSET.BMP: missing")
    splash = os.path.join(data, "Splash.bmp")
    if os.path.exists(splash):
        faults += check_picture(splash, 200, 100)
        checked += 1
    else:
        faults.append("%s: missing" % splash)
    for name, side in (("iconstrip.bmp", 16), ("iconstrip-32.bmp", 32)):
        strip = os.path.join(res, name)
        if os.path.exists(strip):
            faults += check_icon_strip(strip, side)
            checked += 1
        else:
            faults.append("%s: missing" % strip)
    if os.path.exists(os.path.join(res, "iconstrip-32.bmp")):
        faults += check_doubled_strip(os.path.join(res, "iconstrip.bmp"), os.path.join(res, "iconstrip-32.bmp"))
    faults += check_cursors(res)
    faults += check_icons(res)

    for fault in faults:
        print(fault)
    if faults:
        return 1
    print("check_pictures: %d pictures, cursors and icons are sound" % checked)
    return 0


if __name__ == "__main__":
    sys.exit(main())
