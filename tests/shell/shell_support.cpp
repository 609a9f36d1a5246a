#include "tests/shell/shell_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/qt/window_qt.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"

#ifndef MJ_SOURCE_DIR
#error "MJ_SOURCE_DIR must name the source tree"
#endif

namespace shelltest {
namespace {

std::unique_ptr<QTemporaryDir> startDirectory;
QString previousDirectory;

void copyDirectory(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files)) QFile::copy(from + "/" + name, to + "/" + name);
}

void dumpMenu(QWidget* menu, int depth, QString& out) {
    for (QAction* action : menu->actions()) {
        QString line(depth * 2, ' ');
        if (action->isSeparator()) {
            line += "-";
        } else if (action->menu()) {
            line += shownText(action) + " >";
        } else {
            line += shownText(action) + " [" + QString::number(action->property("mjCommand").toUInt()) + "]";
            if (action->isChecked()) line += " *";
        }
        out += line + "\n";
        if (action->menu()) dumpMenu(action->menu(), depth + 1, out);
    }
}

QMenu* findMenu(QWidget* menu, const QString& title) {
    for (QAction* action : menu->actions()) {
        if (!action->menu()) continue;
        if (shownText(action) == title) return action->menu();
        if (QMenu* inner = findMenu(action->menu(), title)) return inner;
    }
    return nullptr;
}

}  // namespace

QString makeStartDirectory(QTemporaryDir& directory, const GameOptions& options) {
    const QString data = QStringLiteral(MJ_SOURCE_DIR) + "/data";
    const QString root = directory.path();
    copyDirectory(data + "/LANGUAGE", root + "/LANGUAGE");
    copyDirectory(data + "/LAYOUTS", root + "/LAYOUTS");
    QFile::link(data + "/TILESETS", root + "/TILESETS");
    QFile::link(data + "/BACKGRND", root + "/BACKGRND");
    QFile::link(data + "/SOUNDS", root + "/SOUNDS");
    QDir().mkpath(root + "/SCORES");
    QDir().mkpath(root + "/SAVEGAME");
    if (options.writeSettings) {
        QStringList lines = {"; test settings", "Language        = \"ENGLISH.TXT\"",
                             "Layout          = \"DEFAULT.MYL\"", "TileSet         = \"STANDARD.BMP\"",
                             "Background      = \"SUNSET.BMP\"", "RemoveTileTime  = 0",
                             "WindowXPos      = 0", "WindowYPos      = 0", "WindowXSize     = 800",
                             "WindowYSize     = 600"};
        lines += options.settingsLines;
        QFile file(root + "/MAH-JONG.INI");
        file.open(QIODevice::WriteOnly);
        file.write(lines.join("\r\n").toLatin1());
    }
    return root;
}

bool startGame(const GameOptions& options) {
    startDirectory.reset(new QTemporaryDir());
    previousDirectory = QDir::currentPath();
    const QString root = makeStartDirectory(*startDirectory, options);
    platformSetCurrentDirectory(root.toLocal8Bit().constData());
    if (!prepareProgram()) return false;
    if (!openMainWindow()) return false;
    settle();
    return true;
}

void stopGame() {
    if (platformIsWindow(mainWindow)) platformDestroyWindow(mainWindow);
    // Takes the quit posted by the shutdown (posted here again in case a test
    // took it already).
    platformPostQuitMessage(0);
    platformRunMessageLoop();
    settle();
    platformSetCurrentDirectory(previousDirectory.toLocal8Bit().constData());
    startDirectory.reset();
}

QString startPath() { return startDirectory ? startDirectory->path() : QString(); }

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

QMenuBar* menuBarWidget() {
    PlatformWindow* window = platformLiveWindow(mainWindow);
    return window ? window->menuBar.data() : nullptr;
}

QToolBar* toolBarWidget() {
    PlatformWindow* window = platformLiveWindow(mainWindow);
    return window ? window->toolbar.data() : nullptr;
}

QString statusBarText() {
    settle();
    PlatformWindow* window = platformLiveWindow(mainWindow);
    return window && window->statusLabel ? window->statusLabel->text() : QString();
}

QString windowCaption() {
    QWidget* top = platformTopWidget(mainWindow);
    return top ? top->windowTitle() : QString();
}

QString menuTree() {
    QString out;
    if (QMenuBar* bar = menuBarWidget()) dumpMenu(bar, 0, out);
    return out;
}

QString shownText(const QAction* action) {
    QString text = action->text(), shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;  // "&x" shows x, "&&" an "&"
        shown += text[i];
    }
    return shown;
}

QStringList menuItems(const QString& title) {
    QStringList items;
    QMenuBar* bar = menuBarWidget();
    QMenu* menu = bar ? findMenu(bar, title) : nullptr;
    if (!menu) return items;
    QString out;
    dumpMenu(menu, 0, out);
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) items << line.trimmed();
    return items;
}

void whenModal(std::function<void(QWidget*)> body) {
    auto* poll = new QTimer();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, body] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        body(modal);
    });
    poll->start();
}

void closeModal(QWidget* modal, bool accept) {
    if (QMessageBox* box = qobject_cast<QMessageBox*>(modal)) {
        QAbstractButton* button = box->button(accept ? QMessageBox::Ok : QMessageBox::Cancel);
        if (!button) button = box->button(QMessageBox::Ok);
        if (button) button->click();
        return;
    }
    if (WindowHandle dialog = platformHandleOf(modal)) {
        platformEndDialog(dialog, accept ? 1 : 0);
        return;
    }
    modal->close();
}

namespace {
QTimer* autoCloser = nullptr;
QStringList autoClosed;
}  // namespace

void startAutoClose(bool accept) {
    stopAutoClose();
    autoClosed.clear();
    autoCloser = new QTimer();
    autoCloser->setInterval(10);
    QObject::connect(autoCloser, &QTimer::timeout, [accept] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal->property("mjAutoClosed").toBool()) return;
        modal->setProperty("mjAutoClosed", true);
        QString text = modal->windowTitle();
        if (QMessageBox* box = qobject_cast<QMessageBox*>(modal)) text += " / " + box->text();
        autoClosed << text;
        closeModal(modal, accept);
    });
    autoCloser->start();
}

QStringList stopAutoClose() {
    if (autoCloser) {
        autoCloser->stop();
        delete autoCloser;
        autoCloser = nullptr;
    }
    return autoClosed;
}

}  // namespace shelltest
