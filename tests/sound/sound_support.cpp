#include "tests/sound/sound_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/audio.h"

int runInChild(const char* driver, const std::string& diskFile, const std::function<int()>& body) {
    fflush(stdout);
    fflush(stderr);
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        alarm(60);  // a child that hangs is killed and the test fails
        setenv("SDL_AUDIODRIVER", driver, 1);
        if (!diskFile.empty()) setenv("SDL_DISKAUDIOFILE", diskFile.c_str(), 1);
        unsetenv("SDL_DISKAUDIODELAY");  // the driver paces itself like a real device
        int result = body();
        platformAudioShutdown();  // flushes and closes the disk file
        fflush(stdout);
        fflush(stderr);
        _exit(result);  // the child leaves the test framework's state alone
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void waitMilliseconds(int milliseconds) { usleep(useconds_t(milliseconds) * 1000); }

static void put16(std::string& out, unsigned value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}
static void put32(std::string& out, unsigned long value) {
    put16(out, unsigned(value & 0xFFFF));
    put16(out, unsigned((value >> 16) & 0xFFFF));
}

void writeWave(const std::string& path, const Wave& wave) {
    std::string out = "RIFF";
    unsigned long dataBytes = wave.samples.size() * 2;
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);
    put16(out, unsigned(wave.channels));
    put32(out, (unsigned long)wave.rate);
    put32(out, (unsigned long)wave.rate * unsigned(wave.channels) * 2);
    put16(out, unsigned(wave.channels) * 2);
    put16(out, 16);
    out += "data";
    put32(out, dataBytes);
    for (int16_t sample : wave.samples) put16(out, uint16_t(sample));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << out;
}

static unsigned get16(const std::string& in, size_t at) {
    return unsigned(uint8_t(in[at])) | unsigned(uint8_t(in[at + 1])) << 8;
}
static unsigned long get32(const std::string& in, size_t at) {
    return get16(in, at) | (unsigned long)get16(in, at + 2) << 16;
}

bool readWave(const std::string& path, Wave* wave) {
    std::ifstream file(path, std::ios::binary);
    std::string in((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (in.size() < 12 || in.compare(0, 4, "RIFF") != 0 || in.compare(8, 4, "WAVE") != 0) return false;
    bool haveFormat = false;
    for (size_t at = 12; at + 8 <= in.size();) {
        std::string id = in.substr(at, 4);
        unsigned long size = get32(in, at + 4);
        size_t body = at + 8;
        if (size > in.size() - body) return false;
        if (id == "fmt " && size >= 16) {
            if (get16(in, body) != 1 || get16(in, body + 14) != 16) return false;
            wave->channels = int(get16(in, body + 2));
            wave->rate = int(get32(in, body + 4));
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            wave->samples.resize(size / 2);
            for (size_t i = 0; i < size / 2; ++i) wave->samples[i] = int16_t(get16(in, body + 2 * i));
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

Wave makeTone(int frames) {
    Wave wave;
    wave.rate = OUTPUT_RATE;
    wave.channels = 2;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < frames; ++i) {
        double t = double(i) / OUTPUT_RATE;
        wave.samples.push_back(int16_t(6000 + 4000 * std::sin(2 * pi * 440 * t)));
        wave.samples.push_back(int16_t(-5000 - 3000 * std::sin(2 * pi * 660 * t)));
    }
    return wave;
}

static void putQuantity(std::string& out, unsigned value) {
    char bytes[5];
    int count = 0;
    bytes[count++] = char(value & 0x7F);
    while ((value >>= 7) != 0) bytes[count++] = char(0x80 | (value & 0x7F));
    while (count > 0) out += bytes[--count];
}

void writeOneNoteMidi(const std::string& path, int noteTicks, int endTicks) {
    std::string track;
    putQuantity(track, 0);
    track += "\xC0\x10";  // drawbar organ
    putQuantity(track, 0);
    track += "\x90\x3C\x64";  // middle C on
    putQuantity(track, unsigned(noteTicks));
    track += "\x80\x3C\x40";  // and off
    putQuantity(track, unsigned(endTicks));
    track += std::string("\xFF\x2F\x00", 3);  // end of track
    std::string out = "MThd";
    out += std::string("\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 10);
    out += "MTrk";
    out += char((track.size() >> 24) & 0xFF);
    out += char((track.size() >> 16) & 0xFF);
    out += char((track.size() >> 8) & 0xFF);
    out += char(track.size() & 0xFF);
    out += track;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << out;
}

std::vector<int16_t> readOutput(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string in((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(in.size() / 2);
    memcpy(samples.data(), in.data(), samples.size() * 2);
    return samples;
}

std::vector<Span> soundingSpans(const std::vector<int16_t>& output, size_t minimumGap, int threshold) {
    std::vector<Span> spans;
    size_t frames = output.size() / 2;
    for (size_t frame = 0; frame < frames; ++frame) {
        if (std::abs(output[2 * frame]) <= threshold && std::abs(output[2 * frame + 1]) <= threshold) continue;
        if (!spans.empty() && frame - spans.back().end < minimumGap) {
            spans.back().end = frame + 1;
        } else {
            spans.push_back({frame, frame + 1});
        }
    }
    return spans;
}

bool holdsExactly(const std::vector<int16_t>& output, size_t frame, const Wave& stereo) {
    if (stereo.channels != 2 || 2 * frame + stereo.samples.size() > output.size()) return false;
    return std::equal(stereo.samples.begin(), stereo.samples.end(), output.begin() + long(2 * frame));
}

double rms(const std::vector<int16_t>& output, Span span) {
    if (span.frames() == 0) return 0;
    double sum = 0;
    for (size_t i = 2 * span.begin; i < 2 * span.end && i < output.size(); ++i) sum += double(output[i]) * output[i];
    return std::sqrt(sum / double(2 * span.frames()));
}

double correlation(const int16_t* a, const int16_t* b, size_t count) {
    double meanA = 0, meanB = 0;
    for (size_t i = 0; i < count; ++i) {
        meanA += a[i];
        meanB += b[i];
    }
    meanA /= double(count);
    meanB /= double(count);
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < count; ++i) {
        ab += (a[i] - meanA) * (b[i] - meanB);
        aa += (a[i] - meanA) * (a[i] - meanA);
        bb += (b[i] - meanB) * (b[i] - meanB);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}
