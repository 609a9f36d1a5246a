// Files, directories, clock and threads of the platform layer.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "platform/system.h"
#include "tests/core/file_faults.h"
#include "tests/core/temp_dir.h"
#include "tests/support/internals.h"

namespace {

std::string readAll(FILE* file) {
    std::string text;
    int c;
    while ((c = fgetc(file)) != EOF) text += static_cast<char>(c);
    return text;
}

void collect(const char* name, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(name); }

std::vector<std::string> findFiles(const char* pattern) {
    std::vector<std::string> names;
    int count = platformFindFiles(pattern, collect, &names);
    EXPECT_EQ(count, static_cast<int>(names.size()));
    return names;
}

}  // namespace

TEST(PlatformFiles, OpensUpperCaseNameOfFileInAnyCase) {
    TempStartDirectory start(false);
    start.write("english.txt", "lower");
    FILE* file = platformOpenFile("ENGLISH.TXT", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readAll(file), "lower");
    fclose(file);
    EXPECT_EQ(platformOpenFile("ENGLISH.TX", "rb"), nullptr);
    EXPECT_EQ(platformOpenFile("", "rb"), nullptr);
}

TEST(PlatformFiles, ExactSpellingWinsThenFirstInOrder) {
    TempStartDirectory start(false);
    start.write("Game.MYM", "mixed");
    start.write("game.mym", "lower");
    start.write("GAME.MYM", "upper");
    FILE* file = platformOpenFile("game.mym", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readAll(file), "lower");
    fclose(file);
    // No exact spelling: the first of the candidates in byte order ("GAME" < "Game" < "game").
    file = platformOpenFile("gAmE.MyM", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readAll(file), "upper");
    fclose(file);
}

TEST(PlatformFiles, WritingReplacesFileOfOtherCaseElseCreatesExactName) {
    TempStartDirectory start(false);
    start.write("mah-jong.ini", "old");
    FILE* file = platformOpenFile("MAH-JONG.INI", "wb");
    ASSERT_NE(file, nullptr);
    fputs("new", file);
    fclose(file);
    EXPECT_EQ(start.entryCount("."), 1);
    EXPECT_EQ(start.read("mah-jong.ini"), "new");

    file = platformOpenFile("Fresh.MYM", "wb");
    ASSERT_NE(file, nullptr);
    fclose(file);
    EXPECT_TRUE(start.exists("Fresh.MYM"));
    EXPECT_EQ(start.entryCount("."), 2);
}

TEST(PlatformFiles, ReplacementWritesTheBytesAndKeepsNameAndPermissions) {
    TempStartDirectory start(false);
    start.write("mah-jong.ini", "old");
    chmod(start.file("mah-jong.ini").c_str(), 0640);
    const std::string bytes("new\0\r\n", 6);
    ASSERT_TRUE(platformReplaceFile("MAH-JONG.INI", bytes.data(), bytes.size()));
    EXPECT_EQ(start.read("mah-jong.ini"), bytes);
    EXPECT_EQ(start.entryCount("."), 1);
    struct stat info;
    ASSERT_EQ(stat(start.file("mah-jong.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    ASSERT_TRUE(platformReplaceFile("Fresh.MYM", "", 0));
    EXPECT_TRUE(start.exists("Fresh.MYM"));
    // A link is followed: the file it names gets the new content.
    ASSERT_EQ(symlink("mah-jong.ini", start.file("LINK.INI").c_str()), 0);
    ASSERT_TRUE(platformReplaceFile("LINK.INI", "linked", 6));
    EXPECT_EQ(start.read("mah-jong.ini"), "linked");
    EXPECT_TRUE(std::filesystem::is_symlink(start.file("LINK.INI")));
    start.makeDirectory("DIR.MYL");
    EXPECT_FALSE(platformReplaceFile("DIR.MYL", "x", 1));
    EXPECT_EQ(start.entryCount("."), 4);
}

TEST(PlatformFiles, FailedReplacementLeavesTheOldFileAndNoTemporary) {
    TempStartDirectory start(false);
    start.write("GAME.MYM", "the old game");
    const std::string bytes(5000, 'n');
    for (FileFault::Kind kind : {FileFault::DiskFullAfter, FileFault::SyncFails, FileFault::RenameFails}) {
        FileFault fault(kind, 7);
        EXPECT_FALSE(platformReplaceFile("GAME.MYM", bytes.data(), bytes.size())) << kind;
        EXPECT_EQ(start.read("GAME.MYM"), "the old game") << kind;
        EXPECT_EQ(start.entryCount("."), 1) << kind;
    }
    {
        FileFault fault(FileFault::DiskFullAfter, 7);
        EXPECT_FALSE(platformReplaceFile("NEW.MYM", bytes.data(), bytes.size()));
    }
    EXPECT_EQ(start.entryCount("."), 1);
    EXPECT_TRUE(platformReplaceFile("GAME.MYM", bytes.data(), bytes.size()));
    EXPECT_EQ(start.read("GAME.MYM"), bytes);
}

TEST(PlatformFiles, TextIsAssembledInAFixedBuffer) {
    char buffer[8];
    PlatformText text;
    platformStartText(&text, buffer, sizeof buffer);
    platformPrintText(&text, "%d %s", 12, "ab");
    EXPECT_STREQ(buffer, "12 ab");
    platformPrintText(&text, "%s", "cde");  // one byte too many
    EXPECT_TRUE(text.overflow);
    EXPECT_EQ(text.length, 5u);
    EXPECT_STREQ(buffer, "12 ab");
}

TEST(PlatformFiles, DirectoriesAreNeverOpenedAsFiles) {
    TempStartDirectory start(false);
    start.makeDirectory("LAYOUT.MYL");
    EXPECT_EQ(platformOpenFile("layout.myl", "rb"), nullptr);
    EXPECT_EQ(platformOpenFile("LAYOUT.MYL", "rb"), nullptr);
    EXPECT_EQ(platformOpenFile("LAYOUT.MYL", "wb"), nullptr);
}

TEST(PlatformFiles, PathsResolveEveryComponentWithoutCase) {
    TempStartDirectory start(false);
    start.makeDirectory("language");
    start.write("language/German.txt", "de");
    FILE* file = platformOpenFile((start.path() + "/LANGUAGE/GERMAN.TXT").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readAll(file), "de");
    fclose(file);

    char resolved[4096];
    EXPECT_TRUE(platformResolvePath((start.path() + "/LANGUAGE/").c_str(), "GERMAN.TXT", resolved, sizeof resolved));
    EXPECT_EQ(std::string(resolved), start.path() + "/language/German.txt");
    // A missing file: the path a write would create, and false.
    EXPECT_FALSE(platformResolvePath((start.path() + "/LANGUAGE/").c_str(), "NEW.TXT", resolved, sizeof resolved));
    EXPECT_EQ(std::string(resolved), start.path() + "/language/NEW.TXT");
    // A path that does not fit leaves the output empty.
    char tiny[8];
    EXPECT_FALSE(platformResolvePath(start.path().c_str(), "language", tiny, sizeof tiny));
    EXPECT_EQ(tiny[0], 0);
}

TEST(PlatformFiles, CurrentDirectoryChangesWithoutCase) {
    TempStartDirectory start(false);
    start.makeDirectory("Sounds");
    start.write("Sounds/select.wav", "w");
    ASSERT_TRUE(platformSetCurrentDirectory((start.path() + "/SOUNDS/").c_str()));
    char current[4096];
    ASSERT_TRUE(platformGetCurrentDirectory(current, sizeof current));
    EXPECT_EQ(std::string(current), start.path() + "/Sounds");
    EXPECT_FALSE(platformSetCurrentDirectory((start.path() + "/MISSING/").c_str()));
    EXPECT_FALSE(platformSetCurrentDirectory(""));
    char small[2];
    EXPECT_FALSE(platformGetCurrentDirectory(small, sizeof small));
}

TEST(PlatformFiles, PatternSearchMatchesExtensionWithoutCaseSortedAndRegularOnly) {
    TempStartDirectory start(false);
    for (const char* name : {"zulu.txt", "Alpha.TXT", "beta.Txt", "GAMMA.TXT", "notes.txt.bak", "txt", "readme.md"}) {
        start.write(name, "x");
    }
    start.makeDirectory("folder.txt");
    std::vector<std::string> names = findFiles("*.TXT");
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha.TXT", "beta.Txt", "GAMMA.TXT", "zulu.txt"}));
    EXPECT_EQ(findFiles("*").size(), 7u);
    EXPECT_EQ(findFiles("BETA.TXT"), (std::vector<std::string>{"beta.Txt"}));
    EXPECT_EQ(findFiles("*.HLP").size(), 0u);
    EXPECT_EQ(platformFindFiles("*.TXT", nullptr, nullptr), 4);
}

TEST(PlatformFiles, SizeOfOpenFile) {
    TempStartDirectory start(false);
    start.write("nine.bin", "123456789");
    FILE* file = platformOpenFile("NINE.BIN", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(platformFileSize(file), 9);
    fclose(file);
    EXPECT_EQ(platformFileSize(nullptr), -1);
}

TEST(PlatformFiles, ResolvingFromTwoThreadsAtOnce) {
    TempStartDirectory start(false);
    start.makeDirectory("sounds");
    start.write("sounds/remove.wav", "r");
    const std::string directory = start.path() + "/SOUNDS/";
    std::atomic<int> failures{0};
    auto work = [&] {
        for (int i = 0; i < 200; ++i) {
            char path[4096];
            if (!platformResolvePath(directory.c_str(), "REMOVE.WAV", path, sizeof path)) ++failures;
            FILE* file = platformOpenFile(path, "rb");
            if (!file) {
                ++failures;
            } else {
                fclose(file);
            }
        }
    };
    std::thread other(work);
    work();
    other.join();
    EXPECT_EQ(failures.load(), 0);
}

TEST(PlatformSystem, FixedClockAndTickCount) {
    platformFixTimeSeconds(1234567);
    EXPECT_EQ(platformTimeSeconds(), 1234567);
    platformFixTimeSeconds(-1);
    EXPECT_GT(platformTimeSeconds(), 1234567);
    uint32_t first = platformTickCount();
    platformSleep(2);
    uint32_t second = platformTickCount();
    EXPECT_LE(static_cast<uint32_t>(second - first), 60u * 60u * 1000u);  // never runs backwards
}

TEST(PlatformSystem, DetachedThreadRuns) {
    static std::atomic<int> value{0};
    static int argument = 42;
    value = 0;
    ASSERT_TRUE(platformStartThread([](void* data) { value = *static_cast<int*>(data); }, &argument));
    for (int i = 0; i < 5000 && value.load() == 0; ++i) platformSleep(1);
    EXPECT_EQ(value.load(), 42);
    EXPECT_FALSE(platformStartThread(nullptr, nullptr));
}
