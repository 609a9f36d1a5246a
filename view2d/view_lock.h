// The 2D view's own lock, inside view2d only. Two threads may draw (the
// window's and the automatic player's, each holding the board lock, or the
// view's tests without it); every draw, and every change of the pictures, the
// board buffer or the tile positions, holds this lock, so that no frame is
// composed from half-replaced images. It is the innermost lock of the game:
// nothing that holds it calls out of the view or waits for the board lock.
// Inside it, whatever writes into the board buffer or remakes it also holds
// the platform's surface lock, which the window holds while it shows the buffer.
#pragma once
#include <mutex>

extern std::mutex viewLock;

// layoutBoard2D's work, for a caller that holds viewLock.
void placeTiles2D();
