// Cost of composing 2D frames: the turtle with shadows at 1920 x 1080 must
// stay well under a millisecond so that fade-outs get enough frames, and a
// resize to 1920 x 1080 must fit in a frame (16 ms) so that dragging the
// window's edge does not stutter.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "engine/board.h"
#include "settings/directories.h"
#include "settings/settings.h"
#include "tests/support/null_host.h"
#include "view2d/bitmap.h"
#include "view2d/draw2d.h"
#include "engine/shadows.h"
#include "view2d/tileset.h"

namespace {

int placed = 0;

void place(int layer, int row, int column) {
    TileRecord& record = tileTable[placed];
    record.layer = static_cast<uint8_t>(layer);
    record.row = static_cast<uint8_t>(row);
    record.column = static_cast<uint8_t>(column);
    record.face = static_cast<uint8_t>(1 + placed % 42);
    layoutCell(layer, row, column) = 1;
    setTileCells(layer, row, column, static_cast<uint8_t>(placed));
    ++placed;
}

void placeRow(int layer, int row, int firstColumn, int tiles) {
    for (int i = tiles - 1; i >= 0; --i) place(layer, row, firstColumn + 2 * i);  // right to left
}

// The turtle: 87 + 36 + 16 + 4 + 1 tiles, lower layers first.
void buildTurtle() {
    std::memset(layoutGrid, 0, sizeof layoutGrid);
    std::memset(tileGrid, NO_TILE, sizeof tileGrid);
    placed = 0;
    const int rows[8][2] = {{4, 12}, {8, 8}, {6, 10}, {4, 12}, {4, 12}, {6, 10}, {8, 8}, {4, 12}};
    place(0, 7, 30);
    place(0, 7, 28);
    for (int r = 0; r < 8; ++r) placeRow(0, 2 * r, rows[r][0], rows[r][1]);
    place(0, 7, 2);
    for (int r = 0; r < 6; ++r) placeRow(1, 2 + 2 * r, 10, 6);
    for (int r = 0; r < 4; ++r) placeRow(2, 4 + 2 * r, 12, 4);
    for (int r = 0; r < 2; ++r) placeRow(3, 6 + 2 * r, 14, 2);
    place(4, 7, 15);
}

void setUp(int width, int height, bool shadows, bool picture) {
    fake::reset();
    fake::keepFrames = 0;
    fake::clientWidth = width;
    fake::clientHeight = height;
    toolbarHeight = 0;
    statusBarHeight = 0;
    Settings.BackgroundColor = 0x0000A000;
    Settings.SidesColor = 0x001878B8;
    Settings.Shadows = shadows ? 1 : 0;
    Settings.ShadowsValue = 64;
    Settings.StretchTiles = 1;
    Settings.SelectMode = SELECT_DARKER;
    Settings.BorderSize = 8;
    Settings.ShadowSize = 4;
    Settings.RemoveTileTime = 500;
    buildTurtle();
    computeShadowFlags();
    selectedTile = NO_TILE;
    secondTile = NO_TILE;
    hintShown = false;
    chronoPaused = false;
    // A tile-set picture of 100 x 120 cells, and a background of the area's size.
    releaseSurface(&loadedTileSet);
    createSurface(&loadedTileSet, 900, 600);
    for (int i = 0; i < 900 * 600; ++i) loadedTileSet.pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0x00FFFFFF;
    fitFaceSize(nullptr);
    makeBoardBuffer(nullptr);
    if (picture) {
        std::strcpy(Settings.Background, "SUNSET.BMP");
        releaseSurface(&loadedBackground);
        createSurface(&loadedBackground, width, height);
        for (int i = 0; i < width * height; ++i) loadedBackground.pixels[i] = static_cast<uint32_t>(i) & 0x00FFFFFF;
        scaleBackground(nullptr);
    } else {
        Settings.Background[0] = 0;
    }
}

void BM_FrameTurtle1080Shadows(benchmark::State& state) {
    setUp(1920, 1080, true, true);
    for (auto _ : state) {
        drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
        benchmark::DoNotOptimize(boardBuffer.pixels[0]);
    }
    state.counters["faceWidth"] = faceWidth;
    state.counters["faceHeight"] = faceHeight;
}
BENCHMARK(BM_FrameTurtle1080Shadows)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_FrameTurtle1080NoShadows(benchmark::State& state) {
    setUp(1920, 1080, false, true);
    for (auto _ : state) {
        drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
        benchmark::DoNotOptimize(boardBuffer.pixels[0]);
    }
}
BENCHMARK(BM_FrameTurtle1080NoShadows)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_FrameTurtle1080ColourAndHighlights(benchmark::State& state) {
    setUp(1920, 1080, true, false);
    selectedTile = 143;
    hintShown = true;
    pairCount = 1;
    pairList[0][0] = 143;
    pairList[0][1] = 100;
    for (auto _ : state) {
        drawBoard2D(nullptr, NO_TILE, NO_TILE, 0, 0);
        benchmark::DoNotOptimize(boardBuffer.pixels[0]);
    }
}
BENCHMARK(BM_FrameTurtle1080ColourAndHighlights)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// One frame of a fade-out: two tiles mixed pixel by pixel.
void BM_FadeFrameTurtle1080(benchmark::State& state) {
    setUp(1920, 1080, true, true);
    for (auto _ : state) {
        drawBoard2D(nullptr, 143, 142, 40, 60);
        benchmark::DoNotOptimize(boardBuffer.pixels[0]);
    }
}
BENCHMARK(BM_FadeFrameTurtle1080)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void resize(int width, int height) {
    fake::clientWidth = width;
    fake::clientHeight = height;
    fitFaceSize(nullptr);
    scaleBackground(nullptr);
    makeBoardBuffer(nullptr);
}

// A resize to 1920 x 1080 from 1600 x 900: faces and a 2560 x 1600 background
// stretched again, a new buffer. (A resize to the size the view already has
// does nothing, so every timed resize comes from the other size.)
void BM_ResizeTo1080(benchmark::State& state) {
    setUp(1920, 1080, true, true);
    releaseSurface(&scaledBackground);  // it may show the old picture itself
    releaseSurface(&loadedBackground);
    createSurface(&loadedBackground, 2560, 1600);
    for (int i = 0; i < 2560 * 1600; ++i) loadedBackground.pixels[i] = static_cast<uint32_t>(i * 40503u) & 0x00FFFFFF;
    for (auto _ : state) {
        state.PauseTiming();
        resize(1600, 900);
        state.ResumeTiming();
        resize(1920, 1080);
    }
    state.counters["faceWidth"] = faceWidth;
}
BENCHMARK(BM_ResizeTo1080)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The first resize after the window's size has rested: the loaded pictures
// were let go, so the delivered tile set and background are read from their
// files again before they are scaled.
void BM_FirstResizeAfterRest(benchmark::State& state) {
    setUp(1600, 900, true, true);
    std::snprintf(startDirectory, sizeof startDirectory, "%s/data/", MJ_SOURCE_DIR);
    std::snprintf(tileSetDirectory, sizeof tileSetDirectory, "%s/data/TILESETS/", MJ_SOURCE_DIR);
    std::snprintf(backgroundDirectory, sizeof backgroundDirectory, "%s/data/BACKGRND/", MJ_SOURCE_DIR);
    std::strcpy(Settings.TileSet, "STANDARD.BMP");
    releaseSurface(&scaledBackground);
    loadTileSet(nullptr);
    loadBackground(nullptr);
    if (surfaceIsEmpty(&loadedTileSet) || surfaceIsEmpty(&loadedBackground)) state.SkipWithError("no delivered pictures");
    for (auto _ : state) {
        state.PauseTiming();
        resize(1600, 900);
        releaseLoadedPictures();
        state.ResumeTiming();
        resize(1920, 1080);
    }
}
BENCHMARK(BM_FirstResizeAfterRest)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
