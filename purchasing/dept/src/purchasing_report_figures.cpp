// The figures of the Purchasing reports, worked out from the engine's records.
#include "foundation/lang.h"
#include "foundation/simdate.h"
#include "purchasing/purchasing_reports.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

template <class... A>
std::string format(const char* f, A... a)
{
    char b[128];
    std::snprintf(b, sizeof b, f, a...);
    return b;
}

std::string code(const CPurchasingWnd& e, int f, int m)
{
    return format("%c%c", e.family_letter(f), e.material_letter(f, m));
}

// Every material in table order.
template <class F>
void each_material(const CPurchasingWnd& e, F&& visit)
{
    for (int f = 0; f < e.family_count(); ++f)
        for (int m = 0; m < e.material_count(f); ++m)
            visit(f, m);
}

// One row per material, its code the row's title.
PrcGridFigures per_material(const CPurchasingWnd& e, std::vector<std::string> columns,
                            const std::function<std::vector<std::string>(int, int)>& cells)
{
    PrcGridFigures g;
    g.columns = std::move(columns);
    each_material(e, [&](int f, int m) {
        g.rows.push_back(code(e, f, m));
        g.cells.push_back(cells(f, m));
    });
    return g;
}

std::vector<std::string> month_columns(const std::array<int, 6>& months)
{
    std::vector<std::string> columns;
    for (int month : months)
        columns.emplace_back(month_name(month >= 1 && month <= 12 ? month : 1, 0));
    return columns;
}

std::string date(const SimDateTime& d, int order) { return date_text(d, order); }

} // namespace

int32_t average_monthly_issue(const RawMaterial& r)
{
    int64_t sum = 0;
    for (float v : r.monthly_issues)
        sum += static_cast<int64_t>(v);
    return static_cast<int32_t>(sum / 12);
}

double purchasing_cost_index(const CPurchasingWnd& e)
{
    double weighted = 0, total = 0;
    each_material(e, [&](int f, int m) {
        const RawMaterial& r = e.material(f, m);
        // A material without a first price has no index to weigh.
        if (r.first_price <= 0)
            return;
        const double v = static_cast<double>(average_monthly_issue(r)) * r.average_cost;
        weighted += static_cast<double>(r.average_cost) / r.first_price * v;
        total += v;
    });
    return total == 0 ? 0.0 : weighted / total;
}

MaterialInfoFigures material_information(CPurchasingWnd& e, int f, int m)
{
    MaterialInfoFigures v;
    const RawMaterial& r = e.material(f, m);
    const auto fi = static_cast<size_t>(f), mi = static_cast<size_t>(m);
    v.caption = format("%s - %s", lang_translate("Material Information"), code(e, f, m).c_str());
    const bool mrp = e.policy == POLICY_MRP;
    if (mrp) {
        v.level_labels = {lang_translate("Safety stock:"), lang_translate("Red line time:"), ""};
        v.levels = {format("%d", e.safety_stock[fi][mi]), format("%d", e.red_line_time[fi][mi]), ""};
        v.third_level_shown = false;
        v.level_unit = lang_translate("(Days)");
    } else {
        v.level_labels = {lang_translate("Max level:"), lang_translate("Order level:"), lang_translate("Red line level:")};
        v.levels = {format("%d", r.max_level), format("%d", r.order_level), format("%d", r.red_line_level)};
        v.level_unit = lang_translate("(Units)");
    }
    v.supplier = e.supplier_name(r.default_supplier);
    v.price = format("%d", r.price);
    v.qlt = format("%d", r.quoted_lead);
    if (e.marketing != nullptr && e.production != nullptr)
        for (int pf = 0; pf < e.marketing->family_count(); ++pf)
            for (int p = 0; p < e.marketing->product_count(pf); ++p) {
                const int units = e.production->get_num_materials_in_product(static_cast<int16_t>(pf),
                                                                             static_cast<int16_t>(p), f, m);
                if (units > 0)
                    v.uses.push_back(format("%c%c\t%d", e.marketing->family_letter(pf),
                                            e.marketing->product_letter(pf, p), units));
            }
    v.grade_current = format("%0.2f", static_cast<double>(r.red_line_share));
    v.grade_last = format("%0.2f", static_cast<double>(r.red_line_share_last_month));
    v.held = format("%ld", static_cast<long>(e.held_units(f, m)));
    v.consumed_month = format("%d", r.issued_this_month);
    v.consumed_last_month = format("%d", r.issued_last_month);
    v.total_mrp_shown = mrp;
    if (mrp) {
        long total = 0;
        for (const MrpPlanEntry& p : e.plan)
            if (p.family == f && p.material == m)
                total += p.quantity;
        v.total_mrp = format("%ld", total);
    }
    return v;
}

std::vector<std::string> mrp_list_lines(const CPurchasingWnd& e, int order)
{
    std::vector<std::string> lines;
    for (const MrpPlanEntry& p : e.plan)
        lines.push_back(format("\t%s\t%d\t%s", code(e, p.family, p.material).c_str(), p.quantity,
                               date(p.need_date, order).c_str()));
    return lines;
}

std::vector<std::string> open_vendor_order_lines(const CPurchasingWnd& e, int order)
{
    std::vector<std::string> lines;
    // The drawn arrival stays the supplier's secret: the quoted due date is shown.
    for (const VendorOrder& o : e.orders)
        lines.push_back(format("\t%s\t%d\t%s\t%s\t%s", code(e, o.family, o.material).c_str(), o.quantity,
                               e.supplier_name(o.supplier).c_str(), date(o.order_date, order).c_str(),
                               date(o.quoted_due, order).c_str()));
    return lines;
}

std::vector<std::string> packages_list_lines(const CPurchasingWnd& e, int order)
{
    std::vector<std::string> lines;
    for (const PurchaseContract& c : e.contracts) {
        lines.push_back(format("%d\t%s\t%s", c.package.id, date(c.start, order).c_str(), date(c.end, order).c_str()));
        for (int i = 0; i < c.package.count && i < MAX_PACKAGE_ITEMS_PER_PACKAGE; ++i) {
            const PackageItem& item = c.package.items[static_cast<size_t>(i)];
            lines.push_back(format("\t\t\t%s\t%d\t%d", code(e, item.family, item.material).c_str(), item.quantity,
                                   item.price));
        }
    }
    if (lines.empty())
        lines.emplace_back(lang_translate("No packgaes ordered"));
    return lines;
}

PrcGridFigures supplier_lead_times(const CPurchasingWnd& e)
{
    PrcGridFigures g;
    g.columns = {lang_translate("Average Lead Time")};
    for (int s = 0; s < e.supplier_count; ++s) {
        const Supplier& sup = e.suppliers[static_cast<size_t>(s)];
        g.rows.push_back(format("%d", sup.number));
        g.cells.push_back({format("%0.2f", static_cast<double>(sup.average_lead))});
    }
    return g;
}

MeasurementsFigures measurements_summary(const CPurchasingWnd& e, bool new_year_day)
{
    MeasurementsFigures v;
    double value = 0;
    each_material(e, [&](int f, int m) {
        const auto fi = static_cast<size_t>(f), mi = static_cast<size_t>(m);
        const RawMaterial& r = e.material(f, m);
        value += static_cast<double>(r.stock) * r.average_cost;
        v.unsupplied_month += static_cast<long>(e.unsupplied_this_month[fi][mi]);
        v.unsupplied_last_month += static_cast<long>(e.unsupplied_last_month[fi][mi]);
        v.unsupplied_year +=
            static_cast<long>(new_year_day ? e.unsupplied_last_year[fi][mi] : e.unsupplied_this_year[fi][mi]);
    });
    v.total_value = static_cast<long>(value);
    v.cost_index = purchasing_cost_index(e);
    return v;
}

PrcGridFigures consumption_summary(const CPurchasingWnd& e)
{
    const std::vector<std::string> columns = {lang_translate("Cost per Unit"), lang_translate("Avg. Consumption per Month"),
                                              lang_translate("Avg. Cost per Month")};
    return per_material(e, columns, [&](int f, int m) {
        const RawMaterial& r = e.material(f, m);
        const int32_t average = average_monthly_issue(r);
        return std::vector<std::string>{
            format("%0.2f%s", static_cast<double>(r.average_cost), lang_translate("($)")),
            format("%d%s", static_cast<int>(average), lang_translate("(Un.)")),
            format("%0.0f%s", static_cast<double>(average) * r.average_cost, lang_translate("($)"))};
    });
}

PrcGridFigures red_line_statistics(const CPurchasingWnd& e, const std::array<int, 6>& months)
{
    return per_material(e, month_columns(months), [&](int f, int m) {
        std::vector<std::string> cells;
        for (float share : e.material(f, m).red_line_shares)
            cells.push_back(format("%0.2f", static_cast<double>(share)));
        return cells;
    });
}

PrcGridFigures daily_unsupplied(const CPurchasingWnd& e)
{
    return per_material(e, {lang_translate("Unsupplied units")}, [&](int f, int m) {
        return std::vector<std::string>{
            format("%lu", static_cast<unsigned long>(e.unsupplied_since_step[static_cast<size_t>(f)][static_cast<size_t>(m)]))};
    });
}

PrcGridFigures unsupplied_history(const CPurchasingWnd& e, const std::array<int, 6>& months)
{
    return per_material(e, month_columns(months), [&](int f, int m) {
        std::vector<std::string> cells;
        for (const auto& month : e.unsupplied_history)
            cells.push_back(format("%lu", static_cast<unsigned long>(month[static_cast<size_t>(f)][static_cast<size_t>(m)])));
        return cells;
    });
}

PurchasingForecastFigures purchasing_forecast(CPurchasingWnd& e, const std::vector<ForecastProduct>& products,
                                              const std::function<int(int, int, int, int)>& units)
{
    PurchasingForecastFigures out;
    std::vector<std::pair<int, int>> materials;
    each_material(e, [&](int f, int m) { materials.emplace_back(f, m); });
    out.products.columns.push_back(lang_translate("Forecast"));
    for (const auto& [f, m] : materials)
        out.products.columns.push_back(code(e, f, m));
    std::vector<int64_t> needed(materials.size(), 0);
    for (const ForecastProduct& p : products) {
        out.products.rows.push_back(p.code);
        std::vector<std::string> cells{format("%ld", static_cast<long>(p.forecast))};
        for (size_t i = 0; i < materials.size(); ++i) {
            const int per = units ? units(p.family, p.product, materials[i].first, materials[i].second) : 0;
            const int64_t need = static_cast<int64_t>(p.forecast) * per;
            needed[i] += need;
            cells.push_back(format("%lld", static_cast<long long>(need)));
        }
        out.products.cells.push_back(std::move(cells));
    }
    out.materials.columns = {lang_translate("Needed"), lang_translate("In order"), lang_translate("Inventory"),
                             lang_translate("In process"), lang_translate("To order")};
    for (size_t i = 0; i < materials.size(); ++i) {
        const auto [f, m] = materials[i];
        const RawMaterial& r = e.material(f, m);
        const int64_t on_order = e.on_order[static_cast<size_t>(f)][static_cast<size_t>(m)];
        const int64_t to_order = std::max<int64_t>(needed[i] - on_order - (r.stock + r.in_process), 0);
        out.materials.rows.push_back(code(e, f, m));
        out.materials.cells.push_back({format("%lld", static_cast<long long>(needed[i])),
                                       format("%lld", static_cast<long long>(on_order)), format("%d", r.stock),
                                       format("%d", r.in_process), format("%lld", static_cast<long long>(to_order))});
    }
    return out;
}
