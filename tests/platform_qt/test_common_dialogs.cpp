// Message boxes, the file dialogs, the colour chooser and the help viewer.
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <functional>
#include <memory>
#include <unistd.h>

#include "platform/filedialogs.h"
#include "platform/ui.h"
#include "tests/platform_qt/test_suites.h"

QWidget* platformHelpBrowser();  // filedialogs.cpp

namespace {

// Runs body on the modal widget once it is up (polling from the event loop;
// after ten seconds without one the poll gives up, so a failure cannot hang).
void whenModal(std::function<void(QWidget*)> body) {
    auto* poll = new QTimer();
    poll->setInterval(10);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, body, ticks] {
        if (++*ticks > 1000) {
            poll->stop();
            poll->deleteLater();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        body(modal);
    });
    poll->start();
}

QByteArray currentDirectory() {
    char buffer[4096];
    return QByteArray(getcwd(buffer, sizeof buffer) ? buffer : "");
}

}  // namespace

class CommonDialogTests : public QObject {
    Q_OBJECT
private slots:
    void messageBoxes() {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        whenModal([&](QWidget* modal) {
            QMessageBox* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            box->button(QMessageBox::Cancel)->click();
        });
        QVERIFY(!platformMessageBox(nullptr, "Velmora's mah-jong v2.0", "Easy mode ? \x80 \xE9",
                                    PLATFORM_MB_OKCANCEL_INFORMATION));
        QCOMPARE(title, QStringLiteral("Velmora's mah-jong v2.0"));
        QCOMPARE(text, QString::fromUtf8("Easy mode ? € é"));
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(buttons, 2);

        whenModal([&](QWidget* modal) {
            QMessageBox* box = qobject_cast<QMessageBox*>(modal);
            icon = box->icon();
            buttons = box->buttons().size();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(platformMessageBox(nullptr, "t", "error", PLATFORM_MB_ERROR));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, 1);
        whenModal([&](QWidget* modal) {
            icon = qobject_cast<QMessageBox*>(modal)->icon();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QVERIFY(platformMessageBox(nullptr, "t", "careful", PLATFORM_MB_EXCLAMATION));
        QCOMPARE(icon, QMessageBox::Warning);
    }

    void openDialogTakesATypedNameAndEnter() {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        QFile file(directory.filePath(QStringLiteral("default.myl")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        // The pattern matches without regard to case.
        QFile upper(directory.filePath(QStringLiteral("OTHER.MYL")));
        QVERIFY(upper.open(QIODevice::WriteOnly));
        upper.close();
        QFile unrelated(directory.filePath(QStringLiteral("notes.txt")));
        QVERIFY(unrelated.open(QIODevice::WriteOnly));
        unrelated.close();
        QStringList listed;
        whenModal([&](QWidget* modal) {
            QFileSystemModel* files = modal->findChild<QFileSystemModel*>();
            if (files) {
                QModelIndex root = files->index(directory.path());
                (void)QTest::qWaitFor([&] { return files->rowCount(root) == 2; });
                for (int row = 0; row < files->rowCount(root); ++row)
                    listed << files->index(row, 0, root).data().toString();
            }
            qobject_cast<QDialog*>(modal)->reject();
        });
        char chosen[64] = "unchanged";
        QVERIFY(!platformFileDialog(nullptr, true, directory.path().toLocal8Bit().constData(), "*.MYL",
                                    "Layouts", "t", chosen, sizeof chosen));
        listed.sort();
        QCOMPARE(listed, (QStringList{QStringLiteral("OTHER.MYL"), QStringLiteral("default.myl")}));

        const QByteArray before = currentDirectory();
        QString title;
        QStringList filters;
        whenModal([&](QWidget* modal) {
            QFileDialog* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            QLineEdit* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            QTest::keyClicks(name, QStringLiteral("default.myl"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        QVERIFY(platformFileDialog(nullptr, true, directory.path().toLocal8Bit().constData(), "*.MYL",
                                   "Layouts", "Velmora's mah-jong v2.0", chosen, sizeof chosen));
        QCOMPARE(QByteArray(chosen), QByteArray("default.myl"));
        QCOMPARE(title, QStringLiteral("Velmora's mah-jong v2.0"));
        QCOMPARE(filters, QStringList{QStringLiteral("Layouts (*.MYL)")});
        QCOMPARE(currentDirectory(), before);

        // Cancel leaves the name alone.
        whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QVERIFY(!platformFileDialog(nullptr, true, directory.path().toLocal8Bit().constData(), "*.MYL",
                                    "Layouts", "t", chosen, sizeof chosen));
        QCOMPARE(QByteArray(chosen), QByteArray("default.myl"));
    }

    void saveDialogAddsTheDefaultExtension() {
        QTemporaryDir directory;
        whenModal([&](QWidget* modal) {
            QLineEdit* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            QTest::keyClicks(name, QStringLiteral("mine"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        char chosen[64] = "";
        QVERIFY(platformFileDialog(nullptr, false, directory.path().toLocal8Bit().constData(), "*.MYL",
                                   "Layouts", "t", chosen, sizeof chosen));
        QCOMPARE(QByteArray(chosen), QByteArray("mine.MYL"));
    }

    // The game reads the file by its bare name in the folder it gave: the
    // dialog neither goes elsewhere nor takes a name with a path elsewhere.
    void fileDialogKeepsToItsFolder() {
        QTemporaryDir top;
        QVERIFY(QDir(top.path()).mkdir(QStringLiteral("LAYOUTS")));
        const QString folder = top.filePath(QStringLiteral("LAYOUTS"));
        for (const QString& path : {top.filePath(QStringLiteral("OUT.MYL")), folder + QStringLiteral("/IN.MYL")}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        bool stayed = false, stillOpen = false, noWayUp = false;
        whenModal([&](QWidget* modal) {
            QFileDialog* dialog = qobject_cast<QFileDialog*>(modal);
            QWidget* up = dialog->findChild<QWidget*>(QStringLiteral("toParentButton"));
            noWayUp = up && !up->isEnabled();
            dialog->setDirectory(top.path());  // as a way up would
            const QString home = QDir(folder).canonicalPath();
            stayed = QTest::qWaitFor([&] { return dialog->directory().canonicalPath() == home; });
            QLineEdit* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            for (const QString& elsewhere : {QStringLiteral("../OUT.MYL"), top.filePath(QStringLiteral("OUT.MYL"))}) {
                name->setText(elsewhere);
                QTest::keyClick(name, Qt::Key_Return);
                QCoreApplication::processEvents();
            }
            stillOpen = dialog->isVisible();
            name->setText(QStringLiteral("IN.MYL"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        char chosen[64] = "unchanged";
        QVERIFY(platformFileDialog(nullptr, true, folder.toLocal8Bit().constData(), "*.MYL", "Layouts", "t", chosen,
                                   sizeof chosen));
        QVERIFY(noWayUp);
        QVERIFY(stayed);
        QVERIFY(stillOpen);
        QCOMPARE(QByteArray(chosen), QByteArray("IN.MYL"));
    }

    void colourChooser() {
        QColor start;
        bool customWhite = true;
        whenModal([&](QWidget* modal) {
            QColorDialog* dialog = qobject_cast<QColorDialog*>(modal);
            QVERIFY(dialog);
            start = dialog->currentColor();
            for (int i = 0; i < QColorDialog::customCount(); ++i)
                if (QColorDialog::customColor(i) != QColor(Qt::white)) customWhite = false;
            dialog->setCurrentColor(QColor(10, 20, 30));
            dialog->accept();
        });
        QColorDialog::setCustomColor(3, Qt::red);  // forgotten by the next call
        uint32_t chosen = 0;
        QVERIFY(platformChooseColour(nullptr, 0x00306090u, &chosen));
        QCOMPARE(start, QColor(0x90, 0x60, 0x30));
        QVERIFY(customWhite);
        QCOMPARE(chosen, 0x001E140Au);

        whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        chosen = 5;
        QVERIFY(!platformChooseColour(nullptr, 0x00306090u, &chosen));
        QCOMPARE(chosen, 5u);
    }

    void helpViewerShowsTheFileAtItsStart() {
        QTemporaryDir directory;
        QFile file(directory.filePath(QStringLiteral("ENGLISH.HLP")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray html = "<html><head><title>Help</title></head><body><h1>Contents</h1>"
                          "<p><a href=\"#rules\">Rules</a></p>";
        for (int i = 0; i < 200; ++i) html += "<p>Line</p>";
        html += "<h2><a name=\"rules\">The rules</a></h2><p>Take pairs.</p></body></html>";
        file.write(html);
        file.close();
        const QByteArray before = currentDirectory();
        QVERIFY(QDir::setCurrent(directory.path()));
        bool shown = platformShowHelp(nullptr, "english.hlp", "Velmora's mah-jong v2.0");
        QDir::setCurrent(QString::fromLocal8Bit(before));
        QVERIFY(shown);
        QTextBrowser* browser = qobject_cast<QTextBrowser*>(platformHelpBrowser());
        QVERIFY(browser);
        QVERIFY(browser->window()->isVisible());
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Contents")));
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        browser->setSource(QUrl(QStringLiteral("#rules")));  // a link within the file
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Take pairs.")));
        QTRY_VERIFY(browser->verticalScrollBar()->value() > 0);
        // Back, Forward and Home, and a window that fits the screen.
        QWidget* viewer = browser->window();
        QAction* back = viewer->findChild<QAction*>(QStringLiteral("mjHelpBack"));
        QAction* forward = viewer->findChild<QAction*>(QStringLiteral("mjHelpForward"));
        QAction* home = viewer->findChild<QAction*>(QStringLiteral("mjHelpHome"));
        QVERIFY(back && forward && home);
        QVERIFY(back->isEnabled());
        back->trigger();
        QTRY_COMPARE(browser->verticalScrollBar()->value(), 0);
        QVERIFY(forward->isEnabled());
        forward->trigger();
        QTRY_VERIFY(browser->verticalScrollBar()->value() > 0);
        home->trigger();
        QTRY_COMPARE(browser->verticalScrollBar()->value(), 0);
        QCOMPARE(browser->source().fileName(), QStringLiteral("ENGLISH.HLP"));
        QTRY_VERIFY(viewer->screen()->availableGeometry().contains(viewer->frameGeometry()));
        browser->window()->close();

        // A missing file is reported, not shown.
        whenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
        QVERIFY(!platformShowHelp(nullptr, "NOSUCH.HLP", "t"));
    }
};

QObject* newCommonDialogTests() { return new CommonDialogTests(); }
#include "test_common_dialogs.moc"
