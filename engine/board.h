// The one board of the running game: grids, tile table, faces and game state.
#pragma once
#include <atomic>
#include <cstdint>

constexpr int TILE_COUNT = 144;
constexpr int LAYER_COUNT = 5;
constexpr int ROW_COUNT = 20;
constexpr int COLUMN_COUNT = 34;
constexpr int LAYER_CELLS = ROW_COUNT * COLUMN_COUNT;  // 680
constexpr int GRID_CELLS = LAYER_COUNT * LAYER_CELLS;  // 3400
constexpr uint8_t NO_TILE = 250;
constexpr int UNDO_STACK_SIZE = 73;
constexpr int PAIR_LIST_SIZE = TILE_COUNT * TILE_COUNT;
constexpr int SHADOW_FLAG_COUNT = 11;

enum TileState : uint8_t { Blocked = 0, Free = 1, Covered = 2 };

#pragma pack(push, 1)
struct TileRecord {
    int16_t screenX;    // left of the face in the 2D board area
    int16_t screenY;    // top of the face in the 2D board area
    int16_t faceCellX;  // left of the face cell in the scaled tile set
    int16_t faceCellY;  // top of the face cell in the scaled tile set
    uint8_t face;       // 1-42, 0 once removed
    uint8_t state;      // TileState
    uint8_t layer;
    uint8_t row;
    uint8_t column;
    uint8_t padding;
};

struct UndoEntry {
    uint8_t faceA;
    uint8_t faceB;
    uint8_t tileA;
    uint8_t tileB;
};
#pragma pack(pop)
static_assert(sizeof(TileRecord) == 14, "tile records are 14 bytes in saved games");
static_assert(sizeof(UndoEntry) == 4, "undo entries are 4 bytes in saved games");

typedef uint8_t LayoutGrid[GRID_CELLS];
typedef uint8_t TileGrid[GRID_CELLS];

extern LayoutGrid layoutGrid;
extern TileGrid tileGrid;
extern TileRecord tileTable[TILE_COUNT];

// 144 faces dealt by every game; entry i and entry i + 72 always match.
extern const uint8_t dealFaces[TILE_COUNT];

// Game state. hintShown, chronoPaused and autoplayRunning are atomic: the window
// writes them without the board lock while the automatic player's thread reads
// them (the player's stop request, the hint and the pause of its frames).
extern int16_t selectedTile;
extern int16_t secondTile;
extern int16_t tilesLeft;
extern int16_t undoCount;
extern UndoEntry undoStack[UNDO_STACK_SIZE];
extern uint8_t pairList[PAIR_LIST_SIZE][2];
extern int16_t pairCount;
extern int16_t hintIndex;
extern std::atomic<bool> hintShown;
extern int32_t chronoSeconds;
extern std::atomic<bool> chronoPaused;
extern bool gameFinished;
extern bool loadedGame;
extern std::atomic<bool> autoplayRunning;
extern uint8_t dealOrder[TILE_COUNT];
extern uint8_t shadowFlags[TILE_COUNT][SHADOW_FLAG_COUNT];
extern char playerName[22];

inline int cellIndex(int layer, int row, int column) {
    return layer * LAYER_CELLS + row * COLUMN_COUNT + column;
}
inline uint8_t& tileCell(int layer, int row, int column) { return tileGrid[cellIndex(layer, row, column)]; }
inline uint8_t& layoutCell(int layer, int row, int column) { return layoutGrid[cellIndex(layer, row, column)]; }

// Writes `value` into the four cells covered by a tile whose origin is (layer, row, column).
void setTileCells(int layer, int row, int column, uint8_t value);

bool tilesMatch(int face1, int face2);
void resetGameState();

// The chronometer stops at 99,999 hours; a saved game beyond that is refused.
constexpr int32_t CHRONO_LIMIT = 99999 * 3600;
// Adds seconds to chronoSeconds, stopping at CHRONO_LIMIT instead of wrapping.
void addChronoSeconds(int32_t seconds);
