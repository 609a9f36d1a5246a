// The configuration and colour dialogs of the 2D view.
#include <QApplication>
#include <QColorDialog>
#include <QTest>
#include <climits>
#include <cstring>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "engine/host.h"
#include "platform/messages.h"
#include "platform/surface.h"
#include "platform/ui.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/dialogs/dialog_suites.h"
#include "view2d/tileset.h"

namespace {

#define SET_TEXT(key, text) copyText(LanguageTexts.key, text, (int)sizeof LanguageTexts.key)

void defaultSettings() {
    Settings.AutoPlaySleep = 500;
    Settings.RemoveTileTime = 500;
    Settings.BorderSize = 8;
    Settings.ShadowSize = 4;
    Settings.StretchTiles = 1;
    Settings.SelectMode = SELECT_DARKER;
    Settings.BackgroundColor = 0x00A000;
    Settings.SidesColor = 0x1878B8;
}

// Opens the 2D configuration dialog, runs action in it, leaves with OK.
template <typename Action>
void inConfig2D(Action action) {
    whenDialogOpens(CONFIG_OK, [action](WindowHandle d, QDialog* w) {
        action(d, w);
        click(d, CONFIG_OK);
    });
    configDialog2D(nullptr);
}

}  // namespace

class SettingsDialogTests : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // OK fits the faces with the real 2D view, on the window layer without a main window.
        host.fitFaceSize = fitFaceSize;
        host.clientSize = platformGetClientSize;
        // A tile set of 900 x 600 pixels: unstretched faces are 100 x 120.
        QVERIFY(createSurface(&loadedTileSet, 900, 600));
    }
    void cleanupTestCase() { releaseSurface(&loadedTileSet); }

    void init() {
        actionsRun = 0;
        std::memset(&LanguageTexts, 0, sizeof LanguageTexts);
        SET_TEXT(OK, "Fine");
        SET_TEXT(MILLISECONDS, "ms");
        defaultSettings();
    }

    void configShowsItsTextsAndValues() {
        SET_TEXT(CONFIGCAPTION, "Settings");
        SET_TEXT(STRETCHTILES, "Stretch");
        SET_TEXT(SELECTMODE, "Selection");
        SET_TEXT(SELECTDARKER, "Darker");
        SET_TEXT(SELECTINVERT, "Invert");
        SET_TEXT(AUTOPLAYDELAY, "Autoplay");
        SET_TEXT(REMOVETILEDELAY, "Removal");
        SET_TEXT(BORDERSIZE, "Border");
        SET_TEXT(SHADOWSIZE, "Shadow");
        Settings.RemoveTileTime = 300;
        Settings.ShadowSize = 12;
        inConfig2D([](WindowHandle d, QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Settings"));
            QCOMPARE(itemText(d, CONFIG_STRETCH), QStringLiteral("Stretch"));
            QCOMPARE(itemText(d, CONFIG_SELECT_GROUP), QStringLiteral("Selection"));
            QCOMPARE(itemText(d, CONFIG_SELECT_DARKER), QStringLiteral("Darker"));
            QCOMPARE(itemText(d, CONFIG_SELECT_INVERT), QStringLiteral("Invert"));
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_GROUP), QStringLiteral("Autoplay"));
            QCOMPARE(itemText(d, CONFIG_REMOVE_GROUP), QStringLiteral("Removal"));
            QCOMPARE(itemText(d, CONFIG_BORDER_GROUP), QStringLiteral("Border"));
            QCOMPARE(itemText(d, CONFIG_SHADOW_GROUP), QStringLiteral("Shadow"));
            QCOMPARE(itemText(d, CONFIG_OK), QStringLiteral("Fine"));
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_MINUS), QStringLiteral("-"));
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_PLUS), QStringLiteral("+"));
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_VALUE), QStringLiteral("500 ms"));
            QCOMPARE(itemText(d, CONFIG_REMOVE_VALUE), QStringLiteral("300 ms"));
            QCOMPARE(itemText(d, CONFIG_BORDER_VALUE), QStringLiteral("1 / 8"));
            QCOMPARE(itemText(d, CONFIG_SHADOW_VALUE), QStringLiteral("1 / 12"));
            QVERIFY(isChecked(d, CONFIG_STRETCH));
            QVERIFY(isChecked(d, CONFIG_SELECT_DARKER));
            QVERIFY(!isChecked(d, CONFIG_SELECT_INVERT));
        });
        QCOMPARE(actionsRun, 1);
    }

    void theBoxIsTickedOnlyForStretchOneAndInvertForAnyOtherMode() {
        Settings.StretchTiles = 2;  // a value from a hand-edited file
        Settings.SelectMode = 7;
        inConfig2D([](WindowHandle d, QDialog*) {
            QVERIFY(!isChecked(d, CONFIG_STRETCH));
            QVERIFY(!isChecked(d, CONFIG_SELECT_DARKER));
            QVERIFY(isChecked(d, CONFIG_SELECT_INVERT));
        });
        QCOMPARE(Settings.StretchTiles, (uint8_t)0);
        QCOMPARE(Settings.SelectMode, (uint8_t)7);  // no radio button was pressed
    }

    void delayStepsStopAtZeroAndHaveNoUpperLimit() {
        Settings.AutoPlaySleep = 100;
        Settings.RemoveTileTime = 500;
        inConfig2D([](WindowHandle d, QDialog*) {
            click(d, CONFIG_AUTOPLAY_MINUS);
            QCOMPARE(Settings.AutoPlaySleep, 0);
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_VALUE), QStringLiteral("0 ms"));
            click(d, CONFIG_AUTOPLAY_MINUS);
            QCOMPARE(Settings.AutoPlaySleep, 0);
            click(d, CONFIG_REMOVE_PLUS);
            QCOMPARE(Settings.RemoveTileTime, 600);
            QCOMPARE(itemText(d, CONFIG_REMOVE_VALUE), QStringLiteral("600 ms"));
            for (int i = 0; i < 100; ++i) click(d, CONFIG_REMOVE_PLUS);
            QCOMPARE(Settings.RemoveTileTime, 10600);
            click(d, CONFIG_REMOVE_MINUS);
            QCOMPARE(Settings.RemoveTileTime, 10500);
            QCOMPARE(itemText(d, CONFIG_REMOVE_VALUE), QStringLiteral("10500 ms"));
        });
        QCOMPARE(actionsRun, 1);
    }

    void delaysFromTheFileAreNotClamped() {
        Settings.AutoPlaySleep = 50;
        Settings.RemoveTileTime = -300;
        inConfig2D([](WindowHandle d, QDialog*) {
            QCOMPARE(itemText(d, CONFIG_REMOVE_VALUE), QStringLiteral("-300 ms"));
            click(d, CONFIG_AUTOPLAY_MINUS);
            QCOMPARE(Settings.AutoPlaySleep, 50);
            click(d, CONFIG_REMOVE_MINUS);
            QCOMPARE(Settings.RemoveTileTime, -300);
            click(d, CONFIG_REMOVE_PLUS);
            QCOMPARE(Settings.RemoveTileTime, -200);
            click(d, CONFIG_AUTOPLAY_PLUS);
            QCOMPARE(Settings.AutoPlaySleep, 150);
        });
    }

    void theLargestDelayIsNotPushedPastTheLimit() {
        Settings.AutoPlaySleep = INT_MAX - 50;
        inConfig2D([](WindowHandle d, QDialog*) {
            click(d, CONFIG_AUTOPLAY_PLUS);
            QCOMPARE(Settings.AutoPlaySleep, INT_MAX - 50);
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_VALUE), QStringLiteral("2147483597 ms"));
            click(d, CONFIG_AUTOPLAY_MINUS);
            QCOMPARE(Settings.AutoPlaySleep, INT_MAX - 150);
        });
    }

    void sizesStayWithinTwoToTen() {
        Settings.BorderSize = 2;
        Settings.ShadowSize = 10;
        inConfig2D([](WindowHandle d, QDialog*) {
            click(d, CONFIG_BORDER_MINUS);
            QCOMPARE(Settings.BorderSize, (int16_t)2);
            QCOMPARE(itemText(d, CONFIG_BORDER_VALUE), QStringLiteral("1 / 2"));
            click(d, CONFIG_BORDER_PLUS);
            QCOMPARE(Settings.BorderSize, (int16_t)3);
            QCOMPARE(itemText(d, CONFIG_BORDER_VALUE), QStringLiteral("1 / 3"));
            click(d, CONFIG_SHADOW_PLUS);
            QCOMPARE(Settings.ShadowSize, (int16_t)10);
            click(d, CONFIG_SHADOW_MINUS);
            QCOMPARE(Settings.ShadowSize, (int16_t)9);
            QCOMPARE(itemText(d, CONFIG_SHADOW_VALUE), QStringLiteral("1 / 9"));
            for (int i = 0; i < 20; ++i) click(d, CONFIG_BORDER_PLUS);
            QCOMPARE(Settings.BorderSize, (int16_t)10);
            for (int i = 0; i < 20; ++i) click(d, CONFIG_SHADOW_MINUS);
            QCOMPARE(Settings.ShadowSize, (int16_t)2);
        });
    }

    void aSizeOfTwelveFromTheFileOnlyComesDown() {
        Settings.BorderSize = 12;
        Settings.ShadowSize = 1;
        inConfig2D([](WindowHandle d, QDialog*) {
            QCOMPARE(itemText(d, CONFIG_BORDER_VALUE), QStringLiteral("1 / 12"));
            click(d, CONFIG_BORDER_PLUS);
            QCOMPARE(Settings.BorderSize, (int16_t)12);
            click(d, CONFIG_BORDER_MINUS);
            QCOMPARE(Settings.BorderSize, (int16_t)11);
            QCOMPARE(itemText(d, CONFIG_BORDER_VALUE), QStringLiteral("1 / 11"));
            click(d, CONFIG_SHADOW_MINUS);
            QCOMPARE(Settings.ShadowSize, (int16_t)1);
            click(d, CONFIG_SHADOW_PLUS);
            QCOMPARE(Settings.ShadowSize, (int16_t)2);
        });
    }

    void radioButtonsSetTheModeAtOnceAndLeaveTheBoxAlone() {
        inConfig2D([](WindowHandle d, QDialog*) {
            click(d, CONFIG_SELECT_INVERT);
            QCOMPARE(Settings.SelectMode, SELECT_INVERT);
            QVERIFY(!isChecked(d, CONFIG_SELECT_DARKER));
            QVERIFY(isChecked(d, CONFIG_STRETCH));
            click(d, CONFIG_SELECT_DARKER);
            QCOMPARE(Settings.SelectMode, SELECT_DARKER);
            click(d, CONFIG_SELECT_INVERT);
        });
        QCOMPARE(Settings.SelectMode, SELECT_INVERT);
        QCOMPARE(Settings.StretchTiles, (uint8_t)1);
    }

    void untickingTheBoxTurnsStretchingOffOnOkAndFitsTheFaces() {
        faceWidth = faceHeight = 0;
        inConfig2D([](WindowHandle d, QDialog*) {
            click(d, CONFIG_STRETCH);
            QVERIFY(!isChecked(d, CONFIG_STRETCH));
            QCOMPARE(Settings.StretchTiles, (uint8_t)1);  // read only on OK
        });
        QCOMPARE(Settings.StretchTiles, (uint8_t)0);
        // fitFaceSize ran after the change: unstretched faces keep the cell size.
        QCOMPARE(faceWidth, (int16_t)100);
        QCOMPARE(faceHeight, (int16_t)120);
        QCOMPARE(layerShift, (int16_t)(100 / 8));
        QCOMPARE(shadowExtent, (int16_t)(120 / 4));
    }

    void tickingTheBoxTurnsStretchingOnAndNewSizesApply() {
        Settings.StretchTiles = 0;
        inConfig2D([](WindowHandle d, QDialog*) {
            QVERIFY(!isChecked(d, CONFIG_STRETCH));
            click(d, CONFIG_BORDER_MINUS);
            click(d, CONFIG_SHADOW_PLUS);
            click(d, CONFIG_STRETCH);
            QCOMPARE(Settings.StretchTiles, (uint8_t)0);
            QCOMPARE(faceWidth, (int16_t)100);
        });
        QCOMPARE(Settings.StretchTiles, (uint8_t)1);
        QCOMPARE(Settings.BorderSize, (int16_t)7);
        QCOMPARE(Settings.ShadowSize, (int16_t)5);
        // Stretched to a board area of nothing (no main window here).
        QCOMPARE(faceWidth, (int16_t)0);
    }

    void escapeAndCloseLeaveTheConfigurationOpen() {
        inConfig2D([](WindowHandle, QDialog* w) {
            QTest::keyClick(w, Qt::Key_Escape);
            w->close();
            QVERIFY(dialogIsOpen(w));
        });
        QCOMPARE(actionsRun, 1);
    }

    void colourDialogShowsItsTextsAndBothSwatches() {
        SET_TEXT(COLORSCAPTION, "Colours");
        SET_TEXT(COLORSBACK, "Background...");
        SET_TEXT(COLORSSIDE, "Sides...");
        Settings.BackgroundColor = 0x332211;
        Settings.SidesColor = 0x0000FF;
        whenDialogOpens(COLORS_OK, [](WindowHandle d, QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Colours"));
            QCOMPARE(itemText(d, COLORS_2D_BACK), QStringLiteral("Background..."));
            QCOMPARE(itemText(d, COLORS_2D_SIDE), QStringLiteral("Sides..."));
            QCOMPARE(itemText(d, COLORS_OK), QStringLiteral("Fine"));
            w->grab();  // a paint of the dialog
            QCOMPARE(swatchColour(d, COLORS_2D_BACK_SWATCH), QColor(0x11, 0x22, 0x33));
            QCOMPARE(swatchColour(d, COLORS_2D_SIDE_SWATCH), QColor(0xFF, 0, 0));
            // Every paint shows the colours as they are now.
            Settings.SidesColor = 0x00FF00;
            platformSendMessage(d, WM_PAINT, 0, 0);
            QCOMPARE(swatchColour(d, COLORS_2D_SIDE_SWATCH), QColor(0, 0xFF, 0));
        });
        colorsDialog2D(nullptr);
        QCOMPARE(actionsRun, 1);
    }

    void aChosenColourTakesEffectAndShowsAtOnce() {
        Settings.BackgroundColor = 0x00A000;
        QColorDialog::setCustomColor(0, Qt::red);
        whenDialogOpens(COLORS_OK, [](WindowHandle d, QDialog*) {
            QColor initial;
            bool whiteCustoms = false;
            whenColourChooserOpens([&](QColorDialog* chooser) {
                initial = chooser->currentColor();
                whiteCustoms = QColorDialog::customColor(0) == QColor(Qt::white);
                chooser->setCurrentColor(QColor(10, 20, 30));
                chooser->accept();
            });
            click(d, COLORS_2D_BACK);  // returns when the chooser has closed
            QCOMPARE(actionsRun, 2);
            QCOMPARE(initial, QColor(0, 0xA0, 0));
            QVERIFY(whiteCustoms);
            QCOMPARE(Settings.BackgroundColor, (Colour)0x1E140A);
            QCOMPARE(swatchColour(d, COLORS_2D_BACK_SWATCH), QColor(10, 20, 30));
            QCOMPARE(Settings.SidesColor, (Colour)0x1878B8);
        });
        colorsDialog2D(nullptr);
        QCOMPARE(actionsRun, 2);
    }

    void blackOrCancelKeepTheColour() {
        whenDialogOpens(COLORS_OK, [](WindowHandle d, QDialog*) {
            whenColourChooserOpens([](QColorDialog* chooser) {
                chooser->setCurrentColor(QColor(0, 0, 0));
                chooser->accept();
            });
            click(d, COLORS_2D_SIDE);
            QCOMPARE(Settings.SidesColor, (Colour)0x1878B8);
            QCOMPARE(swatchColour(d, COLORS_2D_SIDE_SWATCH), QColor(0xB8, 0x78, 0x18));
            whenColourChooserOpens([](QColorDialog* chooser) {
                chooser->setCurrentColor(QColor(200, 100, 50));
                chooser->reject();
            });
            click(d, COLORS_2D_SIDE);
            QCOMPARE(Settings.SidesColor, (Colour)0x1878B8);
            QCOMPARE(actionsRun, 3);
        });
        colorsDialog2D(nullptr);
        QCOMPARE(actionsRun, 3);
    }

    void pickColorReturnsTheChoiceOrZero() {
        whenColourChooserOpens([](QColorDialog* chooser) {
            chooser->setCurrentColor(QColor(1, 2, 3));
            chooser->accept();
        });
        QCOMPARE(pickColor(nullptr, 0x404040), (uint32_t)0x030201);
        whenColourChooserOpens([](QColorDialog* chooser) { chooser->reject(); });
        QCOMPARE(pickColor(nullptr, 0x404040), (uint32_t)0);
        QCOMPARE(actionsRun, 2);
    }
};

QObject* newSettingsDialogTests() { return new SettingsDialogTests(); }
#include "settings_dialogs_test.moc"
