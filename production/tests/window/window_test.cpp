// The Production department in the windowed program: the session creates it
// behind its panel, showing it shows the panel and Production's menus, and
// the window draws the plant as it runs.
#include "appgui/vorn_gui.h"
#include "plat/config.h"
#include "plat/menu.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "vorn/assembly.h"
#include "vorn/stand_ins.h"
#include "foundation/draw.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

std::string data_folder()
{
    const std::string bundled = std::string(VORN_BINARY_DIR) + "/data";
    // CTest runs the cases side by side: each has its own folder.
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "production-work" /
                         (std::string("window-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"SAMPLE.VNB", "story.txt", "bgtables.tbl"})
        if (fs::exists(fs::path(bundled) / name))
            fs::copy_file(fs::path(bundled) / name, dir / name);
    return dir.string();
}

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
struct Program {
    ScriptedHost host;
    std::unique_ptr<CVornApp> app;
    CVornWindow* view = nullptr;
    CMainFrame* frame = nullptr;
    CVornView* session = nullptr;

    Program()
    {
        InitGui();
        register_vorn_resources();
        host.OnDialog(IDD_BACKGROUND, [](HWND d) { SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
        const std::string folder = data_folder();
        setenv("VORN_DATA_DIR", folder.c_str(), 1);
        app = std::make_unique<CVornApp>();
        app->about_at_start = false;
        app->assembly = assemble_departments;
        if (!app->InitInstance())
            throw std::runtime_error("the program did not start");
        view = app->window();
        frame = app->frame();
        host.ChoosePath(folder + "/SAMPLE.VNB");
        view->ExecuteCommand(ID_OPEN);
        session = view->session();
    }
    ~Program()
    {
        host.Answer(IDYES, "", "Are you sure you want to exit?");
        if (view->session() != nullptr)
            view->session()->run_state = RUN_STOPPED;
        frame->SendMessage(WM_CLOSE, 0, 0);
        app.reset();
        ResetWindowsForTest();
    }
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

    // Material in the stand-in's store, orders for A1, the units redrawn each minute.
    auto& purchasing = dynamic_cast<StandInPurchasing&>(*p.session->purchasing);
    purchasing.stock[0] = purchasing.stock[1] = 1000;
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
