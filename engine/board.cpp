#include "engine/board.h"

LayoutGrid layoutGrid;
TileGrid tileGrid;
TileRecord tileTable[TILE_COUNT];

// Two halves of 72 faces each; entry i and entry i + 72 always match, so any
// pair of positions can receive dealFaces[r] and dealFaces[r + 72].
const uint8_t dealFaces[TILE_COUNT] = {
    // 0-53: each suit face twice
    1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9,
    10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16, 17, 17, 18, 18,
    19, 19, 20, 20, 21, 21, 22, 22, 23, 23, 24, 24, 25, 25, 26, 26, 27, 27,
    // 54-71: two of the first bonus set, winds, two of the second bonus set, dragons
    28, 29, 32, 32, 33, 33, 34, 34, 35, 35, 36, 37, 40, 40, 41, 41, 42, 42,
    // 72-125
    1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9,
    10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16, 17, 17, 18, 18,
    19, 19, 20, 20, 21, 21, 22, 22, 23, 23, 24, 24, 25, 25, 26, 26, 27, 27,
    // 126-143
    30, 31, 32, 32, 33, 33, 34, 34, 35, 35, 38, 39, 40, 40, 41, 41, 42, 42,
};

int16_t selectedTile = NO_TILE;
int16_t secondTile = NO_TILE;
int16_t tilesLeft = TILE_COUNT;
int16_t undoCount = 0;
UndoEntry undoStack[UNDO_STACK_SIZE];
uint8_t pairList[PAIR_LIST_SIZE][2];
int16_t pairCount = 0;
int16_t hintIndex = 0;
std::atomic<bool> hintShown{false};
int32_t chronoSeconds = 0;
std::atomic<bool> chronoPaused{false};
bool gameFinished = false;
bool loadedGame = false;
std::atomic<bool> autoplayRunning{false};
uint8_t dealOrder[TILE_COUNT];
uint8_t shadowFlags[TILE_COUNT][SHADOW_FLAG_COUNT];
char playerName[22];

void setTileCells(int layer, int row, int column, uint8_t value) {
    if (layer < 0 || layer >= LAYER_COUNT || row < 0 || row > ROW_COUNT - 2 || column < 0 ||
        column > COLUMN_COUNT - 2)
        return;  // an origin without four cells in the grid covers nothing
    uint8_t* cell = &tileGrid[cellIndex(layer, row, column)];
    cell[0] = value;
    cell[1] = value;
    cell[COLUMN_COUNT] = value;
    cell[COLUMN_COUNT + 1] = value;
}

bool tilesMatch(int face1, int face2) {
    if (face1 == face2) return true;
    if (face1 >= 28 && face1 <= 31 && face2 >= 28 && face2 <= 31) return true;
    if (face1 >= 36 && face1 <= 39 && face2 >= 36 && face2 <= 39) return true;
    return false;
}

void resetGameState() {
    selectedTile = NO_TILE;
    secondTile = NO_TILE;
    tilesLeft = TILE_COUNT;
    undoCount = 0;
    pairCount = 0;
    hintIndex = 0;
    hintShown = false;
    chronoSeconds = 0;
    chronoPaused = false;
    gameFinished = false;
}

void addChronoSeconds(int32_t seconds) {
    int64_t sum = static_cast<int64_t>(chronoSeconds) + seconds;
    if (sum > CHRONO_LIMIT) sum = CHRONO_LIMIT;
    if (sum < 0) sum = 0;
    chronoSeconds = static_cast<int32_t>(sum);
}
