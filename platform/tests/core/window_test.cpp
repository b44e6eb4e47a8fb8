// Creation, destruction, handles, text, relations and geometry of windows.
#include "core_fixture.h"
#include <cstring>

using namespace coretest;
using P = std::pair<HWND, UINT>;

namespace {

class Window : public CoreTest {};

TEST_F(Window, CreationSendsCreateSizeMoveShowInOrder)
{
    MessageTracer t;
    ignore_noise(t);
    t.WatchClass(kClass);
    const HWND p = top(10, 20, 200, 100);
    ASSERT_NE(p, 0u);
    const HWND c = child(p, 5, 5, 6, 50, 40, WS_VISIBLE | WS_BORDER);
    ASSERT_NE(c, 0u);
    const std::vector<TraceEntry> want = {
        {p, WM_CREATE, 0, t.entries()[0].lParam},
        {p, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100)},
        {p, WM_MOVE, 0, MAKELPARAM(10, 20)},
        {p, WM_SHOWWINDOW, TRUE, 0},
        {c, WM_CREATE, 0, t.entries()[4].lParam},
        // A 1-pixel border: the client is 48 x 38 and starts at (6, 7).
        {c, WM_SIZE, SIZE_RESTORED, MAKELPARAM(48, 38)},
        {c, WM_MOVE, 0, MAKELPARAM(6, 7)},
        {c, WM_SHOWWINDOW, TRUE, 0},
    };
    EXPECT_EQ(t.entries(), want);

    // Then, from the loop, both paint: parent first, each erasing inside
    // its BeginPaint.
    t.clear();
    PumpEvents(20);
    EXPECT_EQ(pairs(t), (std::vector<P>{{p, WM_PAINT}, {p, WM_ERASEBKGND}, {c, WM_PAINT}, {c, WM_ERASEBKGND}}));
}

TEST_F(Window, CreateStructCarriesTheCreationArguments)
{
    CREATESTRUCT seen;
    int param = 0;
    g_handler = [&](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (m == WM_CREATE)
            seen = *reinterpret_cast<CREATESTRUCT*>(l);
        return std::nullopt;
    };
    const HWND h = CreateWindowEx(WS_EX_CLIENTEDGE, kClass, "Caption", WS_POPUP | WS_BORDER, 1, 2, 30, 40, 0, 0,
                                  0, &param);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(seen.lpCreateParams, &param);
    EXPECT_EQ(seen.x, 1);
    EXPECT_EQ(seen.y, 2);
    EXPECT_EQ(seen.cx, 30);
    EXPECT_EQ(seen.cy, 40);
    EXPECT_EQ(static_cast<DWORD>(seen.style), WS_POPUP | WS_BORDER);
    EXPECT_EQ(seen.dwExStyle, WS_EX_CLIENTEDGE);
    EXPECT_STREQ(seen.lpszName, "Caption");
    EXPECT_STREQ(seen.lpszClass, kClass);
}

TEST_F(Window, CreateAnsweringMinusOneFailsAfterDestroyMessages)
{
    MessageTracer t;
    ignore_noise(t);
    t.WatchClass(kClass);
    HWND seen = 0;
    g_handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_CREATE) {
            seen = h;
            return -1;
        }
        return std::nullopt;
    };
    EXPECT_EQ(top(), 0u);
    EXPECT_EQ(t.messages(), (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(seen));
}

TEST_F(Window, CreationFailsForUnknownClassOrMissingParent)
{
    EXPECT_EQ(CreateWindow("NoSuchClass", "", WS_OVERLAPPED, 0, 0, 10, 10, 0, 0, 0, nullptr), 0u);
    EXPECT_EQ(CreateWindow(kClass, "", WS_CHILD, 0, 0, 10, 10, 0, 0, 0, nullptr), 0u);
    EXPECT_EQ(CreateWindow(kClass, "", WS_CHILD, 0, 0, 10, 10, 0x7777, 0, 0, nullptr), 0u);
}

TEST_F(Window, DestroyGoesOwnedFirstThenTopDownThenBottomUp)
{
    const HWND p = top();
    const HWND a = child(p, 1, 0, 0, 10, 10);
    const HWND a1 = child(a, 2, 0, 0, 5, 5);
    const HWND b = child(p, 3, 20, 0, 10, 10);
    const HWND owned = CreateWindow(kClass, "", WS_POPUP, 0, 0, 10, 10, a, 0, 0, nullptr);
    ASSERT_TRUE(p && a && a1 && b && owned);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), p) << "a popup is owned by the top-level ancestor";

    MessageTracer t;
    ignore_noise(t);
    for (HWND h : {p, a, a1, b, owned})
        t.Watch(h);
    EXPECT_TRUE(DestroyWindow(p));
    EXPECT_EQ(pairs(t), (std::vector<P>{{owned, WM_DESTROY},
                                        {owned, WM_NCDESTROY},
                                        {p, WM_DESTROY},
                                        {a, WM_DESTROY},
                                        {a1, WM_DESTROY},
                                        {b, WM_DESTROY},
                                        {a1, WM_NCDESTROY},
                                        {a, WM_NCDESTROY},
                                        {b, WM_NCDESTROY},
                                        {p, WM_NCDESTROY}}));
    for (HWND h : {p, a, a1, b, owned})
        EXPECT_FALSE(IsWindow(h));
}

TEST_F(Window, DestroyInsideOwnHandlerAndTwiceIsHarmless)
{
    const HWND h = top();
    int destroys = 0;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER)
            return DestroyWindow(w);
        if (m == WM_DESTROY) {
            ++destroys;
            EXPECT_FALSE(DestroyWindow(w)) << "already on its way";
        }
        return std::nullopt;
    };
    EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), TRUE);
    EXPECT_EQ(destroys, 1);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(h));
}

TEST_F(Window, MainWindowDestructionPostsQuit)
{
    const HWND h = top();
    SetMainWindow(h);
    DestroyWindow(h);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, 0, 0, 0, PM_REMOVE | PM_NOYIELD));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_EQ(GetMainWindow(), 0u);
}

TEST_F(Window, HandlesCarryTheProcessTag)
{
    const HWND h0 = top();
    EXPECT_EQ(HIWORD(h0), 0) << "the simulator's handles fit 16 bits";
    EXPECT_NE(LOWORD(h0), 0);
    SetProcessTag(3);
    const HWND h3 = top();
    EXPECT_EQ(HIWORD(h3), 3);
    EXPECT_TRUE(IsWindow(h3));
    EXPECT_FALSE(IsWindow(h0)) << "another tag is another process";
    DestroyWindow(h3);
    SetProcessTag(0);
    EXPECT_TRUE(IsWindow(h0));
}

TEST_F(Window, FreedHandleStaysDeadAfterNewCreations)
{
    const HWND h = top();
    DestroyWindow(h);
    const HWND next = top();
    EXPECT_NE(next, h);
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(Window, DeadAndUnknownHandlesGiveFailureValues)
{
    const HWND dead = top();
    DestroyWindow(dead);
    for (HWND h : {dead, HWND(0), HWND(0x0000FFFE), HWND(0x12340001)}) {
        SCOPED_TRACE(h);
        char buf[8] = "xxxxxxx";
        RECT rc{1, 2, 3, 4};
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(SendMessage(h, WM_USER, 1, 2), 0);
        EXPECT_FALSE(PostMessage(h, WM_USER, 1, 2) && h != 0);
        EXPECT_FALSE(DestroyWindow(h));
        EXPECT_FALSE(ShowWindow(h, SW_SHOW));
        EXPECT_EQ(GetWindowText(h, buf, sizeof buf), 0);
        EXPECT_STREQ(buf, "");
        EXPECT_EQ(GetClassName(h, buf, sizeof buf), 0);
        EXPECT_FALSE(GetClientRect(h, &rc));
        EXPECT_EQ(GetParent(h), 0u);
        EXPECT_EQ(GetDlgItem(h, 1), 0u);
        EXPECT_EQ(GetDlgCtrlID(h), 0);
        EXPECT_EQ(SetTimer(h, 1, 10, nullptr), 0u);
        EXPECT_EQ(GetWindowLongPtr(h, GWL_STYLE), 0);
        EXPECT_EQ(SetWindowLongPtr(h, GWLP_USERDATA, 5), 0);
        EXPECT_FALSE(InvalidateRect(h, nullptr, TRUE));
        const HDC dc = GetDC(h);
        EXPECT_EQ(dc != 0, h == 0) << "GetDC(0) is the screen";
        if (dc)
            ReleaseDC(h, dc);
        EXPECT_EQ(SetCapture(h), 0u);
        EXPECT_EQ(GetWindowObject(h), nullptr);
    }
}

TEST_F(Window, TextIsTruncatedToTheBuffer)
{
    const HWND h = top();
    ASSERT_TRUE(SetWindowText(h, "Hello"));
    struct Case {
        int size;
        int copied;
        const char* text;
    } cases[] = {{64, 5, "Hello"}, {6, 5, "Hello"}, {5, 4, "Hell"}, {1, 0, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        char buf[64];
        std::memset(buf, 'x', sizeof buf);
        EXPECT_EQ(GetWindowText(h, buf, c.size), c.copied);
        EXPECT_STREQ(buf, c.text);
    }
    EXPECT_EQ(GetWindowTextLength(h), 5);
    char byte[2] = {'z', 'z'};
    EXPECT_EQ(GetWindowText(h, byte, 0), 0);
    EXPECT_EQ(byte[0], 'z') << "a zero-sized buffer is not touched";
}

TEST_F(Window, TextGoesThroughTheProcedure)
{
    // A control class keeps its own text; the layer asks the procedure.
    g_handler = [](HWND, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        if (m == WM_GETTEXT) {
            std::strncpy(reinterpret_cast<char*>(l), "own", w);
            return 3;
        }
        return std::nullopt;
    };
    const HWND h = top();
    char buf[16];
    EXPECT_EQ(GetWindowText(h, buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "own");
}

TEST_F(Window, RelationsFollowCreationOrder)
{
    const HWND p = top();
    const HWND a = child(p, 7, 0, 0, 10, 10);
    const HWND b = child(p, 8, 0, 0, 10, 10);
    const HWND c = child(p, 7, 0, 0, 10, 10);
    const HWND a1 = child(a, 9, 0, 0, 5, 5);
    EXPECT_EQ(GetDlgItem(p, 7), a) << "the earliest live child with the id";
    EXPECT_EQ(GetDlgItem(p, 9), 0u) << "only direct children";
    EXPECT_EQ(GetDlgCtrlID(b), 8);
    EXPECT_EQ(GetParent(a1), a);
    EXPECT_EQ(GetWindow(p, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), 0u);
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
    EXPECT_TRUE(IsChild(p, a1));
    EXPECT_FALSE(IsChild(a, b));

    std::vector<HWND> seen;
    EnumChildWindows(
        p,
        [](HWND h, LPARAM l) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{a, a1, b, c}));

    DestroyWindow(a);
    EXPECT_EQ(GetDlgItem(p, 7), c);
    char name[8];
    EXPECT_EQ(GetClassName(p, name, sizeof name), 7);
    EXPECT_STREQ(name, "CoreTes");
}

TEST_F(Window, FindWindowMatchesTitleAndClassIgnoringCase)
{
    const HWND a = CreateWindow(kClass, "App Tutorial", WS_OVERLAPPED, 0, 0, 10, 10, 0, 0, 0, nullptr);
    const HWND b = CreateWindow("PlatWnd", "Other", WS_OVERLAPPED, 0, 0, 10, 10, 0, 0, 0, nullptr);
    child(a, 1, 0, 0, 5, 5);
    EXPECT_EQ(FindWindow(nullptr, "app tutorial"), a) << "hidden windows count";
    EXPECT_EQ(FindWindow("platwnd", nullptr), b);
    EXPECT_EQ(FindWindow("PlatWnd", "App Tutorial"), 0u);
    EXPECT_EQ(FindWindow(nullptr, "App"), 0u) << "the whole title";
}

TEST_F(Window, NonClientPartsShrinkTheClientArea)
{
    const HWND p = top(10, 20, 300, 200);
    struct Case {
        DWORD style, ex;
        RECT client;
        POINT origin; // screen position of client (0, 0)
        const char* why;
    } cases[] = {
        {0, 0, {0, 0, 100, 80}, {15, 25}, "no frame"},
        {WS_BORDER, 0, {0, 0, 98, 78}, {16, 26}, "1-pixel border"},
        {0, WS_EX_CLIENTEDGE, {0, 0, 96, 76}, {17, 27}, "2-pixel sunken edge"},
        {WS_BORDER | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, {0, 0, 78, 58}, {18, 28}, "all, bars inside"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const HWND h = child(p, 1, 5, 5, 100, 80, WS_VISIBLE | c.style, c.ex);
        RECT rc;
        ASSERT_TRUE(GetClientRect(h, &rc));
        EXPECT_EQ(rc.right, c.client.right);
        EXPECT_EQ(rc.bottom, c.client.bottom);
        POINT pt{0, 0};
        ClientToScreen(h, &pt);
        EXPECT_EQ(pt.x, c.origin.x);
        EXPECT_EQ(pt.y, c.origin.y);
        ScreenToClient(h, &pt);
        EXPECT_EQ(pt.x, 0);
        RECT wr;
        GetWindowRect(h, &wr);
        EXPECT_EQ(wr.left, 15);
        EXPECT_EQ(wr.right, 115);
        DestroyWindow(h);
    }
}

TEST_F(Window, SetWindowPosReportsOnlyWhatChanged)
{
    const HWND p = top();
    const HWND h = child(p, 1, 5, 5, 40, 30);
    MessageTracer t;
    ignore_noise(t);
    t.Watch(h);
    struct Case {
        int x, y, cx, cy;
        std::vector<UINT> msgs;
        const char* why;
    } cases[] = {
        {5, 5, 40, 30, {}, "nothing changed"},
        {7, 5, 40, 30, {WM_MOVE}, "moved"},
        {7, 5, 41, 30, {WM_SIZE}, "sized"},
        {0, 0, 10, 10, {WM_MOVE, WM_SIZE}, "both, move first"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        t.clear();
        MoveWindow(h, c.x, c.y, c.cx, c.cy, FALSE);
        EXPECT_EQ(t.messages(), c.msgs);
    }
    t.clear();
    SetWindowPos(h, 0, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_EQ(t.entries().size(), 1u);
    EXPECT_EQ(t.entries()[0], (TraceEntry{h, WM_MOVE, 0, MAKELPARAM(50, 60)}));
}

TEST_F(Window, TopmostIsAnExtendedStyleAndMovesNothing)
{
    const HWND h = top(10, 10, 60, 40);
    MessageTracer t;
    ignore_noise(t);
    t.Watch(h);
    EXPECT_TRUE(SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_NE(GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowVisible(h));
    SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(t.entries().empty());
}

TEST_F(Window, MaximizedFillsTheDesktop)
{
    const HWND h = top(10, 10, 100, 80, WS_OVERLAPPED);
    MessageTracer t;
    ignore_noise(t);
    t.Watch(h);
    ShowWindow(h, SW_SHOWMAXIMIZED);
    const SIZE d = DesktopSize();
    RECT rc;
    GetClientRect(h, &rc);
    EXPECT_EQ(rc.right, d.cx);
    EXPECT_EQ(rc.bottom, d.cy);
    EXPECT_EQ(t.entries(), (std::vector<TraceEntry>{{h, WM_SHOWWINDOW, TRUE, 0},
                                                    {h, WM_MOVE, 0, MAKELPARAM(0, 0)},
                                                    {h, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(d.cx, d.cy)}}));
    t.clear();
    ShowWindow(h, SW_RESTORE);
    GetClientRect(h, &rc);
    EXPECT_EQ(rc.right, 100);
    EXPECT_EQ(t.entries(), (std::vector<TraceEntry>{{h, WM_MOVE, 0, MAKELPARAM(10, 10)},
                                                    {h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 80)}}));
}

TEST_F(Window, MinimizedStaysVisibleAndRestores)
{
    const HWND h = top(10, 10, 100, 80);
    MessageTracer t;
    ignore_noise(t);
    t.Watch(h);
    ShowWindow(h, SW_MINIMIZE);
    EXPECT_TRUE(IsWindowVisible(h));
    ShowWindow(h, SW_RESTORE);
    EXPECT_EQ(t.entries(), (std::vector<TraceEntry>{{h, WM_SIZE, SIZE_MINIMIZED, 0},
                                                    {h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 80)}}));
}

TEST_F(Window, DesktopIsTheConfiguredSize)
{
    const HWND d = GetDesktopWindow();
    EXPECT_TRUE(IsWindow(d));
    const SIZE before = DesktopSize();
    SetDesktopSize(800, 600);
    RECT rc;
    ASSERT_TRUE(GetWindowRect(d, &rc));
    EXPECT_EQ(rc.right, 800);
    EXPECT_EQ(rc.bottom, 600);
    ASSERT_TRUE(GetClientRect(d, &rc));
    EXPECT_EQ(rc.right, 800);
    SetDesktopSize(before.cx, before.cy);
    const HDC dc = GetDC(d);
    EXPECT_NE(dc, 0u);
    ReleaseDC(d, dc);
}

TEST_F(Window, ActivationGivesTheWindowTheKeyboard)
{
    const HWND a = top(0, 0, 50, 50);
    const HWND c = child(a, 1, 0, 0, 10, 10);
    PumpEvents(50);
    SetFocus(c);
    MessageTracer t;
    t.Watch(a);
    t.Watch(c);
    SendMessage(a, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(t.entries(), (std::vector<TraceEntry>{
                               {a, WM_ACTIVATE, WA_ACTIVE, 0}, {c, WM_KILLFOCUS, a, 0}, {a, WM_SETFOCUS, c, 0}}));
    t.clear();
    SendMessage(a, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(GetFocus(), a) << "deactivation moves nothing";
}

TEST_F(Window, ActivationMovesBetweenTopLevelWindows)
{
    const HWND a = top(0, 0, 50, 50);
    const HWND b = top(100, 0, 50, 50);
    PumpEvents(50); // let the window system settle the activations of showing
    SetActiveWindow(a);
    PumpEvents(20);
    ASSERT_EQ(GetActiveWindow(), a);
    MessageTracer t;
    t.Watch(a);
    t.Watch(b);
    SetActiveWindow(b);
    PumpEvents(20);
    EXPECT_EQ(GetActiveWindow(), b);
    // The default activation handling passes the keyboard on.
    EXPECT_EQ(t.entries(), (std::vector<TraceEntry>{{a, WM_ACTIVATE, WA_INACTIVE, b},
                                                    {b, WM_ACTIVATE, WA_ACTIVE, a},
                                                    {a, WM_KILLFOCUS, b, 0},
                                                    {b, WM_SETFOCUS, a, 0}}));
}

TEST_F(Window, ShowHideAndEnableReportChangesOnly)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    MessageTracer t;
    ignore_noise(t);
    t.Watch(h);
    EXPECT_FALSE(ShowWindow(h, SW_SHOW)) << "was hidden";
    EXPECT_TRUE(ShowWindow(h, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(ShowWindow(h, SW_HIDE));
    EXPECT_EQ(t.entries(), (std::vector<TraceEntry>{{h, WM_SHOWWINDOW, TRUE, 0}, {h, WM_SHOWWINDOW, FALSE, 0}}));

    const HWND c = child(h, 1, 0, 0, 10, 10);
    EXPECT_FALSE(IsWindowVisible(c)) << "its parent is hidden";
    EXPECT_FALSE(EnableWindow(c, FALSE));
    EXPECT_FALSE(IsWindowEnabled(c));
    EXPECT_TRUE(EnableWindow(c, TRUE)) << "it was disabled";
    EXPECT_TRUE(IsWindowEnabled(c));
}

TEST_F(Window, LongValuesAndSubclassing)
{
    const HWND h = top();
    EXPECT_EQ(SetWindowLongPtr(h, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongPtr(h, GWLP_USERDATA), 1234);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_STYLE) & WS_VISIBLE, static_cast<LONG_PTR>(WS_VISIBLE));
    const HWND c = child(h, 42, 0, 0, 5, 5);
    EXPECT_EQ(SetWindowLongPtr(c, GWLP_ID, 43), 42);
    EXPECT_EQ(GetDlgItem(h, 43), c);

    static WNDPROC old = nullptr;
    static int seen = 0;
    seen = 0;
    old = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
        h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_USER + 5) {
                ++seen;
                return CallWindowProc(old, w, m, wp, lp) + 1;
            }
            return CallWindowProc(old, w, m, wp, lp);
        })));
    EXPECT_EQ(old, &test_proc);
    g_handler = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER + 5)
            return 10;
        return std::nullopt;
    };
    EXPECT_EQ(SendMessage(h, WM_USER + 5, 0, 0), 11);
    EXPECT_EQ(seen, 1);

    int object = 0;
    SetWindowObject(h, &object);
    EXPECT_EQ(GetWindowObject(h), &object);
}

TEST_F(Window, ClassBrushAndCursorChangeOnlyTheCallingWindow)
{
    const HWND a = top();
    const HWND b = top();
    const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const ULONG_PTR old = SetClassLongPtr(a, GCLP_HBRBACKGROUND, red);
    EXPECT_EQ(old, static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    EXPECT_EQ(GetClassLongPtr(a, GCLP_HBRBACKGROUND), red);
    EXPECT_EQ(GetClassLongPtr(b, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    PumpEvents(10);
    EXPECT_EQ(GetSurfacePixel(a, 3, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetSurfacePixel(b, 3, 3), RGB(255, 255, 255));
    DestroyWindow(a);
    DeleteObject(red);
}

} // namespace

namespace {

class ScrollBars : public CoreTest {};

TEST_F(ScrollBars, ClicksSendScrollMessagesAndTheProgramMovesTheThumb)
{
    const HWND p = top(0, 0, 300, 200);
    const HWND h = child(p, 1, 0, 0, 100, 80, WS_VISIBLE | WS_VSCROLL);
    EXPECT_TRUE(SetScrollRange(h, SB_VERT, 0, 50, TRUE));
    int lo = -1, hi = -1;
    GetScrollRange(h, SB_VERT, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 50);
    EXPECT_EQ(SetScrollPos(h, SB_VERT, 60, TRUE), 0);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 50) << "held inside the range";
    SetScrollPos(h, SB_VERT, 10, TRUE);

    MessageTracer t;
    ignore_noise(t);
    t.Watch(h);
    SimulateScroll(h, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(t.entries(), (std::vector<TraceEntry>{{h, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0},
                                                    {h, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0}}));
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 10) << "nobody moved it";

    g_handler = [](HWND w, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_VSCROLL && LOWORD(wp) == SB_PAGEDOWN)
            SetScrollPos(w, SB_VERT, GetScrollPos(w, SB_VERT) + 5, TRUE);
        return std::nullopt;
    };
    SimulateScroll(h, SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 15);
}

TEST_F(ScrollBars, AnEmptyRangeTakesTheBarAway)
{
    const HWND p = top(0, 0, 300, 200);
    const HWND h = child(p, 1, 0, 0, 100, 80, WS_VISIBLE | WS_VSCROLL);
    RECT rc;
    GetClientRect(h, &rc);
    EXPECT_EQ(rc.right, 84);
    MessageTracer t;
    ignore_noise(t);
    t.Watch(h);
    SetScrollRange(h, SB_VERT, 0, 0, TRUE);
    GetClientRect(h, &rc);
    EXPECT_EQ(rc.right, 100);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(t.entries(), (std::vector<TraceEntry>{{h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 80)}}));
    SetScrollRange(h, SB_VERT, 0, 10, TRUE);
    GetClientRect(h, &rc);
    EXPECT_EQ(rc.right, 84);
}

} // namespace

namespace {

class HandleReuse : public CoreTest {
protected:
    void TearDown() override
    {
        CoreTest::TearDown();
        SetNextWindowIdForTest(saved_);
    }
    WORD saved_ = SetNextWindowIdForTest(0xFFFD);
};

TEST_F(HandleReuse, OldestFreedIdComesBackFirstAndStalePostsAreDropped)
{
    const HWND a = top(0, 0, 10, 10, WS_OVERLAPPED);
    const HWND b = top(0, 0, 10, 10, WS_OVERLAPPED);
    EXPECT_EQ(a, 0xFFFDu);
    EXPECT_EQ(b, 0xFFFEu);
    std::vector<std::pair<HWND, WPARAM>> got;
    g_handler = [&](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER)
            got.emplace_back(h, w);
        return std::nullopt;
    };
    PostMessage(a, WM_USER, 1, 0);
    DestroyWindow(a);
    DestroyWindow(b);
    // Every id is taken now but these two; a went first.
    const HWND c = top(0, 0, 10, 10, WS_OVERLAPPED);
    const HWND d = top(0, 0, 10, 10, WS_OVERLAPPED);
    EXPECT_EQ(c, a);
    EXPECT_EQ(d, b);
    PostMessage(c, WM_USER, 2, 0);
    PumpEvents(10);
    EXPECT_EQ(got, (std::vector<std::pair<HWND, WPARAM>>{{c, 2}})) << "the post to the old window stays dead";
}

} // namespace
