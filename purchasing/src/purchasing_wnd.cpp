// The department's lookups, stock movements and periodic hooks.
#include "purchasing/purchasing_wnd.h"
#include "app/view.h"
#include <algorithm>
#include <cstring>
#include <cstdio>

CPurchasingWnd::CPurchasingWnd(CVornView& view, PurchasingUi& ui) : view_(&view), ui_(&ui) {}

char CPurchasingWnd::family_letter(int family) const
{
    return family >= 0 && family < family_count_ ? families[static_cast<size_t>(family)].letter : '?';
}

int CPurchasingWnd::material_count(int family) const
{
    return family >= 0 && family < family_count_ ? families[static_cast<size_t>(family)].count : 0;
}

char CPurchasingWnd::material_letter(int family, int m) const
{
    return m >= 0 && m < material_count(family) ? material(family, m).letter : '?';
}

int CPurchasingWnd::total_materials() const
{
    int n = 0;
    for (int f = 0; f < family_count_; ++f)
        n += families[static_cast<size_t>(f)].count;
    return n;
}

std::string CPurchasingWnd::material_code(int family, int m) const
{
    return std::string{family_letter(family), material_letter(family, m)};
}

std::string CPurchasingWnd::supplier_name(int supplier) const
{
    if (supplier < 0 || supplier >= supplier_count)
        return {};
    const auto& n = suppliers[static_cast<size_t>(supplier)].name;
    return std::string(n.data(), strnlen(n.data(), n.size()));
}

void CPurchasingWnd::find_material_by_code(const char* code, uint16_t& family, uint16_t& m)
{
    family = m = 0xFFFF;
    if (code == nullptr || code[0] == 0)
        return;
    for (int f = 0; f < family_count_; ++f) {
        if (families[static_cast<size_t>(f)].letter != code[0])
            continue;
        family = static_cast<uint16_t>(f);
        if (code[1] == 0)
            return;
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
            if (material(f, i).letter == code[1]) {
                m = static_cast<uint16_t>(i);
                return;
            }
        return;
    }
}

static bool valid(const CPurchasingWnd& p, int family, int m)
{
    return family >= 0 && family < p.family_count() && m >= 0 && m < p.material_count(family);
}

int16_t CPurchasingWnd::get_stock(int family, int m)
{
    return valid(*this, family, m) ? material(family, m).stock : 0;
}

int16_t CPurchasingWnd::get_on_order(int family, int m)
{
    if (!valid(*this, family, m))
        return 0;
    return static_cast<int16_t>(std::min<int32_t>(on_order[static_cast<size_t>(family)][static_cast<size_t>(m)], 32767));
}

void CPurchasingWnd::material_by_index(int n, uint16_t& family, uint16_t& m)
{
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
            if (n-- == 0) {
                family = static_cast<uint16_t>(f);
                m = static_cast<uint16_t>(i);
                return;
            }
}

bool CPurchasingWnd::any_material_in_red_line()
{
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            if (policy == POLICY_MRP ? mrp_red_line[static_cast<size_t>(f)][static_cast<size_t>(i)] != 0
                                     : material(f, i).red_line_status == 2)
                return true;
        }
    return false;
}

int32_t CPurchasingWnd::material_price(int family, int m)
{
    return valid(*this, family, m) ? material(family, m).price : 0;
}

float CPurchasingWnd::average_cost(int family, int m)
{
    return valid(*this, family, m) ? material(family, m).average_cost : 0.0f;
}

static int16_t sat16(int32_t v)
{
    return static_cast<int16_t>(std::clamp<int32_t>(v, -32768, 32767));
}

void CPurchasingWnd::add_stock(int family, int m, int q, int issue)
{
    if (!valid(*this, family, m))
        return;
    RawMaterial& r = material(family, m);
    if (issue == 1) {
        r.issued_this_month = sat16(r.issued_this_month - q);
        int16_t& since = issued_since_plan[static_cast<size_t>(family)][static_cast<size_t>(m)];
        since = sat16(since - q);
        // One figure for both totals keeps Finance's years additive.
        if (finance != nullptr)
            finance->add_materials_consumed(static_cast<int32_t>(static_cast<double>(-q) * r.average_cost));
        r.in_process = sat16(r.in_process - q);
    }
    r.stock = sat16(r.stock + q);
    redraw(REDRAW_STOCK, family, m);
    check_material_red_line();
}

void CPurchasingWnd::add_unsupplied_units(int family, int m, int units)
{
    if (!valid(*this, family, m) || units <= 0)
        return;
    const auto f = static_cast<size_t>(family), i = static_cast<size_t>(m);
    unsupplied_since_step[f][i] += static_cast<uint32_t>(units);
    unsupplied_this_month[f][i] += static_cast<uint32_t>(units);
    unsupplied_this_year[f][i] += static_cast<uint32_t>(units);
}

int32_t CPurchasingWnd::in_process_units(int family, int m)
{
    return valid(*this, family, m) ? material(family, m).in_process : 0;
}

void CPurchasingWnd::lower_in_process(int family, int m, int units)
{
    if (!valid(*this, family, m))
        return;
    RawMaterial& r = material(family, m);
    r.in_process = sat16(r.in_process - units);
}

SimDateTime CPurchasingWnd::add_work_days(const SimDateTime& date, int n) const
{
    return view_->clock.AddWorkDays(date, n);
}

void CPurchasingWnd::log(const char* key, const std::string& item, const std::string& old_value,
                         const std::string& new_value)
{
    view_->log_decision("Prc", key, item, old_value, new_value, 0, 0);
}

// The day index as an array slot: a month never has more than 31 stepped
// days, so index 31 (after the 31st) is never written.
int CPurchasingWnd::day_slot() const
{
    return day_index >= 0 && day_index < DAYS_KEPT ? day_index : -1;
}

bool CPurchasingWnd::daily_step(int16_t restart_code)
{
    const int slot = day_slot();
    if (restart_code != 3) {
        if (finance != nullptr)
            finance->keep_materials_consumed_copy();
        if (slot >= 0)
            for (int f = 0; f < family_count_; ++f)
                for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
                    material(f, i).daily_stock[static_cast<size_t>(slot)] = material(f, i).stock;
        if (view_->tick_count > 0)
            receive_vendor_orders();
        if (policy != POLICY_MRP)
            order_by_policy();
        dispatch_contract_shipments();
        receive_contract_shipments();
        if (!check_contract_ends())
            return false;
    }
    check_material_red_line();
    count_red_line_days();
    if (slot >= 0)
        day_dates[static_cast<size_t>(slot)] = view_->clock.current;
    if (day_index < DAYS_KEPT)
        ++day_index;
    for (auto& row : unsupplied_since_step)
        row.fill(0);
    return true;
}

void CPurchasingWnd::resume_step()
{
    if (check_contract_ends())
        view_->SimulationTick(3);
}

void CPurchasingWnd::end_of_day_ordering()
{
    if (policy != POLICY_MRP)
        return;
    const bool due = replan_weekly != 0 ? view_->clock.IsNewWeek() != 0 : view_->clock.IsNewMonth() != 0;
    if (due)
        build_mrp_plan();
    order_by_policy();
    check_mrp_red_line();
}
