// The Marketing department's dialogs: their template ids, the control ids a
// caller or a test drives, and the classes. Templates go into the module the
// program's dialogs are looked up in, the first time one is made.
#pragma once
#include "uikit/grid.h"
#include "uikit/lists.h"
#include "uikit/sim_dialog.h"
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMarketingWnd;

inline constexpr int IDD_MRK_LINKS = 104;
inline constexpr int IDD_MRK_PRODUCT_INFO = 105;
inline constexpr int IDD_MRK_GET_PRODUCT_NAME = 111;
inline constexpr int IDD_MRK_SALE_SUMMARY = 124;

// Get Product Name.
inline constexpr int IDC_MRK_NAME_LABEL = 1089;
inline constexpr int IDC_MRK_NAME_COMBO = 1088;
// Links.
inline constexpr int IDC_MRK_STOCK = 1013;
inline constexpr int IDC_MRK_ORDER = 1014;
// Product Information: the list and the figures beside it.
inline constexpr int IDC_MRK_INFO_LIST = 1024;
inline constexpr int IDC_MRK_INFO_MATERIALS = 1029;
inline constexpr int IDC_MRK_INFO_YEAR = 1101;
inline constexpr int IDC_MRK_INFO_MONTH = 1102;
inline constexpr int IDC_MRK_INFO_LAST_MONTH = 1103;
inline constexpr int IDC_MRK_INFO_PERFORMANCE = 1104;
inline constexpr int IDC_MRK_INFO_SHELF = 1105;
inline constexpr int IDC_MRK_INFO_QLT = 1106;
inline constexpr int IDC_MRK_INFO_PRICE = 1107;
inline constexpr int IDC_MRK_INFO_LEVEL_LABEL1 = 1108;
inline constexpr int IDC_MRK_INFO_LEVEL1 = 1109;
inline constexpr int IDC_MRK_INFO_LEVEL_LABEL2 = 1110;
inline constexpr int IDC_MRK_INFO_LEVEL2 = 1111;
inline constexpr int IDC_MRK_INFO_LEVEL_LABEL3 = 1112;
inline constexpr int IDC_MRK_INFO_LEVEL3 = 1113;
inline constexpr int IDC_MRK_INFO_LAST_YEAR = 1114;
inline constexpr int IDC_MRK_INFO_CURRENT_YEAR = 1115;
inline constexpr int IDC_MRK_INFO_COST = 1116;
inline constexpr int IDC_MRK_HELP = 9;

// Adds the department's templates to the module dialogs are looked up in,
// once per module.
void register_marketing_dialog_templates();

// The product a chooser's text names (the Get Product Name rules): 3 the
// text is "Total", 1 a product code, 2 a family by its first letter, 0 none.
int parse_product_choice(const CMarketingWnd& m, const std::string& text, int& family, int& product);

// Get Product Name: DoModal answers 0 (cancelled), 1 a product, 2 a family,
// 3 every product; family and product as chosen.
class CGetProductNameDlg : public CSimDialog {
public:
    CGetProductNameDlg(const CMarketingWnd& market, plat::CWnd* parent, const char* caption, const char* label);
    const char* GetRuntimeClassName() const override { return "CGetProductNameDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    int mode = 0;  // 0: "Total" and the families come first
    int family = -1, product = -1;

private:
    const CMarketingWnd& m_market;
    std::string m_caption, m_label;
};

// Sale Summary Table: twelve months (the latest first) of five series.
class CSaleSummaryDlg : public CSimDialog {
public:
    CSaleSummaryDlg(plat::CWnd* parent, std::string caption, const std::array<std::array<float, 12>, 5>& series,
                    const std::array<int, 12>& month_numbers);
    const char* GetRuntimeClassName() const override { return "CSaleSummaryDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    const CGrid& grid() const { return m_grid; }

private:
    std::string m_caption;
    std::array<std::array<float, 12>, 5> m_series;
    std::array<int, 12> m_months;
    CGrid m_grid;
};

// Marketing-Production Links: DoModal IDOK with the chosen mode in `mode`.
class CLinksDlg : public CSimDialog {
public:
    CLinksDlg(plat::CWnd* parent, int current_mode);
    const char* GetRuntimeClassName() const override { return "CLinksDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

    int mode;
    int old_mode;
};

// Product Information: a product's sales, levels and costs.
class CProductInfoDlg : public CSimDialog {
public:
    // family/product -1: the first product.
    CProductInfoDlg(const CMarketingWnd& market, plat::CWnd* parent, int family, int product);
    const char* GetRuntimeClassName() const override { return "CProductInfoDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

    // The materials list's rows for the product shown (" %c%c\t%d").
    std::function<std::vector<std::string>(int family, int product)> materials;

private:
    void show(int row);
    const CMarketingWnd& m_market;
    // The products, then their export lines (flagged).
    std::vector<std::pair<int, int>> m_rows;
    std::vector<bool> m_exportRow;
    int m_first = 0;
};

#include "marketing/market_reports.h"

// A report table in grids: one row per table row; rows past the grid's 16
// go into a second grid of the same columns below the first.
class CMarketReportDlg : public CSimDialog {
public:
    CMarketReportDlg(plat::CWnd* parent, int report, ReportTable table);
    const char* GetRuntimeClassName() const override { return "CMarketReportDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    int grid_count() const { return static_cast<int>(m_grids.size()); }
    const CGrid& grid(int i) const { return *m_grids[static_cast<size_t>(i)]; }

    // Button 1310 of the days-of-sales report opens the policies report.
    std::function<void()> open_policies;

private:
    int m_report;
    ReportTable m_table;
    std::vector<std::unique_ptr<CGrid>> m_grids;
};
