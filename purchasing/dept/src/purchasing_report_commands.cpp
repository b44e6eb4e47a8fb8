// The Information menu of the Purchasing window: each entry opens its report
// modally over the window, the Consumed Units Graph among them.
#include "app/view.h"
#include "appdialogs/app_dialogs.h"
#include "foundation/lang.h"
#include "plat/fw/app.h"
#include "plat/gdi.h"
#include "plat/window.h"
#include "purchasing/purchasing_dept.h"
#include "purchasing/purchasing_reports.h"
#include <array>
#include <cstdio>

using namespace plat;

namespace {

// The last `N` months' numbers as the clock names them, the month before the
// current one last.
template <size_t N>
std::array<int, N> last_months(const CVornView* view)
{
    float twelve[12] = {};
    if (view != nullptr)
        view->clock.GetLast12Months(twelve);
    std::array<int, N> out{};
    for (size_t i = 0; i < N; ++i)
        out[i] = static_cast<int>(twelve[12 - N + i]);
    return out;
}

} // namespace

bool PurchasingDepartment::run_information_command(int id)
{
    if (id < 301 || id > 312)
        return false;
    register_purchasing_report_templates(AfxGetResourceHandle());
    CWnd* owner = window_handle() != 0 ? CWnd::FromHandle(window_handle()) : nullptr;
    CPurchasingWnd& e = *engine_;
    const int order = view_ != nullptr ? view_->clock.date_order : 0;
    // Help contexts follow the menu: 301 -> 201.
    const int help = id - 100;
    auto grid = [&](int template_id, PrcGridFigures figures) {
        CPrcGridReportDlg dlg(template_id, help, {{"", std::move(figures)}}, owner);
        dlg.DoModal();
    };
    auto list = [&](int template_id, std::vector<std::string> lines) {
        CPrcListReportDlg dlg(template_id, help, std::move(lines), owner);
        dlg.DoModal();
    };
    switch (id) {
    case 301:
        if (e.total_materials() > 0)
            show_material_information(0, 0);
        break;
    case 302: grid(IDD_PRC_RED_LINE, red_line_statistics(e, last_months<6>(view_))); break;
    case 303: list(IDD_PRC_PACKAGES_LIST, packages_list_lines(e, order)); break;
    case 304: show_consumed_units_graph(); break;
    case 305: grid(IDD_PRC_SUPPLIER_LEAD, supplier_lead_times(e)); break;
    case 306: show_purchasing_forecast(); break;
    case 307: grid(IDD_PRC_CONSUMPTION, consumption_summary(e)); break;
    case 308: {
        const bool new_year = view_ != nullptr && view_->clock.IsNewYear() != 0;
        const MeasurementsFigures v = measurements_summary(e, new_year);
        char figures[5][40];
        std::snprintf(figures[0], sizeof figures[0], "%ld", v.total_value);
        std::snprintf(figures[1], sizeof figures[1], "%0.2f", v.cost_index);
        std::snprintf(figures[2], sizeof figures[2], "%ld", v.unsupplied_month);
        std::snprintf(figures[3], sizeof figures[3], "%ld", v.unsupplied_last_month);
        std::snprintf(figures[4], sizeof figures[4], "%ld", v.unsupplied_year);
        CPrcValuesDlg dlg(IDD_PRC_MEASUREMENTS, help, {figures[0], figures[1], figures[2], figures[3], figures[4]}, owner);
        dlg.DoModal();
        break;
    }
    case 309: list(IDD_PRC_OPEN_ORDERS, open_vendor_order_lines(e, order)); break;
    case 310: list(IDD_PRC_MRP_LIST, mrp_list_lines(e, order)); break;
    case 311: grid(IDD_PRC_DAILY_UNSUPPLIED, daily_unsupplied(e)); break;
    case 312: grid(IDD_PRC_UNSUPPLIED_HISTORY, unsupplied_history(e, last_months<6>(view_))); break;
    default: break;
    }
    return true;
}

void PurchasingDepartment::show_material_information(int family, int material)
{
    register_purchasing_report_templates(AfxGetResourceHandle());
    CMaterialInfoDlg dlg(*engine_, family, material, window_handle() != 0 ? CWnd::FromHandle(window_handle()) : nullptr);
    dlg.DoModal();
}

void PurchasingDepartment::show_consumed_units_graph()
{
    CSalesSummaryGraphDlg dlg(window_handle() != 0 ? CWnd::FromHandle(window_handle()) : nullptr);
    dlg.SetTitle(lang_translate("Consumed Units Graph"));
    dlg.SetYCaption("[Units]");
    dlg.SetSelectorLabel("Material:");
    dlg.SetHelpTopic(204);
    const std::array<int, 12> months = last_months<12>(view_);
    int32_t numbers[12];
    for (size_t i = 0; i < 12; ++i)
        numbers[i] = months[i];
    dlg.SetMonths(numbers);
    dlg.AddLegend(lang_translate("Consumed units"), RGB(0, 0, 255));
    CPurchasingWnd& e = *engine_;
    int set = 0;
    for (int f = 0; f < e.family_count(); ++f)
        for (int m = 0; m < e.material_count(f) && set < CSalesSummaryGraphDlg::MAX_SETS; ++m) {
            char code[8];
            std::snprintf(code, sizeof code, "%c%c", e.family_letter(f), e.material_letter(f, m));
            // The issues live in the engine for as long as the modal dialog.
            dlg.DefineSeries(set++, 0, code, e.material(f, m).monthly_issues.data(), RGB(0, 0, 255), RGB(0, 0, 128));
        }
    dlg.DoModal();
}

void PurchasingDepartment::show_purchasing_forecast()
{
    CWnd* owner = window_handle() != 0 ? CWnd::FromHandle(window_handle()) : nullptr;
    CForecastRangeDlg range(owner);
    const intptr_t days = range.DoModal();
    if (days <= 0)
        return;
    CPurchasingWnd& e = *engine_;
    std::vector<ForecastProduct> products;
    if (MarketingDept* market = e.marketing; market != nullptr)
        for (int f = 0; f < market->family_count(); ++f)
            for (int p = 0; p < market->product_count(f); ++p) {
                if (market->is_product_retired(f, p))
                    continue;
                ForecastProduct row;
                row.family = f;
                row.product = p;
                row.code = {market->family_letter(f), market->product_letter(f, p)};
                row.forecast = market->product_forecast(f, p, static_cast<int>(days));
                products.push_back(row);
            }
    ProductionDept* plant = e.production;
    const PurchasingForecastFigures figures =
        purchasing_forecast(e, products, [plant](int f, int p, int mf, int m) {
            return plant != nullptr ? plant->get_num_materials_in_product(static_cast<int16_t>(f),
                                                                         static_cast<int16_t>(p), mf, m)
                                    : 0;
        });
    CPrcGridReportDlg dlg(IDD_PRC_FORECAST, 206, {{"", figures.products}, {"", figures.materials}}, owner);
    dlg.DoModal();
}
