// The windowed simulator: the application, its main frame and document, the
// view window that owns the sessions, the indicator panes, the toolbar and
// the status line, and the department windows shown in the view.
#pragma once
#include "app/commands.h"
#include "app/sessions.h"
#include "plat/fw/app.h"
#include "plat/fw/frame.h"
#include "uikit/button_bar.h"
#include "uikit/info_tip.h"
#include "uikit/panel.h"
#include "uikit/sim_dialog.h"
#include "uikit/status_line.h"
#include <array>
#include <memory>
#include <string>

// Resource ids of the program.
inline constexpr int IDR_START_MENU = 2;
inline constexpr int IDR_SESSION_MENU = 3;
inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDD_RUN = 101;
inline constexpr int IDD_BACKGROUND = 193;
inline constexpr int IDD_OPEN_SESSION = 194;
inline constexpr int IDD_SIMULATION_OVER = 195;
inline constexpr int IDD_OPEN_SCENARIO = 215;
inline constexpr int IDD_CHANGE_SEED = 216;
inline constexpr int IDD_GENERAL_INFORMATION = 110;
inline constexpr int IDD_MACHINE_WORK_PERCENT = 190;
inline constexpr int IDD_INTERMISSION = 202;
inline constexpr int IDD_POLICY_DECISIONS = 217;
inline constexpr int IDD_GUIDED_RUNS = 229;
inline constexpr int IDD_RED_WARNINGS = 250;

// Commands of the menus beyond the view's own table.
inline constexpr int ID_EXIT = 32783;
inline constexpr int ID_HELP_CONTENTS = 32787;
inline constexpr int ID_SEARCH_HELP = 32789;
inline constexpr int ID_RUN_TUTORIAL = 32806;

// Child ids of the view.
inline constexpr int IDC_TOOLBAR = 150;
inline constexpr int IDC_STATUS_LINE = 151;
inline constexpr int IDC_PANE_STRIP = 152;
inline constexpr int IDC_DEPARTMENT = 160;

// Registers the module "VORN.EXE" with its menus, dialogs and pictures, and
// makes it the resource module. Returns it.
plat::HINSTANCE register_vorn_resources();

class CVornWindow;

// The modeless Red Warnings window: a list nothing fills yet, and "Close
// Window" (8), which hides it.
class CRedWarningsDlg : public CModelessDialog {
public:
    static constexpr int CLOSE_ID = 8;
    explicit CRedWarningsDlg(plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CRedWarningsDlg"; }
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
};

// One indicator pane down the left edge; `kind` is the pane's control id
// (201 Clock ... 207 Profit).
class CIndicatorPane : public CPanelWnd, public ClockDisplay {
public:
    CIndicatorPane(CVornWindow& owner, int kind) : m_owner(owner), m_kind(kind) {}
    const char* GetRuntimeClassName() const override { return "CIndicatorPane"; }
    void OnPaint() override;
    void show_part(int part, bool forced) override;
    int kind() const { return m_kind; }
    // The value text the pane shows now (what paint draws).
    std::string value_text() const;

private:
    CVornWindow& m_owner;
    int m_kind;
};

// The panel behind a department: right of the indicator panes, with the
// title band and its Legend / Materials / Orders buttons; the rest of the
// window belongs to the department through its content seam. The window is
// made at the first show.
class CDepartmentPanel : public DepartmentWindow {
public:
    CDepartmentPanel(CVornWindow& owner, CDepartmentWnd& department);
    ~CDepartmentPanel() override;
    void show(bool shown) override;
    void show_link_button(int show, int kind) override;
    plat::HWND handle() const override;
    plat::CWnd* window() const { return m_window.get(); }

private:
    CVornWindow& m_owner;
    CDepartmentWnd& m_department;
    std::unique_ptr<plat::CWnd> m_window;
};

class CVornWindow : public plat::CView, public ViewUi, public OpenUi, public DialogRegistry {
public:
    // `assembly` builds each session's departments behind this window's
    // panels; without one every department is the base behind a panel.
    explicit CVornWindow(Configuration config = {}, DepartmentAssembly assembly = {});
    ~CVornWindow() override;
    const char* GetRuntimeClassName() const override { return "CVornWindow"; }

    SessionManager& sessions() { return m_sessions; }
    CVornView* session() const { return m_sessions.view(); }
    // The program's data folder (scenarios, learn file); Open starts there.
    std::string data_folder;

    // Commands of the view's table; true when handled.
    bool ExecuteCommand(int id);
    // A department window's button: Legend 102, Orders 301, Materials 302,
    // red warnings 306.
    void DepartmentButton(int id);
    // The application's idle work: the session, then the windows follow
    // a session that started or closed meanwhile.
    void IdleStep();
    // Shows or hides the session's furniture to match the session.
    void SyncSession();

    CButtonBar& toolbar() { return m_toolbar; }
    CStatusLine& status_line() { return *m_status; }
    CIndicatorPane* pane(int kind) const;
    DialogStack& dialogs() { return m_dialogs; }
    plat::RECT department_rect() const;

    // ViewUi
    void run_state_changed(int16_t state) override;
    void show_restore_hold(bool shown) override;
    void timer_changed() override;
    void panes_changed(unsigned panes) override;
    std::optional<int32_t> change_seed(int32_t seed) override;
    void show_story(const std::string& text) override;
    void department_switched(int command_id) override;
    void show_learn_result(const LearnOutcome& outcome) override;
    void show_red_warnings(bool shown) override;
    CRedWarningsDlg* red_warnings() const { return m_redWarnings.get(); }
    // OpenUi
    std::optional<int> choose_learn_level(LearnRecord& record) override;
    std::optional<std::string> choose_scenario(const std::vector<std::string>& scenarios) override;
    void run_tutorial() override;
    // DialogRegistry
    bool session_open() const override { return m_shownSession != nullptr; }
    bool show_ids() const override { return session() != nullptr && session()->show_ids != 0; }
    void push_dialog(plat::HWND dialog) override { m_dialogs.push(dialog); }
    void remove_dialog(plat::HWND dialog) override;

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnDestroy() override;
    void OnSize(plat::UINT type, int cx, int cy) override;
    void OnDraw(plat::HDC hdc) override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;

private:
    void CreateToolbar();
    void CreatePanes();
    void OnButtonPressed(int id);
    void RunCommand();
    void ShowSessionFurniture(bool shown);
    void FillDepartmentMenus();
    void UpdateStatusFields();
    void ToggleWriteLangs();
    void StartCompare();

    SessionManager m_sessions;
    CVornView* m_shownSession = nullptr;
    CButtonBar m_toolbar;
    std::unique_ptr<CStatusLine> m_status;
    std::unique_ptr<CPaneStrip> m_strip;
    std::array<std::unique_ptr<CIndicatorPane>, 7> m_panes;
    DialogStack m_dialogs;
    ModelessPtr<CRedWarningsDlg> m_redWarnings;
};

class CMainFrame : public plat::CFrameWnd {
public:
    const char* GetRuntimeClassName() const override { return "CMainFrame"; }
    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnClose() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnUpdateCommandUI(plat::UINT id, plat::CCmdUI& ui) override;
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;
    // Loads menu 2 (start) or 3 (session) and translates its fixed popups.
    void LoadMainMenu(int menuId);
    CVornWindow* window() const;
    int loaded_menu = 0;
};

class CVornDoc : public plat::CDocument {
public:
    const char* GetRuntimeClassName() const override { return "CVornDoc"; }
};

class CVornApp : public plat::CWinApp {
public:
    CVornApp();
    plat::BOOL InitInstance() override;
    plat::BOOL OnIdle(plat::LONG count) override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    CMainFrame* frame() const;
    CVornWindow* window() const;
    // The configuration read from VORN.CFG in the data folder.
    Configuration configuration;
    // Whether the start-up About box is shown (the program does; tests may not).
    bool about_at_start = true;
    // The departments of each session (the program's assembly); set before
    // InitInstance.
    DepartmentAssembly assembly;

private:
    std::unique_ptr<plat::CSingleDocTemplate> m_template;
};

// The main window's title: the program's title and "Application", then
// " - " and the session file's name while a session is open.
std::string main_window_title(const Configuration& config, const CVornView* session);
// The About box; OK the first time in the program's life sends Open.
void show_about_box(CVornWindow* view, const Configuration& config, bool atStart);
// The Run dialog: the choice, or none when cancelled.
std::optional<RunChoice> run_dialog(CVornWindow* view, int dateOrder);
// The information and shortcut dialogs of the view's commands.
void general_information_dialog(CVornWindow* view);
void intermission_dialog(CVornWindow* view);
void policy_decisions_dialog(CVornWindow* view);
// Finance's machine work percent beside Production's utilisation factor;
// true when OK stored a new percent.
bool machine_work_percent_dialog(CVornWindow* view);
// Guided Runs: Guide1 .. Guide10 whose ".cmd" file is in the folder (any
// case); the chosen "GuideN.cmd", none when cancelled or nothing to choose.
std::optional<std::string> guided_runs_dialog(plat::HWND parent, const std::string& folder);
