// The status bar line: tiles left, chronometer, hint counter, end text.
#pragma once
#include <cstdint>
#include "platform/messages.h"
#include "platform/window.h"

constexpr int STATUS_TEXT_LIMIT = 100;
extern char statusText[STATUS_TEXT_LIMIT + 1];

// Posted to the main window by a refresh from another thread, so that the
// end-of-game check runs on the window's thread.
constexpr uint32_t END_OF_GAME_MESSAGE = WM_USER + 1;

// Composes statusText from the game state (no side effects).
void composeStatusText();
// Composes and posts the text, then runs (on the window's thread) or asks for
// (from another thread) the end-of-game check. The board lock held, or no
// automatic player running.
void updateStatusBar(WindowHandle window);
// checkEndOfGame, except while the automatic player runs. Window thread, the
// board lock held.
void runEndOfGameCheck(WindowHandle window);
