// Sent and posted messages, subclassing, timers.
#include "core_fixture.h"
#include "plat/modal.h"

using namespace coretest;

namespace {

class Messages : public CoreTest {};

TEST_F(Messages, SendNestsAndPostsWaitForTheLoop)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    std::vector<std::string> log;
    g_handler = [&](HWND w, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m < WM_USER)
            return std::nullopt;
        log.push_back("in " + std::to_string(m - WM_USER) + ":" + std::to_string(wp));
        if (m == WM_USER + 1) {
            PostMessage(w, WM_USER + 10, 1, 0);
            EXPECT_EQ(SendMessage(w, WM_USER + 2, 0, 0), 22);
            PostMessage(w, WM_USER + 10, 2, 0);
        } else if (m == WM_USER + 2) {
            PostMessage(w, WM_USER + 11, 0, 0);
            log.push_back("out 2");
            return 22;
        }
        log.push_back("out " + std::to_string(m - WM_USER));
        return 0;
    };
    SendMessage(h, WM_USER + 1, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"in 1:0", "in 2:0", "out 2", "out 1"}));
    log.clear();
    PumpEvents(10);
    EXPECT_EQ(log, (std::vector<std::string>{"in 10:1", "out 10", "in 11:0", "out 11", "in 10:2", "out 10"}))
        << "posts arrive in posting order, after the handler that posted them";
}

TEST_F(Messages, PostsToAWindowThatDiedAreDropped)
{
    const HWND a = top(0, 0, 50, 50, WS_OVERLAPPED);
    const HWND b = top(0, 0, 50, 50, WS_OVERLAPPED);
    std::vector<HWND> got;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER)
            got.push_back(w);
        return std::nullopt;
    };
    PostMessage(a, WM_USER, 0, 0);
    PostMessage(b, WM_USER, 0, 0);
    DestroyWindow(a);
    PumpEvents(10);
    EXPECT_EQ(got, (std::vector<HWND>{b}));
}

TEST_F(Messages, PeekAndDispatchTakeFromTheSameQueue)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    std::vector<WPARAM> got;
    g_handler = [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER)
            got.push_back(wp);
        return std::nullopt;
    };
    PostMessage(h, WM_USER, 1, 0);
    PostMessage(h, WM_USER + 1, 2, 0);
    PostMessage(h, WM_USER, 3, 0);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, 0, WM_USER + 1, WM_USER + 1, PM_NOREMOVE | PM_NOYIELD));
    EXPECT_EQ(m.wParam, 2u);
    ASSERT_TRUE(PeekMessage(&m, h, 0, 0, PM_REMOVE | PM_NOYIELD));
    EXPECT_EQ(m.wParam, 1u) << "oldest first";
    DispatchMessage(&m);
    PumpEvents(10);
    EXPECT_EQ(got, (std::vector<WPARAM>{1, 3}));
    EXPECT_FALSE(PeekMessage(&m, 0, 0, 0, PM_REMOVE | PM_NOYIELD));
}

TEST_F(Messages, QuitWaitsBehindQueuedPosts)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    PostQuitMessage(3);
    PostMessage(h, WM_USER, 0, 0);
    MSG m;
    ASSERT_TRUE(GetMessage(&m, 0, 0, 0));
    EXPECT_EQ(m.message, WM_USER);
    EXPECT_FALSE(GetMessage(&m, 0, 0, 0));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
}

// The chart library's way: take over a window, keep WM_PAINT, pass the rest.
WNDPROC g_old = nullptr;
int g_paints = 0;
LRESULT swallow_paint(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_PAINT) {
        ++g_paints;
        return 0;
    }
    return CallWindowProc(g_old, h, m, w, l);
}

TEST_F(Messages, SubclassSwallowingPaintStillPassesTheRest)
{
    const HWND h = top(0, 0, 60, 40);
    PumpEvents(10);
    std::vector<UINT> below;
    g_handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        below.push_back(m);
        if (m == WM_USER)
            return 77;
        return std::nullopt;
    };
    g_paints = 0;
    g_old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(swallow_paint)));
    InvalidateRect(h, nullptr, TRUE);
    PumpEvents(20);
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 77) << "the old procedure's answer comes back";
    EXPECT_EQ(below, (std::vector<UINT>{WM_USER})) << "no paint nor erase below the subclass";
    RECT rc;
    EXPECT_FALSE(GetUpdateRect(h, &rc, FALSE)) << "validated although BeginPaint never ran";
    PumpEvents(20);
    EXPECT_EQ(g_paints, 1) << "and not asked again";
    SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_old));
}

TEST_F(Messages, TimerFiresRestartsAndStops)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    std::vector<WPARAM> ticks;
    g_handler = [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_TIMER)
            ticks.push_back(wp);
        return std::nullopt;
    };
    EXPECT_EQ(SetTimer(h, 5, 30, nullptr), 5u);
    PumpEvents(200);
    EXPECT_GE(ticks.size(), 3u);
    EXPECT_EQ(ticks.front(), 5u);

    // Setting it again restarts the interval: a 300-ms timer re-set after
    // 200 ms has not fired at 400 ms.
    EXPECT_TRUE(KillTimer(h, 5));
    EXPECT_FALSE(KillTimer(h, 5));
    ticks.clear();
    SetTimer(h, 6, 300, nullptr);
    PumpEvents(200);
    SetTimer(h, 6, 300, nullptr);
    PumpEvents(200);
    EXPECT_TRUE(ticks.empty());
    PumpEvents(250);
    EXPECT_EQ(ticks, (std::vector<WPARAM>{6}));

    KillTimer(h, 6);
    ticks.clear();
    PumpEvents(350);
    EXPECT_TRUE(ticks.empty());
}

TEST_F(Messages, TimerDiesWithItsWindow)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    int ticks = 0;
    g_handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        ticks += m == WM_TIMER;
        return std::nullopt;
    };
    SetTimer(h, 1, 10, nullptr);
    DestroyWindow(h);
    PumpEvents(60);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(KillTimer(h, 1));
}

TEST_F(Messages, TimerProcAndThreadTimers)
{
    static std::vector<std::pair<HWND, UINT_PTR>> calls;
    calls.clear();
    const TIMERPROC proc = [](HWND h, UINT m, UINT_PTR id, DWORD) {
        EXPECT_EQ(m, WM_TIMER);
        calls.emplace_back(h, id);
        KillTimer(h, id);
    };
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    SetTimer(h, 9, 10, proc);
    const UINT_PTR id = SetTimer(0, 0, 10, proc);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(SetTimer(0, 0, 10, nullptr), 0u) << "a thread timer needs a procedure";
    PumpEvents(100);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE((calls[0] == std::pair<HWND, UINT_PTR>{h, 9} && calls[1] == std::pair<HWND, UINT_PTR>{0, id}) ||
                (calls[1] == std::pair<HWND, UINT_PTR>{h, 9} && calls[0] == std::pair<HWND, UINT_PTR>{0, id}));
}

TEST_F(Messages, TimersAndPostsRunInsideAModalLoop)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    bool done = false;
    int ticks = 0;
    int posts = 0;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_TIMER && ++ticks == 3) {
            PostMessage(w, WM_USER, 0, 0);
        } else if (m == WM_USER) {
            ++posts;
            EXPECT_EQ(ModalDepth(), 1);
            done = true;
        }
        return std::nullopt;
    };
    SetTimer(h, 1, 10, nullptr);
    EXPECT_TRUE(RunModalLoop(done));
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(ModalDepth(), 0);
}

} // namespace
