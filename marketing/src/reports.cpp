// The report tables of the Marketing department.
#include "marketing/market_reports.h"
#include "foundation/lang.h"
#include "foundation/simdate.h"
#include "marketing/marketing_wnd.h"
#include <cstdio>

namespace {

template <class... A>
std::string format(const char* f, A... a)
{
    char b[96];
    std::snprintf(b, sizeof b, f, a...);
    return b;
}

std::string code_of(const CMarketingWnd& m, int f, int p)
{
    return std::string{m.family_letter(f), m.product_letter(f, p)};
}

std::string month_text(int month) { return lang_translate(month_name(month, 0)); }

// One row per product shown in the reports, in family order.
template <class Cells>
void product_rows(const CMarketingWnd& m, ReportTable& t, Cells cells)
{
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p) {
            if (product_waiting(m, f, p))
                continue;
            ReportTable::Row row;
            row.title = code_of(m, f, p);
            row.cells = cells(m.product(f, p), f, p);
            t.rows.push_back(std::move(row));
        }
}

float sum12(const std::array<float, 12>& s)
{
    float total = 0;
    for (float v : s)
        total += v;
    return total;
}

} // namespace

int month_back(int month, int back)
{
    const int m = (month - 1 - back) % 12;
    return m < 0 ? m + 13 : m + 1;
}

bool product_waiting(const CMarketingWnd& m, int f, int p)
{
    for (int n = 0; n < m.new_product_count; ++n) {
        const NewProductEntry& e = m.new_products[static_cast<size_t>(n)];
        if (e.family == f && e.index == p && e.due == 0)
            return true;
    }
    return false;
}

ReportTable build_report(const CMarketingWnd& m, int report, int month)
{
    ReportTable t;
    const std::string un = lang_translate("(un)");
    switch (report) {
    case REPORT_MONTHLY_SALES: {
        t.caption = "Monthly Sales";
        t.help_context = 107;
        t.columns = {"Units", "Rev.", "Throughput", "Units", "Rev.", "Throughput"};
        t.labels = {month_text(month_back(month, 1)), month_text(month_back(month, 2))};
        product_rows(m, t, [&](const MarketProduct& pr, int, int) {
            std::vector<std::string> c;
            for (size_t slot : {size_t{11}, size_t{10}}) {
                c.push_back(format("%0.0f", static_cast<double>(pr.units_series[slot])) + un);
                c.push_back(format("%0.0f", static_cast<double>(pr.revenue_series[slot])));
                c.push_back(format("%0.0f", static_cast<double>(pr.throughput_series[slot])));
            }
            return c;
        });
        break;
    }
    case REPORT_MONTHLY_ORDERED: {
        t.caption = "Monthly Ordered Units";
        t.help_context = 108;
        t.columns = {month_text(month_back(month, 1)), month_text(month_back(month, 2))};
        t.labels = t.columns;
        product_rows(m, t, [&](const MarketProduct& pr, int, int) {
            return std::vector<std::string>{format("%0.0f", static_cast<double>(pr.ordered_series[11])) + un,
                                            format("%0.0f", static_cast<double>(pr.ordered_series[10])) + un};
        });
        break;
    }
    case REPORT_UNITS_SALES_SUMMARY:
        t.caption = "Units Sales Summary";
        t.help_context = 109;
        t.columns = {"Average monthly sales for last year"};
        product_rows(m, t, [&](const MarketProduct& pr, int, int) {
            return std::vector<std::string>{format("%0.2f", static_cast<double>(sum12(pr.units_series) / 12.0f))};
        });
        break;
    case REPORT_RED_LINE_STATISTICS: {
        t.caption = "Red Line Statistics";
        t.help_context = 103;
        for (int k = 6; k >= 1; --k)
            t.columns.push_back(month_text(month_back(month, k)));
        product_rows(m, t, [&](const MarketProduct& pr, int, int) {
            std::vector<std::string> c;
            for (float v : pr.red_share_series)
                c.push_back(format("%0.2f", static_cast<double>(v)));
            return c;
        });
        break;
    }
    case REPORT_UPDATED_SALES:
        t.caption = "Updated Sales";
        t.help_context = 115;
        t.columns = {"Current Year", "Current Month"};
        product_rows(m, t, [&](const MarketProduct& pr, int, int) {
            return std::vector<std::string>{format("%ld", static_cast<long>(pr.revenue_year)),
                                            format("%ld", static_cast<long>(pr.revenue_month))};
        });
        break;
    case REPORT_ADVERTISING_EXPENSES:
        t.caption = "Advertising Expenses";
        t.columns = {"Advertising Expenses"};
        for (const AdvertisingCampaign& c : m.campaigns)
            t.rows.push_back({c.name, {format("$%ld", static_cast<long>(c.accumulated))}});
        break;
    case REPORT_INVENTORY_LOSSES:
        t.caption = "Inventory Losses";
        t.columns = {"Current Year", "LastYear"};
        product_rows(m, t, [&](const MarketProduct& pr, int, int) {
            return std::vector<std::string>{format("%d", pr.expired_year) + un,
                                            format("%d", pr.expired_last_year) + un};
        });
        break;
    case REPORT_INVENTORY_DAYS:
        t.caption = "Inventory by days of sales";
        t.columns = {"Sold Last Month (U/D)", "Inventory", "Inventory ( U/D)", "Yearly Avg. Sales"};
        t.labels = {"U/D - Units per day"};
        product_rows(m, t, [&](const MarketProduct& pr, int, int) {
            const float rate = pr.sold_per_day_last_month;
            const long days = rate > 0 ? static_cast<long>(static_cast<float>(pr.stock) / rate) : 0;
            return std::vector<std::string>{format("%0.0f", static_cast<double>(rate)), format("%d", pr.stock),
                                            format("%ld", days),
                                            format("%0.0f", static_cast<double>(sum12(pr.units_series) / 12.0f))};
        });
        break;
    case REPORT_INVENTORY_POLICIES: {
        t.caption = "Inventory policies in days of sales";
        t.labels = {"U/D - Units per day"};
        const bool to_order = m.link_mode() == LINK_MAKE_TO_ORDER;
        if (to_order)
            t.columns = {"Safety Stock (U/D)"};
        else
            t.columns = {"Max Level (U/D)", "Order Level (U/D)", "Red Line Level (U/D)"};
        product_rows(m, t, [&](const MarketProduct& pr, int, int) {
            const float rate = pr.sold_per_day_last_month;
            auto days = [&](uint16_t level) {
                return format("%0.0f", rate > 0 ? static_cast<double>(static_cast<long>(level / rate)) : 0.0);
            };
            if (to_order)
                return std::vector<std::string>{days(pr.safety_stock)};
            return std::vector<std::string>{days(pr.max_level), days(pr.order_level), days(pr.red_level)};
        });
        break;
    }
    case REPORT_ADVERTISING_PLAN: {
        t.caption = "Advertising Plan";
        for (int k = 0; k < 6; ++k)
            t.columns.push_back(month_text(month_back(month, -k)));
        std::vector<long> total(6, 0);
        for (const AdvertisingCampaign& c : m.campaigns) {
            ReportTable::Row row{c.name, {}};
            for (int k = 0; k < 6; ++k) {
                long v = 0;
                if (c.active != 0 && k < c.months_left)
                    v = static_cast<long>(c.level_index + 1) * static_cast<long>(c.monthly_cost);
                total[static_cast<size_t>(k)] += v;
                row.cells.push_back(format("%ld", v));
            }
            t.rows.push_back(std::move(row));
        }
        ReportTable::Row sum{"Total", {}};
        for (long v : total)
            sum.cells.push_back(format("%ld", v));
        t.rows.push_back(std::move(sum));
        break;
    }
    case REPORT_LOST_ORDERS: {
        t.caption = "Lost Orders Summary";
        for (int k = 0; k < 12; ++k)
            t.columns.push_back(month_text(month_back(month, k)));
        std::vector<long> total(12, 0);
        product_rows(m, t, [&](const MarketProduct&, int f, int p) {
            const size_t fi = static_cast<size_t>(f), pi = static_cast<size_t>(p);
            std::vector<std::string> c;
            std::vector<long> v{static_cast<long>(m.lost_units_month[fi][pi])};
            for (int k = 11; k >= 1; --k)
                v.push_back(static_cast<long>(m.lost_units_series[fi][pi][static_cast<size_t>(k)]));
            for (size_t k = 0; k < v.size(); ++k) {
                total[k] += v[k];
                c.push_back(format("%ld", v[k]));
            }
            return c;
        });
        ReportTable::Row sum{"Total", {}};
        for (long v : total)
            sum.cells.push_back(format("%ld", v));
        t.rows.push_back(std::move(sum));
        break;
    }
    default:
        break;
    }
    return t;
}
