// Playback through the player's real link calls against real windows of
// the layer in this process: a dialog-like window "Order" with an edit, a
// combo box, a list box and a check box, and a frame with a menu bar.
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/menu.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "plat/window.h"
#include "steplay/player.h"
#include "support/fake_link.h"
#include "support/tutor_test_support.h"
#include "tutor/command_file.h"
#include <gtest/gtest.h>
#include <unistd.h>

using namespace plat;

namespace {

constexpr int kEdit = 1002;
constexpr int kCombo = 1003;
constexpr int kList = 1004;
constexpr int kCheck = 1001;

// The notices the window's controls send it, and the commands posted to it.
std::vector<std::pair<WORD, WORD>> g_notices;  // (control id, code)
LRESULT order_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND) {
        g_notices.emplace_back(LOWORD(wp), HIWORD(wp));
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

void pump()
{
    MSG msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

struct LayerLinkFixture : ::testing::Test {
    static void SetUpTestSuite()
    {
        InitGui();
        WNDCLASS wc;
        wc.lpfnWndProc = &order_proc;
        wc.lpszClassName = "TutorOrderWindow";
        RegisterClass(&wc);
    }
    void SetUp() override
    {
        g_notices.clear();
        order = CreateWindow("TutorOrderWindow", "Order", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 400, 300, 0, 0, 0,
                             nullptr);
        const DWORD child = WS_CHILD | WS_VISIBLE;
        edit = CreateWindow("EDIT", "", child | ES_AUTOHSCROLL, 10, 10, 100, 20, order, kEdit, 0, nullptr);
        combo = CreateWindow("COMBOBOX", "", child | CBS_DROPDOWNLIST, 10, 40, 100, 120, order, kCombo, 0, nullptr);
        list = CreateWindow("LISTBOX", "", child | LBS_NOTIFY, 10, 70, 100, 80, order, kList, 0, nullptr);
        check = CreateWindow("BUTTON", "Silent", child | BS_AUTOCHECKBOX, 10, 160, 100, 20, order, kCheck, 0,
                             nullptr);
        for (const char* s : {"XA", "XB"}) {
            SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
            SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        }
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("XC"));
        pump();
        g_notices.clear();
        host.Answer(IDOK, "");
    }
    void TearDown() override
    {
        DestroyWindow(order);
        pump();
    }
    void play(const std::string& text, HWND simulator)
    {
        CommandFileParser parser(false);
        parser.feed_text(text);
        playback.set_commands(parser.take());
        playback.on_control(TUTOR_CONTROL_START, static_cast<LPARAM>(LOWORD(simulator)));
    }

    HWND order = 0, edit = 0, combo = 0, list = 0, check = 0;
    ScriptedHost host;
    LayerLink link;
    tutortest::FakeWindow window;
    Playback playback{link, window};
};

} // namespace

TEST_F(LayerLinkFixture, DialogCommandsReachTheRealControls)
{
    play("[SetEditText]\nOrder,1002,25,more\n"
         "[SelectCombo]\nOrder,1003,1\n"
         "[SelectList]\nOrder,1004,2\n"
         "[CheckButton]\nOrder,1001,0\n"
         "[CLickButton]\nOrder,1005\n",
         order);
    EXPECT_EQ(playback.current(), 4);
    char text[32] = {};
    GetWindowText(edit, text, sizeof text);
    EXPECT_STREQ(text, "25");
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), 1) << "clicked";
    // The edit told its window; the selections were silent; the click on
    // the check box notified; the command for 1005 is still on its way.
    const std::vector<std::pair<WORD, WORD>> sent = g_notices;
    EXPECT_NE(std::find(sent.begin(), sent.end(), std::make_pair(WORD(kEdit), EN_CHANGE)), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), std::make_pair(WORD(kCheck), BN_CLICKED)), sent.end());
    for (const auto& [id, code] : sent) {
        EXPECT_NE(id, kCombo) << "no notice from the combo box";
        EXPECT_NE(id, kList) << "no notice from the list box";
        EXPECT_NE(id, 1005) << "posted, not sent";
    }
    pump();
    EXPECT_EQ(g_notices.back(), std::make_pair(WORD(1005), WORD(0)));
    EXPECT_TRUE(host.boxes().empty());
}

TEST_F(LayerLinkFixture, WindowsAreFoundByTheirWholeTitle)
{
    play("[CloseWindow]\nOrd\n", order);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unable to find window: Ord");
    EXPECT_TRUE(IsWindow(order));
    host.clear_records();
    // Found, and closed before playback goes on.
    play("[CloseWindow]\nOrder\n[ShowText]\nnext\n", order);
    EXPECT_FALSE(IsWindow(order));
    EXPECT_EQ(window.text, "next\r\n");
    EXPECT_TRUE(host.boxes().empty());
}

TEST_F(LayerLinkFixture, ShowMenuWithoutMenuOrPopup)
{
    // The "simulator" has no menu bar.
    play("[ShowMenu]\n0,10,10\n", order);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unable to find app's menu");
    EXPECT_EQ(host.boxes()[0].caption, "'ShowMenu' command");
    host.clear_records();

    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, 9001, "First");
    AppendMenu(bar, MF_POPUP, popup, "Only");
    SetMenu(order, bar);
    play("[ShowMenu]\n3,10,10\n", order);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unable to find sub menu");
}

TEST_F(LayerLinkFixture, OpenFileLooksForTheFileAsTheProgramsSpellIt)
{
    tutortest::TempDir dir;
    tutortest::write_bytes(dir / "Sample.Vnb", "x");
    EXPECT_TRUE(link.file_exists(dir / "SAMPLE.VNB"));
    EXPECT_FALSE(link.file_exists(dir / "OTHER.VNB"));
    EXPECT_FALSE(link.file_exists(dir.path.string())) << "a folder is no file to open";
}
