// Saved games: a 9518-byte snapshot of the board and the game state.
#pragma once
#include "platform/window.h"

constexpr int SAVED_GAME_SIZE = 9518;

enum SavedGameResult { SavedGameOk, SavedGameOpenFailed, SavedGameWrongSize, SavedGameInvalid };

// File part: the current directory must be the saved-game directory.
bool writeSavedGame(const char* name);
// Validates the whole file before anything in memory changes; on success the
// game state holds the saved game and loadedGame is set.
SavedGameResult readSavedGame(const char* name);

// Commands of the GAME menu: file dialog, then write or read.
void saveGame(WindowHandle window);
void loadGame(WindowHandle window);
