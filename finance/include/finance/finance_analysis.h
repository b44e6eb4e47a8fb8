// The analyses of the Information menu: cost analyses of a product and of a
// contract, the global performance measures, the three summaries and EVA,
// computed from the books and the unit figures Marketing keeps per product.
#pragma once
#include "finance/finance_wnd.h"
#include <string>
#include <vector>

// A product or a contract priced against its standard cost.
struct CostAnalysis {
    float sale_price = 0, material = 0, labour = 0, indirect = 0, standard_cost = 0, profit = 0,
          marginal_percent = 0;
};
// The seven value fields as the dialogs show them, in their order.
std::vector<std::string> cost_analysis_texts(const CostAnalysis& a);

struct AnalysisProduct {
    int family = 0, product = 0;
    std::string code;   // "%c%c"
    bool retired = false;
};
// Every product of the market in family and product order.
std::vector<AnalysisProduct> analysis_products(const CFinanceWnd& books);

// The "Indirect cost:" of a product counts its advertising per unit; its
// standard cost does not.
CostAnalysis product_analysis(const CFinanceWnd& books, int family, int product);

// The active contracts, and in HOLD the offered ones waiting for an answer.
std::vector<ContractSummary> analysis_contracts(const CFinanceWnd& books);
// A contract's entry in the Contract Cost Analysis list.
std::string contract_list_text(const ContractSummary& c);
// Summed over the contract's lines (quantity x unit figure).
CostAnalysis contract_analysis(const CFinanceWnd& books, const ContractSummary& c);

struct GlobalMeasures {
    int32_t throughput = 0, total_assets = 0, current_inventory = 0, oe = 0;
};
GlobalMeasures global_measures(const CFinanceWnd& books);

// One row of a summary grid; a retired product's value stays empty.
struct SummaryRow {
    std::string label, value;
};
std::vector<SummaryRow> marginal_profit_rows(const CFinanceWnd& books);
std::vector<SummaryRow> product_throughput_rows(const CFinanceWnd& books);
// Sorted by contract number; empty when there is no contract.
std::vector<SummaryRow> contract_throughput_rows(const CFinanceWnd& books);

struct EvaFigures {
    bool available = false;   // no month has passed yet
    SimDateTime from{}, to{};
    int32_t profit = 0, capital = 0;
    double interest = 0;      // months x cost-of-capital rate / 12
    int32_t capital_interest = 0, eva = 0, last_year_eva = 0;
};
EvaFigures eva_measurement(CFinanceWnd& books);
