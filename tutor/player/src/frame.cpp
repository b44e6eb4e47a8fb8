// The player's frame: its controls and their layout, placement, painting,
// cursor clipping, the step timer and closing; playback and the decision
// browser run from here.
#include "steplay/player.h"
#include "tutor/command_file.h"
#include "plat/commctl.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/menu.h"
#include "plat/msg.h"
#include "plat/window.h"
#include "uikit/uikit.h"

using namespace plat;

namespace {

constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The Windows integer multiply-divide, rounded half away from zero.
int mul_div(int a, int b, int c)
{
    const long long p = static_cast<long long>(a) * b;
    return static_cast<int>(p >= 0 ? (p + c / 2) / c : (p - c / 2) / c);
}

void fill(HDC hdc, int x, int y, int cx, int cy, COLORREF colour)
{
    const RECT r{x, y, x + cx, y + cy};
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
}

void move_child(CWnd& child, int x, int y, int cx, int cy)
{
    if (child.m_hWnd != 0)
        ::plat::SetWindowPos(child.m_hWnd, 0, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

CMainFrame::CMainFrame(std::string commandLine) : m_commandLine(std::move(commandLine)) {}

CMainFrame::~CMainFrame()
{
    if (m_font != 0)
        DeleteObject(m_font);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    // The mode is fixed before the window exists.
    m_browserMode = m_commandLine.empty();
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(CREATESTRUCT* cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    const HDC screen = ::plat::GetDC(0);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ::plat::ReleaseDC(0, screen);
    m_font = CreateFont(-mul_div(8, dpi, 72), 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    default_place();

    const RECT none{};
    const DWORD child = WS_CHILD | WS_VISIBLE;
    if (m_browserMode) {
        m_close.Create("&Close", child | BS_PUSHBUTTON, none, this, ID_TUTOR_CLOSE);
        m_close.SendMessage(WM_SETFONT, static_cast<WPARAM>(m_font), 0);
        m_tree.Create(child | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, none, this,
                      IDC_DECISION_TREE);
        m_images.Create(16, 16, ILC_MASK | ILC_COLOR24, 1, 1);
        for (int i = 0; i < 6; ++i) {
            CBitmap bitmap;
            bitmap.Attach(LoadBitmap(AfxGetResourceHandle(), IDB_TREE_FIRST + i));
            m_images.Add(&bitmap, kMagenta);
        }
        m_tree.SetImageList(&m_images, TVSIL_NORMAL);
        load_decision_menu();
    } else {
        clip_cursor();
        SetWindowText(TUTOR_WINDOW_TITLE);
        m_close.Create("&Exit", child | BS_PUSHBUTTON, none, this, ID_TUTOR_CLOSE);
        m_close.SendMessage(WM_SETFONT, static_cast<WPARAM>(m_font), 0);
        m_continue.Create("Continue", child | WS_DISABLED | BS_PUSHBUTTON, none, this, ID_TUTOR_CONTINUE);
        m_continue.SendMessage(WM_SETFONT, static_cast<WPARAM>(m_font), 0);
        m_text.Create("Text", child | SS_LEFT, none, this, IDC_TUTOR_TEXT);
        m_text.SendMessage(WM_SETFONT, static_cast<WPARAM>(m_font), 0);
        m_text.SetWindowText("");
        std::vector<CommandRecord> records;
        // A file that cannot be read leaves the window open and empty.
        load_command_file(m_commandLine, records);
        m_playback.set_commands(std::move(records));
    }
    RECT client{};
    ::plat::GetClientRect(m_hWnd, &client);
    OnSize(0, client.right, client.bottom);
    return 0;
}

void CMainFrame::drop_menu()
{
    const HMENU menu = ::plat::GetMenu(m_hWnd);
    if (menu == 0)
        return;
    ::plat::SetMenu(m_hWnd, 0);
    if (CFrameWnd::m_menu.m_hMenu == menu)
        CFrameWnd::m_menu.DestroyMenu();
    else
        ::plat::DestroyMenu(menu);
}

void CMainFrame::default_place()
{
    place(default_placement(desktop(), m_browserMode));
}

void CMainFrame::load_decision_menu()
{
    m_decisions = load_browser_menu(DECISION_MENU_FILE);
    if (!m_decisions.close_caption.empty())
        m_close.SetWindowText(m_decisions.close_caption.c_str());
    HTREEITEM first = 0;
    for (size_t g = 0; g < DECISION_SHOWN_GROUPS; ++g) {
        const DecisionGroup& group = m_decisions.groups[g];
        const HTREEITEM root = m_tree.InsertItem(TVI_ROOT, group.name.c_str(), static_cast<int>(g));
        const HTREEITEM actions = m_tree.InsertItem(root, m_decisions.actions_label.c_str(), 4);
        for (const DecisionEntry& e : group.actions)
            m_tree.InsertItem(actions, e.text.c_str(), 3);
        const HTREEITEM policies = m_tree.InsertItem(root, m_decisions.policies_label.c_str(), 5);
        for (const DecisionEntry& e : group.policies)
            m_tree.InsertItem(policies, e.text.c_str(), 3);
        m_tree.Expand(root, TVE_EXPAND);
        m_tree.Expand(policies, TVE_EXPAND);
        m_tree.Expand(actions, TVE_EXPAND);
        if (g == 0)
            first = root;
    }
    m_tree.EnsureVisible(first);
}

void CMainFrame::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    RECT client{};
    ::plat::GetClientRect(m_hWnd, &client);
    const int w = client.right;
    const int h = client.bottom;
    move_child(m_continue, w - 85, h - 27, 80, 22);
    move_child(m_tree, 5, 5, w - 10, h - 37);
    move_child(m_close, m_browserMode ? 5 : w - 170, h - 27, 80, 22);
    move_child(m_text, 5, 5, w - 15, h - 42);
    if (!m_closing)
        clip_cursor();
    ::plat::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMainFrame::OnMove(int x, int y)
{
    CFrameWnd::OnMove(x, y);
    if (!m_closing)
        clip_cursor();
}

void CMainFrame::OnPaint()
{
    PAINTSTRUCT ps{};
    const HDC hdc = ::plat::BeginPaint(m_hWnd, &ps);
    RECT client{};
    ::plat::GetClientRect(m_hWnd, &client);
    const int w = client.right;
    const int h = client.bottom;
    fill(hdc, 0, 0, w, h, kGrey);
    // The text panel's border and shadow; none when the window is only as
    // high as its buttons (ConfirmContinue's corner) and the panel has no room.
    if (m_tree.m_hWnd == 0 && h - 42 > 0) {
        const RECT frame{4, 4, w - 9, h - 36};
        FrameRect(hdc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        fill(hdc, w - 9, 7, 5, h - 40, kShadow);
        fill(hdc, 7, h - 36, w - 11, 5, kShadow);
    }
    ::plat::EndPaint(m_hWnd, &ps);
}

HBRUSH CMainFrame::OnCtlColor(HDC hdc, HWND ctl, UINT ctlType)
{
    if (ctlType == WM_CTLCOLORSTATIC - WM_CTLCOLORMSGBOX)
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return CFrameWnd::OnCtlColor(hdc, ctl, ctlType);
}

void CMainFrame::exit_player()
{
    m_closing = true;
    DestroyWindow();
}

void CMainFrame::continue_player()
{
    if (m_continue.m_hWnd != 0)
        ::plat::EnableWindow(m_continue.m_hWnd, FALSE);
    m_playback.on_continue();
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ID_TUTOR_CLOSE:
    case ID_TUTOR_EXIT:
        exit_player();
        return TRUE;
    case ID_TUTOR_CONTINUE:
    case ID_TUTOR_NEXT:
        // Alt+C goes on even while the button is disabled.
        continue_player();
        return TRUE;
    default:
        return CFrameWnd::OnCommand(wParam, lParam);
    }
}

void CMainFrame::OnClose()
{
    m_closing = true;
    CFrameWnd::OnClose();
}

void CMainFrame::OnDestroy()
{
    m_closing = true;
    set_step_timer(0);
    m_playback.set_commands({});
    if (!m_browserMode) {
        RECT desk = desktop();
        ::plat::ClipCursor(&desk);
        if (m_playback.simulator() != 0)
            ::plat::PostMessage(m_playback.simulator(), WM_TUTOR_REQUEST, TUTOR_REQUEST_CLOSED, 0);
    }
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnTimer(UINT_PTR)
{
    m_playback.on_timer();
}

BOOL CMainFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_TUTOR_CONTROL) {
        m_playback.on_control(wParam, lParam);
        result = 0;
        return TRUE;
    }
    if (msg == WM_TREE_NOTIFY) {
        on_tree_notify(wParam, lParam);
        result = 0;
        return TRUE;
    }
    return CFrameWnd::OnMessage(msg, wParam, lParam, result);
}

void CMainFrame::on_tree_notify(WPARAM code, LPARAM item)
{
    if (code != 2 || item == 0)
        return;
    const HTREEITEM selected = static_cast<HTREEITEM>(item);
    HTREEITEM root = selected;
    for (HTREEITEM up = m_tree.GetParentItem(root); up != 0; up = m_tree.GetParentItem(root))
        root = up;
    select_decision(m_link, m_playback.simulator(), m_decisions, m_tree.GetItemText(root), m_tree.GetItemText(selected));
}

void CMainFrame::set_step_timer(unsigned ms)
{
    if (m_timerRunning)
        ::plat::KillTimer(m_hWnd, TUTOR_STEP_TIMER);
    m_timerRunning = false;
    if (ms != 0)
        m_timerRunning = ::plat::SetTimer(m_hWnd, TUTOR_STEP_TIMER, ms, nullptr) != 0;
}

void CMainFrame::show_text(const std::string& text)
{
    if (m_text.m_hWnd != 0)
        m_text.SetWindowText(text.c_str());
}

void CMainFrame::enable_continue()
{
    if (m_continue.m_hWnd != 0)
        ::plat::EnableWindow(m_continue.m_hWnd, TRUE);
}

RECT CMainFrame::desktop()
{
    RECT r{};
    ::plat::GetWindowRect(::plat::GetDesktopWindow(), &r);
    return r;
}

void CMainFrame::place(const RECT& where)
{
    ::plat::SetWindowPos(m_hWnd, HWND_TOPMOST, where.left, where.top, where.right - where.left, where.bottom - where.top,
                 SWP_NOACTIVATE);
}

RECT CMainFrame::window_rect()
{
    RECT r{};
    ::plat::GetWindowRect(m_hWnd, &r);
    return r;
}

void CMainFrame::clip_cursor()
{
    if (m_browserMode || m_hWnd == 0)
        return;
    const CWinApp* app = AfxGetApp();
    if (app != nullptr && app->GetProfileInt("General", "ClipCursor", 1) == 0)
        return;
    RECT r = window_rect();
    ::plat::ClipCursor(&r);
}
