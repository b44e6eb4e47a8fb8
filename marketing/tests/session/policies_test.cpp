// The market's block of a policies file in a session over the sample.
#include "sample_session.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace sample_session;

namespace {

struct Settings {
    std::vector<uint16_t> values;
    std::vector<float> demand;
    bool operator==(const Settings&) const = default;
};

Settings settings_of(const CMarketingWnd& m)
{
    Settings s;
    s.values = {m.link_mode_, m.plan_days_before, m.plan_merge};
    for (int p = 0; p < m.product_count(0); ++p) {
        const MarketProduct& pr = m.product(0, p);
        for (uint16_t v : {pr.qlt, pr.price, pr.max_level, pr.order_level, pr.red_level, pr.safety_stock,
                           pr.red_line_time})
            s.values.push_back(v);
        s.demand.push_back(pr.annual_orders);
    }
    return s;
}

} // namespace

// Saved and loaded at once: the block is 6 + 14 bytes a product and the
// settings and the demand come back unchanged.
TEST(MarketingPolicies, SavedAndLoadedAtOnceChangesNothing)
{
    TempDir dir;
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, market_options(2)));
    d.runTicks(3 * 480);
    const CMarketingWnd& m = marketing_of(d).engine();
    MarketingDepartment& dept = marketing_of(d);
    EXPECT_EQ(dept.policies_size(), 6 + 14 * m.product_count(0));
    const Settings before = settings_of(m);
    const std::string path = dir / "p.plc";
    ASSERT_TRUE(d.view().SavePolicies(path));
    ASSERT_TRUE(d.view().LoadPolicies(path));
    EXPECT_EQ(settings_of(m), before);
}

// A file with a higher price for A1 rescales A1's demand once by the PRICE
// table and rebuilds the supply days from the new lead time; a file with a
// value out of range changes nothing.
TEST(MarketingPolicies, ALoadedPriceAndLeadTimeMoveTheDemandOnce)
{
    TempDir dir;
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, market_options(2)));
    d.runTicks(2 * 480);
    CMarketingWnd& m = marketing_of(d).engine();
    MarketProduct& a1 = m.product(0, 0);
    const std::string path = dir / "p.plc";
    const uint16_t price = a1.price, qlt = a1.qlt;
    const float demand = a1.annual_orders;
    // Written with A1 at the base price plus half and a lead time two days longer.
    a1.price = static_cast<uint16_t>(a1.base_price + a1.base_price / 2);
    a1.qlt = static_cast<uint16_t>(qlt + 2);
    ASSERT_TRUE(d.view().SavePolicies(path));
    a1.price = price;
    a1.qlt = qlt;
    std::vector<int> due_before;
    for (uint16_t v : a1.supply_days)
        due_before.push_back(v);

    ASSERT_TRUE(d.view().LoadPolicies(path));
    EXPECT_EQ(a1.price, a1.base_price + a1.base_price / 2);
    EXPECT_EQ(a1.qlt, qlt + 2);
    const double base = a1.base_price;
    const double by_price = (100.0 + m.get_demand("PRICE", (a1.price - base) / base * 100.0)) /
                            (100.0 + m.get_demand("PRICE", (price - base) / base * 100.0));
    const double bq = a1.base_qlt == 0 ? 1.0 : a1.base_qlt;
    const double by_qlt = (100.0 + m.get_demand("QLT", (a1.qlt - bq) / bq * 100.0)) /
                          (100.0 + m.get_demand("QLT", (qlt - bq) / bq * 100.0));
    EXPECT_NEAR(a1.annual_orders, demand * by_price * by_qlt, demand * 1e-5);
    EXPECT_LT(a1.annual_orders, demand);
    // The units due stay the same; the table was rebuilt as a new load computes it.
    int due = 0, was = 0;
    for (uint16_t v : a1.supply_days)
        due += v;
    for (int v : due_before)
        was += v;
    EXPECT_EQ(due, was);
    const std::vector<uint16_t> rebuilt = a1.supply_days;
    m.build_supply_days_table();
    EXPECT_EQ(a1.supply_days, rebuilt);

    // Loading it again moves nothing further.
    const float once = a1.annual_orders;
    ASSERT_TRUE(d.view().LoadPolicies(path));
    EXPECT_FLOAT_EQ(a1.annual_orders, once);
}

TEST(MarketingPolicies, ABlockWithAValueOutOfRangeChangesNothing)
{
    TempDir dir;
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, market_options(2)));
    CMarketingWnd& m = marketing_of(d).engine();
    const std::string path = dir / "p.plc";
    ASSERT_TRUE(d.view().SavePolicies(path));
    std::vector<uint8_t> bytes = read_bytes(path);
    ASSERT_GT(bytes.size(), 10u);
    // A1's price (bytes 8-9) -1.
    bytes[8] = 0xFF;
    bytes[9] = 0xFF;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const Settings before = settings_of(m);
    d.view().LoadPolicies(path);
    EXPECT_EQ(settings_of(m), before);
    const std::vector<std::string> boxes = d.prompts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes.back().find("out of range"), std::string::npos) << boxes.back();
}
