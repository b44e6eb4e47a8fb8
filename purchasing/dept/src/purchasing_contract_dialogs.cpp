// Purchasing's package dialogs: the list of packages, the order of one, and
// the decision at a contract's end.
#include "app/view.h"
#include "foundation/simdate.h"
#include "plat/dialog.h"
#include "prc_dialog_build.h"
#include "purchasing/purchasing_dialogs.h"
#include <algorithm>
#include <iterator>

using namespace plat;
using namespace prc_dlg;

namespace {

// Tab stops in dialog units where the columns' titles stand.
void set_tab_stops(HWND dlg, int list, std::initializer_list<int> stops)
{
    const std::vector<int> v(stops);
    plat::SendDlgItemMessage(dlg, list, LB_SETTABSTOPS, static_cast<WPARAM>(v.size()), reinterpret_cast<LPARAM>(v.data()));
}

void add_row(HWND dlg, int list, const std::string& text)
{
    plat::SendDlgItemMessage(dlg, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string item_code(const CPurchasingWnd& p, const PackageItem& it)
{
    return p.material_code(it.family, it.material);
}

} // namespace

// ---- Packages ------------------------------------------------------------------

CPackagesDlg::CPackagesDlg(CPurchasingWnd& p, CWnd* parent)
    : CPrcDialog(IDD_PRC_PACKAGES, HELP_PACKAGES, parent), m_p(p)
{
    for (int s = 0; s < p.supplier_count; ++s)
        for (int k = 0; k < p.suppliers[static_cast<size_t>(s)].package_count; ++k)
            m_packages.emplace_back(s, k);
}

BOOL CPackagesDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    set_tab_stops(m_hWnd, IDC_PACKAGES_LIST, {27, 120, 173, 233});
    set_tab_stops(m_hWnd, IDC_PACKAGES_ITEMS, {53});
    for (const auto& [s, k] : m_packages) {
        const SupplierPackage& pk = m_p.suppliers[static_cast<size_t>(s)].packages[static_cast<size_t>(k)];
        const bool weekly = pk.frequency == FREQUENCY_WEEKLY;
        add_row(m_hWnd, IDC_PACKAGES_LIST,
                format("%d\t%s\t%s\t%s\t%d", pk.id, m_p.supplier_name(s).c_str(),
                       lang_translate(weekly ? "Weekly" : "Monthly"),
                       weekly ? lang_translate(day_name(pk.shipment_day)) : "----", pk.minimum));
    }
    plat::SendDlgItemMessage(m_hWnd, IDC_PACKAGES_LIST, LB_SETCURSEL, 0, 0);
    fill_items();
    return TRUE;
}

void CPackagesDlg::fill_items()
{
    plat::SendDlgItemMessage(m_hWnd, IDC_PACKAGES_ITEMS, LB_RESETCONTENT, 0, 0);
    const int chosen = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_PACKAGES_LIST, LB_GETCURSEL, 0, 0));
    if (chosen < 0 || static_cast<size_t>(chosen) >= m_packages.size())
        return;
    const auto [s, k] = m_packages[static_cast<size_t>(chosen)];
    const SupplierPackage& pk = m_p.suppliers[static_cast<size_t>(s)].packages[static_cast<size_t>(k)];
    for (int i = 0; i < pk.count; ++i) {
        const PackageItem& it = pk.items[static_cast<size_t>(i)];
        add_row(m_hWnd, IDC_PACKAGES_ITEMS, format("%s\t%d", item_code(m_p, it).c_str(), it.price));
    }
}

BOOL CPackagesDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PACKAGES_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        fill_items();
        return TRUE;
    }
    if (LOWORD(wParam) == IDC_PACKAGES_ORDER) {
        order();
        return TRUE;
    }
    return CPrcDialog::OnCommand(wParam, lParam);
}

void CPackagesDlg::order()
{
    const int chosen = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_PACKAGES_LIST, LB_GETCURSEL, 0, 0));
    if (chosen < 0 || static_cast<size_t>(chosen) >= m_packages.size())
        return;
    const auto [s, k] = m_packages[static_cast<size_t>(chosen)];
    const int id = m_p.suppliers[static_cast<size_t>(s)].packages[static_cast<size_t>(k)].id;
    // Either answer opens the order: "No" makes a second contract of the package.
    const bool overwrite =
        m_p.find_contract_by_package(id) >= 0 &&
        lang_message_box(m_hWnd, "Contract of this package already exist\nOverwite it ?", "Packages", MB_YESNO) ==
            IDYES;
    COrderPackageDlg dlg(m_p, s, k, overwrite, this);
    dlg.DoModal();
}

// ---- Order Package -------------------------------------------------------------

COrderPackageDlg::COrderPackageDlg(CPurchasingWnd& p, int supplier, int package, bool overwrite, CWnd* parent)
    : CPrcDialog(IDD_PRC_ORDER_PACKAGE, HELP_ORDER_PACKAGE, parent),
      m_p(p),
      m_supplier(supplier),
      m_package(package),
      m_overwrite(overwrite)
{
}

BOOL COrderPackageDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const SupplierPackage& pk = m_p.suppliers[static_cast<size_t>(m_supplier)].packages[static_cast<size_t>(m_package)];
    for (int k = 0; k < PACKAGE_ROWS; ++k) {
        const bool used = k < pk.count;
        plat::SetDlgItemText(m_hWnd, IDC_PACKAGE_CODE + k, used ? item_code(m_p, pk.items[static_cast<size_t>(k)]).c_str() : "");
        plat::SetDlgItemText(m_hWnd, IDC_PACKAGE_QTY + k, used ? "0" : "");
        if (!used)
            plat::ShowWindow(plat::GetDlgItem(m_hWnd, IDC_PACKAGE_QTY + k), SW_HIDE);
    }
    // The dialog ends below its last item or its buttons.
    const int rows = std::min<int>(pk.count, PACKAGE_ROWS);
    shorten_below(m_hWnd, 1000, 300 - std::max(34 + rows * 28 + 10, 130), {});
    return TRUE;
}

void COrderPackageDlg::OnOK()
{
    const SupplierPackage& pk = m_p.suppliers[static_cast<size_t>(m_supplier)].packages[static_cast<size_t>(m_package)];
    std::vector<int32_t> quantities;
    for (int k = 0; k < pk.count && k < PACKAGE_ROWS; ++k) {
        const std::string text = item_text(m_hWnd, IDC_PACKAGE_QTY + k);
        const std::optional<long> q = read_number(text, 0, 32767);
        if (!q) {
            refuse(m_hWnd, "Invalid quantity:", text, "Order Package");
            plat::SetFocus(plat::GetDlgItem(m_hWnd, IDC_PACKAGE_QTY + k));
            return;
        }
        quantities.push_back(static_cast<int32_t>(*q));
    }
    if (const std::string refused = m_p.contract_refusal(m_supplier, m_package, quantities); !refused.empty()) {
        box(m_hWnd, refused, "Order Package");
        return;
    }
    // The old contract goes only now that its successor is sound.
    if (m_overwrite) {
        m_p.end_contract(m_p.find_contract_by_package(pk.id));
        m_overwrite = false;
    }
    if (const std::string refused = m_p.create_contract(m_supplier, m_package, quantities); !refused.empty()) {
        box(m_hWnd, refused, "Order Package");
        return;
    }
    box(m_hWnd, "Order Recieved", "Order Package");
    EndDialog(IDOK);
}

// ---- Purchasing Contract End ---------------------------------------------------

CPrcContractEndDlg::CPrcContractEndDlg(const CPurchasingWnd& p, const PurchaseContract& contract, CWnd* parent)
    : CPrcDialog(IDD_PRC_CONTRACT_END, HELP_CONTRACT_END, parent), m_p(p), m_contract(contract)
{
}

BOOL CPrcContractEndDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    plat::SetDlgItemText(m_hWnd, IDC_END_START, date_text(m_contract.start, m_p.view().clock.date_order).c_str());
    set_tab_stops(m_hWnd, IDC_END_ITEMS, {53, 107});
    for (int k = 0; k < m_contract.package.count; ++k) {
        const PackageItem& it = m_contract.package.items[static_cast<size_t>(k)];
        add_row(m_hWnd, IDC_END_ITEMS, format("%s\t%d\t%d", item_code(m_p, it).c_str(), it.quantity, it.price));
    }
    return TRUE;
}

BOOL CPrcContractEndDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_END_CONTINUE:
        if (plat::IsDlgButtonChecked(m_hWnd, IDC_END_YES) == BST_CHECKED)
            EndDialog(CONTRACT_RENEW);
        else if (plat::IsDlgButtonChecked(m_hWnd, IDC_END_NO) == BST_CHECKED)
            EndDialog(CONTRACT_END);
        else
            box(m_hWnd, "You must select yes/no for renew contract\n\nbefore continuing!", "End of Contract");
        return TRUE;
    case IDC_END_HOLD: EndDialog(CONTRACT_HOLD); return TRUE;
    default: break;
    }
    return CPrcDialog::OnCommand(wParam, lParam);
}
