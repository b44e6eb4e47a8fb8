// The Production reports reached from their menu commands in the windowed
// program with the sample open: each opens its window, choosers first.
#include "appgui/vorn_gui.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "production/production_dept.h"
#include "production/production_dialogs.h"
#include "production/production_wnd.h"
#include "uikit/info_tip.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <map>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

// Marketing's product chooser and its combo box.
constexpr int MARKETING_GET_PRODUCT = 111;
constexpr int MARKETING_PRODUCT_COMBO = 1088;

std::string data_folder()
{
    const std::string bundled = std::string(VORN_BINARY_DIR) + "/data";
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "production-work" /
                         (std::string("reports-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"SAMPLE.VNB", "story.txt", "bgtables.tbl"})
        if (fs::exists(fs::path(bundled) / name))
            fs::copy_file(fs::path(bundled) / name, dir / name);
    return dir.string();
}

void click(HWND d, int id) { SendMessage(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(d, id))); }

std::string caption_of(HWND d)
{
    char text[128] = {};
    GetWindowText(d, text, sizeof text);
    return text;
}

} // namespace

TEST(ProductionReports, EachInformationCommandOpensItsWindow)
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
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    CVornView* s = view->session();
    ASSERT_NE(s, nullptr);
    auto* production = dynamic_cast<ProductionDepartment*>(s->production);
    ASSERT_NE(production, nullptr);
    view->ExecuteCommand(ID_PRODUCTION);
    // The program's one information popup came with the Production window, hidden.
    ASSERT_NE(program_info_tip(), nullptr);
    EXPECT_NE(program_info_tip()->m_hWnd, 0u);
    EXPECT_FALSE(IsWindowVisible(program_info_tip()->m_hWnd));
    CProductionWnd& plant = production->engine();
    // Work on the floor, so the work-order windows have one to show.
    plant.add_order(-1, 0, 5, ORDER_MANUAL, KIND_PRODUCT, 5);
    plant.plan_work_orders(1);
    ASSERT_FALSE(plant.Work_Orders.empty());

    std::map<int, std::string> opened;   // template -> caption
    auto record = [&](int id) {
        host.OnDialog(id, [&opened, id](HWND d) {
            opened[id] = caption_of(d);
            click(d, IDCANCEL);
        });
    };
    for (int id : {IDD_MACHINE_INFORMATION, IDD_MACHINES_UTILIZATION, IDD_MACHINE_MATERIALS, IDD_MACHINE_TOTAL_LOAD,
                   IDD_JOBS_INFORMATION, IDD_ROUTING_DIAGRAM, IDD_MASTER_PRODUCTION_SCHEDULE, IDD_PRODUCTION_TIMES,
                   IDD_WO_LEAD_TIME_STATISTICS, IDD_ALL_PRODUCTS_ROUTING, IDD_UNASSIGNED_COMMON_PARTS,
                   IDD_RAW_MATERIAL_RELEASE_LIST, IDD_ROUGH_CUT_CAPACITY, 163})
        record(id);
    host.OnDialog(IDD_WO_DIAGRAM, [&opened](HWND d) {
        opened[IDD_WO_DIAGRAM] = caption_of(d);
        click(d, IDOK);
    });
    host.OnDialog(IDD_GET_MACHINE_NAME, [](HWND d) {
        SetDlgItemText(d, 1112, "M1");
        click(d, IDOK);
    });
    host.OnDialog(MARKETING_GET_PRODUCT, [](HWND d) {
        SetDlgItemText(d, MARKETING_PRODUCT_COMBO, "A1");
        click(d, IDOK);
    });
    // U1 is taken from stock by A1: the unassigned parts are listed.
    const struct {
        int command, dialog;
        const char* caption;
    } cases[] = {
        {301, IDD_MACHINE_INFORMATION, "Machine Information - M1"},
        {302, IDD_MACHINES_UTILIZATION, "Machines Utilization"},
        {303, 163, nullptr},
        {304, IDD_MACHINE_MATERIALS, "Machine Materials"},
        {305, IDD_MACHINE_TOTAL_LOAD, "Machine Total Load (in hours)"},
        {306, IDD_JOBS_INFORMATION, "Jobs Information"},
        {308, IDD_WO_DIAGRAM, "WO Diagram"},
        {309, IDD_ROUTING_DIAGRAM, "Routing Diagram"},
        {310, IDD_MASTER_PRODUCTION_SCHEDULE, "Master Production Schedule"},
        {312, IDD_PRODUCTION_TIMES, "Production Times"},
        {313, IDD_ROUGH_CUT_CAPACITY, "Rough Cut Capacity"},
        {315, IDD_WO_LEAD_TIME_STATISTICS, "WO Lead Time Statistics"},
        {316, IDD_ALL_PRODUCTS_ROUTING, "All Products Routing"},
        {318, IDD_UNASSIGNED_COMMON_PARTS, "Unassigned common part materials"},
    };
    for (const auto& c : cases) {
        opened.clear();
        production->on_menu_command(c.command);
        ASSERT_EQ(opened.count(c.dialog), 1u) << "command " << c.command;
        if (c.caption != nullptr) {
            EXPECT_EQ(opened[c.dialog], c.caption) << "command " << c.command;
        }
    }
    // All Products Routing leaves the routing settings as they were.
    EXPECT_EQ(plant.all_products_routing, 0);

    // The release list opens only while transport jobs wait.
    opened.clear();
    if (plant.transport->Trans_Jobs.empty()) {
        host.Answer(IDOK, "Raw Material Release List", "No trans orders");
        production->on_menu_command(311);
        EXPECT_TRUE(opened.empty());
    } else {
        production->on_menu_command(311);
        EXPECT_EQ(opened.count(IDD_RAW_MATERIAL_RELEASE_LIST), 1u);
    }

    // The load profile asks for MRP first.
    plant.release_policy = 0;
    host.Answer(IDOK, "MRP Load Profile", "You must set the Raw Material Release to MRP");
    const size_t boxes = host.boxes().size();
    production->on_menu_command(314);
    ASSERT_GT(host.boxes().size(), boxes);
    EXPECT_EQ(host.boxes().back().caption, "MRP Load Profile");

    host.Answer(IDYES, "", "Are you sure you want to exit?");
    s->run_state = RUN_STOPPED;
    app->frame()->SendMessage(WM_CLOSE, 0, 0);
    app.reset();
    EXPECT_EQ(program_info_tip(), nullptr) << "the popup goes with the window";
    ResetWindowsForTest();
}
