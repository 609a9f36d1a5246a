// The OpenGL context of the main window on Qt: a compatibility context on an
// off-screen surface, drawing into a framebuffer object of the client size.
// The buffer is multisampled where the driver allows (resolved into a plain
// one before it is read), a plain one otherwise.
// Presenting reads the picture back into the window's 3D frame, which the
// client widget shows in place of the 2D board buffer, so that mouse
// coordinates, the toolbar and the status bar are the same in both views.
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFramebufferObjectFormat>
#include <QSurfaceFormat>
#include <GL/gl.h>
#include <cstring>
#include <vector>

#include "platform/gl.h"
#include "platform/qt/window_qt.h"

namespace {

constexpr int SAMPLES = 4;  // multisampling asked for: smooth tile edges where the driver has it

struct GLWindowState {
    WindowHandle window = nullptr;
    QOpenGLContext* context = nullptr;
    QOffscreenSurface* surface = nullptr;
    QOpenGLFramebufferObject* buffer = nullptr;    // drawn into
    QOpenGLFramebufferObject* resolved = nullptr;  // the multisampled picture resolved, to be read
    bool multisampling = true;                     // until a multisampled buffer fails once
    std::vector<uint8_t> pixels;
} gl;

void releaseBuffers() {
    delete gl.buffer;
    gl.buffer = nullptr;
    delete gl.resolved;
    gl.resolved = nullptr;
}

// A multisampled buffer with a plain one to resolve it into, when the driver
// has them; otherwise (and from then on) one plain buffer.
bool makeBuffers(int width, int height) {
    releaseBuffers();
    if (gl.multisampling && QOpenGLFramebufferObject::hasOpenGLFramebufferBlit()) {
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        format.setSamples(SAMPLES);
        gl.buffer = new QOpenGLFramebufferObject(width, height, format);
        gl.resolved = new QOpenGLFramebufferObject(width, height);
        if (gl.buffer->isValid() && gl.buffer->format().samples() > 0 && gl.resolved->isValid()) return true;
        releaseBuffers();
        gl.multisampling = false;
    }
    gl.buffer = new QOpenGLFramebufferObject(width, height, QOpenGLFramebufferObject::Depth);
    if (gl.buffer->isValid()) return true;
    releaseBuffers();
    return false;
}

void clientSize(PlatformWindow* window, int* width, int* height) {
    *width = window->deviceWidth;
    *height = window->deviceHeight;
    if (*width < 1) *width = 1;
    if (*height < 1) *height = 1;
}

bool bindBuffer(PlatformWindow* window) {
    int width, height;
    {
        std::lock_guard<std::mutex> lock(window->frameMutex);
        clientSize(window, &width, &height);
    }
    if (!gl.buffer || gl.buffer->width() != width || gl.buffer->height() != height) {
        if (!makeBuffers(width, height)) return false;
        if (gl.resolved) glEnable(GL_MULTISAMPLE);
    }
    return gl.buffer->bind();
}

}  // namespace

GLContextResult platformCreateGLContext(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window) return GL_CONTEXT_NOT_SET;
    platformDestroyGLContext(gl.window);
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(16);
    gl.context = new QOpenGLContext();
    gl.context->setFormat(format);
    if (!gl.context->create() || gl.context->format().depthBufferSize() < 0) {
        delete gl.context;
        gl.context = nullptr;
        return GL_CONTEXT_NO_FORMAT;
    }
    gl.surface = new QOffscreenSurface();
    gl.surface->setFormat(gl.context->format());
    gl.surface->create();
    gl.window = handle;
    if (!gl.surface->isValid() || !gl.context->makeCurrent(gl.surface) || !bindBuffer(window)) {
        platformDestroyGLContext(handle);
        return GL_CONTEXT_NOT_SET;
    }
    return GL_CONTEXT_READY;
}

bool platformMakeGLCurrent(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || handle != gl.window || !gl.context) return false;
    if (!gl.context->makeCurrent(gl.surface)) return false;
    return bindBuffer(window);
}

void platformPresentGL(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || handle != gl.window || !gl.buffer) return;
    const int width = gl.buffer->width(), height = gl.buffer->height();
    gl.pixels.resize((size_t)width * (size_t)height * 4);
    if (gl.resolved) {
        QOpenGLFramebufferObject::blitFramebuffer(gl.resolved, gl.buffer);
        gl.resolved->bind();
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, gl.pixels.data());
    if (gl.resolved) gl.buffer->bind();
    {
        std::lock_guard<std::mutex> lock(window->frameMutex);
        QImage& frame = window->frame;
        if (frame.width() != window->deviceWidth || frame.height() != window->deviceHeight) {
            frame = QImage(window->deviceWidth, window->deviceHeight, QImage::Format_RGBX8888);
            if (frame.isNull()) return;
            frame.fill(Qt::black);
            frame.setDevicePixelRatio(platformDevicePixelRatio(window));
        }
        window->shownSurface = nullptr;  // the 3D frame is shown from now on
        const int rows = frame.height() < height ? frame.height() : height;
        const int columns = frame.width() < width ? frame.width() : width;
        for (int row = 0; row < rows; ++row) {
            // The buffer's first row is the picture's bottom row.
            const uint8_t* source = gl.pixels.data() + (size_t)(height - 1 - row) * (size_t)width * 4;
            uint32_t* target = reinterpret_cast<uint32_t*>(frame.scanLine(row));
            std::memcpy(target, source, (size_t)columns * 4);
            for (int column = 0; column < columns; ++column) target[column] |= 0xFF000000u;
        }
    }
    if (window->client) window->client->update();
}

void platformDestroyGLContext(WindowHandle handle) {
    if (handle != gl.window || !gl.context) return;
    if (gl.surface && gl.surface->isValid()) gl.context->makeCurrent(gl.surface);
    releaseBuffers();
    gl.context->doneCurrent();
    delete gl.context;
    gl.context = nullptr;
    delete gl.surface;
    gl.surface = nullptr;
    gl.window = nullptr;
    gl.pixels.clear();
}
