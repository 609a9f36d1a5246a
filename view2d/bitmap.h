// Reading Windows BMP pictures into surfaces.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/surface.h"
#include "platform/window.h"

// Reads the BMP file at path (opened like any data file, in the current
// directory) into slot, releasing what the slot held. On any failure the slot
// is left empty; nothing is shown.
void loadBitmapFile(WindowHandle window, const char* path, Surface* slot);

// Decodes a whole BMP file held in memory into slot (released first). Every
// header field is checked against the real size of the data before it is
// used; false, with the slot empty, for anything that is not a complete
// uncompressed (or bit-field) picture of 1, 4, 8, 16, 24 or 32 bits per pixel.
bool decodeBitmap(const uint8_t* data, size_t size, Surface* slot);
