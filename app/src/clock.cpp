// The simulated clock.
#include "app/clock.h"
#include "foundation/binfile.h"
#include "foundation/datafile.h"
#include <cctype>
#include <cstring>

static constexpr int FRIDAY = 6;
static constexpr int SATURDAY = 7;
static constexpr int MONDAY = 2;

static bool same_moment(const SimDateTime& a, const SimDateTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
}

CClockPane::CClockPane()
{
    work_hours.fill(8);
    work_hours[0] = 0;
}

void CClockPane::redraw(int part, bool forced)
{
    if (display_ != nullptr)
        display_->show_part(part, forced);
}

void CClockPane::SetShiftMode(int16_t mode)
{
    shift_mode = mode;
    int16_t hours = 0;
    switch (mode) {
    case SHIFT_ONE: hours = 8; break;
    case SHIFT_THREE: hours = 24; break;
    case SHIFT_TWO: hours = 16; break;
    default: return;
    }
    for (int w = 1; w <= 7; ++w)
        work_hours[w] = hours;
}

static void time_item_error(int16_t item)
{
    DataFilePosition& pos = data_file_position();
    pos.topic = 1;
    pos.record = 1;
    pos.item = item;
    data_load_error(LOAD_ITEM);
}

static bool valid_date(const SimDateTime& d)
{
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= month_length(d.month, d.year) &&
           d.year >= 90;
}

void CClockPane::LoadTimeSection(DataFile& file)
{
    std::string text, rec;
    find_section(file, "TIME", text, 1);
    get_record(1, 1, text, rec);

    // The date order decides how a date with separators reads, so item 3
    // is taken before item 1.
    int32_t order = get_item_int(3, rec);
    if (order == 1)
        date_order = 0;
    else if (order == 2)
        date_order = 1;

    std::string date;
    get_item(1, rec, date);
    SimDateTime start{};
    bool six_digits = date.size() == 6;
    for (char c : date)
        six_digits = six_digits && std::isdigit(static_cast<unsigned char>(c));
    if (six_digits) {
        start = parse_ddmmyy(date.c_str());
        if (!valid_date(start))
            time_item_error(1);
    } else if (!parse_date_text(date.c_str(), date_order, start)) {
        time_item_error(1);
    }

    int32_t shift = get_item_int(2, rec);
    if (shift == 1)
        SetShiftMode(SHIFT_ONE);
    else if (shift == 2)
        SetShiftMode(SHIFT_THREE);
    else if (shift == 3)
        SetShiftMode(SHIFT_TWO);
    scenario_shift_mode = shift_mode;
    // Read again so a malformed item reports its own number.
    get_item_int(3, rec);
    time_setting4 = static_cast<int16_t>(get_item_int(4, rec));

    start.hour = 8;
    start.minute = 0;
    session_end = start;
    session_end.year = static_cast<int16_t>(session_end.year + 5);
    SkipToWorkDay(start);
    start_date = start;
    current = start;

    stored_month = current.month;
    stored_year = current.year;
    years_elapsed = 0;
    work_days_this_year = 0;
    work_days_this_month = 0;
    work_days_last_month = 0;
    months_elapsed = 0;
    hours_into_day = 0;
    month_of_year = 1;
    display_frequency = 1;
}

void CClockPane::Advance(int32_t tick_count)
{
    // The frequency picks only the redraw; any value lets the clock move.
    bool minute_form = display_frequency == 2;
    if (tick_count == 0)
        return;
    current.minute = static_cast<int16_t>(tick_count % 60);
    if (current.minute != 0) {
        if (minute_form)
            redraw(1, false);
        return;
    }
    ++hours_into_day;
    int w = weekday_of(current);
    if (hours_into_day == work_hours[w]) {
        hours_into_day = 0;
        current.hour = 8;
    } else if (current.hour == 23) {
        current.hour = 0;
    } else {
        ++current.hour;
    }
    redraw(1, false);
    if (IsDayStart()) {
        int16_t days = ((shift_mode == SHIFT_ONE || shift_mode == SHIFT_TWO) && w == FRIDAY) ? 3 : 1;
        current = add_days(current, days);
        redraw(0, false);
        redraw(2, false);
    }
}

void CClockPane::ResetYearCounters()
{
    work_days_this_year = 0;
    month_of_year = 0;
}

void CClockPane::CloseMonthCounters()
{
    work_days_last_month = work_days_this_month;
    work_days_this_month = 0;
    ++month_of_year;
}

void CClockPane::CountWorkDay()
{
    ++work_days_this_year;
    ++work_days_this_month;
}

BOOL16 CClockPane::IsNewYear()
{
    if (current.year != stored_year && current.hour == 8) {
        stored_year = current.year;
        new_year_moment = current;
        ++years_elapsed;
        return 1;
    }
    return same_moment(current, new_year_moment) ? 1 : 0;
}

BOOL16 CClockPane::IsNewMonth()
{
    if (current.month != stored_month && current.hour == 8) {
        stored_month = current.month;
        new_month_moment = current;
        return 1;
    }
    return same_moment(current, new_month_moment) ? 1 : 0;
}

BOOL16 CClockPane::IsNewWeek() const
{
    return weekday_of(current) == MONDAY && current.hour == 8 && current.minute == 0;
}

BOOL16 CClockPane::IsDayStart() const { return current.hour == 8 && current.minute == 0; }
BOOL16 CClockPane::IsClosingHour() const { return current.hour == 15 && current.minute == 0; }

int16_t month_closing_day(int16_t year, int16_t month)
{
    int16_t last = month_length(month, year);
    SimDateTime d{year, month, static_cast<int16_t>(last - 2), 8, 0};
    for (; d.day < last; ++d.day)
        if (weekday_of(d) == FRIDAY)
            return d.day;
    return last;
}

BOOL16 CClockPane::IsMonthClosing() const
{
    if (!IsClosingHour())
        return 0;
    return current.day == month_closing_day(current.year, current.month);
}

BOOL16 CClockPane::IsWorkDay(int weekday) const
{
    switch (shift_mode) {
    case SHIFT_ONE:
    case SHIFT_TWO: return weekday >= 2 && weekday <= 6;
    default: return 1;
    }
}

SimDateTime CClockPane::AddWorkDays(const SimDateTime& date, int n) const
{
    if (shift_mode == SHIFT_THREE)
        return n < 1 ? date : add_days(date, static_cast<int16_t>(n));
    int w = weekday_of(date);
    int days = 0;
    for (int i = 0; i < n; ++i) {
        // A weekend start steps to Monday first.
        if (w == FRIDAY) {
            days += 3;
            w = MONDAY;
        } else if (w == SATURDAY) {
            days += 2;
            w = MONDAY;
        } else {
            days += 1;
            ++w;
        }
    }
    return days < 1 ? date : add_days(date, static_cast<int16_t>(days));
}

void CClockPane::SkipToWorkDay(SimDateTime& date) const
{
    while (!IsWorkDay(weekday_of(date)))
        date = AddWorkDays(date, 1);
}

SimDateTime CClockPane::NextWorkMinute(const SimDateTime& date) const
{
    SimDateTime next = date;
    if (next.minute < 59) {
        ++next.minute;
        return next;
    }
    if (next.hour >= 15) {
        next = AddWorkDays(date, 1);
        next.hour = 8;
        next.minute = 0;
        return next;
    }
    next.minute = 0;
    ++next.hour;
    return next;
}

int CClockPane::NextWeekday(int weekday) const
{
    switch (shift_mode) {
    case SHIFT_ONE:
    case SHIFT_TWO: return weekday == 6 ? 2 : weekday + 1;
    case SHIFT_THREE: return weekday == 7 ? 1 : weekday + 1;
    default: return 0;
    }
}

int32_t CClockPane::MinutesPerWorkDay() const
{
    switch (shift_mode) {
    case SHIFT_ONE: return 480;
    case SHIFT_THREE: return 1440;
    case SHIFT_TWO: return 960;
    default: return 0;
    }
}

int32_t CClockPane::MinutesPerWorkWeek() const
{
    switch (shift_mode) {
    case SHIFT_ONE: return 2400;
    case SHIFT_THREE: return 10080;
    case SHIFT_TWO: return 4800;
    default: return 0;
    }
}

int32_t CClockPane::work_hours_per_day() const
{
    switch (shift_mode) {
    case SHIFT_ONE: return 8;
    case SHIFT_THREE: return 24;
    case SHIFT_TWO: return 16;
    default: return 0;
    }
}

int16_t CClockPane::WorkDaysInMonth(int month) const
{
    int16_t count = 0;
    SimDateTime d{stored_year, static_cast<int16_t>(month), 1, 8, 0};
    for (int day = 1; day <= days_in_month(month); ++day) {
        d.day = static_cast<int16_t>(day);
        if (IsWorkDay(weekday_of(d)))
            ++count;
    }
    return count;
}

int16_t CClockPane::NextMonth() const
{
    return current.month == 12 ? 1 : static_cast<int16_t>(current.month + 1);
}

void CClockPane::GetLast12Months(float out[12]) const
{
    int last = stored_month - 1;
    if (last == 0)
        last = 12;
    for (int i = 11; i >= 0; --i) {
        out[i] = static_cast<float>(last);
        last = last == 1 ? 12 : last - 1;
    }
}

SimDateTime CClockPane::YearEnd(const SimDateTime& date) const
{
    SimDateTime end = date;
    end.month = 12;
    end.day = 31;
    return end;
}

SimDateTime CClockPane::LastClosedMonthEnd(const SimDateTime& date) const
{
    SimDateTime end = date;
    if (month_of_year != 1) {
        if (date.month == 1) {
            end.month = 12;
            end.year = static_cast<int16_t>(date.year - 1);
        } else {
            end.month = static_cast<int16_t>(date.month - 1);
        }
        end.day = days_in_month(end.month);
        return end;
    }
    end.day = (years_elapsed == 0 && start_date.day != 1) ? start_date.day : 1;
    return end;
}

SimDateTime CClockPane::WorkDayStart() const
{
    SimDateTime start = current;
    start.hour = 8;
    start.minute = 0;
    return start;
}

void CClockPane::SaveState(BinFile& file) const
{
    file.WriteI16(current.year);
    file.WriteI16(current.month);
    file.WriteI16(current.day);
    file.WriteI16(current.hour);
    file.WriteI16(current.minute);
    file.WriteI16(hours_into_day);
    file.WriteI16(stored_month);
    file.WriteI16(stored_year);
    file.WriteI16(years_elapsed);
    file.WriteI16(work_days_this_year);
    file.WriteI16(work_days_this_month);
    file.WriteI16(work_days_last_month);
    file.WriteI16(months_elapsed);
    file.WriteI16(month_of_year);
}

void CClockPane::LoadState(BinFile& file)
{
    current.year = file.ReadI16();
    current.month = file.ReadI16();
    current.day = file.ReadI16();
    current.hour = file.ReadI16();
    current.minute = file.ReadI16();
    hours_into_day = file.ReadI16();
    stored_month = file.ReadI16();
    stored_year = file.ReadI16();
    years_elapsed = file.ReadI16();
    work_days_this_year = file.ReadI16();
    work_days_this_month = file.ReadI16();
    work_days_last_month = file.ReadI16();
    months_elapsed = file.ReadI16();
    month_of_year = file.ReadI16();
}
