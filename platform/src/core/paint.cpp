// Surfaces, invalid regions, the paint cycle, window DCs and flushing.
#include "core/core_p.h"
#include "core/widgets_p.h"
#include "gdi/dc_target_p.h"
#include "gdi/gdi_p.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include <QPainter>
#include <QPaintEvent>
#include <QTimer>
#include <set>

namespace plat {

namespace core {

namespace {

// Draws into a window's current surface, whatever its size is by now.
class WindowTarget final : public detail::DcTarget {
public:
    WindowTarget(HWND hwnd, uint64_t gen, QPoint origin) : hwnd_(hwnd), gen_(gen), origin_(origin) {}
    QImage* image() override
    {
        WindowRec* r = rec();
        if (!r || !r->hasSurface || r->surface.isNull())
            return nullptr;
        return &r->surface;
    }
    void touched(const QRect& rect) override
    {
        if (rec())
            NoteDrawn(hwnd_, rect);
    }
    QPoint origin() const override { return origin_; }

private:
    WindowRec* rec() const
    {
        WindowRec* r = Find(hwnd_);
        return r && r->gen == gen_ ? r : nullptr;
    }
    HWND hwnd_;
    uint64_t gen_;
    QPoint origin_;
};

QTimer* g_paintTimer = nullptr;
// Windows drawn on since their last blit; busy waits flush at every
// GetTickCount, so an empty flush must cost nothing.
std::set<HWND> g_dirty;
bool g_flushing = false;
int g_paintEventDepth = 0;

QRegion region_of(HRGN rgn, bool* ok)
{
    auto r = gdi::Find<gdi::Region>(rgn, gdi::Kind::Region);
    *ok = r != nullptr;
    return r ? r->rgn : QRegion();
}

void invalidate(WindowRec& r, const QRegion& rgn, bool erase)
{
    // A Qt-backed control paints itself; it only needs telling.
    if (!r.hasSurface) {
        if (r.client)
            r.client->update(rgn);
        return;
    }
    const QRegion add = rgn.intersected(r.clientRect());
    if (add.isEmpty())
        return;
    r.invalid |= add;
    if (erase)
        r.erase = true;
    SchedulePaint();
}

} // namespace

bool IsShowing(const WindowRec& r) { return IsWindowVisible(r.hwnd) != FALSE; }

void InvalidateAll(WindowRec& r, bool erase, bool children)
{
    invalidate(r, QRegion(r.clientRect()), erase);
    if (!children)
        return;
    for (HWND c : r.children)
        if (WindowRec* k = Find(c))
            InvalidateAll(*k, erase, true);
}

void ResizeSurface(WindowRec& r, const QSize& oldSize)
{
    detail::EndPainting(&r.surface);
    const QSize size = r.clientSize();
    if (size.isEmpty()) {
        r.surface = QImage();
        r.invalid = QRegion();
        return;
    }
    QImage next(size, QImage::Format_RGB32);
    next.fill(Qt::white);
    if (!r.surface.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, r.surface);
    }
    r.surface = std::move(next);
    r.invalid &= QRegion(r.clientRect());
    const bool redrawAll = ((r.classStyle & CS_HREDRAW) && size.width() != oldSize.width()) ||
                           ((r.classStyle & CS_VREDRAW) && size.height() != oldSize.height());
    if (redrawAll)
        invalidate(r, QRegion(r.clientRect()), true);
    else
        invalidate(r, QRegion(r.clientRect()).subtracted(QRegion(QRect(QPoint(0, 0), oldSize))), true);
}

void SchedulePaint()
{
    if (!g_paintTimer) {
        g_paintTimer = new QTimer();
        g_paintTimer->setSingleShot(true);
        g_paintTimer->setInterval(0);
        QObject::connect(g_paintTimer, &QTimer::timeout, [] { QtEntry([] { ProcessPaints(); }, false); });
    }
    if (!g_paintTimer->isActive())
        g_paintTimer->start();
}

void PaintWindow(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    if (!r || !r->hasSurface || r->invalid.isEmpty() || !IsShowing(*r) || r->paintDepth > 0 || r->destroying)
        return;
    r->beganPaint = false;
    ++r->paintDepth;
    SendMessage(hwnd, WM_PAINT, 0, 0);
    r = Find(hwnd);
    if (!r)
        return;
    --r->paintDepth;
    // A handler that never called BeginPaint still leaves the window valid,
    // or it would be asked again forever.
    if (!r->beganPaint) {
        r->invalid = QRegion();
        r->erase = false;
    }
    r->beganPaint = false;
}

void ProcessPaints()
{
    for (HWND h : AllWindows())
        PaintWindow(h);
}

void NoteDrawn(HWND hwnd, const QRect& rect)
{
    WindowRec* r = Find(hwnd);
    if (!r || rect.isEmpty())
        return;
    r->dirty |= rect;
    g_dirty.insert(hwnd);
    if (r->client && !g_flushing)
        r->client->update(rect);
}

void FlushWindow(WindowRec& r)
{
    if (r.dirty.isEmpty() || !r.client)
        return;
    const QRect d = r.dirty;
    r.dirty = QRect();
    if (r.client->isVisible() && g_paintEventDepth == 0)
        r.client->repaint(d);
}

void PaintClient(HWND hwnd, QWidget* w, QPaintEvent* e)
{
    ++g_paintEventDepth;
    // Only a blit; a WM_PAINT still pending goes first so the picture is
    // current.
    QtEntry([&] { PaintWindow(hwnd); }, false);
    --g_paintEventDepth;
    WindowRec* r = Find(hwnd);
    QPainter p(w);
    if (!r || r->surface.isNull()) {
        p.fillRect(e->rect(), Qt::white);
        return;
    }
    detail::EndPainting(&r->surface);
    if (e->rect().contains(r->dirty))
        r->dirty = QRect();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(e->rect(), r->surface, e->rect());
}

void PaintNonClient(HWND hwnd, QWidget* w)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return;
    QPainter p(w);
    const QRect all(QPoint(0, 0), r->rect.size());
    QRect box = all;
    auto frame = [&](COLORREF tl, COLORREF br) {
        if (box.width() <= 0 || box.height() <= 0)
            return;
        p.fillRect(QRect(box.left(), box.top(), box.width(), 1), QColor(detail::ToQRgb(tl)));
        p.fillRect(QRect(box.left(), box.top(), 1, box.height()), QColor(detail::ToQRgb(tl)));
        p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), QColor(detail::ToQRgb(br)));
        p.fillRect(QRect(box.right(), box.top(), 1, box.height()), QColor(detail::ToQRgb(br)));
        box.adjust(1, 1, -1, -1);
    };
    const bool top = !(r->style & WS_CHILD);
    if ((r->style & WS_CAPTION) == WS_BORDER || ((r->style & WS_BORDER) && !top && (r->style & WS_CAPTION) == WS_CAPTION))
        frame(GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
    if (r->exStyle & WS_EX_CLIENTEDGE) {
        frame(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        frame(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    }
    if (r->exStyle & WS_EX_STATICEDGE)
        frame(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    // The corner between two bars.
    if ((r->style & WS_VSCROLL) && (r->style & WS_HSCROLL))
        p.fillRect(QRect(box.right() + 1 - 16, box.bottom() + 1 - 16, 16, 16),
                   QColor(detail::ToQRgb(GetSysColor(COLOR_BTNFACE))));
}

} // namespace core

using namespace core;

void FlushSurfaces()
{
    if (g_flushing || g_dirty.empty())
        return;
    g_flushing = true;
    detail::EndAllPainting();
    const std::set<HWND> dirty = std::move(g_dirty);
    g_dirty.clear();
    for (HWND h : dirty)
        if (WindowRec* r = Find(h))
            FlushWindow(*r);
    g_flushing = false;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    if (!rect)
        invalidate(*r, QRegion(r->clientRect()), erase != FALSE);
    else if (rect->right > rect->left && rect->bottom > rect->top)
        invalidate(*r, QRegion(QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1))),
                   erase != FALSE);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    if (!rgn)
        return InvalidateRect(hwnd, nullptr, erase);
    bool ok = false;
    const QRegion q = region_of(rgn, &ok);
    if (!ok)
        return FALSE;
    invalidate(*r, q, erase != FALSE);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    if (!rect) {
        r->invalid = QRegion();
        r->erase = false;
    } else if (rect->right > rect->left && rect->bottom > rect->top) {
        r->invalid -= QRegion(QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)));
        if (r->invalid.isEmpty())
            r->erase = false;
    }
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    if (!rgn)
        return ValidateRect(hwnd, nullptr);
    bool ok = false;
    const QRegion q = region_of(rgn, &ok);
    if (!ok)
        return FALSE;
    r->invalid -= q;
    if (r->invalid.isEmpty())
        r->erase = false;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    if (!Find(hwnd))
        return FALSE;
    // The window, then its children: the classic update reaches them all.
    PaintWindow(hwnd);
    for (HWND h : AllWindows())
        if (IsChild(hwnd, h))
            PaintWindow(h);
    FlushSurfaces();
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    const QRect b = r->invalid.boundingRect();
    if (rect) {
        if (b.isEmpty())
            *rect = RECT{};
        else
            *rect = RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    }
    if (erase && r->erase && !b.isEmpty()) {
        HDC dc = GetDC(hwnd);
        r->erase = false;
        SendMessage(hwnd, WM_ERASEBKGND, dc, 0);
        ReleaseDC(hwnd, dc);
    }
    return b.isEmpty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    WindowRec* r = Find(hwnd);
    auto dst = gdi::Find<gdi::Region>(rgn, gdi::Kind::Region);
    if (!r || !dst)
        return ERROR;
    const QRegion q = r->invalid;
    dst->rgn = q;
    GetUpdateRect(hwnd, nullptr, erase);
    if (q.isEmpty())
        return NULLREGION;
    return q.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps)
{
    WindowRec* r = Find(hwnd);
    if (!r || !ps)
        return 0;
    const QRegion region = r->invalid.intersected(r->clientRect());
    const bool erase = r->erase;
    r->invalid = QRegion();
    r->erase = false;
    r->beganPaint = true;
    auto target = std::make_shared<WindowTarget>(hwnd, r->gen, QPoint());
    const HDC hdc = detail::CreateTargetDC(target, &region);
    *ps = PAINTSTRUCT{};
    ps->hdc = hdc;
    const QRect b = region.boundingRect();
    if (!b.isEmpty())
        ps->rcPaint = RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    // The background is erased here, inside the paint, as the classic
    // BeginPaint does; fErase tells the handler it was not.
    ps->fErase = FALSE;
    if (erase) {
        const LRESULT done = SendMessage(hwnd, WM_ERASEBKGND, hdc, 0);
        ps->fErase = done ? FALSE : TRUE;
    }
    return hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps)
{
    if (!ps)
        return FALSE;
    detail::ReleaseTargetDC(ps->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (hwnd == 0 || hwnd == GetDesktopWindow())
        return detail::CreateScreenDC();
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    return detail::CreateTargetDC(std::make_shared<WindowTarget>(hwnd, r->gen, QPoint()));
}

HDC GetWindowDC(HWND hwnd)
{
    if (hwnd == 0 || hwnd == GetDesktopWindow())
        return detail::CreateScreenDC();
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    // Device (0, 0) is the window's corner; the non-client parts lie outside
    // the surface and take no pixels.
    return detail::CreateTargetDC(
        std::make_shared<WindowTarget>(hwnd, r->gen, QPoint(-r->nc.left(), -r->nc.top())));
}

int ReleaseDC(HWND, HDC hdc) { return detail::ReleaseTargetDC(hdc) ? 1 : 0; }

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rect, const RECT* clip)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    if (!r->hasSurface || r->surface.isNull())
        return TRUE;
    detail::EndPainting(&r->surface);
    const QRect client = r->clientRect();
    auto qrect = [](const RECT* rc) {
        return QRect(QPoint(rc->left, rc->top), QPoint(rc->right - 1, rc->bottom - 1));
    };
    const QRect src = rect ? qrect(rect).intersected(client) : client;
    const QRect clipRect = clip ? qrect(clip).intersected(client) : client;
    const QRect dst = src.translated(dx, dy).intersected(clipRect);
    if (!dst.isEmpty()) {
        const QImage copy = r->surface.copy(dst.translated(-dx, -dy));
        QPainter p(&r->surface);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(dst.topLeft(), copy);
        p.end();
        NoteDrawn(hwnd, dst);
    }
    // What the move uncovered inside the scrolled area must be drawn again;
    // an invalid area travels with the pixels.
    const QRegion area = QRegion(src).intersected(clipRect);
    QRegion moved = r->invalid.intersected(QRegion(src)).translated(dx, dy).intersected(clipRect);
    r->invalid = r->invalid.subtracted(area) | moved;
    const QRegion uncovered = area.subtracted(QRegion(dst));
    invalidate(*r, uncovered, true);
    if (!r->invalid.isEmpty())
        SchedulePaint();
    return TRUE;
}

} // namespace plat
