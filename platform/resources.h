// Resources built into the programs.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int RESOURCE_ICON_STRIP = 902;     // BMP file: ten 16 x 16 icons side by side
constexpr int RESOURCE_LARGE_ICON_STRIP = 903;  // the same icons drawn at 32 x 32, for dense screens
constexpr int RESOURCE_NORMAL_CURSOR = 904;  // PNG, 32 x 32
constexpr int RESOURCE_PRESSED_CURSOR = 905; // PNG, 32 x 32
constexpr int RESOURCE_PROGRAM_ICON = 907;   // PNG, 32 x 32 (other sizes are used for the window)

// Points *data and *size at the bytes of the resource file (valid for the whole
// run). Returns false, leaving them untouched, for an unknown id.
bool platformResourceData(int id, const uint8_t** data, size_t* size);
