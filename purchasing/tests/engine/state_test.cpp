// The saved state: byte images read back to the same bytes, damaged images
// refused whole, the policies blocks, kept fuzz inputs (the version gates:
// session/older_files_test.cpp).
#include "support/fixture.h"
#include "foundation/binfile.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

// A department mid-run: open orders, two contracts with shipments on their
// way, an MRP plan and policy values away from their defaults.
void busy(Fixture& fx)
{
    fixed_lead_draw(12);
    fx.xa().stock = 20;
    fx.p.order_level_ordering();
    ASSERT_EQ(fx.p.create_contract(0, 0, {10, 5}), "");
    ASSERT_EQ(fx.p.create_contract(1, 0, {30}), "");
    fx.p.suppliers[0].lead_base = 0;
    for (int i = 0; i < 11; ++i)
        fx.next_day();
    fx.p.plan.push_back({0, 1, 44, fx.view.clock.current, fx.view.clock.AddWorkDays(fx.view.clock.current, 3)});
    fx.p.safety_stock[1][0] = 9;
    fx.p.red_line_time[0][1] = 4;
    fx.p.minimum_to_order = 12;
    fx.p.unsupplied_since_step[0][0] = 3;
    fx.p.unsupplied_last_year[0][1] = 8;
    ASSERT_FALSE(fx.p.shipments.empty());
    ASSERT_FALSE(fx.p.orders.empty());
}

size_t material_bytes() { return 3 * RAW_MATERIAL_BYTES; }

TEST(StateFile, SavedLoadedSavedIsTheSameBytes)
{
    Fixture fx;
    busy(fx);
    const std::vector<uint8_t> bytes = fx.p.save_state_bytes();
    Fixture other;
    // The clock and the tick count are the session's, restored beside this file.
    other.view.clock.current = fx.view.clock.current;
    other.view.tick_count = fx.view.tick_count;
    ASSERT_TRUE(other.p.load_state_bytes(bytes));
    EXPECT_EQ(other.p.save_state_bytes(), bytes);
    EXPECT_EQ(other.p.orders.size(), fx.p.orders.size());
    EXPECT_EQ(other.p.contracts.size(), 2u);
    EXPECT_EQ(other.p.contracts[1].dates.size(), fx.p.contracts[1].dates.size());
    EXPECT_EQ(other.p.shipments.size(), fx.p.shipments.size());
    EXPECT_EQ(other.on_order(0, 0), fx.on_order(0, 0));
    EXPECT_EQ(other.p.plan.size(), 1u);
    EXPECT_EQ(other.p.minimum_to_order, 12);
    EXPECT_EQ(other.xa().stock, fx.xa().stock);
    // Both run on the same way.
    for (int i = 0; i < 20; ++i) {
        fx.next_day();
        other.next_day();
    }
    EXPECT_EQ(other.p.save_state_bytes(), fx.p.save_state_bytes());
}

TEST(StateFile, LayoutSizes)
{
    Fixture fx;
    const std::vector<uint8_t> bytes = fx.p.save_state_bytes();
    // Materials, n, s suppliers, c, m, on order, shipping, flags, 31 dates,
    // policy, empty plan, QLT pair, three tables, four unsupplied tables,
    // issued since plan, weekly flag, minimum, unsupplied since the step.
    const size_t expected = material_bytes() + 2 + 2 + 2 * SUPPLIER_BYTES + 2 + 2 + 24 + 12 + 2 + 4 + 2 + 310 + 2 +
                            2 + 4 + 72 + 192 + 24 + 2 + 2 + 48;
    EXPECT_EQ(bytes.size(), expected);
}

TEST(StateFile, DamagedImagesAreRefusedAndTheDepartmentKept)
{
    Fixture fx;
    busy(fx);
    const std::vector<uint8_t> good = fx.p.save_state_bytes();
    const size_t orders_at = material_bytes();
    const size_t suppliers_at = orders_at + 2 + fx.p.orders.size() * VENDOR_ORDER_BYTES;
    const size_t contracts_at = suppliers_at + 2 + 2 * SUPPLIER_BYTES;
    auto put16 = [](std::vector<uint8_t>& b, size_t at, int16_t v) {
        b[at] = static_cast<uint8_t>(v & 0xFF);
        b[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    };
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
    } cases[] = {
        {"short", [](std::vector<uint8_t>& b) { b.pop_back(); }},
        {"long", [](std::vector<uint8_t>& b) { b.push_back(0); }},
        {"empty", [](std::vector<uint8_t>& b) { b.clear(); }},
        {"order count 150", [&](std::vector<uint8_t>& b) { put16(b, orders_at, 150); }},
        {"order count -1", [&](std::vector<uint8_t>& b) { put16(b, orders_at, -1); }},
        {"order family 3", [&](std::vector<uint8_t>& b) { put16(b, orders_at + 2, 3); }},
        {"order material of another family", [&](std::vector<uint8_t>& b) { put16(b, orders_at + 4, 3); }},
        {"order quantity 0", [&](std::vector<uint8_t>& b) { put16(b, orders_at + 6, 0); }},
        {"order supplier who does not sell it", [&](std::vector<uint8_t>& b) { put16(b, orders_at + 8, 1); }},
        {"order supplier 12", [&](std::vector<uint8_t>& b) { put16(b, orders_at + 8, 12); }},
        {"order date month 13", [&](std::vector<uint8_t>& b) { put16(b, orders_at + 12, 13); }},
        {"supplier count 3", [&](std::vector<uint8_t>& b) { put16(b, suppliers_at, 3); }},
        {"package count 3", [&](std::vector<uint8_t>& b) { put16(b, suppliers_at + 2 + 328, 3); }},
        {"sample count 51", [&](std::vector<uint8_t>& b) { put16(b, suppliers_at + 2 + 432, 51); }},
        {"contract count 11", [&](std::vector<uint8_t>& b) { put16(b, contracts_at, 11); }},
        {"contract supplier 2", [&](std::vector<uint8_t>& b) { put16(b, contracts_at + 2, 2); }},
        {"contract package 1", [&](std::vector<uint8_t>& b) { put16(b, contracts_at + 4, 1); }},
        {"contract frequency 2", [&](std::vector<uint8_t>& b) { put16(b, contracts_at + 6 + 4, 2); }},
        {"contract all quantities 0",
         [&](std::vector<uint8_t>& b) {
             put16(b, contracts_at + 6 + 10 + 6, 0);
             put16(b, contracts_at + 6 + 10 + 8 + 6, 0);
         }},
        {"contract quantity -1", [&](std::vector<uint8_t>& b) { put16(b, contracts_at + 6 + 10 + 6, -1); }},
        {"contract date count 69", [&](std::vector<uint8_t>& b) { put16(b, contracts_at + 6 + 108 + 20, 69); }},
        {"day index 32", [&](std::vector<uint8_t>& b) { put16(b, b.size() - 48 - 2 - 2 - 24 - 192 - 72 - 4 - 2 - 26 - 2 - 310 - 2, 32); }},
        {"policy 2", [&](std::vector<uint8_t>& b) { put16(b, b.size() - 48 - 2 - 2 - 24 - 192 - 72 - 4 - 2 - 26 - 2, 2); }},
        {"plan count beyond the bytes", [&](std::vector<uint8_t>& b) { put16(b, b.size() - 48 - 2 - 2 - 24 - 192 - 72 - 4 - 2 - 26, 30000); }},
        {"weekly flag 2", [&](std::vector<uint8_t>& b) { put16(b, b.size() - 48 - 2 - 2, 2); }},
        {"minimum -1", [&](std::vector<uint8_t>& b) { put16(b, b.size() - 48 - 2, -1); }},
        {"red-line status 3", [&](std::vector<uint8_t>& b) { put16(b, 1 + 2 * 10, 3); }},
        {"default supplier 5", [&](std::vector<uint8_t>& b) { put16(b, 1 + 2 * 20 + 4 * 20, 5); }},
        {"default supplier who does not sell", [&](std::vector<uint8_t>& b) { put16(b, 1 + 2 * 20 + 4 * 20, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bad = good;
        c.damage(bad);
        ASSERT_NE(bad, good);
        Fixture other;
        busy(other);
        const std::vector<uint8_t> before = other.p.save_state_bytes();
        EXPECT_FALSE(other.p.load_state_bytes(bad));
        EXPECT_EQ(other.p.save_state_bytes(), before);
    }
}

TEST(Policies, BlockOfTheSampleShapeRoundTrips)
{
    Fixture fx;
    EXPECT_EQ(fx.p.policies_size(), 74);
    fx.p.policy = POLICY_MRP;
    fx.p.days_before_qlt = 3;
    fx.p.according_to_qlt = 0;
    fx.p.minimum_to_order = 11;
    fx.xb().order_level = 77;
    fx.p.safety_stock[1][0] = 6;
    fx.p.red_line_time[0][1] = 2;
    RecordWriter w;
    fx.p.write_policies(w);
    ASSERT_EQ(w.bytes().size(), 74u);
    Fixture other;
    RecordReader r(w.bytes().data(), w.bytes().size());
    ASSERT_TRUE(other.p.read_policies(r));
    EXPECT_EQ(other.p.policy, POLICY_MRP);
    EXPECT_EQ(other.p.days_before_qlt, 3);
    EXPECT_EQ(other.p.according_to_qlt, 0);
    EXPECT_EQ(other.p.minimum_to_order, 11);
    EXPECT_EQ(other.xb().order_level, 77);
    EXPECT_EQ(other.p.safety_stock[1][0], 6);
    EXPECT_EQ(other.p.red_line_time[0][1], 2);
    // A negative level is not taken, and nothing else is either.
    std::vector<uint8_t> bad = w.bytes();
    bad[8] = 0xFF;
    bad[9] = 0xFF;
    Fixture third;
    RecordReader rb(bad.data(), bad.size());
    EXPECT_FALSE(third.p.read_policies(rb));
    EXPECT_EQ(third.p.policy, POLICY_ORDER_LEVEL);
}

TEST(FuzzCorpus, KeptStateInputsReadCleanly)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(VORN_TEST_DATA) / "fuzz" / "prc")) {
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        fuzz_prc_state(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++files;
    }
    EXPECT_GE(files, 2);
}

} // namespace
