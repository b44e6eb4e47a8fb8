// What the two-program tests share: the test process as the link's host in
// a group folder of its own, a bounded pump, and the player's text panel
// read across the link.
#pragma once
#include "plat/config.h"
#include "plat/link.h"
#include "plat/window.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace two_process {

using Clock = std::chrono::steady_clock;

// The player's text panel, Exit and Continue buttons (its frame's ids).
inline constexpr int kPlayerText = 12;
inline constexpr int kPlayerExit = 32771;
inline constexpr int kPlayerContinue = 32772;

inline bool pump_until(const std::function<bool()>& done, int ms = 10000)
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

} // namespace two_process
