// The Production department's hooks, orders, lookups and drawing primitives.
#include "production/production_wnd.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

CProductionWnd::CProductionWnd(SimHost& h, ProductionUi& u, MarketingDept& m, PurchasingDept& p, FinanceDept& f)
    : Plant(h, u, m, p, f)
{
}

int CProductionWnd::get_display_frequency() const
{
    return (display_frequency >= 0 && display_frequency <= 2) ? display_frequency : 0;
}

int CProductionWnd::daily_step(int16_t)
{
    if (marketing->link_mode() == 2 && host->is_new_week())
        make_forecast_orders();
    if (transport)
        transport->on_new_day();
    plan_work_orders(0);
    for (auto& wo : Work_Orders)
        wo->update_priority();
    if (release_policy == RELEASE_MRP_SCHEDULE)
        do_MRP();
    else if (release_policy == RELEASE_DBR_NO_CONSTRAINT)
        dbr_no_constrain();
    else if (release_policy == RELEASE_DBR_CONSTRAINT)
        do_DBR_constrain();
    for (auto& m : Machines)
        m->on_new_day();
    update_link_buttons();
    apply_shift_schedule();
    return 1;
}

void CProductionWnd::update_link_buttons()
{
    ui->show_link_buttons(marketing->any_product_in_red_line() ? 1 : 0, 1);
    ui->show_link_buttons(purchasing->any_material_in_red_line() ? 1 : 0, 2);
}

void CProductionWnd::on_minute()
{
    if (minute_depth != 0)
        ui->fatal("Production minute entered while one is running");
    struct Depth {
        int& d;
        explicit Depth(int& v) : d(v) { ++d; }
        ~Depth() { --d; }
    } depth(minute_depth);
    if (host->tick() % 60 == 0)
        on_hour();
    if (transport)
        transport->on_minute();
    reap();
    for (auto& m : Machines)
        m->on_minute();
    reap();
    if (halt_flag)
        host->set_run_state(0);
    if (host->is_day_start() && show_load)
        refresh_machine_loads();
}

void CProductionWnd::on_hour()
{
    // The 09:00 replan only reads the planning timing: it runs on a planning day.
    if (host->now().hour == 9 && make_reorder_orders() && is_planning_day())
        plan_work_orders(3);
    update_reorder_priorities();
    for (auto& wo : Work_Orders)
        wo->update_priority();
    if (release_policy == RELEASE_DBR_CONSTRAINT)
        dbr_hourly_release();
    for (auto& m : Machines)
        m->on_hour();
}

void CProductionWnd::on_new_month()
{
    if (wo_planning_mode == 2)
        wo_planning_parameter = 1;
    for (auto& m : Machines)
        m->on_new_month();
    for (auto& p : Products)
        p->on_new_month();
    if (host->now().month == 1) {
        utilization_factor = static_cast<float>(utilization_average.float_mean());
        utilization_average.clear();
    }
    week_of_month = 0;
    extra_shift_days = 0;
}

void CProductionWnd::on_new_year()
{
    for (auto& m : Machines)
        m->on_new_year();
}

float CProductionWnd::get_utilization_factor() const
{
    if (utilization_factor <= 2.0f)
        return utilization_factor;
    double sum = 0.0;
    for (const auto& m : Machines) {
        const double total = static_cast<double>(m->minutes[MIN_PRODUCTION]) + m->minutes[MIN_SETUP] +
                             m->minutes[MIN_BREAK] + m->minutes[MIN_IDLE];
        if (total > 0.0)
            sum += m->minutes[MIN_PRODUCTION] / total;
    }
    const double mean = Machines.empty() ? 0.0 : sum / static_cast<double>(Machines.size());
    return mean == 0.0 ? 0.75f : static_cast<float>(mean);
}

void CProductionWnd::refresh_machine_loads()
{
    for (size_t i = 0; i < Machines.size(); ++i)
        compute_machine_load(static_cast<int>(i), Machines[i]->load_minutes_1, Machines[i]->load_minutes_2);
    if (show_load)
        for (size_t i = 0; i < Machines.size(); ++i)
            ui->redraw_machine(static_cast<int>(i));
}

void CProductionWnd::add_order(int16_t family_id, int16_t product_index, int16_t quantity, int16_t order_type,
                               int16_t item_kind, int16_t lead_days, int32_t, int32_t)
{
    if (quantity <= 0)
        return;
    const uint16_t pos = family_id >= 0 ? find_product(family_id, product_index) : static_cast<uint16_t>(product_index);
    RProduct* p = product(pos);
    if (item_kind == KIND_PRODUCT && p && p->lead_days != 0 && order_type != ORDER_CONTRACT && marketing->link_mode() != 1)
        lead_days = static_cast<int16_t>(p->lead_days);
    auto o = std::make_unique<ProductionOrder>();
    o->order_date = host->now();
    o->family_id = family_id;
    o->product_index = product_index;
    o->quantity = quantity;
    o->order_type = order_type;
    o->item_kind = item_kind;
    o->lead_days = lead_days;
    static constexpr int hours[3] = {8, 24, 16};
    const int mode = host->shift_mode();
    o->due_minute = host->tick() + static_cast<uint32_t>(lead_days * hours[(mode >= 0 && mode <= 2) ? mode : 0] * 60);
    if (item_kind == KIND_PRODUCT && p) {
        p->on_order = static_cast<int16_t>(p->on_order + quantity);
        if (order_type == ORDER_CUSTOMER)
            p->on_customer_orders = static_cast<int16_t>(p->on_customer_orders + quantity);
        if (order_type != ORDER_CONTRACT && p->stock_policy == 0) {
            uint16_t f = NONE16, q = NONE16;
            marketing->find_product_by_code(p->code, f, q);
            if (f != NONE16)
                marketing->draw_on_order_units(f, q);
        }
    }
    prd_orders.push_back(std::move(o));
}

int16_t CProductionWnd::take_from_open_orders(uint16_t position, int16_t quantity)
{
    int remaining = quantity;
    int taken = 0;
    RProduct* p = product(position);
    for (size_t i = 0; i < prd_orders.size();) {
        ProductionOrder& o = *prd_orders[i];
        const uint16_t at = o.family_id >= 0 ? find_product(o.family_id, o.product_index) : static_cast<uint16_t>(o.product_index);
        if (at != position || o.in_work_order) {
            ++i;
            continue;
        }
        const bool customer = o.order_type == ORDER_CUSTOMER || o.top_up == 2;
        if (remaining < o.quantity) {
            o.quantity = static_cast<int16_t>(o.quantity - remaining);
            if (customer && p)
                p->on_customer_orders = static_cast<int16_t>(p->on_customer_orders - remaining);
            return static_cast<int16_t>(taken + remaining);
        }
        taken += o.quantity;
        remaining -= o.quantity;
        if (customer && p)
            p->on_customer_orders = static_cast<int16_t>(p->on_customer_orders - o.quantity);
        remove_order(static_cast<int>(i));
    }
    return static_cast<int16_t>(taken);
}

void CProductionWnd::reduce_production_orders(int16_t family_id, int16_t product_index, int16_t quantity)
{
    const uint16_t pos = find_product(family_id, product_index);
    const int16_t taken = take_from_open_orders(pos, quantity);
    RProduct* p = product(pos);
    if (taken > 0 && p)
        p->on_order = static_cast<int16_t>(p->on_order - taken);
    marketing->draw_on_order_units(family_id, product_index);
}

void CProductionWnd::remove_order(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= prd_orders.size())
        return;
    prd_orders.erase(prd_orders.begin() + index);
}

int16_t CProductionWnd::get_on_order_units(int16_t family_id, int16_t product_index) const
{
    const RProduct* p = product(find_product(family_id, product_index));
    return p ? p->on_order : 0;
}

RWork_Order* CProductionWnd::release_orders(const std::vector<ProductionOrder*>& orders)
{
    if (orders.empty())
        return nullptr;
    auto owned = std::make_unique<RWork_Order>(*this);
    RWork_Order* wo = owned.get();
    for (ProductionOrder* o : orders) {
        wo->add_request(*o);
        o->in_work_order = 1;
        o->work_order = wo;
    }
    Work_Orders.push_back(std::move(owned));
    const uint16_t rest = wo->Add_Into_System(wo->item_kind, wo->item, static_cast<uint16_t>(wo->quantity), 0, 0);
    if (rest == 0 && orders.front()->order_type == ORDER_MANUAL) {
        // Wholly from stock: the units go back to free stock and the work order ends here.
        if (RJob* f = job(wo->final_job())) {
            for (size_t i = f->outputs.size(); i-- > 0;) {
                Finished_Output o = f->outputs[i];
                if (o.wo != wo)
                    continue;
                f->add_material_to_output(wo, o.x, o.y, -o.quantity);
                f->add_material_to_output(nullptr, 0, 0, o.quantity);
            }
        }
        remove_work_order(wo);
        return nullptr;
    }
    return wo;
}

void CProductionWnd::product_pair_of(int position, uint16_t& family, uint16_t& prod) const
{
    family = NONE16;
    prod = static_cast<uint16_t>(position);
    if (const RProduct* p = product(position)) {
        uint16_t f = NONE16, q = NONE16;
        marketing->find_product_by_code(p->code, f, q);
        if (f != NONE16) {
            family = f;
            prod = q;
        }
    }
}

uint16_t CProductionWnd::find_product_by_code_text(const char* code) const
{
    for (size_t i = 0; i < Products.size(); ++i)
        if (std::strncmp(Products[i]->code, code, 2) == 0)
            return static_cast<uint16_t>(i);
    return NONE16;
}

int CProductionWnd::find_new_product(int family, int prod) const
{
    if (family < 0 || family >= marketing->family_count() || prod < 0 || prod >= marketing->product_count(family))
        return -1;
    const char code[3] = {marketing->family_letter(family), marketing->product_letter(family, prod), 0};
    for (size_t i = 0; i < New_Products.size(); ++i)
        if (New_Products[i] && std::strncmp(New_Products[i]->code, code, 2) == 0)
            return static_cast<int>(i);
    return -1;
}

bool CProductionWnd::activate_new_product(int family, int prod)
{
    const int n = find_new_product(family, prod);
    if (n < 0)
        return false;
    // Its jobs go back to the slots the loader left empty; a slot taken means the data disagree.
    for (const auto& j : New_Jobs)
        if (j && j->product_position == n && (j->job_number >= Jobs.size() || Jobs[j->job_number]))
            return false;
    // The New_Products slot stays empty, so the positions of the products still waiting do not move.
    const auto position = static_cast<uint16_t>(Products.size());
    Products.push_back(std::move(New_Products[static_cast<size_t>(n)]));
    RProduct& p = *Products.back();
    p.position = position;
    for (auto it = New_Jobs.begin(); it != New_Jobs.end();) {
        if (!*it || (*it)->product_position != n) {
            ++it;
            continue;
        }
        RJob& j = **it;
        j.product_position = position;
        j.product = &p;
        j.set_machine(Machines[j.machine_number].get());
        const uint8_t at = j.job_number;
        Jobs[at] = std::move(*it);
        it = New_Jobs.erase(it);
    }
    for (size_t k = 0; k < Jobs.size(); ++k) {
        RJob* j = Jobs[k].get();
        if (!j || j->product_position != position)
            continue;
        for (const RInp& i : j->inputs)
            if (i.kind == KIND_JOB)
                if (RJob* in = job(i.index)) {
                    in->role = 1;
                    in->parent = static_cast<uint8_t>(k);
                }
    }
    if (RJob* f = job(p.final_job)) {
        f->role = 2;
        f->parent = static_cast<uint8_t>(position);
    }
    work_content({KIND_PRODUCT, static_cast<uint8_t>(position), 1});
    activated_.emplace_back(position, n);
    return true;
}

std::string CProductionWnd::item_name(int16_t kind, int index) const
{
    if (kind == KIND_RAW && index >= 0 && static_cast<size_t>(index) < Raw_Ms.size())
        return Raw_Ms[static_cast<size_t>(index)].code;
    if (kind == KIND_JOB && job(index))
        return job(index)->name;
    if (kind == KIND_PRODUCT && product(index))
        return product(index)->code;
    return {};
}

int CProductionWnd::is_bought_part(int position) const
{
    const RProduct* p = product(position);
    return p && p->stock_policy == 1 && p->buy != 0 ? 1 : 0;
}

int CProductionWnd::is_taken_from_stock(int position) const
{
    const RProduct* p = product(position);
    return p && p->stock_policy == 1 && (p->buy != 0 || p->on_stock != 0 || mrp_option != 0) ? 1 : 0;
}

int CProductionWnd::count_active_units() const
{
    int n = 0;
    for (const auto& m : Machines)
        for (const auto& u : m->Units)
            if (u->state != UNIT_OUT_OF_WORK)
                ++n;
    return n;
}

void CProductionWnd::compute_machine_load(int machine, int32_t& available, int32_t& existing)
{
    available = 0;
    existing = 0;
    if (machine < 0 || static_cast<size_t>(machine) >= Machines.size())
        return;
    RForwardPlanTable forward(*this, machine);
    RAvailableWorkPlanTable avail(*this, machine);
    for (const auto& e : Machines[static_cast<size_t>(machine)]->Waiting_WOs_Data) {
        uint16_t d = 0;
        forward.AddIntoTable(e.get(), d);
        avail.AddIntoTable(e.get(), d);
    }
    for (size_t u = 0; u < forward.units.size(); ++u) {
        existing = std::max(existing, forward.unit_end(static_cast<int>(u)));
        available = std::max(available, avail.unit_end(static_cast<int>(u)));
    }
}

void CProductionWnd::buy_machine_unit(int machine)
{
    if (machine < 0 || static_cast<size_t>(machine) >= Machines.size())
        return;
    RMachine& m = *Machines[static_cast<size_t>(machine)];
    // The table of units is fixed: a machine at its maximum takes no more.
    if (m.Units.empty() || m.Units.size() >= std::min<size_t>(m.max_units, MAX_UNITS))
        return;
    // Finance refuses the purchase when its list of pending starts is full; then no unit comes.
    if (!finance->add_machine(-m.unit_price, m.delivery_months))
        return;
    auto u = std::make_unique<RMachineUnit>(&m);
    u->state = UNIT_ON_DELIVERY;
    u->number = static_cast<uint8_t>(m.Units.size());
    u->last_job = m.Units[0]->last_job;
    u->current_job = m.Units[0]->current_job;
    u->minutes_left = m.delivery_months;
    m.Units.push_back(std::move(u));
}

void CProductionWnd::load_rm_data_from_purch()
{
    for (int f = 0; f < purchasing->family_count(); ++f)
        for (int k = 0; k < purchasing->material_count(f); ++k) {
            MaterialCode c;
            c.code[0] = purchasing->family_letter(f);
            c.code[1] = purchasing->material_letter(f, k);
            Raw_Ms.push_back(c);
        }
}

void CProductionWnd::route_text(const RouteItem& item, std::vector<std::string>& out) const
{
    if (item.kind == KIND_PRODUCT) {
        if (const RProduct* p = product(item.index))
            route_text({KIND_JOB, static_cast<uint8_t>(p->final_job), item.quantity}, out);
        return;
    }
    if (item.kind != KIND_JOB)
        return;
    const RJob* j = job(item.index);
    if (!j)
        return;
    const long total = half_up(static_cast<float>(item.quantity) * j->minutes_per_part);
    char line[80];
    std::snprintf(line, sizeof line, "Job %3s : %3d x %2d Min = %5ld", j->name, static_cast<int>(item.quantity),
                  static_cast<int>(j->minutes_per_part), total);
    out.emplace_back(line);
    for (const RInp& i : j->inputs) {
        if (i.kind == KIND_PRODUCT && is_bought_part(i.index))
            continue;
        route_text({i.kind, i.index, item.quantity * i.quantity}, out);
    }
}

namespace {

// Past this a content no longer fits the job's 32-bit field; the walk stops growing there so
// that the products of quantities down the route stay within 64 bits.
constexpr int64_t CONTENT_CAP = int64_t{INT32_MAX} + 1;

int64_t content_of(CProductionWnd& p, int16_t kind, int index, int64_t quantity)
{
    if (kind == KIND_PRODUCT) {
        const RProduct* prod = p.product(index);
        return prod ? content_of(p, KIND_JOB, prod->final_job, quantity) : 0;
    }
    if (kind != KIND_JOB)
        return 0;
    RJob* j = p.job(index);
    if (!j)
        return 0;
    const float own = static_cast<float>(quantity) * j->minutes_per_part;
    int64_t content = own < 2.2e9f ? std::min<int64_t>(static_cast<int64_t>(own), CONTENT_CAP) : CONTENT_CAP;
    for (const RInp& i : j->inputs)
        content = std::min(CONTENT_CAP, content + content_of(p, i.kind, i.index, std::min(CONTENT_CAP, quantity * i.quantity)));
    j->work_content = static_cast<int32_t>(std::min<int64_t>(content, INT32_MAX));
    return content;
}

} // namespace

int32_t CProductionWnd::work_content(const RouteItem& item)
{
    return static_cast<int32_t>(std::min<int64_t>(content_of(*this, item.kind, item.index, item.quantity), INT32_MAX));
}

bool CProductionWnd::work_content_fits()
{
    for (size_t p = 0; p < Products.size(); ++p)
        if (content_of(*this, KIND_PRODUCT, static_cast<int>(p), 1) >= CONTENT_CAP)
            return false;
    return true;
}

bool CProductionWnd::find_route_loop(int& bad_job, size_t& bad_input) const
{
    const int J = static_cast<int>(Jobs.size());
    std::vector<int> state(static_cast<size_t>(J), 0);
    bad_job = -1;
    bad_input = 0;
    std::function<bool(int)> visit = [&](int n) -> bool {
        if (n < 0 || n >= J || state[static_cast<size_t>(n)] == 2)
            return true;
        if (state[static_cast<size_t>(n)] == 1)
            return false;
        state[static_cast<size_t>(n)] = 1;
        const RJob* j = job(n);
        if (j)
            for (size_t k = 0; k < j->inputs.size(); ++k) {
                int next = -1;
                if (j->inputs[k].kind == KIND_JOB)
                    next = j->inputs[k].index;
                else if (j->inputs[k].kind == KIND_PRODUCT && product(j->inputs[k].index))
                    next = product(j->inputs[k].index)->final_job;
                if (next >= 0 && !visit(next)) {
                    if (bad_job < 0) {
                        bad_job = n;
                        bad_input = k;
                    }
                    return false;
                }
            }
        state[static_cast<size_t>(n)] = 2;
        return true;
    };
    for (int n = 0; n < J; ++n)
        if (!visit(n))
            return true;
    return false;
}

float CProductionWnd::evaluate_item(const RouteItem& item, int mode, int target)
{
    if (item.kind == KIND_RAW) {
        float value = 0.0f;
        if (mode == 0 || mode == 1) {
            if (item.index >= Raw_Ms.size())
                return 0.0f;
            uint16_t f = NONE16, m = NONE16;
            purchasing->find_material_by_code(Raw_Ms[item.index].code, f, m);
            if (f == NONE16)
                return 0.0f;
            value = mode == 0 ? static_cast<float>(purchasing->material_price(f, m)) : purchasing->average_cost(f, m);
        } else if (mode == 2) {
            value = item.index == target ? 1.0f : 0.0f;
        }
        return static_cast<float>(item.quantity) * value;
    }
    if (item.kind == KIND_PRODUCT) {
        const RProduct* p = product(item.index);
        if (!p)
            return 0.0f;
        float sum = (mode == 5 && item.index == target) ? static_cast<float>(item.quantity) : 0.0f;
        return sum + evaluate_item({KIND_JOB, static_cast<uint8_t>(p->final_job), item.quantity}, mode, target);
    }
    const RJob* j = job(item.index);
    if (!j)
        return 0.0f;
    float sum = 0.0f;
    if (mode == 3)
        sum += j->minutes_per_part;
    if (mode == 4 && item.index == target)
        sum += static_cast<float>(item.quantity);
    if (mode == 6 && j->machine_number == target)
        return static_cast<float>(item.index + 1);
    for (const RInp& i : j->inputs) {
        if (i.kind == KIND_PRODUCT && is_bought_part(i.index))
            continue;
        sum += evaluate_item({i.kind, i.index, item.quantity * i.quantity}, mode, target);
        if (mode == 6 && sum > 0.0f)
            break;
    }
    return sum;
}

int32_t CProductionWnd::get_standard_material_cost(int16_t family_id, int16_t product_index)
{
    const uint16_t pos = find_product(family_id, product_index);
    if (!product(pos))
        return 0;
    return static_cast<int32_t>(evaluate_item({KIND_PRODUCT, static_cast<uint8_t>(pos), 1}, 0, 0));
}

int32_t CProductionWnd::common_part_units_held(int position) const
{
    int32_t n = 0;
    for (const auto& j : Jobs)
        if (j)
            for (const Input_Stock& s : j->input_stock)
                if (s.kind == KIND_PRODUCT && s.index == position && s.wo)
                    n += s.quantity;
    return n;
}

void CProductionWnd::link_production_data()
{
    for (size_t n = 0; n < Jobs.size(); ++n) {
        RJob* j = Jobs[n].get();
        if (!j)
            continue;
        j->product = product(j->product_position);
        j->set_machine(Machines[j->machine_number].get());
        for (const RInp& i : j->inputs)
            if (i.kind == KIND_JOB)
                if (RJob* in = job(i.index)) {
                    in->role = 1;
                    in->parent = static_cast<uint8_t>(n);
                }
    }
    for (size_t p = 0; p < Products.size(); ++p)
        if (RJob* f = job(Products[p]->final_job)) {
            f->role = 2;
            f->parent = static_cast<uint8_t>(p);
        }
    for (auto& j : New_Jobs) {
        j->product = product(j->product_position);
        j->set_machine(Machines[j->machine_number].get());
    }
    for (auto& m : Machines)
        for (auto& u : m->Units)
            u->current_job = job(u->last_job);
}

void CProductionWnd::draw_job_box(int x, int y, int j, int colour)
{
    Painter* p = ui->painter();
    const RJob* jb = job(j);
    if (!p || !jb)
        return;
    const int32_t fill = (colour >= 12 && colour <= 14) ? colour : -1;
    const bool compact = selection[2] == 1;
    p->rect(x, y, 30, compact ? 25 : 35, fill, true);
    p->text(std::strlen(jb->name) == 3 ? x + 4 : x + 7, y + 1, jb->name, 0);
    p->text(x + 7, y + 11, jb->machine ? jb->machine->name : "", 0);
    if (!compact) {
        char t[16];
        const int len = std::snprintf(t, sizeof t, "%d", jb->time);
        p->text(x + 15 - 4 * len, y + 21, t, 0);
    }
}

void CProductionWnd::draw_material_box(int x, int y, int material, int colour)
{
    Painter* p = ui->painter();
    if (!p || material < 0 || static_cast<size_t>(material) >= Raw_Ms.size())
        return;
    p->rect(x, y, 30, 25, colour, true);
    p->text(x + 7, y + 7, Raw_Ms[static_cast<size_t>(material)].code, 0);
}

void CProductionWnd::draw_product_box(int x, int y, int prod, int colour)
{
    Painter* p = ui->painter();
    const RProduct* pr = product(prod);
    if (!p || !pr)
        return;
    p->rect(x, y, 30, 25, colour, true);
    p->text(x + 7, y + 7, pr->code, 0);
}

void CProductionWnd::draw_number_label(int x, int y, int value, bool right_aligned, int colour)
{
    Painter* p = ui->painter();
    if (!p)
        return;
    char t[16];
    std::snprintf(t, sizeof t, "%d", value);
    const int w = p->text_width(t) + 6;
    const int left = right_aligned ? x - w : x - w / 2;
    p->rect(left, y - 5, w, 13, colour, false);
    p->text(left + 2, y - 5, t, 0);
}

void CProductionWnd::draw_route_link(int x1, int y1, int x2, int y2)
{
    Painter* p = ui->painter();
    if (!p)
        return;
    if (x2 < x1) {
        p->line(x1, y1, x1 - 10, y1);
        p->line(x1 - 10, y1, x1 - 10, y2);
        p->line(x1 - 10, y2, x2, y2);
        return;
    }
    const int d = y2 < y1 ? -1 : (y2 > y1 ? 1 : 0);
    p->line(x1, y1, x1 - 10, y1);
    p->line(x1 - 10, y1, x1 - 10, y1 + 30 * d);
    p->line(x1 - 10, y1 + 30 * d, x2 + 10, y1 + 30 * d);
    p->line(x2 + 10, y1 + 30 * d, x2 + 10, y2);
    p->line(x2 + 10, y2, x2, y2);
}

namespace {

// Earlier than, by year, month, day, hour and minute.
bool before(const SimStamp& a, const SimStamp& b)
{
    const int16_t x[5] = {a.year, a.month, a.day, a.hour, a.minute};
    const int16_t y[5] = {b.year, b.month, b.day, b.hour, b.minute};
    return std::lexicographical_compare(x, x + 5, y, y + 5);
}

} // namespace

// The daily step raised one shift to two on the extra shift's first day and
// went back on the day after its last, forgetting the dates; a saved plant
// with the dates still set runs two shifts from the first day on. A session
// saved in the second shift of an extra-shift day needs them to go on.
void CProductionWnd::restore_shift_mode()
{
    if (extra_shift_start.year == 0 || host->scenario_shift_mode() != 0)
        return;
    SimStamp day_start = host->now();
    day_start.hour = 8;
    day_start.minute = 0;
    host->set_shift_mode(before(day_start, extra_shift_start) ? 0 : 2);
}

void CProductionWnd::apply_shift_schedule()
{
    if (extra_shift_start.year == 0)
        return;
    // An extra shift raises one shift to two: a plant that already runs more keeps its mode and pays no premium.
    if (host->scenario_shift_mode() != 0)
        return;
    const int mode = host->shift_mode();
    if (mode != 0)
        extra_shift_days = static_cast<int16_t>(extra_shift_days + 1);
    const SimStamp now = host->now();
    if (!before(now, extra_shift_start) && mode != 2) {
        host->set_shift_mode(2);
        return;
    }
    if (before(extra_shift_end, now) && mode == 2) {
        host->set_shift_mode(0);
        extra_shift_start = SimStamp{};
        extra_shift_end = SimStamp{};
    }
}
