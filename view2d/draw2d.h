// Drawing the board in 2D.
#pragma once
#include <cstdint>
#include "platform/window.h"

extern int fadeFrames;

#if MAHJONG_3D
// Centre of the board for the 3D camera (x, y), set by layoutBoard2D.
extern float boardCentre3D[2];
#endif

void layoutBoard2D(WindowHandle window);
void drawBoard2D(WindowHandle window, int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile);
void paintBoard(WindowHandle window);
void fadeOutPair(WindowHandle window, int a, int b);
int tileAtPoint(int x, int y);  // NO_TILE when no face contains the point
void makeBoardBuffer(WindowHandle window);
