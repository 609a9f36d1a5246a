// Drawing one tile into the board buffer, and the colour arithmetic of the 2D view.
#pragma once
#include <cstdint>
#include "platform/surface.h"

// Each channel (a x weightA + b x weightB) / (weightA + weightB), truncated and
// kept to 8 bits; black when both weights add up to 0.
uint32_t mixColors(uint32_t a, uint32_t b, int weightA, int weightB);
// Takes ShadowsValue off each channel of one pixel (down to 0).
void darkenPixel(Surface* surface, int x, int y);
// darkenPixel over the rectangle (left, top)-(right, bottom), right and bottom excluded.
void darkenRect(Surface* surface, int left, int top, int right, int bottom);

// Shadow, face, highlight and sides of one tile; nothing for an index outside
// 0-143 or a removed tile. A tile that is not opaque is mixed into what lies
// beneath with the two weights (a frame of its fade-out).
void drawTile2D(int tile, Surface* buffer, const Surface* tileSet, int16_t weightBackground, int16_t weightTile,
                bool opaque);
// Darkens the flagged pieces of one tile's shadow.
void drawTileShadow(int tile, Surface* buffer);

// Frames of a fade-out that lasts about removeTileTime when one paint took
// `elapsed` milliseconds (0 for a paint under 1 ms).
int fadeFramesFor(int32_t removeTileTime, uint32_t elapsed);
// No fade has more frames than this, whatever the settings say.
constexpr int MAX_FADE_FRAMES = 1000;
// Weights of frame i (1 to frames) of a fade-out: i x step for what lies beneath
// and (frames - i + 1) x step for the pair, step = 100 / (frames + 1). Where the
// step would be 0 (100 frames or more) the weights are i and frames - i + 1,
// which mix in the same proportions.
void fadeWeights(int frames, int i, int16_t* weightBackground, int16_t* weightTile);
