#include "support/ui_support.h"
#include "uikit/uikit.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/commctl.h"
#include "plat/module.h"
#include "plat/msg.h"
#include "plat/trace.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "plat/fw/app.h"
#include <filesystem>
#include <gtest/gtest.h>

using namespace plat;

namespace {

class GuiEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        InitGui();
        InitControls();
        InitCommonControls();
        SetUiHost(ConsoleUiHost());
        const HINSTANCE module = RegisterModule("VORN.EXE", nullptr);
        AfxSetResourceHandle(module);
        uikit_register_resources(module);
        register_test_dialogs(module);
    }
};

const testing::Environment* const g_env = testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace

SpyParent::SpyParent(int width, int height)
{
    CreateEx(0, nullptr, "spy", WS_POPUP | WS_VISIBLE, 0, 0, width, height, 0, 0);
    UpdateWindow();
    PumpEvents();
}

SpyParent::~SpyParent()
{
    if (m_hWnd != 0)
        DestroyWindow();
    PumpEvents();
}

BOOL SpyParent::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_COMMAND || (msg >= WM_USER && msg < 0x8000)) {
        log.push_back({msg, wParam, lParam});
        result = reply;
        return TRUE;
    }
    return CWnd::OnMessage(msg, wParam, lParam, result);
}

std::vector<Recorded> SpyParent::of(UINT msg) const
{
    std::vector<Recorded> out;
    for (const Recorded& r : log)
        if (r.msg == msg)
            out.push_back(r);
    return out;
}

void settle()
{
    PumpEvents(0);
}

std::string png_path(const std::string& name)
{
    const std::string folder = std::string(VORN_BINARY_DIR) + "/uikit-png";
    std::filesystem::create_directories(folder);
    return folder + "/" + name;
}

COLORREF pixel(HWND hwnd, int x, int y)
{
    return GetSurfacePixel(hwnd, x, y);
}
