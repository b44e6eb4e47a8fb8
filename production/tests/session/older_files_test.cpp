// Sessions saved in the layouts of older versions: for every version that
// added fields to the Production file, a file of the version before it
// loads with the fields' defaults, a file of that version reads them, and
// the session goes on from either.
#include "app/view.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/older_layouts.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string data_dir = bundled_data_copy();
const std::string sample = data_dir + "/SAMPLE.VNB";

DriverOptions sample_options()
{
    DriverOptions o;
    o.seed = 5;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    o.script = [](plat::ScriptedHost& h) { h.Answer(plat::IDOK, ""); };
    o.factory = department_assembly();
    return o;
}

CProductionWnd& plant_of(SessionDriver& d)
{
    auto* p = dynamic_cast<ProductionDepartment*>(d.view().production);
    if (p == nullptr)
        throw std::logic_error("the session's Production is not the Production department");
    return p->engine();
}

// The id just before `id`: "BG_1031" -> "BG_1030".
std::string before(const std::string& id) { return "BG_" + std::to_string(std::stoi(id.substr(3)) - 1); }

// A few days of the sample with the market ordering: work orders in the
// plant, requests and stock on the jobs, transport under way.
void run_sample(SessionDriver& d)
{
    ASSERT_TRUE(d.start(sample, sample_options()));
    d.runTicks(4 * 480 + 130);
}

struct Records {
    size_t stock = 0, outputs = 0, requests = 0;
};
Records records_of(const CProductionWnd& p)
{
    Records n;
    for (const auto& j : p.Jobs)
        if (j) {
            n.stock += j->input_stock.size();
            n.outputs += j->outputs.size();
            n.requests += j->requests.size();
        }
    return n;
}

bool any_route_position(const CProductionWnd& p)
{
    for (const auto& j : p.Jobs)
        if (j) {
            for (const auto& s : j->input_stock)
                if (s.x != 0 || s.y != 0)
                    return true;
            for (const auto& r : j->requests)
                if (r->x != 0 || r->y != 0)
                    return true;
        }
    for (const auto& t : p.transport->Trans_Jobs)
        if (t->sx != 0 || t->sy != 0 || t->dx != 0 || t->dy != 0)
            return true;
    return false;
}

// One version's fields: what the saved session is given, how many bytes
// the fields add to the file, and what a loaded plant holds with (carried)
// or without them; `scenario` is the plant of a session freshly started.
struct Gate {
    const char* id;
    std::function<void(CProductionWnd&)> set;
    std::function<size_t(const CProductionWnd&)> bytes;
    std::function<void(const CProductionWnd& saved, const CProductionWnd& loaded, const CProductionWnd& scenario,
                       bool carried)>
        check;
};

const Gate gates[] = {
    {"BG_1019", [](CProductionWnd& p) { p.Products[1]->position = 7; },
     [](const CProductionWnd& p) { return 6 * p.Products.size(); },
     [](const CProductionWnd&, const CProductionWnd& l, const CProductionWnd& sc, bool carried) {
         EXPECT_EQ(l.Products[1]->position, carried ? 7 : sc.Products[1]->position);
     }},
    {"BG_1020",
     [](CProductionWnd& p) {
         p.Machines[1]->request_size_sum = 50;
         p.Machines[1]->request_size_count = 5;
         p.batch_size = 30;
         p.merge_order_types = 1;
         p.Products[0]->on_customer_orders = 9;
     },
     [](const CProductionWnd& p) { return 8 * p.Machines.size() + 2 * p.Products.size() + 4; },
     [](const CProductionWnd& s, const CProductionWnd& l, const CProductionWnd& sc, bool carried) {
         EXPECT_EQ(l.Machines[1]->request_size_sum, carried ? 50 : 0);
         EXPECT_EQ(l.Machines[1]->request_size_count, carried ? 5 : 0);
         EXPECT_EQ(l.Machines[1]->planning_batch, carried ? s.Machines[1]->planning_batch : sc.Machines[1]->planning_batch);
         EXPECT_EQ(l.batch_size, carried ? 30 : 0);
         EXPECT_EQ(l.merge_order_types, carried ? 1 : 0);
         EXPECT_EQ(l.Products[0]->on_customer_orders, carried ? 9 : sc.Products[0]->on_customer_orders);
     }},
    // No field of its own: older files' forecast settings are converted.
    {"BG_1023",
     [](CProductionWnd& p) {
         p.forecast_horizon_days = 45;
         p.forecast_range_months = 60;
         p.week_of_month = 4;
     },
     [](const CProductionWnd&) { return size_t{0}; },
     [](const CProductionWnd&, const CProductionWnd& l, const CProductionWnd&, bool carried) {
         EXPECT_EQ(l.forecast_horizon_days, carried ? 45 : 30);
         EXPECT_EQ(l.forecast_range_months, carried ? 60 : 2);
         EXPECT_EQ(l.week_of_month, carried ? 4 : l.host->now().day / 7 + 1);
     }},
    // The products' pairs and the jobs' present flags.
    {"BG_1024", [](CProductionWnd& p) { p.Products[1]->on_customer_orders = 6; },
     [](const CProductionWnd& p) { return 4 * p.Products.size() + 2 * p.Jobs.size(); },
     [](const CProductionWnd& s, const CProductionWnd& l, const CProductionWnd&, bool) {
         EXPECT_EQ(l.Products[1]->on_customer_orders, 6);
         for (size_t j = 0; j < s.Jobs.size(); ++j)
             EXPECT_EQ(l.Jobs[j]->requests.size(), s.Jobs[j]->requests.size());
         EXPECT_EQ(l.Work_Orders.size(), s.Work_Orders.size());
     }},
    // Read, but cleared while the file (before BG_1026) does not switch priorities on.
    {"BG_1025", [](CProductionWnd& p) { p.Products[0]->priority = 4; },
     [](const CProductionWnd& p) { return 2 * p.Products.size(); },
     [](const CProductionWnd&, const CProductionWnd& l, const CProductionWnd&, bool) {
         EXPECT_EQ(l.Products[0]->priority, 0);
         EXPECT_EQ(l.product_priority_on, 0);
     }},
    {"BG_1026",
     [](CProductionWnd& p) {
         p.product_priority_on = 1;
         p.Products[0]->priority = 4;
     },
     [](const CProductionWnd&) { return size_t{2}; },
     [](const CProductionWnd&, const CProductionWnd& l, const CProductionWnd&, bool carried) {
         EXPECT_EQ(l.product_priority_on, carried ? 1 : 0);
         EXPECT_EQ(l.Products[0]->priority, carried ? 4 : 0);
     }},
    {"BG_1031", [](CProductionWnd& p) { p.Machines[1]->buffer_capacity = 100; },
     [](const CProductionWnd& p) { return 12 * p.Machines.size(); },
     [](const CProductionWnd& s, const CProductionWnd& l, const CProductionWnd&, bool carried) {
         for (size_t m = 0; m < l.Machines.size(); ++m) {
             SCOPED_TRACE(m);
             EXPECT_EQ(l.Machines[m]->buffer_capacity, carried ? s.Machines[m]->buffer_capacity : NO_LIMIT);
             // Without the counts, they are what the jobs' lists hold: the saved counts.
             EXPECT_EQ(l.Machines[m]->buffer_count, s.Machines[m]->buffer_count);
             EXPECT_EQ(l.Machines[m]->finished_material, s.Machines[m]->finished_material);
         }
         EXPECT_GT(s.Machines[0]->buffer_count + s.Machines[1]->buffer_count, 0) << "the jobs hold stock";
         if (carried) {
             EXPECT_EQ(l.Machines[1]->buffer_capacity, 100);
         }
     }},
    {"BG_1033",
     [](CProductionWnd& p) {
         p.extra_shift_start = {95, 3, 1, 8, 0};
         p.extra_shift_end = {95, 3, 10, 17, 0};
     },
     [](const CProductionWnd&) { return size_t{20}; },
     [](const CProductionWnd&, const CProductionWnd& l, const CProductionWnd& sc, bool carried) {
         EXPECT_EQ(l.extra_shift_start.day, carried ? 1 : sc.extra_shift_start.day);
         EXPECT_EQ(l.extra_shift_end.day, carried ? 10 : sc.extra_shift_end.day);
         EXPECT_EQ(l.extra_shift_end.month, carried ? 3 : sc.extra_shift_end.month);
     }},
    {"BG_1034", [](CProductionWnd& p) { p.extra_shift_days = 2; },
     [](const CProductionWnd&) { return size_t{2}; },
     [](const CProductionWnd&, const CProductionWnd& l, const CProductionWnd& sc, bool carried) {
         EXPECT_EQ(l.extra_shift_days, carried ? 2 : sc.extra_shift_days);
     }},
    {"BG_1035", [](CProductionWnd& p) { p.mrp_option = 1; },
     [](const CProductionWnd& p) {
         const Records n = records_of(p);
         return 4 + 4 * (n.stock + n.outputs + n.requests) + 8 * p.transport->Trans_Jobs.size();
     },
     [](const CProductionWnd& s, const CProductionWnd& l, const CProductionWnd& sc, bool carried) {
         ASSERT_TRUE(any_route_position(s)) << "the saved plant holds route positions";
         EXPECT_EQ(any_route_position(l), carried);
         EXPECT_EQ(l.route_option, carried ? 1 : 0);
         EXPECT_EQ(l.mrp_option, carried ? 1 : sc.mrp_option);
         const Records a = records_of(s), b = records_of(l);
         EXPECT_EQ(b.requests, a.requests);
         EXPECT_EQ(b.stock, a.stock);
         EXPECT_EQ(l.transport->Trans_Jobs.size(), s.transport->Trans_Jobs.size());
     }},
    {"BG_1036", [](CProductionWnd& p) { p.contract_factor = 2.5f; },
     [](const CProductionWnd&) { return size_t{4}; },
     [](const CProductionWnd&, const CProductionWnd& l, const CProductionWnd& sc, bool carried) {
         EXPECT_FLOAT_EQ(l.contract_factor, carried ? 2.5f : sc.contract_factor);
     }},
    {"BG_1037", [](CProductionWnd& p) { p.red_line_hours = 7; },
     [](const CProductionWnd&) { return size_t{2}; },
     [](const CProductionWnd&, const CProductionWnd& l, const CProductionWnd& sc, bool carried) {
         EXPECT_EQ(l.red_line_hours, carried ? 7 : sc.red_line_hours);
     }},
    // The tails: the work-order counter, then the set's serial.
    {"BG_1038", [](CProductionWnd& p) { p.wo_counter = 500; },
     [](const CProductionWnd&) { return size_t{2 + 4}; },
     [](const CProductionWnd& s, const CProductionWnd& l, const CProductionWnd&, bool carried) {
         ASSERT_FALSE(s.Work_Orders.empty());
         EXPECT_EQ(l.wo_counter, carried ? 500 : s.Work_Orders.back()->number % 999 + 1);
     }},
};

} // namespace

TEST(ProductionOlderFiles, EachVersionsFieldsTakeTheirDefaultsBeforeItAndAreReadFromIt)
{
    SessionDriver scenario;
    ASSERT_TRUE(scenario.start(sample, sample_options()));
    const CProductionWnd& fresh = plant_of(scenario);
    TempDir dir;
    for (const Gate& g : gates) {
        SCOPED_TRACE(g.id);
        SessionDriver source;
        run_sample(source);
        CProductionWnd& saved = plant_of(source);
        g.set(saved);
        const LayoutPair files = save_before_and_at(source.view(), dir, before(g.id), g.id);
        EXPECT_EQ(files.added("PRD"), g.bytes(saved));
        for (const bool carried : {false, true}) {
            SCOPED_TRACE(carried ? "at the version" : "before it");
            SessionDriver d;
            ASSERT_TRUE(d.start(carried ? files.at : files.older, sample_options()));
            ASSERT_TRUE(d.view().resumed());
            EXPECT_EQ(d.view().CheckVersionId(g.id), carried ? 1 : 0);
            g.check(saved, plant_of(d), fresh, carried);
            runs_on_and_reopens(d, sample_options(), dir, "PRD", 480);
        }
    }
}

// Files of the first versions, up to "BG_1018", are all read as "BG_1012"
// files; Production keeps every entry of its menus for them.
TEST(ProductionOlderFiles, TheFirstVersionsReadAsTheOldestAndKeepProductionsMenus)
{
    TempDir dir;
    SessionDriver source;
    run_sample(source);
    DepartmentMenus current;
    source.view().production->build_menus(current);
    const std::string oldest = dir / "oldest.vnb", between = dir / "between.vnb";
    ASSERT_TRUE(source.view().SaveSession(oldest, false, "BG_1012"));
    ASSERT_TRUE(source.view().SaveSession(between, false, "BG_1017"));
    // Only the header's id tells the two sets apart.
    const std::vector<uint8_t> a = read_bytes(state_file_of(oldest, "MGR")), b = read_bytes(state_file_of(between, "MGR"));
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::string(b.begin(), b.begin() + 7), "BG_1017");
    EXPECT_TRUE(std::equal(a.begin() + 8, a.end(), b.begin() + 8));
    for (const char* ext : {"PRC", "MRK", "PRD", "FNC"})
        EXPECT_EQ(read_bytes(state_file_of(oldest, ext)), read_bytes(state_file_of(between, ext))) << ext;
    for (const std::string& path : {oldest, between}) {
        SCOPED_TRACE(path);
        SessionDriver d;
        ASSERT_TRUE(d.start(path, sample_options()));
        EXPECT_EQ(d.view().IsOldestStateVersion(), 1);
        EXPECT_EQ(d.view().CheckVersionId("BG_1018"), 0);
        DepartmentMenus menus;
        d.view().production->build_menus(menus);
        for (size_t t = 0; t < 3; ++t) {
            ASSERT_EQ(menus.tables[t].count, current.tables[t].count) << t;
            for (int i = 1; i <= menus.tables[t].count; ++i)
                EXPECT_EQ(menus.tables[t].texts[static_cast<size_t>(i)], current.tables[t].texts[static_cast<size_t>(i)]);
        }
        // Every field after the oldest's takes its default.
        const CProductionWnd& p = plant_of(d);
        EXPECT_EQ(p.route_option, 0);
        EXPECT_EQ(p.batch_size, 0);
        EXPECT_EQ(p.Machines[1]->buffer_capacity, NO_LIMIT);
        EXPECT_EQ(p.Machines[1]->request_size_count, 0);
        const int32_t ticks = d.tickCount();
        d.runTicks(480);
        EXPECT_EQ(d.tickCount(), ticks + 480);
    }
}
