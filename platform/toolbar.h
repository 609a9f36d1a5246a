// The toolbar at the top of the main window's client area and the status bar
// at its bottom. Window thread only, except platformSetStatusText.
#pragma once
#include <cstdint>
#include "platform/surface.h"
#include "platform/window.h"

constexpr int TOOLBAR_CONTROL_ID = 1;
constexpr int STATUSBAR_CONTROL_ID = 2;

struct ToolbarEntry {
    int32_t command;  // WM_COMMAND id sent by the button
    int32_t icon;     // index of the 16 x 16 icon in the strip; TOOLBAR_SEPARATOR for a separator
};
constexpr int32_t TOOLBAR_SEPARATOR = -1;

// Creates (or replaces) the toolbar of the main window from the icon strip
// (icons 16 x 16 side by side; light grey 192, 192, 192 is transparent) and
// count entries. A click sends the command to the window; when the mouse rests
// on a button the tooltip text is asked for with WM_NOTIFY (first =
// TOOLBAR_CONTROL_ID, second = TooltipRequest*, platform/messages.h). Buttons
// never take the keyboard focus (Space and Enter stay the window's keys).
// Returns the toolbar's height in device pixels, or 0 when it failed.
int platformCreateToolbar(WindowHandle window, const Surface* iconStrip, const ToolbarEntry* entries,
                          int count);
int platformToolbarHeight(WindowHandle window);
