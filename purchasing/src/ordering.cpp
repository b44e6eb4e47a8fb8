// Vendor orders: placing one with its drawn lead time, the arrivals with
// their payments, the order-level and MRP policies and the MRP plan.
#include "purchasing/purchasing_wnd.h"
#include "app/view.h"
#include "foundation/msgbox.h"
#include "foundation/randtables.h"
#include <algorithm>
#include <cmath>

bool CPurchasingWnd::place_vendor_order(int family, int m, int quantity)
{
    // The table keeps one slot free, as it always has: 149 open orders at most.
    if (static_cast<int>(orders.size()) + 1 >= MAX_RM_ORDERS) {
        ui_->box("Index Overflow MAX_RM_ORDERS", "Application Error");
        return false;
    }
    RawMaterial& r = material(family, m);
    VendorOrder o;
    o.family = static_cast<int16_t>(family);
    o.material = static_cast<int16_t>(m);
    o.quantity = static_cast<int16_t>(quantity);
    o.supplier = r.default_supplier;
    o.order_date = view_->clock.current;
    o.quoted_due = add_work_days(view_->clock.current, r.quoted_lead);
    o.reserved = 0;
    const int draw = static_cast<int>(draw_rand_table("SUPPLIER_PLT"));
    const int lead = std::max(0, static_cast<int>(static_cast<double>(draw) * r.lead_base / 10.0));
    o.arrival = add_work_days(view_->clock.current, lead);
    on_order[static_cast<size_t>(family)][static_cast<size_t>(m)] += quantity;
    orders.push_back(o);

    Supplier& sup = suppliers[static_cast<size_t>(r.default_supplier)];
    if (sup.sample_count < MAX_LEAD_SAMPLES) {
        sup.lead_samples[static_cast<size_t>(sup.sample_count++)] = static_cast<int16_t>(std::min(lead, 32767));
    } else {
        std::move(sup.lead_samples.begin() + 1, sup.lead_samples.end(), sup.lead_samples.begin());
        sup.lead_samples.back() = static_cast<int16_t>(std::min(lead, 32767));
    }
    return true;
}

int16_t CPurchasingWnd::get_supplier_price(int supplier, int family, int m)
{
    if (supplier >= 0 && supplier < supplier_count) {
        const Supplier& s = suppliers[static_cast<size_t>(supplier)];
        for (int k = 0; k < s.price_count; ++k)
            if (s.prices[static_cast<size_t>(k)].family == family && s.prices[static_cast<size_t>(k)].material == m)
                return s.prices[static_cast<size_t>(k)].price;
    }
    fatal_error("invalid supplier price");
}

int32_t CPurchasingWnd::held_units(int family, int m)
{
    const RawMaterial& r = material(family, m);
    double held = static_cast<double>(r.stock) + r.in_process;
    if (marketing != nullptr && production != nullptr) {
        for (int pf = 0; pf < marketing->family_count(); ++pf)
            for (int p = 0; p < marketing->product_count(pf); ++p) {
                const int16_t per = production->get_num_materials_in_product(static_cast<int16_t>(pf),
                                                                             static_cast<int16_t>(p), family, m);
                if (per != 0)
                    held += static_cast<double>(per) * marketing->get_inventory(pf, p);
            }
    }
    return static_cast<int32_t>(held);
}

void CPurchasingWnd::update_average_cost(int family, int m, int quantity, int unit_price, int supplier)
{
    if (quantity <= 0)
        return;
    RawMaterial& r = material(family, m);
    // Stock may have run below zero; what is not there carries no cost.
    const double held = std::max<double>(held_units(family, m), 0.0);
    const double ship = suppliers[static_cast<size_t>(supplier)].shipping_cost;
    const double q = quantity;
    r.average_cost = static_cast<float>((q * (ship / q + unit_price) + held * r.average_cost) / (held + q));
}

// Payments of arrivals: at once with cash payments when the supplier terms
// are under a day, else deferred by them.
void CPurchasingWnd::pay(int32_t amount)
{
    if (finance == nullptr)
        return;
    if (finance->payable_terms() < 1) {
        finance->post_cash(-amount, 0);
        finance->add_cash_payments(amount);
    } else {
        finance->post_cash(-amount, 1);
    }
}

void CPurchasingWnd::receive_vendor_orders()
{
    const int slot = day_slot();
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
            if (slot >= 0)
                material(f, i).daily_arrived[static_cast<size_t>(slot)] = 0;
    for (size_t k = 0; k < orders.size();) {
        const VendorOrder o = orders[k];
        if (compare_dates(o.arrival, view_->clock.current) == 2) {
            ++k;
            continue;
        }
        const int ship = suppliers[static_cast<size_t>(o.supplier)].shipping_cost;
        int32_t& oo = on_order[static_cast<size_t>(o.family)][static_cast<size_t>(o.material)];
        oo = std::max(0, oo - o.quantity);
        const int price = get_supplier_price(o.supplier, o.family, o.material);
        update_average_cost(o.family, o.material, o.quantity, price, o.supplier);
        add_stock(o.family, o.material, o.quantity, 0);
        const double per_unit = price + static_cast<double>(ship) / o.quantity;
        pay(static_cast<int32_t>(per_unit * o.quantity));
        shipping_total += ship;
        shipping_this_year += ship;
        shipping_this_month = static_cast<uint16_t>(shipping_this_month + ship);
        if (slot >= 0) {
            int16_t& a = material(o.family, o.material).daily_arrived[static_cast<size_t>(slot)];
            a = static_cast<int16_t>(std::min(a + o.quantity, 32767));
        }
        redraw(REDRAW_STOCK, o.family, o.material);
        redraw(REDRAW_ON_ORDER, o.family, o.material);
        orders.erase(orders.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

void CPurchasingWnd::order_by_policy()
{
    if (policy == POLICY_MRP)
        mrp_ordering();
    else
        order_level_ordering();
}

void CPurchasingWnd::order_level_ordering()
{
    const int slot = day_slot();
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
            if (slot >= 0)
                material(f, i).daily_ordered[static_cast<size_t>(slot)] = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            RawMaterial& r = material(f, i);
            const int32_t have = r.stock + on_order[static_cast<size_t>(f)][static_cast<size_t>(i)];
            if (have > r.order_level)
                continue;
            const int32_t q = std::min<int32_t>(r.max_level - have, 32767);
            if (q <= 0)
                continue;
            if (!place_vendor_order(f, i, q))
                return;
            if (slot >= 0)
                r.daily_ordered[static_cast<size_t>(slot)] = static_cast<int16_t>(q);
            redraw(REDRAW_ON_ORDER, f, i);
        }
}

void CPurchasingWnd::mrp_ordering()
{
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            const RawMaterial& r = material(f, i);
            const auto fi = static_cast<size_t>(f), mi = static_cast<size_t>(i);
            const int horizon = r.quoted_lead + (according_to_qlt == 0 ? days_before_qlt : 0);
            const int32_t projected =
                r.stock + on_order[fi][mi] - get_requirement(f, i, horizon) + issued_since_plan[fi][mi];
            int32_t q = projected < safety_stock[fi][mi] ? safety_stock[fi][mi] - projected : 0;
            if (q <= 0)
                continue;
            q = std::min<int32_t>(std::max<int32_t>(q, minimum_to_order), 32767);
            if (!place_vendor_order(f, i, q))
                return;
            redraw(REDRAW_ON_ORDER, f, i);
        }
}

int16_t CPurchasingWnd::get_requirement(int family, int m, int days)
{
    const SimDateTime limit = add_work_days(view_->clock.current, days);
    int32_t sum = 0;
    for (const MrpPlanEntry& e : plan)
        if (e.family == family && e.material == m && compare_dates(e.need_date, limit) != 2)
            sum += e.quantity;
    return static_cast<int16_t>(std::clamp<int32_t>(sum, -32768, 32767));
}

void CPurchasingWnd::build_mrp_plan()
{
    if (policy != POLICY_MRP)
        return;
    plan.clear();
    std::vector<MaterialRequirement> work;
    if (requirements_source)
        requirements_source(work);
    else if (production != nullptr)
        production->get_material_requirements(work);
    const int32_t per_day = view_->clock.work_hours_per_day() * 60;
    SimDateTime base = view_->clock.current;
    base.hour = 8;
    base.minute = 0;
    for (const MaterialRequirement& q : work) {
        if (q.family < 0 || q.family >= family_count_ || q.material < 0 ||
            q.material >= families[static_cast<size_t>(q.family)].count)
            continue;   // Production names only Purchasing's materials
        const int64_t dt = static_cast<int64_t>(q.due_minute) - view_->tick_count;
        int need = 0, order = 0;
        if (dt >= 1 && per_day > 0) {
            need = static_cast<int>(std::min<int64_t>(dt / per_day, 32767));
            const RawMaterial& r = material(q.family, q.material);
            const int lead = r.quoted_lead + (according_to_qlt == 0 ? days_before_qlt : 0);
            order = std::max(0, need - lead);
        }
        MrpPlanEntry e;
        e.family = static_cast<int16_t>(q.family);
        e.material = static_cast<int16_t>(q.material);
        e.quantity = q.quantity;
        e.order_date = add_work_days(base, order);
        e.need_date = add_work_days(base, need);
        plan.push_back(e);
    }
    for (auto& row : issued_since_plan)
        row.fill(0);
}

bool CPurchasingWnd::replan_due() const
{
    const CClockPane& c = view_->clock;
    const SimDateTime& now = c.current;
    auto worked = [&](int day) {
        SimDateTime d = now;
        d.day = static_cast<int16_t>(day);
        return c.IsWorkDay(weekday_of(d)) != 0;
    };
    return now.day == 1 || (now.day == 2 && !worked(1)) || (now.day == 3 && !worked(2));
}

void CPurchasingWnd::apply_purchasing_policy()
{
    if (policy == POLICY_MRP) {
        levels_shown = 0;
        if (replan_due()) {
            build_mrp_plan();
            mrp_ordering();
        }
    } else {
        levels_shown = 1;
    }
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            redraw(REDRAW_STOCK, f, i);
            redraw(REDRAW_ON_ORDER, f, i);
            redraw(REDRAW_MRP_RED_LINE, f, i);
        }
}
