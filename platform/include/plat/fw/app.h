// The application object, the single-document template and profile access.
#pragma once
#include "plat/fw/dialog.h"
#include "plat/fw/frame.h"
#include "plat/fw/wnd.h"
#include <functional>
#include <string>
#include <vector>

namespace plat {

inline constexpr UINT ID_FILE_NEW = 0xE100;
inline constexpr UINT ID_FILE_OPEN = 0xE101;
inline constexpr UINT ID_FILE_CLOSE = 0xE102;
inline constexpr UINT ID_FILE_SAVE = 0xE103;
inline constexpr UINT ID_FILE_SAVE_AS = 0xE104;
inline constexpr UINT ID_FILE_PRINT = 0xE107;
inline constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
inline constexpr UINT ID_APP_ABOUT = 0xE140;
inline constexpr UINT ID_APP_EXIT = 0xE141;
inline constexpr UINT ID_HELP_INDEX = 0xE142;
inline constexpr UINT ID_HELP = 0xE146;
inline constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
inline constexpr int RECENT_FILE_COUNT = 4;

class CWinApp;

// Makes the document, frame and view of the program's one document. The
// factories build the program's own classes with new.
class CSingleDocTemplate : public CObject {
public:
    CSingleDocTemplate(int resourceId, std::function<CDocument*()> makeDoc,
                       std::function<CFrameWnd*()> makeFrame, std::function<CView*()> makeView);
    ~CSingleDocTemplate() override;
    const char* GetRuntimeClassName() const override { return "CSingleDocTemplate"; }
    // A new empty document (frame and view made the first time); the frame
    // becomes the main window. NULL on failure.
    CDocument* OpenDocumentFile(const char* path);
    int m_nIDResource;
    CDocument* m_pOnlyDoc = nullptr;
private:
    std::function<CDocument*()> m_makeDoc;
    std::function<CFrameWnd*()> m_makeFrame;
    std::function<CView*()> m_makeView;
};

class CWinApp : public CObject {
public:
    // name: the profile and module name ("VORN"); one application per process.
    explicit CWinApp(const char* name = nullptr);
    ~CWinApp() override;
    const char* GetRuntimeClassName() const override { return "CWinApp"; }

    // Start-up: reads the title (string AFX_IDS_APP_TITLE of the resource
    // module), keeps the command-line tail, then InitInstance; FALSE from it
    // ends the program with ExitInstance. Run is the outermost loop.
    int WinMain(int argc, char** argv);
    virtual BOOL InitInstance();
    virtual int Run();
    // Idle time: count 0 after any message, +1 per consecutive call; TRUE
    // asks for more.
    virtual BOOL OnIdle(LONG count);
    virtual int ExitInstance();
    // Standard commands reaching the application (ID_APP_EXIT, ID_FILE_NEW).
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    void OnFileNew();
    void OnAppExit();

    void AddDocTemplate(CSingleDocTemplate* tpl);
    // Profile "<profile folder>/<name>.ini".
    std::string GetProfileString(const char* section, const char* entry, const char* def = "") const;
    int GetProfileInt(const char* section, const char* entry, int def) const;
    BOOL WriteProfileString(const char* section, const char* entry, const char* value) const;
    BOOL WriteProfileInt(const char* section, const char* entry, int value) const;
    // "Recent File List" File1..File4, newest first.
    void LoadStdProfileSettings(int maxMru = RECENT_FILE_COUNT);
    void AddToRecentFileList(const char* path);
    const std::vector<std::string>& RecentFiles() const { return m_recent; }
    // The dialog background of every dialog made afterwards.
    void SetDialogBkColor(COLORREF bk = RGB(192, 192, 192), COLORREF text = RGB(0, 0, 0));
    // A box captioned with the application title.
    int MessageBox(const char* text, UINT type = 0, HWND owner = 0) const;
    HCURSOR LoadStandardCursor(UINT id) const { return plat::LoadCursor(0, id); }

    const char* m_pszAppName = nullptr;
    const char* m_pszProfileName = nullptr;
    std::string m_strTitle;
    std::string m_lpCmdLine; // the command-line tail as one string
    HINSTANCE m_hInstance = 0;
    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

private:
    std::string m_name;
    std::string m_profilePath;
    std::vector<CSingleDocTemplate*> m_templates;
    std::vector<std::string> m_recent;
    int m_maxMru = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The module resources are looked up in by default (the program's).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE inst);
// The colours SetDialogBkColor set (CLR_INVALID when unset).
COLORREF AfxDialogBkColor();
COLORREF AfxDialogTextColor();
int AfxMessageBox(const char* text, UINT type = 0);

} // namespace plat
