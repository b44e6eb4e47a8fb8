// Graph dialogs: ranges, axes, series and legend on the dialog's face.
#include "uikit/graph_dialog.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "plat/fw/wrappers.h"
#include "plat/help.h"
#include "plat/window.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace plat;

float graph_raise_to_ten(float minimum, float maximum)
{
    const int span = static_cast<int>(maximum - minimum);
    return maximum + static_cast<float>(10 - span % 10);
}

float month_graph_top(float yMax)
{
    const int n = static_cast<int>(yMax) / 10;
    int p = 1;
    while (p < n)
        p *= 10;
    p /= 10;
    if (p == 0)
        return 100.0f;
    float top = static_cast<float>((n / p + 1) * p * 10);
    if (top != 0.0f && yMax / top < 0.7f) {
        const float step = top / 10.0f;
        while (top > yMax)
            top -= step;
        top += step;
    }
    return top;
}

float month_graph_bottom(float yMin, float top)
{
    if (!(yMin < 0.0f))
        return 0.0f;
    int unit = 10 * static_cast<int>(top / 100.0f);
    // Tops under 100 give no unit at all; a tenth of a hundred keeps the
    // bottom a whole step below the data.
    if (unit == 0)
        unit = 10;
    unit = std::abs(unit);
    const int below = static_cast<int>(std::fabs(yMin));
    return static_cast<float>(-(below / unit + 1) * unit);
}

// ---- CGraphDialog -------------------------------------------------------------

CGraphDialog::CGraphDialog(int templateId, CWnd* parent) : CSimDialog(templateId, current_dialog_registry(), parent)
{
}

void CGraphDialog::AddSeries(const float* x, const float* y, int count, BOOL noLine, COLORREF colour, int lineWidth,
                             int marker)
{
    if (m_seriesCount >= MAX_SERIES) {
        uikit_debug_log("graph dialog: series %d refused", m_seriesCount + 1);
        return;
    }
    GraphSeries& s = m_series[m_seriesCount];
    s = GraphSeries{};
    s.x = x;
    s.y = y;
    s.count = static_cast<int16_t>(std::max(count, 0));
    s.colour = colour;
    s.lineWidth = static_cast<int16_t>(lineWidth);
    s.noLine = noLine;
    s.marker = marker;
    if (s.count > 0 && x != nullptr && y != nullptr) {
        s.xMin = *std::min_element(x, x + s.count);
        s.xMax = *std::max_element(x, x + s.count);
        s.yMin = *std::min_element(y, y + s.count);
        s.yMax = *std::max_element(y, y + s.count);
    }
    ++m_seriesCount;
}

void CGraphDialog::AddLegend(const char* text, COLORREF colour)
{
    if (m_legendCount >= MAX_LEGEND) {
        uikit_debug_log("graph dialog: legend entry %d refused", m_legendCount + 1);
        return;
    }
    GraphLegend& l = m_legend[m_legendCount++];
    std::strncpy(l.text, lang_translate(text != nullptr ? text : ""), sizeof l.text - 1);
    l.text[sizeof l.text - 1] = '\0';
    l.colour = colour;
}

void CGraphDialog::ExpandRanges(float xFraction, float yFraction)
{
    if (xFraction != 0.0f) {
        const float span = m_xMax - m_xMin;
        m_xMin -= xFraction * span;
        m_xMax += xFraction * span;
    }
    if (yFraction != 0.0f) {
        const float span = m_yMax - m_yMin;
        m_yMin -= yFraction * span;
        m_yMax += yFraction * span;
    }
}

POINT CGraphDialog::ToScreen(float x, float y) const
{
    const double sx = m_xMax - m_xMin != 0.0f ? (m_plot.right - m_plot.left + 1) / double(m_xMax - m_xMin) : 1000000.0;
    const double sy = m_yMax - m_yMin != 0.0f ? (m_plot.top - m_plot.bottom + 1) / double(m_yMax - m_yMin) : 1000000.0;
    const double px = sx * x + (m_plot.left - m_xMin * sx);
    const double py = sy * y + (m_plot.bottom - m_yMin * sy);
    auto to16 = [](double v) {
        const double c = std::clamp(v, -2147483648.0, 2147483647.0);
        return static_cast<LONG>(static_cast<int16_t>(static_cast<int32_t>(c)));
    };
    return POINT{to16(px), to16(py)};
}

BOOL CGraphDialog::IsInPlotArea(POINT pt) const
{
    return pt.x >= m_plot.left && pt.x <= m_plot.right && pt.y >= m_plot.top && pt.y <= m_plot.bottom;
}

void CGraphDialog::span_series()
{
    for (int i = 0; i < m_seriesCount; ++i) {
        const GraphSeries& s = m_series[i];
        if (i == 0) {
            m_xMin = s.xMin;
            m_xMax = s.xMax;
            m_yMin = s.yMin;
            m_yMax = s.yMax;
            continue;
        }
        m_xMin = std::min(m_xMin, s.xMin);
        m_xMax = std::max(m_xMax, s.xMax);
        m_yMin = std::min(m_yMin, s.yMin);
        m_yMax = std::max(m_yMax, s.yMax);
    }
}

void CGraphDialog::ComputeRanges()
{
    span_series();
    m_xMax = graph_raise_to_ten(m_xMin, m_xMax);
    m_yMax = graph_raise_to_ten(m_yMin, m_yMax);
}

int CGraphDialog::OnCreate(CREATESTRUCT* cs)
{
    if (CSimDialog::OnCreate(cs) == -1)
        return -1;
    RECT rc{};
    GetClientRect(&rc);
    m_plot = RECT{70, 35, rc.right - 110, rc.bottom - 30};
    SetWindowText(m_title.c_str());
    return 0;
}

void CGraphDialog::OnPaint()
{
    CPaintDC dc(this);
    gfx_select_window(m_hWnd);
    GraphicsView* view = gfx_view();
    if (view == nullptr)
        return;
    const HDC held = view->dc;
    view->dc = dc;
    fit_layout();
    ComputeRanges();
    DrawBackground();
    DrawYAxis();
    DrawGrid();
    DrawXAxis();
    DrawExtra();
    DrawAllSeries();
    DrawLegend();
    if (view->font_selected) {
        SelectObject(dc, view->previous_font);
        view->font_selected = false;
    }
    view->dc = held;
}

namespace {

struct ChildScan {
    HWND dialog;
    std::vector<RECT> rects;
};

BOOL collect_child(HWND child, LPARAM data)
{
    auto& scan = *reinterpret_cast<ChildScan*>(data);
    if (GetParent(child) != scan.dialog || (GetWindowLong(child, GWL_STYLE) & WS_VISIBLE) == 0)
        return TRUE;
    RECT r{};
    GetWindowRect(child, &r);
    POINT tl{r.left, r.top}, br{r.right, r.bottom};
    ScreenToClient(scan.dialog, &tl);
    ScreenToClient(scan.dialog, &br);
    scan.rects.push_back(RECT{tl.x, tl.y, br.x, br.y});
    return TRUE;
}

SIZE text_size(HDC dc, const char* text)
{
    SIZE s{};
    GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &s);
    return s;
}

} // namespace

// The plot gives way to what stands around it: the axis labels end above the
// buttons along the bottom, the legend column holds its longest entry, and the
// y caption sits whole between the controls above and the plot's top.
void CGraphDialog::fit_layout()
{
    const HDC dc = gfx_view()->dc;
    RECT client{};
    GetClientRect(&client);
    ChildScan scan{m_hWnd, {}};
    EnumChildWindows(m_hWnd, collect_child, reinterpret_cast<LPARAM>(&scan));

    gfx_select_font(1);
    const int labelHeight = text_size(dc, "0").cy;
    int legendWidth = 0;
    for (int i = 0; i < m_legendCount; ++i)
        legendWidth = std::max(legendWidth, 15 + static_cast<int>(text_size(dc, m_legend[i].text).cx));
    gfx_select_font(0);
    const char* caption = lang_translate(m_yCaption.c_str());
    const SIZE captionSize = m_yCaption.empty() ? SIZE{0, 0} : text_size(dc, caption);

    // Controls below the plot's top (the buttons) lift its bottom; the x
    // labels hang 10 px under the axis.
    int floor = client.bottom;
    for (const RECT& r : scan.rects)
        if (r.top > m_plot.top && r.left < client.right && r.right > m_plot.left)
            floor = std::min(floor, static_cast<int>(r.top));
    m_plot.bottom = std::min(m_plot.bottom, static_cast<LONG>(floor - 12 - labelHeight));

    if (m_legendCount > 0)
        m_plot.right = std::min(m_plot.right, static_cast<LONG>(client.right - 16 - legendWidth));
    m_legendBox = RECT{m_plot.right + 10, m_plot.top, client.right, m_plot.bottom};

    // The caption keeps to the left of the plot's top corner, right-aligned on
    // the axis; a control above whose columns it would share pushes the plot
    // down.
    const int width = std::max(50, static_cast<int>(captionSize.cx) + 2);
    const int left = std::max(2, static_cast<int>(m_plot.left) - width);
    int ceiling = 2;
    for (const RECT& r : scan.rects)
        if (r.bottom <= m_plot.top && r.left < left + width && r.right > left)
            ceiling = std::max(ceiling, static_cast<int>(r.bottom) + 2);
    const int gap = 6;
    if (m_plot.top - gap - captionSize.cy < ceiling)
        m_plot.top = ceiling + gap + captionSize.cy;
    m_captionBox = RECT{left, m_plot.top - gap - captionSize.cy, left + width, m_plot.top - gap};
}

BOOL CGraphDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == HELP_BUTTON_ID) {
        if (m_helpTopic != 0)
            WinHelp(m_hWnd, "vorn.hlp", HELP_CONTEXT, static_cast<uintptr_t>(m_helpTopic));
        return TRUE;
    }
    return CSimDialog::OnCommand(wParam, lParam);
}

void CGraphDialog::DrawBackground()
{
    gfx_set_fill(1, m_background);
    const HBRUSH brush = CreateSolidBrush(m_background);
    const RECT rc{m_plot.left + 1, m_plot.top + 1, m_plot.right - 1, m_plot.bottom - 1};
    FillRect(gfx_view()->dc, &rc, brush);
    DeleteObject(brush);
}

void CGraphDialog::DrawYAxis()
{
    gfx_select_font(1);
    gfx_set_line_color(0x000000);
    m_yTickCount = 0;
    const float step = (m_yMax - m_yMin) / 20.0f;
    for (int i = 0; i <= 20; ++i) {
        const float y = m_yMin + step * static_cast<float>(i);
        if (y > m_yMax + std::fabs(step) * 1e-3f)
            break;
        const int py = ToScreen(0.0f, y).y;
        if (i % 2 == 0) {
            gfx_line(m_plot.left - 7, py, m_plot.left, py);
            gfx_line(m_plot.left - 7, py - 1, m_plot.left, py - 1);
            char label[32];
            std::snprintf(label, sizeof label, "%0.1f", static_cast<double>(y));
            gfx_draw_text(label, m_plot.left - 60, py - 7, 0x000000, 0xC0C0C0, 50);
            if (i != 0 && i != 20 && m_yTickCount < MAX_Y_TICKS)
                m_yTicks[m_yTickCount++] = py;
        } else {
            gfx_line(m_plot.left - 3, py, m_plot.left, py);
            gfx_line(m_plot.left - 3, py - 1, m_plot.left, py - 1);
        }
        if (step == 0.0f)
            break;
    }
    if (!m_yCaption.empty()) {
        gfx_select_font(0);
        gfx_draw_text(lang_translate(m_yCaption.c_str()), m_captionBox.left, m_captionBox.top, 0x000000, 0xC0C0C0,
                      m_captionBox.right - m_captionBox.left);
    }
}

void CGraphDialog::DrawGrid()
{
    gfx_set_line_color(0xC0C0C0);
    for (int i = 0; i < m_yTickCount; ++i)
        gfx_line(m_plot.left + 1, m_yTicks[i], m_plot.right - 1, m_yTicks[i]);
    gfx_set_line_color(0x000000);
    gfx_line(m_plot.left, m_plot.top, m_plot.right, m_plot.top);
    gfx_line(m_plot.right, m_plot.top, m_plot.right, m_plot.bottom);
    gfx_line(m_plot.right, m_plot.bottom, m_plot.left, m_plot.bottom);
    gfx_line(m_plot.left, m_plot.bottom, m_plot.left, m_plot.top);
}

void CGraphDialog::DrawXAxis()
{
    gfx_select_font(1);
    gfx_set_line_color(0x000000);
    const float step = (m_xMax - m_xMin) / 20.0f;
    for (int i = 0; i <= 20; ++i) {
        const float x = m_xMin + step * static_cast<float>(i);
        if (x > m_xMax + std::fabs(step) * 1e-3f)
            break;
        const int px = ToScreen(x, 0.0f).x;
        const int length = i % 2 == 0 ? 7 : 3;
        gfx_line(px, m_plot.bottom, px, m_plot.bottom + length);
        gfx_line(px - 1, m_plot.bottom, px - 1, m_plot.bottom + length);
        if (i % 2 == 0) {
            char label[32];
            std::snprintf(label, sizeof label, "%0.0f", static_cast<double>(x));
            gfx_draw_text(label, px - 4, m_plot.bottom + 10, 0x000000, 0xC0C0C0, 0);
        }
        if (step == 0.0f)
            break;
    }
}

void CGraphDialog::DrawSeries(const GraphSeries& s)
{
    if (s.count <= 0 || s.x == nullptr || s.y == nullptr)
        return;
    gfx_set_line_color(s.colour);
    gfx_set_fill(1, s.colour);
    int start = s.count - 1;
    for (int i = 0; i < s.count; ++i)
        if (IsInPlotArea(ToScreen(s.x[i], s.y[i]))) {
            start = i;
            break;
        }
    const POINT first = ToScreen(s.x[start], s.y[start]);
    gfx_move_to(first.x, first.y);
    const HDC dc = gfx_view()->dc;
    for (int i = start; i < s.count; ++i) {
        const POINT p = ToScreen(s.x[i], s.y[i]);
        if (!s.noLine)
            gfx_line_to_width(p.x, p.y, s.lineWidth);
        switch (s.marker) {
        case 2:
            draw_line(dc, p.x - 2, p.y, p.x + 2, p.y, s.colour, 1);
            draw_line(dc, p.x, p.y - 2, p.x, p.y + 2, s.colour, 1);
            break;
        case 3: fill_rect(dc, p.x - 2, p.y - 2, 5, 5, s.colour, s.colour); break;
        case 4: gfx_circle(p.x, p.y, 4); break;
        default: break;
        }
        gfx_move_to(p.x, p.y);
    }
}

void CGraphDialog::DrawAllSeries()
{
    for (int i = 0; i < m_seriesCount; ++i)
        DrawSeries(m_series[i]);
}

void CGraphDialog::DrawLegend()
{
    const int x = m_plot.right + 10;
    const HDC dc = gfx_view()->dc;
    gfx_select_font(1);
    for (int i = 0; i < m_legendCount; ++i) {
        const int y = m_plot.top + 10 + 20 * i;
        fill_rect(dc, x, y, 12, 12, m_legend[i].colour, 0x000000);
        gfx_draw_text(m_legend[i].text, x + 15, y, 0x000000, 0xC0C0C0, 0);
    }
}

// ---- CMonthGraphDialog -------------------------------------------------------------

CMonthGraphDialog::CMonthGraphDialog(int templateId, CWnd* parent) : CGraphDialog(templateId, parent)
{
    for (int i = 0; i < 12; ++i) {
        m_positions[i] = static_cast<float>(i);
        m_months[i] = i + 1;
    }
}

void CMonthGraphDialog::AddMonthSeries(const float* y, BOOL noLine, COLORREF colour, int lineWidth, int marker)
{
    AddSeries(m_positions, y, 12, noLine, colour, lineWidth, marker);
}

void CMonthGraphDialog::SetMonths(const int32_t months[12])
{
    std::copy(months, months + 12, m_months);
}

void CMonthGraphDialog::ComputeRanges()
{
    span_series();
    ExpandRanges(0.05f, 0.0f);
    m_yMax = month_graph_top(m_yMax);
    m_yMin = month_graph_bottom(m_yMin, m_yMax);
}

void CMonthGraphDialog::DrawXAxis()
{
    static const char* const names[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    gfx_set_line_color(0x000000);
    gfx_select_font(1);
    for (int i = 0; i < 12; ++i) {
        const int px = ToScreen(m_positions[i], 0.0f).x;
        gfx_line(px, m_plot.bottom, px, m_plot.bottom + 6);
        gfx_line(px + 1, m_plot.bottom, px + 1, m_plot.bottom + 6);
        const int m = m_months[i];
        const char* name = m >= 1 && m <= 12 ? lang_translate(names[m - 1]) : "";
        gfx_draw_text(name, px - 10, m_plot.bottom + 8, 0x000000, 0xC0C0C0, 0);
    }
}
