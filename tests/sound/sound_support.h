// Helpers of the sound tests: each test plays through SDL's disk audio driver
// (or a driver without a device) in a child process of its own, since the
// driver is chosen once per process; the parent then reads back the samples
// the driver wrote.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The device format of the game's mixer: 44100 Hz, 16-bit, stereo.
constexpr int OUTPUT_RATE = 44100;

// Runs body in a child process with SDL_AUDIODRIVER set to driver and, for the
// disk driver, SDL_DISKAUDIOFILE set to diskFile. The child closes the audio
// device after body and exits with body's result; the result is -1 when it
// did not exit normally (a crash, or still running after a minute).
int runInChild(const char* driver, const std::string& diskFile, const std::function<int()>& body);

// Sleeps in the child while the device keeps writing.
void waitMilliseconds(int milliseconds);

// A PCM wave file: 16-bit samples, interleaved when stereo.
struct Wave {
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;
};
void writeWave(const std::string& path, const Wave& wave);
// Reads a 16-bit PCM wave file; false when it is anything else.
bool readWave(const std::string& path, Wave* wave);
// A stereo test tone whose samples are never 0 and differ between the
// channels, so that each copy can be found exactly in the output.
Wave makeTone(int frames);
// A type-0 MIDI file of one organ note of noteTicks, then endTicks more
// before its end (480 ticks a quarter note, 120 quarter notes a minute).
void writeOneNoteMidi(const std::string& path, int noteTicks, int endTicks);

// The 16-bit stereo samples the disk driver wrote.
std::vector<int16_t> readOutput(const std::string& path);

// A stretch of stereo output frames [begin, end).
struct Span {
    size_t begin = 0;
    size_t end = 0;
    size_t frames() const { return end - begin; }
};
// Frames of the output that hold a sample above threshold (in magnitude) in
// either channel, split wherever at least minimumGap other frames lie between.
std::vector<Span> soundingSpans(const std::vector<int16_t>& output, size_t minimumGap, int threshold = 0);
// True when the output holds the stereo wave's samples exactly from frame on.
bool holdsExactly(const std::vector<int16_t>& output, size_t frame, const Wave& stereo);
// Root mean square of both channels over a span.
double rms(const std::vector<int16_t>& output, Span span);
// Pearson correlation of two equally long runs of stereo samples.
double correlation(const int16_t* a, const int16_t* b, size_t count);
