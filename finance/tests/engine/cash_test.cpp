// Cash, deferred payments, bankruptcy, interest, taxes and machine purchases.
#include "support/fakes.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

FinanceScenario terms(int16_t receivable, int16_t payable)
{
    FinanceScenario s = sample_finance();
    s.receivable_terms = receivable;
    s.payable_terms = payable;
    return s;
}

int32_t pending_sum(const CFinanceWnd& e)
{
    int32_t sum = 0;
    for (const DeferredPayment& d : e.deferred)
        sum += d.amount;
    return sum;
}

} // namespace

TEST(PostCash, ImmediateAndDeferredPostings)
{
    struct Case {
        int32_t amount;
        int16_t deferred;
        int32_t cash_change;
        int redraws;
        size_t entries;
        int32_t due_offset;   // of the entry, from the tick of posting
    };
    const Case cases[] = {
        {1234, 0, 1234, 1, 0, 0},
        {-700, 0, -700, 1, 0, 0},
        {0, 0, 0, 1, 0, 0},          // still booked and redrawn
        {0, 1, 0, 0, 0, 0},          // nothing happens
        {500, 1, 0, 0, 1, 5 * 480},  // receivable terms, 480 minutes a term day
        {-300, 1, 0, 0, 1, 10 * 480},
    };
    for (int16_t mode : {0, 1, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " amount " << c.amount << " deferred " << c.deferred);
            Books b(terms(5, 10), {95, 3, 6, 8, 0}, mode);
            b.host.ticks = 777;
            const int32_t before = b.engine.cash;
            const int redraws = b.ui.cash_redraws;
            b.engine.post_cash(c.amount, c.deferred);
            EXPECT_EQ(b.engine.cash - before, c.cash_change);
            EXPECT_EQ(b.ui.cash_redraws - redraws, c.redraws);
            ASSERT_EQ(b.engine.deferred.size(), c.entries);
            if (c.entries == 1) {
                EXPECT_EQ(b.engine.deferred[0].amount, c.amount);
                EXPECT_EQ(b.engine.deferred[0].due_tick, 777 + c.due_offset);
            }
        }
    }
}

TEST(PostCash, DueEntriesAreBookedAtTheFirstDayStartAtOrAfterTheirTick)
{
    for (int16_t mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        Books b(terms(5, 2), {95, 3, 6, 8, 0}, mode);
        b.tick();   // the first day start, tick 0
        b.run_ticks(60);
        const int32_t posted_at = b.host.ticks;
        b.engine.post_cash(900, 1);   // due 2400 minutes on
        b.engine.post_cash(-400, 1);  // due 960 minutes on
        b.engine.post_cash(250, 1);
        const int32_t cash0 = b.engine.cash;
        const Total receipts0 = b.engine.receipts, payments0 = b.engine.payments;
        int32_t booked_payment_at = -1, booked_receipt_at = -1;
        while (b.host.ticks < posted_at + 6000) {
            const size_t before = b.engine.deferred.size();
            b.tick();
            // Never before the due tick, and only at a day start.
            if (b.host.clock_pane.IsDayStart()) {
                for (const DeferredPayment& d : b.engine.deferred)
                    EXPECT_GT(d.due_tick, b.host.ticks);
            }
            if (b.engine.deferred.size() != before) {
                EXPECT_TRUE(b.host.clock_pane.IsDayStart());
                if (before == 3)
                    booked_payment_at = b.host.ticks;
                else
                    booked_receipt_at = b.host.ticks;
            }
        }
        ASSERT_GE(booked_payment_at, posted_at + 960);
        ASSERT_GE(booked_receipt_at, posted_at + 2400);
        EXPECT_TRUE(b.engine.deferred.empty());
        // Both receipts, due the same day, are booked together.
        EXPECT_EQ(b.engine.receipts.acc - receipts0.acc, 1150);
        EXPECT_EQ(b.engine.receipts.cur - receipts0.cur, 1150);
        EXPECT_EQ(b.engine.payments.acc - payments0.acc, 400);
        EXPECT_EQ(b.engine.payments.cur - payments0.cur, 400);
        // Cash moved by the entries and by nothing else but the month's bookings (none in this week).
        EXPECT_EQ(b.engine.cash - cash0, 750);
    }
}

TEST(PostCash, SeveralEntriesDueTheSameDayInAnyOrderAreAllBooked)
{
    Books b(terms(3, 3), {95, 3, 6, 8, 0}, 0);
    b.tick();
    b.host.ticks = 100;
    b.engine.post_cash(-10, 1);
    b.engine.post_cash(20, 1);
    b.host.ticks = 50;
    b.engine.post_cash(30, 1);
    b.engine.post_cash(-40, 1);
    b.host.ticks = 5000;
    b.engine.book_due_payments();
    EXPECT_TRUE(b.engine.deferred.empty());
    EXPECT_EQ(b.ui.cash_redraws, 1);   // once for the whole walk
}

TEST(Bankruptcy, EndsAtTheLimitAndStaysEndedForTheSession)
{
    Books b;
    b.tick();
    b.engine.cash = b.engine.limit + 1;
    b.engine.check_bankruptcy();
    EXPECT_EQ(b.host.state, 1);
    EXPECT_TRUE(b.ui.boxes.empty());
    b.engine.cash = b.engine.limit;
    b.engine.check_bankruptcy();
    EXPECT_EQ(b.host.state, 3);
    ASSERT_EQ(b.ui.boxes.size(), 1u);
    EXPECT_EQ(b.ui.boxes[0], "Simulation Over|You have bankrupted");
    EXPECT_EQ(b.ui.state_at_box[0], 3);   // the box is seen with the run over
    // Stop and Run, and cash lifted by receipts: the next daily step ends it again.
    b.host.state = 1;
    b.engine.post_cash(100000, 0);
    b.run_until({95, 1, 3, 8, 0});
    EXPECT_EQ(b.host.state, 3);
    EXPECT_EQ(b.ui.boxes.size(), 2u);
    EXPECT_EQ(b.ui.state_at_box[1], 3);
}

TEST(Bankruptcy, TheNewYearStopLeavesABankruptRunOver)
{
    Books b(sample_finance(), {95, 12, 27, 8, 0}, 0);
    b.tick();
    b.engine.cash = b.engine.limit - 10;
    b.run_until({95, 12, 28, 8, 0});
    ASSERT_EQ(b.host.state, 3);
    b.run_until({96, 1, 2, 8, 0});   // taxes day, the new-year minute
    b.tick();
    EXPECT_EQ(b.host.state, 3);
    EXPECT_TRUE(std::find(b.host.states.begin(), b.host.states.end(), 0) == b.host.states.end());
    // A solvent company stops at the new year.
    Books c(sample_finance(), {95, 12, 27, 8, 0}, 0);
    c.run_until({96, 1, 2, 8, 0});
    c.tick();
    EXPECT_EQ(c.host.state, 0);
    EXPECT_EQ(c.ui.beeps.front(), (std::pair<int, int>{500, 100}));
}

TEST(Interest, AccruesOnTheSignOfCashAndBooksTruncated)
{
    struct Case {
        int32_t cash;
        float earned, paid;
    };
    const Case cases[] = {{0, 0, 0}, {100000, 10.0f, 0}, {-100000, 0, 50.0f}, {12345, 1.2345f, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cash);
        Books b;
        b.engine.cash = c.cash;
        b.engine.accrue_interest();
        EXPECT_FLOAT_EQ(b.engine.interest_earned_month, c.earned);
        EXPECT_FLOAT_EQ(b.engine.interest_paid_month, c.paid);
        b.engine.accrue_interest();
        b.engine.book_interest();
        EXPECT_EQ(b.engine.cash, c.cash + static_cast<int32_t>(2 * c.earned) - static_cast<int32_t>(2 * c.paid));
        EXPECT_FLOAT_EQ(b.engine.interest_earned.cur, 2 * c.earned);   // totals keep the floats
        EXPECT_FLOAT_EQ(b.engine.interest_paid.acc, 2 * c.paid);
        EXPECT_FLOAT_EQ(b.engine.interest_paid_last_month, 2 * c.paid);
        EXPECT_EQ(b.engine.interest_earned_month, 0);
        EXPECT_EQ(b.engine.interest_paid_month, 0);
    }
}

TEST(Taxes, ThirtyFivePercentOfLastYearsProfitBeforeTaxes)
{
    struct Case {
        int32_t sales;
        int32_t taxes;
    };
    for (const Case& c : {Case{100000, 35000}, Case{1001, 350}, Case{-5000, 0}, Case{0, 0}}) {
        SCOPED_TRACE(c.sales);
        Books b;
        b.engine.last = {};
        b.engine.last.v[0] = c.sales;
        const int32_t cash = b.engine.cash;
        const int32_t expenses = b.engine.total_expenses.acc;
        b.engine.pay_taxes();
        EXPECT_EQ(cash - b.engine.cash, c.taxes);
        EXPECT_EQ(b.engine.taxes_acc, c.taxes);
        EXPECT_EQ(b.engine.total_expenses.acc - expenses, c.taxes);
        if (c.taxes > 0) {
            EXPECT_EQ(b.engine.taxes_last_year_end, c.taxes);
        }
        // The net profit of a loss is the loss itself.
        if (c.sales <= 0) {
            EXPECT_EQ(b.engine.get_net_profit('L', 1), c.sales);
        }
    }
}

TEST(Machines, PurchasesStartDatesAndTheirLimit)
{
    struct Case {
        SimDateTime today;
        int months;
        SimDateTime start;
    };
    const Case cases[] = {
        {{95, 3, 6, 8, 0}, 2, {95, 5, 1, 8, 0}},
        {{95, 11, 6, 8, 0}, 1, {95, 12, 1, 8, 0}},
        {{95, 11, 6, 8, 0}, 2, {96, 1, 1, 8, 0}},
        {{95, 11, 6, 8, 0}, 14, {97, 1, 1, 8, 0}},
        {{95, 11, 6, 8, 0}, -3, {95, 11, 1, 8, 0}},
        {{95, 12, 6, 8, 0}, 25, {98, 1, 1, 8, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.months);
        Books b(sample_finance(), c.today);
        ASSERT_TRUE(b.engine.add_machine(-80000, c.months));
        EXPECT_EQ(b.engine.cash, 300000 - 80000);
        EXPECT_EQ(b.engine.machine_investment, 290000);
        ASSERT_EQ(b.engine.machine_starts.size(), 1u);
        const SimDateTime& s = b.engine.machine_starts[0];
        EXPECT_EQ(compare_dates(s, c.start), 1) << s.year << "/" << s.month << "/" << s.day;
    }
    Books b;
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(b.engine.add_machine(-1000, 1));
    const int32_t cash = b.engine.cash;
    EXPECT_FALSE(b.engine.add_machine(-1000, 1));
    EXPECT_EQ(b.engine.cash, cash);
    EXPECT_EQ(b.engine.machine_starts.size(), 10u);
    EXPECT_EQ(b.engine.machine_investment, 220000);
    EXPECT_EQ(b.ui.boxes.back(), "Error|Too many items in ADDMACHINE list");
}

TEST(Machines, AStartingUnitAddsItsShareOfTheMonthlyAmounts)
{
    struct Case {
        int units;
        int32_t labour, production;
    };
    for (const Case& c : {Case{3, 7500, 3750}, Case{5, 6250, 3125}, Case{1, 5000, 2500}, Case{0, 5000, 2500}}) {
        SCOPED_TRACE(c.units);
        Books b(sample_finance(), {95, 3, 6, 8, 0});
        b.production.units = c.units;
        ASSERT_TRUE(b.engine.add_machine(-50000, 1));
        b.run_until({95, 4, 3, 8, 0});
        EXPECT_EQ(b.engine.labour_amount, c.labour);
        EXPECT_EQ(b.engine.production_amount, c.production);
        EXPECT_TRUE(b.engine.machine_starts.empty());
    }
}

TEST(Shutdowns, ARestartRaisesTheAmountsByItsDays)
{
    for (int units : {2, 0}) {
        Books b(sample_finance(), {95, 3, 6, 8, 0});
        b.production.units = units;
        b.engine.shutdowns.push_back({{95, 3, 7, 8, 0}, 11});
        b.engine.shutdowns.push_back({{95, 6, 1, 8, 0}, 11});
        b.run_until({95, 3, 8, 8, 0});
        ASSERT_EQ(b.engine.shutdowns.size(), 1u);
        // 1 + 11 / (2 x 22) = 1.25; with no unit nothing changes.
        EXPECT_EQ(b.engine.labour_amount, units ? 6250 : 5000);
        EXPECT_EQ(b.engine.production_amount, units ? 3125 : 2500);
    }
}

TEST(Ledger, CashAndPendingMatchEveryPostingOverAYearAndAcrossAResume)
{
    const FinanceScenario s = terms(5, 10);
    Books a(s, {95, 1, 2, 8, 0}, 0);
    std::unique_ptr<Books> resumed;
    int64_t posted = 0, interest = 0;
    int64_t resumed_posted = 0, resumed_interest = 0;
    int day = 0;
    auto step = [&s](Books& b, int64_t& posted_sum, int64_t& interest_sum, int day_number) {
        const float earned = b.engine.interest_earned_month, paid = b.engine.interest_paid_month;
        const size_t before = b.postings.size();
        b.tick();
        if (b.host.clock_pane.IsMonthClosing())
            interest_sum += static_cast<int32_t>(earned) - static_cast<int32_t>(paid);
        if (b.host.clock_pane.IsDayStart()) {
            // The day's business: a sale, a purchase, a refund.
            b.engine.post_cash(1000 + 37 * (day_number % 11), static_cast<int16_t>(day_number % 3 != 0));
            b.engine.post_cash(-(800 + 53 * (day_number % 7)), 1);
            if (day_number % 5 == 0)
                b.engine.post_cash(-150, 0);
        }
        for (size_t i = before; i < b.postings.size(); ++i)
            posted_sum += b.postings[i].first;
        const int64_t ledger = s.cash + posted_sum + interest_sum;
        return b.engine.cash + static_cast<int64_t>(pending_sum(b.engine)) == ledger;
    };
    while (compare_dates(a.host.clock_pane.current, {95, 12, 29, 15, 0}) == 0) {
        if (a.host.clock_pane.current.hour == 8 && a.host.clock_pane.current.minute == 59)
            ++day;
        ASSERT_TRUE(step(a, posted, interest, day)) << a.host.ticks;
        if (!resumed && a.host.clock_pane.current.month == 7 && a.host.clock_pane.current.hour == 10) {
            resumed = std::make_unique<Books>(s, a.host.clock_pane.start_date, 0);
            resumed->host.clock_pane = a.host.clock_pane;
            resumed->host.ticks = a.host.ticks;
            ASSERT_TRUE(resumed->engine.load_state(a.engine.save_state()));
            ASSERT_EQ(resumed->engine.save_state(), a.engine.save_state());
            resumed_posted = posted;
            resumed_interest = interest;
        } else if (resumed) {
            ASSERT_TRUE(step(*resumed, resumed_posted, resumed_interest, day)) << resumed->host.ticks;
        }
    }
    ASSERT_TRUE(resumed);
    EXPECT_GT(a.engine.receipts.acc, 0);
    EXPECT_GT(a.engine.payments.acc, 0);
    EXPECT_NE(interest, 0);
    // The resumed run is the same run.
    EXPECT_EQ(resumed->engine.save_state(), a.engine.save_state());
}

TEST(Ledger, ReceiptsAndPaymentsAreWhatWasBookedAtOnceAndWhenDue)
{
    Books b(terms(2, 3), {95, 3, 6, 8, 0}, 0);
    b.tick();
    int32_t immediate_in = 0, immediate_out = 0, deferred_in = 0, deferred_out = 0;
    for (int day = 0; day < 40; ++day) {
        // The posters add what they book at once themselves.
        b.engine.post_cash(300 + day, 0);
        b.engine.add_cash_receipts(300 + day);
        immediate_in += 300 + day;
        b.engine.post_cash(-(200 + day), 0);
        b.engine.add_cash_payments(200 + day);
        immediate_out += 200 + day;
        b.engine.post_cash(700, 1);
        b.engine.post_cash(-90, 1);
        b.run_ticks(480);
    }
    for (const DeferredPayment& d : b.engine.deferred)
        (d.amount > 0 ? deferred_in : deferred_out) += d.amount;
    EXPECT_EQ(b.engine.receipts.acc, immediate_in + 40 * 700 - deferred_in);
    EXPECT_EQ(b.engine.payments.acc, immediate_out + 40 * 90 + deferred_out);
}
