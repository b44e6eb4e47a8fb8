// The red line of both policies and the rolls of the statistics.
#include "purchasing/purchasing_wnd.h"
#include "app/view.h"
#include <algorithm>

void CPurchasingWnd::check_material_red_line()
{
    for (int f = 0; f < family_count_; ++f) {
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            RawMaterial& r = material(f, i);
            const int32_t pos = r.stock;
            // A rule that changes a status ends this family's pass.
            auto set = [&](int16_t status) {
                if (r.red_line_status == status)
                    return false;
                r.red_line_status = status;
                redraw(REDRAW_STOCK, f, i);
                return true;
            };
            if (r.order_level == 0 && r.red_line_level == 0 && set(0))
                break;
            if (pos > r.order_level && set(0))
                break;
            if (r.order_level > 0 && pos <= r.order_level && pos > r.red_line_level && set(1))
                break;
            // The Management window would hear of it; there is none in this program.
            if (r.red_line_level > 0 && pos < r.red_line_level && set(2))
                break;
        }
    }
}

void CPurchasingWnd::check_mrp_red_line()
{
    if (policy != POLICY_MRP)
        return;
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            const auto fi = static_cast<size_t>(f), mi = static_cast<size_t>(i);
            const RawMaterial& r = material(f, i);
            int16_t flag = 0;
            if (red_line_time[fi][mi] != 0) {
                const int32_t need = std::max<int32_t>(get_requirement(f, i, red_line_time[fi][mi]), 0);
                flag = need > r.stock || r.stock < r.red_line_level ? 1 : 0;
            }
            if (flag != mrp_red_line[fi][mi]) {
                mrp_red_line[fi][mi] = flag;
                redraw(REDRAW_MRP_RED_LINE, f, i);
            }
        }
}

void CPurchasingWnd::count_red_line_days()
{
    const int16_t days = view_->clock.work_days_this_month;
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            RawMaterial& r = material(f, i);
            const bool red = policy == POLICY_MRP ? mrp_red_line[static_cast<size_t>(f)][static_cast<size_t>(i)] != 0
                                                  : r.red_line_status == 2;
            if (red && r.red_line_days < 32767)
                ++r.red_line_days;
            r.red_line_share = days > 0 ? static_cast<float>(r.red_line_days) / static_cast<float>(days) : 0.0f;
        }
}

template <typename T, size_t N>
static void push_newest(std::array<T, N>& a, T v)
{
    std::move(a.begin() + 1, a.end(), a.begin());
    a.back() = v;
}

void CPurchasingWnd::on_new_month()
{
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            const auto fi = static_cast<size_t>(f), mi = static_cast<size_t>(i);
            RawMaterial& r = material(f, i);
            r.issued_last_month = r.issued_this_month;
            r.issued_this_month = 0;
            // Every history takes the month just ended as its newest entry.
            for (size_t h = 0; h + 1 < unsupplied_history.size(); ++h)
                unsupplied_history[h][fi][mi] = unsupplied_history[h + 1][fi][mi];
            unsupplied_history.back()[fi][mi] = unsupplied_this_month[fi][mi];
            unsupplied_last_month[fi][mi] = unsupplied_this_month[fi][mi];
            unsupplied_this_month[fi][mi] = 0;
            push_newest(r.monthly_issues, static_cast<float>(r.issued_last_month));

            r.red_line_share_last_month = r.red_line_share;
            r.red_line_days = 0;
            r.red_line_share = 0;
            push_newest(r.red_line_shares, r.red_line_share_last_month);
        }
    for (int s = 0; s < supplier_count; ++s) {
        Supplier& sup = suppliers[static_cast<size_t>(s)];
        float average = 0;
        if (sup.sample_count > 0) {
            int32_t sum = 0;
            for (int k = 0; k < sup.sample_count; ++k)
                sum += sup.lead_samples[static_cast<size_t>(k)];
            average = static_cast<float>(sum) / static_cast<float>(sup.sample_count);
        }
        if (average > 0)
            sup.average_lead = sup.average_lead <= 0 ? average : (average + sup.average_lead) / 2.0f;
        sup.sample_count = 0;
    }
    shipping_last_month = shipping_this_month;
    shipping_this_month = 0;
    day_index = 0;
}

void CPurchasingWnd::roll_yearly_stats()
{
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            const auto fi = static_cast<size_t>(f), mi = static_cast<size_t>(i);
            RawMaterial& r = material(f, i);
            r.stock_last_year_start = r.stock_year_start;
            r.stock_year_start = r.stock;
            unsupplied_last_year[fi][mi] = unsupplied_this_year[fi][mi];
            unsupplied_this_year[fi][mi] = 0;
        }
    shipping_last_year = shipping_this_year;
    shipping_this_year = 0;
}
