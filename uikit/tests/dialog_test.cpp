#include "support/ui_support.h"
#include "uikit/graph_dialog.h"
#include "uikit/sim_dialog.h"
#include "uikit/templates.h"
#include "foundation/draw.h"
#include "plat/gdi.h"
#include "plat/fw/app.h"
#include "plat/controls.h"
#include "plat/help.h"
#include "plat/modal.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>

using namespace plat;

TEST(SimDialogPosition, CentresInTheFreeArea)
{
    const RECT desktop{0, 0, 1024, 768};
    struct Case {
        int w, h;
        bool session;
        LONG x, y;
    } cases[] = {
        {300, 200, true, 427, 284},
        {300, 200, false, 362, 284},
        {900, 200, true, 114, 284}, // pushed left, 10 pixels inside the edge
        {301, 201, false, 362, 284}, // halves truncate
    };
    for (const Case& c : cases) {
        const POINT p = sim_dialog_position(desktop, c.w, c.h, c.session);
        EXPECT_EQ(p.x, c.x) << c.w << " " << c.session;
        EXPECT_EQ(p.y, c.y) << c.w << " " << c.session;
    }
}

TEST(SimDialog, OpensCentredWithTheDialogFont)
{
    FakeView view;
    view.session = true;
    CSimDialog dlg(TPL_PLAIN, &view, nullptr);
    ASSERT_TRUE(dlg.Create(TPL_PLAIN, nullptr));
    settle();
    RECT w{};
    dlg.GetWindowRect(&w);
    const POINT p = sim_dialog_position(RECT{0, 0, 1024, 768}, w.right - w.left, w.bottom - w.top, true);
    EXPECT_EQ(w.left, p.x);
    EXPECT_EQ(w.top, p.y);
    ASSERT_NE(dlg.dialog_font(), 0u);
    EXPECT_EQ(static_cast<HFONT>(SendMessage(GetDlgItem(dlg, 101), WM_GETFONT, 0, 0)), dlg.dialog_font());
    // Without the toggle the texts stay.
    EXPECT_EQ(dlg.GetDlgItem(102)->GetWindowText(), "Press");
    dlg.DestroyWindow();
    settle();
}

TEST(SimDialog, ShowIdsReplacesTheTextsAfterInitialisation)
{
    FakeView view;
    view.ids = true;
    CSimDialog dlg(TPL_PLAIN, &view, nullptr);
    ASSERT_TRUE(dlg.Create(TPL_PLAIN, nullptr));
    // The derived dialog's own filling comes first...
    dlg.SetDlgItemText(101, "filled in");
    settle();
    // ...and the posted message replaces it.
    EXPECT_EQ(dlg.GetDlgItem(101)->GetWindowText(), "ID=101");
    EXPECT_EQ(dlg.GetDlgItem(102)->GetWindowText(), "ID=102");
    dlg.DestroyWindow();
    settle();
}

TEST(SimDialog, AnInnerDialogClosingLeavesTheOuterCurrent)
{
    FakeView view;
    CSimDialog outer(TPL_PLAIN, &view, nullptr);
    ASSERT_TRUE(outer.Create(TPL_PLAIN, nullptr));
    EXPECT_EQ(view.stack.top(), outer.m_hWnd);
    {
        CSimDialog inner(TPL_PLAIN, &view, &outer);
        ASSERT_TRUE(inner.Create(TPL_PLAIN, &outer));
        EXPECT_EQ(view.stack.top(), inner.m_hWnd);
        EXPECT_EQ(view.stack.all().size(), 2u);
        inner.DestroyWindow();
    }
    EXPECT_EQ(view.stack.top(), outer.m_hWnd);
    outer.DestroyWindow();
    EXPECT_EQ(view.stack.top(), 0u);
    settle();
}

TEST(SimDialog, WithoutAViewNothingIsRecordedOrPosted)
{
    CSimDialog dlg(TPL_PLAIN, nullptr, nullptr);
    ASSERT_TRUE(dlg.Create(TPL_PLAIN, nullptr));
    settle();
    RECT w{};
    dlg.GetWindowRect(&w);
    EXPECT_EQ(w.left, sim_dialog_position(RECT{0, 0, 1024, 768}, w.right - w.left, 0, false).x);
    EXPECT_EQ(dlg.GetDlgItem(101)->GetWindowText(), "typed");
    dlg.DestroyWindow();
    settle();
}

TEST(SimDialog, IdListsHoldFifty)
{
    CSimDialog dlg(TPL_PLAIN, nullptr, nullptr);
    for (int i = 0; i < 60; ++i) {
        dlg.AddTextId(1000 + i);
        dlg.AddActionId(2000 + i);
    }
    EXPECT_EQ(dlg.text_id_count(), 50);
    EXPECT_EQ(dlg.action_id_count(), 50);
    EXPECT_TRUE(dlg.HasActionId(2049));
    EXPECT_FALSE(dlg.HasActionId(2050));
}

TEST(SimDialog, ModalRunsThroughTheHostWithTheModalDepthRaised)
{
    ScriptedHost host;
    FakeView view;
    int depth = -1;
    size_t recorded = 0;
    host.OnDialog(TPL_PLAIN, [&](HWND dlg) {
        depth = ModalDepth();
        recorded = view.stack.all().size();
        PostMessage(dlg, WM_COMMAND, IDOK, 0);
    });
    CSimDialog dlg(TPL_PLAIN, &view, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_GT(depth, 0);
    EXPECT_EQ(recorded, 1u);
    EXPECT_EQ(view.stack.top(), 0u);
}

TEST(ModelessDialog, CancelDestroysAndFreesIt)
{
    auto* dlg = new CModelessDialog(TPL_PLAIN, nullptr);
    ModelessPtr<CModelessDialog> ptr(dlg);
    ASSERT_TRUE(ptr);
    ASSERT_NE(ptr->m_hWnd, 0u);
    const HWND hwnd = ptr->m_hWnd;
    SimulateKeyDown(GetDlgItem(hwnd, 101), VK_ESCAPE);
    settle();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(ptr);
    EXPECT_EQ(ptr.get(), nullptr);
}

// ---- graph dialogs ---------------------------------------------------------------

TEST(GraphRanges, BaseAxisRunsToTheNextTenAboveTheSpan)
{
    EXPECT_FLOAT_EQ(graph_raise_to_ten(0, 30), 40);
    EXPECT_FLOAT_EQ(graph_raise_to_ten(0, 37), 40);
    EXPECT_FLOAT_EQ(graph_raise_to_ten(0, 40), 50);
    EXPECT_FLOAT_EQ(graph_raise_to_ten(-5, 12), 15);

    CGraphDialog dlg(TPL_PLAIN, nullptr);
    const float x[4] = {0, 10, 20, 37};
    const float y[4] = {3, 8, 1, 21};
    dlg.AddSeries(x, y, 4, FALSE, 0xFF, 1, 3);
    dlg.ComputeRanges();
    EXPECT_FLOAT_EQ(dlg.x_min(), 0);
    EXPECT_FLOAT_EQ(dlg.x_max(), 40);
    EXPECT_FLOAT_EQ(dlg.y_min(), 1);
    EXPECT_FLOAT_EQ(dlg.y_max(), 31); // span 20 -> 30 above the minimum
}

TEST(GraphRanges, MonthTopsAndBottoms)
{
    struct Case {
        float max, min, top, bottom;
    } cases[] = {
        {1234, 0, 1400, 0},  {95, 0, 100, 0}, {0, 0, 100, 0},
        {1234, -150, 1400, -280}, // unit 140
        {25, -5, 30, -10},        // a top under 100 still steps by 10
        {89.99f, -0.5f, 90, -10},
    };
    for (const Case& c : cases) {
        const float top = month_graph_top(c.max);
        EXPECT_FLOAT_EQ(top, c.top) << c.max;
        EXPECT_FLOAT_EQ(month_graph_bottom(c.min, top), c.bottom) << c.max << " " << c.min;
    }
}

TEST(GraphRanges, MonthDialogWidensXByFivePercent)
{
    CMonthGraphDialog dlg(TPL_PLAIN, nullptr);
    const float y[12] = {5, 7, 9, 1234, 3, 1, 0, 0, 0, -150, 4, 4};
    dlg.AddMonthSeries(y, FALSE, 0xFF0000, 1, 0);
    dlg.ComputeRanges();
    EXPECT_FLOAT_EQ(dlg.x_min(), -0.55f);
    EXPECT_FLOAT_EQ(dlg.x_max(), 11.55f);
    EXPECT_FLOAT_EQ(dlg.y_max(), 1400);
    EXPECT_FLOAT_EQ(dlg.y_min(), -280);
}

TEST(GraphDialog, ScreenMappingPutsTheMinimumOnTheBottomEdge)
{
    CGraphDialog dlg(TPL_PLAIN, nullptr);
    dlg.SetPlotRect(RECT{70, 35, 170, 235});
    const float x[2] = {0, 30};
    const float y[2] = {0, 30};
    dlg.AddSeries(x, y, 2, FALSE, 0, 1, 0);
    dlg.ComputeRanges(); // 0..40 both ways
    // sx = 101 / 40, sy = (35 - 235 + 1) / 40 = -4.975
    EXPECT_EQ(dlg.ToScreen(0, 0).x, 70);
    EXPECT_EQ(dlg.ToScreen(0, 0).y, 235);
    EXPECT_EQ(dlg.ToScreen(40, 40).x, 171);
    EXPECT_EQ(dlg.ToScreen(40, 40).y, 36);
    EXPECT_EQ(dlg.ToScreen(20, 20).x, 120);
    EXPECT_EQ(dlg.ToScreen(20, 20).y, 135);
    EXPECT_TRUE(dlg.IsInPlotArea(POINT{70, 35}));
    EXPECT_FALSE(dlg.IsInPlotArea(POINT{171, 100}));
}

TEST(GraphDialog, FiftySeriesAndTenLegendEntriesAreKept)
{
    CGraphDialog dlg(TPL_PLAIN, nullptr);
    const float v[1] = {1};
    for (int i = 0; i < 52; ++i)
        dlg.AddSeries(v, v, 1, FALSE, 0, 1, 0);
    for (int i = 0; i < 12; ++i)
        dlg.AddLegend("Sales", 0xFF);
    EXPECT_EQ(dlg.series_count(), 50);
    EXPECT_EQ(dlg.legend_count(), 10);
    EXPECT_STREQ(dlg.legend(9).text, "Sales");
}

TEST(GraphDialog, TitleIsTheCaptionAndHelpWaitsForATopic)
{
    CGraphDialog dlg(TPL_PLAIN, nullptr);
    dlg.SetTitle("Machine load");
    ASSERT_TRUE(dlg.Create(TPL_PLAIN, nullptr));
    EXPECT_EQ(dlg.GetWindowText(), "Machine load");
    RECT rc{};
    dlg.GetClientRect(&rc);
    EXPECT_EQ(dlg.plot().right, rc.right - 110);
    EXPECT_EQ(dlg.plot().bottom, rc.bottom - 30);
    dlg.SendMessage(WM_COMMAND, CGraphDialog::HELP_BUTTON_ID, 0);
    EXPECT_STREQ(HelpViewerPage(), "");
    dlg.DestroyWindow();
    settle();
}

TEST(GraphDialog, HelpButtonOpensItsTopic)
{
    ScriptedHost host;
    host.Answer(IDOK, "");
    CGraphDialog dlg(TPL_PLAIN, nullptr);
    dlg.SetHelpTopic(412);
    ASSERT_TRUE(dlg.Create(TPL_PLAIN, nullptr));
    dlg.SendMessage(WM_COMMAND, CGraphDialog::HELP_BUTTON_ID, 0);
    // Either the viewer shows the topic or, with no help beside the
    // program, the layer says so in a box.
    const std::string page = HelpViewerPage();
    EXPECT_TRUE(page.find("412") != std::string::npos || page.find("contents") != std::string::npos ||
                host.boxes().size() == 1u)
        << page;
    WinHelp(dlg, "vorn.hlp", HELP_QUIT, 0);
    dlg.DestroyWindow();
    settle();
}

TEST(GraphTemplate, OkAndHelpAlongTheBottom)
{
    uikit_register_graph_template(AfxGetResourceHandle(), 9100, "Load profile", 500, 300);
    CGraphDialog dlg(9100, nullptr);
    ASSERT_TRUE(dlg.Create(9100, nullptr));
    ASSERT_NE(dlg.GetDlgItem(IDOK), nullptr);
    ASSERT_NE(dlg.GetDlgItem(CGraphDialog::HELP_BUTTON_ID), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(CGraphDialog::HELP_BUTTON_ID)->GetWindowText(), "Help");
    RECT rc{};
    dlg.GetClientRect(&rc);
    EXPECT_EQ(rc.right, 500);
    EXPECT_EQ(rc.bottom, 300);
    dlg.DestroyWindow();
    settle();
}

// The template's buttons sit along the bottom: the plot and the numbers under
// its axis end above them, and the legend column holds its longest entry.
TEST(GraphTemplate, PlotAndLabelsKeepClearOfTheButtons)
{
    uikit_register_graph_template(AfxGetResourceHandle(), 9101, "Load profile", 500, 300);
    CGraphDialog dlg(9101, nullptr);
    ASSERT_TRUE(dlg.Create(9101, nullptr));
    static const float xs[3] = {0, 10, 20};
    static const float ys[3] = {5, 40, 25};
    dlg.AddSeries(xs, ys, 3, FALSE, 0x0000FF, 1, 0);
    dlg.AddLegend("Consumed units", 0xFF0000);
    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    settle();
    EXPECT_TRUE(SaveWindowPng(dlg, png_path("graph_template_layout.png").c_str()));
    const HDC dc = GetDC(dlg.m_hWnd);
    const HGDIOBJ old = SelectObject(dc, gfx_font(static_cast<HFONT>(1)));
    SIZE label{}, legend{};
    GetTextExtentPoint32(dc, "20", 2, &label);
    GetTextExtentPoint32(dc, "Consumed units", 14, &legend);
    SelectObject(dc, old);
    ReleaseDC(dlg.m_hWnd, dc);
    const RECT plot = dlg.plot();
    RECT client{};
    dlg.GetClientRect(&client);
    for (int id : {IDOK, CGraphDialog::HELP_BUTTON_ID}) {
        RECT r{};
        dlg.GetDlgItem(id)->GetWindowRect(&r);
        POINT tl{r.left, r.top};
        ScreenToClient(dlg.m_hWnd, &tl);
        EXPECT_GE(tl.y, plot.bottom + 10 + label.cy) << id;
    }
    EXPECT_GE(client.right - (plot.right + 10), 15 + legend.cx);
    EXPECT_GT(plot.bottom - plot.top, 150);
    dlg.DestroyWindow();
    settle();
}
