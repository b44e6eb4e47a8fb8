// The department's saved state. One walk over the fields serves both
// directions, so what is saved is what is read; every count read is bounded
// before it sizes anything, and a state the scenario cannot run is refused.
#include "market_util.h"
#include "marketing/marketing_wnd.h"

using namespace mkt;

namespace {

struct Out {
    RecordWriter& w;
    static constexpr bool reading = false;
    void u16(uint16_t& v) { w.u16(v); }
    void i16(int16_t& v) { w.i16(v); }
    void u32(uint32_t& v) { w.u32(v); }
    void i32(int32_t& v) { w.i32(v); }
    void f32(float& v) { w.f32(v); }
    void f64(double& v) { w.f64(v); }
    void ch(char& v) { w.i8(static_cast<int8_t>(v)); }
    void date(SimDateTime& d)
    {
        w.i16(d.year);
        w.i16(d.month);
        w.i16(d.day);
        w.i16(d.hour);
        w.i16(d.minute);
    }
    void raw_date(SimDateTime& d) { date(d); }
    void zeros(int n) { w.zeros(n); }
    bool ok() const { return true; }
    void refuse() {}
};

struct In {
    RecordReader& r;
    static constexpr bool reading = true;
    void u16(uint16_t& v) { v = r.u16(); }
    void i16(int16_t& v) { v = r.i16(); }
    void u32(uint32_t& v) { v = r.u32(); }
    void i32(int32_t& v) { v = r.i32(); }
    void f32(float& v)
    {
        v = r.f32();
        if (!std::isfinite(v))
            r.refuse();
    }
    void f64(double& v)
    {
        v = r.f64();
        if (!std::isfinite(v))
            r.refuse();
    }
    void ch(char& v) { v = static_cast<char>(r.i8()); }
    void date(SimDateTime& d)
    {
        d.year = r.i16();
        d.month = r.i16();
        d.day = r.i16();
        d.hour = r.i16();
        d.minute = r.i16();
        if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.hour < 0 || d.hour > 23 || d.minute < 0 ||
            d.minute > 59)
            r.refuse();
    }
    // A date that may be unset (all zeros).
    void raw_date(SimDateTime& d)
    {
        d.year = r.i16();
        d.month = r.i16();
        d.day = r.i16();
        d.hour = r.i16();
        d.minute = r.i16();
    }
    void zeros(int n) { r.skip(n); }
    bool ok() const { return !r.failed(); }
    void refuse() { r.refuse(); }
};

// A count: written as it is, read and refused above the limit.
template <class A>
uint16_t count(A& a, size_t now, size_t limit)
{
    uint16_t n = static_cast<uint16_t>(now);
    a.u16(n);
    if (A::reading && n > limit) {
        a.refuse();
        return 0;
    }
    return n;
}

template <class A, class T, size_t N>
void each(A& a, std::array<T, N>& v, void (A::*fn)(T&))
{
    for (T& x : v)
        (a.*fn)(x);
}

template <class A>
void open_order(A& a, OpenOrder& o)
{
    a.date(o.order_date);
    a.date(o.earliest);
    a.date(o.due);
    a.i16(o.family);
    a.i16(o.product);
    a.i16(o.units);
    a.i16(o.price);
    a.i16(o.quoted_lead_time);
    a.i16(o.days_late);
}

template <class A>
void transport_order(A& a, TransportOrder& t)
{
    a.date(t.order_date);
    a.date(t.arrival);
    a.raw_date(t.spare_date);
    a.i16(t.family);
    a.i16(t.product);
    a.i16(t.units);
    a.i16(t.price);
    a.i16(t.flag);
    a.i16(t.spare);
}

// A product's export line, in the order the line's record keeps its fields.
template <class A>
void export_block(A& a, ExportLine& e)
{
    a.u16(e.added);
    if (e.added != 0) {
        const uint16_t lots = count(a, e.lots.size(), MAX_LOTS);
        if (A::reading)
            e.lots.assign(lots, InventoryLot{});
        for (InventoryLot& l : e.lots) {
            a.i16(l.units);
            a.date(l.date);
            if (l.units < 0)
                a.refuse();
        }
    }
    a.u16(e.item14);
    a.u16(e.max_level);
    a.u16(e.order_level);
    a.u16(e.red_level);
    a.u16(e.red_status);
    a.i32(e.initial_expenses);
    a.u32(e.monthly_expenses);
    a.u16(e.to_transfer);
    a.u16(e.in_transit);
    a.u16(e.shortfall);
    a.u16(e.shipped);
    a.u16(e.shipped_month);
    a.u16(e.shipped_last_month);
    a.u16(e.on_time);
    a.u16(e.on_time_month);
    a.u16(e.on_time_last_month);
    a.u16(e.service_pct);
    a.f32(e.lateness);
    a.f32(e.lateness_ratio);
    a.u32(e.late_value_month);
    a.u32(e.late_value_last_month);
    a.u16(e.open_units);
    a.f32(e.annual_orders);
    a.f32(e.order_size);
    a.f32(e.order_fraction);
    a.u16(e.base_qlt);
    a.u16(e.qlt);
    a.u16(e.transit_days);
    a.u16(e.base_price);
    a.u16(e.price);
    a.u32(e.revenue);
    a.u32(e.revenue_month);
    a.u32(e.revenue_last_month);
    a.f32(e.red_fraction);
    a.f32(e.red_fraction_last_month);
    a.u16(e.red_days);
    a.u16(e.transfer_fixed_cost);
    a.u16(e.transfer_unit_cost);
    a.u16(e.year_counter);
    a.u16(e.item15);
    each(a, e.monthly_pct, &A::f32);
    each(a, e.lateness_series, &A::f32);
    each(a, e.red_series, &A::f32);
    a.u16(e.state);
    a.u16(e.item16);
    a.raw_date(e.start);
    a.u16(e.preparation_days);
    a.raw_date(e.preparation);
    a.u16(e.item18);
    a.u16(e.item18_copy);
    a.u32(e.revenue_year);
    a.u32(e.revenue_last_year);
    a.u16(e.shipped_year);
    a.u16(e.shipped_last_year);
    if (A::reading && (e.state > EXPORT_ACTIVE || e.red_status > 2 || e.order_size < 0 || e.annual_orders < 0 ||
                       e.order_fraction < 0 || e.order_fraction >= 1 || e.service_pct > 100 ||
                       (e.state >= EXPORT_PREPARED && e.added == 0) || (e.state == EXPORT_NONE && e.added != 0)))
        a.refuse();
    if (A::reading && e.state != EXPORT_NONE)
        for (const SimDateTime* d : {&e.start, &e.preparation})
            if (d->month < 1 || d->month > 12 || d->day < 1 || d->day > 31)
                a.refuse();
}

template <class A>
void product_block(A& a, MarketProduct& p)
{
    a.u16(p.id);
    a.ch(p.letter);
    a.zeros(4);
    a.u16(p.scenario_value4);
    a.u16(p.qlt);
    a.u16(p.max_level);
    a.u16(p.order_level);
    a.u16(p.red_level);
    a.u16(p.material_cost);
    a.u16(p.price);
    a.f32(p.annual_orders);
    a.u16(p.order_size);
    a.u16(p.phase_out);
    a.u16(p.retired);
    a.u16(p.red_status);
    a.u16(p.mto_red);
    a.i16(p.firm_orders);
    a.i16(p.backlog);
    a.u16(p.ordered_today);
    a.u16(p.ordered_month);
    a.u16(p.ordered_last_month);
    const uint16_t lots = count(a, p.lots.size(), MAX_LOTS);
    if (A::reading)
        p.lots.assign(lots, InventoryLot{});
    int32_t sum = 0;
    for (InventoryLot& l : p.lots) {
        a.i16(l.units);
        a.date(l.date);
        if (l.units < 0)
            a.refuse();
        sum += l.units;
    }
    a.i16(p.stock);
    if (A::reading && sum != p.stock)
        a.refuse();
    a.u16(p.stock_year_start);
    a.u16(p.stock_prev_year_start);
    a.u16(p.stock_year_copy);
    a.u16(p.expired_year);
    a.u16(p.expired_last_year);
    a.f32(p.order_carry);
    for (uint16_t* v : {&p.shipped_run, &p.sold_month, &p.sold_orders_month, &p.sold_orders_last_month,
                        &p.sold_contracts_month, &p.sold_contracts_last_month, &p.sold_last_month, &p.on_time_run,
                        &p.on_time_month, &p.service_pct, &p.sold_year, &p.sold_last_year})
        a.u16(*v);
    a.f32(p.cost_of_sales_run);
    a.f32(p.cost_of_sales_year);
    a.f32(p.cost_of_sales_last_year);
    a.u32(p.sales_value_run);
    a.u32(p.revenue_month);
    a.u32(p.revenue_last_month);
    a.u32(p.order_sales_month);
    a.u32(p.order_sales_last);
    a.u32(p.contract_sales_month);
    a.u32(p.contract_sales_last);
    a.u32(p.revenue_year);
    a.u32(p.revenue_last_year);
    a.f32(p.weighted_penalty);
    a.f32(p.last_penalty);
    a.u32(p.lost_sales_value);
    a.u32(p.penalty_last_month);
    a.f32(p.red_share_month);
    a.f32(p.red_share_last_month);
    a.u16(p.red_days_month);
    a.u16(p.demand_estimate);
    a.u16(p.prev_demand_estimate);
    a.u16(p.expected_demand);
    a.u16(p.prev_expected_demand);
    each(a, p.estimate_series, &A::u16);
    a.u16(p.safety_stock);
    a.u16(p.red_line_time);
    a.u16(p.spare);
    a.u16(p.contract_shortage);
    a.u16(p.rejected_today);
    a.u16(p.lost_orders_today);
    a.u16(p.lost_units_today);
    a.f32(p.sold_per_day_last_month);
    a.f32(p.order_sold_per_day_last_month);
    a.u16(p.promotion_state);
    for (auto& level : p.promotion_pct)
        each(a, level, &A::i16);
    a.i16(p.promotion_cost);
    a.u16(p.promotion_level);
    a.u16(p.saved_price);
    each(a, p.penalty_series, &A::f32);
    each(a, p.revenue_series, &A::f32);
    each(a, p.order_sales_series, &A::f32);
    each(a, p.contract_sales_series, &A::f32);
    each(a, p.units_series, &A::f32);
    each(a, p.throughput_series, &A::f32);
    each(a, p.red_share_series, &A::f32);
    each(a, p.ordered_series, &A::f32);
    a.u16(p.export_added);
    a.u16(p.export_flag);
    // Only a product the scenario gives a line may have one requested or added.
    if (A::reading && (p.export_flag > 1 || p.export_added > p.export_flag || (p.export_flag != 0 && !p.exp)))
        a.refuse();
    if (p.export_flag != 0 && p.exp) {
        export_block(a, *p.exp);
        if (A::reading && p.exp->state == EXPORT_NONE)
            a.refuse();
        if (A::reading && (p.exp->added != 0) != (p.export_added != 0))
            a.refuse();
    }
    each(a, p.plan, &A::u16);
    each(a, p.forecast, &A::u16);
    uint16_t n = static_cast<uint16_t>(p.supply_days.size());
    a.u16(n);
    if (A::reading && (n < 1 || n > 32767)) {
        a.refuse();
        n = 0;
    }
    if (A::reading)
        p.supply_days.assign(n, 0);
    for (uint16_t& v : p.supply_days)
        a.u16(v);
    if (A::reading && (p.promotion_state > 4 || p.promotion_level > 5 || (p.promotion_state != 0 && p.promotion_level < 1) ||
                       p.red_status > 2 || p.mto_red > 1 || p.retired > 1 || p.phase_out > 1 || p.price > 32000))
        a.refuse();
}

// The product image of a new-product entry: its first fields, then zeros up to the record's size.
void product_image(RecordWriter& w, const MarketProduct& p)
{
    RecordWriter img;
    img.u16(p.id);
    img.i8(static_cast<int8_t>(p.letter));
    img.u16(p.box_x);
    img.u16(p.box_y);
    img.u16(p.scenario_value4);
    img.u16(p.base_qlt);
    img.u16(p.qlt);
    img.u16(p.max_level);
    img.u16(p.order_level);
    img.u16(p.red_level);
    img.u16(p.material_cost);
    img.u16(p.base_price);
    img.u16(p.price);
    img.f32(p.base_annual_orders);
    img.f32(p.annual_orders);
    img.u16(p.order_size);
    w.raw(img.bytes().data(), img.bytes().size());
    w.zeros(NEW_PRODUCT_IMAGE_SIZE - static_cast<int>(img.bytes().size()));
}

} // namespace

template <class A>
static bool walk_state(CMarketingWnd& m, A& a, MarketHost& host)
{
    // 1. Open orders.
    const uint16_t orders = count(a, m.open_orders.size(), 32767);
    if (A::reading)
        m.open_orders.assign(orders, OpenOrder{});
    for (OpenOrder& o : m.open_orders)
        open_order(a, o);
    // 2. Products; a family holds its own and its introduced products.
    for (int f = 0; f < m.family_count_ && a.ok(); ++f) {
        Family& fam = m.families[static_cast<size_t>(f)];
        uint16_t n = fam.product_count;
        a.u16(n);
        if (A::reading) {
            if (n < fam.product_count || n > MAX_PRODUCTS) {
                a.refuse();
                break;
            }
            fam.product_count = n;
        }
        for (int p = 0; p < n && a.ok(); ++p)
            product_block(a, fam.products[static_cast<size_t>(p)]);
    }
    if (!a.ok())
        return false;
    // An order may be of a product introduced during the run: checked once the products are in.
    if (A::reading)
        for (const OpenOrder& o : m.open_orders)
            if (!m.product_exists(o.family, o.product) || o.units < 1 || o.days_late < 0)
                a.refuse();
    // 3. Customers.
    for (Customer& c : m.customers) {
        a.f32(c.weighted_penalty);
        a.f32(c.last_penalty);
        a.u32(c.contract_sales_month);
        a.u32(c.late_value_month);
        a.u32(c.penalty_last_month);
        each(a, c.history, &A::f32);
    }
    // 4. Contracts that were answered.
    uint16_t answered = 0;
    for (const Customer& c : m.customers)
        for (const CustomerContract& k : c.contracts)
            answered = static_cast<uint16_t>(answered + (k.status != 0 ? 1 : 0));
    answered = count(a, answered, MAX_WORKING_CONTRACTS);
    auto contract_body = [&](CustomerContract& k) {
        a.u16(k.number);
        a.u16(k.status);
        a.date(k.offer_date);
        a.date(k.start_date);
        // A one-time contract has neither.
        a.raw_date(k.decision_date);
        if (host.version_at_least("BG_1022"))
            a.raw_date(k.end_copy);
        a.date(k.end_date);
        uint16_t items = k.item_count;
        a.u16(items);
        if (A::reading && items != k.item_count)
            a.refuse();
        for (int i = 0; i < k.item_count; ++i) {
            ContractItem& it = k.items[static_cast<size_t>(i)];
            const uint16_t family = it.family, prod = it.product;
            a.u16(it.family);
            a.u16(it.product);
            a.u16(it.quantity);
            a.i32(it.unit_price);
            a.u16(it.discount);
            a.u16(it.ordered);
            a.u16(it.blanket_min);
            a.u16(it.blanket_max);
            each(a, it.pending, &A::u16);
            if (A::reading && (it.family != family || it.product != prod))
                a.refuse();
        }
        const uint16_t supply = count(a, k.supply.size(), MAX_SUPPLY_LIST);
        if (A::reading)
            k.supply.assign(supply, SimDateTime{});
        for (SimDateTime& d : k.supply)
            a.date(d);
        for (uint16_t* v : {&k.deliveries_made, &k.blanket_drawn, &k.first_load, &k.spare, &k.renewed, &k.cleared,
                            &k.ordered_units, &k.offered, &k.end_processed, &k.decision_made})
            a.u16(*v);
        a.u16(k.blanket_days);
        a.u16(k.blanket_pending);
        if (A::reading && (k.status < 1 || k.status > 2 || k.deliveries_made > k.supply.size() ||
                           k.blanket_drawn > k.supply.size() || k.blanket_pending > MAX_BLANKET_SHIPMENTS))
            a.refuse();
    };
    if (A::reading) {
        for (uint16_t i = 0; i < answered && a.ok(); ++i) {
            uint16_t c = 0, k = 0;
            a.u16(c);
            a.u16(k);
            if (c >= m.customers.size() || k >= m.customers[c].contracts.size()) {
                a.refuse();
                break;
            }
            contract_body(m.customers[c].contracts[k]);
        }
    } else {
        for (size_t c = 0; c < m.customers.size(); ++c)
            for (size_t k = 0; k < m.customers[c].contracts.size(); ++k) {
                CustomerContract& ct = m.customers[c].contracts[k];
                if (ct.status == 0)
                    continue;
                uint16_t cc = static_cast<uint16_t>(c), kk = static_cast<uint16_t>(k);
                a.u16(cc);
                a.u16(kk);
                contract_body(ct);
            }
    }
    if (!a.ok())
        return false;
    // 5. Loaded deliveries.
    const uint16_t loaded = count(a, m.loaded.size(), MAX_LOADED_CONTRACTS - 1);
    if (A::reading)
        m.loaded.assign(loaded, LoadedContract{});
    for (LoadedContract& l : m.loaded) {
        a.date(l.due);
        a.u16(l.customer);
        a.u16(l.contract);
        a.u16(l.days_waited);
        a.u16(l.item_count);
        for (LoadedLine& line : l.lines) {
            a.u16(line.family);
            a.u16(line.product);
            a.u16(line.quantity);
        }
        a.date(l.supply);
        if (A::reading) {
            if (l.customer >= m.customers.size() || l.contract >= m.customers[l.customer].contracts.size() ||
                l.item_count != m.customers[l.customer].contracts[l.contract].item_count) {
                a.refuse();
                break;
            }
            for (int i = 0; i < l.item_count; ++i)
                if (!m.product_exists(l.lines[static_cast<size_t>(i)].family, l.lines[static_cast<size_t>(i)].product))
                    a.refuse();
        }
    }
    // 6. New products: the entries whole; five fields and the launch date are taken back.
    uint16_t entries = m.new_product_count;
    a.u16(entries);
    if (A::reading && entries != m.new_product_count)
        a.refuse();
    for (NewProductEntry& e : m.new_products) {
        if constexpr (A::reading)
            a.zeros(NEW_PRODUCT_IMAGE_SIZE);
        else
            product_image(a.w, e.product);
        a.raw_date(e.date);
        uint16_t family = e.family;
        a.u16(family);
        a.i32(e.cost);
        a.u16(e.pending);
        a.zeros(72);
        a.u16(e.due);
        a.zeros(128);
        int16_t index = e.index;
        a.i16(index);
        a.zeros(4);
        a.i32(e.yearly);
        a.u16(e.introduced);
        if (A::reading) {
            const bool used = &e - m.new_products.data() < m.new_product_count;
            if (used && (family != e.family || (index != NOT_INTRODUCED && (index < 0 || index >= MAX_PRODUCTS)) ||
                         e.pending > 1 || e.due > 1 || e.introduced > 1))
                a.refuse();
            e.index = index;
        }
    }
    // 7. Department fields.
    a.u16(m.link_mode_);
    a.u16(m.link_mode_copy);
    a.u16(m.scenario_link_mode);
    a.u16(m.restart_stage);
    a.u32(m.sales_value_run);
    a.u32(m.sales_value_month);
    a.u32(m.sales_value_last_month);
    a.u32(m.lost_value_month);
    a.u16(m.sales_spare);
    a.i16(m.max_wait);
    a.u16(m.red_line_active);
    float smoothing = m.smoothing;
    a.f32(smoothing);  // the scenario's factor stays
    a.u16(m.plan_days_before);
    a.u16(m.dept_spare);
    a.u16(m.contract_horizon_once);
    a.u16(m.plan_by_qlt);
    a.u16(m.contract_counter);
    a.u16(m.day_index);
    a.u16(m.day_count);
    a.u16(m.month_count);
    for (SimDateTime& d : m.day_dates)
        a.raw_date(d);
    if (A::reading && (m.link_mode_ > 3 || m.restart_stage > 4 || m.day_index > MAX_DAY_DATES || m.plan_by_qlt > 1 ||
                       m.max_wait < 0))
        a.refuse();
    // 8. The export pools, when a line was requested.
    uint16_t exports = m.any_export_line() ? 1 : 0;
    a.u16(exports);
    if (A::reading && exports != (m.any_export_line() ? 1 : 0))
        a.refuse();
    if (exports != 0 && a.ok()) {
        a.u16(m.exp_pool_spare);
        const uint16_t orders = count(a, m.exp_open_orders.size(), MAX_EXPORT_ORDERS - 1);
        if (A::reading)
            m.exp_open_orders.assign(orders, OpenOrder{});
        for (OpenOrder& o : m.exp_open_orders) {
            open_order(a, o);
            if (A::reading && (!m.export_line_active(o.family, o.product) || o.units < 1 || o.days_late < 0))
                a.refuse();
        }
        const uint16_t transfers = count(a, m.exp_transport_orders.size(), MAX_TRANSPORT_ORDERS);
        if (A::reading)
            m.exp_transport_orders.assign(transfers, TransportOrder{});
        for (TransportOrder& t : m.exp_transport_orders) {
            transport_order(a, t);
            if (A::reading && (!m.product_exists(t.family, t.product) || !m.product(t.family, t.product).exp ||
                               m.product(t.family, t.product).exp->added == 0 || t.units < 1))
                a.refuse();
        }
        if (A::reading) {
            bool added = false;
            for (int f = 0; f < m.family_count_; ++f)
                for (int p = 0; p < m.product_count(f); ++p)
                    added = added || m.product(f, p).export_added != 0;
            m.export_pools = added;
        }
    }
    // 9. The month's material cost of sales: the oldest files hold it too,
    // but what they hold is not taken (the scenario's value stays).
    if (!A::reading || !host.oldest_version())
        for (auto& row : m.cost_of_sales_month)
            each(a, row, &A::f32);
    else
        for (const auto& row : m.cost_of_sales_month)
            a.zeros(static_cast<int>(row.size()) * 4);   // 32-bit floats
    // 10. Cancelled units, fixed demands and their fractions.
    if (host.version_at_least("BG_1026")) {
        for (auto& row : m.cancelled_units_month)
            each(a, row, &A::u16);
        for (auto& row : m.fixed_demand)
            each(a, row, &A::f32);
        for (auto& row : m.fixed_carry)
            each(a, row, &A::f32);
    }
    // 11, 12.
    if (host.version_at_least("BG_1020"))
        a.u16(m.plan_merge);
    a.u16(m.mto_supply_option);
    // 13. Today's revenue.
    if (host.version_at_least("BG_1029"))
        for (auto& row : m.revenue_today)
            each(a, row, &A::i32);
    // 14. The daily-sales graph.
    if (host.version_at_least("BG_1030")) {
        SalesGraph& g = m.sales_graph;
        a.f64(g.x_min);
        a.f64(g.x_max);
        a.f64(g.y_max);
        const uint16_t days = count(a, g.daily.size(), SALES_GRAPH_DAYS);
        if (A::reading)
            g.daily.assign(days, 0);
        for (int32_t& v : g.daily)
            a.i32(v);
        const uint16_t covered = count(a, g.averages.size(), days);
        if (A::reading)
            g.averages.assign(covered, 0);
        for (int32_t& v : g.averages)
            a.i32(v);
    }
    return a.ok();
}

// What the older files did not keep: the campaigns' run, the lost units, the
// phase-out allowances and the export lines' revenue series.
template <class A>
static bool walk_tail(CMarketingWnd& m, A& a)
{
    for (AdvertisingCampaign& c : m.campaigns) {
        a.i32(c.active);
        a.i32(c.months_left);
        a.i32(c.level_index);
        a.i32(c.accumulated);
        for (auto& row : c.start_demand)
            each(a, row, &A::f32);
        if (A::reading && (c.active < 0 || c.active > 1 || c.months_left < 0 || c.level_index < -1 ||
                           c.level_index >= c.level_count))
            a.refuse();
    }
    for (auto& row : m.lost_units_month)
        each(a, row, &A::u16);
    for (auto& row : m.lost_units_last_month)
        each(a, row, &A::u16);
    for (auto& row : m.lost_units_series)
        for (auto& series : row)
            each(a, series, &A::u32);
    for (auto& row : m.phase_out_allowance)
        each(a, row, &A::i16);
    // The export lines' revenue series, for the lines the state file holds.
    for (int f = 0; f < m.family_count_; ++f)
        for (int p = 0; p < m.product_count(f); ++p) {
            MarketProduct& pr = m.product(f, p);
            if (pr.export_flag != 0 && pr.exp)
                each(a, pr.exp->revenue_series, &A::u32);
        }
    return a.ok();
}

void CMarketingWnd::save_state(RecordWriter& out)
{
    Out a{out};
    walk_state(*this, a, host_);
}

void CMarketingWnd::save_tail(RecordWriter& out)
{
    Out a{out};
    walk_tail(*this, a);
}

bool CMarketingWnd::load_tail(RecordReader& in)
{
    In a{in};
    return walk_tail(*this, a);
}

bool CMarketingWnd::load_state(RecordReader& in)
{
    In a{in};
    if (!walk_state(*this, a, host_))
        return false;
    // What the file does not hold comes back from the entries that were introduced.
    for (int n = 0; n < new_product_count; ++n) {
        const NewProductEntry& e = new_products[static_cast<size_t>(n)];
        if (e.index < 0)
            continue;
        Family& fam = families[e.family];
        if (e.index >= fam.product_count)
            return false;
        MarketProduct& p = fam.products[static_cast<size_t>(e.index)];
        p.box_x = e.product.box_x;
        p.box_y = e.product.box_y;
        p.base_qlt = e.product.base_qlt;
        p.base_price = e.product.base_price;
        p.base_annual_orders = e.product.base_annual_orders;
        p.shelf_life = e.product.shelf_life;
        product_names[e.family][static_cast<size_t>(e.index)] = e.name;
    }
    // Every product beyond the scenario's own is an introduced one.
    for (int f = 0; f < family_count_; ++f) {
        int introduced = 0;
        for (int n = 0; n < new_product_count; ++n)
            if (new_products[static_cast<size_t>(n)].family == f && new_products[static_cast<size_t>(n)].index >= 0)
                ++introduced;
        if (families[static_cast<size_t>(f)].product_count != scenario_products_[static_cast<size_t>(f)] + introduced)
            return false;
    }
    last_load_day = -1;
    return true;
}
