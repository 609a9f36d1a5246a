// The OpenGL drawing surface of the main window (mahjong's 3D view). The
// context renders into an off-screen buffer as large as the window's client
// area; presenting copies that picture into the client area, under the
// toolbar and the status bar as a picture drawn on the window itself would be.
// All calls belong to the window thread.
#pragma once
#include "platform/window.h"

enum GLContextResult {
    GL_CONTEXT_READY,
    GL_CONTEXT_NO_FORMAT,  // no context with the asked-for format can be made
    GL_CONTEXT_NOT_SET     // a context was made but cannot draw for the window
};

// Makes the rendering context of window (RGBA, double-buffered, at least a
// 16-bit depth buffer) and leaves it current.
GLContextResult platformCreateGLContext(WindowHandle window);
// Makes the context current with the client-sized drawing buffer bound; false
// without a context.
bool platformMakeGLCurrent(WindowHandle window);
// Shows what was drawn: the whole client area gets the drawn picture.
void platformPresentGL(WindowHandle window);
// No context current, the context and its buffers gone.
void platformDestroyGLContext(WindowHandle window);
