// What the engine needs of the application core and of the screen: two small seams tests fake.
#pragma once
#include "production/production_order.h"
#include <cstdint>
#include <string_view>

class Painter {
public:
    virtual ~Painter() = default;
    // Colours are 0x00BBGGRR, or 0..15 for a colour number of the drawing
    // layer's palette (the scenario's machine colours); fill < 0 draws no fill.
    virtual void rect(int x, int y, int w, int h, int32_t fill, bool frame) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    virtual void text(int x, int y, std::string_view s, uint32_t colour) = 0;
    virtual int text_width(std::string_view s) = 0;
};

struct ProductionUi {
    virtual ~ProductionUi() = default;
    virtual bool shown() const = 0;           // the Production window is the one shown
    virtual Painter* painter() = 0;           // null: nothing is drawn, last-drawn cache kept
    virtual void redraw_machine(int m) = 0;
    virtual int schedule_end(int m) = 0;      // 0 machine policy, 1 schedule by hand, 2 pause
    virtual void message(std::string_view text, std::string_view caption, int icon) = 0;
    [[noreturn]] virtual void fatal(std::string_view text) = 0;
    virtual float scale_x() const = 0;
    virtual float scale_y() const = 0;
    // A line of text in the Production window at (30, 30), black on grey.
    virtual void notice(std::string_view text) = 0;
    // The view's department link buttons: kind 1 Orders, 2 Materials.
    virtual void show_link_buttons(int show, int kind) = 0;
};

struct SimHost {
    virtual ~SimHost() = default;
    virtual uint32_t tick() const = 0;        // minutes since the session start
    virtual int shift_mode() const = 0;       // 0 one shift, 1 three, 2 two
    virtual SimStamp now() const = 0;
    virtual bool is_day_start() const = 0;
    virtual bool is_new_week() const = 0;
    virtual bool is_new_month() const = 0;
    virtual bool is_new_year() const = 0;
    virtual void set_run_state(int state) = 0;
    virtual void set_shift_mode(int mode) = 0;
    virtual bool version_at_least(std::string_view id) const = 0;
    // Whether the state file being read or written carries the fields a version id brought
    // (read_fields, write_fields).
    auto file_gate() const
    {
        return [this](std::string_view id) { return version_at_least(id); };
    }
    virtual void log_decision(std::string_view key, std::string_view value) = 0;
    virtual int rng() = 0;                    // the session's generator, 0..32767
    // Calendar services of the clock: whole working days forward (n < 1 keeps the date),
    // weekday 1 Sunday .. 7 Saturday, today at 08:00, minutes since 1 January 1990.
    virtual SimStamp add_work_days(const SimStamp& date, int n) const = 0;
    virtual int weekday(const SimStamp& date) const = 0;
    virtual SimStamp work_day_start() const = 0;
    virtual int32_t minutes_since_1990(const SimStamp& date) const = 0;
    // Working days of a planning month: 22, or 30 with three shifts.
    virtual int work_days_per_month() const = 0;
    // The shift mode the scenario set, whatever an extra shift made of it since.
    virtual int scenario_shift_mode() const = 0;
};
