// Faces, matching, the board cells, free tiles and the list of removable pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/core/test_support.h"

namespace {

// The free-tile rule cell by cell, as plainly as it can be written, to check the
// game's faster passes against.
void referenceFreeTiles(uint8_t* state) {
    auto holds = [](int L, int r, int c) { return tileCell(L, r, c) < TILE_COUNT; };
    for (int t = 0; t < TILE_COUNT; ++t) state[t] = tileTable[t].face == 0 ? Covered : Blocked;
    for (int L = 0; L < 4; ++L)
        for (int r = 0; r < ROW_COUNT; ++r)
            for (int c = 0; c < COLUMN_COUNT; ++c)
                if (holds(L + 1, r, c) && holds(L, r, c)) state[tileCell(L, r, c)] = Covered;
    for (int L = 0; L < LAYER_COUNT; ++L)
        for (int r = 0; r < ROW_COUNT; ++r) {
            if (holds(L, r, 0) && state[tileCell(L, r, 0)] != Covered) state[tileCell(L, r, 0)] = Free;
            if (holds(L, r, 33) && state[tileCell(L, r, 33)] != Covered) state[tileCell(L, r, 33)] = Free;
            for (int c = 0; c <= 31; ++c)
                if (r < 19 && !holds(L, r, c) && !holds(L, r + 1, c) && holds(L, r, c + 2) &&
                    tileCell(L, r, c + 2) == tileCell(L, r + 1, c + 2) && state[tileCell(L, r, c + 2)] != Covered)
                    state[tileCell(L, r, c + 2)] = Free;
            for (int c = 2; c <= 33; ++c)
                if (r < 19 && !holds(L, r, c) && !holds(L, r + 1, c) && holds(L, r, c - 2) &&
                    tileCell(L, r, c - 2) == tileCell(L, r + 1, c - 2) && state[tileCell(L, r, c - 2)] != Covered)
                    state[tileCell(L, r, c - 2)] = Free;
        }
    for (int t = 0; t < TILE_COUNT; ++t)
        if (state[t] == Covered) state[t] = Blocked;
}

bool isFree(int tile) { return tileTable[tile].state == Free; }

TEST(FacesTest, MatchingRule) {
    EXPECT_TRUE(tilesMatch(28, 30));
    EXPECT_TRUE(tilesMatch(36, 39));
    EXPECT_TRUE(tilesMatch(5, 5));
    EXPECT_FALSE(tilesMatch(28, 36));
    EXPECT_FALSE(tilesMatch(32, 33));
    EXPECT_FALSE(tilesMatch(27, 28));
    EXPECT_FALSE(tilesMatch(35, 36));
}

TEST(FacesTest, DealFacesHalvesMatchAndHoldEveryFace) {
    int copies[43] = {};
    for (int i = 0; i < TILE_COUNT; ++i) {
        ASSERT_GE(dealFaces[i], 1);
        ASSERT_LE(dealFaces[i], 42);
        ++copies[dealFaces[i]];
        if (i < 72) {
            EXPECT_TRUE(tilesMatch(dealFaces[i], dealFaces[i + 72])) << i;
        }
    }
    for (int f = 1; f <= 42; ++f) EXPECT_EQ(copies[f], (f >= 28 && f <= 31) || (f >= 36 && f <= 39) ? 1 : 4) << f;
}

TEST(BoardTest, CellsOfATileAndTheResetState) {
    clearGrids();
    setTileCells(1, 4, 7, 9);
    for (int cell = 0; cell < GRID_CELLS; ++cell) {
        bool mine = cell == cellIndex(1, 4, 7) || cell == cellIndex(1, 4, 8) || cell == cellIndex(1, 5, 7) ||
                    cell == cellIndex(1, 5, 8);
        EXPECT_EQ(tileGrid[cell], mine ? 9 : NO_TILE);
    }
    setTileCells(0, 19, 0, 3);  // no room for four cells: nothing written
    setTileCells(0, 0, 33, 3);
    EXPECT_EQ(tileCell(0, 19, 0), NO_TILE);
    EXPECT_EQ(tileCell(0, 0, 33), NO_TILE);

    selectedTile = 5;
    tilesLeft = 10;
    undoCount = 3;
    chronoSeconds = 99;
    gameFinished = true;
    hintShown = true;
    loadedGame = true;
    resetGameState();
    EXPECT_EQ(selectedTile, NO_TILE);
    EXPECT_EQ(secondTile, NO_TILE);
    EXPECT_EQ(tilesLeft, TILE_COUNT);
    EXPECT_EQ(undoCount, 0);
    EXPECT_EQ(chronoSeconds, 0);
    EXPECT_FALSE(gameFinished);
    EXPECT_FALSE(hintShown);
    EXPECT_TRUE(loadedGame);  // left alone
    loadedGame = false;
}

TEST(FreeTilesTest, EdgesRowsAndHalfShiftedNeighbours) {
    placeTiles({{2, 8, 20}});
    computeFreeTiles();
    EXPECT_TRUE(isFree(0));  // a lone tile

    placeTiles({{0, 4, 0}, {0, 4, 2}, {0, 6, 30}, {0, 6, 32}, {1, 4, 2}});
    computeFreeTiles();
    EXPECT_TRUE(isFree(0));   // column 0
    EXPECT_FALSE(isFree(1));  // covered
    EXPECT_TRUE(isFree(3));   // origin at column 32
    EXPECT_TRUE(isFree(2));   // its left side is open

    placeTiles({{0, 4, 10}, {0, 4, 12}, {0, 4, 14}});
    computeFreeTiles();
    EXPECT_TRUE(isFree(0));
    EXPECT_FALSE(isFree(1));
    EXPECT_TRUE(isFree(2));

    // a neighbour half a tile lower on the left blocks that side
    placeTiles({{0, 4, 12}, {0, 5, 10}});
    computeFreeTiles();
    EXPECT_TRUE(isFree(0));  // its right side is open
    placeTiles({{0, 4, 12}, {0, 5, 10}, {0, 3, 14}});
    computeFreeTiles();
    EXPECT_FALSE(isFree(0));  // and blocked on the right by one half a tile higher
    EXPECT_TRUE(isFree(1));
    EXPECT_TRUE(isFree(2));
}

TEST(FreeTilesTest, StraddlingTileCoversBothAndRemovalFreesThem) {
    placeTiles({{0, 4, 10}, {0, 4, 12}, {1, 4, 11}}, {5, 5, 7});
    computeFreeTiles();
    EXPECT_FALSE(isFree(0));
    EXPECT_FALSE(isFree(1));
    EXPECT_TRUE(isFree(2));
    // only the layer directly above counts
    placeTiles({{0, 4, 10}, {2, 4, 10}});
    computeFreeTiles();
    EXPECT_TRUE(isFree(0));
    EXPECT_TRUE(isFree(1));

    placeTiles({{0, 4, 10}, {0, 4, 12}, {1, 4, 11}, {0, 8, 0}}, {5, 5, 7, 7});
    computeFreeTiles();
    tilesLeft = 4;
    undoCount = 0;
    removePair(2, 3);
    computeFreeTiles();
    EXPECT_TRUE(isFree(0));
    EXPECT_TRUE(isFree(1));
    EXPECT_FALSE(isFree(2));  // removed tiles are never free
    findPairs(0);
    ASSERT_EQ(pairCount, 1);
    EXPECT_EQ(pairList[0][0], 0);
    EXPECT_EQ(pairList[0][1], 1);
}

TEST(FreeTilesTest, AgreesWithTheCellRuleOnAnyGrid) {
    std::mt19937 generator(11);
    for (int round = 0; round < 300; ++round) {
        memset(tileTable, 0, sizeof tileTable);
        for (int t = 0; t < TILE_COUNT; ++t) tileTable[t].face = (uint8_t)(generator() % 4);
        clearGrids();
        if (round % 3 == 0) {
            // any bytes at all, overlapping "tiles" and values that are no tiles
            for (int cell = 0; cell < GRID_CELLS; ++cell)
                if (generator() % 3 == 0) tileGrid[cell] = (uint8_t)(generator() % 256);
        } else {
            // tiles dropped at random origins, later ones over earlier ones
            for (int t = 0; t < TILE_COUNT; ++t)
                if (tileTable[t].face != 0)
                    setTileCells(generator() % 5, generator() % 19, generator() % 33, (uint8_t)t);
        }
        uint8_t expected[TILE_COUNT];
        referenceFreeTiles(expected);
        computeFreeTiles();
        for (int t = 0; t < TILE_COUNT; ++t) ASSERT_EQ(tileTable[t].state, expected[t]) << round << " " << t;
    }
}

TEST(PairsTest, CountsWithBonusSetsAndOrder) {
    std::vector<Origin> row = {{0, 0, 0}, {0, 0, 4}, {0, 0, 8}, {0, 0, 12}};
    placeTiles({row[0], row[1], row[2]}, {28, 29, 30});
    computeFreeTiles();
    hintIndex = 5;
    findPairs(0);
    EXPECT_EQ(pairCount, 3);
    EXPECT_EQ(hintIndex, 0);
    const uint8_t expected[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(pairList[p][0], expected[p][0]);
        EXPECT_EQ(pairList[p][1], expected[p][1]);
    }

    placeTiles({row[0], row[1]}, {28, 36});
    computeFreeTiles();
    findPairs(0);
    EXPECT_EQ(pairCount, 0);
    EXPECT_EQ(pairList[0][0], NO_TILE);  // an empty list highlights nothing
    EXPECT_EQ(pairList[0][1], NO_TILE);

    placeTiles(row, {7, 7, 7, 7});
    computeFreeTiles();
    findPairs(0);
    EXPECT_EQ(pairCount, 6);
    placeTiles({row[0], row[1], row[2]}, {7, 7, 7});
    computeFreeTiles();
    findPairs(0);
    EXPECT_EQ(pairCount, 3);
}

TEST(PairsTest, LimitedModeStopsAtFiftyOne) {
    std::vector<Origin> lone;
    for (int i = 0; i < 12; ++i) lone.push_back({0, 2 * (i / 6), 6 * (i % 6)});
    placeTiles(lone, std::vector<int>(12, 3));  // 12 free tiles of one face: 66 pairs
    computeFreeTiles();
    findPairs(0);
    EXPECT_EQ(pairCount, 66);
    uint8_t full[66][2];
    memcpy(full, pairList, sizeof full);
    hintIndex = 3;
    findPairs(1);
    EXPECT_EQ(pairCount, DEAL_CANDIDATE_LIMIT + 1);
    EXPECT_EQ(hintIndex, 0);
    EXPECT_EQ(memcmp(full, pairList, 51 * 2), 0);  // the first 51 of the full order

    installLayout(turtleLayout());
    for (int t = 0; t < TILE_COUNT; ++t) tileTable[t].face = (uint8_t)(t % 3 + 1);
    computeFreeTiles();
    findPairs(0);
    int count = 0;
    for (int a = 0; a < TILE_COUNT; ++a)
        for (int b = a + 1; b < TILE_COUNT; ++b)
            if (isFree(a) && isFree(b) && tilesMatch(tileTable[a].face, tileTable[b].face)) {
                ASSERT_LT(count, pairCount);
                EXPECT_EQ(pairList[count][0], a);
                EXPECT_EQ(pairList[count][1], b);
                ++count;
            }
    EXPECT_EQ(count, pairCount);
}

}  // namespace
