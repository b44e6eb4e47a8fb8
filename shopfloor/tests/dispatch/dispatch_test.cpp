// Dispatch rules on a fixed queue: which request each idle unit starts.
#include "support/builder.h"
#include <gtest/gtest.h>

namespace {

// Queue: A (J1, due 900), B (J2, due 480), C (J1, due 480); five parts each, no inputs.
struct Queue {
    TestPlant t;
    RMachine* m = nullptr;
    RJob* j1 = nullptr;
    RJob* j2 = nullptr;
    Waiting_WO_Data* a = nullptr;
    Waiting_WO_Data* b = nullptr;
    Waiting_WO_Data* c = nullptr;

    explicit Queue(int units, int16_t rule)
    {
        m = &t.machine({.units = units, .setup = 30, .rule = rule});
        j1 = &t.job(*m, 2);
        j2 = &t.job(*m, 2);
        RJob& pj = t.job(*m, 1);   // products need a final job
        t.product("P1", pj);
        j1->product = t.plant.Products[0].get();
        j2->product = t.plant.Products[0].get();
        a = &t.request(*j1, 5, 900);
        b = &t.request(*j2, 5, 480);
        c = &t.request(*j1, 5, 480);
        t.host.script.assign(100, 0);
    }
    // The entry each unit works on, by letter; '-' for none.
    std::string started() const
    {
        std::string s;
        for (int u = 0; u < m->active_units; ++u) {
            const RMachineUnit& unit = *m->Units[static_cast<size_t>(u)];
            const Waiting_WO* r = unit.current_job ? unit.current_job->unit_request[u] : nullptr;
            s += !r ? '-' : r == a->request ? 'A' : r == b->request ? 'B' : r == c->request ? 'C' : '?';
        }
        return s;
    }
};

} // namespace

TEST(Dispatch, EachRuleOnTheFixedQueue)
{
    struct Row {
        const char* why;
        int units;
        int16_t rule;
        int last_job_unit0;   // -1: every unit needs a setup
        int16_t wo_priority_c;
        int16_t product_priority;
        int16_t wo_option;
        const char* expect;
    };
    const Row rows[] = {
        {"FIFO: queue order", 2, RULE_FIFO, -1, -32768, 0, 0, "AB"},
        {"FIFO: one unit takes the first", 1, RULE_FIFO, -1, -32768, 0, 0, "A"},
        {"Current job: unit 0 keeps J2", 2, RULE_CURRENT_JOB, 1, -32768, 0, 0, "BA"},
        {"EDD: earliest due, tie to the earlier entry, then the same entry again", 2, RULE_EDD, -1, -32768, 0, 0, "BB"},
        {"PRI: nothing qualifies at priority 0", 2, RULE_PRI, -1, -32768, 0, 0, "--"},
        {"PRI: positive product priority, same entry on the second unit", 2, RULE_PRI, -1, -32768, 3, 0, "AA"},
        {"WO priority pass under FIFO: the chosen entry again on the next unit", 2, RULE_FIFO, -1, 5, 0, 1, "CC"},
        {"WO priority option off: plain FIFO", 2, RULE_FIFO, -1, 5, 0, 0, "AB"},
        {"WO priority pass runs before EDD", 2, RULE_EDD, -1, 5, 0, 1, "CC"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        Queue q(r.units, r.rule);
        if (r.last_job_unit0 >= 0)
            q.m->Units[0]->last_job = static_cast<uint8_t>(r.last_job_unit0);
        q.c->request->wo->priority = r.wo_priority_c;
        q.t.plant.Products[0]->priority = r.product_priority;
        q.t.plant.wo_priority_option = r.wo_option;
        q.m->dispatch();
        EXPECT_EQ(q.started(), r.expect);
    }
}

TEST(Dispatch, FifoJoinNeedsSetupBelowWorkPerUnit)
{
    // 1000 parts x 66 minutes = 66000 minutes: past 16 bits, far above the 500-minute setup.
    TestPlant t;
    RMachine& m = t.machine({.units = 2, .setup = 500});
    RJob& j = t.job(m, 66);
    Waiting_WO_Data& e = t.request(j, 1000);
    t.host.script.assign(10, 0);
    m.dispatch();
    EXPECT_EQ(j.units_working_on(e.request->wo, 0, 0), 2);

    TestPlant s;   // 8 x 66 = 528 minutes on one unit
    RMachine& m2 = s.machine({.units = 2, .setup = 600});
    RJob& j2 = s.job(m2, 66);
    Waiting_WO_Data& e2 = s.request(j2, 8);
    s.host.script.assign(10, 0);
    m2.dispatch();
    EXPECT_EQ(j2.units_working_on(e2.request->wo, 0, 0), 1);   // 600 >= 528: the second unit stays idle
}

TEST(Dispatch, CompleteWoWaitsForAllInputs)
{
    TestPlant t;
    RMachine& m = t.machine({.units = 1, .acceptance = 0});
    RJob& j = t.job(m, 2);
    t.input(j, KIND_RAW, 0, 2);
    Waiting_WO_Data& e = t.request(j, 3);
    j.add_input_stock(e.request->wo, KIND_RAW, 0, 4, 0, 0);   // two parts' worth of three
    t.host.script.assign(10, 0);
    m.dispatch();
    EXPECT_EQ(m.Units[0]->state, UNIT_IDLE);
    m.acceptance = 1;
    m.dispatch();
    EXPECT_EQ(m.Units[0]->state, UNIT_SETUP);
}

TEST(Dispatch, ScheduleFirstEntryOnlyNeverSkipsAhead)
{
    Queue q(2, RULE_SCHEDULE);
    q.t.input(*q.j2, KIND_RAW, 0, 1);   // B waits for material
    q.m->Schedules = {q.b, q.a};
    q.m->dispatch();
    EXPECT_EQ(q.started(), "--");
    q.m->schedule_option = 1;
    q.m->dispatch();
    EXPECT_EQ(q.started(), "A-");
}

TEST(Dispatch, EmptyScheduleAsksOnlyUnderImmediateMrpAndDbr)
{
    struct Case { int16_t policy; size_t asks; } cases[] = {{0, 1}, {1, 1}, {2, 0}, {3, 1}, {4, 0}, {5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.policy);
        Queue q(2, RULE_SCHEDULE);
        q.t.plant.release_policy = c.policy;
        q.t.ui.schedule_answer = 2;
        q.m->dispatch();
        EXPECT_EQ(q.t.ui.schedule_ends.size(), c.asks);
        EXPECT_EQ(q.t.host.run_state, c.asks ? 0 : 1);
        EXPECT_EQ(q.started(), "--");
    }
}

TEST(Dispatch, StaleScheduleEntryIsDroppedSilently)
{
    Queue q(1, RULE_SCHEDULE);
    Waiting_WO_Data stale;   // not in the queue
    q.m->Schedules = {&stale, q.c};
    q.m->schedule_option = 1;
    q.m->dispatch();
    EXPECT_TRUE(q.t.ui.messages.empty());
    EXPECT_EQ(q.m->Schedules, (std::vector<Waiting_WO_Data*>{q.c}));
    EXPECT_EQ(q.started(), "C");
}

TEST(Dispatch, DroppingAStaleEntryKeepsTheScheduleOrder)
{
    // The entry after the dropped one moves into its place: it is the next looked at.
    Queue q(1, RULE_SCHEDULE);
    Waiting_WO_Data stale;
    q.m->Schedules = {&stale, q.a, q.b};
    q.m->schedule_option = 1;
    q.m->dispatch();
    EXPECT_EQ(q.m->Schedules, (std::vector<Waiting_WO_Data*>{q.a, q.b}));
    EXPECT_EQ(q.started(), "A");
}

TEST(Dispatch, NewRequestGoesBeforeTrailingRunOfItsWorkOrder)
{
    TestPlant t;
    RMachine& m = t.machine();
    RJob& j = t.job(m, 2);
    Waiting_WO_Data& first = t.request(j, 1);
    RWork_Order* w2 = t.request(j, 1).request->wo;
    Waiting_WO* r = j.add_request(w2, 4, 0, 0);
    m.Add_Waiting_WO_Data(r, &j);
    ASSERT_EQ(m.Waiting_WOs_Data.size(), 3u);
    EXPECT_EQ(m.Waiting_WOs_Data[0].get(), &first);
    EXPECT_EQ(m.Waiting_WOs_Data[1]->request, r);
    EXPECT_EQ(m.request_size_sum, 6);
    EXPECT_EQ(m.request_size_count, 3);

    TestPlant s;   // every entry of that work order: the front
    RMachine& ms = s.machine();
    RJob& js = s.job(ms, 2);
    RWork_Order* w = s.request(js, 1).request->wo;
    Waiting_WO* r2 = js.add_request(w, 2, 0, 0);
    ms.Add_Waiting_WO_Data(r2, &js);
    EXPECT_EQ(ms.Waiting_WOs_Data[0]->request, r2);
}

TEST(Dispatch, IdleUnitChoiceLeastSetupThenLowestIndex)
{
    TestPlant t;
    RMachine& m = t.machine({.units = 3});
    RJob& j = t.job(m, 2);
    EXPECT_EQ(m.pick_idle_unit(&j), 0);
    m.Units[2]->last_job = j.job_number;
    EXPECT_EQ(m.pick_idle_unit(&j), 2);
    m.Units[2]->state = UNIT_SETUP;
    EXPECT_EQ(m.pick_idle_unit(&j), 0);
    m.active_units = 0;
    EXPECT_EQ(m.pick_idle_unit(&j), -1);
}
