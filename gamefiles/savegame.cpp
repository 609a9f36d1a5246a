// Saved games: nine blocks of the board and the game state, 9518 bytes in all,
// little-endian, no header. A file is checked whole before anything in memory
// changes, so a damaged or foreign file leaves the game as it was.
#include "gamefiles/savegame.h"

#include <cstdio>
#include <cstring>

#include "engine/board.h"
#include "engine/deal.h"
#include "engine/host.h"
#include "engine/play.h"
#include "gamefiles/halloffame.h"
#include "platform/files.h"
#include "settings/directories.h"
#include "settings/language.h"
#include "settings/messages.h"

namespace {

constexpr int TILE_TABLE_OFFSET = 0;
constexpr int TILE_GRID_OFFSET = 2016;
constexpr int LAYOUT_GRID_OFFSET = 5416;
constexpr int UNDO_STACK_OFFSET = 8816;
constexpr int HALL_OF_FAME_OFFSET = 9108;
constexpr int TILES_LEFT_OFFSET = 9508;
constexpr int UNDO_COUNT_OFFSET = 9510;
constexpr int SELECTED_TILE_OFFSET = 9512;
constexpr int CHRONO_OFFSET = 9514;
constexpr int TILE_RECORD_SIZE = 14;
constexpr int HALL_ENTRY_SIZE = 40;
constexpr int MAX_REMOVALS = TILE_COUNT / 2;
constexpr int MAX_FACE = 42;
static_assert(CHRONO_OFFSET + 4 == SAVED_GAME_SIZE, "the saved-game blocks fill 9518 bytes");
static_assert(TILE_TABLE_OFFSET + TILE_COUNT * TILE_RECORD_SIZE == TILE_GRID_OFFSET, "tile table block");
static_assert(UNDO_STACK_OFFSET + UNDO_STACK_SIZE * 4 == HALL_OF_FAME_OFFSET, "undo block");
static_assert(HALL_OF_FAME_OFFSET + HALL_OF_FAME_SIZE * HALL_ENTRY_SIZE == TILES_LEFT_OFFSET, "hall block");

// Everything a saved game holds, decoded.
struct SavedGame {
    TileRecord tiles[TILE_COUNT];
    uint8_t tileGrid[GRID_CELLS];
    uint8_t layoutGrid[GRID_CELLS];
    UndoEntry undo[UNDO_STACK_SIZE];
    HallOfFameEntry hall[HALL_OF_FAME_SIZE];
    int16_t tilesLeft;
    int16_t undoCount;
    int16_t selectedTile;
    int32_t chronoSeconds;
};

// Kept off the stack; only the user-interface thread saves and loads.
SavedGame savedGame;
uint8_t fileBytes[SAVED_GAME_SIZE];

void put16(uint8_t* at, int16_t value) {
    uint16_t v = static_cast<uint16_t>(value);
    at[0] = static_cast<uint8_t>(v & 0xFF);
    at[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* at, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

int16_t get16(const uint8_t* at) { return static_cast<int16_t>(static_cast<uint16_t>(at[0] | (at[1] << 8))); }

int32_t get32(const uint8_t* at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | at[i];
    return static_cast<int32_t>(v);
}

void encodeGame(uint8_t* bytes) {
    memset(bytes, 0, SAVED_GAME_SIZE);
    for (int t = 0; t < TILE_COUNT; ++t) {
        uint8_t* at = bytes + TILE_TABLE_OFFSET + t * TILE_RECORD_SIZE;
        const TileRecord& tile = tileTable[t];
        put16(at, tile.screenX);
        put16(at + 2, tile.screenY);
        put16(at + 4, tile.faceCellX);
        put16(at + 6, tile.faceCellY);
        at[8] = tile.face;
        at[9] = tile.state;
        at[10] = tile.layer;
        at[11] = tile.row;
        at[12] = tile.column;
        at[13] = tile.padding;
    }
    memcpy(bytes + TILE_GRID_OFFSET, tileGrid, GRID_CELLS);
    memcpy(bytes + LAYOUT_GRID_OFFSET, layoutGrid, GRID_CELLS);
    for (int i = 0; i < UNDO_STACK_SIZE; ++i) {
        uint8_t* at = bytes + UNDO_STACK_OFFSET + 4 * i;
        at[0] = undoStack[i].faceA;
        at[1] = undoStack[i].faceB;
        at[2] = undoStack[i].tileA;
        at[3] = undoStack[i].tileB;
    }
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) {
        uint8_t* at = bytes + HALL_OF_FAME_OFFSET + HALL_ENTRY_SIZE * i;
        memcpy(at, hallOfFame[i].name, sizeof hallOfFame[i].name);
        memcpy(at + 23, hallOfFame[i].time, sizeof hallOfFame[i].time);
        put32(at + 36, hallOfFame[i].seconds);
    }
    put16(bytes + TILES_LEFT_OFFSET, tilesLeft);
    put16(bytes + UNDO_COUNT_OFFSET, undoCount);
    put16(bytes + SELECTED_TILE_OFFSET, selectedTile);
    put32(bytes + CHRONO_OFFSET, chronoSeconds);
}

void decodeGame(const uint8_t* bytes, SavedGame& game) {
    for (int t = 0; t < TILE_COUNT; ++t) {
        const uint8_t* at = bytes + TILE_TABLE_OFFSET + t * TILE_RECORD_SIZE;
        TileRecord& tile = game.tiles[t];
        tile.screenX = get16(at);
        tile.screenY = get16(at + 2);
        tile.faceCellX = get16(at + 4);
        tile.faceCellY = get16(at + 6);
        tile.face = at[8];
        tile.state = at[9];
        tile.layer = at[10];
        tile.row = at[11];
        tile.column = at[12];
        tile.padding = at[13];
    }
    memcpy(game.tileGrid, bytes + TILE_GRID_OFFSET, GRID_CELLS);
    memcpy(game.layoutGrid, bytes + LAYOUT_GRID_OFFSET, GRID_CELLS);
    for (int i = 0; i < UNDO_STACK_SIZE; ++i) {
        const uint8_t* at = bytes + UNDO_STACK_OFFSET + 4 * i;
        game.undo[i].faceA = at[0];
        game.undo[i].faceB = at[1];
        game.undo[i].tileA = at[2];
        game.undo[i].tileB = at[3];
    }
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) {
        const uint8_t* at = bytes + HALL_OF_FAME_OFFSET + HALL_ENTRY_SIZE * i;
        memcpy(game.hall[i].name, at, sizeof game.hall[i].name);
        memcpy(game.hall[i].time, at + 23, sizeof game.hall[i].time);
        game.hall[i].seconds = get32(at + 36);
    }
    game.tilesLeft = get16(bytes + TILES_LEFT_OFFSET);
    game.undoCount = get16(bytes + UNDO_COUNT_OFFSET);
    game.selectedTile = get16(bytes + SELECTED_TILE_OFFSET);
    game.chronoSeconds = get32(bytes + CHRONO_OFFSET);
}

// The board of a saved game must be one the game itself could have reached:
// every index in range, grids and tile records agreeing, the counters and the
// undo history consistent with the tiles taken off.
bool validGame(const SavedGame& game) {
    // Tile positions: origins inside the grid, 144 different ones, each marked
    // in the layout grid and nothing else marked there.
    static uint8_t isOrigin[GRID_CELLS];
    static uint8_t footprints[GRID_CELLS];
    memset(isOrigin, 0, sizeof isOrigin);
    memset(footprints, 0, sizeof footprints);
    int faces = 0;
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRecord& tile = game.tiles[t];
        if (tile.layer >= LAYER_COUNT || tile.row > ROW_COUNT - 2 || tile.column > COLUMN_COUNT - 2) return false;
        if (tile.face > MAX_FACE) return false;
        if (tile.face != 0) ++faces;
        int origin = cellIndex(tile.layer, tile.row, tile.column);
        if (isOrigin[origin]) return false;
        isOrigin[origin] = 1;
        footprints[origin]++;
        footprints[origin + 1]++;
        footprints[origin + COLUMN_COUNT]++;
        footprints[origin + COLUMN_COUNT + 1]++;
    }
    for (int cell = 0; cell < GRID_CELLS; ++cell) {
        if (game.layoutGrid[cell] > 1) return false;
        if (game.layoutGrid[cell] != isOrigin[cell]) return false;
    }

    // Grid cells: empty, or covered by a tile on the board whose four cells
    // include this one.
    for (int cell = 0; cell < GRID_CELLS; ++cell) {
        uint8_t t = game.tileGrid[cell];
        if (t == NO_TILE) continue;
        if (t >= TILE_COUNT) return false;
        const TileRecord& tile = game.tiles[t];
        if (tile.face == 0) return false;
        int origin = cellIndex(tile.layer, tile.row, tile.column);
        if (cell != origin && cell != origin + 1 && cell != origin + COLUMN_COUNT &&
            cell != origin + COLUMN_COUNT + 1) {
            return false;
        }
    }
    // Each tile on the board holds its four cells, except cells it shares with
    // another tile of an overlapping layout.
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRecord& tile = game.tiles[t];
        if (tile.face == 0) continue;
        int origin = cellIndex(tile.layer, tile.row, tile.column);
        const int cells[4] = {origin, origin + 1, origin + COLUMN_COUNT, origin + COLUMN_COUNT + 1};
        for (int cell : cells) {
            if (footprints[cell] == 1 && game.tileGrid[cell] != t) return false;
        }
    }

    // Counters.
    if (game.tilesLeft != faces || game.tilesLeft % 2 != 0) return false;
    if (game.undoCount < 0 || game.undoCount > MAX_REMOVALS) return false;
    if (game.undoCount != (TILE_COUNT - game.tilesLeft) / 2) return false;
    if (game.chronoSeconds < 0 || game.chronoSeconds > CHRONO_LIMIT) return false;

    // Undo history: every removed tile exactly once, with a matching pair of faces.
    static uint8_t seen[TILE_COUNT];
    memset(seen, 0, sizeof seen);
    for (int i = 0; i < game.undoCount; ++i) {
        const UndoEntry& entry = game.undo[i];
        if (entry.tileA >= TILE_COUNT || entry.tileB >= TILE_COUNT || entry.tileA == entry.tileB) return false;
        if (seen[entry.tileA] || seen[entry.tileB]) return false;
        seen[entry.tileA] = seen[entry.tileB] = 1;
        if (game.tiles[entry.tileA].face != 0 || game.tiles[entry.tileB].face != 0) return false;
        if (entry.faceA < 1 || entry.faceA > MAX_FACE || entry.faceB < 1 || entry.faceB > MAX_FACE) return false;
        if (!tilesMatch(entry.faceA, entry.faceB)) return false;
    }

    // Selection: nothing, or a tile on the board.
    if (game.selectedTile != NO_TILE) {
        if (game.selectedTile < 0 || game.selectedTile >= TILE_COUNT) return false;
        if (game.tiles[game.selectedTile].face == 0) return false;
    }
    return true;
}

}  // namespace

bool writeSavedGame(const char* name) {
    encodeGame(fileBytes);
    return platformReplaceFile(name, fileBytes, SAVED_GAME_SIZE);
}

SavedGameResult readSavedGame(const char* name) {
    FILE* file = platformOpenFile(name, "rb");
    if (!file) return SavedGameOpenFailed;
    if (platformFileSize(file) != SAVED_GAME_SIZE) {
        fclose(file);
        return SavedGameWrongSize;
    }
    size_t read = fread(fileBytes, 1, SAVED_GAME_SIZE, file);
    bool longer = fgetc(file) != EOF;
    fclose(file);
    if (read != static_cast<size_t>(SAVED_GAME_SIZE) || longer) return SavedGameWrongSize;

    decodeGame(fileBytes, savedGame);
    if (!validGame(savedGame)) return SavedGameInvalid;

    resetGameState();
    memcpy(tileTable, savedGame.tiles, sizeof tileTable);
    for (TileRecord& tile : tileTable) tile.padding = 0;
    memcpy(tileGrid, savedGame.tileGrid, sizeof tileGrid);
    memcpy(layoutGrid, savedGame.layoutGrid, sizeof layoutGrid);
    memcpy(undoStack, savedGame.undo, sizeof undoStack);
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) {
        hallOfFame[i] = savedGame.hall[i];
        terminateHallOfFameEntry(&hallOfFame[i]);
    }
    tilesLeft = savedGame.tilesLeft;
    undoCount = savedGame.undoCount;
    selectedTile = savedGame.selectedTile;
    chronoSeconds = savedGame.chronoSeconds;
    loadedGame = true;
    return SavedGameOk;
}

void saveGame(WindowHandle window) {
    static char name[FILE_NAME_SIZE];
    name[0] = 0;
    if (!host.chooseFile(window, saveGameDirectory, name, "*.MYM", LanguageTexts.FilterSaveGame, false)) return;
    bool written = platformSetCurrentDirectory(saveGameDirectory) && writeSavedGame(name);
    returnToStartDirectory();
    if (!written) showFileMessage(window, name, LanguageTexts.MesWriteError);
}

void loadGame(WindowHandle window) {
    static char name[FILE_NAME_SIZE];
    name[0] = 0;
    if (host.chooseFile(window, saveGameDirectory, name, "*.MYM", LanguageTexts.FilterSaveGame, true)) {
        SavedGameResult result = SavedGameOpenFailed;
        if (platformSetCurrentDirectory(saveGameDirectory)) result = readSavedGame(name);
        if (result == SavedGameOpenFailed || result == SavedGameInvalid) {
            showFileMessage(window, name, LanguageTexts.MesReadError);
        } else if (result == SavedGameWrongSize) {
            showMessage(window, LanguageTexts.MesSizeError, MessageExclamation);
        }
        returnToStartDirectory();
        setTitleForFile(window, name);
    }
    refreshBoard(window);
}
