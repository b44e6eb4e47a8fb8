// The shop floor's view of the session: the running session's tick, clock,
// run state, version ids, decision log and random generator.
#pragma once
#include "app/view.h"
#include "shopfloor/host.h"

class ViewSimHost : public SimHost {
public:
    explicit ViewSimHost(CVornView& view) : view_(view) {}
    uint32_t tick() const override;
    int shift_mode() const override;
    SimStamp now() const override;
    bool is_day_start() const override;
    bool is_new_week() const override;
    bool is_new_month() const override;
    bool is_new_year() const override;
    void set_run_state(int state) override;
    void set_shift_mode(int mode) override;
    bool version_at_least(std::string_view id) const override;
    void log_decision(std::string_view key, std::string_view value) override;
    int rng() override;
    SimStamp add_work_days(const SimStamp& date, int n) const override;
    int weekday(const SimStamp& date) const override;
    SimStamp work_day_start() const override;
    int32_t minutes_since_1990(const SimStamp& date) const override;
    int work_days_per_month() const override;
    int scenario_shift_mode() const override;

private:
    CVornView& view_;
};
