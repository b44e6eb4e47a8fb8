// The player's application object, its resources and its link to the
// simulator through the layer.
#include "steplay/player.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/link.h"
#include "plat/menu.h"
#include "plat/module.h"
#include "plat/msg.h"
#include "plat/path.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "tutor/command_file.h"
#include <span>
#include <sys/stat.h>

using namespace plat;

std::span<const ImageResource> steplay_images();

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;

const MenuTemplateItem kActions[] = {
    {"&Exit", ID_TUTOR_EXIT, 0, {}},
    {"&Continue", ID_TUTOR_NEXT, 0, {}},
};
const MenuTemplateItem kBar[] = {
    {"Actions", 0, 0, kActions},
};
const MenuTemplate kMenus[] = {
    {IDR_STEPLAY, kBar},
    {3, kBar},
};

const ACCEL kKeys[] = {
    {FVIRTKEY | FALT, 'E', ID_TUTOR_EXIT},
    {FVIRTKEY | FALT, 'C', ID_TUTOR_NEXT},
};
const AccelTemplate kAccels[] = {
    {IDR_STEPLAY, kKeys},
};

const DlgItemTemplate kAboutItems[] = {
    {"STATIC", 0xFFFF, "Steplay Version 1.0", CHILD, 0, 40, 14, 160, 16},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 200, 10, 64, 24},
};
const DlgTemplate kDialogs[] = {
    {IDD_STEPLAY_ABOUT, "About Steplay", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0, 0,
     280, 48, nullptr, 0, kAboutItems},
};

const StringEntry kStrings[] = {
    {AFX_IDS_APP_TITLE, STEPLAY_TITLE},
    {IDR_STEPLAY,
     "Steplay Windows Application\nSteplay\nSteplay Document\n\n\nSteplay.Document\nSteplay Document"},
};

} // namespace

HINSTANCE register_steplay_resources()
{
    HINSTANCE module = RegisterModule("STEPLAY32.EXE", nullptr);
    RegisterMenuTemplates(module, kMenus);
    RegisterAcceleratorTables(module, kAccels);
    RegisterDialogTemplates(module, kDialogs);
    RegisterStringTable(module, kStrings, std::size(kStrings));
    RegisterImageResources(module, steplay_images());
    AfxSetResourceHandle(module);
    return module;
}

BOOL CSteplayApp::InitInstance()
{
    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    LoadStdProfileSettings(RECENT_FILE_COUNT);
    static CSingleDocTemplate tpl(
        IDR_STEPLAY, [] { return new CSteplayDoc(); },
        [this] { return new CMainFrame(m_lpCmdLine); }, [] { return new CSteplayView(); });
    AddDocTemplate(&tpl);
    if (tpl.OpenDocumentFile(nullptr) == nullptr)
        return FALSE;
    auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    if (frame == nullptr)
        return FALSE;
    frame->SetWindowText(TUTOR_WINDOW_TITLE);
    if (CView* view = frame->GetActiveView())
        view->ShowWindow(SW_HIDE);
    frame->drop_menu();
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return TRUE;
}

int CSteplayApp::ExitInstance()
{
    // The simulator asked for the end and hears no closing notice: the link is
    // left before the frame goes.
    if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != 0) {
        LeaveLink();
        m_pMainWnd->DestroyWindow();
    }
    return CWinApp::ExitInstance();
}

BOOL CSteplayApp::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == ID_APP_ABOUT) {
        CDialog about(IDD_STEPLAY_ABOUT, m_pMainWnd);
        about.DoModal();
        return TRUE;
    }
    return CWinApp::OnCommand(wParam, lParam);
}

HWND LayerLink::find(const std::string& title)
{
    return ::plat::FindWindow(nullptr, title.c_str());
}

HWND LayerLink::child(HWND window, int id)
{
    return ::plat::GetDlgItem(window, id);
}

LRESULT LayerLink::send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::plat::SendMessage(window, msg, wParam, lParam);
}

void LayerLink::post(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ::plat::PostMessage(window, msg, wParam, lParam);
}

TutorLink::Popup LayerLink::popup(HWND window, int index, int x, int y)
{
    // The simulator checks its menu, answers, then shows the popup itself.
    switch (::plat::ShowMenuBarPopup(window, index, x, y)) {
    case LinkPopupResult::Shown:
        return Popup::Shown;
    case LinkPopupResult::NoMenu:
        return Popup::NoMenu;
    case LinkPopupResult::NoPopup:
        return Popup::NoPopup;
    }
    return Popup::NoMenu;
}

void LayerLink::activate(HWND window)
{
    ::plat::SetActiveWindow(window);
}

bool LayerLink::store(const CommandRecord& record)
{
    return write_command_record(TUTOR_STEP_FILE, record);
}

bool LayerLink::file_exists(const std::string& path)
{
    std::string resolved;
    struct stat st {};
    return ResolvePath(path.c_str(), resolved) && ::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
