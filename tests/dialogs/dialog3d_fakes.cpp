// The shell and view functions the 3D core and dialogs reach, as counters:
// mahjong's board views are not linked into these tests.
#include "settings/settings.h"
#include "shell/filedialog.h"
#include "shell/filelists.h"
#include "shell/sound.h"
#include "shell/startup.h"
#include "shell/statusbar.h"
#include "tests/dialogs/dialog3d_fakes.h"
#include "view2d/tileset.h"
#include "view3d/gl_context.h"

namespace fake3d {
int fitFaceSizeCount = 0;
int initGLStateCount = 0;
}  // namespace fake3d

FileListEntry* languageList = nullptr;

void fitFaceSize(WindowHandle) { ++fake3d::fitFaceSizeCount; }
void initGLState() { ++fake3d::initGLStateCount; }

void updateStatusBar(WindowHandle) {}
void playSoundEffect(SoundEffect) {}
void releaseResources(WindowHandle) {}
bool chooseFile(WindowHandle, const char*, char*, const char*, const char*, bool) { return false; }
