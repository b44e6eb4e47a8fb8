// The decision browser's engine: the decision-menu file as the tree shows
// it, and what a selection asks of the simulator.
#pragma once
#include "tutor/playback.h"
#include "tutorproto/decision_menu.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The simulator's commands that show the Marketing, Production and
// Purchasing windows, one per group the browser shows.
inline constexpr std::array<int32_t, 3> DECISION_DEPARTMENT_COMMANDS = {32777, 32778, 32779};
inline constexpr size_t DECISION_SHOWN_GROUPS = 3;

// The file's menu with every "&" taken out of the used entries' texts of
// the shown groups; names and labels keep theirs.
DecisionMenu browser_menu(const DecisionMenu& file);
// The menu the browser shows, from vorndec.mnu; empty when the file is
// missing or not one image (no message).
DecisionMenu load_browser_menu(const std::string& path);

// The menu commands a selection posts, in order: the department's command
// when the root is a shown group's name, then the id of the first action
// whose text equals the item's, then that of the first such policy.
std::vector<int32_t> decision_commands(const DecisionMenu& shown, const std::string& root_text,
                                       const std::string& item_text);

// A selection: the simulator's open dialog is closed first (a
// CloseCurrentWindow record handed over), then the commands are posted to
// its main window. Nothing without a simulator, nothing posted when the
// hand-over failed.
void select_decision(TutorLink& link, plat::HWND simulator, const DecisionMenu& shown,
                     const std::string& root_text, const std::string& item_text);
