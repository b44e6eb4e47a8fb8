// The control classes' common ground: the state table, notifications,
// control colours, key and focus routing through the window procedures.
#include "controls/controls_p.h"
#include "core/widgets_p.h"
#include "plat/gdi.h"
#include "plat/text.h"
#include "text_qt_p.h"
#include <QApplication>
#include <QPointer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPalette>
#include <map>

namespace plat::controls {

namespace {

std::map<HWND, std::unique_ptr<ControlBase>>& table()
{
    static std::map<HWND, std::unique_ptr<ControlBase>> t;
    return t;
}

AttachHook g_attach = nullptr;
DialogKeyHook g_dialogKeys = nullptr;
MenuKeyHook g_menuActive = nullptr;
int g_delivering = 0;
// A key event the filter let through, and the widget it was let through
// at: Qt offers it again to that widget's parents as it propagates. A new
// event may live at the same address, so only the way up counts as "again".
const QEvent* g_passed = nullptr;
QPointer<QWidget> g_passedAt;

bool passed_before(const QEvent* e, const QWidget* w)
{
    if (e != g_passed || !g_passedAt)
        return false;
    for (const QWidget* p = g_passedAt->parentWidget(); p; p = p->parentWidget())
        if (p == w)
            return true;
    return false;
}

void pass(const QEvent* e, QWidget* w)
{
    g_passed = e;
    g_passedAt = w;
}
const QKeyEvent* g_currentKey = nullptr;

// The Qt mouse event whose message is on its way through the control's
// procedures; the bottom procedure hands it on to the widget.
struct PendingMouse {
    QMouseEvent* event;
    QWidget* widget;
    bool delivered;
};
PendingMouse* g_mouse = nullptr;

class LayerFilter : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override;
};

bool LayerFilter::eventFilter(QObject* o, QEvent* e)
{
    if (g_delivering || !o->isWidgetType())
        return false;
    const QEvent::Type type = e->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto* w = static_cast<QWidget*>(o);
        if (passed_before(e, w))
            return false;
        const HWND h = core::HwndOfWidget(w);
        if (!h) {
            pass(e, w);
            return false;
        }
        auto* ke = static_cast<QKeyEvent*>(e);
        const bool press = type == QEvent::KeyPress;
        if (g_dialogKeys && g_dialogKeys(h, ke->key(), ke->modifiers(), press))
            return true;
        if (StateOf(h)) {
            const QKeyEvent* saved = g_currentKey;
            g_currentKey = ke;
            core::KeyEvent(h, ke, press);
            g_currentKey = saved;
            return true;
        }
        pass(e, w);
        return false;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
        type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove) {
        auto* w = static_cast<QWidget*>(o);
        if (w->isWindow())
            return false;
        const HWND h = core::HwndOfWidget(w);
        if (!h || !StateOf(h))
            return false;
        auto* me = static_cast<QMouseEvent*>(e);
        PendingMouse pm{me, w, false};
        PendingMouse* saved = g_mouse;
        g_mouse = &pm;
        core::MouseEvent(h, me, type == QEvent::MouseButtonDblClick);
        g_mouse = saved;
        // A release outside the control still ends Qt's press, as the
        // button's own state would on the classic system.
        if (!pm.delivered && type == QEvent::MouseButtonRelease)
            DeliverToWidget(w, me);
        return true;
    }
    if (type == QEvent::Paint) {
        // Each repaint asks the parent for the colours again, as an
        // invalidated control does.
        auto* w = static_cast<QWidget*>(o);
        const HWND h = core::HwndOfWidget(w);
        ControlBase* c = h ? StateOf(h) : nullptr;
        if (c && c->widget == w && !c->inColorQuery)
            if (const UINT msg = ControlColorMessage(h))
                ApplyControlColor(h, msg);
        return false;
    }
    if (type == QEvent::FocusIn) {
        auto* w = static_cast<QWidget*>(o);
        const HWND h = core::HwndOfWidget(w);
        if (h && StateOf(h))
            core::FocusEvent(h, static_cast<QFocusEvent*>(e), true);
        return false;
    }
    return false;
}

} // namespace

ControlBase* StateOf(HWND hwnd)
{
    auto it = table().find(hwnd);
    if (it == table().end())
        return nullptr;
    if (!core::Find(hwnd))
        return nullptr;
    return it->second.get();
}

ControlBase* StateOfWidget(const QWidget* w)
{
    return StateOf(core::HwndOfWidget(w));
}

void Register(ControlBase* c) { table()[c->hwnd].reset(c); }
void Unregister(HWND hwnd) { table().erase(hwnd); }

void Notify(HWND hwnd, WORD code)
{
    const HWND parent = GetParent(hwnd);
    if (!parent || !(GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD))
        return;
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), static_cast<LPARAM>(hwnd));
}

void SetAttachHook(AttachHook hook) { g_attach = hook; }
WNDPROC TakePendingAttach(HWND hwnd, WNDPROC classProc)
{
    return g_attach ? g_attach(hwnd, classProc) : nullptr;
}
void SetDialogKeyHook(DialogKeyHook hook) { g_dialogKeys = hook; }
void SetMenuActiveHook(MenuKeyHook hook) { g_menuActive = hook; }

void InstallEventFilter()
{
    static bool done = false;
    if (done || !QApplication::instance())
        return;
    done = true;
    QApplication::instance()->installEventFilter(new LayerFilter());
}

void DeliverToWidget(QWidget* w, QEvent* e)
{
    if (!w)
        return;
    // Straight to the widget: an event it ignores must not travel on to the
    // parent frame, which would turn it into a message again.
    ++g_delivering;
    auto* area = w->parentWidget() ? qobject_cast<QAbstractScrollArea*>(w->parentWidget()) : nullptr;
    if (area && area->viewport() == w && dynamic_cast<QMouseEvent*>(e)) {
        // A list's viewport hears the mouse only through its scroll area's
        // filter, so the event goes the usual way, kept from the parents.
        const bool kept = w->testAttribute(Qt::WA_NoMousePropagation);
        w->setAttribute(Qt::WA_NoMousePropagation, true);
        QCoreApplication::sendEvent(w, e);
        w->setAttribute(Qt::WA_NoMousePropagation, kept);
    } else {
        static_cast<QObject*>(w)->event(e);
    }
    --g_delivering;
}

QFont QFontOf(HFONT font)
{
    QFont f;
    if (!detail::FontOf(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), &f))
        detail::FontOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), &f);
    return f;
}

void BaseUnits(HFONT font, int* bx, int* by)
{
    HDC dc = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE sz;
    static const char kAlpha[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32(dc, kAlpha, 52, &sz);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    *bx = (sz.cx / 26 + 1) / 2;
    *by = tm.tmHeight;
}

int FontHeight(HFONT font)
{
    int bx = 0, by = 0;
    BaseUnits(font, &bx, &by);
    return by;
}

UINT ControlColorMessage(HWND hwnd)
{
    ControlBase* c = StateOf(hwnd);
    if (!c)
        return 0;
    const DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    switch (c->kind) {
    case Kind::Static: return WM_CTLCOLORSTATIC;
    case Kind::Button: {
        const DWORD t = style & BS_TYPEMASK;
        return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON || t == BS_OWNERDRAW ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
    }
    case Kind::Edit: return (style & ES_READONLY) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    case Kind::ListBox: return WM_CTLCOLORLISTBOX;
    case Kind::ScrollBar: return WM_CTLCOLORSCROLLBAR;
    default: return 0;
    }
}

void ApplyControlColor(HWND hwnd, UINT ctlColorMsg)
{
    ControlBase* c = StateOf(hwnd);
    const HWND parent = GetParent(hwnd);
    if (!c || !parent || !c->widget)
        return;
    c->inColorQuery = true;
    core::QtEntry([&] {
        auto target = std::make_shared<ImageTarget>(QSize(1, 1));
        const HDC dc = detail::CreateTargetDC(target);
        const auto brush = static_cast<HBRUSH>(SendMessage(parent, ctlColorMsg, dc, static_cast<LPARAM>(hwnd)));
        const COLORREF text = GetTextColor(dc);
        const int mode = GetBkMode(dc);
        detail::ReleaseTargetDC(dc);
        c = StateOf(hwnd);
        if (!c || !brush)
            return;
        QPalette pal = c->widget->palette();
        const QColor fg = QColor::fromRgb(detail::ToQRgb(text));
        // The parent's colour is for enabled text; a disabled control keeps
        // the grey text that tells the user it is off.
        const QColor grey = QColor::fromRgb(detail::ToQRgb(GetSysColor(COLOR_GRAYTEXT)));
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            pal.setColor(QPalette::Active, role, fg);
            pal.setColor(QPalette::Inactive, role, fg);
            pal.setColor(QPalette::Disabled, role, grey);
        }
        COLORREF bk;
        const bool solid = detail::BrushColor(brush, &bk);
        if (solid) {
            const QColor bg = QColor::fromRgb(detail::ToQRgb(bk));
            pal.setColor(QPalette::Window, bg);
            pal.setColor(QPalette::Base, bg);
            pal.setColor(QPalette::Button, bg);
        }
        const bool fill = solid && mode != TRANSPARENT;
        if (pal != c->widget->palette())
            c->widget->setPalette(pal);
        // Edits and lists paint their base themselves; labels and buttons
        // only fill when asked.
        if (c->kind == Kind::Static || c->kind == Kind::Button) {
            if (c->widget->autoFillBackground() != fill)
                c->widget->setAutoFillBackground(fill);
        }
    }, false);
    if ((c = StateOf(hwnd)) != nullptr)
        c->inColorQuery = false;
}

bool CommonMessage(ControlBase& c, UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_SETFONT:
        c.font = static_cast<HFONT>(wParam);
        if (c.widget)
            c.widget->setFont(QFontOf(c.font));
        return true;
    case WM_GETFONT:
        *result = c.font;
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP: {
        QWidget* target = c.keyTarget ? c.keyTarget : c.widget;
        const QEvent::Type t = msg == WM_KEYDOWN ? QEvent::KeyPress : QEvent::KeyRelease;
        if (g_currentKey && g_currentKey->type() == t) {
            QKeyEvent ev(t, g_currentKey->key(), g_currentKey->modifiers(), QString(),
                         g_currentKey->isAutoRepeat());
            DeliverToWidget(target, &ev);
        } else {
            bool keypad = false;
            const int key = core::QtKeyForVk(static_cast<UINT>(wParam), &keypad);
            QKeyEvent ev(t, key, keypad ? Qt::KeypadModifier : Qt::NoModifier, QString());
            DeliverToWidget(target, &ev);
        }
        return true;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (g_mouse && !g_mouse->delivered) {
            g_mouse->delivered = true;
            DeliverToWidget(g_mouse->widget, g_mouse->event);
        }
        return true;
    case WM_CHAR: {
        const auto ch = static_cast<unsigned char>(wParam & 0xFF);
        if (ch < 0x20 || ch == 0x7F)
            return true;
        QWidget* target = c.keyTarget ? c.keyTarget : c.widget;
        QKeyEvent ev(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                     QString(QChar(static_cast<char16_t>(AnsiToUnicode(ch)))));
        DeliverToWidget(target, &ev);
        return true;
    }
    default:
        return false;
    }
}

} // namespace plat::controls

namespace plat {

void InitControls()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    core::EnsureCoreInit();
    controls::InstallEventFilter();
    struct Cls {
        const char* name;
        WNDPROC proc;
        core::WidgetFactory make;
    };
    const Cls classes[] = {
        {WC_BUTTON, controls::ButtonProc, controls::MakeButton},
        {WC_EDIT, controls::EditProc, controls::MakeEdit},
        {WC_STATIC, controls::StaticProc, controls::MakeStatic},
        {WC_LISTBOX, controls::ListBoxProc, controls::MakeListBox},
        {WC_COMBOBOX, controls::ComboBoxProc, controls::MakeComboBox},
        {WC_SCROLLBAR, controls::ScrollBarProc, controls::MakeScrollBar},
    };
    for (const Cls& c : classes) {
        WNDCLASS wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = c.proc;
        wc.hCursor = LoadCursor(0, c.proc == controls::EditProc ? IDC_IBEAM : IDC_ARROW);
        wc.lpszClassName = c.name;
        core::RegisterWidgetClass(wc, c.make);
    }
    InitCommonControls();
}

} // namespace plat
