// Small plants built in code: machines, jobs and products wired as the loader would wire them.
#pragma once
#include "fakes.h"
#include <cstdio>
#include <cstring>
#include <memory>

struct MachineSpec {
    int units = 1;
    uint16_t setup = 30;
    uint16_t batch = 10;
    int16_t rule = RULE_FIFO;
    int16_t acceptance = 1;
    int16_t option = 0;
    int16_t breakdowns = 0;
    int32_t buffer = NO_LIMIT;
    std::vector<uint16_t> break_thresholds{};
    std::vector<uint16_t> break_values{30};
    std::vector<uint16_t> times_thresholds{};
    std::vector<uint16_t> times_values{100};
    uint8_t max_units = 4;
};

struct TestPlant : Fakes {
    Plant plant{host, ui, marketing, purchasing, finance};

    TestPlant()
    {
        plant.transport = std::make_unique<RTransport_Manager>(plant, 2);
        plant.Raw_Ms.push_back(MaterialCode{{'X', 'A', 0}});
        plant.Raw_Ms.push_back(MaterialCode{{'X', 'B', 0}});
    }

    RMachine& machine(const MachineSpec& s = {})
    {
        auto m = std::make_unique<RMachine>(plant);
        m->number = static_cast<uint8_t>(plant.Machines.size());
        m->name[0] = 'M';
        m->name[1] = static_cast<char>('1' + m->number % 9);
        m->setup_time = s.setup;
        m->batch_size = s.batch;
        m->planning_batch = s.batch;
        m->rule = m->initial_rule = s.rule;
        m->acceptance = s.acceptance;
        m->schedule_option = s.option;
        m->breakdowns_per_week = s.breakdowns;
        m->break_scale = 100;
        m->buffer_capacity = s.buffer;
        m->max_units = s.max_units;
        m->delivery_months = 1;
        m->Break_Table = rrandom(s.break_thresholds, s.break_values);
        m->Times_Table = rrandom(s.times_thresholds, s.times_values);
        for (int i = 0; i < s.units; ++i) {
            auto u = std::make_unique<RMachineUnit>(m.get());
            u->number = static_cast<uint8_t>(i);
            u->last_job = 200;   // no job yet: the first start needs a setup
            m->Units.push_back(std::move(u));
        }
        m->active_units = static_cast<uint8_t>(s.units);
        plant.Machines.push_back(std::move(m));
        return *plant.Machines.back();
    }

    // time_kind 0: minutes per part; 1: minutes per batch.
    RJob& job(RMachine& m, uint16_t time, int16_t time_kind = 0, char letter = 'a', uint8_t level = 1)
    {
        auto j = std::make_unique<RJob>(plant);
        j->job_number = static_cast<uint8_t>(plant.Jobs.size());
        char nm[16];
        std::snprintf(nm, sizeof nm, "J%d", (j->job_number + 1) % 1000);
        std::memcpy(j->name, nm, sizeof j->name - 1);
        j->machine_number = m.number;
        j->set_machine(&m);
        j->time = time;
        j->time_kind = time_kind;
        j->letter = letter;
        j->level = level;
        j->minutes_per_part = time_kind == 0 ? time : static_cast<float>(time) / m.planning_batch;
        plant.Jobs.push_back(std::move(j));
        return *plant.Jobs.back();
    }

    void input(RJob& j, int16_t kind, uint8_t index, uint16_t qty, char letter = 'a', uint8_t level = 1)
    {
        j.inputs.push_back({kind, index, qty, 0, 0});
        j.input_positions.push_back({static_cast<uint8_t>(j.inputs.size() - 1), letter, level});
        if (kind == KIND_JOB) {
            plant.Jobs[index]->role = 1;
            plant.Jobs[index]->parent = j.job_number;
        }
    }

    RProduct& product(const char* code, RJob& final_job, int16_t stock_policy = 0, uint16_t on_stock = 0)
    {
        auto p = std::make_unique<RProduct>();
        p->code[0] = code[0];
        p->code[1] = code[1];
        p->final_job = final_job.job_number;
        p->stock_policy = stock_policy;
        p->on_stock = on_stock;
        p->position = static_cast<uint16_t>(plant.Products.size());
        final_job.role = 2;
        final_job.parent = static_cast<uint8_t>(p->position);
        plant.Products.push_back(std::move(p));
        RProduct& ref = *plant.Products.back();
        for (auto& j : plant.Jobs)
            if (j && j->product_position == ref.position)
                j->product = &ref;
        return ref;
    }

    // A bare work order with one order of `qty` for product `pos` (not released).
    RWork_Order& work_order(int pos, uint16_t qty, int16_t type = ORDER_CUSTOMER, int32_t due = 0)
    {
        auto o = std::make_unique<ProductionOrder>();
        o->family_id = -1;
        o->product_index = static_cast<int16_t>(pos);
        o->quantity = static_cast<int16_t>(qty);
        o->order_type = type;
        o->item_kind = KIND_PRODUCT;
        o->due_minute = static_cast<uint32_t>(due);
        plant.prd_orders.push_back(std::move(o));
        plant.Work_Orders.push_back(std::make_unique<RWork_Order>(plant));
        RWork_Order& wo = *plant.Work_Orders.back();
        wo.add_request(*plant.prd_orders.back());
        plant.prd_orders.back()->in_work_order = 1;
        plant.prd_orders.back()->work_order = &wo;
        return wo;
    }

    // One request of `qty` of job j for a fresh work order, queued at its machine.
    Waiting_WO_Data& request(RJob& j, uint16_t qty, int32_t due = 0, int16_t priority = -32768)
    {
        plant.Work_Orders.push_back(std::make_unique<RWork_Order>(plant));
        RWork_Order& wo = *plant.Work_Orders.back();
        wo.item_kind = KIND_JOB;
        wo.item = j.job_number;
        wo.quantity = qty;
        wo.due_minute = due;
        wo.priority = priority;
        Waiting_WO* r = j.add_request(&wo, qty, 0, 0);
        j.machine->Add_Waiting_WO_Data(r, &j);
        return *j.machine->find_waiting_data(&j, r);
    }

    void minute()
    {
        ++host.ticks;
        plant.transport->on_minute();
        plant.reap();
        for (auto& m : plant.Machines)
            m->on_minute();
        plant.reap();
    }
};
