// The start directory, the data directories below it, and the entries of a
// listing of one of them (the file lists of the menus, the language choice).
#pragma once
#include "settings/settings.h"

extern char startDirectory[FILE_NAME_SIZE];
extern char tileSetDirectory[FILE_NAME_SIZE];
extern char languageDirectory[FILE_NAME_SIZE];
extern char layoutDirectory[FILE_NAME_SIZE];
extern char soundDirectory[FILE_NAME_SIZE];
extern char scoreDirectory[FILE_NAME_SIZE];
extern char saveGameDirectory[FILE_NAME_SIZE];
extern char backgroundDirectory[FILE_NAME_SIZE];

void makeDataDirectories();
// Makes startDirectory the current directory again.
void returnToStartDirectory();

constexpr int FILE_LIST_NAME_SIZE = 4096;

struct FileListEntry {
    char fileName[FILE_LIST_NAME_SIZE];     // as found, in upper case
    char displayName[FILE_LIST_NAME_SIZE];  // as found, cut at its last "."
    FileListEntry* next;
};
