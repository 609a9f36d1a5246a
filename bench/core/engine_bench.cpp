// Speed of the rules and of the easy deal on the turtle.
#include <benchmark/benchmark.h>

#include "tests/core/test_support.h"

namespace {

void prepareTurtle() {
    fake::reset();
    setEngineTexts();
    setEngineSettings();
    copyText(scoreDirectory, "/nonexistent/", FILE_NAME_SIZE);  // default hall of fame, no message
    installLayout(turtleLayout());
    srand(1);
    randomSeeded = true;
    newDeal(nullptr);
}

void computeFreeTilesTurtle(benchmark::State& state) {
    prepareTurtle();
    for (auto _ : state) {
        computeFreeTiles();
        benchmark::DoNotOptimize(tileTable[0].state);
    }
}
BENCHMARK(computeFreeTilesTurtle);

void findPairsFullTurtle(benchmark::State& state) {
    prepareTurtle();
    computeFreeTiles();
    for (auto _ : state) {
        findPairs(0);
        benchmark::DoNotOptimize(pairCount);
    }
}
BENCHMARK(findPairsFullTurtle);

void easyDealTurtle(benchmark::State& state) {
    prepareTurtle();
    long attempts = 0, deals = 0;
    for (auto _ : state) {
        // Within one second every deal would start from the same generator state;
        // a new seed each time measures different deals.
        srand((unsigned)deals);
        newDeal(nullptr);
        attempts += easyDealAttempts;
        ++deals;
    }
    state.counters["attempts"] = benchmark::Counter((double)attempts / (double)deals);
}
BENCHMARK(easyDealTurtle)->Unit(benchmark::kMillisecond);

void randomDealTurtle(benchmark::State& state) {
    prepareTurtle();
    Settings.EasyMode = 0;
    for (auto _ : state) newDeal(nullptr);
}
BENCHMARK(randomDealTurtle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
