// The layer painter: backgrounds, titles, grid, borders, axes, references,
// sets, labels, frame and bookmarks, into any DC (window, memory, printer).
#include "core.h"
#include "dvec.h"
#include "foundation/draw.h"
#include "plat/gdi.h"
#include "plat/res.h"
#include "plat/window.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

using namespace plat;

namespace qxi {

namespace {

enum : int {
    L_BACK = 0x001, L_FRAME = 0x002, L_BORDER = 0x004, L_GRID = 0x008, L_XAXIS = 0x010, L_YAXIS = 0x020,
    L_TITLES = 0x040, L_SETS = 0x080, L_REFS = 0x100, L_LABELS = 0x200, L_BOOKMARKS = 0x400,
};

void fill(HDC dc, const RECT& r, COLORREF c)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void hline(HDC dc, int x0, int x1, int y, COLORREF c) { fill(dc, RECT{std::min(x0, x1), y, std::max(x0, x1), y + 1}, c); }
void vline(HDC dc, int x, int y0, int y1, COLORREF c) { fill(dc, RECT{x, std::min(y0, y1), x + 1, std::max(y0, y1)}, c); }

// A 3D frame of `width` rings inside r.
void bevel(HDC dc, RECT r, int width, COLORREF top_left, COLORREF bottom_right)
{
    for (int i = 0; i < width && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
        hline(dc, r.left, r.right, r.top, top_left);
        vline(dc, r.left, r.top, r.bottom, top_left);
        hline(dc, r.left, r.right, r.bottom - 1, bottom_right);
        vline(dc, r.right - 1, r.top, r.bottom, bottom_right);
        r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

class Painter {
public:
    Painter(GraphRecord& g, HDC dc, bool printer) : g_(g), dc_(dc), printer_(printer)
    {
        if (printer) {
            SIZE w{}, v{};
            GetWindowExtEx(dc, &w);
            GetViewportExtEx(dc, &v);
            if (w.cx && w.cy) {
                sx_ = double(v.cx) / w.cx;
                sy_ = double(v.cy) / w.cy;
            }
        }
    }

    void clip(const RECT& r)
    {
        IntersectClipRect(dc_, int(r.left * sx_), int(r.top * sy_), int(std::ceil(r.right * sx_)),
                          int(std::ceil(r.bottom * sy_)));
    }

    void text(const char* s, RECT r, UINT format, const FontSpec& font, COLORREF colour)
    {
        HFONT f = make_font(font);
        HGDIOBJ old = SelectObject(dc_, f);
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, colour);
        DrawText(dc_, s, -1, &r, format | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        SelectObject(dc_, old);
        DeleteObject(f);
    }

    void backgrounds(const RECT& client)
    {
        const RECT& a = g_.area;
        fill(dc_, RECT{client.left, client.top, client.right, a.top}, g_.window_bg);
        fill(dc_, RECT{client.left, a.bottom, client.right, client.bottom}, g_.window_bg);
        fill(dc_, RECT{client.left, a.top, a.left, a.bottom}, g_.window_bg);
        fill(dc_, RECT{a.right, a.top, client.right, a.bottom}, g_.window_bg);
        fill(dc_, a, g_.area_bg);
    }

    void titles()
    {
        const RECT& a = g_.area;
        int top_of_union = std::min(a.top, g_.x_strip.top);
        int bottom_of_union = std::max(a.bottom, g_.x_strip.bottom);
        UINT centred = DT_CENTER | DT_VCENTER;
        if (g_.main_title_visible && g_.main_title[0] && g_.main_rect.bottom <= top_of_union)
            text(g_.main_title, g_.main_rect, centred, g_.main_font, g_.main_colour);
        const Axis& x = g_.ax[0];
        if (x.title_visible && x.title[0] && g_.x_title_rect.top >= bottom_of_union)
            text(x.title, g_.x_title_rect, centred, x.title_font, x.title_colour);
        const Axis& y = g_.ax[1];
        if (y.title_visible && y.title[0])
            rotated_title();
    }

    // The Y title turned by 90 degrees: drawn flat in a bitmap, then copied
    // pixel by pixel onto the title rectangle.
    void rotated_title()
    {
        const Axis& y = g_.ax[1];
        const RECT& r = g_.y_title_rect;
        Measure& m = gdi_measure();
        int tw = m.text_width(y.title_font, y.title), th = m.text_height(y.title_font);
        if (tw <= 0 || th <= 0)
            return;
        HDC mem = CreateCompatibleDC(dc_);
        HBITMAP bm = CreateCompatibleBitmap(dc_, tw, th);
        HGDIOBJ oldbm = SelectObject(mem, bm);
        fill(mem, RECT{0, 0, tw, th}, g_.window_bg);
        HFONT f = make_font(y.title_font);
        HGDIOBJ oldf = SelectObject(mem, f);
        SetBkMode(mem, TRANSPARENT);
        SetTextColor(mem, y.title_colour);
        TextOut(mem, 0, 0, y.title, int(std::strlen(y.title)));
        int cx = (r.left + r.right) / 2 - th / 2;
        int cy = (r.top + r.bottom) / 2 + tw / 2;
        for (int i = 0; i < tw; ++i)
            for (int j = 0; j < th; ++j) {
                COLORREF c = GetPixel(mem, i, j);
                if (c != g_.window_bg)
                    SetPixel(dc_, cx + j, cy - i, c);
            }
        SelectObject(mem, oldf);
        DeleteObject(f);
        SelectObject(mem, oldbm);
        DeleteObject(bm);
        DeleteDC(mem);
    }

    void grid()
    {
        const RECT& a = g_.area;
        if (a.right <= a.left || a.bottom <= a.top)
            return;
        SaveDC(dc_);
        clip(a);
        const Axis& x = g_.ax[0];
        if (x.grid_visible && x.view_max > x.view_min) {
            TickRow row = x_grid(g_);
            double lo = value_of_px_x(g_, a.left + g_.cur_off), hi = value_of_px_x(g_, a.right + g_.cur_off);
            if (row_spaced(row, true)) {
                double f, l;
                visible_indexes(row, lo, hi, f, l);
                for (double i = f; i <= l; ++i) {
                    int p = px_x(g_, row.first + i * row.step) - g_.cur_off;
                    if (p >= a.left && p < a.right)
                        grid_line(true, p, x);
                }
            }
        }
        const Axis& y = g_.ax[1];
        if (y.grid_visible && y.view_max > y.view_min) {
            TickRow row = y_grid(g_);
            if (row_spaced(row, false)) {
                double f, l;
                visible_indexes(row, y.view_min, y.view_max, f, l);
                int h = a.bottom - a.top;
                for (double i = f; i <= l; ++i) {
                    int p;
                    if (y.grid_scale == 3)
                        p = a.bottom - round_px(i * y.grid_each / ((y.view_max - y.view_min) / (h - 1))) - 1;
                    else
                        p = px_y(g_, row.first + i * row.step);
                    if (p >= a.top && p < a.bottom)
                        grid_line(false, p, y);
                }
            }
        }
        RestoreDC(dc_, -1);
    }

    // Fewer than two lines, or the first two not increasing: too dense to draw.
    bool row_spaced(const TickRow& row, bool horizontal)
    {
        if (row.count < 2)
            return false;
        if (horizontal)
            return px_x(g_, row.first + row.step) > px_x(g_, row.first);
        return px_y(g_, row.first + row.step) < px_y(g_, row.first);
    }

    void grid_line(bool vertical, int p, const Axis& a)
    {
        const RECT& r = g_.area;
        COLORREF c = a.grid_colour;
        switch (a.grid_style) {
        case 0:
        case 1: {
            int every = a.grid_style == 0 ? 4 : 2;
            if (vertical) {
                for (int y = r.top; y < r.bottom; y += every)
                    SetPixel(dc_, p, y, c);
            } else {
                int phase = ((r.left + g_.cur_off - r.left) % every + every) % every;
                for (int x = r.left + (phase ? every - phase : 0); x < r.right; x += every)
                    SetPixel(dc_, x, p, c);
            }
            break;
        }
        case 2: {
            int w = std::max(1, a.grid_width);
            for (int i = 0; i < w; ++i) {
                int q = p + i - w / 2;
                if (vertical)
                    vline(dc_, q, r.top, r.bottom, c);
                else
                    hline(dc_, r.left, r.right, q, c);
            }
            break;
        }
        default:
            break;
        }
    }

    void border()
    {
        const RECT& a = g_.area;
        if (!g_.border_style || a.right <= a.left || a.bottom <= a.top)
            return;
        RECT r{a.left - 1, a.top - 1, a.right + 1, a.bottom + 1};
        int w = std::max(1, g_.border_width);
        switch (g_.border_style) {
        case 1: bevel(dc_, r, 1, g_.border_colour, g_.border_colour); break;
        case 2: bevel(dc_, outer(r, w), w, 0x808080, 0xFFFFFF); break;
        case 3: bevel(dc_, outer(r, w), w, 0xFFFFFF, 0x808080); break;
        case 4:
            bevel(dc_, outer(r, w), (w + 1) / 2, 0x808080, 0xFFFFFF);
            bevel(dc_, outer(r, w / 2), w / 2, 0x000000, 0xC0C0C0);
            break;
        default: break;
        }
    }

    static RECT outer(RECT r, int w) { return RECT{r.left - w + 1, r.top - w + 1, r.right + w - 1, r.bottom + w - 1}; }

    void x_axis()
    {
        const Axis& x = g_.ax[0];
        const RECT& a = g_.area;
        if (a.right <= a.left || a.bottom <= a.top)
            return;
        if (x.visible) {
            int row = x_axis_row(g_);
            int w = std::max(1, x.width);
            int l = a.left - ((x.style == 1 || x.style == 3) ? 2 : 0);
            int r = a.right + ((x.style == 2 || x.style == 3) ? 2 : 0);
            for (int i = 0; i < w; ++i)
                hline(dc_, l, r, row + i - w / 2, x.colour);
            int n = w + 4;
            if (x.style == 1 || x.style == 3)
                for (int i = 0; i < n; ++i)
                    vline(dc_, a.left - n - 2 + i, row - i, row + i + 1, x.colour);
            if (x.style == 2 || x.style == 3)
                for (int i = 0; i < n; ++i)
                    vline(dc_, a.right + n + 1 - i, row - i, row + i + 1, x.colour);
        }
        if (!(x.view_max > x.view_min))
            return;
        TickRow row = x_ticks(g_);
        if (x.tick_visible)
            for (int pos : {0, 1, 3})
                if (x.tick_pos == pos || (x.tick_pos == 2 && pos != 3))
                    x_tick_row(row, pos);
        if (x.val_visible)
            x_values(row);
    }

    void x_tick_row(const TickRow& row, int pos)
    {
        const Axis& x = g_.ax[0];
        const RECT& a = g_.area;
        if (!(row.count > 0))
            return;
        if (row.count >= 2 && px_x(g_, row.first + row.step) <= px_x(g_, row.first)) {
            int len = x.big_visible ? x.big_size : x.tick_size;
            int s = x_tick_start(g_, pos, len);
            fill(dc_, RECT{a.left, s, a.right, s + len}, x.tick_colour);
            return;
        }
        double f, l;
        visible_indexes(row, value_of_px_x(g_, a.left + g_.cur_off), value_of_px_x(g_, a.right + g_.cur_off), f, l);
        for (double i = f; i <= l; ++i) {
            int p = px_x(g_, row.first + i * row.step) - g_.cur_off;
            if (p < a.left || p >= a.right)
                continue;
            bool big = x.big_visible && row.big_every > 0 && std::fmod(i, row.big_every) == 0;
            int len = big ? x.big_size : x.tick_size;
            int s = x_tick_start(g_, pos, len);
            vline(dc_, p, s, s + len, x.tick_colour);
        }
    }

    // Value text rows: below the bottom row, above the top row, under the axis row.
    int x_value_top(int pos)
    {
        const Axis& x = g_.ax[0];
        int ext = tick_extent(x);
        bool ticks = x.tick_visible && (x.tick_pos == pos || (x.tick_pos == 2 && pos != 3));
        if (pos == 1) {
            int top = ticks ? x_tick_start(g_, 1, ext) : g_.area.top;
            return top - 2 - g_.x_label_h;
        }
        int base = pos == 3 ? x_axis_row(g_) : g_.area.bottom;
        int bottom = ticks ? x_tick_start(g_, pos, ext) + ext : base;
        return bottom + 2;
    }

    void x_values(const TickRow& ticks)
    {
        const Axis& x = g_.ax[0];
        const RECT& a = g_.area;
        for (int pos : {0, 1, 3}) {
            if (!(x.val_pos == pos || (x.val_pos == 2 && pos != 3)))
                continue;
            int top = x_value_top(pos);
            auto put = [&](double v, int p) {
                std::string s = format_axis_value(v, x.format);
                int w = gdi_measure().text_width(x.val_font, s.c_str());
                text(s.c_str(), RECT{p - w / 2 - 1, top, p + w / 2 + 1, top + g_.x_label_h}, DT_CENTER, x.val_font,
                     x.val_colour);
            };
            if (g_.x_val_type == 1) {
                month_values(top);
                continue;
            }
            if (x.val_scale == 0) {
                put(x.view_min, a.left);
                put(x.view_max, a.right - 1);
                continue;
            }
            TickRow row = ticks;
            if (x.val_scale == 2 && ticks.big_every > 0) {
                row.step = ticks.step * ticks.big_every;
                row.count = std::floor(ticks.count / ticks.big_every) + 1;
            } else if (x.val_scale == 3) {
                row = x_grid(g_);
            }
            if (!(row.count > 0))
                continue;
            if (row.count >= 2 && px_x(g_, row.first + row.step) <= px_x(g_, row.first)) {
                fill(dc_, RECT{a.left, top, a.right, top + g_.x_label_h}, x.val_colour);
                continue;
            }
            double f, l;
            visible_indexes(row, value_of_px_x(g_, a.left + g_.cur_off), value_of_px_x(g_, a.right + g_.cur_off), f, l);
            for (double i = f; i <= l; ++i) {
                double v = row.first + i * row.step;
                int p = px_x(g_, v) - g_.cur_off;
                if (p >= a.left && p < a.right)
                    put(v, p);
            }
        }
        int e = exponent_of(x.format);
        if (e != 0) {
            std::string note = "[ xe" + std::to_string(e) + " ]";
            int dx = g_.sc_visible ? 5 : g_.x_label_w / 2 + 5;
            int top = x_value_top(x.val_pos == 1 ? 1 : x.val_pos == 3 ? 3 : 0);
            text(note.c_str(), RECT{a.right + dx, top, a.right + dx + 200, top + g_.x_label_h}, DT_LEFT, x.val_font,
                 x.val_colour);
        }
    }

    static int exponent_of(const char* format)
    {
        const char* c = std::strchr(format, ',');
        return c ? std::atoi(c + 1) : 0;
    }

    void month_values(int top)
    {
        const Axis& x = g_.ax[0];
        const RECT& a = g_.area;
        for (int i = 0; i < MAX_MONTHS; ++i) {
            double s = g_.month_starts[i];
            if (i > 0 && s == 0)
                break;
            int p = px_x(g_, s) - g_.cur_off;
            if (p < a.left || p >= a.right)
                continue;
            const char* name = month_names[(g_.first_month + i) % 12];
            int w = gdi_measure().text_width(x.val_font, name);
            int half = std::max(10, w / 2 + 1);
            text(name, RECT{p - half, top, p + half, top + g_.x_label_h}, DT_CENTER, x.val_font, x.val_colour);
        }
    }

    void y_axis()
    {
        const Axis& y = g_.ax[1];
        const RECT& a = g_.area;
        if (a.right <= a.left || a.bottom <= a.top)
            return;
        if (y.visible) {
            int col = y_axis_col(g_) - (y.position == 2 ? g_.cur_off : 0);
            if (col >= a.left && col < a.right) {
                int w = std::max(1, y.width);
                int t = a.top - ((y.style == 2 || y.style == 3) ? 2 : 0);
                int b = a.bottom + ((y.style == 1 || y.style == 3) ? 2 : 0);
                for (int i = 0; i < w; ++i)
                    vline(dc_, col + i - w / 2, t, b, y.colour);
                int n = w + 4;
                if (y.style == 1 || y.style == 3)
                    for (int i = 0; i < n; ++i)
                        hline(dc_, col - i, col + i + 1, a.bottom + n + 1 - i, y.colour);
                if (y.style == 2 || y.style == 3)
                    for (int i = 0; i < n; ++i)
                        hline(dc_, col - i, col + i + 1, a.top - n - 2 + i, y.colour);
            }
        }
        if (!(y.view_max > y.view_min))
            return;
        TickRow row = y_ticks(g_);
        bool dense = row.count >= 2 && px_y(g_, row.first + row.step) >= px_y(g_, row.first);
        double f = 0, l = -1;
        visible_indexes(row, y.view_min, y.view_max, f, l);
        if (y.tick_visible && row.count > 0)
            for (int pos : {0, 1, 3}) {
                if (!(y.tick_pos == pos || (y.tick_pos == 2 && pos != 3)))
                    continue;
                if (dense) {
                    int len = y.big_visible ? y.big_size : y.tick_size;
                    int s = y_tick_start(g_, pos, len);
                    fill(dc_, RECT{s, a.top, s + len, a.bottom}, y.tick_colour);
                    continue;
                }
                for (double i = f; i <= l; ++i) {
                    int p = px_y(g_, row.first + i * row.step);
                    if (p < a.top || p >= a.bottom)
                        continue;
                    bool big = y.big_visible && row.big_every > 0 && std::fmod(i, row.big_every) == 0;
                    int len = big ? y.big_size : y.tick_size;
                    int s = y_tick_start(g_, pos, len);
                    hline(dc_, s, s + len, p, y.tick_colour);
                }
            }
        if (y.val_visible)
            y_values(row);
    }

    void y_values(const TickRow& ticks)
    {
        const Axis& y = g_.ax[1];
        const RECT& a = g_.area;
        int ext = tick_extent(y);
        for (int pos : {0, 1, 3}) {
            if (!(y.val_pos == pos || (y.val_pos == 2 && pos != 3)))
                continue;
            bool t = y.tick_visible && (y.tick_pos == pos || (y.tick_pos == 2 && pos != 3));
            int right;
            if (pos == 1)
                right = (t ? y_tick_start(g_, 1, ext) + ext : a.right) + 2 + g_.y_label_w;
            else {
                int base = pos == 3 ? y_axis_col(g_) : a.left;
                right = (t ? y_tick_start(g_, pos, ext) : base) - 2;
            }
            auto put = [&](double v, int p) {
                std::string s = format_axis_value(v, y.format);
                int h = g_.y_label_h;
                text(s.c_str(), RECT{right - g_.y_label_w - 40, p - h / 2, right, p - h / 2 + h}, DT_RIGHT, y.val_font,
                     y.val_colour);
            };
            if (y.val_scale == 0) {
                put(y.view_min, a.bottom - 1);
                put(y.view_max, a.top);
                continue;
            }
            TickRow row = ticks;
            if (y.val_scale == 2 && ticks.big_every > 0) {
                row.step = ticks.step * ticks.big_every;
                row.count = std::floor(ticks.count / ticks.big_every) + 1;
            } else if (y.val_scale == 3) {
                row = y_grid(g_);
            }
            if (!(row.count > 0))
                continue;
            if (row.count >= 2 && px_y(g_, row.first + row.step) >= px_y(g_, row.first)) {
                fill(dc_, RECT{right - g_.y_label_w, a.top, right, a.bottom}, y.val_colour);
                continue;
            }
            double f, l;
            visible_indexes(row, y.view_min, y.view_max, f, l);
            for (double i = f; i <= l; ++i) {
                double v = row.first + i * row.step;
                int p = px_y(g_, v);
                if (p >= a.top && p < a.bottom)
                    put(v, p);
            }
        }
    }

    void references()
    {
        const RECT& a = g_.area;
        SaveDC(dc_);
        clip(a);
        for (const RefRecord& r : g_.refs) {
            if (!r.visible || (r.kind != 1 && r.kind != 2) || r.width <= 0)
                continue;
            HPEN pen = CreatePen(r.pen == 1 ? PS_DASH : PS_SOLID, r.width, r.colour);
            HGDIOBJ old = SelectObject(dc_, pen);
            if (r.kind == 1) {
                int y = px_y(g_, r.y) - r.width / 2;
                MoveToEx(dc_, a.left, y, nullptr);
                LineTo(dc_, a.right, y);
            } else {
                int x = px_x(g_, r.x) - g_.cur_off - r.width / 2;
                int n = g_.slot_count > 1 ? g_.slot_count : 1;
                for (int i = 0; i < n; ++i) {
                    const RECT& s = n > 1 ? g_.slots[i].rect : a;
                    MoveToEx(dc_, x, s.top, nullptr);
                    LineTo(dc_, x, s.bottom);
                }
            }
            SelectObject(dc_, old);
            DeleteObject(pen);
        }
        RestoreDC(dc_, -1);
    }

    void labels()
    {
        for (const LabelRecord& l : g_.labels) {
            if (!l.visible || (l.placement != 0 && l.placement != 2))
                continue;
            int x, y = int(l.y);
            if (l.placement == 0)
                x = int(l.x);
            else
                x = px_x(g_, l.x) - g_.cur_off;
            if (l.placement == 2) {
                SaveDC(dc_);
                clip(g_.area);
            }
            text(l.text, RECT{x, y, x + 1000, y + 100}, DT_LEFT, l.font, l.colour);
            if (l.placement == 2)
                RestoreDC(dc_, -1);
        }
    }

    void frame(const RECT& client)
    {
        int w = g_.frame_width;
        if (w <= 0)
            return;
        switch (g_.frame_style) {
        case 1: bevel(dc_, client, w, g_.frame_colour, g_.frame_colour); break;
        // The foundation's 3D borders: 0 sunken, 1 raised, 2 black.
        case 2:
        case 3:
        case 4: draw_3d_border(dc_, client.left, client.top, client.right, client.bottom, w, g_.frame_style - 2); break;
        default: break;
        }
    }

    void bookmarks();

    GraphRecord& g_;
    HDC dc_;
    bool printer_;
    double sx_ = 1, sy_ = 1;
};

constexpr int GLYPH_W = 12, GLYPH_H = 20;

void Painter::bookmarks()
{
    if (g_.bookmarks.empty())
        return;
    RECT strip = bookmark_strip(g_);
    FontSpec small{};
    small.height = -((6 * 96 + 36) / 72);
    small.weight = FW_NORMAL;
    std::strcpy(small.face, "Small Fonts");
    for (const BookmarkRecord& b : g_.bookmarks) {
        if (!b.visible)
            continue;
        int col = px_x(g_, b.x) - g_.cur_off;
        if (col < g_.area.left || col >= g_.area.right)
            continue;
        int left = col - GLYPH_W / 2;
        if (g_.glyph.size() == size_t(GLYPH_W * GLYPH_H))
            for (int r = 0; r < GLYPH_H; ++r)
                for (int c = 0; c < GLYPH_W; ++c) {
                    COLORREF k = g_.glyph[size_t(r * GLYPH_W + c)];
                    if (k != GLYPH_KEY)
                        SetPixel(dc_, left + c, strip.top + r, k);
                }
        text(b.text, RECT{left, strip.top + 9, left + GLYPH_W, strip.top + GLYPH_H}, DT_CENTER, small, 0);
    }
}

} // namespace

void glyph_load(GraphRecord& g)
{
    g.glyph.clear();
    HBITMAP bm = LoadBitmap(library_instance(), GLYPH_BITMAP_ID);
    if (!bm)
        return;
    HDC mem = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(mem, bm);
    for (int r = 0; r < GLYPH_H; ++r)
        for (int c = 0; c < GLYPH_W; ++c)
            g.glyph.push_back(GetPixel(mem, c, r));
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bm);
}

void glyph_size(int& w, int& h)
{
    w = GLYPH_W;
    h = GLYPH_H;
}

RECT bookmark_strip(const GraphRecord& g)
{
    return RECT{0, g.area.bottom, g.client_w, g.area.bottom + 20};
}

namespace {

// Runs `f` once per slot with the slot's rectangle and Y view in place.
template <typename F>
void per_slot(GraphRecord& g, F f)
{
    if (g.slot_count <= 1) {
        f(0);
        return;
    }
    compute_slot_rects(g);
    RECT area = g.area;
    Axis keep = g.ax[1];
    for (int i = 0; i < g.slot_count; ++i) {
        g.area = g.slots[i].rect;
        slot_view(g, i, g.ax[1].view_min, g.ax[1].view_max, g.ax[1].tick_each);
        compute_mapping(g);
        f(i);
        g.ax[1].view_min = keep.view_min;
        g.ax[1].view_max = keep.view_max;
        g.ax[1].tick_each = keep.tick_each;
    }
    g.area = area;
    compute_mapping(g);
}

} // namespace

void paint_layers(GraphRecord& g, HDC dc, const RECT& client, int mask, bool printer)
{
    Painter p(g, dc, printer);
    if (mask & L_BACK)
        p.backgrounds(client);
    if (mask & L_TITLES)
        p.titles();
    if (mask & L_GRID)
        per_slot(g, [&](int) { p.grid(); });
    if (mask & L_BORDER)
        per_slot(g, [&](int) { p.border(); });
    if (mask & L_XAXIS)
        per_slot(g, [&](int) { p.x_axis(); });
    if (mask & L_YAXIS)
        per_slot(g, [&](int) { p.y_axis(); });
    if (mask & L_REFS)
        p.references();
    if (mask & L_SETS)
        per_slot(g, [&](int slot) {
            for (size_t i = 0; i < g.sets.size(); ++i)
                if (g.sets[i]->slot == slot || (g.slot_count <= 1))
                    draw_set(g, dc, int(i), 0, -1, printer);
        });
    if (mask & L_LABELS)
        p.labels();
    if (mask & L_FRAME)
        p.frame(client);
    if (mask & L_BOOKMARKS)
        p.bookmarks();
}

// ---- one set -------------------------------------------------------------------

namespace {

int first_visible(const GraphRecord& g, const VecLock& x, int n, double left_value, bool last)
{
    if (g.assume_x == 0)
        return last ? n - 1 : 0;
    if (g.assume_x == 1) {
        int lo = 0, hi = n - 1;
        while (hi - lo > 1) {
            int mid = lo + (hi - lo) / 2;
            if (x.get(mid) < left_value)
                lo = mid;
            else
                hi = mid;
        }
        return last ? std::min(n - 1, hi) : lo;
    }
    double first = x.get(0), lastx = x.get(n - 1);
    double per = (lastx - first) / n;
    if (!(per > 0) || !std::isfinite(per))
        return last ? n - 1 : 0;
    double i = std::trunc((left_value - first) / per) + (last ? 5 : -5);
    return int(std::clamp(i, 0.0, double(n - 1)));
}

void marker(HDC dc, int style, int size, int x, int y)
{
    int l = x - size / 2, t = y - size / 2, r = l + size, b = t + size;
    switch (style) {
    case 1: Ellipse(dc, l, t, r, b); break;
    case 2: Rectangle(dc, l, t, r, b); break;
    case 3: {
        POINT pts[3] = {{x, t}, {l, b - 1}, {r - 1, b - 1}};
        Polygon(dc, pts, 3);
        break;
    }
    case 4: {
        POINT pts[4] = {{x, t}, {r - 1, y}, {x, b - 1}, {l, y}};
        Polygon(dc, pts, 4);
        break;
    }
    case 5:
        MoveToEx(dc, l, y, nullptr);
        LineTo(dc, r, y);
        MoveToEx(dc, x, t, nullptr);
        LineTo(dc, x, b);
        break;
    default: break;
    }
}

} // namespace

void draw_set(GraphRecord& g, HDC dc, int index, int first, int last, bool printer)
{
    if (index < 0 || index >= int(g.sets.size()))
        return;
    SetRecord& s = *g.sets[size_t(index)];
    const Axis& xa = g.ax[0];
    if (!(xa.view_max > xa.view_min) || s.count <= 0 || !s.x || !s.y || !s.visible)
        return;
    if (s.line_style == 0 && s.point_style == 0)
        return;
    VecLock vx(s.x), vy(s.y);
    if (!vx || !vy)
        return;
    int n = std::min({s.count, vx.count(), vy.count()});
    if (last < 0)
        last = n - 1;
    if (first < 0 || first > last || last >= n)
        return;
    const RECT& a = g.area;
    Painter p(g, dc, printer);
    SaveDC(dc);
    p.clip(a);
    bool lines = s.line_style != 0 && s.line_width > 0;
    int pen_style = s.line_style == 2 ? PS_DOT : s.line_style == 3 ? PS_DASHDOT : s.line_style == 4 ? PS_DASHDOTDOT : PS_SOLID;
    HPEN pen = CreatePen(pen_style, std::max(1, s.line_width), s.colour);
    HBRUSH brush = CreateSolidBrush(s.colour);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    // Only the points over the visible columns, when the data are ordered.
    if (first == 0 && last == n - 1 && n > 1) {
        double lv = value_of_px_x(g, a.left + g.cur_off), rv = value_of_px_x(g, a.right + g.cur_off);
        first = first_visible(g, vx, n, lv, false);
        last = std::max(first, first_visible(g, vx, n, rv, true));
    }
    double span = xa.view_max - xa.view_min;
    bool dense = g.assume_x == 2 && n > 1 && (s.line_style == 0 || s.line_style == 1) && s.line_width <= 1 &&
                 (s.point_style == 0 || s.point_style == 1) && s.point_size <= 1 &&
                 (a.right - a.left - 1) * (vx.get(1) - vx.get(0)) / span < 0.25;
    if (dense) {
        int col = INT32_MIN, lo = 0, hi = 0, prev_lo = 0, prev_hi = 0;
        bool have_prev = false;
        auto flush = [&]() {
            if (col == INT32_MIN)
                return;
            int top = lo, bottom = hi;
            if (have_prev) {
                top = std::min(top, prev_hi);
                bottom = std::max(bottom, prev_lo);
            }
            vline(dc, col, top, bottom + 1, s.colour);
            prev_lo = lo;
            prev_hi = hi;
            have_prev = true;
        };
        for (int i = first; i <= last; ++i) {
            int px = round_px(vx.get(i) * g.x_scale + g.x_offset) - g.cur_off;
            int py = round_px(vy.get(i) * g.y_scale + g.y_offset);
            if (px != col) {
                flush();
                col = px;
                lo = hi = py;
            } else {
                lo = std::min(lo, py);
                hi = std::max(hi, py);
            }
        }
        flush();
    } else {
        POINT buf[101];
        int zero_row = px_y(g, 0.0);
        for (int start = first; start <= last; start += 100) {
            int end = std::min(last, start + 100);
            int k = 0;
            for (int i = start; i <= end; ++i)
                buf[k++] = POINT{round_px(vx.get(i) * g.x_scale + g.x_offset) - g.cur_off,
                                 round_px(vy.get(i) * g.y_scale + g.y_offset)};
            if (lines) {
                if (s.line_style == 5) {
                    for (int i = 0; i < k - (end < last ? 1 : 0); ++i) {
                        MoveToEx(dc, buf[i].x, zero_row, nullptr);
                        LineTo(dc, buf[i].x, buf[i].y);
                    }
                } else if (k > 1) {
                    Polyline(dc, buf, k);
                }
            }
            if (s.point_style != 0) {
                int m = k - (end < last ? 1 : 0);
                for (int i = 0; i < m; ++i) {
                    if (s.point_style == 1 && s.point_size <= 1)
                        SetPixel(dc, buf[i].x, buf[i].y, s.colour);
                    else
                        marker(dc, s.point_style, s.point_size, buf[i].x, buf[i].y);
                }
            }
            if (end == last)
                break;
        }
    }
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(brush);
    DeleteObject(pen);
    RestoreDC(dc, -1);
}

} // namespace qxi
