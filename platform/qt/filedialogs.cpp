// The file dialogs, the colour chooser and the help viewer.
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cstdio>
#include <cstring>

#include "platform/filedialogs.h"
#include "platform/files.h"
#include "platform/qt/text.h"
#include "platform/qt/window_qt.h"

namespace {

// "*.MYL" -> "MYL"; no extension for other patterns.
QString extensionOf(const QString& pattern) {
    if (pattern.startsWith(QLatin1String("*.")) && pattern.size() > 2 && pattern.indexOf(QLatin1Char('*'), 1) < 0)
        return pattern.mid(2);
    return QString();
}

constexpr int PATH_SIZE = 4096;
QPointer<QWidget> helpWindow;
QPointer<QTextBrowser> helpBrowser;

}  // namespace

bool platformFileDialog(WindowHandle owner, bool open, const char* directory, const char* pattern,
                        const char* filterText, const char* title, char* name, size_t size) {
    if (!platformDispatcher() || !name || size == 0) return false;
    QString patternText = fromGameText(pattern);
    QFileDialog dialog(platformTopWidget(owner), fromGameText(title), QString::fromLocal8Bit(directory ? directory : ""));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(fromGameText(filterText) + QStringLiteral(" (") + patternText + QLatin1Char(')'));
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);  // patterns ignore case
    dialog.setDefaultSuffix(extensionOf(patternText));
    dialog.setWindowModality(Qt::ApplicationModal);
    int answer = dialog.exec();
    platformReactivate(dialog.parentWidget());
    if (answer != QDialog::Accepted) return false;
    QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return false;
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
    QColorDialog dialog(start, platformTopWidget(owner));
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setCurrentColor(start);
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
        QMessageBox::warning(platformTopWidget(owner), fromGameText(title),
                             QStringLiteral("%1 : the help file cannot be opened.").arg(QString::fromLocal8Bit(fileName)));
        return false;
    }
    if (!helpWindow) {
        QWidget* window = new QWidget(nullptr, Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(640, 560);
        QVBoxLayout* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        QTextBrowser* browser = new QTextBrowser(window);
        browser->setOpenLinks(true);
        browser->setOpenExternalLinks(false);
        layout->addWidget(browser);
        helpWindow = window;
        helpBrowser = browser;
        QObject::connect(browser, &QTextBrowser::sourceChanged, window, [window, browser] {
            QString documentTitle = browser->documentTitle();
            if (!documentTitle.isEmpty()) window->setWindowTitle(documentTitle);
        });
    }
    helpWindow->setWindowTitle(fromGameText(title));
    helpBrowser->clearHistory();
    helpBrowser->setSource(QUrl());  // so that the same file is read again
    helpBrowser->setSource(QUrl::fromLocalFile(file));
    helpBrowser->moveCursor(QTextCursor::Start);
    helpBrowser->verticalScrollBar()->setValue(0);
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
    return true;
}

// The open help viewer (tests look into it).
QWidget* platformHelpBrowser() { return helpBrowser.data(); }
