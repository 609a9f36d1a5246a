// mahjong-solve as a program: clear refusals of bad files and options (exit status 2, never a crash), the
// keys of --json, and a saved game solved with its removal order.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "engine/deal.h"
#include "gamefiles/savegame.h"
#include "tests/core/temp_dir.h"
#include "tests/solver/solver_support.h"
#include "tests/support/internals.h"

namespace {

struct SolverRun {
    int status;  // exit status, or -1 when the program did not exit normally (a crash)
    std::string out;
};

SolverRun runSolver(const std::string& arguments) {
    const std::string command = std::string(MJ_SOLVE_PROGRAM) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    SolverRun run{-1, ""};
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void writeFile(const std::string& name, const std::string& content) {
    FILE* file = fopen(name.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(content.data(), 1, content.size(), file);
    fclose(file);
}

TEST(MahjongSolve, RefusesMissingUnreadableAndMalformedFilesWithStatusTwo) {
    TempStartDirectory start;
    writeFile("short.mym", std::string(100, 'x'));
    writeFile("long.mym", std::string(SAVED_GAME_SIZE + 1, '\0'));
    writeFile("zeros.mym", std::string(SAVED_GAME_SIZE, '\0'));      // the right size, but no board
    writeFile("noise.mym", std::string(SAVED_GAME_SIZE, '\xFA'));    // every byte 250
    writeFile("few.myl", "; three tiles\r\n0 0 0\r\n0 2 0\r\n0 4 0\r\n");
    writeFile("binary.myl", std::string(308, '\xFF'));
    const std::string turtle = layoutFolder() + "/DEFAULT.MYL";
    for (const std::string& arguments :
         {std::string("nosuch.mym"), std::string("."), std::string("short.mym"), std::string("long.mym"),
          std::string("zeros.mym"), std::string("noise.mym"), std::string("--json zeros.mym"),
          std::string("--layout nosuch.myl --deals 3"), std::string("--layout . --deals 3"),
          std::string("--layout few.myl --deals 3"), std::string("--layout binary.myl --easy 2"),
          std::string("--layout ") + turtle, std::string("--layout ") + turtle + " --deals 0",
          std::string("--layout ") + turtle + " --deals 3 --seed x",
          std::string("--layout ") + turtle + " --deals 1 --first 0", std::string("--frobnicate"), std::string()}) {
        const SolverRun run = runSolver(arguments);
        EXPECT_EQ(run.status, 2) << "mahjong-solve " << arguments;
    }
}

TEST(MahjongSolve, CensusPrintsOneJsonObjectWithItsKeys) {
    const SolverRun run =
        runSolver("--json --layout " + layoutFolder() + "/DEFAULT.MYL --deals 6 --seed 5 --limit-ms 10000");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out.front(), '{');
    EXPECT_EQ(run.out.substr(run.out.size() - 2), "}\n");
    EXPECT_NE(run.out.find("\"deals\": 6,"), std::string::npos) << run.out;
    for (const char* key : {"winnable", "not_winnable", "undecided", "ms_median", "ms_p99", "ms_max"})
        EXPECT_NE(run.out.find(std::string("\"") + key + "\": "), std::string::npos) << key;
    // --first continues the same series: deals 1-4 and 5-6 search as many nodes as deals 1-6.
    auto nodesTotal = [](const std::string& out) {
        const size_t at = out.find("\"nodes_total\": ");
        return at == std::string::npos ? -1LL : std::stoll(out.substr(at + 15));
    };
    const std::string census = "--json --layout " + layoutFolder() + "/DEFAULT.MYL --seed 5 --limit-ms 0 ";
    EXPECT_EQ(nodesTotal(run.out), nodesTotal(runSolver(census + "--deals 4").out) +
                                       nodesTotal(runSolver(census + "--deals 2 --first 5").out));
    // Easy deals: all winnable.
    const SolverRun easy = runSolver("--json --layout " + layoutFolder() + "/DEFAULT.MYL --easy 3 --seed 2");
    ASSERT_EQ(easy.status, 0);
    EXPECT_NE(easy.out.find("\"winnable\": 3,"), std::string::npos) << easy.out;
}

TEST(MahjongSolve, SolvesASavedGameAndListsThePairs) {
    TempStartDirectory start;
    ASSERT_TRUE(loadDeliveredLayout("DEFAULT.MYL"));
    Settings.EasyMode = 1;
    platformFixTimeSeconds(77);
    newDeal(nullptr);
    platformFixTimeSeconds(-1);
    ASSERT_TRUE(writeSavedGame((start.path() + "/EASY.MYM").c_str()));
    const SolverRun run = runSolver("--json " + start.path() + "/EASY.MYM");
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"answer\": \"winnable\""), std::string::npos) << run.out;
    size_t pairs = 0;
    for (size_t at = run.out.find("\"tiles\": ["); at != std::string::npos; at = run.out.find("\"tiles\": [", at + 1))
        ++pairs;
    EXPECT_EQ(pairs, 72u);
    const SolverRun text = runSolver(start.path() + "/EASY.MYM");
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("winnable"), std::string::npos);
    EXPECT_NE(text.out.find(" 72. tiles"), std::string::npos) << text.out;
}

}  // namespace
