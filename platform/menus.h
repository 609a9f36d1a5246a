// Menu bar and popup menus. Item texts are in the game's 8-bit code page
// (Windows-1252); "&" marks the mnemonic letter ("&&" is a plain "&"), and a
// tail after a tab ("New game\tF2") is shown right-aligned as the key hint
// without binding the key: keys reach the window procedure as WM_KEYDOWN.
// Choosing an item sends WM_COMMAND (first = the item's id) synchronously to
// the window the bar is attached to. Window thread only.
#pragma once
#include <cstdint>
#include "platform/surface.h"
#include "platform/window.h"

struct PlatformMenu;
typedef PlatformMenu* MenuHandle;

MenuHandle platformCreateMenuBar();
MenuHandle platformCreatePopupMenu();

// Appends to a bar or a popup; false for an unknown menu or a null text.
bool platformAppendMenuItem(MenuHandle menu, uint32_t id, const char* text);
// Appends submenu as a popup item; the menu then owns it (destroyed with it).
bool platformAppendSubmenu(MenuHandle menu, MenuHandle submenu, const char* text);
bool platformAppendSeparator(MenuHandle menu);

// Attaches the bar to the main window (replacing, not destroying, an earlier
// bar; null removes it). The client area shrinks or grows by the bar.
bool platformAttachMenuBar(WindowHandle window, MenuHandle bar);
// Destroys a menu with its submenus; a bar is first detached from its window,
// a submenu is first taken out of its parent. Unknown or already destroyed
// handles are ignored, so destroying submenus and then their bar is safe.
void platformDestroyMenu(MenuHandle menu);

// Shows or removes the check mark of every item with this id in the menu and
// in all its submenus, at any depth; ids that are not there are ignored.
// Returns whether an item was found.
bool platformCheckMenuItem(MenuHandle menu, uint32_t id, bool checked);
// Whether the first item with this id (searched as above) is checked.
bool platformIsMenuItemChecked(MenuHandle menu, uint32_t id);
// Gives the first item with this id its picture, shown in the check-mark
// column (pixels as they are, no transparency). Returns whether it was found.
bool platformSetMenuItemIcon(MenuHandle menu, uint32_t id, const Surface* icon);

// The background colour of menus (0x00BBGGRR), for icons whose background is
// to blend with the menu.
uint32_t platformMenuBackgroundColour();
