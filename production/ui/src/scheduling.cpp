// A machine run by a hand-made schedule: the schedule's lines, the Manual
// Scheduling dialog and the Schedule End question.
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

using namespace plat;

namespace {

constexpr int ADD_BUTTON = 3;
constexpr int REMOVE_BUTTON = 4;
constexpr int REMOVE_ALL_BUTTON = 5;
constexpr int HELP_BUTTON = 6;

bool in_queue(const RMachine& m, const Waiting_WO_Data* e)
{
    for (const auto& w : m.Waiting_WOs_Data)
        if (w.get() == e)
            return e->request != nullptr && e->job != nullptr;
    return false;
}

std::string product_code_of(const CProductionWnd& plant, const RWork_Order* wo)
{
    const int position = wo != nullptr ? wo->product_position() : -1;
    if (position < 0 || static_cast<size_t>(position) >= plant.Products.size())
        return "***";
    return plant.Products[static_cast<size_t>(position)]->code;
}

void fill(HWND dlg, int id, const std::vector<std::string>& lines)
{
    plat::SendDlgItemMessage(dlg, id, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines)
        plat::SendDlgItemMessage(dlg, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

int selected(HWND dlg, int id)
{
    const LRESULT s = plat::SendDlgItemMessage(dlg, id, LB_GETCURSEL, 0, 0);
    return s == LB_ERR ? -1 : static_cast<int>(s);
}

} // namespace

std::vector<std::string> schedule_lines(CProductionWnd& plant, int machine)
{
    std::vector<std::string> out;
    if (machine < 0 || static_cast<size_t>(machine) >= plant.Machines.size())
        return out;
    const RMachine& m = *plant.Machines[static_cast<size_t>(machine)];
    char line[160];
    if (plant.release_policy == 2) {
        const int64_t now = plant.host->tick();
        for (const Waiting_WO_Data* e : m.Schedules) {
            if (!in_queue(m, e)) {
                out.emplace_back(23, ' ');
                continue;
            }
            const int64_t left = static_cast<int64_t>(e->planned_start) + e->planned_duration - now;
            const int64_t a = left < 0 ? -left : left;
            std::snprintf(line, sizeof line, "\t%s\t%s\t%d\t%s%02d:%02d", e->request->wo != nullptr ? e->request->wo->name : "***",
                          e->job->name, e->planned_duration / 60, left < 0 ? "-" : " ", static_cast<int>(a / 60),
                          static_cast<int>(a % 60));
            out.emplace_back(line);
        }
    } else {
        RForwardPlanTable table(plant, machine);
        for (Waiting_WO_Data* e : m.Schedules) {
            if (!in_queue(m, e)) {
                out.emplace_back(23, ' ');
                continue;
            }
            uint16_t duration = 0;
            const int16_t unit = table.AddIntoTable(e, duration);
            const int64_t load = unit >= 0 ? table.unit_load(unit) : 0;
            std::snprintf(line, sizeof line, "\t%d\t%s\t%s\t%s%02d:%02d", unit + 1,
                          e->request->wo != nullptr ? e->request->wo->name : "***", e->job->name, " ",
                          static_cast<int>(load / 60), static_cast<int>(load % 60));
            out.emplace_back(line);
        }
    }
    out.emplace_back();
    return out;
}

// ---- Manual Scheduling -----------------------------------------------------------

CManualSchedulingDlg::CManualSchedulingDlg(CProductionWnd& plant, int machine, DecisionLog log, CWnd* parent)
    : CSimDialog(IDD_MANUAL_SCHEDULING, current_dialog_registry(), parent), m_plant(plant), m_machine(machine),
      m_log(std::move(log))
{
}

bool CManualSchedulingDlg::scheduled(const RWork_Order* wo) const
{
    for (const Waiting_WO_Data* e : machine().Schedules)
        if (in_queue(machine(), e) && e->request->wo == wo)
            return true;
    return false;
}

std::vector<std::string> CManualSchedulingDlg::waiting_lines() const
{
    std::vector<std::string> out;
    for (const auto& e : machine().Waiting_WOs_Data) {
        if (e->request == nullptr || e->job == nullptr)
            continue;
        const Waiting_WO& r = *e->request;
        char line[160];
        std::snprintf(line, sizeof line, "%s\t%s\t%s\t%s\t%d\t%d\t%d", scheduled(r.wo) ? "+" : " ",
                      r.wo != nullptr ? r.wo->name : "***", e->job->name, product_code_of(m_plant, r.wo).c_str(),
                      static_cast<int>(r.quantity), r.remaining(),
                      static_cast<int>(available_work_minutes(m_plant, m_machine, *e)));
        out.emplace_back(line);
    }
    return out;
}

BOOL CManualSchedulingDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    SetWindowText((std::string(lang_translate("Manual Scheduling")) + " - " + machine().name).c_str());
    const int waiting_stops[] = {8, 24, 50, 76, 102, 128};
    plat::SendDlgItemMessage(m_hWnd, WAITING_LIST, LB_SETTABSTOPS, 6, reinterpret_cast<LPARAM>(waiting_stops));
    const int schedule_stops[] = {6, 16, 40, 60};
    plat::SendDlgItemMessage(m_hWnd, SCHEDULE_LIST, LB_SETTABSTOPS, 4, reinterpret_cast<LPARAM>(schedule_stops));
    RMachine& m = machine();
    m_old = m.Schedules;
    // The work the units are on leads the schedule, in the units' order.
    for (int u = static_cast<int>(m.Units.size()) - 1; u >= 0; --u) {
        Waiting_WO_Data* current = m.waiting_data_of_unit(u);
        if (current != nullptr && current->request != nullptr && !scheduled(current->request->wo))
            m.Schedules.insert(m.Schedules.begin(), current);
    }
    refill(-1);
    m_changed = false;
    return TRUE;
}

void CManualSchedulingDlg::refill(int select_schedule)
{
    const std::vector<std::string> lines = schedule_lines(m_plant, m_machine);
    fill(m_hWnd, SCHEDULE_LIST, lines);
    fill(m_hWnd, WAITING_LIST, waiting_lines());
    const int last = static_cast<int>(lines.size()) - 1;
    const int at = select_schedule < 0 || select_schedule > last ? last : select_schedule;
    plat::SendDlgItemMessage(m_hWnd, SCHEDULE_LIST, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

void CManualSchedulingDlg::add()
{
    const int row = selected(m_hWnd, WAITING_LIST);
    if (row < 0)
        return;
    RMachine& m = machine();
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
    if (entry == nullptr)
        return;
    if (scheduled(entry->request->wo)) {
        lang_message_box(m_hWnd, "Waiting WO already selected!", "Add", MB_OK | MB_ICONINFORMATION);
        return;
    }
    int at = selected(m_hWnd, SCHEDULE_LIST);
    if (at < 0) {
        if (!m.Schedules.empty()) {
            lang_message_box(m_hWnd, "No schedule line selected", "Add", MB_OK | MB_ICONINFORMATION);
            return;
        }
        at = 0;
    }
    if (static_cast<size_t>(at) >= m.Schedules.size())
        m.Schedules.push_back(entry);
    else
        m.Schedules.insert(m.Schedules.begin() + at, entry);
    refill(at + 1);
}

void CManualSchedulingDlg::remove(bool all)
{
    RMachine& m = machine();
    if (all) {
        m.Schedules.clear();
        m_changed = true;
        refill(-1);
        return;
    }
    const int at = selected(m_hWnd, SCHEDULE_LIST);
    if (at < 0 || static_cast<size_t>(at) >= m.Schedules.size())
        return;
    m.Schedules.erase(m.Schedules.begin() + at);
    m_changed = true;
    refill(at);
}

BOOL CManualSchedulingDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case ADD_BUTTON:
            add();
            return TRUE;
        case REMOVE_BUTTON:
            remove(false);
            return TRUE;
        case REMOVE_ALL_BUTTON:
            remove(true);
            return TRUE;
        case HELP_BUTTON:
            WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, HELP_CONTEXT_ID);
            return TRUE;
        default:
            break;
        }
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CManualSchedulingDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, 1113, option);
}

void CManualSchedulingDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    RMachine& m = machine();
    if (m_plant.release_policy != 4) {
        // The schedule's first work starts now; every unit then drops its
        // batch, so from the next minute the units take the schedule's order.
        m.rule = RULE_SCHEDULE;
        m.dispatch();
        for (auto& u : m.Units)
            u->cancel_batch();
    } else if (m_changed) {
        m_plant.set_raw_releases_according_to_list(m.Schedules);
    }
    if (m_log)
        m_log("ManualScheduling", "Entered manual scheduling mode", "-----", "-----", 2, 0);
    EndDialog(IDOK);
}

void CManualSchedulingDlg::OnCancel()
{
    // The schedule as it was, without entries that have left the queue since.
    RMachine& m = machine();
    m.Schedules.clear();
    for (Waiting_WO_Data* e : m_old)
        if (in_queue(m, e))
            m.Schedules.push_back(e);
    EndDialog(IDCANCEL);
}

// ---- Schedule End ----------------------------------------------------------------

CScheduleEndDlg::CScheduleEndDlg(std::string machine_name, CWnd* parent)
    : CSimDialog(IDD_SCHEDULE_END, current_dialog_registry(), parent), m_name(std::move(machine_name))
{
}

BOOL CScheduleEndDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    SetWindowText((std::string(lang_translate("Schedule End")) + " - " + m_name).c_str());
    return TRUE;
}

BOOL CScheduleEndDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Its Help button opens nothing.
    if (LOWORD(wParam) == 3)
        return TRUE;
    return CSimDialog::OnCommand(wParam, lParam);
}

void CScheduleEndDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, 1191, choice);
}
