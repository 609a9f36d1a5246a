// The handlers of the fixed commands of the menus, toolbar and keys.
#pragma once
#include <cstdint>
#include "platform/window.h"

// Runs the handler of a fixed command or, failing that, a file-list command.
// Returns false for an identifier that means nothing.
bool runCommand(WindowHandle window, uint32_t command);
// A command message to the main window, handled before this returns.
void sendCommand(uint32_t command);
