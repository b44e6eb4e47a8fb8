// C1's monthly blanket contract: every shipment's quantity is drawn once,
// within the item's range, as its date comes within the blanket days; the
// delivery loads the quantity drawn. Three drawn shipments waiting fill the
// contract's table: the next is refused with its box, keeps its place and
// is drawn once a delivery has loaded.
#include "sample_session.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <map>

using namespace sample_session;

namespace {

const ContractRef blanket_ref{0, 2};

// The loaded delivery of the blanket contract for the supply date, if any.
const LoadedContract* loaded_delivery(const CMarketingWnd& m, const SimDateTime& supply)
{
    for (const LoadedContract& l : m.loaded)
        if (l.customer == blanket_ref.customer && l.contract == blanket_ref.contract && compare_dates(l.supply, supply) == 1)
            return &l;
    return nullptr;
}

struct BlanketRun {
    std::map<size_t, uint16_t> drawn;  // by supply-list position
    int loads = 0;
    std::vector<std::string> boxes;
    int days_with_three = 0;
};

// Runs the sample day by day with the contract's blanket days, checking
// every day that the drawn quantities stay as drawn and each load takes its own.
void run_blanket(BlanketRun& run, int blanket_days, int days)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(sample, market_options(5)));
    MarketingDepartment& dept = marketing_of(d);
    dept.message_hook = [&run](std::string_view text, std::string_view caption) {
        run.boxes.push_back(std::string(caption) + "|" + std::string(text));
    };
    CMarketingWnd& m = dept.engine();
    CustomerContract& b = m.customers[blanket_ref.customer].contracts[blanket_ref.contract];
    ASSERT_EQ(b.type, CONTRACT_BLANKET);
    b.blanket_days = static_cast<uint16_t>(blanket_days);
    const ContractItem& item = b.items[0];
    ASSERT_LT(item.blanket_min, item.blanket_max);
    size_t made = b.deliveries_made;
    for (int day = 0; day < days && !::testing::Test::HasFatalFailure(); ++day) {
        const size_t boxes = run.boxes.size();
        d.runTicks(480);
        const std::string when = "day " + std::to_string(day);
        // Drawn ahead of the loads, in supply-list order, never again.
        ASSERT_EQ(b.blanket_drawn, b.deliveries_made + b.blanket_pending) << when;
        ASSERT_LE(b.blanket_pending, MAX_BLANKET_SHIPMENTS) << when;
        for (size_t j = 0; j < b.blanket_pending; ++j) {
            const size_t at = b.deliveries_made + j;
            const uint16_t q = item.pending[j];
            EXPECT_GE(q, item.blanket_min) << when;
            EXPECT_LE(q, item.blanket_max) << when;
            const auto [it, fresh] = run.drawn.emplace(at, q);
            EXPECT_EQ(it->second, q) << when << ": shipment " << at << " drawn again";
            (void)fresh;
        }
        // Each delivery loaded today carries its drawn quantity.
        for (; made < b.deliveries_made; ++made) {
            const LoadedContract* l = loaded_delivery(m, b.supply[made]);
            ASSERT_NE(l, nullptr) << when;
            ASSERT_TRUE(run.drawn.count(made)) << when << ": loaded before it was drawn";
            EXPECT_EQ(l->lines[0].quantity, run.drawn[made]) << when;
            ++run.loads;
        }
        if (b.blanket_pending == MAX_BLANKET_SHIPMENTS) {
            ++run.days_with_three;
            // A date within the window waits with the table full: refused today, its place kept.
            const SimDateTime edge = d.clock().AddWorkDays(d.clock().current, blanket_days - 1);
            if (b.blanket_drawn < b.supply.size() && compare_dates(b.supply[b.blanket_drawn], edge) != 2) {
                const std::vector<std::string> today(run.boxes.begin() + static_cast<long>(boxes), run.boxes.end());
                EXPECT_NE(std::find(today.begin(), today.end(), "Error|Index Overflow MAX_BLANKET_SHIPMENTS"), today.end())
                    << when;
            }
        }
    }
}

} // namespace

TEST(MarketingBlanket, EachShipmentIsDrawnOnceInItsRangeAndLoadedAsDrawn)
{
    BlanketRun run;
    run_blanket(run, 30, 150);
    // Monthly shipments from 20 February: every month's loaded, none left waiting for a slot.
    EXPECT_GE(run.loads, 5);
    EXPECT_EQ(run.days_with_three, 0);
    EXPECT_TRUE(run.boxes.empty() || std::find(run.boxes.begin(), run.boxes.end(),
                                               "Error|Index Overflow MAX_BLANKET_SHIPMENTS") == run.boxes.end());
    // The draws spread over the range.
    uint16_t low = 0xFFFF, high = 0;
    for (const auto& [at, q] : run.drawn) {
        low = std::min(low, q);
        high = std::max(high, q);
    }
    EXPECT_LT(low, high);
}

TEST(MarketingBlanket, AFourthShipmentWaitsForItsPlaceWithTheBox)
{
    BlanketRun run;
    // 80 working days see four monthly dates: the fourth finds three waiting.
    run_blanket(run, 80, 150);
    EXPECT_GT(run.days_with_three, 0);
    EXPECT_NE(std::find(run.boxes.begin(), run.boxes.end(), "Error|Index Overflow MAX_BLANKET_SHIPMENTS"),
              run.boxes.end());
    // The refused shipments were drawn later, each once, and loaded as drawn.
    EXPECT_GE(run.loads, 5);
    EXPECT_GE(run.drawn.size(), static_cast<size_t>(run.loads + 3));
}
