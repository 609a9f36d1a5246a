#include "settings/directories.h"

#include <cstdio>

#include "platform/files.h"

char startDirectory[FILE_NAME_SIZE];
char tileSetDirectory[FILE_NAME_SIZE];
char languageDirectory[FILE_NAME_SIZE];
char layoutDirectory[FILE_NAME_SIZE];
char soundDirectory[FILE_NAME_SIZE];
char scoreDirectory[FILE_NAME_SIZE];
char saveGameDirectory[FILE_NAME_SIZE];
char backgroundDirectory[FILE_NAME_SIZE];

static void joinDirectory(char* output, const char* suffix) {
    int written = snprintf(output, FILE_NAME_SIZE, "%s%s", startDirectory, suffix);
    if (written < 0 || written >= FILE_NAME_SIZE) output[0] = 0;  // a path that does not fit names nothing
}

void makeDataDirectories() {
    if (!platformGetCurrentDirectory(startDirectory, sizeof startDirectory)) startDirectory[0] = 0;
    joinDirectory(tileSetDirectory, "/TILESETS/");
    joinDirectory(languageDirectory, "/LANGUAGE/");
    joinDirectory(layoutDirectory, "/LAYOUTS/");
    joinDirectory(soundDirectory, "/SOUNDS/");
    joinDirectory(scoreDirectory, "/SCORES/");
    joinDirectory(saveGameDirectory, "/SAVEGAME/");
    joinDirectory(backgroundDirectory, "/BACKGRND/");
}

void returnToStartDirectory() { platformSetCurrentDirectory(startDirectory); }
