// The frame carrying out the tutorial player's commands, driven headless:
// a fake player window in the test process, hand-off files written as the
// player writes them, and the frame's timer running in the layer's loop
// with a bounded wait.
#include "../../../tests/tutor/fake_player.h"
#include "appgui/tutor.h"
#include "appgui/vorn_gui.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/loop.h"
#include "plat/menu.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

using namespace plat;
namespace fs = std::filesystem;

namespace {

const std::string kBundled = std::string(VORN_BINARY_DIR) + "/data";

void click(HWND dlg, int id)
{
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void pump()
{
    MSG msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

// Runs the layer's loop until something quits it, at most `ms` (a popup
// left open by a broken walk is closed too, so the test fails, not hangs).
void timeout_quit(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    EndMenu();
    PostQuitMessage(1);
}
int run_loop(UINT ms)
{
    const UINT_PTR guard = SetTimer(0, 0, ms, timeout_quit);
    const int code = RunMessageLoop();
    KillTimer(0, guard);
    return code;
}

// Samples the walk every 30 ms while the loop runs.
std::function<void()> g_sample;
void sample_tick(HWND, UINT, uintptr_t, DWORD)
{
    if (g_sample)
        g_sample();
}

// Window procedures put in front of a window's own, recording what passes.
struct Spy {
    WNDPROC previous = nullptr;
    std::vector<MSG> seen;
    std::function<bool(UINT)> wanted;
};
std::map<HWND, Spy*> g_spies;
LRESULT spy_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    Spy* s = g_spies[h];
    if (s->wanted(msg)) {
        MSG m{};
        m.hwnd = h;
        m.message = msg;
        m.wParam = wp;
        m.lParam = lp;
        s->seen.push_back(m);
    }
    return CallWindowProc(s->previous, h, msg, wp, lp);
}
void spy_on(HWND h, Spy& spy, std::function<bool(UINT)> wanted)
{
    spy.wanted = std::move(wanted);
    g_spies[h] = &spy;
    spy.previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&spy_proc)));
}
void unspy(HWND h, Spy& spy)
{
    if (IsWindow(h))
        SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spy.previous));
    g_spies.erase(h);
}

class TutorFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        register_vorn_resources();
    }
    void SetUp() override
    {
        char cwd[4096] = {};
        previousDir = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";
        const fs::path dir = fs::path(VORN_BINARY_DIR) / "appgui-work" /
                             (std::string("tutor-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* f : {"SAMPLE.VNB", "story.txt", "bgtables.tbl"})
            if (fs::exists(fs::path(kBundled) / f))
                fs::copy_file(fs::path(kBundled) / f, dir / f);
        folder = dir.string();
        ASSERT_EQ(chdir(folder.c_str()), 0);
        setenv("VORN_DATA_DIR", folder.c_str(), 1);
        app = std::make_unique<CVornApp>();
        app->about_at_start = false;
        ASSERT_TRUE(app->InitInstance());
        view = app->window();
        frame = app->frame();
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override
    {
        SetIdleHandler(nullptr);
        g_sample = nullptr;
        set_tutor_launcher(nullptr);
        SetTutorWindow(0);
        SetTutorPendingCode(0);
        if (frame != nullptr && IsWindow(frame->m_hWnd)) {
            ScriptedHost host;
            host.Answer(IDYES, "", "Are you sure you want to exit?");
            if (view->session() != nullptr)
                view->session()->run_state = RUN_STOPPED;
            frame->SendMessage(WM_CLOSE, 0, 0);
        }
        app.reset();
        ResetWindowsForTest();
        EXPECT_EQ(chdir(previousDir.c_str()), 0);
    }
    void step(int16_t code, const std::string& text) { write_step_file(folder + "/STEPBIN.CMD", step_record(code, text)); }
    // The story dialog of a session start, closed with OK.
    static void accept_story(ScriptedHost& host)
    {
        host.OnDialog(IDD_BACKGROUND, [](HWND d) { click(d, IDOK); });
    }
    CVornView* open_sample(ScriptedHost& host)
    {
        accept_story(host);
        EXPECT_TRUE(view->sessions().StartSession(folder + "/SAMPLE.VNB"));
        view->SyncSession();
        return view->session();
    }

    std::string previousDir, folder;
    std::unique_ptr<CVornApp> app;
    CVornWindow* view = nullptr;
    CMainFrame* frame = nullptr;
};

TEST_F(TutorFrame, RequestWithNoPlayerKnownDoesNothing)
{
    ScriptedHost host;
    CVornView* s = open_sample(host);
    ASSERT_NE(s, nullptr);
    host.clear_records();
    step(TUTOR_OPEN_FILE, "SAMPLE.VNB");
    EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0), 0);
    EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_CLOSED, 0), 0);
    pump();
    EXPECT_EQ(view->session(), s) << "neither a new session nor a closed one";
    EXPECT_TRUE(host.boxes().empty());
    EXPECT_TRUE(host.dialogs().empty());
}

// The closing notice needs no hand-off file, and counts even when the
// player's window is gone by the time it arrives; a session stays open
// when a player is merely lost.
TEST_F(TutorFrame, ClosingNoticeReadsNoFileAndOutlivesThePlayersWindow)
{
    for (const bool windowGone : {false, true}) {
        SCOPED_TRACE(windowGone ? "window gone first" : "window still there");
        ScriptedHost host;
        ASSERT_NE(open_sample(host), nullptr);
        host.clear_records();
        fs::remove(folder + "/STEPBIN.CMD");
        auto player = std::make_unique<FakePlayer>();
        SetTutorWindow(player->hwnd);
        if (windowGone)
            player.reset();
        EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_CLOSED, 0), 0);
        pump();
        EXPECT_EQ(GetTutorWindow(), 0u);
        EXPECT_EQ(view->session(), nullptr) << "the session closed";
        EXPECT_TRUE(host.boxes().empty()) << "no box about the hand-off file";
        // A second notice finds no player.
        ASSERT_NE(open_sample(host), nullptr);
        EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_CLOSED, 0), 0);
        pump();
        EXPECT_NE(view->session(), nullptr);
        view->sessions().RequestClose();
        view->sessions().ProcessRequests();
        view->SyncSession();
    }

    // Lost without a notice: forgotten, the session stays.
    ScriptedHost host;
    ASSERT_NE(open_sample(host), nullptr);
    auto player = std::make_unique<FakePlayer>();
    SetTutorWindow(player->hwnd);
    player.reset();
    EXPECT_EQ(GetTutorWindow(), 0u);
    step(TUTOR_CLOSE_WINDOW, "");
    EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0), 0);
    pump();
    EXPECT_NE(view->session(), nullptr);
}

// "Guided runs ..." stands in the session menu only beside a first guided
// run, found whatever the case of its name.
TEST_F(TutorFrame, GuidedRunsEntryNeedsTheFirstGuidedRun)
{
    auto offered = [this] {
        return GetMenuState(GetMenu(frame->m_hWnd), ID_GUIDED_RUNS, MF_BYCOMMAND) != MF_ERROR;
    };
    ScriptedHost host;
    ASSERT_FALSE(fs::exists(folder + "/guide1.cmd"));
    ASSERT_NE(open_sample(host), nullptr);
    EXPECT_EQ(frame->loaded_menu, IDR_SESSION_MENU);
    EXPECT_FALSE(offered());
    EXPECT_NE(GetMenuState(GetMenu(frame->m_hWnd), ID_RUN_TUTORIAL, MF_BYCOMMAND), MF_ERROR) << "the rest stays";
    view->sessions().RequestClose();
    view->sessions().ProcessRequests();
    view->SyncSession();

    std::ofstream(folder + "/GUIDE1.CMD") << "[ShowText]\nHello\n";
    EXPECT_TRUE(guided_runs_available(folder));
    EXPECT_FALSE(guided_runs_available(folder + "/nowhere"));
    ASSERT_NE(open_sample(host), nullptr);
    EXPECT_TRUE(offered());
}

// Missing, short and long files: the box, the request dropped, the player
// left waiting.
TEST_F(TutorFrame, UnreadableHandOffFileGivesTheBoxAndNoResume)
{
    ScriptedHost host;
    FakePlayer player;
    SetTutorWindow(player.hwnd);
    host.Answer(IDOK, "", "Unable to read command binary file");
    const std::string full = step_record(TUTOR_OPEN_FILE, "SAMPLE.VNB");
    for (const std::string& bytes : {std::string(), full.substr(0, 1000), full + "x"}) {
        fs::remove(folder + "/STEPBIN.CMD");
        if (!bytes.empty())
            write_step_file(folder + "/STEPBIN.CMD", bytes);
        EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0), 0) << bytes.size();
    }
    pump();
    EXPECT_EQ(host.boxes().size(), 3u);
    EXPECT_EQ(view->session(), nullptr);
    EXPECT_TRUE(player.got.empty());
    EXPECT_EQ(GetTutorPendingCode(), 0);
}

TEST_F(TutorFrame, OpenFileStartsTheSessionAndResumesAtOnce)
{
    ScriptedHost host;
    accept_story(host);
    FakePlayer player;
    SetTutorWindow(player.hwnd);
    fs::create_directories(folder + "/Runs");
    fs::copy_file(folder + "/SAMPLE.VNB", folder + "/Runs/Level1.vnb");

    step(TUTOR_OPEN_FILE, "SAMPLE.VNB");
    EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0), 1);
    ASSERT_NE(view->session(), nullptr);
    EXPECT_EQ(fs::path(view->session()->session_path).filename(), "SAMPLE.VNB");
    EXPECT_EQ(frame->loaded_menu, IDR_SESSION_MENU) << "the frame follows at once";
    const fs::path pngs = fs::path(VORN_BINARY_DIR) / "appgui-png";
    fs::create_directories(pngs);
    SaveWindowPng(frame->m_hWnd, (pngs / "tutor_open_file.png").c_str());
    pump();
    EXPECT_EQ(player.resumed(), std::vector<LPARAM>{1});

    // The player's names may use "\" and any case.
    step(TUTOR_OPEN_FILE, "runs\\LEVEL1.VNB");
    frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
    ASSERT_NE(view->session(), nullptr);
    EXPECT_EQ(fs::path(view->session()->session_path).filename(), "LEVEL1.VNB");
    pump();
    EXPECT_EQ(player.resumed(), (std::vector<LPARAM>{1, 1}));
    EXPECT_TRUE(host.boxes().empty());
}

// A file that does not load keeps the session that runs; the player is
// still answered, so it does not wait for ever.
TEST_F(TutorFrame, OpenFileThatFailsKeepsTheSessionAndResumes)
{
    ScriptedHost host;
    CVornView* s = open_sample(host);
    ASSERT_NE(s, nullptr);
    host.clear_records();
    FakePlayer player;
    SetTutorWindow(player.hwnd);
    host.Answer(IDOK, "", "Unable to open", ScriptedHost::Match::Substring, 1);
    step(TUTOR_OPEN_FILE, "MISSING.VNB");
    EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0), 1);
    EXPECT_EQ(host.boxes().size(), 1u);
    EXPECT_TRUE(host.exits().empty());
    EXPECT_EQ(view->session(), s);
    pump();
    EXPECT_EQ(player.resumed(), std::vector<LPARAM>{1});
}

// A player's request arrives while a dialog is open inside a tick (here the
// end of a learn session opens the Change Seed dialog, and inside it the
// story dialog): every dialog closes, the tick runs to its end, and only
// then does the session change.
struct InTick {
    int dialogsWhenAsked = -1;
    int tickDepthWhenAsked = -1;
    bool tickEnded = false;
    int tickDepthAtChange = -1;
    bool changedAfterTick = false;
    int storiesShown = 0;
};

void inside_a_tick(CVornWindow* view, std::function<void()> ask, ScriptedHost& host, InTick& seen,
                   std::function<void()> idle)
{
    CVornView* s = view->session();
    ASSERT_NE(s, nullptr);
    s->learn_session = 1;
    s->learn_result_hook = [&seen, view](CVornView&) {
        view->change_seed(0);
        seen.tickEnded = true;
    };
    // The session ends at 08:00 tomorrow: the 480th tick from here.
    s->clock.session_end = s->clock.current;
    s->clock.session_end.day = static_cast<int16_t>(s->clock.current.day + 1);
    for (int i = 0; i < 479; ++i)
        s->SimulationTick(0);
    view->sessions().prepare_view = [&seen, view](CVornView&) {
        seen.tickDepthAtChange = view->session() != nullptr ? view->session()->tick_depth() : -2;
        seen.changedAfterTick = seen.tickEnded;
    };
    host.OnDialog(IDD_CHANGE_SEED, [view](HWND) {
        view->PostMessage(WM_COMMAND, MAKEWPARAM(ID_BACKGROUND_STORY, 0), 0);
    });
    host.OnDialog(IDD_BACKGROUND, [&seen, view, ask](HWND d) {
        if (seen.storiesShown++ > 0) {
            click(d, IDOK);
            return;
        }
        seen.dialogsWhenAsked = static_cast<int>(view->dialogs().all().size());
        seen.tickDepthWhenAsked = view->session()->tick_depth();
        ask();
    });
    view->ExecuteCommand(ID_RUN_ON_DAY);
    idle();
}

void request_inside_a_tick(CVornWindow* view, CMainFrame* frame, WPARAM wParam, ScriptedHost& host, InTick& seen,
                           std::function<void()> idle)
{
    inside_a_tick(
        view, [frame, wParam] { frame->PostMessage(WM_TUTOR_REQUEST, wParam, 0); }, host, seen, std::move(idle));
}

TEST_F(TutorFrame, OpenFileInsideATickWaitsForTheDialogsAndTheTick)
{
    ScriptedHost host;
    FakePlayer player;
    CVornView* old = open_sample(host);
    ASSERT_NE(old, nullptr);
    SetTutorWindow(player.hwnd);
    step(TUTOR_OPEN_FILE, "SAMPLE.VNB");
    InTick seen;
    request_inside_a_tick(view, frame, TUTOR_REQUEST_EXECUTE, host, seen, [this] { app->OnIdle(0); });
    EXPECT_EQ(seen.dialogsWhenAsked, 2);
    EXPECT_EQ(seen.tickDepthWhenAsked, 1);
    EXPECT_TRUE(seen.tickEnded) << "both dialogs were closed";
    EXPECT_TRUE(seen.changedAfterTick);
    EXPECT_EQ(seen.tickDepthAtChange, 0);
    ASSERT_NE(view->session(), nullptr);
    EXPECT_EQ(view->session()->tick_count, 0) << "a new session";
    EXPECT_EQ(seen.storiesShown, 2) << "the new session's story";
    pump();
    EXPECT_EQ(player.resumed(), std::vector<LPARAM>{1}) << "once the start ran";
}

TEST_F(TutorFrame, PlayerClosingInsideATickClosesTheSessionAfterIt)
{
    ScriptedHost host;
    FakePlayer player;
    ASSERT_NE(open_sample(host), nullptr);
    SetTutorWindow(player.hwnd);
    step(TUTOR_OPEN_FILE, "SAMPLE.VNB");
    InTick seen;
    CVornView* atTickEnd = nullptr;
    request_inside_a_tick(view, frame, TUTOR_REQUEST_CLOSED, host, seen, [&] {
        app->OnIdle(0);
        atTickEnd = view->session();
        app->OnIdle(1);
    });
    EXPECT_EQ(GetTutorWindow(), 0u) << "forgotten at once";
    EXPECT_EQ(seen.dialogsWhenAsked, 2);
    EXPECT_TRUE(seen.tickEnded) << "both dialogs were closed";
    EXPECT_NE(atTickEnd, nullptr) << "the session outlived its tick";
    EXPECT_EQ(view->session(), nullptr) << "closed at the next idle moment";
    EXPECT_EQ(frame->loaded_menu, IDR_START_MENU);
    pump();
    EXPECT_TRUE(player.got.empty());
}

// Exit confirmed while a dialog is open inside a tick: the dialogs close,
// the tick ends, and the frame closes at the next idle moment, ending the
// player.
TEST_F(TutorFrame, ExitInsideATickClosesTheFrameAfterTheTick)
{
    ScriptedHost host;
    FakePlayer player;
    ASSERT_NE(open_sample(host), nullptr);
    SetTutorWindow(player.hwnd);
    InTick seen;
    const HWND f = frame->m_hWnd;
    bool openAfterTick = false;
    inside_a_tick(
        view, [this] { frame->PostMessage(WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0); }, host, seen, [&] {
            app->OnIdle(0);
            openAfterTick = IsWindow(f) != FALSE;
            app->OnIdle(1);
        });
    EXPECT_EQ(seen.dialogsWhenAsked, 2);
    EXPECT_TRUE(seen.tickEnded) << "both dialogs were closed";
    EXPECT_TRUE(openAfterTick);
    EXPECT_FALSE(IsWindow(f));
    frame = nullptr;
    EXPECT_TRUE(host.boxes().empty()) << "the session was over: no question";
    EXPECT_EQ(GetTutorWindow(), 0u);
    pump();
    EXPECT_EQ(player.count(WM_QUIT), 1);
}

// Code 16 closes the dialog on top only: the one under it stays open.
HWND g_seedDialog = 0;
std::vector<HWND> g_stackSeen;
CVornWindow* g_view = nullptr;
void look_then_close(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    g_stackSeen = g_view->dialogs().all();
    PostMessage(g_seedDialog, WM_CLOSE, 0, 0);
}

TEST_F(TutorFrame, CloseCurrentWindowClosesTheTopDialogOnly)
{
    ScriptedHost host;
    ASSERT_NE(open_sample(host), nullptr);
    FakePlayer player;
    SetTutorWindow(player.hwnd);
    step(TUTOR_CLOSE_WINDOW, "");
    g_view = view;
    HWND story = 0;
    host.OnDialog(IDD_CHANGE_SEED, [this](HWND d) {
        g_seedDialog = d;
        view->PostMessage(WM_COMMAND, MAKEWPARAM(ID_BACKGROUND_STORY, 0), 0);
    });
    host.OnDialog(IDD_BACKGROUND, [&](HWND d) {
        story = d;
        frame->PostMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
        SetTimer(0, 0, 150, look_then_close);
    });
    view->ExecuteCommand(ID_CHANGE_SEED);
    EXPECT_NE(story, 0u);
    EXPECT_EQ(g_stackSeen, std::vector<HWND>{g_seedDialog});
    EXPECT_FALSE(IsWindow(story));
    pump();
    EXPECT_EQ(player.resumed(), std::vector<LPARAM>{16});

    // No dialog open: nothing to close, the player goes on.
    frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
    pump();
    EXPECT_EQ(player.resumed(), (std::vector<LPARAM>{16, 16}));
}

// The decision browser hands over CloseCurrentWindow and posts the next
// commands to the frame right behind its request: the open dialog has
// returned before they run, so the decision's dialog is the only one open.
// With a loop open above the dialog (a box shown over it), that loop goes on
// dispatching after the close: the commands wait until the dialog is gone.
bool g_boxDone = false;
HWND g_frameWnd = 0;
void end_box(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    g_boxDone = true;
}
void box_over_dialog(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    PostMessage(g_frameWnd, WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
    PostMessage(g_frameWnd, WM_COMMAND, MAKEWPARAM(ID_CHANGE_SEED, 0), 0);
    g_boxDone = false;
    SetTimer(0, 0, 200, end_box);
    RunModalLoop(g_boxDone);
}

TEST_F(TutorFrame, CloseCurrentWindowEndsTheDialogBeforeTheNextCommands)
{
    for (const bool boxAbove : {false, true}) {
        SCOPED_TRACE(boxAbove ? "a loop open above the dialog" : "the dialog's own loop");
        ScriptedHost host;
        ASSERT_NE(open_sample(host), nullptr);
        FakePlayer player;
        SetTutorWindow(player.hwnd);
        step(TUTOR_CLOSE_WINDOW, "");
        g_frameWnd = frame->m_hWnd;
        HWND first = 0;
        HWND second = 0;
        bool firstAliveAtSecond = true;
        bool boxOpenAtSecond = true;
        std::vector<HWND> stackAtSecond;
        host.OnDialog(IDD_CHANGE_SEED, [&](HWND d) {
            if (first == 0) {
                first = d;
                if (boxAbove) {
                    SetTimer(0, 0, 10, box_over_dialog);
                } else {
                    frame->PostMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
                    frame->PostMessage(WM_COMMAND, MAKEWPARAM(ID_CHANGE_SEED, 0), 0);
                }
                return;
            }
            second = d;
            firstAliveAtSecond = IsWindow(first) != FALSE;
            boxOpenAtSecond = boxAbove && !g_boxDone;
            stackAtSecond = view->dialogs().all();
            PostMessage(d, WM_CLOSE, 0, 0);
        });
        view->ExecuteCommand(ID_CHANGE_SEED);
        for (int i = 0; i < 50 && second == 0; ++i) {
            pump();
            usleep(10000);
        }
        pump();
        ASSERT_NE(second, 0u) << "the posted command opened its dialog";
        EXPECT_FALSE(firstAliveAtSecond);
        EXPECT_FALSE(boxOpenAtSecond);
        EXPECT_EQ(stackAtSecond, std::vector<HWND>{second}) << "not nested in the old dialog's loop";
        EXPECT_EQ(player.resumed(), std::vector<LPARAM>{16});
        EXPECT_TRUE(view->dialogs().all().empty());
        view->sessions().RequestClose();
        view->sessions().ProcessRequests();
        view->SyncSession();
    }
}

// The menu walk on a popup "First", separator, "Second", separator,
// "Third": item n is the n-th item that is not a separator; n - 1
// down-steps.
TEST_F(TutorFrame, MenuWalkSendsTheNthItemsCommand)
{
    struct Case {
        int item;
        UINT command;
        int steps;
    };
    for (const Case c : {Case{1, 9001, 0}, Case{2, 9002, 1}, Case{3, 9003, 2}}) {
        SCOPED_TRACE(c.item);
        HMENU bar = CreateMenu();
        HMENU popup = CreatePopupMenu();
        AppendMenu(popup, MF_STRING, 9001, "First");
        AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
        AppendMenu(popup, MF_STRING, 9002, "Second");
        // A second separator within the first n + separators positions.
        AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
        AppendMenu(popup, MF_STRING, 9003, "Third");
        AppendMenu(bar, MF_POPUP, popup, "Walk");
        SetMenu(frame->m_hWnd, bar);

        FakePlayer player;
        player.quit_on_resume = true;
        SetTutorWindow(player.hwnd);
        Spy commands;
        spy_on(frame->m_hWnd, commands, [](UINT m) { return m == WM_COMMAND; });
        step(TUTOR_EXEC_MENU, "0,100,100," + std::to_string(c.item));

        bool tracked = false;
        int mostSteps = 0;
        g_sample = [&] {
            tracked = tracked || GetTrackedMenu() == popup;
            if (tutor_walk().state == TUTOR_WALK_MENU)
                mostSteps = std::max(mostSteps, tutor_walk().counter);
        };
        const UINT_PTR sampler = SetTimer(0, 0, 30, sample_tick);
        frame->PostMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
        EXPECT_EQ(run_loop(5000), 0) << "the walk ended";
        KillTimer(0, sampler);
        pump();
        unspy(frame->m_hWnd, commands);

        EXPECT_TRUE(tracked) << "the popup was open";
        EXPECT_EQ(mostSteps, c.steps);
        ASSERT_EQ(commands.seen.size(), 1u);
        EXPECT_EQ(commands.seen[0].wParam, c.command);
        EXPECT_EQ(player.resumed(), std::vector<LPARAM>{13});
        EXPECT_EQ(tutor_walk().state, TUTOR_WALK_IDLE);
        EXPECT_EQ(GetTrackedMenu(), 0u);
    }
}

// A popup or item that is not there: the player goes on, nothing opens.
TEST_F(TutorFrame, MenuWalkWithoutItsTargetOnlyResumes)
{
    FakePlayer player;
    SetTutorWindow(player.hwnd);
    Spy commands;
    spy_on(frame->m_hWnd, commands, [](UINT m) { return m == WM_COMMAND; });
    // The start menu: Session (4 positions, one a separator) and Help.
    for (const char* args : {"7,0,0,1", "0,0,0,9", "0,0,0,0"}) {
        step(TUTOR_EXEC_MENU, args);
        EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0), 0) << args;
        EXPECT_EQ(tutor_walk().state, TUTOR_WALK_IDLE) << args;
    }
    pump();
    unspy(frame->m_hWnd, commands);
    EXPECT_TRUE(commands.seen.empty());
    EXPECT_EQ(player.resumed(), (std::vector<LPARAM>{13, 13, 13}));
}

TEST_F(TutorFrame, ComboWalkWithoutItsWindowOrControl)
{
    ScriptedHost host;
    FakePlayer player;
    SetTutorWindow(player.hwnd);
    host.Answer(IDOK, "Decisions", "Uanble to find window", ScriptedHost::Match::Exact, 1);
    step(TUTOR_SELECT_COMBO, "Decisions,1001,3");
    EXPECT_EQ(frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0), 0);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].caption, "Decisions");

    // The window is there, its control is not: no box.
    FakePlayer decisions("Decisions");
    frame->SendMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
    EXPECT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(tutor_walk().state, TUTOR_WALK_IDLE);
    pump();
    EXPECT_EQ(player.resumed(), (std::vector<LPARAM>{17, 17}));
}

// Entries 0 up to the target are selected one per step, then the list
// closes at the next step.
TEST_F(TutorFrame, ComboWalkSelectsEachEntryUpToTheTarget)
{
    struct Case {
        int target;
        std::vector<WPARAM> selections;
    };
    for (const Case& c : {Case{0, {0, 0}}, Case{2, {0, 0, 1, 2}}}) {
        SCOPED_TRACE(c.target);
        FakePlayer host("Combo Host");
        HWND combo = CreateWindow("COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10, 120, 100,
                                  host.hwnd, static_cast<HMENU>(1001), 0, nullptr);
        ASSERT_NE(combo, 0u);
        for (const char* s : {"A1", "B2", "C3", "D4"})
            SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        Spy spy;
        spy_on(combo, spy, [](UINT m) { return m == CB_SETCURSEL || m == CB_SHOWDROPDOWN; });
        FakePlayer player;
        player.quit_on_resume = true;
        SetTutorWindow(player.hwnd);
        step(TUTOR_SELECT_COMBO, "Combo Host,1001," + std::to_string(c.target));
        frame->PostMessage(WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE, 0);
        EXPECT_EQ(run_loop(5000), 0) << "the walk ended";
        pump();
        unspy(combo, spy);

        std::vector<WPARAM> selections;
        std::vector<WPARAM> dropDowns;
        for (const MSG& m : spy.seen)
            (m.message == CB_SETCURSEL ? selections : dropDowns).push_back(m.wParam);
        EXPECT_EQ(selections, c.selections);
        EXPECT_EQ(dropDowns, (std::vector<WPARAM>{TRUE, FALSE}));
        EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), c.target);
        EXPECT_EQ(player.resumed(), std::vector<LPARAM>{17});
    }
}

// The view's commands that start the player, with a program start that
// fails as WinExec does when the player is not installed, and one that
// brings the fake player up.
TEST_F(TutorFrame, StartCommandsBoxWhenThePlayerCannotStart)
{
    struct Case {
        int id;
        const char* line;
        const char* text;
        const char* caption;
        const char* title;
    };
    const Case cases[] = {
        {ID_RUN_TUTORIAL, "Steplay32.EXE steplay.cmd", "Unable to load VORNS Tutrial", "VORNS Tutorial", "VORNS Tutorial"},
        {ID_DECISIONS_CENTER, "Steplay32.EXE", "Unable to load Decisions screen", "Decisions", "Decisions"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ScriptedHost host;
        std::vector<std::string> lines;
        set_tutor_launcher([&](const char* line, UINT) -> UINT {
            lines.push_back(line);
            return 2;
        });
        host.Answer(IDOK, c.caption, c.text, ScriptedHost::Match::Exact, 1);
        EXPECT_TRUE(handle_tutor_command(*view, c.id));
        ASSERT_EQ(host.boxes().size(), 1u);
        EXPECT_EQ(GetTutorWindow(), 0u);

        std::unique_ptr<FakePlayer> player;
        set_tutor_launcher([&](const char* line, UINT) -> UINT {
            lines.push_back(line);
            player = std::make_unique<FakePlayer>();
            return 33;
        });
        EXPECT_TRUE(handle_tutor_command(*view, c.id));
        EXPECT_EQ(host.boxes().size(), 1u) << "started: no box";
        ASSERT_NE(player, nullptr);
        EXPECT_EQ(GetTutorWindow(), player->hwnd);
        ASSERT_EQ(player->got.size(), 1u);
        EXPECT_EQ(player->got[0].wParam, TUTOR_CONTROL_START);
        EXPECT_EQ(static_cast<HWND>(player->got[0].lParam), frame->m_hWnd & 0xFFFF);
        EXPECT_EQ(lines, (std::vector<std::string>{c.line, c.line}));
        char title[64] = {};
        GetWindowText(player->hwnd, title, sizeof title);
        EXPECT_STREQ(title, c.title);
        player.reset();
        SetTutorWindow(0);
    }
    EXPECT_FALSE(handle_tutor_command(*view, ID_OPEN));
}

// The menus reach the same commands: WM_COMMAND to the frame goes through
// the view's command table to the player's start.
TEST_F(TutorFrame, MenuCommandsReachThePlayerStart)
{
    ScriptedHost host;
    std::vector<std::string> lines;
    set_tutor_launcher([&](const char* line, UINT) -> UINT {
        lines.push_back(line);
        return 2;
    });
    host.Answer(IDOK, "VORNS Tutorial", "Unable to load VORNS Tutrial", ScriptedHost::Match::Exact, 1);
    host.Answer(IDOK, "Decisions", "Unable to load Decisions screen", ScriptedHost::Match::Exact, 1);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_RUN_TUTORIAL, 0), 0);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_DECISIONS_CENTER, 0), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"Steplay32.EXE steplay.cmd", "Steplay32.EXE"}));
    EXPECT_EQ(host.boxes().size(), 2u);
}

// Guided runs: the chosen command file goes to the player and into its
// title; cancelled, nothing starts.
TEST_F(TutorFrame, GuidedRunsStartsThePlayerWithTheChosenFile)
{
    ScriptedHost host;
    write_step_file(folder + "/guide2.CMD", "");
    std::vector<std::string> lines;
    std::unique_ptr<FakePlayer> player;
    std::string startedIn;
    set_tutor_launcher([&](const char* line, UINT) -> UINT {
        lines.push_back(line);
        char cwd[4096] = {};
        startedIn = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "";
        player = std::make_unique<FakePlayer>();
        return 33;
    });
    ASSERT_EQ(chdir("/"), 0);
    host.OnDialog(IDD_GUIDED_RUNS, [](HWND d) { click(d, IDCANCEL); });
    EXPECT_TRUE(handle_tutor_command(*view, ID_GUIDED_RUNS));
    EXPECT_TRUE(lines.empty());

    host.OnDialog(IDD_GUIDED_RUNS, [](HWND d) { click(d, IDOK); });
    handle_tutor_command(*view, ID_GUIDED_RUNS);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(lines, std::vector<std::string>{"Steplay32.EXE Guide2.cmd"});
    char title[64] = {};
    GetWindowText(player->hwnd, title, sizeof title);
    EXPECT_STREQ(title, "VORNS Tutorial - Guide2.cmd");
    EXPECT_EQ(fs::path(startedIn), fs::path(folder)) << "the player starts in the data folder";

    set_tutor_launcher([](const char*, UINT) -> UINT { return 2; });
    host.Answer(IDOK, "VORNS Tutorial", "Unable to load VORNS Tutrial", ScriptedHost::Match::Exact, 1);
    handle_tutor_command(*view, ID_GUIDED_RUNS);
    EXPECT_EQ(host.boxes().size(), 1u);
}

TEST_F(TutorFrame, DecisionsCentreShowsTheBrowserThatRuns)
{
    ScriptedHost host;
    int starts = 0;
    set_tutor_launcher([&](const char*, UINT) -> UINT {
        ++starts;
        return 2;
    });
    FakePlayer browser("Decisions");
    ShowWindow(browser.hwnd, SW_HIDE);
    handle_tutor_command(*view, ID_DECISIONS_CENTER);
    EXPECT_EQ(starts, 0);
    EXPECT_TRUE(IsWindowVisible(browser.hwnd));
    EXPECT_TRUE(host.boxes().empty());
}

TEST_F(TutorFrame, ClosingTheFrameEndsThePlayer)
{
    ScriptedHost host;
    FakePlayer player;
    SetTutorWindow(player.hwnd);
    host.Answer(IDYES, "", "Are you sure you want to exit?");
    HWND f = frame->m_hWnd;
    frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(f));
    frame = nullptr;
    EXPECT_EQ(GetTutorWindow(), 0u);
    pump();
    EXPECT_EQ(player.count(WM_QUIT), 1);
}

} // namespace
