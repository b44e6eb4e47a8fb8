// The dialog manager: dialogs from templates, the classic keyboard rules
// (Tab, arrows, Enter, Esc), modal loops and the item helpers.
#include "plat/dialog.h"
#include "controls/controls_p.h"
#include "dialogs/dialogs_p.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include "plat/modal.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include <QKeyEvent>
#include <cctype>
#include <cmath>
#include <string>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>

namespace plat {

namespace {

struct DlgRec {
    HWND hwnd = 0;
    const DlgTemplate* tpl = nullptr;
    DLGPROC proc = nullptr;
    LPARAM param = 0;
    HINSTANCE inst = 0;
    HFONT font = 0;
    bool ownFont = false;
    bool modal = false;
    bool ended = false;
    intptr_t result = 0;
    int defId = 0;
    // The push button that is the default only while it has the focus, and
    // the dialog's own default meanwhile (when SetDialogDefID named none).
    HWND focusDefault = 0;
    int heldDefId = 0;
    HWND lastFocus = 0;
    LRESULT msgResult = 0;
    std::set<int> eatenKeys;
};

std::map<HWND, std::shared_ptr<DlgRec>>& dialog_table()
{
    static std::map<HWND, std::shared_ptr<DlgRec>> m;
    return m;
}

std::shared_ptr<DlgRec> g_pending;
COLORREF g_bk = CLR_INVALID;
COLORREF g_text = CLR_INVALID;
HBRUSH g_bkBrush = 0;

DlgRec* find_dlg(HWND hwnd)
{
    auto it = dialog_table().find(hwnd);
    if (it == dialog_table().end() || !IsWindow(hwnd))
        return nullptr;
    return it->second.get();
}

bool is_class(HWND hwnd, const char* cls)
{
    char buf[32] = {};
    GetClassName(hwnd, buf, sizeof buf);
    return std::strcmp(buf, cls) == 0;
}

DWORD style_of(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }

bool is_radio(HWND hwnd)
{
    const DWORD t = style_of(hwnd) & BS_TYPEMASK;
    return is_class(hwnd, WC_BUTTON) && (t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON);
}

std::vector<HWND> children(HWND dlg)
{
    std::vector<HWND> out;
    for (HWND h = GetWindow(dlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        out.push_back(h);
    return out;
}

bool can_focus(HWND h)
{
    return IsWindowVisible(h) && IsWindowEnabled(h);
}

HWND first_tab_stop(HWND dlg)
{
    for (HWND h : children(dlg))
        if ((style_of(h) & WS_TABSTOP) && can_focus(h))
            return h;
    return 0;
}

int muldiv(int a, int b, int c)
{
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

HBRUSH bk_brush()
{
    if (g_bk == CLR_INVALID)
        return GetSysColorBrush(COLOR_BTNFACE);
    if (!g_bkBrush)
        g_bkBrush = CreateSolidBrush(g_bk);
    return g_bkBrush;
}

// Focus into a control the way the keyboard does: an edit's text selected.
void focus_control(HWND ctl)
{
    if (!ctl)
        return;
    SetFocus(ctl);
    if (IsWindow(ctl) && (SendMessage(ctl, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        SendMessage(ctl, EM_SETSEL, 0, -1);
}

UINT vk_of(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    default: return 0;
    }
}

// The letter after a single '&' in a control's text (0: none).
char mnemonic_of(const std::string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

// Alt+letter: a button with that mnemonic is clicked; a label's moves the
// focus to the next tab stop after it (its buddy). When several controls
// share the letter, each press moves the focus to the next of them after
// the focused one and nothing is clicked, so every one stays reachable.
bool mnemonic(HWND dlg, char letter)
{
    struct Match {
        size_t at;
        HWND control;
        HWND target; // what takes the focus
    };
    std::vector<HWND> kids = children(dlg);
    std::vector<Match> matches;
    for (size_t i = 0; i < kids.size(); ++i) {
        const HWND h = kids[i];
        if (!can_focus(h) && !is_class(h, WC_STATIC))
            continue;
        char buf[256] = {};
        GetWindowText(h, buf, sizeof buf);
        if (mnemonic_of(buf) != letter)
            continue;
        if (is_class(h, WC_STATIC)) {
            if (style_of(h) & SS_NOPREFIX)
                continue;
            HWND buddy = 0;
            for (size_t j = i + 1; j < kids.size() && !buddy; ++j)
                if ((style_of(kids[j]) & WS_TABSTOP) && can_focus(kids[j]))
                    buddy = kids[j];
            matches.push_back({i, h, buddy});
        } else if (is_class(h, WC_BUTTON) && (style_of(h) & BS_TYPEMASK) != BS_GROUPBOX) {
            matches.push_back({i, h, h});
        }
    }
    if (matches.empty())
        return false;
    if (matches.size() == 1) {
        const Match& m = matches[0];
        if (m.control != m.target) {
            if (m.target)
                focus_control(m.target);
        } else {
            SetFocus(m.control);
            SendMessage(m.control, BM_CLICK, 0, 0);
        }
        return true;
    }
    const HWND focus = GetFocus();
    size_t from = kids.size();
    for (size_t i = 0; i < kids.size(); ++i)
        if (kids[i] == focus)
            from = i;
    const Match* next = &matches[0];
    if (from < kids.size())
        for (const Match& m : matches)
            if (m.at > from) {
                next = &m;
                break;
            }
    if (next->target)
        focus_control(next->target);
    return true;
}

bool is_push(HWND h)
{
    if (!h || !is_class(h, WC_BUTTON))
        return false;
    const DWORD t = style_of(h) & BS_TYPEMASK;
    return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON;
}

void set_push_type(HWND b, DWORD type)
{
    if (is_push(b) && (style_of(b) & BS_TYPEMASK) != type)
        SendMessage(b, BM_SETSTYLE, type, TRUE);
}

// The default frame follows the focus: a focused push button is the default
// while it has the focus (Enter presses it); once the focus is on any other
// control the dialog's own default has the frame again.
void focus_moved(HWND focus)
{
    // A top-level window's parent is its owner: only a dialog's controls count.
    if (!(style_of(focus) & WS_CHILD))
        return;
    const HWND dlg = GetParent(focus);
    DlgRec* d = dlg ? find_dlg(dlg) : nullptr;
    if (!d)
        return;
    if (d->focusDefault && d->focusDefault != focus) {
        if (IsWindow(d->focusDefault))
            set_push_type(d->focusDefault, BS_PUSHBUTTON);
        d->focusDefault = 0;
    }
    const int ownId = GetDialogDefID(dlg);
    const HWND own = ownId ? GetDlgItem(dlg, ownId) : 0;
    const bool button =
        (SendMessage(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
    if (!IsWindow(focus) || find_dlg(dlg) != d)
        return;
    if (button && focus != own) {
        if (own && is_push(own) && (style_of(own) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            set_push_type(own, BS_PUSHBUTTON);
            if (!d->defId)
                d->heldDefId = ownId;
        }
        if (is_push(focus)) {
            set_push_type(focus, BS_DEFPUSHBUTTON);
            d->focusDefault = focus;
        }
        return;
    }
    d->heldDefId = 0;
    if (own)
        set_push_type(own, BS_DEFPUSHBUTTON);
}

// The keys the dialog manager takes before the focused control sees them.
bool dialog_key(HWND focus, int qtKey, Qt::KeyboardModifiers mods, bool press)
{
    const HWND dlg = core::TopLevelOf(focus);
    DlgRec* d = find_dlg(dlg);
    if (!d) {
        // A child dialog inside another window keeps its own rules.
        for (HWND h = focus; h; h = GetParent(h))
            if ((d = find_dlg(h)) != nullptr)
                break;
        if (!d)
            return false;
    }
    const UINT vk = vk_of(qtKey);
    if (!press && !vk)
        return d->eatenKeys.erase(qtKey) > 0;
    if (press && !vk && (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) &&
        qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        if (!mnemonic(d->hwnd, static_cast<char>('a' + (qtKey - Qt::Key_A))))
            return false;
        if (DlgRec* again = find_dlg(d->hwnd))
            again->eatenKeys.insert(qtKey);
        return true;
    }
    if (!vk)
        return false;
    if (!press)
        return d->eatenKeys.erase(qtKey) > 0;
    if (mods & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const HWND self = d->hwnd;
    const LRESULT code = focus != self ? SendMessage(focus, WM_GETDLGCODE, vk, 0) : 0;
    if (!IsWindow(self))
        return true;
    bool taken = false;
    switch (vk) {
    case VK_TAB:
        if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))
            return false;
        focus_control(GetNextDlgTabItem(self, focus == self ? 0 : focus,
                                        qtKey == Qt::Key_Backtab || (mods & Qt::ShiftModifier)));
        taken = true;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS))
            return false;
        if (focus == self)
            return false;
        const HWND next = GetNextDlgGroupItem(self, focus, vk == VK_LEFT || vk == VK_UP);
        if (next && next != focus) {
            focus_control(next);
            if (IsWindow(next) && is_radio(next) && (style_of(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SendMessage(next, BM_CLICK, 0, 0);
        }
        taken = true;
        break;
    }
    case VK_RETURN: {
        if (code & DLGC_WANTALLKEYS)
            return false;
        if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            if (IsWindowEnabled(focus))
                SendMessage(self, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                            static_cast<LPARAM>(focus));
        } else if (const int def = GetDialogDefID(self)) {
            const HWND ctl = GetDlgItem(self, def);
            if (ctl && !IsWindowEnabled(ctl))
                MessageBeep(0);
            else
                SendMessage(self, WM_COMMAND, MAKEWPARAM(def, BN_CLICKED), static_cast<LPARAM>(ctl));
        } else {
            SendMessage(self, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        taken = true;
        break;
    }
    case VK_ESCAPE:
        if (code & DLGC_WANTALLKEYS)
            return false;
        SendMessage(self, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    static_cast<LPARAM>(GetDlgItem(self, IDCANCEL)));
        taken = true;
        break;
    default:
        break;
    }
    if (taken)
        if (DlgRec* again = find_dlg(self))
            again->eatenKeys.insert(qtKey);
    return taken;
}

HFONT template_font(const DlgTemplate* tpl, bool* own)
{
    *own = false;
    const int points = tpl->points > 0 ? tpl->points : 8;
    const char* face = tpl->face && *tpl->face ? tpl->face : "MS Sans Serif";
    if (points == 8 && std::strcmp(face, "MS Sans Serif") == 0)
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    *own = true;
    return CreateFont(-muldiv(points, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                      0, face);
}

HWND create_dialog(HINSTANCE inst, const DlgTemplate* tpl, HWND owner, DLGPROC proc, LPARAM param,
                   bool modal)
{
    if (!tpl)
        return 0;
    InitControls();
    InitCommonControls();
    dialogs::InitDialogs();
    auto rec = std::make_shared<DlgRec>();
    rec->tpl = tpl;
    rec->proc = proc;
    rec->param = param;
    rec->inst = inst;
    rec->modal = modal;
    rec->font = template_font(tpl, &rec->ownFont);

    DWORD style = tpl->style & ~WS_VISIBLE;
    const bool child = style & WS_CHILD;
    int x = tpl->x, y = tpl->y;
    if (!child) {
        if (tpl->style & DS_CENTER) {
            RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            if (owner)
                GetWindowRect(core::TopLevelOf(owner), &area);
            x = area.left + (area.right - area.left - tpl->cx) / 2;
            y = area.top + (area.bottom - area.top - tpl->cy) / 2;
        } else if (owner) {
            POINT pt{tpl->x, tpl->y};
            ClientToScreen(owner, &pt);
            x = pt.x;
            y = pt.y;
        }
    }
    g_pending = rec;
    const HWND hwnd = CreateWindowEx(0, WC_DIALOG, ResourceText(inst, tpl->caption), style, x, y,
                                     tpl->cx, tpl->cy, owner, 0, inst, reinterpret_cast<void*>(param));
    g_pending.reset();
    if (!hwnd) {
        if (rec->ownFont)
            DeleteObject(rec->font);
        return 0;
    }
    // The template gives the client size; the frame comes on top.
    RECT wr, cr;
    GetWindowRect(hwnd, &wr);
    GetClientRect(hwnd, &cr);
    if (cr.right != tpl->cx || cr.bottom != tpl->cy)
        SetWindowPos(hwnd, 0, 0, 0, (wr.right - wr.left) + tpl->cx - cr.right,
                     (wr.bottom - wr.top) + tpl->cy - cr.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (const DlgItemTemplate& it : tpl->items) {
        const bool iconRef = it.text && it.text[0] == '#' && it.cls && std::strcmp(it.cls, WC_STATIC) == 0;
        const char* text = iconRef ? "" : ResourceText(inst, it.text);
        const HWND ctl = CreateWindowEx(it.exStyle, it.cls, text, (it.style | WS_CHILD), it.x, it.y, it.cx,
                                        it.cy, hwnd, static_cast<HMENU>(it.id), inst, nullptr);
        if (!IsWindow(hwnd))
            return 0;
        if (!ctl) {
            DestroyWindow(hwnd);
            return 0;
        }
        SendMessage(ctl, WM_SETFONT, rec->font, FALSE);
        if (iconRef)
            SendMessage(ctl, STM_SETICON, LoadIcon(inst, std::atoi(it.text + 1)), 0);
    }
    SendMessage(hwnd, WM_SETFONT, rec->font, FALSE);
    const HWND first = first_tab_stop(hwnd);
    const LRESULT focusIt = SendMessage(hwnd, WM_INITDIALOG, first, param);
    if (!IsWindow(hwnd))
        return 0;
    if ((tpl->style & WS_VISIBLE) && !rec->ended)
        ShowWindow(hwnd, SW_SHOW);
    if (focusIt && IsWindow(first) && !rec->ended)
        focus_control(first);
    return IsWindow(hwnd) ? hwnd : 0;
}

} // namespace

namespace dialogs {

void SetDialogColors(COLORREF bk, COLORREF text)
{
    g_bk = bk;
    g_text = text;
    if (g_bkBrush)
        DeleteObject(g_bkBrush);
    g_bkBrush = 0;
}
COLORREF DialogBkColor() { return g_bk; }
COLORREF DialogTextColor() { return g_text; }

LRESULT DialogClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE && g_pending && !find_dlg(hwnd)) {
        g_pending->hwnd = hwnd;
        dialog_table()[hwnd] = g_pending;
        g_pending.reset();
        if (WNDPROC next = controls::TakePendingAttach(hwnd, DialogClassProc))
            return next(hwnd, msg, wParam, lParam);
    }
    std::shared_ptr<DlgRec> keep;
    if (auto it = dialog_table().find(hwnd); it != dialog_table().end())
        keep = it->second;
    DlgRec* d = keep.get();
    if (!d)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    if (d->proc && msg != WM_NCDESTROY) {
        d->msgResult = 0;
        const intptr_t r = d->proc(hwnd, msg, wParam, lParam);
        if (r) {
            switch (msg) {
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
            case WM_INITDIALOG:
                return r;
            default:
                return d->msgResult;
            }
        }
        if (!IsWindow(hwnd))
            return 0;
    }
    switch (msg) {
    case WM_INITDIALOG:
        return d->proc ? FALSE : TRUE;
    case WM_CLOSE:
        SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return 0;
    case WM_ERASEBKGND: {
        const HDC dc = static_cast<HDC>(wParam);
        auto brush = static_cast<HBRUSH>(SendMessage(hwnd, WM_CTLCOLORDLG, dc, static_cast<LPARAM>(hwnd)));
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, brush ? brush : bk_brush());
        return 1;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
        return static_cast<LRESULT>(bk_brush());
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (g_bk == CLR_INVALID)
            return 0;
        SetBkColor(static_cast<HDC>(wParam), g_bk);
        if (g_text != CLR_INVALID)
            SetTextColor(static_cast<HDC>(wParam), g_text);
        return static_cast<LRESULT>(bk_brush());
    case WM_ACTIVATE:
        // The dialog keeps the keyboard on the control that had it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND f = GetFocus();
            if (f && IsChild(hwnd, f))
                d->lastFocus = f;
        } else {
            const HWND f = GetFocus();
            if (!f || !IsChild(hwnd, f)) {
                HWND target = d->lastFocus && IsWindow(d->lastFocus) && IsChild(hwnd, d->lastFocus)
                                  ? d->lastFocus
                                  : first_tab_stop(hwnd);
                if (target)
                    SetFocus(target);
            }
        }
        return 0;
    case WM_SETFONT:
        d->font = static_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return d->font;
    case WM_NCDESTROY: {
        if (d->proc)
            d->proc(hwnd, msg, wParam, lParam);
        d->ended = true;
        if (d->ownFont)
            DeleteObject(d->font);
        d->ownFont = false;
        dialog_table().erase(hwnd);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

void InitDialogs()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    InitControls();
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DialogClassProc;
    wc.hCursor = LoadCursor(0, IDC_ARROW);
    wc.lpszClassName = WC_DIALOG;
    RegisterClass(&wc);
    controls::SetDialogKeyHook(dialog_key);
    core::SetFocusHook(focus_moved);
}

} // namespace dialogs

HWND CreateDialogIndirectParam(HINSTANCE inst, const DlgTemplate* tpl, HWND owner, DLGPROC proc,
                               LPARAM param)
{
    const HWND hwnd = create_dialog(inst, tpl, owner, proc, param, false);
    if (hwnd && IsWindowVisible(hwnd))
        DialogShown(hwnd, tpl->id);
    return IsWindow(hwnd) ? hwnd : 0;
}

HWND CreateDialogParam(HINSTANCE inst, int templateId, HWND owner, DLGPROC proc, LPARAM param)
{
    return CreateDialogIndirectParam(inst, FindDialogTemplate(inst, templateId), owner, proc, param);
}

intptr_t DialogBoxIndirectParam(HINSTANCE inst, const DlgTemplate* tpl, HWND owner, DLGPROC proc,
                                LPARAM param)
{
    if (!tpl)
        return -1;
    // Drawing so far is shown before the dialog takes over; no tick runs
    // while it is open.
    ModalScope scope;
    const HWND prevFocus = GetFocus();
    const HWND ownerTop = owner ? core::TopLevelOf(owner) : 0;
    const bool ownerEnabled = ownerTop && IsWindowEnabled(ownerTop);
    const HWND hwnd = create_dialog(inst, tpl, owner, proc, param, true);
    if (!hwnd)
        return -1;
    std::shared_ptr<DlgRec> d = dialog_table()[hwnd];
    if (ownerEnabled)
        EnableWindow(ownerTop, FALSE);
    if (!d->ended) {
        ShowWindow(hwnd, SW_SHOW);
        if (!GetFocus() || core::TopLevelOf(GetFocus()) != hwnd)
            if (!d->ended && IsWindow(hwnd))
                SetActiveWindow(hwnd);
    }
    if (!d->ended && IsWindow(hwnd))
        DialogShown(hwnd, tpl->id);
    if (!d->ended && IsWindow(hwnd))
        RunModalLoop(d->ended);
    const intptr_t result = d->result;
    if (ownerEnabled && IsWindow(ownerTop))
        EnableWindow(ownerTop, TRUE);
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    if (prevFocus && IsWindow(prevFocus))
        SetFocus(prevFocus);
    return result;
}

intptr_t DialogBoxParam(HINSTANCE inst, int templateId, HWND owner, DLGPROC proc, LPARAM param)
{
    return DialogBoxIndirectParam(inst, FindDialogTemplate(inst, templateId), owner, proc, param);
}

BOOL EndDialog(HWND dlg, intptr_t result)
{
    DlgRec* d = find_dlg(dlg);
    if (!d)
        return FALSE;
    d->result = result;
    d->ended = true;
    ShowWindow(dlg, SW_HIDE);
    return TRUE;
}

BOOL IsDialog(HWND hwnd) { return find_dlg(hwnd) ? TRUE : FALSE; }

void SetDlgMsgResult(HWND dlg, LRESULT result)
{
    if (DlgRec* d = find_dlg(dlg))
        d->msgResult = result;
}

const DlgTemplate* GetDialogTemplate(HWND dlg)
{
    DlgRec* d = find_dlg(dlg);
    if (!d && g_pending && !g_pending->hwnd)
        return nullptr;
    return d ? d->tpl : nullptr;
}

BOOL GetTemplateItemRect(HWND dlg, int id, RECT* rect)
{
    const DlgTemplate* tpl = GetDialogTemplate(dlg);
    if (!tpl || !rect)
        return FALSE;
    for (const DlgItemTemplate& it : tpl->items)
        if (it.id == id) {
            *rect = RECT{it.x, it.y, it.x + it.cx, it.y + it.cy};
            return TRUE;
        }
    return FALSE;
}

void SetDialogDefID(HWND dlg, int id)
{
    DlgRec* d = find_dlg(dlg);
    if (!d)
        return;
    const int old = GetDialogDefID(dlg);
    d->defId = id;
    d->heldDefId = 0;
    if (d->focusDefault && GetDlgCtrlID(d->focusDefault) == id)
        d->focusDefault = 0;
    if (old && old != id)
        if (HWND b = GetDlgItem(dlg, old); b && is_class(b, WC_BUTTON) &&
                                           (style_of(b) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            SendMessage(b, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (HWND b = GetDlgItem(dlg, id); b && is_class(b, WC_BUTTON) &&
                                      (style_of(b) & BS_TYPEMASK) == BS_PUSHBUTTON)
        SendMessage(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

int GetDialogDefID(HWND dlg)
{
    DlgRec* d = find_dlg(dlg);
    if (!d)
        return 0;
    if (d->defId)
        return d->defId;
    if (d->heldDefId)
        return d->heldDefId;
    for (HWND h : children(dlg))
        if (h != d->focusDefault && is_class(h, WC_BUTTON) && (style_of(h) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return GetDlgCtrlID(h);
    return 0;
}

HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous)
{
    std::vector<HWND> kids = children(dlg);
    const int n = static_cast<int>(kids.size());
    if (n == 0)
        return 0;
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (kids[static_cast<size_t>(i)] == ctl)
            at = i;
    const int step = previous ? -1 : 1;
    int i = at < 0 ? (previous ? n : -1) : at;
    for (int k = 0; k < n; ++k) {
        i = (i + step + n) % n;
        const HWND h = kids[static_cast<size_t>(i)];
        if (!(style_of(h) & WS_TABSTOP) || !can_focus(h))
            continue;
        // Into a radio group: its checked button.
        if (is_radio(h))
            for (HWND g : controls::GroupOf(h))
                if (is_radio(g) && can_focus(g) && SendMessage(g, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    return g;
        return h;
    }
    return ctl;
}

HWND GetNextDlgGroupItem(HWND, HWND ctl, BOOL previous)
{
    std::vector<HWND> group = controls::GroupOf(ctl);
    const int n = static_cast<int>(group.size());
    int at = 0;
    for (int i = 0; i < n; ++i)
        if (group[static_cast<size_t>(i)] == ctl)
            at = i;
    for (int k = 1; k < n; ++k) {
        const HWND h = group[static_cast<size_t>((at + (previous ? -k : k) + n * 2) % n)];
        if (can_focus(h))
            return h;
    }
    return ctl;
}

void NextDlgCtl(HWND dlg, HWND ctl, BOOL previous, BOOL byHandle)
{
    if (byHandle)
        focus_control(ctl);
    else
        focus_control(GetNextDlgTabItem(dlg, GetFocus(), previous));
}

BOOL SetDlgItemText(HWND dlg, int id, const char* text)
{
    const HWND h = GetDlgItem(dlg, id);
    return h ? SetWindowText(h, text) : FALSE;
}

UINT GetDlgItemText(HWND dlg, int id, char* buf, int size)
{
    const HWND h = GetDlgItem(dlg, id);
    if (!h) {
        if (buf && size > 0)
            buf[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowText(h, buf, size));
}

bool ParseDlgInt(const char* text, bool signedValue, int64_t* value)
{
    *value = 0;
    if (!text)
        return false;
    const char* p = text;
    while (*p == ' ')
        ++p;
    bool neg = false;
    if (signedValue && *p == '-') {
        neg = true;
        ++p;
    }
    if (*p < '0' || *p > '9')
        return false;
    int64_t v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > 0xFFFFFFFFLL)
            return false;
    }
    if (*p != '\0')
        return false;
    if (neg)
        v = -v;
    if (signedValue ? (v < INT32_MIN || v > INT32_MAX) : v > 0xFFFFFFFFLL)
        return false;
    *value = v;
    return true;
}

UINT GetDlgItemInt(HWND dlg, int id, BOOL* ok, BOOL signedValue)
{
    char buf[64] = {};
    const HWND h = GetDlgItem(dlg, id);
    int64_t v = 0;
    bool good = false;
    if (h && GetWindowTextLength(h) < static_cast<int>(sizeof buf))
        good = GetWindowText(h, buf, sizeof buf) >= 0 && ParseDlgInt(buf, signedValue, &v);
    if (ok)
        *ok = good ? TRUE : FALSE;
    return good ? static_cast<UINT>(static_cast<uint32_t>(v)) : 0;
}

BOOL SetDlgItemInt(HWND dlg, int id, UINT value, BOOL signedValue)
{
    char buf[16];
    if (signedValue)
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
    else
        std::snprintf(buf, sizeof buf, "%u", value);
    return SetDlgItemText(dlg, id, buf);
}

BOOL CheckDlgButton(HWND dlg, int id, UINT check)
{
    const HWND h = GetDlgItem(dlg, id);
    if (!h)
        return FALSE;
    SendMessage(h, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dlg, int id)
{
    const HWND h = GetDlgItem(dlg, id);
    return h ? static_cast<UINT>(SendMessage(h, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dlg, int firstId, int lastId, int checkId)
{
    for (int id = firstId; id <= lastId; ++id)
        if (const HWND h = GetDlgItem(dlg, id))
            SendMessage(h, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}

LRESULT SendDlgItemMessage(HWND dlg, int id, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const HWND h = GetDlgItem(dlg, id);
    return h ? SendMessage(h, msg, wParam, lParam) : 0;
}

BOOL MapDialogRect(HWND dlg, RECT* rect)
{
    if (!rect || !IsWindow(dlg))
        return FALSE;
    int bx = 0, by = 0;
    controls::BaseUnits(static_cast<HFONT>(SendMessage(dlg, WM_GETFONT, 0, 0)), &bx, &by);
    rect->left = muldiv(rect->left, bx, 4);
    rect->right = muldiv(rect->right, bx, 4);
    rect->top = muldiv(rect->top, by, 8);
    rect->bottom = muldiv(rect->bottom, by, 8);
    return TRUE;
}

LONG GetDialogBaseUnits()
{
    int bx = 0, by = 0;
    controls::BaseUnits(0, &bx, &by);
    return MAKELONG(bx, by);
}

} // namespace plat
