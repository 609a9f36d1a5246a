// Two threads drawing at once (the window's and the automatic player's) never
// present a half-composed frame, and a resize in between never tears one.
#include <gtest/gtest.h>

#include <thread>

#include "engine/board.h"
#include "settings/settings.h"
#include "tests/support/null_host.h"
#include "tests/view2d/view_support.h"
#include "view2d/draw2d.h"
#include "engine/shadows.h"
#include "view2d/tileset.h"

TEST(Concurrency, DrawsFromTwoThreadsNeverOverlap) {
    resetViewState();
    setUpView(20, 24, 4, 4, 200, 150);
    Settings.Shadows = 1;
    int index = 0;
    for (int row = 0; row <= 8; row += 2)
        for (int column = 0; column <= 10; column += 2, ++index) placeTile(index, 0, row, column, 1 + index % 42);
    placeTile(index, 1, 4, 4, 3);
    shadowFlags[index][F1] = 1;
    shadowFlags[index][F4] = 1;
    layoutBoard2D(nullptr);
    fake::keepFrames = 1;
    drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
    ASSERT_EQ(fake::frames.size(), 1u);
    fake::expectedFrame = fake::frames[0];
    fake::keepFrames = 0;

    auto draw = [] {
        for (int i = 0; i < 200; ++i) drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
    };
    std::thread player(draw);
    draw();
    // The same geometry laid out and the buffer remade while the player draws.
    for (int i = 0; i < 20; ++i) {
        fitFaceSize(nullptr);
        makeBoardBuffer(nullptr);
    }
    player.join();
    EXPECT_EQ(fake::presentCount, 401);
    EXPECT_EQ(fake::statusCount.load(), 401);
    EXPECT_EQ(fake::mismatchCount, 0);
}
