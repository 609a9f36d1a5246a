// The modal dialogs of the game.
#pragma once
#include "platform/window.h"

void aboutDialog(WindowHandle owner);
void winnerNameDialog(WindowHandle owner);  // stores the typed name in playerName
void hallOfFameDialog(WindowHandle owner);
void languageDialog();
void configDialog2D(WindowHandle owner);
void colorsDialog2D(WindowHandle owner);
