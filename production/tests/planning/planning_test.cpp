// Work-order planning: its timing, the grouping of free orders, and the priorities of orders.
#include "support/sim.h"
#include <gtest/gtest.h>

namespace {

// 4 January 1999 was a Monday; years count from 1900.
SimStamp day_of_1999(int month, int day) { return SimStamp{99, static_cast<int16_t>(month), static_cast<int16_t>(day), 8, 0}; }

std::vector<int32_t> wo_quantities(const CProductionWnd& p)
{
    std::vector<int32_t> q;
    for (const auto& wo : p.Work_Orders)
        q.push_back(static_cast<int32_t>(wo->quantity));
    return q;
}

// Runs planning on each given day with a fresh order waiting, and answers on which days it planned.
std::vector<int> planning_days(Sim& s, const std::vector<SimStamp>& days)
{
    std::vector<int> planned;
    for (const SimStamp& d : days) {
        s.host.stamp = d;
        s.order_a1(10);
        const size_t before = s.prod.Work_Orders.size();
        s.prod.plan_work_orders(0);
        if (s.prod.Work_Orders.size() > before)
            planned.push_back(d.day);
    }
    return planned;
}

} // namespace

TEST(PlanningTiming, FixedIntervalWeeklyAndDayOfMonth)
{
    const std::vector<SimStamp> fortnight = {day_of_1999(1, 4), day_of_1999(1, 5), day_of_1999(1, 6),
                                             day_of_1999(1, 7), day_of_1999(1, 8), day_of_1999(1, 11),
                                             day_of_1999(1, 12), day_of_1999(1, 13)};
    {
        SCOPED_TRACE("interval 3 from a countdown of 0: Monday, Thursday, the next Tuesday");
        Sim s;
        s.prod.wo_planning_mode = 0;
        s.prod.wo_planning_parameter = 3;
        s.prod.wo_planning_countdown = 0;
        EXPECT_EQ(planning_days(s, fortnight), (std::vector<int>{4, 7, 12}));
    }
    {
        SCOPED_TRACE("weekly on Friday (6): Fridays only, priorities every day");
        Sim s;
        s.prod.wo_planning_mode = 1;
        s.prod.wo_planning_parameter = 6;
        s.prod.wo_planning_countdown = 6;
        s.marketing.inventory[0] = 0;
        s.host.stamp = day_of_1999(1, 4);
        s.order_a1(10);
        s.prod.plan_work_orders(0);
        EXPECT_TRUE(s.prod.Work_Orders.empty());
        EXPECT_GT(s.prod.prd_orders[0]->priority, 0);   // priorities updated though nothing was planned
        EXPECT_EQ(planning_days(s, fortnight), (std::vector<int>{8}));
    }
    {
        SCOPED_TRACE("day 15 of the month: the 15th or the next working day while armed, armed again monthly");
        Sim s;
        s.prod.wo_planning_mode = 2;
        s.prod.wo_planning_parameter = 1;
        s.prod.wo_planning_countdown = 15;
        // 15 May 1999 was a Saturday: planning falls on Monday the 17th.
        EXPECT_EQ(planning_days(s, {day_of_1999(5, 14), day_of_1999(5, 17), day_of_1999(5, 18)}),
                  (std::vector<int>{17}));
        EXPECT_EQ(s.prod.wo_planning_parameter, 0);
        s.prod.on_new_month();
        EXPECT_EQ(s.prod.wo_planning_parameter, 1);
        EXPECT_EQ(planning_days(s, {day_of_1999(6, 14), day_of_1999(6, 15), day_of_1999(6, 16)}),
                  (std::vector<int>{15}));
    }
    {
        SCOPED_TRACE("forecast link mode: every day, whatever the timing says");
        Sim s;
        s.marketing.link = 2;
        s.prod.wo_planning_mode = 1;
        s.prod.wo_planning_parameter = s.prod.wo_planning_countdown = 6;
        EXPECT_EQ(planning_days(s, {day_of_1999(1, 4), day_of_1999(1, 5)}), (std::vector<int>{4, 5}));
    }
}

TEST(PlanningTiming, NineOClockReplanOnlyOnAPlanningDay)
{
    struct Row {
        const char* why;
        int16_t mode, parameter, countdown;
        SimStamp today;
        bool planning_day;
    };
    const Row rows[] = {
        {"interval: planned this morning", 0, 3, 3, day_of_1999(1, 4), true},
        {"interval: a day between", 0, 3, 2, day_of_1999(1, 5), false},
        {"weekly: the day", 1, 6, 6, day_of_1999(1, 8), true},
        {"weekly: another day", 1, 6, 6, day_of_1999(1, 7), false},
        {"day of month: planned on the set day", 2, 0, 15, day_of_1999(6, 15), true},
        {"day of month: the set day fell on Saturday", 2, 0, 15, day_of_1999(5, 17), true},
        {"day of month: after it", 2, 0, 15, day_of_1999(6, 16), false},
        {"day of month: still armed", 2, 1, 15, day_of_1999(6, 15), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        Sim s;
        s.prod.wo_planning_mode = r.mode;
        s.prod.wo_planning_parameter = r.parameter;
        s.prod.wo_planning_countdown = r.countdown;
        s.host.stamp = r.today;
        EXPECT_EQ(s.prod.is_planning_day(), r.planning_day);
    }
    // The hour: a reorder made at 09:00 is planned at once on a planning day, the timing untouched.
    Sim s;
    s.prod.wo_planning_parameter = 3;
    s.prod.wo_planning_countdown = 3;
    s.host.stamp = day_of_1999(1, 4);
    s.host.stamp.hour = 9;
    s.prod.on_hour();   // U1 holds nothing: below its reorder level of 15
    ASSERT_EQ(s.prod.Work_Orders.size(), 1u);
    EXPECT_EQ(s.prod.Work_Orders[0]->first_order_type(), ORDER_REORDER);
    EXPECT_EQ(s.prod.wo_planning_countdown, 3);
    Sim off;
    off.prod.wo_planning_parameter = 3;
    off.prod.wo_planning_countdown = 1;
    off.host.stamp = day_of_1999(1, 5);
    off.host.stamp.hour = 9;
    off.prod.on_hour();
    EXPECT_TRUE(off.prod.Work_Orders.empty());
    EXPECT_EQ(off.prod.prd_orders.size(), 1u);
}

TEST(PlanningGrouping, BatchesTopUpsAndDemand)
{
    {
        SCOPED_TRACE("30/40/50 customer units, batch 50: 50, 50, 20 with the split orders appended");
        Sim s;
        s.exact_work_orders();
        s.marketing.contract_ahead = 0;
        s.prod.batch_size = 50;
        for (int16_t q : {30, 40, 50})
            s.order_a1(q);
        s.prod.plan_work_orders(1);
        EXPECT_EQ(wo_quantities(s.prod), (std::vector<int32_t>{50, 50, 20}));
        ASSERT_EQ(s.prod.prd_orders.size(), 4u);
        EXPECT_EQ(s.prod.prd_orders[1]->quantity, 20);   // 40 gave 20 to the split appended last
        EXPECT_EQ(s.prod.prd_orders[3]->quantity, 20);
        EXPECT_EQ(s.prod.prd_orders[3]->work_order, s.prod.Work_Orders[2].get());
        EXPECT_EQ(s.prod.merge_order_types, 0);          // restored after the pass
        for (const auto& o : s.prod.prd_orders)
            EXPECT_EQ(o->in_work_order, 1);
    }
    {
        SCOPED_TRACE("below the minimum demand: skipped periodically, planned immediately");
        Sim s;
        s.prod.min_wo_demand = 20;
        s.order_a1(15);
        s.prod.plan_work_orders(0);
        EXPECT_TRUE(s.prod.Work_Orders.empty());
        s.prod.plan_work_orders(1);
        EXPECT_EQ(wo_quantities(s.prod), (std::vector<int32_t>{15}));
    }
    {
        SCOPED_TRACE("top-ups: 1 to the minimum quantity, 2 to the batch from contract units ahead");
        Sim s;
        s.prod.min_wo_quantity = 10;
        s.order_a1(4, ORDER_STOCK);
        s.prod.plan_work_orders(1);
        ASSERT_EQ(s.prod.prd_orders.size(), 2u);
        EXPECT_EQ(s.prod.prd_orders[1]->top_up, 1);
        EXPECT_EQ(s.prod.prd_orders[1]->quantity, 6);
        Sim b;
        b.exact_work_orders();
        b.prod.batch_size = 25;
        b.marketing.contract_ahead = 12;
        b.order_a1(20, ORDER_STOCK);
        b.prod.plan_work_orders(1);
        ASSERT_EQ(b.prod.prd_orders.size(), 2u);
        EXPECT_EQ(b.prod.prd_orders[1]->top_up, 2);
        EXPECT_EQ(b.prod.prd_orders[1]->quantity, 5);            // the room left in the batch
        EXPECT_EQ(b.prod.Products[0]->on_customer_orders, 5);    // counted as customer units
        EXPECT_EQ(wo_quantities(b.prod), (std::vector<int32_t>{25}));
    }
    {
        SCOPED_TRACE("batch 50, minimum 60, one order of 10: one work order of 50 and the pass ends");
        Sim s;
        s.marketing.contract_ahead = 0;
        s.prod.batch_size = 50;
        s.prod.min_wo_quantity = 60;
        s.order_a1(10);
        s.prod.plan_work_orders(1);
        EXPECT_EQ(wo_quantities(s.prod), (std::vector<int32_t>{50}));
    }
    {
        SCOPED_TRACE("a contract leader keeps customer orders out, even merged by the batch");
        Sim s;
        s.exact_work_orders();
        s.prod.batch_size = 100;
        s.order_a1(10, ORDER_CONTRACT);
        s.order_a1(7, ORDER_CUSTOMER);
        s.prod.plan_work_orders(2);
        ASSERT_EQ(s.prod.Work_Orders.size(), 1u);
        EXPECT_EQ(s.prod.Work_Orders[0]->Request.size(), 1u);
        EXPECT_EQ(s.prod.prd_orders[1]->in_work_order, 0);
    }
    {
        SCOPED_TRACE("stock and customer orders share a work order only when merged");
        Sim s;
        s.exact_work_orders();
        s.order_a1(10, ORDER_STOCK);
        s.order_a1(10, ORDER_CUSTOMER);
        s.prod.plan_work_orders(1);
        EXPECT_EQ(wo_quantities(s.prod), (std::vector<int32_t>{10, 10}));
        Sim m;
        m.exact_work_orders();
        m.prod.merge_order_types = 1;
        m.order_a1(10, ORDER_STOCK);
        m.order_a1(10, ORDER_CUSTOMER);
        m.prod.plan_work_orders(1);
        EXPECT_EQ(wo_quantities(m.prod), (std::vector<int32_t>{20}));
    }
    {
        SCOPED_TRACE("a manual order served from stock leaves no work order");
        Sim s;
        s.exact_work_orders();
        s.prod.Jobs[1]->add_material_to_output(nullptr, 0, 0, 6);
        s.order_a1(4, ORDER_MANUAL, 0);
        s.prod.plan_work_orders(1);
        EXPECT_TRUE(s.prod.Work_Orders.empty());
        EXPECT_TRUE(s.prod.prd_orders.empty());
        EXPECT_EQ(s.prod.Jobs[1]->get_output_qty(nullptr, 0, 0), 6);
    }
}

TEST(OrderPriorities, FromMarketingsPosition)
{
    const auto priorities = [](const Sim& s) {
        std::vector<int16_t> v;
        for (const auto& o : s.prod.prd_orders)
            v.push_back(o->priority);
        return v;
    };
    {
        SCOPED_TRACE("make to stock: red line 10, stock 5, first supply day 4, orders 6/8/5");
        Sim s;
        s.marketing.supply[0] = {4, 4, 4};
        for (int16_t q : {6, 8, 5})
            s.order_a1(q);
        EXPECT_EQ(s.prod.update_priorities(), 0);
        EXPECT_EQ(priorities(s), (std::vector<int16_t>{9, 3, 0}));
    }
    {
        SCOPED_TRACE("make to order: time 3, supply [5,5,5]; stock 7 gives 2/2, stock 15 gives 0/0");
        for (const auto& [stock, expected, result] :
             {std::tuple{int16_t{7}, std::vector<int16_t>{2, 2}, 1}, std::tuple{int16_t{15}, std::vector<int16_t>{0, 0}, 0}}) {
            Sim s;
            s.marketing.link = 1;
            s.marketing.supply[0] = {5, 5, 5};
            s.marketing.inventory[0] = stock;
            s.order_a1(6);
            s.order_a1(8);
            EXPECT_EQ(s.prod.update_priorities(), result);
            EXPECT_EQ(priorities(s), expected);
            EXPECT_TRUE(s.ui.messages.empty());
        }
    }
    {
        SCOPED_TRACE("make to order: red line time 5 over a table of 3 shows the box twice with an excess");
        Sim s;
        s.marketing.link = 1;
        s.marketing.red_time[0] = 5;
        s.marketing.supply[0] = {5, 5, 5};
        s.marketing.inventory[0] = 2;
        s.order_a1(6);
        s.prod.update_priorities();
        EXPECT_EQ(s.ui.messages, (std::vector<std::string>(2, "Error: supply days index overflow in update prioties")));
        Sim none;
        none.marketing.link = 1;
        none.marketing.supply[0] = {};
        none.order_a1(6);
        none.prod.update_priorities();   // an empty table is read as nothing due
        EXPECT_EQ(none.ui.messages.size(), 1u);
        EXPECT_EQ(none.prod.prd_orders[0]->priority, 0);
    }
    {
        SCOPED_TRACE("reorder orders: red line 10, free stock 4, orders of 20 then 5 get 6 and 0");
        Sim s;
        s.prod.Jobs[2]->add_material_to_output(nullptr, 0, 0, 4);
        s.prod.add_order(-1, 1, 20, ORDER_REORDER, KIND_PRODUCT, 0);
        s.prod.add_order(-1, 1, 5, ORDER_REORDER, KIND_PRODUCT, 0);
        s.order_a1(5, ORDER_MANUAL);
        s.order_a1(5, ORDER_CONTRACT);
        EXPECT_EQ(s.prod.update_priorities(), 0);
        EXPECT_EQ(priorities(s), (std::vector<int16_t>{6, 0, 0, 0}));
    }
}

TEST(OrderPriorities, SortByDueKeepsEqualKeysInOrder)
{
    std::vector<ProductionOrder> store(5);
    const uint32_t dues[] = {50, 10, 10, 0xFFFFFFF0u, 30};   // the fourth is negative as a signed minute
    for (size_t i = 0; i < store.size(); ++i) {
        store[i].due_minute = dues[i];
        store[i].scratch = static_cast<int16_t>(i);
    }
    const auto sorted = [&](std::vector<size_t> pick) {
        std::vector<ProductionOrder*> l;
        for (size_t i : pick)
            l.push_back(&store[i]);
        CProductionWnd::sort_orders_by_due(l);
        std::vector<int16_t> out;
        for (const ProductionOrder* o : l)
            out.push_back(o->scratch);
        return out;
    };
    EXPECT_EQ(sorted({}), (std::vector<int16_t>{}));
    EXPECT_EQ(sorted({0}), (std::vector<int16_t>{0}));
    EXPECT_EQ(sorted({2, 1}), (std::vector<int16_t>{2, 1}));
    EXPECT_EQ(sorted({0, 4, 1, 3}), (std::vector<int16_t>{3, 1, 4, 0}));
}

TEST(ExtraShift, RaisedOneShiftPlantOnly)
{
    Sim s;
    s.prod.extra_shift_start = day_of_1999(3, 2);
    s.prod.extra_shift_end = SimStamp{99, 3, 3, 16, 0};
    s.host.stamp = day_of_1999(3, 1);
    s.prod.apply_shift_schedule();
    EXPECT_EQ(s.host.mode, 0) << "not yet";
    s.host.stamp = day_of_1999(3, 2);
    s.prod.apply_shift_schedule();
    EXPECT_EQ(s.host.mode, 2);
    EXPECT_EQ(s.prod.extra_shift_days, 0);
    s.host.stamp = day_of_1999(3, 3);
    s.prod.apply_shift_schedule();
    EXPECT_EQ(s.host.mode, 2);
    EXPECT_EQ(s.prod.extra_shift_days, 1);
    s.host.stamp = day_of_1999(3, 4);
    s.prod.apply_shift_schedule();   // the end has passed: back to one shift, dates cleared
    EXPECT_EQ(s.host.mode, 0);
    EXPECT_EQ(s.prod.extra_shift_days, 2);
    EXPECT_EQ(s.prod.extra_shift_start.year, 0);
    EXPECT_EQ(s.prod.extra_shift_end.year, 0);

    for (int scenario : {1, 2}) {
        SCOPED_TRACE(scenario);
        Sim t;
        t.host.mode = t.host.scenario_mode = scenario;
        t.prod.extra_shift_start = day_of_1999(3, 2);
        t.prod.extra_shift_end = day_of_1999(3, 3);
        for (int d = 1; d <= 5; ++d) {
            t.host.stamp = day_of_1999(3, d);
            t.prod.apply_shift_schedule();
        }
        EXPECT_EQ(t.host.mode, scenario);
        EXPECT_EQ(t.prod.extra_shift_days, 0);
        EXPECT_EQ(t.prod.extra_shift_start.day, 2) << "the dates are kept";
    }
}
