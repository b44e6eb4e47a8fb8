// LISTBOX and COMBOBOX over QListWidget and QComboBox; the texts and item
// data live here, the Qt views only show them.
#include "controls/controls_p.h"
#include "plat/gdi.h"
#include "text_qt_p.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <cctype>
#include <climits>
#include <cstring>
#include <strings.h>

namespace plat::controls {

namespace {

struct Item {
    std::string text;
    uintptr_t data = 0;
};

int copy_item(const std::string& s, LPARAM buf)
{
    char* out = reinterpret_cast<char*>(buf);
    if (!out)
        return static_cast<int>(LB_ERR);
    std::memcpy(out, s.data(), s.size());
    out[s.size()] = '\0';
    return static_cast<int>(s.size());
}

int sorted_position(const std::vector<Item>& items, const std::string& text)
{
    int i = 0;
    while (i < static_cast<int>(items.size()) &&
           strcasecmp(items[static_cast<size_t>(i)].text.c_str(), text.c_str()) <= 0)
        ++i;
    return i;
}

int find_string(const std::vector<Item>& items, int start, const char* text, bool exact)
{
    if (!text || items.empty())
        return -1;
    const int n = static_cast<int>(items.size());
    const size_t len = std::strlen(text);
    const int from = (start < -1 || start >= n) ? 0 : start + 1;
    for (int k = 0; k < n; ++k) {
        const int i = (from + k) % n;
        const std::string& t = items[static_cast<size_t>(i)].text;
        if (exact ? strcasecmp(t.c_str(), text) == 0 : strncasecmp(t.c_str(), text, len) == 0)
            return i;
    }
    return -1;
}

// ---- LISTBOX -----------------------------------------------------------------------

struct ListState : ControlBase {
    ListState() : ControlBase(Kind::ListBox) {}
    QListWidget* list = nullptr;
    std::vector<Item> items;
    std::vector<int> tabsDlu; // empty: every 32 units
    int itemHeight = 13;
    bool ownerDraw = false;
    bool hasStrings = true;
};

ListState* list_state(HWND hwnd)
{
    ControlBase* c = StateOf(hwnd);
    return c && c->kind == Kind::ListBox ? static_cast<ListState*>(c) : nullptr;
}

QColor sys(int index) { return QColor::fromRgb(detail::ToQRgb(GetSysColor(index))); }

class ListDelegate : public QStyledItemDelegate {
public:
    ListDelegate(HWND h, QObject* parent) : QStyledItemDelegate(parent), hwnd_(h) {}
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        ListState* s = list_state(hwnd_);
        return QSize(10, s ? s->itemHeight : 13);
    }
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override
    {
        ListState* s = list_state(hwnd_);
        if (!s || index.row() < 0 || index.row() >= static_cast<int>(s->items.size()))
            return;
        const Item& item = s->items[static_cast<size_t>(index.row())];
        const bool selected = opt.state & QStyle::State_Selected;
        const bool focus = (opt.state & QStyle::State_HasFocus) != 0;
        if (s->ownerDraw) {
            UINT state = 0;
            if (selected)
                state |= ODS_SELECTED;
            if (focus)
                state |= ODS_FOCUS;
            const QRect r(0, 0, opt.rect.width(), opt.rect.height());
            const QImage img = DrawItemImage(hwnd_, ODT_LISTBOX, static_cast<UINT>(index.row()),
                                             ODA_DRAWENTIRE, state, r.size(), item.data, r);
            p->drawImage(opt.rect.topLeft(), img);
            return;
        }
        p->fillRect(opt.rect, selected ? sys(COLOR_HIGHLIGHT) : opt.palette.color(QPalette::Base));
        p->setPen(selected ? sys(COLOR_HIGHLIGHTTEXT) : opt.palette.color(QPalette::Text));
        p->setFont(opt.font);
        const QFontMetrics fm(opt.font);
        const bool tabs = GetWindowLong(hwnd_, GWL_STYLE) & LBS_USETABSTOPS;
        int bx = 0, by = 0;
        BaseUnits(s->font, &bx, &by);
        auto stop_after = [&](int x) {
            // Tab stops are in dialog units; a single stop repeats.
            if (s->tabsDlu.size() > 1) {
                for (int t : s->tabsDlu) {
                    const int px = t * bx / 4;
                    if (px > x)
                        return px;
                }
            }
            const int every = std::max(1, (s->tabsDlu.size() == 1 ? s->tabsDlu[0] : 32) * bx / 4);
            return (x / every + 1) * every;
        };
        int x = 0;
        const int y = opt.rect.top() + fm.ascent();
        const QString text = qstr_from_ansi(item.text);
        const QStringList parts = tabs ? text.split(QLatin1Char('\t')) : QStringList{text};
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                x = stop_after(x);
            p->drawText(opt.rect.left() + 2 + x, y, parts[i]);
            x += fm.horizontalAdvance(parts[i]);
        }
        if (focus) {
            p->setPen(QPen(Qt::DotLine));
            p->drawRect(opt.rect.adjusted(0, 0, -1, -1));
        }
    }
private:
    HWND hwnd_;
};

void list_insert(ListState& s, int at, Item item)
{
    s.items.insert(s.items.begin() + at, std::move(item));
    ++s.guard;
    s.list->insertItem(at, QString());
    --s.guard;
}

} // namespace

QWidget* MakeListBox(HWND hwnd, QWidget* parent)
{
    auto* s = new ListState();
    s->hwnd = hwnd;
    const DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    DropLayerScrollBars(hwnd);
    auto* l = new QListWidget(parent);
    l->setFrameShape(QFrame::NoFrame);
    l->setUniformItemSizes(true);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setVerticalScrollBarPolicy((style & LBS_DISABLENOSCROLL) ? Qt::ScrollBarAlwaysOn
                                  : (style & WS_VSCROLL)        ? Qt::ScrollBarAsNeeded
                                                                : Qt::ScrollBarAlwaysOff);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setItemDelegate(new ListDelegate(hwnd, l));
    l->setFocusPolicy(Qt::StrongFocus);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Base, sys(COLOR_WINDOW));
    pal.setColor(QPalette::Text, sys(COLOR_WINDOWTEXT));
    l->setPalette(pal);
    s->list = l;
    s->widget = l;
    s->keyTarget = l;
    s->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    l->setFont(QFontOf(s->font));
    s->itemHeight = FontHeight(s->font);
    s->ownerDraw = style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
    s->hasStrings = !s->ownerDraw || (style & LBS_HASSTRINGS);
    // The selection, not the caret: Qt puts its caret on the first row when
    // the list gets the focus, which selects nothing.
    QObject::connect(l, &QListWidget::itemSelectionChanged, [hwnd] {
        ListState* st = list_state(hwnd);
        if (st && !st->guard && (GetWindowLong(hwnd, GWL_STYLE) & LBS_NOTIFY))
            core::QtEntry([&] { Notify(hwnd, LBN_SELCHANGE); }, true);
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, [hwnd](QListWidgetItem*) {
        if (GetWindowLong(hwnd, GWL_STYLE) & LBS_NOTIFY)
            core::QtEntry([&] { Notify(hwnd, LBN_DBLCLK); }, true);
    });
    Register(s);
    return l;
}

LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        if (WNDPROC next = TakePendingAttach(hwnd, ListBoxProc))
            return next(hwnd, msg, wParam, lParam);
    ListState* s = list_state(hwnd);
    if (!s)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    const int count = static_cast<int>(s->items.size());
    const int index = static_cast<int>(static_cast<intptr_t>(wParam));
    const bool valid = index >= 0 && index < count;
    if (msg == WM_SETFONT) {
        LRESULT r = 0;
        CommonMessage(*s, msg, wParam, lParam, &r);
        if (!s->ownerDraw)
            s->itemHeight = FontHeight(s->font);
        s->list->doItemsLayout();
        return 0;
    }
    LRESULT res = 0;
    if (CommonMessage(*s, msg, wParam, lParam, &res))
        return res;
    switch (msg) {
    case WM_CREATE: {
        ApplyControlColor(hwnd, WM_CTLCOLORLISTBOX);
        if (s->ownerDraw) {
            MEASUREITEMSTRUCT mis;
            mis.CtlType = ODT_LISTBOX;
            mis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
            RECT rc;
            GetClientRect(hwnd, &rc);
            mis.itemWidth = static_cast<UINT>(rc.right);
            mis.itemHeight = static_cast<UINT>(s->itemHeight);
            SendMessage(GetParent(hwnd), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
            if ((s = list_state(hwnd)) != nullptr)
                s->itemHeight = std::max(1, static_cast<int>(mis.itemHeight));
        }
        return 0;
    }
    case WM_NCDESTROY:
        Unregister(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        Item item;
        if (s->hasStrings)
            item.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        else
            item.data = static_cast<uintptr_t>(lParam);
        int at = count;
        if (msg == LB_INSERTSTRING) {
            if (index > count)
                return LB_ERR;
            if (index >= 0)
                at = index;
        } else if ((GetWindowLong(hwnd, GWL_STYLE) & LBS_SORT) && s->hasStrings) {
            at = sorted_position(s->items, item.text);
        }
        list_insert(*s, at, std::move(item));
        return at;
    }
    case LB_DELETESTRING:
        if (!valid)
            return LB_ERR;
        s->items.erase(s->items.begin() + index);
        ++s->guard;
        delete s->list->takeItem(index);
        --s->guard;
        return count - 1;
    case LB_RESETCONTENT:
        s->items.clear();
        ++s->guard;
        s->list->clear();
        --s->guard;
        return 0;
    case LB_SETCURSEL:
        ++s->guard;
        if (valid) {
            s->list->setCurrentRow(index);
            s->list->scrollToItem(s->list->item(index));
        } else {
            s->list->setCurrentRow(-1);
            s->list->clearSelection();
        }
        --s->guard;
        return valid ? index : LB_ERR;
    case LB_GETCURSEL: {
        const int row = s->list->currentRow();
        return row >= 0 && s->list->item(row) && s->list->item(row)->isSelected() ? row : LB_ERR;
    }
    case LB_GETTEXT:
        if (!valid)
            return LB_ERR;
        if (!s->hasStrings) {
            if (lParam)
                std::memcpy(reinterpret_cast<void*>(lParam), &s->items[static_cast<size_t>(index)].data, sizeof(uintptr_t));
            return sizeof(uintptr_t);
        }
        return copy_item(s->items[static_cast<size_t>(index)].text, lParam);
    case LB_GETTEXTLEN:
        return valid ? static_cast<LRESULT>(s->hasStrings ? s->items[static_cast<size_t>(index)].text.size() : sizeof(uintptr_t)) : LB_ERR;
    case LB_GETCOUNT:
        return count;
    case LB_GETITEMDATA:
        return valid ? static_cast<LRESULT>(s->items[static_cast<size_t>(index)].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!valid)
            return LB_ERR;
        s->items[static_cast<size_t>(index)].data = static_cast<uintptr_t>(lParam);
        return 0;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT: {
        const int at = find_string(s->items, index, reinterpret_cast<const char*>(lParam), msg == LB_FINDSTRINGEXACT);
        return at < 0 ? LB_ERR : at;
    }
    case LB_SELECTSTRING: {
        const int at = find_string(s->items, index, reinterpret_cast<const char*>(lParam), false);
        if (at < 0)
            return LB_ERR;
        ListBoxProc(hwnd, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
        return at;
    }
    case LB_SETTABSTOPS: {
        const int n = static_cast<int>(wParam);
        const int* stops = reinterpret_cast<const int*>(lParam);
        if (n < 0 || (n > 0 && !stops))
            return FALSE;
        s->tabsDlu.assign(stops, stops + n);
        s->list->viewport()->update();
        return TRUE;
    }
    case LB_GETITEMHEIGHT:
        return s->itemHeight;
    case LB_SETITEMHEIGHT:
        if (lParam <= 0 || lParam > 255)
            return LB_ERR;
        s->itemHeight = static_cast<int>(lParam);
        s->list->doItemsLayout();
        return 0;
    case LB_GETTOPINDEX: {
        const QModelIndex top = s->list->indexAt(QPoint(1, 1));
        return top.isValid() ? top.row() : 0;
    }
    case LB_SETTOPINDEX:
        if (!valid)
            return LB_ERR;
        s->list->scrollToItem(s->list->item(index), QAbstractItemView::PositionAtTop);
        return 0;
    case LB_GETITEMRECT: {
        if (!valid || !lParam)
            return LB_ERR;
        const QRect r = s->list->visualItemRect(s->list->item(index));
        *reinterpret_cast<RECT*>(lParam) = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
        return 0;
    }
    case LB_GETSEL:
        return valid ? (s->list->item(index)->isSelected() ? 1 : 0) : LB_ERR;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

// ---- COMBOBOX ----------------------------------------------------------------------

namespace {

struct ComboState : ControlBase {
    ComboState() : ControlBase(Kind::ComboBox) {}
    QComboBox* combo = nullptr;
    std::vector<Item> items;
    int listHeight = 0;
};

ComboState* combo_state(HWND hwnd)
{
    ControlBase* c = StateOf(hwnd);
    return c && c->kind == Kind::ComboBox ? static_cast<ComboState*>(c) : nullptr;
}

class Combo : public QComboBox {
public:
    Combo(HWND h, QWidget* p) : QComboBox(p), hwnd_(h) {}
    void showPopup() override
    {
        core::QtEntry([&] { Notify(hwnd_, CBN_DROPDOWN); }, true);
        if (combo_state(hwnd_))
            QComboBox::showPopup();
    }
    void hidePopup() override
    {
        const bool shown = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (shown)
            core::QtEntry([&] { Notify(hwnd_, CBN_CLOSEUP); }, true);
    }
private:
    HWND hwnd_;
};

void combo_visible_items(ComboState& s)
{
    const int h = FontHeight(s.font);
    s.combo->setMaxVisibleItems(std::max(1, s.listHeight / std::max(1, h)));
}

} // namespace

QWidget* MakeComboBox(HWND hwnd, QWidget* parent)
{
    auto* s = new ComboState();
    s->hwnd = hwnd;
    const DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    // A combo's scroll-bar style belongs to its dropped list, which Qt
    // scrolls itself: drawn beside the field it looked like a spin control.
    DropLayerScrollBars(hwnd);
    auto* c = new Combo(hwnd, parent);
    const bool editable = (style & 0x3) == CBS_DROPDOWN || (style & 0x3) == CBS_SIMPLE;
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setFocusPolicy(Qt::StrongFocus);
    s->combo = c;
    s->widget = c;
    s->keyTarget = editable ? static_cast<QWidget*>(c->lineEdit()) : c;
    s->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    c->setFont(QFontOf(s->font));
    // The creation height includes the dropped list; the window itself is
    // only as high as its edit field.
    if (core::WindowRec* r = core::Find(hwnd)) {
        const int edit = FontHeight(s->font) + 8;
        s->listHeight = std::max(0, r->rect.height() - edit);
        r->rect.setHeight(edit + r->nc.top() + r->nc.bottom());
    }
    combo_visible_items(*s);
    QObject::connect(c, &QComboBox::currentIndexChanged, [hwnd](int) {
        ComboState* st = combo_state(hwnd);
        if (st && !st->guard)
            core::QtEntry([&] { Notify(hwnd, CBN_SELCHANGE); }, true);
    });
    if (editable)
        QObject::connect(c->lineEdit(), &QLineEdit::textEdited, [hwnd](const QString&) {
            core::QtEntry([&] { Notify(hwnd, CBN_EDITCHANGE); }, true);
        });
    Register(s);
    return c;
}

LRESULT ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        if (WNDPROC next = TakePendingAttach(hwnd, ComboBoxProc))
            return next(hwnd, msg, wParam, lParam);
    ComboState* s = combo_state(hwnd);
    if (!s)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    const int count = static_cast<int>(s->items.size());
    const int index = static_cast<int>(static_cast<intptr_t>(wParam));
    const bool valid = index >= 0 && index < count;
    LRESULT res = 0;
    if (CommonMessage(*s, msg, wParam, lParam, &res)) {
        if (msg == WM_SETFONT)
            combo_visible_items(*s);
        return res;
    }
    switch (msg) {
    case WM_NCDESTROY:
        Unregister(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        Item item;
        item.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        int at = count;
        if (msg == CB_INSERTSTRING) {
            if (index > count)
                return CB_ERR;
            if (index >= 0)
                at = index;
        } else if (GetWindowLong(hwnd, GWL_STYLE) & CBS_SORT) {
            at = sorted_position(s->items, item.text);
        }
        const QString t = qstr_from_ansi(item.text);
        s->items.insert(s->items.begin() + at, std::move(item));
        ++s->guard;
        const int cur = s->combo->currentIndex();
        s->combo->insertItem(at, t);
        // Qt selects the first item added; the classic list starts with none.
        if (cur < 0)
            s->combo->setCurrentIndex(-1);
        --s->guard;
        return at;
    }
    case CB_DELETESTRING:
        if (!valid)
            return CB_ERR;
        s->items.erase(s->items.begin() + index);
        ++s->guard;
        s->combo->removeItem(index);
        --s->guard;
        return count - 1;
    case CB_RESETCONTENT:
        s->items.clear();
        ++s->guard;
        s->combo->clear();
        if (s->combo->isEditable())
            s->combo->setEditText(QString());
        --s->guard;
        return CB_OKAY;
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return s->combo->currentIndex() >= 0 ? s->combo->currentIndex() : CB_ERR;
    case CB_SETCURSEL:
        ++s->guard;
        s->combo->setCurrentIndex(valid ? index : -1);
        --s->guard;
        return valid ? index : CB_ERR;
    case CB_GETLBTEXT:
        return valid ? copy_item(s->items[static_cast<size_t>(index)].text, lParam) : CB_ERR;
    case CB_GETLBTEXTLEN:
        return valid ? static_cast<LRESULT>(s->items[static_cast<size_t>(index)].text.size()) : CB_ERR;
    case CB_GETITEMDATA:
        return valid ? static_cast<LRESULT>(s->items[static_cast<size_t>(index)].data) : CB_ERR;
    case CB_SETITEMDATA:
        if (!valid)
            return CB_ERR;
        s->items[static_cast<size_t>(index)].data = static_cast<uintptr_t>(lParam);
        return CB_OKAY;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT: {
        const int at = find_string(s->items, index, reinterpret_cast<const char*>(lParam), msg == CB_FINDSTRINGEXACT);
        return at < 0 ? CB_ERR : at;
    }
    case CB_SELECTSTRING: {
        const int at = find_string(s->items, index, reinterpret_cast<const char*>(lParam), false);
        if (at < 0)
            return CB_ERR;
        ComboBoxProc(hwnd, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        return at;
    }
    case CB_SHOWDROPDOWN:
        if (wParam)
            s->combo->showPopup();
        else
            s->combo->hidePopup();
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return s->combo->view() && s->combo->view()->isVisible() ? TRUE : FALSE;
    case CB_LIMITTEXT:
        if (s->combo->lineEdit())
            s->combo->lineEdit()->setMaxLength(wParam == 0 ? INT_MAX : static_cast<int>(std::min<WPARAM>(wParam, INT_MAX)));
        return TRUE;
    case WM_SETTEXT:
        DefWindowProc(hwnd, msg, wParam, lParam);
        if (s->combo->isEditable()) {
            ++s->guard;
            s->combo->setEditText(qstr_from_ansi(reinterpret_cast<const char*>(lParam)));
            --s->guard;
            return TRUE;
        }
        return CB_ERR;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        std::string t;
        if (s->combo->isEditable())
            t = ansi_from_qstr(s->combo->currentText());
        else if (s->combo->currentIndex() >= 0)
            t = s->items[static_cast<size_t>(s->combo->currentIndex())].text;
        if (msg == WM_GETTEXTLENGTH)
            return static_cast<LRESULT>(t.size());
        char* out = reinterpret_cast<char*>(lParam);
        const int n = static_cast<int>(std::min<WPARAM>(wParam, INT_MAX));
        if (!out || n <= 0)
            return 0;
        const int len = std::min<int>(n - 1, static_cast<int>(t.size()));
        std::memcpy(out, t.data(), static_cast<size_t>(len));
        out[len] = '\0';
        return len;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (s->combo->isEditable() ? DLGC_HASSETSEL : 0);
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

} // namespace plat::controls
