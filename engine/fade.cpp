#include "engine/fade.h"

#include "platform/system.h"

namespace {

// Longest single sleep of a pause, so that a stop request is seen soon.
constexpr int SLEEP_SLICE = 10;

}  // namespace

int fadeFrameCount(int32_t duration, uint32_t elapsed) {
    if (duration <= 0 || elapsed < 1) return 0;
    const int64_t frames = (int64_t)duration / (int64_t)elapsed;
    return frames > FADE_FRAME_LIMIT ? FADE_FRAME_LIMIT : (int)frames;
}

void fadeWeights(int frames, int i, int16_t* weightBackground, int16_t* weightTile) {
    const int step = 100 / (frames + 1);
    if (step > 0) {
        *weightBackground = (int16_t)(i * step);
        *weightTile = (int16_t)((frames - i + 1) * step);
    } else {
        *weightBackground = (int16_t)i;
        *weightTile = (int16_t)(frames - i + 1);
    }
}

void fadePair(WindowHandle window, int a, int b, int frames, FadeFrameFunction drawFrame, const FadePace* pace) {
    if (frames > FADE_FRAME_LIMIT) frames = FADE_FRAME_LIMIT;
    for (int i = 1; i <= frames; ++i) {
        if (pace && !*pace->running) return;
        int16_t weightBackground, weightTile;
        fadeWeights(frames, i, &weightBackground, &weightTile);
        drawFrame(window, a, b, weightBackground, weightTile);
        if (pace) pauseWhile(*pace->running, pace->pause);
    }
}

void pauseWhile(const std::atomic<bool>& running, int64_t milliseconds) {
    while (milliseconds > 0 && running) {
        const int slice = milliseconds < SLEEP_SLICE ? (int)milliseconds : SLEEP_SLICE;
        platformSleep(slice);
        milliseconds -= slice;
    }
}
