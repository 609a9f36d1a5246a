// The splash picture: "Splash.bmp" in the start directory, centred on the
// screen until the main window shows.
#include "shell/splash.h"

#include "platform/app.h"
#include "platform/splash.h"
#include "platform/surface.h"
#include "settings/directories.h"
#include "view2d/bitmap.h"

void showSplash() {
    returnToStartDirectory();
    Surface picture = {0, 0, nullptr};
    loadBitmapFile(nullptr, "Splash.bmp", &picture);
    if (surfaceIsEmpty(&picture)) return;
    platformShowSplash(&picture);
    platformProcessEvents();
    releaseSurface(&picture);
}
