// Chart window: running daily series over one chart-library graph.
#include "uikit/chart_wnd.h"
#include "uikit/uikit.h"
#include "foundation/utils.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "qxi32/qxi32.h"
#include <algorithm>
#include <cmath>
#include <cstring>

using namespace plat;

// ---- the library calls ------------------------------------------------------------

uint32_t ChartCalls::CreateGraph(HWND window) { return QXICreateGraph(uikit_resource_module(), window); }
void ChartCalls::DestroyGraph(uint32_t graph) { QXIDestroyGraph(graph); }

void ChartCalls::SetupTracer(uint32_t graph)
{
    QXISetTracerLineVisible(graph, 1);
    QXISetTracerLineActive(graph, 0);
    QXISetTracerLineType(graph, 2);
    QXISetTracerValVisible(graph, 1);
    QXISetTracerValActive(graph, 0);
    QXISetTracerValType(graph, 2);
}

void ChartCalls::AddEmptySet(uint32_t graph, int set, COLORREF colour, int pointStyle, int slot)
{
    QXIAddEmptyGraphSet(graph, set);
    QXISetGraphSetLineWidth(graph, set, 2, 0);
    QXISetGraphSetColor(graph, set, colour, 0);
    QXISetGraphSetPointStyle(graph, set, pointStyle, 0);
    QXISetGraphSetSlot(graph, set, slot, 0);
}

void ChartCalls::SetPointSize(uint32_t graph, int set, int size) { QXISetGraphSetPointSize(graph, set, size, 0); }
void ChartCalls::SetSetSlot(uint32_t graph, int set, int slot) { QXISetGraphSetSlot(graph, set, slot, 0); }
void ChartCalls::SetSetVisible(uint32_t graph, int set, int visible) { QXISetGraphSetVisible(graph, set, visible, 0); }
void ChartCalls::AddPoint(uint32_t graph, int set, double x, double y) { QXIAddPoint(graph, set, &x, &y); }

void ChartCalls::SetViewX(uint32_t graph, double minimum, double maximum)
{
    QXISetViewXMin(graph, minimum, 0);
    QXISetViewXMax(graph, maximum, 0);
}

void ChartCalls::SetViewY(uint32_t graph, int slot, int which, double value)
{
    if (slot < 0)
        which == 0 ? QXISetViewYMin(graph, value, 0) : QXISetViewYMax(graph, value, 0);
    else
        which == 0 ? QXISetSlotViewYMin(graph, slot, value, 0) : QXISetSlotViewYMax(graph, slot, value, 0);
}

void ChartCalls::SetYTickEach(uint32_t graph, int slot, double each)
{
    if (slot < 0)
        QXISetYTickEach(graph, each, 0);
    else
        QXISetSlotYTickEach(graph, slot, each, 0);
}

void ChartCalls::Redraw(uint32_t graph, int mode, int set) { QXIRedrawGraph(graph, mode, set); }

namespace {
ChartCalls g_library;
ChartCalls* g_calls = &g_library;
bool (*g_isNewMonth)() = nullptr;
} // namespace

// ---- CChartWnd ------------------------------------------------------------------------

CChartWnd::CChartWnd() = default;

CChartWnd::~CChartWnd()
{
    if (m_hWnd != 0)
        DestroyWindow();
}

void CChartWnd::SetNewMonthTest(bool (*isNewMonth)())
{
    g_isNewMonth = isNewMonth;
}

void CChartWnd::SetChartCalls(ChartCalls* calls)
{
    g_calls = calls != nullptr ? calls : &g_library;
}

ChartCalls& CChartWnd::Calls() { return *g_calls; }

BOOL CChartWnd::Create(CWnd* parent, const RECT& rect, int id)
{
    return CWnd::Create(nullptr, "", WS_CHILD | WS_VISIBLE, rect, parent, static_cast<UINT>(id));
}

int CChartWnd::OnCreate(CREATESTRUCT* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    m_graph = g_calls->CreateGraph(m_hWnd);
    if (m_graph == 0) {
        plat::MessageBox(m_hWnd, "Fail to create graph", nullptr, MB_OK);
        return 0;
    }
    g_calls->SetupTracer(m_graph);
    return 0;
}

void CChartWnd::OnDestroy()
{
    if (m_graph != 0) {
        g_calls->DestroyGraph(m_graph);
        m_graph = 0;
    }
    CWnd::OnDestroy();
}

BOOL CChartWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == MSG_BOOKMARK_DBLCLK_UI) {
        result = 0;
        return TRUE;
    }
    return CWnd::OnMessage(msg, wParam, lParam, result);
}

void CChartWnd::SetSeriesCount(int count)
{
    m_seriesCount = std::clamp(count, 0, MAX_SERIES);
}

bool CChartWnd::in_use(int index) const
{
    return index >= 0 && index < m_seriesCount && m_series[index].defined;
}

const CChartWnd::Series* CChartWnd::GetSeries(int index) const
{
    return index >= 0 && index < MAX_SERIES ? &m_series[index] : nullptr;
}

BOOL CChartWnd::AddSeries(int index, int32_t setId, int32_t slot, COLORREF colour, const char* name, int32_t owner0,
                          int32_t owner1, int32_t owner2, int32_t owner3, int pointStyle, int pointSize,
                          BOOL withAverages, BOOL floorFromData)
{
    if (index < 0 || index >= MAX_SERIES || slot < -1 || slot >= MAX_SLOTS) {
        uikit_debug_log("chart window: series %d (slot %d) refused", index, slot);
        return FALSE;
    }
    Series& s = m_series[index];
    s = Series{};
    s.setId = setId;
    s.slot = slot;
    s.owner[0] = owner0;
    s.owner[1] = owner1;
    s.owner[2] = owner2;
    s.owner[3] = owner3;
    s.withAverages = withAverages;
    s.floorFromData = floorFromData;
    std::strncpy(s.name, name != nullptr ? name : "", SERIES_NAME_MAX);
    s.defined = true;
    if (index >= m_seriesCount)
        m_seriesCount = index + 1;
    if (m_graph != 0) {
        g_calls->AddEmptySet(m_graph, setId + 10000, 0x808080, 0, slot);
        g_calls->AddEmptySet(m_graph, setId, colour, pointStyle, slot);
        g_calls->SetPointSize(m_graph, setId, pointSize);
        g_calls->AddEmptySet(m_graph, setId + 1000, 0x000000, 0, slot);
    }
    return TRUE;
}

void CChartWnd::SetSeriesSlot(int index, int32_t slot)
{
    if (!in_use(index) || slot < -1 || slot >= MAX_SLOTS) {
        uikit_debug_log("chart window: slot %d of series %d refused", slot, index);
        return;
    }
    Series& s = m_series[index];
    s.slot = slot;
    if (m_graph == 0)
        return;
    for (int set : {s.setId, s.setId + 1000, s.setId + 10000})
        g_calls->SetSetSlot(m_graph, set, slot);
}

void CChartWnd::ShowSeries(int index, BOOL visible)
{
    if (!in_use(index) || m_graph == 0)
        return;
    const Series& s = m_series[index];
    for (int set : {s.setId, s.setId + 1000, s.setId + 10000})
        g_calls->SetSetVisible(m_graph, set, visible);
}

int CChartWnd::FindSeries(int32_t setId) const
{
    for (int i = 0; i < m_seriesCount; ++i)
        if (m_series[i].defined && m_series[i].setId == setId)
            return i;
    return -1;
}

int CChartWnd::CountSlottedSeries() const
{
    int n = 0;
    for (int i = 0; i < m_seriesCount; ++i)
        if (m_series[i].defined && m_series[i].slot != -1)
            ++n;
    return n;
}

double CChartWnd::RoundUp(double v, double span)
{
    const int d = decimal_digits(std::fabs(span)) - 1;
    auto next_multiple = [v](int power) {
        // A power below 1 would make the step zero; whole units are the
        // finest steps the axis shows.
        const int64_t step = power < 1 ? 1 : int_power_of_ten(power);
        const int64_t whole = static_cast<int64_t>(v);
        return static_cast<double>(whole / step * step + step);
    };
    double r = next_multiple(d);
    if (v / r < 0.8)
        r = next_multiple(d - 1);
    return r;
}

void CChartWnd::fit_range(Series& s, double v)
{
    bool maxChanged = false, minChanged = false;
    if (v > 0.0 && v > s.yMax) {
        s.yMax = RoundUp(v, v - s.yMin);
        if (s.slot >= 0)
            m_slotYMax[s.slot] = s.yMax;
        maxChanged = true;
    }
    if (v < 0.0 && v < s.yMin) {
        s.yMin = -RoundUp(-v, v - s.yMax);
        if (s.slot >= 0)
            m_slotYMin[s.slot] = s.yMin;
        minChanged = true;
    }
    if ((!maxChanged && !minChanged) || s.slot < 0 || m_graph == 0)
        return;
    const int k = s.slot;
    const int target = CountSlottedSeries() == 1 ? -1 : k;
    const double each = (m_slotYMax[k] - m_slotYMin[k]) / m_tickCount;
    if (maxChanged) {
        g_calls->SetViewY(m_graph, target, 1, m_slotYMax[k]);
        g_calls->SetYTickEach(m_graph, target, each);
    }
    if (minChanged) {
        g_calls->SetViewY(m_graph, target, 0, m_slotYMin[k]);
        g_calls->SetYTickEach(m_graph, target, each);
    }
    g_calls->Redraw(m_graph, 1, 0);
}

void CChartWnd::add_averages(Series& s)
{
    const int32_t count = static_cast<int32_t>(s.values.size());
    if (count <= s.averagedCount)
        return;
    int64_t sum = 0;
    for (int32_t i = s.averagedCount; i < count; ++i)
        sum += s.values[static_cast<size_t>(i)];
    const int32_t a = static_cast<int32_t>(sum / (count - s.averagedCount));
    s.averages.resize(static_cast<size_t>(count), 0);
    if (m_graph != 0 && s.averagedCount > 0)
        g_calls->AddPoint(m_graph, s.setId + 1000, s.averagedCount - 1, a);
    for (int32_t i = s.averagedCount; i < count; ++i) {
        s.averages[static_cast<size_t>(i)] = a;
        if (m_graph != 0)
            g_calls->AddPoint(m_graph, s.setId + 1000, i, a);
    }
    s.averagedCount = count;
    if (m_graph != 0)
        g_calls->Redraw(m_graph, 2, -1);
}

void CChartWnd::AddPoint(int index, double value)
{
    if (!in_use(index)) {
        uikit_debug_log("chart window: point for undefined series %d", index);
        return;
    }
    Series& s = m_series[index];
    const double x = static_cast<double>(s.values.size());
    const double clamped = std::clamp(value, -2147483648.0, 2147483647.0);
    s.values.push_back(static_cast<int32_t>(clamped));
    if (m_graph != 0)
        g_calls->AddPoint(m_graph, s.setId, x, value);
    fit_range(s, value);
    if (s.withAverages && g_isNewMonth != nullptr && g_isNewMonth())
        add_averages(s);
}

void CChartWnd::AddPointToSet(int32_t setId, double value)
{
    const int index = FindSeries(setId);
    if (index >= 0)
        AddPoint(index, value);
}

void CChartWnd::AddSecondaryPoint(int index, double value)
{
    if (!in_use(index))
        return;
    Series& s = m_series[index];
    const double x = static_cast<double>(s.secondary.size());
    s.secondary.push_back(static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0)));
    if (m_graph != 0)
        g_calls->AddPoint(m_graph, s.setId + 10000, x, value);
}

void CChartWnd::SetViewXRange(double minimum, double maximum)
{
    m_viewXMin = minimum;
    m_viewXMax = maximum;
    if (m_graph != 0)
        g_calls->SetViewX(m_graph, minimum, maximum);
}

void CChartWnd::ScrollToX(double x)
{
    if (m_graph == 0)
        return;
    if (x <= m_viewXMax) {
        for (int i = 0; i < m_seriesCount; ++i)
            if (m_series[i].defined)
                g_calls->Redraw(m_graph, 5, m_series[i].setId);
        return;
    }
    m_viewXMin += 22.0;
    m_viewXMax += 22.0;
    g_calls->SetViewX(m_graph, m_viewXMin, m_viewXMax);
    g_calls->Redraw(m_graph, 1, 0);
}

void CChartWnd::SetSlotDefaults(int slot, double minimum, double maximum)
{
    if (slot < 0 || slot >= MAX_SLOTS)
        return;
    m_slotDefaultYMin[slot] = minimum;
    m_slotDefaultYMax[slot] = maximum;
}

void CChartWnd::SetSlotYRange(int slot, double minimum, double maximum)
{
    if (slot < 0 || slot >= MAX_SLOTS) {
        uikit_debug_log("chart window: slot %d refused", slot);
        return;
    }
    if (minimum == 0.0 && maximum == 0.0) {
        minimum = m_slotDefaultYMin[slot];
        maximum = m_slotDefaultYMax[slot];
    }
    m_slotYMin[slot] = minimum;
    m_slotYMax[slot] = maximum;
    if (m_graph == 0)
        return;
    const int target = CountSlottedSeries() == 1 ? -1 : slot;
    g_calls->SetViewY(m_graph, target, 0, minimum);
    g_calls->SetViewY(m_graph, target, 1, maximum);
    g_calls->SetYTickEach(m_graph, target, (maximum - minimum) / m_tickCount);
    g_calls->Redraw(m_graph, 1, 0);
}

void CChartWnd::SetTickCount(int n)
{
    if (n <= 0) {
        uikit_debug_log("chart window: tick count %d refused", n);
        return;
    }
    m_tickCount = n;
    if (m_graph == 0)
        return;
    const int slotted = CountSlottedSeries();
    for (int k = 0; k < slotted && k < MAX_SLOTS; ++k)
        g_calls->SetYTickEach(m_graph, k, (m_slotYMax[k] - m_slotYMin[k]) / n);
}
