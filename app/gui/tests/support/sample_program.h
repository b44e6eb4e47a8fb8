// The windowed program over a working copy of the bundled sample's folder,
// the sample open and stopped, its departments assembled; closed at the end
// without asking. The departments' window tests start from it.
#pragma once
#include "appgui/vorn_gui.h"
#include "marketing/contract_dialogs.h"
#include "plat/controls.h"
#include "program_ending.h"
#include "plat/testing.h"
#include "plat/window.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

namespace vorn_test {

// The program asks Marketing's decisions in windows: answered as the
// headless session answers them (every contract accepted, each contract
// renewed, each new product launched), so a test that runs days meets no
// open window. A test of a decision sets its own answer for the template.
inline void answer_decision_windows(plat::ScriptedHost& host)
{
    using namespace plat;
    const auto click = [](HWND d, int id) {
        SendMessage(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(d, id)));
    };
    host.OnDialog(IDD_MRK_NEW_CONTRACTS, [click](HWND d) {
        click(d, IDC_MRK_YES_ALL);
        click(d, IDOK);
    });
    host.OnDialog(IDD_MRK_CONTRACT_END, [click](HWND d) {
        SendMessage(GetDlgItem(d, IDC_MRK_RENEW_YES), BM_CLICK, 0, 0);
        click(d, IDC_MRK_CONTINUE);
    });
    host.OnDialog(IDD_MRK_CONTRACT_CANCELED, [click](HWND d) { click(d, IDC_MRK_CONTINUE); });
    host.OnDialog(IDD_MRK_NEW_PRODUCT, [click](HWND d) { click(d, IDOK); });
}

struct SampleProgram {
    plat::ScriptedHost host;
    std::unique_ptr<CVornApp> app;
    CVornWindow* view = nullptr;
    CMainFrame* frame = nullptr;
    CVornView* session = nullptr;
    std::string folder;

    SampleProgram(const std::string& area, const std::string& prefix)
    {
        using namespace plat;
        InitGui();
        register_vorn_resources();
        host.OnDialog(IDD_BACKGROUND, [](HWND d) {
            SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(d, IDOK)));
        });
        answer_decision_windows(host);
        folder = sample_work_folder(area, prefix);
        setenv("VORN_DATA_DIR", folder.c_str(), 1);
        app = std::make_unique<CVornApp>();
        app->about_at_start = false;
        app->assembly = assemble_departments;
        if (!app->InitInstance())
            throw std::runtime_error("the program did not start");
        view = app->window();
        frame = app->frame();
        host.ChoosePath(folder + "/SAMPLE.VNB");
        view->ExecuteCommand(ID_OPEN);
        session = view->session();
    }
    ~SampleProgram() { end_program(host, app); }
    SampleProgram(const SampleProgram&) = delete;
    SampleProgram& operator=(const SampleProgram&) = delete;
};

} // namespace vorn_test
