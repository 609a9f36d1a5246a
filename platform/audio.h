// Sound output: wave files played synchronously and one piece of MIDI music.
// The audio device is opened on first use, once per process. Every function
// may be called from any thread; effects are played one at a time.
#pragma once

// True when an audio output device could be opened. A null output (the
// "dummy" driver) counts as no device.
bool platformAudioAvailable();

// Plays a wave file given by its full path and returns when it has finished.
// A file that cannot be loaded, or no device, plays nothing.
void platformPlayWaveFile(const char* path);

// Loads a music file (MIDI or any other format the mixer reads) given by its
// full path, closing the music opened before. False when it cannot be loaded.
bool platformOpenMusic(const char* path);
// Loads a music file and plays it once, both on a thread of its own, so that
// the caller does not wait while the synthesiser reads its sound font. A music
// command given meanwhile (opening, closing, or another of these) wins: the
// file is then not played.
void platformPlayMusicFileInBackground(const char* path);
// Plays the open music once from its beginning; playing it again restarts it.
bool platformPlayMusic();
// Stops and closes the open music; harmless when none is open.
void platformCloseMusic();
// True while music is playing.
bool platformMusicPlaying();

// Stops everything and closes the device; the next call opens it again.
void platformAudioShutdown();
