// Package contracts: creation checks, the shipment calendar, dispatch and
// arrival by the contract's identity, full tables, the contract's end.
#include "support/fixture.h"
#include <gtest/gtest.h>

namespace {

int weekday(const SimDateTime& d) { return weekday_of(d); }

TEST(ContractCreation, QuantitiesAreCheckedBeforeAnythingIsMade)
{
    struct Case {
        int supplier;
        std::vector<int32_t> q;
        const char* refusal;
    } cases[] = {
        {0, {4, 5}, "Requested quantites are less than the minimum"},
        {1, {0}, "Requested quantites are less than the minimum"},
        {0, {-1, 20}, "Invalid quantity:"},
        {0, {40000, 0}, "Invalid quantity:"},
        {0, {5, 5}, ""},
        {0, {}, "Requested quantites are less than the minimum"},
    };
    for (const Case& c : cases) {
        Fixture fx;
        const std::string r = fx.p.create_contract(c.supplier, 0, c.q);
        EXPECT_EQ(r, c.refusal);
        EXPECT_EQ(fx.p.contracts.size(), r.empty() ? 1u : 0u);
    }
    // A package whose minimum is 0 still needs one unit.
    Fixture fx;
    fx.p.suppliers[1].packages[0].minimum = 0;
    EXPECT_EQ(fx.p.create_contract(1, 0, {0}), "Requested quantites are less than the minimum");
    EXPECT_EQ(fx.p.create_contract(1, 0, {1}), "");
}

TEST(ContractCreation, AnEleventhContractIsRefused)
{
    Fixture fx;
    for (int i = 0; i < MAX_PRC_CONTRACTS; ++i)
        ASSERT_EQ(fx.p.create_contract(0, 0, {10, 0}), "");
    EXPECT_EQ(fx.p.create_contract(0, 0, {10, 0}), "Index Overflow MAX_PRC_CONTRACTS");
    EXPECT_EQ(fx.p.contracts.size(), 10u);
}

TEST(Calendar, WeeklyDatesFallOnTheShipmentDay)
{
    Fixture fx;
    fx.view.clock.current = at(1996, 3, 6);   // a Wednesday
    fx.p.suppliers[0].lead_base = 0;
    ASSERT_EQ(fx.p.create_contract(0, 0, {10, 0}), "");
    const PurchaseContract& c = fx.p.contracts[0];
    ASSERT_FALSE(c.dates.empty());
    EXPECT_EQ(compare_dates(c.dates[0], at(1996, 3, 11)), 1);   // the next Monday
    for (const SimDateTime& d : c.dates)
        EXPECT_EQ(weekday(d), 2);
    EXPECT_EQ(c.dates.size(), 52u);
    EXPECT_EQ(compare_dates(c.end, at(1997, 3, 6)), 1);
}

TEST(Calendar, MonthlyFromThe31stShipsOnlyInLongMonths)
{
    Fixture fx;
    fx.view.clock.current = at(1996, 1, 31);
    fx.p.suppliers[1].lead_base = 0;
    ASSERT_EQ(fx.p.create_contract(1, 0, {20}), "");
    const PurchaseContract& c = fx.p.contracts[0];
    for (const SimDateTime& d : c.dates)
        EXPECT_TRUE(d.day == 31 || d.day <= 2) << d.month << "/" << d.day;   // a weekend 31st moves on
    // Jan, Mar (Sunday: 1 Apr), May, Jul, Aug (Saturday: 2 Sep), Oct, Dec, Jan.
    EXPECT_EQ(c.dates.size(), 8u);
    EXPECT_EQ(compare_dates(c.dates[1], at(1996, 4, 1)), 1);
    EXPECT_EQ(compare_dates(c.dates[4], at(1996, 9, 2)), 1);
}

TEST(Calendar, LeapDayEndsOnThe28th)
{
    Fixture fx;
    fx.view.clock.current = at(1996, 2, 29);
    ASSERT_EQ(fx.p.create_contract(0, 0, {10, 0}), "");
    EXPECT_EQ(compare_dates(fx.p.contracts[0].end, at(1997, 2, 28)), 1);
}

// Runs the daily steps over a year, counting the contract's arrivals.
TEST(Calendar, EveryDateArrivesWithinTheYearWhateverTheShiftMode)
{
    for (int16_t mode : {SHIFT_ONE, SHIFT_THREE, SHIFT_TWO}) {
        for (int16_t day : {int16_t{2}, int16_t{7}}) {   // Monday, and Saturday (no working day in mode 0)
            Fixture fx;
            fx.view.clock.SetShiftMode(mode);
            fx.xa().order_level = fx.xb().order_level = fx.ya().order_level = -1;
            fx.p.suppliers[0].packages[0].shipment_day = day;
            ASSERT_EQ(fx.p.create_contract(0, 0, {10, 0}), "");
            fx.ui.answers = {CONTRACT_END};
            const size_t dates = fx.p.contracts[0].dates.size();
            int arrivals = 0;
            for (int i = 0; i < 400; ++i) {
                fx.next_day();
                arrivals += fx.xa().daily_contract_arrivals[static_cast<size_t>(fx.p.day_index - 1)] / 10;
                if (fx.p.day_index >= 25)
                    fx.p.on_new_month();
                ASSERT_GE(fx.on_order(0, 0), 0);
            }
            // Nothing is left on its way once the calendar is done.
            EXPECT_EQ(static_cast<size_t>(arrivals), dates) << mode << " day " << day;
            EXPECT_TRUE(fx.p.shipments.empty());
            EXPECT_TRUE(fx.p.contracts.empty());
            EXPECT_EQ(fx.on_order(0, 0), 0);
        }
    }
}

TEST(Dispatch, DatesWithinTheQuotedLeadGoAtOnce)
{
    Fixture fx;
    fx.p.suppliers[0].lead_base = 0;   // starts today
    ASSERT_EQ(fx.p.create_contract(0, 0, {10, 5}), "");
    fx.p.dispatch_contract_shipments();
    // Monday today; the quoted lead of 10 working days reaches two more Mondays.
    EXPECT_EQ(fx.p.shipments.size(), 3u);
    EXPECT_EQ(fx.on_order(0, 0), 30);
    EXPECT_EQ(fx.on_order(0, 1), 15);
    EXPECT_EQ(fx.xa().daily_dispatched[0], 30);
    EXPECT_EQ(fx.p.contracts[0].first_dispatch, 0);
}

TEST(Dispatch, ATenthShipmentWaitsForRoom)
{
    Fixture fx;
    fx.p.suppliers[0].lead_base = 0;
    fx.p.suppliers[0].quoted_lead = 60;   // twelve Mondays within the lead
    ASSERT_EQ(fx.p.create_contract(0, 0, {10, 0}), "");
    fx.p.dispatch_contract_shipments();
    EXPECT_EQ(fx.p.shipments.size(), 9u);
    ASSERT_EQ(fx.ui.boxes.size(), 1u);
    EXPECT_EQ(fx.ui.boxes[0], "Application Error|Index Overflow MAX_LOADED_CONTRACT_SHIPMENTS");
    EXPECT_EQ(fx.p.contracts[0].next_shipment, 9);
    // The first arrives today; the next step has room for one more.
    fx.p.receive_contract_shipments();
    EXPECT_EQ(fx.p.shipments.size(), 8u);
    fx.p.dispatch_contract_shipments();
    EXPECT_EQ(fx.p.shipments.size(), 9u);
    EXPECT_EQ(fx.p.contracts[0].next_shipment, 10);
}

TEST(Identity, ShipmentsKeepTheirContractWhenAnEarlierOneEnds)
{
    Fixture fx;
    for (auto& s : fx.p.suppliers)
        s.lead_base = 0;
    ASSERT_EQ(fx.p.create_contract(0, 0, {10, 0}), "");   // #1 XA at 5
    ASSERT_EQ(fx.p.create_contract(0, 0, {0, 20}), "");   // #2 XB at 9
    ASSERT_EQ(fx.p.create_contract(1, 0, {25}), "");      // #3 YA at 3
    fx.p.dispatch_contract_shipments();
    const int32_t xa = fx.on_order(0, 0), xb = fx.on_order(0, 1), ya = fx.on_order(1, 0);
    EXPECT_EQ(xa, 30);
    fx.p.end_contract(0);
    // #1's shipments are cancelled with it; #2's and #3's stay theirs.
    EXPECT_EQ(fx.on_order(0, 0), 0);
    EXPECT_EQ(fx.on_order(0, 1), xb);
    EXPECT_EQ(fx.on_order(1, 0), ya);
    fx.finance.postings.clear();
    fx.p.receive_contract_shipments();   // today's: #2's and #3's first
    EXPECT_EQ(fx.xa().stock, 400);
    EXPECT_EQ(fx.xb().stock, 320);
    EXPECT_EQ(fx.ya().stock, 525);
    ASSERT_EQ(fx.finance.postings.size(), 2u);
    EXPECT_EQ(fx.finance.postings[0].amount, -(20 * 9 + 50));
    EXPECT_EQ(fx.finance.postings[1].amount, -(25 * 3 + 30));

    // Saved and loaded mid-transit, the shipments still name their contracts.
    std::vector<uint8_t> bytes = fx.p.save_state_bytes();
    Fixture other;
    ASSERT_TRUE(other.p.load_state_bytes(bytes));
    EXPECT_EQ(other.p.save_state_bytes(), bytes);
    other.p.end_contract(1);
    ASSERT_EQ(other.p.shipments.size(), 2u);
    for (const ContractShipment& s : other.p.shipments)
        EXPECT_EQ(other.p.contracts[static_cast<size_t>(other.p.contract_by_serial(s.contract))].package.id, 1);
}

TEST(ContractEnd, RenewEndOrHold)
{
    for (int answer : {CONTRACT_RENEW, CONTRACT_END, CONTRACT_HOLD}) {
        Fixture fx;
        ASSERT_EQ(fx.p.create_contract(0, 0, {10, 0}), "");
        fx.p.contracts[0].end = fx.view.clock.current;
        fx.ui.answers = {answer};
        const bool done = fx.p.check_contract_ends();
        ASSERT_EQ(fx.ui.asked.size(), 1u);
        switch (answer) {
        case CONTRACT_RENEW:
            EXPECT_TRUE(done);
            ASSERT_EQ(fx.p.contracts.size(), 1u);
            EXPECT_EQ(compare_dates(fx.p.contracts[0].start, fx.view.clock.current), 1);
            EXPECT_EQ(compare_dates(fx.p.contracts[0].end, at(1997, 3, 4)), 1);
            EXPECT_EQ(fx.p.contracts[0].end_handled, 0);
            EXPECT_EQ(fx.p.contracts[0].next_shipment, 0);
            break;
        case CONTRACT_END:
            EXPECT_TRUE(done);
            EXPECT_TRUE(fx.p.contracts.empty());
            break;
        default:
            EXPECT_FALSE(done);
            EXPECT_EQ(fx.view.run_state, RUN_HOLD);
            EXPECT_EQ(fx.view.held_department, HELD_PURCHASING);
            EXPECT_EQ(fx.p.contracts[0].end_handled, 0);
            // Asked again for the same contract.
            fx.ui.answers = {CONTRACT_RENEW};
            EXPECT_TRUE(fx.p.check_contract_ends());
            EXPECT_EQ(fx.ui.asked.size(), 2u);
            EXPECT_EQ(fx.ui.asked[1], fx.ui.asked[0]);
        }
    }
}

TEST(ContractEnd, HoldStopsTheDayAndTheRestartMovesOnlyRedLineAndDay)
{
    Fixture fx;
    ASSERT_EQ(fx.p.create_contract(0, 0, {10, 0}), "");
    fx.p.contracts[0].end = fx.view.clock.current;
    fx.xa().stock = 50;   // below its order level: would order in a full step
    fx.ui.answers = {CONTRACT_HOLD};
    EXPECT_FALSE(fx.p.daily_step(0));
    EXPECT_EQ(fx.p.day_index, 0);
    EXPECT_TRUE(fx.p.orders.size() >= 1u);
    const size_t orders = fx.p.orders.size();
    const std::vector<uint8_t> before = fx.p.save_state_bytes();
    EXPECT_TRUE(fx.p.daily_step(3));
    EXPECT_EQ(fx.p.day_index, 1);
    EXPECT_EQ(fx.p.orders.size(), orders);
    EXPECT_EQ(fx.xa().stock, 50);
    EXPECT_EQ(fx.xa().red_line_status, 2);
    EXPECT_EQ(fx.xa().red_line_days, 1);
    EXPECT_NE(fx.p.save_state_bytes(), before);
}

} // namespace
