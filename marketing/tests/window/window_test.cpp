// The Marketing department in the windowed program: its product boxes and
// their figures, the daily-sales graph that replaces them, the mouse over a
// box, and its menus' commands with the dialogs they open, driven through
// the layer.
#include "appdialogs/app_dialogs.h"
#include "appgui/vorn_gui.h"
#include "foundation/draw.h"
#include "marketing/market_summary.h"
#include "marketing/marketing_dept.h"
#include "marketing/marketing_dialogs.h"
#include "marketing/marketing_wnd.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/menu.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "support/sample_program.h"
#include "uikit/chart_wnd.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace plat;
namespace fs = std::filesystem;

namespace {

std::string png(const std::string& name)
{
    const fs::path pictures = fs::path(VORN_BINARY_DIR) / "marketing-png";
    fs::create_directories(pictures);
    return (pictures / name).string();
}

COLORREF pixel(HWND w, int x, int y)
{
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

std::string text_of(HWND w)
{
    char text[256] = {};
    GetWindowText(w, text, sizeof text);
    return text;
}

void click(HWND dlg, int id)
{
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// The program with the sample open and the Marketing window shown.
struct Program : vorn_test::SampleProgram {
    MarketingDepartment* marketing = nullptr;
    HWND panel = 0;

    Program() : SampleProgram("marketing-work", "window-")
    {
        if (session == nullptr)
            throw std::runtime_error("the sample did not open");
        marketing = dynamic_cast<MarketingDepartment*>(session->marketing);
        if (marketing == nullptr)
            throw std::runtime_error("no Marketing department");
        view->ExecuteCommand(ID_MARKETING);
        panel = marketing->window_handle();
        // Every decision the department writes, logged or not.
        session->decision_hook = [this](const char* dept, const char* key, const std::string& item,
                                        const std::string& old_value, const std::string& new_value, int, int) {
            decisions.push_back(std::string(dept) + "|" + key + "|" + item + "|" + old_value + "|" + new_value);
        };
    }
    CMarketingWnd& engine() { return marketing->engine(); }
    std::vector<std::string> decisions;
};

POINT centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

} // namespace

// The sample's two products each get a box in family A's colour at its
// scenario position, with the heading above; the check box sits in the
// title band at the right.
TEST(MarketingWindow, BoxesInTheFamilyColourAndTheGraphBox)
{
    Program p;
    ASSERT_NE(p.panel, 0u);
    EXPECT_TRUE(IsWindowVisible(p.panel));
    CMarketingWnd& m = p.engine();
    ASSERT_EQ(m.family_count(), 1);
    ASSERT_EQ(m.product_count(0), 2);

    const HWND box = GetDlgItem(p.panel, 521);
    ASSERT_NE(box, 0u);
    EXPECT_EQ(box, p.marketing->graph_box());
    EXPECT_EQ(text_of(box), "View graph");
    EXPECT_TRUE(IsWindowVisible(box));
    RECT client{}, at{};
    GetClientRect(p.panel, &client);
    GetWindowRect(box, &at);
    POINT corner{at.left, at.top};
    ScreenToClient(p.panel, &corner);
    EXPECT_EQ(corner.x, client.right - 100);
    EXPECT_EQ(corner.y, 5);

    UpdateWindow(p.panel);
    const COLORREF family = index_to_color(m.families[0].colour);
    for (int prod = 0; prod < 2; ++prod) {
        const RECT r = p.marketing->box_rect(0, prod);
        EXPECT_EQ(r.left, static_cast<int>(m.product(0, prod).box_x * p.session->scale_x));
        // 120 x 90 design units at the view's scale.
        EXPECT_EQ(r.right - r.left, static_cast<int>(120 * p.session->scale_x));
        EXPECT_EQ(r.bottom - r.top, static_cast<int>(90 * p.session->scale_y));
        // The lower right cell's inside, away from its figure.
        EXPECT_EQ(pixel(p.panel, r.right - 3, r.bottom - 3), family) << "product " << prod;
        // The frame is black, the row line at a third of the height white.
        EXPECT_EQ(pixel(p.panel, r.left, r.top + 45), RGB(0, 0, 0));
        EXPECT_EQ(pixel(p.panel, r.right - 5, r.top + (r.bottom - r.top) / 3), RGB(255, 255, 255));
    }
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, png("marketing_shown.png").c_str()));

    // A retired product's box is crossed out and nothing else of it drawn.
    m.product(0, 1).retired = 1;
    p.marketing->Repaint();
    UpdateWindow(p.panel);
    const RECT retired = p.marketing->box_rect(0, 1);
    EXPECT_NE(pixel(p.panel, retired.right - 3, retired.bottom - 3), family);
    // The diagonals cross at the box's centre.
    bool crossed = false;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            crossed = crossed || pixel(p.panel, centre(retired).x + dx, centre(retired).y + dy) == RGB(0, 0, 0);
    EXPECT_TRUE(crossed);
    int f = -1, prod = -1;
    EXPECT_FALSE(p.marketing->product_at(retired.left + 20, retired.top + 40, f, prod));
    EXPECT_TRUE(SaveWindowPng(p.panel, png("marketing_retired.png").c_str()));
}

// The figures of the box: firm orders, stock, the service percentage and the
// red-line cell follow the product.
TEST(MarketingWindow, TheBoxShowsTheProductsFigures)
{
    Program p;
    CMarketingWnd& m = p.engine();
    MarketProduct& a1 = m.product(0, 0);
    a1.stock = 3;
    a1.firm_orders = 42;
    a1.service_pct = 100;
    a1.red_status = 2;
    m.red_line_active = 1;
    p.marketing->Repaint();
    UpdateWindow(p.panel);
    const RECT r = p.marketing->box_rect(0, 0);
    // Upper-left cell red by the status.
    EXPECT_EQ(pixel(p.panel, r.left + 3, r.top + 3 + 10), RGB(255, 0, 0));
    a1.red_status = 0;
    p.marketing->Repaint();
    UpdateWindow(p.panel);
    EXPECT_EQ(pixel(p.panel, r.left + 3, r.top + 13), RGB(0, 192, 0));
    // Make to order: the cell stays in the family colour.
    m.change_link_mode(LINK_MAKE_TO_ORDER, nullptr);
    p.marketing->Repaint();
    UpdateWindow(p.panel);
    EXPECT_EQ(pixel(p.panel, r.left + 3, r.top + 13), index_to_color(m.families[0].colour));
    EXPECT_TRUE(SaveWindowPng(p.panel, png("marketing_figures.png").c_str()));
}

// The check box shows the graph over the client area below the band and no
// box is drawn or clicked while it shows; unticked, the boxes come back.
TEST(MarketingWindow, TheGraphReplacesTheBoxes)
{
    Program p;
    const HWND box = p.marketing->graph_box();
    ASSERT_NE(box, 0u);
    CChartWnd* graph = p.marketing->sales_graph_window();
    ASSERT_NE(graph, nullptr);
    EXPECT_FALSE(IsWindowVisible(graph->m_hWnd));
    EXPECT_EQ(GetDlgCtrlID(graph->m_hWnd), 304);
    p.engine().sales_graph.add_day(4321);
    p.engine().sales_graph.add_day(800);
    const size_t days = p.engine().sales_graph.daily.size();

    SimulateMouseDown(box, Button::Left, 5, 5);
    SimulateMouseUp(box, Button::Left, 5, 5);
    EXPECT_TRUE(p.marketing->graph_shown());
    EXPECT_TRUE(IsWindowVisible(graph->m_hWnd));
    RECT client{}, at{};
    GetClientRect(p.panel, &client);
    GetWindowRect(graph->m_hWnd, &at);
    POINT corner{at.left, at.top};
    ScreenToClient(p.panel, &corner);
    EXPECT_EQ(corner.x, -1);
    EXPECT_EQ(corner.y, 29);
    EXPECT_EQ(at.right - at.left, client.right + 3);
    EXPECT_EQ(at.bottom - at.top, client.bottom - 27);
    // The graph carries the run's days.
    ASSERT_NE(graph->GetSeries(0), nullptr);
    EXPECT_EQ(graph->GetSeries(0)->values.size(), days);
    const RECT r = p.marketing->box_rect(0, 0);
    int f = -1, prod = -1;
    EXPECT_FALSE(p.marketing->product_at(centre(r).x, centre(r).y, f, prod));
    UpdateWindow(p.panel);
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, png("marketing_graph.png").c_str()));

    // The view's command flips it back.
    p.marketing->flip_sales_graph();
    EXPECT_FALSE(p.marketing->graph_shown());
    EXPECT_FALSE(IsWindowVisible(graph->m_hWnd));
    EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(p.marketing->product_at(centre(r).x, centre(r).y, f, prod));
}

// Over a box the hand cursor; a click on a box opens that product's
// information; the boxes grow with the view's scale.
TEST(MarketingWindow, ClickingABoxOpensItsProduct)
{
    Program p;
    const RECT a2 = p.marketing->box_rect(0, 1);
    SimulateMouseMove(p.panel, centre(a2).x, centre(a2).y);
    EXPECT_EQ(GetCursor(), p.session->hand_cursor);
    SimulateMouseMove(p.panel, a2.right + 5, a2.bottom + 40);
    EXPECT_EQ(GetCursor(), LoadCursor(0, IDC_ARROW));

    std::string caption, chosen, price;
    p.host.OnDialog(IDD_MRK_PRODUCT_INFO, [&](HWND d) {
        caption = text_of(d);
        const HWND list = GetDlgItem(d, IDC_MRK_INFO_LIST);
        char row[16] = {};
        SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(SendMessage(list, LB_GETCURSEL, 0, 0)),
                    reinterpret_cast<LPARAM>(row));
        chosen = row;
        price = text_of(GetDlgItem(d, IDC_MRK_INFO_PRICE));
        UpdateWindow(d);
        SaveWindowPng(d, png("product_information.png").c_str());
        click(d, IDCANCEL);
    });
    SimulateMouseDown(p.panel, Button::Left, centre(a2).x, centre(a2).y);
    SimulateMouseUp(p.panel, Button::Left, centre(a2).x, centre(a2).y);
    EXPECT_EQ(caption, "Product Information");
    EXPECT_EQ(chosen, "A2");
    EXPECT_EQ(price, "$" + std::to_string(p.engine().product(0, 1).price));

    // Between the boxes nothing opens.
    const size_t opened = p.host.dialogs().size();
    SimulateMouseDown(p.panel, Button::Left, centre(a2).x, a2.bottom + 20);
    SimulateMouseUp(p.panel, Button::Left, centre(a2).x, a2.bottom + 20);
    EXPECT_EQ(p.host.dialogs().size(), opened);

    p.session->scale_x = 2.0f;
    p.session->scale_y = 2.5f;
    const RECT big = p.marketing->box_rect(0, 1);
    EXPECT_EQ(big.right - big.left, 240);
    EXPECT_EQ(big.bottom - big.top, 225);
    int f = -1, prod = -1;
    EXPECT_TRUE(p.marketing->product_at(big.right - 2, big.bottom - 2, f, prod));
    EXPECT_EQ(prod, 1);
    EXPECT_FALSE(p.marketing->product_at(big.right, big.bottom, f, prod));
}

// Ids outside the table, or without an entry, do nothing; the placeholders
// show their box captioned with the feature's name.
TEST(MarketingCommands, PlaceholdersAndIdsWithoutAnEntry)
{
    Program p;
    p.host.Answer(IDOK, "", "Not implemented yet");
    p.host.clear_records();
    for (int id : {300, 504, 321, 400, 406, 500})
        p.marketing->on_menu_command(id);
    EXPECT_TRUE(p.host.boxes().empty());
    EXPECT_TRUE(p.host.dialogs().empty());

    struct Case {
        int id;
        const char* caption;
    };
    for (const Case& c : {Case{308, "dlg_customers"}, Case{403, "dlg_cancel_product"},
                          Case{503, "dlg_export_shipments_policy"}}) {
        p.host.clear_records();
        p.marketing->on_menu_command(c.id);
        ASSERT_EQ(p.host.boxes().size(), 1u) << c.id;
        EXPECT_EQ(p.host.boxes()[0].caption, c.caption);
    }
    p.host.clear_records();
    p.marketing->show_help();
    ASSERT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(p.host.boxes()[0].caption, "dlg_market_legend");
}

// The links command: refused in job-shop mode; otherwise the dialog's
// choice becomes the link mode with its red-line checks and one decision.
TEST(MarketingCommands, LinksChangeTheModeOnce)
{
    Program p;
    CMarketingWnd& m = p.engine();
    ASSERT_EQ(m.link_mode(), LINK_MAKE_TO_STOCK);

    p.session->job_shop = 1;
    p.host.clear_records();
    p.host.Answer(IDOK, "Marketing-production links", "Not available in Job shop");
    p.marketing->on_menu_command(502);
    EXPECT_EQ(m.link_mode(), LINK_MAKE_TO_STOCK);
    ASSERT_EQ(p.host.boxes().size(), 1u);
    EXPECT_TRUE(p.host.dialogs().empty());
    p.session->job_shop = 0;

    bool stock_checked = false;
    p.host.OnDialog(IDD_MRK_LINKS, [&](HWND d) {
        stock_checked = IsDlgButtonChecked(d, IDC_MRK_STOCK) == BST_CHECKED;
        SaveWindowPng(d, png("links.png").c_str());
        CheckDlgButton(d, IDC_MRK_STOCK, BST_UNCHECKED);
        CheckDlgButton(d, IDC_MRK_ORDER, BST_CHECKED);
        click(d, IDOK);
    });
    p.marketing->on_menu_command(502);
    EXPECT_TRUE(stock_checked);
    EXPECT_EQ(m.link_mode(), LINK_MAKE_TO_ORDER);
    EXPECT_EQ(m.red_line_active, 0);
    ASSERT_EQ(p.decisions.size(), 1u);
    EXPECT_EQ(p.decisions[0], "Mrk|Mrk-Prd Links||Make to stock|Make to order");

    // OK on the same mode writes nothing; Cancel changes nothing.
    p.host.OnDialog(IDD_MRK_LINKS, [&](HWND d) { click(d, IDOK); });
    p.marketing->on_menu_command(502);
    EXPECT_EQ(p.decisions.size(), 1u);
    p.host.OnDialog(IDD_MRK_LINKS, [&](HWND d) {
        CheckDlgButton(d, IDC_MRK_ORDER, BST_UNCHECKED);
        CheckDlgButton(d, IDC_MRK_STOCK, BST_CHECKED);
        click(d, IDCANCEL);
    });
    p.marketing->on_menu_command(502);
    EXPECT_EQ(m.link_mode(), LINK_MAKE_TO_ORDER);
    // Back to stock: the check is active again.
    p.host.OnDialog(IDD_MRK_LINKS, [&](HWND d) {
        CheckDlgButton(d, IDC_MRK_ORDER, BST_UNCHECKED);
        CheckDlgButton(d, IDC_MRK_STOCK, BST_CHECKED);
        click(d, IDOK);
    });
    p.marketing->on_menu_command(502);
    EXPECT_EQ(m.link_mode(), LINK_MAKE_TO_STOCK);
    EXPECT_EQ(m.red_line_active, 1);
    EXPECT_EQ(p.decisions.size(), 2u);
}

// The sales summary table: the chooser's text picks a product, a family or
// all; an unknown text is refused and the chooser stays; the table shows
// the latest month first.
TEST(MarketingCommands, SalesSummaryTableByTheChoosersText)
{
    Program p;
    CMarketingWnd& m = p.engine();
    m.month_count = 12;
    for (size_t i = 0; i < 12; ++i) {
        m.product(0, 0).revenue_series[i] = static_cast<float>(100 + i);
        m.product(0, 1).revenue_series[i] = static_cast<float>(10 * i);
        m.product(0, 0).order_sales_series[i] = 7;
        m.product(0, 1).contract_sales_series[i] = 3;
    }
    struct Case {
        const char* text;
        const char* title;
        float latest_total;
    };
    const Case cases[] = {
        {"A1", "Product Sales - A1", 111},
        {"A2", "Product Sales - A2", 110},
        {"A", "Family Sales - A", 221},
        {"Total", "Total sales", 221},
    };
    for (const Case& c : cases) {
        std::string label, caption, cell0, cell1, row0;
        p.host.OnDialog(IDD_MRK_GET_PRODUCT_NAME, [&](HWND d) {
            label = text_of(GetDlgItem(d, IDC_MRK_NAME_LABEL));
            SetDlgItemText(d, IDC_MRK_NAME_COMBO, c.text);
            click(d, IDOK);
        });
        p.host.OnDialog(IDD_MRK_SALE_SUMMARY, [&](HWND d) {
            caption = text_of(d);
            UpdateWindow(d);
            if (std::string(c.text) == "Total")
                SaveWindowPng(d, png("sale_summary_table.png").c_str());
            click(d, IDCANCEL);
        });
        p.marketing->on_menu_command(305);
        EXPECT_EQ(label, "Enter product name:");
        EXPECT_EQ(caption, c.title) << c.text;
        EXPECT_EQ(p.marketing->sales_summary().title, c.title);
        EXPECT_FLOAT_EQ(p.marketing->sales_summary().series[0][11], c.latest_total) << c.text;
    }
    EXPECT_FLOAT_EQ(p.marketing->sales_summary().series[1][0], 7 + m.product(0, 1).order_sales_series[0]);
    EXPECT_FLOAT_EQ(p.marketing->sales_summary().series[2][0], 3 + m.product(0, 0).contract_sales_series[0]);

    // An unknown name: the box, the chooser stays, then Cancel ends the command.
    p.host.clear_records();
    p.host.Answer(IDOK, "", "Invalid value!");
    bool stayed = false;
    p.host.OnDialog(IDD_MRK_GET_PRODUCT_NAME, [&](HWND d) {
        SetDlgItemText(d, IDC_MRK_NAME_COMBO, "ZZ");
        click(d, IDOK);
        stayed = IsWindow(d) && IsWindowVisible(d);
        click(d, IDCANCEL);
    });
    p.marketing->on_menu_command(305);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(p.host.boxes().size(), 1u);
    EXPECT_EQ(p.host.boxes()[0].caption, "Sales Summary Table");
    for (const auto& [hwnd, id] : p.host.dialogs())
        EXPECT_NE(id, IDD_MRK_SALE_SUMMARY) << "a cancelled choice opens no table";
}

// In the third month of a run (two months passed) the ten slots before the
// run are zeros; from the twelfth month on nothing is cleared.
TEST(MarketingCommands, SummaryMonthsBeforeTheRunAreZero)
{
    SummarySeries s{};
    for (auto& one : s)
        one.fill(5);
    zero_months_before_run(s, 2);
    for (size_t k = 0; k < 5; ++k)
        for (size_t i = 0; i < 12; ++i)
            EXPECT_EQ(s[k][i], i <= 9 ? 0.0f : 5.0f) << k << " " << i;
    for (int count : {12, 30}) {
        SummarySeries full{};
        full[0].fill(5);
        zero_months_before_run(full, count);
        EXPECT_EQ(full[0][0], 5.0f);
    }
    SummarySeries first{};
    first[3].fill(1);
    zero_months_before_run(first, 0);
    for (float v : first[3])
        EXPECT_EQ(v, 0.0f);
}

// The sales summary graph: a page for the company, then one per product,
// each with customers, clients and total; the chooser is labelled "Product:".
TEST(MarketingCommands, SalesSummaryGraphPages)
{
    Program p;
    int sets = 0;
    std::string label, first, second;
    p.host.OnDialog(IDD_SALES_SUMMARY_GRAPH, [&](HWND d) {
        label = text_of(GetDlgItem(d, 1247));
        sets = static_cast<int>(SendDlgItemMessage(d, 1246, CB_GETCOUNT, 0, 0));
        char row[32] = {};
        SendDlgItemMessage(d, 1246, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(row));
        first = row;
        SendDlgItemMessage(d, 1246, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(row));
        second = row;
        UpdateWindow(d);
        SaveWindowPng(d, png("sales_summary_graph.png").c_str());
        click(d, IDOK);
    });
    p.marketing->on_menu_command(306);
    EXPECT_EQ(label, "Product:");
    EXPECT_EQ(sets, 3);
    EXPECT_EQ(first, "Total");
    EXPECT_EQ(second, "A1");

    // The throughput graph has the same pages.
    sets = 0;
    p.marketing->on_menu_command(315);
    EXPECT_EQ(sets, 3);
}

// The forecast range is kept when one is given; cancelled, nothing changes.
TEST(MarketingCommands, ForecastRangeIsKept)
{
    Program p;
    p.engine().held_contracts = {1, 2};
    p.host.OnDialog(IDD_FORECAST_RANGE, [](HWND d) {
        SetDlgItemText(d, 1090, "2");
        click(d, IDOK);
    });
    int forecasts = 0;
    p.host.OnDialog(128, [&](HWND d) {
        ++forecasts;
        click(d, IDCANCEL);
    });
    p.marketing->on_menu_command(307);
    EXPECT_EQ(p.marketing->forecast_range(), 44);
    EXPECT_EQ(forecasts, 1) << "the Marketing Forecast follows the range";
    EXPECT_TRUE(p.engine().held_contracts.empty());
    p.engine().held_contracts = {3};
    p.host.OnDialog(IDD_FORECAST_RANGE, [](HWND d) { click(d, IDCANCEL); });
    p.marketing->on_menu_command(307);
    EXPECT_EQ(p.marketing->forecast_range(), 44);
    EXPECT_EQ(forecasts, 1) << "no forecast without a range";
    EXPECT_EQ(p.engine().held_contracts.size(), 1u);
}
