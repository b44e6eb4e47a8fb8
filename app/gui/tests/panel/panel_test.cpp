// The department window's content seam: the panel paints its band with the
// link buttons and hands paint, mouse, size, cursor, child controls and
// repaints to the department; headless nothing of it runs.
#include "appgui/vorn_gui.h"
#include "app/sessions.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "support/bundled_data.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace plat;
namespace fs = std::filesystem;

namespace {

const std::string kBundled = bundled_data_copy();
constexpr int MARK_BUTTON = 777;
constexpr RECT kMark{100, 60, 110, 70};

// Paints a square mark, gives the hand cursor over it, owns one child
// button and writes down every event with the point it came with.
class MarkDepartment : public CDepartmentWnd {
public:
    void create_controls(HWND parent) override
    {
        child_parent = parent;
        button = CreateWindow("BUTTON", "Mark", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 300, 40, 60, 20, parent,
                              static_cast<HMENU>(MARK_BUTTON), 0, nullptr);
    }
    void destroy_controls() override { button = 0; }
    void paint(HDC dc, float sx, float sy) override
    {
        ++paints;
        scale = {sx, sy};
        HBRUSH brush = CreateSolidBrush(mark_colour);
        FillRect(dc, &kMark, brush);
        DeleteObject(brush);
    }
    void size(int cx, int cy) override { sized = {cx, cy}; }
    void left_down(int x, int y, UINT) override { log("left down", x, y); }
    void left_up(int x, int y, UINT) override { log("left up", x, y); }
    void double_click(int x, int y, UINT) override { log("double click", x, y); }
    void right_down(int x, int y, UINT) override { log("right down", x, y); }
    void right_up(int x, int y, UINT) override { log("right up", x, y); }
    void mouse_move(int x, int y, UINT) override { log("move", x, y); }
    HCURSOR cursor_at(int x, int y) override
    {
        return x >= kMark.left && x < kMark.right && y >= kMark.top && y < kMark.bottom ? hand : 0;
    }
    bool command(int id, int code, HWND) override
    {
        events.push_back("command " + std::to_string(id) + " " + std::to_string(code));
        return id == MARK_BUTTON;
    }

    void log(const char* what, int x, int y)
    {
        events.push_back(std::string(what) + " " + std::to_string(x) + " " + std::to_string(y));
    }
    std::vector<std::string> events;
    int paints = 0;
    std::pair<float, float> scale{0, 0};
    std::pair<int, int> sized{0, 0};
    COLORREF mark_colour = RGB(255, 0, 0);
    HWND child_parent = 0, button = 0;
    HCURSOR hand = 0;
};

COLORREF pixel(HWND w, int x, int y)
{
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

RECT child_rect(HWND parent, int id)
{
    RECT r{};
    GetWindowRect(GetDlgItem(parent, id), &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(0, parent, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

class DepartmentPanel : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        register_vorn_resources();
    }
    // The program with the sample open and the mark department as Marketing,
    // the department shown first.
    void SetUp() override
    {
        // CTest runs the cases side by side: each has its own folder.
        const fs::path folder = fs::path(VORN_BINARY_DIR) / "appgui-work" /
                                (std::string("panel-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const char* name : {"SAMPLE.VNB", "story.txt", "bgtables.tbl"})
            if (fs::exists(fs::path(kBundled) / name))
                fs::copy_file(fs::path(kBundled) / name, folder / name);
        setenv("VORN_DATA_DIR", folder.c_str(), 1);
        app = std::make_unique<CVornApp>();
        app->about_at_start = false;
        app->assembly = [this](CVornView& v, const PanelMaker& panels) {
            Departments d = base_departments(v);
            auto mark = std::make_unique<MarkDepartment>();
            dept = mark.get();
            dept->hand = v.hand_cursor;
            d.marketing = std::move(mark);
            attach_panels(d, panels);
            return d;
        };
        ASSERT_TRUE(app->InitInstance());
        view = app->window();
        frame = app->frame();
        ScriptedHost host;
        host.OnDialog(IDD_BACKGROUND, [](HWND d) { SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
        host.ChoosePath((folder / "SAMPLE.VNB").string());
        view->ExecuteCommand(ID_OPEN);
        session = view->session();
        ASSERT_NE(session, nullptr);
        ASSERT_EQ(session->marketing, dept);
        panel = dept->window_handle();
        ASSERT_NE(panel, 0u) << "Marketing is shown first: its panel exists";
        UpdateWindow(panel);
    }
    void TearDown() override
    {
        if (frame != nullptr && IsWindow(frame->m_hWnd)) {
            ScriptedHost host;
            host.Answer(IDYES, "", "Are you sure you want to exit?");
            if (view->session() != nullptr)
                view->session()->run_state = RUN_STOPPED;
            frame->SendMessage(WM_CLOSE, 0, 0);
        }
        app.reset();
        ResetWindowsForTest();
    }

    std::unique_ptr<CVornApp> app;
    CVornWindow* view = nullptr;
    CMainFrame* frame = nullptr;
    CVornView* session = nullptr;
    MarkDepartment* dept = nullptr;
    HWND panel = 0;
};

} // namespace

TEST_F(DepartmentPanel, TheDepartmentPaintsItsMarkBelowTheBandWithTheViewsScale)
{
    EXPECT_GE(dept->paints, 1);
    EXPECT_FLOAT_EQ(dept->scale.first, session->scale_x);
    EXPECT_FLOAT_EQ(dept->scale.second, session->scale_y);
    EXPECT_EQ(pixel(panel, 105, 65), RGB(255, 0, 0));
    EXPECT_EQ(pixel(panel, 99, 65), RGB(192, 192, 192));
    EXPECT_EQ(pixel(panel, 110, 65), RGB(192, 192, 192));
    RECT client{};
    GetClientRect(panel, &client);
    EXPECT_EQ(dept->sized, std::make_pair(static_cast<int>(client.right), static_cast<int>(client.bottom)));

    // The link buttons sit in the 30-pixel title band, at their places.
    session->ShowDepartmentLinkButtons(1, 1);
    session->ShowDepartmentLinkButtons(1, 2);
    struct Row {
        int id;
        RECT rect;
    };
    for (const Row& r : {Row{102, {3, 5, 73, 25}}, Row{302, {80, 5, 145, 25}}, Row{301, {145, 5, 210, 25}}}) {
        const RECT got = child_rect(panel, r.id);
        EXPECT_EQ(got.left, r.rect.left) << r.id;
        EXPECT_EQ(got.top, r.rect.top) << r.id;
        EXPECT_EQ(got.right, r.rect.right) << r.id;
        EXPECT_EQ(got.bottom, r.rect.bottom) << r.id;
        EXPECT_LE(got.bottom, 30) << r.id;
    }
    UpdateWindow(panel);
    const fs::path pictures = fs::path(VORN_BINARY_DIR) / "appgui-png";
    fs::create_directories(pictures);
    EXPECT_TRUE(SaveWindowPng(frame->m_hWnd, (pictures / "department_panel_mark.png").c_str()));
}

TEST_F(DepartmentPanel, MouseEventsReachTheDepartmentAtClientPoints)
{
    dept->events.clear();
    SimulateMouseDown(panel, Button::Left, 105, 65);
    SimulateMouseUp(panel, Button::Left, 106, 66);
    SimulateMouseDoubleClick(panel, Button::Left, 107, 67);
    SimulateMouseUp(panel, Button::Left, 107, 67);
    SimulateMouseDown(panel, Button::Right, 200, 300);
    SimulateMouseUp(panel, Button::Right, 201, 301);
    SimulateMouseMove(panel, 42, 43);
    const std::vector<std::string> expected{"left down 105 65",   "left up 106 66",  "double click 107 67",
                                            "left up 107 67",     "right down 200 300", "right up 201 301",
                                            "move 42 43"};
    EXPECT_EQ(dept->events, expected);
}

TEST_F(DepartmentPanel, TheCursorIsTheDepartmentsOverItsMarkAndTheArrowElsewhere)
{
    ASSERT_NE(dept->hand, 0u) << "the program's hand cursor is loaded";
    SimulateMouseMove(panel, 104, 64);
    EXPECT_EQ(GetCursor(), dept->hand);
    SimulateMouseMove(panel, 150, 150);
    EXPECT_EQ(GetCursor(), LoadCursor(0, IDC_ARROW));
}

TEST_F(DepartmentPanel, ChildControlsLiveOnThePanelAndReportToTheDepartment)
{
    EXPECT_EQ(dept->child_parent, panel);
    ASSERT_NE(dept->button, 0u);
    EXPECT_EQ(GetParent(dept->button), panel);
    EXPECT_EQ(GetDlgItem(panel, MARK_BUTTON), dept->button);
    dept->events.clear();
    SimulateMouseDown(dept->button, Button::Left, 5, 5);
    SimulateMouseUp(dept->button, Button::Left, 5, 5);
    EXPECT_EQ(dept->events, std::vector<std::string>{"command 777 0"});
}

TEST_F(DepartmentPanel, InvalidatingTheDepartmentsAreaRepaintsThroughTheSeam)
{
    const int before = dept->paints;
    dept->mark_colour = RGB(0, 0, 255);
    EXPECT_EQ(pixel(panel, 105, 65), RGB(255, 0, 0)) << "nothing repaints by itself";
    dept->invalidate(&kMark, false);
    UpdateWindow(panel);
    EXPECT_EQ(dept->paints, before + 1);
    EXPECT_EQ(pixel(panel, 105, 65), RGB(0, 0, 255));

    // A hidden department is not painted; shown again, it is.
    view->ExecuteCommand(ID_PRODUCTION);
    EXPECT_FALSE(IsWindowVisible(panel));
    const int hidden = dept->paints;
    dept->Repaint();
    UpdateWindow(panel);
    EXPECT_EQ(dept->paints, hidden);
    view->ExecuteCommand(ID_MARKETING);
    UpdateWindow(panel);
    EXPECT_GT(dept->paints, hidden);
}

// Headless: no panel, so nothing paints and nothing is handed to the department.
TEST(DepartmentPanelHeadless, NoPanelNoPaint)
{
    MarkDepartment* dept = nullptr;
    SessionManager sessions(Configuration{.timer_enabled = false}, [&](CVornView& v) {
        Departments d = base_departments(v);
        auto mark = std::make_unique<MarkDepartment>();
        dept = mark.get();
        d.marketing = std::move(mark);
        return d;
    });
    StartOptions options;
    options.seed = 1;
    const fs::path cwd = fs::current_path();
    fs::current_path(kBundled);
    ASSERT_TRUE(sessions.StartSession(kBundled + "/SAMPLE.VNB", options));
    fs::current_path(cwd);
    ASSERT_NE(dept, nullptr);
    EXPECT_EQ(dept->visible(), 1);
    EXPECT_EQ(dept->window(), nullptr);
    EXPECT_EQ(dept->window_handle(), 0u);
    dept->Repaint();
    sessions.view()->SwitchDepartment(ID_PRODUCTION);
    sessions.view()->SwitchDepartment(ID_MARKETING);
    EXPECT_EQ(dept->paints, 0);
    EXPECT_EQ(dept->child_parent, 0u);
    EXPECT_TRUE(dept->events.empty());
}
