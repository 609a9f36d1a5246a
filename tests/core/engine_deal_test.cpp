// Dealing: easy deals that can always be cleared, random deals, the state after a deal.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/core/test_support.h"

namespace {

class DealTest : public ::testing::Test {
protected:
    TempStartDirectory start;
    void SetUp() override {
        fake::reset();
        setEngineTexts();
        setEngineSettings();
        platformFixTimeSeconds(5000);
        loadedGame = false;
    }
    void TearDown() override { platformFixTimeSeconds(-1); }

    void dealWithSeed(unsigned seed) {
        srand(seed);
        randomSeeded = true;
        newDeal(nullptr);
    }
};

std::vector<int> sortedFaces() {
    std::vector<int> faces;
    for (int t = 0; t < TILE_COUNT; ++t) faces.push_back(tileTable[t].face);
    std::sort(faces.begin(), faces.end());
    return faces;
}

std::vector<int> sortedDealFaces() {
    std::vector<int> faces(dealFaces, dealFaces + TILE_COUNT);
    std::sort(faces.begin(), faces.end());
    return faces;
}

// The easy deal's choice rule, step by step, on the placeholder board: every pair of
// dealOrder must be one of the listed candidates, never the last listed while more
// than two are listed.
void expectOrderFromCandidates() {
    uint8_t grid[GRID_CELLS];
    memcpy(grid, tileGrid, sizeof grid);
    uint8_t faces[TILE_COUNT];
    for (int t = 0; t < TILE_COUNT; ++t) {
        faces[t] = tileTable[t].face;
        tileTable[t].face = 1;
    }
    for (int k = 0; k < TILE_COUNT; k += 2) {
        computeFreeTiles();
        findPairs(1);
        int found = -1;
        for (int p = 0; p < pairCount; ++p)
            if (pairList[p][0] == dealOrder[k] && pairList[p][1] == dealOrder[k + 1]) found = p;
        ASSERT_GE(found, 0) << "pair " << k / 2;
        if (pairCount > 2) {
            EXPECT_LT(found, pairCount - 1) << "pair " << k / 2;
        } else {
            EXPECT_EQ(found, 0);
        }
        for (int tile : {dealOrder[k], dealOrder[k + 1]}) {
            const TileRecord& r = tileTable[tile];
            setTileCells(r.layer, r.row, r.column, NO_TILE);
            tileTable[tile].face = 0;
        }
    }
    memcpy(tileGrid, grid, sizeof grid);
    for (int t = 0; t < TILE_COUNT; ++t) tileTable[t].face = faces[t];
}

// Checks an easy deal on the board now laid out, then plays it through.
void expectClearableDeal(const char* what) {
    SCOPED_TRACE(what);
    EXPECT_TRUE(dealOrderValid);
    EXPECT_GE(easyDealAttempts, 1);
    EXPECT_LE(easyDealAttempts, EASY_DEAL_ATTEMPT_LIMIT);
    EXPECT_EQ(sortedFaces(), sortedDealFaces());
    EXPECT_EQ(tilesLeft, TILE_COUNT);
    EXPECT_EQ(selectedTile, NO_TILE);
    EXPECT_EQ(secondTile, NO_TILE);
    EXPECT_EQ(chronoSeconds, 0);
    EXPECT_EQ(undoCount, 0);
    expectOrderFromCandidates();
    std::string failure;
    EXPECT_TRUE(replayDealOrder(&failure)) << failure;
    EXPECT_EQ(undoCount, 72);
}

TEST_F(DealTest, EasyDealsClearTheBoardOnManyLayouts) {
    struct Named {
        const char* name;
        std::vector<Origin> origins;
    } layouts[] = {{"turtle", turtleLayout()}, {"pyramid", pyramidLayout()}, {"flat", flatLayout()},
                   {"tower", towerLayout()}};
    for (const Named& layout : layouts) {
        for (unsigned seed : {1u, 2u, 3u}) {
            installLayout(layout.origins);
            ASSERT_EQ(fake::messages.size(), 0u) << layout.name;
            dealWithSeed(seed);
            expectClearableDeal(layout.name);
        }
    }
    copyText(layoutName, RANDOM_LAYOUT_NAME, FILE_NAME_SIZE);
    for (long seconds : {10L, 20L, 30L, 40L, 50L}) {
        platformFixTimeSeconds(seconds);
        loadLayout(nullptr);
        newDeal(nullptr);
        expectClearableDeal("random layout");
    }
    EXPECT_EQ(fake::messages.size(), 0u);
}

TEST_F(DealTest, EasyDealFollowsTheDrawnOrderExactly) {
    installLayout(turtleLayout());
    dealWithSeed(42);
    uint8_t order[TILE_COUNT];
    memcpy(order, dealOrder, sizeof order);
    uint8_t faces[TILE_COUNT];
    for (int t = 0; t < TILE_COUNT; ++t) faces[t] = tileTable[t].face;

    // The same steps by hand: draw removal orders from the same generator state
    // until one clears the board, then put faces on the pairs.
    srand(42);
    uint8_t grid[GRID_CELLS];
    memcpy(grid, tileGrid, sizeof grid);
    uint8_t expected[TILE_COUNT];
    for (bool cleared = false; !cleared;) {
        for (int t = 0; t < TILE_COUNT; ++t) tileTable[t].face = 1;
        cleared = true;
        for (int k = 0; k < TILE_COUNT && cleared; k += 2) {
            computeFreeTiles();
            findPairs(1);
            if (pairCount == 0) {
                cleared = false;
                break;
            }
            int j = pairCount > 2 ? rand() % (pairCount - 1) : 0;
            expected[k] = pairList[j][0];
            expected[k + 1] = pairList[j][1];
            for (int tile : {expected[k], expected[k + 1]}) {
                setTileCells(tileTable[tile].layer, tileTable[tile].row, tileTable[tile].column, NO_TILE);
                tileTable[tile].face = 0;
            }
        }
        memcpy(tileGrid, grid, sizeof grid);
    }
    EXPECT_EQ(memcmp(order, expected, sizeof order), 0);
    uint8_t pool[TILE_COUNT];
    memcpy(pool, dealFaces, sizeof pool);
    for (int k = 0; k < TILE_COUNT; k += 2) {
        srand(5000);
        int r;
        do r = rand() % 72;
        while (pool[r] == 0);
        EXPECT_EQ(faces[expected[k]], pool[r]);
        EXPECT_EQ(faces[expected[k + 1]], pool[r + 72]);
        pool[r] = pool[r + 72] = 0;
    }
}

TEST_F(DealTest, SameGeneratorStateGivesTheSameDeal) {
    installLayout(turtleLayout());
    dealWithSeed(9);
    uint8_t first[TILE_COUNT];
    for (int t = 0; t < TILE_COUNT; ++t) first[t] = tileTable[t].face;
    dealWithSeed(9);
    for (int t = 0; t < TILE_COUNT; ++t) EXPECT_EQ(tileTable[t].face, first[t]);
    dealWithSeed(10);
    int differ = 0;
    for (int t = 0; t < TILE_COUNT; ++t) differ += tileTable[t].face != first[t];
    EXPECT_GT(differ, 0);
}

TEST_F(DealTest, RandomDealPlacesEveryFaceOnce) {
    installLayout(turtleLayout());
    dealWithSeed(3);
    Settings.EasyMode = 0;
    for (long seconds : {1L, 2L}) {
        platformFixTimeSeconds(seconds);
        newDeal(nullptr);
        EXPECT_EQ(sortedFaces(), sortedDealFaces());
        EXPECT_FALSE(dealOrderValid);
        EXPECT_EQ(easyDealAttempts, 0);
        EXPECT_EQ(tilesLeft, TILE_COUNT);
    }
    uint8_t first[TILE_COUNT];
    for (int t = 0; t < TILE_COUNT; ++t) first[t] = tileTable[t].face;
    newDeal(nullptr);  // the same second gives the same scatter
    for (int t = 0; t < TILE_COUNT; ++t) EXPECT_EQ(tileTable[t].face, first[t]);
}

TEST_F(DealTest, StateAndTitleAfterADeal) {
    installLayout(turtleLayout());
    selectedTile = 3;
    chronoSeconds = 77;
    gameFinished = true;
    copyText(layoutName, "MY LAYOUT.MYL", FILE_NAME_SIZE);
    newDeal(nullptr);
    EXPECT_EQ(fake::windowTitle, "Velmora's mah-jong v2.0 - My layout.myl");
    EXPECT_EQ(selectedTile, NO_TILE);
    EXPECT_EQ(chronoSeconds, 0);
    EXPECT_FALSE(gameFinished);
    EXPECT_EQ(fake::layoutCount, 1);
    EXPECT_EQ(fake::paintCount, 1);
    for (int t = 0; t < TILE_COUNT; ++t) EXPECT_LE(tileTable[t].state, Free);
    copyText(layoutName, RANDOM_LAYOUT_NAME, FILE_NAME_SIZE);
    newDeal(nullptr);
    EXPECT_EQ(fake::windowTitle, "Velmora's mah-jong v2.0 - Random.myl");
}

TEST_F(DealTest, ADealAfterALoadedGameReadsTheLayoutAgain) {
    std::string text;
    for (const Origin& o : turtleLayout())
        text += std::to_string(o.row) + " " + std::to_string(o.column) + " " + std::to_string(o.layer) + "\r\n";
    start.write("LAYOUTS/TEST.MYL", text);
    placeTiles(flatLayout());  // the saved game's layout
    loadedGame = true;
    newDeal(nullptr);
    EXPECT_FALSE(loadedGame);
    EXPECT_EQ(layoutCell(4, 7, 13), 1);
    EXPECT_EQ(countOrigins(), TILE_COUNT);
    EXPECT_TRUE(dealOrderValid);
    EXPECT_TRUE(replayDealOrder());
}

TEST_F(DealTest, BacktrackingSearchFindsAnOrder) {
    for (auto layout : {turtleLayout(), towerLayout(), pyramidLayout()}) {
        installLayout(layout);
        uint8_t grid[GRID_CELLS];
        memcpy(grid, tileGrid, sizeof grid);
        srand(4);
        ASSERT_TRUE(searchRemovalOrder(grid));
        memcpy(tileGrid, grid, sizeof grid);
        for (int t = 0; t < TILE_COUNT; ++t) tileTable[t].face = 1;
        tilesLeft = TILE_COUNT;
        undoCount = 0;
        EXPECT_TRUE(replayDealOrder());
    }
}

TEST_F(DealTest, ABoardWithoutAnEasyDealStillGetsEveryFace) {
    // 143 tiles on the grid: no order can clear it, so the easy deal gives up
    std::vector<Origin> layout = turtleLayout();
    layout.pop_back();
    installLayout(layout);
    EXPECT_EQ(fake::releaseCount, 1);
    Settings.EasyMode = 1;
    dealWithSeed(1);
    EXPECT_FALSE(dealOrderValid);
    EXPECT_EQ(easyDealAttempts, EASY_DEAL_ATTEMPT_LIMIT + 1);
    EXPECT_EQ(sortedFaces(), sortedDealFaces());
    for (int cell = 0; cell < GRID_CELLS; ++cell)
        EXPECT_TRUE(tileGrid[cell] < TILE_COUNT || tileGrid[cell] == NO_TILE);
}

TEST_F(DealTest, FirstEasyDealSeedsTheGenerator) {
    installLayout(turtleLayout());
    randomSeeded = false;
    srand(1);
    newDeal(nullptr);
    EXPECT_TRUE(randomSeeded);
    uint8_t seeded[TILE_COUNT];
    memcpy(seeded, dealOrder, sizeof seeded);
    dealWithSeed(5000);  // what seeding with the clock gives
    EXPECT_EQ(memcmp(seeded, dealOrder, sizeof seeded), 0);
}

}  // namespace
