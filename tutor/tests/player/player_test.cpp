// The player's frame, headless, in the test's own process: a stand-in
// simulator window records what the player posts, the frame is driven by
// the simulator's messages, button clicks and its menu keys.
#include "plat/commctl.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "steplay/player.h"
#include "support/tutor_test_support.h"
#include "uikit/uikit.h"
#include <chrono>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace plat;
using tutortest::TempDir;

namespace {

// A top-level window standing for the simulator's main window.
struct FakeSimulator {
    struct Got {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        std::chrono::steady_clock::time_point at;
    };
    HWND hwnd = 0;
    std::vector<Got> got;
    bool quit_on_request = false;

    FakeSimulator()
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc;
            wc.lpfnWndProc = &FakeSimulator::proc;
            wc.lpszClassName = "FakeSimulatorFrame";
            registered = RegisterClass(&wc) != 0;
        }
        hwnd = CreateWindow("FakeSimulatorFrame", "VORNS Application", WS_OVERLAPPED, 0, 0, 300, 200, 0, 0, 0,
                            nullptr);
        SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~FakeSimulator()
    {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    std::vector<std::pair<UINT, WPARAM>> messages() const
    {
        std::vector<std::pair<UINT, WPARAM>> out;
        for (const Got& g : got)
            out.emplace_back(g.msg, g.wParam);
        return out;
    }
    static LRESULT proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<FakeSimulator*>(GetWindowLongPtr(h, GWLP_USERDATA));
        if (self != nullptr && (msg == WM_TUTOR_REQUEST || msg == WM_COMMAND)) {
            self->got.push_back({msg, wp, lp, std::chrono::steady_clock::now()});
            if (self->quit_on_request && msg == WM_TUTOR_REQUEST)
                PostQuitMessage(0);
            return 0;
        }
        return DefWindowProc(h, msg, wp, lp);
    }
};

void pump()
{
    MSG msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

void timeout_quit(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    PostQuitMessage(1);
}
// The layer's loop until something quits it; 1 when the time ran out.
int run_loop(UINT ms)
{
    const UINT_PTR guard = SetTimer(0, 0, ms, timeout_quit);
    const int code = RunMessageLoop();
    KillTimer(0, guard);
    return code;
}

RECT window_rect(HWND h)
{
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

std::vector<long> xywh(const RECT& r)
{
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Child rectangle in the parent's client coordinates.
std::vector<long> child_xywh(HWND parent, int id)
{
    const HWND c = GetDlgItem(parent, id);
    if (c == 0)
        return {};
    RECT r = window_rect(c);
    POINT tl{r.left, r.top};
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    return {tl.x - origin.x, tl.y - origin.y, r.right - r.left, r.bottom - r.top};
}

std::string text_of(HWND h)
{
    char buf[2048] = {};
    GetWindowText(h, buf, sizeof buf);
    return buf;
}

DecisionMenu sample_menu()
{
    DecisionMenu m;
    m.title = "Decisions";
    m.close_caption = "&Close";
    m.actions_label = "Actions";
    m.policies_label = "Policies";
    m.groups[0].name = "Marketing";
    m.groups[1].name = "Production";
    m.groups[1].policies = {{"&Release policy", 501}};
    m.groups[2].name = "Purchasing";
    m.groups[2].actions = {{"&Order", 401}, {"&Packages", 402}, {"&Suppliers", 403}};
    m.groups[2].policies = {{"&Material parameters", 501}, {"&Purchasing policy", 502}};
    return m;
}

class PlayerFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        register_steplay_resources();
    }
    void SetUp() override
    {
        char cwd[4096] = {};
        previous = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";
        ASSERT_EQ(chdir(dir.path.c_str()), 0);
        app = std::make_unique<CSteplayApp>();
        ClipCursor(nullptr);
    }
    void TearDown() override
    {
        if (frame != nullptr && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        frame.reset();
        pump();
        app.reset();
        ClipCursor(nullptr);
        EXPECT_EQ(chdir(previous.c_str()), 0);
    }
    void open(const std::string& commandLine)
    {
        frame = std::make_unique<CMainFrame>(commandLine);
        frame->m_bAutoDelete = false;
        ASSERT_TRUE(frame->LoadFrame(IDR_STEPLAY));
        frame->drop_menu();
        frame->ShowWindow(SW_SHOW);
        pump();
    }
    HWND player() const { return frame->m_hWnd; }
    void start(const FakeSimulator& sim)
    {
        SendMessage(player(), WM_TUTOR_CONTROL, TUTOR_CONTROL_START, static_cast<LPARAM>(LOWORD(sim.hwnd)));
    }
    void click(int id) { SendMessage(GetDlgItem(player(), id), BM_CLICK, 0, 0); }
    std::string png(const char* name) const
    {
        const std::string path = std::string(VORN_BINARY_DIR) + "/tutor-pictures/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return path;
    }

    TempDir dir;
    std::string previous;
    std::unique_ptr<CSteplayApp> app;
    std::unique_ptr<CMainFrame> frame;
    ScriptedHost host;
};

// Ends the loop once the watched frame's playback has passed its third
// command.
CMainFrame* g_watched = nullptr;
void watch_tick(HWND, UINT, uintptr_t, DWORD)
{
    if (g_watched != nullptr && g_watched->playback().current() >= 3)
        PostQuitMessage(0);
}

int count_requests(const FakeSimulator& sim, WPARAM which)
{
    int n = 0;
    for (const auto& g : sim.got)
        n += g.msg == WM_TUTOR_REQUEST && g.wParam == which ? 1 : 0;
    return n;
}

} // namespace

TEST_F(PlayerFrame, BrowserLayoutAndTree)
{
    ASSERT_TRUE(write_decision_menu_file(DECISION_MENU_FILE, sample_menu()));
    open("");
    ASSERT_TRUE(frame->browser_mode());
    EXPECT_EQ(xywh(window_rect(player())), (std::vector<long>{5, 140, 215, 470}));
    EXPECT_NE(GetDlgItem(player(), IDC_DECISION_TREE), 0u);
    EXPECT_EQ(GetDlgItem(player(), ID_TUTOR_CONTINUE), 0u);
    EXPECT_EQ(GetDlgItem(player(), IDC_TUTOR_TEXT), 0u);
    EXPECT_EQ(text_of(GetDlgItem(player(), ID_TUTOR_CLOSE)), "&Close");
    RECT client{};
    GetClientRect(player(), &client);
    EXPECT_EQ(child_xywh(player(), ID_TUTOR_CLOSE), (std::vector<long>{5, client.bottom - 27, 80, 22}));
    EXPECT_EQ(child_xywh(player(), IDC_DECISION_TREE),
              (std::vector<long>{5, 5, client.right - 10, client.bottom - 37}));
    RECT clip{};
    GetClipCursor(&clip);
    EXPECT_EQ(xywh(clip), (std::vector<long>{0, 0, 1024, 768})) << "the browser never clips the cursor";

    // Roots, branches and stripped entries in file order.
    CTreeCtrl& tree = frame->tree();
    std::vector<std::string> roots;
    for (HTREEITEM r = tree.GetNextItem(0, TVGN_ROOT); r != 0; r = tree.GetNextItem(r, TVGN_NEXT))
        roots.push_back(tree.GetItemText(r));
    EXPECT_EQ(roots, (std::vector<std::string>{"Marketing", "Production", "Purchasing"}));
    HTREEITEM purchasing = tree.GetNextItem(tree.GetNextItem(tree.GetNextItem(0, TVGN_ROOT), TVGN_NEXT), TVGN_NEXT);
    HTREEITEM actions = tree.GetNextItem(purchasing, TVGN_CHILD);
    EXPECT_EQ(tree.GetItemText(actions), "Actions");
    std::vector<std::string> leaves;
    for (HTREEITEM i = tree.GetNextItem(actions, TVGN_CHILD); i != 0; i = tree.GetNextItem(i, TVGN_NEXT))
        leaves.push_back(tree.GetItemText(i));
    EXPECT_EQ(leaves, (std::vector<std::string>{"Order", "Packages", "Suppliers"}));
    EXPECT_TRUE(SaveWindowPng(player(), png("browser.png").c_str()));
}

TEST_F(PlayerFrame, BrowserSelectionsReachTheSimulator)
{
    ASSERT_TRUE(write_decision_menu_file(DECISION_MENU_FILE, sample_menu()));
    open("");
    FakeSimulator sim;
    CTreeCtrl& tree = frame->tree();
    HTREEITEM purchasing = tree.GetNextItem(tree.GetNextItem(tree.GetNextItem(0, TVGN_ROOT), TVGN_NEXT), TVGN_NEXT);
    HTREEITEM order = tree.GetNextItem(tree.GetNextItem(purchasing, TVGN_CHILD), TVGN_CHILD);

    // Before the start notice a selection reaches nothing.
    tree.SelectItem(order);
    pump();
    EXPECT_TRUE(sim.got.empty());
    EXPECT_FALSE(std::filesystem::exists("STEPBIN.CMD"));

    start(sim);
    tree.SelectItem(0);
    tree.SelectItem(order);
    pump();
    using M = std::vector<std::pair<UINT, WPARAM>>;
    EXPECT_EQ(sim.messages(), (M{{WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE}, {WM_COMMAND, 32779}, {WM_COMMAND, 401}}));
    CommandRecord rec;
    ASSERT_TRUE(read_command_record("STEPBIN.CMD", rec));
    EXPECT_EQ(rec.code, TUTOR_CLOSE_WINDOW);
    EXPECT_EQ(rec.text, "");

    // The Actions branch of Production only switches the department.
    sim.got.clear();
    HTREEITEM production = tree.GetNextItem(tree.GetNextItem(0, TVGN_ROOT), TVGN_NEXT);
    tree.SelectItem(tree.GetNextItem(production, TVGN_CHILD));
    pump();
    EXPECT_EQ(sim.messages(), (M{{WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE}, {WM_COMMAND, 32778}}));

    // Closing the browser tells the simulator nothing.
    sim.got.clear();
    click(ID_TUTOR_CLOSE);
    pump();
    EXPECT_FALSE(IsWindow(player()));
    EXPECT_TRUE(sim.got.empty());
}

TEST_F(PlayerFrame, BrowserWithoutItsFileIsEmptyAndSilent)
{
    open("");
    EXPECT_EQ(text_of(GetDlgItem(player(), ID_TUTOR_CLOSE)), "&Close");
    EXPECT_TRUE(host.boxes().empty());
    EXPECT_TRUE(frame->decision_menu().groups[2].actions.empty());
}

TEST_F(PlayerFrame, TutorialStripPlaysAgainstTheSimulator)
{
    host.Answer(IDOK, "");
    tutortest::write_bytes("lesson.cmd", "; lesson\n[ShowText]\nWelcome.\nSecond line\n[ConfirmText]\nPress Continue.\n"
                                         "[CloseCurrentWindow]\n[ShowText]\nAfter the hand-over.\n"
                                         "[ConfirmContinue]\n[ShowText]\nThe end.\n");
    open("lesson.cmd");
    ASSERT_FALSE(frame->browser_mode());
    EXPECT_EQ(xywh(window_rect(player())), (std::vector<long>{120, 614, 904, 154}));
    EXPECT_EQ(text_of(player()), TUTOR_WINDOW_TITLE);
    RECT client{};
    GetClientRect(player(), &client);
    const HWND exitButton = GetDlgItem(player(), ID_TUTOR_CLOSE);
    const HWND continueButton = GetDlgItem(player(), ID_TUTOR_CONTINUE);
    EXPECT_EQ(text_of(exitButton), "&Exit");
    EXPECT_EQ(child_xywh(player(), ID_TUTOR_CLOSE), (std::vector<long>{client.right - 170, client.bottom - 27, 80, 22}));
    EXPECT_EQ(child_xywh(player(), ID_TUTOR_CONTINUE), (std::vector<long>{client.right - 85, client.bottom - 27, 80, 22}));
    EXPECT_EQ(child_xywh(player(), IDC_TUTOR_TEXT), (std::vector<long>{5, 5, client.right - 15, client.bottom - 42}));
    EXPECT_FALSE(IsWindowEnabled(continueButton));
    EXPECT_EQ(text_of(GetDlgItem(player(), IDC_TUTOR_TEXT)), "");
    RECT clip{};
    GetClipCursor(&clip);
    EXPECT_EQ(xywh(clip), xywh(window_rect(player()))) << "the cursor is kept in the strip";

    FakeSimulator sim;
    start(sim);
    EXPECT_EQ(text_of(GetDlgItem(player(), IDC_TUTOR_TEXT)), "Press Continue.\r\n");
    EXPECT_TRUE(IsWindowEnabled(continueButton));
    EXPECT_TRUE(SaveWindowPng(player(), png("tutorial_strip.png").c_str()));

    click(ID_TUTOR_CONTINUE);
    EXPECT_FALSE(IsWindowEnabled(continueButton));
    pump();
    ASSERT_EQ(count_requests(sim, TUTOR_REQUEST_EXECUTE), 1);
    CommandRecord rec;
    ASSERT_TRUE(read_command_record("STEPBIN.CMD", rec));
    EXPECT_EQ(rec.code, TUTOR_CLOSE_WINDOW);

    // The simulator's resume; the next command follows 250 ms later.
    const auto resumed = std::chrono::steady_clock::now();
    PostMessage(player(), WM_TUTOR_CONTROL, TUTOR_CONTROL_DONE, TUTOR_CLOSE_WINDOW);
    g_watched = frame.get();
    const UINT_PTR watch = SetTimer(0, 0, 10, &watch_tick);
    EXPECT_EQ(run_loop(3000), 0) << "playback did not go on after the resume";
    KillTimer(0, watch);
    const auto waited = std::chrono::steady_clock::now() - resumed;
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_EQ(frame->playback().current(), 4) << "ConfirmContinue waits";
    EXPECT_EQ(xywh(window_rect(player())), (std::vector<long>{824, 712, 200, 56}));
    EXPECT_EQ(text_of(GetDlgItem(player(), IDC_TUTOR_TEXT)), "After the hand-over.\r\n");
    EXPECT_TRUE(SaveWindowPng(player(), png("confirm_continue.png").c_str()));
    // Under a window manager's title bar the corner's client is only as high
    // as the buttons: no panel border is drawn across the buttons' row.
    SetWindowPos(player(), 0, 824, 737, 200, 31, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(player());
    EXPECT_TRUE(SaveWindowPng(player(), png("confirm_continue_framed.png").c_str()));
    {
        const HDC dc = GetDC(player());
        int black = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 200; ++x)
                black += GetPixel(dc, x, y) == RGB(0, 0, 0) ? 1 : 0;
        ReleaseDC(player(), dc);
        EXPECT_EQ(black, 0);
    }

    // Alt+C (the menu command) goes on even with the button disabled.
    EnableWindow(continueButton, FALSE);
    SendMessage(player(), WM_COMMAND, ID_TUTOR_NEXT, 0);
    EXPECT_EQ(text_of(GetDlgItem(player(), IDC_TUTOR_TEXT)), "The end.\r\n");
}

TEST_F(PlayerFrame, ClosingTellsTheSimulatorExactlyOnce)
{
    struct Case {
        const char* how;
        std::function<void(HWND)> close;
        bool started;
        int notices;
    };
    const Case cases[] = {
        {"Exit button", [](HWND p) { SendMessage(GetDlgItem(p, ID_TUTOR_CLOSE), BM_CLICK, 0, 0); }, true, 1},
        {"Alt+E", [](HWND p) { SendMessage(p, WM_COMMAND, ID_TUTOR_EXIT, 0); }, true, 1},
        {"close box", [](HWND p) { SendMessage(p, WM_CLOSE, 0, 0); }, true, 1},
        {"before the start notice", [](HWND p) { SendMessage(p, WM_CLOSE, 0, 0); }, false, 0},
    };
    tutortest::write_bytes("lesson.cmd", "[ShowText]\nHello\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        open("lesson.cmd");
        FakeSimulator sim;
        if (c.started)
            start(sim);
        const HWND p = player();
        c.close(p);
        pump();
        EXPECT_FALSE(IsWindow(p));
        EXPECT_TRUE(frame->closing());
        EXPECT_EQ(count_requests(sim, TUTOR_REQUEST_CLOSED), c.notices);
        EXPECT_EQ(count_requests(sim, TUTOR_REQUEST_EXECUTE), 0);
        RECT clip{};
        GetClipCursor(&clip);
        EXPECT_EQ(xywh(clip), (std::vector<long>{0, 0, 1024, 768})) << "released to the desktop";
        frame.reset();
    }
}

// The frame's keys: Alt+C goes on, also with the Continue button
// disabled; Alt+E exits.
TEST_F(PlayerFrame, AltKeysContinueAndExit)
{
    tutortest::write_bytes("lesson.cmd", "[ConfirmText]\nFirst\n[ConfirmText]\nSecond\n[ConfirmText]\nThird\n");
    open("lesson.cmd");
    FakeSimulator sim;
    start(sim);
    ASSERT_EQ(frame->playback().current(), 0);
    SetActiveWindow(player());
    SetFocus(player());
    for (int32_t next = 1; next <= 2; ++next) {
        EnableWindow(GetDlgItem(player(), ID_TUTOR_CONTINUE), FALSE);
        SimulateKeyDown(player(), 'C', "c", 0, true);
        pump();
        EXPECT_EQ(frame->playback().current(), next);
    }
    EXPECT_EQ(text_of(GetDlgItem(player(), IDC_TUTOR_TEXT)), "Third\r\n");

    // Alt+E ends the player with its notice, though the "&Exit" button
    // carries the same letter.
    const HWND p = player();
    SimulateKeyDown(p, 'E', "e", 0, true);
    pump();
    EXPECT_FALSE(IsWindow(p));
    EXPECT_EQ(count_requests(sim, TUTOR_REQUEST_CLOSED), 1);
}

TEST_F(PlayerFrame, ProfileCanTurnClippingOff)
{
    app->WriteProfileInt("General", "ClipCursor", 0);
    tutortest::write_bytes("lesson.cmd", "[PositionWizard]\n500,500\n");
    open("lesson.cmd");
    FakeSimulator sim;
    start(sim);
    EXPECT_EQ(xywh(window_rect(player())), (std::vector<long>{512, 384, 904, 154}));
    RECT clip{};
    GetClipCursor(&clip);
    EXPECT_EQ(xywh(clip), (std::vector<long>{0, 0, 1024, 768})) << "free over the whole desktop";
    app->WriteProfileInt("General", "ClipCursor", 1);
}

TEST_F(PlayerFrame, MissingCommandFileLeavesAnEmptyStrip)
{
    host.Answer(IDOK, "");
    open("nothere.cmd");
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unable to open wizard file 'nothere.cmd'.");
    EXPECT_TRUE(IsWindow(player()));
    FakeSimulator sim;
    start(sim);
    EXPECT_EQ(text_of(GetDlgItem(player(), IDC_TUTOR_TEXT)), "");
    EXPECT_TRUE(sim.got.empty());
}
