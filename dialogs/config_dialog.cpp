// The configuration dialogs: delays, sizes, selection mode and tile
// stretching of the 2D view; delay and rotation step of the 3D view. Every
// button changes its setting at once; the stretch box is read on OK.
#include <cmath>
#include <cstdio>

#include "dialogs/dialogs.h"
#include "dialogs/templates.h"
#include "engine/board_lock.h"
#include "engine/host.h"
#include "platform/dialogs.h"
#include "platform/ui.h"
#include "settings/language.h"
#include "settings/settings.h"

namespace {

constexpr int32_t DELAY_STEP = 100;
constexpr int32_t DELAY_MAXIMUM = 0x7FFFFFFF;
constexpr int16_t SIZE_MINIMUM = 2;
constexpr int16_t SIZE_MAXIMUM = 10;

// The window the open dialog belongs to (the main window): OK fits its faces again.
WindowHandle configOwner = nullptr;

void showDelay(WindowHandle dialog, int32_t id, int32_t milliseconds) {
    char text[LONG_TEXT_SIZE + 16];
    std::snprintf(text, sizeof text, "%d %s", (int)milliseconds, LanguageTexts.MILLISECONDS);
    platformSetItemText(dialog, id, text);
}

void showFraction(WindowHandle dialog, int32_t id, int16_t divisor) {
    char text[16];
    std::snprintf(text, sizeof text, "1 / %d", (int)divisor);
    platformSetItemText(dialog, id, text);
}

// "+" adds 100 without a limit of its own (but never past the largest value
// the setting holds); "-" takes 100 off only a value of at least 100.
void stepDelay(int32_t* delay, bool up) {
    if (up) {
        if (*delay <= DELAY_MAXIMUM - DELAY_STEP) *delay += DELAY_STEP;
    } else if (*delay >= DELAY_STEP) {
        *delay -= DELAY_STEP;
    }
}

// Sizes read from the settings file are not clamped: "+" acts below 10 and
// "-" above 2 only.
void stepSize(int16_t* size, bool up) {
    if (up) {
        if (*size < SIZE_MAXIMUM) ++*size;
    } else if (*size > SIZE_MINIMUM) {
        --*size;
    }
}

void setCommonTexts(WindowHandle dialog) {
    platformSetWindowTitle(dialog, LanguageTexts.CONFIGCAPTION);
    platformSetItemText(dialog, CONFIG_OK, LanguageTexts.OK);
    platformSetItemText(dialog, CONFIG_AUTOPLAY_GROUP, LanguageTexts.AUTOPLAYDELAY);
    showDelay(dialog, CONFIG_AUTOPLAY_VALUE, Settings.AutoPlaySleep);
}

int32_t config2DProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    if (message == WM_INITDIALOG) {
        setCommonTexts(dialog);
        platformSetItemText(dialog, CONFIG_STRETCH, LanguageTexts.STRETCHTILES);
        platformSetItemText(dialog, CONFIG_SELECT_GROUP, LanguageTexts.SELECTMODE);
        platformSetItemText(dialog, CONFIG_SELECT_DARKER, LanguageTexts.SELECTDARKER);
        platformSetItemText(dialog, CONFIG_SELECT_INVERT, LanguageTexts.SELECTINVERT);
        platformSetItemText(dialog, CONFIG_REMOVE_GROUP, LanguageTexts.REMOVETILEDELAY);
        platformSetItemText(dialog, CONFIG_BORDER_GROUP, LanguageTexts.BORDERSIZE);
        platformSetItemText(dialog, CONFIG_SHADOW_GROUP, LanguageTexts.SHADOWSIZE);
        showDelay(dialog, CONFIG_REMOVE_VALUE, Settings.RemoveTileTime);
        showFraction(dialog, CONFIG_BORDER_VALUE, Settings.BorderSize);
        showFraction(dialog, CONFIG_SHADOW_VALUE, Settings.ShadowSize);
        platformSetItemChecked(dialog, CONFIG_STRETCH, Settings.StretchTiles == 1);
        platformSetItemChecked(dialog, Settings.SelectMode == SELECT_DARKER ? CONFIG_SELECT_DARKER
                                                                            : CONFIG_SELECT_INVERT,
                               true);
        return 0;
    }
    if (message != WM_COMMAND) return 0;
    BoardLock lock;  // the automatic player reads these settings
    switch ((int32_t)first) {
        case CONFIG_AUTOPLAY_PLUS:
        case CONFIG_AUTOPLAY_MINUS:
            stepDelay(&Settings.AutoPlaySleep, (int32_t)first == CONFIG_AUTOPLAY_PLUS);
            showDelay(dialog, CONFIG_AUTOPLAY_VALUE, Settings.AutoPlaySleep);
            break;
        case CONFIG_REMOVE_PLUS:
        case CONFIG_REMOVE_MINUS:
            stepDelay(&Settings.RemoveTileTime, (int32_t)first == CONFIG_REMOVE_PLUS);
            showDelay(dialog, CONFIG_REMOVE_VALUE, Settings.RemoveTileTime);
            break;
        case CONFIG_BORDER_PLUS:
        case CONFIG_BORDER_MINUS:
            stepSize(&Settings.BorderSize, (int32_t)first == CONFIG_BORDER_PLUS);
            showFraction(dialog, CONFIG_BORDER_VALUE, Settings.BorderSize);
            break;
        case CONFIG_SHADOW_PLUS:
        case CONFIG_SHADOW_MINUS:
            stepSize(&Settings.ShadowSize, (int32_t)first == CONFIG_SHADOW_PLUS);
            showFraction(dialog, CONFIG_SHADOW_VALUE, Settings.ShadowSize);
            break;
        case CONFIG_SELECT_DARKER: Settings.SelectMode = SELECT_DARKER; break;
        case CONFIG_SELECT_INVERT: Settings.SelectMode = SELECT_INVERT; break;
        case CONFIG_OK:
            Settings.StretchTiles = platformIsItemChecked(dialog, CONFIG_STRETCH) ? 1 : 0;
            host.fitFaceSize(configOwner);
            platformEndDialog(dialog, 1);
            break;
        default: break;
    }
    return 0;
}

constexpr float STEP_MINIMUM = 1.0f;
constexpr float STEP_MAXIMUM = 255.0f;

// The step truncated toward zero; printed from the float so that any value
// read from the settings file shows without overflowing an integer.
void showStep(WindowHandle dialog, int32_t id, float step) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", (double)std::trunc(step) + 0.0);
    platformSetItemText(dialog, id, text);
}

void stepRotation(float* step, bool up) {
    if (up) {
        if (*step < STEP_MAXIMUM) *step += 1.0f;
    } else if (*step > STEP_MINIMUM) {
        *step -= 1.0f;
    }
}

int32_t config3DProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t) {
    if (message == WM_INITDIALOG) {
        setCommonTexts(dialog);
        platformSetItemText(dialog, CONFIG_STEP_GROUP, LanguageTexts.STEP3D);
        showStep(dialog, CONFIG_STEP_VALUE, Settings.StepRotation);
        return 0;
    }
    if (message != WM_COMMAND) return 0;
    BoardLock lock;  // the automatic player reads AutoPlaySleep
    switch ((int32_t)first) {
        case CONFIG_AUTOPLAY_PLUS:
        case CONFIG_AUTOPLAY_MINUS:
            stepDelay(&Settings.AutoPlaySleep, (int32_t)first == CONFIG_AUTOPLAY_PLUS);
            showDelay(dialog, CONFIG_AUTOPLAY_VALUE, Settings.AutoPlaySleep);
            break;
        case CONFIG_STEP_PLUS:
        case CONFIG_STEP_MINUS:
            stepRotation(&Settings.StepRotation, (int32_t)first == CONFIG_STEP_PLUS);
            showStep(dialog, CONFIG_STEP_VALUE, Settings.StepRotation);
            break;
        case CONFIG_OK:
            host.fitFaceSize(configOwner);
            platformEndDialog(dialog, 1);
            break;
        default: break;
    }
    return 0;
}

}  // namespace

void configDialog2D(WindowHandle owner) {
    configOwner = owner;
    platformRunDialog(owner, &config2DTemplate, config2DProc, 0);
}

void configDialog3D(WindowHandle owner) {
    configOwner = owner;
    platformRunDialog(owner, &config3DTemplate, config3DProc, 0);
}
