#include "support/ui_support.h"
#include "uikit/decision_tree.h"
#include "uikit/info_tip.h"
#include "uikit/tab_bar.h"
#include "uikit/uikit.h"
#include "plat/commctl.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>

using namespace plat;

// ---- tab bar -------------------------------------------------------------------

TEST(TabBar, TabsRunFromTheRightEdge)
{
    SpyParent parent;
    CTabBar bar(parent, RECT{10, 10, 310, 40}, 4711, 0x00FFFF);
    for (const char* t : {"Products", "Orders", "Prices"})
        bar.AddTab(t);
    RECT r{};
    ASSERT_TRUE(bar.GetTabRect(0, &r));
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.right, 300);
    ASSERT_TRUE(bar.GetTabRect(2, &r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 100);
}

TEST(TabBar, ClickSelectsAndTellsTheParentWithTheBarsId)
{
    SpyParent parent;
    CTabBar bar(parent, RECT{10, 10, 310, 40}, 4711, 0x00FFFF);
    for (const char* t : {"Products", "Orders", "Prices"})
        bar.AddTab(t);
    bar.UpdateWindow();
    settle();
    SimulateMouseDown(bar, Button::Left, 150, 20);
    settle();
    EXPECT_EQ(bar.GetCurTab(), 1);
    EXPECT_EQ(parent.of(WM_TAB_SELECTED), (std::vector<Recorded>{{WM_TAB_SELECTED, 1, 4711}}));
    bar.UpdateWindow();
    settle();
    // The selected tab is filled with its colour near the bottom, the others white.
    EXPECT_EQ(pixel(bar, 150, 27), 0x00FFFFu);
    EXPECT_EQ(pixel(bar, 250, 27), 0xFFFFFFu);
}

// The label reads on its fill: black on the white tabs and a light selected
// colour, white on a dark selected colour.
TEST(TabBar, TheLabelStandsOutFromItsFill)
{
    SpyParent parent;
    struct Case {
        COLORREF selected;
        bool white_label;
    };
    for (const Case& c : {Case{0x800000, true}, Case{0x000000, true}, Case{0x00A000, true}, Case{0x00FFFF, false},
                          Case{0xC0C0C0, false}}) {
        SCOPED_TRACE(c.selected);
        CTabBar bar(parent, RECT{0, 0, 240, 16}, 7, c.selected);
        bar.AddTab("Home");
        bar.AddTab("Nordic");
        bar.SetCurTab(1);
        bar.UpdateWindow();
        settle();
        // Ink in each tab's middle: pixels that are neither the fill nor the outline.
        auto ink = [&](int left, int right, COLORREF fill) {
            int white = 0, black = 0;
            for (int x = left + 20; x < right - 20; ++x)
                for (int y = 3; y < 14; ++y) {
                    const COLORREF p = pixel(bar, x, y);
                    white += p == 0xFFFFFFu && fill != 0xFFFFFFu;
                    black += p == 0x000000u && fill != 0x000000u;
                }
            return std::pair{white, black};
        };
        const auto [sel_white, sel_black] = ink(0, 120, c.selected);
        EXPECT_GT(c.white_label ? sel_white : sel_black, 10) << "the selected label";
        EXPECT_EQ(c.white_label ? sel_black : sel_white, 0);
        const auto [other_white, other_black] = ink(120, 240, 0xFFFFFF);
        EXPECT_GT(other_black, 10) << "the other tab's label in black";
        (void)other_white;
        if (c.selected == 0x800000)
            SaveWindowPng(bar, png_path("tab_bar_dark.png").c_str());
    }
}

TEST(TabBar, WithoutTabsNothingHappensAndASixthIsRefused)
{
    SpyParent parent;
    CTabBar bar(parent, RECT{0, 0, 300, 30}, 5, 0xFF);
    bar.Invalidate();
    bar.UpdateWindow();
    SimulateMouseDown(bar, Button::Left, 100, 10);
    settle();
    EXPECT_TRUE(parent.log.empty());
    RECT r{};
    EXPECT_FALSE(bar.GetTabRect(0, &r));
    for (int i = 0; i < 6; ++i)
        bar.AddTab("tab");
    EXPECT_EQ(bar.GetTabCount(), 5);
    bar.AddTab(std::string(45, 'x').c_str());
    const std::string long_label(45, 'y');
    CTabBar other(parent, RECT{0, 40, 300, 70}, 6, 0xFF);
    other.AddTab(long_label.c_str());
    EXPECT_EQ(std::string(other.GetLabel(0)), std::string(40, 'y'));
}

// ---- decision tree ---------------------------------------------------------------

TEST(DecisionTree, FirstExpansionsSelectionsAndClicksReachTheParent)
{
    SpyParent parent;
    CDecisionTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, RECT{0, 0, 300, 200}, &parent,
                            70));
    EXPECT_NE(tree.GetExStyle() & WS_EX_CLIENTEDGE, 0u);
    const HTREEITEM root = tree.InsertItem(TVI_ROOT, "Week 1", 0);
    const HTREEITEM child = tree.InsertItem(root, "Monday", 0);
    ASSERT_NE(child, 0u);
    settle();

    // Expanded by the user: a programmatic expansion sends no notice.
    tree.SelectItem(root);
    settle();
    parent.log.clear();
    for (UINT key : {VK_RIGHT, VK_LEFT, VK_RIGHT}) {
        SimulateKeyDown(tree, key);
        SimulateKeyUp(tree, key);
        settle();
    }
    EXPECT_NE(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED, 0u);
    EXPECT_EQ(parent.of(WM_TREE_NOTIFY), (std::vector<Recorded>{{WM_TREE_NOTIFY, 1, static_cast<LPARAM>(root)}}));
    parent.log.clear();

    // Find where the child is drawn, then click it twice.
    RECT itemRect{};
    TVHITTESTINFO hit{};
    int y = -1;
    for (int yy = 0; yy < 200 && y < 0; ++yy) {
        hit.pt = POINT{60, yy};
        if (TreeView_HitTest(tree, &hit) == child)
            y = yy;
    }
    (void)itemRect;
    ASSERT_GE(y, 0);
    SimulateMouseDown(tree, Button::Left, 60, y + 2);
    SimulateMouseUp(tree, Button::Left, 60, y + 2);
    settle();
    const std::vector<Recorded> once{{WM_TREE_NOTIFY, 3, 0}, {WM_TREE_NOTIFY, 2, static_cast<LPARAM>(child)}};
    EXPECT_EQ(parent.of(WM_TREE_NOTIFY), once);
    parent.log.clear();
    SimulateMouseDown(tree, Button::Left, 60, y + 2);
    SimulateMouseUp(tree, Button::Left, 60, y + 2);
    settle();
    EXPECT_EQ(parent.of(WM_TREE_NOTIFY), once);
    EXPECT_EQ(tree.GetSelectedItem(), child);
}

// ---- information tip ------------------------------------------------------------------

TEST(InfoTip, LinesMeasureTheSameWithOrWithoutTheFinalNewline)
{
    SpyParent owner;
    CInfoTipWnd tip;
    ASSERT_TRUE(tip.Create(&owner));
    tip.ShowAt(POINT{100, 300}, "Order:4711\nDue:12/03\n", 5);
    RECT a{};
    tip.GetWindowRect(&a);
    const int lh = tip.line_height();
    EXPECT_GT(lh, 0);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(a.left, 100);
    EXPECT_EQ(a.bottom, 300);
    EXPECT_EQ(a.bottom - a.top, 2 * lh + 4);
    tip.Hide();
    EXPECT_EQ(tip.tag(), 0);
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.ShowAt(POINT{100, 300}, "Order:4711\nDue:12/03", 6);
    RECT b{};
    tip.GetWindowRect(&b);
    EXPECT_EQ(b.right - b.left, a.right - a.left);
    EXPECT_EQ(b.bottom - b.top, a.bottom - a.top);
    EXPECT_EQ(tip.tag(), 6);
}

TEST(InfoTip, LabelsNormalValuesBold)
{
    const auto lines = CInfoTipWnd::split_lines("Machine:M1\nLoad:80%\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].label, "Machine:");
    EXPECT_EQ(lines[0].value, "M1");
    EXPECT_EQ(lines[1].label, "Load:");
    EXPECT_EQ(lines[1].value, "80%");

    SpyParent owner;
    CInfoTipWnd tip;
    ASSERT_TRUE(tip.Create(&owner));
    tip.ShowAt(POINT{50, 200}, "Machine:MMMM\nLoad:MMMM\n", 1);
    tip.UpdateWindow();
    settle();
    // Bold strokes are wider: count ink columns of the same word in each part.
    RECT rc{};
    tip.GetClientRect(&rc);
    EXPECT_EQ(pixel(tip, 0, 0), 0x000000u);
    EXPECT_EQ(pixel(tip, 1, 1), 0xFFFFFFu);
    int ink = 0;
    for (int x = 2; x < rc.right - 1; ++x)
        for (int y = 2; y < rc.bottom - 1; ++y)
            ink += pixel(tip, x, y) == 0x000000u;
    EXPECT_GT(ink, 20);
    SaveWindowPng(tip, png_path("info_tip.png").c_str());
}

TEST(InfoTip, EmptyTextHidesAndTheRightEdgeHolds)
{
    SpyParent owner;
    CInfoTipWnd tip;
    ASSERT_TRUE(tip.Create(&owner));
    tip.ShowAt(POINT{1000, 300}, "Order:4711\n", 3);
    RECT r{};
    tip.GetWindowRect(&r);
    EXPECT_EQ(r.right, 1024);
    tip.ShowAt(POINT{10, 300}, "", 4);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(tip.tag(), 0);
}

// ---- pane strip ---------------------------------------------------------------------

TEST(PaneStrip, StandsDownTheLeftSideWithARaisedEdge)
{
    SpyParent parent(640, 480);
    CPaneStrip strip;
    ASSERT_TRUE(strip.Create(nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, &parent, 30));
    strip.Reposition();
    RECT r{};
    strip.GetWindowRect(&r);
    POINT tl{r.left, r.top};
    ScreenToClient(parent, &tl);
    EXPECT_EQ(tl.x, 0);
    EXPECT_EQ(tl.y, 28);
    EXPECT_EQ(r.right - r.left, 125);
    EXPECT_EQ(r.bottom - r.top, 480 - 27);
    strip.UpdateWindow();
    settle();
    EXPECT_EQ(pixel(strip, 0, 100), 0xFFFFFFu);
    EXPECT_EQ(pixel(strip, 124, 100) == 0x808080u || pixel(strip, 124, 100) == 0x000000u, true);
    EXPECT_EQ(pixel(strip, 60, 100), 0xC0C0C0u);
}
