// The splash picture shown while the program starts.
#pragma once
#include "platform/surface.h"

// Shows a copy of the picture at the size it has on a normal screen (one
// picture pixel a logical pixel, enlarged on a denser screen), frameless,
// centred on the primary screen's work area, at once. It disappears when the main window is
// shown or with platformHideSplash. An empty surface shows nothing.
void platformShowSplash(const Surface* picture);
void platformHideSplash();
bool platformSplashShown();
