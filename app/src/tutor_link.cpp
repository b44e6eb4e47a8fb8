// The tutorial-player link: one player per program, found by its title.
#include "app/tutor_link.h"
#include "plat/module.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <cstdio>
#include <string>

namespace {

plat::HWND g_player = 0;
// A player whose window went away without its closing notice having come
// yet; the notice may still be on its way.
plat::HWND g_lost = 0;
int16_t g_pending = 0;
TutorLauncher g_launcher;

plat::UINT launch(const char* commandLine)
{
    if (g_launcher)
        return g_launcher(commandLine, plat::SW_SHOWNORMAL);
    return plat::WinExec(commandLine, plat::SW_SHOWNORMAL);
}

} // namespace

plat::HWND GetTutorWindow()
{
    // A player that is gone (ended, killed, its link lost) is forgotten, so
    // no resume goes into nothing and the end of the run is shown again.
    if (g_player != 0 && !plat::IsWindow(g_player)) {
        g_lost = g_player;
        g_player = 0;
    }
    return g_player;
}

bool TakeTutorClosingNotice()
{
    const bool known = GetTutorWindow() != 0 || g_lost != 0;
    g_player = 0;
    g_lost = 0;
    return known;
}

void SetTutorWindow(plat::HWND player)
{
    g_player = player;
    g_lost = 0;
}
void SetTutorPendingCode(int16_t code) { g_pending = code; }
int16_t GetTutorPendingCode() { return g_pending; }

TutorLauncher set_tutor_launcher(TutorLauncher launcher)
{
    TutorLauncher old = std::move(g_launcher);
    g_launcher = std::move(launcher);
    return old;
}

void ResumeTutorial()
{
    if (GetTutorWindow() != 0 && g_pending > 0)
        plat::PostMessage(g_player, WM_TUTOR_CONTROL, TUTOR_CONTROL_DONE,
                          static_cast<plat::LPARAM>(static_cast<uint16_t>(g_pending)));
    g_pending = 0;
}

void CloseTutorial()
{
    g_lost = 0;
    if (g_player == 0)
        return;
    plat::PostMessage(g_player, plat::WM_QUIT, 0, 0);
    g_player = 0;
}

bool ReadStepFile(CommandRecord& out)
{
    return read_command_record(TUTOR_STEP_FILE, out);
}

plat::HWND StartTutorial(plat::HWND mainWindow, const char* title, const char* commandFile)
{
    std::string line = TUTOR_PROGRAM;
    if (commandFile != nullptr)
        line = line + " " + commandFile;
    if (launch(line.c_str()) < 32)
        return 0;
    // One player at a time: the one running quits once another has started,
    // so no hand-over of the old one lands in the new one's session.
    CloseTutorial();
    g_player = plat::FindWindow(nullptr, TUTOR_WINDOW_TITLE);
    if (g_player == 0)
        return 0;
    plat::SetWindowText(g_player, title);
    // The player rebuilds the handle from 16 bits: the simulator's handles
    // fit in them.
    plat::SendMessage(g_player, WM_TUTOR_CONTROL, TUTOR_CONTROL_START,
                      static_cast<plat::LPARAM>(plat::LOWORD(mainWindow)));
    return g_player;
}
