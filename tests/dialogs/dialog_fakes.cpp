// What the shell supplies to the core and the dialogs in the programs: the
// language file list, the status bar, sounds, resources and the file dialog.
#include "settings/settings.h"
#include "shell/filedialog.h"
#include "shell/filelists.h"
#include "shell/sound.h"
#include "shell/statusbar.h"
#include "shell/startup.h"

FileListEntry* languageList = nullptr;

void updateStatusBar(WindowHandle) {}
void playSoundEffect(SoundEffect) {}
void releaseResources(WindowHandle) {}
bool chooseFile(WindowHandle, const char*, char*, const char*, const char*, bool) { return false; }
