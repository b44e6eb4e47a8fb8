#include "support/ui_support.h"
#include "uikit/chart_wnd.h"
#include "plat/testing.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace plat;

namespace {

// Records the library calls instead of making them.
struct CallLog : ChartCalls {
    std::vector<std::string> calls;
    uint32_t graph = 77;
    uint32_t CreateGraph(HWND) override
    {
        calls.push_back("create");
        return graph;
    }
    void DestroyGraph(uint32_t) override { calls.push_back("destroy"); }
    void SetupTracer(uint32_t) override { calls.push_back("tracer"); }
    void AddEmptySet(uint32_t, int set, COLORREF colour, int, int slot) override
    {
        calls.push_back("set " + std::to_string(set) + " " + std::to_string(colour) + " " + std::to_string(slot));
    }
    void SetPointSize(uint32_t, int, int) override {}
    void SetSetSlot(uint32_t, int set, int slot) override
    {
        calls.push_back("slot " + std::to_string(set) + " " + std::to_string(slot));
    }
    void SetSetVisible(uint32_t, int, int) override {}
    void AddPoint(uint32_t, int set, double x, double y) override
    {
        points.push_back({set, x, y});
    }
    void SetViewX(uint32_t, double a, double b) override
    {
        calls.push_back("viewx " + std::to_string(int(a)) + " " + std::to_string(int(b)));
    }
    void SetViewY(uint32_t, int slot, int which, double v) override
    {
        calls.push_back(std::string(slot < 0 ? "view" : "slot" + std::to_string(slot)) + (which ? " max " : " min ") +
                        std::to_string(int(v)));
    }
    void SetYTickEach(uint32_t, int slot, double each) override
    {
        calls.push_back(std::string(slot < 0 ? "view" : "slot" + std::to_string(slot)) + " tick " +
                        std::to_string(int(each)));
    }
    void Redraw(uint32_t, int mode, int set) override
    {
        calls.push_back("redraw " + std::to_string(mode) + " " + std::to_string(set));
    }
    struct Point {
        int set;
        double x, y;
        bool operator==(const Point&) const = default;
    };
    std::vector<Point> points;
};

bool g_new_month = false;
bool new_month() { return g_new_month; }

struct ChartFixture : testing::Test {
    CallLog log;
    SpyParent parent;
    CChartWnd chart;
    void SetUp() override
    {
        CChartWnd::SetChartCalls(&log);
        CChartWnd::SetNewMonthTest(new_month);
        g_new_month = false;
        ASSERT_TRUE(chart.Create(&parent, RECT{0, 0, 400, 300}, 900));
    }
    void TearDown() override
    {
        chart.DestroyWindow();
        CChartWnd::SetChartCalls(nullptr);
        CChartWnd::SetNewMonthTest(nullptr);
    }
};

} // namespace

TEST(ChartRoundUp, NextRoundedLimit)
{
    struct Case {
        double v, span, r;
    } cases[] = {
        {1234, 1234, 1300}, // step 1000 gives 2000, under 80 %: step 100
        {900, 900, 1000},   {45, -145, 50},
        {1, 1, 2},          // powers below 1 step by 1, first and refined
        {2, 2, 3},          {3, 3, 4},   {0.5, 0.5, 1}, {0.05, 0.05, 1},
        {85000, 85000, 90000},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(CChartWnd::RoundUp(c.v, c.span), c.r) << c.v;
}

TEST_F(ChartFixture, CreationSetsUpTheGraphAndThreeSetsPerSeries)
{
    EXPECT_EQ(chart.GetGraph(), 77u);
    ASSERT_GE(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[0], "create");
    EXPECT_EQ(log.calls[1], "tracer");
    log.calls.clear();
    EXPECT_TRUE(chart.AddSeries(0, 5, 1, 0x0000FF, "Cash", 0, 0, 0, 0, 1, 3, FALSE, FALSE));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"set 10005 8421504 1", "set 5 255 1", "set 1005 0 1"}));
}

TEST_F(ChartFixture, RangesWidenToRoundedLimitsOnTheWholeViewWithOneSlottedSeries)
{
    chart.SetSeriesCount(1);
    chart.AddSeries(0, 5, 0, 0xFF, "Cash", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.AddPoint(0, 900);
    EXPECT_DOUBLE_EQ(chart.GetSeries(0)->yMax, 1000);
    log.calls.clear();
    chart.AddPoint(0, 1234);
    EXPECT_DOUBLE_EQ(chart.GetSeries(0)->yMax, 1300);
    EXPECT_DOUBLE_EQ(chart.GetSlotYMax(0), 1300);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"view max 1300", "view tick 650", "redraw 1 0"}));
    log.calls.clear();
    chart.AddPoint(0, 900);
    EXPECT_DOUBLE_EQ(chart.GetSeries(0)->yMax, 1300);
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(log.points.back(), (CallLog::Point{5, 2, 900}));
}

TEST_F(ChartFixture, NegativeValuesLowerTheMinimumOnTheSlotWithTwoSlottedSeries)
{
    chart.AddSeries(0, 5, 0, 0xFF, "Cash", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.AddSeries(1, 6, 1, 0xFF00, "Sales", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    EXPECT_EQ(chart.CountSlottedSeries(), 2);
    chart.AddPoint(1, 100);
    log.calls.clear();
    chart.AddPoint(1, -45);
    EXPECT_DOUBLE_EQ(chart.GetSeries(1)->yMin, -50);
    EXPECT_DOUBLE_EQ(chart.GetSlotYMin(1), -50);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"slot1 min -50", "slot1 tick 80", "redraw 1 0"}));
}

TEST_F(ChartFixture, FreshSeriesWithSmallValuesGetsWholeSteps)
{
    chart.AddSeries(0, 5, -1, 0xFF, "Orders", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.AddPoint(0, 1);
    EXPECT_DOUBLE_EQ(chart.GetSeries(0)->yMax, 2);
    chart.AddSeries(1, 6, -1, 0xFF, "Rate", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.AddPoint(1, 0.5);
    EXPECT_DOUBLE_EQ(chart.GetSeries(1)->yMax, 1);
}

TEST_F(ChartFixture, PointsAreNotCappedAndLimitsAreRefused)
{
    chart.AddSeries(0, 5, 0, 0xFF, "Cash", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    for (int i = 0; i < 2000; ++i)
        chart.AddPoint(0, i % 7);
    EXPECT_EQ(chart.GetSeries(0)->values.size(), 2000u);
    EXPECT_EQ(chart.GetSeries(0)->values[1999], 1999 % 7);
    EXPECT_EQ(log.points.back(), (CallLog::Point{5, 1999, 1999 % 7}));

    EXPECT_FALSE(chart.AddSeries(50, 9, 0, 0, "x", 0, 0, 0, 0, 0, 0, FALSE, FALSE));
    EXPECT_FALSE(chart.AddSeries(1, 9, 3, 0, "x", 0, 0, 0, 0, 0, 0, FALSE, FALSE));
    EXPECT_FALSE(chart.AddSeries(1, 9, -2, 0, "x", 0, 0, 0, 0, 0, 0, FALSE, FALSE));
    const size_t before = log.points.size();
    chart.AddPoint(1, 10);  // never defined
    chart.AddPoint(60, 10);
    chart.AddPointToSet(12345, 10);
    EXPECT_EQ(log.points.size(), before);
    chart.AddPointToSet(5, 3);
    EXPECT_EQ(log.points.size(), before + 1);
}

TEST_F(ChartFixture, ViewMovesByTwentyTwoOnlyPastItsMaximum)
{
    chart.AddSeries(0, 5, 0, 0xFF, "Cash", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.SetViewXRange(0, 30);
    log.calls.clear();
    chart.ScrollToX(30);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"redraw 5 5"}));
    log.calls.clear();
    chart.ScrollToX(31);
    EXPECT_DOUBLE_EQ(chart.GetViewXMin(), 22);
    EXPECT_DOUBLE_EQ(chart.GetViewXMax(), 52);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"viewx 22 52", "redraw 1 0"}));
}

TEST_F(ChartFixture, MonthlyAverageStepsJoinThePreviousMonth)
{
    chart.AddSeries(0, 5, 0, 0xFF, "Sales", 0, 0, 0, 0, 0, 0, TRUE, FALSE);
    for (int v : {10, 20, 31}) // three days of the first month
        chart.AddPoint(0, v);
    g_new_month = true;
    chart.AddPoint(0, 3); // first day counted in: (10+20+31+3)/4 = 16
    g_new_month = false;
    chart.AddPoint(0, 7);
    g_new_month = true;
    chart.AddPoint(0, 10); // (7+10)/2 = 8
    std::vector<CallLog::Point> averages;
    for (const auto& p : log.points)
        if (p.set == 1005)
            averages.push_back(p);
    EXPECT_EQ(averages, (std::vector<CallLog::Point>{{1005, 0, 16}, {1005, 1, 16}, {1005, 2, 16}, {1005, 3, 16},
                                                     {1005, 3, 8}, {1005, 4, 8}, {1005, 5, 8}}));
    EXPECT_EQ(chart.GetSeries(0)->averages[5], 8);
}

TEST_F(ChartFixture, SlotRangesFallBackToTheDefaults)
{
    chart.AddSeries(0, 5, 0, 0xFF, "Cash", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.AddSeries(1, 6, 2, 0xFF, "Debt", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.SetSlotDefaults(2, -100, 500);
    log.calls.clear();
    chart.SetSlotYRange(2, 0, 0);
    EXPECT_DOUBLE_EQ(chart.GetSlotYMin(2), -100);
    EXPECT_DOUBLE_EQ(chart.GetSlotYMax(2), 500);
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"slot2 min -100", "slot2 max 500", "slot2 tick 300", "redraw 1 0"}));
}

TEST(ChartWindow, FailedGraphShowsItsBoxAndStaysQuiet)
{
    struct NoGraph : ChartCalls {
        int made = 0;
        uint32_t CreateGraph(HWND) override { return 0; }
        void AddEmptySet(uint32_t, int, COLORREF, int, int) override { ++made; }
        void AddPoint(uint32_t, int, double, double) override { ++made; }
    } calls;
    CChartWnd::SetChartCalls(&calls);
    ScriptedHost host;
    host.Answer(IDOK, "");
    SpyParent parent;
    CChartWnd chart;
    ASSERT_TRUE(chart.Create(&parent, RECT{0, 0, 100, 100}, 901));
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Fail to create graph");
    chart.AddSeries(0, 5, 0, 0, "x", 0, 0, 0, 0, 0, 0, FALSE, FALSE);
    chart.AddPoint(0, 10);
    EXPECT_EQ(calls.made, 0);
    EXPECT_EQ(chart.GetSeries(0)->values.size(), 1u);
    chart.DestroyWindow();
    CChartWnd::SetChartCalls(nullptr);
}
