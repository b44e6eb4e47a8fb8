// Export lines: a product's second market abroad. Units leave the home stock
// on transport orders, arrive after the transit days in the line's own
// inventory and ship from there to the export customers' orders.
#include "market_util.h"
#include "marketing/marketing_wnd.h"
#include <cmath>
#include <cstdio>
#include <string>

using namespace mkt;

namespace {

float non_negative_float(MarketData& d, int16_t n)
{
    const double v = d.item_float(n);
    if (!std::isfinite(v) || v < 0.0 || v > 3.0e38)
        d.load_error(2);
    return static_cast<float>(v);
}

// Calls fn(family, product, the product, its line) for every product the
// scenario gives an export line.
template <class Fn>
void each_line(CMarketingWnd& m, Fn fn)
{
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p)
            if (MarketProduct& pr = m.product(f, p); pr.exp)
                fn(f, p, pr, *pr.exp);
}

int lot_units(const ExportLine& e)
{
    int n = 0;
    for (const InventoryLot& l : e.lots)
        n += l.units;
    return n;
}

} // namespace

void CMarketingWnd::load_market_export(MarketData& d)
{
    exp_open_orders.clear();
    exp_transport_orders.clear();
    export_pools = false;
    exp_transfer_minimum = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            product(f, p).exp.reset();
    // The section is optional: a market without it exports nothing.
    if (!d.has_section("MARKET_EXPORT"))
        return;
    d.find_section("MARKET_EXPORT");
    d.get_record(1, 1);
    const int16_t count = static_cast<int16_t>(bounded(d, 1, 0, MAX_FAMILYS * MAX_PRODUCTS));
    exp_transfer_minimum = static_cast<uint16_t>(bounded(d, 2, 0, 32767));
    for (int16_t k = 1; k <= count; ++k) {
        d.get_record(1, static_cast<int16_t>(k + 1));
        const int32_t f = d.item_int(1), p = d.item_int(2);
        if (f < 0 || p < 0 || !product_exists(f, p) || product(f, p).exp)
            d.refuse("Inconsistent export product code");
        ExportLine e;
        d.get_record(2, static_cast<int16_t>(k + 1));
        e.name = d.item_text(1);
        if (e.name.size() > 20)
            d.load_error(2);
        e.base_qlt = e.qlt = static_cast<uint16_t>(bounded(d, 2, 0, 32767));
        e.transit_days = static_cast<uint16_t>(bounded(d, 3, 0, 32767));
        e.base_price = e.price = static_cast<uint16_t>(bounded(d, 4, 0, 32767));
        e.max_level = static_cast<uint16_t>(bounded(d, 5, 0, 32767));
        e.order_level = static_cast<uint16_t>(bounded(d, 6, 0, 32767));
        e.red_level = static_cast<uint16_t>(bounded(d, 7, 0, 32767));
        e.annual_orders = non_negative_float(d, 8);
        e.order_size = non_negative_float(d, 9);
        e.initial_expenses = bounded(d, 10, 0, 2147483647);
        e.monthly_expenses = static_cast<uint32_t>(bounded(d, 11, 0, 2147483647));
        e.transfer_fixed_cost = static_cast<uint16_t>(bounded(d, 12, 0, 65535));
        e.transfer_unit_cost = static_cast<uint16_t>(bounded(d, 13, 0, 65535));
        e.item14 = static_cast<uint16_t>(bounded(d, 14, 0, 1200));
        e.item15 = static_cast<uint16_t>(bounded(d, 15, 0, 65535));
        e.item16 = static_cast<uint16_t>(bounded(d, 16, 0, 65535));
        e.preparation_days = static_cast<uint16_t>(bounded(d, 17, 0, 32767));
        e.item18 = e.item18_copy = static_cast<uint16_t>(bounded(d, 18, 0, 65535));
        d.get_record(3, static_cast<int16_t>(k + 1));
        for (int16_t i = 0; i < 6; ++i)
            e.lateness_series[static_cast<size_t>(i)] = non_negative_float(d, static_cast<int16_t>(i + 1));
        d.get_record(4, static_cast<int16_t>(k + 1));
        for (int16_t i = 0; i < 12; ++i)
            e.monthly_pct[static_cast<size_t>(i)] = non_negative_float(d, static_cast<int16_t>(i + 1));
        e.lateness = weighted6(e.lateness_series);
        e.service_pct = 100;
        product(f, p).exp = std::move(e);
    }
}

bool CMarketingWnd::export_line_active(int f, int p) const
{
    return product_exists(f, p) && product(f, p).exp && product(f, p).exp->state == EXPORT_ACTIVE;
}

int16_t CMarketingWnd::export_inventory_units(int f, int p) const
{
    if (!export_line_active(f, p))
        return 0;
    return clamp_to<int16_t>(lot_units(*product(f, p).exp));
}

int CMarketingWnd::export_replenishment_need(int f, int p) const
{
    return export_line_active(f, p) ? product(f, p).exp->to_transfer : 0;
}

bool CMarketingWnd::any_export_line() const
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            if (!is_product_retired(f, p) && product(f, p).export_flag != 0)
                return true;
    return false;
}

SimDateTime CMarketingWnd::export_start_date(int f, int p) const
{
    SimDateTime d = host_.today();
    if (!product_exists(f, p) || !product(f, p).exp)
        return d;
    const int months = d.month - 1 + product(f, p).exp->item14;
    d.year = static_cast<int16_t>(d.year + months / 12);
    d.month = static_cast<int16_t>(months % 12 + 1);
    d.day = std::min<int16_t>(d.day, month_length(d.month, d.year));
    return d;
}

SimDateTime CMarketingWnd::get_export_preparation_date(int f, int p) const
{
    SimDateTime d = host_.today();
    if (!product_exists(f, p) || !product(f, p).exp)
        return d;
    const ExportLine& e = *product(f, p).exp;
    // The first day whose preparation days reach the start date.
    for (int guard = 0; guard < 4000 && day_order(host_.add_work_days(d, e.preparation_days), e.start) < 0; ++guard)
        d = host_.add_work_days(d, 1);
    return d;
}

bool CMarketingWnd::request_export_line(int f, int p, const SimDateTime& start)
{
    if (!product_exists(f, p) || !product(f, p).exp || product(f, p).exp->state != EXPORT_NONE)
        return false;
    MarketProduct& pr = product(f, p);
    ExportLine& e = *pr.exp;
    e.start = start;
    e.state = EXPORT_REQUESTED;
    e.preparation = get_export_preparation_date(f, p);
    // Every line opened pays its own initial expenses.
    if (e.initial_expenses != 0) {
        finance_->post_cash(-e.initial_expenses, 0);
        finance_->add_marketing_expenses(e.initial_expenses);
    }
    pr.export_flag = 1;
    ui_.redraw();
    return true;
}

int16_t CMarketingWnd::get_export_expected_orders(int f, int p, int days) const
{
    if (days <= 0 || !export_line_active(f, p))
        return 0;
    const ExportLine& e = *product(f, p).exp;
    // The line's month of units: its yearly orders at their average size.
    const double monthly = static_cast<double>(e.annual_orders) * e.order_size / 12.0;
    return clamp_to<int16_t>(monthly / std::max(1, host_.month_work_days()) * days);
}

void CMarketingWnd::exp_add_export_line(int f, int p)
{
    MarketProduct& pr = product(f, p);
    pr.exp->lots.clear();
    pr.exp->added = 1;
    pr.export_added = 1;
    export_pools = true;
}

void CMarketingWnd::exp_append_inventory(int f, int p, int units)
{
    ExportLine& e = *product(f, p).exp;
    const SimDateTime today = host_.today();
    if (!e.lots.empty() && days_between(today, e.lots.back().date) < 7) {
        e.lots.back().units = add16(e.lots.back().units, units);
        return;
    }
    if (e.lots.size() >= static_cast<size_t>(MAX_LOTS))
        return;
    e.lots.push_back(InventoryLot{clamp_to<int16_t>(units), today});
}

void CMarketingWnd::adjust_export_inventory(int f, int p, int units)
{
    if (units > 0) {
        exp_append_inventory(f, p, units);
        return;
    }
    std::vector<InventoryLot>& lots = product(f, p).exp->lots;
    int n = -units;
    while (!lots.empty() && n >= lots.front().units) {
        n -= lots.front().units;
        lots.erase(lots.begin());
    }
    if (!lots.empty() && n > 0)
        lots.front().units = static_cast<int16_t>(lots.front().units - n);
}

bool CMarketingWnd::send_transfer(int f, int p, int units)
{
    if (units <= 0)
        return false;
    if (exp_transport_orders.size() >= MAX_TRANSPORT_ORDERS) {
        // The pool is full: the units stay home and go with a later transfer.
        ui_.message("Index Overflow EXP_MAX_TRANSPORT_ORDERS", "Error");
        return false;
    }
    ExportLine& e = *product(f, p).exp;
    TransportOrder t;
    t.order_date = host_.today();
    t.arrival = host_.add_work_days(t.order_date, e.transit_days);
    t.family = static_cast<int16_t>(f);
    t.product = static_cast<int16_t>(p);
    t.units = clamp_to<int16_t>(units);
    t.price = clamp_to<int16_t>(e.price);
    exp_transport_orders.push_back(t);
    e.in_transit = addu16(e.in_transit, units);
    e.to_transfer = static_cast<uint16_t>(std::max(0, e.to_transfer - units));
    update_product_stock(f, p, -units, 0, -1);
    const int32_t cost = clamp_to<int32_t>(e.transfer_fixed_cost + static_cast<double>(units) * e.transfer_unit_cost);
    if (cost != 0) {
        finance_->post_cash(-cost, 0);
        finance_->add_marketing_expenses(cost);
    }
    return true;
}

void CMarketingWnd::prepare_requested_export_lines()
{
    const SimDateTime today = host_.today();
    each_line(*this, [&](int f, int p, MarketProduct& pr, ExportLine& e) {
        if (e.state != EXPORT_REQUESTED || day_order(e.preparation, today) > 0)
            return;
        exp_add_export_line(f, p);
        check_export_levels();
        // The first transfer fills the line to its max level, as far as the
        // home stock may give.
        send_transfer(f, p, std::min<int>(e.max_level, std::max<int>(0, pr.stock)));
        e.state = EXPORT_PREPARED;
        ui_.redraw();
    });
}

void CMarketingWnd::activate_due_export_lines()
{
    const SimDateTime today = host_.today();
    each_line(*this, [&](int, int, MarketProduct&, ExportLine& e) {
        if (e.state == EXPORT_PREPARED && day_order(e.start, today) <= 0)
            e.state = EXPORT_ACTIVE;
    });
}

void CMarketingWnd::receive_transport_orders()
{
    const SimDateTime today = host_.today();
    bool received = false;
    for (size_t i = 0; i < exp_transport_orders.size();) {
        const TransportOrder t = exp_transport_orders[i];
        if (day_order(t.arrival, today) > 0 || !product_exists(t.family, t.product) || !product(t.family, t.product).exp) {
            ++i;
            continue;
        }
        ExportLine& e = *product(t.family, t.product).exp;
        exp_append_inventory(t.family, t.product, t.units);
        e.in_transit = static_cast<uint16_t>(std::max(0, e.in_transit - t.units));
        exp_transport_orders.erase(exp_transport_orders.begin() + static_cast<std::ptrdiff_t>(i));
        received = true;
    }
    if (received)
        ui_.redraw();
}

void CMarketingWnd::supply_export_orders()
{
    const SimDateTime today = host_.today();
    bool shipped = false;
    for (size_t i = 0; i < exp_open_orders.size();) {
        OpenOrder& o = exp_open_orders[i];
        if (day_order(o.earliest, today) > 0 || !export_line_active(o.family, o.product)) {
            ++i;
            continue;
        }
        MarketProduct& pr = product(o.family, o.product);
        ExportLine& e = *pr.exp;
        if (lot_units(e) < o.units) {
            if (day_order(o.due, today) < 0)
                o.days_late = add16(o.days_late, 1);
            ++i;
            continue;
        }
        const int late = o.days_late;
        adjust_export_inventory(o.family, o.product, -o.units);
        e.open_units = static_cast<uint16_t>(std::max(0, e.open_units - o.units));
        const int32_t value = clamp_to<int32_t>(static_cast<double>(o.units) * o.price);
        sales_value_run = addu32(sales_value_run, value);
        sales_value_month = addu32(sales_value_month, value);
        finance_->add_sales(value);
        e.revenue = addu32(e.revenue, value);
        e.revenue_month = addu32(e.revenue_month, value);
        e.revenue_year = addu32(e.revenue_year, value);
        finance_->post_cash(value, 1);
        e.shipped = addu16(e.shipped, o.units);
        e.shipped_month = addu16(e.shipped_month, o.units);
        e.shipped_year = addu16(e.shipped_year, o.units);
        const float cost = get_material_cost(o.family, o.product) * static_cast<float>(o.units);
        pr.cost_of_sales_run += cost;
        pr.cost_of_sales_year += cost;
        cost_of_sales_month[static_cast<size_t>(o.family)][static_cast<size_t>(o.product)] += cost;
        if (late > 0) {
            e.late_value_month = addu32(e.late_value_month, static_cast<int64_t>(late) * value);
            lost_value_month = addu32(lost_value_month, static_cast<int64_t>(late) * value);
        } else {
            e.on_time = addu16(e.on_time, o.units);
            e.on_time_month = addu16(e.on_time_month, o.units);
        }
        exp_open_orders.erase(exp_open_orders.begin() + static_cast<std::ptrdiff_t>(i));
        shipped = true;
    }
    if (shipped)
        ui_.redraw();
}

void CMarketingWnd::check_export_levels()
{
    each_line(*this, [&](int, int, MarketProduct& pr, ExportLine& e) {
        if (e.added == 0)
            return;
        const int stock = lot_units(e);
        const int position = stock + e.in_transit - e.open_units;
        e.to_transfer = position <= e.order_level ? static_cast<uint16_t>(std::max(0, e.max_level - position)) : 0;
        const int q = stock - e.open_units;
        const uint16_t status = q > e.order_level ? 0 : q > e.red_level ? 1 : 2;
        if (status != e.red_status) {
            e.red_status = status;
            if (pr.box_side == 1)
                ui_.redraw();
        }
    });
}

void CMarketingWnd::draw_export_orders()
{
    const SimDateTime today = host_.today();
    each_line(*this, [&](int f, int p, MarketProduct& pr, ExportLine& e) {
        if (e.state != EXPORT_ACTIVE || pr.phase_out != 0 || pr.retired != 0)
            return;
        // The trials are drawn as the rate gives them; the line takes one
        // order a day whatever they give.
        const double rate = std::trunc(e.annual_orders / 260.0 / 100.0 * 32767.0);
        int hits = 0;
        for (int i = 0; i < 100; ++i)
            hits += host_.rand() < rate ? 1 : 0;
        (void)hits;
        const double u = host_.draw_table("OPEN_ORDER_UNITS") * e.order_size / 10.0 + e.order_fraction;
        const double units = std::trunc(u);
        e.order_fraction = static_cast<float>(u - units);
        if (units <= 0)
            return;
        if (exp_open_orders.size() + 1 >= MAX_EXPORT_ORDERS) {
            ui_.message("Index Overflow EXP_MAX_OPEN_ORDERS", "Error");
            return;
        }
        OpenOrder o;
        o.order_date = today;
        o.earliest = host_.add_work_days(today, 1);
        o.due = host_.add_work_days(today, std::max(0, e.qlt - 1));
        o.family = static_cast<int16_t>(f);
        o.product = static_cast<int16_t>(p);
        o.units = clamp_to<int16_t>(units);
        o.price = clamp_to<int16_t>(e.price);
        o.quoted_lead_time = clamp_to<int16_t>(e.qlt);
        exp_open_orders.push_back(o);
        e.open_units = addu16(e.open_units, o.units);
        ui_.redraw();
    });
}

void CMarketingWnd::transfer_to_export()
{
    struct Need {
        int f, p, units;
    };
    std::vector<Need> needs;
    int total = 0;
    each_line(*this, [&](int f, int p, MarketProduct& pr, ExportLine& e) {
        if (e.state != EXPORT_ACTIVE)
            return;
        int home = pr.stock;
        if (link_mode_ == LINK_MAKE_TO_ORDER)
            home -= pr.firm_orders + get_loaded_contract_units(f, p);
        else if (exp_transfer_policy == 1)
            home -= pr.red_level;
        else if (exp_transfer_policy == 2)
            home -= pr.order_level;
        const int n = std::clamp<int>(e.to_transfer, 0, std::max(0, home));
        e.shortfall = static_cast<uint16_t>(e.to_transfer - n);
        if (n > 0) {
            needs.push_back({f, p, n});
            total += n;
        }
    });
    if (total == 0 || total < exp_transfer_minimum)
        return;
    for (const Need& n : needs)
        send_transfer(n.f, n.p, n.units);
}

void CMarketingWnd::apply_export_monthly_growth()
{
    const int m = std::clamp(host_.today().month - 1, 0, 11);
    each_line(*this, [&](int, int, MarketProduct& pr, ExportLine& e) {
        if (e.state == EXPORT_ACTIVE && pr.retired == 0)
            e.annual_orders *= e.monthly_pct[static_cast<size_t>(m)] / 100.0f;
    });
}

void CMarketingWnd::export_monthly_statistics()
{
    const SimDateTime today = host_.today();
    each_line(*this, [&](int f, int p, MarketProduct&, ExportLine& e) {
        if (e.state != EXPORT_ACTIVE)
            return;
        double late_open = 0, late_open_value = 0;
        for (const OpenOrder& o : exp_open_orders)
            if (o.family == f && o.product == p && day_order(o.due, today) < 0) {
                const double value = static_cast<double>(o.units) * o.price;
                late_open_value += value;
                late_open += value * o.days_late;
            }
        const double divisor = e.revenue_month + late_open_value;
        e.lateness_ratio = divisor > 0 ? static_cast<float>((e.late_value_month + late_open) / divisor) : 0.0f;
        shift_in(e.lateness_series, e.lateness_ratio);
        e.lateness = weighted6(e.lateness_series);
        apply_ddp_adjustment("DDP", e.lateness, e.annual_orders);
        e.revenue_last_month = e.revenue_month;
        e.revenue_month = 0;
        e.shipped_last_month = e.shipped_month;
        e.shipped_month = 0;
        e.on_time_last_month = e.on_time_month;
        e.on_time_month = 0;
        e.late_value_last_month = e.late_value_month;
        e.late_value_month = 0;
        shift_in(e.revenue_series, e.revenue_last_month);
        e.red_fraction_last_month = e.red_fraction;
        shift_in(e.red_series, e.red_fraction_last_month);
        e.red_fraction = 0;
        e.red_days = 0;
    });
}

void CMarketingWnd::export_daily_statistics()
{
    const SimDateTime today = host_.today();
    each_line(*this, [&](int f, int p, MarketProduct&, ExportLine& e) {
        if (e.state != EXPORT_ACTIVE)
            return;
        int late_units = 0;
        for (const OpenOrder& o : exp_open_orders)
            if (o.family == f && o.product == p && day_order(o.due, today) < 0)
                late_units += o.units;
        const int sum = e.shipped_month + late_units;
        e.service_pct = sum < 1 ? 100 : static_cast<uint16_t>(std::min(100, e.on_time_month * 100 / sum));
        if (e.red_status == 2)
            e.red_days = addu16(e.red_days, 1);
        const int days = host_.work_days_this_month();
        e.red_fraction = days > 0 ? static_cast<float>(e.red_days) / static_cast<float>(days) : 0.0f;
    });
}

void CMarketingWnd::export_month_roll()
{
    each_line(*this, [](int, int, MarketProduct&, ExportLine& e) {
        e.year_counter = 0;
        e.shipped_last_year = e.shipped_year;
        e.shipped_year = 0;
        e.revenue_last_year = e.revenue_year;
        e.revenue_year = 0;
    });
}

void CMarketingWnd::write_off_expired_export_inventory(std::vector<std::string>& rows)
{
    const SimDateTime today = host_.today();
    each_line(*this, [&](int f, int p, MarketProduct& pr, ExportLine& e) {
        int16_t& ex = expired_export_today[static_cast<size_t>(f)][static_cast<size_t>(p)];
        ex = 0;
        if (e.state != EXPORT_ACTIVE || pr.retired != 0 || pr.shelf_life == 0)
            return;
        for (size_t i = 0; i < e.lots.size(); ++i) {
            if (days_between(today, e.lots[i].date) < pr.shelf_life)
                continue;
            const int16_t units = e.lots[i].units;
            ex = units;
            e.year_counter = addu16(e.year_counter, units);
            finance_->add_inventory_written_off(clamp_to<int32_t>(get_material_cost(f, p) * static_cast<float>(units)));
            e.lots.erase(e.lots.begin() + static_cast<std::ptrdiff_t>(i));
            char row[64];
            std::snprintf(row, sizeof row, "\t%c%c\t%d", family_letter(f), pr.letter, units);
            rows.emplace_back(row);
            const char code[3] = {family_letter(f), pr.letter, 0};
            host_.log_decision("InventoryLost", code, "", std::to_string(units));
            return;
        }
    });
}
