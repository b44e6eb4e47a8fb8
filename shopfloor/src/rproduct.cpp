// Production products: monthly statistics and their saved record.
#include "shopfloor/rproduct.h"
#include "shopfloor/plant.h"
#include <string_view>
#include <algorithm>

void RProduct::on_new_month()
{
    lead_times.close_block();
    if (lead_times.block_count() > 6)
        lead_times.remove_oldest_block();
    lead_time_mean = static_cast<uint32_t>(lead_times.mean());
    lead_time_std = static_cast<uint32_t>(lead_times.std_deviation());
    means[0] = static_cast<uint16_t>(acc[0].mean());
    means[2] = static_cast<uint16_t>(acc[2].mean());
    acc[0].clear();
    acc[2].clear();
}

uint16_t RProduct::free_stock_at_final_job(const Plant& plant) const
{
    const RJob* j = plant.job(final_job);
    return j ? static_cast<uint16_t>(j->get_output_qty(nullptr, 0, 0)) : 0;
}

void RProduct::save_state(ByteWriter& w) const
{
    w.raw(code, 3);
    w.u16(final_job);
    w.u16(release_hours);
    w.u16(spare);
    w.raw(history, sizeof history);
    w.i16(in_process);
    w.i16(on_order);
    w.i16(static_cast<int16_t>(std::max<int32_t>(departures, -32768)));
    w.u16(order_up_to);
    w.u16(reorder_point);
    w.u16(red_line_level);
    w.i16(stock_policy);
    w.u16(mrp_lead_time);
    w.u16(on_stock);
    w.u16(lead_days);
    w.u32(lead_time_mean);
    w.u32(lead_time_std);
    lead_times.save(w);
    for (const auto& a : acc)
        a.save(w);
    for (uint16_t m : means)
        w.u16(m);
    w.u16(extra_item);
    w.u16(position);
    w.u16(buy);
    w.i16(on_customer_orders);
    w.i16(priority);
}

bool RProduct::load_state(ByteReader& r, const SimHost* versions)
{
    auto since = [&](std::string_view id) { return !versions || versions->version_at_least(id); };
    r.raw(code, 3);
    code[2] = 0;
    final_job = r.u16();
    release_hours = r.u16();
    spare = r.u16();
    r.raw(history, sizeof history);
    in_process = r.i16();
    on_order = r.i16();
    departures = r.i16();
    order_up_to = r.u16();
    reorder_point = r.u16();
    red_line_level = r.u16();
    stock_policy = r.i16();
    mrp_lead_time = r.u16();
    on_stock = r.u16();
    lead_days = r.u16();
    lead_time_mean = r.u32();
    lead_time_std = r.u32();
    lead_times.load(r);
    for (auto& a : acc)
        a.load(r);
    for (uint16_t& m : means)
        m = r.u16();
    if (since("BG_1019")) {
        extra_item = r.u16();
        position = r.u16();
        buy = r.u16();
    }
    if (since("BG_1020"))
        on_customer_orders = r.i16();
    priority = since("BG_1025") ? r.i16() : static_cast<int16_t>(0);
    if (stock_policy < 0 || stock_policy > 1)
        r.fail();
    return r.ok();
}
