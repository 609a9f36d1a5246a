// The main window and its message dispatch.
#pragma once
#include <cstdint>
#include "platform/window.h"

constexpr int CHRONO_TIMER_ID = 900;
constexpr uint32_t CHRONO_PERIOD = 1000;  // milliseconds
// The loaded pictures are let go once the window's size has rested this long.
constexpr int PICTURES_TIMER_ID = 901;
constexpr uint32_t PICTURES_REST_PERIOD = 500;  // milliseconds

extern WindowHandle mainWindow;
extern int frameHeight;
// Cursor ids of the board area (platform/cursors.h).
extern int normalCursor;
extern int pressedCursor;

int32_t mainWindowProc(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second);

void loadCursors();
void tickChronometer(WindowHandle window);
void resizeBoardArea(WindowHandle window);
// Lets go of the loaded pictures when no new size has come for a while (a
// window edge dragged brings one size after the other; each is scaled from them).
void releasePicturesLater(WindowHandle window);
