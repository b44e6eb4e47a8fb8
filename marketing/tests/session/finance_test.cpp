// What Finance reads of the market and what the market books with Finance,
// through the program's assembly over the bundled sample.
#include "sample_session.h"
#include <gtest/gtest.h>
#include <cmath>

using namespace sample_session;

namespace {

SimDateTime on(int16_t day, int16_t month, int16_t year)
{
    SimDateTime t{};
    t.day = day;
    t.month = month;
    t.year = year;
    t.hour = 9;
    return t;
}

AdvertisingCampaign& campaign(CMarketingWnd& m, const char* name)
{
    for (AdvertisingCampaign& c : m.campaigns)
        if (c.name == name)
            return c;
    throw std::logic_error(std::string("the sample has no campaign ") + name);
}

} // namespace

// Finance's inventory values, daily figures and sales are the market's own.
TEST(MarketingFinance, FinanceReadsTheMarketsStockBacklogAndThroughput)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, market_options(3)));
    CMarketingWnd& m = marketing_of(d).engine();
    CFinanceWnd& books = finance_of(d).engine();
    bool stocked = false, backlog = false;
    for (int day = 0; day < 60; ++day) {
        d.runTicks(480);
        double at_cost = 0, with_added = 0;
        uint32_t year_sales = 0;
        for (int p = 0; p < m.product_count(0); ++p) {
            const double cost = m.get_material_cost(0, p);
            at_cost += m.product(0, p).stock * cost;
            with_added += m.product(0, p).stock * (cost + books.unit_added_value(0, p));
            year_sales += m.product(0, p).revenue_year;
        }
        stocked = stocked || with_added > 0;
        ASSERT_EQ(books.fg_value_at_material_cost(), static_cast<int32_t>(at_cost)) << "day " << day;
        ASSERT_EQ(books.fg_value_with_added_value(), static_cast<int32_t>(with_added)) << "day " << day;
        double figures[7] = {};
        books.daily_values(figures);
        backlog = backlog || m.get_backlog_value() > 0;
        ASSERT_EQ(figures[2], m.get_backlog_value()) << "day " << day;
        ASSERT_EQ(figures[3], m.get_daily_throughput()) << "day " << day;
        // Every sale of the year reached Finance's current-year sales.
        ASSERT_EQ(books.sales_cur, static_cast<int32_t>(year_sales)) << "day " << day;
        ASSERT_EQ(marketing_of(d).accumulated_sales(), static_cast<int32_t>(m.sales_value_run));
    }
    EXPECT_TRUE(stocked);
    EXPECT_TRUE(backlog);
    EXPECT_GT(m.sales_value_run, 0u);

    // The unit costs spread Finance's monthly figures over the plant's time.
    const ProductFigures a1 = marketing_of(d).product_figures(0, 0);
    EXPECT_GT(a1.labour, 0.0f);
    EXPECT_GT(a1.indirect, 0.0f);
    EXPECT_TRUE(std::isfinite(a1.labour) && std::isfinite(a1.indirect));
    EXPECT_EQ(a1.fg_units, m.product(0, 0).stock);
    EXPECT_FLOAT_EQ(a1.run_material_cost_of_sales, m.product(0, 0).cost_of_sales_run);
}

// A running campaign is charged at the month's closing as (level + 1) x its
// monthly cost, on top of what the same run without it spends; a promotion
// books its cost as promotion expenses.
TEST(MarketingFinance, CampaignsAndPromotionsAreBookedByFinance)
{
    SessionDriver plain, advertised;
    ASSERT_TRUE(plain.start(sample, market_options(4)));
    ASSERT_TRUE(advertised.start(sample, market_options(4)));
    CMarketingWnd& m = marketing_of(advertised).engine();
    AdvertisingCampaign& general = campaign(m, "General");
    general.level_index = 1;
    general.months_left = 2;
    MarketProduct& a1 = m.product(0, 0);
    a1.promotion_state = 1;
    a1.promotion_level = 2;
    ASSERT_GT(a1.promotion_cost, 0);
    const int16_t promotion_cost = a1.promotion_cost;

    plain.runUntil(on(10, 3, 95));
    advertised.runUntil(on(10, 3, 95));
    const CFinanceWnd& without = finance_of(plain).engine();
    const CFinanceWnd& with = finance_of(advertised).engine();
    const int32_t charge = (general.level_index + 1) * general.monthly_cost;
    ASSERT_EQ(general.active, 1);
    EXPECT_EQ(general.accumulated, charge);
    EXPECT_EQ(with.marketing_expenses.acc - without.marketing_expenses.acc, charge);
    EXPECT_EQ(with.total_expenses.acc - without.total_expenses.acc, charge);
    EXPECT_EQ(with.promotion.acc - without.promotion.acc, promotion_cost);
    EXPECT_EQ(with.promotion.cur - without.promotion.cur, promotion_cost);
}

// The year's roll: Finance rolls the market's yearly counters on the new
// year's first working day and clears the campaigns' costs the day after;
// the market's last-year sales are Finance's.
TEST(MarketingFinance, TheNewYearRollsTheMarketsCountersWithFinances)
{
    DriverOptions o = market_options(6);
    o.continue_on_stop = true;
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, o));
    CMarketingWnd& m = marketing_of(d).engine();
    AdvertisingCampaign& general = campaign(m, "General");
    general.level_index = 0;
    general.months_left = 30;

    d.runUntil(on(29, 12, 95));
    ASSERT_GT(general.accumulated, 0);
    const CFinanceWnd& books = finance_of(d).engine();
    const uint16_t sold_1995 = m.product(0, 0).sold_year;
    ASSERT_GT(sold_1995, 0);

    d.runUntil(on(5, 1, 96));
    ASSERT_EQ(d.clock().current.year, 96);
    EXPECT_EQ(general.accumulated, 0);
    uint32_t last_year = 0;
    for (int p = 0; p < m.product_count(0); ++p)
        last_year += m.product(0, p).revenue_last_year;
    EXPECT_EQ(books.sales_last, static_cast<int32_t>(last_year));
    EXPECT_GE(m.product(0, 0).sold_last_year, sold_1995);
    EXPECT_LT(m.product(0, 0).sold_year, m.product(0, 0).sold_last_year);
}
