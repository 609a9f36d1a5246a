// The 3D drawing entry points the 2D view calls in mahjong, replaced for
// the tests of the pure parts (no OpenGL context here).
#include "platform/window.h"

int renderScene3DCalls = 0;
int buildFaceTexturesCalls = 0;

void renderScene3DAndPresent(WindowHandle) { ++renderScene3DCalls; }
void buildFaceTextures() { ++buildFaceTexturesCalls; }
