// Automatic play on its own thread.
//
// Each step (showing a pair, its fade and its removal) holds the board lock, so
// that the window never sees or changes half a step; the remove sound plays
// after the lock is released, so the window can repaint meanwhile. The window
// stops the player by clearing autoplayRunning and waits for its thread to end
// (stopAutoplayAndWait); the player reads the flag between steps and between
// fade frames, finishes the pair in hand and restarts the deal.
#include "engine/autoplay.h"

#include <atomic>

#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/deal.h"
#include "engine/play.h"
#include "engine/rules.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/sound.h"
#include "view2d/draw2d.h"
#include "view2d/shadows.h"

namespace {

// Set by startAutoplay before the thread starts; cleared by the thread as its
// very last action.
std::atomic<bool> threadActive{false};

// Longest single sleep of the player, so that a stop request is seen soon.
constexpr int SLEEP_SLICE = 10;
// How often stopAutoplayAndWait looks whether the thread has ended.
constexpr int WAIT_SLICE = 2;

// The board is exactly the last easy deal. Board lock held.
bool boardIsFreshEasyDeal() {
    return Settings.EasyMode == 1 && tilesLeft == TILE_COUNT && !loadedGame && dealOrderValid;
}

bool show3D() {
#if MAHJONG_3D
    return view3D;
#else
    return false;
#endif
}

// Sleeps about `milliseconds` in short slices, ending early once a stop is asked for.
void sleepWhileRunning(int64_t milliseconds) {
    while (milliseconds > 0 && autoplayRunning) {
        const int slice = milliseconds < SLEEP_SLICE ? (int)milliseconds : SLEEP_SLICE;
        platformSleep(slice);
        milliseconds -= slice;
    }
}

// The pair of step k, or false when the recorded order holds no pair on the board.
bool pairOfStep(int k, int* a, int* b) {
    *a = dealOrder[k];
    *b = dealOrder[k + 1];
    if (*a >= TILE_COUNT || *b >= TILE_COUNT || *a == *b) return false;
    return tileTable[*a].face != 0 && tileTable[*b].face != 0;
}

// Takes the pair off the board; true when it went.
bool removeShownPair(int a, int b) {
    const int16_t before = undoCount;
    removePair(a, b);
    computeShadowFlags();
    return undoCount != before;
}

// One step in the 2D view: the pair drawn selected, its fade, its removal. The
// whole step holds the board lock.
bool step2D(int k) {
    BoardLock lock;
    int a, b;
    if (!pairOfStep(k, &a, &b)) return false;
    selectedTile = (int16_t)a;
    secondTile = (int16_t)b;
    const uint32_t start = platformTickCount();
    drawBoard2D(mainWindow, NO_TILE, NO_TILE, 0, 0);
    const uint32_t elapsed = platformTickCount() - start;
    const int32_t pause = Settings.AutoPlaySleep;
    const int n = autoplayFadeFrames(pause, elapsed);
    // With more frames than the limit, each frame waits for its share of the pause.
    int64_t padding = 0;
    if (n > 0 && elapsed >= 1 && (int64_t)pause / elapsed > n) padding = (int64_t)pause / n - elapsed;
    for (int i = 1; i <= n && autoplayRunning; ++i) {
        int16_t weightBackground, weightTile;
        autoplayFadeWeights(n, i, &weightBackground, &weightTile);
        drawBoard2D(mainWindow, a, b, weightBackground, weightTile);
        sleepWhileRunning(padding);
    }
    return removeShownPair(a, b);
}

#if MAHJONG_3D
// One step in the 3D view: the window repaints the scene with the pair selected
// (all drawing stays on its thread), the pause, the removal. The pause does not
// hold the board lock, so that the window can paint.
bool step3D(int k) {
    int a, b;
    {
        BoardLock lock;
        if (!pairOfStep(k, &a, &b)) return false;
        selectedTile = (int16_t)a;
        secondTile = (int16_t)b;
    }
    // A repaint request that is safe from this thread.
    platformPostMessage(mainWindow, WM_PAINT, 0, 0);
    sleepWhileRunning(Settings.AutoPlaySleep);
    BoardLock lock;
    return removeShownPair(a, b);
}
#endif

// Every removal undone, the chronometer at 0, the deal shown as dealt. Board lock held.
void restartDeal() {
    selectedTile = NO_TILE;
    secondTile = NO_TILE;
#if MAHJONG_3D
    if (view3D) {
        // restartGame without its paint: the 3D scene is drawn by the window's thread.
        while (undoCount > 0) undoMove(mainWindow);
        computeFreeTiles();
        computeShadowFlags();
        resetGameState();
        layoutBoard2D(mainWindow);
        return;
    }
#endif
    restartGame(mainWindow);
}

void autoplayThread(void*) {
    bool allowed;
    {
        BoardLock lock;
        allowed = boardIsFreshEasyDeal();  // the board may have changed since the command
    }
    if (allowed) {
        for (int k = 0; k < TILE_COUNT && autoplayRunning; k += 2) {
            bool removed;
#if MAHJONG_3D
            removed = show3D() ? step3D(k) : step2D(k);
#else
            removed = step2D(k);
#endif
            if (removed) playSoundEffect(RemoveSound);
        }
        BoardLock lock;
        restartDeal();
    }
    autoplayRunning = false;
    if (show3D()) platformPostMessage(mainWindow, WM_PAINT, 0, 0);
    threadActive = false;  // last: from here on the window may start a new player
}

}  // namespace

int autoplayFadeFrames(int32_t autoPlaySleep, uint32_t elapsed) {
    if (autoPlaySleep <= 0 || elapsed < 1) return 0;
    const int64_t frames = (int64_t)autoPlaySleep / (int64_t)elapsed;
    return frames > AUTOPLAY_FADE_FRAME_LIMIT ? AUTOPLAY_FADE_FRAME_LIMIT : (int)frames;
}

void autoplayFadeWeights(int n, int i, int16_t* weightBackground, int16_t* weightTile) {
    const int s = 100 / (n + 1);
    if (s > 0) {
        *weightBackground = (int16_t)(i * s);
        *weightTile = (int16_t)((n - i + 1) * s);
    } else {
        *weightBackground = (int16_t)i;
        *weightTile = (int16_t)(n - i + 1);
    }
}

void startAutoplay() {
    if (threadActive) return;  // never two players
    bool allowed;
    {
        BoardLock lock;
        allowed = boardIsFreshEasyDeal();
    }
    if (!allowed) {
        showMessage(mainWindow, LanguageTexts.MesAutoplayError, MessageInformation);
        return;
    }
    // Both flags are set here rather than by the thread, so that a stop asked
    // for before the thread's first step is not lost and a second command
    // finds the player already active.
    threadActive = true;
    autoplayRunning = true;
    if (!platformStartThread(autoplayThread, nullptr)) {
        autoplayRunning = false;
        threadActive = false;
        showMessage(mainWindow, LanguageTexts.MesAutoplayError, MessageInformation);
    }
}

bool autoplayActive() { return threadActive; }

void stopAutoplayAndWait() {
    if (!threadActive) return;
    autoplayRunning = false;
    while (threadActive) platformSleep(WAIT_SLICE);
}
