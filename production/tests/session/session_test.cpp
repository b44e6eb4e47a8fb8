// The Production department in a whole session over the bundled sample: the
// scenario's plant runs for a month, the session saves and resumes, the
// same seed gives the same state files.
#include "app/view.h"
#include "finance/finance_dept.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/scenario.h"
#include <algorithm>
#include "vorn/assembly.h"
#include "vorn/stand_ins.h"
#include "purchasing/purchasing_dept.h"
#include <gtest/gtest.h>
#include <map>

namespace {

const std::string data_dir = bundled_data_copy();
const std::string sample = data_dir + "/SAMPLE.VNB";

DriverOptions production_options(int32_t seed)
{
    DriverOptions o;
    o.seed = seed;
    o.workdir = data_dir;   // the scenario's folder holds the files a session reads beside it
    o.config.timer_enabled = false;
    // Production against the stand-ins: the real market would draw orders of its own.
    o.factory = [](CVornView& view) {
        Departments d = assemble_departments(view, {});
        auto market = std::make_unique<StandInMarketing>();
        DepartmentLinks links;
        links.marketing = market.get();
        links.production = dynamic_cast<ProductionDept*>(d.production.get());
        links.purchasing = dynamic_cast<PurchasingDept*>(d.purchasing.get());
        auto& finance = dynamic_cast<FinanceDepartment&>(*d.finance);
        links.finance = &finance.books();
        dynamic_cast<ProductionDepartment&>(*d.production).connect(links);
        finance.connect(links);
        d.marketing = std::move(market);
        return d;
    };
    return o;
}

ProductionDepartment& production_of(SessionDriver& d)
{
    auto* p = dynamic_cast<ProductionDepartment*>(d.view().production);
    if (p == nullptr)
        throw std::logic_error("the session's Production is not the Production department");
    return *p;
}

// The session's stand-ins for the departments not built yet.
template <class StandIn>
StandIn& stand_in(CDepartmentWnd* slot)
{
    auto* s = dynamic_cast<StandIn*>(slot);
    if (s == nullptr)
        throw std::logic_error("the session's department is not the stand-in");
    return *s;
}
CPurchasingWnd& purchasing_of(SessionDriver& d)
{
    auto* p = dynamic_cast<PurchasingDepartment*>(d.view().purchasing);
    if (p == nullptr)
        throw std::logic_error("the session's Purchasing is not the Purchasing department");
    return p->engine();
}
StandInMarketing& marketing_of(SessionDriver& d) { return stand_in<StandInMarketing>(d.view().marketing); }

// Stands in for Marketing until it exists: material in the store and
// customer orders for A1 (one XA and two XB each, one U1 from stock).
void order_a1(SessionDriver& d, std::initializer_list<int16_t> quantities)
{
    purchasing_of(d).material(0, 0).stock = 1000;
    purchasing_of(d).material(0, 1).stock = 1000;
    for (int16_t q : quantities)
        production_of(d).engine().add_order(0, 0, q, ORDER_CUSTOMER, KIND_PRODUCT, 5);
}

SimDateTime months_later(SimDateTime d, int months)
{
    for (int i = 0; i < months; ++i) {
        d.month = static_cast<int16_t>(d.month % 12 + 1);
        if (d.month == 1)
            ++d.year;
    }
    return d;
}

std::string ext_of(const std::string& session, const char* ext)
{
    return session.substr(0, session.size() - 3) + ext;
}

// A month of the sample with a first batch of orders and a second one a
// week in, then two hours into the working day that releases a third
// batch; saved there.
void run_month_and_save(SessionDriver& d, int32_t seed, const std::string& session)
{
    ASSERT_TRUE(d.start(sample, production_options(seed)));
    ProductionDepartment& p = production_of(d);
    p.engine().Jobs[2]->add_material_to_output(nullptr, 0, 0, 60);   // U1 in stock
    order_a1(d, {6, 4, 5});
    const SimDateTime start = d.clock().current;
    d.runUntil(add_days(start, 7));
    order_a1(d, {8, 7});
    d.runUntil(months_later(start, 1));
    order_a1(d, {20});
    d.runTicks(480 + 120);
    ASSERT_TRUE(d.save(session));
}

} // namespace

TEST(ProductionSession, SampleRunsAMonthThenResumesFromItsSavedState)
{
    TempDir dir;
    const std::string session = dir / "month.vnb";
    SessionDriver first;
    run_month_and_save(first, 7, session);
    ProductionDepartment& p = production_of(first);
    const CProductionWnd& plant = p.engine();

    // The plant is the scenario's, read through the session's data file.
    ASSERT_EQ(plant.Machines.size(), 2u);
    EXPECT_STREQ(plant.Machines[1]->name, "M2");
    EXPECT_EQ(plant.constraint_machine, 1);
    // The first two batches (30 units of A1) reached finished goods within the month;
    // the third (20) is in work on the shop floor.
    EXPECT_GE(marketing_of(first).delivered, 30);
    EXPECT_LT(marketing_of(first).delivered, 50);
    EXPECT_FALSE(plant.Work_Orders.empty());
    EXPECT_EQ(purchasing_of(first).unsupplied_this_year[0][0] + purchasing_of(first).unsupplied_this_year[0][1], 0u);
    EXPECT_GT(first.tickCount(), 21 * 480);
    const std::vector<uint8_t> prd = read_bytes(ext_of(session, "PRD"));
    // The state file, then the tail: the work-order counter, then the set's serial (the
    // header's last four bytes).
    std::vector<uint8_t> expected = plant.save_state_bytes();
    expected.push_back(static_cast<uint8_t>(plant.wo_counter & 0xFF));
    expected.push_back(static_cast<uint8_t>(plant.wo_counter >> 8));
    const std::vector<uint8_t> mgr = read_bytes(ext_of(session, "MGR"));
    expected.insert(expected.end(), mgr.end() - 4, mgr.end());
    EXPECT_EQ(prd, expected);

    SessionDriver second;
    ASSERT_TRUE(second.start(session, production_options(7)));
    ASSERT_TRUE(second.view().resumed());
    EXPECT_EQ(second.tickCount(), first.tickCount());
    ProductionDepartment& q = production_of(second);
    // What was saved is what the resumed session saves again.
    EXPECT_EQ(q.engine().save_state_bytes(), std::vector<uint8_t>(prd.begin(), prd.end() - 6));
    EXPECT_EQ(q.engine().wo_counter, plant.wo_counter);
    const std::string again = dir / "again.vnb";
    ASSERT_TRUE(second.save(again));
    EXPECT_EQ(read_bytes(ext_of(again, "PRD")), prd);

    // The resumed plant finishes the work it took over.
    purchasing_of(second).material(0, 0).stock = 1000;
    purchasing_of(second).material(0, 1).stock = 1000;
    const int before = marketing_of(first).delivered;
    second.runUntil(add_days(second.clock().current, 4));
    EXPECT_EQ(marketing_of(second).delivered, 50 - before);
    EXPECT_TRUE(q.engine().Work_Orders.empty());
    EXPECT_TRUE(q.engine().prd_orders.empty());
}

TEST(ProductionSession, SameSeedSameStateFilesAnotherSeedAnotherPlant)
{
    TempDir dir;
    const std::string a = dir / "a.vnb", b = dir / "b.vnb", c = dir / "c.vnb";
    {
        SessionDriver d;
        run_month_and_save(d, 11, a);
    }
    {
        SessionDriver d;
        run_month_and_save(d, 11, b);
    }
    {
        SessionDriver d;
        run_month_and_save(d, 12, c);
    }
    for (const char* ext : {"MGR", "PRC", "MRK", "PRD", "FNC"})
        EXPECT_EQ(read_bytes(ext_of(a, ext)), read_bytes(ext_of(b, ext))) << ext;
    EXPECT_NE(read_bytes(ext_of(a, "PRD")), read_bytes(ext_of(c, "PRD")));
}

namespace {

// A steady order stream: every STREAM_STEP ticks the stores are filled and
// an order for A1 arrives, its size cycling through 3..7.
constexpr int32_t STREAM_STEP = 720;

void run_stream(SessionDriver& d, int32_t end)
{
    while (d.tickCount() < end) {
        const int32_t t = d.tickCount();
        if (t % STREAM_STEP == 0)
            order_a1(d, {static_cast<int16_t>(3 + (t / STREAM_STEP) % 5)});
        const int32_t next = std::min((t / STREAM_STEP + 1) * STREAM_STEP, end);
        ASSERT_EQ(d.runTicks(next - t), next - t);
    }
}

DriverOptions stream_options(int32_t seed)
{
    DriverOptions o = production_options(seed);
    o.continue_on_stop = true;
    return o;
}

std::map<std::string, std::vector<uint8_t>> state_files(const std::string& session)
{
    std::map<std::string, std::vector<uint8_t>> out;
    for (const char* ext : {"MGR", "PRC", "MRK", "PRD", "FNC"})
        out[ext] = read_bytes(ext_of(session, ext));
    return out;
}

} // namespace

TEST(ProductionSession, ARunSavedAndResumedHalfWayEndsAsTheUnbrokenRun)
{
    TempDir dir;
    constexpr int32_t middle = 7 * STREAM_STEP + 130;   // mid-morning, work on the floor
    constexpr int32_t end = 16 * STREAM_STEP;
    auto begin = [](SessionDriver& d) {
        ASSERT_TRUE(d.start(sample, stream_options(21)));
        production_of(d).engine().Jobs[2]->add_material_to_output(nullptr, 0, 0, 60);   // U1 in stock
    };

    const std::string whole = dir / "whole.vnb";
    {
        SessionDriver d;
        begin(d);
        run_stream(d, end);
        ASSERT_TRUE(d.save(whole));
    }
    const std::string half = dir / "half.vnb";
    {
        SessionDriver d;
        begin(d);
        run_stream(d, middle);
        ASSERT_TRUE(d.save(half));
    }
    const std::string resumed = dir / "resumed.vnb";
    {
        SessionDriver d;
        // Another seed for the start: the saved generator state is what counts.
        ASSERT_TRUE(d.start(half, stream_options(5)));
        ASSERT_TRUE(d.view().resumed());
        ASSERT_EQ(d.tickCount(), middle);
        run_stream(d, end);
        EXPECT_GT(marketing_of(d).delivered, 0);
        ASSERT_TRUE(d.save(resumed));
    }
    const auto a = state_files(whole), b = state_files(resumed);
    for (const auto& [ext, bytes] : a) {
        const std::vector<uint8_t>& other = b.at(ext);
        const auto diff = std::mismatch(bytes.begin(), bytes.end(), other.begin(), other.end());
        EXPECT_TRUE(diff.first == bytes.end() && diff.second == other.end())
            << ext << ": " << bytes.size() << " and " << other.size() << " bytes, first difference at "
            << (diff.first - bytes.begin());
    }
    EXPECT_NE(state_files(half).at("PRD"), a.at("PRD")) << "the second half changed the plant";
}

TEST(ProductionSession, ShownProductionGivesItsMenusAndDisplayFrequency)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, production_options(3)));
    ProductionDepartment& p = production_of(d);
    EXPECT_EQ(p.visible(), 0);
    d.view().SwitchDepartment(ID_PRODUCTION);
    EXPECT_EQ(p.visible(), 1);
    // Headless: no window, so the plant draws nothing however it runs.
    EXPECT_EQ(p.window_handle(), 0u);
    EXPECT_EQ(p.engine().ui->painter(), nullptr);
    // The sample's "Production View Menus" keep options 1 and 2, 1 and 1.
    const DepartmentMenus& m = d.view().menu_tables;
    ASSERT_EQ(m.tables[0].count, 2);
    EXPECT_EQ(m.tables[0].texts[1], "&Machine information");
    EXPECT_EQ(m.tables[0].texts[2], "Machines utilization");
    ASSERT_EQ(m.tables[1].count, 1);
    EXPECT_EQ(m.tables[1].texts[1], "&Display frequency");
    ASSERT_EQ(m.tables[2].count, 1);
    EXPECT_EQ(m.tables[2].texts[1], "&Raw material release");
    // The sample redraws daily: the clock takes the daily form while Production is shown.
    EXPECT_EQ(d.view().clock.display_frequency, 0);
    EXPECT_FLOAT_EQ(d.view().production->utilization_factor(), 0.75f);
    d.view().SwitchDepartment(ID_MARKETING);
    EXPECT_EQ(p.visible(), 0);
    EXPECT_EQ(d.view().clock.display_frequency, 1);

    // The full lists that the scenario's options index (ids 301-318, 401-414, 501-513).
    DepartmentMenus full;
    p.build_menus(full);
    struct Row {
        int table, count;
        const char* last;
    };
    for (const Row& r : {Row{0, 18, "&Unassigned common parts "}, Row{1, 14, "Add &Extra shift"},
                         Row{2, 13, "DBR &Constraint"}}) {
        ASSERT_EQ(full.tables[static_cast<size_t>(r.table)].count, r.count);
        EXPECT_EQ(full.tables[static_cast<size_t>(r.table)].texts[static_cast<size_t>(r.count)], r.last);
    }
    EXPECT_EQ(full.tables[0].texts[11], "Raw material re&lease");
    EXPECT_EQ(full.tables[1].texts[8], "&Remove work order");
    EXPECT_EQ(full.tables[2].texts[5], "&Scheduling options");
}

TEST(ProductionSession, DamagedPlantStateIsRefusedWithItsMessage)
{
    TempDir dir;
    const std::string session = dir / "s.vnb";
    {
        SessionDriver d;
        run_month_and_save(d, 5, session);
    }
    std::vector<uint8_t> prd = read_bytes(ext_of(session, "PRD"));
    ASSERT_GT(prd.size(), 2u);
    prd[56] = 0xFF;   // the order count after the settings: more orders than the file holds
    prd[57] = 0x7F;
    write_bytes(ext_of(session, "PRD"), prd);

    SessionDriver d;
    DriverOptions o = production_options(5);
    o.script = [](plat::ScriptedHost& h) {
        h.Answer(plat::IDOK, "Application Error");
        h.Answer(plat::IDOK, "Open Session");
    };
    EXPECT_FALSE(d.start(session, o));
    bool named = false, refused = false;
    for (const std::string& box : d.prompts()) {
        named = named || box == "Application Error|bad production 1 data";
        refused = refused || box.find("Damaged session state file") != std::string::npos;
    }
    EXPECT_TRUE(named);
    EXPECT_TRUE(refused);
}

TEST(ProductionSession, AWorkOrderCounterOutsideItsRangeIsRefused)
{
    TempDir dir;
    const std::string session = dir / "s.vnb";
    {
        SessionDriver d;
        run_month_and_save(d, 5, session);
    }
    const std::vector<uint8_t> good = read_bytes(ext_of(session, "PRD"));
    for (uint16_t counter : {0, 1000}) {
        SCOPED_TRACE(counter);
        std::vector<uint8_t> prd = good;
        prd[prd.size() - 2] = static_cast<uint8_t>(counter & 0xFF);
        prd[prd.size() - 1] = static_cast<uint8_t>(counter >> 8);
        write_bytes(ext_of(session, "PRD"), prd);
        SessionDriver d;
        d.host().Answer(plat::IDOK, "Open Session", "Damaged session state file",
                        plat::ScriptedHost::Match::Substring);
        EXPECT_FALSE(d.start(session, production_options(5)));
        EXPECT_EQ(d.prompts().size(), 1u);
    }
    // Cut off, the tail is missing: refused too.
    write_bytes(ext_of(session, "PRD"), std::vector<uint8_t>(good.begin(), good.end() - 1));
    SessionDriver d;
    d.host().Answer(plat::IDOK, "Open Session", "Damaged session state file", plat::ScriptedHost::Match::Substring);
    EXPECT_FALSE(d.start(session, production_options(5)));
}
