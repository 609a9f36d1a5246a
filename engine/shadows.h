// Tile shadows: which pieces each tile casts, and drawing them.
#pragma once

enum ShadowFlag { F0, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10 };

void computeShadowFlags();
