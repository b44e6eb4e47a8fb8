// Drum-buffer-rope release: the constraint's schedule and the release of material ahead of it.
#include "production/production_wnd.h"
#include <algorithm>
#include <cmath>

namespace {

void release_held(RTransport_Manager* transport)
{
    if (!transport)
        return;
    for (auto& tj : transport->Trans_Jobs)
        if (tj->release == -2)
            tj->release = -1;
}

int32_t buffer_minutes(int hours, float factor)
{
    return static_cast<int32_t>(std::trunc(static_cast<double>(hours) * 60.0 * static_cast<double>(factor)));
}

} // namespace

float CProductionWnd::buffer_factor(const RWork_Order& wo) const
{
    return wo.has_customer_order == 1 ? contract_factor : 1.0f;
}

void CProductionWnd::mark_constraint_routes()
{
    for (auto& p : Products)
        p->spare = 0;
    for (auto& j : Jobs)
        if (j)
            j->on_constraint = j->machine_number == static_cast<uint16_t>(constraint_machine) ? 1 : 0;
    for (auto& j : Jobs)
        if (j && j->on_constraint)
            if (RProduct* p = product(j->product_position))
                p->spare = 1;
    for (size_t p = 0; p < Products.size(); ++p)
        find_constraint_path({KIND_PRODUCT, static_cast<uint8_t>(p), 1});
}

uint16_t CProductionWnd::find_constraint_path(const RouteItem& item)
{
    if (item.kind == KIND_PRODUCT) {
        const RProduct* p = product(item.index);
        return p ? find_constraint_path({KIND_JOB, static_cast<uint8_t>(p->final_job), 1}) : NONE16;
    }
    if (item.kind != KIND_JOB)
        return NONE16;
    RJob* j = job(item.index);
    if (!j)
        return NONE16;
    int count = 0;
    uint16_t last = NONE16;
    for (size_t n = 0; n < j->inputs.size(); ++n) {
        const RInp in = j->inputs[n];
        const uint16_t r = find_constraint_path({in.kind, in.index, in.quantity});
        j->inputs[n].constraint_path = r;
        if (r != NONE16) {
            ++count;
            last = r;
        }
    }
    const int inputs = static_cast<int>(j->inputs.size());
    if (count > 0 && count != inputs && inputs > 1) {
        j->dbr_marker = 1;
        return item.index;
    }
    if (count > 1 && count == inputs) {
        j->dbr_marker = 2;
        return item.index;
    }
    if (count == 1)
        return last;
    if (j->on_constraint && count == 0)
        return item.index;
    return NONE16;
}

void CProductionWnd::set_release_below(const RouteItem& item, RWork_Order* wo, int parent, int32_t minute)
{
    if (!transport)
        return;
    if (item.kind == KIND_RAW) {
        for (auto& tj : transport->Trans_Jobs)
            if (tj->requesting_wo == wo && tj->material_kind == KIND_RAW && tj->material_index == item.index &&
                tj->dest_kind == KIND_JOB && tj->dest_index == parent) {
                tj->release = minute;
                return;
            }
        return;
    }
    if (item.kind == KIND_JOB) {
        const RJob* j = job(item.index);
        if (!j)
            return;
        for (const RInp& in : j->inputs)
            set_release_below({in.kind, in.index, in.quantity}, wo, item.index, minute);
        return;
    }
    const RProduct* p = product(item.index);
    if (!p)
        return;
    if (p->code[0] == 'U' || p->code[0] == 'V')
        for (auto& tj : transport->Trans_Jobs)
            if (tj->requesting_wo == wo && tj->material_kind == KIND_PRODUCT && tj->material_index == item.index &&
                tj->dest_kind == KIND_JOB && tj->dest_index == parent)
                tj->release = minute;
    set_release_below({KIND_JOB, static_cast<uint8_t>(p->final_job), 1}, wo, parent, minute);
}

void CProductionWnd::dbr_no_constrain()
{
    for (auto& wo : Work_Orders) {
        const RProduct* p = product(wo->product_position());
        const int32_t release = wo->due_minute - (p ? static_cast<int32_t>(p->release_hours) * 60 : 0);
        if (transport)
            for (auto& tj : transport->Trans_Jobs)
                if (tj->requesting_wo == wo.get() && tj->material_kind == KIND_RAW)
                    tj->release = release;
    }
    release_held(transport.get());
}

namespace {

// Assembly points where only some inputs pass the constraint: the others come a buffer before due.
void release_assembly_branches(CProductionWnd& p)
{
    for (auto& j : p.Jobs) {
        if (!j || j->dbr_marker != 1 || !j->machine)
            continue;
        for (auto& e : j->machine->Waiting_WOs_Data) {
            if (e->job != j.get() || !e->request || !e->request->wo)
                continue;
            RWork_Order* wo = e->request->wo;
            int32_t release = wo->due_minute - buffer_minutes(p.shipping_buffer_hours + p.assembly_buffer_hours,
                                                              p.buffer_factor(*wo));
            if (release < 0)
                release = -1;
            for (const RInp& in : j->inputs)
                if (in.constraint_path == NONE16)
                    p.set_release_below({in.kind, in.index, in.quantity}, wo, j->job_number, release);
        }
    }
}

} // namespace

void CProductionWnd::do_DBR_constrain()
{
    if (constraint_machine < 0 || static_cast<size_t>(constraint_machine) >= Machines.size()) {
        release_held(transport.get());
        return;
    }
    RMachine& drum = *Machines[static_cast<size_t>(constraint_machine)];
    RDBRPlanTable table(*this, constraint_machine, static_cast<uint32_t>(30 * shipping_buffer_hours));
    std::vector<Waiting_WO_Data*> entries;
    for (auto& e : drum.Waiting_WOs_Data)
        if (e->job && e->job->on_constraint && e->request && e->request->wo)
            entries.push_back(e.get());

    for (auto& wo : Work_Orders) {
        wo->has_customer_order = 0;
        for (const ProductionOrder* o : wo->Request)
            if (o->order_type == ORDER_CUSTOMER)
                wo->has_customer_order = 1;
        const RProduct* p = product(wo->product_position());
        if (p && p->spare)
            continue;
        const int32_t release =
            wo->due_minute - buffer_minutes(shipping_buffer_hours + assembly_buffer_hours, buffer_factor(*wo));
        if (transport)
            for (auto& tj : transport->Trans_Jobs)
                if (tj->requesting_wo == wo.get() && tj->material_kind == KIND_RAW)
                    tj->release = release;
    }
    if (entries.empty()) {
        release_held(transport.get());
        return;
    }
    // Equal keys go by work-order number and then by queue order, whatever the number wrapped to.
    const auto key = [this](const Waiting_WO_Data* e) {
        const RWork_Order& wo = *e->request->wo;
        return wo.has_customer_order == 1 ? buffer_minutes(shipping_buffer_hours, contract_factor)
                                          : static_cast<int32_t>(shipping_buffer_hours) * 60;
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const Waiting_WO_Data* a, const Waiting_WO_Data* b) {
        const int32_t ka = key(a), kb = key(b);
        if (ka != kb)
            return ka < kb;
        return a->request->wo->number < b->request->wo->number;
    });
    for (size_t i = entries.size(); i-- > 0;) {
        const RWork_Order& wo = *entries[i]->request->wo;
        table.AddIntoTable(entries[i], wo.due_minute - buffer_minutes(shipping_buffer_hours, buffer_factor(wo)));
    }
    table.push_forward(static_cast<int32_t>(host->tick()));
    for (Waiting_WO_Data* e : entries) {
        int32_t start = 0;
        if (table.find_entry(e, start) < 0) {
            e->drum_start = -1;
            continue;
        }
        e->drum_start = start;
        RWork_Order* wo = e->request->wo;
        int32_t release = start - buffer_minutes(constraint_buffer_hours, buffer_factor(*wo));
        if (release < 0)
            release = -1;
        set_release_below({KIND_JOB, e->job->job_number, 1}, wo, -1, release);
    }
    release_assembly_branches(*this);
    drum.Schedules = entries;
    release_held(transport.get());
}

int CProductionWnd::dbr_hourly_release()
{
    if (constraint_machine < 0 || static_cast<size_t>(constraint_machine) >= Machines.size())
        return 0;
    const auto now = static_cast<int32_t>(host->tick());
    int raised = 0;
    for (auto& e : Machines[static_cast<size_t>(constraint_machine)]->Waiting_WOs_Data) {
        if (!e->job || !e->job->on_constraint || e->drum_start == -1 || !e->request || !e->request->wo)
            continue;
        const int32_t red = e->drum_start - static_cast<int32_t>(red_line_hours) * 60;
        if (red < now && e->job->parts_from_inputs(e->request->wo, e->request->x, e->request->y) == 0) {
            e->request->wo->priority = static_cast<int16_t>(std::min<int32_t>((now - red) / 480, 32767));
            raised = 1;
        }
    }
    return raised;
}

void CProductionWnd::set_raw_releases_according_to_list(const std::vector<Waiting_WO_Data*>& list)
{
    if (constraint_machine < 0 || static_cast<size_t>(constraint_machine) >= Machines.size())
        return;
    if (list.empty()) {
        ui->notice("No work orders for constrain");
        return;
    }
    RForwardPlanTable table(*this, constraint_machine);
    const auto all_units_have = [&table](int32_t minutes) {
        for (size_t u = 0; u < table.units.size(); ++u)
            if (static_cast<int32_t>(table.unit_load(static_cast<int>(u))) < minutes)
                return false;
        return true;
    };
    const int32_t buffer = static_cast<int32_t>(constraint_buffer_hours) * 60;
    size_t i = 0;
    for (; i < list.size(); ++i) {
        Waiting_WO_Data* e = list[i];
        uint16_t d = 0;
        table.AddIntoTable(e, d);
        set_release_below({KIND_JOB, e->job->job_number, 1}, e->request->wo, -1, -1);
        if (all_units_have(buffer / 2) || e->job->parts_from_inputs(e->request->wo, e->request->x, e->request->y) == 0) {
            ++i;
            break;
        }
    }
    bool full = all_units_have(buffer);
    for (; i < list.size(); ++i) {
        Waiting_WO_Data* e = list[i];
        uint16_t d = 0;
        const int16_t unit = table.AddIntoTable(e, d);
        RWork_Order* wo = e->request->wo;
        if (!full) {
            set_release_below({KIND_JOB, e->job->job_number, 1}, wo, -1, -1);
            full = all_units_have(buffer);
            continue;
        }
        int32_t start = 0;
        if (unit >= 0)
            for (const PlanSlot& s : table.units[static_cast<size_t>(unit)].line)
                if (s.entry == e)
                    start = s.start;
        int32_t release = static_cast<int32_t>(host->tick()) + start -
                          buffer_minutes(constraint_buffer_hours, buffer_factor(*wo));
        if (release < 0)
            release = -1;
        set_release_below({KIND_JOB, e->job->job_number, 1}, wo, -1, release);
    }
    release_assembly_branches(*this);
    release_held(transport.get());
}
