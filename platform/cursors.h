// Mouse cursors over the board area of the main window.
#pragma once
#include "platform/window.h"

// Cursor ids: the program's own cursors (resources, 32 x 32 in two colours)
// and the platform's standard ones.
constexpr int CURSOR_RESOURCE_NORMAL = 904;   // hot spot (8, 3)
constexpr int CURSOR_RESOURCE_PRESSED = 905;  // hot spot (7, 11)
constexpr int CURSOR_ARROW = 32512;           // the standard arrow
constexpr int CURSOR_APPSTARTING = 32650;     // arrow with a small busy sign

// Makes the cursor id current over the window's board area (the toolbar and
// status bar keep the arrow). Returns false for an unknown id or window.
bool platformSetCursor(WindowHandle window, int cursorId);
