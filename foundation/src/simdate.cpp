// The simulated calendar. Day arithmetic goes through a day count on the
// Gregorian calendar, so every result is a real date.
#include "foundation/simdate.h"
#include "host_p.h"
#include <cstdio>
#include <cstring>

namespace {

const char* const kDayNames[8] = {"", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kDayShort[8] = {"", "Sun.", "Mon.", "Tue.", "Wen.", "Thu.", "Fri.", "Sat."};
const char* const kMonthNames[13] = {"",     "January", "February",  "March",   "April",    "May",     "June",
                                     "July", "August",  "September", "October", "November", "December"};
const char* const kMonthShort[13] = {"", "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const int16_t kMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

SimDateTime (*g_today)() = nullptr;
SimDateTime (*g_add_work_days)(const SimDateTime&, int) = nullptr;

// Days since 1 January 1970 of a civil date (year in full).
int64_t days_from_civil(int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int64_t& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

int64_t day_number(const SimDateTime& date)
{
    return days_from_civil(1900 + static_cast<int64_t>(date.year), date.month, date.day);
}

int minute_of_day(const SimDateTime& date) { return date.hour * 60 + date.minute; }

std::string two_digits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, v < 10 ? "0%d" : "%d", v);
    return buf;
}

// A field of digits only, at most max_digits of them; -1 otherwise.
int read_field(const char* text, size_t n, size_t max_digits)
{
    if (n == 0 || n > max_digits)
        return -1;
    int v = 0;
    for (size_t i = 0; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

bool valid_calendar_date(const SimDateTime& date)
{
    return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= month_length(date.month, date.year);
}

} // namespace

const char* day_name(int weekday) { return weekday >= 1 && weekday <= 7 ? kDayNames[weekday] : ""; }
const char* day_short_name(int weekday) { return weekday >= 1 && weekday <= 7 ? kDayShort[weekday] : ""; }

const char* month_name(int month, int full)
{
    if (month < 1 || month > 12)
        return "";
    return full != 0 ? kMonthNames[month] : kMonthShort[month];
}

int16_t days_in_month(int month) { return month >= 1 && month <= 12 ? kMonthDays[month] : 0; }

plat::BOOL is_leap_year(int year_from_1900)
{
    const int y = year_from_1900 + 1900;
    return (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? plat::TRUE : plat::FALSE;
}

int16_t month_length(int month, int year_from_1900)
{
    if (month == 2 && is_leap_year(year_from_1900))
        return 29;
    return days_in_month(month);
}

std::string date_text(const SimDateTime& date, int order)
{
    const int year = date.year >= 100 ? date.year - 100 : date.year;
    if (order == 0)
        return two_digits(date.day) + "/" + two_digits(date.month) + "/" + two_digits(year);
    if (order == 1)
        return two_digits(date.month) + "/" + two_digits(date.day) + "/" + two_digits(year);
    return {};
}

std::string time_text(const SimDateTime& date)
{
    return two_digits(date.hour) + ":" + two_digits(date.minute);
}

SimDateTime parse_ddmmyy(const char* text)
{
    SimDateTime d{};
    char buf[7] = {};
    if (text != nullptr)
        std::strncpy(buf, text, 6);
    auto pair = [&](int i) {
        const int hi = buf[i] >= '0' && buf[i] <= '9' ? buf[i] - '0' : 0;
        const int lo = buf[i + 1] >= '0' && buf[i + 1] <= '9' ? buf[i + 1] - '0' : 0;
        return static_cast<int16_t>(hi * 10 + lo);
    };
    d.day = pair(0);
    d.month = pair(2);
    d.year = pair(4);
    if (d.year < 90)
        d.year = static_cast<int16_t>(d.year + 100);
    d.hour = 8;
    d.minute = 0;
    return d;
}

plat::BOOL is_date_separator(char c) { return c == ' ' || c == '/' || c == '-' ? plat::TRUE : plat::FALSE; }

int parse_date_text(const char* text, int order, SimDateTime& out)
{
    if (text == nullptr)
        return 0;
    const size_t len = std::strlen(text);
    if (len < 6)
        return 0;
    size_t first = 0;
    while (first < len && !is_date_separator(text[first]))
        ++first;
    if (first > 2 || first >= len)
        return 0;
    size_t second = first + 1;
    while (second < len && !is_date_separator(text[second]))
        ++second;
    if (second > 5 || second >= len)
        return 0;
    const int f1 = read_field(text, first, 2);
    const int f2 = read_field(text + first + 1, second - first - 1, 2);
    const int f3 = read_field(text + second + 1, len - second - 1, 4);
    if (f1 < 0 || f2 < 0 || f3 < 0)
        return 0;
    int year = f3;
    if (year >= 100) {
        if (year < 1990)
            return 0;
        year -= 1900;
    } else if (year < 90) {
        year += 100;
    }
    SimDateTime d{};
    d.year = static_cast<int16_t>(year);
    d.month = static_cast<int16_t>(order == 0 ? f2 : f1);
    d.day = static_cast<int16_t>(order == 0 ? f1 : f2);
    d.hour = 8;
    d.minute = 0;
    if (!valid_calendar_date(d))
        return 0;
    out = d;
    return 1;
}

int32_t date_to_minutes(const SimDateTime& date)
{
    if (date.year < 90 || date.month < 1 || date.day < 1 || date.month > 12)
        return -1;
    const int64_t days = day_number(date) - days_from_civil(1990, 1, 1);
    const int64_t minutes = days * 1440 + minute_of_day(date);
    return minutes > INT32_MAX ? INT32_MAX : static_cast<int32_t>(minutes);
}

SimDateTime today()
{
    if (g_today != nullptr)
        return g_today();
    std::tm tm{};
    fhost::local_now(tm);
    SimDateTime d{};
    d.year = static_cast<int16_t>(tm.tm_year);
    d.month = static_cast<int16_t>(tm.tm_mon + 1);
    d.day = static_cast<int16_t>(tm.tm_mday);
    d.hour = static_cast<int16_t>(tm.tm_hour);
    d.minute = static_cast<int16_t>(tm.tm_min);
    return d;
}

void set_today_source(SimDateTime (*source)()) { g_today = source; }

int weekday_of(const SimDateTime& date)
{
    const int64_t days = day_number(date) - days_from_civil(1990, 1, 1);
    return static_cast<int>(((days + 1) % 7 + 7) % 7) + 1;
}

SimDateTime add_days(const SimDateTime& date, int16_t n)
{
    if (n < 1)
        return date;
    int64_t y = 0;
    int m = 0;
    int d = 0;
    civil_from_days(day_number(date) + n, y, m, d);
    SimDateTime out = date;
    out.year = static_cast<int16_t>(y - 1900);
    out.month = static_cast<int16_t>(m);
    out.day = static_cast<int16_t>(d);
    return out;
}

int compare_dates(const SimDateTime& a, const SimDateTime& b)
{
    const int16_t ka[5] = {a.year, a.month, a.day, a.hour, a.minute};
    const int16_t kb[5] = {b.year, b.month, b.day, b.hour, b.minute};
    for (int i = 0; i < 5; ++i) {
        if (ka[i] < kb[i])
            return 0;
        if (ka[i] > kb[i])
            return 2;
    }
    return 1;
}

int16_t days_between(const SimDateTime& a, const SimDateTime& b)
{
    const int c = compare_dates(a, b);
    if (c == 1)
        return 0;
    const SimDateTime& later = c == 2 ? a : b;
    const SimDateTime& earlier = c == 2 ? b : a;
    // Steps of one day from the earlier date until it is no longer earlier.
    int64_t steps = day_number(later) - day_number(earlier);
    if (minute_of_day(later) > minute_of_day(earlier))
        ++steps;
    if (steps > INT16_MAX)
        steps = INT16_MAX;
    return static_cast<int16_t>(c == 2 ? steps : -steps);
}

void set_add_work_days(SimDateTime (*add_work_days)(const SimDateTime&, int)) { g_add_work_days = add_work_days; }

int16_t count_work_days(const SimDateTime& end, const SimDateTime& start)
{
    SimDateTime current = start;
    int16_t counter = 0;
    while (counter < INT16_MAX) {
        const int c = compare_dates(end, current);
        if (c == 1)
            return counter;
        current = g_add_work_days != nullptr ? g_add_work_days(current, 1) : add_days(current, 1);
        ++counter;
        if (c != 2)
            return counter;
    }
    return counter;
}
