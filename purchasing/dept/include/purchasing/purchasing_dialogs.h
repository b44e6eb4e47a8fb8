// Purchasing's action and policy dialogs: a single vendor order, the choice
// of suppliers, package contracts, the material parameters, the ordering
// policy and the decision at a contract's end; and the launchers that run
// them for the department's menus.
#pragma once
#include "purchasing/order_dialog_ids.h"
#include "purchasing/purchasing_wnd.h"
#include "uikit/grid.h"
#include "uikit/sim_dialog.h"
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class PurchasingDepartment;

inline constexpr int IDD_PRC_MATERIAL_PARAMETERS = 132;
inline constexpr int IDD_PRC_POLICY = 133;
inline constexpr int IDD_PRC_SUPPLIERS = 149;
inline constexpr int IDD_PRC_CHANGE_SUPPLIER = 150;
inline constexpr int IDD_PRC_PACKAGES = 187;
inline constexpr int IDD_PRC_ORDER_PACKAGE = 188;
inline constexpr int IDD_PRC_CONTRACT_END = 206;

inline constexpr int IDC_PRC_DIALOG_HELP = 3;
inline constexpr int IDC_SUPPLIERS_NOTE = 1310;
inline constexpr int IDC_SUPPLIERS_CHANGE = 1311;   // hidden "Change &supplier"
inline constexpr int IDC_CHANGE_MATERIAL = 1321;
inline constexpr int IDC_CHANGE_SUPPLIER = 1322;
inline constexpr int IDC_PACKAGES_LIST = 1331;
inline constexpr int IDC_PACKAGES_ITEMS = 1332;
inline constexpr int IDC_PACKAGES_ORDER = 1333;
// Order Package: row k's code static and quantity edit.
inline constexpr int IDC_PACKAGE_CODE = 1341;
inline constexpr int IDC_PACKAGE_QTY = 1351;
inline constexpr int PACKAGE_ROWS = 9;
inline constexpr int IDC_POLICY_STOCK = 1361;
inline constexpr int IDC_POLICY_MRP = 1362;
inline constexpr int IDC_POLICY_PARAMETERS = 1363;
inline constexpr int IDC_POLICY_QLT = 1364;
inline constexpr int IDC_POLICY_DAYS_LABEL = 1365;
inline constexpr int IDC_POLICY_DAYS = 1366;
inline constexpr int IDC_POLICY_MINIMUM_LABEL = 1367;
inline constexpr int IDC_POLICY_MINIMUM = 1368;
inline constexpr int IDC_END_START = 1371;
inline constexpr int IDC_END_ITEMS = 1372;
inline constexpr int IDC_END_YES = 1373;
inline constexpr int IDC_END_NO = 1374;
inline constexpr int IDC_END_CONTINUE = 1375;
inline constexpr int IDC_END_HOLD = 1376;
// The grids' first cell ids (CGrid numbers its cells from the tag).
inline constexpr int IDC_SUPPLIERS_GRID = 2000;
inline constexpr int IDC_PARAMETERS_GRID = 4000;

void register_purchasing_dialog_templates(plat::HINSTANCE module);

// A Purchasing dialog: its Help button opens the dialog's help page.
class CPrcDialog : public CSimDialog {
public:
    CPrcDialog(int templateId, int help_context, plat::CWnd* parent);
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    int m_help;
};

// Order (IDD 129): one vendor order at a time through any supplier that
// sells the material; stays open until Close.
class CPrcOrderDlg : public CPrcDialog {
public:
    CPrcOrderDlg(CPurchasingWnd& p, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CPrcOrderDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    void place_order(bool confirm);
    CPurchasingWnd& m_p;
};

// Suppliers (IDD 149): the suppliers' prices per material; a click on a
// seller's cell makes it the material's supplier in a working copy that OK
// writes back.
class CSuppliersDlg : public CPrcDialog {
public:
    CSuppliersDlg(CPurchasingWnd& p, plat::CWnd* parent);
    ~CSuppliersDlg() override;
    const char* GetRuntimeClassName() const override { return "CSuppliersDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnLButtonDown(plat::UINT flags, plat::POINT pt) override;
    void OnPaint() override;
    void OnOK() override;
    // The material's supplier in the working copy (materials in table order).
    int chosen(int material_index) const { return m_chosen[static_cast<size_t>(material_index)]; }
    CGrid& grid() { return *m_grid; }

private:
    void fill();
    void choose(int material_index, int supplier);
    CPurchasingWnd& m_p;
    std::vector<std::pair<int, int>> m_materials;   // family, material
    std::vector<int> m_chosen;
    std::unique_ptr<CGrid> m_grid;
};

// Change Supplier (IDD 150): a material and a supplier number typed or
// chosen; closes with IDOK and the pair when the supplier sells it.
class CChangeSupplierDlg : public CPrcDialog {
public:
    CChangeSupplierDlg(CPurchasingWnd& p, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CChangeSupplierDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    int family = -1, material = -1, supplier = -1;

private:
    CPurchasingWnd& m_p;
};

// Packages (IDD 187): every supplier's packages and the chosen one's items;
// "&Order" opens Order Package for it.
class CPackagesDlg : public CPrcDialog {
public:
    CPackagesDlg(CPurchasingWnd& p, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CPackagesDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    void fill_items();
    void order();
    CPurchasingWnd& m_p;
    std::vector<std::pair<int, int>> m_packages;   // supplier, package
};

// Order Package (IDD 188): the quantities of a package's items. With
// `overwrite` the package's existing contract ends, but only once the new
// one is accepted.
class COrderPackageDlg : public CPrcDialog {
public:
    COrderPackageDlg(CPurchasingWnd& p, int supplier, int package, bool overwrite, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "COrderPackageDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CPurchasingWnd& m_p;
    int m_supplier, m_package;
    bool m_overwrite;
};

// Edit Material Parameters (IDD 132): per material the order-level columns
// or the MRP ones, edited in a grid.
class CMaterialParametersDlg : public CPrcDialog {
public:
    CMaterialParametersDlg(CPurchasingWnd& p, plat::CWnd* parent);
    ~CMaterialParametersDlg() override;
    const char* GetRuntimeClassName() const override { return "CMaterialParametersDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnLButtonDown(plat::UINT flags, plat::POINT pt) override;
    void OnPaint() override;
    void OnOK() override;
    CGrid& grid() { return *m_grid; }

private:
    CPurchasingWnd& m_p;
    std::vector<std::pair<int, int>> m_materials;
    std::unique_ptr<CGrid> m_grid;
};

// Purchasing Policy (IDD 133): order level or MRP and MRP's parameters.
// `release_policy` is Production's raw-material release (1: MRP).
class CPurchasingPolicyDlg : public CPrcDialog {
public:
    CPurchasingPolicyDlg(CPurchasingWnd& p, int release_policy, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CPurchasingPolicyDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override;

private:
    void show_parameters();
    CPurchasingWnd& m_p;
    int m_release;
};

// Purchasing Contract End (IDD 206): renew, end or hold (ContractEndChoice).
class CPrcContractEndDlg : public CPrcDialog {
public:
    CPrcContractEndDlg(const CPurchasingWnd& p, const PurchaseContract& contract, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CPrcContractEndDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnCancel() override {}   // a choice must be made

private:
    const CPurchasingWnd& m_p;
    const PurchaseContract& m_contract;
};

// The launchers, with what follows each dialog: after Edit Material
// Parameters' OK under MRP, MRP ordering; after the policy's OK, the policy
// applied (levels shown, a re-plan when due) and the window repainted
// (`repaint`, may be empty).
void run_prc_order(CPurchasingWnd& p, plat::CWnd* owner);
void run_prc_packages(CPurchasingWnd& p, plat::CWnd* owner);
void run_prc_suppliers(CPurchasingWnd& p, plat::CWnd* owner);
void run_material_parameters(CPurchasingWnd& p, plat::CWnd* owner);
void run_purchasing_policy(CPurchasingWnd& p, int release_policy, plat::CWnd* owner, const std::function<void()>& repaint);
int run_contract_end(const CPurchasingWnd& p, const PurchaseContract& contract, plat::CWnd* owner);

// The department's action and policy commands (401-403, 501, 502) in the
// windowed program; false for any other id. Headless nothing opens.
bool run_purchasing_dialog_command(PurchasingDepartment& dept, int id);
void edit_material_parameters(PurchasingDepartment& dept);
// The Contract End question in the windowed program; 0 headless.
int ask_contract_end_dialog(PurchasingDepartment& dept, const PurchaseContract& contract);
