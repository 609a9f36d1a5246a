// Surface operations: clipping everywhere, exact line end points, copies,
// inverted copies and the two kinds of stretching.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/surface.h"
#include "tests/view2d/view_support.h"

namespace {

int countColour(const Surface& surface, uint32_t colour) {
    int n = 0;
    for (int i = 0; i < surface.width * surface.height; ++i) n += surface.pixels[i] == colour;
    return n;
}

}  // namespace

TEST(Surface, CreateReleaseAndLimits) {
    Surface surface{};
    ASSERT_TRUE(createSurface(&surface, 3, 2));
    EXPECT_FALSE(surfaceIsEmpty(&surface));
    EXPECT_EQ(countColour(surface, 0), 6);  // black
    releaseSurface(&surface);
    EXPECT_TRUE(surfaceIsEmpty(&surface));
    releaseSurface(&surface);  // twice is harmless
    EXPECT_FALSE(createSurface(&surface, 0, 5));
    EXPECT_FALSE(createSurface(&surface, 5, -1));
    EXPECT_FALSE(createSurface(&surface, 100000, 100000));  // beyond the pixel limit
    EXPECT_TRUE(surfaceIsEmpty(&surface));
    // Everything on an empty surface does nothing.
    fillRect(&surface, 0, 0, 5, 5, 1);
    setPixel(&surface, 0, 0, 1);
    drawLine(&surface, 0, 0, 4, 4, 1);
    EXPECT_EQ(getPixel(&surface, 0, 0), 0u);
}

TEST(Surface, FillAndPixelsClip) {
    Surface surface{};
    ASSERT_TRUE(createSurface(&surface, 10, 8));
    fillRect(&surface, -5, -5, 3, 2, 7);  // right and bottom excluded
    EXPECT_EQ(countColour(surface, 7), 6);
    EXPECT_EQ(getPixel(&surface, 2, 1), 7u);
    EXPECT_EQ(getPixel(&surface, 3, 1), 0u);
    fillRect(&surface, 8, 6, 50, 50, 9);
    EXPECT_EQ(countColour(surface, 9), 4);
    fillRect(&surface, 5, 5, 5, 9, 3);  // empty
    fillRect(&surface, 6, 5, 4, 9, 3);  // reversed: empty
    EXPECT_EQ(countColour(surface, 3), 0);
    setPixel(&surface, 10, 0, 5);
    setPixel(&surface, -1, 0, 5);
    EXPECT_EQ(countColour(surface, 5), 0);
    EXPECT_EQ(getPixel(&surface, 10, 0), 0u);
    EXPECT_EQ(getPixel(&surface, 0, -1), 0u);
    releaseSurface(&surface);
}

TEST(Surface, LinesExcludeTheirEndPoint) {
    Surface surface{};
    ASSERT_TRUE(createSurface(&surface, 12, 12));
    drawLine(&surface, 2, 3, 2, 7, 1);  // vertical down
    EXPECT_EQ(countColour(surface, 1), 4);
    EXPECT_EQ(getPixel(&surface, 2, 3), 1u);
    EXPECT_EQ(getPixel(&surface, 2, 7), 0u);
    drawLine(&surface, 9, 1, 4, 6, 2);  // diagonal down-left, 45 degrees
    EXPECT_EQ(countColour(surface, 2), 5);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(getPixel(&surface, 9 - k, 1 + k), 2u);
    EXPECT_EQ(getPixel(&surface, 4, 6), 0u);
    drawLine(&surface, 3, 10, 8, 10, 3);  // horizontal
    EXPECT_EQ(countColour(surface, 3), 5);
    EXPECT_EQ(getPixel(&surface, 8, 10), 0u);
    drawLine(&surface, 5, 5, 5, 5, 4);  // a point: nothing
    EXPECT_EQ(countColour(surface, 4), 0);
    drawLine(&surface, -3, 2, 3, 8, 5);  // partly outside
    EXPECT_EQ(countColour(surface, 5), 3);
    drawLine(&surface, 0, 0, 11, 3, 6);  // a shallow line: one pixel per column
    EXPECT_EQ(countColour(surface, 6), 11);
    drawLine(&surface, -1000000, 5, 1000000, 5, 7);
    EXPECT_EQ(getPixel(&surface, 0, 5), 7u);
    EXPECT_EQ(getPixel(&surface, 11, 5), 7u);
    releaseSurface(&surface);
}

TEST(Surface, CopiesClipAgainstBothSurfaces) {
    Surface source{}, destination{};
    ASSERT_TRUE(createSurface(&source, 4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) setPixel(&source, x, y, rgb(x, y, 9));
    ASSERT_TRUE(createSurface(&destination, 6, 5));
    copyRect(&destination, 1, 1, &source, 0, 0, 4, 4);
    EXPECT_EQ(getPixel(&destination, 1, 1), rgb(0, 0, 9));
    EXPECT_EQ(getPixel(&destination, 4, 4), rgb(3, 3, 9));
    EXPECT_EQ(getPixel(&destination, 5, 4), 0u);
    // Source rectangle partly outside the source, destination partly outside the destination.
    fillRect(&destination, 0, 0, 6, 5, 0);
    copyRect(&destination, -1, 3, &source, 2, -1, 10, 10);
    // Destination (0, 4) shows source (3, 0); (-1, 3) and the source row -1 fall away.
    EXPECT_EQ(getPixel(&destination, 0, 4), rgb(3, 0, 9));
    EXPECT_EQ(countColour(destination, 0), 29);
    copyRect(&destination, 0, 0, &source, 100, 100, 4, 4);  // nothing to copy
    copyRect(&destination, 0, 0, nullptr, 0, 0, 4, 4);
    Surface empty{};
    copyRect(&destination, 0, 0, &empty, 0, 0, 4, 4);
    copyRect(&empty, 0, 0, &source, 0, 0, 4, 4);
    // Inverted copy: every colour bit complemented, the unused top byte stays 0.
    copyRectInverted(&destination, 0, 0, &source, 1, 1, 2, 1);
    EXPECT_EQ(getPixel(&destination, 0, 0), rgb(1, 1, 9) ^ 0x00FFFFFFu);
    EXPECT_EQ(getPixel(&destination, 1, 0), rgb(2, 1, 9) ^ 0x00FFFFFFu);
    // Within one surface, overlapping.
    copyRect(&source, 1, 1, &source, 0, 0, 3, 3);
    EXPECT_EQ(getPixel(&source, 3, 3), rgb(2, 2, 9));
    EXPECT_EQ(getPixel(&source, 1, 1), rgb(0, 0, 9));
    releaseSurface(&source);
    releaseSurface(&destination);
}

TEST(Surface, StretchAveragesWhenShrinkingAndRepeatsWhenGrowing) {
    Surface source{}, result{};
    ASSERT_TRUE(createSurface(&source, 4, 2));
    // Columns: 0, 100, 200, 40 in red; rows alike.
    const int reds[4] = {0, 100, 200, 40};
    for (int x = 0; x < 4; ++x) fillRect(&source, x, 0, x + 1, 2, rgb(reds[x], 10, 20));
    ASSERT_TRUE(stretchSurface(&result, &source, 2, 1));
    EXPECT_EQ(getPixel(&result, 0, 0), rgb(50, 10, 20));
    EXPECT_EQ(getPixel(&result, 1, 0), rgb(120, 10, 20));
    // Shrinking by a fraction: 4 -> 3, the middle pixel half of each of two columns.
    ASSERT_TRUE(stretchSurface(&result, &source, 3, 2));
    // Each result pixel covers 4/3 of a column: (3 x 0 + 1 x 100) / 4, (2 x 100 + 2 x 200) / 4,
    // (1 x 200 + 3 x 40) / 4, rounded.
    EXPECT_EQ(getPixel(&result, 0, 0), rgb(25, 10, 20));
    EXPECT_EQ(getPixel(&result, 1, 0), rgb(150, 10, 20));
    EXPECT_EQ(getPixel(&result, 2, 1), rgb(80, 10, 20));
    // Growing: every pixel doubled.
    ASSERT_TRUE(stretchSurface(&result, &source, 8, 4));
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 4; ++y) EXPECT_EQ(getPixel(&result, x, y), rgb(reds[x / 2], 10, 20));
    // The same size is an exact copy, also in place.
    ASSERT_TRUE(stretchSurface(&result, &source, 4, 2));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(getPixel(&result, x, 1), rgb(reds[x], 10, 20));
    ASSERT_TRUE(stretchSurface(&source, &source, 2, 2));
    EXPECT_EQ(source.width, 2);
    EXPECT_EQ(getPixel(&source, 1, 1), rgb(120, 10, 20));
    // Nothing to stretch, or nowhere to: the destination ends empty.
    EXPECT_FALSE(stretchSurface(&result, &source, 0, 3));
    EXPECT_TRUE(surfaceIsEmpty(&result));
    Surface empty{};
    ASSERT_TRUE(stretchSurface(&result, &source, 3, 3));
    EXPECT_FALSE(stretchSurface(&result, &empty, 3, 3));
    EXPECT_TRUE(surfaceIsEmpty(&result));
    releaseSurface(&source);
}

// The area average of the source pixels under each result pixel, rounded once
// (nearest pixel where an axis grows), worked out the slow way.
static uint32_t referencePixel(const Surface& source, int width, int height, int x, int y) {
    auto weights = [](int sourceSize, int size, int d, std::vector<double>* w) {
        w->assign(static_cast<size_t>(sourceSize), 0.0);
        if (sourceSize <= size) {
            (*w)[static_cast<size_t>((2LL * d + 1) * sourceSize / (2LL * size))] = 1.0;
            return;
        }
        for (int s = 0; s < sourceSize; ++s) {
            const double lo = std::max<double>(1.0 * d * sourceSize, 1.0 * s * size);
            const double hi = std::min<double>(1.0 * (d + 1) * sourceSize, 1.0 * (s + 1) * size);
            if (hi > lo) (*w)[static_cast<size_t>(s)] = (hi - lo) / sourceSize;
        }
    };
    std::vector<double> wx, wy;
    weights(source.width, width, x, &wx);
    weights(source.height, height, y, &wy);
    uint32_t pixel = 0;
    for (int c = 0; c < 3; ++c) {
        double sum = 0;
        for (int sy = 0; sy < source.height; ++sy)
            for (int sx = 0; sx < source.width; ++sx)
                sum += wx[static_cast<size_t>(sx)] * wy[static_cast<size_t>(sy)] *
                       ((getPixel(&source, sx, sy) >> (8 * c)) & 0xFF);
        pixel |= static_cast<uint32_t>(std::floor(sum + 0.5)) << (8 * c);
    }
    return pixel;
}

TEST(Surface, ShrinkingIsTheAreaAverageRoundedOnce) {
    // Noise, the hardest picture for rounding, in sizes that are no multiples of four.
    Surface source{};
    ASSERT_TRUE(createSurface(&source, 37, 23));
    uint32_t seed = 12345;
    for (int i = 0; i < 37 * 23; ++i) {
        seed = seed * 1103515245u + 12345u;
        source.pixels[i] = (seed >> 8) & 0x00FFFFFF;
    }
    int channels = 0, exact = 0;
    for (auto size : {std::pair<int, int>{17, 11}, {5, 3}, {30, 23}, {13, 40}}) {
        Surface result{};
        ASSERT_TRUE(stretchSurface(&result, &source, size.first, size.second));
        for (int y = 0; y < size.second; ++y)
            for (int x = 0; x < size.first; ++x) {
                const uint32_t got = getPixel(&result, x, y), want = referencePixel(source, size.first, size.second, x, y);
                ASSERT_EQ(got >> 24, 0u);
                for (int c = 0; c < 3; ++c) {
                    const int difference = static_cast<int>((got >> (8 * c)) & 0xFF) - static_cast<int>((want >> (8 * c)) & 0xFF);
                    ASSERT_LE(std::abs(difference), 1) << size.first << "x" << size.second << " at " << x << "," << y;
                    ++channels;
                    exact += difference == 0;
                }
            }
        releaseSurface(&result);
    }
    // Only values within a few hundredths of a half step may round the other way.
    EXPECT_GE(exact * 100, channels * 97);
    releaseSurface(&source);
}

TEST(Surface, ASharedPictureBelongsToItsOwner) {
    Surface owner{}, view{};
    ASSERT_TRUE(createSurface(&owner, 300, 300));  // large enough for memory of its own
    setPixel(&owner, 1, 1, 7);
    shareSurface(&view, &owner);
    EXPECT_EQ(view.pixels, owner.pixels);
    EXPECT_EQ(view.serial, owner.serial);
    releaseSurface(&view);  // forgets the pixels, leaves them to the owner
    EXPECT_EQ(getPixel(&owner, 1, 1), 7u);
    shareSurface(&view, &owner);
    releaseSurface(&owner);
    releaseSurface(&view);  // after its owner: nothing is released twice
    EXPECT_TRUE(surfaceIsEmpty(&view));
}
