// Drawing one tile into the board buffer, and the colour arithmetic of the 2D view.
#pragma once
#include <cstdint>
#include "platform/surface.h"

// Each channel (a x weightA + b x weightB) / (weightA + weightB), truncated and
// kept to 8 bits; black when both weights add up to 0.
uint32_t mixColors(uint32_t a, uint32_t b, int weightA, int weightB);
// Takes ShadowsValue off each channel of the pixels of the rectangle (left,
// top)-(right, bottom), right and bottom excluded (down to 0).
void darkenRect(Surface* surface, int left, int top, int right, int bottom);

// Shadow, face, highlight and sides of one tile; nothing for an index outside
// 0-143 or a removed tile. A tile that is not opaque is mixed into what lies
// beneath with the two weights (a frame of its fade-out).
void drawTile2D(int tile, Surface* buffer, const Surface* tileSet, int16_t weightBackground, int16_t weightTile,
                bool opaque);
// Darkens the flagged pieces of one tile's shadow.
void drawTileShadow(int tile, Surface* buffer);
