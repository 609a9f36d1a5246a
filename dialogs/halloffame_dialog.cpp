// The hall of fame of the current layout: ten names and times, best first.
#include <cstring>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "gamefiles/halloffame.h"
#include "platform/dialogs.h"
#include "platform/ui.h"
#include "settings/language.h"

namespace {

// Entries may come from a scores file or a saved game: never read past a field.
void setFieldText(WindowHandle dialog, int32_t id, const char* field, size_t size) {
    char text[32];
    size_t length = strnlen(field, size);
    if (length >= sizeof text) length = sizeof text - 1;
    std::memcpy(text, field, length);
    text[length] = '\0';
    platformSetItemText(dialog, id, text);
}

int32_t hallOfFameProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    switch (message) {
        case WM_INITDIALOG:
            platformSetWindowTitle(dialog, LanguageTexts.HALLFAMECAPTION);
            platformSetItemText(dialog, HALL_OK, LanguageTexts.OK);
            platformSetItemText(dialog, HALL_NAME_HEADING, LanguageTexts.HALLFAMENAME);
            platformSetItemText(dialog, HALL_TIME_HEADING, LanguageTexts.HALLFAMETIME);
            for (int r = 0; r < HALL_ROWS; ++r) {
                setFieldText(dialog, HALL_FIRST_NAME + r, hallOfFame[r].name, sizeof hallOfFame[r].name);
                setFieldText(dialog, HALL_FIRST_TIME + r, hallOfFame[r].time, sizeof hallOfFame[r].time);
            }
            return 0;
        case WM_COMMAND:
            if ((int32_t)first == HALL_OK) platformEndDialog(dialog, 1);
            return 0;
        default: return 0;
    }
}

}  // namespace

void hallOfFameDialog(WindowHandle owner) {
    platformRunDialog(owner, &hallOfFameTemplate, hallOfFameProc, 0);
}
