#include "engine/play.h"

#include "engine/autoplay.h"
#include "engine/board.h"
#include "engine/deal.h"
#include "engine/host.h"
#include "engine/rules.h"
#include "engine/shadows.h"
#include "gamefiles/halloffame.h"
#include "settings/language.h"
#include "settings/messages.h"
#include "settings/settings.h"

static bool isFreeTile(int tile) { return tile >= 0 && tile < TILE_COUNT && tileTable[tile].state == Free; }

void clickTile(int tile) {
    if (tile < 0 || tile >= TILE_COUNT) {
        host.playSound(ErrorSound);
        selectedTile = NO_TILE;
        secondTile = NO_TILE;
    } else if (selectedTile == NO_TILE) {
        if (isFreeTile(tile)) {
            selectedTile = (int16_t)tile;
            host.playSound(SelectSound);
        } else {
            host.playSound(ErrorSound);
        }
    } else {
        secondTile = (int16_t)tile;
        tryPair(selectedTile, secondTile);
    }
}

void tryPair(int a, int b) {
    bool legal = isFreeTile(a) && isFreeTile(b) && a != b && tilesMatch(tileTable[a].face, tileTable[b].face);
    if (legal) {
        if (!view3DShown() && Settings.RemoveTileTime > 0) host.fadeOutPair(host.mainWindow(), a, b);
        removePair(a, b);
        host.playSound(RemoveSound);
        computeFreeTiles();
        computeShadowFlags();
        selectedTile = NO_TILE;
        secondTile = NO_TILE;
        findPairs(0);
        if (pairCount == 0) {  // won or lost
            hintShown = true;
            host.updateStatusBar(host.mainWindow());
        }
        return;
    }
    secondTile = NO_TILE;
    if (isFreeTile(b)) {
        selectedTile = b == a ? NO_TILE : (int16_t)b;  // a second click on the selection deselects it
        host.playSound(SelectSound);
    } else {
        selectedTile = NO_TILE;
        host.playSound(ErrorSound);
    }
}

void removePair(int a, int b) {
    // Only two different tiles still on the board, and never past the 72 moves of a game.
    if (a < 0 || a >= TILE_COUNT || b < 0 || b >= TILE_COUNT || a == b) return;
    if (tileTable[a].face == 0 || tileTable[b].face == 0 || undoCount < 0 || undoCount >= UNDO_STACK_SIZE) return;
    UndoEntry& entry = undoStack[undoCount];
    entry.faceA = tileTable[a].face;
    entry.faceB = tileTable[b].face;
    entry.tileA = (uint8_t)a;
    entry.tileB = (uint8_t)b;
    setTileCells(tileTable[a].layer, tileTable[a].row, tileTable[a].column, NO_TILE);
    setTileCells(tileTable[b].layer, tileTable[b].row, tileTable[b].column, NO_TILE);
    tileTable[a].face = 0;
    tileTable[b].face = 0;
    tilesLeft -= 2;
    hintIndex = 0;
    pairCount = 0;
    undoCount += 1;
}

static void putTileBack(int tile, uint8_t face) {
    if (tile >= TILE_COUNT) return;
    TileRecord& record = tileTable[tile];
    record.face = face;
    setTileCells(record.layer, record.row, record.column, (uint8_t)tile);
}

void undoMove(WindowHandle window) {
    if (undoCount > UNDO_STACK_SIZE) undoCount = 0;  // a history that cannot be true holds nothing to undo
    if (undoCount < 1) {
        showMessage(window, LanguageTexts.MesUndo, MessageInformation);
    } else {
        undoCount -= 1;
        const UndoEntry entry = undoStack[undoCount];
        putTileBack(entry.tileA, entry.faceA);
        putTileBack(entry.tileB, entry.faceB);
        tilesLeft += 2;
        hintIndex = 0;
        pairCount = 0;
    }
    selectedTile = NO_TILE;
    secondTile = NO_TILE;
}

void restartGame(WindowHandle window) {
    while (undoCount > 0) undoMove(window);
    resetGameState();
    refreshBoard(window);
}

void refreshBoard(WindowHandle window, bool repaint) {
    computeFreeTiles();
    computeShadowFlags();
    host.layoutBoard2D(window);
    if (repaint) host.paintBoard(window);
}

void newGameCommand(WindowHandle window) {
    while (undoCount > 0) undoMove(window);
    newDeal(window);
}

void hintStep(WindowHandle window) {
    addChronoSeconds(60);  // every hint costs one minute
    hintShown = true;
    hintIndex += 1;
    if (hintIndex > pairCount) hintIndex = 0;
    if (hintIndex == 0) findPairs(0);
    host.paintBoard(window);
}

void checkEndOfGame(WindowHandle window) {
    // The board automatic play empties is its demonstration, not a win.
    if (autoplayActive()) return;
    if (tilesLeft != 0 || gameFinished) return;
    gameFinished = true;
    HallOfFameEntry& entry = hallOfFame[HALL_OF_FAME_SIZE];
    formatTime(chronoSeconds, entry.time);
    entry.seconds = chronoSeconds;
    host.winnerNameDialog(window);
    copyText(entry.name, playerName, sizeof entry.name);
    if (chronoSeconds < hallOfFame[HALL_OF_FAME_SIZE - 1].seconds) {
        sortHallOfFame();
        host.hallOfFameDialog(window);
        if (loadedGame)
            showMessage(window, LanguageTexts.MesWinLoad, MessageInformation);
        else
            saveHallOfFame(window);
    } else {
        showMessage(window, LanguageTexts.MesWinNoHall, MessageInformation);
    }
}
