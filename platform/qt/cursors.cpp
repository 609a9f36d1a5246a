// The cursors of the board area.
#include <QCursor>
#include <QPixmap>

#include "platform/cursors.h"
#include "platform/qt/window_qt.h"

bool platformCursorHotSpot(int id, int* x, int* y);  // resources.cpp

namespace {

bool makeCursor(int id, QCursor* cursor) {
    switch (id) {
        case CURSOR_ARROW: *cursor = QCursor(Qt::ArrowCursor); return true;
        case CURSOR_APPSTARTING: *cursor = QCursor(Qt::BusyCursor); return true;
        case CURSOR_RESOURCE_NORMAL:
        case CURSOR_RESOURCE_PRESSED: {
            QPixmap picture(QStringLiteral(":/mahjong/cursor-%1.png").arg(id));
            int x = 0, y = 0;
            if (picture.isNull() || !platformCursorHotSpot(id, &x, &y)) return false;
            *cursor = QCursor(picture, x, y);
            return true;
        }
        default: return false;
    }
}

}  // namespace

bool platformSetCursor(WindowHandle handle, int cursorId) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || !window->client) return false;
    static QCursor cache[4];
    static bool made[4] = {false, false, false, false};
    int slot = cursorId == CURSOR_ARROW ? 0 : cursorId == CURSOR_APPSTARTING ? 1
             : cursorId == CURSOR_RESOURCE_NORMAL ? 2 : cursorId == CURSOR_RESOURCE_PRESSED ? 3 : -1;
    if (slot < 0) return false;
    if (!made[slot]) {
        if (!makeCursor(cursorId, &cache[slot])) return false;
        made[slot] = true;
    }
    if (window->cursorId != cursorId) {
        window->cursorId = cursorId;
        window->client->setCursor(cache[slot]);
    }
    return true;
}
