// The toolbar with its tooltips and the small icons of the menus, both taken
// from the icon strip (ten 16 x 16 icons side by side; on screens of twice the
// density the strip drawn at twice the size).
#pragma once
#include <cstdint>
#include "platform/messages.h"
#include "platform/surface.h"
#include "platform/window.h"

constexpr int MENU_ICON_COUNT = 10;
constexpr int ICON_SIZE = 16;
constexpr uint32_t ICON_BACKGROUND = 0x00C0C0C0;  // light grey 192, 192, 192
constexpr int TOOLBAR_ENTRY_COUNT = 13;

// Command of icon i of the strip.
extern const uint32_t iconCommands[MENU_ICON_COUNT];
// The menu icons at the menu's check-mark size; empty until makeMenuIcons.
extern Surface menuIcons[MENU_ICON_COUNT];

// Decodes the icon strip resource of this scale (1, or 2 for the strip drawn
// at twice the size) into strip; false when it cannot be read.
bool loadIconStrip(Surface* strip, int scale = 1);
void makeMenuIcons(WindowHandle window);
void releaseMenuIcons();

// Creates the toolbar of the main window; returns its height.
int createToolbar(WindowHandle window);
// Writes the tooltip text of the request's button (at most 79 characters);
// false when the notification is not a tooltip request.
bool answerTooltip(NotifyHeader* header);
