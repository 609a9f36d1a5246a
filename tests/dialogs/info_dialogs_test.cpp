// The about box, the winner's name, the hall of fame and the first-run
// language choice.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "engine/board.h"
#include "gamefiles/halloffame.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "settings/directories.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/dialogs/dialog_suites.h"

namespace {

void setSlot(char* slot, int size, const char* text) { copyText(slot, text, size); }
#define SET_TEXT(key, text) setSlot(LanguageTexts.key, (int)sizeof LanguageTexts.key, text)

FileListEntry entries[8];
FileListEntry* languageList = nullptr;  // the listed language files

// Builds languageList from pairs of file name and display name, in list order.
void makeLanguageList(std::initializer_list<std::pair<const char*, const char*>> files) {
    languageList = nullptr;
    FileListEntry** tail = &languageList;
    int i = 0;
    for (const auto& file : files) {
        FileListEntry* entry = &entries[i++];
        copyText(entry->fileName, file.first, FILE_LIST_NAME_SIZE);
        copyText(entry->displayName, file.second, FILE_LIST_NAME_SIZE);
        entry->next = nullptr;
        *tail = entry;
        tail = &entry->next;
    }
}

QComboBox* languageBox(WindowHandle dialog) {
    return qobject_cast<QComboBox*>(controlWidget(dialog, LANGUAGE_LIST));
}

QLineEdit* nameField(WindowHandle dialog) {
    return qobject_cast<QLineEdit*>(controlWidget(dialog, WINNER_NAME));
}

}  // namespace

class InfoDialogTests : public QObject {
    Q_OBJECT
private slots:
    void init() {
        actionsRun = 0;
        std::memset(&LanguageTexts, 0, sizeof LanguageTexts);
        SET_TEXT(OK, "D'accord");
    }

    void aboutShowsTheLanguageTexts() {
        SET_TEXT(ABOUTCAPTION, "About the game");
        SET_TEXT(ABOUTCOPYRIGHT, "(c) 2026 Velmora");
        SET_TEXT(ABOUTEMAIL, "velmora@example.org");
        whenDialogOpens(ABOUT_OK, [](WindowHandle d, QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("About the game"));
            QCOMPARE(itemText(d, ABOUT_TITLE), QStringLiteral("Velmora's mah-jong v2.0"));
            QCOMPARE(itemText(d, ABOUT_COPYRIGHT), QStringLiteral("(c) 2026 Velmora"));
            QCOMPARE(itemText(d, ABOUT_EMAIL), QStringLiteral("velmora@example.org"));
            QCOMPARE(itemText(d, ABOUT_LINE), QStringLiteral("A mah-jong solitaire"));
            QCOMPARE(itemText(d, ABOUT_OK), QStringLiteral("D'accord"));
            QVERIFY(controlWidget(d, ABOUT_ICON) != nullptr);
            click(d, ABOUT_OK);
            QVERIFY(!dialogIsOpen(w));
        });
        aboutDialog(nullptr);
        QCOMPARE(actionsRun, 1);
    }

    void aboutClosesOnACloseRequestButNotOnEscape() {
        whenDialogOpens(ABOUT_OK, [](WindowHandle, QDialog* w) {
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY(dialogIsOpen(w));
            w->close();  // the window manager's close request
            QVERIFY(!dialogIsOpen(w));
        });
        aboutDialog(nullptr);
        QCOMPARE(actionsRun, 1);
    }

    void winnerNameIsTheTypedName() {
        SET_TEXT(WINCAPTION, "You won!");
        SET_TEXT(WINNAME, "Your name:");
        copyText(playerName, "Previous", sizeof playerName);
        whenDialogOpens(WINNER_OK, [](WindowHandle d, QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("You won!"));
            QCOMPARE(itemText(d, WINNER_PROMPT), QStringLiteral("Your name:"));
            QCOMPARE(itemText(d, WINNER_OK), QStringLiteral("D'accord"));
            QVERIFY(nameField(d) != nullptr);
            QCOMPARE(nameField(d)->text(), QString());  // starts empty, whatever the last name was
            QTest::keyClicks(nameField(d), QStringLiteral("Ad"));
            nameField(d)->insert(QString(QChar(0xE8)));  // typed with a dead key
            QTest::keyClicks(nameField(d), QStringLiteral("le"));
            click(d, WINNER_OK);
        });
        winnerNameDialog(nullptr);
        QCOMPARE(actionsRun, 1);
        QCOMPARE(QByteArray(playerName), QByteArray("Ad\xE8le"));
    }

    void winnerNameIsCutTo21Characters() {
        whenDialogOpens(WINNER_OK, [](WindowHandle d, QDialog*) {
            QVERIFY(nameField(d) != nullptr);
            nameField(d)->setText(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"));
            click(d, WINNER_OK);
        });
        winnerNameDialog(nullptr);
        QCOMPARE(QByteArray(playerName), QByteArray("ABCDEFGHIJKLMNOPQRSTU"));
        QCOMPARE(std::strlen(playerName), (size_t)21);
    }

    void anEmptyFieldGivesAnEmptyName() {
        copyText(playerName, "Previous", sizeof playerName);
        whenDialogOpens(WINNER_OK, [](WindowHandle d, QDialog*) { click(d, WINNER_OK); });
        winnerNameDialog(nullptr);
        QCOMPARE(actionsRun, 1);
        QCOMPARE(QByteArray(playerName), QByteArray(""));
    }

    void onlyOkClosesTheWinnerDialog() {
        whenDialogOpens(WINNER_OK, [](WindowHandle d, QDialog* w) {
            QTest::keyClicks(nameField(d), QStringLiteral("Bo"));
            QTest::keyClick(nameField(d), Qt::Key_Escape);
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY(dialogIsOpen(w));
            w->close();
            QVERIFY(dialogIsOpen(w));
            QTest::keyClick(nameField(d), Qt::Key_Return);  // Enter presses the default button
            QVERIFY(!dialogIsOpen(w));
        });
        winnerNameDialog(nullptr);
        QCOMPARE(actionsRun, 1);
        QCOMPARE(QByteArray(playerName), QByteArray("Bo"));
    }

    void hallOfFameShowsTenRowsAlsoWithEmptyNames() {
        SET_TEXT(HALLFAMECAPTION, "Best times");
        SET_TEXT(HALLFAMENAME, "Player");
        SET_TEXT(HALLFAMETIME, "Time");
        defaultHallOfFame();
        hallOfFame[3].name[0] = '\0';
        hallOfFame[7].name[0] = '\0';
        copyText(hallOfFame[10].name, "Not shown", sizeof hallOfFame[10].name);
        whenDialogOpens(HALL_OK, [](WindowHandle d, QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Best times"));
            QCOMPARE(itemText(d, HALL_NAME_HEADING), QStringLiteral("Player"));
            QCOMPARE(itemText(d, HALL_TIME_HEADING), QStringLiteral("Time"));
            QCOMPARE(itemText(d, HALL_OK), QStringLiteral("D'accord"));
            for (int r = 0; r < 10; ++r) {
                QString name = r == 3 || r == 7 ? QString() : QStringLiteral("Velmora");
                QCOMPARE(itemText(d, HALL_FIRST_NAME + r), name);
                QCOMPARE(itemText(d, HALL_FIRST_TIME + r), QStringLiteral("00:%1:00").arg(5 + r, 2, 10, QChar('0')));
            }
            int rows = 0;
            for (int32_t id : controlIds(d))
                if (id >= HALL_FIRST_NAME && id < HALL_FIRST_TIME + 10) ++rows;
            QCOMPARE(rows, 20);
            QVERIFY(controlWidget(d, HALL_FIRST_TIME + 10) == nullptr);
        });
        hallOfFameDialog(nullptr);
        QCOMPARE(actionsRun, 1);
    }

    void hallOfFameFieldsWithoutTerminatorStayInTheirFields() {
        defaultHallOfFame();
        std::memset(hallOfFame[0].name, 'N', sizeof hallOfFame[0].name);  // no terminator
        std::memset(hallOfFame[0].time, '9', sizeof hallOfFame[0].time);
        whenDialogOpens(HALL_OK, [](WindowHandle d, QDialog*) {
            QCOMPARE(itemText(d, HALL_FIRST_NAME), QString(23, QChar('N')));
            QCOMPARE(itemText(d, HALL_FIRST_TIME), QString(13, QChar('9')));
        });
        hallOfFameDialog(nullptr);
        QCOMPARE(actionsRun, 1);
        defaultHallOfFame();
    }

    void languageChoicePreselectsEnglishAndTakesTheChoice() {
        makeLanguageList({{"DEUTSCH.TXT", "Deutsch"}, {"ENGLISH.TXT", "English"}, {"FRANCAIS.TXT", "Francais"}});
        copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
        whenDialogOpens(LANGUAGE_OK, [](WindowHandle d, QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Velmora's mah-jong v2.0"));
            QCOMPARE(itemText(d, LANGUAGE_OK), QStringLiteral("OK"));
            QComboBox* box = languageBox(d);
            QVERIFY(box != nullptr);
            QCOMPARE(box->count(), 3);
            QCOMPARE(box->currentText(), QStringLiteral("English"));
            box->setCurrentIndex(box->findText(QStringLiteral("Francais")));
            click(d, LANGUAGE_OK);
        });
        languageDialog(languageList);
        QCOMPARE(actionsRun, 1);
        QCOMPARE(QByteArray(Settings.Language), QByteArray("FRANCAIS.TXT"));
        languageList = nullptr;
    }

    void languageMatchIgnoresCaseAndOkStoresTheListedName() {
        makeLanguageList({{"ENGLISH.TXT", "English"}, {"ESPANOL.TXT", "Espanol"}});
        copyText(Settings.Language, "english.txt", FILE_NAME_SIZE);
        whenDialogOpens(LANGUAGE_OK, [](WindowHandle d, QDialog*) {
            QCOMPARE(languageBox(d)->currentText(), QStringLiteral("English"));
        });
        languageDialog(languageList);
        QCOMPARE(QByteArray(Settings.Language), QByteArray("ENGLISH.TXT"));
        languageList = nullptr;
    }

    void withoutEnglishNothingIsPreselectedAndOkKeepsEnglish() {
        makeLanguageList({{"DEUTSCH.TXT", "Deutsch"}, {"FRANCAIS.TXT", "Francais"}});
        copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
        whenDialogOpens(LANGUAGE_OK, [](WindowHandle d, QDialog*) {
            QCOMPARE(languageBox(d)->count(), 2);
            QCOMPARE(languageBox(d)->currentIndex(), -1);
            click(d, LANGUAGE_OK);
        });
        languageDialog(languageList);
        QCOMPARE(actionsRun, 1);
        QCOMPARE(QByteArray(Settings.Language), QByteArray("ENGLISH.TXT"));
        languageList = nullptr;
    }

    void anEmptyLanguageListKeepsTheLanguage() {
        languageList = nullptr;
        copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
        whenDialogOpens(LANGUAGE_OK, [](WindowHandle d, QDialog*) {
            QCOMPARE(languageBox(d)->count(), 0);
            click(d, LANGUAGE_OK);
        });
        languageDialog(languageList);
        QCOMPARE(actionsRun, 1);
        QCOMPARE(QByteArray(Settings.Language), QByteArray("ENGLISH.TXT"));
    }

    void theLastEntryWithTheChosenNameWins() {
        // Two files whose names differ only after their last point.
        makeLanguageList({{"NORSK.TXT", "Norsk"}, {"NORSK.TXT.OLD", "Norsk"}, {"ENGLISH.TXT", "English"}});
        copyText(Settings.Language, "NORSK.TXT", FILE_NAME_SIZE);
        whenDialogOpens(LANGUAGE_OK, [](WindowHandle d, QDialog*) {
            QComboBox* box = languageBox(d);
            QCOMPARE(box->currentText(), QStringLiteral("Norsk"));
            QCOMPARE(box->currentIndex(), 1);  // after English: the list sorts
        });
        languageDialog(languageList);
        QCOMPARE(QByteArray(Settings.Language), QByteArray("NORSK.TXT.OLD"));
        languageList = nullptr;
        copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
    }
};

QObject* newInfoDialogTests() { return new InfoDialogTests(); }
#include "info_dialogs_test.moc"
