// The department's state file: every figure, the pending payments, the
// reports and the lists, field by field. Reading is bounded: a record that
// is short, long or holds what the engine cannot run is refused whole.
#include "finance/finance_wnd.h"
#include "app/clock.h"
#include "foundation/binfile.h"
#include <cmath>

namespace {

// No figure of a small company comes near this; with every figure within
// it, the statement's sums of a dozen figures and a day's bookings stay
// inside 32 bits. A record past it is refused.
constexpr int32_t MONEY_BOUND = 1 << 27;

int32_t money(RecordReader& r)
{
    const int32_t v = r.i32();
    if (v < -MONEY_BOUND || v > MONEY_BOUND)
        r.refuse();
    return v;
}

float money_f(RecordReader& r)
{
    const float v = r.f32();
    if (!std::isfinite(v) || std::fabs(v) > static_cast<float>(MONEY_BOUND))
        r.refuse();
    return v;
}

void put_report(RecordWriter& w, const FinanceReport& r)
{
    for (int32_t v : r.v)
        w.i32(v);
}

FinanceReport get_report(RecordReader& r)
{
    FinanceReport out;
    // Value 4 holds the depreciation's float bits.
    for (size_t i = 0; i < out.v.size(); ++i)
        out.v[i] = i == 4 ? r.i32() : money(r);
    const float depreciation = out.depreciation();
    if (!std::isfinite(depreciation) || std::fabs(depreciation) > static_cast<float>(MONEY_BOUND))
        r.refuse();
    return out;
}

void put_total(RecordWriter& w, const Total& t)
{
    w.i32(t.acc);
    w.i32(t.cur);
    w.i32(t.last);
}

Total get_total(RecordReader& r)
{
    Total t;
    t.acc = money(r);
    t.cur = money(r);
    t.last = money(r);
    return t;
}

void put_pair(RecordWriter& w, const ValuePair& p)
{
    w.i32(p.with);
    w.i32(p.material);
}

ValuePair get_pair(RecordReader& r)
{
    ValuePair p;
    p.with = money(r);
    p.material = money(r);
    return p;
}

constexpr int SHUTDOWN_ENTRY = 12;
constexpr int DATE_BYTES = 10;

} // namespace

std::vector<uint8_t> CFinanceWnd::save_state() const
{
    RecordWriter w;
    w.i16(static_cast<int16_t>(deferred.size()));
    for (const DeferredPayment& d : deferred) {
        w.i32(d.amount);
        w.i32(d.due_tick);
    }
    w.i16(static_cast<int16_t>(report_letter));
    w.i32(cash);
    w.i32(opening_cash);
    w.i32(cash_year_start);
    w.i32(cash_last_year_start);
    w.i32(year_rolled);
    w.i32(pending_year_end);
    w.i32(pending_year_before);
    w.i32(limit);
    w.f32(positive_rate);
    w.f32(negative_rate);
    w.f32(interest_earned_month);
    w.f32(interest_paid_month);
    w.f32(interest_paid_last_month);
    w.f32(interest_earned.acc);
    w.f32(interest_paid.acc);
    w.f32(interest_earned.cur);
    w.f32(interest_earned.last);
    w.f32(interest_paid.cur);
    w.f32(interest_paid.last);
    put_total(w, receipts);
    put_total(w, payments);
    put_total(w, total_expenses);
    w.i32(pending_positive_year_end);
    w.i32(pending_negative_year_end);
    w.i32(inventory_run_start);
    w.i32(inventory_year_start);
    w.i32(inventory_last_year_start);
    w.i32(inventory_period_start);
    put_total(w, written_off);
    w.i32(sales_cur);
    w.i32(sales_last);
    w.i32(marketing_amount);
    put_total(w, marketing_expenses);
    w.i32(production_amount);
    put_total(w, production_expenses);
    w.i32(labour_amount);
    put_total(w, direct_labour);
    w.i32(management_amount);
    put_total(w, management_expenses);
    w.i32(materials.acc);
    w.i32(materials_acc_copy);
    w.i32(materials.cur);
    w.i32(materials.last);
    w.i32(materials_cur_copy);
    put_pair(w, fg_run_start);
    put_pair(w, fg_year_start);
    put_pair(w, fg_last_year_start);
    put_pair(w, fg_last_year_end);
    for (const auto& family : on_order)
        for (int16_t units : family)
            w.i16(units);
    put_pair(w, wip_run_start);
    put_pair(w, wip_year_start);
    put_pair(w, wip_last_year_start);
    put_pair(w, wip_last_year_end);
    w.i32(wip_added_last_year_end);
    put_total(w, promotion);
    w.i32(other_assets);
    w.i32(machine_investment);
    w.i32(displayed_taxes);
    put_total(w, depreciation);
    w.i32(fg_today);
    w.i32(taxes_acc);
    w.i32(taxes_last_year_end);
    put_date(w, period_start);
    put_date(w, last_period_start);
    w.i32(last_net_profit);
    w.i32(eva);
    // Unused slots are written as zeros, so equal states give equal bytes.
    w.i16(static_cast<int16_t>(shutdowns.size()));
    for (int i = 0; i < MAX_SHUTDOWNS; ++i) {
        if (static_cast<size_t>(i) < shutdowns.size()) {
            put_date(w, shutdowns[static_cast<size_t>(i)].date);
            w.i16(shutdowns[static_cast<size_t>(i)].days);
        } else {
            w.zeros(SHUTDOWN_ENTRY);
        }
    }
    w.i16(static_cast<int16_t>(machine_starts.size()));
    for (int i = 0; i < MAX_MACHINE_STARTS; ++i) {
        if (static_cast<size_t>(i) < machine_starts.size())
            put_date(w, machine_starts[static_cast<size_t>(i)]);
        else
            w.zeros(DATE_BYTES);
    }
    put_report(w, displayed);
    put_report(w, current);
    put_report(w, accumulated);
    put_report(w, last);
    w.f32(work_percent);
    w.i16(with_added_value);
    put_report(w, current_before_roll);
    // The later groups, as far as the file being written carries them (the loader's gates).
    if (host_.version_at_least("BG_1032")) {
        put_report(w, before_last);
        w.i32(previous_eva);
    }
    if (host_.version_at_least("BG_1033")) {
        w.i32(machine_dep_acc);
        w.i32(machine_dep_cur);
        w.i32(asset_dep_acc);
        w.i32(asset_dep_cur);
    }
    return w.bytes();
}

bool CFinanceWnd::load_state(const std::vector<uint8_t>& bytes)
{
    // Read into a copy; only a whole, sound record replaces the books.
    FinanceBooks t = *this;
    t.deferred.clear();
    t.shutdowns.clear();
    t.machine_starts.clear();
    t.before_last = {};
    t.previous_eva = 0;
    RecordReader r(bytes.data(), bytes.size());

    const int16_t count = r.i16();
    if (count < 0 || static_cast<size_t>(count) > r.remaining() / 8)
        return false;
    t.deferred.resize(static_cast<size_t>(count));
    // Booked together, the pending amounts stay within the bound too.
    int64_t pending = 0;
    for (DeferredPayment& d : t.deferred) {
        d.amount = money(r);
        d.due_tick = r.i32();
        pending += d.amount < 0 ? -int64_t{d.amount} : d.amount;
    }
    if (pending > MONEY_BOUND)
        return false;
    const int16_t letter = r.i16();
    if (letter != 'A' && letter != 'C' && letter != 'L' && letter != 'P')
        return false;
    t.report_letter = static_cast<char>(letter);
    t.cash = money(r);
    r.i32();   // opening cash: the scenario's stays
    t.cash_year_start = money(r);
    t.cash_last_year_start = money(r);
    t.year_rolled = r.i32();
    if (t.year_rolled != 0 && t.year_rolled != 1)
        return false;
    t.pending_year_end = money(r);
    t.pending_year_before = money(r);
    r.i32();   // the limit and the rates are the scenario's
    r.f32();
    r.f32();
    t.interest_earned_month = money_f(r);
    t.interest_paid_month = money_f(r);
    t.interest_paid_last_month = money_f(r);
    t.interest_earned.acc = money_f(r);
    t.interest_paid.acc = money_f(r);
    t.interest_earned.cur = money_f(r);
    t.interest_earned.last = money_f(r);
    t.interest_paid.cur = money_f(r);
    t.interest_paid.last = money_f(r);
    t.receipts = get_total(r);
    t.payments = get_total(r);
    t.total_expenses = get_total(r);
    t.pending_positive_year_end = money(r);
    t.pending_negative_year_end = money(r);
    t.inventory_run_start = money(r);
    t.inventory_year_start = money(r);
    t.inventory_last_year_start = money(r);
    t.inventory_period_start = money(r);
    t.written_off = get_total(r);
    t.sales_cur = money(r);
    t.sales_last = money(r);
    t.marketing_amount = money(r);
    t.marketing_expenses = get_total(r);
    t.production_amount = money(r);
    t.production_expenses = get_total(r);
    t.labour_amount = money(r);
    t.direct_labour = get_total(r);
    t.management_amount = money(r);
    t.management_expenses = get_total(r);
    t.materials.acc = money(r);
    t.materials_acc_copy = money(r);
    t.materials.cur = money(r);
    t.materials.last = money(r);
    t.materials_cur_copy = money(r);
    t.fg_run_start = get_pair(r);
    t.fg_year_start = get_pair(r);
    t.fg_last_year_start = get_pair(r);
    t.fg_last_year_end = get_pair(r);
    for (auto& family : t.on_order)
        for (int16_t& units : family)
            units = r.i16();
    t.wip_run_start = get_pair(r);
    t.wip_year_start = get_pair(r);
    t.wip_last_year_start = get_pair(r);
    t.wip_last_year_end = get_pair(r);
    t.wip_added_last_year_end = money(r);
    t.promotion = get_total(r);
    t.other_assets = money(r);
    t.machine_investment = money(r);
    t.displayed_taxes = money(r);
    t.depreciation = get_total(r);
    t.fg_today = money(r);
    t.taxes_acc = money(r);
    t.taxes_last_year_end = money(r);
    t.period_start = get_date(r);
    t.last_period_start = get_date(r);
    if (!real_date(t.period_start) || !real_date(t.last_period_start))
        return false;
    t.last_net_profit = money(r);
    t.eva = money(r);
    const int16_t shutdowns = r.i16();
    if (shutdowns < 0 || shutdowns > MAX_SHUTDOWNS)
        return false;
    for (int i = 0; i < MAX_SHUTDOWNS; ++i) {
        ShutdownRestart s;
        s.date = get_date(r);
        s.days = r.i16();
        if (i < shutdowns) {
            if (!real_date(s.date))
                return false;
            t.shutdowns.push_back(s);
        }
    }
    const int16_t starts = r.i16();
    if (starts < 0 || starts > MAX_MACHINE_STARTS)
        return false;
    for (int i = 0; i < MAX_MACHINE_STARTS; ++i) {
        const SimDateTime d = get_date(r);
        if (i < starts) {
            if (!real_date(d))
                return false;
            t.machine_starts.push_back(d);
        }
    }
    t.displayed = get_report(r);
    t.current = get_report(r);
    t.accumulated = get_report(r);
    t.last = get_report(r);
    t.work_percent = r.f32();
    if (!std::isfinite(t.work_percent) || t.work_percent <= 0)
        return false;
    t.with_added_value = r.i16();
    if (t.with_added_value != 0 && t.with_added_value != 1)
        return false;
    t.current_before_roll = get_report(r);
    if (host_.version_at_least("BG_1032")) {
        t.before_last = get_report(r);
        t.previous_eva = money(r);
    }
    if (host_.version_at_least("BG_1033")) {
        t.machine_dep_acc = money(r);
        t.machine_dep_cur = money(r);
        t.asset_dep_acc = money(r);
        t.asset_dep_cur = money(r);
    } else {
        // Older files keep only the total: this year's parts are today's
        // figures, the accumulated total is split by the two rates.
        const int32_t days = std::max(host_.clock().work_days_this_year - 1, 0);
        t.machine_dep_cur = std::max(static_cast<int32_t>(days * (t.machine_investment * 0.2) / 260.0), 0);
        t.asset_dep_cur = std::max(static_cast<int32_t>(days * (t.other_assets * 0.04) / 260.0), 0);
        const double machine_rate = t.machine_investment * 0.2;
        const double rates = machine_rate + t.other_assets * 0.04;
        t.machine_dep_acc = rates > 0 ? static_cast<int32_t>(t.depreciation.acc * (machine_rate / rates)) : 0;
        t.asset_dep_acc = t.depreciation.acc - t.machine_dep_acc;
    }
    if (r.failed() || r.remaining() != 0)
        return false;

    static_cast<FinanceBooks&>(*this) = std::move(t);
    return true;
}
