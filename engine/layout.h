// Layouts: reading the three file forms or drawing a random one, numbering the
// tiles in drawing order, writing the text form.
#pragma once
#include "platform/window.h"
#include "settings/settings.h"

constexpr int PACKED_LAYOUT_SIZE = 308;

void loadLayout(WindowHandle window);
void finishLayout(WindowHandle window);
void saveLayout(WindowHandle window);
