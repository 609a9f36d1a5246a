// One small handler per command of the menus, the toolbar and the keys, and
// the command table that says how each one runs alongside automatic play.
#include "shell/commandtable.h"

#include "dialogs/dialogs.h"
#include "engine/autoplay.h"
#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/deal.h"
#include "engine/layout.h"
#include "engine/play.h"
#include "gamefiles/savegame.h"
#include "platform/filedialogs.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "settings/directories.h"
#include "settings/language.h"
#include "settings/messages.h"
#include "settings/settings.h"
#include "shell/boardview.h"
#include "shell/commands.h"
#include "shell/filedialog.h"
#include "shell/filelists.h"
#include "shell/mainwindow.h"
#include "shell/menubar.h"
#include "shell/startup.h"
#include "shell/statusbar.h"

namespace {

void toggle(uint8_t& flag) { flag = flag ? 0 : 1; }

// Asks first, without the board lock; then a new game with the mode turned.
void easyMode(WindowHandle window) {
    if (!askOkCancel(window, LanguageTexts.MesEasyMode)) return;
    {
        BoardLock lock;
        toggle(Settings.EasyMode);
    }
    sendCommand(CMD_NEW_GAME);
}

void pauseChrono(WindowHandle window) {
    chronoPaused = !chronoPaused;
    paintBoard(window);
}

void undo(WindowHandle window) {
    undoMove(window);
    refreshBoard(window);
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
// meanwhile; each change a dialog makes takes the lock); the repaint after
// them takes it.
void changeColours(WindowHandle window) {
    if (view3DShown())
        colorsDialog3D(mainWindow);
    else
        colorsDialog2D(mainWindow);
    BoardLock lock;
    paintBoard(window);
}

void config(WindowHandle window) {
    if (view3DShown())
        configDialog3D(mainWindow);
    else
        configDialog2D(mainWindow);
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

void autoplay(WindowHandle) { startAutoplay(); }

void useTextures(WindowHandle window) {
    toggle(Settings.Textures);
    paintBoard(window);
}

void switchView(WindowHandle window) {
    view3D = !view3D;
    buildMenuBar(window);
    paintBoard(window);
}

void fileListCommand(WindowHandle window, uint32_t command) { runFileListCommand(window, command); }

template <void (*handler)(WindowHandle)>
void fixed(WindowHandle window, uint32_t) {
    handler(window);
}

// How a command runs alongside automatic play:
//   STOP    it changes or reads the game as a whole: a running automatic play
//           ends first (the deal is restored), then the command runs;
//   LOCKED  it runs under the board lock;
//   DIALOG  it opens a dialog or asks a question first: it runs without the
//           lock and takes it for each change it makes.
constexpr uint8_t STOP = 1, LOCKED = 2, DIALOG = 0;
constexpr bool ANY = false, ONLY_3D = true;  // ONLY_3D: mahjong only

struct CommandHandler {
    uint32_t first;  // the command, or the first of a file list's identifiers
    uint32_t count;  // 1, or FILE_LIST_RANGE for a file list
    uint8_t policy;
    bool only3D;
    void (*run)(WindowHandle window, uint32_t command);
};

const CommandHandler commandTable[] = {
    {CMD_NEW_GAME, 1, STOP | LOCKED, ANY, fixed<newGameCommand>},
    {CMD_RESTART_GAME, 1, STOP | LOCKED, ANY, fixed<restartGame>},
    {CMD_EASYMODE, 1, STOP | DIALOG, ANY, fixed<easyMode>},
    {CMD_AUTOPLAY, 1, LOCKED, ANY, fixed<autoplay>},
    {CMD_PAUSE_CHRONO, 1, LOCKED, ANY, fixed<pauseChrono>},
    {CMD_HINT, 1, STOP | LOCKED, ANY, fixed<hintStep>},  // the hint step repaints the board itself
    {CMD_UNDO, 1, STOP | LOCKED, ANY, fixed<undo>},
    {CMD_SAVE_GAME, 1, STOP | LOCKED, ANY, fixed<saveGame>},
    {CMD_LOAD_GAME, 1, STOP | LOCKED, ANY, fixed<loadGame>},
    {CMD_EXIT, 1, STOP | LOCKED, ANY, fixed<shutdownSequence>},
    {CMD_SHADOWS, 1, LOCKED, ANY, fixed<shadows>},
    {CMD_SHOW_CHRONO, 1, LOCKED, ANY, fixed<showChrono>},
    {CMD_CHANGE_COLORS, 1, DIALOG, ANY, fixed<changeColours>},
    {CMD_CONFIG, 1, DIALOG, ANY, fixed<config>},
    {CMD_HALL_OF_FAME, 1, DIALOG, ANY, fixed<hallOfFameDialog>},
    {CMD_LOAD_LAYOUT, 1, STOP | LOCKED, ANY, fixed<loadLayoutFile>},
    {CMD_SAVE_LAYOUT, 1, STOP | LOCKED, ANY, fixed<saveLayoutFile>},
    {CMD_RANDOM_LAYOUT, 1, STOP | LOCKED, ANY, fixed<randomLayout>},
    {CMD_HELP_FILE, 1, DIALOG, ANY, fixed<helpFileCommand>},
    {CMD_HELP_ABOUT, 1, DIALOG, ANY, fixed<aboutDialog>},
    {CMD_USE_SOUNDS, 1, LOCKED, ANY, fixed<useSounds>},
    {CMD_CHANGE_CURSOR, 1, LOCKED, ANY, fixed<changeCursor>},
    {CMD_USE_TEXTURES, 1, LOCKED, ONLY_3D, fixed<useTextures>},
    {CMD_GO3D, 1, LOCKED, ONLY_3D, fixed<switchView>},
    {LANGUAGE_LIST_FIRST, FILE_LIST_RANGE, LOCKED, ANY, fileListCommand},
    {TILESET_LIST_FIRST, FILE_LIST_RANGE, LOCKED, ANY, fileListCommand},
    {LAYOUT_LIST_FIRST, FILE_LIST_RANGE, STOP | LOCKED, ANY, fileListCommand},
    {SOUND1_NONE, FILE_LIST_RANGE, LOCKED, ANY, fileListCommand},
    {SOUND2_NONE, FILE_LIST_RANGE, LOCKED, ANY, fileListCommand},
    {SOUND3_NONE, FILE_LIST_RANGE, LOCKED, ANY, fileListCommand},
    {MUSIC_NONE, FILE_LIST_RANGE, LOCKED, ANY, fileListCommand},
    {BACKGROUND_NONE, FILE_LIST_RANGE, LOCKED, ANY, fileListCommand},
};

const CommandHandler* handlerOf(uint32_t command) {
    for (const CommandHandler& handler : commandTable)
        if (command >= handler.first && command - handler.first < handler.count &&
            (!handler.only3D || PROGRAM_HAS_3D_VIEW))
            return &handler;
    return nullptr;
}

}  // namespace

bool runCommand(WindowHandle window, uint32_t command) {
    hintShown = false;
    const CommandHandler* handler = handlerOf(command);
    if (!handler) return false;
    if (handler->policy & STOP) stopAutoplayAndWait();
    if (handler->policy & LOCKED) {
        BoardLock lock;
        handler->run(window, command);
    } else {
        handler->run(window, command);
    }
    return true;
}

void sendCommand(uint32_t command) { platformSendMessage(mainWindow, WM_COMMAND, command, 0); }
