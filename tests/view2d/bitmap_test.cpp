// The BMP reader: every supported form decodes to the right pixels, and no
// damaged, truncated, oversized or hostile file gets past it.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "platform/files.h"
#include "tests/support/null_host.h"
#include "tests/view2d/view_support.h"
#include "view2d/bitmap.h"

namespace {

// A 5 x 3 picture of distinct colours (odd width, so every row is padded).
BmpSpec trueColourSpec(int bpp, bool topDown) {
    BmpSpec spec;
    spec.width = 5;
    spec.height = 3;
    spec.bitsPerPixel = bpp;
    spec.topDown = topDown;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) spec.pixels.push_back(rgb(10 + 40 * x, 20 + 70 * y, 250 - 30 * x - 50 * y));
    return spec;
}

// A 13 x 4 picture of colour indices (13 pixels: partial bytes at 1 and 4 bits).
BmpSpec indexedSpec(int bpp, bool topDown) {
    BmpSpec spec;
    spec.width = 13;
    spec.height = 4;
    spec.bitsPerPixel = bpp;
    spec.topDown = topDown;
    const int colours = 1 << bpp;
    for (int i = 0; i < colours; ++i) spec.palette.push_back(rgb(i * 7 % 256, 255 - i, (i * 31) % 256));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 13; ++x) spec.pixels.push_back(static_cast<uint32_t>((x * 3 + y * 5) % colours));
    return spec;
}

void expectDecodes(const BmpSpec& spec) {
    std::vector<uint8_t> file = writeBmp(spec);
    Surface slot{};
    ASSERT_TRUE(decodeBitmap(file.data(), file.size(), &slot));
    ASSERT_EQ(slot.width, spec.width);
    ASSERT_EQ(slot.height, spec.height);
    for (int y = 0; y < spec.height; ++y)
        for (int x = 0; x < spec.width; ++x) {
            uint32_t expected = spec.pixels[static_cast<size_t>(y) * spec.width + x];
            if (spec.bitsPerPixel <= 8) expected = spec.palette[expected];
            ASSERT_EQ(getPixel(&slot, x, y), expected) << "pixel " << x << "," << y;
        }
    releaseSurface(&slot);
}

bool decodes(const std::vector<uint8_t>& file) {
    Surface slot{};
    // A slot holding an old picture is emptied on failure.
    createSurface(&slot, 3, 3);
    const bool ok = decodeBitmap(file.data(), file.size(), &slot);
    EXPECT_EQ(ok, !surfaceIsEmpty(&slot));
    releaseSurface(&slot);
    return ok;
}

}  // namespace

TEST(BitmapDecode, TrueColourBottomUpAndTopDown) {
    for (int bpp : {24, 32})
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(bpp);
            expectDecodes(trueColourSpec(bpp, topDown));
        }
}

TEST(BitmapDecode, IndexedBottomUpAndTopDown) {
    for (int bpp : {1, 4, 8})
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(bpp);
            expectDecodes(indexedSpec(bpp, topDown));
        }
}

TEST(BitmapDecode, SixteenBitsDefaultAndBitFields) {
    BmpSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.bitsPerPixel = 16;
    // 5-5-5: full red, full green, full blue / black, white, mid grey.
    spec.pixels = {0x7C00, 0x03E0, 0x001F, 0x0000, 0x7FFF, (16u << 10) | (16u << 5) | 16u};
    std::vector<uint8_t> file = writeBmp(spec);
    Surface slot{};
    ASSERT_TRUE(decodeBitmap(file.data(), file.size(), &slot));
    EXPECT_EQ(getPixel(&slot, 0, 0), rgb(255, 0, 0));
    EXPECT_EQ(getPixel(&slot, 1, 0), rgb(0, 255, 0));
    EXPECT_EQ(getPixel(&slot, 2, 0), rgb(0, 0, 255));
    EXPECT_EQ(getPixel(&slot, 0, 1), rgb(0, 0, 0));
    EXPECT_EQ(getPixel(&slot, 1, 1), rgb(255, 255, 255));
    EXPECT_EQ(getPixel(&slot, 2, 1), rgb(132, 132, 132));

    // 5-6-5 bit fields.
    spec.compression = 3;
    spec.masks = {0xF800, 0x07E0, 0x001F};
    spec.pixels = {0xF800, 0x07E0, 0x001F, 0x0000, 0xFFFF, 0x0400};
    file = writeBmp(spec);
    ASSERT_TRUE(decodeBitmap(file.data(), file.size(), &slot));
    EXPECT_EQ(getPixel(&slot, 0, 0), rgb(255, 0, 0));
    EXPECT_EQ(getPixel(&slot, 1, 0), rgb(0, 255, 0));
    EXPECT_EQ(getPixel(&slot, 2, 0), rgb(0, 0, 255));
    EXPECT_EQ(getPixel(&slot, 1, 1), rgb(255, 255, 255));
    EXPECT_EQ(getPixel(&slot, 2, 1), rgb(0, 130, 0));
    releaseSurface(&slot);
}

TEST(BitmapDecode, ThirtyTwoBitFields) {
    BmpSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.bitsPerPixel = 32;
    spec.compression = 3;
    spec.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the low byte
    spec.pixels = {rgb(1, 2, 3), rgb(200, 100, 50)};
    std::vector<uint8_t> file = writeBmp(spec);
    Surface slot{};
    ASSERT_TRUE(decodeBitmap(file.data(), file.size(), &slot));
    EXPECT_EQ(getPixel(&slot, 0, 0), rgb(1, 2, 3));
    EXPECT_EQ(getPixel(&slot, 1, 0), rgb(200, 100, 50));
    // A mask whose bits are not one run is refused.
    spec.masks = {0x000000F5, 0x0000FF00, 0x00FF0000};
    file = writeBmp(spec);
    EXPECT_FALSE(decodeBitmap(file.data(), file.size(), &slot));
    // Bit fields belong to 16 and 32 bits only.
    BmpSpec other = trueColourSpec(24, false);
    other.compression = 3;
    other.masks = {0xFF0000, 0xFF00, 0xFF};
    EXPECT_FALSE(decodes(writeBmp(other)));
    releaseSurface(&slot);
}

TEST(BitmapDecode, ColourTableShortOrCounted) {
    // Only 3 of 16 colours stored, and counted: indices beyond are black.
    BmpSpec spec = indexedSpec(4, false);
    spec.palette.resize(3);
    spec.coloursUsed = 3;
    std::vector<uint8_t> file = writeBmp(spec);
    Surface slot{};
    ASSERT_TRUE(decodeBitmap(file.data(), file.size(), &slot));
    for (int x = 0; x < spec.width; ++x) {
        const uint32_t index = spec.pixels[x];
        EXPECT_EQ(getPixel(&slot, x, 0), index < 3 ? spec.palette[index] : 0u);
    }
    // Count 0 means all 16, but only 3 fit before the pixels: clamped to the 3 there.
    put32(file, 46, 0);
    ASSERT_TRUE(decodeBitmap(file.data(), file.size(), &slot));
    EXPECT_EQ(getPixel(&slot, 0, 0), spec.palette[0]);
    releaseSurface(&slot);
}

TEST(BitmapDecode, TruncatedRowsAndLyingSizes) {
    const std::vector<uint8_t> good = writeBmp(trueColourSpec(24, false));
    ASSERT_TRUE(decodes(good));
    // Missing padding of the last row is tolerated; a missing pixel is not.
    std::vector<uint8_t> file(good.begin(), good.end() - 1);
    put32(file, 34, 0);
    EXPECT_TRUE(decodes(file));
    file.resize(good.size() - 2);
    EXPECT_FALSE(decodes(file));
    // Truncated anywhere before that.
    for (size_t size : {size_t(0), size_t(1), size_t(2), size_t(13), size_t(14), size_t(20), size_t(53),
                        size_t(54), size_t(60)}) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
        EXPECT_FALSE(decodes(cut)) << size;
    }
    // An image size claiming more data than the file holds.
    file = good;
    put32(file, 34, 100000);
    EXPECT_FALSE(decodes(file));
    // A height needing more rows than there are.
    file = good;
    put32(file, 22, 4);
    EXPECT_FALSE(decodes(file));
    // 'BM' only, and a file that does not begin with BM.
    EXPECT_FALSE(decodes(std::vector<uint8_t>{'B', 'M'}));
    file = good;
    file[0] = 'M';
    file[1] = 'B';
    EXPECT_FALSE(decodes(file));
}

TEST(BitmapDecode, HostileHeaderFields) {
    const std::vector<uint8_t> good = writeBmp(trueColourSpec(24, false));
    auto with32 = [&](size_t offset, uint32_t value) {
        std::vector<uint8_t> file = good;
        put32(file, offset, value);
        return file;
    };
    auto with16 = [&](size_t offset, uint16_t value) {
        std::vector<uint8_t> file = good;
        put16(file, offset, value);
        return file;
    };
    EXPECT_FALSE(decodes(with32(10, static_cast<uint32_t>(good.size() + 10))));  // pixels beyond the file
    EXPECT_FALSE(decodes(with32(10, 0xFFFFFFFFu)));
    EXPECT_FALSE(decodes(with32(10, 20)));           // pixels inside the header
    EXPECT_FALSE(decodes(with32(14, 0xFFFFFFF0u)));  // header size
    EXPECT_FALSE(decodes(with32(14, 39)));
    EXPECT_FALSE(decodes(with32(18, 0)));                         // width 0
    EXPECT_FALSE(decodes(with32(18, static_cast<uint32_t>(-5))));  // negative width
    EXPECT_FALSE(decodes(with32(18, 0x7FFFFFFFu)));
    EXPECT_FALSE(decodes(with32(22, 0)));  // height 0
    EXPECT_FALSE(decodes(with32(22, 0x80000000u)));
    EXPECT_FALSE(decodes(with32(22, 0x7FFFFFFFu)));
    EXPECT_FALSE(decodes(with32(22, static_cast<uint32_t>(-100000))));
    // 40000 x 40000 declared over a few bytes: refused before any allocation.
    std::vector<uint8_t> huge = with32(18, 40000);
    put32(huge, 22, 40000);
    EXPECT_FALSE(decodes(huge));
    for (uint16_t bpp : {0, 2, 7, 12, 48, 64, 0xFFFF}) EXPECT_FALSE(decodes(with16(28, bpp))) << bpp;
    EXPECT_FALSE(decodes(with16(26, 0)));  // planes
    EXPECT_FALSE(decodes(with16(26, 3)));
    for (uint32_t compression : {1u, 2u, 4u, 5u, 6u, 0xFFFFFFFFu})
        EXPECT_FALSE(decodes(with32(30, compression))) << compression;

    // Colour counts beyond what the indices can use.
    std::vector<uint8_t> indexed = writeBmp(indexedSpec(8, false));
    ASSERT_TRUE(decodes(indexed));
    put32(indexed, 46, 0xFFFFFFFFu);
    EXPECT_FALSE(decodes(indexed));
    put32(indexed, 46, 257);
    EXPECT_FALSE(decodes(indexed));
    // An indexed picture with its colour table cut away entirely.
    indexed = writeBmp(indexedSpec(8, false));
    put32(indexed, 10, 54);
    EXPECT_FALSE(decodes(indexed));
}

TEST(BitmapDecode, RandomBytesAndMutationsNeverCrash) {
    std::mt19937 random(20261208);
    const std::vector<uint8_t> seeds[] = {writeBmp(trueColourSpec(24, false)), writeBmp(indexedSpec(1, true)),
                                          writeBmp(indexedSpec(4, false)), writeBmp(indexedSpec(8, false)),
                                          writeBmp(trueColourSpec(32, true))};
    int decoded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> file;
        if (round % 3 == 0) {  // random bytes after a BM signature
            file.resize(random() % 300);
            for (uint8_t& byte : file) byte = static_cast<uint8_t>(random());
            if (file.size() >= 2) {
                file[0] = 'B';
                file[1] = 'M';
            }
        } else {  // a valid picture with a few header or table bytes changed, maybe cut short
            file = seeds[random() % 5];
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int c = 0; c < changes; ++c) {
                const size_t at = random() % (file.size() < 120 ? file.size() : 120);
                file[at] = static_cast<uint8_t>(random());
            }
            if (random() % 4 == 0) file.resize(random() % file.size());
        }
        Surface slot{};
        if (decodeBitmap(file.data(), file.size(), &slot)) {
            ++decoded;
            EXPECT_GT(slot.width, 0);
            EXPECT_GT(slot.height, 0);
        }
        releaseSurface(&slot);
    }
    EXPECT_GT(decoded, 0);  // mutations of pixel-irrelevant bytes still decode
}

TEST(BitmapFile, LoadsFromTheCurrentDirectoryAndEmptiesTheSlotOnFailure) {
    const std::string directory = makeTempDirectory("bitmap");
    ASSERT_FALSE(directory.empty());
    char previous[4096];
    ASSERT_TRUE(platformGetCurrentDirectory(previous, sizeof previous));
    ASSERT_TRUE(writeFile(directory + "/Face.bmp", writeBmp(trueColourSpec(24, false))));
    std::vector<uint8_t> notBmp = writeBmp(trueColourSpec(24, false));
    notBmp[0] = 'X';
    ASSERT_TRUE(writeFile(directory + "/WRONG.BMP", notBmp));
    ASSERT_TRUE(writeFile(directory + "/EMPTY.BMP", std::vector<uint8_t>()));
    ASSERT_TRUE(platformSetCurrentDirectory(directory.c_str()));

    fake::reset();
    Surface slot{};
    loadBitmapFile(nullptr, "FACE.BMP", &slot);  // names resolve without regard to case
    EXPECT_EQ(slot.width, 5);
    EXPECT_EQ(slot.height, 3);
    loadBitmapFile(nullptr, "WRONG.BMP", &slot);
    EXPECT_TRUE(surfaceIsEmpty(&slot));
    loadBitmapFile(nullptr, "FACE.BMP", &slot);
    loadBitmapFile(nullptr, "MISSING.BMP", &slot);
    EXPECT_TRUE(surfaceIsEmpty(&slot));
    loadBitmapFile(nullptr, "EMPTY.BMP", &slot);
    EXPECT_TRUE(surfaceIsEmpty(&slot));
    loadBitmapFile(nullptr, "", &slot);
    EXPECT_TRUE(surfaceIsEmpty(&slot));
    EXPECT_EQ(fake::messages.size(), 0u);  // failures are silent
    platformSetCurrentDirectory(previous);
    removeTempDirectory(directory);
}
