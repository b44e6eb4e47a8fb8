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
