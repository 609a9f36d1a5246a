// The window procedure of the main window: every message of the user becomes
// a command, a click or a refresh here.
//
// The automatic player works on the board from its own thread. Clicks and the
// commands that change the board stop it and wait for its end first; every
// other command runs holding the board lock (the player holds it for one pair
// at a time), except the dialogs, which take it only for their repaint.
// Repaints, focus changes and timer ticks are skipped while the player holds
// the board: it draws its own frames meanwhile.
#include "shell/mainwindow.h"

#include <thread>

#include "engine/autoplay.h"
#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/play.h"
#include "platform/cursors.h"
#include "platform/messages.h"
#include "settings/menubar.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "shell/commandtable.h"
#include "shell/startup.h"
#include "shell/statusbar.h"
#include "shell/toolbar.h"
#include "view2d/draw2d.h"
#include "view2d/tileset.h"
#if MAHJONG_3D
#include "platform/gl.h"
#include "platform/ui.h"
#include "view3d/scene.h"
#endif

int normalCursor = CURSOR_ARROW;
int pressedCursor = CURSOR_APPSTARTING;

namespace {

std::thread::id windowThread;

// Commands of the function keys F1 to F12 (0: F10 does nothing).
const uint32_t functionKeyCommands[12] = {
    CMD_HELP_FILE, CMD_NEW_GAME, CMD_RESTART_GAME, CMD_LOAD_LAYOUT, CMD_PAUSE_CHRONO, CMD_HINT,
    CMD_UNDO,      CMD_HALL_OF_FAME, CMD_SHADOWS,  0,               CMD_SHOW_CHRONO,  CMD_EXIT};

#if MAHJONG_3D
void keyDown(WindowHandle window, uintptr_t key) {
    if (key >= VK_F1 && key <= VK_F12) {
        const uint32_t command = functionKeyCommands[key - VK_F1];
        if (command != 0) sendCommand(command);
    } else if (key == VK_SPACE) {
        sendCommand(CMD_GO3D);
    }
    // The camera keys, and after any key the angles brought back to whole
    // degrees below one turn, in the 3D view only.
    if (view3D) {
        keyDown3D(key);
        platformInvalidateWindow(window);
    }
}

void mouseWheel(WindowHandle window, uintptr_t first) {
    if (!view3D) return;
    wheel3D(wheelDelta(first));
    platformInvalidateWindow(window);
}
#else
void keyDown(WindowHandle, uintptr_t key) {
    if (key < VK_F1 || key > VK_F12) return;
    const uint32_t command = functionKeyCommands[key - VK_F1];
    if (command != 0) sendCommand(command);
}
#endif

void mouseMove(WindowHandle window, uintptr_t buttons) {
    const uintptr_t pressed = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL;
    platformSetCursor(window, (buttons & pressed) == MK_LBUTTON ? pressedCursor : normalCursor);
}

bool inList(uint32_t command, uint32_t base) { return command >= base && command < base + FILE_LIST_RANGE; }

// Commands that deal, load, undo, save or otherwise read or change the game
// as a whole: a running automatic play ends before them.
bool changesTheBoard(uint32_t command) {
    switch (command) {
        case CMD_NEW_GAME:
        case CMD_RESTART_GAME:
        case CMD_EASYMODE:
        case CMD_HINT:
        case CMD_UNDO:
        case CMD_SAVE_GAME:
        case CMD_LOAD_GAME:
        case CMD_LOAD_LAYOUT:
        case CMD_SAVE_LAYOUT:
        case CMD_RANDOM_LAYOUT: return true;
        default: return inList(command, LAYOUT_LIST_FIRST);
    }
}

// Commands that open a modal dialog without changing the board.
bool opensADialog(uint32_t command) {
    switch (command) {
        case CMD_CHANGE_COLORS:
        case CMD_CONFIG:
        case CMD_HALL_OF_FAME:
        case CMD_HELP_FILE:
        case CMD_HELP_ABOUT: return true;
        default: return false;
    }
}

void commandMessage(WindowHandle window, uint32_t command) {
    hintShown = false;
    if (changesTheBoard(command)) stopAutoplayAndWait();
    if (opensADialog(command)) {
        runCommand(window, command);
        return;
    }
    BoardLock lock;
    runCommand(window, command);
}

void paintIfFree(WindowHandle window) {
    if (!tryLockBoard()) return;
    paintBoard(window);
    unlockBoard();
}

void leftButtonDown(WindowHandle window, intptr_t point) {
    platformSetCursor(window, pressedCursor);
    autoplayRunning = false;  // stops a running automatic play
    stopAutoplayAndWait();
    BoardLock lock;
    hintShown = false;
#if MAHJONG_3D
    if (view3D) clickTile(pick3D(pointX(point), pointY(point)));
    else clickTile(tileAtPoint(pointX(point), pointY(point)));
#else
    clickTile(tileAtPoint(pointX(point), pointY(point)));
#endif
    paintBoard(window);
    platformSetCursor(window, normalCursor);
}

void focusChanged(WindowHandle window, bool gained) {
    chronoPaused = !gained;
    if (!gained) hintShown = false;
    paintIfFree(window);
}

void timerTick(WindowHandle window) {
    if (!tryLockBoard()) return;
    tickChronometer(window);
    unlockBoard();
}

}  // namespace

void markWindowThread() { windowThread = std::this_thread::get_id(); }
bool onWindowThread() { return std::this_thread::get_id() == windowThread; }

int32_t mainWindowProc(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second) {
    refreshMenuChecks();
    switch (message) {
        case WM_CREATE: createMainWindowContents(window); return 0;
        case WM_DESTROY: shutdownSequence(window); return 0;
        case WM_SIZE: resizeBoardArea(window); return 0;
        case WM_SETFOCUS: focusChanged(window, true); return 0;
        case WM_KILLFOCUS: focusChanged(window, false); return 0;
        case WM_PAINT: paintIfFree(window); return 0;
        case WM_KEYDOWN: keyDown(window, first); return 0;
#if MAHJONG_3D
        case WM_MOUSEWHEEL: mouseWheel(window, first); return 0;
#endif
        case WM_COMMAND: commandMessage(window, (uint32_t)first); return 0;
        case WM_TIMER: timerTick(window); return 0;
        case WM_NOTIFY: answerTooltip(reinterpret_cast<NotifyHeader*>(second)); return 0;
        case WM_MOUSEMOVE: mouseMove(window, first); return 0;
        case WM_LBUTTONDOWN: leftButtonDown(window, second); return 0;
        case WM_RBUTTONDOWN: sendCommand(CMD_UNDO); return 0;
        case WM_MBUTTONDOWN: sendCommand(CMD_CHANGE_COLORS); return 0;
        case END_OF_GAME_MESSAGE: runEndOfGameCheck(window); return 0;
        default: return platformDefaultWindowProc(window, message, first, second);
    }
}

void loadCursors() {
    if (Settings.NewCursors == 1) {
        normalCursor = CURSOR_RESOURCE_NORMAL;
        pressedCursor = CURSOR_RESOURCE_PRESSED;
    } else {
        normalCursor = CURSOR_ARROW;
        pressedCursor = CURSOR_APPSTARTING;
    }
    platformSetCursor(mainWindow, normalCursor);
}

void tickChronometer(WindowHandle window) {
    if (!chronoPaused && !gameFinished) chronoSeconds += 1;
    if (Settings.ShowChrono == 1) updateStatusBar(window);
}

void resizeBoardArea(WindowHandle window) {
    fitFaceSize(window);
    if (Settings.Background[0] != 0) scaleBackground(window);
    makeBoardBuffer(window);
#if MAHJONG_3D
    int width = 0, height = 0;
    platformGetClientSize(window, &width, &height);
    if (platformMakeGLCurrent(window)) setProjection(width, height);
#endif
    platformInvalidateWindow(window);
}
