// The delivered language files hold the texts that only mahjong reads too.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/language.h"
#include "settings/settings.h"
#include "settings/directories.h"
#include "tests/support/internals.h"

TEST(DeliveredLanguages, DefineTheKeysOfTheThreeDimensionalView) {
    const std::string data = std::string(MJ_SOURCE_DIR) + "/data";
    snprintf(startDirectory, sizeof startDirectory, "%s", data.c_str());
    snprintf(languageDirectory, sizeof languageDirectory, "%s/LANGUAGE/", data.c_str());
    for (const char* name : {"ENGLISH.TXT", "FRENCH.TXT", "GERMAN.TXT"}) {
        SCOPED_TRACE(name);
        memset(&LanguageTexts, 0, sizeof LanguageTexts);
        copyText(Settings.Language, name, FILE_NAME_SIZE);
        ASSERT_TRUE(loadLanguage());
        for (int k = 0; k < languageKeyCount(); ++k) {
            const char* key = languageKeyName(k);
            EXPECT_GT(strlen(languageText(key)), 0u) << key;
        }
    }
}
