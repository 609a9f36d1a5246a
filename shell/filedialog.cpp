// The open and save dialogs of the layout and saved-game commands.
#include "shell/filedialog.h"

#include "engine/board_lock.h"
#include "platform/filedialogs.h"
#include "settings/settings.h"

bool chooseFile(WindowHandle window, const char* directory, char* outName, const char* pattern,
                const char* filterText, bool open) {
    char name[FILE_NAME_SIZE] = "";
    BoardUnlocked unlocked;  // a modal dialog: its event loop repaints, which takes the lock
    if (!platformFileDialog(window, open, directory, pattern, filterText, PROGRAM_TITLE, name, sizeof name))
        return false;
    copyText(outName, name, FILE_NAME_SIZE);
    return true;
}
