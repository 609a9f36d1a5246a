// Layout files in all three forms (text, 308-byte packed, and the character
// grid behind the ".lay" setting), each input read with ".lay" off and on.
// After each read the grids agree: a layout of 144 tiles numbers every tile
// once, in drawing order, with its four cells; any other layout is refused
// with the message and the shutdown. A layout that loads is dealt at random
// and every tile gets a face.
#include <algorithm>
#include <cstring>

#include "engine/board.h"
#include "engine/deal.h"
#include "engine/layout.h"
#include "engine/rules.h"
#include "platform/system.h"
#include "settings/language.h"
#include "tests/support/internals.h"
#include "tests/support/null_host.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void checkGrids(bool refused) {
    int origins = 0;
    for (int cell = 0; cell < GRID_CELLS; ++cell) {
        FUZZ_CHECK(layoutGrid[cell] <= 1);
        origins += layoutGrid[cell];
        FUZZ_CHECK(tileGrid[cell] == NO_TILE || tileGrid[cell] < TILE_COUNT);
    }
    if (refused) return;
    FUZZ_CHECK(origins == TILE_COUNT);
    for (int k = 0; k < TILE_COUNT; ++k) {
        const TileRecord& tile = tileTable[k];
        FUZZ_CHECK(tile.layer < LAYER_COUNT && tile.row <= ROW_COUNT - 2 && tile.column <= COLUMN_COUNT - 2);
        FUZZ_CHECK(layoutCell(tile.layer, tile.row, tile.column) == 1);
        FUZZ_CHECK(tileCell(tile.layer, tile.row, tile.column) == k);
        FUZZ_CHECK(tileCell(tile.layer, tile.row, tile.column + 1) == k);
        FUZZ_CHECK(tileCell(tile.layer, tile.row + 1, tile.column) == k);
        FUZZ_CHECK(tileCell(tile.layer, tile.row + 1, tile.column + 1) == k);
        if (k > 0) FUZZ_CHECK(tileTable[k - 1].layer <= tile.layer);
        // Drawing order: the tile to the right comes first, the one below later.
        if (tile.column + 2 <= COLUMN_COUNT - 2 && layoutCell(tile.layer, tile.row, tile.column + 2) == 1)
            FUZZ_CHECK(tileCell(tile.layer, tile.row, tile.column + 2) < k);
        if (tile.row + 2 <= ROW_COUNT - 2 && layoutCell(tile.layer, tile.row + 2, tile.column) == 1)
            FUZZ_CHECK(tileCell(tile.layer, tile.row + 2, tile.column) > k);
    }
    int covered = 0;
    for (int cell = 0; cell < GRID_CELLS; ++cell) covered += tileGrid[cell] != NO_TILE;
    FUZZ_CHECK(covered == 4 * TILE_COUNT);
}

void checkDeal() {
    Settings.EasyMode = 0;
    newDeal(nullptr);
    uint8_t faces[TILE_COUNT], expected[TILE_COUNT];
    for (int k = 0; k < TILE_COUNT; ++k) faces[k] = tileTable[k].face;
    std::memcpy(expected, dealFaces, sizeof expected);
    std::sort(faces, faces + TILE_COUNT);
    std::sort(expected, expected + TILE_COUNT);
    FUZZ_CHECK(std::memcmp(faces, expected, sizeof faces) == 0);
    FUZZ_CHECK(tilesLeft == TILE_COUNT);
    findPairs(0);
    FUZZ_CHECK(pairCount >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    fuzzStartDirectory();
    if (!ready) {
        copyText(LanguageTexts.MesNo144Tiles, "MesNo144Tiles", LONG_TEXT_SIZE);
        platformFixTimeSeconds(1);
        ready = true;
    }
    fuzzWriteFile("LAYOUTS/FUZZ.MYL", data, size);
    copyText(layoutName, "FUZZ.MYL", FILE_NAME_SIZE);
    for (uint8_t lay : {0, 1}) {
        // The setting only matters for a file that begins with "K".
        if (lay == 1 && (size == 0 || data[0] != 'K')) break;
        Settings.lay = lay;
        Settings.EasyMode = 1;
        loadedGame = false;
        fake::reset();
        loadLayout(nullptr);
        const bool refused = fake::releaseCount > 0;
        FUZZ_CHECK(fake::messageLog() == (refused ? "MesNo144Tiles\n" : ""));
        FUZZ_CHECK(!refused || Settings.EasyMode == 0);
        checkGrids(refused);
        if (!refused) checkDeal();
    }
    return 0;
}
