// The graph window: painting, resizing, the scroller, the tracer, value
// texts, bookmark double-clicks and points that arrive by message.
#include "core.h"
#include "dvec.h"
#include "qxi32/qxi32.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/memory.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

using namespace plat;

namespace qxi {

namespace {
constexpr UINT_PTR PAUSE_TIMER = 1;
constexpr int SCROLL_MAX = 32767;
constexpr int SBS_HORZ_STYLE = 0;
} // namespace

bool window_visible(const GraphRecord& g) { return IsWindowVisible(g.window) != 0; }

void invalidate(GraphRecord& g, const RECT* r, bool erase) { InvalidateRect(g.window, r, erase ? TRUE : FALSE); }

void repaint_now(GraphRecord& g, const RECT* r)
{
    InvalidateRect(g.window, r, FALSE);
    UpdateWindow(g.window);
}

void redraw_graph(GraphRecord& g, int mode, int id)
{
    switch (mode) {
    case 1: invalidate(g, nullptr, false); break;
    case 2: invalidate(g, &g.area, false); break;
    case 3:
    case 4:
    case 5: {
        HDC dc = GetDC(g.window);
        if (!dc)
            return;
        for (size_t i = 0; i < g.sets.size(); ++i) {
            SetRecord& s = *g.sets[i];
            if (mode == 4)
                draw_set(g, dc, int(i), 0, -1, false);
            else if (s.id == id) {
                if (mode == 3)
                    draw_set(g, dc, int(i), 0, -1, false);
                else if (s.count >= 2)
                    draw_set(g, dc, int(i), s.count - 2, s.count - 1, false);
                break;
            }
        }
        ReleaseDC(g.window, dc);
        break;
    }
    default: break;
    }
}

// ---- scroller ------------------------------------------------------------------

void scroller_create(GraphRecord& g)
{
    InitControls();
    g.scroller = CreateWindowEx(0, "SCROLLBAR", "", WS_CHILD | SBS_HORZ_STYLE, 0, 0, 0, 0, g.window, 0,
                                library_instance(), nullptr);
    if (g.scroller)
        SendMessage(g.scroller, SBM_SETRANGE, 0, SCROLL_MAX);
}

void scroller_destroy(GraphRecord& g)
{
    if (g.scroller && IsWindow(g.scroller))
        DestroyWindow(g.scroller);
    g.scroller = 0;
}

void scroller_place(GraphRecord& g)
{
    if (!g.scroller || !g.sc_visible)
        return;
    if (g.sc_position == 1)
        MoveWindow(g.scroller, g.area.left, g.x_title_rect.bottom + 5, g.area.right - g.area.left, g.sc_height, TRUE);
    else
        MoveWindow(g.scroller, g.frame_width, g.client_h - g.frame_width - g.sc_height,
                   g.client_w - 2 * g.frame_width, g.sc_height, TRUE);
}

void scroller_show(GraphRecord& g)
{
    if (!g.scroller)
        return;
    bool was = IsWindowVisible(g.scroller) != 0 || (GetWindowLong(g.scroller, GWL_STYLE) & WS_VISIBLE);
    bool show = was;
    if (!g.sc_visible)
        show = false;
    else if (g.sc_appearance == 0) {
        show = true;
        EnableWindow(g.scroller, g.scroll_needed ? TRUE : FALSE);
    } else if (g.sc_appearance == 1)
        show = g.scroll_needed != 0;
    if (show != was) {
        ShowWindow(g.scroller, show ? SW_SHOW : SW_HIDE);
        if (window_visible(g))
            invalidate(g, &g.x_title_rect, false);
    }
}

namespace {

void set_thumb(GraphRecord& g)
{
    if (!g.scroller || g.thumb_tracking)
        return;
    double p = g.cur_off * g.pos_scale + g.pos_offset;
    SendMessage(g.scroller, SBM_SETPOS, WPARAM(std::clamp(round_px(p), 0, SCROLL_MAX)), TRUE);
}

bool data_range(const GraphRecord& g, double& lo, double& hi)
{
    const Axis& x = g.ax[0];
    if (x.min_max_scale != 2 && x.ext_min != EMPTY_MIN && x.ext_max != EMPTY_MAX) {
        lo = x.ext_min;
        hi = x.ext_max;
        return true;
    }
    return data_x_bounds(g, lo, hi);
}

} // namespace

void scroller_range(GraphRecord& g, ScrollVariant v)
{
    if (!g.sc_visible) {
        g.cur_off = g.min_off = g.max_off = 0;
        g.remainder = 0;
        g.scroll_needed = 0;
        return;
    }
    const RECT& a = g.area;
    if (a.right <= a.left)
        return;
    double lo, hi;
    int left = a.left, right = a.right - 1;
    if (data_range(g, lo, hi)) {
        left = px_x(g, lo);
        right = px_x(g, hi);
    }
    int old_min = g.min_off, old_max = g.max_off, old_off = g.cur_off;
    if (left < a.left || right > a.right - 1) {
        g.scroll_needed = 1;
        g.min_off = std::min(0, left - a.left);
        g.max_off = std::max(0, right - (a.right - 1));
        if (g.max_off == g.min_off) {
            g.pos_scale = g.pos_offset = 0;
        } else {
            g.pos_scale = double(SCROLL_MAX) / (g.max_off - g.min_off);
            g.pos_offset = -g.pos_scale * g.min_off;
        }
        if (v == SCROLL_VIEW)
            g.cur_off = px_x(g, g.ax[0].view_min) - a.left;
        else if (v == SCROLL_RESIZE && old_max != old_min)
            g.cur_off = round_px(double(g.max_off - g.min_off) * (old_off - old_min) / (old_max - old_min)) + g.min_off;
        g.cur_off = std::clamp(g.cur_off, g.min_off, g.max_off);
        set_thumb(g);
    } else {
        g.cur_off = g.min_off = g.max_off = 0;
        g.remainder = 0;
        g.scroll_needed = 0;
    }
    scroller_show(g);
}

int scroll_step(GraphRecord& g, double step)
{
    int w = g.area.right - g.area.left;
    double span = g.ax[0].view_max - g.ax[0].view_min;
    if (step < 0 || w < 3 || !(span > 0))
        return 0;
    double px = g.sc_unit == 1 ? step / (span / (w - 1)) : step * (w - 1) / 100.0;
    px += g.remainder;
    double whole = std::trunc(px);
    g.remainder = px - whole;
    return round_px(whole);
}

void scroll_by(GraphRecord& g, int d)
{
    long long target = std::clamp<long long>((long long)g.cur_off + d, g.min_off, g.max_off);
    d = int(target - g.cur_off);
    if (d == 0)
        return;
    g.cur_off += d;
    RECT r = g.area;
    r.left = std::min(r.left, g.x_strip.left);
    r.right = std::max(r.right, g.x_strip.right);
    r.top = std::min(r.top, g.x_strip.top);
    r.bottom = std::max(r.bottom, g.x_strip.bottom) + 25;
    RECT whole{0, r.top, g.client_w, r.bottom};
    repaint_now(g, &whole);
    set_thumb(g);
}

namespace {

int thumb_to_offset(const GraphRecord& g, int pos)
{
    if (g.pos_scale == 0)
        return 0;
    return std::clamp(round_px((pos - g.pos_offset) / g.pos_scale), g.min_off, g.max_off);
}

void on_hscroll(GraphRecord& g, int code, int pos)
{
    KillTimer(g.window, PAUSE_TIMER);
    g.pause_running = SetTimer(g.window, PAUSE_TIMER, 2000, nullptr) != 0;
    switch (code) {
    case SB_LINELEFT: scroll_by(g, -scroll_step(g, g.sc_small)); break;
    case SB_LINERIGHT: scroll_by(g, scroll_step(g, g.sc_small)); break;
    case SB_PAGELEFT: scroll_by(g, -scroll_step(g, g.sc_big)); break;
    case SB_PAGERIGHT: scroll_by(g, scroll_step(g, g.sc_big)); break;
    case SB_THUMBPOSITION:
        g.thumb_tracking = 0;
        scroll_by(g, thumb_to_offset(g, pos) - g.cur_off);
        break;
    case SB_THUMBTRACK:
        if (g.sc_drag) {
            g.thumb_tracking = 1;
            scroll_by(g, thumb_to_offset(g, pos) - g.cur_off);
        }
        break;
    case SB_LEFT: scroll_by(g, g.min_off - g.cur_off); break;
    case SB_RIGHT: scroll_by(g, g.max_off - g.cur_off); break;
    default: break;
    }
}

} // namespace

// ---- tracer -------------------------------------------------------------------

void tracer_rebuild(GraphRecord& g)
{
    bool had = g.tracer != nullptr;
    g.tracer.reset();
    if (!g.tr_line_visible && !g.tr_val_visible) {
        if (had)
            invalidate(g, nullptr, false);
        return;
    }
    auto t = std::make_unique<TracerState>();
    auto act = [](int a) { return a == 1 || a == 2 ? a : 0; };
    t->line_enabled = g.tr_line_visible != 0;
    t->line_active = act(g.tr_line_active);
    t->line_dirs = g.tr_line_type == 0 ? 1 : g.tr_line_type == 1 ? 2 : g.tr_line_type == 2 ? 3 : 0;
    t->line_colour = g.tr_line_colour;
    t->line_width = g.tr_line_width;
    t->box_enabled = g.tr_val_visible != 0;
    t->box_active = act(g.tr_val_active);
    t->box_texts = g.tr_val_type == 0 ? 1 : g.tr_val_type == 1 ? 2 : g.tr_val_type == 2 ? 3 : 0;
    t->box_colour = g.tr_val_colour;
    t->box_bk = g.tr_val_bk;
    t->box_font = g.tr_val_font;
    t->box_font_given = g.tr_val_font_given;
    t->track = g.area;
    g.tracer = std::move(t);
    if (had)
        invalidate(g, nullptr, false);
}

namespace {

bool inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

bool active(const TracerState& t, int activation)
{
    return (activation == 0 && t.left_held) || (activation == 1 && t.right_held) || activation == 2;
}

void text_of(GraphRecord& g, UINT msg, int coordinate, char* out)
{
    std::memset(out, 0, QX_VALUE_TEXT_SIZE);
    SendMessage(g.window, msg, WPARAM(coordinate), LPARAM(out));
    out[QX_VALUE_TEXT_SIZE - 1] = 0;
}

void box_update(GraphRecord& g, int x, int y)
{
    TracerState& t = *g.tracer;
    char xt[QX_VALUE_TEXT_SIZE], yt[QX_VALUE_TEXT_SIZE];
    std::string s;
    if (t.box_texts & 1) {
        text_of(g, MSG_GET_X_TEXT, x, xt);
        s = xt[0] ? xt : "?";
    }
    if (t.box_texts & 2) {
        // The graph may be gone after the caller's handler ran.
        text_of(g, MSG_GET_Y_TEXT, y, yt);
        if (t.box_texts & 1)
            s += " , ";
        s += yt;
    }
    std::snprintf(t.box_text, sizeof t.box_text, "%s", s.c_str());
    FontSpec f = t.box_font;
    int w = gdi_measure().text_width(f, t.box_text) + 15;
    int h = gdi_measure().text_height(f) + 2;
    int left = x + t.line_width + 2;
    int bottom = y - 2;
    t.box = RECT{left, bottom - h, left + w, bottom};
    t.box_shown = 1;
}

void tracer_mouse(GraphRecord& g, UINT msg, int x, int y)
{
    if (!g.tracer)
        return;
    TracerState& t = *g.tracer;
    t.track = g.area;
    bool in = inside(t.track, x, y);
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (in)
            t.left_held = 1;
        break;
    case WM_LBUTTONUP: t.left_held = 0; break;
    case WM_RBUTTONDOWN:
        if (in)
            t.right_held = 1;
        break;
    case WM_RBUTTONUP: t.right_held = 0; break;
    default: break;
    }
    int old_shown = t.line_shown | t.box_shown;
    t.line_shown = 0;
    t.box_shown = 0;
    if (t.box_enabled && t.box_texts && active(t, t.box_active) && in)
        box_update(g, x, y);
    if (!g.tracer)
        return;
    if (t.line_enabled && t.line_dirs && active(t, t.line_active) && in) {
        t.line_x = x;
        t.line_y = y;
        t.line_shown = 1;
    }
    bool shown = t.line_shown || t.box_shown;
    if (shown && GetCapture() != g.window)
        SetCapture(g.window);
    else if (!shown && GetCapture() == g.window)
        ReleaseCapture();
    if (msg == WM_RBUTTONUP && GetCapture() == g.window)
        ReleaseCapture();
    if (shown || old_shown)
        invalidate(g, nullptr, false);
}

// The tracer drawn over the finished picture, inside the paint pass.
void tracer_overlay(GraphRecord& g, HDC dc)
{
    if (!g.tracer)
        return;
    TracerState& t = *g.tracer;
    if (t.line_shown) {
        HBRUSH b = CreateSolidBrush(t.line_colour);
        int w = std::max(1, t.line_width);
        if (t.line_dirs & 1) {
            RECT r{t.line_x, t.track.top, t.line_x + w, t.track.bottom};
            FillRect(dc, &r, b);
        }
        if (t.line_dirs & 2) {
            RECT r{t.track.left, t.line_y, t.track.right, t.line_y + w};
            FillRect(dc, &r, b);
        }
        DeleteObject(b);
    }
    if (t.box_shown) {
        HBRUSH b = CreateSolidBrush(t.box_bk);
        FillRect(dc, &t.box, b);
        DeleteObject(b);
        HFONT f = t.box_font_given ? make_font(t.box_font) : HFONT(GetStockObject(ANSI_VAR_FONT));
        HGDIOBJ old = SelectObject(dc, f);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, t.box_colour);
        RECT r = t.box;
        DrawText(dc, t.box_text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        if (t.box_font_given)
            DeleteObject(f);
    }
}

// ---- value texts ------------------------------------------------------------------

void x_text(GraphRecord& g, int px, char* out)
{
    double x = value_of_px_x(g, double(px) + g.cur_off);
    std::string s;
    if (g.x_val_type == 1) {
        int found = -1;
        for (int i = 0; i <= 98; ++i)
            if (g.month_starts[i] <= x && x < g.month_starts[i + 1]) {
                found = i;
                break;
            }
        if (found < 0)
            s = "???";
        else {
            int day = int(std::trunc(x)) - int(std::trunc(g.month_starts[found])) + 1;
            int month = (g.first_month + found) % 12;
            s = std::to_string(nth_working_day(month + 1, day)) + " " + month_names[month];
        }
    } else {
        s = format_axis_value(x, g.ax[0].format);
    }
    std::snprintf(out, QX_VALUE_TEXT_SIZE, "%s", s.c_str());
}

void y_text(GraphRecord& g, int py, char* out)
{
    out[0] = 0;
    if (g.slot_count <= 1) {
        std::snprintf(out, QX_VALUE_TEXT_SIZE, "%s",
                      format_axis_value(value_of_px_y(g, py), g.ax[1].format).c_str());
        return;
    }
    compute_slot_rects(g);
    for (int i = 0; i < g.slot_count; ++i) {
        const RECT& r = g.slots[i].rect;
        if (py < r.top || py >= r.bottom)
            continue;
        double y_min, y_max, tick;
        slot_view(g, i, y_min, y_max, tick);
        double scale = y_max > y_min ? (r.top - r.bottom + 1) / (y_max - y_min) : 0.0;
        double offset = r.bottom - 1 - y_min * scale;
        double y = scale == 0 ? offset : (py - offset) / scale;
        std::snprintf(out, QX_VALUE_TEXT_SIZE, "%s", format_axis_value(y, g.ax[1].format).c_str());
        return;
    }
}

// ---- points by message ----------------------------------------------------------------

void add_points(GraphRecord& g, LPARAM lp)
{
    if (!lp)
        return;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(lp);
    HGLOBAL block = GlobalHandle(p);
    int32_t connection;
    uint32_t hx, hy;
    std::memcpy(&connection, p, 4);
    std::memcpy(&hx, p + 4, 4);
    std::memcpy(&hy, p + 8, 4);
    // The payload is the library's from here on, whatever happens to it.
    auto release = [&]() {
        if (hx)
            vec_free(hx);
        if (hy)
            vec_free(hy);
        if (block) {
            while (GlobalUnlock(block)) {
            }
            GlobalFree(block);
        }
    };
    SetRecord* s = nullptr;
    for (auto& set : g.sets)
        if (set->connection == connection) {
            s = set.get();
            break;
        }
    if (!s || !hy || vec_type(hy) != 2) {
        release();
        return;
    }
    int a = s->count;
    int b = vec_count(hy);
    if (b <= 0 || grow_set(g, *s, int64_t(a) + b) != 0) {
        release();
        return;
    }
    {
        VecLock from(hy), to(s->y);
        for (int i = 0; i < b && from && to; ++i)
            to.set(a + i, from.get(i));
    }
    if (g.ax[1].min_max_scale != 2)
        compute_extents(g, 1);
    if (g.ax[0].min_max_scale != 2)
        compute_extents(g, 0);
    rescale(g);
    if (a - 1 > g.ax[0].view_max && g.sc_show_added && !g.pause_running) {
        scroller_range(g, SCROLL_DATA);
        scroll_by(g, px_x(g, s->count - 1) - g.cur_off - (g.area.right - 1));
    } else {
        HDC dc = GetDC(g.window);
        if (dc) {
            draw_set(g, dc, set_position(g, s->id), std::max(0, a - 1), -1, false);
            ReleaseDC(g.window, dc);
        }
    }
    scroller_range(g, SCROLL_DATA);
    release();
}

void paint(GraphRecord& g)
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(g.window, &ps);
    if (!dc)
        return;
    RECT client{0, 0, g.client_w, g.client_h};
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bm = CreateCompatibleBitmap(dc, std::max(1, g.client_w), std::max(1, g.client_h));
    HGDIOBJ old = SelectObject(mem, bm);
    paint_layers(g, mem, client, g.layer_mask, false);
    tracer_overlay(g, mem);
    const RECT& r = ps.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bm);
    DeleteDC(mem);
    EndPaint(g.window, &ps);
}

} // namespace

// Handles a message for the graph; false when the caller's procedure must
// not see it (the paint message).
bool graph_message(GraphRecord& g, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE:
        relayout(g);
        scroller_place(g);
        scroller_range(g, SCROLL_RESIZE);
        if (g.tracer)
            tracer_rebuild(g);
        return true;
    case WM_PAINT:
        paint(g);
        return false;
    case WM_TIMER:
        if (wp == PAUSE_TIMER) {
            KillTimer(g.window, PAUSE_TIMER);
            g.pause_running = 0;
        }
        return true;
    case WM_HSCROLL:
        on_hscroll(g, LOWORD(wp), int16_t(HIWORD(wp)) < 0 ? HIWORD(wp) : HIWORD(wp));
        return true;
    case WM_MOUSEMOVE:
        SetCursor(LoadCursor(0, IDC_ARROW));
        tracer_mouse(g, msg, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        tracer_mouse(g, msg, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return true;
    case WM_LBUTTONDBLCLK: {
        int i = bookmark_hit(g, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        if (i >= 0) {
            double payload[2] = {double(g.bookmarks[size_t(i)].id), double(g.bookmarks[size_t(i)].whole_x)};
            SendMessage(g.window, MSG_BOOKMARK_DBLCLK, 1, LPARAM(payload));
        }
        return true;
    }
    case MSG_ADD_POINTS:
        add_points(g, lp);
        return true;
    case MSG_GET_X_TEXT:
        if (lp)
            x_text(g, int(intptr_t(wp)), reinterpret_cast<char*>(lp));
        return true;
    case MSG_GET_Y_TEXT:
        if (lp)
            y_text(g, int(intptr_t(wp)), reinterpret_cast<char*>(lp));
        return true;
    default: return true;
    }
}

int bookmark_hit(GraphRecord& g, int x, int y)
{
    const RECT& a = g.area;
    if (x < a.left - 10 || x >= a.right + 10 || y < a.bottom || y >= a.bottom + 20)
        return -1;
    int w, h;
    glyph_size(w, h);
    for (int i = int(g.bookmarks.size()) - 1; i >= 0; --i) {
        const BookmarkRecord& b = g.bookmarks[size_t(i)];
        int col = px_x(g, b.x) - g.cur_off;
        RECT r{col - w / 2, a.bottom, col - w / 2 + w, a.bottom + h};
        if (inside(r, x, y))
            return i;
    }
    return -1;
}

} // namespace qxi
