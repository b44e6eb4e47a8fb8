// Small dialogs that pick a machine or a common part for another command,
// place production orders by hand, or put a waiting job on a chosen unit.
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
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

using namespace plat;

namespace {

constexpr int NAME_COMBO = 1112;
constexpr int PRODUCT_LIST = 1088;
constexpr int QUANTITY_EDIT = 1130;
constexpr int ORDER_BUTTON = 1128;
constexpr int UNIT_LIST = 1164;
constexpr int WAITING_LIST = 1087;
constexpr int MACHINE_FRAME = 1235;
constexpr int HELP_BUTTON = 3;
constexpr int TYPED_MAX = 100;

std::string item_text(HWND dlg, int id)
{
    char text[TYPED_MAX + 1] = {};
    plat::GetDlgItemText(dlg, id, text, sizeof text);
    return text;
}

void fill_combo(HWND dlg, int id, const std::vector<std::string>& items)
{
    for (const std::string& s : items)
        plat::SendDlgItemMessage(dlg, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (!items.empty()) {
        plat::SendDlgItemMessage(dlg, id, CB_SETCURSEL, 0, 0);
        plat::SetDlgItemText(dlg, id, items.front().c_str());
    }
}

std::string product_code_of(const CProductionWnd& plant, const RWork_Order* wo)
{
    const int position = wo != nullptr ? wo->product_position() : -1;
    if (position < 0 || static_cast<size_t>(position) >= plant.Products.size())
        return "***";
    return plant.Products[static_cast<size_t>(position)]->code;
}

} // namespace

// ---- Get Machine Name ------------------------------------------------------------

CGetMachineNameDlg::CGetMachineNameDlg(CProductionWnd& plant, std::string title, CWnd* parent)
    : CSimDialog(IDD_GET_MACHINE_NAME, current_dialog_registry(), parent), m_plant(plant), m_title(std::move(title))
{
}

BOOL CGetMachineNameDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    SetWindowText(lang_translate(m_title.c_str()));
    std::vector<std::string> names;
    for (const auto& m : m_plant.Machines)
        names.emplace_back(m->name);
    fill_combo(m_hWnd, NAME_COMBO, names);
    return TRUE;
}

void CGetMachineNameDlg::OnOK()
{
    const std::string typed = item_text(m_hWnd, NAME_COMBO);
    result = -1;
    for (size_t i = 0; i < m_plant.Machines.size() && result < 0; ++i)
        if (strcasecmp(typed.c_str(), m_plant.Machines[i]->name) == 0)
            result = static_cast<int>(i);
    EndDialog(IDOK);
}

void CGetMachineNameDlg::OnCancel()
{
    result = -1;
    EndDialog(IDCANCEL);
}

// ---- Get Common Part Name --------------------------------------------------------

CGetCommonPartDlg::CGetCommonPartDlg(CProductionWnd& plant, CWnd* parent)
    : CSimDialog(IDD_GET_COMMON_PART, current_dialog_registry(), parent), m_plant(plant)
{
}

BOOL CGetCommonPartDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    std::vector<std::string> codes;
    for (const auto& p : m_plant.Products)
        if (p->stock_policy == 1)
            codes.emplace_back(p->code);
    if (codes.empty()) {
        lang_message_box(m_hWnd, "No common parts are defined", "Get Common Part Name", MB_OK);
        result = -1;
        EndDialog(IDCANCEL);
        return TRUE;
    }
    fill_combo(m_hWnd, NAME_COMBO, codes);
    return TRUE;
}

void CGetCommonPartDlg::OnOK()
{
    const std::string typed = item_text(m_hWnd, NAME_COMBO);
    for (size_t i = 0; i < m_plant.Products.size(); ++i) {
        const RProduct& p = *m_plant.Products[i];
        if (strcasecmp(typed.c_str(), p.code) == 0 && p.stock_policy == 1) {
            result = static_cast<int>(i);
            EndDialog(IDOK);
            return;
        }
    }
    lang_message_box(m_hWnd, "Invalid common part name", GetWindowText().c_str(), MB_OK);
}

void CGetCommonPartDlg::OnCancel()
{
    result = -1;
    EndDialog(IDCANCEL);
}

// ---- Order -----------------------------------------------------------------------

COrderDlg::COrderDlg(CProductionWnd& plant, DecisionLog log, CWnd* parent)
    : CSimDialog(IDD_PRODUCTION_ORDER, current_dialog_registry(), parent), m_plant(plant), m_log(std::move(log))
{
}

BOOL COrderDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    for (const auto& p : m_plant.Products)
        plat::SendDlgItemMessage(m_hWnd, PRODUCT_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p->code));
    plat::SendDlgItemMessage(m_hWnd, PRODUCT_LIST, LB_SETCURSEL, 0, 0);
    plat::SetDlgItemText(m_hWnd, QUANTITY_EDIT, "0");
    return TRUE;
}

BOOL COrderDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ORDER_BUTTON:
        place_order();
        return TRUE;
    case HELP_BUTTON:
        WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, HELP_CONTEXT_ID);
        return TRUE;
    default:
        return CSimDialog::OnCommand(wParam, lParam);
    }
}

void COrderDlg::place_order()
{
    const std::string text = item_text(m_hWnd, QUANTITY_EDIT);
    // The order's quantity is a 16-bit field: a larger one would be read negative.
    const int selected = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, PRODUCT_LIST, LB_GETCURSEL, 0, 0));
    if (validate_number(text.c_str(), 1, 32767) != 0 || text.find('.') != std::string::npos || selected < 0 ||
        static_cast<size_t>(selected) >= m_plant.Products.size()) {
        lang_message_box(m_hWnd, "Invaild quantity", "Order", MB_OK);
        return;
    }
    const int quantity = std::atoi(text.c_str());
    uint16_t family = NONE16, product = NONE16;
    m_plant.product_pair_of(selected, family, product);
    const int16_t family_id = family == NONE16 ? -1 : static_cast<int16_t>(family);
    m_plant.add_order(family_id, static_cast<int16_t>(product), static_cast<int16_t>(quantity), ORDER_MANUAL,
                      KIND_PRODUCT, 5);
    ++orders_placed;
    if (m_log)
        m_log("PrdOrder", std::to_string(selected), "", std::to_string(quantity), 2, 0);
    lang_message_box(m_hWnd, "Order accepted", "Production order", MB_OK | MB_ICONINFORMATION);
    plat::SetDlgItemText(m_hWnd, QUANTITY_EDIT, "0");
}

// ---- Set Unit Manually -----------------------------------------------------------

CSetUnitManuallyDlg::CSetUnitManuallyDlg(CProductionWnd& plant, int machine, DecisionLog log, MachineDrawer drawer,
                                         CWnd* parent)
    : CSimDialog(IDD_SET_UNIT_MANUALLY, current_dialog_registry(), parent), m_plant(plant), m_machine(machine),
      m_log(std::move(log)), m_drawer(std::move(drawer))
{
}

std::vector<std::string> CSetUnitManuallyDlg::lines(CProductionWnd& plant, int machine)
{
    std::vector<std::string> out;
    if (machine < 0 || static_cast<size_t>(machine) >= plant.Machines.size())
        return out;
    for (const auto& entry : plant.Machines[static_cast<size_t>(machine)]->Waiting_WOs_Data) {
        if (entry->request == nullptr || entry->job == nullptr)
            continue;
        const Waiting_WO& r = *entry->request;
        int allowed = r.quantity;
        if (!entry->job->inputs.empty())
            allowed = r.started + std::min<int>(r.remaining(), entry->job->parts_from_inputs(r.wo, r.x, r.y));
        char line[160];
        std::snprintf(line, sizeof line, "\t%s\t%s\t%s\t%d\t%d\t%3d", r.wo != nullptr ? r.wo->name : "***",
                      entry->job->name, product_code_of(plant, r.wo).c_str(), static_cast<int>(r.quantity),
                      r.remaining(), allowed);
        out.emplace_back(line);
    }
    return out;
}

BOOL CSetUnitManuallyDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const RMachine& m = *m_plant.Machines[static_cast<size_t>(m_machine)];
    const std::string unit = lang_translate("Unit");
    for (int i = 0; i < m.active_units; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, " %s %d", unit.c_str(), i + 1);
        plat::SendDlgItemMessage(m_hWnd, UNIT_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    plat::SendDlgItemMessage(m_hWnd, UNIT_LIST, LB_SETCURSEL, 0, 0);
    const int stops[] = {10, 34, 62, 89, 116, 143};
    plat::SendDlgItemMessage(m_hWnd, WAITING_LIST, LB_SETTABSTOPS, 6, reinterpret_cast<LPARAM>(stops));
    for (const std::string& line : lines(m_plant, m_machine))
        plat::SendDlgItemMessage(m_hWnd, WAITING_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    plat::SendDlgItemMessage(m_hWnd, WAITING_LIST, LB_SETCURSEL, 0, 0);
    return TRUE;
}

void CSetUnitManuallyDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    const HWND frame = plat::GetDlgItem(m_hWnd, MACHINE_FRAME);
    if (m_drawer && frame != 0) {
        RECT r{};
        plat::GetWindowRect(frame, &r);
        POINT corner{r.left, r.top};
        plat::ScreenToClient(m_hWnd, &corner);
        m_drawer(dc, m_machine, corner.x, corner.y);
    }
    EndPaint(m_hWnd, &ps);
}

void CSetUnitManuallyDlg::OnOK()
{
    RMachine& m = *m_plant.Machines[static_cast<size_t>(m_machine)];
    const int unit = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, UNIT_LIST, LB_GETCURSEL, 0, 0));
    const int row = static_cast<int>(plat::SendDlgItemMessage(m_hWnd, WAITING_LIST, LB_GETCURSEL, 0, 0));
    // The list shows only complete records; find the row's record the same way.
    Waiting_WO_Data* entry = nullptr;
    int seen = 0;
    for (const auto& e : m.Waiting_WOs_Data) {
        if (e->request == nullptr || e->job == nullptr)
            continue;
        if (seen++ == row) {
            entry = e.get();
            break;
        }
    }
    if (unit < 0 || unit >= m.active_units || static_cast<size_t>(unit) >= m.Units.size() || entry == nullptr) {
        lang_message_box(m_hWnd, "Can't set this job", "Set Unit Manualy", MB_OK | MB_ICONSTOP);
        return;
    }
    RMachineUnit& u = *m.Units[static_cast<size_t>(unit)];
    // What the unit's batch gives back to this request when it is cancelled.
    int returned = 0;
    if (u.batch > 0 && u.current_job != nullptr && u.current_job->unit_request[u.number] == entry->request)
        returned = std::min<int>(u.batch, entry->request->started);
    // Refused before anything is cancelled, so the unit's work is not lost for nothing.
    if (entry->request->remaining() + returned <= 0) {
        lang_message_box(m_hWnd, "Can't set this job", "Set Unit Manualy", MB_OK | MB_ICONSTOP);
        return;
    }
    u.cancel_batch();
    if (m.start_on_unit(unit, entry) == 0) {
        lang_message_box(m_hWnd, "Can't set this job", "Set Unit Manualy", MB_OK | MB_ICONSTOP);
        return;
    }
    if (m_log) {
        char object[64];
        std::snprintf(object, sizeof object, "%s, Unit %d", m.name, unit + 1);
        m_log("UnitManualy", object, "-----", entry->request->wo != nullptr ? entry->request->wo->name : "", 2, 1);
    }
    EndDialog(IDOK);
}
