// The modal dialogs of the game.
#pragma once
#include <cstdint>
#include "platform/window.h"

void aboutDialog(WindowHandle owner);
void winnerNameDialog(WindowHandle owner);  // stores the typed name in playerName
void hallOfFameDialog(WindowHandle owner);
void languageDialog();
void configDialog2D(WindowHandle owner);
void colorsDialog2D(WindowHandle owner);
// The 3D view's dialogs (mahjong only; built when MAHJONG_3D is 1).
void configDialog3D(WindowHandle owner);
void colorsDialog3D(WindowHandle owner);

// The colour chooser opened on initial (0x00BBGGRR): the chosen colour, or 0
// when the user cancelled. Black cannot be told from cancelling, so choosing
// it keeps the colour the caller had.
uint32_t pickColor(WindowHandle owner, uint32_t initial);
// Fills the swatch control id of a dialog with colour at once.
void paintSwatch(WindowHandle dialog, int32_t id, uint32_t colour);
