// Ids, limits and enums of the application core; cheap to include.
#pragma once
#include "tutorproto/protocol.h"
#include <cstdint>

using BOOL16 = int16_t;

// The view's run state: what the Status pane shows.
enum RunState : int16_t {
    RUN_STOPPED = 0,
    RUN_RUNNING = 1,
    RUN_HOLD = 2,
    RUN_OVER = 3,
};

// Held department numbers (EnterHold, RestoreHold, message 0x61E).
inline constexpr int16_t HELD_NONE = 0;
inline constexpr int16_t HELD_MARKETING = 1;
inline constexpr int16_t HELD_PURCHASING = 2;
inline constexpr int16_t HELD_PRODUCTION = 3;

// Restart codes of SimulationTick: Marketing's stages 1, 2, 4; Purchasing's 3.
inline constexpr int16_t RESTART_NONE = 0;
inline constexpr int16_t RESTART_NEW_CONTRACTS = 1;
inline constexpr int16_t RESTART_CONTRACT_LOST = 2;
inline constexpr int16_t RESTART_PURCHASING = 3;
inline constexpr int16_t RESTART_NEW_PRODUCTS = 4;

// Command ids of the view.
// The hand cursor departments show over what can be clicked.
inline constexpr int HAND_CURSOR_ID = 106;
inline constexpr int ID_OPEN = 32771;
inline constexpr int ID_SAVE = 32772;
inline constexpr int ID_RUN = 32774;
inline constexpr int ID_INFORMATION = 32775;
inline constexpr int ID_MARKETING = 32777;
inline constexpr int ID_PRODUCTION = 32778;
inline constexpr int ID_PURCHASING = 32779;
inline constexpr int ID_FINANCE = 32780;
inline constexpr int ID_MANAGEMENT = 32781;
inline constexpr int ID_RUN_ON_DAY = 32784;
inline constexpr int ID_RESTORE_HOLD = 32785;
inline constexpr int ID_STOP = 32786;
inline constexpr int ID_BACKGROUND_STORY = 32793;
inline constexpr int ID_CONTINUE = 32794;
inline constexpr int ID_SAVE_POLICIES = 32797;
inline constexpr int ID_LOAD_POLICIES = 32798;
inline constexpr int ID_TIMER_TEN_MINUTES = 32799;
inline constexpr int ID_CLOSE_SESSION = 32802;
inline constexpr int ID_CHANGE_SEED = 32808;
inline constexpr int ID_LOGGING = 32810;
inline constexpr int ID_RUN_YEAR = 32827;

// Private window messages.
inline constexpr unsigned WM_SET_FONTS = 0x61D;
inline constexpr unsigned WM_RESUME_DEPARTMENT = 0x61E;
// WM_TUTOR_REQUEST (0x61F) is the tutorial player's, in its protocol.

// Department menus: option lists hold at most 21 entries; the view's tables
// hold 22 texts (position 0 unused), ids 300 + position and so on.
inline constexpr int MAX_MENU_OPTIONS = 21;
inline constexpr int MENU_TABLE_TEXTS = 22;
inline constexpr int MENU_INFORMATION = 0;
inline constexpr int MENU_ACTIONS = 1;
inline constexpr int MENU_POLICIES = 2;

// Shift modes of the clock.
enum ShiftMode : int16_t {
    SHIFT_ONE = 0,
    SHIFT_THREE = 1,
    SHIFT_TWO = 2,
};

inline constexpr int STORY_MAX_BYTES = 64000;
