// The shop floor's host answers from the running session.
#if __has_include("app/sim_host.h")
#include "app/sim_host.h"
#include "support/driver.h"
#include "support/scenario.h"
#include <gtest/gtest.h>

TEST(ViewSimHost, AnswersFromTheSession)
{
    TempDir dir;
    SessionDriver driver;
    DriverOptions o;
    o.config.timer_enabled = false;
    o.seed = 1;
    ASSERT_TRUE(driver.start(ScenarioBuilder().write(dir.path() / "s.vnb"), o));
    ViewSimHost host(driver.view());
    EXPECT_EQ(host.tick(), 0u);
    EXPECT_TRUE(host.is_day_start());
    EXPECT_TRUE(host.is_new_week()) << "Monday 2 January 1995, 08:00";
    EXPECT_FALSE(host.is_new_year());
    SimStamp now = host.now();
    EXPECT_EQ(now.year, 95);
    EXPECT_EQ(now.day, 2);
    EXPECT_EQ(host.rng(), 41);
    EXPECT_EQ(driver.view().rand(), 18467) << "one generator for the session and the shop floor";
    EXPECT_TRUE(host.version_at_least("BG_1038"));
    EXPECT_FALSE(host.version_at_least("BG_1039"));
    host.set_shift_mode(SHIFT_TWO);
    EXPECT_EQ(host.shift_mode(), SHIFT_TWO);
    EXPECT_EQ(host.scenario_shift_mode(), SHIFT_ONE) << "an extra shift leaves the scenario's mode";
    EXPECT_EQ(host.weekday(now), 2);
    EXPECT_EQ(host.add_work_days(SimStamp{95, 1, 6, 8, 0}, 1).day, 9) << "Friday to Monday";
    EXPECT_EQ(host.minutes_since_1990(SimStamp{90, 1, 2, 0, 0}), 1440);
    EXPECT_EQ(host.work_days_per_month(), 22);
    EXPECT_EQ(host.work_day_start().hour, 8);
    EXPECT_EQ(driver.clock().work_hours[3], 16);
    host.set_run_state(RUN_OVER);
    EXPECT_EQ(driver.state(), RUN_OVER);
    driver.runTicks(59);
    EXPECT_EQ(host.tick(), 59u);
}
#endif
