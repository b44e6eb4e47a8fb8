// Job-shop mode: every customer order carries a factor on its price, may be
// screened by an acceptance window, and is made as its own production order.
#include "market_util.h"
#include "marketing/marketing_wnd.h"
#include <algorithm>
#include <cmath>

using namespace mkt;

namespace {
constexpr int16_t KIND_FINISHED = 2;
constexpr int16_t ORDER_TYPE_STOCK = 0;
constexpr uint16_t ACCEPTED = 20000;

int factor_of(uint16_t value) { return value >= ACCEPTED ? value - ACCEPTED : value; }
} // namespace

bool CMarketingWnd::accepts_order(int factor, int units) const
{
    if (js_any_factor == 0 && (factor < js_factor_low || factor > js_factor_high))
        return false;
    if (js_any_units != 0)
        return true;
    return units >= js_units_low && units <= js_units_high;
}

int16_t CMarketingWnd::get_jobshop_units(int f, int p) const
{
    if (!host_.in_hold())
        return 0;
    int units = 0;
    for (size_t i = 0; i < js_orders.size() && i < js_factors.size(); ++i)
        if (js_orders[i].family == f && js_orders[i].product == p && js_factors[i] < ACCEPTED)
            units += js_orders[i].units;
    return clamp_to<int16_t>(units);
}

void CMarketingWnd::accept_orders_policy()
{
    if (js_fixed_factor != 0)
        ui_.message("     Not available    ", "Accept orders");
    else
        ui_.not_implemented("js_dlg_accept_orders_policy");
}

void CMarketingWnd::load_jobshop_open_orders()
{
    js_orders.clear();
    js_factors.clear();
    js_pending = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            // Retired products and products not yet launched take no orders and draw nothing.
            if (pr.retired || is_new_product_waiting(f, p))
                continue;
            pr.rejected_today = 0;
            const int count = draw_order_count(pr);
            for (int i = 0; i < count; ++i) {
                const float rv = static_cast<float>(host_.draw_table("OPEN_ORDER_UNITS"));
                const float s = rv * static_cast<float>(pr.order_size) / 10.0f;
                int units = clamp_to<int16_t>(s + pr.order_carry);
                pr.order_carry = s + pr.order_carry - static_cast<float>(units);
                if (units <= 0 || !book_or_reject(pr, f, p, units))
                    continue;
                OpenOrder o = new_open_order(f, p, js_value1 == 0 ? 1 : units);
                int factor = 100;
                if (js_fixed_factor == 0)
                    factor = std::clamp(static_cast<int>(host_.draw_table("JOBSHOP_FACTORS")), 0, ACCEPTED - 1);
                if (js_accept_on != 0) {
                    if (accepts_order(factor, o.units))
                        factor += ACCEPTED;
                    else if (js_reject != 0)
                        factor = 0;
                    else
                        ++js_pending;
                }
                js_factors.push_back(static_cast<uint16_t>(factor));
                if (factor_of(static_cast<uint16_t>(factor)) > 0) {
                    const double cost = std::trunc(static_cast<double>(get_material_cost(f, p)));
                    const double margin =
                        std::trunc((pr.price - cost) * factor_of(static_cast<uint16_t>(factor)) / 100.0);
                    o.price = static_cast<int16_t>(std::clamp(cost + margin, 0.0, 32767.0));
                }
                js_orders.push_back(o);
            }
        }
    if (js_orders.empty())
        return;
    if (js_accept_on == 0 || js_pending > 0)
        ui_.not_implemented("js_dlg_open_orders");
    for (size_t i = 0; i < js_orders.size(); ++i) {
        if (factor_of(js_factors[i]) == 0)
            continue;
        // As any customer order.
        enter_open_order(js_orders[i]);
        ui_.redraw();
    }
}

void CMarketingWnd::order_jobshop_production()
{
    for (size_t i = 0; i < js_orders.size() && i < js_factors.size(); ++i) {
        const int factor = factor_of(js_factors[i]);
        if (factor == 0)
            continue;
        const OpenOrder& o = js_orders[i];
        production_->add_order(o.family, o.product, o.units, ORDER_TYPE_STOCK, KIND_FINISHED,
                               static_cast<int16_t>(product(o.family, o.product).qlt), factor, -1);
        draw_on_order_units(o.family, o.product);
    }
}
