#include "support/fakes.h"

FakeHost::FakeHost() = default;

void FakeUi::box(std::string_view text, std::string_view caption)
{
    boxes.push_back(std::string(caption) + "|" + std::string(text));
    state_at_box.push_back(host != nullptr ? host->state : -1);
}

FinanceScenario sample_finance()
{
    FinanceScenario s;
    s.cash = 300000;
    s.limit = -50000;
    s.receivable_terms = 0;
    s.payable_terms = 10;
    s.positive_rate = 0.01f;
    s.negative_rate = 0.05f;
    s.capital_rate = 0.10f;
    s.machine_work_percent = 0.85f;
    s.direct_labour = 5000;
    s.production_expenses = 2500;
    s.marketing_expenses = 1500;
    s.management_expenses = 2000;
    s.other_assets = 100000;
    s.machine_investment = 210000;
    return s;
}

Books::Books(const FinanceScenario& s, SimDateTime start, int16_t shift_mode) : engine(host, ui)
{
    ui.host = &host;
    CClockPane& c = host.clock_pane;
    c.SetShiftMode(shift_mode);
    c.SkipToWorkDay(start);
    c.start_date = c.current = start;
    c.stored_month = start.month;
    c.stored_year = start.year;
    c.month_of_year = 1;
    host.ticks = -1;
    engine.set_neighbours(&marketing, &purchasing, &production);
    engine.posting_observer = [this](int32_t amount, int16_t deferred) { postings.push_back({amount, deferred}); };
    engine.load_scenario(s);
    engine.init_accounts();
}

void Books::tick()
{
    CClockPane& c = host.clock_pane;
    ++host.ticks;
    c.Advance(host.ticks);
    if (c.IsNewYear()) {
        c.ResetYearCounters();
        engine.on_new_year();
    }
    if (c.IsNewMonth()) {
        c.CloseMonthCounters();
        engine.on_new_month();
        ++c.months_elapsed;
    }
    if (c.IsDayStart()) {
        c.CountWorkDay();
        engine.daily_step();
    }
    engine.on_minute();
}

void Books::run_ticks(int n)
{
    for (int i = 0; i < n; ++i)
        tick();
}

void Books::run_until(const SimDateTime& d)
{
    const SimDateTime target{d.year, d.month, d.day, 8, 0};
    while (compare_dates(host.clock_pane.current, target) == 0)
        tick();
}
