// The tree view over QTreeWidget, image lists and tooltips.
#include "controls/controls_p.h"
#include "core/widgets_p.h"
#include "gdi/gdi_p.h"
#include "kernel/handles_p.h"
#include "text_qt_p.h"
#include <QHeaderView>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTreeWidget>
#include <cstring>
#include <map>

namespace plat::controls {

namespace {

// ---- image lists ----------------------------------------------------------------------

struct ImageListRec {
    int cx = 16, cy = 16;
    bool masked = false;
    std::vector<QImage> images;
};

std::map<HIMAGELIST, ImageListRec>& image_lists()
{
    static std::map<HIMAGELIST, ImageListRec> m;
    return m;
}

ImageListRec* find_list(HIMAGELIST h)
{
    auto it = image_lists().find(h);
    return it == image_lists().end() ? nullptr : &it->second;
}

// ---- tree -------------------------------------------------------------------------------

struct TreeItem {
    QTreeWidgetItem* q = nullptr;
    std::string text;
    LPARAM data = 0;
    int image = 0, selectedImage = 0;
    bool expandedOnce = false;
};

constexpr int kIdRole = Qt::UserRole + 1;

HTREEITEM g_nextItem = 1;

struct TreeState : ControlBase {
    TreeState() : ControlBase(Kind::Tree) {}
    QTreeWidget* tree = nullptr;
    std::map<HTREEITEM, TreeItem> items;
    HIMAGELIST images = 0;
    HTREEITEM drop = 0;
    bool programmatic = false;
    bool byMouse = false;
};

TreeState* tree_state(HWND hwnd)
{
    ControlBase* c = StateOf(hwnd);
    return c && c->kind == Kind::Tree ? static_cast<TreeState*>(c) : nullptr;
}

HTREEITEM id_of(const QTreeWidgetItem* q)
{
    return q ? static_cast<HTREEITEM>(q->data(0, kIdRole).toUInt()) : 0;
}

TreeItem* item_of(TreeState& s, HTREEITEM h)
{
    auto it = s.items.find(h);
    return it == s.items.end() ? nullptr : &it->second;
}

UINT state_of(TreeState& s, HTREEITEM h)
{
    TreeItem* t = item_of(s, h);
    if (!t)
        return 0;
    UINT st = 0;
    if (t->q->isSelected() || s.tree->currentItem() == t->q)
        st |= TVIS_SELECTED;
    if (t->q->isExpanded())
        st |= TVIS_EXPANDED;
    if (t->expandedOnce)
        st |= TVIS_EXPANDEDONCE;
    if (s.drop == h)
        st |= TVIS_DROPHILITED;
    return st;
}

void fill_item(TreeState& s, HTREEITEM h, TVITEM* out)
{
    *out = TVITEM{};
    out->mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    out->hItem = h;
    if (TreeItem* t = item_of(s, h)) {
        out->state = state_of(s, h);
        out->stateMask = 0xFFFF;
        out->lParam = t->data;
        out->iImage = t->image;
        out->iSelectedImage = t->selectedImage;
    }
}

void apply_icon(TreeState& s, TreeItem& t)
{
    const ImageListRec* l = find_list(s.images);
    if (l && t.image >= 0 && t.image < static_cast<int>(l->images.size()))
        t.q->setIcon(0, QIcon(QPixmap::fromImage(l->images[static_cast<size_t>(t.image)])));
    else
        t.q->setIcon(0, QIcon());
}

LRESULT notify_self(HWND hwnd, NMHDR* hdr)
{
    LRESULT r = 0;
    core::QtEntry([&] { r = SendMessage(hwnd, OCM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr)); }, true);
    return r;
}

void send_expanded(HWND hwnd, QTreeWidgetItem* q, bool expanded)
{
    TreeState* s = tree_state(hwnd);
    if (!s || s->guard)
        return;
    const HTREEITEM h = id_of(q);
    NMTREEVIEW nm;
    nm.hdr = NMHDR{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), TVN_ITEMEXPANDED};
    nm.action = expanded ? TVE_EXPAND : TVE_COLLAPSE;
    fill_item(*s, h, &nm.itemNew);
    notify_self(hwnd, &nm.hdr);
    // The flag is set once the first expansion has been reported.
    if (expanded)
        if (TreeState* st = tree_state(hwnd))
            if (TreeItem* t = item_of(*st, h))
                t->expandedOnce = true;
}

class Tree : public QTreeWidget {
public:
    Tree(HWND h, QWidget* p) : QTreeWidget(p), hwnd_(h) {}
protected:
    bool event(QEvent* e) override
    {
        // Mouse input addressed to the control itself (synthetic input aims
        // at the window's widget) is the view's.
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPointF local = me->position() - QPointF(viewport()->pos());
            QMouseEvent copy(me->type(), local, me->scenePosition(), me->globalPosition(), me->button(),
                             me->buttons(), me->modifiers());
            QCoreApplication::sendEvent(viewport(), &copy);
            return true;
        }
        default:
            return QTreeWidget::event(e);
        }
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        // The click is reported before the selection moves.
        NMHDR hdr{hwnd_, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_)), NM_CLICK};
        notify_self(hwnd_, &hdr);
        TreeState* s = tree_state(hwnd_);
        if (!s)
            return;
        s->byMouse = true;
        QTreeWidget::mousePressEvent(e);
        if ((s = tree_state(hwnd_)) != nullptr)
            s->byMouse = false;
    }
private:
    HWND hwnd_;
};

void remove_tree(TreeState& s, QTreeWidgetItem* q)
{
    for (int i = 0; i < q->childCount(); ++i)
        remove_tree(s, q->child(i));
    s.items.erase(id_of(q));
}

} // namespace

const std::vector<QImage>* ImageListImages(HIMAGELIST list)
{
    ImageListRec* l = find_list(list);
    return l ? &l->images : nullptr;
}

QWidget* MakeTree(HWND hwnd, QWidget* parent)
{
    auto* s = new TreeState();
    s->hwnd = hwnd;
    const DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    DropLayerScrollBars(hwnd);
    auto* t = new Tree(hwnd, parent);
    t->setHeaderHidden(true);
    t->setColumnCount(1);
    t->setFrameShape(QFrame::NoFrame);
    t->setRootIsDecorated(style & TVS_LINESATROOT);
    t->setItemsExpandable(style & TVS_HASBUTTONS);
    t->setIconSize(QSize(16, 16));
    t->setFocusPolicy(Qt::StrongFocus);
    s->tree = t;
    s->widget = t;
    s->keyTarget = t;
    s->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    t->setFont(QFontOf(s->font));
    QObject::connect(t, &QTreeWidget::itemExpanded, [hwnd](QTreeWidgetItem* q) { send_expanded(hwnd, q, true); });
    QObject::connect(t, &QTreeWidget::itemCollapsed, [hwnd](QTreeWidgetItem* q) { send_expanded(hwnd, q, false); });
    QObject::connect(t, &QTreeWidget::currentItemChanged, [hwnd](QTreeWidgetItem* cur, QTreeWidgetItem* prev) {
        TreeState* st = tree_state(hwnd);
        if (!st || st->guard)
            return;
        NMTREEVIEW nm;
        nm.hdr = NMHDR{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), TVN_SELCHANGED};
        nm.action = st->programmatic ? TVC_UNKNOWN : st->byMouse ? TVC_BYMOUSE : TVC_BYKEYBOARD;
        fill_item(*st, id_of(prev), &nm.itemOld);
        fill_item(*st, id_of(cur), &nm.itemNew);
        notify_self(hwnd, &nm.hdr);
    });
    Register(s);
    return t;
}

LRESULT TreeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        if (WNDPROC next = TakePendingAttach(hwnd, TreeProc))
            return next(hwnd, msg, wParam, lParam);
    TreeState* s = tree_state(hwnd);
    if (!s)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    LRESULT res = 0;
    if (CommonMessage(*s, msg, wParam, lParam, &res))
        return res;
    const auto h = static_cast<HTREEITEM>(lParam);
    switch (msg) {
    case WM_NCDESTROY:
        Unregister(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case TVM_INSERTITEM: {
        const auto* ins = reinterpret_cast<const TVINSERTSTRUCT*>(lParam);
        if (!ins)
            return 0;
        QTreeWidgetItem* parentItem = nullptr;
        if (ins->hParent && ins->hParent != TVI_ROOT) {
            TreeItem* p = item_of(*s, ins->hParent);
            if (!p)
                return 0;
            parentItem = p->q;
        }
        TreeItem t;
        t.q = new QTreeWidgetItem();
        if (ins->item.mask & TVIF_TEXT)
            t.text = ins->item.pszText ? ins->item.pszText : "";
        if (ins->item.mask & TVIF_PARAM)
            t.data = ins->item.lParam;
        if (ins->item.mask & TVIF_IMAGE)
            t.image = ins->item.iImage;
        t.selectedImage = (ins->item.mask & TVIF_SELECTEDIMAGE) ? ins->item.iSelectedImage : t.image;
        const HTREEITEM id = g_nextItem++;
        t.q->setData(0, kIdRole, QVariant::fromValue<uint>(id));
        t.q->setText(0, qstr_from_ansi(t.text));
        ++s->guard;
        if (parentItem) {
            if (ins->hInsertAfter == TVI_FIRST)
                parentItem->insertChild(0, t.q);
            else
                parentItem->addChild(t.q);
        } else if (ins->hInsertAfter == TVI_FIRST) {
            s->tree->insertTopLevelItem(0, t.q);
        } else {
            s->tree->addTopLevelItem(t.q);
        }
        --s->guard;
        auto& stored = s->items[id] = std::move(t);
        apply_icon(*s, stored);
        return id;
    }
    case TVM_DELETEITEM:
        ++s->guard;
        if (h == 0 || h == TVI_ROOT) {
            s->tree->clear();
            s->items.clear();
            s->drop = 0;
        } else if (TreeItem* t = item_of(*s, h)) {
            QTreeWidgetItem* q = t->q;
            remove_tree(*s, q);
            delete q;
            if (!item_of(*s, s->drop))
                s->drop = 0;
        } else {
            --s->guard;
            return FALSE;
        }
        --s->guard;
        return TRUE;
    case TVM_EXPAND: {
        TreeItem* t = item_of(*s, h);
        if (!t)
            return FALSE;
        ++s->guard;
        const UINT code = static_cast<UINT>(wParam) & 0x3;
        const bool expand = code == TVE_EXPAND || (code == TVE_TOGGLE && !t->q->isExpanded());
        t->q->setExpanded(expand);
        if (expand)
            t->expandedOnce = true;
        --s->guard;
        return TRUE;
    }
    case TVM_ENSUREVISIBLE: {
        TreeItem* t = item_of(*s, h);
        if (!t)
            return FALSE;
        ++s->guard;
        for (QTreeWidgetItem* p = t->q->parent(); p; p = p->parent()) {
            p->setExpanded(true);
            if (TreeItem* pt = item_of(*s, id_of(p)))
                pt->expandedOnce = true;
        }
        s->tree->scrollToItem(t->q);
        --s->guard;
        return TRUE;
    }
    case TVM_GETNEXTITEM: {
        TreeItem* t = item_of(*s, h);
        QTreeWidgetItem* q = t ? t->q : nullptr;
        switch (static_cast<UINT>(wParam)) {
        case TVGN_ROOT:
            return id_of(s->tree->topLevelItem(0));
        case TVGN_CHILD:
            if (!q)
                return h == 0 || h == TVI_ROOT ? id_of(s->tree->topLevelItem(0)) : 0;
            return id_of(q->child(0));
        case TVGN_PARENT:
            return q ? id_of(q->parent()) : 0;
        case TVGN_NEXT:
        case TVGN_PREVIOUS: {
            if (!q)
                return 0;
            const int step = wParam == TVGN_NEXT ? 1 : -1;
            if (QTreeWidgetItem* p = q->parent())
                return id_of(p->child(p->indexOfChild(q) + step));
            return id_of(s->tree->topLevelItem(s->tree->indexOfTopLevelItem(q) + step));
        }
        case TVGN_CARET:
            return id_of(s->tree->currentItem());
        case TVGN_DROPHILITE:
            return s->drop;
        default:
            return 0;
        }
    }
    case TVM_SELECTITEM: {
        TreeItem* t = item_of(*s, h);
        if (h && !t)
            return FALSE;
        if (wParam == TVGN_DROPHILITE) {
            if (TreeItem* old = item_of(*s, s->drop))
                old->q->setBackground(0, QBrush());
            s->drop = h;
            if (t)
                t->q->setBackground(0, QColor::fromRgb(detail::ToQRgb(GetSysColor(COLOR_HIGHLIGHT))));
            return TRUE;
        }
        // A change made by the program is still reported, as "unknown".
        s->programmatic = true;
        s->tree->setCurrentItem(t ? t->q : nullptr);
        if (!t)
            s->tree->clearSelection();
        if ((s = tree_state(hwnd)) != nullptr)
            s->programmatic = false;
        return TRUE;
    }
    case TVM_GETITEM:
    case TVM_SETITEM: {
        auto* item = reinterpret_cast<TVITEM*>(lParam);
        TreeItem* t = item ? item_of(*s, item->hItem) : nullptr;
        if (!t)
            return FALSE;
        if (msg == TVM_GETITEM) {
            if ((item->mask & TVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
                const size_t n = std::min(t->text.size(), static_cast<size_t>(item->cchTextMax - 1));
                std::memcpy(item->pszText, t->text.data(), n);
                item->pszText[n] = '\0';
            }
            if (item->mask & TVIF_STATE)
                item->state = state_of(*s, item->hItem) & (item->stateMask ? item->stateMask : 0xFFFF);
            if (item->mask & TVIF_PARAM)
                item->lParam = t->data;
            if (item->mask & TVIF_IMAGE)
                item->iImage = t->image;
            if (item->mask & TVIF_SELECTEDIMAGE)
                item->iSelectedImage = t->selectedImage;
            if (item->mask & TVIF_CHILDREN)
                item->cChildren = t->q->childCount() > 0 ? 1 : 0;
            return TRUE;
        }
        if (item->mask & TVIF_TEXT) {
            t->text = item->pszText ? item->pszText : "";
            t->q->setText(0, qstr_from_ansi(t->text));
        }
        if (item->mask & TVIF_PARAM)
            t->data = item->lParam;
        if (item->mask & TVIF_IMAGE)
            t->image = item->iImage;
        if (item->mask & TVIF_SELECTEDIMAGE)
            t->selectedImage = item->iSelectedImage;
        if ((item->mask & TVIF_STATE) && (item->stateMask & TVIS_EXPANDEDONCE))
            t->expandedOnce = item->state & TVIS_EXPANDEDONCE;
        apply_icon(*s, *t);
        return TRUE;
    }
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(s->items.size());
    case TVM_SETIMAGELIST: {
        const HIMAGELIST old = s->images;
        s->images = static_cast<HIMAGELIST>(lParam);
        for (auto& [id, t] : s->items)
            apply_icon(*s, t);
        return old;
    }
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
        if (!info)
            return 0;
        QTreeWidgetItem* q = s->tree->itemAt(QPoint(info->pt.x, info->pt.y));
        info->hItem = id_of(q);
        info->flags = q ? TVHT_ONITEM : TVHT_NOWHERE;
        return info->hItem;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

// ---- tooltips ----------------------------------------------------------------------------

namespace {

struct Tool {
    HWND window = 0;
    std::string text;
};
std::map<HWND, std::vector<Tool>>& tips()
{
    static std::map<HWND, std::vector<Tool>> m;
    return m;
}

void show_tip(HWND tool, const std::string& text, bool active)
{
    const QString t = active ? qstr_from_ansi(text) : QString();
    if (QWidget* f = core::FrameOf(tool))
        f->setToolTip(t);
    if (QWidget* c = core::ClientWidgetOf(tool))
        c->setToolTip(t);
}

} // namespace

LRESULT TooltipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto& tools = tips()[hwnd];
    const auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
    auto find = [&](const TOOLINFO* info) -> Tool* {
        if (!info)
            return nullptr;
        const HWND w = (info->uFlags & TTF_IDISHWND) ? static_cast<HWND>(info->uId) : info->hwnd;
        for (Tool& t : tools)
            if (t.window == w)
                return &t;
        return nullptr;
    };
    switch (msg) {
    case TTM_ADDTOOL: {
        if (!ti || !(ti->uFlags & TTF_IDISHWND) || !IsWindow(static_cast<HWND>(ti->uId)))
            return FALSE;
        Tool* t = find(ti);
        if (!t) {
            tools.push_back(Tool{static_cast<HWND>(ti->uId), {}});
            t = &tools.back();
        }
        t->text = ti->lpszText ? ti->lpszText : "";
        show_tip(t->window, t->text, IsWindowEnabled(hwnd));
        return TRUE;
    }
    case TTM_UPDATETIPTEXT:
        if (Tool* t = find(ti)) {
            t->text = ti->lpszText ? ti->lpszText : "";
            show_tip(t->window, t->text, true);
        }
        return 0;
    case TTM_DELTOOL:
        if (Tool* t = find(ti)) {
            show_tip(t->window, std::string(), false);
            tools.erase(tools.begin() + (t - tools.data()));
        }
        return 0;
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(tools.size());
    case TTM_ACTIVATE:
        for (const Tool& t : tools)
            show_tip(t.window, t.text, wParam != 0);
        return 0;
    case TTM_GETTIPTEXT_PLAT: {
        char* out = reinterpret_cast<char*>(lParam);
        if (!out)
            return 0;
        out[0] = '\0';
        for (const Tool& t : tools)
            if (t.window == static_cast<HWND>(wParam)) {
                const size_t n = std::min<size_t>(t.text.size(), 255);
                std::memcpy(out, t.text.data(), n);
                out[n] = '\0';
                return static_cast<LRESULT>(n);
            }
        return 0;
    }
    case WM_NCDESTROY:
        for (const Tool& t : tools)
            if (IsWindow(t.window))
                show_tip(t.window, std::string(), false);
        tips().erase(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

} // namespace plat::controls

namespace plat {

void InitCommonControls()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    InitControls();
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = controls::TreeProc;
    wc.hCursor = LoadCursor(0, IDC_ARROW);
    wc.lpszClassName = WC_TREEVIEW;
    core::RegisterWidgetClass(wc, controls::MakeTree);
    WNDCLASS tc;
    tc.lpfnWndProc = controls::TooltipProc;
    tc.lpszClassName = TOOLTIPS_CLASS;
    RegisterClass(&tc);
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int)
{
    if (cx <= 0 || cy <= 0)
        return 0;
    const HIMAGELIST h = NextObjectHandle();
    controls::ImageListRec r;
    r.cx = cx;
    r.cy = cy;
    r.masked = flags & ILC_MASK;
    controls::image_lists()[h] = std::move(r);
    return h;
}

BOOL ImageList_Destroy(HIMAGELIST list) { return controls::image_lists().erase(list) ? TRUE : FALSE; }

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask)
{
    controls::ImageListRec* l = controls::find_list(list);
    auto bmp = gdi::Find<gdi::Bitmap>(bitmap, gdi::Kind::Bitmap);
    if (!l || !bmp || bmp->image.isNull())
        return -1;
    const QImage& src = bmp->image;
    const int first = static_cast<int>(l->images.size());
    const QRgb key = detail::ToQRgb(mask) | 0xFF000000u;
    for (int x0 = 0; x0 + l->cx <= src.width(); x0 += l->cx) {
        QImage img(l->cx, l->cy, QImage::Format_ARGB32);
        img.fill(0);
        for (int y = 0; y < l->cy && y < src.height(); ++y)
            for (int x = 0; x < l->cx; ++x) {
                const QRgb px = src.pixel(x0 + x, y) | 0xFF000000u;
                img.setPixel(x, y, px == key ? 0u : px);
            }
        l->images.push_back(std::move(img));
    }
    return static_cast<int>(l->images.size()) > first ? first : -1;
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    controls::ImageListRec* l = controls::find_list(list);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_Draw(HIMAGELIST list, int i, HDC hdc, int x, int y, UINT)
{
    controls::ImageListRec* l = controls::find_list(list);
    if (!l || i < 0 || i >= static_cast<int>(l->images.size()))
        return FALSE;
    const QImage& img = l->images[static_cast<size_t>(i)];
    for (int yy = 0; yy < img.height(); ++yy)
        for (int xx = 0; xx < img.width(); ++xx) {
            const QRgb px = img.pixel(xx, yy);
            if (qAlpha(px) != 0)
                SetPixel(hdc, x + xx, y + yy, detail::FromQRgb(px));
        }
    return TRUE;
}

HTREEITEM TreeView_InsertItem(HWND tree, const TVINSERTSTRUCT* ins)
{
    return static_cast<HTREEITEM>(SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(ins)));
}
BOOL TreeView_DeleteItem(HWND tree, HTREEITEM item)
{
    return static_cast<BOOL>(SendMessage(tree, TVM_DELETEITEM, 0, static_cast<LPARAM>(item)));
}
BOOL TreeView_Expand(HWND tree, HTREEITEM item, UINT code)
{
    return static_cast<BOOL>(SendMessage(tree, TVM_EXPAND, code, static_cast<LPARAM>(item)));
}
BOOL TreeView_EnsureVisible(HWND tree, HTREEITEM item)
{
    return static_cast<BOOL>(SendMessage(tree, TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(item)));
}
HTREEITEM TreeView_GetNextItem(HWND tree, HTREEITEM item, UINT code)
{
    return static_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, code, static_cast<LPARAM>(item)));
}
BOOL TreeView_Select(HWND tree, HTREEITEM item, UINT code)
{
    return static_cast<BOOL>(SendMessage(tree, TVM_SELECTITEM, code, static_cast<LPARAM>(item)));
}
BOOL TreeView_GetItem(HWND tree, TVITEM* item)
{
    return static_cast<BOOL>(SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(item)));
}
BOOL TreeView_SetItem(HWND tree, const TVITEM* item)
{
    return static_cast<BOOL>(SendMessage(tree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(item)));
}
UINT TreeView_GetCount(HWND tree) { return static_cast<UINT>(SendMessage(tree, TVM_GETCOUNT, 0, 0)); }
HIMAGELIST TreeView_SetImageList(HWND tree, HIMAGELIST list, int which)
{
    return static_cast<HIMAGELIST>(SendMessage(tree, TVM_SETIMAGELIST, static_cast<WPARAM>(which), static_cast<LPARAM>(list)));
}
HTREEITEM TreeView_HitTest(HWND tree, TVHITTESTINFO* info)
{
    return static_cast<HTREEITEM>(SendMessage(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}

} // namespace plat
