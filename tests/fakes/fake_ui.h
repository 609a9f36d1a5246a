// Recording stand-ins for the window side of the game (message boxes, sounds,
// repaints, dialogs), so that the core can be tested without a window.
#pragma once
#include <atomic>
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
extern int statusCount;
extern int releaseCount;
extern int winnerDialogCount;
extern int hallDialogCount;
extern bool answerOk;               // answer of OK/Cancel questions
extern std::string winnerName;      // typed into the winner's dialog
extern bool chooseFileResult;       // the file dialog is confirmed
extern std::string chooseFileName;  // and returns this bare name
extern int windowLeft, windowTop, windowRight, windowBottom;

// Called by drawBoard2D with its arguments when set (from whichever thread
// draws; the automatic player draws with the board lock held).
extern std::function<void(int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile)> drawHook;
// Called by playSoundEffect with the effect when set, after recording it.
extern std::function<void(int effect)> soundHook;
// Messages posted to a window (platformPostMessage), from any thread.
extern std::atomic<int> postCount;

void reset();
// Texts of the messages shown so far, joined by newlines.
std::string messageLog();

}  // namespace fake
