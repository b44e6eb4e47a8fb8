// The Production department in the windowed program: the session creates it
// behind its panel, showing it shows the panel and Production's menus, and
// the window draws the plant as it runs.
#include "appgui/vorn_gui.h"
#include "plat/config.h"
#include "plat/help.h"
#include "plat/menu.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "support/sample_program.h"
#include "marketing/marketing_dept.h"
#include "production/production_dept.h"
#include "production/production_dialogs.h"
#include "production/production_wnd.h"
#include "vorn/assembly.h"
#include "vorn/stand_ins.h"
#include "purchasing/purchasing_dept.h"
#include "foundation/draw.h"
#include "foundation/simdate.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

std::string data_folder() { return vorn_test::sample_work_folder("production-work", "window-"); }

std::string menu_text(HMENU menu, int pos)
{
    char text[128] = {};
    GetMenuString(menu, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
    return text;
}

COLORREF pixel(HWND w, int x, int y)
{
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

// The program with the sample open, stopped, its departments assembled.
struct Program : vorn_test::SampleProgram {
    Program() : SampleProgram("production-work", "window-") {}
};

// What a unit's state cell shows: Idle grey, Setup olive, Prod. yellow, Break red.
COLORREF state_colour(int state)
{
    static const COLORREF colours[4] = {0xC0C0C0, 0x008080, 0x00FFFF, 0x0000FF};
    return state >= 0 && state < 4 ? colours[state] : 0xC0C0C0;
}

} // namespace

TEST(ProductionWindow, ShownProductionShowsItsPanelAndMenus)
{
    InitGui();
    register_vorn_resources();
    ScriptedHost host;
    host.OnDialog(IDD_BACKGROUND, [](HWND d) { SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
    const std::string folder = data_folder();
    setenv("VORN_DATA_DIR", folder.c_str(), 1);
    auto app = std::make_unique<CVornApp>();
    app->about_at_start = false;
    app->assembly = assemble_departments;
    ASSERT_TRUE(app->InitInstance());
    CVornWindow* view = app->window();
    CMainFrame* frame = app->frame();
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    CVornView* s = view->session();
    ASSERT_NE(s, nullptr);

    auto* production = dynamic_cast<ProductionDepartment*>(s->production);
    ASSERT_NE(production, nullptr) << "the session made the base window, not the Production department";
    EXPECT_EQ(production->engine().Machines.size(), 2u);
    auto* panel = dynamic_cast<CDepartmentPanel*>(production->window());
    ASSERT_NE(panel, nullptr);

    view->ExecuteCommand(ID_PRODUCTION);
    EXPECT_EQ(s->current_department, s->production);
    EXPECT_EQ(production->visible(), 1);
    ASSERT_NE(panel->window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(panel->window()->m_hWnd));
    EXPECT_EQ(production->title(), "Production View");
    // The Orders link button (301) sits on the panel behind the department.
    HWND orders = GetDlgItem(panel->window()->m_hWnd, 301);
    ASSERT_NE(orders, 0u);
    EXPECT_FALSE(IsWindowVisible(orders));
    s->ShowDepartmentLinkButtons(1, 1);
    EXPECT_TRUE(IsWindowVisible(orders));
    s->ShowDepartmentLinkButtons(0, 1);
    EXPECT_FALSE(IsWindowVisible(orders));

    // The sample keeps Information options 1 and 2, Actions 1, Policies 1.
    HMENU bar = GetMenu(frame->m_hWnd);
    HMENU information = GetSubMenu(bar, 1);
    ASSERT_EQ(GetMenuItemCount(information), 2);
    EXPECT_EQ(menu_text(information, 0), "&Machine information");
    EXPECT_EQ(menu_text(information, 1), "Machines utilization");
    EXPECT_EQ(menu_text(GetSubMenu(bar, 2), 0), "&Display frequency");
    EXPECT_EQ(menu_text(GetSubMenu(bar, 3), 0), "&Raw material release");

    const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
    fs::create_directories(pictures);
    EXPECT_TRUE(SaveWindowPng(frame->m_hWnd, (pictures / "production_shown.png").c_str()));

    view->ExecuteCommand(ID_MARKETING);
    EXPECT_EQ(production->visible(), 0);
    EXPECT_FALSE(IsWindowVisible(panel->window()->m_hWnd));

    host.Answer(IDYES, "", "Are you sure you want to exit?");
    s->run_state = RUN_STOPPED;
    frame->SendMessage(WM_CLOSE, 0, 0);
    app.reset();
    ResetWindowsForTest();
}

// The window draws the machines the scenario places and the units' states
// as the plant runs, the check box turns the load view on and off, and the
// hand cursor shows over a machine.
TEST(ProductionWindow, TheWindowShowsTheMachinesMovingAndTheLoadBox)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    const HWND panel = production->window_handle();
    ASSERT_NE(panel, 0u);
    CProductionWnd& plant = production->engine();
    EXPECT_NE(plant.ui->painter(), nullptr) << "with a window the plant draws";

    // The load box: a child of the panel, in the title band at the right.
    const HWND box = GetDlgItem(panel, 303);
    ASSERT_NE(box, 0u);
    EXPECT_EQ(box, production->load_box());
    EXPECT_EQ(GetParent(box), panel);
    char text[64] = {};
    GetWindowText(box, text, sizeof text);
    EXPECT_STREQ(text, "View total load");
    RECT client{}, at{};
    GetClientRect(panel, &client);
    GetWindowRect(box, &at);
    POINT corner{at.left, at.top};
    ScreenToClient(panel, &corner);
    EXPECT_EQ(corner.x, client.right - 100);
    EXPECT_EQ(corner.y, 5);

    // Material in store, orders for A1, the units redrawn each minute.
    CPurchasingWnd& purchasing = dynamic_cast<PurchasingDepartment&>(*p.session->purchasing).engine();
    purchasing.material(0, 0).stock = purchasing.material(0, 1).stock = 1000;
    plant.Jobs[2]->add_material_to_output(nullptr, 0, 0, 60);
    for (int16_t q : {6, 4, 5})
        production->add_order(0, 0, q, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    plant.display_frequency = 2;

    const RMachine& m1 = *plant.Machines[0];
    // Inside the first unit's state cell, and just above it in the row box.
    const int state_x = m1.panel_x + 10, state_y = m1.panel_y + 30;
    const int bar_x = m1.panel_x + 5, bar_y = m1.panel_y + 25;
    UpdateWindow(panel);
    EXPECT_EQ(pixel(panel, state_x, state_y), state_colour(m1.Units[0]->state));
    // The unit row around the cells is the machine's row colour (the scenario's palette 14).
    EXPECT_EQ(pixel(panel, bar_x, bar_y), index_to_color(m1.row_colour));

    // Each time the unit changes state the window shows the new one (the
    // rows are drawn at the minute after the change): the orders' work
    // orders start at the next day's planning, M1 produces, then idles
    // while M2 has its share still waiting.
    int changes = 0;
    int16_t last = m1.Units[0]->state;
    for (int tick = 0; tick < 2 * 480 && changes < 2; ++tick) {
        p.session->SimulationTick(RESTART_NONE);
        if (m1.Units[0]->state == last)
            continue;
        last = m1.Units[0]->state;
        p.session->SimulationTick(RESTART_NONE);
        if (m1.Units[0]->state != last)
            continue;
        ++changes;
        RECT dirty{};
        EXPECT_TRUE(GetUpdateRect(panel, &dirty, FALSE)) << "the change marks the window for repainting";
        UpdateWindow(panel);
        EXPECT_EQ(pixel(panel, state_x, state_y), state_colour(last)) << "state " << last;
    }
    EXPECT_EQ(changes, 2) << "the plant moved";
    const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
    fs::create_directories(pictures);
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, (pictures / "production_running.png").c_str()));

    // Over a machine the hand cursor, elsewhere the arrow.
    SimulateMouseMove(panel, m1.panel_x + 10, m1.panel_y + 10);
    EXPECT_EQ(GetCursor(), p.session->hand_cursor);
    EXPECT_NE(p.session->hand_cursor, 0u);
    SimulateMouseMove(panel, m1.panel_x + 10, 200 * static_cast<int>(p.session->scale_y) + 300);
    EXPECT_EQ(GetCursor(), LoadCursor(0, IDC_ARROW));
    EXPECT_EQ(production->machine_at(m1.panel_x + 1, m1.panel_y + 1), 0);
    EXPECT_EQ(production->machine_at(m1.panel_x - 1, m1.panel_y + 1), -1);

    // Clicking the box turns the load view on: the first row of a machine
    // with work waiting carries the red bar of its load.
    SimulateMouseDown(box, Button::Left, 5, 5);
    SimulateMouseUp(box, Button::Left, 5, 5);
    EXPECT_EQ(plant.show_load, 1);
    const RMachine* loaded = nullptr;
    for (const auto& m : plant.Machines)
        if (m->load_minutes_1 > 0 && loaded == nullptr)
            loaded = m.get();
    ASSERT_NE(loaded, nullptr) << "work waits on the floor";
    UpdateWindow(panel);
    // The bar starts at the row's left edge; short loads make it a pixel or two wide.
    EXPECT_EQ(pixel(panel, loaded->panel_x + 4, loaded->panel_y + 25), RGB(255, 0, 0));
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, (pictures / "production_total_load.png").c_str()));
    // The view's command flips the box back.
    p.view->ExecuteCommand(ID_VIEW_TOTAL_LOAD);
    EXPECT_EQ(plant.show_load, 0);
    EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
    UpdateWindow(panel);
    EXPECT_EQ(pixel(panel, bar_x, bar_y), index_to_color(m1.row_colour));
    EXPECT_EQ(pixel(panel, state_x, state_y), state_colour(m1.Units[0]->state));
}

// A click on a machine's box lists the work orders waiting there; a click
// beside every box opens nothing.
TEST(ProductionWindow, AClickOnAMachineListsItsWaitingWorkOrders)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    const HWND panel = production->window_handle();
    ASSERT_NE(panel, 0u);
    CProductionWnd& plant = production->engine();
    CPurchasingWnd& purchasing = dynamic_cast<PurchasingDepartment&>(*p.session->purchasing).engine();
    purchasing.material(0, 0).stock = purchasing.material(0, 1).stock = 1000;
    for (int16_t q : {6, 4, 5})
        production->add_order(0, 0, q, ORDER_CUSTOMER, KIND_PRODUCT, 5);

    // Run until work waits at a machine.
    int waiting = -1;
    for (int tick = 0; tick < 3 * 480 && waiting < 0; ++tick) {
        p.session->SimulationTick(RESTART_NONE);
        for (size_t m = 0; m < plant.Machines.size(); ++m)
            if (!plant.Machines[m]->Waiting_WOs_Data.empty() && waiting < 0)
                waiting = static_cast<int>(m);
    }
    ASSERT_GE(waiting, 0) << "no work waited anywhere";
    const RMachine& m = *plant.Machines[static_cast<size_t>(waiting)];
    UpdateWindow(panel);

    int opened = 0;
    std::string caption;
    std::vector<std::string> rows;
    p.host.OnDialog(197, [&](HWND d) {
        ++opened;
        char text[128] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        const HWND list = GetDlgItem(d, 1326);
        const int n = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char row[256] = {};
            SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
            rows.emplace_back(row);
        }
        const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
        fs::create_directories(pictures);
        EXPECT_TRUE(SaveWindowPng(d, (pictures / "waiting_wos.png").c_str()));
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    SimulateMouseDown(panel, Button::Left, m.panel_x + 20, m.panel_y + 8);
    SimulateMouseUp(panel, Button::Left, m.panel_x + 20, m.panel_y + 8);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(caption, std::string("Waiting WO's - ") + m.name);
    ASSERT_EQ(rows.size(), m.Waiting_WOs_Data.size());
    const Waiting_WO_Data& first = *m.Waiting_WOs_Data.front();
    const std::string expected = std::string("\t") + first.request->wo->name + "\t" + first.job->name + "\tA1\t" +
                                 std::to_string(first.request->quantity) + "\t" +
                                 std::to_string(first.request->remaining()) + "\t";
    EXPECT_EQ(rows.front().substr(0, expected.size()), expected) << rows.front();

    // Beside every box: nothing opens.
    SimulateMouseDown(panel, Button::Left, 2, 300);
    SimulateMouseUp(panel, Button::Left, 2, 300);
    EXPECT_EQ(opened, 1);
}

struct BoxCase {
    int command;
    const char* caption;
    const char* text;
};

// Commands of features the program does not have show their box; others
// whose condition does not hold show theirs, or nothing.
TEST(ProductionWindow, MenuCommandsWithoutADialogShowTheirBoxes)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    production->engine().release_policy = 0;
    p.host.Answer(IDOK, "");
    const BoxCase cases[] = {
        {307, "dlg_job_wos", "Not implemented yet"},
        {317, "dlg_test", "Not implemented yet"},
        {401, "dlg_set_display_freq", "Not implemented yet"},
        {402, "dlg_convert_to_wo", "Not implemented yet"},
        {412, "dlg_get_product_plt", "Not implemented yet"},
        {413, "dlg_manual_raw_m_release", "Not implemented yet"},
        {503, "dlg_set_trans_acc_policy", "Not implemented yet"},
        {508, "make_dlg_set_wo_kit_policy", "Not implemented yet"},
        {511, "dlg_set_recommended_batch_creation", "Not implemented yet"},
        {2113, "dlg_halt_after_min", "Not implemented yet"},
        {314, "MRP Load Profile", "You must set the Raw Material Release to MRP before watching this graph"},
        // Only with link mode 2 and the MRP policies.
        {406, nullptr, nullptr},
        {409, nullptr, nullptr},
        {9999, nullptr, nullptr},
    };
    for (const BoxCase& c : cases) {
        p.host.clear_records();
        production->on_menu_command(c.command);
        if (c.caption == nullptr) {
            EXPECT_TRUE(p.host.boxes().empty()) << c.command;
            continue;
        }
        ASSERT_EQ(p.host.boxes().size(), 1u) << c.command;
        EXPECT_EQ(p.host.boxes()[0].caption, c.caption) << c.command;
        EXPECT_EQ(p.host.boxes()[0].text, c.text) << c.command;
    }
    // Under MRP the lead time's feature is one the program lacks.
    production->engine().release_policy = 1;
    p.host.clear_records();
    production->on_menu_command(409);
    ASSERT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(p.host.boxes()[0].caption, "dlg_set_MRP_lead_time");
}

// Set unit manually asks for the machine first: cancelled, nothing more; a
// machine with nothing waiting, the box; one with work waiting, the dialog.
TEST(ProductionWindow, SetUnitManuallyAsksForTheMachineFirst)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();

    int asked = 0, opened = 0;
    std::string answer;
    std::string title;
    p.host.OnDialog(138, [&](HWND d) {
        ++asked;
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        title = text;
        SetDlgItemText(d, 1112, answer.c_str());
        SendMessage(d, WM_COMMAND, MAKEWPARAM(answer.empty() ? IDCANCEL : IDOK, BN_CLICKED), 0);
    });
    p.host.OnDialog(146, [&](HWND d) {
        ++opened;
        UpdateWindow(d);
        const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
        fs::create_directories(pictures);
        EXPECT_TRUE(SaveWindowPng(d, (pictures / "set_unit_manually_window.png").c_str()));
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });

    production->on_menu_command(403);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(title, "Set Unit Manually");
    EXPECT_TRUE(p.host.boxes().empty());
    EXPECT_EQ(opened, 0);

    p.host.Answer(IDOK, "");
    // The sample starts with work waiting everywhere: M2's records are kept
    // aside (alive, as the schedules point at them) while it is asked.
    const int idle = 1;
    std::vector<std::unique_ptr<Waiting_WO_Data>> kept;
    kept.swap(plant.Machines[1]->Waiting_WOs_Data);
    answer = plant.Machines[static_cast<size_t>(idle)]->name;
    answer[0] = static_cast<char>(std::tolower(answer[0]));
    production->on_menu_command(403);
    ASSERT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(p.host.boxes()[0].text,
              std::string("There are no waiting jobs for machine: ") + plant.Machines[static_cast<size_t>(idle)]->name);
    EXPECT_EQ(p.host.boxes()[0].caption, "Set Unit Manually");
    EXPECT_EQ(opened, 0);
    kept.swap(plant.Machines[1]->Waiting_WOs_Data);

    CPurchasingWnd& purchasing = dynamic_cast<PurchasingDepartment&>(*p.session->purchasing).engine();
    purchasing.material(0, 0).stock = purchasing.material(0, 1).stock = 1000;
    for (int16_t q : {6, 4})
        production->add_order(0, 0, q, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    answer = "M1";
    for (int tick = 0; tick < 3 * 480 && plant.Machines[0]->Waiting_WOs_Data.empty(); ++tick)
        p.session->SimulationTick(RESTART_NONE);
    ASSERT_FALSE(plant.Machines[0]->Waiting_WOs_Data.empty());
    p.host.clear_records();
    production->on_menu_command(403);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(p.host.boxes().empty());
}

// Production order opens the Order dialog; what it places is a manual order.
TEST(ProductionWindow, ProductionOrderPlacesAManualOrder)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    const size_t before = plant.prd_orders.size();
    p.host.Answer(IDOK, "");
    p.host.OnDialog(145, [&](HWND d) {
        SetDlgItemText(d, 1130, "12");
        SendMessage(d, WM_COMMAND, MAKEWPARAM(1128, BN_CLICKED), 0);
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    production->on_menu_command(405);
    ASSERT_EQ(plant.prd_orders.size(), before + 1);
    EXPECT_EQ(plant.prd_orders.back()->quantity, 12);
    EXPECT_EQ(plant.prd_orders.back()->order_type, ORDER_MANUAL);
    ASSERT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(p.host.boxes()[0].text, "Order accepted");
}

namespace {

void press(HWND d, int id)
{
    SendMessage(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(d, id)));
}

std::string item(HWND d, int id)
{
    char text[64] = {};
    GetDlgItemText(d, id, text, sizeof text);
    return text;
}

} // namespace

// MRP with 3 days stores 1440 minutes and reopens showing 3; every machine
// then schedules as possible. Opening under "MRP Schedule" gives the
// machines their own rules back even when cancelled.
TEST(ProductionWindow, RawMaterialReleaseStoresThePolicyAndItsLeadTime)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    plant.release_policy = 0;
    for (auto& m : plant.Machines)
        m->schedule_option = 0;

    bool dbr_disabled = false, lead_enabled_after_click = false, lead_disabled_at_open = false;
    p.host.OnDialog(136, [&](HWND d) {
        EXPECT_EQ(IsDlgButtonChecked(d, 1105), static_cast<UINT>(BST_CHECKED));
        dbr_disabled = !IsWindowEnabled(GetDlgItem(d, 1339)) && !IsWindowEnabled(GetDlgItem(d, 1325));
        lead_disabled_at_open = !IsWindowEnabled(GetDlgItem(d, 1108));
        CheckDlgButton(d, 1105, BST_UNCHECKED);
        CheckDlgButton(d, 1100, BST_CHECKED);
        press(d, 1100);
        lead_enabled_after_click = IsWindowEnabled(GetDlgItem(d, 1108)) != 0;
        SetDlgItemText(d, 1108, "3");
        const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
        fs::create_directories(pictures);
        EXPECT_TRUE(SaveWindowPng(d, (pictures / "raw_material_release.png").c_str()));
        press(d, IDOK);
    });
    production->on_menu_command(501);
    EXPECT_TRUE(dbr_disabled);
    EXPECT_TRUE(lead_disabled_at_open);
    EXPECT_TRUE(lead_enabled_after_click);
    EXPECT_EQ(plant.release_policy, 1);
    EXPECT_EQ(plant.mrp_lead_time_minutes, 1440);
    for (auto& m : plant.Machines)
        EXPECT_EQ(m->schedule_option, 1);
    for (auto& pr : plant.Products)
        EXPECT_EQ(pr->mrp_lead_time, 1440);

    std::string shown;
    p.host.OnDialog(136, [&](HWND d) {
        shown = item(d, 1108);
        EXPECT_EQ(IsDlgButtonChecked(d, 1100), static_cast<UINT>(BST_CHECKED));
        press(d, IDCANCEL);
    });
    production->on_menu_command(501);
    EXPECT_EQ(shown, "3");

    // Beyond 136 days the minutes would not fit: refused, the dialog stays.
    p.host.clear_records();
    p.host.Answer(IDOK, "");
    bool stayed = false;
    p.host.OnDialog(136, [&](HWND d) {
        SetDlgItemText(d, 1108, "137");
        press(d, IDOK);
        stayed = IsWindow(d) != 0;
        press(d, IDCANCEL);
    });
    production->on_menu_command(501);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(plant.mrp_lead_time_minutes, 1440);

    plant.release_policy = 2;
    for (auto& m : plant.Machines) {
        m->initial_rule = RULE_FIFO;
        m->rule = RULE_SCHEDULE;
    }
    p.host.OnDialog(136, [&](HWND d) { press(d, IDCANCEL); });
    production->on_menu_command(501);
    EXPECT_EQ(plant.release_policy, 2);
    for (auto& m : plant.Machines)
        EXPECT_EQ(m->rule, RULE_FIFO);
}

// Weekly planning on Friday stores 6; the fixed interval keeps its range.
TEST(ProductionWindow, WorkOrderPlanningWeeklyOnFridayStoresSix)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    plant.wo_planning_mode = 0;
    plant.wo_planning_parameter = 3;
    std::string label_before, label_after, interval;
    p.host.OnDialog(156, [&](HWND d) {
        label_before = item(d, 1153);
        interval = item(d, 1149);
        CheckDlgButton(d, 1146, BST_UNCHECKED);
        CheckDlgButton(d, 1147, BST_CHECKED);
        press(d, 1147);
        label_after = item(d, 1153);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 1149)));
        SendDlgItemMessage(d, 1150, CB_SETCURSEL, 4, 0);
        SetDlgItemText(d, 1152, "25");
        press(d, IDOK);
    });
    production->on_menu_command(504);
    EXPECT_EQ(label_before, "Fixed interval:");
    EXPECT_EQ(interval, "3");
    EXPECT_EQ(label_after, "Day of week:");
    EXPECT_EQ(plant.wo_planning_mode, 1);
    EXPECT_EQ(plant.wo_planning_parameter, 6);
    EXPECT_EQ(plant.wo_planning_countdown, 6);
    EXPECT_EQ(plant.min_wo_quantity, 25);
    EXPECT_EQ(plant.min_wo_demand, 1);

    // Back to a fixed interval of 41: beyond its range, refused.
    p.host.clear_records();
    p.host.Answer(IDOK, "");
    p.host.OnDialog(156, [&](HWND d) {
        EXPECT_EQ(item(d, 1149), "10");
        CheckDlgButton(d, 1147, BST_UNCHECKED);
        CheckDlgButton(d, 1146, BST_CHECKED);
        press(d, 1146);
        SetDlgItemText(d, 1149, "41");
        press(d, IDOK);
        press(d, IDCANCEL);
    });
    production->on_menu_command(504);
    EXPECT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(plant.wo_planning_mode, 1);
}

// With no machine selected the command asks for one; the option is stored.
TEST(ProductionWindow, SchedulingOptionsAsksForAMachineWithoutASelection)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    plant.selection[0] = NONE16;
    plant.Machines[1]->schedule_option = 0;
    int asked = 0;
    std::string caption;
    p.host.OnDialog(138, [&](HWND d) {
        ++asked;
        SetDlgItemText(d, 1112, "M2");
        press(d, IDOK);
    });
    p.host.OnDialog(139, [&](HWND d) {
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        CheckDlgButton(d, 1113, BST_UNCHECKED);
        CheckDlgButton(d, 1114, BST_CHECKED);
        press(d, IDOK);
    });
    production->on_menu_command(505);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(caption, "Schedules Options - M2");
    EXPECT_EQ(plant.Machines[1]->schedule_option, 1);

    // A selected machine (machine 0 included) is taken without asking.
    plant.selection[0] = 0;
    production->on_menu_command(505);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(plant.Machines[0]->schedule_option, 1);
}

// The machine policy grid starts from each machine's rule and acceptance;
// what the user changes is stored, a cell left alone keeps its value (the
// scenario-only priority rule included).
TEST(ProductionWindow, MachinePolicyStoresChangedCellsOnly)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    plant.Machines[0]->rule = RULE_FIFO;
    plant.Machines[0]->acceptance = 1;
    plant.Machines[1]->rule = 4;   // PRI, only a scenario sets it
    plant.Machines[1]->acceptance = 0;
    std::vector<int> shown;
    p.host.OnDialog(142, [&](HWND d) {
        // The grid's cells are children of the dialog from a base id by
        // thousands: rows by 100, columns by 1.
        int base = 0;
        for (int k = 1; k < 100 && base == 0; ++k)
            if (GetDlgItem(d, 1000 * k) != 0 && GetDlgItem(d, 1000 * k + 101) != 0)
                base = 1000 * k;
        ASSERT_NE(base, 0);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
                shown.push_back(static_cast<int>(SendMessage(GetDlgItem(d, base + row * 100 + col), CB_GETCURSEL, 0, 0)));
        SendMessage(GetDlgItem(d, base), CB_SETCURSEL, 3, 0);   // M1: EDD
        const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
        fs::create_directories(pictures);
        EXPECT_TRUE(SaveWindowPng(d, (pictures / "machine_policy.png").c_str()));
        press(d, IDOK);
    });
    production->on_menu_command(502);
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 4, 0}));
    EXPECT_EQ(plant.Machines[0]->rule, RULE_EDD);
    EXPECT_EQ(plant.Machines[0]->acceptance, 1);
    EXPECT_EQ(plant.Machines[1]->rule, 4);
    EXPECT_EQ(plant.Machines[1]->acceptance, 0);
}

namespace {

void pump()
{
    MSG msg{};
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

std::vector<std::string> rows_of(HWND d, int id)
{
    std::vector<std::string> rows;
    const int n = static_cast<int>(SendDlgItemMessage(d, id, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char row[256] = {};
        SendDlgItemMessage(d, id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
        rows.emplace_back(row);
    }
    return rows;
}

} // namespace

// The unit's work leads the schedule; adding to an empty schedule needs no
// selected line; Cancel after Remove All puts the whole schedule back; OK
// runs the machine by its schedule.
TEST(ProductionWindow, ManualSchedulingOrdersTheMachinesWork)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    CPurchasingWnd& purchasing = dynamic_cast<PurchasingDepartment&>(*p.session->purchasing).engine();
    purchasing.material(0, 0).stock = purchasing.material(0, 1).stock = 1000;
    RMachine& m = *plant.Machines[0];
    for (int tick = 0; tick < 3 * 480 && m.waiting_data_of_unit(0) == nullptr; ++tick)
        p.session->SimulationTick(RESTART_NONE);
    Waiting_WO_Data* busy = m.waiting_data_of_unit(0);
    ASSERT_NE(busy, nullptr) << "the unit never took work";
    m.Schedules.clear();
    plant.release_policy = 0;

    p.host.Answer(IDOK, "");
    p.host.OnDialog(138, [&](HWND d) {
        SetDlgItemText(d, 1112, "M1");
        press(d, IDOK);
    });
    std::string caption;
    std::vector<std::string> schedule_at_open, waiting_at_open;
    p.host.OnDialog(168, [&](HWND d) {
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        schedule_at_open = rows_of(d, 1167);
        waiting_at_open = rows_of(d, 1087);
        const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
        fs::create_directories(pictures);
        EXPECT_TRUE(SaveWindowPng(d, (pictures / "manual_scheduling.png").c_str()));
        press(d, IDCANCEL);
    });
    production->on_menu_command(404);
    EXPECT_EQ(caption, "Manual Scheduling - M1");
    EXPECT_TRUE(m.Schedules.empty()) << "Cancel leaves the schedule as it was before the dialog";
    ASSERT_EQ(schedule_at_open.size(), 2u) << "one entry and the closing blank line";
    EXPECT_EQ(schedule_at_open[0].substr(0, 3 + std::strlen(busy->request->wo->name)),
              std::string("\t1\t") + busy->request->wo->name);
    EXPECT_TRUE(schedule_at_open[1].empty());
    ASSERT_EQ(waiting_at_open.size(), m.Waiting_WOs_Data.size());
    for (size_t i = 0; i < m.Waiting_WOs_Data.size(); ++i) {
        const bool same_wo = m.Waiting_WOs_Data[i]->request->wo == busy->request->wo;
        EXPECT_EQ(waiting_at_open[i].substr(0, 2), same_wo ? "+\t" : " \t") << "only the scheduled work order is marked";
    }

    // Cancel after Remove All: the whole schedule as it was at the opening.
    m.Schedules = {busy};
    p.host.OnDialog(168, [&](HWND d) {
        press(d, 5);
        EXPECT_TRUE(m.Schedules.empty());
        press(d, IDCANCEL);
    });
    production->on_menu_command(404);
    ASSERT_EQ(m.Schedules.size(), 1u);
    EXPECT_EQ(m.Schedules[0], busy);

    // An empty schedule takes the selected waiting work order without a selected line;
    // the same one again is refused.
    m.Schedules.clear();
    busy = nullptr;
    p.host.clear_records();
    p.host.OnDialog(168, [&](HWND d) {
        press(d, 5);
        SendDlgItemMessage(d, 1167, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SendDlgItemMessage(d, 1087, LB_SETCURSEL, 0, 0);
        press(d, 3);
        EXPECT_EQ(m.Schedules.size(), 1u);
        SendDlgItemMessage(d, 1087, LB_SETCURSEL, 0, 0);
        press(d, 3);
        EXPECT_EQ(m.Schedules.size(), 1u);
        CheckDlgButton(d, 1113, BST_UNCHECKED);
        CheckDlgButton(d, 1166, BST_CHECKED);
        press(d, IDOK);
    });
    m.schedule_option = 0;
    production->on_menu_command(404);
    ASSERT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(p.host.boxes()[0].text, "Waiting WO already selected!");
    EXPECT_EQ(m.rule, RULE_SCHEDULE);
    EXPECT_EQ(m.schedule_option, 1);
    for (const auto& u : m.Units)
        EXPECT_EQ(u->batch, 0) << "every unit dropped its batch";
}

// Schedule End: "Enter new schedule" opens Manual Scheduling for the machine
// once the tick is over; "Pause" stops the run at once.
TEST(ProductionWindow, ScheduleEndAnswersRunAfterTheTick)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    ASSERT_FALSE(plant.Machines[0]->Waiting_WOs_Data.empty());

    int asked = 0, scheduling = 0;
    int answer = 1;
    std::string caption;
    p.host.OnDialog(186, [&](HWND d) {
        ++asked;
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        EXPECT_EQ(IsDlgButtonChecked(d, 1191), static_cast<UINT>(BST_UNCHECKED));
        const int ids[3] = {1191, 1192, 1122};
        CheckDlgButton(d, ids[answer], BST_CHECKED);
        press(d, IDOK);
    });
    p.host.OnDialog(168, [&](HWND d) {
        ++scheduling;
        press(d, IDCANCEL);
    });
    plant.on_schedule_end(0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(caption, "Schedule End - M1");
    EXPECT_EQ(scheduling, 0) << "nothing opens inside the machine's dispatch";
    pump();
    EXPECT_EQ(scheduling, 1);

    answer = 2;
    p.session->run_state = RUN_RUNNING;
    plant.on_schedule_end(0);
    EXPECT_EQ(p.session->run_state, RUN_STOPPED);
    pump();
    EXPECT_EQ(scheduling, 1);
}

// The red-line grid shows Marketing's levels (times under make to order);
// a changed figure goes back to Marketing, the check box to the policy.
TEST(ProductionWindow, RedLevelPolicyWritesChangedLevelsBack)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    MarketingDept& market = *plant.marketing;
    ASSERT_GT(market.family_count(), 0);
    ASSERT_GT(market.product_count(0), 0);
    ASSERT_NE(market.link_mode(), 1) << "the sample's market makes to stock";
    market.set_red_line_level(0, 0, 10);
    plant.red_level_policy = 0;
    std::string first;
    p.host.OnDialog(144, [&](HWND d) {
        int base = 0;
        for (int k = 1; k < 100 && base == 0; ++k)
            if (GetDlgItem(d, 1000 * k) != 0)
                base = 1000 * k;
        ASSERT_NE(base, 0);
        char text[32] = {};
        GetDlgItemText(d, base, text, sizeof text);
        first = text;
        SetDlgItemText(d, base, "17");
        CheckDlgButton(d, 1127, BST_CHECKED);
        UpdateWindow(d);
        const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
        fs::create_directories(pictures);
        EXPECT_TRUE(SaveWindowPng(d, (pictures / "red_level_policy.png").c_str()));
        press(d, IDOK);
    });
    production->on_menu_command(506);
    EXPECT_EQ(first, "10");
    EXPECT_EQ(market.red_line_level(0, 0), 17);
    EXPECT_EQ(plant.red_level_policy, 1);
}

// Assemble to order shows the common part's stock flag and levels; leaving
// the stocked policy drops its reorder work orders. Make or buy flips its source.
TEST(ProductionWindow, AssembleToOrderAndMakeOrBuyChangeTheCommonPart)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    const int u1 = 1;
    RProduct& part = *plant.Products[u1];
    ASSERT_STREQ(part.code, "U1");
    part.on_stock = 1;
    part.order_up_to = 40;
    part.reorder_point = 15;
    part.red_line_level = 10;
    // A reorder work order of the part, as the reorder point makes them.
    plant.add_order(-1, u1, 8, ORDER_REORDER, KIND_PRODUCT, 5);
    plant.release_orders({plant.prd_orders.back().get()});
    auto reorders = [&] {
        int n = 0;
        for (const auto& wo : plant.Work_Orders)
            if (wo->product_position() == u1 && wo->first_order_type() == ORDER_REORDER)
                ++n;
        return n;
    };
    ASSERT_EQ(reorders(), 1);

    p.host.OnDialog(203, [&](HWND d) {
        SetDlgItemText(d, 1112, "U1");
        press(d, IDOK);
    });
    std::vector<std::string> shown;
    bool follows = false;
    std::string caption;
    p.host.OnDialog(204, [&](HWND d) {
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        for (int id : {1211, 1212, 1214})
            shown.push_back(item(d, id));
        EXPECT_EQ(IsDlgButtonChecked(d, 1210), static_cast<UINT>(BST_CHECKED));
        CheckDlgButton(d, 1210, BST_UNCHECKED);
        press(d, 1210);
        follows = !IsWindowEnabled(GetDlgItem(d, 1211)) && !IsWindowEnabled(GetDlgItem(d, 1214));
        SetDlgItemText(d, 1211, "50");
        press(d, IDOK);
    });
    production->on_menu_command(507);
    EXPECT_EQ(caption, "Assemble to order - U1");
    EXPECT_EQ(shown, (std::vector<std::string>{"40", "15", "10"}));
    EXPECT_TRUE(follows);
    EXPECT_EQ(part.on_stock, 0);
    EXPECT_EQ(part.order_up_to, 50);
    EXPECT_EQ(reorders(), 0) << "leaving the stocked policy drops its reorder work orders";

    part.buy = 0;
    p.host.OnDialog(211, [&](HWND d) {
        EXPECT_EQ(IsDlgButtonChecked(d, 1248), static_cast<UINT>(BST_CHECKED));
        CheckDlgButton(d, 1248, BST_UNCHECKED);
        CheckDlgButton(d, 1249, BST_CHECKED);
        press(d, IDOK);
    });
    production->on_menu_command(510);
    EXPECT_EQ(part.buy, 1);
}

// DBR Params: a factor beyond 100 is refused; OK stores the settings, sets
// the constrained policy, and a constraint waiting for its schedule options
// gets them asked at once.
TEST(ProductionWindow, DbrParamsSetTheConstrainedPolicy)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    plant.release_policy = 0;
    plant.Machines[0]->spare = 1;
    p.host.Answer(IDOK, "");
    bool stayed = false;
    p.host.OnDialog(207, [&](HWND d) {
        SendDlgItemMessage(d, 1236, CB_SETCURSEL, 0, 0);
        SetDlgItemText(d, 1239, "8");
        SetDlgItemText(d, 1237, "16");
        SetDlgItemText(d, 1238, "4");
        SetDlgItemText(d, 1240, "150");
        press(d, IDOK);
        stayed = IsWindow(d) != 0;
        SetDlgItemText(d, 1240, "50");
        press(d, IDOK);
    });
    int options = 0;
    p.host.OnDialog(139, [&](HWND d) {
        ++options;
        press(d, IDCANCEL);
    });
    production->on_menu_command(513);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(plant.release_policy, 4);
    EXPECT_EQ(plant.constraint_machine, 0);
    EXPECT_EQ(plant.shipping_buffer_hours, 8);
    EXPECT_EQ(plant.constraint_buffer_hours, 16);
    EXPECT_EQ(plant.assembly_buffer_hours, 4);
    EXPECT_EQ(plant.contract_factor, 50.0f);
    EXPECT_EQ(options, 1);
    EXPECT_EQ(plant.Machines[0]->spare, 0);
    EXPECT_EQ(plant.selection[0], 0);
}

// Planning for contracts opens over the market's planning; the numbers and
// their labels are disabled while production starts by the quoted lead
// time; OK stores and logs what changed, a number out of range is refused,
// and days before and merge are kept only when planning is not by lead time.
TEST(ProductionWindow, PlanningForContractsStoresTheMarketsPlanning)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    auto* marketing = dynamic_cast<MarketingDepartment*>(p.session->marketing);
    ASSERT_NE(production, nullptr);
    ASSERT_NE(marketing, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CMarketingWnd& market = marketing->engine();
    market.plan_by_qlt = 1;
    market.plan_days_before = 4;
    market.plan_merge = 0;
    std::vector<std::string> logged;
    p.session->decision_hook = [&](const char* dept, const char* key, const std::string&, const std::string& o,
                                   const std::string& n, int, int) {
        logged.push_back(std::string(dept) + " " + key + " " + o + " -> " + n);
    };
    const int numbers[] = {1123, 1124, 1125, 1126};
    p.host.OnDialog(IDD_PLANNING_FOR_CONTRACTS, [&](HWND d) {
        char caption[64] = {};
        GetWindowText(d, caption, sizeof caption);
        EXPECT_STREQ(caption, "Planning For Contracts");
        EXPECT_EQ(IsDlgButtonChecked(d, 1122), BST_CHECKED);
        EXPECT_EQ(item(d, 1123), "4");
        EXPECT_EQ(item(d, 1124), "0");
        for (int id : numbers)
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, id))) << id;
        CheckDlgButton(d, 1122, BST_UNCHECKED);
        press(d, 1122);
        for (int id : numbers)
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, id))) << id;
        SetDlgItemText(d, 1123, "6");
        SetDlgItemText(d, 1124, "2");
        UpdateWindow(d);
        const fs::path pictures = fs::path(VORN_BINARY_DIR) / "production-png";
        fs::create_directories(pictures);
        EXPECT_TRUE(SaveWindowPng(d, (pictures / "planning_for_contracts.png").c_str()));
        press(d, IDOK);
    });
    production->on_menu_command(509);
    EXPECT_EQ(market.plan_by_qlt, 0);
    EXPECT_EQ(market.plan_days_before, 6);
    EXPECT_EQ(market.plan_merge, 2);
    EXPECT_EQ(logged, (std::vector<std::string>{"Mrk PlannCont.-ByQLT TRUE -> FALSE", "Mrk PlannCont-DaysBefore 4 -> 6",
                                                "Mrk PlannCont-Merge 0 -> 2"}));

    // A negative number is refused with its box and the dialog stays; Cancel changes nothing.
    logged.clear();
    p.host.clear_records();
    p.host.Answer(IDOK, "");
    p.host.OnDialog(IDD_PLANNING_FOR_CONTRACTS, [&](HWND d) {
        EXPECT_EQ(IsDlgButtonChecked(d, 1122), BST_UNCHECKED);
        SetDlgItemText(d, 1123, "-3");
        press(d, IDOK);
        press(d, IDCANCEL);
    });
    production->on_menu_command(509);
    EXPECT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(market.plan_days_before, 6);
    EXPECT_TRUE(logged.empty());

    // Back to the quoted lead time: the days and merge typed meanwhile are not kept.
    p.host.OnDialog(IDD_PLANNING_FOR_CONTRACTS, [&](HWND d) {
        CheckDlgButton(d, 1122, BST_CHECKED);
        press(d, 1122);
        SetDlgItemText(d, 1123, "9");
        press(d, IDOK);
    });
    production->on_menu_command(509);
    EXPECT_EQ(market.plan_by_qlt, 1);
    EXPECT_EQ(market.plan_days_before, 6);
    EXPECT_EQ(market.plan_merge, 2);
    EXPECT_EQ(logged, (std::vector<std::string>{"Mrk PlannCont.-ByQLT FALSE -> TRUE", "Mrk PlannCont-DaysBefore 6 -> 9"}));
}

// Help on the window opens the load view's page while the load is shown.
TEST(ProductionWindow, HelpFollowsTheLoadView)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    // The help pages beside the session, as the bundled data folder has them.
    const fs::path here = fs::path(VORN_BINARY_DIR) / "production-work" / "window-HelpFollowsTheLoadView";
    fs::copy(fs::path(VORN_BINARY_DIR) / "data" / "vorn.help", here / "vorn.help",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    const fs::path before = fs::current_path();
    fs::current_path(here);
    production->engine().show_load = 0;
    production->show_help();
    const std::string plain = HelpViewerPage();
    production->engine().show_load = 1;
    production->show_help();
    const std::string load = HelpViewerPage();
    WinHelp(0, "vorn.hlp", HELP_QUIT, 0);
    fs::current_path(before);
    EXPECT_EQ(fs::path(plain).filename(), "12.html") << plain;
    EXPECT_EQ(fs::path(load).filename(), "16.html") << load;
}

// Only machines that can still take a unit are listed; a line buys for its
// own machine, whichever machines were left out before it.
TEST(ProductionWindow, BuyMachineUnitBuysForTheLinesMachine)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    RMachine& m1 = *plant.Machines[0];
    RMachine& m2 = *plant.Machines[1];
    m1.max_units = static_cast<uint8_t>(m1.Units.size());
    m2.max_units = static_cast<uint8_t>(m2.Units.size() + 1);
    const size_t m2_units = m2.Units.size();
    p.host.Answer(IDOK, "");
    std::vector<std::string> rows;
    p.host.OnDialog(200, [&](HWND d) {
        rows = rows_of(d, 1164);
        press(d, IDOK);   // nothing selected: refused, the dialog stays
        EXPECT_TRUE(IsWindow(d));
        SendDlgItemMessage(d, 1164, LB_SETCURSEL, 0, 0);
        press(d, IDOK);
    });
    production->on_menu_command(410);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].substr(0, 4), "\tM2\t");
    EXPECT_EQ(m2.Units.size(), m2_units + 1);
    EXPECT_EQ(m2.Units.back()->state, UNIT_ON_DELIVERY);
    ASSERT_EQ(p.host.boxes().size(), 2u);
    EXPECT_EQ(p.host.boxes()[0].text, "No option selected in list");
    EXPECT_EQ(p.host.boxes()[1].text, "New unit bought successfully to machine: M2");
}

// Product priorities: edited while enabled; turned off, every priority is 0.
TEST(ProductionWindow, ProductPriorityStoresThePrioritiesOrClearsThem)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    plant.product_priority_on = 0;
    plant.Products[0]->priority = 3;
    plant.Products[1]->priority = 1;
    auto cell_base = [](HWND d) {
        for (int k = 1; k < 100; ++k)
            if (GetDlgItem(d, 1000 * k) != 0 && GetDlgItem(d, 1000 * k + 100) != 0)
                return 1000 * k;
        return 0;
    };
    std::string shown;
    bool disabled_at_open = false;
    p.host.OnDialog(208, [&](HWND d) {
        const int base = cell_base(d);
        ASSERT_NE(base, 0);
        shown = item(d, base);
        disabled_at_open = !IsWindowEnabled(GetDlgItem(d, base));
        CheckDlgButton(d, 1241, BST_CHECKED);
        press(d, 1241);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, base)));
        SetDlgItemText(d, base + 100, "7");
        press(d, IDOK);
    });
    production->on_menu_command(512);
    EXPECT_EQ(shown, "3");
    EXPECT_TRUE(disabled_at_open);
    EXPECT_EQ(plant.product_priority_on, 1);
    EXPECT_EQ(plant.Products[0]->priority, 3);
    EXPECT_EQ(plant.Products[1]->priority, 7);

    p.host.OnDialog(208, [&](HWND d) {
        CheckDlgButton(d, 1241, BST_UNCHECKED);
        press(d, 1241);
        press(d, IDOK);
    });
    production->on_menu_command(512);
    EXPECT_EQ(plant.product_priority_on, 0);
    EXPECT_EQ(plant.Products[0]->priority, 0);
    EXPECT_EQ(plant.Products[1]->priority, 0);
}

// Add Extra Shift starts from today when none is planned; a To before From
// is refused; OK stores both days.
TEST(ProductionWindow, AddExtraShiftStoresTheDays)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    plant.extra_shift_start = SimStamp{};
    plant.extra_shift_end = SimStamp{};
    const int order = p.session->clock.date_order;
    const SimStamp now = plant.host->now();
    const SimDateTime today{now.year, now.month, now.day, now.hour, now.minute};
    SimDateTime later = today;
    later.day = static_cast<int16_t>(today.day < 20 ? today.day + 5 : today.day);
    SimDateTime earlier = today;
    earlier.day = static_cast<int16_t>(today.day > 5 ? today.day - 3 : today.day);
    ASSERT_NE(earlier.day, later.day);
    p.host.Answer(IDOK, "");
    std::string from_shown;
    bool stayed = false;
    p.host.OnDialog(220, [&](HWND d) {
        from_shown = item(d, 1178);
        SetDlgItemText(d, 1178, date_text(later, order).c_str());
        SetDlgItemText(d, 1179, date_text(earlier, order).c_str());
        press(d, IDOK);
        stayed = IsWindow(d) != 0;
        SetDlgItemText(d, 1178, "32/13/99x");
        press(d, IDOK);
        SetDlgItemText(d, 1178, date_text(today, order).c_str());
        SetDlgItemText(d, 1179, date_text(later, order).c_str());
        press(d, IDOK);
    });
    production->on_menu_command(414);
    EXPECT_EQ(from_shown, date_text(today, order));
    EXPECT_TRUE(stayed);
    ASSERT_EQ(p.host.boxes().size(), 2u);
    EXPECT_EQ(p.host.boxes()[0].text, "'To' date must be bigger or equal than 'From' date");
    EXPECT_EQ(p.host.boxes()[1].text.rfind("Invalid From date: ", 0), 0u);
    EXPECT_EQ(plant.extra_shift_start.day, today.day);
    EXPECT_EQ(plant.extra_shift_end.day, later.day);
    EXPECT_EQ(plant.extra_shift_end.month, later.month);
}

// Remove work order: a number no work order has keeps the chooser open; the
// chosen work order goes and the box names it.
TEST(ProductionWindow, RemoveWorkOrderByItsNumber)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    CProductionWnd& plant = production->engine();
    plant.add_order(0, 0, 5, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    RWork_Order* wo = plant.release_orders({plant.prd_orders.back().get()});
    ASSERT_NE(wo, nullptr);
    const std::string name = wo->name;
    const uint16_t number = wo->number;
    const size_t before = plant.Work_Orders.size();
    p.host.Answer(IDOK, "");
    bool stayed = false;
    p.host.OnDialog(183, [&](HWND d) {
        SetDlgItemText(d, 1087, "9999");
        press(d, IDOK);
        stayed = IsWindow(d) != 0;
        SetDlgItemText(d, 1087, std::to_string(number).c_str());
        press(d, IDOK);
    });
    production->on_menu_command(408);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(p.host.boxes().size(), 2u);
    EXPECT_EQ(p.host.boxes()[0].text, "Invaild WO number !");
    EXPECT_EQ(p.host.boxes()[1].text, "Remove Work Order " + name);
    EXPECT_EQ(p.host.boxes()[1].caption, "Done");
    EXPECT_EQ(plant.Work_Orders.size(), before - 1);
    for (const auto& w : plant.Work_Orders)
        EXPECT_NE(w->number, number);
}

// A route's boxes carry palette numbers (cyan raw material, yellow job,
// white product); drawn into a dialog's device context they show those
// colours, not the near-black the bare numbers would be as colour values.
TEST(ProductionWindow, RouteBoxesDrawInTheirPaletteColours)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    ASSERT_NE(production, nullptr);
    CProductionWnd& plant = production->engine();
    std::vector<RouteInfo> route;
    plant.collect_route_info({KIND_PRODUCT, 0, 1}, route, 0, 0, false, nullptr);
    ASSERT_GE(route.size(), 5u);

    HDC screen = GetDC(0);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 600, 400);
    ReleaseDC(0, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, 600, 400};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    production->draw_into(dc, [&] {
        for (const RouteInfo& r : route)
            switch (r.item.kind) {
            case KIND_JOB: plant.draw_job_box(r.x, r.y, r.item.index, r.colour); break;
            case KIND_RAW: plant.draw_material_box(r.x, r.y, r.item.index, r.colour); break;
            default: plant.draw_product_box(r.x, r.y, r.item.index, r.colour); break;
            }
    });
    int seen_raw = 0, seen_job = 0, seen_product = 0, seen_final = 0;
    for (const RouteInfo& r : route) {
        ASSERT_LT(r.x + 30, 600);
        ASSERT_LT(r.y + 25, 400);
        // Inside the frame, left of the box's text.
        const COLORREF inside = GetPixel(dc, r.x + 2, r.y + 20);
        if (r.colour < 0) {
            EXPECT_EQ(inside, RGB(0, 0, 0)) << "a final job's box has no fill";
            ++seen_final;
            continue;
        }
        EXPECT_EQ(inside, index_to_color(r.colour)) << "kind " << r.item.kind << " colour " << r.colour;
        (r.item.kind == KIND_RAW ? seen_raw : r.item.kind == KIND_JOB ? seen_job : seen_product)++;
    }
    EXPECT_GT(seen_raw, 0);
    EXPECT_GT(seen_job, 0);
    EXPECT_GT(seen_product, 0);
    EXPECT_GT(seen_final, 0);
    EXPECT_EQ(index_to_color(11), RGB(0, 255, 255));
    EXPECT_EQ(index_to_color(14), RGB(255, 255, 0));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// Edit forecast acts only under the forecast link: there the market rebuilds
// its forecast and plan, the forecast window's placeholder box shows, and as
// that window answers nothing, Production's forecast slots are not spread
// again. Under the other links the command does nothing at all.
TEST(ProductionWindow, EditForecastRebuildsTheMarketsPlanOnlyUnderTheForecastLink)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(p.session->production);
    auto* marketing = dynamic_cast<MarketingDepartment*>(p.session->marketing);
    ASSERT_NE(production, nullptr);
    ASSERT_NE(marketing, nullptr);
    p.view->ExecuteCommand(ID_PRODUCTION);
    p.host.Answer(IDOK, "");
    CMarketingWnd& market = marketing->engine();
    CProductionWnd& plant = production->engine();
    ASSERT_FALSE(plant.Products.empty());
    uint16_t f = NONE16, q = NONE16;
    plant.product_pair_of(0, f, q);
    ASSERT_NE(f, NONE16);
    plant.Products[0]->stock_policy = 0;
    plant.forecast_horizon_days = 30;
    plant.forecast_range_months = 2;
    ASSERT_EQ(plant.forecast_slot_count(), 2);

    const auto poison = [&] {
        MarketProduct& pr = market.product(f, q);
        pr.forecast.fill(7777);
        pr.plan.fill(9999);
        CProductionWnd::set_forecast_slot(*plant.Products[0], 0, 123);
        CProductionWnd::set_forecast_slot(*plant.Products[0], 1, 456);
    };
    for (int mode : {LINK_MAKE_TO_STOCK, LINK_MAKE_TO_ORDER}) {
        market.change_link_mode(mode, nullptr);
        ASSERT_EQ(market.link_mode(), mode);
        poison();
        p.host.clear_records();
        production->on_menu_command(407);
        EXPECT_TRUE(p.host.boxes().empty()) << mode;
        EXPECT_EQ(market.product(f, q).forecast[6], 7777) << mode;
        EXPECT_EQ(market.product(f, q).plan[1], 9999) << mode;
    }

    market.change_link_mode(LINK_FORECAST, nullptr);
    ASSERT_EQ(market.link_mode(), LINK_FORECAST);
    poison();
    p.host.clear_records();
    production->on_menu_command(407);
    ASSERT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(p.host.boxes()[0].caption, "dlg_forecast");
    EXPECT_EQ(p.host.boxes()[0].text, "Not implemented yet");
    const MarketProduct& pr = market.product(f, q);
    EXPECT_NE(pr.forecast[6], 7777);
    EXPECT_NE(pr.plan[1], 9999);
    EXPECT_EQ(pr.plan[0], std::min<int>(65535, pr.forecast[0] + pr.forecast[1]));
    for (size_t k = 1; k <= 5; ++k)
        EXPECT_EQ(pr.plan[k], pr.forecast[k + 1]) << k;
    EXPECT_EQ(CProductionWnd::forecast_slot(*plant.Products[0], 0), 123);
    EXPECT_EQ(CProductionWnd::forecast_slot(*plant.Products[0], 1), 456);
}
