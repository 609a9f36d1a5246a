// The status bar line. Frames drawn by the automatic player's thread refresh
// it too: the text is composed and posted under one small lock, and the
// end-of-game check always runs on the window's thread (a frame from the
// other thread posts END_OF_GAME_MESSAGE for it).
#include "shell/statusbar.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/play.h"
#include "gamefiles/halloffame.h"
#include "platform/messages.h"
#include "platform/statusbar.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "shell/board_dump.h"

char statusText[STATUS_TEXT_LIMIT + 1];

namespace {

std::mutex statusLock;

const char SPACES[] = "                    ";  // 20

// Appends to text (of `size` bytes) as far as it fits.
void append(char* text, size_t size, const char* piece) {
    size_t used = std::strlen(text);
    if (used + 1 >= size) return;
    std::snprintf(text + used, size - used, "%s", piece);
}

}  // namespace

void composeStatusText() {
    // Room for every text at its longest; the result is cut afterwards.
    char text[8 * LONG_TEXT_SIZE];
    char piece[3 * LONG_TEXT_SIZE];
    std::snprintf(text, sizeof text, "%d %s", (int)tilesLeft, LanguageTexts.Tiles);
    if (Settings.ShowChrono == 1) {
        char time[16];
        formatTime(chronoSeconds, time);
        std::snprintf(piece, sizeof piece, "%s%s : %s", SPACES, LanguageTexts.Chrono,
                      chronoPaused ? LanguageTexts.MesChronoPaused : time);
        append(text, sizeof text, piece);
    }
    if (hintShown) {
        if (hintIndex < pairCount)
            std::snprintf(piece, sizeof piece, "%s%s %d / %d", SPACES, LanguageTexts.Sol, hintIndex + 1,
                          (int)pairCount);
        else
            std::snprintf(piece, sizeof piece, "%s%s", SPACES,
                          tilesLeft == 0 ? LanguageTexts.MesStatusWin : LanguageTexts.MesStatusLose);
        append(text, sizeof text, piece);
    }
    copyText(statusText, text, sizeof statusText);
}

void updateStatusBar(WindowHandle window) {
    {
        std::lock_guard<std::mutex> guard(statusLock);
        composeStatusText();
        platformSetStatusText(window, statusText);
        dumpBoardIfAsked();
    }
    if (onWindowThread())
        runEndOfGameCheck(window);
    else
        platformPostMessage(window, END_OF_GAME_MESSAGE, 0, 0);
}

void runEndOfGameCheck(WindowHandle window) {
    // The board the automatic player empties is its demonstration, not a win.
    if (autoplayRunning) return;
    checkEndOfGame(window);
}
