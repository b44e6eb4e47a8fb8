// The Marketing department with the real Production department in whole
// sessions over the bundled sample.
#include "sample_session.h"
#include <gtest/gtest.h>
#include <algorithm>

using namespace sample_session;

namespace {

// What every day of the run keeps true: the lots are the stock, the firm
// orders are the open orders and the loaded deliveries, the supply days hold
// them all, and the backlog is the open orders.
void expect_books_agree(const CMarketingWnd& m, const std::string& when)
{
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p) {
            const MarketProduct& pr = m.product(f, p);
            int lots = 0, open = 0, loaded = 0, due = 0;
            for (const InventoryLot& l : pr.lots)
                lots += l.units;
            for (const OpenOrder& o : m.open_orders)
                if (o.family == f && o.product == p)
                    open += o.units;
            for (const LoadedContract& l : m.loaded)
                for (int i = 0; i < l.item_count; ++i)
                    if (l.lines[static_cast<size_t>(i)].family == f && l.lines[static_cast<size_t>(i)].product == p)
                        loaded += l.lines[static_cast<size_t>(i)].quantity;
            for (uint16_t v : pr.supply_days)
                due += v;
            const std::string what = when + " product " + std::to_string(f) + "/" + std::to_string(p);
            ASSERT_EQ(lots, pr.stock) << what;
            ASSERT_GE(pr.stock, 0) << what;
            ASSERT_EQ(pr.firm_orders, open + loaded) << what;
            ASSERT_EQ(pr.backlog, open) << what;
            ASSERT_EQ(due, open + loaded) << what;
        }
}

std::string date_of(const SimDateTime& d)
{
    return std::to_string(d.day) + "/" + std::to_string(d.month) + "/" + std::to_string(1900 + d.year);
}

} // namespace

// A simulated quarter and a half of the sample: the day's orders become
// production orders, the plant makes them, the units arrive in finished
// goods and ship; contracts are offered, accepted and delivered; the new
// product comes in on its date and its contract follows.
TEST(MarketingSession, OrdersAreMadeArriveAndShipWhileTheBooksAgree)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, market_options(1)));
    const CMarketingWnd& m = marketing_of(d).engine();
    ProductionDepartment& p = production_of(d);
    ASSERT_EQ(m.family_count(), 1);
    ASSERT_EQ(m.product_count(0), 2);
    const int initial = m.product(0, 0).stock;
    int made_orders = 0;
    SimDateTime end = d.clock().current;
    end.month = 4;
    end.day = 20;
    while (compare_dates(d.clock().current, end) == 0 && d.state() != RUN_OVER) {
        d.runTicks(480);
        expect_books_agree(m, date_of(d.clock().current));
        if (HasFatalFailure())
            return;
        made_orders = std::max<int>(made_orders, static_cast<int>(p.engine().prd_orders.size()));
    }
    const MarketProduct& a1 = m.product(0, 0);
    // Far more was sold than the opening stock: the plant's units shipped.
    EXPECT_GT(a1.shipped_run, initial + 500);
    EXPECT_GT(made_orders, 0);
    EXPECT_GT(a1.sales_value_run, 0u);
    EXPECT_EQ(m.sales_value_run, [&] {
        uint32_t s = 0;
        for (int q = 0; q < m.product_count(0); ++q)
            s += m.product(0, q).sales_value_run;
        return s;
    }());
    // C1's weekly contract ran to its end and was renewed for a year.
    const CustomerContract& weekly = m.customers[0].contracts[0];
    EXPECT_EQ(weekly.status, CONTRACT_ACTIVE);
    EXPECT_EQ(weekly.renewed, 1);
    EXPECT_EQ(weekly.end_date.year, 96);
    EXPECT_GT(weekly.deliveries_made, 0);
    EXPECT_GT(a1.sold_contracts_month + a1.sold_contracts_last_month, 0);
    // The new product came in on its date; C2's contract for it was offered
    // once it existed and its deliveries were loaded. The plant does not
    // make A3 yet, so they wait past C2's patience and the contract ends.
    EXPECT_EQ(m.product_count(0), 3);
    EXPECT_EQ(m.new_products[0].introduced, 1);
    EXPECT_EQ(m.new_products[0].index, 2);
    const CustomerContract& gamma = m.customers[1].contracts[0];
    EXPECT_EQ(gamma.offered, 1);
    EXPECT_GT(gamma.number, 0);
    EXPECT_GT(gamma.deliveries_made, 0);
    const std::vector<std::string> boxes = d.prompts();
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), "Contract Canceled|Contract Cancled - Pass Max Period"), boxes.end());
    // A3 draws customer orders once it is in.
    EXPECT_GT(m.product(0, 2).ordered_month + m.product(0, 2).ordered_last_month, 0);
}

namespace {
std::string ext_of(const std::string& session, const char* ext)
{
    return session.substr(0, session.size() - 3) + ext;
}

void run_days_and_save(SessionDriver& d, int32_t seed, int days, const std::string& session)
{
    ASSERT_TRUE(d.start(sample, market_options(seed)));
    d.runTicks(days * 480 + 130);
    ASSERT_TRUE(d.save(session));
}
} // namespace

// Saved mid-day with open orders, loaded deliveries and contracts under way:
// the file loads back and saves again byte for byte, and the same seed gives
// the same file.
TEST(MarketingSession, SavedStateLoadsAndSavesAgainIdentically)
{
    TempDir dir;
    const std::string session = dir / "feb.vnb";
    SessionDriver first;
    run_days_and_save(first, 5, 92, session);
    const CMarketingWnd& m = marketing_of(first).engine();
    ASSERT_FALSE(m.open_orders.empty());
    const std::vector<uint8_t> mrk = read_bytes(ext_of(session, "MRK"));
    ASSERT_FALSE(mrk.empty());

    SessionDriver second;
    ASSERT_TRUE(second.start(session, market_options(5)));
    ASSERT_TRUE(second.view().resumed());
    const CMarketingWnd& r = marketing_of(second).engine();
    EXPECT_EQ(r.open_orders.size(), m.open_orders.size());
    EXPECT_EQ(r.loaded.size(), m.loaded.size());
    EXPECT_EQ(r.product(0, 0).stock, m.product(0, 0).stock);
    const std::string again = dir / "again.vnb";
    ASSERT_TRUE(second.save(again));
    EXPECT_EQ(read_bytes(ext_of(again, "MRK")), mrk);

    SessionDriver twin;
    const std::string other = dir / "twin.vnb";
    run_days_and_save(twin, 5, 92, other);
    EXPECT_EQ(read_bytes(ext_of(other, "MRK")), mrk);
}

// The resumed run goes on as the unbroken one: same seed, same files at the end.
TEST(MarketingSession, AResumedRunEndsAsTheUnbrokenOne)
{
    TempDir dir;
    SessionDriver whole;
    run_days_and_save(whole, 9, 50, dir / "whole.vnb");

    SessionDriver part;
    run_days_and_save(part, 9, 20, dir / "part.vnb");
    SessionDriver resumed;
    ASSERT_TRUE(resumed.start(dir / "part.vnb", market_options(9)));
    resumed.runTicks(30 * 480);
    ASSERT_TRUE(resumed.save(dir / "resumed.vnb"));
    EXPECT_EQ(read_bytes(dir / "resumed.MRK"), read_bytes(dir / "whole.MRK"));
    EXPECT_EQ(read_bytes(dir / "resumed.PRD"), read_bytes(dir / "whole.PRD"));
}
