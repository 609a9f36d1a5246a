// Off-screen surfaces: plain pixel arrays in 0x00BBGGRR colours (red in the low
// byte), rows top-down, with the rectangle and pixel operations the 2D view uses.
// Rectangles include their left and top edges and exclude the right and bottom;
// every operation clips to the surfaces, so no call can write outside them.
#pragma once
#include <cstdint>
#include "platform/window.h"

struct Surface {
    int width;
    int height;
    uint32_t* pixels;  // width * height values, or null for an empty surface
};

bool createSurface(Surface* surface, int width, int height);  // filled with black
void releaseSurface(Surface* surface);                        // leaves it empty
bool surfaceIsEmpty(const Surface* surface);

uint32_t getPixel(const Surface* surface, int x, int y);  // 0 outside
void setPixel(Surface* surface, int x, int y, uint32_t colour);
void fillRect(Surface* surface, int left, int top, int right, int bottom, uint32_t colour);
// One-pixel line from (x0, y0) to (x1, y1), the end point excluded.
void drawLine(Surface* surface, int x0, int y0, int x1, int y1, uint32_t colour);
void copyRect(Surface* destination, int x, int y, const Surface* source, int sourceX, int sourceY,
              int width, int height);
// As copyRect, every colour bit complemented.
void copyRectInverted(Surface* destination, int x, int y, const Surface* source, int sourceX,
                      int sourceY, int width, int height);
// Makes destination a copy of the whole source stretched to width x height.
bool stretchSurface(Surface* destination, const Surface* source, int width, int height);

// Shows a frame: copies the surface into the window's client area at (x, y).
// Safe to call from any thread; it never waits for the window's thread.
void platformPresentSurface(WindowHandle window, const Surface* surface, int x, int y);
