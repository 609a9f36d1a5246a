// The null host of the tests: installed in place of the shell before main,
// it shows nothing and records every call the game makes to its host
// (engine/host.h), so that the core, the views and the dialogs can be tested
// without a window. Test targets built for mahjong define MAHJONG_3D 1: the
// host then has the 3D view. A test may plug a real function into one entry
// of `host` (the dialog tests fit the real faces) and fake::reset() puts the
// recorder back.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fake {

struct Message {
    int kind;  // PlatformMessageKind
    std::string text;
};

extern std::vector<Message> messages;
extern std::vector<int> sounds;  // SoundEffect values in the order played
extern std::string windowTitle;
extern int paintCount;
extern int layoutCount;
extern int drawCount;
extern int fadeCount;
extern std::atomic<int> statusCount;  // refreshed from any thread
extern int releaseCount;
extern int winnerDialogCount;
extern int hallDialogCount;
extern int fitFaceSizeCount;
extern int initGLStateCount;
extern bool answerOk;               // answer of OK/Cancel questions
extern std::string winnerName;      // typed into the winner's dialog
extern bool chooseFileResult;       // the file dialog is confirmed
extern std::string chooseFileName;  // and returns this bare name
extern int windowLeft, windowTop, windowRight, windowBottom;
extern int clientWidth, clientHeight;  // the main window's client area

// Frames shown (presentFrame): how many, where, and copies of the first keepFrames of them.
extern int presentCount;
extern int presentX, presentY;
extern std::vector<std::vector<uint32_t>> frames;
extern int frameWidth, frameHeight;
extern size_t keepFrames;
// When not empty, every frame shown is compared with it and differences counted.
extern std::vector<uint32_t> expectedFrame;
extern int mismatchCount;

// Called by drawBoard2D with its arguments when set (from whichever thread
// draws; the automatic player draws with the board lock held).
extern std::function<void(int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile)> drawHook;
// Called by playSound with the effect when set, after recording it.
extern std::function<void(int effect)> soundHook;
// Repaints asked for from any thread (requestRepaint).
extern std::atomic<int> postCount;

// Every record emptied, every answer at its default, every entry of the host
// the recorder again.
void reset();
// Texts of the messages shown so far, joined by newlines.
std::string messageLog();

}  // namespace fake
