// The Purchasing department's read-only reports: their figures, worked out
// apart from any window, and the dialogs that show them.
#pragma once
#include "purchasing/purchasing_wnd.h"
#include "uikit/grid.h"
#include "uikit/sim_dialog.h"
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Template ids of the reports.
inline constexpr int IDD_PRC_MRP_LIST = 130;
inline constexpr int IDD_PRC_MATERIAL_INFO = 131;
inline constexpr int IDD_PRC_OPEN_ORDERS = 134;
inline constexpr int IDD_PRC_SUPPLIER_LEAD = 166;
inline constexpr int IDD_PRC_MEASUREMENTS = 167;
inline constexpr int IDD_PRC_FORECAST = 169;
inline constexpr int IDD_PRC_CONSUMPTION = 170;
inline constexpr int IDD_PRC_RED_LINE = 180;
inline constexpr int IDD_PRC_PACKAGES_LIST = 185;
inline constexpr int IDD_PRC_DAILY_UNSUPPLIED = 198;
inline constexpr int IDD_PRC_UNSUPPLIED_HISTORY = 248;

// Controls the report templates share.
inline constexpr int IDC_PRC_HELP = 9;
inline constexpr int IDC_PRC_LIST = 1400;
inline constexpr int IDC_PRC_HEADER_FIRST = 1401;   // column titles over a list, left to right
inline constexpr int IDC_PRC_VALUE_FIRST = 1420;    // value statics, top to bottom

// Material Information's controls.
inline constexpr int IDC_PRC_INFO_MATERIAL = 1440;
inline constexpr int IDC_PRC_INFO_LEVEL_LABEL1 = 1441;   // three labels, then their values
inline constexpr int IDC_PRC_INFO_LEVEL1 = 1444;
inline constexpr int IDC_PRC_INFO_LEVEL_UNIT = 1447;
inline constexpr int IDC_PRC_INFO_SUPPLIER = 1448;
inline constexpr int IDC_PRC_INFO_PRICE = 1449;
inline constexpr int IDC_PRC_INFO_QLT = 1450;
inline constexpr int IDC_PRC_INFO_USES = 1451;
inline constexpr int IDC_PRC_INFO_GRADE_CURRENT = 1452;
inline constexpr int IDC_PRC_INFO_GRADE_LAST = 1453;
inline constexpr int IDC_PRC_INFO_HELD = 1454;
inline constexpr int IDC_PRC_INFO_CONSUMED = 1455;
inline constexpr int IDC_PRC_INFO_CONSUMED_LAST = 1456;
inline constexpr int IDC_PRC_INFO_MRP_LABEL = 1457;
inline constexpr int IDC_PRC_INFO_MRP = 1458;

// Registers the report templates with the module once.
void register_purchasing_report_templates(plat::HINSTANCE module);

// ---- figures -------------------------------------------------------------------

// A grid of texts: column titles, row titles and the rows' cells.
struct PrcGridFigures {
    std::vector<std::string> columns;
    std::vector<std::string> rows;
    std::vector<std::vector<std::string>> cells;
};

struct MaterialInfoFigures {
    std::string caption;
    std::array<std::string, 3> level_labels;
    std::array<std::string, 3> levels;
    bool third_level_shown = true;
    std::string level_unit;   // "(Units)" or "(Days)"
    std::string supplier, price, qlt;
    std::vector<std::string> uses;   // "%s\t%d": product, units of the material in one
    std::string grade_current, grade_last;
    std::string held, consumed_month, consumed_last_month;
    bool total_mrp_shown = false;
    std::string total_mrp;
};

struct MeasurementsFigures {
    long total_value = 0;
    double cost_index = 0;
    long unsupplied_month = 0, unsupplied_last_month = 0, unsupplied_year = 0;
};

// The material's average monthly issue over the twelve months kept: each
// month truncated, the sum divided by 12 in integers.
int32_t average_monthly_issue(const RawMaterial& r);
// The average cost of the materials weighed by their consumption value
// against their first price; materials without a first price are left out.
double purchasing_cost_index(const CPurchasingWnd& e);

// `product_uses` names each product that takes the material and its units in one.
MaterialInfoFigures material_information(CPurchasingWnd& e, int family, int material);
std::vector<std::string> mrp_list_lines(const CPurchasingWnd& e, int date_order);
std::vector<std::string> open_vendor_order_lines(const CPurchasingWnd& e, int date_order);
std::vector<std::string> packages_list_lines(const CPurchasingWnd& e, int date_order);
PrcGridFigures supplier_lead_times(const CPurchasingWnd& e);
// `new_year_day`: the clock's first day of a year, when the yearly figure is last year's.
MeasurementsFigures measurements_summary(const CPurchasingWnd& e, bool new_year_day);
PrcGridFigures consumption_summary(const CPurchasingWnd& e);
// `months`: the last six months' numbers, the just ended last.
PrcGridFigures red_line_statistics(const CPurchasingWnd& e, const std::array<int, 6>& months);
PrcGridFigures daily_unsupplied(const CPurchasingWnd& e);
PrcGridFigures unsupplied_history(const CPurchasingWnd& e, const std::array<int, 6>& months);

struct ForecastProduct {
    int family = 0, product = 0;
    std::string code;
    int32_t forecast = 0;
};
struct PurchasingForecastFigures {
    PrcGridFigures products;    // per product its forecast and the units of each material it needs
    PrcGridFigures materials;   // per material Needed, In order, Inventory, In process, To order
};
// `products`: Marketing's products that are not retired, with their
// forecasts over the horizon; `units(f, p, mf, m)`: a material's units in one product.
PurchasingForecastFigures purchasing_forecast(CPurchasingWnd& e, const std::vector<ForecastProduct>& products,
                                              const std::function<int(int, int, int, int)>& units);

// ---- dialogs ---------------------------------------------------------------------

// A report of one or more grids stacked, a grid of more than sixteen rows
// split over several; the dialog grows to hold them.
class CPrcGridReportDlg : public CSimDialog {
public:
    struct Part {
        std::string title;   // a caption over the grid, none when empty
        PrcGridFigures figures;
    };
    CPrcGridReportDlg(int template_id, int help_context, std::vector<Part> parts, plat::CWnd* parent);
    ~CPrcGridReportDlg() override;
    const char* GetRuntimeClassName() const override { return "CPrcGridReportDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    const std::vector<std::unique_ptr<CGrid>>& grids() const { return m_grids; }

private:
    int m_help;
    std::vector<Part> m_parts;
    std::vector<std::unique_ptr<CGrid>> m_grids;
    std::vector<std::pair<plat::POINT, std::string>> m_titles;
};

// A report of lines in a list box under its column titles (tab stops).
class CPrcListReportDlg : public CSimDialog {
public:
    CPrcListReportDlg(int template_id, int help_context, std::vector<std::string> lines, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CPrcListReportDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    int m_help;
    std::vector<std::string> m_lines;
};

// Labels with their values, one a line (Measurements Summary).
class CPrcValuesDlg : public CSimDialog {
public:
    CPrcValuesDlg(int template_id, int help_context, std::vector<std::string> values, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CPrcValuesDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    int m_help;
    std::vector<std::string> m_values;
};

class CMaterialInfoDlg : public CSimDialog {
public:
    CMaterialInfoDlg(CPurchasingWnd& engine, int family, int material, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CMaterialInfoDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    // Shows the n-th material in table order.
    void show(int n);

private:
    CPurchasingWnd& m_engine;
    std::vector<std::pair<int, int>> m_materials;
    int m_first = 0;
};
