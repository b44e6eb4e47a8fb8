// Month closings, the year roll, the reports and the statement.
#include "support/fakes.h"
#include "foundation/datafile.h"
#include <gtest/gtest.h>

namespace {

// The first month from January 1995 whose last day falls on the weekday.
int16_t month_ending_on(int weekday, int16_t& year)
{
    for (year = 95; year < 99; ++year)
        for (int16_t m = 1; m <= 12; ++m) {
            SimDateTime last{year, m, month_length(m, year), 8, 0};
            if (weekday_of(last) == weekday)
                return m;
        }
    return 0;
}

int count_of(const std::vector<std::pair<int32_t, int16_t>>& postings, int32_t amount)
{
    int n = 0;
    for (const auto& p : postings)
        n += p.first == amount ? 1 : 0;
    return n;
}

} // namespace

TEST(MonthClosing, OnceAMonthInEveryShiftModeWhateverTheLastWeekday)
{
    // Weekdays run from 1 Sunday: Friday 6, Saturday 7, Sunday 1, Wednesday 4.
    for (int weekday : {6, 7, 1, 4}) {
        int16_t year = 0;
        const int16_t month = month_ending_on(weekday, year);
        ASSERT_NE(month, 0);
        for (int16_t mode : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << "weekday " << weekday << " mode " << mode);
            Books b(sample_finance(), {year, month, 1, 8, 0}, mode);
            b.production.extra_days = 4;
            b.marketing.advertising = 300;
            const SimDateTime next{static_cast<int16_t>(month == 12 ? year + 1 : year),
                                   static_cast<int16_t>(month % 12 + 1), 4, 8, 0};
            b.run_until(next);
            const int32_t days = mode == 1 ? 30 : 22;
            const int32_t labour = 5000 + static_cast<int32_t>(5000 * 1.5 * 4 / days);
            const int32_t production = 2500 + static_cast<int32_t>(2500 * 1.5 * 4 / days);
            EXPECT_EQ(count_of(b.postings, -2000), 1);        // management and general
            EXPECT_EQ(count_of(b.postings, -1800), 1);        // marketing + the month's advertising
            EXPECT_EQ(count_of(b.postings, -labour), 1);
            EXPECT_EQ(count_of(b.postings, -production), 1);
            EXPECT_EQ(b.engine.direct_labour.cur, labour);
            EXPECT_EQ(b.engine.total_expenses.acc, 2000 + 1800 + labour + production);
        }
    }
}

// The posting departments' day: what they book and add to the totals.
void business_day(Books& b)
{
    b.engine.add_sales(2000);
    b.engine.add_marketing_expenses(11);
    b.engine.add_promotion_expenses(5);
    b.engine.add_inventory_written_off(3);
    b.engine.add_materials_consumed(240);
    b.engine.add_cash_receipts(2000);
    b.engine.post_cash(2000, 0);
    b.engine.add_cash_payments(240);
    b.engine.post_cash(-240, 0);
    b.marketing.sales += 2000;
    b.engine.keep_materials_consumed_copy();
}

TEST(YearRoll, EveryYearlyTotalIsLastPlusCurrentAndTheReportsRoll)
{
    Books b(sample_finance(), {95, 1, 2, 8, 0}, 0);
    b.marketing.products[0].material_cost = 30;
    b.marketing.products[0].fg_units = 10;
    b.production.minutes = 45;
    FinanceReport l_at_first_december{};
    int days_1995 = 0, new_months = 0;
    auto run_to = [&](const SimDateTime& end) {
        while (compare_dates(b.host.clock_pane.current, end) == 0) {
            b.tick();
            const CClockPane& c = b.host.clock_pane;
            if (c.IsDayStart() && b.host.clock_pane.IsNewMonth())
                ++new_months;
            if (c.IsDayStart()) {
                business_day(b);
                if (c.current.year == 95)
                    ++days_1995;
            }
            if (c.IsMonthClosing() && c.current.month == 12 && c.current.year == 95) {
                EXPECT_EQ(b.engine.before_last, FinanceReport{});   // 'P' zero before two year ends
                l_at_first_december = b.engine.last;
            }
            if (c.IsMonthClosing() && c.current.month == 12 && c.current.year == 96) {
                EXPECT_EQ(b.engine.before_last, l_at_first_december);   // December: 'P' := 'L'
            }
        }
    };
    EXPECT_EQ(b.engine.last, FinanceReport{});   // 'L' zero before the first year end
    run_to({96, 2, 15, 8, 0});
    CFinanceWnd& e = b.engine;
    const Total* totals[] = {&e.receipts, &e.payments, &e.total_expenses, &e.written_off, &e.marketing_expenses,
                             &e.production_expenses, &e.direct_labour, &e.management_expenses, &e.materials,
                             &e.promotion, &e.depreciation};
    for (const Total* t : totals) {
        EXPECT_GT(t->cur, 0);
        EXPECT_GT(t->last, 0);
        EXPECT_EQ(t->acc, t->last + t->cur);
    }
    EXPECT_NEAR(e.interest_earned.acc, e.interest_earned.last + e.interest_earned.cur, 0.5);
    EXPECT_EQ(e.sales_last, 2000 * days_1995);
    EXPECT_EQ(e.last.v[0], e.sales_last);   // January's month start sets last year's sales
    EXPECT_EQ(b.marketing.year_rolls, 1);
    EXPECT_EQ(b.purchasing.year_rolls, 1);
    EXPECT_EQ(b.marketing.campaign_clears, 1);   // the day after the roll
    EXPECT_GT(e.taxes_acc, 0);
    EXPECT_EQ(e.taxes_acc, e.get_net_profit('L', 0));
    EXPECT_EQ(b.ui.switches, 1);   // Finance brought forward at the new year
    // Each new month writes the run log's part sum and the profit graph's point.
    EXPECT_GE(new_months, 13);
    EXPECT_EQ(b.host.part_sums, new_months);
    EXPECT_EQ(static_cast<int>(b.ui.months.size()), new_months);
    run_to({97, 2, 15, 8, 0});
    for (const Total* t : totals)
        EXPECT_GT(t->acc, t->last + t->cur);
}

TEST(Taxes, CashDropIsTheTaxOnLastYearsReport)
{
    Books b(sample_finance(), {95, 12, 20, 8, 0}, 0);
    b.run_until({95, 12, 22, 8, 0});
    b.engine.sales_cur = 400000;   // a profitable year
    // December's closing (Friday 29th, the 31st is a Sunday) computes 'L'.
    b.run_until({95, 12, 29, 8, 0});
    b.run_ticks(8 * 60 - 1);
    const int32_t expected = b.engine.get_net_profit('L', 0);
    ASSERT_GT(expected, 0);
    EXPECT_EQ(expected, static_cast<int32_t>(0.35 * statement_figures(b.engine.last, true).before_taxes));
    const int32_t cash = b.engine.cash;
    const int32_t taxes = b.engine.taxes_acc;
    b.tick();
    ASSERT_TRUE(b.host.clock_pane.IsDayStart());
    ASSERT_EQ(b.host.clock_pane.current.year, 96);
    EXPECT_EQ(cash - b.engine.cash, expected);
    EXPECT_EQ(b.engine.taxes_acc - taxes, expected);
}

TEST(Reports, TheStatementAddsUpFromItsReport)
{
    Books b;
    FinanceReport r;
    const int32_t values[16] = {500000, 120000, 60000, 30000, 0, 1000, 2500, 1500, 800, 400, 300, 100,
                                18000, 2000, 24000, 700};
    for (int i = 0; i < 16; ++i)
        r.v[static_cast<size_t>(i)] = values[i];
    r.set_depreciation(45678.9f);
    for (bool with : {true, false}) {
        SCOPED_TRACE(with);
        const StatementFigures s = statement_figures(r, with);
        const int32_t cost = 120000 + 60000 + 30000 + 45678;
        const int32_t fg = with ? 2500 : 1500, wip = with ? 400 : 300;
        const int32_t gross = 500000 - cost + fg + wip;
        const int32_t before_taxes = gross - 20000 - 24000 - 700;
        EXPECT_EQ(s.production_cost, cost);
        EXPECT_EQ(s.gross_profit, gross);
        EXPECT_EQ(s.before_taxes, before_taxes);
        EXPECT_EQ(s.taxes, static_cast<int32_t>(before_taxes * 0.35));
        EXPECT_EQ(s.net_profit, before_taxes - s.taxes);
        b.engine.with_added_value = with ? 1 : 0;
        b.engine.displayed = r;
        const std::vector<StatementLine> lines = b.engine.statement_lines();
        ASSERT_EQ(lines.size(), 20u);
        EXPECT_EQ(lines[0].label, "Sales");
        EXPECT_EQ(lines[0].value, "500,000");
        EXPECT_EQ(lines[5].value, "45679");   // "%0.0f"
        EXPECT_EQ(lines[6].value, "255,678");
        EXPECT_EQ(lines[11].value, "20,000");
        EXPECT_EQ(lines[19].label, "Net profit");
        std::string net = std::to_string(s.net_profit);
        insert_thousands_separators(net);
        EXPECT_EQ(lines[19].value, net);
        EXPECT_EQ(b.engine.displayed_taxes, s.taxes);
    }
}

TEST(Reports, NetProfitLeavesTheStoredReportAlone)
{
    Books b;
    FinanceReport r;
    r.v[0] = 100000;
    r.v[6] = 5000;
    r.v[7] = 2000;
    r.v[9] = 700;
    r.v[10] = 300;
    b.engine.last = r;
    b.engine.accumulated = r;
    for (int16_t flag : {0, 1, 0}) {
        b.engine.with_added_value = flag;
        const int32_t expected = static_cast<int32_t>((100000 + (flag ? 5700 : 2300)) * 0.65);
        EXPECT_EQ(b.engine.get_net_profit('L', 1), expected);
        EXPECT_EQ(b.engine.get_net_profit('A', 1), expected);
        EXPECT_EQ(b.engine.last, r);
    }
    EXPECT_EQ(b.engine.get_net_profit('P', 1), 0);
}

TEST(Reports, ALastYearReportShownRevertsToTheCurrentOneNextMinute)
{
    Books b;
    b.tick();
    b.ui.is_shown = true;
    b.engine.show_report('L');
    EXPECT_EQ(b.engine.report_letter, 'L');
    EXPECT_GT(b.ui.profit_repaints, 0);
    b.tick();
    EXPECT_EQ(b.engine.report_letter, 'C');
}

TEST(Reports, CurrentYearValuesFollowTheBooks)
{
    Books b(sample_finance(), {95, 3, 6, 8, 0});
    b.marketing.products[0].material_cost = 30;
    b.marketing.products[0].fg_units = 10;
    b.production.minutes = 66;
    b.production.units = 3;
    b.purchasing.in_process = 4;
    b.purchasing.price = 12;
    b.purchasing.stock = 100;
    b.engine.init_accounts();
    // 66 minutes of 22 x 8 x 60 x 3 at 7500 a month.
    const float added = 66.0f / (22 * 8 * 60 * 3) * 7500;
    EXPECT_FLOAT_EQ(b.engine.unit_added_value(0, 0), added);
    EXPECT_EQ(b.engine.fg_value_at_material_cost(), 300);
    EXPECT_EQ(b.engine.fg_value_with_added_value(), static_cast<int32_t>(10 * (30 + static_cast<double>(added))));
    EXPECT_EQ(b.engine.plant_inventory_at_material_cost(), 300 + 1200);
    b.marketing.products[0].fg_units = 25;
    b.production.on_order = 5;
    b.engine.add_sales(1234);
    b.engine.add_materials_consumed(99);
    FinanceReport c;
    b.engine.compute_report('C', c);
    EXPECT_EQ(c.v[0], 1234);
    EXPECT_EQ(c.v[1], 99);
    EXPECT_EQ(c.v[7], 15 * 30);
    EXPECT_EQ(c.v[11], static_cast<int32_t>(5 * static_cast<double>(added)));
    EXPECT_EQ(c.v[10], 0);   // the in-process material did not change
    // With no active unit there is no added value (nothing to divide by).
    b.production.units = 0;
    EXPECT_EQ(b.engine.unit_added_value(0, 0), 0.0f);
}
