// The sales summary's sums over the chosen products.
#include "marketing/market_summary.h"
#include "marketing/marketing_wnd.h"

namespace {

void add(SummarySeries& s, const MarketProduct& pr)
{
    const std::array<const std::array<float, 12>*, 5> from = {
        &pr.revenue_series, &pr.order_sales_series, &pr.contract_sales_series, &pr.units_series,
        &pr.throughput_series};
    for (size_t k = 0; k < s.size(); ++k)
        for (size_t i = 0; i < 12; ++i)
            s[k][i] += (*from[k])[i];
}

} // namespace

SummarySeries summary_series(const CMarketingWnd& m, int choice, int family, int product)
{
    SummarySeries s{};
    if (choice == 1) {
        if (m.product_exists(family, product))
            add(s, m.product(family, product));
        return s;
    }
    if (choice != 2 && choice != 3)
        return s;
    for (int f = 0; f < m.family_count(); ++f) {
        if (choice == 2 && f != family)
            continue;
        for (int p = 0; p < m.product_count(f); ++p)
            if (choice == 2 || !m.is_product_retired(f, p))
                add(s, m.product(f, p));
    }
    return s;
}

void zero_months_before_run(SummarySeries& series, int month_count)
{
    if (month_count >= 12)
        return;
    const int last = 11 - (month_count < 0 ? 0 : month_count);
    for (auto& one : series)
        for (int i = 0; i <= last; ++i)
            one[static_cast<size_t>(i)] = 0;
}
