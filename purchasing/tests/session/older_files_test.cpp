// Sessions saved in the layouts of older versions: for every version that
// added fields to the Purchasing file, a file of the version before it
// loads with the values the scenario's loader gave, a file of that version
// reads them, and the session goes on from either.
#include "app/view.h"
#include "purchasing/purchasing_dept.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

const std::string data_dir = bundled_data_copy();
const std::string sample = data_dir + "/SAMPLE.VNB";

DriverOptions sample_options()
{
    DriverOptions o;
    o.seed = 3;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    o.script = [](plat::ScriptedHost& h) { h.Answer(1, ""); };   // every box: OK
    o.continue_on_stop = true;
    o.factory = department_assembly();
    return o;
}

CPurchasingWnd& purchasing_of(SessionDriver& d)
{
    return dynamic_cast<PurchasingDepartment&>(*d.view().purchasing).engine();
}

std::string ext_of(const std::string& session, const char* ext) { return session.substr(0, session.size() - 3) + ext; }

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
    ASSERT_TRUE(scenario.start(sample, sample_options()));
    const CPurchasingWnd& fresh = purchasing_of(scenario);
    ASSERT_EQ(fresh.policy, POLICY_ORDER_LEVEL);
    ASSERT_EQ(fresh.replan_weekly, 1);
    TempDir dir;
    for (const Gate& g : gates) {
        SCOPED_TRACE(g.id);
        SessionDriver source;
        ASSERT_TRUE(source.start(sample, sample_options()));
        source.runTicks(3 * 480 + 60);
        CPurchasingWnd& saved = purchasing_of(source);
        set_everything(saved);
        const std::string older = dir / "older.vnb", at = dir / "at.vnb";
        ASSERT_TRUE(source.view().SaveSession(older, false, g.before));
        ASSERT_TRUE(source.view().SaveSession(at, false, g.id));
        EXPECT_EQ(read_bytes(ext_of(at, "PRC")).size() - read_bytes(ext_of(older, "PRC")).size(), g.bytes(saved));
        for (const bool carried : {false, true}) {
            SCOPED_TRACE(carried ? "at the version" : "before it");
            SessionDriver d;
            ASSERT_TRUE(d.start(carried ? at : older, sample_options()));
            ASSERT_TRUE(d.view().resumed());
            CPurchasingWnd& loaded = purchasing_of(d);
            g.check(loaded, fresh, carried);
            // What the file holds in every version is read whatever its id.
            EXPECT_EQ(loaded.orders.size(), saved.orders.size());
            EXPECT_EQ(loaded.material(0, 0).stock, saved.material(0, 0).stock);
            const int32_t ticks = d.tickCount();
            d.runTicks(2 * 480);
            EXPECT_EQ(d.tickCount(), ticks + 2 * 480);
            const std::string again = dir / "again.vnb";
            ASSERT_TRUE(d.save(again));
            SessionDriver next;
            ASSERT_TRUE(next.start(again, sample_options())) << ::testing::PrintToString(next.prompts());
            const std::string twice = dir / "twice.vnb";
            ASSERT_TRUE(next.save(twice));
            EXPECT_EQ(read_bytes(ext_of(twice, "PRC")), read_bytes(ext_of(again, "PRC")));
        }
    }
}

// The oldest files leave the Information menu its first nine entries and
// the Policies menu its first.
TEST(PurchasingOlderFiles, TheOldestFilesNarrowTheMenus)
{
    TempDir dir;
    SessionDriver source;
    ASSERT_TRUE(source.start(sample, sample_options()));
    const std::string oldest = dir / "oldest.vnb";
    ASSERT_TRUE(source.view().SaveSession(oldest, false, "BG_1015"));
    SessionDriver d;
    ASSERT_TRUE(d.start(oldest, sample_options()));
    EXPECT_EQ(d.view().IsOldestStateVersion(), 1);
    DepartmentMenus full, narrow;
    source.view().purchasing->build_menus(full);
    d.view().purchasing->build_menus(narrow);
    EXPECT_GT(full.tables[0].count, 9);
    EXPECT_EQ(narrow.tables[0].count, 9);
    EXPECT_EQ(narrow.tables[2].count, 1);
    EXPECT_EQ(narrow.tables[0].texts[9], full.tables[0].texts[9]);
}
