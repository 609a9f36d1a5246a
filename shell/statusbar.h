// The status bar line: tiles left, chronometer, hint counter, end text.
#pragma once
#include "platform/window.h"

constexpr int STATUS_TEXT_LIMIT = 100;
extern char statusText[STATUS_TEXT_LIMIT + 1];

// Composes statusText from the game state (no side effects).
void composeStatusText();
void updateStatusBar(WindowHandle window);
