// Test support: the message tracer, surface readback, pumping and synthetic
// input.
#include "plat/trace.h"
#include "core/core_p.h"
#include "core/widgets_p.h"
#include "gdi/dc_target_p.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <map>
#include <strings.h>

namespace plat {

namespace {

MessageTracer* g_tracer = nullptr;
std::map<HWND, WNDPROC> g_oldProcs;

LRESULT tracing_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto it = g_oldProcs.find(hwnd);
    WNDPROC old = it == g_oldProcs.end() ? DefWindowProc : it->second;
    if (g_tracer)
        g_tracer->record(TraceEntry{hwnd, msg, wParam, lParam});
    const LRESULT r = CallWindowProc(old, hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        g_oldProcs.erase(hwnd);
    return r;
}

void subclass(HWND hwnd)
{
    if (!IsWindow(hwnd) || g_oldProcs.count(hwnd))
        return;
    g_oldProcs[hwnd] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tracing_proc)));
}

void create_hook(HWND hwnd, const char* className)
{
    if (g_tracer && g_tracer->watches_class(className))
        subclass(hwnd);
}

QWidget* client_of(HWND hwnd) { return core::ClientWidgetOf(hwnd); }

QPointF global_of(HWND hwnd, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return QPointF(p.x, p.y);
}

Qt::KeyboardModifiers mods(WPARAM keys, bool alt = false)
{
    Qt::KeyboardModifiers m;
    if (keys & MK_SHIFT)
        m |= Qt::ShiftModifier;
    if (keys & MK_CONTROL)
        m |= Qt::ControlModifier;
    if (alt)
        m |= Qt::AltModifier;
    return m;
}

Qt::MouseButton button_of(Button b)
{
    switch (b) {
    case Button::Right: return Qt::RightButton;
    case Button::Middle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
    }
}

Qt::MouseButtons held_of(WPARAM keys)
{
    Qt::MouseButtons b;
    if (keys & MK_LBUTTON)
        b |= Qt::LeftButton;
    if (keys & MK_RBUTTON)
        b |= Qt::RightButton;
    if (keys & MK_MBUTTON)
        b |= Qt::MiddleButton;
    return b;
}

void send_mouse(HWND hwnd, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, int x, int y,
                WPARAM keys)
{
    QWidget* w = client_of(hwnd);
    if (!w)
        return;
    QPointF local(x, y);
    // A list or other scrolled control takes the mouse in its viewport, as
    // the window system would deliver it there.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w); area && area->viewport()) {
        local = area->viewport()->mapFrom(w, QPoint(x, y));
        w = area->viewport();
    }
    QMouseEvent e(type, local, local, global_of(hwnd, x, y), button, buttons, mods(keys));
    QCoreApplication::sendEvent(w, &e);
    core::RethrowPending();
}

} // namespace

MessageTracer::MessageTracer()
{
    core::EnsureCoreInit();
    g_tracer = this;
    core::SetCreateHook(create_hook);
}

MessageTracer::~MessageTracer()
{
    for (auto& [hwnd, old] : g_oldProcs)
        if (GetWindowLongPtr(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(tracing_proc))
            SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    g_oldProcs.clear();
    if (g_tracer == this) {
        g_tracer = nullptr;
        core::SetCreateHook(nullptr);
    }
}

void MessageTracer::Watch(HWND hwnd) { subclass(hwnd); }
void MessageTracer::WatchClass(const char* className) { classes_.emplace_back(className); }

void MessageTracer::Ignore(std::initializer_list<UINT> msgs) { ignored_.insert(msgs.begin(), msgs.end()); }

void MessageTracer::record(const TraceEntry& e)
{
    if (!ignored_.count(e.msg))
        entries_.push_back(e);
}

bool MessageTracer::watches_class(const char* className) const
{
    for (const std::string& c : classes_)
        if (strcasecmp(c.c_str(), className) == 0)
            return true;
    return false;
}

std::vector<UINT> MessageTracer::messages() const
{
    std::vector<UINT> out;
    for (const TraceEntry& e : entries_)
        out.push_back(e.msg);
    return out;
}

std::vector<UINT> MessageTracer::messages(HWND hwnd) const
{
    std::vector<UINT> out;
    for (const TraceEntry& e : entries_)
        if (e.hwnd == hwnd)
            out.push_back(e.msg);
    return out;
}

COLORREF GetSurfacePixel(HWND hwnd, int x, int y)
{
    core::WindowRec* r = core::Find(hwnd);
    if (!r || r->surface.isNull() || !r->surface.rect().contains(x, y))
        return CLR_INVALID;
    detail::EndPainting(&r->surface);
    return detail::FromQRgb(r->surface.pixel(x, y));
}

COLORREF GetShownPixel(HWND hwnd, int x, int y)
{
    QWidget* w = client_of(hwnd);
    if (!w || !w->isVisible() || !w->rect().contains(x, y))
        return CLR_INVALID;
    QWidget* top = w->window();
    QScreen* screen = top->screen();
    if (!screen)
        return CLR_INVALID;
    // The screen grab reads what was flushed; QWidget::grab would paint anew.
    const QPoint at = w->mapTo(top, QPoint(x, y));
    const QImage img = screen->grabWindow(top->winId(), at.x(), at.y(), 1, 1).toImage();
    if (img.isNull() || img.width() < 1)
        return CLR_INVALID;
    return detail::FromQRgb(img.pixel(0, 0));
}

BOOL SaveSurfacePng(HWND hwnd, const char* path)
{
    core::WindowRec* r = core::Find(hwnd);
    if (!r || r->surface.isNull() || !path)
        return FALSE;
    detail::EndPainting(&r->surface);
    return r->surface.save(QString::fromLocal8Bit(path), "PNG") ? TRUE : FALSE;
}

BOOL SaveWindowPng(HWND hwnd, const char* path)
{
    core::WindowRec* r = core::Find(hwnd);
    if (!r || !r->frame || !path)
        return FALSE;
    FlushSurfaces();
    return r->frame->grab().save(QString::fromLocal8Bit(path), "PNG") ? TRUE : FALSE;
}

BOOL GetWindowCursorPicture(HWND hwnd, SIZE* size, POINT* hotSpot, std::vector<uint32_t>* argb)
{
    core::WindowRec* r = core::Find(hwnd);
    if (!r || !r->client)
        return FALSE;
    const QCursor c = r->client->cursor();
    if (c.shape() != Qt::BitmapCursor)
        return FALSE;
    const QImage img = c.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    if (size)
        *size = SIZE{img.width(), img.height()};
    if (hotSpot)
        *hotSpot = POINT{c.hotSpot().x(), c.hotSpot().y()};
    if (argb) {
        argb->clear();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                argb->push_back(img.pixel(x, y));
    }
    return TRUE;
}

void PumpEvents(int ms)
{
    core::EnsureCoreInit();
    core::RethrowPending();
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, std::max(1, ms - static_cast<int>(t.elapsed())));
        core::RethrowPending();
    } while (t.elapsed() < ms);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    core::RethrowPending();
}

WORD SetNextWindowIdForTest(WORD next) { return core::SetNextFreshId(next); }

void ResetWindowsForTest()
{
    core::EnsureCoreInit();
    SetIdleHandler(nullptr);
    for (HWND h : core::AllWindows())
        if (core::WindowRec* r = core::Find(h); r && !(r->style & WS_CHILD))
            DestroyWindow(h);
    core::DiscardAllWindows();
    core::KillTimers(0);
    MSG m;
    while (PeekMessage(&m, 0, 0, 0, PM_REMOVE | PM_NOYIELD)) {
    }
    try {
        core::RethrowPending();
    } catch (...) {
        // The test that left it has already failed or checked it.
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void SimulateMouseDown(HWND hwnd, Button b, int x, int y, WPARAM keys)
{
    const Qt::MouseButton qb = button_of(b);
    send_mouse(hwnd, QEvent::MouseButtonPress, qb, qb | held_of(keys), x, y, keys);
}

void SimulateMouseUp(HWND hwnd, Button b, int x, int y, WPARAM keys)
{
    send_mouse(hwnd, QEvent::MouseButtonRelease, button_of(b), held_of(keys) & ~button_of(b), x, y, keys);
}

void SimulateMouseDoubleClick(HWND hwnd, Button b, int x, int y, WPARAM keys)
{
    const Qt::MouseButton qb = button_of(b);
    send_mouse(hwnd, QEvent::MouseButtonDblClick, qb, qb | held_of(keys), x, y, keys);
}

void SimulateMouseMove(HWND hwnd, int x, int y, WPARAM held)
{
    send_mouse(hwnd, QEvent::MouseMove, Qt::NoButton, held_of(held), x, y, held);
}

FrameLook GetFrameLook(HWND hwnd)
{
    FrameLook look;
    core::WindowRec* r = core::Find(hwnd);
    if (!r || (r->style & WS_CHILD) || !r->frame)
        return look;
    const Qt::WindowFlags f = r->frame->windowFlags();
    const bool framed = !(f & Qt::FramelessWindowHint);
    // A window manager keeps a dialog-kind window above the window it names.
    if ((r->frame->windowType() == Qt::Dialog || r->frame->windowType() == Qt::Tool) && r->frame->parentWidget())
        look.keptAbove = core::HwndOfWidget(r->frame->parentWidget());
    const bool custom = f & Qt::CustomizeWindowHint;
    look.title = framed && (!custom || (f & Qt::WindowTitleHint));
    look.close = framed && (!custom || (f & Qt::WindowCloseButtonHint));
    look.minimize = framed && (!custom || (f & Qt::WindowMinimizeButtonHint));
    look.maximize = framed && (!custom || (f & Qt::WindowMaximizeButtonHint));
    look.resizable = framed && r->frame->minimumSize() != r->frame->maximumSize();
    return look;
}

void SimulateKeyDown(HWND hwnd, UINT vk, const char* text, WPARAM keys, bool alt)
{
    QWidget* w = client_of(hwnd);
    if (!w)
        return;
    bool keypad = false;
    const int key = core::QtKeyForVk(vk, &keypad);
    Qt::KeyboardModifiers m = mods(keys, alt);
    if (keypad)
        m |= Qt::KeypadModifier;
    QKeyEvent e(QEvent::KeyPress, key, m, QString::fromUtf8(text ? text : ""));
    QCoreApplication::sendEvent(w, &e);
    core::RethrowPending();
}

void SimulateKeyUp(HWND hwnd, UINT vk, WPARAM keys, bool alt)
{
    QWidget* w = client_of(hwnd);
    if (!w)
        return;
    bool keypad = false;
    const int key = core::QtKeyForVk(vk, &keypad);
    Qt::KeyboardModifiers m = mods(keys, alt);
    if (keypad)
        m |= Qt::KeypadModifier;
    QKeyEvent e(QEvent::KeyRelease, key, m);
    QCoreApplication::sendEvent(w, &e);
    core::RethrowPending();
}

void SimulateScroll(HWND hwnd, int bar, WORD code)
{
    core::WindowRec* r = core::Find(hwnd);
    if (!r || (bar != SB_HORZ && bar != SB_VERT) || !r->scroll[bar])
        return;
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    switch (code) {
    case SB_LINEUP: action = QAbstractSlider::SliderSingleStepSub; break;
    case SB_LINEDOWN: action = QAbstractSlider::SliderSingleStepAdd; break;
    case SB_PAGEUP: action = QAbstractSlider::SliderPageStepSub; break;
    case SB_PAGEDOWN: action = QAbstractSlider::SliderPageStepAdd; break;
    case SB_TOP: action = QAbstractSlider::SliderToMinimum; break;
    case SB_BOTTOM: action = QAbstractSlider::SliderToMaximum; break;
    default: return;
    }
    r->scroll[bar]->triggerAction(action);
    core::RethrowPending();
    core::ScrollReleased(hwnd, bar);
    core::RethrowPending();
}

void SimulateClose(HWND hwnd)
{
    core::FrameWidget* f = core::FrameOf(hwnd);
    if (!f)
        return;
    QCloseEvent e;
    QCoreApplication::sendEvent(f, &e);
    core::RethrowPending();
}

} // namespace plat
