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
    int32_t icon;     // index of the icon in the strip; TOOLBAR_SEPARATOR for a separator
};
constexpr int32_t TOOLBAR_SEPARATOR = -1;

// 2 when the window's screen has a device pixel ratio of 2 or more (its icons
// then come from the strip drawn at twice the size), 1 otherwise.
int platformIconScale(WindowHandle window);
// Creates (or replaces) the toolbar of the main window from the icon strip
// (square icons as high as the strip side by side, 16 or 32 pixels, shown
// 16 pixels of a normal screen wide; light grey 192, 192, 192 is transparent) and
// count entries. A click sends the command to the window; when the mouse rests
// on a button the tooltip text is asked for with WM_NOTIFY (first =
// TOOLBAR_CONTROL_ID, second = TooltipRequest*, platform/messages.h). Buttons
// never take the keyboard focus (Space and Enter stay the window's keys).
// Returns the toolbar's height in device pixels, or 0 when it failed.
int platformCreateToolbar(WindowHandle window, const Surface* iconStrip, const ToolbarEntry* entries,
                          int count);
int platformToolbarHeight(WindowHandle window);
