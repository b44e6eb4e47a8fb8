// Production orders: creation, lead days, counters and reduction of free orders.
#include "support/sim.h"
#include <gtest/gtest.h>

TEST(ProductionOrders, NothingForAZeroOrNegativeQuantity)
{
    Sim s;
    s.prod.add_order(0, 0, 0, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    s.prod.add_order(0, 0, -3, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    EXPECT_TRUE(s.prod.prd_orders.empty());
    EXPECT_EQ(s.prod.Products[0]->on_order, 0);
    EXPECT_EQ(s.marketing.on_order_draws, 0);
}

TEST(ProductionOrders, LeadDaysDueMinuteAndCounters)
{
    struct Row {
        const char* why;
        int16_t type;
        int link;
        int shift;
        uint16_t product_lead;
        int16_t lead;
        uint32_t due;
        int16_t on_order, customer;
        int draws;
    };
    const Row rows[] = {
        {"customer order, caller's lead", ORDER_CUSTOMER, 0, 0, 0, 5, 100 + 5 * 480, 4, 4, 1},
        {"the product's lead days replace it", ORDER_CUSTOMER, 0, 0, 3, 3, 100 + 3 * 480, 4, 4, 1},
        {"contract keeps the caller's, no redraw", ORDER_CONTRACT, 0, 0, 3, 5, 100 + 5 * 480, 4, 0, 0},
        {"make to order keeps the caller's", ORDER_STOCK, 1, 0, 3, 5, 100 + 5 * 480, 4, 0, 1},
        {"three shifts: 24-hour days", ORDER_STOCK, 0, 1, 0, 5, 100 + 5 * 1440, 4, 0, 1},
        {"two shifts: 16-hour days", ORDER_FORECAST, 0, 2, 0, 5, 100 + 5 * 960, 4, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        Sim s;
        s.host.ticks = 100;
        s.host.mode = r.shift;
        s.marketing.link = r.link;
        s.prod.Products[0]->lead_days = r.product_lead;
        s.prod.add_order(0, 0, 4, r.type, KIND_PRODUCT, 5);
        ASSERT_EQ(s.prod.prd_orders.size(), 1u);
        const ProductionOrder& o = *s.prod.prd_orders[0];
        EXPECT_EQ(o.lead_days, r.lead);
        EXPECT_EQ(o.due_minute, r.due);
        EXPECT_EQ(o.in_work_order, 0);
        EXPECT_EQ(o.work_order, nullptr);
        EXPECT_EQ(o.priority, 0);
        EXPECT_EQ(s.prod.Products[0]->on_order, r.on_order);
        EXPECT_EQ(s.prod.Products[0]->on_customer_orders, r.customer);
        EXPECT_EQ(s.marketing.on_order_draws, r.draws);
    }
}

TEST(ProductionOrders, ReductionTakesFreeOrdersOnly)
{
    Sim s;
    s.exact_work_orders();
    s.seed_u1(40);
    CProductionWnd& p = s.prod;
    p.add_order(0, 0, 4, ORDER_CUSTOMER, KIND_PRODUCT, 5);   // goes into a work order below
    p.plan_work_orders(0);
    p.add_order(0, 0, 5, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    p.add_order(0, 0, 6, ORDER_STOCK, KIND_PRODUCT, 5);
    ASSERT_EQ(p.prd_orders.size(), 3u);
    EXPECT_EQ(p.Products[0]->on_order, 15);
    EXPECT_EQ(p.Products[0]->on_customer_orders, 9);

    p.reduce_production_orders(0, 0, 8);   // all 5 of the customer order, 3 of the stock order
    ASSERT_EQ(p.prd_orders.size(), 2u);
    EXPECT_EQ(p.prd_orders[0]->in_work_order, 1);
    EXPECT_EQ(p.prd_orders[1]->quantity, 3);
    EXPECT_EQ(p.Products[0]->on_order, 7);
    EXPECT_EQ(p.Products[0]->on_customer_orders, 4);

    EXPECT_EQ(p.take_from_open_orders(0, 10), 3);   // more than is free: what there is
    EXPECT_EQ(p.prd_orders.size(), 1u);
    EXPECT_EQ(p.get_on_order_units(0, 0), 7);       // take alone leaves the counter to its caller
}
