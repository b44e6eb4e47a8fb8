// The graph window: what reaches the caller, painting, value texts, the
// scroller's steps, points by message and bookmark double-clicks.
#include "support/graph_fixture.h"
#include "dvec.h"
#include "plat/controls.h"
#include "plat/memory.h"
#include <algorithm>
#include <chrono>
#include <cstring>

using namespace qxtest;
using namespace plat;

namespace {

// A view of one unit per pixel over the area, so pixels and values agree.
RECT unit_view(QXGRAPH g)
{
    RECT a{};
    QXIGetGraphDisplayRect(g, &a);
    QXISetViewXMin(g, 0, 0);
    QXISetViewXMax(g, a.right - a.left - 1, 0);
    QXISetViewYMin(g, 0, 0);
    QXISetViewYMax(g, a.bottom - a.top - 1, 0);
    return a;
}

std::string x_text(HWND w, int px)
{
    char buf[QX_VALUE_TEXT_SIZE] = {};
    SendMessage(w, MSG_GET_X_TEXT, WPARAM(px), LPARAM(buf));
    return buf;
}

void add_line(QXGRAPH g, int id, int n, double y, COLORREF c)
{
    QXIAddEmptyGraphSet(g, id);
    QXISetGraphSetColor(g, id, c, 0);
    QXISetGraphSetPointStyle(g, id, 0, 0);
    for (int i = 0; i < n; ++i) {
        double x = i;
        QXIAddPoint(g, id, &x, &y);
    }
}

} // namespace

using ChartWindow = GraphTest;

TEST_F(ChartWindow, PaintNeverReachesTheCallerOtherMessagesDo)
{
    QXISetAlignGraphToGrid(graph, 0, 0);
    paint_now();
    EXPECT_EQ(std::count(g_seen.begin(), g_seen.end(), WM_PAINT), 0);
    g_seen.clear();
    MoveWindow(window, 0, 0, 700, 300, TRUE);
    EXPECT_NE(std::find(g_seen.begin(), g_seen.end(), WM_SIZE), g_seen.end());
    RECT a{};
    QXIGetGraphDisplayRect(graph, &a);
    EXPECT_EQ(a.right, 700 - 20);
    EXPECT_EQ(a.bottom, 300 - 80);
}

TEST_F(ChartWindow, DestroyGivesTheWindowBack)
{
    QXIDestroyGraph(graph);
    graph = 0;
    g_seen.clear();
    paint_now();
    EXPECT_NE(std::find(g_seen.begin(), g_seen.end(), WM_PAINT), g_seen.end());
}

TEST_F(ChartWindow, AreaAndWindowBackgrounds)
{
    QXISetItemColor(graph, 0, RGB(10, 20, 30), 0);
    QXISetItemColor(graph, 2, RGB(200, 210, 220), 0);
    EXPECT_EQ(pixel(400, 200), RGB(200, 210, 220));
    EXPECT_EQ(pixel(30, 200), RGB(10, 20, 30));
    // The default frame is raised: light top and left, dark bottom and right.
    EXPECT_EQ(GetSurfacePixel(window, 0, 200), RGB(255, 255, 255));
    EXPECT_EQ(GetSurfacePixel(window, width - 1, 200), RGB(128, 128, 128));
}

TEST_F(ChartWindow, LongSetIsOneUnbrokenLine)
{
    QXISetXGridLineVisible(graph, 0, 0);
    QXISetYGridLineVisible(graph, 0, 0);
    RECT a = unit_view(graph);
    add_line(graph, 1, 250, 50, RGB(255, 0, 0));
    paint_now();
    int row = a.bottom - 1 - 50;
    // The line ends before its last pixel, as every line does.
    for (int x = a.left; x < a.left + 249; ++x)
        ASSERT_EQ(GetSurfacePixel(window, x, row), RGB(255, 0, 0)) << x;
}

TEST_F(ChartWindow, NoXSpanDrawsNoSets)
{
    RECT a = unit_view(graph);
    add_line(graph, 1, 50, 50, RGB(255, 0, 0));
    QXISetViewXMax(graph, 0, 0);
    paint_now();
    EXPECT_NE(GetSurfacePixel(window, a.left + 10, a.bottom - 51), RGB(255, 0, 0));
}

TEST_F(ChartWindow, MarkersOfSizeOneAndThree)
{
    QXISetXGridLineVisible(graph, 0, 0);
    QXISetYGridLineVisible(graph, 0, 0);
    QXISetItemColor(graph, 2, RGB(0, 0, 0), 0);
    RECT a = unit_view(graph);
    for (int id : {1, 2}) {
        QXIAddEmptyGraphSet(graph, id);
        QXISetGraphSetColor(graph, id, RGB(255, 255, 255), 0);
        QXISetGraphSetLineStyle(graph, id, 0, 0);
        double x = id == 1 ? 100 : 200, y = 100;
        QXIAddPoint(graph, id, &x, &y);
    }
    QXISetGraphSetPointStyle(graph, 2, 2, 0);
    QXISetGraphSetPointSize(graph, 2, 3, 0);
    paint_now();
    int row = a.bottom - 1 - 100;
    COLORREF white = RGB(255, 255, 255), black = 0;
    EXPECT_EQ(GetSurfacePixel(window, a.left + 100, row), white);
    EXPECT_EQ(GetSurfacePixel(window, a.left + 101, row), black);
    EXPECT_EQ(GetSurfacePixel(window, a.left + 100, row + 1), black);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            EXPECT_EQ(GetSurfacePixel(window, a.left + 200 + dx, row + dy), white) << dx << "," << dy;
    EXPECT_EQ(GetSurfacePixel(window, a.left + 202, row), black);
}

TEST_F(ChartWindow, TinyTickSpacingOverFarDataPaintsQuickly)
{
    QXISetXTickScale(graph, 1, 0);
    QXISetYTickScale(graph, 1, 0);
    QXISetXTickEach(graph, 1e-9, 0);
    QXISetYTickEach(graph, 1e-9, 0);
    QXISetXGridLineScale(graph, 1, 0);
    QXIAddEmptyGraphSet(graph, 1);
    double x = 1e12, y = 5;
    QXIAddPoint(graph, 1, &x, &y);
    auto start = std::chrono::steady_clock::now();
    paint_now();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(ChartWindow, MonthTextsFollowTheFirstMonth)
{
    RECT a = unit_view(graph);
    int starts[] = {0, 22, 42};
    QXISetXValType(graph, 1, 0);
    QXISetXValMonths(graph, starts, 3, 0);
    EXPECT_EQ(x_text(window, a.left + 25), "5 February");
    QXISetXValFirstMonth(graph, 2, 0);
    EXPECT_EQ(x_text(window, a.left + 25), "6 April");
    QXISetXValFirstMonth(graph, -1, 0);
    // December is the first month: the second is January, whose fourth working day is the 6th.
    EXPECT_EQ(x_text(window, a.left + 25), "6 January");
    EXPECT_EQ(x_text(window, a.left + 500), "???");
}

TEST_F(ChartWindow, ScrollStepsAndEnds)
{
    // An area 101 pixels wide over the view 0..100.
    QXISetGraphDisplaySpace(graph, 60, -1, width - 60 - 101, -1, 0);
    RECT a{};
    QXIGetGraphDisplayRect(graph, &a);
    ASSERT_EQ(a.right - a.left, 101);
    QXISetViewXMax(graph, 100, 0);
    QXISetScrollerUnitChange(graph, 1);
    QXISetScrollerSmallChange(graph, 10.0);
    add_line(graph, 1, 301, 5, 0);
    EXPECT_EQ(x_text(window, a.left), "0");
    SendMessage(window, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(x_text(window, a.left), "10");
    SendMessage(window, WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(x_text(window, a.left), "200");
    HWND bar = GetWindow(window, GW_CHILD);
    ASSERT_NE(bar, 0u);
    EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 32767);
    SendMessage(window, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(x_text(window, a.left), "200");
    SendMessage(window, WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(x_text(window, a.left), "0");
}

TEST_F(ChartWindow, NarrowDataNeverScrolls)
{
    RECT a = unit_view(graph);
    add_line(graph, 1, 20, 5, 0);
    SendMessage(window, WM_HSCROLL, SB_RIGHT, 0);
    SendMessage(window, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(x_text(window, a.left), "0");
}

TEST_F(ChartWindow, PointsByMessageAndTheirBlockIsAlwaysFreed)
{
    auto payload = [](int32_t connection, HGLOBAL y) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 12);
        uint8_t* p = static_cast<uint8_t*>(GlobalLock(block));
        uint32_t zero = 0;
        std::memcpy(p, &connection, 4);
        std::memcpy(p + 4, &zero, 4);
        std::memcpy(p + 8, &y, 4);
        return std::pair{block, p};
    };
    // No set has connection 77: everything is freed all the same.
    HGLOBAL y = qxi::vec_create(2, 4);
    auto [block, p] = payload(77, y);
    SendMessage(window, MSG_ADD_POINTS, 0, LPARAM(p));
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_FALSE(qxi::vec_valid(y));
    // A Y vector of the wrong type too.
    HGLOBAL yl = qxi::vec_create(0, 4);
    auto [block2, p2] = payload(0, yl);
    QXIAddEmptyGraphSet(graph, 1);
    SendMessage(window, MSG_ADD_POINTS, 0, LPARAM(p2));
    EXPECT_EQ(GlobalSize(block2), 0u);
    GraphSetInfo info{};
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 0);
    // An unconnected set has connection 0, so a payload for 0 reaches it.
    HGLOBAL yd = qxi::vec_create(2, 4);
    auto [block3, p3] = payload(0, yd);
    SendMessage(window, MSG_ADD_POINTS, 0, LPARAM(p3));
    QXIGetGraphSetInfoByID(graph, 1, &info);
    EXPECT_EQ(info.point_count, 4);
    EXPECT_EQ(GlobalSize(block3), 0u);
}

TEST_F(ChartWindow, BookmarkDoubleClickReachesTheCaller)
{
    RECT a = unit_view(graph);
    QXIAddBookmark(graph, 7, 40.6, nullptr, 0, 0);
    paint_now();
    SimulateMouseDown(window, Button::Left, a.left + 40, a.bottom + 3);
    SimulateMouseUp(window, Button::Left, a.left + 40, a.bottom + 3);
    SimulateMouseDoubleClick(window, Button::Left, a.left + 40, a.bottom + 3);
    PumpEvents(10);
    ASSERT_EQ(g_bookmark_clicks.size(), 1u);
    EXPECT_EQ(g_bookmark_clicks[0].first, 7);
    EXPECT_EQ(g_bookmark_clicks[0].second, 40);
}

TEST_F(ChartWindow, TracerBoxShowsBothTexts)
{
    RECT a = unit_view(graph);
    QXISetTracerValVisible(graph, 1);
    QXISetTracerValActive(graph, 2);
    QXISetTracerValType(graph, 2);
    QXISetTracerValBkColor(graph, RGB(0, 255, 255));
    SimulateMouseMove(window, a.left + 100, a.bottom - 1 - 50);
    PumpEvents(10);
    paint_now();
    // The box starts right of the point and ends above it.
    EXPECT_EQ(GetSurfacePixel(window, a.left + 100 + 6, a.bottom - 1 - 50 - 5), RGB(0, 255, 255));
}

TEST_F(ChartWindow, SampleRangeHintKeepsTheViewWhenExtentsAreTracked)
{
    RECT a{};
    QXIGetGraphDisplayRect(graph, &a);
    QXIAddEmptyGraphSet(graph, 1);
    QXISetSampleGraph(graph, 1, 2, 0);
    QXISetYMinMaxScale(graph, 0, 0);
    char top[QX_VALUE_TEXT_SIZE] = {}, bottom[QX_VALUE_TEXT_SIZE] = {};
    SendMessage(window, MSG_GET_Y_TEXT, WPARAM(a.top), LPARAM(top));
    SendMessage(window, MSG_GET_Y_TEXT, WPARAM(a.bottom - 1), LPARAM(bottom));
    EXPECT_STREQ(top, "10");
    EXPECT_STREQ(bottom, "0");
}

TEST_F(ChartWindow, DirectDrawsOfOnePointOrUnknownSetsAreHarmless)
{
    QXIAddEmptyGraphSet(graph, 1);
    double x = 1, y = 1;
    QXIAddPoint(graph, 1, &x, &y);
    EXPECT_EQ(QXIRedrawGraph(graph, 5, 1), 0);
    EXPECT_EQ(QXIRedrawGraph(graph, 3, 99), 0);
    EXPECT_EQ(QXIRedrawGraph(graph, 4, 0), 0);
    EXPECT_EQ(QXIRedrawGraph(graph, 77, 0), 0);
}

TEST_F(ChartWindow, WindowsWithoutAGraphGetTheDefaultProcedure)
{
    HWND other = CreateWindowEx(0, kCallerClass, "plain", WS_POPUP, 0, 0, 50, 50, 0, 0, 0, nullptr);
    char text[16] = {};
    SetWindowText(other, "plain");
    EXPECT_EQ(QXIDefWndProc(other, WM_GETTEXT, sizeof text, LPARAM(text)), 5);
    EXPECT_STREQ(text, "plain");
    EXPECT_EQ(QXICreateGraph(0, 0), 0u);
    EXPECT_EQ(QXICreateGraph(0, window), 0u) << "one graph per window";
}

TEST_F(ChartWindow, BookmarkGlyphIsKeyedOverTheStrip)
{
    RECT a = unit_view(graph);
    QXISetItemColor(graph, 0, RGB(10, 20, 30), 0);
    QXIAddBookmark(graph, 3, 100, nullptr, 0, 0);
    paint_now();
    int left = a.left + 100 - 6;
    // Red flag cloth, black pole, the window background where the key is.
    EXPECT_EQ(GetSurfacePixel(window, left + 5, a.bottom + 2), RGB(255, 0, 0));
    EXPECT_EQ(GetSurfacePixel(window, left + 2, a.bottom + 6), RGB(0, 0, 0));
    EXPECT_EQ(GetSurfacePixel(window, left + 11, a.bottom + 7), RGB(10, 20, 30));
}

TEST_F(ChartWindow, TickAndValuePositionsMoveTheAreaOnlyWithAutoLocation)
{
    RECT before{}, after{};
    QXIGetGraphDisplayRect(graph, &before);
    QXISetXTickPos(graph, 1, 0);
    QXISetYValPos(graph, 1, 0);
    QXIGetGraphDisplayRect(graph, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom);
    QXISetAutoGraphLocation(graph, 1, 0);
    QXIGetGraphDisplayRect(graph, &after);
    EXPECT_NE(after.top, before.top);
    // Display spaces are ignored while the location is automatic.
    RECT fixed = after;
    QXISetGraphDisplaySpace(graph, 5, 5, 5, 5, 0);
    QXIGetGraphDisplayRect(graph, &after);
    EXPECT_EQ(after.left, fixed.left);
}
