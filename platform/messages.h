// The main window and its messages: a window procedure receives every event
// of its window as a message with two parameters, as on the system the game
// was first written for. All calls belong to the window thread unless stated.
#pragma once
#include <cstdint>
#include "platform/window.h"

// Returns 0 for a message it handled; other messages go to
// platformDefaultWindowProc, whose result it returns.
typedef int32_t (*WindowProcedure)(WindowHandle window, uint32_t message, uintptr_t first,
                                   intptr_t second);

// Messages (the numbers are those of the old system, for familiarity).
constexpr uint32_t WM_CREATE = 0x0001;     // inside platformCreateMainWindow, before it returns
constexpr uint32_t WM_DESTROY = 0x0002;    // the window is going: the user closed it (close box)
constexpr uint32_t WM_SIZE = 0x0005;       // second = packed client width and height
constexpr uint32_t WM_SETFOCUS = 0x0007;   // the window became the active window
constexpr uint32_t WM_KILLFOCUS = 0x0008;  // another window (a dialog, a message box...) is active
constexpr uint32_t WM_PAINT = 0x000F;      // the client area needs drawing
constexpr uint32_t WM_CLOSE = 0x0010;      // close request; the default procedure destroys the window
constexpr uint32_t WM_NOTIFY = 0x004E;     // first = control id, second = NotifyHeader*
constexpr uint32_t WM_KEYDOWN = 0x0100;    // first = virtual key, second = KEY_REPEAT_FLAG or 0
constexpr uint32_t WM_KEYUP = 0x0101;      // first = virtual key
constexpr uint32_t WM_SYSKEYDOWN = 0x0104; // Alt, F10, or a key pressed with Alt held; first = virtual key
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_INITDIALOG = 0x0110; // dialogs only, see platform/dialogs.h
constexpr uint32_t WM_COMMAND = 0x0111;    // first = command or control id, second = 0
constexpr uint32_t WM_TIMER = 0x0113;      // first = timer id
constexpr uint32_t WM_MOUSEMOVE = 0x0200;  // first = MK_ flags, second = packed client point
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A; // first = (intptr_t) delta (120 a notch, negative
                                           // towards the user), second = packed client point
constexpr uint32_t WM_USER = 0x0400;       // first number free for the program's own messages

// WM_SIZE first parameter.
constexpr uintptr_t SIZE_RESTORED = 0;
constexpr uintptr_t SIZE_MINIMIZED = 1;
constexpr uintptr_t SIZE_MAXIMIZED = 2;

// WM_KEYDOWN second parameter: set when the key is held down and repeating.
constexpr intptr_t KEY_REPEAT_FLAG = 0x40000000;

// Button and modifier flags of the mouse messages.
constexpr uintptr_t MK_LBUTTON = 0x0001;
constexpr uintptr_t MK_RBUTTON = 0x0002;
constexpr uintptr_t MK_SHIFT = 0x0004;
constexpr uintptr_t MK_CONTROL = 0x0008;
constexpr uintptr_t MK_MBUTTON = 0x0010;

// Virtual keys. Letters are their capital ASCII code, main-keyboard digits
// their ASCII code ('0' 0x30 to '9' 0x39).
constexpr uintptr_t VK_BACK = 0x08;
constexpr uintptr_t VK_TAB = 0x09;
constexpr uintptr_t VK_RETURN = 0x0D;
constexpr uintptr_t VK_SHIFT = 0x10;
constexpr uintptr_t VK_CONTROL = 0x11;
constexpr uintptr_t VK_MENU = 0x12;  // Alt
constexpr uintptr_t VK_PAUSE = 0x13;
constexpr uintptr_t VK_ESCAPE = 0x1B;
constexpr uintptr_t VK_SPACE = 0x20;
constexpr uintptr_t VK_PRIOR = 0x21;  // Page Up
constexpr uintptr_t VK_NEXT = 0x22;   // Page Down
constexpr uintptr_t VK_END = 0x23;
constexpr uintptr_t VK_HOME = 0x24;
constexpr uintptr_t VK_LEFT = 0x25;
constexpr uintptr_t VK_UP = 0x26;
constexpr uintptr_t VK_RIGHT = 0x27;
constexpr uintptr_t VK_DOWN = 0x28;
constexpr uintptr_t VK_INSERT = 0x2D;
constexpr uintptr_t VK_DELETE = 0x2E;
constexpr uintptr_t VK_NUMPAD0 = 0x60;  // to VK_NUMPAD9 = 0x69 (keypad digits)
constexpr uintptr_t VK_MULTIPLY = 0x6A;
constexpr uintptr_t VK_ADD = 0x6B;
constexpr uintptr_t VK_SUBTRACT = 0x6D;
constexpr uintptr_t VK_DECIMAL = 0x6E;
constexpr uintptr_t VK_DIVIDE = 0x6F;
constexpr uintptr_t VK_F1 = 0x70;  // to VK_F12 = 0x7B
constexpr uintptr_t VK_F2 = 0x71;
constexpr uintptr_t VK_F3 = 0x72;
constexpr uintptr_t VK_F4 = 0x73;
constexpr uintptr_t VK_F5 = 0x74;
constexpr uintptr_t VK_F6 = 0x75;
constexpr uintptr_t VK_F7 = 0x76;
constexpr uintptr_t VK_F8 = 0x77;
constexpr uintptr_t VK_F9 = 0x78;
constexpr uintptr_t VK_F10 = 0x79;
constexpr uintptr_t VK_F11 = 0x7A;
constexpr uintptr_t VK_F12 = 0x7B;

// Points and sizes travel packed in the second parameter: x (or width) in the
// low 16 bits, y (or height) in the next 16, both signed.
inline intptr_t packPoint(int x, int y) {
    return (intptr_t)(uint32_t)((uint32_t)(uint16_t)x | ((uint32_t)(uint16_t)y << 16));
}
inline int pointX(intptr_t packed) { return (int16_t)(uint16_t)((uint32_t)packed & 0xFFFF); }
inline int pointY(intptr_t packed) { return (int16_t)(uint16_t)(((uint32_t)packed >> 16) & 0xFFFF); }
inline int wheelDelta(uintptr_t first) { return (int)(intptr_t)first; }

// WM_NOTIFY: second points at a structure that starts with this header.
constexpr uint32_t NOTIFY_TOOLTIP_TEXT = 1;  // the structure is a TooltipRequest
struct NotifyHeader {
    uint32_t code;       // NOTIFY_TOOLTIP_TEXT
    uint32_t controlId;  // 1 for the toolbar
};
constexpr int TOOLTIP_TEXT_SIZE = 80;
struct TooltipRequest {
    NotifyHeader header;
    uint32_t commandId;            // command of the toolbar button under the mouse
    char text[TOOLTIP_TEXT_SIZE];  // empty on entry; the procedure writes a zero-terminated
                                   // text (Windows-1252); an empty text shows no tip
};

// The default handling: WM_CLOSE destroys the window (WM_DESTROY is sent to the
// procedure, then the window disappears); Alt+F4 (WM_SYSKEYDOWN with VK_F4)
// sends WM_CLOSE; F10 (a system key, WM_SYSKEYDOWN with VK_F10) opens the first
// menu of the bar; everything else returns 0. Alt with a menu's underlined
// letter opens that menu before any message is sent.
int32_t platformDefaultWindowProc(WindowHandle window, uint32_t message, uintptr_t first,
                                  intptr_t second);

// Creates the hidden main window. The outer frame's top-left corner is placed
// at (x, y) and its outer size is width x height (device pixels), as far as
// the window manager allows. WM_CREATE reaches the procedure before this
// returns (the window then already has its size; the menu bar, toolbar and
// status bar are usually made there); WM_SIZE follows once creation is done.
// Returns null when the window could not be made.
WindowHandle platformCreateMainWindow(const char* title, int x, int y, int width, int height,
                                      WindowProcedure procedure);
// Shows the window (and hides the splash picture); a first WM_PAINT follows.
void platformShowWindow(WindowHandle window);
// Destroys a window at once: WM_DESTROY is sent to its procedure, then the
// window, its menu bar, toolbar and status bar go. The handle stays harmless:
// later calls with it (from any thread) do nothing.
void platformDestroyWindow(WindowHandle window);
// True while the window exists (not destroyed, not closed).
bool platformIsWindow(WindowHandle window);

// Runs the event loop until platformPostQuitMessage; returns its code. A quit
// posted before the loop starts ends it at once.
int platformRunMessageLoop();
// Ends the message loop with code (from the window thread or any other).
void platformPostQuitMessage(int code);

// Calls the window's procedure at once and returns its result (window thread).
int32_t platformSendMessage(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second);
// Queues the message for the window's procedure; safe from any thread. Returns
// false when the window is gone.
bool platformPostMessage(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second);
// Asks for a repaint: one WM_PAINT follows from the event loop (several
// requests before it arrive as one; none while the window is hidden). Safe
// from any thread.
void platformInvalidateWindow(WindowHandle window);

// Starts (or restarts) the window timer id: WM_TIMER with first = id every
// milliseconds, also while a modal dialog is open. false when it cannot start.
bool platformSetTimer(WindowHandle window, uint32_t id, uint32_t milliseconds);
void platformKillTimer(WindowHandle window, uint32_t id);
