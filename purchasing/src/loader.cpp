// The scenario's "PURCHASING" and "PURCHASING_SUPPLIERS" sections. Every
// count, index and level is checked before it is used, so a scenario that
// loads is one the department can run; anything else is refused whole.
#include "purchasing/purchasing_wnd.h"
#include "app/view.h"
#include "foundation/datafile.h"
#include "foundation/msgbox.h"
#include "foundation/randtables.h"
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

// Reads one record of a section and answers its items, bounded as they are read.
class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}
    void record(int topic, int record) { get_record(static_cast<int16_t>(topic), static_cast<int16_t>(record), text_, rec_); }
    int32_t num(int item, int32_t lo, int32_t hi)
    {
        const int32_t v = get_item_int(static_cast<int16_t>(item), rec_);
        if (v < lo || v > hi)
            refuse(item);
        return v;
    }
    float real(int item) { return static_cast<float>(get_item_float(static_cast<int16_t>(item), rec_)); }
    char letter(int item) { return get_item_char(static_cast<int16_t>(item), rec_); }
    std::string text(int item)
    {
        std::string out;
        get_item(static_cast<int16_t>(item), rec_, out);
        return out;
    }
    [[noreturn]] static void refuse(int item)
    {
        data_file_position().item = static_cast<int16_t>(item);
        data_load_error(LOAD_ITEM);
    }

private:
    const std::string& text_;
    std::string rec_;
};

constexpr int32_t I16 = 32767;

// A count above its limit is the overflow box naming the limit; a negative
// one is the reader's item error.
int16_t bounded_count(Reader& in, int item, int limit, const char* name)
{
    const int32_t n = in.num(item, 0, I16);
    check_index(static_cast<int16_t>(n - 1), static_cast<int16_t>(limit), name);
    return static_cast<int16_t>(n);
}

} // namespace

void CPurchasingWnd::load_data(DataFile& file)
{
    // Nothing loads the scenario's random tables yet: the program's own
    // serve, from the current folder or the scenario's. Without them no
    // order could be placed, so the scenario is refused.
    auto have_table = [] {
        for (int16_t i = 0; i < rand_tables_count(); ++i)
            if (const RandTable* t = rand_table_at(i); t != nullptr && strcasecmp(t->name, "SUPPLIER_PLT") == 0)
                return true;
        return false;
    };
    if (!have_table() && load_random_tables("bgtables.tbl") == 0) {
        const std::string& path = view_->session_path;
        const size_t cut = path.find_last_of("/\\");
        if (cut != std::string::npos)
            load_random_tables((path.substr(0, cut + 1) + "bgtables.tbl").c_str());
    }
    if (!have_table())
        fatal_error("Rand table not found SUPPLIER_PLT");

    load_purchasing(file);
    load_suppliers(file);
    set_default_suppliers();
    check_material_red_line();
}

void CPurchasingWnd::load_purchasing(DataFile& file)
{
    std::string text;
    find_section(file, "PURCHASING", text, 1);
    Reader in(text);
    in.record(1, 1);
    family_count_ = bounded_count(in, 1, MAX_RM_FAMILYS, "MAX_RM_FAMILYS");
    for (int f = 0; f < family_count_; ++f) {
        MaterialFamily& fam = families[static_cast<size_t>(f)];
        fam = MaterialFamily{};
        in.record(2 + f, 1);
        fam.letter = in.letter(1);
        fam.colour = static_cast<int16_t>(in.num(2, 0, 15));
        fam.count = bounded_count(in, 3, MAX_MATERIALS, "MAX_MATERIALS");
        for (int i = 0; i < fam.count; ++i) {
            RawMaterial& m = fam.materials[static_cast<size_t>(i)];
            in.record(2 + f, 2 + i);
            m.id = static_cast<int16_t>(f * 1000 + i * 100);
            m.letter = in.letter(1);
            m.x = static_cast<int16_t>(static_cast<float>(in.num(2, 0, 640)) * view().scale_x);
            m.y = static_cast<int16_t>(static_cast<float>(in.num(3, 0, 480)) * view().scale_y);
            m.stock = m.opening_stock = m.stock_year_start = m.stock_last_year_start =
                static_cast<int16_t>(in.num(4, -32768, I16));
            m.max_level = static_cast<int16_t>(in.num(5, 0, I16));
            m.order_level = static_cast<int16_t>(in.num(6, 0, I16));
            m.red_line_level = static_cast<int16_t>(in.num(7, 0, I16));
            // Checked against the suppliers once they are read.
            m.default_supplier = static_cast<int16_t>(in.num(8, 0, MAX_SUPPLIERS - 1));
            for (int k = 0; k < 6; ++k)
                m.red_line_shares[static_cast<size_t>(k)] = in.real(9 + k);
            for (int k = 0; k < 12; ++k)
                m.monthly_issues[static_cast<size_t>(k)] = in.real(15 + k);
            const float last = m.monthly_issues[11];
            m.issued_last_month =
                static_cast<int16_t>(last > 32767.0f ? 32767 : last < -32768.0f ? -32768 : static_cast<int32_t>(last));
        }
    }

    levels_shown = 1;
    orders.clear();
    on_order = {};
    unsupplied_since_step = unsupplied_this_month = unsupplied_last_month = {};
    unsupplied_this_year = unsupplied_last_year = {};
    safety_stock = issued_since_plan = mrp_red_line = red_line_time = {};
    contracts.clear();
    shipments.clear();
    shipping_total = shipping_this_year = shipping_last_year = 0;
    shipping_this_month = shipping_last_month = 0;
    policy = POLICY_ORDER_LEVEL;
    days_before_qlt = 0;
    according_to_qlt = 1;
    replan_weekly = 1;
    minimum_to_order = 0;
}

void CPurchasingWnd::load_suppliers(DataFile& file)
{
    std::string text;
    find_section(file, "PURCHASING_SUPPLIERS", text, 1);
    Reader in(text);
    in.record(1, 1);
    supplier_count = bounded_count(in, 1, MAX_SUPPLIERS, "MAX_SUPPLIERS");
    int16_t package_id = 1;
    for (int s = 0; s < supplier_count; ++s) {
        Supplier& sup = suppliers[static_cast<size_t>(s)];
        sup = Supplier{};
        in.record(2 + s, 1);
        sup.number = static_cast<int16_t>(s + 1);
        const std::string name = in.text(1);
        std::memcpy(sup.name.data(), name.data(), std::min<size_t>(name.size(), SUPPLIER_NAME - 1));
        sup.quoted_lead = static_cast<int16_t>(in.num(2, 0, I16));
        sup.lead_base = static_cast<int16_t>(in.num(3, 0, I16));
        sup.shipping_cost = static_cast<int16_t>(in.num(4, 0, I16));
        sup.price_count = bounded_count(in, 5, MAX_RM_ITEMS, "MAX_RM_ITEMS");
        sup.package_count = bounded_count(in, 6, MAX_PACKAGES_PER_SUPPLIER, "MAX_PACKAGES_PER_SUPPLIER");
        (void)in.text(7);
        sup.unused25 = 25;
        int record = 2;
        auto known_material = [&](int fi, int mi) {
            if (fi >= family_count_)
                Reader::refuse(1);
            if (mi >= families[static_cast<size_t>(fi)].count)
                Reader::refuse(2);
        };
        for (int k = 0; k < sup.price_count; ++k, ++record) {
            in.record(2 + s, record);
            PriceEntry& e = sup.prices[static_cast<size_t>(k)];
            e.family = static_cast<int16_t>(in.num(1, 0, MAX_RM_FAMILYS - 1));
            e.material = static_cast<int16_t>(in.num(2, 0, MAX_MATERIALS - 1));
            known_material(e.family, e.material);
            e.price = static_cast<int16_t>(in.num(3, 0, I16));
        }
        for (int p = 0; p < sup.package_count; ++p) {
            SupplierPackage& pk = sup.packages[static_cast<size_t>(p)];
            in.record(2 + s, record++);
            pk.id = package_id++;
            pk.shipment_day = static_cast<int16_t>(in.num(1, 1, 7));
            pk.frequency = in.num(2, 1, 2) == 1 ? FREQUENCY_WEEKLY : FREQUENCY_MONTHLY;
            pk.minimum = static_cast<int16_t>(in.num(3, 0, I16));
            pk.count = bounded_count(in, 4, MAX_PACKAGE_ITEMS_PER_PACKAGE, "MAX_PACKAGE_ITEMS_PER_PACKAGE");
            for (int k = 0; k < pk.count; ++k) {
                in.record(2 + s, record++);
                PackageItem& it = pk.items[static_cast<size_t>(k)];
                it.family = static_cast<int16_t>(in.num(1, 0, MAX_RM_FAMILYS - 1));
                it.material = static_cast<int16_t>(in.num(2, 0, MAX_MATERIALS - 1));
                known_material(it.family, it.material);
                it.price = static_cast<int16_t>(in.num(3, 0, I16));
            }
        }
    }
}

bool CPurchasingWnd::supplier_sells(int supplier, int family, int m) const
{
    if (supplier < 0 || supplier >= supplier_count)
        return false;
    const Supplier& s = suppliers[static_cast<size_t>(supplier)];
    for (int k = 0; k < s.price_count; ++k)
        if (s.prices[static_cast<size_t>(k)].family == family && s.prices[static_cast<size_t>(k)].material == m)
            return true;
    return false;
}

void CPurchasingWnd::apply_supplier(RawMaterial& m, int family, int index, bool first)
{
    const Supplier& s = suppliers[static_cast<size_t>(m.default_supplier)];
    m.quoted_lead = s.quoted_lead;
    m.lead_base = s.lead_base;
    for (int k = 0; k < s.price_count; ++k) {
        const PriceEntry& e = s.prices[static_cast<size_t>(k)];
        if (e.family == family && e.material == index) {
            m.price = e.price;
            if (first) {
                m.first_price = e.price;
                m.average_cost = static_cast<float>(e.price);
            }
            return;
        }
    }
}

void CPurchasingWnd::set_default_suppliers()
{
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i) {
            RawMaterial& m = material(f, i);
            if (!supplier_sells(m.default_supplier, f, i)) {
                char text[64];
                std::snprintf(text, sizeof text, "No default supplier for: %c%c", families[static_cast<size_t>(f)].letter,
                              m.letter);
                fatal_error(text);
            }
            m.average_cost = 0;
            apply_supplier(m, f, i, true);
        }
}

void CPurchasingWnd::reapply_default_suppliers()
{
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
            apply_supplier(material(f, i), f, i, false);
}
