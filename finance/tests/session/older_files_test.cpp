// Sessions saved in the layouts of older versions: before "BG_1032" the file
// has no year-before-last report and previous EVA, before "BG_1033" no
// depreciation parts; a file of the version reads them, and the session
// goes on from either.
#include "app/view.h"
#include "finance/finance_dept.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

const std::string data_dir = bundled_data_copy();
const std::string sample = data_dir + "/SAMPLE.VNB";

DriverOptions options()
{
    DriverOptions o;
    o.seed = 5;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    o.factory = department_assembly();
    o.script = [](plat::ScriptedHost& h) { h.Answer(plat::IDOK, ""); };
    return o;
}

CFinanceWnd& books_of(SessionDriver& d) { return dynamic_cast<FinanceDepartment&>(*d.view().finance).engine(); }

std::string ext_of(const std::string& session, const char* ext) { return session.substr(0, session.size() - 3) + ext; }

struct Gate {
    const char* before;
    const char* id;
    size_t bytes;   // what the version's fields add to the file
    std::function<void(const CFinanceWnd& loaded, bool carried)> check;
};

const Gate gates[] = {
    {"BG_1031", "BG_1032", 16 * 4 + 4,
     [](const CFinanceWnd& l, bool carried) {
         EXPECT_EQ(l.before_last.v[0], carried ? 1234 : 0);
         EXPECT_EQ(l.previous_eva, carried ? 55 : 0);
     }},
    {"BG_1032", "BG_1033", 4 * 4,
     [](const CFinanceWnd& l, bool carried) {
         if (carried) {
             EXPECT_EQ(l.machine_dep_acc, 4321);
             EXPECT_EQ(l.asset_dep_acc, 321);
             EXPECT_EQ(l.machine_dep_cur, 77);
         } else {
             // Derived from the total: the two accumulated parts make it up.
             EXPECT_NE(l.machine_dep_acc, 4321);
             EXPECT_EQ(l.machine_dep_acc + l.asset_dep_acc, l.depreciation.acc);
         }
         EXPECT_EQ(l.previous_eva, 55);
     }},
};

} // namespace

TEST(FinanceOlderFiles, EachVersionsFieldsAreAbsentBeforeItAndReadFromIt)
{
    TempDir dir;
    for (const Gate& g : gates) {
        SCOPED_TRACE(g.id);
        SessionDriver source;
        ASSERT_TRUE(source.start(sample, options()));
        source.runTicks(3 * 480 + 40);
        CFinanceWnd& saved = books_of(source);
        saved.before_last.v[0] = 1234;
        saved.previous_eva = 55;
        saved.machine_dep_acc = 4321;
        saved.asset_dep_acc = 321;
        saved.machine_dep_cur = 77;
        const std::string older = dir / "older.vnb", at = dir / "at.vnb";
        ASSERT_TRUE(source.view().SaveSession(older, false, g.before));
        ASSERT_TRUE(source.view().SaveSession(at, false, g.id));
        EXPECT_EQ(read_bytes(ext_of(at, "FNC")).size() - read_bytes(ext_of(older, "FNC")).size(), g.bytes);
        for (const bool carried : {false, true}) {
            SCOPED_TRACE(carried ? "at the version" : "before it");
            SessionDriver d;
            ASSERT_TRUE(d.start(carried ? at : older, options()));
            ASSERT_TRUE(d.view().resumed());
            CFinanceWnd& loaded = books_of(d);
            g.check(loaded, carried);
            EXPECT_EQ(loaded.eva, saved.eva);
            const int32_t ticks = d.tickCount();
            d.runTicks(2 * 480);
            EXPECT_EQ(d.tickCount(), ticks + 2 * 480);
            const std::string again = dir / "again.vnb", twice = dir / "twice.vnb";
            ASSERT_TRUE(d.save(again));
            SessionDriver next;
            ASSERT_TRUE(next.start(again, options())) << ::testing::PrintToString(next.prompts());
            ASSERT_TRUE(next.save(twice));
            EXPECT_EQ(read_bytes(ext_of(twice, "FNC")), read_bytes(ext_of(again, "FNC")));
        }
    }
}
