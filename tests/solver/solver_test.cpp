// The solver against the game's own rules: its free tiles against computeFreeTiles on random positions of
// every delivered layout, its answers against a plain search on small boards, its removal orders replayed.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/deal.h"
#include "engine/rules.h"
#include "solver/census.h"
#include "solver/position.h"
#include "solver/replay.h"
#include "solver/solver.h"
#include "tests/solver/solver_support.h"
#include "tests/support/internals.h"

namespace {

void removeFromGame(int t) {
    setTileCells(tileTable[t].layer, tileTable[t].row, tileTable[t].column, NO_TILE);
    tileTable[t].face = 0;
}

// The solver's free tiles equal the game's for the board in tileTable and tileGrid.
void expectSameFreeTiles(const std::string& where) {
    computeFreeTiles();
    for (int t = 0; t < TILE_COUNT; ++t) {
        if (tileTable[t].face == 0) continue;
        ASSERT_EQ(position.tiles[t].free != 0, tileTable[t].state == Free) << where << ", tile " << t;
    }
}

TEST(SolverPosition, FreeTilesAgreeWithTheGameOnEveryDeliveredLayout) {
    std::mt19937 random(14);
    const std::vector<std::string> layouts = deliveredLayouts();
    ASSERT_GE(layouts.size(), 9u);
    for (const std::string& name : layouts) {
        ASSERT_TRUE(loadDeliveredLayout(name)) << name;
        static TileRecord dealt[TILE_COUNT];
        static TileGrid fullGrid;
        memcpy(fullGrid, tileGrid, sizeof fullGrid);
        seedCensusRandom(random());
        for (int round = 0; round < 8; ++round) {
            dealCensusFaces(tileTable);
            memcpy(tileGrid, fullGrid, sizeof tileGrid);
            memcpy(dealt, tileTable, sizeof dealt);
            ASSERT_EQ(setPosition(tileTable, tileGrid), PositionOk) << name;
            std::vector<int> removal(TILE_COUNT);
            for (int t = 0; t < TILE_COUNT; ++t) removal[t] = t;
            std::shuffle(removal.begin(), removal.end(), random);
            // Tiles leave one by one in any order (the solver updates its free tiles as they go); now and
            // then the position is set afresh from the game's board.
            for (int k = 0; k < TILE_COUNT; ++k) {
                removeTile(removal[k]);
                removeFromGame(removal[k]);
                if (k % 29 == 28) {
                    ASSERT_EQ(setPosition(tileTable, tileGrid), PositionOk);
                }
                expectSameFreeTiles(name + ", removal " + std::to_string(k));
            }
            // Putting tiles back (last removed first) restores the free tiles as well.
            memcpy(tileTable, dealt, sizeof dealt);
            memcpy(tileGrid, fullGrid, sizeof tileGrid);
            ASSERT_EQ(setPosition(tileTable, tileGrid), PositionOk);
            for (int k = 0; k < TILE_COUNT; ++k) {
                removeTile(removal[k]);
                removeFromGame(removal[k]);
            }
            for (int k = TILE_COUNT - 1; k >= 0; --k) {
                const int t = removal[k];
                restoreTile(t);
                tileTable[t].face = dealt[t].face;
                setTileCells(tileTable[t].layer, tileTable[t].row, tileTable[t].column, (uint8_t)t);
                expectSameFreeTiles(name + ", put back " + std::to_string(k));
            }
        }
    }
}

// Plain search with the game's own rules, remembering the sets of tiles found lost.
class BruteForce {
public:
    explicit BruteForce(const std::vector<int>& tiles) : tiles_(tiles), lost_(1u << tiles.size(), 0) {}
    bool winnable() { return solve((1u << tiles_.size()) - 1); }

private:
    bool solve(uint32_t left) {
        if (left == 0) return true;
        if (lost_[left]) return false;
        computeFreeTiles();
        std::vector<int> free;
        for (size_t i = 0; i < tiles_.size(); ++i)
            if ((left >> i & 1) && tileTable[tiles_[i]].state == Free) free.push_back((int)i);
        for (size_t x = 0; x < free.size(); ++x)
            for (size_t y = x + 1; y < free.size(); ++y) {
                const int i = free[x], j = free[y], a = tiles_[i], b = tiles_[j];
                const uint8_t faceA = tileTable[a].face, faceB = tileTable[b].face;
                if (!tilesMatch(faceA, faceB)) continue;
                removeFromGame(a);
                removeFromGame(b);
                const bool won = solve(left & ~(1u << i) & ~(1u << j));
                for (int t : {a, b}) setTileCells(tileTable[t].layer, tileTable[t].row, tileTable[t].column, (uint8_t)t);
                tileTable[a].face = faceA;
                tileTable[b].face = faceB;
                if (won) return true;
                computeFreeTiles();
            }
        lost_[left] = 1;
        return false;
    }
    std::vector<int> tiles_;
    std::vector<uint8_t> lost_;
};

// Faces for n tiles in matching groups of two and four, one group now and then from a bonus set; with
// `odd`, one tile gets a face of its own (a board that cannot be cleared).
std::vector<int> groupedFaces(int n, bool odd, std::mt19937& random) {
    std::vector<int> plain;
    for (int f = 1; f <= 27; ++f) plain.push_back(f);
    for (int f : {32, 33, 34, 35, 40, 41, 42}) plain.push_back(f);
    std::shuffle(plain.begin(), plain.end(), random);
    std::vector<int> faces;
    size_t next = 0;
    while ((int)faces.size() < n) {
        const int size = n - (int)faces.size() >= 4 && random() % 2 ? 4 : 2;
        if (random() % 6 == 0) {
            const int base = random() % 2 ? 28 : 36;
            for (int k = 0; k < size; ++k) faces.push_back(base + (k + (int)(random() % 4)) % 4);
            continue;
        }
        for (int k = 0; k < size; ++k) faces.push_back(plain[next]);
        ++next;
    }
    if (odd) faces[0] = plain.back();
    std::shuffle(faces.begin(), faces.end(), random);
    return faces;
}

TEST(Solver, AgreesWithAPlainSearchOnSmallBoards) {
    std::mt19937 random(1414);
    int winnable = 0, lost = 0;
    for (const char* name : {"DEFAULT.MYL", "ARENA.MYL", "TOWERS.MYL", "DRAGON.MYL", "WINGS.MYL"}) {
        ASSERT_TRUE(loadDeliveredLayout(name)) << name;
        static TileRecord layoutTable[TILE_COUNT];
        static TileGrid fullGrid;
        memcpy(layoutTable, tileTable, sizeof layoutTable);
        memcpy(fullGrid, tileGrid, sizeof fullGrid);
        for (int board = 0; board < 60; ++board) {
            // A patch of the layout around a random tile: the n tiles nearest to it on the grid.
            const int n = 12 + 2 * (int)(random() % 5);
            const TileRecord& centre = layoutTable[random() % TILE_COUNT];
            std::vector<std::pair<int, int>> byDistance;
            for (int t = 0; t < TILE_COUNT; ++t)
                byDistance.push_back({std::abs(layoutTable[t].row - centre.row) +
                                          std::abs(layoutTable[t].column - centre.column) + (int)(random() % 3),
                                      t});
            std::sort(byDistance.begin(), byDistance.end());
            std::vector<int> tiles;
            for (int k = 0; k < n; ++k) tiles.push_back(byDistance[k].second);
            const std::vector<int> faces = groupedFaces(n, board % 10 == 9, random);

            memcpy(tileTable, layoutTable, sizeof tileTable);
            memcpy(tileGrid, fullGrid, sizeof tileGrid);
            for (int t = 0; t < TILE_COUNT; ++t) removeFromGame(t);
            for (int k = 0; k < n; ++k) {
                const int t = tiles[k];
                tileTable[t].face = (uint8_t)faces[k];
                setTileCells(tileTable[t].layer, tileTable[t].row, tileTable[t].column, (uint8_t)t);
            }
            const bool expected = BruteForce(tiles).winnable();
            // Both ways: quick dives first, and the search that learns from its dead ends alone.
            const uint64_t usual = solverQuickNodes;
            for (uint64_t quickNodes : {usual, uint64_t{0}}) {
                solverQuickNodes = quickNodes;
                SolverResult result;
                solvePosition(tileTable, tileGrid, SolverLimits{0, 0}, &result);
                ASSERT_EQ(result.answer, expected ? SolverWinnable : SolverNotWinnable)
                    << name << ", board " << board << ", quick nodes " << quickNodes;
                if (expected) {
                    EXPECT_EQ(result.pairCount, n / 2);
                    EXPECT_TRUE(replayClearsBoard(tileTable, tileGrid, result)) << name << ", board " << board;
                }
            }
            solverQuickNodes = usual;
            ++(expected ? winnable : lost);
        }
    }
    // Both answers occur often enough for the comparison to mean something.
    EXPECT_GE(winnable, 40);
    EXPECT_GE(lost, 40);
}

TEST(Solver, RemovalOrdersOfWholeDealsReplayUnderTheGameRules) {
    ASSERT_TRUE(loadDeliveredLayout("DEFAULT.MYL"));
    static TileGrid fullGrid;
    memcpy(fullGrid, tileGrid, sizeof fullGrid);
    // Random deals: most can be cleared; every order found replays.
    seedCensusRandom(7);
    int winnable = 0;
    for (int deal = 0; deal < 24; ++deal) {
        dealCensusFaces(tileTable);
        SolverAnswer answers[2];
        const uint64_t usual = solverQuickNodes;
        for (uint64_t quickNodes : {usual, uint64_t{0}}) {
            solverQuickNodes = quickNodes;
            SolverResult result;
            solvePosition(tileTable, tileGrid, SolverLimits{30000, 0}, &result);
            answers[quickNodes == 0] = result.answer;
            if (result.answer != SolverWinnable) continue;
            EXPECT_EQ(result.pairCount, TILE_COUNT / 2);
            EXPECT_TRUE(replayClearsBoard(tileTable, tileGrid, result)) << "deal " << deal;
            EXPECT_EQ(memcmp(tileGrid, fullGrid, sizeof fullGrid), 0);  // the replay put the board back
        }
        solverQuickNodes = usual;
        ASSERT_NE(answers[0], SolverBadPosition);
        EXPECT_EQ(answers[0], answers[1]) << "deal " << deal;
        winnable += answers[0] == SolverWinnable;
    }
    EXPECT_GE(winnable, 18);
    // A deal of the arena that an earlier version of the solver called not winnable by a faulty deduction.
    ASSERT_TRUE(loadDeliveredLayout("ARENA.MYL"));
    seedCensusRandom(7);
    for (int deal = 1; deal <= 385; ++deal) dealCensusFaces(tileTable);
    SolverResult arena;
    solvePosition(tileTable, tileGrid, SolverLimits{0, 0}, &arena);
    EXPECT_EQ(arena.answer, SolverWinnable);
    EXPECT_TRUE(replayClearsBoard(tileTable, tileGrid, arena));
    ASSERT_TRUE(loadDeliveredLayout("DEFAULT.MYL"));
    // The game's easy deals are all winnable.
    Settings.EasyMode = 1;
    for (long second = 1; second <= 4; ++second) {
        platformFixTimeSeconds(second * 1000);
        newDeal(nullptr);
        SolverResult result;
        solvePosition(tileTable, tileGrid, SolverLimits{0, 0}, &result);
        EXPECT_EQ(result.answer, SolverWinnable) << "easy deal " << second;
        EXPECT_TRUE(replayClearsBoard(tileTable, tileGrid, result));
    }
    platformFixTimeSeconds(-1);
}

TEST(Solver, RefusesBoardsThatAreNotBoards) {
    ASSERT_TRUE(loadDeliveredLayout("DEFAULT.MYL"));
    seedCensusRandom(3);
    dealCensusFaces(tileTable);
    SolverResult result;
    static TileGrid grid;
    memcpy(grid, tileGrid, sizeof grid);
    grid[cellIndex(tileTable[5].layer, tileTable[5].row, tileTable[5].column)] = 6;  // a cell of tile 5 names 6
    solvePosition(tileTable, grid, SolverLimits{0, 0}, &result);
    EXPECT_EQ(result.answer, SolverBadPosition);
    memcpy(grid, tileGrid, sizeof grid);
    grid[0] = 200;  // no such tile
    solvePosition(tileTable, grid, SolverLimits{0, 0}, &result);
    EXPECT_EQ(result.answer, SolverBadPosition);
    const uint8_t row = tileTable[9].row;
    tileTable[9].row = ROW_COUNT - 1;  // an origin outside the grid
    solvePosition(tileTable, tileGrid, SolverLimits{0, 0}, &result);
    EXPECT_EQ(result.answer, SolverBadPosition);
    tileTable[9].row = row;
    // An odd number of one face can never be cleared; a limit of one node stops the search at once.
    const uint8_t face = tileTable[0].face;
    tileTable[0].face = tileTable[0].face == 1 ? 2 : 1;
    solvePosition(tileTable, tileGrid, SolverLimits{0, 0}, &result);
    EXPECT_EQ(result.answer, SolverNotWinnable);
    tileTable[0].face = face;
    solvePosition(tileTable, tileGrid, SolverLimits{1, 0}, &result);
    EXPECT_NE(result.answer, SolverWinnable);
    EXPECT_LE(result.nodes, 2u);
}

}  // namespace
