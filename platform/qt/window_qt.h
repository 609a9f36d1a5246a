// Inside the window layer: what stands behind a WindowHandle. Only platform/
// includes this header.
#pragma once
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/messages.h"
#include "platform/window.h"

class QMenuBar;
class QToolBar;
class QStatusBar;
class QLabel;
struct PlatformMenu;

enum PlatformWindowKind { WINDOW_KIND_MAIN, WINDOW_KIND_DIALOG };

struct DialogControl {
    int32_t id;
    int32_t kind;  // DialogItemKind
    QPointer<QWidget> widget;
    int group;     // radio group number, -1 for none
};

// Every window ever made keeps its record until the program ends, so that a
// stale handle (say, one held by the automatic player's thread) is harmless.
struct PlatformWindow {
    PlatformWindowKind kind = WINDOW_KIND_MAIN;
    WindowProcedure procedure = nullptr;
    QPointer<QWidget> widget;  // the top-level widget
    std::atomic<bool> destroyed{false};
    bool creating = false;
    bool active = false;  // last WM_SETFOCUS / WM_KILLFOCUS sent

    // Main window.
    QPointer<QWidget> client;  // the client area below the menu bar
    QPointer<QMenuBar> menuBar;
    PlatformMenu* attachedMenu = nullptr;
    QPointer<QToolBar> toolbar;
    QPointer<QStatusBar> statusBar;
    QPointer<QLabel> statusLabel;
    std::map<uint32_t, int> timers;  // our timer id -> Qt's timer id
    int lastClientWidth = -1, lastClientHeight = -1;
    std::atomic<bool> paintPending{false};
    int cursorId = 0;
    int minimumBoardWidth = 0, minimumBoardHeight = 0;  // logical pixels
    // Requested outer frame, kept until the window manager's frame is known.
    int requestedX = 0, requestedY = 0, requestedWidth = 0, requestedHeight = 0;
    bool frameSettled = false;

    // What the client area shows. A 2D frame is shown straight from the surface
    // presented (the board buffer, no copy): the window keeps a pointer to it and
    // reads it while it paints, holding platformSurfaceLock(). A 3D frame is read
    // back from OpenGL into `frame`, which exists only while the 3D view is shown.
    // Both are set from any thread under frameMutex.
    std::mutex frameMutex;
    const struct Surface* shownSurface = nullptr;
    int shownX = 0, shownY = 0;
    QImage frame;
    int deviceWidth = 1, deviceHeight = 1;  // the client area in device pixels
    std::atomic<bool> updatePending{false};

    // Status text posted from any thread.
    std::mutex statusMutex;
    QString pendingStatus;
    std::atomic<bool> statusPending{false};

    // Dialog.
    std::vector<DialogControl> controls;
    int dialogResult = 0;
    bool endRequested = false;
    double unitX = 1.5, unitY = 1.625;  // pixels per dialog unit
    intptr_t dialogParameter = 0;
    int radioGroups = 0;
};

// The object on the window thread that carries calls posted from other threads.
QObject* platformDispatcher();
// Runs fn on the window thread from the event loop; safe from any thread.
void platformRunLater(std::function<void()> fn);

// A live window's record, or null for null, unknown or destroyed handles.
PlatformWindow* platformLiveWindow(WindowHandle window);
// The same test for other threads: known and not destroyed (the widget itself
// belongs to the window thread and is not looked at).
PlatformWindow* platformKnownWindow(WindowHandle window);
PlatformWindow* platformNewWindowRecord();
WindowHandle platformHandleOf(QWidget* widget);  // the window a top-level widget belongs to

int32_t platformDeliver(PlatformWindow* window, uint32_t message, uintptr_t first, intptr_t second);
// Lays out menu bar, client area, toolbar and status bar after a change; sends
// WM_SIZE when the client size changed (not while the window is being made).
void platformLayoutMainWindow(PlatformWindow* window);
double platformDevicePixelRatio(PlatformWindow* window);
// The widget of the board area (client area), for other parts of the layer
// (an OpenGL view, for instance). Null for an unknown handle.
QWidget* platformClientWidget(WindowHandle window);
// The top-level widget of a window, or null: parent for dialogs and boxes.
QWidget* platformTopWidget(WindowHandle window);

// After a modal dialog or box of owner has closed: owner is the active window
// again (as the window manager would do), so that it gets WM_SETFOCUS.
void platformReactivate(QWidget* owner);

// Keeps a dialog out of the task bar and the pager (X11; elsewhere a transient
// dialog is left out by the window manager). Call after the native window
// exists, before it is shown.
void platformKeepOutOfTaskbar(QWidget* window);

// The program icon (all sizes built in).
QIcon platformProgramIcon();
// Qt picture of a surface (opaque).
QImage platformSurfaceImage(const struct Surface* surface);
void platformEnsureResources();
