// The colour dialogs: each button opens the colour chooser for one colour,
// the swatch beside it shows the colour. Every choice takes effect at once.
#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "engine/board_lock.h"
#include "engine/host.h"
#include "platform/dialogs.h"
#include "platform/ui.h"
#include "settings/language.h"
#include "settings/settings.h"

namespace {

struct ColourChoice {
    int32_t button;
    int32_t swatch;
    const char* text;  // the button's language text
    Colour* colour;
};

// A colour button: black or cancelling keeps the colour.
void chooseColour(WindowHandle dialog, const ColourChoice& choice) {
    uint32_t colour = pickColor(dialog, *choice.colour);
    if (colour == 0) return;
    {
        BoardLock lock;  // the automatic player draws with these colours
        *choice.colour = colour;
    }
    paintSwatch(dialog, choice.swatch, colour);
}

// The procedure shared by both dialogs; done runs before the dialog closes.
int32_t colourProc(WindowHandle dialog, uint32_t message, uintptr_t first, const ColourChoice* choices,
                   int count, const char* caption, void (*done)()) {
    switch (message) {
        case WM_INITDIALOG:
            platformSetWindowTitle(dialog, caption);
            platformSetItemText(dialog, COLORS_OK, LanguageTexts.OK);
            for (int i = 0; i < count; ++i) platformSetItemText(dialog, choices[i].button, choices[i].text);
            return 0;
        case WM_PAINT:
            for (int i = 0; i < count; ++i) paintSwatch(dialog, choices[i].swatch, *choices[i].colour);
            return 0;
        case WM_COMMAND:
            if ((int32_t)first == COLORS_OK) {
                if (done) done();
                platformEndDialog(dialog, 1);
                return 0;
            }
            for (int i = 0; i < count; ++i)
                if ((int32_t)first == choices[i].button) chooseColour(dialog, choices[i]);
            return 0;
        default: return 0;
    }
}

const ColourChoice colours2D[] = {
    {COLORS_2D_BACK, COLORS_2D_BACK_SWATCH, LanguageTexts.COLORSBACK, &Settings.BackgroundColor},
    {COLORS_2D_SIDE, COLORS_2D_SIDE_SWATCH, LanguageTexts.COLORSSIDE, &Settings.SidesColor},
};

int32_t colors2DProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    return colourProc(dialog, message, first, colours2D, 2, LanguageTexts.COLORSCAPTION, nullptr);
}

const ColourChoice colours3D[] = {
    {10406, 10404, LanguageTexts.COLORS3DLEVEL0, &Settings.RGBLevelColor[0]},
    {10407, 10405, LanguageTexts.COLORS3DLEVEL1, &Settings.RGBLevelColor[1]},
    {10408, 10412, LanguageTexts.COLORS3DLEVEL2, &Settings.RGBLevelColor[2]},
    {10409, 10413, LanguageTexts.COLORS3DLEVEL3, &Settings.RGBLevelColor[3]},
    {10410, 10414, LanguageTexts.COLORS3DLEVEL4, &Settings.RGBLevelColor[4]},
    {10402, 10415, LanguageTexts.COLORSSIDE, &Settings.SidesColor},
    {10419, 10423, LanguageTexts.COLORS3DTILE1, &Settings.RGBValColor[0]},
    {10420, 10424, LanguageTexts.COLORS3DTILE2, &Settings.RGBValColor[1]},
    {10421, 10425, LanguageTexts.COLORS3DTILE3, &Settings.RGBValColor[2]},
    {10422, 10426, LanguageTexts.COLORS3DTILE4, &Settings.RGBValColor[3]},
    {10403, 10416, LanguageTexts.COLORSBACK, &Settings.BackgroundColor},
    {10411, 10417, LanguageTexts.COLORS3DCOLORSEL, &Settings.SelectColor},
};

// The background colour is the 3D view's clear colour: set it again.
void colours3DDone() { host.initGLState(); }

int32_t colors3DProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    if (message == WM_INITDIALOG) {
        platformSetItemText(dialog, COLORS_3D_LEVEL_GROUP, LanguageTexts.COLORS3DLEVELGRP);
        platformSetItemText(dialog, COLORS_3D_TILE_GROUP, LanguageTexts.COLORS3DTILEGRP);
    }
    return colourProc(dialog, message, first, colours3D, 12, LanguageTexts.COLORS3DCAPTION, colours3DDone);
}

}  // namespace

void colorsDialog2D(WindowHandle owner) {
    platformRunDialog(owner, &colors2DTemplate, colors2DProc, 0);
}

void colorsDialog3D(WindowHandle owner) {
    platformRunDialog(owner, &colors3DTemplate, colors3DProc, 0);
}
