// The 64 x 64 texture image of one face cut from a tile-set picture (a
// 9 x 5 grid of cells, see textureCell): the cell stretched to 64 x 64, rows
// bottom-up (the first row is the picture's bottom row), three bytes red,
// green, blue a texel. False, with the image all black, when the cell cannot
// be read.
#pragma once
#include <cstdint>
#include "platform/surface.h"

constexpr int FACE_TEXTURE_SIDE = 64;
constexpr int FACE_TEXTURE_BYTES = FACE_TEXTURE_SIDE * FACE_TEXTURE_SIDE * 3;

bool faceTextureImage(const Surface* tileSet, int face, uint8_t* image);
