// The analyses of the Information menu.
#include "finance/finance_analysis.h"
#include "app/app_types.h"
#include "app/clock.h"
#include <algorithm>
#include <cstdio>

namespace {

int32_t trunc_double(double v)
{
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

std::string format(const char* pattern, double v)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, v);
    return text;
}

std::string product_code(const MarketingDept& m, int f, int p)
{
    return std::string{m.family_letter(f), m.product_letter(f, p)};
}

ProductFigures figures_of(const CFinanceWnd& books, int f, int p)
{
    MarketingDept* m = books.marketing();
    return m != nullptr ? m->product_figures(f, p) : ProductFigures{};
}

// The products of a summary grid: every product labels a row, only those
// still sold get a value.
template <class Value>
std::vector<SummaryRow> product_rows(const CFinanceWnd& books, Value value)
{
    std::vector<SummaryRow> rows;
    for (const AnalysisProduct& p : analysis_products(books)) {
        SummaryRow row{p.code, {}};
        if (!p.retired)
            row.value = value(figures_of(books, p.family, p.product));
        rows.push_back(std::move(row));
    }
    return rows;
}

float standard_cost(const ProductFigures& pf) { return pf.material_cost + pf.labour + pf.indirect; }

} // namespace

std::vector<std::string> cost_analysis_texts(const CostAnalysis& a)
{
    return {
        format("%0.2f", static_cast<double>(a.sale_price)),
        format("%0.2f", static_cast<double>(a.material)),
        format("%0.2f", static_cast<double>(a.labour)),
        format("%0.2f", static_cast<double>(a.indirect)),
        format("%0.2f", static_cast<double>(a.standard_cost)),
        format("%0.2f", static_cast<double>(a.profit)),
        format("%0.2f%%", static_cast<double>(a.marginal_percent)),
    };
}

std::vector<AnalysisProduct> analysis_products(const CFinanceWnd& books)
{
    std::vector<AnalysisProduct> out;
    MarketingDept* m = books.marketing();
    if (m == nullptr)
        return out;
    for (int f = 0; f < m->family_count(); ++f)
        for (int p = 0; p < m->product_count(f); ++p)
            out.push_back({f, p, product_code(*m, f, p), m->product_figures(f, p).retired});
    return out;
}

CostAnalysis product_analysis(const CFinanceWnd& books, int family, int product)
{
    const ProductFigures pf = figures_of(books, family, product);
    CostAnalysis a;
    a.sale_price = pf.price;
    a.material = pf.material_cost;
    a.labour = pf.labour;
    a.indirect = pf.indirect + pf.advertising;
    a.standard_cost = standard_cost(pf);
    a.profit = pf.price - a.standard_cost;
    a.marginal_percent = a.profit / pf.price * 100.0f;
    return a;
}

std::vector<ContractSummary> analysis_contracts(const CFinanceWnd& books)
{
    MarketingDept* m = books.marketing();
    if (m == nullptr)
        return {};
    return m->contracts_for_analysis(books.host().run_state() == RUN_HOLD);
}

std::string contract_list_text(const ContractSummary& c)
{
    return c.held ? std::to_string(c.number) + " (In Hold)" : std::to_string(c.number);
}

CostAnalysis contract_analysis(const CFinanceWnd& books, const ContractSummary& c)
{
    double sale = 0, material = 0, labour = 0, indirect = 0;
    for (const ContractLine& line : c.lines) {
        const ProductFigures pf = figures_of(books, line.family, line.product);
        sale += static_cast<double>(line.quantity) * line.price;
        material += static_cast<double>(line.quantity) * pf.material_cost;
        labour += static_cast<double>(line.quantity) * pf.labour;
        indirect += static_cast<double>(line.quantity) * pf.indirect;
    }
    CostAnalysis a;
    a.sale_price = static_cast<float>(sale);
    a.material = static_cast<float>(material);
    a.labour = static_cast<float>(labour);
    a.indirect = static_cast<float>(indirect);
    a.standard_cost = static_cast<float>(material + labour + indirect);
    a.profit = a.sale_price - a.standard_cost;
    a.marginal_percent = a.profit / a.sale_price * 100.0f;
    return a;
}

GlobalMeasures global_measures(const CFinanceWnd& books)
{
    GlobalMeasures g;
    MarketingDept* m = books.marketing();
    double material_of_sales = 0;
    for (const AnalysisProduct& p : analysis_products(books))
        if (!p.retired)
            material_of_sales += figures_of(books, p.family, p.product).run_material_cost_of_sales;
    g.throughput = trunc_double((m != nullptr ? m->accumulated_sales() : 0) - material_of_sales);
    g.current_inventory = books.plant_inventory_at_material_cost();
    g.total_assets = books.other_assets + books.machine_investment - books.depreciation.acc + g.current_inventory;
    g.oe = trunc_double(static_cast<double>(books.total_expenses.acc) + books.interest_paid.acc -
                        books.interest_earned.acc + books.written_off.acc + books.depreciation.acc);
    return g;
}

std::vector<SummaryRow> marginal_profit_rows(const CFinanceWnd& books)
{
    return product_rows(books, [](const ProductFigures& pf) {
        return format("%0.2f%%", static_cast<double>((pf.price - standard_cost(pf)) / pf.price * 100.0f));
    });
}

std::vector<SummaryRow> product_throughput_rows(const CFinanceWnd& books)
{
    return product_rows(books,
                        [](const ProductFigures& pf) { return format("%0.2f", static_cast<double>(pf.price - pf.material_cost)); });
}

std::vector<SummaryRow> contract_throughput_rows(const CFinanceWnd& books)
{
    std::vector<ContractSummary> contracts = analysis_contracts(books);
    std::stable_sort(contracts.begin(), contracts.end(),
                     [](const ContractSummary& a, const ContractSummary& b) { return a.number < b.number; });
    std::vector<SummaryRow> rows;
    for (const ContractSummary& c : contracts) {
        double throughput = 0;
        for (const ContractLine& line : c.lines)
            throughput += static_cast<double>(line.quantity) *
                          (line.price - static_cast<double>(figures_of(books, line.family, line.product).material_cost));
        rows.push_back({std::to_string(c.number), format("%0.2f($)", throughput)});
    }
    return rows;
}

EvaFigures eva_measurement(CFinanceWnd& books)
{
    EvaFigures e;
    CClockPane& clock = books.host().clock();
    if (clock.months_elapsed < 1)
        return e;
    e.available = true;
    const bool january = clock.current.month == 1;
    const char letter = january ? 'L' : 'C';
    books.get_report_period(letter, e.from, e.to);
    e.profit = books.get_net_profit(letter, 1);
    e.capital = books.other_assets + books.machine_investment - books.depreciation.acc +
                books.plant_inventory_at_material_cost() + books.cash;
    // The months the period has run: a whole year just ended (the months
    // since the start in the first one), else the months closed this year.
    int months;
    if (january)
        months = clock.years_elapsed <= 1 ? std::clamp<int>(clock.months_elapsed, 0, 12) : 12;
    else
        months = std::clamp((clock.current.year - books.period_start.year) * 12 + clock.current.month -
                                books.period_start.month,
                            0, 12);
    e.interest = months * static_cast<double>(books.capital_rate) / 12.0;
    e.capital_interest = trunc_double(e.capital * e.interest);
    e.eva = trunc_double(static_cast<double>(books.last_net_profit) - e.capital * e.interest);
    e.last_year_eva = clock.IsNewYear() != 0 ? books.previous_eva : books.eva;
    return e;
}
