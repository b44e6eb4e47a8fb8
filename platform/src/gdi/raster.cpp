// Lines, shapes, fills and flood fill, rasterised here with the classic
// rules: end pixels of lines left out, half-open boxes, the pen inside the
// box and the brush inside the pen, no antialiasing.
#include "gdi/gdi_p.h"
#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

namespace plat::gdi {
namespace {

constexpr int PATTERN_DASH[] = {18, 6};
constexpr int PATTERN_DOT[] = {3, 3};
constexpr int PATTERN_DASHDOT[] = {9, 6, 3, 6};
constexpr int PATTERN_DASHDOTDOT[] = {9, 3, 3, 3, 3, 3};

inline void put(uint32_t& d, const Paint& p, int x, int y, const QPoint& origin)
{
    if (!p.hatched) {
        d = ApplyRop2(p.rop2, p.color, d);
        return;
    }
    if (HatchBit(p.hatch, x - origin.x(), y - origin.y()))
        d = ApplyRop2(p.rop2, p.color, d);
    else if (p.hatchBkOpaque)
        d = ApplyRop2(p.rop2, p.hatchBk, d);
}

bool pattern_on(const LineStyle& style, int step)
{
    int pos = step % style.total;
    for (int i = 0; i < style.count; ++i) {
        if (pos < style.pattern[i])
            return (i % 2) == 0;
        pos -= style.pattern[i];
    }
    return false;
}

// Pixel spans [x0, x1] (inclusive) per row of a closed shape.
struct Span {
    int x0 = 0, x1 = -1;
    bool empty() const { return x1 < x0; }
};

Span intersect(Span a, Span b) { return Span{std::max(a.x0, b.x0), std::min(a.x1, b.x1)}; }

// Rows of an ellipse or rounded rectangle filling box [0, w) x [0, h),
// computed per row so only rows inside the clip cost anything. The ellipse's
// boundary runs through the outer edges of the box's pixels.
struct ShapeRows {
    bool ellipse = true;
    int w = 0, h = 0;
    int ew = 0, eh = 0; // corner ellipse of a rounded rectangle

    static Span ellipse_row(int w, int h, int y)
    {
        if (w <= 0 || h <= 0 || y < 0 || y >= h)
            return Span{};
        const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0, a = w / 2.0, b = h / 2.0;
        const double dy = (y - cy) / b;
        const double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        return Span{static_cast<int>(std::ceil(cx - half - 1e-9)), static_cast<int>(std::floor(cx + half + 1e-9))};
    }

    Span at(int y) const
    {
        if (y < 0 || y >= h || w <= 0)
            return Span{};
        if (ellipse)
            return ellipse_row(w, h, y);
        const int cw = std::clamp(ew, 0, w), ch = std::clamp(eh, 0, h);
        if (cw < 2 || ch < 2)
            return Span{0, w - 1};
        const int half = ch / 2;
        int ey = -1;
        if (y < half)
            ey = y;
        else if (y >= h - half)
            ey = y - (h - ch);
        if (ey < 0)
            return Span{0, w - 1};
        const Span e = ellipse_row(cw, ch, ey);
        return e.empty() ? Span{0, w - 1} : Span{e.x0, w - cw + e.x1};
    }
};

// Outline and interior of a shape. The outline of a one-pixel pen is every
// pixel with a 4-neighbour outside the shape, which keeps it closed; a wider
// pen also takes away the inner shape, `inset` pixels in from each side.
void paint_shape(Surface& s, const QRect& box, const ShapeRows& outer, const ShapeRows* inner, int inset,
                 const Paint* pen, const std::optional<Paint>& brush, QRect& touched)
{
    const int left = box.left(), top = box.top();
    const int y0 = std::max(0, s.clipBounds.top() - top);
    const int y1 = std::min(outer.h - 1, s.clipBounds.bottom() - top);
    for (int y = y0; y <= y1; ++y) {
        const Span f = outer.at(y);
        if (f.empty())
            continue;
        Span in;
        if (pen) {
            in = intersect(Span{f.x0 + 1, f.x1 - 1}, intersect(outer.at(y - 1), outer.at(y + 1)));
            if (inner) {
                const Span i = inner->at(y - inset);
                in = i.empty() ? Span{} : intersect(in, Span{i.x0 + inset, i.x1 + inset});
            }
        } else {
            in = f;
        }
        const int py = top + y;
        if (brush && !in.empty())
            FillSpan(s, py, left + in.x0, left + in.x1 + 1, *brush);
        if (pen) {
            if (in.empty()) {
                FillSpan(s, py, left + f.x0, left + f.x1 + 1, *pen);
            } else {
                FillSpan(s, py, left + f.x0, left + in.x0, *pen);
                FillSpan(s, py, left + in.x1 + 1, left + f.x1 + 1, *pen);
            }
        }
    }
    touched |= box.intersected(s.clipBounds);
}

// The DC's box in image coordinates, normalised.
QRect image_box(const Surface& s, const DcState& st, int l, int t, int r, int b)
{
    POINT a = ToDevice(st, l, t), c = ToDevice(st, r, b);
    if (a.x > c.x)
        std::swap(a.x, c.x);
    if (a.y > c.y)
        std::swap(a.y, c.y);
    return QRect(a.x + s.origin.x(), a.y + s.origin.y(), c.x - a.x, c.y - a.y);
}

// Width 0 is one pixel whatever the mapping; other widths are logical units.
int pen_width(const DcState& st, const Pen& pen)
{
    if (pen.logicalWidth <= 0)
        return 1;
    return std::max(1, ScaleX(st, pen.logicalWidth));
}

// Wide pens: the stroke outline (square caps, round joins) filled as one
// area, so overlapping segments never paint a pixel twice.
void stroke_wide(Surface& s, const std::vector<QPointF>& pts, bool closed, int width,
                 const Paint& p, QRect& touched)
{
    if (pts.size() < 2)
        return;
    QPainterPath path(pts[0]);
    for (size_t i = 1; i < pts.size(); ++i)
        path.lineTo(pts[i]);
    if (closed)
        path.closeSubpath();
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::SquareCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    const QPainterPath outline = stroker.createStroke(path).simplified();
    std::vector<PolyF> polys;
    for (const QPolygonF& poly : outline.toFillPolygons()) {
        PolyF pf;
        // The stroke is built around pixel centres; shift so that a pixel is
        // covered when its centre lies inside.
        for (const QPointF& q : poly)
            pf.pts.push_back(q);
        polys.push_back(std::move(pf));
    }
    FillPolygons(s, polys, true, p, touched);
}

void draw_polyline(Dc& dc, const POINT* pts, int count, bool closed)
{
    Surface s = Acquire(dc);
    const Pen& pen = *dc.st.pen;
    if (!s.ok() || pen.style == PS_NULL || count < 2)
        return;
    std::vector<QPoint> dev(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const POINT d = ToDevice(dc.st, pts[i].x, pts[i].y);
        dev[static_cast<size_t>(i)] = QPoint(d.x + s.origin.x(), d.y + s.origin.y());
    }
    if (closed)
        dev.push_back(dev.front());
    QRect touched;
    const Paint p = PenPaint(s, dc.st, pen.color);
    const int w = pen_width(dc.st, pen);
    if (w > 1) {
        std::vector<QPointF> f(dev.begin(), dev.end());
        stroke_wide(s, f, closed, w, p, touched);
    } else {
        const LineStyle style = StyleFor(s, dc.st, pen);
        for (size_t i = 1; i < dev.size(); ++i)
            DrawLine1(s, dev[i - 1].x(), dev[i - 1].y(), dev[i].x(), dev[i].y(), p, style,
                      dc.styleStep, false, touched);
    }
    Touched(s, touched);
}

} // namespace

bool HatchBit(int hatch, int x, int y)
{
    const int hx = x & 7, hy = y & 7;
    switch (hatch) {
    case HS_HORIZONTAL: return hy == 7;
    case HS_VERTICAL: return hx == 7;
    case HS_FDIAGONAL: return hx == hy;
    case HS_BDIAGONAL: return hx == 7 - hy;
    case HS_CROSS: return hx == 7 || hy == 7;
    case HS_DIAGCROSS: return hx == hy || hx == 7 - hy;
    default: return false;
    }
}

std::optional<Paint> BrushPaint(const Surface& s, const DcState& st, const Brush* brush)
{
    if (!brush || brush->style == BS_NULL)
        return std::nullopt;
    Paint p;
    p.color = Rgb(brush->color);
    p.rop2 = st.rop2;
    if (brush->style == BS_HATCHED) {
        p.hatched = true;
        p.hatch = brush->hatch;
        p.hatchBkOpaque = st.bkMode == OPAQUE;
        p.hatchBk = Rgb(st.bk);
    }
    if (s.mono) {
        p.color = SnapMono(p.color);
        p.hatchBk = SnapMono(p.hatchBk);
    }
    return p;
}

Paint PenPaint(const Surface& s, const DcState& st, COLORREF color)
{
    Paint p;
    p.color = s.mono ? SnapMono(Rgb(color)) : Rgb(color);
    p.rop2 = st.rop2;
    return p;
}

LineStyle StyleFor(const Surface& s, const DcState& st, const Pen& pen)
{
    LineStyle ls;
    switch (pen.style) {
    case PS_DASH: ls.pattern = PATTERN_DASH; ls.count = 2; break;
    case PS_DOT: ls.pattern = PATTERN_DOT; ls.count = 2; break;
    case PS_DASHDOT: ls.pattern = PATTERN_DASHDOT; ls.count = 4; break;
    case PS_DASHDOTDOT: ls.pattern = PATTERN_DASHDOTDOT; ls.count = 6; break;
    default: return ls;
    }
    for (int i = 0; i < ls.count; ++i)
        ls.total += ls.pattern[i];
    ls.gapsOpaque = st.bkMode == OPAQUE;
    ls.gap = PenPaint(s, st, st.bk);
    return ls;
}

void FillSpan(Surface& s, int y, int x0, int x1, const Paint& p)
{
    if (x0 >= x1 || y < s.clipBounds.top() || y > s.clipBounds.bottom())
        return;
    uint32_t* line = s.bits + static_cast<qsizetype>(y) * s.stride;
    for (const QRect& r : *s.clip) {
        if (r.top() > y)
            break;
        if (r.bottom() < y)
            continue;
        const int a = std::max(x0, r.left()), b = std::min(x1, r.right() + 1);
        if (a >= b)
            continue;
        if (!p.hatched && p.rop2 == R2_COPYPEN) {
            std::fill(line + a, line + b, p.color | 0xFF000000u);
        } else {
            for (int x = a; x < b; ++x)
                put(line[x], p, x, y, s.origin);
        }
    }
}

void FillRectImage(Surface& s, const QRect& r, const Paint& p)
{
    const QRect c = r.intersected(s.clipBounds);
    for (int y = c.top(); y <= c.bottom(); ++y)
        FillSpan(s, y, c.left(), c.right() + 1, p);
}

void DrawLine1(Surface& s, int x0, int y0, int x1, int y1, const Paint& p, const LineStyle& style,
               int& styleStep, bool includeLast, QRect& touched)
{
    const int64_t dx = std::llabs(int64_t(x1) - x0), dy = std::llabs(int64_t(y1) - y0);
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const int64_t n = major + (includeLast ? 1 : 0);
    if (n <= 0)
        return;
    const int sMaj = (xMajor ? x1 >= x0 : y1 >= y0) ? 1 : -1;
    const int sMin = (xMajor ? y1 >= y0 : x1 >= x0) ? 1 : -1;
    const int m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
    const int64_t twoMajor = 2 * std::max<int64_t>(major, 1);
    const QRect box = QRect(QPoint(std::min(x0, x1), std::min(y0, y1)),
                            QPoint(std::max(x0, x1), std::max(y0, y1)));
    if (!box.intersects(s.clipBounds)) {
        styleStep += static_cast<int>(major);
        return;
    }
    const bool fast = !p.hatched && style.pattern == nullptr;
    for (const QRect& r : *s.clip) {
        if (!r.intersects(box))
            continue;
        const int lo = xMajor ? r.left() : r.top(), hi = xMajor ? r.right() : r.bottom();
        const int minLo = xMajor ? r.top() : r.left(), minHi = xMajor ? r.bottom() : r.right();
        int64_t i0 = sMaj > 0 ? int64_t(lo) - m0 : int64_t(m0) - hi;
        int64_t i1 = sMaj > 0 ? int64_t(hi) - m0 : int64_t(m0) - lo;
        i0 = std::max<int64_t>(i0, 0);
        i1 = std::min<int64_t>(i1, n - 1);
        if (i0 > i1)
            continue;
        // Ties go towards the start point: minor = floor((2 i minor + major - 1) / 2 major).
        const int64_t num = 2 * i0 * minor + std::max<int64_t>(major, 1) - 1;
        int64_t q = num / twoMajor, rem = num % twoMajor;
        for (int64_t i = i0; i <= i1; ++i) {
            const int maj = m0 + static_cast<int>(i) * sMaj;
            const int mnr = n0 + static_cast<int>(q) * sMin;
            if (mnr >= minLo && mnr <= minHi) {
                const int x = xMajor ? maj : mnr, y = xMajor ? mnr : maj;
                uint32_t& d = s.bits[static_cast<qsizetype>(y) * s.stride + x];
                if (fast) {
                    d = ApplyRop2(p.rop2, p.color, d);
                } else if (!style.pattern || pattern_on(style, styleStep + static_cast<int>(i))) {
                    put(d, p, x, y, s.origin);
                } else if (style.gapsOpaque) {
                    put(d, style.gap, x, y, s.origin);
                }
            }
            rem += 2 * minor;
            if (rem >= twoMajor) {
                rem -= twoMajor;
                ++q;
            }
        }
    }
    touched |= box.intersected(s.clipBounds);
    styleStep += static_cast<int>(major);
}

void FillPolygons(Surface& s, const std::vector<PolyF>& polys, bool winding, const Paint& p,
                  QRect& touched)
{
    struct Edge {
        double yTop, yBottom, x, slope;
        int dir;
    };
    std::vector<Edge> edges;
    double minY = 1e300, maxY = -1e300;
    for (const PolyF& poly : polys) {
        const size_t n = poly.pts.size();
        for (size_t i = 0; i < n; ++i) {
            QPointF a = poly.pts[i], b = poly.pts[(i + 1) % n];
            if (a.y() == b.y())
                continue;
            int dir = 1;
            if (a.y() > b.y()) {
                std::swap(a, b);
                dir = -1;
            }
            edges.push_back(Edge{a.y(), b.y(), a.x(), (b.x() - a.x()) / (b.y() - a.y()), dir});
            minY = std::min(minY, a.y());
            maxY = std::max(maxY, b.y());
        }
    }
    if (edges.empty())
        return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
    const int yStart = std::max(static_cast<int>(std::ceil(minY - 1e-9)), s.clipBounds.top());
    const int yEnd = std::min(static_cast<int>(std::ceil(maxY - 1e-9)) - 1, s.clipBounds.bottom());
    std::vector<const Edge*> active;
    std::vector<std::pair<double, int>> xs;
    size_t next = 0;
    int minX = INT32_MAX, maxX = INT32_MIN;
    for (int y = yStart; y <= yEnd; ++y) {
        while (next < edges.size() && edges[next].yTop <= y + 1e-9) {
            active.push_back(&edges[next]);
            ++next;
        }
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [y](const Edge* e) { return e->yBottom <= y + 1e-9; }),
                     active.end());
        xs.clear();
        for (const Edge* e : active)
            if (e->yTop <= y + 1e-9)
                xs.emplace_back(e->x + (y - e->yTop) * e->slope, e->dir);
        std::sort(xs.begin(), xs.end());
        int wind = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            wind += winding ? xs[i].second : 1;
            const bool inside = winding ? wind != 0 : (wind % 2) != 0;
            if (!inside)
                continue;
            const int a = static_cast<int>(std::ceil(xs[i].first - 1e-9));
            const int b = static_cast<int>(std::ceil(xs[i + 1].first - 1e-9));
            if (a < b) {
                FillSpan(s, y, a, b, p);
                minX = std::min(minX, a);
                maxX = std::max(maxX, b - 1);
            }
        }
    }
    if (minX <= maxX && yStart <= yEnd)
        touched |= QRect(QPoint(minX, yStart), QPoint(maxX, yEnd)).intersected(s.clipBounds);
}

} // namespace plat::gdi

namespace plat {
using namespace gdi;

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->st.cp;
    dc->st.cp = POINT{x, y};
    dc->styleStep = 0;
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* pt)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !pt)
        return FALSE;
    *pt = dc->st.cp;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    const POINT from = dc->st.cp;
    dc->st.cp = POINT{x, y};
    const Pen& pen = *dc->st.pen;
    if (pen.style == PS_NULL)
        return TRUE;
    if (pen_width(dc->st, pen) > 1) {
        const POINT pts[2] = {from, POINT{x, y}};
        draw_polyline(*dc, pts, 2, false);
        return TRUE;
    }
    // The hot path of every chart: no allocation, straight into the pixels.
    Surface s = Acquire(*dc);
    if (!s.ok())
        return TRUE;
    const POINT a = ToDevice(dc->st, from.x, from.y), b = ToDevice(dc->st, x, y);
    QRect touched;
    DrawLine1(s, a.x + s.origin.x(), a.y + s.origin.y(), b.x + s.origin.x(), b.y + s.origin.y(),
              PenPaint(s, dc->st, pen.color), StyleFor(s, dc->st, pen), dc->styleStep, false, touched);
    Touched(s, touched);
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !pts || count < 2)
        return FALSE;
    dc->styleStep = 0;
    draw_polyline(*dc, pts, count, false);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return TRUE;
    const QRect box = image_box(s, dc->st, left, top, right, bottom);
    if (box.width() < 1 || box.height() < 1)
        return TRUE;
    const Pen& pen = *dc->st.pen;
    const auto brush = BrushPaint(s, dc->st, dc->st.brush.get());
    QRect touched = box;
    if (pen.style == PS_NULL) {
        if (brush)
            FillRectImage(s, box.adjusted(0, 0, -1, -1), *brush);
        Touched(s, touched);
        return TRUE;
    }
    const int w = pen_width(dc->st, pen);
    const QRect inner = box.adjusted(w, w, -w, -w);
    if (brush && inner.width() > 0 && inner.height() > 0)
        FillRectImage(s, inner, *brush);
    const Paint p = PenPaint(s, dc->st, pen.color);
    const LineStyle style = StyleFor(s, dc->st, pen);
    if (style.pattern) {
        const int l = box.left(), t = box.top(), r = box.right(), b = box.bottom();
        int step = 0;
        QRect ignored;
        if (box.width() == 1 || box.height() == 1) {
            DrawLine1(s, l, t, r, b, p, style, step, true, ignored);
        } else {
            DrawLine1(s, l, t, r, t, p, style, step, false, ignored);
            DrawLine1(s, r, t, r, b, p, style, step, false, ignored);
            DrawLine1(s, r, b, l, b, p, style, step, false, ignored);
            DrawLine1(s, l, b, l, t, p, style, step, false, ignored);
        }
    } else if (inner.width() <= 0 || inner.height() <= 0) {
        FillRectImage(s, box, p);
    } else {
        // Four bands that never overlap, so XOR pens invert each pixel once.
        FillRectImage(s, QRect(box.left(), box.top(), box.width(), w), p);
        FillRectImage(s, QRect(box.left(), box.bottom() - w + 1, box.width(), w), p);
        FillRectImage(s, QRect(box.left(), box.top() + w, w, box.height() - 2 * w), p);
        FillRectImage(s, QRect(box.right() - w + 1, box.top() + w, w, box.height() - 2 * w), p);
    }
    Touched(s, touched);
    return TRUE;
}

namespace {

BOOL shape(HDC hdc, int left, int top, int right, int bottom, int ew, int eh, bool ellipse)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return TRUE;
    QRect box = image_box(s, dc->st, left, top, right, bottom);
    const Pen& pen = *dc->st.pen;
    const bool nullPen = pen.style == PS_NULL;
    if (nullPen)
        box.adjust(0, 0, -1, -1);
    if (box.width() < 1 || box.height() < 1)
        return TRUE;
    const ShapeRows rows{ellipse, box.width(), box.height(), ScaleX(dc->st, ew), ScaleY(dc->st, eh)};
    const auto brush = BrushPaint(s, dc->st, dc->st.brush.get());
    QRect touched;
    if (nullPen) {
        if (brush)
            paint_shape(s, box, rows, nullptr, 0, nullptr, brush, touched);
    } else {
        const Paint p = PenPaint(s, dc->st, pen.color);
        const int w = pen_width(dc->st, pen);
        if (w > 1) {
            const ShapeRows inner{ellipse, std::max(box.width() - 2 * w, 0), std::max(box.height() - 2 * w, 0),
                                  rows.ew - 2 * w, rows.eh - 2 * w};
            paint_shape(s, box, rows, &inner, w, &p, brush, touched);
        } else {
            paint_shape(s, box, rows, nullptr, 0, &p, brush, touched);
        }
    }
    Touched(s, touched);
    return TRUE;
}

} // namespace

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    return shape(hdc, left, top, right, bottom, 0, 0, true);
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height)
{
    return shape(hdc, left, top, right, bottom, width, height, false);
}

BOOL Polygon(HDC hdc, const POINT* pts, int count)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !pts || count < 2)
        return FALSE;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return TRUE;
    QRect touched;
    if (const auto brush = BrushPaint(s, dc->st, dc->st.brush.get())) {
        PolyF poly;
        for (int i = 0; i < count; ++i) {
            const POINT d = ToDevice(dc->st, pts[i].x, pts[i].y);
            poly.pts.emplace_back(d.x + s.origin.x(), d.y + s.origin.y());
        }
        FillPolygons(s, {poly}, dc->st.polyFill == WINDING, *brush, touched);
    }
    Touched(s, touched);
    dc->styleStep = 0;
    draw_polyline(*dc, pts, count, true);
    return TRUE;
}

int FillRect(HDC hdc, const RECT* rc, HBRUSH hbrush)
{
    Dc* dc = FindDc(hdc);
    auto brush = ResolveBrush(hbrush);
    if (!dc || !rc || !brush)
        return 0;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return 1;
    DcState st = dc->st;
    st.rop2 = R2_COPYPEN; // FillRect is PATCOPY whatever the ROP2
    if (const auto p = BrushPaint(s, st, brush.get())) {
        const QRect box = image_box(s, dc->st, rc->left, rc->top, rc->right, rc->bottom);
        FillRectImage(s, box, *p);
        Touched(s, box);
    }
    return 1;
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH hbrush)
{
    Dc* dc = FindDc(hdc);
    auto brush = ResolveBrush(hbrush);
    if (!dc || !rc || !brush)
        return 0;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return 1;
    DcState st = dc->st;
    st.rop2 = R2_COPYPEN;
    const auto p = BrushPaint(s, st, brush.get());
    const QRect box = image_box(s, dc->st, rc->left, rc->top, rc->right, rc->bottom);
    if (!p || box.isEmpty())
        return 1;
    // One logical unit wide; the four bands never overlap.
    const int fw = std::min(std::max(1, ScaleX(dc->st, 1)), box.width());
    const int fh = std::min(std::max(1, ScaleY(dc->st, 1)), box.height());
    const int bottomY = std::max(box.top() + fh, box.bottom() - fh + 1);
    const int rightX = std::max(box.left() + fw, box.right() - fw + 1);
    FillRectImage(s, QRect(QPoint(box.left(), box.top()), QPoint(box.right(), box.top() + fh - 1)), *p);
    FillRectImage(s, QRect(QPoint(box.left(), bottomY), box.bottomRight()), *p);
    FillRectImage(s, QRect(QPoint(box.left(), box.top() + fh), QPoint(box.left() + fw - 1, bottomY - 1)), *p);
    FillRectImage(s, QRect(QPoint(rightX, box.top() + fh), QPoint(box.right(), bottomY - 1)), *p);
    Touched(s, box);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rc)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !rc)
        return FALSE;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return TRUE;
    Paint p;
    p.rop2 = R2_NOT;
    const QRect box = image_box(s, dc->st, rc->left, rc->top, rc->right, rc->bottom);
    FillRectImage(s, box, p);
    Touched(s, box);
    return TRUE;
}

namespace {
bool in_clip(const Surface& s, int x, int y)
{
    if (!s.clipBounds.contains(x, y))
        return false;
    for (const QRect& r : *s.clip)
        if (r.contains(x, y))
            return true;
    return false;
}
} // namespace

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return CLR_INVALID;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return CLR_INVALID;
    const POINT d = ToDevice(dc->st, x, y);
    const int ix = d.x + s.origin.x(), iy = d.y + s.origin.y();
    if (!in_clip(s, ix, iy))
        return CLR_INVALID;
    const uint32_t px = s.mono ? SnapMono(Rgb(color)) : Rgb(color);
    s.bits[static_cast<qsizetype>(iy) * s.stride + ix] = px;
    Touched(s, QRect(ix, iy, 1, 1));
    return ColorOf(px);
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return CLR_INVALID;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return CLR_INVALID;
    const POINT d = ToDevice(dc->st, x, y);
    const int ix = d.x + s.origin.x(), iy = d.y + s.origin.y();
    if (!in_clip(s, ix, iy))
        return CLR_INVALID;
    return ColorOf(s.bits[static_cast<qsizetype>(iy) * s.stride + ix]);
}

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type)
{
    Dc* dc = FindDc(hdc);
    if (!dc || (type != FLOODFILLBORDER && type != FLOODFILLSURFACE))
        return FALSE;
    Surface s = Acquire(*dc);
    if (!s.ok())
        return FALSE;
    const POINT d = ToDevice(dc->st, x, y);
    const int sx = d.x + s.origin.x(), sy = d.y + s.origin.y();
    if (!in_clip(s, sx, sy))
        return FALSE;
    DcState st = dc->st;
    st.rop2 = R2_COPYPEN;
    const auto brush = BrushPaint(s, st, dc->st.brush.get());
    const uint32_t key = (s.mono ? SnapMono(Rgb(color)) : Rgb(color)) & 0xFFFFFF;
    const QRect cb = s.clipBounds;
    const int w = cb.width();
    // 1 = inside the clip and not yet taken.
    std::vector<uint8_t> open(static_cast<size_t>(w) * static_cast<size_t>(cb.height()), 0);
    for (const QRect& r : *s.clip)
        for (int yy = r.top(); yy <= r.bottom(); ++yy)
            std::fill_n(open.begin() + (yy - cb.top()) * w + (r.left() - cb.left()), r.width(), 1);
    auto fillable = [&](int px, int py) {
        if (!open[static_cast<size_t>((py - cb.top()) * w + (px - cb.left()))])
            return false;
        const uint32_t c = s.bits[static_cast<qsizetype>(py) * s.stride + px] & 0xFFFFFF;
        return type == FLOODFILLBORDER ? c != key : c == key;
    };
    if (!fillable(sx, sy))
        return FALSE;
    struct Run {
        int y, x0, x1;
    };
    std::vector<Run> runs;
    std::vector<QPoint> stack{QPoint(sx, sy)};
    while (!stack.empty()) {
        const QPoint pt = stack.back();
        stack.pop_back();
        const int py = pt.y();
        if (!fillable(pt.x(), py))
            continue;
        int a = pt.x(), b = pt.x();
        while (a > cb.left() && fillable(a - 1, py))
            --a;
        while (b < cb.right() && fillable(b + 1, py))
            ++b;
        std::fill_n(open.begin() + (py - cb.top()) * w + (a - cb.left()), b - a + 1, 0);
        runs.push_back(Run{py, a, b});
        for (int ny : {py - 1, py + 1}) {
            if (ny < cb.top() || ny > cb.bottom())
                continue;
            bool inRun = false;
            for (int xx = a; xx <= b; ++xx) {
                const bool f = fillable(xx, ny);
                if (f && !inRun)
                    stack.emplace_back(xx, ny);
                inRun = f;
            }
        }
    }
    // Painted after the search so the brush never changes what is searched.
    QRect touched;
    if (brush)
        for (const Run& r : runs) {
            FillSpan(s, r.y, r.x0, r.x1 + 1, *brush);
            touched |= QRect(r.x0, r.y, r.x1 - r.x0 + 1, 1);
        }
    Touched(s, touched);
    return TRUE;
}

BOOL FloodFill(HDC hdc, int x, int y, COLORREF border)
{
    return ExtFloodFill(hdc, x, y, border, FLOODFILLBORDER);
}

} // namespace plat
