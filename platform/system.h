// Clock, tick count and threads.
#pragma once
#include <cstdint>

// Milliseconds since an arbitrary start, wrapping like a 32-bit tick count.
uint32_t platformTickCount();
// The current time in seconds, used to seed the pseudo-random generator.
long platformTimeSeconds();
// Fixes the clock so that deals are reproducible (tests, mahjong-solve's census of
// easy deals); a negative value frees it.
void platformFixTimeSeconds(long seconds);
void platformSleep(int milliseconds);
// Starts fn(argument) on a new detached thread; false when it could not start.
bool platformStartThread(void (*fn)(void*), void* argument);

// Numbers in the game's text files always use the point as decimal separator,
// whatever locale the window toolkit installed. platformUseClassicNumbers switches
// the calling thread to the classic "C" conventions and returns a token that
// platformRestoreNumbers takes to switch back.
void* platformUseClassicNumbers();
void platformRestoreNumbers(void* token);
