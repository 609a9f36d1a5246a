// The dialog templates of the game and the identifiers of their controls.
// Positions and sizes are in dialog units.
#pragma once
#include <cstdint>
#include "platform/dialogs.h"

// About box, template 921.
constexpr int32_t ABOUT_ICON = 901;
constexpr int32_t ABOUT_OK = 10100;
constexpr int32_t ABOUT_LINE = 10102;
constexpr int32_t ABOUT_COPYRIGHT = 10104;
constexpr int32_t ABOUT_EMAIL = 10105;
constexpr int32_t ABOUT_TITLE = 10107;

// Winner's name, template 913.
constexpr int32_t WINNER_OK = 10200;
constexpr int32_t WINNER_NAME = 10201;
constexpr int32_t WINNER_PROMPT = 10202;

// Hall of fame, template 914.
constexpr int32_t HALL_OK = 10300;
constexpr int32_t HALL_NAME_HEADING = 10301;
constexpr int32_t HALL_TIME_HEADING = 10302;
constexpr int32_t HALL_FRAME = 10303;
constexpr int32_t HALL_FIRST_NAME = 10304;  // to 10313, one a row
constexpr int32_t HALL_FIRST_TIME = 10314;  // to 10323
constexpr int HALL_ROWS = 10;

// First-run language choice, template 918.
constexpr int32_t LANGUAGE_OK = 10901;
constexpr int32_t LANGUAGE_LIST = 10902;

// Configuration, templates 915 (2D) and 920 (3D). The 3D dialog reuses the
// identifiers of the delays for its automatic-play delay and rotation step.
constexpr int32_t CONFIG_OK = 10701;
constexpr int32_t CONFIG_STRETCH = 10702;
constexpr int32_t CONFIG_SELECT_GROUP = 10703;
constexpr int32_t CONFIG_SELECT_DARKER = 10704;
constexpr int32_t CONFIG_SELECT_INVERT = 10705;
constexpr int32_t CONFIG_AUTOPLAY_GROUP = 10706;
constexpr int32_t CONFIG_AUTOPLAY_PLUS = 10707;
constexpr int32_t CONFIG_AUTOPLAY_MINUS = 10708;
constexpr int32_t CONFIG_AUTOPLAY_VALUE = 10709;
constexpr int32_t CONFIG_REMOVE_GROUP = 10710;
constexpr int32_t CONFIG_REMOVE_PLUS = 10711;
constexpr int32_t CONFIG_REMOVE_MINUS = 10712;
constexpr int32_t CONFIG_REMOVE_VALUE = 10713;
constexpr int32_t CONFIG_BORDER_GROUP = 10714;
constexpr int32_t CONFIG_BORDER_PLUS = 10715;
constexpr int32_t CONFIG_BORDER_MINUS = 10716;
constexpr int32_t CONFIG_BORDER_VALUE = 10717;
constexpr int32_t CONFIG_SHADOW_GROUP = 10718;
constexpr int32_t CONFIG_SHADOW_PLUS = 10719;
constexpr int32_t CONFIG_SHADOW_MINUS = 10720;
constexpr int32_t CONFIG_SHADOW_VALUE = 10721;
constexpr int32_t CONFIG_STEP_GROUP = 10710;
constexpr int32_t CONFIG_STEP_PLUS = 10711;
constexpr int32_t CONFIG_STEP_MINUS = 10712;
constexpr int32_t CONFIG_STEP_VALUE = 10713;

// Colours, templates 911 (2D) and 919 (3D).
constexpr int32_t COLORS_OK = 10400;
constexpr int32_t COLORS_2D_BACK = 10402;
constexpr int32_t COLORS_2D_SIDE = 10403;
constexpr int32_t COLORS_2D_BACK_SWATCH = 10404;
constexpr int32_t COLORS_2D_SIDE_SWATCH = 10405;
// The 3D dialog's colour buttons and swatches are listed with their colours
// in colors_dialog.cpp; there 10402 chooses the side colour and 10403 the
// background colour.
constexpr int32_t COLORS_3D_LEVEL_GROUP = 10418;
constexpr int32_t COLORS_3D_TILE_GROUP = 10427;

extern const DialogTemplate aboutTemplate;        // 921
extern const DialogTemplate winnerNameTemplate;   // 913
extern const DialogTemplate hallOfFameTemplate;   // 914
extern const DialogTemplate languageTemplate;     // 918
extern const DialogTemplate config2DTemplate;     // 915
extern const DialogTemplate colors2DTemplate;     // 911
extern const DialogTemplate config3DTemplate;     // 920
extern const DialogTemplate colors3DTemplate;     // 919
