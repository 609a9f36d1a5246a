// The rendering context of the main window, its fixed state and the face
// textures made from the tile set.
#include "view3d/gl_context.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>

#include "engine/host.h"
#include "platform/gl.h"
#include "platform/ui.h"
#include "settings/settings.h"
#include "view2d/tileset.h"
#include "view3d/face_image.h"

namespace {

// One texture object and one display list (binding and uploading it) a face.
// Texture names come from the texture allocator, so that they never meet the
// textures the window layer holds in the same context.
GLuint textureNames[FACE_COUNT];
GLuint listNames[FACE_COUNT];

void deleteFaceTexture(int index) {
    if (textureNames[index] != 0) glDeleteTextures(1, &textureNames[index]);
    if (listNames[index] != 0) glDeleteLists(listNames[index], 1);
    textureNames[index] = 0;
    listNames[index] = 0;
}
bool contextReady = false;

[[noreturn]] void contextFailure(const char* text) {
    platformMessageBox(nullptr, "Error", text, PLATFORM_MB_ERROR);
    std::fflush(nullptr);
    std::_Exit(1);
}

}  // namespace

void createGLContext(WindowHandle window) {
    switch (platformCreateGLContext(window)) {
        case GL_CONTEXT_NO_FORMAT: contextFailure("ChoosePixelFormat failed.");
        case GL_CONTEXT_NOT_SET: contextFailure("SetPixelFormat failed.");
        case GL_CONTEXT_READY: break;
    }
    contextReady = true;
    initGLState();
}

void destroyGLContext(WindowHandle window) {
    if (contextReady && platformMakeGLCurrent(window)) {
        for (int index = 0; index < FACE_COUNT; ++index) deleteFaceTexture(index);
    }
    contextReady = false;
    platformDestroyGLContext(window);
}

void initGLState() {
    if (!contextReady || !platformMakeGLCurrent(host.mainWindow())) return;
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);

    const GLfloat ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    const GLfloat diffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    const GLfloat position[4] = {Settings.lightPosX, Settings.lightPosY, Settings.lightPosZ, 1.0f};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glPopMatrix();
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);

    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);

    const uint32_t colour = Settings.BackgroundColor;
    glClearColor((colour & 0xFF) / 256.0f, ((colour >> 8) & 0xFF) / 256.0f, ((colour >> 16) & 0xFF) / 256.0f,
                 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
}

void buildFaceTextures() {
    if (!contextReady || !platformMakeGLCurrent(host.mainWindow())) return;
    static uint8_t image[FACE_TEXTURE_BYTES];
    for (int face = 1; face <= FACE_COUNT; ++face) {
        deleteFaceTexture(face - 1);
        faceTextureImage(&loadedTileSet, face, image);
        GLuint name = 0, list = glGenLists(1);
        glGenTextures(1, &name);
        if (name == 0 || list == 0) continue;
        textureNames[face - 1] = name;
        listNames[face - 1] = list;
        glNewList(list, GL_COMPILE);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, image);
        glEndList();
        glCallList(list);  // the texture exists from now on, not only from the first frame
    }
}

uint32_t faceTexture(int face) {
    if (face < 1 || face > FACE_COUNT) return 0;
    return textureNames[face - 1];
}

uint32_t faceTextureList(int face) {
    if (face < 1 || face > FACE_COUNT) return 0;
    return listNames[face - 1];
}
