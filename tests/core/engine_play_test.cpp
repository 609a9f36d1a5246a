// Play: clicks, removal, undo, restart, new game, hints and the end of a game.
#include <gtest/gtest.h>

#include "platform/ui.h"
#include "engine/host.h"
#include "tests/core/test_support.h"

namespace {

class PlayTest : public ::testing::Test {
protected:
    TempStartDirectory start;
    void SetUp() override {
        fake::reset();
        setEngineTexts();
        setEngineSettings();
        platformFixTimeSeconds(300);
        loadedGame = false;
        resetGameState();
    }
    void TearDown() override { platformFixTimeSeconds(-1); }

    // Tiles 0-3 lone and free, tile 4 blocked between 5 and 6 (both free).
    void smallBoard(std::vector<int> faces) {
        placeTiles({{0, 0, 0}, {0, 0, 6}, {0, 0, 12}, {0, 0, 18}, {0, 6, 2}, {0, 6, 0}, {0, 6, 4}}, faces);
        resetGameState();
        tilesLeft = 7;
        computeFreeTiles();
    }
    void turtleDeal() {
        installLayout(turtleLayout());
        srand(8);
        randomSeeded = true;
        newDeal(nullptr);
        fake::reset();
    }
    // Plays the whole deal through clicks; the last pair leaves the board empty.
    void winByClicks() {
        for (int k = 0; k < TILE_COUNT; k += 2) {
            clickTile(dealOrder[k]);
            clickTile(dealOrder[k + 1]);
        }
    }
    std::vector<int> sounds(std::initializer_list<SoundEffect> list) { return std::vector<int>(list.begin(), list.end()); }
};

TEST_F(PlayTest, ClicksSelectDeselectAndMoveTheSelection) {
    smallBoard({1, 2, 3, 4, 1, 9, 9});
    clickTile(NO_TILE);
    EXPECT_EQ(fake::sounds, sounds({ErrorSound}));
    clickTile(4);  // blocked, nothing selected
    EXPECT_EQ(selectedTile, NO_TILE);
    clickTile(0);
    EXPECT_EQ(selectedTile, 0);
    clickTile(0);  // again: deselected
    EXPECT_EQ(selectedTile, NO_TILE);
    clickTile(0);
    clickTile(1);  // free, other face: the selection moves
    EXPECT_EQ(selectedTile, 1);
    EXPECT_EQ(secondTile, NO_TILE);
    clickTile(4);  // blocked: selection cleared
    EXPECT_EQ(selectedTile, NO_TILE);
    clickTile(2);
    clickTile(NO_TILE);  // empty space clears it too
    EXPECT_EQ(selectedTile, NO_TILE);
    EXPECT_EQ(fake::sounds, sounds({ErrorSound, ErrorSound, SelectSound, SelectSound, SelectSound, SelectSound,
                                    ErrorSound, SelectSound, ErrorSound}));
    EXPECT_EQ(tilesLeft, 7);
    EXPECT_EQ(undoCount, 0);
}

TEST_F(PlayTest, MatchingPairIsRemoved) {
    smallBoard({1, 2, 3, 4, 1, 1, 4});
    clickTile(0);
    clickTile(5);
    EXPECT_EQ(tilesLeft, 5);
    EXPECT_EQ(undoCount, 1);
    EXPECT_EQ(tileTable[0].face, 0);
    EXPECT_EQ(tileTable[5].face, 0);
    EXPECT_EQ(tileCell(0, 7, 1), NO_TILE);
    EXPECT_EQ(selectedTile, NO_TILE);
    EXPECT_EQ(secondTile, NO_TILE);
    EXPECT_EQ(fake::fadeCount, 1);
    EXPECT_EQ(fake::sounds, sounds({SelectSound, RemoveSound}));
    EXPECT_TRUE(tileTable[4].state == Free);  // its left side opened
    EXPECT_EQ(pairCount, 1);                  // the fours, tiles 3 and 6
    EXPECT_EQ(undoStack[0].faceA, 1);
    EXPECT_EQ(undoStack[0].tileB, 5);

    Settings.RemoveTileTime = 0;  // no fade-out then
    smallBoard({1, 2, 3, 4, 1, 1, 9});
    clickTile(5);
    clickTile(0);
    EXPECT_EQ(fake::fadeCount, 1);
    EXPECT_EQ(tilesLeft, 5);
}

TEST_F(PlayTest, BonusSetsMatchWithinTheirSetOnly) {
    smallBoard({29, 31, 37, 3, 5, 6, 7});
    clickTile(0);
    clickTile(2);  // 29 and 37: the selection moves
    EXPECT_EQ(tilesLeft, 7);
    EXPECT_EQ(selectedTile, 2);
    clickTile(0);
    clickTile(1);  // 29 and 31
    EXPECT_EQ(tilesLeft, 5);
}

TEST_F(PlayTest, LastPairShowsTheEndText) {
    smallBoard({1, 1, 0, 0, 0, 0, 0});
    for (int t = 2; t < 7; ++t) {
        const TileRecord& r = tileTable[t];
        setTileCells(r.layer, r.row, r.column, NO_TILE);
    }
    tilesLeft = 2;
    computeFreeTiles();
    clickTile(0);
    clickTile(1);
    EXPECT_EQ(tilesLeft, 0);
    EXPECT_EQ(pairCount, 0);
    EXPECT_TRUE(hintShown);
    EXPECT_EQ(fake::statusCount, 1);
}

TEST_F(PlayTest, UndoRestoresAndReportsAnEmptyHistory) {
    turtleDeal();
    undoMove(nullptr);
    EXPECT_EQ(fake::messageLog(), "MesUndo\n");
    EXPECT_EQ(fake::messages[0].kind, PLATFORM_MB_INFORMATION);

    uint8_t grid[GRID_CELLS];
    memcpy(grid, tileGrid, sizeof grid);
    int a = dealOrder[0], b = dealOrder[1];
    int faceA = tileTable[a].face, faceB = tileTable[b].face;
    clickTile(a);
    clickTile(b);
    ASSERT_EQ(undoCount, 1);
    selectedTile = dealOrder[2];
    undoMove(nullptr);
    EXPECT_EQ(undoCount, 0);
    EXPECT_EQ(tilesLeft, TILE_COUNT);
    EXPECT_EQ(tileTable[a].face, faceA);
    EXPECT_EQ(tileTable[b].face, faceB);
    EXPECT_EQ(memcmp(grid, tileGrid, sizeof grid), 0);
    EXPECT_EQ(selectedTile, NO_TILE);
    EXPECT_EQ(pairCount, 0);
}

TEST_F(PlayTest, SeventyTwoRemovalsAndUndosGiveTheDealBack) {
    turtleDeal();
    TileRecord table[TILE_COUNT];
    memcpy(table, tileTable, sizeof table);
    uint8_t grid[GRID_CELLS];
    memcpy(grid, tileGrid, sizeof grid);
    winByClicks();
    EXPECT_EQ(tilesLeft, 0);
    EXPECT_EQ(undoCount, 72);
    for (int i = 0; i < 72; ++i) undoMove(nullptr);
    computeFreeTiles();
    EXPECT_EQ(memcmp(table, tileTable, sizeof table), 0);
    EXPECT_EQ(memcmp(grid, tileGrid, sizeof grid), 0);
    EXPECT_EQ(tilesLeft, TILE_COUNT);
    EXPECT_TRUE(fake::messages.empty());
}

TEST_F(PlayTest, RemovePairRefusesWhatIsNotOnTheBoard) {
    turtleDeal();
    removePair(dealOrder[0], dealOrder[1]);
    removePair(dealOrder[0], dealOrder[2]);  // already removed
    removePair(5, 5);
    removePair(NO_TILE, 3);
    EXPECT_EQ(undoCount, 1);
    EXPECT_EQ(tilesLeft, TILE_COUNT - 2);
    undoCount = 500;  // a history that cannot be: nothing to undo, and no endless undo loop
    fake::reset();
    undoMove(nullptr);
    EXPECT_EQ(undoCount, 0);
    EXPECT_EQ(fake::messageLog(), "MesUndo\n");
}

TEST_F(PlayTest, RestartAndNewGame) {
    turtleDeal();
    uint8_t faces[TILE_COUNT];
    for (int t = 0; t < TILE_COUNT; ++t) faces[t] = tileTable[t].face;
    for (int k = 0; k < 20; k += 2) removePair(dealOrder[k], dealOrder[k + 1]);
    chronoSeconds = 400;
    gameFinished = true;
    restartGame(nullptr);
    EXPECT_EQ(undoCount, 0);
    EXPECT_EQ(tilesLeft, TILE_COUNT);
    EXPECT_EQ(chronoSeconds, 0);
    EXPECT_FALSE(gameFinished);
    EXPECT_EQ(fake::layoutCount, 1);
    EXPECT_EQ(fake::paintCount, 1);
    for (int t = 0; t < TILE_COUNT; ++t) EXPECT_EQ(tileTable[t].face, faces[t]);
    EXPECT_TRUE(replayDealOrder());  // the order still describes the board

    fake::reset();
    newGameCommand(nullptr);  // after 72 removals
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(undoCount, 0);
    EXPECT_EQ(tilesLeft, TILE_COUNT);
    EXPECT_TRUE(replayDealOrder());
}

TEST_F(PlayTest, HintsCostAMinuteAndCycle) {
    smallBoard({1, 1, 1, 4, 8, 4, 9});  // pairs (0,1) (0,2) (1,2) (3,5)
    chronoSeconds = 10;
    std::vector<int> shown;
    for (int i = 0; i < 9; ++i) {
        hintStep(nullptr);
        if (hintIndex >= pairCount) hintIndex = 0;  // as the views do before highlighting
        shown.push_back(hintIndex);
    }
    EXPECT_EQ(chronoSeconds, 10 + 9 * 60);
    EXPECT_TRUE(hintShown);
    EXPECT_EQ(pairCount, 4);
    EXPECT_EQ(shown, std::vector<int>({0, 1, 2, 3, 0, 1, 2, 3, 0}));
    EXPECT_EQ(fake::paintCount, 9);

    // after a removal the list is already there: the first hint shows its second pair
    clickTile(0);
    clickTile(1);
    ASSERT_EQ(pairCount, 1);
    hintStep(nullptr);
    if (hintIndex >= pairCount) hintIndex = 0;
    EXPECT_EQ(hintIndex, 0);
    hintStep(nullptr);
    hintStep(nullptr);
    EXPECT_EQ(chronoSeconds, 10 + 12 * 60);
}

TEST_F(PlayTest, HintStopsTheChronometerAtItsLimit) {
    smallBoard({1, 1, 1, 4, 8, 4, 9});
    chronoSeconds = CHRONO_LIMIT - 30;
    hintStep(nullptr);
    EXPECT_EQ(chronoSeconds, CHRONO_LIMIT);
    hintStep(nullptr);
    EXPECT_EQ(chronoSeconds, CHRONO_LIMIT);
}

TEST_F(PlayTest, WinEqualToTheTenthTimeDoesNotEnter) {
    turtleDeal();
    winByClicks();
    chronoSeconds = 840;
    checkEndOfGame(nullptr);
    EXPECT_TRUE(gameFinished);
    EXPECT_EQ(fake::winnerDialogCount, 1);
    EXPECT_EQ(fake::hallDialogCount, 0);
    EXPECT_EQ(fake::messageLog(), "MesWinNoHall\n");
    EXPECT_FALSE(start.exists("SCORES/TEST.MYS"));
    EXPECT_EQ(hallOfFame[9].seconds, 840);
}

TEST_F(PlayTest, WinOneSecondBetterEntersAndIsWrittenOnce) {
    turtleDeal();
    fake::winnerName = "Alice";
    winByClicks();
    chronoSeconds = 839;
    checkEndOfGame(nullptr);
    EXPECT_EQ(fake::winnerDialogCount, 1);
    EXPECT_EQ(fake::hallDialogCount, 1);
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(start.read("SCORES/TEST.MYS").size(), 400u);
    EXPECT_STREQ(hallOfFame[9].name, "Alice");
    EXPECT_STREQ(hallOfFame[9].time, "00:13:59");
    EXPECT_EQ(hallOfFame[8].seconds, 780);

    // undo a move, win again: nothing is asked
    undoMove(nullptr);
    computeFreeTiles();
    clickTile(dealOrder[142]);
    clickTile(dealOrder[143]);
    EXPECT_EQ(tilesLeft, 0);
    chronoSeconds = 100;
    checkEndOfGame(nullptr);
    EXPECT_EQ(fake::winnerDialogCount, 1);
    EXPECT_EQ(hallOfFame[0].seconds, 300);
}

TEST_F(PlayTest, WinOfALoadedGameIsShownButNotWritten) {
    turtleDeal();
    winByClicks();
    loadedGame = true;
    chronoSeconds = 100;
    checkEndOfGame(nullptr);
    loadedGame = false;
    EXPECT_EQ(fake::hallDialogCount, 1);
    EXPECT_EQ(fake::messageLog(), "MesWinLoad\n");
    EXPECT_FALSE(start.exists("SCORES/TEST.MYS"));
    EXPECT_EQ(hallOfFame[0].seconds, 100);
    checkEndOfGame(nullptr);  // processed once only
    EXPECT_EQ(fake::winnerDialogCount, 1);
}

TEST_F(PlayTest, NoEndWhileTilesAreLeft) {
    turtleDeal();
    checkEndOfGame(nullptr);
    EXPECT_FALSE(gameFinished);
    EXPECT_EQ(fake::winnerDialogCount, 0);
}

}  // namespace
