// The settings record and "MAH-JONG.INI" as mahjong-2d reads and writes it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "engine/layout.h"
#include "platform/ui.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "tests/core/settings_fixture.h"
#include "tests/core/temp_dir.h"
#include "tests/support/null_host.h"

namespace {

constexpr Colour colour(int red, int green, int blue) {
    return static_cast<Colour>(red + 256 * green + 65536 * blue);
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        writeDefaultDataFiles(start);
        startUpState();
    }
    bool loadWith(const std::string& ini) {
        start.write("MAH-JONG.INI", ini);
        return loadSettings();
    }
    std::string saved() {
        saveSettings(nullptr);
        return start.read("MAH-JONG.INI");
    }
    TempStartDirectory start;
};

}  // namespace

TEST_F(SettingsFile, DefaultsWithoutFile) {
    ASSERT_TRUE(loadSettings());
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(Settings.BackgroundColor, colour(0, 160, 0));
    EXPECT_EQ(Settings.SidesColor, colour(184, 120, 24));
    EXPECT_EQ(Settings.EasyMode, 1);
    EXPECT_EQ(Settings.AutoPlaySleep, 500);
    EXPECT_EQ(Settings.RemoveTileTime, 500);
    EXPECT_EQ(Settings.ShowChrono, 1);
    EXPECT_EQ(Settings.Shadows, 0);
    EXPECT_EQ(Settings.StretchTiles, 1);
    EXPECT_EQ(Settings.SelectMode, SELECT_DARKER);
    EXPECT_EQ(Settings.lay, 0);
    EXPECT_STREQ(Settings.Language, "ENGLISH.TXT");
    EXPECT_STREQ(Settings.Layout, "DEFAULT.MYL");
    EXPECT_STREQ(layoutName, "DEFAULT.MYL");
    EXPECT_STREQ(Settings.TileSet, "STANDARD.BMP");
    EXPECT_STREQ(Settings.Background, "SUNSET.BMP");
    EXPECT_EQ(Settings.SoundEffects, 1);
    EXPECT_STREQ(Settings.Sound1, "SELECT.WAV");
    EXPECT_STREQ(Settings.Sound2, "REMOVE.WAV");
    EXPECT_STREQ(Settings.Sound3, "BESIDE.WAV");
    EXPECT_STREQ(Settings.Music, "MOZK478.MID");
    EXPECT_EQ(Settings.WindowXPos, 0);
    EXPECT_EQ(Settings.WindowYPos, 0);
    // The fake screen: maximised 1928 x 1056, sizing frame 4, menu bar 19.
    EXPECT_EQ(Settings.WindowXSize, 1920);
    EXPECT_EQ(Settings.WindowYSize, 1048);
    EXPECT_EQ(menuListLimit, 1048 / 19 - 4);
    EXPECT_EQ(Settings.ShadowsValue, 64);
    EXPECT_EQ(Settings.NewCursors, 0);
    EXPECT_EQ(Settings.BorderSize, 8);
    EXPECT_EQ(Settings.ShadowSize, 4);
    EXPECT_EQ(Settings.CoolMenu, 0);
    EXPECT_FALSE(view3D);
    EXPECT_STREQ(helpFile, "ENGLISH.HLP");
    EXPECT_STREQ(LanguageTexts.MesNoLayout, "no layout");
}

TEST_F(SettingsFile, FirstRunWritesExactDefaultFile) {
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(saved(), DEFAULT_FILE_2D);
    EXPECT_EQ(Settings.WindowXSize, 800);
    EXPECT_EQ(Settings.WindowYSize, 600);
}

TEST_F(SettingsFile, WrittenFileReadsBackToSameValues) {
    ASSERT_TRUE(loadSettings());
    Settings.BackgroundColor = colour(1, 2, 3);
    Settings.SidesColor = colour(255, 0, 128);
    Settings.EasyMode = 0;
    Settings.AutoPlaySleep = 1200;
    Settings.RemoveTileTime = -300;
    Settings.ShowChrono = 0;
    Settings.Shadows = 1;
    Settings.StretchTiles = 0;
    Settings.SelectMode = SELECT_INVERT;
    Settings.lay = 1;
    Settings.Background[0] = 0;
    Settings.Sound2[0] = 0;
    Settings.Music[0] = 0;
    Settings.SoundEffects = 0;
    Settings.ShadowsValue = 200;
    Settings.NewCursors = 1;
    Settings.BorderSize = -3;
    Settings.ShadowSize = 10;
    Settings.CoolMenu = 1;
    const SettingsRecord before = Settings;
    const std::string file = saved();
    EXPECT_NE(file.find("\r\nSelectMode      = INVERT"), std::string::npos);
    EXPECT_NE(file.find("\r\nBackground      = none"), std::string::npos);
    EXPECT_NE(file.find("\r\nSound2          = none"), std::string::npos);
    EXPECT_NE(file.find("\r\nMusic           = none"), std::string::npos);
    EXPECT_NE(file.find("\r\nBorderSize      = -3"), std::string::npos);
    const std::string lastLine = "\r\n.lay            = 1";
    EXPECT_EQ(file.substr(file.size() - lastLine.size()), lastLine);

    startUpState("OTHER.TXT");
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(Settings.BackgroundColor, before.BackgroundColor);
    EXPECT_EQ(Settings.SidesColor, before.SidesColor);
    EXPECT_EQ(Settings.EasyMode, 0);
    EXPECT_EQ(Settings.AutoPlaySleep, 1200);
    EXPECT_EQ(Settings.RemoveTileTime, -300);
    EXPECT_EQ(Settings.ShowChrono, 0);
    EXPECT_EQ(Settings.Shadows, 1);
    EXPECT_EQ(Settings.StretchTiles, 0);
    EXPECT_EQ(Settings.SelectMode, SELECT_INVERT);
    EXPECT_EQ(Settings.lay, 1);
    EXPECT_STREQ(Settings.Language, "ENGLISH.TXT");
    EXPECT_STREQ(Settings.Background, "");
    EXPECT_STREQ(Settings.Sound1, "SELECT.WAV");
    EXPECT_STREQ(Settings.Sound2, "");
    EXPECT_STREQ(Settings.Music, "");
    EXPECT_EQ(Settings.SoundEffects, 0);
    EXPECT_EQ(Settings.WindowXPos, 10);
    EXPECT_EQ(Settings.WindowYPos, 20);
    EXPECT_EQ(Settings.WindowXSize, 800);
    EXPECT_EQ(Settings.WindowYSize, 600);
    EXPECT_EQ(Settings.ShadowsValue, 200);
    EXPECT_EQ(Settings.NewCursors, 1);
    EXPECT_EQ(Settings.BorderSize, -3);
    EXPECT_EQ(Settings.ShadowSize, 10);
    EXPECT_EQ(Settings.CoolMenu, 1);
    // And the second file is the same as the first.
    EXPECT_EQ(saved(), file);
}

TEST_F(SettingsFile, ColourNumbersAreTakenModulo256) {
    ASSERT_TRUE(loadWith("BackgroundColor = 300 -1 255\r\nSidesColor = 1234567890123 7 x\r\n"));
    EXPECT_EQ(Settings.BackgroundColor, colour(44, 255, 255));
    // Each number holds at most 9 characters: 123456789 % 256 = 21; "x" is 0.
    EXPECT_EQ(Settings.SidesColor, colour(21, 7, 0));
    EXPECT_NE(saved().find("\r\nBackgroundColor = 44 255 255\r\n"), std::string::npos);
}

TEST_F(SettingsFile, ColourLineNeedsFiveWords) {
    ASSERT_TRUE(loadWith("BackgroundColor = 1 2\r\nSidesColor 1 2 3\r\n"));
    EXPECT_EQ(Settings.BackgroundColor, colour(0, 160, 0));
    EXPECT_EQ(Settings.SidesColor, colour(184, 120, 24));
}

TEST_F(SettingsFile, NumbersAreCutToTheirFieldWidth) {
    ASSERT_TRUE(loadWith("EasyMode = 257\r\nBorderSize = 70000\r\nAutoPlaySleep = -25\r\n"
                         "ShadowsValue = 511\r\nShadowSize = -70000\r\nRemoveTileTime = 12abc\r\n"
                         "WindowXPos = 99999999999\r\n"));
    EXPECT_EQ(Settings.EasyMode, 1);
    EXPECT_EQ(Settings.BorderSize, 4464);
    EXPECT_EQ(Settings.AutoPlaySleep, -25);
    EXPECT_EQ(Settings.ShadowsValue, 255);
    EXPECT_EQ(Settings.ShadowSize, static_cast<int16_t>(-70000));
    EXPECT_EQ(Settings.RemoveTileTime, 12);
    EXPECT_EQ(Settings.WindowXPos, static_cast<int32_t>(99999999999LL & 0xFFFFFFFF));
}

TEST_F(SettingsFile, FlagOfTwoStaysTwo) {
    ASSERT_TRUE(loadWith("Shadows = 2\r\n.lay = 2\r\n"));
    EXPECT_EQ(Settings.Shadows, 2);
    EXPECT_EQ(Settings.lay, 2);
    const std::string file = saved();
    EXPECT_NE(file.find("\r\nShadows         = 2"), std::string::npos);
    EXPECT_EQ(file.find(".lay"), std::string::npos);  // written only when exactly 1
}

TEST_F(SettingsFile, SelectModeWords) {
    ASSERT_TRUE(loadWith("SelectMode = INVERT\r\n"));
    EXPECT_EQ(Settings.SelectMode, SELECT_INVERT);
    startUpState();
    ASSERT_TRUE(loadWith("SelectMode = INVERT\r\nSelectMode = darker\r\nSelectMode = LIGHTER\r\n"));
    EXPECT_EQ(Settings.SelectMode, SELECT_INVERT);
    startUpState();
    ASSERT_TRUE(loadWith("SelectMode = INVERT\r\nSelectMode = DARKER\r\n"));
    EXPECT_EQ(Settings.SelectMode, SELECT_DARKER);
}

TEST_F(SettingsFile, KeysNeedExactCaseAndBlanks) {
    ASSERT_TRUE(loadWith("easymode = 0\r\nEasyMode=0\r\nShowChrono =0\r\nShadows: 1\r\n  StretchTiles is 0\r\n"
                         "CoolMenu\r\nNewCursors = x\r\n"));
    EXPECT_EQ(Settings.EasyMode, 1);
    EXPECT_EQ(Settings.ShowChrono, 1);
    EXPECT_EQ(Settings.Shadows, 0);
    EXPECT_EQ(Settings.StretchTiles, 0);  // any second word, leading blanks
    EXPECT_EQ(Settings.CoolMenu, 0);
    EXPECT_EQ(Settings.NewCursors, 0);
}

TEST_F(SettingsFile, CommentsShortLinesAndRepeatedKeys) {
    ASSERT_TRUE(loadWith(";EasyMode = 0\nAutoPlaySleep = 100\nAutoPlaySleep = 900\n\n\r\nx\n"
                         " ;Shadows = 1\r\nShadows = 1"));
    EXPECT_EQ(Settings.EasyMode, 1);
    EXPECT_EQ(Settings.AutoPlaySleep, 900);
    EXPECT_EQ(Settings.Shadows, 1);  // last line without line break still counts
}

TEST_F(SettingsFile, LongLineRestIsReadAsFurtherLine) {
    // 254 characters of comment, then the rest of the same line.
    std::string line = ";" + std::string(253, 'x') + "EasyMode = 0\r\n";
    ASSERT_TRUE(loadWith(line));
    EXPECT_EQ(Settings.EasyMode, 0);
    startUpState();
    line = ";" + std::string(252, 'x') + "EasyMode = 0\r\n";
    ASSERT_TRUE(loadWith(line));
    EXPECT_EQ(Settings.EasyMode, 1);
}

TEST_F(SettingsFile, NamesAreUpperCaseAndQuoted) {
    start.write("LAYOUTS/my.myl", "0 0 0\r\n");
    start.write("TILESETS/OTHER.BMP", "BM");
    startUpState("OTHER.TXT");
    ASSERT_TRUE(loadWith("Layout = \"my.myl\"\r\nTileSet = OTHER.BMP\r\nLanguage = \"english.txt\"\r\n"
                         "Sound1 = \"remove.wav\" trailing \"words\"\r\nSound3 = \"select.wav\r\n"));
    EXPECT_STREQ(Settings.Layout, "MY.MYL");
    EXPECT_STREQ(Settings.TileSet, "STANDARD.BMP");  // no quotes: the line is skipped
    EXPECT_STREQ(Settings.Language, "ENGLISH.TXT");
    EXPECT_STREQ(Settings.Sound1, "REMOVE.WAV");
    EXPECT_STREQ(Settings.Sound3, "BESIDE.WAV");  // one quote: skipped
    EXPECT_NE(saved().find("\r\nLayout          = \"MY.MYL\"\r\n"), std::string::npos);
}

TEST_F(SettingsFile, NoneAndNoneFileName) {
    start.write("BACKGRND/NONE.BMP", "BM");
    ASSERT_TRUE(loadWith("Background = none\r\nSound3 = none\r\nMusic = NONE\r\n"));
    EXPECT_STREQ(Settings.Background, "");
    EXPECT_STREQ(Settings.Sound3, "");
    EXPECT_STREQ(Settings.Music, "MOZK478.MID");  // "NONE" is not the word none, and has no quotes
    startUpState();
    ASSERT_TRUE(loadWith("Background = \"none.bmp\"\r\n"));
    EXPECT_STREQ(Settings.Background, "NONE.BMP");
}

TEST_F(SettingsFile, MissingFilesAreReplaced) {
    start.write("LAYOUTS/ZEBRA.MYL", "0 0 0\r\n");
    start.write("LAYOUTS/apple.myl", "0 0 0\r\n");
    start.write("TILESETS/OTHER.BMP", "BM");
    start.write("SOUNDS/EXTRA.WAV", "RIFF");
    start.remove("SOUNDS/REMOVE.WAV");
    ASSERT_TRUE(loadWith("Layout = \"GONE.MYL\"\r\nTileSet = \"GONE.BMP\"\r\nSound2 = \"GONE.WAV\"\r\n"
                         "Music = \"GONE.MID\"\r\nBackground = \"\"\r\n"));
    EXPECT_STREQ(Settings.Layout, "DEFAULT.MYL");
    EXPECT_STREQ(Settings.TileSet, "STANDARD.BMP");
    EXPECT_STREQ(Settings.Sound2, "BESIDE.WAV");  // no REMOVE.WAV: the first file in name order
    EXPECT_STREQ(Settings.Music, "MOZK478.MID");
    EXPECT_STREQ(Settings.Background, "");  // an empty quoted name: no background

    startUpState();
    start.remove("LAYOUTS/DEFAULT.MYL");
    ASSERT_TRUE(loadWith("Layout = \"GONE.MYL\"\r\n"));
    EXPECT_STREQ(Settings.Layout, "APPLE.MYL");
    EXPECT_TRUE(fake::messages.empty());
}

// The game opens data files only inside its data directories.
TEST_F(SettingsFile, NamesWithPathsAreTreatedAsMissing) {
    start.write("LANGUAGE/GERMAN.TXT", "x");
    start.write("LAYOUTS/ZEBRA.MYL", "0 0 0\r\n");
    start.write("SOUNDS/OTHER.MID", "MThd");
    ASSERT_TRUE(loadWith("Language = \"../LANGUAGE/GERMAN.TXT\"\r\nLayout = \"../LAYOUTS/ZEBRA.MYL\"\r\n"
                         "TileSet = \"../BACKGRND/SUNSET.BMP\"\r\nBackground = \"..\\TILESETS\\STANDARD.BMP\"\r\n"
                         "Sound1 = \"../SOUNDS/REMOVE.WAV\"\r\nSound2 = \"" + start.file("SOUNDS/SELECT.WAV") +
                         "\"\r\nSound3 = \"..BESIDE.WAV\"\r\nMusic = \"./../SOUNDS/OTHER.MID\"\r\n"));
    EXPECT_STREQ(Settings.Language, "ENGLISH.TXT");
    EXPECT_STREQ(Settings.Layout, "DEFAULT.MYL");
    EXPECT_STREQ(Settings.TileSet, "STANDARD.BMP");
    EXPECT_STREQ(Settings.Background, "SUNSET.BMP");
    EXPECT_STREQ(Settings.Sound1, "SELECT.WAV");
    EXPECT_STREQ(Settings.Sound2, "REMOVE.WAV");
    EXPECT_STREQ(Settings.Sound3, "BESIDE.WAV");
    EXPECT_STREQ(Settings.Music, "MOZK478.MID");
    EXPECT_TRUE(fake::messages.empty());
}

TEST_F(SettingsFile, NoLayoutOrTileSetEndsTheProgram) {
    start.remove("LAYOUTS/DEFAULT.MYL");
    EXPECT_FALSE(loadWith("Layout = \"GONE.MYL\"\r\n"));
    EXPECT_STREQ(Settings.Layout, "");
    ASSERT_EQ(fake::messages.size(), 1u);
    EXPECT_EQ(fake::messages[0].text, "no layout");
    EXPECT_EQ(fake::messages[0].kind, PLATFORM_MB_ERROR);

    startUpState();
    start.write("LAYOUTS/DEFAULT.MYL", "0 0 0\r\n");
    start.remove("TILESETS/STANDARD.BMP");
    EXPECT_FALSE(loadSettings());
    ASSERT_EQ(fake::messages.size(), 1u);
    EXPECT_EQ(fake::messages[0].text, "no tile set");
}

TEST_F(SettingsFile, RandomLayoutNeedsNoFile) {
    start.remove("LAYOUTS/DEFAULT.MYL");
    ASSERT_TRUE(loadWith("Layout = \"random.myl\"\r\n"));
    EXPECT_STREQ(Settings.Layout, "RANDOM.MYL");
}

TEST_F(SettingsFile, LanguageResolution) {
    start.write("LANGUAGE/AAA.TXT", "x");
    ASSERT_TRUE(loadWith("Language = \"GONE.TXT\"\r\n"));
    EXPECT_STREQ(Settings.Language, "ENGLISH.TXT");

    startUpState();
    start.remove("LANGUAGE/ENGLISH.TXT");
    ASSERT_TRUE(loadWith("Language = \"GONE.TXT\"\r\n"));
    EXPECT_STREQ(Settings.Language, "AAA.TXT");
}

TEST_F(SettingsFile, NoLanguageFileEndsTheProgram) {
    start.remove("LANGUAGE/ENGLISH.TXT");
    EXPECT_FALSE(loadSettings());  // first run: Language as the start-up set it
    ASSERT_EQ(fake::messages.size(), 1u);
    EXPECT_EQ(fake::messages[0].text,
              "No language file found ! The game will stop. Please reinstall Velmora's mah-jong");
    EXPECT_EQ(fake::messages[0].kind, PLATFORM_MB_ERROR);
    EXPECT_STREQ(Settings.Language, "ENGLISH.TXT");
}

TEST_F(SettingsFile, MaximisedWindowIsNotRemembered) {
    ASSERT_TRUE(loadSettings());
    fake::windowLeft = -4;
    fake::windowTop = -4;
    fake::windowRight = 1924;
    fake::windowBottom = 1052;
    std::string file = saved();
    EXPECT_EQ(file.find("Window"), std::string::npos);
    EXPECT_EQ(Settings.WindowXPos, -4);
    startUpState();
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(Settings.WindowXPos, 0);
    EXPECT_EQ(Settings.WindowYPos, 0);
    EXPECT_EQ(Settings.WindowXSize, 1920);
    EXPECT_EQ(Settings.WindowYSize, 1048);

    // A window as large as the maximised one but on screen is remembered.
    fake::windowLeft = 0;
    fake::windowTop = 0;
    fake::windowRight = 1928;
    fake::windowBottom = 1056;
    EXPECT_NE(saved().find("\r\nWindowXSize     = 1928\r\n"), std::string::npos);
    fake::windowRight = 1929;
    EXPECT_EQ(saved().find("Window"), std::string::npos);
}

TEST_F(SettingsFile, FileInOtherCaseIsReadAndReplaced) {
    start.write("mah-jong.ini", "EasyMode = 0\r\n");
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(Settings.EasyMode, 0);
    saveSettings(nullptr);
    EXPECT_FALSE(start.exists("MAH-JONG.INI"));
    EXPECT_EQ(start.read("mah-jong.ini").substr(0, 9), "; Velmora");
}

TEST_F(SettingsFile, WriteFailureIsReported) {
    ASSERT_TRUE(loadSettings());
    start.makeDirectory("MAH-JONG.INI");
    saveSettings(nullptr);
    ASSERT_EQ(fake::messages.size(), 1u);
    EXPECT_EQ(fake::messages[0].text, "MAH-JONG.INI : cannot be written");
    EXPECT_EQ(fake::messages[0].kind, PLATFORM_MB_EXCLAMATION);
}

TEST_F(SettingsFile, DivisorsNeverBelowOne) {
    ASSERT_TRUE(loadWith("BorderSize = 0\r\nShadowSize = -7\r\n"));
    EXPECT_EQ(Settings.BorderSize, 0);
    EXPECT_EQ(Settings.ShadowSize, -7);
    EXPECT_EQ(borderDivisor(), 1);
    EXPECT_EQ(shadowDivisor(), 1);
    Settings.BorderSize = 8;
    Settings.ShadowSize = 4;
    EXPECT_EQ(borderDivisor(), 8);
    EXPECT_EQ(shadowDivisor(), 4);
}

TEST_F(SettingsFile, ThreeDimensionalKeysAreIgnored) {
    ASSERT_TRUE(loadWith("Textures = 0\r\nZView = 12.5\r\nSelectColor = 1 2 3\r\n"));
    EXPECT_EQ(Settings.Textures, 1);
    EXPECT_EQ(Settings.ZView, 325.0f);
    EXPECT_EQ(Settings.SelectColor, colour(255, 255, 0));
    EXPECT_EQ(saved().find("3D"), std::string::npos);
}

TEST_F(SettingsFile, SavingDropsTheBlockOfTheThreeDimensionalProgram) {
    const std::string withBlock = std::string(DEFAULT_FILE_2D) +
                                  "\r\n\r\n; 3D values"
                                  "\r\nTextures         = 0"
                                  "\r\nSelectColor      = 1 2 3"
                                  "\r\nZView            = 99.000000"
                                  "\r\nStepRotation     = 5.000000";
    ASSERT_TRUE(loadWith(withBlock));
    EXPECT_EQ(saved(), DEFAULT_FILE_2D);
}

TEST_F(SettingsFile, HostileFilesDoNotBreakTheReader) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(1 + random() % 3000, 0);
        for (char& c : bytes) c = static_cast<char>(random());
        startUpState();
        loadWith(bytes);
    }
    // Keys with every kind of value and nothing else on the line, NULs, a huge line.
    startUpState();
    std::string odd = "Layout = \"\r\nLanguage\r\nBackgroundColor\r\nEasyMode =\r\nSelectMode\r\n";
    odd += std::string("Music = \"a\0b\"\r\n", 15);
    odd += "Background " + std::string(100000, '"') + "\r\n";
    odd += "TileSet = \"" + std::string(5000, 'A') + "\"\r\n";
    loadWith(odd);
    EXPECT_STREQ(Settings.TileSet, "STANDARD.BMP");
    // A file that is only a line break, or empty.
    startUpState();
    EXPECT_TRUE(loadWith("\r\n"));
    startUpState();
    EXPECT_TRUE(loadWith(""));
    EXPECT_EQ(Settings.EasyMode, 1);
}

TEST(SettingsText, CopyAndUpperCase) {
    char buffer[6];
    copyText(buffer, "abcdefgh", sizeof buffer);
    EXPECT_STREQ(buffer, "abcde");
    copyText(buffer, "", sizeof buffer);
    EXPECT_STREQ(buffer, "");
    char text[] = "my.myl-\xe9z";
    upperCase(text);
    EXPECT_STREQ(text, "MY.MYL-\xe9Z");
}
