// Automatic play: a second thread replays the removal order of the last easy
// deal (dealOrder), showing each pair before it goes, and restarts the deal
// when it has finished or been stopped.
//
// The window's side: call stopAutoplayAndWait before any click or command that
// changes the board (and before taking the board lock for it); repaint and
// tick the chronometer under tryLockBoard, skipping the work while the player
// holds the board. The player never waits for the window.
#pragma once
#include <cstdint>

// At most this many fade frames per pair; a longer pause between pairs is
// spread over them.
constexpr int AUTOPLAY_FADE_FRAME_LIMIT = 1000;

// Window thread. Starts the player on a fresh easy deal (easy mode on, no pair
// removed, not a loaded game, a valid removal order); otherwise shows
// MesAutoplayError. Does nothing while a player thread exists.
void startAutoplay();
// True from startAutoplay until the player's thread has ended.
bool autoplayActive();
// Window thread, without the board lock: asks the player to stop after the pair
// in hand and waits until its thread has ended (the deal is then restored).
// Returns at once when no player runs.
void stopAutoplayAndWait();

// Fade frame weights of automatic play: n frames, frame i of 1..n. With
// s = 100 / (n + 1) the weights are (i * s, (n - i + 1) * s); when s is 0
// (100 frames or more) they are (i, n - i + 1), so that the pair never fades
// with two weights of 0 (which would draw it black).
void autoplayFadeWeights(int n, int i, int16_t* weightBackground, int16_t* weightTile);
// Frames of the fade: AutoPlaySleep / elapsed milliseconds of one drawing, 0
// when AutoPlaySleep is not above 0 or the drawing took less than 1 ms, at
// most AUTOPLAY_FADE_FRAME_LIMIT.
int autoplayFadeFrames(int32_t autoPlaySleep, uint32_t elapsed);
