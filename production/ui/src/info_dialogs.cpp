// Read-only reports on the plant: machines, jobs, times and loads.
#include "foundation/lang.h"
#include "foundation/simdate.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/help.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "production/production_dialogs.h"
#include "uikit/grid.h"
#include <algorithm>
#include <cstdio>

using namespace plat;

namespace {

constexpr int HELP_BUTTON = 3;
constexpr uint32_t NO_DATA = 2147483647u;

std::string printed(const char* format, double value)
{
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string hours_minutes(int32_t minutes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", static_cast<long>(minutes / 60), static_cast<long>(minutes % 60));
    return text;
}

const char* product_code(const RJob& job) { return job.product != nullptr ? job.product->code : "***"; }

} // namespace

std::string machine_rule_name(int rule)
{
    static const char* const names[5] = {"FIFO", "Current Job", "Schedule", "EDD", "Product Priority"};
    return rule >= 0 && rule < 5 ? lang_translate(names[rule]) : "";
}

std::vector<std::string> machine_information_lines(const CProductionWnd& plant, int machine)
{
    std::vector<std::string> out;
    if (machine < 0 || static_cast<size_t>(machine) >= plant.Machines.size())
        return out;
    const RMachine* m = plant.Machines[static_cast<size_t>(machine)].get();
    for (const auto& job : plant.Jobs) {
        if (!job || job->machine != m)
            continue;
        char line[128];
        std::snprintf(line, sizeof line, "\t%s\t%s\t%d\t%s", product_code(*job), job->name, static_cast<int>(job->time),
                      lang_translate(job->time_kind == 1 ? "time per batch" : "time per part"));
        out.emplace_back(line);
    }
    if (out.empty())
        out.emplace_back(lang_translate("No jobs found"));
    return out;
}

std::vector<std::string> jobs_information_lines(const CProductionWnd& plant)
{
    std::vector<std::string> out;
    for (const auto& job : plant.Jobs) {
        if (!job)
            continue;
        char line[128];
        std::snprintf(line, sizeof line, "\t%s\t%s\t%s\t%d\t%s\t%s", job->name, product_code(*job),
                      job->machine != nullptr ? job->machine->name : "***", static_cast<int>(job->time),
                      lang_translate("min"), job->time_kind == 1 ? "TPB" : "TPP");
        out.emplace_back(line);
    }
    return out;
}

ReportGrid machines_utilization(const CProductionWnd& plant)
{
    ReportGrid g;
    for (int twice = 0; twice < 2; ++twice)
        for (const char* title : {"Prod.", "Setup", "Break", "Idle"})
            g.columns.emplace_back(lang_translate(title));
    for (const auto& m : plant.Machines) {
        g.rows.emplace_back(m->name);
        std::vector<std::string> row;
        const uint64_t total = static_cast<uint64_t>(m->minutes[0]) + m->minutes[1] + m->minutes[2] + m->minutes[3];
        const float* series[4] = {m->production_pct, m->setup_pct, m->break_pct, m->idle_pct};
        // The second group is the month before the first.
        int before = 11;
        if (total > 10) {
            for (int k = 0; k < 4; ++k)
                row.push_back(printed("%0.1f%%", static_cast<double>(m->minutes[k]) * 100.0 / static_cast<double>(total)));
        } else {
            for (int k = 0; k < 4; ++k)
                row.push_back(printed("%0.1f%%", static_cast<double>(series[k][11])));
            before = 10;
        }
        for (int k = 0; k < 4; ++k)
            row.push_back(printed("%2.1f%%", static_cast<double>(series[k][before])));
        g.cells.push_back(std::move(row));
    }
    return g;
}

ReportGrid machine_total_load(CProductionWnd& plant)
{
    plant.refresh_machine_loads();
    ReportGrid g;
    g.columns = {lang_translate("Time to finish existing WO"), lang_translate("Time to finish available work")};
    for (size_t i = 0; i < plant.Machines.size(); ++i) {
        int32_t available = 0, existing = 0;
        plant.compute_machine_load(static_cast<int>(i), available, existing);
        g.rows.emplace_back(plant.Machines[i]->name);
        g.cells.push_back({hours_minutes(existing), hours_minutes(available)});
    }
    return g;
}

ReportGrid production_times(CProductionWnd& plant)
{
    ReportGrid g;
    g.columns = {lang_translate("Time (min)")};
    for (size_t i = 0; i < plant.Products.size(); ++i) {
        const auto minutes =
            static_cast<int32_t>(plant.evaluate_item({KIND_PRODUCT, static_cast<uint8_t>(i), 1}, 3, 0));
        g.rows.emplace_back(plant.Products[i]->code);
        g.cells.push_back({std::to_string(minutes)});
    }
    return g;
}

ReportGrid wo_lead_time_statistics(const CProductionWnd& plant)
{
    ReportGrid g;
    g.columns = {lang_translate("Average WO (hours)"), lang_translate("Standard Deviation")};
    auto figure = [](uint32_t v) { return v == NO_DATA ? std::string("--------") : std::to_string(v); };
    for (const auto& p : plant.Products) {
        g.rows.emplace_back(p->code);
        g.cells.push_back({figure(p->lead_time_mean), figure(p->lead_time_std)});
    }
    return g;
}

// ---- the report windows --------------------------------------------------------------

CReportListDlg::CReportListDlg(int template_id, int help_context, std::string caption, std::vector<std::string> lines,
                               std::vector<int> tab_stops, CWnd* parent)
    : CSimDialog(template_id, current_dialog_registry(), parent), m_help(help_context), m_caption(std::move(caption)),
      m_lines(std::move(lines)), m_stops(std::move(tab_stops))
{
}

BOOL CReportListDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    if (!m_caption.empty())
        SetWindowText(m_caption.c_str());
    for (const auto& [id, text] : statics)
        plat::SetDlgItemText(m_hWnd, id, text.c_str());
    const HWND list = plat::GetDlgItem(m_hWnd, list_id);
    if (!m_stops.empty())
        plat::SendMessage(list, LB_SETTABSTOPS, m_stops.size(), reinterpret_cast<LPARAM>(m_stops.data()));
    for (const std::string& line : m_lines)
        plat::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    return TRUE;
}

BOOL CReportListDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == HELP_BUTTON) {
        if (m_help > 0)
            WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(m_help));
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

CReportGridDlg::CReportGridDlg(int template_id, int help_context, ReportGrid figures, CWnd* parent)
    : CSimDialog(template_id, current_dialog_registry(), parent), m_template(template_id), m_help(help_context),
      m_figures(std::move(figures)), m_grid(std::make_unique<CGrid>())
{
}

CReportGridDlg::~CReportGridDlg() = default;

BOOL CReportGridDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    const int n = static_cast<int>(std::min<size_t>(m_figures.rows.size(), CGrid::MAX_ROWS));
    const int top = groups.empty() ? 10 : 32;
    const int height = n * row_pitch + extra_height;
    if (fit_to_rows) {
        RECT outer{};
        plat::GetWindowRect(m_hWnd, &outer);
        const int frame_h = (outer.bottom - outer.top) - (client.bottom - client.top);
        plat::SetWindowPos(m_hWnd, 0, 0, 0, outer.right - outer.left, n * 22 + fit_base + frame_h,
                     SWP_NOMOVE | SWP_NOZORDER);
        plat::GetClientRect(m_hWnd, &client);
        // Close and Help at the bottom right, 10 from the edges.
        int right = client.right - 10;
        for (int id : {HELP_BUTTON, static_cast<int>(IDCANCEL)}) {
            const HWND b = plat::GetDlgItem(m_hWnd, id);
            if (b == 0)
                continue;
            RECT r{};
            plat::GetWindowRect(b, &r);
            const int w = r.right - r.left, h = r.bottom - r.top;
            plat::MoveWindow(b, right - w, client.bottom - 10 - h, w, h, TRUE);
            right -= w + 10;
        }
    }
    CGrid& g = *m_grid;
    const int width = client.right - 10 - 10;
    const int columns = static_cast<int>(std::max<size_t>(1, m_figures.columns.size()));
    g.SetHeaderWidth(50);
    g.SetColumnWidth(std::max(30, (width - 50) / columns));
    for (const std::string& c : m_figures.columns)
        g.AddColumn(c.c_str(), SS_CENTER);
    for (int r = 0; r < n; ++r)
        g.AddRow(m_figures.rows[static_cast<size_t>(r)].c_str());
    g.Create(m_template, this, 10, top, 10 + width, top + height, 0);
    for (int r = 0; r < n; ++r)
        for (size_t c = 0; c < m_figures.cells[static_cast<size_t>(r)].size(); ++c)
            g.SetCellText(r, static_cast<int>(c), m_figures.cells[static_cast<size_t>(r)][c].c_str());
    g.EnableCells(FALSE);
    return TRUE;
}

BOOL CReportGridDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == HELP_BUTTON) {
        if (m_help > 0)
            WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(m_help));
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CReportGridDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (columns_per_group > 0) {
        const int w = m_grid->GetColumnWidth() * columns_per_group;
        for (size_t i = 0; i < groups.size(); ++i) {
            RECT r{60 + static_cast<LONG>(i) * w, 8, 60 + static_cast<LONG>(i + 1) * w, 30};
            HBRUSH brush = CreateSolidBrush(groups[i].colour);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            SetBkMode(dc, TRANSPARENT);
            DrawText(dc, groups[i].title.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    m_grid->Draw(dc);
    EndPaint(m_hWnd, &ps);
}

// ---- what lies where ----------------------------------------------------------------

namespace {

std::string material_line(const char* machine, const char* job, int quantity, const std::string& material,
                          const RWork_Order* wo, const char* where)
{
    char line[160];
    std::snprintf(line, sizeof line, "\t%s\t%s\t%d\t%s\t%s\t%s", machine, job, quantity, material.c_str(),
                  wo != nullptr ? wo->name : "***", lang_translate(where));
    return line;
}

} // namespace

std::vector<std::string> machine_materials_lines(CProductionWnd& plant)
{
    std::vector<std::string> out, unowned;
    bool any = false;
    for (size_t m = 0; m < plant.Machines.size(); ++m) {
        RMachine& machine = *plant.Machines[m];
        for (const auto& job : plant.Jobs) {
            if (!job || job->machine != &machine)
                continue;
            for (const Input_Stock& s : job->input_stock) {
                out.push_back(material_line(machine.name, job->name, s.quantity,
                                            plant.item_name(static_cast<int16_t>(s.kind), s.index), s.wo, "INPUT"));
                if (s.wo == nullptr)
                    unowned.push_back(out.back());
                any = true;
            }
            for (const Finished_Output& o : job->outputs) {
                out.push_back(material_line(machine.name, job->name, o.quantity, job->name, o.wo, "OUTPUT"));
                if (o.wo == nullptr)
                    unowned.push_back(out.back());
                any = true;
            }
        }
        int32_t available = 0;
        for (const auto& e : machine.Waiting_WOs_Data)
            available += available_work_minutes(plant, static_cast<int>(m), *e);
        if (!machine.Units.empty())
            available /= static_cast<int32_t>(machine.Units.size());
        int32_t free_minutes = 0, finish = 0;
        plant.compute_machine_load(static_cast<int>(m), free_minutes, finish);
        char line[200];
        std::snprintf(line, sizeof line, "\t%s - %s - %4d:%02d , %s - %4d:%02d", machine.name,
                      lang_translate("Avail. Time"), static_cast<int>(available / 60), static_cast<int>(available % 60),
                      lang_translate("Finish Time"), static_cast<int>(finish / 60), static_cast<int>(finish % 60));
        out.emplace_back(line);
        out.emplace_back(120, '-');
    }
    if (!any)
        return {lang_translate("No Materials Near Machine")};
    if (unowned.size() >= 2) {
        out.emplace_back(120, '-');
        out.emplace_back();
        out.insert(out.end(), unowned.rbegin(), unowned.rend());
    }
    return out;
}

std::vector<std::string> raw_material_release_lines(const CProductionWnd& plant, int date_order)
{
    std::vector<std::string> out;
    if (!plant.transport)
        return out;
    static constexpr int32_t day_minutes[3] = {480, 1440, 960};
    const int mode = plant.host->shift_mode();
    const int32_t per_day = day_minutes[mode >= 0 && mode < 3 ? mode : 0];
    const auto now = static_cast<int32_t>(plant.host->tick());
    for (const auto& t : plant.transport->Trans_Jobs) {
        if (t->release == -1)
            continue;
        std::string when;
        if (t->release == -2)
            when = "*********";
        else if (t->release <= now)
            when = lang_translate("Immediate");
        else {
            const SimStamp d = plant.host->add_work_days(plant.host->work_day_start(), (t->release - now) / per_day);
            when = date_text(SimDateTime{d.year, d.month, d.day, d.hour, d.minute}, date_order);
        }
        const RJob* dest = plant.job(t->dest_index);
        const RWork_Order* wo = t->requesting_wo;
        const int position = wo != nullptr ? wo->product_position() : -1;
        const std::string product = position >= 0 ? plant.item_name(KIND_PRODUCT, position) : "***";
        char line[160];
        std::snprintf(line, sizeof line, "\t%s\t%s\t%d\t%s\t%s\t%s",
                      plant.item_name(t->material_kind, t->material_index).c_str(), dest != nullptr ? dest->name : "***",
                      static_cast<int>(t->quantity), when.c_str(), product.empty() ? "***" : product.c_str(),
                      wo != nullptr ? wo->name : "***");
        out.emplace_back(line);
    }
    return out;
}

ReportGrid unassigned_common_parts(const CProductionWnd& plant)
{
    ReportGrid g;
    g.columns = {lang_translate("Unassigned units")};
    for (const auto& p : plant.Products) {
        if (p->code[0] != 'U' && p->code[0] != 'V')
            continue;
        g.rows.emplace_back(p->code);
        g.cells.push_back({std::to_string(p->free_stock_at_final_job(plant))});
    }
    return g;
}

// ---- MRP load profile ----------------------------------------------------------------

std::vector<float> mrp_load_profile(CProductionWnd& plant, int machine, std::string& message)
{
    message.clear();
    std::vector<float> points;
    if (machine < 0 || static_cast<size_t>(machine) >= plant.Machines.size())
        return points;
    static constexpr int32_t day_minutes[3] = {480, 1440, 960};
    const int mode = plant.host->shift_mode();
    const int32_t per_day = day_minutes[mode >= 0 && mode < 3 ? mode : 0];
    const auto tick = static_cast<int32_t>(plant.host->tick());
    const int32_t start = tick / per_day * per_day;
    RParallelFPT table(plant, machine);
    for (const auto& e : plant.Machines[static_cast<size_t>(machine)]->Waiting_WOs_Data)
        table.add_waiting_data(e.get());
    const int32_t end = table.plan_end();
    // Counted in 32 bits: a long plan would wrap a 16-bit count.
    const int64_t count = 2 * (static_cast<int64_t>(end) - start) / per_day + 2;
    if (count < 1) {
        message = "No data collected yet for displaying the MRP load";
        return points;
    }
    bool any = false;
    for (int64_t t = start; t < end; t += per_day) {
        const float y = table.load_percent(static_cast<int32_t>(t), static_cast<uint16_t>(per_day));
        any = any || y > 0;
        points.push_back(y);
    }
    if (!any) {
        points.clear();
        message = "No MRP Load";
    }
    return points;
}

// ---- Rough Cut Capacity --------------------------------------------------------------

RoughCut rough_cut_capacity(CProductionWnd& plant, int range_days, const std::vector<int32_t>& typed,
                            const std::vector<ContractSummary>& held, const std::vector<bool>& checked)
{
    RoughCut rc;
    MarketingDept& market = *plant.marketing;
    const int month_days = std::max(1, plant.host->work_days_per_month());
    std::vector<int64_t> minutes(plant.Machines.size(), 0);
    for (size_t i = 0; i < plant.Products.size(); ++i) {
        uint16_t family = NONE16, product = NONE16;
        plant.product_pair_of(static_cast<int>(i), family, product);
        if (family == NONE16 || market.is_product_retired(family, product))
            continue;
        int64_t quantity = 0;
        if (i < typed.size() && typed[i] >= 0) {
            quantity = typed[i];
        } else {
            // The plan month by month over the range, the last month in part.
            double planned = 0;
            int left = range_days;
            for (int m = 0; m < 6 && left > 0; ++m) {
                const int days = std::min(left, month_days);
                planned += static_cast<double>(market.production_plan(family, product, m)) * days / month_days;
                left -= days;
            }
            for (size_t c = 0; c < held.size(); ++c)
                if (c < checked.size() && checked[c])
                    for (const ContractLine& line : held[c].lines)
                        if (line.family == family && line.product == product)
                            planned += line.quantity;
            quantity = static_cast<int64_t>(planned);
        }
        const int64_t step = plant.batch_size >= 1 ? plant.batch_size : plant.min_wo_quantity;
        if (step > 0 && quantity % step != 0)
            quantity += step - quantity % step;
        quantity = std::clamp<int64_t>(quantity, 0, 32767);
        rc.products.emplace_back(plant.Products[i]->code);
        rc.product_positions.push_back(static_cast<int>(i));
        rc.quantities.push_back(static_cast<int32_t>(quantity));
        std::vector<std::string> lines;
        plant.route_text({KIND_PRODUCT, static_cast<uint8_t>(i), static_cast<int32_t>(quantity)}, lines);
        for (const std::string& line : lines) {
            // "Job %3s : ... = minutes": the job read back by its name.
            char name[8] = {};
            if (std::sscanf(line.c_str(), "Job %7s", name) != 1)
                continue;
            const size_t eq = line.rfind('=');
            if (eq == std::string::npos)
                continue;
            const long m = std::strtol(line.c_str() + eq + 1, nullptr, 10);
            for (const auto& job : plant.Jobs)
                if (job && std::string(job->name) == name && job->machine != nullptr)
                    for (size_t k = 0; k < plant.Machines.size(); ++k)
                        if (plant.Machines[k].get() == job->machine)
                            minutes[k] += m;
        }
    }
    static constexpr int32_t day_minutes[3] = {480, 1440, 960};
    const int mode = plant.host->shift_mode();
    const int64_t per_day = day_minutes[mode >= 0 && mode < 3 ? mode : 0];
    rc.machines.columns = {lang_translate("Production"), lang_translate("Setup"), lang_translate("Break"),
                           lang_translate("Total")};
    for (size_t k = 0; k < plant.Machines.size(); ++k) {
        const RMachine& m = *plant.Machines[k];
        // A unit on its way counts from its delivery on; a delivery past the range adds nothing.
        int64_t e = 0;
        for (const auto& u : m.Units)
            if (u->state == UNIT_ON_DELIVERY)
                e = std::max<int64_t>(0, range_days - static_cast<int64_t>(u->minutes_left) * month_days);
        const int64_t capacity = (static_cast<int64_t>(range_days) * m.active_units + e) * per_day;
        const double production =
            capacity > 0 ? static_cast<double>(minutes[k]) * 100.0 / static_cast<double>(capacity) : 0.0;
        const double base = m.production_pct_last;
        const double setup = base != 0 ? m.setup_pct_last / base * production : 0.0;
        const double breaks = base != 0 ? m.break_pct_last / base * production : 0.0;
        rc.machines.rows.emplace_back(m.name);
        rc.machines.cells.push_back({printed("%0.1f%%", production), printed("%0.1f%%", setup),
                                     printed("%0.1f%%", breaks), printed("%5.1f%%", production + setup + breaks)});
    }
    return rc;
}

CRoughCutCapacityDlg::CRoughCutCapacityDlg(CProductionWnd& plant, CWnd* parent)
    : CSimDialog(IDD_ROUGH_CUT_CAPACITY, current_dialog_registry(), parent), m_plant(plant),
      m_products(std::make_unique<CGrid>()), m_machines(std::make_unique<CGrid>())
{
}

CRoughCutCapacityDlg::~CRoughCutCapacityDlg() = default;

BOOL CRoughCutCapacityDlg::OnInitDialog()
{
    CSimDialog::OnInitDialog();
    for (ContractSummary& c : m_plant.marketing->contracts_for_analysis(true))
        if (c.held)
            m_held.push_back(std::move(c));
    for (size_t i = 0; i < m_held.size() && i < 10; ++i) {
        const std::string label = std::to_string(m_held[i].number);
        const HWND box = CreateWindow("BUTTON", label.c_str(), WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                      static_cast<int>(i) * 45 + 140, 44, 35, 20, m_hWnd,
                                      static_cast<HMENU>(FIRST_CONTRACT + i), 0, nullptr);
        plat::SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);
    }
    m_days = 6 * std::max(1, m_plant.host->work_days_per_month());
    plat::SetDlgItemText(m_hWnd, RANGE, "6");
    plat::CheckRadioButton(m_hWnd, DAYS, MONTHS, MONTHS);
    m_typed.assign(m_plant.Products.size(), -1);
    const RoughCut first = rough_cut_capacity(m_plant, m_days, m_typed, m_held, std::vector<bool>(m_held.size(), true));
    CGrid& p = *m_products;
    p.AddColumn(lang_translate("Quantity"), SS_CENTER);
    for (const std::string& code : first.products)
        p.AddRow(code.c_str());
    const int np = static_cast<int>(std::min<size_t>(first.products.size(), CGrid::MAX_ROWS));
    p.SetColumnWidth(70);
    p.Create(IDD_ROUGH_CUT_CAPACITY, this, 10, 74, 140, 74 + np * 22 + 30, 0);
    CGrid& m = *m_machines;
    m.SetColumnWidth(80);
    for (const std::string& c : first.machines.columns)
        m.AddColumn(c.c_str(), SS_CENTER);
    for (const std::string& r : first.machines.rows)
        m.AddRow(r.c_str());
    const int nm = static_cast<int>(std::min<size_t>(first.machines.rows.size(), CGrid::MAX_ROWS));
    m.Create(IDD_ROUGH_CUT_CAPACITY + 1, this, 160, 74, 160 + 50 + 4 * 80, 74 + nm * 22 + 30, 0);
    m.EnableCells(FALSE);
    m_ready = true;
    recompute();
    return TRUE;
}

void CRoughCutCapacityDlg::recompute()
{
    if (!m_ready)
        return;
    char text[16] = {};
    plat::GetDlgItemText(m_hWnd, RANGE, text, sizeof text);
    char* end = nullptr;
    long n = std::strtol(text, &end, 10);
    if (plat::IsDlgButtonChecked(m_hWnd, MONTHS) == BST_CHECKED)
        n *= std::max(1, m_plant.host->work_days_per_month());
    // Only 1 to 999 days are taken; anything else leaves the figures as they were.
    if (end != text && n >= 1 && n <= 999)
        m_days = static_cast<int>(n);
    m_products->EndEdit();
    for (int r = 0; r < m_products->GetRowCount() && static_cast<size_t>(r) < m_typed.size(); ++r) {
        const std::string cell = m_products->GetCellText(r, 0);
        char* stop = nullptr;
        const long v = std::strtol(cell.c_str(), &stop, 10);
        // A number of 0 or more typed over the shown figure fixes the product's quantity.
        const bool edited = static_cast<size_t>(r) >= m_shown.size() || cell != m_shown[static_cast<size_t>(r)];
        if (edited && !cell.empty() && stop != cell.c_str() && v >= 0)
            m_typed[static_cast<size_t>(r)] = static_cast<int32_t>(std::min(v, 32767L));
    }
    std::vector<bool> checked(m_held.size(), true);
    for (size_t i = 0; i < m_held.size() && i < 10; ++i)
        checked[i] = plat::IsDlgButtonChecked(m_hWnd, FIRST_CONTRACT + static_cast<int>(i)) == BST_CHECKED;
    const RoughCut rc = rough_cut_capacity(m_plant, m_days, m_typed, m_held, checked);
    m_shown.clear();
    for (size_t r = 0; r < rc.quantities.size() && static_cast<int>(r) < m_products->GetRowCount(); ++r) {
        m_shown.push_back(std::to_string(rc.quantities[r]));
        m_products->SetCellText(static_cast<int>(r), 0, m_shown.back().c_str());
    }
    for (size_t r = 0; r < rc.machines.cells.size() && static_cast<int>(r) < m_machines->GetRowCount(); ++r)
        for (size_t c = 0; c < 4; ++c)
            m_machines->SetCellText(static_cast<int>(r), static_cast<int>(c), rc.machines.cells[r][c].c_str());
}

BOOL CRoughCutCapacityDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    if (id == HELP_BUTTON) {
        WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, HELP_CONTEXT_ID);
        return TRUE;
    }
    if ((id == RANGE && code == EN_CHANGE) || ((id == DAYS || id == MONTHS) && code == BN_CLICKED) ||
        (id >= FIRST_CONTRACT && id < FIRST_CONTRACT + 10 && code == BN_CLICKED)) {
        recompute();
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CRoughCutCapacityDlg::OnPaint()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    m_products->Draw(dc);
    m_machines->Draw(dc);
    EndPaint(m_hWnd, &ps);
}
