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

namespace {

// The job's fixed head; its lists follow, then the closing fields.
constexpr RecordField<RJob> job_head[] = {
    field<&RJob::name>(CHARS),
    scenario<&RJob::product_position>(U16),
    scenario<&RJob::time_kind>(I16),
    scenario<&RJob::letter>(I16),
    field<&RJob::level>(U8),
    scenario<&RJob::job_number>(U8).agreeing(),
    field<&RJob::spare>(U16),
    scenario<&RJob::machine_number>(U16),
    scenario<&RJob::time>(U16),
    field<&RJob::on_constraint>(U16),
    field<&RJob::dbr_marker>(U16),
    field<&RJob::busy_units>(U8).within(0, MAX_UNITS),
    field<&RJob::busy>(U16).within(0, 1),
};
static_assert(file_size(job_head) == 32);

constexpr RecordField<RJob> job_closing[] = {
    field<&RJob::closing1>(U16),
    field<&RJob::closing2>(U8),
};

// Stock, outputs and requests keep a pointer slot; their work orders follow each list as positions.
constexpr RecordField<Input_Stock> stock_fields[] = {
    pad<Input_Stock>(U32),
    field<&Input_Stock::kind>(U16),
    field<&Input_Stock::index>(U8),
    field<&Input_Stock::quantity>(I16),
    field<&Input_Stock::x>(I16).since("BG_1035"),
    field<&Input_Stock::y>(I16).since("BG_1035"),
};
static_assert(file_size(stock_fields) == 13);

constexpr RecordField<Finished_Output> output_fields[] = {
    pad<Finished_Output>(U32),
    field<&Finished_Output::quantity>(I16),
    field<&Finished_Output::x>(I16).since("BG_1035"),
    field<&Finished_Output::y>(I16).since("BG_1035"),
};
static_assert(file_size(output_fields) == 10);

constexpr RecordField<Waiting_WO> request_fields[] = {
    pad<Waiting_WO>(U32),
    field<&Waiting_WO::quantity>(U16),
    field<&Waiting_WO::finished>(U16),
    field<&Waiting_WO::started>(U16),
    field<&Waiting_WO::spare>(U16),
    field<&Waiting_WO::x>(I16).since("BG_1035"),
    field<&Waiting_WO::y>(I16).since("BG_1035"),
};
static_assert(file_size(request_fields) == 16);

constexpr RecordField<RInp> input_fields[] = {
    field<&RInp::kind>(I16),
    field<&RInp::index>(U8),
    field<&RInp::quantity>(U16).within(1, 65535),
    field<&RInp::lead>(U16),
    field<&RInp::constraint_path>(U16),
};
static_assert(file_size(input_fields) == 9);

// Input positions are the scenario's: saved for the file's sake, read and dropped.
constexpr RecordField<Inp_Pos> position_fields[] = {
    scenario<&Inp_Pos::input>(U8),
    scenario<&Inp_Pos::letter>(U8),
    scenario<&Inp_Pos::level>(U8),
};

} // namespace

void RJob::save_state(ByteWriter& w) const
{
    const auto gate = plant->host->file_gate();
    write_fields(w, *this, job_head);
    w.i16(static_cast<int16_t>(input_stock.size()));
    for (const auto& s : input_stock)
        write_fields(w, s, stock_fields, gate);
    for (const auto& s : input_stock)
        w.i16(wo_pos(*plant, s.wo));
    w.i16(static_cast<int16_t>(outputs.size()));
    for (const auto& o : outputs)
        write_fields(w, o, output_fields, gate);
    for (const auto& o : outputs)
        w.i16(wo_pos(*plant, o.wo));
    w.i16(static_cast<int16_t>(requests.size()));
    for (const auto& r : requests)
        write_fields(w, *r, request_fields, gate);
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
    for (const auto& i : inputs)
        write_fields(w, i, input_fields);
    write_fields(w, *this, job_closing);
    w.i16(static_cast<int16_t>(input_positions.size()));
    for (const auto& p : input_positions)
        write_fields(w, p, position_fields);
}

bool RJob::load_state(ByteReader& r)
{
    const auto gate = plant->host->file_gate();
    read_fields(r, *this, job_head, gate);
    int flags = 0;
    for (uint16_t b : busy)
        flags += b;
    if (busy_units != flags)
        r.fail();

    const int ns = r.count(32767, file_size(stock_fields, gate));
    std::vector<Input_Stock> stock(static_cast<size_t>(ns));
    for (auto& s : stock) {
        read_fields(r, s, stock_fields, gate);
        if (!index_ok(*plant, s.kind, s.index))
            r.fail();
    }
    for (auto& s : stock)
        s.wo = wo_at(*plant, r.i16(), r, true);
    const int no = r.count(32767, file_size(output_fields, gate));
    std::vector<Finished_Output> outs(static_cast<size_t>(no));
    for (auto& o : outs)
        read_fields(r, o, output_fields, gate);
    for (auto& o : outs)
        o.wo = wo_at(*plant, r.i16(), r, true);
    const int nr = r.count(32767, file_size(request_fields, gate));
    std::vector<std::unique_ptr<Waiting_WO>> reqs;
    for (int i = 0; i < nr; ++i) {
        auto q = std::make_unique<Waiting_WO>();
        read_fields(r, *q, request_fields, gate);
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
    const int ni = r.count(32767, file_size(input_fields));
    std::vector<RInp> ins(static_cast<size_t>(ni));
    for (auto& i : ins) {
        read_fields(r, i, input_fields);
        if (!index_ok(*plant, i.kind, i.index))
            r.fail();
    }
    read_fields(r, *this, job_closing);
    const int np = r.count(32767, file_size(position_fields));
    for (int i = 0; i < np; ++i) {
        Inp_Pos scratch;
        read_fields(r, scratch, position_fields);
    }
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

namespace {

constexpr RecordField<RMachine> machine_head[] = {
    field<&RMachine::name>(CHARS),
    field<&RMachine::rule>(I16).within(0, 4),
    field<&RMachine::initial_rule>(I16).within(0, 4),
    field<&RMachine::acceptance>(I16).within(0, 1),
    field<&RMachine::schedule_option>(I16).within(0, 1),
    scenario<&RMachine::number>(U8).agreeing(),
    field<&RMachine::setup_pct_last>(F32),
    field<&RMachine::production_pct_last>(F32),
    field<&RMachine::break_pct_last>(F32),
    scenario<&RMachine::setup_time>(U16),
    scenario<&RMachine::panel_x>(U16),
    scenario<&RMachine::panel_y>(U16),
    scenario<&RMachine::panel_colour>(U8),
    scenario<&RMachine::title_colour>(U8),
    scenario<&RMachine::row_colour>(U8),
    field<&RMachine::active_units>(U8).within(1, MAX_UNITS),
    field<&RMachine::item6>(U16),
    field<&RMachine::batch_size>(U16).within(1, 65535),
    scenario<&RMachine::breakdowns_per_week>(I16),
    scenario<&RMachine::break_scale>(U16),
    field<&RMachine::spare>(U16),
    field<&RMachine::production_pct>(F32),
    field<&RMachine::setup_pct>(F32),
    field<&RMachine::break_pct>(F32),
    field<&RMachine::idle_pct>(F32),
    // The file keeps 16-bit counters: a long month saturates.
    field<&RMachine::minutes>(U16).saturated(),
    scenario<&RMachine::unit_price>(I32),
    scenario<&RMachine::delivery_months>(U16),
    scenario<&RMachine::max_units>(U8),
};
static_assert(file_size(machine_head) == 251);

// Requests and buffers came later; the buffer fields may only count what the jobs' lists hold.
constexpr RecordField<RMachine> machine_tail[] = {
    field<&RMachine::planning_batch>(U16).since("BG_1020").within(1, 65535),
    field<&RMachine::request_size_sum>(I32).since("BG_1020").absent(0).within(0, INT32_MAX),
    field<&RMachine::request_size_count>(U16).since("BG_1020").absent(0),
    field<&RMachine::buffer_capacity>(I32).since("BG_1031").absent(NO_LIMIT).within(0, NO_LIMIT),
    field<&RMachine::buffer_count>(I32).since("BG_1031").absent(0),
    field<&RMachine::finished_material>(I32).since("BG_1031").absent(0),
};
static_assert(file_size(machine_tail) == 20);

constexpr RecordField<RMachineUnit> unit_fields[] = {
    field<&RMachineUnit::state>(I16).within(UNIT_IDLE, UNIT_ON_DELIVERY),
    field<&RMachineUnit::saved_state>(I16).within(UNIT_IDLE, UNIT_ON_DELIVERY),
    field<&RMachineUnit::number>(U8).within(0, MAX_UNITS - 1),
    field<&RMachineUnit::last_job>(U8),
    field<&RMachineUnit::batch>(U16),
    field<&RMachineUnit::minutes_left>(U16),
    field<&RMachineUnit::break_left>(U16),
    field<&RMachineUnit::hidden>(U16),
    field<&RMachineUnit::drawn>(I16),
    field<&RMachineUnit::became_available>(U16),
};
static_assert(file_size(unit_fields) == 26);

constexpr RecordField<Waiting_WO_Data> queue_fields[] = {
    field<&Waiting_WO_Data::planned_start>(I32),
    field<&Waiting_WO_Data::planned_duration>(U16),
};

// What the jobs on machine `m` hold in their input buffers and at their outputs.
void held_on(const Plant& p, const RMachine* m, int64_t& in_buffers, int64_t& at_outputs)
{
    in_buffers = at_outputs = 0;
    for (const auto& j : p.Jobs)
        if (j && j->machine == m) {
            for (const auto& s : j->input_stock)
                in_buffers += s.quantity;
            for (const auto& o : j->outputs)
                at_outputs += o.quantity;
        }
}

} // namespace

void RMachineUnit::save_state(ByteWriter& w) const
{
    write_fields(w, *this, unit_fields);
}

bool RMachineUnit::load_state(ByteReader& r)
{
    read_fields(r, *this, unit_fields);
    if (saved_state == UNIT_BREAK)
        r.fail();
    current_job = machine->plant->job(last_job);
    // A unit's last job may be an emptied slot: it then keeps no job until it starts one.
    if (last_job >= machine->plant->Jobs.size())
        r.fail();
    if ((state == UNIT_SETUP || state == UNIT_PROD || (state == UNIT_BREAK)) && !current_job)
        r.fail();
    // A working unit's job must run on this machine: the batch ends through the job's unit slots.
    if ((state == UNIT_SETUP || state == UNIT_PROD || state == UNIT_BREAK) && current_job &&
        current_job->machine != machine)
        r.fail();
    return r.ok();
}

void RMachine::save_state(ByteWriter& w) const
{
    write_fields(w, *this, machine_head);
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
        write_fields(w, *e, queue_fields);
    }
    w.i16(static_cast<int16_t>(Schedules.size()));
    for (const Waiting_WO_Data* s : Schedules) {
        int16_t pos = -1;
        for (size_t i = 0; i < Waiting_WOs_Data.size(); ++i)
            if (Waiting_WOs_Data[i].get() == s)
                pos = static_cast<int16_t>(i);
        w.i16(pos);
    }
    write_fields(w, *this, machine_tail, plant->host->file_gate());
}

bool RMachine::load_state(ByteReader& r)
{
    const auto gate = plant->host->file_gate();
    read_fields(r, *this, machine_head, gate);
    rrandom scratch;
    scratch.load(r);
    scratch.load(r);
    // The scenario's maximum bounds the units a file may bring.
    const int nu = r.count(std::min<int>(max_units, MAX_UNITS), file_size(unit_fields));
    if (nu < 1 || active_units > nu)
        r.fail();
    if (!r.ok())
        return false;
    for (int i = 0; i < nu; ++i) {
        if (static_cast<size_t>(i) >= Units.size())
            Units.push_back(std::make_unique<RMachineUnit>(this));
        RMachineUnit& u = *Units[static_cast<size_t>(i)];
        // Units are found by their number (the jobs' unit slots, the panel rows): it is the position.
        if (!u.load_state(r) || u.number != i) {
            r.fail();
            return false;
        }
    }
    Units.resize(static_cast<size_t>(nu));
    Schedules.clear();
    Waiting_WOs_Data.clear();
    const int nq = r.count(32767, 4 + file_size(queue_fields));
    for (int i = 0; i < nq; ++i) {
        const int16_t ji = r.i16();
        const int16_t ri = r.i16();
        Waiting_WO_Data scratch_entry;
        read_fields(r, scratch_entry, queue_fields);
        if (ji == -1 || ri == -1)
            continue;
        RJob* j = plant->job(ji);
        if (!j || j->machine != this || ri < 0 || static_cast<size_t>(ri) >= j->requests.size()) {
            r.fail();
            return false;
        }
        auto e = std::make_unique<Waiting_WO_Data>(scratch_entry);
        e->job = j;
        e->request = j->requests[static_cast<size_t>(ri)].get();
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
    read_fields(r, *this, machine_tail, gate);
    if (planning_batch < 1)
        r.fail();
    // The counts are sums the jobs' lists give; a count that disagrees drives the room
    // downstream out of its type. Files before the counts hold the lists alone: the
    // counts are those sums (a count of 0 beside a held list would fall below 0 as the
    // list empties, and the session would not load again once saved).
    int64_t in_buffers = 0, at_outputs = 0;
    held_on(*plant, this, in_buffers, at_outputs);
    if (!gate("BG_1031") && in_buffers <= INT32_MAX && at_outputs <= INT32_MAX) {
        buffer_count = static_cast<int32_t>(in_buffers);
        finished_material = static_cast<int32_t>(at_outputs);
    }
    if (buffer_count != in_buffers || finished_material != at_outputs)
        r.fail();
    return r.ok();
}

namespace {

constexpr RecordField<RTransportJob> transport_job_fields[] = {
    field<&RTransportJob::source_kind>(I16).within(KIND_RAW, KIND_PRODUCT),
    field<&RTransportJob::dest_kind>(I16).within(KIND_JOB, KIND_PRODUCT),
    field<&RTransportJob::material_kind>(I16),
    field<&RTransportJob::source_index>(U8),
    field<&RTransportJob::dest_index>(U8),
    field<&RTransportJob::material_index>(U8),
    field<&RTransportJob::quantity>(U16),
    pad<RTransportJob>(U32, 2),   // the work orders follow the list as positions
    field<&RTransportJob::from_input_stock>(U16),
    field<&RTransportJob::daily_pick>(U16),
    field<&RTransportJob::release>(I32),
    field<&RTransportJob::sx>(I16).since("BG_1035"),
    field<&RTransportJob::sy>(I16).since("BG_1035"),
    field<&RTransportJob::dx>(I16).since("BG_1035"),
    field<&RTransportJob::dy>(I16).since("BG_1035"),
};
static_assert(file_size(transport_job_fields) == 35);

// After the unit's job position; the unit's number is its position, saved but not read.
constexpr RecordField<RTransportUnit> transport_unit_fields[] = {
    field<&RTransportUnit::loaded>(U16),
    field<&RTransportUnit::state>(U16),
    pad<RTransportUnit>(U16, 2),
    scenario<&RTransportUnit::number>(U8),
    pad<RTransportUnit>(U8),
    field<&RTransportUnit::minutes_left>(U16),
    pad<RTransportUnit>(U16),
};
static_assert(file_size(transport_unit_fields) == 14);

} // namespace

void RTransport_Manager::save_state(ByteWriter& w) const
{
    const auto gate = plant->host->file_gate();
    w.i16(static_cast<int16_t>(Trans_Jobs.size()));
    for (const auto& j : Trans_Jobs)
        write_fields(w, *j, transport_job_fields, gate);
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
        write_fields(w, *u, transport_unit_fields);
    }
}

bool RTransport_Manager::load_state(ByteReader& r)
{
    Trans_Jobs.clear();
    Trans_Units.clear();
    const auto gate = plant->host->file_gate();
    const int nj = r.count(32767, file_size(transport_job_fields, gate));
    for (int i = 0; i < nj; ++i) {
        auto j = std::make_unique<RTransportJob>();
        read_fields(r, *j, transport_job_fields, gate);
        // Carried to a job, the material enters its input stock and must name an item; carried to a
        // product, it names the job that made it.
        const bool material_ok = j->dest_kind == KIND_JOB ? index_ok(*plant, j->material_kind, j->material_index)
                                                          : index_ok(*plant, KIND_JOB, j->material_index);
        const bool source_ok = index_ok(*plant, j->source_kind, j->source_index) ||
                               (j->source_kind == KIND_RAW && j->source_index == NO_RAW_SOURCE);
        if (!source_ok || !index_ok(*plant, j->dest_kind, j->dest_index) || !material_ok)
            r.fail();
        Trans_Jobs.push_back(std::move(j));
    }
    for (auto& j : Trans_Jobs) {
        j->source_wo = wo_at(*plant, r.i16(), r, true);
        j->requesting_wo = wo_at(*plant, r.i16(), r, true);
    }
    const int nu = r.count(255, 2 + file_size(transport_unit_fields));
    for (int i = 0; i < nu; ++i) {
        auto u = std::make_unique<RTransportUnit>(static_cast<uint8_t>(i), this);
        const int16_t pos = r.i16();
        read_fields(r, *u, transport_unit_fields);
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
