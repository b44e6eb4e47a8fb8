// The department's part of a saved session ("%s.PRC") and its blocks of the
// policies file. The reader decodes into a copy and checks every count,
// index and flag against the scenario, so a state that loads is one the
// department can run; anything else leaves the department as it was.
#include "purchasing/purchasing_wnd.h"
#include "app/view.h"
#include "foundation/binfile.h"
#include <algorithm>

namespace {

template <typename T>
void put_table16(RecordWriter& w, const PerMaterial<T>& t)
{
    for (const auto& row : t)
        for (T v : row)
            w.i16(static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767)));
}

void put_table32(RecordWriter& w, const PerMaterial<uint32_t>& t)
{
    for (const auto& row : t)
        for (uint32_t v : row)
            w.u32(v);
}

void get_table32(RecordReader& r, PerMaterial<uint32_t>& t)
{
    for (auto& row : t)
        for (uint32_t& v : row)
            v = r.u32();
}

void put_package(RecordWriter& w, const SupplierPackage& p)
{
    w.i16(p.id);
    w.i16(p.shipment_day);
    w.i16(p.frequency);
    w.i16(p.minimum);
    w.i16(p.reserved);
    for (const PackageItem& it : p.items) {
        w.i16(it.family);
        w.i16(it.material);
        w.i16(it.price);
        w.i16(it.quantity);
    }
    w.i16(p.count);
}

SupplierPackage get_package(RecordReader& r)
{
    SupplierPackage p;
    p.id = r.i16();
    p.shipment_day = r.i16();
    p.frequency = r.i16();
    p.minimum = r.i16();
    p.reserved = r.i16();
    for (PackageItem& it : p.items) {
        it.family = r.i16();
        it.material = r.i16();
        it.price = r.i16();
        it.quantity = r.i16();
    }
    p.count = r.i16();
    return p;
}

void put_material(RecordWriter& w, const RawMaterial& m)
{
    w.i8(static_cast<int8_t>(m.letter));
    for (int16_t v : {m.id, m.x, m.y, m.lead_base, m.quoted_lead, m.max_level, m.order_level, m.red_line_level,
                      m.first_price, m.price, m.red_line_status, m.reserved, m.stock, m.opening_stock,
                      m.stock_year_start, m.stock_last_year_start, m.issued_this_month, m.issued_last_month,
                      m.in_process, m.red_line_days})
        w.i16(v);
    w.f32(m.red_line_share);
    w.f32(m.red_line_share_last_month);
    for (float v : m.red_line_shares)
        w.f32(v);
    for (float v : m.monthly_issues)
        w.f32(v);
    w.i16(m.default_supplier);
    w.f32(m.average_cost);
    for (int16_t v : m.reserved3)
        w.i16(v);
    for (const auto* a : {&m.daily_stock, &m.daily_ordered, &m.daily_dispatched, &m.daily_arrived,
                          &m.daily_contract_arrivals})
        for (int16_t v : *a)
            w.i16(v);
}

// The screen position stays the one computed from the scenario for this screen.
void get_material(RecordReader& r, RawMaterial& m)
{
    m.letter = static_cast<char>(r.i8());
    m.id = r.i16();
    (void)r.i16();
    (void)r.i16();
    for (int16_t* v : {&m.lead_base, &m.quoted_lead, &m.max_level, &m.order_level, &m.red_line_level, &m.first_price,
                       &m.price, &m.red_line_status, &m.reserved, &m.stock, &m.opening_stock, &m.stock_year_start,
                       &m.stock_last_year_start, &m.issued_this_month, &m.issued_last_month, &m.in_process,
                       &m.red_line_days})
        *v = r.i16();
    m.red_line_share = r.f32();
    m.red_line_share_last_month = r.f32();
    for (float& v : m.red_line_shares)
        v = r.f32();
    for (float& v : m.monthly_issues)
        v = r.f32();
    m.default_supplier = r.i16();
    m.average_cost = r.f32();
    for (int16_t& v : m.reserved3)
        v = r.i16();
    for (auto* a : {&m.daily_stock, &m.daily_ordered, &m.daily_dispatched, &m.daily_arrived, &m.daily_contract_arrivals})
        for (int16_t& v : *a)
            v = r.i16();
}

} // namespace

std::vector<uint8_t> CPurchasingWnd::save_state_bytes() const
{
    RecordWriter w;
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
            put_material(w, material(f, i));
    w.i16(static_cast<int16_t>(orders.size()));
    for (const VendorOrder& o : orders) {
        w.i16(o.family);
        w.i16(o.material);
        w.i16(o.quantity);
        w.i16(o.supplier);
        put_date(w, o.order_date);
        put_date(w, o.arrival);
        put_date(w, o.quoted_due);
        w.i16(0);
    }
    w.i16(supplier_count);
    for (int s = 0; s < supplier_count; ++s) {
        const Supplier& sup = suppliers[static_cast<size_t>(s)];
        w.raw(sup.name.data(), sup.name.size());
        w.i16(sup.quoted_lead);
        w.i16(sup.lead_base);
        w.i16(sup.shipping_cost);
        w.i16(sup.number);
        for (const PriceEntry& e : sup.prices) {
            w.i16(e.family);
            w.i16(e.material);
            w.i16(e.price);
        }
        w.i16(sup.price_count);
        for (const SupplierPackage& p : sup.packages)
            put_package(w, p);
        w.i16(sup.package_count);
        w.i16(sup.unused25);
        for (int16_t v : sup.lead_samples)
            w.i16(v);
        w.i16(sup.sample_count);
        w.f32(sup.average_lead);
    }
    w.i16(static_cast<int16_t>(contracts.size()));
    for (const PurchaseContract& c : contracts) {
        w.i16(c.supplier);
        w.i16(c.package_index);
        put_package(w, c.package);
        put_date(w, c.start);
        put_date(w, c.end);
        w.i16(static_cast<int16_t>(c.dates.size()));
        for (const SimDateTime& d : c.dates)
            put_date(w, d);
        w.i16(c.end_handled);
        w.i16(0);
        w.i16(c.first_dispatch);
        w.i16(c.next_shipment);
    }
    // A shipment names its contract by the contract's place in this file.
    w.i16(static_cast<int16_t>(shipments.size()));
    for (const ContractShipment& s : shipments) {
        put_date(w, s.arrival);
        w.i16(static_cast<int16_t>(contract_by_serial(s.contract)));
    }
    put_table16(w, on_order);
    w.i32(shipping_total);
    w.i32(shipping_this_year);
    w.i32(shipping_last_year);
    w.i16(levels_shown);
    w.u16(shipping_this_month);
    w.u16(shipping_last_month);
    w.i16(day_index);
    for (const SimDateTime& d : day_dates)
        put_date(w, d);
    // The later fields, as far as the file being written carries them (the loader's gates).
    if (view_->IsOldestStateVersion() == 0) {
        w.i16(policy);
        w.i16(static_cast<int16_t>(plan.size()));
        for (const MrpPlanEntry& e : plan) {
            w.i16(e.family);
            w.i16(e.material);
            w.i16(e.quantity);
            put_date(w, e.order_date);
            put_date(w, e.need_date);
        }
        w.i16(days_before_qlt);
        w.i16(according_to_qlt);
        put_table16(w, safety_stock);
        put_table16(w, mrp_red_line);
        put_table16(w, red_line_time);
        put_table32(w, unsupplied_this_month);
        put_table32(w, unsupplied_last_month);
        put_table32(w, unsupplied_this_year);
        put_table32(w, unsupplied_last_year);
    }
    if (view_->CheckVersionId("BG_1021") != 0) {
        put_table16(w, issued_since_plan);
        w.i16(replan_weekly);
    }
    if (view_->CheckVersionId("BG_1027") != 0)
        w.i16(minimum_to_order);
    if (view_->CheckVersionId("BG_1028") != 0)
        put_table32(w, unsupplied_since_step);
    return w.bytes();
}

bool CPurchasingWnd::load_state_bytes(const std::vector<uint8_t>& bytes)
{
    CPurchasingWnd s(*this);
    RecordReader r(bytes.data(), bytes.size());
    auto in_range = [](int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; };
    auto known = [&](int f, int m) { return in_range(f, 0, s.family_count_ - 1) && in_range(m, 0, s.material_count(f) - 1); };
    auto package_ok = [&](const SupplierPackage& p, bool ordered) {
        if (!in_range(p.shipment_day, 1, 7) || !in_range(p.frequency, 0, 1) || p.minimum < 0 ||
            !in_range(p.count, 0, MAX_PACKAGE_ITEMS_PER_PACKAGE))
            return false;
        int32_t sum = 0;
        for (int k = 0; k < p.count; ++k) {
            const PackageItem& it = p.items[static_cast<size_t>(k)];
            if (!known(it.family, it.material) || it.price < 0 || it.quantity < 0)
                return false;
            sum += it.quantity;
        }
        return !ordered || sum >= 1;
    };

    for (int f = 0; f < s.family_count_; ++f)
        for (int i = 0; i < s.families[static_cast<size_t>(f)].count; ++i) {
            RawMaterial& m = s.material(f, i);
            get_material(r, m);
            if (!in_range(m.red_line_status, 0, 2))
                return false;
        }

    const int16_t n = r.i16();
    if (!in_range(n, 0, MAX_RM_ORDERS - 1))
        return false;
    s.orders.assign(static_cast<size_t>(n), VendorOrder{});
    for (VendorOrder& o : s.orders) {
        o.family = r.i16();
        o.material = r.i16();
        o.quantity = r.i16();
        o.supplier = r.i16();
        o.order_date = get_date(r);
        o.arrival = get_date(r);
        o.quoted_due = get_date(r);
        o.reserved = r.i16();
        if (!known(o.family, o.material) || o.quantity < 1 || !real_date(o.order_date) || !real_date(o.arrival) ||
            !real_date(o.quoted_due))
            return false;
    }

    if (r.i16() != s.supplier_count)
        return false;
    for (int k = 0; k < s.supplier_count; ++k) {
        Supplier& sup = s.suppliers[static_cast<size_t>(k)];
        // Prices always come from the scenario.
        const auto prices = sup.prices;
        const int16_t price_count = sup.price_count;
        r.raw(sup.name.data(), sup.name.size());
        sup.name.back() = 0;
        sup.quoted_lead = r.i16();
        sup.lead_base = r.i16();
        sup.shipping_cost = r.i16();
        sup.number = r.i16();
        for (PriceEntry& e : sup.prices) {
            e.family = r.i16();
            e.material = r.i16();
            e.price = r.i16();
        }
        sup.price_count = r.i16();
        sup.prices = prices;
        sup.price_count = price_count;
        for (SupplierPackage& p : sup.packages)
            p = get_package(r);
        sup.package_count = r.i16();
        sup.unused25 = r.i16();
        for (int16_t& v : sup.lead_samples)
            v = r.i16();
        sup.sample_count = r.i16();
        sup.average_lead = r.f32();
        if (sup.quoted_lead < 0 || sup.lead_base < 0 || sup.shipping_cost < 0 ||
            !in_range(sup.package_count, 0, MAX_PACKAGES_PER_SUPPLIER) || !in_range(sup.sample_count, 0, MAX_LEAD_SAMPLES))
            return false;
        for (int p = 0; p < sup.package_count; ++p)
            if (!package_ok(sup.packages[static_cast<size_t>(p)], false))
                return false;
    }
    for (int f = 0; f < s.family_count_; ++f)
        for (int i = 0; i < s.families[static_cast<size_t>(f)].count; ++i)
            if (!s.supplier_sells(s.material(f, i).default_supplier, f, i))
                return false;
    for (const VendorOrder& o : s.orders)
        if (!s.supplier_sells(o.supplier, o.family, o.material))
            return false;

    const int16_t c = r.i16();
    if (!in_range(c, 0, MAX_PRC_CONTRACTS))
        return false;
    s.contracts.assign(static_cast<size_t>(c), PurchaseContract{});
    s.next_serial = 1;
    for (PurchaseContract& k : s.contracts) {
        k.supplier = r.i16();
        k.package_index = r.i16();
        k.package = get_package(r);
        k.start = get_date(r);
        k.end = get_date(r);
        const int16_t dates = r.i16();
        if (!in_range(dates, 0, MAX_CONTRACT_DATES))
            return false;
        k.dates.resize(static_cast<size_t>(dates));
        for (SimDateTime& d : k.dates) {
            d = get_date(r);
            if (!real_date(d))
                return false;
        }
        k.end_handled = r.i16();
        k.reserved = r.i16();
        k.first_dispatch = r.i16();
        k.next_shipment = r.i16();
        k.serial = s.next_serial++;
        if (!in_range(k.supplier, 0, s.supplier_count - 1) ||
            !in_range(k.package_index, 0, s.suppliers[static_cast<size_t>(k.supplier)].package_count - 1) ||
            !package_ok(k.package, true) || !real_date(k.start) || !real_date(k.end) || !in_range(k.end_handled, 0, 1) ||
            !in_range(k.first_dispatch, 0, 1) || !in_range(k.next_shipment, 0, dates))
            return false;
    }

    const int16_t m = r.i16();
    if (!in_range(m, 0, MAX_LOADED_CONTRACT_SHIPMENTS - 1))
        return false;
    s.shipments.assign(static_cast<size_t>(m), ContractShipment{});
    for (ContractShipment& sh : s.shipments) {
        sh.arrival = get_date(r);
        const int16_t position = r.i16();
        if (!real_date(sh.arrival) || !in_range(position, 0, c - 1))
            return false;
        sh.contract = s.contracts[static_cast<size_t>(position)].serial;
    }

    for (auto& row : s.on_order)
        for (int32_t& v : row) {
            v = r.i16();
            if (v < 0)
                return false;
        }
    s.shipping_total = r.i32();
    s.shipping_this_year = r.i32();
    s.shipping_last_year = r.i32();
    s.levels_shown = r.i16();
    s.shipping_this_month = r.u16();
    s.shipping_last_month = r.u16();
    s.day_index = r.i16();
    for (SimDateTime& d : s.day_dates)
        d = get_date(r);
    if (!in_range(s.levels_shown, 0, 1) || !in_range(s.day_index, 0, DAYS_KEPT))
        return false;

    auto table16 = [&](PerMaterial<int16_t>& t, int32_t lo, int32_t hi) {
        for (auto& row : t)
            for (int16_t& v : row) {
                v = r.i16();
                if (!in_range(v, lo, hi))
                    return false;
            }
        return true;
    };
    if (view_->IsOldestStateVersion() == 0) {
        s.policy = r.i16();
        const int16_t entries = r.i16();
        if (!in_range(s.policy, 0, 1) || entries < 0 || static_cast<size_t>(entries) * PLAN_ENTRY_BYTES > r.remaining())
            return false;
        s.plan.assign(static_cast<size_t>(entries), MrpPlanEntry{});
        for (MrpPlanEntry& e : s.plan) {
            e.family = r.i16();
            e.material = r.i16();
            e.quantity = r.i16();
            e.order_date = get_date(r);
            e.need_date = get_date(r);
            if (!known(e.family, e.material) || !real_date(e.order_date) || !real_date(e.need_date))
                return false;
        }
        s.days_before_qlt = r.i16();
        s.according_to_qlt = r.i16();
        if (s.days_before_qlt < 0 || !in_range(s.according_to_qlt, 0, 1) || !table16(s.safety_stock, 0, 32767) ||
            !table16(s.mrp_red_line, 0, 1) || !table16(s.red_line_time, 0, 32767))
            return false;
        get_table32(r, s.unsupplied_this_month);
        get_table32(r, s.unsupplied_last_month);
        get_table32(r, s.unsupplied_this_year);
        get_table32(r, s.unsupplied_last_year);
    }
    if (view_->CheckVersionId("BG_1021") != 0) {
        if (!table16(s.issued_since_plan, -32768, 32767))
            return false;
        s.replan_weekly = r.i16();
        if (!in_range(s.replan_weekly, 0, 1))
            return false;
    }
    if (view_->CheckVersionId("BG_1027") != 0) {
        s.minimum_to_order = r.i16();
        if (s.minimum_to_order < 0)
            return false;
    }
    if (view_->CheckVersionId("BG_1028") != 0)
        get_table32(r, s.unsupplied_since_step);
    if (r.failed() || r.remaining() != 0)
        return false;
    *this = s;
    return true;
}

int32_t CPurchasingWnd::policies_size() const { return policies_size_for(total_materials()); }

void CPurchasingWnd::write_policies(RecordWriter& out) const
{
    out.i16(policy);
    out.i16(according_to_qlt);
    out.i16(days_before_qlt);
    out.i16(minimum_to_order);
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            out.i16(material(f, i).max_level);
            out.i16(material(f, i).order_level);
            out.i16(material(f, i).red_line_level);
        }
    put_table16(out, safety_stock);
    put_table16(out, red_line_time);
}

bool CPurchasingWnd::read_policies(RecordReader& in)
{
    CPurchasingWnd s(*this);
    auto ok = [](int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; };
    s.policy = in.i16();
    s.according_to_qlt = in.i16();
    s.days_before_qlt = in.i16();
    s.minimum_to_order = in.i16();
    bool good = ok(s.policy, 0, 1) && ok(s.according_to_qlt, 0, 1) && s.days_before_qlt >= 0 && s.minimum_to_order >= 0;
    for (int f = 0; f < s.family_count_; ++f)
        for (int i = 0; i < s.families[static_cast<size_t>(f)].count; ++i) {
            RawMaterial& m = s.material(f, i);
            m.max_level = in.i16();
            m.order_level = in.i16();
            m.red_line_level = in.i16();
            good = good && m.max_level >= 0 && m.order_level >= 0 && m.red_line_level >= 0;
        }
    for (auto* t : {&s.safety_stock, &s.red_line_time})
        for (auto& row : *t)
            for (int16_t& v : row) {
                v = in.i16();
                good = good && v >= 0;
            }
    if (!good || in.failed())
        return false;
    *this = s;
    return true;
}
