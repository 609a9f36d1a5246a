// Scores files as loadHallOfFame reads them. A file of 400 bytes gives its ten
// entries with their texts terminated, any other size the default list and
// the message. A new time is then sorted in: the eleven entries end ordered by
// their seconds, none lost, and the ten written back are the list in memory.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/layout.h"
#include "gamefiles/halloffame.h"
#include "settings/language.h"
#include "tests/support/null_host.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    fuzzStartDirectory();
    if (!ready) {
        copyText(LanguageTexts.MesScores, "MesScores", LONG_TEXT_SIZE);
        copyText(layoutName, "FUZZ.MYL", FILE_NAME_SIZE);
        ready = true;
    }
    fuzzWriteFile("SCORES/FUZZ.MYS", data, size);
    fake::reset();
    loadHallOfFame(nullptr);
    const bool whole = size == HALL_OF_FAME_FILE_SIZE;
    FUZZ_CHECK(fake::messageLog() == (whole ? "" : "MesScores\n"));
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) {
        const HallOfFameEntry& entry = hallOfFame[i];
        FUZZ_CHECK(fuzzTerminated(entry.name, sizeof entry.name) && fuzzTerminated(entry.time, sizeof entry.time));
        if (whole) FUZZ_CHECK(std::memcmp(&entry.seconds, data + 40 * i + 36, 4) == 0);
        char text[sizeof entry.time];
        formatTime(entry.seconds, text);
        FUZZ_CHECK(fuzzTerminated(text, sizeof text));
    }

    // A win: the new time goes into entry 10 and is sorted in.
    int32_t seconds[HALL_OF_FAME_SIZE + 1];
    hallOfFame[HALL_OF_FAME_SIZE] = hallOfFame[0];
    hallOfFame[HALL_OF_FAME_SIZE].seconds = size > 0 ? static_cast<int32_t>(data[0]) * 37 - 100 : 299;
    for (int i = 0; i <= HALL_OF_FAME_SIZE; ++i) seconds[i] = hallOfFame[i].seconds;
    sortHallOfFame();
    std::sort(seconds, seconds + HALL_OF_FAME_SIZE + 1);
    for (int i = 0; i <= HALL_OF_FAME_SIZE; ++i) FUZZ_CHECK(hallOfFame[i].seconds == seconds[i]);

    saveHallOfFame(nullptr);
    FUZZ_CHECK(fake::messageLog() == (whole ? "" : "MesScores\n"));
    std::ifstream in("SCORES/FUZZ.MYS", std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FUZZ_CHECK(written.size() == HALL_OF_FAME_FILE_SIZE);
    FUZZ_CHECK(std::memcmp(written.data(), hallOfFame, HALL_OF_FAME_FILE_SIZE) == 0);
    return 0;
}
