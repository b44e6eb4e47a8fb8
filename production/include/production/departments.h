// What the departments call of one another. Each department implements
// its own interface; the program's assembly (vorn/) hands every department
// its neighbours as a DepartmentLinks once all of them exist, a stand-in in
// the place of a department not built yet.
#pragma once
#include <cstdint>
#include <vector>

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
};

// One raw material needed by the production plan at a minute; what Purchasing's MRP ordering reads.
struct MaterialRequirement {
    int16_t family = 0;
    int16_t material = 0;
    int16_t quantity = 0;
    int32_t due_minute = 0;
};

class FinanceDept {
public:
    virtual ~FinanceDept() = default;
    virtual void add_machine(int32_t amount, int months) = 0;
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
};

// Every department's neighbours, as the assembly wires them.
struct DepartmentLinks {
    MarketingDept* marketing = nullptr;
    ProductionDept* production = nullptr;
    PurchasingDept* purchasing = nullptr;
    FinanceDept* finance = nullptr;
};
