#include "tests/view2d/view_fakes.h"

#include <algorithm>

#include "dialogs/dialogs.h"
#include "platform/messages.h"
#include "platform/surface.h"
#include "platform/ui.h"
#include "settings/settings.h"
#include "shell/filedialog.h"
#include "shell/sound.h"
#include "shell/startup.h"
#include "shell/statusbar.h"

namespace viewfake {
int clientWidth = 800;
int clientHeight = 600;
int presentCount = 0;
int presentX = -1, presentY = -1;
std::atomic<int> statusCount{0};
std::vector<std::vector<uint32_t>> frames;
int frameWidth = 0, frameHeight = 0;
size_t keepFrames = 8;
int messageCount = 0;
std::vector<uint32_t> expectedFrame;
int mismatchCount = 0;

void reset() {
    clientWidth = 800;
    clientHeight = 600;
    presentCount = 0;
    presentX = presentY = -1;
    statusCount = 0;
    frames.clear();
    frameWidth = frameHeight = 0;
    keepFrames = 8;
    messageCount = 0;
    expectedFrame.clear();
    mismatchCount = 0;
}
}  // namespace viewfake

void platformGetClientSize(WindowHandle, int* width, int* height) {
    *width = viewfake::clientWidth;
    *height = viewfake::clientHeight;
}

void platformPresentSurface(WindowHandle, const Surface* surface, int x, int y) {
    ++viewfake::presentCount;
    viewfake::presentX = x;
    viewfake::presentY = y;
    if (!viewfake::expectedFrame.empty() &&
        (surface->pixels == nullptr ||
         viewfake::expectedFrame.size() != static_cast<size_t>(surface->width) * surface->height ||
         !std::equal(viewfake::expectedFrame.begin(), viewfake::expectedFrame.end(), surface->pixels)))
        ++viewfake::mismatchCount;
    if (surface->pixels != nullptr && viewfake::frames.size() < viewfake::keepFrames) {
        viewfake::frameWidth = surface->width;
        viewfake::frameHeight = surface->height;
        viewfake::frames.emplace_back(surface->pixels,
                                      surface->pixels + static_cast<size_t>(surface->width) * surface->height);
    }
}

void updateStatusBar(WindowHandle) { ++viewfake::statusCount; }

// What the game core reaches on the window side; the view tests never show a window.
bool platformMessageBox(WindowHandle, const char*, const char*, PlatformMessageKind kind) {
    ++viewfake::messageCount;
    return kind != PLATFORM_MB_OKCANCEL_INFORMATION;
}
void platformSetWindowTitle(WindowHandle, const char*) {}
bool platformPostMessage(WindowHandle, uint32_t, uintptr_t, intptr_t) { return true; }
void platformGetWindowRect(WindowHandle, int* left, int* top, int* right, int* bottom) {
    *left = 0;
    *top = 0;
    *right = viewfake::clientWidth;
    *bottom = viewfake::clientHeight;
}
int platformMetric(PlatformMetric metric) {
    switch (metric) {
        case METRIC_MAXIMIZED_WIDTH: return 1920;
        case METRIC_MAXIMIZED_HEIGHT: return 1050;
        case METRIC_MENU_HEIGHT: return 20;
        default: return 4;
    }
}
void playSoundEffect(SoundEffect) {}
void releaseResources(WindowHandle) {}
void winnerNameDialog(WindowHandle) {}
void hallOfFameDialog(WindowHandle) {}
bool chooseFile(WindowHandle, const char*, char*, const char*, const char*, bool) { return false; }
