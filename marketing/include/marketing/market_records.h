// The market's records: families and their products, customers and their
// contracts, open orders, loaded deliveries, demand tables, products to come,
// events and campaigns. Plain records; the department clears and fills them.
#pragma once
#include "foundation/simdate.h"
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr int MAX_FAMILYS = 4;
inline constexpr int MAX_PRODUCTS = 4;
inline constexpr int MAX_CUSTOMERS = 5;
inline constexpr int MAX_CONTRACTS_PER_CUSTOMER = 30;
inline constexpr int MAX_CONTRACT_ITEMS_PER_CONTRACT = 5;
inline constexpr int MAX_SUPPLY_LIST = 68;
inline constexpr int MAX_DEMAND_TABLES = 6;         // a scenario gives at most 5
inline constexpr int MAX_DEMAND_TABLE_ENTRIES = 25; // at most 24 points
inline constexpr int MAX_LOADED_CONTRACTS = 100;    // at most 99 held
inline constexpr int MAX_NEW_PRODUCTS = 4;
inline constexpr int MAX_MARKET_EVENTS = 20;
inline constexpr int MAX_CAMPAIGNS = 20;
inline constexpr int MAX_CAMPAIGN_LEVELS = 12;
inline constexpr int MAX_DAY_DATES = 31;
inline constexpr int MAX_BLANKET_SHIPMENTS = 3;
// Every offered or active contract fits the working list.
inline constexpr int MAX_WORKING_CONTRACTS = MAX_CUSTOMERS * MAX_CONTRACTS_PER_CUSTOMER;
inline constexpr int MAX_LOTS = 32767;
inline constexpr uint16_t NO_INDEX = 65535;
inline constexpr int16_t NOT_INTRODUCED = -999;

enum MarketingLinkMode : uint16_t {
    LINK_MAKE_TO_STOCK = 0,
    LINK_MAKE_TO_ORDER = 1,
    LINK_FORECAST = 2,
};

enum ContractType : uint16_t { CONTRACT_PERIODIC = 0, CONTRACT_ONE_TIME = 1, CONTRACT_BLANKET = 2 };
enum ContractStatus : uint16_t { CONTRACT_NOT_ACCEPTED = 0, CONTRACT_ACTIVE = 1, CONTRACT_ENDED = 2 };

struct InventoryLot {
    int16_t units = 0;
    SimDateTime date{};
};
inline constexpr int INVENTORY_LOT_SIZE = 12;

struct ContractItem {
    uint16_t family = 0;
    uint16_t product = 0;
    uint16_t quantity = 0;
    int32_t unit_price = 0;
    uint16_t discount = 0;
    uint16_t ordered = 0;
    uint16_t blanket_min = 0;
    uint16_t blanket_max = 0;
    std::array<uint16_t, MAX_BLANKET_SHIPMENTS> pending{};
};
inline constexpr int CONTRACT_ITEM_SIZE = 24;

struct CustomerContract {
    uint16_t number = 0;
    uint16_t type = 0;
    uint16_t status = 0;
    SimDateTime offer_date{};
    SimDateTime start_date{};
    SimDateTime decision_date{};
    SimDateTime end_copy{};
    SimDateTime end_date{};
    uint16_t period = 0;        // 0 weekly, 1 monthly
    uint16_t delivery_day = 0;  // weekday 1..7, day of month, 65535 none
    std::array<ContractItem, MAX_CONTRACT_ITEMS_PER_CONTRACT> items{};
    uint16_t item_count = 0;
    std::vector<SimDateTime> supply;  // at most MAX_SUPPLY_LIST
    // The ten engine fields, in file order.
    uint16_t deliveries_made = 0;
    uint16_t blanket_drawn = 0;
    uint16_t first_load = 0;
    uint16_t spare = 0;
    uint16_t renewed = 0;
    uint16_t cleared = 0;
    uint16_t ordered_units = 0;
    uint16_t offered = 0;
    uint16_t end_processed = 0;
    uint16_t decision_made = 0;
    uint16_t always_offer = 0;
    uint16_t blanket_days = 0;
    uint16_t blanket_pending = 0;
    int32_t always_renew = 0;
};

struct OpenOrder {
    SimDateTime order_date{};
    SimDateTime earliest{};
    SimDateTime due{};
    int16_t family = 0;
    int16_t product = 0;
    int16_t units = 0;
    int16_t price = 0;
    int16_t quoted_lead_time = 0;
    int16_t days_late = 0;
};
inline constexpr int OPEN_ORDER_SIZE = 42;

struct LoadedLine {
    uint16_t family = 0;
    uint16_t product = 0;
    uint16_t quantity = 0;
};

struct LoadedContract {
    SimDateTime due{};
    uint16_t customer = 0;
    uint16_t contract = 0;
    uint16_t days_waited = 0;
    uint16_t item_count = 0;
    std::array<LoadedLine, MAX_CONTRACT_ITEMS_PER_CONTRACT> lines{};
    SimDateTime supply{};
};
inline constexpr int LOADED_CONTRACT_SIZE = 58;

struct DemandTable {
    std::string name;
    std::vector<float> x, y;
};

// A product's second market abroad: its own price, lead time, order rate,
// levels and an inventory that transport orders fill from the home stock.
inline constexpr int MAX_EXPORT_ORDERS = 100;
inline constexpr int MAX_TRANSPORT_ORDERS = 100;
enum ExportLineState : uint16_t { EXPORT_NONE = 0, EXPORT_REQUESTED = 1, EXPORT_PREPARED = 2, EXPORT_ACTIVE = 3 };

struct TransportOrder {
    SimDateTime order_date{};
    SimDateTime arrival{};
    SimDateTime spare_date{};
    int16_t family = 0;
    int16_t product = 0;
    int16_t units = 0;
    int16_t price = 0;
    int16_t flag = 0;
    int16_t spare = 0;
};
inline constexpr int TRANSPORT_ORDER_SIZE = 42;

struct ExportLine {
    std::string name;
    std::vector<InventoryLot> lots;
    uint16_t added = 0;
    uint16_t item14 = 0;  // the start delay in months
    uint16_t year_counter = 0;
    uint16_t item15 = 0;
    uint16_t state = EXPORT_NONE;
    uint16_t item16 = 0;
    SimDateTime start{};
    uint16_t preparation_days = 0;
    SimDateTime preparation{};
    uint16_t max_level = 0, order_level = 0, red_level = 0;
    uint16_t red_status = 0;
    int32_t initial_expenses = 0;   // item 10
    uint32_t monthly_expenses = 0;  // item 11, shown only
    uint16_t to_transfer = 0;
    uint16_t in_transit = 0;
    uint16_t shortfall = 0;
    uint16_t shipped = 0;
    uint16_t shipped_month = 0, shipped_last_month = 0;
    uint16_t shipped_year = 0, shipped_last_year = 0;
    uint16_t on_time = 0;
    uint16_t on_time_month = 0, on_time_last_month = 0;
    uint16_t service_pct = 100;
    float lateness = 0;
    float lateness_ratio = 0;
    uint32_t late_value_month = 0, late_value_last_month = 0;
    uint16_t item18 = 0, item18_copy = 0;
    uint16_t open_units = 0;
    float annual_orders = 0;
    float order_size = 0;
    float order_fraction = 0;
    uint16_t base_qlt = 0, qlt = 0;
    uint16_t transit_days = 0;
    uint16_t base_price = 0, price = 0;
    uint32_t revenue = 0;
    uint32_t revenue_month = 0, revenue_last_month = 0;
    uint32_t revenue_year = 0, revenue_last_year = 0;
    float red_fraction = 0, red_fraction_last_month = 0;
    uint16_t red_days = 0;
    uint16_t transfer_fixed_cost = 0;
    uint16_t transfer_unit_cost = 0;
    std::array<float, 12> monthly_pct{};
    std::array<float, 6> lateness_series{};
    std::array<float, 6> red_series{};
    std::array<uint32_t, 12> revenue_series{};
};

struct MarketProduct {
    uint16_t id = 0;
    char letter = 0;
    uint16_t box_x = 0, box_y = 0;
    uint16_t scenario_value4 = 0;
    uint16_t base_qlt = 0;
    uint16_t qlt = 0;
    uint16_t max_level = 0, order_level = 0, red_level = 0;
    uint16_t material_cost = 0;
    uint16_t base_price = 0;
    uint16_t price = 0;
    float base_annual_orders = 0;
    float annual_orders = 0;
    uint16_t order_size = 0;
    uint16_t phase_out = 0;
    uint16_t retired = 0;
    uint16_t red_status = 0;
    uint16_t mto_red = 0;
    int16_t firm_orders = 0;  // num_units_ordered
    int16_t backlog = 0;
    uint16_t ordered_today = 0;
    uint16_t ordered_month = 0;
    uint16_t ordered_last_month = 0;
    std::vector<InventoryLot> lots;
    int16_t stock = 0;
    uint16_t shelf_life = 0;
    uint16_t initial_inventory = 0;
    uint16_t stock_year_start = 0, stock_prev_year_start = 0, stock_year_copy = 0;
    uint16_t expired_year = 0, expired_last_year = 0;
    float order_carry = 0;
    uint16_t shipped_run = 0;
    uint16_t sold_month = 0;
    uint16_t sold_orders_month = 0, sold_orders_last_month = 0;
    uint16_t sold_contracts_month = 0, sold_contracts_last_month = 0;
    uint16_t sold_last_month = 0;
    uint16_t on_time_run = 0, on_time_month = 0;
    uint16_t service_pct = 100;
    uint16_t sold_year = 0, sold_last_year = 0;
    float cost_of_sales_run = 0, cost_of_sales_year = 0, cost_of_sales_last_year = 0;
    uint32_t sales_value_run = 0;
    uint32_t revenue_month = 0, revenue_last_month = 0;
    uint32_t revenue_year = 0, revenue_last_year = 0;
    uint32_t order_sales_month = 0, order_sales_last = 0;
    uint32_t contract_sales_month = 0, contract_sales_last = 0;
    float weighted_penalty = 0;
    float last_penalty = 0;
    uint32_t lost_sales_value = 0;
    uint32_t penalty_last_month = 0;
    float red_share_month = 0, red_share_last_month = 0;
    uint16_t red_days_month = 0;
    uint16_t demand_estimate = 0, prev_demand_estimate = 0;
    uint16_t expected_demand = 0, prev_expected_demand = 0;
    std::array<uint16_t, 12> estimate_series{};
    uint16_t red_line_time = 0;
    uint16_t safety_stock = 0;
    uint16_t spare = 0;
    uint16_t contract_shortage = 0;
    uint16_t rejected_today = 0;
    uint16_t lost_orders_today = 0, lost_units_today = 0;
    float sold_per_day_last_month = 0, order_sold_per_day_last_month = 0;
    uint16_t promotion_state = 0;
    std::array<std::array<int16_t, 4>, 5> promotion_pct{};
    int16_t promotion_cost = 0;
    uint16_t promotion_level = 0;
    uint16_t saved_price = 0;
    std::array<float, 6> penalty_series{};
    std::array<float, 12> revenue_series{}, order_sales_series{}, contract_sales_series{}, units_series{},
        throughput_series{};
    std::array<float, 6> red_share_series{};
    std::array<float, 12> ordered_series{};
    std::vector<uint16_t> supply_days;  // slot k: units due k working days ahead
    uint16_t export_added = 0;
    uint16_t export_flag = 0;
    std::optional<ExportLine> exp;  // the scenario's export line, when it names one
    uint16_t box_side = 0;          // 0 the home market, 1 the export line
    std::array<uint16_t, 7> plan{};      // 6 slots and the spare
    std::array<uint16_t, 7> forecast{};
};

struct Family {
    char letter = 0;
    uint16_t colour = 0;
    std::array<MarketProduct, MAX_PRODUCTS> products{};
    uint16_t product_count = 0;
    std::array<float, 12> monthly_pct{};
    std::array<float, 5> yearly_pct{};
};

struct Customer {
    std::string name;
    std::vector<CustomerContract> contracts;  // at most 30
    float probability = 0;
    uint16_t max_wait = 0;
    float weighted_penalty = 0;
    float last_penalty = 0;
    uint32_t contract_sales_month = 0;
    uint32_t late_value_month = 0;
    uint32_t penalty_last_month = 0;
    std::array<float, 6> history{};
};

struct NewProductEntry {
    MarketProduct product;
    std::string name;
    SimDateTime date{};
    uint16_t family = 0;
    int32_t cost = 0;
    uint16_t pending = 0;
    uint16_t due = 0;
    int16_t index = NOT_INTRODUCED;
    int32_t yearly = 0;
    uint16_t introduced = 0;
};
inline constexpr int NEW_PRODUCT_IMAGE_SIZE = 655;
inline constexpr int NEW_PRODUCT_ENTRY_SIZE = 887;

struct MarketEvent {
    uint16_t family = 0;
    uint16_t product = 0;
    uint16_t year = 0;
    uint16_t month = 0;
    float factor = 1;
};

struct AdvertisingCampaign {
    std::string name;
    float value = 0;
    int32_t monthly_cost = 0;
    std::array<int32_t, MAX_CAMPAIGN_LEVELS> levels{};
    int32_t level_count = 0;
    int32_t active = 0;
    int32_t months_left = 0;
    int32_t level_index = -1;
    int32_t accumulated = 0;
    std::array<std::array<float, MAX_PRODUCTS>, MAX_FAMILYS> start_demand{};
};

// A contract named by its customer and its position in the customer's list.
struct ContractRef {
    uint16_t customer = 0;
    uint16_t contract = 0;
};

// The Contract End hold: what the renewal shown to the user replaced.
struct RenewalBackup {
    bool held = false;
    ContractRef ref;
    std::vector<SimDateTime> supply;
    SimDateTime end_date{};
    SimDateTime end_copy{};
    uint16_t deliveries_made = 0, blanket_drawn = 0, first_load = 0, blanket_pending = 0;
    std::array<std::array<uint16_t, MAX_BLANKET_SHIPMENTS>, MAX_CONTRACT_ITEMS_PER_CONTRACT> pending{};
};

// The daily-sales graph's content: the run's daily sales and each finished
// month's average, and the visible range.
struct SalesGraph {
    double x_min = 0, x_max = 132, y_max = 1000;
    std::vector<int32_t> daily;     // at most SALES_GRAPH_DAYS
    std::vector<int32_t> averages;  // one per covered day
    // Closes the month: every uncovered day gets the month's average.
    void close_month();
    // Appends a day; true when the view moved on (the whole graph redraws).
    bool add_day(int32_t value);
};
inline constexpr size_t SALES_GRAPH_DAYS = 1500;
// The top of the sales axis that shows the value.
double sales_axis_max(double value);
