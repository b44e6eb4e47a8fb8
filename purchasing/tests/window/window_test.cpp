// The Purchasing department in the windowed program: its menus, the boxes of
// the sample's materials with their status quarters, a click that opens a
// material's information and orders nothing, and every report the
// Information menu opens.
#include "appdialogs/app_dialogs.h"
#include "appgui/vorn_gui.h"
#include "foundation/draw.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/help.h"
#include "uikit/graph_dialog.h"
#include "plat/menu.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "purchasing/purchasing_dept.h"
#include "purchasing/purchasing_reports.h"
#include "plat/config.h"
#include "support/sample_program.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <algorithm>
#include <functional>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

struct Program : vorn_test::SampleProgram {
    Program() : SampleProgram("purchasing-work", "window-")
    {
        if (session != nullptr)
            purchasing = dynamic_cast<PurchasingDepartment*>(session->purchasing);
        if (purchasing != nullptr) {
            view->ExecuteCommand(ID_PURCHASING);
            panel = purchasing->window_handle();
        }
    }
    PurchasingDepartment* purchasing = nullptr;
    HWND panel = 0;
    CPurchasingWnd& engine() { return purchasing->engine(); }
    COLORREF pixel(int x, int y)
    {
        UpdateWindow(panel);
        HDC dc = GetDC(panel);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(panel, dc);
        return c;
    }
    void click(int x, int y) { SendMessage(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
};

std::string png(const std::string& name)
{
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "purchasing-png";
    fs::create_directories(dir);
    return (dir / name).string();
}

std::string menu_text(HMENU menu, int pos)
{
    char text[128] = {};
    GetMenuString(menu, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
    return text;
}

std::string window_text(HWND w)
{
    char text[256] = {};
    GetWindowText(w, text, sizeof text);
    return text;
}

std::string item_text(HWND d, int id) { return window_text(GetDlgItem(d, id)); }

std::vector<std::string> list_lines(HWND list)
{
    std::vector<std::string> lines;
    const int n = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char line[256] = {};
        SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        lines.emplace_back(line);
    }
    return lines;
}

void close_dialog(HWND d) { SendMessage(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

constexpr COLORREF GREEN = RGB(0, 255, 0), YELLOW = RGB(255, 255, 0), RED = RGB(255, 0, 0), BLACK = RGB(0, 0, 0),
                   WHITE = RGB(255, 255, 255);

} // namespace

TEST(PurchasingWindow, ShowsItsMenusAndTheMaterialsBoxes)
{
    Program p;
    ASSERT_NE(p.purchasing, nullptr) << "the session made the base window, not the Purchasing department";
    ASSERT_NE(p.panel, 0u);
    EXPECT_EQ(p.purchasing->visible(), 1);

    // The sample keeps every option: twelve reports, three actions, two policies.
    HMENU bar = GetMenu(p.frame->m_hWnd);
    HMENU information = GetSubMenu(bar, 1);
    ASSERT_EQ(GetMenuItemCount(information), 12);
    EXPECT_EQ(menu_text(information, 0), "&Material information");
    EXPECT_EQ(menu_text(information, 3), "C&onsumed units graph");
    EXPECT_EQ(menu_text(information, 11), "U&nsupplied units history");
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 2)), 3);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 3)), 2);

    CPurchasingWnd& e = p.engine();
    ASSERT_EQ(e.total_materials(), 3);
    const RECT xa = p.purchasing->box_rect(0, 0);
    EXPECT_EQ(xa.left, static_cast<int>(60 * p.session->scale_x));
    EXPECT_EQ(xa.right - xa.left, static_cast<int>(95 * p.session->scale_x));
    EXPECT_EQ(xa.bottom - xa.top, static_cast<int>(60 * p.session->scale_y));
    const int mid_x = (xa.left + xa.right) / 2, mid_y = (xa.top + xa.bottom) / 2;
    const COLORREF x_colour = index_to_color(e.families[0].colour);
    // The family colour below, the frame, the white split and the shadows up and right.
    EXPECT_EQ(p.pixel(xa.left + 3, xa.bottom - 3), x_colour);
    EXPECT_EQ(p.pixel(xa.left, xa.bottom - 3), BLACK);
    EXPECT_EQ(p.pixel(xa.left + 3, mid_y), WHITE);
    EXPECT_EQ(p.pixel(mid_x, xa.top + 5), WHITE);
    EXPECT_EQ(p.pixel(mid_x, mid_y + 5), x_colour) << "the vertical line stops at the middle";
    EXPECT_EQ(p.pixel(xa.right + 3, xa.top + 10), BLACK);
    EXPECT_EQ(p.pixel(xa.left + 10, xa.top - 3), BLACK);
    // Under the order-level policy the quarter shows the red-line status.
    ASSERT_EQ(e.policy, POLICY_ORDER_LEVEL);
    const COLORREF by_status[3] = {GREEN, YELLOW, RED};
    const int16_t status = e.material(0, 0).red_line_status;
    ASSERT_TRUE(status >= 0 && status < 3);
    EXPECT_EQ(p.pixel(xa.left + 2, xa.top + 2), by_status[status]);
    EXPECT_NE(p.pixel(xa.left + 2, xa.top + 2), p.pixel(xa.left + 2, mid_y + 4));
    // The heading sits in the grey left of the band.
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, png("purchasing_shown.png").c_str()));

    // The engine's redraw paints the quarter at once, without a repaint.
    e.material(0, 0).red_line_status = 2;
    p.purchasing->redraw_material(REDRAW_STOCK, 0, 0);
    EXPECT_EQ(p.pixel(xa.left + 2, xa.top + 2), RED);
    e.material(0, 0).red_line_status = 1;
    p.purchasing->redraw_material(REDRAW_STOCK, 0, 0);
    EXPECT_EQ(p.pixel(xa.left + 2, xa.top + 2), YELLOW);
    e.material(0, 0).red_line_status = 0;
    p.purchasing->redraw_material(REDRAW_STOCK, 0, 0);
    EXPECT_EQ(p.pixel(xa.left + 2, xa.top + 2), GREEN);
    // Levels not shown: the family colour whatever the status.
    e.levels_shown = 0;
    p.purchasing->Repaint();
    EXPECT_EQ(p.pixel(xa.left + 2, xa.top + 2), x_colour);

    // Under MRP the quarter is the MRP red-line flag.
    e.policy = POLICY_MRP;
    e.mrp_red_line[0][0] = 1;
    p.purchasing->redraw_material(REDRAW_MRP_RED_LINE, 0, 0);
    EXPECT_EQ(p.pixel(xa.left + 2, xa.top + 2), RED);
    e.mrp_red_line[0][0] = 0;
    p.purchasing->Repaint();
    EXPECT_EQ(p.pixel(xa.left + 2, xa.top + 2), GREEN);
    e.mrp_red_line[0][1] = 1;
    e.material(0, 1).stock = 1234;
    e.on_order[0][1] = 77;
    p.purchasing->Repaint();
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, png("purchasing_mrp.png").c_str()));

    // Another department's view hides the window; no redraw reaches it then.
    p.view->ExecuteCommand(ID_MARKETING);
    EXPECT_EQ(p.purchasing->visible(), 0);
}

TEST(PurchasingWindow, AClickOnABoxOpensItsInformationAndOrdersNothing)
{
    Program p;
    ASSERT_NE(p.purchasing, nullptr);
    CPurchasingWnd& e = p.engine();
    // A plan that MRP ordering would order from at once.
    e.policy = POLICY_MRP;
    e.levels_shown = 0;
    const SimDateTime now = p.session->clock.current;
    e.plan.push_back({0, 1, 2000, now, now});
    const size_t orders = e.orders.size();
    const int32_t on_order = e.on_order[0][1];

    std::vector<std::string> captions;
    std::string chosen;
    p.host.OnDialog(IDD_PRC_MATERIAL_INFO, [&](HWND d) {
        captions.push_back(window_text(d));
        chosen = item_text(d, IDC_PRC_INFO_MATERIAL);
        SaveWindowPng(d, png("material_info_click.png").c_str());
        close_dialog(d);
    });
    const RECT xb = p.purchasing->box_rect(0, 1);
    p.click(xb.left + 10, xb.bottom - 5);
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0], "Material Information - XB");
    EXPECT_EQ(chosen, "XB");
    EXPECT_EQ(e.orders.size(), orders) << "a click places no order";
    EXPECT_EQ(e.on_order[0][1], on_order);

    // Between the boxes and in the band: nothing opens.
    p.click(5, 100);
    p.click(xb.right + 20, xb.top - 20);
    EXPECT_EQ(captions.size(), 1u);
    // The corner of the box belongs to it.
    p.click(xb.right, xb.bottom);
    EXPECT_EQ(captions.size(), 2u);

    // The hand over a box, the arrow elsewhere.
    EXPECT_EQ(p.purchasing->cursor_at(xb.left + 1, xb.top + 1), p.session->hand_cursor);
    EXPECT_EQ(p.purchasing->cursor_at(5, 100), static_cast<HCURSOR>(0));

    // Overlapping boxes: the first in table order opens.
    e.material(1, 0).x = e.material(0, 1).x;
    e.material(1, 0).y = e.material(0, 1).y;
    p.click(xb.left + 10, xb.top + 10);
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_EQ(captions[2], "Material Information - XB");

    // The same plan does order when MRP ordering runs: the click would have shown it.
    e.mrp_ordering();
    EXPECT_GT(e.orders.size(), orders);
}

TEST(PurchasingWindow, EveryReportOfTheInformationMenuOpens)
{
    Program p;
    ASSERT_NE(p.purchasing, nullptr);
    CPurchasingWnd& e = p.engine();
    e.material(0, 0).red_line_shares = {0, 0.1f, 0.25f, 0.5f, 0.75f, 1.0f};
    e.material(0, 0).stock = 40;
    e.material(0, 0).average_cost = 6.0f;
    e.material(0, 1).stock = 10;
    e.material(0, 1).average_cost = 2.5f;
    e.material(1, 0).stock = 0;
    e.unsupplied_this_month[0][0] = 3;
    e.unsupplied_last_year[0][0] = 11;
    e.unsupplied_this_year[0][0] = 5;
    struct Opened {
        int command, dialog;
        std::function<void(HWND)> check;
    };
    const Opened cases[] = {
        {301, IDD_PRC_MATERIAL_INFO,
         [&](HWND d) {
             EXPECT_EQ(window_text(d), "Material Information - XA");
             EXPECT_EQ(item_text(d, IDC_PRC_INFO_LEVEL_LABEL1), "Max level:");
             EXPECT_EQ(item_text(d, IDC_PRC_INFO_SUPPLIER), "Alpha Metals");
             EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_PRC_INFO_MRP))) << "Total MRP under MRP only";
             EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_PRC_INFO_LEVEL1 + 2)));
             // Another material chosen in the combo box.
             SendDlgItemMessage(d, IDC_PRC_INFO_MATERIAL, CB_SETCURSEL, 2, 0);
             SendMessage(d, WM_COMMAND, MAKEWPARAM(IDC_PRC_INFO_MATERIAL, CBN_SELCHANGE),
                         static_cast<LPARAM>(GetDlgItem(d, IDC_PRC_INFO_MATERIAL)));
             EXPECT_EQ(window_text(d), "Material Information - YA");
             EXPECT_EQ(item_text(d, IDC_PRC_INFO_SUPPLIER), "Beta Supply");
             EXPECT_TRUE(list_lines(GetDlgItem(d, IDC_PRC_INFO_USES)).empty()) << "no job takes YA";
         }},
        {302, IDD_PRC_RED_LINE, {}},
        {303, IDD_PRC_PACKAGES_LIST,
         [&](HWND d) { EXPECT_EQ(list_lines(GetDlgItem(d, IDC_PRC_LIST)), std::vector<std::string>{"No packgaes ordered"}); }},
        {304, IDD_SALES_SUMMARY_GRAPH,
         [&](HWND d) {
             EXPECT_EQ(window_text(d), "Consumed Units Graph");
             auto* graph = dynamic_cast<CSalesSummaryGraphDlg*>(CWnd::FromHandle(d));
             ASSERT_NE(graph, nullptr);
             ASSERT_EQ(graph->set_count(), 3) << "one curve per material";
             EXPECT_EQ(graph->set_title(0), "XA");
             EXPECT_EQ(graph->set_title(2), "YA");
             EXPECT_EQ(graph->set_series_count(1), 1);
         }},
        {305, IDD_PRC_SUPPLIER_LEAD, {}},
        {307, IDD_PRC_CONSUMPTION, {}},
        {308, IDD_PRC_MEASUREMENTS,
         [&](HWND d) {
             EXPECT_EQ(item_text(d, IDC_PRC_VALUE_FIRST), "265");
             EXPECT_EQ(item_text(d, IDC_PRC_VALUE_FIRST + 2), "3");
             EXPECT_EQ(item_text(d, IDC_PRC_VALUE_FIRST + 4), p.session->clock.IsNewYear() ? "11" : "5");
         }},
        {309, IDD_PRC_OPEN_ORDERS, {}},
        {310, IDD_PRC_MRP_LIST, [&](HWND d) { EXPECT_TRUE(list_lines(GetDlgItem(d, IDC_PRC_LIST)).empty()); }},
        {311, IDD_PRC_DAILY_UNSUPPLIED, {}},
        {312, IDD_PRC_UNSUPPLIED_HISTORY, {}}};
    // Help opens the page of the menu entry's context (301 -> 201).
    fs::copy(fs::path(VORN_BINARY_DIR) / "data" / "vorn.help", fs::path(p.folder) / "vorn.help",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    const fs::path before = fs::current_path();
    fs::current_path(p.folder);
    for (const Opened& c : cases) {
        SCOPED_TRACE(c.command);
        int opened = 0;
        std::string page;
        p.host.OnDialog(c.dialog, [&](HWND d) {
            ++opened;
            UpdateWindow(d);
            SaveWindowPng(d, png("report_" + std::to_string(c.command) + ".png").c_str());
            if (c.check)
                c.check(d);
            const int help = c.dialog == IDD_SALES_SUMMARY_GRAPH ? CGraphDialog::HELP_BUTTON_ID : IDC_PRC_HELP;
            SendMessage(d, WM_COMMAND, MAKEWPARAM(help, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(d, help)));
            page = HelpViewerPage();
            close_dialog(d);
        });
        p.purchasing->on_menu_command(c.command);
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(page, "vorn.help/" + std::to_string(c.command - 100) + ".html");
    }
    WinHelp(0, "vorn.hlp", HELP_QUIT, 0);
    fs::current_path(before);
    // With an open order and a contract the lists show them under their columns.
    ASSERT_TRUE(e.place_vendor_order(0, 1, 120));
    ASSERT_EQ(e.create_contract(0, 0, {15, 25}), "");
    std::vector<std::string> orders, packages;
    p.host.OnDialog(IDD_PRC_OPEN_ORDERS, [&](HWND d) {
        UpdateWindow(d);
        SaveWindowPng(d, png("report_309_filled.png").c_str());
        orders = list_lines(GetDlgItem(d, IDC_PRC_LIST));
        close_dialog(d);
    });
    p.host.OnDialog(IDD_PRC_PACKAGES_LIST, [&](HWND d) {
        UpdateWindow(d);
        SaveWindowPng(d, png("report_303_filled.png").c_str());
        packages = list_lines(GetDlgItem(d, IDC_PRC_LIST));
        close_dialog(d);
    });
    p.purchasing->on_menu_command(309);
    p.purchasing->on_menu_command(303);
    ASSERT_EQ(orders.size(), e.orders.size());
    EXPECT_EQ(orders.back().rfind("\tXB\t120\t", 0), 0u) << orders.back();
    ASSERT_EQ(packages.size(), 3u);
    EXPECT_EQ(packages[1].rfind("\t\t\tXA\t15\t", 0), 0u) << packages[1];
    EXPECT_EQ(packages[2].rfind("\t\t\tXB\t25\t", 0), 0u) << packages[2];

    // Ids without an entry do nothing.
    const size_t boxes = p.host.boxes().size();
    for (int id : {300, 313, 503})
        p.purchasing->on_menu_command(id);
    EXPECT_EQ(p.host.boxes().size(), boxes);
}

// The forecast asks for its horizon first; per product its forecast and the
// materials it needs, then per material what is to order, never below 0.
TEST(PurchasingWindow, PurchasingForecastOverTheChosenHorizon)
{
    Program p;
    ASSERT_NE(p.purchasing, nullptr);
    int forecasts = 0;
    p.host.OnDialog(IDD_FORECAST_RANGE, [&](HWND d) { close_dialog(d); });
    p.host.OnDialog(IDD_PRC_FORECAST, [&](HWND) { ++forecasts; });
    p.purchasing->on_menu_command(306);
    EXPECT_EQ(forecasts, 0) << "a cancelled horizon opens nothing";

    CPurchasingWnd& e = p.engine();
    e.material(0, 1).stock = 0;   // XB short whatever the forecast
    e.on_order[0][1] = 0;
    p.host.OnDialog(IDD_FORECAST_RANGE, [&](HWND d) {
        SetDlgItemText(d, 1090, "60");
        CheckRadioButton(d, 1091, 1092, 1091);
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    std::vector<std::string> products;
    std::vector<std::vector<std::string>> needs, materials;
    p.host.OnDialog(IDD_PRC_FORECAST, [&](HWND d) {
        ++forecasts;
        UpdateWindow(d);
        SaveWindowPng(d, png("report_306.png").c_str());
        auto* dlg = dynamic_cast<CPrcGridReportDlg*>(CWnd::FromHandle(d));
        ASSERT_NE(dlg, nullptr);
        ASSERT_EQ(dlg->grids().size(), 2u);
        const CGrid& first = *dlg->grids()[0];
        const CGrid& second = *dlg->grids()[1];
        for (int r = 0; r < first.GetRowCount(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < first.GetColumnCount(); ++c)
                row.push_back(first.GetCellText(r, c));
            needs.push_back(row);
        }
        for (int r = 0; r < second.GetRowCount(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < second.GetColumnCount(); ++c)
                row.push_back(second.GetCellText(r, c));
            materials.push_back(row);
        }
        close_dialog(d);
    });
    p.purchasing->on_menu_command(306);
    ASSERT_EQ(forecasts, 1);
    ASSERT_FALSE(needs.empty());
    ASSERT_EQ(materials.size(), 3u);
    // A1 takes two of XA and one of XB; its forecast over sixty days is not 0.
    const long a1 = std::stol(needs[0][0]);
    EXPECT_GT(a1, 0);
    EXPECT_EQ(std::stol(needs[0][1]), 2 * a1);
    EXPECT_EQ(std::stol(needs[0][2]), a1);
    for (const auto& m : materials) {
        ASSERT_EQ(m.size(), 5u);
        const long needed = std::stol(m[0]), ordered = std::stol(m[1]), stock = std::stol(m[2]), wip = std::stol(m[3]);
        EXPECT_EQ(std::stol(m[4]), std::max(0L, needed - ordered - (stock + wip)));
    }
    EXPECT_GT(std::stol(materials[1][4]), 0) << "XB has nothing in stock or on order";
}
