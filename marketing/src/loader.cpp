// The market's scenario sections. Every count, index and value is bounded
// before it is used: a file that loads is one the engine can run.
#include "market_util.h"
#include "marketing/marketing_wnd.h"
#include "foundation/randtables.h"
#include <cmath>
#include <cstring>

using namespace mkt;

namespace {

float finite_float(MarketData& d, int16_t n)
{
    const double v = d.item_float(n);
    if (!std::isfinite(v) || std::fabs(v) > 3.0e38)
        d.load_error(2);
    return static_cast<float>(v);
}

float positive_float(MarketData& d, int16_t n)
{
    const float v = finite_float(d, n);
    if (!(v > 0.0f))
        d.load_error(2);
    return v;
}

uint16_t u16_item(MarketData& d, int16_t n) { return static_cast<uint16_t>(bounded(d, n, 0, 65535)); }
uint16_t i16_item(MarketData& d, int16_t n) { return static_cast<uint16_t>(bounded(d, n, 0, 32767)); }

} // namespace

SimDateTime CMarketingWnd::read_date(MarketData& d, int16_t item)
{
    const std::string text = d.item_text(item);
    if (text.size() < 6)
        d.load_error(2);
    for (int i = 0; i < 6; ++i)
        if (text[static_cast<size_t>(i)] < '0' || text[static_cast<size_t>(i)] > '9')
            d.load_error(2);
    const SimDateTime date = parse_ddmmyy(text.c_str());
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > month_length(date.month, date.year))
        d.load_error(2);
    return date;
}

void CMarketingWnd::clear_product(MarketProduct& p)
{
    p = MarketProduct{};
    p.service_pct = 100;
}

void CMarketingWnd::load_market_data(MarketData& d)
{
    load_rand_tables(d);
    load_market(d);
    load_demands(d);
    load_customers(d);
    load_sales(d);
    load_new_products(d);
    load_advertising(d);
    load_events(d);
    load_fix_demands(d);
    load_market_export(d);
    if (host_.job_shop())
        load_jobshop_section(d);
    // The loaded state the daily steps start from.
    for (size_t c = 0; c < customers.size(); ++c)
        for (size_t k = 0; k < customers[c].contracts.size(); ++k)
            set_contract_prices(static_cast<int>(c), static_cast<int>(k));
    build_supply_days_table();
}

void CMarketingWnd::load_rand_tables(MarketData& d)
{
    if (!d.has_section("MARKET_RAND_TABLES")) {
        d.use_random_tables_file();
        return;
    }
    d.find_section("MARKET_RAND_TABLES");
    rand_tables_clear();
    for (int16_t t = 1; t <= 4; ++t) {
        d.get_record(t, 1);
        RandTable table{};
        const std::string name = d.item_text(1);
        if (name.empty() || name.size() > 80)
            d.load_error(2);
        std::strncpy(table.name, name.c_str(), sizeof table.name - 1);
        table.count = static_cast<int16_t>(bounded(d, 2, 1, MAX_TABLE_ENTRIES));
        d.get_record(t, 2);
        int32_t last = -1;
        for (int16_t i = 0; i < table.count; ++i) {
            const int32_t v = bounded(d, static_cast<int16_t>(i + 1), 0, 32767);
            if (v <= last)
                d.load_error(2);
            table.threshold[i] = static_cast<int16_t>(last = v);
        }
        d.get_record(t, 3);
        for (int16_t i = 0; i < table.count; ++i)
            table.value[i] = static_cast<int16_t>(bounded(d, static_cast<int16_t>(i + 1), -32768, 32767));
        if (!rand_tables_add(table))
            d.load_error(1);
    }
}

void CMarketingWnd::load_market(MarketData& d)
{
    d.find_section("MARKET");
    d.get_record(1, 1);
    const int32_t count = d.item_int(1);
    if (count < 0)
        d.load_error(2);
    if (count >= MAX_FAMILYS + 1)
        d.index_overflow("MAX_FAMILYS");
    family_count_ = static_cast<uint16_t>(count);
    smoothing = finite_float(d, 2);
    max_wait = static_cast<int16_t>(bounded(d, 3, 0, 32767));

    const int16_t items = d.get_record(1, 2);
    const int32_t code = bounded(d, 1, 1, 3);
    plan_by_qlt = 0;
    plan_days_before = 0;
    mto_supply_option = 0;
    if (code == 1 || code == 2) {
        plan_by_qlt = static_cast<uint16_t>(bounded(d, 2, 0, 1));
        const uint16_t days = i16_item(d, 3);
        plan_days_before = plan_by_qlt == 0 ? days : 0;
        if (code == 2) {
            if (plan_by_qlt != 0 && items == 3)
                mto_supply_option = days;
            else if (plan_by_qlt == 0 && items == 4)
                mto_supply_option = u16_item(d, 4);
        }
    }
    scenario_link_mode = static_cast<uint16_t>(code - 1);
    link_mode_ = link_mode_copy = scenario_link_mode;
    sales_value_run = sales_value_month = sales_value_last_month = lost_value_month = 0;

    for (int f = 0; f < family_count_; ++f) {
        Family& fam = families[static_cast<size_t>(f)];
        fam = Family{};
        const int16_t topic = static_cast<int16_t>(f + 2);
        d.get_record(topic, 1);
        for (int16_t m = 0; m < 12; ++m)
            fam.monthly_pct[static_cast<size_t>(m)] = positive_float(d, static_cast<int16_t>(m + 1));
        d.get_record(topic, 2);
        for (int16_t y = 0; y < 5; ++y)
            fam.yearly_pct[static_cast<size_t>(y)] = positive_float(d, static_cast<int16_t>(y + 1));
        d.get_record(topic, 3);
        const std::string letter = d.item_text(1);
        if (letter.empty())
            d.load_error(2);
        fam.letter = letter[0];
        fam.colour = u16_item(d, 2);
        const int32_t products = d.item_int(3);
        if (products < 0)
            d.load_error(2);
        if (products >= MAX_PRODUCTS + 1)
            d.index_overflow("MAX_PRODUCTS");
        fam.product_count = static_cast<uint16_t>(products);
        scenario_products_[static_cast<size_t>(f)] = fam.product_count;
        for (int p = 0; p < products; ++p) {
            MarketProduct& pr = fam.products[static_cast<size_t>(p)];
            clear_product(pr);
            d.get_record(topic, static_cast<int16_t>(p + 4));
            pr.id = static_cast<uint16_t>(f * 1000 + p * 100);
            const std::string name = d.item_text(1);
            if (name.empty())
                d.load_error(2);
            pr.letter = name[0];
            product_names[static_cast<size_t>(f)][static_cast<size_t>(p)] =
                name.size() > 1 && name[1] == '-' ? name.substr(2, 40) : std::string();
            pr.box_x = i16_item(d, 2);
            pr.box_y = i16_item(d, 3);
            pr.scenario_value4 = u16_item(d, 4);
            pr.base_qlt = pr.qlt = i16_item(d, 5);
            pr.initial_inventory = i16_item(d, 6);
            pr.max_level = i16_item(d, 7);
            pr.order_level = i16_item(d, 8);
            pr.red_level = i16_item(d, 9);
            pr.material_cost = i16_item(d, 10);
            pr.base_price = pr.price = static_cast<uint16_t>(bounded(d, 11, 0, 32000));
            pr.base_annual_orders = pr.annual_orders = finite_float(d, 12);
            if (pr.annual_orders < 0)
                d.load_error(2);
            pr.order_size = i16_item(d, 13);
            pr.prev_demand_estimate = pr.demand_estimate = pr.prev_expected_demand = i16_item(d, 14);
            pr.estimate_series[11] = pr.prev_demand_estimate;
            pr.shelf_life = i16_item(d, 15);
            for (int16_t i = 0; i < 6; ++i)
                pr.penalty_series[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(16 + i));
            pr.weighted_penalty = weighted6(pr.penalty_series);
            pr.last_penalty = pr.penalty_series[5];
            for (int16_t i = 0; i < 12; ++i) {
                pr.revenue_series[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(22 + i));
                pr.order_sales_series[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(34 + i));
                pr.contract_sales_series[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(46 + i));
                pr.units_series[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(58 + i));
            }
            for (int16_t i = 0; i < 6; ++i)
                pr.red_share_series[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(70 + i));
            pr.revenue_last_month = clamp_to<uint32_t>(pr.revenue_series[11]);
            pr.order_sales_last = clamp_to<uint32_t>(pr.order_sales_series[11]);
            pr.contract_sales_last = clamp_to<uint32_t>(pr.contract_sales_series[11]);
            // No price: nothing sold per unit of it.
            pr.sold_orders_last_month = pr.price > 0 ? clamp_to<uint16_t>(pr.order_sales_last / pr.price) : 0;
            pr.sold_contracts_last_month = pr.price > 0 ? clamp_to<uint16_t>(pr.contract_sales_last / pr.price) : 0;
            pr.sold_last_month = clamp_to<uint16_t>(pr.units_series[11]);
            pr.ordered_series[10] = pr.units_series[10];
            pr.ordered_series[11] = pr.units_series[11];
            pr.stock = 0;
            adjust_inventory(f, p, pr.initial_inventory, 0);
            pr.stock_year_start = pr.stock_prev_year_start = pr.stock_year_copy = pr.initial_inventory;
            pr.safety_stock = static_cast<uint16_t>(pr.stock);
            lost_units_month[static_cast<size_t>(f)][static_cast<size_t>(p)] = 0;
            lost_units_last_month[static_cast<size_t>(f)][static_cast<size_t>(p)] = 0;
        }
    }
    if (host_.job_shop())
        link_mode_ = LINK_MAKE_TO_ORDER;
    init_red_line_status();
    update_demand_estimate();
    contract_horizon_once = 0;
    plan_merge = 0;
    loaded.clear();
    restart_stage = 0;
    held_contracts.clear();
    revenue_today = {};
    units_today = {};
}

void CMarketingWnd::load_demands(MarketData& d)
{
    d.find_section("MARKET_DEMANDS");
    d.get_record(1, 1);
    const int32_t count = d.item_int(1);
    if (count < 0)
        d.load_error(2);
    if (count >= MAX_DEMAND_TABLES)
        d.index_overflow("MAX_DEMAND_TABLES");
    demand_tables.assign(static_cast<size_t>(count), DemandTable{});
    for (int t = 0; t < count; ++t) {
        DemandTable& table = demand_tables[static_cast<size_t>(t)];
        const int16_t topic = static_cast<int16_t>(t + 2);
        d.get_record(topic, 1);
        table.name = d.item_text(1).substr(0, 19);
        const int32_t n = d.item_int(2);
        if (n < 1)
            d.load_error(2);
        if (n >= MAX_DEMAND_TABLE_ENTRIES)
            d.index_overflow("MAX_DEMAND_TABLE_ENTRIES");
        table.x.resize(static_cast<size_t>(n));
        table.y.resize(static_cast<size_t>(n));
        d.get_record(topic, 2);
        for (int16_t i = 0; i < n; ++i)
            table.x[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(i + 1));
        d.get_record(topic, 3);
        for (int16_t i = 0; i < n; ++i)
            table.y[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(i + 1));
    }
}

void CMarketingWnd::load_customers(MarketData& d)
{
    d.find_section("MARKET_CUSTOMERS");
    d.get_record(1, 1);
    const int32_t count = d.item_int(1);
    if (count < 0)
        d.load_error(2);
    if (count >= MAX_CUSTOMERS + 1)
        d.index_overflow("MAX_CUSTOMERS");
    customers.assign(static_cast<size_t>(count), Customer{});
    uint16_t counter = 1;
    for (int c = 0; c < count; ++c) {
        Customer& cu = customers[static_cast<size_t>(c)];
        const int16_t topic = static_cast<int16_t>(c + 2);
        d.get_record(topic, 1);
        cu.name = d.item_text(1).substr(0, 29);
        const int32_t contracts = d.item_int(2);
        if (contracts < 0)
            d.load_error(2);
        if (contracts >= MAX_CONTRACTS_PER_CUSTOMER + 1)
            d.index_overflow("MAX_CONTRACTS_PER_CUSTOMER");
        cu.probability = finite_float(d, 3);
        cu.max_wait = i16_item(d, 4);
        d.get_record(topic, 2);
        for (int16_t i = 0; i < 6; ++i)
            cu.history[static_cast<size_t>(i)] = finite_float(d, static_cast<int16_t>(i + 1));
        cu.last_penalty = cu.history[5];
        cu.weighted_penalty = get_customer_weighted_average(c);
        cu.contract_sales_month = cu.late_value_month = cu.penalty_last_month = 0;
        cu.contracts.assign(static_cast<size_t>(contracts), CustomerContract{});
        int16_t record = 3;
        for (int k = 0; k < contracts; ++k) {
            CustomerContract& ct = cu.contracts[static_cast<size_t>(k)];
            const int16_t items = d.get_record(topic, record++);
            ct.status = CONTRACT_NOT_ACCEPTED;
            ct.number = counter++;
            ct.type = static_cast<uint16_t>(bounded(d, 1, 0, 2));
            ct.always_offer = u16_item(d, 2);
            ct.offer_date = read_date(d, 3);
            ct.start_date = read_date(d, 4);
            host_.skip_to_work_day(ct.start_date);
            ct.always_renew = items == 9 ? d.item_int(9) : 0;
            int32_t item_count = 0;
            if (ct.type == CONTRACT_PERIODIC) {
                ct.end_date = read_date(d, 5);
                ct.end_copy = ct.end_date;
                ct.period = static_cast<uint16_t>(bounded(d, 6, 1, 2) - 1);
                ct.delivery_day = ct.period == 0 ? static_cast<uint16_t>(bounded(d, 7, 1, 7))
                                                 : static_cast<uint16_t>(bounded(d, 7, 1, 31));
                item_count = d.item_int(8);
            } else if (ct.type == CONTRACT_ONE_TIME) {
                ct.end_date = host_.add_work_days(ct.start_date, 1);
                ct.period = 1;
                ct.delivery_day = 65535;
                item_count = d.item_int(5);
            } else {
                ct.end_date = read_date(d, 5);
                ct.end_copy = ct.end_date;
                ct.period = 1;
                ct.delivery_day = u16_item(d, 6);
                ct.blanket_days = static_cast<uint16_t>(bounded(d, 7, 1, 32767));
                item_count = d.item_int(8);
                ct.blanket_pending = 0;
            }
            if (day_order(ct.end_date, ct.start_date) < 0)
                d.load_error(2);
            if (item_count < 0)
                d.load_error(2);
            if (item_count >= MAX_CONTRACT_ITEMS_PER_CONTRACT + 1)
                d.index_overflow("MAX_CONTRACT_ITEMS_PER_CONTRACT");
            ct.item_count = static_cast<uint16_t>(item_count);
            for (int i = 0; i < item_count; ++i) {
                ContractItem& it = ct.items[static_cast<size_t>(i)];
                d.get_record(topic, record++);
                it.family = static_cast<uint16_t>(bounded(d, 1, 0, family_count_ - 1));
                // A product an entry adds later may be named; it is offered once it exists.
                it.product = static_cast<uint16_t>(bounded(d, 2, 0, MAX_PRODUCTS - 1));
                if (ct.type == CONTRACT_BLANKET) {
                    it.blanket_min = i16_item(d, 3);
                    it.blanket_max = i16_item(d, 4);
                    if (it.blanket_min > it.blanket_max)
                        d.load_error(2);
                    it.quantity = static_cast<uint16_t>((it.blanket_min + it.blanket_max) / 2);
                    it.discount = static_cast<uint16_t>(bounded(d, 5, 0, 100));
                } else {
                    it.quantity = i16_item(d, 3);
                    it.discount = static_cast<uint16_t>(bounded(d, 4, 0, 100));
                }
                it.ordered = 0;
            }
            ct.supply.clear();
            build_contract_supply_list(ct.supply, c, k, ct.start_date, ct.end_date);
            if (ct.supply.size() > MAX_SUPPLY_LIST)
                d.index_overflow("MAX_SUPPLY_LIST");
            ct.deliveries_made = ct.blanket_drawn = 0;
            ct.first_load = 1;
            // Offered before the clock's start: it never runs.
            if (day_order(ct.offer_date, host_.start_date()) < 0)
                ct.offered = 1;
            set_contract_end_copy(c, k);
            ct.number = 0;
        }
    }
    held_contracts.clear();
}

void CMarketingWnd::load_sales(MarketData& d)
{
    d.find_section("MARKET_SALES");
    int16_t topic = 1;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < families[static_cast<size_t>(f)].product_count; ++p, ++topic) {
            MarketProduct& pr = product(f, p);
            d.get_record(topic, 1);
            pr.promotion_cost = static_cast<int16_t>(bounded(d, 1, 0, 32767));
            for (int16_t level = 0; level < 5; ++level) {
                d.get_record(topic, static_cast<int16_t>(level + 2));
                for (int16_t i = 0; i < 4; ++i) {
                    // The first three divide the demand back: they may not be 0.
                    const int32_t v = bounded(d, static_cast<int16_t>(i + 1), i < 3 ? 1 : -100, 32767);
                    pr.promotion_pct[static_cast<size_t>(level)][static_cast<size_t>(i)] = static_cast<int16_t>(v);
                }
            }
        }
}

void CMarketingWnd::load_new_products(MarketData& d)
{
    d.find_section("MARKET_NEW_PRODUCTS");
    d.get_record(1, 1);
    const int32_t count = d.item_int(1);
    if (count < 0)
        d.load_error(2);
    if (count > MAX_NEW_PRODUCTS)
        d.index_overflow("MAX_NEW_PRODUCTS");
    new_product_count = static_cast<uint16_t>(count);
    std::array<int, MAX_FAMILYS> added{};
    for (int n = 0; n < MAX_NEW_PRODUCTS; ++n)
        new_products[static_cast<size_t>(n)] = NewProductEntry{};
    for (int n = 0; n < count; ++n) {
        NewProductEntry& e = new_products[static_cast<size_t>(n)];
        const int16_t items = d.get_record(2, static_cast<int16_t>(n + 2));
        const std::string letter = d.item_text(1);
        int f = -1;
        for (int i = 0; i < family_count_ && f < 0 && !letter.empty(); ++i)
            if (families[static_cast<size_t>(i)].letter == letter[0])
                f = i;
        if (f < 0)
            d.refuse("invalid family name in NEW_PRODUCTS");
        const Family& fam = families[static_cast<size_t>(f)];
        // The family's own products and those its entries will add share its four slots.
        if (fam.product_count + added[static_cast<size_t>(f)] + 1 > MAX_PRODUCTS)
            d.index_overflow("MAX_PRODUCTS");
        const int slot = fam.product_count + added[static_cast<size_t>(f)]++;
        e.family = static_cast<uint16_t>(f);
        MarketProduct& pr = e.product;
        clear_product(pr);
        const std::string name = d.item_text(2);
        if (name.empty())
            d.load_error(2);
        pr.letter = name[0];
        e.name = name.size() > 1 && name[1] == '-' ? name.substr(2, 40) : std::string();
        e.date = read_date(d, 3);
        e.introduced = 0;
        e.index = NOT_INTRODUCED;
        if (fam.product_count == 0) {
            pr.box_x = items == 16 ? i16_item(d, 15) : 0;
            pr.box_y = items == 16 ? i16_item(d, 16) : 0;
        } else {
            const MarketProduct& last = fam.products[static_cast<size_t>(fam.product_count - 1)];
            pr.box_x = static_cast<uint16_t>(last.box_x + 150 * (slot - fam.product_count + 1));
            pr.box_y = last.box_y;
        }
        // The id of the slot it will take, so two entries of a family differ.
        pr.id = static_cast<uint16_t>(f * 1000 + slot * 100);
        pr.base_qlt = pr.qlt = i16_item(d, 4);
        pr.max_level = i16_item(d, 5);
        pr.order_level = i16_item(d, 6);
        pr.red_level = i16_item(d, 7);
        pr.safety_stock = i16_item(d, 8);
        pr.base_price = pr.price = static_cast<uint16_t>(bounded(d, 9, 0, 32000));
        pr.base_annual_orders = pr.annual_orders = finite_float(d, 10);
        if (pr.annual_orders < 0)
            d.load_error(2);
        pr.order_size = i16_item(d, 11);
        pr.shelf_life = i16_item(d, 12);
        e.cost = bounded(d, 13, 0, 2147483647);
        e.yearly = bounded(d, 14, 0, 32767 * 12);
        pr.prev_demand_estimate = pr.demand_estimate = pr.prev_expected_demand = static_cast<uint16_t>(e.yearly / 12);
        pr.estimate_series[11] = pr.prev_demand_estimate;
        if (fam.product_count > 0) {
            const MarketProduct& last = fam.products[static_cast<size_t>(fam.product_count - 1)];
            pr.revenue_last_month = last.revenue_last_month;
            pr.order_sales_last = last.order_sales_last;
            pr.contract_sales_last = last.contract_sales_last;
        }
    }
}

void CMarketingWnd::load_advertising(MarketData& d)
{
    campaigns.clear();
    if (!d.has_section("MARKET_ADVERTISING"))
        return;
    d.find_section("MARKET_ADVERTISING");
    d.get_record(1, 1);
    const int32_t count = d.item_int(1);
    if (count < 0)
        d.load_error(2);
    if (count > MAX_CAMPAIGNS)
        d.index_overflow("MAX_CAMPAIGNS");
    campaigns.assign(static_cast<size_t>(count), AdvertisingCampaign{});
    for (int c = 0; c < count; ++c) {
        AdvertisingCampaign& a = campaigns[static_cast<size_t>(c)];
        const int16_t topic = static_cast<int16_t>(c + 2);
        d.get_record(topic, 1);
        a.name = d.item_text(1).substr(0, 40);
        if (a.name != "General") {
            uint16_t f = NO_INDEX, p = NO_INDEX;
            find_product_by_code(a.name.c_str(), f, p);
            bool entry = false;
            for (int n = 0; n < new_product_count && !entry; ++n) {
                const NewProductEntry& e = new_products[static_cast<size_t>(n)];
                entry = a.name.size() == 2 && families[e.family].letter == a.name[0] && e.product.letter == a.name[1];
            }
            if (f == NO_INDEX && !entry)
                d.load_error(2);
        }
        a.value = finite_float(d, 2);
        a.monthly_cost = bounded(d, 3, 0, 2147483647);
        const int32_t levels = d.item_int(4);
        if (levels < 0)
            d.load_error(2);
        if (levels > MAX_CAMPAIGN_LEVELS)
            d.index_overflow("MAX_CAMPAIGN_LEVELS");
        a.level_count = levels;
        d.get_record(topic, 2);
        for (int16_t i = 0; i < levels; ++i)
            a.levels[static_cast<size_t>(i)] = bounded(d, static_cast<int16_t>(i + 1), -100, 32767);
        a.active = 0;
        a.months_left = 0;
        a.level_index = -1;
        a.accumulated = 0;
    }
}

void CMarketingWnd::load_events(MarketData& d)
{
    d.find_section("MARKET_EVENTS");
    d.get_record(1, 1);
    const int32_t count = d.item_int(1);
    if (count < 0)
        d.load_error(2);
    if (count > MAX_MARKET_EVENTS)
        d.index_overflow("MAX_MARKET_EVENTS");
    events.assign(static_cast<size_t>(count), MarketEvent{});
    for (int e = 0; e < count; ++e) {
        MarketEvent& ev = events[static_cast<size_t>(e)];
        d.get_record(1, static_cast<int16_t>(e + 2));
        ev.family = static_cast<uint16_t>(bounded(d, 1, 0, family_count_ - 1));
        ev.product = static_cast<uint16_t>(bounded(d, 2, 0, MAX_PRODUCTS - 1));
        int32_t year = bounded(d, 3, 0, 199);
        if (year < 90)
            year += 100;
        ev.year = static_cast<uint16_t>(year);
        ev.month = static_cast<uint16_t>(bounded(d, 4, 1, 12));
        ev.factor = finite_float(d, 5);
        if (ev.factor < 0)
            d.load_error(2);
    }
}

void CMarketingWnd::load_fix_demands(MarketData& d)
{
    fixed_demand = {};
    fixed_carry = {};
    if (!d.has_section("MARKET_FIX_DEMANDS"))
        return;
    d.find_section("MARKET_FIX_DEMANDS");
    d.get_record(1, 1);
    int16_t item = 1;
    for (int f = 0; f < family_count_; ++f)
        for (int p = 0; p < families[static_cast<size_t>(f)].product_count; ++p)
            fixed_demand[static_cast<size_t>(f)][static_cast<size_t>(p)] =
                static_cast<float>(bounded(d, item++, -2147483647, 2147483647));
}

void CMarketingWnd::load_jobshop_section(MarketData& d)
{
    d.find_section("JOBSHOP");
    d.get_record(1, 1);
    js_value1 = u16_item(d, 1);
    js_fixed_factor = u16_item(d, 2);
    js_factor_low = js_factor_high = js_units_low = js_units_high = 0;
    js_reject = 0;
    js_any_factor = 1;
    js_any_units = 1;
    js_spare = 1;
    js_accept_on = js_fixed_factor != 0 ? 1 : 0;
}
