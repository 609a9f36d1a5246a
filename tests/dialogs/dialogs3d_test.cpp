// The configuration and colour dialogs of the 3D view, as built into mahjong.
#include <QColorDialog>
#include <QTest>
#include <cstring>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "tests/support/null_host.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/dialogs/dialog_suites.h"

static_assert(MAHJONG_3D == 1, "these tests exercise mahjong's dialogs");

namespace {

#define SET_TEXT(key, text) copyText(LanguageTexts.key, text, (int)sizeof LanguageTexts.key)

template <typename Action>
void inConfig3D(Action action) {
    whenDialogOpens(CONFIG_OK, [action](WindowHandle d, QDialog* w) {
        action(d, w);
        click(d, CONFIG_OK);
    });
    configDialog3D(nullptr);
}

struct ColourRow {
    int32_t button;
    int32_t swatch;
    Colour* colour;
    const char* text;
};

ColourRow rows[] = {
    {10406, 10404, &Settings.RGBLevelColor[0], "Level 0"},
    {10407, 10405, &Settings.RGBLevelColor[1], "Level 1"},
    {10408, 10412, &Settings.RGBLevelColor[2], "Level 2"},
    {10409, 10413, &Settings.RGBLevelColor[3], "Level 3"},
    {10410, 10414, &Settings.RGBLevelColor[4], "Level 4"},
    {10402, 10415, &Settings.SidesColor, "Sides"},
    {10419, 10423, &Settings.RGBValColor[0], "Tile 1"},
    {10420, 10424, &Settings.RGBValColor[1], "Tile 2"},
    {10421, 10425, &Settings.RGBValColor[2], "Tile 3"},
    {10422, 10426, &Settings.RGBValColor[3], "Tile 4"},
    {10403, 10416, &Settings.BackgroundColor, "Background"},
    {10411, 10417, &Settings.SelectColor, "Selection"},
};

void setColourTexts() {
    SET_TEXT(COLORS3DLEVEL0, "Level 0");
    SET_TEXT(COLORS3DLEVEL1, "Level 1");
    SET_TEXT(COLORS3DLEVEL2, "Level 2");
    SET_TEXT(COLORS3DLEVEL3, "Level 3");
    SET_TEXT(COLORS3DLEVEL4, "Level 4");
    SET_TEXT(COLORSSIDE, "Sides");
    SET_TEXT(COLORS3DTILE1, "Tile 1");
    SET_TEXT(COLORS3DTILE2, "Tile 2");
    SET_TEXT(COLORS3DTILE3, "Tile 3");
    SET_TEXT(COLORS3DTILE4, "Tile 4");
    SET_TEXT(COLORSBACK, "Background");
    SET_TEXT(COLORS3DCOLORSEL, "Selection");
    SET_TEXT(COLORS3DLEVELGRP, "Layers");
    SET_TEXT(COLORS3DTILEGRP, "Tiles");
    SET_TEXT(COLORS3DCAPTION, "3D colours");
}

}  // namespace

class Dialogs3DTests : public QObject {
    Q_OBJECT
private slots:
    void init() {
        actionsRun = 0;
        fake::fitFaceSizeCount = fake::initGLStateCount = 0;
        std::memset(&LanguageTexts, 0, sizeof LanguageTexts);
        SET_TEXT(OK, "OK!");
        SET_TEXT(MILLISECONDS, "ms");
        Settings.AutoPlaySleep = 500;
        Settings.StepRotation = 5.0f;
        for (int i = 0; i < 12; ++i) *rows[i].colour = 0x010101u * (uint32_t)(i + 1) * 16u;
    }

    void configShowsTheDelayAndTheStep() {
        SET_TEXT(CONFIGCAPTION, "Settings 3D");
        SET_TEXT(AUTOPLAYDELAY, "Autoplay");
        SET_TEXT(STEP3D, "Step");
        inConfig3D([](WindowHandle d, QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Settings 3D"));
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_GROUP), QStringLiteral("Autoplay"));
            QCOMPARE(itemText(d, CONFIG_STEP_GROUP), QStringLiteral("Step"));
            QCOMPARE(itemText(d, CONFIG_OK), QStringLiteral("OK!"));
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_VALUE), QStringLiteral("500 ms"));
            QCOMPARE(itemText(d, CONFIG_STEP_VALUE), QStringLiteral("5"));
            click(d, CONFIG_STEP_PLUS);
            QCOMPARE(Settings.StepRotation, 6.0f);
            QCOMPARE(itemText(d, CONFIG_STEP_VALUE), QStringLiteral("6"));
            click(d, CONFIG_AUTOPLAY_MINUS);
            QCOMPARE(Settings.AutoPlaySleep, 400);
            QCOMPARE(itemText(d, CONFIG_AUTOPLAY_VALUE), QStringLiteral("400 ms"));
            QCOMPARE(fake::fitFaceSizeCount, 0);
        });
        QCOMPARE(actionsRun, 1);
        QCOMPARE(fake::fitFaceSizeCount, 1);  // on OK
    }

    void theStepStopsAt255AndOne() {
        Settings.StepRotation = 254.5f;
        inConfig3D([](WindowHandle d, QDialog*) {
            QCOMPARE(itemText(d, CONFIG_STEP_VALUE), QStringLiteral("254"));
            click(d, CONFIG_STEP_PLUS);
            QCOMPARE(Settings.StepRotation, 255.5f);
            QCOMPARE(itemText(d, CONFIG_STEP_VALUE), QStringLiteral("255"));
            click(d, CONFIG_STEP_PLUS);
            QCOMPARE(Settings.StepRotation, 255.5f);
        });
        Settings.StepRotation = 255.0f;
        inConfig3D([](WindowHandle d, QDialog*) {
            click(d, CONFIG_STEP_PLUS);
            QCOMPARE(Settings.StepRotation, 255.0f);
        });
        Settings.StepRotation = 1.5f;
        inConfig3D([](WindowHandle d, QDialog*) {
            click(d, CONFIG_STEP_MINUS);
            QCOMPARE(Settings.StepRotation, 0.5f);
            QCOMPARE(itemText(d, CONFIG_STEP_VALUE), QStringLiteral("0"));
            click(d, CONFIG_STEP_MINUS);
            QCOMPARE(Settings.StepRotation, 0.5f);
        });
    }

    void stepsFromTheFileShowWithoutOverflow() {
        Settings.StepRotation = 1e20f;
        inConfig3D([](WindowHandle d, QDialog*) {
            QCOMPARE(itemText(d, CONFIG_STEP_VALUE), QStringLiteral("100000002004087734272"));
            click(d, CONFIG_STEP_PLUS);
            QCOMPARE(Settings.StepRotation, 1e20f);
            click(d, CONFIG_STEP_MINUS);  // no visible change at this size, but no harm
        });
        Settings.StepRotation = -0.75f;
        inConfig3D([](WindowHandle d, QDialog*) {
            QCOMPARE(itemText(d, CONFIG_STEP_VALUE), QStringLiteral("0"));
            click(d, CONFIG_STEP_MINUS);
            QCOMPARE(Settings.StepRotation, -0.75f);
            click(d, CONFIG_STEP_PLUS);
            QCOMPARE(Settings.StepRotation, 0.25f);
        });
    }

    void colourDialogShowsTwelveColours() {
        setColourTexts();
        whenDialogOpens(COLORS_OK, [](WindowHandle d, QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("3D colours"));
            QCOMPARE(itemText(d, COLORS_3D_LEVEL_GROUP), QStringLiteral("Layers"));
            QCOMPARE(itemText(d, COLORS_3D_TILE_GROUP), QStringLiteral("Tiles"));
            QCOMPARE(itemText(d, COLORS_OK), QStringLiteral("OK!"));
            w->grab();
            for (const ColourRow& row : rows) {
                QCOMPARE(itemText(d, row.button), QString::fromLatin1(row.text));
                QCOMPARE(swatchColour(d, row.swatch), asQColor(*row.colour));
            }
        });
        colorsDialog3D(nullptr);
        QCOMPARE(actionsRun, 1);
        QCOMPARE(fake::initGLStateCount, 1);
    }

    void eachButtonChoosesItsOwnColour() {
        whenDialogOpens(COLORS_OK, [](WindowHandle d, QDialog*) {
            for (int i = 0; i < 12; ++i) {
                const uint32_t before = *rows[i].colour;
                QColor initial;
                whenColourChooserOpens([&initial, i](QColorDialog* chooser) {
                    initial = chooser->currentColor();
                    chooser->setCurrentColor(QColor(200, i, 7));
                    chooser->accept();
                });
                click(d, rows[i].button);
                QCOMPARE(initial, asQColor(before));
                QCOMPARE(*rows[i].colour, (Colour)(200u | ((uint32_t)i << 8) | (7u << 16)));
                QCOMPARE(swatchColour(d, rows[i].swatch), QColor(200, i, 7));
                for (int j = i + 1; j < 12; ++j)
                    QCOMPARE(*rows[j].colour, 0x010101u * (uint32_t)(j + 1) * 16u);
            }
            QCOMPARE(fake::initGLStateCount, 0);
        });
        colorsDialog3D(nullptr);
        QCOMPARE(actionsRun, 13);
        QCOMPARE(fake::initGLStateCount, 1);
    }

    void blackKeepsA3DColour() {
        whenDialogOpens(COLORS_OK, [](WindowHandle d, QDialog*) {
            whenColourChooserOpens([](QColorDialog* chooser) {
                chooser->setCurrentColor(Qt::black);
                chooser->accept();
            });
            click(d, 10403);
            QCOMPARE(Settings.BackgroundColor, 0x010101u * 11u * 16u);
        });
        colorsDialog3D(nullptr);
        QCOMPARE(actionsRun, 2);
    }
};

QObject* newDialogs3DTests() { return new Dialogs3DTests(); }
#include "dialogs3d_test.moc"
