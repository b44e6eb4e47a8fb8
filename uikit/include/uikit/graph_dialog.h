// Small line-graph dialogs drawn with the drawing helpers: any x values, or
// twelve months.
#pragma once
#include "uikit/sim_dialog.h"
#include <cstdint>
#include <string>

struct GraphSeries {
    const float* x = nullptr; // owned by the caller
    const float* y = nullptr;
    int16_t count = 0;
    plat::COLORREF colour = 0;
    int16_t lineWidth = 1;
    int32_t noLine = 0;
    int32_t marker = 0; // 2 cross, 3 square, 4 dot, other none
    float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

struct GraphLegend {
    char text[80];
    plat::COLORREF colour;
};

// Range rules, apart so they can be checked by themselves.
// The maximum raised so the span becomes the next multiple of 10 above it.
float graph_raise_to_ten(float minimum, float maximum);
// Month graphs: the rounded top for a data maximum, and the bottom for a
// negative minimum under that top (0 when the minimum is not negative).
float month_graph_top(float yMax);
float month_graph_bottom(float yMin, float top);

class CGraphDialog : public CSimDialog {
public:
    static constexpr int MAX_SERIES = 50;
    static constexpr int MAX_LEGEND = 10;
    static constexpr int MAX_Y_TICKS = 50;
    static constexpr int HELP_BUTTON_ID = 3;

    CGraphDialog(int templateId, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CGraphDialog"; }

    // The 51st series and the 11th legend entry are refused.
    void AddSeries(const float* x, const float* y, int count, plat::BOOL noLine, plat::COLORREF colour,
                   int lineWidth, int marker);
    void AddLegend(const char* text, plat::COLORREF colour);
    void ExpandRanges(float xFraction, float yFraction);
    plat::POINT ToScreen(float x, float y) const;
    plat::BOOL IsInPlotArea(plat::POINT pt) const;

    void SetTitle(const char* title) { m_title = title != nullptr ? title : ""; }
    void SetYCaption(const char* caption) { m_yCaption = caption != nullptr ? caption : ""; }
    void SetHelpTopic(int32_t topic) { m_helpTopic = topic; }
    void SetBackground(plat::COLORREF colour) { m_background = colour; }
    void SetPlotRect(const plat::RECT& rc) { m_plot = rc; }

    int series_count() const { return m_seriesCount; }
    int legend_count() const { return m_legendCount; }
    const GraphLegend& legend(int i) const { return m_legend[i]; }
    float x_min() const { return m_xMin; }
    float x_max() const { return m_xMax; }
    float y_min() const { return m_yMin; }
    float y_max() const { return m_yMax; }
    const plat::RECT& plot() const { return m_plot; }
    int y_tick_count() const { return m_yTickCount; }
    const std::string& title() const { return m_title; }
    // Where the last paint put the y caption and the legend column.
    const plat::RECT& y_caption_box() const { return m_captionBox; }
    const plat::RECT& legend_box() const { return m_legendBox; }

    virtual void DrawBackground();
    virtual void DrawSeries(const GraphSeries& series);
    virtual void DrawAllSeries();
    virtual void ComputeRanges();
    virtual void DrawExtra() {}
    virtual void DrawXAxis();
    virtual void DrawYAxis();
    virtual void DrawGrid();
    virtual void DrawLegend();

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnPaint() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

protected:
    // The ranges over all series, without rounding.
    void span_series();
    // Shrinks the plot so the buttons, the legend and the y caption fit around it.
    void fit_layout();

    GraphSeries m_series[MAX_SERIES];
    int32_t m_seriesCount = 0;
    plat::RECT m_plot{70, 35, 530, 370};
    float m_xMin = 0, m_xMax = 0, m_yMin = 0, m_yMax = 0;
    plat::COLORREF m_background = 0xFFFFFF;
    int32_t m_yTicks[MAX_Y_TICKS] = {};
    int32_t m_yTickCount = 0;
    GraphLegend m_legend[MAX_LEGEND] = {};
    int32_t m_legendCount = 0;
    std::string m_title = "Unknown";
    std::string m_yCaption;
    plat::RECT m_captionBox{};
    plat::RECT m_legendBox{};
    int32_t m_helpTopic = 0;
};

class CMonthGraphDialog : public CGraphDialog {
public:
    CMonthGraphDialog(int templateId, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CMonthGraphDialog"; }
    void AddMonthSeries(const float* y, plat::BOOL noLine, plat::COLORREF colour, int lineWidth, int marker);
    void SetMonths(const int32_t months[12]);
    void ComputeRanges() override;
    void DrawXAxis() override;

protected:
    float m_positions[12];
    int32_t m_months[12];
};
