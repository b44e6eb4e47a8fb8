// The Marketing department's engine: the market's records, the daily,
// monthly and yearly steps, contracts, new products, advertising, the
// finished goods and the saved state. Headless; the session and the windows
// reach it through the ports.
#pragma once
#include "foundation/binfile.h"
#include "marketing/market_ports.h"
#include "marketing/market_records.h"
#include "production/departments.h"
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CMarketingWnd {
public:
    CMarketingWnd(MarketHost& host, MarketingUi& ui);
    // The neighbours, before the scenario loads.
    void connect(PurchasingDept& purchasing, FinanceDept& finance, ProductionDept* production);

    // What Production reads.
    int link_mode() const { return link_mode_; }
    int family_count() const { return family_count_; }
    char family_letter(int family) const;
    int product_count(int family) const;
    char product_letter(int family, int product) const;
    void find_product_by_code(const char* code, uint16_t& family, uint16_t& product) const;
    void draw_on_order_units(int, int) { ui_.redraw(); }
    void update_product_stock(int family, int product, int units, int kind, int extra);
    int get_contract_units_ahead(int family, int product) const;

    // Loading.
    void load_market_data(MarketData& data);
    void compute_throughput_history();

    // The clock's hooks.
    void on_new_year();
    void on_new_month();
    // FALSE: the department holds (restart stage 1, 2 or 4).
    bool daily_step(int16_t restart);
    void resume_step();
    bool policies_consistent() const { return link_mode_ != 3; }
    // The user's new link mode with its red-line checks; the forecast mode
    // also plans (showing the forecast between forecast and plan) and tells
    // Production.
    void change_link_mode(int mode, const std::function<void()>& show_forecast);
    // The contract planning as it stands, and the user's choice of it: each
    // changed value logged; days before and merge kept only when planning is
    // not by quoted lead time; then the red-line check of the link mode.
    ContractPlanning contract_planning() const;
    void set_contract_planning(const ContractPlanning& chosen);
    // The user's campaign: a running one stops (its demand back where it
    // started), then it starts at the level (0 based) for the months.
    void start_campaign(int campaign, int level, int months);

    void build_monthly_forecast();
    void build_production_plan();
    // The next six months' requirements (Production's contract planning).
    void get_monthly_requirements(int f, int p, int16_t out[6]);

    // Finance's calls.
    void roll_year_counters();
    uint32_t charge_monthly_advertising();
    uint32_t get_daily_throughput() const;
    int32_t get_backlog_value() const;
    void clear_campaign_costs();
    uint32_t accumulated_sales() const { return sales_value_run; }
    // One product's unit costs and stock as Finance's reports read them.
    ProductFigures product_figures(int f, int p) const;

    // Unit costs.
    float get_direct_labor_cost(int f, int p) const;
    float get_indirect_cost(int f, int p) const;
    float get_advertising_cost_per_unit(int f, int p) const;

    // The policies file's block: its size, the settings, and reading them
    // back (false: a value out of range, nothing changed).
    int32_t policies_size() const;
    void write_policies(RecordWriter& out) const;
    bool read_policies(RecordReader& in);

    // State file.
    void save_state(RecordWriter& out);
    // What the files of older versions do not keep.
    void save_tail(RecordWriter& out);
    bool load_tail(RecordReader& in);
    // False when the bytes are not a state this scenario can run.
    bool load_state(RecordReader& in);

    // Products.
    bool product_exists(int family, int product) const;
    MarketProduct& product(int f, int p) { return families[static_cast<size_t>(f)].products[static_cast<size_t>(p)]; }
    const MarketProduct& product(int f, int p) const
    {
        return families[static_cast<size_t>(f)].products[static_cast<size_t>(p)];
    }
    int16_t get_inventory(int f, int p) const { return product(f, p).stock; }
    void adjust_inventory(int family, int product, int units, int kind);
    bool is_product_retired(int f, int p) const { return product(f, p).retired != 0; }
    bool is_product_phasing_out(int f, int p) const { return product(f, p).phase_out != 0; }
    bool is_in_red_line(int f, int p) const;
    bool any_product_in_red_line() const;
    float get_material_cost(int f, int p) const;
    int get_discounted_price(int f, int p, int level) const;
    void build_supply_days_table();
    int product_position(int f, int p) const;

    // Demand figures.
    double get_demand(const char* table, double x);
    void apply_ddp_adjustment(const char* table, double x, float& value);
    void apply_price_change(int f, int p, int old_price, int new_price);
    void apply_quoted_lead_time_change(int f, int p, int old_qlt, int new_qlt);
    uint16_t get_expected_orders(int f, int p, int days) const;
    float get_cumulative_growth(int family, int m) const;

    // Contracts.
    bool is_contract_active(int c, int k) const;
    void find_contract_by_number(uint16_t number, uint16_t& c, uint16_t& k) const;
    int16_t get_contract_max_lead_time(int c, int k) const;
    int32_t get_delivery_value(int loaded) const;
    int16_t get_late_contract_units(int f, int p) const;
    int32_t get_late_value_for_product(int f, int p) const;
    uint32_t get_late_value_total() const;
    int32_t get_customer_late_value(int c) const;
    int16_t get_contract_units_between(const SimDateTime& start, int days, int f, int p, int* shortest,
                                       bool use_policy) const;
    int16_t get_contract_units_due(int f, int p, int days, bool use_policy) const;
    int16_t get_contract_units_for_ordering(int f, int p, int* shortest);
    uint16_t mark_one_time_contract_items(int days, int f, int p, int* shortest);
    int16_t get_loaded_contract_units(int f, int p) const;
    uint16_t build_contract_supply_list(std::vector<SimDateTime>& out, int c, int k, const SimDateTime& from,
                                        const SimDateTime& to) const;
    void set_contract_prices(int c, int k);
    void set_contract_end_copy(int c, int k);
    float get_customer_weighted_average(int c) const;
    int16_t get_late_open_units(int f, int p) const;
    int32_t get_late_order_penalty(int f, int p) const;
    int32_t get_total_late_order_penalty() const;

    // Records (the department's tables; other departments read them).
    std::array<Family, MAX_FAMILYS> families{};
    uint16_t family_count_ = 0;
    std::vector<Customer> customers;
    std::vector<OpenOrder> open_orders;
    std::vector<LoadedContract> loaded;
    std::vector<DemandTable> demand_tables;
    std::array<NewProductEntry, MAX_NEW_PRODUCTS> new_products{};
    uint16_t new_product_count = 0;
    std::vector<MarketEvent> events;
    std::vector<AdvertisingCampaign> campaigns;
    std::array<std::array<std::string, MAX_PRODUCTS>, MAX_FAMILYS> product_names{};

    // Per-product side tables [family][product].
    template <class T>
    using Table = std::array<std::array<T, MAX_PRODUCTS>, MAX_FAMILYS>;
    Table<int32_t> revenue_today{}, units_today{};
    Table<float> cost_of_sales_month{};
    Table<uint16_t> cancelled_units_month{};
    Table<float> fixed_demand{}, fixed_carry{};
    Table<int16_t> phase_out_allowance{};
    Table<uint16_t> lost_units_month{}, lost_units_last_month{};
    Table<std::array<uint32_t, 12>> lost_units_series{};
    Table<int16_t> expired_today{}, expired_export_today{};

    // Department-wide fields.
    uint16_t link_mode_ = 0, link_mode_copy = 0, scenario_link_mode = 0;
    uint16_t restart_stage = 0;
    uint32_t sales_value_run = 0, sales_value_month = 0, sales_value_last_month = 0, lost_value_month = 0;
    uint16_t sales_spare = 0;
    int16_t max_wait = 0;
    uint16_t red_line_active = 0;
    float smoothing = 0;
    uint16_t plan_days_before = 0;
    uint16_t dept_spare = 0;
    uint16_t contract_horizon_once = 0;
    uint16_t plan_by_qlt = 0;
    uint16_t contract_counter = 0;
    uint16_t day_index = 0, day_count = 0, month_count = 0;
    std::array<SimDateTime, MAX_DAY_DATES> day_dates{};
    uint16_t plan_merge = 0;
    uint16_t mto_supply_option = 0;
    uint16_t forecast_run = 0;
    std::vector<ContractRef> working, working_backup;
    std::vector<uint16_t> held_contracts;
    ContractRef current_contract;
    RenewalBackup renewal;
    int16_t last_load_day = -1;
    SalesGraph sales_graph;
    // Products of each family as the scenario gives them.
    std::array<uint16_t, MAX_FAMILYS> scenario_products_{};
    // Job-shop fields.
    uint16_t js_value1 = 0, js_fixed_factor = 0;
    uint16_t js_accept_on = 0;
    uint16_t js_factor_low = 0, js_factor_high = 0, js_units_low = 0, js_units_high = 0;
    uint16_t js_reject = 0, js_any_factor = 1, js_any_units = 1, js_spare = 1;
    uint16_t js_pending = 0;
    // The day's job-shop orders and, at the same positions, their factors
    // (20000 and more: accepted, the factor being the rest).
    std::vector<OpenOrder> js_orders;
    std::vector<uint16_t> js_factors;

    // Export lines.
    bool export_line_active(int f, int p) const;
    int16_t export_inventory_units(int f, int p) const;
    bool any_export_line() const;
    // The units an active line still waits to have transferred from home.
    int export_replenishment_need(int f, int p) const;
    // The units an active line's customers are expected to order over the
    // working days (none for a line not active).
    int16_t get_export_expected_orders(int f, int p, int days) const;
    // The first day from today from which the line's preparation days reach
    // its start date.
    SimDateTime get_export_preparation_date(int f, int p) const;
    // Today moved on by the line's start delay in months.
    SimDateTime export_start_date(int f, int p) const;
    // The Add Export Line dialog's request: the line starts at `start`, is
    // prepared on its preparation date and pays its initial expenses now.
    // False when the product has no line or it was already requested.
    bool request_export_line(int f, int p, const SimDateTime& start);
    void exp_add_export_line(int f, int p);
    void exp_append_inventory(int f, int p, int units);
    void adjust_export_inventory(int f, int p, int units);
    void prepare_requested_export_lines();
    void activate_due_export_lines();
    void receive_transport_orders();
    void supply_export_orders();
    void check_export_levels();
    void draw_export_orders();
    void transfer_to_export();
    void export_month_roll();
    // Pools of the open export orders and the transport orders: none until
    // the first line is added.
    bool export_pools = false;
    std::vector<OpenOrder> exp_open_orders;
    std::vector<TransportOrder> exp_transport_orders;
    uint16_t exp_transfer_minimum = 0;
    uint16_t exp_transfer_policy = 0;
    uint16_t exp_pool_spare = 0;

    // Job-shop mode.
    bool accepts_order(int factor, int units) const;
    // Units of the product's orders not yet accepted, while the run is held.
    int16_t get_jobshop_units(int f, int p) const;
    // The accept-orders policy command.
    void accept_orders_policy();

private:
    // Loader.
    void load_rand_tables(MarketData& d);
    void load_market(MarketData& d);
    void load_demands(MarketData& d);
    void load_customers(MarketData& d);
    void load_sales(MarketData& d);
    void load_new_products(MarketData& d);
    void load_advertising(MarketData& d);
    void load_events(MarketData& d);
    void load_fix_demands(MarketData& d);
    void load_jobshop_section(MarketData& d);
    void load_market_export(MarketData& d);
    void clear_product(MarketProduct& p);
    SimDateTime read_date(MarketData& d, int16_t item);

    // Daily pieces.
    void reset_day_counters();
    void load_open_orders();
    void load_jobshop_open_orders();
    // The day's number of customer orders of a product: 100 trials on the generator.
    int draw_order_count(const MarketProduct& pr);
    // Whether an order of units may be taken: false for an order refused (its
    // value lost) or past a phasing-out product's allowance.
    bool book_or_reject(MarketProduct& pr, int f, int p, int units);
    // A customer order of today, due at the product's quoted lead time.
    OpenOrder new_open_order(int f, int p, int units) const;
    // Takes an order into the open orders, the supply days and the product's counts.
    void enter_open_order(const OpenOrder& o);
    void order_jobshop_production();
    void supply_open_orders();
    void ship_open_order(size_t position, bool make_to_order);
    bool check_open_order_max_period(size_t position);
    void report_lost_orders();
    void write_off_expired_inventory();
    void show_reject_flash();
    void order_production();
    void order_stock_replenishment();
    void order_to_order_production();
    void order_contract_product(int f, int p);
    void plan_make_to_order_production();
    void order_shortfall(int f, int p, int target);
    void check_red_line();
    void check_red_line_to_order(int f, int p);
    void init_red_line_status();
    void shift_supply_days();
    void add_to_slot(int f, int p, int slot, int units, const char* overflow_text);
    void take_from_slot(int f, int p, int slot, int units, const char* overflow_text);
    void count_red_line_days();
    void update_service_percentages();
    void monthly_rollover();
    void update_demand_estimate();
    void update_expected_monthly_demand();
    void roll_product_year();
    void add_daily_sales_point();
    void mark_due_new_product();
    bool introduce_new_products();
    void add_new_product_temporary(int entry);
    void remove_temporary_product(int entry);
    void add_new_product(int entry);
    bool is_new_product_waiting(int f, int p) const;
    void retire_phased_out_products();
    void run_price_promotions();
    void run_monthly_campaigns(int only);
    void end_campaign_effect(AdvertisingCampaign& c, bool restore);
    void apply_campaign_factor(int f, int p, float factor);
    void apply_monthly_growth();
    void apply_yearly_growth();
    void apply_export_monthly_growth();
    void export_monthly_statistics();
    void export_daily_statistics();
    bool send_transfer(int f, int p, int units);
    // The export stock's pass of the day's write-off: a lot a line at most.
    void write_off_expired_export_inventory(std::vector<std::string>& rows);
    int16_t get_expected_demand(const SimDateTime& date, int days, int f, int p) const;


    // Contracts.
    void load_contracts();
    void supply_contracts();
    void cancel_contract(uint16_t customer, uint16_t contract);
    bool offer_new_contracts();
    bool select_new_contracts();
    bool check_contract_lost();
    void renew_contract(int c, int k, bool reset);
    int contract_horizon(const CustomerContract& k, int c, int ki) const;
    uint16_t blanket_qty(const CustomerContract& k, int item, int shipment) const;
    void run_blanket_shipments();
    bool can_supply_loaded_contract(const LoadedContract& l) const;
    void book_sale(int f, int p, int units, int32_t value, bool contract);
    void pay_in(int32_t value);
    void error_box(const char* text) { ui_.message(text, "Error"); }

    MarketHost& host_;
    MarketingUi& ui_;
    PurchasingDept* purchasing_ = nullptr;
    FinanceDept* finance_ = nullptr;
    ProductionDept* production_ = nullptr;
};
