// The Production department's engine: orders, hooks, lookups, the plant loader and saved plant.
#pragma once
#include "production/departments.h"
#include "production/plant_data_source.h"
#include "production/production_order.h"
#include "shopfloor/host.h"
#include "shopfloor/plan_tables.h"
#include "shopfloor/plant.h"
#include <cstdint>
#include <string>
#include <vector>

// A route element: kind 0 raw material, 1 job, 2 product; the units per unit of its parent.
struct RouteItem {
    int16_t kind = 0;
    uint8_t index = 0;
    int32_t quantity = 1;
};

// One box of a route diagram: where it sits, the box it feeds (-1, -1 for the top product),
// its palette colour (-1 for a product's final job) and the item with its units.
struct RouteInfo {
    int16_t x = 0, y = 0;
    int16_t parent_x = -1, parent_y = -1;
    int16_t colour = -1;
    RouteItem item;
    uint16_t lead = 0;
    uint16_t constraint_path = 0;
};

class CProductionWnd : public Plant {
public:
    CProductionWnd(SimHost& host, ProductionUi& ui, MarketingDept& marketing, PurchasingDept& purchasing,
                   FinanceDept& finance);

    // Department hooks, called in the clock's order.
    void load_production_data(PlantDataSource& data);
    void after_data_loaded() {}
    int daily_step(int16_t restart);
    void on_minute();
    void on_hour();
    void on_new_week() { ++week_of_month; }
    void on_new_month();
    void on_new_year();
    void apply_shift_schedule();
    // A loaded plant's shift: the mode today's daily step left it in (the clock does not keep it).
    void restore_shift_mode();
    void update_link_buttons();
    int get_display_frequency() const;
    // The stored factor; past 2.0 (no stored value) this month's production share, 0.75 without one.
    float get_utilization_factor() const;
    void refresh_machine_loads();

    // Production orders.
    void add_order(int16_t family_id, int16_t product_index, int16_t quantity, int16_t order_type, int16_t item_kind,
                   int16_t lead_days, int32_t unused1 = 100, int32_t unused2 = -1);
    void reduce_production_orders(int16_t family_id, int16_t product_index, int16_t quantity);
    int16_t take_from_open_orders(uint16_t position, int16_t quantity);
    void remove_order(int index);
    int16_t get_on_order_units(int16_t family_id, int16_t product_index) const;
    // Puts the given orders into one new work order and into the shop.
    RWork_Order* release_orders(const std::vector<ProductionOrder*>& orders);
    // Groups free orders into work orders: 0 periodic, 1 immediate, 2 contract orders only;
    // 3 the periodic pass with its timing already decided (the 09:00 replan).
    void plan_work_orders(int mode);
    // Whether the 09:00 replan may run: today was a planning day (the timing is only read).
    bool is_planning_day() const;

    // Priorities of customer, stock and forecast orders from Marketing's position, then of reorders.
    int update_priorities(int unused = 0);
    int update_reorder_priorities(int unused = 0);
    // By signed due minute; equal keys keep their order.
    static void sort_orders_by_due(std::vector<ProductionOrder*>& list);
    // The Products position an order makes.
    uint16_t order_product(const ProductionOrder& o) const;

    // Forecast, reorder-point and contract orders.
    void make_forecast_orders();
    void spread_forecast(int raise_only);
    void net_forecast_requirements();
    void on_link_mode_changed();
    int make_reorder_orders();
    int16_t get_open_production_units(int position) const;
    void plan_contract_orders();
    int32_t units_due_in_window(const SimStamp& from, const SimStamp& to, int position) const;
    void delete_contract_work_orders();
    void drop_reorder_work_orders(int position);
    void edit_forecast();
    // Forecast slots a spread fills: by horizon and planned months, at most the 24 a product holds.
    int forecast_slot_count() const;
    static int16_t forecast_slot(const RProduct& p, int slot);
    static void set_forecast_slot(RProduct& p, int slot, int16_t units);

    // MRP release planning.
    void do_MRP();
    void explode_mrp(const RouteItem& item, int32_t multiplier, RWork_Order* wo, int32_t need, int32_t lead,
                     int parent, bool& replan, bool top);
    void make_common_part_order(const RouteItem& item, int32_t quantity, int32_t need);
    void set_all_dispatch_rules(int16_t value);
    void apply_mrp_lead_time();
    // The release policy in force again: the MRP lead time given out, held
    // transport released at once (policy 0), every machine scheduling as
    // possible (policy 1).
    void apply_release_policy();
    // What-if planning of contract orders and the current release; the real plant is left as it was.
    void get_material_requirements(std::vector<MaterialRequirement>& list);

    // Drum-buffer-rope release.
    void mark_constraint_routes();
    uint16_t find_constraint_path(const RouteItem& item);
    void set_release_below(const RouteItem& item, RWork_Order* wo, int parent, int32_t minute);
    void dbr_no_constrain();
    void do_DBR_constrain();
    int dbr_hourly_release();
    void set_raw_releases_according_to_list(const std::vector<Waiting_WO_Data*>& list);
    float buffer_factor(const RWork_Order& wo) const;

    // Route collection and the queries other departments read.
    void collect_route_info(const RouteItem& item, std::vector<RouteInfo>& list, int x_offset, int y_offset,
                            bool expand_all, const RWork_Order* wo);
    // A collected route drawn through the painter at design coordinates: the
    // job-column and level grid when asked, each box with the link to the box
    // it feeds, the buffer limits of buffer-limited jobs.
    void draw_route(const std::vector<RouteInfo>& list, bool grid, int y_offset);
    // The route in a work order's progress: job boxes coloured by what their
    // units do for it, then its quantities around each job box.
    void draw_route_wo_status(std::vector<RouteInfo>& list, const RWork_Order* wo);
    // The first job box (at the screen's scale) holding the point where the
    // work order waits: its name and inputs into text; false when none.
    bool route_hit_test(const std::vector<RouteInfo>& list, const RWork_Order* wo, int x, int y, float scale_x,
                        float scale_y, std::string& text) const;
    int32_t get_process_minutes_per_unit(int16_t family_id, int16_t product_index);
    int can_produce_product(int) const { return 1; }
    float get_material_cost_of_product(int16_t family_id, int16_t product_index);
    int16_t get_num_materials_in_product(int16_t family_id, int16_t product_index, int material_family, int material);
    int16_t get_num_materials_in_product_ex(int position, int material_family, int material);
    void on_product_retired(int, int) {}
    std::string get_product_name(int position) const;
    // The last product brought in goes back to its waiting slot; any other is refused.
    bool deactivate_new_product(int16_t family_id, int16_t product_index);

    // Lookups and roll-ups.
    int get_num_products() const { return static_cast<int>(Products.size()); }
    void product_pair_of(int position, uint16_t& family, uint16_t& product) const;
    uint16_t find_product_by_code_text(const char* code) const;
    int find_new_product(int family, int product) const;
    // A product introduced during the run joins Products with its jobs; false when none waits under that code.
    bool activate_new_product(int family, int product);
    std::string item_name(int16_t kind, int index) const;
    int is_bought_part(int position) const;
    int is_taken_from_stock(int position) const;
    int count_active_units() const;
    void compute_machine_load(int machine, int32_t& available, int32_t& existing);
    void buy_machine_unit(int machine);
    void load_rm_data_from_purch();
    void route_text(const RouteItem& item, std::vector<std::string>& out) const;
    int32_t work_content(const RouteItem& item);
    // Whether every product's work content fits the jobs' 32-bit field.
    bool work_content_fits();
    // The first job whose inputs lead back to itself (and the input that does), if any.
    bool find_route_loop(int& job, size_t& input) const;
    // Roll-ups through the structure; modes 0 price, 1 average cost, 2 count of a material,
    // 3 minutes per part, 4 uses of a job, 5 uses of a product, 6 first job on a machine.
    float evaluate_item(const RouteItem& item, int mode, int target);
    int32_t get_standard_material_cost(int16_t family_id, int16_t product_index);
    int32_t common_part_units_held(int position) const;
    void link_production_data();

    // Drawing primitives of route diagrams.
    void draw_job_box(int x, int y, int job, int colour);
    void draw_material_box(int x, int y, int material, int colour);
    void draw_product_box(int x, int y, int product, int colour);
    void draw_number_label(int x, int y, int value, bool right_aligned, int colour);
    void draw_route_link(int x1, int y1, int x2, int y2);

    // The plant part of the state file: orders, work orders, products, jobs, machines, transport.
    std::vector<uint8_t> save_plant() const;
    // False on any damage; the messages name the part ("bad work orders data", ...).
    // `used`, when given, takes the number of bytes the plant part took.
    bool load_plant(const std::vector<uint8_t>& bytes, std::string& error, size_t* used = nullptr);

    // The whole state file: settings, the plant part, the settings that follow it.
    std::vector<uint8_t> save_state_bytes() const;
    bool load_state_bytes(const std::vector<uint8_t>& bytes, std::string& error, size_t* used = nullptr);
    // The policies file's blocks: planning, machines, release (28 + 4 per machine bytes).
    int32_t policies_size() const;
    void write_policies(RecordWriter& out) const;
    // False (nothing changed) when the block holds a value the plant cannot run.
    bool read_policies(RecordReader& in);

    // Leaves no request, stock or transport pointing at a work order (a refused file's plant).
    void scrub_plant();

    bool in_minute() const { return minute_depth != 0; }

private:
    int minute_depth = 0;
    // The New_Products slot each activated product came from, in activation order (not saved:
    // a load activates again).
    std::vector<std::pair<uint16_t, int>> activated_;
    void check_bounds(bool ok, PlantDataSource& data, int level = 2);
};

inline constexpr uint32_t PRODUCTION_MARKER = 0x075BCCC1u;
