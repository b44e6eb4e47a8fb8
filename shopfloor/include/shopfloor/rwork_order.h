// A work order: production orders of one item bundled into one quantity, carried through the route.
#pragma once
#include "shopfloor/byte_stream.h"
#include "production/production_order.h"
#include <cstdint>
#include <utility>
#include <vector>

class Plant;

class RWork_Order {
public:
    explicit RWork_Order(Plant& plant);

    void add_request(ProductionOrder& order);
    void update_priority();
    uint16_t Add_Into_System(int16_t kind, uint8_t index, uint16_t quantity, int16_t x, int16_t y);
    uint16_t find_final_waiting_data() const;
    void allocate_finished();
    int16_t first_order_type() const;
    // Made for stock (reorder point, or a manual order of a stocked common part): its units
    // become free stock at the final job and the order ends with its last batch.
    bool made_for_stock() const;
    // The job whose output is this work order's item, and the product it belongs to.
    int final_job() const;
    int product_position() const;
    void save_state(ByteWriter& w) const;
    bool load_state(ByteReader& r);

    Plant* plant;
    char name[6] = {0};
    uint32_t created_minute = 0;
    int32_t due_minute = 0;
    int16_t item_kind = 0;
    uint8_t item = 255;
    uint32_t quantity = 0;
    uint32_t reserved = 0;
    uint16_t number = 0;
    uint16_t materials_started = 0;
    uint16_t has_customer_order = 0;
    int16_t priority = -32768;
    uint16_t mrp_planned = 1;
    std::vector<std::pair<int32_t, int32_t>> finished_split;   // (open, finished) per order
    std::vector<ProductionOrder*> Request;
};
