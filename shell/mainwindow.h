// The main window and its message dispatch.
#pragma once
#include <cstdint>
#include "platform/window.h"

constexpr int CHRONO_TIMER_ID = 900;
constexpr uint32_t CHRONO_PERIOD = 1000;  // milliseconds

extern WindowHandle mainWindow;
extern int frameHeight;
// Cursor ids of the board area (platform/cursors.h).
extern int normalCursor;
extern int pressedCursor;

int32_t mainWindowProc(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second);

void loadCursors();
void tickChronometer(WindowHandle window);
void resizeBoardArea(WindowHandle window);
