// Work orders through the sample plant: release keys, delivery, destruction leaving nothing behind.
#include "support/sim.h"
#include <gtest/gtest.h>

namespace {

size_t queued(const CProductionWnd& p)
{
    size_t n = 0;
    for (const auto& m : p.Machines)
        n += m->Waiting_WOs_Data.size();
    return n;
}

size_t requests(const CProductionWnd& p)
{
    size_t n = 0;
    for (const auto& j : p.Jobs)
        if (j)
            n += j->requests.size();
    return n;
}

const RTransportJob* find_job(const CProductionWnd& p, int16_t src_kind, uint8_t src, int16_t dst_kind, uint8_t dst)
{
    for (const auto& j : p.transport->Trans_Jobs)
        if (j->source_kind == src_kind && j->source_index == src && j->dest_kind == dst_kind && j->dest_index == dst)
            return j.get();
    return nullptr;
}

} // namespace

TEST(WorkOrderFlow, CustomerOrderThroughTwoMachinesToFinishedGoods)
{
    Sim s;
    s.seed_u1(40);
    s.order_a1(10);
    CProductionWnd& p = s.prod;
    EXPECT_EQ(p.Products[0]->on_order, 10);
    EXPECT_EQ(p.Products[0]->on_customer_orders, 10);
    p.daily_step(0);
    ASSERT_EQ(p.Work_Orders.size(), 1u);
    RWork_Order* wo = p.Work_Orders[0].get();
    EXPECT_STREQ(wo->name, "W1");
    EXPECT_EQ(p.transport->Trans_Jobs.size(), 5u);
    s.run(3 * 480);

    EXPECT_EQ(s.marketing.delivered, 10);
    ASSERT_FALSE(s.marketing.stock_updates.empty());
    EXPECT_EQ(s.marketing.stock_updates[0].family, 0);
    EXPECT_EQ(s.marketing.stock_updates[0].kind, 0);
    EXPECT_TRUE(p.Work_Orders.empty());
    EXPECT_EQ(requests(p), 0u);
    EXPECT_EQ(queued(p), 0u);
    EXPECT_TRUE(p.transport->Trans_Jobs.empty());
    EXPECT_TRUE(p.prd_orders.empty());
    EXPECT_EQ(p.references_to(wo), "");
    EXPECT_EQ(s.purchasing.stock[0], 90);
    EXPECT_EQ(s.purchasing.stock[1], 80);
    EXPECT_EQ(p.Products[1]->free_stock_at_final_job(p), 30);
    EXPECT_EQ(p.Machines[0]->finished_material, 30);
    EXPECT_EQ(p.Machines[1]->buffer_count, 0);
    EXPECT_EQ(p.Machines[1]->finished_material, 0);
    const RProduct& a1 = *p.Products[0];
    EXPECT_EQ(a1.in_process, 0);
    EXPECT_EQ(a1.on_order, 0);
    EXPECT_EQ(a1.on_customer_orders, 0);
    EXPECT_EQ(a1.departures, -10);
    EXPECT_EQ(p.Products[1]->departures, -10);
    EXPECT_EQ(a1.lead_times.Entries.size(), 1u);
}

TEST(WorkOrderFlow, ReleaseKeysMeetWhereConsumersRead)
{
    for (int16_t route : {1, 0}) {
        SCOPED_TRACE(route);
        Sim s;
        s.prod.route_option = route;
        s.seed_u1(40);
        s.prod.Jobs[0]->add_material_to_output(nullptr, 0, 0, 4);   // four J1 parts already made
        s.order_a1(10);
        s.prod.daily_step(0);
        CProductionWnd& p = s.prod;
        RWork_Order* wo = p.Work_Orders[0].get();
        const int16_t j2x = route ? 410 : 0, j2y = route ? 355 : 0;   // column h, level 1, + 25
        const int16_t j1x = route ? 355 : 0, j1y = route ? 300 : 0;   // column g, level 2, + 25
        ASSERT_EQ(p.Jobs[1]->requests.size(), 1u);
        EXPECT_EQ(p.Jobs[1]->requests[0]->x, j2x);
        EXPECT_EQ(p.Jobs[1]->requests[0]->y, j2y);
        ASSERT_EQ(p.Jobs[0]->requests.size(), 1u);
        EXPECT_EQ(p.Jobs[0]->requests[0]->x, j1x);
        EXPECT_EQ(p.Jobs[0]->requests[0]->quantity, 10);   // the full need, not the rest
        // The parts already made are re-bound where the transport loads them.
        EXPECT_EQ(p.Jobs[0]->get_output_qty(wo, j1x, j1y), 4);
        const RTransportJob* carry = find_job(p, KIND_JOB, 0, KIND_JOB, 1);
        ASSERT_NE(carry, nullptr);
        EXPECT_EQ(carry->quantity, 10);
        EXPECT_EQ(carry->sx, j1x);
        EXPECT_EQ(carry->sy, j1y);
        EXPECT_EQ(carry->dx, j2x);
        EXPECT_EQ(carry->dy, j2y);
        const RTransportJob* u1 = find_job(p, KIND_PRODUCT, 1, KIND_JOB, 1);
        ASSERT_NE(u1, nullptr);
        EXPECT_EQ(u1->source_wo, nullptr);   // from stock, free at (none, 0, 0)
        EXPECT_EQ(u1->sx, 0);
        const RTransportJob* delivery = find_job(p, KIND_JOB, 1, KIND_PRODUCT, 0);
        ASSERT_NE(delivery, nullptr);
        EXPECT_EQ(delivery->sx, j2x);
        EXPECT_EQ(delivery->sy, j2y);
        EXPECT_EQ(delivery->quantity, 10);
        s.run(3 * 480);
        EXPECT_EQ(s.marketing.delivered, 10);
        // The surplus of J1's full-need request ends as free stock.
        EXPECT_EQ(p.Jobs[0]->get_output_qty(nullptr, 0, 0), 4);
        EXPECT_TRUE(p.Work_Orders.empty());
    }
}

TEST(WorkOrderFlow, HeldRawMaterialUnderNonImmediatePolicies)
{
    Sim s;
    s.prod.release_policy = RELEASE_MANUAL;
    s.seed_u1(40);
    s.order_a1(5);
    s.prod.daily_step(0);
    const RTransportJob* xa = find_job(s.prod, KIND_RAW, 0, KIND_JOB, 0);
    const RTransportJob* u1 = find_job(s.prod, KIND_PRODUCT, 1, KIND_JOB, 1);
    ASSERT_NE(xa, nullptr);
    EXPECT_EQ(xa->release, -2);
    EXPECT_EQ(u1->release, -1);
    s.run(480);
    EXPECT_EQ(s.purchasing.stock[0], 100);   // nothing moved under manual release
    EXPECT_EQ(s.marketing.delivered, 0);
}

TEST(WorkOrderFlow, WorkOrderNumbersWrapAndOrdersAttachByIdentity)
{
    Sim s;
    s.prod.wo_counter = 999;
    for (int i = 0; i < 300; ++i)
        s.order_a1(1);
    std::vector<ProductionOrder*> orders;
    for (auto& o : s.prod.prd_orders)
        orders.push_back(o.get());
    RWork_Order* big = s.prod.release_orders(orders);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->number, 999);
    EXPECT_STREQ(big->name, "W999");
    EXPECT_EQ(big->quantity, 300u);
    EXPECT_EQ(big->Request.size(), 300u);
    EXPECT_EQ(big->Request[299], orders[299]);
    EXPECT_EQ(orders[299]->work_order, big);
    EXPECT_EQ(s.prod.wo_counter, 1);
}

TEST(WorkOrderFlow, ManualOrderOfACommonPartIsMadeIntoFreeStock)
{
    Sim s;
    s.exact_work_orders();
    s.prod.add_order(-1, 1, 5, ORDER_MANUAL, KIND_PRODUCT, 0);
    s.prod.daily_step(0);
    ASSERT_EQ(s.prod.Work_Orders.size(), 1u);
    RWork_Order* wo = s.prod.Work_Orders[0].get();
    s.run(480);
    EXPECT_EQ(s.prod.Products[1]->free_stock_at_final_job(s.prod), 5);
    EXPECT_EQ(s.prod.Products[1]->in_process, 0);   // like a reorder: never counted in process
    EXPECT_TRUE(s.prod.Work_Orders.empty());
    EXPECT_TRUE(s.prod.prd_orders.empty());
    EXPECT_EQ(s.prod.references_to(wo), "");
}

TEST(WorkOrderFlow, ManualOrderWhollyFromStockLeavesNoWorkOrder)
{
    Sim s;
    s.exact_work_orders();
    s.prod.Jobs[1]->add_material_to_output(nullptr, 0, 0, 6);   // six A1 at the final job
    s.prod.add_order(0, 0, 4, ORDER_MANUAL, KIND_PRODUCT, 0);
    s.prod.daily_step(0);
    EXPECT_TRUE(s.prod.Work_Orders.empty());
    EXPECT_TRUE(s.prod.prd_orders.empty());
    EXPECT_TRUE(s.prod.transport->Trans_Jobs.empty());
    EXPECT_EQ(s.prod.Jobs[1]->get_output_qty(nullptr, 0, 0), 6);
    EXPECT_EQ(s.prod.Products[0]->on_order, 0);
    s.run(2000);
    EXPECT_EQ(s.marketing.delivered, 0);
}

TEST(WorkOrderFlow, ReorderWorkOrderEndsAtItsLastBatch)
{
    Sim s;
    s.exact_work_orders();
    s.prod.add_order(-1, 1, 6, ORDER_REORDER, KIND_PRODUCT, 0);
    s.prod.daily_step(0);
    ASSERT_EQ(s.prod.Work_Orders.size(), 1u);
    RWork_Order* wo = s.prod.Work_Orders[0].get();
    s.run(480);
    EXPECT_TRUE(s.prod.Work_Orders.empty());
    EXPECT_EQ(s.prod.references_to(wo), "");
    EXPECT_EQ(s.prod.Products[1]->free_stock_at_final_job(s.prod), 6);
    s.run(2000);
}

TEST(WorkOrderFlow, RemovedMidRunLeavesItsItemsAsFreeStock)
{
    Sim s;
    s.exact_work_orders();
    s.seed_u1(40);
    s.order_a1(10);
    s.prod.plan_work_orders(1);   // planned apart: one product's free orders would share a work order
    s.order_a1(5);
    s.prod.daily_step(0);
    ASSERT_EQ(s.prod.Work_Orders.size(), 2u);
    RWork_Order* first = s.prod.Work_Orders[0].get();
    s.run(40);   // units busy on the first order, parts in transit and at the jobs
    bool busy = false;
    for (const auto& m : s.prod.Machines)
        for (const auto& u : m->Units)
            busy = busy || u->state != UNIT_IDLE;
    ASSERT_TRUE(busy);
    int32_t held = 0;
    for (const auto& j : s.prod.Jobs) {
        for (const auto& st : j->input_stock)
            held += st.quantity;
        for (const auto& o : j->outputs)
            held += o.quantity;
    }
    s.prod.remove_work_order(first);
    EXPECT_EQ(s.prod.references_to(first), "");
    EXPECT_EQ(s.prod.Work_Orders.size(), 1u);
    EXPECT_EQ(s.prod.Products[0]->on_order, 5);
    int32_t after = 0, in_batches = 0;
    for (const auto& j : s.prod.Jobs) {
        for (const auto& st : j->input_stock)
            after += st.quantity;
        for (const auto& o : j->outputs)
            after += o.quantity;
    }
    for (const auto& m : s.prod.Machines)
        in_batches += m->batch_in_progress();
    EXPECT_GE(after, held);   // cancelled batches gave their inputs back; nothing vanished
    for (const auto& j : s.prod.Jobs)
        EXPECT_EQ(j->busy_units, j->busy[0] + j->busy[1] + j->busy[2] + j->busy[3]);
    s.run(2000);
    EXPECT_EQ(s.marketing.delivered, 5);
    EXPECT_TRUE(s.prod.Work_Orders.empty());
}

TEST(WorkOrderFlow, TwoWorkOrdersFinishingInOneMinute)
{
    Sim s;
    s.exact_work_orders();
    s.seed_u1(40);
    s.prod.Jobs[1]->add_material_to_output(nullptr, 0, 0, 6);
    s.order_a1(3);
    s.prod.plan_work_orders(1);
    s.order_a1(3);
    s.prod.daily_step(0);
    ASSERT_EQ(s.prod.Work_Orders.size(), 2u);
    RWork_Order* a = s.prod.Work_Orders[0].get();
    RWork_Order* b = s.prod.Work_Orders[1].get();
    s.minute();   // both deliveries from stock in the same minute, one per transport unit
    EXPECT_EQ(s.marketing.delivered, 6);
    EXPECT_TRUE(s.prod.Work_Orders.empty());
    EXPECT_EQ(s.prod.references_to(a), "");
    EXPECT_EQ(s.prod.references_to(b), "");
    s.run(2000);
}

TEST(WorkOrderFlow, NestedMinuteIsRefused)
{
    // A screen that answers the schedule question by running another minute.
    struct Reentrant : FakeUi {
        CProductionWnd* prod = nullptr;
        int schedule_end(int m) override
        {
            FakeUi::schedule_end(m);
            prod->on_minute();
            return 1;
        }
    };
    Fakes f;
    Reentrant ui;
    CProductionWnd prod(f.host, ui, f.marketing, f.purchasing, f.finance);
    TextPlantData data(sample_plant_text());
    prod.load_production_data(data);
    ui.prod = &prod;
    prod.Machines[0]->rule = RULE_SCHEDULE;
    EXPECT_THROW(prod.on_minute(), FatalError);
    EXPECT_FALSE(prod.in_minute());
    prod.Machines[0]->rule = RULE_FIFO;
    prod.on_minute();   // the next minute runs normally
    EXPECT_EQ(ui.schedule_ends.size(), 1u);
}

TEST(WorkOrderFlow, CustomerOrderWhollyFromStockStillDelivers)
{
    Sim s;
    s.exact_work_orders();
    s.prod.Jobs[1]->add_material_to_output(nullptr, 0, 0, 6);
    s.order_a1(4);
    s.prod.daily_step(0);
    ASSERT_EQ(s.prod.Work_Orders.size(), 1u);
    EXPECT_EQ(requests(s.prod), 0u);
    ASSERT_EQ(s.prod.transport->Trans_Jobs.size(), 1u);
    EXPECT_EQ(s.prod.transport->Trans_Jobs[0]->quantity, 4);
    EXPECT_EQ(s.prod.Jobs[1]->get_output_qty(nullptr, 0, 0), 2);
    s.minute();
    EXPECT_EQ(s.marketing.delivered, 4);
    EXPECT_TRUE(s.prod.Work_Orders.empty());
}

TEST(WorkOrderFlow, ReorderDoesNotTakeItsOwnFreeStock)
{
    Sim s;
    s.exact_work_orders();
    s.seed_u1(40);
    s.prod.add_order(-1, 1, 6, ORDER_REORDER, KIND_PRODUCT, 0);
    s.prod.daily_step(0);
    ASSERT_EQ(s.prod.Jobs[2]->requests.size(), 1u);
    EXPECT_EQ(s.prod.Jobs[2]->requests[0]->quantity, 6);
    EXPECT_EQ(s.prod.Products[1]->free_stock_at_final_job(s.prod), 40);
    s.run(480);
    EXPECT_EQ(s.prod.Products[1]->free_stock_at_final_job(s.prod), 46);
}

TEST(Lookups, RollUpsThroughTheSampleStructure)
{
    Sim s;
    CProductionWnd& p = s.prod;
    const RouteItem a1{KIND_PRODUCT, 0, 1};
    // One A1: 1 XA in J1, 2 XB, and U1 with 1 XA in J3.
    EXPECT_FLOAT_EQ(p.evaluate_item(a1, 0, 0), 3 + 2 * 7 + 3);
    EXPECT_FLOAT_EQ(p.evaluate_item(a1, 1, 0), 2.5f + 2 * 6.25f + 2.5f);
    EXPECT_FLOAT_EQ(p.evaluate_item({KIND_PRODUCT, 0, 3}, 2, 0), 6);   // XA per three A1
    EXPECT_FLOAT_EQ(p.evaluate_item(a1, 3, 0), 8 + 5 + 3);
    EXPECT_FLOAT_EQ(p.evaluate_item({KIND_PRODUCT, 0, 4}, 5, 1), 4);   // U1 inside four A1
    EXPECT_FLOAT_EQ(p.evaluate_item(a1, 6, 0), 1);                      // J1 is the first on M1
    EXPECT_EQ(p.get_standard_material_cost(0, 0), 20);
    // A bought common part drops out of the roll-up.
    p.Products[1]->buy = 1;
    EXPECT_FLOAT_EQ(p.evaluate_item(a1, 0, 0), 3 + 2 * 7);
    EXPECT_EQ(p.is_bought_part(1), 1);
    EXPECT_EQ(p.is_taken_from_stock(1), 1);
    EXPECT_EQ(p.is_taken_from_stock(0), 0);

    std::vector<std::string> lines;
    p.Products[1]->buy = 0;
    p.route_text({KIND_PRODUCT, 0, 2}, lines);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Job  J2 :   2 x  8 Min =    16");
    EXPECT_EQ(lines[1], "Job  J1 :   2 x  5 Min =    10");
    EXPECT_EQ(lines[2], "Job  J3 :   2 x  3 Min =     6");

    EXPECT_EQ(p.find_product(-1, 1), 1);
    EXPECT_EQ(p.find_product(-1, 0), NONE16);   // not a common part: searched by code, absent
    EXPECT_EQ(p.find_product(0, 0), 0);
    EXPECT_EQ(p.find_product_by_code_text("U1"), 1);
    EXPECT_EQ(p.find_raw_material("XB"), 1);
    EXPECT_EQ(p.find_raw_material("ZZ"), -1);
    EXPECT_EQ(p.item_name(KIND_JOB, 2), "J3");
    uint16_t fam = 0, prod = 0;
    p.product_pair_of(1, fam, prod);
    EXPECT_EQ(fam, NONE16);
    EXPECT_EQ(prod, 1);
    EXPECT_EQ(CProductionWnd::route_column_x('c'), 135);
    EXPECT_EQ(CProductionWnd::route_row_y(2), 275);
    EXPECT_EQ(p.count_active_units(), 3);
}

TEST(Lookups, MachineLoadsAndBuyingAUnit)
{
    Sim s;
    CProductionWnd& p = s.prod;
    int32_t avail = -1, existing = -1;
    p.compute_machine_load(1, avail, existing);
    EXPECT_EQ(avail, 0);
    EXPECT_EQ(existing, 0);
    s.seed_u1(40);
    s.order_a1(10);
    p.daily_step(0);
    p.compute_machine_load(1, avail, existing);
    EXPECT_EQ(existing, 80);   // 10 x 8 minutes, no setup (M2's units ran J2 last)
    EXPECT_EQ(avail, 0);       // nothing delivered yet
    p.compute_machine_load(0, avail, existing);
    EXPECT_EQ(existing, 50);
    EXPECT_EQ(avail, 0);

    // Finance refusing the purchase (its pending starts full): no unit, nothing bought.
    s.finance.refuse_machines = true;
    p.buy_machine_unit(0);
    EXPECT_EQ(p.Machines[0]->Units.size(), 1u);
    EXPECT_TRUE(s.finance.bought.empty());
    s.finance.refuse_machines = false;
    p.buy_machine_unit(0);
    ASSERT_EQ(p.Machines[0]->Units.size(), 2u);
    const RMachineUnit& u = *p.Machines[0]->Units[1];
    EXPECT_EQ(u.state, UNIT_ON_DELIVERY);
    EXPECT_EQ(u.number, 1);
    EXPECT_EQ(u.minutes_left, 3);
    EXPECT_EQ(s.finance.bought, (std::vector<std::pair<int32_t, int>>{{-50000, 3}}));
    p.buy_machine_unit(0);   // M1 may own two units: refused
    EXPECT_EQ(p.Machines[0]->Units.size(), 2u);
    EXPECT_EQ(s.finance.bought.size(), 1u);
    EXPECT_EQ(p.count_active_units(), 4);
}
