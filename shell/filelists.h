// Menus filled from the data directories: languages, tile sets, layouts,
// sounds, music and backgrounds.
#pragma once
#include <cstdint>
#include "platform/menus.h"
#include "platform/window.h"
#include "settings/directories.h"

extern FileListEntry* languageList;
extern FileListEntry* tileSetList;
extern FileListEntry* layoutList;
extern FileListEntry* sound1List;
extern FileListEntry* sound2List;
extern FileListEntry* sound3List;
extern FileListEntry* musicList;
extern FileListEntry* backgroundList;

// Lists the files of `directory` matching `pattern` into *head, sorted by
// displayName (byte-wise). With a menu, appends them with identifiers first,
// first + 1, ..., checking the one whose fileName equals `current`; more than
// menuListLimit entries go by groups into MORE submenus. Returns the count.
int fillFileMenu(const char* pattern, const char* directory, const char* current, MenuHandle menu,
                 uint32_t first, FileListEntry** head);
void freeFileList(FileListEntry** head);

// Takes the entry carrying `command` into `current` (FILE_LIST_NAME_SIZE
// bytes) and moves the check marks; returns whether an entry carries it.
bool selectListedFile(uint32_t command, char* current, MenuHandle bar, uint32_t first,
                      FileListEntry* head);
// Checks the first entry whose fileName equals `name`; returns whether found.
bool selectListedFileByName(const char* name, MenuHandle bar, uint32_t first, FileListEntry* head);

// The file-list commands (languages to backgrounds); false when `command`
// lies in none of the ranges.
bool runFileListCommand(WindowHandle window, uint32_t command);
