// The plant part of the Production state file: orders, work orders, products, jobs, machines, transport.
#include "production/production_wnd.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace {

constexpr RecordField<SimStamp> stamp_fields[] = {
    field<&SimStamp::year>(I16),
    field<&SimStamp::month>(I16),
    field<&SimStamp::day>(I16),
    field<&SimStamp::hour>(I16),
    field<&SimStamp::minute>(I16),
};

// After the order date. The flag "in work order" must agree with the work order that holds it:
// an order whose flag is clear while a work order holds it is produced a second time.
constexpr RecordField<ProductionOrder> order_fields[] = {
    field<&ProductionOrder::due_minute>(U32),
    field<&ProductionOrder::family_id>(I16),
    field<&ProductionOrder::product_index>(I16),
    field<&ProductionOrder::quantity>(I16),
    field<&ProductionOrder::scratch>(I16),
    field<&ProductionOrder::order_type>(I16).within(ORDER_STOCK, ORDER_CONTRACT),
    field<&ProductionOrder::in_work_order>(I16).within(0, 1),
    pad<ProductionOrder>(U32),   // the work order follows as a list position
    field<&ProductionOrder::item_kind>(I16).within(KIND_JOB, KIND_PRODUCT),
    field<&ProductionOrder::priority>(I16),
    field<&ProductionOrder::top_up>(I16),
    field<&ProductionOrder::lead_days>(I16),
};
static_assert(file_size(stamp_fields) + file_size(order_fields) == PRODUCTION_ORDER_FILE_SIZE);

// The settings before the orders (the file's head, after its marker).
constexpr RecordField<Plant> head_fields[] = {
    field<&Plant::release_policy>(I16).within(RELEASE_IMMEDIATE, RELEASE_MANUAL),
    field<&Plant::display_frequency>(I16),
    field<&Plant::halt_flag>(I16),
    scenario<&Plant::routing_option>(I16),   // the scenario's value stays
    field<&Plant::red_level_policy>(I16),
    field<&Plant::selection>(U16),
    field<&Plant::spare>(I16),
    field<&Plant::wo_planning_mode>(I16).within(0, 2),
    field<&Plant::spare_setting>(I16),
    field<&Plant::wo_planning_parameter>(I16),
    field<&Plant::wo_planning_countdown>(I16),
    field<&Plant::forecast_horizon_days>(I16),
    field<&Plant::forecast_range_months>(I16),
    field<&Plant::week_of_month>(I16),
};

// Between the orders and the work orders.
constexpr RecordField<Plant> middle_fields[] = {
    field<&Plant::mrp_lead_time_minutes>(I16),
    field<&Plant::mrp_option>(I16).since("BG_1035"),
    field<&Plant::route_option>(I16).since("BG_1035").absent(0),
};

// After the transport manager, up to the last marker; the accumulator is written by its own code.
constexpr RecordField<Plant> tail_fields[] = {
    field<&Plant::mrp_setting>(I16),
    field<&Plant::constraint_machine>(I16),
    field<&Plant::shipping_buffer_hours>(I16),
    field<&Plant::constraint_buffer_hours>(I16),
    field<&Plant::assembly_buffer_hours>(I16),
    field<&Plant::min_wo_demand>(I16),
    field<&Plant::min_wo_quantity>(I16),
    field<&Plant::utilization_factor>(F32),
};

constexpr RecordField<Plant> tail_after_average[] = {
    field<&Plant::batch_size>(I16).since("BG_1020").absent(0),
    field<&Plant::merge_order_types>(I16).since("BG_1020").absent(0),
    field<&Plant::product_priority_on>(I16).since("BG_1026").absent(0),
};

constexpr RecordField<Plant> last_fields[] = {
    field<&Plant::contract_factor>(F32).since("BG_1036"),
    field<&Plant::red_line_hours>(I16).since("BG_1037"),
};

// Leaves no request, queue entry, stock or transport pointing at a work order.
void scrub(CProductionWnd& p)
{
    for (auto* list : {&p.Jobs, &p.New_Jobs})
        for (auto& j : *list)
            if (j) {
                j->requests.clear();
                j->input_stock.clear();
                j->outputs.clear();
                for (int u = 0; u < MAX_UNITS; ++u) {
                    j->unit_request[u] = nullptr;
                    j->busy[u] = 0;
                }
                j->busy_units = 0;
            }
    for (auto& m : p.Machines) {
        m->Schedules.clear();
        m->Waiting_WOs_Data.clear();
        m->buffer_count = 0;
        m->finished_material = 0;
        for (auto& u : m->Units) {
            u->batch = 0;
            u->state = UNIT_IDLE;
            u->saved_state = UNIT_IDLE;
            u->minutes_left = 0;
            u->break_left = 0;
        }
    }
    if (p.transport)
        p.transport->Trans_Jobs.clear();
    p.Work_Orders.clear();
    p.prd_orders.clear();
}

} // namespace

std::vector<uint8_t> CProductionWnd::save_plant() const
{
    const auto gate = host->file_gate();
    // Files before product activation know neither the products' pairs nor empty job slots.
    const bool activations = gate("BG_1024");
    ByteWriter w;
    w.u16(static_cast<uint16_t>(prd_orders.size()));
    for (const auto& o : prd_orders) {
        write_fields(w, o->order_date, stamp_fields);
        write_fields(w, *o, order_fields);
    }
    write_fields(w, static_cast<const Plant&>(*this), middle_fields, gate);
    w.u32(PRODUCTION_MARKER);
    w.u16(static_cast<uint16_t>(Work_Orders.size()));
    for (const auto& wo : Work_Orders)
        wo->save_state(w);
    for (const auto& o : prd_orders)
        w.u16(o->work_order ? static_cast<uint16_t>(work_order_position(o->work_order)) : NONE16);
    w.u32(PRODUCTION_MARKER);
    w.u16(static_cast<uint16_t>(Products.size()));
    for (size_t i = 0; i < Products.size(); ++i) {
        uint16_t family = NONE16, prod = NONE16;
        marketing->find_product_by_code(Products[i]->code, family, prod);
        // An introduced product has left New_Products; its item-10 flag still says where it came from.
        const bool introduced = Products[i]->extra_item != 0 || find_new_product(family, prod) >= 0;
        if (family == NONE16 || !introduced) {
            if (family == NONE16)
                prod = static_cast<uint16_t>(i);
            family = NONE16;
        }
        if (activations) {
            w.u16(family);
            w.u16(prod);
        }
        Products[i]->save_state(w, host);
    }
    w.u32(PRODUCTION_MARKER);
    w.u16(static_cast<uint16_t>(Jobs.size()));
    for (const auto& j : Jobs) {
        if (activations)
            w.u16(j ? 1 : 0);
        if (j)
            j->save_state(w);
    }
    w.u32(PRODUCTION_MARKER);
    w.u16(static_cast<uint16_t>(Machines.size()));
    for (const auto& m : Machines)
        m->save_state(w);
    w.u32(PRODUCTION_MARKER);
    transport->save_state(w);
    w.u32(PRODUCTION_MARKER);
    return w.bytes();
}

bool CProductionWnd::load_plant(const std::vector<uint8_t>& bytes, std::string& error, size_t* used)
{
    ByteReader r(bytes);
    scrub(*this);
    auto refuse = [&](const char* what) {
        scrub(*this);
        error = what;
        return false;
    };

    const int no = r.count(32767, PRODUCTION_ORDER_FILE_SIZE);
    for (int i = 0; i < no; ++i) {
        auto o = std::make_unique<ProductionOrder>();
        read_fields(r, o->order_date, stamp_fields);
        read_fields(r, *o, order_fields);
        prd_orders.push_back(std::move(o));
    }
    const auto gate = host->file_gate();
    const bool activations = gate("BG_1024");
    read_fields(r, static_cast<Plant&>(*this), middle_fields, gate);
    if (!r.ok() || r.u32() != PRODUCTION_MARKER)
        return refuse("bad production 1 data");

    const int nw = r.count(999, 33);
    for (int i = 0; i < nw && r.ok(); ++i) {
        Work_Orders.push_back(std::make_unique<RWork_Order>(*this));
        Work_Orders.back()->load_state(r);
    }
    for (auto& o : prd_orders) {
        const uint16_t pos = r.u16();
        if (pos == NONE16)
            continue;
        if (pos >= Work_Orders.size()) {
            r.fail();
            break;
        }
        o->work_order = Work_Orders[pos].get();
    }
    // Every order a work order lists points back to it, and no order sits in two.
    for (const auto& o : prd_orders) {
        int holders = 0;
        for (const auto& wo : Work_Orders)
            holders += static_cast<int>(std::count(wo->Request.begin(), wo->Request.end(), o.get()));
        if (holders > 1 || (holders == 1) != (o->work_order != nullptr) ||
            (o->in_work_order != 0) != (o->work_order != nullptr))
            r.fail();
        if (o->work_order && std::find(o->work_order->Request.begin(), o->work_order->Request.end(), o.get()) ==
                                 o->work_order->Request.end())
            r.fail();
    }
    if (!r.ok() || r.u32() != PRODUCTION_MARKER)
        return refuse("bad work orders data");
    wo_counter = Work_Orders.empty() ? 1 : static_cast<uint16_t>(Work_Orders.back()->number % 999 + 1);

    const int np = r.u16();
    if (np > MAX_PRODUCTS_PLANT)
        r.fail();
    for (int i = 0; i < np && r.ok(); ++i) {
        const auto at = static_cast<size_t>(i);
        // Older files hold the scenario's products alone, in their order.
        const uint16_t family = activations ? r.u16() : NONE16;
        const uint16_t prod = activations ? r.u16() : NONE16;
        // A product introduced during the run comes back into Products before its record is read;
        // a plant that already holds it (loading over itself) keeps it where it is.
        if (family != NONE16 && at == Products.size() && !activate_new_product(family, prod))
            r.fail();
        if (at >= Products.size() || !r.ok())
            break;
        if (family != NONE16) {
            uint16_t f = NONE16, q = NONE16;
            marketing->find_product_by_code(Products[at]->code, f, q);
            if (f != family || q != prod)
                r.fail();
        }
        // The record carries the product's code, which names it to the other departments: a
        // record that renames its product would be saved as another one.
        const std::array<char, 3> code = std::to_array(Products[at]->code);
        Products[at]->load_state(r, host);
        if (!job(Products[at]->final_job) || code != std::to_array(Products[at]->code))
            r.fail();
    }
    if (np != static_cast<int>(Products.size()))
        r.fail();
    if (!r.ok() || r.u32() != PRODUCTION_MARKER)
        return refuse("bad products data");
    for (const auto& wo : Work_Orders)
        if (wo->item_kind == KIND_PRODUCT ? !product(wo->item) : !job(wo->item))
            return refuse("bad work orders data");

    const int nj = r.u16();
    if (nj != static_cast<int>(Jobs.size()))
        r.fail();
    for (int i = 0; i < nj && r.ok(); ++i) {
        RJob* j = Jobs[static_cast<size_t>(i)].get();
        // Older files hold a record for each job and nothing for a slot left empty.
        const uint16_t present = activations ? r.u16() : (j != nullptr ? 1 : 0);
        if ((present != 0) != (j != nullptr)) {
            r.fail();
            break;
        }
        if (j && j->load_state(r))
            for (int u = 0; u < MAX_UNITS; ++u)
                if ((j->busy[u] != 0) != (j->unit_request[u] != nullptr))
                    r.fail();
    }
    // Release and the work content walk the inputs recursively: a loop would never end.
    int loop_job = -1;
    size_t loop_input = 0;
    if (r.ok() && find_route_loop(loop_job, loop_input))
        r.fail();
    if (!r.ok() || r.u32() != PRODUCTION_MARKER)
        return refuse("bad jobs data");

    const int nm = r.u16();
    if (nm != static_cast<int>(Machines.size()))
        r.fail();
    for (int i = 0; i < nm && r.ok(); ++i)
        Machines[static_cast<size_t>(i)]->load_state(r);
    // A unit's batch is part of what its request has started; a larger one ends as output from nothing.
    // A batch with no request is none the engine leaves: the unit's next setup would carry it on.
    std::map<const Waiting_WO*, int64_t> in_batches;
    for (const auto& m : Machines)
        for (const auto& u : m->Units)
            if (u->batch > 0 && u->current_job && u->current_job->machine == m.get()) {
                if (const Waiting_WO* q = u->current_job->unit_request[u->number])
                    in_batches[q] += u->batch;
                else
                    r.fail();
            }
    for (const auto& [q, batches] : in_batches)
        if (batches > q->started)
            r.fail();
    if (!r.ok() || r.u32() != PRODUCTION_MARKER)
        return refuse("bad machines file");

    transport = std::make_unique<RTransport_Manager>(*this, 0);
    transport->load_state(r);
    if (!r.ok() || r.u32() != PRODUCTION_MARKER)
        return refuse("bad transport file");
    if (used != nullptr)
        *used = bytes.size() - r.left();

    for (auto& j : Jobs)
        if (j)
            j->minutes_per_part = j->time_kind == 0 ? static_cast<float>(j->time)
                                                    : static_cast<float>(j->time) / j->machine->planning_batch;
    if (!work_content_fits())
        return refuse("bad jobs data");
    if (product_priority_on == 0)
        for (auto& p : Products)
            p->priority = 0;
    return true;
}

std::vector<uint8_t> CProductionWnd::save_state_bytes() const
{
    const Plant& p = *this;
    ByteWriter head;
    head.u32(PRODUCTION_MARKER);
    write_fields(head, p, head_fields);
    write_fields(head, plan_date_1, stamp_fields);
    write_fields(head, plan_date_2, stamp_fields);
    std::vector<uint8_t> out = head.bytes();
    const std::vector<uint8_t> plant = save_plant();
    out.insert(out.end(), plant.begin(), plant.end());
    const auto gate = host->file_gate();
    ByteWriter tail;
    write_fields(tail, p, tail_fields, gate);
    utilization_average.save_float(tail);
    write_fields(tail, p, tail_after_average, gate);
    if (gate("BG_1033")) {
        write_fields(tail, extra_shift_start, stamp_fields);
        write_fields(tail, extra_shift_end, stamp_fields);
    }
    if (gate("BG_1034"))
        tail.i16(extra_shift_days);
    tail.u32(PRODUCTION_MARKER);
    write_fields(tail, p, last_fields, gate);
    const std::vector<uint8_t> t = tail.bytes();
    out.insert(out.end(), t.begin(), t.end());
    return out;
}

bool CProductionWnd::load_state_bytes(const std::vector<uint8_t>& bytes, std::string& error, size_t* used)
{
    Plant& p = *this;
    // A refused file leaves the settings as they were; the plant part scrubs itself.
    ByteWriter kept;
    write_fields(kept, p, head_fields);
    write_fields(kept, p, middle_fields);
    write_fields(kept, p, tail_fields);
    write_fields(kept, p, tail_after_average);
    write_fields(kept, p, last_fields);
    const SimStamp kept_dates[4] = {plan_date_1, plan_date_2, extra_shift_start, extra_shift_end};
    const AverageAccumulator kept_average = utilization_average;
    const int16_t kept_days = extra_shift_days;
    const auto refuse = [&](const char* what) {
        const std::vector<uint8_t> k = kept.bytes();
        ByteReader back(k);
        read_fields(back, p, head_fields);
        read_fields(back, p, middle_fields);
        read_fields(back, p, tail_fields);
        read_fields(back, p, tail_after_average);
        read_fields(back, p, last_fields);
        plan_date_1 = kept_dates[0];
        plan_date_2 = kept_dates[1];
        extra_shift_start = kept_dates[2];
        extra_shift_end = kept_dates[3];
        utilization_average = kept_average;
        extra_shift_days = kept_days;
        error = what;
        return false;
    };
    const auto gate = host->file_gate();
    ByteReader r(bytes);
    if (r.u32() != PRODUCTION_MARKER)
        return refuse("bad production file");
    read_fields(r, p, head_fields, gate);
    read_fields(r, plan_date_1, stamp_fields);
    read_fields(r, plan_date_2, stamp_fields);
    if (!r.ok())
        return refuse("bad production 1 data");
    if (!host->version_at_least("BG_1023")) {
        forecast_horizon_days = std::min<int16_t>(forecast_horizon_days, 30);
        if (forecast_range_months > 3)
            forecast_range_months = static_cast<int16_t>(forecast_range_months / 30);
        week_of_month = static_cast<int16_t>(host->now().day / 7 + 1);
    }
    const size_t head_size = bytes.size() - r.left();
    const std::vector<uint8_t> rest(bytes.begin() + static_cast<std::ptrdiff_t>(head_size), bytes.end());
    // The priorities are cleared once the file has said whether they are on.
    product_priority_on = 1;
    size_t plant_size = 0;
    std::string plant_error;
    if (!load_plant(rest, plant_error, &plant_size)) {
        refuse("");
        error = plant_error;
        return false;
    }
    const std::vector<uint8_t> after(rest.begin() + static_cast<std::ptrdiff_t>(plant_size), rest.end());
    ByteReader t(after);
    read_fields(t, p, tail_fields, gate);
    utilization_average.load_float(t);
    read_fields(t, p, tail_after_average, gate);
    if (gate("BG_1033")) {
        read_fields(t, extra_shift_start, stamp_fields);
        read_fields(t, extra_shift_end, stamp_fields);
    }
    if (gate("BG_1034"))
        extra_shift_days = t.i16();
    const bool settings_ok = constraint_machine >= 0 && static_cast<size_t>(constraint_machine) < Machines.size() &&
                             std::isfinite(utilization_factor);
    if (!t.ok() || t.u32() != PRODUCTION_MARKER || !settings_ok) {
        scrub_plant();
        return refuse("bad production 2 data");
    }
    read_fields(t, p, last_fields, gate);
    if (!t.ok() || !std::isfinite(contract_factor) || contract_factor < 0.0f || contract_factor > 100.0f) {
        scrub_plant();
        return refuse("bad production 2 data");
    }
    // Display-only choices out of range read as none.
    if (selection[0] != NONE16 && selection[0] >= Machines.size())
        selection[0] = NONE16;
    if (selection[1] != NONE16 && selection[1] >= Work_Orders.size())
        selection[1] = NONE16;
    if (selection[2] > 1)
        selection[2] = 0;
    if (product_priority_on == 0)
        for (auto& pr : Products)
            pr->priority = 0;
    if (used != nullptr)
        *used = head_size + plant_size + (after.size() - t.left());
    restore_shift_mode();
    return true;
}

void CProductionWnd::scrub_plant()
{
    scrub(*this);
}
