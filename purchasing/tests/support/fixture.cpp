#include "support/fixture.h"
#include "foundation/randtables.h"
#include <cstring>

SimDateTime at(int year, int month, int day, int hour, int minute)
{
    return SimDateTime{static_cast<int16_t>(year - 1900), static_cast<int16_t>(month), static_cast<int16_t>(day),
                       static_cast<int16_t>(hour), static_cast<int16_t>(minute)};
}

SimDateTime monday_0800() { return at(1996, 3, 4); }

void fixed_lead_draw(int16_t value)
{
    rand_tables_clear();
    RandTable t{};
    std::strcpy(t.name, "SUPPLIER_PLT");
    t.threshold[0] = 32767;
    t.value[0] = value;
    t.count = 1;
    rand_tables_add(t);
}

static void name(Supplier& s, const char* text) { std::strncpy(s.name.data(), text, s.name.size() - 1); }

Fixture::Fixture() : view(Configuration{}), p(view, ui)
{
    previous_view = set_active_view(&view);
    view.srand(1);
    view.clock.SetShiftMode(SHIFT_ONE);
    view.clock.current = monday_0800();
    view.tick_count = 100;
    p.finance = &finance;
    fixed_lead_draw(10);

    p.family_count_ = 2;
    MaterialFamily& x = p.families[0];
    x.letter = 'X';
    x.colour = 9;
    x.count = 2;
    MaterialFamily& y = p.families[1];
    y.letter = 'Y';
    y.colour = 12;
    y.count = 1;
    auto mat = [](RawMaterial& m, char letter, int stock, int max, int order, int red, int supplier) {
        m.letter = letter;
        m.stock = m.opening_stock = m.stock_year_start = m.stock_last_year_start = static_cast<int16_t>(stock);
        m.max_level = static_cast<int16_t>(max);
        m.order_level = static_cast<int16_t>(order);
        m.red_line_level = static_cast<int16_t>(red);
        m.default_supplier = static_cast<int16_t>(supplier);
    };
    mat(x.materials[0], 'A', 400, 800, 350, 100, 0);
    mat(x.materials[1], 'B', 300, 500, 200, 60, 1);
    mat(y.materials[0], 'A', 500, 800, 300, 100, 1);

    p.supplier_count = 2;
    Supplier& a = p.suppliers[0];
    name(a, "Alpha Metals");
    a.quoted_lead = 10;
    a.lead_base = 10;
    a.shipping_cost = 50;
    a.number = 1;
    a.price_count = 2;
    a.prices[0] = {0, 0, 6};
    a.prices[1] = {0, 1, 10};
    a.package_count = 1;
    SupplierPackage& pa = a.packages[0];
    pa.id = 1;
    pa.shipment_day = 2;
    pa.frequency = FREQUENCY_WEEKLY;
    pa.minimum = 10;
    pa.count = 2;
    pa.items[0] = {0, 0, 5, 0};
    pa.items[1] = {0, 1, 9, 0};

    Supplier& b = p.suppliers[1];
    name(b, "Beta Supply");
    b.quoted_lead = 5;
    b.lead_base = 5;
    b.shipping_cost = 30;
    b.number = 2;
    b.price_count = 2;
    b.prices[0] = {0, 1, 9};
    b.prices[1] = {1, 0, 4};
    b.package_count = 1;
    SupplierPackage& pb = b.packages[0];
    pb.id = 2;
    pb.shipment_day = 4;
    pb.frequency = FREQUENCY_MONTHLY;
    pb.minimum = 20;
    pb.count = 1;
    pb.items[0] = {1, 0, 3, 0};

    for (int f = 0; f < 2; ++f)
        for (int i = 0; i < p.families[static_cast<size_t>(f)].count; ++i) {
            RawMaterial& m = p.material(f, i);
            const Supplier& s = p.suppliers[static_cast<size_t>(m.default_supplier)];
            m.quoted_lead = s.quoted_lead;
            m.lead_base = s.lead_base;
            m.price = m.first_price = p.get_supplier_price(m.default_supplier, f, i);
            m.average_cost = m.price;
        }
    p.check_material_red_line();
}

Fixture::~Fixture() { set_active_view(previous_view); }

void Fixture::next_day()
{
    view.clock.current = view.clock.AddWorkDays(view.clock.current, 1);
    view.tick_count += 480;
    step();
}
