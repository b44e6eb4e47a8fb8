// Orders Production makes itself: forecast slots, reorder points and contract look-ahead.
#include "production/production_wnd.h"
#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr int MAX_FORECAST_SLOTS = 24;

int16_t clamp16(int32_t v)
{
    return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

} // namespace

int16_t CProductionWnd::forecast_slot(const RProduct& p, int slot)
{
    if (slot < 0 || slot >= MAX_FORECAST_SLOTS)
        return 0;
    int16_t v = 0;
    std::memcpy(&v, p.history + 2 * slot, 2);
    return v;
}

void CProductionWnd::set_forecast_slot(RProduct& p, int slot, int16_t units)
{
    if (slot >= 0 && slot < MAX_FORECAST_SLOTS)
        std::memcpy(p.history + 2 * slot, &units, 2);
}

int CProductionWnd::forecast_slot_count() const
{
    const int months = forecast_range_months;
    int slots = 0;
    if (forecast_horizon_days == 7)
        slots = months * 4;
    else if (forecast_horizon_days == 14)
        slots = months * 2;
    else if (forecast_horizon_days == 30)
        slots = months;
    return std::clamp(slots, 0, MAX_FORECAST_SLOTS);
}

void CProductionWnd::make_forecast_orders()
{
    if (marketing->link_mode() != 2)
        return;
    int slot;
    if (forecast_horizon_days == 7) {
        if (!host->is_new_week() && week_of_month < 5)
            return;
        if (!host->is_new_month())
            spread_forecast(1);
        slot = week_of_month - 1;
    } else if (forecast_horizon_days == 14) {
        if (!host->is_new_week() || (week_of_month != 1 && week_of_month != 3))
            return;
        if (!host->is_new_month())
            spread_forecast(1);
        slot = (week_of_month - 1) / 2;
    } else if (forecast_horizon_days == 30) {
        if (!host->is_new_month())
            return;
        slot = 0;
    } else {
        return;
    }
    // A counter past the spread (a fifth Monday) names no slot: nothing is ordered from it.
    if (slot < 0 || slot >= forecast_slot_count())
        return;
    for (size_t i = 0; i < Products.size(); ++i) {
        const RProduct& p = *Products[i];
        if (p.stock_policy != 0)
            continue;
        uint16_t f = NONE16, q = NONE16;
        product_pair_of(static_cast<int>(i), f, q);
        if (f == NONE16 || marketing->is_product_retired(f, q))
            continue;
        add_order(static_cast<int16_t>(f), static_cast<int16_t>(q), forecast_slot(p, slot), ORDER_FORECAST,
                  KIND_PRODUCT, marketing->get_quoted_lead_time(f, q));
    }
}

void CProductionWnd::spread_forecast(int raise_only)
{
    if (marketing->link_mode() != 2)
        return;
    if (raise_only) {
        marketing->build_monthly_forecast();
        marketing->build_production_plan();
        net_forecast_requirements();
    }
    const int slots = forecast_slot_count();
    if (slots == 0)
        return;
    const int months = std::clamp<int>(forecast_range_months, 0, 6);
    for (size_t i = 0; i < Products.size(); ++i) {
        RProduct& p = *Products[i];
        if (p.stock_policy != 0)
            continue;
        uint16_t f = NONE16, q = NONE16;
        product_pair_of(static_cast<int>(i), f, q);
        if (f == NONE16)
            continue;
        int32_t total = 0;
        for (int m = 0; m < months; ++m)
            total += marketing->production_plan(f, q, m);
        const int32_t share = total / slots;
        for (int s = 0; s < slots - 1; ++s)
            if (!raise_only || forecast_slot(p, s) < share)
                set_forecast_slot(p, s, clamp16(share));
        set_forecast_slot(p, slots - 1, clamp16(total - (slots - 1) * share));
    }
}

void CProductionWnd::net_forecast_requirements()
{
    for (size_t i = 0; i < Products.size(); ++i) {
        uint16_t f = NONE16, q = NONE16;
        product_pair_of(static_cast<int>(i), f, q);
        if (f == NONE16)
            continue;
        const int32_t v = static_cast<int32_t>(marketing->production_plan(f, q, 0)) - marketing->get_inventory(f, q) -
                          Products[i]->on_order + marketing->safety_stock(f, q) + marketing->further_quantity(f, q);
        marketing->set_production_plan_month0(f, q, v < 0 ? 0 : clamp16(v));
    }
}

void CProductionWnd::on_link_mode_changed()
{
    net_forecast_requirements();
    if (marketing->link_mode() == 2)
        ui->message("Not implemented yet", "dlg_forecast_policy", 0);
    spread_forecast(0);
    plan_date_2 = plan_date_1;
    make_forecast_orders();
    plan_work_orders(1);
}

void CProductionWnd::edit_forecast()
{
    if (marketing->dlg_forecast(1) != 0)
        spread_forecast(0);
}

int16_t CProductionWnd::get_open_production_units(int position) const
{
    int32_t units = 0;
    for (const auto& wo : Work_Orders)
        if (wo->item_kind == KIND_PRODUCT && wo->item == position)
            units += wo->find_final_waiting_data();
    for (const auto& o : prd_orders)
        if (!o->in_work_order && o->item_kind == KIND_PRODUCT && o->family_id == -1 && o->product_index == position)
            units += o->quantity;
    return clamp16(units);
}

int CProductionWnd::make_reorder_orders()
{
    int made = 0;
    for (size_t i = 0; i < Products.size(); ++i) {
        const RProduct& p = *Products[i];
        if (p.stock_policy != 1 || p.on_stock == 0 || p.buy != 0)
            continue;
        const int32_t level = static_cast<int32_t>(p.free_stock_at_final_job(*this)) +
                              get_open_production_units(static_cast<int>(i));
        if (level < p.reorder_point) {
            const size_t before = prd_orders.size();
            add_order(-1, static_cast<int16_t>(i), clamp16(static_cast<int32_t>(p.order_up_to) - level), ORDER_REORDER,
                      KIND_PRODUCT, 7);
            if (prd_orders.size() > before)
                made = 1;
        }
    }
    return made;
}

int32_t CProductionWnd::units_due_in_window(const SimStamp& from, const SimStamp& to, int position) const
{
    const int32_t a = host->minutes_since_1990(from);
    const int32_t b = host->minutes_since_1990(to);
    int32_t units = 0;
    for (const auto& wo : Work_Orders) {
        if (wo->Request.empty() || wo->item_kind != KIND_PRODUCT || wo->item != position)
            continue;
        const ProductionOrder& first = *wo->Request.front();
        const int32_t due = host->minutes_since_1990(host->add_work_days(first.order_date, first.lead_days));
        if (due >= a && due < b)
            units += wo->find_final_waiting_data();
    }
    return units;
}

void CProductionWnd::plan_contract_orders()
{
    const int month_days = host->work_days_per_month();
    SimStamp d[7];
    d[0] = host->now();
    for (int i = 1; i < 7; ++i)
        d[i] = host->add_work_days(d[i - 1], month_days);
    for (size_t pos = 0; pos < Products.size(); ++pos) {
        if (Products[pos]->stock_policy != 0)
            continue;
        uint16_t f = NONE16, q = NONE16;
        product_pair_of(static_cast<int>(pos), f, q);
        if (f == NONE16)
            continue;
        int16_t r[6] = {0, 0, 0, 0, 0, 0};
        marketing->get_monthly_requirements(f, q, r);
        int32_t carry = 0;
        for (int i = 0; i < 6; ++i) {
            int32_t ahead = 0;
            for (int k = i + 1; k <= i + 3 && k < 6; ++k)
                ahead += r[k];
            const SimStamp from = i == 0 ? host->work_day_start() : d[i];
            const int32_t existing = units_due_in_window(from, d[i + 1], static_cast<int>(pos));
            int32_t need = r[i] - existing - carry;
            const int32_t size = batch_size;
            if (need < 0) {
                carry = -need;
            } else if (size <= 0 || need % size == 0 || i == 5) {
                carry = 0;
            } else {
                carry = std::min(size - need % size, ahead);
                need += carry;
            }
            if (need > 0)
                add_order(static_cast<int16_t>(f), static_cast<int16_t>(q), clamp16(need), ORDER_CONTRACT, KIND_PRODUCT,
                          clamp16(i * month_days));
        }
    }
}

void CProductionWnd::delete_contract_work_orders()
{
    for (;;) {
        RWork_Order* found = nullptr;
        for (size_t i = Work_Orders.size(); i-- > 0;)
            if (Work_Orders[i]->first_order_type() == ORDER_CONTRACT) {
                found = Work_Orders[i].get();
                break;
            }
        if (!found)
            return;
        remove_work_order(found);
    }
}

void CProductionWnd::drop_reorder_work_orders(int position)
{
    for (size_t i = Work_Orders.size(); i-- > 0;) {
        RWork_Order* wo = Work_Orders[i].get();
        if (wo->first_order_type() == ORDER_REORDER && wo->product_position() == position)
            remove_work_order(wo);
    }
    RProduct* p = product(position);
    RJob* F = p ? job(p->final_job) : nullptr;
    if (!transport || !F)
        return;
    // Jobs that were to take the part from stock are now served by their requester making it.
    std::vector<RTransportJob*> orphans;
    for (auto& tj : transport->Trans_Jobs)
        if (tj->material_kind == KIND_PRODUCT && tj->material_index == position && !tj->source_wo && tj->requesting_wo &&
            tj->source_kind == KIND_PRODUCT)
            orphans.push_back(tj.get());
    const bool route = route_option != 0;
    for (RTransportJob* tj : orphans) {
        RJob* consumer = job(tj->dest_index);
        if (!consumer)
            continue;
        Inp_Pos at{};
        for (size_t n = 0; n < consumer->inputs.size() && n < consumer->input_positions.size(); ++n)
            if (consumer->inputs[n].kind == KIND_PRODUCT && consumer->inputs[n].index == position)
                at = consumer->input_positions[n];
        const int16_t x = route ? static_cast<int16_t>(tj->dx - route_column_x(consumer->letter)) : 0;
        const int16_t y = route ? static_cast<int16_t>(tj->dy - route_row_y(consumer->level)) : 0;
        const auto px = static_cast<int16_t>(route_column_x(at.letter) + x);
        const auto py = static_cast<int16_t>(route_row_y(at.level) + y);
        tj->requesting_wo->Add_Into_System(KIND_PRODUCT, static_cast<uint8_t>(position), tj->quantity, px, py);
        int16_t fdx = 0, fdy = 25;
        if (p->stock_policy == 1 && p->on_stock == 0 && mrp_option == 0) {
            fdx = static_cast<int16_t>(px - route_column_x(F->letter + 1));
            fdy = static_cast<int16_t>(py - route_row_y(F->level));
        }
        tj->source_wo = tj->requesting_wo;
        tj->sx = route ? static_cast<int16_t>(route_column_x(F->letter) + fdx) : 0;
        tj->sy = route ? static_cast<int16_t>(route_row_y(F->level) + fdy) : 0;
    }
}
