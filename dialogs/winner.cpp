// The winner's name: asked when the board is cleared, kept in playerName.
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "engine/board.h"
#include "platform/dialogs.h"
#include "platform/ui.h"
#include "settings/language.h"

namespace {

int32_t winnerProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    switch (message) {
        case WM_INITDIALOG:
            platformSetWindowTitle(dialog, LanguageTexts.WINCAPTION);
            platformSetItemText(dialog, WINNER_OK, LanguageTexts.OK);
            platformSetItemText(dialog, WINNER_PROMPT, LanguageTexts.WINNAME);
            platformSetItemText(dialog, WINNER_NAME, "");
            return 0;
        case WM_COMMAND:
            if ((int32_t)first == WINNER_OK) {
                // At most 21 characters: playerName holds 22 bytes with the terminator.
                platformGetItemText(dialog, WINNER_NAME, playerName, sizeof playerName);
                platformEndDialog(dialog, 1);
            }
            return 0;
        default: return 0;  // a close request leaves the dialog open
    }
}

}  // namespace

void winnerNameDialog(WindowHandle owner) {
    platformRunDialog(owner, &winnerNameTemplate, winnerProc, 0);
}
