// Sessions saved in the layouts of older versions: for every version that
// added a block to the Marketing file, a file of the version before it
// loads with the scenario's values there, a file of that version reads the
// block, and the session goes on from either.
#include "sample_session.h"
#include "support/older_layouts.h"
#include <functional>
#include <gtest/gtest.h>

using namespace sample_session;

namespace {

// The contracts a save writes: those answered (status not 0).
std::vector<std::pair<size_t, size_t>> answered(const CMarketingWnd& m)
{
    std::vector<std::pair<size_t, size_t>> out;
    for (size_t c = 0; c < m.customers.size(); ++c)
        for (size_t k = 0; k < m.customers[c].contracts.size(); ++k)
            if (m.customers[c].contracts[k].status != 0)
                out.push_back({c, k});
    return out;
}

const SimDateTime END_COPY{96, 2, 5, 8, 0};

struct Gate {
    const char* before;   // the newest id without the block
    const char* id;       // the id that brought it
    std::function<void(CMarketingWnd&)> set;
    std::function<size_t(const CMarketingWnd&)> bytes;
    std::function<void(const CMarketingWnd& loaded, const CMarketingWnd& scenario, bool carried)> check;
};

const Gate gates[] = {
    // The oldest files hold the month's cost of sales, but it is not taken from them.
    {"BG_1017", "BG_1018", [](CMarketingWnd& m) { m.cost_of_sales_month[0][1] = 123.5f; },
     [](const CMarketingWnd&) { return size_t{0}; },
     [](const CMarketingWnd& l, const CMarketingWnd& sc, bool carried) {
         EXPECT_FLOAT_EQ(l.cost_of_sales_month[0][1], carried ? 123.5f : sc.cost_of_sales_month[0][1]);
     }},
    {"BG_1019", "BG_1020", [](CMarketingWnd& m) { m.plan_merge = 1; },
     [](const CMarketingWnd&) { return size_t{2}; },
     [](const CMarketingWnd& l, const CMarketingWnd& sc, bool carried) {
         EXPECT_EQ(l.plan_merge, carried ? 1 : sc.plan_merge);
     }},
    {"BG_1021", "BG_1022",
     [](CMarketingWnd& m) {
         const auto a = answered(m);
         if (!a.empty())
             m.customers[a[0].first].contracts[a[0].second].end_copy = END_COPY;
     },
     [](const CMarketingWnd& m) { return 10 * answered(m).size(); },
     [](const CMarketingWnd& l, const CMarketingWnd& sc, bool carried) {
         const auto a = answered(l);
         ASSERT_FALSE(a.empty()) << "the saved session has answered contracts";
         const SimDateTime& got = l.customers[a[0].first].contracts[a[0].second].end_copy;
         const SimDateTime& kept = sc.customers[a[0].first].contracts[a[0].second].end_copy;
         EXPECT_EQ(compare_dates(got, carried ? END_COPY : kept), 1);
         EXPECT_EQ(got.hour, carried ? END_COPY.hour : kept.hour);
     }},
    {"BG_1025", "BG_1026",
     [](CMarketingWnd& m) {
         m.cancelled_units_month[0][0] = 3;
         m.fixed_demand[0][1] = 12.5f;
         m.fixed_carry[0][0] = 0.25f;
     },
     [](const CMarketingWnd& m) {
         const size_t cells = m.fixed_demand.size() * m.fixed_demand[0].size();
         return cells * (2 + 4 + 4);
     },
     [](const CMarketingWnd& l, const CMarketingWnd& sc, bool carried) {
         EXPECT_EQ(l.cancelled_units_month[0][0], carried ? 3 : sc.cancelled_units_month[0][0]);
         EXPECT_FLOAT_EQ(l.fixed_demand[0][1], carried ? 12.5f : sc.fixed_demand[0][1]);
         // The carried fractions start at 0 (a started session has carried its first day's).
         EXPECT_FLOAT_EQ(l.fixed_carry[0][0], carried ? 0.25f : 0.0f);
     }},
    {"BG_1028", "BG_1029", [](CMarketingWnd& m) { m.revenue_today[0][0] = 777; },
     [](const CMarketingWnd& m) { return m.revenue_today.size() * m.revenue_today[0].size() * 4; },
     [](const CMarketingWnd& l, const CMarketingWnd& sc, bool carried) {
         EXPECT_EQ(l.revenue_today[0][0], carried ? 777 : sc.revenue_today[0][0]);
     }},
    {"BG_1029", "BG_1030",
     [](CMarketingWnd& m) {
         m.sales_graph.x_min = 10;
         m.sales_graph.y_max = 5000;
     },
     [](const CMarketingWnd& m) { return 3 * 8 + 2 + 4 * m.sales_graph.daily.size() + 2 + 4 * m.sales_graph.averages.size(); },
     [](const CMarketingWnd& l, const CMarketingWnd& sc, bool carried) {
         EXPECT_EQ(l.sales_graph.x_min, carried ? 10 : sc.sales_graph.x_min);
         EXPECT_EQ(l.sales_graph.y_max, carried ? 5000 : sc.sales_graph.y_max);
         // Without the block the graph starts empty, as the scenario's load leaves it.
         EXPECT_EQ(l.sales_graph.daily.empty(), !carried);
     }},
};

} // namespace

TEST(MarketingOlderFiles, EachVersionsBlockKeepsTheScenariosValuesBeforeItAndIsReadFromIt)
{
    SessionDriver scenario;
    ASSERT_TRUE(scenario.start(sample, market_options(4)));
    const CMarketingWnd& fresh = marketing_of(scenario).engine();
    TempDir dir;
    for (const Gate& g : gates) {
        SCOPED_TRACE(g.id);
        SessionDriver source;
        ASSERT_TRUE(source.start(sample, market_options(4)));
        source.runTicks(12 * 480 + 90);
        CMarketingWnd& saved = marketing_of(source).engine();
        g.set(saved);
        const LayoutPair files = save_before_and_at(source.view(), dir, g.before, g.id);
        EXPECT_EQ(files.added("MRK"), g.bytes(saved));
        for (const bool carried : {false, true}) {
            SCOPED_TRACE(carried ? "at the version" : "before it");
            SessionDriver d;
            ASSERT_TRUE(d.start(carried ? files.at : files.older, market_options(4)));
            ASSERT_TRUE(d.view().resumed());
            CMarketingWnd& loaded = marketing_of(d).engine();
            g.check(loaded, fresh, carried);
            // What every version holds is read whatever the id.
            EXPECT_EQ(loaded.open_orders.size(), saved.open_orders.size());
            EXPECT_EQ(loaded.product(0, 0).stock, saved.product(0, 0).stock);
            runs_on_and_reopens(d, market_options(4), dir, "MRK", 2 * 480);
        }
    }
}
