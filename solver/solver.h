// The exact solver: decides whether every tile of a position can be taken off the board under the game's
// rules, knowing every face. It answers winnable (with a removal order), not winnable, or, only when the
// caller's limit of nodes or time is reached, undecided.
//
// solver/position.h  the position: cells, free tiles, matching groups, removing and putting back tiles
// solver/solver.h    the search: quick dives, then solver/learning.h
// solver/census.h    random deals, statistics of many solved deals
#pragma once
#include <cstdint>

#include "engine/board.h"

enum SolverAnswer : uint8_t { SolverWinnable, SolverNotWinnable, SolverUndecided, SolverBadPosition };

struct SolverLimits {
    uint64_t nodes;         // 0: no limit
    uint32_t milliseconds;  // 0: no limit
};

struct SolverResult {
    SolverAnswer answer;
    int pairCount;              // winnable: pairs in order
    uint8_t order[TILE_COUNT];  // winnable: pair k is order[2k] and order[2k + 1], tile indices
    uint64_t nodes;             // positions the dives searched, then answers and dead ends of the learning search
    double milliseconds;
};

// Nodes of quick dives before the search that learns from its dead ends takes over (0: that search
// alone); the tests vary it.
extern uint64_t solverQuickNodes;

// Lost states are remembered in a table of 2^SOLVER_TABLE_BITS entries (48 bytes each).
constexpr int SOLVER_TABLE_BITS = 19;

// Solves the position held by a tile table and its grid (faces 0 for tiles taken off), as the game holds
// them in tileTable and tileGrid. SolverBadPosition when the two do not describe a board.
void solvePosition(const TileRecord* tiles, const uint8_t* grid, const SolverLimits& limits, SolverResult* result);
