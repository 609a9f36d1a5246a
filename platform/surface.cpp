// Off-screen surfaces as plain pixel arrays. Every operation clips its
// rectangle once against the surfaces and then works row by row, so the hot
// paths (copies, fills and darkening) are plain loops over whole rows.
//
// stretchSurface resamples each axis on its own: where the picture shrinks,
// every destination pixel is the area average of the source pixels it covers
// (so tile faces shrunk from large cells stay smooth instead of losing whole
// rows and columns of their drawing); where it grows, the nearest source pixel
// is repeated (so enlarged faces stay crisp). A picture kept at its size is
// copied unchanged. The averaging runs on whole rows in integers: first down
// the columns (each destination row is a weighted sum of a few source rows),
// then along that one summed row. The weights of each destination pixel add up
// to 1 << 14 on each axis, and the column sums are kept in 1/64 steps, so the
// result is the exact area average to within a few hundredths of a step
// before the one final rounding. On x86-64 both passes use SSE2.
#include "platform/surface.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// No surface is larger than this; it bounds every allocation the pictures and
// the board buffer can ask for.
constexpr long long MAX_SURFACE_PIXELS = 64LL * 1024 * 1024;
constexpr int MAX_SURFACE_SIDE = 65535;

// Blocks from this size on are mapped on their own; smaller ones come from the heap.
constexpr size_t MAPPED_BLOCK = 256 * 1024;
constexpr size_t HUGE_PAGE = 2 * 1024 * 1024;

std::atomic<uint32_t> lastSerial{0};

// The length mapped for a large block: whole pages, and whole huge pages
// where that adds at most an eighth (a 1920 x 1080 picture fills four huge
// pages to within 1 %); elsewhere the tail beyond the last whole huge page is
// faulted in page by page.
size_t mappedLength(size_t bytes) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t length = (bytes + page - 1) / page * page;
    const size_t huge = (length + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    return huge - length <= length / 8 ? huge : length;
}

size_t surfaceBytes(const Surface* surface) {
    return static_cast<size_t>(surface->width) * static_cast<size_t>(surface->height) * sizeof(uint32_t);
}

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

// Fills count pixels.
inline void fillPixels(uint32_t* row, int count, uint32_t colour) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
    for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), four);
#endif
    for (; i < count; ++i) row[i] = colour;
}

// Each byte of count pixels becomes byte - amount, or 0 (the unused top byte is 0 and stays 0).
inline void subtractFromPixels(uint32_t* row, int count, unsigned amount) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i subtrahend = _mm_set1_epi8(static_cast<char>(amount > 255 ? 255 : amount));
    for (; i + 4 <= count; i += 4) {
        __m128i* four = reinterpret_cast<__m128i*>(row + i);
        _mm_storeu_si128(four, _mm_subs_epu8(_mm_loadu_si128(four), subtrahend));
    }
    for (; i < count; ++i) {
        const __m128i one = _mm_cvtsi32_si128(static_cast<int>(row[i]));
        row[i] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_subs_epu8(one, subtrahend)));
    }
#endif
    for (; i < count; ++i) {
        uint32_t pixel = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const unsigned channel = (row[i] >> shift) & 0xFF;
            pixel |= (channel > amount ? channel - amount : 0) << shift;
        }
        row[i] = pixel;
    }
}

// --- Stretching ----------------------------------------------------------------

constexpr int WEIGHT_BITS = 14;
constexpr int32_t WEIGHT_ONE = 1 << WEIGHT_BITS;
constexpr int COLUMN_FRACTION_BITS = 6;  // column sums are kept in 1/64 steps
constexpr int COLUMN_SHIFT = WEIGHT_BITS - COLUMN_FRACTION_BITS;
constexpr int FINAL_SHIFT = WEIGHT_BITS + COLUMN_FRACTION_BITS;

// One axis of a resampling: for each destination position the first source
// position that contributes and the weights of it and the following ones
// (adding up to WEIGHT_ONE), in pairs: two 16-bit halves of one 32-bit value.
// Every position has the same number of pairs, the missing weights being 0.
struct AxisTaps {
    std::vector<int> first;
    std::vector<int> count;       // the taps that can have a weight
    std::vector<uint32_t> pairs;  // pairsPerPosition for each destination position
    int pairsPerPosition;
    bool nearest;  // every position takes exactly one source pixel
};

void makeTaps(AxisTaps* taps, int sourceSize, int destinationSize) {
    taps->first.resize(destinationSize);
    taps->count.assign(destinationSize, 1);
    taps->nearest = sourceSize <= destinationSize;
    // A destination pixel covers S / D source pixels, so it touches at most that many plus two.
    const int most = taps->nearest ? 1 : static_cast<int>((sourceSize + destinationSize - 1) / destinationSize) + 1;
    taps->pairsPerPosition = (most + 1) / 2;
    taps->pairs.assign(static_cast<size_t>(destinationSize) * taps->pairsPerPosition, 0);
    std::vector<int32_t> weights(static_cast<size_t>(2 * taps->pairsPerPosition));
    for (int d = 0; d < destinationSize; ++d) {
        std::fill(weights.begin(), weights.end(), 0);
        if (taps->nearest) {
            // The source pixel under the centre of the destination pixel.
            taps->first[d] = static_cast<int>(((2LL * d + 1) * sourceSize) / (2LL * destinationSize));
            weights[0] = WEIGHT_ONE;
        } else {
            // Destination pixel d covers [d*S, (d+1)*S) in units of 1/D source
            // pixels, source pixel s covers [s*D, (s+1)*D). The exact overlaps
            // are brought to WEIGHT_ONE by rounding their running sums, so that
            // the weights always add up exactly.
            const long long S = sourceSize, D = destinationSize;
            const long long begin = d * S, end = (d + 1) * S;
            const int s0 = static_cast<int>(begin / D), s1 = static_cast<int>((end - 1) / D);
            taps->first[d] = s0;
            taps->count[d] = s1 - s0 + 1;
            long long covered = 0;
            int32_t given = 0;
            for (int s = s0; s <= s1; ++s) {
                const long long lo = s * D > begin ? s * D : begin;
                const long long hi = (s + 1) * D < end ? (s + 1) * D : end;
                covered += hi - lo;
                const int32_t total = static_cast<int32_t>((covered * WEIGHT_ONE + S / 2) / S);
                weights[static_cast<size_t>(s - s0)] = total - given;
                given = total;
            }
        }
        uint32_t* pairs = taps->pairs.data() + static_cast<size_t>(d) * taps->pairsPerPosition;
        for (int k = 0; k < taps->pairsPerPosition; ++k)
            pairs[k] = static_cast<uint32_t>(weights[2 * k]) | static_cast<uint32_t>(weights[2 * k + 1]) << 16;
    }
}

inline int32_t weightOf(const uint32_t* pairs, int k) {
    return static_cast<int32_t>(k % 2 == 0 ? pairs[k / 2] & 0xFFFF : pairs[k / 2] >> 16);
}

// The column sums of one destination row, in 1/64 steps, 16 bits a channel,
// are kept twice, so that the row pass finds any two neighbouring pixels p, p + 1
// side by side in one 16-byte block, channel by channel (red p, red p + 1,
// green p, green p + 1, blue p, blue p + 1, and the unused byte of both):
// block i of the even half holds the pixels 2i and 2i + 1, block i of the odd
// half the pixels 2i + 1 and 2i + 2. Both halves end in spare zero blocks, as
// many as the row pass reads beyond the last pixel.
struct ColumnSums {
    int16_t* values = nullptr;
    size_t oddStart = 0;  // index of the odd half in values
    int width = 0;

    bool make(int sourceWidth, int pairsPerPosition) {
        width = sourceWidth;
        const size_t blocks = static_cast<size_t>(sourceWidth) / 2 + static_cast<size_t>(pairsPerPosition) + 2;
        oddStart = blocks * 8;
        values = static_cast<int16_t*>(std::calloc(2 * oddStart, sizeof(int16_t)));
        return values != nullptr;
    }
    ~ColumnSums() { std::free(values); }
    // Where the block of the pixels p, p + 1 starts.
    size_t blockOf(int p) const { return (p % 2 == 0 ? 0 : oddStart) + static_cast<size_t>(p / 2) * 8; }
    void store(int p, const int32_t* channels) {
        for (int c = 0; c < 4; ++c) {
            values[static_cast<size_t>(p / 2) * 8 + 2 * c + p % 2] = static_cast<int16_t>(channels[c]);
            if (p > 0) values[oddStart + static_cast<size_t>((p - 1) / 2) * 8 + 2 * c + (p + 1) % 2] =
                static_cast<int16_t>(channels[c]);
        }
    }
};

// The column pass of one destination row: the weighted sum of the source rows
// rows[0..count). A pixel's sums, rounded to 1/64 steps, are stored in both
// halves of sums.
void storeColumnSums(ColumnSums* sums, int x, const int32_t* totals) {
    int32_t channels[4];
    for (int c = 0; c < 4; ++c) channels[c] = (totals[c] + (1 << (COLUMN_SHIFT - 1))) >> COLUMN_SHIFT;
    sums->store(x, channels);
}

#if defined(__SSE2__)
// Four pixels of COUNT rows (1 to 4); weights holds the weights in pairs,
// each pair spread over a whole vector.
template <int COUNT>
void sumColumnsOf(const uint32_t* const* rows, const __m128i* weights, ColumnSums* sums, int* done) {
    const int width = sums->width;
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(1 << (COLUMN_SHIFT - 1));
    __m128i previous = zero;  // the sums of pixel x - 1
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        __m128i sum0 = zero, sum1 = zero, sum2 = zero, sum3 = zero;
        for (int k = 0; k < COUNT; k += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + x));
            const __m128i b = k + 1 < COUNT ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + x)) : zero;
            const __m128i aLow = _mm_unpacklo_epi8(a, zero), bLow = _mm_unpacklo_epi8(b, zero);
            const __m128i aHigh = _mm_unpackhi_epi8(a, zero), bHigh = _mm_unpackhi_epi8(b, zero);
            // Channel c of row k beside channel c of row k + 1: one multiply-add per pixel.
            sum0 = _mm_add_epi32(sum0, _mm_madd_epi16(_mm_unpacklo_epi16(aLow, bLow), weights[k / 2]));
            sum1 = _mm_add_epi32(sum1, _mm_madd_epi16(_mm_unpackhi_epi16(aLow, bLow), weights[k / 2]));
            sum2 = _mm_add_epi32(sum2, _mm_madd_epi16(_mm_unpacklo_epi16(aHigh, bHigh), weights[k / 2]));
            sum3 = _mm_add_epi32(sum3, _mm_madd_epi16(_mm_unpackhi_epi16(aHigh, bHigh), weights[k / 2]));
        }
        sum0 = _mm_srai_epi32(_mm_add_epi32(sum0, half), COLUMN_SHIFT);
        sum1 = _mm_srai_epi32(_mm_add_epi32(sum1, half), COLUMN_SHIFT);
        sum2 = _mm_srai_epi32(_mm_add_epi32(sum2, half), COLUMN_SHIFT);
        sum3 = _mm_srai_epi32(_mm_add_epi32(sum3, half), COLUMN_SHIFT);
        // Two pixels side by side, channel by channel: red, red, green, green, ...
        int16_t* even = sums->values + static_cast<size_t>(x / 2) * 8;
        int16_t* odd = sums->values + sums->oddStart + static_cast<size_t>(x / 2) * 8;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(even),
                         _mm_packs_epi32(_mm_unpacklo_epi32(sum0, sum1), _mm_unpackhi_epi32(sum0, sum1)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(even + 8),
                         _mm_packs_epi32(_mm_unpacklo_epi32(sum2, sum3), _mm_unpackhi_epi32(sum2, sum3)));
        if (x > 0)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(odd - 8), _mm_packs_epi32(_mm_unpacklo_epi32(previous, sum0),
                                                                                 _mm_unpackhi_epi32(previous, sum0)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(odd),
                         _mm_packs_epi32(_mm_unpacklo_epi32(sum1, sum2), _mm_unpackhi_epi32(sum1, sum2)));
        previous = sum3;
    }
    // The last pixel done beside the first one left (or the spare zeros).
    if (x > 0)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums->values + sums->oddStart + static_cast<size_t>(x / 2 - 1) * 8),
                         _mm_packs_epi32(_mm_unpacklo_epi32(previous, zero), _mm_unpackhi_epi32(previous, zero)));
    *done = x;
}
#endif

void sumColumns(const uint32_t* const* rows, const uint32_t* pairs, int count, ColumnSums* sums) {
    int x = 0;
#if defined(__SSE2__)
    if (count <= 4) {
        const __m128i weights[2] = {_mm_set1_epi32(static_cast<int>(pairs[0])),
                                    _mm_set1_epi32(count > 2 ? static_cast<int>(pairs[1]) : 0)};
        switch (count) {
            case 1: sumColumnsOf<1>(rows, weights, sums, &x); break;
            case 2: sumColumnsOf<2>(rows, weights, sums, &x); break;
            case 3: sumColumnsOf<3>(rows, weights, sums, &x); break;
            default: sumColumnsOf<4>(rows, weights, sums, &x); break;
        }
    }
#endif
    for (; x < sums->width; ++x) {
        int32_t totals[4] = {0, 0, 0, 0};
        for (int k = 0; k < count; ++k) {
            const int32_t weight = weightOf(pairs, k);
            const uint32_t p = rows[k][x];
            for (int c = 0; c < 4; ++c) totals[c] += static_cast<int32_t>((p >> (8 * c)) & 0xFF) * weight;
        }
        storeColumnSums(sums, x, totals);
    }
}

#if defined(__SSE2__)
// A weight pair spread over a whole vector.
struct WeightLanes {
    __m128i lanes;
};

// The row pass with PAIRS pairs of taps a pixel (0: as many as the taps say).
template <int PAIRS>
void sumRowOf(const ColumnSums& sums, const std::vector<size_t>& blocks, const std::vector<WeightLanes>& weights,
              int perPosition, int width, uint32_t* out, int* done) {
    const __m128i half = _mm_set1_epi32(1 << (FINAL_SHIFT - 1));
    const __m128i colours = _mm_set1_epi32(0x00FFFFFF);
    const int pairs = PAIRS > 0 ? PAIRS : perPosition;
    auto one = [&](int d) {
        const __m128i* block = reinterpret_cast<const __m128i*>(sums.values + blocks[static_cast<size_t>(d)]);
        const WeightLanes* weight = weights.data() + static_cast<size_t>(d) * static_cast<size_t>(pairs);
        __m128i sum = _mm_madd_epi16(_mm_loadu_si128(block), weight[0].lanes);
        for (int k = 1; k < pairs; ++k)
            sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_loadu_si128(block + k), weight[k].lanes));
        return _mm_srai_epi32(_mm_add_epi32(sum, half), FINAL_SHIFT);
    };
    int x = 0;
    for (; x + 2 <= width; x += 2) {
        const __m128i both = _mm_packs_epi32(one(x), one(x + 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_and_si128(_mm_packus_epi16(both, both), colours));
    }
    *done = x;
}
#endif

// The row pass: each destination pixel from the column sums under its taps.
// blocks holds, for each destination pixel, where the block of its first tap
// starts in sums; weights (with SSE2) its weight pairs, each over a whole vector.
struct RowTaps {
    const AxisTaps* taps;
    std::vector<size_t> blocks;
#if defined(__SSE2__)
    std::vector<WeightLanes> weights;
#endif
    void make(const AxisTaps& axis, const ColumnSums& sums) {
        taps = &axis;
        blocks.resize(axis.first.size());
        for (size_t d = 0; d < axis.first.size(); ++d) blocks[d] = sums.blockOf(axis.first[d]);
#if defined(__SSE2__)
        weights.resize(axis.pairs.size());
        for (size_t k = 0; k < axis.pairs.size(); ++k) weights[k].lanes = _mm_set1_epi32(static_cast<int>(axis.pairs[k]));
#endif
    }
};

void sumRow(const ColumnSums& sums, const RowTaps& row, int width, uint32_t* out) {
    const AxisTaps& taps = *row.taps;
    const int perPosition = taps.pairsPerPosition;
    int x = 0;
#if defined(__SSE2__)
    switch (perPosition) {
        case 1: sumRowOf<1>(sums, row.blocks, row.weights, perPosition, width, out, &x); break;
        case 2: sumRowOf<2>(sums, row.blocks, row.weights, perPosition, width, out, &x); break;
        default: sumRowOf<0>(sums, row.blocks, row.weights, perPosition, width, out, &x); break;
    }
#endif
    for (; x < width; ++x) {
        const int16_t* block = sums.values + row.blocks[static_cast<size_t>(x)];
        const uint32_t* pairs = taps.pairs.data() + static_cast<size_t>(x) * perPosition;
        int32_t sum[3] = {0, 0, 0};
        for (int k = 0; k < 2 * perPosition; ++k)
            for (int c = 0; c < 3; ++c) sum[c] += block[8 * (k / 2) + 2 * c + k % 2] * weightOf(pairs, k);
        uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c) {
            int32_t value = (sum[c] + (1 << (FINAL_SHIFT - 1))) >> FINAL_SHIFT;
            if (value > 255) value = 255;
            pixel |= static_cast<uint32_t>(value) << (8 * c);
        }
        out[x] = pixel;
    }
}

// Both axes keep or grow their size: every pixel is a source pixel.
void stretchNearest(const Surface* source, Surface* result, const AxisTaps& horizontal, const AxisTaps& vertical) {
    const int width = result->width;
    for (int d = 0; d < result->height; ++d) {
        uint32_t* out = result->pixels + static_cast<size_t>(d) * width;
        if (d > 0 && vertical.first[d] == vertical.first[d - 1]) {
            std::memcpy(out, out - width, static_cast<size_t>(width) * sizeof(uint32_t));
            continue;
        }
        const uint32_t* line = source->pixels + static_cast<size_t>(vertical.first[d]) * source->width;
        for (int x = 0; x < width; ++x) out[x] = line[horizontal.first[x]];
    }
}

bool stretchAveraging(const Surface* source, Surface* result, const AxisTaps& horizontal, const AxisTaps& vertical) {
    ColumnSums sums;
    if (!sums.make(source->width, horizontal.pairsPerPosition)) return false;
    RowTaps row;
    row.make(horizontal, sums);
    std::vector<const uint32_t*> rows(static_cast<size_t>(2 * vertical.pairsPerPosition));
    for (int d = 0; d < result->height; ++d) {
        uint32_t* out = result->pixels + static_cast<size_t>(d) * result->width;
        if (vertical.nearest && d > 0 && vertical.first[d] == vertical.first[d - 1]) {
            std::memcpy(out, out - result->width, static_cast<size_t>(result->width) * sizeof(uint32_t));
            continue;
        }
        const int first = vertical.first[d], count = vertical.count[d];
        for (int k = 0; k < count; ++k)
            rows[static_cast<size_t>(k)] = source->pixels + static_cast<size_t>(first + k) * source->width;
        sumColumns(rows.data(), vertical.pairs.data() + static_cast<size_t>(d) * vertical.pairsPerPosition, count,
                   &sums);
        sumRow(sums, row, result->width, out);
    }
    return true;
}

}  // namespace

void* platformAllocatePictureBlock(size_t bytes) {
    if (bytes == 0) return nullptr;
    if (bytes < MAPPED_BLOCK) return std::calloc(bytes, 1);
    // Mapped with a huge page of room to spare, then trimmed to start on a huge
    // page boundary, so that every whole 2 MB of the block can be one page.
    const size_t length = mappedLength(bytes);
    void* area = mmap(nullptr, length + HUGE_PAGE, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(area);
    const uintptr_t aligned = (start + HUGE_PAGE - 1) & ~static_cast<uintptr_t>(HUGE_PAGE - 1);
    if (aligned > start) munmap(area, aligned - start);
    const uintptr_t end = start + length + HUGE_PAGE;
    if (end > aligned + length) munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
#if defined(MADV_HUGEPAGE)
    madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<void*>(aligned);
}

void platformReleasePictureBlock(void* block, size_t bytes) {
    if (block == nullptr) return;
    if (bytes < MAPPED_BLOCK) std::free(block);
    else munmap(block, mappedLength(bytes));
}

std::recursive_mutex& platformSurfaceLock() {
    static std::recursive_mutex lock;
    return lock;
}

bool createSurface(Surface* surface, int width, int height) {
    surface->width = 0;
    surface->height = 0;
    surface->pixels = nullptr;
    surface->borrowed = false;
    surface->serial = 0;
    if (width <= 0 || height <= 0 || width > MAX_SURFACE_SIDE || height > MAX_SURFACE_SIDE) return false;
    if (static_cast<long long>(width) * height > MAX_SURFACE_PIXELS) return false;
    void* block = platformAllocatePictureBlock(static_cast<size_t>(width) * static_cast<size_t>(height) *
                                               sizeof(uint32_t));
    if (block == nullptr) return false;
    surface->pixels = static_cast<uint32_t*>(block);
    surface->width = width;
    surface->height = height;
    surface->serial = ++lastSerial;
    return true;
}

void releaseSurface(Surface* surface) {
    if (surface == nullptr) return;
    if (!surface->borrowed) platformReleasePictureBlock(surface->pixels, surfaceBytes(surface));
    surface->pixels = nullptr;
    surface->width = 0;
    surface->height = 0;
    surface->borrowed = false;
    surface->serial = 0;
}

bool surfaceIsEmpty(const Surface* surface) {
    return surface == nullptr || surface->pixels == nullptr || surface->width <= 0 || surface->height <= 0;
}

void shareSurface(Surface* view, const Surface* owner) {
    if (view == owner) return;
    releaseSurface(view);
    if (surfaceIsEmpty(owner)) return;
    *view = *owner;
    view->borrowed = true;
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
    uint32_t* row = surface->pixels + static_cast<size_t>(top) * surface->width + left;
    if (right - left == 1) {  // a column, as the outlines of the tiles have
        for (int y = top; y < bottom; ++y, row += surface->width) *row = colour;
        return;
    }
    for (int y = top; y < bottom; ++y, row += surface->width) fillPixels(row, right - left, colour);
}

void subtractFromRect(Surface* surface, int left, int top, int right, int bottom, unsigned amount) {
    if (!clipRect(surface, &left, &top, &right, &bottom)) return;
    for (int y = top; y < bottom; ++y)
        subtractFromPixels(surface->pixels + static_cast<size_t>(y) * surface->width + left, right - left, amount);
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
    bool made = true;
    if (source->width == width && source->height == height) {
        std::memcpy(result.pixels, source->pixels, surfaceBytes(&result));
    } else {
        AxisTaps horizontal, vertical;
        makeTaps(&horizontal, source->width, width);
        makeTaps(&vertical, source->height, height);
        if (horizontal.nearest && vertical.nearest) stretchNearest(source, &result, horizontal, vertical);
        else made = stretchAveraging(source, &result, horizontal, vertical);
    }
    if (!made) releaseSurface(&result);
    releaseSurface(destination);  // also when destination is source: the result is complete
    *destination = result;
    return made;
}
