// The Production policies' dialogs: they show a policy and hand back what
// the user chose; the department's command stores it.
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/utils.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/help.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "production/production_dialogs.h"
#include "uikit/grid.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace plat;

namespace {

constexpr int HELP_BUTTON = 3;

void enable(HWND dlg, int id, bool on)
{
    if (const HWND w = plat::GetDlgItem(dlg, id); w != 0)
        EnableWindow(w, on ? TRUE : FALSE);
}

bool help(HWND dlg, WPARAM wParam, int context)
{
    if (LOWORD(wParam) != HELP_BUTTON)
        return false;
    WinHelp(dlg, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(context));
    return true;
}

// Release choices in the order of their radio buttons.
constexpr int RELEASE_RADIOS[] = {1105, 1100, 1106, 1339, 1325};

} // namespace

// ---- Raw Material Release --------------------------------------------------------

CRawMaterialReleaseDlg::CRawMaterialReleaseDlg(std::vector<std::string> machine_names, CWnd* parent)
    : CSimDialog(IDD_RAW_MATERIAL_RELEASE, current_dialog_registry(), parent), m_names(std::move(machine_names))
{
}

BOOL CRawMaterialReleaseDlg::OnInitDialog()
{
    for (const std::string& name : m_names)
        plat::SendDlgItemMessage(m_hWnd, 1335, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    CSimDialog::OnInitDialog();
    enable_for(choice);
    // The drum-buffer-rope choices are set through the DBR command.
    enable(m_hWnd, 1339, false);
    enable(m_hWnd, 1325, false);
    return TRUE;
}

void CRawMaterialReleaseDlg::enable_for(int chosen)
{
    for (int id : {1107, 1108, 1109})
        enable(m_hWnd, id, chosen == 1);
    for (int id : {1335, 1333, 1334, 1240, 1241})
        enable(m_hWnd, id, chosen == 3);
    enable(m_hWnd, 1332, chosen == 3 || chosen == 4);
}

BOOL CRawMaterialReleaseDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (help(m_hWnd, wParam, HELP_CONTEXT_ID))
        return TRUE;
    for (int i = 0; i < 5; ++i)
        if (LOWORD(wParam) == RELEASE_RADIOS[i] && HIWORD(wParam) == BN_CLICKED) {
            enable_for(i);
            break;
        }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CRawMaterialReleaseDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, 1105, choice);
    DDX_Text(dx, 1108, lead_days);
    DDV_MinMaxInt(dx, lead_days, 0, MAX_LEAD_DAYS);
    DDX_Check(dx, 1271, mrp_option);
    DDX_CBIndex(dx, 1335, constraint_machine);
    DDX_Text(dx, 1332, shipping_buffer);
    DDV_MinMaxInt(dx, shipping_buffer, 0, MAX_HOURS);
    DDX_Text(dx, 1333, constraint_buffer);
    DDV_MinMaxInt(dx, constraint_buffer, 0, MAX_HOURS);
    DDX_Text(dx, 1334, assembly_buffer);
    DDV_MinMaxInt(dx, assembly_buffer, 0, MAX_HOURS);
    DDX_Text(dx, 1240, contract_factor);
    DDX_Text(dx, 1241, red_line_hours);
    DDV_MinMaxInt(dx, red_line_hours, 0, MAX_HOURS);
}

void CRawMaterialReleaseDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // The factor is a percentage of the contract's own buffer.
    if (!std::isfinite(contract_factor) || contract_factor < 0 || contract_factor > 100) {
        lang_message_box(m_hWnd, "Please enter a number between 0 and 100.", GetWindowText().c_str(), MB_OK);
        return;
    }
    if (choice < 0)
        choice = 0;
    EndDialog(IDOK);
}

// ---- Schedules Options -----------------------------------------------------------

CSchedulesOptionsDlg::CSchedulesOptionsDlg(std::string machine_name, CWnd* parent)
    : CSimDialog(IDD_SCHEDULES_OPTIONS, current_dialog_registry(), parent), m_name(std::move(machine_name))
{
}

BOOL CSchedulesOptionsDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    SetWindowText((std::string(lang_translate("Schedules Options")) + " - " + m_name).c_str());
    return TRUE;
}

void CSchedulesOptionsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, 1113, option);
}

// ---- Planning For Contracts ------------------------------------------------------

CPlanningForContractsDlg::CPlanningForContractsDlg(CWnd* parent)
    : CSimDialog(IDD_PLANNING_FOR_CONTRACTS, current_dialog_registry(), parent)
{
}

BOOL CPlanningForContractsDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    show_by_qlt(by_qlt != 0);
    return TRUE;
}

void CPlanningForContractsDlg::show_by_qlt(bool on)
{
    for (int id : {DAYS_BEFORE_LABEL, DAYS_BEFORE, MERGE_LABEL, MERGE})
        enable(m_hWnd, id, !on);
}

BOOL CPlanningForContractsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (help(m_hWnd, wParam, HELP_CONTEXT_ID))
        return TRUE;
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == BY_QLT)
        show_by_qlt(plat::IsDlgButtonChecked(m_hWnd, BY_QLT) == BST_CHECKED);
    return CSimDialog::OnCommand(wParam, lParam);
}

void CPlanningForContractsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, BY_QLT, by_qlt);
    DDX_Text(dx, DAYS_BEFORE, days_before);
    DDX_Text(dx, MERGE, merge);
    // What the market keeps of them: numbers of working days.
    if (by_qlt == 0) {
        DDV_MinMaxInt(dx, days_before, 0, 32767);
        DDV_MinMaxInt(dx, merge, 0, 32767);
    }
}

// ---- Transport Policy, Work Order Kit --------------------------------------------

CTwoChoiceDlg::CTwoChoiceDlg(int template_id, CWnd* parent)
    : CSimDialog(template_id, current_dialog_registry(), parent)
{
}

void CTwoChoiceDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, m_nIDTemplate == IDD_TRANSPORT_POLICY ? 1110 : 1115, choice);
}

// ---- Work Order Planning ---------------------------------------------------------

CWorkOrderPlanningDlg::CWorkOrderPlanningDlg(CWnd* parent)
    : CSimDialog(IDD_WORK_ORDER_PLANNING, current_dialog_registry(), parent)
{
}

BOOL CWorkOrderPlanningDlg::OnInitDialog()
{
    for (const char* d : {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"})
        plat::SendDlgItemMessage(m_hWnd, 1150, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lang_translate(d)));
    // The field not in use shows its default.
    if (mode == 1)
        interval = 10;
    else
        day = 2;
    CSimDialog::OnInitDialog();
    show_mode(mode);
    return TRUE;
}

void CWorkOrderPlanningDlg::show_mode(int shown)
{
    static const char* const labels[3] = {"Fixed interval:", "Day of week:", "Day of month:"};
    const int m = shown >= 0 && shown <= 2 ? shown : 0;
    plat::SetDlgItemText(m_hWnd, 1153, lang_translate(labels[m]));
    enable(m_hWnd, 1149, m != 1);
    enable(m_hWnd, 1150, m == 1);
}

BOOL CWorkOrderPlanningDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (help(m_hWnd, wParam, HELP_CONTEXT_ID))
        return TRUE;
    if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == 1146 || LOWORD(wParam) == 1147))
        show_mode(LOWORD(wParam) == 1146 ? 0 : 1);
    return CSimDialog::OnCommand(wParam, lParam);
}

void CWorkOrderPlanningDlg::DoDataExchange(CDataExchange* dx)
{
    // A scenario's day-of-month planning has no button: it stays unless one is clicked.
    int radio = mode == 2 ? -1 : mode;
    DDX_Radio(dx, 1146, radio);
    if (radio >= 0)
        mode = radio;
    DDX_Text(dx, 1149, interval);
    if (mode != 1)
        DDV_MinMaxInt(dx, interval, 1, 40);
    DDX_CBIndex(dx, 1150, day);
    DDX_Text(dx, 1152, min_batch);
    DDV_MinMaxInt(dx, min_batch, 0, 32767);
}

// ---- Set Machine Policy ----------------------------------------------------------

namespace {

constexpr int GRID_FRAME = 1251;

RECT frame_rect(HWND dlg)
{
    RECT r{};
    if (const HWND frame = plat::GetDlgItem(dlg, GRID_FRAME); frame != 0) {
        plat::GetWindowRect(frame, &r);
        POINT a{r.left, r.top}, b{r.right, r.bottom};
        plat::ScreenToClient(dlg, &a);
        plat::ScreenToClient(dlg, &b);
        r = RECT{a.x, a.y, b.x, b.y};
    }
    return r;
}

} // namespace

CSetMachinePolicyDlg::CSetMachinePolicyDlg(std::vector<Row> machines, CWnd* parent)
    : CSimDialog(IDD_SET_MACHINE_POLICY, current_dialog_registry(), parent), rows(std::move(machines)),
      m_grid(std::make_unique<CGrid>())
{
}

CSetMachinePolicyDlg::~CSetMachinePolicyDlg() = default;

BOOL CSetMachinePolicyDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    CGrid& g = *m_grid;
    g.SetCellKind(CGrid::CHOICE_CELLS);
    g.AddColumn(lang_translate("Dispatch Policy"), SS_LEFT);
    g.AddColumn(lang_translate("WO Acceptance"), SS_LEFT);
    for (const char* rule : {"FIFO", "Current job", "Schedule", "EDD"})
        g.AddChoiceItem(0, lang_translate(rule));
    // The priority rule comes only from a scenario; it is offered where a machine has it.
    bool priority = false;
    for (const Row& r : rows)
        priority = priority || r.rule == 4;
    if (priority)
        g.AddChoiceItem(0, "PRI");
    for (const char* acceptance : {"Complete WO", "Partial WO"})
        g.AddChoiceItem(1, lang_translate(acceptance));
    for (const Row& r : rows)
        g.AddRow(r.name.c_str());
    const RECT frame = frame_rect(m_hWnd);
    const int width = frame.right - frame.left + 10;
    const int height = static_cast<int>(rows.size()) * 20 + 43;
    g.Create(IDD_SET_MACHINE_POLICY, this, 10, 13, 10 + width, 13 + height, 0);
    for (size_t i = 0; i < rows.size() && static_cast<int>(i) < g.GetRowCount(); ++i) {
        g.SetComboSel(static_cast<int>(i), 0, rows[i].rule);
        g.SetComboSel(static_cast<int>(i), 1, rows[i].acceptance);
    }
    return TRUE;
}

BOOL CSetMachinePolicyDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (help(m_hWnd, wParam, HELP_CONTEXT_ID))
        return TRUE;
    return CSimDialog::OnCommand(wParam, lParam);
}

void CSetMachinePolicyDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    m_grid->Draw(dc);
    EndPaint(m_hWnd, &ps);
}

void CSetMachinePolicyDlg::OnOK()
{
    for (size_t i = 0; i < rows.size() && static_cast<int>(i) < m_grid->GetRowCount(); ++i) {
        const int rule = m_grid->GetComboSel(static_cast<int>(i), 0);
        const int acceptance = m_grid->GetComboSel(static_cast<int>(i), 1);
        if (rule >= 0)
            rows[i].rule = rule;
        if (acceptance >= 0)
            rows[i].acceptance = acceptance;
    }
    EndDialog(IDOK);
}

// ---- Red line level policy -------------------------------------------------------

CRedLinePolicyDlg::CRedLinePolicyDlg(bool times, std::vector<Row> products, CWnd* parent)
    : CSimDialog(IDD_RED_LINE_LEVEL_POLICY, current_dialog_registry(), parent), rows(std::move(products)),
      m_times(times), m_grid(std::make_unique<CGrid>())
{
}

CRedLinePolicyDlg::~CRedLinePolicyDlg() = default;

BOOL CRedLinePolicyDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    CGrid& g = *m_grid;
    g.AddColumn(lang_translate(m_times ? "Red Line Time" : "Red Line Level"), SS_RIGHT);
    for (const Row& r : rows)
        g.AddRow(r.code.c_str());
    const RECT frame = frame_rect(m_hWnd);
    g.Create(IDD_RED_LINE_LEVEL_POLICY, this, frame.left, frame.top, frame.right,
             frame.top + static_cast<int>(rows.size()) * 22 + 20, 0);
    for (size_t i = 0; i < rows.size() && static_cast<int>(i) < g.GetRowCount(); ++i)
        g.SetCellInt(static_cast<int>(i), 0, rows[i].value);
    return TRUE;
}

BOOL CRedLinePolicyDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (help(m_hWnd, wParam, HELP_CONTEXT_ID))
        return TRUE;
    return CSimDialog::OnCommand(wParam, lParam);
}

void CRedLinePolicyDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    m_grid->Draw(dc);
    EndPaint(m_hWnd, &ps);
}

void CRedLinePolicyDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, 1127, policy);
}

void CRedLinePolicyDlg::OnOK()
{
    m_grid->EndEdit();
    std::vector<int16_t> values;
    for (size_t i = 0; i < rows.size() && static_cast<int>(i) < m_grid->GetRowCount(); ++i) {
        int16_t v = 0;
        // A figure below 0 or beyond 16 bits is not a level or a time.
        if (!m_grid->GetCellInt(static_cast<int>(i), 0, &v) || v < 0) {
            lang_message_box(m_hWnd, "Please enter a number between 0 and 32767.", GetWindowText().c_str(), MB_OK);
            return;
        }
        values.push_back(v);
    }
    if (!UpdateData(TRUE))
        return;
    for (size_t i = 0; i < values.size(); ++i)
        rows[i].value = values[i];
    EndDialog(IDOK);
}

// ---- Assemble to order -----------------------------------------------------------

CAssembleToOrderDlg::CAssembleToOrderDlg(std::string title, CWnd* parent)
    : CSimDialog(IDD_ASSEMBLE_TO_ORDER, current_dialog_registry(), parent), m_title(std::move(title))
{
}

BOOL CAssembleToOrderDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    SetWindowText(m_title.c_str());
    follow_active();
    return TRUE;
}

void CAssembleToOrderDlg::follow_active()
{
    const bool on = plat::IsDlgButtonChecked(m_hWnd, 1210) == BST_CHECKED;
    for (int id : {1211, 1212, 1214})
        enable(m_hWnd, id, on);
}

BOOL CAssembleToOrderDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (help(m_hWnd, wParam, HELP_CONTEXT_ID))
        return TRUE;
    if (LOWORD(wParam) == 1210 && HIWORD(wParam) == BN_CLICKED)
        follow_active();
    return CSimDialog::OnCommand(wParam, lParam);
}

void CAssembleToOrderDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, 1210, active);
    // The levels are 16-bit unit counts.
    DDX_Text(dx, 1211, max_level);
    DDV_MinMaxInt(dx, max_level, 0, 32767);
    DDX_Text(dx, 1212, order_level);
    DDV_MinMaxInt(dx, order_level, 0, 32767);
    DDX_Text(dx, 1214, red_level);
    DDV_MinMaxInt(dx, red_level, 0, 32767);
}

// ---- Make or Buy Decision --------------------------------------------------------

CMakeOrBuyDlg::CMakeOrBuyDlg(CWnd* parent) : CSimDialog(IDD_MAKE_OR_BUY, current_dialog_registry(), parent) {}

BOOL CMakeOrBuyDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (help(m_hWnd, wParam, HELP_CONTEXT_ID))
        return TRUE;
    return CSimDialog::OnCommand(wParam, lParam);
}

void CMakeOrBuyDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, 1248, source);
}

// ---- DBR Params ------------------------------------------------------------------

CDbrParamsDlg::CDbrParamsDlg(std::vector<std::string> machine_names, CWnd* parent)
    : CSimDialog(IDD_DBR_PARAMS, current_dialog_registry(), parent), m_names(std::move(machine_names))
{
}

BOOL CDbrParamsDlg::OnInitDialog()
{
    for (const std::string& name : m_names)
        plat::SendDlgItemMessage(m_hWnd, 1236, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    CSimDialog::OnInitDialog();
    return TRUE;
}

void CDbrParamsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_CBIndex(dx, 1236, constraint_machine);
    DDX_Text(dx, 1239, shipping_buffer);
    DDV_MinMaxInt(dx, shipping_buffer, 0, CRawMaterialReleaseDlg::MAX_HOURS);
    DDX_Text(dx, 1237, constraint_buffer);
    DDV_MinMaxInt(dx, constraint_buffer, 0, CRawMaterialReleaseDlg::MAX_HOURS);
    DDX_Text(dx, 1238, assembly_buffer);
    DDV_MinMaxInt(dx, assembly_buffer, 0, CRawMaterialReleaseDlg::MAX_HOURS);
    DDX_Text(dx, 1240, contract_factor);
}

void CDbrParamsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (!std::isfinite(contract_factor) || contract_factor < 0 || contract_factor > 100) {
        lang_message_box(m_hWnd, "Please enter a number between 0 and 100.", GetWindowText().c_str(), MB_OK);
        return;
    }
    if (constraint_machine < 0) {
        lang_message_box(m_hWnd, "No Product Selected", GetWindowText().c_str(), MB_OK);
        return;
    }
    EndDialog(IDOK);
}

// ---- Buy Machine Unit ------------------------------------------------------------

CBuyMachineUnitDlg::CBuyMachineUnitDlg(CProductionWnd& plant, DecisionLog log, CWnd* parent)
    : CSimDialog(IDD_BUY_MACHINE_UNIT, current_dialog_registry(), parent), m_plant(plant), m_log(std::move(log))
{
}

BOOL CBuyMachineUnitDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const int stops[] = {5, 47, 65, 90};
    plat::SendDlgItemMessage(m_hWnd, 1164, LB_SETTABSTOPS, 4, reinterpret_cast<LPARAM>(stops));
    const std::string units = lang_translate("units"), months = lang_translate("months");
    line_machines.clear();
    for (size_t i = 0; i < m_plant.Machines.size(); ++i) {
        const RMachine& m = *m_plant.Machines[i];
        const int room = static_cast<int>(std::min<size_t>(m.max_units, MAX_UNITS)) - static_cast<int>(m.Units.size());
        if (room <= 0 || m.Units.empty())
            continue;
        char line[160];
        std::snprintf(line, sizeof line, "\t%s\t%d %s\t%ld\t%d %s", m.name, room, units.c_str(),
                      static_cast<long>(m.unit_price), static_cast<int>(m.delivery_months), months.c_str());
        plat::SendDlgItemMessage(m_hWnd, 1164, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        line_machines.push_back(static_cast<int>(i));
    }
    return TRUE;
}

void CBuyMachineUnitDlg::OnOK()
{
    const LRESULT row = plat::SendDlgItemMessage(m_hWnd, 1164, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR || row < 0 || static_cast<size_t>(row) >= line_machines.size()) {
        lang_message_box(m_hWnd, "No option selected in list", "Buy Machine Units", MB_OK);
        return;
    }
    const int machine = line_machines[static_cast<size_t>(row)];
    RMachine& m = *m_plant.Machines[static_cast<size_t>(machine)];
    const size_t before = m.Units.size();
    m_plant.buy_machine_unit(machine);
    // Finance may refuse the purchase: then no unit came and nothing is claimed.
    if (m.Units.size() == before) {
        EndDialog(IDCANCEL);
        return;
    }
    char text[160];
    std::snprintf(text, sizeof text, lang_translate("New unit bought successfully to machine: %s"), m.name);
    lang_message_box(m_hWnd, text, "Buy Machine Units", MB_OK);
    if (m_log)
        m_log("BuyMachineUnit", m.name, "-----", "-----", 2, 0);
    EndDialog(IDOK);
}

// ---- Product Priority ------------------------------------------------------------

CProductPriorityDlg::CProductPriorityDlg(std::vector<std::pair<std::string, int16_t>> rows, CWnd* parent)
    : CSimDialog(IDD_PRODUCT_PRIORITY, current_dialog_registry(), parent), products(std::move(rows)),
      m_grid(std::make_unique<CGrid>())
{
}

CProductPriorityDlg::~CProductPriorityDlg() = default;

BOOL CProductPriorityDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    plat::CheckDlgButton(m_hWnd, 1241, enabled != 0 ? BST_CHECKED : BST_UNCHECKED);
    CGrid& g = *m_grid;
    g.AddColumn(lang_translate("Priority"), SS_RIGHT);
    for (const auto& [code, priority] : products) {
        char title[16];
        std::snprintf(title, sizeof title, "%3s", code.c_str());
        g.AddRow(title);
    }
    RECT client{};
    GetClientRect(&client);
    g.Create(IDD_PRODUCT_PRIORITY, this, 10, 40, client.right - 10,
             40 + static_cast<int>(products.size()) * 22 + 60, 0);
    for (size_t i = 0; i < products.size() && static_cast<int>(i) < g.GetRowCount(); ++i)
        g.SetCellInt(static_cast<int>(i), 0, products[i].second);
    g.EnableCells(enabled != 0 ? TRUE : FALSE);
    return TRUE;
}

BOOL CProductPriorityDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == 1241 && HIWORD(wParam) == BN_CLICKED)
        m_grid->EnableCells(plat::IsDlgButtonChecked(m_hWnd, 1241) == BST_CHECKED ? TRUE : FALSE);
    return CSimDialog::OnCommand(wParam, lParam);
}

void CProductPriorityDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    m_grid->Draw(dc);
    EndPaint(m_hWnd, &ps);
}

void CProductPriorityDlg::OnOK()
{
    m_grid->EndEdit();
    enabled = plat::IsDlgButtonChecked(m_hWnd, 1241) == BST_CHECKED ? 1 : 0;
    for (size_t i = 0; i < products.size(); ++i) {
        int16_t v = 0;
        if (enabled == 0) {
            products[i].second = 0;
            continue;
        }
        if (static_cast<int>(i) >= m_grid->GetRowCount() || !m_grid->GetCellInt(static_cast<int>(i), 0, &v)) {
            lang_message_box(m_hWnd, "Please enter a number between -32768 and 32767.", GetWindowText().c_str(),
                             MB_OK);
            return;
        }
        products[i].second = v;
    }
    EndDialog(IDOK);
}

// ---- Add Extra Shift -------------------------------------------------------------

CAddExtraShiftDlg::CAddExtraShiftDlg(int date_order, double day_cost, CWnd* parent)
    : CSimDialog(IDD_ADD_EXTRA_SHIFT, current_dialog_registry(), parent), m_order(date_order), m_cost(day_cost)
{
}

BOOL CAddExtraShiftDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    plat::SetDlgItemText(m_hWnd, 1178, date_text(from, m_order).c_str());
    plat::SetDlgItemText(m_hWnd, 1179, date_text(to, m_order).c_str());
    char cost[64];
    std::snprintf(cost, sizeof cost, "$%0.0f", m_cost);
    plat::SetDlgItemText(m_hWnd, 1321, cost);
    return TRUE;
}

void CAddExtraShiftDlg::OnOK()
{
    char text[64] = {};
    SimDateTime a{}, b{};
    char box[160];
    plat::GetDlgItemText(m_hWnd, 1178, text, sizeof text);
    if (parse_date_text(text, m_order, a) == 0) {
        std::snprintf(box, sizeof box, lang_translate("Invalid From date: %s"), text);
        lang_message_box(m_hWnd, box, GetWindowText().c_str(), MB_OK);
        plat::SetFocus(plat::GetDlgItem(m_hWnd, 1178));
        return;
    }
    plat::GetDlgItemText(m_hWnd, 1179, text, sizeof text);
    if (parse_date_text(text, m_order, b) == 0) {
        std::snprintf(box, sizeof box, lang_translate("Invalid To date: %s"), text);
        lang_message_box(m_hWnd, box, GetWindowText().c_str(), MB_OK);
        plat::SetFocus(plat::GetDlgItem(m_hWnd, 1179));
        return;
    }
    if (date_to_minutes(b) < date_to_minutes(a)) {
        lang_message_box(m_hWnd, "'To' date must be bigger or equal than 'From' date", GetWindowText().c_str(), MB_OK);
        return;
    }
    from = a;
    to = b;
    EndDialog(IDOK);
}
