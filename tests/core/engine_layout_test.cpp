// Layouts: the three file forms, the random layout, numbering and drawing order,
// the 144-tile check and the text writer.
#include <gtest/gtest.h>

#include <random>

#include "tests/core/test_support.h"

namespace {

class LayoutTest : public ::testing::Test {
protected:
    TempStartDirectory start;
    void SetUp() override {
        fake::reset();
        setEngineTexts();
        setEngineSettings();
        platformFixTimeSeconds(1000);
    }
    void TearDown() override { platformFixTimeSeconds(-1); }

    void loadFile(const std::string& content, const char* name = "TEST.MYL") {
        start.write(std::string("LAYOUTS/") + name, content);
        copyText(layoutName, name, FILE_NAME_SIZE);
        fake::reset();
        loadLayout(nullptr);
    }
    bool refused() const { return fake::releaseCount == 1 && fake::messageLog() == "MesNo144Tiles\n"; }
};

std::string textOf(const std::vector<Origin>& origins) {
    std::string text;
    for (const Origin& o : origins)
        text += std::to_string(o.row) + " " + std::to_string(o.column) + " " + std::to_string(o.layer) + "\r\n";
    return text;
}

std::string packedOf(const std::vector<Origin>& origins) {
    std::string bytes;
    for (const Origin& o : origins) {
        unsigned value = o.column | o.row << 6 | o.layer << 11;
        bytes += (char)(value & 0xFF);
        bytes += (char)(value >> 8);
    }
    bytes.resize(PACKED_LAYOUT_SIZE, 'z');
    return bytes;
}

// Index at each origin, in numbering terms: the checks of the drawing order.
int at(int layer, int row, int column) { return tileCell(layer, row, column); }

TEST_F(LayoutTest, NumberingPutsTheRightAndTheUpperTileFirst) {
    installLayout({{0, 4, 10}, {0, 4, 12}});
    EXPECT_LT(at(0, 4, 12), at(0, 4, 10));
    installLayout({{0, 4, 10}, {0, 6, 10}});
    EXPECT_LT(at(0, 4, 10), at(0, 6, 10));
    // half-shifted neighbours: the tile half a tile lower below is larger, the one
    // half a tile higher on the right is smaller
    installLayout({{0, 4, 10}, {0, 6, 11}, {0, 3, 12}, {1, 4, 10}});
    EXPECT_LT(at(0, 4, 10), at(0, 6, 11));
    EXPECT_LT(at(0, 3, 12), at(0, 4, 10));
    EXPECT_EQ(at(1, 4, 10), 3);  // the upper layer comes last
}

TEST_F(LayoutTest, TurtleIsNumberedInDrawingOrder) {
    installLayout(turtleLayout());
    EXPECT_EQ(fake::messages.size(), 0u);
    bool seen[TILE_COUNT] = {};
    for (int t = 0; t < TILE_COUNT; ++t) {
        const TileRecord& r = tileTable[t];
        EXPECT_EQ(layoutCell(r.layer, r.row, r.column), 1);
        for (int dr = 0; dr < 2; ++dr)
            for (int dc = 0; dc < 2; ++dc) EXPECT_EQ(tileCell(r.layer, r.row + dr, r.column + dc), t);
        EXPECT_FALSE(seen[t]);
        seen[t] = true;
        if (t > 0) { EXPECT_LE(tileTable[t - 1].layer, r.layer); }
    }
    for (int L = 0; L < LAYER_COUNT; ++L)
        for (int r = 0; r < ROW_COUNT; ++r)
            for (int c = 0; c < COLUMN_COUNT; ++c) {
                if (layoutCell(L, r, c) != 1) continue;
                auto origin = [&](int rr, int cc) {
                    return rr < ROW_COUNT && cc >= 0 && cc < COLUMN_COUNT && layoutCell(L, rr, cc) == 1;
                };
                for (int dc : {-1, 0, 1})
                    if (origin(r + 2, c + dc)) { EXPECT_LT(at(L, r, c), at(L, r + 2, c + dc)); }
                if (origin(r + 1, c - 2)) { EXPECT_LT(at(L, r, c), at(L, r + 1, c - 2)); }
                if (origin(r, c + 2)) { EXPECT_GT(at(L, r, c), at(L, r, c + 2)); }
                if (origin(r + 1, c + 2)) { EXPECT_GT(at(L, r, c), at(L, r + 1, c + 2)); }
            }
}

TEST_F(LayoutTest, SwapTilePositionsKeepsRecordsWithTheirPositions) {
    installLayout({{0, 0, 0}, {0, 0, 4}});
    int left = at(0, 0, 0), right = at(0, 0, 4);
    swapTilePositions(left, right);
    EXPECT_EQ(at(0, 0, 0), right);
    EXPECT_EQ(tileTable[right].column, 0);
    EXPECT_EQ(at(0, 1, 5), left);
    EXPECT_EQ(tileTable[left].column, 4);
    bool exchanged = false;
    orderPass(0, +4, false, &exchanged);  // (0,0,0) holds the smaller index now: exchanged back
    EXPECT_TRUE(exchanged);
    EXPECT_EQ(at(0, 0, 0), left);
}

TEST_F(LayoutTest, TextFormEdgeCases) {
    loadFile("; 5 5 0 is a comment\r\n\r\n0 0 0\r\n19 33 4\r\n20 0 0\r\n0 34 0\r\n0 0 5\r\nabc def ghi\r\n"
             "-1 2 0\r\n99999999999999999999 2 0\r\n2 4\r\n");
    EXPECT_EQ(countOrigins(), 2);
    EXPECT_EQ(layoutCell(0, 0, 0), 1);
    EXPECT_EQ(layoutCell(4, 19, 33), 1);
    EXPECT_TRUE(refused());
    EXPECT_EQ(Settings.EasyMode, 0);

    // bare line feeds, text after the numbers, no blank needed before a sign
    loadFile("4 10 0 and more\n6 10 1\n8 2-0\n");
    EXPECT_EQ(countOrigins(), 3);
    EXPECT_EQ(layoutCell(0, 8, 2), 1);
    EXPECT_EQ(layoutCell(0, 4, 10), 1);
    EXPECT_EQ(layoutCell(1, 6, 10), 1);

    // a line of 254 characters and more is read in pieces of 254
    loadFile(std::string(254, 'x') + "2 4 0\r\n" + std::string(600, '7') + "\r\n" + "12");
    EXPECT_EQ(countOrigins(), 1);
    EXPECT_EQ(layoutCell(0, 2, 4), 1);
}

TEST_F(LayoutTest, TextFormOfTheTurtleIsAccepted) {
    loadFile(textOf(turtleLayout()));
    EXPECT_EQ(countOrigins(), TILE_COUNT);
    EXPECT_EQ(fake::messages.size(), 0u);
    EXPECT_EQ(fake::releaseCount, 0);
}

TEST_F(LayoutTest, PackedForm) {
    std::vector<Origin> turtle = turtleLayout();
    loadFile(packedOf(turtle));
    EXPECT_EQ(countOrigins(), TILE_COUNT);
    EXPECT_EQ(fake::messages.size(), 0u);

    std::string bytes = packedOf(turtle);
    bytes[0] = 0x43;  // record 0x0843: layer 1, row 1, column 3
    bytes[1] = 0x08;
    bytes[2] = (char)0xFF;  // row 31, column 63, layer 7: out of range, skipped
    bytes[3] = 0x3F;
    loadFile(bytes);
    EXPECT_EQ(layoutCell(1, 1, 3), 1);
    EXPECT_EQ(countOrigins(), TILE_COUNT - 1);
    EXPECT_TRUE(refused());
}

TEST_F(LayoutTest, CharacterGridFormOnlyWithTheSetting) {
    std::string grid(GRID_CELLS, '0');
    grid[cellIndex(0, 4, 10)] = '1';
    grid[cellIndex(2, 0, 0)] = '1';
    std::string file = "K grid layout\r\n1 1 1 is the second line\r\n" + grid;
    Settings.lay = 1;
    loadFile(file);
    EXPECT_EQ(countOrigins(), 2);
    EXPECT_EQ(layoutCell(0, 4, 10), 1);
    EXPECT_EQ(layoutCell(2, 0, 0), 1);

    // cut short: the missing characters mark nothing
    loadFile(file.substr(0, file.size() - GRID_CELLS + cellIndex(1, 0, 0)));
    EXPECT_EQ(countOrigins(), 1);

    // without the setting it is a text file: only the second line has numbers
    Settings.lay = 0;
    loadFile(file);
    EXPECT_EQ(countOrigins(), 1);
    EXPECT_EQ(layoutCell(1, 1, 1), 1);
}

TEST_F(LayoutTest, SaveAndLoadRoundTrip) {
    installLayout(turtleLayout());
    uint8_t saved[GRID_CELLS];
    memcpy(saved, layoutGrid, sizeof saved);
    copyText(layoutName, "ROUND.MYL", FILE_NAME_SIZE);
    saveLayout(nullptr);
    EXPECT_EQ(fake::messages.size(), 0u);
    std::string text = start.read("LAYOUTS/ROUND.MYL");
    EXPECT_EQ(text.substr(0, 7), "0 2 0\r\n");
    EXPECT_EQ(text.size(), textOf(turtleLayout()).size());
    clearGrids();
    loadLayout(nullptr);
    EXPECT_EQ(memcmp(saved, layoutGrid, sizeof saved), 0);
    EXPECT_EQ(fake::messages.size(), 0u);
}

TEST_F(LayoutTest, SaveFailureIsReported) {
    start.remove("LAYOUTS");
    installLayout(turtleLayout());
    saveLayout(nullptr);
    EXPECT_EQ(fake::messageLog(), "TEST.MYL : MesWriteError\n");
}

TEST_F(LayoutTest, RandomLayout) {
    start.remove("LAYOUTS");  // never touches the disk
    copyText(layoutName, RANDOM_LAYOUT_NAME, FILE_NAME_SIZE);
    for (long seconds : {1L, 77L, 123456789L}) {
        platformFixTimeSeconds(seconds);
        loadLayout(nullptr);
        EXPECT_EQ(fake::messages.size(), 0u);
        EXPECT_EQ(countOrigins(), TILE_COUNT);
        uint8_t first[GRID_CELLS];
        memcpy(first, layoutGrid, sizeof first);
        for (int L = 0; L < LAYER_COUNT; ++L)
            for (int r = 0; r < ROW_COUNT; ++r)
                for (int c = 0; c < COLUMN_COUNT; ++c) {
                    if (layoutCell(L, r, c) != 1) continue;
                    EXPECT_EQ(r % 2, 0);
                    EXPECT_EQ(c % 2, 0);
                    if (L > 0) { EXPECT_EQ(layoutCell(L - 1, r, c), 1); }  // stacks from the bottom
                }
        loadLayout(nullptr);  // the same second draws the same layout
        EXPECT_EQ(memcmp(first, layoutGrid, sizeof first), 0);
    }
    uint8_t last[GRID_CELLS];
    memcpy(last, layoutGrid, sizeof last);
    platformFixTimeSeconds(2);
    loadLayout(nullptr);
    EXPECT_NE(memcmp(last, layoutGrid, sizeof last), 0);
}

TEST_F(LayoutTest, LayoutsThatCannotBePlayedAreRefused) {
    std::vector<Origin> turtle = turtleLayout();
    std::vector<Origin> short143(turtle.begin(), turtle.end() - 1);
    loadFile(textOf(short143));
    EXPECT_TRUE(refused());
    EXPECT_EQ(Settings.EasyMode, 0);

    std::vector<Origin> long145 = turtle;
    long145.push_back({0, 18, 32});
    Settings.EasyMode = 1;
    loadFile(textOf(long145));
    EXPECT_TRUE(refused());
    EXPECT_EQ(countOrigins(), 145);

    // 144 origins, one of them without room for its four cells
    std::vector<Origin> edge = short143;
    edge.push_back({0, 19, 0});
    loadFile(textOf(edge));
    EXPECT_TRUE(refused());

    // 144 origins, two tiles sharing cells on one layer
    std::vector<Origin> overlap = short143;
    overlap.push_back({0, 1, 3});
    loadFile(textOf(overlap));
    EXPECT_TRUE(refused());
    for (int cell = 0; cell < GRID_CELLS; ++cell)
        EXPECT_TRUE(tileGrid[cell] < TILE_COUNT || tileGrid[cell] == NO_TILE);

    // a missing file reads nothing
    copyText(layoutName, "NOWHERE.MYL", FILE_NAME_SIZE);
    fake::reset();
    loadLayout(nullptr);
    EXPECT_EQ(countOrigins(), 0);
    EXPECT_TRUE(refused());
}

TEST_F(LayoutTest, HostileFilesNeverReachOutsideTheGrid) {
    std::mt19937 generator(5);
    for (size_t size : {0, 1, 2, 307, 308, 309, 3402, 70000}) {
        for (int round = 0; round < 3; ++round) {
            std::string bytes(size, '\0');
            for (char& b : bytes) b = (char)(round == 2 ? "0123456789 \n-K"[generator() % 14] : generator());
            if (size > 0 && round == 1) bytes[0] = 'K';
            Settings.lay = round == 1;
            loadFile(bytes);
            for (int cell = 0; cell < GRID_CELLS; ++cell) {
                EXPECT_LE(layoutGrid[cell], 1);
                EXPECT_TRUE(tileGrid[cell] < TILE_COUNT || tileGrid[cell] == NO_TILE);
            }
            // whatever happened, a deal on the result stays inside the board
            newDeal(nullptr);
            EXPECT_EQ(tilesLeft, TILE_COUNT);
        }
    }
}

}  // namespace
