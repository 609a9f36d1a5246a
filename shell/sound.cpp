// The three sound effects and the background music, all from soundDirectory.
//
// Files are played by their full path, resolved without regard to letter case
// in soundDirectory; the current directory is never changed, so the automatic
// player's thread can play the remove sound while the window thread opens
// files, and neither depends on the other's current directory.
#include "shell/sound.h"

#include "platform/audio.h"
#include "platform/files.h"
#include "settings/settings.h"
#include "shell/directories.h"

bool hasWaveDevice() {
    if (platformAudioAvailable()) return true;
    Settings.SoundEffects = 0;
    Settings.Music[0] = 0;
    return false;
}

static const char* effectFileName(SoundEffect effect) {
    switch (effect) {
        case SelectSound: return Settings.Sound1;
        case RemoveSound: return Settings.Sound2;
        case ErrorSound: return Settings.Sound3;
    }
    return nullptr;
}

void playSoundEffect(SoundEffect effect) {
    if (Settings.SoundEffects != 1) return;
    const char* setting = effectFileName(effect);
    if (!setting) return;
    // Taken at once: the sound menus may change the setting while this
    // thread waits for the sound.
    char name[FILE_NAME_SIZE];
    copyText(name, setting, sizeof name);
    if (!name[0]) return;
    char path[FILE_NAME_SIZE];
    if (!platformResolvePath(soundDirectory, name, path, sizeof path)) return;
    platformPlayWaveFile(path);
}

void playMusic(WindowHandle) {
    platformCloseMusic();
    if (!Settings.Music[0]) return;
    char path[FILE_NAME_SIZE];
    // A music file that cannot be found or opened leaves the music silent.
    if (!platformResolvePath(soundDirectory, Settings.Music, path, sizeof path)) return;
    if (platformOpenMusic(path)) platformPlayMusic();
}
