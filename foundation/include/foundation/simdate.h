// The simulated calendar: dates, names, texts, parsing and day arithmetic.
#pragma once
#include "plat/types.h"
#include <cstdint>
#include <string>

// Ten bytes on file: five int16 fields in this order.
struct SimDateTime {
    int16_t year;    // from 1900: 90 is 1990, 100 is 2000
    int16_t month;   // 1-12
    int16_t day;     // 1-31
    int16_t hour;    // 0-23
    int16_t minute;  // 0-59
};

const char* day_name(int weekday);
const char* day_short_name(int weekday);
const char* month_name(int month, int full);
// From the table: February 28.
int16_t days_in_month(int month);
// Gregorian rule; the same as "divisible by 4" for 1901-2099.
plat::BOOL is_leap_year(int year_from_1900);
// Days of the month in that year (February 29 in leap years).
int16_t month_length(int month, int year_from_1900);

// order 0 day/month/year, 1 month/day/year; any other order gives "".
std::string date_text(const SimDateTime& date, int order);
std::string time_text(const SimDateTime& date);
SimDateTime parse_ddmmyy(const char* text);
// 1 and the date at 08:00 when valid, else 0 (out unchanged).
int parse_date_text(const char* text, int order, SimDateTime& out);
plat::BOOL is_date_separator(char c);
// Minutes since 1 January 1990 00:00; -1 before 1990 or month/day below 1.
int32_t date_to_minutes(const SimDateTime& date);
// The computer's local date and time; replaceable for tests.
SimDateTime today();
void set_today_source(SimDateTime (*source)());
int weekday_of(const SimDateTime& date);
SimDateTime add_days(const SimDateTime& date, int16_t n);
// 0 a earlier, 1 equal, 2 a later.
int compare_dates(const SimDateTime& a, const SimDateTime& b);
// One-day steps from b to a (negative when a is earlier); an hour's
// difference counts as one step.
int16_t days_between(const SimDateTime& a, const SimDateTime& b);
// Working-day steps, through the clock's AddWorkDays (set by the clock).
int16_t count_work_days(const SimDateTime& end, const SimDateTime& start);
void set_add_work_days(SimDateTime (*add_work_days)(const SimDateTime&, int));
