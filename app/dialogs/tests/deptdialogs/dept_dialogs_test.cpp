// The dialogs departments open, driven through the layer: the forecast
// range in days, and the sales summary graph's sets of series.
#include "appdialogs/app_dialogs.h"
#include "foundation/draw.h"
#include "foundation/msgbox.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/fw/app.h"
#include "plat/module.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "uikit/uikit.h"
#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

int g_shift_mode = 0;

class DeptDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        // A module of the test's own, as a department's test program has.
        const HINSTANCE module = RegisterModule("DEPTTEST.EXE", nullptr);
        register_app_dialog_templates(module);
        AfxSetResourceHandle(module);
        set_shift_mode_source([] { return g_shift_mode; });
    }
    void TearDown() override { ResetWindowsForTest(); }
};

void click(HWND dlg, int id)
{
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(dlg, id)));
}

std::string png(const std::string& name)
{
    const std::string folder = std::string(VORN_BINARY_DIR) + "/appdialogs-png";
    fs::create_directories(folder);
    return folder + "/" + name;
}

struct RangeCase {
    int shift_mode;
    const char* text;
    bool months;
    intptr_t days;
};

TEST_F(DeptDialogs, ForecastRangeAnswersDays)
{
    const RangeCase cases[] = {
        {0, "2", true, 44},   // one shift: 22 working days a month
        {2, "2", true, 44},   // two shifts likewise
        {1, "2", true, 60},   // three shifts: 30
        {0, "2", false, 2},   // days stay days
        {0, "500", false, 500},
        {0, "1", true, 22},
    };
    for (const RangeCase& c : cases) {
        g_shift_mode = c.shift_mode;
        ScriptedHost host;
        std::string initial;
        bool monthsPreselected = false;
        host.OnDialog(IDD_FORECAST_RANGE, [&](HWND d) {
            char text[16] = {};
            GetDlgItemText(d, 1090, text, sizeof text);
            initial = text;
            monthsPreselected =
                IsDlgButtonChecked(d, 1092) == BST_CHECKED && IsDlgButtonChecked(d, 1091) == BST_UNCHECKED;
            SetDlgItemText(d, 1090, c.text);
            if (!c.months) {
                CheckDlgButton(d, 1092, BST_UNCHECKED);
                CheckDlgButton(d, 1091, BST_CHECKED);
            }
            click(d, IDOK);
        });
        CForecastRangeDlg dlg(nullptr);
        EXPECT_EQ(dlg.DoModal(), c.days) << c.text << (c.months ? " months" : " days") << " mode " << c.shift_mode;
        EXPECT_EQ(initial, "1");
        EXPECT_TRUE(monthsPreselected);
        EXPECT_TRUE(host.boxes().empty());
    }
}

// 0 is within the edit's bounds but no range: the box, and the dialog stays
// for another try. Cancel answers 0.
TEST_F(DeptDialogs, ForecastRangeRefusesZeroAndStays)
{
    g_shift_mode = 0;
    ScriptedHost host;
    host.Answer(IDOK, "Forecast Range", "Invalid range", ScriptedHost::Match::Exact);
    bool stayed = false;
    host.OnDialog(IDD_FORECAST_RANGE, [&](HWND d) {
        SetDlgItemText(d, 1090, "0");
        click(d, IDOK);
        stayed = IsWindow(d) && IsWindowVisible(d);
        SetDlgItemText(d, 1090, "3");
        click(d, IDOK);
    });
    CForecastRangeDlg dlg(nullptr);
    EXPECT_EQ(dlg.DoModal(), 66);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Invalid range");

    ScriptedHost cancel;
    cancel.OnDialog(IDD_FORECAST_RANGE, [](HWND d) {
        SetDlgItemText(d, 1090, "7");
        click(d, IDCANCEL);
    });
    CForecastRangeDlg other(nullptr);
    EXPECT_EQ(other.DoModal(), 0);
}

TEST_F(DeptDialogs, ForecastRangeAboveTheEditBoundIsRefused)
{
    g_shift_mode = 0;
    ScriptedHost host;
    host.Answer(IDOK, "", "between 0 and 500");
    host.OnDialog(IDD_FORECAST_RANGE, [](HWND d) {
        SetDlgItemText(d, 1090, "501");
        click(d, IDOK);
        click(d, IDCANCEL);
    });
    CForecastRangeDlg dlg(nullptr);
    EXPECT_EQ(dlg.DoModal(), 0);
    ASSERT_EQ(host.boxes().size(), 1u);
}

const float kSalesA[12] = {120, 135, 150, 160, 158, 170, 180, 176, 190, 205, 210, 230};
const float kSalesB[12] = {80, 82, 90, 95, 99, 101, 97, 110, 118, 121, 130, 128};
const float kSalesC[12] = {40, 44, 43, 50, 61, 58, 66, 70, 69, 75, 80, 85};
const float kLost[12] = {5, 3, 8, 2, 0, 4, 6, 1, 3, 2, 5, 7};

TEST_F(DeptDialogs, SalesSummaryGraphDefinesSetsInOrder)
{
    CSalesSummaryGraphDlg dlg(nullptr);
    EXPECT_TRUE(dlg.DefineSeries(0, 0, "Family A", kSalesA, 0x0000FF, 0x000080));
    EXPECT_TRUE(dlg.DefineSeries(0, 1, "Family A", kLost, 0x00FF00, 0x008000));
    EXPECT_TRUE(dlg.DefineSeries(1, 0, "Family B", kSalesB, 0xFF0000, 0x800000));
    EXPECT_EQ(dlg.set_count(), 2);
    EXPECT_EQ(dlg.set_series_count(0), 2);
    EXPECT_EQ(dlg.set_series_count(1), 1);
    EXPECT_EQ(dlg.set_title(1), "Family B");

    // The table is full at 50 sets of 5 series: the next is refused and
    // nothing changes.
    const int refusals = uikit_refusal_count();
    EXPECT_TRUE(dlg.DefineSeries(49, 4, "Last", kSalesC, 0, 0));
    EXPECT_EQ(dlg.set_count(), 50);
    EXPECT_FALSE(dlg.DefineSeries(50, 0, "Beyond", kSalesC, 0, 0));
    EXPECT_FALSE(dlg.DefineSeries(3, 5, "Beyond", kSalesC, 0, 0));
    EXPECT_FALSE(dlg.DefineSeries(-1, 0, "Beyond", kSalesC, 0, 0));
    EXPECT_EQ(dlg.set_count(), 50);
    EXPECT_EQ(dlg.set_series_count(3), 0);
    EXPECT_EQ(uikit_refusal_count(), refusals + 3);
}

RECT child_rect(HWND dlg, int id)
{
    RECT r{};
    GetWindowRect(GetDlgItem(dlg, id), &r);
    POINT tl{r.left, r.top}, br{r.right, r.bottom};
    ScreenToClient(dlg, &tl);
    ScreenToClient(dlg, &br);
    return RECT{tl.x, tl.y, br.x, br.y};
}

bool overlaps(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

SIZE text_extent(HWND window, int font, const char* text)
{
    const HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, gfx_font(static_cast<HFONT>(font)));
    SIZE s{};
    GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &s);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return s;
}

// A long legend and a y caption: the plot and its month labels keep clear of
// the buttons, the caption sits whole above the axis and under the selector,
// and the legend column holds its entry.
TEST_F(DeptDialogs, SalesSummaryGraphLeavesRoomForButtonsCaptionAndLegend)
{
    ScriptedHost host;
    CSalesSummaryGraphDlg dlg(nullptr);
    dlg.DefineSeries(0, 0, "XA", kSalesA, 0x0000FF, 0x000080);
    dlg.SetYCaption("[Units]");
    dlg.SetSelectorLabel("Material:");
    dlg.AddLegend("Consumed units", 0xFF0000);
    RECT plot{}, caption{}, legend{}, ok{}, help{}, combo{}, client{};
    SIZE captionText{}, legendText{}, labelText{};
    host.OnDialog(IDD_SALES_SUMMARY_GRAPH, [&](HWND d) {
        UpdateWindow(d);
        SaveWindowPng(d, png("sales_summary_layout.png").c_str());
        plot = dlg.plot();
        caption = dlg.y_caption_box();
        legend = dlg.legend_box();
        ok = child_rect(d, IDOK);
        help = child_rect(d, CGraphDialog::HELP_BUTTON_ID);
        combo = child_rect(d, 1246);
        GetClientRect(d, &client);
        captionText = text_extent(d, 0, "[Units]");
        legendText = text_extent(d, 1, "Consumed units");
        labelText = text_extent(d, 1, "Jan");
        click(d, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // The plot with the month labels hanging under its axis.
    const RECT withLabels{plot.left, plot.top, plot.right, plot.bottom + 8 + labelText.cy};
    EXPECT_FALSE(overlaps(ok, withLabels)) << ok.top << " " << withLabels.bottom;
    EXPECT_FALSE(overlaps(help, withLabels));
    EXPECT_GE(caption.right - caption.left, captionText.cx);
    EXPECT_GE(caption.bottom - caption.top, captionText.cy);
    EXPECT_GE(caption.top, 0);
    EXPECT_LE(caption.bottom, plot.top);
    EXPECT_FALSE(overlaps(caption, combo)) << caption.top << " " << combo.bottom;
    EXPECT_LE(legend.left, plot.right + 10);
    EXPECT_GE(client.right - (plot.right + 10), 15 + legendText.cx);
    EXPECT_GT(plot.bottom - plot.top, 200);
}

// Each series of the shown set is drawn twice (line, then markers); the
// combo box lists the titles and switches the set.
TEST_F(DeptDialogs, SalesSummaryGraphShowsTheChosenSet)
{
    ScriptedHost host;
    CSalesSummaryGraphDlg dlg(nullptr);
    dlg.DefineSeries(0, 0, "Family A: units sold", kSalesA, 0x0000FF, 0x000000);
    dlg.DefineSeries(0, 1, "Family A: units sold", kLost, 0x00A000, 0x000000);
    dlg.DefineSeries(1, 0, "Family B: units sold", kSalesB, 0xFF0000, 0x000000);
    dlg.DefineSeries(1, 1, "Family B: units sold", kSalesC, 0x0080FF, 0x000000);
    dlg.DefineSeries(1, 2, "Family B: units sold", kLost, 0x808000, 0x000000);
    const int32_t months[12] = {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6};
    dlg.SetMonths(months);
    dlg.AddLegend("Sales", 0x0000FF);
    int countAfterInit = -1, countAfterSwitch = -1, shownAfterSwitch = -1;
    std::string secondTitle, caption;
    RECT plot{};
    host.OnDialog(IDD_SALES_SUMMARY_GRAPH, [&](HWND d) {
        countAfterInit = dlg.series_count();
        plot = dlg.plot();
        char text[128] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        EXPECT_EQ(SendDlgItemMessage(d, 1246, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SendDlgItemMessage(d, 1246, CB_GETCURSEL, 0, 0), 0);
        UpdateWindow(d);
        SaveWindowPng(d, png("sales_summary_set0.png").c_str());
        SendDlgItemMessage(d, 1246, CB_SETCURSEL, 1, 0);
        SendMessage(d, WM_COMMAND, MAKEWPARAM(1246, CBN_SELCHANGE), static_cast<LPARAM>(GetDlgItem(d, 1246)));
        countAfterSwitch = dlg.series_count();
        shownAfterSwitch = dlg.shown_set();
        UpdateWindow(d);
        SaveWindowPng(d, png("sales_summary_set1.png").c_str());
        click(d, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(caption, "Sales Summary Graph");
    EXPECT_EQ(countAfterInit, 4);
    EXPECT_EQ(countAfterSwitch, 6);
    EXPECT_EQ(shownAfterSwitch, 1);
    // The graph sits where the template's area marker is.
    EXPECT_EQ(plot.left, 70);
    EXPECT_EQ(plot.top, 50);
    EXPECT_EQ(plot.right, 520);
    EXPECT_EQ(plot.bottom, 340);
}

} // namespace
