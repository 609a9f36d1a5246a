// Dealing a new game, easy (always solvable) or random.
#pragma once
#include <cstdint>

#include "platform/window.h"

// The easy deal draws random removal orders until one clears the board. After this
// many failed attempts it searches an order with backtracking instead, and only
// when that fails too it deals at random (the layout then has no easy deal).
constexpr int EASY_DEAL_ATTEMPT_LIMIT = 1000;
// Bounds of the backtracking search: restarts, and pairs tried per restart.
constexpr int BACKTRACK_RESTARTS = 16;
constexpr int BACKTRACK_PAIRS_PER_RESTART = 4000;

// True when dealOrder describes the board as dealt (the last deal recorded a
// removal order that clears it); automatic play relies on it.
extern bool dealOrderValid;
// srand with the current time in seconds.
void seedRandomFromClock();

void newDeal(WindowHandle window);
// Formats "%s - %s" with the program title and `name` in lower case with its first letter upper case.
void setTitleForFile(WindowHandle window, const char* name);
