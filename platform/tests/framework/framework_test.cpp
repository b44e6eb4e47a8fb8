// The framework classes: handlers called through the window procedure,
// dialogs by template id with data exchange, self-deleting modeless
// dialogs, frame/view command routing and the tree's notices.
#include "plat/config.h"
#include "plat/fw/app.h"
#include "plat/fw/dialog.h"
#include "plat/fw/frame.h"
#include "plat/fw/wnd.h"
#include "plat/fw/wrappers.h"
#include "plat/loop.h"
#include "plat/modal.h"
#include "plat/module.h"
#include "plat/res.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace plat;

constexpr int IDD_QTY = 400;
constexpr int IDC_QTY = 401;
constexpr int IDC_NOTE = 402;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const DlgItemTemplate kQtyItems[] = {
    {"EDIT", IDC_QTY, "", kChild | WS_TABSTOP | WS_BORDER, 0, 10, 10, 80, 20},
    {"EDIT", IDC_NOTE, "", kChild | WS_TABSTOP | WS_BORDER, 0, 10, 40, 80, 20},
    {"BUTTON", IDOK, "OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 100, 10, 60, 22},
    {"BUTTON", IDCANCEL, "Cancel", kChild | WS_TABSTOP, 0, 100, 40, 60, 22},
};
const DlgTemplate kDialogs[] = {
    {IDD_QTY, "Quantity", WS_POPUP | WS_CAPTION | DS_MODALFRAME, 20, 20, 170, 70, nullptr, 0, kQtyItems},
};

class QtyDialog : public CDialog {
public:
    QtyDialog() : CDialog(IDD_QTY) {}
    int m_qty = 5;
    std::string m_note = "first";
    int initCalls = 0;
    BOOL OnInitDialog() override
    {
        ++initCalls;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_QTY, m_qty);
        DDV_MinMaxInt(dx, m_qty, 1, 99);
        DDX_Text(dx, IDC_NOTE, m_note);
    }
};

int g_deleted = 0;
class SelfDeleting : public CDialog {
public:
    SelfDeleting() : CDialog(IDD_QTY) {}
    ~SelfDeleting() override { ++g_deleted; }
    void PostNcDestroy() override { delete this; }
};

class FrameworkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        HINSTANCE m = RegisterModule("FWTEST.EXE", nullptr);
        RegisterDialogTemplates(m, kDialogs);
        AfxSetResourceHandle(m);
    }
    void TearDown() override { ResetWindowsForTest(); }
};

TEST_F(FrameworkTest, DoModalExchangesDataAndChecksRange)
{
    ScriptedHost host;
    host.Answer(IDOK, "", "Please enter an integer between 1 and 99.");
    int attempt = 0;
    std::string shown;
    host.OnDialog(IDD_QTY, [&](HWND dlg) {
        char buf[32] = {};
        GetDlgItemText(dlg, IDC_QTY, buf, sizeof buf);
        shown = buf;
        // First an out-of-range value: the box, the dialog stays; then a good one.
        SetDlgItemText(dlg, IDC_QTY, "150");
        SendMessage(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        attempt = IsWindowVisible(dlg) ? 1 : 0;
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_QTY)) << "focus goes back to the bad field";
        SetDlgItemText(dlg, IDC_QTY, "12");
        SetDlgItemText(dlg, IDC_NOTE, "rush");
        SendMessage(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    QtyDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, "5") << "OnInitDialog put the members into the controls";
    EXPECT_EQ(attempt, 1);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Please enter an integer between 1 and 99.");
    EXPECT_EQ(dlg.m_qty, 12);
    EXPECT_EQ(dlg.m_note, "rush");
    EXPECT_EQ(dlg.initCalls, 1);
    EXPECT_EQ(dlg.m_hWnd, 0u) << "the object lets go of its window";
}

TEST_F(FrameworkTest, CancelLeavesTheMembers)
{
    ScriptedHost host;
    host.OnDialog(IDD_QTY, [](HWND dlg) {
        SetDlgItemText(dlg, IDC_QTY, "77");
        SendMessage(dlg, WM_CLOSE, 0, 0);
    });
    QtyDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_qty, 5);
}

TEST_F(FrameworkTest, ModelessDialogDeletesItselfOnCancel)
{
    g_deleted = 0;
    auto* d = new SelfDeleting();
    ASSERT_TRUE(d->Create(IDD_QTY));
    const HWND h = d->m_hWnd;
    ASSERT_TRUE(IsWindow(h));
    SendMessage(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(g_deleted, 1);
}

// A window whose handlers record the order they ran in.
class Recorder : public CWnd {
public:
    std::vector<std::string> log;
    int OnCreate(CREATESTRUCT* cs) override
    {
        log.push_back(std::string("create:") + (cs->lpszName ? cs->lpszName : ""));
        return CWnd::OnCreate(cs);
    }
    void OnSize(UINT, int cx, int cy) override { log.push_back("size:" + std::to_string(cx) + "x" + std::to_string(cy)); }
    void OnLButtonDown(UINT, POINT pt) override { log.push_back("down:" + std::to_string(pt.x) + "," + std::to_string(pt.y)); }
    BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (msg != WM_USER + 7)
            return FALSE;
        log.push_back("private:" + std::to_string(wParam));
        result = 99;
        return TRUE;
    }
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        return TRUE;
    }
    void PostNcDestroy() override { log.push_back("gone"); }
};

TEST_F(FrameworkTest, HandlersRunThroughTheWindowProcedure)
{
    Recorder w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "rec", WS_OVERLAPPED | WS_VISIBLE, 10, 10, 200, 100, 0, 0));
    EXPECT_EQ(CWnd::FromHandlePermanent(w.m_hWnd), &w);
    EXPECT_TRUE(GetWindowLong(w.m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "PreCreateWindow changed the style";
    ASSERT_GE(w.log.size(), 2u);
    EXPECT_EQ(w.log[0], "create:rec") << "the object sees its own WM_CREATE";
    EXPECT_EQ(w.log[1].rfind("size:", 0), 0u);
    EXPECT_EQ(w.SendMessage(WM_USER + 7, 3, 0), 99);
    SimulateMouseDown(w.m_hWnd, Button::Left, 12, 34);
    EXPECT_EQ(w.log.back(), "down:12,34");
    w.DestroyWindow();
    EXPECT_EQ(w.log.back(), "gone");
    EXPECT_EQ(w.m_hWnd, 0u);
}

TEST_F(FrameworkTest, FromHandleWrapsForeignWindows)
{
    HWND plain = CreateWindowEx(0, "PlatWnd", "plain", WS_OVERLAPPED, 0, 0, 50, 50, 0, 0, 0, nullptr);
    CWnd* a = CWnd::FromHandle(plain);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->m_hWnd, plain);
    EXPECT_EQ(CWnd::FromHandle(plain), a);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_EQ(a->GetWindowText(), "plain");
    EXPECT_EQ(CWnd::FromHandle(0), nullptr);
}

// The grid's cell editor: keeps Tab, sees it in OnKeyDown, the rest as usual.
class CellEdit : public CEdit {
public:
    int tabs = 0;
    UINT OnGetDlgCode() override { return CEdit::OnGetDlgCode() | DLGC_WANTTAB; }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override
    {
        CEdit::OnKeyDown(key, repeat, flags);
        if (key == VK_TAB)
            ++tabs;
    }
};

TEST_F(FrameworkTest, DerivedEditInADialogKeepsTab)
{
    CDialog dlg(IDD_QTY);
    ASSERT_TRUE(dlg.Create(IDD_QTY));
    dlg.ShowWindow(SW_SHOW);
    CellEdit edit;
    RECT rc{10, 70, 90, 90};
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_TABSTOP | WS_BORDER, rc, &dlg, 500));
    edit.SetFocus();
    SimulateKeyDown(edit.m_hWnd, VK_TAB, "\t");
    EXPECT_EQ(edit.tabs, 1);
    EXPECT_EQ(GetFocus(), edit.m_hWnd);
    SimulateKeyDown(edit.m_hWnd, 'A', "a");
    EXPECT_EQ(edit.GetWindowText(), "a");
    // A plain edit of the same dialog passes Tab to the dialog.
    HWND qty = GetDlgItem(dlg.m_hWnd, IDC_QTY);
    SetFocus(qty);
    SimulateKeyDown(qty, VK_TAB, "\t");
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg.m_hWnd, IDC_NOTE));
    dlg.DestroyWindow();
}

constexpr int IDR_MAIN = 500;
constexpr UINT ID_RUN = 600, ID_STOP = 601;
const MenuTemplateItem kSimMenu[] = {{"&Run", ID_RUN, 0, {}}, {"&Stop", ID_STOP, 0, {}}};
const MenuTemplateItem kBar[] = {{"&Simulation", 0, 0, kSimMenu}};
const MenuTemplate kMenus[] = {{IDR_MAIN, kBar}};

std::vector<std::string> g_route;
class TestView : public CView {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        if (LOWORD(wParam) != ID_RUN)
            return FALSE;
        g_route.push_back("view:run");
        return TRUE;
    }
};
class TestFrame : public CFrameWnd {
public:
    bool running = false;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == ID_STOP) {
            g_route.push_back("frame:stop");
            return TRUE;
        }
        return CFrameWnd::OnCommand(wParam, lParam);
    }
    void OnUpdateCommandUI(UINT id, CCmdUI& ui) override
    {
        if (id == ID_STOP)
            ui.Enable(running);
    }
};
class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("FWTEST") {}
    int idleCalls = 0;
    int depthSeenInIdle = -1;
    BOOL OnIdle(LONG) override
    {
        ++idleCalls;
        return FALSE;
    }
};

TEST_F(FrameworkTest, TemplateBuildsFrameViewDocumentAndRoutesCommands)
{
    RegisterMenuTemplates(AfxGetResourceHandle(), kMenus);
    TestApp app;
    g_route.clear();
    CSingleDocTemplate tpl(IDR_MAIN, [] { return new CDocument(); }, [] { return new TestFrame(); },
                           [] { return new TestView(); });
    app.AddDocTemplate(&tpl);
    CDocument* doc = tpl.OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    auto* frame = dynamic_cast<TestFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->GetActiveView(), nullptr);
    EXPECT_EQ(frame->GetActiveDocument(), doc);
    HMENU bar = GetMenu(frame->m_hWnd);
    ASSERT_NE(bar, 0u);
    // The view fills the frame's client area.
    RECT fc, vr;
    frame->GetClientRect(&fc);
    frame->GetActiveView()->GetClientRect(&vr);
    EXPECT_EQ(vr.right, fc.right);
    EXPECT_EQ(vr.bottom, fc.bottom);

    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_RUN, 0), 0);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_STOP, 1), 0);
    EXPECT_EQ(g_route, (std::vector<std::string>{"view:run", "frame:stop"}));

    // Opening the popup runs the update handlers.
    HMENU sim = GetSubMenu(bar, 0);
    frame->SendMessage(WM_INITMENUPOPUP, sim, 0);
    EXPECT_EQ(GetMenuState(sim, ID_STOP, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    frame->running = true;
    frame->SendMessage(WM_INITMENUPOPUP, sim, 0);
    EXPECT_EQ(GetMenuState(sim, ID_STOP, MF_BYCOMMAND) & MF_GRAYED, 0u);

    // ID_APP_EXIT reaches the application, which closes the main window;
    // the frame deletes itself.
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(FrameworkTest, RecentFilesKeepFourNewestFirst)
{
    TestApp app;
    app.LoadStdProfileSettings(4);
    for (const char* f : {"a.vnb", "b.vnb", "c.vnb", "d.vnb", "e.vnb", "B.VNB"})
        app.AddToRecentFileList(f);
    EXPECT_EQ(app.RecentFiles(), (std::vector<std::string>{"B.VNB", "e.vnb", "d.vnb", "c.vnb"}));
}

class TreeRecorder : public CTreeCtrl {
public:
    std::vector<std::pair<int, HTREEITEM>> sent; // as the decision tree reports them
    void OnItemExpanded(NMTREEVIEW* nm, LRESULT* result) override
    {
        if ((nm->itemNew.state & TVIS_EXPANDED) && !(nm->itemNew.state & TVIS_EXPANDEDONCE))
            sent.emplace_back(1, nm->itemNew.hItem);
        *result = 0;
    }
    void OnSelChanged(NMTREEVIEW* nm, LRESULT* result) override
    {
        if (nm->itemNew.hItem)
            sent.emplace_back(2, nm->itemNew.hItem);
        *result = 0;
    }
    void OnClick(NMHDR*, LRESULT* result) override
    {
        sent.emplace_back(3, 0);
        SelectDropTarget(0);
        *result = 0;
    }
};

TEST_F(FrameworkTest, TreeNoticesReachTheTreeObject)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "host", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 300, 0, 0));
    TreeRecorder tree;
    RECT rc{0, 0, 280, 260};
    ASSERT_TRUE(tree.Create(WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, rc, &parent, 13));
    HTREEITEM root = tree.InsertItem("Decisions", 0, 0);
    HTREEITEM child = tree.InsertItem("Week 1", 1, 1, root);
    EXPECT_EQ(tree.GetChildItem(root), child);
    EXPECT_EQ(tree.GetParentItem(child), root);
    EXPECT_EQ(tree.GetItemText(child), "Week 1");
    EXPECT_EQ(tree.GetCount(), 2u);

    // A programmatic selection is reported too.
    tree.SelectItem(root);
    ASSERT_EQ(tree.sent.size(), 1u);
    EXPECT_EQ(tree.sent[0], (std::pair<int, HTREEITEM>{2, root}));
    tree.sent.clear();

    // Expanding by message reports nothing and marks the item expanded once.
    tree.Expand(root, TVE_EXPAND);
    EXPECT_TRUE(tree.sent.empty());
    EXPECT_TRUE(tree.GetItemState(root, TVIS_EXPANDEDONCE));

    // A click reports 3 before the selection's 2.
    tree.SelectDropTarget(child);
    EXPECT_EQ(tree.GetDropHilightItem(), child);
    SimulateMouseDown(tree.m_hWnd, Button::Left, 60, 26);
    SimulateMouseUp(tree.m_hWnd, Button::Left, 60, 26);
    ASSERT_FALSE(tree.sent.empty());
    EXPECT_EQ(tree.sent[0].first, 3);
    EXPECT_EQ(tree.GetDropHilightItem(), 0u) << "the click cleared the drop highlight";
    if (tree.sent.size() > 1) {
        EXPECT_EQ(tree.sent[1].first, 2);
    }
}

TEST_F(FrameworkTest, NoIdleCallsInsideAModalDialog)
{
    ScriptedHost host;
    TestApp app;
    int idleBefore = -1;
    host.OnDialog(IDD_QTY, [&](HWND dlg) {
        idleBefore = app.idleCalls;
        PumpEvents(30);
        EXPECT_EQ(app.idleCalls, idleBefore);
        EXPECT_GT(ModalDepth(), 0);
        EndDialog(dlg, IDCANCEL);
    });
    QtyDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

} // namespace

namespace {

class PaintedView : public CView {
public:
    void OnDraw(HDC hdc) override
    {
        RECT rc{20, 20, 220, 120};
        HBRUSH b = CreateSolidBrush(RGB(0, 128, 0));
        FillRect(hdc, &rc, b);
        DeleteObject(b);
        TextOut(hdc, 20, 130, "View drawn in OnDraw", 20);
    }
};

TEST_F(FrameworkTest, FrameWithMenuBarAndViewRendersToPng)
{
    RegisterMenuTemplates(AfxGetResourceHandle(), kMenus);
    TestApp app;
    CSingleDocTemplate tpl(IDR_MAIN, [] { return new CDocument(); }, [] { return new TestFrame(); },
                           [] { return new PaintedView(); });
    ASSERT_NE(tpl.OpenDocumentFile(nullptr), nullptr);
    CWnd* frame = app.m_pMainWnd;
    ASSERT_NE(frame, nullptr);
    frame->MoveWindow(20, 20, 420, 260);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    PumpEvents(30);
    HWND view = static_cast<TestFrame*>(frame)->GetActiveView()->m_hWnd;
    EXPECT_EQ(GetSurfacePixel(view, 100, 60), RGB(0, 128, 0)) << "OnDraw drew into the view's surface";
    EXPECT_EQ(GetSurfacePixel(view, 300, 60), RGB(255, 255, 255)) << "the class brush erased the rest";
    const std::string path = std::string(VORN_BINARY_DIR) + "/framework_frame.png";
    EXPECT_TRUE(SaveWindowPng(frame->m_hWnd, path.c_str()));
    frame->DestroyWindow();
}

} // namespace
