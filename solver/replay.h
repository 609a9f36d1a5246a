// Checks a removal order with the game's own rules: computeFreeTiles and tilesMatch on a copy of the board.
#pragma once
#include "engine/board.h"
#include "solver/solver.h"

// True when the pairs of a winnable answer can be removed in order from the position (tile table and grid)
// and leave the board empty. The game's tileTable and tileGrid are used for the replay and put back.
bool replayClearsBoard(const TileRecord* tiles, const uint8_t* grid, const SolverResult& result);
