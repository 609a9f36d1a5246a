// The host of the game's core in mahjong-solve, a program without a window: the core's messages go to
// standard error, nothing is drawn or played, and the way out after a layout that cannot be played only
// marks the refusal for the program to report.
#pragma once

// Fills the core's host table (engine/host.h) for the command line.
void installConsoleHost();

// Messages the core has shown since the last reset, and whether it gave up on the layout (not 144 tiles).
extern int consoleMessageCount;
extern bool consoleLayoutRefused;
void resetConsoleHost();
