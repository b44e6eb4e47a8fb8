// Opens the bundled sample in the windowed program, in a working folder of
// the test's own, and shows the Marketing window; the window tests share it,
// with the sample's program as a fixture and the clicks and pictures they take.
#pragma once
#include "appgui/vorn_gui.h"
#include "marketing/marketing_dept.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

inline MarketingDepartment* open_sample_in_marketing(plat::ScriptedHost& host, std::unique_ptr<CVornApp>& app,
                                                     CVornView*& session, const char* folder_prefix)
{
    namespace fs = std::filesystem;
    using namespace plat;
    InitGui();
    register_vorn_resources();
    host.OnDialog(IDD_BACKGROUND, [](HWND d) {
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(d, IDOK)));
    });
    const std::string bundled = std::string(VORN_BINARY_DIR) + "/data";
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "marketing-work" /
                         (std::string(folder_prefix) +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"SAMPLE.VNB", "story.txt", "bgtables.tbl"})
        if (fs::exists(fs::path(bundled) / name))
            fs::copy_file(fs::path(bundled) / name, dir / name);
    setenv("VORN_DATA_DIR", dir.c_str(), 1);
    app = std::make_unique<CVornApp>();
    app->about_at_start = false;
    app->assembly = assemble_departments;
    if (!app->InitInstance())
        throw std::runtime_error("the program did not start");
    host.ChoosePath((dir / "SAMPLE.VNB").string());
    app->window()->ExecuteCommand(ID_OPEN);
    session = app->window()->session();
    MarketingDepartment* marketing =
        session == nullptr ? nullptr : dynamic_cast<MarketingDepartment*>(session->marketing);
    if (marketing == nullptr)
        throw std::runtime_error("no Marketing session");
    app->window()->ExecuteCommand(ID_MARKETING);
    return marketing;
}

// A button's click as its dialog receives it.
inline void click(plat::HWND dlg, int id)
{
    using namespace plat;
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// Where a test's picture goes.
inline std::string png(const std::string& name)
{
    const std::filesystem::path pictures = std::filesystem::path(VORN_BINARY_DIR) / "marketing-png";
    std::filesystem::create_directories(pictures);
    return (pictures / name).string();
}

// The sample open in the windowed program with the Marketing window shown;
// closed again, without asking, at the end.
struct MarketingSample {
    plat::ScriptedHost host;
    std::unique_ptr<CVornApp> app;
    CVornView* session = nullptr;
    MarketingDepartment* marketing = nullptr;

    explicit MarketingSample(const char* folder_prefix)
    {
        marketing = open_sample_in_marketing(host, app, session, folder_prefix);
    }
    ~MarketingSample()
    {
        host.Answer(plat::IDYES, "", "Are you sure you want to exit?");
        if (app->window()->session() != nullptr)
            app->window()->session()->run_state = RUN_STOPPED;
        app->frame()->SendMessage(plat::WM_CLOSE, 0, 0);
        app.reset();
        plat::ResetWindowsForTest();
    }
    MarketingSample(const MarketingSample&) = delete;
    MarketingSample& operator=(const MarketingSample&) = delete;
    CMarketingWnd& m() { return marketing->engine(); }
    // Ticks until `days` more working days have begun.
    void run_days(int days)
    {
        for (int d = 0; d < days; ++d) {
            const int16_t day = session->clock.current.day;
            for (int guard = 0; guard < 5000 && session->clock.current.day == day; ++guard)
                session->SimulationTick(RESTART_NONE);
        }
    }
};
