#include "tests/fakes/fake_ui.h"

#include <cstring>
#include <mutex>

#include "dialogs/dialogs.h"
#include "engine/board.h"
#include "platform/messages.h"
#include "platform/ui.h"
#include "settings/settings.h"
#include "shell/filedialog.h"
#include "shell/sound.h"
#include "shell/startup.h"
#include "shell/statusbar.h"
#include "view2d/draw2d.h"

namespace fake {
std::vector<Message> messages;
std::vector<int> sounds;
std::string windowTitle;
int paintCount, layoutCount, drawCount, fadeCount, statusCount, releaseCount;
int winnerDialogCount, hallDialogCount;
bool answerOk = true;
std::string winnerName = "Tester";
bool chooseFileResult = false;
std::string chooseFileName;
int windowLeft = 10, windowTop = 20, windowRight = 810, windowBottom = 620;
std::function<void(int, int, int16_t, int16_t)> drawHook;
std::function<void(int)> soundHook;
std::atomic<int> postCount{0};
// The automatic player plays its sound on its own thread.
static std::mutex soundsLock;

void reset() {
    messages.clear();
    sounds.clear();
    windowTitle.clear();
    paintCount = layoutCount = drawCount = fadeCount = statusCount = releaseCount = 0;
    winnerDialogCount = hallDialogCount = 0;
    answerOk = true;
    winnerName = "Tester";
    chooseFileResult = false;
    chooseFileName.clear();
    windowLeft = 10;
    windowTop = 20;
    windowRight = 810;
    windowBottom = 620;
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

bool platformMessageBox(WindowHandle, const char*, const char* text, PlatformMessageKind kind) {
    fake::messages.push_back({kind, text});
    return kind == PLATFORM_MB_OKCANCEL_INFORMATION ? fake::answerOk : true;
}

void platformSetWindowTitle(WindowHandle, const char* title) { fake::windowTitle = title; }

void platformGetWindowRect(WindowHandle, int* left, int* top, int* right, int* bottom) {
    *left = fake::windowLeft;
    *top = fake::windowTop;
    *right = fake::windowRight;
    *bottom = fake::windowBottom;
}

int platformMetric(PlatformMetric metric) {
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

int fadeFrames = 0;
void layoutBoard2D(WindowHandle) { ++fake::layoutCount; }
void paintBoard(WindowHandle) { ++fake::paintCount; }
void drawBoard2D(WindowHandle, int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile) {
    ++fake::drawCount;
    if (fake::drawHook) fake::drawHook(fadeA, fadeB, weightBackground, weightTile);
}
void fadeOutPair(WindowHandle, int, int) { ++fake::fadeCount; }

void updateStatusBar(WindowHandle) { ++fake::statusCount; }
void playSoundEffect(SoundEffect effect) {
    {
        std::lock_guard<std::mutex> guard(fake::soundsLock);
        fake::sounds.push_back(effect);
    }
    if (fake::soundHook) fake::soundHook(effect);
}
void releaseResources(WindowHandle) { ++fake::releaseCount; }

void winnerNameDialog(WindowHandle) {
    ++fake::winnerDialogCount;
    copyText(playerName, fake::winnerName.c_str(), sizeof playerName);
}
void hallOfFameDialog(WindowHandle) { ++fake::hallDialogCount; }

bool chooseFile(WindowHandle, const char*, char* outName, const char*, const char*, bool) {
    if (!fake::chooseFileResult) return false;
    copyText(outName, fake::chooseFileName.c_str(), FILE_NAME_SIZE);
    return true;
}

bool platformPostMessage(WindowHandle, uint32_t, uintptr_t, intptr_t) {
    ++fake::postCount;
    return true;
}
