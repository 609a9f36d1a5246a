// The window procedure of the main window: every message of the user becomes
// a command, a click or a refresh here.
//
// The automatic player works on the board from its own thread. Every message
// that reads or changes the board, the game state or the settings the player
// reads runs under the board lock (engine/board_lock.h); a click, and the
// commands that change the game as a whole, first stop the player and wait
// for its end. What each command takes stands in the command table
// (shell/commands.cpp). A message delivered from within a handler that holds
// the lock is deferred: posted again, to run once that handler is done.
#include "shell/mainwindow.h"

#include "engine/autoplay.h"
#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/play.h"
#include "platform/cursors.h"
#include "platform/messages.h"
#include "settings/settings.h"
#include "shell/boardview.h"
#include "shell/commands.h"
#include "shell/commandtable.h"
#include "shell/menubar.h"
#include "shell/startup.h"
#include "shell/statusbar.h"
#include "shell/toolbar.h"
#include "view2d/draw2d.h"
#include "view2d/tileset.h"

WindowHandle mainWindow = nullptr;
int frameHeight = 0;
int normalCursor = CURSOR_ARROW;
int pressedCursor = CURSOR_APPSTARTING;

namespace {

// Commands of the function keys F1 to F12 (0: F10 does nothing).
const uint32_t functionKeyCommands[12] = {
    CMD_HELP_FILE, CMD_NEW_GAME, CMD_RESTART_GAME, CMD_LOAD_LAYOUT, CMD_PAUSE_CHRONO, CMD_HINT,
    CMD_UNDO,      CMD_HALL_OF_FAME, CMD_SHADOWS,  0,               CMD_SHOW_CHRONO,  CMD_EXIT};

void keyDown(WindowHandle window, uintptr_t key) {
    if (key >= VK_F1 && key <= VK_F12) {
        const uint32_t command = functionKeyCommands[key - VK_F1];
        if (command != 0) sendCommand(command);
    } else if (key == VK_SPACE && PROGRAM_HAS_3D_VIEW) {
        sendCommand(CMD_GO3D);
    }
    // The camera keys, and after any key the angles brought back to whole
    // degrees below one turn, in the 3D view only.
    if (view3DShown()) {
        cameraKey3D(key);
        platformInvalidateWindow(window);
    }
}

void mouseWheel(WindowHandle window, uintptr_t first) {
    if (!view3DShown()) return;
    cameraWheel3D(wheelDelta(first));
    platformInvalidateWindow(window);
}

void mouseMove(WindowHandle window, uintptr_t buttons) {
    const uintptr_t pressed = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL;
    platformSetCursor(window, (buttons & pressed) == MK_LBUTTON ? pressedCursor : normalCursor);
}

void leftButtonDown(WindowHandle window, intptr_t point) {
    platformSetCursor(window, pressedCursor);
    autoplayRunning = false;  // stops a running automatic play
    stopAutoplayAndWait();
    BoardLock lock;
    hintShown = false;
    clickTile(tileAtClientPoint(pointX(point), pointY(point)));
    paintBoard(window);
    platformSetCursor(window, normalCursor);
}

void focusChanged(WindowHandle window, bool gained) {
    BoardLock lock;
    chronoPaused = !gained;
    if (!gained) hintShown = false;
    paintBoard(window);
}

void destroyed(WindowHandle window) {
    stopAutoplayAndWait();
    BoardLock lock;
    shutdownSequence(window);
}

// A message that needs the board and arrives while this thread holds it (the
// resize a new menu bar brings, delivered from within a command) runs later.
bool deferredWhileHeld(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second) {
    if (!boardLockHeldHere()) return false;
    platformPostMessage(window, message, first, second);
    return true;
}

}  // namespace

int32_t mainWindowProc(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second) {
    refreshMenuChecks();
    switch (message) {
        case WM_SIZE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_PAINT:
        case WM_TIMER:
        case END_OF_GAME_MESSAGE:
            if (deferredWhileHeld(window, message, first, second)) return 0;
            break;
        default: break;
    }
    switch (message) {
        // Creation comes before any player; it runs without the lock, since a
        // failing rendering context shows its error box from inside it.
        case WM_CREATE: createMainWindowContents(window); return 0;
        case WM_DESTROY: destroyed(window); return 0;
        case WM_SIZE: {
            BoardLock lock;
            resizeBoardArea(window);
            return 0;
        }
        case WM_SETFOCUS: focusChanged(window, true); return 0;
        case WM_KILLFOCUS: focusChanged(window, false); return 0;
        case WM_PAINT: {
            BoardLock lock;
            paintBoard(window);
            return 0;
        }
        case WM_KEYDOWN: keyDown(window, first); return 0;
        case WM_MOUSEWHEEL:
            if (!PROGRAM_HAS_3D_VIEW) return platformDefaultWindowProc(window, message, first, second);
            mouseWheel(window, first);
            return 0;
        case WM_COMMAND: runCommand(window, (uint32_t)first); return 0;
        case WM_TIMER: {
            BoardLock lock;
            if (first == PICTURES_TIMER_ID) {
                platformKillTimer(window, PICTURES_TIMER_ID);
                releaseLoadedPictures();
                return 0;
            }
            tickChronometer(window);
            return 0;
        }
        case WM_NOTIFY: answerTooltip(reinterpret_cast<NotifyHeader*>(second)); return 0;
        case WM_MOUSEMOVE: mouseMove(window, first); return 0;
        case WM_LBUTTONDOWN: leftButtonDown(window, second); return 0;
        case WM_RBUTTONDOWN: sendCommand(CMD_UNDO); return 0;
        case WM_MBUTTONDOWN: sendCommand(CMD_CHANGE_COLORS); return 0;
        case END_OF_GAME_MESSAGE: {
            BoardLock lock;
            runEndOfGameCheck(window);
            return 0;
        }
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
    if (!chronoPaused && !gameFinished) addChronoSeconds(1);
    if (Settings.ShowChrono == 1) updateStatusBar(window);
}

void resizeBoardArea(WindowHandle window) {
    fitFaceSize(window);
    if (Settings.Background[0] != 0) scaleBackground(window);
    makeBoardBuffer(window);
    resizeScene3D(window);
    platformInvalidateWindow(window);
    releasePicturesLater(window);
}

void releasePicturesLater(WindowHandle window) { platformSetTimer(window, PICTURES_TIMER_ID, PICTURES_REST_PERIOD); }
