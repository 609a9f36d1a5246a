// One small handler per command of the menus, the toolbar and the keys.
#include "shell/commandtable.h"

#include "dialogs/dialogs.h"
#include "engine/autoplay.h"
#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/deal.h"
#include "engine/layout.h"
#include "engine/play.h"
#include "engine/rules.h"
#include "gamefiles/savegame.h"
#include "platform/filedialogs.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "settings/menubar.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "shell/directories.h"
#include "shell/filedialog.h"
#include "shell/filelists.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/startup.h"
#include "shell/statusbar.h"
#include "view2d/draw2d.h"
#include "view2d/shadows.h"

namespace {

void toggle(uint8_t& flag) { flag = flag ? 0 : 1; }

void easyMode(WindowHandle window) {
    if (!askOkCancel(window, LanguageTexts.MesEasyMode)) return;
    toggle(Settings.EasyMode);
    sendCommand(CMD_NEW_GAME);
}

void pauseChrono(WindowHandle window) {
    chronoPaused = !chronoPaused;
    paintBoard(window);
}

void undo(WindowHandle window) {
    undoMove(window);
    computeFreeTiles();
    computeShadowFlags();
    layoutBoard2D(window);
    paintBoard(window);
}

void shadows(WindowHandle window) {
    toggle(Settings.Shadows);
    paintBoard(window);
}

void showChrono(WindowHandle window) {
    toggle(Settings.ShowChrono);
    updateStatusBar(window);
}

// The dialogs run without the board lock (the automatic player goes on
// meanwhile); the repaint after them takes it.
void changeColours(WindowHandle window) {
#if MAHJONG_3D
    if (view3D) colorsDialog3D(mainWindow);
    else colorsDialog2D(mainWindow);
#else
    colorsDialog2D(mainWindow);
#endif
    BoardLock lock;
    paintBoard(window);
}

void config(WindowHandle window) {
#if MAHJONG_3D
    if (view3D) configDialog3D(mainWindow);
    else configDialog2D(mainWindow);
#else
    configDialog2D(mainWindow);
#endif
    BoardLock lock;
    paintBoard(window);
}

void loadLayoutFile(WindowHandle window) {
    if (!chooseFile(window, layoutDirectory, layoutName, "*.MYL", LanguageTexts.FilterLayout, true)) return;
    upperCase(layoutName);
    selectListedFileByName(layoutName, menuBar, LAYOUT_LIST_FIRST, layoutList);
    loadLayout(window);
    newDeal(window);
}

void saveLayoutFile(WindowHandle window) {
    if (!chooseFile(window, layoutDirectory, layoutName, "*.MYL", LanguageTexts.FilterLayout, false)) return;
    saveLayout(window);
    buildMenuBar(window);
    upperCase(layoutName);
    selectListedFileByName(layoutName, menuBar, LAYOUT_LIST_FIRST, layoutList);
    setTitleForFile(window, layoutName);
}

void randomLayout(WindowHandle window) {
    copyText(layoutName, RANDOM_LAYOUT_NAME, FILE_NAME_SIZE);
    selectListedFileByName(layoutName, menuBar, LAYOUT_LIST_FIRST, layoutList);
    loadLayout(window);
    newDeal(window);
}

void helpFileCommand(WindowHandle window) {
    if (platformSetCurrentDirectory(languageDirectory)) platformShowHelp(window, helpFile, PROGRAM_TITLE);
    returnToStartDirectory();
}

void useSounds(WindowHandle) { toggle(Settings.SoundEffects); }

void changeCursor(WindowHandle) {
    toggle(Settings.NewCursors);
    loadCursors();
}

void exitCommand(WindowHandle window) { shutdownSequence(window); }

#if MAHJONG_3D
void useTextures(WindowHandle window) {
    toggle(Settings.Textures);
    paintBoard(window);
}

void switchView(WindowHandle window) {
    view3D = !view3D;
    buildMenuBar(window);
    paintBoard(window);
}
#endif

struct CommandHandler {
    uint32_t command;
    void (*run)(WindowHandle window);
};

const CommandHandler commandHandlers[] = {
    {CMD_NEW_GAME, newGameCommand},
    {CMD_RESTART_GAME, restartGame},
    {CMD_EASYMODE, easyMode},
    {CMD_AUTOPLAY, [](WindowHandle) { startAutoplay(); }},
    {CMD_PAUSE_CHRONO, pauseChrono},
    {CMD_HINT, hintStep},  // the hint step repaints the board itself
    {CMD_UNDO, undo},
    {CMD_SAVE_GAME, saveGame},
    {CMD_LOAD_GAME, loadGame},
    {CMD_EXIT, exitCommand},
    {CMD_SHADOWS, shadows},
    {CMD_SHOW_CHRONO, showChrono},
    {CMD_CHANGE_COLORS, changeColours},
    {CMD_CONFIG, config},
    {CMD_HALL_OF_FAME, hallOfFameDialog},
    {CMD_LOAD_LAYOUT, loadLayoutFile},
    {CMD_SAVE_LAYOUT, saveLayoutFile},
    {CMD_RANDOM_LAYOUT, randomLayout},
    {CMD_HELP_FILE, helpFileCommand},
    {CMD_HELP_ABOUT, aboutDialog},
    {CMD_USE_SOUNDS, useSounds},
    {CMD_CHANGE_CURSOR, changeCursor},
#if MAHJONG_3D
    {CMD_USE_TEXTURES, useTextures},
    {CMD_GO3D, switchView},
#endif
};

}  // namespace

bool runCommand(WindowHandle window, uint32_t command) {
    for (const CommandHandler& handler : commandHandlers)
        if (handler.command == command) {
            handler.run(window);
            return true;
        }
    return runFileListCommand(window, command);
}

void sendCommand(uint32_t command) { platformSendMessage(mainWindow, WM_COMMAND, command, 0); }
