// Automatic play on its own thread.
//
// The player takes the board lock for each piece of work on the board:
// showing the pair (with the first 2D frame), each frame of its fade, its
// removal and the restart at the end. It sleeps, waits and plays the remove
// sound without it, so the window's messages wait at most one frame. The
// window stops the player by clearing autoplayRunning and waits on a
// condition until its thread has ended (stopAutoplayAndWait); the player
// reads the flag between steps and between fade frames, finishes the pair in
// hand and restarts the deal.
#include "engine/autoplay.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/deal.h"
#include "engine/fade.h"
#include "engine/host.h"
#include "engine/play.h"
#include "engine/shadows.h"
#include "platform/system.h"
#include "settings/language.h"
#include "settings/messages.h"
#include "settings/settings.h"

namespace {

// Set by startAutoplay before the thread starts; cleared by the thread as its
// very last action. Written under playerState, so that a waiting window
// cannot miss the end; the end is announced under it too, so that nothing of
// the player touches the condition once the window has seen it.
std::mutex playerState;
std::condition_variable playerEnded;
std::atomic<bool> threadActive{false};

void setThreadActive(bool active) {
    std::lock_guard<std::mutex> guard(playerState);
    threadActive = active;
    if (!active) playerEnded.notify_all();
}

// The board is exactly the last easy deal. Board lock held.
bool boardIsFreshEasyDeal() {
    return Settings.EasyMode == 1 && tilesLeft == TILE_COUNT && !loadedGame && dealOrderValid;
}

// The pair of step k, or false when the recorded order holds no pair on the board.
bool pairOfStep(int k, int* a, int* b) {
    *a = dealOrder[k];
    *b = dealOrder[k + 1];
    if (*a >= TILE_COUNT || *b >= TILE_COUNT || *a == *b) return false;
    return tileTable[*a].face != 0 && tileTable[*b].face != 0;
}

// One frame of the fade, drawn under the board lock.
void drawLockedFrame(WindowHandle window, int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile) {
    BoardLock lock;
    host.drawBoard2D(window, fadeA, fadeB, weightBackground, weightTile);
}

// Takes the pair off the board; true when it went. Board lock held.
bool removeShownPair(int a, int b) {
    const int16_t before = undoCount;
    removePair(a, b);
    computeShadowFlags();
    return undoCount != before;
}

// One step: the pair of dealOrder[k], dealOrder[k + 1] drawn selected, its
// fade (2D view) or a pause while the window repaints the scene (3D view, all
// of whose drawing stays on the window's thread), then its removal.
bool playStep(int k) {
    const WindowHandle window = host.mainWindow();
    int a, b;
    bool shown3D;
    int32_t pause;
    uint32_t elapsed = 0;
    {
        BoardLock lock;
        if (!pairOfStep(k, &a, &b)) return false;
        selectedTile = (int16_t)a;
        secondTile = (int16_t)b;
        pause = Settings.AutoPlaySleep;
        shown3D = view3DShown();
        if (!shown3D) {
            const uint32_t start = platformTickCount();
            host.drawBoard2D(window, NO_TILE, NO_TILE, 0, 0);
            elapsed = platformTickCount() - start;
        }
    }
    if (shown3D) {
        host.requestRepaint(window);
        pauseWhile(autoplayRunning, pause);
    } else {
        const int n = fadeFrameCount(pause, elapsed);
        // With more frames than the limit, each frame waits for its share of the pause.
        int64_t padding = 0;
        if (n > 0 && elapsed >= 1 && (int64_t)pause / elapsed > n) padding = (int64_t)pause / n - elapsed;
        const FadePace pace = {&autoplayRunning, padding};
        fadePair(window, a, b, n, drawLockedFrame, &pace);
    }
    BoardLock lock;
    return removeShownPair(a, b);
}

// Every removal undone, the chronometer at 0, the deal shown as dealt. Board
// lock held. The 3D scene is drawn by the window's thread, which the player
// asks to repaint once it has ended.
void restartDeal() {
    selectedTile = NO_TILE;
    secondTile = NO_TILE;
    const WindowHandle window = host.mainWindow();
    if (!view3DShown()) {
        restartGame(window);
        return;
    }
    while (undoCount > 0) undoMove(window);
    resetGameState();
    refreshBoard(window, false);
}

void autoplayThread(void*) {
    bool allowed;
    {
        BoardLock lock;
        allowed = boardIsFreshEasyDeal();  // the board may have changed since the command
    }
    if (allowed) {
        for (int k = 0; k < TILE_COUNT && autoplayRunning; k += 2)
            if (playStep(k)) host.playSound(RemoveSound);
        BoardLock lock;
        restartDeal();
    }
    autoplayRunning = false;
    bool shown3D;
    {
        BoardLock lock;
        shown3D = view3DShown();
    }
    if (shown3D) host.requestRepaint(host.mainWindow());
    setThreadActive(false);  // last: from here on the window may start a new player
}

}  // namespace

void startAutoplay() {
    if (threadActive) return;  // never two players
    if (!boardIsFreshEasyDeal()) {
        showMessage(host.mainWindow(), LanguageTexts.MesAutoplayError, MessageInformation);
        return;
    }
    // Both flags are set here rather than by the thread, so that a stop asked
    // for before the thread's first step is not lost and a second command
    // finds the player already active.
    setThreadActive(true);
    autoplayRunning = true;
    if (!platformStartThread(autoplayThread, nullptr)) {
        autoplayRunning = false;
        setThreadActive(false);
        showMessage(host.mainWindow(), LanguageTexts.MesAutoplayError, MessageInformation);
    }
}

bool autoplayActive() { return threadActive; }

void stopAutoplayAndWait() {
    if (!threadActive) return;
    if (boardLockHeldHere()) {
        // The player needs the lock to finish: waiting while holding it would wait for ever.
        std::fprintf(stderr, "stopAutoplayAndWait with the board lock held\n");
        std::abort();
    }
    autoplayRunning = false;
    std::unique_lock<std::mutex> guard(playerState);
    playerEnded.wait(guard, [] { return !threadActive; });
}
