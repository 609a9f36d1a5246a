// The platform's file dialogs, colour chooser and help viewer. Titles and
// texts are Windows-1252; directories and file names are the file system's own
// bytes, as the file functions take them. Window thread only. None of them
// changes the current directory.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/window.h"

// Shows the open (open = true: the file must exist) or save dialog on
// directory, with one filter "<filterText> (<pattern>)" (pattern such as
// "*.MYL", matched without regard to case), title as its caption, and the
// pattern's extension as the default extension of a typed name without one.
// A typed name followed by Enter confirms. On confirmation copies the bare
// file name (no directory) into name (at most size - 1 bytes) and returns
// true; on cancel returns false and leaves name untouched.
bool platformFileDialog(WindowHandle owner, bool open, const char* directory, const char* pattern,
                        const char* filterText, const char* title, char* name, size_t size);

// The colour chooser with the custom-colour part open, initial selected and
// 16 white custom colours. true and *chosen (0x00BBGGRR) when confirmed;
// false when cancelled.
bool platformChooseColour(WindowHandle owner, uint32_t initial, uint32_t* chosen);

// Shows the help file (an HTML file; name resolved in the current directory
// without regard to case, or a path) at its start in the help window, which
// stays open beside the game; links within the file work. A file that cannot
// be read is reported in a message box titled title; returns false then.
bool platformShowHelp(WindowHandle owner, const char* fileName, const char* title);
