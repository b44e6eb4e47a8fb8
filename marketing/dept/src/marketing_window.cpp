// The Marketing department's window: the heading "Products", one box per
// product in its family's colour with its figures, the "View graph" check
// box and the daily-sales graph shown in place of the boxes. The panel of the
// windowed program serves it; headless none of this runs.
#include "app/panes.h"
#include "app/view.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "marketing/marketing_dept.h"
#include "box_tabs.h"
#include "uikit/uikit.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/window.h"
#include "qxi32/qxi32.h"
#include "uikit/chart_wnd.h"
#include <cstdio>
#include <string>

using namespace plat;

namespace {

constexpr int GRAPH_BOX_ID = 521;
constexpr int GRAPH_WINDOW_ID = 304;
constexpr int BOX_W = 120;
constexpr int BOX_H = 90;
constexpr int DAILY_SET = 101;
constexpr int AVERAGE_SET = 102;

// Family colours are the drawing layer's palette indices or colour references.
COLORREF colour_of(uint32_t value)
{
    return value < 16 ? index_to_color(static_cast<int>(value)) : static_cast<COLORREF>(value);
}

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    dc_fill(dc, RECT{left, top, right, bottom}, colour);
}

template <class... A>
std::string format(const char* f, A... a)
{
    char b[64];
    std::snprintf(b, sizeof b, f, a...);
    return b;
}


} // namespace

CBoxTabs::CBoxTabs(MarketingDepartment& department, int family, int product)
    : department_(department), family_(family), product_(product)
{
}

CBoxTabs::~CBoxTabs()
{
    bar_.reset();
    if (m_hWnd != 0 && plat::IsWindow(m_hWnd))
        DestroyWindow();
}

bool CBoxTabs::make(HWND parent, const RECT& rect, int id, COLORREF colour)
{
    id_ = id;
    if (!Create(nullptr, "", WS_CHILD | WS_VISIBLE, rect, CWnd::FromHandle(parent), static_cast<UINT>(id)))
        return false;
    bar_ = std::make_unique<CTabBar>(m_hWnd, RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, id, colour);
    return true;
}

BOOL CBoxTabs::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_TAB_SELECTED && static_cast<int>(lParam) == id_) {
        department_.select_box_side(family_, product_, static_cast<int>(wParam));
        result = 0;
        return TRUE;
    }
    return CWnd::OnMessage(msg, wParam, lParam, result);
}

CTabBar* MarketingDepartment::box_tabs(int f, int p) const
{
    if (f < 0 || f >= MAX_FAMILYS || p < 0 || p >= MAX_PRODUCTS)
        return nullptr;
    const CBoxTabs* t = tabs_[static_cast<size_t>(f)][static_cast<size_t>(p)].get();
    return t != nullptr ? t->bar() : nullptr;
}

void MarketingDepartment::add_export_tabs(int f, int p)
{
    if (panel_ == 0 || !engine_->product_exists(f, p) || !engine_->product(f, p).exp)
        return;
    std::unique_ptr<CBoxTabs>& tabs = tabs_[static_cast<size_t>(f)][static_cast<size_t>(p)];
    if (tabs && tabs->bar() != nullptr && tabs->bar()->GetTabCount() > 1)
        return;
    if (!tabs) {
        const RECT box = box_rect(f, p);
        const float sx = view_ != nullptr ? view_->scale_x : 1.0f;
        const RECT strip{box.left, box.top - 16, box.left + static_cast<int>(BOX_W * sx), box.top};
        const MarketProduct& pr = engine_->product(f, p);
        tabs = std::make_unique<CBoxTabs>(*this, f, p);
        if (!tabs->make(panel_, strip, pr.id, colour_of(engine_->families[static_cast<size_t>(f)].colour))) {
            tabs.reset();
            return;
        }
        tabs->bar()->AddTab(lang_translate("Home"));
    }
    tabs->bar()->AddTab(engine_->product(f, p).exp->name.c_str());
    tabs->bar()->SetCurTab(engine_->product(f, p).box_side == 1 ? 1 : 0);
    plat::ShowWindow(tabs->m_hWnd, graph_shown_ ? SW_HIDE : SW_SHOW);
}

void MarketingDepartment::rebuild_export_tabs()
{
    for (auto& row : tabs_)
        for (auto& t : row)
            t.reset();
    for (int f = 0; f < engine_->family_count(); ++f)
        for (int p = 0; p < engine_->product_count(f); ++p)
            if (engine_->product(f, p).export_flag != 0)
                add_export_tabs(f, p);
}

void MarketingDepartment::select_box_side(int f, int p, int side)
{
    if (!engine_->product_exists(f, p))
        return;
    engine_->product(f, p).box_side = side == 1 && engine_->product(f, p).exp ? 1 : 0;
    Repaint();
}

void MarketingDepartment::create_controls(HWND parent)
{
    panel_ = parent;
    graph_box_ = CreateWindow("BUTTON", lang_translate("View graph"), WS_CHILD | BS_AUTOCHECKBOX, 0, 5, 95, 20,
                              parent, static_cast<HMENU>(GRAPH_BOX_ID), 0, nullptr);
    if (graph_box_ != 0) {
        if (HFONT font = gfx_font(1); font != 0)
            plat::SendMessage(graph_box_, WM_SETFONT, static_cast<WPARAM>(font), 0);
        if (view_ == nullptr || view_->hide_sales_graph == 0)
            plat::ShowWindow(graph_box_, SW_SHOW);
    }
    graph_ = std::make_unique<CChartWnd>();
    if (!graph_->Create(CWnd::FromHandle(parent), RECT{0, 0, 0, 0}, GRAPH_WINDOW_ID)) {
        graph_.reset();
        return;
    }
    plat::SetWindowLong(graph_->m_hWnd, GWL_STYLE, plat::GetWindowLong(graph_->m_hWnd, GWL_STYLE) | WS_BORDER);
    plat::ShowWindow(graph_->m_hWnd, SW_HIDE);
    graph_shown_ = false;
    setup_graph();
    rebuild_export_tabs();
}

// The daily-sales graph's titles, layout and axes.
void MarketingDepartment::setup_graph()
{
    const uint32_t g = graph_ ? graph_->GetGraph() : 0;
    if (g == 0)
        return;
    graph_title_font_ = make_font(lang_font("Times New Roman"), 22, true, false, false, false, false);
    graph_axis_font_ = make_font(lang_font("Times New Roman"), 14, true, false, false, false, false);
    QXISetMainTitle(g, lang_translate("Daily sales"), 0);
    QXISetXTitle(g, lang_translate("Time (Work days)"), 0);
    QXISetYTitle(g, lang_translate("Sales (dollars)"), 0);
    if (graph_title_font_ != 0)
        QXISetMainTitleFont(g, graph_title_font_, 0);
    if (graph_axis_font_ != 0) {
        QXISetXTitleFont(g, graph_axis_font_, 0);
        QXISetYTitleFont(g, graph_axis_font_, 0);
    }
    QXISetAutoGraphLocation(g, 0, 0);
    QXISetGraphDisplaySpace(g, 100, 60, 30, 80, 0);
    QXISetXAxisVisible(g, 0, 0);
    QXISetYAxisVisible(g, 0, 0);
    QXISetXTickPos(g, 0, 0);
    QXISetYTickPos(g, 0, 0);
    QXISetXTickEach(g, 10, 0);
    QXISetYTickScale(g, 1, 0);
    QXISetXTickSize(g, 3, 0);
    QXISetYTickSize(g, 3, 0);
    QXISetXBigTickVisible(g, 0, 0);
    QXISetYBigTickVisible(g, 0, 0);
    QXISetXValPos(g, 0, 0);
    QXISetXValScale(g, 1, 0);
    QXISetYValPos(g, 0, 0);
    QXISetScrollerUnitChange(g, 1);
    QXISetScrollerSmallChange(g, 1);
    QXISetScrollerBigChange(g, 5);
}

std::vector<std::pair<int, int>> MarketingDepartment::month_ends() const
{
    std::vector<std::pair<int, int>> ends;
    const SalesGraph& g = engine_->sales_graph;
    if (view_ == nullptr || g.averages.empty())
        return ends;
    // A point a working day from the run's first: a month ends where the
    // next point's day lies in another month.
    SimDateTime day = view_->clock.start_date;
    view_->clock.SkipToWorkDay(day);
    for (size_t i = 1; i <= g.averages.size(); ++i) {
        const SimDateTime next = view_->clock.AddWorkDays(day, 1);
        if (next.month != day.month)
            ends.emplace_back(static_cast<int>(i), day.month);
        day = next;
    }
    return ends;
}

void MarketingDepartment::add_month_end(int covered, int month)
{
    const uint32_t g = graph_ ? graph_->GetGraph() : 0;
    graph_month_ends_.emplace_back(covered, month);
    if (g == 0)
        return;
    char id[24];
    std::snprintf(id, sizeof id, "ref%d", covered);
    QXIAddRef(g, id, 2, 0, 3, covered, 0, 0, 0, RGB(128, 0, 0), 0);
    std::snprintf(id, sizeof id, "label%d", covered);
    QXIAddLabel(g, id, lang_translate(month_name(month, 1)), 0, 2, covered + 0.5, 392, 0, 0, RGB(128, 0, 0), 0);
}

void MarketingDepartment::sync_graph()
{
    if (!graph_shown_ || !graph_ || graph_->m_hWnd == 0 || graph_->GetSeries(1) == nullptr)
        return;
    const SalesGraph& g = engine_->sales_graph;
    const size_t shown = graph_->GetSeries(0)->values.size();
    const size_t averaged = graph_->GetSeries(1)->values.size();
    if (shown == g.daily.size() && averaged == g.averages.size())
        return;
    for (size_t i = shown; i < g.daily.size(); ++i)
        graph_->AddPoint(0, g.daily[i]);
    for (size_t i = averaged; i < g.averages.size(); ++i)
        graph_->AddPoint(1, g.averages[i]);
    if (g.averages.size() > averaged)
        for (const auto& [covered, month] : month_ends())
            if (graph_month_ends_.empty() || covered > graph_month_ends_.back().first)
                add_month_end(covered, month);
    if (graph_->GetViewXMin() != g.x_min || graph_->GetViewXMax() != g.x_max)
        graph_->SetViewXRange(g.x_min, g.x_max);
    if (graph_->GetSlotYMax(0) != g.y_max)
        graph_->SetSlotYRange(0, 0, g.y_max);
    if (graph_->GetGraph() != 0)
        QXIRedrawGraph(graph_->GetGraph(), 1, 0);
}

void MarketingDepartment::destroy_controls()
{
    for (auto& row : tabs_)
        for (auto& t : row)
            t.reset();
    panel_ = 0;
    graph_box_ = 0;
    graph_shown_ = false;
    if (graph_ && graph_->m_hWnd != 0 && plat::IsWindow(graph_->m_hWnd))
        graph_->DestroyWindow();
    graph_.reset();
    graph_month_ends_.clear();
    for (HFONT* font : {&graph_title_font_, &graph_axis_font_})
        if (*font != 0) {
            DeleteObject(*font);
            *font = 0;
        }
}

void MarketingDepartment::size(int cx, int)
{
    if (graph_box_ != 0)
        plat::MoveWindow(graph_box_, cx - 100, 5, 95, 20, TRUE);
    fit_graph();
}

// The graph covers the client area below the title band.
void MarketingDepartment::fit_graph()
{
    const HWND w = window_handle();
    if (!graph_ || graph_->m_hWnd == 0 || w == 0)
        return;
    RECT client{};
    plat::GetClientRect(w, &client);
    plat::MoveWindow(graph_->m_hWnd, -1, 29, client.right + 3, client.bottom - 27, TRUE);
}

// The graph takes the run's days from the engine's record each time it is
// shown, so it never keeps points of its own apart from the saved ones.
void MarketingDepartment::fill_graph()
{
    if (!graph_ || graph_->m_hWnd == 0)
        return;
    const SalesGraph& g = engine_->sales_graph;
    // Daily sales on the axis's own range; the averages (the thick line) below them.
    graph_->SetSeriesCount(0);
    graph_->SetSeriesCount(2);
    graph_->AddSeries(0, DAILY_SET, 0, RGB(0, 0, 255), lang_translate("Daily sales"), 0, 0, 0, 0, 0, 1,
                      FALSE, FALSE);
    graph_->AddSeries(1, AVERAGE_SET, -1, RGB(0, 128, 0), lang_translate("Monthly average"), 0, 0, 0, 0, 0,
                      3, FALSE, FALSE);
    for (int32_t v : g.daily)
        graph_->AddPoint(0, v);
    for (int32_t v : g.averages)
        graph_->AddPoint(1, v);
    graph_month_ends_.clear();
    if (graph_->GetGraph() != 0) {
        QXIRemoveAllRefs(graph_->GetGraph());
        QXIRemoveAllLabels(graph_->GetGraph());
    }
    for (const auto& [covered, month] : month_ends())
        add_month_end(covered, month);
    graph_->SetViewXRange(g.x_min, g.x_max);
    graph_->SetSlotYRange(0, 0, g.y_max);
}

HBRUSH MarketingDepartment::control_colour(HDC dc, HWND control)
{
    if (control != graph_box_ || graph_box_ == 0)
        return 0;
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
}

bool MarketingDepartment::command(int id, int code, HWND)
{
    if (id != GRAPH_BOX_ID || code != BN_CLICKED || graph_box_ == 0)
        return false;
    fit_graph();
    set_graph_shown(plat::SendMessage(graph_box_, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return true;
}

void MarketingDepartment::flip_sales_graph()
{
    const bool shown = !graph_shown_;
    if (graph_box_ != 0)
        plat::SendMessage(graph_box_, BM_SETCHECK, shown ? BST_CHECKED : BST_UNCHECKED, 0);
    fit_graph();
    set_graph_shown(shown);
}

void MarketingDepartment::set_graph_shown(bool shown)
{
    graph_shown_ = shown;
    if (graph_ && graph_->m_hWnd != 0) {
        if (shown)
            fill_graph();
        plat::ShowWindow(graph_->m_hWnd, shown ? SW_SHOW : SW_HIDE);
    }
    for (auto& row : tabs_)
        for (auto& t : row)
            if (t && t->m_hWnd != 0)
                plat::ShowWindow(t->m_hWnd, shown ? SW_HIDE : SW_SHOW);
    Repaint();
}

RECT MarketingDepartment::box_rect(int f, int p) const
{
    const float sx = view_ != nullptr ? view_->scale_x : 1.0f;
    const float sy = view_ != nullptr ? view_->scale_y : 1.0f;
    const MarketProduct& pr = engine_->product(f, p);
    // The scenario places the boxes on the 640 x 480 design grid.
    const int x = static_cast<int>(pr.box_x * sx), y = static_cast<int>(pr.box_y * sy);
    return RECT{x, y, x + static_cast<int>(BOX_W * sx), y + static_cast<int>(BOX_H * sy)};
}

bool MarketingDepartment::product_at(int x, int y, int& family, int& product) const
{
    if (graph_shown_)
        return false;
    for (int f = 0; f < engine_->family_count(); ++f)
        for (int p = 0; p < engine_->product_count(f); ++p) {
            if (engine_->is_product_retired(f, p))
                continue;
            const RECT r = box_rect(f, p);
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
                family = f;
                product = p;
                return true;
            }
        }
    return false;
}

HCURSOR MarketingDepartment::cursor_at(int x, int y)
{
    int f = 0, p = 0;
    return product_at(x, y, f, p) && view_ != nullptr ? view_->hand_cursor : 0;
}

void MarketingDepartment::left_down(int x, int y, UINT)
{
    int f = 0, p = 0;
    if (product_at(x, y, f, p)) {
        show_product_information(f, p);
        return;
    }
    if (view_ == nullptr || view_->management_feature == 0 || y >= 30)
        return;
    HWND top = window_handle();
    while (top != 0 && plat::GetParent(top) != 0)
        top = plat::GetParent(top);
    if (top != 0)
        plat::PostMessage(top, WM_COMMAND, MAKEWPARAM(ID_MANAGEMENT, 0), 0);
}

void MarketingDepartment::paint(HDC dc, float, float)
{
    if (graph_shown_)
        return;
    SetBkMode(dc, TRANSPARENT);
    {
        ScopedFont heading(dc, lang_font("Ms Sans Serif"), 14, true);
        dc_text(dc, 5, 34, lang_translate("Products"), RGB(128, 128, 128));
    }
    const float scale = view_ != nullptr ? view_->scale_x : 1.0f;
    ScopedFont code_font(dc, lang_font("Ms Sans Serif"), scale == 1.0f ? 10 : 14, false);
    for (int f = 0; f < engine_->family_count(); ++f)
        for (int p = 0; p < engine_->product_count(f); ++p)
            draw_product_box(dc, f, p);
}

void MarketingDepartment::draw_product_box(HDC dc, int f, int p) const
{
    const CMarketingWnd& m = *engine_;
    const MarketProduct& pr = m.product(f, p);
    const Family& fam = m.families[static_cast<size_t>(f)];
    const COLORREF colour = colour_of(fam.colour);
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    const RECT r = box_rect(f, p);
    const int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    const float sx = view_ != nullptr ? view_->scale_x : 1.0f;
    const float sy = view_ != nullptr ? view_->scale_y : 1.0f;
    auto X = [&](int design) { return x + static_cast<int>(design * sx); };
    auto Y = [&](int design) { return y + static_cast<int>(design * sy); };

    if (pr.retired != 0) {
        dc_line(dc, x - 4, y - 4, r.right + 4, r.bottom + 4, black);
        dc_line(dc, r.right + 4, y - 4, x - 4, r.bottom + 4, black);
        return;
    }
    fill(dc, x, y, r.right, r.bottom, colour);
    // Upper-left cell: the red-line status, unless orders drive production.
    static const COLORREF by_status[3] = {RGB(0, 192, 0), RGB(255, 255, 0), RGB(255, 0, 0)};
    if (pr.box_side == 1 && pr.exp) {
        fill(dc, x + 1, y + 1, x + w / 2, y + h / 3, by_status[pr.exp->red_status < 3 ? pr.exp->red_status : 2]);
    } else if (m.link_mode() != LINK_MAKE_TO_ORDER) {
        COLORREF status = colour;
        if (m.red_line_active != 0) {
            if (pr.red_level < 1)
                status = m.link_mode() == LINK_FORECAST ? by_status[0] : by_status[1];
            else
                status = by_status[pr.red_status < 3 ? pr.red_status : 2];
        }
        fill(dc, x + 1, y + 1, x + w / 2, y + h / 3, status);
    }
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    dc_line(dc, x, y + h / 3, r.right, y + h / 3, white);
    dc_line(dc, x, y + 2 * h / 3, r.right, y + 2 * h / 3, white);
    dc_line(dc, x + w / 2, y, x + w / 2, r.bottom, white);

    dc_text(dc, X(5), Y(3), format("%c%c", fam.letter, pr.letter), white);
    const std::string& name = m.product_names[static_cast<size_t>(f)][static_cast<size_t>(p)];
    if (!name.empty())
        dc_text(dc, X(5), y + (sx == 1.0f ? 17 : 23), name, white);

    const ExportLine* e = pr.box_side == 1 && pr.exp ? &*pr.exp : nullptr;
    {
        ScopedFont small(dc, lang_font("Ms Sans Serif"), 8, false);
        dc_text(dc, X(5), Y(BOX_H / 3 + 2), lang_translate("On Time"), white);
        dc_text(dc, X(5), Y(2 * BOX_H / 3 + 2), lang_translate("Firm Orders"), white);
        if (e == nullptr) {
            dc_text(dc, X(BOX_W / 2 + 3), Y(3), lang_translate("WIP"), white);
        } else {
            dc_text(dc, X(BOX_W / 2 + 3), Y(3), lang_translate("Trn"), white);
            dc_text(dc, X(BOX_W / 2 + 3), Y(15), lang_translate("Ord"), white);
        }
        dc_text(dc, X(BOX_W / 2 + 3), Y(BOX_H / 3 + 2), lang_translate("Reputation"), white);
        dc_text(dc, X(BOX_W / 2 + 3), Y(2 * BOX_H / 3 + 2), lang_translate("FG"), white);
    }
    const double orders = static_cast<double>(pr.annual_orders) +
                          static_cast<double>(m.fixed_demand[static_cast<size_t>(f)][static_cast<size_t>(p)]);
    // The view has no units-per-year display: the orders per year.
    dc_text(dc, X(BOX_W - 30), Y(-14), format("%4.0f", orders), colour);
    if (e != nullptr) {
        int stock = 0;
        for (const InventoryLot& l : e->lots)
            stock += l.units;
        dc_text(dc, X(BOX_W - 40), Y(BOX_H - 16), format("%3d", stock), white);
        dc_text(dc, X(BOX_W / 2 - 40), Y(BOX_H - 16), format("%4d", e->open_units), white);
        dc_text(dc, X(BOX_W / 2 - 40), Y(2 * BOX_H / 3 - 16), format("%3d%%", e->service_pct), white);
        dc_text(dc, X(BOX_W - 40), Y(2 * BOX_H / 3 - 16),
             format("%4.0f", static_cast<double>(CReputationPane::ReputationPercent(e->lateness))), white);
        dc_text(dc, X(BOX_W - 40), Y(3), format("%4d", e->in_transit), white);
        dc_text(dc, X(BOX_W - 40), Y(15), format("%4d", e->to_transfer), white);
        return;
    }

    // The gauges.
    dc_text(dc, X(BOX_W - 40), Y(BOX_H - 16), format("%3d", pr.stock), white);
    dc_text(dc, X(BOX_W / 2 - 40), Y(BOX_H - 16), format("%4d", pr.firm_orders), white);
    dc_text(dc, X(BOX_W / 2 - 40), Y(2 * BOX_H / 3 - 16), format("%3d%%", pr.service_pct), white);
    dc_text(dc, X(BOX_W - 40), Y(2 * BOX_H / 3 - 16),
         format("%4.0f", static_cast<double>(CReputationPane::ReputationPercent(pr.weighted_penalty))), white);
    // Make to order: a dot in the status cell while the product's make-to-order
    // check finds it short.
    if (m.link_mode() == LINK_MAKE_TO_ORDER && pr.mto_red != 0) {
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        const RECT dot{X(BOX_W / 2 - 14), Y(6), X(BOX_W / 2 - 6), Y(14)};
        FillRect(dc, &dot, red);
        DeleteObject(red);
    }
    // The units in open production orders.
    if (production_link_ != nullptr)
        dc_text(dc, X(BOX_W - 40), Y(BOX_H / 3 - 16),
             format("%5d", production_link_->get_on_order_units(static_cast<int16_t>(f), static_cast<int16_t>(p))),
             white);
    if (pr.phase_out != 0) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(192, 192, 192));
        dc_text(dc, x, y - 14, "X", RGB(128, 0, 0));
        SetBkMode(dc, TRANSPARENT);
    }
}
