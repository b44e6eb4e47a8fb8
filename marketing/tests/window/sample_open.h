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
#include "support/sample_program.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

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
struct MarketingSample : vorn_test::SampleProgram {
    MarketingDepartment* marketing = nullptr;

    explicit MarketingSample(const char* folder_prefix) : SampleProgram("marketing-work", folder_prefix)
    {
        marketing = session == nullptr ? nullptr : dynamic_cast<MarketingDepartment*>(session->marketing);
        if (marketing == nullptr)
            throw std::runtime_error("no Marketing session");
        view->ExecuteCommand(ID_MARKETING);
    }
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
