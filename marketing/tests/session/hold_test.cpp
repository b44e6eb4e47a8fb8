// The three decisions Marketing can hold the run for: New Contracts, Contract
// End and New Product. Hold stops the day where the question was asked;
// Restore asks the same question again without a draw, and with the same
// answer the run goes on as the one that was never held.
#include "sample_session.h"
#include "app/commands.h"
#include "finance/finance_wnd.h"
#include <gtest/gtest.h>

using namespace sample_session;

namespace {

enum class Decision { NewContracts, ContractEnd, NewProduct };

// One question as the department asked it: what it showed, and where the
// generator and the day stood.
struct Ask {
    std::vector<uint32_t> shown;  // contract numbers, or the entry
    uint32_t generator = 0;
    int32_t tick = 0;
};

struct HoldRun {
    std::vector<Ask> asks;
    int holds = 0;
    std::string failures;
    // The set's files at the end, without their serial.
    std::vector<std::vector<uint8_t>> files;
};

// The sample to mid-April, every question answered `answer` (the headless
// answers for the other two decisions); with `hold`, the first question of
// the decision is held and answered at Restore.
HoldRun play(Decision decision, int answer, bool hold)
{
    HoldRun run;
    TempDir dir;
    // One session at a time: the driver's box host is the process's.
    SessionDriver d;
    DriverOptions o = market_options(17);
    const DepartmentFactory inner = o.factory;
    o.factory = [inner, decision, answer, hold, &run](CVornView& view) {
        Departments d = inner(view);
        auto& dept = dynamic_cast<MarketingDepartment&>(*d.marketing);
        // Answers Hold the first time the decision is asked, when holding.
        auto answer_of = [&run, answer, hold](int hold_code) { return hold && run.asks.size() == 1 ? hold_code : answer; };
        auto ask = [&run, &view](std::vector<uint32_t> shown) {
            run.asks.push_back({std::move(shown), view.rand_state(), view.tick_count});
        };
        switch (decision) {
        case Decision::NewContracts:
            dept.new_contracts_hook = [&dept, ask, answer_of](const std::vector<ContractRef>& list,
                                                              std::vector<bool>& accepted) {
                std::vector<uint32_t> numbers;
                for (const ContractRef& r : list)
                    numbers.push_back(dept.engine().customers[r.customer].contracts[r.contract].number);
                ask(numbers);
                accepted.assign(list.size(), true);
                return answer_of(5);
            };
            break;
        case Decision::ContractEnd:
            dept.contract_end_hook = [&dept, ask, answer_of](const ContractRef& r) {
                ask({dept.engine().customers[r.customer].contracts[r.contract].number});
                return answer_of(3);
            };
            break;
        case Decision::NewProduct:
            dept.new_product_hook = [ask, answer_of](int entry) {
                ask({static_cast<uint32_t>(entry)});
                return answer_of(2);
            };
            break;
        }
        return d;
    };
    const int16_t code = decision == Decision::NewContracts  ? RESTART_NEW_CONTRACTS
                         : decision == Decision::ContractEnd ? RESTART_CONTRACT_LOST
                                                             : RESTART_NEW_PRODUCTS;
    o.on_hold = [&run, &d, code](CVornView& view) {
        ++run.holds;
        auto& dept = dynamic_cast<MarketingDepartment&>(*view.marketing);
        const CMarketingWnd& m = dept.engine();
        // The day stopped at the question: its stage kept, Production and
        // the day's end not reached, nothing saved.
        if (view.held_department != HELD_MARKETING || m.restart_stage != static_cast<uint16_t>(code))
            run.failures += "held by another stage; ";
        if (code == RESTART_NEW_CONTRACTS)
            for (int p = 0; p < m.product_count(0); ++p)
                if (m.product(0, p).ordered_today != 0)
                    run.failures += "the day's orders were drawn before the hold; ";
        const uint16_t days = m.day_count;
        // Save and Run are refused while the question waits.
        const size_t boxes = d.prompts().size();
        if (SaveSessionAs(view) || view.RunPrecheck())
            run.failures += "saved or run in HOLD; ";
        const std::vector<std::string> seen = d.prompts();
        if (seen.size() != boxes + 2 || seen[boxes] != "Save Session|Can not save in HOLD State" ||
            seen[boxes + 1].find("|Can not run in HOLD State") == std::string::npos)
            run.failures += "no HOLD boxes; ";
        view.RestoreHold();
        if (view.run_state == RUN_HOLD)
            run.failures += "Restore did not resume; ";
        if (m.day_count != days + 1)
            run.failures += "the held day did not end after Restore; ";
    };
    if (!d.start(sample, o))
        throw std::runtime_error("the sample did not start");
    d.runUntil({95, 4, 14, 10, 0});
    // Entering HOLD shows Finance's current statement, which its file keeps:
    // both runs show it before they are compared.
    finance_of(d).engine().select_report('C');
    const std::string session = dir / "end.vnb";
    if (d.save(session))
        for (const char* ext : {"MGR", "PRC", "MRK", "PRD", "FNC"})
            run.files.push_back(state_bytes(session, ext));
    return run;
}

} // namespace

TEST(MarketingHold, RestoreAsksAgainWithoutADrawAndTheRunGoesOnAsUnheld)
{
    struct Case {
        const char* what;
        Decision decision;
        int answer;
    };
    const Case cases[] = {
        {"new contracts accepted", Decision::NewContracts, 1},
        {"contract renewed", Decision::ContractEnd, 1},
        {"contract not renewed", Decision::ContractEnd, 2},
        {"new product accepted", Decision::NewProduct, 1},
        {"new product cancelled", Decision::NewProduct, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HoldRun unheld = play(c.decision, c.answer, false);
        const HoldRun held = play(c.decision, c.answer, true);
        ASSERT_FALSE(unheld.asks.empty()) << "the sample asks the question before mid-April";
        EXPECT_EQ(unheld.holds, 0);
        EXPECT_EQ(held.holds, 1);
        EXPECT_EQ(held.failures, "");
        // The held question is asked once more, the same, on the same tick
        // and with the generator where it stood; then the questions go on
        // as in the unheld run.
        ASSERT_EQ(held.asks.size(), unheld.asks.size() + 1);
        EXPECT_EQ(held.asks[1].shown, held.asks[0].shown);
        EXPECT_EQ(held.asks[1].generator, held.asks[0].generator);
        EXPECT_EQ(held.asks[1].tick, held.asks[0].tick);
        for (size_t i = 0; i < unheld.asks.size(); ++i) {
            const Ask& a = held.asks[i == 0 ? 0 : i + 1];
            EXPECT_EQ(a.shown, unheld.asks[i].shown) << "question " << i;
            EXPECT_EQ(a.generator, unheld.asks[i].generator) << "question " << i;
            EXPECT_EQ(a.tick, unheld.asks[i].tick) << "question " << i;
        }
        const auto &a = unheld.files, &b = held.files;
        ASSERT_EQ(a.size(), 5u);
        ASSERT_EQ(b.size(), 5u);
        for (size_t i = 0; i < a.size(); ++i)
            EXPECT_TRUE(a[i] == b[i]) << "file " << i << ": " << first_difference(b[i], a[i]);
    }
}
