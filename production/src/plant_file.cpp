// The plant part of the Production state file: orders, work orders, products, jobs, machines, transport.
#include "production/production_wnd.h"
#include <algorithm>
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
    ByteWriter w;
    w.u16(static_cast<uint16_t>(prd_orders.size()));
    for (const auto& o : prd_orders) {
        write_fields(w, o->order_date, stamp_fields);
        write_fields(w, *o, order_fields);
    }
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
        w.u16(family);
        w.u16(prod);
        Products[i]->save_state(w);
    }
    w.u32(PRODUCTION_MARKER);
    w.u16(static_cast<uint16_t>(Jobs.size()));
    for (const auto& j : Jobs) {
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
        const uint16_t family = r.u16();
        const uint16_t prod = r.u16();
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
        Products[at]->load_state(r, host);
        if (!job(Products[at]->final_job))
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
        const uint16_t present = r.u16();
        RJob* j = Jobs[static_cast<size_t>(i)].get();
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
    std::map<const Waiting_WO*, int64_t> in_batches;
    for (const auto& m : Machines)
        for (const auto& u : m->Units)
            if (u->batch > 0 && u->current_job && u->current_job->machine == m.get())
                if (const Waiting_WO* q = u->current_job->unit_request[u->number])
                    in_batches[q] += u->batch;
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
