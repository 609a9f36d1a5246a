// The file lists of the menus: languages, tile sets, layouts, sounds, music
// and backgrounds, sorted by their shown names.
#include "shell/filelists.h"

#include <cstdlib>
#include <cstring>

#include "engine/deal.h"
#include "engine/layout.h"
#include "platform/files.h"
#include "settings/directories.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "shell/boardview.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"
#include "shell/menubar.h"
#include "shell/sound.h"
#include "view2d/tileset.h"

FileListEntry* languageList = nullptr;
FileListEntry* tileSetList = nullptr;
FileListEntry* layoutList = nullptr;
FileListEntry* sound1List = nullptr;
FileListEntry* sound2List = nullptr;
FileListEntry* sound3List = nullptr;
FileListEntry* musicList = nullptr;
FileListEntry* backgroundList = nullptr;

namespace {

struct ListBuild {
    FileListEntry** head;
    int count;
};

// Inserts entry after every entry whose displayName sorts before its own.
void insertSorted(FileListEntry** head, FileListEntry* entry) {
    if (std::strcmp(entry->displayName, (*head)->displayName) < 0) {
        entry->next = *head;
        *head = entry;
        return;
    }
    FileListEntry* place = *head;
    while (place->next && std::strcmp(place->next->displayName, entry->displayName) < 0) place = place->next;
    entry->next = place->next;
    place->next = entry;
}

void addFoundFile(const char* name, void* context) {
    ListBuild* build = static_cast<ListBuild*>(context);
    FileListEntry* entry = static_cast<FileListEntry*>(std::malloc(sizeof(FileListEntry)));
    if (!entry) return;
    copyText(entry->displayName, name, FILE_LIST_NAME_SIZE);
    char* point = std::strrchr(entry->displayName, '.');
    if (point) *point = 0;
    copyText(entry->fileName, name, FILE_LIST_NAME_SIZE);
    upperCase(entry->fileName);
    entry->next = nullptr;
    if (build->count == 0) {
        // The first file found starts the list anew; an older list still held
        // in the head is freed rather than lost.
        freeFileList(build->head);
        *build->head = entry;
    } else {
        insertSorted(build->head, entry);
    }
    ++build->count;
}

// "&" marks a mnemonic in menu texts; file names show as they are.
void appendFileItem(MenuHandle menu, uint32_t id, const char* displayName) {
    static char text[2 * FILE_LIST_NAME_SIZE];
    int n = 0;
    for (const char* c = displayName; *c && n < (int)sizeof text - 2; ++c) {
        if (*c == '&') text[n++] = '&';
        text[n++] = *c;
    }
    text[n] = 0;
    platformAppendMenuItem(menu, id, text);
}

void appendEntries(MenuHandle menu, const char* current, uint32_t first, FileListEntry* head, int count) {
    const int limit = menuListLimit < 1 ? 1 : menuListLimit;
    uint32_t id = first;
    FileListEntry* entry = head;
    int remaining = count;
    while (entry) {
        MenuHandle target = menu;
        int take = remaining;
        if (remaining > limit) {
            target = platformCreatePopupMenu();
            take = limit;
        }
        for (int i = 0; i < take && entry; ++i, ++id, entry = entry->next) {
            appendFileItem(target, id, entry->displayName);
            if (current && std::strcmp(entry->fileName, current) == 0) platformCheckMenuItem(target, id, true);
        }
        if (target != menu) platformAppendSubmenu(menu, target, LanguageTexts.MORE);
        remaining -= take;
    }
}

// Moves the check marks of one list: the entry carrying `command` (or, with a
// name, the first whose fileName equals it) is checked and, with `current`,
// copied into it. Returns whether an entry was taken.
bool markListed(uint32_t command, const char* name, char* current, MenuHandle bar, uint32_t first,
                FileListEntry* head) {
    platformCheckMenuItem(bar, CMD_RANDOM_LAYOUT, false);
    bool taken = false;
    uint32_t id = first;
    for (FileListEntry* entry = head; entry; entry = entry->next, ++id) {
        platformCheckMenuItem(bar, id, false);
        const bool hit = name ? std::strcmp(entry->fileName, name) == 0 : id == command;
        if (hit && !taken) {
            if (current) copyText(current, entry->fileName, FILE_LIST_NAME_SIZE);
            platformCheckMenuItem(bar, id, true);
            taken = true;
        }
    }
    if (std::strcmp(layoutName, RANDOM_LAYOUT_NAME) == 0) platformCheckMenuItem(bar, CMD_RANDOM_LAYOUT, true);
    return taken;
}

// A list with a NONE item at `none`: NONE empties the setting, a file takes it.
bool selectWithNone(uint32_t command, uint32_t none, char* setting, FileListEntry* head) {
    platformCheckMenuItem(menuBar, none, false);
    if (command == none) {
        setting[0] = 0;
        platformCheckMenuItem(menuBar, none, true);
    }
    return selectListedFile(command, setting, menuBar, none + 1, head);
}

bool inRange(uint32_t command, uint32_t base) { return command >= base && command < base + FILE_LIST_RANGE; }

}  // namespace

int fillFileMenu(const char* pattern, const char* directory, const char* current, MenuHandle menu,
                 uint32_t first, FileListEntry** head) {
    if (!platformSetCurrentDirectory(directory)) {
        returnToStartDirectory();
        return 0;
    }
    ListBuild build = {head, 0};
    platformFindFiles(pattern, addFoundFile, &build);
    if (menu && build.count > 0) appendEntries(menu, current, first, *head, build.count);
    returnToStartDirectory();
    return build.count;
}

void freeFileList(FileListEntry** head) {
    FileListEntry* entry = *head;
    while (entry) {
        FileListEntry* next = entry->next;
        std::free(entry);
        entry = next;
    }
    *head = nullptr;
}

bool selectListedFile(uint32_t command, char* current, MenuHandle bar, uint32_t first, FileListEntry* head) {
    return markListed(command, nullptr, current, bar, first, head);
}

bool selectListedFileByName(const char* name, MenuHandle bar, uint32_t first, FileListEntry* head) {
    return markListed(0, name, nullptr, bar, first, head);
}

bool runFileListCommand(WindowHandle window, uint32_t command) {
    if (inRange(command, LANGUAGE_LIST_FIRST)) {
        if (selectListedFile(command, Settings.Language, menuBar, LANGUAGE_LIST_FIRST, languageList)) {
            loadLanguage();
            buildMenuBar(window);
        }
    } else if (inRange(command, TILESET_LIST_FIRST)) {
        if (selectListedFile(command, Settings.TileSet, menuBar, TILESET_LIST_FIRST, tileSetList)) {
            loadTileSetIntoViews(window);
            releasePicturesLater(window);
            paintBoard(window);
        }
    } else if (inRange(command, LAYOUT_LIST_FIRST)) {
        if (selectListedFile(command, layoutName, menuBar, LAYOUT_LIST_FIRST, layoutList)) {
            loadLayout(window);
            newDeal(window);
        }
    } else if (inRange(command, SOUND1_NONE)) {
        selectWithNone(command, SOUND1_NONE, Settings.Sound1, sound1List);
    } else if (inRange(command, SOUND2_NONE)) {
        selectWithNone(command, SOUND2_NONE, Settings.Sound2, sound2List);
    } else if (inRange(command, SOUND3_NONE)) {
        selectWithNone(command, SOUND3_NONE, Settings.Sound3, sound3List);
    } else if (inRange(command, MUSIC_NONE)) {
        selectWithNone(command, MUSIC_NONE, Settings.Music, musicList);
        playMusic(window);
    } else if (inRange(command, BACKGROUND_NONE)) {
        if (selectWithNone(command, BACKGROUND_NONE, Settings.Background, backgroundList)) {
            loadBackground(window);
            releasePicturesLater(window);
        }
        paintBoard(window);
    } else {
        return false;
    }
    return true;
}
