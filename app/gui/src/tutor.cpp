// The commands the tutorial player hands over, carried out by the main
// frame, and the view's commands that start the player.
#include "appgui/tutor.h"
#include "app/state_names.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "foundation/utils.h"
#include "plat/controls.h"
#include "plat/menu.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <cstdlib>
#include <sys/stat.h>
#include <string>
#include <vector>

using namespace plat;

namespace {

TutorWalk g_walk;
// The last record the player handed over.
CommandRecord g_command;
// A session start for the player waits until no tick and no dialog is open;
// the player hears of it once it ran.
bool g_resume_after_start = false;
// The dialog a CloseCurrentWindow ended, until its loop has returned: a
// box or another loop above it may go on dispatching after the close, and
// a command run there would open the next dialog inside the old one's loop.
// What reaches the frame meanwhile waits here, in order, and is posted
// again once the dialog is gone.
HWND g_unwinding = 0;
std::vector<MSG> g_held;

void release_held()
{
    std::vector<MSG> held;
    held.swap(g_held);
    g_unwinding = 0;
    for (const MSG& m : held)
        PostMessage(m.hwnd, m.message, m.wParam, m.lParam);
}

std::string field(int n)
{
    std::string out;
    get_separated_field(g_command.text.c_str(), n, out, ',');
    return out;
}

int number(int n) { return std::atoi(field(n).c_str()); }

HWND main_window(CVornWindow& window)
{
    if (auto* frame = dynamic_cast<CMainFrame*>(window.GetParent()))
        return frame->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main != nullptr ? main->m_hWnd : 0;
}

HWND view_window(CMainFrame& frame)
{
    CVornWindow* w = frame.window();
    return w != nullptr ? w->m_hWnd : 0;
}

void end_walk(CMainFrame& frame)
{
    KillTimer(frame.m_hWnd, TUTOR_TIMER);
    g_walk = TutorWalk{};
}

LRESULT open_file(CMainFrame& frame)
{
    SetTutorPendingCode(TUTOR_OPEN_FILE);
    const std::string path = forward_slashes(field(1));
    CVornWindow* w = frame.window();
    if (w == nullptr) {
        ResumeTutorial();
        return 1;
    }
    // Inside a tick or under a dialog the old session cannot go yet: its
    // dialogs are asked to close and the start runs once they have.
    w->sessions().RequestStart(path, {});
    if (w->sessions().ProcessRequests()) {
        w->SyncSession();
        ResumeTutorial();
    } else {
        g_resume_after_start = true;
    }
    return 1;
}

LRESULT exec_menu(CMainFrame& frame)
{
    SetTutorPendingCode(TUTOR_EXEC_MENU);
    const int position = number(1);
    const int x = number(2);
    const int y = number(3);
    const int item = number(4);
    const HMENU bar = plat::GetMenu(frame.m_hWnd);
    const HMENU popup = bar != 0 ? GetSubMenu(bar, position) : 0;
    UINT id = 0;
    // Item n is the n-th entry that is not a separator, wherever the
    // separators stand (the walk's down-steps skip them the same way).
    if (popup != 0 && item > 0) {
        const int count = GetMenuItemCount(popup);
        for (int i = 0, seen = 0; i < count; ++i) {
            const UINT at = GetMenuItemID(popup, i);
            if (at != 0 && ++seen == item) {
                id = at;
                break;
            }
        }
    }
    if (id == 0 || id == static_cast<UINT>(-1)) {
        ResumeTutorial();
        return 0;
    }
    g_walk = TutorWalk{popup, 0, item, TUTOR_WALK_MENU, id};
    SetTimer(frame.m_hWnd, TUTOR_TIMER, TUTOR_STEP_MS, nullptr);
    // The popup's own loop runs while the timer steps through it.
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, x, y, 0, frame.m_hWnd, nullptr);
    return 1;
}

LRESULT close_window(CMainFrame& frame)
{
    SetTutorPendingCode(TUTOR_CLOSE_WINDOW);
    CVornWindow* w = frame.window();
    // Sent, not posted: the player posts the next department's commands
    // right behind its request, and they must find this dialog closed rather
    // than open inside its loop.
    const HWND top = w != nullptr ? w->dialogs().top() : 0;
    if (top != 0) {
        SendMessage(top, WM_CLOSE, 0, 0);
        // Ended but not returned: hidden, still on the stack. A dialog that
        // refused the close stays shown and holds nothing back.
        if (IsWindow(top) && !IsWindowVisible(top) && w->dialogs().contains(top))
            g_unwinding = top;
    }
    ResumeTutorial();
    return 1;
}

LRESULT select_combo(CMainFrame& frame)
{
    SetTutorPendingCode(TUTOR_SELECT_COMBO);
    const std::string title = field(1);
    const int id = number(2);
    const int target = number(3);
    const HWND top = FindWindow(nullptr, title.c_str());
    if (top == 0) {
        lang_message_box(frame.m_hWnd, "Uanble to find window", title.c_str(), MB_OK);
        ResumeTutorial();
        return 0;
    }
    const HWND combo = GetDlgItem(top, id);
    if (combo == 0) {
        ResumeTutorial();
        return 0;
    }
    g_walk = TutorWalk{combo, 0, target, TUTOR_WALK_COMBO, 0};
    SendMessage(combo, CB_SETCURSEL, 0, 0);
    SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SetTimer(frame.m_hWnd, TUTOR_TIMER, TUTOR_STEP_MS, nullptr);
    return 1;
}

} // namespace

const TutorWalk& tutor_walk() { return g_walk; }

bool TutorHoldsMessage(CMainFrame& frame, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_unwinding == 0 || (msg != WM_COMMAND && msg != WM_TUTOR_REQUEST))
        return false;
    CVornWindow* w = frame.window();
    const bool unwinding = w != nullptr && IsWindow(g_unwinding) && w->dialogs().contains(g_unwinding);
    if (!unwinding && g_held.empty()) {
        g_unwinding = 0;
        return false;
    }
    MSG m{};
    m.hwnd = frame.m_hWnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    g_held.push_back(m);
    // Gone without word (not through the stack): what waited goes first.
    if (!unwinding)
        release_held();
    return true;
}

void TutorDialogGone(HWND dialog)
{
    if (dialog != 0 && dialog == g_unwinding)
        release_held();
}

LRESULT OnTutorRequest(CMainFrame& frame, WPARAM wParam)
{
    // The closing notice carries no record: it is taken before the hand-off
    // file is read, so a missing file neither raises a box nor keeps a
    // player that is gone. Its window may be gone already.
    if (wParam == TUTOR_REQUEST_CLOSED) {
        if (!TakeTutorClosingNotice())
            return 0;
        g_resume_after_start = false;
        if (CVornWindow* w = frame.window()) {
            w->sessions().RequestClose();
            if (w->sessions().ProcessRequests())
                w->SyncSession();
        }
        return 0;
    }
    if (wParam != TUTOR_REQUEST_EXECUTE || GetTutorWindow() == 0)
        return 0;
    CommandRecord record;
    if (!ReadStepFile(record))
        return 0;
    g_command = record;
    switch (g_command.code) {
    case TUTOR_OPEN_FILE: return open_file(frame);
    case TUTOR_EXEC_MENU: return exec_menu(frame);
    case TUTOR_CLOSE_WINDOW: return close_window(frame);
    case TUTOR_SELECT_COMBO: return select_combo(frame);
    default: return 0;
    }
}

void OnTutorTimer(CMainFrame& frame)
{
    switch (g_walk.state) {
    case TUTOR_WALK_MENU:
        if (g_walk.counter >= g_walk.target - 1) {
            const UINT id = g_walk.command;
            // Activating the frame ends the popup without a choice.
            SetActiveWindow(frame.m_hWnd);
            end_walk(frame);
            PostMessage(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
            ResumeTutorial();
        } else {
            PostMessage(view_window(frame), WM_KEYDOWN, VK_DOWN, TUTOR_KEY_DATA);
            ++g_walk.counter;
        }
        break;
    case TUTOR_WALK_COMBO:
        if (g_walk.counter > g_walk.target) {
            SendMessage(g_walk.handle, CB_SHOWDROPDOWN, FALSE, 0);
            end_walk(frame);
            ResumeTutorial();
        } else {
            SendMessage(g_walk.handle, CB_SETCURSEL, static_cast<WPARAM>(g_walk.counter), 0);
            PostMessage(view_window(frame), WM_KEYDOWN, VK_DOWN, TUTOR_KEY_DATA);
            ++g_walk.counter;
        }
        break;
    default:
        KillTimer(frame.m_hWnd, TUTOR_TIMER);
        break;
    }
}

bool TutorIdle(CVornWindow& window)
{
    if (!g_resume_after_start)
        return false;
    window.sessions().ProcessRequests();
    if (!window.sessions().may_run_requests())
        return true;
    g_resume_after_start = false;
    window.SyncSession();
    ResumeTutorial();
    return false;
}

void TutorFrameClosing(CMainFrame& frame)
{
    if (g_walk.state != TUTOR_WALK_IDLE)
        end_walk(frame);
    g_resume_after_start = false;
    g_unwinding = 0;
    g_held.clear();
    CloseTutorial();
}

namespace {

// The player starts in the data folder: its command files are there, and
// so is the hand-off file it writes.
HWND start_in_data_folder(CVornWindow& window, const std::string& title, const char* file)
{
    if (!window.data_folder.empty())
        SetCurrentDirectory(window.data_folder.c_str());
    return StartTutorial(main_window(window), title.c_str(), file);
}

bool start_tutorial(CVornWindow& window, const std::string& title, const char* file)
{
    if (start_in_data_folder(window, title, file) != 0)
        return true;
    lang_message_box(window.m_hWnd, "Unable to load VORNS Tutrial", "VORNS Tutorial", MB_OK);
    return false;
}

} // namespace

bool RunTutorial(CVornWindow& window)
{
    return start_tutorial(window, "VORNS Tutorial", "steplay.cmd");
}

void OnGuidedRuns(CVornWindow& window)
{
    const std::optional<std::string> file = guided_runs_dialog(window.m_hWnd, window.data_folder);
    if (!file)
        return;
    start_tutorial(window, "VORNS Tutorial - " + *file, file->c_str());
}

void OnDecisionsCenter(CVornWindow& window)
{
    if (const HWND shown = FindWindow(nullptr, lang_translate("Decisions")); shown != 0) {
        ShowWindow(shown, SW_SHOW);
        return;
    }
    if (start_in_data_folder(window, "Decisions", nullptr) == 0)
        lang_message_box(window.m_hWnd, "Unable to load Decisions screen", "Decisions", MB_OK | MB_ICONINFORMATION);
}

bool guided_runs_available(const std::string& data_folder)
{
    const std::string name = (data_folder.empty() ? std::string(".") : data_folder) + "/guide1.cmd";
    std::string path;
    struct stat st {};
    return ResolvePath(name.c_str(), path) && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void TutorSessionMenu(CVornWindow& window, HMENU menu)
{
    if (menu != 0 && !guided_runs_available(window.data_folder))
        DeleteMenu(menu, ID_GUIDED_RUNS, MF_BYCOMMAND);
}

bool handle_tutor_command(CVornWindow& window, int id)
{
    switch (id) {
    case ID_RUN_TUTORIAL:
        RunTutorial(window);
        return true;
    case ID_DECISIONS_CENTER:
        OnDecisionsCenter(window);
        return true;
    case ID_GUIDED_RUNS:
        OnGuidedRuns(window);
        return true;
    default:
        return false;
    }
}
