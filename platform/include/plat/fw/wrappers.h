// Thin owners of handles: drawing objects and DCs, menus, the file dialog,
// command-update state, and the control wrappers.
#pragma once
#include "plat/commctl.h"
#include "plat/controls.h"
#include "plat/filedlg.h"
#include "plat/fw/wnd.h"
#include "plat/gdi.h"
#include "plat/menu.h"
#include <string>

// Each class here has its own Create form and hides CWnd's on purpose, as the
// framework it follows does; clang's warning about it is not an error here.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Woverloaded-virtual"
#endif

namespace plat {

// ---- drawing objects -------------------------------------------------------
// Each owns its handle (deleted with the object) unless detached.
class CGdiObject : public CObject {
public:
    CGdiObject() = default;
    ~CGdiObject() override { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    HGDIOBJ m_hObject = 0;
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const { return plat::GetObject(m_hObject, size, buffer); }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color);
    operator HPEN() const { return m_hObject; }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return m_hObject; }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* lf);
    // Height in tenths of a point, at the DC's (or the screen's) resolution.
    BOOL CreatePointFont(int pointSizeTenths, const char* face, HDC hdc = 0);
    operator HFONT() const { return m_hObject; }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(HINSTANCE inst, int id);
    BOOL CreateCompatibleBitmap(HDC hdc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bits, const void* data);
    operator HBITMAP() const { return m_hObject; }
};

// ---- DCs ---------------------------------------------------------------------
class CDC : public CObject {
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    HDC m_hDC = 0;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    // A memory DC (deleted with the object).
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    BOOL Attach(HDC hdc);
    HDC Detach();

    HGDIOBJ SelectObject(HGDIOBJ obj) { return plat::SelectObject(m_hDC, obj); }
    HGDIOBJ SelectObject(CGdiObject* obj) { return plat::SelectObject(m_hDC, obj ? obj->m_hObject : 0); }
    HGDIOBJ SelectStockObject(int index) { return plat::SelectObject(m_hDC, GetStockObject(index)); }
    COLORREF SetTextColor(COLORREF c) { return plat::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return plat::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return plat::SetBkMode(m_hDC, mode); }
    int SetMapMode(int mode) { return plat::SetMapMode(m_hDC, mode); }
    int SetROP2(int rop) { return plat::SetROP2(m_hDC, rop); }
    int SaveDC() { return plat::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return plat::RestoreDC(m_hDC, saved); }
    POINT MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return plat::LineTo(m_hDC, x, y); }
    BOOL Rectangle(int l, int t, int r, int b) { return plat::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(const RECT& rc) { return plat::Rectangle(m_hDC, rc.left, rc.top, rc.right, rc.bottom); }
    BOOL Ellipse(int l, int t, int r, int b) { return plat::Ellipse(m_hDC, l, t, r, b); }
    void FillRect(const RECT* rc, HBRUSH brush) { plat::FillRect(m_hDC, rc, brush); }
    void FillSolidRect(const RECT* rc, COLORREF color);
    void FrameRect(const RECT* rc, HBRUSH brush) { plat::FrameRect(m_hDC, rc, brush); }
    BOOL TextOut(int x, int y, const char* text, int len) { return plat::TextOut(m_hDC, x, y, text, len); }
    BOOL TextOut(int x, int y, const std::string& s) { return plat::TextOut(m_hDC, x, y, s.c_str(), static_cast<int>(s.size())); }
    int DrawText(const char* text, int len, RECT* rc, UINT format) { return plat::DrawText(m_hDC, text, len, rc, format); }
    SIZE GetTextExtent(const char* text, int len) const;
    BOOL GetTextMetrics(TEXTMETRIC* tm) const { return plat::GetTextMetrics(m_hDC, tm); }
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, DWORD rop)
    {
        return plat::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : 0, sx, sy, rop);
    }
    int GetDeviceCaps(int index) const { return plat::GetDeviceCaps(m_hDC, index); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return plat::SetPixel(m_hDC, x, y, c); }
    COLORREF GetPixel(int x, int y) const { return plat::GetPixel(m_hDC, x, y); }

protected:
    bool m_owned = false; // memory DC made here
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};
private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd); // NULL: the screen
    ~CClientDC() override;
private:
    HWND m_hWnd;
};

// ---- menus --------------------------------------------------------------------
class CMenu : public CObject {
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    HMENU m_hMenu = 0;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // The wrapper kept for a handle until the menu is destroyed.
    static CMenu* FromHandle(HMENU menu);
    BOOL LoadMenu(HINSTANCE inst, int id);
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    BOOL Attach(HMENU menu);
    HMENU Detach();
    CMenu* GetSubMenu(int pos) const;
    int GetMenuItemCount() const { return plat::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return plat::GetMenuItemID(m_hMenu, pos); }
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr) { return plat::AppendMenu(m_hMenu, flags, id, text); }
    BOOL InsertMenu(UINT pos, UINT flags, UINT_PTR id = 0, const char* text = nullptr) { return plat::InsertMenu(m_hMenu, pos, flags, id, text); }
    BOOL ModifyMenu(UINT pos, UINT flags, UINT_PTR id = 0, const char* text = nullptr) { return plat::ModifyMenu(m_hMenu, pos, flags, id, text); }
    BOOL RemoveMenu(UINT pos, UINT flags) { return plat::RemoveMenu(m_hMenu, pos, flags); }
    BOOL DeleteMenu(UINT pos, UINT flags) { return plat::DeleteMenu(m_hMenu, pos, flags); }
    UINT EnableMenuItem(UINT item, UINT flags) { return plat::EnableMenuItem(m_hMenu, item, flags); }
    UINT CheckMenuItem(UINT item, UINT flags) { return plat::CheckMenuItem(m_hMenu, item, flags); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr)
    {
        return plat::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : 0, rect);
    }
private:
    bool m_temporary = false;
};

// The state of one command while a popup opens: the handler enables,
// checks or renames it.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;
    HMENU m_hMenu = 0;
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetText(const char* text);
    // Set once a handler spoke.
    bool m_bEnableChanged = false;
};

// ---- file dialog -----------------------------------------------------------------
class CFileDialog : public CObject {
public:
    // filter: "Desc (*.x)|*.x|...||" as the framework spells it.
    CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    OPENFILENAME m_ofn;
    int DoModal(); // IDOK or IDCANCEL
    std::string GetPathName() const;
    std::string GetFileName() const;
    std::string GetFileExt() const;
    std::string GetFileTitle() const;
private:
    BOOL m_open;
    std::string m_filter;
    std::string m_defExt;
    char m_file[1024] = {};
    char m_title[256] = {};
};

// ---- controls ------------------------------------------------------------------------
class CButton : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CButton"; }
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL pushed) const { SendMessage(BM_SETSTATE, static_cast<WPARAM>(pushed)); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) const { SendMessage(BM_SETSTYLE, style, redraw); }
    // Owner-drawn buttons: called for WM_DRAWITEM reflected from the parent.
    virtual void DrawItem(DRAWITEMSTRUCT* dis);
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CEdit : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CEdit"; }
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetSel(int start, int end, BOOL noScroll = FALSE) const { (void)noScroll; SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void LimitText(int max) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(max)); }
    void ReplaceSel(const char* text) const { SendMessage(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text)); }
    BOOL SetReadOnly(BOOL ro = TRUE) const { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(ro))); }
};

class CStatic : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CStatic"; }
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HICON SetIcon(HICON icon) const { return static_cast<HICON>(SendMessage(STM_SETICON, icon)); }
};

class CListBox : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CListBox"; }
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(const char* s) const { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
    int InsertString(int i, const char* s) const { return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s))); }
    int DeleteString(int i) const { return static_cast<int>(SendMessage(LB_DELETESTRING, static_cast<WPARAM>(i))); }
    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int i) const { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(i))); }
    int GetText(int i, char* buf) const { return static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf))); }
    std::string GetText(int i) const;
    int GetTextLen(int i) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(i))); }
    BOOL SetTabStops(int count, const int* stops) const { return static_cast<BOOL>(SendMessage(LB_SETTABSTOPS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(stops))); }
    int GetItemHeight(int i) const { return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, static_cast<WPARAM>(i))); }
    int SetItemHeight(int i, int h) const { return static_cast<int>(SendMessage(LB_SETITEMHEIGHT, static_cast<WPARAM>(i), h)); }
    uintptr_t GetItemData(int i) const { return static_cast<uintptr_t>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(i))); }
    int SetItemData(int i, uintptr_t d) const { return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(i), static_cast<LPARAM>(d))); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
    int SetTopIndex(int i) const { return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(i))); }
    int FindStringExact(int start, const char* s) const { return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s))); }
    // Owner-drawn lists: called for reflected WM_DRAWITEM / WM_MEASUREITEM.
    virtual void DrawItem(DRAWITEMSTRUCT* dis);
    virtual void MeasureItem(MEASUREITEMSTRUCT* mis);
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CComboBox : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CComboBox"; }
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(const char* s) const { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
    int InsertString(int i, const char* s) const { return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s))); }
    int DeleteString(int i) const { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(i))); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int i) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(i))); }
    int GetLBText(int i, char* buf) const { return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf))); }
    std::string GetLBText(int i) const;
    int GetLBTextLen(int i) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(i))); }
    void ShowDropDown(BOOL show = TRUE) const { SendMessage(CB_SHOWDROPDOWN, static_cast<WPARAM>(show)); }
    uintptr_t GetItemData(int i) const { return static_cast<uintptr_t>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(i))); }
    int SetItemData(int i, uintptr_t d) const { return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(i), static_cast<LPARAM>(d))); }
    int FindStringExact(int start, const char* s) const { return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s))); }
};

class CScrollBar : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CScrollBar"; }
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetScrollPos() const { return static_cast<int>(SendMessage(SBM_GETPOS)); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) const { return static_cast<int>(SendMessage(SBM_SETPOS, static_cast<WPARAM>(pos), redraw)); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) const;
    void GetScrollRange(int* minPos, int* maxPos) const;
    BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH) const { return plat::EnableScrollBar(m_hWnd, SB_CTL, arrows); }
};

class CImageList : public CObject {
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    HIMAGELIST m_hImageList = 0;
    operator HIMAGELIST() const { return m_hImageList; }
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    int Add(CBitmap* bitmap, COLORREF mask);
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL DeleteImageList();
};

class CTreeCtrl : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CTreeCtrl"; }
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    HTREEITEM InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST) const;
    HTREEITEM InsertItem(const TVINSERTSTRUCT* ins) const { return TreeView_InsertItem(m_hWnd, ins); }
    BOOL DeleteItem(HTREEITEM item) const { return TreeView_DeleteItem(m_hWnd, item); }
    BOOL DeleteAllItems() const { return TreeView_DeleteItem(m_hWnd, TVI_ROOT); }
    BOOL Expand(HTREEITEM item, UINT code) const { return TreeView_Expand(m_hWnd, item, code); }
    BOOL EnsureVisible(HTREEITEM item) const { return TreeView_EnsureVisible(m_hWnd, item); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const { return TreeView_GetNextItem(m_hWnd, item, code); }
    HTREEITEM GetRootItem() const { return GetNextItem(0, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(0, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(0, TVGN_DROPHILITE); }
    BOOL SelectItem(HTREEITEM item) const { return TreeView_Select(m_hWnd, item, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM item) const { return TreeView_Select(m_hWnd, item, TVGN_DROPHILITE); }
    std::string GetItemText(HTREEITEM item) const;
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    uintptr_t GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, uintptr_t data) const;
    UINT GetCount() const { return TreeView_GetCount(m_hWnd); }
    HIMAGELIST SetImageList(CImageList* list, int which) const
    {
        return TreeView_SetImageList(m_hWnd, list ? list->m_hImageList : 0, which);
    }
    // Reflected notifications: TVN_ITEMEXPANDED, TVN_SELCHANGED, NM_CLICK.
    // The base versions do nothing; *result is what the notice returns.
    virtual void OnItemExpanded(NMTREEVIEW* nm, LRESULT* result);
    virtual void OnSelChanged(NMTREEVIEW* nm, LRESULT* result);
    virtual void OnClick(NMHDR* nm, LRESULT* result);
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// A tooltip control over whole windows (TTF_IDISHWND | TTF_SUBCLASS).
class CToolTipCtrl : public CWnd {
public:
    const char* GetRuntimeClassName() const override { return "CToolTipCtrl"; }
    BOOL Create(CWnd* parent, DWORD style = TTS_ALWAYSTIP);
    BOOL AddTool(CWnd* tool, const char* text);
    void UpdateTipText(const char* text, CWnd* tool);
    void DelTool(CWnd* tool);
};

} // namespace plat

#ifdef __clang__
#pragma clang diagnostic pop
#endif
