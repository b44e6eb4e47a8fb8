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

void CFinanceWnd::compute_report(char letter, FinanceReport& out)
{
    FinanceReport r;
    switch (letter) {
    case 'C': {
        const int32_t fg_with = fg_value_with_added_value();
        const int32_t fg_material = fg_value_at_material_cost();
        const int32_t wip = wip_value();
        const int32_t wip_added = added_value_in_wip();
        r.v[0] = sales_cur;
        r.v[1] = materials.cur;
        r.v[2] = direct_labour.cur;
        r.v[3] = production_expenses.cur;
        r.set_depreciation(static_cast<float>(depreciation.cur));
        r.v[5] = fg_year_start.with;
        r.v[6] = fg_with - r.v[5];
        r.v[7] = fg_material - fg_year_start.material;
        r.v[8] = wip_year_start.with;
        r.v[9] = wip - r.v[8];
        r.v[10] = (wip - wip_added) - wip_year_start.material;
        r.v[11] = wip_added;
        r.v[12] = marketing_expenses.cur;
        r.v[13] = promotion.cur;
        r.v[14] = management_expenses.cur;
        r.v[15] = trunc_float(interest_paid.cur - interest_earned.cur);
        break;
    }
    case 'A': {
        const int32_t fg_with = fg_value_with_added_value();
        const int32_t fg_material = fg_value_at_material_cost();
        const int32_t wip = wip_value();
        const int32_t wip_added = added_value_in_wip();
        r.v[0] = marketing_ != nullptr ? marketing_->accumulated_sales() : 0;
        r.v[1] = materials.acc;
        r.v[2] = direct_labour.acc;
        r.v[3] = production_expenses.acc;
        r.set_depreciation(static_cast<float>(depreciation.acc));
        r.v[5] = fg_run_start.with;
        r.v[6] = fg_with - r.v[5];
        r.v[7] = fg_material - fg_run_start.material;
        r.v[8] = wip_run_start.with;
        r.v[9] = wip - r.v[8];
        r.v[10] = (wip - wip_added) - wip_run_start.material;
        r.v[11] = wip_added;
        r.v[12] = marketing_expenses.acc;
        r.v[13] = promotion.acc;
        r.v[14] = management_expenses.acc;
        r.v[15] = trunc_float(interest_paid.acc - interest_earned.acc);
        break;
    }
    case 'L':
        r.v[0] = sales_last;
        r.v[1] = materials.last;
        r.v[2] = direct_labour.last;
        r.v[3] = production_expenses.last;
        r.set_depreciation(static_cast<float>(depreciation.last));
        r.v[5] = fg_last_year_start.with;
        r.v[6] = fg_last_year_end.with - r.v[5];
        r.v[7] = fg_last_year_end.material - fg_last_year_start.material;
        r.v[8] = wip_last_year_start.with;
        r.v[9] = wip_last_year_end.with - r.v[8];
        r.v[10] = wip_last_year_end.material - wip_last_year_start.material;
        r.v[11] = wip_added_last_year_end;
        r.v[12] = marketing_expenses.last;
        r.v[13] = promotion.last;
        r.v[14] = management_expenses.last;
        r.v[15] = trunc_float(interest_paid.last - interest_earned.last);
        break;
    default:
        return;
    }
    out = r;
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
