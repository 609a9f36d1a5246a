#include "engine/layout.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/board.h"
#include "engine/deal.h"
#include "engine/host.h"
#include "gamefiles/halloffame.h"
#include "platform/files.h"
#include "settings/directories.h"
#include "settings/language.h"
#include "settings/messages.h"

static constexpr int TEXT_PIECE_SIZE = 255;  // lines are read in pieces of 254 characters
static constexpr int MAX_ORIGIN_ROW = ROW_COUNT - 2;
static constexpr int MAX_ORIGIN_COLUMN = COLUMN_COUNT - 2;

static void markOrigin(long row, long column, long layer) {
    if (row < 0 || row >= ROW_COUNT || column < 0 || column >= COLUMN_COUNT || layer < 0 || layer >= LAYER_COUNT)
        return;
    layoutCell((int)layer, (int)row, (int)column) = 1;
}

// One decimal number as "%d" reads it: leading blanks, an optional sign, digits.
// Numbers too large for a long saturate, which the range test then refuses.
static bool scanNumber(const char*& text, long* value) {
    char* end = nullptr;
    *value = strtol(text, &end, 10);
    if (end == text) return false;
    text = end;
    return true;
}

static void readTextForm(FILE* file) {
    char piece[TEXT_PIECE_SIZE];
    while (fgets(piece, sizeof piece, file)) {
        if (piece[0] == ';') continue;
        if (strlen(piece) <= 2) continue;
        const char* cursor = piece;
        long row, column, layer;
        if (!scanNumber(cursor, &row) || !scanNumber(cursor, &column) || !scanNumber(cursor, &layer)) continue;
        markOrigin(row, column, layer);
    }
}

static void readPackedForm(FILE* file) {
    uint8_t records[2 * TILE_COUNT];
    size_t got = fread(records, 1, sizeof records, file);
    for (size_t k = 0; k + 1 < got; k += 2) {
        unsigned value = records[k] | (unsigned)records[k + 1] << 8;
        markOrigin((value >> 6) & 0x1F, value & 0x3F, (value >> 11) & 0x7);
    }
}

static void readCharacterGridForm(FILE* file) {
    for (int line = 0; line < 2; ++line) {
        int ch;
        do ch = fgetc(file);
        while (ch != EOF && ch != '\n');
    }
    for (int cell = 0; cell < GRID_CELLS; ++cell) {
        int ch = fgetc(file);
        if (ch == EOF) break;
        if (ch == '1') layoutGrid[cell] = 1;
    }
}

static void drawRandomLayout() {
    seedRandomFromClock();
    for (int tile = 0; tile < TILE_COUNT; ++tile) {
        for (;;) {
            int column = 2 * (rand() % 17);
            int row = 2 * (rand() % 10);
            int layer = 0;
            while (layer < LAYER_COUNT && layoutCell(layer, row, column) != 0) ++layer;
            if (layer == LAYER_COUNT) continue;  // that stack is full: draw again
            layoutCell(layer, row, column) = 1;
            break;
        }
    }
}

void loadLayout(WindowHandle window) {
    memset(tileGrid, NO_TILE, sizeof tileGrid);
    memset(layoutGrid, 0, sizeof layoutGrid);
    dealOrderValid = false;  // the next deal records a new order

    if (strcmp(layoutName, RANDOM_LAYOUT_NAME) == 0) {
        drawRandomLayout();
    } else {
        FILE* file = platformSetCurrentDirectory(layoutDirectory) ? platformOpenFile(layoutName, "rb") : nullptr;
        if (file) {
            long size = platformFileSize(file);
            int first = fgetc(file);
            rewind(file);
            if (size == PACKED_LAYOUT_SIZE)
                readPackedForm(file);
            else if (first == 'K' && Settings.lay == 1)
                readCharacterGridForm(file);
            else
                readTextForm(file);
            fclose(file);
        }
        returnToStartDirectory();
    }
    finishLayout(window);
}

// A layout is playable when it has exactly 144 origins, each with its four cells
// inside the grid, and no two tiles of one layer share a cell.
static bool layoutIsPlayable() {
    uint8_t covered[GRID_CELLS];
    memset(covered, 0, sizeof covered);
    int count = 0;
    bool sound = true;
    for (int layer = 0; layer < LAYER_COUNT; ++layer)
        for (int row = 0; row < ROW_COUNT; ++row)
            for (int column = 0; column < COLUMN_COUNT; ++column) {
                if (layoutCell(layer, row, column) != 1) continue;
                ++count;
                if (row > MAX_ORIGIN_ROW || column > MAX_ORIGIN_COLUMN) {
                    sound = false;
                    continue;
                }
                int cell = cellIndex(layer, row, column);
                const int offsets[4] = {0, 1, COLUMN_COUNT, COLUMN_COUNT + 1};
                for (int offset : offsets) {
                    if (covered[cell + offset]) sound = false;
                    covered[cell + offset] = 1;
                }
            }
    return sound && count == TILE_COUNT;
}

// Index of the tile whose origin is (layer, row, column), or NO_TILE.
static int tileAtOrigin(int layer, int row, int column) {
    uint8_t tile = tileCell(layer, row, column);
    if (tile >= TILE_COUNT) return NO_TILE;
    const TileRecord& record = tileTable[tile];
    if (record.layer != layer || record.row != row || record.column != column) return NO_TILE;
    return tile;
}

void swapTilePositions(int p, int q) {
    TileRecord held = tileTable[p];
    tileTable[p] = tileTable[q];
    tileTable[q] = held;
    setTileCells(tileTable[p].layer, tileTable[p].row, tileTable[p].column, (uint8_t)p);
    setTileCells(tileTable[q].layer, tileTable[q].row, tileTable[q].column, (uint8_t)q);
}

void orderPass(int rowOffset, int columnOffset, bool greater, bool* exchanged) {
    for (int layer = 0; layer < LAYER_COUNT; ++layer)
        for (int row = 0; row < ROW_COUNT; ++row) {
            int otherRow = row + rowOffset;
            if (otherRow < 0 || otherRow >= ROW_COUNT) continue;
            for (int column = 0; column < COLUMN_COUNT; ++column) {
                int otherColumn = column + columnOffset;
                if (otherColumn < 0 || otherColumn >= COLUMN_COUNT) continue;
                if (layoutCell(layer, row, column) != 1 || layoutCell(layer, otherRow, otherColumn) != 1) continue;
                int a = tileAtOrigin(layer, row, column);
                int b = tileAtOrigin(layer, otherRow, otherColumn);
                if (a == NO_TILE || b == NO_TILE) continue;  // an origin that received no tile
                if (greater ? a > b : a < b) {
                    swapTilePositions(a, b);
                    *exchanged = true;
                }
            }
        }
}

void finishLayout(WindowHandle window) {
    // 1. Only a layout of exactly 144 whole, non-overlapping tiles can be played.
    if (!layoutIsPlayable()) {
        Settings.EasyMode = 0;
        showMessage(window, LanguageTexts.MesNo144Tiles, MessageExclamation);
        host.releaseResources(window);
    }

    // 2. Number the positions, layer by layer, from the right column to the left.
    memset(tileGrid, NO_TILE, sizeof tileGrid);
    int k = 0;
    for (int layer = 0; layer < LAYER_COUNT; ++layer)
        for (int column = MAX_ORIGIN_COLUMN; column >= 0; --column)
            for (int row = 0; row <= MAX_ORIGIN_ROW; ++row) {
                if (layoutCell(layer, row, column) != 1 || k >= TILE_COUNT) continue;
                setTileCells(layer, row, column, (uint8_t)k);
                TileRecord& record = tileTable[k];
                memset(&record, 0, sizeof record);
                record.layer = (uint8_t)layer;
                record.row = (uint8_t)row;
                record.column = (uint8_t)column;
                ++k;
            }
    // Records without a position (a refused layout only) lie nowhere on the grid.
    for (; k < TILE_COUNT; ++k) memset(&tileTable[k], 0, sizeof tileTable[k]);

    // 3. Sweep until the indices follow the drawing order.
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        orderPass(+2, +1, true, &exchanged);
        orderPass(+2, -1, true, &exchanged);
        orderPass(+1, +2, false, &exchanged);
        orderPass(+1, -2, true, &exchanged);
        orderPass(+2, 0, true, &exchanged);
        orderPass(0, +2, false, &exchanged);
    }

    // 4. The hall of fame of this layout.
    loadHallOfFame(window);
}

void saveLayout(WindowHandle window) {
    // One line of at most "19 33 4" and CR LF per origin.
    static char bytes[GRID_CELLS * 9 + 1];
    PlatformText text;
    platformStartText(&text, bytes, sizeof bytes);
    for (int layer = 0; layer < LAYER_COUNT; ++layer)
        for (int row = 0; row < ROW_COUNT; ++row)
            for (int column = 0; column < COLUMN_COUNT; ++column)
                if (layoutCell(layer, row, column) == 1)
                    platformPrintText(&text, "%d %d %d%c\n", row, column, layer, 13);
    bool written = !text.overflow && platformSetCurrentDirectory(layoutDirectory) &&
                   platformReplaceFile(layoutName, text.bytes, text.length);
    returnToStartDirectory();
    if (!written) showFileMessage(window, layoutName, LanguageTexts.MesWriteError);
}
