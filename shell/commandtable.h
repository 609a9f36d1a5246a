// The commands of the menus, the toolbar and the keys.
#pragma once
#include <cstdint>
#include "platform/window.h"

// Runs the handler of a command (a fixed command or a file-list entry) the
// way the command table says: first clearing hintShown, stopping automatic
// play where the command changes the game as a whole, under the board lock or
// not. Returns false for an identifier that means nothing.
bool runCommand(WindowHandle window, uint32_t command);
// A command message to the main window, handled before this returns.
void sendCommand(uint32_t command);
