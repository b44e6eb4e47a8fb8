// The sample's export line through the windowed program: Add Export Line
// shows the line and opens it, the run prepares, activates and ships it, and
// the saved Marketing file carries the line's figures as the engine holds
// them and opens again to the same bytes.
#include "appdialogs/app_dialogs.h"
#include "appgui/vorn_gui.h"
#include "finance/finance_dept.h"
#include "finance/finance_wnd.h"
#include "foundation/simdate.h"
#include "marketing/action_dialogs.h"
#include "marketing/export_dialog.h"
#include "marketing/marketing_dialogs.h"
#include "marketing/marketing_dept.h"
#include "marketing/marketing_wnd.h"
#include "production/production_dept.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "sample_open.h"
#include "uikit/tab_bar.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace plat;
namespace fs = std::filesystem;

namespace {

std::string text_of(HWND dlg, int id)
{
    char text[256] = {};
    GetDlgItemText(dlg, id, text, sizeof text);
    return text;
}

std::vector<unsigned char> bytes_of(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The fields as the Marketing file lays them down, little-endian.
struct Bytes {
    std::vector<unsigned char> b;
    void put(uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            b.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
    void u16(unsigned v) { put(v, 2); }
    void u32(uint32_t v) { put(v, 4); }
    void f32(float v)
    {
        uint32_t u = 0;
        std::memcpy(&u, &v, 4);
        put(u, 4);
    }
    void date(const SimDateTime& d)
    {
        for (int v : {d.year, d.month, d.day, d.hour, d.minute})
            u16(static_cast<uint16_t>(v));
    }
};

// The line's block of the product's record, field by field from the engine's
// figures in the order the file keeps them.
std::vector<unsigned char> expected_line_block(const ExportLine& e)
{
    Bytes o;
    o.u16(e.added);
    o.u16(static_cast<uint16_t>(e.lots.size()));
    for (const InventoryLot& l : e.lots) {
        o.u16(static_cast<uint16_t>(l.units));
        o.date(l.date);
    }
    o.u16(e.item14);
    for (unsigned v : {e.max_level, e.order_level, e.red_level, e.red_status})
        o.u16(v);
    o.u32(static_cast<uint32_t>(e.initial_expenses));
    o.u32(e.monthly_expenses);
    for (unsigned v : {e.to_transfer, e.in_transit, e.shortfall, e.shipped, e.shipped_month, e.shipped_last_month,
                       e.on_time, e.on_time_month, e.on_time_last_month, e.service_pct})
        o.u16(v);
    o.f32(e.lateness);
    o.f32(e.lateness_ratio);
    o.u32(e.late_value_month);
    o.u32(e.late_value_last_month);
    o.u16(e.open_units);
    o.f32(e.annual_orders);
    o.f32(e.order_size);
    o.f32(e.order_fraction);
    for (unsigned v : {e.base_qlt, e.qlt, e.transit_days, e.base_price, e.price})
        o.u16(v);
    for (uint32_t v : {e.revenue, e.revenue_month, e.revenue_last_month})
        o.u32(v);
    o.f32(e.red_fraction);
    o.f32(e.red_fraction_last_month);
    for (unsigned v : {e.red_days, e.transfer_fixed_cost, e.transfer_unit_cost, e.year_counter, e.item15})
        o.u16(v);
    for (float v : e.monthly_pct)
        o.f32(v);
    for (float v : e.lateness_series)
        o.f32(v);
    for (float v : e.red_series)
        o.f32(v);
    o.u16(e.state);
    o.u16(e.item16);
    o.date(e.start);
    o.u16(e.preparation_days);
    o.date(e.preparation);
    o.u16(e.item18);
    o.u16(e.item18_copy);
    o.u32(e.revenue_year);
    o.u32(e.revenue_last_year);
    o.u16(e.shipped_year);
    o.u16(e.shipped_last_year);
    return o.b;
}

// The department's pools: the flag, the spare, the open export orders and
// the transport orders.
std::vector<unsigned char> expected_pools(const CMarketingWnd& m)
{
    Bytes o;
    o.u16(1);
    o.u16(m.exp_pool_spare);
    o.u16(static_cast<uint16_t>(m.exp_open_orders.size()));
    for (const OpenOrder& r : m.exp_open_orders) {
        o.date(r.order_date);
        o.date(r.earliest);
        o.date(r.due);
        for (int v : {r.family, r.product, r.units, r.price, r.quoted_lead_time, r.days_late})
            o.u16(static_cast<uint16_t>(v));
    }
    o.u16(static_cast<uint16_t>(m.exp_transport_orders.size()));
    for (const TransportOrder& t : m.exp_transport_orders) {
        o.date(t.order_date);
        o.date(t.arrival);
        o.date(t.spare_date);
        for (int v : {t.family, t.product, t.units, t.price, t.flag, t.spare})
            o.u16(static_cast<uint16_t>(v));
    }
    return o.b;
}

bool contains(const std::vector<unsigned char>& file, const std::vector<unsigned char>& part)
{
    return std::search(file.begin(), file.end(), part.begin(), part.end()) != file.end();
}

struct Sample : MarketingSample {
    Sample() : MarketingSample("export-")
    {
        // The run's own event boxes.
        host.Answer(IDOK, "Contract Canceled");
        host.Answer(IDOK, "Error");
    }
    CFinanceWnd& finance() { return dynamic_cast<FinanceDepartment&>(*session->finance).engine(); }
    // The line requested with no delay, run until the month step opens it.
    ExportLine& active_line()
    {
        m().product(0, 0).exp->item14 = 0;
        add_line();
        while (m().product(0, 0).exp->state != EXPORT_ACTIVE && session->clock.current.month < 3)
            run_days(1);
        return *m().product(0, 0).exp;
    }
    // Add Export Line on the sample's one line, pressing Add.
    void add_line()
    {
        host.Answer(IDOK, "Add ExportLine");
        host.OnDialog(IDD_MRK_ADD_EXPORT_LINE, [](HWND d) {
            click(d, IDC_MRK_EXPORT_ADD);
            click(d, IDOK);
        });
        marketing->on_menu_command(404);
    }
};

} // namespace

// The dialog shows the line's figures from the scenario; Add requests it from
// the start shown, pays its initial expenses once, confirms, and leaves Add
// disabled; the product's box gains the tabs whose second side shows the line.
TEST(MarketingExport, AddExportLineOpensTheLine)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ASSERT_TRUE(m.product(0, 0).exp.has_value()) << "the sample's A1 has an export line";
    const int32_t cash = s.finance().cash;
    const int32_t expenses = s.finance().marketing_expenses.acc;
    const SimDateTime today = s.session->clock.current;
    SimDateTime start = today;
    start.month = static_cast<int16_t>(today.month + 1);

    std::vector<std::string> list;
    std::string start_text, sales, qlt, transport, initial, shipment, unit, monthly;
    bool add_before = false, add_after = true;
    s.host.Answer(IDOK, "Add ExportLine");
    s.host.OnDialog(IDD_MRK_ADD_EXPORT_LINE, [&](HWND d) {
        const HWND lines = GetDlgItem(d, IDC_MRK_EXPORT_LINES);
        for (int i = 0; i < static_cast<int>(SendMessage(lines, LB_GETCOUNT, 0, 0)); ++i) {
            char row[64] = {};
            SendMessage(lines, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
            list.push_back(row);
        }
        start_text = text_of(d, IDC_MRK_EXPORT_START);
        sales = text_of(d, IDC_MRK_EXPORT_SALES);
        qlt = text_of(d, IDC_MRK_EXPORT_QLT);
        transport = text_of(d, IDC_MRK_EXPORT_TRANSPORT);
        initial = text_of(d, IDC_MRK_EXPORT_INITIAL);
        shipment = text_of(d, IDC_MRK_EXPORT_PER_SHIPMENT);
        unit = text_of(d, IDC_MRK_EXPORT_PER_UNIT);
        monthly = text_of(d, IDC_MRK_EXPORT_MONTHLY);
        add_before = IsWindowEnabled(GetDlgItem(d, IDC_MRK_EXPORT_ADD));
        SaveWindowPng(d, png("add_export_line.png").c_str());
        click(d, IDC_MRK_EXPORT_ADD);
        add_after = IsWindowEnabled(GetDlgItem(d, IDC_MRK_EXPORT_ADD));
        // A second Add on the requested line does nothing.
        click(d, IDC_MRK_EXPORT_ADD);
        click(d, IDOK);
    });
    s.marketing->on_menu_command(404);

    EXPECT_EQ(list, std::vector<std::string>{"A1-Nordic"});
    EXPECT_EQ(start_text, date_text(start, s.session->clock.date_order));
    EXPECT_EQ(sales, "$98800 (1040 Un.)");  // 520 orders of 2 units at $95
    EXPECT_EQ(qlt, "5 Days");
    EXPECT_EQ(transport, "3 Hours");
    EXPECT_EQ(initial, "$5000");
    EXPECT_EQ(shipment, "$40");
    EXPECT_EQ(unit, "$2");
    EXPECT_EQ(monthly, "$300");
    EXPECT_TRUE(add_before);
    EXPECT_FALSE(add_after);
    ASSERT_EQ(s.host.boxes().size(), 1u);
    EXPECT_EQ(s.host.boxes()[0].text, "Export Line: 'A1-Nordic' added successfully");
    EXPECT_EQ(s.host.boxes()[0].caption, "Add ExportLine");

    const ExportLine& e = *m.product(0, 0).exp;
    EXPECT_EQ(e.state, EXPORT_REQUESTED);
    // (compare_dates: 0 earlier, 1 the same day, 2 later)
    EXPECT_EQ(compare_dates(e.start, start), 1);
    EXPECT_EQ(m.product(0, 0).export_flag, 1);
    EXPECT_EQ(s.finance().cash, cash - 5000);
    EXPECT_EQ(s.finance().marketing_expenses.acc, expenses + 5000);
    // Preparation leaves the ten working days the line needs before its start.
    EXPECT_EQ(compare_dates(e.preparation, e.start), 0);
    EXPECT_GE(compare_dates(s.session->clock.AddWorkDays(e.preparation, e.preparation_days), e.start), 1);
    EXPECT_EQ(compare_dates(s.session->clock.AddWorkDays(e.preparation, e.preparation_days - 1), e.start), 0);

    // The box's tabs: "Home" and the line; the second shows the line's side.
    CTabBar* bar = s.marketing->box_tabs(0, 0);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetTabCount(), 2);
    EXPECT_STREQ(bar->GetLabel(0), "Home");
    EXPECT_STREQ(bar->GetLabel(1), "Nordic");
    RECT second{};
    ASSERT_TRUE(bar->GetTabRect(1, &second));
    SimulateMouseDown(bar->m_hWnd, Button::Left, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    SimulateMouseUp(bar->m_hWnd, Button::Left, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(m.product(0, 0).box_side, 1);
    UpdateWindow(s.marketing->window_handle());
    EXPECT_TRUE(SaveWindowPng(s.app->frame()->m_hWnd, png("marketing_export_side.png").c_str()));
}

// From the request the run prepares the line on its day (a first transfer
// from home stock), activates it at the month step on or after its start
// and ships its orders from the export stock; the saved file holds the
// line's block and the pools as the engine's figures are, and opens again
// to the same bytes.
TEST(MarketingExport, TheLineRunsAndTheFileHoldsIt)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ASSERT_TRUE(m.product(0, 0).exp.has_value());
    // No delay: the line starts today, so it is prepared at once and opens at
    // the next month step.
    m.product(0, 0).exp->item14 = 0;
    s.add_line();
    ExportLine& e = *m.product(0, 0).exp;
    ASSERT_EQ(e.state, EXPORT_REQUESTED);

    const int32_t expenses = s.finance().marketing_expenses.acc;
    s.run_days(1);
    EXPECT_EQ(e.state, EXPORT_PREPARED);
    EXPECT_EQ(e.added, 1);
    ASSERT_EQ(m.exp_transport_orders.size(), 1u);
    // Up to the max level, as far as the home stock gave; the transport
    // costs its fixed $40 and $2 a unit.
    const int first = m.exp_transport_orders[0].units;
    EXPECT_GT(first, 0);
    EXPECT_LE(first, e.max_level);
    EXPECT_EQ(s.finance().marketing_expenses.acc, expenses + 40 + 2 * first);
    EXPECT_EQ(e.in_transit, first);
    EXPECT_TRUE(m.exp_open_orders.empty()) << "no orders before the line is active";

    // Prepared lines wait for the month step; the transfer arrives meanwhile.
    s.run_days(4);
    EXPECT_EQ(e.in_transit, 0);
    EXPECT_EQ(m.export_inventory_units(0, 0), 0) << "not active yet";
    int lots = 0;
    for (const InventoryLot& l : e.lots)
        lots += l.units;
    EXPECT_EQ(lots, first);
    while (s.session->clock.current.month == 1)
        s.run_days(1);
    EXPECT_EQ(e.state, EXPORT_ACTIVE);
    s.run_days(12);
    EXPECT_GT(e.shipped, 0) << "orders shipped from the export stock";
    EXPECT_LE(e.open_units, 2 * 12 * 2);
    EXPECT_EQ(e.revenue, static_cast<uint32_t>(e.shipped) * e.price);

    const fs::path dir = fs::path(getenv("VORN_DATA_DIR"));
    const std::string first_save = (dir / "EXPORTED").string();
    ASSERT_TRUE(s.session->SaveSession(first_save, false));
    const std::vector<unsigned char> file = bytes_of(first_save + ".MRK");
    EXPECT_TRUE(contains(file, expected_line_block(e))) << "the line's block as the engine holds it";
    EXPECT_TRUE(contains(file, expected_pools(m))) << "the pools after the day dates";

    // Opened again, the line is the same and saves to the same bytes.
    const ExportLine before = e;
    ASSERT_TRUE(s.session->LoadSessionFiles(first_save));
    const ExportLine& again = *s.m().product(0, 0).exp;
    EXPECT_EQ(again.state, before.state);
    EXPECT_EQ(again.shipped, before.shipped);
    EXPECT_EQ(again.revenue_series, before.revenue_series);
    ASSERT_NE(s.marketing->box_tabs(0, 0), nullptr) << "the box's tabs come back with the line";
    const std::string second_save = (dir / "EXPORTED2").string();
    ASSERT_TRUE(s.session->SaveSession(second_save, false));
    std::vector<unsigned char> a = file, b = bytes_of(second_save + ".MRK");
    ASSERT_GT(a.size(), 4u);
    a.resize(a.size() - 4);
    b.resize(std::max<size_t>(b.size(), 4) - 4);
    EXPECT_EQ(a, b);
}

// An active line is listed in Product Information after the products and
// shows its own figures; Edit Product Parameters gives it a second grid
// whose values, bounded as the products' are, go into the line unlogged.
TEST(MarketingExport, TheLineInProductInformationAndParameters)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ASSERT_TRUE(m.product(0, 0).exp.has_value());
    const ExportLine& e = s.active_line();
    s.run_days(5);
    ASSERT_EQ(e.state, EXPORT_ACTIVE);

    std::vector<std::string> entries;
    std::string caption, price, qlt, month;
    int materials = -1;
    s.host.OnDialog(IDD_MRK_PRODUCT_INFO, [&](HWND d) {
        const HWND list = GetDlgItem(d, IDC_MRK_INFO_LIST);
        const int n = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char row[64] = {};
            SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
            entries.push_back(row);
        }
        SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(n - 1), 0);
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDC_MRK_INFO_LIST, LBN_SELCHANGE), static_cast<LPARAM>(list));
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        price = text_of(d, IDC_MRK_INFO_PRICE);
        qlt = text_of(d, IDC_MRK_INFO_QLT);
        month = text_of(d, IDC_MRK_INFO_MONTH);
        materials = static_cast<int>(SendDlgItemMessage(d, IDC_MRK_INFO_MATERIALS, LB_GETCOUNT, 0, 0));
        UpdateWindow(d);
        UpdateWindow(GetDlgItem(d, IDC_MRK_INFO_MATERIALS));
        SaveWindowPng(d, png("product_information_export.png").c_str());
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(301);
    EXPECT_EQ(entries, (std::vector<std::string>{"A1", "A2", "A1-Nordic"}));
    EXPECT_EQ(caption, "A1 - Nordic");
    EXPECT_EQ(price, "$95");
    EXPECT_EQ(qlt, "5");
    EXPECT_EQ(month, std::to_string(e.shipped_month) + " (un)");
    EXPECT_EQ(materials, static_cast<int>(s.marketing->product_materials(0, 0).size())) << "the product's materials";

    std::vector<std::string> logged;
    s.session->decision_hook = [&](const char*, const char* key, const std::string&, const std::string&,
                                   const std::string&, int, int) { logged.push_back(key); };
    s.host.Answer(IDOK, "Edit Product Parameters");
    int line_rows = 0;
    bool stayed = false;
    s.host.OnDialog(IDD_MRK_PRODUCT_PARAMETERS, [&](HWND d) {
        auto* dlg = dynamic_cast<CProductParametersDlg*>(CWnd::FromHandlePermanent(d));
        ASSERT_NE(dlg, nullptr);
        ASSERT_TRUE(dlg->has_export_grid());
        line_rows = dlg->export_grid().GetRowCount();
        EXPECT_EQ(dlg->export_grid().GetCellText(0, 1), "95");
        dlg->export_grid().SetCellText(0, 4, "32001");
        click(d, IDOK);
        stayed = IsWindow(d) && IsWindowVisible(d);
        dlg->export_grid().SetCellText(0, 1, "99");
        dlg->export_grid().SetCellText(0, 4, "12");
        UpdateWindow(d);
        SaveWindowPng(d, png("product_parameters_export.png").c_str());
        click(d, IDOK);
    });
    s.marketing->on_menu_command(501);
    EXPECT_EQ(line_rows, 1);
    EXPECT_TRUE(stayed) << "32001 refused";
    EXPECT_EQ(e.price, 99);
    EXPECT_EQ(e.red_level, 12);
    EXPECT_TRUE(logged.empty()) << "the line's values are not logged";
}

// The export stock ages as the home stock does: a lot as old as the shelf
// life is written off, one a day, counted and logged, and shown with the
// day's past-due units.
TEST(MarketingExport, ExpiredExportStockIsWrittenOff)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ExportLine& e = s.active_line();
    ASSERT_EQ(e.state, EXPORT_ACTIVE);
    std::vector<std::string> logged;
    s.session->decision_hook = [&](const char*, const char* key, const std::string& item, const std::string&,
                                   const std::string& units, int, int) {
        if (std::string(key) == "InventoryLost")
            logged.push_back(item + ":" + units);
    };
    // Two old lots: one goes today, the other at the next day's step. No
    // order waits, so nothing ships from them first.
    const SimDateTime today = s.session->clock.current;
    const int16_t shelf = static_cast<int16_t>(m.product(0, 0).shelf_life);
    ASSERT_GT(shelf, 0);
    m.exp_open_orders.clear();
    e.open_units = 0;
    SimDateTime old = today, older = today;
    old.year = static_cast<int16_t>(today.year - 1);
    older.year = static_cast<int16_t>(today.year - 2);
    e.lots = {InventoryLot{40, older}, InventoryLot{30, old}};
    const uint16_t counted = e.year_counter;
    s.run_days(1);
    ASSERT_GE(e.lots.size(), 1u);
    EXPECT_EQ(e.lots[0].units, 30) << "the oldest lot went first, alone";
    EXPECT_EQ(m.expired_export_today[0][0], 40);
    EXPECT_EQ(e.year_counter, counted + 40);
    // The day's order may ship from the second lot before it goes.
    s.run_days(1);
    const int16_t second = m.expired_export_today[0][0];
    EXPECT_GT(second, 0);
    EXPECT_LE(second, 30);
    EXPECT_EQ(e.year_counter, counted + 40 + second);
    for (const InventoryLot& l : e.lots)
        EXPECT_LT(days_between(s.session->clock.current, l.date), shelf) << "no lot past its shelf life is left";
    EXPECT_NE(std::find(logged.begin(), logged.end(), "A1:40"), logged.end());
    EXPECT_NE(std::find(logged.begin(), logged.end(), "A1:" + std::to_string(second)), logged.end());
}

// The sales summary graph gives the export customers their own line on
// every page once a line was requested, and not before.
TEST(MarketingExport, SalesSummaryGraphShowsTheExportCustomers)
{
    Sample s;
    std::vector<int> counts;
    s.host.OnDialog(IDD_SALES_SUMMARY_GRAPH, [&](HWND d) {
        auto* dlg = dynamic_cast<CSalesSummaryGraphDlg*>(CWnd::FromHandlePermanent(d));
        ASSERT_NE(dlg, nullptr);
        for (int set = 0; set < dlg->set_count(); ++set)
            counts.push_back(dlg->set_series_count(set));
        click(d, IDOK);
    });
    s.marketing->on_menu_command(306);
    EXPECT_EQ(counts, (std::vector<int>{3, 3, 3}));
    s.add_line();
    counts.clear();
    s.marketing->on_menu_command(306);
    EXPECT_EQ(counts, (std::vector<int>{4, 4, 4})) << "Customers, Customers(Exp), Clients, Total";
}

// Full pools refuse the one new item with the box and the run goes on: the
// 100th open export order is not taken (its draws spent), and a transfer
// past the 100 transport orders keeps its units at home.
TEST(MarketingExport, FullPoolsRefuseTheNewOneAndRunOn)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ExportLine& e = s.active_line();
    ASSERT_EQ(e.state, EXPORT_ACTIVE);
    s.host.clear_records();
    // 99 orders that cannot ship yet (no export stock) fill the pool.
    e.lots.clear();
    OpenOrder waiting;
    waiting.order_date = waiting.earliest = waiting.due = s.session->clock.AddWorkDays(s.session->clock.current, 30);
    waiting.family = 0;
    waiting.product = 0;
    waiting.units = 1;
    waiting.price = 95;
    m.exp_open_orders.assign(MAX_EXPORT_ORDERS - 1, waiting);
    // 100 transport orders on their way fill the other.
    TransportOrder on_way;
    on_way.order_date = s.session->clock.current;
    on_way.arrival = s.session->clock.AddWorkDays(s.session->clock.current, 30);
    on_way.units = 1;
    m.exp_transport_orders.assign(MAX_TRANSPORT_ORDERS, on_way);
    e.in_transit = 0;
    e.open_units = 0;
    // Home has stock for a transfer.
    m.update_product_stock(0, 0, 3000, 0, -1);
    s.run_days(2);
    EXPECT_EQ(m.exp_open_orders.size(), static_cast<size_t>(MAX_EXPORT_ORDERS - 1));
    EXPECT_EQ(m.exp_transport_orders.size(), static_cast<size_t>(MAX_TRANSPORT_ORDERS));
    bool orders_box = false, transport_box = false;
    for (const BoxRecord& b : s.host.boxes()) {
        orders_box = orders_box || b.text == "Index Overflow EXP_MAX_OPEN_ORDERS";
        transport_box = transport_box || b.text == "Index Overflow EXP_MAX_TRANSPORT_ORDERS";
    }
    EXPECT_TRUE(orders_box);
    EXPECT_TRUE(transport_box) << "to transfer " << e.to_transfer << ", home stock " << m.product(0, 0).stock;
    EXPECT_EQ(e.in_transit, 0) << "the refused units stayed home";
    EXPECT_EQ(s.session->run_state == RUN_OVER, false) << "the run goes on";
}

// In make-to-order the export line's waiting transfer counts against the
// product's position: the day's order is larger by exactly that need than
// in the same run whose line needs nothing.
TEST(MarketingExport, MakeToOrderCountsTheLinesNeed)
{
    auto day_order = [](bool line_needs, int& need) {
        Sample s;
        CMarketingWnd& m = s.m();
        ExportLine& e = s.active_line();
        m.change_link_mode(LINK_MAKE_TO_ORDER, [] {});
        // A safety stock no position reaches: every day orders up to it; and
        // no transfer goes, so the line's need stands all day.
        m.product(0, 0).safety_stock = 5000;
        m.exp_transfer_minimum = 32767;
        // The line's stock sold out: it waits for its max level.
        e.lots.clear();
        e.in_transit = 0;
        m.exp_transport_orders.clear();
        if (!line_needs) {
            e.max_level = e.order_level = e.red_level = 0;
            m.exp_open_orders.clear();
            e.open_units = 0;
        }
        auto& production = dynamic_cast<ProductionDepartment&>(*s.session->production);
        const int before = production.get_on_order_units(0, 0);
        // With nothing in stock or on the way the line's position is its open
        // orders' units short: it needs its max level and those.
        need = e.max_level + e.open_units;
        const SimDateTime day = s.session->clock.current;
        // Up to the day's ordering: the next 08:00 step.
        while (s.session->clock.current.day == day.day)
            s.session->SimulationTick(RESTART_NONE);
        return production.get_on_order_units(0, 0) - before;
    };
    int need = 0, none = 0;
    const int with_line = day_order(true, need);
    const int without = day_order(false, none);
    ASSERT_EQ(none, 0);
    ASSERT_GT(need, 0);
    EXPECT_EQ(with_line - without, need);
}
