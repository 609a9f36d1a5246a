// Automatic play in the 3D view of mahjong: the player's thread draws nothing
// itself; it asks the window to repaint and pauses without holding the board.
#include <gtest/gtest.h>

#include "engine/autoplay.h"
#include "engine/board_lock.h"
#include "engine/host.h"
#include "tests/core/test_support.h"
#include "tests/support/wait.h"

namespace {

class Autoplay3DTest : public ::testing::Test {
protected:
    TempStartDirectory start;
    uint8_t dealtFaces[TILE_COUNT];
    uint8_t dealtGrid[GRID_CELLS];

    void SetUp() override {
        fake::reset();
        setEngineTexts();
        setEngineSettings();
        Settings.AutoPlaySleep = 0;
        platformFixTimeSeconds(900);
        loadedGame = false;
        installLayout(turtleLayout());
        srand(5);
        randomSeeded = true;
        newDeal(nullptr);
        ASSERT_TRUE(dealOrderValid);
        for (int t = 0; t < TILE_COUNT; ++t) dealtFaces[t] = tileTable[t].face;
        memcpy(dealtGrid, tileGrid, sizeof dealtGrid);
        fake::reset();
        view3D = true;
    }
    void TearDown() override {
        stopAutoplayAndWait();
        view3D = false;
        platformFixTimeSeconds(-1);
    }

    int removeSounds() {
        int count = 0;
        for (int s : fake::sounds) count += s == RemoveSound;
        return count;
    }

    void expectDealtBoard() {
        BoardLock lock;
        for (int t = 0; t < TILE_COUNT; ++t) EXPECT_EQ(tileTable[t].face, dealtFaces[t]) << "tile " << t;
        EXPECT_EQ(memcmp(tileGrid, dealtGrid, sizeof dealtGrid), 0);
        EXPECT_EQ(tilesLeft, TILE_COUNT);
        EXPECT_EQ(undoCount, 0);
        EXPECT_EQ(chronoSeconds, 0);
        EXPECT_EQ(selectedTile, NO_TILE);
        EXPECT_EQ(secondTile, NO_TILE);
    }
};

TEST_F(Autoplay3DTest, AsksTheWindowToRepaintAndDrawsNothingItself) {
    startAutoplay();
    waitUntil("the player has ended", [] { return !autoplayActive(); });
    EXPECT_EQ(removeSounds(), 72);
    // No 2D frame and no paint on the player's thread: the scene is the window's.
    EXPECT_EQ(fake::drawCount, 0);
    EXPECT_EQ(fake::paintCount, 0);
    EXPECT_GE(fake::layoutCount, 1);  // the restart lays the board out again
    EXPECT_EQ(fake::postCount, 72 + 1);  // one repaint a pair, one at the end
    EXPECT_TRUE(fake::messages.empty());
    expectDealtBoard();
}

TEST_F(Autoplay3DTest, TheWindowCanPaintDuringThePauseAndStopIt) {
    Settings.AutoPlaySleep = 2000000000;
    startAutoplay();
    waitUntil("a repaint is asked for", [] { return fake::postCount >= 1; });
    // The pause holds no lock: the window's repaint gets the board and sees
    // the first pair selected.
    ASSERT_TRUE(tryLockBoard());
    EXPECT_EQ(selectedTile, dealOrder[0]);
    EXPECT_EQ(secondTile, dealOrder[1]);
    EXPECT_EQ(tilesLeft, TILE_COUNT);
    unlockBoard();
    stopAutoplayAndWait();
    EXPECT_EQ(removeSounds(), 1);
    expectDealtBoard();
}

}  // namespace
