// Jobs: batches, input stock, finished output and the requests of work orders.
#include "shopfloor/rjob.h"
#include "shopfloor/plant.h"
#include <algorithm>
#include <cstdio>

namespace {

bool same_key(const RWork_Order* a, int16_t ax, int16_t ay, const RWork_Order* b, int16_t bx, int16_t by)
{
    return a == b && ax == bx && ay == by;
}

} // namespace

int RJob::process_minutes()
{
    const float v = static_cast<float>(machine->Times_Table.draw(*plant->host)) * time / 100.0f;
    return std::max(1, half_up(v));
}

bool RJob::uses_job(int job) const
{
    for (const RInp& i : inputs)
        if (i.kind == KIND_JOB && i.index == job)
            return true;
    return false;
}

void RJob::clear_slot(int unit)
{
    unit_request[unit] = nullptr;
    if (busy[unit]) {
        busy[unit] = 0;
        --busy_units;
    }
}

int16_t RJob::start_batch(Waiting_WO& r)
{
    int32_t n = r.remaining();
    if (n < 1)
        return 0;
    if (time_kind == 0)
        n = 1;
    else
        n = std::min<int32_t>(n, machine->batch_size);
    n = std::min<int32_t>(n, downstream_room());
    if (n < 1)
        return 0;
    if (!inputs_available(r.wo, r.x, r.y, n))
        return 0;
    r.started = static_cast<uint16_t>(r.started + n);
    consume_inputs(n, r.wo, r.x, r.y);
    return static_cast<int16_t>(n);
}

int16_t RJob::end_setup(int unit)
{
    RMachineUnit& u = *machine->Units[static_cast<size_t>(unit)];
    Waiting_WO* r = unit_request[unit];
    int16_t n = r ? start_batch(*r) : 0;
    if (n == 0) {
        clear_slot(unit);
        u.go_idle();
        return 0;
    }
    u.batch = static_cast<uint16_t>(n);
    u.set_state(UNIT_PROD);
    u.minutes_left = static_cast<uint16_t>(process_minutes());
    return n;
}

int16_t RJob::finish_batch(int unit, int n)
{
    RMachineUnit& u = *machine->Units[static_cast<size_t>(unit)];
    Waiting_WO* r = unit_request[unit];
    if (!r) {
        u.batch = 0;
        u.go_idle();
        return 0;
    }
    int extra = 0;
    if (n > r->quantity) {
        extra = n - r->quantity;
        n = r->quantity;
    }
    r->quantity = static_cast<uint16_t>(r->quantity - n);
    r->finished = static_cast<uint16_t>(r->finished + n);
    r->started = static_cast<uint16_t>(std::max(0, r->started - (n + extra)));
    RWork_Order* wo = r->wo;
    add_material_to_output(wo, r->x, r->y, n);
    u.batch = 0;
    if (extra > 0)
        add_material_to_output(nullptr, 0, 0, extra);

    const bool reorder_case = wo && wo->final_job() == job_number && wo->made_for_stock();
    if (reorder_case) {
        int16_t x = r->x, y = r->y;
        find_output_position(wo, x, y);
        const int16_t q = get_output_qty(wo, x, y);
        add_material_to_output(wo, x, y, -q);
        add_material_to_output(nullptr, 0, 0, q);
    }

    if (r->quantity == 0 && r->started == 0) {
        machine->remove_waiting_data(this, r);
        u.go_idle();
        for (int i = 0; i < MAX_UNITS; ++i)
            if (unit_request[i] == r)
                clear_slot(i);
        remove_request(r);
        if (reorder_case)
            plant->doom(wo);
        return 0;
    }
    if (r->remaining() < 1 && busy[unit]) {
        clear_slot(unit);
        u.go_idle();
        return 0;
    }
    u.minutes_left = static_cast<uint16_t>(process_minutes());
    const int16_t m = start_batch(*r);
    u.batch = static_cast<uint16_t>(m);
    if (m == 0) {
        clear_slot(unit);
        u.go_idle();
    }
    return m;
}

int32_t RJob::downstream_room() const
{
    if (role != 1)
        return NO_LIMIT;
    const RJob* consumer = plant->job(parent);
    if (!consumer || !consumer->machine)
        return NO_LIMIT;
    const RMachine& m = *consumer->machine;
    if (m.buffer_capacity == NO_LIMIT)
        return NO_LIMIT;
    // Summed wide: the counts are each within 32 bits, their difference need not be.
    const int64_t room = int64_t{m.buffer_capacity} - m.buffer_count - m.batch_in_progress() - m.finished_material;
    return static_cast<int32_t>(std::clamp<int64_t>(room, INT32_MIN, INT32_MAX));
}

bool RJob::inputs_available(const RWork_Order* wo, int16_t x, int16_t y, int n) const
{
    for (const RInp& i : inputs)
        if (get_input_stock(wo, i.kind, i.index, x, y) < static_cast<int32_t>(n) * i.quantity)
            return false;
    return true;
}

void RJob::consume_inputs(int n, RWork_Order* wo, int16_t x, int16_t y)
{
    if (n == 0)
        return;
    for (const RInp& i : inputs)
        add_input_stock(wo, i.kind, i.index, -(n * i.quantity), x, y);
}

int16_t RJob::get_input_stock(const RWork_Order* wo, int kind, int index, int16_t x, int16_t y) const
{
    for (const Input_Stock& s : input_stock)
        if (s.kind == kind && s.index == index && same_key(s.wo, s.x, s.y, wo, x, y))
            return s.quantity;
    return 0;
}

void RJob::add_input_stock(RWork_Order* wo, int kind, int index, int q, int16_t x, int16_t y)
{
    // A take is limited to what the record holds, and there is nothing to take without one: the
    // machine's buffer count stays the sum of its records and never goes below zero.
    for (size_t i = 0; i < input_stock.size(); ++i) {
        Input_Stock& s = input_stock[i];
        if (s.kind == kind && s.index == index && same_key(s.wo, s.x, s.y, wo, x, y)) {
            const int moved = std::max(q, -static_cast<int>(s.quantity));
            machine->buffer_count += moved;
            s.quantity = static_cast<int16_t>(s.quantity + moved);
            if (s.quantity == 0)
                input_stock.erase(input_stock.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
    if (q > 0) {
        machine->buffer_count += q;
        input_stock.push_back({wo, static_cast<uint16_t>(kind), static_cast<uint8_t>(index), static_cast<int16_t>(q), x, y});
    }
}

void RJob::find_output_position(const RWork_Order* wo, int16_t& x, int16_t& y) const
{
    for (const Finished_Output& o : outputs)
        if (o.wo == wo) {
            x = o.x;
            y = o.y;
        }
}

int16_t RJob::get_output_qty(const RWork_Order* wo, int16_t x, int16_t y) const
{
    for (const Finished_Output& o : outputs)
        if (same_key(o.wo, o.x, o.y, wo, x, y))
            return o.quantity;
    return 0;
}

void RJob::add_material_to_output(RWork_Order* wo, int16_t x, int16_t y, int q)
{
    machine->finished_material += q;
    for (size_t i = 0; i < outputs.size(); ++i) {
        Finished_Output& o = outputs[i];
        if (same_key(o.wo, o.x, o.y, wo, x, y)) {
            o.quantity = static_cast<int16_t>(o.quantity + q);
            if (o.quantity == 0)
                outputs.erase(outputs.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
    if (q > 0)
        outputs.push_back({wo, static_cast<int16_t>(q), x, y});
}

uint8_t RJob::units_working_on(const RWork_Order* wo, int16_t x, int16_t y) const
{
    uint8_t n = 0;
    const int active = std::min<int>(machine->active_units, MAX_UNITS);
    for (int u = 0; u < active; ++u) {
        const Waiting_WO* r = unit_request[u];
        if (r && same_key(r->wo, r->x, r->y, wo, x, y))
            ++n;
    }
    return n;
}

int16_t RJob::parts_from_inputs(const RWork_Order* wo, int16_t x, int16_t y) const
{
    if (inputs.empty())
        return 0;
    int best = 32767;
    for (const RInp& i : inputs)
        best = std::min(best, get_input_stock(wo, i.kind, i.index, x, y) / static_cast<int>(i.quantity));
    return static_cast<int16_t>(best);
}

void RJob::describe_inputs(const RWork_Order* wo, int16_t x, int16_t y, std::string& text) const
{
    for (const RInp& i : inputs) {
        std::string nm;
        if (i.kind == KIND_RAW && i.index < plant->Raw_Ms.size())
            nm = plant->Raw_Ms[i.index].code;
        else if (i.kind == KIND_JOB && plant->job(i.index))
            nm = plant->job(i.index)->name;
        else if (i.kind == KIND_PRODUCT && plant->product(i.index))
            nm = plant->product(i.index)->code;
        char buf[16];
        std::snprintf(buf, sizeof buf, "%d", get_input_stock(wo, i.kind, i.index, x, y) / static_cast<int>(i.quantity));
        text += nm + ": " + buf + "\n";
    }
}

Waiting_WO* RJob::find_waiting_wo(const RWork_Order* wo) const
{
    for (const auto& r : requests)
        if (r->wo == wo)
            return r.get();
    return nullptr;
}

void RJob::cancel_units_on(const Waiting_WO* request)
{
    const int active = std::min<int>(machine->active_units, MAX_UNITS);
    for (int u = 0; u < active; ++u)
        if (unit_request[u] == request && machine->Units[static_cast<size_t>(u)]->current_job == this)
            machine->Units[static_cast<size_t>(u)]->cancel_batch();
    // Units beyond the active ones, or bound to another job, still must not keep the request.
    for (int u = 0; u < MAX_UNITS; ++u)
        if (unit_request[u] == request)
            clear_slot(u);
}

void RJob::forget_work_order(const RWork_Order* wo)
{
    while (Waiting_WO* r = find_waiting_wo(wo)) {
        cancel_units_on(r);
        machine->remove_waiting_data(this, r);
        remove_request(r);
    }
    // What lies here for the work order becomes free stock, read at (none, 0, 0).
    std::vector<Input_Stock> moved_in;
    for (size_t i = input_stock.size(); i-- > 0;)
        if (input_stock[i].wo == wo) {
            moved_in.insert(moved_in.begin(), input_stock[i]);
            input_stock.erase(input_stock.begin() + static_cast<std::ptrdiff_t>(i));
        }
    for (const Input_Stock& s : moved_in) {
        machine->buffer_count -= s.quantity;
        add_input_stock(nullptr, s.kind, s.index, s.quantity, 0, 0);
    }
    std::vector<Finished_Output> moved_out;
    for (size_t i = outputs.size(); i-- > 0;)
        if (outputs[i].wo == wo) {
            moved_out.insert(moved_out.begin(), outputs[i]);
            outputs.erase(outputs.begin() + static_cast<std::ptrdiff_t>(i));
        }
    for (const Finished_Output& o : moved_out) {
        machine->finished_material -= o.quantity;
        add_material_to_output(nullptr, 0, 0, o.quantity);
    }
}

Waiting_WO* RJob::add_request(RWork_Order* wo, uint16_t quantity, int16_t x, int16_t y)
{
    auto r = std::make_unique<Waiting_WO>();
    r->wo = wo;
    r->quantity = quantity;
    r->x = x;
    r->y = y;
    Waiting_WO* p = r.get();
    requests.push_back(std::move(r));
    return p;
}

void RJob::remove_request(const Waiting_WO* request)
{
    for (size_t i = 0; i < requests.size(); ++i)
        if (requests[i].get() == request) {
            requests.erase(requests.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}
