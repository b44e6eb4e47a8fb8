// Purchasing's dialog templates, the Order, Suppliers and Change Supplier
// dialogs, and the launchers of the department's action and policy menus.
#include "purchasing/purchasing_dialogs.h"
#include "app/view.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/gdi.h"
#include "prc_dialog_build.h"
#include "purchasing/purchasing_dept.h"
#include <algorithm>

using namespace plat;
using namespace prc_dlg;

namespace {

constexpr DWORD DROPLIST = TAB | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD RADIO = TAB | BS_AUTORADIOBUTTON;

Rows order_rows()
{
    Rows r(12, 12, 70);
    r.row("Material:", "COMBOBOX", IDC_ORDER_MATERIAL, COMBO, 100, 160)
        .row("Quantity:", "EDIT", IDC_ORDER_QTY, EDIT, 100)
        .row("Supplier:", "COMBOBOX", IDC_ORDER_SUPPLIER, DROPLIST, 190, 160);
    r.buttons({{IDC_ORDER_BUTTON, "&Order"}, {IDCANCEL, "&Close"}, {IDC_PRC_DIALOG_HELP, "&Help"}}, 290, 12);
    // Places the order without the confirmation box; never shown.
    r.add({"BUTTON", IDC_ORDER_SILENT, "&Order", WS_CHILD | WS_TABSTOP, 0, 290, 102, 80, 24});
    return r;
}

Rows suppliers_rows()
{
    Rows r(10, 300, 0);
    r.add({"STATIC", IDC_SUPPLIERS_NOTE,
           "To change current supplier click with the mouse on the table cell which intersect the material and new "
           "supplier.",
           CHILD, 0, 10, 300, 600, 34});
    r.buttons({{IDOK, "&OK"}, {IDCANCEL, "&Cancel"}, {IDC_PRC_DIALOG_HELP, "&Help"}}, 250, 344, true);
    r.add({"BUTTON", IDC_SUPPLIERS_CHANGE, "Change &supplier", WS_CHILD | WS_TABSTOP, 0, 10, 344, 110, 24});
    return r;
}

Rows change_supplier_rows()
{
    Rows r(12, 12, 90);
    r.row("Material:", "COMBOBOX", IDC_CHANGE_MATERIAL, COMBO, 100, 160)
        .row("Supplier ID:", "COMBOBOX", IDC_CHANGE_SUPPLIER, COMBO, 100, 160);
    r.buttons({{IDOK, "&OK"}, {IDCANCEL, "&Cancel"}, {IDC_PRC_DIALOG_HELP, "&Help"}}, 220, 12);
    return r;
}

Rows packages_rows()
{
    Rows r(10, 10, 0);
    r.titles({{"ID", 14}, {"Name", 54}, {"Frequency", 194}, {"Day", 274}, {"Min", 364}});
    r.add({"LISTBOX", IDC_PACKAGES_LIST, "", LIST, 0, 10, 30, 410, 140});
    r.skip(150).titles({{"Material", 14}, {"Price", 94}});
    r.add({"LISTBOX", IDC_PACKAGES_ITEMS, "", LIST, 0, 10, r.y(), 200, 110});
    r.buttons({{IDC_PACKAGES_ORDER, "&Order"}, {IDCANCEL, "&Close"}, {IDC_PRC_DIALOG_HELP, "&Help"}}, 432, 30);
    return r;
}

Rows order_package_rows()
{
    Rows r(12, 34, 60, 28);
    r.add({"STATIC", -1, "Material", CHILD, 0, 12, 12, 60, 16}).add({"STATIC", -1, "Qty.", CHILD, 0, 72, 12, 60, 16});
    for (int k = 0; k < PACKAGE_ROWS; ++k)
        r.row("", "EDIT", IDC_PACKAGE_QTY + k, EDIT, 80, 22, IDC_PACKAGE_CODE + k);
    r.buttons({{IDOK, "&OK"}, {IDCANCEL, "&Cancel"}, {IDC_PRC_DIALOG_HELP, "&Help"}}, 180, 34);
    return r;
}

Rows parameters_rows()
{
    Rows r(10, 10, 0);
    r.buttons({{IDOK, "&OK"}, {IDCANCEL, "&Cancel"}, {IDC_PRC_DIALOG_HELP, "&Help"}}, 170, 310, true);
    return r;
}

Rows policy_rows()
{
    Rows r(230, 56, 150, 30);
    r.add({"BUTTON", -1, "Policy", CHILD | BS_GROUPBOX, 0, 10, 8, 200, 100});
    r.add({"BUTTON", IDC_POLICY_STOCK, "&Purchase to stock", RADIO | WS_GROUP, 0, 22, 32, 170, 20});
    r.add({"BUTTON", IDC_POLICY_MRP, "&MRP", RADIO, 0, 22, 62, 170, 20});
    r.add({"BUTTON", IDC_POLICY_PARAMETERS, "Parameters", CHILD | BS_GROUPBOX, 0, 220, 8, 270, 120});
    r.add({"BUTTON", IDC_POLICY_QLT, "According to QLT", TAB | BS_AUTOCHECKBOX | WS_GROUP, 0, 230, 30, 200, 20});
    r.row("Days to send before QLT:", "EDIT", IDC_POLICY_DAYS, EDIT, 60, 22, IDC_POLICY_DAYS_LABEL)
        .row("Minimun to order:", "EDIT", IDC_POLICY_MINIMUM, EDIT, 60, 22, IDC_POLICY_MINIMUM_LABEL);
    r.buttons({{IDOK, "&OK"}, {IDCANCEL, "&Cancel"}, {IDC_PRC_DIALOG_HELP, "&Help"}}, 130, 140, true);
    return r;
}

Rows contract_end_rows()
{
    Rows r(12, 12, 80);
    r.add({"STATIC", -1, "Start date:", CHILD, 0, 12, 12, 80, 18});
    r.add({"STATIC", IDC_END_START, "", CHILD, 0, 92, 12, 120, 18});
    r.skip(26).titles({{"Material", 14}, {"Qty.", 94}, {"Price", 174}});
    r.add({"LISTBOX", IDC_END_ITEMS, "", LIST, 0, 10, r.y(), 260, 120});
    r.add({"STATIC", -1, "Renew contract for 1 more year ?", CHILD, 0, 12, 186, 260, 18});
    r.add({"BUTTON", IDC_END_YES, "&Yes", RADIO | WS_GROUP, 0, 24, 210, 70, 20});
    r.add({"BUTTON", IDC_END_NO, "&No", RADIO, 0, 104, 210, 70, 20});
    r.buttons({{IDC_END_CONTINUE, "&Continue"}, {IDC_END_HOLD, "&Hold"}, {IDC_PRC_DIALOG_HELP, "&Help"}}, 290, 56);
    return r;
}

std::span<const DlgTemplate> templates()
{
    static const Rows order = order_rows(), suppliers = suppliers_rows(), change = change_supplier_rows(),
                      packages = packages_rows(), order_package = order_package_rows(),
                      parameters = parameters_rows(), policy = policy_rows(), end = contract_end_rows();
    static const DlgTemplate table[] = {
        {IDD_PRC_ORDER, "Order", DLG, 0, 0, 384, 136, nullptr, 0, order.items()},
        {IDD_PRC_SUPPLIERS, "Suppliers", DLG, 0, 0, 620, 380, nullptr, 0, suppliers.items()},
        {IDD_PRC_CHANGE_SUPPLIER, "Change Supplier", DLG, 0, 0, 314, 110, nullptr, 0, change.items()},
        {IDD_PRC_PACKAGES, "Packages", DLG, 0, 0, 524, 320, nullptr, 0, packages.items()},
        {IDD_PRC_ORDER_PACKAGE, "Order Package", DLG, 0, 0, 274, 300, nullptr, 0, order_package.items()},
        {IDD_PRC_MATERIAL_PARAMETERS, "Edit Material Parameters", DLG, 0, 0, 440, 346, nullptr, 0,
         parameters.items()},
        {IDD_PRC_POLICY, "Purchasing Policy", DLG, 0, 0, 500, 176, nullptr, 0, policy.items()},
        {IDD_PRC_CONTRACT_END, "Purchasing Contract End", DLG, 0, 0, 384, 244, nullptr, 0, end.items()},
    };
    return table;
}

void fill_material_codes(HWND combo, const CPurchasingWnd& p)
{
    for (int f = 0; f < p.family_count(); ++f)
        for (int m = 0; m < p.material_count(f); ++m)
            plat::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.material_code(f, m).c_str()));
    plat::SendMessage(combo, CB_SETCURSEL, 0, 0);
}

// Every supplier's number, with its name after it when `named`.
void fill_suppliers(HWND combo, const CPurchasingWnd& p, bool named)
{
    for (int s = 0; s < p.supplier_count; ++s) {
        const int number = p.suppliers[static_cast<size_t>(s)].number;
        const std::string text = named ? format("%d - %s", number, p.supplier_name(s).c_str()) : format("%d", number);
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessage(combo, CB_SETCURSEL, 0, 0);
}

// A material named by its two letters; false when either is not found.
bool material_of(CPurchasingWnd& p, const std::string& code, int& family, int& material)
{
    uint16_t f = 0xFFFF, m = 0xFFFF;
    if (code.size() == 2)
        p.find_material_by_code(code.c_str(), f, m);
    if (f == 0xFFFF || m == 0xFFFF)
        return false;
    family = f;
    material = m;
    return true;
}

std::string not_supplied(const CPurchasingWnd& p, int supplier, int family, int material)
{
    return format(lang_translate("Supplier: %s does not supply to material: %c%c"), p.supplier_name(supplier).c_str(),
                  p.family_letter(family), p.material_letter(family, material));
}

std::vector<std::pair<int, int>> all_materials(const CPurchasingWnd& p)
{
    std::vector<std::pair<int, int>> list;
    for (int f = 0; f < p.family_count(); ++f)
        for (int m = 0; m < p.material_count(f); ++m)
            list.emplace_back(f, m);
    return list;
}

void paint_grid(HWND dlg, const CGrid& grid)
{
    PAINTSTRUCT ps{};
    HDC dc = plat::BeginPaint(dlg, &ps);
    grid.Draw(dc);
    plat::EndPaint(dlg, &ps);
}

CWnd* owner_of(HWND w) { return w != 0 ? CWnd::FromHandle(w) : nullptr; }

} // namespace

void register_purchasing_dialog_templates(HINSTANCE module)
{
    if (FindDialogTemplate(module, IDD_PRC_ORDER) == nullptr)
        RegisterDialogTemplates(module, templates());
}

CPrcDialog::CPrcDialog(int templateId, int help_context, CWnd* parent)
    : CSimDialog(templateId, current_dialog_registry(), parent), m_help(help_context)
{
}

BOOL CPrcDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PRC_DIALOG_HELP) {
        WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(m_help));
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// ---- Order --------------------------------------------------------------------

CPrcOrderDlg::CPrcOrderDlg(CPurchasingWnd& p, CWnd* parent)
    : CPrcDialog(IDD_PRC_ORDER, HELP_ORDER, parent), m_p(p)
{
}

BOOL CPrcOrderDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    fill_material_codes(plat::GetDlgItem(m_hWnd, IDC_ORDER_MATERIAL), m_p);
    const HWND suppliers = plat::GetDlgItem(m_hWnd, IDC_ORDER_SUPPLIER);
    fill_suppliers(suppliers, m_p, true);
    if (m_p.supplier_count == 1)
        plat::EnableWindow(suppliers, FALSE);
    return TRUE;
}

BOOL CPrcOrderDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_ORDER_BUTTON || LOWORD(wParam) == IDC_ORDER_SILENT) {
        place_order(LOWORD(wParam) == IDC_ORDER_BUTTON);
        return TRUE;
    }
    return CPrcDialog::OnCommand(wParam, lParam);
}

void CPrcOrderDlg::place_order(bool confirm)
{
    const std::string code = item_text(m_hWnd, IDC_ORDER_MATERIAL);
    int f = 0, m = 0;
    if (!material_of(m_p, code, f, m)) {
        refuse(m_hWnd, "Invalid material name:", code, "Order");
        return;
    }
    const std::string quantity = item_text(m_hWnd, IDC_ORDER_QTY);
    // A vendor order holds at most 32767 units.
    const std::optional<long> q = read_number(quantity, 1, 32767);
    if (!q) {
        refuse(m_hWnd, "Invalid quantity:", quantity, "Order");
        return;
    }
    const int supplier =
        std::max(0, static_cast<int>(plat::SendDlgItemMessage(m_hWnd, IDC_ORDER_SUPPLIER, CB_GETCURSEL, 0, 0)));
    if (supplier >= m_p.supplier_count || !m_p.supplier_sells(supplier, f, m)) {
        box(m_hWnd, not_supplied(m_p, std::min<int>(supplier, m_p.supplier_count - 1), f, m), "Order");
        return;
    }
    // The chosen supplier is the material's supplier for this order only.
    RawMaterial& r = m_p.material(f, m);
    const int16_t previous = r.default_supplier;
    r.default_supplier = static_cast<int16_t>(supplier);
    m_p.reapply_default_suppliers();
    const bool placed = m_p.place_vendor_order(f, m, static_cast<int>(*q));
    r.default_supplier = previous;
    m_p.reapply_default_suppliers();
    if (!placed)
        return;   // the table is full; the engine said so
    m_p.ui().redraw_material(REDRAW_ON_ORDER, f, m);
    plat::SetDlgItemText(m_hWnd, IDC_ORDER_QTY, "");
    if (confirm)
        box(m_hWnd, "Order accepted", "Order");
    m_p.log("PrcOrder", code, "-----", quantity);
}

// ---- Suppliers ----------------------------------------------------------------

CSuppliersDlg::CSuppliersDlg(CPurchasingWnd& p, CWnd* parent)
    : CPrcDialog(IDD_PRC_SUPPLIERS, HELP_SUPPLIERS, parent),
      m_p(p),
      m_materials(all_materials(p)),
      m_grid(std::make_unique<CGrid>())
{
    for (const auto& [f, m] : m_materials)
        m_chosen.push_back(p.material(f, m).default_supplier);
}

CSuppliersDlg::~CSuppliersDlg() = default;

BOOL CSuppliersDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    CGrid& g = *m_grid;
    g.AddColumn(lang_translate("Name"), SS_LEFT);
    g.AddColumn(lang_translate("Shipping"), SS_RIGHT);
    g.AddColumn(lang_translate("Lead Time"), SS_RIGHT);
    const int columns = std::min<int>(static_cast<int>(m_materials.size()), CGrid::MAX_COLUMNS - 3);
    m_materials.resize(static_cast<size_t>(columns));
    for (const auto& [f, m] : m_materials)
        g.AddColumn(m_p.material_code(f, m).c_str(), SS_RIGHT);
    const int rows = std::min<int>(m_p.supplier_count, CGrid::MAX_ROWS);
    for (int s = 0; s < rows; ++s)
        g.AddRow(format("%d", m_p.suppliers[static_cast<size_t>(s)].number).c_str());
    g.SetHeaderWidth(40);
    const int bottom = 10 + 20 + rows * 22;
    g.Create(IDC_SUPPLIERS_GRID, this, 10, 10, 610, bottom, 0);
    // The note and the buttons stand for a grid of every supplier there can be.
    shorten_below(m_hWnd, 296, grid_bottom(MAX_SUPPLIERS) - bottom,
                  {IDC_SUPPLIERS_NOTE, IDOK, IDCANCEL, IDC_PRC_DIALOG_HELP, IDC_SUPPLIERS_CHANGE});
    fill();
    return TRUE;
}

void CSuppliersDlg::fill()
{
    CGrid& g = *m_grid;
    for (int s = 0; s < g.GetRowCount(); ++s) {
        const Supplier& sup = m_p.suppliers[static_cast<size_t>(s)];
        g.SetCellText(s, 0, m_p.supplier_name(s).c_str());
        g.SetCellText(s, 1, format("%d", sup.shipping_cost).c_str());
        g.SetCellText(s, 2, format("%d", sup.quoted_lead).c_str());
        for (size_t i = 0; i < m_materials.size(); ++i) {
            const auto [f, m] = m_materials[i];
            std::string text = "-------";
            if (m_p.supplier_sells(s, f, m)) {
                const int price = m_p.get_supplier_price(s, f, m);
                text = m_chosen[i] == s ? format("(C) %d", price) : format("%d", price);
            }
            g.SetCellText(s, static_cast<int>(i) + 3, text.c_str());
        }
    }
}

void CSuppliersDlg::choose(int material_index, int supplier)
{
    m_chosen[static_cast<size_t>(material_index)] = supplier;
    fill();
    plat::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSuppliersDlg::OnLButtonDown(UINT, POINT pt)
{
    int row = 0, col = 0;
    if (!m_grid->HitTest(pt.x, pt.y, &row, &col) || col < 3)
        return;
    const int i = col - 3;
    const auto [f, m] = m_materials[static_cast<size_t>(i)];
    if (m_p.supplier_sells(row, f, m))
        choose(i, row);
}

BOOL CSuppliersDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_SUPPLIERS_CHANGE) {
        CChangeSupplierDlg dlg(m_p, this);
        if (dlg.DoModal() == IDOK) {
            const auto at = std::find(m_materials.begin(), m_materials.end(), std::pair{dlg.family, dlg.material});
            if (at != m_materials.end())
                choose(static_cast<int>(at - m_materials.begin()), dlg.supplier);
        }
        return TRUE;
    }
    return CPrcDialog::OnCommand(wParam, lParam);
}

void CSuppliersDlg::OnPaint() { paint_grid(m_hWnd, *m_grid); }

void CSuppliersDlg::OnOK()
{
    bool changed = false;
    for (size_t i = 0; i < m_materials.size(); ++i) {
        const auto [f, m] = m_materials[i];
        RawMaterial& r = m_p.material(f, m);
        if (r.default_supplier == m_chosen[i])
            continue;
        m_p.log("Supplier", m_p.material_code(f, m), format("%d", r.default_supplier), format("%d", m_chosen[i]));
        r.default_supplier = static_cast<int16_t>(m_chosen[i]);
        changed = true;
    }
    if (changed)
        m_p.reapply_default_suppliers();
    EndDialog(IDOK);
}

// ---- Change Supplier ----------------------------------------------------------

CChangeSupplierDlg::CChangeSupplierDlg(CPurchasingWnd& p, CWnd* parent)
    : CPrcDialog(IDD_PRC_CHANGE_SUPPLIER, HELP_CHANGE_SUPPLIER, parent), m_p(p)
{
}

BOOL CChangeSupplierDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    fill_material_codes(plat::GetDlgItem(m_hWnd, IDC_CHANGE_MATERIAL), m_p);
    fill_suppliers(plat::GetDlgItem(m_hWnd, IDC_CHANGE_SUPPLIER), m_p, false);
    return TRUE;
}

void CChangeSupplierDlg::OnOK()
{
    const std::string code = item_text(m_hWnd, IDC_CHANGE_MATERIAL);
    int f = 0, m = 0;
    if (!material_of(m_p, code, f, m)) {
        box(m_hWnd, format(lang_translate("Invalid material name: %s"), code.c_str()), "Change Supplier");
        return;
    }
    const std::string number = item_text(m_hWnd, IDC_CHANGE_SUPPLIER);
    const std::optional<long> n = read_number(number, -32768, 32767);
    int s = 0;
    while (s < m_p.supplier_count && (!n || m_p.suppliers[static_cast<size_t>(s)].number != *n))
        ++s;
    if (s == m_p.supplier_count) {
        box(m_hWnd, format(lang_translate("Invalid supplier ID: %s"), number.c_str()), "Change Supplier");
        return;
    }
    // A supplier that does not sell the material has no price to give it.
    if (!m_p.supplier_sells(s, f, m)) {
        box(m_hWnd, not_supplied(m_p, s, f, m), "Change Supplier");
        return;
    }
    family = f;
    material = m;
    supplier = s;
    EndDialog(IDOK);
}

// ---- Launchers ----------------------------------------------------------------

void run_prc_order(CPurchasingWnd& p, CWnd* owner)
{
    CPrcOrderDlg dlg(p, owner);
    dlg.DoModal();
}

void run_prc_suppliers(CPurchasingWnd& p, CWnd* owner)
{
    CSuppliersDlg dlg(p, owner);
    dlg.DoModal();
}

void run_prc_packages(CPurchasingWnd& p, CWnd* owner)
{
    CPackagesDlg dlg(p, owner);
    dlg.DoModal();
}

void run_material_parameters(CPurchasingWnd& p, CWnd* owner)
{
    CMaterialParametersDlg dlg(p, owner);
    if (dlg.DoModal() == IDOK && p.policy == POLICY_MRP)
        p.mrp_ordering();
}

void run_purchasing_policy(CPurchasingWnd& p, int release_policy, CWnd* owner, const std::function<void()>& repaint)
{
    CPurchasingPolicyDlg dlg(p, release_policy, owner);
    if (dlg.DoModal() != IDOK)
        return;
    p.policy_changed();
    // Levels shown by the policy, and under MRP a re-plan when one is due.
    p.apply_purchasing_policy();
    if (repaint)
        repaint();
}

int run_contract_end(const CPurchasingWnd& p, const PurchaseContract& contract, CWnd* owner)
{
    CPrcContractEndDlg dlg(p, contract, owner);
    const intptr_t choice = dlg.DoModal();
    return choice == CONTRACT_RENEW || choice == CONTRACT_END ? static_cast<int>(choice) : CONTRACT_HOLD;
}

namespace {

// Dialogs open only in the windowed program, where the department has its panel.
bool windowed(PurchasingDepartment& dept)
{
    if (dept.window() == nullptr)
        return false;
    register_purchasing_dialog_templates(AfxGetResourceHandle());
    return true;
}

} // namespace

bool run_purchasing_dialog_command(PurchasingDepartment& dept, int id)
{
    if (id != 401 && id != 402 && id != 403 && id != 501 && id != 502)
        return false;
    if (!windowed(dept))
        return true;
    CPurchasingWnd& p = dept.engine();
    CWnd* owner = owner_of(dept.window_handle());
    switch (id) {
    case 401: run_prc_order(p, owner); break;
    case 402: run_prc_packages(p, owner); break;
    case 403: run_prc_suppliers(p, owner); break;
    case 501: run_material_parameters(p, owner); break;
    default: {
        const int release = p.production != nullptr ? p.production->raw_material_release_policy() : 0;
        run_purchasing_policy(p, release, owner, [&dept] { dept.Repaint(); });
        break;
    }
    }
    return true;
}

void edit_material_parameters(PurchasingDepartment& dept)
{
    if (windowed(dept))
        run_material_parameters(dept.engine(), owner_of(dept.window_handle()));
}

int ask_contract_end_dialog(PurchasingDepartment& dept, const PurchaseContract& contract)
{
    if (!windowed(dept))
        return 0;
    return run_contract_end(dept.engine(), contract, owner_of(dept.window_handle()));
}
