// Start-up and shutdown of the program.
#pragma once
#include "platform/window.h"

// The start-up up to the window: the shell installed as the game's host,
// board counter, directories, splash, language list, first-run language
// choice, settings and language texts.
// false when the program must end without a window.
bool prepareProgram();
// Creates and shows the main window (its creation handler runs inside).
WindowHandle openMainWindow();
// The creation handler of the main window: menus, cursors, bars, timer,
// pictures, layout, first deal and music.
void createMainWindowContents(WindowHandle window);
// saveSettings, then releaseResources; runs once per window. The board lock
// held, automatic play stopped.
void shutdownSequence(WindowHandle window);
// Menus, icons, the pictures of the 2D view and the timer; posts quit (0).
void releaseResources(WindowHandle window);
