// Purchasing's lead-time draws come from the session's one generator: the
// same seed gives the same leads in two sessions of one process and another
// seed other leads; a draw placed between two ticks shifts the shop floor's
// draws of the next tick by exactly one; and the material issued to the
// shop floor stays in process until its product reaches finished goods.
#include "app/view.h"
#include "foundation/randtables.h"
#include "plat/crt.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "purchasing/purchasing_dept.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace {

const std::string sample = bundled_data_copy() + "/SAMPLE.VNB";

DriverOptions options(int32_t seed)
{
    DriverOptions o;
    o.seed = seed;
    o.workdir = bundled_data_copy();
    o.config.timer_enabled = false;
    o.script = [](plat::ScriptedHost& h) { h.Answer(1, ""); };
    o.continue_on_stop = true;
    o.factory = department_assembly();
    return o;
}

CPurchasingWnd& engine(SessionDriver& d) { return dynamic_cast<PurchasingDepartment&>(*d.view().purchasing).engine(); }

// Every vendor order of the run as placed: material, order date and drawn arrival.
using Placed = std::tuple<int, int, int32_t, int32_t>;

int32_t minutes(const SimDateTime& t) { return date_to_minutes(t); }

std::vector<Placed> run_and_collect(SessionDriver& d, int days)
{
    std::vector<Placed> placed;
    std::set<Placed> seen;
    const SimDateTime end = d.view().clock.AddWorkDays(d.clock().current, days);
    while (compare_dates(d.clock().current, end) == 0 && d.runTicks(60) > 0)
        for (const VendorOrder& o : engine(d).orders) {
            const Placed p{o.family, o.material, minutes(o.order_date), minutes(o.arrival)};
            if (seen.insert(p).second)
                placed.push_back(p);
        }
    return placed;
}

bool plant_running(SessionDriver& d)
{
    for (const auto& m : dynamic_cast<ProductionDepartment&>(*d.view().production).engine().Machines)
        for (const auto& u : m->Units)
            if (u->state == UNIT_SETUP || u->state == UNIT_PROD)
                return true;
    return false;
}

// A copy of the session's generator for the draws the test predicts.
plat::Lcg g_copy;

// Runs tick by tick to the first minute at which a unit sets up or produces.
void run_to_busy_plant(SessionDriver& d)
{
    for (int i = 0; i < 20 * 480 && !plant_running(d); ++i)
        d.runTicks(1);
}

// The sample with its constraint machine's buffer lifted (with its limit of
// 100 the first large work order's material fills it and the plant stops).
bool start(SessionDriver& d, int32_t seed)
{
    if (!d.start(sample, options(seed)))
        return false;
    for (auto& m : dynamic_cast<ProductionDepartment&>(*d.view().production).engine().Machines)
        m->buffer_capacity = NO_LIMIT;
    return true;
}

} // namespace

TEST(PurchasingDraws, SameSeedSameLeadsOtherSeedOtherLeads)
{
    std::vector<Placed> first, second, other;
    {
        SessionDriver d;
        ASSERT_TRUE(start(d, 11));
        first = run_and_collect(d, 80);
    }
    {
        SessionDriver d;
        ASSERT_TRUE(start(d, 11));
        second = run_and_collect(d, 80);
    }
    {
        SessionDriver d;
        ASSERT_TRUE(start(d, 12345));
        other = run_and_collect(d, 80);
    }
    ASSERT_GE(first.size(), 3u) << "the sample orders material in a quarter";
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
}

TEST(PurchasingDraws, AnOrderBetweenTicksTakesTheNextDrawAndShiftsTheShopFloorsDraws)
{
    uint32_t before = 0, after_tick = 0;
    int32_t tick = 0;
    {
        SessionDriver d;
        ASSERT_TRUE(start(d, 5));
        run_to_busy_plant(d);
        ASSERT_TRUE(plant_running(d));
        tick = d.tickCount();
        before = d.view().rand_state();
        d.runTicks(1);
        after_tick = d.view().rand_state();
        ASSERT_NE(after_tick, before) << "the running plant draws in the tick";
    }
    SessionDriver d;
    ASSERT_TRUE(start(d, 5));
    run_to_busy_plant(d);
    ASSERT_EQ(d.tickCount(), tick);
    ASSERT_EQ(d.view().rand_state(), before);

    // Between ticks the session is the process's active one, as the program keeps it.
    CVornView* previous = set_active_view(&d.view());
    // The order's lead is the SUPPLIER_PLT value of the generator's next draw.
    g_copy.seed(before);
    set_random_source([] { return g_copy.next(); });
    const double value = draw_rand_table("SUPPLIER_PLT");
    set_random_source([] { return active_view() != nullptr ? active_view()->rand() : -1; });
    CPurchasingWnd& p = engine(d);
    // YA: no job takes it, so the plant runs as it would have.
    ASSERT_TRUE(p.place_vendor_order(1, 0, 1));
    EXPECT_EQ(d.view().rand_state(), g_copy.state()) << "one draw per order";
    const int lead = static_cast<int>(value * p.material(1, 0).lead_base / 10.0);
    EXPECT_EQ(minutes(p.orders.back().arrival), minutes(p.add_work_days(d.clock().current, lead)));

    set_active_view(previous);
    // The shop floor's draws of the next tick follow on from it.
    d.runTicks(1);
    plat::Lcg shifted(after_tick);
    shifted.next();
    EXPECT_EQ(d.view().rand_state(), shifted.state());
}

TEST(PurchasingDraws, IssuedMaterialIsInProcessUntilItsProductIsFinished)
{
    SessionDriver d;
    ASSERT_TRUE(start(d, 3));
    CPurchasingWnd& p = engine(d);
    int rises = 0, falls = 0;
    int32_t in_process = p.in_process_units(0, 0);
    int32_t issued = p.material(0, 0).issued_this_month;
    for (int day = 0; day < 60; ++day) {
        d.runTicks(480);
        const int32_t now = p.in_process_units(0, 0);
        const int32_t issued_now = p.material(0, 0).issued_this_month;
        ASSERT_GE(now, 0);
        // What rose came with the day's issues (the month's count restarts on a new month).
        if (now > in_process) {
            ++rises;
            if (issued_now >= issued) {
                EXPECT_LE(now - in_process, issued_now - issued);
            }
        }
        falls += now < in_process ? 1 : 0;
        in_process = now;
        issued = issued_now;
    }
    EXPECT_GT(rises, 0) << "XA is issued to the shop floor";
    EXPECT_GT(falls, 0) << "A1 reaches finished goods";
}
