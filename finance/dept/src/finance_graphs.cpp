// The summary graphs and the profit graph over the chart library.
#include "finance/finance_graphs.h"
#include "foundation/lang.h"
#include "plat/gdi.h"
#include "plat/res.h"
#include "plat/window.h"
#include "qxi32/qxi32.h"
#include <algorithm>
#include <cmath>
#include <utility>

using namespace plat;

namespace {

struct SeriesKind {
    int32_t id;
    int32_t slot;   // at start; -1 hidden
    COLORREF colour;
    const char* name;
};
// Colours as the library takes them, 0x00BBGGRR.
constexpr SeriesKind kSeries[CSummaryGraphWnd::SERIES] = {
    {101, 0, 0x008000, "Cash"},        {102, 1, 0xFF0000, "Sales"},      {103, 2, 0x0000FF, "Backlog"},
    {104, -1, 0x800080, "Throughput"}, {105, -1, 0x000000, "WIP"},       {106, -1, 0x808000, "Inventory value"},
    {107, -1, 0x00FFFF, "OE"},
};
constexpr int CASH = 0, SALES = 1, BACKLOG = 2, THROUGHPUT = 3, WIP = 4, INVENTORY = 5, OE = 6;
// The boxes of "Select graphs" in their dialog order.
constexpr int BOX_CASH = 0, BOX_SALES = 1, BOX_BACKLOG = 2, BOX_THROUGHPUT = 3, BOX_WIP = 4, BOX_OE = 5,
              BOX_INVENTORY = 6, BOX_THROUGHPUT_OE = 7;

const char* const kTitles[] = {"Title1", "Title2", "Title3"};

// What both graphs share: no main or y title, the x title in Times New Roman,
// a thin border, slots stacked 30 units apart, a fixed plot area, hidden
// axes and big ticks, the value texts beside the ticks.
void common_set_up(uint32_t g, const char* x_title, int slots, double x_tick)
{
    using Setting = int (*)(QXGRAPH, int, int);
    const std::pair<Setting, int> settings[] = {
        {QXISetMainTitleVisible, 0}, {QXISetYTitleVisible, 0},  {QXISetGraphBorderStyle, 1},
        {QXISetGraphBorderWidth, 1}, {QXISetGraphSlots, slots}, {QXISetGraphSlotSpace, 30},
        {QXISetAutoGraphLocation, 0}, {QXISetXMinMaxScale, 2},  {QXISetYMinMaxScale, 2},
        {QXISetXAxisVisible, 0},     {QXISetYAxisVisible, 0},   {QXISetXTickPos, 0},
        {QXISetYTickPos, 0},         {QXISetXTickSize, 3},      {QXISetYTickSize, 3},
        {QXISetXBigTickVisible, 0},  {QXISetYBigTickVisible, 0}, {QXISetXValPos, 0},
        {QXISetYValPos, 0},          {QXISetXValScale, 1},
    };
    for (auto [set, value] : settings)
        set(g, value, 0);
    QXISetXTitle(g, lang_translate(x_title), 0);
    HFONT font = CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman");
    QXISetXTitleFont(g, font, 0);
    DeleteObject(font);
    QXISetGraphDisplaySpace(g, 60, 30, 30, 70, 0);
    QXISetViewYMin(g, 0, 0);
    QXISetXTickEach(g, x_tick, 0);
    QXISetScrollerUnitChange(g, 1);
    QXISetScrollerSmallChange(g, 1.0);
}

void add_label(uint32_t g, const char* id, const char* text)
{
    QXIAddLabel(g, id, lang_translate(text), 0, 0, 0, 0, 0, 0, RGB(0, 0, 0), 0);
}

// "Units" at the left above the first slot, each slot's caption above it.
void place_slot_labels(uint32_t g, int slots)
{
    for (int k = 0; k < slots; ++k) {
        RECT r{};
        QXIGetSlotRect(g, k, &r);
        if (k == 0)
            QXISetLabelXY(g, "Units", 5, r.top - 20, 0);
        QXISetLabelXY(g, kTitles[k], r.left, r.top - 20, 0);
    }
}

} // namespace

double profit_round_bound(double v)
{
    return v < 0 ? -CChartWnd::RoundUp(-v, -v) : CChartWnd::RoundUp(v, v);
}

// ---- the summary graphs ---------------------------------------------------------

int CSummaryGraphWnd::OnCreate(CREATESTRUCT* cs)
{
    if (CChartWnd::OnCreate(cs) == -1)
        return -1;
    set_up();
    return 0;
}

void CSummaryGraphWnd::set_up()
{
    const uint32_t g = GetGraph();
    SetTickCount(5);
    for (int k = 0; k < SLOTS; ++k)
        SetSlotDefaults(k, 0, 1000);
    if (g != 0) {
        common_set_up(g, "Time (Work days)", SLOTS, 10);
        QXISetScrollerBigChange(g, 5.0);
        add_label(g, "Units", "Dollars");
        add_label(g, "Title1", "Cash in bank");
        add_label(g, "Title2", "Daily sales");
        add_label(g, "Title3", "Backlog");
    }
    SetViewXRange(0, 66);
    for (int k = 0; k < SLOTS; ++k)
        SetSlotYRange(k, 0, 1000);
    SetSeriesCount(SERIES);
    for (int i = 0; i < SERIES; ++i) {
        const SeriesKind& s = kSeries[i];
        AddSeries(i, s.id, s.slot, s.colour, lang_translate(s.name), 0, 0, 0, 0, 0, 1, FALSE, FALSE);
        if (s.slot < 0)
            ShowSeries(i, FALSE);
    }
    titles_ = {lang_translate("Cash in bank"), lang_translate("Daily sales"), lang_translate("Backlog")};
    place_labels();
}

void CSummaryGraphWnd::add_day(const double values[SERIES])
{
    // A point's x is its index, so the day counter runs with the points.
    for (int i = 0; i < SERIES; ++i)
        AddPoint(i, values[i]);
    ScrollToX(days_);
    ++days_;
}

void CSummaryGraphWnd::apply(const GraphChoice& c)
{
    for (int i = 0; i < SERIES; ++i) {
        SetSeriesSlot(i, -1);
        ShowSeries(i, FALSE);
    }
    // Each slot's series; a shared slot holds Throughput and OE.
    std::array<std::vector<int>, SLOTS> in_slot{};
    int next = 0;
    auto place = [&](std::initializer_list<int> series) {
        if (next >= SLOTS)
            return;
        for (int i : series) {
            SetSeriesSlot(i, next);
            ShowSeries(i, TRUE);
            in_slot[static_cast<size_t>(next)].push_back(i);
        }
        ++next;
    };
    const std::pair<int, int> singles[] = {
        {BOX_CASH, CASH}, {BOX_SALES, SALES}, {BOX_BACKLOG, BACKLOG}, {BOX_WIP, WIP}, {BOX_INVENTORY, INVENTORY}};
    for (auto [box, series] : singles)
        if (c.box[static_cast<size_t>(box)])
            place({series});
    if (c.box[BOX_THROUGHPUT_OE]) {
        place({THROUGHPUT, OE});
    } else {
        if (c.box[BOX_THROUGHPUT])
            place({THROUGHPUT});
        if (c.box[BOX_OE])
            place({OE});
    }
    const uint32_t g = GetGraph();
    for (int k = 0; k < SLOTS; ++k) {
        const std::vector<int>& members = in_slot[static_cast<size_t>(k)];
        std::string title;
        double lo = 0, hi = 0;
        for (int i : members) {
            const Series* s = GetSeries(i);
            title += (title.empty() ? "" : "+") + std::string(s->name);
            lo = std::min(lo, s->yMin);
            hi = std::max(hi, s->yMax);
        }
        titles_[static_cast<size_t>(k)] = title;
        if (g != 0)
            QXISetLabelText(g, kTitles[k], title.c_str(), 0);
        // The slot holds the larger range of what it shows (an empty series
        // takes the slot's default range).
        if (!members.empty())
            SetSlotYRange(k, lo, hi);
    }
    if (g != 0)
        Calls().Redraw(g, 1, 0);
}

GraphChoice CSummaryGraphWnd::choice() const
{
    auto slotted = [this](int i) { return GetSeries(i)->slot != -1; };
    GraphChoice c;
    c.box[BOX_CASH] = slotted(CASH);
    c.box[BOX_SALES] = slotted(SALES);
    c.box[BOX_BACKLOG] = slotted(BACKLOG);
    c.box[BOX_THROUGHPUT] = slotted(THROUGHPUT);
    c.box[BOX_WIP] = slotted(WIP);
    c.box[BOX_OE] = slotted(OE);
    c.box[BOX_INVENTORY] = slotted(INVENTORY);
    c.box[BOX_THROUGHPUT_OE] = slotted(THROUGHPUT) && GetSeries(THROUGHPUT)->slot == GetSeries(OE)->slot;
    return c;
}

void CSummaryGraphWnd::place_labels()
{
    if (GetGraph() != 0)
        place_slot_labels(GetGraph(), SLOTS);
}

// ---- the profit graph -----------------------------------------------------------

namespace {
const DlgTemplate kProfitTemplate[] = {
    {IDD_PROFIT_GRAPH, "Profit", WS_POPUP | WS_CAPTION | WS_SYSMENU, 40, 60, 420, 300, nullptr, 8, {}},
};
} // namespace

void register_finance_graph_templates(HINSTANCE module)
{
    if (FindDialogTemplate(module, IDD_PROFIT_GRAPH) == nullptr)
        RegisterDialogTemplates(module, kProfitTemplate);
}

CProfitGraphDlg::CProfitGraphDlg(CWnd* parent) : CModelessDialog(IDD_PROFIT_GRAPH, parent)
{
    if (m_hWnd == 0)
        return;
    RECT client{};
    plat::GetClientRect(m_hWnd, &client);
    if (chart_.Create(this, client, 100))
        set_up();
}

void CProfitGraphDlg::set_up()
{
    const uint32_t g = chart_.GetGraph();
    if (g == 0)
        return;
    ChartCalls& calls = CChartWnd::Calls();
    common_set_up(g, "Time (Months)", 2, 1);
    QXISetScrollerBigChange(g, 0.0);
    add_label(g, "Units", "Dollars");
    add_label(g, "Title1", "Accumulated Profit");
    add_label(g, "Title2", "DDP");
    calls.SetViewX(g, x_min_, x_max_);
    for (int k = 0; k < 2; ++k) {
        calls.SetViewY(g, k, 0, y_min_[static_cast<size_t>(k)]);
        calls.SetViewY(g, k, 1, y_max_[static_cast<size_t>(k)]);
        calls.SetYTickEach(g, k, y_max_[static_cast<size_t>(k)] / 2);
    }
    calls.AddEmptySet(g, PROFIT_SET, 0x008000, 3, 0);
    calls.SetPointSize(g, PROFIT_SET, 5);
    calls.AddEmptySet(g, DDP_SET, 0xFF0000, 2, 1);
    calls.SetPointSize(g, DDP_SET, 5);
    place_slot_labels(g, 2);
}

void CProfitGraphDlg::OnCancel()
{
    plat::ShowWindow(m_hWnd, SW_HIDE);
    if (closed)
        closed();
}

// A value past a slot's bound moves that bound to a round figure beyond it,
// the ticks at half the bound; with a loss below zero, half the larger of
// the two bounds, or the ticks would crowd a deep minimum.
void CProfitGraphDlg::fit(int slot, double v)
{
    const size_t k = static_cast<size_t>(slot);
    const uint32_t g = chart_.GetGraph();
    bool moved = false;
    if (v > 0 && v > y_max_[k]) {
        y_max_[k] = profit_round_bound(v);
        moved = true;
        if (g != 0)
            CChartWnd::Calls().SetViewY(g, slot, 1, y_max_[k]);
    }
    if (v < 0 && v < y_min_[k]) {
        y_min_[k] = profit_round_bound(v);
        moved = true;
        if (g != 0)
            CChartWnd::Calls().SetViewY(g, slot, 0, y_min_[k]);
    }
    if (moved && g != 0) {
        CChartWnd::Calls().SetYTickEach(g, slot, std::max(y_max_[k], -y_min_[k]) / 2);
        CChartWnd::Calls().Redraw(g, 1, 0);
    }
}

void CProfitGraphDlg::add_month(int32_t profit, int ddp)
{
    const double x = months_;
    const double y[2] = {static_cast<double>(profit), static_cast<double>(ddp)};
    const uint32_t g = chart_.GetGraph();
    if (x > x_max_) {
        x_min_ += 12;
        x_max_ += 12;
        if (g != 0)
            CChartWnd::Calls().SetViewX(g, x_min_, x_max_);
    }
    for (int k = 0; k < 2; ++k) {
        points_[static_cast<size_t>(k)].push_back(y[k]);
        if (g != 0)
            CChartWnd::Calls().AddPoint(g, k == 0 ? PROFIT_SET : DDP_SET, x, y[k]);
        fit(k, y[k]);
    }
    if (g != 0)
        CChartWnd::Calls().Redraw(g, 1, 0);
    ++months_;
}
