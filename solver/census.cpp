#include "solver/census.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

uint64_t randomState;

uint64_t nextRandom() {
    uint64_t z = (randomState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Uniform in 0 .. bound - 1, without the bias of a plain remainder.
uint32_t randomBelow(uint32_t bound) {
    const uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
    uint64_t r;
    do r = nextRandom();
    while (r >= limit);
    return (uint32_t)(r % bound);
}

float dealMilliseconds[CENSUS_MAX_DEALS];
uint64_t dealNodes[CENSUS_MAX_DEALS];
int dealCount;
int answerCount[3];

template <typename T>
T nearestRank(const T* sorted, int count, double percent) {
    int rank = (int)std::ceil(percent / 100.0 * count);
    return sorted[std::min(std::max(rank, 1), count) - 1];
}

}  // namespace

void seedCensusRandom(uint64_t seed) { randomState = seed; }

void dealCensusFaces(TileRecord* tiles) {
    uint8_t faces[TILE_COUNT];
    memcpy(faces, dealFaces, sizeof faces);
    for (int i = TILE_COUNT - 1; i > 0; --i) std::swap(faces[i], faces[randomBelow((uint32_t)i + 1)]);
    for (int t = 0; t < TILE_COUNT; ++t) tiles[t].face = faces[t];
}

void beginCensus() {
    dealCount = 0;
    answerCount[0] = answerCount[1] = answerCount[2] = 0;
}

bool addCensusDeal(const SolverResult& result) {
    if (dealCount >= CENSUS_MAX_DEALS || result.answer > SolverUndecided) return false;
    dealMilliseconds[dealCount] = (float)result.milliseconds;
    dealNodes[dealCount] = result.nodes;
    ++dealCount;
    ++answerCount[result.answer];
    return true;
}

CensusShare censusShare(int count, int deals) {
    CensusShare s = {count, 0, 0, 0};
    if (deals == 0) return s;
    const double z = 1.959963984540054, n = deals, p = count / n;
    const double centre = (p + z * z / (2 * n)) / (1 + z * z / n);
    const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / (1 + z * z / n);
    s.share = p;
    s.low = std::max(0.0, centre - half);
    s.high = std::min(1.0, centre + half);
    return s;
}

CensusSummary summariseCensus() {
    CensusSummary s = {};
    s.deals = dealCount;
    s.winnable = censusShare(answerCount[SolverWinnable], dealCount);
    s.notWinnable = censusShare(answerCount[SolverNotWinnable], dealCount);
    s.undecided = censusShare(answerCount[SolverUndecided], dealCount);
    if (dealCount == 0) return s;
    for (int i = 0; i < dealCount; ++i) s.nodesTotal += dealNodes[i];
    std::sort(dealMilliseconds, dealMilliseconds + dealCount);
    std::sort(dealNodes, dealNodes + dealCount);
    s.msMin = dealMilliseconds[0];
    s.msMedian = nearestRank(dealMilliseconds, dealCount, 50);
    s.msP99 = nearestRank(dealMilliseconds, dealCount, 99);
    s.msMax = dealMilliseconds[dealCount - 1];
    s.nodesMedian = nearestRank(dealNodes, dealCount, 50);
    s.nodesP99 = nearestRank(dealNodes, dealCount, 99);
    s.nodesMax = dealNodes[dealCount - 1];
    return s;
}
