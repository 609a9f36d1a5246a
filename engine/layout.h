// Layouts: reading the three file forms or drawing a random one, numbering the
// tiles in drawing order, writing the text form.
#pragma once
#include "platform/window.h"
#include "settings/settings.h"

constexpr const char* RANDOM_LAYOUT_NAME = "RANDOM.MYL";
constexpr int PACKED_LAYOUT_SIZE = 308;

// Current layout file name (upper case), or "RANDOM.MYL"; the settings key Layout.
extern char (&layoutName)[FILE_NAME_SIZE];  // the same buffer as Settings.Layout

void loadLayout(WindowHandle window);
void finishLayout(WindowHandle window);
void saveLayout(WindowHandle window);

// Exposed for tests of the drawing order.
void orderPass(int rowOffset, int columnOffset, bool greater, bool* exchanged);
void swapTilePositions(int p, int q);
