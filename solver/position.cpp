#include "solver/position.h"

#include <cstring>

Position position;

namespace {

Position initialPosition;  // as setPosition left it, for resetPosition

// Cells a removal overwrote, so that putting the tile back restores them exactly (on a board whose tiles
// share cells they may have held another tile).
uint8_t savedCells[TILE_COUNT][4];
int savedCount;

// Tiles on the board whose four cells include a cell: four at most, their origins being different.
uint8_t cellOwners[GRID_CELLS][4];
uint8_t cellOwnerCount[GRID_CELLS];

inline bool holdsTile(uint8_t cell) { return cell < TILE_COUNT; }

inline int footprint(const PositionTile& tile, int k) {
    static const int offsets[4] = {0, 1, COLUMN_COUNT, COLUMN_COUNT + 1};
    return cellIndex(tile.layer, tile.row, tile.column) + offsets[k];
}

uint64_t splitMix(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void addUnique(uint8_t* list, uint8_t* count, int capacity, int tile) {
    for (int i = 0; i < *count; ++i)
        if (list[i] == tile) return;
    if (*count < capacity) list[(*count)++] = (uint8_t)tile;
}

// The cells whose contents decide a tile's free state: its own four, the four above it, and two columns
// of two cells on each side, as the free rule reads them.
int readCells(const PositionTile& tile, int* cells) {
    int n = 0;
    for (int k = 0; k < 4; ++k) cells[n++] = footprint(tile, k);
    if (tile.layer + 1 < LAYER_COUNT)
        for (int k = 0; k < 4; ++k) cells[n++] = footprint(tile, k) + LAYER_CELLS;
    const int sides[4] = {-2, -1, 2, 3};
    for (int side : sides) {
        int column = tile.column + side;
        if (column < 0 || column >= COLUMN_COUNT) continue;
        cells[n++] = cellIndex(tile.layer, tile.row, column);
        cells[n++] = cellIndex(tile.layer, tile.row + 1, column);
    }
    return n;
}

void setFree(int t, bool free) {
    PositionTile& tile = position.tiles[t];
    if (tile.free == (uint8_t)free) return;
    tile.free = (uint8_t)free;
    PositionGroup& group = position.groups[tile.group];
    if (free)
        ++group.free;
    else
        --group.free;
}

void recheckWatchers(const PositionTile& tile) {
    for (int i = 0; i < tile.watcherCount; ++i) {
        int w = tile.watchers[i];
        if (tileIsPresent(w)) setFree(w, tileIsFree(w));
    }
}

}  // namespace

int matchGroup(int face) {
    if (face >= 28 && face <= 31) return 28;
    if (face >= 36 && face <= 39) return 36;
    return face;
}

bool tileIsFree(int t) {
    const PositionTile& tile = position.tiles[t];
    const uint8_t* grid = position.grid;
    const int origin = cellIndex(tile.layer, tile.row, tile.column);
    // Covered: a cell of the tile with a tile on the layer directly above.
    if (tile.layer + 1 < LAYER_COUNT) {
        const int cells[4] = {origin, origin + 1, origin + COLUMN_COUNT, origin + COLUMN_COUNT + 1};
        for (int cell : cells)
            if (grid[cell] == t && holdsTile(grid[cell + LAYER_CELLS])) return false;
    }
    // At the left or right edge of the grid.
    if (tile.column == 0 && (grid[origin] == t || grid[origin + COLUMN_COUNT] == t)) return true;
    if (tile.column == COLUMN_COUNT - 2 && (grid[origin + 1] == t || grid[origin + COLUMN_COUNT + 1] == t))
        return true;
    // Open on one side: for each column of the tile whose two cells it holds, both cells two columns to
    // the left, or both cells two columns to the right, are empty.
    for (int k = 0; k < 2; ++k) {
        const int c = tile.column + k;
        const int cell = origin + k;
        if (grid[cell] != t || grid[cell + COLUMN_COUNT] != t) continue;
        if (c >= 2 && !holdsTile(grid[cell - 2]) && !holdsTile(grid[cell + COLUMN_COUNT - 2])) return true;
        if (c <= COLUMN_COUNT - 3 && !holdsTile(grid[cell + 2]) && !holdsTile(grid[cell + COLUMN_COUNT + 2]))
            return true;
    }
    return false;
}

PositionStatus setPosition(const TileRecord* tiles, const uint8_t* grid) {
    static uint8_t originUsed[GRID_CELLS];
    memset(originUsed, 0, sizeof originUsed);
    memset(cellOwnerCount, 0, sizeof cellOwnerCount);
    memset(position.present, 0, sizeof position.present);
    position.tilesLeft = 0;
    for (int t = 0; t < TILE_COUNT; ++t) {
        PositionTile& tile = position.tiles[t];
        memset(&tile, 0, sizeof tile);
        tile.layer = tiles[t].layer;
        tile.row = tiles[t].row;
        tile.column = tiles[t].column;
        tile.face = tiles[t].face;
        if (tile.face == 0) continue;
        if (tile.layer >= LAYER_COUNT || tile.row > ROW_COUNT - 2 || tile.column > COLUMN_COUNT - 2)
            return PositionBadTile;
        const int origin = cellIndex(tile.layer, tile.row, tile.column);
        if (originUsed[origin]) return PositionBadTile;
        originUsed[origin] = 1;
        position.present[t >> 6] |= 1ull << (t & 63);
        ++position.tilesLeft;
        for (int k = 0; k < 4; ++k) {
            int cell = footprint(tile, k);
            cellOwners[cell][cellOwnerCount[cell]++] = (uint8_t)t;
        }
    }

    // Every cell holds nothing or a tile on the board that covers it.
    for (int cell = 0; cell < GRID_CELLS; ++cell) {
        uint8_t t = grid[cell];
        if (t == NO_TILE) continue;
        if (t >= TILE_COUNT || !tileIsPresent(t)) return PositionBadGrid;
        bool covers = false;
        for (int k = 0; k < 4; ++k) covers |= footprint(position.tiles[t], k) == cell;
        if (!covers) return PositionBadGrid;
    }
    memcpy(position.grid, grid, GRID_CELLS);

    position.regular = true;
    for (int t = 0; t < TILE_COUNT; ++t) {
        if (!tileIsPresent(t)) continue;
        for (int k = 0; k < 4; ++k) position.regular &= grid[footprint(position.tiles[t], k)] == t;
    }

    // Watchers: a tile watches every tile whose cells it reads.
    int cells[16];
    for (int t = 0; t < TILE_COUNT; ++t) {
        if (!tileIsPresent(t)) continue;
        PositionTile& tile = position.tiles[t];
        int n = readCells(tile, cells);
        for (int i = 0; i < n; ++i)
            for (int o = 0; o < cellOwnerCount[cells[i]]; ++o) {
                int owner = cellOwners[cells[i]][o];
                if (owner == t) continue;
                PositionTile& watched = position.tiles[owner];
                addUnique(watched.watchers, &watched.watcherCount, POSITION_MAX_WATCHERS, t);
            }
        // Neighbours that decide the free state of a tile on a regular board: the cells above it, and the
        // column of two cells just left of it and just right of it.
        tile.edge = tile.column == 0 || tile.column == COLUMN_COUNT - 2;
        for (int k = 0; k < 4 && tile.layer + 1 < LAYER_COUNT; ++k) {
            int cell = footprint(tile, k) + LAYER_CELLS;
            for (int o = 0; o < cellOwnerCount[cell]; ++o)
                addUnique(tile.above, &tile.aboveCount, 4, cellOwners[cell][o]);
        }
        for (int k = 0; k < 2; ++k) {
            if (tile.column >= 1) {
                int cell = cellIndex(tile.layer, tile.row + k, tile.column - 1);
                for (int o = 0; o < cellOwnerCount[cell]; ++o)
                    addUnique(tile.left, &tile.leftCount, 2, cellOwners[cell][o]);
            }
            if (tile.column + 2 < COLUMN_COUNT) {
                int cell = cellIndex(tile.layer, tile.row + k, tile.column + 2);
                for (int o = 0; o < cellOwnerCount[cell]; ++o)
                    addUnique(tile.right, &tile.rightCount, 2, cellOwners[cell][o]);
            }
        }
    }

    // Matching groups, in order of first appearance.
    static int groupOfMatch[256];
    memset(groupOfMatch, 0xFF, sizeof groupOfMatch);
    position.groupCount = 0;
    uint8_t counts[TILE_COUNT] = {};
    for (int t = 0; t < TILE_COUNT; ++t) {
        if (!tileIsPresent(t)) continue;
        int match = matchGroup(position.tiles[t].face);
        if (groupOfMatch[match] < 0) groupOfMatch[match] = position.groupCount++;
        position.tiles[t].group = (uint8_t)groupOfMatch[match];
        ++counts[position.tiles[t].group];
    }
    int first = 0;
    for (int g = 0; g < position.groupCount; ++g) {
        PositionGroup& group = position.groups[g];
        group.first = (uint8_t)first;
        group.size = group.left = counts[g];
        group.free = 0;
        first += counts[g];
    }
    uint8_t filled[TILE_COUNT] = {};
    uint64_t keyState = 0x5EED0F7A1E5ull;
    position.hash = 0;
    for (int t = 0; t < TILE_COUNT; ++t) {
        PositionTile& tile = position.tiles[t];
        tile.key = splitMix(keyState);
        if (!tileIsPresent(t)) continue;
        PositionGroup& group = position.groups[tile.group];
        position.groupTiles[group.first + filled[tile.group]++] = (uint8_t)t;
        position.hash ^= tile.key;
        tile.free = 0;
        setFree(t, tileIsFree(t));
    }
    savedCount = 0;
    memcpy(&initialPosition, &position, sizeof position);
    return PositionOk;
}

void resetPosition() {
    memcpy(&position, &initialPosition, sizeof position);
    savedCount = 0;
}

void removeTile(int t) {
    PositionTile& tile = position.tiles[t];
    uint8_t* saved = savedCells[savedCount++];
    for (int k = 0; k < 4; ++k) {
        int cell = footprint(tile, k);
        saved[k] = position.grid[cell];
        position.grid[cell] = NO_TILE;
    }
    position.present[t >> 6] &= ~(1ull << (t & 63));
    position.hash ^= tile.key;
    --position.tilesLeft;
    setFree(t, false);
    --position.groups[tile.group].left;
    recheckWatchers(tile);
}

void restoreTile(int t) {
    PositionTile& tile = position.tiles[t];
    const uint8_t* saved = savedCells[--savedCount];
    for (int k = 0; k < 4; ++k) position.grid[footprint(tile, k)] = saved[k];
    position.present[t >> 6] |= 1ull << (t & 63);
    position.hash ^= tile.key;
    ++position.tilesLeft;
    ++position.groups[tile.group].left;
    setFree(t, tileIsFree(t));
    recheckWatchers(tile);
}
