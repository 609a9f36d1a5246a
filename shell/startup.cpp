// The creation handler of the main window and the way out of the program.
#include "shell/startup.h"

#include "dialogs/dialogs.h"
#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/deal.h"
#include "engine/layout.h"
#include "platform/menus.h"
#include "platform/messages.h"
#include "platform/statusbar.h"
#include "platform/ui.h"
#include "settings/directories.h"
#include "settings/settings.h"
#include "shell/boardview.h"
#include "shell/filelists.h"
#include "shell/host.h"
#include "shell/mainwindow.h"
#include "shell/menubar.h"
#include "shell/sound.h"
#include "shell/splash.h"
#include "shell/toolbar.h"
#include "view2d/draw2d.h"
#include "view2d/tileset.h"

namespace {

// Set once the window's resources are released (by the shutdown sequence or
// by the layout check, which ends the program without saving): a destruction
// that follows writes and releases nothing a second time.
bool shutDown = false;

}  // namespace

bool prepareProgram() {
    installShellHost();
    markWindowThread();
    tilesLeft = TILE_COUNT;
    makeDataDirectories();
    showSplash();
    fillFileMenu("*.TXT", languageDirectory, Settings.Language, nullptr, 0, &languageList);
    if (!fileExistsIn(startDirectory, SETTINGS_FILE_NAME)) {
        copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
        languageDialog(languageList);
    }
    return loadSettings();
}

WindowHandle openMainWindow() {
    WindowHandle window = platformCreateMainWindow(PROGRAM_TITLE, Settings.WindowXPos, Settings.WindowYPos,
                                                   Settings.WindowXSize, Settings.WindowYSize, mainWindowProc);
    if (window) platformShowWindow(window);
    return window;
}

void createMainWindowContents(WindowHandle window) {
    markWindowThread();
    mainWindow = window;
    shutDown = false;
    buildMenuBar(window);
    loadCursors();
    frameHeight = platformMetric(METRIC_CAPTION_HEIGHT) + platformMetric(METRIC_MENU_HEIGHT) +
                  2 * platformMetric(METRIC_FRAME_HEIGHT) + 1;
    toolbarHeight = createToolbar(window);
    statusBarHeight = platformCreateStatusBar(window);
    platformSetMinimumBoardSize(window, MIN_BOARD_AREA_WIDTH, MIN_BOARD_AREA_HEIGHT);
    platformSetTimer(window, CHRONO_TIMER_ID, CHRONO_PERIOD);
    selectedTile = NO_TILE;
    secondTile = NO_TILE;
    makeBoardBuffer(window);
    loadBackground(window);
    loadLayout(window);
    createBoardViews(window);
    loadTileSetIntoViews(window);
    newDeal(window);
    startMusic(window);
    releasePicturesLater(window);
}

void shutdownSequence(WindowHandle window) {
    if (shutDown) return;
    destroyBoardViews(window);
    saveSettings(window);
    releaseResources(window);
}

void releaseResources(WindowHandle window) {
    shutDown = true;
    destroyMenuBar();
    releaseMenuIcons();
    releaseBoardPictures();
    platformKillTimer(window, CHRONO_TIMER_ID);
    platformKillTimer(window, PICTURES_TIMER_ID);
    platformPostQuitMessage(0);
}
