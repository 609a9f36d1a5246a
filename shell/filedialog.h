// The open and save dialogs that return a bare file name.
#pragma once
#include "platform/window.h"

// Shows the dialog on `directory` with one filter "<filterText> (<pattern>)".
// On confirmation copies the bare name (at most 4095 characters) into outName
// and returns true; on cancel leaves outName untouched and returns false.
bool chooseFile(WindowHandle window, const char* directory, char* outName, const char* pattern,
                const char* filterText, bool open);
