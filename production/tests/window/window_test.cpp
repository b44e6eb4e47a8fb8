// The Production department in the windowed program: the session creates it
// behind its panel, and showing it shows the panel and Production's menus.
#include "appgui/vorn_gui.h"
#include "plat/config.h"
#include "plat/menu.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "vorn/assembly.h"
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
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "production-work" / "window";
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
