// The simulated clock: the session's date and time, the working-day rules of
// the shift mode, the calendar questions that drive the department hooks and
// the clock's record in the session header file. Drawing goes through a
// ClockDisplay when one is attached (the Clock pane window).
#pragma once
#include "app/app_types.h"
#include "foundation/simdate.h"
#include <array>
#include <cstdint>

class BinFile;
class DataFile;

class ClockDisplay {
public:
    virtual ~ClockDisplay() = default;
    // part: 0 date, 1 time, 2 weekday; forced redraws all digits.
    virtual void show_part(int part, bool forced) = 0;
};

inline constexpr int CLOCK_RECORD_SIZE = 28;

class CClockPane {
public:
    CClockPane();

    void LoadTimeSection(DataFile& file);
    void SetShiftMode(int16_t mode);
    void SetDisplayFrequency(int16_t frequency) { display_frequency = frequency; }
    void SaveState(BinFile& file) const;
    void LoadState(BinFile& file);
    void set_display(ClockDisplay* display) { display_ = display; }

    // tick_count is the view's, already counted for this tick.
    void Advance(int32_t tick_count);
    void ResetYearCounters();
    void CloseMonthCounters();
    void CountWorkDay();

    BOOL16 IsNewYear();
    BOOL16 IsNewMonth();
    BOOL16 IsNewWeek() const;
    BOOL16 IsDayStart() const;
    BOOL16 IsClosingHour() const;
    BOOL16 IsMonthClosing() const;
    BOOL16 IsWorkDay(int weekday) const;

    SimDateTime AddWorkDays(const SimDateTime& date, int n) const;
    void SkipToWorkDay(SimDateTime& date) const;
    SimDateTime NextWorkMinute(const SimDateTime& date) const;
    int NextWeekday(int weekday) const;
    int32_t MinutesPerWorkDay() const;
    int32_t MinutesPerWorkWeek() const;
    int16_t WorkDaysInMonth(int month) const;
    int16_t NextMonth() const;
    void GetLast12Months(float out[12]) const;
    SimDateTime YearEnd(const SimDateTime& date) const;
    SimDateTime LastClosedMonthEnd(const SimDateTime& date) const;
    // Today at 08:00: the start of the current working day.
    SimDateTime WorkDayStart() const;
    int32_t work_hours_per_day() const;

    // The record's fields, in the order of the saved record where saved.
    SimDateTime start_date{};
    SimDateTime session_end{};
    SimDateTime current{};
    int16_t shift_mode = SHIFT_ONE;
    // The scenario's own shift mode, before any extra shift raised it (not saved: the scenario gives it).
    int16_t scenario_shift_mode = SHIFT_ONE;
    int32_t date_order = 0;
    std::array<int16_t, 8> work_hours{};
    int16_t hours_into_day = 0;
    int16_t time_setting4 = 0;
    int16_t stored_month = 0;
    int16_t stored_year = 0;
    int16_t years_elapsed = 0;
    int16_t work_days_this_year = 0;
    int16_t work_days_this_month = 0;
    int16_t work_days_last_month = 0;
    int16_t months_elapsed = 0;
    int16_t month_of_year = 0;
    int16_t display_frequency = 1;
    // The moments at which the last year and month change were seen, so
    // every asker during that minute gets TRUE. Per session, never saved.
    SimDateTime new_year_moment{};
    SimDateTime new_month_moment{};
    // When the session was started (not saved).
    SimDateTime session_start{};

private:
    void redraw(int part, bool forced);
    ClockDisplay* display_ = nullptr;
};

// The month-closing day of a month of length L starting on the given
// weekday rule: the first day d in L-2..L that is L or a Friday.
int16_t month_closing_day(int16_t year, int16_t month);
