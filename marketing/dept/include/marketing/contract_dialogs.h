// The Marketing department's decision and event windows: the new contracts
// offered, a contract that ends or was cancelled, a new product, and the two
// popups of the day's lost orders and past-due inventory.
#pragma once
#include "marketing/market_records.h"
#include "uikit/grid.h"
#include "uikit/lists.h"
#include "uikit/sim_dialog.h"
#include <string>
#include <vector>

class CMarketingWnd;

inline constexpr int IDD_MRK_NEW_CONTRACTS = 103;
inline constexpr int IDD_MRK_LOST_ORDERS = 153;
inline constexpr int IDD_MRK_CONTRACT_END = 154;
inline constexpr int IDD_MRK_CONTRACT_CANCELED = 155;
inline constexpr int IDD_MRK_PAST_DUE = 209;
inline constexpr int IDD_MRK_NEW_PRODUCT = 212;

// Select New Contracts.
inline constexpr int IDC_MRK_YES = 2;
inline constexpr int IDC_MRK_NO = 3;
inline constexpr int IDC_MRK_YES_ALL = 4;
inline constexpr int IDC_MRK_NO_ALL = 5;
inline constexpr int IDC_MRK_HOLD = 1010;
inline constexpr int IDC_MRK_CONTRACT_LIST = 601;
// Contract End.
inline constexpr int IDC_MRK_RENEW_YES = 1168;
inline constexpr int IDC_MRK_RENEW_NO = 1170;
inline constexpr int IDC_MRK_CONTINUE = 2;
// Lost Customer Orders.
inline constexpr int IDC_MRK_LOST_LIST = 1144;
// New Product.
inline constexpr int IDC_MRK_LAUNCH_DATE = 1250;

void register_contract_dialog_templates();

// The rows of the new contracts' list: per contract its first line with the
// contract's fields, then one row per further line.
std::vector<std::string> new_contract_rows(const CMarketingWnd& m, const ContractRef& ref, int date_order);

// The contract grid: one row per product line, the contract's fields in the first.
void fill_contract_grid(CGrid& grid, const CMarketingWnd& m, const ContractRef& ref, plat::CWnd* parent, int x,
                        int y, int width, int height, int date_order);

// Select New Contracts: DoModal 1 with every row answered, 5 for Hold.
class CNewContractsDlg : public CSimDialog {
public:
    CNewContractsDlg(const CMarketingWnd& m, plat::CWnd* parent, const std::vector<ContractRef>& list,
                     int date_order);
    const char* GetRuntimeClassName() const override { return "CNewContractsDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override {}

    // One answer per contract of the list, true accepted.
    std::vector<bool> accepted;
    CSelectCheckList& list() { return m_list; }

private:
    void answer_selected(int state);
    void answer_all(int state);
    std::vector<ContractRef> m_contracts;
    // The first row of each contract.
    std::vector<int> m_first_rows;
    std::vector<std::string> m_rows;
    CSelectCheckList m_list;
};

// Contract End: 1 renew, 2 do not renew, 3 hold.
class CContractEndDlg : public CSimDialog {
public:
    CContractEndDlg(const CMarketingWnd& m, plat::CWnd* parent, const ContractRef& ref, int date_order);
    const char* GetRuntimeClassName() const override { return "CContractEndDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnPaint() override;
    const CGrid& grid() const { return m_grid; }

protected:
    CContractEndDlg(const CMarketingWnd& m, plat::CWnd* parent, const ContractRef& ref, int date_order,
                    int templateId);
    const CMarketingWnd& m_market;
    ContractRef m_ref;
    int m_dateOrder;
    CGrid m_grid;
};

// Contract Canceled: the contract and the event's text as the title.
class CContractCanceledDlg : public CContractEndDlg {
public:
    CContractCanceledDlg(const CMarketingWnd& m, plat::CWnd* parent, const ContractRef& ref, int date_order,
                         std::string title);
    const char* GetRuntimeClassName() const override { return "CContractCanceledDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    std::string m_title;
};

// New Product: 1 accepted (the launch date stored in `launch`), 0 cancel, 2 hold.
class CNewProductDlg : public CSimDialog {
public:
    CNewProductDlg(const CMarketingWnd& m, plat::CWnd* parent, int entry, const SimDateTime& today, int date_order);
    const char* GetRuntimeClassName() const override { return "CNewProductDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override { EndDialog(0); }

    SimDateTime launch{};

private:
    const CMarketingWnd& m_market;
    int m_entry;
    int m_dateOrder;
};

// The day's popups: shown without activation, closed by Continue or by
// their timer (2000 ms) unless the view pauses on events.
class CMarketPopup : public CModelessDialog {
public:
    CMarketPopup(int templateId, plat::CWnd* parent, const int32_t* pause_events);
    const char* GetRuntimeClassName() const override { return "CMarketPopup"; }
    // Lost Customer Orders: the engine's rows ("\t%c%c\t%d\t%d").
    void show_lost_orders(const std::vector<std::string>& rows);
    // Past Due Inventory: the engine's rows ("\t%c%c\t%d").
    void show_past_due(const std::vector<std::string>& rows);
    // The timer's close: nothing while the view pauses on events.
    void timer_close();
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    const CGrid& grid() const { return m_grid; }

    static constexpr unsigned TIMER_MS = 2000;

private:
    const int32_t* m_pause;
    CGrid m_grid;
    bool m_hasGrid = false;
};
