// The GDI handle table and the objects in it: pens, brushes, fonts, bitmaps,
// regions, palettes; stock objects; GetObject, DeleteObject.
#include "gdi/gdi_p.h"
#include "kernel/handles_p.h"
#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace plat::gdi {
namespace {

constexpr HGDIOBJ SYSCOLOR_BRUSH_BASE = STOCK_HANDLE_BASE + 0x100;
constexpr int STOCK_COUNT = 18;
constexpr int DEFAULT_BITMAP = 21; // the 1x1 monochrome bitmap of new memory DCs
constexpr int SYSCOLOR_COUNT = 31;
// Keeps a bitmap's pixels addressable with int arithmetic and bounded in size.
constexpr int64_t MAX_BITMAP_PIXELS = int64_t(1) << 26;

struct Table {
    std::unordered_map<HGDIOBJ, std::shared_ptr<Object>> objects;
    std::array<std::shared_ptr<Object>, STOCK_COUNT> stock{};
    std::shared_ptr<Bitmap> defaultBitmap;
    std::array<std::shared_ptr<Brush>, SYSCOLOR_COUNT> sysBrushes{};
};

Table& table()
{
    static Table t;
    return t;
}

std::shared_ptr<Brush> make_brush(UINT style, COLORREF color, int hatch = 0)
{
    auto b = std::make_shared<Brush>();
    b->style = style;
    b->color = color & 0x00FFFFFF;
    b->hatch = hatch;
    return b;
}

std::shared_ptr<Pen> make_pen(int style, int width, COLORREF color)
{
    auto p = std::make_shared<Pen>();
    p->style = style;
    p->logicalWidth = width;
    p->width = std::max(1, width);
    p->color = color & 0x00FFFFFF;
    p->givenStyle = static_cast<UINT>(style);
    return p;
}

std::shared_ptr<Font> make_font(LONG height, LONG weight, BYTE pitchAndFamily, const char* face)
{
    auto f = std::make_shared<Font>();
    f->lf.lfHeight = height;
    f->lf.lfWeight = weight;
    f->lf.lfCharSet = ANSI_CHARSET;
    f->lf.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
    return f;
}

std::shared_ptr<Object> make_stock(int index)
{
    std::shared_ptr<Object> o;
    switch (index) {
    case WHITE_BRUSH: o = make_brush(BS_SOLID, RGB(255, 255, 255)); break;
    case LTGRAY_BRUSH: o = make_brush(BS_SOLID, RGB(192, 192, 192)); break;
    case GRAY_BRUSH: o = make_brush(BS_SOLID, RGB(128, 128, 128)); break;
    case DKGRAY_BRUSH: o = make_brush(BS_SOLID, RGB(64, 64, 64)); break;
    case BLACK_BRUSH: o = make_brush(BS_SOLID, RGB(0, 0, 0)); break;
    case NULL_BRUSH: o = make_brush(BS_NULL, 0); break;
    case WHITE_PEN: o = make_pen(PS_SOLID, 0, RGB(255, 255, 255)); break;
    case BLACK_PEN: o = make_pen(PS_SOLID, 0, RGB(0, 0, 0)); break;
    case NULL_PEN: o = make_pen(PS_NULL, 0, 0); break;
    case OEM_FIXED_FONT: o = make_font(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal"); break;
    case ANSI_FIXED_FONT: o = make_font(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier"); break;
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT: o = make_font(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"); break;
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: o = make_font(-13, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"); break;
    case SYSTEM_FIXED_FONT: o = make_font(-13, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys"); break;
    case DEFAULT_PALETTE: o = std::make_shared<Palette>(); break;
    default: return nullptr;
    }
    o->stock = true;
    return o;
}

std::shared_ptr<Bitmap> default_bitmap()
{
    auto& t = table();
    if (!t.defaultBitmap) {
        t.defaultBitmap = std::make_shared<Bitmap>();
        t.defaultBitmap->image = QImage(1, 1, QImage::Format_RGB32);
        t.defaultBitmap->image.fill(0xFF000000u);
        t.defaultBitmap->mono = true;
        t.defaultBitmap->stock = true;
    }
    return t.defaultBitmap;
}

int region_type(const QRegion& r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect rect_of(int l, int t, int r, int b)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    return QRect(l, t, r - l, b - t);
}

} // namespace

HGDIOBJ AddObject(std::shared_ptr<Object> obj)
{
    // The process-wide counter (ids below 0x10000 are windows'), never
    // reused, so a stale handle of any kind never names a newer object.
    const HGDIOBJ h = NextObjectHandle();
    if (h >= STOCK_HANDLE_BASE)
        return 0; // two billion objects later: refuse rather than collide
    table().objects.emplace(h, std::move(obj));
    return h;
}

std::shared_ptr<Object> FindObject(HGDIOBJ h)
{
    auto& t = table();
    if (h >= STOCK_HANDLE_BASE) {
        const HGDIOBJ i = h - STOCK_HANDLE_BASE;
        if (i < STOCK_COUNT) {
            if (!t.stock[i])
                t.stock[i] = make_stock(static_cast<int>(i));
            return t.stock[i];
        }
        if (i == DEFAULT_BITMAP)
            return default_bitmap();
        if (h >= SYSCOLOR_BRUSH_BASE && h < SYSCOLOR_BRUSH_BASE + SYSCOLOR_COUNT)
            return SysColorBrushObject(static_cast<int>(h - SYSCOLOR_BRUSH_BASE));
        return nullptr;
    }
    auto it = t.objects.find(h);
    return it == t.objects.end() ? nullptr : it->second;
}

Dc* FindDc(HDC h)
{
    // Every primitive starts here, so no reference counting on the way.
    auto& t = table();
    auto it = t.objects.find(h);
    if (it == t.objects.end() || it->second->kind != Kind::Dc)
        return nullptr;
    return static_cast<Dc*>(it->second.get());
}

void RemoveObject(HGDIOBJ h) { table().objects.erase(h); }

std::shared_ptr<Brush> SysColorBrushObject(int index)
{
    if (index < 0 || index >= SYSCOLOR_COUNT)
        return nullptr;
    auto& b = table().sysBrushes[static_cast<size_t>(index)];
    if (!b) {
        b = make_brush(BS_SOLID, GetSysColor(index));
        b->stock = true;
    }
    return b;
}

std::shared_ptr<Brush> ResolveBrush(HBRUSH h)
{
    if (h >= 1 && h <= SYSCOLOR_COUNT)
        return SysColorBrushObject(static_cast<int>(h) - 1);
    return Find<Brush>(h, Kind::Brush);
}

HBITMAP DefaultBitmapHandle() { return STOCK_HANDLE_BASE + DEFAULT_BITMAP; }

} // namespace plat::gdi

namespace plat {
using namespace gdi;

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index >= STOCK_COUNT || index == 9)
        return 0;
    return STOCK_HANDLE_BASE + static_cast<HGDIOBJ>(index);
}

HBRUSH GetSysColorBrush(int index)
{
    if (!SysColorBrushObject(index))
        return 0;
    return SYSCOLOR_BRUSH_BASE + static_cast<HGDIOBJ>(index);
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME || width < 0)
        return 0;
    auto p = make_pen(style, width, color);
    p->givenStyle = static_cast<UINT>(style);
    // Styles exist only on one-pixel pens; a wider styled pen draws solid.
    if (style == PS_INSIDEFRAME || (p->width > 1 && style != PS_NULL))
        p->style = PS_SOLID;
    return AddObject(p);
}

HPEN CreatePenIndirect(const LOGPEN* lp)
{
    if (!lp)
        return 0;
    return CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) { return AddObject(make_brush(BS_SOLID, color)); }

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return 0;
    return AddObject(make_brush(BS_HATCHED, color, hatch));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb)
{
    if (!lb)
        return 0;
    switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_NULL: return AddObject(make_brush(BS_NULL, 0));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(lb->lbHatch), lb->lbColor);
    default: return 0;
    }
}

HFONT CreateFontIndirect(const LOGFONT* lf)
{
    if (!lf)
        return 0;
    auto f = std::make_shared<Font>();
    f->lf = *lf;
    // The face is a fixed field: whatever the caller left there, it ends
    // within it.
    f->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    return AddObject(f);
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight,
                 DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                 DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, const char* face)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic);
    lf.lfUnderline = static_cast<BYTE>(underline);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (face)
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (width < 0 || height < 0 || planes != 1)
        return 0;
    if (width == 0 || height == 0)
        return CreateBitmap(1, 1, 1, 1, nullptr);
    if (int64_t(width) * height > MAX_BITMAP_PIXELS)
        return 0;
    if (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return 0;
    auto b = std::make_shared<Bitmap>();
    b->image = QImage(width, height, QImage::Format_RGB32);
    if (b->image.isNull())
        return 0;
    b->image.fill(0xFF000000u);
    b->mono = bitsPerPixel == 1;
    if (bits) {
        const auto* src = static_cast<const uint8_t*>(bits);
        // Device-dependent rows are padded to a 16-bit boundary.
        const int rowBytes = ((width * static_cast<int>(bitsPerPixel) + 15) / 16) * 2;
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = src + static_cast<size_t>(y) * static_cast<size_t>(rowBytes);
            auto* out = reinterpret_cast<uint32_t*>(b->image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                if (bitsPerPixel == 1) {
                    const bool set = row[x / 8] & (0x80 >> (x % 8));
                    out[x] = set ? 0xFFFFFFFFu : 0xFF000000u;
                } else {
                    const uint8_t* px = row + static_cast<size_t>(x) * (bitsPerPixel / 8);
                    out[x] = 0xFF000000u | (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
                }
            }
        }
    }
    return AddObject(b);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    if (width < 0 || height < 0)
        return 0;
    if (width == 0 || height == 0)
        return CreateBitmap(1, 1, 1, 1, nullptr);
    bool mono = false;
    if (hdc) {
        Dc* dc = FindDc(hdc);
        if (!dc)
            return 0;
        // The classic trap: a fresh memory DC still holds its monochrome
        // default bitmap, so its "compatible" bitmap is monochrome too.
        mono = dc->dcKind == Dc::DcKind::Memory && dc->bitmap && dc->bitmap->mono;
    }
    return CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    auto r = std::make_shared<Region>();
    r->rgn = QRegion(rect_of(left, top, right, bottom));
    return AddObject(r);
}

HRGN CreateRectRgnIndirect(const RECT* rc)
{
    if (!rc)
        return 0;
    return CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom);
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom)
{
    auto r = Find<Region>(rgn, Kind::Region);
    if (!r)
        return FALSE;
    r->rgn = QRegion(rect_of(left, top, right, bottom));
    return TRUE;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode)
{
    auto d = Find<Region>(dest, Kind::Region);
    auto a = Find<Region>(src1, Kind::Region);
    if (!d || !a || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    if (mode == RGN_COPY) {
        d->rgn = a->rgn;
        return region_type(d->rgn);
    }
    auto b = Find<Region>(src2, Kind::Region);
    if (!b)
        return ERROR;
    switch (mode) {
    case RGN_AND: d->rgn = a->rgn.intersected(b->rgn); break;
    case RGN_OR: d->rgn = a->rgn.united(b->rgn); break;
    case RGN_XOR: d->rgn = a->rgn.xored(b->rgn); break;
    case RGN_DIFF: d->rgn = a->rgn.subtracted(b->rgn); break;
    }
    return region_type(d->rgn);
}

int GetRgnBox(HRGN rgn, RECT* rc)
{
    auto r = Find<Region>(rgn, Kind::Region);
    if (!r || !rc)
        return ERROR;
    const QRect b = r->rgn.boundingRect();
    *rc = r->rgn.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    return region_type(r->rgn);
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
    auto r = Find<Region>(rgn, Kind::Region);
    return r && r->rgn.contains(QPoint(x, y)) ? TRUE : FALSE;
}

HPALETTE CreatePalette(const LOGPALETTE* lp)
{
    if (!lp)
        return 0;
    return AddObject(std::make_shared<Palette>());
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !Find<Palette>(palette, Kind::Palette))
        return 0;
    HPALETTE old = dc->st.hpal ? dc->st.hpal : GetStockObject(DEFAULT_PALETTE);
    dc->st.hpal = palette;
    return old;
}

UINT RealizePalette(HDC) { return 0; }

DWORD GetObjectType(HGDIOBJ obj)
{
    auto o = FindObject(obj);
    if (!o)
        return 0;
    switch (o->kind) {
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Font: return OBJ_FONT;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Region: return OBJ_REGION;
    case Kind::Palette: return OBJ_PAL;
    case Kind::Dc: return static_cast<Dc*>(o.get())->dcKind == Dc::DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
    }
    return 0;
}

int GetObject(HGDIOBJ obj, int size, void* buffer)
{
    auto o = FindObject(obj);
    if (!o || size < 0)
        return 0;
    auto give = [&](const void* data, int n) {
        if (!buffer)
            return n;
        const int copied = std::min(n, size);
        std::memcpy(buffer, data, static_cast<size_t>(copied));
        return copied;
    };
    switch (o->kind) {
    case Kind::Pen: {
        auto* p = static_cast<Pen*>(o.get());
        LOGPEN lp{p->givenStyle, POINT{p->logicalWidth, 0}, p->color};
        return give(&lp, sizeof lp);
    }
    case Kind::Brush: {
        auto* b = static_cast<Brush*>(o.get());
        LOGBRUSH lb{b->style, b->color, static_cast<uintptr_t>(b->hatch)};
        return give(&lb, sizeof lb);
    }
    case Kind::Font: return give(&static_cast<Font*>(o.get())->lf, sizeof(LOGFONT));
    case Kind::Bitmap: {
        auto* b = static_cast<Bitmap*>(o.get());
        BITMAP bm{};
        bm.bmWidth = b->image.width();
        bm.bmHeight = b->image.height();
        bm.bmPlanes = 1;
        bm.bmBitsPixel = b->mono ? 1 : 32;
        bm.bmWidthBytes = b->mono ? ((bm.bmWidth + 15) / 16) * 2 : bm.bmWidth * 4;
        return give(&bm, sizeof bm);
    }
    case Kind::Palette: {
        const WORD entries = 0;
        return give(&entries, sizeof entries);
    }
    default: return 0;
    }
}

BOOL DeleteObject(HGDIOBJ obj)
{
    auto o = FindObject(obj);
    if (!o || o->kind == Kind::Dc)
        return FALSE;
    if (o->stock)
        return TRUE; // harmless, and the object stays
    if (o->kind == Kind::Bitmap && static_cast<Bitmap*>(o.get())->selectedIn)
        return FALSE;
    // A pen, brush or font still selected keeps drawing through the DC's
    // own reference until something else is selected.
    RemoveObject(obj);
    return TRUE;
}

} // namespace plat
