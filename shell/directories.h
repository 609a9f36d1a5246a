// The start directory and the data directories below it.
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
