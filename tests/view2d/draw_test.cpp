// Composing frames: placement, the exact pixels of faces, sides and outline,
// highlights, the hidden board, fading, the hit test.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "engine/board.h"
#include "settings/settings.h"
#include "engine/fade.h"
#include "tests/support/internals.h"
#include "tests/support/null_host.h"
#include "tests/view2d/view_support.h"
#include "view2d/draw2d.h"
#include "view2d/draw_tile.h"
#include "engine/shadows.h"
#include "view2d/tileset.h"

namespace {

const uint32_t BACK = rgb(10, 100, 200);
const uint32_t SIDES = rgb(184, 120, 24);

// Faces 20 x 24, layer shift 5, shadows 6 wide, a board area of 200 x 150,
// and tile 0 (face 1) with its face at (50, 40) in a buffer of BACK.
struct OneTile {
    Surface buffer{};
    OneTile() {
        resetViewState();
        setUpView(20, 24, 4, 4, 200, 150);
        placeTile(0, 0, 0, 0, 1);
        layoutBoard2D(nullptr);
        tileTable[0].screenX = 50;
        tileTable[0].screenY = 40;
        createSurface(&buffer, 200, 150);
        fillRect(&buffer, 0, 0, 200, 150, BACK);
    }
    ~OneTile() { releaseSurface(&buffer); }
    void draw(bool opaque = true, int16_t weightBackground = 0, int16_t weightTile = 0) {
        drawTile2D(0, &buffer, &scaledTileSet, weightBackground, weightTile, opaque);
    }
    uint32_t at(int x, int y) const { return getPixel(&buffer, x, y); }
};

uint32_t darken(uint32_t colour, int amount) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c = static_cast<int>((colour >> shift) & 0xFF);
        result |= static_cast<uint32_t>(c > amount ? c - amount : 0) << shift;
    }
    return result;
}

}  // namespace

TEST(ColourArithmetic, MixColors) {
    EXPECT_EQ(mixColors(rgb(10, 20, 30), rgb(200, 100, 50), 0, 0), 0u);
    EXPECT_EQ(mixColors(rgb(10, 20, 30), rgb(200, 100, 50), 1, 0), rgb(10, 20, 30));
    EXPECT_EQ(mixColors(rgb(10, 20, 30), rgb(200, 100, 50), 0, 7), rgb(200, 100, 50));
    // (10 x 20 + 200 x 80) / 100 = 162; (20 x 20 + 100 x 80) / 100 = 84; (30 x 20 + 50 x 80) / 100 = 46.
    EXPECT_EQ(mixColors(rgb(10, 20, 30), rgb(200, 100, 50), 20, 80), rgb(162, 84, 46));
    // Truncated: (255 + 0) / 2 = 127.
    EXPECT_EQ(mixColors(rgb(255, 255, 255), 0, 1, 1), rgb(127, 127, 127));
}

TEST(ColourArithmetic, DarkenPixel) {
    resetViewState();
    Surface surface{};
    ASSERT_TRUE(createSurface(&surface, 4, 4));
    setPixel(&surface, 1, 2, rgb(50, 100, 200));
    darkenPixel(&surface, 1, 2);
    EXPECT_EQ(getPixel(&surface, 1, 2), rgb(0, 36, 136));
    Settings.ShadowsValue = 0;
    darkenPixel(&surface, 1, 2);
    EXPECT_EQ(getPixel(&surface, 1, 2), rgb(0, 36, 136));
    Settings.ShadowsValue = 255;
    setPixel(&surface, 3, 3, rgb(255, 255, 255));
    darkenPixel(&surface, 3, 3);
    EXPECT_EQ(getPixel(&surface, 3, 3), 0u);
    darkenPixel(&surface, -1, 9);  // outside: nothing
    releaseSurface(&surface);
}

TEST(Fading, FramesFollowTheMeasuredPaint) {
    EXPECT_EQ(fadeFrameCount(500, 120), 4);
    EXPECT_EQ(fadeFrameCount(500, 0), 0);
    EXPECT_EQ(fadeFrameCount(500, 501), 0);
    EXPECT_EQ(fadeFrameCount(500, 1), 500);
    const int16_t expected[4][2] = {{20, 80}, {40, 60}, {60, 40}, {80, 20}};
    for (int i = 1; i <= 4; ++i) {
        int16_t background, tile;
        fadeWeights(4, i, &background, &tile);
        EXPECT_EQ(background, expected[i - 1][0]);
        EXPECT_EQ(tile, expected[i - 1][1]);
    }
    // 100 frames or more: a step of 0 would mix the pair to black.
    int16_t background, tile;
    fadeWeights(166, 1, &background, &tile);
    EXPECT_EQ(background, 1);
    EXPECT_EQ(tile, 166);
    fadeWeights(166, 166, &background, &tile);
    EXPECT_EQ(background, 166);
    EXPECT_EQ(tile, 1);
}

TEST(Fading, FadeOutPairDrawsEachFrameTranslucent) {
    resetViewState();
    setUpView(20, 24, 4, 4, 200, 150);
    placeTile(0, 0, 4, 4, 1);
    placeTile(1, 0, 4, 8, 2);
    layoutBoard2D(nullptr);
    const int x = tileTable[0].screenX + 3, y = tileTable[0].screenY + 3;
    fadeFrames = 4;
    fadeOutPair(nullptr, 0, 1);
    ASSERT_EQ(fake::presentCount, 4);
    EXPECT_EQ(fake::statusCount, 4);
    ASSERT_EQ(fake::frames.size(), 4u);
    const uint32_t background = Settings.BackgroundColor;
    for (int i = 1; i <= 4; ++i) {
        const uint32_t pixel = fake::frames[i - 1][static_cast<size_t>(y) * 200 + x];
        EXPECT_EQ(pixel, mixColors(background, cellColour(0, 0), 20 * i, 20 * (5 - i))) << i;
    }
    // No frames for a paint that was too fast or a negative count.
    fake::reset();
    fadeFrames = 0;
    fadeOutPair(nullptr, 0, 1);
    fadeFrames = -3;
    fadeOutPair(nullptr, 0, 1);
    EXPECT_EQ(fake::presentCount, 0);
    // The count is bounded.
    fake::keepFrames = 0;
    fadeFrames = 50000;
    fadeOutPair(nullptr, 0, 1);
    EXPECT_EQ(fake::presentCount, FADE_FRAME_LIMIT);
}

TEST(Layout, CentredOnTheFaces) {
    resetViewState();
    setUpView(42, 52, 8, 4, 800, 560);
    ASSERT_EQ(faceWidth, 42);
    for (int t = 0; t < TILE_COUNT; ++t) placeTile(t, 0, (t % 10) * 2, (t % 17) * 2, 1);
    placeTile(0, 0, 0, 0, 1);
    placeTile(1, 0, 0, 32, 1);
    layoutBoard2D(nullptr);
    // 16 x 42 + 42 = 714 wide: originX = (800 - 714) / 2 = 43.
    EXPECT_EQ(tileTable[0].screenX, 43);
    EXPECT_EQ(tileTable[1].screenX, 43 + 16 * 42);
    // Rows 0 to 18 (half tiles): 18 x 26 + 52 = 520 high: originY = (560 - 520) / 2 = 20.
    EXPECT_EQ(tileTable[0].screenY, 20);
    // Face cells follow the face tables.
    tileTable[2].face = 40;
    layoutBoard2D(nullptr);
    EXPECT_EQ(tileTable[2].faceCellX, 4 * 42);
    EXPECT_EQ(tileTable[2].faceCellY, 4 * 52);
}

TEST(Layout, HigherLayersShiftUpAndRight) {
    resetViewState();
    setUpView(20, 24, 4, 4, 200, 150);
    for (int t = 0; t < TILE_COUNT; ++t) placeTile(t, 0, 0, 0, 0);
    placeTile(0, 0, 2, 2, 5);
    placeTile(1, 2, 2, 2, 6);
    layoutBoard2D(nullptr);
    EXPECT_EQ(tileTable[1].screenX - tileTable[0].screenX, 2 * 5);
    EXPECT_EQ(tileTable[1].screenY - tileTable[0].screenY, -2 * 5);
}

TEST(HitTest, FacesOnlyHighestIndexWins) {
    resetViewState();
    setUpView(20, 24, 4, 4, 200, 150);
    placeTile(0, 0, 4, 2, 1);   // A
    placeTile(1, 0, 4, 4, 2);   // B, right of A
    placeTile(2, 1, 4, 3, 3);   // C, on layer 1 over the right half of A and the left half of B
    layoutBoard2D(nullptr);
    const int ax = tileTable[0].screenX, ay = tileTable[0].screenY + TOOLBAR;  // client coordinates
    ASSERT_EQ(tileTable[2].screenX, ax + 10 + 5);
    EXPECT_EQ(tileAtPoint(ax + 2, ay + 2), 0);
    EXPECT_EQ(tileAtPoint(ax + 17, ay + 5), 2);   // the covered half of A hits C
    EXPECT_EQ(tileAtPoint(ax + 5, ay + 22), 0);   // below C's face, still on A
    EXPECT_EQ(tileAtPoint(ax + 37, ay + 21), 1);  // right of C, on B
    // The side strips never hit their tile.
    EXPECT_EQ(tileAtPoint(ax - 2, ay + 10), NO_TILE);  // left side of A
    EXPECT_EQ(tileAtPoint(ax + 2, ay + 26), NO_TILE);  // bottom side of A
    EXPECT_EQ(tileAtPoint(tileTable[2].screenX - 2, tileTable[2].screenY + TOOLBAR + 10), 0);  // C's left side lies on A
    // Edges: left and top included, right and bottom excluded.
    EXPECT_EQ(tileAtPoint(ax, ay), 0);
    EXPECT_EQ(tileAtPoint(ax, ay + 24), NO_TILE);
    EXPECT_EQ(tileAtPoint(ax + 40, ay + 23), NO_TILE);
    // Outside every face, and in the toolbar.
    EXPECT_EQ(tileAtPoint(2, TOOLBAR + 2), NO_TILE);
    EXPECT_EQ(tileAtPoint(ax + 2, ay + 2 - TOOLBAR - 24), NO_TILE);
    // A removed tile is never hit.
    tileTable[2].face = 0;
    EXPECT_EQ(tileAtPoint(ax + 17, ay + 5), 0);
}

TEST(DrawTile, FaceSidesAndOutlinePixels) {
    OneTile tile;
    tile.draw();
    const int x = 50, y = 40;
    // Face: 20 x 24 at (50, 40).
    EXPECT_EQ(tile.at(x, y), cellColour(0, 0));
    EXPECT_EQ(tile.at(x + 19, y + 23), cellColour(0, 0));
    EXPECT_EQ(tile.at(x + 20, y), BACK);   // no outline on the right edge
    EXPECT_EQ(tile.at(x, y - 1), BACK);    // nor on the top edge
    // Bottom side: columns 45-64, rows 64-68 (row 68 is the outline).
    EXPECT_EQ(tile.at(46, 64), SIDES);
    EXPECT_EQ(tile.at(64, 67), SIDES);
    EXPECT_EQ(tile.at(55, 68), 0u);
    EXPECT_EQ(tile.at(64, 68), 0u);
    EXPECT_EQ(tile.at(50, 69), BACK);
    // Left side: columns 45-49 from row 45, outlined in column 45.
    EXPECT_EQ(tile.at(49, 45), SIDES);
    EXPECT_EQ(tile.at(46, 63), SIDES);
    EXPECT_EQ(tile.at(45, 45), 0u);
    EXPECT_EQ(tile.at(45, 68), 0u);
    EXPECT_EQ(tile.at(45, 44), BACK);
    EXPECT_EQ(tile.at(44, 50), BACK);
    // Upper bevel: column 49 rows 41-44, 48 rows 42-44, 47 rows 43-44, 46 row 44,
    // the top pixel of each on the black edge from (49, 41) to (46, 44).
    const int bevelTop[] = {41, 42, 43, 44};
    for (int k = 0; k < 4; ++k) {
        const int column = 49 - k;
        EXPECT_EQ(tile.at(column, bevelTop[k]), 0u) << column;
        EXPECT_EQ(tile.at(column, bevelTop[k] - 1), BACK) << column;
        for (int row = bevelTop[k] + 1; row <= 44; ++row) EXPECT_EQ(tile.at(column, row), SIDES) << column;
    }
    EXPECT_EQ(tile.at(50, 40), cellColour(0, 0));
    // Right bevel and its black edge from (69, 64) to (65, 68).
    const int lastSide[] = {67, 66, 65, 64};  // columns 65-68
    for (int k = 0; k < 4; ++k) {
        const int column = 65 + k;
        for (int row = 64; row <= lastSide[k]; ++row) EXPECT_EQ(tile.at(column, row), SIDES) << column;
        EXPECT_EQ(tile.at(column, lastSide[k] + 1), 0u) << column;
        EXPECT_EQ(tile.at(column, lastSide[k] + 2), BACK) << column;
    }
    EXPECT_EQ(tile.at(69, 64), 0u);
    EXPECT_EQ(tile.at(70, 64), BACK);
    EXPECT_EQ(tile.at(69, 65), BACK);
    // Totals: 480 face pixels, 52 black, 168 of the sides' colour.
    int face = 0, black = 0, sides = 0, other = 0;
    for (int py = 0; py < 150; ++py)
        for (int px = 0; px < 200; ++px) {
            const uint32_t p = tile.at(px, py);
            if (p == cellColour(0, 0)) ++face;
            else if (p == 0) ++black;
            else if (p == SIDES) ++sides;
            else if (p != BACK) ++other;
        }
    EXPECT_EQ(face, 480);
    EXPECT_EQ(black, 52);
    EXPECT_EQ(sides, 168);
    EXPECT_EQ(other, 0);
}

TEST(DrawTile, FadingTileMixesTheSamePixels) {
    OneTile solid;
    solid.draw();
    OneTile fading;
    fading.draw(false, 1, 1);
    const uint32_t face = cellColour(0, 0);
    for (int py = 0; py < 150; ++py)
        for (int px = 0; px < 200; ++px) {
            const uint32_t s = solid.at(px, py), f = fading.at(px, py);
            if (s == BACK) {
                ASSERT_EQ(f, BACK) << px << "," << py;
            } else if (s == face) {
                ASSERT_EQ(f, mixColors(BACK, face, 1, 1)) << px << "," << py;
            } else if (s == SIDES) {
                ASSERT_EQ(f, mixColors(BACK, SIDES, 1, 1)) << px << "," << py;
            }
        }
    // Outline pixels over a side are mixed with the side first, then once with black,
    // the corner shared by the left and bottom edges included.
    EXPECT_EQ(fading.at(45, 50), mixColors(mixColors(BACK, SIDES, 1, 1), 0, 1, 1));
    EXPECT_EQ(fading.at(45, 68), mixColors(mixColors(BACK, SIDES, 1, 1), 0, 1, 1));
    EXPECT_EQ(fading.at(69, 64), mixColors(BACK, 0, 1, 1));
}

TEST(DrawTile, SelectedAndHintedIsHighlightedTwice) {
    const uint32_t face = cellColour(0, 0);
    {
        OneTile tile;
        selectedTile = 0;
        tile.draw();
        EXPECT_EQ(tile.at(55, 50), darken(face, 64));
        tile.draw();  // a fresh face each time: still darkened once
        EXPECT_EQ(tile.at(55, 50), darken(face, 64));
    }
    {
        OneTile tile;
        selectedTile = 0;
        hintShown = true;
        pairCount = 1;
        pairList[0][0] = 7;
        pairList[0][1] = 0;
        tile.draw();
        EXPECT_EQ(tile.at(55, 50), darken(face, 128));
        EXPECT_EQ(tile.at(45, 50), 0u);  // the sides are not highlighted
        Settings.SelectMode = SELECT_INVERT;
        tile.draw();
        EXPECT_EQ(tile.at(55, 50), face ^ 0x00FFFFFFu);
        selectedTile = NO_TILE;
        tile.draw();
        EXPECT_EQ(tile.at(55, 50), face ^ 0x00FFFFFFu);
        hintShown = false;
        tile.draw();
        EXPECT_EQ(tile.at(55, 50), face);
    }
}

TEST(DrawTile, HintIndexBeyondTheListStartsOver) {
    OneTile tile;
    hintShown = true;
    pairCount = 2;
    pairList[0][0] = 0;
    pairList[0][1] = 3;
    pairList[1][0] = 4;
    pairList[1][1] = 5;
    hintIndex = 2;
    tile.draw();
    EXPECT_EQ(hintIndex, 0);
    EXPECT_EQ(tile.at(55, 50), darken(cellColour(0, 0), 64));
    // No pairs at all: nothing is highlighted, whatever the list still holds.
    pairCount = 0;
    hintIndex = 0;
    tile.draw();
    EXPECT_EQ(tile.at(55, 50), cellColour(0, 0));
}

TEST(DrawTile, HiddenBoardShowsTheBlankFaceWithSidesAndShadow) {
    OneTile tile;
    chronoPaused = true;
    Settings.Shadows = 1;
    tileTable[0].layer = 1;
    shadowFlags[0][F4] = 1;
    selectedTile = 0;  // not highlighted while hidden
    tile.draw();
    EXPECT_EQ(tile.at(55, 50), cellColour(HIDDEN_FACE_COLUMN, HIDDEN_FACE_ROW));
    EXPECT_EQ(tile.at(46, 64), SIDES);
    EXPECT_EQ(tile.at(66, 70), darken(BACK, 64));  // the corner square of the shadow
}

TEST(DrawTile, RemovedAndOutOfRangeTilesDrawNothing) {
    OneTile tile;
    tileTable[0].face = 0;
    Settings.Shadows = 1;
    shadowFlags[0][F4] = 1;
    tile.draw();
    drawTile2D(-1, &tile.buffer, &scaledTileSet, 0, 0, true);
    drawTile2D(144, &tile.buffer, &scaledTileSet, 0, 0, true);
    drawTile2D(NO_TILE, &tile.buffer, &scaledTileSet, 0, 0, true);
    for (int py = 0; py < 150; ++py)
        for (int px = 0; px < 200; ++px) ASSERT_EQ(tile.at(px, py), BACK);
}

TEST(DrawTile, ClippedAtTheBufferEdges) {
    OneTile tile;
    for (int x : {-30, -5, 190, 250})
        for (int y : {-30, -3, 140, 200}) {
            tileTable[0].screenX = static_cast<int16_t>(x);
            tileTable[0].screenY = static_cast<int16_t>(y);
            tile.draw();
            tile.draw(false, 3, 5);
            Settings.Shadows = 1;
            for (int f = 0; f < SHADOW_FLAG_COUNT; ++f) shadowFlags[0][f] = 1;
            tile.draw();
        }
    EXPECT_EQ(tile.at(100, 100), BACK);
}

TEST(DrawBoard, ComposesPresentsAndRefreshesTheStatusBar) {
    resetViewState();
    setUpView(20, 24, 4, 4, 200, 150);
    placeTile(0, 0, 4, 4, 1);
    placeTile(1, 0, 4, 8, 9);
    tileTable[2] = tileTable[1];
    tileTable[2].face = 0;  // removed: absent
    layoutBoard2D(nullptr);
    drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
    ASSERT_EQ(fake::presentCount, 1);
    EXPECT_EQ(fake::statusCount, 1);
    EXPECT_EQ(fake::presentX, 0);
    EXPECT_EQ(fake::presentY, TOOLBAR);
    ASSERT_EQ(fake::frameWidth, 200);
    ASSERT_EQ(fake::frameHeight, 150);
    const std::vector<uint32_t>& frame = fake::frames[0];
    EXPECT_EQ(frame[0], Settings.BackgroundColor);
    EXPECT_EQ(frame[static_cast<size_t>(tileTable[0].screenY + 1) * 200 + tileTable[0].screenX + 1], cellColour(0, 0));
    EXPECT_EQ(frame[static_cast<size_t>(tileTable[1].screenY + 1) * 200 + tileTable[1].screenX + 1], cellColour(8, 0));

    // A background picture covering the area replaces the colour; one that failed to load does not.
    std::snprintf(Settings.Background, sizeof Settings.Background, "%s", "SUNSET.BMP");
    createSurface(&scaledBackground, 200, 150);
    fillRect(&scaledBackground, 0, 0, 200, 150, rgb(7, 8, 9));
    drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
    EXPECT_EQ(fake::frames[1][0], rgb(7, 8, 9));
    releaseSurface(&scaledBackground);
    drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
    EXPECT_EQ(fake::frames[2][0], Settings.BackgroundColor);

    // paintBoard2D draws the same frame and measures it.
    paintBoard2D(nullptr);
    EXPECT_EQ(fake::presentCount, 4);
    EXPECT_GE(fadeFrames, 0);

    // Resizing: a new buffer of the new area; tiny or empty areas draw nothing and do not fail.
    fake::clientWidth = 0;
    makeBoardBuffer(nullptr);
    EXPECT_TRUE(surfaceIsEmpty(&boardBuffer));
    drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
    EXPECT_EQ(fake::presentCount, 4);
    EXPECT_EQ(fake::statusCount, 5);
}

// The background is painted only around the faces: whatever the buffer held
// before (the last frame) must never show, with a picture smaller than the
// board, with a fading pair and with the board hidden.
TEST(DrawBoard, AFrameDoesNotDependOnTheLastOne) {
    resetViewState();
    setUpView(20, 24, 4, 4, 200, 150);
    Settings.Shadows = 1;
    int index = 0;
    for (int row = 0; row <= 8; row += 2)
        for (int column = 0; column <= 10; column += 2, ++index) placeTile(index, 0, row, column, 1 + index % 42);
    placeTile(index, 1, 3, 5, 7);
    shadowFlags[index][F1] = shadowFlags[index][F3] = shadowFlags[index][F4] = 1;
    layoutBoard2D(nullptr);
    std::snprintf(Settings.Background, sizeof Settings.Background, "%s", "SUNSET.BMP");
    createSurface(&scaledBackground, 150, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 150; ++x) setPixel(&scaledBackground, x, y, rgb(x, y, 3));
    fake::keepFrames = 2;
    for (int fade : {int(NO_TILE), 3}) {
        for (bool hidden : {false, true}) {
            chronoPaused = hidden;
            fake::frames.clear();
            for (uint32_t last : {0x00AAAAAAu, 0x00555555u}) {
                fillRect(&boardBuffer, 0, 0, 200, 150, last);
                drawBoard2D(nullptr, fade, fade == NO_TILE ? NO_TILE : index, 40, 60);
            }
            ASSERT_EQ(fake::frames.size(), 2u);
            EXPECT_TRUE(fake::frames[0] == fake::frames[1]) << "fade " << fade << " hidden " << hidden;
        }
    }
    releaseSurface(&scaledBackground);
}
