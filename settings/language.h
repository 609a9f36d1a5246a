// Interface texts read from the language files.
#pragma once
#include "settings/settings.h"

constexpr int MENU_TEXT_SIZE = 128;
constexpr int LONG_TEXT_SIZE = 4096;
constexpr int LANGUAGE_LINE_LIMIT = 1023;

#define MJ_MENU_TEXTS(X) \
    X(GAME, "") X(NEW_GAME, "\tF2") X(RESTART_GAME, "\tF3") X(EASYMODE, "") X(AUTOPLAY, "") \
    X(PAUSE_CHRONO, "\tF5") X(HINT, "\tF6") X(UNDO, "\tF7") X(SAVE_GAME, "") X(LOAD_GAME, "") \
    X(EXIT, "\tF12") X(OPTIONS, "") X(GO2D, "") X(GO3D, "") X(SHOW_CHRONO, "\tF11") \
    X(SHADOWS, "\tF9") X(CHANGE_CURSOR, "") X(LANGUAGE, "") X(NONE, "") X(MORE, "") \
    X(CONFIG, "") X(SOUNDS, "") X(CHANGE_MUSIC, "") X(CHANGE_SOUND1, "") X(CHANGE_SOUND2, "") \
    X(CHANGE_SOUND3, "") X(USE_SOUNDS, "") X(GRAPHICS, "") X(TILESET, "") X(BACKGROUND, "") \
    X(USE_TEXTURES, "") X(CHANGE_COLORS, "") X(LAYOUT, "") X(LOAD_LAYOUT, "\tF4") \
    X(SAVE_LAYOUT, "") X(HALL_OF_FAME, "\tF8") X(RANDOM_LAYOUT, "") X(HELP, "") \
    X(HELP_FILE, "\tF1") X(HELP_ABOUT, "")

#define MJ_TIP_TEXTS(X) \
    X(T_NEW_GAME) X(T_UNDO) X(T_HINT) X(T_LOAD_LAYOUT) X(T_PAUSE_CHRONO) X(T_SOUND) \
    X(T_HALL_OF_FAME) X(T_HELP_FILE) X(T_HELP_ABOUT) X(T_EXIT)

#define MJ_LONG_TEXTS(X) \
    X(MesUndo) X(MesWinLoad) X(MesWinNoHall) X(MesAutoplayError) X(MesEasyMode) X(MesScores) \
    X(MesSizeError) X(MesReadError) X(MesWriteError) X(MesNo144Tiles) X(MesNoLayout) \
    X(MesNoTileSet) X(Tiles) X(Chrono) X(MesChronoPaused) X(Sol) X(MesStatusWin) \
    X(MesStatusLose) X(FilterLayout) X(FilterSaveGame) X(OK) X(ABOUTCAPTION) X(ABOUTCOPYRIGHT) \
    X(ABOUTEMAIL) X(WINCAPTION) X(WINNAME) X(HALLFAMECAPTION) X(HALLFAMENAME) X(HALLFAMETIME) \
    X(COLORSCAPTION) X(COLORSBACK) X(COLORSSIDE) X(COLORS3DCAPTION) X(COLORS3DLEVELGRP) \
    X(COLORS3DLEVEL0) X(COLORS3DLEVEL1) X(COLORS3DLEVEL2) X(COLORS3DLEVEL3) X(COLORS3DLEVEL4) \
    X(COLORS3DCOLORSEL) X(COLORS3DTILEGRP) X(COLORS3DTILE1) X(COLORS3DTILE2) X(COLORS3DTILE3) \
    X(COLORS3DTILE4) X(CONFIGCAPTION) X(MILLISECONDS) X(AUTOPLAYDELAY) X(STRETCHTILES) \
    X(SELECTMODE) X(SELECTDARKER) X(SELECTINVERT) X(REMOVETILEDELAY) X(BORDERSIZE) \
    X(SHADOWSIZE) X(STEP3D)

// Keys that only mahjong reads; mahjong-2d skips them.
#define MJ_3D_ONLY_KEYS(X) \
    X(GO2D) X(GO3D) X(USE_TEXTURES) X(COLORS3DCAPTION) X(COLORS3DLEVELGRP) X(COLORS3DLEVEL0) \
    X(COLORS3DLEVEL1) X(COLORS3DLEVEL2) X(COLORS3DLEVEL3) X(COLORS3DLEVEL4) X(COLORS3DCOLORSEL) \
    X(COLORS3DTILEGRP) X(COLORS3DTILE1) X(COLORS3DTILE2) X(COLORS3DTILE3) X(COLORS3DTILE4) X(STEP3D)

struct LanguageTextsRecord {
#define MJ_MENU_SLOT(key, suffix) char key[MENU_TEXT_SIZE];
#define MJ_TIP_SLOT(key) char key[MENU_TEXT_SIZE];
#define MJ_LONG_SLOT(key) char key[LONG_TEXT_SIZE];
    MJ_MENU_TEXTS(MJ_MENU_SLOT)
    MJ_TIP_TEXTS(MJ_TIP_SLOT)
    MJ_LONG_TEXTS(MJ_LONG_SLOT)
#undef MJ_MENU_SLOT
#undef MJ_TIP_SLOT
#undef MJ_LONG_SLOT
};

extern LanguageTextsRecord LanguageTexts;
extern char helpFile[FILE_NAME_SIZE];

bool loadLanguage();
// Appends suffix to value and copies the result into a slot of slotSize bytes (cut to fit).
void setText(char* slot, int slotSize, const char* value, const char* suffix);
// Replaces the extension (from the last point) of name by extension, into output.
void replaceExtension(char* output, int size, const char* name, const char* extension);

// Keys that only mahjong reads (mahjong-2d skips them in language files).
bool languageKeyIs3DOnly(const char* key);
