// Customer contracts: offers, selection, deliveries loaded and shipped,
// cancellation, renewal, blanket shipments and the contract sums.
#include "market_util.h"
#include "marketing/marketing_wnd.h"
#include <cstdio>

using namespace mkt;

float CMarketingWnd::get_customer_weighted_average(int c) const
{
    return weighted6(customers[static_cast<size_t>(c)].history);
}

void CMarketingWnd::set_contract_prices(int c, int k)
{
    CustomerContract& ct = customers[static_cast<size_t>(c)].contracts[static_cast<size_t>(k)];
    for (int i = 0; i < ct.item_count; ++i) {
        ContractItem& it = ct.items[static_cast<size_t>(i)];
        const int base = product_exists(it.family, it.product) ? product(it.family, it.product).base_price : 0;
        it.unit_price = base * (100 - it.discount) / 100;
    }
}

void CMarketingWnd::set_contract_end_copy(int c, int k)
{
    CustomerContract& ct = customers[static_cast<size_t>(c)].contracts[static_cast<size_t>(k)];
    if (ct.type == CONTRACT_ONE_TIME)
        return;
    const int d = days_between(ct.start_date, ct.offer_date);
    if (d < 1) {
        ct.decision_date = ct.end_date;
    } else if (day_order(ct.end_date, ct.start_date) <= 0) {
        ct.decision_date = ct.start_date;
    } else {
        SimDateTime x = add_days(ct.start_date, 1);
        for (int guard = 0; guard < 4000 && day_order(add_days(x, static_cast<int16_t>(d)), ct.end_date) < 0; ++guard)
            x = add_days(x, 1);
        ct.decision_date = x;
    }
    host_.skip_to_work_day(ct.decision_date);
}

uint16_t CMarketingWnd::build_contract_supply_list(std::vector<SimDateTime>& out, int c, int k, const SimDateTime& from,
                                                   const SimDateTime& to) const
{
    const CustomerContract& ct = customers[static_cast<size_t>(c)].contracts[static_cast<size_t>(k)];
    out.clear();
    SimDateTime d = from;
    for (int guard = 0; guard < 4000 && day_order(d, to) <= 0 && out.size() < MAX_SUPPLY_LIST + 1; ++guard) {
        if (ct.period == 0) {
            if (weekday_of(d) == ct.delivery_day)
                out.push_back(d);
        } else if (d.day == ct.start_date.day) {
            SimDateTime w = d;
            host_.skip_to_work_day(w);
            out.push_back(w);
        }
        d = add_days(d, 1);
    }
    return static_cast<uint16_t>(out.size());
}

bool CMarketingWnd::is_contract_active(int c, int k) const
{
    const CustomerContract& ct = customers[static_cast<size_t>(c)].contracts[static_cast<size_t>(k)];
    if (ct.status == CONTRACT_NOT_ACCEPTED)
        return false;
    if (ct.status == CONTRACT_ENDED) {
        if (ct.type != CONTRACT_ONE_TIME)
            return false;
        for (const LoadedContract& l : loaded)
            if (l.customer == c && l.contract == k)
                return true;
        return false;
    }
    const SimDateTime today = host_.today();
    if (day_order(ct.offer_date, today) <= 0)
        return day_order(ct.end_date, today) > 0;
    return ct.renewed != 0 && day_order(ct.end_date, today) > 0;
}

void CMarketingWnd::find_contract_by_number(uint16_t number, uint16_t& c, uint16_t& k) const
{
    c = k = NO_INDEX;
    for (size_t i = 0; i < customers.size(); ++i)
        for (size_t j = 0; j < customers[i].contracts.size(); ++j)
            if (customers[i].contracts[j].number == number) {
                c = static_cast<uint16_t>(i);
                k = static_cast<uint16_t>(j);
                return;
            }
}

int16_t CMarketingWnd::get_contract_max_lead_time(int c, int k) const
{
    const CustomerContract& ct = customers[static_cast<size_t>(c)].contracts[static_cast<size_t>(k)];
    int m = 0;
    for (int i = 0; i < ct.item_count; ++i)
        if (product_exists(ct.items[static_cast<size_t>(i)].family, ct.items[static_cast<size_t>(i)].product))
            m = std::max<int>(m, product(ct.items[static_cast<size_t>(i)].family, ct.items[static_cast<size_t>(i)].product).qlt);
    return static_cast<int16_t>(m);
}

int CMarketingWnd::contract_horizon(const CustomerContract& ct, int c, int k) const
{
    int h = plan_by_qlt ? get_contract_max_lead_time(c, k) : plan_days_before;
    if (ct.type == CONTRACT_BLANKET)
        h = std::min<int>(h, ct.blanket_days);
    return h;
}

// The quantity of the contract's item on its delivery `shipment` places
// after the next one to load: a drawn blanket quantity when there is one.
uint16_t CMarketingWnd::blanket_qty(const CustomerContract& ct, int item, int shipment) const
{
    const ContractItem& it = ct.items[static_cast<size_t>(item)];
    if (ct.type == CONTRACT_BLANKET && shipment >= 0 && shipment < ct.blanket_pending)
        return it.pending[static_cast<size_t>(shipment)];
    return it.quantity;
}

void CMarketingWnd::load_contracts()
{
    const SimDateTime today = host_.today();
    if (today.day == last_load_day)
        return;
    last_load_day = today.day;
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k) {
            if (!is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            CustomerContract& ct = customers[c].contracts[k];
            int horizon = get_contract_max_lead_time(static_cast<int>(c), static_cast<int>(k)) - 1;
            if (ct.type == CONTRACT_BLANKET)
                horizon = std::min<int>(horizon, ct.blanket_days - 1);
            const SimDateTime edge = host_.add_work_days(today, horizon);
            int n = 0;
            if (ct.first_load) {
                ct.first_load = 0;
                for (size_t j = ct.deliveries_made; j < ct.supply.size(); ++j)
                    if (day_order(ct.supply[j], edge) <= 0)
                        ++n;
            } else if (ct.deliveries_made < ct.supply.size() && day_order(ct.supply[ct.deliveries_made], edge) <= 0) {
                n = 1;
            }
            for (int i = 0; i < n && ct.deliveries_made < ct.supply.size(); ++i) {
                if (loaded.size() >= MAX_LOADED_CONTRACTS - 1) {
                    // Full: this delivery waits for a later day, nothing is lost.
                    ui_.message("Index Overflow MAX_LOADED_CONTRACTS", "Error");
                    break;
                }
                LoadedContract l;
                l.customer = static_cast<uint16_t>(c);
                l.contract = static_cast<uint16_t>(k);
                l.supply = ct.supply[ct.deliveries_made];
                l.due = host_.add_work_days(l.supply, 1);
                l.item_count = ct.item_count;
                const int w = host_.count_work_days(l.due, today);
                for (int j = 0; j < ct.item_count; ++j) {
                    LoadedLine& line = l.lines[static_cast<size_t>(j)];
                    line.family = ct.items[static_cast<size_t>(j)].family;
                    line.product = ct.items[static_cast<size_t>(j)].product;
                    line.quantity = blanket_qty(ct, j, 0);
                    // Due today or already past due: the first slot.
                    add_to_slot(line.family, line.product, std::max(0, w - 1), line.quantity,
                                "sypply days index overflow on 'load_contracts'");
                    if (product_exists(line.family, line.product)) {
                        MarketProduct& pr = product(line.family, line.product);
                        pr.firm_orders = add16(pr.firm_orders, line.quantity);
                    }
                }
                loaded.push_back(l);
                ++ct.deliveries_made;
                if (ct.type == CONTRACT_BLANKET && ct.blanket_pending > 0) {
                    for (int j = 0; j < ct.item_count; ++j) {
                        auto& pend = ct.items[static_cast<size_t>(j)].pending;
                        pend[0] = pend[1];
                        pend[1] = pend[2];
                        pend[2] = 0;
                    }
                    --ct.blanket_pending;
                }
                ui_.redraw();
            }
        }
}

bool CMarketingWnd::can_supply_loaded_contract(const LoadedContract& l) const
{
    for (int i = 0; i < l.item_count; ++i) {
        const LoadedLine& line = l.lines[static_cast<size_t>(i)];
        if (!product_exists(line.family, line.product) || get_inventory(line.family, line.product) < line.quantity)
            return false;
    }
    return true;
}

int32_t CMarketingWnd::get_delivery_value(int index) const
{
    const LoadedContract& l = loaded[static_cast<size_t>(index)];
    const CustomerContract& ct = customers[l.customer].contracts[l.contract];
    int64_t v = 0;
    for (int i = 0; i < l.item_count; ++i)
        v += static_cast<int64_t>(ct.items[static_cast<size_t>(i)].unit_price) * l.lines[static_cast<size_t>(i)].quantity;
    return clamp_to<int32_t>(static_cast<double>(v));
}

void CMarketingWnd::cancel_contract(uint16_t customer, uint16_t contract)
{
    Customer& cu = customers[customer];
    const SimDateTime today = host_.today();
    for (size_t i = 0; i < loaded.size(); ++i) {
        const LoadedContract& l = loaded[i];
        if (l.customer != customer || l.contract != contract || l.days_waited == 0)
            continue;
        cu.late_value_month = addu32(cu.late_value_month, static_cast<int64_t>(l.days_waited) * get_delivery_value(static_cast<int>(i)));
        for (int j = 0; j < l.item_count; ++j) {
            const LoadedLine& line = l.lines[static_cast<size_t>(j)];
            if (!product_exists(line.family, line.product))
                continue;
            MarketProduct& pr = product(line.family, line.product);
            const int64_t v = static_cast<int64_t>(l.days_waited) * line.quantity * pr.price;
            pr.lost_sales_value = addu32(pr.lost_sales_value, v);
            lost_value_month = addu32(lost_value_month, v);
            uint16_t& cancelled = cancelled_units_month[line.family][line.product];
            cancelled = addu16(cancelled, line.quantity);
        }
    }
    for (size_t i = 0; i < loaded.size();) {
        const LoadedContract l = loaded[i];
        if (l.customer != customer || l.contract != contract) {
            ++i;
            continue;
        }
        // Each delivery leaves the slot it stands in, as the rebuild puts it.
        const int slot = l.days_waited < 1 ? std::max(0, host_.count_work_days(l.due, today) - 1) : 0;
        for (int j = 0; j < l.item_count; ++j) {
            const LoadedLine& line = l.lines[static_cast<size_t>(j)];
            if (!product_exists(line.family, line.product))
                continue;
            MarketProduct& pr = product(line.family, line.product);
            pr.firm_orders = add16(pr.firm_orders, -line.quantity);
            take_from_slot(line.family, line.product, slot, line.quantity, nullptr);
            if (production_ != nullptr)
                production_->reduce_production_orders(static_cast<int16_t>(line.family), static_cast<int16_t>(line.product),
                                                      static_cast<int16_t>(line.quantity));
        }
        loaded.erase(loaded.begin() + static_cast<std::ptrdiff_t>(i));
    }
    current_contract = ContractRef{customer, contract};
    ui_.contract_canceled(current_contract, "Contract Cancled - Pass Max Period");
    cu.contracts[contract].status = CONTRACT_ENDED;
    ui_.redraw();
}

void CMarketingWnd::supply_contracts()
{
    const SimDateTime today = host_.today();
    std::vector<bool> visited(loaded.size(), false);
    size_t i = 0;
    while (i < loaded.size()) {
        if (visited[i] || day_order(loaded[i].due, today) > 0) {
            ++i;
            continue;
        }
        visited[i] = true;
        const LoadedContract l = loaded[i];
        Customer& cu = customers[l.customer];
        const CustomerContract& ct = cu.contracts[l.contract];
        if (can_supply_loaded_contract(l)) {
            const int32_t v = get_delivery_value(static_cast<int>(i));
            const int late = l.days_waited;
            cu.contract_sales_month = addu32(cu.contract_sales_month, v);
            pay_in(v);
            if (late > 0)
                cu.late_value_month = addu32(cu.late_value_month, static_cast<int64_t>(late) * v);
            for (int j = 0; j < l.item_count; ++j) {
                const LoadedLine& line = l.lines[static_cast<size_t>(j)];
                MarketProduct& pr = product(line.family, line.product);
                take_from_slot(line.family, line.product, 0, line.quantity, nullptr);
                book_sale(line.family, line.product, line.quantity,
                          ct.items[static_cast<size_t>(j)].unit_price * line.quantity, true);
                if (pr.firm_orders < 0)
                    error_box("negative 'num_units_ordered' from contracts");
                if (late > 0) {
                    const int64_t lv = static_cast<int64_t>(late) * line.quantity * pr.price;
                    pr.lost_sales_value = addu32(pr.lost_sales_value, lv);
                    lost_value_month = addu32(lost_value_month, lv);
                } else {
                    pr.on_time_run = addu16(pr.on_time_run, line.quantity);
                    pr.on_time_month = addu16(pr.on_time_month, line.quantity);
                }
            }
            loaded.erase(loaded.begin() + static_cast<std::ptrdiff_t>(i));
            visited.erase(visited.begin() + static_cast<std::ptrdiff_t>(i));
            ui_.redraw();
            continue;
        }
        loaded[i].days_waited = addu16(loaded[i].days_waited, 1);
        if (loaded[i].days_waited > cu.max_wait) {
            std::vector<bool> keep;
            for (size_t j = 0; j < loaded.size(); ++j)
                if (loaded[j].customer != l.customer || loaded[j].contract != l.contract)
                    keep.push_back(visited[j]);
            size_t before = 0;
            for (size_t j = 0; j < i; ++j)
                if (loaded[j].customer != l.customer || loaded[j].contract != l.contract)
                    ++before;
            cancel_contract(l.customer, l.contract);
            visited = keep;
            i = before;
        } else {
            ++i;
        }
        for (int j = 0; j < l.item_count; ++j) {
            const LoadedLine& line = l.lines[static_cast<size_t>(j)];
            if (product_exists(line.family, line.product) && get_inventory(line.family, line.product) < line.quantity)
                product(line.family, line.product).contract_shortage = 1;
        }
    }
}

int16_t CMarketingWnd::get_late_contract_units(int f, int p) const
{
    int n = 0;
    for (const LoadedContract& l : loaded)
        if (l.days_waited > 0)
            for (int i = 0; i < l.item_count; ++i)
                if (l.lines[static_cast<size_t>(i)].family == f && l.lines[static_cast<size_t>(i)].product == p)
                    n += l.lines[static_cast<size_t>(i)].quantity;
    return clamp_to<int16_t>(n);
}

// Each of the product's lines by its own value, so a delivery of several
// products counts each product's share once.
int32_t CMarketingWnd::get_late_value_for_product(int f, int p) const
{
    double v = 0;
    for (const LoadedContract& l : loaded) {
        if (l.days_waited == 0)
            continue;
        const CustomerContract& ct = customers[l.customer].contracts[l.contract];
        for (int i = 0; i < l.item_count; ++i)
            if (l.lines[static_cast<size_t>(i)].family == f && l.lines[static_cast<size_t>(i)].product == p)
                v += static_cast<double>(l.lines[static_cast<size_t>(i)].quantity) * ct.items[static_cast<size_t>(i)].unit_price *
                     l.days_waited;
    }
    return clamp_to<int32_t>(v);
}

uint32_t CMarketingWnd::get_late_value_total() const
{
    double v = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            if (!is_product_retired(f, p))
                v += get_late_value_for_product(f, p);
    return clamp_to<uint32_t>(v);
}

int32_t CMarketingWnd::get_customer_late_value(int c) const
{
    double v = 0;
    for (size_t i = 0; i < loaded.size(); ++i)
        if (loaded[i].customer == c)
            v += static_cast<double>(loaded[i].days_waited) * get_delivery_value(static_cast<int>(i));
    return clamp_to<int32_t>(v);
}

int16_t CMarketingWnd::get_loaded_contract_units(int f, int p) const
{
    int n = 0;
    for (const LoadedContract& l : loaded)
        if (l.days_waited != 0)
            for (int i = 0; i < l.item_count; ++i)
                if (l.lines[static_cast<size_t>(i)].family == f && l.lines[static_cast<size_t>(i)].product == p)
                    n += l.lines[static_cast<size_t>(i)].quantity;
    return clamp_to<int16_t>(n);
}

int16_t CMarketingWnd::get_contract_units_between(const SimDateTime& start, int days, int f, int p, int* shortest,
                                                  bool use_policy) const
{
    int sum = 0;
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k) {
            if (!is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            const CustomerContract& ct = customers[c].contracts[k];
            int horizon = days - 1;
            if (forecast_run)
                horizon = days;
            else if (use_policy)
                horizon = contract_horizon(ct, static_cast<int>(c), static_cast<int>(k)) - 1;
            const SimDateTime end = host_.add_work_days(start, horizon);
            for (int i = 0; i < ct.item_count; ++i) {
                if (ct.items[static_cast<size_t>(i)].family != f || ct.items[static_cast<size_t>(i)].product != p)
                    continue;
                for (size_t j = ct.deliveries_made; j < ct.supply.size(); ++j)
                    if (day_order(ct.supply[j], start) >= 0 && day_order(ct.supply[j], end) <= 0) {
                        sum += blanket_qty(ct, i, static_cast<int>(j - ct.deliveries_made));
                        if (shortest != nullptr)
                            *shortest = std::min(*shortest, horizon + 1);
                    }
            }
        }
    const SimDateTime end = host_.add_work_days(start, days - 1);
    for (const OpenOrder& o : open_orders)
        if (o.family == f && o.product == p && day_order(o.due, start) >= 0 && day_order(o.due, end) <= 0)
            sum += o.units;
    return clamp_to<int16_t>(sum);
}

int16_t CMarketingWnd::get_contract_units_due(int f, int p, int days, bool use_policy) const
{
    return clamp_to<int16_t>(get_contract_units_between(host_.today(), days, f, p, nullptr, use_policy) +
                             product(f, p).backlog);
}

int16_t CMarketingWnd::get_contract_units_for_ordering(int f, int p, int* shortest)
{
    const SimDateTime today = host_.today();
    int sum = 0;
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k) {
            if (!is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            CustomerContract& ct = customers[c].contracts[k];
            int h = plan_by_qlt ? get_contract_max_lead_time(static_cast<int>(c), static_cast<int>(k)) : plan_days_before;
            if (ct.type == CONTRACT_BLANKET)
                h = ct.blanket_days;
            const SimDateTime edge = host_.add_work_days(today, h - 1);
            for (int i = 0; i < ct.item_count; ++i) {
                ContractItem& it = ct.items[static_cast<size_t>(i)];
                if (it.family != f || it.product != p)
                    continue;
                const bool marked = it.ordered != 0;
                for (size_t j = ct.deliveries_made; j < ct.supply.size(); ++j) {
                    const SimDateTime& d = ct.supply[j];
                    const bool counts = marked ? same_day(d, edge)
                                               : day_order(d, edge) <= 0 &&
                                                     (ct.renewed == 0 || day_order(d, ct.end_copy) >= 0);
                    if (!counts)
                        continue;
                    const int q = blanket_qty(ct, i, static_cast<int>(j - ct.deliveries_made));
                    sum += q;
                    ct.ordered_units = addu16(ct.ordered_units, q);
                    const int lead = marked ? h : host_.count_work_days(d, today) + 1;
                    if (shortest != nullptr)
                        *shortest = std::min(*shortest, std::max(0, lead));
                }
                it.ordered = 1;
            }
        }
    return clamp_to<int16_t>(sum);
}

uint16_t CMarketingWnd::mark_one_time_contract_items(int days, int f, int p, int* shortest)
{
    const SimDateTime today = host_.today();
    int sum = 0;
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k) {
            CustomerContract& ct = customers[c].contracts[k];
            if (ct.type != CONTRACT_ONE_TIME || !is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            bool starts = false;
            SimDateTime d = today;
            for (int i = 0; i < days && !starts; ++i, d = host_.add_work_days(d, 1))
                starts = same_day(d, ct.start_date);
            if (!starts)
                continue;
            for (int i = 0; i < ct.item_count; ++i) {
                ContractItem& it = ct.items[static_cast<size_t>(i)];
                if (it.family != f || it.product != p || it.ordered)
                    continue;
                it.ordered = 1;
                sum += it.quantity;
                if (shortest != nullptr)
                    *shortest = std::min(*shortest, contract_horizon(ct, static_cast<int>(c), static_cast<int>(k)));
            }
        }
    return clamp_to<uint16_t>(sum);
}

int CMarketingWnd::get_contract_units_ahead(int f, int p) const
{
    if (!product_exists(f, p))
        return 0;
    const SimDateTime today = host_.today();
    int sum = 0;
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k) {
            if (!is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            const CustomerContract& ct = customers[c].contracts[k];
            for (int i = 0; i < ct.item_count; ++i)
                if (ct.items[static_cast<size_t>(i)].family == f && ct.items[static_cast<size_t>(i)].product == p)
                    for (size_t j = ct.deliveries_made; j < ct.supply.size(); ++j)
                        if (day_order(ct.supply[j], today) >= 0)
                            sum += blanket_qty(ct, i, static_cast<int>(j - ct.deliveries_made));
        }
    return std::max(0, sum);
}

void CMarketingWnd::run_blanket_shipments()
{
    const SimDateTime today = host_.today();
    bool recorded = false;
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k) {
            CustomerContract& ct = customers[c].contracts[k];
            if (ct.type != CONTRACT_BLANKET || !is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            if (ct.blanket_drawn < ct.deliveries_made)
                ct.blanket_drawn = ct.deliveries_made;
            const SimDateTime edge = host_.add_work_days(today, std::max(0, ct.blanket_days - 1));
            while (ct.blanket_drawn < ct.supply.size() && day_order(ct.supply[ct.blanket_drawn], edge) <= 0) {
                if (ct.blanket_pending >= MAX_BLANKET_SHIPMENTS) {
                    // Three drawn and not loaded: this one is drawn on a later day.
                    ui_.message("Index Overflow MAX_BLANKET_SHIPMENTS", "Error");
                    break;
                }
                for (int i = 0; i < ct.item_count; ++i) {
                    ContractItem& it = ct.items[static_cast<size_t>(i)];
                    it.pending[ct.blanket_pending] = clamp_to<uint16_t>(
                        static_cast<double>(host_.rand()) * (it.blanket_max - it.blanket_min) / 32767.0 + it.blanket_min);
                }
                ++ct.blanket_pending;
                ++ct.blanket_drawn;
                recorded = true;
            }
        }
    if (recorded)
        ui_.not_implemented("dlg_blanket_shipment");
}

bool CMarketingWnd::offer_new_contracts()
{
    working.clear();
    const SimDateTime today = host_.today();
    for (size_t c = 0; c < customers.size(); ++c) {
        Customer& cu = customers[c];
        for (size_t k = 0; k < cu.contracts.size(); ++k) {
            CustomerContract& ct = cu.contracts[k];
            if (ct.status == CONTRACT_ENDED || ct.offered || day_order(ct.offer_date, today) > 0)
                continue;
            bool exists = true, phasing = false;
            for (int i = 0; i < ct.item_count; ++i) {
                const ContractItem& it = ct.items[static_cast<size_t>(i)];
                if (!product_exists(it.family, it.product))
                    exists = false;
                else if (is_product_phasing_out(it.family, it.product))
                    phasing = true;
            }
            // A product still to come: the contract waits until it is there.
            if (!exists)
                continue;
            bool offer = false;
            if (phasing) {
                offer = false;
            } else if (ct.always_offer) {
                offer = true;
            } else {
                bool known = false;
                for (const CustomerContract& o : cu.contracts)
                    known = known || o.status == CONTRACT_ENDED ||
                            is_contract_active(static_cast<int>(c), static_cast<int>(&o - cu.contracts.data()));
                const double r = known ? cu.weighted_penalty : host_.reputation_ratio();
                if (r <= 1.0) {
                    double qsum = 0, wsum = 0;
                    for (int i = 0; i < ct.item_count; ++i) {
                        const ContractItem& it = ct.items[static_cast<size_t>(i)];
                        const MarketProduct& pr = product(it.family, it.product);
                        const double ratio = pr.base_annual_orders > 0 ? pr.annual_orders / pr.base_annual_orders : 1.0;
                        qsum += it.quantity;
                        wsum += it.quantity * ratio;
                    }
                    const double d = qsum > 0 ? wsum / qsum : 1.0;
                    const double p = (1.0 - r) * cu.probability * d;
                    if (p >= 1.0)
                        offer = true;
                    else if (p >= 0.0)
                        offer = host_.rand() <= static_cast<int>(p * 32767.0);
                }
            }
            if (offer) {
                set_contract_prices(static_cast<int>(c), static_cast<int>(k));
                working.push_back(ContractRef{static_cast<uint16_t>(c), static_cast<uint16_t>(k)});
            } else {
                ct.status = CONTRACT_ENDED;
            }
        }
    }
    if (working.empty())
        return true;
    std::stable_sort(working.begin(), working.end(), [&](const ContractRef& a, const ContractRef& b) {
        return day_order(customers[a.customer].contracts[a.contract].end_date,
                         customers[b.customer].contracts[b.contract].end_date) < 0;
    });
    for (const ContractRef& r : working)
        customers[r.customer].contracts[r.contract].number = ++contract_counter;
    working_backup = working;
    return select_new_contracts();
}

bool CMarketingWnd::select_new_contracts()
{
    working = working_backup;
    std::vector<bool> accepted;
    const int result = ui_.new_contracts(working, accepted);
    if (result == 5) {
        held_contracts.clear();
        for (const ContractRef& r : working)
            held_contracts.push_back(customers[r.customer].contracts[r.contract].number);
        restart_stage = 1;
        host_.enter_hold();
        return false;
    }
    for (size_t i = 0; i < working.size(); ++i) {
        const ContractRef& r = working[i];
        CustomerContract& ct = customers[r.customer].contracts[r.contract];
        ct.offered = 1;
        if (i < accepted.size() && accepted[i]) {
            ct.status = CONTRACT_ACTIVE;
            char text[64] = "";
            if (ct.item_count > 0)
                std::snprintf(text, sizeof text, "%c%c-%d, ...", family_letter(ct.items[0].family),
                              product_letter(ct.items[0].family, ct.items[0].product), ct.items[0].quantity);
            host_.log_decision("NewCont.", customers[r.customer].name, "", text);
        } else {
            ct.status = CONTRACT_ENDED;
        }
    }
    held_contracts.clear();
    working_backup.clear();
    restart_stage = 0;
    build_supply_days_table();
    return true;
}

void CMarketingWnd::renew_contract(int c, int k, bool reset)
{
    CustomerContract& ct = customers[static_cast<size_t>(c)].contracts[static_cast<size_t>(k)];
    const SimDateTime old_end = ct.end_date;
    ct.end_copy = ct.end_date;
    ct.end_date.year = static_cast<int16_t>(ct.end_date.year + 1);
    if (ct.end_date.month == 2 && ct.end_date.day == 29 && !is_leap_year(ct.end_date.year))
        ct.end_date.day = 28;
    std::vector<SimDateTime> list;
    // The old end date was the last period's: the new one starts the day after.
    build_contract_supply_list(list, c, k, add_days(old_end, 1), ct.end_date);
    if (list.size() > MAX_SUPPLY_LIST) {
        ui_.message("Index Overflow MAX_SUPPLY_LIST", "Error");
        list.resize(MAX_SUPPLY_LIST);
    }
    ct.supply = list;
    ct.deliveries_made = ct.blanket_drawn = 0;
    ct.first_load = 1;
    for (int i = 0; i < ct.item_count; ++i)
        ct.items[static_cast<size_t>(i)].pending = {};
    ct.blanket_pending = 0;
    if (reset) {
        ct.cleared = 0;
        ct.ordered_units = 0;
        for (int i = 0; i < ct.item_count; ++i)
            ct.items[static_cast<size_t>(i)].ordered = 0;
        ct.offered = 1;
        ct.end_processed = 0;
        ct.decision_made = 0;
    }
}

bool CMarketingWnd::check_contract_lost()
{
    ContractRef asked_again{NO_INDEX, NO_INDEX};
    if (renewal.held) {
        CustomerContract& ct = customers[renewal.ref.customer].contracts[renewal.ref.contract];
        ct.supply = renewal.supply;
        ct.end_date = renewal.end_date;
        ct.end_copy = renewal.end_copy;
        ct.deliveries_made = renewal.deliveries_made;
        ct.blanket_drawn = renewal.blanket_drawn;
        ct.first_load = renewal.first_load;
        ct.blanket_pending = renewal.blanket_pending;
        for (int i = 0; i < ct.item_count; ++i)
            ct.items[static_cast<size_t>(i)].pending = renewal.pending[static_cast<size_t>(i)];
        ct.status = CONTRACT_ACTIVE;
        asked_again = renewal.ref;
        renewal = RenewalBackup{};
    }
    const SimDateTime today = host_.today();
    for (size_t c = 0; c < customers.size(); ++c) {
        Customer& cu = customers[c];
        for (size_t k = 0; k < cu.contracts.size(); ++k) {
            CustomerContract& ct = cu.contracts[k];
            if (ct.status == CONTRACT_ENDED)
                continue;
            const bool again = asked_again.customer == c && asked_again.contract == k;
            if (ct.status == CONTRACT_ACTIVE && ct.decision_made == 0 && ct.type != CONTRACT_ONE_TIME &&
                (again || same_day(ct.decision_date, today))) {
                bool renew = again || ct.always_renew != 0;
                if (!renew) {
                    const double r = cu.weighted_penalty;
                    if (r <= 1.0) {
                        const double p = cu.probability * (1.0 - r);
                        renew = p >= 1.0 || (p >= 0.0 && host_.rand() <= static_cast<int>(p * 32767.0));
                    }
                }
                const ContractRef ref{static_cast<uint16_t>(c), static_cast<uint16_t>(k)};
                if (renew) {
                    set_contract_prices(static_cast<int>(c), static_cast<int>(k));
                    current_contract = ref;
                    const int answer = ui_.contract_end(ref);
                    if (answer == 3) {
                        renewal.held = true;
                        renewal.ref = ref;
                        renewal.supply = ct.supply;
                        renewal.end_date = ct.end_date;
                        renewal.end_copy = ct.end_copy;
                        renewal.deliveries_made = ct.deliveries_made;
                        renewal.blanket_drawn = ct.blanket_drawn;
                        renewal.first_load = ct.first_load;
                        renewal.blanket_pending = ct.blanket_pending;
                        for (int i = 0; i < ct.item_count; ++i)
                            renewal.pending[static_cast<size_t>(i)] = ct.items[static_cast<size_t>(i)].pending;
                        renew_contract(static_cast<int>(c), static_cast<int>(k), false);
                        ct.status = CONTRACT_NOT_ACCEPTED;
                        working = {ref};
                        working_backup = working;
                        restart_stage = 2;
                        host_.enter_hold();
                        return false;
                    }
                    ct.decision_made = 1;
                    if (answer == 1) {
                        ct.renewed = 1;
                        // The reset opens the new period: its own decision comes at its end.
                        renew_contract(static_cast<int>(c), static_cast<int>(k), true);
                        set_contract_end_copy(static_cast<int>(c), static_cast<int>(k));
                    } else {
                        ct.renewed = 0;
                    }
                } else {
                    ui_.beep(10);
                    ct.renewed = 0;
                    ct.decision_made = 1;
                    current_contract = ref;
                    ui_.contract_canceled(ref, "Contract Lost");
                }
            }
            if (ct.end_processed == 0 && day_order(ct.end_date, today) <= 0) {
                ct.end_processed = 1;
                if (ct.type == CONTRACT_ONE_TIME || ct.renewed == 0)
                    ct.status = CONTRACT_ENDED;
            }
        }
    }
    restart_stage = 0;
    working.clear();
    working_backup.clear();
    return true;
}
