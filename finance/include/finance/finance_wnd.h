// The Finance department's accounting engine: the one cash balance and its
// deferred payments, interest, taxes and bankruptcy, the running totals of
// every money flow, the month and year closings, the four profit-and-loss
// reports, inventory values and EVA, and the department's state file.
#pragma once
#include "finance/finance_host.h"
#include "foundation/simdate.h"
#include "production/departments.h"
#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct DeferredPayment {
    int32_t amount = 0;     // > 0 coming in, < 0 going out
    int32_t due_tick = 0;   // booked at the first daily step at or after it
};

// The 16 values of a profit-and-loss report; value 4 (depreciation) is a float.
struct FinanceReport {
    std::array<int32_t, 16> v{};
    float depreciation() const { return std::bit_cast<float>(v[4]); }
    void set_depreciation(float d) { v[4] = std::bit_cast<int32_t>(d); }
    bool operator==(const FinanceReport&) const = default;
};

struct ShutdownRestart {
    SimDateTime date{};
    int16_t days = 0;
};

// The scenario's FINANCE section.
struct FinanceScenario {
    int32_t cash = 0;
    int32_t limit = 0;
    int16_t receivable_terms = 0;
    int16_t payable_terms = 0;
    float positive_rate = 0;
    float negative_rate = 0;
    float capital_rate = 0;
    float machine_work_percent = 0;
    int32_t direct_labour = 0;
    int32_t production_expenses = 0;
    int32_t marketing_expenses = 0;
    int32_t management_expenses = 0;
    int32_t other_assets = 0;
    int32_t machine_investment = 0;
};

// A yearly total: accumulated since the run began, this year, last year.
struct Total {
    int32_t acc = 0, cur = 0, last = 0;
    void add(int32_t v) { acc += v; cur += v; }
    void roll() { last = cur; cur = 0; }
};
struct FloatTotal {
    float acc = 0, cur = 0, last = 0;
    void add(float v) { acc += v; cur += v; }
    void roll() { last = cur; cur = 0; }
};
// A value with and without the added value (material cost only).
struct ValuePair {
    int32_t with = 0, material = 0;
};

inline constexpr int MAX_SHUTDOWNS = 10;
inline constexpr int MAX_MACHINE_STARTS = 10;
inline constexpr int FINANCE_FAMILIES = 4;
inline constexpr int FINANCE_PRODUCTS = 4;

// One line of the statement as the window paints it.
struct StatementLine {
    std::string label;
    std::string value;   // empty for headings and rules
};

// Every figure of the books: what the state file holds and the scenario's
// constants beside it.
struct FinanceBooks {
    std::vector<DeferredPayment> deferred;
    char report_letter = 'C';
    int32_t cash = 0;
    int32_t opening_cash = 0;
    int32_t cash_year_start = 0, cash_last_year_start = 0;
    // 1 between the year roll and the next daily step's clearing of the
    // campaign costs (kept in the record's spare field).
    int32_t year_rolled = 0;
    int32_t pending_year_end = 0, pending_year_before = 0;
    int32_t limit = 0;
    float positive_rate = 0, negative_rate = 0;
    float interest_earned_month = 0, interest_paid_month = 0, interest_paid_last_month = 0;
    FloatTotal interest_earned, interest_paid;
    Total receipts, payments, total_expenses;
    int32_t pending_positive_year_end = 0, pending_negative_year_end = 0;
    int32_t inventory_run_start = 0, inventory_year_start = 0, inventory_last_year_start = 0,
            inventory_period_start = 0;
    Total written_off;
    int32_t sales_cur = 0, sales_last = 0;
    int32_t marketing_amount = 0, production_amount = 0, labour_amount = 0, management_amount = 0;
    Total marketing_expenses, production_expenses, direct_labour, management_expenses;
    // Raw materials consumed, with Purchasing's previous-day copies.
    Total materials;
    int32_t materials_acc_copy = 0, materials_cur_copy = 0;
    ValuePair fg_run_start, fg_year_start, fg_last_year_start, fg_last_year_end;
    std::array<std::array<int16_t, FINANCE_PRODUCTS>, FINANCE_FAMILIES> on_order{};
    ValuePair wip_run_start, wip_year_start, wip_last_year_start, wip_last_year_end;
    int32_t wip_added_last_year_end = 0;
    Total promotion;
    int32_t other_assets = 0, machine_investment = 0;
    int32_t displayed_taxes = 0;
    Total depreciation;
    int32_t fg_today = 0;
    int32_t taxes_acc = 0, taxes_last_year_end = 0;
    SimDateTime period_start{}, last_period_start{};
    int32_t last_net_profit = 0, eva = 0, previous_eva = 0;
    std::vector<ShutdownRestart> shutdowns;
    std::vector<SimDateTime> machine_starts;
    FinanceReport displayed, current, accumulated, last, before_last, current_before_roll;
    float work_percent = 0;
    int16_t with_added_value = 1;
    int32_t machine_dep_acc = 0, machine_dep_cur = 0, asset_dep_acc = 0, asset_dep_cur = 0;

    // Scenario constants, never taken from the state file.
    int16_t receivable_terms_ = 0, payable_terms_ = 0;
    float capital_rate = 0;

};

class CFinanceWnd : public FinanceDept, public FinanceBooks {
public:
    CFinanceWnd(FinanceHost& host, FinanceUi& ui);

    // Neighbours; a missing one reports nothing.
    void set_neighbours(MarketingDept* marketing, PurchasingDept* purchasing, ProductionDept* production);
    MarketingDept* marketing() const { return marketing_; }
    FinanceHost& host() const { return host_; }

    // Scenario and session start.
    void load_scenario(const FinanceScenario& s);
    void init_accounts();

    // The clock's hooks.
    void on_new_year();   // the taxes of the year just ended
    void on_new_month();
    void daily_step();
    void on_minute();

    // FinanceDept: what every department calls.
    bool add_machine(int32_t amount, int months) override;
    void post_cash(int32_t amount, int16_t deferred) override;
    int16_t receivable_terms() const override { return receivable_terms_; }
    int16_t payable_terms() const override { return payable_terms_; }
    void add_cash_receipts(int32_t amount) override { receipts.add(amount); }
    void add_cash_payments(int32_t amount) override { payments.add(amount); }
    void add_sales(int32_t amount) override { sales_cur += amount; }
    void add_marketing_expenses(int32_t amount) override;
    void add_promotion_expenses(int32_t amount) override { promotion.add(amount); }
    void add_inventory_written_off(int32_t amount) override { written_off.add(amount); }
    void add_materials_consumed(int32_t amount) override { materials.add(amount); }
    void keep_materials_consumed_copy() override;
    float machine_work_percent() const override { return work_percent; }
    int32_t monthly_direct_labour() const override { return with_overtime(labour_amount); }
    int32_t monthly_production_expenses() const override { return with_overtime(production_amount); }
    int32_t monthly_marketing_expenses() const override { return marketing_amount; }
    int32_t monthly_management_expenses() const override { return management_amount; }
    int32_t asset_value() const override { return other_assets; }
    int32_t machine_investment_value() const override { return machine_investment; }
    void set_machine_work_percent(float p) { work_percent = p; }

    // Cash steps.
    void book_due_payments();
    void check_bankruptcy();
    void accrue_interest();
    void book_interest();
    void pay_taxes();
    void close_month();

    // Reports.
    void compute_report(char letter, FinanceReport& out);
    // 'A', 'C', 'L' from the stored report; mode 0 the taxes, 1 the net profit.
    int32_t get_net_profit(char letter, int mode) const;
    int32_t net_profit_of(const FinanceReport& r, bool with_added_value, int mode) const;
    void select_report(char letter);
    void show_report(char letter);
    const FinanceReport* stored_report(char letter) const;
    void get_report_period(char letter, SimDateTime& from, SimDateTime& to);
    // The statement of the displayed report, line by line (labels and values).
    std::vector<StatementLine> statement_lines();

    // Inventory values and the unit added value.
    float unit_added_value(int family, int product) const;
    int32_t fg_value_with_added_value() const;
    int32_t fg_value_at_material_cost() const;
    int32_t added_value_in_wip() const;
    int32_t wip_value() const;
    int32_t plant_inventory_at_material_cost() const;
    int32_t with_overtime(int32_t amount) const;
    // Today's summary-graph values (ids 101-107 in order).
    void daily_values(double out[7]) const;
    int32_t yearly_eva();
    bool bankrupt() const { return bankrupt_; }
    // Sees every posting (amount, deferred flag) before it is booked.
    std::function<void(int32_t, int16_t)> posting_observer;

    // The state file "%s.FNC": the whole record; false when the bytes are
    // not a record the engine can run (nothing is changed then).
    std::vector<uint8_t> save_state() const;
    bool load_state(const std::vector<uint8_t>& bytes);

private:
    void recompute_depreciation();
    void restart_shutdowns();
    void start_machines();
    void year_roll();
    void month_start_values();
    bool new_year_minute();
    ProductFigures figures(int f, int p) const;
    template <class F> void for_each_product(F&& f) const;

    FinanceHost& host_;
    FinanceUi& ui_;
    MarketingDept* marketing_ = nullptr;
    PurchasingDept* purchasing_ = nullptr;
    ProductionDept* production_ = nullptr;
    bool bankrupt_ = false;
    int32_t last_closing_ = -1;   // year * 12 + month of the last month closing
};

// The statement's figures from a report: the Finance window's lines and the
// tests' hand computation.
struct StatementFigures {
    int32_t sales, materials, labour, production, production_cost, fg_increase, wip_increase, gross_profit,
        marketing, management, before_finance, finance, before_taxes, taxes, net_profit;
    float depreciation;
};
StatementFigures statement_figures(const FinanceReport& r, bool with_added_value);
