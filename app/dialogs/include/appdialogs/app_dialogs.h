// Dialogs the departments open: the forecast range and the sales summary
// graph. Their templates go into whichever module the program (or a test)
// registers.
#pragma once
#include "uikit/graph_dialog.h"
#include <array>
#include <cstdint>
#include <string>

inline constexpr int IDD_FORECAST_RANGE = 126;
inline constexpr int IDD_SALES_SUMMARY_GRAPH = 163;

// Adds the two templates to the module's dialog table.
void register_app_dialog_templates(plat::HINSTANCE module);

// "Get Forecast Range": DoModal answers the range in days (months are
// multiplied by the working days per month), 0 when cancelled.
class CForecastRangeDlg : public CSimDialog {
public:
    static constexpr int MAX_RANGE = 500;

    explicit CForecastRangeDlg(plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CForecastRangeDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(plat::CDataExchange* dx) override;

    int range = 1;
};

// "Sales Summary Graph": sets of up to five monthly series, one set shown
// at a time, chosen in the combo box.
class CSalesSummaryGraphDlg : public CMonthGraphDialog {
public:
    static constexpr int MAX_SETS = 50;
    static constexpr int MAX_SET_SERIES = 5;
    static constexpr int TITLE_MAX = 100;

    explicit CSalesSummaryGraphDlg(plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CSalesSummaryGraphDlg"; }

    // Set i, series j (callers go in increasing order): the set's title
    // (translated), 12 monthly values owned by the caller, the line colour
    // and the marker colour. The set's series count becomes j + 1, the set
    // count i + 1. False (nothing stored) beyond 50 sets or 5 series.
    bool DefineSeries(int set, int series, const char* title, const float* data, plat::COLORREF line,
                      plat::COLORREF marker);
    // Clears the graph and draws set i's series (a line and its markers each).
    void ShowSet(int set);
    // The text beside the set chooser (translated when the dialog opens).
    void SetSelectorLabel(const char* label) { m_selectorLabel = label != nullptr ? label : ""; }

    int set_count() const { return m_setCount; }
    int shown_set() const { return m_shownSet; }
    int set_series_count(int set) const { return m_sets[static_cast<size_t>(set)].count; }
    const std::string& set_title(int set) const { return m_sets[static_cast<size_t>(set)].title; }

    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;

private:
    struct Series {
        const float* data = nullptr;
        plat::COLORREF line = 0;
        plat::COLORREF marker = 0;
    };
    struct Set {
        std::string title;
        std::array<Series, MAX_SET_SERIES> series{};
        int count = 0;
    };
    std::array<Set, MAX_SETS> m_sets{};
    int m_setCount = 0;
    int m_shownSet = -1;
    std::string m_selectorLabel = "Show:";
};
