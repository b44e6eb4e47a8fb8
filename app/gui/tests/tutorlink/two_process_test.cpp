// The simulator and the real tutorial player, two programs over the layer's
// link: this test process is the simulator (the link's host) and starts
// steplay32 with a small tutorial. The start waits for the player to be
// ready, the player's nested calls are served while the start's send waits,
// its hand-over comes after that send, the resume holds the next command
// 250 ms, and each way of ending the player is seen as the Parts want.
#include "two_process.h"
#include "appgui/tutor.h"
#include "appgui/vorn_gui.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/link.h"
#include "plat/loop.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <signal.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace plat;
using namespace two_process;
namespace fs = std::filesystem;

namespace {

// What reaches the simulator's frame from the player, and when.
struct Request {
    WPARAM code;
    Clock::time_point at;
};
std::vector<Request> g_requests;
WNDPROC g_frameProc = nullptr;
LRESULT frame_spy(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TUTOR_REQUEST)
        g_requests.push_back({wp, Clock::now()});
    return CallWindowProc(g_frameProc, h, msg, wp, lp);
}

int count_requests(WPARAM code)
{
    int n = 0;
    for (const Request& r : g_requests)
        n += r.code == code ? 1 : 0;
    return n;
}

LRESULT target_proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); }

class TwoProcesses : public Simulator {
protected:
    static void SetUpTestSuite()
    {
        linkDir = join_link_as_host("vorn-e9-link");
        ASSERT_FALSE(linkDir.empty());
        register_vorn_resources();
        WNDCLASS wc;
        wc.lpfnWndProc = target_proc;
        wc.lpszClassName = "E9Target";
        RegisterClass(&wc);
    }
    static void TearDownTestSuite()
    {
        leave_link(linkDir);
    }

    void SetUp() override
    {
        const fs::path dir = vorn_test::sample_work_folder("appgui-work", "e9-");
        // The player runs a CloseWindow (its FindWindow is served while the
        // start's send waits), hands over CloseCurrentWindow, then shows text.
        std::ofstream(dir / "e9.cmd") << "[CloseWindow]\nE9 Target\n[CloseCurrentWindow]\n[ShowText]\ndone\n";
        g_requests.clear();
        ASSERT_NO_FATAL_FAILURE(start_in(dir.string()));
        g_frameProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(frame->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frame_spy)));
        ASSERT_NO_FATAL_FAILURE(open_sample());
        target = CreateWindow("E9Target", "E9 Target", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, 0, 0, 0, nullptr);
    }

    HWND start()
    {
        const HWND player = StartTutorial(frame->m_hWnd, "VORNS Tutorial - e9.cmd", "e9.cmd");
        EXPECT_NE(player, 0u) << "found at once: the start waited for it to be ready";
        return player;
    }

    static inline std::string linkDir;
    HWND target = 0;
};

} // namespace

TEST_F(TwoProcesses, HandShakeHandOverResumeAndExit)
{
    const HWND player = start();
    ASSERT_NE(player, 0u);
    EXPECT_NE(HIWORD(player), 0) << "another program's window";
    char title[64] = {};
    SendMessage(player, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title));
    EXPECT_STREQ(title, "VORNS Tutorial - e9.cmd");
    // The send has returned: the CloseWindow ran inside it, the hand-over
    // request is queued behind it.
    EXPECT_TRUE(g_requests.empty());
    ASSERT_TRUE(pump_until([&] { return !IsWindow(target); })) << "CloseWindow reached our window";

    ASSERT_TRUE(pump_until([] { return count_requests(TUTOR_REQUEST_EXECUTE) == 1; }));
    const Clock::time_point resumed = g_requests[0].at; // its handler resumes at once
    EXPECT_EQ(GetTutorPendingCode(), 0) << "code 16 carried out and resumed";
    Clock::time_point shown{};
    ASSERT_TRUE(pump_until([&] {
        if (player_text(player).rfind("done", 0) == 0) {
            shown = Clock::now();
            return true;
        }
        return false;
    }));
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(shown - resumed).count(), 250);

    // Exit: exactly one closing notice; the player forgotten, the session
    // closed once.
    SendMessage(player, WM_COMMAND, MAKEWPARAM(kPlayerExit, BN_CLICKED), 0);
    ASSERT_TRUE(pump_until([] { return count_requests(TUTOR_REQUEST_CLOSED) >= 1; }));
    pump_until([] { return false; }, 300);
    EXPECT_EQ(count_requests(TUTOR_REQUEST_CLOSED), 1);
    EXPECT_EQ(GetTutorWindow(), 0u);
    view->SyncSession();
    EXPECT_EQ(view->session(), nullptr);
    EXPECT_TRUE(pump_until([&] { return !IsWindow(player); }));
}

TEST_F(TwoProcesses, QuitEndsThePlayerWithoutANotice)
{
    const HWND player = start();
    ASSERT_NE(player, 0u);
    CloseTutorial();
    ASSERT_TRUE(pump_until([&] { return !IsWindow(player); }));
    pump_until([] { return false; }, 300);
    EXPECT_EQ(count_requests(TUTOR_REQUEST_CLOSED), 0);
    view->SyncSession();
    EXPECT_NE(view->session(), nullptr);
}

TEST_F(TwoProcesses, KilledPlayerIsForgottenAndTheSessionStays)
{
    const HWND player = start();
    ASSERT_NE(player, 0u);
    const std::string lock = linkDir + "/" + std::to_string(HIWORD(player)) + ".lock";
    FILE* p = popen(("fuser " + lock + " 2>/dev/null").c_str(), "r");
    ASSERT_NE(p, nullptr);
    int pid = 0;
    ASSERT_EQ(fscanf(p, "%d", &pid), 1);
    pclose(p);
    ASSERT_GT(pid, 0);
    ASSERT_NE(pid, getpid());
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    ASSERT_TRUE(pump_until([] { return GetTutorWindow() == 0; }));
    view->SyncSession();
    EXPECT_NE(view->session(), nullptr);
    EXPECT_EQ(count_requests(TUTOR_REQUEST_CLOSED), 0);
}
