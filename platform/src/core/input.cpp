// Qt input turned into window messages; focus, capture, cursors and the
// windows' own scroll bars.
#include "core/widgets_p.h"
#include "ipc/ipc_p.h"
#include "plat/link.h"
#include "kernel/handles_p.h"
#include "plat/clock.h"
#include "plat/config.h"
#include "plat/menu.h"
#include "plat/text.h"
#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <map>

namespace plat {

namespace core {

namespace {

HWND g_focus = 0;
HWND g_capture = 0;
HWND g_active = 0;
HWND g_cursorTarget = 0;     // the window whose mouse message is being handled
HCURSOR g_cursor = 0;
bool g_waitOverride = false;
bool g_settingFocus = false;
FocusHook g_focusHook = nullptr;
RECT g_clip{};
bool g_clipped = false;
QPoint g_lastPos;

struct CursorInfo {
    UINT id;
    Qt::CursorShape shape;
};
// Standard cursor shapes, by handle once loaded.
const CursorInfo kCursors[] = {
    {IDC_ARROW, Qt::ArrowCursor},      {IDC_IBEAM, Qt::IBeamCursor},
    {IDC_WAIT, Qt::WaitCursor},        {IDC_CROSS, Qt::CrossCursor},
    {IDC_UPARROW, Qt::UpArrowCursor},  {IDC_SIZENWSE, Qt::SizeFDiagCursor},
    {IDC_SIZENESW, Qt::SizeBDiagCursor}, {IDC_SIZEWE, Qt::SizeHorCursor},
    {IDC_SIZENS, Qt::SizeVerCursor},   {IDC_SIZEALL, Qt::SizeAllCursor},
    {IDC_NO, Qt::ForbiddenCursor},     {IDC_APPSTARTING, Qt::BusyCursor},
    {IDC_HELP, Qt::WhatsThisCursor},
};
// A standard shape, or a module's picture with its hot spot.
struct CursorLook {
    Qt::CursorShape shape = Qt::ArrowCursor;
    QImage image;
    QPoint hot;
};
std::map<HCURSOR, CursorLook>& cursor_looks()
{
    static std::map<HCURSOR, CursorLook> m;
    return m;
}
std::map<UINT, HCURSOR>& loaded_cursors()
{
    static std::map<UINT, HCURSOR> m;
    return m;
}
std::map<std::pair<HINSTANCE, int>, HCURSOR>& module_cursors()
{
    static std::map<std::pair<HINSTANCE, int>, HCURSOR> m;
    return m;
}
ModuleCursorSource g_moduleCursors = nullptr;

bool within(HWND hwnd, HWND root)
{
    for (WindowRec* r = Find(hwnd); r; r = (r->style & WS_CHILD) ? Find(r->parent) : nullptr)
        if (r->hwnd == root)
            return true;
    return false;
}

WPARAM mk_flags(Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    WPARAM f = 0;
    if (b & Qt::LeftButton)
        f |= MK_LBUTTON;
    if (b & Qt::RightButton)
        f |= MK_RBUTTON;
    if (b & Qt::MiddleButton)
        f |= MK_MBUTTON;
    if (m & Qt::ShiftModifier)
        f |= MK_SHIFT;
    if (m & Qt::ControlModifier)
        f |= MK_CONTROL;
    return f;
}

struct KeyInfo {
    int key;
    UINT vk;
    BYTE scan;
    bool extended;
};
// Qt keys to virtual keys and set-1 scan codes.
const KeyInfo kKeys[] = {
    {Qt::Key_Backspace, VK_BACK, 0x0E, false}, {Qt::Key_Tab, VK_TAB, 0x0F, false},
    {Qt::Key_Backtab, VK_TAB, 0x0F, false},    {Qt::Key_Return, VK_RETURN, 0x1C, false},
    {Qt::Key_Enter, VK_RETURN, 0x1C, true},    {Qt::Key_Shift, VK_SHIFT, 0x2A, false},
    {Qt::Key_Control, VK_CONTROL, 0x1D, false}, {Qt::Key_Alt, VK_MENU, 0x38, false},
    {Qt::Key_Pause, VK_PAUSE, 0x45, false},    {Qt::Key_CapsLock, VK_CAPITAL, 0x3A, false},
    {Qt::Key_Escape, VK_ESCAPE, 0x01, false},  {Qt::Key_Space, VK_SPACE, 0x39, false},
    {Qt::Key_PageUp, VK_PRIOR, 0x49, true},    {Qt::Key_PageDown, VK_NEXT, 0x51, true},
    {Qt::Key_End, VK_END, 0x4F, true},         {Qt::Key_Home, VK_HOME, 0x47, true},
    {Qt::Key_Left, VK_LEFT, 0x4B, true},       {Qt::Key_Up, VK_UP, 0x48, true},
    {Qt::Key_Right, VK_RIGHT, 0x4D, true},     {Qt::Key_Down, VK_DOWN, 0x50, true},
    {Qt::Key_Print, VK_SNAPSHOT, 0x37, true},  {Qt::Key_Insert, VK_INSERT, 0x52, true},
    {Qt::Key_Delete, VK_DELETE, 0x53, true},   {Qt::Key_Help, VK_HELP, 0x63, false},
    {Qt::Key_NumLock, VK_NUMLOCK, 0x45, true}, {Qt::Key_ScrollLock, VK_SCROLL, 0x46, false},
    {Qt::Key_Semicolon, VK_OEM_1, 0x27, false}, {Qt::Key_Colon, VK_OEM_1, 0x27, false},
    {Qt::Key_Equal, VK_OEM_PLUS, 0x0D, false}, {Qt::Key_Plus, VK_OEM_PLUS, 0x0D, false},
    {Qt::Key_Comma, VK_OEM_COMMA, 0x33, false}, {Qt::Key_Less, VK_OEM_COMMA, 0x33, false},
    {Qt::Key_Minus, VK_OEM_MINUS, 0x0C, false}, {Qt::Key_Underscore, VK_OEM_MINUS, 0x0C, false},
    {Qt::Key_Period, VK_OEM_PERIOD, 0x34, false}, {Qt::Key_Greater, VK_OEM_PERIOD, 0x34, false},
    {Qt::Key_Slash, VK_OEM_2, 0x35, false},    {Qt::Key_Question, VK_OEM_2, 0x35, false},
    {Qt::Key_QuoteLeft, VK_OEM_3, 0x29, false}, {Qt::Key_AsciiTilde, VK_OEM_3, 0x29, false},
    {Qt::Key_BracketLeft, VK_OEM_4, 0x1A, false}, {Qt::Key_BraceLeft, VK_OEM_4, 0x1A, false},
    {Qt::Key_Backslash, VK_OEM_5, 0x2B, false}, {Qt::Key_Bar, VK_OEM_5, 0x2B, false},
    {Qt::Key_BracketRight, VK_OEM_6, 0x1B, false}, {Qt::Key_BraceRight, VK_OEM_6, 0x1B, false},
    {Qt::Key_Apostrophe, VK_OEM_7, 0x28, false}, {Qt::Key_QuoteDbl, VK_OEM_7, 0x28, false},
};
// Set-1 scan codes of the letter and digit keys.
const BYTE kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                              0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
const BYTE kDigitScan[10] = {0x0B, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};
const BYTE kPadScan[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
const BYTE kFScan[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x57, 0x58};

bool key_info(int key, bool keypad, KeyInfo* out)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        *out = {key, static_cast<UINT>('A' + (key - Qt::Key_A)), kLetterScan[key - Qt::Key_A], false};
        return true;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int d = key - Qt::Key_0;
        if (keypad)
            *out = {key, VK_NUMPAD0 + static_cast<UINT>(d), kPadScan[d], false};
        else
            *out = {key, static_cast<UINT>('0' + d), kDigitScan[d], false};
        return true;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        *out = {key, VK_F1 + static_cast<UINT>(key - Qt::Key_F1), kFScan[key - Qt::Key_F1], false};
        return true;
    }
    if (keypad) {
        switch (key) {
        case Qt::Key_Asterisk: *out = {key, VK_MULTIPLY, 0x37, false}; return true;
        case Qt::Key_Plus: *out = {key, VK_ADD, 0x4E, false}; return true;
        case Qt::Key_Minus: *out = {key, VK_SUBTRACT, 0x4A, false}; return true;
        case Qt::Key_Period: *out = {key, VK_DECIMAL, 0x53, false}; return true;
        case Qt::Key_Slash: *out = {key, VK_DIVIDE, 0x35, true}; return true;
        default: break;
        }
    }
    for (const KeyInfo& k : kKeys)
        if (k.key == key) {
            *out = k;
            // Keypad editing keys are the non-extended twins.
            if (keypad && k.extended && key != Qt::Key_Enter && key != Qt::Key_NumLock)
                out->extended = false;
            return true;
        }
    return false;
}

void apply_cursor(HWND target)
{
    WindowRec* r = Find(target);
    if (!r || !r->client)
        return;
    if (!g_cursor) {
        r->client->setCursor(Qt::BlankCursor);
        return;
    }
    r->client->setCursor(CursorFor(g_cursor));
}

void send_mouse(HWND target, UINT msg, WPARAM flags, const QPoint& client, bool setCursor)
{
    const HWND saved = g_cursorTarget;
    g_cursorTarget = target;
    if (setCursor) {
        SendMessage(target, WM_SETCURSOR, target, MAKELPARAM(HTCLIENT, msg));
    }
    if (Find(target))
        SendMessage(target, msg, flags, MAKELPARAM(client.x(), client.y()));
    g_cursorTarget = saved;
}

} // namespace

int QtKeyForVk(UINT vk, bool* keypad)
{
    *keypad = false;
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + static_cast<int>(vk - 'A');
    if (vk >= '0' && vk <= '9')
        return Qt::Key_0 + static_cast<int>(vk - '0');
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
        *keypad = true;
        return Qt::Key_0 + static_cast<int>(vk - VK_NUMPAD0);
    }
    if (vk >= VK_F1 && vk <= VK_F12)
        return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    switch (vk) {
    case VK_MULTIPLY: *keypad = true; return Qt::Key_Asterisk;
    case VK_ADD: *keypad = true; return Qt::Key_Plus;
    case VK_SUBTRACT: *keypad = true; return Qt::Key_Minus;
    case VK_DECIMAL: *keypad = true; return Qt::Key_Period;
    case VK_DIVIDE: *keypad = true; return Qt::Key_Slash;
    default: break;
    }
    for (const KeyInfo& k : kKeys)
        if (k.vk == vk && k.key != Qt::Key_Enter && k.key != Qt::Key_Backtab)
            return k.key;
    return Qt::Key_unknown;
}

void MouseEvent(HWND hwnd, QMouseEvent* e, bool doubleClick)
{
    QtEntry([&] {
        WindowRec* r = Find(hwnd);
        if (!r || r->destroying)
            return;
        const QPoint global = e->globalPosition().toPoint();
        g_lastPos = global;
        // Where the mouse is, in the receiving window's client coordinates.
        HWND target = hwnd;
        QPoint local = e->position().toPoint();
        if (g_capture && g_capture != hwnd) {
            WindowRec* c = Find(g_capture);
            if (!c)
                return;
            target = g_capture;
            const QPoint from = ClientOrigin(*r), to = ClientOrigin(*c);
            local += from - to;
        }
        WindowRec* t = Find(target);
        if (!g_capture) {
            if ((t->style & WS_DISABLED) || !IsWindowVisible(target))
                return;
            // Qt keeps sending to the pressed widget; without capture the
            // window only hears about its own client area.
            if (!t->clientRect().contains(local))
                return;
        }
        const WPARAM flags = mk_flags(e->buttons(), e->modifiers());
        UINT msg = 0;
        switch (e->type()) {
        case QEvent::MouseMove:
            send_mouse(target, WM_MOUSEMOVE, flags, local, g_capture == 0);
            return;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (e->button() == Qt::LeftButton)
                msg = WM_LBUTTONDOWN;
            else if (e->button() == Qt::RightButton)
                msg = WM_RBUTTONDOWN;
            else if (e->button() == Qt::MiddleButton)
                msg = WM_MBUTTONDOWN;
            // A double click is one only for classes that ask for it.
            if (msg && doubleClick && (t->classStyle & CS_DBLCLKS))
                msg += 2;
            break;
        case QEvent::MouseButtonRelease:
            if (e->button() == Qt::LeftButton)
                msg = WM_LBUTTONUP;
            else if (e->button() == Qt::RightButton)
                msg = WM_RBUTTONUP;
            else if (e->button() == Qt::MiddleButton)
                msg = WM_MBUTTONUP;
            break;
        default:
            break;
        }
        if (msg)
            send_mouse(target, msg, flags, local, false);
    });
}

void KeyEvent(HWND hwnd, QKeyEvent* e, bool down)
{
    QtEntry([&] {
        WindowRec* r = Find(hwnd);
        if (!r || r->destroying || (r->style & WS_DISABLED))
            return;
        KeyInfo k{};
        const bool keypad = (e->modifiers() & Qt::KeypadModifier) != 0;
        const bool known = key_info(e->key(), keypad, &k);
        const bool alt = (e->modifiers() & Qt::AltModifier) != 0;
        if (known) {
            LPARAM lp = 1 | (static_cast<LPARAM>(k.scan) << 16);
            if (k.extended)
                lp |= LPARAM(1) << 24;
            if (alt)
                lp |= LPARAM(1) << 29;
            if (!down)
                lp |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
            else if (e->isAutoRepeat())
                lp |= LPARAM(1) << 30;
            lp = static_cast<LPARAM>(static_cast<int32_t>(static_cast<uint32_t>(lp)));
            const UINT msg = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
            SendMessage(hwnd, msg, k.vk, lp);
        }
        if (!down || !Find(hwnd))
            return;
        const QString text = e->text();
        if (text.size() != 1 || e->key() == Qt::Key_Delete)
            return;
        const char32_t cp = text.at(0).unicode();
        const unsigned char byte = UnicodeToAnsi(cp);
        if (byte == '?' && cp != '?')
            return;
        LPARAM lp = 1 | (static_cast<LPARAM>(k.scan) << 16);
        if (alt)
            lp |= LPARAM(1) << 29;
        SendMessage(hwnd, alt ? WM_SYSCHAR : WM_CHAR, byte, lp);
    });
}

void FocusEvent(HWND hwnd, QFocusEvent* e, bool in)
{
    if (g_settingFocus)
        return;
    QtEntry([&] {
        if (!Find(hwnd))
            return;
        if (in && g_focus != hwnd) {
            SetFocus(hwnd);
        } else if (!in && g_focus == hwnd && e->reason() == Qt::ActiveWindowFocusReason) {
            // The application lost the keyboard to another program.
            g_focus = 0;
            SendMessage(hwnd, WM_KILLFOCUS, 0, 0);
        }
    });
}

void ActivationChanged(HWND hwnd, bool active)
{
    QtEntry([&] {
        if (!Find(hwnd))
            return;
        if (active) {
            if (g_active == hwnd)
                return;
            const HWND old = g_active;
            g_active = hwnd;
            if (old && Find(old))
                SendMessage(old, WM_ACTIVATE, WA_INACTIVE, hwnd);
            SendMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, old);
        } else if (g_active == hwnd) {
            g_active = 0;
            SendMessage(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
        }
    });
}

void ForgetInputState(HWND hwnd)
{
    if (g_focus && within(g_focus, hwnd))
        g_focus = 0;
    if (g_capture && within(g_capture, hwnd)) {
        if (WindowRec* r = Find(g_capture))
            if (r->client)
                r->client->releaseMouse();
        g_capture = 0;
    }
    if (g_active == hwnd)
        g_active = 0;
    if (g_cursorTarget && within(g_cursorTarget, hwnd))
        g_cursorTarget = 0;
}

void ScrollAction(HWND hwnd, int bar, int action)
{
    QtEntry([&] {
        WindowRec* r = Find(hwnd);
        if (!r || !r->scroll[bar])
            return;
        QScrollBar* sb = r->scroll[bar];
        WORD code = SB_ENDSCROLL;
        int pos = 0;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
        case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
        case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
        case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
        case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
        case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
        case QAbstractSlider::SliderMove:
            code = SB_THUMBTRACK;
            pos = sb->sliderPosition();
            break;
        default: return;
        }
        const UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
        SendMessage(hwnd, msg, MAKEWPARAM(code, pos), 0);
        // The bar moves only when the program says so.
        r = Find(hwnd);
        if (r && r->scroll[bar] && code != SB_THUMBTRACK) {
            auto* b = static_cast<BarWidget*>(r->scroll[bar]);
            b->applying = true;
            b->setSliderPosition(r->bars[bar].pos);
            b->applying = false;
        }
    });
}

void ScrollReleased(HWND hwnd, int bar)
{
    QtEntry([&] {
        WindowRec* r = Find(hwnd);
        if (!r || !r->scroll[bar])
            return;
        const UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
        auto* b = static_cast<BarWidget*>(r->scroll[bar]);
        if (b->isSliderDown() || b->sliderPosition() != r->bars[bar].pos) {
            SendMessage(hwnd, msg, MAKEWPARAM(SB_THUMBPOSITION, b->sliderPosition()), 0);
            r = Find(hwnd);
            if (!r || !r->scroll[bar])
                return;
        }
        SendMessage(hwnd, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
        r = Find(hwnd);
        if (r && r->scroll[bar]) {
            b->applying = true;
            b->setSliderPosition(r->bars[bar].pos);
            b->setValue(r->bars[bar].pos);
            b->applying = false;
        }
    });
}

void SetFocusHook(FocusHook hook) { g_focusHook = hook; }

} // namespace core

using namespace core;

// ---- focus, activation, capture ----------------------------------------------

HWND SetFocus(HWND hwnd)
{
    if (hwnd && !Find(hwnd))
        return 0;
    const HWND old = g_focus;
    if (hwnd == old)
        return old;
    g_focus = hwnd;
    if (old && Find(old))
        SendMessage(old, WM_KILLFOCUS, hwnd, 0);
    if (!hwnd || g_focus != hwnd || !Find(hwnd))
        return old;
    if (WindowRec* r = Find(hwnd); r && r->client) {
        g_settingFocus = true;
        if (QWidget* top = r->client->window(); top && top->isVisible() && !top->isActiveWindow() &&
                                                  !(top->windowFlags() & Qt::WindowDoesNotAcceptFocus))
            top->activateWindow();
        r->client->setFocus(Qt::OtherFocusReason);
        g_settingFocus = false;
    }
    SendMessage(hwnd, WM_SETFOCUS, old, 0);
    if (g_focusHook && g_focus == hwnd && Find(hwnd))
        g_focusHook(hwnd);
    return old;
}

HWND GetFocus() { return Find(g_focus) ? g_focus : 0; }

HWND SetActiveWindow(HWND hwnd)
{
    if (const ipc::RemoteOps* remote = ipc::RemoteFor(hwnd))
        return remote->winop(hwnd, static_cast<int>(LinkWinOp::Activate)) ? hwnd : 0;
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    // Activating a window ends an open popup menu without a choice.
    EndMenu();
    const HWND old = GetActiveWindow();
    const HWND top = TopLevelOf(hwnd);
    if (WindowRec* t = Find(top)) {
        t->frame->raise();
        t->frame->activateWindow();
        // Offscreen and some window managers never confirm; the layer's own
        // record follows the request.
        if (g_active != top)
            ActivationChanged(top, true);
    }
    return old;
}

HWND GetActiveWindow() { return Find(g_active) ? g_active : 0; }
BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) || GetActiveWindow() == TopLevelOf(hwnd); }
HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetCapture(HWND hwnd)
{
    WindowRec* r = Find(hwnd);
    if (!r)
        return 0;
    const HWND old = GetCapture();
    if (old == hwnd)
        return old;
    if (WindowRec* o = Find(old); o && o->client)
        o->client->releaseMouse();
    g_capture = hwnd;
    // Without a window system there is nothing to grab; the layer routes
    // captured input itself either way.
    if (r->client && r->client->isVisible() && QGuiApplication::platformName() != QLatin1String("offscreen"))
        r->client->grabMouse();
    if (old)
        SendMessage(old, WM_CAPTURECHANGED, 0, hwnd);
    return old;
}

BOOL ReleaseCapture()
{
    const HWND old = GetCapture();
    g_capture = 0;
    if (WindowRec* o = Find(old)) {
        if (o->client)
            o->client->releaseMouse();
        SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND GetCapture() { return Find(g_capture) ? g_capture : 0; }

// ---- cursors ----------------------------------------------------------------------

HCURSOR LoadCursor(HINSTANCE inst, UINT id)
{
    if (inst != 0) {
        const auto key = std::make_pair(inst, static_cast<int>(id));
        if (auto it = module_cursors().find(key); it != module_cursors().end())
            return it->second;
        CursorLook look;
        if (!g_moduleCursors || !g_moduleCursors(inst, static_cast<int>(id), &look.image, &look.hot) ||
            look.image.isNull())
            return 0;
        const HCURSOR h = NextObjectHandle();
        module_cursors()[key] = h;
        cursor_looks()[h] = std::move(look);
        return h;
    }
    for (const CursorInfo& c : kCursors) {
        if (c.id != id)
            continue;
        auto& loaded = loaded_cursors();
        auto it = loaded.find(id);
        if (it != loaded.end())
            return it->second;
        const HCURSOR h = NextObjectHandle();
        loaded[id] = h;
        cursor_looks()[h].shape = c.shape;
        return h;
    }
    return 0;
}

HCURSOR LoadCursor(HINSTANCE, const char*) { return 0; }

HCURSOR SetCursor(HCURSOR cursor)
{
    const HCURSOR old = g_cursor;
    if (cursor && cursor_looks().find(cursor) == cursor_looks().end())
        return old;
    g_cursor = cursor;
    const bool wait = cursor && cursor == loaded_cursors()[IDC_WAIT];
    if (wait) {
        // The hourglass stays over every window until the next SetCursor.
        if (!g_waitOverride && QApplication::instance())
            QApplication::setOverrideCursor(Qt::WaitCursor);
        g_waitOverride = QApplication::instance() != nullptr;
        return old;
    }
    if (g_waitOverride) {
        QApplication::restoreOverrideCursor();
        g_waitOverride = false;
    }
    HWND target = g_cursorTarget ? g_cursorTarget : g_capture;
    if (target)
        apply_cursor(target);
    return old;
}

HCURSOR GetCursor() { return g_cursor; }

namespace core {

void SetModuleCursorSource(ModuleCursorSource source) { g_moduleCursors = source; }

void ForgetModuleCursor(HINSTANCE module, int id) { module_cursors().erase({module, id}); }

QCursor CursorFor(HCURSOR cursor)
{
    auto it = cursor_looks().find(cursor);
    if (it == cursor_looks().end())
        return QCursor(Qt::ArrowCursor);
    const CursorLook& l = it->second;
    if (l.image.isNull())
        return QCursor(l.shape);
    return QCursor(QPixmap::fromImage(l.image), l.hot.x(), l.hot.y());
}

} // namespace core

BOOL ClipCursor(const RECT* rect)
{
    g_clipped = rect != nullptr;
    g_clip = rect ? *rect : RECT{};
    return TRUE;
}

BOOL GetClipCursor(RECT* rect)
{
    if (!rect)
        return FALSE;
    if (g_clipped) {
        *rect = g_clip;
    } else {
        const SIZE d = DesktopSize();
        *rect = RECT{0, 0, d.cx, d.cy};
    }
    return TRUE;
}

BOOL GetCursorPos(POINT* pt)
{
    if (!pt)
        return FALSE;
    pt->x = g_lastPos.x();
    pt->y = g_lastPos.y();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    g_lastPos = QPoint(x, y);
    QCursor::setPos(x, y);
    return TRUE;
}

// ---- window scroll bars ----------------------------------------------------------

namespace {
bool bar_ok(WindowRec* r, int bar) { return r && (bar == SB_HORZ || bar == SB_VERT); }

void show_bar(HWND hwnd, int bar, bool show)
{
    WindowRec* r = Find(hwnd);
    const DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (!r || ((r->style & bit) != 0) == show)
        return;
    if (show)
        r->style |= bit;
    else
        r->style &= ~bit;
    SetWindowPos(hwnd, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void sync_bar(WindowRec* r, int bar)
{
    if (auto* b = static_cast<BarWidget*>(r->scroll[bar])) {
        b->applying = true;
        b->setRange(r->bars[bar].min, r->bars[bar].max);
        b->setPageStep(std::max(1, (r->bars[bar].max - r->bars[bar].min) / 10));
        b->setValue(r->bars[bar].pos);
        b->applying = false;
    }
}
} // namespace

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL)
{
    WindowRec* r = Find(hwnd);
    if (!bar_ok(r, bar))
        return 0;
    ScrollState& s = r->bars[bar];
    const int old = s.pos;
    s.pos = std::clamp(pos, s.min, std::max(s.min, s.max));
    sync_bar(r, bar);
    return old;
}

int GetScrollPos(HWND hwnd, int bar)
{
    WindowRec* r = Find(hwnd);
    return bar_ok(r, bar) ? r->bars[bar].pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL)
{
    WindowRec* r = Find(hwnd);
    if (!bar_ok(r, bar) || maxPos - minPos > 32767 || minPos > maxPos)
        return FALSE;
    ScrollState& s = r->bars[bar];
    s.min = minPos;
    s.max = maxPos;
    s.pos = std::clamp(s.pos, s.min, s.max);
    sync_bar(r, bar);
    // An empty range takes the bar away, a real one brings it back.
    show_bar(hwnd, bar, minPos != maxPos);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos)
{
    WindowRec* r = Find(hwnd);
    if (!bar_ok(r, bar))
        return FALSE;
    if (minPos)
        *minPos = r->bars[bar].min;
    if (maxPos)
        *maxPos = r->bars[bar].max;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    if (!Find(hwnd))
        return FALSE;
    if (bar == SB_BOTH) {
        show_bar(hwnd, SB_HORZ, show != FALSE);
        show_bar(hwnd, SB_VERT, show != FALSE);
    } else if (bar == SB_HORZ || bar == SB_VERT) {
        show_bar(hwnd, bar, show != FALSE);
    } else {
        return FALSE;
    }
    return TRUE;
}

} // namespace plat
