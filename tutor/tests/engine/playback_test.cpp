// Playback over a fake simulator: where it waits, what each command does
// to the simulator's windows, and where it stops.
#include "plat/controls.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "support/fake_link.h"
#include "tutor/command_file.h"
#include <gtest/gtest.h>

using tutortest::FakeLink;
using tutortest::FakeWindow;

namespace {

constexpr plat::HWND kSim = 0x0042;
constexpr plat::HWND kOrder = 0x0050;
constexpr plat::HWND kCombo = 0x0051;
constexpr plat::HWND kEdit = 0x0052;
constexpr plat::HWND kCheck = 0x0053;
constexpr plat::HWND kList = 0x0054;

struct PlaybackFixture : ::testing::Test {
    plat::ScriptedHost host;
    FakeLink link;
    FakeWindow window;
    Playback play{link, window};

    PlaybackFixture()
    {
        host.Answer(plat::IDOK, "");
        link.windows["Order"] = kOrder;
        link.children[{kOrder, 1003}] = kCombo;
        link.children[{kOrder, 1002}] = kEdit;
        link.children[{kOrder, 1001}] = kCheck;
        link.children[{kOrder, 1004}] = kList;
    }
    void commands(const std::string& text)
    {
        CommandFileParser parser(false);
        parser.feed_text(text);
        play.set_commands(parser.take());
    }
    void start() { play.on_control(TUTOR_CONTROL_START, static_cast<plat::LPARAM>(kSim)); }
    size_t requests() const
    {
        size_t n = 0;
        for (const auto& c : link.calls)
            n += c.what == "post" && c.msg == WM_TUTOR_REQUEST && c.wParam == TUTOR_REQUEST_EXECUTE ? 1 : 0;
        return n;
    }
    std::vector<std::string> boxes() const
    {
        std::vector<std::string> out;
        for (const auto& b : host.boxes())
            out.push_back(b.caption + ": " + b.text);
        return out;
    }
};

} // namespace

TEST_F(PlaybackFixture, NothingRunsBeforeTheStartNoticeAndTextsGoOnAtOnce)
{
    commands("[ShowText]\nOne\n[ShowText]\nTwo\n[ConfirmText]\nThree\n[ShowText]\nFour\n");
    play.on_continue();
    play.on_timer();
    EXPECT_EQ(play.current(), -1);
    EXPECT_EQ(window.text, "");

    // The handle is the low 16 bits of lParam.
    play.on_control(TUTOR_CONTROL_START, static_cast<plat::LPARAM>(0x7FFF0000 | kSim));
    EXPECT_EQ(play.simulator(), kSim);
    EXPECT_EQ(play.current(), 2) << "two texts at once, then the confirm waits";
    EXPECT_EQ(window.text, "Three\r\n");
    EXPECT_EQ(window.continue_enabled, 1);
    play.on_continue();
    EXPECT_EQ(play.current(), 3);
    EXPECT_EQ(window.text, "Four\r\n");
    // Past the end nothing more happens.
    play.on_continue();
    EXPECT_EQ(play.current(), 3);
}

TEST_F(PlaybackFixture, HandOverWaitsForTheResumeAndThenTheTimer)
{
    commands("[CloseCurrentWindow]\n[ShowText]\nAfter\n");
    start();
    EXPECT_EQ(play.current(), 0);
    ASSERT_EQ(link.calls.size(), 3u);
    EXPECT_EQ(link.calls[0].what, "store");
    EXPECT_EQ(link.calls[0].code, TUTOR_CLOSE_WINDOW);
    EXPECT_EQ(link.calls[1].what, "activate");
    EXPECT_EQ(link.calls[1].window, kSim);
    EXPECT_EQ(link.calls[2].what, "post");
    EXPECT_EQ(link.calls[2].msg, WM_TUTOR_REQUEST);
    EXPECT_EQ(link.calls[2].wParam, TUTOR_REQUEST_EXECUTE);
    EXPECT_EQ(window.text, "") << "waits for the simulator";

    // The resume notice (code in lParam, unused) starts the 250 ms timer.
    play.on_control(TUTOR_CONTROL_DONE, TUTOR_CLOSE_WINDOW);
    EXPECT_EQ(window.timer, TUTOR_RESUME_MS);
    EXPECT_EQ(window.text, "");
    play.on_timer();
    EXPECT_EQ(window.timer, 0u);
    EXPECT_EQ(window.text, "After\r\n");
    // Other control values do nothing.
    play.on_control(7, 0);
    EXPECT_EQ(window.timer, 0u);
}

TEST_F(PlaybackFixture, DelaysAndMenuCommands)
{
    commands("[Delay]\n600\n[ExecMenu]\n32779\n[Delay]\n0\n[Delay]\n-5\n[ShowText]\nend\n");
    start();
    EXPECT_EQ(window.timer, 600u);
    play.on_timer();
    EXPECT_EQ(link.posts_to(kSim), (std::vector<std::pair<plat::UINT, plat::WPARAM>>{{plat::WM_COMMAND, 32779}}));
    EXPECT_EQ(window.timer, TUTOR_RESUME_MS);
    play.on_timer();
    // Delay 0: no timer, playback waits for Continue (Alt+C).
    EXPECT_EQ(play.current(), 2);
    EXPECT_EQ(window.timer, 0u);
    play.on_continue();
    EXPECT_EQ(play.current(), 3);
    EXPECT_EQ(window.timer, 0u) << "a negative delay waits like 0";
    play.on_continue();
    EXPECT_EQ(window.text, "end\r\n");
}

TEST_F(PlaybackFixture, UnknownCommandAndMissingWindowStopPlayback)
{
    commands("[ShowText]\nA\n[Bogus]\n[ShowText]\nB\n");
    start();
    EXPECT_EQ(play.current(), 1);
    EXPECT_EQ(window.text, "A\r\n");
    host.clear_records();

    commands("[CLickButton]\nNowhere,1\n[ShowText]\nB\n");
    start();
    EXPECT_EQ(play.current(), 0);
    EXPECT_EQ(window.text, "A\r\n") << "stopped at the click";
    EXPECT_EQ(boxes(), std::vector<std::string>{"Execute Command: Unable to find window: Nowhere"});
    EXPECT_EQ(host.boxes()[0].type & plat::MB_ICONSTOP, plat::MB_ICONSTOP);

    // A new start notice starts again from the first command.
    link.windows["Nowhere"] = 0x77;
    start();
    EXPECT_EQ(play.current(), 1);
    EXPECT_EQ(window.text, "B\r\n");
}

TEST_F(PlaybackFixture, DialogCommands)
{
    commands("[SetEditText]\nOrder,1002,25,more\n"
             "[SelectCombo]\nOrder,1003,1\n"
             "[SelectList]\nOrder,1004,2\n"
             "[CheckButton]\nOrder,1001,1\n"
             "[CLickButton]\nOrder,1005\n"
             "[SetEditText]\nOrder,9999,no such control\n"
             "[CloseWindow]\nOrder\n");
    start();
    EXPECT_EQ(play.current(), 6);
    ASSERT_EQ(link.calls.size(), 6u);
    EXPECT_EQ(link.calls[0].window, kEdit);
    EXPECT_EQ(link.calls[0].msg, plat::WM_SETTEXT);
    EXPECT_EQ(link.calls[0].text, "25") << "field 3 ends at the next comma";
    EXPECT_EQ(link.calls[1].window, kCombo);
    EXPECT_EQ(link.calls[1].msg, plat::CB_SETCURSEL);
    EXPECT_EQ(link.calls[1].wParam, 1u);
    EXPECT_EQ(link.calls[2].window, kList);
    EXPECT_EQ(link.calls[2].msg, plat::LB_SETCURSEL);
    EXPECT_EQ(link.calls[2].wParam, 2u);
    EXPECT_EQ(link.calls[3].window, kCheck);
    EXPECT_EQ(link.calls[3].msg, plat::BM_CLICK);
    EXPECT_EQ(link.calls[3].wParam, 1u);
    EXPECT_EQ(link.calls[4].what, "post");
    EXPECT_EQ(link.calls[4].window, kOrder);
    EXPECT_EQ(link.calls[4].msg, plat::WM_COMMAND);
    EXPECT_EQ(link.calls[4].wParam, 1005u);
    EXPECT_EQ(link.calls[5].what, "send");
    EXPECT_EQ(link.calls[5].window, kOrder);
    EXPECT_EQ(link.calls[5].msg, plat::WM_CLOSE);
    EXPECT_TRUE(host.boxes().empty());
}

TEST_F(PlaybackFixture, OpenFileAndTheSimulatorsWalks)
{
    commands("[OpenFile]\nSAMPLE.VNB\n[SimulateExecMenu]\n2,120,40,1\n[SimulateSelectCombo]\nOrder,1003,1\n"
             "[OpenFile]\nMISSING.VNB\n[ShowText]\nnot reached\n");
    link.files = {"SAMPLE.VNB"};
    start();
    EXPECT_EQ(requests(), 1u);
    EXPECT_EQ(link.calls[0].code, TUTOR_OPEN_FILE);
    EXPECT_EQ(link.calls[0].text, "SAMPLE.VNB");
    play.on_control(TUTOR_CONTROL_DONE, 1);
    play.on_timer();
    EXPECT_EQ(requests(), 2u);
    EXPECT_EQ(window.captures_released, 1);
    play.on_control(TUTOR_CONTROL_DONE, 13);
    play.on_timer();
    EXPECT_EQ(requests(), 3u);
    EXPECT_EQ(window.captures_released, 2);
    play.on_control(TUTOR_CONTROL_DONE, 17);
    play.on_timer();
    EXPECT_EQ(requests(), 3u) << "a missing file is not handed over";
    EXPECT_EQ(boxes(), (std::vector<std::string>{"File not exist: File MISSING.VNB not exist", "Wizard: Unable to open file"}));
    EXPECT_EQ(window.text, "");
}

TEST_F(PlaybackFixture, FailedStoreShowsABoxAndPostsNothing)
{
    commands("[CloseCurrentWindow]\n[ShowText]\nnot reached\n");
    link.store_fails = true;
    start();
    EXPECT_EQ(requests(), 0u);
    EXPECT_TRUE(link.posts_to(kSim).empty());
    EXPECT_EQ(boxes(), std::vector<std::string>{std::string(STEPLAY_TITLE) + ": Unable to write command binary file STEPBIN.CMD"});
    EXPECT_EQ(window.text, "");
    EXPECT_EQ(window.timer, 0u);
}

TEST_F(PlaybackFixture, ShowMenu)
{
    struct Case {
        TutorLink::Popup answer;
        std::string args;
        std::vector<std::string> boxes;
        plat::LPARAM point;
    };
    const Case cases[] = {
        {TutorLink::Popup::Shown, "2,300,20", {}, 300 * 100000 + 20},
        {TutorLink::Popup::Shown, "2", {}, -1 * 100000 - 1},
        {TutorLink::Popup::NoMenu, "2,300,20", {"'ShowMenu' command: Unable to find app's menu"}, 300 * 100000 + 20},
        {TutorLink::Popup::NoPopup, "9,300,20", {"'ShowMenu' command: Unable to find sub menu"}, 300 * 100000 + 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        host.clear_records();
        link.calls.clear();
        link.popup_answer = c.answer;
        commands("[ShowMenu]\n" + c.args + "\n[ShowText]\nnever by itself\n");
        start();
        ASSERT_EQ(link.calls.size(), 1u);
        EXPECT_EQ(link.calls[0].what, "popup");
        EXPECT_EQ(link.calls[0].window, kSim);
        EXPECT_EQ(link.calls[0].wParam, static_cast<plat::WPARAM>(std::stoi(c.args)));
        EXPECT_EQ(link.calls[0].lParam, c.point);
        EXPECT_EQ(boxes(), c.boxes);
        EXPECT_EQ(play.current(), 0);
    }
}

TEST(Placement, OnA1024By768Desktop)
{
    const plat::RECT desk{0, 0, 1024, 768};
    auto xywh = [](const plat::RECT& r) {
        return std::vector<long>{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    EXPECT_EQ(xywh(default_placement(desk, true)), (std::vector<long>{5, 140, 215, 470}));
    EXPECT_EQ(xywh(default_placement(desk, false)), (std::vector<long>{120, 614, 904, 154}));
    EXPECT_EQ(xywh(confirm_continue_placement(desk)), (std::vector<long>{824, 712, 200, 56}));
    const plat::RECT strip = default_placement(desk, false);
    EXPECT_EQ(xywh(position_wizard_placement(desk, strip, 500, 500)), (std::vector<long>{512, 384, 904, 154}));
    EXPECT_EQ(xywh(position_wizard_placement(desk, strip, 333, 999)), (std::vector<long>{340, 767, 904, 154}));
    EXPECT_EQ(xywh(position_wizard_placement(desk, strip, -1, 0)), (std::vector<long>{-1, 0, 904, 154}))
        << "the engine's caller takes -1 as the default placement";
}

TEST_F(PlaybackFixture, PlacementCommands)
{
    commands("[ConfirmContinue]\n[PositionWizard]\n500,500\n[PositionWizard]\n-1,0\n");
    start();
    ASSERT_EQ(window.placed.size(), 1u);
    EXPECT_EQ(window.placed[0].left, 824);
    EXPECT_EQ(window.placed[0].top, 712);
    EXPECT_EQ(window.continue_enabled, 1);
    play.on_continue();
    ASSERT_EQ(window.placed.size(), 3u);
    // 500,500 keeps ConfirmContinue's 200 x 56; -1 gives back the strip.
    EXPECT_EQ(window.placed[1].left, 512);
    EXPECT_EQ(window.placed[1].top, 384);
    EXPECT_EQ(window.placed[1].right - window.placed[1].left, 200);
    EXPECT_EQ(window.placed[2].left, 120);
    EXPECT_EQ(window.placed[2].top, 614);
    EXPECT_EQ(window.placed[2].right, 1024);
    EXPECT_EQ(window.clips, 2);
}
