// Machines: the queue, the minute step and the five dispatch rules.
#include "shopfloor/rmachine.h"
#include "shopfloor/plant.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

void RMachine::Add_Waiting_WO_Data(Waiting_WO* request, RJob* job)
{
    auto e = std::make_unique<Waiting_WO_Data>();
    e->request = request;
    e->job = job;
    size_t i = Waiting_WOs_Data.size();
    while (i > 0 && Waiting_WOs_Data[i - 1]->request->wo == request->wo)
        --i;
    Waiting_WOs_Data.insert(Waiting_WOs_Data.begin() + static_cast<std::ptrdiff_t>(i), std::move(e));
    request_size_sum += request->quantity;
    ++request_size_count;
}

void RMachine::remove_waiting_data(const RJob* job, const Waiting_WO* request)
{
    for (size_t i = Waiting_WOs_Data.size(); i-- > 0;) {
        Waiting_WO_Data* e = Waiting_WOs_Data[i].get();
        if (e->job == job && e->request == request) {
            Schedules.erase(std::remove(Schedules.begin(), Schedules.end(), e), Schedules.end());
            Waiting_WOs_Data.erase(Waiting_WOs_Data.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

Waiting_WO_Data* RMachine::find_waiting_data(const RJob* job, const Waiting_WO* request) const
{
    for (const auto& e : Waiting_WOs_Data)
        if (e->job == job && e->request == request)
            return e.get();
    return nullptr;
}

Waiting_WO_Data* RMachine::waiting_data_of_unit(int unit) const
{
    if (unit < 0 || static_cast<size_t>(unit) >= Units.size())
        return nullptr;
    const RJob* job = Units[static_cast<size_t>(unit)]->current_job;
    if (!job)
        return nullptr;
    return find_waiting_data(job, job->unit_request[unit]);
}

int RMachine::start_on_unit(int unit, Waiting_WO_Data* entry)
{
    Waiting_WO& r = *entry->request;
    if (r.quantity == r.started)
        return 0;
    RMachineUnit& u = *Units[static_cast<size_t>(unit)];
    u.start(*entry);
    RJob& job = *entry->job;
    if (!job.busy[unit])
        ++job.busy_units;
    job.busy[unit] = 1;
    job.unit_request[unit] = &r;
    if (u.state == UNIT_PROD) {
        const int16_t b = job.start_batch(r);
        if (b == 0) {
            job.clear_slot(unit);
            u.go_idle();
        }
        u.batch = static_cast<uint16_t>(b);
    }
    return 1;
}

int RMachine::setup_for(int unit, const RJob* job) const
{
    return Units[static_cast<size_t>(unit)]->last_job == job->job_number ? 0 : setup_time;
}

int RMachine::pick_idle_unit(const RJob* job) const
{
    int best = -1;
    int best_setup = 0;
    for (int i = 0; i < active_units; ++i) {
        if (Units[static_cast<size_t>(i)]->state != UNIT_IDLE)
            continue;
        const int s = setup_for(i, job);
        if (best < 0 || s < best_setup) {
            best = i;
            best_setup = s;
        }
    }
    return best;
}

int RMachine::count_idle_units() const
{
    int n = 0;
    for (int i = 0; i < active_units; ++i)
        if (Units[static_cast<size_t>(i)]->state == UNIT_IDLE)
            ++n;
    return n;
}

void RMachine::activate_next_unit()
{
    if (Units.size() <= active_units)
        return;
    Units[active_units]->number = active_units;
    ++active_units;
    if (plant->shown())
        plant->ui->redraw_machine(number);
}

int32_t RMachine::batch_in_progress() const
{
    int32_t n = 0;
    for (const auto& u : Units)
        n += u->batch;
    return n;
}

bool RMachine::has_inputs(const Waiting_WO_Data& e, int q) const
{
    const Waiting_WO& r = *e.request;
    return e.job->inputs_available(r.wo, r.x, r.y, q);
}

int RMachine::working(const Waiting_WO_Data& e) const
{
    const Waiting_WO& r = *e.request;
    return e.job->units_working_on(r.wo, r.x, r.y);
}

int32_t RMachine::work_per_unit(const Waiting_WO_Data& e, int w) const
{
    return static_cast<int32_t>(static_cast<float>(e.request->quantity) * e.job->minutes_per_part / static_cast<float>(w));
}

namespace {
enum PassKind { PASS_WO = 0, PASS_PRODUCT = 1, PASS_EDD = 2 };
}

void RMachine::best_first_pass(int kind)
{
    int n = count_idle_units();
    if (n == 0)
        return;
    int64_t best = kind == PASS_WO ? -32768 : kind == PASS_PRODUCT ? -1 : 0xFFFFFFFFll;
    Waiting_WO_Data* chosen = nullptr;
    for (;;) {
        for (const auto& ep : Waiting_WOs_Data) {
            const Waiting_WO_Data& e = *ep;
            const Waiting_WO& r = *e.request;
            int64_t key;
            int q;
            bool better;
            if (kind == PASS_WO) {
                if (r.wo->priority <= 0)
                    continue;
                key = r.wo->priority;
                q = 1;
                better = key > best;
            } else if (kind == PASS_PRODUCT) {
                const int16_t p = e.job->product ? e.job->product->priority : 0;
                if (p <= 0)
                    continue;
                key = p;
                q = acceptance == 0 ? r.quantity : 1;
                better = key > best;
            } else {
                key = static_cast<uint32_t>(r.wo->due_minute);
                q = acceptance == 0 ? r.quantity : 1;
                better = key < best;
            }
            if (better && has_inputs(e, q) && working(e) == 0) {
                best = key;
                chosen = ep.get();
            }
        }
        if (!chosen)
            return;
        const int u = pick_idle_unit(chosen->job);
        if (u < 0)
            return;
        if (start_on_unit(u, chosen) != 1)
            return;
        if (--n == 0)
            return;
    }
}

void RMachine::fifo_rule()
{
    if (plant->wo_priority_option)
        best_first_pass(PASS_WO);
    if (plant->product_priority_on)
        best_first_pass(PASS_PRODUCT);
    int n = count_idle_units();
    if (n == 0 || Waiting_WOs_Data.empty())
        return;
    for (size_t i = 0; i < Waiting_WOs_Data.size(); ++i) {
        Waiting_WO_Data* e = Waiting_WOs_Data[i].get();
        const int q = acceptance == 0 ? e->request->quantity : 1;
        if (has_inputs(*e, q) && working(*e) == 0) {
            const int u = pick_idle_unit(e->job);
            if (u < 0)
                return;
            if (start_on_unit(u, e) == 1 && --n == 0)
                return;
        }
    }
    for (size_t i = 0; i < Waiting_WOs_Data.size(); ++i) {
        Waiting_WO_Data* e = Waiting_WOs_Data[i].get();
        const int q = acceptance == 0 ? e->request->remaining() : 1;
        const int w = working(*e);
        if (w > 0 && has_inputs(*e, q)) {
            const int32_t work = work_per_unit(*e, w);
            const int u = pick_idle_unit(e->job);
            if (u < 0)
                return;
            if (setup_for(u, e->job) < work && start_on_unit(u, e) == 1 && --n == 0)
                return;
        }
    }
}

void RMachine::current_job_rule()
{
    if (plant->wo_priority_option)
        best_first_pass(PASS_WO);
    if (plant->product_priority_on)
        best_first_pass(PASS_PRODUCT);
    int n = count_idle_units();
    if (n == 0)
        return;
    for (int i = 0; i < active_units; ++i) {
        RMachineUnit& unit = *Units[static_cast<size_t>(i)];
        if (unit.state != UNIT_IDLE)
            continue;
        if (Waiting_WOs_Data.empty())
            return;
        for (size_t k = 0; k < Waiting_WOs_Data.size(); ++k) {
            Waiting_WO_Data* e = Waiting_WOs_Data[k].get();
            const int q = acceptance == 0 ? e->request->remaining() : 1;
            if (e->job->job_number == unit.last_job && has_inputs(*e, q) && working(*e) == 0) {
                if (start_on_unit(i, e) == 1) {
                    if (--n == 0)
                        return;
                    break;
                }
            }
        }
    }
    fifo_rule();
}

void RMachine::schedule_rule()
{
    if (plant->wo_priority_option)
        best_first_pass(PASS_WO);
    int n = count_idle_units();
    if (n == 0)
        return;
    if (Schedules.empty()) {
        const int p = plant->release_policy;
        if (p == RELEASE_IMMEDIATE || p == RELEASE_MRP || p == RELEASE_DBR_NO_CONSTRAINT)
            plant->on_schedule_end(number);
        return;
    }
    int steps = 0;
    for (int sweep = 0; sweep < 2; ++sweep) {
        size_t count = Schedules.size();
        for (size_t next = 0; next < count;) {
            const size_t pos = next++;
            const size_t idx = schedule_option == 0 ? 0 : pos;
            if (idx >= Schedules.size())
                break;
            if (schedule_option == 0) {
                if (steps >= active_units)
                    return;
                ++steps;
            }
            Waiting_WO_Data* e = Schedules[idx];
            bool queued = false;
            for (const auto& q : Waiting_WOs_Data)
                if (q.get() == e)
                    queued = true;
            if (!queued) {
                // An entry the queue no longer holds was freed with its request: drop it.
                Schedules.erase(Schedules.begin() + static_cast<std::ptrdiff_t>(idx));
                // The entry after it has moved into its place and is looked at next.
                if (schedule_option != 0) {
                    next = pos;
                    --count;
                }
                continue;
            }
            const int u = pick_idle_unit(e->job);
            if (u < 0)
                return;
            const int w = working(*e);
            if (sweep == 0 && w > 0)
                continue;
            if (w > 0 && setup_for(u, e->job) > work_per_unit(*e, w))
                continue;
            const int q = acceptance == 0 ? e->request->remaining() : 1;
            if (has_inputs(*e, q)) {
                if (e->job->name[0] != 'J')
                    plant->ui->message("Not implemented yet", "error in job name", 0);
                if (start_on_unit(u, e) == 1 && --n == 0)
                    return;
            }
        }
    }
}

void RMachine::dispatch()
{
    switch (rule) {
    case RULE_FIFO:
        fifo_rule();
        break;
    case RULE_CURRENT_JOB:
        current_job_rule();
        break;
    case RULE_SCHEDULE:
        schedule_rule();
        break;
    case RULE_EDD:
        if (plant->wo_priority_option)
            best_first_pass(PASS_WO);
        best_first_pass(PASS_EDD);
        best_first_pass(PASS_PRODUCT);
        break;
    case RULE_PRI:
        best_first_pass(PASS_PRODUCT);
        break;
    default:
        break;
    }
}

void RMachine::on_minute()
{
    for (int i = 0; i < active_units && static_cast<size_t>(i) < Units.size(); ++i)
        Units[static_cast<size_t>(i)]->tick();
    if (plant->shown() && plant->display_frequency == 2)
        draw_units(false);
    dispatch();
}

void RMachine::on_hour()
{
    if (plant->shown() && plant->display_frequency == 1)
        draw_units(false);
}

void RMachine::on_new_day()
{
    for (auto& u : Units)
        u->on_new_day();
    const int f = plant->display_frequency;
    if (plant->shown() && (f < 1 || f > 2))
        draw_units(false);
}

namespace {
float ceil_tenth(float v)
{
    return std::ceil(v * 10.0f) / 10.0f;
}
} // namespace

void RMachine::on_new_month()
{
    float* series[4] = {production_pct, setup_pct, break_pct, idle_pct};
    for (float* s : series)
        for (int m = 1; m < 12; ++m)
            s[m - 1] = s[m];
    const uint64_t total = static_cast<uint64_t>(minutes[0]) + minutes[1] + minutes[2] + minutes[3];
    for (int k = 0; k < 4; ++k)
        series[k][11] = total == 0 ? 0.0f : static_cast<float>(static_cast<double>(minutes[k]) * 100.0 / static_cast<double>(total));
    plant->utilization_average.add_float(production_pct[11] / 100.0f);
    production_pct_last = ceil_tenth(production_pct[11]);
    setup_pct_last = ceil_tenth(setup_pct[11]);
    break_pct_last = ceil_tenth(break_pct[11]);
    for (auto& c : minutes)
        c = 0;
    for (auto& u : Units)
        u->on_new_month();
}

void RMachine::on_new_year()
{
    if (request_size_count != 0)
        planning_batch = static_cast<uint16_t>(request_size_sum / static_cast<int32_t>(request_size_count));
    if (planning_batch == 0)
        return;
    for (auto& j : plant->Jobs)
        if (j && j->time_kind == 1 && j->machine == this)
            j->minutes_per_part = static_cast<float>(j->time) / planning_batch;
}

void RMachine::draw_units(bool full)
{
    const int x = panel_x + 4;
    const int y = panel_y + 27;
    for (int i = 0; i < active_units && static_cast<size_t>(i) < Units.size(); ++i)
        Units[static_cast<size_t>(i)]->draw(x, y, full);
}

void RMachine::draw()
{
    Painter* p = plant->ui->painter();
    if (!p)
        return;
    static const char* const rules[5] = {"FIFO", "Current job", "Schedule", "EDD", "PRI"};
    const char* rn = (rule >= 0 && rule <= 4) ? rules[rule] : "";
    char title[64];
    if (setup_time == 0xFFFF)
        std::snprintf(title, sizeof title, "%s %s", name, rn);
    else
        std::snprintf(title, sizeof title, "%s   %s   %s%u", name, rn, "Su:", setup_time);
    const int w = static_cast<int>(230 * plant->ui->scale_x());
    const int h = static_cast<int>(36 * plant->ui->scale_y());
    const int x = panel_x, y = panel_y;
    p->rect(x, y, w, 24 + active_units * h, -1, true);
    p->rect(x + 1, y + 1, w - 2, 18, panel_colour, false);
    p->rect(x + 1, y + 20, w - 2, active_units * h + 3, panel_colour, false);
    const int rows = plant->show_load ? 1 : active_units;
    for (int i = 0; i < rows; ++i)
        p->rect(x + 4, y + 23 + i * h, w - 8, h - 3, row_colour, false);
    p->text(x + 8, y + 2, title, title_colour);
    if (!plant->show_load) {
        draw_units(true);
        return;
    }
    for (const auto& m : plant->Machines)
        load_scale = std::max({load_scale, m->load_minutes_1, m->load_minutes_2});
    const int inner = w - 8;
    const int32_t figures[2] = {load_minutes_1, load_minutes_2};
    for (int k = 0; k < 2; ++k) {
        const int len = static_cast<int>(static_cast<double>(figures[k]) / load_scale * (inner - 40));
        const int top = y + 23 + k * (h / 2);
        if (figures[k] != 0)
            p->rect(x + 4, top, len, h / 2 - 2, k == 0 ? 0x0000FF : 0x00FF00, false);
        char buf[24];
        std::snprintf(buf, sizeof buf, "%ld:%02ld", static_cast<long>(figures[k] / 60), static_cast<long>(figures[k] % 60));
        p->text(x + 4 + inner / 2, top, buf, 0);
    }
}
