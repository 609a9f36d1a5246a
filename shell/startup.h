// Start-up and shutdown of the program.
#pragma once
#include "platform/window.h"

// The creation handler of the main window: menus, cursors, bars, timer,
// pictures, layout, first deal and music.
void createMainWindowContents(WindowHandle window);
// saveSettings, then releaseResources; runs once per window.
void shutdownSequence(WindowHandle window);
// Menus, icons, the pictures of the 2D view and the timer; posts quit (0).
void releaseResources(WindowHandle window);
