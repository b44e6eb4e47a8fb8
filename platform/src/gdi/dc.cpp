// DC records: creation over targets and bitmaps, state, mapping, clipping,
// object selection, SaveDC/RestoreDC.
#include "gdi/gdi_p.h"
#include "plat/config.h"
#include <algorithm>
#include <cmath>
#include <utility>

namespace plat::gdi {
namespace {

// Device coordinates are kept within 27 bits, as classic GDI's are, so no
// arithmetic on them can overflow.
constexpr int64_t COORD_LIMIT = int64_t(1) << 27;

LONG clamp_coord(int64_t v) { return static_cast<LONG>(std::clamp(v, -COORD_LIMIT, COORD_LIMIT)); }

// GDI rounds mapped coordinates to the nearest integer, halves away from 0.
LONG mul_div(int64_t v, int64_t num, int64_t den)
{
    if (den == 0)
        return 0;
    const double r = static_cast<double>(v) * static_cast<double>(num) / static_cast<double>(den);
    return clamp_coord(std::llround(std::clamp(r, -double(COORD_LIMIT), double(COORD_LIMIT))));
}

QRect device_rect(int l, int t, int r, int b)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    return QRect(l, t, r - l, b - t);
}

// The device area a DC can reach, in device units.
QRegion device_area(Dc& dc)
{
    QSize size;
    QPoint origin;
    if (dc.dcKind == Dc::DcKind::Memory) {
        if (dc.bitmap)
            size = dc.bitmap->image.size();
    } else if (dc.target) {
        if (QImage* img = dc.target->image())
            size = img->size();
        origin = dc.target->origin();
    }
    QRegion r(QRect(-origin, size));
    if (dc.paintClip)
        r &= *dc.paintClip;
    return r;
}

int region_type(const QRegion& r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

class ScreenTarget : public detail::DcTarget {
public:
    QImage* image() override
    {
        const SIZE d = DesktopSize();
        if (screen_.width() != d.cx || screen_.height() != d.cy) {
            screen_ = QImage(d.cx, d.cy, QImage::Format_RGB32);
            screen_.fill(Rgb(GetSysColor(COLOR_BACKGROUND)));
        }
        return &screen_;
    }
    void touched(const QRect&) override {}

private:
    static inline QImage screen_;
};

} // namespace

void InitDcDefaults(Dc& dc)
{
    dc.st = DcState{};
    dc.st.hpen = GetStockObject(BLACK_PEN);
    dc.st.pen = Find<Pen>(dc.st.hpen, Kind::Pen);
    dc.st.hbrush = GetStockObject(WHITE_BRUSH);
    dc.st.brush = Find<Brush>(dc.st.hbrush, Kind::Brush);
    dc.st.hfont = GetStockObject(SYSTEM_FONT);
    dc.st.font = Find<Font>(dc.st.hfont, Kind::Font);
}

void InvalidateClip(Dc& dc) { dc.clipDirty = true; }

Surface Acquire(Dc& dc)
{
    Surface s;
    QImage* img = nullptr;
    if (dc.dcKind == Dc::DcKind::Memory) {
        if (dc.bitmap) {
            img = &dc.bitmap->image;
            s.mono = dc.bitmap->mono;
        }
    } else if (dc.target) {
        img = dc.target->image();
        s.origin = dc.target->origin();
    }
    if (!img || img->isNull() || img->format() != QImage::Format_RGB32)
        return s;
    if (dc.clipDirty || dc.clipForSize != img->size()) {
        QRegion r(QRect(QPoint(0, 0), img->size()));
        if (dc.paintClip)
            r &= dc.paintClip->translated(s.origin);
        if (dc.st.hasClip)
            r &= dc.st.clip.translated(s.origin);
        dc.clipRects.assign(r.begin(), r.end());
        dc.clipBounds = r.boundingRect();
        dc.clipForSize = img->size();
        dc.clipDirty = false;
    }
    s.img = img;
    s.bits = reinterpret_cast<uint32_t*>(img->bits());
    s.stride = img->bytesPerLine() / 4;
    s.clip = &dc.clipRects;
    s.clipBounds = dc.clipBounds;
    s.dc = &dc;
    return s;
}

void Touched(const Surface& s, const QRect& r)
{
    if (!s.dc || s.dc->dcKind != Dc::DcKind::Target || !s.dc->target)
        return;
    const QRect c = r.intersected(s.clipBounds);
    if (!c.isEmpty())
        s.dc->target->touched(c);
}

POINT ToDevice(const DcState& st, int x, int y)
{
    if (st.mapMode == MM_TEXT)
        return POINT{clamp_coord(int64_t(x) - st.wOrg.x + st.vOrg.x), clamp_coord(int64_t(y) - st.wOrg.y + st.vOrg.y)};
    return POINT{clamp_coord(int64_t(mul_div(int64_t(x) - st.wOrg.x, st.vExt.cx, st.wExt.cx)) + st.vOrg.x),
                 clamp_coord(int64_t(mul_div(int64_t(y) - st.wOrg.y, st.vExt.cy, st.wExt.cy)) + st.vOrg.y)};
}

POINT ToLogical(const DcState& st, int x, int y)
{
    if (st.mapMode == MM_TEXT)
        return POINT{clamp_coord(int64_t(x) - st.vOrg.x + st.wOrg.x), clamp_coord(int64_t(y) - st.vOrg.y + st.wOrg.y)};
    return POINT{clamp_coord(int64_t(mul_div(int64_t(x) - st.vOrg.x, st.wExt.cx, st.vExt.cx)) + st.wOrg.x),
                 clamp_coord(int64_t(mul_div(int64_t(y) - st.vOrg.y, st.wExt.cy, st.vExt.cy)) + st.wOrg.y)};
}

int ScaleX(const DcState& st, int len)
{
    if (st.mapMode == MM_TEXT)
        return clamp_coord(std::llabs(int64_t(len)));
    return std::abs(mul_div(len, st.vExt.cx, st.wExt.cx));
}

int ScaleY(const DcState& st, int len)
{
    if (st.mapMode == MM_TEXT)
        return clamp_coord(std::llabs(int64_t(len)));
    return std::abs(mul_div(len, st.vExt.cy, st.wExt.cy));
}

} // namespace plat::gdi

namespace plat::detail {
using namespace plat::gdi;

HDC CreateTargetDC(std::shared_ptr<DcTarget> target, const QRegion* paintClip)
{
    if (!target)
        return 0;
    auto dc = std::make_shared<Dc>();
    dc->dcKind = Dc::DcKind::Target;
    dc->target = std::move(target);
    if (paintClip)
        dc->paintClip = *paintClip;
    InitDcDefaults(*dc);
    return AddObject(dc);
}

BOOL ReleaseTargetDC(HDC hdc)
{
    Dc* dc = FindDc(hdc);
    if (!dc || dc->dcKind != Dc::DcKind::Target)
        return FALSE;
    RemoveObject(hdc);
    return TRUE;
}

DcTarget* TargetOf(HDC hdc)
{
    Dc* dc = FindDc(hdc);
    return dc && dc->dcKind == Dc::DcKind::Target ? dc->target.get() : nullptr;
}

HDC CreateScreenDC() { return CreateTargetDC(std::make_shared<ScreenTarget>()); }

void EndPainting(QImage*) {}
void EndAllPainting() {}

bool BrushColor(HBRUSH brush, COLORREF* color)
{
    auto b = ResolveBrush(brush);
    if (!b || b->style == BS_NULL)
        return false;
    if (color)
        *color = b->color;
    return true;
}

QRgb ToQRgb(COLORREF c) { return Rgb(c); }
COLORREF FromQRgb(QRgb c) { return ColorOf(c); }

} // namespace plat::detail

namespace plat {
using namespace gdi;

HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc && !FindDc(hdc))
        return 0;
    auto dc = std::make_shared<Dc>();
    dc->dcKind = Dc::DcKind::Memory;
    dc->hbitmap = DefaultBitmapHandle();
    dc->bitmap = Find<Bitmap>(dc->hbitmap, Kind::Bitmap);
    InitDcDefaults(*dc);
    return AddObject(dc);
}

BOOL DeleteDC(HDC hdc)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    if (dc->dcKind == Dc::DcKind::Target)
        return detail::ReleaseTargetDC(hdc);
    if (dc->bitmap && !dc->bitmap->stock)
        dc->bitmap->selectedIn = 0;
    RemoveObject(hdc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj)
{
    Dc* dc = FindDc(hdc);
    auto o = FindObject(obj);
    if (!dc || !o)
        return 0;
    HGDIOBJ old = 0;
    switch (o->kind) {
    case Kind::Pen:
        old = dc->st.hpen;
        dc->st.hpen = obj;
        dc->st.pen = std::static_pointer_cast<Pen>(o);
        dc->styleStep = 0;
        return old;
    case Kind::Brush:
        old = dc->st.hbrush;
        dc->st.hbrush = obj;
        dc->st.brush = std::static_pointer_cast<Brush>(o);
        return old;
    case Kind::Font:
        old = dc->st.hfont;
        dc->st.hfont = obj;
        dc->st.font = std::static_pointer_cast<Font>(o);
        return old;
    case Kind::Bitmap: {
        if (dc->dcKind != Dc::DcKind::Memory)
            return 0;
        auto b = std::static_pointer_cast<Bitmap>(o);
        if (b == dc->bitmap)
            return obj;
        // A bitmap lives in one DC at a time.
        if (!b->stock && b->selectedIn)
            return 0;
        old = dc->hbitmap;
        if (dc->bitmap && !dc->bitmap->stock)
            dc->bitmap->selectedIn = 0;
        dc->bitmap = b;
        dc->hbitmap = obj;
        if (!b->stock)
            b->selectedIn = hdc;
        InvalidateClip(*dc);
        return old;
    }
    case Kind::Region: return static_cast<HGDIOBJ>(SelectClipRgn(hdc, obj));
    default: return 0;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return 0;
    switch (type) {
    case OBJ_PEN: return dc->st.hpen;
    case OBJ_BRUSH: return dc->st.hbrush;
    case OBJ_FONT: return dc->st.hfont;
    case OBJ_BITMAP: return dc->dcKind == Dc::DcKind::Memory ? dc->hbitmap : 0;
    case OBJ_PAL: return dc->st.hpal ? dc->st.hpal : GetStockObject(DEFAULT_PALETTE);
    default: return 0;
    }
}

int SaveDC(HDC hdc)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return 0;
    dc->saved.push_back(dc->st);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved)
{
    Dc* dc = FindDc(hdc);
    if (!dc || saved == 0)
        return FALSE;
    const int depth = static_cast<int>(dc->saved.size());
    const int level = saved < 0 ? depth + saved + 1 : saved;
    if (level < 1 || level > depth)
        return FALSE;
    dc->st = dc->saved[static_cast<size_t>(level - 1)];
    dc->saved.resize(static_cast<size_t>(level - 1));
    dc->styleStep = 0;
    InvalidateClip(*dc);
    return TRUE;
}

#define PLAT_DC_OR(fail)                                                                          \
    Dc* dc = FindDc(hdc);                                                                          \
    if (!dc)                                                                                       \
        return fail;

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    PLAT_DC_OR(CLR_INVALID)
    return std::exchange(dc->st.text, color & 0x00FFFFFF);
}
COLORREF GetTextColor(HDC hdc)
{
    PLAT_DC_OR(CLR_INVALID)
    return dc->st.text;
}
COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    PLAT_DC_OR(CLR_INVALID)
    return std::exchange(dc->st.bk, color & 0x00FFFFFF);
}
COLORREF GetBkColor(HDC hdc)
{
    PLAT_DC_OR(CLR_INVALID)
    return dc->st.bk;
}
int SetBkMode(HDC hdc, int mode)
{
    PLAT_DC_OR(0)
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(dc->st.bkMode, mode);
}
int GetBkMode(HDC hdc)
{
    PLAT_DC_OR(0)
    return dc->st.bkMode;
}
int SetROP2(HDC hdc, int rop2)
{
    PLAT_DC_OR(0)
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return std::exchange(dc->st.rop2, rop2);
}
int GetROP2(HDC hdc)
{
    PLAT_DC_OR(0)
    return dc->st.rop2;
}
int SetPolyFillMode(HDC hdc, int mode)
{
    PLAT_DC_OR(0)
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return std::exchange(dc->st.polyFill, mode);
}
UINT SetTextAlign(HDC hdc, UINT align)
{
    PLAT_DC_OR(GDI_ERROR)
    return std::exchange(dc->st.align, align);
}
UINT GetTextAlign(HDC hdc)
{
    PLAT_DC_OR(GDI_ERROR)
    return dc->st.align;
}

int SetMapMode(HDC hdc, int mode)
{
    PLAT_DC_OR(0)
    if (mode != MM_TEXT && mode != MM_ANISOTROPIC)
        return 0;
    const int old = dc->st.mapMode;
    dc->st.mapMode = mode;
    if (mode == MM_TEXT)
        dc->st.wExt = dc->st.vExt = SIZE{1, 1};
    return old;
}
int GetMapMode(HDC hdc)
{
    PLAT_DC_OR(0)
    return dc->st.mapMode;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old)
{
    PLAT_DC_OR(FALSE)
    if (old)
        *old = dc->st.wOrg;
    dc->st.wOrg = POINT{x, y};
    return TRUE;
}
BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old)
{
    PLAT_DC_OR(FALSE)
    if (old)
        *old = dc->st.vOrg;
    dc->st.vOrg = POINT{x, y};
    return TRUE;
}
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, POINT* old)
{
    PLAT_DC_OR(FALSE)
    return SetWindowOrgEx(hdc, dc->st.wOrg.x + dx, dc->st.wOrg.y + dy, old);
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* old)
{
    PLAT_DC_OR(FALSE)
    return SetViewportOrgEx(hdc, dc->st.vOrg.x + dx, dc->st.vOrg.y + dy, old);
}
// Extents only matter in MM_ANISOTROPIC; elsewhere they are ignored, as
// classic GDI does.
BOOL SetWindowExtEx(HDC hdc, int x, int y, SIZE* old)
{
    PLAT_DC_OR(FALSE)
    if (old)
        *old = dc->st.wExt;
    if (dc->st.mapMode != MM_ANISOTROPIC)
        return TRUE;
    if (x == 0 || y == 0)
        return FALSE;
    dc->st.wExt = SIZE{x, y};
    return TRUE;
}
BOOL SetViewportExtEx(HDC hdc, int x, int y, SIZE* old)
{
    PLAT_DC_OR(FALSE)
    if (old)
        *old = dc->st.vExt;
    if (dc->st.mapMode != MM_ANISOTROPIC)
        return TRUE;
    if (x == 0 || y == 0)
        return FALSE;
    dc->st.vExt = SIZE{x, y};
    return TRUE;
}
BOOL GetWindowOrgEx(HDC hdc, POINT* pt)
{
    PLAT_DC_OR(FALSE)
    if (pt)
        *pt = dc->st.wOrg;
    return TRUE;
}
BOOL GetViewportOrgEx(HDC hdc, POINT* pt)
{
    PLAT_DC_OR(FALSE)
    if (pt)
        *pt = dc->st.vOrg;
    return TRUE;
}
BOOL GetWindowExtEx(HDC hdc, SIZE* size)
{
    PLAT_DC_OR(FALSE)
    if (size)
        *size = dc->st.wExt;
    return TRUE;
}
BOOL GetViewportExtEx(HDC hdc, SIZE* size)
{
    PLAT_DC_OR(FALSE)
    if (size)
        *size = dc->st.vExt;
    return TRUE;
}
BOOL LPtoDP(HDC hdc, POINT* pts, int count)
{
    PLAT_DC_OR(FALSE)
    if (!pts || count < 0)
        return FALSE;
    for (int i = 0; i < count; ++i)
        pts[i] = ToDevice(dc->st, pts[i].x, pts[i].y);
    return TRUE;
}
BOOL DPtoLP(HDC hdc, POINT* pts, int count)
{
    PLAT_DC_OR(FALSE)
    if (!pts || count < 0)
        return FALSE;
    for (int i = 0; i < count; ++i)
        pts[i] = ToLogical(dc->st, pts[i].x, pts[i].y);
    return TRUE;
}

int SelectClipRgn(HDC hdc, HRGN rgn)
{
    PLAT_DC_OR(ERROR)
    if (rgn == 0) {
        dc->st.hasClip = false;
        dc->st.clip = QRegion();
    } else {
        auto r = Find<Region>(rgn, Kind::Region);
        if (!r)
            return ERROR;
        dc->st.hasClip = true;
        dc->st.clip = r->rgn; // a copy: later edits of the region do not apply
    }
    InvalidateClip(*dc);
    return region_type(dc->st.hasClip ? dc->st.clip & device_area(*dc) : device_area(*dc));
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    PLAT_DC_OR(ERROR)
    const QRect r = device_rect(left, top, right, bottom);
    dc->st.clip = dc->st.hasClip ? dc->st.clip.intersected(r) : QRegion(r);
    dc->st.hasClip = true;
    InvalidateClip(*dc);
    return region_type(dc->st.clip & device_area(*dc));
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    PLAT_DC_OR(ERROR)
    const QRect r = device_rect(left, top, right, bottom);
    dc->st.clip = (dc->st.hasClip ? dc->st.clip : device_area(*dc)).subtracted(r);
    dc->st.hasClip = true;
    InvalidateClip(*dc);
    return region_type(dc->st.clip & device_area(*dc));
}

int GetClipBox(HDC hdc, RECT* rc)
{
    PLAT_DC_OR(ERROR)
    if (!rc)
        return ERROR;
    QRegion r = device_area(*dc);
    if (dc->st.hasClip)
        r &= dc->st.clip;
    const QRect b = r.boundingRect();
    *rc = r.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    return region_type(r);
}

#undef PLAT_DC_OR

int GetDeviceCaps(HDC hdc, int index)
{
    Dc* dc = hdc ? FindDc(hdc) : nullptr;
    if (hdc && !dc)
        return 0;
    if (dc && dc->target) {
        if (const int v = dc->target->deviceCaps(index))
            return v;
    }
    const SIZE d = DesktopSize();
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return static_cast<int>(std::lround(d.cx * 25.4 / SCREEN_DPI));
    case VERTSIZE: return static_cast<int>(std::lround(d.cy * 25.4 / SCREEN_DPI));
    case HORZRES: return d.cx;
    case VERTRES: return d.cy;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;
    case NUMFONTS: return 0;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
               RC_FLOODFILL | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return SCREEN_DPI;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;
    case COLORRES: return 24;
    default: return 0;
    }
}

} // namespace plat
