// The dialog manager: dialogs from templates, their keyboard rules, item
// helpers and dialog units.
#pragma once
#include "plat/controls.h"
#include "plat/msg.h"
#include "plat/res.h"
#include "plat/types.h"
#include "plat/window.h"

namespace plat {

// Dialog styles (DlgTemplate::style).
inline constexpr DWORD DS_ABSALIGN = 0x01;
inline constexpr DWORD DS_SYSMODAL = 0x02;
inline constexpr DWORD DS_LOCALEDIT = 0x20;
inline constexpr DWORD DS_SETFONT = 0x40;
inline constexpr DWORD DS_MODALFRAME = 0x80;
inline constexpr DWORD DS_NOIDLEMSG = 0x100;
inline constexpr DWORD DS_SETFOREGROUND = 0x200;
inline constexpr DWORD DS_CONTROL = 0x400;
inline constexpr DWORD DS_CENTER = 0x800;

// The class every dialog window has.
inline constexpr const char* WC_DIALOG = "PlatDialog";

// Modeless: the dialog window (0 on failure) after WM_INITDIALOG; shown when
// the template has WS_VISIBLE. The procedure answers TRUE for a message it
// handled; SetDlgMsgResult sets the value a message returns.
HWND CreateDialogParam(HINSTANCE inst, int templateId, HWND owner, DLGPROC proc, LPARAM param);
HWND CreateDialogIndirectParam(HINSTANCE inst, const DlgTemplate* tpl, HWND owner, DLGPROC proc,
                               LPARAM param);
// Modal: runs until EndDialog and returns its result; -1 if the dialog could
// not be made. The owner is disabled meanwhile and the modal depth raised.
intptr_t DialogBoxParam(HINSTANCE inst, int templateId, HWND owner, DLGPROC proc, LPARAM param);
intptr_t DialogBoxIndirectParam(HINSTANCE inst, const DlgTemplate* tpl, HWND owner, DLGPROC proc,
                                LPARAM param);
// Modal dialogs end their loop; modeless ones are only hidden (their owner
// destroys them).
BOOL EndDialog(HWND dlg, intptr_t result);
BOOL IsDialog(HWND hwnd);
// The value returned for the message being handled (DWLP_MSGRESULT).
void SetDlgMsgResult(HWND dlg, LRESULT result);

// The template a dialog was made from (NULL for other windows), and an
// item's rectangle as the template gives it (usable in WM_CREATE, before the
// controls exist).
const DlgTemplate* GetDialogTemplate(HWND dlg);
BOOL GetTemplateItemRect(HWND dlg, int id, RECT* rect);

// The default push button (0: the first BS_DEFPUSHBUTTON, if any). Methods of
// the manager, not messages: 0x400 and 0x401 stay free for the program.
void SetDialogDefID(HWND dlg, int id);
int GetDialogDefID(HWND dlg);

// Moves the focus to the next or previous tab stop (as Tab does), or to ctl.
void NextDlgCtl(HWND dlg, HWND ctl, BOOL previous, BOOL byHandle);
HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous);
HWND GetNextDlgGroupItem(HWND dlg, HWND ctl, BOOL previous);

// Item helpers.
BOOL SetDlgItemText(HWND dlg, int id, const char* text);
UINT GetDlgItemText(HWND dlg, int id, char* buf, int size);
// Leading spaces, an optional sign (when signedValue), digits, nothing after;
// *ok FALSE (and 0) for anything else or overflow.
UINT GetDlgItemInt(HWND dlg, int id, BOOL* ok, BOOL signedValue);
BOOL SetDlgItemInt(HWND dlg, int id, UINT value, BOOL signedValue);
BOOL CheckDlgButton(HWND dlg, int id, UINT check);
UINT IsDlgButtonChecked(HWND dlg, int id);
BOOL CheckRadioButton(HWND dlg, int firstId, int lastId, int checkId);
LRESULT SendDlgItemMessage(HWND dlg, int id, UINT msg, WPARAM wParam, LPARAM lParam);

// The rule GetDlgItemInt applies to a text, for callers holding the text.
bool ParseDlgInt(const char* text, bool signedValue, int64_t* value);

// Dialog units: base x = (width of "A..Za..z" / 26 + 1) / 2 and base y =
// the text height of the dialog's font; a unit is base/4 across, base/8 down.
BOOL MapDialogRect(HWND dlg, RECT* rect);
LONG GetDialogBaseUnits();

} // namespace plat
