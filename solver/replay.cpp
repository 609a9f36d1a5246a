#include "solver/replay.h"

#include <cstring>

#include "engine/rules.h"

bool replayClearsBoard(const TileRecord* tiles, const uint8_t* grid, const SolverResult& result) {
    static TileRecord savedTable[TILE_COUNT];
    static TileGrid savedGrid;
    static TileRecord replayTable[TILE_COUNT];
    static TileGrid replayGrid;
    // The position may be the game's own board: copy it before the game's board is set aside.
    memcpy(replayTable, tiles, sizeof replayTable);
    memcpy(replayGrid, grid, sizeof replayGrid);
    memcpy(savedTable, tileTable, sizeof savedTable);
    memcpy(savedGrid, tileGrid, sizeof savedGrid);
    memcpy(tileTable, replayTable, sizeof replayTable);
    memcpy(tileGrid, replayGrid, sizeof replayGrid);

    bool legal = result.answer == SolverWinnable;
    for (int k = 0; legal && k < result.pairCount; ++k) {
        const int a = result.order[2 * k], b = result.order[2 * k + 1];
        computeFreeTiles();
        legal = a != b && a < TILE_COUNT && b < TILE_COUNT && tileTable[a].face != 0 && tileTable[b].face != 0 &&
                tileTable[a].state == Free && tileTable[b].state == Free &&
                tilesMatch(tileTable[a].face, tileTable[b].face);
        if (!legal) break;
        setTileCells(tileTable[a].layer, tileTable[a].row, tileTable[a].column, NO_TILE);
        setTileCells(tileTable[b].layer, tileTable[b].row, tileTable[b].column, NO_TILE);
        tileTable[a].face = 0;
        tileTable[b].face = 0;
    }
    for (int t = 0; legal && t < TILE_COUNT; ++t) legal = tileTable[t].face == 0;

    memcpy(tileTable, savedTable, sizeof savedTable);
    memcpy(tileGrid, savedGrid, sizeof savedGrid);
    return legal;
}
