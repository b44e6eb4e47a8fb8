// The window table: classes, creation and destruction, state, geometry,
// relations, long values and the default procedure.
#include "core/core_p.h"
#include "plat/controls.h"
#include "core/widgets_p.h"
#include "host/host_p.h"
#include "ipc/ipc_p.h"
#include "plat/link.h"
#include "plat/config.h"
#include "plat/gdi.h"
#include "plat/modal.h"
#include "plat/loop.h"
#include "text_qt_p.h"
#include <QApplication>
#include <algorithm>
#include <cstring>
#include <deque>
#include <strings.h>

namespace plat {

namespace core {

namespace {

struct Table {
    std::map<WORD, std::unique_ptr<WindowRec>> windows;
    std::deque<WORD> freed;   // oldest first
    WORD nextFresh = 1;
    uint64_t nextGen = 1;
    std::vector<HWND> order;  // creation order, live windows
    WORD tag = 0;
    HWND mainWindow = 0;
    std::vector<ClassRec> classes;
    ATOM nextAtom = 0xC000;
    CreateHook createHook = nullptr;
};

Table& T()
{
    static Table t;
    return t;
}

bool same_name(const std::string& a, const char* b)
{
    return b && strcasecmp(a.c_str(), b) == 0;
}

ClassRec* find_class(const char* name)
{
    for (ClassRec& c : T().classes)
        if (same_name(c.name, name))
            return &c;
    return nullptr;
}

WORD alloc_id()
{
    Table& t = T();
    // Fresh ids first, so a stale handle stays dead as long as possible; then
    // the oldest freed one.
    if (t.nextFresh <= 0xFFFE)
        return t.nextFresh++;
    if (t.freed.empty())
        return 0;
    const WORD id = t.freed.front();
    t.freed.pop_front();
    return id;
}

QWidget* widget_for_host(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    return r ? r->frame : nullptr;
}

void flush_handler() { FlushSurfaces(); }

ATOM add_class(const WNDCLASS& wc, WidgetFactory factory)
{
    if (!wc.lpszClassName || !*wc.lpszClassName || !wc.lpfnWndProc)
        return 0;
    if (find_class(wc.lpszClassName))
        return 0;
    ClassRec c;
    c.name = wc.lpszClassName;
    c.atom = T().nextAtom++;
    c.style = wc.style;
    c.proc = wc.lpfnWndProc;
    c.inst = wc.hInstance;
    c.cursor = wc.hCursor;
    c.brush = wc.hbrBackground;
    c.factory = factory;
    T().classes.push_back(c);
    return c.atom;
}

void register_builtin()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProc;
    wc.hCursor = LoadCursor(0, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "PlatWnd";
    add_class(wc, nullptr);
}

} // namespace

Qt::WindowFlags TopLevelFlags(DWORD style, DWORD exStyle, bool owned)
{
    Qt::WindowFlags f;
    if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION) {
        f = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    } else {
        // An owned window stays above its owner: the window manager is told
        // so through the dialog kind (a transient window). The frame shows
        // only the buttons the styles ask for.
        f = (owned ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
        if ((style & WS_CAPTION) == WS_CAPTION)
            f |= Qt::WindowTitleHint;
        if (style & WS_SYSMENU)
            f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((style & WS_SYSMENU) && (style & WS_MINIMIZEBOX))
            f |= Qt::WindowMinimizeButtonHint;
        if ((style & WS_SYSMENU) && (style & WS_MAXIMIZEBOX))
            f |= Qt::WindowMaximizeButtonHint;
    }
    if (exStyle & WS_EX_TOPMOST)
        f |= Qt::WindowStaysOnTopHint;
    return f;
}

namespace {

void free_record(HWND hwnd)
{
    Table& t = T();
    WindowRec* r = Find(hwnd);
    if (!r)
        return;
    KillTimers(hwnd);
    DropPosts(hwnd);
    ForgetInputState(hwnd);
    if (WindowRec* p = Find(r->parent))
        std::erase(p->children, hwnd);
    std::erase(t.order, hwnd);
    if (r->frame) {
        r->frame->hide();
        r->frame->deleteLater();
    }
    const WORD id = LOWORD(hwnd);
    t.windows.erase(id);
    t.freed.push_back(id);
}

void send_destroy(HWND hwnd)
{
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    WindowRec* r = Find(hwnd);
    if (!r)
        return;
    const std::vector<HWND> kids = r->children;
    for (HWND c : kids)
        if (Find(c))
            send_destroy(c);
}

void send_ncdestroy(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return;
    const std::vector<HWND> kids = r->children;
    for (HWND c : kids)
        send_ncdestroy(c);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    free_record(hwnd);
}

void mark_destroying(WindowRec& r)
{
    r.destroying = true;
    for (HWND c : r.children)
        if (WindowRec* k = Find(c))
            mark_destroying(*k);
}

// Sends WM_MOVE and WM_SIZE for what changed.
void notify_geometry(HWND hwnd, const QPoint& oldOrigin, const QSize& oldClient, bool creating)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return;
    const QSize cs = r->clientSize();
    QPoint origin = r->rect.topLeft() + QPoint(r->nc.left(), r->nc.top());
    const bool moved = creating || origin != oldOrigin;
    const bool sized = creating || cs != oldClient;
    auto send_size = [&] {
        WindowRec* w = Find(hwnd);
        if (!w)
            return;
        const QSize s = w->clientSize();
        SendMessage(hwnd, WM_SIZE, w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    MAKELPARAM(s.width(), s.height()));
    };
    auto send_move = [&] {
        WindowRec* w = Find(hwnd);
        if (!w)
            return;
        const QPoint o = w->rect.topLeft() + QPoint(w->nc.left(), w->nc.top());
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(o.x(), o.y()));
    };
    // Creation reports the size first; later changes come as the classic
    // position-changed handling sends them: move, then size.
    if (creating) {
        send_size();
        send_move();
    } else {
        if (moved)
            send_move();
        if (sized)
            send_size();
    }
}

} // namespace

WindowRec* Find(HWND hwnd)
{
    Table& t = T();
    if (hwnd == 0 || HIWORD(hwnd) != t.tag)
        return nullptr;
    auto it = t.windows.find(LOWORD(hwnd));
    return it == t.windows.end() ? nullptr : it->second.get();
}

std::vector<HWND> AllWindows() { return T().order; }

bool IsTopLevel(const WindowRec* r) { return r && !(r->style & WS_CHILD); }

HWND TopLevelOf(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    while (r && (r->style & WS_CHILD)) {
        WindowRec* p = Find(r->parent);
        if (!p)
            break;
        r = p;
    }
    return r ? r->hwnd : 0;
}

void EnsureCoreInit()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    if (!QApplication::instance())
        InitGui();
    SetWidgetForHwnd(widget_for_host);
    SetFlushHandler(flush_handler);
    register_builtin();
    // The control classes are built in too (their module registers them).
    InitControls();
}

void SetCreateHook(CreateHook hook) { T().createHook = hook; }

WORD SetNextFreshId(WORD next)
{
    Table& t = T();
    const WORD old = t.nextFresh;
    t.nextFresh = std::max<WORD>(1, next);
    t.freed.clear();
    return old;
}

void DiscardAllWindows()
{
    // Children before parents, so each frame leaves its parent's list first.
    std::vector<HWND> all = T().order;
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        free_record(*it);
    T().mainWindow = 0;
}

ATOM RegisterWidgetClass(const WNDCLASS& wc, WidgetFactory factory)
{
    EnsureCoreInit();
    return add_class(wc, factory);
}

FrameWidget* FrameOf(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    return r ? r->frame : nullptr;
}

QWidget* ClientWidgetOf(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    return r ? r->client : nullptr;
}

HWND HwndOfWidget(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        if (auto c = dynamic_cast<const ClientWidget*>(w)) {
            WindowRec* r = Find(c->hwnd());
            return r && r->gen == c->gen() ? r->hwnd : 0;
        }
        if (auto f = dynamic_cast<const FrameWidget*>(w)) {
            WindowRec* r = Find(f->hwnd());
            return r && r->gen == f->gen() ? r->hwnd : 0;
        }
        if (w->isWindow())
            break;
    }
    return 0;
}

QMargins ComputeNonClient(const WindowRec& r)
{
    int edge = 0;
    const bool top = !(r.style & WS_CHILD);
    // A top-level caption window gets its frame from the window system.
    if ((r.style & WS_CAPTION) == WS_BORDER || ((r.style & WS_BORDER) && !top && (r.style & WS_CAPTION) == WS_CAPTION))
        edge += 1;
    if (r.exStyle & WS_EX_CLIENTEDGE)
        edge += 2;
    if (r.exStyle & WS_EX_STATICEDGE)
        edge += 1;
    QMargins m(edge, edge, edge, edge);
    if (r.style & WS_VSCROLL)
        m.setRight(m.right() + 16);
    if (r.style & WS_HSCROLL)
        m.setBottom(m.bottom() + 16);
    m.setTop(m.top() + r.menuBarHeight);
    return m;
}

QPoint ClientOrigin(const WindowRec& r)
{
    QPoint p = r.rect.topLeft() + QPoint(r.nc.left(), r.nc.top());
    if (r.style & WS_CHILD)
        if (WindowRec* parent = Find(r.parent))
            p += ClientOrigin(*parent);
    return p;
}

bool ApplyGeometry(WindowRec& r, const QRect& oldClient)
{
    r.nc = ComputeNonClient(r);
    const QSize cs = r.clientSize();
    if (r.frame) {
        r.frame->applying = true;
        r.frame->setGeometry(r.rect);
        // Without a sizing border the window manager offers no resizing
        // (nor maximizing) either.
        if (!(r.style & WS_CHILD) && (r.style & WS_CAPTION) == WS_CAPTION && !(r.style & WS_THICKFRAME))
            r.frame->setFixedSize(r.rect.size());
        r.frame->applying = false;
        r.client->setGeometry(r.nc.left(), r.nc.top(), cs.width(), cs.height());
        // The bars lie right of and below the client area, inside the edges
        // (and below a menu bar).
        const QRect client(QPoint(r.nc.left(), r.nc.top()), cs);
        for (int bar = 0; bar < 2; ++bar) {
            const bool want = (r.style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
            if (want && !r.scroll[bar]) {
                auto* b = new BarWidget(r.hwnd, bar, bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, r.frame);
                r.scroll[bar] = b;
                b->applying = true;
                b->setRange(r.bars[bar].min, r.bars[bar].max);
                b->setValue(r.bars[bar].pos);
                b->applying = false;
            }
            if (!r.scroll[bar])
                continue;
            if (bar == SB_VERT)
                r.scroll[bar]->setGeometry(client.left() + cs.width(), client.top(), 16, cs.height());
            else
                r.scroll[bar]->setGeometry(client.left(), client.top() + cs.height(), cs.width(), 16);
            r.scroll[bar]->setVisible(want);
        }
        r.frame->update();
    }
    if (r.hasSurface && cs != oldClient.size())
        ResizeSurface(r, oldClient.size());
    return cs != oldClient.size();
}

void DecorationChanged(HWND hwnd, const QMargins& decor)
{
    WindowRec* r = Find(hwnd);
    if (!r || (r->style & WS_CHILD) || r->decor == decor)
        return;
    const QMargins old = r->decor;
    r->decor = decor;
    // A maximized window is the window manager's to place.
    if (r->maximized || r->frame->isMaximized())
        return;
    const QRect outer = old.isNull() && r->askedBeforeDecor ? r->askedOuter : r->rect.marginsAdded(old);
    r->askedBeforeDecor = false;
    SetWindowPos(hwnd, 0, outer.x(), outer.y(), outer.width(), outer.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeGeometryChanged(HWND hwnd, const QRect& rect)
{
    WindowRec* r = Find(hwnd);
    if (!r || r->rect == rect)
        return;
    const QPoint oldOrigin = r->rect.topLeft() + QPoint(r->nc.left(), r->nc.top());
    const QRect oldClient = r->clientRect();
    r->rect = rect;
    ApplyGeometry(*r, oldClient);
    notify_geometry(hwnd, oldOrigin, oldClient.size(), false);
}

} // namespace core

using namespace core;

// ---- process tag -------------------------------------------------------------

void SetProcessTag(WORD tag) { T().tag = tag; }
WORD GetProcessTag() { return T().tag; }

// ---- classes -----------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS* wc)
{
    EnsureCoreInit();
    return wc ? add_class(*wc, nullptr) : 0;
}

BOOL UnregisterClass(const char* name, HINSTANCE)
{
    EnsureCoreInit();
    auto& cs = T().classes;
    for (auto it = cs.begin(); it != cs.end(); ++it) {
        if (!same_name(it->name, name))
            continue;
        for (HWND h : T().order)
            if (same_name(Find(h)->className, name))
                return FALSE;
        cs.erase(it);
        return TRUE;
    }
    return FALSE;
}

BOOL GetClassInfo(HINSTANCE, const char* name, WNDCLASS* out)
{
    EnsureCoreInit();
    ClassRec* c = find_class(name);
    if (!c || !out)
        return FALSE;
    *out = WNDCLASS{};
    out->style = c->style;
    out->lpfnWndProc = c->proc;
    out->hInstance = c->inst;
    out->hCursor = c->cursor;
    out->hbrBackground = c->brush;
    out->lpszClassName = c->name.c_str();
    return TRUE;
}

// ---- creation ------------------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE inst, void* lpParam)
{
    EnsureCoreInit();
    Table& t = T();
    const ClassRec* found = find_class(className);
    if (!found)
        return 0;
    // A copy: handlers may register classes while this window is made.
    const ClassRec classCopy = *found;
    const ClassRec* cls = &classCopy;
    const bool child = (style & WS_CHILD) != 0;
    WindowRec* parentRec = Find(parent);
    if (child && !parentRec)
        return 0;
    if (parent && !parentRec)
        return 0;
    const WORD id = alloc_id();
    if (id == 0)
        return 0;

    auto rec = std::make_unique<WindowRec>();
    WindowRec& r = *rec;
    r.hwnd = (static_cast<HWND>(t.tag) << 16) | id;
    r.gen = t.nextGen++;
    r.className = cls->name;
    r.classStyle = cls->style;
    r.proc = cls->proc;
    r.style = style & ~WS_VISIBLE;
    r.exStyle = exStyle;
    r.inst = inst;
    r.cursor = cls->cursor;
    r.brush = cls->brush;
    r.text = windowName ? windowName : "";
    r.hasSurface = cls->factory == nullptr;
    if (child) {
        r.parent = parent;
        r.id = menu;
    } else if (parent) {
        r.owner = TopLevelOf(parent);
    }
    if (!child) {
        const SIZE desk = DesktopSize();
        if (x == CW_USEDEFAULT) {
            x = desk.cx / 8;
            y = desk.cy / 8;
        }
        if (width == CW_USEDEFAULT) {
            width = desk.cx * 3 / 4;
            height = desk.cy * 3 / 4;
        }
    } else {
        if (x == CW_USEDEFAULT)
            x = y = 0;
        if (width == CW_USEDEFAULT)
            width = height = 0;
    }
    r.rect = QRect(x, y, std::max(0, width), std::max(0, height));
    r.nc = ComputeNonClient(r);
    const HWND hwnd = r.hwnd;
    t.windows[id] = std::move(rec);
    t.order.push_back(hwnd);
    if (parentRec && child)
        parentRec->children.push_back(hwnd);

    // Widgets: a child lies over its parent's client widget; a top-level
    // window is a Qt window, owned ones parented to their owner's frame.
    QWidget* qparent = nullptr;
    Qt::WindowFlags flags;
    if (child) {
        qparent = parentRec->client;
    } else {
        WindowRec* o = Find(r.owner);
        flags = TopLevelFlags(style, exStyle, o != nullptr);
        if (o)
            qparent = o->frame;
    }
    r.frame = new FrameWidget(hwnd, r.gen, qparent, flags);
    if (cls->factory) {
        r.client = cls->factory(hwnd, r.frame);
    }
    if (!r.client)
        r.client = new ClientWidget(hwnd, r.gen, r.frame);
    if (!child) {
        QString title = qstr_from_ansi(r.text);
        title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
        r.frame->setWindowTitle(title);
    }
    if (style & WS_DISABLED)
        r.frame->setEnabled(false);
    r.frame->hide();
    ApplyGeometry(r, QRect());
    if (r.hasSurface)
        InvalidateAll(r, true, false);

    if (t.createHook)
        t.createHook(hwnd, cls->name.c_str());

    CREATESTRUCT cs;
    cs.lpCreateParams = lpParam;
    cs.hInstance = inst;
    cs.hMenu = child ? 0 : menu;
    cs.hwndParent = parent;
    cs.cx = r.rect.width();
    cs.cy = r.rect.height();
    cs.x = r.rect.x();
    cs.y = r.rect.y();
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    const LRESULT created = SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (!Find(hwnd))
        return 0;
    if (created == -1) {
        mark_destroying(*Find(hwnd));
        send_destroy(hwnd);
        send_ncdestroy(hwnd);
        return 0;
    }
    notify_geometry(hwnd, QPoint(), QSize(), true);
    if (!Find(hwnd))
        return 0;
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    return Find(hwnd) ? hwnd : 0;
}

HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menu, HINSTANCE inst, void* lpParam)
{
    return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu, inst,
                          lpParam);
}

BOOL DestroyWindow(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    if (!r || r->destroying)
        return FALSE;
    // Owned windows go first, in creation order.
    for (HWND h : AllWindows()) {
        WindowRec* o = Find(h);
        if (o && !(o->style & WS_CHILD) && o->owner == hwnd)
            DestroyWindow(h);
    }
    r = Find(hwnd);
    if (!r || r->destroying)
        return r ? FALSE : TRUE;
    mark_destroying(*r);
    if (r->frame)
        r->frame->hide();
    send_destroy(hwnd);
    send_ncdestroy(hwnd);
    if (T().mainWindow == hwnd) {
        T().mainWindow = 0;
        PostQuitMessage(0);
    }
    return TRUE;
}

void SetMainWindow(HWND hwnd) { T().mainWindow = Find(hwnd) ? hwnd : 0; }
HWND GetMainWindow() { return Find(T().mainWindow) ? T().mainWindow : 0; }

// ---- state -----------------------------------------------------------------------

BOOL IsWindow(HWND hwnd)
{
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(hwnd))
        return remote->winop(hwnd, static_cast<int>(LinkWinOp::Exists)) ? TRUE : FALSE;
    return Find(hwnd) || (hwnd && hwnd == GetDesktopWindow()) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmd)
{
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(hwnd))
        return remote->winop(hwnd, static_cast<int>(cmd == SW_HIDE ? LinkWinOp::Hide : LinkWinOp::Show)) ? TRUE
                                                                                                         : FALSE;
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    const BOOL was = (r->style & WS_VISIBLE) ? TRUE : FALSE;
    const bool show = cmd != SW_HIDE;
    const bool minimize = !(r->style & WS_CHILD) &&
                          (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE);
    const bool change = show != static_cast<bool>(was);
    if (change) {
        SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        r = Find(hwnd);
        if (!r)
            return was;
    }
    if (!(r->style & WS_CHILD) && show) {
        const bool maximize = cmd == SW_SHOWMAXIMIZED;
        const bool restore = cmd == SW_RESTORE || cmd == SW_SHOWNORMAL;
        // A window manager maximizes a window itself (title bar and
        // borders on the screen) and reports the size it gave; without one
        // the window takes the desktop.
        const bool managed = QGuiApplication::platformName() != QStringLiteral("offscreen");
        if (maximize && !r->maximized) {
            r->maximized = true;
            r->normalRect = r->rect;
            if (managed) {
                r->frame->showMaximized();
            } else {
                const SIZE d = DesktopSize();
                SetWindowPos(hwnd, 0, 0, 0, d.cx, d.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            }
        } else if (restore && r->maximized) {
            r->maximized = false;
            const QRect n = r->normalRect;
            if (managed)
                r->frame->showNormal();
            SetWindowPos(hwnd, 0, n.x() - r->decor.left(), n.y() - r->decor.top(),
                         n.width() + r->decor.left() + r->decor.right(),
                         n.height() + r->decor.top() + r->decor.bottom(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
        r = Find(hwnd);
        if (!r)
            return was;
    }
    if (minimize) {
        // Still visible, as an icon: the client is reported empty.
        if (change)
            r->style |= WS_VISIBLE;
        r->frame->showMinimized();
        SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
        return was;
    }
    if (!(r->style & WS_CHILD) && r->frame->isMinimized()) {
        r->frame->showNormal();
        const QSize cs = r->clientSize();
        SendMessage(hwnd, WM_SIZE, r->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    MAKELPARAM(cs.width(), cs.height()));
        r = Find(hwnd);
        if (!r)
            return was;
        InvalidateAll(*r, true, true);
    }
    if (!change)
        return was;
    if (show) {
        r->style |= WS_VISIBLE;
        const bool activate = !(r->style & WS_CHILD) && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE &&
                              cmd != SW_SHOWMINNOACTIVE;
        r->frame->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
        r->frame->show();
        if (activate && !(r->frame->windowFlags() & Qt::WindowDoesNotAcceptFocus))
            r->frame->activateWindow();
        InvalidateAll(*r, true, true);
    } else {
        r->style &= ~WS_VISIBLE;
        ForgetInputState(hwnd); // focus or capture inside a hidden window is dropped
        r->frame->hide();
    }
    return was;
}

BOOL IsWindowVisible(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    for (; r; r = (r->style & WS_CHILD) ? Find(r->parent) : nullptr)
        if (!(r->style & WS_VISIBLE))
            return FALSE;
    return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    const BOOL wasDisabled = (r->style & WS_DISABLED) ? TRUE : FALSE;
    if (static_cast<bool>(enable) == !wasDisabled)
        return wasDisabled;
    if (enable)
        r->style &= ~WS_DISABLED;
    else
        r->style |= WS_DISABLED;
    r->frame->setEnabled(enable != FALSE);
    if (!enable && IsTopLevel(r)) {
        // Owned windows are Qt children of their owner's frame, so Qt would
        // carry the owner's state down to them; a modal loop disables its
        // owner and must leave the dialog it runs working.
        for (HWND h : AllWindows()) {
            WindowRec* o = Find(h);
            if (o && o->owner == hwnd && IsTopLevel(o) && !(o->style & WS_DISABLED))
                o->frame->setEnabled(true);
        }
    }
    if (!enable) {
        if (GetCapture() == hwnd)
            ReleaseCapture();
        if (GetFocus() == hwnd)
            SetFocus(0);
    }
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    return r && !(r->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL SetWindowText(HWND hwnd, const char* text)
{
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(hwnd))
        return remote->send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
    if (!Find(hwnd))
        return FALSE;
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND hwnd, char* buf, int size)
{
    if (buf && size > 0)
        buf[0] = '\0';
    if (!Find(hwnd) || !buf || size <= 0)
        return 0;
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                        reinterpret_cast<LPARAM>(buf)));
}

int GetWindowTextLength(HWND hwnd)
{
    if (!Find(hwnd))
        return 0;
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

// ---- geometry ----------------------------------------------------------------------

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    // Another program's window: only its place in the stacking order.
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(hwnd)) {
        if ((flags & SWP_NOZORDER) || (insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST))
            return FALSE;
        return remote->winop(hwnd, static_cast<int>(insertAfter == HWND_TOPMOST ? LinkWinOp::Topmost
                                                                                 : LinkWinOp::NotTopmost))
                   ? TRUE
                   : FALSE;
    }
    WindowRec* r = Find(hwnd);
    if (!r)
        return FALSE;
    if (!(flags & SWP_NOZORDER) && !(r->style & WS_CHILD) &&
        (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)) {
        const bool top = insertAfter == HWND_TOPMOST;
        if (top)
            r->exStyle |= WS_EX_TOPMOST;
        else
            r->exStyle &= ~WS_EX_TOPMOST;
        const bool vis = r->frame->isVisible();
        r->frame->setWindowFlag(Qt::WindowStaysOnTopHint, top);
        if (vis)
            r->frame->show(); // Qt hides a window whose flags change
        r = Find(hwnd);
        if (!r)
            return TRUE;
    } else if (!(flags & SWP_NOZORDER) && insertAfter == HWND_TOP) {
        r->frame->raise();
    }
    // A top-level window is placed by its outer rectangle, the window
    // manager's frame included.
    const QMargins& d = r->decor;
    QRect nr = r->rect;
    if (!(flags & SWP_NOMOVE))
        nr.moveTo(x + d.left(), y + d.top());
    if (!(flags & SWP_NOSIZE))
        nr.setSize(QSize(std::max(0, cx - d.left() - d.right()), std::max(0, cy - d.top() - d.bottom())));
    if (!(r->style & WS_CHILD) && d.isNull()) {
        r->askedOuter = nr;
        r->askedBeforeDecor = true;
    }
    const QMargins oldNc = r->nc;
    r->nc = ComputeNonClient(*r);
    if (nr != r->rect || ((flags & SWP_FRAMECHANGED) && r->nc != oldNc)) {
        const QPoint oldOrigin = r->rect.topLeft() + QPoint(oldNc.left(), oldNc.top());
        const QRect oldClient(QPoint(0, 0), QSize(std::max(0, r->rect.width() - oldNc.left() - oldNc.right()),
                                                  std::max(0, r->rect.height() - oldNc.top() - oldNc.bottom())));
        r->rect = nr;
        ApplyGeometry(*r, oldClient);
        notify_geometry(hwnd, oldOrigin, oldClient.size(), false);
    }
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    else if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    if (!SetWindowPos(hwnd, 0, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE))
        return FALSE;
    if (repaint)
        if (WindowRec* r = Find(hwnd))
            InvalidateAll(*r, true, false);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect)
{
    if (hwnd == GetDesktopWindow() && rect) {
        const SIZE d = DesktopSize();
        *rect = RECT{0, 0, d.cx, d.cy};
        return TRUE;
    }
    WindowRec* r = Find(hwnd);
    if (!r || !rect)
        return FALSE;
    QPoint tl = r->rect.topLeft();
    if (r->style & WS_CHILD)
        if (WindowRec* p = Find(r->parent))
            tl += ClientOrigin(*p);
    const QMargins& d = r->decor;
    *rect = RECT{tl.x() - d.left(), tl.y() - d.top(), tl.x() + r->rect.width() + d.right(),
                 tl.y() + r->rect.height() + d.bottom()};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    if (hwnd == GetDesktopWindow() && rect) {
        const SIZE d = DesktopSize();
        *rect = RECT{0, 0, d.cx, d.cy};
        return TRUE;
    }
    WindowRec* r = Find(hwnd);
    if (!r || !rect)
        return FALSE;
    const QSize s = r->clientSize();
    *rect = RECT{0, 0, s.width(), s.height()};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt)
{
    WindowRec* r = Find(hwnd);
    if (!r || !pt)
        return FALSE;
    const QPoint o = ClientOrigin(*r);
    pt->x += o.x();
    pt->y += o.y();
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt)
{
    WindowRec* r = Find(hwnd);
    if (!r || !pt)
        return FALSE;
    const QPoint o = ClientOrigin(*r);
    pt->x -= o.x();
    pt->y -= o.y();
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count)
{
    QPoint a, b;
    if (from) {
        WindowRec* r = Find(from);
        if (!r)
            return 0;
        a = ClientOrigin(*r);
    }
    if (to) {
        WindowRec* r = Find(to);
        if (!r)
            return 0;
        b = ClientOrigin(*r);
    }
    const QPoint d = a - b;
    for (UINT i = 0; pts && i < count; ++i) {
        pts[i].x += d.x();
        pts[i].y += d.y();
    }
    return MAKELONG(d.x(), d.y());
}

// The desktop is no table entry: its handle is the highest local id, which
// the table never hands out.
HWND GetDesktopWindow() { return (static_cast<HWND>(T().tag) << 16) | 0xFFFF; }

HWND WindowFromPoint(POINT pt)
{
    // The latest-created visible top-level window containing the point, then
    // its deepest visible child.
    const std::vector<HWND> all = AllWindows();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        WindowRec* r = Find(*it);
        if (!r || (r->style & WS_CHILD) || !(r->style & WS_VISIBLE))
            continue;
        if (!r->rect.contains(pt.x, pt.y))
            continue;
        HWND hit = *it;
        for (bool deeper = true; deeper;) {
            deeper = false;
            WindowRec* h = Find(hit);
            for (auto c = h->children.rbegin(); c != h->children.rend(); ++c) {
                WindowRec* k = Find(*c);
                RECT wr;
                if (k && (k->style & WS_VISIBLE) && GetWindowRect(*c, &wr) && pt.x >= wr.left &&
                    pt.x < wr.right && pt.y >= wr.top && pt.y < wr.bottom) {
                    hit = *c;
                    deeper = true;
                    break;
                }
            }
        }
        return hit;
    }
    return 0;
}

// ---- relations -------------------------------------------------------------------------

HWND GetParent(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    if (r->style & WS_CHILD)
        return r->parent;
    return (r->style & WS_POPUP) ? r->owner : 0;
}

HWND GetDlgItem(HWND parent, int id)
{
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(parent))
        return remote->child(parent, id);
    WindowRec* p = Find(parent);
    if (!p)
        return 0;
    for (HWND c : p->children) {
        WindowRec* k = Find(c);
        if (k && !k->destroying && static_cast<int>(k->id) == id)
            return c;
    }
    return 0;
}

int GetDlgCtrlID(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    return r && (r->style & WS_CHILD) ? static_cast<int>(r->id) : 0;
}

namespace {
std::vector<HWND> siblings(const WindowRec& r)
{
    if (r.style & WS_CHILD) {
        WindowRec* p = Find(r.parent);
        return p ? p->children : std::vector<HWND>{};
    }
    std::vector<HWND> tops;
    for (HWND h : AllWindows())
        if (!(Find(h)->style & WS_CHILD))
            tops.push_back(h);
    return tops;
}
} // namespace

HWND GetWindow(HWND hwnd, UINT cmd)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    switch (cmd) {
    case GW_CHILD:
        return r->children.empty() ? 0 : r->children.front();
    case GW_OWNER:
        return (r->style & WS_CHILD) ? 0 : r->owner;
    case GW_HWNDFIRST:
    case GW_HWNDLAST: {
        const auto s = siblings(*r);
        return s.empty() ? 0 : (cmd == GW_HWNDFIRST ? s.front() : s.back());
    }
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        const auto s = siblings(*r);
        auto it = std::find(s.begin(), s.end(), hwnd);
        if (it == s.end())
            return 0;
        if (cmd == GW_HWNDNEXT)
            return ++it == s.end() ? 0 : *it;
        return it == s.begin() ? 0 : *--it;
    }
    default:
        return 0;
    }
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd, GW_CHILD); }

BOOL IsChild(HWND parent, HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    while (r && (r->style & WS_CHILD)) {
        if (r->parent == parent)
            return TRUE;
        r = Find(r->parent);
    }
    return FALSE;
}

namespace {
bool enum_children(HWND parent, WNDENUMPROC proc, LPARAM lParam)
{
    WindowRec* p = Find(parent);
    if (!p)
        return true;
    const std::vector<HWND> kids = p->children;
    for (HWND c : kids) {
        if (!Find(c))
            continue;
        if (!proc(c, lParam))
            return false;
        if (!enum_children(c, proc, lParam))
            return false;
    }
    return true;
}
} // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam)
{
    if (!proc || !Find(parent))
        return FALSE;
    enum_children(parent, proc, lParam);
    return TRUE;
}

int GetClassName(HWND hwnd, char* buf, int size)
{
    if (buf && size > 0)
        buf[0] = '\0';
    WindowRec* r = Find(hwnd);
    if (!r || !buf || size <= 0)
        return 0;
    const int n = std::min<int>(size - 1, static_cast<int>(r->className.size()));
    std::memcpy(buf, r->className.data(), static_cast<size_t>(n));
    buf[n] = '\0';
    return n;
}

HWND FindWindow(const char* className, const char* windowName)
{
    for (HWND h : AllWindows()) {
        WindowRec* r = Find(h);
        if (!r || (r->style & WS_CHILD) || r->destroying)
            continue;
        if (className && !same_name(r->className, className))
            continue;
        if (windowName && !same_name(r->text, windowName))
            continue;
        return h;
    }
    // Then the other programs of the link, by the whole title.
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(0xFFFF0000u); remote && !className && windowName)
        return remote->find(windowName);
    return 0;
}

// ---- long values -------------------------------------------------------------------------

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_WNDPROC:
        if (!value)
            return 0;
        old = reinterpret_cast<LONG_PTR>(r->proc);
        r->proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWLP_ID:
        old = static_cast<LONG_PTR>(r->id);
        r->id = static_cast<UINT_PTR>(value);
        return old;
    case GWL_STYLE: {
        old = static_cast<LONG_PTR>(r->style);
        // Visibility and enabling change only through their own calls.
        const DWORD keep = WS_VISIBLE | WS_DISABLED | WS_CHILD;
        r->style = (static_cast<DWORD>(value) & ~keep) | (r->style & keep);
        return old;
    }
    case GWL_EXSTYLE:
        old = static_cast<LONG_PTR>(r->exStyle);
        r->exStyle = static_cast<DWORD>(value);
        return old;
    case GWLP_USERDATA:
        old = r->userData;
        r->userData = value;
        return old;
    case GWLP_HINSTANCE:
        old = static_cast<LONG_PTR>(r->inst);
        r->inst = static_cast<HINSTANCE>(value);
        return old;
    default:
        return 0;
    }
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(r->proc);
    case GWLP_ID: return static_cast<LONG_PTR>(r->id);
    case GWL_STYLE: return static_cast<LONG_PTR>(r->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(r->exStyle);
    case GWLP_USERDATA: return r->userData;
    case GWLP_HINSTANCE: return static_cast<LONG_PTR>(r->inst);
    case GWLP_HWNDPARENT: return static_cast<LONG_PTR>(GetParent(hwnd));
    default: return 0;
    }
}

LONG SetWindowLong(HWND hwnd, int index, LONG value)
{
    return static_cast<LONG>(SetWindowLongPtr(hwnd, index, index == GWL_STYLE || index == GWL_EXSTYLE
                                                               ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                                                               : value));
}

LONG GetWindowLong(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtr(hwnd, index)); }

ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    ULONG_PTR old = 0;
    switch (index) {
    case GCLP_HBRBACKGROUND:
        old = r->brush;
        r->brush = static_cast<HBRUSH>(value);
        return old;
    case GCLP_HCURSOR:
        old = r->cursor;
        r->cursor = static_cast<HCURSOR>(value);
        return old;
    default:
        return 0;
    }
}

ULONG_PTR GetClassLongPtr(HWND hwnd, int index)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    switch (index) {
    case GCLP_HBRBACKGROUND: return r->brush;
    case GCLP_HCURSOR: return r->cursor;
    case GCL_STYLE: return r->classStyle;
    default: return 0;
    }
}

void SetWindowObject(HWND hwnd, void* object)
{
    if (WindowRec* r = Find(hwnd))
        r->object = object;
}

void* GetWindowObject(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    return r ? r->object : nullptr;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(hwnd))
        return remote->send(hwnd, msg, wParam, lParam);
    WindowRec* r = Find(hwnd);
    if (!r || !r->proc)
        return 0;
    return r->proc(hwnd, msg, wParam, lParam);
}

BOOL InSendMessage() { return FALSE; }

// ---- the default procedure ----------------------------------------------------------------

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    switch (msg) {
    case WM_ERASEBKGND: {
        if (!r->brush)
            return 0;
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(static_cast<HDC>(wParam), &rc, r->brush);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ACTIVATE:
        // An activated window takes the keyboard unless it is an icon.
        if (LOWORD(wParam) != WA_INACTIVE && r->frame && !r->frame->isMinimized())
            SetFocus(hwnd);
        return 0;
    case WM_SETCURSOR: {
        // A child asks its parent first, as the classic default does.
        if ((r->style & WS_CHILD) && r->parent) {
            if (SendMessage(r->parent, WM_SETCURSOR, wParam, lParam))
                return TRUE;
            r = Find(hwnd);
            if (!r)
                return FALSE;
        }
        // The cursor is the one of the window under the mouse (wParam), even
        // when its parent answers.
        WindowRec* under = Find(static_cast<HWND>(wParam));
        if (!under)
            under = r;
        if (static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam))) == HTCLIENT && under->cursor) {
            SetCursor(under->cursor);
            return TRUE;
        }
        return FALSE;
    }
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        r->text = text ? text : "";
        if (!(r->style & WS_CHILD) && r->frame) {
            QString title = qstr_from_ansi(r->text);
            title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
            r->frame->setWindowTitle(title);
        }
        return TRUE;
    }
    case WM_GETTEXT: {
        char* buf = reinterpret_cast<char*>(lParam);
        const int size = static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF));
        if (!buf || size <= 0)
            return 0;
        const int n = std::min<int>(size - 1, static_cast<int>(r->text.size()));
        std::memcpy(buf, r->text.data(), static_cast<size_t>(n));
        buf[n] = '\0';
        return n;
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(r->text.size());
    case WM_QUERYNEWPALETTE:
        return TRUE;
    default:
        return 0;
    }
}

} // namespace plat
