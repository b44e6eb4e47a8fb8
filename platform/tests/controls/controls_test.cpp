// The standard controls driven by their messages: what they answer, which
// changes notify, and the class rules (dialog codes, combo height, edits).
#include "plat/commctl.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/loop.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace plat;

std::vector<std::pair<int, int>> g_cmds; // (id, code)
std::vector<std::pair<UINT, WPARAM>> g_scrolls;

LRESULT parent_proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_COMMAND) {
        g_cmds.emplace_back(LOWORD(w), HIWORD(w));
        return 0;
    }
    if (m == WM_HSCROLL || m == WM_VSCROLL) {
        g_scrolls.emplace_back(m, w);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

class ControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        InitControls();
        WNDCLASS wc;
        wc.lpfnWndProc = parent_proc;
        wc.lpszClassName = "ControlsTestParent";
        wc.hbrBackground = static_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClass(&wc);
    }
    void SetUp() override
    {
        g_cmds.clear();
        g_scrolls.clear();
        parent = CreateWindowEx(0, "ControlsTestParent", "Parent", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 400, 300, 0, 0, 0, nullptr);
    }
    void TearDown() override { ResetWindowsForTest(); }
    HWND make(const char* cls, DWORD style, int id, const char* text = "", int w = 120, int h = 24)
    {
        return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, parent, static_cast<HMENU>(id), 0, nullptr);
    }
    HWND parent = 0;
};

TEST_F(ControlsTest, ClassNamesAndDialogCodes)
{
    struct Case {
        const char* cls;
        DWORD style;
        LRESULT code;
    };
    const Case cases[] = {
        {"BUTTON", BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {"BUTTON", BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {"BUTTON", BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {"BUTTON", BS_AUTOCHECKBOX, DLGC_BUTTON},
        {"EDIT", 0, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS},
        {"EDIT", ES_MULTILINE, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS},
        {"STATIC", SS_LEFT, DLGC_STATIC},
        {"LISTBOX", 0, DLGC_WANTARROWS | DLGC_WANTCHARS},
        {"COMBOBOX", CBS_DROPDOWNLIST, DLGC_WANTARROWS | DLGC_WANTCHARS},
        {"SCROLLBAR", SBS_HORZ, DLGC_WANTARROWS},
    };
    int id = 100;
    for (const Case& c : cases) {
        HWND h = make(c.cls, c.style, id++);
        ASSERT_NE(h, 0u) << c.cls;
        char name[32];
        GetClassName(h, name, sizeof name);
        EXPECT_STREQ(name, c.cls);
        EXPECT_EQ(SendMessage(h, WM_GETDLGCODE, 0, 0), c.code) << c.cls << " " << c.style;
    }
}

TEST_F(ControlsTest, NonAutoCheckBoxDoesNotToggleItselfButNotifies)
{
    HWND plain = make("BUTTON", BS_CHECKBOX, 10, "Plain");
    HWND autoBox = make("BUTTON", BS_AUTOCHECKBOX, 11, "Auto");
    SendMessage(plain, BM_CLICK, 0, 0);
    SendMessage(autoBox, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessage(plain, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(autoBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(g_cmds, (std::vector<std::pair<int, int>>{{10, BN_CLICKED}, {11, BN_CLICKED}}));
    SendMessage(plain, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessage(plain, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(g_cmds.size(), 2u) << "BM_SETCHECK is silent";
    // A disabled button ignores BM_CLICK.
    EnableWindow(autoBox, FALSE);
    SendMessage(autoBox, BM_CLICK, 0, 0);
    EXPECT_EQ(g_cmds.size(), 2u);
}

TEST_F(ControlsTest, AutoRadiosClearTheirGroupOnlyAndSetCheckZeroClears)
{
    HWND a = CreateWindowEx(0, "BUTTON", "A", WS_CHILD | WS_GROUP | BS_AUTORADIOBUTTON, 0, 0, 50, 20, parent, static_cast<HMENU>(1), 0, nullptr);
    HWND b = CreateWindowEx(0, "BUTTON", "B", WS_CHILD | BS_AUTORADIOBUTTON, 0, 20, 50, 20, parent, static_cast<HMENU>(2), 0, nullptr);
    HWND c = CreateWindowEx(0, "BUTTON", "C", WS_CHILD | WS_GROUP | BS_AUTORADIOBUTTON, 0, 40, 50, 20, parent, static_cast<HMENU>(3), 0, nullptr);
    SendMessage(a, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(c, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(b, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessage(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessage(c, BM_GETCHECK, 0, 0), BST_CHECKED) << "another WS_GROUP run is untouched";
    SendMessage(b, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "none checked is allowed";
}

TEST_F(ControlsTest, EditTextLimitsSelectionAndMultiLineLines)
{
    HWND e = make("EDIT", ES_AUTOHSCROLL, 20, "start");
    EXPECT_TRUE(g_cmds.empty()) << "creation text does not notify";
    SendMessage(e, EM_LIMITTEXT, 4, 0);
    SetFocus(e);
    SendMessage(e, EM_SETSEL, 0, -1);
    SimulateKeyDown(e, 'X', "x");
    char buf[32];
    GetWindowText(e, buf, sizeof buf);
    EXPECT_STREQ(buf, "x") << "typing replaces the selection";
    for (const char* k : {"1", "2", "3", "4"})
        SimulateKeyDown(e, static_cast<UINT>(k[0]), k);
    GetWindowText(e, buf, sizeof buf);
    EXPECT_STREQ(buf, "x123") << "the limit stops typing";
    EXPECT_EQ(GetWindowTextLength(e), 4);

    HWND m = make("EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, 21, "", 200, 80);
    SetWindowText(m, "line one\r\nline two\r\n\xE9t\xE9");
    EXPECT_EQ(SendMessage(m, EM_GETLINECOUNT, 0, 0), 3);
    GetWindowText(m, buf, sizeof buf);
    EXPECT_STREQ(buf, "line one\r\nline two\r\n\xE9t\xE9") << "CR LF lines and 1252 bytes come back as set";
    std::string big(70000, 'a');
    SetWindowText(m, big.c_str());
    EXPECT_EQ(GetWindowTextLength(m), EDIT_MULTILINE_MAX);
}

TEST_F(ControlsTest, ListBoxKeepsTextsSortedAndAnswersErrors)
{
    HWND lb = make("LISTBOX", LBS_NOTIFY | LBS_SORT | WS_VSCROLL | LBS_USETABSTOPS, 30, "", 150, 80);
    for (const char* s : {"pear", "Apple", "fig\t12"})
        SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    char buf[32];
    std::vector<std::string> got;
    for (int i = 0; i < SendMessage(lb, LB_GETCOUNT, 0, 0); ++i) {
        SendMessage(lb, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
        got.push_back(buf);
    }
    EXPECT_EQ(got, (std::vector<std::string>{"Apple", "fig\t12", "pear"})) << "sorted ignoring case";
    EXPECT_EQ(SendMessage(lb, LB_GETTEXTLEN, 1, 0), 6);
    EXPECT_EQ(SendMessage(lb, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(buf)), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_SETCURSEL, 7, 0), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("PEAR")), 2);
    SendMessage(lb, LB_SETITEMDATA, 1, 4711);
    EXPECT_EQ(SendMessage(lb, LB_GETITEMDATA, 1, 0), 4711);
    int stops[] = {40};
    EXPECT_TRUE(SendMessage(lb, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops)));
    EXPECT_EQ(SendMessage(lb, LB_DELETESTRING, 0, 0), 2);
    EXPECT_GT(SendMessage(lb, LB_GETITEMHEIGHT, 0, 0), 10);
    EXPECT_TRUE(g_cmds.empty());
}

// A click selects and a double click opens, but only a list created with
// LBS_NOTIFY tells its parent; a selection set by message never does.
TEST_F(ControlsTest, ListBoxTellsItsParentOfUserClicksOnlyWithNotify)
{
    struct Case {
        DWORD style;
        std::vector<std::pair<int, int>> want;
    };
    const Case cases[] = {
        {LBS_NOTIFY, {{31, LBN_SELCHANGE}, {31, LBN_SELCHANGE}, {31, LBN_DBLCLK}}},
        {0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        g_cmds.clear();
        HWND lb = make("LISTBOX", c.style, 31, "", 150, 120);
        for (const char* s : {"one", "two", "three", "four"})
            SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        const int h = static_cast<int>(SendMessage(lb, LB_GETITEMHEIGHT, 0, 0));
        ASSERT_GT(h, 0);
        SendMessage(lb, LB_SETCURSEL, 0, 0);
        EXPECT_TRUE(g_cmds.empty());
        SimulateMouseDown(lb, Button::Left, 20, 2 * h + h / 2);
        SimulateMouseUp(lb, Button::Left, 20, 2 * h + h / 2);
        EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 2) << "the row under the click";
        SimulateMouseDown(lb, Button::Left, 20, 3 * h + 1);
        SimulateMouseUp(lb, Button::Left, 20, 3 * h + 1);
        SimulateMouseDoubleClick(lb, Button::Left, 20, 3 * h + 1);
        SimulateMouseUp(lb, Button::Left, 20, 3 * h + 1);
        PumpEvents();
        EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 3);
        EXPECT_EQ(g_cmds, c.want);
        DestroyWindow(lb);
    }
}

// The scroll-bar style a dialog gives a combo is its list's: the field
// itself keeps its whole width, with no bar beside it.
TEST_F(ControlsTest, ComboScrollStyleLeavesTheFieldItsWidth)
{
    for (DWORD kind : {DWORD(CBS_DROPDOWNLIST), DWORD(CBS_DROPDOWN)}) {
        HWND cb = make("COMBOBOX", kind | WS_VSCROLL, 41, "", 120, 150);
        RECT window, client;
        GetWindowRect(cb, &window);
        GetClientRect(cb, &client);
        EXPECT_EQ(client.right - client.left, window.right - window.left) << kind;
        EXPECT_EQ(GetWindowLong(cb, GWL_STYLE) & WS_VSCROLL, 0) << kind;
        DestroyWindow(cb);
    }
}

TEST_F(ControlsTest, ComboWindowIsEditHighAndDropDownNotifies)
{
    HWND cb = make("COMBOBOX", CBS_DROPDOWNLIST, 40, "", 120, 150);
    RECT r;
    GetWindowRect(cb, &r);
    EXPECT_LT(r.bottom - r.top, 40) << "the creation height includes the list";
    EXPECT_GT(r.bottom - r.top, 15);
    for (const char* s : {"Day", "Week", "Month"})
        SendMessage(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), CB_ERR) << "nothing selected at first";
    EXPECT_EQ(SendMessage(cb, CB_SETCURSEL, 2, 0), 2);
    char buf[16];
    EXPECT_EQ(SendMessage(cb, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(buf)), 4);
    EXPECT_STREQ(buf, "Week");
    GetWindowText(cb, buf, sizeof buf);
    EXPECT_STREQ(buf, "Month");
    EXPECT_TRUE(g_cmds.empty());
    SendMessage(cb, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessage(cb, CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_FALSE(g_cmds.empty());
    EXPECT_EQ(g_cmds.front(), (std::pair<int, int>{40, CBN_DROPDOWN}));
    // A user's choice by keyboard notifies.
    g_cmds.clear();
    SetFocus(cb);
    SimulateKeyDown(cb, VK_UP);
    EXPECT_EQ(SendMessage(cb, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(g_cmds, (std::vector<std::pair<int, int>>{{40, CBN_SELCHANGE}}));
}

TEST_F(ControlsTest, ScrollBarReportsAndLeavesTheThumbToTheProgram)
{
    HWND sb = make("SCROLLBAR", SBS_HORZ, 50, "", 200, 16);
    SendMessage(sb, SBM_SETRANGE, 0, 10);
    EXPECT_EQ(SendMessage(sb, SBM_SETPOS, 4, TRUE), 0);
    EXPECT_EQ(SendMessage(sb, SBM_GETPOS, 0, 0), 4);
    EXPECT_EQ(SendMessage(sb, SBM_SETPOS, 40, TRUE), 4);
    EXPECT_EQ(SendMessage(sb, SBM_GETPOS, 0, 0), 10) << "clamped to the range";
    EXPECT_TRUE(g_scrolls.empty()) << "setting the position is silent";
    // A click on the left arrow.
    SendMessage(sb, SBM_SETPOS, 5, TRUE);
    SimulateMouseDown(sb, Button::Left, 3, 8);
    SimulateMouseUp(sb, Button::Left, 3, 8);
    ASSERT_FALSE(g_scrolls.empty());
    EXPECT_EQ(g_scrolls.front().first, WM_HSCROLL);
    EXPECT_EQ(LOWORD(g_scrolls.front().second), SB_LINEUP);
    EXPECT_EQ(SendMessage(sb, SBM_GETPOS, 0, 0), 5) << "the program moves the thumb";
}

TEST_F(ControlsTest, TooltipFollowsItsTool)
{
    HWND button = make("BUTTON", BS_PUSHBUTTON, 60, "Run");
    InitCommonControls();
    HWND tip = CreateWindowEx(0, TOOLTIPS_CLASS, "", WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, parent, 0, 0, nullptr);
    ASSERT_NE(tip, 0u);
    TOOLINFO ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = parent;
    ti.uId = button;
    ti.lpszText = "Start the clock";
    EXPECT_TRUE(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
    char buf[256];
    SendMessage(tip, TTM_GETTIPTEXT_PLAT, button, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "Start the clock");
    ti.lpszText = "Stop the clock";
    SendMessage(tip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessage(tip, TTM_GETTIPTEXT_PLAT, button, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "Stop the clock");
    EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    SendMessage(tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    DestroyWindow(tip);
}

} // namespace

namespace {

WNDPROC g_btnOld = nullptr;
bool g_swallow = false;
std::vector<UINT> g_btnMouse;
LRESULT button_sub(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP) {
        g_btnMouse.push_back(m);
        if (g_swallow)
            return 0;
    }
    return CallWindowProc(g_btnOld, h, m, w, l);
}

TEST_F(ControlsTest, MouseReachesAControlThroughItsProcedures)
{
    HWND b = make("BUTTON", BS_PUSHBUTTON, 70, "Press", 80, 24);
    g_btnOld = reinterpret_cast<WNDPROC>(SetWindowLongPtr(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(button_sub)));
    g_btnMouse.clear();
    g_swallow = false;
    SimulateMouseDown(b, Button::Left, 10, 10);
    SimulateMouseUp(b, Button::Left, 10, 10);
    EXPECT_EQ(g_btnMouse, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(g_cmds, (std::vector<std::pair<int, int>>{{70, BN_CLICKED}}));
    // A subclass that keeps the press keeps the click from happening.
    g_cmds.clear();
    g_swallow = true;
    SimulateMouseDown(b, Button::Left, 10, 10);
    SimulateMouseUp(b, Button::Left, 10, 10);
    EXPECT_TRUE(g_cmds.empty());
    g_swallow = false;
}

} // namespace

namespace {

using namespace plat;

// Hands its controls black text on the button face, as dialogs do.
LRESULT coloured_proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_CTLCOLORBTN || m == WM_CTLCOLORSTATIC) {
        SetTextColor(static_cast<HDC>(w), RGB(0, 0, 0));
        return static_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return parent_proc(h, m, w, l);
}

// A modal loop disables the owner, not the windows it owns: the controls of
// an owned popup still take the mouse and paint as enabled.
TEST_F(ControlsTest, DisabledOwnerLeavesItsOwnedWindowsWorking)
{
    WNDCLASS wc;
    wc.lpfnWndProc = coloured_proc;
    wc.lpszClassName = "ControlsTestColoured";
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClass(&wc);
    const HWND popup = CreateWindowEx(0, "ControlsTestColoured", "Owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40,
                                      200, 100, parent, 0, 0, nullptr);
    const HWND button = CreateWindowEx(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, popup,
                                       static_cast<HMENU>(7), 0, nullptr);
    const HWND off = CreateWindowEx(0, "BUTTON", "Off", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 100, 10,
                                    80, 24, popup, static_cast<HMENU>(8), 0, nullptr);
    EnableWindow(parent, FALSE);
    // An owned window made while the owner is disabled works as well.
    const HWND later = CreateWindowEx(0, "ControlsTestParent", "Later", WS_POPUP | WS_VISIBLE, 60, 160, 200, 60,
                                      parent, 0, 0, nullptr);
    const HWND button2 = CreateWindowEx(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, later,
                                        static_cast<HMENU>(9), 0, nullptr);
    PumpEvents();
    for (HWND b : {button, off, button2}) {
        SimulateMouseDown(b, Button::Left, 20, 12);
        SimulateMouseUp(b, Button::Left, 20, 12);
    }
    PumpEvents();
    std::vector<int> clicked;
    for (auto [id, code] : g_cmds)
        if (code == BN_CLICKED)
            clicked.push_back(id);
    EXPECT_EQ(clicked, (std::vector<int>{7, 9})) << "the disabled button stays off; the others click";

    // Text is drawn dark while enabled and grey while disabled, whatever
    // colour the parent hands out for enabled text.
    const HWND label = CreateWindowEx(0, "STATIC", "WWWW", WS_CHILD | WS_VISIBLE, 10, 50, 80, 20, popup, static_cast<HMENU>(10),
                                      0, nullptr);
    const HWND greyed = CreateWindowEx(0, "STATIC", "WWWW", WS_CHILD | WS_VISIBLE | WS_DISABLED, 100, 50, 80, 20, popup,
                                       static_cast<HMENU>(11), 0, nullptr);
    UpdateWindow(popup);
    PumpEvents();
    auto darkest = [](HWND h, int x0 = 0, int y0 = 0, int x1 = 80, int y1 = 20) {
        int best = 3 * 255;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const COLORREF c = GetShownPixel(h, x, y);
                if (c != CLR_INVALID)
                    best = std::min(best, int(GetRValue(c)) + GetGValue(c) + GetBValue(c));
            }
        return best;
    };
    EXPECT_LT(darkest(label), 3 * 0x40) << "enabled text under a disabled owner looks enabled";
    EXPECT_GT(darkest(greyed), 3 * 0x60) << "disabled text is grey";
    // Inside the buttons' borders only their captions are drawn.
    EXPECT_LT(darkest(button, 8, 5, 72, 19), 3 * 0x40);
    EXPECT_GT(darkest(off, 8, 5, 72, 19), 3 * 0x60) << "a disabled button's caption is grey";

    // Enabling the owner again leaves a disabled control disabled.
    EnableWindow(parent, TRUE);
    g_cmds.clear();
    SimulateMouseDown(off, Button::Left, 20, 12);
    SimulateMouseUp(off, Button::Left, 20, 12);
    PumpEvents();
    EXPECT_TRUE(g_cmds.empty());
    EXPECT_FALSE(IsWindowEnabled(off));
}

} // namespace
