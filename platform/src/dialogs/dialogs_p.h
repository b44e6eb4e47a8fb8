// Private to platform/src. The dialog manager's hooks for the framework.
#pragma once
#include "plat/types.h"

namespace plat::dialogs {

// The background and text colour of every dialog (SetDialogBkColor);
// CLR_INVALID: the system's button face.
void SetDialogColors(COLORREF bk, COLORREF text);
COLORREF DialogBkColor();
COLORREF DialogTextColor();

// The class procedure of dialogs (the framework subclasses over it).
LRESULT DialogClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void InitDialogs();

} // namespace plat::dialogs
