// The Marketing reports: their tables computed from the records, and the
// report dialog that shows them, rows past a grid's sixteen in a second grid.
#include "appgui/vorn_gui.h"
#include "marketing/market_reports.h"
#include "marketing/marketing_dept.h"
#include "marketing/marketing_dialogs.h"
#include "marketing/marketing_wnd.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "vorn/assembly.h"
#include "sample_open.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

// The sample open in the windowed program.
struct Sample : MarketingSample {
    Sample() : MarketingSample("reports-") {}
};

const ReportTable::Row* row_of(const ReportTable& t, const std::string& title)
{
    for (const auto& r : t.rows)
        if (r.title == title)
            return &r;
    return nullptr;
}

} // namespace

TEST(MarketingReports, MonthsCountBackOverTheYear)
{
    EXPECT_EQ(month_back(2, 1), 1);
    EXPECT_EQ(month_back(2, 2), 12);
    EXPECT_EQ(month_back(1, 6), 7);
    EXPECT_EQ(month_back(11, -2), 1);
    EXPECT_EQ(month_back(12, 0), 12);
}

// Each report's cells from the product records, one table of cases.
TEST(MarketingReports, CellsFollowTheRecords)
{
    Sample s;
    CMarketingWnd& m = s.m();
    MarketProduct& a1 = m.product(0, 0);
    for (size_t i = 0; i < 12; ++i) {
        a1.units_series[i] = static_cast<float>(i + 1);  // sums to 78
        a1.revenue_series[i] = static_cast<float>(100 * (i + 1));
        a1.throughput_series[i] = static_cast<float>(40 * (i + 1));
        a1.ordered_series[i] = static_cast<float>(2 * i);
    }
    a1.red_share_series = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.25f};
    a1.revenue_year = 12345;
    a1.revenue_month = 678;
    a1.expired_year = 4;
    a1.expired_last_year = 9;
    a1.stock = 30;
    a1.sold_per_day_last_month = 4;
    a1.max_level = 120;
    a1.order_level = 60;
    a1.red_level = 20;
    m.product(0, 1).sold_per_day_last_month = 0;
    m.product(0, 1).units_series.fill(0);
    m.lost_units_month[0][0] = 5;
    m.lost_units_series[0][0][11] = 7;
    m.lost_units_series[0][0][1] = 2;
    m.lost_units_month[0][1] = 1;

    struct Case {
        int report;
        const char* row;
        std::vector<std::string> cells;
    };
    const Case cases[] = {
        {REPORT_MONTHLY_SALES, "A1", {"12(un)", "1200", "480", "11(un)", "1100", "440"}},
        {REPORT_MONTHLY_ORDERED, "A1", {"22(un)", "20(un)"}},
        {REPORT_UNITS_SALES_SUMMARY, "A1", {"6.50"}},
        {REPORT_RED_LINE_STATISTICS, "A1", {"0.10", "0.20", "0.30", "0.40", "0.50", "0.25"}},
        {REPORT_UPDATED_SALES, "A1", {"12345", "678"}},
        {REPORT_INVENTORY_LOSSES, "A1", {"4(un)", "9(un)"}},
        {REPORT_INVENTORY_DAYS, "A1", {"4", "30", "7", "6"}},
        // Nothing sold last month: no days of sales.
        {REPORT_INVENTORY_DAYS, "A2", {"0", std::to_string(m.product(0, 1).stock), "0", "0"}},
        {REPORT_INVENTORY_POLICIES, "A1", {"30", "15", "5"}},
        {REPORT_INVENTORY_POLICIES, "A2", {"0", "0", "0"}},
        {REPORT_LOST_ORDERS, "A1", {"5", "7", "0", "0", "0", "0", "0", "0", "0", "0", "0", "2"}},
        {REPORT_LOST_ORDERS, "Total", {"6", "7", "0", "0", "0", "0", "0", "0", "0", "0", "0", "2"}},
    };
    for (const Case& c : cases) {
        const ReportTable t = build_report(m, c.report, 2);
        const ReportTable::Row* r = row_of(t, c.row);
        ASSERT_NE(r, nullptr) << c.report << " " << c.row;
        EXPECT_EQ(r->cells, c.cells) << c.report << " " << c.row;
        EXPECT_EQ(r->cells.size(), t.columns.size()) << c.report;
    }
    // Columns named by months: February's red-line months are August to January.
    const ReportTable red = build_report(m, REPORT_RED_LINE_STATISTICS, 2);
    EXPECT_EQ(red.columns.front(), "Aug");
    EXPECT_EQ(red.columns.back(), "Jan");
    const ReportTable sales = build_report(m, REPORT_MONTHLY_SALES, 1);
    ASSERT_EQ(sales.labels.size(), 2u);
    EXPECT_EQ(sales.labels[0], "Dec");
    EXPECT_EQ(sales.labels[1], "Nov");
    // Make to order: the safety stock alone.
    m.change_link_mode(LINK_MAKE_TO_ORDER, nullptr);
    a1.safety_stock = 10;
    const ReportTable mto = build_report(m, REPORT_INVENTORY_POLICIES, 2);
    ASSERT_EQ(mto.columns.size(), 1u);
    EXPECT_EQ(row_of(mto, "A1")->cells, std::vector<std::string>{"2"});
    EXPECT_TRUE(build_report(m, 999, 2).rows.empty());
}

// A product still waiting for its introduction has no row.
TEST(MarketingReports, WaitingProductsHaveNoRow)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ASSERT_GE(m.product_count(0), 2);
    const uint16_t count = m.new_product_count;
    m.new_products[count].family = 0;
    m.new_products[count].index = 1;
    m.new_products[count].due = 0;
    m.new_product_count = static_cast<uint16_t>(count + 1);
    for (int report : {REPORT_MONTHLY_SALES, REPORT_UPDATED_SALES, REPORT_LOST_ORDERS}) {
        const ReportTable t = build_report(m, report, 3);
        EXPECT_NE(row_of(t, "A1"), nullptr) << report;
        EXPECT_EQ(row_of(t, "A2"), nullptr) << report;
    }
    m.new_products[count].due = 1;
    EXPECT_NE(row_of(build_report(m, REPORT_MONTHLY_SALES, 3), "A2"), nullptr);
    m.new_product_count = count;
}

// The advertising plan: a running campaign's (level + 1) x cost for the
// months it has left, then zeros; a stopped one "0"; the totals below.
TEST(MarketingReports, AdvertisingPlanAndExpenses)
{
    Sample s;
    CMarketingWnd& m = s.m();
    m.campaigns.clear();
    AdvertisingCampaign running;
    running.name = "General";
    running.active = 1;
    running.months_left = 2;
    running.level_index = 1;
    running.monthly_cost = 150;
    running.accumulated = 900;
    AdvertisingCampaign stopped;
    stopped.name = "A1";
    stopped.monthly_cost = 80;
    m.campaigns = {running, stopped};
    const ReportTable plan = build_report(m, REPORT_ADVERTISING_PLAN, 11);
    ASSERT_EQ(plan.columns.size(), 6u);
    EXPECT_EQ(plan.columns[0], "Nov");
    EXPECT_EQ(plan.columns[2], "Jan");
    ASSERT_EQ(plan.rows.size(), 3u);
    EXPECT_EQ(plan.rows[0].cells, (std::vector<std::string>{"300", "300", "0", "0", "0", "0"}));
    EXPECT_EQ(plan.rows[1].cells, (std::vector<std::string>{"0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(plan.rows[2].title, "Total");
    EXPECT_EQ(plan.rows[2].cells[0], "300");
    const ReportTable spent = build_report(m, REPORT_ADVERTISING_EXPENSES, 11);
    ASSERT_EQ(spent.rows.size(), 2u);
    EXPECT_EQ(spent.rows[0].cells[0], "$900");
    EXPECT_EQ(spent.rows[1].cells[0], "$0");
}

// The dialog: seventeen rows fill one grid and put the seventeenth in a
// second grid below it, with the same columns.
TEST(MarketingReports, SeventeenthRowGoesIntoASecondGrid)
{
    Sample s;
    ReportTable t;
    t.caption = "Lost Orders Summary";
    t.columns = {"Jan", "Dec"};
    for (int i = 0; i < 17; ++i)
        t.rows.push_back({i < 16 ? "R" + std::to_string(i) : std::string("Total"),
                          {std::to_string(i), std::to_string(100 + i)}});
    register_marketing_dialog_templates();
    CMarketReportDlg dlg(nullptr, REPORT_LOST_ORDERS, t);
    std::string caption, last_cell, first_cell;
    int grids = 0, rows0 = 0, rows1 = 0, cols1 = 0;
    int close_top = 0, close_bottom = 0, client_bottom = 0;
    RECT first{}, second{};
    s.host.OnDialog(REPORT_LOST_ORDERS, [&](HWND d) {
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        grids = dlg.grid_count();
        if (grids == 2) {
            rows0 = dlg.grid(0).GetRowCount();
            rows1 = dlg.grid(1).GetRowCount();
            cols1 = dlg.grid(1).GetColumnCount();
            first_cell = dlg.grid(0).GetCellText(0, 1);
            last_cell = dlg.grid(1).GetCellText(0, 0);
            first = dlg.grid(0).GetCellRect(15, 0);
            second = dlg.grid(1).GetCellRect(0, 0);
        }
        // The buttons stand below the grids, inside the dialog.
        RECT client{}, button{};
        GetClientRect(d, &client);
        GetWindowRect(GetDlgItem(d, IDCANCEL), &button);
        POINT top{button.left, button.top}, bottom{button.right, button.bottom};
        ScreenToClient(d, &top);
        ScreenToClient(d, &bottom);
        close_top = top.y;
        close_bottom = bottom.y;
        client_bottom = client.bottom;
        UpdateWindow(d);
        SaveWindowPng(d, png("report_two_grids.png").c_str());
        click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_GE(close_top, second.bottom);
    EXPECT_LE(close_bottom, client_bottom);
    EXPECT_EQ(caption, "Lost Orders Summary");
    ASSERT_EQ(grids, 2);
    EXPECT_EQ(rows0, 16);
    EXPECT_EQ(rows1, 1);
    EXPECT_EQ(cols1, 2);
    EXPECT_EQ(first_cell, "100");
    EXPECT_EQ(last_cell, "16");
    EXPECT_GT(second.top, first.bottom);
}

// The menu commands open their reports; the days-of-sales report opens the
// policies report from its button.
TEST(MarketingReports, MenuCommandsOpenTheirReports)
{
    Sample s;
    struct Case {
        int command;
        int dialog;
    };
    const Case cases[] = {{304, REPORT_RED_LINE_STATISTICS}, {310, REPORT_MONTHLY_SALES},
                          {311, REPORT_MONTHLY_ORDERED},    {313, REPORT_INVENTORY_LOSSES},
                          {314, REPORT_UNITS_SALES_SUMMARY}, {317, REPORT_UPDATED_SALES},
                          {318, REPORT_ADVERTISING_EXPENSES}, {319, REPORT_ADVERTISING_PLAN},
                          {320, REPORT_LOST_ORDERS}};
    for (const Case& c : cases) {
        bool opened = false;
        s.host.OnDialog(c.dialog, [&](HWND d) {
            opened = true;
            if (c.command == 320) {
                UpdateWindow(d);
                SaveWindowPng(d, png("lost_orders_summary.png").c_str());
            }
            click(d, IDCANCEL);
        });
        s.marketing->on_menu_command(c.command);
        EXPECT_TRUE(opened) << c.command;
    }
    bool policies = false;
    s.host.OnDialog(REPORT_INVENTORY_POLICIES, [&](HWND d) {
        policies = true;
        click(d, IDCANCEL);
    });
    s.host.OnDialog(REPORT_INVENTORY_DAYS, [&](HWND d) {
        click(d, 1310);
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(312);
    EXPECT_TRUE(policies);
}
