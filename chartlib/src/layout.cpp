// Geometry of a graph: where the area lies, how values map to pixels, the
// automatic view and spacing, ticks, grid lines, value texts and titles.
#include "layout.h"
#include "foundation/simdate.h"
#include "foundation/utils.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qxi {

const char* const month_names[12] = {"January", "February", "March", "April", "May", "June",
                                     "July", "August", "September", "October", "November", "December"};

FontSpec default_font()
{
    FontSpec f;
    // 8 points at 96 dpi, MulDiv rounding.
    f.height = -((8 * 96 + 36) / 72);
    f.weight = 100;
    std::strcpy(f.face, "Ms Sans Serif");
    return f;
}

int point_size(const FontSpec& font, int dpi)
{
    if (dpi <= 0)
        return 0;
    return int(std::floor(-double(font.height) * 72.0 / dpi + 0.5));
}

int round_px(double v)
{
    if (std::isnan(v))
        return -100000000;
    v = std::clamp(v, -1e8, 1e8);
    return int(std::lround(v));
}

int px_x(const GraphRecord& g, double x) { return round_px(x * g.x_scale + g.x_offset); }
int px_y(const GraphRecord& g, double y) { return round_px(y * g.y_scale + g.y_offset); }

double value_of_px_x(const GraphRecord& g, double px)
{
    return g.x_scale == 0 ? g.x_offset : (px - g.x_offset) / g.x_scale;
}

double value_of_px_y(const GraphRecord& g, double px)
{
    return g.y_scale == 0 ? g.y_offset : (px - g.y_offset) / g.y_scale;
}

void compute_mapping(GraphRecord& g)
{
    const RECT& a = g.area;
    const Axis& x = g.ax[0];
    const Axis& y = g.ax[1];
    g.x_scale = x.view_max > x.view_min ? (a.right - a.left - 1) / (x.view_max - x.view_min) : 0.0;
    g.x_offset = a.left - x.view_min * g.x_scale;
    g.y_scale = y.view_max > y.view_min ? (a.top - a.bottom + 1) / (y.view_max - y.view_min) : 0.0;
    g.y_offset = a.bottom - 1 - y.view_min * g.y_scale;
    if (!std::isfinite(g.x_scale) || !std::isfinite(g.x_offset)) {
        g.x_scale = 0;
        g.x_offset = a.left;
    }
    if (!std::isfinite(g.y_scale) || !std::isfinite(g.y_offset)) {
        g.y_scale = 0;
        g.y_offset = a.bottom - 1;
    }
}

void slot_view(const GraphRecord& g, int slot, double& y_min, double& y_max, double& y_tick)
{
    y_min = g.ax[1].view_min;
    y_max = g.ax[1].view_max;
    y_tick = g.ax[1].tick_each;
    if (g.slot_count > 1 && slot >= 0 && slot < g.slot_count && g.slots[slot].settings_set) {
        y_min = g.slots[slot].y_min;
        y_max = g.slots[slot].y_max;
        y_tick = g.slots[slot].y_tick_each;
    }
}

void compute_slot_rects(GraphRecord& g)
{
    int n = std::clamp(g.slot_count, 1, MAX_SLOTS);
    const RECT& a = g.area;
    if (n == 1) {
        g.slots[0].rect = a;
        return;
    }
    int height = a.bottom - a.top;
    int h = height <= 0 ? 0 : (height - (n - 1) * g.slot_space) / n;
    for (int i = 0; i < n; ++i) {
        RECT r{a.left, a.top + i * (h + g.slot_space), a.right, 0};
        r.bottom = i == n - 1 ? a.bottom : r.top + h;
        if (height <= 0)
            r = RECT{a.left, a.top, a.right, a.top};
        if (r.bottom < r.top)
            r.bottom = r.top;
        g.slots[i].rect = r;
    }
}

// ---- value texts -----------------------------------------------------------

std::string format_axis_value(double value, const char* format)
{
    if (!format || !std::isfinite(value))
        return "?";
    int fields[3] = {0, 0, 0};
    int n = 0;
    const char* p = format;
    for (;;) {
        const char* comma = std::strchr(p, ',');
        if (n == 3)
            return "?";
        fields[n++] = std::atoi(p);
        if (!comma)
            break;
        p = comma + 1;
    }
    if (n != 3)
        return "?";
    int decimals = std::clamp(fields[0], 0, 15);
    int e = fields[1], s = fields[2];
    long long sum = (long long)e + s;
    if (sum > 300 || sum < -300 || e > 300 || e < -300)
        return "?";
    if (sum != 0)
        value = shift_decimal(value, int(sum));
    if (!std::isfinite(value))
        return "?";
    std::string text = format_fixed(value, decimals);
    // A value that shows as zero shows without a sign.
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    if (e != 0) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "e%d", e);
        text += buf;
    }
    return text;
}

std::string auto_value_format(double view_max)
{
    int n = decimal_digits(view_max);
    char buf[32];
    if (n <= -5)
        std::snprintf(buf, sizeof buf, "0,%d,0", n + 2);
    else if (n <= 0)
        std::snprintf(buf, sizeof buf, "%d,0,0", 2 - n);
    else if (n <= 4)
        std::snprintf(buf, sizeof buf, "%d,0,0", 4 - n);
    else
        std::snprintf(buf, sizeof buf, "0,%d,0", n - 2);
    return buf;
}

// ---- automatic view and spacing ---------------------------------------------

namespace {

bool multiple_of(double v, double u) { return std::fmod(v, u) == 0.0; }

void round_one(double& v, int c, bool is_max)
{
    if (c >= 1) {
        double u = std::pow(10.0, c - 1);
        if (u > 1 && std::fabs(v) < 5 * u)
            u /= 10;
        if (multiple_of(v, u))
            return;
        v = is_max ? u * std::trunc((v + u) / u) : u * std::trunc((v - u) / u);
        return;
    }
    double scale = std::pow(10.0, 1 - c);
    double s = v * scale;
    round_one(s, decimal_digits(s), is_max);
    v = s / scale;
}

} // namespace

void round_limits(double& min, double& max)
{
    if (!std::isfinite(min) || !std::isfinite(max))
        return;
    int cmin = decimal_digits(min), cmax = decimal_digits(max);
    if (cmin == cmax)
        cmin = cmax = decimal_digits(max - min);
    round_one(min, cmin, false);
    round_one(max, cmax, true);
}

namespace {

// Usable length along an axis: width of the area, or height of the first slot.
int axis_length(const GraphRecord& g, int axis)
{
    if (axis == 0)
        return g.area.right - g.area.left - 1;
    const RECT& r = g.slot_count > 1 ? g.slots[0].rect : g.area;
    return r.bottom - r.top - 1;
}

void auto_spacing(GraphRecord& g, int axis)
{
    Axis& a = g.ax[axis];
    int w = axis_length(g, axis);
    double span = a.view_max - a.view_min;
    if (w <= 5 || !(span > 0) || !std::isfinite(span))
        return;
    int label = axis == 0 ? 2 * g.x_label_w : 2 * g.y_label_h;
    if (a.tick_scale == 0) {
        int d = (a.val_scale == 1 && label > 5) ? label : 5;
        if (a.val_scale == 2 && a.big_every > 0 && (long long)d * a.big_every < label && label / a.big_every >= d)
            d = label / a.big_every;
        if (w / d > 0)
            a.tick_each = nice_step(span / (w / d), span);
    }
    if (a.grid_scale == 0) {
        int d = a.val_scale == 3 ? std::max(5, 2 * label) : 5;
        if (w / d > 0)
            a.grid_each = nice_step(span / (w / d), span);
    }
}

void follow_extents(GraphRecord& g, int axis)
{
    Axis& a = g.ax[axis];
    if (a.min_max_scale != 0 && a.min_max_scale != 1)
        return;
    double lo = a.view_min, hi = a.view_max;
    if (a.ext_min != EMPTY_MIN && std::isfinite(a.ext_min))
        lo = a.ext_min;
    if (a.ext_max != EMPTY_MAX && std::isfinite(a.ext_max))
        hi = a.ext_max;
    int w = axis == 0 ? g.area.right - g.area.left : g.area.bottom - g.area.top;
    if (a.min_max_scale == 1 && w > 6 && hi > lo)
        round_limits(lo, hi);
    if (std::isfinite(lo) && std::isfinite(hi)) {
        a.view_min = lo;
        a.view_max = hi;
    }
}

} // namespace

void compute_label_geometry(GraphRecord& g, Measure& m)
{
    const Axis& x = g.ax[0];
    const Axis& y = g.ax[1];
    g.x_label_w = std::max(m.text_width(x.val_font, format_axis_value(x.view_min, x.format).c_str()),
                           m.text_width(x.val_font, format_axis_value(x.view_max, x.format).c_str()));
    g.x_label_h = m.text_height(x.val_font);
    g.y_label_h = m.text_height(y.val_font);
    int yw = std::max(m.text_width(y.val_font, format_axis_value(y.view_min, y.format).c_str()),
                      m.text_width(y.val_font, format_axis_value(y.view_max, y.format).c_str()));
    g.y_label_w = int(1.1 * yw);
}

void update_auto_scales(GraphRecord& g, Measure& m)
{
    compute_slot_rects(g);
    for (int axis = 0; axis < 2; ++axis) {
        Axis& a = g.ax[axis];
        follow_extents(g, axis);
        compute_mapping(g);
        compute_label_geometry(g, m);
        auto_spacing(g, axis);
        if (a.auto_format && a.val_visible && a.view_max > a.view_min) {
            std::string f = auto_value_format(a.view_max);
            std::snprintf(a.format, sizeof a.format, "%s", f.c_str());
            compute_label_geometry(g, m);
        }
    }
    compute_mapping(g);
}

// ---- ticks and grid lines ----------------------------------------------------

TickRow x_ticks(const GraphRecord& g)
{
    TickRow r;
    const Axis& a = g.ax[0];
    double span = a.view_max - a.view_min;
    double t = a.tick_each;
    if (!(t > 0) || !(span > 0) || t > span || !std::isfinite(t))
        return r;
    double x0 = a.view_min, x1 = a.view_max, first, last;
    if (data_x_bounds(g, first, last)) {
        x0 = std::min(x0, first);
        x1 = std::max(x1, last);
    }
    r.first = x0;
    r.step = t;
    r.count = std::floor((x1 - x0) / t + 1 + 0.5);
    r.big_every = a.big_every;
    if (!std::isfinite(r.count))
        r.count = 0;
    return r;
}

TickRow y_ticks(const GraphRecord& g)
{
    TickRow r;
    const Axis& a = g.ax[1];
    double span = a.view_max - a.view_min;
    double t = a.tick_each;
    if (!(t > 0) || !(span > 0) || t > span || !std::isfinite(t) || g.area.bottom - g.area.top < 3)
        return r;
    r.first = a.view_min;
    r.step = t;
    r.count = std::floor(span / t + 1 + 0.5);
    r.big_every = a.big_every;
    if (!std::isfinite(r.count))
        r.count = 0;
    return r;
}

namespace {

TickRow grid_row(const GraphRecord& g, int axis, const TickRow& ticks)
{
    const Axis& a = g.ax[axis];
    TickRow r;
    switch (a.grid_scale) {
    case 0:
    case 1:
        r = ticks;
        break;
    case 2:
        if (ticks.big_every > 0 && ticks.count > 0) {
            r = ticks;
            r.step = ticks.step * ticks.big_every;
            r.count = std::floor(ticks.count / ticks.big_every) + 1;
        }
        break;
    case 3: {
        double span = a.view_max - a.view_min;
        int w = axis == 0 ? g.area.right - g.area.left : g.area.bottom - g.area.top;
        if (!(a.grid_each > 0) || !(span > 0) || a.grid_each > span || w < 3 || !std::isfinite(a.grid_each))
            break;
        double x0 = a.view_min, x1 = a.view_max, first, last;
        if (axis == 0 && data_x_bounds(g, first, last)) {
            x0 = std::min(x0, first);
            x1 = std::max(x1, last);
        }
        r.first = x0;
        r.step = a.grid_each;
        r.count = std::floor((x1 - x0) / a.grid_each + 1 + 0.5);
        if (!std::isfinite(r.count))
            r.count = 0;
        break;
    }
    default:
        break;
    }
    r.big_every = 0;
    return r;
}

} // namespace

TickRow x_grid(const GraphRecord& g) { return grid_row(g, 0, x_ticks(g)); }
TickRow y_grid(const GraphRecord& g) { return grid_row(g, 1, y_ticks(g)); }

void visible_indexes(const TickRow& row, double lo, double hi, double& first, double& last)
{
    first = 0;
    last = -1;
    if (!(row.count > 0) || !(row.step > 0) || !(hi >= lo))
        return;
    first = std::max(0.0, std::floor((lo - row.first) / row.step) - 1);
    last = std::min(row.count - 1, std::ceil((hi - row.first) / row.step) + 1);
    if (!std::isfinite(first) || !std::isfinite(last))
        last = first - 1;
}

// ---- axes and tick ends --------------------------------------------------------

int x_axis_row(const GraphRecord& g)
{
    const Axis& x = g.ax[0];
    const Axis& y = g.ax[1];
    if (x.position == 1)
        return g.area.top;
    if (x.position == 2 && y.view_min <= 0 && 0 <= y.view_max)
        return px_y(g, 0.0);
    return g.area.bottom - 1;
}

int y_axis_col(const GraphRecord& g)
{
    const Axis& y = g.ax[1];
    if (y.position == 1)
        return g.area.right - 1;
    if (y.position == 2)
        return px_x(g, 0.0);
    return g.area.left;
}

namespace {
int border_g(const GraphRecord& g) { return g.border_style ? g.border_width : 0; }
} // namespace

int x_tick_start(const GraphRecord& g, int pos, int a)
{
    int gw = border_g(g);
    int type = g.ax[0].tick_type;
    if (pos == 0 || pos == 2) {
        int b = g.area.bottom;
        return type == 0 ? b + gw : type == 1 ? b + gw / 2 - a / 2 : b - a;
    }
    if (pos == 1) {
        int t = g.area.top;
        return type == 0 ? t - a - gw : type == 1 ? t - (a + gw) / 2 : t;
    }
    int y0 = x_axis_row(g);
    return type == 0 ? y0 + 1 : type == 1 ? y0 - a / 2 : y0 - a;
}

int y_tick_start(const GraphRecord& g, int pos, int a)
{
    int gw = border_g(g);
    int type = g.ax[1].tick_type;
    if (pos == 0 || pos == 2) {
        int l = g.area.left;
        return type == 0 ? l - a - gw : type == 1 ? l - (a + gw) / 2 : l;
    }
    if (pos == 1) {
        int r = g.area.right;
        return type == 0 ? r + gw : type == 1 ? r + (gw - a) / 2 : r - a;
    }
    int x0 = y_axis_col(g);
    return type == 0 ? x0 - a : type == 1 ? x0 - a / 2 : x0 + 1;
}

int tick_extent(const Axis& a)
{
    return std::max(a.tick_size, a.big_visible ? a.big_size : 0);
}

// ---- area and layout -------------------------------------------------------------

namespace {

// The first 10 grid lines of a candidate right edge lie at equal distances.
bool grid_even(GraphRecord& g, const TickRow& row)
{
    compute_mapping(g);
    int prev = px_x(g, row.first), gap = -1;
    for (int i = 1; i < 10; ++i) {
        int p = px_x(g, row.first + i * row.step);
        if (gap < 0)
            gap = p - prev;
        else if (p - prev != gap)
            return false;
        prev = p;
    }
    return gap > 0;
}

void align_to_grid(GraphRecord& g)
{
    if (!g.align_to_grid || !g.ax[0].grid_visible || !g.sc_visible)
        return;
    compute_mapping(g);
    TickRow row = x_grid(g);
    if (row.count < 10)
        return;
    int current = g.area.right;
    int middle = (g.area.left + g.area.right) / 2;
    for (int r = current; r > middle; --r) {
        g.area.right = r;
        if (grid_even(g, row)) {
            compute_mapping(g);
            return;
        }
    }
    g.area.right = current;
    compute_mapping(g);
}

} // namespace

void recompute_area(GraphRecord& g, Measure& m)
{
    if (g.auto_location)
        recalc_layout(g, m);
    g.area = RECT{g.space[0], g.space[1], g.client_w - g.space[2], g.client_h - g.space[3]};
    if (g.area.right < g.area.left)
        g.area.right = g.area.left;
    if (g.area.bottom < g.area.top)
        g.area.bottom = g.area.top;
    compute_slot_rects(g);
    compute_mapping(g);
    update_auto_scales(g, m);
    align_to_grid(g);
    compute_slot_rects(g);
    compute_mapping(g);
    compute_title_rects(g, m);
}

void recalc_layout(GraphRecord& g, Measure& m)
{
    g.align_to_grid = 1;
    compute_label_geometry(g, m);
    int dpi = m.dpi_y();
    const Axis& x = g.ax[0];
    const Axis& y = g.ax[1];
    auto side = [](int pos, int a, int b) { return pos == a || pos == b; };
    int left = y.title_visible ? point_size(y.title_font, dpi) + 30 : 20;
    if (y.val_visible && side(y.val_pos, 0, 2))
        left += g.y_label_w + 2;
    if (y.tick_visible && side(y.tick_pos, 0, 2))
        left += tick_extent(y);
    int top = g.main_title_visible ? point_size(g.main_font, dpi) + 30 : 20;
    if (x.val_visible && side(x.val_pos, 1, 2))
        top += g.x_label_h + 2;
    if (x.tick_visible && side(x.tick_pos, 1, 2))
        top += tick_extent(x);
    int right = 20;
    if (y.val_visible && side(y.val_pos, 1, 2))
        right = g.y_label_w + 22;
    if (y.tick_visible && side(y.tick_pos, 1, 2))
        right += tick_extent(y);
    int bottom = 20;
    if (g.sc_visible)
        bottom = (g.sc_position == 1 ? g.sc_height + 30 : std::max(g.sc_height, 20)) + 10;
    if (x.title_visible)
        bottom += point_size(x.title_font, dpi) + 10;
    if (x.val_visible && side(x.val_pos, 0, 2))
        bottom += g.x_label_h + 2;
    if (x.tick_visible && side(x.tick_pos, 0, 2))
        bottom += tick_extent(x);
    g.space[0] = left;
    g.space[1] = top;
    g.space[2] = right;
    g.space[3] = bottom;
}

void compute_title_rects(GraphRecord& g, Measure& m)
{
    const Axis& x = g.ax[0];
    const Axis& y = g.ax[1];
    int dpi = m.dpi_y();
    const RECT& a = g.area;
    // X value strip: from the highest to the lowest of tick ends and value rows.
    int hi = a.bottom, lo = a.bottom;
    bool any = false;
    auto cover = [&](int top, int bottom) {
        if (!any) {
            hi = top;
            lo = bottom;
            any = true;
        } else {
            hi = std::min(hi, top);
            lo = std::max(lo, bottom);
        }
    };
    int ext = tick_extent(x);
    auto rows = [&](int pos, bool ticks, bool values) {
        int start = x_tick_start(g, pos, ext);
        if (ticks)
            cover(start, start + ext);
        if (values) {
            int edge = ticks ? start + ext : (pos == 1 ? a.top : pos == 3 ? x_axis_row(g) : a.bottom);
            if (pos == 1) {
                int top_edge = ticks ? start : a.top;
                cover(top_edge - 2 - g.x_label_h, top_edge - 2);
            } else {
                cover(edge + 2, edge + 2 + g.x_label_h);
            }
        }
    };
    bool tv = x.tick_visible, vv = x.val_visible;
    if (tv || vv) {
        int tp = x.tick_pos, vp = x.val_pos;
        for (int pos : {0, 1, 3}) {
            bool t = tv && (tp == pos || (tp == 2 && pos != 3));
            bool v = vv && (vp == pos || (vp == 2 && pos != 3));
            if (t || v)
                rows(pos, t, v);
        }
    }
    g.x_strip = any ? RECT{a.left + 1, hi, a.right - 1, lo} : RECT{a.left + 1, a.bottom, a.right - 1, a.bottom};
    int main_bottom = std::min(a.top, g.x_strip.top);
    g.main_rect = RECT{a.left, g.frame_width, a.right, std::max(g.frame_width, main_bottom)};
    int xt_top = std::max(a.bottom, g.x_strip.bottom) + 10;
    g.x_title_rect = RECT{a.left, xt_top, a.right, xt_top + point_size(x.title_font, dpi)};
    int leftmost = a.left;
    if (y.tick_visible)
        for (int pos : {0, 3})
            if (y.tick_pos == pos || (y.tick_pos == 2 && pos == 0))
                leftmost = std::min(leftmost, y_tick_start(g, pos, tick_extent(y)));
    if (y.val_visible && (y.val_pos == 0 || y.val_pos == 2 || y.val_pos == 3))
        leftmost -= g.y_label_w + 2;
    int yt_right = leftmost - 10;
    int yt_left = std::max(g.frame_width, yt_right - point_size(y.title_font, dpi));
    g.y_title_rect = RECT{yt_left, a.top, std::max(yt_left, yt_right), a.bottom};
}

// ---- month axis ---------------------------------------------------------------

int nth_working_day(int month, int n)
{
    month = ((month - 1) % 12 + 12) % 12 + 1;
    int days = month_length(month, 98);
    int seen = 0;
    for (int d = 1; d <= days; ++d) {
        SimDateTime t{98, int16_t(month), int16_t(d), 8, 0};
        int wd = weekday_of(t);
        if (wd != 1 && wd != 7 && ++seen == n)
            return d;
    }
    return days;
}

} // namespace qxi
