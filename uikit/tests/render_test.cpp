// Pictures of the toolkit's controls, for a person to look at.
#include "support/ui_support.h"
#include "uikit/button_bar.h"
#include "uikit/chart_wnd.h"
#include "uikit/graph_dialog.h"
#include "uikit/grid.h"
#include "uikit/lists.h"
#include "uikit/sim_dialog.h"
#include "uikit/status_line.h"
#include "uikit/tab_bar.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "plat/controls.h"
#include "plat/fw/wrappers.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "qxi32/qxi32.h"
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

using namespace plat;

namespace {

class DemoDialog : public CSimDialog {
public:
    DemoDialog() : CSimDialog(TPL_GRID, nullptr, nullptr) {}
    CGrid grid;
    void OnPaint() override
    {
        CPaintDC dc(this);
        grid.Draw(dc);
    }
    void OnLButtonDown(UINT, POINT pt) override { grid.OnLButtonDown(pt); }
};

} // namespace

TEST(Render, DialogWithGridCheckListTabBarAndButtonBar)
{
    DemoDialog dlg;
    ASSERT_TRUE(dlg.Create(TPL_GRID, nullptr));
    dlg.SetWindowText("Purchasing policies");
    for (const char* c : {"Week 1", "Week 2", "Week 3", "Week 4"})
        dlg.grid.AddColumn(c, SS_RIGHT);
    for (const char* r : {"Steel", "Paint", "Bolts", "Crates", "Glue"})
        dlg.grid.AddRow(r);
    dlg.grid.SetCornerText("Part");
    dlg.grid.Create(0, &dlg, 10, 10, 460, 130, 0);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            dlg.grid.SetCellInt(r, c, static_cast<int16_t>(100 * (r + 1) + 10 * c));
    dlg.grid.BeginEdit(1, 2);

    CSelectCheckList checks;
    ASSERT_TRUE(checks.Create(200, &dlg, 10, 150, 300, 262));
    int32_t tabs[2] = {22, 150};
    checks.SetTabStops(2, tabs);
    checks.AddRow("h\tOffered contracts", FALSE);
    checks.AddRow("1\tBike A, 200 units\t12/03", TRUE);
    checks.AddRow("2\tBike B, 50 units\t19/03", TRUE);
    checks.AddRow("3\tTrailer, 10 units\t02/04", TRUE);
    checks.SetCheck(1, 2, FALSE);
    checks.SetCheck(2, 1, FALSE);
    checks.SetCurSel(3, TRUE);

    CTabBar tabs_bar(dlg, RECT{320, 150, 620, 176}, 300, RGB(255, 255, 128));
    for (const char* t : {"Products", "Orders", "Prices"})
        tabs_bar.AddTab(t);
    tabs_bar.SetCurTab(1);

    CButtonBar bar;
    ASSERT_TRUE(bar.Create(&dlg, 400));
    bar.MoveWindow(0, 360, 640, 28);
    bar.SetButtonSize(70, 22);
    bar.AddButton("Legend", "Help", 102, IDB_FACE_LEGEND, 0, 0, 5, 20);
    bar.AddButton("Orders", "Orders", 301, IDB_FACE_ORDERS, 0, 0, 5, 20);
    CBarButton* m = bar.AddButton("Materials", "Materials", 302, IDB_FACE_MATERIALS, 0, 0, 5, 20);
    m->SetState(CBarButton::DOWN);

    CStatusLine line;
    ASSERT_TRUE(line.Create(nullptr, "", WS_CHILD | WS_VISIBLE, RECT{320, 200, 620, 224}, &dlg, 500));
    line.AddField(1, "Run", 50, 1, 0x00FF00);
    line.AddField(2, "12/03/1999", 90, 0, 0xC0C0C0);
    line.AddField(3, "Hold", 50, 1, 0x0000FF);

    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    settle();
    const std::string path = png_path("dialog_controls.png");
    ASSERT_TRUE(SaveWindowPng(dlg, path.c_str()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    // The edited cell is hidden under the editor holding its text.
    ASSERT_NE(dlg.grid.GetEditor(), nullptr);
    EXPECT_EQ(dlg.grid.GetEditor()->GetWindowText(), "220");
    dlg.grid.EndEdit();
    dlg.DestroyWindow();
    settle();
}

TEST(Render, ChartWindowWithTwoSeries)
{
    SpyParent parent(520, 320);
    CChartWnd chart;
    ASSERT_TRUE(chart.Create(&parent, RECT{10, 10, 510, 310}, 700));
    ASSERT_NE(chart.GetGraph(), 0u);
    // The owner lays out the slots; each series gets its own.
    QXISetGraphSlots(chart.GetGraph(), 2, 0);
    chart.SetSeriesCount(2);
    chart.AddSeries(0, 1, 0, RGB(0, 0, 255), "Cash", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.AddSeries(1, 2, 1, RGB(200, 0, 0), "Sales", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.SetViewXRange(0, 60);
    for (int day = 0; day < 45; ++day) {
        chart.AddPoint(0, 500 + 300 * std::sin(day / 6.0));
        chart.AddPoint(1, 200 + 8 * day);
        chart.ScrollToX(day);
    }
    chart.UpdateWindow();
    settle();
    const std::string path = png_path("chart_window.png");
    ASSERT_TRUE(SaveWindowPng(chart, path.c_str()));
    EXPECT_DOUBLE_EQ(chart.GetSeries(1)->yMax, 600); // 552 after 44 days: step 100
}

TEST(Render, MonthGraphDialog)
{
    gfx_create_fonts("Arial", "Arial", "Arial");
    CMonthGraphDialog dlg(TPL_GRID, nullptr);
    dlg.SetTitle("Consumed Units Graph");
    dlg.SetYCaption("Units");
    static const float used[12] = {120, 340, 560, 610, 480, 900, 1234, 1100, 700, 650, 300, 150};
    static const float planned[12] = {200, 300, 500, 700, 700, 800, 1000, 1000, 800, 600, 400, 200};
    const int32_t months[12] = {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6};
    dlg.SetMonths(months);
    ASSERT_TRUE(dlg.Create(TPL_GRID, nullptr));
    dlg.AddMonthSeries(used, FALSE, RGB(0, 0, 255), 2, 3);
    dlg.AddMonthSeries(planned, FALSE, RGB(200, 0, 0), 1, 2);
    dlg.AddLegend("Used", RGB(0, 0, 255));
    dlg.AddLegend("Planned", RGB(200, 0, 0));
    dlg.ShowWindow(SW_SHOW);
    dlg.Invalidate();
    dlg.UpdateWindow();
    settle();
    ASSERT_TRUE(SaveWindowPng(dlg, png_path("month_graph.png").c_str()));
    EXPECT_FLOAT_EQ(dlg.y_max(), 1400);
    // The plot's inside is the white background, its outline black.
    const RECT& p = dlg.plot();
    EXPECT_EQ(pixel(dlg, p.left + 5, p.top + 3), 0xFFFFFFu);
    EXPECT_EQ(pixel(dlg, p.left, (p.top + p.bottom) / 2), 0x000000u);
    dlg.DestroyWindow();
    settle();
    gfx_delete_fonts();
}
