// The 3D scene of mahjong: projection and camera, one frame of the board,
// picking by OpenGL selection, and the camera commands of the window.
#pragma once
#include <cstdint>
#include "platform/window.h"

// Viewport (0, 0, width, height) and aspect ratio when both are 0 or more
// (a height of 0 counts as 1); then the projection and the camera.
void setProjection(int width, int height);
void renderScene3D();
// paintBoard's 3D branch: the frame drawn and shown in the window.
void renderScene3DAndPresent(WindowHandle window);
// The tile under client point (x, y), or NO_TILE.
int pick3D(int x, int y);

// The camera key and wheel commands of the main window in the 3D view; the
// projection is set again when the camera moved. keyDown3D also reduces the
// angles, as after every key in the 3D view.
void keyDown3D(uintptr_t key);
void wheel3D(int delta);
