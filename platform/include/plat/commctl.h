// Common controls: the tree view, image lists and tooltips.
#pragma once
#include "plat/msg.h"
#include "plat/window.h"
#include "plat/types.h"

namespace plat {

inline constexpr const char* WC_TREEVIEW = "SysTreeView32";
inline constexpr const char* TOOLTIPS_CLASS = "tooltips_class32";

// ---- notifications (WM_NOTIFY) ---------------------------------------------
struct NMHDR {
    HWND hwndFrom = 0;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

inline constexpr UINT NM_CLICK = static_cast<UINT>(-2);
inline constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
inline constexpr UINT NM_RCLICK = static_cast<UINT>(-5);

// A control's notification reflected back to the control itself (the
// framework's CTreeCtrl handles them): WM_REFLECT_BASE + WM_NOTIFY.
inline constexpr UINT WM_REFLECT_BASE = 0xBC00;
inline constexpr UINT OCM_NOTIFY = WM_REFLECT_BASE + WM_NOTIFY;

// ---- image lists -------------------------------------------------------------
inline constexpr UINT ILC_MASK = 0x0001;
inline constexpr UINT ILC_COLOR = 0x0000;
inline constexpr UINT ILC_COLOR24 = 0x0018;

// Images are cx by cy; a masked list treats the key colour of AddMasked as
// transparent. n is the initial size, grow the step (both only hints).
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Adds every cx-wide image of the bitmap; returns the first index, -1 on failure.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask);
int ImageList_GetImageCount(HIMAGELIST list);
// Draws image i at (x, y), transparent where masked.
BOOL ImageList_Draw(HIMAGELIST list, int i, HDC hdc, int x, int y, UINT style);

// ---- tree view -----------------------------------------------------------------
inline constexpr DWORD TVS_HASBUTTONS = 0x0001;
inline constexpr DWORD TVS_HASLINES = 0x0002;
inline constexpr DWORD TVS_LINESATROOT = 0x0004;
inline constexpr DWORD TVS_EDITLABELS = 0x0008;
inline constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
inline constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;

inline constexpr HTREEITEM TVI_ROOT = 0xFFFF0000u;
inline constexpr HTREEITEM TVI_FIRST = 0xFFFF0001u;
inline constexpr HTREEITEM TVI_LAST = 0xFFFF0002u;

inline constexpr UINT TVIF_TEXT = 0x0001;
inline constexpr UINT TVIF_IMAGE = 0x0002;
inline constexpr UINT TVIF_PARAM = 0x0004;
inline constexpr UINT TVIF_STATE = 0x0008;
inline constexpr UINT TVIF_HANDLE = 0x0010;
inline constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
inline constexpr UINT TVIF_CHILDREN = 0x0040;

inline constexpr UINT TVIS_SELECTED = 0x0002;
inline constexpr UINT TVIS_DROPHILITED = 0x0008;
inline constexpr UINT TVIS_BOLD = 0x0010;
inline constexpr UINT TVIS_EXPANDED = 0x0020;
inline constexpr UINT TVIS_EXPANDEDONCE = 0x0040;

inline constexpr UINT TVE_COLLAPSE = 0x0001;
inline constexpr UINT TVE_EXPAND = 0x0002;
inline constexpr UINT TVE_TOGGLE = 0x0003;

inline constexpr UINT TVGN_ROOT = 0x0000;
inline constexpr UINT TVGN_NEXT = 0x0001;
inline constexpr UINT TVGN_PREVIOUS = 0x0002;
inline constexpr UINT TVGN_PARENT = 0x0003;
inline constexpr UINT TVGN_CHILD = 0x0004;
inline constexpr UINT TVGN_DROPHILITE = 0x0008;
inline constexpr UINT TVGN_CARET = 0x0009;

inline constexpr UINT TVSIL_NORMAL = 0;

// Action codes of a selection change.
inline constexpr UINT TVC_UNKNOWN = 0x0000;
inline constexpr UINT TVC_BYMOUSE = 0x0001;
inline constexpr UINT TVC_BYKEYBOARD = 0x0002;

struct TVITEM {
    UINT mask = 0;
    HTREEITEM hItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
};

struct TVINSERTSTRUCT {
    HTREEITEM hParent = 0;
    HTREEITEM hInsertAfter = 0; // TVI_LAST is the only order the layer keeps
    TVITEM item;
};

// Sent to the tree itself as OCM_NOTIFY (lParam = NMTREEVIEW*).
struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = 0;
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag;
};

inline constexpr UINT TVN_SELCHANGED = static_cast<UINT>(-402);
inline constexpr UINT TVN_ITEMEXPANDED = static_cast<UINT>(-406);

inline constexpr UINT TVM_INSERTITEM = 0x1100;
inline constexpr UINT TVM_DELETEITEM = 0x1101;
inline constexpr UINT TVM_EXPAND = 0x1102;
inline constexpr UINT TVM_GETCOUNT = 0x1105;
inline constexpr UINT TVM_SETIMAGELIST = 0x1109;
inline constexpr UINT TVM_GETNEXTITEM = 0x110A;
inline constexpr UINT TVM_SELECTITEM = 0x110B;
inline constexpr UINT TVM_GETITEM = 0x110C;
inline constexpr UINT TVM_SETITEM = 0x110D;
inline constexpr UINT TVM_HITTEST = 0x1111;
inline constexpr UINT TVM_ENSUREVISIBLE = 0x1114;

struct TVHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    HTREEITEM hItem = 0;
};
inline constexpr UINT TVHT_ONITEM = 0x0046;
inline constexpr UINT TVHT_NOWHERE = 0x0001;

HTREEITEM TreeView_InsertItem(HWND tree, const TVINSERTSTRUCT* ins);
BOOL TreeView_DeleteItem(HWND tree, HTREEITEM item); // TVI_ROOT: all
BOOL TreeView_Expand(HWND tree, HTREEITEM item, UINT code);
BOOL TreeView_EnsureVisible(HWND tree, HTREEITEM item);
HTREEITEM TreeView_GetNextItem(HWND tree, HTREEITEM item, UINT code);
// TVGN_CARET selects (item 0: none), TVGN_DROPHILITE sets the drop target.
BOOL TreeView_Select(HWND tree, HTREEITEM item, UINT code);
BOOL TreeView_GetItem(HWND tree, TVITEM* item);
BOOL TreeView_SetItem(HWND tree, const TVITEM* item);
UINT TreeView_GetCount(HWND tree);
HIMAGELIST TreeView_SetImageList(HWND tree, HIMAGELIST list, int which);
HTREEITEM TreeView_HitTest(HWND tree, TVHITTESTINFO* info);

// ---- tooltips ------------------------------------------------------------------
inline constexpr DWORD TTS_ALWAYSTIP = 0x01;
inline constexpr DWORD TTS_NOPREFIX = 0x02;

inline constexpr UINT TTF_IDISHWND = 0x0001;
inline constexpr UINT TTF_CENTERTIP = 0x0002;
inline constexpr UINT TTF_SUBCLASS = 0x0010;

struct TOOLINFO {
    UINT cbSize = sizeof(TOOLINFO);
    UINT uFlags = 0;
    HWND hwnd = 0;      // the window holding the tool
    UINT_PTR uId = 0;   // with TTF_IDISHWND: the tool's window
    RECT rect;
    HINSTANCE hinst = 0;
    const char* lpszText = nullptr;
    LPARAM lParam = 0;
};

inline constexpr UINT TTM_ACTIVATE = 0x0401;
inline constexpr UINT TTM_ADDTOOL = 0x0404;
inline constexpr UINT TTM_DELTOOL = 0x0405;
inline constexpr UINT TTM_GETTOOLCOUNT = 0x040D;
inline constexpr UINT TTM_UPDATETIPTEXT = 0x040C;
// Test view of a tool's current text (the layer's own, not a Win32 message):
// wParam = the tool's window, lParam = char buffer of 256 bytes.
inline constexpr UINT TTM_GETTIPTEXT_PLAT = 0x04F0;

// Registers the tree view and tooltip classes (idempotent).
void InitCommonControls();

} // namespace plat
