// Tile shadows: the exact pixels of every piece, and the pieces the board
// gives a lone tile and two neighbours.
#include <gtest/gtest.h>

#include "engine/board.h"
#include "settings/settings.h"
#include "tests/view2d/view_support.h"
#include "view2d/draw_tile.h"
#include "engine/shadows.h"
#include "view2d/tileset.h"

namespace {

const uint32_t GREY = 0x00646464;   // 100, 100, 100
const uint32_t SHADED = 0x00242424;  // 100 - 64 in every channel

// Tile 0 on layer 1 with its face at (50, 40); faces 20 x 24, d = 5; the
// shadow width follows from shadowSize.
struct ShadowBoard {
    Surface buffer{};
    explicit ShadowBoard(int shadowSize = 4) {
        resetViewState();
        setUpView(20, 24, 4, shadowSize, 200, 150);
        placeTile(0, 1, 4, 4, 1);
        tileTable[0].screenX = 50;
        tileTable[0].screenY = 40;
        createSurface(&buffer, 200, 150);
        fillRect(&buffer, 0, 0, 200, 150, GREY);
    }
    ~ShadowBoard() { releaseSurface(&buffer); }
    int shadeOnly(int flag) {
        fillRect(&buffer, 0, 0, 200, 150, GREY);
        for (int f = 0; f < SHADOW_FLAG_COUNT; ++f) shadowFlags[0][f] = f == flag;
        drawTileShadow(0, &buffer);
        return count(SHADED);
    }
    int count(uint32_t colour) const {
        int n = 0;
        for (int i = 0; i < 200 * 150; ++i) n += buffer.pixels[i] == colour;
        return n;
    }
    bool shaded(int x, int y) const { return getPixel(&buffer, x, y) == SHADED; }
};

}  // namespace

TEST(TileShadow, EveryPieceCoversItsRange) {
    ShadowBoard board;
    ASSERT_EQ(shadowExtent, 6);
    // X0 = 45, XR = 65, Y0 = 69; right strip from row y + d = 45, its halves meet at row 57.
    EXPECT_EQ(board.shadeOnly(F0), 15);
    EXPECT_TRUE(board.shaded(45, 70));
    EXPECT_FALSE(board.shaded(45, 69));
    EXPECT_TRUE(board.shaded(49, 74));
    EXPECT_FALSE(board.shaded(50, 74));
    EXPECT_EQ(board.shadeOnly(F1), 45);
    EXPECT_TRUE(board.shaded(45, 69));
    EXPECT_TRUE(board.shaded(54, 69));
    EXPECT_FALSE(board.shaded(55, 69));
    EXPECT_FALSE(board.shaded(49, 74));
    EXPECT_TRUE(board.shaded(50, 74));
    EXPECT_EQ(board.shadeOnly(F2), 15);
    EXPECT_TRUE(board.shaded(55, 70));
    EXPECT_FALSE(board.shaded(55, 69));
    EXPECT_EQ(board.shadeOnly(F3), 45);
    EXPECT_TRUE(board.shaded(64, 69));
    EXPECT_FALSE(board.shaded(65, 69));
    EXPECT_TRUE(board.shaded(60, 74));
    EXPECT_FALSE(board.shaded(59, 74));
    EXPECT_EQ(board.shadeOnly(F4), 36);
    EXPECT_TRUE(board.shaded(65, 69));
    EXPECT_TRUE(board.shaded(70, 74));
    EXPECT_FALSE(board.shaded(71, 74));
    EXPECT_FALSE(board.shaded(70, 75));
    EXPECT_EQ(board.shadeOnly(F8), 21);
    EXPECT_TRUE(board.shaded(65, 45));
    EXPECT_FALSE(board.shaded(65, 46));
    EXPECT_TRUE(board.shaded(70, 50));
    EXPECT_FALSE(board.shaded(70, 44));
    EXPECT_EQ(board.shadeOnly(F7), 51);
    EXPECT_TRUE(board.shaded(65, 46));
    EXPECT_TRUE(board.shaded(65, 56));
    EXPECT_FALSE(board.shaded(65, 57));
    EXPECT_FALSE(board.shaded(70, 50));
    EXPECT_TRUE(board.shaded(70, 51));
    EXPECT_EQ(board.shadeOnly(F10), 21);
    EXPECT_TRUE(board.shaded(65, 51));
    EXPECT_FALSE(board.shaded(65, 52));
    EXPECT_EQ(board.shadeOnly(F6), 21);
    EXPECT_TRUE(board.shaded(65, 57));
    EXPECT_FALSE(board.shaded(65, 58));
    EXPECT_TRUE(board.shaded(70, 62));
    EXPECT_EQ(board.shadeOnly(F5), 51);
    EXPECT_TRUE(board.shaded(65, 58));
    EXPECT_TRUE(board.shaded(65, 68));
    EXPECT_FALSE(board.shaded(65, 69));
    EXPECT_EQ(board.shadeOnly(F9), 21);
    EXPECT_TRUE(board.shaded(65, 63));
    EXPECT_FALSE(board.shaded(65, 64));
    EXPECT_TRUE(board.shaded(70, 63));
    EXPECT_FALSE(board.shaded(70, 62));
}

TEST(TileShadow, PiecesNeverOverlap) {
    ShadowBoard board;
    // All pieces but the shortened ones: every pixel darkened exactly once.
    for (int f : {F0, F1, F2, F3, F4, F5, F6, F7, F8}) shadowFlags[0][f] = 1;
    drawTileShadow(0, &board.buffer);
    EXPECT_EQ(board.count(SHADED), 15 + 45 + 15 + 45 + 36 + 51 + 21 + 51 + 21);
    EXPECT_EQ(board.count(GREY), 200 * 150 - 300);
}

TEST(TileShadow, EachFlagDarkensItsOwnPiece) {
    ShadowBoard board;
    // F7 with F10 (and F5 with F9), as a saved board may hold them: the shorter
    // piece lies inside the longer one and is darkened a second time.
    shadowFlags[0][F7] = shadowFlags[0][F10] = 1;
    shadowFlags[0][F5] = shadowFlags[0][F9] = 1;
    drawTileShadow(0, &board.buffer);
    EXPECT_EQ(board.count(0), 21 + 21);  // 100 - 64 = 36, then 0
    EXPECT_EQ(board.count(SHADED), 51 - 21 + 51 - 21);
}

TEST(TileShadow, ShadowSizeOneEmptiesTheHalfPieces) {
    ShadowBoard board(1);
    ASSERT_EQ(shadowExtent, 24);
    // F7: for i = 1 to 24, rows 45 + i to 56: empty from i = 12 on.
    EXPECT_EQ(board.shadeOnly(F7), 11 + 10 + 9 + 8 + 7 + 6 + 5 + 4 + 3 + 2 + 1);
    EXPECT_FALSE(board.shaded(65 + 11, 56));
    EXPECT_TRUE(board.shaded(65 + 10, 56));
    EXPECT_EQ(board.shadeOnly(F4), 24 * 24);
    // F1: row 69 + i, columns 45 + i to 54: empty from i = 10 on.
    EXPECT_EQ(board.shadeOnly(F1), 55);
}

TEST(TileShadow, LoneTileOnLayerOne) {
    resetViewState();
    // Layer 0: a 3 x 3 block of tiles; layer 1: one tile on the middle one.
    int index = 0;
    for (int row = 0; row <= 4; row += 2)
        for (int column = 0; column <= 4; column += 2) placeTile(index++, 0, row, column, 1);
    placeTile(index, 1, 2, 2, 1);
    computeShadowFlags();
    const uint8_t* flag = shadowFlags[index];
    for (int f : {F1, F3, F2, F7, F5, F6, F4}) EXPECT_EQ(flag[f], 1) << "F" << f;
    for (int f : {F0, F8, F9, F10}) EXPECT_EQ(flag[f], 0) << "F" << f;
    for (int t = 0; t < index; ++t)
        for (int f = 0; f < SHADOW_FLAG_COUNT; ++f) EXPECT_EQ(shadowFlags[t][f], 0);  // layer 0 casts none
}

TEST(TileShadow, TwoNeighboursOnLayerOne) {
    resetViewState();
    int index = 0;
    for (int row = 0; row <= 4; row += 2)
        for (int column = 0; column <= 6; column += 2) placeTile(index++, 0, row, column, 1);
    const int left = index, right = index + 1;
    placeTile(left, 1, 2, 2, 1);
    placeTile(right, 1, 2, 4, 1);
    computeShadowFlags();
    // The right one's bottom strip runs on from the left one's without a notch.
    EXPECT_EQ(shadowFlags[right][F0], 1);
    EXPECT_EQ(shadowFlags[right][F1], 1);
    // The left one casts no right strip and loses its corner square.
    for (int f : {F4, F5, F6, F7, F8, F9, F10}) EXPECT_EQ(shadowFlags[left][f], 0) << "F" << f;
    EXPECT_EQ(shadowFlags[left][F3], 1);

    // Drawn: the bottom strip is one unbroken band under both tiles.
    setUpView(20, 24, 4, 4, 200, 150);
    Settings.Shadows = 1;
    tileTable[left].screenX = 50;
    tileTable[left].screenY = 40;
    tileTable[right].screenX = 70;
    tileTable[right].screenY = 40;
    Surface buffer{};
    createSurface(&buffer, 200, 150);
    fillRect(&buffer, 0, 0, 200, 150, GREY);
    drawTileShadow(left, &buffer);
    drawTileShadow(right, &buffer);
    for (int row = 69; row <= 74; ++row)
        for (int column = 45 + (row - 69); column <= 84; ++column)
            ASSERT_EQ(getPixel(&buffer, column, row), SHADED) << column << "," << row;
    releaseSurface(&buffer);
}
