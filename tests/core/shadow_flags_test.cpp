// Shadow flags: which pieces of its shadow each tile casts.
#include <gtest/gtest.h>

#include "tests/core/test_support.h"
#include "engine/shadows.h"

namespace {

// A block of 8 x 8 tiles on layer 0 (cells rows 0-15, columns 0-15), indices 0-63,
// with the given tiles above it from index 64 on.
void boardWithUpperTiles(const std::vector<Origin>& upper) {
    std::vector<Origin> origins;
    addBlock(origins, 0, 0, 0, 8, 8);
    origins.insert(origins.end(), upper.begin(), upper.end());
    placeTiles(origins);
    computeShadowFlags();
}

std::vector<int> flagsOf(int tile) {
    std::vector<int> set;
    for (int f = 0; f < SHADOW_FLAG_COUNT; ++f)
        if (shadowFlags[tile][f]) set.push_back(f);
    return set;
}

using Flags = std::vector<int>;

TEST(ShadowFlagsTest, LoneTileCastsTheWholeShadow) {
    boardWithUpperTiles({{1, 4, 4}});
    EXPECT_EQ(flagsOf(64), Flags({F1, F2, F3, F4, F5, F6, F7}));
    for (int t = 0; t < 64; ++t) EXPECT_EQ(flagsOf(t), Flags()) << t;  // layer 0 never
}

TEST(ShadowFlagsTest, NeighboursSideBySide) {
    boardWithUpperTiles({{1, 4, 4}, {1, 4, 6}});
    EXPECT_EQ(flagsOf(64), Flags({F1, F2, F3}));                      // no right strip, no corner
    EXPECT_EQ(flagsOf(65), Flags({F0, F1, F2, F3, F4, F5, F6, F7}));  // strip runs on from the left
}

TEST(ShadowFlagsTest, NeighboursOneAboveTheOther) {
    boardWithUpperTiles({{1, 4, 4}, {1, 6, 4}});
    EXPECT_EQ(flagsOf(64), Flags({F5, F6, F7}));
    EXPECT_EQ(flagsOf(65), Flags({F1, F2, F3, F4, F5, F6, F7, F8}));
}

TEST(ShadowFlagsTest, RightStripsCutShortByLowerNeighbours) {
    boardWithUpperTiles({{1, 4, 4}, {1, 5, 6}});  // half a tile lower on the right
    EXPECT_EQ(flagsOf(64), Flags({F1, F2, F3, F10}));
    boardWithUpperTiles({{1, 4, 4}, {1, 6, 6}});  // diagonally below right
    EXPECT_EQ(flagsOf(64), Flags({F1, F2, F3, F6, F7, F9}));
}

TEST(ShadowFlagsTest, NothingFallsOnEmptyCells) {
    boardWithUpperTiles({{1, 4, 14}, {1, 14, 4}});
    EXPECT_EQ(flagsOf(64), Flags({F1, F2, F3}));  // layer 0 ends at column 15
    EXPECT_EQ(flagsOf(65), Flags({F5, F6, F7}));  // and at row 15

    placeTiles({{2, 4, 4}});  // nothing beneath at all
    computeShadowFlags();
    EXPECT_EQ(flagsOf(0), Flags());
    // edges of the grid stay inside it
    placeTiles({{0, 18, 32}, {1, 18, 32}, {0, 0, 0}, {1, 0, 0}});
    computeShadowFlags();
    EXPECT_EQ(flagsOf(1), Flags());
    EXPECT_EQ(flagsOf(3), Flags());
}

TEST(ShadowFlagsTest, RemovedTilesCastNothingAndUncoverTargets) {
    installLayout(turtleLayout());
    computeShadowFlags();
    int top = 143;
    ASSERT_EQ(tileTable[top].layer, 4);
    EXPECT_FALSE(flagsOf(top).empty());
    setTileCells(4, 7, 13, NO_TILE);
    computeShadowFlags();
    EXPECT_TRUE(flagsOf(top).empty());
}

}  // namespace
