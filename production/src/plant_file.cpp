// The plant part of the Production state file: orders, work orders, products, jobs, machines, transport.
#include "production/production_wnd.h"
#include <algorithm>

namespace {

void write_stamp(ByteWriter& w, const SimStamp& s)
{
    w.i16(s.year);
    w.i16(s.month);
    w.i16(s.day);
    w.i16(s.hour);
    w.i16(s.minute);
}

SimStamp read_stamp(ByteReader& r)
{
    SimStamp s;
    s.year = r.i16();
    s.month = r.i16();
    s.day = r.i16();
    s.hour = r.i16();
    s.minute = r.i16();
    return s;
}

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
        write_stamp(w, o->order_date);
        w.u32(o->due_minute);
        w.i16(o->family_id);
        w.i16(o->product_index);
        w.i16(o->quantity);
        w.i16(o->scratch);
        w.i16(o->order_type);
        w.i16(o->in_work_order);
        w.u32(0);   // the work order follows as a list position
        w.i16(o->item_kind);
        w.i16(o->priority);
        w.i16(o->top_up);
        w.i16(o->lead_days);
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
        o->order_date = read_stamp(r);
        o->due_minute = r.u32();
        o->family_id = r.i16();
        o->product_index = r.i16();
        o->quantity = r.i16();
        o->scratch = r.i16();
        o->order_type = r.i16();
        o->in_work_order = r.i16();
        r.u32();
        o->item_kind = r.i16();
        o->priority = r.i16();
        o->top_up = r.i16();
        o->lead_days = r.i16();
        if (o->item_kind != KIND_JOB && o->item_kind != KIND_PRODUCT)
            r.fail();
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
        if (holders > 1 || (holders == 1) != (o->work_order != nullptr))
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
    if (!r.ok() || r.u32() != PRODUCTION_MARKER)
        return refuse("bad jobs data");

    const int nm = r.u16();
    if (nm != static_cast<int>(Machines.size()))
        r.fail();
    for (int i = 0; i < nm && r.ok(); ++i)
        Machines[static_cast<size_t>(i)]->load_state(r);
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
    for (size_t p = 0; p < Products.size(); ++p)
        work_content({KIND_PRODUCT, static_cast<uint8_t>(p), 1});
    if (product_priority_on == 0)
        for (auto& p : Products)
            p->priority = 0;
    return true;
}
