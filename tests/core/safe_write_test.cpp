// Every file the game writes is replaced safely: when the disk fails after the
// first bytes, the player's previous file stays byte for byte and the write
// error is shown.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gamefiles/savegame.h"
#include "tests/core/file_faults.h"
#include "tests/core/settings_fixture.h"
#include "tests/core/test_support.h"

TEST(SafeReplacement, AFailingDiskLeavesEveryWrittenFileAsItWas) {
    TempStartDirectory start;
    writeDefaultDataFiles(start);
    startUpState();
    ASSERT_TRUE(loadSettings());
    setEngineTexts();
    setEngineSettings();
    installLayout(turtleLayout());
    const struct {
        std::string file;  // under the start directory
        std::string name;  // as the message names it
        std::function<void()> write;
    } writers[] = {
        {"MAH-JONG.INI", "MAH-JONG.INI", [] { saveSettings(nullptr); }},
        {"SCORES/TEST.MYS", "TEST.MYS", [] { saveHallOfFame(nullptr); }},
        {"LAYOUTS/TEST.MYL", "TEST.MYL", [] { saveLayout(nullptr); }},
        {"SAVEGAME/GAME.MYM", "GAME.MYM",
         [] {
             fake::chooseFileResult = true;
             fake::chooseFileName = "GAME.MYM";
             saveGame(nullptr);
         }},
    };
    for (const auto& writer : writers) {
        const size_t slash = writer.file.find('/');
        const std::string directory = slash == std::string::npos ? "." : writer.file.substr(0, slash);
        fake::reset();
        writer.write();
        ASSERT_EQ(fake::messageLog(), "") << writer.file;
        const std::string old = start.read(writer.file);
        ASSERT_GT(old.size(), 16u) << writer.file;
        const int entries = start.entryCount(directory);
        chronoSeconds += 1;  // something new to write
        hallOfFame[0].seconds += 1;
        Settings.EasyMode ^= 1;
        layoutGrid[0] ^= 1;
        {
            FileFault fault(FileFault::DiskFullAfter, 16);
            writer.write();
        }
        EXPECT_EQ(start.read(writer.file), old) << writer.file;
        EXPECT_EQ(start.entryCount(directory), entries) << writer.file;
        EXPECT_EQ(fake::messageLog(), writer.name + " : MesWriteError\n");
        fake::reset();
        writer.write();
        EXPECT_EQ(fake::messageLog(), "") << writer.file;
        EXPECT_NE(start.read(writer.file), old) << writer.file;
    }
}
