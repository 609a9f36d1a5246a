// The hall of fame: time texts, default list, scores file, sorting.
#include <gtest/gtest.h>

#include <random>

#include "platform/ui.h"
#include "tests/core/test_support.h"

namespace {

class HallOfFameTest : public ::testing::Test {
protected:
    TempStartDirectory start;
    void SetUp() override {
        fake::reset();
        setEngineTexts();
        setEngineSettings();
        copyText(layoutName, "DEFAULT.MYL", FILE_NAME_SIZE);
    }
    void enter(int32_t seconds, const char* name) {
        HallOfFameEntry& entry = hallOfFame[HALL_OF_FAME_SIZE];
        copyText(entry.name, name, sizeof entry.name);
        formatTime(seconds, entry.time);
        entry.seconds = seconds;
        sortHallOfFame();
    }
};

std::string timeText(int32_t seconds) {
    char text[13];
    formatTime(seconds, text);
    return text;
}

TEST_F(HallOfFameTest, TimeTexts) {
    EXPECT_EQ(timeText(0), "00:00:00");
    EXPECT_EQ(timeText(300), "00:05:00");
    EXPECT_EQ(timeText(3725), "01:02:05");
    EXPECT_EQ(timeText(10925), "03:02:05");
    EXPECT_EQ(timeText(360000), "100:00:00");
    EXPECT_EQ(timeText(2147483647), "596523:14:07");  // the longest still fits 13 bytes
    EXPECT_EQ(timeText(-5), "00:00:00");
}

TEST_F(HallOfFameTest, ScoresFileNames) {
    char name[FILE_NAME_SIZE];
    scoresFileName(name, sizeof name);
    EXPECT_STREQ(name, "DEFAULT.MYS");
    copyText(layoutName, RANDOM_LAYOUT_NAME, FILE_NAME_SIZE);
    scoresFileName(name, sizeof name);
    EXPECT_STREQ(name, "RANDOM.MYS");
    copyText(layoutName, "A.B.MYL", FILE_NAME_SIZE);
    scoresFileName(name, sizeof name);
    EXPECT_STREQ(name, "A.B.MYS");
    copyText(layoutName, "NODOT", FILE_NAME_SIZE);
    scoresFileName(name, sizeof name);
    EXPECT_STREQ(name, "NODOT.MYS");
    char small[8];
    scoresFileName(small, sizeof small);
    EXPECT_STREQ(small, "NOD.MYS");
    std::string longName(FILE_NAME_SIZE - 1, 'Q');
    copyText(layoutName, longName.c_str(), FILE_NAME_SIZE);
    scoresFileName(name, sizeof name);
    EXPECT_EQ(strlen(name), (size_t)FILE_NAME_SIZE - 1);
    EXPECT_STREQ(name + FILE_NAME_SIZE - 5, ".MYS");
}

TEST_F(HallOfFameTest, DefaultListWithoutAFile) {
    memset(hallOfFame, 'x', sizeof hallOfFame);
    loadHallOfFame(nullptr);
    EXPECT_TRUE(fake::messages.empty());
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) {
        EXPECT_STREQ(hallOfFame[i].name, "Velmora");
        EXPECT_EQ(hallOfFame[i].seconds, 300 + 60 * i);
    }
    EXPECT_STREQ(hallOfFame[0].time, "00:05:00");
    EXPECT_STREQ(hallOfFame[9].time, "00:14:00");
    EXPECT_FALSE(start.exists("SCORES/DEFAULT.MYS"));  // nothing written by a load
    start.remove("SCORES");
    loadHallOfFame(nullptr);
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(hallOfFame[9].seconds, 840);
}

TEST_F(HallOfFameTest, SortingNewTimes) {
    defaultHallOfFame();
    enter(299, "First");
    EXPECT_STREQ(hallOfFame[0].name, "First");
    for (int i = 1; i < HALL_OF_FAME_SIZE; ++i) EXPECT_EQ(hallOfFame[i].seconds, 300 + 60 * (i - 1));
    EXPECT_EQ(hallOfFame[10].seconds, 840);  // dropped

    defaultHallOfFame();
    enter(360, "Equal");
    EXPECT_EQ(hallOfFame[0].seconds, 300);
    EXPECT_STREQ(hallOfFame[1].name, "Equal");
    EXPECT_STREQ(hallOfFame[2].name, "Velmora");
    EXPECT_EQ(hallOfFame[2].seconds, 360);
    EXPECT_EQ(hallOfFame[9].seconds, 780);

    // several equal times: the new entry lands among them, the order stays sorted
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) hallOfFame[i].seconds = i < 3 ? 100 : i < 8 ? 500 : 900;
    enter(500, "Among");
    int among = -1;
    for (int i = 0; i <= HALL_OF_FAME_SIZE; ++i) {
        if (i > 0) {
            EXPECT_LE(hallOfFame[i - 1].seconds, hallOfFame[i].seconds);
        }
        if (strcmp(hallOfFame[i].name, "Among") == 0) among = i;
    }
    EXPECT_GE(among, 3);
    EXPECT_LE(among, 8);
    EXPECT_EQ(hallOfFame[10].seconds, 900);

    // any order at all comes out sorted
    std::mt19937 generator(3);
    for (int round = 0; round < 50; ++round) {
        for (HallOfFameEntry& e : hallOfFame) e.seconds = (int32_t)(generator() % 7) - 3 + (round % 2 ? INT32_MIN / 2 : 0);
        sortHallOfFame();
        for (int i = 1; i <= HALL_OF_FAME_SIZE; ++i) ASSERT_LE(hallOfFame[i - 1].seconds, hallOfFame[i].seconds);
    }
}

TEST_F(HallOfFameTest, SaveAndLoadRoundTrip) {
    defaultHallOfFame();
    enter(123, "Round Trip");
    saveHallOfFame(nullptr);
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(start.read("SCORES/DEFAULT.MYS").size(), 400u);
    HallOfFameEntry saved[HALL_OF_FAME_SIZE];
    memcpy(saved, hallOfFame, sizeof saved);
    defaultHallOfFame();
    loadHallOfFame(nullptr);
    EXPECT_EQ(memcmp(saved, hallOfFame, sizeof saved), 0);
    EXPECT_STREQ(hallOfFame[0].time, "00:02:03");
}

TEST_F(HallOfFameTest, WrongSizeShowsTheDefaultsAndIsRewrittenLater) {
    for (size_t size : {0u, 399u, 401u, 4000u}) {
        start.write("SCORES/DEFAULT.MYS", std::string(size, 'A'));
        fake::reset();
        loadHallOfFame(nullptr);
        EXPECT_EQ(fake::messageLog(), "MesScores\n") << size;
        EXPECT_EQ(fake::messages[0].kind, PLATFORM_MB_EXCLAMATION);
        EXPECT_STREQ(hallOfFame[3].name, "Velmora");
        EXPECT_EQ(hallOfFame[3].seconds, 480);
    }
    EXPECT_EQ(start.read("SCORES/DEFAULT.MYS").size(), 4000u);  // left alone
    enter(200, "Winner");
    saveHallOfFame(nullptr);
    EXPECT_EQ(start.read("SCORES/DEFAULT.MYS").size(), 400u);
}

TEST_F(HallOfFameTest, RandomFilesNeverGiveUnterminatedTexts) {
    std::mt19937 generator(17);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(400, '\0');
        for (char& b : bytes) b = (char)(round % 2 ? generator() : 'Z');
        start.write("SCORES/DEFAULT.MYS", bytes);
        loadHallOfFame(nullptr);
        for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) {
            EXPECT_LT(strnlen(hallOfFame[i].name, sizeof hallOfFame[i].name), sizeof hallOfFame[i].name);
            EXPECT_LT(strnlen(hallOfFame[i].time, sizeof hallOfFame[i].time), sizeof hallOfFame[i].time);
        }
        enter(1, "x");  // any stored seconds sort
    }
    EXPECT_TRUE(fake::messages.empty());
    HallOfFameEntry entry;
    memset(&entry, 'n', sizeof entry);
    terminateHallOfFameEntry(&entry);
    EXPECT_EQ(strlen(entry.name), 22u);
    EXPECT_EQ(strlen(entry.time), 12u);
}

TEST_F(HallOfFameTest, UnwritableScoresAreReported) {
    start.remove("SCORES");
    defaultHallOfFame();
    saveHallOfFame(nullptr);
    EXPECT_EQ(fake::messageLog(), "DEFAULT.MYS : MesWriteError\n");
}

}  // namespace
