// The market's day, month and year: demand, supply of open orders, finished
// goods, red line and production ordering, statistics, new products,
// promotions, campaigns and growth.
#include "market_util.h"
#include "marketing/marketing_wnd.h"
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace mkt;

namespace {
constexpr int16_t KIND_FINISHED = 2;
constexpr int16_t ORDER_TYPE_STOCK = 0;
constexpr int16_t ORDER_TYPE_CUSTOMER = 1;
}

CMarketingWnd::CMarketingWnd(MarketHost& host, MarketingUi& ui) : host_(host), ui_(ui) {}

void CMarketingWnd::connect(PurchasingDept& purchasing, FinanceDept& finance, ProductionDept* production)
{
    purchasing_ = &purchasing;
    finance_ = &finance;
    production_ = production;
}

char CMarketingWnd::family_letter(int family) const
{
    return family >= 0 && family < family_count_ ? families[static_cast<size_t>(family)].letter : '\0';
}

int CMarketingWnd::product_count(int family) const
{
    return family >= 0 && family < family_count_ ? families[static_cast<size_t>(family)].product_count : 0;
}

char CMarketingWnd::product_letter(int family, int p) const
{
    return product_exists(family, p) ? product(family, p).letter : '\0';
}

bool CMarketingWnd::product_exists(int f, int p) const
{
    return f >= 0 && f < family_count_ && p >= 0 && p < families[static_cast<size_t>(f)].product_count;
}

int CMarketingWnd::product_position(int f, int p) const
{
    int k = 0;
    for (int i = 0; i < f; ++i)
        k += families[static_cast<size_t>(i)].product_count;
    return k + p;
}

void CMarketingWnd::find_product_by_code(const char* code, uint16_t& family, uint16_t& prod) const
{
    family = prod = NO_INDEX;
    if (code == nullptr || code[0] == '\0')
        return;
    for (int f = 0; f < family_count_; ++f) {
        if (families[static_cast<size_t>(f)].letter != code[0])
            continue;
        for (int p = 0; p < families[static_cast<size_t>(f)].product_count; ++p)
            if (product(f, p).letter == code[1]) {
                family = static_cast<uint16_t>(f);
                prod = static_cast<uint16_t>(p);
                return;
            }
        return;
    }
}

// --- Finished goods -------------------------------------------------------

void CMarketingWnd::adjust_inventory(int f, int p, int units, int kind)
{
    if (units == 0 || !product_exists(f, p))
        return;
    MarketProduct& pr = product(f, p);
    pr.stock = add16(pr.stock, units);
    if (units > 0) {
        const SimDateTime today = host_.today();
        if (pr.lots.empty() || days_between(today, pr.lots.back().date) > 6) {
            if (pr.lots.size() >= MAX_LOTS)
                return;
            pr.lots.push_back(InventoryLot{static_cast<int16_t>(std::min(units, 32767)), today});
        } else {
            pr.lots.back().units = add16(pr.lots.back().units, units);
        }
        return;
    }
    int n = -units;
    if (kind == 0) {
        while (!pr.lots.empty() && n >= pr.lots.front().units) {
            n -= pr.lots.front().units;
            pr.lots.erase(pr.lots.begin());
        }
        if (!pr.lots.empty())
            pr.lots.front().units = static_cast<int16_t>(pr.lots.front().units - n);
    } else {
        while (!pr.lots.empty() && n >= pr.lots.back().units) {
            n -= pr.lots.back().units;
            pr.lots.pop_back();
        }
        if (!pr.lots.empty())
            pr.lots.back().units = static_cast<int16_t>(pr.lots.back().units - n);
    }
}

void CMarketingWnd::update_product_stock(int f, int p, int units, int kind, int)
{
    if (!product_exists(f, p))
        return;
    if (units > 0 && production_ != nullptr && purchasing_ != nullptr)
        for (int mf = 0; mf < purchasing_->family_count(); ++mf)
            for (int m = 0; m < purchasing_->material_count(mf); ++m) {
                const float per_unit = production_->get_num_materials_in_product(static_cast<int16_t>(f),
                                                                                  static_cast<int16_t>(p), mf, m);
                if (per_unit > 0)
                    purchasing_->lower_in_process(mf, m, clamp_to<int32_t>(static_cast<double>(per_unit) * units));
            }
    adjust_inventory(f, p, units, kind);
    if (link_mode_ == LINK_MAKE_TO_ORDER)
        check_red_line_to_order(f, p);
    else
        check_red_line();
    ui_.redraw();
}

float CMarketingWnd::get_material_cost(int f, int p) const
{
    if (production_ == nullptr || !product_exists(f, p))
        return 0.0f;
    const float v = production_->get_material_cost_of_product(static_cast<int16_t>(f), static_cast<int16_t>(p));
    return std::isfinite(v) ? v : 0.0f;
}

int CMarketingWnd::get_discounted_price(int f, int p, int level) const
{
    return clamp_to<int>(product(f, p).price * (1.0 - level * 10.0 / 100.0));
}

// --- Supply days ----------------------------------------------------------

void CMarketingWnd::add_to_slot(int f, int p, int slot, int units, const char* overflow_text)
{
    if (!product_exists(f, p))
        return;
    std::vector<uint16_t>& t = product(f, p).supply_days;
    if (slot < 0 || static_cast<size_t>(slot) >= t.size()) {
        if (overflow_text != nullptr)
            error_box(overflow_text);
        return;
    }
    t[static_cast<size_t>(slot)] = addu16(t[static_cast<size_t>(slot)], units);
}

void CMarketingWnd::take_from_slot(int f, int p, int slot, int units, const char* overflow_text)
{
    if (!product_exists(f, p))
        return;
    std::vector<uint16_t>& t = product(f, p).supply_days;
    if (slot < 0 || static_cast<size_t>(slot) >= t.size()) {
        if (overflow_text != nullptr)
            error_box(overflow_text);
        return;
    }
    // Never below nothing: a wrap would read as thousands of units due.
    t[static_cast<size_t>(slot)] = static_cast<uint16_t>(std::max(0, t[static_cast<size_t>(slot)] - units));
}

void CMarketingWnd::build_supply_days_table()
{
    const SimDateTime today = host_.today();
    Table<int> length{};
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            const MarketProduct& pr = product(f, p);
            int n = std::max(1, static_cast<int>(pr.qlt));
            if (link_mode_ == LINK_MAKE_TO_ORDER)
                n = std::max(n, static_cast<int>(pr.red_line_time));
            length[static_cast<size_t>(f)][static_cast<size_t>(p)] = n;
        }
    auto raise = [&](int f, int p, int n) {
        if (product_exists(f, p))
            length[static_cast<size_t>(f)][static_cast<size_t>(p)] =
                std::min(32767, std::max(length[static_cast<size_t>(f)][static_cast<size_t>(p)], n));
    };
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k) {
            if (!is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            const CustomerContract& ct = customers[c].contracts[k];
            const int h = contract_horizon(ct, static_cast<int>(c), static_cast<int>(k));
            for (int i = 0; i < ct.item_count; ++i) {
                raise(ct.items[static_cast<size_t>(i)].family, ct.items[static_cast<size_t>(i)].product, h);
                if (ct.type == CONTRACT_BLANKET)
                    raise(ct.items[static_cast<size_t>(i)].family, ct.items[static_cast<size_t>(i)].product,
                          ct.blanket_days);
            }
        }
    for (const OpenOrder& o : open_orders)
        raise(o.family, o.product, o.quoted_lead_time);
    for (const LoadedContract& l : loaded)
        for (int i = 0; i < l.item_count; ++i)
            raise(l.lines[static_cast<size_t>(i)].family, l.lines[static_cast<size_t>(i)].product,
                  host_.count_work_days(l.due, today) + 1);
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            product(f, p).supply_days.assign(static_cast<size_t>(length[static_cast<size_t>(f)][static_cast<size_t>(p)]), 0);
    for (const OpenOrder& o : open_orders) {
        // Due today gives no negative slot: it is due now, slot 0.
        const int slot = o.days_late == 0 ? std::max(0, host_.count_work_days(o.due, today)) : 0;
        add_to_slot(o.family, o.product, slot, o.units, "open index overflow in supply days table while reset");
    }
    for (const LoadedContract& l : loaded) {
        const int slot = l.days_waited < 1 ? std::max(0, host_.count_work_days(l.due, today) - 1) : 0;
        for (int i = 0; i < l.item_count; ++i)
            add_to_slot(l.lines[static_cast<size_t>(i)].family, l.lines[static_cast<size_t>(i)].product, slot,
                        l.lines[static_cast<size_t>(i)].quantity, "contract index overflow in supply days table while reset");
    }
}

void CMarketingWnd::shift_supply_days()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            std::vector<uint16_t>& t = product(f, p).supply_days;
            if (t.size() < 2)
                continue;
            t[0] = addu16(t[0], t[1]);
            for (size_t i = 1; i + 1 < t.size(); ++i)
                t[i] = t[i + 1];
            t.back() = 0;
        }
}

// --- The day --------------------------------------------------------------

bool CMarketingWnd::daily_step(int16_t r)
{
    const bool fresh = r != 1 && r != 2 && r != 4;
    if (fresh) {
        revenue_today = {};
        units_today = {};
        if (host_.tick_count() > 0) {
            supply_contracts();
            supply_open_orders();
            report_lost_orders();
            update_service_percentages();
            prepare_requested_export_lines();
            receive_transport_orders();
            supply_export_orders();
            check_export_levels();
            if (host_.is_new_year())
                roll_product_year();
            if (host_.is_new_month()) {
                monthly_rollover();
                update_service_percentages();
                export_monthly_statistics();
            }
        }
        reset_day_counters();
        shift_supply_days();
        if (!offer_new_contracts())
            return false;
    }
    if (r != 4) {
        if (r != 2 && !check_contract_lost())
            return false;
        run_blanket_shipments();
        load_contracts();
        mark_due_new_product();
        load_open_orders();
        show_reject_flash();
        write_off_expired_inventory();
        order_production();
        if (!introduce_new_products())
            return false;
    }
    if (link_mode_ == LINK_MAKE_TO_ORDER) {
        for (int f = 0; f < family_count_; ++f)
            for (int p = 0; p < product_count(f); ++p)
                if (!is_product_retired(f, p))
                    check_red_line_to_order(f, p);
    }
    check_red_line();
    count_red_line_days();
    draw_export_orders();
    check_export_levels();
    transfer_to_export();
    export_daily_statistics();
    const bool first = host_.tick_count() <= 0;
    if (first || host_.is_new_month()) {
        if (link_mode_ == LINK_FORECAST) {
            build_monthly_forecast();
            ui_.not_implemented("dlg_forecast");
            build_production_plan();
        } else if (purchasing_->orders_by_mrp()) {
            build_monthly_forecast();
            build_production_plan();
        }
        update_expected_monthly_demand();
    }
    add_daily_sales_point();
    if (day_index < MAX_DAY_DATES)
        day_dates[day_index] = host_.today();
    day_index = static_cast<uint16_t>(std::min<int>(day_index + 1, MAX_DAY_DATES));
    day_count = addu16(day_count, 1);
    return true;
}

void CMarketingWnd::resume_step()
{
    bool done = false;
    switch (restart_stage) {
    case 1: done = select_new_contracts(); break;
    case 2: done = check_contract_lost(); break;
    case 4: done = introduce_new_products(); break;
    default: return;
    }
    (void)done;
}

void CMarketingWnd::reset_day_counters()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            pr.ordered_today = 0;
            pr.contract_shortage = 0;
            pr.lost_orders_today = 0;
            pr.lost_units_today = 0;
        }
}

bool CMarketingWnd::is_new_product_waiting(int f, int p) const
{
    for (int n = 0; n < new_product_count; ++n) {
        const NewProductEntry& e = new_products[static_cast<size_t>(n)];
        if (e.family == f && e.index == p && e.due == 0)
            return true;
    }
    return false;
}

int CMarketingWnd::draw_order_count(const MarketProduct& pr)
{
    // Growth may carry the yearly figure past 26000: the threshold saturates.
    const long double t = static_cast<long double>(pr.annual_orders) / 260.0L / 100.0L * 32767.0L;
    const int threshold = t >= 32767.0L ? 32767 : t <= 0 ? 0 : static_cast<int>(t);
    int count = 0;
    for (int i = 0; i < 100; ++i)
        if (host_.rand() < threshold)
            ++count;
    return count;
}

bool CMarketingWnd::book_or_reject(MarketProduct& pr, int f, int p, int units)
{
    // Make-to-stock without a lead time: what stock cannot cover now is refused and its value lost.
    if (pr.qlt == 0 && link_mode_ == LINK_MAKE_TO_STOCK && units + pr.firm_orders > pr.stock) {
        pr.rejected_today = addu16(pr.rejected_today, units);
        const int64_t v = static_cast<int64_t>(units) * pr.price;
        pr.lost_sales_value = addu32(pr.lost_sales_value, v);
        lost_value_month = addu32(lost_value_month, v);
        return false;
    }
    // A product being phased out takes orders while its allowance lasts.
    if (pr.phase_out) {
        int16_t& allowance = phase_out_allowance[static_cast<size_t>(f)][static_cast<size_t>(p)];
        if (allowance < units)
            return false;
        allowance = static_cast<int16_t>(allowance - units);
    }
    return true;
}

OpenOrder CMarketingWnd::new_open_order(int f, int p, int units) const
{
    const MarketProduct& pr = product(f, p);
    const SimDateTime today = host_.today();
    OpenOrder o;
    o.order_date = today;
    o.earliest = host_.add_work_days(today, 1);
    o.due = host_.add_work_days(today, pr.qlt - 1);
    o.family = static_cast<int16_t>(f);
    o.product = static_cast<int16_t>(p);
    o.units = static_cast<int16_t>(units);
    o.quoted_lead_time = static_cast<int16_t>(pr.qlt);
    return o;
}

void CMarketingWnd::enter_open_order(const OpenOrder& o)
{
    MarketProduct& pr = product(o.family, o.product);
    open_orders.push_back(o);
    add_to_slot(o.family, o.product, pr.qlt > 0 ? pr.qlt - 1 : 0, o.units,
                "supply table index over flow in load open orders");
    // Firm and backlog both, so shipping never drives firm orders below 0.
    pr.firm_orders = add16(pr.firm_orders, o.units);
    pr.backlog = add16(pr.backlog, o.units);
    pr.ordered_today = addu16(pr.ordered_today, o.units);
    pr.ordered_month = addu16(pr.ordered_month, o.units);
}

void CMarketingWnd::load_open_orders()
{
    if (host_.job_shop()) {
        load_jobshop_open_orders();
        return;
    }
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired || is_new_product_waiting(f, p))
                continue;
            pr.rejected_today = 0;
            int count = draw_order_count(pr);
            int fixed = 0;
            float& fd = fixed_demand[static_cast<size_t>(f)][static_cast<size_t>(p)];
            float& fc = fixed_carry[static_cast<size_t>(f)][static_cast<size_t>(p)];
            if (fd > 0) {
                const float daily = fd / 260.0f;
                fixed = clamp_to<int>(daily + fc);
                fc = daily + fc - static_cast<float>(fixed);
            }
            count += fixed;
            if (count == 0)
                continue;
            for (int i = 0; i < count; ++i) {
                int units = 0;
                if (i >= count - fixed) {
                    units = pr.order_size;
                } else {
                    const float rv = static_cast<float>(host_.draw_table("OPEN_ORDER_UNITS"));
                    const float s = static_cast<float>(pr.order_size) / 10.0f * rv;
                    units = clamp_to<int16_t>(s + pr.order_carry);
                    pr.order_carry = s + pr.order_carry - static_cast<float>(units);
                }
                if (units <= 0 || !book_or_reject(pr, f, p, units))
                    continue;
                OpenOrder o = new_open_order(f, p, units);
                o.price = static_cast<int16_t>(std::min<int>(pr.price, 32767));
                enter_open_order(o);
            }
            ui_.redraw();
        }
}

void CMarketingWnd::pay_in(int32_t value)
{
    if (finance_->receivable_terms() == 0) {
        finance_->post_cash(value, 0);
        finance_->add_cash_receipts(value);
    } else {
        finance_->post_cash(value, 1);
    }
}

// The bookkeeping every shipment shares, open order or contract line.
void CMarketingWnd::book_sale(int f, int p, int units, int32_t value, bool contract)
{
    MarketProduct& pr = product(f, p);
    sales_value_run = addu32(sales_value_run, value);
    sales_value_month = addu32(sales_value_month, value);
    finance_->add_sales(value);
    pr.sales_value_run = addu32(pr.sales_value_run, value);
    pr.revenue_month = addu32(pr.revenue_month, value);
    pr.revenue_year = addu32(pr.revenue_year, value);
    if (contract)
        pr.contract_sales_month = addu32(pr.contract_sales_month, value);
    else
        pr.order_sales_month = addu32(pr.order_sales_month, value);
    revenue_today[static_cast<size_t>(f)][static_cast<size_t>(p)] += value;
    units_today[static_cast<size_t>(f)][static_cast<size_t>(p)] += units;
    pr.firm_orders = add16(pr.firm_orders, -units);
    adjust_inventory(f, p, -units, 0);
    pr.shipped_run = addu16(pr.shipped_run, units);
    pr.sold_month = addu16(pr.sold_month, units);
    if (contract)
        pr.sold_contracts_month = addu16(pr.sold_contracts_month, units);
    else
        pr.sold_orders_month = addu16(pr.sold_orders_month, units);
    pr.sold_year = addu16(pr.sold_year, units);
    const float cost = get_material_cost(f, p) * static_cast<float>(units);
    pr.cost_of_sales_run += cost;
    pr.cost_of_sales_year += cost;
    cost_of_sales_month[static_cast<size_t>(f)][static_cast<size_t>(p)] += cost;
}

void CMarketingWnd::ship_open_order(size_t pos, bool mto)
{
    const OpenOrder o = open_orders[pos];
    const int32_t value = static_cast<int32_t>(o.units) * o.price;
    pay_in(value);
    MarketProduct& pr = product(o.family, o.product);
    pr.backlog = add16(pr.backlog, -o.units);
    book_sale(o.family, o.product, o.units, value, false);
    const SimDateTime today = host_.today();
    int slot = 0;
    if (!mto && o.days_late < 1)
        slot = std::max(0, host_.count_work_days(host_.add_work_days(o.due, 1), today));
    take_from_slot(o.family, o.product, slot, o.units, "supply days index overflow in supply open orders normal");
    if (o.days_late == 0) {
        pr.on_time_run = addu16(pr.on_time_run, o.units);
        pr.on_time_month = addu16(pr.on_time_month, o.units);
    } else {
        const int64_t v = static_cast<int64_t>(o.days_late) * value;
        pr.lost_sales_value = addu32(pr.lost_sales_value, v);
        lost_value_month = addu32(lost_value_month, v);
    }
    open_orders.erase(open_orders.begin() + static_cast<std::ptrdiff_t>(pos));
}

bool CMarketingWnd::check_open_order_max_period(size_t pos)
{
    const OpenOrder o = open_orders[pos];
    if (o.days_late <= max_wait)
        return false;
    MarketProduct& pr = product(o.family, o.product);
    pr.firm_orders = add16(pr.firm_orders, -o.units);
    pr.backlog = add16(pr.backlog, -o.units);
    pr.lost_orders_today = addu16(pr.lost_orders_today, 1);
    pr.lost_units_today = addu16(pr.lost_units_today, o.units);
    int slot = 0;
    if (link_mode_ != LINK_MAKE_TO_ORDER && o.days_late < 1)
        slot = host_.count_work_days(o.due, host_.today()) + 1;
    take_from_slot(o.family, o.product, slot, o.units, "supply tables index overflow in 'check_open_order_max_period'");
    if (production_ != nullptr)
        production_->reduce_production_orders(o.family, o.product, o.units);
    open_orders.erase(open_orders.begin() + static_cast<std::ptrdiff_t>(pos));
    return true;
}

void CMarketingWnd::supply_open_orders()
{
    const bool mto = link_mode_ == LINK_MAKE_TO_ORDER && mto_supply_option == 0;
    const SimDateTime today = host_.today();
    size_t i = 0;
    while (i < open_orders.size()) {
        OpenOrder& o = open_orders[i];
        if (!product_exists(o.family, o.product)) {
            ++i;
            continue;
        }
        const MarketProduct& pr = product(o.family, o.product);
        if (mto) {
            if (day_order(o.due, today) >= 0) {
                ++i;
                continue;
            }
            if (o.units <= pr.stock) {
                ship_open_order(i, true);
                continue;
            }
            o.days_late = add16(o.days_late, 1);
        } else {
            if (day_order(today, o.earliest) < 0) {
                ++i;
                continue;
            }
            if (o.units <= pr.stock && pr.contract_shortage == 0) {
                ship_open_order(i, false);
                continue;
            }
            if (day_order(o.due, today) < 0)
                o.days_late = add16(o.days_late, 1);
        }
        if (!check_open_order_max_period(i))
            ++i;
    }
    ui_.redraw();
}

void CMarketingWnd::show_reject_flash()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            if (product(f, p).rejected_today > 0) {
                ui_.reject_flash();
                return;
            }
}

void CMarketingWnd::report_lost_orders()
{
    std::vector<std::string> rows;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            const MarketProduct& pr = product(f, p);
            if (pr.lost_orders_today == 0)
                continue;
            uint16_t& m = lost_units_month[static_cast<size_t>(f)][static_cast<size_t>(p)];
            m = addu16(m, pr.lost_units_today);
            char row[64];
            std::snprintf(row, sizeof row, "\t%c%c\t%d\t%d", family_letter(f), pr.letter, pr.lost_orders_today,
                          pr.lost_units_today);
            rows.emplace_back(row);
            char code[3] = {family_letter(f), pr.letter, 0};
            host_.log_decision("OrderLost", code, "", std::to_string(pr.lost_units_today));
        }
    if (!rows.empty())
        ui_.lost_orders(rows);
}

void CMarketingWnd::write_off_expired_inventory()
{
    const SimDateTime today = host_.today();
    std::vector<std::string> rows;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired || pr.shelf_life == 0)
                continue;
            int16_t& ex = expired_today[static_cast<size_t>(f)][static_cast<size_t>(p)];
            ex = 0;
            for (size_t i = 0; i < pr.lots.size(); ++i) {
                if (days_between(today, pr.lots[i].date) < pr.shelf_life)
                    continue;
                const int16_t units = pr.lots[i].units;
                pr.stock = add16(pr.stock, -units);
                ex = units;
                pr.expired_year = addu16(pr.expired_year, units);
                const int32_t cost = clamp_to<int32_t>(get_material_cost(f, p) * static_cast<float>(units));
                finance_->add_inventory_written_off(cost);
                pr.lots.erase(pr.lots.begin() + static_cast<std::ptrdiff_t>(i));
                char row[64];
                std::snprintf(row, sizeof row, "\t%c%c\t%d", family_letter(f), pr.letter, units);
                rows.emplace_back(row);
                char code[3] = {family_letter(f), pr.letter, 0};
                host_.log_decision("InventoryLost", code, "", std::to_string(units));
                break;
            }
        }
    write_off_expired_export_inventory(rows);
    if (!rows.empty())
        ui_.expired_inventory(rows);
}

// --- Red line and ordering -------------------------------------------------

bool CMarketingWnd::is_in_red_line(int f, int p) const
{
    const MarketProduct& pr = product(f, p);
    return link_mode_ == LINK_MAKE_TO_ORDER ? pr.mto_red == 1 : pr.red_status == 2;
}

bool CMarketingWnd::any_product_in_red_line() const
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            if (!is_product_retired(f, p) && is_in_red_line(f, p))
                return true;
    return false;
}

void CMarketingWnd::init_red_line_status()
{
    if (link_mode_ == LINK_MAKE_TO_ORDER) {
        red_line_active = 0;
        return;
    }
    red_line_active = 1;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            pr.red_status = pr.stock > pr.order_level ? 0 : pr.stock > pr.red_level ? 1 : 2;
        }
}

void CMarketingWnd::check_red_line()
{
    if (link_mode_ == LINK_MAKE_TO_ORDER)
        return;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            const int available = pr.stock - (pr.supply_days.empty() ? 0 : pr.supply_days[0]);
            uint16_t s = 0;
            if (link_mode_ == LINK_FORECAST)
                s = available >= pr.red_level ? 0 : 2;
            else if (available > pr.order_level)
                s = 0;
            else if (available >= pr.red_level)
                s = 1;
            else
                s = pr.red_level < 1 ? 0 : 2;
            if (s != pr.red_status) {
                pr.red_status = s;
                ui_.redraw();
            }
        }
}

void CMarketingWnd::check_red_line_to_order(int f, int p)
{
    MarketProduct& pr = product(f, p);
    if (pr.retired)
        return;
    uint16_t flag = 0;
    if (pr.red_line_time > 0) {
        const size_t n = std::min<size_t>(pr.red_line_time, pr.supply_days.size());
        int due = 0;
        for (size_t i = 0; i < n; ++i)
            due += pr.supply_days[i];
        flag = due > pr.stock ? 1 : 0;
    }
    if (flag != pr.mto_red) {
        pr.mto_red = flag;
        ui_.redraw();
    }
}

void CMarketingWnd::order_production()
{
    if (production_ == nullptr)
        return;
    if (link_mode_ == LINK_MAKE_TO_STOCK)
        order_stock_replenishment();
    else if (link_mode_ == LINK_MAKE_TO_ORDER && host_.job_shop())
        order_jobshop_production();
    else if (link_mode_ == LINK_MAKE_TO_ORDER) {
        if (plan_merge < 1)
            order_to_order_production();
        else
            plan_make_to_order_production();
    }
}

void CMarketingWnd::order_shortfall(int f, int p, int target)
{
    const MarketProduct& pr = product(f, p);
    const int shortfall = target - pr.stock - production_->get_on_order_units(static_cast<int16_t>(f), static_cast<int16_t>(p)) +
                          pr.firm_orders;
    if (shortfall > 0)
        production_->add_order(static_cast<int16_t>(f), static_cast<int16_t>(p), clamp_to<int16_t>(shortfall),
                               ORDER_TYPE_STOCK, KIND_FINISHED, static_cast<int16_t>(pr.qlt));
}

void CMarketingWnd::order_stock_replenishment()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            const MarketProduct& pr = product(f, p);
            if (pr.retired || pr.phase_out)
                continue;
            const int horizon = plan_by_qlt ? pr.qlt : plan_days_before;
            const int demand = get_contract_units_due(f, p, horizon, false);
            const int position =
                pr.stock + production_->get_on_order_units(static_cast<int16_t>(f), static_cast<int16_t>(p)) - demand;
            if (position < pr.order_level) {
                const int q = pr.max_level - position;
                if (q > 0) {
                    production_->add_order(static_cast<int16_t>(f), static_cast<int16_t>(p), clamp_to<int16_t>(q),
                                           ORDER_TYPE_STOCK, KIND_FINISHED, static_cast<int16_t>(pr.qlt));
                    draw_on_order_units(f, p);
                }
            }
        }
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            if (!is_product_retired(f, p) && is_product_phasing_out(f, p))
                order_contract_product(f, p);
}

void CMarketingWnd::order_to_order_production()
{
    Table<int> fresh{}, lead{}, need{};
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            const MarketProduct& pr = product(f, p);
            if (pr.retired || pr.phase_out)
                continue;
            int shortest = 32000;
            int units = 0;
            const int horizon = plan_by_qlt ? pr.qlt : plan_days_before;
            if (contract_horizon_once) {
                contract_horizon_once = 0;
                units = get_contract_units_between(host_.today(), horizon, f, p, &shortest, false);
            } else {
                units = get_contract_units_for_ordering(f, p, &shortest);
            }
            fresh[static_cast<size_t>(f)][static_cast<size_t>(p)] = units;
            lead[static_cast<size_t>(f)][static_cast<size_t>(p)] = shortest;
            const int demand = get_contract_units_due(f, p, horizon, true);
            const int position = pr.stock +
                                 production_->get_on_order_units(static_cast<int16_t>(f), static_cast<int16_t>(p)) -
                                 demand - get_loaded_contract_units(f, p) - export_replenishment_need(f, p);
            need[static_cast<size_t>(f)][static_cast<size_t>(p)] = position < pr.safety_stock ? pr.safety_stock - position : 0;
        }
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            const int n = need[static_cast<size_t>(f)][static_cast<size_t>(p)];
            if (n <= 0)
                continue;
            int units = fresh[static_cast<size_t>(f)][static_cast<size_t>(p)];
            const int replenish = n - units;
            if (n < units)
                units = n;
            const MarketProduct& pr = product(f, p);
            if (replenish > 0)
                production_->add_order(static_cast<int16_t>(f), static_cast<int16_t>(p), clamp_to<int16_t>(replenish),
                                       ORDER_TYPE_STOCK, KIND_FINISHED, static_cast<int16_t>(pr.qlt));
            if (units > 0)
                production_->add_order(static_cast<int16_t>(f), static_cast<int16_t>(p), clamp_to<int16_t>(units),
                                       ORDER_TYPE_CUSTOMER, KIND_FINISHED,
                                       clamp_to<int16_t>(lead[static_cast<size_t>(f)][static_cast<size_t>(p)]));
            draw_on_order_units(f, p);
        }
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            if (!is_product_retired(f, p) && is_product_phasing_out(f, p))
                order_contract_product(f, p);
}

void CMarketingWnd::order_contract_product(int f, int p)
{
    const MarketProduct& pr = product(f, p);
    int shortest = 32000;
    int s = 32000;
    int units = get_contract_units_for_ordering(f, p, &s);
    if (units > 0 && s < 32000)
        shortest = s;
    int s2 = 32000;
    units += mark_one_time_contract_items(pr.qlt, f, p, &s2);
    if (units > 0 && s2 < shortest)
        shortest = s2;
    const int demand = get_contract_units_due(f, p, pr.qlt, false);
    const int position = pr.stock + production_->get_on_order_units(static_cast<int16_t>(f), static_cast<int16_t>(p)) - demand;
    int q = 0;
    if (position < pr.safety_stock) {
        q = pr.safety_stock - position;
        shortest = std::min<int>(shortest, pr.qlt);
    }
    if (q > 0) {
        production_->add_order(static_cast<int16_t>(f), static_cast<int16_t>(p), clamp_to<int16_t>(q), ORDER_TYPE_STOCK,
                               KIND_FINISHED, clamp_to<int16_t>(shortest));
        draw_on_order_units(f, p);
    }
}

void CMarketingWnd::plan_make_to_order_production()
{
    const SimDateTime today = host_.today();
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            const MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            const int window = plan_by_qlt ? pr.qlt : plan_days_before;
            int shortest = 32000;
            int units = 0;
            if (contract_horizon_once) {
                contract_horizon_once = 0;
                units = get_contract_units_between(today, window, f, p, &shortest, false);
            } else {
                units = get_contract_units_for_ordering(f, p, &shortest);
            }
            bool merged = false;
            const SimDateTime edge = host_.add_work_days(today, window);
            if (plan_merge > 0) {
                int s = 32000;
                const int more = get_contract_units_between(edge, plan_merge, f, p, &s, false);
                if (more > 0) {
                    merged = true;
                    units += more;
                    shortest = std::min(shortest, s);
                }
            }
            const int demand = merged ? get_contract_units_between(edge, plan_merge, f, p, nullptr, false) + pr.backlog
                                      : get_contract_units_due(f, p, window, true);
            const int available = pr.stock +
                                  production_->get_on_order_units(static_cast<int16_t>(f), static_cast<int16_t>(p)) -
                                  demand - get_loaded_contract_units(f, p);
            const int shortfall = available < pr.safety_stock ? pr.safety_stock - available : 0;
            if (shortfall > 0) {
                const int extra = shortfall - units;
                units = std::min(units, shortfall);
                if (extra > 0)
                    production_->add_order(static_cast<int16_t>(f), static_cast<int16_t>(p), clamp_to<int16_t>(extra),
                                           ORDER_TYPE_STOCK, KIND_FINISHED, static_cast<int16_t>(pr.qlt));
                if (units > 0)
                    production_->add_order(static_cast<int16_t>(f), static_cast<int16_t>(p), clamp_to<int16_t>(units),
                                           ORDER_TYPE_CUSTOMER, KIND_FINISHED, clamp_to<int16_t>(shortest));
                draw_on_order_units(f, p);
            }
        }
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            if (!is_product_retired(f, p) && is_product_phasing_out(f, p))
                order_contract_product(f, p);
}

// --- Statistics -----------------------------------------------------------

int16_t CMarketingWnd::get_late_open_units(int f, int p) const
{
    int n = 0;
    for (const OpenOrder& o : open_orders)
        if (o.family == f && o.product == p && o.days_late > 0)
            n += o.units;
    return clamp_to<int16_t>(n);
}

int32_t CMarketingWnd::get_late_order_penalty(int f, int p) const
{
    int64_t n = 0;
    for (const OpenOrder& o : open_orders)
        if (o.family == f && o.product == p)
            n += static_cast<int64_t>(o.days_late) * o.units * o.price;
    return clamp_to<int32_t>(static_cast<double>(n));
}

int32_t CMarketingWnd::get_total_late_order_penalty() const
{
    int64_t n = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            if (!is_product_retired(f, p))
                n += get_late_order_penalty(f, p);
    return clamp_to<int32_t>(static_cast<double>(n));
}

void CMarketingWnd::update_service_percentages()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            const float base = static_cast<float>(pr.sold_month) +
                               cancelled_units_month[static_cast<size_t>(f)][static_cast<size_t>(p)] +
                               get_late_open_units(f, p) + get_late_contract_units(f, p);
            pr.service_pct = base > 0 ? clamp_to<uint16_t>(pr.on_time_month / base * 100.0f) : 100;
        }
}

void CMarketingWnd::count_red_line_days()
{
    const int days = host_.work_days_this_month();
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            if (is_in_red_line(f, p))
                pr.red_days_month = addu16(pr.red_days_month, 1);
            pr.red_share_month = days > 0 ? static_cast<float>(pr.red_days_month) / static_cast<float>(days) : 0.0f;
        }
}

void CMarketingWnd::monthly_rollover()
{
    // Delivery performance and demand.
    double company_penalty = 0, company_value = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            const double late_value = (static_cast<double>(get_late_open_units(f, p)) +
                                       cancelled_units_month[static_cast<size_t>(f)][static_cast<size_t>(p)] +
                                       get_late_contract_units(f, p)) *
                                      pr.price;
            const double penalty = static_cast<double>(pr.lost_sales_value) + get_late_order_penalty(f, p) +
                                   get_late_value_for_product(f, p);
            const double value = pr.revenue_month + late_value;
            const float ratio = value > 0 ? static_cast<float>(penalty / value) : 0.0f;
            company_penalty += static_cast<double>(pr.lost_sales_value);
            company_value += pr.revenue_month + late_value;
            shift_in(pr.penalty_series, ratio);
            pr.last_penalty = ratio;
            pr.weighted_penalty = weighted6(pr.penalty_series);
            pr.penalty_last_month = clamp_to<uint32_t>(penalty);
            pr.lost_sales_value = 0;
            const float old_orders = pr.annual_orders;
            apply_ddp_adjustment("DDP", pr.weighted_penalty, pr.annual_orders);
            if (old_orders > 0)
                apply_campaign_factor(f, p, pr.annual_orders / old_orders);
            apply_ddp_adjustment("DDP", pr.weighted_penalty, fixed_demand[static_cast<size_t>(f)][static_cast<size_t>(p)]);
        }
    for (size_t c = 0; c < customers.size(); ++c) {
        Customer& cu = customers[c];
        double waited_value = 0;
        for (size_t i = 0; i < loaded.size(); ++i)
            if (loaded[i].customer == c && loaded[i].days_waited > 0)
                waited_value += get_delivery_value(static_cast<int>(i));
        const double penalty = static_cast<double>(cu.late_value_month) + get_customer_late_value(static_cast<int>(c));
        const double value = cu.contract_sales_month + waited_value;
        const float ratio = value > 0 ? static_cast<float>(penalty / value) : 0.0f;
        cu.last_penalty = ratio;
        shift_in(cu.history, ratio);
        cu.weighted_penalty = get_customer_weighted_average(static_cast<int>(c));
        cu.penalty_last_month = clamp_to<uint32_t>(penalty);
        cu.late_value_month = 0;
    }
    company_penalty += get_total_late_order_penalty() + static_cast<double>(get_late_value_total());
    host_.add_reputation_value(company_value > 0 ? static_cast<float>(company_penalty / company_value) : 0.0f);
    lost_value_month = 0;

    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            const size_t fi = static_cast<size_t>(f), pi = static_cast<size_t>(p);
            pr.sold_last_month = pr.sold_month;
            pr.sold_month = 0;
            shift_in(pr.units_series, static_cast<float>(pr.sold_last_month));
            pr.on_time_month = 0;
            cancelled_units_month[fi][pi] = 0;
            pr.sold_orders_last_month = pr.sold_orders_month;
            pr.sold_orders_month = 0;
            pr.sold_contracts_last_month = pr.sold_contracts_month;
            pr.sold_contracts_month = 0;
            pr.ordered_last_month = pr.ordered_month;
            pr.ordered_month = 0;
            shift_in(pr.ordered_series, static_cast<float>(pr.ordered_last_month));
            lost_units_last_month[fi][pi] = lost_units_month[fi][pi];
            lost_units_month[fi][pi] = 0;
            shift_in(lost_units_series[fi][pi], static_cast<uint32_t>(lost_units_last_month[fi][pi]));

            pr.revenue_last_month = pr.revenue_month;
            pr.revenue_month = 0;
            shift_in(pr.revenue_series, static_cast<float>(pr.revenue_last_month));
            pr.order_sales_last = pr.order_sales_month;
            pr.order_sales_month = 0;
            shift_in(pr.order_sales_series, static_cast<float>(pr.order_sales_last));
            pr.contract_sales_last = pr.contract_sales_month;
            pr.contract_sales_month = 0;
            shift_in(pr.contract_sales_series, static_cast<float>(pr.contract_sales_last));
            shift_in(pr.throughput_series, static_cast<float>(pr.revenue_last_month) - cost_of_sales_month[fi][pi]);
            cost_of_sales_month[fi][pi] = 0;

            pr.red_share_last_month = pr.red_share_month;
            pr.red_share_month = 0;
            pr.red_days_month = 0;
            shift_in(pr.red_share_series, pr.red_share_last_month);

            const int days = host_.work_days_last_month();
            pr.sold_per_day_last_month = days > 0 ? static_cast<float>(pr.sold_last_month) / static_cast<float>(days) : 0.0f;
            pr.order_sold_per_day_last_month =
                days > 0 ? static_cast<float>(pr.sold_orders_last_month) / static_cast<float>(days) : 0.0f;
        }
    for (Customer& cu : customers)
        cu.contract_sales_month = 0;
    sales_value_last_month = sales_value_month;
    sales_value_month = 0;
    update_demand_estimate();
}

void CMarketingWnd::update_demand_estimate()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            pr.prev_demand_estimate = pr.demand_estimate;
            const double e = pr.prev_demand_estimate +
                             (static_cast<double>(pr.sold_orders_last_month) - pr.prev_demand_estimate) * smoothing;
            pr.demand_estimate = clamp_to<uint16_t>(e < 0 ? 0 : e);
        }
}

void CMarketingWnd::update_expected_monthly_demand()
{
    const int W = host_.month_work_days();
    const SimDateTime today = host_.today();
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            if (host_.tick_count() > 0)
                pr.prev_expected_demand = pr.expected_demand;
            int e = get_contract_units_between(today, W, f, p, nullptr, false) + pr.backlog;
            if (link_mode_ == LINK_MAKE_TO_ORDER && pr.qlt >= 20)
                e += pr.backlog / pr.qlt * W;
            else
                e += get_expected_orders(f, p, W);
            pr.expected_demand = clamp_to<uint16_t>(e);
        }
}

void CMarketingWnd::roll_product_year()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            pr.revenue_last_year = pr.revenue_year;
            pr.revenue_year = 0;
        }
}

void CMarketingWnd::roll_year_counters()
{
    day_count = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            const uint16_t now = static_cast<uint16_t>(std::max<int16_t>(0, pr.stock));
            pr.stock_prev_year_start = pr.stock_year_start;
            pr.stock_year_start = now;
            pr.sold_last_year = pr.sold_year;
            pr.sold_year = 0;
            pr.cost_of_sales_last_year = pr.cost_of_sales_year;
            pr.cost_of_sales_year = 0;
            pr.stock_year_copy = now;
            pr.expired_last_year = pr.expired_year;
            pr.expired_year = 0;
        }
    export_month_roll();
}

int16_t CMarketingWnd::get_expected_demand(const SimDateTime& date, int days, int f, int p) const
{
    return clamp_to<int16_t>(get_contract_units_between(date, days, f, p, nullptr, false) + get_expected_orders(f, p, days));
}

void CMarketingWnd::build_monthly_forecast()
{
    const SimDateTime today = host_.today();
    const int W = host_.month_work_days();
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            int days = W;
            if (!host_.is_new_month()) {
                SimDateTime end = today;
                end.day = month_length(today.month, today.year);
                days = 0;
                SimDateTime d = today;
                while (day_order(d, end) < 0 && days < 62) {
                    d = host_.add_work_days(d, 1);
                    ++days;
                }
            }
            pr.forecast[0] = clamp_to<uint16_t>(std::max(0, get_expected_demand(today, days, f, p) + pr.backlog));
            SimDateTime m = today;
            for (int k = 1; k <= 6; ++k) {
                m.month = static_cast<int16_t>(m.month % 12 + 1);
                if (m.month == 1)
                    ++m.year;
                m.day = 1;
                pr.forecast[static_cast<size_t>(k)] = clamp_to<uint16_t>(std::max<int>(0, get_expected_demand(m, W, f, p)));
            }
        }
}

void CMarketingWnd::build_production_plan()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            pr.plan[0] = addu16(pr.forecast[0], pr.forecast[1]);
            for (size_t k = 1; k <= 5; ++k)
                pr.plan[k] = pr.forecast[k + 1];
        }
}

void CMarketingWnd::add_daily_sales_point()
{
    double sum = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            sum += revenue_today[static_cast<size_t>(f)][static_cast<size_t>(p)];
    // The month just ended is averaged before today's point joins the next.
    if (host_.is_new_month())
        sales_graph.close_month();
    if (sales_graph.add_day(clamp_to<int32_t>(sum)))
        ui_.redraw();
}

double sales_axis_max(double value)
{
    if (!(value > 0))
        return 1000;
    const double whole = std::floor(value);
    const int n = whole < 1 ? 1 : static_cast<int>(std::floor(std::log10(whole))) + 1;
    double p = std::pow(10.0, n - 1);
    double max = std::floor(whole / p) * p + p;
    if (value / max < 0.8 && n >= 2) {
        p = std::pow(10.0, n - 2);
        max = std::floor(whole / p) * p + p;
    }
    return max;
}

void SalesGraph::close_month()
{
    if (averages.size() >= daily.size())
        return;
    double sum = 0;
    for (size_t i = averages.size(); i < daily.size(); ++i)
        sum += daily[i];
    const int32_t avg = clamp_to<int32_t>(sum / static_cast<double>(daily.size() - averages.size()));
    averages.resize(daily.size(), avg);
}

bool SalesGraph::add_day(int32_t value)
{
    // The tables keep the run's first 1500 working days.
    if (daily.size() >= SALES_GRAPH_DAYS)
        return false;
    const double x = static_cast<double>(daily.size());
    daily.push_back(value);
    bool moved = false;
    if (x > x_max) {
        x_min += 22;
        x_max += 22;
        moved = true;
    }
    if (value > y_max) {
        y_max = sales_axis_max(value);
        moved = true;
    }
    return moved;
}

uint32_t CMarketingWnd::get_daily_throughput() const
{
    int64_t sum = 0;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p)
            sum += clamp_to<int32_t>(revenue_today[static_cast<size_t>(f)][static_cast<size_t>(p)] -
                                     static_cast<double>(get_material_cost(f, p)) *
                                         units_today[static_cast<size_t>(f)][static_cast<size_t>(p)]);
    return clamp_to<uint32_t>(static_cast<double>(sum));
}

int32_t CMarketingWnd::get_backlog_value() const
{
    double v = 0;
    for (const OpenOrder& o : open_orders)
        v += static_cast<double>(o.units) * o.price;
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k) {
            if (!is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                continue;
            const CustomerContract& ct = customers[c].contracts[k];
            double line = 0;
            for (int i = 0; i < ct.item_count; ++i)
                line += static_cast<double>(ct.items[static_cast<size_t>(i)].quantity) * ct.items[static_cast<size_t>(i)].unit_price;
            v += line * (static_cast<double>(ct.supply.size()) - ct.deliveries_made);
        }
    return clamp_to<int32_t>(v);
}

void CMarketingWnd::compute_throughput_history()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            const float cost = production_ != nullptr
                                   ? static_cast<float>(production_->get_standard_material_cost(static_cast<int16_t>(f),
                                                                                                static_cast<int16_t>(p)))
                                   : 0.0f;
            for (size_t m = 0; m < 12; ++m)
                pr.throughput_series[m] = pr.revenue_series[m] - cost * pr.units_series[m];
        }
}

// --- Demand figures ---------------------------------------------------------

double CMarketingWnd::get_demand(const char* name, double x)
{
    for (const DemandTable& t : demand_tables) {
        if (t.name != name)
            continue;
        const size_t n = t.x.size();
        if (n == 0)
            return 0;
        if (x < t.x[0])
            return t.y[0];
        if (x >= t.x[n - 1])
            return t.y[n - 1];
        for (size_t i = 0; i + 1 < n; ++i)
            if (t.x[i] <= x && x < t.x[i + 1])
                return t.y[i] + (t.y[i + 1] - t.y[i]) * (x - t.x[i]) / (t.x[i + 1] - t.x[i]);
        error_box("bug in 'get_demand'");
        return -99;
    }
    // A scenario without the table: no effect.
    return 0;
}

void CMarketingWnd::apply_ddp_adjustment(const char* name, double x, float& value)
{
    for (const DemandTable& t : demand_tables) {
        if (t.name != name)
            continue;
        const size_t n = t.x.size();
        if (n == 0)
            return;
        // Below the first point the first interval holds, as the lookup's.
        size_t k = x < t.x[0] ? 0 : n - 1;
        for (size_t i = 0; i + 1 < n; ++i)
            if (t.x[i] <= x && x < t.x[i + 1]) {
                k = i;
                break;
            }
        value = value + value * t.y[k] / 100.0f;
        if (!std::isfinite(value) || value < 0)
            value = 0;
        return;
    }
}

void CMarketingWnd::apply_price_change(int f, int p, int old_price, int new_price)
{
    MarketProduct& pr = product(f, p);
    if (old_price == new_price || pr.base_price == 0)
        return;
    const double base = pr.base_price;
    const double fo = (100.0 + get_demand("PRICE", (old_price - base) / base * 100.0)) / 100.0;
    const double fn = (100.0 + get_demand("PRICE", (new_price - base) / base * 100.0)) / 100.0;
    if (fo == 0)
        return;
    const float k = static_cast<float>(fn / fo);
    pr.annual_orders *= k;
    fixed_demand[static_cast<size_t>(f)][static_cast<size_t>(p)] *= k;
    apply_campaign_factor(f, p, k);
}

void CMarketingWnd::apply_quoted_lead_time_change(int f, int p, int old_qlt, int new_qlt)
{
    MarketProduct& pr = product(f, p);
    if (old_qlt == new_qlt)
        return;
    const double base = pr.base_qlt == 0 ? 1.0 : pr.base_qlt;
    const double fo = (100.0 + get_demand("QLT", (old_qlt - base) / base * 100.0)) / 100.0;
    const double fn = (100.0 + get_demand("QLT", (new_qlt - base) / base * 100.0)) / 100.0;
    if (fo == 0)
        return;
    const float k = static_cast<float>(fn / fo);
    pr.annual_orders *= k;
    fixed_demand[static_cast<size_t>(f)][static_cast<size_t>(p)] *= k;
    apply_campaign_factor(f, p, k);
}

float CMarketingWnd::get_cumulative_growth(int family, int m) const
{
    if (m < 0)
        return 1.0f;
    float g = 1.0f;
    for (int i = 0; i <= m; ++i)
        g *= families[static_cast<size_t>(family)].monthly_pct[static_cast<size_t>(i % 12)] / 100.0f;
    return g;
}

uint16_t CMarketingWnd::get_expected_orders(int f, int p, int n) const
{
    const MarketProduct& pr = product(f, p);
    const int W = std::max(1, host_.month_work_days());
    const int Q = pr.qlt;
    int n2 = n;
    if (link_mode_ == LINK_MAKE_TO_ORDER && mto_supply_option == 0)
        n2 = n > Q ? n - Q : 0;
    double E = static_cast<double>(pr.demand_estimate) / W * n2;
    const double r = n2 > 0 ? E / n2 : 0.0;
    const int M = n / W;
    if (M >= 1) {
        E = 0;
        const double g = get_cumulative_growth(f, static_cast<int>(month_count) - 2);
        double fo = g;
        int d = Q;
        const int m0 = host_.today().month - 1;
        for (int i = 0; i < M; ++i) {
            const int k = std::max(0, W - d);
            d = std::max(0, d - W);
            const double fn = fo * families[static_cast<size_t>(f)].monthly_pct[static_cast<size_t>((m0 + i) % 12)] / 100.0;
            if (g != 0)
                E += k * r * ((fn + fo) / 2.0) / g;
            fo = fn;
        }
    }
    // An active export line's customers order from the same stock.
    E += get_export_expected_orders(f, p, n2);
    return clamp_to<uint16_t>(E);
}

void CMarketingWnd::apply_monthly_growth()
{
    const SimDateTime today = host_.today();
    const int m = std::clamp(today.month - 1, 0, 11);
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired)
                continue;
            pr.annual_orders *= families[static_cast<size_t>(f)].monthly_pct[static_cast<size_t>(m)] / 100.0f;
            for (const MarketEvent& e : events)
                if (e.family == f && e.product == p && e.year == today.year && e.month == today.month) {
                    pr.annual_orders *= e.factor;
                    apply_campaign_factor(f, p, e.factor);
                }
        }
    ui_.redraw();
}

void CMarketingWnd::apply_yearly_growth()
{
    const int year = host_.years_elapsed();
    if (year < 1 || year >= 5)
        return;
    for (int f = 0; f < family_count_; ++f) {
        const float k = families[static_cast<size_t>(f)].yearly_pct[static_cast<size_t>(year)] / 100.0f;
        for (int p = 0; p < product_count(f); ++p) {
            if (is_product_retired(f, p))
                continue;
            product(f, p).annual_orders *= k;
            apply_campaign_factor(f, p, k);
        }
    }
    ui_.redraw();
}

void CMarketingWnd::on_new_year() { apply_yearly_growth(); }

void CMarketingWnd::on_new_month()
{
    ui_.beep(1);
    month_count = addu16(month_count, 1);
    day_index = 0;
    retire_phased_out_products();
    run_price_promotions();
    run_monthly_campaigns(-1);
    apply_monthly_growth();
    apply_export_monthly_growth();
    activate_due_export_lines();
}

// --- Products to come, promotions, campaigns ---------------------------------

void CMarketingWnd::mark_due_new_product()
{
    const SimDateTime today = host_.today();
    for (int n = 0; n < new_product_count; ++n) {
        NewProductEntry& e = new_products[static_cast<size_t>(n)];
        if (e.pending && day_order(e.date, today) <= 0) {
            e.pending = 0;
            e.due = 1;
            return;
        }
    }
}

void CMarketingWnd::add_new_product_temporary(int n)
{
    NewProductEntry& e = new_products[static_cast<size_t>(n)];
    Family& fam = families[e.family];
    if (fam.product_count >= MAX_PRODUCTS)
        return;
    const int p = fam.product_count++;
    MarketProduct& pr = fam.products[static_cast<size_t>(p)];
    pr = e.product;
    pr.id = static_cast<uint16_t>(e.family * 1000 + p * 100);
    pr.lots.clear();
    product_names[e.family][static_cast<size_t>(p)] = e.name;
    build_supply_days_table();
    if (production_ != nullptr) {
        production_->activate_new_product(e.family, p);
        pr.material_cost = clamp_to<uint16_t>(get_material_cost(e.family, p));
    }
    pr.weighted_penalty = weighted6(pr.penalty_series);
}

void CMarketingWnd::remove_temporary_product(int n)
{
    NewProductEntry& e = new_products[static_cast<size_t>(n)];
    Family& fam = families[e.family];
    if (fam.product_count == 0)
        return;
    const int p = fam.product_count - 1;
    if (production_ != nullptr)
        production_->deactivate_new_product(e.family, p);
    fam.products[static_cast<size_t>(p)] = MarketProduct{};
    --fam.product_count;
}

void CMarketingWnd::add_new_product(int n)
{
    NewProductEntry& e = new_products[static_cast<size_t>(n)];
    add_new_product_temporary(n);
    e.index = static_cast<int16_t>(families[e.family].product_count - 1);
    // Launched now, not at a later date: its demand starts at once.
    if (e.pending == 0)
        e.due = 1;
    finance_->post_cash(-e.cost, 0);
    finance_->add_marketing_expenses(e.cost);
}

bool CMarketingWnd::introduce_new_products()
{
    const SimDateTime today = host_.today();
    for (int n = 0; n < new_product_count; ++n) {
        NewProductEntry& e = new_products[static_cast<size_t>(n)];
        if (e.introduced || day_order(e.date, today) > 0)
            continue;
        if (families[e.family].product_count >= MAX_PRODUCTS && restart_stage != 4) {
            e.introduced = 1;
            continue;
        }
        if (restart_stage != 4) {
            add_new_product_temporary(n);
            ui_.redraw();
        }
        const int answer = ui_.new_product(n);
        if (answer == 2) {
            restart_stage = 4;
            host_.enter_hold();
            return false;
        }
        e.introduced = 1;
        remove_temporary_product(n);
        if (answer == 1)
            add_new_product(n);
        restart_stage = 0;
        ui_.redraw();
    }
    return true;
}

void CMarketingWnd::retire_phased_out_products()
{
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (!pr.phase_out || pr.retired)
                continue;
            bool named = false;
            for (const LoadedContract& l : loaded)
                for (int i = 0; i < l.item_count; ++i)
                    named = named || (l.lines[static_cast<size_t>(i)].family == f && l.lines[static_cast<size_t>(i)].product == p);
            for (size_t c = 0; c < customers.size() && !named; ++c)
                for (size_t k = 0; k < customers[c].contracts.size() && !named; ++k) {
                    if (!is_contract_active(static_cast<int>(c), static_cast<int>(k)))
                        continue;
                    const CustomerContract& ct = customers[c].contracts[k];
                    for (int i = 0; i < ct.item_count; ++i)
                        named = named || (ct.items[static_cast<size_t>(i)].family == f && ct.items[static_cast<size_t>(i)].product == p);
                }
            if (!named) {
                pr.retired = 1;
                ui_.redraw();
            }
        }
}

void CMarketingWnd::run_price_promotions()
{
    // A percentage of 0 or less would divide by nothing: it acts as 100.
    auto pct = [](int16_t v) { return v > 0 ? v / 100.0f : 1.0f; };
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            MarketProduct& pr = product(f, p);
            if (pr.retired || pr.promotion_state == 0)
                continue;
            const size_t k = static_cast<size_t>(std::clamp<int>(pr.promotion_level, 1, 5) - 1);
            const auto& v = pr.promotion_pct[k];
            switch (pr.promotion_state) {
            case 1:
                pr.promotion_state = 2;
                pr.annual_orders *= pct(v[0]);
                pr.saved_price = pr.price;
                pr.price = static_cast<uint16_t>(std::max(0, get_discounted_price(f, p, static_cast<int>(k) + 1)));
                finance_->post_cash(-pr.promotion_cost, 0);
                finance_->add_promotion_expenses(pr.promotion_cost);
                break;
            case 2:
                pr.promotion_state = 3;
                pr.annual_orders = pr.annual_orders / pct(v[0]) * pct(v[1]);
                pr.price = pr.saved_price;
                break;
            case 3:
                pr.promotion_state = 4;
                pr.annual_orders = pr.annual_orders / pct(v[1]) * pct(v[2]);
                break;
            default:
                pr.promotion_state = 0;
                pr.annual_orders = pr.annual_orders / pct(v[2]) * (1.0f + v[3] / 100.0f);
                break;
            }
            if (!std::isfinite(pr.annual_orders) || pr.annual_orders < 0)
                pr.annual_orders = 0;
            ui_.redraw();
        }
}

void CMarketingWnd::run_monthly_campaigns(int only)
{
    for (size_t i = 0; i < campaigns.size(); ++i) {
        if (only >= 0 && static_cast<int>(i) != only)
            continue;
        AdvertisingCampaign& c = campaigns[i];
        if (c.level_index < 0 || c.level_index >= c.level_count) {
            // A level that does not exist never starts.
            if (c.active) {
                c.active = 0;
                c.months_left = 0;
            }
            continue;
        }
        if (c.active)
            c.months_left = std::max(0, c.months_left - 1);
        const bool general = c.name == "General";
        uint16_t cf = NO_INDEX, cp = NO_INDEX;
        if (!general)
            find_product_by_code(c.name.c_str(), cf, cp);
        auto each = [&](auto fn) {
            for (int f = 0; f < family_count_; ++f)
                for (int p = 0; p < product_count(f); ++p)
                    if (general || (f == cf && p == cp))
                        fn(f, p);
        };
        if (!c.active && c.months_left >= 1) {
            if (!general && cf == NO_INDEX)
                continue;
            c.active = 1;
            each([&](int f, int p) { c.start_demand[static_cast<size_t>(f)][static_cast<size_t>(p)] = product(f, p).annual_orders; });
        }
        if (c.active) {
            const float L = static_cast<float>(c.levels[static_cast<size_t>(c.level_index)]);
            each([&](int f, int p) {
                product(f, p).annual_orders = (100.0f + L) * c.start_demand[static_cast<size_t>(f)][static_cast<size_t>(p)] / 100.0f;
            });
            if (c.months_left == 0) {
                c.active = 0;
                end_campaign_effect(c, false);
            }
        }
    }
}

void CMarketingWnd::end_campaign_effect(AdvertisingCampaign& c, bool restore)
{
    if (c.level_index < 0 || c.level_index >= c.level_count)
        return;
    const float L = static_cast<float>(c.levels[static_cast<size_t>(c.level_index)]);
    const bool general = c.name == "General";
    uint16_t cf = NO_INDEX, cp = NO_INDEX;
    if (!general)
        find_product_by_code(c.name.c_str(), cf, cp);
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < product_count(f); ++p) {
            if (!general && !(f == cf && p == cp))
                continue;
            const float s = c.start_demand[static_cast<size_t>(f)][static_cast<size_t>(p)];
            product(f, p).annual_orders = restore ? s : s + s * (c.value / 100.0f * L) / 100.0f;
        }
}

void CMarketingWnd::apply_campaign_factor(int f, int p, float factor)
{
    if (!std::isfinite(factor))
        return;
    char code[3] = {family_letter(f), product_letter(f, p), 0};
    // Every running campaign that lifts the product keeps the change past its end.
    for (AdvertisingCampaign& c : campaigns)
        if (c.active && (c.name == "General" || c.name == code))
            c.start_demand[static_cast<size_t>(f)][static_cast<size_t>(p)] *= factor;
}

uint32_t CMarketingWnd::charge_monthly_advertising()
{
    int64_t sum = 0;
    for (AdvertisingCampaign& c : campaigns)
        if (c.active) {
            const int64_t cost = static_cast<int64_t>(c.level_index + 1) * c.monthly_cost;
            c.accumulated = clamp_to<int32_t>(static_cast<double>(c.accumulated) + static_cast<double>(cost));
            sum += cost;
        }
    return clamp_to<uint32_t>(static_cast<double>(sum));
}

void CMarketingWnd::get_monthly_requirements(int f, int p, int16_t out[6])
{
    const MarketProduct& pr = product(f, p);
    const int W = host_.month_work_days();
    const SimDateTime today = host_.today();
    double first = pr.expected_demand + pr.backlog;
    if (link_mode_ == LINK_MAKE_TO_STOCK)
        first -= pr.stock - 0.9 * pr.order_level;
    else if (link_mode_ == LINK_MAKE_TO_ORDER)
        first += pr.safety_stock - pr.stock;
    else
        first = 2.0 * pr.expected_demand + pr.backlog - pr.stock + pr.safety_stock;
    std::array<double, 6> r{};
    r[0] = first;
    forecast_run = 1;
    SimDateTime m = today;
    for (size_t k = 1; k < 6; ++k) {
        m.month = static_cast<int16_t>(m.month % 12 + 1);
        if (m.month == 1)
            ++m.year;
        m.day = 1;
        r[k] = get_expected_demand(m, W, f, p);
    }
    forecast_run = 0;
    // A negative first month is taken off the months after it.
    double owed = r[0] < 0 ? -r[0] : 0;
    r[0] = std::max(0.0, r[0]);
    for (size_t k = 1; k < 6 && owed > 0; ++k) {
        const double take = std::min(owed, r[k]);
        r[k] -= take;
        owed -= take;
    }
    for (size_t k = 0; k < 6; ++k)
        out[k] = clamp_to<int16_t>(r[k]);
}
