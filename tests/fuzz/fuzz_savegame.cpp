// Saved games as the load command reads them, over a game in progress. A
// refused file must leave that game exactly as it was. A file that loads must
// hold a game that can be played on: hints, a tick, a removal, and taking back
// every move all keep the counters in range and end on a full board.
#include <cstring>
#include <string>

#include "engine/board.h"
#include "engine/deal.h"
#include "engine/layout.h"
#include "engine/play.h"
#include "engine/rules.h"
#include "gamefiles/halloffame.h"
#include "gamefiles/savegame.h"
#include "platform/files.h"
#include "platform/system.h"
#include "settings/language.h"
#include "settings/directories.h"
#include "tests/support/internals.h"
#include "tests/support/null_host.h"
#include "tests/fuzz/fuzz_support.h"
#include "engine/shadows.h"

namespace {

// Everything a load may change.
struct GameState {
    TileRecord tiles[TILE_COUNT];
    TileGrid grid;
    LayoutGrid layout;
    UndoEntry undo[UNDO_STACK_SIZE];
    HallOfFameEntry hall[HALL_OF_FAME_SIZE + 1];
    int16_t tilesLeft, undoCount, selectedTile, secondTile, pairCount, hintIndex;
    int32_t chronoSeconds;
    bool loadedGame, gameFinished, hintShown, chronoPaused;

    void capture() {
        std::memcpy(tiles, tileTable, sizeof tiles);
        std::memcpy(grid, tileGrid, sizeof grid);
        std::memcpy(layout, layoutGrid, sizeof layout);
        std::memcpy(undo, undoStack, sizeof undo);
        std::memcpy(hall, hallOfFame, sizeof hall);
        tilesLeft = ::tilesLeft, undoCount = ::undoCount, selectedTile = ::selectedTile;
        secondTile = ::secondTile, pairCount = ::pairCount, hintIndex = ::hintIndex;
        chronoSeconds = ::chronoSeconds, loadedGame = ::loadedGame, gameFinished = ::gameFinished;
        hintShown = ::hintShown, chronoPaused = ::chronoPaused;
    }
    void restore() const {
        std::memcpy(tileTable, tiles, sizeof tiles);
        std::memcpy(tileGrid, grid, sizeof grid);
        std::memcpy(layoutGrid, layout, sizeof layout);
        std::memcpy(undoStack, undo, sizeof undo);
        std::memcpy(hallOfFame, hall, sizeof hall);
        ::tilesLeft = tilesLeft, ::undoCount = undoCount, ::selectedTile = selectedTile;
        ::secondTile = secondTile, ::pairCount = pairCount, ::hintIndex = hintIndex;
        ::chronoSeconds = chronoSeconds, ::loadedGame = loadedGame, ::gameFinished = gameFinished;
        ::hintShown = hintShown, ::chronoPaused = chronoPaused;
    }
    bool operator==(const GameState& other) const { return std::memcmp(this, &other, sizeof *this) == 0; }
};

GameState base;

// An easy deal on a stepped pyramid, five pairs taken off.
void makeBaseGame() {
    // 8 rows of 12 tiles, then 4 x 6, 4 x 4 and 4 x 2 above them: 144.
    std::string text;
    const int blocks[4][3] = {{16, 0, 24}, {10, 6, 18}, {10, 8, 16}, {10, 10, 14}};  // rows, columns
    for (int layer = 0; layer < 4; ++layer)
        for (int row = layer == 0 ? 0 : 2; row < blocks[layer][0]; row += 2)
            for (int column = blocks[layer][1]; column < blocks[layer][2]; column += 2)
                text += std::to_string(row) + " " + std::to_string(column) + " " + std::to_string(layer) + "\n";
    fuzzWriteText("LAYOUTS/BASE.MYL", text.c_str());
    copyText(layoutName, "BASE.MYL", FILE_NAME_SIZE);
    Settings.EasyMode = 1;
    platformFixTimeSeconds(1);
    loadLayout(nullptr);
    FUZZ_CHECK(fake::releaseCount == 0);
    newDeal(nullptr);
    FUZZ_CHECK(dealOrderValid);
    for (int k = 0; k < 10; k += 2) removePair(dealOrder[k], dealOrder[k + 1]);
    computeFreeTiles();
    selectedTile = NO_TILE;
    chronoSeconds = 1234;
    base.capture();
}

void playOn() {
    FUZZ_CHECK(loadedGame);
    FUZZ_CHECK(chronoSeconds >= 0 && chronoSeconds <= CHRONO_LIMIT);
    FUZZ_CHECK(tilesLeft >= 0 && tilesLeft <= TILE_COUNT && tilesLeft % 2 == 0);
    FUZZ_CHECK(undoCount == (TILE_COUNT - tilesLeft) / 2);
    computeFreeTiles();
    computeShadowFlags();
    findPairs(0);
    hintStep(nullptr);
    hintStep(nullptr);
    addChronoSeconds(1);
    FUZZ_CHECK(chronoSeconds >= 0 && chronoSeconds <= CHRONO_LIMIT);
    if (pairCount > 0) {
        selectedTile = NO_TILE;
        clickTile(pairList[0][0]);
        clickTile(pairList[0][1]);
    }
    while (undoCount > 0) undoMove(nullptr);
    FUZZ_CHECK(tilesLeft == TILE_COUNT);
    for (int k = 0; k < TILE_COUNT; ++k) FUZZ_CHECK(tileTable[k].face >= 1 && tileTable[k].face <= 42);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    fuzzStartDirectory();
    if (!ready) {
        makeBaseGame();
        ready = true;
    }
    base.restore();
    fake::reset();
    fuzzWriteFile("SAVEGAME/FUZZ.MYM", data, size);
    FUZZ_CHECK(platformSetCurrentDirectory(saveGameDirectory));
    const SavedGameResult result = readSavedGame("FUZZ.MYM");
    returnToStartDirectory();
    if (result != SavedGameOk) {
        GameState after{};
        after.capture();
        FUZZ_CHECK(after == base);
        FUZZ_CHECK(result == (size == SAVED_GAME_SIZE ? SavedGameInvalid : SavedGameWrongSize));
        return 0;
    }
    FUZZ_CHECK(size == SAVED_GAME_SIZE);
    playOn();
    return 0;
}
