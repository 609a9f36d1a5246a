// Off-screen surfaces: plain pixel arrays in 0x00BBGGRR colours (red in the low
// byte), rows top-down, with the rectangle and pixel operations the 2D view uses.
// Rectangles include their left and top edges and exclude the right and bottom;
// every operation clips to the surfaces, so no call can write outside them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include "platform/window.h"

struct Surface {
    int width;
    int height;
    uint32_t* pixels;  // width * height values, or null for an empty surface
    // The pixels belong to another surface (see shareSurface): releasing this
    // one only empties it.
    bool borrowed = false;
    // Different for every surface createSurface makes, so that a copy derived
    // from a picture can tell whether the picture has been replaced since.
    uint32_t serial = 0;
};

bool createSurface(Surface* surface, int width, int height);  // filled with black
void releaseSurface(Surface* surface);                        // leaves it empty
bool surfaceIsEmpty(const Surface* surface);
// Makes view show the pixels of owner without a copy (view is released first).
// The view stays valid while owner keeps those pixels; release the view, or
// replace it, before owner is released or remade.
void shareSurface(Surface* view, const Surface* owner);

uint32_t getPixel(const Surface* surface, int x, int y);  // 0 outside
void setPixel(Surface* surface, int x, int y, uint32_t colour);
void fillRect(Surface* surface, int left, int top, int right, int bottom, uint32_t colour);
// Takes amount off each colour channel of the rectangle's pixels, down to 0.
void subtractFromRect(Surface* surface, int left, int top, int right, int bottom, unsigned amount);
// One-pixel line from (x0, y0) to (x1, y1), the end point excluded.
void drawLine(Surface* surface, int x0, int y0, int x1, int y1, uint32_t colour);
void copyRect(Surface* destination, int x, int y, const Surface* source, int sourceX, int sourceY,
              int width, int height);
// As copyRect, every colour bit complemented.
void copyRectInverted(Surface* destination, int x, int y, const Surface* source, int sourceX,
                      int sourceY, int width, int height);
// Makes destination a copy of the whole source stretched to width x height.
bool stretchSurface(Surface* destination, const Surface* source, int width, int height);

// Zeroed memory for pictures and the files they come from. Large blocks are
// mapped on their own (on huge pages where the system offers them), so that
// filling one costs few page faults and releasing one returns it at once.
void* platformAllocatePictureBlock(size_t bytes);
void platformReleasePictureBlock(void* block, size_t bytes);

// Shows a frame: the window shows the surface itself from now on, at (x, y) in
// its client area, and reads its pixels whenever it paints, holding
// platformSurfaceLock(). Whoever writes into a presented surface, or remakes
// it, holds that lock meanwhile, and keeps the surface alive until it presents
// another one, presents null (the window then shows black) or the window is
// destroyed. Safe to call from any thread; it never waits for the window's thread.
void platformPresentSurface(WindowHandle window, const Surface* surface, int x, int y);
std::recursive_mutex& platformSurfaceLock();
