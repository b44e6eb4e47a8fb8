// The Marketing department's action and policy dialogs: order to produce,
// the contract and shipment lists, the product parameters, advertising and
// promotion.
#pragma once
#include "marketing/market_records.h"
#include "uikit/grid.h"
#include "uikit/lists.h"
#include "uikit/sim_dialog.h"
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMarketingWnd;
class MarketHost;

inline constexpr int IDD_MRK_ORDER_TO_PRODUCE = 106;
inline constexpr int IDD_MRK_CONTRACT_LIST = 107;
inline constexpr int IDD_MRK_SHIPMENT_LIST = 108;
inline constexpr int IDD_MRK_PRODUCT_PARAMETERS = 125;
inline constexpr int IDD_MRK_ADVERTISING = 221;
inline constexpr int IDD_MRK_PROMOTION = 223;
inline constexpr int IDD_MRK_DUE_SHIPMENTS = 240;

inline constexpr int IDC_MRK_ORDER_PRODUCT = 1024;
inline constexpr int IDC_MRK_ORDER_QUANTITY = 1070;
inline constexpr int IDC_MRK_ORDER_BUTTON = 1071;
inline constexpr int IDC_MRK_SHIPMENTS = 1075;
inline constexpr int IDC_MRK_CONTRACTS = 1076;
inline constexpr int IDC_MRK_CAMPAIGNS = 1088;
inline constexpr int IDC_MRK_LEVELS = 1274;
inline constexpr int IDC_MRK_PERIOD = 1275;
inline constexpr int IDC_MRK_PROMO_PRODUCTS = 1088;
inline constexpr int IDC_MRK_REDUCTIONS = 1276;
inline constexpr int IDC_MRK_SALE_MONTH = 1277;
inline constexpr int IDC_MRK_EXPENSES = 1244;

void register_action_dialog_templates();

// Due Shipments: for one product, the units due on each of the next five
// working days, later and overdue; row 0 the customers' open orders, row 1
// the contract clients' deliveries.
using DueTable = std::array<std::array<long, 7>, 2>;
DueTable due_shipments(const CMarketingWnd& m, const MarketHost& host, int family, int product);

// The rows of the contract list: every active contract, the earliest end
// first, then its lines; one row "No active contracts" when there is none.
std::vector<std::string> contract_list_rows(const CMarketingWnd& m, int date_order);

// The rows of the shipment list: for each of the next 66 working days and
// each product the units due that day ("\t%s\t%c%c\t%d").
std::vector<std::string> shipment_rows(const CMarketingWnd& m, const MarketHost& host, int date_order);

// Order To Produce: each valid order goes to `order` (family, product,
// quantity); the dialog stays open for more.
class COrderToProduceDlg : public CSimDialog {
public:
    COrderToProduceDlg(const CMarketingWnd& m, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "COrderToProduceDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override {}

    std::function<void(int family, int product, int quantity)> order;

private:
    void place_order();
    const CMarketingWnd& m_market;
};

// A list of rows in tab-stopped columns under their headers (Contract List,
// Shipment List).
class CMarketListDlg : public CSimDialog {
public:
    CMarketListDlg(int templateId, plat::CWnd* parent, std::vector<std::string> rows, int help_context);
    const char* GetRuntimeClassName() const override { return "CMarketListDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    int row_count() const;

private:
    std::vector<std::string> m_rows;
    int m_help;
    CTabbedList m_list;
    bool m_tabbed = false;
};

// Edit Product Parameters: on OK the values (`values[row][column]` by the
// link mode's columns) for the caller to apply.
class CProductParametersDlg : public CSimDialog {
public:
    CProductParametersDlg(const CMarketingWnd& m, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CProductParametersDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override;
    void OnPaint() override;
    const CGrid& grid() const { return m_grid; }
    CGrid& grid() { return m_grid; }

    static constexpr int MAX_VALUE = 32000;
    // The products in grid order and their values.
    std::vector<std::pair<int, int>> products;
    std::vector<std::vector<int>> values;
    // The products whose export lines are active, and the lines' quoted lead
    // time, price and max, order and red line levels (the second grid).
    std::vector<std::pair<int, int>> export_lines;
    std::vector<std::vector<int>> export_values;
    bool has_export_grid() const { return !export_lines.empty(); }
    const CGrid& export_grid() const { return m_exportGrid; }
    CGrid& export_grid() { return m_exportGrid; }

private:
    // The grid's cells, each 0..32000; false after the refusal's box.
    bool read(const CGrid& grid, size_t rows, std::vector<std::vector<int>>& out);
    const CMarketingWnd& m_market;
    CGrid m_grid;
    CGrid m_exportGrid;
    bool m_toOrder;
};

// Advertising: the chosen campaign, its level (1 based) and months.
class CAdvertisingDlg : public CSimDialog {
public:
    CAdvertisingDlg(const CMarketingWnd& m, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CAdvertisingDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override;

    int campaign = -1, level = 0, months = 1;
    // True when the campaign's product is one still to be introduced.
    std::function<bool(int campaign)> not_available;

private:
    void fill_levels();
    const CMarketingWnd& m_market;
};

// Promotion: the chosen product and its reduction level (1-5).
class CPromotionDlg : public CSimDialog {
public:
    CPromotionDlg(const CMarketingWnd& m, plat::CWnd* parent, int next_month);
    const char* GetRuntimeClassName() const override { return "CPromotionDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override;

    int family = -1, product = -1, level = 1;

private:
    void fill_reductions();
    const CMarketingWnd& m_market;
    int m_nextMonth;
    std::vector<std::pair<int, int>> m_products;
};

// Due Shipments: the chosen product's table; another product refills it.
class CDueShipmentsDlg : public CSimDialog {
public:
    CDueShipmentsDlg(const CMarketingWnd& m, const MarketHost& host, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CDueShipmentsDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    const CGrid& grid() const { return m_grid; }

private:
    void fill();
    const CMarketingWnd& m_market;
    const MarketHost& m_host;
    std::vector<std::pair<int, int>> m_products;
    CGrid m_grid;
};
