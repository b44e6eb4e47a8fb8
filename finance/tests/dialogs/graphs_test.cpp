// The Finance graphs on real chart-library graphs, offscreen: the series
// and slots of the summary graphs as "Select graphs" arranges them, the
// ranges that grow with the values, and the profit graph's months.
#include "finance/finance_graphs.h"
#include "plat/config.h"
#include "plat/fw/app.h"
#include "plat/fw/wnd.h"
#include "plat/module.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "qxi32/qxi32.h"
#include "uikit/uikit.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace plat;
namespace fs = std::filesystem;

namespace {

// Passes every call on to the library and keeps what a graph was given.
struct Watched : ChartCalls {
    struct Point {
        int set;
        double x, y;
    };
    std::vector<Point> points;
    std::vector<std::pair<int, int>> visible;   // set, flag
    std::vector<std::string> ranges;
    void AddPoint(uint32_t g, int set, double x, double y) override
    {
        points.push_back({set, x, y});
        ChartCalls::AddPoint(g, set, x, y);
    }
    void SetSetVisible(uint32_t g, int set, int on) override
    {
        visible.push_back({set, on});
        ChartCalls::SetSetVisible(g, set, on);
    }
    void SetViewY(uint32_t g, int slot, int which, double v) override
    {
        ranges.push_back("slot" + std::to_string(slot) + (which ? " max " : " min ") + std::to_string(int(v)));
        ChartCalls::SetViewY(g, slot, which, v);
    }
    void SetYTickEach(uint32_t g, int slot, double each) override
    {
        ranges.push_back("slot" + std::to_string(slot) + " tick " + std::to_string(int(each)));
        ChartCalls::SetYTickEach(g, slot, each);
    }
    std::vector<double> ys(int set) const
    {
        std::vector<double> out;
        for (const Point& p : points)
            if (p.set == set)
                out.push_back(p.y);
        return out;
    }
    int last_visible(int set) const
    {
        int v = -1;
        for (auto [s, on] : visible)
            if (s == set)
                v = on;
        return v;
    }
};

class Parent : public CWnd {
public:
    Parent() { CreateEx(0, nullptr, "finance graphs", WS_POPUP | WS_VISIBLE, 0, 0, 640, 420, 0, 0); }
    ~Parent() override
    {
        if (m_hWnd != 0)
            DestroyWindow();
    }
};

class FinanceGraphs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        const HINSTANCE module = RegisterModule("FINGRAPH.EXE", nullptr);
        register_finance_graph_templates(module);
        uikit_register_resources(module);
        AfxSetResourceHandle(module);
    }
    void SetUp() override { CChartWnd::SetChartCalls(&calls); }
    void TearDown() override
    {
        CChartWnd::SetChartCalls(nullptr);
        ResetWindowsForTest();
    }
    Watched calls;
};

std::string png(const std::string& name)
{
    const fs::path folder = fs::path(VORN_BINARY_DIR) / "finance-png";
    fs::create_directories(folder);
    return (folder / name).string();
}

int library_points(uint32_t graph, int set)
{
    GraphSetInfo info{};
    if (QXIGetGraphSetInfoByID(graph, set, &info) != 0)
        return -1;
    return info.point_count;
}

GraphChoice choose(std::initializer_list<int> boxes)
{
    GraphChoice c;
    for (int b : boxes)
        c.box[static_cast<size_t>(b)] = true;
    return c;
}

} // namespace

TEST(FinanceGraphBound, RoundsAboveTheValueOnePowerFinerWhenItWouldFillLittle)
{
    const std::pair<double, double> cases[] = {{1900, 2000}, {1234, 1300}, {1050, 1100}, {95, 100},
                                               {5, 6},       {0.5, 1},     {-1234, -1300}, {-5, -6}};
    for (auto [v, bound] : cases)
        EXPECT_EQ(profit_round_bound(v), bound) << v;
}

TEST_F(FinanceGraphs, SummaryStartsWithCashSalesBacklogAndPlotsEachDay)
{
    Parent parent;
    CSummaryGraphWnd graph;
    ASSERT_TRUE(graph.Create(&parent, RECT{0, 30, 640, 420}, 105));
    ASSERT_NE(graph.GetGraph(), 0u);
    const int ids[] = {101, 102, 103, 104, 105, 106, 107};
    for (int i = 0; i < CSummaryGraphWnd::SERIES; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(graph.GetSeries(i)->setId, ids[i]);
        EXPECT_EQ(graph.GetSeries(i)->slot, i < 3 ? i : -1);
        // The library makes a hidden series' set visible in slot 0 unless told.
        if (i >= 3) {
            EXPECT_EQ(calls.last_visible(ids[i]), 0);
        }
    }
    EXPECT_EQ(graph.slot_title(0), "Cash in bank");
    EXPECT_EQ(graph.slot_title(2), "Backlog");
    GraphChoice start = graph.choice();
    EXPECT_EQ(start.box, choose({0, 1, 2}).box);

    // Three days, cash going below zero on the third.
    const double days[3][7] = {{300000, 4000, 9000, 1500, 7000, 12000, 600},
                               {120000, 0, 8000, 1400, 7500, 11000, 620},
                               {-45000, 2500, 7000, 1300, 8000, 10000, 640}};
    for (const auto& d : days)
        graph.add_day(d);
    EXPECT_EQ(graph.day_count(), 3);
    for (int i = 0; i < CSummaryGraphWnd::SERIES; ++i) {
        SCOPED_TRACE(i);
        const std::vector<double> ys = calls.ys(ids[i]);
        ASSERT_EQ(ys.size(), 3u);
        for (int d = 0; d < 3; ++d)
            EXPECT_EQ(ys[static_cast<size_t>(d)], days[d][i]);
        EXPECT_EQ(library_points(graph.GetGraph(), ids[i]), 3);
    }
    // x is the day's index.
    std::vector<double> xs;
    for (const Watched::Point& p : calls.points)
        if (p.set == 101)
            xs.push_back(p.x);
    EXPECT_EQ(xs, (std::vector<double>{0, 1, 2}));
    EXPECT_GE(graph.GetSlotYMax(0), 300000);
    EXPECT_LT(graph.GetSlotYMin(0), -45000 + 1);
    EXPECT_GE(graph.GetSlotYMax(2), 9000);
    parent.UpdateWindow();
    EXPECT_TRUE(SaveWindowPng(parent.m_hWnd, png("summary_graph_days.png").c_str()));
}

TEST_F(FinanceGraphs, SelectionSlotsTheCheckedSeriesInOrderAndSharesThroughputWithOe)
{
    Parent parent;
    CSummaryGraphWnd graph;
    ASSERT_TRUE(graph.Create(&parent, RECT{0, 30, 640, 420}, 105));
    const double day[7] = {50000, 3000, 6000, 2500, 9000, 14000, 43000};
    graph.add_day(day);

    // Cash, WIP and Throughput+OE: slots 0, 1 and one shared 2.
    graph.apply(choose({0, 4, 7}));
    EXPECT_EQ(graph.GetSeries(0)->slot, 0);
    EXPECT_EQ(graph.GetSeries(4)->slot, 1);
    EXPECT_EQ(graph.GetSeries(3)->slot, 2);
    EXPECT_EQ(graph.GetSeries(6)->slot, 2);
    for (int hidden : {1, 2, 5}) {
        EXPECT_EQ(graph.GetSeries(hidden)->slot, -1);
        EXPECT_EQ(calls.last_visible(graph.GetSeries(hidden)->setId), 0);
    }
    for (int shown : {0, 3, 4, 6})
        EXPECT_EQ(calls.last_visible(graph.GetSeries(shown)->setId), 1);
    EXPECT_EQ(graph.slot_title(0), "Cash");
    EXPECT_EQ(graph.slot_title(1), "WIP");
    EXPECT_EQ(graph.slot_title(2), "Throughput+OE");
    // The shared slot holds the larger of the two ranges: OE's 43000.
    EXPECT_GE(graph.GetSlotYMax(2), 43000);
    // Reopened, the dialog shows the same choice, Throughput+OE with its two.
    EXPECT_EQ(graph.choice().box, choose({0, 3, 4, 5, 7}).box);
    EXPECT_TRUE(SaveWindowPng(parent.m_hWnd, png("summary_graph_selected.png").c_str()));

    // Throughput and OE checked apart take a slot each, after the others.
    graph.apply(choose({6, 3, 5}));
    EXPECT_EQ(graph.GetSeries(5)->slot, 0);
    EXPECT_EQ(graph.GetSeries(3)->slot, 1);
    EXPECT_EQ(graph.GetSeries(6)->slot, 2);
    EXPECT_FALSE(graph.choice().box[7]);

    // None: every slot empty, every series hidden.
    graph.apply(GraphChoice{});
    EXPECT_EQ(graph.CountSlottedSeries(), 0);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(graph.slot_title(k), "");
    for (int i = 0; i < CSummaryGraphWnd::SERIES; ++i)
        EXPECT_EQ(calls.last_visible(graph.GetSeries(i)->setId), 0);
}

TEST_F(FinanceGraphs, ProfitGraphPlotsMonthsAndWidensItsSlotsToRoundBounds)
{
    Parent parent;
    auto* dlg = new CProfitGraphDlg(&parent);
    const ModelessPtr<CProfitGraphDlg> alive(dlg);
    ASSERT_NE(dlg->m_hWnd, 0u);
    const uint32_t g = dlg->chart()->GetGraph();
    ASSERT_NE(g, 0u);
    char caption[32] = {};
    GetWindowText(dlg->m_hWnd, caption, sizeof caption);
    EXPECT_STREQ(caption, "Profit");
    EXPECT_FALSE(IsWindowVisible(dlg->m_hWnd));

    dlg->add_month(1234, 97);
    EXPECT_EQ(dlg->slot_max(0), 1300);
    EXPECT_EQ(dlg->slot_max(1), 100);   // 97 fits the DDP slot's 100
    dlg->add_month(-1900, 88);
    EXPECT_EQ(dlg->slot_min(0), -2000);
    EXPECT_EQ(dlg->slot_max(0), 1300);
    dlg->add_month(25000, 80);
    EXPECT_EQ(dlg->slot_max(0), 30000);
    // The ticks every half of the top, or of a deeper bottom.
    EXPECT_NE(std::find(calls.ranges.begin(), calls.ranges.end(), "slot0 tick 650"), calls.ranges.end());
    EXPECT_NE(std::find(calls.ranges.begin(), calls.ranges.end(), "slot0 tick 1000"), calls.ranges.end());
    EXPECT_NE(std::find(calls.ranges.begin(), calls.ranges.end(), "slot0 tick 15000"), calls.ranges.end());
    EXPECT_NE(std::find(calls.ranges.begin(), calls.ranges.end(), "slot0 min -2000"), calls.ranges.end());
    EXPECT_EQ(dlg->month_count(), 3);
    EXPECT_EQ(calls.ys(CProfitGraphDlg::PROFIT_SET), (std::vector<double>{1234, -1900, 25000}));
    EXPECT_EQ(calls.ys(CProfitGraphDlg::DDP_SET), (std::vector<double>{97, 88, 80}));
    EXPECT_EQ(library_points(g, CProfitGraphDlg::PROFIT_SET), 3);
    EXPECT_EQ(library_points(g, CProfitGraphDlg::DDP_SET), 3);
    // Months at x 0, 1, 2.
    std::vector<double> xs;
    for (const Watched::Point& p : calls.points)
        if (p.set == CProfitGraphDlg::PROFIT_SET)
            xs.push_back(p.x);
    EXPECT_EQ(xs, (std::vector<double>{0, 1, 2}));

    ShowWindow(dlg->m_hWnd, SW_SHOW);
    EXPECT_TRUE(SaveWindowPng(dlg->m_hWnd, png("profit_graph.png").c_str()));
    // Closing hides it and tells the owner; the points stay.
    bool told = false;
    dlg->closed = [&] { told = true; };
    SendMessage(dlg->m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(told);
    ASSERT_TRUE(alive);
    EXPECT_FALSE(IsWindowVisible(dlg->m_hWnd));
    EXPECT_EQ(dlg->points(0).size(), 3u);
    dlg->DestroyWindow();
    EXPECT_FALSE(alive);
}
