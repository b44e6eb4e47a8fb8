// Cash, deferred payments, interest, taxes and bankruptcy; the totals, the
// daily step, the month closing, the year roll and the per-minute work.
#include "finance/finance_wnd.h"
#include "app/clock.h"
#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t MINUTES_PER_TERM_DAY = 480;   // one 8-hour day whatever the shift mode

int32_t trunc32(double v)
{
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

} // namespace

CFinanceWnd::CFinanceWnd(FinanceHost& host, FinanceUi& ui) : host_(host), ui_(ui)
{
    deferred.reserve(30);
}

void CFinanceWnd::set_neighbours(MarketingDept* marketing, PurchasingDept* purchasing, ProductionDept* production)
{
    marketing_ = marketing;
    purchasing_ = purchasing;
    production_ = production;
}

ProductFigures CFinanceWnd::figures(int f, int p) const
{
    return marketing_ != nullptr ? marketing_->product_figures(f, p) : ProductFigures{};
}

template <class F> void CFinanceWnd::for_each_product(F&& fn) const
{
    if (marketing_ == nullptr)
        return;
    for (int f = 0; f < marketing_->family_count(); ++f)
        for (int p = 0; p < marketing_->product_count(f); ++p)
            fn(f, p);
}

bool CFinanceWnd::new_year_minute() { return host_.clock().IsNewYear() != 0; }

// ---- cash ----------------------------------------------------------------------

void CFinanceWnd::post_cash(int32_t amount, int16_t deferred_flag)
{
    if (posting_observer)
        posting_observer(amount, deferred_flag);
    if (deferred_flag == 0) {
        cash += amount;
        ui_.update_cash();
        return;
    }
    if (amount == 0)
        return;
    const int16_t terms = amount > 0 ? receivable_terms_ : payable_terms_;
    deferred.push_back({amount, host_.tick() + terms * MINUTES_PER_TERM_DAY});
}

void CFinanceWnd::book_due_payments()
{
    const int32_t now = host_.tick();
    bool booked = false;
    // Walked in order; every entry due by now is booked, wherever it stands.
    for (auto it = deferred.begin(); it != deferred.end();) {
        if (it->due_tick <= now) {
            cash += it->amount;
            if (it->amount < 1)
                payments.add(-it->amount);
            else
                receipts.add(it->amount);
            it = deferred.erase(it);
            booked = true;
        } else {
            ++it;
        }
    }
    if (booked)
        ui_.update_cash();
}

void CFinanceWnd::check_bankruptcy()
{
    if (cash <= limit)
        bankrupt_ = true;
    if (!bankrupt_)
        return;
    // Once bankrupt, the company stays so for the session: every daily step
    // after a Stop and Run ends the run again, whatever the cash.
    host_.set_run_state(3);
    ui_.box("You have bankrupted", "Simulation Over");
}

void CFinanceWnd::accrue_interest()
{
    if (cash > 0)
        interest_earned_month += positive_rate / 100.0f * static_cast<float>(cash);
    else if (cash < 0)
        interest_paid_month += negative_rate / 100.0f * static_cast<float>(-cash);
}

void CFinanceWnd::book_interest()
{
    cash += trunc32(interest_earned_month);
    interest_earned.add(interest_earned_month);
    cash -= trunc32(interest_paid_month);
    interest_paid.add(interest_paid_month);
    interest_earned_month = 0;
    interest_paid_last_month = interest_paid_month;
    interest_paid_month = 0;
    ui_.update_cash();
}

void CFinanceWnd::pay_taxes()
{
    const int32_t taxes = get_net_profit('L', 0);
    if (taxes <= 0)
        return;
    post_cash(-taxes, 0);
    total_expenses.add(taxes);
    taxes_acc += taxes;
    taxes_last_year_end = taxes;
    ui_.update_cash();
}

bool CFinanceWnd::add_machine(int32_t amount, int months)
{
    if (machine_starts.size() >= static_cast<size_t>(MAX_MACHINE_STARTS)) {
        ui_.box("Too many items in ADDMACHINE list", "Error");
        return false;
    }
    post_cash(amount, 0);
    ui_.update_cash();
    machine_investment -= amount;
    const SimDateTime& now = host_.clock().current;
    const int m = now.month + std::max(months, 0);
    SimDateTime start{};
    start.year = static_cast<int16_t>(now.year + (m - 1) / 12);
    start.month = static_cast<int16_t>((m - 1) % 12 + 1);
    start.day = 1;
    start.hour = 8;
    start.minute = 0;
    machine_starts.push_back(start);
    return true;
}

void CFinanceWnd::add_marketing_expenses(int32_t amount)
{
    marketing_expenses.add(amount);
    total_expenses.add(amount);
}

void CFinanceWnd::keep_materials_consumed_copy()
{
    materials_acc_copy = materials.acc;
    materials_cur_copy = materials.cur;
}

// ---- periods -------------------------------------------------------------------

int32_t CFinanceWnd::with_overtime(int32_t amount) const
{
    const int16_t extra = production_ != nullptr ? production_->extra_shift_days() : 0;
    const int32_t days = host_.work_days_per_month();
    if (extra <= 0 || days <= 0)
        return amount;
    return amount + trunc32(static_cast<double>(amount) * 1.5 * extra / days);
}

void CFinanceWnd::recompute_depreciation()
{
    const int32_t days = std::max(host_.clock().work_days_this_year - 1, 0);
    const int32_t machine = std::max(trunc32(days * (machine_investment * 0.2) / 260.0), 0);
    const int32_t asset = std::max(trunc32(days * (other_assets * 0.04) / 260.0), 0);
    const int32_t total =
        std::max(trunc32(days * (machine_investment * 0.2 + other_assets * 0.04) / 260.0), 0);
    machine_dep_acc += machine - machine_dep_cur;
    asset_dep_acc += asset - asset_dep_cur;
    depreciation.acc += total - depreciation.cur;
    machine_dep_cur = machine;
    asset_dep_cur = asset;
    depreciation.cur = total;
}

void CFinanceWnd::restart_shutdowns()
{
    const SimDateTime& today = host_.clock().current;
    for (size_t i = 0; i < shutdowns.size();) {
        if (compare_dates(shutdowns[i].date, today) == 2) {
            ++i;
            continue;
        }
        const int units = production_ != nullptr ? production_->count_active_units() : 0;
        const double divisor = static_cast<double>(units) * host_.work_days_per_month();
        // With no active unit there is nothing to restart into.
        if (divisor >= 1) {
            const double factor = 1.0 + shutdowns[i].days / divisor;
            labour_amount = trunc32(labour_amount * factor);
            production_amount = trunc32(production_amount * factor);
        }
        shutdowns.erase(shutdowns.begin() + static_cast<std::ptrdiff_t>(i));
        i = 0;
    }
}

void CFinanceWnd::daily_step()
{
    restart_shutdowns();
    book_due_payments();
    check_bankruptcy();
    accrue_interest();
    const bool new_year = new_year_minute();
    if (!new_year) {
        if (year_rolled) {
            if (marketing_ != nullptr)
                marketing_->clear_campaign_costs();
            year_rolled = 0;
        }
        recompute_depreciation();
    }
    fg_today = fg_value_with_added_value();
    if (new_year) {
        year_rolled = 1;
        if (marketing_ != nullptr)
            marketing_->roll_year_counters();
        if (purchasing_ != nullptr)
            purchasing_->roll_yearly_stats();
        year_roll();
        current_before_roll = current;
        compute_report('C', current);
        ui_.beep(500, 100);
        // Each new year halts the run; a bankrupt company's run stays over.
        if (host_.run_state() != 3)
            host_.set_run_state(0);
    }
    if (purchasing_ != nullptr)
        purchasing_->end_of_day_ordering();
}

void CFinanceWnd::year_roll()
{
    sales_last = sales_cur;
    sales_cur = 0;
    receipts.roll();
    payments.roll();
    marketing_expenses.roll();
    production_expenses.roll();
    direct_labour.roll();
    management_expenses.roll();
    promotion.roll();
    materials.roll();
    materials_cur_copy = 0;
    written_off.roll();
    depreciation.roll();
    machine_dep_cur = 0;
    asset_dep_cur = 0;
    interest_earned.roll();
    interest_paid.roll();
    total_expenses.roll();

    cash_last_year_start = cash_year_start;
    cash_year_start = cash;
    int32_t all = 0, positive = 0, negative = 0;
    for (const DeferredPayment& d : deferred) {
        all += d.amount;
        if (d.amount > 0)
            positive += d.amount;
        else
            negative -= d.amount;
    }
    pending_year_before = pending_year_end;
    pending_year_end = all;
    pending_positive_year_end = positive;
    pending_negative_year_end = negative;

    const ValuePair fg_now{fg_value_with_added_value(), fg_value_at_material_cost()};
    const int32_t wip_added = added_value_in_wip();
    const int32_t wip = wip_value();
    const ValuePair wip_now{wip, wip - wip_added};
    fg_last_year_start = fg_year_start;
    wip_last_year_start = wip_year_start;
    fg_last_year_end = fg_now;
    wip_last_year_end = wip_now;
    wip_added_last_year_end = wip_added;
    fg_year_start = fg_now;
    wip_year_start = wip_now;
    inventory_last_year_start = inventory_year_start;
    inventory_year_start = plant_inventory_at_material_cost();
    inventory_period_start = inventory_year_start;

    last_period_start = period_start;
    period_start = host_.clock().current;
}

void CFinanceWnd::close_month()
{
    const SimDateTime& now = host_.clock().current;
    const int32_t key = now.year * 12 + now.month;
    // One closing a month, whatever moments the calendar offers.
    if (key == last_closing_)
        return;
    last_closing_ = key;
    const int32_t advertising = marketing_ != nullptr ? marketing_->charge_monthly_advertising() : 0;
    const int32_t marketing = marketing_amount + advertising;
    const int32_t labour = with_overtime(labour_amount);
    const int32_t production = with_overtime(production_amount);
    post_cash(-marketing, 0);
    post_cash(-labour, 0);
    post_cash(-production, 0);
    post_cash(-management_amount, 0);
    marketing_expenses.add(marketing);
    direct_labour.add(labour);
    production_expenses.add(production);
    management_expenses.add(management_amount);
    total_expenses.add(marketing + labour + production + management_amount);
    ui_.update_cash();
    book_interest();
    // The year's reports roll at December's closing, with the per-day
    // refresh on or off.
    if (now.month == 12) {
        before_last = last;
        compute_report('C', last);
    }
}

void CFinanceWnd::start_machines()
{
    const SimDateTime& today = host_.clock().current;
    for (size_t i = 0; i < machine_starts.size();) {
        if (compare_dates(machine_starts[i], today) == 2) {
            ++i;
            continue;
        }
        const int units = production_ != nullptr ? production_->count_active_units() : 0;
        // A plant of one unit has no share to add.
        if (units - 1 >= 1) {
            labour_amount += labour_amount / (units - 1);
            production_amount += production_amount / (units - 1);
        }
        machine_starts.erase(machine_starts.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void CFinanceWnd::on_new_year() { pay_taxes(); }

void CFinanceWnd::on_new_month()
{
    start_machines();
    current_before_roll = current;
    compute_report('C', current);
    compute_report('A', accumulated);
}

void CFinanceWnd::month_start_values()
{
    const bool january = host_.clock().current.month == 1;
    current.v[0] = sales_cur;
    accumulated.v[0] = marketing_ != nullptr ? marketing_->accumulated_sales() : 0;
    if (january)
        last.v[0] = sales_last;
    if (new_year_minute())
        return;
    const int32_t fg_with = fg_value_with_added_value();
    const int32_t fg_material = fg_value_at_material_cost();
    current.v[6] = fg_with - current.v[5];
    current.v[7] = fg_material - fg_year_start.material;
    accumulated.v[6] = fg_with - accumulated.v[5];
    accumulated.v[7] = fg_material - fg_run_start.material;
    if (january) {
        last.v[6] = fg_with - last.v[5];
        last.v[7] = fg_material - fg_last_year_start.material;
    }
}

void CFinanceWnd::on_minute()
{
    CClockPane& clock = host_.clock();
    const SimDateTime& now = clock.current;
    if (now.hour == 15 && now.minute == 0 && production_ != nullptr && marketing_ != nullptr) {
        for (int f = 0; f < std::min(marketing_->family_count(), FINANCE_FAMILIES); ++f)
            for (int p = 0; p < std::min(marketing_->product_count(f), FINANCE_PRODUCTS); ++p)
                on_order[static_cast<size_t>(f)][static_cast<size_t>(p)] =
                    production_->get_on_order_units(static_cast<int16_t>(f), static_cast<int16_t>(p));
    }
    if (clock.IsMonthClosing())
        close_month();
    const bool day_start = clock.IsDayStart() != 0;
    const bool new_month = day_start && clock.IsNewMonth() != 0;
    const bool new_year = day_start && new_year_minute();
    if (new_month) {
        month_start_values();
        ui_.repaint_statement();
        ui_.month_points(get_net_profit(new_year ? 'L' : 'C', 1), host_.reputation_percent());
        host_.log_part_sum();
    }
    if (day_start) {
        if (host_.daily_refresh()) {
            compute_report('C', current);
            compute_report('A', accumulated);
            compute_report(report_letter, displayed);
            ui_.repaint_statement();
        }
        double values[7];
        daily_values(values);
        ui_.daily_points(values);
    }
    if (new_year) {
        ui_.beep(1000, 30);
        if (!ui_.shown()) {
            select_report('C');
            ui_.show_finance();
        } else {
            show_report('C');
        }
        last_net_profit = get_net_profit('L', 1);
        previous_eva = eva;
        eva = yearly_eva();
    } else if (new_month) {
        last_net_profit = get_net_profit('C', 1);
    }
    if (!new_year && report_letter != 'C') {
        if (ui_.shown())
            show_report('C');
        else
            select_report('C');
    }
}

int32_t CFinanceWnd::yearly_eva()
{
    const CClockPane& clock = host_.clock();
    const int32_t capital = other_assets + machine_investment - depreciation.acc +
                            plant_inventory_at_material_cost() + cash;
    int months = 12;
    if (clock.years_elapsed <= 1)
        months = std::clamp<int>(clock.months_elapsed, 0, 12);
    return trunc32(last_net_profit - static_cast<double>(capital) * months * capital_rate / 12.0);
}

// ---- scenario and start --------------------------------------------------------

void CFinanceWnd::load_scenario(const FinanceScenario& s)
{
    cash = opening_cash = cash_year_start = cash_last_year_start = s.cash;
    limit = s.limit;
    receivable_terms_ = s.receivable_terms;
    payable_terms_ = s.payable_terms;
    positive_rate = s.positive_rate;
    negative_rate = s.negative_rate;
    capital_rate = s.capital_rate;
    work_percent = s.machine_work_percent;
    labour_amount = s.direct_labour;
    production_amount = s.production_expenses;
    marketing_amount = s.marketing_expenses;
    management_amount = s.management_expenses;
    other_assets = s.other_assets;
    machine_investment = s.machine_investment;

    shutdowns.clear();
    machine_starts.clear();
    interest_earned_month = interest_paid_month = interest_paid_last_month = 0;
    interest_earned = interest_paid = {};
    receipts = payments = total_expenses = written_off = promotion = materials = {};
    marketing_expenses = production_expenses = direct_labour = management_expenses = {};
    sales_cur = sales_last = 0;
    materials_acc_copy = materials_cur_copy = 0;
    inventory_run_start = inventory_year_start = inventory_last_year_start = inventory_period_start = 0;
    fg_run_start = fg_year_start = fg_last_year_start = fg_last_year_end = {};
    wip_run_start = wip_year_start = wip_last_year_start = wip_last_year_end = {};
    wip_added_last_year_end = 0;
    taxes_acc = taxes_last_year_end = displayed_taxes = 0;
    depreciation = {};
    machine_dep_cur = asset_dep_cur = machine_dep_acc = asset_dep_acc = 0;
    recompute_depreciation();
    depreciation.last = depreciation.cur;
    on_order = {};
    report_letter = 'C';
    with_added_value = 1;
}

void CFinanceWnd::init_accounts()
{
    const ValuePair fg{fg_value_with_added_value(), fg_value_at_material_cost()};
    const int32_t wip_added = added_value_in_wip();
    const int32_t wip = wip_value();
    const ValuePair w{wip, wip - wip_added};
    fg_run_start = fg_year_start = fg;
    wip_run_start = wip_year_start = w;
    inventory_run_start = inventory_year_start = inventory_period_start = plant_inventory_at_material_cost();
    period_start = last_period_start = host_.clock().current;
    compute_report('C', current);
    displayed = current_before_roll = current;
    compute_report('A', accumulated);
    compute_report('L', last);
}

// ---- inventory values ----------------------------------------------------------

float CFinanceWnd::unit_added_value(int family, int product) const
{
    if (production_ == nullptr)
        return 0.0f;
    const double available = static_cast<double>(host_.work_days_per_month()) *
                             host_.clock().work_hours_per_day() * 60.0 * production_->count_active_units();
    if (available < 1)
        return 0.0f;
    const float minutes = static_cast<float>(
        production_->get_process_minutes_per_unit(static_cast<int16_t>(family), static_cast<int16_t>(product)));
    return static_cast<float>(minutes / available *
                              (with_overtime(labour_amount) + static_cast<double>(with_overtime(production_amount))));
}

int32_t CFinanceWnd::fg_value_with_added_value() const
{
    double sum = 0;
    for_each_product([&](int f, int p) {
        const ProductFigures pf = figures(f, p);
        if (!pf.retired)
            sum += pf.fg_units * (static_cast<double>(pf.material_cost) + unit_added_value(f, p));
    });
    return trunc32(sum);
}

int32_t CFinanceWnd::fg_value_at_material_cost() const
{
    double sum = 0;
    for_each_product([&](int f, int p) {
        const ProductFigures pf = figures(f, p);
        if (!pf.retired)
            sum += pf.fg_units * static_cast<double>(pf.material_cost);
    });
    return trunc32(sum);
}

int32_t CFinanceWnd::added_value_in_wip() const
{
    if (production_ == nullptr)
        return 0;
    double sum = 0;
    for_each_product([&](int f, int p) {
        if (!figures(f, p).retired)
            sum += production_->get_on_order_units(static_cast<int16_t>(f), static_cast<int16_t>(p)) *
                   static_cast<double>(unit_added_value(f, p));
    });
    return trunc32(sum);
}

int32_t CFinanceWnd::wip_value() const
{
    double sum = 0;
    if (purchasing_ != nullptr)
        for (int f = 0; f < purchasing_->family_count(); ++f)
            for (int m = 0; m < purchasing_->material_count(f); ++m)
                sum += purchasing_->in_process_units(f, m) * static_cast<double>(purchasing_->unit_price(f, m));
    return trunc32(sum + added_value_in_wip());
}

int32_t CFinanceWnd::plant_inventory_at_material_cost() const
{
    double sum = 0;
    for_each_product([&](int f, int p) {
        const ProductFigures pf = figures(f, p);
        if (!pf.retired)
            sum += (static_cast<double>(pf.fg_units) + pf.export_units) * pf.material_cost;
    });
    if (purchasing_ != nullptr)
        for (int f = 0; f < purchasing_->family_count(); ++f)
            for (int m = 0; m < purchasing_->material_count(f); ++m)
                sum += purchasing_->get_stock(f, m) * static_cast<double>(purchasing_->unit_price(f, m));
    return trunc32(sum);
}

void CFinanceWnd::daily_values(double out[7]) const
{
    double sales = 0;
    for_each_product([&](int f, int p) { sales += figures(f, p).todays_sales_value; });
    const int32_t days = host_.work_days_per_month();
    const double monthly = static_cast<double>(with_overtime(labour_amount)) + with_overtime(production_amount) +
                           marketing_amount + management_amount;
    const double rate = cash >= 0 ? positive_rate : negative_rate;
    const double interest = rate / 100.0 * std::fabs(static_cast<double>(cash));
    out[0] = cash;
    out[1] = sales;
    out[2] = marketing_ != nullptr ? marketing_->get_backlog_value() : 0;
    out[3] = marketing_ != nullptr ? marketing_->get_daily_throughput() : 0;
    out[4] = wip_value() - added_value_in_wip();
    out[5] = plant_inventory_at_material_cost();
    out[6] = (days > 0 ? trunc32(monthly / days) : 0) +
             trunc32((other_assets * 0.04 + machine_investment * 0.2) / 260.0) + interest;
}
