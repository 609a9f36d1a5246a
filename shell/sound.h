// Sound effects and music.
#pragma once
#include "engine/host.h"
#include "platform/window.h"

bool hasWaveDevice();
// Plays the effect's file synchronously. From the window's thread, or from
// the automatic player's thread without the board lock (the settings are read
// under it there).
void playSoundEffect(SoundEffect effect);
void playMusic(WindowHandle window);
