// Exports: life cycle, sets, style, layout settings, view, axes, ticks,
// grid, titles, scroller settings, queries, errors and tracer settings.
#include "api_p.h"
#include "dvec.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

using namespace plat;
using namespace qxi;

namespace qxi {

void redraw_all(GraphRecord& g, int redraw)
{
    if (redraw)
        invalidate(g, nullptr, false);
}

void redraw_if_visible(GraphRecord& g, int redraw)
{
    if (redraw && window_visible(g))
        invalidate(g, nullptr, false);
}

void redraw_area(GraphRecord& g, int redraw)
{
    if (redraw)
        redraw_graph(g, 2, 0);
}

void layout_setting(GraphRecord& g, int redraw)
{
    if (g.auto_location)
        relayout(g);
    else {
        rescale(g);
        compute_title_rects(g, gdi_measure());
    }
    redraw_all(g, redraw);
}

void copy_cut(char* dest, size_t size, const char* text)
{
    std::snprintf(dest, size, "%s", text ? text : "");
}

} // namespace qxi

namespace {

void init_defaults(GraphRecord& g)
{
    FontSpec f = default_font();
    for (Axis& a : g.ax) {
        a.val_font = f;
        a.title_font = f;
    }
    g.main_font = f;
    g.tr_val_font = f;
}

bool is_finite(double v) { return std::isfinite(v); }

// A view limit: refused when not finite.
int set_view(QXGRAPH graph, int axis, bool is_max, double v, int redraw)
{
    QXI_GRAPH(graph);
    if (!is_finite(v))
        return 0;
    (is_max ? g.ax[axis].view_max : g.ax[axis].view_min) = v;
    rescale(g);
    if (axis == 0)
        scroller_range(g, SCROLL_VIEW);
    compute_title_rects(g, gdi_measure());
    redraw_all(g, redraw);
    return 0;
}

template <typename F>
int with_set(QXGRAPH graph, int id, int redraw, F f)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, id);
    if (!s)
        return 0;
    f(g, *s);
    redraw_area(g, redraw);
    return 0;
}

template <typename F>
int axis_setting(QXGRAPH graph, int redraw, bool layout, F f)
{
    QXI_GRAPH(graph);
    f(g);
    if (layout)
        layout_setting(g, redraw);
    else {
        rescale(g);
        redraw_all(g, redraw);
    }
    return 0;
}

int set_font(QXGRAPH graph, FontSpec GraphRecord::*member, int axis, bool title, HFONT font, int redraw)
{
    QXI_GRAPH(graph);
    FontSpec f = font ? font_from_handle(font) : default_font();
    if (member)
        g.*member = f;
    else if (title)
        g.ax[axis].title_font = f;
    else
        g.ax[axis].val_font = f;
    layout_setting(g, redraw);
    return 0;
}

void fill_info(const SetRecord& s, GraphSetInfo* out)
{
    std::memset(out, 0, sizeof *out);
    out->id = s.id;
    copy_cut(out->name, sizeof out->name, s.name);
    copy_cut(out->text, sizeof out->text, s.text);
    copy_cut(out->connection_text, sizeof out->connection_text, s.connection_text);
    copy_cut(out->source_text, sizeof out->source_text, s.source_text);
    out->point_count = s.count;
    out->colour = int32_t(s.colour);
    out->point_style = s.point_style;
    out->point_size = s.point_size;
    out->line_style = s.line_style;
    out->line_width = s.line_width;
}

// A DataVector from a caller: a live vector of type 0-2, or none.
bool caller_vector_ok(HGLOBAL v) { return v == 0 || vec_valid(v); }

} // namespace

extern "C" {

// ---- life cycle -----------------------------------------------------------------

QXGRAPH QXICreateGraph(HINSTANCE instance, HWND window)
{
    if (!IsWindow(window) || graph_of_window(window))
        return 0;
    register_library_module();
    std::unique_ptr<GraphRecord> owned(new (std::nothrow) GraphRecord);
    if (!owned)
        return 0;
    GraphRecord* gp = owned.get();
    QXGRAPH handle = graph_register(std::move(owned));
    if (!handle)
        return 0;
    GraphRecord& g = *gp;
    g.instance = instance;
    g.window = window;
    SetClassLongPtr(window, GCLP_HBRBACKGROUND, LONG_PTR(GetStockObject(NULL_BRUSH)));
    SetClassLongPtr(window, GCLP_HCURSOR, 0);
    init_defaults(g);
    glyph_load(g);
    g.prev_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(window, GWLP_WNDPROC, LONG_PTR(&QXIDefWndProc)));
    scroller_create(g);
    relayout(g);
    scroller_range(g, SCROLL_DATA);
    scroller_show(g);
    connect_remember_instance(instance);
    return handle;
}

int QXIDestroyGraph(QXGRAPH graph)
{
    QXI_GRAPH(graph);
    scroller_destroy(g);
    g.tracer.reset();
    for (auto& s : g.sets) {
        free_set_data(*s);
        if (s->connection)
            disconnect_set(*s);
    }
    g.sets.clear();
    g.refs.clear();
    g.labels.clear();
    g.bookmarks.clear();
    g.glyph.clear();
    if (IsWindow(g.window) && g.prev_proc)
        SetWindowLongPtr(g.window, GWLP_WNDPROC, LONG_PTR(g.prev_proc));
    graph_release(graph);
    return 0;
}

// ---- sets and points ----------------------------------------------------------------

int QXIAddGraphSet(QXGRAPH graph, int set_id, HGLOBAL x_vector, HGLOBAL y_vector, int redraw)
{
    QXI_GRAPH(graph);
    if (!caller_vector_ok(x_vector) || !caller_vector_ok(y_vector) || (x_vector && x_vector == y_vector))
        return report_error(g, code_of(16));
    if (find_set(g, set_id)) {
        delete_set(g, set_id);
        redraw_if_visible(g, redraw);
    }
    int32_t r = add_set(g, set_id, x_vector, y_vector);
    if (r)
        return report_error(g, r);
    redraw_if_visible(g, redraw);
    return 0;
}

int QXISetGraphSet(QXGRAPH graph, int set_id, HGLOBAL x_vector, HGLOBAL y_vector, int redraw)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return 0;
    if (!caller_vector_ok(x_vector) || !caller_vector_ok(y_vector) || (x_vector && x_vector == y_vector))
        return report_error(g, code_of(16));
    // Taking back a vector the set already owns must not free it.
    if (s->x && s->x != x_vector && s->x != y_vector)
        vec_free(s->x);
    if (s->y && s->y != x_vector && s->y != y_vector)
        vec_free(s->y);
    s->x = x_vector;
    s->y = y_vector;
    int nx = x_vector ? vec_count(x_vector) : -1, ny = y_vector ? vec_count(y_vector) : -1;
    s->count = nx < 0 ? std::max(ny, 0) : ny < 0 ? nx : std::min(nx, ny);
    refresh_extents(g);
    if (redraw && window_visible(g))
        redraw_graph(g, 2, 0);
    return 0;
}

int QXIDeleteGraphSet(QXGRAPH graph, int set_id, int redraw)
{
    QXI_GRAPH(graph);
    if (!find_set(g, set_id))
        return 0;
    delete_set(g, set_id);
    refresh_extents(g);
    if (redraw && window_visible(g))
        redraw_graph(g, 2, 0);
    return 0;
}

int QXIClearGraphSet(QXGRAPH graph, int set_id, int redraw)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return 0;
    free_set_data(*s);
    refresh_extents(g);
    if (redraw && window_visible(g))
        redraw_graph(g, 2, 0);
    return 0;
}

int QXIAddEmptyGraphSet(QXGRAPH graph, int set_id)
{
    QXI_GRAPH(graph);
    if (find_set(g, set_id))
        return 0;
    int32_t r = add_set(g, set_id, 0, 0);
    return r ? report_error(g, r) : 0;
}

int QXISetPoint(QXGRAPH graph, int set_id, int index, const double* x, const double* y)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, set_id);
    if (s)
        set_point(g, *s, index, x, y);
    return 0;
}

int QXIAddPoint(QXGRAPH graph, int set_id, const double* x, const double* y)
{
    QXI_GRAPH(graph);
    if (!x || !y)
        return report_error(g, code_of(16));
    SetRecord* s = find_set(g, set_id);
    if (!s)
        return 0;
    int32_t r = grow_set(g, *s, int64_t(s->count) + 1);
    if (r)
        return report_error(g, r);
    set_point(g, *s, s->count - 1, x, y);
    refresh_extents(g);
    if (g.sc_show_added && *x > g.ax[0].view_max && !g.pause_running) {
        int d = px_x(g, *x) - g.cur_off - g.area.right;
        scroll_by(g, d);
    }
    scroller_range(g, SCROLL_DATA);
    return 0;
}

int QXISetDefaultX(QXGRAPH graph, int on)
{
    QXI_GRAPH(graph);
    g.default_x = on;
    return 0;
}

int QXISetAssumeX(QXGRAPH graph, int mode)
{
    QXI_GRAPH(graph);
    g.assume_x = mode;
    return 0;
}

// ---- colours, borders, location -----------------------------------------------------

int QXISetItemColor(QXGRAPH graph, int item, COLORREF colour, int redraw)
{
    QXI_GRAPH(graph);
    COLORREF* target = nullptr;
    switch (item) {
    case 0: target = &g.window_bg; break;
    case 1: target = &g.frame_colour; break;
    case 2: target = &g.area_bg; break;
    case 3: target = &g.border_colour; break;
    case 4: target = &g.main_colour; break;
    case 5: target = &g.ax[0].title_colour; break;
    case 6: target = &g.ax[1].title_colour; break;
    case 7: target = &g.ax[0].grid_colour; break;
    case 8: target = &g.ax[1].grid_colour; break;
    case 9: target = &g.ax[0].colour; break;
    case 10: target = &g.ax[1].colour; break;
    case 11: target = &g.ax[0].tick_colour; break;
    case 12: target = &g.ax[1].tick_colour; break;
    case 13: target = &g.ax[0].val_colour; break;
    case 14: target = &g.ax[1].val_colour; break;
    default: return 0;
    }
    *target = colour;
    redraw_all(g, redraw);
    return 0;
}

int QXISetFrameBorderStyle(QXGRAPH graph, int style, int redraw)
{
    QXI_GRAPH(graph);
    g.frame_style = style;
    redraw_all(g, redraw);
    return 0;
}

int QXISetFrameBorderWidth(QXGRAPH graph, int width, int redraw)
{
    QXI_GRAPH(graph);
    g.frame_width = std::clamp(width, 0, 1000);
    scroller_place(g);
    compute_title_rects(g, gdi_measure());
    redraw_all(g, redraw);
    return 0;
}

int QXISetGraphBorderStyle(QXGRAPH graph, int style, int redraw)
{
    QXI_GRAPH(graph);
    g.border_style = style;
    layout_setting(g, redraw);
    return 0;
}

int QXISetGraphBorderWidth(QXGRAPH graph, int width, int redraw)
{
    QXI_GRAPH(graph);
    g.border_width = std::clamp(width, 0, 1000);
    layout_setting(g, redraw);
    return 0;
}

int QXISetGraphDisplaySpace(QXGRAPH graph, int left, int top, int right, int bottom, int redraw)
{
    QXI_GRAPH(graph);
    if (g.auto_location)
        return 0;
    int v[4] = {left, top, right, bottom};
    for (int i = 0; i < 4; ++i)
        if (v[i] != -1)
            g.space[i] = std::clamp(v[i], -100000, 100000);
    relayout(g);
    scroller_place(g);
    scroller_range(g, SCROLL_RESIZE);
    redraw_all(g, redraw);
    return 0;
}

int QXISetAutoGraphLocation(QXGRAPH graph, int on, int redraw)
{
    QXI_GRAPH(graph);
    g.auto_location = on;
    if (on)
        g.align_to_grid = 1;
    relayout(g);
    scroller_place(g);
    scroller_range(g, SCROLL_RESIZE);
    redraw_all(g, redraw);
    return 0;
}

int QXISetAlignGraphToGrid(QXGRAPH graph, int on, int redraw)
{
    QXI_GRAPH(graph);
    g.align_to_grid = g.auto_location ? 1 : on;
    relayout(g);
    redraw_all(g, redraw);
    return 0;
}

int QXIRedrawGraph(QXGRAPH graph, int mode, int set_id)
{
    QXI_GRAPH(graph);
    redraw_graph(g, mode, set_id);
    return 0;
}

// ---- slots ------------------------------------------------------------------------

int QXISetGraphSlots(QXGRAPH graph, int count, int redraw)
{
    QXI_GRAPH(graph);
    if (count < 1 || count > MAX_SLOTS)
        return 0;
    for (int i = g.slot_count; i < count; ++i)
        g.slots[i] = SlotRecord{};
    if (count < g.slot_count)
        for (auto& s : g.sets)
            if (s->slot > count - 1)
                s->slot = count - 1;
    g.slot_count = count;
    rescale(g);
    redraw_all(g, redraw);
    return 0;
}

int QXISetGraphSlotSpace(QXGRAPH graph, int gap, int redraw)
{
    QXI_GRAPH(graph);
    g.slot_space = std::clamp(gap, 0, 100000);
    rescale(g);
    redraw_all(g, redraw);
    return 0;
}

static int slot_value(QXGRAPH graph, int slot, double v, int which, int redraw)
{
    QXI_GRAPH(graph);
    if (slot < 0 || slot >= g.slot_count || !is_finite(v))
        return 0;
    SlotRecord& s = g.slots[slot];
    (which == 0 ? s.y_min : which == 1 ? s.y_max : s.y_tick_each) = v;
    s.settings_set = 1;
    redraw_all(g, redraw);
    return 0;
}

int QXISetSlotViewYMin(QXGRAPH graph, int slot, double y_min, int redraw) { return slot_value(graph, slot, y_min, 0, redraw); }
int QXISetSlotViewYMax(QXGRAPH graph, int slot, double y_max, int redraw) { return slot_value(graph, slot, y_max, 1, redraw); }
int QXISetSlotYTickEach(QXGRAPH graph, int slot, double each, int redraw) { return slot_value(graph, slot, each, 2, redraw); }

int QXIGetSlotRect(QXGRAPH graph, int slot, RECT* out)
{
    QXI_GRAPH(graph);
    if (!out || slot < 0 || slot >= g.slot_count)
        return 0;
    compute_slot_rects(g);
    *out = g.slots[slot].rect;
    return 0;
}

// ---- set style ----------------------------------------------------------------------

int QXISetGraphSetColor(QXGRAPH graph, int set_id, COLORREF colour, int redraw)
{
    return with_set(graph, set_id, redraw, [&](GraphRecord&, SetRecord& s) { s.colour = colour; });
}

int QXISetGraphSetName(QXGRAPH graph, int set_id, const char* name, int redraw)
{
    return with_set(graph, set_id, redraw, [&](GraphRecord&, SetRecord& s) {
        std::memset(s.name, 0, sizeof s.name);
        if (name)
            std::strncpy(s.name, name, 10);
    });
}

int QXISetGraphSetOrder(QXGRAPH graph, int set_id, int position, int redraw)
{
    QXI_GRAPH(graph);
    int pos = set_position(g, set_id);
    if (pos < 0 || position < 0 || position >= int(g.sets.size()) || position == pos)
        return 0;
    auto s = std::move(g.sets[size_t(pos)]);
    g.sets.erase(g.sets.begin() + pos);
    g.sets.insert(g.sets.begin() + position, std::move(s));
    redraw_area(g, redraw);
    return 0;
}

int QXISetGraphSetSlot(QXGRAPH graph, int set_id, int slot, int redraw)
{
    return with_set(graph, set_id, redraw,
                    [&](GraphRecord& g, SetRecord& s) { s.slot = std::clamp(slot, 0, g.slot_count - 1); });
}

int QXISetGraphSetVisible(QXGRAPH graph, int set_id, int visible, int redraw)
{
    return with_set(graph, set_id, redraw, [&](GraphRecord&, SetRecord& s) { s.visible = visible; });
}

int QXISetGraphSetPointStyle(QXGRAPH graph, int set_id, int style, int redraw)
{
    return with_set(graph, set_id, redraw, [&](GraphRecord&, SetRecord& s) { s.point_style = style; });
}

int QXISetGraphSetPointSize(QXGRAPH graph, int set_id, int size, int redraw)
{
    return with_set(graph, set_id, redraw,
                    [&](GraphRecord&, SetRecord& s) { s.point_size = std::clamp(size, 0, 1000); });
}

int QXISetGraphSetLineStyle(QXGRAPH graph, int set_id, int style, int redraw)
{
    return with_set(graph, set_id, redraw, [&](GraphRecord&, SetRecord& s) { s.line_style = style; });
}

int QXISetGraphSetLineWidth(QXGRAPH graph, int set_id, int width, int redraw)
{
    return with_set(graph, set_id, redraw,
                    [&](GraphRecord&, SetRecord& s) { s.line_width = std::clamp(width, 0, 1000); });
}

// ---- coordinate system and types ------------------------------------------------------

int QXISetCoordinatesSystem(QXGRAPH graph, int system, int redraw)
{
    QXI_GRAPH(graph);
    g.coord_system = system;
    redraw_all(g, redraw);
    return 0;
}

static int set_type(QXGRAPH graph, int axis, int type, int redraw)
{
    QXI_GRAPH(graph);
    if (type < 0 || type > 2)
        return 0;
    for (auto& s : g.sets) {
        HGLOBAL v = axis == 0 ? s->x : s->y;
        if (v)
            vec_convert(v, type);
    }
    g.ax[axis].data_type = type;
    refresh_extents(g);
    redraw_all(g, redraw);
    return 0;
}

int QXISetXType(QXGRAPH graph, int type, int redraw) { return set_type(graph, 0, type, redraw); }
int QXISetYType(QXGRAPH graph, int type, int redraw) { return set_type(graph, 1, type, redraw); }

// ---- view ---------------------------------------------------------------------------

int QXISetViewXMin(QXGRAPH graph, double value, int redraw) { return set_view(graph, 0, false, value, redraw); }
int QXISetViewXMax(QXGRAPH graph, double value, int redraw) { return set_view(graph, 0, true, value, redraw); }
int QXISetViewYMin(QXGRAPH graph, double value, int redraw) { return set_view(graph, 1, false, value, redraw); }
int QXISetViewYMax(QXGRAPH graph, double value, int redraw) { return set_view(graph, 1, true, value, redraw); }

// ---- axes -----------------------------------------------------------------------------

#define AXIS_INT(name, axis, field, layout)                                              \
    int name(QXGRAPH graph, int value, int redraw)                                        \
    {                                                                                     \
        return axis_setting(graph, redraw, layout, [&](GraphRecord& g) { g.ax[axis].field = value; }); \
    }

AXIS_INT(QXISetXAxisVisible, 0, visible, false)
AXIS_INT(QXISetYAxisVisible, 1, visible, false)
AXIS_INT(QXISetXAxisPos, 0, position, true)
AXIS_INT(QXISetYAxisPos, 1, position, true)
AXIS_INT(QXISetXAxisStyle, 0, style, false)
AXIS_INT(QXISetYAxisStyle, 1, style, false)

int QXISetXAxisWidth(QXGRAPH graph, int width, int redraw)
{
    return axis_setting(graph, redraw, false, [&](GraphRecord& g) { g.ax[0].width = std::clamp(width, 0, 1000); });
}

int QXISetYAxisWidth(QXGRAPH graph, int width, int redraw)
{
    return axis_setting(graph, redraw, false, [&](GraphRecord& g) { g.ax[1].width = std::clamp(width, 0, 1000); });
}

// ---- values ---------------------------------------------------------------------------

AXIS_INT(QXISetXValScale, 0, val_scale, true)
AXIS_INT(QXISetYValScale, 1, val_scale, true)

int QXISetXValType(QXGRAPH graph, int type, int redraw)
{
    QXI_GRAPH(graph);
    g.x_val_type = type;
    redraw_all(g, redraw);
    return 0;
}

int QXISetXValFirstMonth(QXGRAPH graph, int month, int redraw)
{
    QXI_GRAPH(graph);
    // Any integer names a month: normalised to 0..11.
    g.first_month = ((month % 12) + 12) % 12;
    redraw_all(g, redraw);
    return 0;
}

int QXISetXValMonths(QXGRAPH graph, const int* month_starts, int count, int redraw)
{
    QXI_GRAPH(graph);
    if (!month_starts)
        return report_error(g, code_of(16));
    count = std::clamp(count, 0, MAX_MONTHS);
    for (int i = 0; i < count; ++i)
        g.month_starts[i] = month_starts[i];
    redraw_all(g, redraw);
    return 0;
}

static int tick_pos(QXGRAPH graph, int axis, int position, int redraw)
{
    QXI_GRAPH(graph);
    g.ax[axis].tick_pos = position;
    if (g.auto_location)
        relayout(g);
    else
        compute_title_rects(g, gdi_measure());
    if (redraw)
        invalidate(g, nullptr, true);
    return 0;
}

int QXISetXTickPos(QXGRAPH graph, int position, int redraw) { return tick_pos(graph, 0, position, redraw); }
int QXISetYTickPos(QXGRAPH graph, int position, int redraw) { return tick_pos(graph, 1, position, redraw); }

static int val_pos(QXGRAPH graph, int axis, int position, int redraw)
{
    QXI_GRAPH(graph);
    g.ax[axis].val_pos = position;
    if (g.auto_location)
        relayout(g);
    else
        compute_title_rects(g, gdi_measure());
    if (redraw)
        invalidate(g, nullptr, true);
    return 0;
}

int QXISetXValPos(QXGRAPH graph, int position, int redraw) { return val_pos(graph, 0, position, redraw); }
int QXISetYValPos(QXGRAPH graph, int position, int redraw) { return val_pos(graph, 1, position, redraw); }

AXIS_INT(QXISetXValAutoFormatting, 0, auto_format, true)
AXIS_INT(QXISetYValAutoFormatting, 1, auto_format, true)

static int val_format(QXGRAPH graph, int axis, const char* format, int redraw)
{
    QXI_GRAPH(graph);
    Axis& a = g.ax[axis];
    if (a.auto_format)
        return 0;
    char cut[21] = {};
    if (format)
        std::strncpy(cut, format, 20);
    std::string f;
    for (const char* p = cut; *p; ++p)
        if (*p != ' ')
            f += *p;
    copy_cut(a.format, sizeof a.format, f.c_str());
    layout_setting(g, redraw);
    return 0;
}

int QXISetXValFormat(QXGRAPH graph, const char* format, int redraw) { return val_format(graph, 0, format, redraw); }
int QXISetYValFormat(QXGRAPH graph, const char* format, int redraw) { return val_format(graph, 1, format, redraw); }

// ---- ticks ----------------------------------------------------------------------------

AXIS_INT(QXISetXTickVisible, 0, tick_visible, true)
AXIS_INT(QXISetYTickVisible, 1, tick_visible, true)
AXIS_INT(QXISetXTickScale, 0, tick_scale, false)
AXIS_INT(QXISetYTickScale, 1, tick_scale, false)
AXIS_INT(QXISetXTickType, 0, tick_type, true)
AXIS_INT(QXISetYTickType, 1, tick_type, true)
AXIS_INT(QXISetXBigTickVisible, 0, big_visible, true)
AXIS_INT(QXISetYBigTickVisible, 1, big_visible, true)
AXIS_INT(QXISetXBigTickEveryTick, 0, big_every, false)
AXIS_INT(QXISetYBigTickEveryTick, 1, big_every, false)

static int tick_each(QXGRAPH graph, int axis, double each, int redraw)
{
    QXI_GRAPH(graph);
    if (g.ax[axis].tick_scale != 1 || !is_finite(each))
        return 0;
    g.ax[axis].tick_each = each;
    rescale(g);
    redraw_all(g, redraw);
    return 0;
}

int QXISetXTickEach(QXGRAPH graph, double each, int redraw) { return tick_each(graph, 0, each, redraw); }
int QXISetYTickEach(QXGRAPH graph, double each, int redraw) { return tick_each(graph, 1, each, redraw); }

int QXISetXTickSize(QXGRAPH graph, int size, int redraw)
{
    return axis_setting(graph, redraw, true, [&](GraphRecord& g) { g.ax[0].tick_size = std::clamp(size, 0, 10000); });
}

int QXISetYTickSize(QXGRAPH graph, int size, int redraw)
{
    return axis_setting(graph, redraw, true, [&](GraphRecord& g) { g.ax[1].tick_size = std::clamp(size, 0, 10000); });
}

int QXISetXBigTickSize(QXGRAPH graph, int size, int redraw)
{
    return axis_setting(graph, redraw, true, [&](GraphRecord& g) { g.ax[0].big_size = std::clamp(size, 0, 10000); });
}

int QXISetYBigTickSize(QXGRAPH graph, int size, int redraw)
{
    return axis_setting(graph, redraw, true, [&](GraphRecord& g) { g.ax[1].big_size = std::clamp(size, 0, 10000); });
}

// ---- value visibility and fonts ---------------------------------------------------------

AXIS_INT(QXISetXValVisible, 0, val_visible, true)
AXIS_INT(QXISetYValVisible, 1, val_visible, true)

int QXISetXValFont(QXGRAPH graph, HFONT font, int redraw) { return set_font(graph, nullptr, 0, false, font, redraw); }
int QXISetYValFont(QXGRAPH graph, HFONT font, int redraw) { return set_font(graph, nullptr, 1, false, font, redraw); }

// ---- grid lines -----------------------------------------------------------------------

AXIS_INT(QXISetXGridLineVisible, 0, grid_visible, false)
AXIS_INT(QXISetYGridLineVisible, 1, grid_visible, false)
AXIS_INT(QXISetXGridLineStyle, 0, grid_style, false)
AXIS_INT(QXISetYGridLineStyle, 1, grid_style, false)
AXIS_INT(QXISetXGridLineScale, 0, grid_scale, false)
AXIS_INT(QXISetYGridLineScale, 1, grid_scale, false)

int QXISetXGridLineWidth(QXGRAPH graph, int width, int redraw)
{
    return axis_setting(graph, redraw, false, [&](GraphRecord& g) { g.ax[0].grid_width = std::clamp(width, 0, 1000); });
}

int QXISetYGridLineWidth(QXGRAPH graph, int width, int redraw)
{
    return axis_setting(graph, redraw, false, [&](GraphRecord& g) { g.ax[1].grid_width = std::clamp(width, 0, 1000); });
}

static int grid_each(QXGRAPH graph, int axis, double each, int redraw)
{
    QXI_GRAPH(graph);
    if (g.ax[axis].grid_scale == 0 || !is_finite(each))
        return 0;
    g.ax[axis].grid_each = each;
    redraw_all(g, redraw);
    return 0;
}

int QXISetXGridLineEach(QXGRAPH graph, double each, int redraw) { return grid_each(graph, 0, each, redraw); }
int QXISetYGridLineEach(QXGRAPH graph, double each, int redraw) { return grid_each(graph, 1, each, redraw); }

// ---- extents ----------------------------------------------------------------------------

static int min_max(QXGRAPH graph, int axis, int mode, int redraw)
{
    QXI_GRAPH(graph);
    Axis& a = g.ax[axis];
    a.min_max_scale = mode;
    a.ext_min = EMPTY_MIN;
    a.ext_max = EMPTY_MAX;
    if (mode != 2)
        compute_extents(g, axis);
    rescale(g);
    scroller_range(g, SCROLL_VIEW);
    compute_title_rects(g, gdi_measure());
    redraw_all(g, redraw);
    return 0;
}

int QXISetXMinMaxScale(QXGRAPH graph, int mode, int redraw) { return min_max(graph, 0, mode, redraw); }
int QXISetYMinMaxScale(QXGRAPH graph, int mode, int redraw) { return min_max(graph, 1, mode, redraw); }

int QXIFitPointsInView(QXGRAPH graph, int redraw)
{
    QXI_GRAPH(graph);
    fit_points(g);
    redraw_all(g, redraw);
    return 0;
}

// ---- titles -----------------------------------------------------------------------------

int QXISetMainTitleVisible(QXGRAPH graph, int visible, int redraw)
{
    QXI_GRAPH(graph);
    g.main_title_visible = visible;
    if (g.auto_location)
        relayout(g);
    if (redraw)
        invalidate(g, &g.main_rect, false);
    return 0;
}

int QXISetMainTitle(QXGRAPH graph, const char* text, int redraw)
{
    QXI_GRAPH(graph);
    std::memset(g.main_title, 0, sizeof g.main_title);
    if (text)
        std::strncpy(g.main_title, text, 60);
    if (redraw)
        invalidate(g, &g.main_rect, false);
    return 0;
}

int QXISetMainTitleFont(QXGRAPH graph, HFONT font, int redraw)
{
    return set_font(graph, &GraphRecord::main_font, 0, true, font, redraw);
}

static int title_visible(QXGRAPH graph, int axis, int visible, int redraw)
{
    QXI_GRAPH(graph);
    g.ax[axis].title_visible = visible;
    layout_setting(g, redraw);
    return 0;
}

int QXISetXTitleVisible(QXGRAPH graph, int visible, int redraw) { return title_visible(graph, 0, visible, redraw); }
int QXISetYTitleVisible(QXGRAPH graph, int visible, int redraw) { return title_visible(graph, 1, visible, redraw); }

static int title_text(QXGRAPH graph, int axis, const char* text, int redraw)
{
    QXI_GRAPH(graph);
    Axis& a = g.ax[axis];
    std::memset(a.title, 0, sizeof a.title);
    if (text)
        std::strncpy(a.title, text, 40);
    redraw_all(g, redraw);
    return 0;
}

int QXISetXTitle(QXGRAPH graph, const char* text, int redraw) { return title_text(graph, 0, text, redraw); }
int QXISetYTitle(QXGRAPH graph, const char* text, int redraw) { return title_text(graph, 1, text, redraw); }

int QXISetXTitleFont(QXGRAPH graph, HFONT font, int redraw)
{
    int r = set_font(graph, nullptr, 0, true, font, redraw);
    if (GraphRecord* g = graph_from_handle(graph))
        scroller_place(*g);
    return r;
}

int QXISetYTitleFont(QXGRAPH graph, HFONT font, int redraw) { return set_font(graph, nullptr, 1, true, font, redraw); }

// ---- scroller settings ----------------------------------------------------------------------

int QXISetScrollerHeight(QXGRAPH graph, int height)
{
    QXI_GRAPH(graph);
    g.sc_height = std::clamp(height, 0, 10000);
    if (g.auto_location)
        relayout(g);
    scroller_place(g);
    return 0;
}

int QXISetScrollerVisible(QXGRAPH graph, int visible, int redraw)
{
    QXI_GRAPH(graph);
    g.sc_visible = visible;
    if (g.auto_location)
        relayout(g);
    scroller_place(g);
    scroller_range(g, SCROLL_DATA);
    scroller_show(g);
    redraw_all(g, redraw);
    return 0;
}

int QXISetScrollerAppearance(QXGRAPH graph, int appearance, int redraw)
{
    QXI_GRAPH(graph);
    g.sc_appearance = appearance;
    scroller_range(g, SCROLL_DATA);
    scroller_show(g);
    redraw_all(g, redraw);
    return 0;
}

int QXISetScrollerPos(QXGRAPH graph, int position, int redraw)
{
    QXI_GRAPH(graph);
    g.sc_position = position;
    if (g.auto_location)
        relayout(g);
    scroller_place(g);
    redraw_all(g, redraw);
    return 0;
}

int QXISetScrollerAutoChange(QXGRAPH graph, int on)
{
    QXI_GRAPH(graph);
    g.sc_auto = on;
    if (on) {
        g.sc_small = 10.0;
        g.sc_big = 40.0;
        g.sc_unit = 0;
    }
    return 0;
}

int QXISetScrollerSmallChange(QXGRAPH graph, double step)
{
    QXI_GRAPH(graph);
    if (!g.sc_auto && is_finite(step))
        g.sc_small = step;
    return 0;
}

int QXISetScrollerBigChange(QXGRAPH graph, double step)
{
    QXI_GRAPH(graph);
    if (!g.sc_auto && is_finite(step))
        g.sc_big = step;
    return 0;
}

int QXISetScrollerUnitChange(QXGRAPH graph, int unit)
{
    QXI_GRAPH(graph);
    if (!g.sc_auto)
        g.sc_unit = unit;
    return 0;
}

int QXISetScrollerDraggGraph(QXGRAPH graph, int on)
{
    QXI_GRAPH(graph);
    g.sc_drag = on;
    return 0;
}

int QXISetScrollerShowAddedPoint(QXGRAPH graph, int on)
{
    QXI_GRAPH(graph);
    g.sc_show_added = on;
    return 0;
}

int QXIScrollTo(QXGRAPH graph, int)
{
    QXI_GRAPH(graph);
    (void)g;
    return 0;
}

// ---- queries --------------------------------------------------------------------------------

int QXIGetNumGraphSets(QXGRAPH graph, int* count)
{
    QXI_GRAPH(graph);
    if (count)
        *count = int(g.sets.size());
    return 0;
}

int QXIGetGraphSetInfo(QXGRAPH graph, int index, GraphSetInfo* out)
{
    QXI_GRAPH(graph);
    if (out && index >= 0 && index < int(g.sets.size()))
        fill_info(*g.sets[size_t(index)], out);
    return 0;
}

int QXIGetGraphSetInfoByID(QXGRAPH graph, int set_id, GraphSetInfo* out)
{
    QXI_GRAPH(graph);
    SetRecord* s = find_set(g, set_id);
    if (out && s)
        fill_info(*s, out);
    return 0;
}

int QXIGetAxesInfo(QXGRAPH graph, double* out)
{
    QXI_GRAPH(graph);
    if (out) {
        out[0] = g.ax[0].tick_each;
        out[1] = g.ax[1].tick_each;
    }
    return 0;
}

int QXIGetGraphDisplayRect(QXGRAPH graph, RECT* out)
{
    QXI_GRAPH(graph);
    if (out)
        *out = g.area;
    return 0;
}

int QXIGetWindowRect(QXGRAPH graph, RECT* out)
{
    QXI_GRAPH(graph);
    if (out)
        GetClientRect(g.window, out);
    return 0;
}

int QXIIsGraphSetExist(QXGRAPH graph, int set_id)
{
    GraphRecord* g = graph_from_handle(graph);
    return g && find_set(*g, set_id) ? 1 : 0;
}

int QXIGetGraphSetID(QXGRAPH graph, const char* name, int* set_id)
{
    QXI_GRAPH(graph);
    if (!set_id)
        return 0;
    *set_id = 0;
    if (!name)
        return 0;
    for (auto& s : g.sets)
        if (strcasecmp(s->name, name) == 0) {
            *set_id = s->id;
            break;
        }
    return 0;
}

// ---- errors ---------------------------------------------------------------------------------

int QXISetRunMode(QXGRAPH graph, int mode)
{
    QXI_GRAPH(graph);
    g.run_mode = mode;
    return 0;
}

int QXIGetLastError(QXGRAPH graph)
{
    QXI_GRAPH(graph);
    return g.last_error;
}

int QXIGetLastErrorMsg(QXGRAPH graph, char* buffer)
{
    QXI_GRAPH(graph);
    if (buffer)
        copy_cut(buffer, QX_ERROR_TEXT_SIZE, g.last_error_text);
    return 0;
}

int QXIClearError(QXGRAPH graph)
{
    QXI_GRAPH(graph);
    g.last_error = 0;
    g.last_error_text[0] = 0;
    return 0;
}

// ---- tracer settings ------------------------------------------------------------------------

#define TRACER_SETTING(name, type, field)     \
    int name(QXGRAPH graph, type value)       \
    {                                         \
        QXI_GRAPH(graph);                     \
        g.field = value;                      \
        tracer_rebuild(g);                    \
        return 0;                             \
    }

TRACER_SETTING(QXISetTracerLineVisible, int, tr_line_visible)
TRACER_SETTING(QXISetTracerLineActive, int, tr_line_active)
TRACER_SETTING(QXISetTracerLineType, int, tr_line_type)
TRACER_SETTING(QXISetTracerLineColor, COLORREF, tr_line_colour)
TRACER_SETTING(QXISetTracerValVisible, int, tr_val_visible)
TRACER_SETTING(QXISetTracerValActive, int, tr_val_active)
TRACER_SETTING(QXISetTracerValType, int, tr_val_type)
TRACER_SETTING(QXISetTracerValColor, COLORREF, tr_val_colour)
TRACER_SETTING(QXISetTracerValBkColor, COLORREF, tr_val_bk)

int QXISetTracerLineWidth(QXGRAPH graph, int width)
{
    QXI_GRAPH(graph);
    g.tr_line_width = std::clamp(width, 0, 1000);
    tracer_rebuild(g);
    return 0;
}

int QXISetTracerValFont(QXGRAPH graph, HFONT font)
{
    QXI_GRAPH(graph);
    g.tr_val_font_given = font != 0;
    g.tr_val_font = font ? font_from_handle(font) : default_font();
    tracer_rebuild(g);
    return 0;
}

} // extern "C"
