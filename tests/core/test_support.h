// Shared helpers of the engine tests: message texts, layouts built in memory
// (the turtle and a few other shapes), and replaying a deal.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/board.h"
#include "engine/deal.h"
#include "engine/layout.h"
#include "engine/play.h"
#include "engine/rules.h"
#include "gamefiles/halloffame.h"
#include "platform/system.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "tests/core/temp_dir.h"
#include "tests/support/internals.h"
#include "tests/support/null_host.h"

struct Origin {
    int layer, row, column;
};

// Every message slot the engine shows holds its own key, so tests can tell them apart.
inline void setEngineTexts() {
    memset(&LanguageTexts, 0, sizeof LanguageTexts);
#define MJ_SET_TEXT(key) copyText(LanguageTexts.key, #key, LONG_TEXT_SIZE);
    MJ_SET_TEXT(MesUndo) MJ_SET_TEXT(MesWinLoad) MJ_SET_TEXT(MesWinNoHall) MJ_SET_TEXT(MesScores)
    MJ_SET_TEXT(MesNo144Tiles) MJ_SET_TEXT(MesWriteError) MJ_SET_TEXT(MesReadError)
#undef MJ_SET_TEXT
}

// Settings the engine reads, at their defaults.
inline void setEngineSettings() {
    Settings.EasyMode = 1;
    Settings.AutoPlaySleep = 500;
    Settings.RemoveTileTime = 500;
    Settings.lay = 0;
    view3D = false;
    copyText(Settings.Layout, "TEST.MYL", FILE_NAME_SIZE);
}

inline void clearGrids() {
    memset(tileGrid, NO_TILE, sizeof tileGrid);
    memset(layoutGrid, 0, sizeof layoutGrid);
}

// Puts the origins into layoutGrid and lets finishLayout number them.
inline void installLayout(const std::vector<Origin>& origins) {
    clearGrids();
    for (const Origin& o : origins) layoutCell(o.layer, o.row, o.column) = 1;
    finishLayout(nullptr);
}

// Puts tiles on the board directly, index i at origins[i] with face faces[i] (or 1),
// without numbering; the other records are off the board with face 0.
inline void placeTiles(const std::vector<Origin>& origins, const std::vector<int>& faces = {}) {
    clearGrids();
    memset(tileTable, 0, sizeof tileTable);
    for (size_t i = 0; i < origins.size() && i < (size_t)TILE_COUNT; ++i) {
        const Origin& o = origins[i];
        layoutCell(o.layer, o.row, o.column) = 1;
        setTileCells(o.layer, o.row, o.column, (uint8_t)i);
        tileTable[i].layer = (uint8_t)o.layer;
        tileTable[i].row = (uint8_t)o.row;
        tileTable[i].column = (uint8_t)o.column;
        tileTable[i].face = (uint8_t)(i < faces.size() ? faces[i] : 1);
    }
}

// Whole-tile rectangle of origins: `across` tiles from `column`, `down` rows from `row`.
inline void addBlock(std::vector<Origin>& origins, int layer, int row, int column, int down, int across) {
    for (int r = 0; r < down; ++r)
        for (int c = 0; c < across; ++c) origins.push_back({layer, row + 2 * r, column + 2 * c});
}

// The classic turtle: 87 tiles on the base with a single tile at the left end and
// two at the right end on the half row between the middle rows, 6x6, 4x4, 2x2 above,
// and one tile on top straddling the four of layer 3.
inline std::vector<Origin> turtleLayout() {
    std::vector<Origin> o;
    const int baseCounts[8] = {12, 8, 10, 12, 12, 10, 8, 12};
    for (int r = 0; r < 8; ++r) {
        int count = baseCounts[r];
        int firstColumn = 2 + (12 - count);  // centred: one tile is two columns
        addBlock(o, 0, 2 * r, firstColumn, 1, count);
    }
    o.push_back({0, 7, 0});
    o.push_back({0, 7, 26});
    o.push_back({0, 7, 28});
    addBlock(o, 1, 2, 8, 6, 6);
    addBlock(o, 2, 4, 10, 4, 4);
    addBlock(o, 3, 6, 12, 2, 2);
    o.push_back({4, 7, 13});
    return o;
}

// A pyramid whose upper layers straddle four tiles each: 64 + 49 + 25 + 6.
inline std::vector<Origin> pyramidLayout() {
    std::vector<Origin> o;
    addBlock(o, 0, 0, 0, 8, 8);
    addBlock(o, 1, 1, 1, 7, 7);
    addBlock(o, 2, 2, 2, 5, 5);
    addBlock(o, 3, 5, 5, 2, 3);
    return o;
}

// One layer of 16 x 9 tiles.
inline std::vector<Origin> flatLayout() {
    std::vector<Origin> o;
    addBlock(o, 0, 0, 0, 9, 16);
    return o;
}

// Towers: 28 stacks of five in four touching rows of seven, and four lone tiles.
inline std::vector<Origin> towerLayout() {
    std::vector<Origin> o;
    for (int layer = 0; layer < LAYER_COUNT; ++layer) addBlock(o, layer, 0, 0, 4, 7);
    addBlock(o, 0, 12, 20, 1, 4);
    return o;
}

inline int countOrigins() {
    int count = 0;
    for (int cell = 0; cell < GRID_CELLS; ++cell) count += layoutGrid[cell] == 1;
    return count;
}

// Removes the pairs of dealOrder in order; true when each pair was free and
// matching when its turn came and the board ends empty.
inline bool replayDealOrder(std::string* failure = nullptr) {
    for (int k = 0; k < TILE_COUNT; k += 2) {
        computeFreeTiles();
        int a = dealOrder[k], b = dealOrder[k + 1];
        if (a >= TILE_COUNT || b >= TILE_COUNT || a == b || tileTable[a].state != Free ||
            tileTable[b].state != Free || !tilesMatch(tileTable[a].face, tileTable[b].face)) {
            if (failure) *failure = "pair " + std::to_string(k / 2) + " (" + std::to_string(a) + ", " +
                                    std::to_string(b) + ") cannot be removed";
            return false;
        }
        removePair(a, b);
    }
    return tilesLeft == 0;
}
