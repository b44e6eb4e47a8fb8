// Work-order planning and the priorities of production orders.
#include "production/production_wnd.h"
#include <algorithm>
#include <climits>

namespace {

int16_t clamp16(int32_t v)
{
    return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

bool priority_type(int16_t t)
{
    return t == ORDER_CUSTOMER || t == ORDER_STOCK || t == ORDER_FORECAST;
}

constexpr int MAX_MARKET_FAMILIES = 4;
constexpr int MAX_MARKET_PRODUCTS = 4;

} // namespace

uint16_t CProductionWnd::order_product(const ProductionOrder& o) const
{
    return o.family_id >= 0 ? find_product(o.family_id, o.product_index) : static_cast<uint16_t>(o.product_index);
}

void CProductionWnd::sort_orders_by_due(std::vector<ProductionOrder*>& list)
{
    std::stable_sort(list.begin(), list.end(), [](const ProductionOrder* a, const ProductionOrder* b) {
        return static_cast<int32_t>(a->due_minute) < static_cast<int32_t>(b->due_minute);
    });
}

int CProductionWnd::update_priorities(int)
{
    // Copies carry the due date in calendar minutes and their place in the real list.
    std::vector<ProductionOrder> copies;
    copies.reserve(prd_orders.size());
    for (size_t i = 0; i < prd_orders.size(); ++i) {
        ProductionOrder c = *prd_orders[i];
        const SimStamp due = host->add_work_days(c.order_date, c.lead_days - 1);
        c.due_minute = static_cast<uint32_t>(host->minutes_since_1990(due));
        c.scratch = static_cast<int16_t>(i);
        copies.push_back(c);
    }
    std::vector<ProductionOrder*> sorted;
    sorted.reserve(copies.size());
    for (ProductionOrder& c : copies)
        sorted.push_back(&c);
    sort_orders_by_due(sorted);

    int result = 0;
    const int families = std::min(marketing->family_count(), MAX_MARKET_FAMILIES);
    if (marketing->link_mode() == 1) {
        for (ProductionOrder* c : sorted)
            c->priority = 0;
        for (int f = 0; f < families; ++f) {
            const int products = std::min(marketing->product_count(f), MAX_MARKET_PRODUCTS);
            for (int p = 0; p < products; ++p) {
                int32_t stock = marketing->get_inventory(f, p);
                int length = 0;
                const int16_t* table = marketing->supply_days(f, p, length);
                if (!table)
                    length = 0;
                const int red_time = marketing->red_line_time(f, p);
                const bool short_table = red_time > length;
                if (short_table)
                    ui->message("supply days index overflow in update prioties", "Error", 0);
                const int days = std::min(red_time, length);
                int32_t total = 0;
                for (int d = 0; d < days; ++d)
                    total += table[d];
                int32_t excess = total - stock;
                if (excess <= 0)
                    continue;
                if (short_table)
                    ui->message("supply days index overflow in update prioties", "Error", 0);
                for (int d = 0; d < days; ++d) {
                    const int32_t q = table[d];
                    if (stock >= q) {
                        stock -= q;
                        continue;
                    }
                    for (ProductionOrder* c : sorted) {
                        if (excess <= 0)
                            break;
                        if (c->family_id != f || c->product_index != p || !priority_type(c->order_type))
                            continue;
                        c->priority = clamp16(red_time - d);
                        excess -= c->quantity;
                        result = 1;
                    }
                }
            }
        }
    } else {
        for (int f = 0; f < families; ++f) {
            const int products = std::min(marketing->product_count(f), MAX_MARKET_PRODUCTS);
            for (int p = 0; p < products; ++p) {
                int32_t cumulative = 0;
                const int32_t stock = marketing->get_inventory(f, p);
                int length = 0;
                const int16_t* table = marketing->supply_days(f, p, length);
                const int32_t first = (table && length > 0) ? table[0] : 0;
                const int32_t level = marketing->red_line_level(f, p);
                for (ProductionOrder* c : sorted) {
                    if (c->family_id != f || c->product_index != p || !priority_type(c->order_type))
                        continue;
                    const int32_t value = level - (stock - first) - cumulative;
                    cumulative += c->quantity;
                    c->priority = value < 0 ? 0 : clamp16(value);
                }
            }
        }
    }
    for (const ProductionOrder& c : copies)
        prd_orders[static_cast<size_t>(c.scratch)]->priority = c.priority;
    update_reorder_priorities();
    return result;
}

int CProductionWnd::update_reorder_priorities(int)
{
    std::vector<int32_t> counter(Products.size(), 0);
    int result = 0;
    for (auto& o : prd_orders) {
        if (o->order_type != ORDER_REORDER)
            continue;
        const uint16_t at = order_product(*o);
        RProduct* p = product(at);
        if (!p)
            continue;
        const int32_t held = static_cast<int32_t>(p->free_stock_at_final_job(*this)) + counter[at];
        if (held < p->red_line_level) {
            o->priority = clamp16(static_cast<int32_t>(p->red_line_level) - held);
            result = 1;
        } else {
            o->priority = 0;
        }
        counter[at] += o->quantity;
    }
    return result;
}

bool CProductionWnd::is_planning_day() const
{
    if (marketing->link_mode() == 2)
        return true;
    const SimStamp today = host->now();
    switch (wo_planning_mode) {
    case 0:
        return wo_planning_countdown == wo_planning_parameter;
    case 1:
        return host->weekday(today) == wo_planning_countdown;
    case 2: {
        if (wo_planning_parameter != 0)
            return false;
        // The planning day is the set day, or the working day after it when it falls off work.
        SimStamp set{today.year, today.month, wo_planning_countdown, 8, 0};
        const int wd = host->weekday(set);
        if (host->shift_mode() != 1 && (wd == 1 || wd == 7))
            set = host->add_work_days(set, 1);
        return set.month == today.month && set.day == today.day;
    }
    default:
        return false;
    }
}

void CProductionWnd::plan_work_orders(int mode)
{
    // The 09:00 replan is a periodic pass whose timing was only read.
    const bool timed = mode == 3;
    if (timed)
        mode = 0;
    if (mode == 0 && !timed && marketing->link_mode() != 2) {
        switch (wo_planning_mode) {
        case 0:
            wo_planning_countdown = static_cast<int16_t>(wo_planning_countdown - 1);
            if (wo_planning_countdown > 0) {
                update_priorities();
                return;
            }
            wo_planning_countdown = wo_planning_parameter;
            break;
        case 1:
            if (host->weekday(host->now()) != wo_planning_countdown) {
                update_priorities();
                return;
            }
            break;
        case 2: {
            const int day = host->now().day;
            if (day < wo_planning_countdown || (day > wo_planning_countdown && wo_planning_parameter == 0)) {
                update_priorities();
                return;
            }
            wo_planning_parameter = 0;
            break;
        }
        default:
            break;
        }
    }
    const int16_t kept_merge = merge_order_types;
    if (batch_size > 0)
        merge_order_types = 1;

    // Whether j joins the leader's group: the same rule for the sum and for attaching.
    const auto joins = [this](const ProductionOrder& lead, const ProductionOrder& j) {
        if (j.in_work_order || j.family_id != lead.family_id || j.product_index != lead.product_index ||
            j.item_kind != lead.item_kind)
            return false;
        const bool mergeable = merge_order_types != 0 && (j.order_type == ORDER_STOCK || j.order_type == ORDER_CUSTOMER) &&
                               (lead.order_type == ORDER_STOCK || lead.order_type == ORDER_CUSTOMER);
        if (j.order_type != lead.order_type && !mergeable)
            return false;
        return lead.order_type != ORDER_CONTRACT || j.lead_days == lead.lead_days;
    };

    for (size_t i = 0; i < prd_orders.size(); ++i) {
        ProductionOrder* leader = prd_orders[i].get();
        if (leader->in_work_order || (mode == 2 && leader->order_type != ORDER_CONTRACT))
            continue;
        const ProductionOrder lead = *leader;
        int32_t sum = 0;
        for (size_t j = i; j < prd_orders.size(); ++j)
            if (joins(lead, *prd_orders[j]))
                sum += prd_orders[j]->quantity;
        if (sum < min_wo_demand && mode != 1)
            continue;
        // Topping a work order up past the batch would only be split again, without end.
        const int32_t target = batch_size > 0 ? std::min<int32_t>(min_wo_quantity, batch_size) : min_wo_quantity;
        if (sum < target) {
            const size_t before = prd_orders.size();
            add_order(lead.family_id, lead.product_index, clamp16(target - sum), lead.order_type, lead.item_kind,
                      lead.lead_days);
            if (prd_orders.size() > before)
                prd_orders.back()->top_up = 1;
            sum = target;
        }
        if (lead.order_type != ORDER_CONTRACT && batch_size > 0 && sum % batch_size != 0) {
            uint16_t f = static_cast<uint16_t>(lead.family_id), p = static_cast<uint16_t>(lead.product_index);
            if (lead.family_id < 0)
                product_pair_of(lead.product_index, f, p);
            RProduct* prod = product(order_product(lead));
            int32_t extra = (f == NONE16 ? 0 : marketing->get_contract_units_ahead(f, p)) -
                            (prod ? prod->on_customer_orders : 0);
            const int32_t room = batch_size - sum % batch_size;
            if (room < extra)
                extra = room;
            if (extra > 0) {
                const size_t before = prd_orders.size();
                add_order(lead.family_id, lead.product_index, clamp16(extra), lead.order_type, lead.item_kind,
                          lead.lead_days);
                if (prd_orders.size() > before) {
                    if (lead.order_type != ORDER_CUSTOMER && prod && lead.item_kind == KIND_PRODUCT)
                        prod->on_customer_orders = clamp16(prod->on_customer_orders + extra);
                    prd_orders.back()->top_up = 2;
                }
            }
        }
        std::vector<ProductionOrder*> members;
        int32_t quantity = 0;
        for (size_t j = i; j < prd_orders.size(); ++j) {
            ProductionOrder& o = *prd_orders[j];
            if (!joins(lead, o))
                continue;
            if (batch_size > 0 && quantity + o.quantity > batch_size) {
                auto rest = std::make_unique<ProductionOrder>(o);
                rest->quantity = static_cast<int16_t>(quantity + o.quantity - batch_size);
                o.quantity = static_cast<int16_t>(o.quantity - rest->quantity);
                prd_orders.push_back(std::move(rest));
            }
            members.push_back(&o);
            quantity += o.quantity;
            if (batch_size > 0 && quantity >= batch_size)
                break;
        }
        release_orders(members);
    }
    if (batch_size > 0)
        merge_order_types = kept_merge;
    if (mode != 2) {
        update_priorities();
        for (auto& wo : Work_Orders)
            wo->update_priority();
    }
    if (release_policy == RELEASE_MRP)
        do_MRP();
}
