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

namespace {

constexpr RecordField<RProduct> product_head[] = {
    field<&RProduct::code>(CHARS),
    field<&RProduct::final_job>(U16),
    field<&RProduct::release_hours>(U16),
    field<&RProduct::spare>(U16),
    field<&RProduct::history>(U8),
    field<&RProduct::in_process>(I16),
    field<&RProduct::on_order>(I16),
    // Departures only ever fall: the file keeps the 16-bit floor.
    field<&RProduct::departures>(I16).saturated(),
    field<&RProduct::order_up_to>(U16),
    field<&RProduct::reorder_point>(U16),
    field<&RProduct::red_line_level>(U16),
    field<&RProduct::stock_policy>(I16).within(0, 1),
    field<&RProduct::mrp_lead_time>(U16),
    field<&RProduct::on_stock>(U16),
    field<&RProduct::lead_days>(U16),
    field<&RProduct::lead_time_mean>(U32),
    field<&RProduct::lead_time_std>(U32),
};
static_assert(file_size(product_head) == 85);

// After the lead-time statistics and the monthly means.
constexpr RecordField<RProduct> product_tail[] = {
    field<&RProduct::extra_item>(U16).since("BG_1019"),
    field<&RProduct::position>(U16).since("BG_1019"),
    field<&RProduct::buy>(U16).since("BG_1019"),
    field<&RProduct::on_customer_orders>(I16).since("BG_1020"),
    field<&RProduct::priority>(I16).since("BG_1025").absent(0),
};

} // namespace

void RProduct::save_state(ByteWriter& w, const SimHost* versions) const
{
    auto since = [&](std::string_view id) { return !versions || versions->version_at_least(id); };
    write_fields(w, *this, product_head);
    lead_times.save(w);
    for (const auto& a : acc)
        a.save(w);
    for (uint16_t m : means)
        w.u16(m);
    write_fields(w, *this, product_tail, since);
}

bool RProduct::load_state(ByteReader& r, const SimHost* versions)
{
    auto since = [&](std::string_view id) { return !versions || versions->version_at_least(id); };
    read_fields(r, *this, product_head);
    lead_times.load(r);
    for (auto& a : acc)
        a.load(r);
    for (uint16_t& m : means)
        m = r.u16();
    read_fields(r, *this, product_tail, since);
    return r.ok();
}
