// The menu bar of the main window, built in code from the language texts and
// the data directories.
#pragma once
#include "platform/menus.h"
#include "platform/window.h"

constexpr int MENU_SUBMENU_LIMIT = 25;

extern MenuHandle menuBar;

// Releases the previous bar and lists, builds the whole tree, attaches it to
// window, adds the menu icons (CoolMenu) and sets the check marks.
void buildMenuBar(WindowHandle window);
// Destroys the submenus and the bar and frees the eight file lists.
void destroyMenuBar();
// Check marks of the toggle items from the settings.
void refreshMenuChecks();
