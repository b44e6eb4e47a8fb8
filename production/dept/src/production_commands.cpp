// The Production menus' commands. Each opens its dialog where the
// department has a window; headless a chooser answers none, so a command
// that needs one ends there.
#include "app/view.h"
#include "appdialogs/app_dialogs.h"
#include "uikit/graph_dialog.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/simdate.h"
#include "plat/help.h"
#include "plat/msg.h"
#include "plat/uihost.h"
#include "production/production_dept.h"
#include "production/production_dialogs.h"
#include "production/production_wnd.h"
#include "session_ui.h"
#include <cstdio>

namespace {

std::string formatted(const char* format, const char* name)
{
    const std::string translated = lang_translate(format);
    char text[256];
    std::snprintf(text, sizeof text, translated.c_str(), name);
    return text;
}

bool any_transport_job(const CProductionWnd& plant)
{
    return plant.transport && !plant.transport->Trans_Jobs.empty();
}

} // namespace

bool ProductionDepartment::has_dialogs() const { return engine_ != nullptr && window_handle() != 0; }

DecisionLog ProductionDepartment::decision_log()
{
    return [this](const char* key, const std::string& object, const std::string& old_value,
                  const std::string& new_value, int kind, int flag) {
        if (view_ != nullptr)
            view_->log_decision("Prd", key, object, old_value, new_value, kind, flag);
    };
}

int ProductionDepartment::ask_machine(const char* title)
{
    if (!has_dialogs())
        return -1;
    CGetMachineNameDlg dlg(*engine_, title, nullptr);
    dlg.DoModal();
    return dlg.result;
}

int ProductionDepartment::ask_common_part()
{
    if (!has_dialogs())
        return -1;
    CGetCommonPartDlg dlg(*engine_, nullptr);
    dlg.DoModal();
    return dlg.result;
}

// The box translates the text and the caption itself.
void ProductionDepartment::box(const std::string& text, const char* caption, unsigned icon)
{
    ui_->message(text, caption, static_cast<int>(icon));
}

void ProductionDepartment::on_menu_command(int id)
{
    if (!engine_)
        return;
    CProductionWnd& plant = *engine_;
    switch (id) {
    case 301:
        machine_information();
        break;
    case 302:
        if (has_dialogs()) {
            CReportGridDlg dlg(IDD_MACHINES_UTILIZATION, 402, machines_utilization(plant), nullptr);
            const int month = plant.host->now().month;
            dlg.groups = {{month_name(month, 1), 0xE0E0E0}, {month_name(month > 1 ? month - 1 : 12, 1), 0xD0D0D0}};
            dlg.columns_per_group = 4;
            dlg.row_pitch = 24;
            dlg.extra_height = 50;
            dlg.DoModal();
        }
        break;
    case 305:
        if (has_dialogs()) {
            CReportGridDlg dlg(IDD_MACHINE_TOTAL_LOAD, 404, machine_total_load(plant), nullptr);
            dlg.DoModal();
        }
        break;
    case 306:
        if (has_dialogs()) {
            CReportListDlg dlg(IDD_JOBS_INFORMATION, 405, "", jobs_information_lines(plant), {10, 50, 90, 135, 145, 150},
                               nullptr);
            dlg.DoModal();
        }
        break;
    case 312:
        if (has_dialogs()) {
            CReportGridDlg dlg(IDD_PRODUCTION_TIMES, 408, production_times(plant), nullptr);
            dlg.DoModal();
        }
        break;
    case 315:
        if (has_dialogs()) {
            CReportGridDlg dlg(IDD_WO_LEAD_TIME_STATISTICS, 410, wo_lead_time_statistics(plant), nullptr);
            dlg.fit_to_rows = true;
            dlg.DoModal();
        }
        break;
    case 308:
        plant.selection[1] = NONE16;
        wo_diagram(0);
        break;
    case 309:
        routing_diagram();
        break;
    case 310:
        show_master_production_schedule();
        break;
    case 316:
        if (has_dialogs()) {
            const int16_t option = plant.routing_option;
            plant.routing_option = 0;
            plant.all_products_routing = 1;
            CAllProductsRoutingDlg dlg(plant, paint_scope(), nullptr);
            dlg.DoModal();
            plant.routing_option = option;
            plant.all_products_routing = 0;
        }
        break;
    case 307:
        not_implemented("dlg_job_wos");
        break;
    case 304:
        if (has_dialogs()) {
            CReportListDlg dlg(IDD_MACHINE_MATERIALS, 403, "", machine_materials_lines(plant), {5, 37, 60, 100, 137, 160},
                               nullptr);
            dlg.DoModal();
        }
        break;
    case 311:
        if (!any_transport_job(plant))
            box("No trans orders", "Raw Material Release List", 0);
        else if (has_dialogs() && view_ != nullptr) {
            CReportListDlg dlg(IDD_RAW_MATERIAL_RELEASE_LIST, 424, "",
                               raw_material_release_lines(plant, view_->clock.date_order), {8, 35, 60, 86, 114, 143},
                               nullptr);
            dlg.list_id = 1207;
            dlg.DoModal();
        }
        break;
    case 303:
        show_machine_times();
        break;
    case 313:
        if (has_dialogs()) {
            CRoughCutCapacityDlg dlg(plant, nullptr);
            dlg.DoModal();
        }
        break;
    case 314:
        if (plant.release_policy == 1 || plant.release_policy == 2)
            load_profile(ask_machine("Load Profile"));
        else
            box("You must set the Raw Material Release to MRP before watching this graph", "MRP Load Profile", 0);
        break;
    case 317:
        not_implemented("dlg_test");
        break;
    case 318: {
        bool any = false;
        for (int i = 0; i < plant.get_num_products() && !any; ++i)
            any = plant.is_taken_from_stock(i) != 0;
        if (!any)
            box("No common parts as materials", "Unassigned common part materials", 0);
        else if (has_dialogs()) {
            CReportGridDlg dlg(IDD_UNASSIGNED_COMMON_PARTS, 0, unassigned_common_parts(plant), nullptr);
            dlg.extra_height = 20;
            dlg.fit_to_rows = true;
            dlg.fit_base = 90;
            dlg.DoModal();
        }
        break;
    }
    case 401:
        not_implemented("dlg_set_display_freq");
        break;
    case 402:
        not_implemented("dlg_convert_to_wo");
        break;
    case 403:
        set_unit_manually();
        break;
    case 404:
        manual_scheduling(-1);
        break;
    case 405:
        if (has_dialogs()) {
            COrderDlg dlg(plant, decision_log(), nullptr);
            dlg.DoModal();
        }
        break;
    case 410:
        if (has_dialogs()) {
            CBuyMachineUnitDlg dlg(plant, decision_log(), nullptr);
            if (dlg.DoModal() == plat::IDOK)
                Repaint();
        }
        break;
    case 408:
        remove_work_order();
        break;
    case 414:
        add_extra_shift();
        break;
    case 406:
        if (plant.marketing->link_mode() == 2)
            not_implemented("dlg_forecast_policy");
        break;
    case 407:
        if (plant.marketing->link_mode() == 2) {
            plant.marketing->build_monthly_forecast();
            plant.marketing->build_production_plan();
            plant.edit_forecast();
        }
        break;
    case 409:
        if (plant.release_policy == 1 || plant.release_policy == 2)
            not_implemented("dlg_set_MRP_lead_time");
        break;
    case 411: {
        const int machine = ask_machine("Unit Shutdown");
        not_implemented("dlg_unit_shutdown");
        if (machine >= 0)
            invalidate_machine(machine);
        break;
    }
    case 412:
        not_implemented("dlg_get_product_plt");
        break;
    case 413:
        not_implemented("dlg_manual_raw_m_release");
        break;
    case 501:
        raw_material_release();
        break;
    case 502:
        set_machine_policy();
        break;
    case 504:
        set_work_order_planning();
        break;
    case 506:
        set_red_level_policy();
        break;
    case 505:
        schedules_options();
        break;
    case 507:
        assemble_to_order();
        break;
    case 512:
        if (has_dialogs()) {
            std::vector<std::pair<std::string, int16_t>> rows;
            for (const auto& p : plant.Products)
                rows.emplace_back(p->code, p->priority);
            CProductPriorityDlg dlg(rows, nullptr);
            dlg.enabled = plant.product_priority_on != 0 ? 1 : 0;
            if (dlg.DoModal() == plat::IDOK) {
                plant.product_priority_on = static_cast<int16_t>(dlg.enabled);
                for (size_t i = 0; i < plant.Products.size() && i < dlg.products.size(); ++i)
                    plant.Products[i]->priority = dlg.products[i].second;
            }
        }
        break;
    case 513:
        dbr_params();
        break;
    case 510:
        make_or_buy();
        break;
    case 503:
        not_implemented("dlg_set_trans_acc_policy");
        break;
    case 508:
        not_implemented("make_dlg_set_wo_kit_policy");
        break;
    case 509:
        if (has_dialogs())
            plant.marketing->edit_planned_contracts_policy([](ContractPlanning& planning) {
                CPlanningForContractsDlg dlg(nullptr);
                dlg.by_qlt = planning.by_qlt;
                dlg.days_before = planning.days_before;
                dlg.merge = planning.merge;
                if (dlg.DoModal() != plat::IDOK)
                    return false;
                planning = {dlg.by_qlt, dlg.days_before, dlg.merge};
                return true;
            });
        break;
    case 511:
        not_implemented("dlg_set_recommended_batch_creation");
        break;
    case EXTRA_SLOT_COMMAND:
        not_implemented("dlg_halt_after_min");
        break;
    default:
        break;
    }
}

PaintScope ProductionDepartment::paint_scope()
{
    return [this](Painter& painter, const std::function<void()>& draw) {
        struct Restore {
            SessionUi& ui;
            Painter* before;
            ~Restore() { ui.painting = before; }
        } restore{*ui_, ui_->painting};
        ui_->painting = &painter;
        draw();
    };
}

void ProductionDepartment::wo_diagram(int wo)
{
    if (!has_dialogs())
        return;
    CRouteDiagramDlg dlg(*engine_, -1, wo, paint_scope(), nullptr);
    dlg.DoModal();
}

void ProductionDepartment::routing_diagram()
{
    if (!has_dialogs())
        return;
    CProductionWnd& plant = *engine_;
    int family = -1, product = -1;
    if (!plant.marketing->pick_product("Enter product name:", "Routing Diagram", family, product))
        return;
    const char code[3] = {plant.marketing->family_letter(family), plant.marketing->product_letter(family, product), 0};
    const uint16_t position = plant.find_product_by_code_text(code);
    if (position >= plant.Products.size())
        return;
    CRouteDiagramDlg dlg(plant, position, -1, paint_scope(), nullptr);
    dlg.DoModal();
}

void ProductionDepartment::show_master_production_schedule()
{
    if (!has_dialogs() || view_ == nullptr)
        return;
    CMasterScheduleDlg dlg(*engine_, view_->clock.date_order, [this](int wo) { wo_diagram(wo); }, nullptr);
    dlg.DoModal();
}

void ProductionDepartment::load_profile(int machine)
{
    if (!has_dialogs() || machine < 0 || static_cast<size_t>(machine) >= engine_->Machines.size())
        return;
    std::string message;
    const std::vector<float> y = mrp_load_profile(*engine_, machine, message);
    if (y.empty()) {
        if (!message.empty())
            box(message, "MRP Load Profile", 0);
        return;
    }
    std::vector<float> x(y.size());
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<float>(i);
    CGraphDialog dlg(IDD_LOAD_PROFILE, nullptr);
    dlg.SetTitle((std::string(lang_translate("Load Profile")) + " - " +
                  engine_->Machines[static_cast<size_t>(machine)]->name).c_str());
    dlg.SetYCaption(lang_translate("Percentage"));
    dlg.AddSeries(x.data(), y.data(), static_cast<int>(y.size()), plat::FALSE, 0xFF0000, 2, 0);
    dlg.DoModal();
}

void ProductionDepartment::show_machine_times()
{
    if (!has_dialogs() || view_ == nullptr)
        return;
    CSalesSummaryGraphDlg dlg(nullptr);
    dlg.SetTitle(lang_translate("Machine Times Graph"));
    dlg.SetSelectorLabel("Machine:");
    float months[12] = {};
    view_->clock.GetLast12Months(months);
    int32_t numbers[12];
    for (size_t i = 0; i < 12; ++i)
        numbers[i] = static_cast<int32_t>(months[i]);
    dlg.SetMonths(numbers);
    dlg.AddLegend(lang_translate("Process"), plat::RGB(255, 255, 0));
    dlg.AddLegend(lang_translate("Idle"), plat::RGB(0, 0, 128));
    dlg.AddLegend(lang_translate("Setup"), plat::RGB(128, 128, 0));
    dlg.AddLegend(lang_translate("Break"), plat::RGB(255, 0, 0));
    const auto& machines = engine_->Machines;
    for (size_t i = 0; i < machines.size() && i < CSalesSummaryGraphDlg::MAX_SETS; ++i) {
        const RMachine& m = *machines[i];
        const int set = static_cast<int>(i);
        dlg.DefineSeries(set, 0, m.name, m.production_pct, plat::RGB(255, 255, 0), plat::RGB(128, 128, 0));
        dlg.DefineSeries(set, 1, m.name, m.idle_pct, plat::RGB(0, 0, 128), plat::RGB(0, 0, 64));
        dlg.DefineSeries(set, 2, m.name, m.break_pct, plat::RGB(255, 0, 0), plat::RGB(128, 0, 0));
        dlg.DefineSeries(set, 3, m.name, m.setup_pct, plat::RGB(128, 128, 0), plat::RGB(64, 64, 0));
    }
    dlg.DoModal();
}

void ProductionDepartment::machine_information()
{
    const int machine = ask_machine("Machine Information");
    if (machine < 0 || static_cast<size_t>(machine) >= engine_->Machines.size())
        return;
    const RMachine& m = *engine_->Machines[static_cast<size_t>(machine)];
    CReportListDlg dlg(IDD_MACHINE_INFORMATION, 401, formatted("Machine Information - %s", m.name),
                       machine_information_lines(*engine_, machine), {2, 40, 65, 100}, nullptr);
    dlg.statics = {{1256, machine_rule_name(m.rule)},
                   {1257, lang_translate(m.acceptance == 0 ? "Complete WO" : "Partial WO")}};
    dlg.DoModal();
}

void ProductionDepartment::set_unit_manually()
{
    const int machine = ask_machine("Set Unit Manually");
    if (machine < 0 || static_cast<size_t>(machine) >= engine_->Machines.size())
        return;
    const RMachine& m = *engine_->Machines[static_cast<size_t>(machine)];
    if (m.Waiting_WOs_Data.empty()) {
        box(formatted("There are no waiting jobs for machine: %s", m.name), "Set Unit Manually",
            plat::MB_ICONINFORMATION);
        return;
    }
    CSetUnitManuallyDlg dlg(
        *engine_, machine, decision_log(),
        [this](plat::HDC dc, int which, int x, int y) { draw_machine_at(dc, which, x, y); }, nullptr);
    if (dlg.DoModal() == plat::IDOK)
        Repaint();
}

namespace {

const char* release_name(int policy)
{
    static const char* const names[6] = {"Immediate release", "MRP",          "MRP Schedule",
                                         "DBR No Contrain",   "DBR Contrain", "Manual release"};
    return policy >= 0 && policy < 6 ? names[policy] : "";
}

const char* planning_mode_name(int mode)
{
    static const char* const names[3] = {"Fixed Interval", "Weekly", "Day of Month"};
    return mode >= 0 && mode < 3 ? names[mode] : "";
}

} // namespace

void ProductionDepartment::raw_material_release()
{
    if (!has_dialogs())
        return;
    CProductionWnd& plant = *engine_;
    // Leaving "MRP Schedule" starts from the machines' own rules, even if the dialog is cancelled.
    if (plant.release_policy == 2)
        plant.set_all_dispatch_rules(RULE_SCHEDULE);
    std::vector<std::string> names;
    for (const auto& m : plant.Machines)
        names.emplace_back(m->name);
    CRawMaterialReleaseDlg dlg(names, nullptr);
    static constexpr int choice_of[6] = {0, 1, -1, 4, 3, 2};
    const int before = plant.release_policy;
    dlg.choice = before >= 0 && before < 6 ? choice_of[before] : 0;
    dlg.lead_days = static_cast<uint16_t>(plant.mrp_lead_time_minutes) / 480;
    dlg.mrp_option = plant.mrp_option != 0 ? 1 : 0;
    dlg.constraint_machine = plant.constraint_machine;
    dlg.shipping_buffer = plant.shipping_buffer_hours;
    dlg.constraint_buffer = plant.constraint_buffer_hours;
    dlg.assembly_buffer = plant.assembly_buffer_hours;
    dlg.contract_factor = plant.contract_factor;
    dlg.red_line_hours = plant.red_line_hours;
    if (dlg.DoModal() != plat::IDOK)
        return;
    bool constraint_check = false;
    switch (dlg.choice) {
    case 0:
        plant.release_policy = 0;
        plant.mrp_option = 0;
        break;
    case 1:
        plant.release_policy = 1;
        // Up to 136 days: the minutes are read as a 16-bit count.
        plant.mrp_lead_time_minutes = static_cast<int16_t>(static_cast<uint16_t>(dlg.lead_days * 480));
        plant.mrp_option = static_cast<int16_t>(dlg.mrp_option);
        break;
    case 2:
        plant.release_policy = 5;
        plant.mrp_option = 0;
        break;
    case 3:
        plant.release_policy = 4;
        plant.mrp_option = 0;
        plant.assembly_buffer_hours = static_cast<int16_t>(dlg.assembly_buffer);
        plant.constraint_buffer_hours = static_cast<int16_t>(dlg.constraint_buffer);
        plant.contract_factor = static_cast<float>(dlg.contract_factor);
        if (dlg.constraint_machine >= 0 && static_cast<size_t>(dlg.constraint_machine) < plant.Machines.size())
            plant.constraint_machine = static_cast<int16_t>(dlg.constraint_machine);
        plant.red_line_hours = static_cast<int16_t>(dlg.red_line_hours);
        plant.shipping_buffer_hours = static_cast<int16_t>(dlg.shipping_buffer);
        plant.mark_constraint_routes();
        constraint_check = true;
        break;
    case 4:
        plant.release_policy = 3;
        plant.shipping_buffer_hours = static_cast<int16_t>(dlg.shipping_buffer);
        break;
    default:
        break;   // "MRP Schedule" shown with no choice and none made: the policy stays
    }
    plant.apply_release_policy();
    if (plant.release_policy != before)
        decision_log()("RawM Release", "-----", release_name(before), release_name(plant.release_policy), 2, 0);
    if (constraint_check)
        check_constraint_schedule();
}

void ProductionDepartment::check_constraint_schedule()
{
    CProductionWnd& plant = *engine_;
    const int c = plant.constraint_machine;
    if (c < 0 || static_cast<size_t>(c) >= plant.Machines.size() || plant.Machines[static_cast<size_t>(c)]->spare == 0)
        return;
    plant.Machines[static_cast<size_t>(c)]->spare = 0;
    plant.selection[0] = static_cast<uint16_t>(c);
    schedules_options();
}

void ProductionDepartment::schedules_options()
{
    if (!has_dialogs())
        return;
    CProductionWnd& plant = *engine_;
    int machine = plant.selection[0];
    if (static_cast<size_t>(machine) >= plant.Machines.size())
        machine = ask_machine("Schedule Options");
    if (machine < 0 || static_cast<size_t>(machine) >= plant.Machines.size())
        return;
    RMachine& m = *plant.Machines[static_cast<size_t>(machine)];
    CSchedulesOptionsDlg dlg(m.name, nullptr);
    dlg.option = m.schedule_option != 0 ? 1 : 0;
    if (dlg.DoModal() == plat::IDOK && dlg.option >= 0)
        m.schedule_option = static_cast<int16_t>(dlg.option);
}

void ProductionDepartment::set_work_order_planning()
{
    if (!has_dialogs())
        return;
    CProductionWnd& plant = *engine_;
    CWorkOrderPlanningDlg dlg(nullptr);
    dlg.mode = plant.wo_planning_mode;
    dlg.min_batch = plant.min_wo_quantity;
    if (plant.wo_planning_mode == 1)
        dlg.day = plant.wo_planning_parameter - 2;
    else
        dlg.interval = plant.wo_planning_parameter;
    if (dlg.DoModal() != plat::IDOK)
        return;
    const int old_mode = plant.wo_planning_mode, old_parameter = plant.wo_planning_parameter,
              old_batch = plant.min_wo_quantity;
    plant.wo_planning_mode = static_cast<int16_t>(dlg.mode);
    plant.wo_planning_parameter = static_cast<int16_t>(dlg.mode == 1 ? dlg.day + 2 : dlg.interval);
    plant.min_wo_demand = 1;
    plant.min_wo_quantity = static_cast<int16_t>(dlg.min_batch);
    plant.wo_planning_countdown = plant.wo_planning_parameter;
    const DecisionLog log = decision_log();
    if (plant.wo_planning_mode != old_mode)
        log("WOPlann-Frequancy", "-----", planning_mode_name(old_mode), planning_mode_name(plant.wo_planning_mode), 2, 0);
    if (plant.wo_planning_parameter != old_parameter)
        log("WOPlann-Interval", "-----", std::to_string(old_parameter), std::to_string(plant.wo_planning_parameter), 2,
            0);
    if (plant.min_wo_quantity != old_batch)
        log("WOPlann-Batch", "-----", std::to_string(old_batch), std::to_string(plant.min_wo_quantity), 2, 0);
}

void ProductionDepartment::edit_policy(int which)
{
    if (!engine_)
        return;
    switch (which) {
    case POLICY_MACHINE:
        set_machine_policy();
        break;
    case POLICY_WORK_ORDER_PLANNING:
        set_work_order_planning();
        break;
    case POLICY_RED_LEVEL:
        set_red_level_policy();
        break;
    default:
        break;
    }
}

void ProductionDepartment::set_machine_policy()
{
    if (!has_dialogs())
        return;
    static const char* const rules[5] = {"FIFO", "Current job", "Schedule", "EDD", "PRI"};
    static const char* const acceptances[2] = {"Complete WO", "Partial WO"};
    auto name_of = [](const char* const* names, int n, int v) { return v >= 0 && v < n ? names[v] : ""; };
    CProductionWnd& plant = *engine_;
    std::vector<CSetMachinePolicyDlg::Row> rows;
    for (const auto& m : plant.Machines)
        rows.push_back({m->name, m->rule, m->acceptance == 0 ? 0 : 1});
    CSetMachinePolicyDlg dlg(rows, nullptr);
    if (dlg.DoModal() != plat::IDOK)
        return;
    const DecisionLog log = decision_log();
    for (size_t i = 0; i < plant.Machines.size() && i < dlg.rows.size(); ++i) {
        RMachine& m = *plant.Machines[i];
        const CSetMachinePolicyDlg::Row& r = dlg.rows[i];
        if (r.rule != m.rule) {
            log("DispatchPolicy", m.name, name_of(rules, 5, m.rule), name_of(rules, 5, r.rule), 2, 0);
            m.rule = static_cast<int16_t>(r.rule);
        }
        if (r.acceptance != m.acceptance) {
            log("WOAccept", m.name, name_of(acceptances, 2, m.acceptance), name_of(acceptances, 2, r.acceptance), 2,
                0);
            m.acceptance = static_cast<int16_t>(r.acceptance);
        }
    }
    Repaint();
}

void ProductionDepartment::set_red_level_policy()
{
    if (!has_dialogs())
        return;
    CProductionWnd& plant = *engine_;
    MarketingDept& market = *plant.marketing;
    const bool times = market.link_mode() == 1;
    std::vector<CRedLinePolicyDlg::Row> rows;
    std::vector<std::pair<int, int>> pairs;
    for (int f = 0; f < market.family_count(); ++f)
        for (int p = 0; p < market.product_count(f); ++p) {
            const char code[3] = {market.family_letter(f), market.product_letter(f, p), 0};
            rows.push_back({code, times ? market.red_line_time(f, p) : market.red_line_level(f, p)});
            pairs.emplace_back(f, p);
        }
    CRedLinePolicyDlg dlg(times, rows, nullptr);
    dlg.policy = plant.red_level_policy != 0 ? 1 : 0;
    if (dlg.DoModal() != plat::IDOK)
        return;
    const DecisionLog log = decision_log();
    for (size_t i = 0; i < rows.size() && i < dlg.rows.size(); ++i) {
        if (dlg.rows[i].value == rows[i].value)
            continue;
        const auto [f, p] = pairs[i];
        log(times ? "RedlineTime" : "PrdRedLevel", rows[i].code, std::to_string(rows[i].value),
            std::to_string(dlg.rows[i].value), 2, 0);
        if (times)
            market.set_red_line_time(f, p, dlg.rows[i].value);
        else
            market.set_red_line_level(f, p, dlg.rows[i].value);
    }
    plant.red_level_policy = static_cast<int16_t>(dlg.policy);
}

int ProductionDepartment::ask_schedule_end(int machine)
{
    if (!has_dialogs() || machine < 0 || static_cast<size_t>(machine) >= engine_->Machines.size())
        return 0;
    CScheduleEndDlg dlg(engine_->Machines[static_cast<size_t>(machine)]->name, nullptr);
    dlg.DoModal();
    // A dialog opened inside the machine's dispatch would change the queue it walks.
    if (dlg.choice == 0)
        post_command(502, machine);
    else if (dlg.choice == 1)
        post_command(404, machine);
    return dlg.choice;
}

void ProductionDepartment::post_command(int command, int machine)
{
    const plat::HWND w = window_handle();
    if (w == 0)
        return;
    posted_.emplace_back(command, machine);
    plat::PostMessage(w, plat::WM_COMMAND, plat::MAKEWPARAM(POSTED_COMMAND_ID, 0), 0);
}

void ProductionDepartment::run_posted_commands()
{
    std::vector<std::pair<int, int>> commands;
    commands.swap(posted_);
    for (const auto& [command, machine] : commands) {
        if (!engine_)
            return;
        if (command == 502)
            set_machine_policy();
        else if (command == 404)
            manual_scheduling(machine);
    }
}

void ProductionDepartment::manual_scheduling(int machine)
{
    if (!has_dialogs())
        return;
    if (machine < 0)
        machine = ask_machine("Manual Scheduling");
    if (machine < 0 || static_cast<size_t>(machine) >= engine_->Machines.size())
        return;
    RMachine& m = *engine_->Machines[static_cast<size_t>(machine)];
    if (m.Waiting_WOs_Data.empty()) {
        box(formatted("No waiting WO's for machine: %s", m.name), "Manual Scheduling", plat::MB_ICONINFORMATION);
        return;
    }
    CManualSchedulingDlg dlg(*engine_, machine, decision_log(), nullptr);
    dlg.option = m.schedule_option != 0 ? 1 : 0;
    if (dlg.DoModal() != plat::IDOK)
        return;
    m.schedule_option = static_cast<int16_t>(dlg.option);
    Repaint();
}

void ProductionDepartment::assemble_to_order()
{
    const int position = ask_common_part();
    if (position < 0 || static_cast<size_t>(position) >= engine_->Products.size())
        return;
    RProduct& p = *engine_->Products[static_cast<size_t>(position)];
    CAssembleToOrderDlg dlg(std::string(lang_translate("Assemble to order")) + " - " + p.code, nullptr);
    dlg.active = p.on_stock != 0 ? 1 : 0;
    dlg.max_level = p.order_up_to;
    dlg.order_level = p.reorder_point;
    dlg.red_level = p.red_line_level;
    if (dlg.DoModal() != plat::IDOK)
        return;
    const bool was_stocked = p.on_stock != 0;
    p.on_stock = static_cast<uint16_t>(dlg.active);
    p.order_up_to = static_cast<uint16_t>(dlg.max_level);
    p.reorder_point = static_cast<uint16_t>(dlg.order_level);
    p.red_line_level = static_cast<uint16_t>(dlg.red_level);
    if (was_stocked && p.on_stock == 0)
        engine_->drop_reorder_work_orders(position);
}

void ProductionDepartment::make_or_buy()
{
    const int position = ask_common_part();
    if (position < 0 || static_cast<size_t>(position) >= engine_->Products.size())
        return;
    RProduct& p = *engine_->Products[static_cast<size_t>(position)];
    CMakeOrBuyDlg dlg(nullptr);
    dlg.source = p.buy != 0 ? 1 : 0;
    if (dlg.DoModal() != plat::IDOK)
        return;
    const int before = p.buy;
    p.buy = dlg.source == 1 ? 1 : 0;
    if (p.buy != before)
        decision_log()("MakeOrBuy", p.code, std::to_string(before), std::to_string(p.buy), 2, 0);
}

void ProductionDepartment::dbr_params()
{
    if (!has_dialogs())
        return;
    CProductionWnd& plant = *engine_;
    std::vector<std::string> names;
    for (const auto& m : plant.Machines)
        names.emplace_back(m->name);
    CDbrParamsDlg dlg(names, nullptr);
    dlg.constraint_machine =
        static_cast<size_t>(plant.constraint_machine) < plant.Machines.size() ? plant.constraint_machine : -1;
    dlg.shipping_buffer = plant.shipping_buffer_hours;
    dlg.constraint_buffer = plant.constraint_buffer_hours;
    dlg.assembly_buffer = plant.assembly_buffer_hours;
    dlg.contract_factor = plant.contract_factor;
    if (dlg.DoModal() != plat::IDOK)
        return;
    plant.constraint_machine = static_cast<int16_t>(dlg.constraint_machine);
    plant.assembly_buffer_hours = static_cast<int16_t>(dlg.assembly_buffer);
    plant.constraint_buffer_hours = static_cast<int16_t>(dlg.constraint_buffer);
    plant.shipping_buffer_hours = static_cast<int16_t>(dlg.shipping_buffer);
    plant.contract_factor = static_cast<float>(dlg.contract_factor);
    plant.release_policy = 4;
    plant.mark_constraint_routes();
    check_constraint_schedule();
}

void ProductionDepartment::show_help()
{
    const bool load = engine_ != nullptr && engine_->show_load != 0;
    plat::WinHelp(window_handle(), "vorn.hlp", plat::HELP_CONTEXT, load ? 16 : 12);
}

void ProductionDepartment::add_extra_shift()
{
    if (!has_dialogs() || view_ == nullptr)
        return;
    CProductionWnd& plant = *engine_;
    const double cost = (static_cast<double>(plant.finance->monthly_direct_labour()) +
                         plant.finance->monthly_production_expenses()) * 1.5 / 22;
    const int order = view_->clock.date_order;
    CAddExtraShiftDlg dlg(order, cost, nullptr);
    const bool planned = plant.extra_shift_start.year != 0 || plant.extra_shift_end.year != 0;
    const SimStamp now = plant.host->now();
    const SimStamp from = planned ? plant.extra_shift_start : now, to = planned ? plant.extra_shift_end : now;
    dlg.from = SimDateTime{from.year, from.month, from.day, from.hour, from.minute};
    dlg.to = SimDateTime{to.year, to.month, to.day, to.hour, to.minute};
    if (dlg.DoModal() != plat::IDOK)
        return;
    plant.extra_shift_start = SimStamp{dlg.from.year, dlg.from.month, dlg.from.day, dlg.from.hour, dlg.from.minute};
    plant.extra_shift_end = SimStamp{dlg.to.year, dlg.to.month, dlg.to.day, dlg.to.hour, dlg.to.minute};
    plant.apply_shift_schedule();
    decision_log()("AddExtraShift", "", "", date_text(dlg.from, order) + "," + date_text(dlg.to, order), 2, 0);
}

void ProductionDepartment::remove_work_order()
{
    if (!has_dialogs())
        return;
    CGetWoNumDlg dlg(*engine_, "Remove Work Order", nullptr);
    dlg.DoModal();
    Repaint();
    if (dlg.result < 0 || static_cast<size_t>(dlg.result) >= engine_->Work_Orders.size())
        return;
    // The name is taken before the work order goes.
    const std::string name = engine_->Work_Orders[static_cast<size_t>(dlg.result)]->name;
    engine_->remove_work_order(engine_->Work_Orders[static_cast<size_t>(dlg.result)].get());
    box(formatted("Remove Work Order %s", name.c_str()), "Done", 0);
    Repaint();
}
