// The ten best times of each layout, kept in SCORES/<layout>.MYS.
#pragma once
#include <cstdint>
#include "platform/window.h"

constexpr int HALL_OF_FAME_SIZE = 10;
constexpr int HALL_OF_FAME_FILE_SIZE = 400;

#pragma pack(push, 1)
struct HallOfFameEntry {
    char name[23];
    char time[13];
    int32_t seconds;
};
#pragma pack(pop)
static_assert(sizeof(HallOfFameEntry) == 40, "hall-of-fame entries are 40 bytes on disk");

// Entries 0-9 are the list, best first; entry 10 takes a new time before it is sorted in.
extern HallOfFameEntry hallOfFame[HALL_OF_FAME_SIZE + 1];

// Writes hours:minutes:seconds, each at least two digits, into text (13 bytes suffice).
void formatTime(int32_t seconds, char* text);
void defaultHallOfFame();
// Forms the scores file name of the current layout ("DEFAULT.MYL" -> "DEFAULT.MYS").
void scoresFileName(char* output, int size);
void loadHallOfFame(WindowHandle window);
void saveHallOfFame(WindowHandle window);
void sortHallOfFame();
// Makes name and time zero-terminated within their fields.
void terminateHallOfFameEntry(HallOfFameEntry* entry);
