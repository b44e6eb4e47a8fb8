// The market's scenario sections as a session loads them: the sample's
// values land in the records, and every damaged section refuses the whole
// scenario with its box while the program stays where it was.
#include "app/view.h"
#include "marketing/marketing_dept.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string data_dir = bundled_data_copy();

std::string sample_text()
{
    std::ifstream in(data_dir + "/SAMPLE.VNB", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

DriverOptions options()
{
    DriverOptions o;
    o.seed = 1;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    o.script = [](plat::ScriptedHost& h) { h.Answer(1, ""); };
    o.factory = department_assembly();
    return o;
}

const CMarketingWnd& market_of(SessionDriver& d)
{
    return dynamic_cast<MarketingDepartment&>(*d.view().marketing).engine();
}

// The sample with one piece of text replaced (it must be there).
std::string variant(const std::string& from, const std::string& to)
{
    std::string s = sample_text();
    const size_t at = s.find(from);
    if (at == std::string::npos)
        throw std::logic_error("the sample has no " + from);
    return s.replace(at, from.size(), to);
}

const std::string alpha_head = "^1-Alpha^20^60^0^3^60^";

} // namespace

TEST(MarketLoader, TheSampleLandsInTheRecords)
{
    SessionDriver d;
    ASSERT_TRUE(d.start(data_dir + "/SAMPLE.VNB", options()));
    const CMarketingWnd& m = market_of(d);
    ASSERT_EQ(m.family_count(), 1);
    EXPECT_EQ(m.family_letter(0), 'A');
    const MarketProduct& a1 = m.product(0, 0);
    EXPECT_EQ(a1.id, 0);
    EXPECT_EQ(m.product(0, 1).id, 100);
    EXPECT_EQ(a1.qlt, 3);
    EXPECT_EQ(a1.price, 80);
    EXPECT_EQ(a1.order_size, 2);
    EXPECT_EQ(a1.shelf_life, 30);
    EXPECT_EQ(a1.safety_stock, 60);
    EXPECT_EQ(a1.revenue_last_month, 34000u);
    EXPECT_EQ(a1.sold_orders_last_month, 30000 / 80);
    EXPECT_EQ(m.product_names[0][0], "Alpha");
    EXPECT_EQ(m.link_mode(), LINK_MAKE_TO_STOCK);
    EXPECT_EQ(m.plan_days_before, 5);
    EXPECT_FLOAT_EQ(m.smoothing, 0.3f);
    EXPECT_EQ(m.demand_tables.size(), 3u);
    ASSERT_EQ(m.customers.size(), 2u);
    // Weekly: the record's period 1 is stored as 0; 9 items carry always-renew.
    const CustomerContract& weekly = m.customers[0].contracts[0];
    EXPECT_EQ(weekly.period, 0);
    EXPECT_EQ(weekly.delivery_day, 6);
    EXPECT_NE(weekly.always_renew, 0);
    EXPECT_EQ(weekly.supply.size(), 13u);   // the Fridays from 6 January to 31 March 1995
    for (const SimDateTime& s : weekly.supply)
        EXPECT_EQ(weekday_of(s), 6);
    // One time: one working day, one supply date, no always-renew (5 items).
    const CustomerContract& once = m.customers[0].contracts[1];
    EXPECT_EQ(once.type, CONTRACT_ONE_TIME);
    EXPECT_EQ(once.supply.size(), 1u);
    EXPECT_EQ(once.always_renew, 0);
    // Blanket: the middle of its range, monthly on its start day.
    const CustomerContract& blanket = m.customers[0].contracts[2];
    EXPECT_EQ(blanket.items[0].quantity, 10);
    EXPECT_EQ(blanket.blanket_days, 30);
    EXPECT_EQ(blanket.items[0].unit_price, 80 * 90 / 100);
    ASSERT_EQ(m.new_product_count, 1);
    EXPECT_EQ(m.new_products[0].index, NOT_INTRODUCED);
    EXPECT_EQ(m.new_products[0].product.id, 200);   // the slot it will take
    EXPECT_EQ(m.new_products[0].date.year, 95);
    ASSERT_EQ(m.events.size(), 1u);
    EXPECT_EQ(m.events[0].year, 95);
    EXPECT_EQ(m.campaigns.size(), 3u);
    EXPECT_FLOAT_EQ(m.fixed_demand[0][0], 130.0f);
}

struct Damage {
    const char* name;
    std::string from, to;
    const char* box;   // a piece of the refusing box's text
};

TEST(MarketLoader, EveryDamagedSectionIsRefusedWholeWithItsBox)
{
    const std::vector<Damage> cases = {
        {"five families", "[MARKET]\n^1^0.3^10^@", "[MARKET]\n^5^0.3^10^@", "MAX_FAMILYS"},
        {"negative waiting", "[MARKET]\n^1^0.3^10^@", "[MARKET]\n^1^0.3^-1^@", "Data Loading Error"},
        {"link code 4", "^1^0^5^@\n$", "^4^0^5^@\n$", "Data Loading Error"},
        {"five products", "^A^1^2^@", "^A^1^5^@", "MAX_PRODUCTS"},
        {"zero growth", "^100^110^100^", "^0^110^100^", "Data Loading Error"},
        {"price past 32000", alpha_head + "120^60^20^25^80^", alpha_head + "120^60^20^25^32001^", "Data Loading Error"},
        {"six demand tables", "[MARKET_DEMANDS]\n^3^@", "[MARKET_DEMANDS]\n^6^@", "MAX_DEMAND_TABLES"},
        {"25 points", "^DDP^4^@", "^DDP^25^@", "MAX_DEMAND_TABLE_ENTRIES"},
        {"six customers", "[MARKET_CUSTOMERS]\n^2^@", "[MARKET_CUSTOMERS]\n^6^@", "MAX_CUSTOMERS"},
        {"31 contracts", "^C1^3^0.8^5^@", "^C1^31^0.8^5^@", "MAX_CONTRACTS_PER_CUSTOMER"},
        {"contract type 3", "^0^1^020195^060195^310395^1^6^1^1^@", "^3^1^020195^060195^310395^1^6^1^1^@",
         "Data Loading Error"},
        {"period 3", "^0^1^020195^060195^310395^1^6^1^1^@", "^0^1^020195^060195^310395^3^6^1^1^@",
         "Data Loading Error"},
        {"weekday 8", "^0^1^020195^060195^310395^1^6^1^1^@", "^0^1^020195^060195^310395^1^8^1^1^@",
         "Data Loading Error"},
        {"six items", "^0^1^020195^060195^310395^1^6^1^1^@", "^0^1^020195^060195^310395^1^6^6^1^@",
         "MAX_CONTRACT_ITEMS_PER_CONTRACT"},
        {"bad date", "^0^1^020195^060195^310395^", "^0^1^020195^320195^310395^", "Data Loading Error"},
        {"end before start", "^0^1^020195^060195^310395^", "^0^1^020195^060195^010195^", "Data Loading Error"},
        {"item family 1", "^0^0^10^5^@", "^1^0^10^5^@", "Data Loading Error"},
        {"item product 4", "^0^0^10^5^@", "^0^4^10^5^@", "Data Loading Error"},
        {"blanket min above max", "^0^0^5^15^10^@", "^0^0^16^15^10^@", "Data Loading Error"},
        {"69 supply dates", "^0^1^020195^060195^310395^1^6^1^1^@", "^0^1^020195^060195^300696^1^6^1^1^@",
         "MAX_SUPPLY_LIST"},
        {"promotion 0 %", "[MARKET_SALES]\n^500^@\n^110^", "[MARKET_SALES]\n^500^@\n^0^", "Data Loading Error"},
        {"five new products", "[MARKET_NEW_PRODUCTS]\n^1^@", "[MARKET_NEW_PRODUCTS]\n^5^@", "MAX_NEW_PRODUCTS"},
        {"unknown family", "^A^3-Gamma^", "^Z^3-Gamma^", "invalid family name in NEW_PRODUCTS"},
        {"21 campaigns", "[MARKET_ADVERTISING]\n^3^@", "[MARKET_ADVERTISING]\n^21^@", "MAX_CAMPAIGNS"},
        {"unknown campaign", "^A1^30^500^2^@", "^B7^30^500^2^@", "Data Loading Error"},
        {"13 levels", "^General^20^1000^3^@", "^General^20^1000^13^@", "MAX_CAMPAIGN_LEVELS"},
        {"21 events", "[MARKET_EVENTS]\n^1^@", "[MARKET_EVENTS]\n^21^@", "MAX_MARKET_EVENTS"},
        {"event month 13", "^0^0^95^6^1.2^@", "^0^0^95^13^1.2^@", "Data Loading Error"},
        {"21 table entries", "^OPEN_ORDER_UNITS^5^@", "^OPEN_ORDER_UNITS^21^@", "Data Loading Error"},
        {"no MARKET_EVENTS", "[MARKET_EVENTS]", "[MARKET_EVENTZ]", "Data Loading Error"},
    };
    SessionDriver d;
    ASSERT_TRUE(d.start(data_dir + "/SAMPLE.VNB", options()));
    d.runTicks(480);
    const int32_t ticks = d.tickCount();
    TempDir dir;
    for (const Damage& c : cases) {
        const std::string path = dir / "damaged.vnb";
        std::ofstream(path, std::ios::binary) << variant(c.from, c.to);
        const size_t seen = d.prompts().size();
        EXPECT_FALSE(d.sessions().StartSession(path, StartOptions{})) << c.name;
        const std::vector<std::string> boxes = d.prompts();
        bool named = false;
        for (size_t i = seen; i < boxes.size(); ++i)
            named = named || boxes[i].find(c.box) != std::string::npos;
        EXPECT_TRUE(named) << c.name << ": " << (boxes.size() > seen ? boxes.back() : "no box");
        // The running session is the one that was open.
        EXPECT_EQ(d.tickCount(), ticks) << c.name;
        EXPECT_EQ(market_of(d).product_count(0), 2) << c.name;
    }
}
