// Private to platform/src/gdi. Object records, the DC record and the pixel
// helpers every primitive shares.
#pragma once
#include "gdi/dc_target_p.h"
#include "plat/gdi.h"
#include <QFont>
#include <QImage>
#include <QRegion>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace plat::gdi {

enum class Kind { Pen, Brush, Font, Bitmap, Region, Palette, Dc };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    bool stock = false;
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    int style = PS_SOLID; // as drawn
    UINT givenStyle = PS_SOLID;
    int width = 1; // logical units, >= 1
    LONG logicalWidth = 0;
    COLORREF color = 0;
};

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
};

struct FontMetricsCache {
    int ascent = 0, descent = 0, em = 0, leading = 0;
    int aveWidth = 0, maxWidth = 0;
};

struct Font : Object {
    Font() : Object(Kind::Font) {}
    LOGFONT lf{};
    // Resolved lazily, per device em size (mapping modes scale it).
    struct Resolved {
        int deviceHeight = 0; // the lfHeight after mapping, device units
        QFont font;
        FontMetricsCache m;
    };
    std::vector<Resolved> resolved;
};

struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    // Always RGB32; a monochrome bitmap holds only black and white pixels and
    // is converted through the DC colours when blitted.
    QImage image;
    bool mono = false;
    HDC selectedIn = 0;
};

struct Region : Object {
    Region() : Object(Kind::Region) {}
    QRegion rgn;
};

struct Palette : Object {
    Palette() : Object(Kind::Palette) {}
};

struct DcState {
    std::shared_ptr<Pen> pen;
    HPEN hpen = 0;
    std::shared_ptr<Brush> brush;
    HBRUSH hbrush = 0;
    std::shared_ptr<Font> font;
    HFONT hfont = 0;
    HPALETTE hpal = 0;
    COLORREF text = RGB(0, 0, 0);
    COLORREF bk = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFill = ALTERNATE;
    UINT align = TA_LEFT | TA_TOP;
    POINT cp{};
    int mapMode = MM_TEXT;
    POINT wOrg{}, vOrg{};
    SIZE wExt{1, 1}, vExt{1, 1};
    bool hasClip = false;
    QRegion clip; // device units
};

struct Dc : Object {
    Dc() : Object(Kind::Dc) {}
    enum class DcKind { Memory, Target } dcKind = DcKind::Memory;
    std::shared_ptr<detail::DcTarget> target;
    std::optional<QRegion> paintClip; // device units
    std::shared_ptr<Bitmap> bitmap;   // memory DCs
    HBITMAP hbitmap = 0;
    DcState st;
    std::vector<DcState> saved;
    int styleStep = 0; // position in the pen's on/off pattern

    // Cached effective clip in image coordinates.
    QSize clipForSize{-1, -1};
    bool clipDirty = true;
    std::vector<QRect> clipRects;
    QRect clipBounds;
};

// ---- handle table ---------------------------------------------------------

HGDIOBJ AddObject(std::shared_ptr<Object> obj);
std::shared_ptr<Object> FindObject(HGDIOBJ h);
template <class T>
std::shared_ptr<T> Find(HGDIOBJ h, Kind k)
{
    auto o = FindObject(h);
    if (!o || o->kind != k)
        return nullptr;
    return std::static_pointer_cast<T>(o);
}
Dc* FindDc(HDC h);
void RemoveObject(HGDIOBJ h);
std::shared_ptr<Brush> SysColorBrushObject(int index);
// Brush handles may also be "COLOR_x + 1".
std::shared_ptr<Brush> ResolveBrush(HBRUSH h);
HBITMAP DefaultBitmapHandle();

void InitDcDefaults(Dc& dc);

// ---- surfaces -------------------------------------------------------------

// Everything a primitive needs about where it draws, in image coordinates.
struct Surface {
    QImage* img = nullptr;
    uint32_t* bits = nullptr;
    qsizetype stride = 0; // in pixels
    QPoint origin;        // device (0, 0) in the image
    bool mono = false;
    const std::vector<QRect>* clip = nullptr;
    QRect clipBounds;
    Dc* dc = nullptr;
    bool ok() const { return bits != nullptr && !clipBounds.isEmpty(); }
};

// A null surface when there is nothing to draw into.
Surface Acquire(Dc& dc);
// Reports the drawn rectangle (image coordinates) to the target.
void Touched(const Surface& s, const QRect& r);
void InvalidateClip(Dc& dc);

// Logical to device (not image) coordinates.
POINT ToDevice(const DcState& st, int x, int y);
POINT ToLogical(const DcState& st, int x, int y);
// Scales a logical length along x or y to device units (always >= 0).
int ScaleX(const DcState& st, int len);
int ScaleY(const DcState& st, int len);

// ---- pixel operations -----------------------------------------------------

inline uint32_t Rgb(COLORREF c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline COLORREF ColorOf(uint32_t px)
{
    return ((px >> 16) & 0xFFu) | (px & 0xFF00u) | ((px & 0xFFu) << 16);
}
// What a colour becomes in a monochrome bitmap.
inline uint32_t SnapMono(uint32_t px)
{
    const int sum = static_cast<int>(((px >> 16) & 0xFF) + ((px >> 8) & 0xFF) + (px & 0xFF));
    return sum >= 384 ? 0xFFFFFFFFu : 0xFF000000u;
}

// A binary raster operation: bit (P * 2 + D) of (rop2 - 1) gives the result.
inline uint32_t ApplyRop2(int rop2, uint32_t p, uint32_t d)
{
    uint32_t r;
    switch (rop2) {
    case R2_COPYPEN: r = p; break;
    case R2_XORPEN: r = p ^ d; break;
    case R2_NOT: r = ~d; break;
    case R2_NOP: r = d; break;
    default: {
        const unsigned t = static_cast<unsigned>(rop2 - 1) & 0xF;
        r = 0;
        if (t & 1) r |= ~p & ~d;
        if (t & 2) r |= ~p & d;
        if (t & 4) r |= p & ~d;
        if (t & 8) r |= p & d;
    }
    }
    return r | 0xFF000000u;
}

// A ternary raster operation from the code's truth-table byte: bit
// (P * 4 + S * 2 + D) gives the result.
inline uint32_t ApplyRop3(unsigned t, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t r = 0;
    if (t & 0x01) r |= ~p & ~s & ~d;
    if (t & 0x02) r |= ~p & ~s & d;
    if (t & 0x04) r |= ~p & s & ~d;
    if (t & 0x08) r |= ~p & s & d;
    if (t & 0x10) r |= p & ~s & ~d;
    if (t & 0x20) r |= p & ~s & d;
    if (t & 0x40) r |= p & s & ~d;
    if (t & 0x80) r |= p & s & d;
    return r | 0xFF000000u;
}

// The same, with the common codes spelt out: the branch is predictable
// within a blit, the eight-term sum is not cheap.
inline uint32_t ApplyRop3Fast(unsigned t, uint32_t p, uint32_t s, uint32_t d)
{
    switch (t) {
    case 0xCC: return s | 0xFF000000u;        // SRCCOPY
    case 0x88: return (s & d) | 0xFF000000u;  // SRCAND
    case 0xEE: return (s | d) | 0xFF000000u;  // SRCPAINT
    case 0x66: return (s ^ d) | 0xFF000000u;  // SRCINVERT
    case 0x33: return ~s | 0xFF000000u;       // NOTSRCCOPY
    case 0xF0: return p | 0xFF000000u;        // PATCOPY
    case 0x5A: return (p ^ d) | 0xFF000000u;  // PATINVERT
    case 0x55: return ~d | 0xFF000000u;       // DSTINVERT
    case 0xC0: return (p & s) | 0xFF000000u;  // MERGECOPY
    case 0x00: return 0xFF000000u;            // BLACKNESS
    case 0xFF: return 0xFFFFFFFFu;            // WHITENESS
    default: return ApplyRop3(t, p, s, d);
    }
}

// How a span is painted: a solid colour or a hatch, through a ROP2.
struct Paint {
    uint32_t color = 0xFF000000u;
    int rop2 = R2_COPYPEN;
    bool hatched = false;
    int hatch = 0;
    bool hatchBkOpaque = false;
    uint32_t hatchBk = 0xFFFFFFFFu;
};
// Null when the brush paints nothing.
std::optional<Paint> BrushPaint(const Surface& s, const DcState& st, const Brush* brush);
Paint PenPaint(const Surface& s, const DcState& st, COLORREF color);
bool HatchBit(int hatch, int x, int y);

// Paints pixels [x0, x1) of row y (image coordinates), clipped.
void FillSpan(Surface& s, int y, int x0, int x1, const Paint& p);
void FillRectImage(Surface& s, const QRect& r, const Paint& p);

// A 1-pixel line in image coordinates, end pixel excluded (unless
// includeLast). styleStep advances for styled pens.
struct LineStyle {
    const int* pattern = nullptr; // null = solid
    int count = 0;
    int total = 0;
    bool gapsOpaque = false;
    Paint gap;
};
LineStyle StyleFor(const Surface& s, const DcState& st, const Pen& pen);
void DrawLine1(Surface& s, int x0, int y0, int x1, int y1, const Paint& p, const LineStyle& style,
               int& styleStep, bool includeLast, QRect& touched);

// Scan-converts polygons with pixel centres at integer coordinates, pixels
// at x with xa <= x < xb per crossing pair.
struct PolyF {
    std::vector<QPointF> pts;
};
void FillPolygons(Surface& s, const std::vector<PolyF>& polys, bool winding, const Paint& p,
                  QRect& touched);

// ---- text -----------------------------------------------------------------

const Font::Resolved& ResolveFont(Font& f, const DcState& st);
QString FromAnsi(const char* text, int length);

} // namespace plat::gdi
