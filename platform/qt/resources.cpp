// Resources built in with Qt's resource system: the program icon 907, the
// cursors 904 and 905 with their hot spots, the icon strips 902 and 903.
#include <QByteArray>
#include <QFile>
#include <QIcon>
#include <QTextStream>
#include <mutex>

#include "platform/qt/window_qt.h"
#include "platform/resources.h"

static void initialiseResources() { Q_INIT_RESOURCE(resources); }

namespace {

struct ResourceFile {
    int id;
    const char* path;
    QByteArray* bytes;  // read once, kept for the whole run
};

ResourceFile resourceFiles[] = {
    {RESOURCE_ICON_STRIP, ":/mahjong/iconstrip.bmp", nullptr},
    {RESOURCE_LARGE_ICON_STRIP, ":/mahjong/iconstrip-32.bmp", nullptr},
    {RESOURCE_NORMAL_CURSOR, ":/mahjong/cursor-904.png", nullptr},
    {RESOURCE_PRESSED_CURSOR, ":/mahjong/cursor-905.png", nullptr},
    {RESOURCE_PROGRAM_ICON, ":/mahjong/icon-32.png", nullptr},
};

std::mutex resourceMutex;

}  // namespace

void platformEnsureResources() {
    static std::once_flag once;
    std::call_once(once, initialiseResources);
}

bool platformResourceData(int id, const uint8_t** data, size_t* size) {
    platformEnsureResources();
    std::lock_guard<std::mutex> lock(resourceMutex);
    for (ResourceFile& file : resourceFiles) {
        if (file.id != id) continue;
        if (!file.bytes) {
            QFile input(QString::fromLatin1(file.path));
            if (!input.open(QIODevice::ReadOnly)) return false;
            file.bytes = new QByteArray(input.readAll());
        }
        if (file.bytes->isEmpty()) return false;
        if (data) *data = reinterpret_cast<const uint8_t*>(file.bytes->constData());
        if (size) *size = (size_t)file.bytes->size();
        return true;
    }
    return false;
}

QIcon platformProgramIcon() {
    platformEnsureResources();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/mahjong/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

// Hot spot of a cursor resource from the list built in beside the pictures:
// lines "<id> <x> <y>", "#" starting a comment.
bool platformCursorHotSpot(int id, int* x, int* y) {
    platformEnsureResources();
    QFile input(QStringLiteral(":/mahjong/cursors.txt"));
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream stream(&input);
    while (!stream.atEnd()) {
        QString line = stream.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool ok1 = false, ok2 = false, ok3 = false;
        if (fields.size() < 3 || fields[0].toInt(&ok1) != id) continue;
        int hotX = fields[1].toInt(&ok2), hotY = fields[2].toInt(&ok3);
        if (!ok1 || !ok2 || !ok3 || hotX < 0 || hotX > 31 || hotY < 0 || hotY > 31) return false;
        *x = hotX;
        *y = hotY;
        return true;
    }
    return false;
}
