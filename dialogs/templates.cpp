// The dialog templates. Texts that come from the language file are replaced
// when a dialog opens; the ones here are English stand-ins until then.
#include "dialogs/templates.h"

#include "settings/settings.h"

namespace {

constexpr int32_t S = DIALOG_STATIC;
constexpr int32_t B = DIALOG_BUTTON;
constexpr int32_t D = DIALOG_DEFAULT_BUTTON;
constexpr int32_t G = DIALOG_GROUPBOX;

template <int N>
constexpr int32_t countOf(const DialogItem (&)[N]) {
    return N;
}

const DialogItem aboutItems[] = {
    {DIALOG_ICON, ABOUT_ICON, 16, 17, 21, 20, nullptr, 0},
    {S, ABOUT_TITLE, 50, 8, 100, 8, PROGRAM_TITLE, 0},
    {S, ABOUT_LINE, 50, 23, 103, 8, "A mah-jong solitaire", 0},
    {S, ABOUT_COPYRIGHT, 50, 38, 103, 8, "Copyright", 0},
    {S, ABOUT_EMAIL, 50, 65, 73, 8, "E-mail", 0},
    {S, DIALOG_NO_ID, 50, 80, 73, 8, "for Linux desktops", 0},
    {D, ABOUT_OK, 55, 112, 50, 14, "OK", 0},
};

const DialogItem winnerNameItems[] = {
    {S, WINNER_PROMPT, 5, 7, 100, 8, "Your name :", 0},
    {DIALOG_EDIT, WINNER_NAME, 5, 21, 100, 12, "", 0},
    {D, WINNER_OK, 31, 41, 50, 14, "OK", 0},
};

#define HALL_ROW(r)                                                                  \
    {S, HALL_FIRST_NAME + (r), 10, 20 + 10 * (r), 85, 8, "", 0},                     \
    {S, HALL_FIRST_TIME + (r), 105, 20 + 10 * (r), (r) == 9 ? 30 : 29, 8, "", 0}

const DialogItem hallOfFameItems[] = {
    {S, HALL_NAME_HEADING, 10, 5, 83, 8, "Name", 0},
    {S, HALL_TIME_HEADING, 105, 5, 32, 8, "Time", 0},
    {G, HALL_FRAME, 6, 15, 135, 105, nullptr, 0},
    HALL_ROW(0), HALL_ROW(1), HALL_ROW(2), HALL_ROW(3), HALL_ROW(4),
    HALL_ROW(5), HALL_ROW(6), HALL_ROW(7), HALL_ROW(8), HALL_ROW(9),
    {D, HALL_OK, 49, 126, 50, 14, "OK", 0},
};
#undef HALL_ROW

const DialogItem languageItems[] = {
    {S, DIALOG_NO_ID, 7, 7, 89, 8, "Please choose a language :", 0},
    {DIALOG_LIST, LANGUAGE_LIST, 7, 22, 133, 94, nullptr, 0},
    {D, LANGUAGE_OK, 48, 43, 50, 14, "OK", 0},
};

const DialogItem config2DItems[] = {
    {DIALOG_CHECKBOX, CONFIG_STRETCH, 10, 28, 131, 10, "Stretch the tiles", 0},
    {G, CONFIG_SELECT_GROUP, 150, 9, 107, 43, "Selection", 0},
    {DIALOG_RADIO, CONFIG_SELECT_DARKER, 160, 20, 88, 10, "Darker", DIALOG_FLAG_GROUP},
    {DIALOG_RADIO, CONFIG_SELECT_INVERT, 160, 36, 88, 10, "Inverted", 0},
    {G, CONFIG_AUTOPLAY_GROUP, 10, 62, 133, 29, "Automatic play delay", 0},
    {B, CONFIG_AUTOPLAY_MINUS, 17, 72, 14, 14, "-", 0},
    {B, CONFIG_AUTOPLAY_PLUS, 37, 72, 14, 14, "+", 0},
    {S, CONFIG_AUTOPLAY_VALUE, 58, 75, 76, 8, "", 0},
    {G, CONFIG_REMOVE_GROUP, 10, 102, 133, 29, "Removal delay", 0},
    {B, CONFIG_REMOVE_MINUS, 17, 112, 14, 14, "-", 0},
    {B, CONFIG_REMOVE_PLUS, 37, 112, 14, 14, "+", 0},
    {S, CONFIG_REMOVE_VALUE, 58, 115, 76, 8, "", 0},
    {G, CONFIG_BORDER_GROUP, 150, 62, 107, 29, "Border size", 0},
    {B, CONFIG_BORDER_MINUS, 158, 72, 14, 14, "-", 0},
    {B, CONFIG_BORDER_PLUS, 178, 72, 14, 14, "+", 0},
    {S, CONFIG_BORDER_VALUE, 198, 75, 50, 8, "", 0},
    {G, CONFIG_SHADOW_GROUP, 150, 102, 107, 29, "Shadow size", 0},
    {B, CONFIG_SHADOW_MINUS, 158, 112, 14, 14, "-", 0},
    {B, CONFIG_SHADOW_PLUS, 178, 112, 14, 14, "+", 0},
    {S, CONFIG_SHADOW_VALUE, 198, 115, 50, 8, "", 0},
    {D, CONFIG_OK, 108, 139, 50, 14, "OK", 0},
};

const DialogItem colors2DItems[] = {
    {B, COLORS_2D_BACK, 5, 5, 95, 14, "Background", 0},
    {B, COLORS_2D_SIDE, 5, 25, 95, 14, "Sides", 0},
    {DIALOG_SWATCH, COLORS_2D_BACK_SWATCH, 105, 5, 14, 14, nullptr, 0},
    {DIALOG_SWATCH, COLORS_2D_SIDE_SWATCH, 105, 25, 14, 14, nullptr, 0},
    {D, COLORS_OK, 38, 46, 50, 14, "OK", 0},
};

const DialogItem config3DItems[] = {
    {G, CONFIG_AUTOPLAY_GROUP, 10, 6, 133, 29, "Automatic play delay", 0},
    {B, CONFIG_AUTOPLAY_MINUS, 17, 16, 14, 14, "-", 0},
    {B, CONFIG_AUTOPLAY_PLUS, 37, 16, 14, 14, "+", 0},
    {S, CONFIG_AUTOPLAY_VALUE, 58, 19, 76, 8, "", 0},
    {G, CONFIG_STEP_GROUP, 10, 46, 133, 29, "Rotation step", 0},
    {B, CONFIG_STEP_MINUS, 17, 56, 14, 14, "-", 0},
    {B, CONFIG_STEP_PLUS, 37, 56, 14, 14, "+", 0},
    {S, CONFIG_STEP_VALUE, 58, 59, 76, 8, "", 0},
    {D, CONFIG_OK, 51, 84, 50, 14, "OK", 0},
};

#define COLOUR_PAIR(button, x, y, text, swatch)                \
    {B, button, x, y, 95, 14, text, 0},                        \
    {DIALOG_SWATCH, swatch, (x) + 100, y, 14, 14, nullptr, 0}

const DialogItem colors3DItems[] = {
    {G, COLORS_3D_LEVEL_GROUP, 5, 5, 125, 110, "Layers", 0},
    {G, COLORS_3D_TILE_GROUP, 135, 5, 125, 90, "Tiles", 0},
    COLOUR_PAIR(10406, 10, 15, "Layer 1", 10404),
    COLOUR_PAIR(10407, 10, 35, "Layer 2", 10405),
    COLOUR_PAIR(10408, 10, 55, "Layer 3", 10412),
    COLOUR_PAIR(10409, 10, 75, "Layer 4", 10413),
    COLOUR_PAIR(10410, 10, 95, "Layer 5", 10414),
    COLOUR_PAIR(10402, 10, 120, "Sides", 10415),
    COLOUR_PAIR(10419, 140, 15, "Tile colour 1", 10423),
    COLOUR_PAIR(10420, 140, 35, "Tile colour 2", 10424),
    COLOUR_PAIR(10421, 140, 55, "Tile colour 3", 10425),
    COLOUR_PAIR(10422, 140, 75, "Tile colour 4", 10426),
    COLOUR_PAIR(10403, 140, 100, "Background", 10416),
    COLOUR_PAIR(10411, 140, 120, "Selection", 10417),
    {D, COLORS_OK, 108, 145, 50, 14, "OK", 0},
};
#undef COLOUR_PAIR

}  // namespace

const DialogTemplate aboutTemplate = {"About", 160, 135, aboutItems, countOf(aboutItems)};
const DialogTemplate winnerNameTemplate = {"Well done!", 112, 61, winnerNameItems,
                                           countOf(winnerNameItems)};
const DialogTemplate hallOfFameTemplate = {"Hall of fame", 147, 144, hallOfFameItems,
                                           countOf(hallOfFameItems)};
const DialogTemplate languageTemplate = {PROGRAM_TITLE, 147, 63, languageItems, countOf(languageItems)};
const DialogTemplate config2DTemplate = {"Configuration", 266, 159, config2DItems, countOf(config2DItems)};
const DialogTemplate colors2DTemplate = {"Colours", 126, 65, colors2DItems, countOf(colors2DItems)};
const DialogTemplate config3DTemplate = {"Configuration", 152, 105, config3DItems, countOf(config3DItems)};
const DialogTemplate colors3DTemplate = {"Colours", 267, 166, colors3DItems, countOf(colors3DItems)};
