#include "solver/console_host.h"

#include <cstdio>

#include "engine/host.h"

int consoleMessageCount;
bool consoleLayoutRefused;

namespace {

WindowHandle noWindow() { return nullptr; }
void setWindowTitle(WindowHandle, const char*) {}
void windowRect(WindowHandle, int* left, int* top, int* right, int* bottom) { *left = *top = *right = *bottom = 0; }
int metric(PlatformMetric) { return 0; }
void clientSize(WindowHandle, int* width, int* height) { *width = *height = 0; }

// No one can answer: OK/Cancel questions are cancelled.
bool messageBox(WindowHandle, const char* text, PlatformMessageKind) {
    ++consoleMessageCount;
    if (text && *text) fprintf(stderr, "mahjong-solve: %s\n", text);
    return false;
}

bool chooseFile(WindowHandle, const char*, char*, const char*, const char*, bool) { return false; }
void noDialog(WindowHandle) {}
void noDrawing(WindowHandle) {}
void drawBoard2D(WindowHandle, int, int, int16_t, int16_t) {}
void fadeOutPair(WindowHandle, int, int) {}
void presentFrame(WindowHandle, const Surface*, int, int) {}
void playSound(SoundEffect) {}
void releaseResources(WindowHandle) { consoleLayoutRefused = true; }
void initGLState() {}

}  // namespace

void resetConsoleHost() {
    consoleMessageCount = 0;
    consoleLayoutRefused = false;
}

void installConsoleHost() {
    host.has3DView = false;
    host.mainWindow = noWindow;
    host.setWindowTitle = setWindowTitle;
    host.windowRect = windowRect;
    host.metric = metric;
    host.clientSize = clientSize;
    host.messageBox = messageBox;
    host.chooseFile = chooseFile;
    host.winnerNameDialog = noDialog;
    host.hallOfFameDialog = noDialog;
    host.layoutBoard2D = noDrawing;
    host.paintBoard = noDrawing;
    host.drawBoard2D = drawBoard2D;
    host.fadeOutPair = fadeOutPair;
    host.presentFrame = presentFrame;
    host.requestRepaint = noDrawing;
    host.updateStatusBar = noDrawing;
    host.playSound = playSound;
    host.releaseResources = releaseResources;
    host.fitFaceSize = noDrawing;
    host.initGLState = initGLState;
    resetConsoleHost();
}
