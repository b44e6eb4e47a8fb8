// What the accounting engine needs of the session and of the screen: two
// small seams that the department fills from the view and tests fake.
#pragma once
#include <cstdint>
#include <string_view>

class CClockPane;

class FinanceHost {
public:
    virtual ~FinanceHost() = default;
    // Simulated minutes since the session start.
    virtual int32_t tick() const = 0;
    virtual CClockPane& clock() = 0;
    virtual int16_t run_state() const = 0;
    virtual void set_run_state(int16_t state) = 0;
    // The scenario's per-day report refresh (DEBUG item 3).
    virtual bool daily_refresh() const = 0;
    // Working days of a month by the shift mode.
    virtual int32_t work_days_per_month() const = 0;
    virtual bool version_at_least(std::string_view id) const = 0;
    // The Reputation pane's due-date performance, percent.
    virtual int reputation_percent() const = 0;
    virtual void log_part_sum() = 0;
};

// The Finance window and the panes as the engine tells them what changed.
class FinanceUi {
public:
    virtual ~FinanceUi() = default;
    virtual void update_cash() = 0;
    virtual void repaint_statement() = 0;
    virtual void repaint_profit_pane() = 0;
    virtual void beep(int frequency, int ms) = 0;
    virtual void box(std::string_view text, std::string_view caption) = 0;
    // Whether Finance is the department shown; switching the view to it.
    virtual bool shown() const = 0;
    virtual void show_finance() = 0;
    // The summary graphs' seven daily values (ids 101-107 in order) and the
    // profit graph's month.
    virtual void daily_points(const double values[7]) = 0;
    virtual void month_points(int32_t profit, int ddp) = 0;
};
