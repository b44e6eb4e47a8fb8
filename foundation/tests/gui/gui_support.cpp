#include "gui/gui_support.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/gdi.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include <filesystem>
#include <gtest/gtest.h>

using namespace plat;

namespace {

// The GUI exists for every test of this program; boxes and fatal ends go to
// the console host, so a death test never waits on a window.
class GuiEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        InitGui();
        InitControls();
        SetUiHost(ConsoleUiHost());
        WNDCLASS wc{};
        wc.lpfnWndProc = DefWindowProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "FoundationCanvas";
        RegisterClass(&wc);
    }
};

const testing::Environment* const g_env = testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace

Canvas::Canvas(int width, int height)
{
    hwnd_ = CreateWindowEx(0, "FoundationCanvas", "canvas", WS_POPUP | WS_VISIBLE, 0, 0, width, height, 0, 0, 0,
                           nullptr);
    EXPECT_NE(hwnd_, 0u);
    UpdateWindow(hwnd_);
    PumpEvents();
}

Canvas::~Canvas()
{
    if (hwnd_ != 0)
        DestroyWindow(hwnd_);
    PumpEvents();
}

COLORREF Canvas::pixel(int x, int y) const { return GetSurfacePixel(hwnd_, x, y); }

std::string Canvas::row(int y, int x0, int x1, COLORREF color) const
{
    std::string s;
    for (int x = x0; x < x1; ++x)
        s += pixel(x, y) == color ? '#' : '.';
    return s;
}

void Canvas::save_png(const std::string& name) const
{
    const std::string folder = std::string(VORN_BINARY_DIR) + "/foundation-png";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(SaveSurfacePng(hwnd_, (folder + "/" + name).c_str()));
}
