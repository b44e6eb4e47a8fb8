// Scripted neighbours and session for the accounting engine: a clock the
// test sets, a recording screen, and departments whose figures a test fills.
#pragma once
#include "app/clock.h"
#include "finance/finance_wnd.h"
#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

class FakeHost : public FinanceHost {
public:
    FakeHost();
    int32_t tick() const override { return ticks; }
    CClockPane& clock() override { return clock_pane; }
    int16_t run_state() const override { return state; }
    void set_run_state(int16_t s) override { state = s; states.push_back(s); }
    bool daily_refresh() const override { return refresh; }
    int32_t work_days_per_month() const override { return clock_pane.shift_mode == 1 ? 30 : 22; }
    bool version_at_least(std::string_view id) const override { return std::string(id) <= version; }
    int reputation_percent() const override { return reputation; }
    void log_part_sum() override { ++part_sums; }

    int32_t ticks = 0;
    CClockPane clock_pane;
    int16_t state = 1;
    std::vector<int16_t> states;
    bool refresh = false;
    std::string version = "BG_1037";
    int reputation = 90;
    int part_sums = 0;
};

class FakeUi : public FinanceUi {
public:
    void update_cash() override { ++cash_redraws; }
    void repaint_statement() override { ++statement_repaints; }
    void repaint_profit_pane() override { ++profit_repaints; }
    void beep(int f, int ms) override { beeps.push_back({f, ms}); }
    void box(std::string_view text, std::string_view caption) override;
    bool shown() const override { return is_shown; }
    void show_finance() override { ++switches; is_shown = true; }
    void daily_points(const double*) override { ++days; }
    void month_points(int32_t profit, int ddp) override { months.push_back({profit, ddp}); }

    int cash_redraws = 0, statement_repaints = 0, profit_repaints = 0, switches = 0, days = 0;
    bool is_shown = false;
    std::vector<std::pair<int, int>> beeps;
    std::vector<std::string> boxes;        // "caption|text"
    std::vector<int16_t> state_at_box;     // the host's run state when each box came
    FakeHost* host = nullptr;
    std::vector<std::pair<int32_t, int>> months;
};

class FakeMarketing : public MarketingDept {
public:
    int link_mode() const override { return 0; }
    int family_count() const override { return 1; }
    char family_letter(int) const override { return 'A'; }
    int product_count(int) const override { return static_cast<int>(products.size()); }
    char product_letter(int, int p) const override { return static_cast<char>('1' + p); }
    void find_product_by_code(const char*, uint16_t& f, uint16_t& p) override { f = p = 65535; }
    void draw_on_order_units(int, int) override {}
    void update_product_stock(int, int, int, int, int) override {}
    int get_contract_units_ahead(int, int) override { return 0; }
    int16_t get_inventory(int, int) override { return 0; }
    const int16_t* supply_days(int, int, int& length) override { length = 0; return nullptr; }
    int16_t red_line_level(int, int) override { return 0; }
    void set_red_line_level(int, int, int16_t) override {}
    int16_t red_line_time(int, int) override { return 0; }
    void set_red_line_time(int, int, int16_t) override {}
    int16_t get_quoted_lead_time(int, int) override { return 0; }
    bool is_product_retired(int, int) override { return false; }
    int16_t safety_stock(int, int) override { return 0; }
    int16_t further_quantity(int, int) override { return 0; }
    int16_t production_plan(int, int, int) override { return 0; }
    void set_production_plan_month0(int, int, int16_t) override {}
    void get_monthly_requirements(int, int, int16_t out[6]) override { std::fill(out, out + 6, int16_t{0}); }
    void build_monthly_forecast() override {}
    void build_production_plan() override {}
    int dlg_forecast(int) override { return 0; }
    bool any_product_in_red_line() override { return false; }
    ProductFigures product_figures(int, int p) override { return products[static_cast<size_t>(p)]; }
    int32_t accumulated_sales() override { return sales; }
    int32_t charge_monthly_advertising() override { return advertising; }
    void roll_year_counters() override { ++year_rolls; }
    void clear_campaign_costs() override { ++campaign_clears; }
    std::vector<ContractSummary> contracts_for_analysis(bool with_held) override
    {
        std::vector<ContractSummary> out;
        for (const ContractSummary& c : contracts)
            if (!c.held || with_held)
                out.push_back(c);
        return out;
    }

    std::vector<ProductFigures> products = {ProductFigures{}};
    std::vector<ContractSummary> contracts;
    int32_t sales = 0, advertising = 0;
    int year_rolls = 0, campaign_clears = 0;
};

class FakePurchasing : public PurchasingDept {
public:
    int family_count() const override { return 1; }
    char family_letter(int) const override { return 'X'; }
    int material_count(int) const override { return 1; }
    char material_letter(int, int) const override { return 'A'; }
    void find_material_by_code(const char*, uint16_t& f, uint16_t& m) override { f = m = 65535; }
    int16_t get_stock(int, int) override { return stock; }
    void add_stock(int, int, int, int) override {}
    void add_unsupplied_units(int, int, int) override {}
    int32_t material_price(int, int) override { return price; }
    float average_cost(int, int) override { return static_cast<float>(price); }
    bool any_material_in_red_line() override { return false; }
    int32_t in_process_units(int, int) override { return in_process; }
    void end_of_day_ordering() override { ++orderings; }
    void roll_yearly_stats() override { ++year_rolls; }

    int16_t stock = 0;
    int32_t price = 0, in_process = 0;
    int orderings = 0, year_rolls = 0;
};

class FakeProduction : public ProductionDept {
public:
    void add_order(int16_t, int16_t, int16_t, int16_t, int16_t, int16_t, int32_t, int32_t) override {}
    void reduce_production_orders(int16_t, int16_t, int16_t) override {}
    int16_t get_on_order_units(int16_t, int16_t) override { return on_order; }
    int32_t get_standard_material_cost(int16_t, int16_t) override { return 0; }
    int count_active_units() override { return units; }
    bool activate_new_product(int, int) override { return false; }
    void get_material_requirements(std::vector<MaterialRequirement>&) override {}
    int16_t extra_shift_days() override { return extra_days; }
    bool deactivate_new_product(int16_t, int16_t) override { return false; }
    float get_material_cost_of_product(int16_t, int16_t) override { return 0; }
    int16_t get_num_materials_in_product(int16_t, int16_t, int, int) override { return 0; }
    void on_product_retired(int, int) override {}
    int32_t get_process_minutes_per_unit(int16_t, int16_t) override { return static_cast<int32_t>(minutes); }
    void on_link_mode_changed() override {}
    void net_forecast_requirements() override {}
    void spread_forecast(int) override {}

    int16_t on_order = 0;
    int units = 3;
    int16_t extra_days = 0;
    float minutes = 0;
};

// The sample's figures by default.
FinanceScenario sample_finance();

// An engine over the fakes, loaded from a scenario, its accounts opened.
struct Books {
    explicit Books(const FinanceScenario& s = sample_finance(), SimDateTime start = {95, 1, 2, 8, 0},
                   int16_t shift_mode = 0);
    FakeHost host;
    FakeUi ui;
    FakeMarketing marketing;
    FakePurchasing purchasing;
    FakeProduction production;
    CFinanceWnd engine;
    // Every posting, in order: amount and deferred flag.
    std::vector<std::pair<int32_t, int16_t>> postings;
    // One simulated minute as the view drives Finance (the clock's hooks in
    // the view's order).
    void tick();
    void run_ticks(int n);
    // Runs to 08:00 of the given date.
    void run_until(const SimDateTime& d);
};
