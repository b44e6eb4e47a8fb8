// Two programs over the link: this test process is the host (tag 0) and
// starts link_peer, a guest. Start waits for readiness, handles cross with
// 16 bits, a send whose handler sends back is served, posts made during a
// send wait come after it, posts before the peer's end arrive, text moves
// both ways, popups answer, and a peer that quits or is killed stops being
// a window.
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/link.h"
#include "plat/loop.h"
#include "plat/module.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <signal.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace plat;

namespace {

constexpr UINT kControl = 0x61E;
constexpr UINT kRequest = 0x61F;

std::vector<WPARAM> g_requests;
std::vector<UINT> g_editNotices;

LRESULT host_proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == kRequest) {
        g_requests.push_back(w);
        return 0;
    }
    if (m == WM_COMMAND && LOWORD(w) == 20) {
        g_editNotices.push_back(HIWORD(w));
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

// Runs the queue until the condition holds or five seconds pass.
bool pump_until(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
        MSG m;
        while (PeekMessage(&m, 0, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

class LinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A group of this test process alone.
        char dir[] = "/tmp/plat-link-test-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        setenv("PLAT_LINK_DIR", dir, 1);
        InitGui();
        ASSERT_TRUE(JoinLink(LinkRole::Host));
        ASSERT_EQ(GetProcessTag(), 0);
        SetLinkReplyTimeout(20000); // a hang fails instead of blocking the run
        DeclareLinkedProgram("LINK_PEER.EXE");
        WNDCLASS wc;
        wc.lpfnWndProc = host_proc;
        wc.lpszClassName = "LinkHostWnd";
        RegisterClass(&wc);
    }

    static void TearDownTestSuite()
    {
        const std::string dir = getenv("PLAT_LINK_DIR");
        LeaveLink();
        // A killed peer leaves its lock and socket behind.
        std::filesystem::remove_all(dir);
    }

    void SetUp() override
    {
        g_requests.clear();
        g_editNotices.clear();
        m_host = CreateWindow("LinkHostWnd", "Link Host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, 0, 0, 0, nullptr);
        m_edit = CreateWindow("EDIT", "", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, m_host, static_cast<HMENU>(20), 0,
                              nullptr);
        ASSERT_LT(m_host, 0x10000u);
    }

    void TearDown() override
    {
        if (m_peer && IsWindow(m_peer)) {
            PostMessage(m_peer, WM_QUIT, 0, 0);
            pump_until([&] { return !IsWindow(m_peer); });
        }
        DestroyWindow(m_host);
    }

    // Starts the peer; its frame, found at once.
    HWND start_peer()
    {
        EXPECT_EQ(WinExec("Link_Peer.EXE", SW_SHOWNORMAL), 33u);
        m_peer = FindWindow(nullptr, "link peer"); // the whole title, ignoring case
        return m_peer;
    }

    HWND m_host = 0;
    HWND m_edit = 0;
    HWND m_peer = 0;
};

} // namespace

TEST_F(LinkTest, StartHandShakeAndNestedSend)
{
    const HWND peer = start_peer();
    ASSERT_NE(peer, 0u);
    EXPECT_EQ(HIWORD(peer), 1); // the first guest
    EXPECT_TRUE(IsWindow(peer));
    EXPECT_EQ(FindWindow(nullptr, "Link Peer Plain") >> 16, 1u);
    EXPECT_EQ(FindWindow(nullptr, "Link Pee"), 0u); // no part of a title

    // The peer's handler sets the host's edit (a send back, served while
    // this send waits) and posts its request, which must wait for the loop.
    EXPECT_EQ(SendMessage(peer, kControl, 1, LOWORD(m_host)), 7);
    char text[64] = {};
    GetWindowText(m_edit, text, sizeof text);
    EXPECT_STREQ(text, "set by the peer");
    EXPECT_EQ(g_editNotices, std::vector<UINT>{EN_CHANGE});
    EXPECT_TRUE(g_requests.empty());
    ASSERT_TRUE(pump_until([] { return !g_requests.empty(); }));
    EXPECT_EQ(g_requests, std::vector<WPARAM>{1});

    EXPECT_EQ(SendMessage(peer, WM_USER + 5, 21, 0), 42);
}

TEST_F(LinkTest, TextChildrenAndWindowOperations)
{
    const HWND peer = start_peer();
    ASSERT_NE(peer, 0u);
    EXPECT_TRUE(SetWindowText(peer, "App Tutorial"));
    EXPECT_EQ(FindWindow(nullptr, "App Tutorial"), peer);

    const HWND edit = GetDlgItem(peer, 10);
    ASSERT_NE(edit, 0u);
    EXPECT_EQ(HIWORD(edit), HIWORD(peer));
    EXPECT_EQ(GetDlgItem(peer, 99), 0u);
    SendMessage(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("twenty-five"));
    char buf[8] = {};
    // The answer comes back into this program's buffer, cut to its size.
    EXPECT_EQ(SendMessage(edit, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf)), 7);
    EXPECT_STREQ(buf, "twenty-");
    // A pointer the link cannot copy is refused.
    EXPECT_EQ(SendMessage(edit, CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>("x")), 0);

    EXPECT_TRUE(ShowWindow(peer, SW_HIDE));
    EXPECT_EQ(FindWindow(nullptr, "App Tutorial"), peer); // hidden ones are found too
    EXPECT_TRUE(SetWindowPos(peer, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_FALSE(SetWindowPos(peer, 0, 5, 5, 10, 10, SWP_NOZORDER));
}

TEST_F(LinkTest, MenuPopupAnswers)
{
    const HWND peer = start_peer();
    ASSERT_NE(peer, 0u);
    EXPECT_EQ(ShowMenuBarPopup(FindWindow(nullptr, "Link Peer Plain"), 0, -1, -1), LinkPopupResult::NoMenu);
    EXPECT_EQ(ShowMenuBarPopup(peer, 3, -1, -1), LinkPopupResult::NoPopup);
    EXPECT_EQ(ShowMenuBarPopup(peer, 0, 40, 40), LinkPopupResult::Shown);
    // The popup is open in the peer now; the peer still answers (its own
    // menu loop serves the link through the event loop).
    EXPECT_EQ(SendMessage(peer, WM_USER + 5, 2, 0), 4);
}

TEST_F(LinkTest, PostsBeforeTheEndArriveAndTheEndIsSeen)
{
    const HWND peer = start_peer();
    ASSERT_NE(peer, 0u);
    PostMessage(peer, kControl, 3, LOWORD(m_host));
    ASSERT_TRUE(pump_until([] { return g_requests.size() == 3; }));
    EXPECT_EQ(g_requests, (std::vector<WPARAM>{10, 11, 12}));
    EXPECT_TRUE(pump_until([&] { return !IsWindow(peer); }));
    EXPECT_EQ(SendMessage(peer, WM_USER + 5, 1, 0), 0);
    EXPECT_FALSE(PostMessage(peer, WM_USER + 5, 1, 0));
}

TEST_F(LinkTest, QuitEndsThePeerAndAKilledPeerIsNoWindow)
{
    HWND peer = start_peer();
    ASSERT_NE(peer, 0u);
    EXPECT_TRUE(PostMessage(peer, WM_QUIT, 0, 0));
    EXPECT_TRUE(pump_until([&] { return !IsWindow(peer); }));
    m_peer = 0;

    peer = start_peer();
    ASSERT_NE(peer, 0u);
    EXPECT_EQ(HIWORD(peer), 1); // the tag is free again
    // Its process: the one holding tag 1's lock; found through pgrep would be
    // broad, so by the handle's owner answering at all.
    ASSERT_TRUE(IsWindow(peer));
    const std::string pidOf = "fuser " + std::string(getenv("PLAT_LINK_DIR")) + "/1.lock 2>/dev/null";
    FILE* p = popen(pidOf.c_str(), "r");
    ASSERT_NE(p, nullptr);
    int pid = 0;
    ASSERT_EQ(fscanf(p, "%d", &pid), 1);
    pclose(p);
    ASSERT_GT(pid, 0);
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    EXPECT_TRUE(pump_until([&] { return !IsWindow(peer); }));
    EXPECT_EQ(SendMessage(peer, WM_USER + 5, 1, 0), 0);
    EXPECT_EQ(FindWindow(nullptr, "Link Peer"), 0u);
    m_peer = 0;
}
