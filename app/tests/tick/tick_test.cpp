// The tick: hook order, HOLD and restart codes, re-entrancy, run control, the timer.
#include "app/view.h"
#include "app/learn_file.h"
#include <filesystem>
#include "plat/modal.h"
#include "support/driver.h"
#include "support/fakes.h"
#include "support/scenario.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAreArray;

namespace {

std::string show(const SimDateTime& d)
{
    char b[40];
    std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d", d.year + 1900, d.month, d.day, d.hour, d.minute);
    return b;
}

std::vector<std::string> from_tick(const Trace& t, int32_t first)
{
    std::vector<std::string> out;
    Trace sub;
    for (const HookCall& c : t.calls)
        if (c.tick >= first)
            sub.calls.push_back(c);
    return sub.lines();
}

struct TickFixture : ::testing::Test {
    TempDir dir;
    RecordingSet set;
    SessionDriver driver;
    DriverOptions options()
    {
        DriverOptions o;
        o.factory = set.factory();
        o.config.timer_enabled = false;
        return o;
    }
    std::string scenario(ScenarioBuilder b = ScenarioBuilder()) { return b.write(dir.path() / "s.vnb"); }
};

} // namespace

TEST_F(TickFixture, HooksRunInOrderOverDaysMonthAndYear)
{
    // Friday 30 December 1994: the second working day is Monday 2 January.
    ASSERT_TRUE(driver.start(scenario(ScenarioBuilder().set("TIME", "^301294^1^1^0^@\n$\n")), options()));
    driver.runTicks(960);
    EXPECT_EQ(driver.tickCount(), 960);
    EXPECT_EQ(show(driver.clock().current), "1995-01-03 08:00");

    const std::vector<std::string> golden = {
        "0 Mkt daily_step 0",      "0 Prc daily_step 0",      "0 Prd daily_step 0",      "0 Fin daily_step 0",
        "480 Mkt on_new_year 0",   "480 Prc on_new_year 0",   "480 Prd on_new_year 0",   "480 Fin on_new_year 0",
        "480 Mkt on_new_month 0",  "480 Prc on_new_month 0",  "480 Prd on_new_month 0",  "480 Fin on_new_month 0",
        "480 Mkt on_new_week 0",   "480 Prc on_new_week 0",   "480 Prd on_new_week 0",   "480 Fin on_new_week 0",
        "480 Mkt daily_step 0",    "480 Prc daily_step 0",    "480 Prd daily_step 0",    "480 Fin daily_step 0",
        "960 Mkt daily_step 0",    "960 Prc daily_step 0",    "960 Prd daily_step 0",    "960 Fin daily_step 0",
    };
    EXPECT_THAT(from_tick(set.trace, 0), ElementsAreArray(golden));
    for (const char* d : {"Mkt", "Prc", "Prd", "Fin"})
        EXPECT_EQ(set.trace.count(d, "on_minute"), 961) << d;
    // Minute hooks follow the daily steps, in department order.
    std::vector<std::string> at480;
    for (const std::string& l : set.trace.lines(true))
        if (l.rfind("480 ", 0) == 0)
            at480.push_back(l);
    ASSERT_EQ(at480.size(), 20u);
    EXPECT_EQ(at480[16], "480 Mkt on_minute 0");
    EXPECT_EQ(at480[19], "480 Fin on_minute 0");

    const CClockPane& c = driver.clock();
    EXPECT_EQ(c.years_elapsed, 1);
    EXPECT_EQ(c.months_elapsed, 1);
    EXPECT_EQ(c.month_of_year, 1);
    EXPECT_EQ(c.work_days_this_year, 2);
    EXPECT_EQ(c.work_days_last_month, 1);
}

TEST_F(TickFixture, FirstTickMakesTickCountZero)
{
    ASSERT_TRUE(driver.start(scenario(), options()));
    EXPECT_EQ(driver.tickCount(), 0);
    EXPECT_EQ(driver.state(), RUN_STOPPED);
    EXPECT_EQ(show(driver.view().run_until), "1995-01-02 08:00");
    EXPECT_FALSE(driver.view().ContinueEnabled());
    EXPECT_EQ(set.trace.count("Mkt", "daily_step"), 1);
}

namespace {
// Marketing holds at its step of day 2 with the given stage; its resume
// step re-enters the chain with that stage.
void hold_marketing_on_day_two(RecordingSet& set, int16_t stage)
{
    set.configure = [stage](RecordingSet& s) {
        RecordingDepartment* mk = s.marketing;
        mk->on_daily = [mk, stage](int16_t code) -> BOOL16 {
            if (code == 0 && mk->view()->tick_count == 480) {
                mk->view()->EnterHold(HELD_MARKETING);
                return 0;
            }
            return 1;
        };
        mk->on_resume = [mk, stage] { mk->view()->SimulationTick(stage); };
    };
}
}

TEST_F(TickFixture, ResumedChainRunsFromMarketingWithItsStage)
{
    for (int16_t stage : {RESTART_NEW_CONTRACTS, RESTART_CONTRACT_LOST, RESTART_NEW_PRODUCTS}) {
        SCOPED_TRACE(stage);
        set.trace.clear();
        hold_marketing_on_day_two(set, stage);
        DriverOptions o = options();
        bool held = false;
        o.on_hold = [&](CVornView& v) {
            held = true;
            EXPECT_EQ(v.tick_count, 480);
            EXPECT_EQ(v.held_department, HELD_MARKETING);
            EXPECT_EQ(v.saved_run_state, RUN_RUNNING);
            EXPECT_EQ(set.trace.count("Mkt", "on_minute"), 480) << "no minute hooks while held";
            v.RestoreHold();
            EXPECT_EQ(v.tick_count, 480) << "a resumed chain counts no tick";
            EXPECT_EQ(show(v.clock.current), "1995-01-03 08:00");
            EXPECT_EQ(v.run_state, RUN_RUNNING);
        };
        SessionDriver d;
        ASSERT_TRUE(d.start(scenario(), o));
        d.runTicks(481);
        ASSERT_TRUE(held);
        char s[8];
        std::snprintf(s, sizeof s, "%d", stage);
        const std::vector<std::string> golden = {
            "480 Mkt daily_step 0", "480 Mkt resume_step 0",
            std::string("480 Mkt daily_step ") + s, std::string("480 Prc daily_step ") + s,
            "480 Prd daily_step 0", "480 Fin daily_step 0",
        };
        EXPECT_THAT(from_tick(set.trace, 480), ElementsAreArray(golden));
        for (const char* dept : {"Mkt", "Prc", "Prd", "Fin"})
            EXPECT_EQ(set.trace.count(dept, "on_minute"), 482) << dept << ": the held minute's hooks once";
    }
}

TEST_F(TickFixture, PurchasingResumeSkipsMarketing)
{
    set.configure = [](RecordingSet& s) {
        RecordingDepartment* pc = s.purchasing;
        pc->on_daily = [pc](int16_t code) -> BOOL16 {
            if (code == 0 && pc->view()->tick_count == 480) {
                pc->view()->EnterHold(HELD_PURCHASING);
                return 0;
            }
            return 1;
        };
        pc->on_resume = [pc] { pc->view()->SimulationTick(RESTART_PURCHASING); };
    };
    ASSERT_TRUE(driver.start(scenario(), options()));
    driver.runTicks(481);
    const std::vector<std::string> golden = {
        "480 Mkt daily_step 0", "480 Prc daily_step 0", "480 Prc resume_step 0",
        "480 Prc daily_step 3", "480 Prd daily_step 0", "480 Fin daily_step 0",
    };
    EXPECT_THAT(from_tick(set.trace, 480), ElementsAreArray(golden));
}

TEST_F(TickFixture, RestoreHoldOutsideHoldAndResumeMessageWithoutHeld)
{
    ASSERT_TRUE(driver.start(scenario(), options()));
    CVornView& v = driver.view();
    v.held_department = HELD_MARKETING;
    v.RestoreHold();
    EXPECT_EQ(set.trace.count("Mkt", "resume_step"), 0) << "state 0: Restore hold does nothing";
    v.held_department = HELD_NONE;
    EXPECT_EQ(v.OnResumeDepartment(), 0);
    EXPECT_EQ(set.trace.count("Mkt", "resume_step") + set.trace.count("Prc", "resume_step"), 0);

    // The message resumes the held department without touching the state.
    v.held_department = HELD_PURCHASING;
    EXPECT_EQ(v.OnResumeDepartment(), 0);
    EXPECT_EQ(set.trace.count("Prc", "resume_step"), 1);
    EXPECT_EQ(v.held_department, HELD_NONE);
    EXPECT_EQ(v.run_state, RUN_STOPPED);
}

TEST_F(TickFixture, NoTickStartsInsideATickOrAModalLoop)
{
    int nested_ticks = -1;
    set.configure = [&](RecordingSet& s) {
        RecordingDepartment* mk = s.marketing;
        mk->on_daily = [mk, &nested_ticks](int16_t) -> BOOL16 {
            CVornView* v = mk->view();
            if (v->tick_count != 480)
                return 1;
            int32_t before = v->tick_count;
            // A box opened by the step: its loop keeps calling the idle work.
            {
                plat::ModalScope box;
                for (int i = 0; i < 50; ++i)
                    v->IdleStep();
            }
            // Even with no loop open, the tick on the stack blocks the next.
            for (int i = 0; i < 50; ++i)
                v->IdleStep();
            nested_ticks = v->tick_count - before;
            return 1;
        };
    };
    ASSERT_TRUE(driver.start(scenario(), options()));
    driver.runTicks(481);
    EXPECT_EQ(nested_ticks, 0);
    EXPECT_EQ(set.trace.count("Mkt", "daily_step"), 2);

    // A menu or dialog open outside any tick: no tick either.
    CVornView& v = driver.view();
    v.SetRunState(RUN_RUNNING);
    int32_t before = v.tick_count;
    {
        plat::ModalScope menu;
        v.IdleStep();
        v.IdleStep();
    }
    EXPECT_EQ(v.tick_count, before);
    v.IdleStep();
    EXPECT_EQ(v.tick_count, before + 1);
}

TEST_F(TickFixture, ResumeStepDialogHoldsTheClockUntilItReturns)
{
    int32_t during = -1;
    set.configure = [&](RecordingSet& s) {
        RecordingDepartment* mk = s.marketing;
        mk->on_daily = [mk](int16_t code) -> BOOL16 {
            if (code == 0 && mk->view()->tick_count == 480) {
                mk->view()->EnterHold(HELD_MARKETING);
                return 0;
            }
            return 1;
        };
        mk->on_resume = [mk, &during] {
            CVornView* v = mk->view();
            {
                plat::ModalScope dialog;
                for (int i = 0; i < 20; ++i)
                    v->IdleStep();
                during = v->tick_count;
            }
            v->SimulationTick(RESTART_NEW_CONTRACTS);
        };
    };
    ASSERT_TRUE(driver.start(scenario(), options()));
    driver.runTicks(481);
    EXPECT_EQ(during, 480);
}

TEST_F(TickFixture, RunOnDayEndsOneMinuteAfterTheNextMorning)
{
    ASSERT_TRUE(driver.start(scenario(), options()));
    CVornView& v = driver.view();
    v.RunOnDay();
    EXPECT_EQ(show(v.run_until), "1995-01-03 08:00");
    EXPECT_TRUE(v.ContinueEnabled());
    int guard = 0;
    while (v.run_state == RUN_RUNNING && ++guard < 2000)
        v.IdleStep();
    EXPECT_EQ(show(v.clock.current), "1995-01-03 08:01");
    EXPECT_EQ(v.tick_count, 481);
    EXPECT_EQ(set.trace.count("Mkt", "daily_step"), 2);
    EXPECT_FALSE(v.ContinueEnabled());
    EXPECT_EQ(driver.host().beeps().size(), 1u);

    // Continue with the moment reached: one more tick, then stopped again.
    v.Continue();
    v.IdleStep();
    EXPECT_EQ(v.run_state, RUN_STOPPED);
    EXPECT_EQ(v.tick_count, 482);
}

TEST_F(TickFixture, RunChoicesSetTheRunUntilMoment)
{
    ASSERT_TRUE(driver.start(scenario(), options()));
    CVornView& v = driver.view();
    v.clock.current.minute = 25;
    v.clock.current.hour = 10;
    struct Case {
        RunChoice choice;
        const char* until;
    };
    const Case cases[] = {
        {{.year = true}, "1996-01-02 08:00"},
        {{.month = true}, "1995-02-02 08:00"},
        {{.week = true}, "1995-01-09 08:00"},
        {{.day = true}, "1995-01-03 08:00"},
        {{.next_month = true}, "1995-02-01 08:00"},
        {{.next_year = true}, "1996-01-01 08:00"},
        {{.typed_date = "15/03/95"}, "1995-03-15 08:00"},
        {{.typed_date = "15/03/95", .week = true}, "1995-01-09 08:00"},
    };
    for (const Case& c : cases) {
        v.SetRunState(RUN_STOPPED);
        ASSERT_TRUE(v.Run(c.choice));
        EXPECT_EQ(show(v.run_until), c.until);
        EXPECT_EQ(v.run_state, RUN_RUNNING);
    }
    v.SetRunState(RUN_STOPPED);
    driver.host().Answer(plat::IDOK, "Run", "Invalid date!", plat::ScriptedHost::Match::Exact);
    SimDateTime before = v.run_until;
    EXPECT_FALSE(v.Run({.typed_date = "31/02/95"}));
    EXPECT_EQ(v.run_state, RUN_STOPPED);
    EXPECT_EQ(show(v.run_until), show(before));

    v.RunYear();
    EXPECT_EQ(show(v.run_until), "1996-01-02 08:00") << "Run Year: the date a year on at 08:00";
}

TEST_F(TickFixture, RunCommandsRefusedInHoldAndWhenPoliciesDisagree)
{
    ASSERT_TRUE(driver.start(scenario(), options()));
    CVornView& v = driver.view();
    driver.host().Answer(plat::IDOK, "", "Can not run in HOLD State");
    driver.host().Answer(plat::IDOK, "", "Can not stop in HOLD State");
    v.EnterHold(HELD_MARKETING);
    EXPECT_FALSE(v.Run({.day = true}));
    v.Continue();
    v.RunOnDay();
    v.RunYear();
    v.Stop();
    EXPECT_EQ(v.run_state, RUN_HOLD);
    EXPECT_EQ(driver.prompts().size(), 5u);

    v.SetRunState(RUN_STOPPED);
    set.production->consistent = 0;
    driver.host().Answer(plat::IDOK, "Please set new policy in production", "Inconsistent policies");
    EXPECT_FALSE(v.Run({.day = true}));
    v.RunYear();
    EXPECT_EQ(v.run_state, RUN_STOPPED);
    EXPECT_EQ(driver.prompts().size(), 7u);
}

TEST_F(TickFixture, SessionEndsAtEightAndAgainAfterStop)
{
    // End date Tuesday 3 January 1995.
    ASSERT_TRUE(driver.start(scenario(ScenarioBuilder().set("NEW_FEATURES", "^030195^0^-1^7^@\n$\n")), [&] {
        DriverOptions o = options();
        o.script = [](plat::ScriptedHost& h) { h.Answer(plat::IDOK, "VORNS", "Simulation over!"); };
        return o;
    }()));
    driver.runTicks(2000);
    EXPECT_EQ(driver.state(), RUN_OVER);
    EXPECT_EQ(driver.tickCount(), 480);
    EXPECT_EQ(driver.prompts().size(), 1u);
    CVornView& v = driver.view();

    driver.host().Answer(plat::IDOK, "Run", "Simulation over");
    v.Continue();
    EXPECT_EQ(v.run_state, RUN_OVER);
    v.Stop();
    EXPECT_EQ(v.run_state, RUN_STOPPED);
    driver.runTicks(2000);
    EXPECT_EQ(driver.state(), RUN_OVER);
    EXPECT_EQ(driver.tickCount(), 960) << "over again at the next 08:00";
    EXPECT_EQ(driver.prompts().size(), 3u);
}

namespace {
struct LearnUi : ViewUi {
    std::vector<LearnOutcome> shown;
    void show_learn_result(const LearnOutcome& outcome) override { shown.push_back(outcome); }
};
} // namespace

TEST_F(TickFixture, LearnSessionEndShowsTheResultOfALevelOnly)
{
    // A level's end shows its result; the last session is no level, so its
    // end shows nothing at all (neither the result nor "Simulation over!").
    for (const bool last : {false, true}) {
        SCOPED_TRACE(last ? "last session" : "level 1");
        SessionDriver d;
        DriverOptions o = options();
        o.learn = true;
        o.workdir = dir.path().string();
        ASSERT_TRUE(d.start(scenario(ScenarioBuilder().set("NEW_FEATURES", "^030195^0^-1^7^@\n$\n")), o));
        LearnUi ui;
        CVornView& v = d.view();
        v.set_ui(&ui);
        auto record = std::make_shared<LearnRecord>();
        record->learn_path = dir.path() / "VORN.LRN";
        record->levels = {{"A.VNB", "a", 10, {{0, "up", "down"}}}};
        record->chosen_level = last ? 1 : 0;
        v.learn_record = record;
        d.runTicks(2000);
        v.set_ui(nullptr);
        EXPECT_EQ(d.state(), RUN_OVER);
        EXPECT_EQ(ui.shown.size(), last ? 0u : 1u);
        EXPECT_TRUE(d.prompts().empty()) << d.prompts().front();
        EXPECT_EQ(std::filesystem::exists(record->learn_path), !last) << "only a level's result is written";
        std::filesystem::remove(record->learn_path);
    }
}

TEST_F(TickFixture, TimerEndsTheSessionOnce)
{
    DriverOptions o = options();
    o.config.timer_enabled = true;
    o.script = [](plat::ScriptedHost& h) { h.Answer(plat::IDOK, "Timer is zero!", "Simulation over"); };
    ASSERT_TRUE(driver.start(scenario(), o));
    CVornView& v = driver.view();
    v.timer.remaining = 3;
    driver.wall += 5;  // a gap that jumps past zero
    v.IdleStep();
    EXPECT_EQ(v.timer.remaining, 0);
    EXPECT_EQ(v.run_state, RUN_OVER);
    driver.wall += 5;
    v.IdleStep();
    v.IdleStep();
    EXPECT_EQ(driver.prompts().size(), 1u);
    EXPECT_EQ(driver.host().beeps().size(), 1u);

    // Ten more minutes from zero: the timer counts on.
    v.AddTimerTenMinutes();
    EXPECT_EQ(v.timer.remaining, 600);
    driver.wall += 10;
    v.IdleStep();
    EXPECT_EQ(v.timer.remaining, 590);
}

TEST_F(TickFixture, TimerZeroInTheScenarioEndsAtTheFirstTick)
{
    ASSERT_TRUE(driver.start(scenario(ScenarioBuilder().set("TIMER", "^0^@\n$\n")), options()));
    EXPECT_EQ(driver.state(), RUN_OVER);
    EXPECT_EQ(driver.tickCount(), -1);
    EXPECT_EQ(set.trace.count("Mkt", "daily_step"), 0);
    EXPECT_STREQ(status_look(driver.state()).text, "Over");
}

TEST(TimerPane, RoundForSave)
{
    struct Case {
        int16_t value, initial, rounded;
    };
    const Case cases[] = {{1234, 3600, 1800}, {1800, 3600, 2400}, {0, 3600, 600}, {3500, 3600, 3600}, {0, 300, 300}};
    for (const Case& c : cases)
        EXPECT_EQ(CTimerPane::RoundForSave(c.value, c.initial), c.rounded) << c.value << " of " << c.initial;
}

TEST(ReputationPane, PercentAndAverage)
{
    struct Case {
        float lateness, percent;
    };
    const Case cases[] = {{0.0f, 100.0f}, {0.5f, 50.0f}, {2.0f, 12.5f}, {5.0f, 0.0f}, {0.25f, 75.0f}, {1.0f, 37.5f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(CReputationPane::ReputationPercent(c.lateness), c.percent) << c.lateness;
    CReputationPane r;
    r.periods = {0, 0, 0, 0, 0, 21};
    EXPECT_FLOAT_EQ(r.SixPeriodAverage(), 6.0f);
    r.AddPeriodValue(7.0f);
    EXPECT_FLOAT_EQ(r.periods[4], 21.0f);
    EXPECT_FLOAT_EQ(r.displayed, (5 * 21.0f + 6 * 7.0f) / 21.0f);
}

TEST(PaneTexts, ValuesAsThePanesShowThem)
{
    EXPECT_EQ(timer_text(3725), "01:02:05");
    EXPECT_EQ(timer_text(0), "00:00:00");
    EXPECT_EQ(timer_text(36000), "10:00:00");
    EXPECT_EQ(cash_text(-1234567), "-$1,234,567");
    EXPECT_EQ(cash_text(0), "$0       ");
    EXPECT_EQ(cash_text(999), "$999     ");
    EXPECT_EQ(reputation_text(0.5f), "50      ");
    EXPECT_EQ(profit_text(1234567, "31/12/95"), "$1,234,567 (31/12/95)");
    EXPECT_EQ(status_look(RUN_HOLD).colour, 0x0000FFu);
    EXPECT_STREQ(status_look(RUN_STOPPED).text, "Pause");
}
