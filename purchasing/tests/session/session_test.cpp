// The sample for a quarter with Production, Purchasing and the Finance
// stand-in: the shop floor consumes XA and XB, order-level orders and a
// package contract refill them, MRP orders from a scripted requirements
// source (Production's MRP release planning is not there yet), a contract
// end is held and restored, the invariants hold every day, and a session
// saved mid-transit resumes with the same state bytes.
#include "app/view.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "purchasing/purchasing_dept.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/older_layouts.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include "finance/finance_dept.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

const std::string data_dir = bundled_data_copy();
const std::string sample = data_dir + "/SAMPLE.VNB";

DriverOptions session_options(int32_t seed)
{
    DriverOptions o;
    o.seed = seed;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    o.script = [](plat::ScriptedHost& h) { h.Answer(1, ""); };   // every box: OK
    o.continue_on_stop = true;
    o.factory = department_assembly();
    return o;
}

PurchasingDepartment& dept(SessionDriver& d) { return dynamic_cast<PurchasingDepartment&>(*d.view().purchasing); }
ProductionDepartment& production(SessionDriver& d) { return dynamic_cast<ProductionDepartment&>(*d.view().production); }
FinanceDepartment& finance(SessionDriver& d) { return dynamic_cast<FinanceDepartment&>(*d.view().finance); }

std::string ext_of(const std::string& session, const char* ext) { return session.substr(0, session.size() - 3) + ext; }

// On order is what is open and on its way, never below zero.
void check_invariants(CPurchasingWnd& p)
{
    for (int f = 0; f < p.family_count(); ++f)
        for (int m = 0; m < p.material_count(f); ++m) {
            int32_t open = 0;
            for (const VendorOrder& o : p.orders)
                if (o.family == f && o.material == m)
                    open += o.quantity;
            for (const ContractShipment& s : p.shipments) {
                const int c = p.contract_by_serial(s.contract);
                ASSERT_GE(c, 0);
                for (int i = 0; i < p.contracts[static_cast<size_t>(c)].package.count; ++i) {
                    const PackageItem& it = p.contracts[static_cast<size_t>(c)].package.items[static_cast<size_t>(i)];
                    if (it.family == f && it.material == m)
                        open += it.quantity;
                }
            }
            ASSERT_EQ(p.on_order[static_cast<size_t>(f)][static_cast<size_t>(m)], open) << p.material_code(f, m);
            ASSERT_GE(open, 0);
        }
}

struct Quarter {
    int holds = 0;
    int asked = 0;
    int32_t xa_issued = 0, xb_issued = 0;
    int32_t vendor_arrivals = 0, contract_arrivals = 0;
    size_t mrp_orders = 0;
};

// Runs the sample day by day for about three months, A1 ordered weekly.
void run_quarter(SessionDriver& d, Quarter& q, const std::string& save_at_mid = {})
{
    PurchasingDepartment& pd = dept(d);
    CPurchasingWnd& p = pd.engine();
    ASSERT_EQ(p.create_contract(0, 0, {40, 40}), "");
    // Its end comes within the quarter: held once, then renewed.
    p.contracts[0].end = p.add_work_days(d.view().clock.current, 30);
    pd.contract_end_hook = [&](const PurchaseContract&) { return ++q.asked == 1 ? CONTRACT_HOLD : CONTRACT_RENEW; };
    const SimDateTime start = d.clock().current;
    for (int day = 0; day < 65; ++day) {
        if (day % 5 == 0)
            production(d).engine().add_order(0, 0, 30, ORDER_CUSTOMER, KIND_PRODUCT, 5);
        if (day == 45) {
            // The rest of the quarter under MRP, from a scripted plan.
            p.policy = POLICY_MRP;
            for (int m = 0; m < 2; ++m)
                p.safety_stock[0][static_cast<size_t>(m)] = 500;
            p.requirements_source = [&d](std::vector<MaterialRequirement>& out) {
                out.push_back({0, 0, 200, static_cast<int32_t>(d.view().tick_count + 480 * 5)});
                out.push_back({0, 1, 300, static_cast<int32_t>(d.view().tick_count + 480 * 8)});
            };
            p.apply_purchasing_policy();
            p.build_mrp_plan();
            q.mrp_orders = p.orders.size();
        }
        const int16_t xa = p.material(0, 0).issued_this_month, xb = p.material(0, 1).issued_this_month;
        SimDateTime next = d.clock().AddWorkDays(d.clock().current, 1);
        next.hour = 9;
        next.minute = 0;
        d.runUntil(next);
        if (d.view().run_state == RUN_HOLD)
            ++q.holds;
        const int slot = p.day_index - 1;
        if (slot >= 0) {
            for (int m = 0; m < 2; ++m) {
                q.vendor_arrivals += p.material(0, m).daily_arrived[static_cast<size_t>(slot)];
                q.contract_arrivals += p.material(0, m).daily_contract_arrivals[static_cast<size_t>(slot)];
            }
        }
        if (p.material(0, 0).issued_this_month >= xa)
            q.xa_issued += p.material(0, 0).issued_this_month - xa;
        if (p.material(0, 1).issued_this_month >= xb)
            q.xb_issued += p.material(0, 1).issued_this_month - xb;
        check_invariants(p);
        if (day == 30 && !save_at_mid.empty()) {
            ASSERT_FALSE(p.shipments.empty());
            ASSERT_TRUE(d.save(save_at_mid));
        }
    }
    EXPECT_GT(compare_dates(d.clock().current, start), 1);
}

TEST(PurchasingSession, SampleQuarterWithOrdersContractsMrpAndAHeldContractEnd)
{
    TempDir dir;
    const std::string session = dir / "mid.vnb";
    SessionDriver d;
    int restored = 0;
    DriverOptions o = session_options(7);
    o.on_hold = [&](CVornView& v) {
        ++restored;
        v.RestoreHold();
    };
    ASSERT_TRUE(d.start(sample, o));
    // Vendor bills are posted deferred by the payable terms; sales are paid in at once.
    CFinanceWnd& books = finance(d).engine();
    int64_t billed = 0;
    books.posting_observer = [&](int32_t amount, int16_t deferred) {
        if (deferred != 0 && amount < 0)
            billed -= amount;
    };
    Quarter q;
    run_quarter(d, q, session);
    CPurchasingWnd& p = dept(d).engine();
    EXPECT_GT(q.xa_issued, 0);
    EXPECT_GT(q.xb_issued, 0);
    EXPECT_GT(q.vendor_arrivals, 0);
    EXPECT_GT(q.contract_arrivals, 0);
    EXPECT_EQ(q.asked, 2);      // held, then asked again for the same contract
    EXPECT_EQ(restored, 1);
    ASSERT_EQ(p.contracts.size(), 1u);
    EXPECT_GT(p.orders.size() + static_cast<size_t>(q.vendor_arrivals), q.mrp_orders);
    // Units the shop floor asked for and did not get are counted, not lost.
    EXPECT_GE(p.unsupplied_this_year[0][0] + p.unsupplied_this_year[0][1],
              p.unsupplied_this_month[0][0] + p.unsupplied_this_month[0][1]);
    // Issues were booked as materials consumed, at their average cost.
    EXPECT_GT(finance(d).engine().materials.acc, 0);
    EXPECT_EQ(finance(d).engine().materials.acc, finance(d).engine().materials.cur);
    // Vendor payments: every bill is paid when due or still pending.
    int64_t pending_bills = 0;
    for (const DeferredPayment& e : books.deferred)
        if (e.amount < 0)
            pending_bills -= e.amount;
    EXPECT_GT(billed, 0);
    EXPECT_GT(books.payments.acc, 0) << "no vendor bill came due";
    EXPECT_EQ(books.payments.acc + pending_bills, billed);
    // Sales receipts: the quarter's sales, all paid in.
    EXPECT_GT(books.receipts.acc, 0);
    EXPECT_EQ(books.receipts.acc, books.sales_cur);
    books.posting_observer = nullptr;

    // Resumed mid-transit: the state saved is the state it saves again, and
    // it runs on as the first session did.
    const std::vector<uint8_t> prc = read_bytes(ext_of(session, "PRC"));
    SessionDriver second;
    ASSERT_TRUE(second.start(session, session_options(7)));
    ASSERT_TRUE(second.view().resumed());
    // The file is the state, then the set's serial (its last four bytes).
    ASSERT_GT(prc.size(), 4u);
    EXPECT_EQ(dept(second).engine().save_state_bytes(), std::vector<uint8_t>(prc.begin(), prc.end() - 4));
    const std::string again = dir / "again.vnb";
    ASSERT_TRUE(second.save(again));
    EXPECT_EQ(read_bytes(ext_of(again, "PRC")), prc);
    EXPECT_FALSE(dept(second).engine().shipments.empty());
    for (int day = 0; day < 10; ++day) {
        SimDateTime next = second.clock().AddWorkDays(second.clock().current, 1);
        next.hour = 9;
        next.minute = 0;
        second.runUntil(next);
        check_invariants(dept(second).engine());
    }
}

TEST(PurchasingSession, DamagedStateFileIsRefusedWithTheCoreBox)
{
    TempDir dir;
    const std::string session = dir / "s.vnb";
    {
        SessionDriver d;
        ASSERT_TRUE(d.start(sample, session_options(3)));
        d.runTicks(480 * 3);
        ASSERT_TRUE(d.save(session));
    }
    std::vector<uint8_t> prc = read_bytes(ext_of(session, "PRC"));
    prc.pop_back();
    write_bytes(ext_of(session, "PRC"), prc);
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, session_options(3)));
    CVornView* open = &d.view();
    EXPECT_FALSE(d.start(session, session_options(3)));
    EXPECT_EQ(&d.view(), open);
    bool seen = false;
    for (const std::string& b : d.prompts())
        seen = seen || b.find("Damaged session state file:") != std::string::npos;
    EXPECT_TRUE(seen);
}

TEST(PurchasingSession, PoliciesFileRoundTripsThePurchasingBlock)
{
    TempDir dir;
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, session_options(3)));
    CPurchasingWnd& p = dept(d).engine();
    p.material(0, 1).max_level = 654;
    p.minimum_to_order = 8;
    ASSERT_TRUE(d.view().SavePolicies(dir / "p.plc"));
    p.material(0, 1).max_level = 1;
    p.minimum_to_order = 0;
    ASSERT_TRUE(d.view().LoadPolicies(dir / "p.plc"));
    EXPECT_EQ(p.material(0, 1).max_level, 654);
    EXPECT_EQ(p.minimum_to_order, 8);
}

} // namespace

// The program's own assembly over the bundled sample for a whole year with
// the sample's purchasing policies: material is issued every month, vendor
// orders refill it and pay through Finance, and the books see the
// consumption.
TEST(PurchasingSession, TheSampleRunsAWholeYearWithItsMaterialsFlowing)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, session_options(1)));
    CPurchasingWnd& p = dept(d).engine();
    const int32_t cash_at_start = finance(d).cash();
    for (int month = 0; month < 12; ++month) {
        SimDateTime next = d.clock().current;
        next.year = static_cast<int16_t>(next.year + next.month / 12);
        next.month = static_cast<int16_t>(next.month % 12 + 1);
        next.day = 1;
        next.hour = 9;
        next.minute = 0;
        d.runUntil(next);
        ASSERT_NE(d.view().run_state, RUN_OVER) << "month " << month;
        // The month just ended: both materials of the plant's jobs were used.
        EXPECT_GT(p.material(0, 0).issued_last_month, 0) << "XA, month " << month;
        EXPECT_GT(p.material(0, 1).issued_last_month, 0) << "XB, month " << month;
        check_invariants(p);
    }
    EXPECT_GT(finance(d).engine().materials.acc, 0);
    EXPECT_GT(finance(d).engine().sales_cur + finance(d).engine().sales_last, 0) << "finished goods were sold";
    EXPECT_GT(p.shipping_total, 0) << "vendor orders arrived";
    EXPECT_NE(finance(d).cash(), cash_at_start);
}

// Sessions saved in the layouts of older versions: for every version that
// added fields to the Purchasing file, a file of the version before it
// loads with the values the scenario's loader gave, a file of that version
// reads them, and the session goes on from either.
namespace {

template <class T> size_t table_bytes(const PerMaterial<T>& t, size_t width) { return t.size() * t[0].size() * width; }

// Values away from the loader's in every gated field.
void set_everything(CPurchasingWnd& p)
{
    p.policy = POLICY_MRP;
    p.plan.push_back({0, 1, 44, SimDateTime{95, 1, 9, 8, 0}, SimDateTime{95, 1, 12, 8, 0}});
    p.days_before_qlt = 3;
    p.according_to_qlt = 0;
    p.safety_stock[0][1] = 9;
    p.mrp_red_line[0][0] = 1;
    p.red_line_time[0][1] = 4;
    p.unsupplied_this_month[0][0] = 5;
    p.unsupplied_last_year[0][1] = 8;
    p.issued_since_plan[0][0] = 7;
    p.replan_weekly = 0;
    p.minimum_to_order = 12;
    p.unsupplied_since_step[0][1] = 3;
}

struct Gate {
    const char* before;   // the newest id without the fields
    const char* id;       // the id that brought them
    std::function<size_t(const CPurchasingWnd&)> bytes;
    std::function<void(const CPurchasingWnd& loaded, const CPurchasingWnd& scenario, bool carried)> check;
};

const Gate gates[] = {
    // The policy, the plan, the QLT pair, three tables and the four unsupplied tables:
    // absent from the files read as the oldest ("BG_1012" to "BG_1017").
    {"BG_1017", "BG_1018",
     [](const CPurchasingWnd& p) {
         return 2 + 2 + p.plan.size() * PLAN_ENTRY_BYTES + 4 + 3 * table_bytes(p.safety_stock, 2) +
                4 * table_bytes(p.unsupplied_this_month, 4);
     },
     [](const CPurchasingWnd& l, const CPurchasingWnd& sc, bool carried) {
         EXPECT_EQ(l.policy, carried ? POLICY_MRP : POLICY_ORDER_LEVEL);
         EXPECT_EQ(l.plan.size(), carried ? 1u : 0u);
         EXPECT_EQ(l.days_before_qlt, carried ? 3 : sc.days_before_qlt);
         EXPECT_EQ(l.according_to_qlt, carried ? 0 : sc.according_to_qlt);
         EXPECT_EQ(l.safety_stock[0][1], carried ? 9 : sc.safety_stock[0][1]);
         EXPECT_EQ(l.mrp_red_line[0][0], carried ? 1 : sc.mrp_red_line[0][0]);
         EXPECT_EQ(l.red_line_time[0][1], carried ? 4 : sc.red_line_time[0][1]);
         EXPECT_EQ(l.unsupplied_this_month[0][0], carried ? 5u : 0u);
         EXPECT_EQ(l.unsupplied_last_year[0][1], carried ? 8u : 0u);
     }},
    {"BG_1020", "BG_1021", [](const CPurchasingWnd& p) { return table_bytes(p.issued_since_plan, 2) + 2; },
     [](const CPurchasingWnd& l, const CPurchasingWnd& sc, bool carried) {
         // The loader leaves the counts at 0 (a started session has counted its first day).
         EXPECT_EQ(l.issued_since_plan[0][0], carried ? 7 : 0);
         EXPECT_EQ(l.replan_weekly, carried ? 0 : sc.replan_weekly);
         EXPECT_EQ(l.policy, POLICY_MRP);
     }},
    {"BG_1026", "BG_1027", [](const CPurchasingWnd&) { return size_t{2}; },
     [](const CPurchasingWnd& l, const CPurchasingWnd& sc, bool carried) {
         EXPECT_EQ(l.minimum_to_order, carried ? 12 : sc.minimum_to_order);
     }},
    {"BG_1027", "BG_1028", [](const CPurchasingWnd& p) { return table_bytes(p.unsupplied_since_step, 4); },
     [](const CPurchasingWnd& l, const CPurchasingWnd&, bool carried) {
         EXPECT_EQ(l.unsupplied_since_step[0][1], carried ? 3u : 0u);
         EXPECT_EQ(l.minimum_to_order, 12);
     }},
};

} // namespace

TEST(PurchasingOlderFiles, EachVersionsFieldsKeepTheLoadersValuesBeforeItAndAreReadFromIt)
{
    SessionDriver scenario;
    ASSERT_TRUE(scenario.start(sample, session_options(3)));
    const CPurchasingWnd& fresh = dept(scenario).engine();
    ASSERT_EQ(fresh.policy, POLICY_ORDER_LEVEL);
    ASSERT_EQ(fresh.replan_weekly, 1);
    TempDir dir;
    for (const Gate& g : gates) {
        SCOPED_TRACE(g.id);
        SessionDriver source;
        ASSERT_TRUE(source.start(sample, session_options(3)));
        source.runTicks(3 * 480 + 60);
        CPurchasingWnd& saved = dept(source).engine();
        set_everything(saved);
        const LayoutPair files = save_before_and_at(source.view(), dir, g.before, g.id);
        EXPECT_EQ(files.added("PRC"), g.bytes(saved));
        for (const bool carried : {false, true}) {
            SCOPED_TRACE(carried ? "at the version" : "before it");
            SessionDriver d;
            ASSERT_TRUE(d.start(carried ? files.at : files.older, session_options(3)));
            ASSERT_TRUE(d.view().resumed());
            CPurchasingWnd& loaded = dept(d).engine();
            g.check(loaded, fresh, carried);
            // What the file holds in every version is read whatever its id.
            EXPECT_EQ(loaded.orders.size(), saved.orders.size());
            EXPECT_EQ(loaded.material(0, 0).stock, saved.material(0, 0).stock);
            runs_on_and_reopens(d, session_options(3), dir, "PRC", 2 * 480);
        }
    }
}

// The oldest files leave the Information menu its first nine entries and
// the Policies menu its first.
TEST(PurchasingOlderFiles, TheOldestFilesNarrowTheMenus)
{
    TempDir dir;
    SessionDriver source;
    ASSERT_TRUE(source.start(sample, session_options(3)));
    const std::string oldest = dir / "oldest.vnb";
    ASSERT_TRUE(source.view().SaveSession(oldest, false, "BG_1015"));
    SessionDriver d;
    ASSERT_TRUE(d.start(oldest, session_options(3)));
    EXPECT_EQ(d.view().IsOldestStateVersion(), 1);
    DepartmentMenus full, narrow;
    source.view().purchasing->build_menus(full);
    d.view().purchasing->build_menus(narrow);
    EXPECT_GT(full.tables[0].count, 9);
    EXPECT_EQ(narrow.tables[0].count, 9);
    EXPECT_EQ(narrow.tables[2].count, 1);
    EXPECT_EQ(narrow.tables[0].texts[9], full.tables[0].texts[9]);
}
