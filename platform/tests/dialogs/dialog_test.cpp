// Dialogs driven by messages, as the tutorial player drives them: creation
// order, results, notifications and the classic keyboard rules.
#include "dialog_fixture.h"
#include <algorithm>
#include <ostream>

namespace dlgtest {
namespace {

using Cmd = std::pair<int, int>;

TEST_F(DialogTest, ModalDialogFilledByMessagesReturnsItsResult)
{
    ScriptedHost host;
    host.OnDialog(IDD_SAMPLE, [](HWND dlg) {
        SetDlgItemText(dlg, IDC_NAME, "Order 42");
        SendDlgItemMessage(dlg, IDC_KIND, CB_SETCURSEL, 1, 0);
        PostMessage(dlg, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    });
    const intptr_t result = DialogBoxParam(module(), IDD_SAMPLE, 0, sample_proc, 0);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(g_seen.initialised);
    EXPECT_TRUE(g_seen.controlsAtInit) << "WM_INITDIALOG comes after the controls exist";
    EXPECT_EQ(g_seen.name, "Order 42");
    EXPECT_EQ(g_seen.kind, 1);
    // Setting the edit's text notified; selecting in the combo did not.
    std::vector<Cmd> upToOk;
    for (const Cmd& c : commands()) {
        if (c.second == EN_SETFOCUS || c.second == EN_KILLFOCUS)
            continue;
        upToOk.push_back(c);
        if (c.first == IDOK)
            break;
    }
    EXPECT_EQ(upToOk, (std::vector<Cmd>{{IDC_NAME, EN_CHANGE}, {IDOK, 0}}));
    ASSERT_EQ(host.dialogs().size(), 1u);
    EXPECT_EQ(host.dialogs()[0].second, IDD_SAMPLE);
    EXPECT_FALSE(IsWindow(host.dialogs()[0].first)) << "a modal dialog is gone when DialogBox returns";
}

TEST_F(DialogTest, ModalDepthIsRaisedWhileTheDialogRuns)
{
    ScriptedHost host;
    int depth = -1;
    host.OnDialog(IDD_SAMPLE, [&](HWND dlg) {
        depth = ModalDepth();
        EndDialog(dlg, 77);
    });
    EXPECT_EQ(DialogBoxParam(module(), IDD_SAMPLE, 0, sample_proc, 0), 77);
    EXPECT_GT(depth, 0);
    EXPECT_EQ(ModalDepth(), 0);
}

TEST_F(DialogTest, MissingTemplateFails)
{
    EXPECT_EQ(DialogBoxParam(module(), 9999, 0, sample_proc, 0), -1);
    EXPECT_EQ(CreateDialogParam(module(), 9999, 0, sample_proc, 0), 0u);
}

TEST_F(DialogTest, ProgrammaticChangesSendNoNotification)
{
    HWND dlg = open_modeless();
    ASSERT_NE(dlg, 0u);
    g_seen.commands.clear();
    CheckDlgButton(dlg, IDC_CHECK, BST_CHECKED);
    SendDlgItemMessage(dlg, IDC_RADIO2, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessage(dlg, IDC_LIST, LB_SETCURSEL, 1, 0);
    SendDlgItemMessage(dlg, IDC_KIND, CB_SETCURSEL, 2, 0);
    PumpEvents();
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_CHECK), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessage(dlg, IDC_LIST, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessage(dlg, IDC_KIND, CB_GETCURSEL, 0, 0), 2);
    // SETCHECK does not touch the other radios of the group.
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RADIO1), BST_CHECKED);

    // Setting an edit's text by message does notify, once.
    SetDlgItemText(dlg, IDC_NAME, "abc");
    EXPECT_EQ(commands(), (std::vector<Cmd>{{IDC_NAME, EN_CHANGE}}));
    char buf[16];
    EXPECT_EQ(GetDlgItemText(dlg, IDC_NAME, buf, 3), 2u) << "text getters truncate to size - 1";
    EXPECT_STREQ(buf, "ab");
}

TEST_F(DialogTest, UserActionsNotify)
{
    HWND dlg = open_modeless();
    g_seen.commands.clear();
    g_seen.controls.clear();
    HWND edit = GetDlgItem(dlg, IDC_NAME);
    EXPECT_EQ(GetFocus(), edit) << "WM_INITDIALOG answering TRUE focuses the first tab stop";
    SimulateKeyDown(edit, '7', "7");
    SimulateKeyUp(edit, '7');
    char buf[16] = {};
    GetWindowText(edit, buf, sizeof buf);
    EXPECT_STREQ(buf, "7");
    HWND check = GetDlgItem(dlg, IDC_CHECK);
    SendMessage(check, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_CHECK), BST_CHECKED) << "an auto check box toggles itself";
    HWND list = GetDlgItem(dlg, IDC_LIST);
    SetFocus(list);
    SimulateKeyDown(list, VK_DOWN);
    PumpEvents();
    std::vector<Cmd> want{{IDC_NAME, EN_CHANGE}, {IDC_CHECK, BN_CLICKED}, {IDC_NAME, EN_KILLFOCUS},
                          {IDC_LIST, LBN_SELCHANGE}};
    EXPECT_EQ(commands(), want);
    ASSERT_EQ(g_seen.controls.size(), want.size());
    EXPECT_EQ(g_seen.controls[1], static_cast<LPARAM>(check)) << "lParam is the control";
}

struct KeyCase {
    const char* name;
    int dialog;
    int focusId;  // 0: nothing focused inside
    UINT vk;
    const char* text;
    std::vector<Cmd> want;
    int wantControlId; // id of the control in lParam, 0 for none
};

// Test names (and CTest's names for them) show the case's name, never its bytes.
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class DialogKeys : public DialogTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeys, EnterAndEscapeFollowTheClassicRules)
{
    const KeyCase& c = GetParam();
    g_endOnButtons = false;
    HWND dlg = open_modeless(c.dialog);
    HWND focus = c.focusId ? GetDlgItem(dlg, c.focusId) : dlg;
    SetFocus(focus);
    g_seen.commands.clear();
    g_seen.controls.clear();
    SimulateKeyDown(focus, c.vk, c.text);
    SimulateKeyUp(focus, c.vk);
    // Focus changes notify too; only the commands of buttons count here.
    std::vector<Cmd> got;
    std::vector<LPARAM> ctls;
    for (size_t i = 0; i < g_seen.commands.size(); ++i)
        if (g_seen.commands[i].first != IDC_NAME && g_seen.commands[i].first != IDC_NOTES) {
            got.push_back(g_seen.commands[i]);
            ctls.push_back(g_seen.controls[i]);
        }
    EXPECT_EQ(got, c.want);
    if (!c.want.empty()) {
        ASSERT_FALSE(ctls.empty());
        EXPECT_EQ(ctls[0], static_cast<LPARAM>(c.wantControlId ? GetDlgItem(dlg, c.wantControlId) : 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DialogKeys,
    ::testing::Values(
        KeyCase{"EnterInEditClicksDefault", IDD_SAMPLE, IDC_NAME, VK_RETURN, "\r", {{IDOK, BN_CLICKED}}, IDOK},
        KeyCase{"EnterOnCancelClicksCancel", IDD_SAMPLE, IDCANCEL, VK_RETURN, "\r", {{IDCANCEL, BN_CLICKED}}, IDCANCEL},
        KeyCase{"EscapeCancels", IDD_SAMPLE, IDC_NAME, VK_ESCAPE, "\x1b", {{IDCANCEL, BN_CLICKED}}, IDCANCEL},
        KeyCase{"EnterWithoutDefaultSendsIdok", IDD_NO_OK, IDC_NAME, VK_RETURN, "\r", {{IDOK, BN_CLICKED}}, 0},
        KeyCase{"EscapeWithoutCancelButton", IDD_NO_OK, IDC_NAME, VK_ESCAPE, "\x1b", {{IDCANCEL, BN_CLICKED}}, 0},
        KeyCase{"EnterInMultiLineEditStays", IDD_SAMPLE, IDC_NOTES, VK_RETURN, "\r", {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, EnterReachesTheDialogAfterAKeyOfAnotherWindow)
{
    // A key a plain window took first, then Enter in the dialog's edit: both
    // events may live at the same address, which must not make the second
    // look like the first on its way up.
    g_endOnButtons = false;
    HWND plain = CreateWindowEx(0, "PlatWnd", "plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, 0, 0, 0,
                                nullptr);
    ASSERT_NE(plain, 0u);
    HWND dlg = open_modeless();
    HWND edit = GetDlgItem(dlg, IDC_NAME);
    g_seen.commands.clear();
    for (HWND target : {plain, edit}) {
        if (target == edit)
            SetFocus(edit);
        SimulateKeyDown(target, VK_RETURN, "\r");
    }
    std::vector<Cmd> clicks;
    for (const Cmd& c : g_seen.commands)
        if (c.first == IDOK)
            clicks.push_back(c);
    EXPECT_EQ(clicks, (std::vector<Cmd>{{IDOK, BN_CLICKED}}));
    DestroyWindow(plain);
}

TEST_F(DialogTest, AnOwnedDialogStaysAboveItsOwnerWithOnlyTheButtonsItAsksFor)
{
    HWND main = CreateWindowEx(0, "PlatWnd", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, 0, 0, 0,
                               nullptr);
    ASSERT_NE(main, 0u);
    ScriptedHost host;
    FrameLook seen;
    host.OnDialog(IDD_SAMPLE, [&](HWND dlg) {
        seen = GetFrameLook(dlg);
        EndDialog(dlg, IDCANCEL);
    });
    EXPECT_EQ(DialogBoxParam(module(), IDD_SAMPLE, main, sample_proc, 0), IDCANCEL);
    EXPECT_EQ(seen.keptAbove, main) << "the window manager must keep it above its owner";
    EXPECT_TRUE(seen.title);
    EXPECT_TRUE(seen.close);
    EXPECT_FALSE(seen.minimize);
    EXPECT_FALSE(seen.maximize);
    EXPECT_FALSE(seen.resizable) << "no sizing border";

    const FrameLook top = GetFrameLook(main);
    EXPECT_EQ(top.keptAbove, 0u);
    EXPECT_TRUE(top.minimize && top.maximize && top.close && top.resizable);
    HWND caption = CreateWindowEx(0, "PlatWnd", "caption only", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0, 100,
                                  80, main, 0, 0, nullptr);
    const FrameLook bare = GetFrameLook(caption);
    EXPECT_EQ(bare.keptAbove, main);
    EXPECT_TRUE(bare.title);
    EXPECT_FALSE(bare.close || bare.minimize || bare.maximize);
    DestroyWindow(main);
}

TEST_F(DialogTest, CloseRequestCancels)
{
    g_endOnButtons = false;
    HWND dlg = open_modeless();
    g_seen.commands.clear();
    SendMessage(dlg, WM_CLOSE, 0, 0);
    EXPECT_EQ(commands(), (std::vector<Cmd>{{IDCANCEL, 0}}));
    EXPECT_EQ(g_seen.controls.back(), 0);
    EXPECT_TRUE(IsWindow(dlg)) << "WM_CLOSE of a dialog does not destroy it by itself";

    // The window system's close button does the same.
    g_seen.commands.clear();
    SimulateClose(dlg);
    PumpEvents();
    EXPECT_EQ(commands(), (std::vector<Cmd>{{IDCANCEL, 0}}));
}

TEST_F(DialogTest, ModalDialogEndsWithEnterEscapeAndClose)
{
    struct Case {
        UINT vk;
        const char* text;
        intptr_t want;
    };
    for (const Case& c : {Case{VK_RETURN, "\r", IDOK}, Case{VK_ESCAPE, "\x1b", IDCANCEL}, Case{0, "", IDCANCEL}}) {
        ScriptedHost host;
        host.OnDialog(IDD_SAMPLE, [&](HWND dlg) {
            HWND edit = GetDlgItem(dlg, IDC_NAME);
            if (c.vk)
                SimulateKeyDown(edit, c.vk, c.text);
            else
                SimulateClose(dlg);
        });
        EXPECT_EQ(DialogBoxParam(module(), IDD_SAMPLE, 0, sample_proc, 0), c.want) << "key " << c.vk;
    }
}

TEST_F(DialogTest, ArrowsMoveWithinTheRadioGroupAndTabLeavesIt)
{
    HWND dlg = open_modeless();
    HWND r1 = GetDlgItem(dlg, IDC_RADIO1);
    HWND r2 = GetDlgItem(dlg, IDC_RADIO2);
    HWND r3 = GetDlgItem(dlg, IDC_RADIO3);
    SetFocus(r1);
    g_seen.commands.clear();
    SimulateKeyDown(r1, VK_DOWN);
    EXPECT_EQ(GetFocus(), r2);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RADIO2), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RADIO1), BST_UNCHECKED);
    SimulateKeyDown(r2, VK_DOWN);
    SimulateKeyDown(r3, VK_DOWN);
    EXPECT_EQ(GetFocus(), r1) << "the group wraps";
    SimulateKeyDown(r1, VK_UP);
    EXPECT_EQ(GetFocus(), r3);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RADIO3), BST_CHECKED);
    EXPECT_EQ(commands(), (std::vector<Cmd>{{IDC_RADIO2, BN_CLICKED}, {IDC_RADIO3, BN_CLICKED},
                                            {IDC_RADIO1, BN_CLICKED}, {IDC_RADIO3, BN_CLICKED}}));
    // Tab leaves the group for the next tab stop; Shift+Tab comes back to
    // the checked radio, not the group's first.
    SimulateKeyDown(r3, VK_TAB, "\t");
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_CHECK));
    SimulateKeyDown(GetFocus(), VK_TAB, "", MK_SHIFT);
    EXPECT_EQ(GetFocus(), r3);
}

TEST_F(DialogTest, TabWrapsAndSkipsDisabledControls)
{
    HWND dlg = open_modeless();
    EnableWindow(GetDlgItem(dlg, IDC_KIND), FALSE);
    HWND name = GetDlgItem(dlg, IDC_NAME);
    SetFocus(name);
    SimulateKeyDown(name, VK_TAB, "\t");
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_RADIO1));
    HWND cancel = GetDlgItem(dlg, IDCANCEL);
    SetFocus(cancel);
    SimulateKeyDown(cancel, VK_TAB, "\t");
    EXPECT_EQ(GetFocus(), name) << "Tab wraps to the first tab stop";
}

// A derived edit that keeps Tab, as the grid's cell editor does.
WNDPROC g_editOld = nullptr;
std::vector<UINT> g_editKeys;
LRESULT keeps_tab(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_GETDLGCODE)
        return CallWindowProc(g_editOld, h, m, w, l) | DLGC_WANTTAB;
    if (m == WM_KEYDOWN)
        g_editKeys.push_back(static_cast<UINT>(w));
    return CallWindowProc(g_editOld, h, m, w, l);
}

TEST_F(DialogTest, DerivedEditKeepsTab)
{
    HWND dlg = open_modeless();
    HWND name = GetDlgItem(dlg, IDC_NAME);
    g_editKeys.clear();
    g_editOld = reinterpret_cast<WNDPROC>(SetWindowLongPtr(name, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keeps_tab)));
    SetFocus(name);
    SimulateKeyDown(name, VK_TAB, "\t");
    EXPECT_EQ(GetFocus(), name);
    EXPECT_EQ(g_editKeys, std::vector<UINT>{VK_TAB});
    SimulateKeyDown(name, 'X', "x");
    char buf[8] = {};
    GetWindowText(name, buf, sizeof buf);
    EXPECT_STREQ(buf, "x") << "the rest goes on to the edit itself";
}

TEST_F(DialogTest, GetDlgItemIntParsesStrictly)
{
    HWND dlg = open_modeless();
    struct Case {
        const char* text;
        bool isSigned;
        bool ok;
        UINT value;
    };
    const Case cases[] = {
        {"42", true, true, 42},        {"  17", true, true, 17},       {"-5", true, true, static_cast<UINT>(-5)},
        {"-5", false, false, 0},       {"12x", true, false, 0},        {"", true, false, 0},
        {"12 ", true, false, 0},       {"2147483647", true, true, 2147483647u},
        {"2147483648", true, false, 0}, {"4294967295", false, true, 4294967295u},
        {"4294967296", false, false, 0}, {"-", true, false, 0},
    };
    for (const Case& c : cases) {
        SetDlgItemText(dlg, IDC_NAME, c.text);
        BOOL ok = 2;
        EXPECT_EQ(GetDlgItemInt(dlg, IDC_NAME, &ok, c.isSigned), c.value) << '"' << c.text << '"';
        EXPECT_EQ(ok, c.ok ? TRUE : FALSE) << '"' << c.text << '"';
    }
    SetDlgItemInt(dlg, IDC_NAME, static_cast<UINT>(-12), TRUE);
    char buf[16];
    GetDlgItemText(dlg, IDC_NAME, buf, sizeof buf);
    EXPECT_STREQ(buf, "-12");
}

TEST_F(DialogTest, DefaultButtonCanBeMovedAndADisabledOneBeeps)
{
    ScriptedHost host;
    g_endOnButtons = false;
    HWND dlg = open_modeless();
    EXPECT_EQ(GetDialogDefID(dlg), IDOK);
    SetDialogDefID(dlg, IDCANCEL);
    HWND name = GetDlgItem(dlg, IDC_NAME);
    SetFocus(name);
    g_seen.commands.clear();
    SimulateKeyDown(name, VK_RETURN, "\r");
    ASSERT_FALSE(commands().empty());
    EXPECT_EQ(commands().back(), (Cmd{IDCANCEL, BN_CLICKED}));
    EnableWindow(GetDlgItem(dlg, IDCANCEL), FALSE);
    g_seen.commands.clear();
    SimulateKeyDown(name, VK_RETURN, "\r");
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(host.beeps().size(), 1u);
}

TEST_F(DialogTest, MapDialogRectUsesTheFontsBaseUnits)
{
    HWND dlg = open_modeless();
    LONG units = GetDialogBaseUnits();
    const int bx = LOWORD(static_cast<uintptr_t>(units));
    const int by = HIWORD(static_cast<uintptr_t>(units));
    ASSERT_GT(bx, 0);
    ASSERT_GT(by, 0);
    RECT r{4, 8, 8, 16};
    ASSERT_TRUE(MapDialogRect(dlg, &r));
    EXPECT_EQ(r.left, bx);
    EXPECT_EQ(r.top, by);
    EXPECT_EQ(r.right, 2 * bx);
    EXPECT_EQ(r.bottom, 2 * by);
}

} // namespace
} // namespace dlgtest

namespace dlgtest {
namespace {

TEST_F(DialogTest, AltLetterClicksButtonsAndFocusesALabelsBuddy)
{
    HWND dlg = open_modeless();
    HWND list = GetDlgItem(dlg, IDC_LIST);
    SetFocus(list);
    // "&Name:" labels the edit after it.
    SimulateKeyDown(list, 'N', "n", 0, true);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_NAME));
    g_seen.commands.clear();
    // "&Urgent" is an auto check box: focused and clicked.
    SimulateKeyDown(GetFocus(), 'U', "u", 0, true);
    // Qt's own button mnemonic clicks after a short animation.
    PumpEvents(250);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_CHECK), BST_CHECKED);
    ASSERT_FALSE(g_seen.commands.empty());
    EXPECT_EQ(g_seen.commands.back(), (std::pair<int, int>{IDC_CHECK, BN_CLICKED}));
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_CHECK));
}

} // namespace
} // namespace dlgtest

namespace dlgtest {
namespace {

// The type bits of a button's style.
DWORD button_type(HWND dlg, int id) { return static_cast<DWORD>(GetWindowLong(GetDlgItem(dlg, id), GWL_STYLE)) & BS_TYPEMASK; }

// A focused push button is the default while it has the focus: its frame
// moves to it, and Enter presses it; on any other control the dialog's own
// default (its template's, or the one SetDialogDefID named) has it back.
TEST_F(DialogTest, DefaultFrameFollowsTheFocusedPushButton)
{
    g_endOnButtons = false;
    HWND dlg = open_modeless();
    const HWND name = GetDlgItem(dlg, IDC_NAME), cancel = GetDlgItem(dlg, IDCANCEL);
    SetFocus(name);
    EXPECT_EQ(button_type(dlg, IDOK), BS_DEFPUSHBUTTON);
    EXPECT_EQ(button_type(dlg, IDCANCEL), BS_PUSHBUTTON);

    // By the keyboard: Tab from the list reaches OK, then Cancel.
    SetFocus(GetDlgItem(dlg, IDC_LIST));
    SimulateKeyDown(GetFocus(), VK_TAB, "\t");
    SimulateKeyDown(GetFocus(), VK_TAB, "\t");
    ASSERT_EQ(GetFocus(), cancel);
    EXPECT_EQ(button_type(dlg, IDCANCEL), BS_DEFPUSHBUTTON);
    EXPECT_EQ(button_type(dlg, IDOK), BS_PUSHBUTTON);
    EXPECT_EQ(GetDialogDefID(dlg), IDOK) << "the dialog's own default stays OK";
    g_seen.commands.clear();
    SimulateKeyDown(cancel, VK_RETURN, "\r");
    EXPECT_EQ(commands(), (std::vector<std::pair<int, int>>{{IDCANCEL, BN_CLICKED}}));

    // Back in the edit, OK has the frame and Enter again.
    SetFocus(name);
    EXPECT_EQ(button_type(dlg, IDOK), BS_DEFPUSHBUTTON);
    g_seen.commands.clear();
    SimulateKeyDown(name, VK_RETURN, "\r");
    EXPECT_EQ(commands(), (std::vector<std::pair<int, int>>{{IDOK, BN_CLICKED}})) << "Enter in the edit is OK's";
    EXPECT_EQ(button_type(dlg, IDCANCEL), BS_PUSHBUTTON);

    // With Cancel named the default, focusing OK lends it the frame only.
    SetDialogDefID(dlg, IDCANCEL);
    SetFocus(GetDlgItem(dlg, IDOK));
    EXPECT_EQ(button_type(dlg, IDOK), BS_DEFPUSHBUTTON);
    EXPECT_EQ(button_type(dlg, IDCANCEL), BS_PUSHBUTTON);
    EXPECT_EQ(GetDialogDefID(dlg), IDCANCEL);
    SetFocus(GetDlgItem(dlg, IDC_CHECK));
    EXPECT_EQ(button_type(dlg, IDCANCEL), BS_DEFPUSHBUTTON);
    EXPECT_EQ(button_type(dlg, IDOK), BS_PUSHBUTTON);
    EXPECT_EQ(button_type(dlg, IDC_CHECK), BS_AUTOCHECKBOX) << "a check box never takes the frame";
}

inline constexpr int IDD_SHARED = 302;
inline constexpr int IDC_NO_ALL = 510, IDC_OFF = 511, IDC_YES_ALL = 512;
// "&Order:", "N&o All", "&OK" and a disabled "&Off" share the letter o.
inline const DlgItemTemplate kSharedItems[] = {
    {"STATIC", 0xFFFF, "&Order:", kChild | SS_LEFT, 0, 10, 10, 60, 14},
    {"EDIT", IDC_NAME, "", kChild | WS_TABSTOP | WS_BORDER, 0, 80, 8, 100, 20},
    {"BUTTON", IDC_YES_ALL, "Yes &All", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 10, 40, 70, 22},
    {"BUTTON", IDC_NO_ALL, "N&o All", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 90, 40, 70, 22},
    {"BUTTON", IDOK, "&OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 10, 70, 70, 22},
    {"BUTTON", IDCANCEL, "&Cancel", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 90, 70, 70, 22},
    {"BUTTON", IDC_OFF, "&Off", kChild | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 0, 170, 70, 40, 22},
};
inline const DlgTemplate kSharedTemplate[] = {
    {IDD_SHARED, "Shared letters", WS_POPUP | WS_CAPTION, 40, 40, 220, 100, nullptr, 0, kSharedItems},
};

// A letter of one control alone clicks it; a letter several share moves the
// focus from one to the next after the focused control, round again, and
// clicks none (a disabled control is passed over); Enter then presses the
// button reached.
TEST_F(DialogTest, RepeatedSharedMnemonicCyclesTheFocusAndClicksNothing)
{
    RegisterDialogTemplates(module(), kSharedTemplate);
    g_endOnButtons = false;
    HWND dlg = open_modeless(IDD_SHARED);
    ASSERT_NE(dlg, 0u);
    const HWND name = GetDlgItem(dlg, IDC_NAME);
    SetFocus(GetDlgItem(dlg, IDCANCEL));
    g_seen.commands.clear();
    const auto alt = [&](UINT key, const char* text) {
        SimulateKeyDown(GetFocus(), key, text, 0, true);
        SimulateKeyUp(GetFocus(), key, 0, true);
    };
    const HWND expected[] = {name, GetDlgItem(dlg, IDC_NO_ALL), GetDlgItem(dlg, IDOK), name};
    for (HWND want : expected) {
        alt('O', "o");
        EXPECT_EQ(GetFocus(), want) << GetDlgCtrlID(want);
    }
    EXPECT_TRUE(std::none_of(g_seen.commands.begin(), g_seen.commands.end(),
                             [](const std::pair<int, int>& c) { return c.second == BN_CLICKED; }))
        << "a shared letter clicks nothing";
    alt('O', "o");
    ASSERT_EQ(GetFocus(), GetDlgItem(dlg, IDC_NO_ALL));
    EXPECT_EQ(button_type(dlg, IDC_NO_ALL), BS_DEFPUSHBUTTON);
    g_seen.commands.clear();
    SimulateKeyDown(GetFocus(), VK_RETURN, "\r");
    EXPECT_EQ(commands(), (std::vector<std::pair<int, int>>{{IDC_NO_ALL, BN_CLICKED}}));

    g_seen.commands.clear();
    alt('A', "a");
    EXPECT_EQ(commands(), (std::vector<std::pair<int, int>>{{IDC_YES_ALL, BN_CLICKED}})) << "a letter of its own clicks";
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_YES_ALL));
}

} // namespace
} // namespace dlgtest
