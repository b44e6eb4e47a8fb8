// The windowed program driven headless through the layer: start-up, Open
// of the bundled scenario, the clock in idle time, Stop, Save, Open of the
// saved session, the toolbar, closing, and no tick under a modal loop.
#include "appgui/vorn_gui.h"
#include "appdialogs/app_dialogs.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/help.h"
#include "plat/profile.h"
#include "plat/loop.h"
#include "plat/menu.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "uikit/uikit.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "plat/gdi.h"
#include "plat/window.h"
#include "support/bundled_data.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

const std::string kBundled = bundled_data_copy();

std::string png(const std::string& name)
{
    const std::string folder = std::string(VORN_BINARY_DIR) + "/appgui-png";
    fs::create_directories(folder);
    return folder + "/" + name;
}

void click(HWND dlg, int id)
{
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// A scratch data folder holding only the sample scenario and its story (no
// learn file, no configured scenarios: Open asks for a file).
std::string plain_data_folder(const std::string& name)
{
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "appgui-work" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(fs::path(kBundled) / "SAMPLE.VNB", dir / "SAMPLE.VNB");
    fs::copy_file(fs::path(kBundled) / "story.txt", dir / "story.txt");
    if (fs::exists(fs::path(kBundled) / "bgtables.tbl"))
        fs::copy_file(fs::path(kBundled) / "bgtables.tbl", dir / "bgtables.tbl");
    return dir.string();
}

class VornFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        register_vorn_resources();
    }
    void start(const std::string& dataFolder)
    {
        setenv("VORN_DATA_DIR", dataFolder.c_str(), 1);
        app = std::make_unique<CVornApp>();
        app->about_at_start = false;
        ASSERT_TRUE(app->InitInstance());
        ASSERT_NE(app->window(), nullptr);
        view = app->window();
        frame = app->frame();
    }
    void TearDown() override
    {
        if (frame != nullptr && IsWindow(frame->m_hWnd)) {
            ScriptedHost host;
            host.Answer(IDYES, "", "Are you sure you want to exit?");
            if (view->session() != nullptr)
                view->session()->run_state = RUN_STOPPED;
            frame->SendMessage(WM_CLOSE, 0, 0);
        }
        app.reset();
        ResetWindowsForTest();
    }
    // Idle passes as the application's loop would make them.
    void idle(int passes)
    {
        for (int i = 0; i < passes; ++i)
            app->OnIdle(i);
    }
    // The session's start shows the background story: closed with OK.
    static void accept_story(ScriptedHost& host)
    {
        host.OnDialog(IDD_BACKGROUND, [](HWND d) { click(d, IDOK); });
    }
    // The program started over a scratch copy of the sample, the sample
    // opened through the file prompt: its session.
    CVornView* open_sample(ScriptedHost& host, const std::string& folderName)
    {
        accept_story(host);
        const std::string folder = plain_data_folder(folderName);
        start(folder);
        host.ChoosePath(folder + "/SAMPLE.VNB");
        view->ExecuteCommand(ID_OPEN);
        return view->session();
    }

    std::unique_ptr<CVornApp> app;
    CVornWindow* view = nullptr;
    CMainFrame* frame = nullptr;
};

std::string window_title(CWnd* w)
{
    char title[200] = {};
    GetWindowText(w->m_hWnd, title, sizeof title);
    return title;
}

bool visible(CWnd* w)
{
    return w != nullptr && w->m_hWnd != 0 && IsWindowVisible(w->m_hWnd);
}

TEST_F(VornFrame, StartsWithTheStartMenuAndOnlyTheOpenButton)
{
    ScriptedHost host;
    start(kBundled);
    EXPECT_EQ(frame->loaded_menu, IDR_START_MENU);
    HMENU bar = GetMenu(frame->m_hWnd);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    char title[64] = {};
    GetWindowText(frame->m_hWnd, title, sizeof title);
    EXPECT_STREQ(title, "VORNS Application");
    EXPECT_TRUE(visible(view->toolbar().FindButton(ID_OPEN)));
    for (int id : {ID_RUN, ID_STOP, ID_MARKETING, ID_FINANCE, ID_RESTORE_HOLD})
        EXPECT_FALSE(visible(view->toolbar().FindButton(id))) << id;
    EXPECT_FALSE(visible(view->pane(201)));
    EXPECT_EQ(view->session(), nullptr);
    EXPECT_TRUE(host.boxes().empty());
    // The view's own background is white.
    UpdateWindow(view->m_hWnd);
    RECT rc{};
    GetClientRect(view->m_hWnd, &rc);
    EXPECT_EQ(GetSurfacePixel(view->m_hWnd, rc.right / 2, rc.bottom / 2), RGB(255, 255, 255));
}

// With a session open, the pane strip runs from under the toolbar to the
// view's bottom, beside the status line: no strip of the view's white shows
// under it, at the start or after the window changes size.
TEST_F(VornFrame, PaneStripReachesTheBottomBesideTheStatusLine)
{
    ScriptedHost host;
    ASSERT_NE(open_sample(host, "strip"), nullptr);
    const HWND strip = GetDlgItem(view->m_hWnd, IDC_PANE_STRIP);
    ASSERT_NE(strip, 0u);
    for (const SIZE size : {SIZE{0, 0}, SIZE{900, 640}}) {
        if (size.cx != 0)
            frame->MoveWindow(0, 0, size.cx, size.cy, TRUE);
        RECT rc{};
        GetClientRect(view->m_hWnd, &rc);
        RECT sr{};
        GetWindowRect(strip, &sr);
        POINT bottom{0, rc.bottom};
        ClientToScreen(view->m_hWnd, &bottom);
        EXPECT_GE(sr.bottom, bottom.y) << "the strip ends above the view's bottom";
        EXPECT_EQ(sr.right - sr.left, 125);
        RECT status{};
        GetWindowRect(view->status_line().m_hWnd, &status);
        EXPECT_EQ(status.left - sr.left, 125) << "the status line starts beside the strip";
        for (HWND w : {view->m_hWnd, strip, view->status_line().m_hWnd})
            UpdateWindow(w);
        PumpEvents(20);
        for (int y : {rc.bottom - 20, rc.bottom - 12, rc.bottom - 3})
            for (int x : {3, 60, 120})
                EXPECT_NE(GetShownPixel(view->m_hWnd, x, y), RGB(255, 255, 255)) << x << "," << y;
    }
    SaveWindowPng(frame->m_hWnd, png("frame_pane_strip.png").c_str());
}

// The bundled data has a learn file: Open offers its levels; the first level
// starts, the frame changes to the session menu and shows the panes.
TEST_F(VornFrame, OpenOffersTheLearnLevelsOfTheBundledScenario)
{
    ScriptedHost host;
    accept_story(host);
    start(kBundled);
    int buttons = 0;
    bool firstChecked = false;
    host.OnDialog(IDD_OPEN_SESSION, [&](HWND d) {
        for (int id = 100; id < 110; ++id)
            if (GetDlgItem(d, id) != 0)
                ++buttons;
        firstChecked = IsDlgButtonChecked(d, 100) == BST_CHECKED;
        SaveWindowPng(d, png("open_session.png").c_str());
        click(d, IDOK);
    });
    view->ExecuteCommand(ID_OPEN);
    EXPECT_EQ(buttons, 3) << "two levels and the last session";
    EXPECT_TRUE(firstChecked);
    ASSERT_NE(view->session(), nullptr);
    EXPECT_NE(view->session()->learn_session, 0);
    EXPECT_EQ(frame->loaded_menu, IDR_SESSION_MENU);
    EXPECT_EQ(GetMenuItemCount(GetMenu(frame->m_hWnd)), 5);
    for (int id : {ID_RUN, ID_STOP, ID_MARKETING, ID_PRODUCTION, ID_PURCHASING, ID_FINANCE})
        EXPECT_TRUE(visible(view->toolbar().FindButton(id))) << id;
    EXPECT_FALSE(visible(view->toolbar().FindButton(ID_RESTORE_HOLD)));
    EXPECT_EQ(view->toolbar().FindButton(ID_MARKETING)->GetState(), CBarButton::DOWN) << "first department";
    // The bundled configuration turns the timer off: no Timer pane or
    // field, and the panes below it move up by 50 pixels.
    for (int id = 201; id <= 207; ++id)
        EXPECT_EQ(visible(view->pane(id)), id != 203) << id;
    EXPECT_EQ(view->status_line().GetFieldCount(), 4);
    RECT r{};
    GetWindowRect(view->pane(204)->m_hWnd, &r);
    POINT p{r.left, r.top};
    ScreenToClient(GetParent(view->pane(204)->m_hWnd), &p);
    EXPECT_EQ(p.y, 188);
    SaveWindowPng(frame->m_hWnd, png("frame_learn_level.png").c_str());
}

TEST_F(VornFrame, CancelledOpenKeepsTheProgramWhereItWas)
{
    ScriptedHost host;
    start(kBundled);
    host.OnDialog(IDD_OPEN_SESSION, [](HWND d) { click(d, IDCANCEL); });
    view->ExecuteCommand(ID_OPEN);
    EXPECT_EQ(view->session(), nullptr);
    EXPECT_EQ(frame->loaded_menu, IDR_START_MENU);
}

// The main road: Open (file prompt), Run a week, the clock moves in idle
// time, Stop, Save, Open of the saved session, which resumes at the same
// moment.
TEST_F(VornFrame, RunStopSaveAndResume)
{
    ScriptedHost host;
    accept_story(host);
    const std::string folder = plain_data_folder("road");
    start(folder);
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    ASSERT_EQ(host.prompts().size(), 1u);
    EXPECT_EQ(host.prompts()[0].title, "Open Session");
    CVornView* s = view->session();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->learn_session, 0);
    EXPECT_EQ(window_title(frame), "VORNS Application - SAMPLE.VNB");
    // The departments' hand cursor is the program's own, ready for SetCursor.
    ASSERT_NE(s->hand_cursor, 0u);
    SetCursor(s->hand_cursor);
    EXPECT_EQ(GetCursor(), s->hand_cursor);
    const SimDateTime begin = s->clock.current;
    EXPECT_EQ(begin.day, 2);
    EXPECT_EQ(begin.month, 1);

    host.OnDialog(IDD_RUN, [](HWND d) {
        EXPECT_EQ(IsDlgButtonChecked(d, 1003), BST_CHECKED) << "Day is the default";
        click(d, 1002); // Week
        CheckDlgButton(d, 1003, BST_UNCHECKED);
        CheckDlgButton(d, 1002, BST_CHECKED);
        click(d, IDOK);
    });
    view->ExecuteCommand(ID_RUN);
    EXPECT_EQ(s->run_state, RUN_RUNNING);
    const int32_t ticks0 = s->tick_count;
    UpdateWindow(view->pane(207)->m_hWnd);
    idle(600);
    RECT profitPending{};
    EXPECT_TRUE(GetUpdateRect(view->pane(207)->m_hWnd, &profitPending, FALSE)) << "a new day redraws the Profit pane";
    EXPECT_EQ(s->tick_count, ticks0 + 600) << "one tick per idle pass while running";
    // One shift, 08:00 to 15:59, Monday 2 January onwards: 480 working
    // minutes a day, so 600 ticks are one day and two hours on.
    auto work_minute = [](const SimDateTime& d) { return (d.day - 2) * 480 + d.hour * 60 + d.minute - 480; };
    EXPECT_EQ(work_minute(s->clock.current) - work_minute(begin), 600);
    EXPECT_EQ(view->pane(201)->value_text(), "");  // the clock draws itself, no value text
    EXPECT_EQ(view->pane(204)->value_text(), "Run");
    EXPECT_EQ(view->status_line().GetField(1)->text, std::string("Run"));

    // The clock is drawn by the hour while running: at 10:00 it is drawn,
    // one minute on nothing asks for it, and the stop must.
    EXPECT_EQ(s->clock.current.minute, 0);
    UpdateWindow(view->pane(201)->m_hWnd);
    idle(1);
    EXPECT_EQ(s->clock.current.minute, 1);
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(view->pane(201)->m_hWnd, &pending, FALSE)) << "not drawn by the minute";
    EXPECT_EQ(view->status_line().GetField(1)->color, RGB(0, 255, 0)) << "the running state's own colour";
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_STOP, 0), 0);
    EXPECT_EQ(s->run_state, RUN_STOPPED);
    EXPECT_TRUE(GetUpdateRect(view->pane(201)->m_hWnd, &pending, FALSE)) << "the stop shows the minute";
    EXPECT_EQ(view->status_line().GetField(1)->text, std::string("Pause"));
    EXPECT_EQ(view->status_line().GetField(1)->color, RGB(192, 192, 192)) << "white shows as the line's grey";
    const int32_t stopped = s->tick_count;
    idle(50);
    EXPECT_EQ(s->tick_count, stopped) << "a stopped session does not tick";

    SaveWindowPng(frame->m_hWnd, png("frame_running.png").c_str());

    const SimDateTime savedAt = s->clock.current;
    host.ChoosePath(folder + "/week1");
    host.Answer(IDOK, "Save Session", "saved successfully", ScriptedHost::Match::Substring, 1);
    view->ExecuteCommand(ID_SAVE);
    EXPECT_TRUE(fs::exists(folder + "/week1.vnb"));
    EXPECT_TRUE(fs::exists(folder + "/week1.MGR"));

    host.ChoosePath(folder + "/week1.vnb");
    view->ExecuteCommand(ID_OPEN);
    CVornView* resumed = view->session();
    ASSERT_NE(resumed, nullptr);
    EXPECT_TRUE(resumed->resumed());
    EXPECT_EQ(window_title(frame), "VORNS Application - week1.vnb");
    EXPECT_EQ(resumed->clock.current.day, savedAt.day);
    EXPECT_EQ(resumed->clock.current.hour, savedAt.hour);
    EXPECT_EQ(resumed->clock.current.minute, savedAt.minute);
    // It runs on from there.
    view->ExecuteCommand(ID_RUN_ON_DAY);
    const int32_t t = resumed->tick_count;
    idle(5);
    EXPECT_EQ(resumed->tick_count, t + 5);
    EXPECT_EQ(host.boxes().size(), 1u) << (host.boxes().empty() ? "" : host.boxes().back().text);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_STOP, 0), 0);
    view->ExecuteCommand(ID_CLOSE_SESSION);
    EXPECT_EQ(view->session(), nullptr);
    EXPECT_EQ(window_title(frame), "VORNS Application");
}

// The story comes after the session's windows, in its own 10-point bold
// font, read from the top; the story is offered again in the fifth popup,
// and only by a scenario that names one.
TEST_F(VornFrame, StoryFollowsTheSessionsWindowsAndOnlyAStoryIsOffered)
{
    ScriptedHost host;
    const std::string folder = plain_data_folder("story");
    start(folder);
    bool panesShown = false, menuLoaded = false;
    LOGFONT font{};
    DWORD selection = 1;
    int stories = 0;
    host.OnDialog(IDD_BACKGROUND, [&](HWND d) {
        ++stories;
        panesShown = visible(view->pane(201)) && visible(view->toolbar().FindButton(ID_RUN));
        menuLoaded = frame->loaded_menu == IDR_SESSION_MENU;
        const HWND edit = GetDlgItem(d, 1198);
        GetObject(static_cast<HGDIOBJ>(SendMessage(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
        selection = static_cast<DWORD>(SendMessage(edit, EM_GETSEL, 0, 0));
        SaveWindowPng(d, png("background_story.png").c_str());
        click(d, IDOK);
    });
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    ASSERT_NE(view->session(), nullptr);
    EXPECT_EQ(stories, 1);
    EXPECT_TRUE(panesShown);
    EXPECT_TRUE(menuLoaded);
    EXPECT_GE(font.lfWeight, 700);
    EXPECT_EQ(font_points_of(font), 10);
    EXPECT_EQ(selection, 0u) << "caret at the start, nothing selected";
    auto offers_story = [&](int popup) {
        HMENU p = GetSubMenu(GetMenu(frame->m_hWnd), popup);
        for (int i = 0; i < GetMenuItemCount(p); ++i)
            if (GetMenuItemID(p, i) == static_cast<UINT>(ID_BACKGROUND_STORY))
                return true;
        return false;
    };
    EXPECT_TRUE(offers_story(4));
    EXPECT_FALSE(offers_story(0));
    view->ExecuteCommand(ID_BACKGROUND_STORY);
    EXPECT_EQ(stories, 2);

    // The same scenario naming no story.
    std::string text;
    {
        std::ifstream in(folder + "/SAMPLE.VNB", std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const size_t at = text.find("^story.txt^");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 11, "^-1^");
    std::ofstream(folder + "/NOSTORY.VNB", std::ios::binary) << text;
    host.ChoosePath(folder + "/NOSTORY.VNB");
    view->ExecuteCommand(ID_OPEN);
    ASSERT_NE(view->session(), nullptr);
    EXPECT_EQ(window_title(frame), "VORNS Application - NOSTORY.VNB");
    EXPECT_EQ(stories, 2);
    EXPECT_FALSE(offers_story(4));
    EXPECT_FALSE(offers_story(0));
}

// The Run toolbar button continues without a dialog while the run-until
// moment lies ahead; an unknown button id gets its box.
TEST_F(VornFrame, ToolbarRunContinuesWhenTheTargetLiesAhead)
{
    ScriptedHost host;
    accept_story(host);
    const std::string folder = plain_data_folder("toolbar");
    start(folder);
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    CVornView* s = view->session();
    ASSERT_NE(s, nullptr);
    view->ExecuteCommand(ID_RUN_ON_DAY);
    idle(3);
    view->ExecuteCommand(ID_STOP);
    ASSERT_TRUE(s->ContinueEnabled());
    view->SendMessage(WM_BUTTON_PRESSED, ID_RUN, 0); // no Run dialog is scripted: none may open
    EXPECT_EQ(s->run_state, RUN_RUNNING);
    EXPECT_TRUE(host.dialogs().empty() || host.dialogs().back().second != IDD_RUN);

    host.Answer(IDOK, "Button pressed", "Button Id: 4242", ScriptedHost::Match::Exact, 1);
    view->SendMessage(WM_BUTTON_PRESSED, 4242, 0);
    ASSERT_FALSE(host.boxes().empty());
    EXPECT_EQ(host.boxes().back().text, "Button Id: 4242");

    // Switching departments moves the toolbar's down button.
    view->SendMessage(WM_BUTTON_PRESSED, ID_FINANCE, 0);
    EXPECT_EQ(s->shown_command, ID_FINANCE);
    EXPECT_EQ(view->toolbar().FindButton(ID_FINANCE)->GetState(), CBarButton::DOWN);
    EXPECT_EQ(view->toolbar().FindButton(ID_MARKETING)->GetState(), CBarButton::UP);
}

// Ink columns of a window's surface: the first and last column holding a
// dark pixel between rows top and bottom (-1, -1 for none).
std::pair<int, int> ink_columns(HWND w, int top, int bottom)
{
    RECT rc{};
    GetClientRect(w, &rc);
    int first = -1, last = -1;
    for (int x = 0; x < rc.right; ++x)
        for (int y = top; y < bottom && y < rc.bottom; ++y) {
            const COLORREF c = GetSurfacePixel(w, x, y);
            if (GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    return {first, last};
}

// The toolbar's buttons have no pictures: each label stands in the middle
// of its face, up or down. The Status pane shows the run state's word in
// black on the state's colour (Pause on the pane's white), never a colour
// on grey.
TEST_F(VornFrame, ToolbarLabelsStandInTheMiddleAndTheStatusWordOnItsColour)
{
    ScriptedHost host;
    CVornView* s = open_sample(host, "looks");
    ASSERT_NE(s, nullptr);
    for (int id : {ID_OPEN, ID_RUN, ID_STOP, ID_MARKETING, ID_PRODUCTION, ID_PURCHASING, ID_FINANCE}) {
        CBarButton* b = view->toolbar().FindButton(id);
        ASSERT_NE(b, nullptr);
        UpdateWindow(b->m_hWnd);
        RECT rc{};
        b->GetClientRect(&rc);
        // Inside the bevel: the caption's ink only.
        const auto [first, last] = ink_columns(b->m_hWnd, 4, rc.bottom - 3);
        ASSERT_GE(first, 0) << b->GetCaption() << " shows no label";
        const int shift = b->GetState() == CBarButton::DOWN ? 2 : 0;
        const int left = first - shift, right = rc.right - 1 - (last - shift);
        EXPECT_LE(std::abs(left - right), 3) << b->GetCaption() << ": " << left << " left, " << right << " right";
    }
    SaveWindowPng(view->toolbar().m_hWnd, png("toolbar.png").c_str());

    CIndicatorPane* status = view->pane(204);
    const auto colours = [&]() {
        UpdateWindow(status->m_hWnd);
        std::set<COLORREF> seen;
        for (int y = 17; y < 40; ++y)
            for (int x = 5; x < 100; ++x)
                seen.insert(GetSurfacePixel(status->m_hWnd, x, y));
        return seen;
    };
    const auto has_ink = [](const std::set<COLORREF>& seen) {
        return std::any_of(seen.begin(), seen.end(),
                           [](COLORREF c) { return GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64; });
    };
    std::set<COLORREF> stopped = colours();
    EXPECT_TRUE(has_ink(stopped)) << "Pause is written in black";
    EXPECT_EQ(stopped.count(RGB(128, 128, 128)), 0u) << "no grey ground under Pause";
    view->ExecuteCommand(ID_RUN_ON_DAY);
    ASSERT_EQ(s->run_state, RUN_RUNNING);
    std::set<COLORREF> running = colours();
    EXPECT_TRUE(has_ink(running)) << "Run is written in black";
    EXPECT_EQ(running.count(RGB(0, 255, 0)), 1u) << "on the running state's green";
    EXPECT_EQ(running.count(RGB(128, 128, 128)), 0u);
    SaveWindowPng(status->m_hWnd, png("status_pane_running.png").c_str());
    view->ExecuteCommand(ID_STOP);
}

TEST_F(VornFrame, ClosingAsksUnlessOverAndRefusesInHold)
{
    ScriptedHost host;
    accept_story(host);
    const std::string folder = plain_data_folder("close");
    start(folder);
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    CVornView* s = view->session();
    ASSERT_NE(s, nullptr);

    host.Answer(IDNO, "VORNS", "Are you sure you want to exit?", ScriptedHost::Match::Exact, 1);
    frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame->m_hWnd)) << "No keeps it running";

    s->run_state = RUN_HOLD;
    host.Answer(IDYES, "VORNS", "Are you sure you want to exit?", ScriptedHost::Match::Exact, 1);
    host.Answer(IDOK, "VORNS", "Can't quit in HOLD state !", ScriptedHost::Match::Exact, 1);
    frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame->m_hWnd));
    EXPECT_EQ(view->session(), s);
    ASSERT_EQ(host.boxes().size(), 3u);
    EXPECT_EQ(host.boxes()[2].text, "Can't quit in HOLD state !");

    s->run_state = RUN_OVER;
    host.clear_records();
    HWND f = frame->m_hWnd;
    frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_TRUE(host.boxes().empty()) << "over: no question";
    EXPECT_FALSE(IsWindow(f));
    frame = nullptr;
}

// The real loop with the application's idle pump: ticks run in idle time,
// but none while a modal dialog is open.
int32_t g_ticksAtOpen = -1, g_ticksAtClose = -1;
CVornWindow* g_view = nullptr;
HWND g_dialog = 0;

void close_dialog(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    g_ticksAtClose = g_view->session()->tick_count;
    PostMessage(g_dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
void open_seed_dialog(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    g_view->PostMessage(WM_COMMAND, MAKEWPARAM(ID_CHANGE_SEED, 0), 0);
}
void quit(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    PostQuitMessage(0);
}

TEST_F(VornFrame, NoTickWhileAModalDialogIsOpen)
{
    ScriptedHost host;
    accept_story(host);
    const std::string folder = plain_data_folder("modal");
    start(folder);
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    CVornView* s = view->session();
    ASSERT_NE(s, nullptr);
    host.OnDialog(IDD_RUN, [](HWND d) { click(d, IDOK); });
    view->ExecuteCommand(ID_RUN); // Day
    ASSERT_EQ(s->run_state, RUN_RUNNING);
    g_view = view;
    host.OnDialog(IDD_CHANGE_SEED, [](HWND d) {
        g_dialog = d;
        g_ticksAtOpen = g_view->session()->tick_count;
        SetTimer(0, 0, 300, close_dialog);
    });
    const int32_t before = s->tick_count;
    SetTimer(0, 0, 50, open_seed_dialog);
    SetTimer(0, 0, 700, quit);
    SetIdleHandler([this](LONG count) { return app->OnIdle(count); });
    RunMessageLoop();
    SetIdleHandler(nullptr);
    ASSERT_GE(g_ticksAtOpen, 0) << "the dialog opened";
    EXPECT_GT(g_ticksAtOpen, before) << "ticks ran in idle time before the dialog";
    EXPECT_EQ(g_ticksAtClose, g_ticksAtOpen) << "none while it was open";
    EXPECT_GE(s->tick_count, g_ticksAtClose);
}

} // namespace

namespace {

// The first About box closed with OK leads into Open; a later one does not.
TEST_F(VornFrame, FirstAboutOkStartsOpenOnlyOnce)
{
    ScriptedHost host;
    start(kBundled);
    std::string caption;
    host.OnDialog(IDD_ABOUT, [&](HWND d) {
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        click(d, IDOK);
    });
    int opened = 0;
    host.OnDialog(IDD_OPEN_SESSION, [&](HWND d) {
        ++opened;
        click(d, IDCANCEL);
    });
    show_about_box(view, app->configuration, true);
    EXPECT_EQ(caption, "About VORNS");
    MSG msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
    EXPECT_EQ(opened, 1);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0), 0);
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
    EXPECT_EQ(opened, 1) << "the Help menu's About box does not open";
}

TEST_F(VornFrame, ChangeSeedDialogShowsAndSetsTheSeed)
{
    ScriptedHost host;
    accept_story(host);
    const std::string folder = plain_data_folder("seed");
    start(folder);
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    CVornView* s = view->session();
    ASSERT_NE(s, nullptr);
    std::string shown;
    host.OnDialog(IDD_CHANGE_SEED, [&](HWND d) {
        char text[32] = {};
        GetDlgItemText(d, 1258, text, sizeof text);
        shown = text;
        SetDlgItemText(d, 1258, "4711");
        click(d, IDOK);
    });
    view->ExecuteCommand(ID_CHANGE_SEED);
    EXPECT_EQ(shown, "12345") << "the sample scenario's seed";
    EXPECT_EQ(s->random_seed, 4711);
}

} // namespace

// Dialogs made without a view (the graph-dialog base, Forecast Range, Guided
// Runs) find the program's view: during a session they centre right of the
// panes, stand on its dialog stack, and closing the session closes them.
TEST_F(VornFrame, DialogsMadeWithoutAViewJoinTheSessionsView)
{
    ScriptedHost host;
    accept_story(host);
    const std::string folder = plain_data_folder("registry");
    start(folder);
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    ASSERT_NE(view->session(), nullptr);
    bool onStack = false;
    RECT placed{}, desktop{};
    host.OnDialog(IDD_FORECAST_RANGE, [&](HWND d) {
        onStack = view->dialogs().contains(d);
        GetWindowRect(d, &placed);
        GetWindowRect(GetDesktopWindow(), &desktop);
        // The session's close asks the open dialog to go.
        view->ExecuteCommand(ID_CLOSE_SESSION);
    });
    CForecastRangeDlg dlg(view);
    dlg.DoModal();
    EXPECT_TRUE(onStack);
    const POINT expected =
        sim_dialog_position(desktop, placed.right - placed.left, placed.bottom - placed.top, true);
    EXPECT_EQ(placed.left, expected.x);
    EXPECT_EQ(placed.top, expected.y);
    EXPECT_TRUE(view->dialogs().all().empty());
    idle(1);
    EXPECT_EQ(view->session(), nullptr) << "the close went ahead once the dialog had gone";
}

// The language file is read when the view is made and again at each
// session start; the program's three fonts follow its "Font" line once the
// loop runs.
TEST_F(VornFrame, TheLanguageFileIsReadAtCreationAndAtEachSessionStart)
{
    ScriptedHost host;
    accept_story(host);
    const std::string folder = plain_data_folder("lang");
    std::ofstream(folder + "/vorn.lng", std::ios::binary) << "Font=DejaVu Sans=\nOpen=Ouvrir=\n";
    start(folder);
    char caption[64] = {};
    GetWindowText(view->toolbar().FindButton(ID_OPEN)->m_hWnd, caption, sizeof caption);
    EXPECT_STREQ(caption, "Ouvrir");
    EXPECT_EQ(gfx_font(HFONT{0}), 0u) << "the fonts wait for the loop";
    MSG msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        const HFONT font = gfx_font(static_cast<HFONT>(index));
        ASSERT_NE(font, 0u);
        LOGFONT lf{};
        ASSERT_GT(GetObject(font, sizeof lf, &lf), 0);
        EXPECT_STREQ(lf.lfFaceName, "DejaVu Sans");
        EXPECT_EQ(lf.lfWeight >= 700, index == 0);
    }
    EXPECT_TRUE(host.dialogs().empty()) << "no About box when the program is told not to";

    std::ofstream(folder + "/vorn.lng", std::ios::binary) << "Font=DejaVu Sans=\nRun=Courir=\n";
    host.ChoosePath(folder + "/SAMPLE.VNB");
    view->ExecuteCommand(ID_OPEN);
    ASSERT_NE(view->session(), nullptr);
    EXPECT_STREQ(lang_translate("Run"), "Courir") << "read again by the session's start";
    EXPECT_STREQ(lang_translate("Open"), "Open");
}

// A story that is a help file opens help over the desktop less a margin of
// 50 pixels, the window's frame counted in.
TEST_F(VornFrame, AHelpStoryOpensHelpOverTheDesktopLessAMargin)
{
    ScriptedHost host;
    start(kBundled);
    view->show_story("vorn.hlp");
    const SIZE desk = DesktopSize();
    char where[64] = {};
    GetProfileString("Windows Help", "M_WindowPosition", "", where, sizeof where);
    EXPECT_EQ(std::string(where), "[50,50," + std::to_string(desk.cx - 100) + "," + std::to_string(desk.cy - 100) + ",0]");
    RECT r{};
    ASSERT_TRUE(GetHelpViewerRect(&r));
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right, desk.cx - 50);
    EXPECT_EQ(r.bottom, desk.cy - 50);
    WinHelp(0, "vorn.hlp", HELP_QUIT, 0);
    EXPECT_TRUE(host.boxes().empty());
}
