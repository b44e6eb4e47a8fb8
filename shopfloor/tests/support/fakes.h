// Scripted host, screen and neighbouring departments for engine tests.
#pragma once
#include "foundation/simdate.h"
#include "shopfloor/plant.h"
#include <algorithm>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

struct FatalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The clock counts working minutes; a day has 480, 1440 or 960 of them by shift mode.
class FakeHost : public SimHost {
public:
    uint32_t tick() const override { return ticks; }
    int shift_mode() const override { return mode; }
    SimStamp now() const override { return stamp; }
    bool is_day_start() const override { return minute_of_day() == 0; }
    bool is_new_week() const override { return is_day_start() && day % 5 == 0; }
    bool is_new_month() const override { return new_month; }
    bool is_new_year() const override { return new_year; }
    void set_run_state(int s) override { run_state = s; ++run_state_calls; }
    void set_shift_mode(int m) override { mode = m; }
    bool version_at_least(std::string_view id) const override { return version >= id; }
    void log_decision(std::string_view k, std::string_view v) override { decisions.push_back(std::string(k) + "=" + std::string(v)); }
    int rng() override
    {
        ++draws;
        if (!script.empty()) {
            const int v = script.front();
            script.pop_front();
            return v;
        }
        if (scripted_only)
            throw std::logic_error("unscripted draw");
        // The C runtime's formula.
        seed = seed * 214013u + 2531011u;
        return static_cast<int>((seed >> 16) & 0x7FFF);
    }
    // The real calendar: Saturdays and Sundays are off unless three shifts run.
    SimStamp add_work_days(const SimStamp& s, int n) const override
    {
        SimDateTime d{s.year, s.month, s.day, s.hour, s.minute};
        for (int i = 0; i < n; ++i)
            do
                d = add_days(d, 1);
            while (mode != 1 && (weekday_of(d) == 1 || weekday_of(d) == 7));
        return SimStamp{d.year, d.month, d.day, d.hour, d.minute};
    }
    int weekday(const SimStamp& s) const override { return weekday_of(SimDateTime{s.year, s.month, s.day, s.hour, s.minute}); }
    SimStamp work_day_start() const override { return SimStamp{stamp.year, stamp.month, stamp.day, 8, 0}; }
    int32_t minutes_since_1990(const SimStamp& s) const override
    {
        return date_to_minutes(SimDateTime{s.year, s.month, s.day, s.hour, s.minute});
    }
    int work_days_per_month() const override { return mode == 1 ? 30 : 22; }
    int scenario_shift_mode() const override { return scenario_mode; }
    int scenario_mode = 0;
    int day_minutes() const { return mode == 1 ? 1440 : mode == 2 ? 960 : 480; }
    int minute_of_day() const { return static_cast<int>(ticks % static_cast<uint32_t>(day_minutes())); }

    uint32_t ticks = 0;
    std::string version = "BG_1037";   // the state file being read
    int mode = 0;
    int day = 0;
    SimStamp stamp{1999, 1, 1, 8, 0};
    bool new_month = false;
    bool new_year = false;
    int run_state = 1;
    int run_state_calls = 0;
    std::vector<std::string> decisions;
    std::deque<int> script;
    bool scripted_only = false;
    uint32_t seed = 1;
    long draws = 0;
};

class FakeUi : public ProductionUi {
public:
    bool shown() const override { return is_shown; }
    Painter* painter() override { return paint; }
    void redraw_machine(int m) override { redraws.push_back(m); }
    int schedule_end(int m) override
    {
        schedule_ends.push_back(m);
        return schedule_answer;
    }
    void message(std::string_view text, std::string_view caption, int) override
    {
        messages.push_back(std::string(caption) + ": " + std::string(text));
    }
    [[noreturn]] void fatal(std::string_view text) override { throw FatalError(std::string(text)); }
    float scale_x() const override { return 1.0f; }
    float scale_y() const override { return 1.0f; }
    void notice(std::string_view text) override { notices.emplace_back(text); }
    void show_link_buttons(int show, int kind) override { link_buttons[kind & 3] = show; }

    std::vector<std::string> notices;
    int link_buttons[4] = {-1, -1, -1, -1};
    bool is_shown = false;
    Painter* paint = nullptr;
    std::vector<int> redraws;
    std::vector<int> schedule_ends;
    int schedule_answer = 1;
    std::vector<std::string> messages;
};

class FakeMarketing : public MarketingDept {
public:
    int link_mode() const override { return link; }
    int link = 0;
    int products = 1;   // family A: A1, A2, ...
    int family_count() const override { return 1; }
    char family_letter(int) const override { return 'A'; }
    int product_count(int) const override { return products; }
    char product_letter(int, int p) const override { return static_cast<char>('1' + p); }
    void find_product_by_code(const char* code, uint16_t& f, uint16_t& p) override
    {
        if (code[0] == 'A' && code[1] >= '1' && code[1] < '1' + products) {
            f = 0;
            p = static_cast<uint16_t>(code[1] - '1');
        } else {
            f = NONE16;
            p = NONE16;
        }
    }
    void draw_on_order_units(int, int) override { ++on_order_draws; }
    void update_product_stock(int f, int p, int units, int kind, int) override
    {
        stock_updates.push_back({f, p, units, kind});
        delivered += units;
    }
    int get_contract_units_ahead(int, int) override { return contract_ahead; }
    int16_t get_inventory(int, int p) override { return inventory[p & 3]; }
    const int16_t* supply_days(int, int p, int& length) override
    {
        length = static_cast<int>(supply[p & 3].size());
        return supply[p & 3].data();
    }
    int16_t red_line_level(int, int p) override { return red_level[p & 3]; }
    void set_red_line_level(int, int p, int16_t v) override { red_level[p & 3] = v; }
    int16_t red_line_time(int, int p) override { return red_time[p & 3]; }
    void set_red_line_time(int, int p, int16_t v) override { red_time[p & 3] = v; }
    int16_t get_quoted_lead_time(int, int) override { return qlt; }
    bool is_product_retired(int, int p) override { return retired[p & 3]; }
    int16_t safety_stock(int, int p) override { return safety[p & 3]; }
    int16_t further_quantity(int, int p) override { return further[p & 3]; }
    int16_t production_plan(int, int p, int month) override { return plan[p & 3][std::clamp(month, 0, 5)]; }
    void set_production_plan_month0(int, int p, int16_t v) override { plan[p & 3][0] = v; }
    void get_monthly_requirements(int, int p, int16_t out[6]) override { std::copy(req[p & 3], req[p & 3] + 6, out); }
    void build_monthly_forecast() override { calls.push_back("forecast"); }
    void build_production_plan() override { calls.push_back("plan"); }
    int dlg_forecast(int kind) override
    {
        calls.push_back("window " + std::to_string(kind));
        return forecast_answer;
    }
    bool any_product_in_red_line() override { return in_red_line; }

    int contract_ahead = 12;
    int16_t inventory[4] = {5, 5, 5, 5};
    std::vector<int16_t> supply[4] = {{4, 4, 4, 4, 4}, {4, 4, 4, 4, 4}, {4, 4, 4, 4, 4}, {4, 4, 4, 4, 4}};
    int16_t red_level[4] = {10, 10, 10, 10};
    int16_t red_time[4] = {3, 3, 3, 3};
    int16_t qlt = 3;
    bool retired[4] = {false, false, false, false};
    int16_t safety[4] = {0, 0, 0, 0};
    int16_t further[4] = {0, 0, 0, 0};
    int16_t plan[4][6] = {{40, 40, 40, 40, 40, 40}, {40, 40, 40, 40, 40, 40}, {40, 40, 40, 40, 40, 40}, {40, 40, 40, 40, 40, 40}};
    int16_t req[4][6] = {{30, 35, 0, 20, 10, 5}, {30, 35, 0, 20, 10, 5}, {30, 35, 0, 20, 10, 5}, {30, 35, 0, 20, 10, 5}};
    int forecast_answer = 0;
    bool in_red_line = false;
    std::vector<std::string> calls;

    struct Update {
        int family, product, units, kind;
    };
    std::vector<Update> stock_updates;
    int delivered = 0;
    int on_order_draws = 0;
};

class FakePurchasing : public PurchasingDept {
public:
    int family_count() const override { return 1; }
    char family_letter(int) const override { return 'X'; }
    int material_count(int) const override { return 2; }
    char material_letter(int, int m) const override { return m == 0 ? 'A' : 'B'; }
    void find_material_by_code(const char* code, uint16_t& f, uint16_t& m) override
    {
        f = m = NONE16;
        if (code[0] == 'X' && (code[1] == 'A' || code[1] == 'B')) {
            f = 0;
            m = code[1] == 'A' ? 0 : 1;
        }
    }
    int16_t get_stock(int, int m) override { return stock[m]; }
    void add_stock(int, int m, int q, int issue) override
    {
        stock[m] = static_cast<int16_t>(stock[m] + q);
        if (issue)
            issued[m] -= q;
    }
    void add_unsupplied_units(int, int m, int units) override
    {
        unsupplied[m] += units;
        ++shortfall_reports;
    }

    int32_t material_price(int, int m) override { return m == 0 ? 3 : 7; }
    float average_cost(int, int m) override { return m == 0 ? 2.5f : 6.25f; }
    bool any_material_in_red_line() override { return in_red_line; }
    bool in_red_line = false;

    int16_t stock[2] = {100, 100};
    int issued[2] = {0, 0};
    int unsupplied[2] = {0, 0};
    int shortfall_reports = 0;
};

class FakeFinance : public FinanceDept {
public:
    bool add_machine(int32_t amount, int months) override
    {
        if (refuse_machines)
            return false;
        bought.push_back({amount, months});
        return true;
    }
    void post_cash(int32_t amount, int16_t deferred) override { posted += amount; (void)deferred; }
    int16_t receivable_terms() const override { return 0; }
    int16_t payable_terms() const override { return 0; }
    void add_cash_receipts(int32_t) override {}
    void add_cash_payments(int32_t) override {}
    void add_sales(int32_t) override {}
    void add_marketing_expenses(int32_t) override {}
    void add_promotion_expenses(int32_t) override {}
    void add_inventory_written_off(int32_t) override {}
    void add_materials_consumed(int32_t) override {}
    void keep_materials_consumed_copy() override {}
    float machine_work_percent() const override { return 0.85f; }
    int32_t monthly_direct_labour() const override { return 0; }
    int32_t monthly_production_expenses() const override { return 0; }
    std::vector<std::pair<int32_t, int>> bought;
    int64_t posted = 0;
    bool refuse_machines = false;
};

struct Fakes {
    FakeHost host;
    FakeUi ui;
    FakeMarketing marketing;
    FakePurchasing purchasing;
    FakeFinance finance;
};
