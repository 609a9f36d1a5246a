// A diagnostic for the end-to-end tests: when the environment variable
// MAHJONG_BOARD_FILE names a file, every refresh of the status bar (after each
// 2D frame, each deal, load and move) writes there where the tiles are drawn.
#pragma once

// Writes the board file when asked for and when its content has changed since
// the last write. Called with the status lock held by updateStatusBar, so two
// threads never write at once.
void dumpBoardIfAsked();
