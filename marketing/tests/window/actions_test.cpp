// The Marketing action and policy dialogs through the menus: order to
// produce, the contract and shipment lists, product parameters, advertising
// and promotion, each driven by messages and clicks.
#include "appgui/vorn_gui.h"
#include "foundation/simdate.h"
#include "marketing/action_dialogs.h"
#include "marketing/marketing_dept.h"
#include "marketing/marketing_wnd.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "vorn/assembly.h"
#include "sample_open.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

struct Sample : MarketingSample {
    std::vector<std::string> decisions;

    Sample() : MarketingSample("actions-")
    {
        session->decision_hook = [this](const char* dept, const char* key, const std::string& item,
                                        const std::string& old_value, const std::string& new_value, int, int) {
            decisions.push_back(std::string(dept) + "|" + key + "|" + item + "|" + old_value + "|" + new_value);
        };
        host.clear_records();
    }
};

} // namespace

// A valid order goes to Production with the product's quoted lead time and
// is logged; a wrong name or a quantity outside 1..32767 is refused and the
// dialog stays for the next order.
TEST(MarketingActions, OrderToProduce)
{
    Sample s;
    auto* production = dynamic_cast<ProductionDepartment*>(s.session->production);
    ASSERT_NE(production, nullptr);
    // A1 is the product the sample's plant makes.
    const int16_t before = production->get_on_order_units(0, 0);
    s.host.Answer(IDOK, "Order To Produce", "");
    std::vector<std::string> boxes;
    s.host.OnDialog(IDD_MRK_ORDER_TO_PRODUCE, [&](HWND d) {
        struct Try {
            const char* product;
            const char* quantity;
        };
        for (const Try& t : {Try{"A1", "0"}, Try{"A1", "40000"}, Try{"ZZ", "5"}, Try{"A1", "-3"}, Try{"A1", "7"}}) {
            SetDlgItemText(d, IDC_MRK_ORDER_PRODUCT, t.product);
            SetDlgItemText(d, IDC_MRK_ORDER_QUANTITY, t.quantity);
            click(d, IDC_MRK_ORDER_BUTTON);
            EXPECT_TRUE(IsWindow(d) && IsWindowVisible(d)) << "the dialog stays";
        }
        SaveWindowPng(d, png("order_to_produce.png").c_str());
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(402);
    ASSERT_EQ(s.host.boxes().size(), 4u);
    EXPECT_EQ(s.host.boxes()[0].text, "Invalid quantity: 0");
    EXPECT_EQ(s.host.boxes()[1].text, "Invalid quantity: 40000");
    EXPECT_EQ(s.host.boxes()[2].text, "Invalid product name: ZZ");
    EXPECT_EQ(s.host.boxes()[3].text, "Invalid quantity: -3");
    EXPECT_EQ(production->get_on_order_units(0, 0), before + 7);
    ASSERT_EQ(s.decisions.size(), 1u);
    EXPECT_EQ(s.decisions[0], "Mrk|MrkOrder|A1|-----|7");
}

// Edit Product Parameters: 32000 is taken, 32001 and -1 refused with the
// box and the dialog stays; a new price changes the demand once and is
// logged with the levels.
TEST(MarketingActions, ProductParametersBounds)
{
    Sample s;
    CMarketingWnd& m = s.m();
    const MarketProduct a1 = m.product(0, 0);
    s.host.Answer(IDOK, "Edit Product Parameters", "");
    int columns = 0, rows = 0;
    bool stayed = false;
    std::string price_cell;
    s.host.OnDialog(IDD_MRK_PRODUCT_PARAMETERS, [&](HWND d) {
        CWnd* w = CWnd::FromHandlePermanent(d);
        auto* dlg = dynamic_cast<CProductParametersDlg*>(w);
        ASSERT_NE(dlg, nullptr);
        columns = dlg->grid().GetColumnCount();
        rows = dlg->grid().GetRowCount();
        price_cell = dlg->grid().GetCellText(0, 1);
        for (const char* bad : {"32001", "-1", "x"}) {
            dlg->grid().SetCellText(0, 1, bad);
            click(d, IDOK);
        }
        stayed = IsWindow(d) && IsWindowVisible(d);
        dlg->grid().SetCellText(0, 1, "32000");
        dlg->grid().SetCellText(1, 2, "77");
        UpdateWindow(d);
        SaveWindowPng(d, png("product_parameters.png").c_str());
        click(d, IDOK);
    });
    s.marketing->on_menu_command(501);
    EXPECT_EQ(columns, 5);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(price_cell, std::to_string(a1.price));
    EXPECT_TRUE(stayed);
    ASSERT_EQ(s.host.boxes().size(), 3u);
    EXPECT_EQ(s.host.boxes()[0].text, "Maximum price is $32000!");
    EXPECT_EQ(m.product(0, 0).price, 32000);
    EXPECT_LT(m.product(0, 0).annual_orders, a1.annual_orders) << "a higher price lowers the demand";
    EXPECT_EQ(m.product(0, 1).max_level, 77);
    ASSERT_EQ(s.decisions.size(), 2u);
    EXPECT_EQ(s.decisions[0], "Mrk|Price|A1|" + std::to_string(a1.price) + "|32000");
    EXPECT_EQ(s.decisions[1].rfind("Mrk|MrkMaxLevel|A2|", 0), 0u);

    // The policy shortcut opens the same dialog; Cancel keeps everything.
    bool opened = false;
    s.host.OnDialog(IDD_MRK_PRODUCT_PARAMETERS, [&](HWND d) {
        opened = true;
        click(d, IDCANCEL);
    });
    s.marketing->edit_policy(POLICY_PRODUCT_PARAMETERS);
    EXPECT_TRUE(opened);
    EXPECT_EQ(s.decisions.size(), 2u);
}

// The contract list shows the active contracts by end date; with none, one
// row says so. The shipment list names the days and units due.
TEST(MarketingActions, ContractAndShipmentLists)
{
    Sample s;
    CMarketingWnd& m = s.m();
    for (auto& c : m.customers)
        for (auto& k : c.contracts)
            k.status = CONTRACT_NOT_ACCEPTED;
    auto rows = contract_list_rows(m, 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], "No active contracts");

    CustomerContract& weekly = m.customers[0].contracts[0];
    weekly.status = CONTRACT_ACTIVE;
    weekly.supply = {s.session->clock.AddWorkDays(s.session->clock.current, 2)};
    rows = contract_list_rows(m, 0);
    ASSERT_GE(rows.size(), 2u);
    // The contract's row: ID, then (the lines' Prod. column left empty) the name.
    EXPECT_EQ(rows[0].rfind("\t" + std::to_string(weekly.number) + "\t\tC1\t", 0), 0u) << rows[0];
    // Its line: the product under Prod., the quantity and price under theirs.
    EXPECT_EQ(rows[1], "\t\tA1\t\t\t\t\t\t" + std::to_string(weekly.items[0].quantity) + "\t" +
                           std::to_string(weekly.items[0].unit_price));

    m.open_orders.clear();
    const auto shipments = shipment_rows(m, s.marketing->market_host(), 0);
    const std::string due = date_text(weekly.supply[0], 0);
    bool found = false;
    for (const std::string& r : shipments)
        if (r == "\t" + due + "\tA1\t" + std::to_string(weekly.items[0].quantity))
            found = true;
    EXPECT_TRUE(found);

    int listed = -1;
    s.host.OnDialog(IDD_MRK_CONTRACT_LIST, [&](HWND d) {
        listed = dynamic_cast<CMarketListDlg*>(CWnd::FromHandlePermanent(d))->row_count();
        UpdateWindow(d);
        SaveWindowPng(d, png("contract_list.png").c_str());
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(302);
    EXPECT_EQ(listed, static_cast<int>(contract_list_rows(m, 0).size()));
    s.host.OnDialog(IDD_MRK_SHIPMENT_LIST, [&](HWND d) {
        listed = dynamic_cast<CMarketListDlg*>(CWnd::FromHandlePermanent(d))->row_count();
        UpdateWindow(d);
        SaveWindowPng(d, png("shipment_list.png").c_str());
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(316);
    EXPECT_EQ(listed, static_cast<int>(shipments.size()));
}

// Advertising: the levels are k x the monthly cost; a period of 13 is
// refused; the chosen campaign starts with its level and months.
TEST(MarketingActions, AdvertisingStartsTheCampaign)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ASSERT_FALSE(m.campaigns.empty());
    int general = -1;
    for (size_t i = 0; i < m.campaigns.size(); ++i)
        if (m.campaigns[i].name == "General")
            general = static_cast<int>(i);
    ASSERT_GE(general, 0);
    const AdvertisingCampaign before = m.campaigns[static_cast<size_t>(general)];
    ASSERT_GE(before.level_count, 2);
    s.host.Answer(IDOK, "Advertising", "between 1 and 12");
    s.host.Answer(IDYES, "Advertising", "Changing the advertising campaign");
    std::string second_level;
    s.host.OnDialog(IDD_MRK_ADVERTISING, [&](HWND d) {
        SendDlgItemMessage(d, IDC_MRK_CAMPAIGNS, LB_SETCURSEL, static_cast<WPARAM>(general), 0);
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDC_MRK_CAMPAIGNS, LBN_SELCHANGE),
                    static_cast<LPARAM>(GetDlgItem(d, IDC_MRK_CAMPAIGNS)));
        char text[32] = {};
        SendDlgItemMessage(d, IDC_MRK_LEVELS, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
        second_level = text;
        SetDlgItemText(d, IDC_MRK_PERIOD, "13");
        click(d, IDOK);
        EXPECT_TRUE(IsWindow(d) && IsWindowVisible(d));
        SetDlgItemText(d, IDC_MRK_PERIOD, "3");
        SendDlgItemMessage(d, IDC_MRK_LEVELS, CB_SETCURSEL, 1, 0);
        SaveWindowPng(d, png("advertising.png").c_str());
        click(d, IDOK);
    });
    s.marketing->on_menu_command(405);
    EXPECT_EQ(second_level, "$" + std::to_string(2 * before.monthly_cost));
    ASSERT_GE(s.host.boxes().size(), 1u);
    EXPECT_NE(s.host.boxes()[0].text.find("between 1 and 12"), std::string::npos);
    const AdvertisingCampaign& after = m.campaigns[static_cast<size_t>(general)];
    EXPECT_EQ(after.active, 1);
    EXPECT_EQ(after.level_index, 1);
    EXPECT_EQ(after.months_left, 3);
    EXPECT_GT(m.product(0, 0).annual_orders, 0.0f);
    ASSERT_EQ(s.decisions.size(), 1u);
    EXPECT_EQ(s.decisions[0], "Mrk|Advertizing|||" + std::to_string(general) + ",2,3");
}

// Promotion: five reductions of 10 % steps; OK requests the promotion with
// the chosen level.
TEST(MarketingActions, PromotionRequestsTheChosenReduction)
{
    Sample s;
    CMarketingWnd& m = s.m();
    std::string third, month;
    s.host.OnDialog(IDD_MRK_PROMOTION, [&](HWND d) {
        EXPECT_EQ(SendDlgItemMessage(d, IDC_MRK_REDUCTIONS, CB_GETCOUNT, 0, 0), 5);
        char text[32] = {};
        SendDlgItemMessage(d, IDC_MRK_REDUCTIONS, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text));
        third = text;
        GetDlgItemText(d, IDC_MRK_SALE_MONTH, text, sizeof text);
        month = text;
        SendDlgItemMessage(d, IDC_MRK_REDUCTIONS, CB_SETCURSEL, 2, 0);
        SaveWindowPng(d, png("promotion.png").c_str());
        click(d, IDOK);
    });
    s.marketing->on_menu_command(401);
    EXPECT_EQ(third, std::to_string(m.get_discounted_price(0, 0, 3)) + " ( 30% )");
    EXPECT_EQ(month, month_name(s.session->clock.NextMonth(), 0));
    EXPECT_EQ(m.product(0, 0).promotion_state, 1);
    EXPECT_EQ(m.product(0, 0).promotion_level, 3);
}

// Due Shipments: open orders by their due day or late, contract
// deliveries by their supply day; the grid follows the chosen product.
TEST(MarketingActions, DueShipmentsByDay)
{
    Sample s;
    CMarketingWnd& m = s.m();
    const SimDateTime today = s.session->clock.current;
    m.open_orders.clear();
    m.loaded.clear();
    OpenOrder tomorrow{};
    tomorrow.family = 0;
    tomorrow.product = 0;
    tomorrow.units = 5;
    tomorrow.due = s.session->clock.AddWorkDays(today, 1);
    OpenOrder late = tomorrow;
    late.units = 3;
    late.days_late = 2;
    OpenOrder far = tomorrow;
    far.units = 11;
    far.due = s.session->clock.AddWorkDays(today, 9);
    m.open_orders = {tomorrow, late, far};
    for (auto& c : m.customers)
        for (auto& k : c.contracts)
            k.status = CONTRACT_NOT_ACCEPTED;
    CustomerContract& weekly = m.customers[0].contracts[0];
    weekly.status = CONTRACT_ACTIVE;
    weekly.deliveries_made = 0;
    weekly.supply = {s.session->clock.AddWorkDays(today, 2)};
    const DueTable t = due_shipments(m, s.marketing->market_host(), 0, 0);
    EXPECT_EQ(t[0], (std::array<long, 7>{5, 0, 0, 0, 0, 11, 3}));
    EXPECT_EQ(t[1], (std::array<long, 7>{0, weekly.items[0].quantity, 0, 0, 0, 0, 0}));
    const DueTable other = due_shipments(m, s.marketing->market_host(), 0, 1);
    EXPECT_EQ(other[0], (std::array<long, 7>{}));

    std::string cell, after;
    s.host.OnDialog(IDD_MRK_DUE_SHIPMENTS, [&](HWND d) {
        auto* dlg = dynamic_cast<CDueShipmentsDlg*>(CWnd::FromHandlePermanent(d));
        ASSERT_NE(dlg, nullptr);
        cell = dlg->grid().GetCellText(0, 6);
        SendDlgItemMessage(d, 1088, CB_SETCURSEL, 1, 0);
        SendMessage(d, WM_COMMAND, MAKEWPARAM(1088, CBN_SELCHANGE), static_cast<LPARAM>(GetDlgItem(d, 1088)));
        after = dlg->grid().GetCellText(0, 6);
        SaveWindowPng(d, png("due_shipments.png").c_str());
        click(d, IDCANCEL);
    });
    s.marketing->on_menu_command(309);
    EXPECT_EQ(cell, "3");
    EXPECT_EQ(after, "0");
}
