// The board views of the program, and the one place of the shell that knows
// which it has: mahjong-2d is built with MAHJONG_3D 0 and has the 2D view
// only; mahjong, built with MAHJONG_3D 1, has the 3D view too and shows
// whichever view3DShown() says.
#pragma once
#include <cstdint>

#include "platform/window.h"

extern const bool PROGRAM_HAS_3D_VIEW;

// The 3D view's rendering context (mahjong): made at window creation (an
// error box and exit status 1 without one), released at shutdown.
void createBoardViews(WindowHandle window);
void destroyBoardViews(WindowHandle window);

// The one way to repaint the board: the 3D scene or the 2D board, each
// followed by the status bar.
void paintBoard(WindowHandle window);
// The tile under a client point, or NO_TILE: the 3D pick or the 2D hit test.
int tileAtClientPoint(int x, int y);
// loadTileSet, and in mahjong the face textures of the 3D view from it.
void loadTileSetIntoViews(WindowHandle window);
// After the 2D board area has been fitted to a new size: the 3D projection.
void resizeScene3D(WindowHandle window);
// The camera key and wheel commands of the 3D view.
void cameraKey3D(uintptr_t key);
void cameraWheel3D(int delta);
// The fixed state of the 3D scene set again (a new clear colour).
void resetScene3D();
