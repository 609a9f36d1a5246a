// The status bar at the bottom of the main window's client area: one part
// holding one line of text.
#pragma once
#include "platform/window.h"

// Creates (or replaces) the status bar with an empty text; returns its height
// in device pixels, or 0 when it failed. Window thread.
int platformCreateStatusBar(WindowHandle window);
int platformStatusBarHeight(WindowHandle window);
// Sets the text (Windows-1252) of the status bar. Safe from any thread and
// never waits: the text is copied at once and shown from the event loop
// (the last text posted wins). Does nothing without a status bar.
void platformSetStatusText(WindowHandle window, const char* text);
