// Menus as the layer's own tables, shown through QMenuBar and QMenu; popup
// tracking and accelerators.
#include "plat/menu.h"
#include "plat/trace.h"
#include "core/widgets_p.h"
#include "kernel/handles_p.h"
#include "plat/controls.h"
#include "plat/modal.h"
#include "plat/res.h"
#include "text_qt_p.h"
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace plat {

namespace {

struct MenuItem {
    std::string text;
    UINT id = 0;
    UINT flags = 0;
    HMENU sub = 0;
};

struct MenuRec {
    bool bar = false;
    std::vector<MenuItem> items;
    QPointer<QMenu> qmenu; // popups, made when first shown
    int openScopes = 0;
};

std::map<HMENU, MenuRec>& menus()
{
    static std::map<HMENU, MenuRec> m;
    return m;
}

class BarFollower;
struct BarRec {
    HMENU menu = 0;
    QPointer<QMenuBar> widget;
    BarFollower* follower = nullptr; // a child of widget
    int height = 0;
};
std::map<HWND, BarRec>& bars()
{
    static std::map<HWND, BarRec> m;
    return m;
}

std::vector<std::unique_ptr<ModalScope>> g_openScopes;
HMENU g_tracked = 0;
HWND g_trackOwner = 0;
QPointer<QMenu> g_trackedQ;

MenuRec* find_menu(HMENU h)
{
    auto it = menus().find(h);
    return it == menus().end() ? nullptr : &it->second;
}

// The menu holding the item (by command, searched through the popups) and
// its position there.
bool locate(HMENU menu, UINT item, UINT flags, HMENU* where, size_t* pos)
{
    MenuRec* m = find_menu(menu);
    if (!m)
        return false;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size())
            return false;
        *where = menu;
        *pos = item;
        return true;
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        if (!it.sub && !(it.flags & MF_SEPARATOR) && it.id == item) {
            *where = menu;
            *pos = i;
            return true;
        }
        if (it.sub && locate(it.sub, item, flags, where, pos))
            return true;
    }
    return false;
}

// The window whose menu bar holds the menu (directly or through popups).
bool contains(HMENU root, HMENU menu, int depth = 0)
{
    if (root == menu)
        return true;
    MenuRec* m = find_menu(root);
    if (!m || depth > 16)
        return false;
    for (const MenuItem& it : m->items)
        if (it.sub && contains(it.sub, menu, depth + 1))
            return true;
    return false;
}

HWND owner_of(HMENU menu)
{
    if (g_tracked && contains(g_tracked, menu))
        return g_trackOwner;
    for (auto& [hwnd, b] : bars())
        if (contains(b.menu, menu))
            return hwnd;
    return 0;
}

int index_in_parent(HMENU menu)
{
    for (auto& [h, m] : menus())
        for (size_t i = 0; i < m.items.size(); ++i)
            if (m.items[i].sub == menu)
                return static_cast<int>(i);
    return 0;
}

QMenu* qmenu_of(HMENU menu);

void fill_actions(QWidget* w, HMENU menu)
{
    MenuRec* m = find_menu(menu);
    if (!m)
        return;
    for (const MenuItem& it : m->items) {
        if (it.flags & MF_SEPARATOR) {
            auto* sep = new QAction(w);
            sep->setSeparator(true);
            w->addAction(sep);
            continue;
        }
        const bool enabled = !(it.flags & (MF_GRAYED | MF_DISABLED));
        if (it.sub) {
            QMenu* q = qmenu_of(it.sub);
            q->setTitle(qstr_from_ansi(it.text));
            q->menuAction()->setEnabled(enabled);
            w->addAction(q->menuAction());
            continue;
        }
        auto* a = new QAction(qstr_from_ansi(it.text), w);
        a->setData(QVariant::fromValue<uint>(it.id));
        a->setEnabled(enabled);
        if (it.flags & MF_CHECKED) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        const UINT id = it.id;
        QObject::connect(a, &QAction::triggered, [id, menu] {
            // A tracked popup returns its choice from TrackPopupMenu.
            if (g_tracked)
                return;
            if (HWND owner = owner_of(menu))
                PostMessage(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        });
        w->addAction(a);
    }
}

void rebuild(QMenu* q, HMENU menu)
{
    for (QAction* a : q->actions()) {
        q->removeAction(a);
        if (a->parent() == q)
            delete a;
    }
    fill_actions(q, menu);
}

QMenu* qmenu_of(HMENU menu)
{
    MenuRec* m = find_menu(menu);
    if (!m)
        return nullptr;
    if (m->qmenu)
        return m->qmenu;
    auto* q = new QMenu();
    q->setAttribute(Qt::WA_DeleteOnClose, false);
    // An empty popup would be sized 0 x 0, which the window system cannot
    // show; Qt then leaves it off the screen for good, even once it has
    // items. A popup with nothing in it is a small empty box instead.
    q->setMinimumSize(8, 8);
    m->qmenu = q;
    QObject::connect(q, &QMenu::aboutToShow, [menu, q] {
        core::QtEntry([&] {
            if (MenuRec* r = find_menu(menu)) {
                // The menu is up: no tick until it closes.
                g_openScopes.push_back(std::make_unique<ModalScope>());
                ++r->openScopes;
            }
            if (HWND owner = owner_of(menu))
                SendMessage(owner, WM_INITMENUPOPUP, menu, MAKELPARAM(index_in_parent(menu), 0));
            if (find_menu(menu))
                rebuild(q, menu);
            q->setAttribute(Qt::WA_OutsideWSRange, false);
        }, true);
    });
    QObject::connect(q, &QMenu::aboutToHide, [menu] {
        MenuRec* r = find_menu(menu);
        if (r && r->openScopes > 0 && !g_openScopes.empty()) {
            --r->openScopes;
            g_openScopes.pop_back();
        }
    });
    rebuild(q, menu);
    return q;
}

void refresh_bar(HWND hwnd)
{
    auto it = bars().find(hwnd);
    if (it == bars().end() || !it->second.widget)
        return;
    QMenuBar* w = it->second.widget;
    for (QAction* a : w->actions()) {
        w->removeAction(a);
        if (a->parent() == w)
            delete a;
    }
    fill_actions(w, it->second.menu);
}

void refresh_containing(HMENU menu)
{
    // A popup made earlier shows what its menu holds now. Its own show
    // cannot be relied on to refresh it: a popup shown while it had no
    // items keeps its empty look on the screen otherwise.
    if (MenuRec* m = find_menu(menu); m && m->qmenu && !m->bar)
        rebuild(m->qmenu, menu);
    for (auto& [hwnd, b] : bars())
        if (contains(b.menu, menu))
            refresh_bar(hwnd);
}

// Keeps the bar across the top of the frame when the frame is resized.
class BarFollower : public QObject {
public:
    BarFollower(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize)
            place();
        return false;
    }
    void place()
    {
        auto it = bars().find(hwnd_);
        core::WindowRec* r = core::Find(hwnd_);
        if (it == bars().end() || !it->second.widget || !r)
            return;
        const int h = it->second.height;
        // The frame's own width: a window manager's resize reaches this
        // filter before the layer has learnt the new rectangle.
        it->second.widget->setGeometry(r->nc.left(), r->nc.top() - h,
                                       std::max(0, r->frame->width() - r->nc.left() - r->nc.right()), h);
    }
private:
    HWND hwnd_;
};

// While a popup is tracked, a key posted to any window of the process steps
// the popup, as a classic menu loop takes the thread's keyboard messages.
bool take_posted_key(const MSG& m)
{
    if (!g_trackedQ || m.message != WM_KEYDOWN)
        return false;
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = g_trackedQ;
    bool keypad = false;
    const int key = core::QtKeyForVk(static_cast<UINT>(m.wParam), &keypad);
    QKeyEvent ke(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &ke);
    return true;
}

// Activating another window ends the popup without a choice.
class TrackFilter : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (g_trackedQ && e->type() == QEvent::WindowActivate && o->isWidgetType()) {
            auto* w = static_cast<QWidget*>(o);
            if (!qobject_cast<QMenu*>(w) && w->isWindow())
                EndMenu();
        }
        return false;
    }
};

void install_track_filter()
{
    static TrackFilter* f = nullptr;
    if (!f && QApplication::instance()) {
        f = new TrackFilter();
        QApplication::instance()->installEventFilter(f);
    }
    core::SetPostedFilter(take_posted_key);
}

HMENU new_menu(bool bar)
{
    const HMENU h = NextObjectHandle();
    MenuRec r;
    r.bar = bar;
    menus()[h] = std::move(r);
    return h;
}

MenuItem make_item(UINT flags, UINT_PTR newItem, const char* text)
{
    MenuItem it;
    it.flags = flags & ~(MF_BYPOSITION | MF_POPUP);
    if (flags & MF_POPUP)
        it.sub = static_cast<HMENU>(newItem);
    else
        it.id = static_cast<UINT>(newItem);
    if (!(flags & MF_SEPARATOR))
        it.text = text ? text : "";
    return it;
}

HMENU build(const MenuTemplateItem* items, size_t n, bool bar, HINSTANCE inst)
{
    const HMENU h = new_menu(bar);
    for (size_t i = 0; i < n; ++i) {
        const MenuTemplateItem& t = items[i];
        if (!t.children.empty()) {
            const HMENU sub = build(t.children.data(), t.children.size(), false, inst);
            AppendMenu(h, MF_POPUP | t.flags, sub, ResourceText(inst, t.text));
        } else {
            AppendMenu(h, t.flags, t.id, (t.flags & MF_SEPARATOR) ? nullptr : ResourceText(inst, t.text));
        }
    }
    return h;
}

} // namespace

HMENU CreateMenu() { return new_menu(true); }
HMENU CreatePopupMenu() { return new_menu(false); }

HMENU LoadMenuIndirect(const MenuTemplate* tpl, HINSTANCE textModule)
{
    if (!tpl)
        return 0;
    return build(tpl->items.data(), tpl->items.size(), true, textModule);
}

HMENU LoadMenu(HINSTANCE inst, int id) { return LoadMenuIndirect(FindMenuTemplate(inst, id), inst); }

BOOL DestroyMenu(HMENU menu)
{
    MenuRec* m = find_menu(menu);
    if (!m)
        return FALSE;
    std::vector<HMENU> subs;
    for (const MenuItem& it : m->items)
        if (it.sub)
            subs.push_back(it.sub);
    if (m->qmenu)
        m->qmenu->deleteLater();
    menus().erase(menu);
    for (auto& [hwnd, b] : bars())
        if (b.menu == menu)
            b.menu = 0;
    for (HMENU s : subs)
        DestroyMenu(s);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return find_menu(menu) ? TRUE : FALSE; }

BOOL SetMenu(HWND hwnd, HMENU menu)
{
    core::WindowRec* r = core::Find(hwnd);
    if (!r || (r->style & WS_CHILD) || (menu && !find_menu(menu)))
        return FALSE;
    const QRect oldClient = r->clientRect();
    BarRec& b = bars()[hwnd];
    if (b.widget)
        delete b.widget.data();
    b.follower = nullptr;
    r->menuBarHeight = 0;
    b.height = 0;
    b.menu = menu;
    if (menu) {
        auto* w = new QMenuBar(r->frame);
        w->setNativeMenuBar(false);
        b.widget = w;
        fill_actions(w, menu);
        b.height = std::max(20, w->sizeHint().height());
        r->menuBarHeight = b.height;
        auto* follower = new BarFollower(hwnd, w);
        b.follower = follower;
        r->frame->installEventFilter(follower);
        follower->place();
        w->show();
    } else {
        bars().erase(hwnd);
    }
    const bool changed = core::ApplyGeometry(*r, oldClient);
    if (BarRec* placed = menu ? &bars()[hwnd] : nullptr; placed && placed->widget && placed->follower)
        placed->follower->place();
    if (changed) {
        const QSize cs = r->clientSize();
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cs.width(), cs.height()));
    }
    return TRUE;
}

HMENU GetMenu(HWND hwnd)
{
    auto it = bars().find(hwnd);
    return it == bars().end() || !core::Find(hwnd) ? 0 : it->second.menu;
}

BOOL DrawMenuBar(HWND hwnd)
{
    if (bars().find(hwnd) == bars().end())
        return FALSE;
    refresh_bar(hwnd);
    return TRUE;
}

HMENU GetSubMenu(HMENU menu, int pos)
{
    MenuRec* m = find_menu(menu);
    if (!m || pos < 0 || pos >= static_cast<int>(m->items.size()))
        return 0;
    return m->items[static_cast<size_t>(pos)].sub;
}

int GetMenuItemCount(HMENU menu)
{
    MenuRec* m = find_menu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos)
{
    MenuRec* m = find_menu(menu);
    if (!m || pos < 0 || pos >= static_cast<int>(m->items.size()))
        return 0xFFFFFFFFu;
    const MenuItem& it = m->items[static_cast<size_t>(pos)];
    if (it.sub)
        return 0xFFFFFFFFu;
    return (it.flags & MF_SEPARATOR) ? 0 : it.id;
}

int GetMenuString(HMENU menu, UINT item, char* buf, int size, UINT flags)
{
    HMENU where;
    size_t pos;
    if (!locate(menu, item, flags, &where, &pos))
        return 0;
    const std::string& t = find_menu(where)->items[pos].text;
    if (!buf || size <= 0)
        return static_cast<int>(t.size());
    const int n = std::min<int>(size - 1, static_cast<int>(t.size()));
    std::memcpy(buf, t.data(), static_cast<size_t>(n));
    buf[n] = '\0';
    return n;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    HMENU where;
    size_t pos;
    if (!locate(menu, item, flags, &where, &pos))
        return MF_ERROR;
    const MenuItem& it = find_menu(where)->items[pos];
    return it.flags | (it.sub ? MF_POPUP : 0);
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, const char* text)
{
    MenuRec* m = find_menu(menu);
    if (!m || ((flags & MF_POPUP) && !find_menu(static_cast<HMENU>(newItem))))
        return FALSE;
    m->items.push_back(make_item(flags, newItem, text));
    refresh_containing(menu);
    return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, const char* text)
{
    if ((flags & MF_POPUP) && !find_menu(static_cast<HMENU>(newItem)))
        return FALSE;
    HMENU where = menu;
    size_t pos = 0;
    MenuRec* m = find_menu(menu);
    if (!m)
        return FALSE;
    if ((flags & MF_BYPOSITION) && (position == 0xFFFFFFFFu || position >= m->items.size())) {
        where = menu;
        pos = m->items.size();
    } else if (!locate(menu, position, flags, &where, &pos)) {
        return FALSE;
    }
    MenuRec* w = find_menu(where);
    w->items.insert(w->items.begin() + static_cast<std::ptrdiff_t>(pos), make_item(flags, newItem, text));
    refresh_containing(where);
    return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, const char* text)
{
    HMENU where;
    size_t pos;
    if (!locate(menu, position, flags, &where, &pos))
        return FALSE;
    if ((flags & MF_POPUP) && !find_menu(static_cast<HMENU>(newItem)))
        return FALSE;
    find_menu(where)->items[pos] = make_item(flags, newItem, text);
    refresh_containing(where);
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    HMENU where;
    size_t pos;
    if (!locate(menu, position, flags, &where, &pos))
        return FALSE;
    MenuRec* w = find_menu(where);
    w->items.erase(w->items.begin() + static_cast<std::ptrdiff_t>(pos));
    refresh_containing(where);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    HMENU where;
    size_t pos;
    if (!locate(menu, position, flags, &where, &pos))
        return FALSE;
    const HMENU sub = find_menu(where)->items[pos].sub;
    RemoveMenu(menu, position, flags);
    if (sub)
        DestroyMenu(sub);
    return TRUE;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    HMENU where;
    size_t pos;
    if (!locate(menu, item, flags, &where, &pos))
        return MF_ERROR;
    MenuItem& it = find_menu(where)->items[pos];
    const UINT old = it.flags & (MF_GRAYED | MF_DISABLED);
    it.flags = (it.flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    if (find_menu(where)->bar)
        refresh_containing(where);
    return old;
}

UINT CheckMenuItem(HMENU menu, UINT item, UINT flags)
{
    HMENU where;
    size_t pos;
    if (!locate(menu, item, flags, &where, &pos))
        return MF_ERROR;
    MenuItem& it = find_menu(where)->items[pos];
    const UINT old = it.flags & MF_CHECKED;
    it.flags = (it.flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return old;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    if (!find_menu(menu) || g_tracked)
        return FALSE;
    InitControls();
    install_track_filter();
    ModalScope scope;
    g_tracked = menu;
    g_trackOwner = owner;
    QMenu* q = qmenu_of(menu);
    g_trackedQ = q;
    QAction* chosen = nullptr;
    core::QtEntry([&] { chosen = q->exec(QPoint(x, y)); }, true);
    g_tracked = 0;
    g_trackOwner = 0;
    g_trackedQ = nullptr;
    core::RethrowPending();
    const UINT id = chosen && chosen->data().isValid() ? chosen->data().toUInt() : 0;
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(id);
    if (id && owner && !(flags & TPM_NONOTIFY))
        PostMessage(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return TRUE;
}

void EndMenu()
{
    if (g_trackedQ)
        g_trackedQ->close();
    while (QWidget* p = QApplication::activePopupWidget())
        if (qobject_cast<QMenu*>(p))
            p->close();
        else
            break;
}

HMENU GetTrackedMenu() { return g_tracked; }

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, RECT* rect)
{
    auto it = bars().find(hwnd);
    if (!rect || it == bars().end() || it->second.menu != menu || !it->second.widget)
        return FALSE;
    QMenuBar* bar = it->second.widget;
    const QList<QAction*> titles = bar->actions();
    if (item >= static_cast<UINT>(titles.size()))
        return FALSE;
    const QRect r = bar->actionGeometry(titles[static_cast<int>(item)]);
    const QPoint tl = bar->mapToGlobal(r.topLeft());
    *rect = RECT{tl.x(), tl.y(), tl.x() + r.width(), tl.y() + r.height()};
    return TRUE;
}

BOOL OpenMenuBarPopupForTest(HWND frame, int index, std::vector<std::string>* shown)
{
    shown->clear();
    auto it = bars().find(frame);
    if (it == bars().end() || !it->second.widget)
        return FALSE;
    QMenuBar* bar = it->second.widget;
    const QList<QAction*> titles = bar->actions();
    if (index < 0 || index >= titles.size())
        return FALSE;
    const QPoint at = bar->actionGeometry(titles[index]).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, bar->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, bar->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QApplication::sendEvent(bar, &release);
    QApplication::processEvents();
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!popup)
        return FALSE;
    // Qt keeps a window it takes to lie outside the screen's range unmapped.
    const bool onScreen = popup->isVisible() && !popup->testAttribute(Qt::WA_OutsideWSRange) &&
                          popup->width() > 0 && popup->height() > 0;
    for (QAction* a : popup->actions())
        if (a->isVisible())
            shown->push_back(a->isSeparator() ? "-" : ansi_from_qstr(a->text()));
    popup->close();
    QApplication::processEvents();
    core::RethrowPending();
    return onScreen ? TRUE : FALSE;
}

// ---- accelerators ------------------------------------------------------------------

namespace {

std::map<HACCEL, std::vector<ACCEL>>& accels()
{
    static std::map<HACCEL, std::vector<ACCEL>> m;
    return m;
}

QKeySequence sequence_of(const ACCEL& a)
{
    int key;
    if (a.fVirt & FVIRTKEY) {
        bool keypad = false;
        key = core::QtKeyForVk(a.key, &keypad);
    } else {
        key = QChar(static_cast<char16_t>(a.key)).toUpper().unicode();
    }
    Qt::KeyboardModifiers m;
    if (a.fVirt & FSHIFT)
        m |= Qt::ShiftModifier;
    if (a.fVirt & FCONTROL)
        m |= Qt::ControlModifier;
    if (a.fVirt & FALT)
        m |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(m, static_cast<Qt::Key>(key)));
}

std::map<HWND, std::vector<QPointer<QShortcut>>>& window_shortcuts()
{
    static std::map<HWND, std::vector<QPointer<QShortcut>>> m;
    return m;
}

} // namespace

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count)
{
    if (!entries || count <= 0)
        return 0;
    const HACCEL h = NextObjectHandle();
    accels()[h].assign(entries, entries + count);
    return h;
}

HACCEL LoadAccelerators(HINSTANCE inst, int id)
{
    const AccelTemplate* t = FindAcceleratorTable(inst, id);
    if (!t)
        return 0;
    return CreateAcceleratorTable(t->entries.data(), static_cast<int>(t->entries.size()));
}

BOOL DestroyAcceleratorTable(HACCEL accel) { return accels().erase(accel) ? TRUE : FALSE; }

int TranslateAccelerator(HWND hwnd, HACCEL accel, const MSG* msg)
{
    auto it = accels().find(accel);
    if (it == accels().end() || !msg || !hwnd)
        return 0;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN && msg->message != WM_CHAR)
        return 0;
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    const bool alt = msg->message == WM_SYSKEYDOWN || (mods & Qt::AltModifier);
    for (const ACCEL& a : it->second) {
        bool match;
        if (a.fVirt & FVIRTKEY) {
            match = msg->message != WM_CHAR && a.key == msg->wParam && ((a.fVirt & FSHIFT) != 0) == ((mods & Qt::ShiftModifier) != 0) &&
                    ((a.fVirt & FCONTROL) != 0) == ((mods & Qt::ControlModifier) != 0) && ((a.fVirt & FALT) != 0) == alt;
        } else {
            match = msg->message == WM_CHAR && a.key == msg->wParam;
        }
        if (match) {
            SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}

BOOL SetWindowAccelerators(HWND frame, HACCEL accel)
{
    QWidget* w = core::FrameOf(frame);
    if (!w)
        return FALSE;
    for (auto& s : window_shortcuts()[frame])
        delete s.data();
    window_shortcuts()[frame].clear();
    auto it = accels().find(accel);
    if (it == accels().end())
        return accel == 0;
    for (const ACCEL& a : it->second) {
        auto* s = new QShortcut(sequence_of(a), w);
        s->setContext(Qt::WindowShortcut);
        const WORD cmd = a.cmd;
        QObject::connect(s, &QShortcut::activated, [frame, cmd] {
            core::QtEntry([&] { SendMessage(frame, WM_COMMAND, MAKEWPARAM(cmd, 1), 0); }, true);
        });
        window_shortcuts()[frame].push_back(s);
    }
    return TRUE;
}

} // namespace plat
