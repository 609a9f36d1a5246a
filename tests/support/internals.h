// Functions of the game that only the tests call. They are defined where they
// work (the file named above each); the game's own headers leave them out.
#pragma once
#include <cstdint>

#include "platform/surface.h"
#include "platform/system.h"  // platformFixTimeSeconds, which the tests use to fix the clock

// engine/board_lock.cpp: takes the board lock only when nobody holds it or
// waits for it; true when taken.
bool tryLockBoard();

// engine/deal.cpp: whether the generator has been seeded from the clock (the
// first easy deal of a run seeds it), and the attempts the last easy deal
// needed (1 to EASY_DEAL_ATTEMPT_LIMIT, one more for the backtracking search,
// 0 after a random deal).
extern bool randomSeeded;
extern int easyDealAttempts;

// engine/deal.cpp: the backtracking search of the easy deal on the board
// fullGrid holds: on success dealOrder clears it and true is returned. Changes
// faces and tileGrid; the caller restores the grid.
bool searchRemovalOrder(const uint8_t* fullGrid);

// engine/layout.cpp: one sweep of the drawing order, and the exchange of two
// tiles' positions.
void orderPass(int rowOffset, int columnOffset, bool greater, bool* exchanged);
void swapTilePositions(int p, int q);

// settings/language.cpp: the language keys in table order (menu texts,
// toolbar tips, other texts), and the slot of a key (nullptr for an unknown
// key).
int languageKeyCount();
const char* languageKeyName(int index);  // nullptr outside 0 .. languageKeyCount() - 1
const char* languageText(const char* key);

// view2d/draw2d.cpp: takes ShadowsValue off each channel of one pixel.
void darkenPixel(Surface* surface, int x, int y);

