// A start directory holding every default data file, for the settings tests of
// both program variants.
#pragma once
#include <cstring>
#include <string>

#include "settings/language.h"
#include "settings/settings.h"
#include "tests/core/temp_dir.h"
#include "tests/support/null_host.h"

// What mahjong-2d writes after a first run with the fake window rectangle
// (10, 20) - (810, 620); mahjong writes the 3D block after it.
inline const char* const DEFAULT_FILE_2D =
    "; Velmora's mah-jong v2.0 INI File, do not edit\r\n"
    "\r\nBackgroundColor = 0 160 0"
    "\r\nSidesColor      = 184 120 24"
    "\r\nEasyMode        = 1"
    "\r\nAutoPlaySleep   = 500"
    "\r\nRemoveTileTime  = 500"
    "\r\nShowChrono      = 1"
    "\r\nShadows         = 0"
    "\r\nStretchTiles    = 1"
    "\r\nSelectMode      = DARKER"
    "\r\nLanguage        = \"ENGLISH.TXT\""
    "\r\nLayout          = \"DEFAULT.MYL\""
    "\r\nTileSet         = \"STANDARD.BMP\""
    "\r\nBackground      = \"SUNSET.BMP\""
    "\r\nSoundEffects    = 1"
    "\r\nSound1          = \"SELECT.WAV\""
    "\r\nSound2          = \"REMOVE.WAV\""
    "\r\nSound3          = \"BESIDE.WAV\""
    "\r\nMusic           = \"MOZK478.MID\""
    "\r\nWindowXPos      = 10"
    "\r\nWindowYPos      = 20"
    "\r\nWindowXSize     = 800"
    "\r\nWindowYSize     = 600"
    "\r\nShadowsValue    = 64"
    "\r\nNewCursors      = 0"
    "\r\nBorderSize      = 8"
    "\r\nShadowSize      = 4"
    "\r\nCoolMenu        = 0";

inline void writeDefaultDataFiles(const TempStartDirectory& start) {
    start.write("LANGUAGE/ENGLISH.TXT",
                "; test texts\r\nMesNoLayout \"no layout\"\r\nMesNoTileSet \"no tile set\"\r\n"
                "MesWriteError \"cannot be written\"\r\nMesReadError \"cannot be read\"\r\n"
                "MesSizeError \"wrong size\"\r\n");
    start.write("LANGUAGE/ENGLISH.HLP", "help");
    start.write("LAYOUTS/DEFAULT.MYL", "0 0 0\r\n");
    start.write("TILESETS/STANDARD.BMP", "BM");
    start.write("BACKGRND/SUNSET.BMP", "BM");
    start.write("SOUNDS/SELECT.WAV", "RIFF");
    start.write("SOUNDS/REMOVE.WAV", "RIFF");
    start.write("SOUNDS/BESIDE.WAV", "RIFF");
    start.write("SOUNDS/MOZK478.MID", "MThd");
}

// The state the start-up leaves before loadSettings: Language chosen, the
// rest of the record whatever an earlier run left.
inline void startUpState(const char* language = "ENGLISH.TXT") {
    fake::reset();
    memset(&Settings, 0x5A, sizeof Settings);
    copyText(Settings.Language, language, FILE_NAME_SIZE);
    memset(&LanguageTexts, 0, sizeof LanguageTexts);
}
