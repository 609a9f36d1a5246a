// The window side of the platform: message boxes, window title and geometry,
// screen metrics. (The rest of the window layer is declared beside it.)
#pragma once
#include "platform/window.h"

enum PlatformMessageKind {
    PLATFORM_MB_INFORMATION,
    PLATFORM_MB_EXCLAMATION,
    PLATFORM_MB_ERROR,
    PLATFORM_MB_OKCANCEL_INFORMATION
};
// Shows a modal message box titled title, modal on owner (a main window or a
// dialog; null for none) and dressed like the dialogs (platform/dialogs.h) but
// with a close box, texts in Windows-1252: information, exclamation and
// error have an OK button, the question OK and Cancel. Returns true for OK
// (always true for the plain kinds; closing the question counts as Cancel).
bool platformMessageBox(WindowHandle owner, const char* title, const char* text, PlatformMessageKind kind);

// Caption of a main window or dialog (Windows-1252).
void platformSetWindowTitle(WindowHandle window, const char* title);
// The main window cannot be made smaller than a client area whose board area
// (between toolbar and status bar) is width x height pixels of a normal screen
// (the device pixel ratio times as many device pixels).
void platformSetMinimumBoardSize(WindowHandle window, int width, int height);
// Size of the window's client area in device pixels (below the menu bar).
void platformGetClientSize(WindowHandle window, int* width, int* height);
// Outer rectangle (frame included) of the window on the screen, in device
// pixels; right and bottom exclusive.
void platformGetWindowRect(WindowHandle window, int* left, int* top, int* right, int* bottom);

enum PlatformMetric {
    METRIC_MAXIMIZED_WIDTH,   // width of a maximised window
    METRIC_MAXIMIZED_HEIGHT,  // height of a maximised window
    METRIC_FRAME_WIDTH,       // sizing-frame width
    METRIC_FRAME_HEIGHT,      // sizing-frame height
    METRIC_DIALOG_FRAME_WIDTH,
    METRIC_CAPTION_HEIGHT,    // caption-button height
    METRIC_MENU_HEIGHT,       // menu-bar height
    METRIC_MENU_CHECK_WIDTH,
    METRIC_MENU_CHECK_HEIGHT
};
// Device pixels. Maximised size = the primary screen's work area plus the
// frames; frame and caption are the window manager's, measured on the first
// main window once it has been shown (0 before, and without a window
// manager); caption + 2 x frame height = the frame's top and bottom together.
// Menu height = the menu bar's height; menu check = the menu icon size.
int platformMetric(PlatformMetric metric);
