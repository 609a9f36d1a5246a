// Window-manager hints Qt does not give: on X11 a dialog's caption bar gets
// no close, minimise or maximise buttons (the decorations of the Motif hints;
// Qt sets only the functions, which some window managers ignore for buttons).
#include <QGuiApplication>
#include <QWidget>

#include "platform/qt/window_qt.h"

#if MJ_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstring>
#endif

void platformCaptionWithoutButtons(QWidget* window) {
#if MJ_HAVE_XCB
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* connection = x11->connection();
    const char name[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, (uint16_t)std::strlen(name), name), nullptr);
    if (!atom) return;
    // flags: functions and decorations; functions: move; decorations: border and title.
    const uint32_t hints[5] = {0x1 | 0x2, 0x4, 0x2 | 0x8, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, (xcb_window_t)window->winId(), atom->atom,
                        atom->atom, 32, 5, hints);
    xcb_flush(connection);
    free(atom);
#else
    (void)window;
#endif
}
