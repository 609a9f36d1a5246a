// Sound effects and music.
#pragma once
#include "platform/window.h"

enum SoundEffect { SelectSound, RemoveSound, ErrorSound };

bool hasWaveDevice();
void playSoundEffect(SoundEffect effect);
void playMusic(WindowHandle window);
