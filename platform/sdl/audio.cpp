// Sound output on SDL2_mixer. MIDI music is rendered by the mixer's
// FluidSynth backend with a General MIDI sound font.
#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

const int OUTPUT_RATE = 44100;
const Uint16 OUTPUT_FORMAT = AUDIO_S16SYS;
const int OUTPUT_CHANNELS = 2;
const int OUTPUT_CHUNK_FRAMES = 1024;
// An effect that has not finished this long after its own length is stopped,
// so that a stalled device cannot hold the calling thread for ever.
const Uint32 EFFECT_GRACE_MS = 2000;
const Uint32 EFFECT_POLL_MS = 5;

// Sound fonts tried in order when the user has not named one in SDL_SOUNDFONTS.
const char* const SOUND_FONTS[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};

enum AudioState { AUDIO_UNTRIED, AUDIO_OPEN, AUDIO_NONE };

// Lock order: effectLock, then musicLock, then stateLock. stateLock is only
// ever held for a short time; effectLock is held while an effect plays.
std::mutex effectLock;
std::mutex musicLock;
std::mutex stateLock;
AudioState audioState = AUDIO_UNTRIED;
Mix_Music* music = nullptr;  // guarded by musicLock

void chooseSoundFont() {
    const char* userFonts = getenv("SDL_SOUNDFONTS");
    if (userFonts && userFonts[0]) return;
    for (const char* font : SOUND_FONTS) {
        if (access(font, R_OK) == 0) {
            Mix_SetSoundFonts(font);
            return;
        }
    }
}

// Opens the device on the first call; later calls report the outcome.
bool ensureAudio() {
    std::lock_guard<std::mutex> guard(stateLock);
    if (audioState != AUDIO_UNTRIED) return audioState == AUDIO_OPEN;
    audioState = AUDIO_NONE;
    // The window layer handles SIGINT and SIGTERM; SDL must not take them over.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || strcmp(driver, "dummy") == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    chooseSoundFont();
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(OUTPUT_RATE, OUTPUT_FORMAT, OUTPUT_CHANNELS, OUTPUT_CHUNK_FRAMES) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audioState = AUDIO_OPEN;
    return true;
}

bool audioIsOpen() {
    std::lock_guard<std::mutex> guard(stateLock);
    return audioState == AUDIO_OPEN;
}

// Milliseconds the chunk lasts at the device's format.
Uint32 chunkDuration(const Mix_Chunk* chunk) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&rate, &format, &channels) || rate <= 0 || channels <= 0) return 0;
    Uint32 bytesPerSecond = Uint32(rate) * Uint32(channels) * (SDL_AUDIO_BITSIZE(format) / 8);
    if (bytesPerSecond == 0) return 0;
    return Uint32(Uint64(chunk->alen) * 1000 / bytesPerSecond);
}

void closeMusicLocked() {
    if (!music) return;
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    music = nullptr;
}

}  // namespace

bool platformAudioAvailable() { return ensureAudio(); }

void platformPlayWaveFile(const char* path) {
    if (!path || !path[0]) return;
    std::lock_guard<std::mutex> guard(effectLock);
    if (!ensureAudio()) return;
    Mix_Chunk* chunk = Mix_LoadWAV(path);
    if (!chunk) return;
    int channel = Mix_PlayChannel(-1, chunk, 0);
    if (channel >= 0) {
        Uint32 limit = chunkDuration(chunk) + EFFECT_GRACE_MS;
        Uint32 start = SDL_GetTicks();
        while (Mix_Playing(channel)) {
            if (SDL_GetTicks() - start > limit) {
                Mix_HaltChannel(channel);
                break;
            }
            SDL_Delay(EFFECT_POLL_MS);
        }
    }
    Mix_FreeChunk(chunk);
}

bool platformOpenMusic(const char* path) {
    std::lock_guard<std::mutex> guard(musicLock);
    closeMusicLocked();
    if (!path || !path[0] || !ensureAudio()) return false;
    music = Mix_LoadMUS(path);
    return music != nullptr;
}

bool platformPlayMusic() {
    std::lock_guard<std::mutex> guard(musicLock);
    if (!music) return false;
    Mix_HaltMusic();
    return Mix_PlayMusic(music, 0) == 0;  // no repeat: once to its end
}

void platformCloseMusic() {
    std::lock_guard<std::mutex> guard(musicLock);
    if (music && audioIsOpen()) closeMusicLocked();
}

bool platformMusicPlaying() {
    std::lock_guard<std::mutex> guard(musicLock);
    return music && audioIsOpen() && Mix_PlayingMusic();
}

void platformAudioShutdown() {
    std::lock_guard<std::mutex> effectGuard(effectLock);
    std::lock_guard<std::mutex> musicGuard(musicLock);
    std::lock_guard<std::mutex> stateGuard(stateLock);
    if (audioState == AUDIO_OPEN) {
        closeMusicLocked();
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    audioState = AUDIO_UNTRIED;
}
