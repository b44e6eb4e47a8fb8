// The outermost loop, its idle pump, modal loops and exceptions leaving them.
#include "core_fixture.h"
#include "plat/modal.h"
#include "plat/testing.h"
#include "plat/uihost.h"
#include <stdexcept>

using namespace coretest;

namespace {

class Loop : public CoreTest {};

TEST_F(Loop, IdleCountsUpAndStartsAgainAfterAMessage)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    std::vector<std::string> log;
    g_handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER)
            log.push_back("msg");
        return std::nullopt;
    };
    SetIdleHandler([&](LONG count) -> BOOL {
        log.push_back(std::to_string(count));
        if (log.size() == 3) {
            PostMessage(h, WM_USER, 0, 0);
            return TRUE;
        }
        if (log.size() == 7) {
            PostQuitMessage(7);
            return FALSE;
        }
        return TRUE;
    });
    EXPECT_EQ(RunMessageLoop(), 7);
    // The third call posts; the message goes before any further idle call,
    // which counts from 0 again.
    EXPECT_EQ(log, (std::vector<std::string>{"0", "1", "2", "msg", "0", "1", "2"}));
}

TEST_F(Loop, IdleReturningFalseWaitsForTheNextMessage)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    int idles = 0;
    int timers = 0;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_TIMER && ++timers == 3) {
            KillTimer(w, 1);
            PostQuitMessage(0);
        }
        return std::nullopt;
    };
    SetIdleHandler([&](LONG) -> BOOL {
        ++idles;
        return FALSE;
    });
    SetTimer(h, 1, 20, nullptr);
    RunMessageLoop();
    // One call at the start and one after each of the first two timer
    // messages; the third ends the loop.
    EXPECT_GE(idles, 3);
    EXPECT_LE(idles, 4);
}

TEST_F(Loop, NoIdleCallInsideAModalLoopOrInsideItself)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    int inside = 0;
    int calls = 0;
    int depthSeen = -1;
    bool done = false;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_TIMER) {
            KillTimer(w, 1);
            done = true;
        }
        return std::nullopt;
    };
    SetIdleHandler([&](LONG) -> BOOL {
        ++calls;
        EXPECT_EQ(inside, 0) << "idle re-entered";
        ++inside;
        if (calls == 1) {
            // A tick that opens a dialog: the dialog runs without ticks.
            SetTimer(h, 1, 50, nullptr);
            depthSeen = ModalDepth();
            RunModalLoop(done);
        } else {
            PostQuitMessage(0);
        }
        --inside;
        return calls == 1;
    });
    RunMessageLoop();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(depthSeen, 0);
}

TEST_F(Loop, NoIdleWhileAnyModalScopeIsOpen)
{
    int calls = 0;
    SetIdleHandler([&](LONG) -> BOOL {
        ++calls;
        return TRUE;
    });
    const UINT_PTR quit = SetTimer(0, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    {
        ModalScope box; // a box some other part of the program holds open
        RunMessageLoop();
    }
    KillTimer(0, quit);
    EXPECT_EQ(calls, 0);
}

TEST_F(Loop, NoIdleInsideAHandlerThatPumpsEvents)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    int calls = 0;
    int callsDuringHandler = -1;
    g_handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) {
            const int before = calls;
            PumpEvents(50);
            callsDuringHandler = calls - before;
            PostQuitMessage(0);
        }
        return std::nullopt;
    };
    SetIdleHandler([&](LONG) -> BOOL {
        if (++calls == 1)
            PostMessage(h, WM_USER, 0, 0);
        return TRUE;
    });
    RunMessageLoop();
    EXPECT_EQ(callsDuringHandler, 0);
}

bool g_rescued = false;

TEST_F(Loop, BoxInsideATickDoesNotStallThePump)
{
    int calls = 0;
    SetIdleHandler([&](LONG) -> BOOL {
        if (++calls == 1) {
            ModalScope box; // what a message box in a tick does
            PumpEvents(30);
            return TRUE;
        }
        PostQuitMessage(0);
        return FALSE;
    });
    // Only if the pump stalled would this timer's message be what wakes it.
    g_rescued = false;
    const UINT_PTR rescue = SetTimer(0, 0, 1000, [](HWND, UINT, UINT_PTR, DWORD) {
        g_rescued = true;
        PostQuitMessage(0);
    });
    RunMessageLoop();
    KillTimer(0, rescue);
    EXPECT_FALSE(g_rescued);
    EXPECT_EQ(calls, 2);
}

TEST_F(Loop, QuitInsideAModalLoopEndsItAndTheOuterLoop)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    BOOL modalResult = TRUE;
    bool done = false;
    g_handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) {
            PostQuitMessage(5);
            modalResult = RunModalLoop(done);
        }
        return std::nullopt;
    };
    PostMessage(h, WM_USER, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 5);
    EXPECT_FALSE(modalResult);
}

TEST_F(Loop, ModalLoopReturnsAtOnceWhenAlreadyDone)
{
    bool done = true;
    EXPECT_TRUE(RunModalLoop(done));
    EXPECT_EQ(ModalDepth(), 0);
}

// A handler's exception (a test host's answer to an unscripted box, say)
// must not cross Qt's frames: every loop ends and the test's own call to
// the layer throws it.
TEST_F(Loop, ExceptionFromAHandlerLeavesEveryLoop)
{
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    bool done = false;
    bool modalReturned = false;
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) {
            PostMessage(w, WM_USER + 1, 0, 0);
            try {
                RunModalLoop(done);
            } catch (...) {
                modalReturned = true;
                throw;
            }
        } else if (m == WM_USER + 1) {
            throw std::runtime_error("from a handler");
        }
        return std::nullopt;
    };
    PostMessage(h, WM_USER, 0, 0);
    EXPECT_THROW(RunMessageLoop(), std::runtime_error);
    EXPECT_TRUE(modalReturned) << "the modal loop rethrew on its way out";
    EXPECT_FALSE(IsMessageLoopRunning());
    EXPECT_EQ(ModalDepth(), 0);
    // And the layer works afterwards.
    PostMessage(h, WM_USER + 2, 0, 0);
    PumpEvents(10);
}

TEST_F(Loop, UnscriptedBoxFromATimerReachesTheTest)
{
    ScriptedHost host;
    const HWND h = top(0, 0, 50, 50, WS_OVERLAPPED);
    g_handler = [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_TIMER) {
            KillTimer(w, 1);
            MessageBox(w, "Unexpected", "Box", MB_OK);
        }
        return std::nullopt;
    };
    SetTimer(h, 1, 10, nullptr);
    EXPECT_THROW(PumpEvents(200), UnexpectedBox);
}

TEST_F(Loop, ExitRequestFromIdleEndsTheLoop)
{
    ScriptedHost host;
    SetIdleHandler([](LONG) -> BOOL { crt_exit(3); });
    try {
        RunMessageLoop();
        ADD_FAILURE() << "no exit";
    } catch (const ExitRequest& e) {
        EXPECT_EQ(e.code, 3);
    }
    ASSERT_EQ(host.exits().size(), 1u);
    EXPECT_FALSE(IsMessageLoopRunning());
}

TEST_F(Loop, SecondOuterLoopIsRefused)
{
    int nested = 0;
    SetIdleHandler([&](LONG) -> BOOL {
        nested = RunMessageLoop();
        PostQuitMessage(0);
        return FALSE;
    });
    RunMessageLoop();
    EXPECT_EQ(nested, -1);
}

} // namespace

namespace {

class Cleanup : public CoreTest {};

TEST_F(Cleanup, ResetAfterAHandlerThrewMidwayThroughDestruction)
{
    const HWND p = top(0, 0, 50, 50);
    const HWND c = child(p, 1, 0, 0, 10, 10);
    g_handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_DESTROY && h == c)
            throw std::runtime_error("in WM_DESTROY");
        return std::nullopt;
    };
    EXPECT_THROW(DestroyWindow(p), std::runtime_error);
    g_handler = nullptr;
    ResetWindowsForTest();
    EXPECT_FALSE(IsWindow(p));
    EXPECT_FALSE(IsWindow(c));
    EXPECT_EQ(FindWindow(nullptr, "Test"), 0u);
}

} // namespace
