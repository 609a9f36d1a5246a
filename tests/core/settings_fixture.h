// A start directory holding every default data file, for the settings tests of
// both program variants.
#pragma once
#include <cstring>
#include <string>

#include "settings/language.h"
#include "settings/settings.h"
#include "tests/core/temp_dir.h"
#include "tests/fakes/fake_ui.h"

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
