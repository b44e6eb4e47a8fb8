// A sample dialog and a recording dialog procedure shared by the dialog tests.
#pragma once
#include "plat/commctl.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/loop.h"
#include "plat/modal.h"
#include "plat/module.h"
#include "plat/res.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace dlgtest {

using namespace plat;

inline constexpr int IDD_SAMPLE = 300;
inline constexpr int IDD_NO_OK = 301;
inline constexpr int IDC_NAME = 101;
inline constexpr int IDC_KIND = 102;
inline constexpr int IDC_NOTES = 103;
inline constexpr int IDC_CHECK = 104;
inline constexpr int IDC_RADIO1 = 201;
inline constexpr int IDC_RADIO2 = 202;
inline constexpr int IDC_RADIO3 = 203;
inline constexpr int IDC_LIST = 105;

inline constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

inline const DlgItemTemplate kSampleItems[] = {
    {"STATIC", 0xFFFF, "&Name:", kChild | SS_LEFT, 0, 10, 10, 60, 14},
    {"EDIT", IDC_NAME, "", kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 80, 8, 120, 20},
    {"COMBOBOX", IDC_KIND, "", kChild | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 80, 34, 120, 100},
    {"BUTTON", IDC_RADIO1, "&Fast", kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 10, 64, 80, 16},
    {"BUTTON", IDC_RADIO2, "&Slow", kChild | BS_AUTORADIOBUTTON, 0, 10, 82, 80, 16},
    {"BUTTON", IDC_RADIO3, "S&topped", kChild | BS_AUTORADIOBUTTON, 0, 10, 100, 80, 16},
    {"BUTTON", IDC_CHECK, "&Urgent", kChild | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0, 110, 64, 90, 16},
    {"EDIT", IDC_NOTES, "", kChild | WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_WANTRETURN, 0, 110, 84, 90, 40},
    {"LISTBOX", IDC_LIST, "", kChild | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 10, 130, 190, 50},
    {"BUTTON", IDOK, "OK", kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 210, 8, 70, 22},
    {"BUTTON", IDCANCEL, "Cancel", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 210, 36, 70, 22},
};

inline const DlgItemTemplate kNoOkItems[] = {
    {"EDIT", IDC_NAME, "", kChild | WS_TABSTOP | WS_BORDER, 0, 10, 10, 100, 20},
    {"BUTTON", 500, "Apply", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 10, 40, 70, 22},
};

inline const DlgTemplate kTemplates[] = {
    {IDD_SAMPLE, "Order entry", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 40, 40, 290, 190,
     nullptr, 0, kSampleItems},
    {IDD_NO_OK, "Apply only", WS_POPUP | WS_CAPTION | WS_SYSMENU, 40, 40, 200, 80, nullptr, 0, kNoOkItems},
};

// What the dialog procedure saw.
struct Seen {
    std::vector<std::pair<int, int>> commands; // (id, code)
    std::vector<LPARAM> controls;
    std::string name;
    int kind = -2;
    bool initialised = false;
    bool controlsAtInit = false;
    void clear() { *this = Seen{}; }
};
inline Seen g_seen;
// Ends the dialog on IDOK/IDCANCEL when set.
inline bool g_endOnButtons = true;

inline intptr_t sample_proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        g_seen.initialised = true;
        g_seen.controlsAtInit = GetDlgItem(dlg, IDC_NAME) != 0 && GetDlgItem(dlg, IDCANCEL) != 0;
        SendDlgItemMessage(dlg, IDC_KIND, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Standard"));
        SendDlgItemMessage(dlg, IDC_KIND, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Express"));
        SendDlgItemMessage(dlg, IDC_KIND, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Special"));
        SendDlgItemMessage(dlg, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Lathe"));
        SendDlgItemMessage(dlg, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Mill"));
        CheckRadioButton(dlg, IDC_RADIO1, IDC_RADIO3, IDC_RADIO1);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        g_seen.commands.emplace_back(id, HIWORD(wParam));
        g_seen.controls.push_back(lParam);
        if (g_endOnButtons && (id == IDOK || id == IDCANCEL)) {
            char buf[64] = {};
            GetDlgItemText(dlg, IDC_NAME, buf, sizeof buf);
            g_seen.name = buf;
            g_seen.kind = static_cast<int>(SendDlgItemMessage(dlg, IDC_KIND, CB_GETCURSEL, 0, 0));
            EndDialog(dlg, id);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        module() = RegisterModule("DLGTEST.EXE", nullptr);
        RegisterDialogTemplates(module(), kTemplates);
    }
    static HINSTANCE& module()
    {
        static HINSTANCE m = 0;
        return m;
    }
    void SetUp() override
    {
        g_seen.clear();
        g_endOnButtons = true;
    }
    void TearDown() override { ResetWindowsForTest(); }

    HWND open_modeless(int id = IDD_SAMPLE)
    {
        HWND dlg = CreateDialogParam(module(), id, 0, sample_proc, 0);
        if (dlg)
            ShowWindow(dlg, SW_SHOW);
        PumpEvents();
        return dlg;
    }
    // The commands the dialog got, as (id, code) pairs.
    static std::vector<std::pair<int, int>> commands() { return g_seen.commands; }
};

} // namespace dlgtest
