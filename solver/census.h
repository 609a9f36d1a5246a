// Many deals solved in a row: random deals from a seeded generator of the census's own, so that a census
// can be repeated, and the statistics of the answers, times and nodes.
#pragma once
#include <cstdint>

#include "engine/board.h"
#include "solver/solver.h"

constexpr int CENSUS_MAX_DEALS = 1000000;

void seedCensusRandom(uint64_t seed);
// Puts the 144 faces of dealFaces on tiles 0-143 at random, every arrangement equally likely.
void dealCensusFaces(TileRecord* tiles);

struct CensusShare {
    int count;
    double share, low, high;  // with its 95% interval (Wilson score)
};

struct CensusSummary {
    int deals;
    CensusShare winnable, notWinnable, undecided;
    double msMin, msMedian, msP99, msMax;  // ranks as the nearest-rank percentile
    uint64_t nodesMedian, nodesP99, nodesMax, nodesTotal;
};

void beginCensus();
// Counts one answer; false when the census is full.
bool addCensusDeal(const SolverResult& result);
// Sorts what was counted (the census is spent afterwards).
CensusSummary summariseCensus();
CensusShare censusShare(int count, int deals);
