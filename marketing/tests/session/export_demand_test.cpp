// An active export line's customers order from the product's stock: the
// product's expected orders count a month of the line's units (its yearly
// orders at their average size) over the working days asked; a line not yet
// active counts nothing.
#include "sample_session.h"
#include <gtest/gtest.h>

using namespace sample_session;

TEST(MarketingExportDemand, AnActiveLineAddsItsShareToTheExpectedOrders)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, market_options(4)));
    CMarketingWnd& m = marketing_of(d).engine();
    ExportLine& e = *m.product(0, 0).exp;
    e.item14 = 0;
    ASSERT_TRUE(m.request_export_line(0, 0, d.clock().current));
    // A month's working days in the sample's one shift.
    const int W = 22;
    // Requested and prepared: nothing yet.
    auto with_and_without = [&](int days) {
        const uint16_t state = e.state;
        const int with = m.get_expected_orders(0, 0, days);
        e.state = EXPORT_NONE;
        const int without = m.get_expected_orders(0, 0, days);
        e.state = state;
        return with - without;
    };
    EXPECT_EQ(with_and_without(W), 0);
    d.runTicks(480);
    ASSERT_EQ(e.state, EXPORT_PREPARED);
    EXPECT_EQ(with_and_without(W), 0);
    d.runUntil({95, 2, 2, 10, 0});
    ASSERT_EQ(e.state, EXPORT_ACTIVE);
    // 520 orders of 2 units a year: 86 units a month, a day's worth per day.
    const double month = static_cast<double>(e.annual_orders) * e.order_size / 12.0;
    EXPECT_NEAR(month, 86.7, 1.0);
    for (int days : {1, 5, W, 2 * W, 3 * W}) {
        SCOPED_TRACE(days);
        // Whole units over the days; the product's own figure rounds apart.
        EXPECT_NEAR(with_and_without(days), month / W * days, 1.0);
        EXPECT_EQ(m.get_export_expected_orders(0, 0, days), static_cast<int16_t>(month / W * days));
    }
    EXPECT_EQ(m.get_export_expected_orders(0, 1, W), 0) << "A2 has no line";
    EXPECT_EQ(m.get_export_expected_orders(0, 0, 0), 0);
}
