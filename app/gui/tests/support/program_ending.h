// What every test of the windowed program needs at its two ends: a working
// copy of the bundled sample's folder, and the program ended without asking.
#pragma once
#include "appgui/vorn_gui.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <string>

namespace vorn_test {

// CTest runs the cases side by side: each has its own folder, named by the
// area (under the build folder), the prefix and the case.
inline std::string sample_work_folder(const std::string& area, const std::string& prefix)
{
    namespace fs = std::filesystem;
    const fs::path bundled = fs::path(VORN_BINARY_DIR) / "data";
    const fs::path dir = fs::path(VORN_BINARY_DIR) / area /
                         (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"SAMPLE.VNB", "story.txt", "bgtables.tbl"})
        if (fs::exists(bundled / name))
            fs::copy_file(bundled / name, dir / name);
    return dir.string();
}

// The exit question answered yes, a running session stopped, the frame
// closed; then the program and the layer's windows are gone.
inline void end_program(plat::ScriptedHost& host, std::unique_ptr<CVornApp>& app)
{
    CVornWindow* view = app != nullptr ? app->window() : nullptr;
    CMainFrame* frame = app != nullptr ? app->frame() : nullptr;
    if (view != nullptr && frame != nullptr && plat::IsWindow(frame->m_hWnd)) {
        host.Answer(plat::IDYES, "", "Are you sure you want to exit?");
        if (view->session() != nullptr)
            view->session()->run_state = RUN_STOPPED;
        frame->SendMessage(plat::WM_CLOSE, 0, 0);
    }
    app.reset();
    plat::ResetWindowsForTest();
}

} // namespace vorn_test
