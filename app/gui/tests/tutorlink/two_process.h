// What the two-program tests share: the test process as the link's host in
// a group folder of its own, a bounded pump, the player's text panel read
// across the link, and the simulator started in a data folder and ended
// with its player.
#pragma once
#include "appgui/tutor.h"
#include "appgui/vorn_gui.h"
#include "../support/program_ending.h"
#include "plat/config.h"
#include "plat/link.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace two_process {

using Clock = std::chrono::steady_clock;

// The player's text panel, Exit and Continue buttons (its frame's ids).
inline constexpr int kPlayerText = 12;
inline constexpr int kPlayerExit = 32771;
inline constexpr int kPlayerContinue = 32772;

// Generous: a loaded machine (tests run side by side) may take seconds.
inline bool pump_until(const std::function<bool()>& done, int ms = 30000)
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        plat::MSG m;
        while (plat::PeekMessage(&m, 0, 0, 0, plat::PM_REMOVE))
            plat::DispatchMessage(&m);
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

inline std::string player_text(plat::HWND player)
{
    char buf[256] = {};
    const plat::HWND text = plat::GetDlgItem(player, kPlayerText);
    if (text == 0)
        return {};
    plat::SendMessage(text, plat::WM_GETTEXT, sizeof buf, reinterpret_cast<plat::LPARAM>(buf));
    return buf;
}

// Joins a fresh group folder as the host, with the player declared as the
// linked program; "" when it cannot. leave_link removes the folder again.
inline std::string join_link_as_host(const char* prefix)
{
    std::string dir = std::string("/tmp/") + prefix + "-XXXXXX";
    if (mkdtemp(dir.data()) == nullptr)
        return {};
    setenv("PLAT_LINK_DIR", dir.c_str(), 1);
    plat::InitGui();
    if (!plat::JoinLink(plat::LinkRole::Host))
        return {};
    plat::SetLinkReplyTimeout(20000); // a hang fails the test instead
    plat::DeclareLinkedProgram("STEPLAY32.EXE");
    return dir;
}

inline void leave_link(const std::string& dir)
{
    plat::LeaveLink();
    if (!dir.empty())
        std::filesystem::remove_all(dir);
}

// The simulator in this test process. start_in makes the folder the current
// and the data folder and starts the program there (the background dialog
// answered OK); TearDown quits a player still linked, ends the program and
// goes back to the folder the test began in.
class Simulator : public ::testing::Test {
protected:
    void start_in(const std::string& dir, DepartmentAssembly assembly = {})
    {
        char cwd[4096] = {};
        previousDir = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";
        folder = dir;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        setenv("VORN_DATA_DIR", folder.c_str(), 1);
        app = std::make_unique<CVornApp>();
        app->about_at_start = false;
        app->assembly = std::move(assembly);
        ASSERT_TRUE(app->InitInstance());
        view = app->window();
        frame = app->frame();
        ASSERT_NE(view, nullptr);
        host.OnDialog(IDD_BACKGROUND,
                      [](plat::HWND d) { plat::SendMessage(d, plat::WM_COMMAND, plat::MAKEWPARAM(plat::IDOK, plat::BN_CLICKED), 0); });
    }
    void open_sample()
    {
        ASSERT_TRUE(view->sessions().StartSession(folder + "/SAMPLE.VNB"));
        view->SyncSession();
        ASSERT_NE(view->session(), nullptr);
    }
    void TearDown() override
    {
        if (plat::HWND p = GetTutorWindow(); p != 0) {
            CloseTutorial();
            pump_until([p] { return !plat::IsWindow(p); });
        }
        vorn_test::end_program(host, app);
        if (!previousDir.empty()) {
            EXPECT_EQ(chdir(previousDir.c_str()), 0);
        }
    }

    plat::ScriptedHost host;
    std::string previousDir, folder;
    std::unique_ptr<CVornApp> app;
    CVornWindow* view = nullptr;
    CMainFrame* frame = nullptr;
};

} // namespace two_process
