// The Finance window's two charts: the summary graphs, a child of the
// window with up to three daily series at a time, and the modeless "Profit"
// graph of the year's profit to date and the due-date performance.
#pragma once
#include "finance/finance_dialogs.h"
#include "uikit/chart_wnd.h"
#include "uikit/sim_dialog.h"
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

inline constexpr int IDD_PROFIT_GRAPH = 214;

// The profit graph's bound above a value: a round figure, one power of ten
// finer when the value would fill less than 80 % of it; mirrored below zero.
double profit_round_bound(double v);

class CSummaryGraphWnd : public CChartWnd {
public:
    static constexpr int SERIES = 7;   // Cash, Sales, Backlog, Throughput, WIP, Inventory value, OE
    static constexpr int SLOTS = 3;

    const char* GetRuntimeClassName() const override { return "CSummaryGraphWnd"; }
    int OnCreate(plat::CREATESTRUCT* cs) override;

    // One working day's values, in series order.
    void add_day(const double values[SERIES]);
    int32_t day_count() const { return days_; }
    // The choice of "Select graphs" applied: every series hidden, then the
    // checked ones slotted in order; and the choice the slots show now.
    void apply(const GraphChoice& choice);
    GraphChoice choice() const;
    // The slot captions above the slots, after a size change.
    void place_labels();
    const std::string& slot_title(int slot) const { return titles_[static_cast<size_t>(slot)]; }

private:
    void set_up();
    int32_t days_ = 0;
    std::array<std::string, SLOTS> titles_{};
};

class CProfitGraphDlg : public CModelessDialog {
public:
    static constexpr int PROFIT_SET = 101;
    static constexpr int DDP_SET = 102;

    explicit CProfitGraphDlg(plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CProfitGraphDlg"; }
    // Closing the dialog only hides it; the owner hears of it.
    void OnCancel() override;
    std::function<void()> closed;

    // A month's point of each series at the month counter.
    void add_month(int32_t profit, int ddp);
    int32_t month_count() const { return months_; }
    double slot_min(int slot) const { return y_min_[static_cast<size_t>(slot)]; }
    double slot_max(int slot) const { return y_max_[static_cast<size_t>(slot)]; }
    // What each series holds, for the owner and the tests.
    const std::vector<double>& points(int slot) const { return points_[static_cast<size_t>(slot)]; }
    CChartWnd* chart() { return &chart_; }

private:
    void set_up();
    void fit(int slot, double v);

    CChartWnd chart_;
    int32_t months_ = 0;
    double x_min_ = 0, x_max_ = 12;
    std::array<double, 2> y_min_{0, 0}, y_max_{1000, 100};
    std::array<std::vector<double>, 2> points_{};
};

void register_finance_graph_templates(plat::HINSTANCE module);
