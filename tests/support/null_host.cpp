#include "tests/support/null_host.h"

#include <algorithm>
#include <mutex>

#include "engine/board.h"
#include "engine/host.h"
#include "platform/ui.h"
#include "settings/settings.h"

#ifndef MAHJONG_3D
#define MAHJONG_3D 0
#endif

namespace fake {
std::vector<Message> messages;
std::vector<int> sounds;
std::string windowTitle;
int paintCount, layoutCount, drawCount, fadeCount, releaseCount;
std::atomic<int> statusCount{0};
int winnerDialogCount, hallDialogCount, fitFaceSizeCount, initGLStateCount;
bool answerOk = true;
std::string winnerName = "Tester";
bool chooseFileResult = false;
std::string chooseFileName;
int windowLeft = 10, windowTop = 20, windowRight = 810, windowBottom = 620;
int clientWidth = 800, clientHeight = 600;
int presentCount = 0;
int presentX = -1, presentY = -1;
std::vector<std::vector<uint32_t>> frames;
int frameWidth = 0, frameHeight = 0;
size_t keepFrames = 8;
std::vector<uint32_t> expectedFrame;
int mismatchCount = 0;
std::function<void(int, int, int16_t, int16_t)> drawHook;
std::function<void(int)> soundHook;
std::atomic<int> postCount{0};

namespace {

// The automatic player plays its sound on its own thread.
std::mutex soundsLock;

WindowHandle noWindow() { return nullptr; }

void setWindowTitle(WindowHandle, const char* title) { windowTitle = title; }

void windowRect(WindowHandle, int* left, int* top, int* right, int* bottom) {
    *left = windowLeft;
    *top = windowTop;
    *right = windowRight;
    *bottom = windowBottom;
}

int metric(PlatformMetric metric) {
    switch (metric) {
        case METRIC_MAXIMIZED_WIDTH: return 1928;
        case METRIC_MAXIMIZED_HEIGHT: return 1056;
        case METRIC_FRAME_WIDTH: return 4;
        case METRIC_FRAME_HEIGHT: return 4;
        case METRIC_DIALOG_FRAME_WIDTH: return 3;
        case METRIC_CAPTION_HEIGHT: return 18;
        case METRIC_MENU_HEIGHT: return 19;
        case METRIC_MENU_CHECK_WIDTH: return 13;
        case METRIC_MENU_CHECK_HEIGHT: return 13;
    }
    return 0;
}

void clientSize(WindowHandle, int* width, int* height) {
    *width = clientWidth;
    *height = clientHeight;
}

bool messageBox(WindowHandle, const char* text, PlatformMessageKind kind) {
    messages.push_back({kind, text});
    return kind == PLATFORM_MB_OKCANCEL_INFORMATION ? answerOk : true;
}

bool chooseFile(WindowHandle, const char*, char* outName, const char*, const char*, bool) {
    if (!chooseFileResult) return false;
    copyText(outName, chooseFileName.c_str(), FILE_NAME_SIZE);
    return true;
}

void winnerNameDialog(WindowHandle) {
    ++winnerDialogCount;
    copyText(playerName, winnerName.c_str(), sizeof playerName);
}

void hallOfFameDialog(WindowHandle) { ++hallDialogCount; }
void layoutBoard2D(WindowHandle) { ++layoutCount; }
void paintBoard(WindowHandle) { ++paintCount; }

void drawBoard2D(WindowHandle, int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile) {
    ++drawCount;
    if (drawHook) drawHook(fadeA, fadeB, weightBackground, weightTile);
}

void fadeOutPair(WindowHandle, int, int) { ++fadeCount; }

void presentFrame(WindowHandle, const Surface* surface, int x, int y) {
    ++presentCount;
    presentX = x;
    presentY = y;
    if (!expectedFrame.empty() &&
        (surface->pixels == nullptr || expectedFrame.size() != static_cast<size_t>(surface->width) * surface->height ||
         !std::equal(expectedFrame.begin(), expectedFrame.end(), surface->pixels)))
        ++mismatchCount;
    if (surface->pixels != nullptr && frames.size() < keepFrames) {
        frameWidth = surface->width;
        frameHeight = surface->height;
        frames.emplace_back(surface->pixels, surface->pixels + static_cast<size_t>(surface->width) * surface->height);
    }
}

void requestRepaint(WindowHandle) { ++postCount; }
void updateStatusBar(WindowHandle) { ++statusCount; }

void playSound(SoundEffect effect) {
    {
        std::lock_guard<std::mutex> guard(soundsLock);
        sounds.push_back(effect);
    }
    if (soundHook) soundHook(effect);
}

void releaseResources(WindowHandle) { ++releaseCount; }
void fitFaceSize(WindowHandle) { ++fitFaceSizeCount; }
void initGLState() { ++initGLStateCount; }

void install() {
    host.has3DView = MAHJONG_3D != 0;
    host.mainWindow = noWindow;
    host.setWindowTitle = setWindowTitle;
    host.windowRect = windowRect;
    host.metric = metric;
    host.clientSize = clientSize;
    host.messageBox = messageBox;
    host.chooseFile = chooseFile;
    host.winnerNameDialog = winnerNameDialog;
    host.hallOfFameDialog = hallOfFameDialog;
    host.layoutBoard2D = layoutBoard2D;
    host.paintBoard = paintBoard;
    host.drawBoard2D = drawBoard2D;
    host.fadeOutPair = fadeOutPair;
    host.presentFrame = presentFrame;
    host.requestRepaint = requestRepaint;
    host.updateStatusBar = updateStatusBar;
    host.playSound = playSound;
    host.releaseResources = releaseResources;
    host.fitFaceSize = fitFaceSize;
    host.initGLState = initGLState;
}

// Before main: every test finds the null host in place.
const bool installed = (install(), true);

}  // namespace

void reset() {
    install();
    messages.clear();
    sounds.clear();
    windowTitle.clear();
    paintCount = layoutCount = drawCount = fadeCount = releaseCount = 0;
    statusCount = 0;
    winnerDialogCount = hallDialogCount = fitFaceSizeCount = initGLStateCount = 0;
    answerOk = true;
    winnerName = "Tester";
    chooseFileResult = false;
    chooseFileName.clear();
    windowLeft = 10;
    windowTop = 20;
    windowRight = 810;
    windowBottom = 620;
    clientWidth = 800;
    clientHeight = 600;
    presentCount = 0;
    presentX = presentY = -1;
    frames.clear();
    frameWidth = frameHeight = 0;
    keepFrames = 8;
    expectedFrame.clear();
    mismatchCount = 0;
    drawHook = nullptr;
    soundHook = nullptr;
    postCount = 0;
}

std::string messageLog() {
    std::string log;
    for (const Message& m : messages) log += m.text + "\n";
    return log;
}

}  // namespace fake
