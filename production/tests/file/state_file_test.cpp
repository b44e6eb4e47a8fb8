// The whole Production state file: the settings around the plant part, their version gates and refusals.
#include "support/sim.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr size_t HEAD = 56;   // marker and settings up to the second plan date

void set_settings(CProductionWnd& p)
{
    p.release_policy = RELEASE_DBR_CONSTRAINT;
    p.display_frequency = 2;
    p.red_level_policy = 3;
    p.selection[0] = 1;
    p.selection[1] = NONE16;
    p.selection[2] = 1;
    p.wo_planning_mode = 1;
    p.wo_planning_parameter = 6;
    p.wo_planning_countdown = 6;
    p.forecast_horizon_days = 14;
    p.forecast_range_months = 2;
    p.week_of_month = 3;
    p.plan_date_1 = SimStamp{99, 3, 1, 8, 0};
    p.plan_date_2 = SimStamp{99, 2, 1, 8, 0};
    p.mrp_lead_time_minutes = 960;
    p.mrp_option = 1;
    p.route_option = 1;
    p.mrp_setting = 4;
    p.constraint_machine = 0;
    p.shipping_buffer_hours = 12;
    p.constraint_buffer_hours = 20;
    p.assembly_buffer_hours = 6;
    p.min_wo_demand = 3;
    p.min_wo_quantity = 7;
    p.utilization_factor = 0.5f;
    p.utilization_average.add_float(0.25f);
    p.batch_size = 25;
    p.merge_order_types = 1;
    p.product_priority_on = 1;
    p.extra_shift_start = SimStamp{99, 3, 2, 8, 0};
    p.extra_shift_end = SimStamp{99, 3, 5, 16, 0};
    p.extra_shift_days = 2;
    p.contract_factor = 1.5f;
    p.red_line_hours = 4;
}

} // namespace

TEST(StateFile, LayoutAndRoundTrip)
{
    Sim s;
    std::vector<uint8_t> bytes = s.prod.save_state_bytes();
    // No orders: the first plant marker after the settings, the count and the MRP settings.
    uint32_t marker = 0;
    std::memcpy(&marker, bytes.data() + 64, 4);
    EXPECT_EQ(marker, PRODUCTION_MARKER);
    std::memcpy(&marker, bytes.data(), 4);
    EXPECT_EQ(marker, PRODUCTION_MARKER);
    EXPECT_EQ(bytes.size(), HEAD + s.prod.save_plant().size() + 62);

    set_settings(s.prod);
    s.order_a1(12);
    s.prod.daily_step(0);
    s.prod.add_order(0, 0, 3, ORDER_STOCK, KIND_PRODUCT, 4);   // a free order: index 65535
    s.run(100);
    bytes = s.prod.save_state_bytes();
    Sim fresh;
    std::string error;
    size_t used = 0;
    ASSERT_TRUE(fresh.prod.load_state_bytes(bytes, error, &used)) << error;
    EXPECT_EQ(used, bytes.size());
    EXPECT_EQ(fresh.prod.save_state_bytes(), bytes);
    EXPECT_EQ(fresh.prod.release_policy, RELEASE_DBR_CONSTRAINT);
    EXPECT_EQ(fresh.prod.wo_planning_countdown, 6);
    EXPECT_EQ(fresh.prod.extra_shift_end.hour, 16);
    EXPECT_FLOAT_EQ(fresh.prod.contract_factor, 1.5f);
    EXPECT_EQ(fresh.prod.batch_size, 25);
    EXPECT_EQ(fresh.prod.routing_option, 1) << "the scenario's value stays";
}

TEST(StateFile, RefusalsNameTheirPartAndKeepTheSettings)
{
    Sim s;
    set_settings(s.prod);
    s.order_a1(12);
    s.prod.daily_step(0);
    const std::vector<uint8_t> good = s.prod.save_state_bytes();
    struct Case {
        const char* why;
        std::function<void(std::vector<uint8_t>&)> spoil;
        const char* error;
    };
    const size_t last_marker = good.size() - 10;
    const Case cases[] = {
        {"head marker", [](std::vector<uint8_t>& b) { b[0] = 0; }, "bad production file"},
        {"release policy 6", [](std::vector<uint8_t>& b) { b[4] = 6; }, "bad production 1 data"},
        {"planning mode 3", [](std::vector<uint8_t>& b) { b[22] = 3; }, "bad production 1 data"},
        {"cut inside the head", [](std::vector<uint8_t>& b) { b.resize(30); }, "bad production 1 data"},
        {"constraint machine out of range", [&](std::vector<uint8_t>& b) { b[last_marker - 52 + 2] = 9; },
         "bad production 2 data"},
        {"last marker", [&](std::vector<uint8_t>& b) { b[last_marker] = 0; }, "bad production 2 data"},
        {"contract factor past 100", [&](std::vector<uint8_t>& b) {
             const float f = 101.0f;
             std::memcpy(b.data() + last_marker + 4, &f, 4);
         }, "bad production 2 data"},
        {"contract factor not a number", [&](std::vector<uint8_t>& b) {
             const uint32_t nan = 0x7FC00000u;
             std::memcpy(b.data() + last_marker + 4, &nan, 4);
         }, "bad production 2 data"},
        {"cut inside the last rows", [&](std::vector<uint8_t>& b) { b.resize(last_marker + 6); }, "bad production 2 data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::vector<uint8_t> bad = good;
        c.spoil(bad);
        Sim fresh;
        const int16_t policy = fresh.prod.release_policy;
        const int16_t minimum = fresh.prod.min_wo_quantity;
        std::string error;
        EXPECT_FALSE(fresh.prod.load_state_bytes(bad, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(fresh.prod.release_policy, policy);
        EXPECT_EQ(fresh.prod.min_wo_quantity, minimum);
        EXPECT_FLOAT_EQ(fresh.prod.contract_factor, 1.0f);
    }
}
