// The analyses: cost analyses, global measures, summaries and EVA.
#include "support/fakes.h"
#include "finance/finance_analysis.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {

ProductFigures product(float price, float material, float labour, float indirect, float advertising = 0)
{
    ProductFigures pf;
    pf.price = price;
    pf.material_cost = material;
    pf.labour = labour;
    pf.indirect = indirect;
    pf.advertising = advertising;
    return pf;
}

ContractSummary contract(uint16_t number, std::vector<ContractLine> lines, bool held = false)
{
    ContractSummary c;
    c.number = number;
    c.held = held;
    c.lines = std::move(lines);
    return c;
}

} // namespace

TEST(ProductAnalysis, FieldsFromTheUnitFigures)
{
    Books b;
    b.marketing.products = {product(80, 30, 10, 5, 2)};
    const std::vector<std::string> texts = cost_analysis_texts(product_analysis(b.engine, 0, 0));
    // Advertising shows under the indirect cost but stays out of the standard cost.
    const std::vector<std::string> expected = {"80.00", "30.00", "10.00", "7.00", "45.00", "35.00", "43.75%"};
    EXPECT_EQ(texts, expected);
}

TEST(ProductAnalysis, PriceZeroShowsWhatTheDivisionGives)
{
    Books b;
    b.marketing.products = {product(0, 30, 10, 5), product(0, 0, 0, 0)};
    EXPECT_EQ(cost_analysis_texts(product_analysis(b.engine, 0, 0))[6], "-inf%");
    const std::string undefined = cost_analysis_texts(product_analysis(b.engine, 0, 1))[6];
    EXPECT_NE(undefined.find("nan"), std::string::npos) << undefined;
    const std::vector<SummaryRow> rows = marginal_profit_rows(b.engine);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].value, "-inf%");
}

TEST(ProductAnalysis, ProductsInFamilyAndProductOrder)
{
    Books b;
    ProductFigures retired = product(50, 20, 5, 5);
    retired.retired = true;
    b.marketing.products = {product(80, 30, 10, 5), retired, product(100, 40, 10, 10)};
    const std::vector<AnalysisProduct> list = analysis_products(b.engine);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].code, "A1");
    EXPECT_EQ(list[1].code, "A2");
    EXPECT_TRUE(list[1].retired);
    EXPECT_EQ(list[2].code, "A3");
    EXPECT_EQ(list[2].product, 2);

    // Every product labels a row of the summaries; the retired one has no value.
    const std::vector<SummaryRow> marginal = marginal_profit_rows(b.engine);
    const std::vector<SummaryRow> throughput = product_throughput_rows(b.engine);
    ASSERT_EQ(marginal.size(), 3u);
    ASSERT_EQ(throughput.size(), 3u);
    EXPECT_EQ(marginal[0].label, "A1");
    EXPECT_EQ(marginal[0].value, "43.75%");
    EXPECT_EQ(marginal[1].label, "A2");
    EXPECT_EQ(marginal[1].value, "");
    EXPECT_EQ(marginal[2].value, "40.00%");
    EXPECT_EQ(throughput[0].value, "50.00");
    EXPECT_EQ(throughput[1].value, "");
    EXPECT_EQ(throughput[2].value, "60.00");
}

TEST(ContractAnalysis, SumsOverTheLinesAndHeldOnesOnlyInHold)
{
    Books b;
    b.marketing.products = {product(80, 30, 10, 5, 2), product(100, 40, 10, 10)};
    b.marketing.contracts = {contract(7, {{0, 0, 10, 75, "A1-10"}, {0, 1, 4, 90, "A2-4"}}),
                             contract(3, {{0, 1, 2, 100, "A2-2"}}), contract(12, {{0, 0, 1, 80, "A1-1"}}, true)};

    b.host.state = RUN_RUNNING;
    std::vector<ContractSummary> list = analysis_contracts(b.engine);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(contract_list_text(list[0]), "7");
    b.host.state = RUN_HOLD;
    list = analysis_contracts(b.engine);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(contract_list_text(list[2]), "12 (In Hold)");

    // 10 x 75 + 4 x 90 = 1110; material 10 x 30 + 4 x 40 = 460; labour 140;
    // indirect 10 x 5 + 4 x 10 = 90 (no advertising); standard 690.
    const std::vector<std::string> texts = cost_analysis_texts(contract_analysis(b.engine, list[0]));
    const std::vector<std::string> expected = {"1110.00", "460.00", "140.00", "90.00", "690.00", "420.00", "37.84%"};
    EXPECT_EQ(texts, expected);

    // Throughput by contract number: sale price less material.
    const std::vector<SummaryRow> rows = contract_throughput_rows(b.engine);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].label, "3");
    EXPECT_EQ(rows[0].value, "120.00($)");
    EXPECT_EQ(rows[1].label, "7");
    EXPECT_EQ(rows[1].value, "650.00($)");
    EXPECT_EQ(rows[2].label, "12");
    EXPECT_EQ(rows[2].value, "50.00($)");

    b.marketing.contracts.clear();
    EXPECT_TRUE(analysis_contracts(b.engine).empty());
    EXPECT_TRUE(contract_throughput_rows(b.engine).empty());
}

TEST(GlobalMeasures, FromTheRunsTotals)
{
    Books b;
    ProductFigures a1 = product(80, 30, 10, 5);
    a1.fg_units = 10;
    a1.export_units = 2;
    a1.run_material_cost_of_sales = 1500.5f;
    ProductFigures gone = product(50, 20, 5, 5);
    gone.retired = true;
    gone.run_material_cost_of_sales = 999;
    gone.fg_units = 7;
    b.marketing.products = {a1, gone};
    b.marketing.sales = 4000;
    b.purchasing.stock = 100;
    b.purchasing.price = 3;
    b.engine.total_expenses.acc = 20000;
    b.engine.interest_paid.acc = 10.75f;
    b.engine.interest_earned.acc = 100.5f;
    b.engine.written_off.acc = 300;
    b.engine.depreciation.acc = 5000;

    const GlobalMeasures g = global_measures(b.engine);
    EXPECT_EQ(g.throughput, 2499);                    // 4000 - 1500.5, the retired product left out
    EXPECT_EQ(g.current_inventory, 12 * 30 + 300);    // finished and export units, materials
    EXPECT_EQ(g.total_assets, 100000 + 210000 - 5000 + 660);
    EXPECT_EQ(g.oe, 25210);                           // 20000 + 10.75 - 100.5 + 300 + 5000
}

TEST(EvaMeasurement, NotAvailableBeforeAMonthThenTheCurrentYear)
{
    Books b;
    EXPECT_FALSE(eva_measurement(b.engine).available);

    b.purchasing.stock = 100;
    b.purchasing.price = 3;
    b.run_until({95, 3, 1, 8, 0});
    const EvaFigures e = eva_measurement(b.engine);
    ASSERT_TRUE(e.available);
    EXPECT_EQ(e.from.month, 1);
    EXPECT_EQ(e.from.day, 2);
    EXPECT_EQ(e.to.month, 2);
    EXPECT_EQ(e.to.day, 28);
    EXPECT_EQ(e.profit, b.engine.get_net_profit('C', 1));
    EXPECT_EQ(e.capital, 100000 + 210000 - b.engine.depreciation.acc + 300 + b.engine.cash);
    EXPECT_DOUBLE_EQ(e.interest, 2 * static_cast<double>(0.10f) / 12.0);   // January and February
    EXPECT_EQ(e.capital_interest, static_cast<int32_t>(e.capital * e.interest));
    EXPECT_EQ(e.eva, static_cast<int32_t>(b.engine.last_net_profit - e.capital * e.interest));
    EXPECT_EQ(e.last_year_eva, b.engine.eva);
}

TEST(EvaMeasurement, JanuaryShowsTheYearJustEnded)
{
    Books b;
    b.run_until({95, 12, 29, 8, 0});
    CClockPane& clock = b.host.clock_pane;
    while (!(clock.IsNewYear() && clock.IsDayStart()))
        b.tick();
    b.engine.previous_eva = 1234;   // what the roll kept
    EvaFigures e = eva_measurement(b.engine);
    ASSERT_TRUE(e.available);
    EXPECT_EQ(e.from.year, 95);
    EXPECT_EQ(e.from.day, 2);
    EXPECT_EQ(e.to.year, 95);
    EXPECT_EQ(e.to.month, 12);
    EXPECT_EQ(e.to.day, 31);
    EXPECT_EQ(e.profit, b.engine.get_net_profit('L', 1));
    EXPECT_DOUBLE_EQ(e.interest, 12 * static_cast<double>(0.10f) / 12.0);
    EXPECT_EQ(e.last_year_eva, 1234);

    b.run_ticks(24 * 60);
    e = eva_measurement(b.engine);
    EXPECT_EQ(e.last_year_eva, b.engine.eva);
}
