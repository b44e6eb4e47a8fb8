// Job-shop mode over the sample: every order carries a factor on its price,
// passes the acceptance window or not, and is made as its own work order.
#include "sample_session.h"
#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

using namespace sample_session;

namespace {

std::string sample_with_jobshop(const std::string& record)
{
    std::ifstream in(sample, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text = s.str();
    const size_t end = text.find("[END OF FILE]");
    if (end == std::string::npos)
        throw std::logic_error("the sample has no end mark");
    return text.insert(end, "[JOBSHOP]\n" + record + "\n$\n");
}

struct JobShopRun {
    TempDir dir;
    SessionDriver d;
    std::vector<std::string> boxes;
};

// The view's job-shop flag set before the scenario loads, as a job-shop scenario would.
bool start_jobshop(JobShopRun& run, const std::string& record, int32_t seed, bool job_shop = true)
{
    const std::string path = run.dir / "js.vnb";
    std::ofstream(path, std::ios::binary) << sample_with_jobshop(record);
    DriverOptions o = market_options(seed);
    const DepartmentFactory inner = o.factory;
    o.factory = [inner, job_shop, &run](CVornView& view) {
        view.job_shop = job_shop ? 1 : 0;
        Departments d = inner(view);
        dynamic_cast<MarketingDepartment&>(*d.marketing).message_hook =
            [&run](std::string_view text, std::string_view caption) {
                run.boxes.push_back(std::string(caption) + "|" + std::string(text));
            };
        return d;
    };
    return run.d.start(path, o);
}

int count_of(const std::vector<std::string>& v, const std::string& s)
{
    return static_cast<int>(std::count(v.begin(), v.end(), s));
}

void expect_firm_is_open_and_loaded(const CMarketingWnd& m, const std::string& when)
{
    for (int p = 0; p < m.product_count(0); ++p) {
        int open = 0, loaded = 0;
        for (const OpenOrder& o : m.open_orders)
            if (o.family == 0 && o.product == p)
                open += o.units;
        for (const LoadedContract& l : m.loaded)
            for (int i = 0; i < l.item_count; ++i)
                if (l.lines[static_cast<size_t>(i)].family == 0 && l.lines[static_cast<size_t>(i)].product == p)
                    loaded += l.lines[static_cast<size_t>(i)].quantity;
        const MarketProduct& pr = m.product(0, p);
        ASSERT_GE(pr.firm_orders, 0) << when;
        ASSERT_EQ(pr.firm_orders, open + loaded) << when;
        ASSERT_EQ(pr.backlog, open) << when;
    }
}

} // namespace

// A fixed factor of 100: acceptance is on and takes every order at the full
// price; each order is its own work order; the accept-orders policy is not
// available.
TEST(JobShop, AFixedFactorAcceptsEveryOrderAtItsPriceAndMakesEach)
{
    JobShopRun run;
    ASSERT_TRUE(start_jobshop(run, "^1^100^@", 2));
    CMarketingWnd& m = marketing_of(run.d).engine();
    EXPECT_EQ(m.link_mode(), LINK_MAKE_TO_ORDER);
    EXPECT_EQ(m.js_accept_on, 1);
    int days_with_orders = 0;
    for (int day = 0; day < 25; ++day) {
        ASSERT_EQ(m.js_orders.size(), m.js_factors.size());
        if (!m.js_orders.empty())
            ++days_with_orders;
        for (size_t i = 0; i < m.js_orders.size(); ++i) {
            EXPECT_EQ(m.js_factors[i], 20100);
            const OpenOrder& o = m.js_orders[i];
            EXPECT_EQ(o.price, m.product(o.family, o.product).price);
            EXPECT_GT(o.units, 0);
        }
        expect_firm_is_open_and_loaded(m, "day " + std::to_string(day));
        if (HasFatalFailure())
            return;
        run.d.runTicks(480);
    }
    EXPECT_GT(days_with_orders, 20);
    // Every order accepted: the open-orders window is never asked for.
    EXPECT_EQ(count_of(run.boxes, "js_dlg_open_orders|Not implemented yet"), 0);
    // What was ordered shipped, through work orders of its own.
    EXPECT_GT(m.product(0, 0).shipped_run, m.product(0, 0).initial_inventory);
    m.accept_orders_policy();
    EXPECT_EQ(run.boxes.back(), "Accept orders|     Not available    ");
}

// Factors drawn from the table: no acceptance, the open-orders placeholder,
// and each order's price is its material cost plus the factor's share of
// the margin.
TEST(JobShop, DrawnFactorsPriceTheOrdersOverTheirMaterialCost)
{
    JobShopRun run;
    ASSERT_TRUE(start_jobshop(run, "^1^0^@", 2));
    CMarketingWnd& m = marketing_of(run.d).engine();
    EXPECT_EQ(m.js_accept_on, 0);
    const std::set<int> table = {90, 95, 100, 105, 110};
    std::set<int> seen;
    for (int day = 0; day < 10; ++day) {
        for (size_t i = 0; i < m.js_orders.size(); ++i) {
            const int factor = m.js_factors[i];
            ASSERT_TRUE(table.count(factor)) << factor;
            seen.insert(factor);
            const OpenOrder& o = m.js_orders[i];
            const double cost = std::trunc(static_cast<double>(m.get_material_cost(o.family, o.product)));
            const double margin = std::trunc((m.product(o.family, o.product).price - cost) * factor / 100.0);
            EXPECT_EQ(o.price, static_cast<int16_t>(cost + margin));
        }
        expect_firm_is_open_and_loaded(m, "day " + std::to_string(day));
        if (HasFatalFailure())
            return;
        run.d.runTicks(480);
    }
    EXPECT_GT(seen.size(), 2u);
    EXPECT_GE(count_of(run.boxes, "js_dlg_open_orders|Not implemented yet"), 9);
    m.accept_orders_policy();
    EXPECT_EQ(run.boxes.back(), "js_dlg_accept_orders_policy|Not implemented yet");
}

// An order outside the acceptance window with the reject option gets factor
// 0: it stays out of the open orders and out of production; without the
// option it is pending, and its units are counted while the run is held.
TEST(JobShop, AnOrderOutsideTheWindowIsRejectedOrLeftPending)
{
    JobShopRun run;
    ASSERT_TRUE(start_jobshop(run, "^1^100^@", 2));
    CMarketingWnd& m = marketing_of(run.d).engine();
    m.js_any_factor = 0;
    m.js_factor_low = 50;
    m.js_factor_high = 99;
    m.js_reject = 1;
    const size_t open_before = m.open_orders.size();
    const size_t work_before = production_of(run.d).engine().prd_orders.size();
    run.d.runTicks(480);
    ASSERT_FALSE(m.js_orders.empty());
    for (uint16_t f : m.js_factors)
        EXPECT_EQ(f, 0);
    // Yesterday's orders shipped or wait; none came in today.
    EXPECT_LE(m.open_orders.size(), open_before);
    EXPECT_LE(production_of(run.d).engine().prd_orders.size(), work_before);
    EXPECT_EQ(m.product(0, 0).ordered_today, 0);

    m.js_reject = 0;
    run.d.runTicks(480);
    ASSERT_FALSE(m.js_orders.empty());
    EXPECT_EQ(m.js_pending, m.js_orders.size());
    int a1 = 0;
    for (const OpenOrder& o : m.js_orders)
        if (o.product == 0)
            a1 += o.units;
    // Pending orders are still made (their factor is not 0) and counted only in HOLD.
    EXPECT_EQ(m.product(0, 0).ordered_today, a1);
    EXPECT_EQ(m.get_jobshop_units(0, 0), 0);
    run.d.view().run_state = RUN_HOLD;
    EXPECT_EQ(m.get_jobshop_units(0, 0), a1);
    run.d.view().run_state = RUN_STOPPED;
}

// Job-shop value 1 of 0 makes every order one unit; the draws are the same
// as the ordinary day's (100 trials and one table draw an order), so the
// first day's orders come in the same number.
TEST(JobShop, ValueOneOfZeroMakesEveryOrderOneUnit)
{
    JobShopRun ordinary, single;
    ASSERT_TRUE(start_jobshop(ordinary, "^1^100^@", 7, false));
    ASSERT_TRUE(start_jobshop(single, "^0^100^@", 7));
    const CMarketingWnd& a = marketing_of(ordinary.d).engine();
    const CMarketingWnd& b = marketing_of(single.d).engine();
    ASSERT_FALSE(b.js_orders.empty());
    for (const OpenOrder& o : b.js_orders)
        EXPECT_EQ(o.units, 1);
    EXPECT_EQ(b.js_orders.size(), a.open_orders.size());
}
