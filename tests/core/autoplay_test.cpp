// Automatic play: the replay of the deal order on its own thread, its refusals,
// stopping it, its fade frames, and its mutual exclusion with the window.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "engine/autoplay.h"
#include "engine/board_lock.h"
#include "engine/fade.h"
#include "engine/host.h"
#include "engine/shadows.h"
#include "platform/ui.h"
#include "tests/core/test_support.h"
#include "tests/support/wait.h"

namespace {

// What the player showed at the first frame of one step (the pair drawn selected).
struct Step {
    int selected, second, undoCount, tilesLeft;
};

void waitUntilEnded() {
    waitUntil("the player has ended", [] { return !autoplayActive(); });
}

int removeSounds() {
    int count = 0;
    for (int s : fake::sounds) count += s == RemoveSound;
    return count;
}

class AutoplayTest : public ::testing::Test {
protected:
    TempStartDirectory start;
    uint8_t dealtFaces[TILE_COUNT];
    uint8_t dealtGrid[GRID_CELLS];

    void SetUp() override {
        fake::reset();
        setEngineTexts();
        copyText(LanguageTexts.MesAutoplayError, "MesAutoplayError", LONG_TEXT_SIZE);
        setEngineSettings();
        Settings.AutoPlaySleep = 0;
        platformFixTimeSeconds(700);
        loadedGame = false;
        installLayout(turtleLayout());
        srand(11);
        randomSeeded = true;
        newDeal(nullptr);
        ASSERT_TRUE(dealOrderValid);
        remember();
        fake::reset();
    }
    void TearDown() override {
        stopAutoplayAndWait();
        fake::drawHook = nullptr;
        fake::soundHook = nullptr;
        platformFixTimeSeconds(-1);
    }

    void remember() {
        for (int t = 0; t < TILE_COUNT; ++t) dealtFaces[t] = tileTable[t].face;
        memcpy(dealtGrid, tileGrid, sizeof dealtGrid);
    }

    // The board is the deal as remembered, with nothing removed and nothing selected.
    void expectDealtBoard() {
        BoardLock lock;
        for (int t = 0; t < TILE_COUNT; ++t) EXPECT_EQ(tileTable[t].face, dealtFaces[t]) << "tile " << t;
        EXPECT_EQ(memcmp(tileGrid, dealtGrid, sizeof dealtGrid), 0);
        EXPECT_EQ(tilesLeft, TILE_COUNT);
        EXPECT_EQ(undoCount, 0);
        EXPECT_EQ(chronoSeconds, 0);
        EXPECT_FALSE(gameFinished);
        EXPECT_EQ(selectedTile, NO_TILE);
        EXPECT_EQ(secondTile, NO_TILE);
        EXPECT_FALSE(autoplayRunning);
    }

    void expectRefused(const char* what) {
        SCOPED_TRACE(what);
        fake::reset();
        uint8_t faces[TILE_COUNT];
        for (int t = 0; t < TILE_COUNT; ++t) faces[t] = tileTable[t].face;
        uint8_t grid[GRID_CELLS];
        memcpy(grid, tileGrid, sizeof grid);
        const int16_t left = tilesLeft, undone = undoCount;
        startAutoplay();
        EXPECT_FALSE(autoplayActive());
        EXPECT_FALSE(autoplayRunning);
        ASSERT_EQ(fake::messages.size(), 1u);
        EXPECT_EQ(fake::messages[0].text, "MesAutoplayError");
        EXPECT_EQ(fake::messages[0].kind, PLATFORM_MB_INFORMATION);
        EXPECT_EQ(fake::drawCount, 0);
        EXPECT_EQ(fake::paintCount, 0);
        EXPECT_TRUE(fake::sounds.empty());
        for (int t = 0; t < TILE_COUNT; ++t) EXPECT_EQ(tileTable[t].face, faces[t]);
        EXPECT_EQ(memcmp(tileGrid, grid, sizeof grid), 0);
        EXPECT_EQ(tilesLeft, left);
        EXPECT_EQ(undoCount, undone);
    }
};

TEST_F(AutoplayTest, ReplaysTheDealOrderAndRestoresTheDeal) {
    std::vector<Step> steps;
    fake::drawHook = [&](int fadeA, int, int16_t, int16_t) {
        if (fadeA == NO_TILE) steps.push_back({selectedTile, secondTile, undoCount, tilesLeft});
    };
    chronoSeconds = 42;
    startAutoplay();
    waitUntilEnded();

    // Pair k is shown selected with k pairs gone, then removed: dealOrder order.
    ASSERT_EQ(steps.size(), 72u);
    for (int k = 0; k < 72; ++k) {
        SCOPED_TRACE("pair " + std::to_string(k));
        EXPECT_EQ(steps[k].selected, dealOrder[2 * k]);
        EXPECT_EQ(steps[k].second, dealOrder[2 * k + 1]);
        EXPECT_EQ(steps[k].undoCount, k);
        EXPECT_EQ(steps[k].tilesLeft, TILE_COUNT - 2 * k);
        // The undo stack kept every removal; restartGame only counted it back.
        EXPECT_EQ(undoStack[k].tileA, dealOrder[2 * k]);
        EXPECT_EQ(undoStack[k].tileB, dealOrder[2 * k + 1]);
        EXPECT_EQ(undoStack[k].faceA, dealtFaces[dealOrder[2 * k]]);
        EXPECT_EQ(undoStack[k].faceB, dealtFaces[dealOrder[2 * k + 1]]);
    }
    EXPECT_EQ(removeSounds(), 72);
    EXPECT_EQ(fake::sounds.size(), 72u);
    // AutoPlaySleep 0: one frame a pair, no fade; the restart paints once.
    EXPECT_EQ(fake::drawCount, 72);
    EXPECT_EQ(fake::paintCount, 1);
    EXPECT_EQ(fake::fadeCount, 0);
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(fake::winnerDialogCount, 0);
    expectDealtBoard();
    EXPECT_FALSE(autoplayActive());

    // The restored board is a fresh easy deal again: it can be played once more.
    fake::reset();
    startAutoplay();
    waitUntilEnded();
    EXPECT_EQ(removeSounds(), 72);
    expectDealtBoard();
}

TEST_F(AutoplayTest, IsRefusedUnlessTheBoardIsTheFreshEasyDeal) {
    // A pair removed by the player.
    clickTile(dealOrder[0]);
    clickTile(dealOrder[1]);
    ASSERT_EQ(tilesLeft, TILE_COUNT - 2);
    expectRefused("after a move");
    // Taken back, the board is the deal again.
    undoMove(nullptr);
    computeFreeTiles();
    fake::reset();
    startAutoplay();
    waitUntilEnded();
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(removeSounds(), 72);
    expectDealtBoard();

    Settings.EasyMode = 0;
    expectRefused("easy mode off");
    Settings.EasyMode = 1;

    loadedGame = true;
    expectRefused("a loaded game");
    loadedGame = false;

    dealOrderValid = false;
    expectRefused("a stale removal order");
    dealOrderValid = true;

    // A random deal records no order.
    Settings.EasyMode = 0;
    newDeal(nullptr);
    Settings.EasyMode = 1;
    EXPECT_FALSE(dealOrderValid);
    expectRefused("a random deal with easy mode on again");
}

TEST_F(AutoplayTest, StopsAfterThePairInHand) {
    // The stop arrives while the third pair is shown: that pair still goes,
    // then the deal is restarted.
    std::atomic<int> shown{0};
    fake::drawHook = [&](int fadeA, int, int16_t, int16_t) {
        if (fadeA != NO_TILE) return;
        if (++shown == 3)
            // until the window has asked for the stop
            waitUntil("the stop is asked for", [] { return !autoplayRunning; });
    };
    startAutoplay();
    waitUntil("three pairs are shown", [&] { return shown >= 3; });
    EXPECT_TRUE(autoplayActive());
    stopAutoplayAndWait();
    EXPECT_FALSE(autoplayActive());
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(removeSounds(), 3);
    EXPECT_EQ(fake::paintCount, 1);
    EXPECT_TRUE(fake::messages.empty());
    expectDealtBoard();
    // Stopping when nothing runs returns at once and changes nothing.
    stopAutoplayAndWait();
    expectDealtBoard();
}

TEST_F(AutoplayTest, StopBeforeTheFirstStepOnlyRestarts) {
    // The player is held before it takes the board; the stop is asked for first.
    lockBoard();
    startAutoplay();
    EXPECT_TRUE(autoplayActive());
    EXPECT_TRUE(autoplayRunning);
    autoplayRunning = false;  // what a click does
    unlockBoard();
    waitUntilEnded();
    EXPECT_EQ(fake::drawCount, 0);
    EXPECT_EQ(removeSounds(), 0);
    expectDealtBoard();
}

TEST_F(AutoplayTest, StopCutsALongFadeShort) {
    // A pause far longer than the test: the stop ends the fade of the pair in
    // hand, which is still removed.
    Settings.AutoPlaySleep = 2000000000;
    std::atomic<int> frames{0};
    fake::drawHook = [&](int, int, int16_t, int16_t) {
        ++frames;
        platformSleep(1);
    };
    startAutoplay();
    // the pair, then the first fade frame and its long wait
    waitUntil("two frames are drawn", [&] { return frames >= 2; });
    stopAutoplayAndWait();
    EXPECT_EQ(removeSounds(), 1);
    EXPECT_EQ(frames, 2);
    expectDealtBoard();
}

TEST_F(AutoplayTest, NeverRunsTwoPlayers) {
    std::atomic<bool> entered{false}, release{false};
    std::mutex idsLock;
    std::set<std::thread::id> drawingThreads;
    fake::drawHook = [&](int, int, int16_t, int16_t) {
        {
            std::lock_guard<std::mutex> guard(idsLock);
            drawingThreads.insert(std::this_thread::get_id());
        }
        entered = true;
        waitUntil("the test releases the player", [&] { return bool(release); });
    };
    startAutoplay();
    // the player holds the board in its first step
    waitUntil("the player draws", [&] { return bool(entered); });
    // The second command finds the player active: no thread, no message.
    startAutoplay();
    startAutoplay();
    EXPECT_TRUE(autoplayActive());
    EXPECT_TRUE(fake::messages.empty());
    release = true;
    waitUntilEnded();
    EXPECT_EQ(drawingThreads.size(), 1u);
    EXPECT_EQ(removeSounds(), 72);
    EXPECT_EQ(fake::drawCount, 72);
    expectDealtBoard();
}

TEST_F(AutoplayTest, EmptyBoardOfTheDemonstrationIsNoWin) {
    // The last pair has gone and its sound plays: the board is empty for a
    // moment. The window's end-of-game check then finds nothing to do.
    std::atomic<bool> emptied{false}, checked{false};
    fake::soundHook = [&](int) {
        if (undoCount == 72) {  // read by the player's own thread
            emptied = true;
            waitUntil("the board is checked", [&] { return bool(checked); });
        }
    };
    startAutoplay();
    waitUntil("the board is emptied", [&] { return bool(emptied); });
    {
        BoardLock lock;
        EXPECT_EQ(tilesLeft, 0);
        checkEndOfGame(nullptr);
        EXPECT_FALSE(gameFinished);
    }
    checked = true;
    waitUntilEnded();
    EXPECT_EQ(fake::winnerDialogCount, 0);
    EXPECT_EQ(fake::hallDialogCount, 0);
    EXPECT_TRUE(fake::messages.empty());
    expectDealtBoard();
}

TEST(AutoplayFadeTest, FramesFollowThePauseAndTheDrawingTime) {
    EXPECT_EQ(fadeFrameCount(500, 120), 4);
    EXPECT_EQ(fadeFrameCount(500, 0), 0);     // under 1 ms: no fade, no waiting
    EXPECT_EQ(fadeFrameCount(0, 120), 0);     // AutoPlaySleep 0: one frame a pair
    EXPECT_EQ(fadeFrameCount(-500, 10), 0);
    EXPECT_EQ(fadeFrameCount(500, 501), 0);
    EXPECT_EQ(fadeFrameCount(500, 1), 500);
    EXPECT_EQ(fadeFrameCount(2000000000, 1), FADE_FRAME_LIMIT);
    EXPECT_EQ(fadeFrameCount(500, 4000000000u), 0);
}

TEST(AutoplayFadeTest, WeightsFadeThePairIntoTheBoard) {
    const int16_t expected[4][2] = {{20, 80}, {40, 60}, {60, 40}, {80, 20}};
    for (int i = 1; i <= 4; ++i) {
        int16_t background, tile;
        fadeWeights(4, i, &background, &tile);
        EXPECT_EQ(background, expected[i - 1][0]);
        EXPECT_EQ(tile, expected[i - 1][1]);
    }
    // 100 frames or more: 100 / (n + 1) is 0; the weights stay proportional
    // and never both 0 (a fade to black).
    for (int n : {99, 100, 500, FADE_FRAME_LIMIT}) {
        for (int i = 1; i <= n; ++i) {
            int16_t background, tile;
            fadeWeights(n, i, &background, &tile);
            ASSERT_GT(background + tile, 0) << n << " " << i;
            EXPECT_GT(background, 0);
            EXPECT_GT(tile, 0);
        }
    }
    int16_t background, tile;
    fadeWeights(500, 1, &background, &tile);
    EXPECT_EQ(background, 1);
    EXPECT_EQ(tile, 500);
    fadeWeights(FADE_FRAME_LIMIT, FADE_FRAME_LIMIT, &background, &tile);
    EXPECT_EQ(background, FADE_FRAME_LIMIT);
    EXPECT_EQ(tile, 1);
}

TEST_F(AutoplayTest, FadeFramesUseTheMeasuredDrawingTime) {
    // Each board drawing takes at least 120 ms; with AutoPlaySleep 500 a pair
    // fades in at most 500 / 120 = 4 frames, with the weights of that count.
    Settings.AutoPlaySleep = 500;
    struct Frame {
        int fadeA, fadeB, background, tile, selected, second;
    };
    std::vector<Frame> frames;
    std::atomic<int> pairsShown{0};
    fake::drawHook = [&](int fadeA, int fadeB, int16_t background, int16_t tile) {
        frames.push_back({fadeA, fadeB, background, tile, selectedTile, secondTile});
        if (fadeA == NO_TILE) {
            if (++pairsShown == 3) {
                autoplayRunning = false;  // two pairs with their fade, then the stop
                return;
            }
            platformSleep(120);
        }
    };
    startAutoplay();
    waitUntilEnded();
    ASSERT_EQ(pairsShown, 3);
    size_t f = 0;
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE("pair " + std::to_string(k));
        const int a = dealOrder[2 * k], b = dealOrder[2 * k + 1];
        ASSERT_LT(f, frames.size());
        EXPECT_EQ(frames[f].fadeA, NO_TILE);
        EXPECT_EQ(frames[f].selected, a);
        EXPECT_EQ(frames[f].second, b);
        ++f;
        int n = 0;
        while (f + n < frames.size() && frames[f + n].fadeA != NO_TILE) ++n;
        EXPECT_GE(n, 1);
        EXPECT_LE(n, 4);
        for (int i = 1; i <= n; ++i, ++f) {
            int16_t background, tile;
            fadeWeights(n, i, &background, &tile);
            EXPECT_EQ(frames[f].fadeA, a);
            EXPECT_EQ(frames[f].fadeB, b);
            EXPECT_EQ(frames[f].background, background) << "frame " << i << " of " << n;
            EXPECT_EQ(frames[f].tile, tile) << "frame " << i << " of " << n;
            EXPECT_EQ(frames[f].selected, a);  // the fading pair is drawn selected
        }
    }
    // The third pair was stopped during its first frame: no fade, still removed.
    ASSERT_EQ(f + 1, frames.size());
    EXPECT_EQ(removeSounds(), 3);
    expectDealtBoard();
}

// The board is whole and its records agree, as after any sequence of moves.
void expectConsistentBoard() {
    int faces = 0, cells = 0;
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRecord& r = tileTable[t];
        if (r.face == 0) continue;
        ++faces;
        for (int dr = 0; dr < 2; ++dr)
            for (int dc = 0; dc < 2; ++dc)
                EXPECT_EQ(tileCell(r.layer, r.row + dr, r.column + dc), t) << "tile " << t;
    }
    for (int cell = 0; cell < GRID_CELLS; ++cell) cells += tileGrid[cell] != NO_TILE;
    EXPECT_EQ(faces, tilesLeft);
    EXPECT_EQ(cells, 4 * tilesLeft);
    EXPECT_EQ(tilesLeft, TILE_COUNT - 2 * undoCount);
    for (int u = 0; u < undoCount; ++u) {
        EXPECT_EQ(tileTable[undoStack[u].tileA].face, 0);
        EXPECT_EQ(tileTable[undoStack[u].tileB].face, 0);
        EXPECT_TRUE(tilesMatch(undoStack[u].faceA, undoStack[u].faceB));
    }
    EXPECT_TRUE(selectedTile == NO_TILE || (selectedTile < TILE_COUNT && tileTable[selectedTile].face != 0 &&
                                            tileTable[selectedTile].state == Free));
    EXPECT_EQ(secondTile, NO_TILE);
}

TEST_F(AutoplayTest, StressWindowActionsWhileThePlayerRuns) {
    // A short pause and a drawing of 1 ms give a step of a few milliseconds.
    Settings.AutoPlaySleep = 3;
    std::atomic<int> pairFrames{0}, violations{0};
    fake::drawHook = [&](int fadeA, int, int16_t, int16_t) {
        // The player only ever works on its own run: k pairs gone, pair k shown.
        const int k = undoCount;
        if (k < 0 || k >= 72 || tilesLeft != TILE_COUNT - 2 * k || selectedTile != dealOrder[2 * k] ||
            secondTile != dealOrder[2 * k + 1])
            ++violations;
        if (fadeA == NO_TILE) {
            ++pairFrames;
            platformSleep(1);
        }
    };

    // The window's thread: clicks, undo, restart, new game, stops, paints and
    // timer ticks, through the locking the main window uses.
    std::thread window([&] {
        std::mt19937 random(1234);
        startAutoplay();
        // the player surely ran once
        waitUntil("a pair is drawn", [&] { return pairFrames > 0; });
        for (int action = 0; action < 400; ++action) {
            switch (random() % 9) {
                case 0:
                case 1: startAutoplay(); break;
                case 2: {  // left button: stop, then the click
                    stopAutoplayAndWait();
                    BoardLock lock;
                    hintShown = false;
                    findPairs(0);
                    if (pairCount > 0 && random() % 4 != 0) {
                        const int p = (int)(random() % pairCount);
                        clickTile(pairList[p][0]);
                        clickTile(pairList[p][1]);
                    } else {
                        clickTile((int)(random() % (TILE_COUNT + 10)));
                    }
                    host.paintBoard(nullptr);
                    break;
                }
                case 3: {
                    stopAutoplayAndWait();
                    BoardLock lock;
                    if (undoCount > 0) undoMove(nullptr);
                    computeFreeTiles();
                    computeShadowFlags();
                    host.layoutBoard2D(nullptr);
                    host.paintBoard(nullptr);
                    break;
                }
                case 4: {
                    stopAutoplayAndWait();
                    BoardLock lock;
                    restartGame(nullptr);
                    break;
                }
                case 5: {
                    stopAutoplayAndWait();
                    BoardLock lock;
                    newGameCommand(nullptr);
                    break;
                }
                case 6: stopAutoplayAndWait(); break;
                case 7:  // a repaint, or the focus going and coming back
                    if (random() % 2) chronoPaused = !chronoPaused;
                    if (tryLockBoard()) {
                        host.paintBoard(nullptr);
                        unlockBoard();
                    }
                    break;
                case 8:  // a timer tick with its end-of-game check
                    if (tryLockBoard()) {
                        if (!chronoPaused && !gameFinished) chronoSeconds += 1;
                        checkEndOfGame(nullptr);
                        unlockBoard();
                    }
                    break;
            }
            platformSleep((int)(random() % 3));
        }
        stopAutoplayAndWait();
    });
    window.join();

    EXPECT_FALSE(autoplayActive());
    EXPECT_FALSE(autoplayRunning);
    EXPECT_GT(pairFrames, 0);
    EXPECT_EQ(violations, 0);
    RecordProperty("pairFramesShown", pairFrames.load());
    BoardLock lock;
    expectConsistentBoard();
}

}  // namespace
