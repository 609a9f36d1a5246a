#include "gamefiles/halloffame.h"

#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "settings/directories.h"
#include "settings/language.h"
#include "settings/messages.h"

HallOfFameEntry hallOfFame[HALL_OF_FAME_SIZE + 1];

static constexpr const char* DEFAULT_NAME = "Velmora";
static constexpr const char* SCORES_EXTENSION = ".MYS";

void formatTime(int32_t seconds, char* text) {
    if (seconds < 0) seconds = 0;  // a time cannot run backwards
    int32_t hours = seconds / 3600;
    int32_t minutes = (seconds % 3600) / 60;
    int32_t rest = seconds % 60;
    snprintf(text, sizeof hallOfFame[0].time, "%02d:%02d:%02d", (int)hours, (int)minutes, (int)rest);
}

void defaultHallOfFame() {
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) {
        HallOfFameEntry& entry = hallOfFame[i];
        memset(&entry, 0, sizeof entry);
        copyText(entry.name, DEFAULT_NAME, sizeof entry.name);
        entry.seconds = 300 + 60 * i;
        formatTime(entry.seconds, entry.time);
    }
    memset(&hallOfFame[HALL_OF_FAME_SIZE], 0, sizeof hallOfFame[HALL_OF_FAME_SIZE]);
}

void scoresFileName(char* output, int size) {
    if (size < 1) return;
    int extensionLength = (int)strlen(SCORES_EXTENSION);
    const char* point = strrchr(layoutName, '.');
    int baseLength = point ? (int)(point - layoutName) : (int)strnlen(layoutName, FILE_NAME_SIZE);
    if (baseLength > size - 1 - extensionLength) baseLength = size - 1 - extensionLength;
    if (baseLength < 0) {
        output[0] = 0;
        return;
    }
    memcpy(output, layoutName, baseLength);
    memcpy(output + baseLength, SCORES_EXTENSION, extensionLength + 1);
}

void terminateHallOfFameEntry(HallOfFameEntry* entry) {
    entry->name[sizeof entry->name - 1] = 0;
    entry->time[sizeof entry->time - 1] = 0;
}

void loadHallOfFame(WindowHandle window) {
    char name[FILE_NAME_SIZE];
    scoresFileName(name, sizeof name);
    FILE* file = platformSetCurrentDirectory(scoreDirectory) ? platformOpenFile(name, "rb") : nullptr;
    if (!file) {
        defaultHallOfFame();
        returnToStartDirectory();
        return;
    }
    HallOfFameEntry entries[HALL_OF_FAME_SIZE];
    bool read = platformFileSize(file) == HALL_OF_FAME_FILE_SIZE &&
                fread(entries, 1, sizeof entries, file) == sizeof entries;
    fclose(file);
    if (read) {
        for (int i = 0; i < HALL_OF_FAME_SIZE; ++i) {
            hallOfFame[i] = entries[i];
            terminateHallOfFameEntry(&hallOfFame[i]);
        }
    } else {
        showMessage(window, LanguageTexts.MesScores, MessageExclamation);
        defaultHallOfFame();
    }
    returnToStartDirectory();
}

void saveHallOfFame(WindowHandle window) {
    char name[FILE_NAME_SIZE];
    scoresFileName(name, sizeof name);
    bool written = platformSetCurrentDirectory(scoreDirectory) &&
                   platformReplaceFile(name, hallOfFame, HALL_OF_FAME_FILE_SIZE);
    returnToStartDirectory();
    if (!written) showFileMessage(window, name, LanguageTexts.MesWriteError);
}

static void exchangeEntries(int i, int j) {
    HallOfFameEntry held = hallOfFame[i];
    hallOfFame[i] = hallOfFame[j];
    hallOfFame[j] = held;
}

// Quicksort partitioning around the last entry; both scans stop on equal times.
static void sortRange(int lo, int hi) {
    if (hi <= lo) return;
    int32_t v = hallOfFame[hi].seconds;
    int i = lo - 1;
    int j = hi;
    for (;;) {
        do ++i;
        while (hallOfFame[i].seconds < v);
        do --j;
        while (j >= lo && hallOfFame[j].seconds > v);
        if (i >= j) break;
        exchangeEntries(i, j);
    }
    exchangeEntries(i, hi);
    sortRange(lo, i - 1);
    sortRange(i + 1, hi);
}

void sortHallOfFame() { sortRange(0, HALL_OF_FAME_SIZE); }
