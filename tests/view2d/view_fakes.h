// Recording stand-ins for the window side that the 2D view talks to: the
// client size it measures, the frames it presents and the status-bar refreshes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace viewfake {

extern int clientWidth;
extern int clientHeight;
extern int presentCount;
extern int presentX, presentY;
extern int statusCount;
// Copies of the presented frames (at most keepFrames of them, the first ones).
extern std::vector<std::vector<uint32_t>> frames;
extern int frameWidth, frameHeight;
extern size_t keepFrames;
extern int messageCount;

void reset();

}  // namespace viewfake
