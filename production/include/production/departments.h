// What the departments call of one another. Each department implements
// its own interface; the program's assembly (vorn/) hands every department
// its neighbours as a DepartmentLinks once all of them exist, a stand-in in
// the place of a department not built yet.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One product's figures as Marketing keeps them, for Finance's reports.
struct ProductFigures {
    float price = 0;
    float material_cost = 0;      // of one unit
    float labour = 0;             // direct labour per unit
    float indirect = 0;           // indirect cost per unit
    float advertising = 0;        // advertising per unit
    int32_t fg_units = 0;         // finished units in stock
    int32_t export_units = 0;     // units in the export inventory
    bool retired = false;
    float run_material_cost_of_sales = 0;   // material cost of the run's sales
    float todays_sales_value = 0;
};

// One customer contract as Finance's cost analyses read it: the texts of
// Marketing's contract grid and the product lines with their prices.
struct ContractLine {
    int16_t family = 0, product = 0;
    int32_t quantity = 0;     // the blanket minimum for a blanket contract
    int32_t price = 0;
    std::string text;         // "%c%c-%d", or "%c%c-%d,%d" for a blanket contract
};
struct ContractSummary {
    uint16_t number = 0;
    bool held = false;        // offered and waiting in HOLD for the user's answer
    std::string customer, start, end, type, day;
    std::vector<ContractLine> lines;
};

// How Marketing plans its contract deliveries: by each contract's quoted lead
// time, or a number of working days before shipment; and the merge rule.
struct ContractPlanning {
    int by_qlt = 0;
    int days_before = -1;
    int merge = -1;
};
// Shows the planning to the user; true on OK with what was chosen in it.
using ContractPlanningDialog = std::function<bool(ContractPlanning&)>;

class MarketingDept {
public:
    virtual ~MarketingDept() = default;
    // 0 normal, 1 make to order, 2 forecast.
    virtual int link_mode() const = 0;
    virtual int family_count() const = 0;
    virtual char family_letter(int family) const = 0;
    virtual int product_count(int family) const = 0;
    virtual char product_letter(int family, int product) const = 0;
    // 65535/65535 when the code names no Marketing product.
    virtual void find_product_by_code(const char* code, uint16_t& family, uint16_t& product) = 0;
    // Marketing's product chooser with its prompt and caption: false when
    // cancelled or where there is no window to ask in.
    virtual bool pick_product(const char* prompt, const char* caption, int& family, int& product)
    {
        (void)prompt, (void)caption, (void)family, (void)product;
        return false;
    }
    virtual void draw_on_order_units(int family, int product) = 0;
    virtual void update_product_stock(int family, int product, int units, int kind, int extra) = 0;
    virtual int get_contract_units_ahead(int family, int product) = 0;

    // Finished-goods stock of the product.
    virtual int16_t get_inventory(int family, int product) = 0;
    // Units due to ship per working day ahead; length 0 (and any pointer) when it holds none.
    virtual const int16_t* supply_days(int family, int product, int& length) = 0;
    virtual int16_t red_line_level(int family, int product) = 0;
    virtual void set_red_line_level(int family, int product, int16_t units) = 0;
    // Working days.
    virtual int16_t red_line_time(int family, int product) = 0;
    virtual void set_red_line_time(int family, int product, int16_t days) = 0;
    virtual int16_t get_quoted_lead_time(int family, int product) = 0;
    virtual bool is_product_retired(int family, int product) = 0;
    virtual int16_t safety_stock(int family, int product) = 0;
    // The record's further quantity that forecast netting adds besides the safety stock.
    virtual int16_t further_quantity(int family, int product) = 0;
    // Six months of production plan; only month 0 is written back (forecast netting).
    virtual int16_t production_plan(int family, int product, int month) = 0;
    virtual void set_production_plan_month0(int family, int product, int16_t units) = 0;
    // The next six months' requirements r0..r5.
    virtual void get_monthly_requirements(int family, int product, int16_t out[6]) = 0;
    virtual void build_monthly_forecast() = 0;
    virtual void build_production_plan() = 0;
    // The forecast window; its answer decides whether Production spreads the slots again.
    virtual int dlg_forecast(int kind) = 0;
    virtual bool any_product_in_red_line() = 0;
    // The units the product is forecast to need over the horizon (working
    // days), never below 0; Purchasing's forecast reads it.
    virtual int32_t product_forecast(int family, int product, int days)
    {
        (void)family, (void)product, (void)days;
        return 0;
    }
    // What Finance reads and drives; a market without these figures answers nothing.
    virtual ProductFigures product_figures(int family, int product) { (void)family; (void)product; return {}; }
    // The sales value of the run.
    virtual int32_t accumulated_sales() { return 0; }
    virtual int32_t get_backlog_value() { return 0; }
    virtual int32_t get_daily_throughput() { return 0; }
    // The month's advertising, charged at the month's closing.
    virtual int32_t charge_monthly_advertising() { return 0; }
    // At the new year's first working day, and the day after it.
    virtual void roll_year_counters() {}
    virtual void clear_campaign_costs() {}
    // Every active contract in customer order, then (with_held) the offered
    // ones waiting in HOLD.
    virtual std::vector<ContractSummary> contracts_for_analysis(bool with_held)
    {
        (void)with_held;
        return {};
    }
    // Planning for contracts, from Production's policies menu: the dialog
    // runs over the market's planning, which keeps what the user chose.
    virtual void edit_planned_contracts_policy(const ContractPlanningDialog& dialog) { (void)dialog; }
    // The Contract List dialog, which Finance's Information menu opens too.
    virtual void show_contract_list() {}
};

class PurchasingDept {
public:
    virtual ~PurchasingDept() = default;
    virtual int family_count() const = 0;
    virtual char family_letter(int family) const = 0;
    virtual int material_count(int family) const = 0;
    virtual char material_letter(int family, int material) const = 0;
    // 65535 when not found.
    virtual void find_material_by_code(const char* code, uint16_t& family, uint16_t& material) = 0;
    virtual int16_t get_stock(int family, int material) = 0;
    virtual void add_stock(int family, int material, int quantity, int issue) = 0;
    virtual void add_unsupplied_units(int family, int material, int units) = 0;
    // The material's integer price and its average cost, for the material roll-ups.
    virtual int32_t material_price(int family, int material) = 0;
    virtual float average_cost(int family, int material) = 0;
    virtual bool any_material_in_red_line() = 0;
    // What Finance reads and drives: units issued to production and not yet
    // in finished goods, the unit price inventory is valued at, the day's
    // last step (after every department's daily step) and the yearly roll.
    virtual int32_t in_process_units(int family, int material) { (void)family; (void)material; return 0; }
    virtual float unit_price(int family, int material) { return static_cast<float>(material_price(family, material)); }
    virtual int16_t get_on_order(int /*family*/, int /*material*/) { return 0; }
    // The n-th material in table order; the out values are left alone past the end.
    virtual void material_by_index(int /*n*/, uint16_t& /*family*/, uint16_t& /*material*/) {}
    virtual void end_of_day_ordering() {}
    virtual void roll_yearly_stats() {}
    // Finished units arrived: the material's in-process counter falls.
    virtual void lower_in_process(int family, int material, int units) { (void)family; (void)material; (void)units; }
    virtual bool orders_by_mrp() const { return false; }
};

// One raw material needed by the production plan at a minute; what Purchasing's MRP ordering reads.
struct MaterialRequirement {
    int16_t family = 0;
    int16_t material = 0;
    int16_t quantity = 0;
    int32_t due_minute = 0;
};

// Every movement of money goes through Finance.
class FinanceDept {
public:
    virtual ~FinanceDept() = default;
    // A machine bought for minus its price, starting `months` ahead; false,
    // with nothing booked, when the machine starts pending are at their limit.
    virtual bool add_machine(int32_t amount, int months) = 0;
    // deferred 0: booked now; else booked after the receivable (amount > 0)
    // or payable (amount < 0) terms.
    virtual void post_cash(int32_t amount, int16_t deferred) = 0;
    virtual int16_t receivable_terms() const = 0;
    virtual int16_t payable_terms() const = 0;
    // The totals the posting departments add to themselves (accumulated and
    // current year unless said otherwise). Receipts and payments posted at
    // once, both as positive amounts.
    virtual void add_cash_receipts(int32_t amount) = 0;
    virtual void add_cash_payments(int32_t amount) = 0;
    // Current year only.
    virtual void add_sales(int32_t amount) = 0;
    // Marketing and sales expenses, and total expenses.
    virtual void add_marketing_expenses(int32_t amount) = 0;
    virtual void add_promotion_expenses(int32_t amount) = 0;
    virtual void add_inventory_written_off(int32_t amount) = 0;
    virtual void add_materials_consumed(int32_t amount) = 0;
    // Purchasing's daily copy of the materials consumed so far.
    virtual void keep_materials_consumed_copy() = 0;
    // The share of a month's working minutes in which machines work, and the
    // month's direct labour and production expenses as charged (overtime
    // included), for Marketing's unit costs.
    virtual float machine_work_percent() const = 0;
    virtual int32_t monthly_direct_labour() const = 0;
    virtual int32_t monthly_production_expenses() const = 0;
    // The rest of the month's overheads Marketing's indirect unit cost spreads:
    // marketing, management and general, the other assets and the machines.
    virtual int32_t monthly_marketing_expenses() const { return 0; }
    virtual int32_t monthly_management_expenses() const { return 0; }
    virtual int32_t asset_value() const { return 0; }
    virtual int32_t machine_investment_value() const { return 0; }
};

// What Marketing, Purchasing and Finance call of Production.
class ProductionDept {
public:
    virtual ~ProductionDept() = default;
    // Order types 0 stock, 1 customer, 3 manual, 4 forecast, 5 reorder
    // point, 6 contract; item kind 2 a finished product.
    virtual void add_order(int16_t family, int16_t product, int16_t quantity, int16_t order_type, int16_t item_kind,
                           int16_t lead_days, int32_t unused1 = 100, int32_t unused2 = -1) = 0;
    // Lost or cancelled demand takes units back from the open orders.
    virtual void reduce_production_orders(int16_t family, int16_t product, int16_t quantity) = 0;
    virtual int16_t get_on_order_units(int16_t family, int16_t product) = 0;
    virtual int32_t get_standard_material_cost(int16_t family, int16_t product) = 0;
    virtual int count_active_units() = 0;
    // A product introduced during the run joins the plant; false when none waits under that code.
    virtual bool activate_new_product(int family, int product) = 0;
    // The product leaves the plant again; only the last one brought in can.
    virtual bool deactivate_new_product(int16_t family, int16_t product) = 0;
    // One unit's material cost at the materials' average cost, and the uses of one material.
    virtual float get_material_cost_of_product(int16_t family, int16_t product) = 0;
    virtual int16_t get_num_materials_in_product(int16_t family, int16_t product, int material_family,
                                                 int material) = 0;
    virtual void on_product_retired(int family, int product) = 0;
    virtual int32_t get_process_minutes_per_unit(int16_t family, int16_t product) = 0;
    // After Marketing's links change: forecast netting and spreading, forecast orders, planning.
    virtual void on_link_mode_changed() = 0;
    virtual void net_forecast_requirements() = 0;
    virtual void spread_forecast(int raise_only) = 0;
    // The raw materials the plan and the contracts ahead need, by due minute, family and material.
    virtual void get_material_requirements(std::vector<MaterialRequirement>& list) = 0;
    // Working days of this month on which an extra shift was worked.
    virtual int16_t extra_shift_days() = 0;
    // The raw-material release policy (1: MRP), which Purchasing's MRP needs.
    virtual int16_t raw_material_release_policy() { return 0; }
    // The Master Production Schedule dialog, which Marketing's menu opens too.
    virtual void show_master_production_schedule() {}
};

// Every department's neighbours, as the assembly wires them.
struct DepartmentLinks {
    MarketingDept* marketing = nullptr;
    ProductionDept* production = nullptr;
    PurchasingDept* purchasing = nullptr;
    FinanceDept* finance = nullptr;
};
