// Finance in whole sessions over the bundled sample, on the program's own
// assembly of the departments: a year run solvent to the new-year stop, the
// bankrupt twin, the refused twins of the FINANCE section and the state file.
#include "app/commands.h"
#include "app/view.h"
#include "finance/finance_dept.h"
#include "foundation/datafile.h"
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
#include <cstdio>
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

namespace {

// What the panes hear from the session: the view's notices by kind.
struct PaneNotices : ViewUi {
    int cash = 0, profit = 0;
    void panes_changed(unsigned panes) override
    {
        cash += (panes & PANE_CASH) != 0 ? 1 : 0;
        profit += (panes & PANE_PROFIT) != 0 ? 1 : 0;
    }
};

// Every posting the real departments make, as Finance's observer sees it.
struct PostingRecord {
    int64_t immediate_in = 0, immediate_out = 0, deferred_in = 0, deferred_out = 0;
    int count = 0;
    std::vector<int32_t> at_new_year;   // the postings of the new-year minute
    void add(int32_t amount, int16_t deferred, bool new_year)
    {
        ++count;
        if (deferred == 0)
            (amount >= 0 ? immediate_in : immediate_out) += amount;
        else
            (amount >= 0 ? deferred_in : deferred_out) += amount;
        if (new_year)
            at_new_year.push_back(amount);
    }
    int64_t all() const { return immediate_in + immediate_out + deferred_in + deferred_out; }
};

int64_t pending_of_sign(const CFinanceWnd& e, bool positive)
{
    int64_t sum = 0;
    for (const DeferredPayment& d : e.deferred)
        if ((d.amount > 0) == positive)
            sum += d.amount;
    return sum;
}

// Every yearly total of the books is last year's part and this year's.
void expect_years_add_up(const CFinanceWnd& e)
{
    const std::pair<const char*, const Total*> totals[] = {
        {"receipts", &e.receipts},        {"payments", &e.payments},
        {"expenses", &e.total_expenses},  {"written off", &e.written_off},
        {"marketing", &e.marketing_expenses}, {"production", &e.production_expenses},
        {"labour", &e.direct_labour},     {"management", &e.management_expenses},
        {"materials", &e.materials},      {"promotion", &e.promotion},
        {"depreciation", &e.depreciation},
    };
    for (const auto& [name, t] : totals)
        EXPECT_EQ(t->acc, t->last + t->cur) << name;
    EXPECT_NEAR(e.interest_earned.acc, e.interest_earned.last + e.interest_earned.cur, 0.01 * e.interest_earned.acc);
    EXPECT_NEAR(e.interest_paid.acc, e.interest_paid.last + e.interest_paid.cur, 0.01 * e.interest_paid.acc + 0.01);
}

// The statement's lines, each from the report's values by hand.
void expect_statement_of(CFinanceWnd& e, const FinanceReport& r)
{
    const bool with = e.with_added_value != 0;
    const int32_t cost = r.v[1] + r.v[2] + r.v[3] + static_cast<int32_t>(r.depreciation());
    const int32_t gross = r.v[0] - cost + (with ? r.v[6] : r.v[7]) + (with ? r.v[9] : r.v[10]);
    const int32_t before_finance = gross - (r.v[12] + r.v[13]) - r.v[14];
    const int32_t before_taxes = before_finance - r.v[15];
    const int32_t net = before_taxes > 0 ? before_taxes - static_cast<int32_t>(before_taxes * 0.35) : before_taxes;
    const auto text = [](int32_t v) {
        std::string t = std::to_string(v);
        insert_thousands_separators(t);
        return t;
    };
    char depreciation[64];
    std::snprintf(depreciation, sizeof depreciation, "%0.0f", static_cast<double>(r.depreciation()));
    const std::pair<size_t, std::string> expected[] = {
        {0, text(r.v[0])},          {2, text(r.v[1])},  {3, text(r.v[2])},         {4, text(r.v[3])},
        {5, depreciation},          {6, text(cost)},    {7, text(with ? r.v[6] : r.v[7])},
        {8, text(with ? r.v[9] : r.v[10])},             {10, text(gross)},         {11, text(r.v[12] + r.v[13])},
        {12, text(r.v[14])},        {14, text(before_finance)},                    {15, text(r.v[15])},
        {17, text(before_taxes)},   {19, text(net)},
    };
    e.displayed = r;
    const std::vector<StatementLine> lines = e.statement_lines();
    ASSERT_EQ(lines.size(), 20u);
    for (const auto& [at, value] : expected)
        EXPECT_EQ(lines[at].value, value) << lines[at].label;
    EXPECT_EQ(e.displayed_taxes, before_taxes - net);
    // The profit the core and the taxes read is 65 percent of it, truncated
    // on its own (it may differ by a dollar from the statement's line).
    EXPECT_EQ(e.net_profit_of(r, with, 1), before_taxes > 0 ? static_cast<int32_t>(before_taxes * 0.65) : before_taxes);
}

} // namespace

// The bundled sample a whole year with every department: the money of each
// through Finance's post_cash and its totals, the ledger at every day's end,
// the month closings, the new-year stop with the year's taxes and the
// reports' roll, and what the core reads of the books then.
TEST(FinanceSession, TheSampleRunsAYearSolventToTheNewYearStop)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, options()));
    PaneNotices panes;
    d.sessions().set_ui(&panes);
    CFinanceWnd& e = finance_of(d).engine();
    EXPECT_EQ(e.cash, 300000);
    EXPECT_EQ(e.payable_terms(), 10);
    EXPECT_EQ(e.receivable_terms(), 0);
    PostingRecord posted;
    int64_t interest = 0;
    e.posting_observer = [&](int32_t amount, int16_t deferred) {
        posted.add(amount, deferred, d.view().clock.IsNewYear() != 0);
    };
    // The player's decisions: fuller material stores (the year then earns
    // enough to pay taxes) and a machine unit bought early, whose price
    // leaves through Finance at once.
    CPurchasingWnd& purchasing = dynamic_cast<PurchasingDepartment&>(*d.view().purchasing).engine();
    for (int m = 0; m < purchasing.material_count(0); ++m) {
        RawMaterial& r = purchasing.material(0, m);
        r.max_level = static_cast<int16_t>(2 * r.max_level);
        r.order_level = static_cast<int16_t>(2 * r.order_level);
    }
    auto& production = dynamic_cast<ProductionDepartment&>(*d.view().production);
    const int64_t out_before = posted.immediate_out;
    production.engine().buy_machine_unit(1);
    EXPECT_EQ(posted.immediate_out - out_before, -80000);
    const int32_t opening = 300000;
    int days = 0, closings = 0, work_days_1995 = 0;
    int32_t cash_before_new_year = 0;
    FinanceReport december{};
    while (d.state() != RUN_STOPPED || d.clock().current.year == 95) {
        const float earned = e.interest_earned_month, paid = e.interest_paid_month;
        const int32_t cash = e.cash;
        d.runTicks(1);
        const CClockPane& c = d.clock();
        if (c.IsMonthClosing()) {
            interest += static_cast<int32_t>(earned) - static_cast<int32_t>(paid);
            ++closings;
            if (c.current.month == 12) {
                FinanceReport now;
                e.compute_report('C', now);
                december = now;
            }
        }
        if (c.current.year == 95 && c.IsDayStart())
            work_days_1995 = c.work_days_this_year;
        if (d.view().clock.IsNewYear() && c.IsDayStart()) {
            cash_before_new_year = cash;
        }
        // The ledger at every day's end.
        if (c.current.hour == 15 && c.current.minute == 59) {
            ++days;
            ASSERT_EQ(e.cash + static_cast<int64_t>(pending(e)), opening + posted.all() + interest) << days;
        }
        ASSERT_NE(d.state(), RUN_OVER);
        if (d.state() == RUN_STOPPED)
            break;
    }
    d.sessions().set_ui(nullptr);
    // The run stopped at the first working minute of 1996, Finance in front
    // with its current-year report.
    EXPECT_EQ(d.clock().current.year, 96);
    EXPECT_EQ(d.clock().current.month, 1);
    EXPECT_EQ(d.clock().current.hour, 8);
    EXPECT_EQ(d.view().current_department, d.view().finance);
    EXPECT_EQ(e.report_letter, 'C');
    EXPECT_GT(days, 250);
    EXPECT_EQ(closings, 12);
    EXPECT_GT(e.cash, e.limit);   // solvent through the year
    // Cash at the year's end is the ledger's figure.
    EXPECT_EQ(e.cash, opening + posted.all() + interest - pending(e));

    // Each department's money went through post_cash and into its totals:
    // Marketing's sales at once (receivable terms 0) into the receipts,
    // Purchasing's arrivals deferred (payable terms 10) into the payments
    // when booked, Finance's own expenses, taxes and the machine at once.
    EXPECT_GT(posted.immediate_in, 0);
    EXPECT_LT(posted.deferred_out, 0);
    EXPECT_EQ(e.receipts.acc, posted.immediate_in + posted.deferred_in - pending_of_sign(e, true));
    EXPECT_EQ(e.payments.acc, -(posted.deferred_out - pending_of_sign(e, false)));
    EXPECT_GT(e.sales_last, 0);
    EXPECT_GT(e.materials.last, 0);
    EXPECT_GE(e.direct_labour.last, 12 * 4000);
    EXPECT_EQ(e.management_expenses.last, 12 * 1500);
    EXPECT_EQ(e.machine_investment, 290000);
    expect_years_add_up(e);

    // The reports rolled at December's closing: 'L' is the year as 'C' stood
    // then, its sales the whole year's; 'P' is still empty.
    ASSERT_NE(december, FinanceReport{});
    for (size_t i : {1u, 2u, 3u, 4u, 12u, 13u, 14u, 15u})
        EXPECT_EQ(e.last.v[i], december.v[i]) << i;
    EXPECT_EQ(e.last.v[0], e.sales_last);
    EXPECT_EQ(e.last.v[2], e.direct_labour.last);
    EXPECT_EQ(e.last.v[3], e.production_expenses.last);
    EXPECT_EQ(e.last.v[14], e.management_expenses.last);
    EXPECT_EQ(e.before_last, FinanceReport{});
    // The year's statement adds up line by line.
    const FinanceReport last_year = e.last;
    const FinanceReport shown = e.displayed;
    expect_statement_of(e, last_year);
    e.displayed = shown;

    // The taxes of the year just ended: one immediate posting at the
    // new-year minute, the cash drop it made.
    const StatementFigures s = statement_figures(e.last, true);
    EXPECT_EQ(s.net_profit, s.before_taxes - s.taxes);
    EXPECT_EQ(e.taxes_acc, s.taxes);
    EXPECT_EQ(e.taxes_acc, s.before_taxes > 0 ? static_cast<int32_t>(0.35 * s.before_taxes) : 0);
    ASSERT_GT(s.taxes, 0);
    EXPECT_EQ(std::count(posted.at_new_year.begin(), posted.at_new_year.end(), -s.taxes), 1);
    EXPECT_EQ(e.taxes_last_year_end, s.taxes);
    EXPECT_GT(e.last_net_profit, 0);
    EXPECT_EQ(e.last_net_profit, e.get_net_profit('L', 1));

    // What the core reads of the books at the new-year minute: the Profit
    // pane's last-year figure, told by a notice; General Information's
    // figures as decided (the credit line as stored, terms in days, building
    // and machines net of their depreciation).
    CDepartmentWnd& f = *d.view().finance;
    ASSERT_TRUE(d.view().clock.IsNewYear());
    EXPECT_EQ(f.net_profit('L'), e.get_net_profit('L', 1));
    EXPECT_GT(panes.profit, 0);
    EXPECT_GT(panes.cash, 0);
    EXPECT_EQ(f.cash(), e.cash);
    EXPECT_EQ(f.bank_credit_line(), -50000);
    EXPECT_EQ(f.client_credit_days(), 0);
    EXPECT_EQ(f.supplier_credit_days(), 10);
    ASSERT_GT(work_days_1995, 250);
    EXPECT_EQ(f.building_value(), 100000 - static_cast<int32_t>((work_days_1995 - 1) * (100000 * 0.04) / 260.0));
    EXPECT_EQ(f.machine_value(), 290000 - static_cast<int32_t>((work_days_1995 - 1) * (290000 * 0.2) / 260.0));
    // Show FG: the rows' added values and the two inventory values.
    const std::string fg = finished_goods_text(d.view());
    EXPECT_NE(fg.find("FG Inv with add value: " + std::to_string(e.fg_value_with_added_value()) + "\n"),
              std::string::npos) << fg;
    EXPECT_NE(fg.find("FG Inv with no add value: " + std::to_string(e.fg_value_at_material_cost()) + "\n"),
              std::string::npos) << fg;
    EXPECT_EQ(f.unit_added_value(0, 0), static_cast<int32_t>(e.unit_added_value(0, 0)));
    EXPECT_GT(e.unit_added_value(0, 0), 0.0f);

    // The next year runs on from the stop: its totals start again and add
    // up, and the ledger still holds.
    d.runUntil({96, 2, 5, 8, 0});
    ASSERT_EQ(d.clock().current.month, 2);
    EXPECT_GT(e.direct_labour.cur, 0);
    EXPECT_GT(e.sales_cur, 0);
    EXPECT_GT(e.receipts.cur, 0);
    expect_years_add_up(e);
    std::printf("year's end: cash %d, net profit %d, taxes %d\n", cash_before_new_year, e.get_net_profit('L', 1),
                e.taxes_acc);
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
    // Over at the session's first daily step: the start day's 08:00.
    EXPECT_EQ(d.state(), RUN_OVER);
    const SimDateTime first = d.clock().current;
    EXPECT_EQ(first.hour, 8);
    EXPECT_EQ(first.minute, 0);
    EXPECT_EQ(compare_dates(first, d.clock().start_date), 1);
    const auto boxes = d.prompts();
    ASSERT_EQ(std::count(boxes.begin(), boxes.end(), "Simulation Over|You have bankrupted"), 1);
    d.view().Stop();
    ASSERT_EQ(d.state(), RUN_STOPPED);
    CFinanceWnd& e = finance_of(d).engine();
    e.post_cash(50000, 0);   // cash lifted above the limit: still bankrupt
    ASSERT_GT(e.cash, e.limit);
    d.runTicks(3 * 480);
    // Over again at the next daily step, the next working day's 08:00.
    EXPECT_EQ(d.state(), RUN_OVER);
    const auto again = d.prompts();
    EXPECT_EQ(std::count(again.begin(), again.end(), "Simulation Over|You have bankrupted"), 2);
    EXPECT_EQ(again.back(), "Simulation Over|You have bankrupted");
    EXPECT_EQ(d.clock().current.hour, 8);
    EXPECT_EQ(d.clock().current.minute, 0);
    EXPECT_EQ(compare_dates(d.clock().current, first), 2);   // a later day
    EXPECT_LE(d.clock().current.day, 4);
}

// A purchase while ten machine starts are pending: Finance refuses it with
// its box, Production adds no unit, no money moves, and the run goes on.
TEST(FinanceSession, AMachineBoughtWithTenStartsPendingIsRefusedAndTheRunGoesOn)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, options()));
    CFinanceWnd& e = finance_of(d).engine();
    auto& production = dynamic_cast<ProductionDepartment&>(*d.view().production).engine();
    std::vector<std::string> boxes;
    finance_of(d).hooks.message = [&](std::string_view text, std::string_view caption) {
        boxes.push_back(std::string(caption) + "|" + std::string(text));
    };
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(e.add_machine(-1000, 3));
    const int units = production.count_active_units();
    const size_t m2_units = production.Machines[1]->Units.size();
    const int32_t cash = e.cash, investment = e.machine_investment;
    production.buy_machine_unit(1);
    EXPECT_EQ(boxes, std::vector<std::string>{"Error|Too many items in ADDMACHINE list"});
    EXPECT_EQ(production.Machines[1]->Units.size(), m2_units);
    EXPECT_EQ(e.cash, cash);
    EXPECT_EQ(e.machine_investment, investment);
    EXPECT_EQ(e.machine_starts.size(), 10u);
    d.runTicks(2 * 480);
    EXPECT_NE(d.state(), RUN_OVER);
    EXPECT_GE(d.tickCount(), 2 * 480);
    EXPECT_EQ(production.count_active_units(), units);
    finance_of(d).hooks = {};
}

// Holding the run shows the current-year report: on the statement when
// Finance is in front, selected only (the Profit pane told) when not.
TEST(FinanceSession, EnteringHoldBringsTheCurrentYearReportBack)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, options()));
    d.runTicks(3 * 480);
    PaneNotices panes;
    d.sessions().set_ui(&panes);
    FinanceDepartment& f = finance_of(d);
    CFinanceWnd& e = f.engine();
    int statements = 0;
    f.hooks.statement_changed = [&] { ++statements; };
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        d.view().SwitchDepartment(shown ? ID_FINANCE : ID_MARKETING);
        ASSERT_EQ(d.view().current_department == d.view().finance, shown);
        e.show_report('L');
        ASSERT_EQ(e.report_letter, 'L');
        const int statements_before = statements, profit_before = panes.profit;
        d.view().EnterHold(HELD_MARKETING);
        EXPECT_EQ(e.report_letter, 'C');
        FinanceReport current;
        e.compute_report('C', current);
        EXPECT_EQ(e.displayed, current);
        EXPECT_EQ(statements - statements_before, shown ? 1 : 0);
        EXPECT_EQ(panes.profit - profit_before, 1);
        d.view().RestoreHold();
    }
    d.sessions().set_ui(nullptr);
    f.hooks = {};
}

// The Cash pane hears of every posting booked at once and of none deferred.
TEST(FinanceSession, TheCashPaneIsToldOfEachImmediatePostingOnly)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, options()));
    PaneNotices panes;
    d.sessions().set_ui(&panes);
    CFinanceWnd& e = finance_of(d).engine();
    const struct {
        int32_t amount;
        int16_t deferred;
        int notices;
    } cases[] = {{500, 0, 1}, {-500, 0, 1}, {0, 0, 1}, {500, 1, 0}, {-500, 1, 0}, {0, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " deferred " << c.deferred);
        const int before = panes.cash;
        e.post_cash(c.amount, c.deferred);
        EXPECT_EQ(panes.cash - before, c.notices);
    }
    d.sessions().set_ui(nullptr);
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

// A damaged Finance file is refused whole with the core's box; the session
// that was open stays as it was.
TEST(FinanceSession, ADamagedFinanceFileIsRefusedAndTheOpenSessionStays)
{
    TempDir dir;
    const std::string saved = dir / "mid.vnb";
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, options()));
    d.runUntil({95, 3, 6, 10, 0});
    CFinanceWnd& e = finance_of(d).engine();
    e.post_cash(-777, 1);
    ASSERT_TRUE(d.save(saved));
    const std::string fnc_path = ext_of(saved, "FNC");
    const std::vector<uint8_t> good = read_bytes(fnc_path);
    ASSERT_GT(good.size(), 8u);
    const size_t state_end = good.size() - 4;   // the set's serial follows the state
    const size_t letter = 2 + 8 * static_cast<size_t>(good[0] | good[1] << 8);
    ASSERT_EQ(good[letter], 'C');
    auto changed = [&](const std::function<void(std::vector<uint8_t>&)>& edit) {
        std::vector<uint8_t> v = good;
        edit(v);
        return v;
    };
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"a byte short", changed([&](auto& v) { v.erase(v.begin() + static_cast<std::ptrdiff_t>(state_end - 1)); })},
        {"a byte long", changed([&](auto& v) { v.insert(v.begin() + static_cast<std::ptrdiff_t>(state_end), 0); })},
        {"bad report letter", changed([&](auto& v) { v[letter] = 'X'; })},
        {"more payments than the file holds", changed([](auto& v) { v[0] = 0xFF; v[1] = 0x7F; })},
    };
    const int32_t ticks = d.tickCount(), cash = e.cash;
    const size_t pending_count = e.deferred.size();
    CVornView* open = &d.view();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write_bytes(fnc_path, c.bytes);
        const size_t prompts = d.prompts().size();
        d.host().Answer(plat::IDOK, "Open Session", "Damaged session state file",
                        plat::ScriptedHost::Match::Substring, 1);
        EXPECT_FALSE(d.sessions().StartSession(saved, {}));
        ASSERT_EQ(&d.view(), open);
        EXPECT_EQ(d.tickCount(), ticks);
        EXPECT_EQ(&finance_of(d).engine(), &e);
        EXPECT_EQ(e.cash, cash);
        EXPECT_EQ(e.deferred.size(), pending_count);
        ASSERT_EQ(d.prompts().size(), prompts + 1);
        EXPECT_NE(d.prompts().back().find("Damaged session state file"), std::string::npos) << d.prompts().back();
    }
    // The file as saved opens.
    write_bytes(fnc_path, good);
    SessionDriver r;
    ASSERT_TRUE(r.start(saved, options()));
    EXPECT_TRUE(r.view().resumed());
    EXPECT_EQ(finance_of(r).engine().cash, cash);
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
