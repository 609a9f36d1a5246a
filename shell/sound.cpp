// The three sound effects and the background music, all from soundDirectory.
//
// Files are played by their full path, resolved without regard to letter case
// in soundDirectory; the current directory is never changed, so the automatic
// player's thread can play the remove sound while the window thread opens
// files, and neither depends on the other's current directory.
#include "shell/sound.h"

#include "engine/board_lock.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "settings/directories.h"
#include "settings/settings.h"

bool hasWaveDevice() {
    if (platformAudioAvailable()) return true;
    Settings.SoundEffects = 0;
    Settings.Music[0] = 0;
    return false;
}

namespace {

const char* effectFileName(SoundEffect effect) {
    switch (effect) {
        case SelectSound: return Settings.Sound1;
        case RemoveSound: return Settings.Sound2;
        case ErrorSound: return Settings.Sound3;
    }
    return nullptr;
}

// The file of an effect, copied, or an empty name when effects are off.
void takeEffectFile(SoundEffect effect, char* name) {
    name[0] = 0;
    const char* setting = effectFileName(effect);
    if (Settings.SoundEffects == 1 && setting) copyText(name, setting, FILE_NAME_SIZE);
}

}  // namespace

void playSoundEffect(SoundEffect effect) {
    // Taken at once: the sound menus may change the setting while this
    // thread waits for the sound. The window's thread is the one that changes
    // the settings; another thread reads them under the board lock.
    char name[FILE_NAME_SIZE];
    if (onWindowThread()) {
        takeEffectFile(effect, name);
    } else {
        BoardLock lock;
        takeEffectFile(effect, name);
    }
    if (!name[0]) return;
    char path[FILE_NAME_SIZE];
    if (!platformResolvePath(soundDirectory, name, path, sizeof path)) return;
    platformPlayWaveFile(path);
}

void startMusic(WindowHandle) {
    platformCloseMusic();
    if (!Settings.Music[0]) return;
    char path[FILE_NAME_SIZE];
    if (!platformResolvePath(soundDirectory, Settings.Music, path, sizeof path)) return;
    platformPlayMusicFileInBackground(path);
}

void playMusic(WindowHandle) {
    platformCloseMusic();
    if (!Settings.Music[0]) return;
    char path[FILE_NAME_SIZE];
    // A music file that cannot be found or opened leaves the music silent.
    if (!platformResolvePath(soundDirectory, Settings.Music, path, sizeof path)) return;
    if (platformOpenMusic(path)) platformPlayMusic();
}
