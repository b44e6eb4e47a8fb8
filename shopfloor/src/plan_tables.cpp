// Plan tables: forward loading per unit, backward drum-buffer-rope loading, one parallel line.
#include "shopfloor/plan_tables.h"
#include "shopfloor/plant.h"
#include <algorithm>
#include <climits>

namespace {

// Minutes of a request's work; planning keeps 65535 to mean "cannot plan".
uint16_t process_minutes(float parts, float minutes_per_part)
{
    const float v = parts * minutes_per_part;
    if (!(v >= 1.0f))
        return CANNOT_PLAN;
    if (v >= 65534.0f)
        return 65534;
    return static_cast<uint16_t>(v);
}

uint16_t plus_setup(uint16_t process, uint32_t setup)
{
    return static_cast<uint16_t>(std::min<uint32_t>(process + setup, 65534u));
}

int32_t due_of(const PlanSlot& s)
{
    return s.entry->request->wo ? s.entry->request->wo->due_minute : INT32_MAX;
}

} // namespace

RForwardPlanTable::RForwardPlanTable(Plant& p, int mi)
    : plant(&p), machine_index(static_cast<uint16_t>(mi)), machine(p.Machines[static_cast<size_t>(mi)].get())
{
    units.resize(machine->Units.size());
}

void RForwardPlanTable::clear()
{
    for (auto& u : units) {
        u.line.clear();
        u.load = 0;
    }
}

uint16_t RForwardPlanTable::entry_duration(const RJob* previous, const Waiting_WO_Data& e) const
{
    const uint16_t process = process_minutes(static_cast<float>(e.request->quantity), e.job->minutes_per_part);
    if (process == CANNOT_PLAN)
        return CANNOT_PLAN;
    if (!previous || previous->job_number != e.job->job_number)
        return plus_setup(process, machine->setup_time);
    return process;
}

const RJob* RForwardPlanTable::previous_job(int unit) const
{
    const Unit& u = units[static_cast<size_t>(unit)];
    if (!u.line.empty())
        return u.line.back().entry->job;
    return plant->job(machine->Units[static_cast<size_t>(unit)]->last_job);
}

int16_t RForwardPlanTable::best_unit(const Waiting_WO_Data& e, uint16_t& duration) const
{
    int16_t best = -1;
    int64_t best_end = 2147483647;
    for (size_t i = 0; i < units.size(); ++i) {
        const uint16_t d = entry_duration(previous_job(static_cast<int>(i)), e);
        if (d == CANNOT_PLAN)
            return -1;
        const int64_t end = static_cast<int64_t>(units[i].load) + d;
        if (end < best_end) {
            best_end = end;
            best = static_cast<int16_t>(i);
            duration = d;
        }
    }
    return best;
}

int16_t RForwardPlanTable::AddIntoTable(Waiting_WO_Data* e, uint16_t& duration)
{
    const int16_t u = best_unit(*e, duration);
    if (u < 0)
        return -1;
    Unit& unit = units[static_cast<size_t>(u)];
    unit.line.push_back({e, duration, static_cast<int32_t>(unit.load), static_cast<int32_t>(unit.load + duration), 0});
    unit.load += duration;
    return u;
}

void RForwardPlanTable::AddIntoTableOnUnit(Waiting_WO_Data* e, int u, uint16_t& duration)
{
    Unit& unit = units[static_cast<size_t>(u)];
    const RJob* prev = unit.line.empty() ? machine->Units[static_cast<size_t>(u)]->current_job : unit.line.back().entry->job;
    duration = entry_duration(prev, *e);
    unit.line.push_back({e, duration, static_cast<int32_t>(unit.load), static_cast<int32_t>(unit.load + duration), 0});
    unit.load += duration;
}

int32_t RForwardPlanTable::planned_start(const void* wo, int job_number) const
{
    for (const Unit& u : units) {
        int32_t sum = 0;
        for (const PlanSlot& s : u.line) {
            if (s.entry->request->wo == wo && s.entry->job->job_number == job_number)
                return sum;
            sum += s.duration;
        }
    }
    return -1;
}

int32_t RForwardPlanTable::unit_end(int unit) const
{
    int32_t end = 0;
    for (const PlanSlot& s : units[static_cast<size_t>(unit)].line)
        end = std::max(end, s.start + s.duration);
    return end;
}

uint16_t RAvailableWorkPlanTable::entry_duration(const RJob* previous, const Waiting_WO_Data& e) const
{
    const Waiting_WO& r = *e.request;
    int parts = r.quantity;
    if (!e.job->inputs.empty())
        parts = r.started + std::min<int>(r.remaining(), e.job->parts_from_inputs(r.wo, r.x, r.y));
    if (parts <= 0)
        return CANNOT_PLAN;
    const uint16_t process = process_minutes(static_cast<float>(parts), e.job->minutes_per_part);
    if (process == CANNOT_PLAN)
        return CANNOT_PLAN;
    if (!previous || previous->job_number != e.job->job_number)
        return plus_setup(process, machine->setup_time);
    return process;
}

RDBRPlanTable::RDBRPlanTable(Plant& p, int mi, uint32_t buf)
    : plant(&p), machine_index(static_cast<uint16_t>(mi)), buffer(buf), machine(p.Machines[static_cast<size_t>(mi)].get())
{
    units.resize(machine->Units.size());
}

void RDBRPlanTable::clear()
{
    for (auto& u : units) {
        u.line.clear();
        u.time = 0;
    }
}

uint16_t RDBRPlanTable::entry_duration(const RJob* previous, const Waiting_WO_Data& e, uint16_t& changeover) const
{
    changeover = 0;
    const uint16_t process = process_minutes(static_cast<float>(e.request->quantity), e.job->minutes_per_part);
    if (process == CANNOT_PLAN)
        return CANNOT_PLAN;
    if (previous && previous->job_number != e.job->job_number) {
        const uint16_t d = plus_setup(process, machine->setup_time);
        changeover = static_cast<uint16_t>(d - process);
        return d;
    }
    return process;
}

const RJob* RDBRPlanTable::last_run_job(int unit) const
{
    return plant->job(machine->Units[static_cast<size_t>(unit)]->last_job);
}

int16_t RDBRPlanTable::AddIntoTable(Waiting_WO_Data* e, int32_t latest_end)
{
    int16_t best = -1;
    int64_t best_cand = -1;
    uint16_t best_d = 0, best_c = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        uint16_t c = 0, d;
        int64_t cand;
        if (units[i].line.empty()) {
            d = entry_duration(nullptr, *e, c);
            cand = latest_end;
        } else {
            d = entry_duration(units[i].line.front().entry->job, *e, c);
            cand = units[i].line.front().start;
        }
        if (d == CANNOT_PLAN)
            return -1;
        if (cand > best_cand) {
            best_cand = cand;
            best = static_cast<int16_t>(i);
            best_d = d;
            best_c = c;
        }
    }
    if (best < 0)
        return -1;
    Unit& u = units[static_cast<size_t>(best)];
    const int32_t end = static_cast<int32_t>(std::min<int64_t>(best_cand, latest_end));
    const int32_t start = end - best_d;
    const uint16_t dur = static_cast<uint16_t>(best_d - best_c);
    u.time += static_cast<uint32_t>(dur + best_c);
    if (!u.line.empty() && best_c != 0) {
        PlanSlot& next = u.line.front();
        next.duration = static_cast<uint16_t>(next.duration + best_c);
        next.start -= best_c;
        next.changeover = static_cast<uint16_t>(next.changeover + best_c);
    }
    u.line.insert(u.line.begin(), PlanSlot{e, dur, start, start + dur, 0});
    return best;
}

int16_t RDBRPlanTable::find_entry(const Waiting_WO_Data* e, int32_t& start) const
{
    for (size_t i = 0; i < units.size(); ++i)
        for (const PlanSlot& s : units[i].line)
            if (s.entry == e) {
                start = s.start;
                return static_cast<int16_t>(i);
            }
    return -1;
}

bool RDBRPlanTable::in_buffer() const
{
    for (const Unit& u : units)
        for (const PlanSlot& s : u.line)
            if (static_cast<int64_t>(due_of(s)) - s.end < static_cast<int64_t>(buffer))
                return false;
    return true;
}

void RDBRPlanTable::push_forward(int32_t minute)
{
    for (size_t i = 0; i < units.size(); ++i) {
        auto& line = units[i].line;
        if (line.empty())
            continue;
        uint16_t c = 0;
        entry_duration(last_run_job(static_cast<int>(i)), *line.front().entry, c);
        if (c != 0) {
            line.front().duration = static_cast<uint16_t>(line.front().duration + c);
            line.front().start -= c;
            line.front().changeover = static_cast<uint16_t>(line.front().changeover + c);
        }
        int32_t run = minute;
        for (PlanSlot& s : line) {
            if (s.start >= run)
                break;
            s.start = run;
            s.end = run + s.duration;
            run = s.end;
        }
    }
    if (in_buffer())
        return;
    merge();
}

void RDBRPlanTable::merge()
{
    const size_t n = units.size();
    std::vector<int> pos(n, 0);
    auto valid = [&](const std::vector<int>& p, size_t u) { return static_cast<size_t>(p[u]) < units[u].line.size(); };
    auto earliest_end = [&](const std::vector<int>& p) {
        int best = -1;
        for (size_t u = 0; u < n; ++u)
            if (valid(p, u) && (best < 0 || units[u].line[static_cast<size_t>(p[u])].end <
                                                units[static_cast<size_t>(best)].line[static_cast<size_t>(p[static_cast<size_t>(best)])].end))
                best = static_cast<int>(u);
        return best;
    };
    for (;;) {
        const int su = earliest_end(pos);
        if (su < 0)
            return;
        auto& sline = units[static_cast<size_t>(su)].line;
        const size_t si = static_cast<size_t>(pos[static_cast<size_t>(su)]);
        const PlanSlot S = sline[si];
        ++pos[static_cast<size_t>(su)];
        if (si + 1 == sline.size() || sline[si + 1].entry->job == S.entry->job)
            continue;
        std::vector<int> cp = pos;
        int tu = -1;
        for (;;) {
            const int v = earliest_end(cp);
            if (v < 0)
                break;
            const PlanSlot& X = units[static_cast<size_t>(v)].line[static_cast<size_t>(cp[static_cast<size_t>(v)])];
            if (static_cast<int64_t>(X.end) > static_cast<int64_t>(S.end) + buffer)
                break;
            if (X.entry->job == S.entry->job) {
                tu = v;
                break;
            }
            ++cp[static_cast<size_t>(v)];
        }
        if (tu < 0)
            continue;
        const size_t ti = static_cast<size_t>(cp[static_cast<size_t>(tu)]);
        PlanSlot T = units[static_cast<size_t>(tu)].line[ti];
        T.start = S.end;
        // It now follows the same job: only the changeover it carried goes.
        T.duration = static_cast<uint16_t>(T.duration - T.changeover);
        T.changeover = 0;
        T.end = T.start + T.duration;
        units[static_cast<size_t>(tu)].line.erase(units[static_cast<size_t>(tu)].line.begin() + static_cast<std::ptrdiff_t>(ti));
        if (static_cast<int>(ti) < pos[static_cast<size_t>(tu)])
            --pos[static_cast<size_t>(tu)];
        auto& line = units[static_cast<size_t>(su)].line;
        line.insert(line.begin() + pos[static_cast<size_t>(su)], T);
        ++pos[static_cast<size_t>(su)];
        retime(pos);
    }
}

void RDBRPlanTable::retime(std::vector<int>& pos)
{
    const size_t n = units.size();
    std::vector<int64_t> time(n, 0);
    for (size_t u = 0; u < n; ++u)
        time[u] = pos[u] > 0 ? units[u].line[static_cast<size_t>(pos[u] - 1)].end : 0;
    for (;;) {
        int pick = -1;
        for (size_t u = 0; u < n; ++u) {
            if (static_cast<size_t>(pos[u]) >= units[u].line.size())
                continue;
            if (pick < 0 || due_of(units[u].line[static_cast<size_t>(pos[u])]) <
                                due_of(units[static_cast<size_t>(pick)].line[static_cast<size_t>(pos[static_cast<size_t>(pick)])]))
                pick = static_cast<int>(u);
        }
        if (pick < 0)
            return;
        auto& from = units[static_cast<size_t>(pick)].line;
        PlanSlot s = from[static_cast<size_t>(pos[static_cast<size_t>(pick)])];
        from.erase(from.begin() + pos[static_cast<size_t>(pick)]);
        int best = -1;
        int64_t best_end = 0;
        uint16_t best_d = 0, best_c = 0;
        for (size_t u = 0; u < n; ++u) {
            const RJob* prev = pos[u] > 0 ? units[u].line[static_cast<size_t>(pos[u] - 1)].entry->job
                                          : last_run_job(static_cast<int>(u));
            uint16_t c = 0;
            uint16_t d = entry_duration(prev, *s.entry, c);
            if (d == CANNOT_PLAN)
                d = s.duration;
            const int64_t end = time[u] + d;
            if (best < 0 || end < best_end) {
                best = static_cast<int>(u);
                best_end = end;
                best_d = d;
                best_c = c;
            }
        }
        s.start = static_cast<int32_t>(time[static_cast<size_t>(best)]);
        s.duration = best_d;
        s.changeover = best_c;
        s.end = s.start + s.duration;
        auto& to = units[static_cast<size_t>(best)].line;
        to.insert(to.begin() + pos[static_cast<size_t>(best)], s);
        ++pos[static_cast<size_t>(best)];
        time[static_cast<size_t>(best)] = s.end;
    }
}

RParallelFPT::RParallelFPT(Plant& p, int mi)
    : plant(&p), machine_index(static_cast<uint16_t>(mi)), machine(p.Machines[static_cast<size_t>(mi)].get())
{
}

void RParallelFPT::add_waiting_data(Waiting_WO_Data* e)
{
    PlanSlot s{e, e->planned_duration, e->planned_start, e->planned_start + e->planned_duration, 0};
    auto at = std::find_if(time_table.begin(), time_table.end(), [&](const PlanSlot& x) { return x.start > s.start; });
    time_table.insert(at, s);
}

float RParallelFPT::load_percent(int32_t start, uint16_t length) const
{
    if (length == 0 || machine->Units.empty())
        return 0.0f;
    const int64_t wend = static_cast<int64_t>(start) + length;
    int32_t total = 0;
    for (const PlanSlot& s : time_table) {
        if (s.duration == 0)
            continue;
        const int64_t a = std::max<int64_t>(s.start, start);
        const int64_t b = std::min<int64_t>(static_cast<int64_t>(s.start) + s.duration, wend);
        if (b <= a)
            continue;
        const int64_t work = static_cast<int64_t>(static_cast<int32_t>(s.entry->job->minutes_per_part)) *
                                 s.entry->request->quantity + machine->setup_time;
        total += static_cast<int32_t>((b - a) * work / s.duration);
    }
    return static_cast<float>(total) / static_cast<float>(static_cast<int32_t>(length) * static_cast<int32_t>(machine->Units.size())) * 100.0f;
}

int32_t RParallelFPT::plan_end() const
{
    int32_t end = 0;
    for (const PlanSlot& s : time_table)
        end = std::max(end, s.start + s.duration);
    return end;
}
