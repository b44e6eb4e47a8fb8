// The simulated clock: minutes, working days, the calendar questions.
#include "app/clock.h"
#include "foundation/datafile.h"
#include "support/scenario.h"
#include <gtest/gtest.h>

namespace {

SimDateTime at(int y, int m, int d, int h = 8, int min = 0)
{
    return {static_cast<int16_t>(y - 1900), static_cast<int16_t>(m), static_cast<int16_t>(d),
            static_cast<int16_t>(h), static_cast<int16_t>(min)};
}

std::string show(const SimDateTime& d)
{
    char b[40];
    std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d", d.year + 1900, d.month, d.day, d.hour, d.minute);
    return b;
}

CClockPane clock_in(int16_t mode, const SimDateTime& now, int16_t hours_into_day)
{
    CClockPane c;
    c.SetShiftMode(mode);
    c.current = now;
    c.stored_month = now.month;
    c.stored_year = now.year;
    c.hours_into_day = hours_into_day;
    return c;
}

} // namespace

TEST(Clock, AdvanceCrossesTheEndOfTheWorkingDay)
{
    struct Case {
        int16_t mode;
        SimDateTime from;
        int16_t hours_in;
        SimDateTime to;
        const char* why;
    };
    const Case cases[] = {
        {SHIFT_ONE, at(1995, 1, 6, 15, 59), 7, at(1995, 1, 9, 8, 0), "one shift: Friday 15:59 -> Monday 08:00"},
        {SHIFT_ONE, at(1995, 1, 4, 15, 59), 7, at(1995, 1, 5, 8, 0), "one shift: Wednesday -> Thursday"},
        {SHIFT_THREE, at(1995, 1, 6, 23, 59), 15, at(1995, 1, 6, 0, 0), "three shifts: midnight keeps the date"},
        {SHIFT_THREE, at(1995, 1, 6, 7, 59), 23, at(1995, 1, 7, 8, 0), "three shifts: 08:00 is the next date, Saturday too"},
        {SHIFT_TWO, at(1995, 1, 6, 23, 59), 15, at(1995, 1, 9, 8, 0), "two shifts: Friday 23:59 -> Monday 08:00"},
        {SHIFT_TWO, at(1995, 1, 6, 12, 59), 4, at(1995, 1, 6, 13, 0), "two shifts: a full hour within the day"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CClockPane clock = clock_in(c.mode, c.from, c.hours_in);
        clock.Advance(60 * 100);  // a tick count on a full hour
        EXPECT_EQ(show(clock.current), show(c.to));
    }
}

TEST(Clock, MondayMorningIsANewWeekAndADayStart)
{
    CClockPane clock = clock_in(SHIFT_ONE, at(1995, 1, 6, 15, 59), 7);
    clock.Advance(120);
    EXPECT_TRUE(clock.IsNewWeek());
    EXPECT_TRUE(clock.IsDayStart());
    clock.Advance(121);
    EXPECT_EQ(clock.current.minute, 1);
    EXPECT_FALSE(clock.IsDayStart());
    EXPECT_FALSE(clock.IsNewWeek());
}

TEST(Clock, TheFirstTickAndAnyDisplayFrequency)
{
    CClockPane clock = clock_in(SHIFT_ONE, at(1995, 1, 2, 8, 0), 0);
    clock.Advance(0);
    EXPECT_EQ(show(clock.current), "1995-01-02 08:00") << "the first tick leaves the start moment";

    // An unknown frequency only picks no redraw; the clock still moves.
    clock.SetDisplayFrequency(7);
    clock.Advance(1);
    EXPECT_EQ(show(clock.current), "1995-01-02 08:01");
    clock.Advance(60);
    EXPECT_EQ(show(clock.current), "1995-01-02 09:00");
}

TEST(Clock, NewYearAnswersEveryAskerOfThatMinute)
{
    CClockPane clock = clock_in(SHIFT_ONE, at(1995, 1, 2, 8, 0), 0);
    clock.stored_year = 94;
    clock.stored_month = 12;
    EXPECT_TRUE(clock.IsNewYear());
    EXPECT_TRUE(clock.IsNewYear());
    EXPECT_TRUE(clock.IsNewYear());
    EXPECT_EQ(clock.years_elapsed, 1);
    EXPECT_TRUE(clock.IsNewMonth());
    EXPECT_TRUE(clock.IsNewMonth());
    clock.current.minute = 1;
    EXPECT_FALSE(clock.IsNewYear());
    EXPECT_FALSE(clock.IsNewMonth());
    EXPECT_EQ(clock.years_elapsed, 1);
}

TEST(Clock, NewYearWaitsForEightOClock)
{
    CClockPane clock = clock_in(SHIFT_THREE, at(1995, 1, 1, 0, 0), 16);
    clock.stored_year = 94;
    EXPECT_FALSE(clock.IsNewYear()) << "midnight of a three-shift day is not the new year";
    clock.current.hour = 8;
    EXPECT_TRUE(clock.IsNewYear());
}

TEST(Clock, MonthClosesOnceOnItsLastFridayOrLastDay)
{
    struct Case {
        int16_t mode;
        SimDateTime when;
        bool closing;
        const char* why;
    };
    const Case cases[] = {
        {SHIFT_ONE, at(1995, 12, 29, 15, 0), true, "Friday 29 of a month ending on Sunday"},
        {SHIFT_ONE, at(1995, 12, 29, 14, 0), false, "not at the closing hour"},
        {SHIFT_THREE, at(1995, 4, 28, 15, 0), true, "three shifts: Friday 28 April"},
        {SHIFT_THREE, at(1995, 4, 30, 15, 0), false, "three shifts: Sunday 30 April does not close again"},
        {SHIFT_ONE, at(1995, 3, 31, 15, 0), true, "the last day, a Friday"},
        {SHIFT_ONE, at(1995, 3, 30, 15, 0), false, "Thursday 30 March"},
        {SHIFT_ONE, at(1995, 3, 29, 15, 0), false, "Wednesday 29 March"},
        {SHIFT_TWO, at(1996, 2, 29, 15, 0), true, "leap February ends on Thursday 29"},
        {SHIFT_THREE, at(1995, 9, 29, 15, 0), true, "30 September a Saturday: Friday 29"},
        {SHIFT_THREE, at(1995, 9, 30, 15, 0), false, "Saturday 30 September"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CClockPane clock = clock_in(c.mode, c.when, 7);
        EXPECT_EQ(clock.IsMonthClosing() != 0, c.closing);
    }
}

TEST(Clock, AddWorkDays)
{
    struct Case {
        int16_t mode;
        SimDateTime from;
        int n;
        SimDateTime to;
        const char* why;
    };
    const Case cases[] = {
        {SHIFT_ONE, at(1995, 1, 5), 3, at(1995, 1, 10), "Thursday + 3, one shift: Tuesday"},
        {SHIFT_TWO, at(1995, 1, 5), 3, at(1995, 1, 10), "Thursday + 3, two shifts: Tuesday"},
        {SHIFT_THREE, at(1995, 1, 5), 3, at(1995, 1, 8), "Thursday + 3, three shifts: Sunday"},
        {SHIFT_ONE, at(1995, 1, 6), 1, at(1995, 1, 9), "Friday + 1: Monday"},
        {SHIFT_ONE, at(1995, 1, 7), 1, at(1995, 1, 9), "Saturday + 1: Monday"},
        {SHIFT_ONE, at(1995, 1, 7), 3, at(1995, 1, 11), "Saturday + 3: Wednesday"},
        {SHIFT_ONE, at(1995, 1, 8), 1, at(1995, 1, 9), "Sunday + 1: Monday"},
        {SHIFT_ONE, at(1995, 1, 5), 0, at(1995, 1, 5), "no days: the same date"},
        {SHIFT_ONE, at(1995, 12, 29, 10, 30), 1, at(1996, 1, 1, 10, 30), "over the year end, time kept"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CClockPane clock;
        clock.SetShiftMode(c.mode);
        EXPECT_EQ(show(clock.AddWorkDays(c.from, c.n)), show(c.to));
    }
}

TEST(Clock, ShiftTables)
{
    CClockPane clock;
    const int16_t modes[] = {SHIFT_ONE, SHIFT_THREE, SHIFT_TWO, 5};
    const int32_t per_day[] = {480, 1440, 960, 0};
    const int32_t per_week[] = {2400, 10080, 4800, 0};
    for (int i = 0; i < 4; ++i) {
        clock.SetShiftMode(modes[i]);
        EXPECT_EQ(clock.MinutesPerWorkDay(), per_day[i]) << "mode " << modes[i];
        EXPECT_EQ(clock.MinutesPerWorkWeek(), per_week[i]) << "mode " << modes[i];
    }
    clock.SetShiftMode(SHIFT_ONE);
    EXPECT_FALSE(clock.IsWorkDay(1));
    EXPECT_FALSE(clock.IsWorkDay(7));
    EXPECT_TRUE(clock.IsWorkDay(6));
    EXPECT_EQ(clock.NextWeekday(6), 2);
    clock.SetShiftMode(SHIFT_THREE);
    EXPECT_TRUE(clock.IsWorkDay(1));
    EXPECT_EQ(clock.NextWeekday(7), 1);
}

TEST(Clock, MonthFigures)
{
    CClockPane clock = clock_in(SHIFT_ONE, at(1995, 3, 14, 10, 25), 2);
    // March 1995 starts on a Wednesday: 23 weekdays; February (28 days) 20.
    EXPECT_EQ(clock.WorkDaysInMonth(3), 23);
    EXPECT_EQ(clock.WorkDaysInMonth(2), 20);
    float months[12];
    clock.GetLast12Months(months);
    EXPECT_EQ(months[11], 2.0f);
    EXPECT_EQ(months[10], 1.0f);
    EXPECT_EQ(months[9], 12.0f);
    EXPECT_EQ(months[0], 3.0f);
    EXPECT_EQ(clock.NextMonth(), 4);
    clock.month_of_year = 3;
    EXPECT_EQ(show(clock.LastClosedMonthEnd(clock.current)), "1995-02-28 10:25");
    clock.month_of_year = 1;
    clock.start_date = at(1995, 1, 2);
    EXPECT_EQ(show(clock.LastClosedMonthEnd(clock.current)), "1995-03-02 10:25");
    EXPECT_EQ(show(clock.WorkDayStart()), "1995-03-14 08:00");
}

TEST(Clock, NextWorkMinuteFollowsTheOneShiftDay)
{
    CClockPane clock;
    clock.SetShiftMode(SHIFT_THREE);
    EXPECT_EQ(show(clock.NextWorkMinute(at(1995, 1, 6, 14, 59))), "1995-01-06 15:00");
    EXPECT_EQ(show(clock.NextWorkMinute(at(1995, 1, 6, 15, 59))), "1995-01-07 08:00");
    clock.SetShiftMode(SHIFT_ONE);
    EXPECT_EQ(show(clock.NextWorkMinute(at(1995, 1, 6, 15, 59))), "1995-01-09 08:00");
    EXPECT_EQ(show(clock.NextWorkMinute(at(1995, 1, 6, 15, 30))), "1995-01-06 15:31");
}

TEST(Clock, TimeSectionReadsDateShiftAndOrder)
{
    TempDir dir;
    struct Case {
        const char* record;
        const char* start;
        const char* end;
        int16_t mode;
        int32_t order;
    };
    const Case cases[] = {
        {"^020195^1^1^0^@", "1995-01-02 08:00", "2000-01-02 08:00", SHIFT_ONE, 0},
        {"^070195^1^1^0^@", "1995-01-09 08:00", "2000-01-07 08:00", SHIFT_ONE, 0},  // Saturday start
        {"^070195^2^2^0^@", "1995-01-07 08:00", "2000-01-07 08:00", SHIFT_THREE, 1},
        {"^01/13/95^3^2^4^@", "1995-01-13 08:00", "2000-01-13 08:00", SHIFT_TWO, 1},
        {"^13-1-1995^1^1^0^@", "1995-01-13 08:00", "2000-01-13 08:00", SHIFT_ONE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        std::string path = ScenarioBuilder().set("TIME", std::string(c.record) + "\n$\n").write(dir.path() / "t.vnb");
        DataFile file;
        ASSERT_TRUE(file.Open(path.c_str()));
        CClockPane clock;
        clock.LoadTimeSection(file);
        EXPECT_EQ(show(clock.current), c.start);
        EXPECT_EQ(show(clock.session_end), c.end);
        EXPECT_EQ(clock.shift_mode, c.mode);
        EXPECT_EQ(clock.scenario_shift_mode, c.mode);
        EXPECT_EQ(clock.date_order, c.order);
        EXPECT_EQ(clock.month_of_year, 1);
    }
}
