// Plan tables: forward loading, the available-work variant, backward drum planning, the parallel line.
#include "support/builder.h"
#include "shopfloor/plan_tables.h"
#include <gtest/gtest.h>

namespace {

struct Floor {
    TestPlant t;
    RMachine* m;
    RJob* j1;
    RJob* j2;
    explicit Floor(int units = 2, uint16_t setup = 30)
    {
        m = &t.machine({.units = units, .setup = setup});
        j1 = &t.job(*m, 10);
        j2 = &t.job(*m, 5);
        for (auto& u : m->Units)
            u->last_job = j1->job_number;
    }
};

} // namespace

TEST(ForwardPlan, EqualLoadsGoToTheFirstUnitThenWhereTheyEndFirst)
{
    Floor f;
    RForwardPlanTable table(f.t.plant, 0);
    Waiting_WO_Data& a = f.t.request(*f.j1, 3);   // 30 minutes, no setup
    Waiting_WO_Data& b = f.t.request(*f.j1, 2);
    Waiting_WO_Data& c = f.t.request(*f.j2, 4);   // 20 + 30 setup
    uint16_t d = 0;
    EXPECT_EQ(table.AddIntoTable(&a, d), 0);
    EXPECT_EQ(d, 30);
    EXPECT_EQ(table.AddIntoTable(&b, d), 1);
    EXPECT_EQ(d, 20);
    EXPECT_EQ(table.AddIntoTable(&c, d), 1);   // unit 1 ends at 20 + 50 = 70, unit 0 at 30 + 50 = 80
    EXPECT_EQ(d, 50);
    EXPECT_EQ(table.unit_load(0), 30u);
    EXPECT_EQ(table.unit_load(1), 70u);
    EXPECT_EQ(table.planned_start(c.request->wo, f.j2->job_number), 20);
    EXPECT_EQ(table.planned_start(c.request->wo, f.j1->job_number), -1);
}

TEST(ForwardPlan, DurationsAndTheCannotPlanMark)
{
    Floor f;
    RForwardPlanTable table(f.t.plant, 0);
    struct Case { RJob* job; uint16_t qty; float mpp; const RJob* prev; uint16_t expect; const char* why; };
    const Case cases[] = {
        {f.j1, 3, 10.0f, f.j1, 30, "same job: no setup"},
        {f.j1, 3, 10.0f, f.j2, 60, "other job: setup added"},
        {f.j1, 3, 10.0f, nullptr, 60, "no previous job: setup added"},
        {f.j1, 3, 0.2f, f.j1, 65535, "under one minute cannot be planned"},
        {f.j1, 8000, 10.0f, f.j1, 65534, "80,000 minutes stop below the mark"},
        {f.j1, 8000, 10.0f, f.j2, 65534, "the setup does not wrap either"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        c.job->minutes_per_part = c.mpp;
        Waiting_WO_Data& e = f.t.request(*c.job, c.qty);
        EXPECT_EQ(table.entry_duration(c.prev, e), c.expect);
    }
    f.j1->minutes_per_part = 0.2f;
    Waiting_WO_Data& e = f.t.request(*f.j1, 3);
    uint16_t d = 0;
    EXPECT_EQ(table.AddIntoTable(&e, d), -1);
    EXPECT_EQ(table.unit_load(0), 0u);
}

TEST(AvailablePlan, TimesOnlyWhatTheDeliveredInputsAllow)
{
    Floor f(1);
    f.t.input(*f.j1, KIND_RAW, 0, 2);
    Waiting_WO_Data& e = f.t.request(*f.j1, 10);
    RAvailableWorkPlanTable avail(f.t.plant, 0);
    EXPECT_EQ(avail.entry_duration(f.j1, e), 65535);   // nothing delivered
    f.j1->add_input_stock(e.request->wo, KIND_RAW, 0, 7, 0, 0);   // three parts
    e.request->started = 2;
    EXPECT_EQ(avail.entry_duration(f.j1, e), 50);   // (2 started + 3) x 10
    Waiting_WO_Data& plain = f.t.request(*f.j2, 4);   // no inputs: all of it
    EXPECT_EQ(avail.entry_duration(f.j2, plain), 20);
}

TEST(DrumPlan, BackwardOntoAnEmptyUnitEndsAtTheLatestEnd)
{
    Floor f(1);
    RDBRPlanTable table(f.t.plant, 0, 60);
    Waiting_WO_Data& e = f.t.request(*f.j1, 3, 1000);
    EXPECT_EQ(table.AddIntoTable(&e, 500), 0);
    int32_t start = 0;
    EXPECT_EQ(table.find_entry(&e, start), 0);
    EXPECT_EQ(start, 470);
    EXPECT_EQ(table.units[0].line[0].end, 500);
    // A second entry of another job goes in front; the changeover is charged to the first.
    Waiting_WO_Data& g = f.t.request(*f.j2, 2, 1000);
    EXPECT_EQ(table.AddIntoTable(&g, 900), 0);
    EXPECT_EQ(table.find_entry(&g, start), 0);
    EXPECT_EQ(start, 430);   // ends where the following slot now starts: 470 - 30
    EXPECT_EQ(table.units[0].line[1].start, 440);
    EXPECT_EQ(table.units[0].line[1].duration, 60);
}

TEST(DrumPlan, PushForwardShiftsLateSlotsToTheMinute)
{
    Floor f(1, 30);
    RDBRPlanTable table(f.t.plant, 0, 0);
    Waiting_WO_Data& a = f.t.request(*f.j1, 2, 5000);   // 20 minutes
    Waiting_WO_Data& b = f.t.request(*f.j1, 1, 5000);   // 10 minutes
    table.AddIntoTable(&b, 100);
    table.AddIntoTable(&a, 100);   // a [70, 90], b [90, 100]
    table.push_forward(80);
    int32_t sa = 0, sb = 0;
    table.find_entry(&a, sa);
    table.find_entry(&b, sb);
    EXPECT_EQ(sa, 80);
    EXPECT_EQ(sb, 100);
    EXPECT_EQ(table.units[0].line[1].end, 110);
}

TEST(DrumPlan, MergeMovesALaterSlotOfTheSameJobWithoutItsSetup)
{
    Floor f(2, 30);
    RDBRPlanTable table(f.t.plant, 0, 1000);
    Waiting_WO_Data& e1 = f.t.request(*f.j1, 1, 0);
    Waiting_WO_Data& e2 = f.t.request(*f.j2, 2, 0);
    Waiting_WO_Data& e3 = f.t.request(*f.j1, 1, 0);
    // Unit 0: J1 then J2 (with its changeover); unit 1: J1 carrying no changeover.
    table.units[0].line = {{&e1, 10, 0, 10, 0}, {&e2, 40, 10, 50, 30}};
    table.units[1].line = {{&e3, 10, 0, 10, 0}};
    table.push_forward(0);
    ASSERT_EQ(table.units[0].line.size(), 2u);
    EXPECT_EQ(table.units[0].line[0].entry, &e1);
    EXPECT_EQ(table.units[0].line[1].entry, &e3);
    EXPECT_EQ(table.units[0].line[1].start, 10);
    EXPECT_EQ(table.units[0].line[1].duration, 10);   // nothing to take off: no wrap
    // The J2 slot is timed again where it ends first: unit 1, from 0, with its setup.
    ASSERT_EQ(table.units[1].line.size(), 1u);
    EXPECT_EQ(table.units[1].line[0].entry, &e2);
    EXPECT_EQ(table.units[1].line[0].start, 0);
    EXPECT_EQ(table.units[1].line[0].end, 40);
}

TEST(ParallelPlan, LoadPercentOfAWindow)
{
    Floor f(1, 0);
    RParallelFPT p(f.t.plant, 0);
    Waiting_WO_Data& e = f.t.request(*f.j1, 6);   // work 6 x 10 = 60
    e.planned_start = 100;
    e.planned_duration = 60;
    p.add_waiting_data(&e);
    EXPECT_FLOAT_EQ(p.load_percent(0, 50), 0.0f);
    EXPECT_FLOAT_EQ(p.load_percent(100, 60), 100.0f);
    EXPECT_FLOAT_EQ(p.load_percent(130, 60), 50.0f);
    EXPECT_FLOAT_EQ(p.load_percent(100, 0), 0.0f);
    EXPECT_EQ(p.plan_end(), 160);
    Waiting_WO_Data& g = f.t.request(*f.j2, 1);
    g.planned_start = 100;
    g.planned_duration = 5;
    p.add_waiting_data(&g);
    EXPECT_EQ(p.time_table[1].entry, &g);   // equal starts keep arrival order
}
