// Private to platform/src. The window table and the pieces of the core that
// its source files share: records, widgets, dispatch entry points.
#pragma once
#include "plat/msg.h"
#include "plat/window.h"
#include <QCursor>
#include <QImage>
#include <QMargins>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QTimer;
class QScrollBar;

namespace plat::core {

class FrameWidget;
class ClientWidget;

// Builds the Qt widget a control class shows instead of a surface (stage 2:
// buttons, edits, lists). The widget becomes the window's client area.
using WidgetFactory = QWidget* (*)(HWND hwnd, QWidget* parent);

struct ClassRec {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE inst = 0;
    HCURSOR cursor = 0;
    HBRUSH brush = 0;
    WidgetFactory factory = nullptr;
};

struct ScrollState {
    int min = 0, max = 100, pos = 0;
};

struct TimerRec {
    HWND hwnd = 0;
    uint64_t gen = 0;
    UINT_PTR id = 0;
    TIMERPROC proc = nullptr;
    QTimer* timer = nullptr;
};

struct WindowRec {
    HWND hwnd = 0;
    uint64_t gen = 0;   // unique per creation; posts carry it
    std::string className;
    UINT classStyle = 0;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = 0;     // WS_CHILD only
    HWND owner = 0;      // top-level only
    UINT_PTR id = 0;
    LONG_PTR userData = 0;
    void* object = nullptr;
    HINSTANCE inst = 0;
    HCURSOR cursor = 0;
    HBRUSH brush = 0;
    std::string text;
    std::vector<HWND> children; // creation order

    QRect rect;          // window rectangle: screen (top-level) or parent client
    QMargins nc;         // non-client parts around the client area
    ScrollState bars[2]; // SB_HORZ, SB_VERT
    bool maximized = false;
    // Height of the menu bar the menus module keeps across the top of a
    // top-level window; part of the non-client area.
    int menuBarHeight = 0;
    QRect normalRect;    // before maximizing
    // What the window manager puts around a top-level window (title bar,
    // borders): outside `rect`, known once the window is on the screen; the
    // window's rectangle as the program sees it includes them.
    QMargins decor;
    // The outer rectangle the program last asked for while the frame was
    // not known yet: the window is placed there again once it is, whatever
    // the window manager reported on the way (its answers to the earlier
    // requests arrive late).
    QRect askedOuter;
    bool askedBeforeDecor = false;

    // Surface of a custom window (null for Qt-backed controls).
    bool hasSurface = true;
    QImage surface;
    QRegion invalid;
    bool erase = false;
    QRect dirty;            // drawn since the last blit
    int paintDepth = 0;     // WM_PAINT of this window on the stack
    bool beganPaint = false;

    bool destroying = false;

    FrameWidget* frame = nullptr;
    QWidget* client = nullptr;
    QScrollBar* scroll[2] = {nullptr, nullptr};

    QSize clientSize() const { return QSize(std::max(0, rect.width() - nc.left() - nc.right()),
                                            std::max(0, rect.height() - nc.top() - nc.bottom())); }
    QRect clientRect() const { return QRect(QPoint(0, 0), clientSize()); }
};

// ---- table -----------------------------------------------------------------
WindowRec* Find(HWND hwnd);
// Every live window in creation order.
std::vector<HWND> AllWindows();
HWND TopLevelOf(HWND hwnd);
bool IsTopLevel(const WindowRec* r);
void EnsureCoreInit();
// Frees every record without a message (tests, after a handler threw midway
// through a destruction).
void DiscardAllWindows();
WORD SetNextFreshId(WORD next);

// ---- registration of classes with Qt widgets (controls) --------------------
ATOM RegisterWidgetClass(const WNDCLASS& wc, WidgetFactory factory);
FrameWidget* FrameOf(HWND hwnd);
QWidget* ClientWidgetOf(HWND hwnd);
// The window a widget built by the core stands for (0: none or gone).
HWND HwndOfWidget(const QWidget* w);

// ---- geometry --------------------------------------------------------------
QMargins ComputeNonClient(const WindowRec& r);
// The window manager's frame around a top-level window changed (first
// shown, or another look): the window keeps its outer place and size.
void DecorationChanged(HWND hwnd, const QMargins& decor);
// The Qt window kind and frame buttons of a top-level window's styles.
Qt::WindowFlags TopLevelFlags(DWORD style, DWORD exStyle, bool owned);
// Puts widgets, scroll bars and surface in line with rect and nc. Sends no
// messages; returns whether the client size changed.
bool ApplyGeometry(WindowRec& r, const QRect& oldClient);
// Screen position of the client origin.
QPoint ClientOrigin(const WindowRec& r);
// The layer's own record of a change made by the window system (user move or
// resize of a top-level window).
void NativeGeometryChanged(HWND hwnd, const QRect& rect);

// ---- paint -----------------------------------------------------------------
void InvalidateAll(WindowRec& r, bool erase, bool children);
void ResizeSurface(WindowRec& r, const QSize& oldSize);
void SchedulePaint();
// Sends WM_PAINT to every visible window with something invalid.
void ProcessPaints();
void PaintWindow(HWND hwnd);
void NoteDrawn(HWND hwnd, const QRect& rect);
bool IsShowing(const WindowRec& r);

// ---- queue, timers, loops --------------------------------------------------
// Every call from Qt into the layer goes through here: an exception (a test
// host's ExitRequest, say) is kept, every layer loop quits and the outermost
// layer call rethrows it. dispatch: it counts as a dispatched message for the
// idle pump.
template <class F> void QtEntry(F&& f, bool dispatch = true);
void StoreException(std::exception_ptr e);
bool ExceptionPending();
void RethrowPending();
void AfterDispatch(bool dispatch);
extern int g_entryDepth;

void DropPosts(HWND hwnd);
void KillTimers(HWND hwnd);
void FlushWindow(WindowRec& r);

// ---- input -----------------------------------------------------------------
void ForgetInputState(HWND hwnd); // focus, capture, cursor target on destruction

// A module's cursors live in its resource tables, above the core: the
// resources module gives the picture and hot spot of (module, id), or false.
using ModuleCursorSource = bool (*)(HINSTANCE module, int id, QImage* image, QPoint* hotSpot);
void SetModuleCursorSource(ModuleCursorSource source);
// A module's cursor registered again: the next LoadCursor makes a new handle.
void ForgetModuleCursor(HINSTANCE module, int id);
// The Qt shape a cursor handle shows (an arrow for unknown handles).
QCursor CursorFor(HCURSOR cursor);

// ---- posted messages taken by a modal loop ----------------------------------
// A loop that takes posted messages before their window does (a tracked popup
// menu takes the thread's key presses, as a classic menu loop does) sees each
// posted message as it comes up for dispatch; true consumes it.
using PostedFilter = bool (*)(const MSG& msg);
void SetPostedFilter(PostedFilter filter);

// ---- focus hook ------------------------------------------------------------
// Called once a window has taken the focus (after its WM_SETFOCUS): the
// dialog manager moves the default button's frame with it.
using FocusHook = void (*)(HWND focus);
void SetFocusHook(FocusHook hook);

// ---- trace hook ------------------------------------------------------------
// Called when a window record exists, before WM_CREATE.
using CreateHook = void (*)(HWND hwnd, const char* className);
void SetCreateHook(CreateHook hook);

template <class F> void QtEntry(F&& f, bool dispatch)
{
    if (ExceptionPending())
        return;
    ++g_entryDepth;
    try {
        f();
    } catch (...) {
        StoreException(std::current_exception());
    }
    --g_entryDepth;
    AfterDispatch(dispatch);
}

} // namespace plat::core
