// A sample dialog with every control kind, rendered to PNG for a person to
// look at; the dialog's own pixels come from its retained surface.
#include "plat/commctl.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include "plat/module.h"
#include "plat/res.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace plat;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr int IDD_ALL = 700;
enum : int {
    IDC_LABEL = 701, IDC_EDIT, IDC_NOTES, IDC_LIST, IDC_OWNERLIST, IDC_DROPLIST, IDC_DROPDOWN, IDC_CHECK,
    IDC_R1, IDC_R2, IDC_SCROLL, IDC_TREE, IDC_OWNERBTN, IDC_COLORED
};

const DlgItemTemplate kItems[] = {
    {"STATIC", IDC_LABEL, "&Product name:", kChild | SS_LEFT, 0, 12, 14, 90, 16},
    {"EDIT", IDC_EDIT, "Gear box", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 104, 10, 150, 22},
    {"STATIC", IDC_COLORED, "Coloured label", kChild | SS_CENTER, 0, 12, 40, 90, 16},
    {"COMBOBOX", IDC_DROPLIST, "", kChild | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 104, 38, 150, 120},
    {"COMBOBOX", IDC_DROPDOWN, "", kChild | WS_TABSTOP | CBS_DROPDOWN, 0, 104, 66, 150, 120},
    {"BUTTON", 0xFFFF, "Priority", kChild | BS_GROUPBOX, 0, 270, 6, 140, 82},
    {"BUTTON", IDC_R1, "&Normal", kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 282, 26, 110, 18},
    {"BUTTON", IDC_R2, "&Rush", kChild | BS_AUTORADIOBUTTON, 0, 282, 46, 110, 18},
    {"BUTTON", IDC_CHECK, "&Print order", kChild | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0, 282, 66, 110, 18},
    {"LISTBOX", IDC_LIST, "", kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS, WS_EX_CLIENTEDGE, 12, 96, 200, 90},
    {"LISTBOX", IDC_OWNERLIST, "", kChild | WS_TABSTOP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, WS_EX_CLIENTEDGE, 220, 96, 190, 90},
    {"EDIT", IDC_NOTES, "", kChild | ES_MULTILINE | ES_READONLY | WS_VSCROLL, WS_EX_CLIENTEDGE, 12, 194, 200, 60},
    {"SysTreeView32", IDC_TREE, "", kChild | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, WS_EX_CLIENTEDGE, 220, 194, 190, 90},
    {"SCROLLBAR", IDC_SCROLL, "", kChild | SBS_HORZ, 0, 12, 262, 200, 16},
    {"STATIC", 0xFFFF, "", kChild | SS_ETCHEDHORZ, 0, 12, 292, 398, 2},
    {"STATIC", 0xFFFF, "", kChild | SS_BLACKFRAME, 0, 12, 300, 40, 28},
    {"BUTTON", IDC_OWNERBTN, "", kChild | BS_OWNERDRAW, 0, 60, 300, 60, 28},
    {"BUTTON", IDOK, "OK", kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 250, 300, 75, 26},
    {"BUTTON", IDCANCEL, "Cancel", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 335, 300, 75, 26},
};
const DlgTemplate kDialogs[] = {
    {IDD_ALL, "Every control", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 30, 30, 422, 340, nullptr, 0, kItems},
};

std::vector<std::pair<int, UINT>> g_drawn; // (control id, item)
HBRUSH g_yellow = 0;

intptr_t sample_proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        for (const char* s : {"Standard", "Express", "Special"})
            SendDlgItemMessage(dlg, IDC_DROPLIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        SendDlgItemMessage(dlg, IDC_DROPLIST, CB_SETCURSEL, 1, 0);
        SendDlgItemMessage(dlg, IDC_DROPDOWN, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("100"));
        SetDlgItemText(dlg, IDC_DROPDOWN, "250");
        for (const char* s : {"Lathe\t3\t80%", "Mill\t2\t65%", "Drill\t4\t92%", "Paint\t1\t40%"})
            SendDlgItemMessage(dlg, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        SendDlgItemMessage(dlg, IDC_LIST, LB_SETCURSEL, 1, 0);
        for (const char* s : {"Red line", "Green line", "Blue line"})
            SendDlgItemMessage(dlg, IDC_OWNERLIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        SetDlgItemText(dlg, IDC_NOTES, "Orders are shipped\r\nevery Monday.\r\nRush orders cost 20% more.");
        CheckRadioButton(dlg, IDC_R1, IDC_R2, IDC_R2);
        CheckDlgButton(dlg, IDC_CHECK, BST_CHECKED);
        HWND sb = GetDlgItem(dlg, IDC_SCROLL);
        SendMessage(sb, SBM_SETRANGE, 0, 100);
        SendMessage(sb, SBM_SETPOS, 30, TRUE);
        HWND tree = GetDlgItem(dlg, IDC_TREE);
        TVINSERTSTRUCT ins;
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>("Week 1");
        HTREEITEM w1 = TreeView_InsertItem(tree, &ins);
        ins.hParent = w1;
        ins.item.pszText = const_cast<char*>("Release 20 gears");
        TreeView_InsertItem(tree, &ins);
        ins.item.pszText = const_cast<char*>("Buy steel");
        TreeView_InsertItem(tree, &ins);
        TreeView_Expand(tree, w1, TVE_EXPAND);
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        g_drawn.emplace_back(static_cast<int>(wParam), dis->itemID);
        static const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 150, 0), RGB(0, 0, 200)};
        if (dis->CtlType == ODT_BUTTON) {
            HBRUSH b = CreateSolidBrush(RGB(255, 160, 0));
            FillRect(dis->hDC, &dis->rcItem, b);
            DeleteObject(b);
            SetBkMode(dis->hDC, TRANSPARENT);
            DrawText(dis->hDC, "Owner", -1, &dis->rcItem, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            return TRUE;
        }
        const bool sel = dis->itemState & ODS_SELECTED;
        FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush(sel ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        HBRUSH swatch = CreateSolidBrush(colours[dis->itemID % 3]);
        RECT sw{dis->rcItem.left + 2, dis->rcItem.top + 2, dis->rcItem.left + 22, dis->rcItem.bottom - 2};
        FillRect(dis->hDC, &sw, swatch);
        DeleteObject(swatch);
        char text[32] = {};
        SendMessage(dis->hwndItem, LB_GETTEXT, dis->itemID, reinterpret_cast<LPARAM>(text));
        SetBkMode(dis->hDC, TRANSPARENT);
        SetTextColor(dis->hDC, GetSysColor(sel ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        TextOut(dis->hDC, dis->rcItem.left + 28, dis->rcItem.top + 1, text, static_cast<int>(std::strlen(text)));
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(static_cast<HWND>(lParam)) == IDC_COLORED) {
            SetTextColor(static_cast<HDC>(wParam), RGB(0, 0, 160));
            SetBkColor(static_cast<HDC>(wParam), RGB(255, 255, 160));
            return static_cast<intptr_t>(g_yellow);
        }
        return FALSE;
    default:
        return FALSE;
    }
}

TEST(SampleDialog, EveryControlKindRendersToPng)
{
    InitGui();
    HINSTANCE m = RegisterModule("SAMPLE.EXE", nullptr);
    RegisterDialogTemplates(m, kDialogs);
    g_yellow = CreateSolidBrush(RGB(255, 255, 160));
    HWND dlg = CreateDialogParam(m, IDD_ALL, 0, sample_proc, 0);
    ASSERT_NE(dlg, 0u);
    ShowWindow(dlg, SW_SHOW);
    UpdateWindow(dlg);
    PumpEvents(50);
    // Owner-drawn items were drawn by the dialog.
    bool button = false;
    int items = 0;
    for (auto& [id, item] : g_drawn) {
        button |= id == IDC_OWNERBTN;
        items += id == IDC_OWNERLIST;
    }
    EXPECT_TRUE(button);
    EXPECT_GE(items, 3);
    // The dialog's background is its own surface: button face grey where no
    // control lies.
    EXPECT_EQ(GetSurfacePixel(dlg, 225, 20), RGB(192, 192, 192));
    EXPECT_EQ(GetSurfacePixel(dlg, 5, 5), RGB(192, 192, 192));
    const std::string path = std::string(VORN_BINARY_DIR) + "/sample_dialog.png";
    EXPECT_TRUE(SaveWindowPng(dlg, path.c_str()));
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char sig[8] = {};
    EXPECT_EQ(std::fread(sig, 1, 8, f), 8u);
    std::fclose(f);
    EXPECT_EQ(sig[1], 'P');
    DestroyWindow(dlg);
    DeleteObject(g_yellow);
    ResetWindowsForTest();
}

} // namespace
