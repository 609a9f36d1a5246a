// The OpenGL context of the 3D view (mahjong only).
#pragma once

// Sets the fixed state of the rendering context: clear colour (BackgroundColor),
// depth test, culling, light and material. Run again after a colour change.
void initGLState();
