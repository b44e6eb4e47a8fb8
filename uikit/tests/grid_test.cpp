#include "support/ui_support.h"
#include "uikit/grid.h"
#include "uikit/sim_dialog.h"
#include "plat/controls.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <string>

using namespace plat;

namespace {

// A modeless dialog on the grid template; the grid lives beside it.
struct GridDialog : testing::Test {
    FakeView view;
    CSimDialog dialog{TPL_GRID, &view, nullptr};
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(TPL_GRID, nullptr));
        dialog.ShowWindow(SW_SHOW);
        settle();
    }
    void TearDown() override
    {
        dialog.DestroyWindow();
        settle();
    }
};

// 4 columns and 5 rows in a 450 x 120 area at (20, 20): columns 100 wide,
// rows 20 high.
void fill(CGrid& grid, CWnd& parent)
{
    for (const char* c : {"Jan", "Feb", "Mar", "Apr"})
        grid.AddColumn(c, SS_RIGHT);
    for (const char* r : {"A", "B", "C", "D", "E"})
        grid.AddRow(r);
    grid.Create(0, &parent, 20, 20, 470, 140, 0);
}

} // namespace

TEST(Grid, IdsFollowTheNumberOfLiveGrids)
{
    ASSERT_EQ(CGrid::LiveCount(), 0);
    {
        CGrid first;
        CGrid second;
        EXPECT_EQ(first.GetBaseId(), 1000);
        EXPECT_EQ(second.GetBaseId(), 2000);
        EXPECT_EQ(first.CellId(2, 3), 1203);
        EXPECT_EQ(CGrid::LiveCount(), 2);
    }
    EXPECT_EQ(CGrid::LiveCount(), 0);
    CGrid again;
    EXPECT_EQ(again.GetBaseId(), 1000);
}

TEST_F(GridDialog, ColumnsShareTheAreaAfterTheHeader)
{
    CGrid grid;
    for (int i = 0; i < 3; ++i)
        grid.AddColumn("c", SS_LEFT);
    grid.AddRow("r");
    grid.Create(0, &dialog, 0, 0, 350, 100, 0);
    EXPECT_EQ(grid.GetColumnWidth(), 100);
    EXPECT_EQ(grid.GetRowHeight(), 80);
    // Text cells: 5 in from the left and right, 4 below the line.
    const RECT rc = grid.GetCellRect(0, 2);
    EXPECT_EQ(rc.left, 50 + 200 + 5);
    EXPECT_EQ(rc.right, 50 + 300 - 5);
    EXPECT_EQ(rc.top, 20 + 4);
    EXPECT_EQ(grid.GetCellText(0, 2), "???");
}

TEST(Grid, SeventeenthColumnAndRowAreRefusedWithTheirBoxes)
{
    ScriptedHost host;
    host.Answer(IDOK, "CGrid");
    CGrid grid;
    for (int i = 0; i < 17; ++i)
        grid.AddColumn("c", SS_LEFT);
    for (int i = 0; i < 17; ++i)
        grid.AddRow("r");
    EXPECT_EQ(grid.GetColumnCount(), 16);
    EXPECT_EQ(grid.GetRowCount(), 16);
    ASSERT_EQ(host.boxes().size(), 2u);
    EXPECT_EQ(host.boxes()[0].text, "Too many columns");
    EXPECT_EQ(host.boxes()[0].caption, "CGrid");
    EXPECT_EQ(host.boxes()[1].text, "Too many rows");
}

TEST(Grid, CellIntegersReadAsTheRuntimeDoesWithinSixteenBits)
{
    struct Case {
        const char* text;
        int16_t value;
        bool clamped;
    } cases[] = {
        {"12ab", 12, false},   {"abc", 0, false},       {" -7", -7, false},   {"\t+15", 15, false},
        {"32767", 32767, false}, {"40000", 32767, true}, {"-40000", -32768, true},
        {"99999999999999999999", 32767, true},            {"", 0, false},        {"-", 0, false},
    };
    for (const Case& c : cases) {
        bool clamped = !c.clamped;
        EXPECT_EQ(CGrid::ParseCellInt(c.text, &clamped), c.value) << c.text;
        EXPECT_EQ(clamped, c.clamped) << c.text;
    }
}

TEST_F(GridDialog, CellsReadBackAndRefuseOutOfRange)
{
    CGrid grid;
    fill(grid, dialog);
    grid.SetCellText(1, 1, "40000");
    int16_t v = 1;
    EXPECT_FALSE(grid.GetCellInt(1, 1, &v));
    EXPECT_EQ(v, 32767);
    grid.SetCellInt(2, 3, -123);
    EXPECT_TRUE(grid.GetCellInt(2, 3, &v));
    EXPECT_EQ(v, -123);
    EXPECT_EQ(grid.GetCellText(2, 3), "-123");
    // The cell's control is the one with the cell's id.
    EXPECT_EQ(grid.GetCellWnd(2, 3)->m_hWnd, GetDlgItem(dialog, 1203));
    // Out of range: nothing happens, nothing is read.
    grid.SetCellText(5, 0, "x");
    grid.SetCellText(0, 4, "x");
    EXPECT_EQ(grid.GetCellText(-1, 0), "");
    EXPECT_FALSE(grid.GetCellInt(0, 9, &v));
    EXPECT_EQ(v, 0);
    // Texts are cut to 39 characters.
    grid.SetCellText(0, 0, std::string(60, '7').c_str());
    EXPECT_EQ(grid.GetCellText(0, 0), std::string(39, '7'));
}

TEST_F(GridDialog, HitTestFindsTheCell)
{
    CGrid grid;
    fill(grid, dialog);
    int row = -1, col = -1;
    // Row 2 starts at y 20 + 20 + 40 = 80; column 1 at x 20 + 50 + 100 = 170.
    EXPECT_TRUE(grid.HitTest(180, 85, &row, &col));
    EXPECT_EQ(row, 2);
    EXPECT_EQ(col, 1);
    EXPECT_FALSE(grid.HitTest(30, 85, &row, &col)); // the row header
}

TEST_F(GridDialog, EditorReplacesTheCellAndTabWalksOn)
{
    CGrid grid;
    fill(grid, dialog);
    grid.SetCellText(2, 0, "55");
    grid.OnLButtonDown(POINT{20 + 50 + 30, 20 + 20 + 2 * 20 + 10});
    ASSERT_NE(grid.GetEditor(), nullptr);
    EXPECT_EQ(grid.GetEditedRow(), 2);
    EXPECT_EQ(grid.GetEditedColumn(), 0);
    EXPECT_FALSE(IsWindowVisible(grid.GetCellWnd(2, 0)->m_hWnd));
    // 20 pixels narrower than the column on each side.
    RECT er{};
    GetWindowRect(grid.GetEditor()->m_hWnd, &er);
    POINT tl{er.left, er.top};
    ScreenToClient(dialog, &tl);
    EXPECT_EQ(tl.x, 20 + 50 + 20);
    EXPECT_EQ(er.right - er.left, 100 - 40);
    EXPECT_EQ(grid.GetEditor()->GetWindowText(), "55");
    const LRESULT sel = grid.GetEditor()->SendMessage(EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(sel), 0);
    EXPECT_EQ(HIWORD(sel), 2);
    // The editor has the id of cell (0, 0); look-ups still find the cell.
    EXPECT_EQ(GetDlgCtrlID(grid.GetEditor()->m_hWnd), 1000);
    EXPECT_NE(grid.GetCellWnd(0, 0)->m_hWnd, grid.GetEditor()->m_hWnd);

    // Typed text lands in the cell when the edit ends; Tab from the last
    // column goes to column 0 of the next row.
    grid.BeginEdit(2, 3);
    grid.GetEditor()->SetWindowText("77");
    SimulateKeyDown(grid.GetEditor()->m_hWnd, VK_TAB);
    settle();
    EXPECT_EQ(grid.GetCellText(2, 3), "77");
    EXPECT_EQ(grid.GetEditedRow(), 3);
    EXPECT_EQ(grid.GetEditedColumn(), 0);

    // Tab in the bottom-right cell stores the text and closes the editor.
    grid.BeginEdit(4, 3);
    grid.GetEditor()->SetWindowText("9");
    SimulateKeyDown(grid.GetEditor()->m_hWnd, VK_TAB);
    settle();
    EXPECT_EQ(grid.GetEditor(), nullptr);
    EXPECT_EQ(grid.GetEditedRow(), -1);
    EXPECT_EQ(grid.GetCellText(4, 3), "9");
    EXPECT_TRUE(IsWindowVisible(grid.GetCellWnd(4, 3)->m_hWnd));
}

TEST_F(GridDialog, ChoiceCellsOpenNoEditor)
{
    CGrid grid;
    grid.SetCellKind(CGrid::CHOICE_CELLS);
    grid.AddColumn("Rule", SS_LEFT);
    for (const char* item : {"FIFO", "LIFO", "SPT", "EDD", "CR", "extra"})
        grid.AddChoiceItem(0, item);
    grid.AddRow("M1");
    grid.Create(0, &dialog, 0, 0, 150, 40, 0);
    grid.OnLButtonDown(POINT{60, 25});
    EXPECT_EQ(grid.GetEditor(), nullptr);
    // Five items kept; the list is a row and 5 x 24 pixels high.
    const RECT rc = grid.GetCellRect(0, 0);
    EXPECT_EQ(rc.bottom - rc.top, 20 + 5 * 24);
    grid.SetComboSel(0, 0, 2);
    EXPECT_EQ(grid.GetComboSel(0, 0), 2);
    EXPECT_EQ(SendMessage(grid.GetCellWnd(0, 0)->m_hWnd, CB_GETCOUNT, 0, 0), 5);
}

#ifndef NDEBUG
TEST(GridDeathTest, CellWindowOutOfRangeStopsDebugBuilds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CGrid grid;
    grid.AddColumn("c", SS_LEFT);
    grid.AddRow("r");
    EXPECT_DEATH(grid.GetCellWnd(1, 0), "out of range");
}
#endif
