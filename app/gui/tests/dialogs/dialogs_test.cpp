// The view's information and shortcut dialogs and its smaller commands,
// driven through the layer with recording departments in the session's
// department slots.
#include "app/tutor_link.h"
#include "appgui/vorn_gui.h"
#include "app/run_log.h"
#include "foundation/lang.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/menu.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "uikit/uikit.h"
#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace plat;
namespace fs = std::filesystem;

namespace {

const std::string kBundled = std::string(VORN_BINARY_DIR) + "/data";

std::string png(const std::string& name)
{
    const std::string folder = std::string(VORN_BINARY_DIR) + "/appgui-png";
    fs::create_directories(folder);
    return folder + "/" + name;
}

fs::path work_dir(const std::string& name)
{
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "appgui-work" / ("dlg-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void click(HWND dlg, int id)
{
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(dlg, id)));
}

std::string text_of(HWND dlg, int id)
{
    char text[256] = {};
    GetDlgItemText(dlg, id, text, sizeof text);
    return text;
}

bool enabled(HWND dlg, int id)
{
    return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE;
}

// A department that answers fixed figures and records what it is asked to do.
class RecordingDepartment : public CDepartmentWnd {
public:
    int32_t cash() override { return cash_value; }
    int32_t net_profit(char) override { return profit_value; }
    int32_t bank_credit_line() override { return 1234567; }
    int32_t client_credit_days() override { return 30; }
    int32_t supplier_credit_days() override { return 45; }
    int32_t building_value() override { return 2500000; }
    int32_t machine_value() override { return -12000; }
    float machine_work_percent() override { return work_percent; }
    void set_machine_work_percent(float p) override { work_percent = p; }
    float utilization_factor() override { return 0.75f; }
    float smoothing_factor() override { return 0.3f; }
    void flip_summary_graphs() override { calls.push_back("summary graphs"); }
    void flip_show_profit() override { calls.push_back("show profit"); }
    void flip_sales_graph() override { calls.push_back("sales graph"); }
    void flip_total_load() override { calls.push_back("total load"); }
    void edit_policy(int which) override { calls.push_back("policy " + std::to_string(which)); }
    void ShowLinkButton(int show, int kind) override
    {
        calls.push_back("link " + std::to_string(show) + " " + std::to_string(kind));
    }
    void build_menus(DepartmentMenus& menus) override
    {
        MenuTable& t = menus.tables[MENU_POLICIES];
        t.count = 0;
        for (const std::string& p : policies)
            t.texts[static_cast<size_t>(++t.count)] = p;
    }
    void finished_goods(std::vector<FinishedGoodsRow>& out) override
    {
        out.push_back({0, 0, "AA", false, 120, 12.5f});
        out.push_back({0, 1, "AB", true, 7, 3.0f});
        out.push_back({1, 0, "BA", false, 0, 40.25f});
    }
    int32_t unit_added_value(int16_t family, int16_t product) override { return 10 * family + product + 5; }
    int32_t fg_value(bool with) override { return with ? 3100 : 1500; }
    // Every policy text is offered in the department's option list.
    void offer_all()
    {
        MenuOptionList& list = options_[MENU_POLICIES];
        list.count = static_cast<int16_t>(policies.size());
        for (int i = 1; i <= list.count; ++i)
            list.entries[static_cast<size_t>(i)] = static_cast<int16_t>(i);
    }

    std::vector<std::string> policies;
    std::vector<std::string> calls;
    int32_t cash_value = 0;
    int32_t profit_value = 0;
    float work_percent = 0.85f;
};

// Puts a recording department into a session slot for the test's length.
class SlotSwap {
public:
    SlotSwap(CDepartmentWnd*& slot, CDepartmentWnd* fake) : m_slot(slot), m_old(slot) { slot = fake; }
    ~SlotSwap() { m_slot = m_old; }
    SlotSwap(const SlotSwap&) = delete;
    SlotSwap& operator=(const SlotSwap&) = delete;

private:
    CDepartmentWnd*& m_slot;
    CDepartmentWnd* m_old;
};

class VornDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        register_vorn_resources();
    }
    // The program with the sample scenario open and stopped.
    void start_session(const std::string& name)
    {
        folder = work_dir(name);
        fs::copy_file(fs::path(kBundled) / "SAMPLE.VNB", folder / "SAMPLE.VNB");
        fs::copy_file(fs::path(kBundled) / "story.txt", folder / "story.txt");
        if (fs::exists(fs::path(kBundled) / "bgtables.tbl"))
            fs::copy_file(fs::path(kBundled) / "bgtables.tbl", folder / "bgtables.tbl");
        // The first guided run, so the session menu offers the guided runs
        // as it does beside the bundled data.
        if (fs::exists(fs::path(kBundled) / "guide1.cmd"))
            fs::copy_file(fs::path(kBundled) / "guide1.cmd", folder / "guide1.cmd");
        setenv("VORN_DATA_DIR", folder.c_str(), 1);
        app = std::make_unique<CVornApp>();
        app->about_at_start = false;
        ASSERT_TRUE(app->InitInstance());
        view = app->window();
        frame = app->frame();
        ScriptedHost host;
        host.OnDialog(IDD_BACKGROUND, [](HWND d) { click(d, IDOK); });
        host.ChoosePath((folder / "SAMPLE.VNB").string());
        view->ExecuteCommand(ID_OPEN);
        session = view->session();
        ASSERT_NE(session, nullptr);
    }
    void TearDown() override
    {
        if (frame != nullptr && IsWindow(frame->m_hWnd)) {
            ScriptedHost host;
            host.Answer(IDYES, "", "Are you sure you want to exit?");
            if (view->session() != nullptr)
                view->session()->run_state = RUN_STOPPED;
            frame->SendMessage(WM_CLOSE, 0, 0);
        }
        app.reset();
        ResetWindowsForTest();
    }

    fs::path folder;
    std::unique_ptr<CVornApp> app;
    CVornWindow* view = nullptr;
    CMainFrame* frame = nullptr;
    CVornView* session = nullptr;
};

TEST_F(VornDialogs, GeneralInformationShowsFinanceAndMarketingFigures)
{
    start_session("info");
    RecordingDepartment finance, marketing;
    SlotSwap f(session->finance, &finance), m(session->marketing, &marketing);
    ScriptedHost host;
    std::vector<std::pair<int, std::string>> shown;
    std::string caption;
    host.OnDialog(IDD_GENERAL_INFORMATION, [&](HWND d) {
        for (int id : {1087, 1088, 1089, 1091, 1092, 1093})
            shown.emplace_back(id, text_of(d, id));
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        UpdateWindow(d);
        SaveWindowPng(d, png("general_information.png").c_str());
        click(d, IDOK);
    });
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_INFORMATION, 0), 0);
    EXPECT_EQ(caption, "General Information");
    const std::vector<std::pair<int, std::string>> expected = {
        {1087, "1,234,567"}, {1088, "30"}, {1089, "45"}, {1091, "2,500,000"}, {1092, "-12,000"}, {1093, "0.30"}};
    EXPECT_EQ(shown, expected);
}

// A button is enabled only while its department's Policies menu holds the
// entry; each runs that department's dialog.
TEST_F(VornDialogs, PolicyDecisionsFollowsTheDepartmentsPolicyMenus)
{
    start_session("policies");
    RecordingDepartment marketing, production, purchasing;
    marketing.policies = {"&Product parameters", "&Pricing"};
    production.policies = {"&Machine policy", "Red &level policy"};  // no work order planning
    purchasing.policies = {"&Material parameters"};
    marketing.offer_all();
    production.offer_all();
    // Purchasing's list leaves its entry out, as a scenario may.
    SlotSwap a(session->marketing, &marketing), b(session->production, &production),
        c(session->purchasing, &purchasing);
    ScriptedHost host;
    std::vector<std::pair<int, bool>> state;
    host.OnDialog(IDD_POLICY_DECISIONS, [&](HWND d) {
        for (int id : {1260, 1124, 1125, 1126, 1127})
            state.emplace_back(id, enabled(d, id));
        UpdateWindow(d);
        SaveWindowPng(d, png("policy_decisions.png").c_str());
        click(d, 1126);
        click(d, 1260);
        click(d, 1124);
        click(d, IDOK);
    });
    view->ExecuteCommand(ID_POLICY_DECISIONS);
    const std::vector<std::pair<int, bool>> expected = {
        {1260, true}, {1124, true}, {1125, false}, {1126, true}, {1127, false}};
    EXPECT_EQ(state, expected);
    EXPECT_EQ(production.calls, (std::vector<std::string>{"policy 4", "policy 2"}));
    EXPECT_EQ(marketing.calls, (std::vector<std::string>{"policy 1"}));
    EXPECT_TRUE(purchasing.calls.empty());
}

struct WorkPercentDay {
    int16_t year, month, day;
    bool allowed;
};

// Only early January: the 1st, the 2nd on a Monday, the 3rd on a Tuesday,
// or the year's first working day.
TEST_F(VornDialogs, MachineWorkPercentOnlyOnItsDays)
{
    start_session("workpercent");
    RecordingDepartment finance, production;
    SlotSwap f(session->finance, &finance), p(session->production, &production);
    const WorkPercentDay days[] = {
        {96, 1, 1, true},    // Monday 1 January 1996
        {95, 1, 2, true},    // Monday
        {95, 1, 3, true},    // Tuesday
        {95, 1, 4, false},   // Wednesday
        {96, 1, 2, false},   // Tuesday, the 1st was the working day
        {100, 1, 3, true},   // Monday 3 January 2000, the first working day
        {100, 1, 4, false},  // Tuesday
        {95, 2, 1, false},
        {95, 12, 31, false},
    };
    for (const WorkPercentDay& day : days) {
        session->clock.current = SimDateTime{day.year, day.month, day.day, 10, 0};
        finance.work_percent = 0.85f;
        ScriptedHost host;
        std::string percent, utilization;
        int opened = 0;
        host.OnDialog(IDD_MACHINE_WORK_PERCENT, [&](HWND d) {
            ++opened;
            percent = text_of(d, 1294);
            utilization = text_of(d, 1295);
            SetDlgItemText(d, 1294, "0.9");
            click(d, IDOK);
        });
        view->ExecuteCommand(ID_SET_MACHINE_WORK_PERCENT);
        const std::string what = std::to_string(day.day) + "/" + std::to_string(day.month) + "/" +
                                 std::to_string(day.year);
        EXPECT_EQ(opened, day.allowed ? 1 : 0) << what;
        if (day.allowed) {
            EXPECT_EQ(percent, "0.85") << what;
            EXPECT_EQ(utilization, "0.75") << what;
            EXPECT_FLOAT_EQ(finance.work_percent, 0.9f) << what;
        } else {
            EXPECT_FLOAT_EQ(finance.work_percent, 0.85f) << what;
        }
    }
}

TEST_F(VornDialogs, MachineWorkPercentCancelKeepsThePercent)
{
    start_session("workpercent-cancel");
    RecordingDepartment finance;
    SlotSwap f(session->finance, &finance);
    session->clock.current = SimDateTime{95, 1, 2, 9, 0};
    ScriptedHost host;
    host.OnDialog(IDD_MACHINE_WORK_PERCENT, [](HWND d) {
        SetDlgItemText(d, 1294, "0.5");
        click(d, IDCANCEL);
    });
    view->ExecuteCommand(ID_SET_MACHINE_WORK_PERCENT);
    EXPECT_FLOAT_EQ(finance.work_percent, 0.85f);
}

// Marketing divides by the percent: anything but a number above 0 is refused
// with a box and the dialog stays open for another try.
TEST_F(VornDialogs, MachineWorkPercentRefusesZeroNegativeAndText)
{
    start_session("workpercent-refused");
    RecordingDepartment finance;
    SlotSwap f(session->finance, &finance);
    session->clock.current = SimDateTime{95, 1, 2, 9, 0};
    ScriptedHost host;
    host.Answer(IDOK, "");
    bool still_open = true;
    host.OnDialog(IDD_MACHINE_WORK_PERCENT, [&](HWND d) {
        for (const char* typed : {"0", "-1", "x", "1e39"}) {
            SetDlgItemText(d, 1294, typed);
            click(d, IDOK);
            still_open = still_open && IsWindow(d) && IsWindowVisible(d);
        }
        SetDlgItemText(d, 1294, "0.5");
        click(d, IDOK);
    });
    view->ExecuteCommand(ID_SET_MACHINE_WORK_PERCENT);
    EXPECT_TRUE(still_open);
    int refusals = 0;
    for (const auto& b : host.boxes())
        refusals += b.text == "The machine work percent must be a number above 0" ? 1 : 0;
    EXPECT_EQ(refusals, 4);
    EXPECT_FLOAT_EQ(finance.work_percent, 0.5f);
}

// Made once, shown again on the next call, hidden by its button and gone
// after FALSE.
TEST_F(VornDialogs, RedWarningsIsMadeOnceAndDestroyedOnFalse)
{
    start_session("red");
    EXPECT_EQ(view->red_warnings(), nullptr);
    session->ShowRedWarnings(TRUE);
    CRedWarningsDlg* first = view->red_warnings();
    ASSERT_NE(first, nullptr);
    const HWND w = first->m_hWnd;
    EXPECT_TRUE(IsWindowVisible(w));
    char caption[64] = {};
    GetWindowText(w, caption, sizeof caption);
    EXPECT_STREQ(caption, "Red Warnings");
    EXPECT_NE(GetDlgItem(w, 1324), 0u);
    EXPECT_EQ(text_of(w, CRedWarningsDlg::CLOSE_ID), "Close Window");
    UpdateWindow(w);
    SaveWindowPng(w, png("red_warnings.png").c_str());

    click(w, CRedWarningsDlg::CLOSE_ID);
    EXPECT_TRUE(IsWindow(w));
    EXPECT_FALSE(IsWindowVisible(w));
    session->ShowRedWarnings(TRUE);
    EXPECT_EQ(view->red_warnings(), first);
    EXPECT_TRUE(IsWindowVisible(w));

    session->ShowRedWarnings(FALSE);
    EXPECT_EQ(view->red_warnings(), nullptr);
    EXPECT_FALSE(IsWindow(w));
    session->ShowRedWarnings(FALSE);  // nothing left to destroy
    session->ShowRedWarnings(TRUE);
    ASSERT_NE(view->red_warnings(), nullptr);
    EXPECT_TRUE(IsWindowVisible(view->red_warnings()->m_hWnd));
}

TEST_F(VornDialogs, LinkButtonsGoToEveryDepartmentInOrder)
{
    start_session("links");
    RecordingDepartment m, p, u, f;
    SlotSwap a(session->marketing, &m), b(session->production, &p), c(session->purchasing, &u),
        d(session->finance, &f);
    session->ShowDepartmentLinkButtons(0, 2);
    for (RecordingDepartment* dept : {&m, &p, &u, &f})
        EXPECT_EQ(dept->calls, std::vector<std::string>{"link 0 2"});
}

// The department windows start with only Legend shown; Orders (kind 1)
// and Materials (kind 2) come and go on request, other kinds change nothing.
TEST_F(VornDialogs, DepartmentWindowsShowTheirLinkButtons)
{
    start_session("linkwindows");
    auto* panel = dynamic_cast<CDepartmentPanel*>(session->marketing->window());
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->window(), nullptr) << "Marketing is the first department shown";
    const HWND w = panel->window()->m_hWnd;
    auto shown = [&](int id) { return IsWindowVisible(GetDlgItem(w, id)) != FALSE; };
    EXPECT_TRUE(shown(102));
    EXPECT_FALSE(shown(301));
    EXPECT_FALSE(shown(302));
    session->ShowDepartmentLinkButtons(1, 1);
    EXPECT_TRUE(shown(301));
    EXPECT_FALSE(shown(302));
    session->ShowDepartmentLinkButtons(1, 2);
    EXPECT_TRUE(shown(302));
    session->ShowDepartmentLinkButtons(0, 7);
    EXPECT_TRUE(shown(301) && shown(302) && shown(102));
    session->ShowDepartmentLinkButtons(0, 1);
    EXPECT_FALSE(shown(301));
    EXPECT_TRUE(shown(302));
}

// Orders leads to Marketing, Materials to Purchasing, 306 to the Red
// Warnings window; Legend asks the shown department for help.
TEST_F(VornDialogs, DepartmentButtonsSwitchAndShowRedWarnings)
{
    start_session("deptbuttons");
    auto* marketing = dynamic_cast<CDepartmentPanel*>(session->marketing->window());
    ASSERT_NE(marketing, nullptr);
    ASSERT_NE(marketing->window(), nullptr);
    const HWND w = marketing->window()->m_hWnd;
    SendMessage(w, WM_BUTTON_PRESSED, 302, 0);
    EXPECT_EQ(session->shown_command, ID_PURCHASING);
    EXPECT_EQ(view->toolbar().FindButton(ID_PURCHASING)->GetState(), CBarButton::DOWN);
    SendMessage(w, WM_BUTTON_PRESSED, 301, 0);
    EXPECT_EQ(session->shown_command, ID_MARKETING);
    EXPECT_EQ(view->red_warnings(), nullptr);
    SendMessage(w, WM_BUTTON_PRESSED, 306, 0);
    ASSERT_NE(view->red_warnings(), nullptr);
    EXPECT_TRUE(IsWindowVisible(view->red_warnings()->m_hWnd));
    SendMessage(w, WM_BUTTON_PRESSED, 101, 0);  // outside 102..306: nothing
    EXPECT_EQ(session->shown_command, ID_MARKETING);

    class HelpRecorder : public CDepartmentWnd {
    public:
        void show_help() override { ++asked; }
        int asked = 0;
    } shownOne;
    CDepartmentWnd* const old = session->current_department;
    session->current_department = &shownOne;
    SendMessage(w, WM_BUTTON_PRESSED, 102, 0);
    session->current_department = old;
    EXPECT_EQ(shownOne.asked, 1);
}

std::string menu_text(HMENU menu, UINT id)
{
    char text[101] = {};
    GetMenuString(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

// The start menu leads with "R&un tutorial" (32806, not Intermission's
// 32800); the session menus carry the view's commands under their captions.
TEST_F(VornDialogs, MenusCarryTheViewCommands)
{
    start_session("menus");
    const HMENU session = GetSubMenu(GetMenu(frame->m_hWnd), 0);
    const std::pair<UINT, const char*> items[] = {
        {ID_INFORMATION, "General &information ..."},
        {ID_SET_MACHINE_WORK_PERCENT, "Set machine work percent"},
        {ID_INTERMISSION, "Intermission"},
        {ID_SHOW_ID, "ShowID"},
        {ID_CLOSE_SESSION, "CloseSession"},
        {ID_VIEW_GRAPH, "ViewGraph"},
        {ID_CHANGE_SEED, "Change seed"},
        {ID_POLICY_DECISIONS, "Policy &Decisions"},
        {ID_LOGGING, "Logging"},
        {ID_WRITE_LANG, "Write Lang"},
        {ID_COMPARE, "Co&mpare"},
        {ID_SHOW_FG, "Show FG"},
        {32815, "DecisionsCenter"},
        {ID_VERSION, "Version"},
        {ID_VIEW_TOTAL_LOAD, "View Total Load"},
        {ID_SUMMARY_GRAPHS, "Summary Graphs"},
        {ID_PROFIT_GRAPH, "Profit Graph"},
        {ID_RUN_YEAR, "Run Year"},
    };
    for (const auto& [id, caption] : items)
        EXPECT_EQ(menu_text(session, id), caption) << id;
    const HMENU help = GetSubMenu(GetMenu(frame->m_hWnd), 4);
    EXPECT_EQ(menu_text(help, ID_RUN_TUTORIAL), "&Tutorial");
    EXPECT_EQ(menu_text(help, 32821), "&Guided runs ...");

    ScriptedHost host;
    view->ExecuteCommand(ID_CLOSE_SESSION);
    ASSERT_EQ(frame->loaded_menu, IDR_START_MENU);
    const HMENU start = GetSubMenu(GetMenu(frame->m_hWnd), 0);
    EXPECT_EQ(GetMenuItemID(start, 0), 32806u);
    EXPECT_EQ(menu_text(start, 32806), "R&un tutorial");
    EXPECT_EQ(menu_text(start, ID_INTERMISSION), "");
}

struct ToggleCase {
    int command;
    const char* on;
    const char* off;
    int32_t CVornView::*flag;
};

// Each toggle flips its flag and says so in a box with the view's caption.
TEST_F(VornDialogs, TogglesSayTheirNewState)
{
    start_session("toggles");
    const ToggleCase cases[] = {
        {ID_SHOW_ID, "Show ID - ON", "Show ID - OFF", &CVornView::show_ids},
        {ID_PAUSE_EVENTS, "Pause Events ON", "Pause Events OFF", &CVornView::pause_events},
        {ID_WRITE_LANG, "Writing Langs ON", "Writing Langs OFF", &CVornView::write_langs},
    };
    for (const ToggleCase& c : cases) {
        ScriptedHost host;
        host.Answer(IDOK, "VORNS");
        view->ExecuteCommand(c.command);
        EXPECT_EQ(session->*c.flag, 1) << c.on;
        view->ExecuteCommand(c.command);
        EXPECT_EQ(session->*c.flag, 0) << c.off;
        ASSERT_EQ(host.boxes().size(), 2u);
        EXPECT_EQ(host.boxes()[0].text, c.on);
        EXPECT_EQ(host.boxes()[1].text, c.off);
        EXPECT_EQ(host.boxes()[0].caption, "VORNS");
    }
}

TEST_F(VornDialogs, WriteLangReloadsTheLanguageFileInItsMode)
{
    start_session("writelang");
    ScriptedHost host;
    host.Answer(IDOK, "VORNS");
    view->ExecuteCommand(ID_WRITE_LANG);
    EXPECT_EQ(lang_write_mode(), 1);
    view->ExecuteCommand(ID_WRITE_LANG);
    EXPECT_EQ(lang_write_mode(), 0);
}

TEST_F(VornDialogs, ShowIdsReachesTheDialogs)
{
    start_session("showids");
    ScriptedHost host;
    host.Answer(IDOK, "VORNS");
    EXPECT_FALSE(view->show_ids());
    view->ExecuteCommand(ID_SHOW_ID);
    EXPECT_TRUE(view->show_ids());
    // A dialog opened now shows its controls' ids in place of their texts.
    std::string seedEdit;
    host.OnDialog(IDD_CHANGE_SEED, [&](HWND d) {
        MSG msg;
        while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
        seedEdit = text_of(d, 1258);
        click(d, IDCANCEL);
    });
    view->ExecuteCommand(ID_CHANGE_SEED);
    EXPECT_EQ(seedEdit, "ID=1258");
}

TEST_F(VornDialogs, VersionAndFinishedGoodsBoxes)
{
    start_session("boxes");
    RecordingDepartment marketing, finance;
    SlotSwap m(session->marketing, &marketing), f(session->finance, &finance);
    ScriptedHost host;
    host.Answer(IDOK, "");
    view->ExecuteCommand(ID_VERSION);
    view->ExecuteCommand(ID_SHOW_FG);
    ASSERT_EQ(host.boxes().size(), 2u);
    EXPECT_EQ(host.boxes()[0].text, "9.00.07");
    EXPECT_EQ(host.boxes()[0].caption, "VORN Version");
    EXPECT_EQ(host.boxes()[0].type & 0xF0u, MB_ICONINFORMATION);
    // AB is retired; added values are 10 x family + product + 5.
    EXPECT_EQ(host.boxes()[1].text,
              "       Inv    RmCost    AddValue\n"
              "AA     120     12.50    5\n"
              "BA     0     40.25    15\n"
              "FG Inv with add value: 3100\n"
              "FG Inv with no add value: 1500\n");
    EXPECT_EQ(host.boxes()[1].caption, "VORNS");
}

// The graph switches reach the department that owns the graph, once each.
TEST_F(VornDialogs, GraphSwitchesReachTheirDepartments)
{
    start_session("graphs");
    RecordingDepartment marketing, production, finance;
    SlotSwap m(session->marketing, &marketing), p(session->production, &production),
        f(session->finance, &finance);
    for (int id : {ID_VIEW_GRAPH, ID_VIEW_TOTAL_LOAD, ID_SUMMARY_GRAPHS, ID_PROFIT_GRAPH})
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ(marketing.calls, std::vector<std::string>{"sales graph"});
    EXPECT_EQ(production.calls, std::vector<std::string>{"total load"});
    EXPECT_EQ(finance.calls, (std::vector<std::string>{"summary graphs", "show profit"}));
}

TEST_F(VornDialogs, CashPaneShowsFinancesBalance)
{
    start_session("cash");
    RecordingDepartment finance;
    SlotSwap f(session->finance, &finance);
    finance.cash_value = -1234567;
    EXPECT_EQ(view->pane(205)->value_text(), "-$1,234,567");
    finance.cash_value = 0;
    EXPECT_EQ(view->pane(205)->value_text(), "$0       ");
    finance.cash_value = 98765;
    EXPECT_EQ(view->pane(205)->value_text(), "$98,765  ");
}

namespace {
// The dark pixels of a pane's value line: what its text looks like now, as
// last painted (nothing here makes it paint).
std::vector<int> value_ink(HWND pane)
{
    RECT rc;
    GetClientRect(pane, &rc);
    std::vector<int> ink;
    for (int y = 20; y < rc.bottom - 4; ++y)
        for (int x = 5; x < rc.right - 5; ++x) {
            const COLORREF c = GetSurfacePixel(pane, x, y);
            if (c != CLR_INVALID && GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128)
                ink.push_back(y * 1000 + x);
        }
    return ink;
}
} // namespace

// A department that changes a pane's figure tells the view; the pane shows
// the new figure at once, with no message loop in between.
TEST_F(VornDialogs, CashReputationAndProfitPanesRepaintOnTheViewsNotice)
{
    start_session("pane-notices");
    RecordingDepartment finance;
    SlotSwap f(session->finance, &finance);
    finance.cash_value = 5;
    for (int kind : {202, 205, 207})
        view->pane(kind)->InvalidateRect(nullptr, FALSE);
    PumpEvents(50);
    HWND cash = view->pane(205)->m_hWnd;
    HWND reputation = view->pane(202)->m_hWnd;
    const std::vector<int> five = value_ink(cash);
    ASSERT_FALSE(five.empty()) << "the Cash pane shows $5";

    // Changed without a notice: the pane still shows the old figure.
    finance.cash_value = -1234567;
    EXPECT_EQ(value_ink(cash), five);
    session->notify_panes(PANE_CASH);
    const std::vector<int> owed = value_ink(cash);
    EXPECT_NE(owed, five) << "repainted on the notice";
    EXPECT_GT(owed.size(), five.size()) << "-$1,234,567 has more ink than $5";

    const std::vector<int> before = value_ink(reputation);
    EXPECT_EQ(view->pane(202)->value_text().substr(0, 3), "100");
    session->reputation.AddPeriodValue(4.0f);
    for (int i = 0; i < 5; ++i)
        session->reputation.AddPeriodValue(4.0f);   // lateness 4 throughout: 2.5 %
    EXPECT_EQ(value_ink(reputation), before);
    session->notify_panes(PANE_REPUTATION);
    EXPECT_NE(value_ink(reputation), before);
    EXPECT_EQ(value_ink(cash), owed) << "only the panes named repaint";

    HWND profit = view->pane(207)->m_hWnd;
    const std::vector<int> none = value_ink(profit);
    finance.profit_value = 7654321;
    EXPECT_EQ(value_ink(profit), none);
    session->notify_panes(PANE_PROFIT | PANE_CASH);
    EXPECT_NE(value_ink(profit), none);
    SaveWindowPng(frame->m_hWnd, png("pane_notices.png").c_str());
}

// Compare starts the comparer with the run log's name, and only while a
// log is written and the comparer is there.
TEST_F(VornDialogs, CompareStartsTheComparerWithTheRunLog)
{
    start_session("compare");
    const fs::path bin = folder / "bin";
    fs::create_directories(bin);
    const fs::path seen = folder / "compared.txt";
    {
        std::ofstream script(bin / "compare");
        script << "#!/bin/sh\necho \"$1\" > '" << seen.string() << "'\n";
    }
    fs::permissions(bin / "compare", fs::perms::owner_all);
    const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (bin.string() + ":" + oldPath).c_str(), 1);
    auto wait_for_output = [&](int ms) {
        for (int i = 0; i < ms / 20 && !fs::exists(seen); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    };

    ScriptedHost host;
    host.Answer(IDOK, "VORNS", "Logging");
    session->compare_available = 1;
    view->ExecuteCommand(ID_COMPARE);  // no log yet
    wait_for_output(300);
    EXPECT_FALSE(fs::exists(seen));

    view->ExecuteCommand(ID_LOGGING);
    ASSERT_TRUE(session->run_log);
    session->compare_available = 0;
    view->ExecuteCommand(ID_COMPARE);  // no comparer
    wait_for_output(300);
    EXPECT_FALSE(fs::exists(seen));

    session->compare_available = 1;
    view->ExecuteCommand(ID_COMPARE);
    wait_for_output(3000);
    setenv("PATH", oldPath.c_str(), 1);
    std::ifstream in(seen);
    std::string arg;
    std::getline(in, arg);
    EXPECT_EQ(arg, session->run_log->name());
    EXPECT_NE(arg.find(".000"), std::string::npos) << arg;
}

// Enter and Esc do not close it; the session's close (WM_CLOSE) and its
// button do.
TEST_F(VornDialogs, IntermissionIgnoresKeys)
{
    start_session("intermission");
    ScriptedHost host;
    bool survivedKeys = false;
    LOGFONT big{};
    host.OnDialog(IDD_INTERMISSION, [&](HWND d) {
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        survivedKeys = IsWindow(d) && IsWindowVisible(d);
        const HFONT font = static_cast<HFONT>(SendDlgItemMessage(d, 1209, WM_GETFONT, 0, 0));
        GetObject(font, sizeof big, &big);
        EXPECT_EQ(text_of(d, 1209), "Intermission");
        UpdateWindow(d);
        SaveWindowPng(d, png("intermission.png").c_str());
        click(d, 1210);
    });
    view->ExecuteCommand(ID_INTERMISSION);
    EXPECT_TRUE(survivedKeys);
    EXPECT_GE(big.lfWeight, 700);
    EXPECT_NE(big.lfItalic, 0);

    bool closed = false;
    host.OnDialog(IDD_INTERMISSION, [&](HWND d) {
        SendMessage(d, WM_CLOSE, 0, 0);
        closed = true;
    });
    view->ExecuteCommand(ID_INTERMISSION);  // returns only when the close ended it
    EXPECT_TRUE(closed);
}

TEST_F(VornDialogs, GuidedRunsListsTheCommandFilesThere)
{
    ScriptedHost host;
    const fs::path empty = work_dir("guides-none");
    std::ofstream(empty / "Guide1.txt") << "x";
    int items = -1;
    bool okEnabled = true;
    host.OnDialog(IDD_GUIDED_RUNS, [&](HWND d) {
        items = static_cast<int>(SendDlgItemMessage(d, 1281, LB_GETCOUNT, 0, 0));
        okEnabled = enabled(d, IDOK);
        click(d, IDOK);  // disabled in a person's hands; refused here too
        click(d, IDCANCEL);
    });
    EXPECT_EQ(guided_runs_dialog(0, empty.string()), std::nullopt);
    EXPECT_EQ(items, 0);
    EXPECT_FALSE(okEnabled);

    const fs::path some = work_dir("guides-some");
    for (const char* name : {"guide1.cmd", "GUIDE3.CMD", "Guide10.cmd", "Guide11.cmd", "Guide2.txt"})
        std::ofstream(some / name) << "x";
    std::vector<std::string> listed;
    int selected = -2;
    host.OnDialog(IDD_GUIDED_RUNS, [&](HWND d) {
        const int n = static_cast<int>(SendDlgItemMessage(d, 1281, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char text[32] = {};
            SendDlgItemMessage(d, 1281, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            listed.emplace_back(text);
        }
        selected = static_cast<int>(SendDlgItemMessage(d, 1281, LB_GETCURSEL, 0, 0));
        SendDlgItemMessage(d, 1281, LB_SETCURSEL, 1, 0);
        click(d, IDOK);
    });
    EXPECT_EQ(guided_runs_dialog(0, some.string()), std::optional<std::string>("Guide3.cmd"));
    EXPECT_EQ(listed, (std::vector<std::string>{"Guide1", "Guide3", "Guide10"}));
    EXPECT_EQ(selected, 0);

    host.OnDialog(IDD_GUIDED_RUNS, [](HWND d) { click(d, IDCANCEL); });
    EXPECT_EQ(guided_runs_dialog(0, some.string()), std::nullopt);
}

// Open Scenario: the configured scenarios by file name, the first selected;
// the tutorial box hidden without a tutorial; checked, it empties the
// choice.
TEST_F(VornDialogs, OpenScenarioListsFileNamesAndTheTutorialBox)
{
    const fs::path dir = work_dir("scenario");
    setenv("VORN_DATA_DIR", dir.c_str(), 1);
    app = std::make_unique<CVornApp>();
    app->about_at_start = false;
    ASSERT_TRUE(app->InitInstance());
    view = app->window();
    frame = app->frame();
    const std::vector<std::string> scenarios = {"plants\\first.vnb", "more/second.VNB", "third.vnb"};

    ScriptedHost host;
    std::vector<std::string> listed;
    int selected = -2;
    bool tutorialShown = true;
    host.OnDialog(IDD_OPEN_SCENARIO, [&](HWND d) {
        const int n = static_cast<int>(SendDlgItemMessage(d, 1253, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char text[64] = {};
            SendDlgItemMessage(d, 1253, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            listed.emplace_back(text);
        }
        selected = static_cast<int>(SendDlgItemMessage(d, 1253, LB_GETCURSEL, 0, 0));
        tutorialShown = IsWindowVisible(GetDlgItem(d, 1255)) != FALSE;
        SendDlgItemMessage(d, 1253, LB_SETCURSEL, 2, 0);
        click(d, IDOK);
    });
    EXPECT_EQ(view->choose_scenario(scenarios), std::optional<std::string>("third.vnb"));
    EXPECT_EQ(listed, (std::vector<std::string>{"first.vnb", "second.VNB", "third.vnb"}));
    EXPECT_EQ(selected, 0);
    EXPECT_FALSE(tutorialShown) << "without a configuration file there is no tutorial";
}

TEST_F(VornDialogs, OpenScenarioTutorialBoxEmptiesTheChoice)
{
    Configuration config;
    config.tutorial = true;
    config.scenarios = {"a.vnb", "b.vnb"};
    InitGui();
    CVornWindow window(config);
    ScriptedHost host;
    bool visible = false, listEnabledWhileChecked = true, listEnabledAfter = false, checkedAtStart = true;
    int selectionWhileChecked = 0, selectionAfter = -1;
    host.OnDialog(IDD_OPEN_SCENARIO, [&](HWND d) {
        visible = IsWindowVisible(GetDlgItem(d, 1255)) != FALSE;
        checkedAtStart = IsDlgButtonChecked(d, 1255) == BST_CHECKED;
        CheckDlgButton(d, 1255, BST_CHECKED);
        click(d, 1255);
        listEnabledWhileChecked = enabled(d, 1253);
        selectionWhileChecked = static_cast<int>(SendDlgItemMessage(d, 1253, LB_GETCURSEL, 0, 0));
        CheckDlgButton(d, 1255, BST_UNCHECKED);
        click(d, 1255);
        listEnabledAfter = enabled(d, 1253);
        selectionAfter = static_cast<int>(SendDlgItemMessage(d, 1253, LB_GETCURSEL, 0, 0));
        CheckDlgButton(d, 1255, BST_CHECKED);
        click(d, 1255);
        click(d, IDOK);
    });
    // Checked at OK: the index is -1, so no scenario is chosen and the
    // tutorial starts instead (here the player cannot start: its box).
    std::vector<std::string> lines;
    TutorLauncher before = set_tutor_launcher([&](const char* line, UINT) -> UINT {
        lines.push_back(line);
        return 2;
    });
    host.Answer(IDOK, "VORNS Tutorial", "Unable to load VORNS Tutrial", ScriptedHost::Match::Exact, 1);
    EXPECT_EQ(window.choose_scenario(config.scenarios), std::nullopt);
    set_tutor_launcher(before);
    EXPECT_EQ(lines, std::vector<std::string>{"Steplay32.EXE steplay.cmd"});
    EXPECT_EQ(host.boxes().size(), 1u);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(checkedAtStart);
    EXPECT_FALSE(listEnabledWhileChecked);
    EXPECT_EQ(selectionWhileChecked, -1);
    EXPECT_TRUE(listEnabledAfter);
    EXPECT_EQ(selectionAfter, 0);
}

} // namespace
