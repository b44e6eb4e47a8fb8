// CWnd: the window's C++ object, attached before WM_CREATE where the layer
// creates the window, and the bottom procedure calling its handlers.
#include "plat/fw/wnd.h"
#include "controls/controls_p.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/menu.h"
#include "plat/uihost.h"
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace plat {

namespace {

CWnd* g_pendingCreate = nullptr;

// Objects alive now, with a serial so that a new object at a freed address
// is not taken for the old one: a handler may delete its own window object.
std::unordered_map<const CWnd*, uint64_t>& live()
{
    static std::unordered_map<const CWnd*, uint64_t> m;
    return m;
}
uint64_t g_serial = 0;

bool still_alive(const CWnd* w, uint64_t serial)
{
    auto it = live().find(w);
    return it != live().end() && it->second == serial;
}

std::map<HWND, std::unique_ptr<CWnd>>& temporaries()
{
    static std::map<HWND, std::unique_ptr<CWnd>> m;
    return m;
}

void attach(CWnd* w, HWND hwnd, WNDPROC super)
{
    w->m_hWnd = hwnd;
    w->m_pfnSuper = super;
    SetWindowObject(hwnd, w);
    temporaries().erase(hwnd);
}

WNDPROC attach_pending(HWND hwnd, WNDPROC classProc)
{
    CWnd* w = g_pendingCreate;
    if (!w)
        return nullptr;
    g_pendingCreate = nullptr;
    attach(w, hwnd, classProc);
    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWndProc));
    return FrameworkWndProc;
}

void ensure_framework()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    InitControls();
    InitCommonControls();
    controls::SetAttachHook(attach_pending);
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameworkWndProc;
    wc.hCursor = LoadCursor(0, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = FRAMEWORK_WND_CLASS;
    RegisterClass(&wc);
}

} // namespace

// Used by the framework's other files.
void FrameworkSetPending(CWnd* w)
{
    ensure_framework();
    g_pendingCreate = w;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH brush, HICON icon)
{
    ensure_framework();
    static std::map<std::string, std::unique_ptr<std::string>> names;
    char buf[96];
    std::snprintf(buf, sizeof buf, "PlatFw:%x:%x:%x:%x", classStyle, cursor, brush, icon);
    auto& slot = names[buf];
    if (!slot) {
        slot = std::make_unique<std::string>(buf);
        WNDCLASS wc;
        wc.style = classStyle;
        wc.lpfnWndProc = FrameworkWndProc;
        wc.hCursor = cursor;
        wc.hbrBackground = brush;
        wc.hIcon = icon;
        wc.lpszClassName = slot->c_str();
        RegisterClass(&wc);
    }
    return slot->c_str();
}

LRESULT FrameworkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* w = static_cast<CWnd*>(GetWindowObject(hwnd));
    if (!w) {
        if (!g_pendingCreate)
            return DefWindowProc(hwnd, msg, wParam, lParam);
        w = g_pendingCreate;
        g_pendingCreate = nullptr;
        attach(w, hwnd, DefWindowProc);
    }
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    const MSG* saved = w->m_current;
    w->m_current = &m;
    const uint64_t serial = live()[w];
    const LRESULT r = w->WindowProc(msg, wParam, lParam);
    if (!still_alive(w, serial))
        return r;
    if (msg == WM_NCDESTROY) {
        if (GetWindowObject(hwnd) == w)
            SetWindowObject(hwnd, nullptr);
        w->m_hWnd = 0;
        w->m_current = saved;
        // The object may delete itself here.
        w->PostNcDestroy();
        return r;
    }
    w->m_current = saved;
    return r;
}

CWnd::CWnd()
{
    ensure_framework();
    live()[this] = ++g_serial;
}

CWnd::~CWnd()
{
    live().erase(this);
    if (g_pendingCreate == this)
        g_pendingCreate = nullptr;
    if (m_hWnd && ::plat::IsWindow(m_hWnd) && GetWindowObject(m_hWnd) == this) {
        const HWND h = m_hWnd;
        SetWindowObject(h, nullptr);
        if (m_pfnSuper)
            SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_hWnd = 0;
        if (!m_temporary)
            ::plat::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (!hwnd || !::plat::IsWindow(hwnd))
        return nullptr;
    return static_cast<CWnd*>(GetWindowObject(hwnd));
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd || !::plat::IsWindow(hwnd))
        return nullptr;
    if (CWnd* w = FromHandlePermanent(hwnd))
        return w;
    auto& t = temporaries();
    auto it = t.find(hwnd);
    if (it != t.end())
        return it->second.get();
    auto w = std::make_unique<CWnd>();
    w->m_hWnd = hwnd;
    w->m_temporary = true;
    CWnd* raw = w.get();
    t[hwnd] = std::move(w);
    return raw;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                    int y, int cx, int cy, HWND parent, UINT_PTR idOrMenu, void* param)
{
    ensure_framework();
    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = AfxGetResourceHandle();
    cs.hMenu = static_cast<HMENU>(idOrMenu);
    cs.hwndParent = parent;
    cs.cx = cx;
    cs.cy = cy;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className ? className : FRAMEWORK_WND_CLASS;
    cs.dwExStyle = exStyle;
    if (!PreCreateWindow(cs))
        return FALSE;
    g_pendingCreate = this;
    const HWND h = CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                  cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (g_pendingCreate == this) {
        // A class whose procedure is not the framework's: attached after
        // the fact, its WM_CREATE already gone by.
        g_pendingCreate = nullptr;
        if (h && !GetWindowObject(h)) {
            attach(this, h, reinterpret_cast<WNDPROC>(GetWindowLongPtr(h, GWLP_WNDPROC)));
            SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWndProc));
        }
    }
    return h && m_hWnd == h ? TRUE : FALSE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, void* param)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : 0, id, param);
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!::plat::IsWindow(hwnd) || GetWindowObject(hwnd) || m_hWnd)
        return FALSE;
    const auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWndProc)));
    attach(this, hwnd, old);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::plat::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    const HWND h = m_hWnd;
    if (!h)
        return 0;
    if (m_pfnSuper)
        SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    SetWindowObject(h, nullptr);
    m_pfnSuper = nullptr;
    m_hWnd = 0;
    return h;
}

BOOL CWnd::Attach(HWND hwnd)
{
    if (!::plat::IsWindow(hwnd) || m_hWnd)
        return FALSE;
    m_hWnd = hwnd;
    m_temporary = true;
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND h = m_hWnd;
    m_hWnd = 0;
    return h;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::plat::DestroyWindow(m_hWnd) : FALSE; }

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }
void CWnd::PostNcDestroy() {}

BOOL CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return FALSE; }

LRESULT CWnd::Default()
{
    if (!m_current)
        return 0;
    return CallWindowProc(m_pfnSuper ? m_pfnSuper : DefWindowProc, m_current->hwnd, m_current->message,
                          m_current->wParam, m_current->lParam);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnMessage(msg, wParam, lParam, result))
        return result;
    bool handled = true;
    result = dispatch(msg, wParam, lParam, &handled);
    return handled ? result : Default();
}

LRESULT CWnd::dispatch(UINT msg, WPARAM wp, LPARAM lp, bool* handled)
{
    const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const auto flags = static_cast<UINT>(wp);
    switch (msg) {
    case WM_CREATE: return OnCreate(reinterpret_cast<CREATESTRUCT*>(lp));
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(static_cast<HDC>(wp));
    case WM_SIZE: OnSize(flags, LOWORD(static_cast<uintptr_t>(lp)), HIWORD(static_cast<uintptr_t>(lp))); return 0;
    case WM_MOVE: OnMove(pt.x, pt.y); return 0;
    case WM_TIMER: OnTimer(wp); return 0;
    case WM_SHOWWINDOW: OnShowWindow(static_cast<BOOL>(wp), static_cast<UINT>(lp)); return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wp), static_cast<HWND>(lp), HIWORD(wp)); return 0;
    case WM_SETFOCUS: OnSetFocus(static_cast<HWND>(wp)); return 0;
    case WM_KILLFOCUS: OnKillFocus(static_cast<HWND>(wp)); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, pt); return 0;
    case WM_LBUTTONUP: OnLButtonUp(flags, pt); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, pt); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, pt); return 0;
    case WM_RBUTTONUP: OnRButtonUp(flags, pt); return 0;
    case WM_MOUSEMOVE: OnMouseMove(flags, pt); return 0;
    case WM_SETCURSOR:
        return OnSetCursor(static_cast<HWND>(wp), LOWORD(static_cast<uintptr_t>(lp)), HIWORD(static_cast<uintptr_t>(lp)));
    case WM_KEYDOWN: OnKeyDown(flags, LOWORD(static_cast<uintptr_t>(lp)), HIWORD(static_cast<uintptr_t>(lp))); return 0;
    case WM_KEYUP: OnKeyUp(flags, LOWORD(static_cast<uintptr_t>(lp)), HIWORD(static_cast<uintptr_t>(lp))); return 0;
    case WM_CHAR: OnChar(flags, LOWORD(static_cast<uintptr_t>(lp)), HIWORD(static_cast<uintptr_t>(lp))); return 0;
    case WM_HSCROLL: OnHScroll(LOWORD(wp), static_cast<UINT>(static_cast<int16_t>(HIWORD(wp))), static_cast<HWND>(lp)); return 0;
    case WM_VSCROLL: OnVScroll(LOWORD(wp), static_cast<UINT>(static_cast<int16_t>(HIWORD(wp))), static_cast<HWND>(lp)); return 0;
    case WM_GETDLGCODE: return OnGetDlgCode();
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return static_cast<LRESULT>(OnCtlColor(static_cast<HDC>(wp), static_cast<HWND>(lp), msg - WM_CTLCOLORMSGBOX));
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(static_cast<HMENU>(wp), LOWORD(static_cast<uintptr_t>(lp)), HIWORD(static_cast<uintptr_t>(lp)));
        return 0;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        LRESULT r = 0;
        if (CWnd* child = dis ? FromHandlePermanent(dis->hwndItem) : nullptr)
            if (child->OnChildNotify(msg, wp, lp, &r))
                return TRUE;
        OnDrawItem(static_cast<int>(wp), dis);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        LRESULT r = 0;
        if (CWnd* child = mis ? FromHandlePermanent(::plat::GetDlgItem(m_hWnd, static_cast<int>(mis->CtlID))) : nullptr)
            if (child->OnChildNotify(msg, wp, lp, &r))
                return TRUE;
        OnMeasureItem(static_cast<int>(wp), mis);
        return TRUE;
    }
    case WM_COMMAND: {
        LRESULT r = 0;
        if (lp)
            if (CWnd* child = FromHandlePermanent(static_cast<HWND>(lp)))
                if (child != this && child->OnChildNotify(msg, wp, lp, &r))
                    return r;
        if (OnCommand(wp, lp))
            return 0;
        *handled = false;
        return 0;
    }
    case WM_NOTIFY: {
        LRESULT r = 0;
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (CWnd* child = hdr ? FromHandlePermanent(hdr->hwndFrom) : nullptr)
            if (child != this && child->OnChildNotify(msg, wp, lp, &r))
                return r;
        if (OnNotify(wp, lp, &r))
            return r;
        *handled = false;
        return 0;
    }
    case OCM_NOTIFY: {
        LRESULT r = 0;
        if (OnChildNotify(WM_NOTIFY, wp, lp, &r))
            return r;
        *handled = false;
        return 0;
    }
    case WM_QUERYNEWPALETTE: return OnQueryNewPalette();
    case WM_PALETTECHANGED: OnPaletteChanged(static_cast<HWND>(wp)); return 0;
    default:
        *handled = false;
        return 0;
    }
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }
BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

int CWnd::OnCreate(CREATESTRUCT*) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, HWND, BOOL) { Default(); }
void CWnd::OnSetFocus(HWND) { Default(); }
void CWnd::OnKillFocus(HWND) { Default(); }
void CWnd::OnLButtonDown(UINT, POINT) { Default(); }
void CWnd::OnLButtonUp(UINT, POINT) { Default(); }
void CWnd::OnLButtonDblClk(UINT, POINT) { Default(); }
void CWnd::OnRButtonDown(UINT, POINT) { Default(); }
void CWnd::OnRButtonUp(UINT, POINT) { Default(); }
void CWnd::OnMouseMove(UINT, POINT) { Default(); }
BOOL CWnd::OnSetCursor(HWND, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnHScroll(UINT, UINT, HWND) { Default(); }
void CWnd::OnVScroll(UINT, UINT, HWND) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
HBRUSH CWnd::OnCtlColor(HDC, HWND, UINT) { return static_cast<HBRUSH>(Default()); }
void CWnd::OnInitMenuPopup(HMENU, UINT, BOOL) { Default(); }
void CWnd::OnDrawItem(int, DRAWITEMSTRUCT*) { Default(); }
void CWnd::OnMeasureItem(int, MEASUREITEMSTRUCT*) { Default(); }
BOOL CWnd::OnQueryNewPalette() { return static_cast<BOOL>(Default()); }
void CWnd::OnPaletteChanged(HWND) { Default(); }

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::plat::SendMessage(m_hWnd, msg, wParam, lParam); }
BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::plat::PostMessage(m_hWnd, msg, wParam, lParam); }
BOOL CWnd::ShowWindow(int cmd) const { return ::plat::ShowWindow(m_hWnd, cmd); }
void CWnd::UpdateWindow() const { ::plat::UpdateWindow(m_hWnd); }
void CWnd::Invalidate(BOOL erase) const { ::plat::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(const RECT* rect, BOOL erase) const { ::plat::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(const RECT* rect) const { ::plat::ValidateRect(m_hWnd, rect); }
void CWnd::GetClientRect(RECT* rect) const { ::plat::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(RECT* rect) const { ::plat::GetWindowRect(m_hWnd, rect); }
void CWnd::MoveWindow(int x, int y, int cx, int cy, BOOL repaint) const { ::plat::MoveWindow(m_hWnd, x, y, cx, cy, repaint); }
void CWnd::MoveWindow(const RECT& r, BOOL repaint) const { ::plat::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint); }
BOOL CWnd::SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const { return ::plat::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags); }
void CWnd::ClientToScreen(POINT* pt) const { ::plat::ClientToScreen(m_hWnd, pt); }
void CWnd::ClientToScreen(RECT* rc) const
{
    POINT a{rc->left, rc->top}, b{rc->right, rc->bottom};
    ::plat::ClientToScreen(m_hWnd, &a);
    ::plat::ClientToScreen(m_hWnd, &b);
    *rc = RECT{a.x, a.y, b.x, b.y};
}
void CWnd::ScreenToClient(POINT* pt) const { ::plat::ScreenToClient(m_hWnd, pt); }
void CWnd::ScreenToClient(RECT* rc) const
{
    POINT a{rc->left, rc->top}, b{rc->right, rc->bottom};
    ::plat::ScreenToClient(m_hWnd, &a);
    ::plat::ScreenToClient(m_hWnd, &b);
    *rc = RECT{a.x, a.y, b.x, b.y};
}
void CWnd::SetWindowText(const char* text) const { ::plat::SetWindowText(m_hWnd, text); }
int CWnd::GetWindowText(char* buf, int size) const { return ::plat::GetWindowText(m_hWnd, buf, size); }
std::string CWnd::GetWindowText() const
{
    const int n = ::plat::GetWindowTextLength(m_hWnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const int got = ::plat::GetWindowText(m_hWnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(0, got)));
    return s;
}
int CWnd::GetWindowTextLength() const { return ::plat::GetWindowTextLength(m_hWnd); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::plat::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::plat::GetDlgCtrlID(m_hWnd); }
CWnd* CWnd::GetParent() const { return FromHandle(::plat::GetParent(m_hWnd)); }
CWnd* CWnd::SetFocus() const { return FromHandle(::plat::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::plat::GetFocus()); }
BOOL CWnd::EnableWindow(BOOL enable) const { return ::plat::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::plat::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return ::plat::IsWindowVisible(m_hWnd); }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) const { return ::plat::SetTimer(m_hWnd, id, elapse, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) const { return ::plat::KillTimer(m_hWnd, id); }
HDC CWnd::GetDC() const { return ::plat::GetDC(m_hWnd); }
int CWnd::ReleaseDC(HDC hdc) const { return ::plat::ReleaseDC(m_hWnd, hdc); }
CWnd* CWnd::SetCapture() const { return FromHandle(::plat::SetCapture(m_hWnd)); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(GetWindowLong(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(GetWindowLong(m_hWnd, GWL_EXSTYLE)); }
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add) const
{
    const DWORD s = GetStyle();
    const DWORD n = (s & ~remove) | add;
    if (n == s)
        return FALSE;
    SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(n));
    return TRUE;
}
void CWnd::SetFont(HFONT font, BOOL redraw) const { ::plat::SendMessage(m_hWnd, WM_SETFONT, font, redraw); }
HFONT CWnd::GetFont() const { return static_cast<HFONT>(::plat::SendMessage(m_hWnd, WM_GETFONT, 0, 0)); }
BOOL CWnd::SetMenu(CMenu* menu) const { return ::plat::SetMenu(m_hWnd, menu ? menu->m_hMenu : 0); }
HMENU CWnd::GetMenu() const { return ::plat::GetMenu(m_hWnd); }
void CWnd::DrawMenuBar() const { ::plat::DrawMenuBar(m_hWnd); }
void CWnd::CenterWindow(HWND alternateOwner) const
{
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HWND owner = alternateOwner ? alternateOwner : ::plat::GetParent(m_hWnd);
    const bool child = GetStyle() & WS_CHILD;
    if (child && owner)
        ::plat::GetClientRect(owner, &area);
    else if (owner)
        ::plat::GetWindowRect(owner, &area);
    RECT me;
    GetWindowRect(&me);
    const int w = me.right - me.left, h = me.bottom - me.top;
    ::plat::SetWindowPos(m_hWnd, 0, area.left + (area.right - area.left - w) / 2,
                         area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
int CWnd::MessageBox(const char* text, const char* caption, UINT type) const
{
    CWinApp* app = AfxGetApp();
    if (!caption && app)
        caption = app->m_strTitle.c_str();
    return ::plat::MessageBox(m_hWnd, text, caption, type);
}
BOOL CWnd::IsWindow() const { return ::plat::IsWindow(m_hWnd); }
void CWnd::SetDlgItemText(int id, const char* text) const { ::plat::SetDlgItemText(m_hWnd, id, text); }
UINT CWnd::GetDlgItemText(int id, char* buf, int size) const { return ::plat::GetDlgItemText(m_hWnd, id, buf, size); }
UINT CWnd::GetDlgItemInt(int id, BOOL* ok, BOOL signedValue) const { return ::plat::GetDlgItemInt(m_hWnd, id, ok, signedValue); }
void CWnd::SetDlgItemInt(int id, UINT value, BOOL signedValue) const { ::plat::SetDlgItemInt(m_hWnd, id, value, signedValue); }
void CWnd::CheckDlgButton(int id, UINT check) const { ::plat::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::plat::IsDlgButtonChecked(m_hWnd, id); }
void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) const { ::plat::CheckRadioButton(m_hWnd, firstId, lastId, checkId); }
LRESULT CWnd::SendDlgItemMessage(int id, UINT msg, WPARAM wParam, LPARAM lParam) const { return ::plat::SendDlgItemMessage(m_hWnd, id, msg, wParam, lParam); }
BOOL CWnd::ScrollWindow(int dx, int dy, const RECT* rect, const RECT* clip) const { return ::plat::ScrollWindow(m_hWnd, dx, dy, rect, clip); }
int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) const { return ::plat::SetScrollPos(m_hWnd, bar, pos, redraw); }
int CWnd::GetScrollPos(int bar) const { return ::plat::GetScrollPos(m_hWnd, bar); }
void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) const { ::plat::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw); }

} // namespace plat
