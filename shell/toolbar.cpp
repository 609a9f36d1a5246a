// The toolbar, its tooltips and the menu icons.
#include "shell/toolbar.h"

#include <cstring>

#include "platform/menus.h"
#include "platform/resources.h"
#include "platform/toolbar.h"
#include "platform/ui.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "view2d/bitmap.h"

const uint32_t iconCommands[MENU_ICON_COUNT] = {
    CMD_LOAD_LAYOUT, CMD_NEW_GAME, CMD_UNDO,      CMD_HINT,      CMD_PAUSE_CHRONO,
    CMD_USE_SOUNDS,  CMD_HALL_OF_FAME, CMD_HELP_FILE, CMD_HELP_ABOUT, CMD_EXIT};

Surface menuIcons[MENU_ICON_COUNT];

namespace {

const ToolbarEntry toolbarEntries[TOOLBAR_ENTRY_COUNT] = {
    {(int32_t)CMD_LOAD_LAYOUT, 0}, {(int32_t)CMD_NEW_GAME, 1},    {0, TOOLBAR_SEPARATOR},
    {(int32_t)CMD_PAUSE_CHRONO, 4}, {(int32_t)CMD_HINT, 3},       {(int32_t)CMD_UNDO, 2},
    {0, TOOLBAR_SEPARATOR},        {(int32_t)CMD_USE_SOUNDS, 5},  {(int32_t)CMD_HALL_OF_FAME, 6},
    {0, TOOLBAR_SEPARATOR},        {(int32_t)CMD_HELP_FILE, 7},   {(int32_t)CMD_HELP_ABOUT, 8},
    {(int32_t)CMD_EXIT, 9}};

const char* tipText(uint32_t command) {
    switch (command) {
        case CMD_NEW_GAME: return LanguageTexts.T_NEW_GAME;
        case CMD_UNDO: return LanguageTexts.T_UNDO;
        case CMD_HINT: return LanguageTexts.T_HINT;
        case CMD_LOAD_LAYOUT: return LanguageTexts.T_LOAD_LAYOUT;
        case CMD_PAUSE_CHRONO: return LanguageTexts.T_PAUSE_CHRONO;
        case CMD_USE_SOUNDS: return LanguageTexts.T_SOUND;
        case CMD_HALL_OF_FAME: return LanguageTexts.T_HALL_OF_FAME;
        case CMD_HELP_FILE: return LanguageTexts.T_HELP_FILE;
        case CMD_HELP_ABOUT: return LanguageTexts.T_HELP_ABOUT;
        case CMD_EXIT: return LanguageTexts.T_EXIT;
        default: return nullptr;
    }
}

}  // namespace

bool loadIconStrip(Surface* strip, int scale) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!platformResourceData(scale >= 2 ? RESOURCE_LARGE_ICON_STRIP : RESOURCE_ICON_STRIP, &data, &size)) {
        releaseSurface(strip);
        return false;
    }
    return decodeBitmap(data, size, strip);
}

void makeMenuIcons(WindowHandle window) {
    Surface strip = {0, 0, nullptr};
    if (!loadIconStrip(&strip, platformIconScale(window))) return;
    const int side = strip.height;
    const uint32_t menuColour = platformMenuBackgroundColour();
    int width = platformMetric(METRIC_MENU_CHECK_WIDTH);
    int height = platformMetric(METRIC_MENU_CHECK_HEIGHT);
    if (width < 1) width = side;
    if (height < 1) height = side;
    for (int i = 0; i < MENU_ICON_COUNT; ++i) {
        Surface icon = {0, 0, nullptr};
        if (!createSurface(&icon, side, side)) continue;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                uint32_t colour = getPixel(&strip, side * i + x, y) & 0x00FFFFFF;
                setPixel(&icon, x, y, colour == ICON_BACKGROUND ? menuColour : colour);
            }
        releaseSurface(&menuIcons[i]);
        stretchSurface(&menuIcons[i], &icon, width, height);
        releaseSurface(&icon);
    }
    releaseSurface(&strip);
}

void releaseMenuIcons() {
    for (Surface& icon : menuIcons) releaseSurface(&icon);
}

int createToolbar(WindowHandle window) {
    Surface strip = {0, 0, nullptr};
    loadIconStrip(&strip, platformIconScale(window));
    int height = platformCreateToolbar(window, &strip, toolbarEntries, TOOLBAR_ENTRY_COUNT);
    releaseSurface(&strip);
    return height;
}

bool answerTooltip(NotifyHeader* header) {
    if (!header || header->code != NOTIFY_TOOLTIP_TEXT) return false;
    TooltipRequest* request = reinterpret_cast<TooltipRequest*>(header);
    const char* text = tipText(request->commandId);
    if (!text) return false;
    copyText(request->text, text, TOOLTIP_TEXT_SIZE);
    return true;
}
