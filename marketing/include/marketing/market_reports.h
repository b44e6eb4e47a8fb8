// The Marketing reports' tables: captions, column titles, row titles and
// cell texts, computed from the market's records. The report dialogs show
// them in grids; tests read them directly.
#pragma once
#include <string>
#include <vector>

class CMarketingWnd;

struct ReportTable {
    std::string caption;
    std::vector<std::string> columns;
    struct Row {
        std::string title;
        std::vector<std::string> cells;
    };
    std::vector<Row> rows;
    // The labels above the grid, when the report has them (1156, 1157).
    std::vector<std::string> labels;
    int help_context = 0;
};

// Report dialog ids.
enum MarketReport : int {
    REPORT_MONTHLY_SALES = 174,
    REPORT_MONTHLY_ORDERED = 175,
    REPORT_UNITS_SALES_SUMMARY = 176,
    REPORT_RED_LINE_STATISTICS = 178,
    REPORT_UPDATED_SALES = 191,
    REPORT_ADVERTISING_EXPENSES = 222,
    REPORT_INVENTORY_LOSSES = 239,
    REPORT_INVENTORY_DAYS = 241,
    REPORT_INVENTORY_POLICIES = 242,
    REPORT_ADVERTISING_PLAN = 243,
    REPORT_LOST_ORDERS = 244,
};

// `month` is the clock's current month (1..12). An id that is no report
// gives an empty table.
ReportTable build_report(const CMarketingWnd& m, int report, int month);

// The month `back` months before `month`, December before January.
int month_back(int month, int back);

// True for a product that is still waiting for its introduction (no row in
// any report).
bool product_waiting(const CMarketingWnd& m, int family, int product);
