// Orders Production makes itself, and the release of materials by MRP and drum-buffer-rope.
#include "support/sim.h"
#include <gtest/gtest.h>

namespace {

SimStamp day_of_1999(int month, int day) { return SimStamp{99, static_cast<int16_t>(month), static_cast<int16_t>(day), 8, 0}; }

Waiting_WO_Data* record_of(CProductionWnd& p, int job, const RWork_Order* wo)
{
    RJob* j = p.Jobs[static_cast<size_t>(job)].get();
    Waiting_WO* r = j->find_waiting_wo(wo);
    return r ? j->machine->find_waiting_data(j, r) : nullptr;
}

// The release minutes of a work order's transport jobs that carry one item to one job.
std::vector<int32_t> releases(CProductionWnd& p, const RWork_Order* wo, int16_t kind, int index, int dest)
{
    std::vector<int32_t> out;
    for (const auto& tj : p.transport->Trans_Jobs)
        if (tj->requesting_wo == wo && tj->material_kind == kind && tj->material_index == index && tj->dest_index == dest)
            out.push_back(tj->release);
    return out;
}

std::vector<int16_t> slots(const RProduct& p, int n)
{
    std::vector<int16_t> v;
    for (int i = 0; i < n; ++i)
        v.push_back(CProductionWnd::forecast_slot(p, i));
    return v;
}

} // namespace

TEST(ForecastOrders, SpreadSlotsAndReorderPoints)
{
    {
        SCOPED_TRACE("10 over 4 slots: 2, 2, 2, 4; raise-only keeps higher slots");
        Sim s;
        s.marketing.link = 2;
        s.prod.forecast_horizon_days = 7;
        s.prod.forecast_range_months = 1;
        s.marketing.plan[0][0] = 10;
        s.prod.spread_forecast(0);
        EXPECT_EQ(slots(*s.prod.Products[0], 4), (std::vector<int16_t>{2, 2, 2, 4}));
        const int16_t before[4] = {3, 1, 0, 9};
        for (int i = 0; i < 4; ++i)
            CProductionWnd::set_forecast_slot(*s.prod.Products[0], i, before[i]);
        s.marketing.plan[0][0] = 5;   // netting: 5 planned less the stock of 5 ... plus nothing
        s.marketing.inventory[0] = -5;
        s.prod.spread_forecast(1);
        EXPECT_EQ(s.marketing.calls, (std::vector<std::string>{"forecast", "plan"}));
        EXPECT_EQ(s.marketing.plan[0][0], 10);
        EXPECT_EQ(slots(*s.prod.Products[0], 4), (std::vector<int16_t>{3, 2, 2, 4}));
    }
    {
        SCOPED_TRACE("horizon 7, a fifth Monday over one month: no slot, no order; no months: nothing spread");
        Sim s;
        s.marketing.link = 2;
        s.prod.forecast_horizon_days = 7;
        s.prod.forecast_range_months = 1;
        s.prod.week_of_month = 5;
        s.host.new_month = true;
        s.prod.make_forecast_orders();
        EXPECT_TRUE(s.prod.prd_orders.empty());
        s.prod.week_of_month = 2;
        CProductionWnd::set_forecast_slot(*s.prod.Products[0], 1, 7);
        s.host.ticks = 480;   // a Monday start: the fake's new week
        s.prod.make_forecast_orders();
        ASSERT_EQ(s.prod.prd_orders.size(), 1u);
        EXPECT_EQ(s.prod.prd_orders[0]->quantity, 7);
        EXPECT_EQ(s.prod.prd_orders[0]->order_type, ORDER_FORECAST);
        EXPECT_EQ(s.prod.prd_orders[0]->lead_days, 3);   // the quoted lead time
        s.prod.forecast_range_months = 0;
        s.prod.spread_forecast(0);
        EXPECT_EQ(CProductionWnd::forecast_slot(*s.prod.Products[0], 1), 7);
    }
    {
        SCOPED_TRACE("reorder point 15, up to 40: free 14 orders 26, 15 none, 10 with 5 in work none");
        for (const auto& [free, in_work, ordered] : {std::tuple{14, 0, 26}, std::tuple{15, 0, 0}, std::tuple{10, 5, 0}}) {
            Sim s;
            s.exact_work_orders();
            s.seed_u1(free);
            if (in_work) {
                s.prod.add_order(-1, 1, static_cast<int16_t>(in_work), ORDER_REORDER, KIND_PRODUCT, 0);
                s.prod.plan_work_orders(1);
                ASSERT_EQ(s.prod.get_open_production_units(1), in_work);
            }
            const size_t before = s.prod.prd_orders.size();
            EXPECT_EQ(s.prod.make_reorder_orders(), ordered ? 1 : 0);
            if (ordered) {
                ASSERT_EQ(s.prod.prd_orders.size(), before + 1);
                const ProductionOrder& o = *s.prod.prd_orders.back();
                EXPECT_EQ(o.order_type, ORDER_REORDER);
                EXPECT_EQ(o.quantity, ordered);
                EXPECT_EQ(o.family_id, -1);
            } else {
                EXPECT_EQ(s.prod.prd_orders.size(), before);
            }
        }
    }
}

TEST(ContractOrders, SixMonthsAheadRoundedToTheBatch)
{
    const auto orders = [](const Sim& s) {
        std::vector<std::pair<int16_t, int16_t>> v;
        for (const auto& o : s.prod.prd_orders) {
            EXPECT_EQ(o->order_type, ORDER_CONTRACT);
            v.emplace_back(o->quantity, o->lead_days);
        }
        return v;
    };
    Sim s;
    s.host.stamp = day_of_1999(3, 1);
    s.prod.batch_size = 25;
    s.prod.plan_contract_orders();
    EXPECT_EQ(orders(s), (std::vector<std::pair<int16_t, int16_t>>{{50, 0}, {25, 22}, {25, 66}}));
    Sim plain;
    plain.host.stamp = day_of_1999(3, 1);
    plain.prod.plan_contract_orders();
    EXPECT_EQ(orders(plain), (std::vector<std::pair<int16_t, int16_t>>{{30, 0}, {35, 22}, {20, 66}, {10, 88}, {5, 110}}));
    // Work already due in a month's window counts against that month.
    Sim w;
    w.host.stamp = day_of_1999(3, 1);
    w.exact_work_orders();
    w.order_a1(12, ORDER_CUSTOMER, 3);
    w.prod.plan_work_orders(1);
    EXPECT_EQ(w.prod.units_due_in_window(day_of_1999(3, 1), day_of_1999(3, 4), 0), 0);   // due on the 4th
    EXPECT_EQ(w.prod.units_due_in_window(day_of_1999(3, 4), day_of_1999(3, 5), 0), 12);
    w.prod.plan_contract_orders();
    EXPECT_EQ(w.prod.prd_orders[1]->quantity, 18);
}

TEST(MrpRelease, ExplosionBackwardsFromTheDueMinute)
{
    Sim s;
    s.exact_work_orders();
    s.prod.release_policy = RELEASE_MRP;
    s.prod.mrp_lead_time_minutes = 480;
    s.prod.apply_mrp_lead_time();
    s.host.ticks = 100;
    s.order_a1(10, ORDER_CUSTOMER, 5);
    s.prod.plan_work_orders(1);   // MRP runs at the end of planning
    ASSERT_EQ(s.prod.Work_Orders.size(), 1u);
    RWork_Order* wo = s.prod.Work_Orders[0].get();
    const int32_t due = wo->due_minute;
    ASSERT_EQ(due, 100 + 5 * 480);
    Waiting_WO_Data* j2 = record_of(s.prod, 1, wo);
    Waiting_WO_Data* j1 = record_of(s.prod, 0, wo);
    ASSERT_TRUE(j1 && j2);
    EXPECT_EQ(j2->planned_start, due);
    EXPECT_EQ(j2->planned_duration, 480);
    EXPECT_EQ(j1->planned_start, due - 480);
    EXPECT_EQ(releases(s.prod, wo, KIND_RAW, 0, 0), (std::vector<int32_t>{due - 960}));
    EXPECT_EQ(releases(s.prod, wo, KIND_RAW, 1, 1), (std::vector<int32_t>{due - 480}));
    EXPECT_EQ(releases(s.prod, wo, KIND_PRODUCT, 1, 1), (std::vector<int32_t>{due - 480}));
    // Planned once: a second run leaves the plan as it is.
    j2->planned_start = 7;
    s.prod.do_MRP();
    EXPECT_EQ(j2->planned_start, 7);

    Sim past;
    past.exact_work_orders();
    past.prod.release_policy = RELEASE_MRP;
    past.prod.mrp_lead_time_minutes = 480;
    past.prod.apply_mrp_lead_time();
    past.order_a1(10, ORDER_CUSTOMER, 1);
    past.prod.plan_work_orders(1);
    EXPECT_EQ(releases(past.prod, past.prod.Work_Orders[0].get(), KIND_RAW, 0, 0), (std::vector<int32_t>{-1}));
}

TEST(MrpRelease, CommonPartOrdersUnderTheOption)
{
    for (const auto& [tick, lead] : {std::pair{0u, int16_t{4}}, std::pair{5000u, int16_t{0}}}) {
        SCOPED_TRACE(lead);
        Sim s;
        s.exact_work_orders();
        s.prod.release_policy = RELEASE_MRP;
        s.prod.mrp_option = 1;
        s.prod.mrp_lead_time_minutes = 480;
        s.prod.apply_mrp_lead_time();
        s.prod.Products[1]->on_stock = 0;
        s.host.ticks = tick;
        s.prod.add_order(0, 0, 10, ORDER_CUSTOMER, KIND_PRODUCT, 5);
        s.prod.prd_orders[0]->due_minute = 2400;   // the need of U1 is 1920
        s.prod.plan_work_orders(1);
        ASSERT_EQ(s.prod.prd_orders.size(), 2u);
        const ProductionOrder& part = *s.prod.prd_orders[1];
        EXPECT_EQ(part.order_type, ORDER_REORDER);
        EXPECT_EQ(part.quantity, 10);
        EXPECT_EQ(part.lead_days, lead);
        EXPECT_EQ(part.in_work_order, 1);   // planned again in the same run
        EXPECT_EQ(s.prod.Work_Orders.size(), 2u);
        EXPECT_EQ(s.prod.Work_Orders[0]->mrp_planned, 1);
    }
}

TEST(MrpRelease, ScheduleFollowsPlannedStarts)
{
    Sim s;
    s.exact_work_orders();
    s.prod.mrp_lead_time_minutes = 480;
    s.prod.apply_mrp_lead_time();
    s.order_a1(10, ORDER_CUSTOMER, 8);
    s.prod.plan_work_orders(1);
    s.order_a1(10, ORDER_CUSTOMER, 4);
    s.prod.plan_work_orders(1);
    s.prod.release_policy = RELEASE_MRP_SCHEDULE;
    s.prod.do_MRP();
    const RMachine& m2 = *s.prod.Machines[1];
    ASSERT_EQ(m2.Schedules.size(), 2u);
    EXPECT_EQ(m2.Schedules[0]->request->wo, s.prod.Work_Orders[1].get());
    EXPECT_LT(m2.Schedules[0]->planned_start, m2.Schedules[1]->planned_start);

    s.prod.Machines[0]->rule = RULE_EDD;
    s.prod.set_all_dispatch_rules(RULE_SCHEDULE);
    EXPECT_EQ(s.prod.Machines[0]->rule, RULE_SCHEDULE);
    EXPECT_EQ(s.prod.Machines[0]->initial_rule, RULE_EDD);
    s.prod.set_all_dispatch_rules(RULE_SCHEDULE);   // leaving the policy gives the saved rules back
    EXPECT_EQ(s.prod.Machines[0]->rule, RULE_EDD);
}

TEST(MaterialRequirements, WhatIfLeavesThePlantAsItWas)
{
    for (int16_t policy : {RELEASE_IMMEDIATE, RELEASE_MRP, RELEASE_MRP_SCHEDULE, RELEASE_DBR_NO_CONSTRAINT,
                           RELEASE_DBR_CONSTRAINT}) {
        SCOPED_TRACE(policy);
        Sim s;
        s.host.stamp = day_of_1999(3, 1);
        s.prod.release_policy = policy;
        s.prod.mrp_lead_time_minutes = 480;
        s.prod.apply_mrp_lead_time();
        s.prod.mark_constraint_routes();
        s.order_a1(10, ORDER_CUSTOMER, 5);
        s.prod.daily_step(0);
        s.order_a1(3, ORDER_STOCK, 5);   // a free order the run must not plan for good
        s.host.ticks = 3000;
        const std::vector<uint8_t> bytes = s.prod.save_plant();
        const uint16_t counter = s.prod.wo_counter;
        std::vector<int32_t> drums;
        for (const auto& e : s.prod.Machines[1]->Waiting_WOs_Data)
            drums.push_back(e->drum_start);
        const std::vector<Waiting_WO_Data*> schedule = s.prod.Machines[1]->Schedules;

        std::vector<MaterialRequirement> list(3);
        s.prod.get_material_requirements(list);

        EXPECT_EQ(s.prod.save_plant(), bytes);
        EXPECT_EQ(s.prod.wo_counter, counter);
        std::vector<int32_t> drums_after;
        for (const auto& e : s.prod.Machines[1]->Waiting_WOs_Data)
            drums_after.push_back(e->drum_start);
        EXPECT_EQ(drums_after, drums);
        EXPECT_EQ(s.prod.Machines[1]->Schedules, schedule);
        for (const auto& o : s.prod.prd_orders)
            EXPECT_NE(o->order_type, ORDER_CONTRACT);

        ASSERT_FALSE(list.empty());
        int32_t xa = 0, xb = 0;
        for (size_t i = 0; i < list.size(); ++i) {
            EXPECT_GE(list[i].due_minute, 3000);   // the past is now
            (list[i].material == 0 ? xa : xb) += list[i].quantity;
            if (i > 0) {
                const MaterialRequirement& a = list[i - 1];
                const MaterialRequirement& b = list[i];
                EXPECT_TRUE(a.due_minute < b.due_minute ||
                            (a.due_minute == b.due_minute && (a.family < b.family || a.material < b.material)));
            }
        }
        // 95 contract units (month 0 less the 10 already due, month 5 topped up to the minimum of 10)
        // need two XA and two XB each; the real work order's own jobs count too.
        int32_t real_xa = 0, real_xb = 0;
        for (const auto& tj : s.prod.transport->Trans_Jobs)
            if (tj->source_kind == KIND_RAW)
                (tj->source_index == 0 ? real_xa : real_xb) += tj->quantity;
        EXPECT_EQ(xa, 190 + real_xa);
        EXPECT_EQ(xb, 190 + real_xb);
    }
}

TEST(DbrRelease, ConstraintRoutesAndDrum)
{
    Sim s;
    s.exact_work_orders();
    s.prod.release_policy = RELEASE_DBR_CONSTRAINT;
    s.prod.mark_constraint_routes();
    EXPECT_EQ(s.prod.Jobs[1]->on_constraint, 1);
    EXPECT_EQ(s.prod.Jobs[0]->on_constraint, 0);
    EXPECT_EQ(s.prod.Products[0]->spare, 1);
    EXPECT_EQ(s.prod.Products[1]->spare, 0);
    EXPECT_EQ(s.prod.Jobs[1]->inputs[0].constraint_path, NONE16);

    s.order_a1(10, ORDER_STOCK, 20);
    s.prod.plan_work_orders(1);
    s.prod.Products[1]->code[0] = 'U';
    RWork_Order* wo = s.prod.Work_Orders[0].get();
    s.prod.do_DBR_constrain();
    Waiting_WO_Data* drum = record_of(s.prod, 1, wo);
    ASSERT_NE(drum, nullptr);
    ASSERT_NE(drum->drum_start, -1);
    EXPECT_LE(drum->drum_start, wo->due_minute - 480);
    const int32_t release = drum->drum_start - 960 < 0 ? -1 : drum->drum_start - 960;
    EXPECT_EQ(releases(s.prod, wo, KIND_RAW, 0, 0), (std::vector<int32_t>{release}));
    EXPECT_EQ(releases(s.prod, wo, KIND_RAW, 1, 1), (std::vector<int32_t>{release}));
    EXPECT_EQ(s.prod.Machines[1]->Schedules, (std::vector<Waiting_WO_Data*>{drum}));
    for (const auto& tj : s.prod.transport->Trans_Jobs)
        EXPECT_NE(tj->release, -2);

    // Hourly: past the red line without the inputs for one part, the priority rises by days.
    s.prod.red_line_hours = 1;
    s.host.ticks = static_cast<uint32_t>(drum->drum_start + 60 + 960);
    EXPECT_EQ(s.prod.dbr_hourly_release(), 1);
    EXPECT_EQ(wo->priority, 2);
}

TEST(DbrRelease, OrderFactorAndNoConstraint)
{
    Sim s;
    s.exact_work_orders();
    s.prod.mark_constraint_routes();
    s.order_a1(10, ORDER_CUSTOMER, 20);
    s.prod.plan_work_orders(1);
    s.order_a1(10, ORDER_STOCK, 20);
    s.prod.plan_work_orders(1);
    s.prod.contract_factor = 2.0f;
    s.prod.do_DBR_constrain();
    RWork_Order* customer = s.prod.Work_Orders[0].get();
    RWork_Order* stock = s.prod.Work_Orders[1].get();
    EXPECT_EQ(customer->has_customer_order, 1);
    EXPECT_EQ(stock->has_customer_order, 0);
    // The customer's longer buffer sorts it after the stock order.
    const auto& drum = s.prod.Machines[1]->Schedules;
    ASSERT_EQ(drum.size(), 2u);
    EXPECT_EQ(drum[0]->request->wo, stock);
    EXPECT_EQ(drum[1]->request->wo, customer);
    // Equal buffers: by work-order number.
    s.prod.contract_factor = 1.0f;
    s.prod.do_DBR_constrain();
    EXPECT_EQ(s.prod.Machines[1]->Schedules[0]->request->wo, customer);

    s.prod.dbr_no_constrain();
    for (RWork_Order* wo : {customer, stock})
        EXPECT_EQ(releases(s.prod, wo, KIND_RAW, 1, 1), (std::vector<int32_t>{wo->due_minute - 480}));

    // A product that does not pass the constraint: shipping plus assembly buffer, scaled for customers.
    s.prod.constraint_machine = 0;
    s.prod.mark_constraint_routes();
    s.prod.Jobs[0]->on_constraint = 0;
    s.prod.Products[0]->spare = 0;
    s.prod.contract_factor = 2.0f;
    s.prod.do_DBR_constrain();
    EXPECT_EQ(releases(s.prod, customer, KIND_RAW, 1, 1), (std::vector<int32_t>{customer->due_minute - 1920}));
    EXPECT_EQ(releases(s.prod, stock, KIND_RAW, 1, 1), (std::vector<int32_t>{stock->due_minute - 960}));
}

TEST(DbrRelease, ManualListReleasesByPhase)
{
    Sim s;
    s.exact_work_orders();
    s.prod.release_policy = RELEASE_MANUAL;
    s.prod.mark_constraint_routes();
    s.prod.set_raw_releases_according_to_list({});
    EXPECT_EQ(s.ui.notices, (std::vector<std::string>{"No work orders for constrain"}));
    for (int i = 0; i < 3; ++i) {
        s.order_a1(10, ORDER_STOCK, 20);
        s.prod.plan_work_orders(1);
    }
    for (const auto& tj : s.prod.transport->Trans_Jobs) {
        if (tj->material_kind == KIND_RAW) {
            EXPECT_EQ(tj->release, -2);
        }
    }
    std::vector<Waiting_WO_Data*> list;
    for (const auto& e : s.prod.Machines[1]->Waiting_WOs_Data)
        list.push_back(e.get());
    s.prod.set_raw_releases_according_to_list(list);
    // The first entry lacks its inputs: it alone goes at once; the table is not yet full, so the rest too.
    for (const auto& tj : s.prod.transport->Trans_Jobs)
        EXPECT_EQ(tj->release, -1);
}

TEST(ReleasePolicies, SampleRunsAMonthUnderEachPolicy)
{
    for (int16_t policy = RELEASE_IMMEDIATE; policy <= RELEASE_MANUAL; ++policy) {
        SCOPED_TRACE(policy);
        Sim s;
        s.clock_hours = true;
        s.prod.release_policy = policy;
        s.prod.mrp_lead_time_minutes = 480;
        s.prod.apply_mrp_lead_time();
        s.prod.mark_constraint_routes();
        bool planned = false, drum = false, held_after_morning = false;
        for (int day = 0; day < 21; ++day) {
            s.purchasing.stock[0] = s.purchasing.stock[1] = 2000;
            s.order_a1(10, ORDER_CUSTOMER, 5);
            s.run(480);
            for (const auto& m : s.prod.Machines)
                for (const auto& e : m->Waiting_WOs_Data) {
                    planned = planned || e->planned_start != -1;
                    drum = drum || e->drum_start != -1;
                }
            // Right after the morning's release planning: the releasing policies leave nothing held.
            for (const auto& tj : s.prod.transport->Trans_Jobs)
                held_after_morning = held_after_morning || (tj->release == -2 && s.host.minute_of_day() == 0);
        }
        EXPECT_EQ(planned, policy == RELEASE_MRP || policy == RELEASE_MRP_SCHEDULE);
        EXPECT_EQ(drum, policy == RELEASE_DBR_CONSTRAINT);
        if (policy == RELEASE_MANUAL) {
            // Nothing releases raw material by itself: no finished unit can be made.
            EXPECT_EQ(s.marketing.delivered, 0);
            bool held = false;
            for (const auto& tj : s.prod.transport->Trans_Jobs)
                held = held || tj->release == -2;
            EXPECT_TRUE(held);
        } else {
            EXPECT_FALSE(held_after_morning);
            EXPECT_GT(s.marketing.delivered, 0);
        }
        if (policy == RELEASE_DBR_CONSTRAINT) {
            EXPECT_FALSE(s.prod.Machines[1]->Schedules.empty() && !s.prod.Machines[1]->Waiting_WOs_Data.empty());
        }
    }
}
