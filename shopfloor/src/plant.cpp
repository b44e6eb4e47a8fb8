// The plant's lookups and the single place where work orders leave the shop.
#include "shopfloor/plant.h"
#include <algorithm>
#include <cstring>

Plant::Plant(SimHost& h, ProductionUi& u, MarketingDept& m, PurchasingDept& p, FinanceDept& f)
    : host(&h), ui(&u), marketing(&m), purchasing(&p), finance(&f)
{
}

Plant::~Plant()
{
    // Transport jobs and requests point at work orders: they go first.
    transport.reset();
    Machines.clear();
    Jobs.clear();
    New_Jobs.clear();
    Work_Orders.clear();
}

RJob* Plant::job(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= Jobs.size())
        return nullptr;
    return Jobs[static_cast<size_t>(index)].get();
}

RProduct* Plant::product(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= Products.size())
        return nullptr;
    return Products[static_cast<size_t>(index)].get();
}

uint16_t Plant::find_product(int16_t family_id, int16_t product_index) const
{
    if (family_id == -1) {
        const RProduct* p = product(product_index);
        if (p && p->stock_policy == 1)
            return static_cast<uint16_t>(product_index);
    }
    for (size_t i = 0; i < Products.size(); ++i) {
        uint16_t f = NONE16, q = NONE16;
        marketing->find_product_by_code(Products[i]->code, f, q);
        if (f != NONE16 && static_cast<int16_t>(f) == family_id && static_cast<int16_t>(q) == product_index)
            return static_cast<uint16_t>(i);
    }
    return NONE16;
}

int Plant::find_raw_material(const char* code) const
{
    for (size_t i = 0; i < Raw_Ms.size(); ++i)
        if (std::strncmp(Raw_Ms[i].code, code, 2) == 0)
            return static_cast<int>(i);
    return -1;
}

int Plant::work_order_position(const RWork_Order* wo) const
{
    for (size_t i = 0; i < Work_Orders.size(); ++i)
        if (Work_Orders[i].get() == wo)
            return static_cast<int>(i);
    return -1;
}

int Plant::order_position(const ProductionOrder* o) const
{
    for (size_t i = 0; i < prd_orders.size(); ++i)
        if (prd_orders[i].get() == o)
            return static_cast<int>(i);
    return -1;
}

void Plant::doom(RWork_Order* wo)
{
    if (std::find(doomed.begin(), doomed.end(), wo) == doomed.end())
        doomed.push_back(wo);
}

void Plant::reap()
{
    while (!doomed.empty()) {
        RWork_Order* wo = doomed.front();
        doomed.erase(doomed.begin());
        destroy_work_order(wo);
    }
}

void Plant::destroy_work_order(RWork_Order* wo)
{
    const int at = work_order_position(wo);
    if (at < 0)
        return;
    doomed.erase(std::remove(doomed.begin(), doomed.end(), wo), doomed.end());
    for (auto& j : Jobs)
        if (j)
            j->forget_work_order(wo);
    for (auto& j : New_Jobs)
        if (j)
            j->forget_work_order(wo);
    if (transport)
        transport->remove_jobs_of(wo);

    // Lead time of work that reaches finished goods or the part's own stock.
    if (wo->first_order_type() != ORDER_CONTRACT) {
        if (RProduct* p = product(wo->product_position()))
            if (p->stock_policy == 0 || p->on_stock != 0)
                p->lead_times.add(static_cast<int32_t>((tick() - wo->created_minute + 30u) / 60u));
    }
    for (ProductionOrder* o : wo->Request) {
        const int pos = order_position(o);
        if (pos >= 0)
            prd_orders.erase(prd_orders.begin() + pos);
    }
    wo->Request.clear();
    if (selection[1] == static_cast<uint16_t>(at))
        selection[1] = NONE16;
    else if (selection[1] != NONE16 && selection[1] > at)
        --selection[1];
    Work_Orders.erase(Work_Orders.begin() + at);
}

void Plant::remove_work_order(RWork_Order* wo)
{
    if (work_order_position(wo) < 0)
        return;
    if (wo->item_kind == KIND_PRODUCT) {
        if (RProduct* p = product(wo->item)) {
            p->on_order = static_cast<int16_t>(p->on_order - static_cast<int32_t>(wo->quantity));
            wo->allocate_finished();
            int32_t sum = 0;
            for (size_t i = 0; i < wo->Request.size(); ++i) {
                const ProductionOrder* o = wo->Request[i];
                if (o->order_type == ORDER_CUSTOMER || o->top_up == 2)
                    sum += wo->finished_split[i].first + wo->finished_split[i].second;
            }
            p->on_customer_orders = static_cast<int16_t>(p->on_customer_orders - sum);
        }
    }
    destroy_work_order(wo);
}

void Plant::on_schedule_end(int machine)
{
    if (ui->schedule_end(machine) == 2)
        host->set_run_state(0);
}

namespace {

void note(std::string& out, const char* what)
{
    if (!out.empty())
        out += ", ";
    out += what;
}

} // namespace

std::string Plant::references_to(const RWork_Order* wo) const
{
    std::string out;
    auto scan_job = [&](const RJob& j) {
        for (const auto& r : j.requests)
            if (r->wo == wo)
                note(out, "request");
        for (const auto& s : j.input_stock)
            if (s.wo == wo)
                note(out, "input stock");
        for (const auto& o : j.outputs)
            if (o.wo == wo)
                note(out, "output");
        for (const Waiting_WO* r : j.unit_request)
            if (r && r->wo == wo)
                note(out, "unit slot");
    };
    for (const auto& j : Jobs)
        if (j)
            scan_job(*j);
    for (const auto& j : New_Jobs)
        if (j)
            scan_job(*j);
    for (const auto& m : Machines) {
        for (const auto& e : m->Waiting_WOs_Data)
            if (e->request->wo == wo)
                note(out, "queue");
        for (const auto* e : m->Schedules)
            if (e->request->wo == wo)
                note(out, "schedule");
    }
    if (transport) {
        for (const auto& t : transport->Trans_Jobs)
            if (t->source_wo == wo || t->requesting_wo == wo)
                note(out, "transport job");
        for (const auto& u : transport->Trans_Units)
            if (u->job && (u->job->source_wo == wo || u->job->requesting_wo == wo))
                note(out, "transport unit");
    }
    for (const auto& o : prd_orders)
        if (o->work_order == wo)
            note(out, "order");
    for (const auto& w : Work_Orders)
        if (w.get() == wo)
            note(out, "work order list");
    if (std::find(doomed.begin(), doomed.end(), wo) != doomed.end())
        note(out, "pending destruction");
    return out;
}
