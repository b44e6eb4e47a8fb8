// The figures of the Purchasing reports over the sample's materials and
// suppliers built in memory.
#include "purchasing/purchasing_reports.h"
#include "support/fixture.h"
#include <gtest/gtest.h>
#include <cmath>

namespace {

using Cells = std::vector<std::vector<std::string>>;

void issues(RawMaterial& r, std::initializer_list<float> months)
{
    r.monthly_issues.fill(0);
    size_t i = 0;
    for (float v : months)
        r.monthly_issues[i++] = v;
}

TEST(PurchasingReportFigures, AverageIssueTruncatesEachMonthThenDividesInIntegers)
{
    RawMaterial r;
    issues(r, {10.9f, 10.9f, 10.9f, 10.9f, 10.9f, 10.9f, 10.9f, 10.9f, 10.9f, 10.9f, 10.9f, 13.0f});
    EXPECT_EQ(average_monthly_issue(r), (11 * 10 + 13) / 12);   // 123 / 12 = 10, not 131.9 / 12
    issues(r, {11.0f});
    EXPECT_EQ(average_monthly_issue(r), 0);
}

TEST(PurchasingReportFigures, CostIndexWeighsByConsumptionValueAndLeavesOutMaterialsWithoutFirstPrice)
{
    Fixture fx;
    fx.xa().first_price = 10;
    fx.xa().average_cost = 12;   // index 1.2, a = 12
    issues(fx.xa(), {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12});
    fx.xb().first_price = 5;
    fx.xb().average_cost = 5;    // index 1.0, a = 24
    issues(fx.xb(), {24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24});
    fx.ya().first_price = 0;     // left out whatever it weighs
    fx.ya().average_cost = 100;
    issues(fx.ya(), {500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500});
    const double vxa = 12 * 12.0, vxb = 24 * 5.0;
    EXPECT_NEAR(purchasing_cost_index(fx.p), (1.2 * vxa + 1.0 * vxb) / (vxa + vxb), 1e-9);
    fx.ya().first_price = -3;
    EXPECT_NEAR(purchasing_cost_index(fx.p), (1.2 * vxa + 1.0 * vxb) / (vxa + vxb), 1e-9);
    // Nothing consumed: 0, not a division by zero.
    for (RawMaterial* r : {&fx.xa(), &fx.xb(), &fx.ya()})
        r->monthly_issues.fill(0);
    EXPECT_EQ(purchasing_cost_index(fx.p), 0.0);
}

TEST(PurchasingReportFigures, MeasurementsSumTheMaterialsAndTakeLastYearOnNewYearsDay)
{
    Fixture fx;
    fx.xa().stock = 10;
    fx.xa().average_cost = 2.55f;
    fx.xb().stock = 3;
    fx.xb().average_cost = 1.0f;
    fx.ya().stock = 0;
    fx.p.unsupplied_this_month[0][0] = 4;
    fx.p.unsupplied_this_month[1][0] = 1;
    fx.p.unsupplied_last_month[0][1] = 7;
    fx.p.unsupplied_this_year[0][0] = 20;
    fx.p.unsupplied_last_year[1][0] = 90;
    MeasurementsFigures v = measurements_summary(fx.p, false);
    EXPECT_EQ(v.total_value, 28);   // 25.5 + 3, truncated once
    EXPECT_EQ(v.unsupplied_month, 5);
    EXPECT_EQ(v.unsupplied_last_month, 7);
    EXPECT_EQ(v.unsupplied_year, 20);
    v = measurements_summary(fx.p, true);
    EXPECT_EQ(v.unsupplied_year, 90);
}

TEST(PurchasingReportFigures, MaterialInformationByPolicy)
{
    Fixture fx;
    RawMaterial& xb = fx.xb();
    xb.max_level = 500;
    xb.order_level = 200;
    xb.red_line_level = 60;
    xb.red_line_share = 0.25f;
    xb.red_line_share_last_month = 0.5f;
    xb.issued_this_month = 12;
    xb.issued_last_month = 40;
    xb.stock = 33;
    xb.in_process = 7;
    MaterialInfoFigures v = material_information(fx.p, 0, 1);
    EXPECT_EQ(v.caption, "Material Information - XB");
    EXPECT_EQ(v.level_labels[0], "Max level:");
    EXPECT_EQ(v.level_labels[2], "Red line level:");
    EXPECT_EQ(v.levels[0], "500");
    EXPECT_EQ(v.levels[1], "200");
    EXPECT_EQ(v.levels[2], "60");
    EXPECT_TRUE(v.third_level_shown);
    EXPECT_EQ(v.level_unit, "(Units)");
    EXPECT_EQ(v.supplier, "Beta Supply");
    EXPECT_EQ(v.price, std::to_string(xb.price));
    // A share of the month's days, not truncated to 0.
    EXPECT_EQ(v.grade_current, "0.25");
    EXPECT_EQ(v.grade_last, "0.50");
    EXPECT_EQ(v.held, "40");   // stock and in process; no products without Marketing
    EXPECT_EQ(v.consumed_month, "12");
    EXPECT_EQ(v.consumed_last_month, "40");
    EXPECT_FALSE(v.total_mrp_shown);

    fx.p.policy = POLICY_MRP;
    fx.p.safety_stock[0][1] = 3;
    fx.p.red_line_time[0][1] = 4;
    const SimDateTime now = fx.view.clock.current;
    fx.p.plan = {{0, 1, 15, now, now}, {0, 0, 99, now, now}, {0, 1, 5, now, now}};
    v = material_information(fx.p, 0, 1);
    EXPECT_EQ(v.level_labels[0], "Safety stock:");
    EXPECT_EQ(v.level_labels[1], "Red line time:");
    EXPECT_EQ(v.levels[0], "3");
    EXPECT_EQ(v.levels[1], "4");
    EXPECT_FALSE(v.third_level_shown);
    EXPECT_EQ(v.level_unit, "(Days)");
    EXPECT_TRUE(v.total_mrp_shown);
    EXPECT_EQ(v.total_mrp, "20");
}

TEST(PurchasingReportFigures, ListsOfPlanOrdersAndPackages)
{
    Fixture fx;
    EXPECT_TRUE(mrp_list_lines(fx.p, 0).empty());
    EXPECT_EQ(packages_list_lines(fx.p, 0), std::vector<std::string>{"No packgaes ordered"});
    EXPECT_TRUE(open_vendor_order_lines(fx.p, 0).empty());

    const SimDateTime need = at(96, 3, 20), due = at(96, 3, 22), drawn = at(96, 4, 2);
    fx.p.plan.push_back({1, 0, 30, fx.view.clock.current, need});
    ASSERT_EQ(mrp_list_lines(fx.p, 0).size(), 1u);
    EXPECT_EQ(mrp_list_lines(fx.p, 0)[0], "\tYA\t30\t" + date_text(need, 0));

    VendorOrder o;
    o.family = 0;
    o.material = 1;
    o.quantity = 250;
    o.supplier = 1;
    o.order_date = fx.view.clock.current;
    o.quoted_due = due;
    o.arrival = drawn;
    fx.p.orders.push_back(o);
    const std::vector<std::string> orders = open_vendor_order_lines(fx.p, 0);
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0], "\tXB\t250\tBeta Supply\t" + date_text(o.order_date, 0) + "\t" + date_text(due, 0));
    EXPECT_EQ(orders[0].find(date_text(drawn, 0)), std::string::npos) << "the drawn arrival is never shown";

    ASSERT_EQ(fx.p.create_contract(1, 0, {25}), "");
    const std::vector<std::string> packages = packages_list_lines(fx.p, 0);
    const PurchaseContract& c = fx.p.contracts.front();
    ASSERT_EQ(packages.size(), 1u + static_cast<size_t>(c.package.count));
    EXPECT_EQ(packages[0], std::to_string(c.package.id) + "\t" + date_text(c.start, 0) + "\t" + date_text(c.end, 0));
    EXPECT_EQ(packages[1], "\t\t\tYA\t25\t" + std::to_string(c.package.items[0].price));
}

TEST(PurchasingReportFigures, GridsOfMaterialsAndSuppliers)
{
    Fixture fx;
    fx.p.suppliers[0].average_lead = 6.5f;
    fx.p.suppliers[1].average_lead = 0;
    const PrcGridFigures leads = supplier_lead_times(fx.p);
    EXPECT_EQ(leads.columns, std::vector<std::string>{"Average Lead Time"});
    EXPECT_EQ(leads.rows, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(leads.cells, (Cells{{"6.50"}, {"0.00"}}));

    fx.xa().average_cost = 12.345f;
    issues(fx.xa(), {13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13});
    const PrcGridFigures use = consumption_summary(fx.p);
    EXPECT_EQ(use.rows, (std::vector<std::string>{"XA", "XB", "YA"}));
    ASSERT_EQ(use.columns.size(), 3u);
    EXPECT_EQ(use.cells[0], (std::vector<std::string>{"12.35($)", "13(Un.)", "160($)"}));

    fx.xb().red_line_shares = {0, 0.1f, 0.2f, 0.333f, 0.5f, 1.0f};
    const PrcGridFigures red = red_line_statistics(fx.p, {9, 10, 11, 12, 1, 2});
    EXPECT_EQ(red.columns.front(), month_name(9, 0));
    EXPECT_EQ(red.columns.back(), month_name(2, 0));
    EXPECT_EQ(red.cells[1], (std::vector<std::string>{"0.00", "0.10", "0.20", "0.33", "0.50", "1.00"}));

    fx.p.unsupplied_since_step[1][0] = 17;
    EXPECT_EQ(daily_unsupplied(fx.p).cells, (Cells{{"0"}, {"0"}, {"17"}}));
    for (size_t h = 0; h < 6; ++h)
        fx.p.unsupplied_history[h][0][0] = static_cast<uint32_t>(h * 10);
    const PrcGridFigures history = unsupplied_history(fx.p, {9, 10, 11, 12, 1, 2});
    EXPECT_EQ(history.cells[0], (std::vector<std::string>{"0", "10", "20", "30", "40", "50"}));
    EXPECT_EQ(history.columns.size(), 6u);
}

TEST(PurchasingReportFigures, ForecastNeedsAndNeverANegativeToOrder)
{
    Fixture fx;
    fx.xa().stock = 10;
    fx.xa().in_process = 5;
    fx.on_order(0, 0) = 20;
    fx.xb().stock = 500;   // more than needed: 0 to order
    const std::vector<ForecastProduct> products = {{0, 0, "A1", 40}, {0, 1, "A2", 3}};
    // A1 takes 2 XA and 2 XB, A2 one YA.
    auto units = [](int f, int p, int mf, int m) {
        if (f == 0 && p == 0)
            return mf == 0 ? 2 : 0;
        return p == 1 && mf == 1 && m == 0 ? 1 : 0;
    };
    const PurchasingForecastFigures v = purchasing_forecast(fx.p, products, units);
    EXPECT_EQ(v.products.columns, (std::vector<std::string>{"Forecast", "XA", "XB", "YA"}));
    EXPECT_EQ(v.products.rows, (std::vector<std::string>{"A1", "A2"}));
    EXPECT_EQ(v.products.cells[0], (std::vector<std::string>{"40", "80", "80", "0"}));
    EXPECT_EQ(v.products.cells[1], (std::vector<std::string>{"3", "0", "0", "3"}));
    EXPECT_EQ(v.materials.columns,
              (std::vector<std::string>{"Needed", "In order", "Inventory", "In process", "To order"}));
    EXPECT_EQ(v.materials.cells[0], (std::vector<std::string>{"80", "20", "10", "5", "45"}));
    EXPECT_EQ(v.materials.cells[1], (std::vector<std::string>{"80", "0", "500", "0", "0"}));
}

} // namespace
