// The red line of both policies, the daily count and the monthly and
// yearly rolls; lookups; the scripted two years' invariants.
#include "support/fixture.h"
#include <gtest/gtest.h>

namespace {

TEST(RedLine, StatusByPositionAgainstTheLevels)
{
    Fixture fx;
    RawMaterial& m = fx.ya();
    m.order_level = 20;
    m.red_line_level = 10;
    struct Step {
        int16_t stock, status;
    } steps[] = {{25, 0}, {20, 1}, {11, 1}, {10, 1}, {9, 2}, {10, 2}, {25, 0}, {10, 0}};
    for (const Step& s : steps) {
        m.stock = s.stock;
        fx.p.check_material_red_line();
        EXPECT_EQ(m.red_line_status, s.status) << s.stock;
    }
    m.order_level = m.red_line_level = 0;
    m.stock = -50;
    fx.p.check_material_red_line();
    EXPECT_EQ(m.red_line_status, 0);
    // A red line above the order level: between the two is red.
    m.order_level = 10;
    m.red_line_level = 20;
    m.stock = 15;
    fx.p.check_material_red_line();
    EXPECT_EQ(m.red_line_status, 2);
}

TEST(RedLine, OneChangePerFamilyAndPass)
{
    Fixture fx;
    fx.xa().stock = 50;   // both of family X cross into red at once
    fx.xb().stock = 10;
    fx.p.check_material_red_line();
    EXPECT_EQ(fx.xa().red_line_status, 2);
    EXPECT_EQ(fx.xb().red_line_status, 0);
    fx.p.check_material_red_line();
    EXPECT_EQ(fx.xb().red_line_status, 2);
    EXPECT_TRUE(fx.p.any_material_in_red_line());
}

TEST(RedLine, MrpFlagNeedsARedLineTime)
{
    Fixture fx;
    fx.p.policy = POLICY_MRP;
    fx.xa().stock = 0;
    fx.xa().red_line_level = 0;
    fx.p.plan.push_back({0, 0, 50, fx.view.clock.current, fx.view.clock.current});
    fx.p.check_mrp_red_line();
    EXPECT_EQ(fx.p.mrp_red_line[0][0], 0);   // red-line time 0: never
    fx.p.red_line_time[0][0] = 2;
    fx.p.check_mrp_red_line();
    EXPECT_EQ(fx.p.mrp_red_line[0][0], 1);
    EXPECT_TRUE(fx.p.any_material_in_red_line());
    fx.xa().stock = 60;
    fx.p.check_mrp_red_line();
    EXPECT_EQ(fx.p.mrp_red_line[0][0], 0);
}

TEST(Rolls, HistoriesTakeTheEndedMonthAsNewest)
{
    Fixture fx;
    RawMaterial& m = fx.xa();
    m.issued_this_month = 42;
    m.monthly_issues[11] = 110;
    fx.p.unsupplied_this_month[0][0] = 7;
    fx.view.clock.work_days_this_month = 4;
    m.stock = 10;   // red for the days counted
    fx.p.check_material_red_line();
    fx.p.count_red_line_days();
    EXPECT_FLOAT_EQ(m.red_line_share, 0.25f);
    fx.p.on_new_month();
    EXPECT_EQ(m.issued_last_month, 42);
    EXPECT_EQ(m.issued_this_month, 0);
    EXPECT_FLOAT_EQ(m.monthly_issues[11], 42.0f);
    EXPECT_FLOAT_EQ(m.monthly_issues[10], 110.0f);
    EXPECT_EQ(fx.p.unsupplied_history[5][0][0], 7u);
    EXPECT_EQ(fx.p.unsupplied_last_month[0][0], 7u);
    EXPECT_EQ(fx.p.unsupplied_this_month[0][0], 0u);
    EXPECT_FLOAT_EQ(m.red_line_shares[5], 0.25f);
    EXPECT_FLOAT_EQ(m.red_line_share_last_month, 0.25f);
    EXPECT_EQ(m.red_line_days, 0);
    EXPECT_EQ(fx.p.day_index, 0);
}

TEST(Rolls, SupplierAverageLeadTime)
{
    Fixture fx;
    Supplier& s = fx.p.suppliers[0];
    s.lead_samples[0] = 4;
    s.lead_samples[1] = 6;
    s.sample_count = 2;
    fx.p.on_new_month();
    EXPECT_FLOAT_EQ(s.average_lead, 5.0f);
    EXPECT_EQ(s.sample_count, 0);
    s.lead_samples[0] = 8;
    s.sample_count = 1;
    fx.p.on_new_month();
    EXPECT_FLOAT_EQ(s.average_lead, 6.5f);
    fx.p.on_new_month();   // no samples: kept
    EXPECT_FLOAT_EQ(s.average_lead, 6.5f);
}

TEST(Rolls, YearlyRollMovesStocksUnsuppliedAndShipping)
{
    Fixture fx;
    fx.xa().stock = 123;
    fx.p.unsupplied_this_year[0][0] = 9;
    fx.p.shipping_this_year = 300;
    fx.p.roll_yearly_stats();
    EXPECT_EQ(fx.xa().stock_last_year_start, 400);
    EXPECT_EQ(fx.xa().stock_year_start, 123);
    EXPECT_EQ(fx.p.unsupplied_last_year[0][0], 9u);
    EXPECT_EQ(fx.p.unsupplied_this_year[0][0], 0u);
    EXPECT_EQ(fx.p.shipping_last_year, 300);
    EXPECT_EQ(fx.p.shipping_this_year, 0);
}

TEST(Lookups, MaterialsByCodeAndIndex)
{
    Fixture fx;
    struct Case {
        const char* code;
        uint16_t f, m;
    } cases[] = {{"XA", 0, 0}, {"XB", 0, 1}, {"YA", 1, 0}, {"YB", 1, 0xFFFF}, {"ZA", 0xFFFF, 0xFFFF}};
    for (const Case& c : cases) {
        uint16_t f = 1, m = 1;
        fx.p.find_material_by_code(c.code, f, m);
        EXPECT_EQ(f, c.f) << c.code;
        EXPECT_EQ(m, c.m) << c.code;
    }
    uint16_t f = 7, m = 7;
    fx.p.material_by_index(2, f, m);
    EXPECT_EQ(f, 1);
    EXPECT_EQ(m, 0);
    f = m = 7;
    fx.p.material_by_index(3, f, m);   // past the end: untouched
    EXPECT_EQ(f, 7);
    EXPECT_EQ(m, 7);
}

TEST(Unsupplied, CountedSinceTheStepThisMonthAndYear)
{
    Fixture fx;
    fx.p.add_unsupplied_units(0, 1, 5);
    fx.p.add_unsupplied_units(0, 1, -3);
    EXPECT_EQ(fx.p.unsupplied_since_step[0][1], 5u);
    EXPECT_EQ(fx.p.unsupplied_this_month[0][1], 5u);
    EXPECT_EQ(fx.p.unsupplied_this_year[0][1], 5u);
    fx.step();
    EXPECT_EQ(fx.p.unsupplied_since_step[0][1], 0u);
    EXPECT_EQ(fx.p.unsupplied_this_month[0][1], 5u);
}

// Two years of scripted issues under order level with a contract running:
// on order is what is open and on its way, stock is what came minus what went.
TEST(Invariants, TwoYearsOfIssuesOrdersAndShipments)
{
    Fixture fx;
    rand_tables_clear();
    ASSERT_EQ(load_random_tables(VORN_SOURCE_DIR "/resources/data/bgtables.tbl"), 1);
    fx.view.srand(5);
    ASSERT_EQ(fx.p.create_contract(0, 0, {10, 5}), "");
    fx.ui.answers.assign(4, CONTRACT_RENEW);
    int32_t issued[3] = {0, 0, 0}, arrived[3] = {0, 0, 0};
    const int16_t opening[3] = {fx.xa().stock, fx.xb().stock, fx.ya().stock};
    int32_t shipping = 0;
    int month = fx.view.clock.current.month;
    for (int day = 0; day < 2 * 260; ++day) {
        fx.view.clock.current = fx.view.clock.AddWorkDays(fx.view.clock.current, 1);
        fx.view.tick_count += 480;
        if (fx.view.clock.current.month != month) {
            month = fx.view.clock.current.month;
            fx.p.on_new_month();
        }
        // Every arrival pays its supplier's shipping once.
        int32_t ship_due = 0;
        for (const VendorOrder& o : fx.p.orders)
            if (compare_dates(o.arrival, fx.view.clock.current) != 2)
                ship_due += fx.p.suppliers[static_cast<size_t>(o.supplier)].shipping_cost;
        const size_t in_transit = fx.p.shipments.size();
        const int16_t next = fx.p.contracts[0].next_shipment;
        fx.step();
        const int dispatched = fx.p.contracts[0].next_shipment - next;
        const int contract_arrivals =
            static_cast<int>(in_transit) + (dispatched >= 0 ? dispatched : fx.p.contracts[0].next_shipment) -
            static_cast<int>(fx.p.shipments.size());
        shipping += ship_due + contract_arrivals * fx.p.suppliers[0].shipping_cost;
        const int slot = fx.p.day_index - 1;
        for (int k = 0; k < 3; ++k) {
            const int f = k < 2 ? 0 : 1, m = k < 2 ? k : 0;
            RawMaterial& r = fx.p.material(f, m);
            arrived[k] += r.daily_arrived[static_cast<size_t>(slot)] + r.daily_contract_arrivals[static_cast<size_t>(slot)];
            const int q = (day * 7 + k * 3) % 23;
            fx.p.add_stock(f, m, -q, 1);
            issued[k] += q;
            int32_t open = 0;
            for (const VendorOrder& o : fx.p.orders)
                if (o.family == f && o.material == m)
                    open += o.quantity;
            for (const ContractShipment& s : fx.p.shipments) {
                const PurchaseContract& c = fx.p.contracts[static_cast<size_t>(fx.p.contract_by_serial(s.contract))];
                for (int i = 0; i < c.package.count; ++i)
                    if (c.package.items[static_cast<size_t>(i)].family == f &&
                        c.package.items[static_cast<size_t>(i)].material == m)
                        open += c.package.items[static_cast<size_t>(i)].quantity;
            }
            ASSERT_EQ(fx.on_order(f, m), open) << "day " << day << " material " << k;
            ASSERT_GE(fx.on_order(f, m), 0);
            ASSERT_EQ(r.stock, opening[k] + arrived[k] - issued[k]) << "day " << day;
        }
    }
    EXPECT_GT(arrived[0], 0);
    EXPECT_GT(shipping, 0);
    EXPECT_EQ(fx.p.shipping_total, shipping);
    EXPECT_GT(fx.finance.rmc, 0);
}

} // namespace
