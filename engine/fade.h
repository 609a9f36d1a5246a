// The fade-out of a removed pair in the 2D view, the same for a click and for
// automatic play: the pair is drawn frame by frame, mixed ever more into what
// lies beneath it, in about as many frames as one drawing of the board fits
// into the time the fade should last.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/window.h"

// No fade has more frames than this, whatever the settings say.
constexpr int FADE_FRAME_LIMIT = 1000;

// Frames of a fade that lasts about `duration` milliseconds when one drawing
// of the board took `elapsed` milliseconds: duration / elapsed, at most
// FADE_FRAME_LIMIT; 0 when duration is not above 0 or the drawing took less
// than 1 ms.
int fadeFrameCount(int32_t duration, uint32_t elapsed);

// Weights of frame i (1 to frames): i x step for what lies beneath and
// (frames - i + 1) x step for the pair, step = 100 / (frames + 1). Where the
// step would be 0 (100 frames or more) the weights are i and frames - i + 1,
// which mix in the same proportions and never draw the pair black.
void fadeWeights(int frames, int i, int16_t* weightBackground, int16_t* weightTile);

typedef void (*FadeFrameFunction)(WindowHandle window, int fadeA, int fadeB, int16_t weightBackground,
                                  int16_t weightTile);

// How automatic play paces its fade: the fade ends once `running` is
// cleared (looked at before every frame), and after each frame it waits
// `pause` milliseconds.
struct FadePace {
    const std::atomic<bool>* running;
    int64_t pause;
};

// Draws frames 1 to `frames` (at most FADE_FRAME_LIMIT; none for fewer than
// 1) of the fade of pair a, b with drawFrame; a click's fade has no pace.
void fadePair(WindowHandle window, int a, int b, int frames, FadeFrameFunction drawFrame, const FadePace* pace);

// Sleeps about `milliseconds` in short slices, ending early once `running`
// is cleared.
void pauseWhile(const std::atomic<bool>& running, int64_t milliseconds);
