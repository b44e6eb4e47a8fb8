// The plant: the Production department's lists and settings that the shop floor works over.
#pragma once
#include "shopfloor/host.h"
#include "shopfloor/rjob.h"
#include "shopfloor/rmachine.h"
#include "shopfloor/rproduct.h"
#include "shopfloor/rwork_order.h"
#include "shopfloor/shopfloor_types.h"
#include "shopfloor/stats.h"
#include "shopfloor/transport.h"
#include "production/departments.h"
#include "production/production_order.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Plant {
public:
    Plant(SimHost& host, ProductionUi& ui, MarketingDept& marketing, PurchasingDept& purchasing,
          FinanceDept& finance);
    virtual ~Plant();
    Plant(const Plant&) = delete;
    Plant& operator=(const Plant&) = delete;

    // Lookups (the department's small queries).
    uint16_t find_product(int16_t family_id, int16_t product_index) const;
    int find_raw_material(const char* code) const;
    static int route_column_x(int letter) { return (letter - 'a') * 55 + 25; }
    static int route_row_y(int level) { return (7 - level) * 55; }
    RJob* job(int index) const;
    RProduct* product(int index) const;

    // The one way a work order leaves the shop: nothing keeps a reference to it afterwards.
    void destroy_work_order(RWork_Order* wo);
    // Taken out with its counters (cancelled by the department).
    void remove_work_order(RWork_Order* wo);
    // Finished at a place where the caller still walks lists: destroyed at the end of the step.
    void doom(RWork_Order* wo);
    void reap();
    // Empty string when nothing refers to the work order, else what still does.
    std::string references_to(const RWork_Order* wo) const;
    int work_order_position(const RWork_Order* wo) const;
    int order_position(const ProductionOrder* o) const;

    void on_schedule_end(int machine);
    uint32_t tick() const { return host->tick(); }
    int rng() { return host->rng(); }
    bool shown() const { return ui->shown(); }

    SimHost* host;
    ProductionUi* ui;
    MarketingDept* marketing;
    PurchasingDept* purchasing;
    FinanceDept* finance;

    std::vector<std::unique_ptr<RMachine>> Machines;
    std::vector<std::unique_ptr<RProduct>> Products;
    std::vector<std::unique_ptr<RJob>> Jobs;            // a slot may be empty
    std::vector<std::unique_ptr<RWork_Order>> Work_Orders;
    std::vector<MaterialCode> Raw_Ms;
    std::vector<std::unique_ptr<RProduct>> New_Products;
    std::vector<std::unique_ptr<RJob>> New_Jobs;
    std::vector<std::unique_ptr<ProductionOrder>> prd_orders;
    std::unique_ptr<RTransport_Manager> transport;

    int16_t release_policy = 0;
    int16_t display_frequency = 0;
    int16_t mrp_option = 0;
    int16_t route_option = 1;
    int16_t halt_flag = 0;
    int16_t routing_option = 0;
    int16_t red_level_policy = 0;
    int16_t product_priority_on = 0;
    uint16_t selection[3] = {NONE16, NONE16, 0};
    int16_t spare = 0;
    int16_t wo_planning_mode = 0;
    int16_t spare_setting = 0;
    int16_t forecast_horizon_days = 0;
    int16_t forecast_range_months = 0;
    int16_t week_of_month = 0;
    SimStamp plan_date_1, plan_date_2;
    int16_t wo_planning_parameter = 0;
    int16_t wo_planning_countdown = 0;
    int16_t min_wo_demand = 0;
    int16_t min_wo_quantity = 0;
    int16_t mrp_setting = 0;
    int16_t constraint_machine = 0;
    int16_t shipping_buffer_hours = 0;
    int16_t constraint_buffer_hours = 0;
    int16_t assembly_buffer_hours = 0;
    int16_t red_line_hours = 0;
    float contract_factor = 1.0f;
    int16_t mrp_lead_time_minutes = 0;
    float utilization_factor = 0.75f;
    AverageAccumulator utilization_average;   // float sums: machines add 0.0..1.0
    int16_t batch_size = 0;
    int16_t merge_order_types = 0;
    int32_t all_products_routing = 0;
    int32_t show_load = 0;
    SimStamp extra_shift_start, extra_shift_end;
    int16_t extra_shift_days = 0;

    // Not saved: set by tests and, later, by the department's dialogs.
    int16_t wo_priority_option = 0;
    int16_t transport_policy = 0;   // 0 Partial, 1 Complete WO
    uint16_t wo_counter = 1;

private:
    std::vector<RWork_Order*> doomed;
};
