"""Writers for the uncompressed Windows bitmaps the game reads.

Both writers produce a BITMAPFILEHEADER (14 bytes) followed by a
BITMAPINFOHEADER (40 bytes), bottom-up rows padded to four bytes, the image
size field filled in and no compression.
"""

import struct


def _headers(width, height, bits, palette_entries):
    row_bytes = ((width * bits + 31) // 32) * 4
    image_size = row_bytes * height
    offset = 14 + 40 + 4 * palette_entries
    file_size = offset + image_size
    file_header = struct.pack("<2sIHHI", b"BM", file_size, 0, 0, offset)
    info_header = struct.pack(
        "<IiiHHIIiiII",
        40,  # header size
        width,
        height,  # positive: bottom-up
        1,  # planes
        bits,
        0,  # BI_RGB, no compression
        image_size,
        2835,  # 72 dpi
        2835,
        palette_entries,
        0,
    )
    return file_header + info_header, row_bytes


def bmp24_bytes(image):
    """Return the bytes of a 24-bit bitmap of a PIL image (converted to RGB)."""
    image = image.convert("RGB")
    width, height = image.size
    header, row_bytes = _headers(width, height, 24, 0)
    raw = image.tobytes("raw", "BGR")
    pad = b"\0" * (row_bytes - 3 * width)
    rows = []
    for y in range(height - 1, -1, -1):
        rows.append(raw[y * 3 * width:(y + 1) * 3 * width])
        rows.append(pad)
    return header + b"".join(rows)


def bmp4_bytes(indices, width, height, palette):
    """Return the bytes of a 4-bit bitmap.

    indices: a sequence of width*height palette indices (0-15), top row first.
    palette: 16 (r, g, b) tuples.
    """
    if len(palette) != 16:
        raise ValueError("a 4-bit bitmap needs 16 palette entries")
    if len(indices) != width * height:
        raise ValueError("pixel count does not match the size")
    header, row_bytes = _headers(width, height, 4, 16)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(width):
            value = indices[y * width + x] & 15
            if x % 2 == 0:
                row[x // 2] |= value << 4
            else:
                row[x // 2] |= value
        rows.append(bytes(row))
    return header + table + b"".join(rows)


def write_file(path, data):
    with open(path, "wb") as out:
        out.write(data)
