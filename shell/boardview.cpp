#include "shell/boardview.h"

#include "settings/settings.h"
#include "view2d/draw2d.h"
#include "view2d/tileset.h"

#if MAHJONG_3D
#include "platform/gl.h"
#include "platform/ui.h"
#include "view3d/gl_context.h"
#include "view3d/scene.h"

const bool PROGRAM_HAS_3D_VIEW = true;

void createBoardViews(WindowHandle window) { createGLContext(window); }
void destroyBoardViews(WindowHandle window) { destroyGLContext(window); }

void paintBoard(WindowHandle window) {
    if (view3DShown())
        renderScene3DAndPresent(window);
    else
        paintBoard2D(window);
}

int tileAtClientPoint(int x, int y) { return view3DShown() ? pick3D(x, y) : tileAtPoint(x, y); }

void loadTileSetIntoViews(WindowHandle window) {
    loadTileSet(window);
    buildFaceTextures();
}

void resizeScene3D(WindowHandle window) {
    int width = 0, height = 0;
    platformGetClientSize(window, &width, &height);
    if (platformMakeGLCurrent(window)) setProjection(width, height);
}

void cameraKey3D(uintptr_t key) { keyDown3D(key); }
void cameraWheel3D(int delta) { wheel3D(delta); }
void resetScene3D() { initGLState(); }

#else

const bool PROGRAM_HAS_3D_VIEW = false;

void createBoardViews(WindowHandle) {}
void destroyBoardViews(WindowHandle) {}
void paintBoard(WindowHandle window) { paintBoard2D(window); }
int tileAtClientPoint(int x, int y) { return tileAtPoint(x, y); }
void loadTileSetIntoViews(WindowHandle window) { loadTileSet(window); }
void resizeScene3D(WindowHandle) {}
void cameraKey3D(uintptr_t) {}
void cameraWheel3D(int) {}
void resetScene3D() {}

#endif
