// Menus: tables from templates, editing by position and command, the update
// message before a popup shows, and a popup walked by posted keys.
#include "plat/config.h"
#include "plat/gdi.h"
#include "plat/menu.h"
#include "plat/modal.h"
#include "plat/module.h"
#include "plat/res.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace plat;

constexpr UINT ID_NEW = 100, ID_OPEN = 101, ID_EXIT = 102, ID_CUT = 200, ID_PASTE = 201;

const MenuTemplateItem kFile[] = {
    {"&New", ID_NEW, 0, {}},
    {"&Open...\tCtrl+O", ID_OPEN, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"E&xit", ID_EXIT, 0, {}},
};
const MenuTemplateItem kEdit[] = {
    {"Cu&t", ID_CUT, MF_GRAYED, {}},
    {"&Paste", ID_PASTE, MF_CHECKED, {}},
};
const MenuTemplateItem kBar[] = {
    {"&File", 0, 0, kFile},
    {"&Edit", 0, 0, kEdit},
};
const MenuTemplate kMenus[] = {{128, kBar}};

struct Seen {
    std::vector<UINT> commands;
    std::vector<HMENU> popups;
    std::vector<int> depthAtCommand;
    std::vector<UINT> frameMessages; // WM_KEYDOWN and WM_USER reaching the frame
};
Seen g_seen;
int g_keysLeft = 0;
int g_depthInWalk = -1;
HWND g_view = 0;

LRESULT frame_proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_KEYDOWN || m == WM_USER)
        g_seen.frameMessages.push_back(m);
    if (m == WM_COMMAND) {
        g_seen.commands.push_back(LOWORD(w));
        return 0;
    }
    if (m == WM_INITMENUPOPUP) {
        g_seen.popups.push_back(static_cast<HMENU>(w));
        // The update handler greys Open every time the File menu opens.
        EnableMenuItem(static_cast<HMENU>(w), ID_OPEN, MF_BYCOMMAND | MF_GRAYED);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

// The guided walk's timer: one VK_DOWN per tick, then Enter.
LRESULT view_proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_TIMER) {
        g_depthInWalk = ModalDepth();
        if (g_keysLeft > 0) {
            --g_keysLeft;
            PostMessage(h, WM_KEYDOWN, VK_DOWN, 0x01500001);
        } else {
            KillTimer(h, w);
            PostMessage(h, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        }
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

class MenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        module() = RegisterModule("MENUTEST.EXE", nullptr);
        RegisterMenuTemplates(module(), kMenus);
        WNDCLASS wc;
        wc.lpfnWndProc = frame_proc;
        wc.lpszClassName = "MenuTestFrame";
        wc.hbrBackground = static_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClass(&wc);
        wc.lpfnWndProc = view_proc;
        wc.lpszClassName = "MenuTestView";
        RegisterClass(&wc);
    }
    static HINSTANCE& module()
    {
        static HINSTANCE m = 0;
        return m;
    }
    void SetUp() override { g_seen = Seen{}; }
    void TearDown() override { ResetWindowsForTest(); }
};

TEST_F(MenuTest, TemplateBuildsBarAndPopups)
{
    HMENU bar = LoadMenu(module(), 128);
    ASSERT_NE(bar, 0u);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(file, 0u);
    EXPECT_EQ(GetMenuItemCount(file), 4) << "separators count";
    EXPECT_EQ(GetMenuItemID(file, 0), ID_NEW);
    EXPECT_EQ(GetMenuItemID(file, 2), 0u) << "a separator's id is 0";
    EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu) << "a popup's id is -1";
    char buf[32];
    EXPECT_EQ(GetMenuString(bar, ID_OPEN, buf, sizeof buf, MF_BYCOMMAND), 15);
    EXPECT_STREQ(buf, "&Open...\tCtrl+O");
    EXPECT_EQ(GetMenuState(bar, ID_CUT, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(CheckMenuItem(bar, ID_PASTE, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(CheckMenuItem(bar, ID_PASTE, MF_BYCOMMAND | MF_UNCHECKED), MF_UNCHECKED);
    EXPECT_EQ(EnableMenuItem(bar, 999, MF_BYCOMMAND), MF_ERROR);
    EXPECT_EQ(LoadMenu(module(), 129), 0u);
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(file)) << "destroying a bar destroys its popups";
    EXPECT_EQ(GetMenuItemCount(bar), -1);
}

TEST_F(MenuTest, EditingByPositionAndCommand)
{
    HMENU pop = CreatePopupMenu();
    AppendMenu(pop, MF_STRING, 1, "One");
    AppendMenu(pop, MF_STRING, 3, "Three");
    InsertMenu(pop, 1, MF_BYPOSITION | MF_STRING, 2, "Two");
    InsertMenu(pop, 1, MF_BYCOMMAND | MF_STRING, 0, "Zero");
    ModifyMenu(pop, 3, MF_BYCOMMAND | MF_STRING, 33, "Thirty-three");
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(pop); ++i)
        ids.push_back(GetMenuItemID(pop, i));
    EXPECT_EQ(ids, (std::vector<UINT>{0, 1, 2, 33}));
    HMENU sub = CreatePopupMenu();
    AppendMenu(pop, MF_POPUP, sub, "More");
    EXPECT_TRUE(RemoveMenu(pop, 4, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(sub)) << "RemoveMenu keeps the popup";
    AppendMenu(pop, MF_POPUP, sub, "More");
    EXPECT_TRUE(DeleteMenu(pop, 4, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(sub)) << "DeleteMenu destroys it";
    EXPECT_FALSE(DeleteMenu(pop, 99, MF_BYCOMMAND));
    DestroyMenu(pop);
}

TEST_F(MenuTest, MenuBarShrinksTheClientArea)
{
    HWND frame = CreateWindowEx(0, "MenuTestFrame", "Frame", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, 0, 0, 0, nullptr);
    RECT before, after;
    GetClientRect(frame, &before);
    HMENU bar = LoadMenu(module(), 128);
    ASSERT_TRUE(SetMenu(frame, bar));
    EXPECT_EQ(GetMenu(frame), bar);
    GetClientRect(frame, &after);
    EXPECT_EQ(after.right, before.right);
    EXPECT_LT(after.bottom, before.bottom);
    EXPECT_GE(before.bottom - after.bottom, 18);
    SetMenu(frame, 0);
    GetClientRect(frame, &after);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(GetMenu(frame), 0u);
    DestroyMenu(bar);
}

TEST_F(MenuTest, PostedKeysWalkATrackedPopupToACommand)
{
    HWND frame = CreateWindowEx(0, "MenuTestFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, 0, 0, 0, nullptr);
    g_view = CreateWindowEx(0, "MenuTestView", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 250, frame, 0, 0, nullptr);
    HMENU bar = LoadMenu(module(), 128);
    SetMenu(frame, bar);
    HMENU file = GetSubMenu(bar, 0);
    // Down, Down: New, then Exit (Open is greyed by the update handler and
    // the separator is skipped); then Enter.
    g_keysLeft = 2;
    SetTimer(g_view, 1, 30, nullptr);
    g_depthInWalk = -1;
    const BOOL ok = TrackPopupMenu(file, TPM_LEFTALIGN, 50, 50, 0, frame, nullptr);
    EXPECT_TRUE(ok);
    PumpEvents(20);
    EXPECT_EQ(g_seen.popups, std::vector<HMENU>{file});
    EXPECT_EQ(g_seen.commands, std::vector<UINT>{ID_EXIT});
    EXPECT_GT(g_depthInWalk, 0) << "the walk's timer runs with the modal depth raised";
    EXPECT_EQ(ModalDepth(), 0);
    EXPECT_EQ(GetTrackedMenu(), 0u);
    EXPECT_EQ(GetMenuState(file, ID_OPEN, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
}

TEST_F(MenuTest, ReturnCmdGivesTheChoiceInsteadOfPosting)
{
    HWND frame = CreateWindowEx(0, "MenuTestFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, 0, 0, 0, nullptr);
    g_view = CreateWindowEx(0, "MenuTestView", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 250, frame, 0, 0, nullptr);
    HMENU pop = CreatePopupMenu();
    AppendMenu(pop, MF_STRING, 7, "Seven");
    AppendMenu(pop, MF_STRING, 8, "Eight");
    g_keysLeft = 2;
    SetTimer(g_view, 1, 30, nullptr);
    EXPECT_EQ(TrackPopupMenu(pop, TPM_RETURNCMD, 60, 60, 0, frame, nullptr), 8);
    PumpEvents(20);
    EXPECT_TRUE(g_seen.commands.empty());
    DestroyMenu(pop);
}

TEST_F(MenuTest, EscapeClosesWithoutAChoice)
{
    HWND frame = CreateWindowEx(0, "MenuTestFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, 0, 0, 0, nullptr);
    HMENU pop = CreatePopupMenu();
    AppendMenu(pop, MF_STRING, 7, "Seven");
    // Other posts keep their place in the queue and reach their window; the
    // keys go to the popup only.
    PostMessage(frame, WM_USER, 0, 0);
    PostMessage(frame, WM_KEYDOWN, VK_DOWN, 0x01500001);
    PostMessage(frame, WM_USER, 0, 0);
    PostMessage(frame, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(TrackPopupMenu(pop, TPM_RETURNCMD, 60, 60, 0, frame, nullptr), 0);
    EXPECT_EQ(g_seen.frameMessages, (std::vector<UINT>{WM_USER, WM_USER}));
    PostMessage(frame, WM_KEYDOWN, VK_DOWN, 0x01500001);
    PumpEvents(10);
    EXPECT_EQ(g_seen.frameMessages, (std::vector<UINT>{WM_USER, WM_USER, WM_KEYDOWN}))
        << "with no popup open the key is the window's again";
    DestroyMenu(pop);
}

TEST_F(MenuTest, AcceleratorsTranslateToCommandsWithCodeOne)
{
    HWND frame = CreateWindowEx(0, "MenuTestFrame", "Frame", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, 0, 0, 0, nullptr);
    const ACCEL table[] = {{FVIRTKEY, VK_F5, 300}, {FVIRTKEY, VK_DELETE, 301}, {0, 'x', 302}};
    HACCEL acc = CreateAcceleratorTable(table, 3);
    struct Case {
        UINT msg;
        WPARAM key;
        int handled;
        UINT cmd;
    };
    for (const Case& c : {Case{WM_KEYDOWN, VK_F5, 1, 300}, Case{WM_KEYDOWN, VK_DELETE, 1, 301},
                          Case{WM_CHAR, 'x', 1, 302}, Case{WM_KEYDOWN, VK_F6, 0, 0}, Case{WM_KEYUP, VK_F5, 0, 0}}) {
        g_seen.commands.clear();
        MSG m;
        m.hwnd = frame;
        m.message = c.msg;
        m.wParam = c.key;
        EXPECT_EQ(TranslateAccelerator(frame, acc, &m), c.handled) << c.key;
        EXPECT_EQ(g_seen.commands, c.handled ? std::vector<UINT>{c.cmd} : std::vector<UINT>{});
    }
    EXPECT_TRUE(DestroyAcceleratorTable(acc));
    EXPECT_FALSE(DestroyAcceleratorTable(acc));
}

} // namespace

namespace {

LRESULT activating_view(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_TIMER) {
        KillTimer(h, w);
        // The guided walk ends by activating the frame.
        SetActiveWindow(GetParent(h));
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

TEST_F(MenuTest, ActivatingAWindowClosesThePopupWithoutAChoice)
{
    WNDCLASS wc;
    wc.lpfnWndProc = activating_view;
    wc.lpszClassName = "MenuTestActivatingView";
    RegisterClass(&wc);
    HWND frame = CreateWindowEx(0, "MenuTestFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, 0, 0, 0, nullptr);
    HWND view = CreateWindowEx(0, "MenuTestActivatingView", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 250, frame, 0, 0, nullptr);
    HMENU pop = CreatePopupMenu();
    AppendMenu(pop, MF_STRING, 7, "Seven");
    PostMessage(view, WM_KEYDOWN, VK_DOWN, 0x01500001);
    SetTimer(view, 1, 40, nullptr);
    EXPECT_EQ(TrackPopupMenu(pop, TPM_RETURNCMD, 60, 60, 0, frame, nullptr), 0);
    EXPECT_EQ(GetTrackedMenu(), 0u);
    DestroyMenu(pop);
}

} // namespace

namespace {

TEST_F(MenuTest, APopupShowsItsItemsAfterTheyChange)
{
    // A department popup is empty at first, opened while empty, then
    // filled: the popup on the screen shows what the menu holds by then.
    HWND frame = CreateWindowEx(0, "MenuTestFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, 0,
                                0, 0, nullptr);
    HMENU bar = CreateMenu();
    HMENU info = CreatePopupMenu();
    HMENU actions = CreatePopupMenu();
    AppendMenu(bar, MF_POPUP, info, "&Information");
    AppendMenu(bar, MF_POPUP, actions, "&Actions");
    ASSERT_TRUE(SetMenu(frame, bar));
    PumpEvents();
    std::vector<std::string> shown;
    EXPECT_TRUE(OpenMenuBarPopupForTest(frame, 0, &shown)) << "an empty popup is a small empty box";
    EXPECT_TRUE(shown.empty());

    AppendMenu(info, MF_STRING, 301, "Machine information");
    AppendMenu(info, MF_SEPARATOR, 0, nullptr);
    AppendMenu(info, MF_STRING, 302, "Machines utilization");
    AppendMenu(actions, MF_STRING, 401, "Display frequency");
    EXPECT_TRUE(OpenMenuBarPopupForTest(frame, 0, &shown));
    EXPECT_EQ(shown, (std::vector<std::string>{"Machine information", "-", "Machines utilization"}));
    EXPECT_TRUE(OpenMenuBarPopupForTest(frame, 1, &shown));
    EXPECT_EQ(shown, (std::vector<std::string>{"Display frequency"}));

    // Emptied again and filled with another department's items.
    while (GetMenuItemCount(info) > 0)
        DeleteMenu(info, 0, MF_BYPOSITION);
    EXPECT_TRUE(OpenMenuBarPopupForTest(frame, 0, &shown));
    EXPECT_TRUE(shown.empty());
    AppendMenu(info, MF_STRING, 301, "Raw material release");
    EXPECT_TRUE(OpenMenuBarPopupForTest(frame, 0, &shown));
    EXPECT_EQ(shown, (std::vector<std::string>{"Raw material release"}));
    EXPECT_EQ(ModalDepth(), 0) << "every popup closed";
    DestroyWindow(frame);
}

} // namespace
