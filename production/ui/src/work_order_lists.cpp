// Read-only lists of what waits where on the floor.
#include "foundation/lang.h"
#include "foundation/msgbox.h"
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
#include <vector>

using namespace plat;

namespace {

constexpr int HELP_BUTTON = 3;

std::string product_code_of(const CProductionWnd& plant, const RWork_Order* wo)
{
    const int position = wo != nullptr ? wo->product_position() : -1;
    if (position < 0 || static_cast<size_t>(position) >= plant.Products.size())
        return "***";
    return plant.Products[static_cast<size_t>(position)]->code;
}

// Tab stops (dialog units, as the list takes them) where the header statics
// stand, measured from the list's left edge.
void set_stops_from_headers(HWND dlg, int list_id, const int* headers, int n)
{
    const HWND list = plat::GetDlgItem(dlg, list_id);
    if (list == 0)
        return;
    HDC dc = GetDC(list);
    const HGDIOBJ old = SelectObject(dc, static_cast<HGDIOBJ>(SendMessage(list, WM_GETFONT, 0, 0)));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    const int base = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 6;
    RECT list_rect{};
    GetWindowRect(list, &list_rect);
    std::vector<int> stops;
    for (int i = 0; i < n; ++i) {
        RECT r{};
        const HWND header = plat::GetDlgItem(dlg, headers[i]);
        if (header == 0)
            continue;
        GetWindowRect(header, &r);
        stops.push_back(std::max(0, static_cast<int>(r.left - list_rect.left)) * 4 / base);
    }
    SendMessage(list, LB_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
}

} // namespace

int32_t available_work_minutes(CProductionWnd& plant, int machine, const Waiting_WO_Data& entry)
{
    if (entry.request == nullptr || entry.job == nullptr)
        return 0;
    const RAvailableWorkPlanTable table(plant, machine);
    const uint16_t minutes = table.entry_duration(nullptr, entry);
    return minutes == CANNOT_PLAN ? 0 : minutes;
}

// ---- Waiting WO's ----------------------------------------------------------------

CWaitingWOsDlg::CWaitingWOsDlg(CProductionWnd& plant, int machine, CWnd* parent)
    : CSimDialog(IDD_WAITING_WOS, current_dialog_registry(), parent), m_plant(plant), m_machine(machine)
{
}

std::vector<std::string> CWaitingWOsDlg::lines(CProductionWnd& plant, int machine)
{
    std::vector<std::string> out;
    if (machine < 0 || static_cast<size_t>(machine) >= plant.Machines.size())
        return out;
    const RMachine& m = *plant.Machines[static_cast<size_t>(machine)];
    for (const auto& entry : m.Waiting_WOs_Data) {
        if (entry->request == nullptr || entry->job == nullptr)
            continue;
        const Waiting_WO& r = *entry->request;
        char line[160];
        std::snprintf(line, sizeof line, "\t%s\t%s\t%s\t%d\t%d\t%d", r.wo != nullptr ? r.wo->name : "***",
                      entry->job->name, product_code_of(plant, r.wo).c_str(), static_cast<int>(r.quantity),
                      r.remaining(), static_cast<int>(available_work_minutes(plant, machine, *entry)));
        out.emplace_back(line);
    }
    return out;
}

BOOL CWaitingWOsDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    const char* name = m_machine >= 0 && static_cast<size_t>(m_machine) < m_plant.Machines.size()
                           ? m_plant.Machines[static_cast<size_t>(m_machine)]->name
                           : "";
    SetWindowText((std::string(lang_translate("Waiting WO's")) + " - " + name).c_str());
    const int headers[] = {1087, 1327, 1328, 1329, 1330, 1331};
    set_stops_from_headers(m_hWnd, CWaitingWOsDlg::LIST_ID, headers, 6);
    const HWND list = plat::GetDlgItem(m_hWnd, CWaitingWOsDlg::LIST_ID);
    for (const std::string& line : lines(m_plant, m_machine))
        plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    return TRUE;
}

BOOL CWaitingWOsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == HELP_BUTTON) {
        WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, HELP_CONTEXT_ID);
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

// ---- Get WO Num ------------------------------------------------------------------

CGetWoNumDlg::CGetWoNumDlg(CProductionWnd& plant, std::string title, CWnd* parent)
    : CSimDialog(IDD_GET_WO_NUM, current_dialog_registry(), parent), m_plant(plant), m_title(std::move(title))
{
}

BOOL CGetWoNumDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    SetWindowText(lang_translate(m_title.c_str()));
    for (const auto& wo : m_plant.Work_Orders) {
        const std::string number = std::to_string(wo->number);
        plat::SendDlgItemMessage(m_hWnd, 1087, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(number.c_str()));
    }
    if (!m_plant.Work_Orders.empty()) {
        plat::SendDlgItemMessage(m_hWnd, 1087, CB_SETCURSEL, 0, 0);
        plat::SetDlgItemText(m_hWnd, 1087, std::to_string(m_plant.Work_Orders.front()->number).c_str());
    }
    return TRUE;
}

void CGetWoNumDlg::OnOK()
{
    char text[32] = {};
    plat::GetDlgItemText(m_hWnd, 1087, text, sizeof text);
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end != text && *end == '\0')
        for (size_t i = 0; i < m_plant.Work_Orders.size(); ++i)
            if (m_plant.Work_Orders[i]->number == number) {
                result = static_cast<int>(i);
                EndDialog(IDOK);
                return;
            }
    lang_message_box(m_hWnd, "Invaild WO number !", GetWindowText().c_str(), MB_OK | MB_ICONINFORMATION);
}

void CGetWoNumDlg::OnCancel()
{
    result = -1;
    EndDialog(IDCANCEL);
}
