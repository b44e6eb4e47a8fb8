// The session: the view's state while a scenario runs. The clock, the tick
// that drives the department hooks, the run states and HOLD, the scenario's
// sections, the state files and the run-control commands. One object per
// session: a load goes into a new object, which is dropped when it fails.
#pragma once
#include "app/app_types.h"
#include "app/clock.h"
#include "app/department.h"
#include "app/panes.h"
#include "app/version_id.h"
#include "foundation/simdate.h"
#include "plat/crt.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DataFile;
class CVornView;
class RunLog;
struct LearnRecord;
struct LearnOutcome;

// The program's installation settings handed to the view at start-up.
struct Configuration {
    std::string title = "VORNS";
    bool timer_enabled = true;
    uint32_t option_bits = 0;            // bit 8: scenarios may not be overwritten
    std::vector<std::string> scenarios;  // listed by Open when there is no learn file
    bool tutorial = false;
    std::string about;
    bool hide_sales_graph = false;       // the daily-sales graph starts hidden
    bool month_start_hook = false;       // Marketing's month-start notification
};
inline constexpr uint32_t OPTION_PROTECT_SCENARIOS = 1u << 8;

// The indicator panes whose figures the departments change, as bits for
// CVornView::notify_panes.
enum PaneNotice : unsigned {
    PANE_REPUTATION = 1u << 0,  // the Reputation pane (Marketing's period figure)
    PANE_CASH = 1u << 1,        // the Cash pane (Finance's balance)
    PANE_PROFIT = 1u << 2,      // the Profit pane (Finance's reports)
};

// What the session needs of the windows around it. Without one (headless)
// nothing is drawn and no dialog opens.
class ViewUi {
public:
    virtual ~ViewUi() = default;
    virtual void run_state_changed(int16_t /*state*/) {}
    virtual void show_restore_hold(bool /*shown*/) {}
    virtual void timer_changed() {}
    // The figures behind these panes (PaneNotice bits) changed: they show
    // the new ones at once.
    virtual void panes_changed(unsigned /*panes*/) {}
    // The Change Seed dialog with the current seed; the new seed, or none.
    virtual std::optional<int32_t> change_seed(int32_t seed) { (void)seed; return std::nullopt; }
    // Session start with a background story named in NEW_FEATURES: the
    // argument is the file's name (read_background_story reads it, or
    // story_is_help sends it to help), not its text.
    virtual void show_story(const std::string& /*file_name*/) {}
    virtual void department_switched(int /*command_id*/) {}
    // The Simulation Over dialog of a learn session.
    virtual void show_learn_result(const LearnOutcome& /*outcome*/) {}
    // The modeless Red Warnings dialog: made once and shown, or destroyed.
    virtual void show_red_warnings(bool /*shown*/) {}
};

struct Departments {
    std::unique_ptr<CDepartmentWnd> marketing;
    std::unique_ptr<CDepartmentWnd> production;
    std::unique_ptr<CDepartmentWnd> purchasing;
    std::unique_ptr<CDepartmentWnd> finance;
    // Only where the scenario has the Management feature; none otherwise.
    std::unique_ptr<CDepartmentWnd> management;
};
// Builds a session's departments in the order Marketing, Production,
// Purchasing, Finance (then Management).
using DepartmentFactory = std::function<Departments(CVornView&)>;
// The same behind the windowed program's panels (none headless). The
// program's one assembly of the departments has this shape.
using DepartmentAssembly = std::function<Departments(CVornView&, const PanelMaker&)>;
// The base window in every slot: the session alone.
Departments base_departments(CVornView& view);
// Puts a panel behind every department of the set; nothing without a maker.
void attach_panels(Departments& departments, const PanelMaker& panels);

struct StartOptions {
    std::optional<int32_t> seed;  // replaces the scenario's seed
    bool learn = false;           // started from the learn list
    // Whether to ask before resuming; none: the profile's value
    // ("General", "AskResumeSession", default 0).
    std::optional<int> ask_resume;
};

// The run-until choices of the Run dialog, later lines overriding earlier.
struct RunChoice {
    std::string typed_date;  // empty: no change
    bool year = false, month = false, week = false, day = false;
    bool next_month = false, next_year = false;
};

class CVornView {
public:
    CVornView(const Configuration& config, DepartmentFactory factory = base_departments);
    ~CVornView();
    CVornView(const CVornView&) = delete;
    CVornView& operator=(const CVornView&) = delete;

    // Session lifecycle (steps of session start that read the scenario and
    // resume; the caller makes the object current only when it answers true).
    bool LoadSession(const std::string& path, const StartOptions& options);
    // Steps after a successful load: run state, first tick, first department.
    void BeginSession();
    bool resumed() const { return resumed_; }
    void CloseSession();

    // The tick and the idle work.
    void IdleStep();
    void SimulationTick(int16_t restart_code);
    void SetRunState(int16_t state);
    void CheckRunUntil();
    void EnterHold(int16_t department);
    void RestoreHold();
    intptr_t OnResumeDepartment();
    void SimulationOver();

    // Run control. RunPrecheck is what Run asks before its dialog opens.
    bool RunPrecheck();
    bool Run(const RunChoice& choice);
    void Stop();
    void Continue();
    void RunOnDay();
    void RunYear();
    void AddTimerTenMinutes();
    bool ContinueEnabled() const;
    void SwitchDepartment(int command_id);

    // State files.
    // Writes the files in the layout of `version` (the current one unless a
    // test asks for an older layout): the header carries that id and every
    // saver asks CheckVersionId, as the loaders do, which fields it writes.
    bool SaveSession(const std::string& path, bool show_message,
                     std::string_view version = CURRENT_VERSION_ID);
    // Reads the files of a session; false when one is damaged (after its box).
    bool LoadSessionFiles(const std::string& path);
    void SaveCoreState(BinFile& file, std::string_view version = CURRENT_VERSION_ID) const;
    bool LoadCoreState(BinFile& file);
    BOOL16 CheckVersionId(std::string_view id) const;
    bool CheckOldStateFiles(const VersionId& id);
    BOOL16 IsOldestStateVersion() const;
    // The file being read or written carries the tails (STATE_TAIL_VERSION_ID or later).
    bool HasStateTail() const;

    // Run logs: the Logging command, decision records, the end summary.
    void ToggleLogging();
    void log_decision(const char* department, const char* key, const std::string& item,
                      const std::string& old_value, const std::string& new_value, int kind, int action);
    void log_summary();

    // Policies files.
    bool SavePolicies(const std::string& path);
    bool LoadPolicies(const std::string& path);

    // A department changed what these panes show (PaneNotice bits, or-ed):
    // the windows repaint them at once; headless, nothing happens.
    void notify_panes(unsigned panes)
    {
        if (ui_ != nullptr)
            ui_->panes_changed(panes);
    }

    // The Change Seed command's effect.
    void ChangeSeed(int32_t seed);
    // The session's random generator (the C runtime's formula). While this
    // session is the active one, every draw of the program comes from it,
    // the named tables' (draw_rand_table) included. Its state is saved in
    // the header's tail and restored from it.
    int rand() { return rng.next(); }
    void srand(uint32_t seed) { rng.seed(seed); }
    uint32_t rand_state() const { return rng.state(); }

    // Department menu tables and the department helpers of the view.
    CDepartmentWnd* department_by_command(int command_id) const;
    bool DepartmentHasMenuText(int command_id, int menu_index, const std::string& text);
    // TRUE makes the Red Warnings dialog (once) and shows it; FALSE destroys it.
    void ShowRedWarnings(BOOL16 show);
    // ShowLinkButton on Marketing, Production, Purchasing, Finance in turn.
    void ShowDepartmentLinkButtons(int show, int kind);
    // The teaching aids' toggles (ShowID, Write Lang, Pause Events): the new state.
    bool ToggleShowIds();
    bool TogglePauseEvents();

    void set_ui(ViewUi* ui) { ui_ = ui; }
    void set_wall_clock(std::function<int64_t()> clock) { wall_clock_ = std::move(clock); }
    int64_t wall_now() const;
    DataFile* data_file() const { return data_file_; }
    int tick_depth() const { return tick_depth_; }
    const Configuration& config() const { return config_; }

    // Session fields (declaration order of the view where it matters).
    std::string session_path;
    DepartmentMenus menu_tables;
    SimDateTime run_until{};
    int32_t tick_count = -1;
    CDepartmentWnd* current_department = nullptr;
    int16_t run_state = RUN_STOPPED;
    int16_t saved_run_state = RUN_STOPPED;
    int32_t shown_command = 0;
    std::array<int16_t, 5> debug_values{};
    int32_t first_department_command = 0;
    CClockPane clock;
    CReputationPane reputation;
    CTimerPane timer;
    SimDateTime session_end_pane{};
    CDepartmentWnd* marketing = nullptr;
    CDepartmentWnd* production = nullptr;
    CDepartmentWnd* purchasing = nullptr;
    CDepartmentWnd* finance = nullptr;
    CDepartmentWnd* management = nullptr;
    int16_t held_department = HELD_NONE;
    int32_t session_open = 0;
    int32_t data_file_coded = 0;
    int32_t new_features_present = 0;
    VersionId state_version{};
    std::string story_file;
    int32_t learn_session = 0;
    std::array<int32_t, 2> log_seeds{};
    int32_t random_seed = -1;
    int32_t seed_set = 0;
    int32_t logging = 0;
    int32_t summary_written = 0;
    int32_t compare_available = 0;
    int32_t show_ids = 0;
    int32_t write_langs = 0;
    int32_t pause_events = 0;
    int16_t timer_paused = 0;
    int32_t new_features_item5 = -1;
    int32_t new_features_item6 = -1;
    // Fields the departments read (default 0).
    int32_t job_shop = 0;
    int32_t management_feature = 0;
    int32_t hide_sales_graph = 0;
    int32_t month_start_hook = 0;
    int32_t machine_drawing_suspended = 0;
    int32_t paint_hold = 0;
    // The hand cursor (resource 106 of the program), 0 when no window
    // resources are loaded.
    plat::HCURSOR hand_cursor = 0;
    float scale_x = 1.0f;
    float scale_y = 1.0f;
    int32_t large_screen = 0;
    int32_t tutor_running = 0;
    // The learn result at the end of a learn session.
    std::function<void(CVornView&)> learn_result_hook;
    // Sees every decision record, logged or not (department code, key,
    // item, old, new, kind, action).
    std::function<void(const char*, const char*, const std::string&, const std::string&, const std::string&, int,
                       int)>
        decision_hook;
    std::unique_ptr<RunLog> run_log;
    // The learn file's record of a learn session (its levels and results).
    std::shared_ptr<LearnRecord> learn_record;

private:
    void LoadData(DataFile& file);
    void load_debug_section(DataFile& file);
    void load_new_features(DataFile& file);
    bool ResumeLastSession(const StartOptions& options);
    bool load_department_file(const std::string& name, StateFile file, CDepartmentWnd* department,
                              uint32_t& set_serial);
    // The core's rows of a file's tail; `sealing` writes the rows that follow every file's body
    // (the set's serial), the others are written first.
    void save_core_tail(BinFile& file, StateFile which, bool sealing, uint32_t set_serial) const;
    // set_serial: the header's serial once read; the later files must carry the same.
    bool load_core_tail(BinFile& file, StateFile which, uint32_t& set_serial);
    void finish_interrupted_save(const std::string& path);
    void refuse_state_file(const std::string& name);
    bool refuse_run_in_state(bool beep_when_over);
    void for_each_department(const std::function<void(CDepartmentWnd*)>& hook);

    Configuration config_;
    DepartmentFactory factory_;
    Departments owned_;
    ViewUi* ui_ = nullptr;
    DataFile* data_file_ = nullptr;
    std::function<int64_t()> wall_clock_;
    plat::Lcg rng{1};
    int tick_depth_ = 0;
    bool resumed_ = false;
};

// The view of the running session (GetView answers it), set by whoever
// owns the sessions. Returns the previous one.
CVornView* set_active_view(CVornView* view);
CVornView* active_view();
