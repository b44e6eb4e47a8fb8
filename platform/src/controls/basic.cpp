// BUTTON, EDIT, STATIC and SCROLLBAR over Qt widgets.
#include "controls/controls_p.h"
#include "plat/gdi.h"
#include "text_qt_p.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QKeySequence>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include "core/widgets_p.h"
#include <QTextBlock>
#include <climits>
#include <cstring>

namespace plat::controls {

std::vector<HWND> GroupOf(HWND hwnd)
{
    std::vector<HWND> out;
    const HWND parent = GetParent(hwnd);
    if (!parent)
        return {hwnd};
    std::vector<HWND> kids;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        kids.push_back(h);
    size_t at = 0;
    while (at < kids.size() && kids[at] != hwnd)
        ++at;
    if (at == kids.size())
        return {hwnd};
    size_t first = at;
    while (first > 0 && !(GetWindowLong(kids[first], GWL_STYLE) & WS_GROUP))
        --first;
    size_t last = at + 1;
    while (last < kids.size() && !(GetWindowLong(kids[last], GWL_STYLE) & WS_GROUP))
        ++last;
    out.assign(kids.begin() + static_cast<std::ptrdiff_t>(first), kids.begin() + static_cast<std::ptrdiff_t>(last));
    return out;
}

void DropLayerScrollBars(HWND hwnd)
{
    if (core::WindowRec* r = core::Find(hwnd)) {
        r->style &= ~(WS_VSCROLL | WS_HSCROLL);
        r->nc = core::ComputeNonClient(*r);
    }
}

namespace {

int copy_text(const std::string& s, WPARAM size, LPARAM buf)
{
    char* out = reinterpret_cast<char*>(buf);
    const int n = static_cast<int>(std::min<WPARAM>(size, INT_MAX));
    if (!out || n <= 0)
        return 0;
    const int len = std::min<int>(n - 1, static_cast<int>(s.size()));
    std::memcpy(out, s.data(), static_cast<size_t>(len));
    out[len] = '\0';
    return len;
}

std::string window_text(HWND hwnd)
{
    core::WindowRec* r = core::Find(hwnd);
    return r ? r->text : std::string();
}

} // namespace

// Owner draw: the parent draws into an image the size of the control.
QImage DrawItemImage(HWND hwnd, UINT ctlType, UINT itemId, UINT action, UINT state, QSize size,
                 uintptr_t data, const QRect& itemRect)
{
    auto target = std::make_shared<ImageTarget>(size);
    const HDC dc = detail::CreateTargetDC(target);
    ControlBase* c = StateOf(hwnd);
    if (c && c->font)
        SelectObject(dc, c->font);
    DRAWITEMSTRUCT dis;
    dis.CtlType = ctlType;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    dis.itemID = itemId;
    dis.itemAction = action;
    dis.itemState = state;
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = RECT{itemRect.left(), itemRect.top(), itemRect.right() + 1, itemRect.bottom() + 1};
    dis.itemData = data;
    core::QtEntry([&] {
        SendMessage(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    }, false);
    detail::ReleaseTargetDC(dc);
    return target->img;
}

namespace {

// ---- BUTTON -----------------------------------------------------------------------

struct ButtonState : ControlBase {
    ButtonState() : ControlBase(Kind::Button) {}
    DWORD type = 0;
    QAbstractButton* button = nullptr;
};

DWORD button_type(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

// Qt makes an Alt+letter shortcut of a button's "&" mark. Mnemonics work
// in dialogs only, where the dialog manager takes Alt+letter itself; left
// to Qt, the shortcut also made a frame's own accelerator of that key
// ambiguous, and then neither fired.
void set_button_text(QAbstractButton* b, const QString& text)
{
    b->setText(text);
    b->setShortcut(QKeySequence());
}

class PushButton : public QPushButton {
public:
    PushButton(HWND h, QWidget* p) : QPushButton(p), hwnd_(h) {}
protected:
    void paintEvent(QPaintEvent* e) override
    {
        if (button_type(hwnd_) != BS_OWNERDRAW) {
            QPushButton::paintEvent(e);
            return;
        }
        UINT state = 0;
        if (isDown())
            state |= ODS_SELECTED;
        if (hasFocus())
            state |= ODS_FOCUS;
        if (!isEnabled())
            state |= ODS_DISABLED;
        const QImage img = DrawItemImage(hwnd_, ODT_BUTTON, 0, ODA_DRAWENTIRE, state, size(), 0, rect());
        QPainter p(this);
        p.drawImage(0, 0, img);
    }
private:
    HWND hwnd_;
};

class CheckButton : public QCheckBox {
public:
    CheckButton(HWND h, QWidget* p) : QCheckBox(p), hwnd_(h) {}
protected:
    void nextCheckState() override
    {
        const DWORD t = button_type(hwnd_);
        if (t == BS_AUTOCHECKBOX)
            setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        else if (t == BS_AUTO3STATE)
            setCheckState(checkState() == Qt::Unchecked ? Qt::Checked
                          : checkState() == Qt::Checked ? Qt::PartiallyChecked : Qt::Unchecked);
    }
private:
    HWND hwnd_;
};

class RadioButton : public QRadioButton {
public:
    RadioButton(HWND h, QWidget* p) : QRadioButton(p), hwnd_(h) { setAutoExclusive(false); }
protected:
    void nextCheckState() override
    {
        if (button_type(hwnd_) != BS_AUTORADIOBUTTON)
            return;
        // Groups are runs from WS_GROUP, not group boxes.
        for (HWND h : GroupOf(hwnd_)) {
            if (h == hwnd_)
                continue;
            char cls[16] = {};
            GetClassName(h, cls, sizeof cls);
            if (std::strcmp(cls, WC_BUTTON) == 0 && button_type(h) == BS_AUTORADIOBUTTON)
                SendMessage(h, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        setChecked(true);
    }
private:
    HWND hwnd_;
};

ButtonState* button_state(HWND hwnd)
{
    ControlBase* c = StateOf(hwnd);
    return c && c->kind == Kind::Button ? static_cast<ButtonState*>(c) : nullptr;
}

} // namespace

QWidget* MakeButton(HWND hwnd, QWidget* parent)
{
    auto* s = new ButtonState();
    s->hwnd = hwnd;
    s->type = button_type(hwnd);
    const QString text = qstr_from_ansi(window_text(hwnd));
    QWidget* w = nullptr;
    switch (s->type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: {
        auto* b = new CheckButton(hwnd, parent);
        b->setTristate(s->type == BS_3STATE || s->type == BS_AUTO3STATE);
        set_button_text(b, text);
        s->button = b;
        w = b;
        break;
    }
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        auto* b = new RadioButton(hwnd, parent);
        set_button_text(b, text);
        s->button = b;
        w = b;
        break;
    }
    case BS_GROUPBOX: {
        auto* g = new QGroupBox(text, parent);
        g->setAttribute(Qt::WA_TransparentForMouseEvents);
        g->setFocusPolicy(Qt::NoFocus);
        parent->setAttribute(Qt::WA_TransparentForMouseEvents);
        w = g;
        break;
    }
    default: {
        auto* b = new PushButton(hwnd, parent);
        b->setAutoDefault(false);
        b->setDefault(s->type == BS_DEFPUSHBUTTON);
        set_button_text(b, text);
        s->button = b;
        w = b;
        break;
    }
    }
    s->widget = w;
    s->keyTarget = w;
    s->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    w->setFont(QFontOf(s->font));
    if (s->button) {
        s->button->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(s->button, &QAbstractButton::clicked, [hwnd] {
            ButtonState* st = button_state(hwnd);
            if (st && !st->guard)
                core::QtEntry([&] { Notify(hwnd, BN_CLICKED); }, true);
        });
    }
    Register(s);
    return w;
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        if (WNDPROC next = TakePendingAttach(hwnd, ButtonProc))
            return next(hwnd, msg, wParam, lParam);
    ButtonState* s = button_state(hwnd);
    if (!s)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    LRESULT res = 0;
    if (CommonMessage(*s, msg, wParam, lParam, &res))
        return res;
    const DWORD type = button_type(hwnd);
    auto* check = s->button && s->button->isCheckable() ? s->button : nullptr;
    switch (msg) {
    case WM_CREATE:
        ApplyControlColor(hwnd, ControlColorMessage(hwnd));
        return 0;
    case WM_NCDESTROY:
        Unregister(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SETTEXT: {
        DefWindowProc(hwnd, msg, wParam, lParam);
        const QString t = qstr_from_ansi(reinterpret_cast<const char*>(lParam));
        if (s->button)
            set_button_text(s->button, t);
        else if (auto* g = qobject_cast<QGroupBox*>(s->widget))
            g->setTitle(t);
        return TRUE;
    }
    case BM_GETCHECK:
        if (auto* cb = qobject_cast<QCheckBox*>(check))
            return cb->checkState() == Qt::Checked ? BST_CHECKED
                   : cb->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE : BST_UNCHECKED;
        return check && check->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        if (check) {
            ++s->guard;
            if (auto* cb = qobject_cast<QCheckBox*>(check))
                cb->setCheckState(wParam == BST_CHECKED ? Qt::Checked
                                  : wParam == BST_INDETERMINATE && cb->isTristate() ? Qt::PartiallyChecked
                                                                                   : Qt::Unchecked);
            else
                check->setChecked(wParam == BST_CHECKED);
            --s->guard;
        }
        return 0;
    case BM_GETSTATE: {
        LRESULT st = ButtonProc(hwnd, BM_GETCHECK, 0, 0);
        if (s->button && s->button->isDown())
            st |= BST_PUSHED;
        if (s->widget->hasFocus())
            st |= BST_FOCUS;
        return st;
    }
    case BM_SETSTATE:
        if (s->button)
            s->button->setDown(wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        const DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
        SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>((style & ~BS_TYPEMASK) | (wParam & BS_TYPEMASK)));
        if (auto* pb = qobject_cast<QPushButton*>(s->button))
            pb->setDefault((wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        s->widget->update();
        return 0;
    }
    case BM_CLICK:
        if (s->button && s->button->isEnabled())
            s->button->click();
        return 0;
    case WM_GETDLGCODE:
        switch (type) {
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON:
        case BS_OWNERDRAW: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX: return DLGC_STATIC;
        default: return DLGC_BUTTON;
        }
    case WM_NCHITTEST:
        return type == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

// ---- EDIT -------------------------------------------------------------------------

namespace {

struct EditState : ControlBase {
    EditState() : ControlBase(Kind::Edit) {}
    QLineEdit* line = nullptr;
    QPlainTextEdit* multi = nullptr;
};

EditState* edit_state(HWND hwnd)
{
    ControlBase* c = StateOf(hwnd);
    return c && c->kind == Kind::Edit ? static_cast<EditState*>(c) : nullptr;
}

std::string edit_text(const EditState& s)
{
    if (s.line)
        return ansi_from_qstr(s.line->text());
    std::string t = ansi_from_qstr(s.multi->toPlainText());
    std::string out;
    out.reserve(t.size());
    for (char ch : t) {
        if (ch == '\n')
            out.push_back('\r');
        out.push_back(ch);
    }
    return out;
}

void set_edit_text(EditState& s, const char* text)
{
    std::string t = text ? text : "";
    ++s.guard;
    if (s.line) {
        s.line->setText(qstr_from_ansi(t));
        s.line->setCursorPosition(0);
    } else {
        if (t.size() > static_cast<size_t>(EDIT_MULTILINE_MAX))
            t.resize(static_cast<size_t>(EDIT_MULTILINE_MAX));
        std::string lf;
        lf.reserve(t.size());
        for (size_t i = 0; i < t.size(); ++i)
            if (!(t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n'))
                lf.push_back(t[i]);
        s.multi->setPlainText(qstr_from_ansi(lf));
        s.multi->moveCursor(QTextCursor::Start);
    }
    --s.guard;
}

} // namespace

QWidget* MakeEdit(HWND hwnd, QWidget* parent)
{
    auto* s = new EditState();
    s->hwnd = hwnd;
    const DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    s->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    QWidget* w;
    if (style & ES_MULTILINE) {
        DropLayerScrollBars(hwnd);
        auto* m = new QPlainTextEdit(parent);
        m->setFrameShape(QFrame::NoFrame);
        m->setReadOnly(style & ES_READONLY);
        m->setLineWrapMode((style & (ES_AUTOHSCROLL | WS_HSCROLL)) ? QPlainTextEdit::NoWrap
                                                                   : QPlainTextEdit::WidgetWidth);
        m->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        m->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        m->setTabChangesFocus(false);
        s->multi = m;
        w = m;
        QObject::connect(m, &QPlainTextEdit::textChanged, [hwnd] {
            EditState* st = edit_state(hwnd);
            if (st && !st->guard)
                core::QtEntry([&] { Notify(hwnd, EN_CHANGE); }, true);
        });
    } else {
        auto* l = new QLineEdit(parent);
        l->setFrame(false);
        l->setReadOnly(style & ES_READONLY);
        if (style & ES_PASSWORD)
            l->setEchoMode(QLineEdit::Password);
        Qt::Alignment a = Qt::AlignVCenter;
        a |= (style & ES_RIGHT) ? Qt::AlignRight : (style & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
        l->setAlignment(a);
        l->setMaxLength(30000);
        s->line = l;
        w = l;
        QObject::connect(l, &QLineEdit::textChanged, [hwnd] {
            EditState* st = edit_state(hwnd);
            if (st && !st->guard)
                core::QtEntry([&] { Notify(hwnd, EN_CHANGE); }, true);
        });
    }
    w->setFont(QFontOf(s->font));
    w->setFocusPolicy(Qt::StrongFocus);
    s->widget = w;
    s->keyTarget = w;
    Register(s);
    set_edit_text(*s, window_text(hwnd).c_str());
    return w;
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        if (WNDPROC next = TakePendingAttach(hwnd, EditProc))
            return next(hwnd, msg, wParam, lParam);
    EditState* s = edit_state(hwnd);
    if (!s)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    LRESULT res = 0;
    if (CommonMessage(*s, msg, wParam, lParam, &res))
        return res;
    switch (msg) {
    case WM_CREATE:
        ApplyControlColor(hwnd, (GetWindowLong(hwnd, GWL_STYLE) & ES_READONLY) ? WM_CTLCOLORSTATIC
                                                                               : WM_CTLCOLOREDIT);
        return 0;
    case WM_NCDESTROY:
        Unregister(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SETTEXT:
        DefWindowProc(hwnd, msg, wParam, lParam);
        set_edit_text(*s, reinterpret_cast<const char*>(lParam));
        // Setting the text by message notifies, unlike other programmatic changes.
        Notify(hwnd, EN_CHANGE);
        return TRUE;
    case WM_GETTEXT:
        return copy_text(edit_text(*s), wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(edit_text(*s).size());
    case WM_SETFOCUS:
        Notify(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        Notify(hwnd, EN_KILLFOCUS);
        return 0;
    case EM_SETSEL: {
        if (!s->line) {
            if (static_cast<int>(wParam) == 0 && static_cast<int>(lParam) == -1)
                s->multi->selectAll();
            return 0;
        }
        const int len = static_cast<int>(s->line->text().size());
        int start = static_cast<int>(wParam);
        int end = static_cast<int>(lParam);
        if (start == -1) {
            s->line->deselect();
            return 0;
        }
        if (end < 0 || end > len)
            end = len;
        start = std::clamp(start, 0, len);
        s->line->setSelection(start, end - start);
        return 0;
    }
    case EM_GETSEL: {
        int start = 0, end = 0;
        if (s->line) {
            start = s->line->hasSelectedText() ? s->line->selectionStart() : s->line->cursorPosition();
            end = s->line->hasSelectedText() ? s->line->selectionEnd() : start;
        }
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
        return MAKELONG(start, end);
    }
    case EM_LIMITTEXT:
        if (s->line)
            s->line->setMaxLength(wParam == 0 || wParam > 0x7FFFFFFE ? INT_MAX : static_cast<int>(wParam));
        return 0;
    case EM_REPLACESEL:
        if (s->line)
            s->line->insert(qstr_from_ansi(reinterpret_cast<const char*>(lParam)));
        else
            s->multi->insertPlainText(qstr_from_ansi(reinterpret_cast<const char*>(lParam)));
        return 0;
    case EM_SETREADONLY:
        if (s->line)
            s->line->setReadOnly(wParam != 0);
        else
            s->multi->setReadOnly(wParam != 0);
        SetWindowLong(hwnd, GWL_STYLE, wParam ? (GetWindowLong(hwnd, GWL_STYLE) | ES_READONLY)
                                              : (GetWindowLong(hwnd, GWL_STYLE) & ~static_cast<LONG>(ES_READONLY)));
        return TRUE;
    case EM_GETMODIFY:
        return s->line ? s->line->isModified() : s->multi->document()->isModified();
    case EM_SETMODIFY:
        if (s->line)
            s->line->setModified(wParam != 0);
        else
            s->multi->document()->setModified(wParam != 0);
        return 0;
    case EM_GETLINECOUNT:
        return s->line ? 1 : s->multi->document()->blockCount();
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (s->multi ? DLGC_WANTALLKEYS : 0);
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

// ---- STATIC -----------------------------------------------------------------------

namespace {

struct StaticState : ControlBase {
    StaticState() : ControlBase(Kind::Static) {}
    HICON icon = 0;
};

StaticState* static_state(HWND hwnd)
{
    ControlBase* c = StateOf(hwnd);
    return c && c->kind == Kind::Static ? static_cast<StaticState*>(c) : nullptr;
}

QColor sys(int index) { return QColor::fromRgb(detail::ToQRgb(GetSysColor(index))); }

class StaticWidget : public QWidget {
public:
    StaticWidget(HWND h, QWidget* p) : QWidget(p), hwnd_(h)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }
protected:
    void paintEvent(QPaintEvent*) override
    {
        StaticState* s = static_state(hwnd_);
        if (!s)
            return;
        const DWORD style = static_cast<DWORD>(GetWindowLong(hwnd_, GWL_STYLE));
        const DWORD type = style & SS_TYPEMASK;
        QPainter p(this);
        const QRect r = rect();
        auto frame = [&](const QColor& c) {
            p.setPen(c);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        };
        switch (type) {
        case SS_BLACKRECT: p.fillRect(r, sys(COLOR_WINDOWFRAME)); return;
        case SS_GRAYRECT: p.fillRect(r, sys(COLOR_BTNSHADOW)); return;
        case SS_WHITERECT: p.fillRect(r, sys(COLOR_WINDOW)); return;
        case SS_BLACKFRAME: frame(sys(COLOR_WINDOWFRAME)); return;
        case SS_GRAYFRAME: frame(sys(COLOR_BTNSHADOW)); return;
        case SS_WHITEFRAME: frame(sys(COLOR_WINDOW)); return;
        case SS_ETCHEDHORZ:
            p.setPen(sys(COLOR_BTNSHADOW));
            p.drawLine(0, 0, r.width() - 1, 0);
            p.setPen(sys(COLOR_BTNHIGHLIGHT));
            p.drawLine(0, 1, r.width() - 1, 1);
            return;
        case SS_ETCHEDVERT:
            p.setPen(sys(COLOR_BTNSHADOW));
            p.drawLine(0, 0, 0, r.height() - 1);
            p.setPen(sys(COLOR_BTNHIGHLIGHT));
            p.drawLine(1, 0, 1, r.height() - 1);
            return;
        case SS_ETCHEDFRAME:
            p.setPen(sys(COLOR_BTNSHADOW));
            p.drawRect(r.adjusted(0, 0, -2, -2));
            p.setPen(sys(COLOR_BTNHIGHLIGHT));
            p.drawRect(r.adjusted(1, 1, -1, -1));
            return;
        case SS_ICON: {
            const QImage img = resources::IconImage(s->icon);
            if (!img.isNull())
                p.drawImage(0, 0, img);
            return;
        }
        default:
            break;
        }
        core::WindowRec* rec = core::Find(hwnd_);
        if (!rec)
            return;
        int flags = Qt::TextSingleLine | ((style & SS_NOPREFIX) ? 0 : Qt::TextShowMnemonic);
        flags |= type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
        flags |= (style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
        p.setFont(font());
        p.setPen(isEnabled() ? palette().color(QPalette::WindowText) : sys(COLOR_GRAYTEXT));
        p.drawText(r, flags, qstr_from_ansi(rec->text));
    }
private:
    HWND hwnd_;
};

} // namespace

QWidget* MakeStatic(HWND hwnd, QWidget* parent)
{
    auto* s = new StaticState();
    s->hwnd = hwnd;
    s->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto* w = new StaticWidget(hwnd, parent);
    w->setFont(QFontOf(s->font));
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, sys(COLOR_WINDOWTEXT));
    w->setPalette(pal);
    // Labels and frames let the mouse through to what lies under them.
    parent->setAttribute(Qt::WA_TransparentForMouseEvents);
    s->widget = w;
    Register(s);
    return w;
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        if (WNDPROC next = TakePendingAttach(hwnd, StaticProc))
            return next(hwnd, msg, wParam, lParam);
    StaticState* s = static_state(hwnd);
    if (!s)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    LRESULT res = 0;
    if (msg != WM_KEYDOWN && msg != WM_KEYUP && msg != WM_CHAR && CommonMessage(*s, msg, wParam, lParam, &res))
        return res;
    switch (msg) {
    case WM_CREATE:
        ApplyControlColor(hwnd, WM_CTLCOLORSTATIC);
        return 0;
    case WM_NCDESTROY:
        Unregister(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SETTEXT:
        DefWindowProc(hwnd, msg, wParam, lParam);
        s->widget->update();
        return TRUE;
    case STM_SETICON: {
        const HICON old = s->icon;
        s->icon = static_cast<HICON>(wParam);
        s->widget->update();
        return old;
    }
    case STM_GETICON:
        return s->icon;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

// ---- SCROLLBAR --------------------------------------------------------------------

namespace {

struct ScrollState : ControlBase {
    ScrollState() : ControlBase(Kind::ScrollBar) {}
    QScrollBar* bar = nullptr;
    int min = 0, max = 100, pos = 0;
};

ScrollState* scroll_state(HWND hwnd)
{
    ControlBase* c = StateOf(hwnd);
    return c && c->kind == Kind::ScrollBar ? static_cast<ScrollState*>(c) : nullptr;
}

void send_scroll(HWND hwnd, WORD code, int pos)
{
    const bool vert = GetWindowLong(hwnd, GWL_STYLE) & SBS_VERT;
    core::QtEntry([&] {
        SendMessage(GetParent(hwnd), vert ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos),
                    static_cast<LPARAM>(hwnd));
    }, true);
}

} // namespace

QWidget* MakeScrollBar(HWND hwnd, QWidget* parent)
{
    auto* s = new ScrollState();
    s->hwnd = hwnd;
    const bool vert = GetWindowLong(hwnd, GWL_STYLE) & SBS_VERT;
    auto* b = new QScrollBar(vert ? Qt::Vertical : Qt::Horizontal, parent);
    b->setRange(0, 100);
    b->setSingleStep(1);
    b->setPageStep(10);
    b->setFocusPolicy(Qt::NoFocus);
    s->bar = b;
    s->widget = b;
    s->keyTarget = b;
    QObject::connect(b, &QAbstractSlider::actionTriggered, [hwnd](int action) {
        ScrollState* st = scroll_state(hwnd);
        if (!st || st->guard)
            return;
        WORD code;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
        case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
        case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
        case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
        case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
        case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
        case QAbstractSlider::SliderMove:
            send_scroll(hwnd, SB_THUMBTRACK, st->bar->sliderPosition());
            return;
        default: return;
        }
        // The program moves the thumb itself, as with the classic control.
        st->bar->setSliderPosition(st->pos);
        send_scroll(hwnd, code, st->pos);
    });
    QObject::connect(b, &QAbstractSlider::sliderReleased, [hwnd] {
        ScrollState* st = scroll_state(hwnd);
        if (!st)
            return;
        const int p = st->bar->sliderPosition();
        st->bar->setSliderPosition(st->pos);
        send_scroll(hwnd, SB_THUMBPOSITION, p);
        send_scroll(hwnd, SB_ENDSCROLL, 0);
    });
    Register(s);
    return b;
}

LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        if (WNDPROC next = TakePendingAttach(hwnd, ScrollBarProc))
            return next(hwnd, msg, wParam, lParam);
    ScrollState* s = scroll_state(hwnd);
    if (!s)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    LRESULT res = 0;
    if (CommonMessage(*s, msg, wParam, lParam, &res))
        return res;
    auto apply = [&] {
        ++s->guard;
        s->bar->setRange(s->min, s->max);
        s->bar->setValue(s->pos);
        --s->guard;
    };
    switch (msg) {
    case WM_NCDESTROY:
        Unregister(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case SBM_SETRANGE:
        s->min = static_cast<int>(wParam);
        s->max = std::max(s->min, static_cast<int>(lParam));
        s->pos = std::clamp(s->pos, s->min, s->max);
        apply();
        return TRUE;
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = s->min;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = s->max;
        return 0;
    case SBM_SETPOS: {
        const int old = s->pos;
        s->pos = std::clamp(static_cast<int>(wParam), s->min, s->max);
        apply();
        return old;
    }
    case SBM_GETPOS:
        return s->pos;
    case SBM_ENABLE_ARROWS:
        s->bar->setEnabled(wParam != ESB_DISABLE_BOTH);
        return TRUE;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

} // namespace plat::controls

namespace plat {

BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows)
{
    if (bar == SB_CTL)
        return controls::StateOf(hwnd) ? static_cast<BOOL>(SendMessage(hwnd, SBM_ENABLE_ARROWS, arrows, 0)) : FALSE;
    core::WindowRec* r = core::Find(hwnd);
    if (!r || (bar != SB_HORZ && bar != SB_VERT) || !r->scroll[bar])
        return FALSE;
    r->scroll[bar]->setEnabled(arrows != ESB_DISABLE_BOTH);
    return TRUE;
}

} // namespace plat
