// The few window-side functions the settings writer and the message texts
// call, for the sound tests. (The shared recording fakes also stand in for
// playSoundEffect, which these tests take from the real sound module.)
#include "platform/ui.h"
#include "shell/statusbar.h"
#include "tests/sound/sound_support.h"

int messageBoxCount = 0;

bool platformMessageBox(WindowHandle, const char*, const char*, PlatformMessageKind) {
    ++messageBoxCount;
    return true;
}

void platformGetWindowRect(WindowHandle, int* left, int* top, int* right, int* bottom) {
    *left = 10;
    *top = 20;
    *right = 810;
    *bottom = 620;
}

int platformMetric(PlatformMetric metric) {
    switch (metric) {
        case METRIC_MAXIMIZED_WIDTH: return 1928;
        case METRIC_MAXIMIZED_HEIGHT: return 1056;
        default: return 4;
    }
}

void updateStatusBar(WindowHandle) {}
