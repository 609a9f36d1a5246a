// A small program to look at the window layer for real: a main window with a
// menu, toolbar, status bar and a presented gradient; a click marks the spot,
// keys and commands are echoed in the status bar. Not a test.
#include <QImage>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/app.h"
#include "platform/cursors.h"
#include "platform/dialogs.h"
#include "platform/filedialogs.h"
#include "platform/menus.h"
#include "platform/messages.h"
#include "platform/resources.h"
#include "platform/splash.h"
#include "platform/statusbar.h"
#include "platform/surface.h"
#include "platform/toolbar.h"
#include "platform/ui.h"

namespace {

constexpr uint32_t CMD_NEW = 40000, CMD_EASY = 40002, CMD_ANIMATE = 40003, CMD_EXIT = 40010,
                   CMD_SHADOWS = 40012, CMD_COLOURS = 40014, CMD_CONFIG = 40016, CMD_LOAD = 40018,
                   CMD_HELP = 40021, CMD_ABOUT = 40022, CMD_MESSAGE = 40030;
int toolbarHeight = 0, statusHeight = 0;
std::vector<uint32_t> boardPixels;
Surface board{0, 0, nullptr};
MenuHandle bar = nullptr;
bool shadows = false;
int clickX = -1, clickY = -1;
std::atomic<bool> animating{false};
char status[4200];

Surface surfaceFromResource(int id, std::vector<uint32_t>& pixels) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    QImage image;
    if (platformResourceData(id, &data, &size)) image.loadFromData(data, (int)size);
    image = image.convertToFormat(QImage::Format_RGB32);
    pixels.assign((size_t)image.width() * (size_t)image.height(), 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb c = image.pixel(x, y);
            pixels[(size_t)(y * image.width() + x)] =
                (uint32_t)qRed(c) | ((uint32_t)qGreen(c) << 8) | ((uint32_t)qBlue(c) << 16);
        }
    return Surface{image.width(), image.height(), pixels.data()};
}

void drawBoard(WindowHandle window, int phase) {
    int width, height;
    platformGetClientSize(window, &width, &height);
    height -= toolbarHeight + statusHeight;
    if (width <= 0 || height <= 0) return;
    // The window reads the presented surface while it paints.
    std::lock_guard<std::recursive_mutex> lock(platformSurfaceLock());
    boardPixels.assign((size_t)width * (size_t)height, 0);
    board = Surface{width, height, boardPixels.data()};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t r = (uint32_t)((x + phase) * 255 / width) & 0xFF, g = (uint32_t)(y * 255 / height);
            uint32_t b = shadows ? 0x20 : 0x90;
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1) r = g = b = 255;
            if (clickX >= 0 && (std::abs(x - clickX) < 6 && std::abs(y - (clickY - toolbarHeight)) < 6))
                r = g = b = 0;
            boardPixels[(size_t)(y * width + x)] = r | (g << 8) | (b << 16);
        }
    platformPresentSurface(window, &board, 0, toolbarHeight);
}

const DialogItem configItems[] = {
    {DIALOG_CHECKBOX, 10702, 10, 28, 131, 10, "Stretch tiles", 0},
    {DIALOG_GROUPBOX, 10703, 150, 9, 107, 43, "Select mode", 0},
    {DIALOG_RADIO, 10704, 160, 20, 88, 10, "Darker", 0},
    {DIALOG_RADIO, 10705, 160, 36, 88, 10, "Invert", 0},
    {DIALOG_GROUPBOX, 10706, 10, 62, 133, 29, "Automatic play delay", 0},
    {DIALOG_BUTTON, 10708, 17, 72, 14, 14, "-", 0},
    {DIALOG_BUTTON, 10707, 37, 72, 14, 14, "+", 0},
    {DIALOG_STATIC, 10709, 58, 75, 76, 8, "500 ms", 0},
    {DIALOG_STATIC, 10800, 10, 100, 60, 8, "Your name :", 0},
    {DIALOG_EDIT, 10801, 70, 98, 70, 12, nullptr, 0},
    {DIALOG_LIST, 10802, 150, 62, 107, 60, nullptr, 0},
    {DIALOG_SWATCH, 10803, 150, 100, 14, 14, nullptr, 0},
    {DIALOG_ICON, 901, 220, 95, 21, 20, nullptr, 0},
    {DIALOG_DEFAULT_BUTTON, 10701, 108, 139, 50, 14, "OK", 0},
};
const DialogTemplate configTemplate = {"Configuration", 266, 159, configItems,
                                       (int32_t)(sizeof configItems / sizeof configItems[0])};
int delay = 500;
uint32_t swatchColour = 0x0018B8u;

int32_t configProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    char text[64];
    switch (message) {
        case WM_INITDIALOG:
            platformSetWindowTitle(dialog, "Configuration \xE9\x80");
            platformSetItemChecked(dialog, 10704, true);
            for (const char* name : {"English", "Fran\xE7" "ais", "deutsch", "Espa\xF1ol"})
                platformListAdd(dialog, 10802, name);
            platformListSelectPrefix(dialog, 10802, "ENG");
            return 0;
        case WM_PAINT: platformSetSwatchColour(dialog, 10803, swatchColour); return 0;
        case WM_COMMAND:
            if (first == 10707) delay += 100;
            if (first == 10708 && delay >= 100) delay -= 100;
            std::snprintf(text, sizeof text, "%d ms", delay);
            platformSetItemText(dialog, 10709, text);
            if (first == 10701) platformEndDialog(dialog, 1);
            return 0;
        case WM_CLOSE: return 0;  // only OK closes it
        default: return 0;
    }
}

void animate(WindowHandle window) {
    for (int phase = 0; phase < 120 && animating; ++phase) {
        drawBoard(window, phase * 8);
        std::snprintf(status, sizeof status, "frame %d from the drawing thread", phase);
        platformSetStatusText(window, status);
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    animating = false;
}

// The rectangle a second run can be given to reopen at the same place.
void printRect(WindowHandle window) {
    int left, top, right, bottom, width, height;
    platformGetWindowRect(window, &left, &top, &right, &bottom);
    platformGetClientSize(window, &width, &height);
    std::printf("%d %d %d %d (client %d x %d, frame width %d height %d caption %d menu %d)\n", left, top,
                right - left, bottom - top, width, height, platformMetric(METRIC_FRAME_WIDTH),
                platformMetric(METRIC_FRAME_HEIGHT), platformMetric(METRIC_CAPTION_HEIGHT),
                platformMetric(METRIC_MENU_HEIGHT));
    std::fflush(stdout);
}

int32_t demoProc(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second) {
    switch (message) {
        case WM_CREATE: {
            bar = platformCreateMenuBar();
            MenuHandle game = platformCreatePopupMenu();
            platformAppendMenuItem(game, CMD_NEW, "&New game\tF2");
            platformAppendMenuItem(game, CMD_EASY, "&Easy mode");
            platformAppendMenuItem(game, CMD_ANIMATE, "&Animate");
            platformAppendSeparator(game);
            platformAppendMenuItem(game, CMD_MESSAGE, "&Message box");
            platformAppendMenuItem(game, CMD_LOAD, "&Open a file...\tF4");
            platformAppendSeparator(game);
            platformAppendMenuItem(game, CMD_EXIT, "E&xit\tF12");
            platformAppendSubmenu(bar, game, "&Game");
            MenuHandle options = platformCreatePopupMenu();
            platformAppendMenuItem(options, CMD_SHADOWS, "&Shadows\tF9");
            MenuHandle language = platformCreatePopupMenu();
            platformAppendMenuItem(language, 20000, "English");
            platformAppendMenuItem(language, 20001, "Fran\xE7" "ais");
            platformAppendSubmenu(options, language, "&Language");
            platformAppendMenuItem(options, CMD_CONFIG, "&Configuration...");
            platformAppendMenuItem(options, CMD_COLOURS, "C&olours...");
            platformAppendSubmenu(bar, options, "&Options");
            MenuHandle help = platformCreatePopupMenu();
            platformAppendMenuItem(help, CMD_HELP, "&Help\tF1");
            platformAppendMenuItem(help, CMD_ABOUT, "&About...");
            platformAppendSubmenu(bar, help, "&Help");
            platformAttachMenuBar(window, bar);
            platformCheckMenuItem(bar, 20000, true);

            static std::vector<uint32_t> stripPixels;
            Surface strip = surfaceFromResource(RESOURCE_ICON_STRIP, stripPixels);
            ToolbarEntry entries[] = {{CMD_LOAD, 0}, {CMD_NEW, 1}, {0, TOOLBAR_SEPARATOR}, {40004, 4},
                                      {40005, 3},    {40006, 2},   {0, TOOLBAR_SEPARATOR}, {40023, 5},
                                      {40017, 6},    {0, TOOLBAR_SEPARATOR}, {CMD_HELP, 7}, {CMD_ABOUT, 8},
                                      {CMD_EXIT, 9}};
            toolbarHeight = platformCreateToolbar(window, &strip, entries, 13);
            // Menu icons from the same strip, on the menu's background.
            uint32_t background = platformMenuBackgroundColour();
            const uint32_t icons[][2] = {{CMD_LOAD, 0}, {CMD_NEW, 1}, {CMD_HELP, 7}, {CMD_ABOUT, 8}, {CMD_EXIT, 9}};
            for (const auto& icon : icons) {
                std::vector<uint32_t> pixels(256);
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x) {
                        uint32_t c = strip.pixels ? strip.pixels[y * strip.width + (int)icon[1] * 16 + x] : 0;
                        pixels[(size_t)(y * 16 + x)] = c == 0xC0C0C0u ? background : c;
                    }
                Surface s{16, 16, pixels.data()};
                platformSetMenuItemIcon(bar, icon[0], &s);
            }
            statusHeight = platformCreateStatusBar(window);
            platformSetTimer(window, 900, 1000);
            platformSetCursor(window, CURSOR_RESOURCE_NORMAL);
            return 0;
        }
        case WM_SIZE:
        case WM_PAINT:
        case WM_SETFOCUS:
            if (!animating) drawBoard(window, 0);  // the drawing thread owns the picture meanwhile
            return 0;
        case WM_KILLFOCUS: platformSetStatusText(window, "focus lost"); return 0;
        case WM_TIMER: {
            static int seconds = 0;
            std::snprintf(status, sizeof status, "144 Tiles                    Chrono : %02d:%02d", seconds / 60,
                          seconds % 60);
            ++seconds;
            if (!animating) platformSetStatusText(window, status);
            return 0;
        }
        case WM_KEYDOWN:
            std::snprintf(status, sizeof status, "key down 0x%02X", (unsigned)first);
            platformSetStatusText(window, status);
            if (first == VK_F12) platformSendMessage(window, WM_COMMAND, CMD_EXIT, 0);
            if (first == VK_F9) platformSendMessage(window, WM_COMMAND, CMD_SHADOWS, 0);
            return 0;
        case WM_MOUSEMOVE:
            platformSetCursor(window, first == MK_LBUTTON ? CURSOR_RESOURCE_PRESSED : CURSOR_RESOURCE_NORMAL);
            return 0;
        case WM_LBUTTONDOWN:
            if (animating) {
                animating = false;
                return 0;
            }
            clickX = pointX(second);
            clickY = pointY(second);
            std::snprintf(status, sizeof status, "click at %d, %d (client)", clickX, clickY);
            platformSetStatusText(window, status);
            drawBoard(window, 0);
            return 0;
        case WM_RBUTTONDOWN: platformSetStatusText(window, "right button: undo"); return 0;
        case WM_MOUSEWHEEL:
            std::snprintf(status, sizeof status, "wheel %d", wheelDelta(first));
            platformSetStatusText(window, status);
            return 0;
        case WM_NOTIFY: {
            TooltipRequest* request = reinterpret_cast<TooltipRequest*>(second);
            if (request->header.code == NOTIFY_TOOLTIP_TEXT)
                std::snprintf(request->text, sizeof request->text, "Command %u", (unsigned)request->commandId);
            return 0;
        }
        case WM_COMMAND:
            std::snprintf(status, sizeof status, "command %u", (unsigned)first);
            platformSetStatusText(window, status);
            switch (first) {
                case CMD_SHADOWS:
                    shadows = !shadows;
                    platformCheckMenuItem(bar, CMD_SHADOWS, shadows);
                    if (!animating) drawBoard(window, 0);
                    break;
                case 20000:
                case 20001:
                    platformCheckMenuItem(bar, 20000, first == 20000);
                    platformCheckMenuItem(bar, 20001, first == 20001);
                    break;
                case CMD_EASY:
                    platformMessageBox(window, "Velmora's mah-jong v2.0", "Start a new game in easy mode ?",
                                       PLATFORM_MB_OKCANCEL_INFORMATION);
                    break;
                case CMD_MESSAGE:
                    platformMessageBox(window, "Velmora's mah-jong v2.0", "DEFAULT.MYL : read error \x80",
                                       PLATFORM_MB_EXCLAMATION);
                    break;
                case CMD_ANIMATE:
                    if (!animating.exchange(true)) std::thread(animate, window).detach();
                    break;
                case CMD_CONFIG: platformRunDialog(window, &configTemplate, configProc, 0); break;
                case CMD_COLOURS: {
                    uint32_t chosen;
                    if (platformChooseColour(window, swatchColour, &chosen)) swatchColour = chosen;
                    break;
                }
                case CMD_LOAD: {
                    char name[4096];
                    if (platformFileDialog(window, true, ".", "*.MYL", "Layouts", "Velmora's mah-jong v2.0", name,
                                           sizeof name)) {
                        std::snprintf(status, sizeof status, "chosen: %s", name);
                        platformSetStatusText(window, status);
                    }
                    break;
                }
                case CMD_HELP: platformShowHelp(window, "ENGLISH.HLP", "Velmora's mah-jong v2.0"); break;
                case CMD_EXIT:
                    printRect(window);
                    platformDestroyMenu(bar);
                    platformKillTimer(window, 900);
                    platformPostQuitMessage(0);
                    break;
            }
            return 0;
        case WM_DESTROY:
            printRect(window);
            platformDestroyMenu(bar);
            platformPostQuitMessage(0);
            return 0;
        default: return platformDefaultWindowProc(window, message, first, second);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!platformInitialise(argc, argv)) return 1;
    std::vector<uint32_t> splashPixels(300 * 120);
    for (int i = 0; i < 300 * 120; ++i) splashPixels[(size_t)i] = 0x00305070u + (uint32_t)((i % 300) / 2);
    Surface splash{300, 120, splashPixels.data()};
    platformShowSplash(&splash);
    int x = 40, y = 30, width = 800, height = 600;  // or as given: x y width height
    if (argc == 5) {
        x = std::atoi(argv[1]);
        y = std::atoi(argv[2]);
        width = std::atoi(argv[3]);
        height = std::atoi(argv[4]);
    }
    WindowHandle window = platformCreateMainWindow("Velmora's mah-jong v2.0 - DEFAULT", x, y, width, height, demoProc);
    if (!window) return 1;
    platformShowWindow(window);
    int code = platformRunMessageLoop();
    animating = false;
    return code;
}
