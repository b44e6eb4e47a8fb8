// Menus, menu bars, popup tracking and accelerators.
#pragma once
#include "plat/msg.h"
#include "plat/res.h"
#include "plat/types.h"
#include "plat/window.h"

namespace plat {

inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_MENUBARBREAK = 0x0020;
inline constexpr UINT MF_MENUBREAK = 0x0040;
inline constexpr UINT MF_SEPARATOR = 0x0800;
// Returned for a missing item.
inline constexpr UINT MF_ERROR = 0xFFFFFFFFu;

inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreateMenu();       // a bar
HMENU CreatePopupMenu();
// A bar from the module's menu template (its popups made too); 0 if missing.
HMENU LoadMenu(HINSTANCE inst, int id);
HMENU LoadMenuIndirect(const MenuTemplate* tpl, HINSTANCE textModule);
// Destroys the menu and its popups (a menu set on a window is destroyed with
// the window's frame only when DestroyMenu is called).
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// Sets (or with 0 removes) the window's menu bar; the client area shrinks by
// the bar's height.
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);

HMENU GetSubMenu(HMENU menu, int pos);
// The screen rectangle of a menu-bar title (menu = the window's bar, item =
// its position); FALSE for other menus or positions.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, RECT* rect);
int GetMenuItemCount(HMENU menu);           // -1 for a bad handle
UINT GetMenuItemID(HMENU menu, int pos);    // separator 0, popup -1
int GetMenuString(HMENU menu, UINT item, char* buf, int size, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);

// newItem is the command id, or the popup's HMENU with MF_POPUP.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, const char* text);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, const char* text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, const char* text);
// RemoveMenu keeps a removed popup alive; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// Previous state (MF_GRAYED/MF_CHECKED bits), MF_ERROR when missing.
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
UINT CheckMenuItem(HMENU menu, UINT item, UINT flags);

// Modal: WM_INITMENUPOPUP goes to owner before the popup shows; the choice is
// posted to owner as WM_COMMAND(id, 0, 0), or returned with TPM_RETURNCMD.
// While it is open, a WM_KEYDOWN (VK_UP, DOWN, LEFT, RIGHT, RETURN, ESCAPE)
// posted to any window of the process steps this popup.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* rect);
// Closes an open popup without a choice (activating a window does this).
void EndMenu();
// The popup being tracked (0: none).
HMENU GetTrackedMenu();

// Accelerators: a table from resources or built; TranslateAccelerator sends
// WM_COMMAND(id, 1, 0) to hwnd and returns TRUE when msg is one of its keys.
HACCEL LoadAccelerators(HINSTANCE inst, int id);
HACCEL CreateAcceleratorTable(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL accel);
int TranslateAccelerator(HWND hwnd, HACCEL accel, const MSG* msg);
// The frame's table: its keys work while the window (or any window it owns)
// has the keyboard, even with no message loop of the program's own.
BOOL SetWindowAccelerators(HWND frame, HACCEL accel);

} // namespace plat
