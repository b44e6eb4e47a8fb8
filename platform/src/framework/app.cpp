// The application object, its document template, frame, view and document.
#include "plat/fw/app.h"
#include "dialogs/dialogs_p.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/loop.h"
#include "plat/module.h"
#include "plat/profile.h"
#include "plat/uihost.h"
#include <algorithm>
#include <cstdio>
#include <string>

namespace plat {

namespace {
CWinApp* g_app = nullptr;
HINSTANCE g_resource = 0;
} // namespace

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
HINSTANCE AfxGetResourceHandle() { return g_resource ? g_resource : GetModuleHandle(nullptr); }
void AfxSetResourceHandle(HINSTANCE inst) { g_resource = inst; }
COLORREF AfxDialogBkColor() { return dialogs::DialogBkColor(); }
COLORREF AfxDialogTextColor() { return dialogs::DialogTextColor(); }

int AfxMessageBox(const char* text, UINT type)
{
    if (g_app)
        return g_app->MessageBox(text, type);
    return ::plat::MessageBox(0, text, nullptr, type);
}

// ---- CWinApp -------------------------------------------------------------------------

CWinApp::CWinApp(const char* name) : m_name(name ? name : "")
{
    g_app = this;
    m_pszAppName = m_name.c_str();
    // The profile answers from the start, not only once WinMain runs.
    m_profilePath = ProfileDir() + "/" + (m_name.empty() ? std::string("app") : m_name) + ".ini";
    m_pszProfileName = m_profilePath.c_str();
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

int CWinApp::WinMain(int argc, char** argv)
{
    InitGui(argc, argv);
    InitControls();
    m_hInstance = AfxGetResourceHandle();
    char title[256] = {};
    if (LoadString(m_hInstance, AFX_IDS_APP_TITLE, title, sizeof title) > 0)
        m_strTitle = title;
    else
        m_strTitle = m_name;
    m_pszAppName = m_strTitle.c_str();
    m_profilePath = ProfileDir() + "/" + (m_name.empty() ? std::string("app") : m_name) + ".ini";
    m_pszProfileName = m_profilePath.c_str();
    m_lpCmdLine.clear();
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            m_lpCmdLine += ' ';
        m_lpCmdLine += argv[i];
    }
    if (!InitInstance())
        return ExitInstance();
    return Run();
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        SetMainWindow(m_pMainWnd->m_hWnd);
    SetIdleHandler([this](LONG count) { return OnIdle(count); });
    const int code = RunMessageLoop();
    SetIdleHandler(nullptr);
    const int exitCode = ExitInstance();
    return exitCode ? exitCode : code;
}

BOOL CWinApp::OnIdle(LONG) { return FALSE; }
int CWinApp::ExitInstance() { return 0; }

BOOL CWinApp::OnCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case ID_APP_EXIT: OnAppExit(); return TRUE;
    case ID_FILE_NEW: OnFileNew(); return TRUE;
    default: return FALSE;
    }
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        ::plat::SendMessage(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* tpl)
{
    if (tpl)
        m_templates.push_back(tpl);
}

std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* def) const
{
    char buf[1024] = {};
    GetPrivateProfileString(section, entry, def ? def : "", buf, sizeof buf, m_profilePath.c_str());
    return buf;
}

int CWinApp::GetProfileInt(const char* section, const char* entry, int def) const
{
    return static_cast<int>(GetPrivateProfileInt(section, entry, def, m_profilePath.c_str()));
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const
{
    return WritePrivateProfileString(section, entry, value, m_profilePath.c_str());
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", value);
    return WriteProfileString(section, entry, buf);
}

void CWinApp::LoadStdProfileSettings(int maxMru)
{
    m_maxMru = std::clamp(maxMru, 0, 16);
    m_recent.clear();
    for (int i = 1; i <= m_maxMru; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "File%d", i);
        const std::string v = GetProfileString("Recent File List", key, "");
        if (!v.empty())
            m_recent.push_back(v);
    }
}

void CWinApp::AddToRecentFileList(const char* path)
{
    if (!path || !*path || m_maxMru == 0)
        return;
    std::string p = path;
    std::erase_if(m_recent, [&](const std::string& s) {
        return s.size() == p.size() && std::equal(s.begin(), s.end(), p.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
               });
    });
    m_recent.insert(m_recent.begin(), p);
    if (static_cast<int>(m_recent.size()) > m_maxMru)
        m_recent.resize(static_cast<size_t>(m_maxMru));
    for (int i = 1; i <= m_maxMru; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "File%d", i);
        WriteProfileString("Recent File List", key,
                           i <= static_cast<int>(m_recent.size()) ? m_recent[static_cast<size_t>(i - 1)].c_str() : nullptr);
    }
}

void CWinApp::SetDialogBkColor(COLORREF bk, COLORREF text) { dialogs::SetDialogColors(bk, text); }

int CWinApp::MessageBox(const char* text, UINT type, HWND owner) const
{
    if (!owner && m_pMainWnd)
        owner = m_pMainWnd->m_hWnd;
    return ::plat::MessageBox(owner, text, m_strTitle.empty() ? nullptr : m_strTitle.c_str(), type);
}

// ---- document template -----------------------------------------------------------------

CSingleDocTemplate::CSingleDocTemplate(int resourceId, std::function<CDocument*()> makeDoc,
                                       std::function<CFrameWnd*()> makeFrame, std::function<CView*()> makeView)
    : m_nIDResource(resourceId), m_makeDoc(std::move(makeDoc)), m_makeFrame(std::move(makeFrame)),
      m_makeView(std::move(makeView))
{
}

CSingleDocTemplate::~CSingleDocTemplate() { delete m_pOnlyDoc; }

CDocument* CSingleDocTemplate::OpenDocumentFile(const char*)
{
    if (!m_pOnlyDoc) {
        CDocument* doc = m_makeDoc ? m_makeDoc() : new CDocument();
        CFrameWnd* frame = m_makeFrame ? m_makeFrame() : new CFrameWnd();
        if (!frame->LoadFrame(m_nIDResource)) {
            delete doc;
            if (!frame->m_hWnd)
                delete frame;
            return nullptr;
        }
        CView* view = m_makeView ? m_makeView() : nullptr;
        if (view && !view->CreateView(frame, doc)) {
            delete view;
            frame->DestroyWindow();
            delete doc;
            return nullptr;
        }
        doc->m_pFrame = frame;
        m_pOnlyDoc = doc;
        if (CWinApp* app = AfxGetApp(); app && !app->m_pMainWnd)
            app->m_pMainWnd = frame;
    }
    if (!m_pOnlyDoc->OnNewDocument())
        return nullptr;
    if (CView* v = m_pOnlyDoc->m_pView)
        v->OnInitialUpdate();
    return m_pOnlyDoc;
}

// ---- frame ------------------------------------------------------------------------------

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    if (m_hAccel)
        DestroyAcceleratorTable(m_hAccel);
    // The menu set on the window goes with it.
    if (m_menu.m_hMenu && m_hWnd && ::plat::GetMenu(m_hWnd) == m_menu.m_hMenu)
        ::plat::SetMenu(m_hWnd, 0);
}

BOOL CFrameWnd::Create(const char* className, const char* title, DWORD style, const RECT* rect, CWnd* parent,
                       int menuId, HINSTANCE inst)
{
    const int x = rect ? rect->left : CW_USEDEFAULT;
    const int y = rect ? rect->top : CW_USEDEFAULT;
    const int cx = rect ? rect->right - rect->left : CW_USEDEFAULT;
    const int cy = rect ? rect->bottom - rect->top : CW_USEDEFAULT;
    if (!CreateEx(0, className, title, style & ~WS_VISIBLE, x, y, cx, cy, parent ? parent->m_hWnd : 0, 0))
        return FALSE;
    if (menuId) {
        if (m_menu.LoadMenu(inst ? inst : AfxGetResourceHandle(), menuId))
            ::plat::SetMenu(m_hWnd, m_menu.m_hMenu);
    }
    if (style & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(int resourceId, DWORD style, CWnd* parent, HINSTANCE inst)
{
    if (!inst)
        inst = AfxGetResourceHandle();
    std::string title;
    char buf[256] = {};
    if (LoadString(inst, static_cast<UINT>(resourceId), buf, sizeof buf) > 0) {
        title = buf;
        title = title.substr(0, title.find('\n'));
    } else if (CWinApp* app = AfxGetApp()) {
        title = app->m_strTitle;
    }
    if (!Create(nullptr, title.c_str(), style, nullptr, parent, resourceId, inst))
        return FALSE;
    m_hAccel = LoadAccelerators(inst, resourceId);
    if (m_hAccel)
        SetWindowAccelerators(m_hWnd, m_hAccel);
    return TRUE;
}

void CFrameWnd::SetActiveView(CView* view) { m_pViewActive = view; }

CDocument* CFrameWnd::GetActiveDocument() const { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_pViewActive && m_pViewActive->OnCommand(wParam, lParam))
        return TRUE;
    if (CDocument* doc = GetActiveDocument(); doc && doc->OnCommand(wParam, lParam))
        return TRUE;
    if (CWinApp* app = AfxGetApp(); app && app->OnCommand(wParam, lParam))
        return TRUE;
    return FALSE;
}

void CFrameWnd::OnInitMenuPopup(HMENU menu, UINT index, BOOL sysMenu)
{
    if (!sysMenu) {
        const int n = GetMenuItemCount(menu);
        for (int i = 0; i < n; ++i) {
            const UINT id = GetMenuItemID(menu, i);
            if (id == 0 || id == 0xFFFFFFFFu)
                continue;
            CCmdUI ui;
            ui.m_nID = id;
            ui.m_nIndex = static_cast<UINT>(i);
            ui.m_hMenu = menu;
            ui.m_pMenu = CMenu::FromHandle(menu);
            OnUpdateCommandUI(id, ui);
        }
    }
    CWnd::OnInitMenuPopup(menu, index, sysMenu);
}

void CFrameWnd::OnUpdateCommandUI(UINT, CCmdUI&) {}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

void CFrameWnd::RecalcLayout()
{
    if (!m_pViewActive || !m_pViewActive->m_hWnd)
        return;
    RECT rc;
    GetClientRect(&rc);
    m_pViewActive->MoveWindow(0, 0, rc.right, rc.bottom, TRUE);
}

void CFrameWnd::OnClose() { Default(); }

void CFrameWnd::OnDestroy()
{
    if (m_menu.m_hMenu && ::plat::GetMenu(m_hWnd) == m_menu.m_hMenu)
        ::plat::SetMenu(m_hWnd, 0);
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    if (m_bAutoDelete)
        delete this;
}

// ---- document and view -------------------------------------------------------------------

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_bModified = FALSE;
    return TRUE;
}

CDocument::~CDocument()
{
    if (m_pView && m_pView->m_pDocument == this)
        m_pView->m_pDocument = nullptr;
}

BOOL CDocument::OnCommand(WPARAM, LPARAM) { return FALSE; }
void CDocument::SetTitle(const char* title) { m_strTitle = title ? title : ""; }

BOOL CView::CreateView(CFrameWnd* frame, CDocument* doc)
{
    if (!frame || !frame->m_hWnd)
        return FALSE;
    m_pDocument = doc;
    if (doc)
        doc->m_pView = this;
    RECT rc;
    frame->GetClientRect(&rc);
    if (!CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, rc.right, rc.bottom,
                  frame->m_hWnd, AFX_IDW_PANE_FIRST))
        return FALSE;
    frame->SetActiveView(this);
    return TRUE;
}

void CView::OnDraw(HDC) {}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(dc);
}

void CView::PostNcDestroy()
{
    if (m_pDocument && m_pDocument->m_pView == this)
        m_pDocument->m_pView = nullptr;
    if (m_bAutoDelete)
        delete this;
}

} // namespace plat
