#include "foundation/simdate.h"
#include <gtest/gtest.h>
#include <string>

namespace {

SimDateTime at(int y, int m, int d, int h = 0, int mi = 0)
{
    return SimDateTime{static_cast<int16_t>(y - 1900), static_cast<int16_t>(m), static_cast<int16_t>(d),
                       static_cast<int16_t>(h), static_cast<int16_t>(mi)};
}

std::string show(const SimDateTime& d)
{
    return std::to_string(d.year + 1900) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day) + " " +
           std::to_string(d.hour) + ":" + std::to_string(d.minute);
}

} // namespace

TEST(Calendar, NamesAndMonthTables)
{
    EXPECT_STREQ(day_name(1), "Sunday");
    EXPECT_STREQ(day_short_name(4), "Wen.");
    EXPECT_STREQ(month_name(9, 1), "September");
    EXPECT_STREQ(month_name(9, 0), "Sep");
    EXPECT_EQ(days_in_month(2), 28);
    EXPECT_EQ(month_length(2, 92), 29);
    EXPECT_EQ(month_length(2, 91), 28);
}

TEST(Calendar, LeapYearsAreGregorian)
{
    EXPECT_TRUE(is_leap_year(92));    // 1992
    EXPECT_TRUE(is_leap_year(100));   // 2000
    EXPECT_FALSE(is_leap_year(0));    // 1900
    EXPECT_FALSE(is_leap_year(200));  // 2100
    EXPECT_FALSE(is_leap_year(99));
}

TEST(Calendar, MinutesSince1990)
{
    EXPECT_EQ(date_to_minutes(at(1990, 1, 1)), 0);
    // 1990 and 1991 (525600 each), January 1992 (44640), a 29-day February (41760).
    EXPECT_EQ(date_to_minutes(at(1992, 3, 1)), 1137600);
    EXPECT_EQ(date_to_minutes(at(1990, 1, 2, 8, 5)), 1440 + 485);
    EXPECT_EQ(date_to_minutes(at(1989, 12, 31)), -1);
    EXPECT_EQ(date_to_minutes(SimDateTime{95, 0, 1, 0, 0}), -1);
    EXPECT_EQ(date_to_minutes(SimDateTime{95, 1, 0, 0, 0}), -1);
}

TEST(Calendar, Weekdays)
{
    EXPECT_EQ(weekday_of(at(1990, 1, 1)), 2);
    EXPECT_EQ(weekday_of(at(2000, 1, 1)), 7);
    EXPECT_EQ(weekday_of(at(1992, 2, 29)), 7);
    EXPECT_EQ(weekday_of(at(1990, 1, 7)), 1);
}

TEST(Calendar, AddDaysGivesRealDates)
{
    struct Case {
        SimDateTime from;
        int16_t n;
        SimDateTime want;
    };
    const Case cases[] = {
        {at(1999, 1, 31, 8, 30), 30, at(1999, 3, 2, 8, 30)},
        {at(1999, 1, 31), 31, at(1999, 3, 3)},
        {at(1991, 3, 1), 366, at(1992, 3, 1)},
        {at(1992, 2, 29), 366, at(1993, 3, 1)},
        {at(1992, 2, 28), 1, at(1992, 2, 29)},
        {at(1999, 12, 31), 1, at(2000, 1, 1)},
        {at(1999, 5, 5), 0, at(1999, 5, 5)},
        {at(1999, 5, 5), -4, at(1999, 5, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(show(c.from) + " + " + std::to_string(c.n));
        EXPECT_EQ(show(add_days(c.from, c.n)), show(c.want));
    }
}

TEST(Calendar, CompareAndDaysBetween)
{
    EXPECT_EQ(compare_dates(at(1995, 1, 1, 8, 1), at(1995, 1, 1, 8, 2)), 0);
    EXPECT_EQ(compare_dates(at(1995, 1, 1, 8, 2), at(1995, 1, 1, 8, 2)), 1);
    EXPECT_EQ(compare_dates(at(1995, 1, 1, 8, 3), at(1995, 1, 1, 8, 2)), 2);
    EXPECT_EQ(days_between(at(1995, 1, 1, 9), at(1995, 1, 1, 8)), 1);
    EXPECT_EQ(days_between(at(1995, 1, 1, 8), at(1995, 1, 1, 9)), -1);
    EXPECT_EQ(days_between(at(1995, 3, 1, 8), at(1995, 2, 27, 8)), 2);
    EXPECT_EQ(days_between(at(1995, 3, 1, 9), at(1995, 2, 27, 8)), 3);
    EXPECT_EQ(days_between(at(1995, 3, 1, 7), at(1995, 2, 27, 8)), 2);
    EXPECT_EQ(days_between(at(1996, 3, 1), at(1996, 3, 1)), 0);
}

TEST(Calendar, TextsOfDatesAndTimes)
{
    EXPECT_EQ(date_text(at(2003, 3, 5), 0), "05/03/03");
    EXPECT_EQ(date_text(at(2003, 3, 5), 1), "03/05/03");
    EXPECT_EQ(date_text(at(1999, 12, 31), 0), "31/12/99");
    EXPECT_EQ(date_text(at(1999, 12, 31), 2), "");
    EXPECT_EQ(time_text(at(1999, 1, 1, 14, 7)), "14:07");
    EXPECT_EQ(time_text(at(1999, 1, 1, 8, 0)), "08:00");
}

TEST(Calendar, ParsingDates)
{
    struct Case {
        const char* text;
        int order;
        int ok;
        SimDateTime want;
    };
    const Case cases[] = {
        {"29/02/1992", 0, 1, at(1992, 2, 29, 8)},
        {"29/02/1993", 0, 0, {}},
        {"1/2/99", 0, 1, at(1999, 2, 1, 8)},
        {"12-31-1995", 1, 1, at(1995, 12, 31, 8)},
        {"31 12 05", 0, 1, at(2005, 12, 31, 8)},
        {"1/2/9", 0, 0, {}},            // shorter than 6
        {"01/13/1995", 0, 0, {}},       // month 13
        {"001/2/1995", 0, 0, {}},       // first separator too late
        {"1/2/1989", 0, 0, {}},         // before 1990
        {"1/2/19999", 0, 0, {}},        // five-digit year
        {"a/2/1995", 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SimDateTime got = at(1990, 1, 1);
        EXPECT_EQ(parse_date_text(c.text, c.order, got), c.ok);
        if (c.ok) {
            EXPECT_EQ(show(got), show(c.want));
        }
    }
    EXPECT_EQ(show(parse_ddmmyy("150389")), show(at(2089, 3, 15, 8)));
    EXPECT_EQ(show(parse_ddmmyy("150395")), show(at(1995, 3, 15, 8)));
}

TEST(Calendar, TodayIsInjectable)
{
    set_today_source([] { return SimDateTime{101, 6, 15, 12, 0}; });
    EXPECT_EQ(today().year, 101);
    set_today_source(nullptr);
    EXPECT_GE(today().year, 125);  // the real clock: 2025 or later
}

TEST(Calendar, CountWorkDaysThroughTheClock)
{
    // A five-day week: Friday's next working day is Monday.
    set_add_work_days([](const SimDateTime& d, int) {
        SimDateTime next = add_days(d, 1);
        while (weekday_of(next) == 1 || weekday_of(next) == 7)
            next = add_days(next, 1);
        return next;
    });
    const SimDateTime friday = at(1999, 1, 1, 8);
    EXPECT_EQ(count_work_days(friday, friday), 0);
    EXPECT_EQ(count_work_days(at(1999, 1, 5, 8), friday), 2);  // Mon, Tue
    EXPECT_EQ(count_work_days(at(1999, 1, 3, 8), friday), 2);  // Sunday end: stepped over
    EXPECT_EQ(count_work_days(friday, at(1999, 1, 5, 8)), 1);  // start past the end
    set_add_work_days(nullptr);
}
