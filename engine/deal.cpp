#include "engine/deal.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/board.h"
#include "engine/host.h"
#include "engine/layout.h"
#include "engine/play.h"
#include "engine/rules.h"
#include "platform/system.h"
#include "settings/settings.h"

bool dealOrderValid = false;
// Set once the generator has been seeded from the clock; the first easy deal of a
// run seeds it so that it does not repeat the same game every start.
bool randomSeeded = false;
// Attempts the last easy deal needed: 1 to EASY_DEAL_ATTEMPT_LIMIT, one more when
// it went on to the backtracking search; 0 after a random deal.
int easyDealAttempts = 0;

static constexpr int HALF_DEAL = TILE_COUNT / 2;
static constexpr uint8_t PLACEHOLDER_FACE = 1;  // any two free tiles match under it

void seedRandomFromClock() {
    srand((unsigned)platformTimeSeconds());
    randomSeeded = true;
}

static void takeOffGrid(int tile) {
    const TileRecord& record = tileTable[tile];
    setTileCells(record.layer, record.row, record.column, NO_TILE);
    tileTable[tile].face = 0;
}

static void putBackOnGrid(int tile) {
    const TileRecord& record = tileTable[tile];
    setTileCells(record.layer, record.row, record.column, (uint8_t)tile);
    tileTable[tile].face = PLACEHOLDER_FACE;
}

static void setAllFaces(uint8_t face) {
    for (int t = 0; t < TILE_COUNT; ++t) tileTable[t].face = face;
}

// Faces scattered at random: each face of the pool on the first free position of
// a sequence that restarts with every reseeding.
static void dealRandomFaces(uint8_t* pool) {
    setAllFaces(0);
    for (int i = 0; i < TILE_COUNT; ++i) {
        seedRandomFromClock();
        int t;
        do t = rand() % TILE_COUNT;
        while (tileTable[t].face != 0);
        tileTable[t].face = pool[i];
        pool[i] = 0;
    }
}

// One attempt of the easy deal: removes random pairs of free placeholder tiles
// until the board is empty (true) or no pair is left (false). Leaves tileGrid
// emptied as far as it got; the caller restores it.
static bool drawRemovalOrder() {
    setAllFaces(PLACEHOLDER_FACE);
    for (int k = 0; k < TILE_COUNT; k += 2) {
        computeFreeTiles();
        findPairs(1);
        if (pairCount == 0) return false;
        int j = pairCount > 2 ? rand() % (pairCount - 1) : 0;
        uint8_t a = pairList[j][0];
        uint8_t b = pairList[j][1];
        dealOrder[k] = a;
        dealOrder[k + 1] = b;
        takeOffGrid(a);
        takeOffGrid(b);
    }
    return true;
}

// The free tiles of the current grid, highest layer first, in random order within a layer.
struct SearchLevel {
    uint8_t freeTiles[TILE_COUNT];
    int freeCount;
    int first, second;  // the pair of freeTiles tried at this level
};

static void prepareLevel(SearchLevel& level) {
    computeFreeTiles();
    level.freeCount = 0;
    for (int t = 0; t < TILE_COUNT; ++t)
        if (tileTable[t].state == Free) level.freeTiles[level.freeCount++] = (uint8_t)t;
    for (int i = level.freeCount - 1; i > 0; --i) {
        int j = rand() % (i + 1);
        uint8_t held = level.freeTiles[i];
        level.freeTiles[i] = level.freeTiles[j];
        level.freeTiles[j] = held;
    }
    for (int i = 1; i < level.freeCount; ++i) {  // stable: keeps the random order within a layer
        uint8_t tile = level.freeTiles[i];
        int j = i;
        while (j > 0 && tileTable[level.freeTiles[j - 1]].layer < tileTable[tile].layer) {
            level.freeTiles[j] = level.freeTiles[j - 1];
            --j;
        }
        level.freeTiles[j] = tile;
    }
    level.first = 0;
    level.second = 1;
}

static void nextPair(SearchLevel& level) {
    if (++level.second >= level.freeCount) {
        ++level.first;
        level.second = level.first + 1;
    }
}

// Depth-first search with backtracking for a removal order that clears the board,
// taking the highest free tiles first so that no stack is left standing alone.
// Bounded by BACKTRACK_RESTARTS fresh starts of BACKTRACK_PAIRS_PER_RESTART tries.
bool searchRemovalOrder(const uint8_t* fullGrid) {
    static_assert(sizeof(SearchLevel) * HALF_DEAL < 16384, "search levels live on the stack");
    SearchLevel levels[HALF_DEAL];
    for (int restart = 0; restart < BACKTRACK_RESTARTS; ++restart) {
        memcpy(tileGrid, fullGrid, GRID_CELLS);
        setAllFaces(PLACEHOLDER_FACE);
        int depth = 0;
        int tries = 0;
        prepareLevel(levels[0]);
        while (tries < BACKTRACK_PAIRS_PER_RESTART) {
            SearchLevel& level = levels[depth];
            if (level.second >= level.freeCount) {  // every pair of this level failed
                if (depth == 0) break;
                --depth;
                putBackOnGrid(dealOrder[2 * depth]);
                putBackOnGrid(dealOrder[2 * depth + 1]);
                nextPair(levels[depth]);
                continue;
            }
            uint8_t a = level.freeTiles[level.first];
            uint8_t b = level.freeTiles[level.second];
            dealOrder[2 * depth] = a;
            dealOrder[2 * depth + 1] = b;
            takeOffGrid(a);
            takeOffGrid(b);
            ++tries;
            if (++depth == HALF_DEAL) return true;
            prepareLevel(levels[depth]);
        }
    }
    return false;
}

// Matching faces on each recorded pair: dealFaces[r] and dealFaces[r + 72] always match.
static void placeFacesOnOrder(uint8_t* pool) {
    for (int k = 0; k < TILE_COUNT; k += 2) {
        seedRandomFromClock();
        int r;
        do r = rand() % HALF_DEAL;
        while (pool[r] == 0);
        tileTable[dealOrder[k]].face = pool[r];
        tileTable[dealOrder[k + 1]].face = pool[r + HALF_DEAL];
        pool[r] = 0;
        pool[r + HALF_DEAL] = 0;
    }
}

static void dealEasyFaces(uint8_t* pool) {
    if (!randomSeeded) seedRandomFromClock();
    uint8_t fullGrid[GRID_CELLS];
    memcpy(fullGrid, tileGrid, sizeof fullGrid);
    bool found = false;
    easyDealAttempts = 0;
    while (easyDealAttempts < EASY_DEAL_ATTEMPT_LIMIT && !found) {
        ++easyDealAttempts;
        memcpy(pool, dealFaces, TILE_COUNT);
        found = drawRemovalOrder();
        memcpy(tileGrid, fullGrid, sizeof fullGrid);
    }
    if (!found) {
        ++easyDealAttempts;
        found = searchRemovalOrder(fullGrid);
        memcpy(tileGrid, fullGrid, sizeof fullGrid);
    }
    memcpy(pool, dealFaces, TILE_COUNT);
    if (found) {
        placeFacesOnOrder(pool);
    } else {
        dealRandomFaces(pool);
    }
    dealOrderValid = found;
}

void newDeal(WindowHandle window) {
    // A saved game brought its own layout: read the current one again.
    if (loadedGame) {
        loadLayout(window);
        loadedGame = false;
    }
    uint8_t pool[TILE_COUNT];
    memcpy(pool, dealFaces, sizeof pool);
    if (Settings.EasyMode == 0) {
        dealRandomFaces(pool);
        dealOrderValid = false;
        easyDealAttempts = 0;
    } else {
        dealEasyFaces(pool);
    }
    // Both ways put a face on every one of the 144 tiles.
    tilesLeft = 0;
    for (int t = 0; t < TILE_COUNT; ++t)
        if (tileTable[t].face != 0) ++tilesLeft;

    resetGameState();
    refreshBoard(window);
    setTitleForFile(window, layoutName);
}

void setTitleForFile(WindowHandle window, const char* name) {
    char shown[FILE_NAME_SIZE];
    copyText(shown, name, sizeof shown);
    for (char* c = shown; *c; ++c) *c = (char)tolower((unsigned char)*c);
    shown[0] = (char)toupper((unsigned char)shown[0]);
    char title[FILE_NAME_SIZE + 64];
    snprintf(title, sizeof title, "%s - %s", PROGRAM_TITLE, shown);
    host.setWindowTitle(window, title);
}
