// Work orders: bundling production orders and releasing them along the product structure.
#include "shopfloor/rwork_order.h"
#include "shopfloor/plant.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

RWork_Order::RWork_Order(Plant& p) : plant(&p)
{
    created_minute = p.tick();
    number = p.wo_counter;
    p.wo_counter = static_cast<uint16_t>(p.wo_counter + 1);
    if (p.wo_counter > 999)
        p.wo_counter = 1;
    // Zeroed: the name's bytes past its end are saved, and must not be whatever the stack held.
    char buf[16] = {};
    std::snprintf(buf, sizeof buf, "W%d", number);
    std::memcpy(name, buf, sizeof name - 1);
    mrp_planned = p.mrp_option ? 0 : 1;
}

int16_t RWork_Order::first_order_type() const
{
    return Request.empty() ? -1 : Request.front()->order_type;
}

bool RWork_Order::made_for_stock() const
{
    const int16_t t = first_order_type();
    if (t == ORDER_REORDER)
        return true;
    const RProduct* p = item_kind == KIND_PRODUCT ? plant->product(item) : nullptr;
    return t == ORDER_MANUAL && p && p->stock_policy == 1;
}

int RWork_Order::final_job() const
{
    if (item_kind == KIND_PRODUCT) {
        const RProduct* p = plant->product(item);
        return p ? p->final_job : -1;
    }
    if (item_kind == KIND_JOB)
        return item;
    return -1;
}

int RWork_Order::product_position() const
{
    if (item_kind == KIND_PRODUCT)
        return plant->product(item) ? item : -1;
    if (item_kind == KIND_JOB) {
        const RJob* j = plant->job(item);
        return j && plant->product(j->product_position) ? j->product_position : -1;
    }
    return -1;
}

void RWork_Order::add_request(ProductionOrder& o)
{
    quantity += static_cast<uint16_t>(o.quantity);
    if (item == 255) {
        due_minute = static_cast<int32_t>(o.due_minute);
        item_kind = o.item_kind;
        if (o.item_kind == KIND_PRODUCT && o.family_id != -1)
            item = static_cast<uint8_t>(plant->find_product(o.family_id, o.product_index));
        else
            item = static_cast<uint8_t>(o.product_index);
    } else {
        due_minute = std::min(due_minute, static_cast<int32_t>(o.due_minute));
    }
    if (o.priority > priority)
        priority = o.priority;
    Request.push_back(&o);
}

void RWork_Order::update_priority()
{
    priority = -32768;
    for (const ProductionOrder* o : Request)
        priority = std::max(priority, o->priority);
}

namespace {

struct Key {
    int16_t x;
    int16_t y;
};

} // namespace

uint16_t RWork_Order::Add_Into_System(int16_t kind, uint8_t index, uint16_t qty, int16_t x, int16_t y)
{
    Plant& pl = *plant;
    const bool route = pl.route_option != 0;
    if (kind == KIND_PRODUCT) {
        RProduct* P = pl.product(index);
        RJob* F = P ? pl.job(P->final_job) : nullptr;
        if (!F)
            return qty;
        int16_t dx = 0, dy = 25;
        if (P->stock_policy == 1 && P->on_stock == 0 && pl.mrp_option == 0) {
            dx = static_cast<int16_t>(x - Plant::route_column_x(F->letter + 1));
            dy = static_cast<int16_t>(y - Plant::route_row_y(F->level));
        }
        // The final job's request, and so its output for this work order, sits at this key.
        const Key fk = route ? Key{static_cast<int16_t>(Plant::route_column_x(F->letter) + dx),
                                   static_cast<int16_t>(Plant::route_row_y(F->level) + dy)}
                             : Key{0, 0};
        const int free = first_order_type() == ORDER_REORDER ? 0 : F->get_output_qty(nullptr, 0, 0);
        uint16_t remaining = qty;
        if (free > 0) {
            const int t = std::min<int>(free, qty);
            F->add_material_to_output(nullptr, 0, 0, -t);
            F->add_material_to_output(this, fk.x, fk.y, t);
            remaining = static_cast<uint16_t>(qty - t);
        }
        if (P->stock_policy == 0) {
            auto tj = std::make_unique<RTransportJob>();
            tj->source_kind = KIND_JOB;
            tj->dest_kind = KIND_PRODUCT;
            tj->material_kind = KIND_PRODUCT;
            tj->source_index = static_cast<uint8_t>(P->final_job);
            tj->dest_index = index;
            tj->material_index = static_cast<uint8_t>(P->final_job);
            tj->quantity = qty;
            tj->source_wo = this;
            tj->requesting_wo = this;
            tj->sx = fk.x;
            tj->sy = fk.y;
            tj->release = -1;
            pl.transport->add_job(std::move(tj));
        }
        if (remaining > 0)
            Add_Into_System(KIND_JOB, static_cast<uint8_t>(P->final_job), remaining, dx, dy);
        return remaining;
    }
    if (kind != KIND_JOB)
        return qty;

    RJob* J = pl.job(index);
    if (!J)
        return qty;
    const Key rk = route ? Key{static_cast<int16_t>(Plant::route_column_x(J->letter) + x),
                               static_cast<int16_t>(Plant::route_row_y(J->level) + y)}
                         : Key{0, 0};
    Waiting_WO* r = J->add_request(this, qty, rk.x, rk.y);
    J->machine->Add_Waiting_WO_Data(r, J);
    if (J->inputs.empty())
        return qty;
    uint16_t rest = 0;
    for (size_t n = 0; n < J->inputs.size(); ++n) {
        const RInp I = J->inputs[n];
        const Inp_Pos pos = n < J->input_positions.size() ? J->input_positions[n] : Inp_Pos{};
        const auto need = static_cast<uint16_t>(qty * I.quantity);
        const int in_stock = J->get_input_stock(nullptr, I.kind, I.index, 0, 0);
        RJob* IJ = I.kind == KIND_JOB ? pl.job(I.index) : nullptr;
        const int out_free = IJ ? IJ->get_output_qty(nullptr, 0, 0) : 0;
        RProduct* IP = I.kind == KIND_PRODUCT ? pl.product(I.index) : nullptr;
        bool from_stock = IP && IP->stock_policy == 1 && IP->buy == 0 && first_order_type() != ORDER_CONTRACT &&
                          (IP->on_stock != 0 || pl.mrp_option != 0);

        // Where the producer of this input keeps its output for this work order.
        Key src{0, 0};
        int16_t px = x, py = y;   // offsets handed to the producer
        if (I.kind == KIND_PRODUCT) {
            px = static_cast<int16_t>(Plant::route_column_x(pos.letter) + x);
            py = static_cast<int16_t>(Plant::route_row_y(pos.level) + y);
        }
        if (route) {
            if (IJ) {
                src = {static_cast<int16_t>(Plant::route_column_x(IJ->letter) + x),
                       static_cast<int16_t>(Plant::route_row_y(IJ->level) + y)};
            } else if (IP) {
                const RJob* F = pl.job(IP->final_job);
                int16_t fdx = 0, fdy = 25;
                if (F && IP->stock_policy == 1 && IP->on_stock == 0 && pl.mrp_option == 0) {
                    fdx = static_cast<int16_t>(px - Plant::route_column_x(F->letter + 1));
                    fdy = static_cast<int16_t>(py - Plant::route_row_y(F->level));
                }
                if (F)
                    src = {static_cast<int16_t>(Plant::route_column_x(F->letter) + fdx),
                           static_cast<int16_t>(Plant::route_row_y(F->level) + fdy)};
            } else {
                src = {static_cast<int16_t>(Plant::route_column_x(pos.letter - 1) + x),
                       static_cast<int16_t>(Plant::route_row_y(pos.level) + y)};
            }
        }

        int carry;
        if (out_free > 0) {
            const int t1 = std::min<int>(out_free, need);
            IJ->add_material_to_output(nullptr, 0, 0, -t1);
            IJ->add_material_to_output(this, src.x, src.y, t1);
            rest = static_cast<uint16_t>(need - t1);
        } else {
            rest = need;
        }
        if (rest > 0 && in_stock > 0) {
            const int t2 = std::min<int>(rest, in_stock);
            J->add_input_stock(nullptr, I.kind, I.index, -t2, 0, 0);
            J->add_input_stock(this, I.kind, I.index, t2, rk.x, rk.y);
            rest = static_cast<uint16_t>(rest - t2);
            carry = need - t2;
        } else {
            carry = need;
        }
        if (carry > 0) {
            auto tj = std::make_unique<RTransportJob>();
            tj->source_kind = I.kind;
            tj->dest_kind = KIND_JOB;
            tj->material_kind = I.kind;
            tj->source_index = I.index;
            tj->dest_index = index;
            tj->material_index = I.index;
            tj->quantity = static_cast<uint16_t>(carry);
            tj->requesting_wo = this;
            tj->dx = rk.x;
            tj->dy = rk.y;
            if (from_stock) {
                tj->source_wo = nullptr;
            } else {
                tj->source_wo = this;
                tj->sx = src.x;
                tj->sy = src.y;
            }
            if (IP && IP->stock_policy == 1 && IP->buy != 0 && !from_stock) {
                const int raw = pl.find_raw_material(IP->code);
                tj->source_kind = KIND_RAW;
                tj->source_index = raw < 0 ? NO_RAW_SOURCE : static_cast<uint8_t>(raw);
                from_stock = true;
            }
            tj->release = (pl.release_policy != RELEASE_IMMEDIATE && tj->material_kind == KIND_RAW) ? -2 : -1;
            pl.transport->add_job(std::move(tj));
        }
        if (rest > 0 && !from_stock)
            Add_Into_System(I.kind, I.index, need, px, py);
    }
    return rest;
}

uint16_t RWork_Order::find_final_waiting_data() const
{
    const RJob* j = plant->job(final_job());
    if (!j)
        return 0;
    for (const auto& r : j->requests)
        if (r->wo == this && j->machine->find_waiting_data(j, r.get()))
            return r->quantity;
    return 0;
}

void RWork_Order::allocate_finished()
{
    int32_t done = static_cast<int32_t>(quantity) - find_final_waiting_data();
    if (finished_split.empty())
        finished_split.assign(Request.size(), {0, 0});
    for (size_t i = 0; i < Request.size() && i < finished_split.size(); ++i) {
        const int32_t q = Request[i]->quantity;
        const int32_t f = std::max(0, std::min(q, done));
        done -= f;
        finished_split[i] = {q - f, f};
    }
}

namespace {

// Followed by the positions of the production orders it bundles.
constexpr RecordField<RWork_Order> work_order_fields[] = {
    field<&RWork_Order::name>(CHARS),
    field<&RWork_Order::created_minute>(U32),
    field<&RWork_Order::due_minute>(I32),
    field<&RWork_Order::item_kind>(I16).within(KIND_JOB, KIND_PRODUCT),
    field<&RWork_Order::item>(U8),
    field<&RWork_Order::quantity>(U32),
    field<&RWork_Order::reserved>(U32),
    field<&RWork_Order::number>(U16).within(1, 999),
    field<&RWork_Order::materials_started>(U16),
    field<&RWork_Order::priority>(I16),
};
static_assert(file_size(work_order_fields) == 31);

} // namespace

void RWork_Order::save_state(ByteWriter& w) const
{
    write_fields(w, *this, work_order_fields);
    w.i16(static_cast<int16_t>(Request.size()));
    for (const ProductionOrder* o : Request)
        w.i16(static_cast<int16_t>(plant->order_position(o)));
}

bool RWork_Order::load_state(ByteReader& r)
{
    read_fields(r, *this, work_order_fields);
    // Whether the item exists is checked once the products are read: one may be introduced there.
    const int n = r.count(static_cast<int>(plant->prd_orders.size()), 2);
    for (int i = 0; i < n; ++i) {
        const int16_t pos = r.i16();
        if (pos < 0 || static_cast<size_t>(pos) >= plant->prd_orders.size()) {
            r.fail();
            break;
        }
        ProductionOrder* o = plant->prd_orders[static_cast<size_t>(pos)].get();
        if (std::find(Request.begin(), Request.end(), o) != Request.end())
            r.fail();
        Request.push_back(o);
    }
    return r.ok();
}
