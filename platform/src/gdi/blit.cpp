// BitBlt, StretchBlt and PatBlt: every ternary raster operation evaluated on
// RGB32 pixels, monochrome bitmaps converted through the DC colours.
#include "gdi/gdi_p.h"
#include <algorithm>
#include <cstring>

namespace plat::gdi {
namespace {

struct Box {
    int left, top, width, height;
    bool mirrorX, mirrorY;
};

// Normalises a box given by its two mapped corners.
Box mapped_box(const DcState& st, int x, int y, int w, int h, QPoint origin)
{
    auto add = [](int v, int d) {
        return static_cast<int>(std::clamp<int64_t>(int64_t(v) + d, INT32_MIN, INT32_MAX));
    };
    const POINT a = ToDevice(st, x, y), b = ToDevice(st, add(x, w), add(y, h));
    Box box;
    box.mirrorX = b.x < a.x;
    box.mirrorY = b.y < a.y;
    box.left = std::min(a.x, b.x) + origin.x();
    box.top = std::min(a.y, b.y) + origin.y();
    box.width = std::abs(b.x - a.x);
    box.height = std::abs(b.y - a.y);
    return box;
}

bool blit(HDC hdest, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, DWORD rop,
          bool stretch)
{
    Dc* dst = FindDc(hdest);
    if (!dst)
        return false;
    const unsigned t = (rop >> 16) & 0xFF;
    const bool usesSrc = ((t >> 2) ^ t) & 0x33;
    const bool usesPat = ((t >> 4) ^ t) & 0x0F;
    Dc* src = nullptr;
    if (usesSrc) {
        src = FindDc(hsrc);
        if (!src)
            return false;
    }
    Surface ds = Acquire(*dst);
    if (!ds.ok())
        return true;
    const Box db = mapped_box(dst->st, x, y, w, h, ds.origin);
    if (db.width == 0 || db.height == 0)
        return true;

    uint32_t patFg = 0, patBk = 0;
    int hatch = -1;
    if (usesPat) {
        const Brush* b = dst->st.brush.get();
        if (!b || b->style == BS_NULL)
            return true; // a hollow brush paints nothing
        patFg = Rgb(b->color);
        patBk = Rgb(dst->st.bk);
        if (ds.mono) {
            patFg = SnapMono(patFg);
            patBk = SnapMono(patBk);
        }
        if (b->style == BS_HATCHED)
            hatch = b->hatch;
    }

    // Source pixels, copied when source and destination share an image so an
    // overlapping move reads what was there before.
    QImage srcCopy;
    const uint32_t* sbits = nullptr;
    qsizetype sstride = 0;
    QRect srcBounds;
    Box sb{};
    bool srcMono = false;
    uint32_t srcBkKey = 0, dstText = 0, dstBk = 0;
    if (usesSrc) {
        Surface ss = Acquire(*src);
        if (!ss.bits)
            return true;
        // BitBlt is a stretch only when the two mappings scale differently.
        sb = mapped_box(src->st, sx, sy, stretch ? sw : w, stretch ? sh : h, ss.origin);
        if (sb.width == 0 || sb.height == 0)
            return true;
        srcMono = ss.mono;
        srcBounds = QRect(QPoint(0, 0), ss.img->size());
        if (ss.img == ds.img) {
            srcCopy = ss.img->copy();
            sbits = reinterpret_cast<const uint32_t*>(srcCopy.constBits());
            sstride = srcCopy.bytesPerLine() / 4;
        } else {
            sbits = reinterpret_cast<const uint32_t*>(ss.img->constBits());
            sstride = ss.stride;
        }
        srcBkKey = Rgb(src->st.bk) & 0xFFFFFF;
        dstText = Rgb(dst->st.text);
        dstBk = Rgb(dst->st.bk);
    }
    const bool mirrorX = db.mirrorX != sb.mirrorX;
    const bool mirrorY = db.mirrorY != sb.mirrorY;
    const bool oneToOne = sb.width == db.width && sb.height == db.height && !mirrorX && !mirrorY;

    auto source = [&](uint32_t px) -> uint32_t {
        if (srcMono == ds.mono)
            return px;
        if (srcMono) // white bits take the background colour, black the text colour
            return (px & 0xFFFFFF) == 0xFFFFFF ? dstBk : dstText;
        return (px & 0xFFFFFF) == srcBkKey ? 0xFFFFFFFFu : 0xFF000000u;
    };

    const QRect dbox(db.left, db.top, db.width, db.height);
    std::vector<int> colMap;
    if (usesSrc) {
        colMap.resize(static_cast<size_t>(db.width));
        for (int i = 0; i < db.width; ++i) {
            int j = static_cast<int>((int64_t(i) * sb.width) / db.width);
            if (mirrorX)
                j = sb.width - 1 - j;
            colMap[static_cast<size_t>(i)] = sb.left + j;
        }
    }
    QRect touched;
    for (const QRect& cr : *ds.clip) {
        const QRect r = cr.intersected(dbox);
        if (r.isEmpty())
            continue;
        touched |= r;
        for (int py = r.top(); py <= r.bottom(); ++py) {
            uint32_t* line = ds.bits + static_cast<qsizetype>(py) * ds.stride;
            const uint32_t* sline = nullptr;
            if (usesSrc) {
                int j = static_cast<int>((int64_t(py - db.top) * sb.height) / db.height);
                if (mirrorY)
                    j = sb.height - 1 - j;
                const int syy = sb.top + j;
                if (syy < srcBounds.top() || syy > srcBounds.bottom())
                    continue;
                sline = sbits + static_cast<qsizetype>(syy) * sstride;
            }
            if (t == 0xCC && srcMono == ds.mono && oneToOne) {
                // Plain copy: the double-buffer path of every repaint.
                int a = r.left(), b = r.right();
                const int s0 = colMap[static_cast<size_t>(a - db.left)];
                const int s1 = colMap[static_cast<size_t>(b - db.left)];
                if (s0 < srcBounds.left())
                    a += srcBounds.left() - s0;
                if (s1 > srcBounds.right())
                    b -= s1 - srcBounds.right();
                if (a <= b)
                    std::memcpy(line + a, sline + colMap[static_cast<size_t>(a - db.left)],
                                static_cast<size_t>(b - a + 1) * 4);
                continue;
            }
            for (int px = r.left(); px <= r.right(); ++px) {
                uint32_t s = 0;
                if (usesSrc) {
                    const int sxx = colMap[static_cast<size_t>(px - db.left)];
                    if (sxx < srcBounds.left() || sxx > srcBounds.right())
                        continue;
                    s = source(sline[sxx]);
                }
                uint32_t p = patFg;
                if (hatch >= 0 && !HatchBit(hatch, px - ds.origin.x(), py - ds.origin.y()))
                    p = patBk;
                line[px] = ApplyRop3Fast(t, p, s, line[px]);
            }
        }
    }
    Touched(ds, touched);
    return true;
}

} // namespace
} // namespace plat::gdi

namespace plat {
using namespace gdi;

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop)
{
    return blit(dest, x, y, width, height, src, srcX, srcY, width, height, rop, false) ? TRUE : FALSE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop)
{
    return blit(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop, true) ? TRUE : FALSE;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    if (((t >> 2) ^ t) & 0x33)
        return FALSE; // needs a source
    return blit(hdc, x, y, width, height, 0, 0, 0, 0, 0, rop, false) ? TRUE : FALSE;
}

} // namespace plat
