// Off-screen surfaces as plain pixel arrays. Every operation clips its
// rectangle once against the surfaces and then works row by row, so the hot
// paths (copies and fills) are straight memcpy and store loops.
//
// stretchSurface resamples each axis on its own: where the picture shrinks,
// every destination pixel is the exact area average of the source pixels it
// covers (so tile faces shrunk from large cells stay smooth instead of losing
// whole rows and columns of their drawing); where it grows, the nearest source
// pixel is repeated (so enlarged faces stay crisp). A picture kept at its size
// is copied unchanged.
#include "platform/surface.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// No surface is larger than this; it bounds every allocation the pictures and
// the board buffer can ask for.
constexpr long long MAX_SURFACE_PIXELS = 64LL * 1024 * 1024;
constexpr int MAX_SURFACE_SIDE = 65535;

// Clips the rectangle (left, top)-(right, bottom) to a surface; false when nothing is left.
bool clipRect(const Surface* surface, int* left, int* top, int* right, int* bottom) {
    if (surface == nullptr || surface->pixels == nullptr) return false;
    if (*left < 0) *left = 0;
    if (*top < 0) *top = 0;
    if (*right > surface->width) *right = surface->width;
    if (*bottom > surface->height) *bottom = surface->height;
    return *left < *right && *top < *bottom;
}

// Clips a copy of width x height from source (sx, sy) to destination (dx, dy)
// against both surfaces; false when nothing is left.
bool clipCopy(const Surface* destination, int* dx, int* dy, const Surface* source, int* sx, int* sy,
              int* width, int* height) {
    if (destination == nullptr || destination->pixels == nullptr) return false;
    if (source == nullptr || source->pixels == nullptr) return false;
    long long x = *dx, y = *dy, srcX = *sx, srcY = *sy, w = *width, h = *height;
    if (srcX < 0) { w += srcX; x -= srcX; srcX = 0; }
    if (srcY < 0) { h += srcY; y -= srcY; srcY = 0; }
    if (x < 0) { w += x; srcX -= x; x = 0; }
    if (y < 0) { h += y; srcY -= y; y = 0; }
    if (srcX + w > source->width) w = source->width - srcX;
    if (srcY + h > source->height) h = source->height - srcY;
    if (x + w > destination->width) w = destination->width - x;
    if (y + h > destination->height) h = destination->height - y;
    if (w <= 0 || h <= 0) return false;
    *dx = static_cast<int>(x);
    *dy = static_cast<int>(y);
    *sx = static_cast<int>(srcX);
    *sy = static_cast<int>(srcY);
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

// One axis of a resampling: for each destination position, the source
// positions that contribute and their integer weights (summing to `total`).
struct AxisTaps {
    std::vector<int> first;    // first source index per destination index
    std::vector<int> count;    // number of source indices
    std::vector<uint32_t> weights;  // count weights per destination, concatenated
    std::vector<int> offset;   // start of each destination's weights
    uint32_t total;
};

void makeTaps(AxisTaps* taps, int sourceSize, int destinationSize) {
    taps->first.resize(destinationSize);
    taps->count.resize(destinationSize);
    taps->offset.resize(destinationSize);
    taps->weights.clear();
    if (sourceSize > destinationSize) {
        // Area average: destination pixel d covers [d*S, (d+1)*S) in units of
        // 1/D source pixels; source pixel s covers [s*D, (s+1)*D).
        long long S = sourceSize, D = destinationSize;
        taps->total = static_cast<uint32_t>(S);
        for (int d = 0; d < destinationSize; ++d) {
            long long begin = d * S, end = (d + 1) * S;
            int s0 = static_cast<int>(begin / D);
            int s1 = static_cast<int>((end - 1) / D);
            taps->first[d] = s0;
            taps->count[d] = s1 - s0 + 1;
            taps->offset[d] = static_cast<int>(taps->weights.size());
            for (int s = s0; s <= s1; ++s) {
                long long lo = s * D > begin ? s * D : begin;
                long long hi = (s + 1) * D < end ? (s + 1) * D : end;
                taps->weights.push_back(static_cast<uint32_t>(hi - lo));
            }
        }
    } else {
        // Nearest pixel, sampled at the centre of each destination pixel.
        taps->total = 1;
        for (int d = 0; d < destinationSize; ++d) {
            long long s = ((2LL * d + 1) * sourceSize) / (2LL * destinationSize);
            taps->first[d] = static_cast<int>(s);
            taps->count[d] = 1;
            taps->offset[d] = static_cast<int>(taps->weights.size());
            taps->weights.push_back(1);
        }
    }
}

inline uint32_t averagePixels(const uint32_t* line, int first, int count,
                              const uint32_t* weights, uint32_t total) {
    if (count == 1) return line[first];
    uint64_t r = 0, g = 0, b = 0;
    for (int k = 0; k < count; ++k) {
        uint32_t p = line[first + k];
        uint64_t w = weights[k];
        r += (p & 0xFF) * w;
        g += ((p >> 8) & 0xFF) * w;
        b += ((p >> 16) & 0xFF) * w;
    }
    uint64_t half = total / 2;
    return static_cast<uint32_t>((r + half) / total) | static_cast<uint32_t>((g + half) / total) << 8 |
           static_cast<uint32_t>((b + half) / total) << 16;
}

}  // namespace

bool createSurface(Surface* surface, int width, int height) {
    surface->width = 0;
    surface->height = 0;
    surface->pixels = nullptr;
    if (width <= 0 || height <= 0 || width > MAX_SURFACE_SIDE || height > MAX_SURFACE_SIDE) return false;
    if (static_cast<long long>(width) * height > MAX_SURFACE_PIXELS) return false;
    void* block = std::calloc(static_cast<size_t>(width) * static_cast<size_t>(height), sizeof(uint32_t));
    if (block == nullptr) return false;
    surface->pixels = static_cast<uint32_t*>(block);
    surface->width = width;
    surface->height = height;
    return true;
}

void releaseSurface(Surface* surface) {
    if (surface == nullptr) return;
    std::free(surface->pixels);
    surface->pixels = nullptr;
    surface->width = 0;
    surface->height = 0;
}

bool surfaceIsEmpty(const Surface* surface) {
    return surface == nullptr || surface->pixels == nullptr || surface->width <= 0 || surface->height <= 0;
}

uint32_t getPixel(const Surface* surface, int x, int y) {
    if (surfaceIsEmpty(surface) || x < 0 || y < 0 || x >= surface->width || y >= surface->height) return 0;
    return surface->pixels[static_cast<size_t>(y) * surface->width + x];
}

void setPixel(Surface* surface, int x, int y, uint32_t colour) {
    if (surfaceIsEmpty(surface) || x < 0 || y < 0 || x >= surface->width || y >= surface->height) return;
    surface->pixels[static_cast<size_t>(y) * surface->width + x] = colour;
}

void fillRect(Surface* surface, int left, int top, int right, int bottom, uint32_t colour) {
    if (!clipRect(surface, &left, &top, &right, &bottom)) return;
    const int width = right - left;
    for (int y = top; y < bottom; ++y) {
        uint32_t* row = surface->pixels + static_cast<size_t>(y) * surface->width + left;
        for (int i = 0; i < width; ++i) row[i] = colour;
    }
}

void drawLine(Surface* surface, int x0, int y0, int x1, int y1, uint32_t colour) {
    if (surfaceIsEmpty(surface)) return;
    if (x0 == x1) {  // vertical: a clipped column fill
        if (y0 <= y1) fillRect(surface, x0, y0, x0 + 1, y1, colour);
        else fillRect(surface, x0, y1 + 1, x0 + 1, y0 + 1, colour);
        return;
    }
    if (y0 == y1) {
        if (x0 <= x1) fillRect(surface, x0, y0, x1, y0 + 1, colour);
        else fillRect(surface, x1 + 1, y0, x0 + 1, y0 + 1, colour);
        return;
    }
    // Bresenham; 45-degree lines come out as exact diagonals.
    long long dx = x1 > x0 ? static_cast<long long>(x1) - x0 : static_cast<long long>(x0) - x1;
    long long dy = y1 > y0 ? static_cast<long long>(y1) - y0 : static_cast<long long>(y0) - y1;
    int stepX = x1 > x0 ? 1 : -1, stepY = y1 > y0 ? 1 : -1;
    long long error = dx - dy;
    long long x = x0, y = y0;
    long long steps = dx > dy ? dx : dy;
    for (long long n = 0; n < steps; ++n) {
        if (x >= 0 && y >= 0 && x < surface->width && y < surface->height)
            surface->pixels[static_cast<size_t>(y) * surface->width + static_cast<size_t>(x)] = colour;
        long long twice = 2 * error;
        if (twice > -dy) { error -= dy; x += stepX; }
        if (twice < dx) { error += dx; y += stepY; }
    }
}

void copyRect(Surface* destination, int x, int y, const Surface* source, int sourceX, int sourceY, int width,
              int height) {
    if (!clipCopy(destination, &x, &y, source, &sourceX, &sourceY, &width, &height)) return;
    const size_t bytes = static_cast<size_t>(width) * sizeof(uint32_t);
    if (destination == source && y > sourceY) {  // overlapping copy within one surface: bottom up
        for (int j = height - 1; j >= 0; --j)
            std::memmove(destination->pixels + static_cast<size_t>(y + j) * destination->width + x,
                         source->pixels + static_cast<size_t>(sourceY + j) * source->width + sourceX, bytes);
        return;
    }
    for (int j = 0; j < height; ++j)
        std::memmove(destination->pixels + static_cast<size_t>(y + j) * destination->width + x,
                     source->pixels + static_cast<size_t>(sourceY + j) * source->width + sourceX, bytes);
}

void copyRectInverted(Surface* destination, int x, int y, const Surface* source, int sourceX, int sourceY,
                      int width, int height) {
    if (!clipCopy(destination, &x, &y, source, &sourceX, &sourceY, &width, &height)) return;
    const bool bottomUp = destination == source && y > sourceY;
    for (int n = 0; n < height; ++n) {
        int j = bottomUp ? height - 1 - n : n;
        uint32_t* to = destination->pixels + static_cast<size_t>(y + j) * destination->width + x;
        const uint32_t* from = source->pixels + static_cast<size_t>(sourceY + j) * source->width + sourceX;
        if (to == from) {
            for (int i = 0; i < width; ++i) to[i] ^= 0x00FFFFFFu;
        } else if (to < from) {
            for (int i = 0; i < width; ++i) to[i] = from[i] ^ 0x00FFFFFFu;
        } else {
            for (int i = width - 1; i >= 0; --i) to[i] = from[i] ^ 0x00FFFFFFu;
        }
    }
}

bool stretchSurface(Surface* destination, const Surface* source, int width, int height) {
    if (surfaceIsEmpty(source) || width <= 0 || height <= 0) {
        releaseSurface(destination);
        return false;
    }
    Surface result;
    if (!createSurface(&result, width, height)) {
        releaseSurface(destination);
        return false;
    }
    const int sourceWidth = source->width, sourceHeight = source->height;
    if (sourceWidth == width && sourceHeight == height) {
        std::memcpy(result.pixels, source->pixels, static_cast<size_t>(width) * height * sizeof(uint32_t));
    } else {
        // Horizontal pass into an intermediate of width x sourceHeight, then the vertical pass.
        AxisTaps horizontal, vertical;
        makeTaps(&horizontal, sourceWidth, width);
        makeTaps(&vertical, sourceHeight, height);
        if (static_cast<long long>(width) * sourceHeight > MAX_SURFACE_PIXELS) {
            releaseSurface(&result);
            releaseSurface(destination);
            return false;
        }
        // Plain blocks rather than containers: a failed allocation leaves the destination empty.
        uint32_t* middle = static_cast<uint32_t*>(std::malloc(static_cast<size_t>(width) * sourceHeight * sizeof(uint32_t)));
        uint32_t* sums = static_cast<uint32_t*>(std::malloc(static_cast<size_t>(width) * 3 * sizeof(uint32_t)));
        if (middle == nullptr || sums == nullptr) {
            std::free(middle);
            std::free(sums);
            releaseSurface(&result);
            releaseSurface(destination);
            return false;
        }
        for (int sy = 0; sy < sourceHeight; ++sy) {
            const uint32_t* line = source->pixels + static_cast<size_t>(sy) * sourceWidth;
            uint32_t* out = middle + static_cast<size_t>(sy) * width;
            for (int d = 0; d < width; ++d)
                out[d] = averagePixels(line, horizontal.first[d], horizontal.count[d],
                                       horizontal.weights.data() + horizontal.offset[d], horizontal.total);
        }
        uint32_t* red = sums;
        uint32_t* green = sums + width;
        uint32_t* blue = sums + 2 * width;
        for (int d = 0; d < height; ++d) {
            uint32_t* out = result.pixels + static_cast<size_t>(d) * width;
            if (vertical.count[d] == 1) {
                std::memcpy(out, middle + static_cast<size_t>(vertical.first[d]) * width,
                            static_cast<size_t>(width) * sizeof(uint32_t));
                continue;
            }
            // Rows are summed whole, so the pass walks memory in order.
            std::memset(sums, 0, static_cast<size_t>(width) * 3 * sizeof(uint32_t));
            const uint32_t* weights = vertical.weights.data() + vertical.offset[d];
            for (int k = 0; k < vertical.count[d]; ++k) {
                const uint32_t* line = middle + static_cast<size_t>(vertical.first[d] + k) * width;
                const uint32_t w = weights[k];
                for (int x = 0; x < width; ++x) {
                    const uint32_t p = line[x];
                    red[x] += (p & 0xFF) * w;
                    green[x] += ((p >> 8) & 0xFF) * w;
                    blue[x] += ((p >> 16) & 0xFF) * w;
                }
            }
            const uint32_t total = vertical.total, half = total / 2;
            for (int x = 0; x < width; ++x)
                out[x] = (red[x] + half) / total | ((green[x] + half) / total) << 8 | ((blue[x] + half) / total) << 16;
        }
        std::free(middle);
        std::free(sums);
    }
    releaseSurface(destination);  // also when destination is source: the result is complete
    *destination = result;
    return true;
}
