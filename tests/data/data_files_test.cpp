// Checks the delivered data as the game reads it: pictures, layouts, language
// files, sound effects and music.
#include <gtest/gtest.h>

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
#include "engine/rules.h"
#include "platform/surface.h"
#include "platform/system.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "settings/directories.h"
#include "tests/support/internals.h"
#include "tests/support/null_host.h"
#include "view2d/bitmap.h"

namespace fs = std::filesystem;

namespace {

const std::string dataDirectory = std::string(MJ_SOURCE_DIR) + "/data";

std::vector<std::string> filesWithExtension(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dataDirectory + "/" + folder)) {
        std::string name = entry.path().filename().string();
        std::string upper = name;
        for (char& c : upper) c = (char)toupper((unsigned char)c);
        if (upper.size() > extension.size() &&
            upper.compare(upper.size() - extension.size(), extension.size(), extension) == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return (uint16_t)(b[at] | b[at + 1] << 8); }
uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t)b[at] << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}
uint16_t be16(const std::vector<uint8_t>& b, size_t at) { return (uint16_t)(b[at] << 8 | b[at + 1]); }

// An uncompressed Windows BMP that the game's reader accepts; returns its size.
void expectPlainBitmap(const std::string& path, int* width, int* height) {
    SCOPED_TRACE(path);
    std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(le32(bytes, 14), 40u) << "information header";
    EXPECT_EQ(le32(bytes, 30), 0u) << "uncompressed";
    Surface picture = {0, 0, nullptr};
    ASSERT_TRUE(decodeBitmap(bytes.data(), bytes.size(), &picture));
    *width = picture.width;
    *height = picture.height;
    releaseSurface(&picture);
}

}  // namespace

TEST(DeliveredData, TileSetsAreUncompressedBitmapsOfNineByFiveFaces) {
    std::vector<std::string> sets = filesWithExtension("TILESETS", ".BMP");
    ASSERT_GE(sets.size(), 3u);
    EXPECT_NE(std::find(sets.begin(), sets.end(), "STANDARD.BMP"), sets.end());
    for (const std::string& name : sets) {
        int width = 0, height = 0;
        expectPlainBitmap(dataDirectory + "/TILESETS/" + name, &width, &height);
        EXPECT_EQ(width % 9, 0) << name;
        EXPECT_EQ(height % 5, 0) << name;
        // Big enough for a full-screen window, where a face is about 100 pixels wide.
        EXPECT_GE(width / 9, 100) << name;
        EXPECT_EQ(le16(readBytes(dataDirectory + "/TILESETS/" + name), 28), 24) << name;
    }
}

TEST(DeliveredData, BackgroundsSplashAndIconStripAreReadable) {
    std::vector<std::string> backgrounds = filesWithExtension("BACKGRND", ".BMP");
    ASSERT_GE(backgrounds.size(), 3u);
    EXPECT_NE(std::find(backgrounds.begin(), backgrounds.end(), "SUNSET.BMP"), backgrounds.end());
    int width = 0, height = 0;
    for (const std::string& name : backgrounds) {
        expectPlainBitmap(dataDirectory + "/BACKGRND/" + name, &width, &height);
        EXPECT_GE(width, 640) << name;
    }
    expectPlainBitmap(dataDirectory + "/Splash.bmp", &width, &height);
    EXPECT_GT(width, 0);
    std::string strip = std::string(MJ_SOURCE_DIR) + "/resources/iconstrip.bmp";
    expectPlainBitmap(strip, &width, &height);
    EXPECT_EQ(width, 160);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(le16(readBytes(strip), 28), 4) << "sixteen colours";
}

class DeliveredLayouts : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        snprintf(startDirectory, sizeof startDirectory, "%s", dataDirectory.c_str());
        snprintf(layoutDirectory, sizeof layoutDirectory, "%s/LAYOUTS/", dataDirectory.c_str());
        // Halls of fame are only read here; an empty place keeps the defaults.
        snprintf(scoreDirectory, sizeof scoreDirectory, "%s/NO-SCORES/", dataDirectory.c_str());
        Settings.EasyMode = 1;
        Settings.RemoveTileTime = 0;
        Settings.lay = 0;
        view3D = false;
    }
    void TearDown() override { platformFixTimeSeconds(-1); }
};

TEST_F(DeliveredLayouts, EveryLayoutHolds144TilesAndEasyDealsClearIt) {
    std::vector<std::string> layouts = filesWithExtension("LAYOUTS", ".MYL");
    ASSERT_GE(layouts.size(), 8u);
    EXPECT_NE(std::find(layouts.begin(), layouts.end(), "DEFAULT.MYL"), layouts.end());
    for (const std::string& name : layouts) {
        SCOPED_TRACE(name);
        copyText(Settings.Layout, name.c_str(), FILE_NAME_SIZE);
        loadLayout(nullptr);
        ASSERT_EQ(fake::messages.size(), 0u) << "the layout was refused";
        int origins = 0;
        for (int cell = 0; cell < GRID_CELLS; ++cell) origins += layoutGrid[cell];
        EXPECT_EQ(origins, TILE_COUNT);
        int layersUsed = 0;
        for (int t = 0; t < TILE_COUNT; ++t) layersUsed |= 1 << tileTable[t].layer;
        EXPECT_GT(layersUsed, 1) << "stacked in layers";
        for (long seed : {1000L, 2024L, 777777L}) {
            platformFixTimeSeconds(seed);
            newDeal(nullptr);
            ASSERT_EQ(tilesLeft, TILE_COUNT);
            EXPECT_TRUE(dealOrderValid) << "seed " << seed;
            for (int k = 0; k < TILE_COUNT; k += 2) {
                computeFreeTiles();
                int a = dealOrder[k], b = dealOrder[k + 1];
                ASSERT_TRUE(a < TILE_COUNT && b < TILE_COUNT) << "seed " << seed;
                ASSERT_EQ(tileTable[a].state, Free) << "seed " << seed << " pair " << k / 2;
                ASSERT_EQ(tileTable[b].state, Free) << "seed " << seed << " pair " << k / 2;
                ASSERT_TRUE(tilesMatch(tileTable[a].face, tileTable[b].face));
                removePair(a, b);
            }
            EXPECT_EQ(tilesLeft, 0);
            restartGame(nullptr);
        }
    }
}

TEST(DeliveredData, LayoutsAreWrittenInTheFormTheGameWrites) {
    for (const std::string& name : filesWithExtension("LAYOUTS", ".MYL")) {
        std::vector<uint8_t> bytes = readBytes(dataDirectory + "/LAYOUTS/" + name);
        std::string text(bytes.begin(), bytes.end());
        size_t lines = 0, at = 0;
        while (at < text.size()) {
            size_t end = text.find("\r\n", at);
            ASSERT_NE(end, std::string::npos) << name << ": every line ends with CR LF";
            int row, column, layer;
            char extra;
            std::string line = text.substr(at, end - at);
            ASSERT_EQ(sscanf(line.c_str(), "%d %d %d%c", &row, &column, &layer, &extra), 3) << name << ": " << line;
            ++lines;
            at = end + 2;
        }
        EXPECT_EQ(lines, 144u) << name;
    }
}

TEST(DeliveredData, LanguageFilesDefineEveryKey) {
    std::vector<std::string> languages = filesWithExtension("LANGUAGE", ".TXT");
    for (const char* expected : {"ENGLISH.TXT", "FRENCH.TXT", "GERMAN.TXT"})
        EXPECT_NE(std::find(languages.begin(), languages.end(), expected), languages.end()) << expected;
    snprintf(startDirectory, sizeof startDirectory, "%s", dataDirectory.c_str());
    snprintf(languageDirectory, sizeof languageDirectory, "%s/LANGUAGE/", dataDirectory.c_str());
    for (const std::string& name : languages) {
        SCOPED_TRACE(name);
        memset(&LanguageTexts, 0, sizeof LanguageTexts);
        copyText(Settings.Language, name.c_str(), FILE_NAME_SIZE);
        ASSERT_TRUE(loadLanguage());
        for (int k = 0; k < languageKeyCount(); ++k) {
            const char* key = languageKeyName(k);
            if (languageKeyIs3DOnly(key)) continue;  // read by mahjong only; checked there
            const char* text = languageText(key);
            ASSERT_NE(text, nullptr) << key;
            EXPECT_GT(strlen(text), 0u) << key << " is missing or empty";
        }
        std::string help = name.substr(0, name.size() - 4) + ".HLP";
        EXPECT_STREQ(helpFile, help.c_str());
    }
}

TEST(DeliveredData, SoundEffectsAreShortPcmWaves) {
    std::vector<std::string> waves = filesWithExtension("SOUNDS", ".WAV");
    for (const char* expected : {"SELECT.WAV", "REMOVE.WAV", "BESIDE.WAV"})
        EXPECT_NE(std::find(waves.begin(), waves.end(), expected), waves.end()) << expected;
    EXPECT_GE(waves.size(), 5u) << "alternatives to choose from";
    for (const std::string& name : waves) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> b = readBytes(dataDirectory + "/SOUNDS/" + name);
        ASSERT_GE(b.size(), 44u);
        ASSERT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
        ASSERT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
        EXPECT_EQ(le32(b, 4) + 8, b.size());
        size_t at = 12;
        bool haveFormat = false;
        uint32_t rate = 0, dataBytes = 0;
        uint16_t channels = 0, bits = 0;
        while (at + 8 <= b.size()) {
            std::string id(b.begin() + at, b.begin() + at + 4);
            uint32_t length = le32(b, at + 4);
            ASSERT_LE(at + 8 + length, b.size()) << id;
            if (id == "fmt ") {
                haveFormat = true;
                EXPECT_EQ(le16(b, at + 8), 1) << "PCM";
                channels = le16(b, at + 10);
                rate = le32(b, at + 12);
                bits = le16(b, at + 22);
            } else if (id == "data") {
                dataBytes = length;
            }
            at += 8 + length + (length & 1);
        }
        ASSERT_TRUE(haveFormat);
        EXPECT_EQ(bits, 16);
        EXPECT_TRUE(channels == 1 || channels == 2);
        ASSERT_GT(rate, 8000u);
        ASSERT_GT(dataBytes, 0u);
        double seconds = (double)dataBytes / (rate * channels * 2.0);
        EXPECT_LT(seconds, 0.6) << "effects play synchronously; the game waits for them";
    }
}

TEST(DeliveredData, MusicIsStandardMidiOfAFewMinutes) {
    std::vector<std::string> pieces = filesWithExtension("SOUNDS", ".MID");
    EXPECT_NE(std::find(pieces.begin(), pieces.end(), "MOZK478.MID"), pieces.end());
    EXPECT_GE(pieces.size(), 2u);
    for (const std::string& name : pieces) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> b = readBytes(dataDirectory + "/SOUNDS/" + name);
        ASSERT_GE(b.size(), 14u);
        ASSERT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
        ASSERT_EQ(be32(b, 4), 6u);
        uint16_t format = be16(b, 8), tracks = be16(b, 10), division = be16(b, 12);
        EXPECT_LE(format, 1);
        ASSERT_GT(tracks, 0);
        ASSERT_EQ(division & 0x8000, 0) << "ticks per quarter note";
        size_t at = 14;
        double longestSeconds = 0;
        for (int t = 0; t < tracks; ++t) {
            ASSERT_LE(at + 8, b.size());
            ASSERT_EQ(std::string(b.begin() + at, b.begin() + at + 4), "MTrk");
            size_t end = at + 8 + be32(b, at + 4);
            ASSERT_LE(end, b.size());
            size_t p = at + 8;
            uint8_t status = 0;
            bool ended = false;
            double seconds = 0, tempo = 500000;  // microseconds a quarter note
            while (p < end && !ended) {
                uint32_t delta = 0;
                do { delta = delta << 7 | (b[p] & 0x7F); } while (b[p++] & 0x80 && p < end);
                seconds += delta * tempo / 1e6 / division;
                ASSERT_LT(p, end);
                if (b[p] & 0x80) status = b[p++];
                ASSERT_NE(status, 0) << "running status before any status";
                if (status == 0xFF) {
                    uint8_t type = b[p++];
                    uint32_t length = 0;
                    do { length = length << 7 | (b[p] & 0x7F); } while (b[p++] & 0x80);
                    if (type == 0x51 && length == 3) tempo = b[p] << 16 | b[p + 1] << 8 | b[p + 2];
                    if (type == 0x2F) ended = true;
                    p += length;
                } else if (status == 0xF0 || status == 0xF7) {
                    uint32_t length = 0;
                    do { length = length << 7 | (b[p] & 0x7F); } while (b[p++] & 0x80);
                    p += length;
                } else {
                    int kind = status >> 4;
                    p += (kind == 0xC || kind == 0xD) ? 1 : 2;
                }
            }
            EXPECT_TRUE(ended) << "track " << t << " has its end-of-track event";
            EXPECT_EQ(p, end) << "track " << t;
            // Tempo changes live in the first track of a format-1 file; this is an estimate.
            longestSeconds = std::max(longestSeconds, seconds);
            at = end;
        }
        EXPECT_GE(longestSeconds, 90.0) << "a few minutes of music";
        EXPECT_LE(longestSeconds, 600.0);
    }
}

TEST(DeliveredData, ScoreAndSavedGameFoldersExistAndListNothing) {
    for (const char* folder : {"SCORES", "SAVEGAME"}) {
        ASSERT_TRUE(fs::is_directory(dataDirectory + "/" + folder)) << folder;
        EXPECT_TRUE(filesWithExtension(folder, folder[1] == 'C' ? ".MYS" : ".MYM").empty()) << folder;
    }
}
