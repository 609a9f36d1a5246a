// The about box: program title, two fixed lines and the language's copyright
// and e-mail texts. OK or a close request ends it.
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "platform/dialogs.h"
#include "platform/ui.h"
#include "settings/language.h"
#include "settings/settings.h"

namespace {

int32_t aboutProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    switch (message) {
        case WM_INITDIALOG:
            platformSetWindowTitle(dialog, LanguageTexts.ABOUTCAPTION);
            platformSetItemText(dialog, ABOUT_TITLE, PROGRAM_TITLE);
            platformSetItemText(dialog, ABOUT_OK, LanguageTexts.OK);
            platformSetItemText(dialog, ABOUT_COPYRIGHT, LanguageTexts.ABOUTCOPYRIGHT);
            platformSetItemText(dialog, ABOUT_EMAIL, LanguageTexts.ABOUTEMAIL);
            return 0;
        case WM_COMMAND:
            if ((int32_t)first == ABOUT_OK) platformEndDialog(dialog, 1);
            return 0;
        case WM_CLOSE:
            platformEndDialog(dialog, 1);
            return 0;
        default: return 0;
    }
}

}  // namespace

void aboutDialog(WindowHandle owner) { platformRunDialog(owner, &aboutTemplate, aboutProc, 0); }
