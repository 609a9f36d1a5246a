// Start-up and shutdown of the program.
#pragma once
#include "platform/window.h"

void releaseResources(WindowHandle window);
