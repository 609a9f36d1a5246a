#include "engine/rules.h"

#include <cstring>

#include "engine/board.h"

static inline bool isTile(uint8_t cell) { return cell < TILE_COUNT; }

// Eight cells at once: true when none of them holds a tile index.
static inline bool eightEmpty(const uint8_t* cells) {
    uint64_t word;
    memcpy(&word, cells, sizeof word);
    return word == 0xFAFAFAFAFAFAFAFAull;  // NO_TILE in every byte
}

void computeFreeTiles() {
    // 1. Every tile blocked; removed tiles are covered so that nothing frees them.
    for (int t = 0; t < TILE_COUNT; ++t) tileTable[t].state = tileTable[t].face == 0 ? Covered : Blocked;

    // 2. A tile is covered when any of its cells has a tile on the layer directly above.
    for (int cell = 0; cell < (LAYER_COUNT - 1) * LAYER_CELLS;) {
        if (cell + 8 <= (LAYER_COUNT - 1) * LAYER_CELLS && eightEmpty(&tileGrid[cell + LAYER_CELLS])) {
            cell += 8;
            continue;
        }
        uint8_t above = tileGrid[cell + LAYER_CELLS];
        uint8_t here = tileGrid[cell];
        if (isTile(above) && isTile(here)) tileTable[here].state = Covered;
        ++cell;
    }

    // 3. Uncovered tiles at the grid edges, or with both cells on one side empty, are free.
    //    Only cells that hold a tile can become free, so runs of empty cells are skipped.
    for (int layer = 0; layer < LAYER_COUNT; ++layer) {
        for (int row = 0; row < ROW_COUNT; ++row) {
            const uint8_t* line = &tileGrid[cellIndex(layer, row, 0)];
            if (eightEmpty(line) && eightEmpty(line + 8) && eightEmpty(line + 16) && eightEmpty(line + 24) &&
                !isTile(line[32]) && !isTile(line[33]))
                continue;
            uint8_t first = line[0];
            if (isTile(first) && tileTable[first].state != Covered) tileTable[first].state = Free;
            uint8_t last = line[COLUMN_COUNT - 1];
            if (isTile(last) && tileTable[last].state != Covered) tileTable[last].state = Free;
            if (row >= ROW_COUNT - 1) continue;
            const uint8_t* next = line + COLUMN_COUNT;
            for (int c = 0; c < COLUMN_COUNT;) {
                if (c + 8 <= COLUMN_COUNT && eightEmpty(line + c)) {
                    c += 8;
                    continue;
                }
                uint8_t tile = line[c];
                if (isTile(tile) && next[c] == tile && tileTable[tile].state != Covered) {
                    // open on its left: both cells two columns to the left are empty
                    if (c >= 2 && !isTile(line[c - 2]) && !isTile(next[c - 2])) tileTable[tile].state = Free;
                    // open on its right: both cells two columns to the right are empty
                    if (c <= COLUMN_COUNT - 3 && !isTile(line[c + 2]) && !isTile(next[c + 2]))
                        tileTable[tile].state = Free;
                }
                ++c;
            }
        }
    }

    // 4. What is still covered is blocked.
    for (int t = 0; t < TILE_COUNT; ++t)
        if (tileTable[t].state == Covered) tileTable[t].state = Blocked;
}

void findPairs(int mode) {
    pairList[0][0] = NO_TILE;
    pairList[0][1] = NO_TILE;
    pairCount = 0;

    uint8_t freeTiles[TILE_COUNT];
    int freeCount = 0;
    for (int t = 0; t < TILE_COUNT; ++t)
        if (tileTable[t].state == Free) freeTiles[freeCount++] = (uint8_t)t;

    // Every unordered pair once, as (lower, higher), in increasing order of the lower
    // index and then of the higher. Limited mode keeps the first 51 of that order.
    const int limit = mode != 0 ? DEAL_CANDIDATE_LIMIT + 1 : PAIR_LIST_SIZE;
    for (int x = 0; x < freeCount && pairCount < limit; ++x) {
        uint8_t a = freeTiles[x];
        int faceA = tileTable[a].face;
        for (int y = x + 1; y < freeCount; ++y) {
            uint8_t b = freeTiles[y];
            if (!tilesMatch(faceA, tileTable[b].face)) continue;
            pairList[pairCount][0] = a;
            pairList[pairCount][1] = b;
            if (++pairCount >= limit) break;
        }
    }
    hintIndex = 0;
}
