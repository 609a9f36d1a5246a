// The splash picture shown while the program starts.
#pragma once

// Shows "Splash.bmp" of the start directory; nothing when it cannot be read.
void showSplash();
