// Machine units: the per-minute state machine of one station.
#include "shopfloor/plant.h"
#include "shopfloor/rmachine.h"
#include <cstdio>

void RMachineUnit::set_state(int16_t s)
{
    if (s == UNIT_BREAK && state == UNIT_BREAK) {
        state = saved_state;
    } else if (s == UNIT_BREAK) {
        saved_state = state;
        state = UNIT_BREAK;
    } else if (state == UNIT_BREAK) {
        saved_state = s;
    } else {
        became_available = (s == UNIT_IDLE && (state == UNIT_OUT_OF_WORK || state == UNIT_ON_DELIVERY)) ? 1 : 0;
        state = s;
    }
}

void RMachineUnit::start(const Waiting_WO_Data& entry)
{
    RJob* job = entry.job;
    const int setup = job->job_number == last_job ? 0 : machine->setup_time;
    int16_t next;
    int minutes;
    if (setup == 0) {
        next = UNIT_PROD;
        current_job = job;   // the process time is drawn on the entry's job
        minutes = job->process_minutes();
    } else {
        next = UNIT_SETUP;
        minutes = setup;
    }
    if (state == UNIT_BREAK)
        saved_state = next;
    else
        set_state(next);
    minutes_left = static_cast<uint16_t>(minutes);
    current_job = job;
    last_job = job->job_number;
}

void RMachineUnit::tick()
{
    Plant& plant = *machine->plant;
    hidden = plant.shown() ? 0 : 1;
    if (state == UNIT_SETUP || state == UNIT_PROD) {
        static constexpr int week[3] = {2400, 10080, 4800};
        const int mode = plant.host->shift_mode();
        const int w = week[(mode >= 0 && mode <= 2) ? mode : 0];
        const auto threshold = static_cast<int16_t>((-32767 / w) * machine->breakdowns_per_week + 32767);
        const uint16_t d = machine->Break_Table.draw_breakdown(*plant.host, threshold, machine->break_scale);
        if (d != 0) {
            set_state(UNIT_BREAK);
            break_left = d;
        }
    }
    switch (state) {
    case UNIT_IDLE:
        ++machine->minutes[MIN_IDLE];
        break;
    case UNIT_SETUP:
        --minutes_left;
        ++machine->minutes[MIN_SETUP];
        if (minutes_left == 0)
            current_job->end_setup(number);
        break;
    case UNIT_PROD:
        --minutes_left;
        ++machine->minutes[MIN_PRODUCTION];
        if (minutes_left == 0)
            current_job->finish_batch(number, batch);
        break;
    case UNIT_BREAK:
        --break_left;
        ++machine->minutes[MIN_BREAK];
        if (break_left == 0)
            set_state(UNIT_BREAK);
        break;
    default:
        break;
    }
}

void RMachineUnit::return_inputs()
{
    if (batch == 0 || !current_job)
        return;
    Waiting_WO* r = current_job->unit_request[number];
    if (!r)
        return;
    r->started = static_cast<uint16_t>(r->started >= batch ? r->started - batch : 0);
    for (const RInp& i : current_job->inputs)
        current_job->add_input_stock(r->wo, i.kind, i.index, i.quantity * batch, r->x, r->y);
}

void RMachineUnit::cancel_batch()
{
    return_inputs();
    batch = 0;
    if (current_job)
        current_job->clear_slot(number);
    set_state(UNIT_IDLE);
    drawn[0] = -1;
    minutes_left = 0;
}

void RMachineUnit::on_new_day()
{
    if (state != UNIT_OUT_OF_WORK)
        return;
    --minutes_left;
    ++machine->minutes[MIN_IDLE];
    if (minutes_left == 0) {
        set_state(UNIT_IDLE);
        for (auto& d : drawn)
            d = -1;
    }
}

void RMachineUnit::on_new_month()
{
    if (state != UNIT_ON_DELIVERY)
        return;
    --minutes_left;
    if (minutes_left == 0) {
        set_state(UNIT_IDLE);
        machine->activate_next_unit();
    }
}

void RMachineUnit::draw(int x, int y, bool full)
{
    Plant& plant = *machine->plant;
    Painter* p = plant.ui->painter();
    if (!p || plant.show_load)
        return;
    const int h = static_cast<int>(36 * plant.ui->scale_y());
    const int base = y + number * h + 14;
    auto sx = [&](int v) { return static_cast<int>(v * plant.ui->scale_x()); };
    Waiting_WO* r = current_job ? current_job->unit_request[number] : nullptr;
    int16_t values[5] = {state, -1, -1, -1, -1};
    if (!(state == UNIT_IDLE && became_available)) {
        values[1] = current_job ? static_cast<int16_t>(current_job->product_position) : -1;
        values[2] = current_job ? current_job->job_number : -1;
        values[3] = r && r->wo ? static_cast<int16_t>(r->wo->number) : -1;
        values[4] = r ? static_cast<int16_t>(r->quantity) : -1;
        if (r && r->wo && r->wo->product_position() >= 0)
            values[1] = static_cast<int16_t>(r->wo->product_position());
    }
    if (full || values[0] != drawn[0]) {
        static const uint32_t fill[4] = {0xC0C0C0, 0x008080, 0x00FFFF, 0x0000FF};
        static const char* const label[4] = {"Idle", "Setup", "Prod.", "Break"};
        if (state <= UNIT_BREAK) {
            p->rect(x, base - 14, sx(46), static_cast<int>(33 * plant.ui->scale_y()), static_cast<int32_t>(fill[state]), false);
            p->text(x + 2, base, label[state], state == UNIT_SETUP ? 0xFFFFFF : 0);
        } else if (state == UNIT_OUT_OF_WORK) {
            p->rect(x, base - 14, sx(46), static_cast<int>(33 * plant.ui->scale_y()), 0xC0C0C0, false);
        }
        drawn[0] = values[0];
    }
    if (state == UNIT_IDLE && became_available)
        return;
    const bool off = state >= UNIT_OUT_OF_WORK;
    const bool working = state >= UNIT_SETUP && state <= UNIT_BREAK;
    char buf[16];
    if (full || values[1] != drawn[1]) {
        const RProduct* prod = values[1] >= 0 ? plant.product(values[1]) : nullptr;
        p->text(x + sx(60), base, off ? "  " : (prod ? prod->code : ""), 0);
    }
    if (full || values[2] != drawn[2])
        p->text(x + sx(95), base, off ? "   " : (current_job ? current_job->name : ""), 0);
    if (full || values[3] != drawn[3])
        p->text(x + sx(118), base, (r && r->wo && working) ? r->wo->name : "         ", 0);
    if (full || values[4] != drawn[4]) {
        std::snprintf(buf, sizeof buf, "%d", r ? r->quantity : 0);
        p->text(x + sx(170), base, (r && working) ? buf : "   ", 0);
    }
    for (int i = 1; i < 5; ++i)
        drawn[i] = values[i];
}
