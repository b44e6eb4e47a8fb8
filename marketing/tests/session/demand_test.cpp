// The day's demand in a session: fixed yearly demands give their orders
// day by day, random trials draw from the session's one generator, and a
// make-to-stock product with no lead time refuses what stock cannot cover.
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

std::string with(std::string s, const std::string& from, const std::string& to)
{
    const size_t at = s.find(from);
    if (at == std::string::npos)
        throw std::logic_error("the sample has no " + from);
    return s.replace(at, from.size(), to);
}

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

// No random demand: A1's and A2's yearly orders 0, their fixed demands as given.
std::string fixed_only(const std::string& fixed)
{
    std::string s = sample_text();
    s = with(s, "^80^2600^2^", "^80^0^2^");
    s = with(s, "^120^520^1^", "^120^0^1^");
    return with(s, "[MARKET_FIX_DEMANDS]\n^130^0^@", "[MARKET_FIX_DEMANDS]\n" + fixed);
}

} // namespace

TEST(Demand, FixedYearlyDemandsGiveTheirOrdersDayByDay)
{
    TempDir dir;
    const std::string path = dir / "fixed.vnb";
    std::ofstream(path, std::ios::binary) << fixed_only("^520^130^@");
    SessionDriver d;
    ASSERT_TRUE(d.start(path, options()));
    const CMarketingWnd& m = market_of(d);
    std::vector<int> a1, a2;
    for (int day = 0; day < 6; ++day) {
        a1.push_back(m.product(0, 0).ordered_today);
        a2.push_back(m.product(0, 1).ordered_today);
        d.runTicks(480);
    }
    // 520 a year: two orders of the order size (2) every day; 130: one order
    // of size 1 every second day, through the carried fraction.
    EXPECT_EQ(a1, (std::vector<int>{4, 4, 4, 4, 4, 4}));
    EXPECT_EQ(a2, (std::vector<int>{0, 1, 0, 1, 0, 1}));
}

// One session at a time: the program's table draws come from the session that is open.
std::vector<int> orders_of_days(int32_t seed, int days)
{
    DriverOptions o = options();
    o.seed = seed;
    SessionDriver d;
    if (!d.start(data_dir + "/SAMPLE.VNB", o))
        return {};
    std::vector<int> out;
    for (int day = 0; day < days; ++day) {
        out.push_back(market_of(d).product(0, 0).ordered_today);
        d.runTicks(480);
    }
    return out;
}

TEST(Demand, TheDaysDrawsComeFromTheSessionsGeneratorAndRepeatWithItsSeed)
{
    const std::vector<int> sa = orders_of_days(1, 15);
    EXPECT_EQ(orders_of_days(1, 15), sa);
    EXPECT_NE(orders_of_days(2, 15), sa);
    // About ten orders of two units a day (2600 a year), besides the fixed ones.
    int sum = 0;
    for (int v : sa)
        sum += v;
    EXPECT_GT(sum, 15 * 10);
    EXPECT_LT(sum, 15 * 40);
}

TEST(Demand, MakeToStockWithoutLeadTimeRefusesWhatStockCannotCover)
{
    TempDir dir;
    const std::string path = dir / "qlt0.vnb";
    // A1: quoted lead time 0, 60 in stock, fixed demand 5200 a year (20 orders of 2 a day).
    std::string s = fixed_only("^5200^0^@");
    s = with(s, "^1-Alpha^20^60^0^3^60^", "^1-Alpha^20^60^0^0^60^");
    std::ofstream(path, std::ios::binary) << s;
    SessionDriver d;
    ASSERT_TRUE(d.start(path, options()));
    const CMarketingWnd& m = market_of(d);
    const MarketProduct& a1 = m.product(0, 0);
    // The first day's 40 units fit the 60 in stock; none was refused.
    EXPECT_EQ(a1.ordered_today, 40);
    EXPECT_EQ(a1.rejected_today, 0);
    d.runTicks(480);
    // The next morning 40 shipped, 20 are left: of the new 40, 20 are refused
    // and their value lost.
    EXPECT_EQ(a1.rejected_today + a1.ordered_today, 40);
    EXPECT_GT(a1.rejected_today, 0);
    EXPECT_LE(a1.ordered_today + a1.firm_orders - a1.ordered_today, a1.stock + a1.ordered_today);
    EXPECT_EQ(a1.lost_sales_value, static_cast<uint32_t>(a1.rejected_today) * 80);
}
