// Writes the starting inputs of the fuzz harnesses into one folder per reader:
// files written by the game's own writers (settings of both programs, layouts
// in all three forms, saved games, halls of fame), the language files and
// layouts of data/, miniatures of the data pictures, and small BMP files in
// every form the reader accepts.
// Usage: mj_fuzz_seeds OUTPUT-DIRECTORY
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/board.h"
#include "engine/deal.h"
#include "engine/layout.h"
#include "engine/play.h"
#include "gamefiles/halloffame.h"
#include "gamefiles/savegame.h"
#include "platform/files.h"
#include "platform/system.h"
#include "settings/settings.h"
#include "settings/directories.h"
#include "tests/support/internals.h"
#include "tests/support/null_host.h"
#include "tests/fuzz/fuzz_support.h"

namespace fs = std::filesystem;

namespace {

fs::path output;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void seed(const std::string& reader, const std::string& name, const std::string& bytes) {
    fs::create_directories(output / reader);
    std::ofstream(output / reader / name, std::ios::binary) << bytes;
}

void copyData(const std::string& reader, const char* folder, const char* extension) {
    for (const auto& entry : fs::directory_iterator(fs::path(MJ_SOURCE_DIR) / "data" / folder))
        if (entry.path().extension() == extension) seed(reader, entry.path().filename().string(), readFile(entry.path()));
}

void put16(std::string& bytes, unsigned value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& bytes, uint32_t value) {
    put16(bytes, value & 0xFFFF);
    put16(bytes, value >> 16);
}

void settingsSeeds() {
    fuzzWriteText("LANGUAGE/ENGLISH.TXT", "MesNoLayout \"no layout\"\r\n");
    fuzzWriteText("LAYOUTS/DEFAULT.MYL", "0 0 0\r\n");
    fuzzWriteText("TILESETS/STANDARD.BMP", "BM");
    fuzzWriteText("BACKGRND/SUNSET.BMP", "BM");
    for (const char* name : {"SOUNDS/SELECT.WAV", "SOUNDS/REMOVE.WAV", "SOUNDS/BESIDE.WAV", "SOUNDS/MOZK478.MID"})
        fuzzWriteText(name, "x");
    copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
    loadSettings();
    saveSettings(nullptr);
    const std::string full = readFile(SETTINGS_FILE_NAME);
    seed("settings", "default-3d.ini", full);
    seed("settings", "default-2d.ini", full.substr(0, full.find("\r\n\r\n; 3D values")));
    Settings.Background[0] = 0;
    Settings.Sound2[0] = 0;
    Settings.SelectMode = SELECT_INVERT;
    Settings.lay = 1;
    Settings.BorderSize = -3;
    copyText(Settings.Layout, RANDOM_LAYOUT_NAME, FILE_NAME_SIZE);
    Settings.Inclination = -1e30f;
    Settings.StepRotation = 1e-7f;
    saveSettings(nullptr);
    seed("settings", "varied-3d.ini", readFile(SETTINGS_FILE_NAME));
    seed("settings", "hostile.ini",
         "; comment\nLayout = \"unterminated\r\nTileSet=\"X.BMP\"\nBackground = none trailing\n"
         "Music = \"../SOUNDS/MOZK478.MID\"\nEasyMode = 99999999999\nBackgroundColor = 300 -1 2555555555\n"
         "XView = nan\nZView = 1e999\n\tSound1 = \"\"\nLanguage = \"ENGLISH.TXT\"\r\n" +
             std::string(300, 'A') + "\n.lay = 1\nSelectMode = INVERT extra\n");
}

void languageSeeds() {
    copyData("language", "LANGUAGE", ".TXT");
    seed("language", "small.txt",
         "; comment\r\nNEW_GAME \"\"\r\n  HINT\t\"a \"b\" c\"\r\nUNDO \"unterminated\r\nGO2D \"3D only\"\r\n"
         "MesUndo \"" + std::string(5000, 'x') + "\"\r\nEXIT \"" + std::string(130, 'e') + "\"\n");
}

void layoutSeeds() {
    copyData("layout", "LAYOUTS", ".MYL");
    const std::string text = readFile(fs::path(MJ_SOURCE_DIR) / "data" / "LAYOUTS" / "DEFAULT.MYL");
    fuzzWriteText("LAYOUTS/DEFAULT.MYL", text.c_str());
    copyText(layoutName, "DEFAULT.MYL", FILE_NAME_SIZE);
    loadLayout(nullptr);
    std::string packed, grid(GRID_CELLS, '0');
    for (int k = 0; k < TILE_COUNT; ++k) {
        const TileRecord& tile = tileTable[k];
        put16(packed, tile.column | tile.row << 6 | tile.layer << 11);
        grid[cellIndex(tile.layer, tile.row, tile.column)] = '1';
    }
    packed.append(PACKED_LAYOUT_SIZE - packed.size(), '\0');
    seed("layout", "packed.myl", packed);
    seed("layout", "grid.myl", "K character grid\r\nsecond line\r\n" + grid);
    seed("layout", "comments.myl", "; a comment\r\n\r\n0 0 0\r\n19 33 4\r\n20 0 0\r\nrow col layer\r\n4 10 0 tail\n");
}

void gameSeeds() {
    Settings.EasyMode = 1;
    platformFixTimeSeconds(1);
    newDeal(nullptr);
    platformSetCurrentDirectory(saveGameDirectory);
    writeSavedGame("fresh.mym");
    for (int k = 0; k < 20; k += 2) removePair(dealOrder[k], dealOrder[k + 1]);
    selectedTile = dealOrder[20];
    chronoSeconds = 3725;
    writeSavedGame("middle.mym");
    for (int k = 20; k < TILE_COUNT; k += 2) removePair(dealOrder[k], dealOrder[k + 1]);
    selectedTile = NO_TILE;
    chronoSeconds = CHRONO_LIMIT;
    writeSavedGame("won.mym");
    returnToStartDirectory();
    for (const char* name : {"fresh.mym", "middle.mym", "won.mym"})
        seed("savegame", name, readFile(fs::path("SAVEGAME") / name));

    defaultHallOfFame();
    copyText(layoutName, "SEED.MYL", FILE_NAME_SIZE);
    saveHallOfFame(nullptr);
    seed("halloffame", "default.mys", readFile("SCORES/SEED.MYS"));
    hallOfFame[HALL_OF_FAME_SIZE] = hallOfFame[0];
    std::memset(hallOfFame[HALL_OF_FAME_SIZE].name, 'N', sizeof hallOfFame[0].name - 1);
    hallOfFame[HALL_OF_FAME_SIZE].seconds = 360;
    sortHallOfFame();
    saveHallOfFame(nullptr);
    seed("halloffame", "sorted.mys", readFile("SCORES/SEED.MYS"));
}

// A BMP file: the 14-byte file header, the given information header, colour
// table or masks, and rows of `rowBytes` (padded to four bytes).
std::string bitmap(const std::string& header, const std::string& table, const std::vector<std::string>& rows) {
    std::string pixels;
    for (const std::string& row : rows) pixels += row + std::string((4 - row.size() % 4) % 4, '\0');
    std::string file = "BM";
    put32(file, static_cast<uint32_t>(14 + header.size() + table.size() + pixels.size()));
    put32(file, 0);
    put32(file, static_cast<uint32_t>(14 + header.size() + table.size()));
    return file + header + table + pixels;
}

std::string infoHeader(int size, int width, int height, int bits, int compression, int colours) {
    std::string header;
    put32(header, static_cast<uint32_t>(size));
    put32(header, static_cast<uint32_t>(width));
    put32(header, static_cast<uint32_t>(height));
    put16(header, 1);
    put16(header, static_cast<unsigned>(bits));
    put32(header, static_cast<uint32_t>(compression));
    put32(header, 0);
    put32(header, 2835);
    put32(header, 2835);
    put32(header, static_cast<uint32_t>(colours));
    put32(header, 0);
    if (size > 40) {  // version 4 and 5: the masks, then zeros
        for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu, 0u}) put32(header, mask);
        header.append(static_cast<size_t>(size) - header.size(), '\0');
    }
    return header;
}

// Rows of `width` pixels at `bits` per pixel filled with a pattern.
std::vector<std::string> patternRows(int width, int height, int bits) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row((width * bits + 7) / 8, '\0');
        for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<char>(i * 37 + y * 11);
        rows.push_back(row);
    }
    return rows;
}

std::string palette(int count, int entrySize) {
    std::string table;
    for (int i = 0; i < count; ++i) {
        table += static_cast<char>(i * 7);
        table += static_cast<char>(255 - i);
        table += static_cast<char>(i * 3);
        if (entrySize == 4) table += '\0';
    }
    return table;
}

// A data picture shrunk by taking every `step`-th pixel, as a 24-bit BMP.
std::string miniature(const fs::path& path, int step) {
    const std::string file = readFile(path);
    const auto at32 = [&](size_t offset) {
        return static_cast<uint32_t>(static_cast<uint8_t>(file[offset])) |
               static_cast<uint32_t>(static_cast<uint8_t>(file[offset + 1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(file[offset + 2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(file[offset + 3])) << 24;
    };
    const int width = static_cast<int>(at32(18)), height = static_cast<int>(at32(22));
    const size_t offset = at32(10), stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<std::string> rows;
    for (int y = 0; y < height; y += step) {
        std::string row;
        for (int x = 0; x < width; x += step) row += file.substr(offset + y * stride + 3 * x, 3);
        rows.push_back(row);
    }
    return bitmap(infoHeader(40, (width + step - 1) / step, static_cast<int>(rows.size()), 24, 0, 0), "", rows);
}

void bitmapSeeds() {
    for (int bits : {1, 4, 8}) {
        seed("bmp", "indexed-" + std::to_string(bits) + ".bmp",
             bitmap(infoHeader(40, 18, 10, bits, 0, 0), palette(1 << bits, 4), patternRows(18, 10, bits)));
    }
    seed("bmp", "core-8.bmp", bitmap([] {
                                          std::string header;
                                          put32(header, 12);
                                          put16(header, 9), put16(header, 5), put16(header, 1), put16(header, 8);
                                          return header;
                                      }(),
                                      palette(256, 3), patternRows(9, 5, 8)));
    seed("bmp", "rgb-16.bmp", bitmap(infoHeader(40, 9, 5, 16, 0, 0), "", patternRows(9, 5, 16)));
    std::string masks;
    for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) put32(masks, mask);
    seed("bmp", "fields-16.bmp", bitmap(infoHeader(40, 9, 5, 16, 3, 0), masks, patternRows(9, 5, 16)));
    seed("bmp", "rgb-24.bmp", bitmap(infoHeader(40, 9, 5, 24, 0, 0), "", patternRows(9, 5, 24)));
    seed("bmp", "top-down-24.bmp", bitmap(infoHeader(40, 9, -5, 24, 0, 0), "", patternRows(9, 5, 24)));
    seed("bmp", "rgb-32.bmp", bitmap(infoHeader(40, 9, 5, 32, 0, 0), "", patternRows(9, 5, 32)));
    seed("bmp", "v4-16.bmp", bitmap(infoHeader(108, 9, 5, 16, 3, 0), "", patternRows(9, 5, 16)));
    seed("bmp", "v5-16.bmp", bitmap(infoHeader(124, 9, 5, 16, 3, 0), "", patternRows(9, 5, 16)));
    const fs::path data = fs::path(MJ_SOURCE_DIR) / "data";
    for (const char* folder : {"TILESETS", "BACKGRND"})
        for (const auto& entry : fs::directory_iterator(data / folder))
            seed("bmp", std::string(folder) + "-" + entry.path().filename().string(), miniature(entry.path(), 24));
    seed("bmp", "Splash.bmp", miniature(data / "Splash.bmp", 8));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIRECTORY\n", argv[0]);
        return 2;
    }
    output = fs::absolute(argv[1]);
    fuzzStartDirectory();
    settingsSeeds();
    languageSeeds();
    layoutSeeds();
    gameSeeds();
    bitmapSeeds();
    return 0;
}
