// Finance in whole sessions over the bundled sample, on the program's own
// assembly of the departments: a year run solvent to the new-year stop, the
// bankrupt twin, the refused twins of the FINANCE section and the state file.
#include "app/view.h"
#include "finance/finance_dept.h"
#include "marketing/marketing_dept.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "purchasing/purchasing_dept.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/older_layouts.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

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

FinanceDepartment& finance_of(SessionDriver& d)
{
    auto* f = dynamic_cast<FinanceDepartment*>(d.view().finance);
    if (f == nullptr)
        throw std::logic_error("the session's Finance is not the Finance department");
    return *f;
}

// The sample with its FINANCE section's first or second record replaced.
std::string twin(const TempDir& dir, const std::string& name, const std::string& from, const std::string& to)
{
    std::ifstream in(sample, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = text.find(from, text.find("[FINANCE]"));
    if (at == std::string::npos)
        throw std::logic_error("the sample has no such FINANCE record");
    text.replace(at, from.size(), to);
    const std::string path = dir / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

const std::string record1 = "^300000^-50000^0^10^0.01^0.05^0.10^0.85^@";
const std::string record2 = "^4000^2000^1000^1500^100000^210000^@";

std::string ext_of(const std::string& session, const char* ext)
{
    return session.substr(0, session.size() - 3) + ext;
}

int32_t pending(const CFinanceWnd& e)
{
    int32_t sum = 0;
    for (const DeferredPayment& d : e.deferred)
        sum += d.amount;
    return sum;
}

} // namespace

TEST(FinanceSession, TheSampleRunsAYearSolventToTheNewYearStop)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, options()));
    CFinanceWnd& e = finance_of(d).engine();
    EXPECT_EQ(e.cash, 300000);
    EXPECT_EQ(e.payable_terms(), 10);
    int64_t posted = 0, interest = 0;
    int postings = 0;
    e.posting_observer = [&](int32_t amount, int16_t) {
        posted += amount;
        ++postings;
    };
    // A machine unit bought early: its price leaves through Finance.
    auto& production = dynamic_cast<ProductionDepartment&>(*d.view().production);
    production.engine().buy_machine_unit(1);
    const int32_t opening = 300000;
    int days = 0;
    while (d.state() != RUN_STOPPED || d.clock().current.year == 95) {
        const float earned = e.interest_earned_month, paid = e.interest_paid_month;
        d.runTicks(1);
        if (d.clock().IsMonthClosing())
            interest += static_cast<int32_t>(earned) - static_cast<int32_t>(paid);
        // The ledger at every day's end.
        if (d.clock().current.hour == 15 && d.clock().current.minute == 59) {
            ++days;
            ASSERT_EQ(e.cash + static_cast<int64_t>(pending(e)), opening + posted + interest) << days;
        }
        ASSERT_NE(d.state(), RUN_OVER);
        if (d.state() == RUN_STOPPED)
            break;
    }
    // The run stopped at the first working minute of 1996, Finance in front.
    EXPECT_EQ(d.clock().current.year, 96);
    EXPECT_EQ(d.clock().current.month, 1);
    EXPECT_EQ(d.clock().current.hour, 8);
    EXPECT_EQ(d.view().current_department, d.view().finance);
    EXPECT_GT(days, 250);
    EXPECT_GT(postings, 4 * 12);
    EXPECT_GT(e.cash, e.limit);   // solvent through the year
    // Every yearly total is last year's and this year's.
    for (const Total* t : {&e.total_expenses, &e.direct_labour, &e.production_expenses, &e.management_expenses,
                           &e.marketing_expenses, &e.depreciation})
        EXPECT_EQ(t->acc, t->last + t->cur);
    EXPECT_GE(e.direct_labour.last, 12 * 4000);
    EXPECT_EQ(e.machine_investment, 290000);
    // The year's statement adds up and its taxes were paid.
    const StatementFigures s = statement_figures(e.last, true);
    EXPECT_EQ(s.net_profit, s.before_taxes - s.taxes);
    EXPECT_EQ(e.taxes_acc, s.taxes);
    EXPECT_EQ(e.last_net_profit, e.get_net_profit('L', 1));
    std::printf("year's end: cash %d, net profit %d\n", e.cash, e.get_net_profit('L', 1));
}

// The sample as a student meets it, every policy as the scenario sets it and
// no decision taken: the company never reaches the bankruptcy limit, and the
// year's books are what the monthly amounts and the market make of it.
TEST(FinanceSession, TheSampleUnderItsDefaultPoliciesStaysSolventThroughTheYear)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, options()));
    CFinanceWnd& e = finance_of(d).engine();
    int32_t lowest = e.cash;
    while (d.state() != RUN_STOPPED || d.clock().current.year == 95) {
        d.runTicks(1);
        ASSERT_NE(d.state(), RUN_OVER) << d.clock().current.month << "/" << d.clock().current.day;
        lowest = std::min(lowest, e.cash);
        if (d.state() == RUN_STOPPED)
            break;
    }
    ASSERT_EQ(d.clock().current.year, 96);
    EXPECT_FALSE(e.bankrupt());
    EXPECT_GT(lowest, e.limit);
    // Twelve months of the monthly amounts were booked (labour and
    // production more with extra shifts).
    EXPECT_GE(e.direct_labour.last, 12 * 4000);
    EXPECT_GE(e.production_expenses.last, 12 * 2000);
    EXPECT_EQ(e.management_expenses.last, 12 * 1500);
    EXPECT_GE(e.marketing_expenses.last, 12 * 1000);
    const int32_t profit = e.get_net_profit('L', 1);
    std::printf("default policies, year's end: cash %d (lowest %d), net profit %d\n", e.cash, lowest, profit);
}

// The same year twice, once as the scenario sets it and once with the
// player's first decision: both materials kept at twice the stock levels.
// Under the sample's levels the plant runs out of material in the first
// quarter, orders go late and the market turns away; with the stores kept
// fuller the plant keeps up, sells more and earns more.
TEST(FinanceSession, RaisingTheMaterialLevelsMakesTheSampleYearBetter)
{
    struct Year {
        int32_t cash = 0, profit = 0;
        uint32_t sold = 0;
        float demand = 0;
    };
    const auto play = [](bool raise_levels) {
        SessionDriver d;
        Year y;
        if (!d.start(sample, options()))
            return y;
        if (raise_levels) {
            CPurchasingWnd& p = dynamic_cast<PurchasingDepartment&>(*d.view().purchasing).engine();
            for (int m = 0; m < p.material_count(0); ++m) {
                RawMaterial& r = p.material(0, m);
                r.max_level = static_cast<int16_t>(2 * r.max_level);
                r.order_level = static_cast<int16_t>(2 * r.order_level);
            }
        }
        while (d.state() != RUN_STOPPED || d.clock().current.year == 95) {
            d.runTicks(1);
            if (d.state() == RUN_OVER || d.state() == RUN_STOPPED)
                break;
        }
        const CFinanceWnd& e = finance_of(d).engine();
        const MarketProduct& a1 = dynamic_cast<MarketingDepartment&>(*d.view().marketing).engine().product(0, 0);
        y.cash = e.cash;
        y.profit = e.get_net_profit('L', 1);
        y.sold = a1.sold_last_year;
        y.demand = a1.annual_orders;
        return y;
    };
    const Year kept = play(false), raised = play(true);
    EXPECT_GT(kept.sold, 0u);
    EXPECT_GT(raised.sold, kept.sold * 3 / 2);
    EXPECT_GT(raised.profit, kept.profit + 50000);
    EXPECT_GT(raised.cash, kept.cash);
    // Late orders cost the market: the demand A1 is left with at the year's end.
    EXPECT_GT(raised.demand, kept.demand * 2);
    std::printf("scenario levels: sold %u, profit %d, cash %d; raised: sold %u, profit %d, cash %d\n", kept.sold,
                kept.profit, kept.cash, raised.sold, raised.profit, raised.cash);
}

TEST(FinanceSession, TheBankruptTwinEndsAtTheFirstDailyStepAndAgainAfterStopAndRun)
{
    TempDir dir;
    const std::string path = twin(dir, "BANKRUPT.VNB", record1, "^300000^300000^0^10^0.01^0.05^0.10^0.85^@");
    SessionDriver d;
    ASSERT_TRUE(d.start(path, options()));
    EXPECT_EQ(d.state(), RUN_OVER);
    const auto boxes = d.prompts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Simulation Over|You have bankrupted");
    d.view().Stop();
    ASSERT_EQ(d.state(), RUN_STOPPED);
    finance_of(d).engine().post_cash(50000, 0);   // cash lifted: still bankrupt
    d.runTicks(3 * 480);
    EXPECT_EQ(d.state(), RUN_OVER);
    EXPECT_EQ(d.prompts().back(), "Simulation Over|You have bankrupted");
    EXPECT_LE(d.clock().current.day, 4);
}

TEST(FinanceSession, DamagedFinanceSectionsAreRefusedWhole)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string from, to;
        bool loads;
    };
    const Case cases[] = {
        {"RECEIVE5.VNB", record1, "^300000^-50000^5^10^0.01^0.05^0.10^0.85^@", true},
        {"PERCENT0.VNB", record1, "^300000^-50000^0^10^0.01^0.05^0.10^0^@", false},
        {"SHORT.VNB", record2, "^5000^2500^1500^2000^100000^@", false},
        {"NOFIN.VNB", "[FINANCE]", "[FINANCE_GONE]", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SessionDriver d;
        EXPECT_EQ(d.start(twin(dir, c.name, c.from, c.to), options()), c.loads);
        if (c.loads) {
            EXPECT_EQ(finance_of(d).engine().receivable_terms(), 5);
        } else {
            ASSERT_FALSE(d.prompts().empty());
            EXPECT_NE(d.prompts().back().find("Data Loading Error"), std::string::npos) << d.prompts().back();
        }
    }
}

TEST(FinanceSession, SaveLoadSaveMidYearGivesTheSameFinanceFile)
{
    TempDir dir;
    const std::string first = dir / "mid.vnb";
    SessionDriver a;
    ASSERT_TRUE(a.start(sample, options()));
    a.runUntil({95, 5, 10, 8, 0});
    auto& production = dynamic_cast<ProductionDepartment&>(*a.view().production);
    production.engine().buy_machine_unit(1);   // a machine on order
    CFinanceWnd& e = finance_of(a).engine();
    e.post_cash(-1234, 1);                       // a payment pending
    a.runTicks(90);
    ASSERT_TRUE(a.save(first));
    const std::vector<uint8_t> fnc = read_bytes(ext_of(first, "FNC"));
    // The file is the state, then the set's serial (its last four bytes).
    ASSERT_GT(fnc.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(fnc.begin(), fnc.end() - 4), e.save_state());

    SessionDriver b;
    ASSERT_TRUE(b.start(first, options()));
    ASSERT_TRUE(b.view().resumed());
    CFinanceWnd& r = finance_of(b).engine();
    EXPECT_EQ(r.cash, e.cash);
    // The payment posted above and the vendor bills not yet due, as they were.
    ASSERT_EQ(r.deferred.size(), e.deferred.size());
    for (size_t i = 0; i < e.deferred.size(); ++i) {
        EXPECT_EQ(r.deferred[i].amount, e.deferred[i].amount) << i;
        EXPECT_EQ(r.deferred[i].due_tick, e.deferred[i].due_tick) << i;
    }
    EXPECT_EQ(std::count_if(r.deferred.begin(), r.deferred.end(), [](const DeferredPayment& p) { return p.amount == -1234; }), 1);
    EXPECT_EQ(r.machine_starts.size(), 1u);
    const std::string again = dir / "again.vnb";
    ASSERT_TRUE(b.save(again));
    EXPECT_EQ(read_bytes(ext_of(again, "FNC")), fnc);

    // Both run on alike.
    a.runUntil({95, 8, 1, 8, 0});
    b.runUntil({95, 8, 1, 8, 0});
    EXPECT_EQ(r.save_state(), e.save_state());
}

// Sessions saved in the layouts of older versions: before "BG_1032" the file
// has no year-before-last report and previous EVA, before "BG_1033" no
// depreciation parts; a file of the version reads them, and the session
// goes on from either.
namespace {

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
        CFinanceWnd& saved = finance_of(source).engine();
        saved.before_last.v[0] = 1234;
        saved.previous_eva = 55;
        saved.machine_dep_acc = 4321;
        saved.asset_dep_acc = 321;
        saved.machine_dep_cur = 77;
        const LayoutPair files = save_before_and_at(source.view(), dir, g.before, g.id);
        EXPECT_EQ(files.added("FNC"), g.bytes);
        for (const bool carried : {false, true}) {
            SCOPED_TRACE(carried ? "at the version" : "before it");
            SessionDriver d;
            ASSERT_TRUE(d.start(carried ? files.at : files.older, options()));
            ASSERT_TRUE(d.view().resumed());
            CFinanceWnd& loaded = finance_of(d).engine();
            g.check(loaded, carried);
            EXPECT_EQ(loaded.eva, saved.eva);
            runs_on_and_reopens(d, options(), dir, "FNC", 2 * 480);
        }
    }
}
