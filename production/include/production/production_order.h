// A request to make a quantity of one product by a due minute; the record the state file stores.
#pragma once
#include <cstdint>

class RWork_Order;

// Ten bytes in files: year, month, day, hour, minute as 16-bit values.
struct SimStamp {
    int16_t year = 0;
    int16_t month = 0;
    int16_t day = 0;
    int16_t hour = 0;
    int16_t minute = 0;
};

enum ProductionOrderType : int16_t {
    ORDER_STOCK = 0,
    ORDER_CUSTOMER = 1,
    ORDER_MANUAL = 3,
    ORDER_FORECAST = 4,
    ORDER_REORDER = 5,
    ORDER_CONTRACT = 6,
};

struct ProductionOrder {
    SimStamp order_date;
    uint32_t due_minute = 0;
    int16_t family_id = 0;
    int16_t product_index = 0;
    int16_t quantity = 0;
    int16_t scratch = 0;   // zero at creation so saved bytes do not depend on memory
    int16_t order_type = 0;
    int16_t in_work_order = 0;
    RWork_Order* work_order = nullptr;
    int16_t item_kind = 2;
    int16_t priority = 0;
    int16_t top_up = 0;
    int16_t lead_days = 0;
};

inline constexpr int PRODUCTION_ORDER_FILE_SIZE = 38;
