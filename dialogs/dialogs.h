// The modal dialogs of the game.
#pragma once
#include <cstdint>
#include "platform/window.h"
#include "settings/directories.h"

void aboutDialog(WindowHandle owner);
void winnerNameDialog(WindowHandle owner);  // stores the typed name in playerName
void hallOfFameDialog(WindowHandle owner);
// The first-run choice among the files of `languages` (into Settings.Language).
void languageDialog(const FileListEntry* languages);
// The settings dialogs change their settings under the board lock, each
// change at once; the 3D view's two are opened by mahjong only.
void configDialog2D(WindowHandle owner);
void colorsDialog2D(WindowHandle owner);
void configDialog3D(WindowHandle owner);
void colorsDialog3D(WindowHandle owner);

// The colour chooser opened on initial (0x00BBGGRR): the chosen colour, or 0
// when the user cancelled. Black cannot be told from cancelling, so choosing
// it keeps the colour the caller had.
uint32_t pickColor(WindowHandle owner, uint32_t initial);
// Fills the swatch control id of a dialog with colour at once.
void paintSwatch(WindowHandle dialog, int32_t id, uint32_t colour);
