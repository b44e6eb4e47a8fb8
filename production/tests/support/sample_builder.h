// The sample plant built in code, field by field, as its scenario sections describe it.
#pragma once
#include "production/production_wnd.h"
#include <cstring>

namespace sample {

struct MachineRow {
    const char* name;
    uint16_t x, batch, setup, planning;
    int16_t breakdowns;
    int units;
    uint8_t last_job, max_units;
    int32_t price, buffer;
    uint16_t months;
    std::vector<uint16_t> break_t, break_v, times_t, times_v;
    float setup_pct, break_pct, idle_pct;
};

inline void build(CProductionWnd& p)
{
    // The PRODUCTION settings that planning reads, as the sample gives them.
    p.wo_planning_mode = 0;
    p.wo_planning_parameter = 1;
    p.wo_planning_countdown = 0;
    p.min_wo_demand = 1;
    p.min_wo_quantity = 10;
    p.mrp_lead_time_minutes = 480;
    const MachineRow rows[] = {
        {"M1", 20, 10, 30, 10, 2, 1, 0, 2, 50000, NO_LIMIT, 3, {20000, 30000}, {30, 60, 120}, {8000, 24000}, {90, 100, 115}, 5, 3, 20},
        {"M2", 260, 5, 45, 5, 1, 2, 1, 3, 80000, NO_LIMIT, 4, {16000}, {30, 90}, {}, {100}, 4, 2, 25},
    };
    for (const MachineRow& r : rows) {
        auto m = std::make_unique<RMachine>(p);
        std::memcpy(m->name, r.name, 2);
        m->number = static_cast<uint8_t>(p.Machines.size());
        m->panel_x = r.x;
        m->panel_y = 40;
        m->panel_colour = 7;
        m->title_colour = 15;
        m->row_colour = 14;
        m->batch_size = r.batch;
        m->planning_batch = r.planning;
        m->breakdowns_per_week = r.breakdowns;
        m->break_scale = 100;
        m->setup_time = r.setup;
        m->rule = m->initial_rule = RULE_FIFO;
        m->acceptance = 1;
        m->schedule_option = 1;
        m->unit_price = r.price;
        m->delivery_months = r.months;
        m->max_units = r.max_units;
        m->buffer_capacity = r.buffer;
        m->active_units = static_cast<uint8_t>(r.units);
        for (int u = 0; u < r.units; ++u) {
            auto unit = std::make_unique<RMachineUnit>(m.get());
            unit->number = static_cast<uint8_t>(u);
            unit->last_job = r.last_job;
            m->Units.push_back(std::move(unit));
        }
        m->Break_Table = rrandom(r.break_t, r.break_v);
        m->Times_Table = rrandom(r.times_t, r.times_v);
        for (int k = 0; k < 12; ++k) {
            m->setup_pct[k] = r.setup_pct;
            m->break_pct[k] = r.break_pct;
            m->idle_pct[k] = r.idle_pct;
            m->production_pct[k] = 100.0f - r.setup_pct - r.break_pct - r.idle_pct;
        }
        m->production_pct_last = m->production_pct[11];
        m->setup_pct_last = r.setup_pct;
        m->break_pct_last = r.break_pct;
        p.Machines.push_back(std::move(m));
    }
    struct JobRow {
        int16_t time_kind;
        char letter;
        uint8_t level;
        uint16_t time, machine, product;
        std::vector<std::tuple<int16_t, uint8_t, uint16_t, char, uint8_t>> inputs;
    };
    const JobRow jobs[] = {
        {0, 'g', 2, 5, 0, 0, {{KIND_RAW, 0, 1, 'f', 2}}},
        {1, 'h', 1, 40, 1, 0, {{KIND_JOB, 0, 1, 'g', 2}, {KIND_RAW, 1, 2, 'g', 1}, {KIND_PRODUCT, 1, 1, 'f', 1}}},
        {0, 'e', 3, 3, 0, 1, {{KIND_RAW, 0, 1, 'd', 3}}},
    };
    for (const JobRow& r : jobs) {
        auto j = std::make_unique<RJob>(p);
        j->job_number = static_cast<uint8_t>(p.Jobs.size());
        j->name[0] = 'J';
        j->name[1] = static_cast<char>('1' + j->job_number);
        j->time_kind = r.time_kind;
        j->letter = r.letter;
        j->level = r.level;
        j->time = r.time;
        j->machine_number = r.machine;
        j->product_position = r.product;
        for (const auto& [kind, index, qty, letter, level] : r.inputs) {
            j->inputs.push_back({kind, index, qty, 0, 0});
            j->input_positions.push_back({static_cast<uint8_t>(j->input_positions.size()), letter, level});
        }
        p.Jobs.push_back(std::move(j));
    }
    struct ProductRow {
        const char* code;
        uint16_t final_job, up_to, reorder, red;
        int16_t policy;
        uint16_t on_stock;
    };
    const ProductRow products[] = {{"A1", 1, 0, 0, 0, 0, 0}, {"U1", 2, 40, 15, 10, 1, 1}};
    for (const ProductRow& r : products) {
        auto pr = std::make_unique<RProduct>();
        std::memcpy(pr->code, r.code, 2);
        pr->final_job = r.final_job;
        pr->order_up_to = r.up_to;
        pr->reorder_point = r.reorder;
        pr->red_line_level = r.red;
        pr->stock_policy = r.policy;
        pr->mrp_lead_time = 480;
        pr->on_stock = r.on_stock;
        pr->position = static_cast<uint16_t>(p.Products.size());
        p.Products.push_back(std::move(pr));
    }
    p.transport = std::make_unique<RTransport_Manager>(p, 2);
    p.load_rm_data_from_purch();
    p.link_production_data();
    for (auto& j : p.Jobs)
        j->minutes_per_part = j->time_kind == 0 ? j->time : static_cast<float>(j->time) / j->machine->planning_batch;
}

} // namespace sample
