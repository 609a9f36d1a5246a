// One frame of the 3D board: the camera straight above the board's plane, the
// board turned about its axes, every tile as a lit box with its face and
// shadow. Picking draws the same scene in selection mode.
#include "view3d/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/board.h"
#include "engine/host.h"
#include "platform/gl.h"
#include "settings/settings.h"
#include "view2d/draw2d.h"
#include "view3d/camera.h"
#include "view3d/gl_context.h"
#include "view3d/model3d.h"
#include "view3d/tile_model.h"

namespace {

constexpr int SELECT_BUFFER_SIZE = 640;
float aspectRatio = 1.0f;
GLuint selectBuffer[SELECT_BUFFER_SIZE];

void perspective() { gluPerspective(45.0, aspectRatio, 1.0, Settings.MaxZoom); }

bool highlighted(int tile) {
    if (tile == selectedTile || tile == secondTile) return true;
    if (!hintShown || pairCount <= 0) return false;
    if (hintIndex >= pairCount || hintIndex < 0) hintIndex = 0;
    return tile == pairList[hintIndex][0] || tile == pairList[hintIndex][1];
}

void drawTiles() {
    glInitNames();
    glPushName(0);
    const bool textures = Settings.Textures != 0;
    const bool hidden = chronoPaused;
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRecord& record = tileTable[t];
        if (record.face == 0) continue;
        glPushMatrix();
        const Vertex3 place = tilePosition3D(record.layer, record.row, record.column, Settings.Inclination);
        glTranslatef(place.x, place.y, place.z);
        glLoadName((GLuint)t);
        const int layer = record.layer < 5 ? record.layer : 4;
        uint32_t top = Settings.RGBLevelColor[layer], sides = Settings.SidesColor;
        bool overlay = false;
        if (highlighted(t)) {
            if (textures) overlay = true;
            else top = sides = Settings.SelectColor;
        }
        const bool textured = textures && !hidden;
        drawTileBox(t, top, sides, textured ? faceTextureList(record.face) : 0,
                    textured ? faceTexture(record.face) : 0);
        if (!textures && !hidden) drawFaceSymbol(record.face);
        if (overlay) drawSelectionOverlay();
        if (Settings.Shadows) drawTileShadow3D(t);
        glPopMatrix();
    }
}

}  // namespace

void setProjection(int width, int height) {
    if (width >= 0 && height >= 0) {
        if (height == 0) height = 1;
        glViewport(0, 0, width, height);
        aspectRatio = static_cast<float>(width) / static_cast<float>(height);
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    perspective();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(Settings.XView, Settings.YView, Settings.ZView, Settings.XView, Settings.YView, 0, 0, 1, 0);
}

void renderScene3D() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glRotatef(Settings.XPosition, 1, 0, 0);
    glRotatef(Settings.YPosition, 0, 1, 0);
    glRotatef(Settings.ZPosition, 0, 0, 1);
    glTranslatef(-15.0f * boardCentre3D[0], -20.0f * boardCentre3D[1], 0);
    drawTiles();
    glPopMatrix();
    glFlush();
    host.updateStatusBar(host.mainWindow());
}

void renderScene3DAndPresent(WindowHandle window) {
    if (!platformMakeGLCurrent(window)) return;
    renderScene3D();
    platformPresentGL(window);
}

int pick3D(int x, int y) {
    if (!platformMakeGLCurrent(host.mainWindow())) return NO_TILE;
    GLint viewport[4];
    glSelectBuffer(SELECT_BUFFER_SIZE, selectBuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glRenderMode(GL_SELECT);
    glLoadIdentity();
    gluPickMatrix(x, viewport[3] - y, 2, 2, viewport);
    perspective();
    glMatrixMode(GL_MODELVIEW);
    renderScene3D();
    const GLint hits = glRenderMode(GL_RENDER);
    int tile = NO_TILE;
    // Each record is: name count (1), depth minimum, depth maximum, the name.
    if (hits > 0 && 4 * hits <= SELECT_BUFFER_SIZE) tile = (int)selectBuffer[4 * hits - 1];
    if (tile >= TILE_COUNT) tile = NO_TILE;
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return tile;
}

void keyDown3D(uintptr_t key) {
    if (cameraKey(key) == CAMERA_MOVED && platformMakeGLCurrent(host.mainWindow())) setProjection(-1, -1);
    reduceCameraAngles();
}

void wheel3D(int delta) {
    if (cameraWheel(delta) == CAMERA_MOVED && platformMakeGLCurrent(host.mainWindow())) setProjection(-1, -1);
}
