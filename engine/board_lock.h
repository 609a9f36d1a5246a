// The board lock: one lock, not recursive, shared by the window's thread and
// the automatic player's thread. The rule:
//   - every window message that reads or changes the board, the game state or
//     the settings the player reads runs under it (the main window takes it;
//     the command table says for each command how);
//   - the player takes it for each piece of work on the board (showing a
//     pair, each frame of its fade, its removal, the restart), never while it
//     sleeps or plays a sound, so the window waits at most one frame;
//   - nobody holds it while waiting for the other thread (stopAutoplayAndWait)
//     or while a modal window is open: the host's message boxes, file dialogs
//     and game dialogs release it for as long as they are open (BoardUnlocked),
//     since their own event loop repaints and ticks the timer.
// Waiting threads are served in the order they asked.
#pragma once

// The window's thread, marked once at start; any other thread is the
// automatic player's.
void markWindowThread();
bool onWindowThread();

void lockBoard();
void unlockBoard();
// True when the calling thread holds the lock.
bool boardLockHeldHere();

// Holds the lock for the life of a block.
struct BoardLock {
    BoardLock() { lockBoard(); }
    ~BoardLock() { unlockBoard(); }
    BoardLock(const BoardLock&) = delete;
    BoardLock& operator=(const BoardLock&) = delete;
};

// Releases the lock for the life of a block when the calling thread holds it
// (a modal window is open meanwhile), and takes it back at the end.
struct BoardUnlocked {
    BoardUnlocked() : held(boardLockHeldHere()) {
        if (held) unlockBoard();
    }
    ~BoardUnlocked() {
        if (held) lockBoard();
    }
    BoardUnlocked(const BoardUnlocked&) = delete;
    BoardUnlocked& operator=(const BoardUnlocked&) = delete;

private:
    const bool held;
};
