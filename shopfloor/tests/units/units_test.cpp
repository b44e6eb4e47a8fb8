// Machine units: the minute state machine, breakdowns, counters and the jobs' busy slots.
#include "support/builder.h"
#include <gtest/gtest.h>

namespace {

int busy_flags(const RJob& j)
{
    int n = 0;
    for (uint16_t b : j.busy)
        n += b;
    return n;
}

} // namespace

TEST(MachineUnit, SetupBreakSetupProdIdleWithCounters)
{
    TestPlant t;
    RMachine& m = t.machine({.units = 1, .setup = 5, .breakdowns = 10, .break_values = {3}});
    RJob& j = t.job(m, 2);
    t.request(j, 1);
    RMachineUnit& u = *m.Units[0];
    t.host.scripted_only = true;
    // Minute 2 setup; 3 breaks (r1 above 32637, r2 picks 3 minutes); 4-5 break; 6-9 setup,
    // 9 ends the setup and draws the process time; 10-11 produce.
    t.host.script = {0, 32700, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<int16_t> states;
    for (int i = 0; i < 11; ++i) {
        t.minute();
        states.push_back(u.state);
    }
    EXPECT_EQ(states, (std::vector<int16_t>{1, 1, 3, 3, 1, 1, 1, 1, 2, 2, 0}));
    EXPECT_TRUE(t.host.script.empty());
    EXPECT_EQ(t.host.draws, 10);
    EXPECT_EQ(m.minutes[MIN_IDLE], 1u);
    EXPECT_EQ(m.minutes[MIN_SETUP], 5u);
    EXPECT_EQ(m.minutes[MIN_BREAK], 3u);
    EXPECT_EQ(m.minutes[MIN_PRODUCTION], 2u);
    EXPECT_EQ(j.get_output_qty(t.plant.Work_Orders[0].get(), 0, 0), 1);
    EXPECT_TRUE(m.Waiting_WOs_Data.empty());
    EXPECT_EQ(j.busy_units, 0);
}

TEST(MachineUnit, BreakKeepsSetupMinutes)
{
    TestPlant t;
    RMachine& m = t.machine({.setup = 10, .breakdowns = 10, .break_values = {2}});
    RJob& j = t.job(m, 2);
    t.request(j, 1);
    t.host.scripted_only = true;
    t.host.script = {0, 0, 32700, 0};
    for (int i = 0; i < 4; ++i)
        t.minute();
    RMachineUnit& u = *m.Units[0];
    ASSERT_EQ(u.state, UNIT_BREAK);
    EXPECT_EQ(u.saved_state, UNIT_SETUP);
    EXPECT_EQ(u.minutes_left, 8);   // two setup minutes done before the break
    t.minute();   // the last break minute
    EXPECT_EQ(u.state, UNIT_SETUP);
    EXPECT_EQ(u.minutes_left, 8);
}

TEST(MachineUnit, BreakdownThresholdByShiftMode)
{
    struct Case { int mode; int16_t per_week; int threshold; } cases[] = {
        {0, 10, 32637}, {1, 10, 32737}, {2, 10, 32707}, {0, 0, 32767}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 100 + c.per_week);
        TestPlant t;
        t.host.mode = c.mode;
        RMachine& m = t.machine({.setup = 100, .breakdowns = c.per_week, .break_values = {5}});
        RJob& j = t.job(m, 2);
        t.request(j, 1);
        t.host.scripted_only = true;
        t.minute();   // starts the setup
        t.host.script = {c.threshold};
        t.minute();
        EXPECT_EQ(m.Units[0]->state, UNIT_SETUP);
        EXPECT_EQ(t.host.draws, 1);
        if (c.threshold < 32767) {
            t.host.script = {c.threshold + 1, 0};
            t.minute();
            EXPECT_EQ(m.Units[0]->state, UNIT_BREAK);
            EXPECT_EQ(t.host.draws, 3);
        }
    }
}

TEST(MachineUnit, ProcessTimeNeverBelowOneMinute)
{
    TestPlant t;
    RMachine& m = t.machine({.times_values = {10}});
    RJob& j = t.job(m, 2);   // 10 % of 2 minutes rounds to 0
    m.Units[0]->last_job = j.job_number;
    Waiting_WO_Data& e = t.request(j, 3);
    t.host.script = {0};
    ASSERT_EQ(m.start_on_unit(0, &e), 1);
    EXPECT_EQ(m.Units[0]->state, UNIT_PROD);
    EXPECT_EQ(m.Units[0]->minutes_left, 1);
    EXPECT_EQ(m.Units[0]->batch, 1);
}

TEST(MachineUnit, CancelDuringBreakIdlesWhenTheBreakEnds)
{
    TestPlant t;
    RMachine& m = t.machine({.setup = 10, .breakdowns = 10, .break_values = {2}});
    RJob& j = t.job(m, 2);
    t.request(j, 1);
    t.host.scripted_only = true;
    t.host.script = {0, 32700, 0};
    for (int i = 0; i < 3; ++i)
        t.minute();
    RMachineUnit& u = *m.Units[0];
    ASSERT_EQ(u.state, UNIT_BREAK);
    j.forget_work_order(t.plant.Work_Orders[0].get());   // cancels the unit's batch
    EXPECT_EQ(u.state, UNIT_BREAK);
    EXPECT_EQ(u.saved_state, UNIT_IDLE);
    EXPECT_EQ(j.busy_units, 0);
    EXPECT_TRUE(m.Waiting_WOs_Data.empty());
    t.minute();   // the last break minute
    EXPECT_EQ(u.state, UNIT_IDLE);
}

TEST(MachineUnit, DeliveredUnitArrivesAtMonthAndActivates)
{
    TestPlant t;
    RMachine& m = t.machine({.units = 1});
    auto u = std::make_unique<RMachineUnit>(&m);
    u->state = UNIT_ON_DELIVERY;
    u->minutes_left = 1;
    m.Units.push_back(std::move(u));
    t.ui.is_shown = true;
    m.on_new_month();
    EXPECT_EQ(m.active_units, 2);
    EXPECT_EQ(m.Units[1]->state, UNIT_IDLE);
    EXPECT_EQ(m.Units[1]->became_available, 1);
    EXPECT_EQ(m.Units[1]->number, 1);
    EXPECT_EQ(t.ui.redraws, (std::vector<int>{0}));
}

TEST(BusyUnits, CountFollowsTheFlagsWhateverClearsThem)
{
    TestPlant t;
    RMachine& m = t.machine({.units = 2, .setup = 5});
    RJob& j = t.job(m, 2);
    Waiting_WO_Data& e = t.request(j, 1);
    t.host.script.assign(50, 0);

    // Cancelling an idle unit changes nothing.
    m.Units[0]->current_job = &j;
    m.Units[0]->cancel_batch();
    EXPECT_EQ(j.busy_units, 0);

    // Unit 0 produces at once, unit 1 sets up for the same one-part request.
    m.Units[0]->last_job = j.job_number;
    ASSERT_EQ(m.start_on_unit(0, &e), 1);
    ASSERT_EQ(m.start_on_unit(1, &e), 0);   // nothing left to start
    j.busy[1] = 1;                          // a setup started before the last part was taken
    j.unit_request[1] = e.request;
    ++j.busy_units;
    m.Units[1]->start(e);
    ASSERT_EQ(m.Units[1]->state, UNIT_SETUP);
    EXPECT_EQ(j.busy_units, 2);

    // Unit 0 finishes the request: every slot holding it is cleared.
    j.finish_batch(0, 1);
    EXPECT_EQ(j.busy_units, busy_flags(j));
    EXPECT_EQ(j.busy_units, 0);
    // Unit 1's setup then ends with no request: the count must not wrap.
    j.end_setup(1);
    EXPECT_EQ(j.busy_units, 0);
    EXPECT_EQ(m.Units[1]->state, UNIT_IDLE);
}

namespace {

struct RecordingPainter : Painter {
    struct Text {
        int x, y;
        std::string s;
    };
    void rect(int, int, int, int, int32_t, bool) override { ++rects; }
    void line(int, int, int, int) override {}
    void text(int x, int y, std::string_view s, uint32_t) override { texts.push_back({x, y, std::string(s)}); }
    int text_width(std::string_view s) override { return static_cast<int>(s.size()) * 7; }
    int rects = 0;
    std::vector<Text> texts;
};

} // namespace

TEST(MachinePanel, RowsRedrawOnlyTheCellsThatChanged)
{
    TestPlant t;
    RecordingPainter rec;
    t.ui.paint = &rec;
    t.ui.is_shown = true;
    RMachine& m = t.machine({.units = 1, .setup = 30});
    m.panel_x = 20;
    m.panel_y = 40;
    RJob& j = t.job(m, 5);
    t.product("A1", j);
    Waiting_WO_Data& e = t.request(j, 5);
    m.Units[0]->last_job = j.job_number;
    t.host.script.assign(5, 0);
    ASSERT_EQ(m.start_on_unit(0, &e), 1);

    m.draw();
    ASSERT_FALSE(rec.texts.empty());
    EXPECT_EQ(rec.texts[0].s, "M1   FIFO   Su:30");
    std::vector<std::string> cells;
    for (size_t i = 1; i < rec.texts.size(); ++i)
        cells.push_back(rec.texts[i].s);
    EXPECT_EQ(cells, (std::vector<std::string>{"Prod.", "A1", "J1", e.request->wo->name, "5"}));
    EXPECT_EQ(rec.texts[1].y, 40 + 27 + 14);

    rec.texts.clear();
    m.draw_units(false);
    EXPECT_TRUE(rec.texts.empty());
    e.request->quantity = 4;
    m.draw_units(false);
    ASSERT_EQ(rec.texts.size(), 1u);
    EXPECT_EQ(rec.texts[0].s, "4");
    EXPECT_EQ(rec.texts[0].x, 20 + 4 + 170);

    // Without a painter nothing is drawn and the cache stays as it was.
    t.ui.paint = nullptr;
    e.request->quantity = 3;
    m.draw_units(false);
    t.ui.paint = &rec;
    rec.texts.clear();
    m.draw_units(false);
    ASSERT_EQ(rec.texts.size(), 1u);
    EXPECT_EQ(rec.texts[0].s, "3");
}
