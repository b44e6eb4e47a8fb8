// Saved records of jobs, machines and the transport manager; pointers become list positions.
#include "shopfloor/plant.h"
#include <algorithm>
#include <cstring>

namespace {

int16_t wo_pos(const Plant& p, const RWork_Order* wo)
{
    return wo ? static_cast<int16_t>(p.work_order_position(wo)) : -1;
}

// -1 is none; any other value must name a work order.
RWork_Order* wo_at(const Plant& p, int16_t pos, ByteReader& r, bool none_ok)
{
    if (pos == -1 && none_ok)
        return nullptr;
    if (pos < 0 || static_cast<size_t>(pos) >= p.Work_Orders.size()) {
        r.fail();
        return nullptr;
    }
    return p.Work_Orders[static_cast<size_t>(pos)].get();
}

bool index_ok(const Plant& p, int kind, int index)
{
    switch (kind) {
    case KIND_RAW:
        return static_cast<size_t>(index) < std::max<size_t>(p.Raw_Ms.size(), 1) || p.Raw_Ms.empty();
    case KIND_JOB:
        return static_cast<size_t>(index) < p.Jobs.size();
    case KIND_PRODUCT:
        return static_cast<size_t>(index) < p.Products.size();
    default:
        return false;
    }
}

} // namespace

void RJob::save_state(ByteWriter& w) const
{
    w.raw(name, 5);
    w.u16(product_position);
    w.i16(time_kind);
    w.i16(letter);
    w.u8(level);
    w.u8(job_number);
    w.u16(spare);
    w.u16(machine_number);
    w.u16(time);
    w.u16(on_constraint);
    w.u16(dbr_marker);
    w.u8(busy_units);
    for (uint16_t b : busy)
        w.u16(b);
    // Pointers are written as 0: positions follow each list.
    w.i16(static_cast<int16_t>(input_stock.size()));
    for (const auto& s : input_stock) {
        w.u32(0);
        w.u16(s.kind);
        w.u8(s.index);
        w.i16(s.quantity);
        w.i16(s.x);
        w.i16(s.y);
    }
    for (const auto& s : input_stock)
        w.i16(wo_pos(*plant, s.wo));
    w.i16(static_cast<int16_t>(outputs.size()));
    for (const auto& o : outputs) {
        w.u32(0);
        w.i16(o.quantity);
        w.i16(o.x);
        w.i16(o.y);
    }
    for (const auto& o : outputs)
        w.i16(wo_pos(*plant, o.wo));
    w.i16(static_cast<int16_t>(requests.size()));
    for (const auto& r : requests) {
        w.u32(0);
        w.u16(r->quantity);
        w.u16(r->finished);
        w.u16(r->started);
        w.u16(r->spare);
        w.i16(r->x);
        w.i16(r->y);
    }
    for (const auto& r : requests)
        w.i16(wo_pos(*plant, r->wo));
    for (const Waiting_WO* u : unit_request) {
        int16_t pos = -1;
        for (size_t i = 0; i < requests.size(); ++i)
            if (requests[i].get() == u)
                pos = static_cast<int16_t>(i);
        w.i16(pos);
    }
    w.i16(static_cast<int16_t>(inputs.size()));
    for (const auto& i : inputs) {
        w.i16(i.kind);
        w.u8(i.index);
        w.u16(i.quantity);
        w.u16(i.lead);
        w.u16(i.constraint_path);
    }
    w.u16(closing1);
    w.u8(closing2);
    w.i16(static_cast<int16_t>(input_positions.size()));
    for (const auto& p : input_positions) {
        w.u8(p.input);
        w.u8(static_cast<uint8_t>(p.letter));
        w.u8(p.level);
    }
}

bool RJob::load_state(ByteReader& r)
{
    r.raw(name, 5);
    name[4] = 0;
    r.u16();   // product position, time kind, letter: the scenario's stay
    r.i16();
    r.i16();
    level = r.u8();
    const uint8_t num = r.u8();
    if (num != job_number)
        r.fail();
    spare = r.u16();
    r.u16();   // machine number and time: the scenario's stay
    r.u16();
    on_constraint = r.u16();
    dbr_marker = r.u16();
    busy_units = r.u8();
    int flags = 0;
    for (uint16_t& b : busy) {
        b = r.u16();
        if (b > 1)
            r.fail();
        flags += b;
    }
    if (busy_units != flags)
        r.fail();

    // Files before route positions hold shorter records; their positions are (0, 0).
    const bool routes = plant->host->version_at_least("BG_1035");
    const int ns = r.count(32767, routes ? 13 : 9);
    std::vector<Input_Stock> stock(static_cast<size_t>(ns));
    for (auto& s : stock) {
        r.u32();
        s.kind = r.u16();
        s.index = r.u8();
        s.quantity = r.i16();
        if (routes) {
            s.x = r.i16();
            s.y = r.i16();
        }
        if (!index_ok(*plant, s.kind, s.index))
            r.fail();
    }
    for (auto& s : stock)
        s.wo = wo_at(*plant, r.i16(), r, true);
    const int no = r.count(32767, routes ? 10 : 6);
    std::vector<Finished_Output> outs(static_cast<size_t>(no));
    for (auto& o : outs) {
        r.u32();
        o.quantity = r.i16();
        if (routes) {
            o.x = r.i16();
            o.y = r.i16();
        }
    }
    for (auto& o : outs)
        o.wo = wo_at(*plant, r.i16(), r, true);
    const int nr = r.count(32767, routes ? 16 : 12);
    std::vector<std::unique_ptr<Waiting_WO>> reqs;
    for (int i = 0; i < nr; ++i) {
        auto q = std::make_unique<Waiting_WO>();
        r.u32();
        q->quantity = r.u16();
        q->finished = r.u16();
        q->started = r.u16();
        q->spare = r.u16();
        if (routes) {
            q->x = r.i16();
            q->y = r.i16();
        }
        if (q->started > q->quantity)
            r.fail();
        reqs.push_back(std::move(q));
    }
    for (auto& q : reqs)
        q->wo = wo_at(*plant, r.i16(), r, false);
    Waiting_WO* slots[MAX_UNITS] = {};
    for (auto& s : slots) {
        const int16_t pos = r.i16();
        if (pos == -1)
            s = nullptr;
        else if (pos < 0 || pos >= nr)
            r.fail();
        else
            s = reqs[static_cast<size_t>(pos)].get();
    }
    const int ni = r.count(32767, 9);
    std::vector<RInp> ins(static_cast<size_t>(ni));
    for (auto& i : ins) {
        i.kind = r.i16();
        i.index = r.u8();
        i.quantity = r.u16();
        i.lead = r.u16();
        i.constraint_path = r.u16();
        if (!index_ok(*plant, i.kind, i.index) || i.quantity < 1)
            r.fail();
    }
    closing1 = r.u16();
    closing2 = r.u8();
    const int np = r.count(32767, 3);
    for (int i = 0; i < np * 3; ++i)
        r.u8();   // the scenario's input positions stay
    if (!r.ok())
        return false;
    // The buffer counts belong to the machine's own record; only the lists change here.
    input_stock = std::move(stock);
    outputs = std::move(outs);
    requests = std::move(reqs);
    std::copy(std::begin(slots), std::end(slots), std::begin(unit_request));
    inputs = std::move(ins);
    return true;
}

void RMachine::save_state(ByteWriter& w) const
{
    w.raw(name, 3);
    w.i16(rule);
    w.i16(initial_rule);
    w.i16(acceptance);
    w.i16(schedule_option);
    w.u8(number);
    w.f32(setup_pct_last);
    w.f32(production_pct_last);
    w.f32(break_pct_last);
    w.u16(setup_time);
    w.u16(panel_x);
    w.u16(panel_y);
    w.u8(panel_colour);
    w.u8(title_colour);
    w.u8(row_colour);
    w.u8(active_units);
    w.u16(item6);
    w.u16(batch_size);
    w.i16(breakdowns_per_week);
    w.u16(break_scale);
    w.u16(spare);
    for (const float* s : {production_pct, setup_pct, break_pct, idle_pct})
        for (int m = 0; m < 12; ++m)
            w.f32(s[m]);
    // The file keeps 16-bit counters: a long month saturates.
    for (uint32_t c : minutes)
        w.u16(static_cast<uint16_t>(std::min<uint32_t>(c, 65535u)));
    w.i32(unit_price);
    w.u16(delivery_months);
    w.u8(max_units);
    Break_Table.save(w);
    Times_Table.save(w);
    w.i16(static_cast<int16_t>(Units.size()));
    for (const auto& u : Units)
        u->save_state(w);
    w.i16(static_cast<int16_t>(Waiting_WOs_Data.size()));
    for (const auto& e : Waiting_WOs_Data) {
        int16_t ji = -1, ri = -1;
        for (size_t i = 0; i < plant->Jobs.size(); ++i)
            if (plant->Jobs[i].get() == e->job)
                ji = static_cast<int16_t>(i);
        if (e->job)
            for (size_t i = 0; i < e->job->requests.size(); ++i)
                if (e->job->requests[i].get() == e->request)
                    ri = static_cast<int16_t>(i);
        w.i16(ji);
        w.i16(ri);
        w.i32(e->planned_start);
        w.u16(e->planned_duration);
    }
    w.i16(static_cast<int16_t>(Schedules.size()));
    for (const Waiting_WO_Data* s : Schedules) {
        int16_t pos = -1;
        for (size_t i = 0; i < Waiting_WOs_Data.size(); ++i)
            if (Waiting_WOs_Data[i].get() == s)
                pos = static_cast<int16_t>(i);
        w.i16(pos);
    }
    w.u16(planning_batch);
    w.i32(request_size_sum);
    w.u16(request_size_count);
    w.i32(buffer_capacity);
    w.i32(buffer_count);
    w.i32(finished_material);
}

bool RMachine::load_state(ByteReader& r)
{
    r.raw(name, 3);
    name[2] = 0;
    rule = r.i16();
    initial_rule = r.i16();
    acceptance = r.i16();
    schedule_option = r.i16();
    const uint8_t num = r.u8();
    if (num != number || rule < 0 || rule > 4 || acceptance < 0 || acceptance > 1 || schedule_option < 0 ||
        schedule_option > 1)
        r.fail();
    setup_pct_last = r.f32();
    production_pct_last = r.f32();
    break_pct_last = r.f32();
    r.u16();                     // setup time
    r.u16();                     // panel x, y
    r.u16();
    r.u8();                      // colours
    r.u8();
    r.u8();
    const uint8_t active = r.u8();
    item6 = r.u16();
    batch_size = r.u16();
    r.i16();                     // breakdowns per week, break scale: the scenario's stay
    r.u16();
    spare = r.u16();
    for (float* s : {production_pct, setup_pct, break_pct, idle_pct})
        for (int m = 0; m < 12; ++m)
            s[m] = r.f32();
    for (uint32_t& c : minutes)
        c = r.u16();
    r.i32();
    r.u16();
    r.u8();
    rrandom scratch;
    scratch.load(r);
    scratch.load(r);
    // The scenario's maximum bounds the units a file may bring.
    const int nu = r.count(std::min<int>(max_units, MAX_UNITS), 26);
    if (nu < 1 || active > nu || active < 1 || batch_size < 1)
        r.fail();
    if (!r.ok())
        return false;
    active_units = active;
    for (int i = 0; i < nu; ++i) {
        if (static_cast<size_t>(i) >= Units.size())
            Units.push_back(std::make_unique<RMachineUnit>(this));
        if (!Units[static_cast<size_t>(i)]->load_state(r))
            return false;
    }
    Units.resize(static_cast<size_t>(nu));
    Schedules.clear();
    Waiting_WOs_Data.clear();
    const int nq = r.count(32767, 10);
    for (int i = 0; i < nq; ++i) {
        const int16_t ji = r.i16();
        const int16_t ri = r.i16();
        const int32_t start = r.i32();
        const uint16_t dur = r.u16();
        if (ji == -1 || ri == -1)
            continue;
        RJob* j = plant->job(ji);
        if (!j || j->machine != this || ri < 0 || static_cast<size_t>(ri) >= j->requests.size()) {
            r.fail();
            return false;
        }
        auto e = std::make_unique<Waiting_WO_Data>();
        e->job = j;
        e->request = j->requests[static_cast<size_t>(ri)].get();
        e->planned_start = start;
        e->planned_duration = dur;
        Waiting_WOs_Data.push_back(std::move(e));
    }
    const int ns = r.count(32767, 2);
    for (int i = 0; i < ns; ++i) {
        const int16_t pos = r.i16();
        if (pos == -1)
            continue;
        if (pos < 0 || static_cast<size_t>(pos) >= Waiting_WOs_Data.size()) {
            r.fail();
            return false;
        }
        Schedules.push_back(Waiting_WOs_Data[static_cast<size_t>(pos)].get());
    }
    if (plant->host->version_at_least("BG_1020")) {
        planning_batch = r.u16();
        request_size_sum = r.i32();
        request_size_count = r.u16();
    } else {
        request_size_sum = 0;
        request_size_count = 0;
    }
    if (plant->host->version_at_least("BG_1031")) {
        buffer_capacity = r.i32();
        buffer_count = r.i32();
        finished_material = r.i32();
    } else {
        buffer_capacity = NO_LIMIT;
        buffer_count = 0;
        finished_material = 0;
    }
    if (planning_batch < 1)
        r.fail();
    return r.ok();
}

void RTransport_Manager::save_state(ByteWriter& w) const
{
    w.i16(static_cast<int16_t>(Trans_Jobs.size()));
    for (const auto& j : Trans_Jobs) {
        w.i16(j->source_kind);
        w.i16(j->dest_kind);
        w.i16(j->material_kind);
        w.u8(j->source_index);
        w.u8(j->dest_index);
        w.u8(j->material_index);
        w.u16(j->quantity);
        w.u32(0);
        w.u32(0);
        w.u16(j->from_input_stock);
        w.u16(j->daily_pick);
        w.i32(j->release);
        w.i16(j->sx);
        w.i16(j->sy);
        w.i16(j->dx);
        w.i16(j->dy);
    }
    for (const auto& j : Trans_Jobs) {
        w.i16(wo_pos(*plant, j->source_wo));
        w.i16(wo_pos(*plant, j->requesting_wo));
    }
    w.i16(static_cast<int16_t>(Trans_Units.size()));
    for (const auto& u : Trans_Units) {
        int16_t pos = -1;
        for (size_t i = 0; i < Trans_Jobs.size(); ++i)
            if (Trans_Jobs[i].get() == u->job)
                pos = static_cast<int16_t>(i);
        w.i16(pos);
        w.u16(u->loaded);
        w.u16(u->state);
        w.u16(0);
        w.u16(0);
        w.u8(u->number);
        w.u8(0);
        w.u16(u->minutes_left);
        w.u16(0);
    }
}

bool RTransport_Manager::load_state(ByteReader& r)
{
    Trans_Jobs.clear();
    Trans_Units.clear();
    const bool routes = plant->host->version_at_least("BG_1035");
    const int nj = r.count(32767, routes ? 35 : 27);
    for (int i = 0; i < nj; ++i) {
        auto j = std::make_unique<RTransportJob>();
        j->source_kind = r.i16();
        j->dest_kind = r.i16();
        j->material_kind = r.i16();
        j->source_index = r.u8();
        j->dest_index = r.u8();
        j->material_index = r.u8();
        j->quantity = r.u16();
        r.u32();
        r.u32();
        j->from_input_stock = r.u16();
        j->daily_pick = r.u16();
        j->release = r.i32();
        if (routes) {
            j->sx = r.i16();
            j->sy = r.i16();
            j->dx = r.i16();
            j->dy = r.i16();
        }
        if (j->source_kind < 0 || j->source_kind > 2 || j->dest_kind < 1 || j->dest_kind > 2 ||
            !index_ok(*plant, j->source_kind, j->source_index) || !index_ok(*plant, j->dest_kind, j->dest_index))
            r.fail();
        Trans_Jobs.push_back(std::move(j));
    }
    for (auto& j : Trans_Jobs) {
        j->source_wo = wo_at(*plant, r.i16(), r, true);
        j->requesting_wo = wo_at(*plant, r.i16(), r, true);
    }
    const int nu = r.count(255, 16);
    for (int i = 0; i < nu; ++i) {
        auto u = std::make_unique<RTransportUnit>(static_cast<uint8_t>(i), this);
        const int16_t pos = r.i16();
        u->loaded = r.u16();
        u->state = r.u16();
        r.u16();
        r.u16();
        r.u8();   // the unit's number is its position
        r.u8();
        u->minutes_left = r.u16();
        r.u16();
        if (pos == -1)
            u->job = nullptr;
        else if (pos < 0 || pos >= nj)
            r.fail();
        else
            u->job = Trans_Jobs[static_cast<size_t>(pos)].get();
        if ((u->state != 0 && u->state != 2) || (u->state == 2) != (u->job != nullptr))
            r.fail();
        Trans_Units.push_back(std::move(u));
    }
    return r.ok();
}
