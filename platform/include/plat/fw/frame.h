// Frame, view and document of the single-document framework.
#pragma once
#include "plat/fw/wnd.h"
#include "plat/fw/wrappers.h"
#include <string>

// Each class here has its own Create form and hides CWnd's on purpose, as the
// framework it follows does; clang's warning about it is not an error here.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Woverloaded-virtual"
#endif

namespace plat {

class CDocument;
class CView;

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;
    const char* GetRuntimeClassName() const override { return "CFrameWnd"; }

    // An overlapped window with the module's menu `menuId` (0: none) and
    // accelerators of the same id when present.
    BOOL LoadFrame(int resourceId, DWORD style = WS_OVERLAPPEDWINDOW, CWnd* parent = nullptr,
                   HINSTANCE inst = 0);
    BOOL Create(const char* className, const char* title, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT* rect = nullptr, CWnd* parent = nullptr, int menuId = 0, HINSTANCE inst = 0);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view);
    CDocument* GetActiveDocument() const;

    // Commands: the frame's own first (OnCommand), then the active view, then
    // the document, then the application.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // WM_INITMENUPOPUP: OnUpdateCommandUI for every command item of the popup.
    void OnInitMenuPopup(HMENU menu, UINT index, BOOL sysMenu) override;
    // The update handler of a command id; the base leaves the item as it is.
    virtual void OnUpdateCommandUI(UINT id, CCmdUI& ui);
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override; // deletes the frame (it was made with new)
    void RecalcLayout();

    CView* m_pViewActive = nullptr;
    CMenu m_menu;
    HACCEL m_hAccel = 0;
    // Set by the document template: the frame does not delete itself when
    // false (stack frames in tests).
    bool m_bAutoDelete = true;
};

class CDocument : public CObject {
public:
    // A view that outlives its document (the template deletes the document at exit, before
    // the frame's windows are gone) must not reach back into it when it is destroyed.
    ~CDocument() override;
    const char* GetRuntimeClassName() const override { return "CDocument"; }
    virtual BOOL OnNewDocument();
    virtual void DeleteContents() {}
    // Empty: the system keeps its own files.
    virtual void Serialize() {}
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    void SetTitle(const char* title);
    const std::string& GetTitle() const { return m_strTitle; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    BOOL IsModified() const { return m_bModified; }
    CView* GetFirstView() const { return m_pView; }

    std::string m_strTitle;
    BOOL m_bModified = FALSE;
    CView* m_pView = nullptr;
    CFrameWnd* m_pFrame = nullptr;
};

class CView : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CView"; }
    // A child filling the frame's client area (id AFX_IDW_PANE_FIRST).
    virtual BOOL CreateView(CFrameWnd* frame, CDocument* doc);
    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnInitialUpdate() {}
    // Painting: OnPaint opens a paint DC and calls OnDraw.
    virtual void OnDraw(HDC hdc);
    void OnPaint() override;
    void PostNcDestroy() override; // deletes the view (made with new)
    CDocument* m_pDocument = nullptr;
    bool m_bAutoDelete = true;
};

inline constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

} // namespace plat

#ifdef __clang__
#pragma clang diagnostic pop
#endif
