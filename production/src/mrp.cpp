// MRP release planning: backward explosion with fixed lead times, schedules, material requirements.
#include "production/production_wnd.h"
#include <algorithm>
#include <climits>
#include <map>
#include <set>

void CProductionWnd::apply_release_policy()
{
    apply_mrp_lead_time();
    if (release_policy == 0 && transport)
        transport->release_all();
    if (release_policy == 1)
        for (auto& m : Machines)
            m->schedule_option = 1;
}

namespace {

int16_t clamp16(int32_t v)
{
    return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

// Release minute of the jobs that carry one material of a work order, optionally only to one job.
void set_carried_release(RTransport_Manager* transport, const RWork_Order* wo, int16_t kind, int index, int parent,
                         int32_t minute)
{
    if (!transport)
        return;
    for (auto& tj : transport->Trans_Jobs)
        if (tj->requesting_wo == wo && tj->material_kind == kind && tj->material_index == index &&
            (parent < 0 || (tj->dest_kind == KIND_JOB && tj->dest_index == parent)))
            tj->release = minute;
}

} // namespace

void CProductionWnd::do_MRP()
{
    if (Work_Orders.empty())
        return;
    std::vector<RWork_Order*> order;
    for (auto& wo : Work_Orders)
        order.push_back(wo.get());
    for (size_t i = 0; i < order.size(); ++i)
        for (size_t j = i; j < order.size(); ++j)
            if (order[i]->due_minute > order[j]->due_minute)
                std::swap(order[i], order[j]);
    bool replan = false;
    for (RWork_Order* wo : order) {
        explode_mrp({wo->item_kind, wo->item, static_cast<int32_t>(wo->quantity)}, 1, wo, wo->due_minute, 0,
                    wo->item, replan, true);
        if (mrp_option && wo->mrp_planned == 0)
            wo->mrp_planned = 1;
    }
    if (release_policy == RELEASE_MRP_SCHEDULE) {
        for (size_t m = 0; m < Machines.size(); ++m) {
            RMachine& machine = *Machines[m];
            machine.Schedules.clear();
            RParallelFPT table(*this, static_cast<int>(m));
            for (auto& e : machine.Waiting_WOs_Data)
                table.add_waiting_data(e.get());
            for (const PlanSlot& s : table.time_table)
                machine.Schedules.push_back(s.entry);
        }
    }
    if (replan)
        plan_work_orders(1);
}

void CProductionWnd::explode_mrp(const RouteItem& item, int32_t multiplier, RWork_Order* wo, int32_t need,
                                 int32_t lead, int parent, bool& replan, bool top)
{
    if (item.kind == KIND_RAW) {
        set_carried_release(transport.get(), wo, KIND_RAW, item.index, parent, need < 0 ? -1 : need);
        return;
    }
    if (item.kind == KIND_JOB) {
        RJob* j = job(item.index);
        if (!j || !j->machine)
            return;
        Waiting_WO* request = j->find_waiting_wo(wo);
        Waiting_WO_Data* e = request ? j->machine->find_waiting_data(j, request) : nullptr;
        // The first work order by due minute keeps its plan.
        if (!e || e->planned_start != -1)
            return;
        e->planned_start = need;
        e->planned_duration = static_cast<uint16_t>(std::clamp<int32_t>(lead, 0, 65535));
        for (const RInp& in : j->inputs)
            explode_mrp({in.kind, in.index, in.quantity}, multiplier * in.quantity, wo, need - lead, in.lead,
                        item.index, replan, false);
        return;
    }
    RProduct* p = product(item.index);
    if (!p)
        return;
    if (p->buy == 0 && (top || p->on_stock == 0)) {
        if (!top && mrp_option && p->stock_policy == 1 && wo->first_order_type() != ORDER_CONTRACT) {
            const int32_t at = need < 0 ? -1 : need;
            set_carried_release(transport.get(), wo, KIND_PRODUCT, item.index, -1, at);
            if (wo->mrp_planned == 0) {
                make_common_part_order(item, static_cast<int32_t>(wo->quantity) * multiplier, at);
                replan = true;
            }
            return;
        }
        explode_mrp({KIND_JOB, static_cast<uint8_t>(p->final_job), 1}, multiplier, wo, need, p->mrp_lead_time,
                    item.index, replan, false);
        return;
    }
    set_carried_release(transport.get(), wo, KIND_PRODUCT, item.index, -1, need < 0 ? -1 : need);
}

void CProductionWnd::make_common_part_order(const RouteItem& item, int32_t quantity, int32_t need)
{
    static constexpr int hours[3] = {8, 24, 16};
    const int mode = host->shift_mode();
    const int32_t day = hours[(mode >= 0 && mode <= 2) ? mode : 0] * 60;
    // A need already past is due at once, not wrapped far into the future.
    const int32_t lead = std::max<int32_t>(0, (need - static_cast<int32_t>(host->tick())) / day);
    uint16_t f = NONE16, q = NONE16;
    product_pair_of(item.index, f, q);
    const int16_t family = f == NONE16 ? int16_t{-1} : static_cast<int16_t>(f);
    const int16_t index = f == NONE16 ? static_cast<int16_t>(item.index) : static_cast<int16_t>(q);
    add_order(family, index, clamp16(quantity), ORDER_REORDER, KIND_PRODUCT, clamp16(lead));
}

void CProductionWnd::set_all_dispatch_rules(int16_t value)
{
    for (auto& m : Machines) {
        if (value == RULE_SCHEDULE && m->rule == RULE_SCHEDULE) {
            m->rule = m->initial_rule;
        } else {
            m->initial_rule = m->rule;
            m->rule = value;
        }
    }
}

void CProductionWnd::apply_mrp_lead_time()
{
    const auto lead = static_cast<uint16_t>(mrp_lead_time_minutes);
    for (auto& j : Jobs)
        if (j)
            for (RInp& in : j->inputs)
                if (in.kind == KIND_JOB || in.kind == KIND_PRODUCT)
                    in.lead = lead;
    for (auto& p : Products)
        p->mrp_lead_time = lead;
}

namespace {

// Everything a what-if planning run can touch, kept by value and put back afterwards.
struct PlantSnapshot {
    struct MachineState {
        std::vector<std::pair<Waiting_WO_Data*, Waiting_WO_Data>> entries;
        std::vector<Waiting_WO_Data*> schedules;
        int32_t request_size_sum = 0;
        uint16_t request_size_count = 0;
        int32_t buffer_count = 0;
    };
    struct JobState {
        std::vector<Input_Stock> input_stock;
        std::vector<Finished_Output> outputs;
    };
    struct WorkOrderState {
        RWork_Order* wo;
        uint16_t has_customer_order, mrp_planned, materials_started;
        int16_t priority;
        uint32_t quantity;
        int32_t due_minute;
        std::vector<std::pair<int32_t, int32_t>> finished_split;
        std::vector<ProductionOrder*> requests;
    };
    std::vector<std::pair<ProductionOrder*, ProductionOrder>> orders;
    std::vector<WorkOrderState> work_orders;
    std::vector<RProduct> products;
    std::vector<JobState> jobs;
    std::vector<MachineState> machines;
    std::vector<std::pair<RTransportJob*, RTransportJob>> transport_jobs;
    bool sorted_once = false;
    uint16_t wo_counter = 1;
    int16_t merge_order_types = 0;

    explicit PlantSnapshot(const CProductionWnd& p)
    {
        for (const auto& o : p.prd_orders)
            orders.emplace_back(o.get(), *o);
        for (const auto& wo : p.Work_Orders)
            work_orders.push_back({wo.get(), wo->has_customer_order, wo->mrp_planned, wo->materials_started,
                                   wo->priority, wo->quantity, wo->due_minute, wo->finished_split, wo->Request});
        for (const auto& pr : p.Products)
            products.push_back(*pr);
        for (const auto& j : p.Jobs)
            jobs.push_back(j ? JobState{j->input_stock, j->outputs} : JobState{});
        for (const auto& m : p.Machines) {
            MachineState s;
            for (const auto& e : m->Waiting_WOs_Data)
                s.entries.emplace_back(e.get(), *e);
            s.schedules = m->Schedules;
            s.request_size_sum = m->request_size_sum;
            s.request_size_count = m->request_size_count;
            s.buffer_count = m->buffer_count;
            machines.push_back(std::move(s));
        }
        if (p.transport) {
            for (const auto& tj : p.transport->Trans_Jobs)
                transport_jobs.emplace_back(tj.get(), *tj);
            sorted_once = p.transport->sorted_once;
        }
        wo_counter = p.wo_counter;
        merge_order_types = p.merge_order_types;
    }

    void restore(CProductionWnd& p) const
    {
        std::set<const RWork_Order*> kept_wos;
        for (const WorkOrderState& w : work_orders)
            kept_wos.insert(w.wo);
        std::set<const ProductionOrder*> kept_orders;
        for (const auto& o : orders)
            kept_orders.insert(o.first);
        // A real order the run put into a new work order stays: only the run's own orders go with it.
        for (size_t i = p.Work_Orders.size(); i-- > 0;) {
            RWork_Order* wo = p.Work_Orders[i].get();
            if (kept_wos.count(wo))
                continue;
            std::erase_if(wo->Request, [&](const ProductionOrder* o) { return kept_orders.count(o) != 0; });
            p.destroy_work_order(wo);
        }
        std::erase_if(p.prd_orders, [&](const std::unique_ptr<ProductionOrder>& o) { return !kept_orders.count(o.get()); });
        for (const auto& [o, value] : orders)
            *o = value;
        for (const WorkOrderState& w : work_orders) {
            w.wo->has_customer_order = w.has_customer_order;
            w.wo->mrp_planned = w.mrp_planned;
            w.wo->materials_started = w.materials_started;
            w.wo->priority = w.priority;
            w.wo->quantity = w.quantity;
            w.wo->due_minute = w.due_minute;
            w.wo->finished_split = w.finished_split;
            w.wo->Request = w.requests;
        }
        for (size_t i = 0; i < products.size() && i < p.Products.size(); ++i)
            *p.Products[i] = products[i];
        for (size_t i = 0; i < jobs.size() && i < p.Jobs.size(); ++i)
            if (p.Jobs[i]) {
                p.Jobs[i]->input_stock = jobs[i].input_stock;
                p.Jobs[i]->outputs = jobs[i].outputs;
            }
        for (size_t m = 0; m < machines.size() && m < p.Machines.size(); ++m) {
            RMachine& machine = *p.Machines[m];
            for (const auto& [e, value] : machines[m].entries)
                *e = value;
            machine.Schedules = machines[m].schedules;
            machine.request_size_sum = machines[m].request_size_sum;
            machine.request_size_count = machines[m].request_size_count;
            machine.buffer_count = machines[m].buffer_count;
        }
        if (p.transport) {
            std::map<const RTransportJob*, std::unique_ptr<RTransportJob>> pool;
            for (auto& tj : p.transport->Trans_Jobs)
                pool[tj.get()] = std::move(tj);
            p.transport->Trans_Jobs.clear();
            for (const auto& [tj, value] : transport_jobs) {
                auto it = pool.find(tj);
                if (it == pool.end())
                    continue;
                *it->second = value;
                p.transport->Trans_Jobs.push_back(std::move(it->second));
            }
            p.transport->sorted_once = sorted_once;
        }
        p.wo_counter = wo_counter;
        p.merge_order_types = merge_order_types;
    }
};

} // namespace

void CProductionWnd::get_material_requirements(std::vector<MaterialRequirement>& list)
{
    list.clear();
    const PlantSnapshot before(*this);
    plan_contract_orders();
    plan_work_orders(2);
    if (release_policy == RELEASE_MRP_SCHEDULE)
        do_MRP();
    else if (release_policy == RELEASE_DBR_NO_CONSTRAINT)
        dbr_no_constrain();
    else if (release_policy == RELEASE_DBR_CONSTRAINT)
        do_DBR_constrain();

    struct Need {
        int16_t family, material;
        int32_t quantity;
        int32_t due;
        bool contract;
        uint8_t index;
    };
    std::vector<Need> needs;
    if (transport)
        for (const auto& tj : transport->Trans_Jobs) {
            if (tj->source_kind != KIND_RAW || tj->source_index >= Raw_Ms.size())
                continue;
            uint16_t f = NONE16, m = NONE16;
            purchasing->find_material_by_code(Raw_Ms[tj->source_index].code, f, m);
            const RWork_Order* wo = tj->requesting_wo;
            needs.push_back({static_cast<int16_t>(f), static_cast<int16_t>(m), tj->quantity, tj->release,
                             wo && wo->first_order_type() == ORDER_CONTRACT, tj->source_index});
        }
    for (size_t i = 0; i < needs.size(); ++i) {
        Need& n = needs[i];
        if (n.quantity == 0 || n.family < 0)
            continue;
        if (n.contract)
            for (size_t k = i + 1; k < needs.size(); ++k)
                if (needs[k].contract && needs[k].index == n.index && needs[k].due == n.due && needs[k].quantity) {
                    n.quantity += needs[k].quantity;
                    needs[k].quantity = 0;
                }
        list.push_back({n.family, n.material, clamp16(n.quantity), n.due});
    }
    const auto now = static_cast<int32_t>(host->tick());
    for (MaterialRequirement& r : list)
        if (r.due_minute < now)
            r.due_minute = now;
    for (size_t i = 0; i < list.size(); ++i)
        for (size_t k = list.size(); k-- > i + 1;)
            if (list[k].family == list[i].family && list[k].material == list[i].material &&
                list[k].due_minute == list[i].due_minute) {
                list[i].quantity = clamp16(static_cast<int32_t>(list[i].quantity) + list[k].quantity);
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(k));
            }
    const auto less = [](const MaterialRequirement& a, const MaterialRequirement& b) {
        if (a.due_minute != b.due_minute)
            return a.due_minute < b.due_minute;
        if (a.family != b.family)
            return a.family < b.family;
        return a.material < b.material;
    };
    for (size_t i = 0; i < list.size(); ++i) {
        size_t best = i;
        for (size_t k = i + 1; k < list.size(); ++k)
            if (less(list[k], list[best]))
                best = k;
        std::swap(list[i], list[best]);
    }
    // The run's work orders go and the real ones stay as they were, contract or not.
    before.restore(*this);
}
