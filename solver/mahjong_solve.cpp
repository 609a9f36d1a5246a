// mahjong-solve: whether a saved game can still be won, and censuses of random and easy deals.
//
//   mahjong-solve [--json] [--limit-ms T] [--limit-nodes N] GAME.MYM
//   mahjong-solve [--json] --layout FILE.MYL --deals N [--seed S] [--first K] [--slow MS] [--limit-ms T] ...
//   mahjong-solve [--json] --layout FILE.MYL --easy N [--seed S] [--first K] [--slow MS] [--limit-ms T] ...
//
// Every removal order found is replayed with the game's own rules before it is reported.
// Exit status: 0 when every position was answered, 1 when a census deal failed a check (an easy deal not
// shown winnable, or an order that does not replay), 2 for a wrong command line or a file that cannot be
// read, 3 when the order found for a saved game does not replay (a fault of the solver).
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/board.h"
#include "engine/deal.h"
#include "engine/layout.h"
#include "gamefiles/savegame.h"
#include "platform/files.h"
#include "platform/system.h"
#include "settings/directories.h"
#include "settings/settings.h"
#include "solver/census.h"
#include "solver/console_host.h"
#include "solver/replay.h"
#include "solver/solver.h"

namespace {

constexpr const char* PROGRAM = "mahjong-solve";
constexpr uint32_t DEFAULT_LIMIT_MS = 10000;

struct Options {
    bool json = false;
    const char* game = nullptr;
    const char* layout = nullptr;
    long long deals = 0;
    long long easy = 0;
    uint64_t seed = 1;
    long long first = 1;       // number of the first deal solved (those before it are dealt and skipped)
    double slowMs = -1;        // deals that take at least this long are listed (none when negative)
    SolverLimits limits = {0, DEFAULT_LIMIT_MS};
};

const char* USAGE =
    "usage: mahjong-solve [--json] [--limit-ms T] [--limit-nodes N] GAME.MYM\n"
    "       mahjong-solve [--json] --layout FILE.MYL --deals N [--seed S] [--first K] [--slow MS]\n"
    "                     [--limit-ms T] [--limit-nodes N]\n"
    "       mahjong-solve [--json] --layout FILE.MYL --easy N [--seed S] [--first K] [--slow MS]\n"
    "                     [--limit-ms T] [--limit-nodes N]\n"
    "A saved game: whether its board can still be cleared, and the pairs to remove in order.\n"
    "--deals N: N random deals on the layout (seeded by --seed, default 1); --easy N: N of the game's own\n"
    "easy deals, which must all be winnable. --first K starts at deal K of the seed's series (--first 79\n"
    "--deals 1 solves deal 79 alone); --slow MS lists, on standard error, every deal that took MS ms or more\n"
    "or was undecided. --limit-ms (default 10000, 0 for none) and --limit-nodes\n"
    "(default none) bound each search; a deal that reaches them is undecided.\n";

int usageError(const char* problem, const char* detail = "") {
    fprintf(stderr, "%s: %s%s\n%s", PROGRAM, problem, detail, USAGE);
    return 2;
}

int fileError(const char* file, const char* problem) {
    fprintf(stderr, "%s: %s: %s\n", PROGRAM, file, problem);
    return 2;
}

bool parseNumber(const char* text, unsigned long long maximum, unsigned long long* value) {
    if (!text || !*text || *text == '-' || *text == '+') return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = strtoull(text, &end, 10);
    if (errno != 0 || *end != 0 || v > maximum) return false;
    *value = v;
    return true;
}

// Returns 0 when the options are sound, else the exit status after the message.
int parseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long long number = 0;
        if (strcmp(arg, "--json") == 0) {
            o->json = true;
        } else if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            fputs(USAGE, stdout);
            return -1;
        } else if (strcmp(arg, "--layout") == 0) {
            if (!value) return usageError("--layout needs a file");
            o->layout = value;
            ++i;
        } else if (strcmp(arg, "--deals") == 0 || strcmp(arg, "--easy") == 0) {
            if (!parseNumber(value, CENSUS_MAX_DEALS, &number) || number == 0)
                return usageError(arg, " needs a number of deals from 1 to 1000000");
            (arg[2] == 'd' ? o->deals : o->easy) = (long long)number;
            ++i;
        } else if (strcmp(arg, "--seed") == 0) {
            if (!parseNumber(value, UINT64_MAX, &number)) return usageError("--seed needs a whole number");
            o->seed = number;
            ++i;
        } else if (strcmp(arg, "--first") == 0) {
            if (!parseNumber(value, CENSUS_MAX_DEALS, &number) || number == 0)
                return usageError("--first needs a deal number from 1 to 1000000");
            o->first = (long long)number;
            ++i;
        } else if (strcmp(arg, "--slow") == 0) {
            if (!parseNumber(value, UINT32_MAX, &number)) return usageError("--slow needs milliseconds");
            o->slowMs = (double)number;
            ++i;
        } else if (strcmp(arg, "--limit-ms") == 0) {
            if (!parseNumber(value, UINT32_MAX, &number)) return usageError("--limit-ms needs milliseconds");
            o->limits.milliseconds = (uint32_t)number;
            ++i;
        } else if (strcmp(arg, "--limit-nodes") == 0) {
            if (!parseNumber(value, UINT64_MAX, &number)) return usageError("--limit-nodes needs a number");
            o->limits.nodes = number;
            ++i;
        } else if (arg[0] == '-' && arg[1] != 0) {
            return usageError("unknown option ", arg);
        } else if (!o->game) {
            o->game = arg;
        } else {
            return usageError("more than one saved game: ", arg);
        }
    }
    const bool census = o->deals || o->easy;
    if (o->deals && o->easy) return usageError("--deals and --easy exclude each other");
    if (census && !o->layout) return usageError("a census needs --layout");
    if (o->layout && !census) return usageError("--layout needs --deals or --easy");
    if (census && o->game) return usageError("a census takes no saved game: ", o->game);
    if (!census && !o->game) return usageError("nothing to solve");
    return 0;
}

// A clear word for a file that is not there or cannot be read; null when it can be opened.
const char* unreadable(const char* path) {
    if (strlen(path) >= (size_t)FILE_NAME_SIZE) return "the name is too long";
    struct stat status;
    if (stat(path, &status) != 0) return errno == ENOENT ? "no such file" : strerror(errno);
    if (!S_ISREG(status.st_mode)) return "not a file";
    FILE* file = fopen(path, "rb");
    if (!file) return strerror(errno);
    fclose(file);
    return nullptr;
}

void printJsonText(const char* text) {
    putchar('"');
    for (const unsigned char* c = (const unsigned char*)text; *c; ++c) {
        if (*c == '"' || *c == '\\')
            printf("\\%c", *c);
        else if (*c < 0x20)
            printf("\\u%04x", *c);
        else
            putchar(*c);
    }
    putchar('"');
}

const char* answerWord(SolverAnswer answer, bool json) {
    switch (answer) {
        case SolverWinnable: return "winnable";
        case SolverNotWinnable: return json ? "not_winnable" : "not winnable";
        default: return "undecided";
    }
}

int solveGame(const Options& o) {
    if (const char* problem = unreadable(o.game)) return fileError(o.game, problem);
    switch (readSavedGame(o.game)) {
        case SavedGameOk: break;
        case SavedGameOpenFailed: return fileError(o.game, "cannot be read");
        case SavedGameWrongSize: return fileError(o.game, "not a saved game (a saved game is 9518 bytes long)");
        case SavedGameInvalid: return fileError(o.game, "not a saved game (its board is inconsistent)");
    }
    SolverResult result;
    solvePosition(tileTable, tileGrid, o.limits, &result);
    if (result.answer == SolverBadPosition) return fileError(o.game, "its board cannot be solved");
    if (result.answer == SolverWinnable && !replayClearsBoard(tileTable, tileGrid, result)) {
        fprintf(stderr, "%s: %s: the removal order found does not replay under the game's rules\n", PROGRAM, o.game);
        return 3;
    }

    if (o.json) {
        printf("{\"file\": ");
        printJsonText(o.game);
        printf(", \"tiles\": %d, \"answer\": \"%s\", \"nodes\": %llu, \"ms\": %.3f, \"pairs\": [", tilesLeft,
               answerWord(result.answer, true), (unsigned long long)result.nodes, result.milliseconds);
        for (int k = 0; k < result.pairCount; ++k) {
            int a = result.order[2 * k], b = result.order[2 * k + 1];
            printf("%s{\"tiles\": [%d, %d], \"faces\": [%d, %d]}", k ? ", " : "", a, b, tileTable[a].face,
                   tileTable[b].face);
        }
        printf("]}\n");
        return 0;
    }
    printf("%s: %d tiles on the board: %s (%llu nodes, %.3f ms)\n", o.game, tilesLeft,
           answerWord(result.answer, false), (unsigned long long)result.nodes, result.milliseconds);
    if (result.answer == SolverUndecided) printf("the search reached its limit before it could decide\n");
    for (int k = 0; k < result.pairCount; ++k) {
        int a = result.order[2 * k], b = result.order[2 * k + 1];
        printf("%3d. tiles %3d and %3d (faces %2d and %2d)\n", k + 1, a, b, tileTable[a].face, tileTable[b].face);
    }
    return 0;
}

// Reads the layout with the game's own reader; false (after the message) when it is refused.
bool readLayout(const char* path, int* status) {
    if (const char* problem = unreadable(path)) {
        *status = fileError(path, problem);
        return false;
    }
    if (!platformGetCurrentDirectory(startDirectory, sizeof startDirectory)) startDirectory[0] = 0;
    copyText(layoutDirectory, startDirectory, FILE_NAME_SIZE);
    scoreDirectory[0] = 0;  // no hall of fame is read
    copyText(layoutName, path, FILE_NAME_SIZE);
    resetConsoleHost();
    loadLayout(nullptr);
    if (consoleLayoutRefused) {
        *status = fileError(path, "not a layout of 144 tiles that do not overlap");
        return false;
    }
    return true;
}

void printShare(const char* name, const CensusShare& s, bool json) {
    if (json)
        printf(", \"%s_share\": %.6f, \"%s_low\": %.6f, \"%s_high\": %.6f", name, s.share, name, s.low, name, s.high);
    else
        printf("  %-13s %7d  %7.3f %%  (95%% interval %.3f %% to %.3f %%)\n", name, s.count, 100 * s.share,
               100 * s.low, 100 * s.high);
}

void printCensus(const Options& o, const CensusSummary& s) {
    const char* mode = o.easy ? "easy" : "random";
    if (o.json) {
        printf("{\"layout\": ");
        printJsonText(o.layout);
        printf(", \"mode\": \"%s\", \"seed\": %llu, \"limit_ms\": %u, \"limit_nodes\": %llu", mode,
               (unsigned long long)o.seed, o.limits.milliseconds, (unsigned long long)o.limits.nodes);
        printf(", \"deals\": %d, \"winnable\": %d, \"not_winnable\": %d, \"undecided\": %d", s.deals,
               s.winnable.count, s.notWinnable.count, s.undecided.count);
        printShare("winnable", s.winnable, true);
        printShare("not_winnable", s.notWinnable, true);
        printShare("undecided", s.undecided, true);
        printf(", \"ms_min\": %.4f, \"ms_median\": %.4f, \"ms_p99\": %.4f, \"ms_max\": %.4f", s.msMin, s.msMedian,
               s.msP99, s.msMax);
        printf(", \"nodes_median\": %llu, \"nodes_p99\": %llu, \"nodes_max\": %llu, \"nodes_total\": %llu}\n",
               (unsigned long long)s.nodesMedian, (unsigned long long)s.nodesP99, (unsigned long long)s.nodesMax,
               (unsigned long long)s.nodesTotal);
        return;
    }
    printf("%s: %d %s deals, seed %llu, limit %u ms", o.layout, s.deals, mode, (unsigned long long)o.seed,
           o.limits.milliseconds);
    if (o.limits.nodes) printf(" and %llu nodes", (unsigned long long)o.limits.nodes);
    printf("\n");
    printShare("winnable", s.winnable, false);
    printShare("not winnable", s.notWinnable, false);
    printShare("undecided", s.undecided, false);
    printf("  time per deal: min %.3f ms, median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n", s.msMin,
           s.msMedian, s.msP99, s.msMax);
    printf("  nodes per deal: median %llu, 99th percentile %llu, max %llu; %llu in all\n",
           (unsigned long long)s.nodesMedian, (unsigned long long)s.nodesP99, (unsigned long long)s.nodesMax,
           (unsigned long long)s.nodesTotal);
}

int runCensus(const Options& o) {
    int status = 0;
    if (!readLayout(o.layout, &status)) return status;
    static TileRecord tiles[TILE_COUNT];
    memcpy(tiles, tileTable, sizeof tiles);
    seedCensusRandom(o.seed);
    Settings.EasyMode = 1;
    beginCensus();
    int failures = 0;
    const long long count = o.deals ? o.deals : o.easy;
    if (o.deals)
        for (long long i = 1; i < o.first; ++i) dealCensusFaces(tiles);
    for (long long i = o.first - 1; i < o.first - 1 + count; ++i) {
        SolverResult result;
        if (o.deals) {
            dealCensusFaces(tiles);
            solvePosition(tiles, tileGrid, o.limits, &result);
            if (result.answer == SolverWinnable && !replayClearsBoard(tiles, tileGrid, result)) {
                ++failures;
                fprintf(stderr, "%s: random deal %lld (seed %llu): the removal order does not replay\n", PROGRAM,
                        i + 1, (unsigned long long)o.seed);
            }
        } else {
            // The game's deal reseeds from the clock; a clock fixed per deal makes the census repeatable.
            platformFixTimeSeconds((long)((o.seed + (uint64_t)i) & 0x7FFFFFFF));
            newDeal(nullptr);
            solvePosition(tileTable, tileGrid, o.limits, &result);
            if (result.answer != SolverWinnable || !replayClearsBoard(tileTable, tileGrid, result)) {
                ++failures;
                fprintf(stderr, "%s: easy deal %lld (seed %llu) is %s\n", PROGRAM, i + 1,
                        (unsigned long long)o.seed, answerWord(result.answer, false));
            }
        }
        if (o.slowMs >= 0 && (result.milliseconds >= o.slowMs || result.answer == SolverUndecided))
            fprintf(stderr, "deal %lld: %s, %.3f ms, %llu nodes\n", i + 1, answerWord(result.answer, false),
                    result.milliseconds, (unsigned long long)result.nodes);
        addCensusDeal(result);
    }
    platformFixTimeSeconds(-1);
    printCensus(o, summariseCensus());
    if (failures) {
        fprintf(stderr, "%s: %d of %lld deals failed the checks above\n", PROGRAM, failures, count);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    installConsoleHost();
    Options options;
    int status = parseOptions(argc, argv, &options);
    if (status < 0) return 0;
    if (status > 0) return status;
    return options.game ? solveGame(options) : runCensus(options);
}
