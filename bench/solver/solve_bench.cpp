// Speed of the solver on random deals of the turtle (DEFAULT.MYL): one deal an iteration, the same deals
// every run. The counters give the median and 99th percentile of the time per deal, on the clock (as the
// solver's limit and mahjong-solve measure it) and in processor time of the thread (what a shared machine
// does not inflate).
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <vector>

#include "solver/census.h"
#include "solver/solver.h"
#include "tests/solver/solver_support.h"

namespace {

double threadMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (double)now.tv_sec * 1e3 + (double)now.tv_nsec / 1e6;
}

double percentile(std::vector<double> values, int percent) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return values[std::min(n - 1, (size_t)((n * percent + 99) / 100) - 1)];
}

void solveRandomTurtleDeals(benchmark::State& state) {
    if (!loadDeliveredLayout("DEFAULT.MYL")) {
        state.SkipWithError("DEFAULT.MYL cannot be read");
        return;
    }
    static TileRecord tiles[TILE_COUNT];
    memcpy(tiles, tileTable, sizeof tiles);
    seedCensusRandom(1);
    std::vector<double> milliseconds, processor;
    long undecided = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dealCensusFaces(tiles);
        state.ResumeTiming();
        SolverResult result;
        const double start = threadMilliseconds();
        solvePosition(tiles, tileGrid, SolverLimits{0, 10000}, &result);
        processor.push_back(threadMilliseconds() - start);
        milliseconds.push_back(result.milliseconds);
        undecided += result.answer == SolverUndecided;
    }
    state.counters["median_ms"] = percentile(milliseconds, 50);
    state.counters["p99_ms"] = percentile(milliseconds, 99);
    state.counters["median_cpu_ms"] = percentile(processor, 50);
    state.counters["p99_cpu_ms"] = percentile(processor, 99);
    state.counters["undecided"] = (double)undecided;
}
BENCHMARK(solveRandomTurtleDeals)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
