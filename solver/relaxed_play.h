// The relaxed play on a regular board: a board whose tiles each hold their own four cells and whose
// matching groups have two or four tiles left. There a tile is free when no tile lies on it and it is at
// the edge of the grid or one of its sides is empty, and a removal only ever frees tiles.
//
// A group of four tiles t[0..3] (the tiles left, in groupLeft order) is removed in one of three pairings:
// pairing p (1-3) puts t[0] with t[p] and the other two together. Masks hold, per group of four, the
// pairings still possible as bits 1-3.
#pragma once
#include <cstdint>

#include "engine/board.h"

constexpr uint8_t ALL_PAIRINGS = 0x0E;

// The tiles left of each group and each tile's place among them; gatherGroups refreshes them.
extern uint8_t groupLeft[TILE_COUNT][4];
extern uint8_t placeInGroup[TILE_COUNT];

// Once per position, after setPosition: which tiles each tile's free state depends on.
void prepareRelaxedPlay();
// After tiles were taken off or put back, before relaxedPlayClears.
void gatherGroups();

// Place of the partner of the tile at place k in pairing p.
inline int pairingPartner(int k, int p) { return k == 0 ? p : k == p ? 0 : 6 - k - p; }
// The pairing that puts the tiles at places i and j together.
inline int pairingOf(int i, int j) { return i == 0 ? j : j == 0 ? i : 6 - i - j; }

// The relaxed play: every tile may leave as soon as it is free and one of its possible partners is free or
// gone. It only loosens the game, so when it cannot clear the board (false), the position is lost. With
// one pairing open in every group it is exact: the board can be cleared with those pairings exactly when
// it clears it.
bool relaxedPlayClears(const uint8_t* masks);
