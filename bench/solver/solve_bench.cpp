// Speed of the solver on random deals of the turtle (DEFAULT.MYL): one deal an iteration, the same deals
// every run. The counters give the median and 99th percentile of the time per deal.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "solver/census.h"
#include "solver/solver.h"
#include "tests/solver/solver_support.h"

namespace {

void solveRandomTurtleDeals(benchmark::State& state) {
    if (!loadDeliveredLayout("DEFAULT.MYL")) {
        state.SkipWithError("DEFAULT.MYL cannot be read");
        return;
    }
    static TileRecord tiles[TILE_COUNT];
    memcpy(tiles, tileTable, sizeof tiles);
    seedCensusRandom(1);
    std::vector<double> milliseconds;
    long undecided = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dealCensusFaces(tiles);
        state.ResumeTiming();
        SolverResult result;
        solvePosition(tiles, tileGrid, SolverLimits{0, 10000}, &result);
        milliseconds.push_back(result.milliseconds);
        undecided += result.answer == SolverUndecided;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    const size_t n = milliseconds.size();
    state.counters["median_ms"] = milliseconds[(n - 1) / 2];
    state.counters["p99_ms"] = milliseconds[std::min(n - 1, (size_t)((n * 99 + 99) / 100) - 1)];
    state.counters["undecided"] = (double)undecided;
}
BENCHMARK(solveRandomTurtleDeals)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
