// The Marketing menus' commands: each opens its dialog on its own stack,
// shows a placeholder, or runs the command itself.
#include "app/view.h"
#include "appdialogs/app_dialogs.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "marketing/market_summary.h"
#include "marketing/marketing_dept.h"
#include "marketing/forecast_dialog.h"
#include "marketing/marketing_dialogs.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <cstdio>
#include <string>
#include <vector>

using namespace plat;

namespace {

plat::CWnd* owner_of(HWND w) { return w != 0 ? CWnd::FromHandle(w) : nullptr; }

std::string code_text(const CMarketingWnd& m, int f, int p)
{
    return std::string{m.family_letter(f), m.product_letter(f, p)};
}

// The last twelve months' numbers, the latest last.
std::array<int, 12> last_12_months(const CVornView* view)
{
    std::array<int, 12> months{};
    float out[12] = {};
    if (view != nullptr)
        view->clock.GetLast12Months(out);
    for (size_t i = 0; i < 12; ++i)
        months[i] = static_cast<int>(out[i]);
    return months;
}

} // namespace

void MarketingDepartment::on_menu_command(int id)
{
    register_marketing_dialog_templates();
    switch (id) {
    case 301: show_product_information(-1, -1); return;
    case 302: run_contract_list(); return;
    case 303:
        if (production_link_ != nullptr)
            production_link_->show_master_production_schedule();
        return;
    case 304: run_report(REPORT_RED_LINE_STATISTICS); return;
    case 305: run_sales_summary_table(); return;
    case 306: run_sales_summary_graph(); return;
    case 307: run_forecast(); return;
    case 308: ui_port().not_implemented("dlg_customers"); return;
    case 309: run_due_shipments(); return;
    case 310: run_report(REPORT_MONTHLY_SALES); return;
    case 311: run_report(REPORT_MONTHLY_ORDERED); return;
    case 312: run_report(REPORT_INVENTORY_DAYS); return;
    case 313: run_report(REPORT_INVENTORY_LOSSES); return;
    case 314: run_report(REPORT_UNITS_SALES_SUMMARY); return;
    case 315: run_throughput_graph(); return;
    case 316: run_shipment_list(); return;
    case 317: run_report(REPORT_UPDATED_SALES); return;
    case 318: run_report(REPORT_ADVERTISING_EXPENSES); return;
    case 319: run_report(REPORT_ADVERTISING_PLAN); return;
    case 320: run_report(REPORT_LOST_ORDERS); return;
    case 401: run_promotion(); return;
    case 402: run_order_to_produce(); return;
    case 403: ui_port().not_implemented("dlg_cancel_product"); return;
    case 404: run_add_export_line(); return;
    case 405: run_advertising(); return;
    case 501: run_product_parameters(); return;
    case 502: run_links(); return;
    case 503: ui_port().not_implemented("dlg_export_shipments_policy"); return;
    default: return;
    }
}

void MarketingDepartment::show_help() { ui_port().not_implemented("dlg_market_legend"); }

void MarketingDepartment::edit_policy(int which)
{
    if (which == POLICY_PRODUCT_PARAMETERS)
        run_product_parameters();
}

int MarketingDepartment::choose_product(int& family, int& product, const char* prompt, const char* caption)
{
    register_marketing_dialog_templates();
    CGetProductNameDlg dlg(*engine_, owner_of(window_handle()), caption, prompt);
    const intptr_t result = dlg.DoModal();
    family = dlg.family;
    product = dlg.product;
    return result >= 0 && result <= 3 ? static_cast<int>(result) : 0;
}

bool MarketingDepartment::pick_product(const char* prompt, const char* caption, int& family, int& product)
{
    if (!engine_ || window_handle() == 0)
        return false;
    return choose_product(family, product, prompt, caption) != 0 && family >= 0 && product >= 0;
}

void MarketingDepartment::run_sales_summary_table()
{
    int f = -1, p = -1;
    const int choice = choose_product(f, p, "Enter product name:", "Sales Summary Table");
    if (choice == 0)
        return;
    summary_ = SalesSummary{};
    summary_.family = f;
    summary_.product = p;
    summary_.series = summary_series(*engine_, choice, f, p);
    zero_months_before_run(summary_.series, engine_->month_count);
    char title[96];
    if (choice == 1)
        std::snprintf(title, sizeof title, "%s - %c%c", lang_translate("Product Sales"),
                      engine_->family_letter(f), engine_->product_letter(f, p));
    else if (choice == 2)
        std::snprintf(title, sizeof title, "%s - %c", lang_translate("Family Sales"),
                      engine_->family_letter(f));
    else
        std::snprintf(title, sizeof title, "%s", lang_translate("Total sales"));
    summary_.title = title;
    CSaleSummaryDlg dlg(owner_of(window_handle()), summary_.title, summary_.series, last_12_months(view_));
    dlg.DoModal();
}

void MarketingDepartment::run_sales_summary_graph()
{
    const CMarketingWnd& m = *engine_;
    // One page for the company, then one per product: customers, clients, total.
    struct Page {
        std::string title;
        std::array<float, 12> customers{}, exported{}, clients{}, total{};
    };
    // The export customers' sales have their own line once a line exists.
    const bool exports = m.any_export_line();
    std::vector<Page> pages(1);
    pages[0].title = "Total";
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p) {
            const MarketProduct& pr = m.product(f, p);
            Page page;
            page.title = code_text(m, f, p);
            page.customers = pr.order_sales_series;
            page.clients = pr.contract_sales_series;
            page.total = pr.revenue_series;
            if (pr.exp)
                for (size_t i = 0; i < 12; ++i)
                    page.exported[i] = static_cast<float>(pr.exp->revenue_series[i]);
            for (size_t i = 0; i < 12; ++i) {
                pages[0].customers[i] += page.customers[i];
                pages[0].exported[i] += page.exported[i];
                pages[0].clients[i] += page.clients[i];
                pages[0].total[i] += page.total[i];
            }
            pages.push_back(page);
        }
    CSalesSummaryGraphDlg dlg(owner_of(window_handle()));
    dlg.SetTitle(lang_translate("Sales Summary Graph"));
    dlg.SetYCaption(lang_translate("[Dollars]"));
    dlg.SetSelectorLabel("Product:");
    const std::array<int, 12> months = last_12_months(view_);
    int32_t numbers[12];
    for (size_t i = 0; i < 12; ++i)
        numbers[i] = months[i];
    dlg.SetMonths(numbers);
    dlg.AddLegend(lang_translate("Customers"), RGB(255, 0, 0));
    if (exports)
        dlg.AddLegend(lang_translate("Customers(Exp)"), RGB(0, 255, 255));
    dlg.AddLegend(lang_translate("Clients"), RGB(0, 255, 0));
    dlg.AddLegend(lang_translate("Total"), RGB(0, 0, 255));
    for (size_t i = 0; i < pages.size() && i < CSalesSummaryGraphDlg::MAX_SETS; ++i) {
        const int set = static_cast<int>(i);
        const char* title = pages[i].title.c_str();
        int series = 0;
        dlg.DefineSeries(set, series++, title, pages[i].customers.data(), RGB(255, 0, 0), RGB(128, 0, 0));
        if (exports)
            dlg.DefineSeries(set, series++, title, pages[i].exported.data(), RGB(0, 255, 255), RGB(0, 128, 128));
        dlg.DefineSeries(set, series++, title, pages[i].clients.data(), RGB(0, 255, 0), RGB(0, 128, 0));
        dlg.DefineSeries(set, series, title, pages[i].total.data(), RGB(0, 0, 255), RGB(0, 0, 128));
    }
    dlg.DoModal();
}

void MarketingDepartment::run_throughput_graph()
{
    const CMarketingWnd& m = *engine_;
    std::vector<std::pair<std::string, std::array<float, 12>>> pages(1);
    pages[0].first = "Total";
    for (int f = 0; f < m.family_count(); ++f)
        for (int p = 0; p < m.product_count(f); ++p) {
            const std::array<float, 12>& t = m.product(f, p).throughput_series;
            for (size_t i = 0; i < 12; ++i)
                pages[0].second[i] += t[i];
            pages.emplace_back(code_text(m, f, p), t);
        }
    CSalesSummaryGraphDlg dlg(owner_of(window_handle()));
    dlg.SetTitle(lang_translate("Troughput Summary Graph"));
    dlg.SetYCaption(lang_translate("[Dollars]"));
    dlg.SetSelectorLabel("Product:");
    const std::array<int, 12> months = last_12_months(view_);
    int32_t numbers[12];
    for (size_t i = 0; i < 12; ++i)
        numbers[i] = months[i];
    dlg.SetMonths(numbers);
    for (size_t i = 0; i < pages.size() && i < CSalesSummaryGraphDlg::MAX_SETS; ++i)
        dlg.DefineSeries(static_cast<int>(i), 0, pages[i].first.c_str(), pages[i].second.data(), RGB(0, 0, 255),
                         RGB(0, 0, 128));
    dlg.DoModal();
}

void MarketingDepartment::run_forecast()
{
    CForecastRangeDlg range(owner_of(window_handle()));
    const intptr_t days = range.DoModal();
    if (days <= 0)
        return;
    if (view_ == nullptr || view_->run_state != RUN_HOLD)
        engine_->held_contracts.clear();
    forecast_range_ = static_cast<int>(days);
    run_forecast_table();
}

void MarketingDepartment::run_forecast_table()
{
    register_forecast_dialog_template();
    CMarketingForecastDlg dlg(*engine_, owner_of(window_handle()), engine_->held_contracts,
                              [this](const std::vector<uint16_t>& included) {
                                  return forecast_rows(*engine_, host_port(), forecast_range_, included,
                                                       view_ != nullptr && view_->job_shop != 0,
                                                       [this](int f, int p) {
                                                           return production_link_ != nullptr
                                                                      ? production_link_->get_on_order_units(
                                                                            static_cast<int16_t>(f),
                                                                            static_cast<int16_t>(p))
                                                                      : 0;
                                                       });
                              });
    dlg.DoModal();
}

void MarketingDepartment::run_links()
{
    if (view_ != nullptr && view_->job_shop != 0) {
        ui_port().message("Not available in Job shop", "Marketing-production links");
        return;
    }
    CLinksDlg dlg(owner_of(window_handle()), engine_->link_mode());
    if (dlg.DoModal() != IDOK)
        return;
    if (dlg.mode != dlg.old_mode) {
        static const char* const names[3] = {"Make to stock", "Make to order", "Forecast"};
        host_port().log_decision("Mrk-Prd Links", "", names[dlg.old_mode < 3 ? dlg.old_mode : 0],
                            names[dlg.mode < 3 ? dlg.mode : 0]);
    }
    engine_->change_link_mode(dlg.mode, [this] { dlg_forecast(0); });
}

void MarketingDepartment::run_report(int report)
{
    register_marketing_dialog_templates();
    const int month = view_ != nullptr ? view_->clock.current.month : 1;
    CMarketReportDlg dlg(owner_of(window_handle()), report, build_report(*engine_, report, month));
    if (report == REPORT_INVENTORY_DAYS)
        dlg.open_policies = [this] { run_report(REPORT_INVENTORY_POLICIES); };
    dlg.DoModal();
}

void MarketingDepartment::show_product_information(int family, int product)
{
    register_marketing_dialog_templates();
    CProductInfoDlg dlg(*engine_, owner_of(window_handle()), family, product);
    dlg.materials = [this](int f, int p) { return product_materials(f, p); };
    dlg.DoModal();
}

std::vector<std::string> MarketingDepartment::product_materials(int f, int p)
{
    std::vector<std::string> rows;
    if (production_link_ == nullptr || purchasing_link_ == nullptr || !engine_->product_exists(f, p))
        return rows;
    for (int mf = 0; mf < purchasing_link_->family_count(); ++mf)
        for (int m = 0; m < purchasing_link_->material_count(mf); ++m) {
            const int units =
                production_link_->get_num_materials_in_product(static_cast<int16_t>(f), static_cast<int16_t>(p), mf, m);
            if (units <= 0)
                continue;
            char row[32];
            std::snprintf(row, sizeof row, " %c%c\t%d", purchasing_link_->family_letter(mf),
                          purchasing_link_->material_letter(mf, m), units);
            rows.emplace_back(row);
        }
    return rows;
}
