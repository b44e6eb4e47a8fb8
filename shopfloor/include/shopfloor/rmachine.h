// One work centre: its units, its queue and schedule, its dispatch rule and monthly figures.
#pragma once
#include "shopfloor/byte_stream.h"
#include "shopfloor/rrandom.h"
#include "shopfloor/shopfloor_types.h"
#include <cstdint>
#include <memory>
#include <vector>

class Plant;
class RJob;
class RMachine;
struct Waiting_WO;

struct Waiting_WO_Data {
    Waiting_WO* request = nullptr;
    RJob* job = nullptr;
    int32_t planned_start = -1;
    uint16_t planned_duration = 0;
    int32_t drum_start = -1;   // refilled by the daily drum run, not saved
};

class RMachineUnit {
public:
    explicit RMachineUnit(RMachine* m) : machine(m) {}
    void set_state(int16_t s);
    void start(const Waiting_WO_Data& entry);
    void tick();
    void return_inputs();
    void cancel_batch();
    void on_new_day();
    void on_new_month();
    void go_idle() { set_state(UNIT_IDLE); minutes_left = 0; }
    void save_state(ByteWriter& w) const;
    bool load_state(ByteReader& r);
    void draw(int x, int y, bool full);

    int16_t state = UNIT_IDLE;
    int16_t saved_state = UNIT_IDLE;
    uint8_t number = 0;
    RJob* current_job = nullptr;
    uint8_t last_job = 0;
    uint16_t batch = 0;
    uint16_t minutes_left = 0;
    uint16_t break_left = 0;
    uint16_t hidden = 1;
    uint16_t became_available = 0;
    int16_t drawn[5] = {-1, -1, -1, -1, -1};
    RMachine* machine;
};

enum MinuteCounter { MIN_PRODUCTION = 0, MIN_SETUP = 1, MIN_BREAK = 2, MIN_IDLE = 3 };

class RMachine {
public:
    explicit RMachine(Plant& plant) : plant(&plant) {}

    void Add_Waiting_WO_Data(Waiting_WO* request, RJob* job);
    void remove_waiting_data(const RJob* job, const Waiting_WO* request);
    Waiting_WO_Data* find_waiting_data(const RJob* job, const Waiting_WO* request) const;
    Waiting_WO_Data* waiting_data_of_unit(int unit) const;
    int start_on_unit(int unit, Waiting_WO_Data* entry);
    int pick_idle_unit(const RJob* job) const;
    int count_idle_units() const;
    void activate_next_unit();
    int32_t batch_in_progress() const;
    int32_t get_buffer_count() const { return buffer_count; }

    void on_minute();
    void on_hour();
    void on_new_day();
    void on_new_month();
    void on_new_year();
    void dispatch();

    void save_state(ByteWriter& w) const;
    bool load_state(ByteReader& r);
    void draw();
    void draw_units(bool full);

    Plant* plant;
    char name[3] = {0, 0, 0};
    int16_t rule = RULE_FIFO;
    int16_t initial_rule = RULE_FIFO;
    int16_t acceptance = 1;        // 0 Complete WO, 1 Partial WO
    int16_t schedule_option = 0;   // 0 first entry only, 1 any
    uint8_t number = 0;
    float setup_pct_last = 0, break_pct_last = 0, production_pct_last = 0;
    uint16_t setup_time = 0;
    uint16_t panel_x = 0, panel_y = 0;
    uint8_t panel_colour = 0, title_colour = 0, row_colour = 0;
    uint8_t active_units = 0;
    uint16_t item6 = 0;
    uint16_t batch_size = 1;
    uint16_t planning_batch = 1;
    int16_t breakdowns_per_week = 0;
    uint16_t break_scale = 100;
    uint16_t spare = 0;
    float production_pct[12] = {}, setup_pct[12] = {}, break_pct[12] = {}, idle_pct[12] = {};
    uint32_t minutes[4] = {0, 0, 0, 0};
    int32_t unit_price = 0;
    uint16_t delivery_months = 0;
    uint8_t max_units = 0;
    rrandom Break_Table;
    rrandom Times_Table;
    std::vector<std::unique_ptr<RMachineUnit>> Units;
    std::vector<std::unique_ptr<Waiting_WO_Data>> Waiting_WOs_Data;
    std::vector<Waiting_WO_Data*> Schedules;
    int32_t request_size_sum = 0;
    uint16_t request_size_count = 0;
    int32_t buffer_capacity = NO_LIMIT;
    int32_t buffer_count = 0;
    int32_t finished_material = 0;
    int32_t load_minutes_1 = 0;   // time to finish available work
    int32_t load_minutes_2 = 0;   // time to finish existing work
    int32_t load_scale = 9000;

private:
    bool has_inputs(const Waiting_WO_Data& e, int q) const;
    int working(const Waiting_WO_Data& e) const;
    int setup_for(int unit, const RJob* job) const;
    int32_t work_per_unit(const Waiting_WO_Data& e, int w) const;
    void best_first_pass(int kind);
    void fifo_rule();
    void current_job_rule();
    void schedule_rule();
};
