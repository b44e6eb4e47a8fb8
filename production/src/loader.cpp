// The plant loader: machines, jobs, products and the PRODUCTION settings, every count and index bounded.
#include "production/production_wnd.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// Items past the checks below are trusted by the engine: every bound is tested as it is read.
struct Reader {
    PlantDataSource& d;
    int32_t get(int16_t n, int32_t lo, int32_t hi)
    {
        const int32_t v = d.item_int(n);
        if (v < lo || v > hi)
            d.load_error(2);
        return v;
    }
    void require(bool ok)
    {
        if (!ok)
            d.load_error(2);
    }
};

rrandom read_table(Reader& in, int16_t topic, int16_t record)
{
    const int16_t c = in.d.get_record(topic, record);
    const int32_t n = in.get(1, 1, 255);
    in.require(c >= 2 * n);
    std::vector<uint16_t> thresholds, values;
    int32_t prev = -1;
    for (int16_t i = 2; i <= n; ++i) {
        const int32_t t = in.get(i, 0, 32767);
        in.require(t > prev);
        prev = t;
        thresholds.push_back(static_cast<uint16_t>(t));
    }
    for (int16_t i = static_cast<int16_t>(n + 1); i <= 2 * n; ++i)
        values.push_back(static_cast<uint16_t>(in.get(i, 0, 65535)));
    return rrandom(thresholds, values);
}

} // namespace

void CProductionWnd::check_bounds(bool ok, PlantDataSource& data, int level)
{
    if (!ok)
        data.load_error(level);
}

void CProductionWnd::load_production_data(PlantDataSource& data)
{
    Reader in{data};
    // Materials first: job inputs name them by position.
    Raw_Ms.clear();
    load_rm_data_from_purch();
    const bool raw_ok = Raw_Ms.size() <= MAX_RAW_MS;

    data.find_section("RMachines");
    data.get_record(1, 1);
    const int M = in.get(1, 0, MAX_MACHINES);
    for (int i = 0; i < M; ++i) {
        const auto topic = static_cast<int16_t>(i + 2);
        auto m = std::make_unique<RMachine>(*this);
        RMachine& mc = *m;
        mc.number = static_cast<uint8_t>(i);
        const int16_t c = data.get_record(topic, 1);
        mc.panel_x = static_cast<uint16_t>(static_cast<float>(in.get(1, 0, 640)) * ui->scale_x());
        mc.panel_y = static_cast<uint16_t>(static_cast<float>(in.get(2, 0, 480)) * ui->scale_y());
        mc.panel_colour = static_cast<uint8_t>(in.get(3, 0, 15));
        mc.title_colour = static_cast<uint8_t>(in.get(4, 0, 15));
        mc.row_colour = static_cast<uint8_t>(in.get(5, 0, 15));
        mc.item6 = static_cast<uint16_t>(in.get(6, 0, 65535));
        mc.batch_size = static_cast<uint16_t>(in.get(7, 1, 65535));
        mc.breakdowns_per_week = static_cast<int16_t>(in.get(8, 0, 2520));
        mc.break_scale = static_cast<uint16_t>(in.get(9, 0, 65535));
        const int n = in.get(10, 1, MAX_UNITS);
        const std::string name = data.item_text(11);
        in.require(!name.empty() && name.size() <= 2);
        std::copy(name.begin(), name.end(), mc.name);
        mc.setup_time = static_cast<uint16_t>(in.get(12, 0, 65535));
        mc.rule = static_cast<int16_t>(in.get(13, 1, 5) - 1);
        mc.initial_rule = mc.rule;
        mc.acceptance = static_cast<int16_t>(in.get(14, 1, 2) - 1);
        mc.schedule_option = static_cast<int16_t>(in.get(15, 1, 2) - 1);
        mc.unit_price = in.get(16, 0, 0x7FFFFFFF);
        mc.delivery_months = static_cast<uint16_t>(in.get(17, 1, 65535));
        mc.max_units = static_cast<uint8_t>(in.get(18, n, MAX_UNITS));
        mc.planning_batch = c >= 19 ? static_cast<uint16_t>(in.get(19, 1, 65535)) : mc.batch_size;
        if (c >= 20) {
            const int32_t cap = data.item_int(20);
            mc.buffer_capacity = cap < 0 ? NO_LIMIT : cap;
        }
        mc.active_units = static_cast<uint8_t>(n);
        for (int u = 0; u < n; ++u) {
            data.get_record(topic, static_cast<int16_t>(2 + u));
            auto unit = std::make_unique<RMachineUnit>(&mc);
            unit->number = static_cast<uint8_t>(u);
            unit->last_job = static_cast<uint8_t>(in.get(1, 0, MAX_JOBS - 1));
            mc.Units.push_back(std::move(unit));
        }
        mc.Break_Table = read_table(in, topic, static_cast<int16_t>(2 + n));
        mc.Times_Table = read_table(in, topic, static_cast<int16_t>(3 + n));
        float* series[3] = {mc.setup_pct, mc.break_pct, mc.idle_pct};
        for (int s = 0; s < 3; ++s) {
            data.get_record(topic, static_cast<int16_t>(4 + n + s));
            for (int16_t k = 1; k <= 12; ++k)
                series[s][k - 1] = static_cast<float>(data.item_float(k));
        }
        for (int k = 0; k < 12; ++k)
            mc.production_pct[k] = 100.0f - mc.setup_pct[k] - mc.break_pct[k] - mc.idle_pct[k];
        mc.production_pct_last = std::ceil(mc.production_pct[11] * 10.0f) / 10.0f;
        mc.setup_pct_last = std::ceil(mc.setup_pct[11] * 10.0f) / 10.0f;
        mc.break_pct_last = std::ceil(mc.break_pct[11] * 10.0f) / 10.0f;
        Machines.push_back(std::move(m));
    }

    data.find_section("RJobs");
    data.get_record(1, 1);
    const int J = in.get(1, 0, MAX_JOBS);
    for (int i = 0; i < J; ++i) {
        const auto topic = static_cast<int16_t>(i + 2);
        auto j = std::make_unique<RJob>(*this);
        j->job_number = static_cast<uint8_t>(i);
        std::snprintf(j->name, sizeof j->name, "J%d", (i + 1) % 1000);
        data.get_record(topic, 1);
        j->time_kind = static_cast<int16_t>(in.get(1, 0, 1));
        const char letter = data.item_char(2);
        in.require(letter >= 'a' && letter <= 'z');
        j->letter = letter;
        j->level = static_cast<uint8_t>(in.get(3, 0, 7));
        j->time = static_cast<uint16_t>(in.get(4, 0, 65535));
        j->machine_number = static_cast<uint16_t>(in.get(5, 0, M - 1));
        j->product_position = static_cast<uint16_t>(in.get(6, 0, MAX_PRODUCTS_PLANT - 1));
        data.get_record(topic, 2);
        const int c = in.get(1, 0, 255);
        for (int k = 0; k < c; ++k) {
            data.get_record(topic, static_cast<int16_t>(3 + k));
            RInp inp;
            inp.kind = static_cast<int16_t>(in.get(1, 0, 2));
            const int limit = inp.kind == KIND_RAW ? static_cast<int>(Raw_Ms.size()) : inp.kind == KIND_JOB ? J : 255;
            inp.index = static_cast<uint8_t>(in.get(2, 0, limit - 1));
            in.require(raw_ok);
            inp.quantity = static_cast<uint16_t>(in.get(3, 1, 65535));
            const char pl = data.item_char(4);
            in.require(pl >= 'a' && pl <= 'z');
            const auto lv = static_cast<uint8_t>(in.get(5, 0, 7));
            inp.lead = static_cast<uint16_t>(in.get(6, 0, 65535));
            j->inputs.push_back(inp);
            j->input_positions.push_back({static_cast<uint8_t>(k), pl, lv});
        }
        data.get_record(topic, static_cast<int16_t>(3 + c));
        j->closing1 = static_cast<uint16_t>(in.get(1, 0, 65535));
        j->closing2 = static_cast<uint8_t>(in.get(2, 0, 255));
        j->set_machine(Machines[j->machine_number].get());
        Jobs.push_back(std::move(j));
    }
    // Units name their last job by number.
    for (size_t m = 0; m < Machines.size(); ++m)
        for (size_t u = 0; u < Machines[m]->Units.size(); ++u)
            if (Machines[m]->Units[u]->last_job >= J) {
                data.find_section("RMachines");
                data.get_record(static_cast<int16_t>(m + 2), static_cast<int16_t>(2 + u));
                data.item_int(1);
                data.load_error(2);
            }

    data.find_section("RProducts");
    data.get_record(1, 1);
    const int P = in.get(1, 0, MAX_PRODUCTS_PLANT);
    bool introduced_seen = false;
    for (int i = 0; i < P; ++i) {
        const int16_t c = data.get_record(1, static_cast<int16_t>(i + 2));
        auto p = std::make_unique<RProduct>();
        const std::string code = data.item_text(1);
        in.require(!code.empty() && code.size() <= 2);
        std::copy(code.begin(), code.end(), p->code);
        p->final_job = static_cast<uint16_t>(in.get(2, 0, J - 1));
        p->order_up_to = static_cast<uint16_t>(in.get(3, 0, 65535));
        p->reorder_point = static_cast<uint16_t>(in.get(4, 0, 65535));
        p->red_line_level = static_cast<uint16_t>(in.get(5, 0, 65535));
        p->stock_policy = static_cast<int16_t>(in.get(6, 1, 2) - 1);
        p->mrp_lead_time = static_cast<uint16_t>(in.get(7, 0, 65535));
        p->on_stock = static_cast<uint16_t>(in.get(8, 0, 65535));
        p->lead_days = static_cast<uint16_t>(in.get(9, 0, 65535));
        p->extra_item = c >= 10 ? static_cast<uint16_t>(in.get(10, 0, 65535)) : 0;
        // Introduced products must come last, or the positions of the others would shift.
        in.require(!(introduced_seen && p->extra_item == 0));
        introduced_seen = introduced_seen || p->extra_item != 0;
        if (p->extra_item == 0) {
            p->position = static_cast<uint16_t>(Products.size());
            Products.push_back(std::move(p));
            continue;
        }
        p->position = static_cast<uint16_t>(New_Products.size());
        for (auto& slot : Jobs)
            if (slot && slot->product_position == i) {
                slot->product_position = p->position;
                New_Jobs.push_back(std::move(slot));
            }
        New_Products.push_back(std::move(p));
    }
    // Job, product and input indices that only now can be checked.
    for (int i = 0; i < J; ++i) {
        const RJob* j = job(i);
        if (!j)
            continue;
        if (j->product_position >= Products.size()) {
            data.find_section("RJobs");
            data.get_record(static_cast<int16_t>(i + 2), 1);
            data.item_int(6);
            data.load_error(2);
        }
        for (size_t k = 0; k < j->inputs.size(); ++k)
            if (j->inputs[k].kind == KIND_PRODUCT && j->inputs[k].index >= Products.size()) {
                data.find_section("RJobs");
                data.get_record(static_cast<int16_t>(i + 2), static_cast<int16_t>(3 + k));
                data.item_int(2);
                data.load_error(2);
            }
    }
    for (size_t p = 0; p < Products.size(); ++p)
        if (!job(Products[p]->final_job)) {
            data.find_section("RProducts");
            data.get_record(1, static_cast<int16_t>(p + 2));
            data.item_int(2);
            data.load_error(2);
        }
    // The route graph must not loop: release walks it recursively.
    {
        int bad_job = -1;
        size_t bad_input = 0;
        if (find_route_loop(bad_job, bad_input)) {
            data.find_section("RJobs");
            data.get_record(static_cast<int16_t>(bad_job + 2), static_cast<int16_t>(3 + bad_input));
            data.item_int(2);
            data.load_error(2);
        }
    }

    data.find_section("PRODUCTION");
    data.get_record(1, 1);
    const int units = in.get(1, 1, 255);
    transport = std::make_unique<RTransport_Manager>(*this, units);
    data.get_record(1, 2);
    wo_planning_mode = static_cast<int16_t>(in.get(1, 1, 3) - 1);
    wo_planning_parameter = static_cast<int16_t>(in.get(2, 0, 32767));
    wo_planning_countdown = wo_planning_mode == 0 ? 0 : wo_planning_parameter;
    data.get_record(1, 3);
    release_policy = static_cast<int16_t>(in.get(1, 1, 6) - 1);
    constraint_machine = static_cast<int16_t>(in.get(2, 0, M - 1));
    shipping_buffer_hours = static_cast<int16_t>(in.get(3, 0, 32767));
    constraint_buffer_hours = static_cast<int16_t>(in.get(4, 0, 32767));
    assembly_buffer_hours = static_cast<int16_t>(in.get(5, 0, 32767));
    contract_factor = 1.0f;
    data.get_record(1, 4);
    mrp_setting = static_cast<int16_t>(in.get(1, -32768, 32767));
    display_frequency = static_cast<int16_t>(in.get(2, 1, 3) - 1);
    routing_option = static_cast<int16_t>(in.get(3, -32768, 32767));
    min_wo_demand = static_cast<int16_t>(in.get(4, 0, 32767));
    min_wo_quantity = static_cast<int16_t>(in.get(5, 0, 32767));
    red_level_policy = static_cast<int16_t>(in.get(6, -32768, 32767));
    spare_setting = static_cast<int16_t>(in.get(7, -32767, 32767) - 1);
    forecast_horizon_days = static_cast<int16_t>(in.get(8, 7, 30));
    in.require(forecast_horizon_days == 7 || forecast_horizon_days == 14 || forecast_horizon_days == 30);
    forecast_range_months = static_cast<int16_t>(in.get(9, 0, 32767));
    mrp_lead_time_minutes = static_cast<int16_t>(in.get(10, 0, 32767));
    product_priority_on = 0;

    Raw_Ms.clear();
    load_rm_data_from_purch();
    link_production_data();
    for (auto* list : {&Jobs, &New_Jobs})
        for (auto& j : *list)
            if (j)
                j->minutes_per_part = j->time_kind == 0 ? static_cast<float>(j->time)
                                                        : static_cast<float>(j->time) / j->machine->planning_batch;
    batch_size = 0;
    for (size_t p = 0; p < Products.size(); ++p)
        work_content({KIND_PRODUCT, static_cast<uint8_t>(p), 1});
    if (forecast_range_months > 3)
        forecast_range_months = static_cast<int16_t>(forecast_range_months / 30);
    week_of_month = static_cast<int16_t>(host->now().day / 7 + 1);
    extra_shift_start = SimStamp{};
    extra_shift_end = SimStamp{};
    extra_shift_days = 0;
}
