// Language files as mahjong-2d reads them, and the choice of the help file.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>

#include "settings/language.h"
#include "settings/settings.h"
#include "tests/core/temp_dir.h"
#include "tests/support/internals.h"
#include "tests/support/null_host.h"

namespace {

class LanguageFile : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        memset(&LanguageTexts, 0, sizeof LanguageTexts);
        helpFile[0] = 0;
    }
    bool loadAs(const char* name, const std::string& content) {
        start.write(std::string("LANGUAGE/") + name, content);
        copyText(Settings.Language, name, FILE_NAME_SIZE);
        return loadLanguage();
    }
    TempStartDirectory start;
};

}  // namespace

TEST_F(LanguageFile, ValuesAreTakenVerbatimBetweenTheFirstTwoQuotes) {
    ASSERT_TRUE(loadAs("ENGLISH.TXT",
                       "; comment line\r\n"
                       "GAME \"  Game ; with\ttab  \"\r\n"
                       "   HINT = \"Hint\" ignored \"after\"\r\n"
                       "\tUNDO\"Undo\"\n"
                       "NEW_GAME \"\"\r\n"
                       "MesUndo before \"Nothing to undo\"\r\n"
                       ";EXIT \"commented\"\r\n"
                       "SAVE_GAME \"no closing quote\r\n"
                       "LOAD_GAME no quotes at all\r\n"
                       "game \"wrong case\"\r\n"
                       "UNKNOWN_KEY \"x\"\r\n"
                       "OK \"first\"\r\nOK \"second\"\r\n"
                       "Tiles \"tiles\""));
    EXPECT_STREQ(LanguageTexts.GAME, "  Game ; with\ttab  ");
    EXPECT_STREQ(LanguageTexts.HINT, "Hint\tF6");
    EXPECT_STREQ(LanguageTexts.UNDO, "");  // the key word is UNDO"Undo", which is no key
    EXPECT_STREQ(LanguageTexts.NEW_GAME, "\tF2");
    EXPECT_STREQ(LanguageTexts.MesUndo, "Nothing to undo");
    EXPECT_STREQ(LanguageTexts.EXIT, "");
    EXPECT_STREQ(LanguageTexts.SAVE_GAME, "");
    EXPECT_STREQ(LanguageTexts.LOAD_GAME, "");
    EXPECT_STREQ(LanguageTexts.OK, "second");
    EXPECT_STREQ(LanguageTexts.Tiles, "tiles");
    EXPECT_EQ(fake::statusCount, 1);
}

TEST_F(LanguageFile, MnemonicMarksAreKeptAsWritten) {
    // "&" marks the underlined letter and "&&" an ampersand; the menus read them.
    ASSERT_TRUE(loadAs("ENGLISH.TXT", "GAME \"&Game\"\r\nNEW_GAME \"&New game\"\r\n"
                                      "HELP_ABOUT \"Fish && &Chips\"\r\nUNDO \"Undo\"\r\n"));
    EXPECT_STREQ(LanguageTexts.GAME, "&Game");
    EXPECT_STREQ(LanguageTexts.NEW_GAME, "&New game\tF2");
    EXPECT_STREQ(LanguageTexts.HELP_ABOUT, "Fish && &Chips");
    EXPECT_STREQ(LanguageTexts.UNDO, "Undo\tF7");  // a text without a mark stays as it is
}

TEST_F(LanguageFile, SuffixesOfTheMenuTexts) {
    ASSERT_TRUE(loadAs("ENGLISH.TXT",
                       "NEW_GAME \"N\"\nRESTART_GAME \"R\"\nPAUSE_CHRONO \"P\"\nHINT \"H\"\nUNDO \"U\"\n"
                       "EXIT \"E\"\nSHOW_CHRONO \"S\"\nSHADOWS \"W\"\nLOAD_LAYOUT \"L\"\nHALL_OF_FAME \"F\"\n"
                       "HELP_FILE \"?\"\nGAME \"G\"\nT_HINT \"tip\"\n"));
    EXPECT_STREQ(LanguageTexts.NEW_GAME, "N\tF2");
    EXPECT_STREQ(LanguageTexts.RESTART_GAME, "R\tF3");
    EXPECT_STREQ(LanguageTexts.PAUSE_CHRONO, "P\tF5");
    EXPECT_STREQ(LanguageTexts.HINT, "H\tF6");
    EXPECT_STREQ(LanguageTexts.UNDO, "U\tF7");
    EXPECT_STREQ(LanguageTexts.EXIT, "E\tF12");
    EXPECT_STREQ(LanguageTexts.SHOW_CHRONO, "S\tF11");
    EXPECT_STREQ(LanguageTexts.SHADOWS, "W\tF9");
    EXPECT_STREQ(LanguageTexts.LOAD_LAYOUT, "L\tF4");
    EXPECT_STREQ(LanguageTexts.HALL_OF_FAME, "F\tF8");
    EXPECT_STREQ(LanguageTexts.HELP_FILE, "?\tF1");
    EXPECT_STREQ(LanguageTexts.GAME, "G");
    EXPECT_STREQ(LanguageTexts.T_HINT, "tip");
}

TEST_F(LanguageFile, SwitchingKeepsTextsTheNewFileLacks) {
    ASSERT_TRUE(loadAs("ENGLISH.TXT", "HINT \"Hint\"\r\nUNDO \"Undo\"\r\n"));
    ASSERT_TRUE(loadAs("GERMAN.TXT", "UNDO \"Zurück\"\r\n"));
    EXPECT_STREQ(LanguageTexts.HINT, "Hint\tF6");
    EXPECT_STREQ(LanguageTexts.UNDO, "Zurück\tF7");
    // A language file that cannot be read changes nothing but still refreshes.
    copyText(Settings.Language, "MISSING.TXT", FILE_NAME_SIZE);
    EXPECT_FALSE(loadLanguage());
    EXPECT_STREQ(LanguageTexts.UNDO, "Zurück\tF7");
    EXPECT_EQ(fake::statusCount, 3);
}

TEST_F(LanguageFile, FileNameInAnyCase) {
    start.write("LANGUAGE/german.txt", "OK \"Gut\"\r\n");
    copyText(Settings.Language, "GERMAN.TXT", FILE_NAME_SIZE);
    EXPECT_TRUE(loadLanguage());
    EXPECT_STREQ(LanguageTexts.OK, "Gut");
}

TEST_F(LanguageFile, HelpFileChoice) {
    start.write("LANGUAGE/GERMAN.HLP", "h");
    start.write("LANGUAGE/ENGLISH.HLP", "h");
    start.write("LANGUAGE/AAA.HLP", "h");
    ASSERT_TRUE(loadAs("GERMAN.TXT", "OK \"Gut\"\r\n"));
    EXPECT_STREQ(helpFile, "GERMAN.HLP");
    ASSERT_TRUE(loadAs("FRENCH.TXT", "OK \"Bien\"\r\n"));
    EXPECT_STREQ(helpFile, "ENGLISH.HLP");
    start.remove("LANGUAGE/ENGLISH.HLP");
    ASSERT_TRUE(loadAs("FRENCH.TXT", "OK \"Bien\"\r\n"));
    EXPECT_STREQ(helpFile, "AAA.HLP");
    start.remove("LANGUAGE/AAA.HLP");
    start.remove("LANGUAGE/GERMAN.HLP");
    ASSERT_TRUE(loadAs("FRENCH.TXT", "OK \"Bien\"\r\n"));
    EXPECT_STREQ(helpFile, "");
}

TEST_F(LanguageFile, ThreeDimensionalKeysAreSkipped) {
    ASSERT_TRUE(loadAs("ENGLISH.TXT", "GO2D \"2D\"\r\nGO3D \"3D\"\r\nUSE_TEXTURES \"T\"\r\nSTEP3D \"S\"\r\n"
                                      "COLORS3DTILE4 \"tile 4\"\r\nCOLORSBACK \"Back\"\r\n"));
    EXPECT_STREQ(LanguageTexts.GO2D, "");
    EXPECT_STREQ(LanguageTexts.GO3D, "");
    EXPECT_STREQ(LanguageTexts.USE_TEXTURES, "");
    EXPECT_STREQ(LanguageTexts.STEP3D, "");
    EXPECT_STREQ(LanguageTexts.COLORS3DTILE4, "");
    EXPECT_STREQ(LanguageTexts.COLORSBACK, "Back");
}

TEST_F(LanguageFile, LongValuesAreCutToTheirSlots) {
    std::string longMenu(200, 'm');
    std::string longMessage(1010, 'x');
    ASSERT_TRUE(loadAs("ENGLISH.TXT", "NEW_GAME \"" + longMenu + "\"\r\nGAME \"" + longMenu + "\"\r\nMesUndo \"" +
                                          longMessage + "\"\r\n"));
    EXPECT_EQ(strlen(LanguageTexts.GAME), 127u);
    EXPECT_EQ(strlen(LanguageTexts.NEW_GAME), 127u);
    EXPECT_EQ(std::string(LanguageTexts.NEW_GAME).substr(124), "\tF2");  // the function key stays visible
    EXPECT_EQ(std::string(LanguageTexts.MesUndo), longMessage);
}

TEST_F(LanguageFile, LinesLongerThanTheLimitAreReadInPieces) {
    // The first 1023 characters hold no second quote; the rest is a line of its own.
    std::string line = "MesUndo \"" + std::string(1023 - 9, 'a') + "OK \"rest\"\r\n";
    ASSERT_TRUE(loadAs("ENGLISH.TXT", line));
    EXPECT_STREQ(LanguageTexts.MesUndo, "");
    EXPECT_STREQ(LanguageTexts.OK, "rest");
}

TEST_F(LanguageFile, HostileFilesDoNotBreakTheReader) {
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(1 + random() % 5000, 0);
        for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? '"' : random());
        EXPECT_TRUE(loadAs("ENGLISH.TXT", bytes));
    }
    std::string odd = std::string("OK \"a\0b\"\r\nMesUndo\r\n\"\"\r\n", 22) + std::string(50000, '"') + "HINT";
    memset(&LanguageTexts, 0, sizeof LanguageTexts);
    ASSERT_TRUE(loadAs("ENGLISH.TXT", odd));
    EXPECT_STREQ(LanguageTexts.OK, "");  // the value would run past the end of the text
    EXPECT_STREQ(LanguageTexts.HINT, "");
    ASSERT_TRUE(loadAs("ENGLISH.TXT", ""));
    for (int i = 0; i < languageKeyCount(); ++i) {
        const char* text = languageText(languageKeyName(i));
        ASSERT_NE(text, nullptr);
        EXPECT_LT(strlen(text), static_cast<size_t>(LONG_TEXT_SIZE));
    }
}

TEST(LanguageKeys, ListingCoversEverySlotOnce) {
    std::set<std::string> names;
    for (int i = 0; i < languageKeyCount(); ++i) names.insert(languageKeyName(i));
    EXPECT_EQ(static_cast<int>(names.size()), languageKeyCount());
    EXPECT_EQ(languageKeyCount(), 40 + 10 + 56);
    EXPECT_EQ(languageKeyName(-1), nullptr);
    EXPECT_EQ(languageKeyName(languageKeyCount()), nullptr);
    EXPECT_EQ(languageText("HINT"), LanguageTexts.HINT);
    EXPECT_EQ(languageText("STEP3D"), LanguageTexts.STEP3D);
    EXPECT_EQ(languageText("Hint"), nullptr);
    EXPECT_TRUE(languageKeyIs3DOnly("GO2D"));
    EXPECT_TRUE(languageKeyIs3DOnly("COLORS3DLEVEL3"));
    EXPECT_FALSE(languageKeyIs3DOnly("COLORSBACK"));
    for (const char* key : {"MesUndo", "FilterSaveGame", "T_EXIT", "HELP_ABOUT", "SHADOWSIZE"}) {
        EXPECT_EQ(names.count(key), 1u) << key;
    }
}

TEST(LanguageText, SetTextAndReplaceExtension) {
    char slot[8];
    setText(slot, sizeof slot, "abc", "\tF2");
    EXPECT_STREQ(slot, "abc\tF2");
    setText(slot, sizeof slot, "abcdefgh", "");
    EXPECT_STREQ(slot, "abcdefg");
    setText(slot, sizeof slot, "abcdefgh", "\tF12");
    EXPECT_STREQ(slot, "abc\tF12");
    char name[32];
    replaceExtension(name, sizeof name, "GERMAN.TXT", ".HLP");
    EXPECT_STREQ(name, "GERMAN.HLP");
    replaceExtension(name, sizeof name, "NO_POINT", ".HLP");
    EXPECT_STREQ(name, "NO_POINT.HLP");
    replaceExtension(name, sizeof name, "A.B.TXT", ".HLP");
    EXPECT_STREQ(name, "A.B.HLP");
    replaceExtension(name, 6, "LONGNAME.TXT", ".HLP");
    EXPECT_STREQ(name, "LONGN");
}
