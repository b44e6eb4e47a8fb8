// Vendor orders: order-level quantities, drawn lead times, arrivals with
// their payments and average costs, MRP ordering and re-planning, the full
// order table.
#include "support/fixture.h"
#include <gtest/gtest.h>

namespace {

TEST(OrderLevel, QuantitiesFollowStockOnOrderAndLevels)
{
    struct Case {
        int stock, on_order, order_level, max_level, ordered;
    } cases[] = {
        {5, 0, 5, 20, 15},    // at the order level: up to the max
        {6, 0, 5, 20, 0},     // above it: nothing
        {5, 0, 5, 5, 0},      // max not above stock + on order: nothing
        {3, 2, 5, 5, 0},
        {0, 0, 0, 20, 20},    // order level 0 with nothing held: up to the max
        {2, 3, 5, 20, 15},    // on order counts as held
        {-7, 0, 5, 20, 27},   // stock run below zero
    };
    for (const Case& c : cases) {
        Fixture fx;
        for (auto* m : {&fx.xb(), &fx.ya()})
            m->order_level = -1;   // only XA can order
        fx.xa().stock = static_cast<int16_t>(c.stock);
        fx.on_order(0, 0) = c.on_order;
        fx.xa().order_level = static_cast<int16_t>(c.order_level);
        fx.xa().max_level = static_cast<int16_t>(c.max_level);
        fx.p.order_level_ordering();
        SCOPED_TRACE(c.stock);
        if (c.ordered == 0) {
            EXPECT_TRUE(fx.p.orders.empty());
            continue;
        }
        ASSERT_EQ(fx.p.orders.size(), 1u);
        EXPECT_EQ(fx.p.orders[0].quantity, c.ordered);
        EXPECT_EQ(fx.on_order(0, 0), c.on_order + c.ordered);
        EXPECT_EQ(fx.xa().daily_ordered[0], c.ordered);
    }
}

TEST(VendorOrder, DrawnLeadTimesAndTheirDates)
{
    struct Case {
        int16_t draw, base, lead;
    } cases[] = {{12, 15, 18}, {7, 15, 10}, {10, 10, 10}, {-2, 10, 0}, {0, 10, 0}};
    for (const Case& c : cases) {
        Fixture fx;
        fixed_lead_draw(c.draw);
        fx.xa().lead_base = c.base;
        ASSERT_TRUE(fx.p.place_vendor_order(0, 0, 40));
        const VendorOrder& o = fx.p.orders.back();
        EXPECT_EQ(compare_dates(o.arrival, fx.view.clock.AddWorkDays(fx.view.clock.current, c.lead)), 1) << c.draw;
        EXPECT_EQ(compare_dates(o.quoted_due, fx.view.clock.AddWorkDays(fx.view.clock.current, 10)), 1);
        EXPECT_EQ(o.supplier, 0);
        // The supplier keeps the drawn lead as a sample.
        EXPECT_EQ(fx.p.suppliers[0].sample_count, 1);
        EXPECT_EQ(fx.p.suppliers[0].lead_samples[0], c.lead);
    }
}

TEST(VendorOrder, ArrivesAtItsMinuteNotTheMinuteBefore)
{
    Fixture fx;
    fixed_lead_draw(0);   // arrival = now
    ASSERT_TRUE(fx.p.place_vendor_order(0, 0, 40));
    fx.p.orders[0].arrival.minute = 1;   // a minute later: waits
    fx.p.receive_vendor_orders();
    EXPECT_EQ(fx.p.orders.size(), 1u);
    fx.p.orders[0].arrival.minute = 0;   // this minute: arrives
    fx.p.receive_vendor_orders();
    EXPECT_TRUE(fx.p.orders.empty());
    EXPECT_EQ(fx.xa().stock, 440);
    EXPECT_EQ(fx.on_order(0, 0), 0);
    EXPECT_EQ(fx.xa().daily_arrived[0], 40);
}

TEST(VendorOrder, FirstTickOfTheSessionReceivesNothing)
{
    Fixture fx;
    fixed_lead_draw(0);
    ASSERT_TRUE(fx.p.place_vendor_order(0, 0, 40));
    fx.view.tick_count = 0;
    fx.xa().order_level = fx.xb().order_level = fx.ya().order_level = -1;
    fx.step();
    EXPECT_EQ(fx.p.orders.size(), 1u);
    fx.view.tick_count = 1;
    fx.step();
    EXPECT_TRUE(fx.p.orders.empty());
}

TEST(VendorOrder, PaymentAtOnceOrDeferredByTheTerms)
{
    for (int terms : {0, 10}) {
        Fixture fx;
        fx.finance.terms = terms;
        fixed_lead_draw(0);
        ASSERT_TRUE(fx.p.place_vendor_order(0, 0, 7));   // 7 x 6 + 50 shipping
        fx.p.receive_vendor_orders();
        ASSERT_EQ(fx.finance.postings.size(), 1u);
        EXPECT_EQ(fx.finance.postings[0].amount, -(7 * 6 + 50));
        EXPECT_EQ(fx.finance.postings[0].deferred, terms == 0 ? 0 : 1);
        EXPECT_EQ(fx.finance.cash_payments, terms == 0 ? 92 : 0);
        EXPECT_EQ(fx.p.shipping_total, 50);
        EXPECT_EQ(fx.p.shipping_this_year, 50);
        EXPECT_EQ(fx.p.shipping_this_month, 50);
    }
}

TEST(AverageCost, WeightsTheHeldUnitsNeverBelowZero)
{
    struct Case {
        int16_t stock;
        float expected;
    } cases[] = {
        {0, 6.0f + 50.0f / 10},                          // nothing held: the arrival's own cost
        {-5, 6.0f + 50.0f / 10},                         // stock under zero holds nothing
        {40, (10 * (5.0f + 6.0f) + 40 * 8.0f) / 50.0f},  // weighted with 40 held at 8
    };
    for (const Case& c : cases) {
        Fixture fx;
        fx.xa().stock = c.stock;
        fx.xa().average_cost = 8.0f;
        fx.p.update_average_cost(0, 0, 10, 6, 0);
        EXPECT_FLOAT_EQ(fx.xa().average_cost, c.expected) << c.stock;
        fx.p.update_average_cost(0, 0, 0, 100, 0);   // no quantity: no change
        EXPECT_FLOAT_EQ(fx.xa().average_cost, c.expected);
    }
}

TEST(Issue, IssuesCountConsumedMaterialOnce)
{
    Fixture fx;
    fx.xa().average_cost = 6.5f;
    fx.p.add_stock(0, 0, -3, 1);
    EXPECT_EQ(fx.xa().stock, 397);
    EXPECT_EQ(fx.xa().issued_this_month, 3);
    EXPECT_EQ(fx.p.issued_since_plan[0][0], 3);
    EXPECT_EQ(fx.xa().in_process, 3);
    EXPECT_EQ(fx.finance.rmc, 19);   // trunc(3 x 6.5)
    fx.p.lower_in_process(0, 0, 3);
    EXPECT_EQ(fx.xa().in_process, 0);
}

TEST(VendorOrder, TheFullTableRefusesWithoutADraw)
{
    Fixture fx;
    fixed_lead_draw(3);
    for (int i = 0; i < MAX_RM_ORDERS - 1; ++i)
        ASSERT_TRUE(fx.p.place_vendor_order(0, 0, 1));
    EXPECT_EQ(fx.on_order(0, 0), 149);
    const int16_t samples = fx.p.suppliers[0].sample_count;
    EXPECT_FALSE(fx.p.place_vendor_order(0, 0, 1));
    EXPECT_EQ(fx.p.orders.size(), 149u);
    EXPECT_EQ(fx.on_order(0, 0), 149);
    EXPECT_EQ(fx.p.suppliers[0].sample_count, samples);
    ASSERT_EQ(fx.ui.boxes.size(), 1u);
    EXPECT_EQ(fx.ui.boxes[0], "Application Error|Index Overflow MAX_RM_ORDERS");
    // One box per ordering pass: the pass stops at the first refusal.
    fx.xa().stock = fx.xb().stock = fx.ya().stock = -1000;
    fx.on_order(0, 0) = 0;
    fx.p.order_level_ordering();
    EXPECT_EQ(fx.ui.boxes.size(), 2u);
}

TEST(VendorOrder, ARefusedOrderLeavesTheGeneratorForTheNext)
{
    // With the session's generator at one seed, an order after a refusal
    // draws what the first order would have drawn.
    Fixture fx;
    rand_tables_clear();
    ASSERT_EQ(load_random_tables(VORN_SOURCE_DIR "/resources/data/bgtables.tbl"), 1);
    auto lead_after = [&](bool refuse_first) {
        fx.p.orders.clear();
        if (refuse_first)
            fx.p.orders.resize(MAX_RM_ORDERS - 1);
        fx.view.srand(77);
        if (refuse_first) {
            EXPECT_FALSE(fx.p.place_vendor_order(0, 0, 1));
            fx.p.orders.clear();
        }
        EXPECT_TRUE(fx.p.place_vendor_order(0, 0, 1));
        return fx.p.orders.back().arrival;
    };
    const SimDateTime a = lead_after(false), b = lead_after(true);
    EXPECT_EQ(compare_dates(a, b), 1);
}

TEST(Mrp, OrdersTheShortfallRaisedToTheMinimum)
{
    struct Case {
        int16_t safety, minimum;
        int stock, ordered;
    } cases[] = {{13, 10, 10, 10}, {13, 0, 10, 3}, {10, 10, 10, 0}, {0, 50, 10, 0}};
    for (const Case& c : cases) {
        Fixture fx;
        fx.p.policy = POLICY_MRP;
        fx.p.minimum_to_order = c.minimum;
        fx.xa().stock = static_cast<int16_t>(c.stock);
        fx.p.safety_stock[0][0] = c.safety;
        fx.p.mrp_ordering();
        if (c.ordered == 0) {
            EXPECT_TRUE(fx.p.orders.empty());
            continue;
        }
        ASSERT_EQ(fx.p.orders.size(), 1u);
        EXPECT_EQ(fx.p.orders[0].quantity, c.ordered);
    }
}

TEST(Mrp, PlanFromRequirementsAndItsNeedDates)
{
    Fixture fx;
    fx.p.policy = POLICY_MRP;
    fx.p.requirements_source = [&](std::vector<MaterialRequirement>& out) {
        out.push_back({0, 0, 30, static_cast<int32_t>(fx.view.tick_count)});            // due now: dt < 1
        out.push_back({0, 1, 20, static_cast<int32_t>(fx.view.tick_count + 480 * 12)}); // 12 days
        out.push_back({1, 0, 5, static_cast<int32_t>(fx.view.tick_count + 480 * 3)});   // within QLT
        out.push_back({2, 0, 5, 0});                                                     // no such material
    };
    fx.p.issued_since_plan[0][0] = 9;
    fx.p.build_mrp_plan();
    ASSERT_EQ(fx.p.plan.size(), 3u);
    const SimDateTime today = fx.view.clock.current;
    EXPECT_EQ(compare_dates(fx.p.plan[0].need_date, today), 1);
    EXPECT_EQ(compare_dates(fx.p.plan[0].order_date, today), 1);
    EXPECT_EQ(compare_dates(fx.p.plan[1].need_date, fx.view.clock.AddWorkDays(today, 12)), 1);
    EXPECT_EQ(compare_dates(fx.p.plan[1].order_date, fx.view.clock.AddWorkDays(today, 12 - 5)), 1);
    EXPECT_EQ(compare_dates(fx.p.plan[2].order_date, today), 1);
    EXPECT_EQ(fx.p.issued_since_plan[0][0], 0);
    EXPECT_EQ(fx.p.get_requirement(0, 1, 11), 0);
    EXPECT_EQ(fx.p.get_requirement(0, 1, 12), 20);
    // Under the order-level policy nothing is planned.
    fx.p.policy = POLICY_ORDER_LEVEL;
    fx.p.plan.clear();
    fx.p.build_mrp_plan();
    EXPECT_TRUE(fx.p.plan.empty());
}

TEST(Mrp, NoOrderInTheDailyStepOnlyAtTheEndOfTheDay)
{
    Fixture fx;
    fx.p.policy = POLICY_MRP;
    fx.p.safety_stock[0][0] = 1000;
    fx.step();
    EXPECT_TRUE(fx.p.orders.empty());
    fx.p.end_of_day_ordering();
    ASSERT_EQ(fx.p.orders.size(), 1u);
    EXPECT_EQ(fx.p.orders[0].quantity, 600);
}

TEST(Mrp, ReplanDueOnTheFirstWorkingDaysOfTheMonth)
{
    struct Case {
        SimDateTime day;
        bool due;
    } cases[] = {
        {at(1996, 3, 1), true},    // Friday the 1st
        {at(1996, 3, 4), false},
        {at(1996, 9, 2), true},    // Monday the 2nd after a Sunday 1st
        {at(1996, 9, 3), false},   // the 2nd was worked
        {at(1996, 6, 3), true},    // Monday the 3rd after a weekend 1st and 2nd
        {at(1996, 10, 2), false},  // Wednesday the 2nd: the 1st was worked
    };
    for (const Case& c : cases) {
        Fixture fx;
        fx.view.clock.current = c.day;
        EXPECT_EQ(fx.p.replan_due(), c.due) << c.day.month << "/" << c.day.day;
    }
}

TEST(Mrp, ApplyingThePolicyPlansWhenDueAndSetsTheLevelsFlag)
{
    Fixture fx;
    int asked = 0;
    fx.p.requirements_source = [&](std::vector<MaterialRequirement>&) { ++asked; };
    fx.p.policy = POLICY_MRP;
    fx.view.clock.current = at(1996, 3, 1);
    fx.p.apply_purchasing_policy();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fx.p.levels_shown, 0);
    fx.view.clock.current = at(1996, 3, 5);
    fx.p.apply_purchasing_policy();
    EXPECT_EQ(asked, 1);
    fx.p.policy = POLICY_ORDER_LEVEL;
    fx.p.apply_purchasing_policy();
    EXPECT_EQ(fx.p.levels_shown, 1);
}

} // namespace
