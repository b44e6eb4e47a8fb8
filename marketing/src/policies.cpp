// The market's block of a policies file: the link settings and each
// product's lead time, price, levels, safety stock and red-line time.
#include "market_util.h"
#include "marketing/marketing_wnd.h"
#include <array>

using namespace mkt;

namespace {
// What 'Edit Product Parameters' lets the user type into a cell.
constexpr int MAX_POLICY_VALUE = 32000;

struct ProductPolicy {
    std::array<int16_t, 7> v{};   // qlt, price, max, order, red, safety, red-line time
};
} // namespace

int32_t CMarketingWnd::policies_size() const
{
    int products = 0;
    for (int f = 0; f < family_count_; ++f)
        products += product_count(f);
    return 6 + 14 * products;
}

void CMarketingWnd::write_policies(RecordWriter& out) const
{
    out.u16(link_mode_);
    out.u16(plan_days_before);
    out.u16(plan_merge);
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            const MarketProduct& pr = product(f, p);
            for (uint16_t v : {pr.qlt, pr.price, pr.max_level, pr.order_level, pr.red_level, pr.safety_stock,
                               pr.red_line_time})
                out.u16(v);
        }
}

bool CMarketingWnd::read_policies(RecordReader& in)
{
    // Decoded into a copy first: a block with a value the dialogs would refuse changes nothing.
    const int16_t mode = in.i16();
    const int16_t days = in.i16();
    const int16_t merge = in.i16();
    std::vector<ProductPolicy> rows;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            ProductPolicy r;
            for (int16_t& v : r.v)
                v = in.i16();
            rows.push_back(r);
        }
    if (in.failed() || mode < 0 || mode > 3 || days < 0 || merge < 0)
        return false;
    for (const ProductPolicy& r : rows)
        for (int16_t v : r.v)
            if (v < 0 || v > MAX_POLICY_VALUE)
                return false;
    // 3 is the links dialog's unfinished choice, which Run refuses; job-shop mode
    // makes every order to order whatever the file says.
    link_mode_ = static_cast<uint16_t>(host_.job_shop() ? static_cast<int>(LINK_MAKE_TO_ORDER) : mode);
    plan_days_before = static_cast<uint16_t>(days);
    plan_merge = static_cast<uint16_t>(merge);
    size_t i = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            const ProductPolicy& r = rows[i++];
            MarketProduct& pr = product(f, p);
            apply_quoted_lead_time_change(f, p, pr.qlt, r.v[0]);
            pr.qlt = static_cast<uint16_t>(r.v[0]);
            apply_price_change(f, p, pr.price, r.v[1]);
            pr.price = static_cast<uint16_t>(r.v[1]);
            pr.max_level = static_cast<uint16_t>(r.v[2]);
            pr.order_level = static_cast<uint16_t>(r.v[3]);
            pr.red_level = static_cast<uint16_t>(r.v[4]);
            pr.safety_stock = static_cast<uint16_t>(r.v[5]);
            pr.red_line_time = static_cast<uint16_t>(r.v[6]);
        }
    build_supply_days_table();
    ui_.redraw();
    return true;
}
