// The OpenGL context of the 3D view (mahjong only).
#pragma once
#include <cstdint>
#include "platform/window.h"

// Makes the window's rendering context and runs initGLState. Without a
// suitable context the program shows an error box and ends with status 1.
void createGLContext(WindowHandle window);
// No context current; the context released.
void destroyGLContext(WindowHandle window);

// Sets the fixed state of the rendering context: clear colour (BackgroundColor),
// depth test, culling, light and material. Run again after a colour change.
void initGLState();

// Remakes the 42 face textures (64 x 64 RGB) from the loaded tile set.
void buildFaceTextures();
// Texture name of a face 1-42 (0 before the textures are made).
uint32_t faceTexture(int face);
// The display list that binds, sets up and uploads that texture.
uint32_t faceTextureList(int face);
