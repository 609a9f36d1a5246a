// Saved games: the 9518-byte file, the save and load commands, and the refusal
// of files that do not describe a board the game could have reached.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "engine/board.h"
#include "engine/play.h"
#include "engine/rules.h"
#include "gamefiles/halloffame.h"
#include "gamefiles/savegame.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "settings/language.h"
#include "settings/directories.h"
#include "tests/core/temp_dir.h"
#include "tests/support/null_host.h"

using namespace std::string_literals;

namespace {

// Everything a load may change, to see that a refused file changes nothing.
struct GameSnapshot {
    TileRecord tiles[TILE_COUNT];
    uint8_t grid[GRID_CELLS];
    uint8_t layout[GRID_CELLS];
    UndoEntry undo[UNDO_STACK_SIZE];
    HallOfFameEntry hall[HALL_OF_FAME_SIZE + 1];
    int16_t tilesLeft, undoCount, selectedTile, secondTile;
    int32_t chronoSeconds;
    bool loadedGame, gameFinished;

    void capture() {
        memcpy(tiles, tileTable, sizeof tiles);
        memcpy(grid, tileGrid, sizeof grid);
        memcpy(layout, layoutGrid, sizeof layout);
        memcpy(undo, undoStack, sizeof undo);
        memcpy(hall, hallOfFame, sizeof hall);
        tilesLeft = ::tilesLeft;
        undoCount = ::undoCount;
        selectedTile = ::selectedTile;
        secondTile = ::secondTile;
        chronoSeconds = ::chronoSeconds;
        loadedGame = ::loadedGame;
        gameFinished = ::gameFinished;
    }
    bool sameAsGame() const {
        return memcmp(tiles, tileTable, sizeof tiles) == 0 && memcmp(grid, tileGrid, sizeof grid) == 0 &&
               memcmp(layout, layoutGrid, sizeof layout) == 0 && memcmp(undo, undoStack, sizeof undo) == 0 &&
               memcmp(hall, hallOfFame, sizeof hall) == 0 && tilesLeft == ::tilesLeft &&
               undoCount == ::undoCount && selectedTile == ::selectedTile && secondTile == ::secondTile &&
               chronoSeconds == ::chronoSeconds && loadedGame == ::loadedGame && gameFinished == ::gameFinished;
    }
};

// Tile i sits on layer 0 in a lattice of whole-tile positions, 17 to a row;
// with `stacked`, tiles 130-143 form a second layer on the first fourteen.
void buildBoard(bool stacked = true) {
    memset(tileGrid, NO_TILE, sizeof tileGrid);
    memset(layoutGrid, 0, sizeof layoutGrid);
    memset(tileTable, 0, sizeof tileTable);
    memset(undoStack, 0, sizeof undoStack);
    for (int i = 0; i < TILE_COUNT; ++i) {
        TileRecord& tile = tileTable[i];
        bool upper = stacked && i >= 130;
        int position = upper ? i - 130 : i;
        tile.layer = upper ? 1 : 0;
        tile.row = static_cast<uint8_t>(2 * (position / 17));
        tile.column = static_cast<uint8_t>(2 * (position % 17));
        tile.face = dealFaces[i];
        tile.screenX = static_cast<int16_t>(i * 3 - 100);
        tile.screenY = static_cast<int16_t>(i * 5);
        tile.faceCellX = static_cast<int16_t>(i);
        tile.faceCellY = static_cast<int16_t>(-i);
        layoutCell(tile.layer, tile.row, tile.column) = 1;
        setTileCells(tile.layer, tile.row, tile.column, static_cast<uint8_t>(i));
    }
    resetGameState();
    for (int i = 0; i < HALL_OF_FAME_SIZE + 1; ++i) {
        memset(&hallOfFame[i], 0, sizeof hallOfFame[i]);
        snprintf(hallOfFame[i].name, sizeof hallOfFame[i].name, "Player %d", i);
        formatTime(600 + 60 * i, hallOfFame[i].time);
        hallOfFame[i].seconds = 600 + 60 * i;
    }
}

// Takes off the pairs (k, k + 72) for k below `pairs`, as the player would.
void removePairs(int pairs) {
    for (int k = 0; k < pairs; ++k) removePair(k, k + 72);
    computeFreeTiles();
}

std::string fileBytes(const TempStartDirectory& start, const std::string& name) {
    return start.read("SAVEGAME/" + name);
}

class SavedGameFile : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        memset(&LanguageTexts, 0, sizeof LanguageTexts);
        copyText(LanguageTexts.MesReadError, "cannot be read", LONG_TEXT_SIZE);
        copyText(LanguageTexts.MesWriteError, "cannot be written", LONG_TEXT_SIZE);
        copyText(LanguageTexts.MesSizeError, "wrong size", LONG_TEXT_SIZE);
        copyText(LanguageTexts.FilterSaveGame, "Saved games", LONG_TEXT_SIZE);
        loadedGame = false;
        buildBoard();
        removePairs(5);
        selectedTile = 20;
        chronoSeconds = 4321;
    }
    // Saves the current game under name through the save command.
    void save(const std::string& name) {
        fake::chooseFileResult = true;
        fake::chooseFileName = name;
        saveGame(nullptr);
    }
    void load(const std::string& name) {
        fake::chooseFileResult = true;
        fake::chooseFileName = name;
        loadGame(nullptr);
    }
    // A different game in memory, to load over.
    void otherGame() {
        buildBoard(false);
        removePairs(2);
        selectedTile = NO_TILE;
        chronoSeconds = 7;
        loadedGame = false;
        hallOfFame[0].seconds = 1;
    }
    // Writes bytes as a saved game, loads it, and tells whether the game in
    // memory stayed as it was and the read error was shown.
    bool refused(const std::string& bytes) {
        start.write("SAVEGAME/BAD.MYM", bytes);
        otherGame();
        GameSnapshot before;
        before.capture();
        fake::messages.clear();
        load("BAD.MYM");
        bool unchanged = before.sameAsGame();
        bool told = fake::messages.size() == 1 &&
                    (fake::messages[0].text == "BAD.MYM : cannot be read" || fake::messages[0].text == "wrong size");
        return unchanged && told;
    }
    // The bytes of the fixture's game.
    std::string validBytes() {
        save("VALID.MYM");
        return fileBytes(start, "VALID.MYM");
    }
    TempStartDirectory start;
};

}  // namespace

TEST_F(SavedGameFile, SaveThenLoadReproducesTheGame) {
    GameSnapshot saved;
    saved.capture();
    save("Game1.mym");
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(fileBytes(start, "Game1.mym").size(), static_cast<size_t>(SAVED_GAME_SIZE));

    otherGame();
    hintShown = true;
    chronoPaused = true;
    gameFinished = true;
    load("GAME1.MYM");  // typed in other case: the same file
    EXPECT_TRUE(fake::messages.empty()) << fake::messageLog();
    EXPECT_TRUE(loadedGame);
    EXPECT_FALSE(hintShown);
    EXPECT_FALSE(chronoPaused);
    EXPECT_FALSE(gameFinished);
    EXPECT_EQ(tilesLeft, 134);
    EXPECT_EQ(undoCount, 5);
    EXPECT_EQ(selectedTile, 20);
    EXPECT_EQ(chronoSeconds, 4321);
    EXPECT_EQ(memcmp(tileGrid, saved.grid, sizeof tileGrid), 0);
    EXPECT_EQ(memcmp(layoutGrid, saved.layout, sizeof layoutGrid), 0);
    EXPECT_EQ(memcmp(tileTable, saved.tiles, sizeof tileTable), 0);
    EXPECT_EQ(memcmp(undoStack, saved.undo, sizeof undoStack), 0);
    EXPECT_EQ(memcmp(hallOfFame, saved.hall, HALL_OF_FAME_SIZE * sizeof(HallOfFameEntry)), 0);
    EXPECT_EQ(fake::windowTitle, "Velmora's mah-jong v2.0 - Game1.mym");
    EXPECT_EQ(fake::layoutCount, 1);
    EXPECT_EQ(fake::paintCount, 1);

    // Undo goes on through the stored history, last removed first.
    undoMove(nullptr);
    EXPECT_EQ(undoCount, 4);
    EXPECT_EQ(tileTable[4].face, dealFaces[4]);
    EXPECT_EQ(tileTable[76].face, dealFaces[76]);
    EXPECT_EQ(tileTable[3].face, 0);
    EXPECT_EQ(tileCell(tileTable[4].layer, tileTable[4].row, tileTable[4].column), 4);
}

TEST_F(SavedGameFile, BlocksLieAtTheirOffsetsLittleEndian) {
    tileTable[0].screenX = 0x1234;
    tileTable[0].faceCellY = -2;
    chronoSeconds = 0x01020304;
    const std::string bytes = validBytes();
    ASSERT_EQ(bytes.size(), 9518u);
    auto byte = [&](int offset) { return static_cast<uint8_t>(bytes[offset]); };
    EXPECT_EQ(byte(0), 0x34);
    EXPECT_EQ(byte(1), 0x12);
    EXPECT_EQ(byte(6), 0xFE);
    EXPECT_EQ(byte(7), 0xFF);
    EXPECT_EQ(byte(8), 0);  // tile 0 was removed
    EXPECT_EQ(byte(14 + 8), 0);
    EXPECT_EQ(byte(14 * 5 + 8), dealFaces[5]);
    EXPECT_EQ(byte(14 * 5 + 12), 10);  // column of tile 5
    EXPECT_EQ(byte(14 * 130 + 10), 1);  // layer of tile 130
    EXPECT_EQ(byte(2016 + cellIndex(0, 0, 0)), NO_TILE);
    EXPECT_EQ(byte(2016 + cellIndex(0, 1, 11)), 5);
    EXPECT_EQ(byte(5416 + cellIndex(0, 0, 0)), 1);
    EXPECT_EQ(byte(5416 + cellIndex(0, 0, 1)), 0);
    EXPECT_EQ(byte(8816 + 4 * 2 + 2), 2);   // undo entry 2: tileA
    EXPECT_EQ(byte(8816 + 4 * 2 + 3), 74);  // tileB
    EXPECT_EQ(byte(8816 + 4 * 2 + 0), dealFaces[2]);
    EXPECT_EQ(bytes.substr(9108, 9), "Player 0\0"s);
    EXPECT_EQ(bytes.substr(9108 + 40 + 23, 9), "00:11:00\0"s);
    EXPECT_EQ(byte(9108 + 40 + 36), 660 & 0xFF);
    EXPECT_EQ(byte(9108 + 40 + 37), 660 >> 8);
    EXPECT_EQ(byte(9508), 134);
    EXPECT_EQ(byte(9509), 0);
    EXPECT_EQ(byte(9510), 5);
    EXPECT_EQ(byte(9512), 20);
    EXPECT_EQ(byte(9514), 0x04);
    EXPECT_EQ(byte(9517), 0x01);
}

TEST_F(SavedGameFile, EmptyAndFullBoardsLoad) {
    buildBoard();
    computeFreeTiles();
    GameSnapshot fresh;
    fresh.capture();
    save("FRESH.MYM");
    removePairs(72);
    selectedTile = NO_TILE;
    save("WON.MYM");
    load("FRESH.MYM");
    EXPECT_TRUE(fake::messages.empty()) << fake::messageLog();
    EXPECT_EQ(tilesLeft, 144);
    EXPECT_EQ(undoCount, 0);
    load("WON.MYM");
    EXPECT_TRUE(fake::messages.empty()) << fake::messageLog();
    EXPECT_EQ(tilesLeft, 0);
    EXPECT_EQ(undoCount, 72);
    EXPECT_EQ(selectedTile, NO_TILE);
}

TEST_F(SavedGameFile, OverlappingLayoutIsAccepted) {
    // Tile 129 moved half a tile to the left shares a column of cells with tile 128.
    TileRecord& moved = tileTable[129];
    setTileCells(moved.layer, moved.row, moved.column, NO_TILE);
    layoutCell(moved.layer, moved.row, moved.column) = 0;
    moved.column -= 1;
    layoutCell(moved.layer, moved.row, moved.column) = 1;
    setTileCells(moved.layer, moved.row, moved.column, 129);
    GameSnapshot saved;
    saved.capture();
    save("OVERLAP.MYM");
    otherGame();
    load("OVERLAP.MYM");
    EXPECT_TRUE(fake::messages.empty()) << fake::messageLog();
    EXPECT_EQ(memcmp(tileGrid, saved.grid, sizeof tileGrid), 0);
    EXPECT_EQ(tileTable[129].column, saved.tiles[129].column);
}

TEST_F(SavedGameFile, WrongSizesAreRefusedWithTheSizeMessage) {
    const std::string bytes = validBytes();
    for (size_t size : {size_t{0}, size_t{1}, size_t{9517}, size_t{9519}, size_t{20000}}) {
        std::string file = bytes;
        file.resize(size, '\0');
        EXPECT_TRUE(refused(file)) << size;
        ASSERT_EQ(fake::messages.size(), 1u);
        EXPECT_EQ(fake::messages[0].text, "wrong size");
        EXPECT_EQ(fake::messages[0].kind, PLATFORM_MB_EXCLAMATION);
        EXPECT_EQ(fake::windowTitle, "Velmora's mah-jong v2.0 - Bad.mym");  // the title follows even a failure
        EXPECT_FALSE(loadedGame);
    }
    EXPECT_EQ(readSavedGame("NONE.MYM"), SavedGameOpenFailed);
}

TEST_F(SavedGameFile, MissingFileAndDismissedDialog) {
    otherGame();
    GameSnapshot before;
    before.capture();
    load("ABSENT.MYM");
    ASSERT_EQ(fake::messages.size(), 1u);
    EXPECT_EQ(fake::messages[0].text, "ABSENT.MYM : cannot be read");
    EXPECT_EQ(fake::windowTitle, "Velmora's mah-jong v2.0 - Absent.mym");
    EXPECT_TRUE(before.sameAsGame());

    fake::reset();
    fake::chooseFileResult = false;
    loadGame(nullptr);
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(fake::windowTitle, "");
    EXPECT_EQ(fake::paintCount, 1);  // the board is still recomputed and repainted
    EXPECT_TRUE(before.sameAsGame());

    saveGame(nullptr);
    EXPECT_EQ(start.entryCount("SAVEGAME"), 0);
}

TEST_F(SavedGameFile, WriteFailuresAreReported) {
    start.remove("SAVEGAME");
    save("GAME.MYM");
    ASSERT_EQ(fake::messages.size(), 1u);
    EXPECT_EQ(fake::messages[0].text, "GAME.MYM : cannot be written");
    EXPECT_EQ(fake::messages[0].kind, PLATFORM_MB_EXCLAMATION);
    fake::messages.clear();
    start.makeDirectory("SAVEGAME/DIR.MYM");
    save("DIR.MYM");
    ASSERT_EQ(fake::messages.size(), 1u);
    EXPECT_EQ(fake::messages[0].text, "DIR.MYM : cannot be written");
}

TEST_F(SavedGameFile, EveryDamagedFieldIsRefused) {
    const std::string good = validBytes();
    auto set = [](std::string& b, int offset, int value) { b[offset] = static_cast<char>(value); };
    auto set16 = [](std::string& b, int offset, int value) {
        b[offset] = static_cast<char>(value & 0xFF);
        b[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
    };
    auto tile = [](int t, int field) { return 14 * t + field; };
    auto grid = [](int layer, int row, int column) { return 2016 + cellIndex(layer, row, column); };
    auto layout = [](int layer, int row, int column) { return 5416 + cellIndex(layer, row, column); };
    // Tile 10 is on the board at (0, 0, 20); tiles 0-4 and 72-76 are removed; undo entry k is (k, k + 72).
    const struct {
        const char* what;
        std::function<void(std::string&)> damage;
    } cases[] = {
        {"grid index 144", [&](std::string& b) { set(b, grid(0, 0, 20), 144); }},
        {"grid index 249", [&](std::string& b) { set(b, grid(0, 0, 20), 249); }},
        {"grid names a distant tile", [&](std::string& b) { set(b, grid(0, 0, 20), 11); }},
        {"grid names a removed tile", [&](std::string& b) { set(b, grid(0, 0, 0), 0); }},
        {"tile lost a cell", [&](std::string& b) { set(b, grid(0, 1, 21), NO_TILE); }},
        {"empty cell claimed", [&](std::string& b) { set(b, grid(2, 5, 5), 10); }},
        {"face 43", [&](std::string& b) { set(b, tile(10, 8), 43); }},
        {"face 255", [&](std::string& b) { set(b, tile(10, 8), 255); }},
        {"removed while its cells are set", [&](std::string& b) { set(b, tile(10, 8), 0); }},
        {"layer 5", [&](std::string& b) { set(b, tile(10, 10), 5); }},
        {"row 19", [&](std::string& b) { set(b, tile(10, 11), 19); }},
        {"column 33", [&](std::string& b) { set(b, tile(10, 12), 33); }},
        {"removed tile off the grid", [&](std::string& b) { set(b, tile(0, 11), 200); }},
        {"two tiles on one origin", [&](std::string& b) { set(b, tile(0, 12), 2); }},
        {"layout cell 2", [&](std::string& b) { set(b, layout(0, 0, 20), 2); }},
        {"layout origin missing", [&](std::string& b) { set(b, layout(0, 0, 20), 0); }},
        {"layout origin extra", [&](std::string& b) { set(b, layout(3, 3, 3), 1); }},
        {"tilesLeft odd", [&](std::string& b) { set16(b, 9508, 133); }},
        {"tilesLeft 146", [&](std::string& b) { set16(b, 9508, 146); }},
        {"tilesLeft -2", [&](std::string& b) { set16(b, 9508, -2); }},
        {"tilesLeft 136", [&](std::string& b) { set16(b, 9508, 136); }},
        {"undoCount -1", [&](std::string& b) { set16(b, 9510, -1); }},
        {"undoCount 73", [&](std::string& b) { set16(b, 9510, 73); }},
        {"undoCount 4", [&](std::string& b) { set16(b, 9510, 4); }},
        {"undoCount 6", [&](std::string& b) { set16(b, 9510, 6); }},
        {"undo tile 200", [&](std::string& b) { set(b, 8816 + 2, 200); }},
        {"undo same tile twice", [&](std::string& b) { set(b, 8816 + 3, 0); }},
        {"undo tile on the board", [&](std::string& b) { set(b, 8816 + 2, 10); }},
        {"undo repeats a pair", [&](std::string& b) { set16(b, 8816 + 4 + 2, 0 | (72 << 8)); }},
        {"undo faces differ", [&](std::string& b) { set(b, 8816 + 0, dealFaces[0] + 1); }},
        {"undo face 0", [&](std::string& b) { set(b, 8816 + 0, 0), set(b, 8816 + 1, 0); }},
        {"undo face 50", [&](std::string& b) { set(b, 8816 + 0, 50), set(b, 8816 + 1, 50); }},
        {"selected tile 144", [&](std::string& b) { set16(b, 9512, 144); }},
        {"selected tile -1", [&](std::string& b) { set16(b, 9512, -1); }},
        {"selected tile removed", [&](std::string& b) { set16(b, 9512, 3); }},
        {"selected tile 506", [&](std::string& b) { set16(b, 9512, 506); }},
        {"chronometer negative", [&](std::string& b) { set(b, 9517, 0x80); }},
    };
    for (const auto& c : cases) {
        std::string bad = good;
        c.damage(bad);
        EXPECT_TRUE(refused(bad)) << c.what << "\n" << fake::messageLog();
    }
    // The undamaged file still loads.
    start.write("SAVEGAME/GOOD.MYM", good);
    fake::messages.clear();
    load("GOOD.MYM");
    EXPECT_TRUE(fake::messages.empty()) << fake::messageLog();
    EXPECT_TRUE(loadedGame);
}

// A chronometer near the top of its range would wrap at the next hint or tick.
TEST_F(SavedGameFile, ChronometerBeyondItsLimitIsRefused) {
    std::string bytes = validBytes();
    for (uint32_t seconds : {0x7FFFFFFFu, 0x7FFFFFC4u, static_cast<uint32_t>(CHRONO_LIMIT) + 1, 0xFFFFFFFFu}) {
        for (int i = 0; i < 4; ++i) bytes[9514 + i] = static_cast<char>((seconds >> (8 * i)) & 0xFF);
        EXPECT_TRUE(refused(bytes)) << seconds;
        EXPECT_EQ(fake::messageLog(), "BAD.MYM : cannot be read\n");
    }
    // The limit itself loads, and a hint leaves the chronometer there.
    for (int i = 0; i < 4; ++i) bytes[9514 + i] = static_cast<char>((CHRONO_LIMIT >> (8 * i)) & 0xFF);
    start.write("SAVEGAME/LIMIT.MYM", bytes);
    load("LIMIT.MYM");
    ASSERT_EQ(chronoSeconds, CHRONO_LIMIT);
    hintStep(nullptr);
    EXPECT_EQ(chronoSeconds, CHRONO_LIMIT);
}

TEST_F(SavedGameFile, RandomFilesAreRefused) {
    std::mt19937 random(2024);
    for (int round = 0; round < 30; ++round) {
        std::string bytes(SAVED_GAME_SIZE, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        EXPECT_TRUE(refused(bytes)) << round;
    }
    // A valid file with a few random bytes changed loads or is refused, never crashes.
    const std::string good = validBytes();
    for (int round = 0; round < 200; ++round) {
        std::string bytes = good;
        for (int k = 0; k < 3; ++k) bytes[random() % SAVED_GAME_SIZE] = static_cast<char>(random());
        start.write("SAVEGAME/FUZZ.MYM", bytes);
        fake::messages.clear();
        load("FUZZ.MYM");
        EXPECT_LE(fake::messages.size(), 1u);
        if (fake::messages.empty()) {
            EXPECT_TRUE(loadedGame);
            EXPECT_LE(tilesLeft, 144);
        }
    }
}

TEST_F(SavedGameFile, HallOfFameTextsAreTerminated) {
    std::string bytes = validBytes();
    for (int i = 0; i < 23; ++i) bytes[9108 + i] = 'A';
    for (int i = 0; i < 13; ++i) bytes[9108 + 23 + i] = '9';
    start.write("SAVEGAME/HALL.MYM", bytes);
    otherGame();
    load("HALL.MYM");
    EXPECT_TRUE(fake::messages.empty()) << fake::messageLog();
    EXPECT_EQ(strlen(hallOfFame[0].name), 22u);
    EXPECT_EQ(strlen(hallOfFame[0].time), 12u);
    EXPECT_STREQ(hallOfFame[1].name, "Player 1");
}
