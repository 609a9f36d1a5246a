// The solver's own copy of a position: the tiles on the board, the cells they hold, which of them are free
// under the game's rule (read cell for cell as computeFreeTiles reads them), and the groups of tiles that
// match one another. Plain global state of fixed size; removing and putting back a tile touch only the
// tiles whose free state reads one of its cells.
#pragma once
#include <cstdint>

#include "engine/board.h"

// Tiles whose free state may change when a given tile leaves: the same layer within four columns and a
// row, and the layer below it. 33 origins at most.
constexpr int POSITION_MAX_WATCHERS = 40;

enum PositionStatus : uint8_t {
    PositionOk,
    PositionBadTile,  // a tile on the board has an origin outside the grid, or two share an origin
    PositionBadGrid,  // a cell names a tile that is not on the board or does not cover that cell
};

struct PositionTile {
    uint8_t layer, row, column;
    uint8_t face;        // 0: not on the board
    uint8_t group;       // index of the matching group (tiles of one group match one another)
    uint8_t free;        // 1 when free now
    uint8_t watcherCount;
    uint8_t watchers[POSITION_MAX_WATCHERS];
    // On a regular board a tile is free when none of `above` is on the board and it lies at the edge of
    // the grid (`edge`), or none of `left`, or none of `right` is on the board.
    uint8_t aboveCount, leftCount, rightCount, edge;
    uint8_t above[4];
    uint8_t left[2];
    uint8_t right[2];
    uint64_t key;  // random key of the tile for the position's hash
};

// Matching groups: faces that tilesMatch pairs (one face, or the four faces of a bonus set).
struct PositionGroup {
    uint8_t first;  // first tile of the group in positionGroupTiles
    uint8_t size;   // tiles of the group on the board when the position was set
    uint8_t left;   // tiles of the group on the board now
    uint8_t free;   // of those, free now
};

struct Position {
    uint8_t grid[GRID_CELLS];  // as tileGrid: tile index or NO_TILE
    PositionTile tiles[TILE_COUNT];
    PositionGroup groups[TILE_COUNT];
    uint8_t groupTiles[TILE_COUNT];  // the tiles on the board, group by group
    int groupCount;
    int tilesLeft;
    // Every tile on the board holds its own four cells. Then a removal only ever frees tiles, which the
    // search's shortcuts rely on; a board whose tiles share cells is searched without them.
    bool regular;
    uint64_t present[3];  // bit t: tile t is on the board
    uint64_t hash;        // exclusive or of the keys of the tiles on the board
};

extern Position position;

// Sets the position from a tile table (faces, origins) and its grid, as the game holds them.
PositionStatus setPosition(const TileRecord* tiles, const uint8_t* grid);
// Puts the position back to what setPosition was given.
void resetPosition();

// Takes a tile off the board, or puts back the tile taken off last (removals are undone in reverse order).
void removeTile(int tile);
void restoreTile(int tile);

// The game's free rule for one tile on the board, from the cells as they are now.
bool tileIsFree(int tile);

inline bool tileIsPresent(int tile) { return (position.present[tile >> 6] >> (tile & 63)) & 1; }

// Match group of a face: tilesMatch(a, b) holds exactly when matchGroup(a) == matchGroup(b).
int matchGroup(int face);
