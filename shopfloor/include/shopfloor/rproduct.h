// A product as production sees it: final job, stock policy, counters and lead-time statistics.
#pragma once
#include "shopfloor/byte_stream.h"
#include "shopfloor/stats.h"
#include <cstdint>

class Plant;
struct SimHost;

class RProduct {
public:
    void on_new_month();
    uint16_t free_stock_at_final_job(const Plant& plant) const;
    // Without a host, every field of the newest files; with one, those its state file carries.
    void save_state(ByteWriter& w, const SimHost* versions = nullptr) const;
    // Fields added by later versions are read only from files that carry them.
    bool load_state(ByteReader& r, const SimHost* versions = nullptr);

    int16_t priority = 0;
    uint16_t extra_item = 0;       // item 10: introduced during the run
    uint16_t position = 0;
    char code[3] = {0, 0, 0};
    uint16_t final_job = 0;
    int16_t stock_policy = 0;      // 0 made to order, 1 stocked common part
    uint16_t release_hours = 8;
    uint16_t spare = 0;
    uint16_t on_stock = 0;
    uint16_t buy = 0;
    uint16_t mrp_lead_time = 0;
    uint8_t history[48] = {};
    int16_t in_process = 0;
    int16_t on_order = 0;
    int16_t on_customer_orders = 0;
    int32_t departures = 0;        // only ever falls: widened, saturated in files
    uint16_t order_up_to = 0;
    uint16_t reorder_point = 0;
    uint16_t red_line_level = 0;   // item 5
    uint16_t lead_days = 0;
    AverageAccumulator acc[4];
    uint16_t means[4] = {0, 0, 0, 0};
    uint32_t lead_time_mean = 2147483647u;
    uint32_t lead_time_std = 2147483647u;
    MoveStdDev lead_times;
};
