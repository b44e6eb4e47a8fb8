// The application object, the main frame and the (empty) document.
#include "appgui/vorn_gui.h"
#include "appgui/tutor.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/config.h"
#include "plat/help.h"
#include "plat/menu.h"
#include "plat/window.h"
#include <cstdio>

using namespace plat;

namespace {

bool g_app_started = false;

CVornView* started_view()
{
    return g_app_started ? active_view() : nullptr;
}

// A close confirmed while a tick or a dialog was open (the player can ask
// for Exit from inside one): the session cannot go from under them, so the
// dialogs are asked to close and the frame closes at the next idle moment.
CMainFrame* g_close_pending = nullptr;

bool refused_in_hold(CMainFrame& frame, const char* name)
{
    CVornWindow* w = frame.window();
    CVornView* v = w != nullptr ? w->session() : nullptr;
    if (v == nullptr || v->run_state != RUN_HOLD)
        return false;
    lang_message_box(frame.m_hWnd, "Can't quit in HOLD state !", name, MB_OK | MB_ICONQUESTION);
    return true;
}

// Outside WM_CLOSE (from idle time) the frame is destroyed directly.
void finish_close(CMainFrame& frame, bool inCloseMessage)
{
    g_close_pending = nullptr;
    if (CVornWindow* w = frame.window())
        w->sessions().CloseSession();
    TutorFrameClosing(frame);
    WinHelp(frame.m_hWnd, "vorn.hlp", HELP_QUIT, 0);
    if (inCloseMessage)
        frame.CFrameWnd::OnClose();
    else
        frame.DestroyWindow();
}

const char* app_name()
{
    return AfxGetApp() != nullptr ? AfxGetApp()->m_pszAppName : "VORNS";
}

} // namespace

// ---- frame -----------------------------------------------------------------------

CVornWindow* CMainFrame::window() const
{
    return dynamic_cast<CVornWindow*>(GetActiveView());
}

int CMainFrame::OnCreate(CREATESTRUCT* cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    LoadMainMenu(IDR_START_MENU);
    return 0;
}

void CMainFrame::LoadMainMenu(int menuId)
{
    HMENU old = plat::GetMenu(m_hWnd);
    HMENU menu = LoadMenu(AfxGetResourceHandle(), menuId);
    if (menu == 0)
        return;
    plat::SetMenu(m_hWnd, menu);
    if (old != 0)
        DestroyMenu(old);
    loaded_menu = menuId;
    // The bar's titles by position, then the items of the first and last
    // popups; the department popups between them are the department's.
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[101] = {};
        GetMenuString(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        HMENU popup = GetSubMenu(menu, i);
        ModifyMenu(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_POPUP, static_cast<UINT_PTR>(popup),
                   lang_translate(text));
        if (i != 0 && i != count - 1)
            continue;
        const int items = GetMenuItemCount(popup);
        for (int k = 0; k < items; ++k) {
            const UINT id = GetMenuItemID(popup, k);
            if (id == 0 || id == static_cast<UINT>(-1))
                continue;
            char item[101] = {};
            GetMenuString(popup, id, item, sizeof item, MF_BYCOMMAND);
            ModifyMenu(popup, id, MF_BYCOMMAND | MF_STRING, id, lang_translate(item));
        }
    }
    plat::DrawMenuBar(m_hWnd);
    if (HACCEL accel = LoadAccelerators(AfxGetResourceHandle(), IDR_SESSION_MENU); accel != 0 && menuId == IDR_SESSION_MENU)
        SetWindowAccelerators(m_hWnd, accel);
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id == ID_EXIT) {
        plat::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
    CFrameWnd::OnCommand(wParam, lParam);
    CVornWindow* w = window();
    if (w != nullptr && id >= 301 && id <= 599) {
        CVornView* v = w->session();
        if (v != nullptr && v->current_department != nullptr)
            v->current_department->on_menu_command(v->current_department->translate_menu_options(static_cast<int>(id)));
    }
    return TRUE;
}

void CMainFrame::OnUpdateCommandUI(UINT id, CCmdUI& ui)
{
    CVornWindow* w = window();
    CVornView* v = w != nullptr ? w->session() : nullptr;
    if (v == nullptr)
        return;
    switch (id) {
    case ID_CONTINUE:
        ui.Enable(v->ContinueEnabled() ? TRUE : FALSE);
        break;
    case ID_RESTORE_HOLD:
        ui.Enable(v->run_state == RUN_HOLD ? TRUE : FALSE);
        break;
    case ID_LOGGING:
        ui.SetCheck(v->logging != 0 ? 1 : 0);
        break;
    case ID_COMPARE:
        ui.Enable(v->logging != 0 && v->compare_available != 0 ? TRUE : FALSE);
        break;
    default:
        break;
    }
}

void CMainFrame::OnClose()
{
    if (g_close_pending == this)
        return;
    CVornWindow* w = window();
    CVornView* v = w != nullptr ? w->session() : nullptr;
    const char* name = app_name();
    if (v == nullptr || v->run_state != RUN_OVER) {
        if (lang_message_box(m_hWnd, "Are you sure you want to exit?", name, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    if (refused_in_hold(*this, name))
        return;
    if (w != nullptr && !w->sessions().may_run_requests()) {
        g_close_pending = this;
        if (w->sessions().close_dialogs)
            w->sessions().close_dialogs();
        return;
    }
    finish_close(*this, true);
}

BOOL CMainFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == 0x4C0) {
        result = 1;
        return TRUE;
    }
    if (TutorHoldsMessage(*this, msg, wParam, lParam)) {
        result = 0;
        return TRUE;
    }
    if (msg == WM_TUTOR_REQUEST) {
        result = OnTutorRequest(*this, wParam);
        return TRUE;
    }
    if (msg == WM_TIMER && wParam == TUTOR_TIMER) {
        OnTutorTimer(*this);
        result = 0;
        return TRUE;
    }
    return CFrameWnd::OnMessage(msg, wParam, lParam, result);
}

// ---- application -------------------------------------------------------------------

CVornApp::CVornApp() : CWinApp("VORN") {}

CMainFrame* CVornApp::frame() const
{
    return dynamic_cast<CMainFrame*>(m_pMainWnd);
}

CVornWindow* CVornApp::window() const
{
    CMainFrame* f = frame();
    return f != nullptr ? f->window() : nullptr;
}

BOOL CVornApp::InitInstance()
{
    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    LoadStdProfileSettings(RECENT_FILE_COUNT);
    const std::string folder = ProgramDataDir();
    // Help, the learn files and the player are found by bare names, so the
    // data folder is the working folder from the start, not only after Open.
    SetCurrentDirectory(folder.c_str());
    load_configuration(folder + "/VORN.CFG", configuration);
    m_template = std::make_unique<CSingleDocTemplate>(
        IDR_START_MENU, [] { return new CVornDoc(); }, [] { return new CMainFrame(); },
        [this]() -> CView* {
            auto* w = new CVornWindow(configuration, assembly);
            w->data_folder = ProgramDataDir();
            return w;
        });
    AddDocTemplate(m_template.get());
    if (m_template->OpenDocumentFile(nullptr) == nullptr)
        return FALSE;
    g_app_started = true;
    set_view_accessor(&started_view);
    static std::string name;
    name = configuration.title.substr(0, 100);
    m_pszAppName = name.c_str();
    if (CMainFrame* f = frame()) {
        f->SetWindowText(main_window_title(configuration, nullptr).c_str());
        const bool maximized = GetProfileInt("General", "StartMaximized", 1) != 0;
        f->ShowWindow(maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
        f->UpdateWindow();
    }
    return TRUE;
}

BOOL CVornApp::OnIdle(LONG count)
{
    // Idle time: no tick is on the stack and no dialog is open.
    if (CMainFrame* f = frame(); f != nullptr && g_close_pending == f) {
        g_close_pending = nullptr;
        if (!refused_in_hold(*f, app_name())) {
            finish_close(*f, false);
            return FALSE;
        }
    }
    CVornWindow* w = window();
    bool waiting = false;
    if (w != nullptr) {
        w->IdleStep();
        waiting = TutorIdle(*w);
    }
    CWinApp::OnIdle(count);
    // Only an open session, or a start the player waits for, has work for
    // every idle moment.
    return w != nullptr && (w->session() != nullptr || waiting) ? TRUE : FALSE;
}

BOOL CVornApp::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == ID_APP_ABOUT) {
        show_about_box(window(), configuration, false);
        return TRUE;
    }
    return CWinApp::OnCommand(wParam, lParam);
}
