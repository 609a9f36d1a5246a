// The BMP reader. Pictures come from the data directories and may be damaged
// or deliberately malformed, so nothing in a header is believed until it has
// been checked against the bytes really present: a picture is decoded only
// when its header, colour table and every pixel row lie inside the file.
#include "view2d/bitmap.h"

#include <cstdio>

#include "platform/files.h"

namespace {

constexpr size_t FILE_HEADER_SIZE = 14;
constexpr uint32_t CORE_HEADER_SIZE = 12;     // the old OS/2 header: 16-bit sizes, 3-byte colours
constexpr uint32_t INFO_HEADER_SIZE = 40;     // the usual header
constexpr uint32_t LARGEST_HEADER_SIZE = 124;  // the version 5 header
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
// 64 Mpixels: far beyond any tile set or background, small enough to allocate.
constexpr long long MAX_BITMAP_PIXELS = 64LL * 1024 * 1024;
constexpr long long MAX_BITMAP_SIDE = 65535;
// The largest picture at 32 bits per pixel, with room for headers and padding.
constexpr long MAX_BITMAP_FILE_SIZE = static_cast<long>(MAX_BITMAP_PIXELS * 4 + 1024 * 1024);

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// One colour channel of a bit-field picture.
struct Channel {
    uint32_t mask;
    int shift;
    uint64_t maximum;  // mask >> shift
};

// False for a mask whose bits are not one contiguous run; a zero mask is a channel that is always 0.
bool makeChannel(uint32_t mask, Channel* channel) {
    channel->mask = mask;
    channel->shift = 0;
    channel->maximum = 0;
    if (mask == 0) return true;
    while (((mask >> channel->shift) & 1u) == 0) ++channel->shift;
    uint64_t run = static_cast<uint64_t>(mask) >> channel->shift;
    if ((run & (run + 1)) != 0) return false;
    channel->maximum = run;
    return true;
}

inline uint32_t channelValue(uint32_t pixel, const Channel& channel) {
    if (channel.maximum == 0) return 0;
    uint64_t value = (pixel & channel.mask) >> channel.shift;
    if (channel.maximum == 255) return static_cast<uint32_t>(value);
    return static_cast<uint32_t>((value * 255 + channel.maximum / 2) / channel.maximum);
}

struct Picture {
    long long width;
    long long rows;
    bool topDown;
    int bitsPerPixel;
    bool core;  // 12-byte header
    bool bitFields;
    Channel red, green, blue;
    uint32_t palette[256];
    int paletteCount;
};

// Reads and checks everything before the pixel data; on success *pixelOffset
// is where the pixel rows begin.
bool readHeaders(const uint8_t* data, size_t size, Picture* picture, size_t* pixelOffset) {
    if (size < FILE_HEADER_SIZE + CORE_HEADER_SIZE) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t offBits = read32(data + 10);
    const uint32_t headerSize = read32(data + 14);
    if (headerSize != CORE_HEADER_SIZE && (headerSize < INFO_HEADER_SIZE || headerSize > LARGEST_HEADER_SIZE))
        return false;
    if (FILE_HEADER_SIZE + headerSize > size) return false;
    const uint8_t* header = data + FILE_HEADER_SIZE;

    uint32_t compression = BI_RGB;
    uint32_t coloursUsed = 0;
    int planes;
    picture->core = headerSize == CORE_HEADER_SIZE;
    if (picture->core) {
        picture->width = read16(header + 4);
        picture->rows = read16(header + 6);
        picture->topDown = false;
        planes = read16(header + 8);
        picture->bitsPerPixel = read16(header + 10);
    } else {
        const int32_t width = static_cast<int32_t>(read32(header + 4));
        const int32_t height = static_cast<int32_t>(read32(header + 8));
        picture->width = width;
        picture->topDown = height < 0;
        picture->rows = height < 0 ? -static_cast<long long>(height) : height;
        planes = read16(header + 12);
        picture->bitsPerPixel = read16(header + 14);
        compression = read32(header + 16);
        coloursUsed = read32(header + 32);
    }
    if (planes != 1) return false;
    if (picture->width <= 0 || picture->rows <= 0) return false;
    if (picture->width > MAX_BITMAP_SIDE || picture->rows > MAX_BITMAP_SIDE) return false;
    if (picture->width * picture->rows > MAX_BITMAP_PIXELS) return false;
    const int bpp = picture->bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    if (picture->core && (bpp == 16 || bpp == 32)) return false;

    size_t tableStart = FILE_HEADER_SIZE + headerSize;
    picture->bitFields = false;
    if (compression == BI_BITFIELDS) {
        if (bpp != 16 && bpp != 32) return false;
        picture->bitFields = true;
        const uint8_t* masks;
        if (headerSize >= INFO_HEADER_SIZE + 12) {
            masks = header + INFO_HEADER_SIZE;  // inside the larger headers
        } else {
            if (tableStart + 12 > size) return false;
            masks = data + tableStart;  // after the 40-byte header
            tableStart += 12;
        }
        if (!makeChannel(read32(masks), &picture->red) || !makeChannel(read32(masks + 4), &picture->green) ||
            !makeChannel(read32(masks + 8), &picture->blue))
            return false;
    } else if (compression != BI_RGB) {
        return false;  // run-length, JPEG and PNG pictures are not read
    } else if (bpp == 16) {
        makeChannel(0x7C00, &picture->red);
        makeChannel(0x03E0, &picture->green);
        makeChannel(0x001F, &picture->blue);
    } else if (bpp == 32) {
        makeChannel(0x00FF0000, &picture->red);
        makeChannel(0x0000FF00, &picture->green);
        makeChannel(0x000000FF, &picture->blue);
    }
    if (offBits < tableStart || offBits > size) return false;

    picture->paletteCount = 0;
    if (bpp <= 8) {
        const size_t entrySize = picture->core ? 3 : 4;
        const uint32_t fullCount = 1u << bpp;
        if (coloursUsed > fullCount) return false;  // more colours than indices: a damaged header
        uint32_t count = coloursUsed == 0 ? fullCount : coloursUsed;
        const size_t available = (offBits - tableStart) / entrySize;
        if (count > available) count = static_cast<uint32_t>(available);
        if (count == 0) return false;  // a picture of colour indices needs its colours
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* entry = data + tableStart + i * entrySize;  // blue, green, red
            picture->palette[i] = entry[2] | static_cast<uint32_t>(entry[1]) << 8 |
                                  static_cast<uint32_t>(entry[0]) << 16;
        }
        for (uint32_t i = count; i < 256; ++i) picture->palette[i] = 0;
        picture->paletteCount = static_cast<int>(count);
    }

    // Every row must be there; the padding of the last row may be missing.
    const long long rowBits = picture->width * bpp;
    const long long stride = (rowBits + 31) / 32 * 4;
    const long long lastRow = (rowBits + 7) / 8;
    const long long needed = stride * (picture->rows - 1) + lastRow;
    if (static_cast<long long>(size - offBits) < needed) return false;
    // An image size that claims more data than the file holds is a damaged header.
    if (!picture->core) {
        const uint32_t imageSize = read32(header + 20);
        if (imageSize != 0 && imageSize > size - offBits) return false;
    }
    *pixelOffset = offBits;
    return true;
}

void decodeRow(const Picture& picture, const uint8_t* row, uint32_t* out) {
    const int width = static_cast<int>(picture.width);
    switch (picture.bitsPerPixel) {
        case 1:
            for (int x = 0; x < width; ++x) out[x] = picture.palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < width; ++x) out[x] = picture.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
            break;
        case 8:
            for (int x = 0; x < width; ++x) out[x] = picture.palette[row[x]];
            break;
        case 16:
            for (int x = 0; x < width; ++x) {
                const uint32_t p = read16(row + 2 * x);
                out[x] = channelValue(p, picture.red) | channelValue(p, picture.green) << 8 |
                         channelValue(p, picture.blue) << 16;
            }
            break;
        case 24:
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = row + 3 * x;  // blue, green, red
                out[x] = p[2] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[0]) << 16;
            }
            break;
        case 32:
            if (!picture.bitFields) {
                for (int x = 0; x < width; ++x) {
                    const uint8_t* p = row + 4 * x;  // blue, green, red, unused
                    out[x] = p[2] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[0]) << 16;
                }
            } else {
                for (int x = 0; x < width; ++x) {
                    const uint32_t p = read32(row + 4 * x);
                    out[x] = channelValue(p, picture.red) | channelValue(p, picture.green) << 8 |
                             channelValue(p, picture.blue) << 16;
                }
            }
            break;
    }
}

}  // namespace

bool decodeBitmap(const uint8_t* data, size_t size, Surface* slot) {
    releaseSurface(slot);
    if (data == nullptr) return false;
    Picture picture;
    size_t pixelOffset = 0;
    if (!readHeaders(data, size, &picture, &pixelOffset)) return false;
    Surface result;
    if (!createSurface(&result, static_cast<int>(picture.width), static_cast<int>(picture.rows))) return false;
    const size_t stride = static_cast<size_t>((picture.width * picture.bitsPerPixel + 31) / 32 * 4);
    for (long long y = 0; y < picture.rows; ++y) {
        const long long fileRow = picture.topDown ? y : picture.rows - 1 - y;
        decodeRow(picture, data + pixelOffset + static_cast<size_t>(fileRow) * stride,
                  result.pixels + static_cast<size_t>(y) * result.width);
    }
    *slot = result;
    return true;
}

void loadBitmapFile(WindowHandle window, const char* path, Surface* slot) {
    (void)window;  // surfaces are plain pixel arrays, whatever the display
    releaseSurface(slot);
    if (path == nullptr || path[0] == 0) return;
    FILE* file = platformOpenFile(path, "rb");
    if (file == nullptr) return;
    const long size = platformFileSize(file);
    uint8_t signature[2];
    if (size < static_cast<long>(FILE_HEADER_SIZE + CORE_HEADER_SIZE) || size > MAX_BITMAP_FILE_SIZE ||
        std::fread(signature, 1, 2, file) != 2 || signature[0] != 'B' || signature[1] != 'M' ||
        std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return;
    }
    // A block of its own: it goes back to the system as soon as the picture is decoded.
    uint8_t* data = static_cast<uint8_t*>(platformAllocatePictureBlock(static_cast<size_t>(size)));
    if (data != nullptr && std::fread(data, 1, static_cast<size_t>(size), file) == static_cast<size_t>(size))
        decodeBitmap(data, static_cast<size_t>(size), slot);
    platformReleasePictureBlock(data, static_cast<size_t>(size));
    std::fclose(file);
}
