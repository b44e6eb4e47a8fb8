// Unit costs of a product (labour, overheads, advertising) and the figures
// Finance reads of the finished goods.
#include "marketing/marketing_wnd.h"
#include "market_util.h"
#include <cmath>

namespace {
// A figure that cannot be formed (no machines, no working time) counts nothing.
float finite_or_zero(double v) { return std::isfinite(v) ? static_cast<float>(v) : 0.0f; }
} // namespace

float CMarketingWnd::get_direct_labor_cost(int f, int p) const
{
    if (production_ == nullptr || finance_ == nullptr || !product_exists(f, p))
        return 0.0f;
    const double month_minutes = static_cast<double>(host_.month_work_days()) * host_.work_hours_per_day() * 60.0;
    const double working = month_minutes * finance_->machine_work_percent();
    const int units = production_->count_active_units();
    if (working <= 0 || units <= 0)
        return 0.0f;
    const double minutes =
        production_->get_process_minutes_per_unit(static_cast<int16_t>(f), static_cast<int16_t>(p));
    return finite_or_zero(minutes / working * finance_->monthly_direct_labour() / units);
}

float CMarketingWnd::get_indirect_cost(int f, int p) const
{
    if (production_ == nullptr || finance_ == nullptr || !product_exists(f, p))
        return 0.0f;
    const double month_minutes = static_cast<double>(host_.month_work_days()) * host_.work_hours_per_day() * 60.0;
    const double capacity = std::trunc(month_minutes * finance_->machine_work_percent());
    const int units = production_->count_active_units();
    if (capacity <= 0 || units <= 0)
        return 0.0f;
    const double overheads = static_cast<double>(finance_->monthly_production_expenses()) +
                             finance_->monthly_marketing_expenses() + finance_->monthly_management_expenses() +
                             (finance_->asset_value() * 0.04 + finance_->machine_investment_value() * 0.2) / 260.0 *
                                 22.0;
    const double minutes =
        production_->get_process_minutes_per_unit(static_cast<int16_t>(f), static_cast<int16_t>(p));
    return finite_or_zero(minutes / capacity * overheads / units);
}

float CMarketingWnd::get_advertising_cost_per_unit(int f, int p) const
{
    if (!product_exists(f, p))
        return 0.0f;
    double average = 0;
    for (float v : product(f, p).units_series)
        average += v;
    average /= 12.0;
    // Nothing sold in a year: the campaign's cost has no units to fall on.
    if (average <= 0)
        return 0.0f;
    auto monthly = [](const AdvertisingCampaign& c) {
        return static_cast<double>(c.level_index + 1) * c.monthly_cost;
    };
    double cost = 0;
    if (!campaigns.empty() && campaigns[0].name == "General" && campaigns[0].active)
        cost += monthly(campaigns[0]) / average;
    const char code[3] = {family_letter(f), product_letter(f, p), 0};
    for (const AdvertisingCampaign& c : campaigns)
        if (c.active && c.name == code) {
            cost += monthly(c) / average;
            break;
        }
    return finite_or_zero(cost);
}

void CMarketingWnd::clear_campaign_costs()
{
    for (AdvertisingCampaign& c : campaigns)
        c.accumulated = 0;
}

ProductFigures CMarketingWnd::product_figures(int f, int p) const
{
    ProductFigures out;
    if (!product_exists(f, p))
        return out;
    const MarketProduct& pr = product(f, p);
    out.price = pr.price;
    out.material_cost = get_material_cost(f, p);
    out.labour = get_direct_labor_cost(f, p);
    out.indirect = get_indirect_cost(f, p);
    out.advertising = get_advertising_cost_per_unit(f, p);
    out.fg_units = pr.stock;
    out.export_units = 0;
    out.retired = pr.retired != 0;
    out.run_material_cost_of_sales = pr.cost_of_sales_run;
    out.todays_sales_value = static_cast<float>(revenue_today[static_cast<size_t>(f)][static_cast<size_t>(p)]);
    return out;
}
