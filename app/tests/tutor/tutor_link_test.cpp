// The link with the tutorial player, seen from a fake player window: the
// start handshake, resume and quit messages, the hand-off file, and the
// end of a session while a player runs.
#include "tutor/fake_player.h"
#include "app/tutor_link.h"
#include "app/view.h"
#include "plat/config.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "support/driver.h"
#include "support/scenario.h"
#include <gtest/gtest.h>
#include <unistd.h>

using namespace plat;

namespace {

void pump()
{
    MSG msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

struct TutorLink : ::testing::Test {
    static void SetUpTestSuite() { InitGui(); }
    void TearDown() override
    {
        set_tutor_launcher(nullptr);
        SetTutorWindow(0);
        SetTutorPendingCode(0);
        pump();
    }
};

TEST_F(TutorLink, ResumeAnswersOnlyAPendingCodeAndAlwaysClearsIt)
{
    FakePlayer player;
    SetTutorPendingCode(13);
    ResumeTutorial(); // no player known yet
    EXPECT_EQ(GetTutorPendingCode(), 0);

    SetTutorWindow(player.hwnd);
    ResumeTutorial(); // code 0
    EXPECT_EQ(GetTutorPendingCode(), 0);
    SetTutorPendingCode(17);
    ResumeTutorial();
    EXPECT_EQ(GetTutorPendingCode(), 0);
    ResumeTutorial(); // cleared: nothing more
    EXPECT_TRUE(player.got.empty()) << "posted, not sent";
    pump();
    ASSERT_EQ(player.got.size(), 1u);
    EXPECT_EQ(player.resumed(), std::vector<LPARAM>{17});
}

TEST_F(TutorLink, CloseTutorialQuitsThePlayerAndForgetsIt)
{
    FakePlayer player;
    CloseTutorial(); // none known: nothing
    pump();
    EXPECT_TRUE(player.got.empty());

    SetTutorWindow(player.hwnd);
    CloseTutorial();
    EXPECT_EQ(GetTutorWindow(), 0u);
    pump();
    EXPECT_EQ(player.count(WM_QUIT), 1);
    CloseTutorial();
    pump();
    EXPECT_EQ(player.count(WM_QUIT), 1);
}

// The launcher stands for the program start: it sees the command line and
// answers as WinExec does (33 started, 2 not found).
TEST_F(TutorLink, StartHandsThePlayerTheMainWindowInSixteenBits)
{
    std::vector<std::string> lines;
    std::unique_ptr<FakePlayer> player;
    set_tutor_launcher([&](const char* line, UINT show) -> UINT {
        lines.push_back(line);
        EXPECT_EQ(show, static_cast<UINT>(SW_SHOWNORMAL));
        player = std::make_unique<FakePlayer>();
        return 33;
    });
    const HWND main = 0x00012345; // only its low 16 bits cross
    const HWND got = StartTutorial(main, "VORNS Tutorial", "steplay.cmd");
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(got, player->hwnd);
    EXPECT_EQ(GetTutorWindow(), player->hwnd);
    ASSERT_EQ(player->got.size(), 1u) << "sent: handled before the start returns";
    EXPECT_EQ(player->got[0].msg, WM_TUTOR_CONTROL);
    EXPECT_EQ(player->got[0].wParam, 1u);
    EXPECT_EQ(player->got[0].lParam, 0x2345);
    char title[64] = {};
    GetWindowText(player->hwnd, title, sizeof title);
    EXPECT_STREQ(title, "VORNS Tutorial");

    player.reset();
    EXPECT_NE(StartTutorial(main, "Decisions", nullptr), 0u);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Steplay32.EXE steplay.cmd");
    EXPECT_EQ(lines[1], "Steplay32.EXE") << "no command file: the decision browser";
}

TEST_F(TutorLink, StartFailsWhenTheProgramOrItsWindowIsMissing)
{
    FakePlayer running;
    SetTutorWindow(running.hwnd);
    set_tutor_launcher([](const char*, UINT) -> UINT { return 2; });
    EXPECT_EQ(StartTutorial(1, "VORNS Tutorial", "steplay.cmd"), 0u);
    EXPECT_EQ(GetTutorWindow(), running.hwnd) << "not started: the known player stays";

    // Started, but no window of that title comes up.
    SetWindowText(running.hwnd, "Something else");
    set_tutor_launcher([](const char*, UINT) -> UINT { return 33; });
    EXPECT_EQ(StartTutorial(1, "VORNS Tutorial", "steplay.cmd"), 0u);
    EXPECT_EQ(GetTutorWindow(), 0u);
    EXPECT_TRUE(running.got.empty());
}

// A second start quits the player that runs once the new one has started;
// a start that fails leaves it running.
TEST_F(TutorLink, SecondStartQuitsTheFirstPlayer)
{
    std::vector<std::unique_ptr<FakePlayer>> players;
    set_tutor_launcher([&](const char*, UINT) -> UINT {
        players.push_back(std::make_unique<FakePlayer>());
        return 33;
    });
    ASSERT_NE(StartTutorial(1, "VORNS Tutorial", "steplay.cmd"), 0u);
    ASSERT_NE(StartTutorial(1, "Decisions", nullptr), 0u);
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(GetTutorWindow(), players[1]->hwnd);
    pump();
    EXPECT_EQ(players[0]->count(WM_QUIT), 1);
    EXPECT_EQ(players[1]->count(WM_QUIT), 0);
}

// A player whose window has gone is forgotten; its closing notice may still
// come once.
TEST_F(TutorLink, DeadPlayerIsForgottenButItsNoticeCountsOnce)
{
    auto player = std::make_unique<FakePlayer>();
    SetTutorWindow(player->hwnd);
    EXPECT_EQ(GetTutorWindow(), player->hwnd);
    SetTutorPendingCode(16);
    player.reset();
    EXPECT_EQ(GetTutorWindow(), 0u);
    ResumeTutorial();
    EXPECT_EQ(GetTutorPendingCode(), 0);
    EXPECT_TRUE(TakeTutorClosingNotice());
    EXPECT_FALSE(TakeTutorClosingNotice());

    // Closed by the simulator: no notice is expected any more.
    auto next = std::make_unique<FakePlayer>();
    SetTutorWindow(next->hwnd);
    next.reset();
    EXPECT_EQ(GetTutorWindow(), 0u);
    CloseTutorial();
    EXPECT_FALSE(TakeTutorClosingNotice());
}

// Through the layer's program start: with no player program beside the
// test nor on the path, the start fails.
TEST_F(TutorLink, StartWithNoPlayerProgramAnswersZero)
{
    if (access((ExecutableDir() + "/steplay32").c_str(), F_OK) == 0)
        GTEST_SKIP() << "a player program is built beside the tests";
    const std::string path = getenv("PATH") != nullptr ? getenv("PATH") : "";
    setenv("PATH", "/nonexistent", 1);
    const HWND got = StartTutorial(1, "VORNS Tutorial", "steplay.cmd");
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(GetTutorWindow(), 0u);
}

struct StepFile : TutorLink {
    TempDir dir;
    std::string previous;
    ScriptedHost host;
    void SetUp() override
    {
        char cwd[4096] = {};
        previous = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";
        ASSERT_EQ(chdir(dir.path().c_str()), 0);
    }
    void TearDown() override
    {
        EXPECT_EQ(chdir(previous.c_str()), 0);
        TutorLink::TearDown();
    }
};

TEST_F(StepFile, ReadsTheRecordFromTheWorkingFolderWhateverItsCase)
{
    write_step_file(dir / "stepbin.cmd", step_record(17, "Decisions,1001,3"));
    CommandRecord r;
    ASSERT_TRUE(ReadStepFile(r));
    EXPECT_EQ(r.code, 17);
    EXPECT_EQ(r.text, "Decisions,1001,3");
    EXPECT_TRUE(host.boxes().empty());
}

TEST_F(StepFile, ShortOrMissingFileIsRefusedWithItsBox)
{
    host.Answer(IDOK, "", "Unable to read command binary file");
    CommandRecord r;
    r.code = 5;
    EXPECT_FALSE(ReadStepFile(r)) << "missing";
    std::string shortRecord = step_record(1, "SAMPLE.VNB").substr(0, 1000);
    write_step_file(dir / "STEPBIN.CMD", shortRecord);
    EXPECT_FALSE(ReadStepFile(r)) << "1000 bytes";
    EXPECT_EQ(r.code, 5) << "nothing taken from a short record";
    EXPECT_EQ(host.boxes().size(), 2u);
}

// The end of a session shows no box while a player runs: the scripted host
// fails on any box it was not told of.
TEST(TutorSessionEnd, NoSimulationOverBoxWhileAPlayerRuns)
{
    InitGui();
    TempDir dir;
    FakePlayer player;
    SetTutorWindow(player.hwnd);
    SessionDriver driver;
    DriverOptions o;
    o.config.timer_enabled = false;
    // End date Tuesday 3 January 1995.
    ASSERT_TRUE(driver.start(ScenarioBuilder().set("NEW_FEATURES", "^030195^0^-1^7^@\n$\n").write(dir.path() / "s.vnb"),
                             o));
    driver.runTicks(2000);
    SetTutorWindow(0);
    EXPECT_EQ(driver.state(), RUN_OVER);
    EXPECT_EQ(driver.tickCount(), 480);
    EXPECT_TRUE(driver.prompts().empty());
}

} // namespace
