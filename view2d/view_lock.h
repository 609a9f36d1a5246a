// The one lock of the 2D view. The window's thread and the automatic player's
// thread both draw; every draw, and every change of the pictures, the board
// buffer or the tile positions, holds this lock, so that no frame is composed
// from half-replaced images. It is recursive because fitFaceSize lays the board
// out again while it holds it.
#pragma once
#include <mutex>

extern std::recursive_mutex viewLock;
