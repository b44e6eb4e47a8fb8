// Marketing's commands that reach past its own tables, driven through the
// windowed program: the forecast table after the range, Production's master
// schedule, the materials of Product Information and the daily-sales graph
// as the days pass.
#include "appdialogs/app_dialogs.h"
#include "appgui/vorn_gui.h"
#include "foundation/simdate.h"
#include "marketing/forecast_dialog.h"
#include "marketing/marketing_dept.h"
#include "marketing/marketing_dialogs.h"
#include "marketing/marketing_wnd.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "production/production_dept.h"
#include "production/production_dialogs.h"
#include "purchasing/purchasing_dept.h"
#include "qxi32/qxi32.h"
#include "sample_open.h"
#include "uikit/chart_wnd.h"
#include "uikit/grid.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <vector>

using namespace plat;
namespace fs = std::filesystem;

namespace {

std::string cell(const CGrid& grid, int row, int column) { return grid.GetCellText(row, column); }

struct Sample : MarketingSample {
    Sample() : MarketingSample("commands-")
    {
        host.Answer(IDOK, "Contract Canceled");
        host.Answer(IDOK, "Error");
        host.clear_records();
    }
    ProductionDepartment& production() { return dynamic_cast<ProductionDepartment&>(*session->production); }
    PurchasingDepartment& purchasing() { return dynamic_cast<PurchasingDepartment&>(*session->purchasing); }
};

int as_int(const std::string& s) { return std::stoi(s); }

} // namespace

// After a range the Marketing Forecast opens: a row a product with its
// stock, the units Production has on order, the firm demand and the
// expected orders; a held contract's box takes its deliveries in the range
// out of the firm demand when un-ticked, and back when ticked.
TEST(MarketingCommands, ForecastTableFollowsTheHeldContracts)
{
    Sample s;
    CMarketingWnd& m = s.m();
    // The weekly contract of C1 (A1, 10 a Friday) held back, as a HOLD of
    // Select New Contracts leaves it.
    CustomerContract& weekly = m.customers[0].contracts[0];
    ASSERT_EQ(weekly.type, CONTRACT_PERIODIC);
    weekly.status = CONTRACT_NOT_ACCEPTED;
    m.held_contracts = {weekly.number};
    s.session->run_state = RUN_HOLD;
    const int range = 44;  // two months of the range dialog
    const SimDateTime today = s.session->clock.current;
    const SimDateTime last = s.session->clock.AddWorkDays(today, range - 1);
    int held_units = 0;
    for (const SimDateTime& d : weekly.supply)
        if (compare_dates(d, today) != 0 && compare_dates(d, last) != 2)
            held_units += weekly.items[0].quantity;
    ASSERT_GT(held_units, 0);

    s.host.OnDialog(IDD_FORECAST_RANGE, [](HWND d) {
        SetDlgItemText(d, 1090, "2");
        click(d, IDOK);
    });
    std::vector<std::vector<std::string>> ticked, unticked, again;
    std::string box_label;
    s.host.OnDialog(IDD_MRK_FORECAST, [&](HWND d) {
        auto* dlg = dynamic_cast<CMarketingForecastDlg*>(CWnd::FromHandlePermanent(d));
        ASSERT_NE(dlg, nullptr);
        auto read = [&] {
            std::vector<std::vector<std::string>> rows;
            for (int r = 0; r < dlg->grid().GetRowCount(); ++r) {
                std::vector<std::string> row;
                for (int c = 0; c < 5; ++c)
                    row.push_back(cell(dlg->grid(), r, c));
                rows.push_back(row);
            }
            return rows;
        };
        char label[16] = {};
        GetDlgItemText(d, IDC_MRK_HELD_FIRST, label, sizeof label);
        box_label = label;
        ticked = read();
        UpdateWindow(d);
        SaveWindowPng(d, png("marketing_forecast.png").c_str());
        SendMessage(GetDlgItem(d, IDC_MRK_HELD_FIRST), BM_SETCHECK, BST_UNCHECKED, 0);
        click(d, IDC_MRK_HELD_FIRST);
        unticked = read();
        SendMessage(GetDlgItem(d, IDC_MRK_HELD_FIRST), BM_SETCHECK, BST_CHECKED, 0);
        click(d, IDC_MRK_HELD_FIRST);
        again = read();
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(307);
    EXPECT_EQ(s.marketing->forecast_range(), range);
    ASSERT_EQ(m.held_contracts.size(), 1u) << "in HOLD the held contracts stay";
    EXPECT_EQ(box_label, std::to_string(weekly.number));
    ASSERT_EQ(ticked.size(), 2u);
    for (size_t r = 0; r < ticked.size(); ++r) {
        const int16_t f = 0, p = static_cast<int16_t>(r);
        EXPECT_EQ(as_int(ticked[r][0]), m.get_inventory(f, p));
        EXPECT_EQ(as_int(ticked[r][1]), s.production().get_on_order_units(f, p));
        EXPECT_EQ(as_int(ticked[r][3]), m.get_expected_orders(f, p, range));
        EXPECT_EQ(as_int(ticked[r][4]), as_int(ticked[r][2]) + as_int(ticked[r][3]));
    }
    // A1 carries the held deliveries; A2 does not move.
    EXPECT_EQ(as_int(ticked[0][2]) - as_int(unticked[0][2]), held_units);
    EXPECT_EQ(unticked[1], ticked[1]);
    EXPECT_EQ(again, ticked);
}

// The Information menu's master schedule is Production's own dialog; with
// the Marketing window shown it comes up over it.
TEST(MarketingCommands, MasterScheduleIsProductions)
{
    Sample s;
    // Production opens its dialogs once its own window exists.
    s.app->window()->ExecuteCommand(ID_PRODUCTION);
    s.app->window()->ExecuteCommand(ID_MARKETING);
    bool shown = false;
    s.host.OnDialog(IDD_MASTER_PRODUCTION_SCHEDULE, [&](HWND d) {
        shown = true;
        char caption[64] = {};
        GetWindowText(d, caption, sizeof caption);
        EXPECT_STREQ(caption, "Master Production Schedule");
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(303);
    EXPECT_TRUE(shown);
}

// Product Information lists the product's materials from Production's
// product structure, each with its code and units per product.
TEST(MarketingCommands, ProductInformationListsTheMaterials)
{
    Sample s;
    std::vector<std::string> expected;
    PurchasingDepartment& purchasing = s.purchasing();
    for (int mf = 0; mf < purchasing.family_count(); ++mf)
        for (int mat = 0; mat < purchasing.material_count(mf); ++mat) {
            const int units = s.production().get_num_materials_in_product(0, 0, mf, mat);
            if (units > 0)
                expected.push_back(std::string(" ") + purchasing.family_letter(mf) +
                                   purchasing.material_letter(mf, mat) + "\t" + std::to_string(units));
        }
    ASSERT_FALSE(expected.empty()) << "the sample's A1 is made of materials";
    std::vector<std::string> rows;
    s.host.OnDialog(IDD_MRK_PRODUCT_INFO, [&](HWND d) {
        const HWND list = GetDlgItem(d, IDC_MRK_INFO_MATERIALS);
        for (int i = 0; i < static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0)); ++i) {
            char row[64] = {};
            SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
            rows.push_back(row);
        }
        UpdateWindow(d);
        SaveWindowPng(d, png("product_information_materials.png").c_str());
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(301);
    EXPECT_EQ(rows, expected);
}

// While shown, the graph takes each day's point as the day's step adds it,
// in the window and in the library's set; at the month's end the averages
// cover the month and its end carries a line and the month's name.
TEST(MarketingCommands, TheGraphGrowsDayByDay)
{
    Sample s;
    s.marketing->flip_sales_graph();
    ASSERT_TRUE(s.marketing->graph_shown());
    CChartWnd* graph = s.marketing->sales_graph_window();
    ASSERT_NE(graph, nullptr);
    const uint32_t g = graph->GetGraph();
    ASSERT_NE(g, 0u);
    const SalesGraph& sales = s.m().sales_graph;
    auto points = [&](int set) {
        GraphSetInfo info{};
        QXIGetGraphSetInfoByID(g, set, &info);
        return static_cast<size_t>(info.point_count);
    };
    while (s.session->clock.current.month == 1) {
        s.run_days(1);
        ASSERT_EQ(graph->GetSeries(0)->values.size(), sales.daily.size());
        ASSERT_EQ(points(101), sales.daily.size());
    }
    // January's working days are covered by its average, drawn a point a day.
    int january = 0;
    for (SimDateTime d = s.session->clock.start_date; d.month == 1; d = s.session->clock.AddWorkDays(d, 1))
        ++january;
    ASSERT_EQ(sales.averages.size(), static_cast<size_t>(january));
    EXPECT_EQ(points(102), sales.averages.size());
    const std::string ref = "ref" + std::to_string(january), label = "label" + std::to_string(january);
    EXPECT_EQ(QXIAddRef(g, ref.c_str(), 2, 0, 3, january, 0, 0, 0, 0, 0), 0x130001) << "the month's end line is there";
    EXPECT_EQ(QXISetLabelText(g, label.c_str(), "January", 0), 1) << "and its name";
    UpdateWindow(s.marketing->window_handle());
    UpdateWindow(graph->m_hWnd);
    EXPECT_TRUE(SaveWindowPng(s.app->frame()->m_hWnd, png("marketing_graph_days.png").c_str()));
}
