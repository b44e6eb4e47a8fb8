// The view's file commands and small rules: Open, Save, the policies files,
// the background story, the machine-work-percent days, the tutor's command
// record and the program's configuration file.
#pragma once
#include "app/learn_file.h"
#include "app/view.h"
#include "tutorproto/protocol.h"
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class SessionManager;

// The view's smaller commands (teaching aids, information windows, the
// departments' graph switches).
inline constexpr int ID_SET_MACHINE_WORK_PERCENT = 32790;
inline constexpr int ID_INTERMISSION = 32800;
inline constexpr int ID_SHOW_ID = 32801;
inline constexpr int ID_VIEW_GRAPH = 32803;
inline constexpr int ID_POLICY_DECISIONS = 32809;
inline constexpr int ID_WRITE_LANG = 32811;
inline constexpr int ID_COMPARE = 32812;
inline constexpr int ID_SHOW_FG = 32813;
inline constexpr int ID_VERSION = 32816;
inline constexpr int ID_VIEW_TOTAL_LOAD = 32817;
inline constexpr int ID_SUMMARY_GRAPHS = 32818;
inline constexpr int ID_PROFIT_GRAPH = 32819;
inline constexpr int ID_PAUSE_EVENTS = 32824;
// The run-log comparer, started with the run log's name.
inline constexpr const char* COMPARE_PROGRAM = "compare.exe";

// The dialogs the Open command may show; without a window none opens.
class OpenUi {
public:
    virtual ~OpenUi() = default;
    // The Open Session dialog over the learn levels: the chosen index (the
    // number of levels = the last session), none when cancelled. It sets
    // record.tutorial_chosen when the tutorial box was checked.
    virtual std::optional<int> choose_learn_level(LearnRecord& record) { (void)record; return std::nullopt; }
    // Dialog 215: one of the configured scenarios.
    virtual std::optional<std::string> choose_scenario(const std::vector<std::string>& scenarios)
    {
        (void)scenarios;
        return std::nullopt;
    }
    virtual void run_tutorial() {}
};

// Open: the learn levels when the data folder has a learn file, else the
// configured scenarios, else the file prompt. True when a session started.
bool OnOpenSession(SessionManager& sessions, OpenUi* ui, const std::string& data_folder);
// Save: the prompt, ".vnb" when the name has no extension, the
// protect-scenarios option. True when saved.
bool SaveSessionAs(CVornView& view);
bool SavePoliciesCommand(CVornView& view);
bool LoadPoliciesCommand(CVornView& view);

// The story text as the text dialog shows it: line ends CR LF, at most
// 64000 bytes; none (after its box) when the file cannot be read.
std::optional<std::string> read_background_story(const std::string& name);
// The help file's name ends in "HLP" (any case): it opens in help instead.
bool story_is_help(const std::string& name);

// 1 January, 2 January on a Monday, 3 January on a Tuesday, or the first
// working day of the year.
bool machine_work_percent_allowed(const CClockPane& clock);

// The "Show FG" text: every product not retired, then the two totals.
std::string finished_goods_text(CVornView& view);
// The Version box's text.
inline constexpr const char* VORN_VERSION_TEXT = "9.00.07";

// The program's configuration file (a sectioned data file).
bool load_configuration(const std::string& path, Configuration& out);
