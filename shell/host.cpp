// What the game asks of its host, answered by the shell, the views and the
// window layer. Every modal window opened here releases the board lock while
// it is open (BoardUnlocked): its own event loop repaints and ticks the timer,
// and those messages take the lock.
#include "shell/host.h"

#include "dialogs/dialogs.h"
#include "engine/board_lock.h"
#include "engine/host.h"
#include "platform/messages.h"
#include "platform/ui.h"
#include "settings/settings.h"
#include "shell/boardview.h"
#include "shell/filedialog.h"
#include "shell/mainwindow.h"
#include "shell/sound.h"
#include "shell/startup.h"
#include "shell/statusbar.h"
#include "view2d/draw2d.h"
#include "view2d/tileset.h"

namespace {

WindowHandle theMainWindow() { return mainWindow; }

bool messageBox(WindowHandle owner, const char* text, PlatformMessageKind kind) {
    BoardUnlocked unlocked;
    return platformMessageBox(owner, PROGRAM_TITLE, text, kind);
}

void winnerDialog(WindowHandle owner) {
    BoardUnlocked unlocked;
    winnerNameDialog(owner);
}

void hallDialog(WindowHandle owner) {
    BoardUnlocked unlocked;
    hallOfFameDialog(owner);
}

void requestRepaint(WindowHandle window) { platformPostMessage(window, WM_PAINT, 0, 0); }

}  // namespace

void installShellHost() {
    host.has3DView = PROGRAM_HAS_3D_VIEW;
    host.mainWindow = theMainWindow;
    host.setWindowTitle = platformSetWindowTitle;
    host.windowRect = platformGetWindowRect;
    host.metric = platformMetric;
    host.clientSize = platformGetClientSize;
    host.messageBox = messageBox;
    host.chooseFile = chooseFile;
    host.winnerNameDialog = winnerDialog;
    host.hallOfFameDialog = hallDialog;
    host.layoutBoard2D = layoutBoard2D;
    host.paintBoard = paintBoard;
    host.drawBoard2D = drawBoard2D;
    host.fadeOutPair = fadeOutPair;
    host.presentFrame = platformPresentSurface;
    host.requestRepaint = requestRepaint;
    host.updateStatusBar = updateStatusBar;
    host.playSound = playSoundEffect;
    host.releaseResources = releaseResources;
    host.fitFaceSize = fitFaceSize;
    host.initGLState = resetScene3D;
}
