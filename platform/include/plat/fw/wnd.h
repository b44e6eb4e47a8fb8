// The framework's window base: a C++ object per window whose virtual
// handlers the bottom window procedure calls.
#pragma once
#include "plat/commctl.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/types.h"
#include "plat/window.h"
#include <string>

namespace plat {

class CObject {
public:
    virtual ~CObject() = default;
    // The class name, for traces and checks.
    virtual const char* GetRuntimeClassName() const { return "CObject"; }
};

class CMenu;

// The procedure of every window a framework object owns; register your own
// window classes with it so WM_CREATE reaches the object being created.
LRESULT FrameworkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The class framework windows get when none is named: CS_DBLCLKS, arrow,
// COLOR_WINDOW brush, FrameworkWndProc.
inline constexpr const char* FRAMEWORK_WND_CLASS = "PlatFrameworkWnd";
// A class with these styles, cursor, brush and icon whose procedure is
// FrameworkWndProc, registered on first use; the same arguments give the
// same name.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = 0, HBRUSH brush = 0, HICON icon = 0);

class CWnd : public CObject {
public:
    CWnd();
    ~CWnd() override; // destroys a window still attached (PostNcDestroy not called)
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    const char* GetRuntimeClassName() const override { return "CWnd"; }

    HWND m_hWnd = 0;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object of a window: its own, or a temporary wrapper kept until the
    // window dies. NULL for 0 or a dead handle.
    static CWnd* FromHandle(HWND hwnd);
    // Only a window's own object (no wrapper).
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Creation. The object is attached before WM_CREATE (for classes whose
    // procedure is FrameworkWndProc, the control classes and dialogs), else
    // right after CreateWindowEx. className NULL: FRAMEWORK_WND_CLASS.
    virtual BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName,
                          DWORD style, int x, int y, int cx, int cy, HWND parent, UINT_PTR idOrMenu,
                          void* param = nullptr);
    virtual BOOL Create(const char* className, const char* windowName, DWORD style,
                        const RECT& rect, CWnd* parent, UINT id, void* param = nullptr);
    // Takes over an existing window (the control of a dialog): its procedure
    // is replaced, the old one becomes Default().
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    // Attaches without subclassing (wrappers).
    BOOL Attach(HWND hwnd);
    HWND Detach();
    virtual BOOL DestroyWindow();

    // Called before the window exists; may change any field.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // After WM_NCDESTROY, the window gone; deleting this here is allowed.
    virtual void PostNcDestroy();

    // Every message of the window: calls OnMessage, then the On... handler.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Private and other messages: TRUE when handled (result set).
    virtual BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The previous procedure with the message being handled.
    LRESULT Default();

    // WM_COMMAND: TRUE when handled. Default: nothing (FALSE), the message
    // then goes to Default().
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY from a child; reflected notifications reach OnChildNotify of
    // the control itself first.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Handlers; the base versions call Default().
    virtual int OnCreate(CREATESTRUCT* cs);
    virtual void OnDestroy();
    virtual void OnClose();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(HDC hdc);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual void OnActivate(UINT state, HWND other, BOOL minimized);
    virtual void OnSetFocus(HWND old);
    virtual void OnKillFocus(HWND next);
    virtual void OnLButtonDown(UINT flags, POINT pt);
    virtual void OnLButtonUp(UINT flags, POINT pt);
    virtual void OnLButtonDblClk(UINT flags, POINT pt);
    virtual void OnRButtonDown(UINT flags, POINT pt);
    virtual void OnRButtonUp(UINT flags, POINT pt);
    virtual void OnMouseMove(UINT flags, POINT pt);
    virtual BOOL OnSetCursor(HWND hwnd, UINT hitTest, UINT message);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual void OnHScroll(UINT code, UINT pos, HWND bar);
    virtual void OnVScroll(UINT code, UINT pos, HWND bar);
    virtual UINT OnGetDlgCode();
    // ctlType: the WM_CTLCOLOR... message minus WM_CTLCOLORMSGBOX.
    virtual HBRUSH OnCtlColor(HDC hdc, HWND ctl, UINT ctlType);
    virtual void OnInitMenuPopup(HMENU menu, UINT index, BOOL sysMenu);
    virtual void OnDrawItem(int id, DRAWITEMSTRUCT* dis);
    virtual void OnMeasureItem(int id, MEASUREITEMSTRUCT* mis);
    virtual BOOL OnQueryNewPalette();
    virtual void OnPaletteChanged(HWND focus);

    // Helpers over the window calls.
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int cmd) const;
    void UpdateWindow() const;
    void Invalidate(BOOL erase = TRUE) const;
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) const;
    void ValidateRect(const RECT* rect) const;
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) const;
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE) const;
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const;
    void ClientToScreen(POINT* pt) const;
    void ClientToScreen(RECT* rc) const;
    void ScreenToClient(POINT* pt) const;
    void ScreenToClient(RECT* rc) const;
    void SetWindowText(const char* text) const;
    int GetWindowText(char* buf, int size) const;
    std::string GetWindowText() const;
    int GetWindowTextLength() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* SetFocus() const;
    static CWnd* GetFocus();
    BOOL EnableWindow(BOOL enable = TRUE) const;
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) const;
    BOOL KillTimer(UINT_PTR id) const;
    HDC GetDC() const;
    int ReleaseDC(HDC hdc) const;
    CWnd* SetCapture() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add) const;
    void SetFont(HFONT font, BOOL redraw = TRUE) const;
    HFONT GetFont() const;
    BOOL SetMenu(CMenu* menu) const;
    HMENU GetMenu() const;
    void DrawMenuBar() const;
    void CenterWindow(HWND alternateOwner = 0) const;
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = 0) const;
    BOOL IsWindow() const;
    void SetDlgItemText(int id, const char* text) const;
    UINT GetDlgItemText(int id, char* buf, int size) const;
    UINT GetDlgItemInt(int id, BOOL* ok = nullptr, BOOL signedValue = TRUE) const;
    void SetDlgItemInt(int id, UINT value, BOOL signedValue = TRUE) const;
    void CheckDlgButton(int id, UINT check) const;
    UINT IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int firstId, int lastId, int checkId) const;
    LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ScrollWindow(int dx, int dy, const RECT* rect = nullptr, const RECT* clip = nullptr) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) const;
    int GetScrollPos(int bar) const;
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE) const;

    // Internal: the procedure replaced by SubclassWindow (or the class one).
    WNDPROC m_pfnSuper = nullptr;

protected:
    // The message being handled, for Default().
    const MSG* CurrentMessage() const { return m_current; }

private:
    friend LRESULT FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
    friend struct FrameworkAccess;
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
    const MSG* m_current = nullptr;
    bool m_temporary = false;
};

} // namespace plat
