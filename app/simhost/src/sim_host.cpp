// The shop floor's view of the session.
#include "app/sim_host.h"

uint32_t ViewSimHost::tick() const
{
    // Before the first tick the count is -1; the shop floor counts from 0.
    return view_.tick_count < 0 ? 0u : static_cast<uint32_t>(view_.tick_count);
}

int ViewSimHost::shift_mode() const { return view_.clock.shift_mode; }

SimStamp ViewSimHost::now() const
{
    const SimDateTime& c = view_.clock.current;
    return SimStamp{c.year, c.month, c.day, c.hour, c.minute};
}

bool ViewSimHost::is_day_start() const { return view_.clock.IsDayStart() != 0; }
bool ViewSimHost::is_new_week() const { return view_.clock.IsNewWeek() != 0; }
bool ViewSimHost::is_new_month() const { return view_.clock.IsNewMonth() != 0; }
bool ViewSimHost::is_new_year() const { return view_.clock.IsNewYear() != 0; }
void ViewSimHost::set_run_state(int state) { view_.SetRunState(static_cast<int16_t>(state)); }
void ViewSimHost::set_shift_mode(int mode) { view_.clock.SetShiftMode(static_cast<int16_t>(mode)); }

bool ViewSimHost::version_at_least(std::string_view id) const
{
    return view_.CheckVersionId(id) != 0;
}

void ViewSimHost::log_decision(std::string_view key, std::string_view value)
{
    view_.log_decision("Prd", std::string(key).c_str(), std::string(), std::string(), std::string(value), 0, 0);
}

int ViewSimHost::rng() { return view_.rand(); }

namespace {

SimDateTime to_date(const SimStamp& s) { return SimDateTime{s.year, s.month, s.day, s.hour, s.minute}; }
SimStamp to_stamp(const SimDateTime& d) { return SimStamp{d.year, d.month, d.day, d.hour, d.minute}; }

} // namespace

SimStamp ViewSimHost::add_work_days(const SimStamp& date, int n) const
{
    return to_stamp(view_.clock.AddWorkDays(to_date(date), n));
}

int ViewSimHost::weekday(const SimStamp& date) const { return weekday_of(to_date(date)); }
SimStamp ViewSimHost::work_day_start() const { return to_stamp(view_.clock.WorkDayStart()); }
int32_t ViewSimHost::minutes_since_1990(const SimStamp& date) const { return date_to_minutes(to_date(date)); }
int ViewSimHost::work_days_per_month() const { return view_.clock.shift_mode == SHIFT_THREE ? 30 : 22; }
int ViewSimHost::scenario_shift_mode() const { return view_.clock.scenario_shift_mode; }
