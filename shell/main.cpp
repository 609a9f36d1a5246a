// The program entry of Velmora's mah-jong.
#include "engine/board.h"
#include "platform/app.h"
#include "platform/messages.h"
#include "dialogs/dialogs.h"
#include "settings/settings.h"
#include "shell/directories.h"
#include "shell/filelists.h"
#include "shell/mainwindow.h"
#include "shell/splash.h"

int main(int argc, char** argv) {
    if (!platformInitialise(argc, argv)) return 1;
    tilesLeft = TILE_COUNT;
    makeDataDirectories();
    showSplash();
    fillFileMenu("*.TXT", languageDirectory, Settings.Language, nullptr, 0, &languageList);
    if (!fileExistsIn(startDirectory, SETTINGS_FILE_NAME)) {
        copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
        languageDialog();
    }
    if (!loadSettings()) return 0;
    WindowHandle window = platformCreateMainWindow(PROGRAM_TITLE, Settings.WindowXPos, Settings.WindowYPos,
                                                   Settings.WindowXSize, Settings.WindowYSize, mainWindowProc);
    if (!window) return 1;
    platformShowWindow(window);
    return platformRunMessageLoop();
}
