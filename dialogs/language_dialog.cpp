// The first-run language choice, shown before any language file is read, so
// its texts are fixed English ones.
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "platform/dialogs.h"
#include "platform/ui.h"
#include "settings/settings.h"

namespace {

char lowerLetter(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

bool sameIgnoringCase(const char* a, const char* b) {
    while (*a && lowerLetter(*a) == lowerLetter(*b)) {
        ++a;
        ++b;
    }
    return lowerLetter(*a) == lowerLetter(*b);
}

bool same(const char* a, const char* b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// The files listed in the dialog.
const FileListEntry* shownLanguages = nullptr;

int32_t languageProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    switch (message) {
        case WM_INITDIALOG:
            platformSetWindowTitle(dialog, PROGRAM_TITLE);
            platformListClear(dialog, LANGUAGE_LIST);
            for (const FileListEntry* entry = shownLanguages; entry; entry = entry->next)
                platformListAdd(dialog, LANGUAGE_LIST, entry->displayName);
            for (const FileListEntry* entry = shownLanguages; entry; entry = entry->next)
                if (sameIgnoringCase(entry->fileName, Settings.Language))
                    platformListSelectPrefix(dialog, LANGUAGE_LIST, entry->displayName);
            return 0;
        case WM_COMMAND:
            if ((int32_t)first == LANGUAGE_OK) {
                static char selected[FILE_NAME_SIZE];
                if (platformListGetSelectedText(dialog, LANGUAGE_LIST, selected, sizeof selected))
                    for (const FileListEntry* entry = shownLanguages; entry; entry = entry->next)
                        if (same(entry->displayName, selected))
                            copyText(Settings.Language, entry->fileName, FILE_NAME_SIZE);
                platformEndDialog(dialog, 1);
            }
            return 0;
        default: return 0;
    }
}

}  // namespace

void languageDialog(const FileListEntry* languages) {
    shownLanguages = languages;
    platformRunDialog(nullptr, &languageTemplate, languageProc, 0);
}
