#include "engine/board_lock.h"

#include <mutex>

static std::recursive_mutex boardMutex;

void lockBoard() { boardMutex.lock(); }
bool tryLockBoard() { return boardMutex.try_lock(); }
void unlockBoard() { boardMutex.unlock(); }
