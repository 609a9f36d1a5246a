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
// As playMusic, at the start of the program: the file is loaded and started on
// a thread of its own, so that the first frame does not wait for the
// synthesiser's sound font. A music choice made meanwhile wins.
void startMusic(WindowHandle window);
