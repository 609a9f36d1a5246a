// Automatic play: a second thread replays the removal order of the last easy
// deal (dealOrder), showing each pair before it goes, and restarts the deal
// when it has finished or been stopped.
//
// The window's side: clicks and the commands that change the game as a whole
// call stopAutoplayAndWait before they take the board lock; every other
// message takes the lock while the player runs (engine/board_lock.h).
#pragma once

// Window thread, the board lock held (or no player running, as in the
// tests). Starts the player on a fresh easy deal (easy mode on, no pair
// removed, not a loaded game, a valid removal order); otherwise shows
// MesAutoplayError. Does nothing while a player thread exists.
void startAutoplay();
// True from startAutoplay until the player's thread has ended.
bool autoplayActive();
// Window thread, without the board lock: asks the player to stop after the pair
// in hand and waits until its thread has ended (the deal is then restored).
// Returns at once when no player runs.
void stopAutoplayAndWait();
