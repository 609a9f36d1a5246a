// Sound effects and music played for real through SDL's disk audio driver,
// which writes every mixed sample to a file; and the behaviour without a
// device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/audio.h"
#include "settings/settings.h"
#include "settings/directories.h"
#include "shell/sound.h"
#include "tests/core/temp_dir.h"
#include "tests/support/null_host.h"
#include "tests/sound/sound_support.h"

namespace {

const std::string DELIVERED_SOUNDS = std::string(MJ_SOURCE_DIR) + "/data/SOUNDS/";
// Longer than any pause inside a sound, shorter than the silence the mixer
// writes while a music file is being loaded.
const size_t SPAN_GAP = 1000;

void setSoundSettings(const char* sound1, const char* sound2, const char* sound3, const char* music) {
    Settings.SoundEffects = 1;
    copyText(Settings.Sound1, sound1, FILE_NAME_SIZE);
    copyText(Settings.Sound2, sound2, FILE_NAME_SIZE);
    copyText(Settings.Sound3, sound3, FILE_NAME_SIZE);
    copyText(Settings.Music, music, FILE_NAME_SIZE);
}

void useSoundDirectory(const std::string& directory) {
    copyText(soundDirectory, directory.c_str(), FILE_NAME_SIZE);
}

// Child exit codes name the step that failed.
enum ChildResult { CHILD_OK = 0, NO_DEVICE = 10, DEVICE = 11, SETTINGS_CHANGED = 12, MUSIC_STATE = 13 };

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        outputFile = start.file("output.raw");
        tone = makeTone(4410);  // a tenth of a second
        writeWave(start.file("SOUNDS/tone.wav"), tone);  // found as "TONE.WAV"
    }
    // Every frame outside the given copies of the tone is silent, and each copy
    // is exact; returns the number of copies found.
    int countToneCopies(const std::vector<int16_t>& output) {
        size_t frames = output.size() / 2, toneFrames = tone.samples.size() / 2;
        int copies = 0;
        for (size_t frame = 0; frame < frames;) {
            if (output[2 * frame] == 0 && output[2 * frame + 1] == 0) {
                ++frame;
                continue;
            }
            if (!holdsExactly(output, frame, tone)) return -1;
            ++copies;
            frame += toneFrames;
        }
        return copies;
    }

    TempStartDirectory start;
    std::string outputFile;
    Wave tone;
};

// --- No device ---------------------------------------------------------------

void expectNoDeviceRun(const char* driver, TempStartDirectory& start) {
    int result = runInChild(driver, "", [] {
        setSoundSettings("SELECT.WAV", "REMOVE.WAV", "TONE.WAV", "MOZK478.MID");
        if (hasWaveDevice()) return int(DEVICE);
        if (Settings.SoundEffects != 0 || Settings.Music[0] != 0) return int(SETTINGS_CHANGED);
        if (strcmp(Settings.Sound1, "SELECT.WAV") != 0 || strcmp(Settings.Sound3, "TONE.WAV") != 0) {
            return int(SETTINGS_CHANGED);
        }
        saveSettings(nullptr);  // as at the end of the run
        // Nothing to play on, whatever the settings say: no hang, no crash.
        Settings.SoundEffects = 1;
        playSoundEffect(ErrorSound);
        copyText(Settings.Music, "MOZK478.MID", FILE_NAME_SIZE);
        useSoundDirectory(DELIVERED_SOUNDS);
        playMusic(nullptr);
        if (platformMusicPlaying()) return int(MUSIC_STATE);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK) << "driver " << driver;
    std::string saved = start.read("MAH-JONG.INI");
    EXPECT_NE(saved.find("\r\nSoundEffects    = 0"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\r\nMusic           = none"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\r\nSound1          = \"SELECT.WAV\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("\r\nSound3          = \"TONE.WAV\""), std::string::npos) << saved;
}

TEST_F(SoundTest, NullDriverCountsAsNoDeviceAndTurnsSoundOff) { expectNoDeviceRun("dummy", start); }

TEST_F(SoundTest, MissingDriverCountsAsNoDeviceAndTurnsSoundOff) {
    expectNoDeviceRun("no-such-audio-driver", start);
}

TEST_F(SoundTest, DeviceLeavesTheSettingsAlone) {
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("SELECT.WAV", "", "BESIDE.WAV", "MOZK478.MID");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        if (!hasWaveDevice()) return int(NO_DEVICE);  // asked again at every menu build
        if (Settings.SoundEffects != 1 || strcmp(Settings.Music, "MOZK478.MID") != 0 || Settings.Sound2[0] != 0) {
            return int(SETTINGS_CHANGED);
        }
        return int(CHILD_OK);
    });
    EXPECT_EQ(result, CHILD_OK);
}

// --- Effects -----------------------------------------------------------------

TEST_F(SoundTest, EffectReachesTheDeviceSampleForSample) {
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("SELECT.WAV", "TONE.WAV", "BESIDE.WAV", "");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        // Played by full path: the current directory plays no part.
        if (chdir("/") != 0) return 1;
        waitMilliseconds(100);
        playSoundEffect(RemoveSound);
        waitMilliseconds(100);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK);
    std::vector<int16_t> output = readOutput(outputFile);
    std::vector<Span> spans = soundingSpans(output, SPAN_GAP);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].frames(), tone.samples.size() / 2);
    EXPECT_GT(spans[0].begin, 0u) << "silence comes first";
    EXPECT_EQ(countToneCopies(output), 1);
    RecordProperty("output_frames", int(output.size() / 2));
    RecordProperty("tone_start_frame", int(spans[0].begin));
}

TEST_F(SoundTest, EffectsOffOrNamedNonePlayNothingWhileOthersStillPlay) {
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("TONE.WAV", "TONE.WAV", "TONE.WAV", "");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        Settings.SoundEffects = 0;
        playSoundEffect(SelectSound);
        playSoundEffect(RemoveSound);
        playSoundEffect(ErrorSound);
        Settings.SoundEffects = 2;  // only exactly 1 means on
        playSoundEffect(SelectSound);
        Settings.SoundEffects = 1;
        Settings.Sound1[0] = 0;  // NONE
        playSoundEffect(SelectSound);
        copyText(Settings.Sound3, "MISSING.WAV", FILE_NAME_SIZE);
        playSoundEffect(ErrorSound);
        playSoundEffect(SoundEffect(3));  // no such effect
        playSoundEffect(RemoveSound);  // the one that plays
        waitMilliseconds(50);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK);
    std::vector<int16_t> output = readOutput(outputFile);
    EXPECT_EQ(countToneCopies(output), 1);
}

TEST_F(SoundTest, NamesAreFoundWithoutRegardToCase) {
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("tone.WAV", "", "", "");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        playSoundEffect(SelectSound);
        copyText(Settings.Sound1, "TONE.WAV", FILE_NAME_SIZE);
        playSoundEffect(SelectSound);
        waitMilliseconds(50);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK);
    EXPECT_EQ(countToneCopies(readOutput(outputFile)), 2);
}

TEST_F(SoundTest, EffectsFromTwoThreadsPlayOneAfterTheOther) {
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("TONE.WAV", "TONE.WAV", "", "");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        // The window thread selects while the automatic player removes.
        std::thread player([] { playSoundEffect(RemoveSound); });
        playSoundEffect(SelectSound);
        player.join();
        waitMilliseconds(50);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK);
    // Mixed over each other the copies would not be exact.
    EXPECT_EQ(countToneCopies(readOutput(outputFile)), 2);
}

TEST_F(SoundTest, DeliveredRemoveSoundReachesTheDevice) {
    Wave wave;
    ASSERT_TRUE(readWave(DELIVERED_SOUNDS + "REMOVE.WAV", &wave));
    ASSERT_EQ(wave.rate, OUTPUT_RATE);
    ASSERT_EQ(wave.channels, 1);
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("SELECT.WAV", "REMOVE.WAV", "BESIDE.WAV", "");
        useSoundDirectory(DELIVERED_SOUNDS);
        if (!hasWaveDevice()) return int(NO_DEVICE);
        waitMilliseconds(50);
        playSoundEffect(RemoveSound);
        waitMilliseconds(50);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK);
    std::vector<int16_t> output = readOutput(outputFile);
    std::vector<Span> spans = soundingSpans(output, SPAN_GAP);
    ASSERT_EQ(spans.size(), 1u);
    // The mono file is widened to stereo by the mixer, through floating point:
    // each sample may come out one step smaller. Align on the first clearly
    // sounding sample and compare both channels with the file.
    size_t first = 0;
    while (first < wave.samples.size() && std::abs(wave.samples[first]) < 64) ++first;
    ASSERT_LT(first, wave.samples.size());
    size_t at = spans[0].begin;
    while (at < spans[0].end && std::abs(output[2 * at]) < 63) ++at;
    ASSERT_GE(at, first);
    size_t start = at - first;
    ASSERT_LE(2 * (start + wave.samples.size()), output.size());
    std::vector<int16_t> left, right;
    int largestDifference = 0;
    double waveEnergy = 0, outputEnergy = 0;
    for (size_t i = 0; i < wave.samples.size(); ++i) {
        left.push_back(output[2 * (start + i)]);
        right.push_back(output[2 * (start + i) + 1]);
        largestDifference = std::max(largestDifference, std::abs(left.back() - wave.samples[i]));
        waveEnergy += double(wave.samples[i]) * wave.samples[i];
        outputEnergy += double(left.back()) * left.back();
    }
    EXPECT_EQ(left, right);
    EXPECT_LE(largestDifference, 1);
    double similarity = correlation(left.data(), wave.samples.data(), left.size());
    EXPECT_GT(similarity, 0.9999);
    EXPECT_NEAR(outputEnergy / waveEnergy, 1.0, 0.001);
    EXPECT_LE(spans[0].end, start + wave.samples.size()) << "nothing sounds after the effect";
    RecordProperty("largest_difference", largestDifference);
    RecordProperty("correlation_per_million", int(1e6 * similarity));
    RecordProperty("energy_ratio_per_mille", int(1000 * outputEnergy / waveEnergy));
}

// --- Music -------------------------------------------------------------------

// Polls until the music has ended, for at most limit milliseconds.
bool waitForMusicEnd(int limit) {
    for (int waited = 0; platformMusicPlaying(); waited += 50) {
        if (waited >= limit) return false;
        waitMilliseconds(50);
    }
    return true;
}

// The tone after the music marks the moment the music was stopped.
bool endsWithTone(const std::vector<int16_t>& output, const std::vector<Span>& spans, const Wave& tone) {
    return !spans.empty() && spans.back().frames() == tone.samples.size() / 2 &&
           holdsExactly(output, spans.back().begin, tone);
}

TEST_F(SoundTest, MusicSoundsUntilNoneIsChosen) {
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("", "TONE.WAV", "", "MOZK478.MID");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        std::string tones = soundDirectory;
        useSoundDirectory(DELIVERED_SOUNDS);
        waitMilliseconds(100);
        playMusic(nullptr);
        waitMilliseconds(1500);
        if (!platformMusicPlaying()) return int(MUSIC_STATE);
        Settings.Music[0] = 0;  // NONE
        playMusic(nullptr);
        if (platformMusicPlaying()) return int(MUSIC_STATE);
        waitMilliseconds(300);
        useSoundDirectory(tones);
        playSoundEffect(RemoveSound);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK);
    std::vector<int16_t> output = readOutput(outputFile);
    std::vector<Span> spans = soundingSpans(output, SPAN_GAP);
    ASSERT_GE(spans.size(), 2u);
    ASSERT_TRUE(endsWithTone(output, spans, tone)) << "the music was still sounding under the tone";
    Span music{spans.front().begin, spans[spans.size() - 2].end};
    EXPECT_GT(music.frames(), size_t(OUTPUT_RATE / 4));
    EXPECT_GT(rms(output, music), 300.0);
    EXPECT_GT(spans.back().begin - music.end, size_t(OUTPUT_RATE / 20)) << "silence after NONE";
    RecordProperty("music_frames", int(music.frames()));
    RecordProperty("music_rms", int(rms(output, music)));
}

TEST_F(SoundTest, MusicPlaysOnceWithoutRepeating) {
    // One organ note of a quarter second; the piece ends a quarter second
    // later. Played again and again it would strike the note twice a second.
    writeOneNoteMidi(start.file("SOUNDS/short.mid"), 240, 240);
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("", "TONE.WAV", "", "SHORT.MID");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        playMusic(nullptr);
        waitMilliseconds(100);
        if (!platformMusicPlaying()) return int(MUSIC_STATE);
        // The synthesiser lets the reverberation die away before the piece
        // counts as ended; ten seconds is far more than that takes.
        if (!waitForMusicEnd(10000)) return int(MUSIC_STATE);
        waitMilliseconds(1500);
        playSoundEffect(RemoveSound);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK);
    std::vector<int16_t> output = readOutput(outputFile);
    std::vector<Span> spans = soundingSpans(output, SPAN_GAP);
    ASSERT_EQ(spans.size(), 2u) << "the note and its dying away, then the tone";
    ASSERT_TRUE(endsWithTone(output, spans, tone));
    std::vector<Span> loud = soundingSpans(output, OUTPUT_RATE / 10, 200);
    ASSERT_EQ(loud.size(), 2u) << "the note is struck once";
    EXPECT_LT(loud[0].frames(), size_t(OUTPUT_RATE)) << "a quarter-second note and its release";
    EXPECT_GT(rms(output, loud[0]), 300.0);
    RecordProperty("note_loud_frames", int(loud[0].frames()));
    RecordProperty("note_audible_frames", int(spans[0].frames()));
}

TEST_F(SoundTest, ChoosingTheMusicAgainRestartsItFromTheBeginning) {
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("", "TONE.WAV", "", "MOZK478.MID");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        std::string tones = soundDirectory;
        useSoundDirectory(DELIVERED_SOUNDS);
        playMusic(nullptr);
        waitMilliseconds(800);
        playMusic(nullptr);  // the same file chosen again
        waitMilliseconds(800);
        Settings.Music[0] = 0;
        playMusic(nullptr);
        useSoundDirectory(tones);
        playSoundEffect(RemoveSound);
        return int(CHILD_OK);
    });
    ASSERT_EQ(result, CHILD_OK);
    std::vector<int16_t> output = readOutput(outputFile);
    std::vector<Span> spans = soundingSpans(output, SPAN_GAP);
    // Loading the file again leaves a silence between the two beginnings.
    ASSERT_EQ(spans.size(), 3u);
    ASSERT_TRUE(endsWithTone(output, spans, tone));
    const size_t compared = OUTPUT_RATE / 5;
    ASSERT_GE(spans[0].frames(), compared);
    ASSERT_GE(spans[1].frames(), compared);
    double similarity = correlation(&output[2 * spans[0].begin], &output[2 * spans[1].begin], 2 * compared);
    EXPECT_GT(similarity, 0.99);
    EXPECT_GT(rms(output, {spans[0].begin, spans[0].begin + compared}), 300.0);
    RecordProperty("restart_correlation_per_mille", int(1000 * similarity));
}

TEST_F(SoundTest, StartUpMusicStartsOnItsOwnAndGivesWayToAChoice) {
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("", "TONE.WAV", "", "MOZK478.MID");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        std::string tones = soundDirectory;
        useSoundDirectory(DELIVERED_SOUNDS);
        startMusic(nullptr);  // returns at once; the music follows when it is loaded
        for (int waited = 0; !platformMusicPlaying(); waited += 50) {
            if (waited >= 60000) return int(MUSIC_STATE);
            waitMilliseconds(50);
        }
        waitMilliseconds(500);
        // Started again, and NONE chosen while it loads: the load is dropped.
        startMusic(nullptr);
        Settings.Music[0] = 0;
        playMusic(nullptr);
        if (platformMusicPlaying()) return int(MUSIC_STATE);
        waitMilliseconds(300);
        useSoundDirectory(tones);
        playSoundEffect(RemoveSound);
        return int(CHILD_OK);  // the child's end waits for the load in progress
    });
    ASSERT_EQ(result, CHILD_OK);
    std::vector<int16_t> output = readOutput(outputFile);
    std::vector<Span> spans = soundingSpans(output, SPAN_GAP);
    ASSERT_GE(spans.size(), 2u);
    ASSERT_TRUE(endsWithTone(output, spans, tone)) << "music sounded after NONE";
    EXPECT_GT(rms(output, {spans.front().begin, spans[spans.size() - 2].end}), 300.0);
}

TEST_F(SoundTest, MusicThatCannotBeOpenedStaysSilent) {
    start.write("SOUNDS/BROKEN.MID", "MThd this is no music");
    int result = runInChild("disk", outputFile, [] {
        setSoundSettings("", "TONE.WAV", "", "BROKEN.MID");
        if (!hasWaveDevice()) return int(NO_DEVICE);
        playMusic(nullptr);
        // The synthesiser reads the file when it starts and gives up at once.
        if (!waitForMusicEnd(5000)) return int(MUSIC_STATE);
        copyText(Settings.Music, "ABSENT.MID", FILE_NAME_SIZE);
        playMusic(nullptr);
        if (platformMusicPlaying()) return int(MUSIC_STATE);
        waitMilliseconds(200);
        playSoundEffect(RemoveSound);
        return fake::messages.empty() ? int(CHILD_OK) : 1;
    });
    ASSERT_EQ(result, CHILD_OK);
    // The synthesiser renders one buffer of its dither (a step of one at
    // most, far below hearing) before it gives up; nothing else sounds.
    std::vector<int16_t> output = readOutput(outputFile);
    std::vector<Span> spans = soundingSpans(output, SPAN_GAP, 1);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_TRUE(endsWithTone(output, spans, tone));
}

}  // namespace
