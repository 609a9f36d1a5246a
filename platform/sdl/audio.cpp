// Sound output on SDL2_mixer. MIDI music is rendered by the mixer's
// FluidSynth backend with a General MIDI sound font.
//
// The two libraries are opened when sound is first asked for, not when the
// program starts: SDL_mixer brings some thirty decoder and synthesiser
// libraries with it, which a machine without a sound device never needs, and
// which no program start should wait for. SDL is asked whether there is a
// device; only then is the mixer opened.
#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <strings.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

namespace {

const int OUTPUT_RATE = 44100;
const Uint16 OUTPUT_FORMAT = AUDIO_S16SYS;
const int OUTPUT_CHANNELS = 2;
const int OUTPUT_CHUNK_FRAMES = 1024;
// An effect that has not finished this long after its own length is stopped,
// so that a stalled device cannot hold the calling thread for ever.
const int EFFECT_GRACE_MS = 2000;
const int EFFECT_POLL_MS = 5;

const char* const SDL_LIBRARY = "libSDL2-2.0.so.0";
const char* const MIXER_LIBRARY = "libSDL2_mixer-2.0.so.0";

// Sound fonts tried in order when the user has not named one in SDL_SOUNDFONTS.
const char* const SOUND_FONTS[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};

// The calls made into the two libraries, found once they are opened.
struct SdlCalls {
    decltype(&SDL_SetHint) SetHint;
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_QuitSubSystem) QuitSubSystem;
    decltype(&SDL_GetCurrentAudioDriver) GetCurrentAudioDriver;
    decltype(&SDL_RWFromFile) RWFromFile;
} sdl;

struct MixerCalls {
    decltype(&Mix_SetSoundFonts) SetSoundFonts;
    decltype(&Mix_Init) Init;
    decltype(&Mix_Quit) Quit;
    decltype(&Mix_OpenAudio) OpenAudio;
    decltype(&Mix_CloseAudio) CloseAudio;
    decltype(&Mix_QuerySpec) QuerySpec;
    decltype(&Mix_LoadWAV_RW) LoadWAV_RW;
    decltype(&Mix_FreeChunk) FreeChunk;
    decltype(&Mix_PlayChannelTimed) PlayChannelTimed;
    decltype(&Mix_Playing) Playing;
    decltype(&Mix_HaltChannel) HaltChannel;
    decltype(&Mix_LoadMUS) LoadMUS;
    decltype(&Mix_FreeMusic) FreeMusic;
    decltype(&Mix_PlayMusic) PlayMusic;
    decltype(&Mix_HaltMusic) HaltMusic;
    decltype(&Mix_PlayingMusic) PlayingMusic;
} mix;

template <typename Call>
bool find(void* library, const char* name, Call* call) {
    void* address = dlsym(library, name);
    *call = reinterpret_cast<Call>(address);
    return address != nullptr;
}

bool findSdlCalls(void* library) {
    return find(library, "SDL_SetHint", &sdl.SetHint) && find(library, "SDL_InitSubSystem", &sdl.InitSubSystem) &&
           find(library, "SDL_QuitSubSystem", &sdl.QuitSubSystem) &&
           find(library, "SDL_GetCurrentAudioDriver", &sdl.GetCurrentAudioDriver) &&
           find(library, "SDL_RWFromFile", &sdl.RWFromFile);
}

bool findMixerCalls(void* library) {
    return find(library, "Mix_SetSoundFonts", &mix.SetSoundFonts) && find(library, "Mix_Init", &mix.Init) &&
           find(library, "Mix_Quit", &mix.Quit) && find(library, "Mix_OpenAudio", &mix.OpenAudio) &&
           find(library, "Mix_CloseAudio", &mix.CloseAudio) && find(library, "Mix_QuerySpec", &mix.QuerySpec) &&
           find(library, "Mix_LoadWAV_RW", &mix.LoadWAV_RW) && find(library, "Mix_FreeChunk", &mix.FreeChunk) &&
           find(library, "Mix_PlayChannelTimed", &mix.PlayChannelTimed) && find(library, "Mix_Playing", &mix.Playing) &&
           find(library, "Mix_HaltChannel", &mix.HaltChannel) && find(library, "Mix_LoadMUS", &mix.LoadMUS) &&
           find(library, "Mix_FreeMusic", &mix.FreeMusic) && find(library, "Mix_PlayMusic", &mix.PlayMusic) &&
           find(library, "Mix_HaltMusic", &mix.HaltMusic) && find(library, "Mix_PlayingMusic", &mix.PlayingMusic);
}

// Opens a library and finds its calls, once; the library then stays open.
bool openLibrary(void** handle, const char* name, bool (*findCalls)(void*)) {
    if (*handle != nullptr) return true;
    void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return false;
    if (!findCalls(library)) {
        dlclose(library);
        return false;
    }
    *handle = library;
    return true;
}

void* sdlLibrary = nullptr;    // guarded by stateLock
void* mixerLibrary = nullptr;  // guarded by stateLock

enum AudioState { AUDIO_UNTRIED, AUDIO_OPEN, AUDIO_NONE };

// Lock order: loadLock, then effectLock, then musicLock, then stateLock.
// stateLock is only ever held for a short time; effectLock is held while an
// effect plays, loadLock while a music file is loaded (the synthesiser reads
// its whole sound font then).
std::mutex loadLock;
std::mutex effectLock;
std::mutex musicLock;
std::mutex stateLock;
AudioState audioState = AUDIO_UNTRIED;
Mix_Music* music = nullptr;  // guarded by musicLock
// Counts the music commands; a music file loaded in the background is played
// only if no command came after the one that asked for it.
std::atomic<unsigned> musicCommands{0};

void chooseSoundFont() {
    const char* userFonts = getenv("SDL_SOUNDFONTS");
    if (userFonts && userFonts[0]) return;
    for (const char* font : SOUND_FONTS) {
        if (access(font, R_OK) == 0) {
            mix.SetSoundFonts(font);
            return;
        }
    }
}

// Opens the device on the first call; later calls report the outcome.
bool ensureAudio() {
    std::lock_guard<std::mutex> guard(stateLock);
    if (audioState != AUDIO_UNTRIED) return audioState == AUDIO_OPEN;
    audioState = AUDIO_NONE;
    // SDL's null output asked for by name, and nothing else: no device, and
    // no need to open SDL (and the sound servers' libraries it brings) to learn so.
    const char* asked = getenv("SDL_AUDIODRIVER");
    if (asked && strcasecmp(asked, "dummy") == 0) return false;
    if (!openLibrary(&sdlLibrary, SDL_LIBRARY, findSdlCalls)) return false;
    // The window layer handles SIGINT and SIGTERM; SDL must not take them over.
    sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    const char* driver = sdl.GetCurrentAudioDriver();
    if (!driver || strcmp(driver, "dummy") == 0 || !openLibrary(&mixerLibrary, MIXER_LIBRARY, findMixerCalls)) {
        sdl.QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    chooseSoundFont();
    mix.Init(MIX_INIT_MID);
    if (mix.OpenAudio(OUTPUT_RATE, OUTPUT_FORMAT, OUTPUT_CHANNELS, OUTPUT_CHUNK_FRAMES) != 0) {
        mix.Quit();
        sdl.QuitSubSystem(SDL_INIT_AUDIO);
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
int chunkDuration(const Mix_Chunk* chunk) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (!mix.QuerySpec(&rate, &format, &channels) || rate <= 0 || channels <= 0) return 0;
    Uint32 bytesPerSecond = Uint32(rate) * Uint32(channels) * (SDL_AUDIO_BITSIZE(format) / 8);
    if (bytesPerSecond == 0) return 0;
    return int(Uint64(chunk->alen) * 1000 / bytesPerSecond);
}

void closeMusicLocked() {
    if (!music) return;
    mix.HaltMusic();
    mix.FreeMusic(music);
    music = nullptr;
}

// The thread of platformPlayMusicFileInBackground.
void loadAndPlay(std::string path, unsigned command) {
    std::lock_guard<std::mutex> load(loadLock);
    if (musicCommands.load() != command || !ensureAudio()) return;
    Mix_Music* loaded = mix.LoadMUS(path.c_str());
    std::lock_guard<std::mutex> guard(musicLock);
    if (musicCommands.load() != command || !audioIsOpen()) {
        if (loaded) mix.FreeMusic(loaded);
        return;
    }
    closeMusicLocked();
    music = loaded;
    if (music) mix.PlayMusic(music, 0);  // no repeat: once to its end
}

}  // namespace

bool platformAudioAvailable() { return ensureAudio(); }

void platformPlayWaveFile(const char* path) {
    if (!path || !path[0]) return;
    std::lock_guard<std::mutex> guard(effectLock);
    if (!ensureAudio()) return;
    Mix_Chunk* chunk = mix.LoadWAV_RW(sdl.RWFromFile(path, "rb"), 1);
    if (!chunk) return;
    int channel = mix.PlayChannelTimed(-1, chunk, 0, -1);
    if (channel >= 0) {
        const auto limit = std::chrono::milliseconds(chunkDuration(chunk) + EFFECT_GRACE_MS);
        const auto start = std::chrono::steady_clock::now();
        while (mix.Playing(channel)) {
            if (std::chrono::steady_clock::now() - start > limit) {
                mix.HaltChannel(channel);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(EFFECT_POLL_MS));
        }
    }
    mix.FreeChunk(chunk);
}

bool platformOpenMusic(const char* path) {
    ++musicCommands;
    std::lock_guard<std::mutex> load(loadLock);
    std::lock_guard<std::mutex> guard(musicLock);
    if (audioIsOpen()) closeMusicLocked();
    if (!path || !path[0] || !ensureAudio()) return false;
    music = mix.LoadMUS(path);
    return music != nullptr;
}

void platformPlayMusicFileInBackground(const char* path) {
    if (!path || !path[0]) return;
    const unsigned command = ++musicCommands;
    std::thread(loadAndPlay, std::string(path), command).detach();
}

bool platformPlayMusic() {
    std::lock_guard<std::mutex> guard(musicLock);
    if (!music) return false;
    mix.HaltMusic();
    return mix.PlayMusic(music, 0) == 0;  // no repeat: once to its end
}

void platformCloseMusic() {
    ++musicCommands;
    std::lock_guard<std::mutex> guard(musicLock);
    if (music && audioIsOpen()) closeMusicLocked();
}

bool platformMusicPlaying() {
    std::lock_guard<std::mutex> guard(musicLock);
    return music && audioIsOpen() && mix.PlayingMusic();
}

void platformAudioShutdown() {
    ++musicCommands;
    std::lock_guard<std::mutex> loadGuard(loadLock);
    std::lock_guard<std::mutex> effectGuard(effectLock);
    std::lock_guard<std::mutex> musicGuard(musicLock);
    std::lock_guard<std::mutex> stateGuard(stateLock);
    if (audioState == AUDIO_OPEN) {
        closeMusicLocked();
        mix.HaltChannel(-1);
        mix.CloseAudio();
        mix.Quit();
        sdl.QuitSubSystem(SDL_INIT_AUDIO);
    }
    audioState = AUDIO_UNTRIED;
}
