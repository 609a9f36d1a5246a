// Recording stand-ins for the window side that the 2D view talks to: the
// client size it measures, the frames it presents and the status-bar refreshes.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace viewfake {

extern int clientWidth;
extern int clientHeight;
extern int presentCount;
extern int presentX, presentY;
extern std::atomic<int> statusCount;  // refreshed outside the view's lock
// Copies of the presented frames (at most keepFrames of them, the first ones).
extern std::vector<std::vector<uint32_t>> frames;
extern int frameWidth, frameHeight;
extern size_t keepFrames;
extern int messageCount;
// When not empty, every presented frame is compared with it and differences counted.
extern std::vector<uint32_t> expectedFrame;
extern int mismatchCount;

void reset();

}  // namespace viewfake
