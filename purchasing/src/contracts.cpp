// Package contracts: creation, the shipment calendar, dispatch and arrival
// of shipments, and the contract's end.
#include "purchasing/purchasing_wnd.h"
#include "app/app_types.h"
#include "app/view.h"
#include "foundation/msgbox.h"
#include <algorithm>
#include <cstdlib>

namespace {

SimDateTime year_later(SimDateTime d)
{
    ++d.year;
    if (d.month == 2 && d.day == 29 && !is_leap_year(d.year))
        d.day = 28;
    return d;
}

SimDateTime next_day(const SimDateTime& d) { return add_days(d, 1); }

} // namespace

std::string CPurchasingWnd::contract_refusal(int supplier, int package, const std::vector<int32_t>& quantities) const
{
    const SupplierPackage& pk = suppliers[static_cast<size_t>(supplier)].packages[static_cast<size_t>(package)];
    int32_t sum = 0;
    for (int k = 0; k < pk.count; ++k) {
        const int32_t q = k < static_cast<int>(quantities.size()) ? quantities[static_cast<size_t>(k)] : 0;
        if (q < 0 || q > 32767)
            return "Invalid quantity:";
        sum += q;
    }
    if (sum < std::max<int32_t>(pk.minimum, 1))
        return "Requested quantites are less than the minimum";
    return {};
}

std::string CPurchasingWnd::create_contract(int supplier, int package, const std::vector<int32_t>& quantities)
{
    if (static_cast<int>(contracts.size()) >= MAX_PRC_CONTRACTS)
        return "Index Overflow MAX_PRC_CONTRACTS";
    if (std::string refused = contract_refusal(supplier, package, quantities); !refused.empty())
        return refused;
    const Supplier& s = suppliers[static_cast<size_t>(supplier)];
    PurchaseContract c;
    c.supplier = static_cast<int16_t>(supplier);
    c.package_index = static_cast<int16_t>(package);
    c.package = s.packages[static_cast<size_t>(package)];
    for (int k = 0; k < c.package.count; ++k)
        c.package.items[static_cast<size_t>(k)].quantity =
            static_cast<int16_t>(k < static_cast<int>(quantities.size()) ? quantities[static_cast<size_t>(k)] : 0);
    SimDateTime today = view_->clock.current;
    today.hour = 8;
    today.minute = 0;
    c.start = add_work_days(today, s.lead_base);
    c.end = year_later(today);
    c.end_handled = 0;
    c.reserved = 0;
    c.serial = next_serial++;
    build_shipment_dates(c);
    contracts.push_back(std::move(c));
    return {};
}

int CPurchasingWnd::build_shipment_dates(PurchaseContract& c) const
{
    c.first_dispatch = 1;
    c.next_shipment = 0;
    c.dates.clear();
    SimDateTime d = c.start;
    while (compare_dates(d, c.end) != 2 && static_cast<int>(c.dates.size()) < MAX_CONTRACT_DATES) {
        if (c.package.frequency == FREQUENCY_WEEKLY) {
            if (weekday_of(d) == c.package.shipment_day)
                c.dates.push_back(d);
            d = next_day(d);
        } else {
            if (d.day == c.start.day) {
                view_->clock.SkipToWorkDay(d);
                c.dates.push_back(d);
            }
            d = next_day(d);
        }
    }
    return static_cast<int>(c.dates.size());
}

int CPurchasingWnd::contract_by_serial(uint32_t serial) const
{
    for (size_t i = 0; i < contracts.size(); ++i)
        if (contracts[i].serial == serial)
            return static_cast<int>(i);
    return -1;
}

int CPurchasingWnd::find_contract_by_package(int package_id) const
{
    for (size_t i = 0; i < contracts.size(); ++i)
        if (contracts[i].package.id == package_id)
            return static_cast<int>(i);
    return -1;
}

// Every date within the quoted lead time that has not gone yet goes now, so
// no date is skipped by a renewal, a non-working day or a full table.
void CPurchasingWnd::dispatch_contract_shipments()
{
    const int slot = day_slot();
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
            if (slot >= 0)
                material(f, i).daily_dispatched[static_cast<size_t>(slot)] = 0;
    bool refused = false;
    for (PurchaseContract& c : contracts) {
        const SimDateTime horizon = add_work_days(view_->clock.current, suppliers[static_cast<size_t>(c.supplier)].quoted_lead);
        c.first_dispatch = 0;
        while (c.next_shipment < static_cast<int>(c.dates.size()) &&
               compare_dates(c.dates[static_cast<size_t>(c.next_shipment)], horizon) != 2) {
            if (static_cast<int>(shipments.size()) + 1 >= MAX_LOADED_CONTRACT_SHIPMENTS) {
                if (!refused)
                    ui_->box("Index Overflow MAX_LOADED_CONTRACT_SHIPMENTS", "Application Error");
                refused = true;
                break;
            }
            shipments.push_back({c.dates[static_cast<size_t>(c.next_shipment)], c.serial});
            ++c.next_shipment;
            for (int k = 0; k < c.package.count; ++k) {
                const PackageItem& it = c.package.items[static_cast<size_t>(k)];
                on_order[static_cast<size_t>(it.family)][static_cast<size_t>(it.material)] += it.quantity;
                redraw(REDRAW_ON_ORDER, it.family, it.material);
                if (slot >= 0) {
                    int16_t& d = material(it.family, it.material).daily_dispatched[static_cast<size_t>(slot)];
                    d = static_cast<int16_t>(std::min(d + it.quantity, 32767));
                }
            }
        }
    }
}

void CPurchasingWnd::receive_contract_shipments()
{
    const int slot = day_slot();
    for (int f = 0; f < family_count_; ++f)
        for (int i = 0; i < families[static_cast<size_t>(f)].count; ++i)
            if (slot >= 0)
                material(f, i).daily_contract_arrivals[static_cast<size_t>(slot)] = 0;
    for (size_t n = 0; n < shipments.size();) {
        if (compare_dates(shipments[n].arrival, view_->clock.current) == 2) {
            ++n;
            continue;
        }
        const int ci = contract_by_serial(shipments[n].contract);
        shipments.erase(shipments.begin() + static_cast<std::ptrdiff_t>(n));
        if (ci < 0)
            continue;   // its contract was ended and its units taken off order then
        const PurchaseContract& c = contracts[static_cast<size_t>(ci)];
        int32_t total = 0;
        for (int k = 0; k < c.package.count; ++k)
            total += c.package.items[static_cast<size_t>(k)].quantity;
        if (total == 0)
            fatal_error("PRC bug - total_units_in_contract=0");
        const int ship = suppliers[static_cast<size_t>(c.supplier)].shipping_cost;
        double amount = 0;
        for (int k = 0; k < c.package.count; ++k) {
            const PackageItem& it = c.package.items[static_cast<size_t>(k)];
            if (it.quantity == 0)
                continue;
            update_average_cost(it.family, it.material, it.quantity, it.price, c.supplier);
            add_stock(it.family, it.material, it.quantity, 0);
            if (slot >= 0) {
                int16_t& a = material(it.family, it.material).daily_contract_arrivals[static_cast<size_t>(slot)];
                a = static_cast<int16_t>(std::min(a + it.quantity, 32767));
            }
            int32_t& oo = on_order[static_cast<size_t>(it.family)][static_cast<size_t>(it.material)];
            oo = std::max(0, oo - it.quantity);
            redraw(REDRAW_ON_ORDER, it.family, it.material);
            amount += static_cast<double>(it.price) * it.quantity + static_cast<double>(ship) * it.quantity / total;
        }
        pay(static_cast<int32_t>(amount));
        shipping_total += ship;
        shipping_this_year += ship;
        shipping_this_month = static_cast<uint16_t>(shipping_this_month + ship);
    }
}

bool CPurchasingWnd::check_contract_ends()
{
    for (size_t i = 0; i < contracts.size();) {
        PurchaseContract& c = contracts[i];
        if (c.end_handled != 0 || compare_dates(c.end, view_->clock.current) == 2) {
            ++i;
            continue;
        }
        c.end_handled = 1;
        switch (ui_->ask_contract_end(c)) {
        case CONTRACT_RENEW:
            c.start = view_->clock.current;
            c.end = year_later(view_->clock.current);
            build_shipment_dates(c);
            c.end_handled = 0;
            ++i;
            break;
        case CONTRACT_END:
            end_contract(static_cast<int>(i));
            i = 0;
            break;
        default:
            c.end_handled = 0;
            view_->EnterHold(HELD_PURCHASING);
            return false;
        }
    }
    return true;
}

// Shipments of the contract still on their way are cancelled with it: their
// units leave the on-order figures, nothing arrives and nothing is paid.
void CPurchasingWnd::end_contract(int index)
{
    if (index < 0 || index >= static_cast<int>(contracts.size()))
        return;
    const PurchaseContract& c = contracts[static_cast<size_t>(index)];
    for (size_t n = 0; n < shipments.size();) {
        if (shipments[n].contract != c.serial) {
            ++n;
            continue;
        }
        for (int k = 0; k < c.package.count; ++k) {
            const PackageItem& it = c.package.items[static_cast<size_t>(k)];
            int32_t& oo = on_order[static_cast<size_t>(it.family)][static_cast<size_t>(it.material)];
            oo = std::max(0, oo - it.quantity);
            redraw(REDRAW_ON_ORDER, it.family, it.material);
        }
        shipments.erase(shipments.begin() + static_cast<std::ptrdiff_t>(n));
    }
    contracts.erase(contracts.begin() + index);
}
