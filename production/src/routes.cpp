// Route collection and the product queries the other departments read.
#include "production/production_wnd.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

// Standard palette: cyan raw materials, yellow jobs, white products.
constexpr int16_t COLOUR_RAW = 11;
constexpr int16_t COLOUR_JOB = 14;
constexpr int16_t COLOUR_PRODUCT = 15;

int16_t colour_of(int16_t kind)
{
    return kind == KIND_RAW ? COLOUR_RAW : kind == KIND_JOB ? COLOUR_JOB : COLOUR_PRODUCT;
}

} // namespace

void CProductionWnd::collect_route_info(const RouteItem& item, std::vector<RouteInfo>& list, int x_offset,
                                        int y_offset, bool expand_all, const RWork_Order* wo)
{
    if (item.kind == KIND_JOB) {
        RJob* j = job(item.index);
        if (!j)
            return;
        const auto jx = static_cast<int16_t>(route_column_x(j->letter) + x_offset);
        const auto jy = static_cast<int16_t>(route_row_y(j->level) + y_offset);
        for (size_t n = 0; n < j->inputs.size(); ++n) {
            const RInp& in = j->inputs[n];
            const Inp_Pos pos = n < j->input_positions.size() ? j->input_positions[n] : Inp_Pos{};
            RouteInfo r;
            r.x = static_cast<int16_t>(route_column_x(pos.letter) + x_offset);
            r.y = static_cast<int16_t>(route_row_y(pos.level) + y_offset);
            r.parent_x = jx;
            r.parent_y = jy;
            r.colour = colour_of(in.kind);
            r.item = {in.kind, in.index, static_cast<int32_t>(in.quantity) * item.quantity};
            r.lead = in.lead;
            r.constraint_path = in.constraint_path;
            list.push_back(r);
            if (in.kind == KIND_JOB) {
                collect_route_info(r.item, list, x_offset, y_offset, expand_all, wo);
            } else if (in.kind == KIND_PRODUCT && all_products_routing == 0 && !is_bought_part(in.index)) {
                bool holds = false;
                if (wo)
                    if (const RProduct* p = product(in.index))
                        if (const RJob* f = job(p->final_job))
                            for (const Finished_Output& o : f->outputs)
                                holds = holds || (o.wo == wo && o.quantity > 0);
                if (expand_all || !is_taken_from_stock(in.index) || holds)
                    collect_route_info(r.item, list, x_offset, y_offset, expand_all, wo);
            }
        }
        return;
    }
    if (item.kind != KIND_PRODUCT)
        return;
    const RProduct* p = product(item.index);
    const RJob* f = p ? job(p->final_job) : nullptr;
    if (!f)
        return;
    if ((p->code[0] != 'U' && p->code[0] != 'V') || list.empty()) {
        RouteInfo r;
        r.x = static_cast<int16_t>(route_column_x('i') + x_offset);
        r.y = static_cast<int16_t>(route_row_y(f->level) + y_offset);
        r.colour = COLOUR_PRODUCT;
        r.item = item;
        list.push_back(r);
    } else {
        // A common part below something is drawn beside the box it feeds.
        y_offset = list.back().y - route_row_y(f->level);
        x_offset = list.back().x - route_column_x(f->letter + 1);
    }
    RouteInfo r;
    r.x = static_cast<int16_t>(route_column_x(f->letter) + x_offset);
    r.y = static_cast<int16_t>(route_row_y(f->level) + y_offset);
    r.parent_x = list.back().x;
    r.parent_y = list.back().y;
    r.colour = -1;
    r.item = {KIND_JOB, static_cast<uint8_t>(p->final_job), 1};
    list.push_back(r);
    collect_route_info({KIND_JOB, static_cast<uint8_t>(p->final_job), item.quantity}, list, x_offset, y_offset,
                       expand_all, wo);
}

int32_t CProductionWnd::get_process_minutes_per_unit(int16_t family_id, int16_t product_index)
{
    const uint16_t pos = find_product(family_id, product_index);
    if (!product(pos))
        return 0;
    return static_cast<int32_t>(evaluate_item({KIND_PRODUCT, static_cast<uint8_t>(pos), 1}, 3, 0));
}

float CProductionWnd::get_material_cost_of_product(int16_t family_id, int16_t product_index)
{
    selection[2] = 0;
    const uint16_t pos = find_product(family_id, product_index);
    if (!product(pos))
        return 0.0f;
    std::vector<RouteInfo> route;
    collect_route_info({KIND_PRODUCT, static_cast<uint8_t>(pos), 1}, route, 0, 0, false, nullptr);
    float sum = 0.0f;
    for (const RouteInfo& r : route) {
        uint16_t f = NONE16, m = NONE16;
        if (r.item.kind == KIND_RAW) {
            if (r.item.index < Raw_Ms.size())
                purchasing->find_material_by_code(Raw_Ms[r.item.index].code, f, m);
            if (f != NONE16)
                sum += purchasing->average_cost(f, m);
        } else if (r.item.kind == KIND_PRODUCT && r.item.index != pos) {
            const RProduct* part = product(r.item.index);
            if (!part)
                continue;
            if (is_bought_part(r.item.index)) {
                purchasing->find_material_by_code(part->code, f, m);
                if (f != NONE16)
                    sum += purchasing->average_cost(f, m);
            } else if (is_taken_from_stock(r.item.index)) {
                uint16_t pf = NONE16, pp = NONE16;
                product_pair_of(r.item.index, pf, pp);
                // A part Marketing does not sell has no pair of its own to cost it by.
                if (pf != NONE16 && !(pf == static_cast<uint16_t>(family_id) && pp == static_cast<uint16_t>(product_index)))
                    sum += get_material_cost_of_product(static_cast<int16_t>(pf), static_cast<int16_t>(pp));
            }
        }
    }
    return sum;
}

int16_t CProductionWnd::get_num_materials_in_product(int16_t family_id, int16_t product_index, int material_family,
                                                     int material)
{
    return get_num_materials_in_product_ex(find_product(family_id, product_index), material_family, material);
}

int16_t CProductionWnd::get_num_materials_in_product_ex(int position, int material_family, int material)
{
    selection[2] = 0;
    if (!product(position))
        return 0;
    std::vector<RouteInfo> route;
    collect_route_info({KIND_PRODUCT, static_cast<uint8_t>(position), 1}, route, 0, 0, true, nullptr);
    int count = 0;
    for (const RouteInfo& r : route) {
        uint16_t f = NONE16, m = NONE16;
        if (r.item.kind == KIND_RAW && r.item.index < Raw_Ms.size())
            purchasing->find_material_by_code(Raw_Ms[r.item.index].code, f, m);
        else if (r.item.kind == KIND_PRODUCT && is_bought_part(r.item.index))
            purchasing->find_material_by_code(product(r.item.index)->code, f, m);
        if (f != NONE16 && f == material_family && m == material)
            ++count;
    }
    return static_cast<int16_t>(std::min(count, 32767));
}

std::string CProductionWnd::get_product_name(int position) const
{
    const RProduct* p = product(position);
    return p ? std::string(p->code, strnlen(p->code, 2)) : std::string();
}

bool CProductionWnd::deactivate_new_product(int16_t family_id, int16_t product_index)
{
    const uint16_t pos = find_product(family_id, product_index);
    if (activated_.empty() || activated_.back().first != pos || pos + 1u != Products.size())
        return false;
    const int slot = activated_.back().second;
    if (slot < 0 || static_cast<size_t>(slot) >= New_Products.size() || New_Products[static_cast<size_t>(slot)])
        return false;
    // Work under way for it would be left without its product: such a product stays.
    for (const auto& wo : Work_Orders)
        if (wo->product_position() == pos)
            return false;
    RProduct& p = *Products.back();
    for (size_t i = prd_orders.size(); i-- > 0;)
        if (!prd_orders[i]->in_work_order && order_product(*prd_orders[i]) == pos) {
            p.on_order = static_cast<int16_t>(p.on_order - prd_orders[i]->quantity);
            if (prd_orders[i]->order_type == ORDER_CUSTOMER || prd_orders[i]->top_up == 2)
                p.on_customer_orders = static_cast<int16_t>(p.on_customer_orders - prd_orders[i]->quantity);
            prd_orders.erase(prd_orders.begin() + static_cast<std::ptrdiff_t>(i));
        }
    New_Products[static_cast<size_t>(slot)] = std::move(Products.back());
    Products.pop_back();
    for (auto& j : Jobs)
        if (j && j->product_position == pos) {
            j->product_position = static_cast<uint16_t>(slot);
            j->product = New_Products[static_cast<size_t>(slot)].get();
            New_Jobs.push_back(std::move(j));
        }
    activated_.pop_back();
    return true;
}

namespace {

constexpr int32_t GRID_GREY = 0x808080;
constexpr int32_t GRID_LABEL_BACK = 0xC0C0C0;

} // namespace

void CProductionWnd::draw_route(const std::vector<RouteInfo>& list, bool grid, int y_offset)
{
    Painter* p = ui->painter();
    if (!p)
        return;
    if (grid) {
        // One-pixel bars: the painter's lines are black.
        for (int i = 0; i < 9; ++i) {
            p->rect(i * 55 + 15, y_offset + 5, 1, 348, GRID_GREY, false);
            const char label[2] = {static_cast<char>('a' + i), 0};
            p->rect(i * 55 + 40, y_offset + 9, p->text_width(label) + 2, 14, GRID_LABEL_BACK, false);
            p->text(i * 55 + 41, y_offset + 9, label, GRID_GREY);
        }
        for (int i = 0; i < 7; ++i)
            p->rect(1, i * 55 + 24 + y_offset, 508, 1, GRID_GREY, false);
        for (int i = 0; i < 6; ++i) {
            const char label[2] = {static_cast<char>('6' - i), 0};
            p->rect(5, i * 55 + 49 + y_offset, p->text_width(label) + 2, 14, GRID_LABEL_BACK, false);
            p->text(6, i * 55 + 49 + y_offset, label, GRID_GREY);
        }
    }
    for (const RouteInfo& r : list) {
        const int colour = r.colour;
        switch (r.item.kind) {
        case KIND_RAW:
            draw_material_box(r.x, r.y - 16, r.item.index, colour);
            break;
        case KIND_JOB:
            draw_job_box(r.x, r.y - 16, r.item.index, colour);
            break;
        default:
            draw_product_box(r.x, r.y - 16, r.item.index, colour);
            break;
        }
        const bool linked = r.item.kind == KIND_PRODUCT ? r.parent_x > 0 : r.parent_x >= 0;
        if (linked)
            draw_route_link(r.parent_x, r.parent_y - 1, r.x + 30, r.y - 1);
    }
    for (const RouteInfo& r : list) {
        if (r.item.kind != KIND_JOB)
            continue;
        const RJob* j = job(r.item.index);
        const RMachine* m = j ? j->machine : nullptr;
        if (!m || m->buffer_capacity < 0 || m->buffer_capacity == NO_LIMIT)
            continue;
        if (selection[2] == 1) {
            draw_number_label(r.x - 2, r.y + 3, m->buffer_capacity, true, COLOUR_PRODUCT);
            draw_number_label(r.x - 2, r.y - 7, m->buffer_count, true, COLOUR_PRODUCT);
        } else {
            draw_number_label(r.x - 2, r.y - 2, m->buffer_capacity, true, COLOUR_PRODUCT);
        }
    }
}

namespace {

const Waiting_WO* request_at(const RJob& j, const RWork_Order* wo, int16_t x, int16_t y)
{
    for (const auto& r : j.requests)
        if (r->wo == wo && r->x == x && r->y == y)
            return r.get();
    return nullptr;
}

} // namespace

void CProductionWnd::draw_route_wo_status(std::vector<RouteInfo>& list, const RWork_Order* wo)
{
    for (RouteInfo& r : list) {
        const RJob* j = r.item.kind == KIND_JOB ? job(r.item.index) : nullptr;
        if (!j)
            continue;
        const int16_t x = route_option != 0 ? r.x : 0, y = route_option != 0 ? r.y : 0;
        if (!request_at(*j, wo, x, y))
            continue;
        const RMachine* m = j->machine;
        const bool limited = m && m->buffer_capacity >= 0 && m->buffer_capacity != NO_LIMIT;
        if (j->units_working_on(wo, x, y) > 0)
            r.colour = 13;
        else if (!limited && m && m->count_idle_units() > 0 && j->downstream_room() < 1)
            r.colour = 12;
    }
    draw_route(list, false, 0);
    for (const RouteInfo& r : list) {
        const RJob* j = r.item.kind == KIND_JOB ? job(r.item.index) : nullptr;
        if (!j)
            continue;
        const int16_t x = route_option != 0 ? r.x : 0, y = route_option != 0 ? r.y : 0;
        const Waiting_WO* q = request_at(*j, wo, x, y);
        if (!q)
            continue;
        draw_number_label(r.x + 30, r.y - 24, j->get_output_qty(wo, x, y), false, COLOUR_PRODUCT);
        draw_number_label(r.x + 5, r.y - 24, q->quantity, false, COLOUR_PRODUCT);
        draw_number_label(r.x + 5, r.y + 16, j->parts_from_inputs(wo, x, y) + q->started, false, COLOUR_PRODUCT);
        draw_number_label(r.x + 30, r.y + 16, q->finished, false, COLOUR_PRODUCT);
    }
}

bool CProductionWnd::route_hit_test(const std::vector<RouteInfo>& list, const RWork_Order* wo, int mx, int my,
                                    float scale_x, float scale_y, std::string& text) const
{
    for (const RouteInfo& r : list) {
        const RJob* j = r.item.kind == KIND_JOB ? job(r.item.index) : nullptr;
        if (!j)
            continue;
        const int16_t x = route_option != 0 ? r.x : 0, y = route_option != 0 ? r.y : 0;
        if (!request_at(*j, wo, x, y))
            continue;
        const float left = static_cast<float>(r.x) * scale_x, right = static_cast<float>(r.x + 30) * scale_x;
        const float top = static_cast<float>(r.y - 23) * scale_y, bottom = static_cast<float>(r.y + 10) * scale_y;
        const auto fx = static_cast<float>(mx), fy = static_cast<float>(my);
        if (fx < left || fx > right || fy < top || fy > bottom)
            continue;
        text = std::string(j->name) + " Inputs:\n";
        std::string inputs;
        j->describe_inputs(wo, x, y, inputs);
        text += inputs;
        return true;
    }
    return false;
}
