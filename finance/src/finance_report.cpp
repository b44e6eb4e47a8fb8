// The four profit-and-loss reports, the net profit, the report periods and
// the statement's lines.
#include "finance/finance_wnd.h"
#include "app/clock.h"
#include "foundation/datafile.h"
#include <cmath>
#include <cstdio>

namespace {

int32_t trunc_float(float v)
{
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0f)
        return INT32_MAX;
    if (v <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

std::string grouped(int32_t v)
{
    std::string text = std::to_string(v);
    insert_thousands_separators(text);
    return text;
}

} // namespace

namespace {

// One period's report: its part of every total, its inventory values at the
// start and at the end (now, or as stored at last year's end).
FinanceReport period_report(const FinanceBooks& k, int32_t Total::*part, float FloatTotal::*interest, int32_t sales,
                            const ValuePair& fg_start, const ValuePair& fg_end, const ValuePair& wip_start,
                            const ValuePair& wip_end, int32_t wip_added)
{
    FinanceReport r;
    r.v[0] = sales;
    r.v[1] = k.materials.*part;
    r.v[2] = k.direct_labour.*part;
    r.v[3] = k.production_expenses.*part;
    r.set_depreciation(static_cast<float>(k.depreciation.*part));
    r.v[5] = fg_start.with;
    r.v[6] = fg_end.with - fg_start.with;
    r.v[7] = fg_end.material - fg_start.material;
    r.v[8] = wip_start.with;
    r.v[9] = wip_end.with - wip_start.with;
    r.v[10] = wip_end.material - wip_start.material;
    r.v[11] = wip_added;
    r.v[12] = k.marketing_expenses.*part;
    r.v[13] = k.promotion.*part;
    r.v[14] = k.management_expenses.*part;
    r.v[15] = trunc_float(k.interest_paid.*interest - k.interest_earned.*interest);
    return r;
}

} // namespace

void CFinanceWnd::compute_report(char letter, FinanceReport& out)
{
    if (letter == 'L') {
        out = period_report(*this, &Total::last, &FloatTotal::last, sales_last, fg_last_year_start, fg_last_year_end,
                            wip_last_year_start, wip_last_year_end, wip_added_last_year_end);
        return;
    }
    if (letter != 'A' && letter != 'C')
        return;
    const ValuePair fg_now{fg_value_with_added_value(), fg_value_at_material_cost()};
    const int32_t wip = wip_value();
    const int32_t wip_added = added_value_in_wip();
    const ValuePair wip_now{wip, wip - wip_added};
    if (letter == 'C')
        out = period_report(*this, &Total::cur, &FloatTotal::cur, sales_cur, fg_year_start, fg_now, wip_year_start,
                            wip_now, wip_added);
    else
        out = period_report(*this, &Total::acc, &FloatTotal::acc,
                            marketing_ != nullptr ? marketing_->accumulated_sales() : 0, fg_run_start, fg_now,
                            wip_run_start, wip_now, wip_added);
}

StatementFigures statement_figures(const FinanceReport& r, bool with_added_value)
{
    StatementFigures s{};
    s.sales = r.v[0];
    s.materials = r.v[1];
    s.labour = r.v[2];
    s.production = r.v[3];
    s.depreciation = r.depreciation();
    s.production_cost = r.v[1] + r.v[2] + r.v[3] + trunc_float(r.depreciation());
    s.fg_increase = with_added_value ? r.v[6] : r.v[7];
    s.wip_increase = with_added_value ? r.v[9] : r.v[10];
    s.gross_profit = s.sales - s.production_cost + s.fg_increase + s.wip_increase;
    s.marketing = r.v[12] + r.v[13];
    s.management = r.v[14];
    s.before_finance = s.gross_profit - s.marketing - s.management;
    s.finance = r.v[15];
    s.before_taxes = s.before_finance - s.finance;
    s.taxes = s.before_taxes > 0 ? static_cast<int32_t>(s.before_taxes * 0.35) : 0;
    s.net_profit = s.before_taxes - s.taxes;
    return s;
}

int32_t CFinanceWnd::net_profit_of(const FinanceReport& r, bool with_added, int mode) const
{
    // The report itself stays as stored: the figures are taken from a copy.
    const int32_t before_taxes = statement_figures(r, with_added).before_taxes;
    if (mode == 0)
        return before_taxes > 0 ? static_cast<int32_t>(before_taxes * 0.35) : 0;
    return before_taxes > 0 ? static_cast<int32_t>(before_taxes * 0.65) : before_taxes;
}

const FinanceReport* CFinanceWnd::stored_report(char letter) const
{
    switch (letter) {
    case 'A': return &accumulated;
    case 'C': return &current;
    case 'L': return &last;
    case 'P': return &before_last;
    default: return nullptr;
    }
}

int32_t CFinanceWnd::get_net_profit(char letter, int mode) const
{
    if (letter != 'A' && letter != 'C' && letter != 'L')
        return 0;
    return net_profit_of(*stored_report(letter), with_added_value != 0, mode);
}

void CFinanceWnd::select_report(char letter)
{
    if (letter == 'A' || letter == 'C')
        compute_report(letter, displayed);
    else if (letter == 'L' || letter == 'P')
        displayed = *stored_report(letter);
    else
        return;
    report_letter = letter;
    ui_.repaint_profit_pane();
}

void CFinanceWnd::show_report(char letter)
{
    select_report(letter);
    ui_.repaint_statement();
}

void CFinanceWnd::get_report_period(char letter, SimDateTime& from, SimDateTime& to)
{
    CClockPane& clock = host_.clock();
    from = to = SimDateTime{};
    switch (letter) {
    case 'A':
        from = clock.start_date;
        to = clock.LastClosedMonthEnd(clock.current);
        break;
    case 'C':
        from = period_start;
        to = clock.LastClosedMonthEnd(clock.current);
        if (host_.run_state() == 2 && clock.IsNewMonth()) {
            to.month = static_cast<int16_t>(to.month == 1 ? 12 : to.month - 1);
            if (to.month == 12)
                --to.year;
            to.day = month_length(to.month, to.year);
        }
        break;
    case 'L':
        if (clock.years_elapsed < 1)
            return;
        from = last_period_start;
        to = clock.YearEnd(last_period_start);
        break;
    case 'P':
        if (clock.years_elapsed < 2)
            return;
        from = SimDateTime{static_cast<int16_t>(last_period_start.year - 1), 1, 1, 8, 0};
        to = clock.YearEnd(from);
        break;
    default: break;
    }
}

std::vector<StatementLine> CFinanceWnd::statement_lines()
{
    const StatementFigures s = statement_figures(displayed, with_added_value != 0);
    displayed_taxes = s.taxes;
    char depreciation[64];
    std::snprintf(depreciation, sizeof depreciation, "%0.0f", static_cast<double>(s.depreciation));
    return {
        {"Sales", grouped(s.sales)},
        {"Cost of goods sold:", ""},
        {"Raw materials consumed", grouped(s.materials)},
        {"Direct labor", grouped(s.labour)},
        {"Production expenses", grouped(s.production)},
        {"Depreciation", depreciation},
        {"Production cost", grouped(s.production_cost)},
        {"Increase in FG inv", grouped(s.fg_increase)},
        {"Increase in WIP", grouped(s.wip_increase)},
        {"======", ""},
        {"Gross profit", grouped(s.gross_profit)},
        {"Marketing and sales expenses", grouped(s.marketing)},
        {"Management and general expenses", grouped(s.management)},
        {"======", ""},
        {"Profit before finance", grouped(s.before_finance)},
        {"Finance expenses", grouped(s.finance)},
        {"======", ""},
        {"Profit before taxes", grouped(s.before_taxes)},
        {"======", ""},
        {"Net profit", grouped(s.net_profit)},
    };
}
