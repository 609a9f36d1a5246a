// The splash picture shown while the program starts.
#pragma once
#include "platform/surface.h"

// Shows a copy of the picture 1:1 (device pixels), frameless, centred on the
// primary screen's work area, at once. It disappears when the main window is
// shown or with platformHideSplash. An empty surface shows nothing.
void platformShowSplash(const Surface* picture);
void platformHideSplash();
bool platformSplashShown();
