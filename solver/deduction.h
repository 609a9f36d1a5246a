// What can be deduced about a position of a regular board without searching. A regular board is one whose
// tiles each hold their own four cells and whose matching groups have two or four tiles left; there a tile
// is free when no tile lies on it and it is at the edge of the grid or one of its sides is empty, and a
// removal only ever frees tiles.
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

// Once per position, after setPosition: the order and dependants the deductions follow.
void prepareDeduction();
// At every node, before the calls below.
void gatherGroups();

// Place of the partner of the tile at place k in pairing p.
inline int pairingPartner(int k, int p) { return k == 0 ? p : k == p ? 0 : 6 - k - p; }
// The pairing that puts the tiles at places i and j together.
inline int pairingOf(int i, int j) { return i == 0 ? j : j == 0 ? i : 6 - i - j; }

// The partners a tile may still have (the other tile of a group of two, or those its group's possible
// pairings give it); surePartner is the partner when there is only one, else -1.
int partnersOf(int tile, const uint8_t* masks, int* partners);
int surePartner(int tile, const uint8_t* masks);

// Narrows the masks (the pairings not excluded already) to those the position allows and returns false
// when the position is lost. It follows which tiles must leave before which: a tile lying on another leaves
// first; a tile leaves with its partner, so after all that must leave before every partner it may have; a
// tile needs one side cleared before it leaves, so all that must leave before both sides' tiles leaves
// before it, and when one side cannot be cleared first the other must be. A pair whose tiles must leave
// one before the other is no pair; a tile that must leave before itself, a group without a possible
// pairing, or tiles that cannot all leave even when every tile may leave as soon as it is free together
// with a possible partner, lose the position. With `probe`, each possible pairing is also tried alone and
// dropped when that loses the position.
bool deducePosition(uint8_t* masks, bool probe);

// The relaxed play: every tile may leave as soon as it is free and one of its possible partners is free or
// gone. It only loosens the game, so when it cannot clear the board (false), the position is lost. With
// one pairing open in every group it is exact: the board can be cleared with those pairings exactly when
// it clears it.
bool relaxedPlayClears(const uint8_t* masks);

// After relaxedPlayClears failed: marks in `stuck` (one entry a group) the groups with a tile that was
// left free but found no possible partner free or gone; returns how many.
int relaxedStuckGroups(const uint8_t* masks, uint8_t* stuck);
