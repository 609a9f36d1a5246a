// Window-manager hints Qt does not give: on X11 a dialog stays out of the task
// bar and the pager (_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER).
// Qt merges these with the states it sets itself when the window is mapped.
#include <QGuiApplication>
#include <QWidget>

#include "platform/qt/window_qt.h"

#if MJ_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, (uint16_t)std::strlen(name), name), nullptr);
    if (!reply) return XCB_ATOM_NONE;
    xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace
#endif

void platformKeepOutOfTaskbar(QWidget* window) {
#if MJ_HAVE_XCB
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* connection = x11->connection();
    const xcb_atom_t state = atomNamed(connection, "_NET_WM_STATE");
    const xcb_atom_t states[2] = {atomNamed(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                  atomNamed(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE || states[0] == XCB_ATOM_NONE || states[1] == XCB_ATOM_NONE) return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, (xcb_window_t)window->winId(), state, XCB_ATOM_ATOM,
                        32, 2, states);
    xcb_flush(connection);
#else
    (void)window;
#endif
}
