// A price promotion runs over four month steps: the first lowers the price
// by ten per cent a level and lifts the yearly orders by the level's first
// percentage, the next two move the lift to the second and third, the last
// ends it with the level's lasting change. A product without percentages
// (a new product's entry) keeps its demand as it was.
#include "sample_session.h"
#include <gtest/gtest.h>
#include <cmath>

using namespace sample_session;

namespace {

// The sample with nothing else moving the yearly orders from month to month:
// monthly growth 100 %, the June event a factor of 1, the delivery
// performance table flat.
std::string steady_market()
{
    std::string s = sample_text();
    s = replaced(s, "^100^110^100^100^100^100^100^100^100^100^100^100^@", "^100^100^100^100^100^100^100^100^100^100^100^100^@");
    s = replaced(s, "^0^0^95^6^1.2^@", "^0^0^95^6^1^@");
    s = replaced(s, "^0^-2^-10^-30^@", "^0^0^0^0^@");
    return s;
}

bool start_steady(SessionDriver& d, const TempDir& dir)
{
    const std::string path = dir / "steady.vnb";
    std::ofstream(path, std::ios::binary) << steady_market();
    return d.start(path, market_options(3));
}

void run_to_month(SessionDriver& d, int month)
{
    d.runUntil({95, static_cast<int16_t>(month), 3, 10, 0});
}

} // namespace

TEST(MarketingPromotion, FourMonthStepsLowerThePriceLiftTheDemandAndEndWithTheLastingChange)
{
    TempDir dir;
    SessionDriver d;
    ASSERT_TRUE(start_steady(d, dir));
    CMarketingWnd& m = marketing_of(d).engine();
    MarketProduct& a1 = m.product(0, 0);
    // Level 2 of A1: 115, 105, 100 and a lasting 0 %.
    ASSERT_EQ(a1.promotion_pct[1][0], 115);
    ASSERT_EQ(a1.promotion_pct[1][1], 105);
    ASSERT_EQ(a1.promotion_pct[1][2], 100);
    ASSERT_EQ(a1.promotion_pct[1][3], 0);
    a1.promotion_level = 2;
    a1.promotion_state = 1;
    const float orders = a1.annual_orders;
    const uint16_t price = a1.price;
    ASSERT_GT(orders, 0);

    struct Step {
        int month;
        uint16_t state;
        double lift;
        uint16_t price;
    };
    // The run starts on 2 January: the month steps come on the first
    // working day of February and after.
    const Step steps[] = {
        {1, 1, 1.00, price},                                    // asked, not yet run
        {2, 2, 1.15, static_cast<uint16_t>(price * 8 / 10)},    // level 2: 20 % off
        {3, 3, 1.05, price},                                    // the price back
        {4, 4, 1.00, price},
        {5, 0, 1.00, price},                                    // ended: no lasting change
        {6, 0, 1.00, price},                                    // nothing more
    };
    for (const Step& s : steps) {
        SCOPED_TRACE("month " + std::to_string(s.month));
        run_to_month(d, s.month);
        EXPECT_EQ(a1.promotion_state, s.state);
        EXPECT_EQ(a1.promotion_level, 2) << "the level stays through the run";
        EXPECT_EQ(a1.price, s.price);
        EXPECT_NEAR(a1.annual_orders / orders, s.lift, 1e-5);
        if (s.month == 3) {
            // Saved and opened in the middle, the promotion goes on the same.
            ASSERT_TRUE(d.save(dir / "march.vnb"));
            SessionDriver resumed;
            ASSERT_TRUE(resumed.start(dir / "march.vnb", market_options(3)));
            const MarketProduct& r = marketing_of(resumed).engine().product(0, 0);
            EXPECT_EQ(r.promotion_state, 3);
            EXPECT_EQ(r.promotion_level, 2);
            EXPECT_EQ(r.saved_price, a1.saved_price);
            resumed.runUntil({95, 5, 3, 10, 0});
            EXPECT_EQ(r.promotion_state, 0);
            EXPECT_NEAR(r.annual_orders / orders, 1.0, 1e-5);
            EXPECT_EQ(r.price, price);
        }
    }
}

TEST(MarketingPromotion, AProductWithoutPercentagesKeepsItsDemandFinite)
{
    TempDir dir;
    SessionDriver d;
    ASSERT_TRUE(start_steady(d, dir));
    CMarketingWnd& m = marketing_of(d).engine();
    run_to_month(d, 4);
    ASSERT_EQ(m.product_count(0), 3) << "A3 introduced on 3 April";
    MarketProduct& a3 = m.product(0, 2);
    for (const auto& level : a3.promotion_pct)
        for (int16_t v : level)
            ASSERT_EQ(v, 0);
    a3.promotion_level = 1;
    a3.promotion_state = 1;
    const float orders = a3.annual_orders;
    const uint16_t price = a3.price;
    ASSERT_GT(orders, 0);
    for (int month = 5; month <= 9; ++month) {
        run_to_month(d, month);
        ASSERT_TRUE(std::isfinite(a3.annual_orders)) << "month " << month;
        EXPECT_NEAR(a3.annual_orders / orders, 1.0, 1e-6) << "month " << month;
        EXPECT_EQ(a3.price, month == 5 ? static_cast<uint16_t>(price * 9 / 10) : price) << "month " << month;
    }
    EXPECT_EQ(a3.promotion_state, 0);
}
