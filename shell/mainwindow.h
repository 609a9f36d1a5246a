// The main window and its message dispatch.
#pragma once
#include <cstdint>
#include "platform/window.h"

constexpr int CHRONO_TIMER_ID = 900;

extern WindowHandle mainWindow;
extern int frameHeight;
extern int toolbarHeight;
extern int statusBarHeight;

void tickChronometer(WindowHandle window);
void resizeBoardArea(WindowHandle window);
