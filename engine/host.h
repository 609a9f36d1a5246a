// The seam between the game and its host. The core (engine/, gamefiles/,
// settings/), the board views and the dialogs reach the window, the status
// bar, the sounds, the message boxes, the game's dialogs and the 3D view only
// through this table; they include nothing of shell/. The shell fills it
// before anything else runs (shell/host.cpp); the tests install a null host
// that records every call (tests/support/null_host.cpp).
//
// Threads: the window's thread calls everything. The automatic player's
// thread calls mainWindow, drawBoard2D, updateStatusBar, paintBoard (2D view
// only), layoutBoard2D, requestRepaint and playSound, the board lock held for
// all of them except playSound and requestRepaint.
#pragma once
#include <cstdint>

#include "platform/surface.h"
#include "platform/ui.h"
#include "platform/window.h"

enum SoundEffect { SelectSound, RemoveSound, ErrorSound };

struct GameHost {
    // mahjong, with its 3D view (true), or mahjong-2d (false).
    bool has3DView;

    // The main window; null before it exists.
    WindowHandle (*mainWindow)();
    void (*setWindowTitle)(WindowHandle window, const char* title);
    void (*windowRect)(WindowHandle window, int* left, int* top, int* right, int* bottom);
    int (*metric)(PlatformMetric metric);
    // Size of the window's client area (the toolbar and status bar included).
    void (*clientSize)(WindowHandle window, int* width, int* height);

    // Modal windows: each opens without the board lock (a modal window runs
    // an event loop of its own) and takes it back when it closes.
    // A message box titled with the program title; true for OK.
    bool (*messageBox)(WindowHandle owner, const char* text, PlatformMessageKind kind);
    // The open or save dialog; the bare name chosen goes into outName.
    bool (*chooseFile)(WindowHandle window, const char* directory, char* outName, const char* pattern,
                       const char* filterText, bool open);
    void (*winnerNameDialog)(WindowHandle owner);  // stores the typed name in playerName
    void (*hallOfFameDialog)(WindowHandle owner);

    // The board on the screen.
    void (*layoutBoard2D)(WindowHandle window);
    // paintBoard: the board in the view shown, then the status bar.
    void (*paintBoard)(WindowHandle window);
    // One 2D frame, the pair fadeA, fadeB mixed in with the two weights.
    void (*drawBoard2D)(WindowHandle window, int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile);
    // The fade-out of a pair the player removed with a click (2D view).
    void (*fadeOutPair)(WindowHandle window, int a, int b);
    // Shows a composed 2D frame at (x, y) of the client area.
    void (*presentFrame)(WindowHandle window, const Surface* frame, int x, int y);
    // Asks the window's thread to repaint; safe from any thread.
    void (*requestRepaint)(WindowHandle window);
    // The status bar from the game state, then the end-of-game check.
    void (*updateStatusBar)(WindowHandle window);
    void (*playSound)(SoundEffect effect);
    // The way out after a layout that cannot be played: the window's
    // resources released and the quit posted, the settings left unwritten.
    void (*releaseResources)(WindowHandle window);

    // The board views after a change of the settings they draw from.
    // fitFaceSize: face geometry and layout from the tile set and the board area.
    void (*fitFaceSize)(WindowHandle window);
    // mahjong: the fixed state of the 3D scene again (a new clear colour).
    void (*initGLState)();
};

extern GameHost host;
