// The file dialogs, the colour chooser and the help viewer.
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QTimer>
#include <QTextBrowser>
#include <QUrl>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/filedialogs.h"
#include "platform/files.h"
#include "platform/qt/caption.h"
#include "platform/qt/text.h"
#include "platform/qt/window_qt.h"
#include "platform/ui.h"

namespace {

// "*.MYL" -> "MYL"; no extension for other patterns.
QString extensionOf(const QString& pattern) {
    if (pattern.startsWith(QLatin1String("*.")) && pattern.size() > 2 && pattern.indexOf(QLatin1Char('*'), 1) < 0)
        return pattern.mid(2);
    return QString();
}

// The game opens and saves its files by bare name in one data folder, so its
// file dialogs never leave that folder: there is no way up or into another
// folder, and a name typed with a path elsewhere is not taken.
class FolderFileDialog : public QFileDialog {
public:
    FolderFileDialog(QWidget* parent, const QString& caption, const QString& folder)
        : QFileDialog(parent, caption, folder), folder_(QDir(folder).canonicalPath()) {}

    bool inFolder(const QString& path) const {
        QFileInfo file(path);
        return !file.isDir() && QDir(file.absolutePath()).canonicalPath() == folder_;
    }
    void stayInFolder() {
        for (const char* name : {"lookInCombo", "backButton", "forwardButton", "toParentButton", "newFolderButton"})
            if (QWidget* widget = findChild<QWidget*>(QLatin1String(name))) widget->setEnabled(false);
        if (QWidget* sidebar = findChild<QWidget*>(QStringLiteral("sidebar"))) sidebar->hide();
        if (QFileSystemModel* files = findChild<QFileSystemModel*>())
            connect(files, &QFileSystemModel::rootPathChanged, this, [this](const QString& path) {
                if (QDir(path).canonicalPath() != folder_)
                    QTimer::singleShot(0, this, [this] { setDirectory(folder_); });
            });
    }

    void accept() override {
        const QStringList files = selectedFiles();
        if (files.isEmpty() || !inFolder(files.first())) {
            setDirectory(folder_);  // a path elsewhere (or a folder): stay here, keep the dialog open
            return;
        }
        QFileDialog::accept();
    }

private:
    QString folder_;
};

constexpr int PATH_SIZE = 4096;
QPointer<QWidget> helpWindow;
QPointer<QTextBrowser> helpBrowser;
QUrl helpHome;  // the help file's start, where Home goes

constexpr int HELP_WIDTH = 640, HELP_HEIGHT = 760;  // at most; the screen may hold less

// The help viewer: Back, Forward and Home above the page.
void makeHelpWindow() {
    QWidget* window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(platformProgramIcon());
    QVBoxLayout* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QToolBar* buttons = new QToolBar(window);
    buttons->setObjectName(QStringLiteral("mjHelpButtons"));
    buttons->setMovable(false);
    buttons->setToolButtonStyle(Qt::ToolButtonIconOnly);  // the names are the tips
    QTextBrowser* browser = new QTextBrowser(window);
    browser->setOpenLinks(true);
    browser->setOpenExternalLinks(false);
    QStyle* style = window->style();
    QAction* back = buttons->addAction(style->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    QAction* forward = buttons->addAction(style->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    QAction* home = buttons->addAction(style->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Home"));
    back->setObjectName(QStringLiteral("mjHelpBack"));
    forward->setObjectName(QStringLiteral("mjHelpForward"));
    home->setObjectName(QStringLiteral("mjHelpHome"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    QObject::connect(back, &QAction::triggered, browser, &QTextBrowser::backward);
    QObject::connect(forward, &QAction::triggered, browser, &QTextBrowser::forward);
    QObject::connect(home, &QAction::triggered, browser, [browser] {
        browser->setSource(helpHome);
        browser->verticalScrollBar()->setValue(0);
    });
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    layout->addWidget(buttons);
    layout->addWidget(browser);
    helpWindow = window;
    helpBrowser = browser;
    QObject::connect(browser, &QTextBrowser::sourceChanged, window, [window, browser] {
        QString documentTitle = browser->documentTitle();
        if (!documentTitle.isEmpty()) window->setWindowTitle(documentTitle);
    });
}

// Beside the game's window where the screen has room (right, else left),
// otherwise over its right part; never taller than the screen's work area.
void placeHelpWindow(QWidget* game) {
    QScreen* screen = game ? game->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect work = screen->availableGeometry();
    // The window manager's frame, as the game's window has it (none before one is known).
    QMargins frame;
    if (game && game->isVisible()) {
        const QRect outer = game->frameGeometry(), inner = game->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    const int width = std::min(HELP_WIDTH, work.width() - frame.left() - frame.right());
    const int height = std::min(HELP_HEIGHT, work.height() - frame.top() - frame.bottom());
    helpWindow->resize(width, height);
    const int outerWidth = width + frame.left() + frame.right();
    const int outerHeight = height + frame.top() + frame.bottom();
    const QRect beside = game && game->isVisible() ? game->frameGeometry() : QRect(work.center(), QSize(0, 0));
    int x;
    if (beside.right() + 1 + outerWidth <= work.right() + 1)
        x = beside.right() + 1;
    else if (beside.left() - outerWidth >= work.left())
        x = beside.left() - outerWidth;
    else
        x = std::max(work.left(), std::min(beside.right() + 1, work.right() + 1) - outerWidth);
    const int y = std::max(work.top(), std::min(beside.top(), work.bottom() + 1 - outerHeight));
    helpWindow->move(x, y);  // a top-level's position is its frame's
}

// Once the window manager's frame around the help window is known, the whole
// window is brought onto the screen's work area (shorter if need be).
bool keepHelpOnScreen() {
    if (!helpWindow || !helpWindow->isVisible()) return false;
    const QRect outer = helpWindow->frameGeometry(), inner = helpWindow->geometry();
    if (outer == inner) return false;  // no frame yet
    const QRect work = helpWindow->screen()->availableGeometry();
    if (work.contains(outer)) return true;
    const int extraHeight = outer.height() - inner.height(), extraWidth = outer.width() - inner.width();
    helpWindow->resize(std::min(inner.width(), work.width() - extraWidth),
                       std::min(inner.height(), work.height() - extraHeight));
    const QSize size = helpWindow->frameGeometry().size();
    helpWindow->move(std::max(work.left(), std::min(outer.left(), work.right() + 1 - size.width())),
                     std::max(work.top(), std::min(outer.top(), work.bottom() + 1 - size.height())));
    return true;
}

class HelpFrameWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && keepHelpOnScreen()) {
            helpWindow->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

}  // namespace

bool platformFileDialog(WindowHandle owner, bool open, const char* directory, const char* pattern,
                        const char* filterText, const char* title, char* name, size_t size) {
    if (!platformDispatcher() || !name || size == 0) return false;
    QString patternText = fromGameText(pattern);
    QWidget* ownerWidget = platformTopWidget(owner);
    const QString home = QString::fromLocal8Bit(directory ? directory : "");
    FolderFileDialog dialog(ownerWidget, fromGameText(title), home);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(fromGameText(filterText) + QStringLiteral(" (") + patternText + QLatin1Char(')'));
    dialog.setFilter(QDir::Files | QDir::NoDotAndDotDot);  // no folders to go into; patterns ignore case
    dialog.setDefaultSuffix(extensionOf(patternText));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.stayInFolder();
    platformDressDialog(&dialog, ownerWidget, true);
    int answer = dialog.exec();
    platformReactivate(dialog.parentWidget());
    if (answer != QDialog::Accepted) return false;
    QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || !dialog.inFolder(files.first())) return false;
    QString bare = QFileInfo(files.first()).fileName();
    if (bare.isEmpty()) return false;
    QByteArray bytes = bare.toLocal8Bit();
    size_t length = (size_t)bytes.size() < size - 1 ? (size_t)bytes.size() : size - 1;
    std::memcpy(name, bytes.constData(), length);
    name[length] = '\0';
    return true;
}

bool platformChooseColour(WindowHandle owner, uint32_t initial, uint32_t* chosen) {
    if (!platformDispatcher()) return false;
    for (int i = 0; i < QColorDialog::customCount(); ++i) QColorDialog::setCustomColor(i, Qt::white);
    QColor start((int)(initial & 0xFF), (int)((initial >> 8) & 0xFF), (int)((initial >> 16) & 0xFF));
    QWidget* ownerWidget = platformTopWidget(owner);
    QColorDialog dialog(start, ownerWidget);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setCurrentColor(start);
    platformDressDialog(&dialog, ownerWidget, true);
    int answer = dialog.exec();
    platformReactivate(dialog.parentWidget());
    if (answer != QDialog::Accepted) return false;
    QColor colour = dialog.selectedColor();
    if (!colour.isValid()) return false;
    if (chosen)
        *chosen = (uint32_t)colour.red() | ((uint32_t)colour.green() << 8) | ((uint32_t)colour.blue() << 16);
    return true;
}

bool platformShowHelp(WindowHandle owner, const char* fileName, const char* title) {
    if (!platformDispatcher() || !fileName) return false;
    char directory[PATH_SIZE];
    char path[PATH_SIZE] = "";
    bool found = false;
    if (fileName[0] == '/') {
        found = QFileInfo::exists(QString::fromLocal8Bit(fileName));
        if (found) std::snprintf(path, sizeof path, "%s", fileName);
    } else if (platformGetCurrentDirectory(directory, sizeof directory)) {
        found = platformResolvePath(directory, fileName, path, sizeof path) &&
                QFileInfo::exists(QString::fromLocal8Bit(path));
    }
    QString file = QString::fromLocal8Bit(path);
    if (!found || !QFileInfo(file).isReadable()) {
        QByteArray text = QByteArray(fileName) + " : the help file cannot be opened.";
        platformMessageBox(owner, title, text.constData(), PLATFORM_MB_EXCLAMATION);
        return false;
    }
    const bool made = !helpWindow;
    if (made) makeHelpWindow();
    helpHome = QUrl::fromLocalFile(file);
    helpWindow->setWindowTitle(fromGameText(title));
    helpBrowser->clearHistory();
    helpBrowser->setSource(QUrl());  // so that the same file is read again
    helpBrowser->setSource(helpHome);
    helpBrowser->moveCursor(QTextCursor::Start);
    helpBrowser->verticalScrollBar()->setValue(0);
    if (made) placeHelpWindow(platformTopWidget(owner));
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
    if (made && !keepHelpOnScreen()) helpWindow->installEventFilter(new HelpFrameWatch(helpWindow));
    return true;
}

// The open help viewer (tests look into it).
QWidget* platformHelpBrowser() { return helpBrowser.data(); }
