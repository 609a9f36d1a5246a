// The settings file and language keys as mahjong (with the 3D view) reads and writes them.
#include <gtest/gtest.h>

#include <string>

#include "settings/language.h"
#include "settings/settings.h"
#include "tests/core/settings_fixture.h"
#include "tests/core/temp_dir.h"
#include "tests/support/null_host.h"

namespace {

constexpr Colour colour(int red, int green, int blue) {
    return static_cast<Colour>(red + 256 * green + 65536 * blue);
}

const char* const THREE_D_BLOCK =
    "\r\n\r\n; 3D values"
    "\r\nTextures         = 1"
    "\r\nSelectColor      = 255 255 0"
    "\r\nRGBVal[0]Color   = 0 137 219"
    "\r\nRGBVal[1]Color   = 0 164 102"
    "\r\nRGBVal[2]Color   = 150 52 22"
    "\r\nRGBVal[3]Color   = 255 52 38"
    "\r\nRGBLevel[0]Color = 255 255 255"
    "\r\nRGBLevel[1]Color = 192 192 192"
    "\r\nRGBLevel[2]Color = 255 255 255"
    "\r\nRGBLevel[3]Color = 192 192 192"
    "\r\nRGBLevel[4]Color = 255 255 255"
    "\r\nXPosition        = 0.000000"
    "\r\nYPosition        = 0.000000"
    "\r\nZPosition        = 0.000000"
    "\r\nXView            = 0.000000"
    "\r\nYView            = 0.000000"
    "\r\nZView            = 325.000000"
    "\r\nlightPosX        = 0.000000"
    "\r\nlightPosY        = 0.000000"
    "\r\nlightPosZ        = 325.000000"
    "\r\nMinZoom          = 0.000000"
    "\r\nMaxZoom          = 1000.000000"
    "\r\nInclination      = 0.000000"
    "\r\ndessinZ          = 10.100000"
    "\r\ncontourZ         = 0.100000"
    "\r\nombreZ           = 0.200000"
    "\r\nMinInclination   = -20.000000"
    "\r\nMaxInclination   = 20.000000"
    "\r\nStepInclination  = 1.000000"
    "\r\nStepRotation     = 5.000000";

class Settings3D : public ::testing::Test {
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

TEST_F(Settings3D, DefaultsAndExactFile) {
    ASSERT_TRUE(loadSettings());
    EXPECT_TRUE(view3D);
    EXPECT_EQ(Settings.Textures, 1);
    EXPECT_EQ(Settings.SelectColor, colour(255, 255, 0));
    EXPECT_EQ(Settings.RGBValColor[0], colour(0, 137, 219));
    EXPECT_EQ(Settings.RGBValColor[3], colour(255, 52, 38));
    EXPECT_EQ(Settings.RGBLevelColor[1], colour(192, 192, 192));
    EXPECT_EQ(Settings.RGBLevelColor[4], colour(255, 255, 255));
    EXPECT_EQ(Settings.ZView, 325.0f);
    EXPECT_EQ(Settings.lightPosZ, 325.0f);
    EXPECT_EQ(Settings.MaxZoom, 1000.0f);
    EXPECT_EQ(Settings.dessinZ, 10.1f);
    EXPECT_EQ(Settings.contourZ, 0.1f);
    EXPECT_EQ(Settings.ombreZ, 0.2f);
    EXPECT_EQ(Settings.MinInclination, -20.0f);
    EXPECT_EQ(Settings.MaxInclination, 20.0f);
    EXPECT_EQ(Settings.StepInclination, 1.0f);
    EXPECT_EQ(Settings.StepRotation, 5.0f);
    EXPECT_EQ(saved(), std::string(DEFAULT_FILE_2D) + THREE_D_BLOCK);
}

TEST_F(Settings3D, BlockReadsBackToSameValues) {
    ASSERT_TRUE(loadSettings());
    view3D = false;
    Settings.Textures = 0;
    Settings.SelectColor = colour(1, 2, 3);
    Settings.RGBValColor[2] = colour(9, 8, 7);
    Settings.RGBLevelColor[3] = colour(0, 0, 255);
    Settings.XPosition = -12.5f;
    Settings.ZView = 410.25f;
    Settings.lightPosY = 3.0f;
    Settings.MinZoom = 50.0f;
    Settings.Inclination = -7.0f;
    Settings.StepRotation = 2.5f;
    const SettingsRecord before = Settings;
    const std::string file = saved();
    EXPECT_NE(file.find("\r\nXPosition        = -12.500000\r\n"), std::string::npos);
    startUpState();
    ASSERT_TRUE(loadSettings());
    EXPECT_TRUE(view3D);  // every start of mahjong shows the 3D view
    EXPECT_EQ(Settings.Textures, 0);
    EXPECT_EQ(Settings.SelectColor, before.SelectColor);
    EXPECT_EQ(Settings.RGBValColor[2], before.RGBValColor[2]);
    EXPECT_EQ(Settings.RGBLevelColor[3], before.RGBLevelColor[3]);
    EXPECT_EQ(Settings.XPosition, -12.5f);
    EXPECT_EQ(Settings.ZView, 410.25f);
    EXPECT_EQ(Settings.lightPosY, 3.0f);
    EXPECT_EQ(Settings.MinZoom, 50.0f);
    EXPECT_EQ(Settings.Inclination, -7.0f);
    EXPECT_EQ(Settings.StepRotation, 2.5f);
    EXPECT_EQ(saved(), file);
}

TEST_F(Settings3D, FileWithoutBlockKeepsTheDefaults) {
    ASSERT_TRUE(loadWith(DEFAULT_FILE_2D));
    EXPECT_EQ(Settings.ZView, 325.0f);
    EXPECT_EQ(Settings.Textures, 1);
    EXPECT_EQ(saved(), std::string(DEFAULT_FILE_2D) + THREE_D_BLOCK);
}

TEST_F(Settings3D, FloatLines) {
    ASSERT_TRUE(loadWith("ZView = 1e3\r\nXView = abc\r\nYView = 12abc\r\nMinZoom = inf\r\nMaxZoom = nan\r\n"
                         "XPosition =\r\nInclination : -2.75\r\nlightPosX = 0x10\r\n"));
    EXPECT_EQ(Settings.ZView, 1000.0f);
    EXPECT_EQ(Settings.XView, 0.0f);
    EXPECT_EQ(Settings.YView, 12.0f);
    EXPECT_EQ(Settings.MinZoom, 0.0f);      // not finite: ignored
    EXPECT_EQ(Settings.MaxZoom, 1000.0f);   // not finite: ignored
    EXPECT_EQ(Settings.XPosition, 0.0f);
    EXPECT_EQ(Settings.Inclination, -2.75f);
    EXPECT_EQ(Settings.lightPosX, 16.0f);
}

TEST_F(Settings3D, ColourAndFlagLinesOfTheBlock) {
    ASSERT_TRUE(loadWith("RGBLevel[2]Color = 256 257 -2\r\nTextures = 258\r\nrgbval[0]color = 1 1 1\r\n"
                         "SelectColor = 1 2\r\n"));
    EXPECT_EQ(Settings.RGBLevelColor[2], colour(0, 1, 254));
    EXPECT_EQ(Settings.Textures, 2);
    EXPECT_EQ(Settings.RGBValColor[0], colour(0, 137, 219));
    EXPECT_EQ(Settings.SelectColor, colour(255, 255, 0));
}

TEST(Language3D, ThreeDimensionalKeysAreRead) {
    TempStartDirectory start;
    fake::reset();
    memset(&LanguageTexts, 0, sizeof LanguageTexts);
    start.write("LANGUAGE/ENGLISH.TXT", "GO2D \"2D view\"\r\nSTEP3D \"Steps\"\r\nCOLORS3DTILE4 \"Tile 4\"\r\n");
    copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
    ASSERT_TRUE(loadLanguage());
    EXPECT_STREQ(LanguageTexts.GO2D, "2D view");
    EXPECT_STREQ(LanguageTexts.STEP3D, "Steps");
    EXPECT_STREQ(LanguageTexts.COLORS3DTILE4, "Tile 4");
}
