#include "support/ui_support.h"
#include "uikit/lists.h"
#include "uikit/uikit.h"
#include "plat/controls.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>

using namespace plat;

namespace {

// A list whose client area holds exactly `rows` rows of 16 pixels.
template <class List>
void make_list(List& list, SpyParent& parent, int id, int rows)
{
    ASSERT_TRUE(list.Create(id, &parent, 10, 10, 300, 10 + rows * 16));
    RECT rc{};
    list.GetClientRect(&rc);
    // Grow the window by what the border, edge and bar take.
    const int extra = rows * 16 - (rc.bottom - rc.top);
    RECT w{};
    list.GetWindowRect(&w);
    list.SetWindowPos(0, 0, 0, w.right - w.left, rows * 16 + extra, SWP_NOMOVE | SWP_NOZORDER);
    list.GetClientRect(&rc);
    ASSERT_EQ(rc.bottom - rc.top, rows * 16);
    settle();
}

void click(HWND hwnd, int x, int y)
{
    SimulateMouseDown(hwnd, Button::Left, x, y);
    SimulateMouseUp(hwnd, Button::Left, x, y);
    settle();
}

struct CheckListFixture : testing::Test {
    SpyParent parent;
    CSelectCheckList list;
    void SetUp() override
    {
        make_list(list, parent, 55, 10);
        list.AddRow("k\tContracts offered", FALSE); // 0 header
        list.AddRow("k\tFirst", TRUE);              // 1
        list.AddRow("k\tSecond", TRUE);             // 2
        list.AddRow("k\t----", FALSE);              // 3 separator
        list.AddRow("k\tThird", TRUE);              // 4
        int32_t tabs[2] = {30, 150};
        list.SetTabStops(2, tabs);
        settle();
    }
};

} // namespace

TEST_F(CheckListFixture, CheckAreaClicksCycleUndecidedAcceptedRejected)
{
    const int y = 1 * 16 + 8; // row 1
    EXPECT_EQ(list.GetCheck(1), 0);
    click(list, 5, y);
    EXPECT_EQ(list.GetCheck(1), 2);
    click(list, 5, y);
    EXPECT_EQ(list.GetCheck(1), 1);
    click(list, 17, y);
    EXPECT_EQ(list.GetCheck(1), 2);
    // Each click also selected the row and told the parent once.
    EXPECT_EQ(list.GetCurSel(), 1);
    const auto notices = parent.of(WM_COMMAND);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0], (Recorded{WM_COMMAND, MAKEWPARAM(55, LBN_SELCHANGE), static_cast<LPARAM>(list.m_hWnd)}));
}

TEST_F(CheckListFixture, TextClickSelectsWithoutChangingTheCheck)
{
    click(list, 100, 2 * 16 + 4);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetCheck(2), 0);
    // A header row is neither selected nor checked.
    click(list, 5, 0 * 16 + 4);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetCheck(0), 0);
    // Below the last row nothing changes.
    click(list, 100, 9 * 16 + 4);
    EXPECT_EQ(list.GetCurSel(), 2);
}

TEST_F(CheckListFixture, KeysStopAtRowsThatCannotBeSelected)
{
    list.SetCurSel(2, TRUE);
    list.SendMessage(WM_KEYDOWN, VK_DOWN, 0); // row 3 is a separator
    EXPECT_EQ(list.GetCurSel(), 2);
    list.SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(list.GetCurSel(), 1);
    list.SendMessage(WM_KEYDOWN, VK_UP, 0); // row 0 is the header
    EXPECT_EQ(list.GetCurSel(), 1);
    list.SendMessage(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(list.GetCurSel(), 4);
    list.SendMessage(WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(list.GetCurSel(), 4);
}

TEST_F(CheckListFixture, SelectableRowsAreCountedPastHeaders)
{
    list.SetCheck(1, 2, FALSE);
    list.SetCheck(2, 1, FALSE);
    list.SetCheck(4, 2, FALSE);
    EXPECT_EQ(list.SelectableToRow(0), 1);
    EXPECT_EQ(list.SelectableToRow(2), 4);
    EXPECT_EQ(list.GetSelectableCheck(0), 2);
    EXPECT_EQ(list.GetSelectableCheck(1), 1);
    EXPECT_EQ(list.GetSelectableCheck(2), 2);
    // Past the end there is no row, and no decision.
    EXPECT_EQ(list.SelectableToRow(3), -1);
    EXPECT_EQ(list.GetSelectableCheck(3), 0);
}

TEST_F(CheckListFixture, RowsOutOfRangeAreNoOps)
{
    const int before = uikit_refusal_count();
    EXPECT_EQ(list.GetCheck(-1), 0);
    EXPECT_EQ(list.GetCheck(5), 0);
    list.SetCheck(-1, 2, TRUE);
    list.SetCheck(99, 2, TRUE);
    EXPECT_EQ(list.SetCurSel(99, TRUE), 0);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_TRUE(list.GetRowText(7).empty());
    EXPECT_GE(uikit_refusal_count() - before, 4);
    EXPECT_TRUE(parent.of(WM_COMMAND).empty());
}

TEST_F(CheckListFixture, SelectionReturnsTheParentsAnswer)
{
    parent.reply = 7;
    EXPECT_EQ(list.SetCurSel(4, TRUE), 7);
    EXPECT_EQ(list.SetCurSel(3, TRUE), 0); // separator: no notice
    EXPECT_EQ(parent.of(WM_COMMAND).size(), 1u);
}

TEST_F(CheckListFixture, PaintsFacesBandsAndSelection)
{
    list.SetCheck(1, 2, FALSE);
    list.SetCheck(2, 1, FALSE);
    list.SetCurSel(4, TRUE);
    list.Invalidate();
    list.UpdateWindow();
    settle();
    // Header row: no face, grey band from x 18.
    EXPECT_EQ(pixel(list, 5, 8), 0xFFFFFFu);
    EXPECT_EQ(pixel(list, 200, 2), 0xC0C0C0u);
    // The faces' box outline is black at the face's left edge.
    EXPECT_EQ(pixel(list, 1, 16 + 8), 0x000000u);
    // Accepted tick is green, rejected cross is red.
    bool green = false, red = false;
    for (int x = 2; x < 16; ++x)
        for (int y = 1; y < 15; ++y) {
            green |= pixel(list, x, 16 + y) == 0x008000u;
            red |= pixel(list, x, 32 + y) == 0xC00000u || pixel(list, x, 32 + y) == 0x0000C0u;
        }
    EXPECT_TRUE(green);
    EXPECT_TRUE(red);
    // The selected selectable row is black.
    EXPECT_EQ(pixel(list, 250, 4 * 16 + 8), 0x000000u);
}

TEST(ListScrolling, ShortListDoesNotScroll)
{
    SpyParent parent;
    CTabbedList list;
    make_list(list, parent, 60, 10);
    for (int i = 0; i < 5; ++i)
        list.AddRow("k\ta", 0);
    EXPECT_LT(list.GetScrollRange(), 1);
    for (UINT key : {VK_END, VK_NEXT, VK_DOWN}) {
        list.SendMessage(WM_KEYDOWN, key, 0);
        EXPECT_EQ(list.GetTopRow(), 0) << key;
    }
    list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(list.GetTopRow(), 0);
}

TEST(ListScrolling, TwelveRowsScrollOverThreeTops)
{
    SpyParent parent;
    CTabbedList list;
    make_list(list, parent, 61, 10);
    for (int i = 0; i < 12; ++i)
        list.AddRow("k\trow", 0);
    EXPECT_EQ(list.GetScrollRange(), 3);
    int minPos = -1, maxPos = -1;
    GetScrollRange(list, SB_VERT, &minPos, &maxPos);
    EXPECT_EQ(minPos, 0);
    EXPECT_EQ(maxPos, 2);
    list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(list.GetTopRow(), 1);
    list.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(list.GetTopRow(), 2);
    list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(list.GetTopRow(), 2);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), 2);
    list.SendMessage(WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(list.GetTopRow(), 0);
    list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
    EXPECT_EQ(list.GetTopRow(), 1);
    // The keys only scroll; nothing was selected.
    EXPECT_EQ(list.GetCurSel(), -1);
}

TEST(TabbedList, ClicksSelectRowsAndClearBelowTheLast)
{
    SpyParent parent;
    CTabbedList list;
    make_list(list, parent, 62, 10);
    list.AddRow("K\tA\tB", 0);
    list.AddRow("K\tC\tD", 1);
    int32_t tabs[2] = {10, 120};
    list.SetTabStops(2, tabs);
    click(list, 50, 16 + 3);
    EXPECT_EQ(list.GetCurSel(), 1);
    click(list, 50, 5 * 16);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(list.SendMessage(LB_SETCURSEL, 0, 0), 1);
    EXPECT_EQ(list.GetCurSel(), 0);
    // The list tells nobody.
    EXPECT_TRUE(parent.log.empty());
    char text[8];
    EXPECT_TRUE(list.GetRowText(1, text, sizeof text));
    EXPECT_STREQ(text, "K\tC\tD");
    EXPECT_FALSE(list.GetRowText(2, text, sizeof text));
    EXPECT_STREQ(text, "");
}

TEST(TabbedList, ShowsFieldsAfterTheKeyAtTheTabStops)
{
    SpyParent parent;
    CTabbedList list;
    make_list(list, parent, 63, 4);
    list.AddRow("KEYKEYKEY\tA\tB", 0);
    list.AddRow("x\ty", 1);
    int32_t tabs[2] = {40, 140};
    list.SetTabStops(2, tabs);
    list.Invalidate();
    list.UpdateWindow();
    settle();
    auto ink = [&](int x0, int x1, int y0, int y1, COLORREF c) {
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y)
                if (pixel(list, x, y) == c)
                    return true;
        return false;
    };
    // Row 0: nothing left of the first stop (the key is hidden), text at both stops.
    EXPECT_FALSE(ink(0, 38, 0, 16, 0x000000));
    EXPECT_TRUE(ink(40, 60, 0, 16, 0x000000));
    EXPECT_TRUE(ink(140, 160, 0, 16, 0x000000));
    // Row 1 is marked: dark red band with white text.
    EXPECT_EQ(pixel(list, 100, 16 + 1), RGB(128, 0, 0));
    EXPECT_TRUE(ink(40, 60, 16, 32, 0xFFFFFF));
}
