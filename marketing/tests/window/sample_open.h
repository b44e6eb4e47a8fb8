// Opens the bundled sample in the windowed program, in a working folder of
// the test's own, and shows the Marketing window; the window tests share it.
#pragma once
#include "appgui/vorn_gui.h"
#include "marketing/marketing_dept.h"
#include "plat/testing.h"
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
