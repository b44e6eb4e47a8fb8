// Windows, window classes and procedures, messages, timers, focus, capture,
// cursors and invalidation.
#pragma once
#include "plat/msg.h"
#include "plat/types.h"
#include <cstdint>

namespace plat {

using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using UINT_PTR = uintptr_t;
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
struct PAINTSTRUCT; // plat/gdi.h

// ---- process tag and handles ----------------------------------------------
// A window handle is (tag << 16) | local id, ids 1..0xFFFE: never-used ids
// first, then the oldest freed one, so a stale handle stays dead as long as
// possible. The simulator keeps tag 0, so its handles fit in 16 bits; the
// desktop is (tag << 16) | 0xFFFF.
void SetProcessTag(WORD tag);
WORD GetProcessTag();

// ---- classes ---------------------------------------------------------------
// Returns a nonzero atom, 0 if the name is taken or the class has no name or
// procedure. The built-in "PlatWnd" (CS_DBLCLKS, arrow cursor, window brush,
// DefWindowProc) exists from the start.
ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(const char* name, HINSTANCE inst);
BOOL GetClassInfo(HINSTANCE inst, const char* name, WNDCLASS* out);

// ---- creation and destruction ----------------------------------------------
// lpParam reaches WM_CREATE as CREATESTRUCT::lpCreateParams. A WS_CHILD window
// takes hMenu as its control id; WS_POPUP and overlapped windows take parent
// as their owner.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE inst, void* lpParam);
HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menu, HINSTANCE inst, void* lpParam);
BOOL DestroyWindow(HWND hwnd);
// The window whose destruction posts WM_QUIT (0: none).
void SetMainWindow(HWND hwnd);
HWND GetMainWindow();

// ---- state -----------------------------------------------------------------
BOOL IsWindow(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int cmd);              // previous visibility
BOOL IsWindowVisible(HWND hwnd);                  // itself and every ancestor
BOOL EnableWindow(HWND hwnd, BOOL enable);        // TRUE if it was disabled
BOOL IsWindowEnabled(HWND hwnd);
BOOL SetWindowText(HWND hwnd, const char* text);
int GetWindowText(HWND hwnd, char* buf, int size); // bytes copied, NUL excluded
int GetWindowTextLength(HWND hwnd);

// ---- geometry --------------------------------------------------------------
// Top-level rectangles are in screen coordinates and include the layer's
// non-client parts (borders, scroll bars) but not the title bar and frame a
// window manager adds around them; child rectangles are in the
// parent's client coordinates for SetWindowPos/MoveWindow, in screen
// coordinates for GetWindowRect.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL ClientToScreen(HWND hwnd, POINT* pt);
BOOL ScreenToClient(HWND hwnd, POINT* pt);
int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count);
HWND GetDesktopWindow();
HWND WindowFromPoint(POINT pt);

// ---- relations -------------------------------------------------------------
HWND GetParent(HWND hwnd);      // parent of a child, owner of a popup
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
int GetClassName(HWND hwnd, char* buf, int size);
HWND FindWindow(const char* className, const char* windowName);

// ---- procedures and long values --------------------------------------------
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
LONG GetWindowLong(HWND hwnd, int index);
// Brush and cursor changes reach the given window only.
ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);
ULONG_PTR GetClassLongPtr(HWND hwnd, int index);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The C++ object a framework class keeps for the window (not a Win32 slot).
void SetWindowObject(HWND hwnd, void* object);
void* GetWindowObject(HWND hwnd);

// ---- messages --------------------------------------------------------------
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Posted messages reach their windows from whichever loop runs (the layer's
// loops dispatch them as they come); these see what is still queued, and
// WM_QUIT once nothing else is. Input, timers and paints never pass through
// them.
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove);
BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last); // FALSE on WM_QUIT
LRESULT DispatchMessage(const MSG* msg);
BOOL TranslateMessage(const MSG* msg);
BOOL InSendMessage();

// ---- timers ----------------------------------------------------------------
// Intervals below USER_TIMER_MINIMUM ms are raised to it. With hwnd 0 the
// layer picks the id (nonzero) and proc is required.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- focus, activation, capture --------------------------------------------
HWND SetFocus(HWND hwnd);       // previous focus
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);     // previous capture
BOOL ReleaseCapture();
HWND GetCapture();

// ---- cursors ---------------------------------------------------------------
// LoadCursor(0, IDC_…) gives the standard shapes; module cursors come with
// the resources.
HCURSOR LoadCursor(HINSTANCE inst, UINT id);
HCURSOR LoadCursor(HINSTANCE inst, const char* name);
HCURSOR SetCursor(HCURSOR cursor); // previous cursor
HCURSOR GetCursor();
BOOL ClipCursor(const RECT* rect);
BOOL GetClipCursor(RECT* rect);
BOOL GetCursorPos(POINT* pt);
BOOL SetCursorPos(int x, int y);

// ---- invalidation and painting ---------------------------------------------
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);   // rect 0: all
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);            // rgn 0: all
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
BOOL UpdateWindow(HWND hwnd);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
// Moves the client pixels (all, or those in rect) by dx, dy within clip (or
// the client area) and invalidates what was uncovered; children stay put.
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rect, const RECT* clip);

// ---- window scroll bars (WS_HSCROLL, WS_VSCROLL) ---------------------------
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);  // previous position
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);

} // namespace plat
