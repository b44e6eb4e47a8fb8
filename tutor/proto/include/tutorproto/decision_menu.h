// The decision-menu file: the simulator writes it when a session starts,
// the decision browser reads it. A fixed image of 14036 bytes: four texts,
// then four department groups of 20 actions and 20 policies each.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* DECISION_MENU_FILE = "vorndec.mnu";
inline constexpr size_t DECISION_MENU_SIZE = 14036;

inline constexpr size_t DECISION_TEXT_FIELD = 101;       // title, close caption, two labels
inline constexpr size_t DECISION_TITLE_AT = 0;
inline constexpr size_t DECISION_CLOSE_AT = 101;
inline constexpr size_t DECISION_ACTIONS_LABEL_AT = 202;
inline constexpr size_t DECISION_POLICIES_LABEL_AT = 303;
inline constexpr size_t DECISION_GROUPS_AT = 404;
inline constexpr size_t DECISION_GROUPS = 4;
inline constexpr size_t DECISION_GROUP_SIZE = 3408;
inline constexpr size_t DECISION_NAME_FIELD = 40;
inline constexpr size_t DECISION_ENTRY_SIZE = 84;
inline constexpr size_t DECISION_ENTRY_TEXT_FIELD = 80;
inline constexpr size_t DECISION_ENTRIES = 20;
// Within a group.
inline constexpr size_t DECISION_ACTIONS_AT = 40;
inline constexpr size_t DECISION_ACTION_COUNT_AT = 1720;
inline constexpr size_t DECISION_POLICIES_AT = 1724;
inline constexpr size_t DECISION_POLICY_COUNT_AT = 3404;
static_assert(DECISION_GROUPS_AT + DECISION_GROUPS * DECISION_GROUP_SIZE == DECISION_MENU_SIZE);
static_assert(DECISION_POLICY_COUNT_AT + 4 == DECISION_GROUP_SIZE);

// The groups the browser shows, in the order of the department commands
// that show their windows.
inline constexpr size_t DECISION_MARKETING = 0;
inline constexpr size_t DECISION_PRODUCTION = 1;
inline constexpr size_t DECISION_PURCHASING = 2;

struct DecisionEntry {
    std::string text;  // as the menu shows it, "&" markers and all
    int32_t id = 0;    // the simulator's menu command
};
struct DecisionGroup {
    std::string name;
    std::vector<DecisionEntry> actions;
    std::vector<DecisionEntry> policies;
};
struct DecisionMenu {
    std::string title;
    std::string close_caption;
    std::string actions_label;
    std::string policies_label;
    std::array<DecisionGroup, DECISION_GROUPS> groups;
};

using DecisionMenuBytes = std::vector<uint8_t>;
// Texts cut to their fields (100, 39 and 79 characters), at most 20
// entries per list; everything unused is zero.
DecisionMenuBytes encode_decision_menu(const DecisionMenu& menu);
// False unless exactly 14036 bytes. Every text ends at its field's last
// byte at the latest; counts outside 0..20 are taken as the nearest bound.
bool decode_decision_menu(const uint8_t* data, size_t size, DecisionMenu& out);

// Through a temp file beside it, flushed and checked, then renamed over
// the file.
bool write_decision_menu_file(const std::string& path, const DecisionMenu& menu);
// False when the file cannot be read or is not exactly one image.
bool read_decision_menu_file(const std::string& path, DecisionMenu& out);
