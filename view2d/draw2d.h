// Drawing the board in 2D.
#pragma once
#include <cstdint>
#include "platform/window.h"

// Frames of the next click's fade-out, measured by the last paintBoard2D.
extern int fadeFrames;

// Centre of the board for the 3D camera (x, y), in tiles; set by layoutBoard2D.
extern float boardCentre3D[2];

void layoutBoard2D(WindowHandle window);
void drawBoard2D(WindowHandle window, int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile);
// paintBoard in the 2D view: one frame, its drawing time measured for the
// fade-out of the next pair (fadeFrames).
void paintBoard2D(WindowHandle window);
// The fade-out of a pair the player removed with a click: fadeFrames frames.
void fadeOutPair(WindowHandle window, int a, int b);
int tileAtPoint(int x, int y);  // NO_TILE when no face contains the point
void makeBoardBuffer(WindowHandle window);
// The pictures and the board buffer released (the window's shutdown).
void releaseBoardPictures();
