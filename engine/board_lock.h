// The lock of the game state. The window's thread and the automatic player's
// thread both work on the board; whoever changes it, or draws it, holds this
// lock. It is recursive: a command that holds it may repaint, and the repaint
// takes it again.
//
// Order: take it before the view's drawing lock (viewLock), never while
// holding that one.
#pragma once

void lockBoard();
// Takes the lock unless another thread holds it; true when taken. The window
// uses it for repaints and timer ticks, which it skips while automatic play
// holds the board (the player draws its own frames meanwhile).
bool tryLockBoard();
void unlockBoard();

// Holds the lock for the life of a block.
struct BoardLock {
    BoardLock() { lockBoard(); }
    ~BoardLock() { unlockBoard(); }
    BoardLock(const BoardLock&) = delete;
    BoardLock& operator=(const BoardLock&) = delete;
};
