// Handle owners: drawing objects, DCs, menus, image lists, the file dialog,
// command-update state and the control wrappers.
#include "plat/fw/wrappers.h"
#include "plat/fw/app.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include <cstring>
#include <map>
#include <memory>

namespace plat {

BOOL CGdiObject::Attach(HGDIOBJ h)
{
    if (m_hObject || !h)
        return FALSE;
    m_hObject = h;
    return TRUE;
}
HGDIOBJ CGdiObject::Detach()
{
    const HGDIOBJ h = m_hObject;
    m_hObject = 0;
    return h;
}
BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    const BOOL ok = ::plat::DeleteObject(m_hObject);
    m_hObject = 0;
    return ok;
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Attach(::plat::CreatePen(style, width, color)); }
BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::plat::CreateSolidBrush(color)); }
BOOL CFont::CreateFontIndirect(const LOGFONT* lf) { return Attach(::plat::CreateFontIndirect(lf)); }
BOOL CFont::CreatePointFont(int pointSizeTenths, const char* face, HDC hdc)
{
    LOGFONT lf{};
    const int dpi = hdc ? GetDeviceCaps(hdc, LOGPIXELSY) : 96;
    lf.lfHeight = -((pointSizeTenths * dpi + 360) / 720);
    lf.lfWeight = FW_NORMAL;
    if (face)
        std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
    return CreateFontIndirect(&lf);
}
BOOL CBitmap::LoadBitmap(HINSTANCE inst, int id) { return Attach(::plat::LoadBitmap(inst, id)); }
BOOL CBitmap::CreateCompatibleBitmap(HDC hdc, int width, int height) { return Attach(::plat::CreateCompatibleBitmap(hdc, width, height)); }
BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bits, const void* data)
{
    return Attach(::plat::CreateBitmap(width, height, planes, bits, data));
}

CDC::~CDC()
{
    if (m_owned)
        DeleteDC();
}
BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC)
        return FALSE;
    m_hDC = ::plat::CreateCompatibleDC(dc ? dc->m_hDC : 0);
    m_owned = m_hDC != 0;
    return m_owned ? TRUE : FALSE;
}
BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    const BOOL ok = ::plat::DeleteDC(m_hDC);
    m_hDC = 0;
    m_owned = false;
    return ok;
}
BOOL CDC::Attach(HDC hdc)
{
    if (m_hDC || !hdc)
        return FALSE;
    m_hDC = hdc;
    return TRUE;
}
HDC CDC::Detach()
{
    const HDC h = m_hDC;
    m_hDC = 0;
    m_owned = false;
    return h;
}
POINT CDC::MoveTo(int x, int y)
{
    POINT old{};
    MoveToEx(m_hDC, x, y, &old);
    return old;
}
void CDC::FillSolidRect(const RECT* rc, COLORREF color)
{
    const COLORREF old = ::plat::SetBkColor(m_hDC, color);
    ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
    ::plat::SetBkColor(m_hDC, old);
}
SIZE CDC::GetTextExtent(const char* text, int len) const
{
    SIZE s{};
    GetTextExtentPoint32(m_hDC, text, len, &s);
    return s;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : 0) { m_hDC = BeginPaint(m_hWnd, &m_ps); }
CPaintDC::~CPaintDC()
{
    EndPaint(m_hWnd, &m_ps);
    m_hDC = 0;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : 0) { m_hDC = ::plat::GetDC(m_hWnd); }
CClientDC::~CClientDC()
{
    ::plat::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = 0;
}

namespace {
std::map<HMENU, std::unique_ptr<CMenu>>& menu_wrappers()
{
    static std::map<HMENU, std::unique_ptr<CMenu>> m;
    return m;
}
} // namespace

CMenu::~CMenu()
{
    if (!m_temporary)
        DestroyMenu();
}
CMenu* CMenu::FromHandle(HMENU menu)
{
    if (!menu || !IsMenu(menu))
        return nullptr;
    auto& slot = menu_wrappers()[menu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        slot->m_hMenu = menu;
        slot->m_temporary = true;
    }
    return slot.get();
}
BOOL CMenu::LoadMenu(HINSTANCE inst, int id) { return Attach(::plat::LoadMenu(inst ? inst : AfxGetResourceHandle(), id)); }
BOOL CMenu::CreateMenu() { return Attach(::plat::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::plat::CreatePopupMenu()); }
BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    const HMENU h = m_hMenu;
    m_hMenu = 0;
    menu_wrappers().erase(h);
    return ::plat::DestroyMenu(h);
}
BOOL CMenu::Attach(HMENU menu)
{
    if (m_hMenu || !menu)
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}
HMENU CMenu::Detach()
{
    const HMENU h = m_hMenu;
    m_hMenu = 0;
    return h;
}
CMenu* CMenu::GetSubMenu(int pos) const { return FromHandle(::plat::GetSubMenu(m_hMenu, pos)); }

void CCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = true;
    EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}
void CCmdUI::SetCheck(int check)
{
    CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}
void CCmdUI::SetText(const char* text)
{
    const UINT state = GetMenuState(m_hMenu, m_nIndex, MF_BYPOSITION);
    ModifyMenu(m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_CHECKED)), m_nID, text);
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_open(openFileDialog)
{
    if (filter) {
        m_filter = filter;
        for (char& c : m_filter)
            if (c == '|')
                c = '\0';
        m_filter.push_back('\0');
    }
    if (defExt)
        m_defExt = defExt;
    if (fileName)
        std::strncpy(m_file, fileName, sizeof m_file - 1);
    m_ofn.hwndOwner = parent ? parent->m_hWnd : 0;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.lpstrFile = m_file;
    m_ofn.nMaxFile = sizeof m_file;
    m_ofn.lpstrFileTitle = m_title;
    m_ofn.nMaxFileTitle = sizeof m_title;
    m_ofn.lpstrDefExt = m_defExt.empty() ? nullptr : m_defExt.c_str();
    m_ofn.Flags = flags;
}
int CFileDialog::DoModal()
{
    const BOOL ok = m_open ? GetOpenFileName(&m_ofn) : GetSaveFileName(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}
std::string CFileDialog::GetPathName() const { return m_file; }
std::string CFileDialog::GetFileName() const { return std::string(m_file + std::min<size_t>(m_ofn.nFileOffset, std::strlen(m_file))); }
std::string CFileDialog::GetFileExt() const
{
    const std::string name = GetFileName();
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
std::string CFileDialog::GetFileTitle() const
{
    const std::string name = GetFileName();
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

namespace {
BOOL create_control(CWnd* w, const char* cls, const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return w->CreateEx(0, cls, text, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top, parent ? parent->m_hWnd : 0, id);
}
} // namespace

BOOL CButton::Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return create_control(this, WC_BUTTON, text, style, rect, parent, id);
}
void CButton::DrawItem(DRAWITEMSTRUCT*) {}
BOOL CButton::OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return TRUE;
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return create_control(this, WC_EDIT, "", style, rect, parent, id);
}
BOOL CStatic::Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return create_control(this, WC_STATIC, text, style, rect, parent, id);
}
BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return create_control(this, WC_LISTBOX, "", style, rect, parent, id);
}
std::string CListBox::GetText(int i) const
{
    const int n = GetTextLen(i);
    if (n < 0)
        return {};
    std::string s(static_cast<size_t>(n) + 1, '\0');
    GetText(i, s.data());
    s.resize(static_cast<size_t>(n));
    return s;
}
void CListBox::DrawItem(DRAWITEMSTRUCT*) {}
void CListBox::MeasureItem(MEASUREITEMSTRUCT*) {}
BOOL CListBox::OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (msg == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    }
    if (msg == WM_MEASUREITEM) {
        MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    }
    return FALSE;
}
BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return create_control(this, WC_COMBOBOX, "", style, rect, parent, id);
}
std::string CComboBox::GetLBText(int i) const
{
    const int n = GetLBTextLen(i);
    if (n < 0)
        return {};
    std::string s(static_cast<size_t>(n) + 1, '\0');
    GetLBText(i, s.data());
    s.resize(static_cast<size_t>(n));
    return s;
}
BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return create_control(this, WC_SCROLLBAR, "", style, rect, parent, id);
}
void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL redraw) const
{
    SendMessage(SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
    (void)redraw;
}
void CScrollBar::GetScrollRange(int* minPos, int* maxPos) const
{
    SendMessage(SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
}

CImageList::~CImageList() { DeleteImageList(); }
BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    if (m_hImageList)
        return FALSE;
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList ? TRUE : FALSE;
}
int CImageList::Add(CBitmap* bitmap, COLORREF mask)
{
    return ImageList_AddMasked(m_hImageList, bitmap ? static_cast<HBITMAP>(bitmap->m_hObject) : 0, mask);
}
BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    const BOOL ok = ImageList_Destroy(m_hImageList);
    m_hImageList = 0;
    return ok;
}

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return create_control(this, WC_TREEVIEW, "", style, rect, parent, id);
}
HTREEITEM CTreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after) const
{
    TVINSERTSTRUCT ins;
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.iImage = image;
    ins.item.iSelectedImage = selectedImage;
    return TreeView_InsertItem(m_hWnd, &ins);
}
std::string CTreeCtrl::GetItemText(HTREEITEM item) const
{
    char buf[1024] = {};
    TVITEM it;
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    return TreeView_GetItem(m_hWnd, &it) ? std::string(buf) : std::string();
}
UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const
{
    TVITEM it;
    it.mask = TVIF_STATE;
    it.hItem = item;
    it.stateMask = mask;
    return TreeView_GetItem(m_hWnd, &it) ? (it.state & mask) : 0;
}
uintptr_t CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEM it;
    it.mask = TVIF_PARAM;
    it.hItem = item;
    return TreeView_GetItem(m_hWnd, &it) ? static_cast<uintptr_t>(it.lParam) : 0;
}
BOOL CTreeCtrl::SetItemData(HTREEITEM item, uintptr_t data) const
{
    TVITEM it;
    it.mask = TVIF_PARAM;
    it.hItem = item;
    it.lParam = static_cast<LPARAM>(data);
    return TreeView_SetItem(m_hWnd, &it);
}
void CTreeCtrl::OnItemExpanded(NMTREEVIEW*, LRESULT* result) { *result = 0; }
void CTreeCtrl::OnSelChanged(NMTREEVIEW*, LRESULT* result) { *result = 0; }
void CTreeCtrl::OnClick(NMHDR*, LRESULT* result) { *result = 0; }
BOOL CTreeCtrl::OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_NOTIFY || !lParam)
        return FALSE;
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    switch (hdr->code) {
    case TVN_ITEMEXPANDED: OnItemExpanded(reinterpret_cast<NMTREEVIEW*>(lParam), result); return TRUE;
    case TVN_SELCHANGED: OnSelChanged(reinterpret_cast<NMTREEVIEW*>(lParam), result); return TRUE;
    case NM_CLICK: OnClick(hdr, result); return TRUE;
    default: return FALSE;
    }
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CreateEx(0, TOOLTIPS_CLASS, "", WS_POPUP | style, 0, 0, 0, 0, parent ? parent->m_hWnd : 0, 0);
}
BOOL CToolTipCtrl::AddTool(CWnd* tool, const char* text)
{
    if (!tool)
        return FALSE;
    TOOLINFO ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = ::plat::GetParent(tool->m_hWnd);
    ti.uId = tool->m_hWnd;
    ti.lpszText = text;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}
void CToolTipCtrl::UpdateTipText(const char* text, CWnd* tool)
{
    if (!tool)
        return;
    TOOLINFO ti;
    ti.uFlags = TTF_IDISHWND;
    ti.uId = tool->m_hWnd;
    ti.lpszText = text;
    SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
}
void CToolTipCtrl::DelTool(CWnd* tool)
{
    if (!tool)
        return;
    TOOLINFO ti;
    ti.uFlags = TTF_IDISHWND;
    ti.uId = tool->m_hWnd;
    SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

} // namespace plat
