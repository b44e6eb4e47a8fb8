// The saved plant: same seed gives the same bytes; save, load, save gives them back; damage is refused.
#include "support/sim.h"
#include <gtest/gtest.h>

namespace {

// Ten working days with an order each morning and a manual common-part order on day 3.
std::vector<uint8_t> run_days(uint32_t seed, int days, Sim** keep = nullptr)
{
    auto* s = new Sim(sample_plant_text(), seed);
    s->seed_u1(40);
    for (int d = 0; d < days; ++d) {
        s->order_a1(static_cast<int16_t>(3 + d % 4));
        if (d == 3)
            s->prod.add_order(-1, 1, 10, ORDER_MANUAL, KIND_PRODUCT, 0);
        s->run(480);
    }
    std::vector<uint8_t> bytes = s->prod.save_plant();
    if (keep)
        *keep = s;
    else
        delete s;
    return bytes;
}

bool has_state(const CProductionWnd& p, int16_t st)
{
    for (const auto& m : p.Machines)
        for (const auto& u : m->Units)
            if (u->state == st || (u->state == UNIT_BREAK && u->saved_state == st))
                return true;
    return false;
}

} // namespace

TEST(SavedPlant, SameSeedSameBytesOtherSeedDiffers)
{
    const auto a = run_days(7, 10);
    const auto b = run_days(7, 10);
    const auto c = run_days(8, 10);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST(SavedPlant, SaveLoadSaveGivesTheSameBytesAtAnyMinute)
{
    Sim s(sample_plant_text(), 3);
    s.seed_u1(5);   // the manual U1 order must be made: M1 sets up between J1 and J3
    s.prod.release_policy = RELEASE_MANUAL;   // raw-material jobs stay held
    s.prod.Machines[1]->rule = RULE_SCHEDULE;
    s.order_a1(12);
    s.order_a1(4);
    s.prod.add_order(-1, 1, 10, ORDER_MANUAL, KIND_PRODUCT, 0);
    s.prod.daily_step(0);
    // A schedule on M2 and a partly carried transport job.
    auto& m2 = *s.prod.Machines[1];
    for (auto& e : m2.Waiting_WOs_Data)
        m2.Schedules.push_back(e.get());
    s.prod.transport->release_all();
    s.purchasing.stock[1] = 13;   // XB: the first job carries part of its quantity
    bool saw_setup = false, saw_break = false, saw_partial = false;
    for (int minute = 0; minute < 900; ++minute) {
        s.minute();
        saw_setup = saw_setup || has_state(s.prod, UNIT_SETUP);
        saw_break = saw_break || has_state(s.prod, UNIT_BREAK);
        for (const auto& j : s.prod.transport->Trans_Jobs)
            saw_partial = saw_partial || (j->source_kind == KIND_RAW && j->quantity > 0 && j->quantity < 20);
        if (minute % 37 != 0)
            continue;
        SCOPED_TRACE(minute);
        const std::vector<uint8_t> saved = s.prod.save_plant();
        Sim fresh(sample_plant_text(), 99);
        std::string error;
        ASSERT_TRUE(fresh.prod.load_plant(saved, error)) << error;
        EXPECT_EQ(fresh.prod.save_plant(), saved);
    }
    EXPECT_TRUE(saw_setup);
    EXPECT_TRUE(saw_partial);
    (void)saw_break;
}

TEST(SavedPlant, BreakAndHeldJobsSurviveTheRoundTrip)
{
    Sim s(sample_plant_text(), 5);
    s.exact_work_orders();
    s.seed_u1(40);
    s.prod.release_policy = RELEASE_MANUAL;
    s.order_a1(6);
    s.prod.daily_step(0);
    s.prod.transport->release_all();
    s.run(20);
    // Put M1's unit into a break in the middle of its batch.
    RMachineUnit& u = *s.prod.Machines[0]->Units[0];
    ASSERT_EQ(u.state, UNIT_PROD);
    u.set_state(UNIT_BREAK);
    u.break_left = 17;
    s.order_a1(2);
    s.prod.daily_step(0);   // new raw jobs are held
    const auto saved = s.prod.save_plant();
    Sim fresh(sample_plant_text(), 1);
    std::string error;
    ASSERT_TRUE(fresh.prod.load_plant(saved, error)) << error;
    EXPECT_EQ(fresh.prod.save_plant(), saved);
    const RMachineUnit& v = *fresh.prod.Machines[0]->Units[0];
    EXPECT_EQ(v.state, UNIT_BREAK);
    EXPECT_EQ(v.saved_state, UNIT_PROD);
    EXPECT_EQ(v.break_left, 17);
    bool held = false;
    for (const auto& j : fresh.prod.transport->Trans_Jobs)
        held = held || j->release == -2;
    EXPECT_TRUE(held);
    EXPECT_EQ(fresh.prod.wo_counter, s.prod.wo_counter);
    // The resumed plant runs on and finishes the work.
    fresh.prod.transport->release_all();
    fresh.run(3 * 480);
    EXPECT_EQ(fresh.marketing.delivered, 8);
    EXPECT_TRUE(fresh.prod.Work_Orders.empty());
}

TEST(SavedPlant, DamageIsRefusedAsAWhole)
{
    Sim s(sample_plant_text(), 2);
    s.seed_u1(40);
    s.order_a1(5);
    s.prod.daily_step(0);
    s.run(30);
    const auto good = s.prod.save_plant();

    // Offsets of the parts: orders are 2 + 38 each, the MRP settings 6, then the marker.
    const size_t after_orders = 2 + 38 * s.prod.prd_orders.size() + 6;
    struct Case { const char* why; size_t at; uint8_t value; const char* error; };
    const Case cases[] = {
        {"first marker", after_orders, 0x00, "bad production 1 data"},
        {"work order count far too large", after_orders + 4, 0xFF, "bad production 1 data"},
        {"order's work order index out of range", after_orders + 6 + 33 + 2, 0x07, "bad work orders data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::vector<uint8_t> bad = good;
        bad[c.at] = c.value;
        if (std::string(c.why).find("count") != std::string::npos)
            bad[c.at + 1] = 0x7F;
        Sim fresh(sample_plant_text(), 1);
        std::string error;
        EXPECT_FALSE(fresh.prod.load_plant(bad, error));
        EXPECT_NE(error, "");
        // Nothing half-loaded stays behind.
        EXPECT_TRUE(fresh.prod.Work_Orders.empty());
        EXPECT_TRUE(fresh.prod.prd_orders.empty());
        fresh.run(100);
    }
    // Every truncation is refused, never read past the end.
    for (size_t n = 0; n < good.size(); n += 7) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        Sim fresh(sample_plant_text(), 1);
        std::string error;
        EXPECT_FALSE(fresh.prod.load_plant(cut, error)) << n;
    }
}

TEST(SavedPlant, InconsistentRecordsNameTheirPart)
{
    struct Case {
        const char* why;
        void (*spoil)(CProductionWnd&);
        const char* error;
    };
    const Case cases[] = {
        {"a request of a work order the file does not hold",
         [](CProductionWnd& p) { p.Jobs[0]->add_request(nullptr, 3, 0, 0); }, "bad jobs data"},
        {"a busy flag without its request",
         [](CProductionWnd& p) { p.Jobs[2]->busy[3] = 1; ++p.Jobs[2]->busy_units; }, "bad jobs data"},
        {"more units than the machine may own",
         [](CProductionWnd& p) {
             RMachine& m = *p.Machines[0];
             for (int i = 0; i < 2; ++i)
                 m.Units.push_back(std::make_unique<RMachineUnit>(&m));
         },
         "bad machines file"},
        {"a unit whose last job is past the jobs",
         [](CProductionWnd& p) { p.Machines[1]->Units[0]->last_job = 9; }, "bad machines file"},
        {"a transport job from a job that does not exist",
         [](CProductionWnd& p) { p.transport->Trans_Jobs[0]->source_index = 7; }, "bad transport file"},
        {"a work order for a product the plant does not have",
         [](CProductionWnd& p) { p.Work_Orders[0]->item = 9; }, "bad work orders data"},
        {"a product whose final job is past the jobs",
         [](CProductionWnd& p) { p.Products[1]->final_job = 3; }, "bad products data"},
        // Each of these loaded once and then broke the run or the next save.
        {"a unit numbered past the machine's units (its batch end wrote past them)",
         [](CProductionWnd& p) { p.Machines[1]->Units[1]->number = 3; }, "bad machines file"},
        {"a unit numbered as its neighbour",
         [](CProductionWnd& p) { p.Machines[1]->Units[0]->number = 1; }, "bad machines file"},
        {"a job that is its own input (opening recursed until the stack was gone)",
         [](CProductionWnd& p) { p.Jobs[0]->inputs.push_back({KIND_JOB, 0, 1, 0, 0}); }, "bad jobs data"},
        {"two jobs feeding each other",
         [](CProductionWnd& p) { p.Jobs[0]->inputs.push_back({KIND_JOB, 1, 1, 0, 0}); }, "bad jobs data"},
        {"input quantities whose work content leaves 32 bits",
         [](CProductionWnd& p) {
             // A1 is made on J2 from J1; J1 now takes J3: 65535 x 65535 x 3 minutes.
             for (auto& j : p.Jobs)
                 for (auto& i : j->inputs)
                     i.quantity = 65535;
             p.Jobs[0]->inputs.push_back({KIND_JOB, 2, 65535, 0, 0});
         },
         "bad jobs data"},
        {"a buffer count that is not what the machine's jobs hold",
         [](CProductionWnd& p) { p.Machines[1]->buffer_count = INT32_MIN + 7; }, "bad machines file"},
        {"finished material that is not what the jobs' outputs hold",
         [](CProductionWnd& p) { p.Machines[0]->finished_material = 2147483000; }, "bad machines file"},
        {"a unit's batch larger than its request has started",
         [](CProductionWnd& p) {
             for (auto& m : p.Machines)
                 for (auto& u : m->Units)
                     if (u->batch > 0)
                         u->batch = static_cast<uint16_t>(u->batch + 33792);
         },
         "bad machines file"},
        {"a unit holding a batch but no request (its next setup carried it past what was started)",
         [](CProductionWnd& p) {
             for (auto& m : p.Machines)
                 for (auto& u : m->Units)
                     if (u->batch == 0 && !(u->current_job && u->current_job->unit_request[u->number]))
                         u->batch = 7681;
         },
         "bad machines file"},
        {"an order held by a work order with its flag cleared (it was produced twice)",
         [](CProductionWnd& p) {
             for (auto& o : p.prd_orders)
                 if (o->work_order)
                     o->in_work_order = 0;
         },
         "bad work orders data"},
        {"an order flagged as in a work order that no work order holds",
         [](CProductionWnd& p) { p.add_order(-1, 1, 4, ORDER_MANUAL, KIND_PRODUCT, 0); p.prd_orders.back()->in_work_order = 1; },
         "bad work orders data"},
        {"a transport carrying an item the destination does not know",
         [](CProductionWnd& p) { p.transport->Trans_Jobs[0]->material_index = 200; }, "bad transport file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Sim s(sample_plant_text(), 4);
        s.seed_u1(40);
        s.order_a1(5);
        s.prod.daily_step(0);
        s.run(30);   // units at work, with batches
        c.spoil(s.prod);
        const auto bad = s.prod.save_plant();
        Sim fresh(sample_plant_text(), 1);
        std::string error;
        EXPECT_FALSE(fresh.prod.load_plant(bad, error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(fresh.prod.Work_Orders.empty());
        for (const auto& j : fresh.prod.Jobs)
            EXPECT_TRUE(j->requests.empty());
        // Spoiled objects of the source plant must not reach its destructor in a broken state.
        s.prod.Jobs[0]->requests.clear();
        s.prod.Jobs[2]->busy[3] = 0;
    }
}

TEST(SavedPlant, CountersThatOutgrowTheFileSaturate)
{
    Sim s;
    RMachine& m = *s.prod.Machines[1];
    s.host.mode = 1;   // three shifts, seven days: two idle units count 89,280 minutes in 31 days
    for (int d = 0; d < 31 * 1440; ++d)
        for (int u = 0; u < 2; ++u)
            m.Units[static_cast<size_t>(u)]->tick();
    EXPECT_EQ(m.minutes[MIN_IDLE], 89280u);
    ByteWriter w;
    m.save_state(w);
    // Field 20 starts after 3+2+2+2+2+1+12+2+4+3+1+2+2+2+2+2+192 = 236 bytes; idle is the fourth counter.
    EXPECT_EQ(w.bytes()[236 + 6], 0xFF);
    EXPECT_EQ(w.bytes()[236 + 7], 0xFF);
    m.on_new_month();
    EXPECT_FLOAT_EQ(m.idle_pct[11], 100.0f);
    EXPECT_FLOAT_EQ(m.production_pct[11], 0.0f);
    EXPECT_EQ(s.prod.utilization_average.count, 1);

    s.prod.Products[0]->departures = -40000;
    ByteWriter pw;
    s.prod.Products[0]->save_state(pw);
    // departures follows code 3, final job 2, release hours 2, spare 2, history 48, in process 2, on order 2.
    EXPECT_EQ(pw.bytes()[61], 0x00);
    EXPECT_EQ(pw.bytes()[62], 0x80);
}

TEST(MonthAndYear, PlanningBatchAndUtilisation)
{
    Sim s;
    RMachine& m2 = *s.prod.Machines[1];
    s.prod.on_new_year();
    EXPECT_EQ(m2.planning_batch, 5);   // nothing queued yet: unchanged
    m2.request_size_sum = 21;
    m2.request_size_count = 4;
    s.prod.on_new_year();
    EXPECT_EQ(m2.planning_batch, 5);   // 21 / 4 = 5
    m2.request_size_sum = 24;
    m2.request_size_count = 2;
    s.prod.on_new_year();
    EXPECT_EQ(m2.planning_batch, 12);
    EXPECT_FLOAT_EQ(s.prod.Jobs[1]->minutes_per_part, 40.0f / 12.0f);

    // January: the factor becomes the mean of the machines' monthly shares.
    s.host.stamp.month = 1;
    s.prod.utilization_average.clear();
    s.prod.utilization_average.add_float(0.5f);
    s.prod.utilization_average.add_float(0.25f);
    s.prod.on_new_month();   // both machines add a 0.0 share: no minutes were counted
    EXPECT_FLOAT_EQ(s.prod.get_utilization_factor(), 0.1875f);
    EXPECT_EQ(s.prod.utilization_average.count, 0);
    // A January with nothing stored gives the "no value" mark, not 0.
    Sim e;
    e.prod.Machines.clear();
    e.host.stamp.month = 1;
    e.prod.on_new_month();
    EXPECT_FLOAT_EQ(e.prod.utilization_factor, 2147483648.0f);
}

TEST(MonthAndYear, UtilisationFactorFallsBackToThisMonthsShares)
{
    struct Case {
        const char* why;
        float stored;
        uint32_t m1[4], m2[4];   // production, setup, break, idle minutes
        float expected;
    };
    const Case cases[] = {
        {"a stored factor is given as it is", 0.6f, {30, 0, 0, 10}, {0, 0, 0, 0}, 0.6f},
        {"2.0 still counts as stored", 2.0f, {30, 0, 0, 10}, {0, 0, 0, 0}, 2.0f},
        // M1 30 of 40 minutes = 0.75, M2 no minutes = 0: mean 0.375.
        {"no stored value: the machines' production shares", 2147483648.0f, {30, 5, 0, 5}, {0, 0, 0, 0}, 0.375f},
        // M1 10 of 40 = 0.25, M2 60 of 120 = 0.5: mean 0.375.
        {"every kind of minute counts in the whole", 2147483648.0f, {10, 10, 10, 10}, {60, 20, 20, 20}, 0.375f},
        {"no minutes anywhere", 2147483648.0f, {0, 0, 0, 0}, {0, 0, 0, 0}, 0.75f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Sim s;
        s.prod.utilization_factor = c.stored;
        for (int k = 0; k < 4; ++k) {
            s.prod.Machines[0]->minutes[k] = c.m1[k];
            s.prod.Machines[1]->minutes[k] = c.m2[k];
        }
        EXPECT_FLOAT_EQ(s.prod.get_utilization_factor(), c.expected);
    }
}

TEST(SamplePlant, RunsAMonthUnderASteadyStreamOfOrders)
{
    Sim s(sample_plant_text(), 11);
    s.seed_u1(40);
    // Each day's order of 4 is topped up to the smallest work order, 10.
    const int demand = 21 * 10;
    for (int d = 0; d < 21; ++d) {
        s.order_a1(4);
        if (s.prod.Products[1]->free_stock_at_final_job(s.prod) < 15 && d % 3 == 0)
            s.prod.add_order(-1, 1, 20, ORDER_REORDER, KIND_PRODUCT, 0);
        s.purchasing.stock[0] = 100;
        s.purchasing.stock[1] = 100;
        s.run(480);
    }
    // Every unit of A1 asked for is either delivered or still on an open order.
    int open = 0;
    for (const auto& o : s.prod.prd_orders)
        if (o->family_id == 0 && o->product_index == 0)
            open += o->quantity;
    for (const auto& u : s.marketing.stock_updates)
        EXPECT_EQ(u.product, 0);
    EXPECT_EQ(s.marketing.delivered + open, demand);
    EXPECT_GT(s.marketing.delivered, demand / 2);
    EXPECT_EQ(s.host.day, 21);
    // The month closed: the series moved on and the counters restarted.
    const RMachine& m1 = *s.prod.Machines[0];
    EXPECT_GT(m1.production_pct[11], 0.0f);
    EXPECT_LT(m1.minutes[MIN_PRODUCTION] + m1.minutes[MIN_IDLE], 480u * 2);
    for (const auto& wo : s.prod.Work_Orders)
        EXPECT_NE(s.prod.references_to(wo.get()), "");
    for (const auto& j : s.prod.Jobs)
        EXPECT_EQ(j->busy_units, j->busy[0] + j->busy[1] + j->busy[2] + j->busy[3]);
}

TEST(OlderFiles, MachineRecordsBeforeRequestSizesAndBuffers)
{
    Sim s;
    RMachine& m2 = *s.prod.Machines[1];
    m2.request_size_sum = 50;
    m2.request_size_count = 5;
    m2.planning_batch = 9;
    m2.buffer_capacity = 100;
    ByteWriter w;
    m2.save_state(w);
    struct Case { const char* version; size_t cut; uint16_t batch; int32_t capacity; uint16_t count; };
    const Case cases[] = {
        {"BG_1019", 20, 5, NO_LIMIT, 0},   // neither tail: the scenario's planning batch, no limit
        {"BG_1030", 12, 9, NO_LIMIT, 5},   // request sizes, no buffer fields
        {"BG_1031", 0, 9, 100, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Sim fresh;
        fresh.host.version = c.version;
        std::vector<uint8_t> bytes(w.bytes().begin(), w.bytes().end() - static_cast<std::ptrdiff_t>(c.cut));
        ByteReader r(bytes);
        RMachine& m = *fresh.prod.Machines[1];
        m.buffer_capacity = 50;   // an absent field must not leave what was there
        ASSERT_TRUE(m.load_state(r));
        EXPECT_EQ(r.left(), 0u);
        EXPECT_EQ(m.planning_batch, c.batch);
        EXPECT_EQ(m.buffer_capacity, c.capacity);
        EXPECT_EQ(m.request_size_count, c.count);
    }
}

TEST(OlderFiles, ProductRecordsReadOnlyTheirGatedFields)
{
    Sim s;
    RProduct& p = *s.prod.Products[0];
    p.buy = 1;
    p.on_customer_orders = 12;
    p.priority = 4;
    ByteWriter w;
    p.save_state(w);
    struct Case { const char* version; size_t cut; uint16_t buy; int16_t customer; int16_t priority; };
    const Case cases[] = {
        {"BG_1018", 10, 0, 77, 0},
        {"BG_1019", 4, 1, 77, 0},
        {"BG_1024", 2, 1, 12, 0},
        {"BG_1025", 0, 1, 12, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        FakeHost host;
        host.version = c.version;
        RProduct q;
        q.on_customer_orders = 77;
        q.priority = 9;
        std::vector<uint8_t> bytes(w.bytes().begin(), w.bytes().end() - static_cast<std::ptrdiff_t>(c.cut));
        ByteReader r(bytes);
        ASSERT_TRUE(q.load_state(r, &host));
        EXPECT_EQ(r.left(), 0u);
        EXPECT_EQ(q.buy, c.buy);
        EXPECT_EQ(q.on_customer_orders, c.customer);
        EXPECT_EQ(q.priority, c.priority);
    }
}

TEST(OlderFiles, JobsAndTransportBeforeRoutePositions)
{
    Sim s;
    s.host.version = "BG_1034";
    CProductionWnd& p = s.prod;
    p.Work_Orders.push_back(std::make_unique<RWork_Order>(p));
    RJob& j1 = *p.Jobs[0];

    // J1 in the short layout: one input-stock record and one request of work order 0.
    ByteWriter w;
    w.raw("J1\0\0", 5);
    w.u16(0), w.i16(0), w.i16('g'), w.u8(2), w.u8(0), w.u16(0), w.u16(0), w.u16(5), w.u16(0), w.u16(0);
    w.u8(0);
    for (int i = 0; i < 4; ++i)
        w.u16(0);
    w.i16(1), w.u32(0), w.u16(0), w.u8(0), w.i16(3);   // stock: 9 bytes
    w.i16(0);
    w.i16(0);                                           // no outputs
    w.i16(1), w.u32(0), w.u16(5), w.u16(0), w.u16(0), w.u16(0);   // request: 12 bytes
    w.i16(0);
    for (int i = 0; i < 4; ++i)
        w.i16(-1);
    w.i16(1), w.i16(0), w.u8(0), w.u16(1), w.u16(0), w.u16(0);
    w.u16(0), w.u8(0);
    w.i16(0);
    ByteReader r(w.bytes());
    ASSERT_TRUE(j1.load_state(r));
    EXPECT_EQ(r.left(), 0u);
    ASSERT_EQ(j1.requests.size(), 1u);
    EXPECT_EQ(j1.requests[0]->x, 0);
    EXPECT_EQ(j1.requests[0]->y, 0);
    EXPECT_EQ(j1.requests[0]->wo, p.Work_Orders[0].get());
    EXPECT_EQ(j1.get_input_stock(p.Work_Orders[0].get(), KIND_RAW, 0, 0, 0), 3);

    // One transport job in its first 27 bytes, then its work orders and one free unit.
    ByteWriter t;
    t.i16(1);
    t.i16(KIND_RAW), t.i16(KIND_JOB), t.i16(KIND_RAW), t.u8(0), t.u8(0), t.u8(0), t.u16(4);
    t.u32(0), t.u32(0), t.u16(0), t.u16(1), t.i32(-2);
    t.i16(0), t.i16(0);
    t.i16(1);
    t.i16(-1), t.u16(0), t.u16(0), t.u16(0), t.u16(0), t.u8(0), t.u8(0), t.u16(0), t.u16(0);
    RTransport_Manager tm(p, 0);
    ByteReader rt(t.bytes());
    ASSERT_TRUE(tm.load_state(rt));
    EXPECT_EQ(rt.left(), 0u);
    ASSERT_EQ(tm.Trans_Jobs.size(), 1u);
    EXPECT_EQ(tm.Trans_Jobs[0]->release, -2);
    EXPECT_EQ(tm.Trans_Jobs[0]->daily_pick, 1);
    EXPECT_EQ(tm.Trans_Jobs[0]->dx, 0);
    EXPECT_EQ(tm.Trans_Jobs[0]->source_wo, p.Work_Orders[0].get());
    j1.requests.clear();
    j1.input_stock.clear();
}

TEST(SavedPlant, FlippedBytesNeverReadPastTheEndOrBreakTheRun)
{
    Sim s(sample_plant_text(), 6);
    s.seed_u1(40);
    s.order_a1(6);
    s.order_a1(3);
    s.prod.add_order(-1, 1, 5, ORDER_MANUAL, KIND_PRODUCT, 0);
    s.prod.daily_step(0);
    s.run(45);
    const auto good = s.prod.save_plant();
    FakeHost pick;
    pick.seed = 12345;
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bad = good;
        const size_t at = static_cast<size_t>(pick.rng()) * bad.size() / 32768;
        bad[at] = static_cast<uint8_t>(pick.rng() & 0xFF);
        Sim fresh(sample_plant_text(), 1);
        std::string error;
        if (fresh.prod.load_plant(bad, error)) {
            ++loaded;
            fresh.prod.transport->release_all();
            fresh.run(60);
            // Whatever an accepted file turns into, the program opens again.
            const auto saved = fresh.prod.save_plant();
            Sim again(sample_plant_text(), 1);
            EXPECT_TRUE(again.prod.load_plant(saved, error)) << "byte " << at << ": " << error;
        }
    }
    EXPECT_GT(loaded, 0);   // values the checks cannot tell from real ones still load and run
}

