// Dealing a new game, easy (always solvable) or random.
#pragma once
#include "platform/window.h"

// Easy deals give up after this many failed attempts and deal a random
// solvable board built on the layout's own stacking order instead.
constexpr int EASY_DEAL_ATTEMPT_LIMIT = 2000;

// True when dealOrder describes the board as dealt (the last deal was an easy one
// that recorded its removal order); automatic play relies on it.
extern bool dealOrderValid;

void newDeal(WindowHandle window);
// Formats "%s - %s" with the program title and `name` in lower case with its first letter upper case.
void setTitleForFile(WindowHandle window, const char* name);
