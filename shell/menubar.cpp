// The menu tree: GAME, OPTIONS, SOUNDS (with a wave device), GRAPHICS, LAYOUT
// and HELP, with the file lists of the data directories.
#include "shell/menubar.h"

#include <cstring>

#include "settings/directories.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "shell/boardview.h"
#include "shell/commands.h"
#include "shell/filelists.h"
#include "shell/sound.h"
#include "shell/toolbar.h"

MenuHandle menuBar = nullptr;

namespace {

MenuHandle submenus[MENU_SUBMENU_LIMIT];
int submenuCount = 0;

MenuHandle newSubmenu(MenuHandle parent, const char* text) {
    MenuHandle menu = platformCreatePopupMenu();
    if (submenuCount < MENU_SUBMENU_LIMIT) submenus[submenuCount++] = menu;
    platformAppendSubmenu(parent, menu, text);
    return menu;
}

void item(MenuHandle menu, uint32_t id, const char* text) { platformAppendMenuItem(menu, id, text); }

void buildGameMenu() {
    MenuHandle game = newSubmenu(menuBar, LanguageTexts.GAME);
    item(game, CMD_NEW_GAME, LanguageTexts.NEW_GAME);
    item(game, CMD_RESTART_GAME, LanguageTexts.RESTART_GAME);
    item(game, CMD_EASYMODE, LanguageTexts.EASYMODE);
    item(game, CMD_AUTOPLAY, LanguageTexts.AUTOPLAY);
    platformAppendSeparator(game);
    item(game, CMD_PAUSE_CHRONO, LanguageTexts.PAUSE_CHRONO);
    item(game, CMD_HINT, LanguageTexts.HINT);
    item(game, CMD_UNDO, LanguageTexts.UNDO);
    platformAppendSeparator(game);
    item(game, CMD_SAVE_GAME, LanguageTexts.SAVE_GAME);
    item(game, CMD_LOAD_GAME, LanguageTexts.LOAD_GAME);
    platformAppendSeparator(game);
    item(game, CMD_EXIT, LanguageTexts.EXIT);
}

void buildOptionsMenu() {
    MenuHandle options = newSubmenu(menuBar, LanguageTexts.OPTIONS);
    if (PROGRAM_HAS_3D_VIEW) item(options, CMD_GO3D, view3D ? LanguageTexts.GO2D : LanguageTexts.GO3D);
    item(options, CMD_SHOW_CHRONO, LanguageTexts.SHOW_CHRONO);
    item(options, CMD_SHADOWS, LanguageTexts.SHADOWS);
    item(options, CMD_CHANGE_CURSOR, LanguageTexts.CHANGE_CURSOR);
    platformAppendSeparator(options);
    MenuHandle languages = newSubmenu(options, LanguageTexts.LANGUAGE);
    fillFileMenu("*.TXT", languageDirectory, Settings.Language, languages, LANGUAGE_LIST_FIRST, &languageList);
    item(options, CMD_CONFIG, LanguageTexts.CONFIG);
}

// A submenu with its NONE item, a separator and the files after them.
void buildNoneList(MenuHandle parent, const char* text, const char* pattern, const char* directory,
                   const char* setting, uint32_t none, FileListEntry** head) {
    MenuHandle menu = newSubmenu(parent, text);
    item(menu, none, LanguageTexts.NONE);
    if (setting[0] == 0) platformCheckMenuItem(menu, none, true);
    platformAppendSeparator(menu);
    fillFileMenu(pattern, directory, setting, menu, none + 1, head);
}

void buildSoundsMenu() {
    MenuHandle sounds = newSubmenu(menuBar, LanguageTexts.SOUNDS);
    buildNoneList(sounds, LanguageTexts.CHANGE_MUSIC, "*.MID", soundDirectory, Settings.Music, MUSIC_NONE,
                  &musicList);
    buildNoneList(sounds, LanguageTexts.CHANGE_SOUND1, "*.WAV", soundDirectory, Settings.Sound1, SOUND1_NONE,
                  &sound1List);
    buildNoneList(sounds, LanguageTexts.CHANGE_SOUND2, "*.WAV", soundDirectory, Settings.Sound2, SOUND2_NONE,
                  &sound2List);
    buildNoneList(sounds, LanguageTexts.CHANGE_SOUND3, "*.WAV", soundDirectory, Settings.Sound3, SOUND3_NONE,
                  &sound3List);
    item(sounds, CMD_USE_SOUNDS, LanguageTexts.USE_SOUNDS);
}

void buildGraphicsMenu() {
    MenuHandle graphics = newSubmenu(menuBar, LanguageTexts.GRAPHICS);
    MenuHandle tileSets = newSubmenu(graphics, LanguageTexts.TILESET);
    fillFileMenu("*.BMP", tileSetDirectory, Settings.TileSet, tileSets, TILESET_LIST_FIRST, &tileSetList);
    if (view3DShown())
        item(graphics, CMD_USE_TEXTURES, LanguageTexts.USE_TEXTURES);
    else
        buildNoneList(graphics, LanguageTexts.BACKGROUND, "*.BMP", backgroundDirectory, Settings.Background,
                      BACKGROUND_NONE, &backgroundList);
    item(graphics, CMD_CHANGE_COLORS, LanguageTexts.CHANGE_COLORS);
}

void buildLayoutMenu() {
    MenuHandle layout = newSubmenu(menuBar, LanguageTexts.LAYOUT);
    item(layout, CMD_LOAD_LAYOUT, LanguageTexts.LOAD_LAYOUT);
    item(layout, CMD_SAVE_LAYOUT, LanguageTexts.SAVE_LAYOUT);
    item(layout, CMD_HALL_OF_FAME, LanguageTexts.HALL_OF_FAME);
    platformAppendSeparator(layout);
    fillFileMenu("*.MYL", layoutDirectory, layoutName, layout, LAYOUT_LIST_FIRST, &layoutList);
    platformAppendSeparator(layout);
    item(layout, CMD_RANDOM_LAYOUT, LanguageTexts.RANDOM_LAYOUT);
}

void buildHelpMenu() {
    MenuHandle help = newSubmenu(menuBar, LanguageTexts.HELP);
    item(help, CMD_HELP_FILE, LanguageTexts.HELP_FILE);
    item(help, CMD_HELP_ABOUT, LanguageTexts.HELP_ABOUT);
}

void setCheck(uint32_t id, bool on) { platformCheckMenuItem(menuBar, id, on); }

}  // namespace

void buildMenuBar(WindowHandle window) {
    destroyMenuBar();
    menuBar = platformCreateMenuBar();
    buildGameMenu();
    buildOptionsMenu();
    if (hasWaveDevice()) buildSoundsMenu();
    buildGraphicsMenu();
    buildLayoutMenu();
    buildHelpMenu();
    platformAttachMenuBar(window, menuBar);
    if (Settings.CoolMenu == 1) {
        makeMenuIcons(window);
        for (int i = 0; i < MENU_ICON_COUNT; ++i)
            if (iconCommands[i] != CMD_USE_SOUNDS) platformSetMenuItemIcon(menuBar, iconCommands[i], &menuIcons[i]);
    }
    refreshMenuChecks();
    if (std::strcmp(layoutName, RANDOM_LAYOUT_NAME) == 0) setCheck(CMD_RANDOM_LAYOUT, true);
}

void destroyMenuBar() {
    for (int i = 0; i < submenuCount; ++i) platformDestroyMenu(submenus[i]);
    submenuCount = 0;
    if (menuBar) platformDestroyMenu(menuBar);
    menuBar = nullptr;
    freeFileList(&languageList);
    freeFileList(&tileSetList);
    freeFileList(&layoutList);
    freeFileList(&sound1List);
    freeFileList(&sound2List);
    freeFileList(&sound3List);
    freeFileList(&musicList);
    freeFileList(&backgroundList);
}

void refreshMenuChecks() {
    if (!menuBar) return;
    setCheck(CMD_SHOW_CHRONO, Settings.ShowChrono == 1);
    setCheck(CMD_EASYMODE, Settings.EasyMode == 1);
    setCheck(CMD_USE_SOUNDS, Settings.SoundEffects == 1);
    setCheck(CMD_SHADOWS, Settings.Shadows == 1);
    setCheck(CMD_CHANGE_CURSOR, Settings.NewCursors == 1);
    if (PROGRAM_HAS_3D_VIEW) setCheck(CMD_USE_TEXTURES, view3D && Settings.Textures == 1);
}
