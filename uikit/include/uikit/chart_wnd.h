// A child window carrying one chart-library graph fed with running daily
// series whose y ranges widen to rounded limits as values arrive.
#pragma once
#include "plat/fw/wnd.h"
#include <cstdint>
#include <vector>

// The chart-library calls the window makes, so a test can watch them. The
// default forwards to the library.
class ChartCalls {
public:
    virtual ~ChartCalls() = default;
    virtual uint32_t CreateGraph(plat::HWND window);
    virtual void DestroyGraph(uint32_t graph);
    virtual void SetupTracer(uint32_t graph);
    virtual void AddEmptySet(uint32_t graph, int set, plat::COLORREF colour, int pointStyle, int slot);
    virtual void SetPointSize(uint32_t graph, int set, int size);
    virtual void SetSetSlot(uint32_t graph, int set, int slot);
    virtual void SetSetVisible(uint32_t graph, int set, int visible);
    virtual void AddPoint(uint32_t graph, int set, double x, double y);
    virtual void SetViewX(uint32_t graph, double minimum, double maximum);
    // Whole view (slot -1) or one slot; which: 0 minimum, 1 maximum.
    virtual void SetViewY(uint32_t graph, int slot, int which, double value);
    virtual void SetYTickEach(uint32_t graph, int slot, double each);
    virtual void Redraw(uint32_t graph, int mode, int set);
};

class CChartWnd : public plat::CWnd {
public:
    static constexpr int MAX_SERIES = 50;
    static constexpr int MAX_SLOTS = 3;
    static constexpr int SERIES_NAME_MAX = 200;

    struct Series {
        int32_t setId = 0;
        int32_t slot = -1;
        double yMin = 0.0, yMax = 0.0;
        int32_t owner[4] = {};
        // Grow without limit: a long run adds a point a day for years.
        std::vector<int32_t> values;
        std::vector<int32_t> averages;
        int32_t averagedCount = 0;
        int32_t withAverages = 0;
        std::vector<int32_t> secondary;
        int32_t floorFromData = 0;
        char name[SERIES_NAME_MAX + 1] = {};
        bool defined = false;
    };

    CChartWnd();
    ~CChartWnd() override;
    const char* GetRuntimeClassName() const override { return "CChartWnd"; }

    // The clock's new-month test, shared by every chart window.
    static void SetNewMonthTest(bool (*isNewMonth)());
    // Library calls go here (null: the library itself). For tests.
    static void SetChartCalls(ChartCalls* calls);
    // The calls in use, for a graph window of its own that a test watches too.
    static ChartCalls& Calls();

    plat::BOOL Create(plat::CWnd* parent, const plat::RECT& rect, int id);
    void SetSeriesCount(int count);
    int GetSeriesCount() const { return m_seriesCount; }
    // Refused for an index outside 0..49 or a slot outside -1..2.
    plat::BOOL AddSeries(int index, int32_t setId, int32_t slot, plat::COLORREF colour, const char* name,
                         int32_t owner0, int32_t owner1, int32_t owner2, int32_t owner3, int pointStyle,
                         int pointSize, plat::BOOL withAverages, plat::BOOL floorFromData);
    void SetSeriesSlot(int index, int32_t slot);
    void ShowSeries(int index, plat::BOOL visible);
    void AddPoint(int index, double value);
    void AddPointToSet(int32_t setId, double value);
    int FindSeries(int32_t setId) const;
    void ScrollToX(double x);
    void SetViewXRange(double minimum, double maximum);
    void SetSlotYRange(int slot, double minimum, double maximum);
    void SetSlotDefaults(int slot, double minimum, double maximum);
    void SetTickCount(int n);
    int CountSlottedSeries() const;
    // Its owner's secondary values (the grey set), one a day.
    void AddSecondaryPoint(int index, double value);

    const Series* GetSeries(int index) const;
    double GetSlotYMax(int slot) const { return slot >= 0 && slot < MAX_SLOTS ? m_slotYMax[slot] : 0.0; }
    double GetSlotYMin(int slot) const { return slot >= 0 && slot < MAX_SLOTS ? m_slotYMin[slot] : 0.0; }
    double GetViewXMin() const { return m_viewXMin; }
    double GetViewXMax() const { return m_viewXMax; }
    uint32_t GetGraph() const { return m_graph; }

    // The next multiple of a power of ten above v, the power from the span's
    // digits, refined one power down when v would fill less than 80 %.
    static double RoundUp(double v, double span);

    int OnCreate(plat::CREATESTRUCT* cs) override;
    void OnDestroy() override;
    plat::BOOL OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result) override;

private:
    bool in_use(int index) const;
    void fit_range(Series& s, double v);
    void add_averages(Series& s);

    uint32_t m_graph = 0;
    double m_viewXMin = 0.0, m_viewXMax = 0.0;
    Series m_series[MAX_SERIES];
    int32_t m_seriesCount = 0;
    double m_slotYMax[MAX_SLOTS] = {1000.0, 1000.0, 1000.0};
    double m_slotYMin[MAX_SLOTS] = {};
    double m_slotDefaultYMax[MAX_SLOTS] = {};
    double m_slotDefaultYMin[MAX_SLOTS] = {};
    int32_t m_tickCount = 2;
};
